#include "DialogExportCsvOptions.h"

#include "CsvExportOptions.h"
#include "QwtComboBox.h"
#include "WizardTimeEdit.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include <cstdio>

namespace KAVO {

DialogExportCsvOptions::DialogExportCsvOptions(QWidget* parent, CsvExportOptions& options)
    : QWizardPage(parent)
    , mOptions(options)
{
    setTitle(tr("CSV/CAN Export"));
    setSubTitle(tr("Select CSV/CAN Option"));

    mGrid = new QGridLayout(this);
    mGrid->setColumnStretch(1, 1);
    mGrid->setColumnStretch(2, 1);

    mLimiter = new QwtComboBox(this, 0);
    mLimiter->setObjectName("limiter");
    mLimiter->addItem(tr("Semikolon ;"), 59);
    mLimiter->addItem(tr("Comma ,"), 44);
    mLimiter->addItem(tr("Tabstop"), 9);
    mResolution = new QwtComboBox(this, 0);
    mResolution->setObjectName("resolution");
    mResolution->addItem(tr("100 ms"), 100);
    mResolution->addItem(tr("10 ms"), 10);
    mResolution->addItem(tr("1 ms"), 1);
    mParameter = new QwtComboBox(this, 0);
    mParameter->setObjectName("parameter");
    mParameter->addItem(tr("All Parameter"), 1);
    mParameter->addItem(tr("Selected Parameter only"), 0);
    mStart = new WizardTimeEdit(this);
    mStart->setObjectName("startTime");
    mStop = new WizardTimeEdit(this);
    mStop->setObjectName("stopTime");
    mCursorStart = new QPushButton("Cursor Pos", this);
    mCursorStart->setObjectName("cursorStart");
    mCursorStop = new QPushButton("Cursor Pos", this);
    mCursorStop->setObjectName("cursorStop");

    mGrid->addWidget(new QLabel(tr("Limiter"), this), 0, 0);
    mGrid->addWidget(mLimiter, 0, 1, 1, 2);
    mGrid->addWidget(new QLabel(tr("Resolution"), this), 1, 0);
    mGrid->addWidget(mResolution, 1, 1);
    mGrid->addWidget(new QLabel(tr("Parameter Selection"), this), 2, 0);
    mGrid->addWidget(mParameter, 2, 1, 1, 2);
    mGrid->addWidget(new QLabel(tr("Start/Stop Time"), this), 3, 0);
    mGrid->addWidget(mStart, 3, 1);
    mGrid->addWidget(mStop, 3, 2);
    mGrid->addWidget(mCursorStart, 4, 1);
    mGrid->addWidget(mCursorStop, 4, 2);

    connect(mLimiter, QOverload<int>::of(&QwtComboBox::signalActivated), this, &DialogExportCsvOptions::slotLimiter);
    connect(mResolution, QOverload<int>::of(&QwtComboBox::signalActivated), this,
            &DialogExportCsvOptions::slotResolution);
    connect(mParameter, QOverload<int>::of(&QwtComboBox::signalActivated), this,
            &DialogExportCsvOptions::slotParameter);
    connect(mStart, &QTimeEdit::timeChanged, this, &DialogExportCsvOptions::slotStartTime);
    connect(mStop, &QTimeEdit::timeChanged, this, &DialogExportCsvOptions::slotStopTime);
    connect(mCursorStart, &QPushButton::clicked, this, &DialogExportCsvOptions::slotCursorStart);
    connect(mCursorStop, &QPushButton::clicked, this, &DialogExportCsvOptions::slotCursorStop);
}

void DialogExportCsvOptions::initializePage()
{
    mUpdating = true;
    mLimiter->setData(static_cast<unsigned char>(mOptions.limiter));
    mResolution->setData(mOptions.resolution);
    mParameter->setData(mOptions.allParameter ? 1 : 0);
    WizardTimeEdit::proposeWindow(mOptions.startTime, mOptions.stopTime, mOptions.recordInfo.startTime,
                                  mOptions.recordInfo.stopTime);
    mStart->setSeconds(mOptions.startTime);
    mStop->setSeconds(mOptions.stopTime);
    // The CAN export copies messages: no columns, no separator.
    mLimiter->setEnabled(mOptions.can == 0);
    mParameter->setEnabled(mOptions.can == 0);
    mUpdating = false;
}

void DialogExportCsvOptions::updatePage()
{
    mUpdating = true;
    mStart->setSeconds(mOptions.startTime);
    mStop->setSeconds(mOptions.stopTime);
    mUpdating = false;
}

void DialogExportCsvOptions::slotLimiter(int value)
{
    mOptions.limiter = static_cast<char>(value);
}

void DialogExportCsvOptions::slotResolution(int value)
{
    mOptions.resolution = value;
}

void DialogExportCsvOptions::slotParameter(int value)
{
    mOptions.allParameter = value == 1;
}

void DialogExportCsvOptions::slotStartTime(const QTime&)
{
    if (mUpdating)
        return;
    mOptions.startTime = WizardTimeEdit::limited(mStart->seconds(), mOptions.recordInfo.startTime,
                                                 mOptions.recordInfo.stopTime);
    printf("mOptions.startTime = %.6f\n", mOptions.startTime);
}

void DialogExportCsvOptions::slotStopTime(const QTime&)
{
    if (mUpdating)
        return;
    mOptions.stopTime = WizardTimeEdit::limited(mStop->seconds(), mOptions.recordInfo.startTime,
                                                mOptions.recordInfo.stopTime);
    printf("mOptions.stopTime = %.6f\n", mOptions.stopTime);
}

void DialogExportCsvOptions::slotCursorStart()
{
    mOptions.startTime = mOptions.cursorTime;
    printf("mOptions.startTime = %.6f\n", mOptions.startTime);
    storeTimes();
}

void DialogExportCsvOptions::slotCursorStop()
{
    mOptions.stopTime = mOptions.cursorTime;
    printf("mOptions.stopTime = %.6f\n", mOptions.stopTime);
    storeTimes();
}

void DialogExportCsvOptions::storeTimes()
{
    // What the fields show is what is exported, limited to the recording.
    updatePage();
    slotStartTime(mStart->time());
    slotStopTime(mStop->time());
}

} // namespace KAVO
