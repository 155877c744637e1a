#include "QwtComboBox.h"

namespace KAVO {

QwtComboBox::QwtComboBox(QWidget* parent, int id)
    : QComboBox(parent)
    , mId(id)
{
    connect(this, QOverload<int>::of(&QComboBox::activated), this, &QwtComboBox::slotActivated);
}

void QwtComboBox::setData(int value)
{
    // setCurrentIndex emits no activated(), only currentIndexChanged().
    setCurrentIndex(findData(value, Qt::UserRole, Qt::MatchExactly));
}

void QwtComboBox::slotActivated(int index)
{
    const int value = itemData(index, Qt::UserRole).toInt();
    emit signalActivated(mId, value);
    emit signalActivated(value);
}

} // namespace KAVO
