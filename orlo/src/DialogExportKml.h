#ifndef ORLO_DIALOGEXPORTKML_H
#define ORLO_DIALOGEXPORTKML_H

#include "KmlExportOptions.h"

#include <QWizard>

namespace KAVO {

class DialogExportKmlOptions;
class DialogExportKmlPath;
class DialogExportKmlPlacemark;

// The KML export wizard: folder and file, track style and time window,
// placemarks. The pages edit the wizard's own options; the choices live
// in the settings store between runs.
class DialogExportKml : public QWizard
{
    Q_OBJECT
public:
    explicit DialogExportKml(QWidget* parent);

    // Runs the wizard modally on the caller's options (file name, time
    // window, recording and cursor time come from the caller, the rest from
    // the settings). The options and the settings take the user's choices
    // whether the wizard was finished or cancelled; true when finished.
    bool getOptions(KmlExportOptions& options);

    DialogExportKmlPath* pathPage() const { return mPath; }
    DialogExportKmlOptions* optionsPage() const { return mOptionsPage; }
    DialogExportKmlPlacemark* placemarkPage() const { return mPlacemark; }

private:
    void loadSettings();
    void storeSettings();

    KmlExportOptions mOptions;
    DialogExportKmlPath* mPath = nullptr;
    DialogExportKmlOptions* mOptionsPage = nullptr;
    DialogExportKmlPlacemark* mPlacemark = nullptr;
};

} // namespace KAVO

#endif
