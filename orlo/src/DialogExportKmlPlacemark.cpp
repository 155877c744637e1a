#include "DialogExportKmlPlacemark.h"

#include "DialogPrompt.h"
#include "KmlExportOptions.h"
#include "WizardColorButton.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>

namespace KAVO {

DialogExportKmlPlacemark::DialogExportKmlPlacemark(QWidget* parent, KmlExportOptions& options)
    : QWizardPage(parent)
    , mOptions(options)
{
    setTitle(tr("KML Export"));
    setSubTitle(tr("Select KML Placemarks"));

    mGrid = new QGridLayout(this);

    mPlacemark = new QGroupBox(tr("Draw selected parameters as placemarks"), this);
    mPlacemark->setObjectName("placeMark");
    mPlacemark->setCheckable(true);
    QGridLayout* placemarkGrid = new QGridLayout(mPlacemark);
    mPlacemarkStep = new QSpinBox(mPlacemark);
    mPlacemarkStep->setObjectName("placeMarkInterval");
    mPlacemarkStep->setRange(5, 600);
    mPlacemarkStep->setSingleStep(5);
    mPlacemarkStep->setSuffix(tr(" samples"));
    mPlacemarkColor = new WizardColorButton(mPlacemark);
    mPlacemarkColor->setObjectName("placeMarkColor");
    placemarkGrid->addWidget(new QLabel(tr("Placemark every"), mPlacemark), 0, 0);
    placemarkGrid->addWidget(mPlacemarkStep, 0, 1);
    placemarkGrid->addWidget(new QLabel(tr("Placemark Color"), mPlacemark), 1, 0);
    placemarkGrid->addWidget(mPlacemarkColor, 1, 1);
    mGrid->addWidget(mPlacemark, 0, 0);

    mError = new QGroupBox(tr("Show Limit exceedance / Warning Lamps"), this);
    mError->setObjectName("errorMark");
    mError->setCheckable(true);
    QGridLayout* errorGrid = new QGridLayout(mError);
    mLimit = new QCheckBox("Show", mError);
    mLimit->setObjectName("showLimit");
    mWarning = new QCheckBox("Show", mError);
    mWarning->setObjectName("showWarning");
    mErrorColor = new WizardColorButton(mError);
    mErrorColor->setObjectName("errorMarkColor");
    errorGrid->addWidget(new QLabel(tr("Limit Exceedance"), mError), 0, 0);
    errorGrid->addWidget(mLimit, 0, 1);
    errorGrid->addWidget(new QLabel(tr("Warning Lamps"), mError), 1, 0);
    errorGrid->addWidget(mWarning, 1, 1);
    errorGrid->addWidget(new QLabel(tr("Exceedance Placemark Color"), mError), 2, 0);
    errorGrid->addWidget(mErrorColor, 2, 1);
    mGrid->addWidget(mError, 1, 0);

    connect(mPlacemark, &QGroupBox::toggled, this, &DialogExportKmlPlacemark::slotPlacemark);
    connect(mPlacemarkStep, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &DialogExportKmlPlacemark::slotPlacemarkStep);
    connect(mPlacemarkColor, &QPushButton::clicked, this, &DialogExportKmlPlacemark::slotPlacemarkColor);
    connect(mError, &QGroupBox::toggled, this, &DialogExportKmlPlacemark::slotError);
    connect(mLimit, &QCheckBox::toggled, this, &DialogExportKmlPlacemark::slotLimit);
    connect(mWarning, &QCheckBox::toggled, this, &DialogExportKmlPlacemark::slotWarning);
    connect(mErrorColor, &QPushButton::clicked, this, &DialogExportKmlPlacemark::slotErrorColor);
}

void DialogExportKmlPlacemark::initializePage()
{
    mUpdating = true;
    mPlacemark->setChecked(mOptions.placeMarkOn);
    mPlacemarkStep->setValue(mOptions.placeMarkInterval);
    mError->setChecked(mOptions.errorMarkOn);
    mLimit->setChecked(mOptions.showLimit);
    mWarning->setChecked(mOptions.showWarning);
    // These marks are written opaque.
    mPlacemarkColor->setColor(mOptions.placeMarkColor, 255);
    mErrorColor->setColor(mOptions.errorMarkColor, 255);
    mUpdating = false;
}

void DialogExportKmlPlacemark::slotPlacemark(bool on)
{
    if (!mUpdating)
        mOptions.placeMarkOn = on;
}

void DialogExportKmlPlacemark::slotPlacemarkStep(int value)
{
    if (!mUpdating)
        mOptions.placeMarkInterval = value;
}

void DialogExportKmlPlacemark::slotPlacemarkColor()
{
    const QColor c = DialogPrompt::getColor(this, WizardColorButton::toColor(mOptions.placeMarkColor, 255),
                                            tr("Select Placemark Color"), false);
    if (!c.isValid())
        return;
    mOptions.placeMarkColor = WizardColorButton::toHex(c);
    initializePage();
}

void DialogExportKmlPlacemark::slotError(bool on)
{
    if (!mUpdating)
        mOptions.errorMarkOn = on;
}

void DialogExportKmlPlacemark::slotLimit(bool on)
{
    if (!mUpdating)
        mOptions.showLimit = on;
}

void DialogExportKmlPlacemark::slotWarning(bool on)
{
    if (!mUpdating)
        mOptions.showWarning = on;
}

void DialogExportKmlPlacemark::slotErrorColor()
{
    const QColor c = DialogPrompt::getColor(this, WizardColorButton::toColor(mOptions.errorMarkColor, 255),
                                            tr("Select Exceedance Color"), false);
    if (!c.isValid())
        return;
    mOptions.errorMarkColor = WizardColorButton::toHex(c);
    initializePage();
}

} // namespace KAVO
