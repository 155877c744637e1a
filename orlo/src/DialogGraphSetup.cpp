#include "DialogGraphSetup.h"

#include "GraphData.h"
#include "Images.h"
#include "Kernel.h"
#include "QwtComboBox.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cmath>

namespace KAVO {

namespace {

DialogGraphSetup::ColorChooser& colorChooser()
{
    static DialogGraphSetup::ColorChooser chooser;
    return chooser;
}

// The text colour for a button filled with `fill`: black or white,
// whichever contrasts more (by the relative luminance of sRGB).
QColor textColorOn(const QColor& fill)
{
    const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const double l = 0.2126 * linear(fill.redF()) + 0.7152 * linear(fill.greenF()) + 0.0722 * linear(fill.blueF());
    const double onBlack = (l + 0.05) / 0.05;
    const double onWhite = 1.05 / (l + 0.05);
    return onWhite > onBlack ? QColor(Qt::white) : QColor(Qt::black);
}

} // namespace

void DialogGraphSetup::setColorChooser(ColorChooser chooser)
{
    colorChooser() = std::move(chooser);
}

DialogGraphSetup::DialogGraphSetup(QWidget* parent, GraphData& data)
    : QDialog(parent)
    , mData(data)
{
    setWindowTitle(tr("Oscilloscope Setup"));
    setWindowIcon(Images::icon("canGraph"));

    mGrid = new QGridLayout;
    mGrid->setSpacing(3);

    mBackColor = selectButton();
    mGridColor = selectButton();
    mGridOn = new QCheckBox(tr("Grid On"), this);
    mLabelColor = selectButton();
    mLabelBackColor = selectButton();
    mCursorOn = new QCheckBox(tr("Cursor On"), this);
    mCursorMode = new QwtComboBox(this, 0);
    mCursorMode->addItem(tr("Floating"), 0);
    mCursorMode->addItem(tr("Center"), 1);
    mCursorMode->addItem(tr("End"), 2);
    mCursorMode->hide();
    mLegendOn = new QCheckBox(tr("Legend On"), this);
    mAutoscaleOn = new QCheckBox(tr("Autoscale On"), this);
    mYmin = new QLineEdit(this);
    mYmax = new QLineEdit(this);

    mGrid->addWidget(new QLabel(tr("Background Color :"), this), 0, 0);
    mGrid->addWidget(mBackColor, 0, 1);
    mGrid->addWidget(new QLabel(tr("Grid On/Color :"), this), 1, 0);
    mGrid->addWidget(mGridColor, 1, 1);
    mGrid->addWidget(mGridOn, 1, 2);
    mGrid->addWidget(new QLabel(tr("Label Color :"), this), 2, 0);
    mGrid->addWidget(mLabelColor, 2, 1);
    mGrid->addWidget(new QLabel(tr("Label Background :"), this), 3, 0);
    mGrid->addWidget(mLabelBackColor, 3, 1);
    mGrid->addWidget(new QLabel(tr("Cursor On/Mode :"), this), 4, 0);
    mGrid->addWidget(mCursorOn, 4, 1);
    mGrid->addWidget(mCursorMode, 4, 2);
    mGrid->addWidget(new QLabel(tr("Legend :"), this), 5, 0);
    mGrid->addWidget(mLegendOn, 5, 1);
    mGrid->addWidget(new QLabel(tr("Y-Scale :"), this), 6, 0);
    mGrid->addWidget(mAutoscaleOn, 6, 1);
    mGrid->addWidget(mYmin, 6, 2);
    mGrid->addWidget(mYmax, 6, 3);

    mClose = new QPushButton(tr("Close"), this);
    mClose->setDefault(true);

    mLayout = new QVBoxLayout(this);
    mLayout->setContentsMargins(5, 5, 5, 5);
    mLayout->setSpacing(15);
    mLayout->addLayout(mGrid);
    mLayout->addWidget(mClose);

    connect(mBackColor, &QPushButton::clicked, this, &DialogGraphSetup::slotBackgroundColor);
    connect(mGridColor, &QPushButton::clicked, this, &DialogGraphSetup::slotGridColor);
    connect(mLabelColor, &QPushButton::clicked, this, &DialogGraphSetup::slotLabelColor);
    connect(mLabelBackColor, &QPushButton::clicked, this, &DialogGraphSetup::slotLabelBackColor);
    connect(mGridOn, &QCheckBox::stateChanged, this, &DialogGraphSetup::slotGridOn);
    connect(mCursorOn, &QCheckBox::stateChanged, this, &DialogGraphSetup::slotCursorOn);
    connect(mLegendOn, &QCheckBox::stateChanged, this, &DialogGraphSetup::slotLegendOn);
    connect(mAutoscaleOn, &QCheckBox::stateChanged, this, &DialogGraphSetup::slotAutoscaleOn);
    connect(mYmin, &QLineEdit::textChanged, this, &DialogGraphSetup::slotYmin);
    connect(mYmax, &QLineEdit::textChanged, this, &DialogGraphSetup::slotYmax);
    connect(mClose, &QPushButton::clicked, this, &DialogGraphSetup::slotClose);
    // The cursor mode box stays hidden and unconnected: the mode keeps its
    // start value.

    updateDialog();
}

QPushButton* DialogGraphSetup::selectButton()
{
    QPushButton* button = new QPushButton(tr("Select"), this);
    button->setAutoFillBackground(true);
    button->setStyle(Kernel::instance()->getStyle());
    return button;
}

void DialogGraphSetup::showColor(QPushButton* button, const QString& name)
{
    QPalette palette = button->palette();
    const QColor color(name);
    palette.setColor(QPalette::Button, color);
    palette.setColor(QPalette::Window, color);
    // The label must stay readable on any fill, the default black included.
    palette.setColor(QPalette::ButtonText, textColorOn(color));
    button->setPalette(palette);
}

void DialogGraphSetup::updateDialog()
{
    showColor(mBackColor, mData.backColor);
    showColor(mGridColor, mData.gridColor);
    showColor(mLabelColor, mData.labelColor);
    showColor(mLabelBackColor, mData.labelBackColor);

    // Writing the widgets is no change made by the user.
    const QSignalBlocker b1(mGridOn);
    const QSignalBlocker b2(mCursorOn);
    const QSignalBlocker b3(mLegendOn);
    const QSignalBlocker b4(mAutoscaleOn);
    const QSignalBlocker b5(mYmin);
    const QSignalBlocker b6(mYmax);
    mGridOn->setChecked(mData.gridOn);
    mCursorOn->setChecked(mData.cursorOn);
    mLegendOn->setChecked(mData.legendOn);
    mAutoscaleOn->setChecked(mData.autoscaleOn);
    mCursorMode->setData(mData.cursorMode);
    mYmin->setText(QString("%1").arg(mData.yMin));
    mYmax->setText(QString("%1").arg(mData.yMax));
}

void DialogGraphSetup::chooseColor(QString& name)
{
    const QColor current(name);
    const QColor chosen = colorChooser() ? colorChooser()(current) : QColorDialog::getColor(current, nullptr);
    if (chosen.isValid())
        name = chosen.name();
    emit signalChanged();
    updateDialog();
}

void DialogGraphSetup::slotBackgroundColor()
{
    chooseColor(mData.backColor);
}

void DialogGraphSetup::slotGridColor()
{
    chooseColor(mData.gridColor);
}

void DialogGraphSetup::slotLabelColor()
{
    chooseColor(mData.labelColor);
}

void DialogGraphSetup::slotLabelBackColor()
{
    chooseColor(mData.labelBackColor);
}

void DialogGraphSetup::storeFlag(bool& flag, int state)
{
    flag = state == Qt::Checked;
    emit signalChanged();
}

void DialogGraphSetup::storeNumber(double& number, const QString& text)
{
    // Text that is no number reads as 0.
    number = text.toDouble();
    emit signalChanged();
}

void DialogGraphSetup::slotGridOn(int state)
{
    storeFlag(mData.gridOn, state);
}

void DialogGraphSetup::slotCursorOn(int state)
{
    storeFlag(mData.cursorOn, state);
}

void DialogGraphSetup::slotCursorMode(int mode)
{
    mData.cursorMode = mode;
    emit signalChanged();
}

void DialogGraphSetup::slotLegendOn(int state)
{
    storeFlag(mData.legendOn, state);
}

void DialogGraphSetup::slotAutoscaleOn(int state)
{
    storeFlag(mData.autoscaleOn, state);
}

void DialogGraphSetup::slotYmin(QString text)
{
    storeNumber(mData.yMin, text);
}

void DialogGraphSetup::slotYmax(QString text)
{
    storeNumber(mData.yMax, text);
}

void DialogGraphSetup::slotClose()
{
    hide();
}

} // namespace KAVO
