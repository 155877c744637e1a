#ifndef ORLO_DIALOGEXPORTCSVPATH_H
#define ORLO_DIALOGEXPORTCSVPATH_H

#include "WizardPathPage.h"

namespace KAVO {

struct CsvExportOptions;
class QwtComboBox;

// First page of the CSV wizard: output folder, export type and file name.
class DialogExportCsvPath : public WizardPathPage
{
    Q_OBJECT
public:
    DialogExportCsvPath(QWidget* parent, CsvExportOptions& options);

    // Selects the type and proposes the type's default file name.
    void initializePage() override;

private slots:
    void slotFileType(int value);

private:
    CsvExportOptions& mOptions;
    QwtComboBox* mType = nullptr;
};

} // namespace KAVO

#endif
