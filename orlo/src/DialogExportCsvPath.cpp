#include "DialogExportCsvPath.h"

#include "CsvExportOptions.h"
#include "QwtComboBox.h"

#include <QGridLayout>
#include <QLabel>

namespace KAVO {

DialogExportCsvPath::DialogExportCsvPath(QWidget* parent, CsvExportOptions& options)
    : WizardPathPage(parent, options.exportDir, options.fileName, tr("Export Path"), tr("Export Filename"),
                     tr("Save CSV/CAN Export"), 2)
    , mOptions(options)
{
    setTitle(tr("CSV/CAN Export"));
    setSubTitle(tr("Select the output directory and file"));

    mType = new QwtComboBox(this, 0);
    mType->setObjectName("exportType");
    mType->addItem(".CSV Export", 0);
    mType->addItem(".CAN Export", 1);
    mGrid->addWidget(new QLabel(tr("Export Type"), this), 1, 0);
    mGrid->addWidget(mType, 1, 1, 1, 2);

    connect(mType, QOverload<int>::of(&QwtComboBox::signalActivated), this, &DialogExportCsvPath::slotFileType);
}

void DialogExportCsvPath::initializePage()
{
    mType->setData(mOptions.can);
    mOptions.fileName = mOptions.can != 0 ? "ExportOrlo.CAN" : "ExportOrlo.csv";
    showPath();
}

void DialogExportCsvPath::slotFileType(int value)
{
    mOptions.can = value;
    initializePage();
}

} // namespace KAVO
