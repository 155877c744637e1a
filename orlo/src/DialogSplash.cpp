#include "DialogSplash.h"

#include "Images.h"
#include "TimerClock.h"

#include <QPainter>
#include <QTimer>

namespace KAVO {

DialogSplash* DialogSplash::mpSplash = nullptr;

DialogSplash* DialogSplash::instance()
{
    if (mpSplash == nullptr)
        mpSplash = new DialogSplash;
    return mpSplash;
}

DialogSplash::DialogSplash()
    : QSplashScreen(QPixmap())
{
    mImage = new QPixmap(Images::pixmap(QStringLiteral("emuMain")));
    setPixmap(*mImage);
    mTimer = new QTimer(this);
    mTimer->setSingleShot(true);
    connect(mTimer, &QTimer::timeout, this, &DialogSplash::slotTimeout);
    mLines.clear();
    show();
    repaint();
}

DialogSplash::~DialogSplash()
{
    delete mTimer;
    delete mImage;
}

void DialogSplash::addEntry(const QString& line)
{
    mLines.append(line);
    while (mLines.size() >= 16)
        mLines.removeFirst();
    repaint();
}

void DialogSplash::finish()
{
    if (mpSplash == this)
        mpSplash = nullptr;
    TimerClock::start(mTimer, CloseMs);
}

void DialogSplash::slotTimeout()
{
    close();
}

void DialogSplash::mousePressEvent(QMouseEvent*)
{
    close();
}

void DialogSplash::paintEvent(QPaintEvent* event)
{
    QSplashScreen::paintEvent(event);
    QPainter p(this);
    p.setPen(QColor(0, 0, 200));
    for (int i = 0; i < mLines.size(); ++i)
        p.drawText(QPointF(5.0, 30 + 15 * i), mLines.at(i));
    // repaint() paints synchronously in Qt 5, so the lines reach the screen
    // during start-up without a flush.
}

} // namespace KAVO
