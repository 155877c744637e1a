#ifndef ORLO_QWTCOMBOBOX_H
#define ORLO_QWTCOMBOBOX_H

#include <QComboBox>

namespace KAVO {

// A combo box whose items carry an integer value as user data. It is set by
// value and reports choices by value together with its box id, so that one
// slot can serve several boxes.
class QwtComboBox : public QComboBox
{
    Q_OBJECT
public:
    QwtComboBox(QWidget* parent, int id);

    int id() const { return mId; }

public slots:
    // No item carries the value: the box is left without a current item.
    void setData(int value);

signals:
    void signalActivated(int id, int value);
    void signalActivated(int value);

private slots:
    void slotActivated(int index);

private:
    int mId;
};

} // namespace KAVO

#endif
