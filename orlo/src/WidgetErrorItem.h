#ifndef ORLO_WIDGETERRORITEM_H
#define ORLO_WIDGETERRORITEM_H

#include <QString>
#include <QWidget>

// One bit cell of an error matrix: coloured by the error type of its
// parameter while the bit is set, light green while it is clear, white
// for a bit without a parameter; the parameter name reads upward.
class WidgetErrorItem : public QWidget
{
    Q_OBJECT
public:
    explicit WidgetErrorItem(QWidget* parent);

    // 0 no parameter, 1 info, 2 warning, 3 fault.
    void setType(int type);
    void setErrorState(bool state);
    void setText(const QString& text);

    int type() const { return mType; }
    bool errorState() const { return mErrorState; }
    const QString& text() const { return mText; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString mText;
    bool mErrorState = true;
    int mType = 0;
};

#endif
