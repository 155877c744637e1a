#ifndef ORLO_GUIINPUT_H
#define ORLO_GUIINPUT_H

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace testsupport {

// A pointer move delivered at once to the widget, with the buttons held.
// QTest::mouseMove moves the X server's pointer instead: the event comes
// back later, and test programs that share a display move each other's.
inline void dragTo(QWidget* widget, const QPoint& pos, Qt::MouseButtons held,
                   Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent e(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, held, modifiers);
    QApplication::sendEvent(widget, &e);
}

} // namespace testsupport

#endif
