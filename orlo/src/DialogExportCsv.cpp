#include "DialogExportCsv.h"

#include "DialogExportCsvOptions.h"
#include "DialogExportCsvPath.h"
#include "Property.h"

namespace KAVO {

DialogExportCsv::DialogExportCsv(QWidget* parent)
    : QWizard(parent)
{
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("CSV Export"));
    mPath = new DialogExportCsvPath(this, mOptions);
    mOptionsPage = new DialogExportCsvOptions(this, mOptions);
    addPage(mPath);
    addPage(mOptionsPage);
}

bool DialogExportCsv::getOptions(CsvExportOptions& options)
{
    mOptions = options;
    Property* p = Property::instance();
    mOptions.exportDir = QByteArray::fromStdString(p->getString("CsvExportDir", "."));
    mOptions.limiter = static_cast<char>(p->getInt("CsvLimiter", 59));
    mOptions.can = p->getInt("CsvCan", 0);
    mOptions.resolution = p->getInt("CsvResolution", 100);
    mOptions.allParameter = p->getSwitch("CsvAllParameter", true);

    restart();
    const bool finished = exec() == QDialog::Accepted;
    options = mOptions;

    p->setString("CsvExportDir", mOptions.exportDir.toStdString());
    p->setInt("CsvLimiter", static_cast<unsigned char>(mOptions.limiter));
    p->setInt("CsvCan", mOptions.can);
    p->setInt("CsvResolution", mOptions.resolution);
    p->setSwitch("CsvAllParameter", mOptions.allParameter);
    // A failed write is reported by the store; the values stay in memory.
    p->writeXmlFile();
    return finished;
}

} // namespace KAVO
