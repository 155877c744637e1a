#include "DialogDataEventList.h"

#include <QFont>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>

#include <algorithm>

namespace KAVO {

DialogDataEventList::DialogDataEventList(QWidget* parent, const QString& timeTitle, const QString& eventTitle)
    : QWidget(parent)
{
    mTable = new QTableWidget(this);
    DialogDataTable::setupView(mTable);
    mTable->setColumnCount(2);
    mTable->setHorizontalHeaderLabels(QStringList() << timeTitle << eventTitle);
    mTable->setColumnWidth(0, DialogDataTable::timeColumnWidth(mTable));
    mTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

    mLayout = new QGridLayout(this);
    mLayout->addWidget(mTable, 0, 0);

    connect(mTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &DialogDataEventList::slotSelect);
}

void DialogDataEventList::setTime(double t)
{
    const bool updating = mUpdating;
    mUpdating = true;
    int row = 0;
    const auto it = mKeyMap.upper_bound(RecordData::timeKey(t));
    if (it != mKeyMap.begin())
        row = std::prev(it)->second;
    if (mTimeItems.count(row) != 0)
        DialogDataTable::showRow(mTable, row);
    mUpdating = updating;
}

void DialogDataEventList::slotSelect()
{
    if (mUpdating)
        return;
    for (const QModelIndex& index : mTable->selectionModel()->selectedIndexes())
        if (index.column() == 0)
            // The time the row shows, in whole milliseconds.
            emit signalTime(static_cast<double>(RecordData::clockMs(index.data(Qt::UserRole).toDouble() * 0.001)) *
                            0.001);
}

} // namespace KAVO
