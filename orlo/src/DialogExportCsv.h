#ifndef ORLO_DIALOGEXPORTCSV_H
#define ORLO_DIALOGEXPORTCSV_H

#include "CsvExportOptions.h"

#include <QWizard>

namespace KAVO {

class DialogExportCsvOptions;
class DialogExportCsvPath;

// The CSV/CAN export wizard: folder, type and file name, then separator,
// resolution, parameter choice and time window. The choices live in the
// settings store between runs.
class DialogExportCsv : public QWizard
{
    Q_OBJECT
public:
    explicit DialogExportCsv(QWidget* parent);

    // Runs the wizard modally on the caller's options (time window, cursor
    // time and recording come from the caller). The options and the
    // settings take the user's choices whether the wizard was finished or
    // cancelled; true when finished.
    bool getOptions(CsvExportOptions& options);

    DialogExportCsvPath* pathPage() const { return mPath; }
    DialogExportCsvOptions* optionsPage() const { return mOptionsPage; }

private:
    CsvExportOptions mOptions;
    DialogExportCsvPath* mPath = nullptr;
    DialogExportCsvOptions* mOptionsPage = nullptr;
};

} // namespace KAVO

#endif
