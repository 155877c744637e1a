#include "DialogExportKmlPath.h"

#include "KmlExportOptions.h"

namespace KAVO {

DialogExportKmlPath::DialogExportKmlPath(QWidget* parent, KmlExportOptions& options)
    : WizardPathPage(parent, options.exportDir, options.fileName, tr("Export Path"), tr("Export Filename"),
                     tr("Save KML Export"), 1)
{
    setTitle(tr("KML Export"));
    setSubTitle(tr("Select the output directory and file"));
}

void DialogExportKmlPath::initializePage()
{
    showPath();
}

} // namespace KAVO
