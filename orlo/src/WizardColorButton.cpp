#include "WizardColorButton.h"

#include "Kernel.h"

#include <algorithm>

namespace KAVO {

WizardColorButton::WizardColorButton(QWidget* parent)
    : QPushButton(parent)
{
    setStyle(Kernel::instance()->getStyle());
    setAutoFillBackground(true);
}

void WizardColorButton::setColor(const QByteArray& hex, int alpha)
{
    const QColor c = toColor(hex, alpha);
    QPalette p = palette();
    p.setColor(QPalette::Button, c);
    p.setColor(QPalette::Window, c);
    setPalette(p);
    update();
}

QColor WizardColorButton::color() const
{
    return palette().color(QPalette::Button);
}

QColor WizardColorButton::toColor(const QByteArray& hex, int alpha)
{
    QColor c(QString::fromLatin1("#" + hex));
    c.setAlpha(std::max(0, std::min(255, alpha)));
    return c;
}

QByteArray WizardColorButton::toHex(const QColor& colour)
{
    return colour.name(QColor::HexRgb).mid(1).toLatin1();
}

} // namespace KAVO
