#include "DialogDataTable.h"

#include "DialogDataTableModel.h"
#include "Profile.h"
#include "Record.h"

#include <QFont>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <QStyle>
#include <QTime>

#include <algorithm>

namespace KAVO {

DialogDataTable::DialogDataTable(QWidget* parent)
    : QWidget(parent)
{
    mTable = new QTableView(this);
    mModel = new DialogDataTableModel(this);
    mModel->setColumns(QStringList() << tr("Time"), {});
    mTable->setModel(mModel);
    setupView(mTable);
    mTable->setColumnWidth(0, timeColumnWidth(mTable));

    mLayout = new QGridLayout(this);
    mLayout->addWidget(mTable, 0, 0);

    connect(mTable->selectionModel(), &QItemSelectionModel::selectionChanged, this, &DialogDataTable::slotSelect);
}

std::vector<ProfileParameter> DialogDataTable::selectedParameters()
{
    std::vector<ProfileParameter> selected;
    for (const auto& device : Profile::instance()->data().mDevices)
        for (const auto& parameter : device.second.mParameters)
            if (parameter.second.mSelected)
                selected.push_back(parameter.second);
    return selected;
}

QString DialogDataTable::timeText(int64_t ms)
{
    return RecordData::timeOfDay(ms).toString("hh:mm:ss.zzz");
}

int DialogDataTable::timeColumnWidth(const QTableView* view)
{
    // 80 pixels, or wider when the font needs it: a cut time reads "00:00:01...".
    const int text = view->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00.000"));
    return std::max(80, text + 2 * view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 12);
}

void DialogDataTable::setupView(QTableView* view)
{
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setStyleSheet("selection-background-color: rgba(100, 100, 255, 255);");
    view->verticalHeader()->setMinimumSectionSize(15);
    view->verticalHeader()->setDefaultSectionSize(15);
    view->verticalHeader()->hide();
    // Columns fit the rows in view, as resizing to contents always did; the
    // first thousand rows of a long recording would cost every cell's
    // decoding on each change of the selection.
    view->horizontalHeader()->setResizeContentsPrecision(0);
    QFont font = view->horizontalHeader()->font();
    font.setWeight(75);
    view->horizontalHeader()->setFont(font);
}

void DialogDataTable::showRow(QTableView* view, int row)
{
    const QModelIndex index = view->model()->index(row, 0);
    if (!index.isValid())
        return;
    view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void DialogDataTable::updateProfile()
{
    QStringList labels;
    labels << QString("Time");
    const std::vector<ProfileParameter> parameters = selectedParameters();
    for (const ProfileParameter& p : parameters)
        labels << (p.mUnit.isEmpty() ? p.mName : QString("%1 [%2]").arg(p.mName, p.mUnit));
    mModel->setColumns(labels, parameters);

    updateRecord(mRecord);

    mTable->horizontalHeader()->resizeSections(QHeaderView::ResizeToContents);
    mTable->setColumnWidth(0, timeColumnWidth(mTable));
}

void DialogDataTable::updateRecord(KAVO::Record* record)
{
    mRecord = record;
    mUpdating = true;
    mModel->fill(record);
    if (record != nullptr)
        setTime(record->recordInfo().startTime);
    mUpdating = false;
}

void DialogDataTable::setTime(double t)
{
    const bool updating = mUpdating;
    mUpdating = true;
    showRow(mTable, mModel->rowOfKey(RecordData::timeKey(t)));
    mUpdating = updating;
}

void DialogDataTable::slotSelect()
{
    if (mUpdating)
        return;
    // Every cell of the chosen row is selected; its time cell speaks for it.
    for (const QModelIndex& index : mTable->selectionModel()->selectedIndexes())
        if (index.column() == 0)
            emit signalTime(static_cast<double>(index.data(Qt::UserRole).toLongLong()) * 0.001);
}

} // namespace KAVO
