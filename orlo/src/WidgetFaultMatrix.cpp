#include "WidgetFaultMatrix.h"

#include "Record.h"
#include "WidgetErrorItem.h"
#include "WidgetErrorTime.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace KAVO {

WidgetFaultMatrix::WidgetFaultMatrix(QWidget* parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    mTitle = new QLabel(this);
    mTitle->setAlignment(Qt::AlignCenter);
    QFont font = mTitle->font();
    font.setPixelSize(16);
    font.setWeight(75);
    mTitle->setFont(font);

    mStrip = new WidgetErrorTime(this);

    mTable = new QTableWidget(1, 32, this);
    mTable->setSelectionMode(QAbstractItemView::SingleSelection);
    mTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    mTable->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    mTable->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    mTable->setStyleSheet("selection-background-color: rgba(100, 100, 255, 255);");
    mTable->setRowHeight(0, 150);
    mTable->setMinimumHeight(180);
    mTable->verticalHeader()->hide();
    QFont headerFont = mTable->horizontalHeader()->font();
    headerFont.setPixelSize(8);
    mTable->horizontalHeader()->setFont(headerFont);
    for (int k = 0; k < 32; ++k) {
        mTable->setColumnWidth(k, 15);
        QTableWidgetItem* header = new QTableWidgetItem(QString::asprintf("%d", 31 - k));
        // The style sheet style draws headers in the item's font, not the header's.
        header->setFont(headerFont);
        mTable->setHorizontalHeaderItem(k, header);
    }

    mLayout = new QVBoxLayout(this);
    mLayout->addWidget(mTitle);
    mLayout->addWidget(mStrip);
    mLayout->addWidget(mTable);
}

void WidgetFaultMatrix::setData(KAVO::FaultMatrix& matrix)
{
    mMatrix = matrix;
    mTitle->setText(mMatrix.mName);
    mStrip->setData(mMatrix);
    for (int i = 0; i < 32; ++i) {
        // Replacing a cell widget deletes the one it held.
        WidgetErrorItem* cell = new WidgetErrorItem(nullptr);
        const auto p = mMatrix.mParameters.find(i);
        if (p != mMatrix.mParameters.end()) {
            cell->setText(p->second.mName);
            cell->setType(p->second.mErrorType);
        } else {
            cell->setText("para.name");
            cell->setType(0);
        }
        cell->setErrorState(false);
        mTable->setCellWidget(0, 31 - i, cell);
        mItems[i] = cell;
    }
}

void WidgetFaultMatrix::updateRecord(KAVO::Record* record)
{
    mRecord = record;
    mStrip->updateRecord(record);
}

void WidgetFaultMatrix::setTime(double t)
{
    mStrip->setTime(t);
    if (mRecord == nullptr)
        return;
    for (WidgetErrorItem* cell : mItems) {
        if (cell != nullptr)
            cell->setErrorState(false);
    }
    const RecordData& data = mRecord->recordData();
    const RecordIdList& list = data.idList(0, static_cast<uint32_t>(mMatrix.mId));
    if (list.empty())
        return;
    // Messages up to 10 ms after t count as in force at t.
    std::size_t n = 0;
    while (n < list.entries.size() && !(data.timeOf(list.entries[n]) > t + 0.01))
        ++n;
    const RecordEntry& shown =
        n == list.entries.size() ? list.entries.back() : list.entries[n == 0 ? 0 : n - 1];
    const uint32_t word = WidgetErrorTime::statusWord(shown);
    for (int i = 0; i < 32; ++i) {
        if (mItems[i] != nullptr)
            mItems[i]->setErrorState((word >> i & 1u) != 0);
    }
}

void WidgetFaultMatrix::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    const int width = std::max(15, mTable->width() / 32);
    for (int k = 0; k < 32; ++k)
        mTable->setColumnWidth(k, width);
}

} // namespace KAVO
