#include "DialogData.h"

#include "DialogDataGraph.h"
#include "DialogDataLimit.h"
#include "DialogDataTable.h"
#include "Images.h"
#include "Kernel.h"
#include "Record.h"
#include "WidgetGraph.h"

#include <QDateTime>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QLCDNumber>
#include <QPixmap>
#include <QSlider>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <limits>


namespace KAVO {

namespace {

constexpr int SliderSteps = 10000;

void setupDisplay(QLCDNumber* display, const QPalette& palette, const QString& start)
{
    display->setPalette(palette);
    display->setAutoFillBackground(true);
    display->setSegmentStyle(QLCDNumber::Filled);
    display->setMinimumSize(220, 60);
    display->display(start);
}

} // namespace

DialogData::DialogData(QWidget* parent)
    : QWidget(parent)
{
    setlocale(LC_NUMERIC, "C");

    mTabs = new QTabWidget(this);
    mTable = new DialogDataTable(mTabs);
    mLimit = new DialogDataLimit(mTabs);
    mTabs->addTab(mTable, Images::icon("canStatistic"), tr("Data"));
    mGraph = new DialogDataGraph(mTabs);
    mTabs->addTab(mLimit, Images::icon("limit"), tr("Limit/Warning Exceed"));
    mTabs->addTab(mGraph, Images::icon("graphSingle"), tr("Graph"));

    mGrid = new QGridLayout;
    QPalette palette;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Window, QColor(0, 0, 0));
        palette.setColor(group, QPalette::WindowText, QColor(150, 255, 150));
        palette.setColor(group, QPalette::Text, QColor(150, 255, 150));
    }
    mDate = new QLCDNumber(19, this);
    setupDisplay(mDate, palette, "00.00.0000 00:00:00");
    mClock = new QLCDNumber(12, this);
    setupDisplay(mClock, palette, "00:00:00.000");

    mOffset = new QDoubleSpinBox(this);
    mOffset->setRange(-10000, 10000);
    mOffset->setSingleStep(0.1);
    mOffset->setDecimals(2);
    mOffset->setSuffix(" s");
    // A typed offset counts when editing is finished (Return, focus leaving
    // the field) or an arrow steps it, not at every keystroke: "2.5" would
    // first write 2 s to the record folder.
    mOffset->setKeyboardTracking(false);

    mSlider = new QSlider(Qt::Horizontal, this);
    mSlider->setRange(0, SliderSteps);
    mSlider->setStyle(Kernel::instance()->getStyle2());

    mTimeEdit = new QTimeEdit(this);
    mTimeEdit->setFixedWidth(120);
    mTimeEdit->setDisplayFormat("hh:mm:ss");

    mGrid->addWidget(mDate, 0, 0, 1, 4);
    mGrid->addWidget(mClock, 1, 0, 1, 4);
    mGrid->addWidget(new QLabel(tr("Offset:"), this), 2, 0);
    mGrid->addWidget(mOffset, 2, 1);
    mGrid->addWidget(mSlider, 2, 2);
    mGrid->addWidget(mTimeEdit, 2, 3);

    mLayout = new QVBoxLayout(this);
    mLayout->addWidget(mTabs);
    mLayout->addLayout(mGrid);

    connect(mTable, &DialogDataTable::signalTime, this, &DialogData::slotTableTime);
    connect(mLimit, &DialogDataLimit::signalTime, this, &DialogData::slotLimitTime);
    connect(mGraph, &DialogDataGraph::signalCursor, this, &DialogData::slotCursor);
    connect(mOffset, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, &DialogData::slotTimeOffset);
    connect(mSlider, &QSlider::valueChanged, this, &DialogData::slotSlider);
    connect(mTimeEdit, &QTimeEdit::timeChanged, this, &DialogData::slotValue);
}

double DialogData::time()
{
    return mTime;
}

double DialogData::markStart()
{
    return mGraph->markStart();
}

double DialogData::markStop()
{
    return mGraph->markStop();
}

