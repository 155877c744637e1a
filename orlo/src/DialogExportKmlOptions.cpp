#include "DialogExportKmlOptions.h"

#include "DialogPrompt.h"
#include "KmlExportOptions.h"
#include "WizardColorButton.h"
#include "WizardTimeEdit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include <cmath>

namespace KAVO {

DialogExportKmlOptions::DialogExportKmlOptions(QWidget* parent, KmlExportOptions& options)
    : QWizardPage(parent)
    , mOptions(options)
{
    setTitle(tr("KML Export"));
    setSubTitle(tr("Select KML Option"));

    mGrid = new QGridLayout(this);
    mGrid->setColumnStretch(1, 1);

    mTimeStamp = new QSpinBox(this);
    mTimeStamp->setObjectName("timeStamp");
    mTimeStamp->setRange(100, 60000);
    mTimeStamp->setSingleStep(100);
    mTimeStamp->setSuffix(" ms");
    mGrid->addWidget(new QLabel(tr("Timestamp every :"), this), 0, 0);
    mGrid->addWidget(mTimeStamp, 0, 1);

    QGroupBox* line = new QGroupBox(tr("Line Style"), this);
    QGridLayout* lineGrid = new QGridLayout(line);
    mLineWidth = new QSpinBox(line);
    mLineWidth->setObjectName("lineWidth");
    mLineWidth->setRange(1, 6);
    mLineColor = new WizardColorButton(line);
    mLineColor->setObjectName("lineColor");
    lineGrid->addWidget(new QLabel(tr("Line width"), line), 0, 0);
    lineGrid->addWidget(mLineWidth, 0, 1);
    lineGrid->addWidget(new QLabel(tr("Line color"), line), 1, 0);
    lineGrid->addWidget(mLineColor, 1, 1);
    mGrid->addWidget(line, 1, 0, 1, 2);

    mPolygon = new QGroupBox(tr("Draw Polygon"), this);
    mPolygon->setObjectName("polygon");
    mPolygon->setCheckable(true);
    QGridLayout* polygonGrid = new QGridLayout(mPolygon);
    mPolygonColor = new WizardColorButton(mPolygon);
    mPolygonColor->setObjectName("polygonColor");
    polygonGrid->addWidget(new QLabel(tr("Polygon color"), mPolygon), 0, 0);
    polygonGrid->addWidget(mPolygonColor, 0, 1);
    mGrid->addWidget(mPolygon, 2, 0, 1, 2);

    QGroupBox* window = new QGroupBox(this);
    QGridLayout* windowGrid = new QGridLayout(window);
    mStart = new WizardTimeEdit(window);
    mStart->setObjectName("startTime");
    mStop = new WizardTimeEdit(window);
    mStop->setObjectName("stopTime");
    mCursorStart = new QPushButton("Cursor Pos", window);
    mCursorStart->setObjectName("cursorStart");
    mCursorStop = new QPushButton("Cursor Pos", window);
    mCursorStop->setObjectName("cursorStop");
    windowGrid->addWidget(new QLabel(tr("Start/Stop Time"), window), 0, 0);
    windowGrid->addWidget(mStart, 0, 1);
    windowGrid->addWidget(mStop, 0, 2);
    windowGrid->addWidget(mCursorStart, 1, 1);
    windowGrid->addWidget(mCursorStop, 1, 2);
    mGrid->addWidget(window, 3, 0, 1, 2);

    connect(mTimeStamp, QOverload<int>::of(&QSpinBox::valueChanged), this, &DialogExportKmlOptions::slotTimestamp);
    connect(mLineWidth, QOverload<int>::of(&QSpinBox::valueChanged), this, &DialogExportKmlOptions::slotLineWidth);
    connect(mLineColor, &QPushButton::clicked, this, &DialogExportKmlOptions::slotLineColor);
    connect(mPolygon, &QGroupBox::toggled, this, &DialogExportKmlOptions::slotPolygon);
    connect(mPolygonColor, &QPushButton::clicked, this, &DialogExportKmlOptions::slotPolygonColor);
    connect(mStart, &QTimeEdit::timeChanged, this, &DialogExportKmlOptions::slotStartTime);
    connect(mStop, &QTimeEdit::timeChanged, this, &DialogExportKmlOptions::slotStopTime);
    connect(mCursorStart, &QPushButton::clicked, this, &DialogExportKmlOptions::slotCursorStart);
    connect(mCursorStop, &QPushButton::clicked, this, &DialogExportKmlOptions::slotCursorStop);
}

void DialogExportKmlOptions::initializePage()
{
    mUpdating = true;
    mTimeStamp->setValue(mOptions.timeStamp);
    mLineWidth->setValue(mOptions.lineWidth);
    WizardTimeEdit::proposeWindow(mOptions.startTime, mOptions.stopTime, mOptions.recordInfo.startTime,
                                  mOptions.recordInfo.stopTime);
    mStart->setSeconds(mOptions.startTime);
    mStop->setSeconds(mOptions.stopTime);
    mLineColor->setColor(mOptions.lineColor, mOptions.lineAlpha);
    mPolygon->setChecked(mOptions.polygonOn);
    mPolygonColor->setColor(mOptions.polygonColor, mOptions.polygonAlpha);
    mUpdating = false;
}

void DialogExportKmlOptions::updatePage()
{
    mUpdating = true;
    mStart->setSeconds(std::trunc(mOptions.startTime));
    mStop->setSeconds(std::trunc(mOptions.stopTime));
    mUpdating = false;
}

void DialogExportKmlOptions::slotTimestamp(int value)
{
    if (!mUpdating)
        mOptions.timeStamp = value;
}

void DialogExportKmlOptions::slotLineWidth(int value)
{
    if (!mUpdating)
        mOptions.lineWidth = value;
}

void DialogExportKmlOptions::slotLineColor()
{
    // A cancelled dialog keeps the colour.
    const QColor c = DialogPrompt::getColor(this, WizardColorButton::toColor(mOptions.lineColor, mOptions.lineAlpha),
                                            tr("Select Line Color"), true);
    if (!c.isValid())
        return;
    mOptions.lineColor = WizardColorButton::toHex(c);
    mOptions.lineAlpha = c.alpha();
    initializePage();
}

void DialogExportKmlOptions::slotPolygon(bool on)
{
    if (!mUpdating)
        mOptions.polygonOn = on;
}

void DialogExportKmlOptions::slotPolygonColor()
{
    const QColor c = DialogPrompt::getColor(
        this, WizardColorButton::toColor(mOptions.polygonColor, mOptions.polygonAlpha), tr("Select Polygon Color"),
        true);
    if (!c.isValid())
        return;
    mOptions.polygonColor = WizardColorButton::toHex(c);
    mOptions.polygonAlpha = c.alpha();
    initializePage();
}

void DialogExportKmlOptions::slotStartTime(const QTime&)
{
    if (!mUpdating)
        mOptions.startTime = WizardTimeEdit::limited(mStart->seconds(), mOptions.recordInfo.startTime,
                                                     mOptions.recordInfo.stopTime);
}

void DialogExportKmlOptions::slotStopTime(const QTime&)
{
    if (!mUpdating)
        mOptions.stopTime = WizardTimeEdit::limited(mStop->seconds(), mOptions.recordInfo.startTime,
                                                    mOptions.recordInfo.stopTime);
}

void DialogExportKmlOptions::slotCursorStart()
{
    mOptions.startTime = mOptions.cursorTime;
    storeTimes();
}

void DialogExportKmlOptions::slotCursorStop()
{
    mOptions.stopTime = mOptions.cursorTime;
    storeTimes();
}

void DialogExportKmlOptions::storeTimes()
{
    // Both fields show whole seconds, and what they show is what is
    // exported, whether or not a field's text changed.
    updatePage();
    slotStartTime(mStart->time());
    slotStopTime(mStop->time());
}

} // namespace KAVO
