#ifndef ORLO_WIZARDCOLORBUTTON_H
#define ORLO_WIZARDCOLORBUTTON_H

#include <QByteArray>
#include <QPushButton>

namespace KAVO {

// A push button of the export wizards that shows an export colour in its
// background. It is drawn with the shared button style, which paints the
// palette's button colour.
class WizardColorButton : public QPushButton
{
    Q_OBJECT
public:
    explicit WizardColorButton(QWidget* parent);

    // hex: six hexadecimal digits without "#"; alpha 0 to 255.
    void setColor(const QByteArray& hex, int alpha);
    QColor color() const;

    // The colour of six hexadecimal digits and an opacity (clamped to 0..255).
    static QColor toColor(const QByteArray& hex, int alpha);
    // Six lower-case hexadecimal digits, without "#".
    static QByteArray toHex(const QColor& colour);
};

} // namespace KAVO

#endif