void DialogData::updateRecord(KAVO::Record* record)
{
    mRecord = record;
    mTime = record != nullptr ? record->recordInfo().startTime : 0.0;
    mOffsetShown = std::numeric_limits<double>::quiet_NaN();
    updateDisplay();
    // The graph's window moves while it is filled and again to the time:
    // its buckets are built once.
    const WidgetGraph::HeldRebuilds held(mGraph->graph());
    mTable->updateRecord(record);
    mGraph->updateRecord(record, true);
    mLimit->updateRecord(record);
    mTable->setTime(mTime);
    mGraph->setTime(mTime);
    mLimit->setTime(mTime);
}

void DialogData::updateProfile()
{
    mTable->updateProfile();
    mGraph->updateProfile();
    mLimit->updateProfile();
    mTable->setTime(mTime);
    mGraph->setTime(mTime);
    mLimit->setTime(mTime);
}

void DialogData::loadProfile()
{
}

void DialogData::updateDisplay()
{
    if (mRecord == nullptr)
        return;
    mUpdating = true;
    const RecordInfo& info = mRecord->recordInfo();

    const QTime clock = RecordData::timeOfDay(RecordData::clockMs(mTime));
    mClock->display(clock.toString("hh:mm:ss.zzz"));
    mTimeEdit->setTime(clock);

    // A recording without length sits at the slider's start.
    const double span = info.stopTime - info.startTime;
    double position = span > 0 ? (mTime - info.startTime) / span * SliderSteps : 0.0;
    if (!(position >= 0))
        position = 0;
    mSlider->setValue(static_cast<int>(std::min<double>(position, SliderSteps)));

    if (info.utcStart != 0) {
        // Whole seconds by the clocks' rule: noise costs no second.
        const int64_t ms = RecordData::clockMs(info.calendarAt(mTime, mRecord->recordData().offset));
        const QDateTime at = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(std::floor(ms / 1000.0)), Qt::LocalTime);
        mDate->display(at.toString("dd.MM.yyyy hh:mm:ss"));
    } else {
        mDate->display("--.--.---- --:--:--");
    }

    // Only a new offset is written into the field: setting it would throw
    // away what the user is typing there.
    const double offset = mRecord->recordData().offset;
    if (!(offset == mOffsetShown)) {
        mOffset->setValue(offset);
        mOffsetShown = offset;
    }
    mUpdating = false;
}

void DialogData::slotSlider(int value)
{
    if (mUpdating || mRecord == nullptr)
        return;
    const RecordInfo& info = mRecord->recordInfo();
    mTime = info.startTime + value * ((info.stopTime - info.startTime) / SliderSteps);
    mTable->setTime(mTime);
    mGraph->setTime(mTime);
    mLimit->setTime(mTime);
    updateDisplay();
}

void DialogData::slotValue(const QTime& time)
{
    if (mUpdating || mRecord == nullptr)
        return;
    mTime = QTime(0, 0).secsTo(time);
    mTable->setTime(mTime);
    mGraph->setTime(mTime);
    mLimit->setTime(mTime);
    updateDisplay();
}

void DialogData::slotCursor(float t, double)
{
    mTime = t;
    mTable->setTime(mTime);
    mLimit->setTime(mTime);
    updateDisplay();
}

void DialogData::slotTimeOffset(double value)
{
    if (mUpdating || mRecord == nullptr)
        return;
    // The record reports a failed write of the offset file itself and keeps
    // the old offset; the field then goes back to it below.
    mRecord->setOffset(value);
    // The field already shows the value it sent.
    mOffsetShown = value;
    mTable->updateRecord(mRecord);
    mGraph->updateRecord(mRecord, false);
    // The events carry the offset too: they stay on the timeline of the
    // table and the graph.
    mLimit->updateRecord(mRecord);
    mTable->setTime(mTime);
    mLimit->setTime(mTime);
    // The recording's start and stop moved with the offset: the slider
    // shows the cursor within the new span.
    updateDisplay();
}

void DialogData::slotTableTime(double t)
{
    mTime = t;
    mGraph->setTime(mTime);
    mLimit->setTime(mTime);
    updateDisplay();
}

void DialogData::slotLimitTime(double t)
{
    mTime = t;
    mGraph->setTime(mTime);
    mTable->setTime(mTime);
    updateDisplay();
}

void DialogData::slotWarningTime(double t)
{
    mTime = t;
    mGraph->setTime(mTime);
    mTable->setTime(mTime);
    mLimit->setTime(mTime);
    updateDisplay();
}

} // namespace KAVO
