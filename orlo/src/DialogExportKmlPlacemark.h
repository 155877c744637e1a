#ifndef ORLO_DIALOGEXPORTKMLPLACEMARK_H
#define ORLO_DIALOGEXPORTKMLPLACEMARK_H

#include <QWizardPage>

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QSpinBox;

namespace KAVO {

struct KmlExportOptions;
class WizardColorButton;

// Third page of the KML wizard: value placemarks and exceedance marks.
class DialogExportKmlPlacemark : public QWizardPage
{
    Q_OBJECT
public:
    DialogExportKmlPlacemark(QWidget* parent, KmlExportOptions& options);

    void initializePage() override;

private slots:
    void slotPlacemark(bool on);
    void slotPlacemarkStep(int value);
    void slotPlacemarkColor();
    void slotError(bool on);
    void slotLimit(bool on);
    void slotWarning(bool on);
    void slotErrorColor();

private:
    KmlExportOptions& mOptions;
    bool mUpdating = false;
    QGridLayout* mGrid = nullptr;
    QGroupBox* mPlacemark = nullptr;
    QSpinBox* mPlacemarkStep = nullptr;
    WizardColorButton* mPlacemarkColor = nullptr;
    QGroupBox* mError = nullptr;
    QCheckBox* mLimit = nullptr;
    QCheckBox* mWarning = nullptr;
    WizardColorButton* mErrorColor = nullptr;
};

} // namespace KAVO

#endif
