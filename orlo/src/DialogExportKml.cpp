#include "DialogExportKml.h"

#include "DialogExportKmlOptions.h"
#include "DialogExportKmlPath.h"
#include "DialogExportKmlPlacemark.h"
#include "Property.h"

namespace KAVO {

DialogExportKml::DialogExportKml(QWidget* parent)
    : QWizard(parent)
{
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("Google Earth KML Export"));
    mPath = new DialogExportKmlPath(this, mOptions);
    mOptionsPage = new DialogExportKmlOptions(this, mOptions);
    mPlacemark = new DialogExportKmlPlacemark(this, mOptions);
    addPage(mPath);
    addPage(mOptionsPage);
    addPage(mPlacemark);
}

bool DialogExportKml::getOptions(KmlExportOptions& options)
{
    mOptions = options;
    loadSettings();
    restart();
    const bool finished = exec() == QDialog::Accepted;
    options = mOptions;
    storeSettings();
    return finished;
}

void DialogExportKml::loadSettings()
{
    const Property* p = Property::instance();
    mOptions.exportDir = QByteArray::fromStdString(p->getString("KmlExportDir", "."));
    mOptions.timeStamp = p->getInt("KmlTimeStamp", 100);
    mOptions.lineWidth = p->getInt("KmlLineWidth", 1);
    mOptions.lineColor = QByteArray::fromStdString(p->getString("KmlLineColor", "ff0000"));
    mOptions.lineAlpha = p->getInt("KmlLineAlpha", 255);
    mOptions.polygonOn = p->getSwitch("KmlPolygonOn", true);
    mOptions.polygonColor = QByteArray::fromStdString(p->getString("KmlPolygonColor", "0000ff"));
    mOptions.polygonAlpha = p->getInt("KmlPolygonAlpha", 100);
    mOptions.placeMarkOn = p->getSwitch("KmlPlaceMarkOn", true);
    mOptions.placeMarkInterval = p->getInt("KmlPlaceMarkIntervall", 10);
    mOptions.placeMarkColor = QByteArray::fromStdString(p->getString("KmlPlaceMarkColor", "ffcc00"));
    mOptions.errorMarkOn = p->getSwitch("KmlErrorMarkOn", true);
    mOptions.showLimit = p->getSwitch("KmlShowLimit", true);
    mOptions.showWarning = p->getSwitch("KmlShowWarning", true);
    mOptions.errorMarkColor = QByteArray::fromStdString(p->getString("KmlErrorMarkColor", "ff0000"));
}

void DialogExportKml::storeSettings()
{
    Property* p = Property::instance();
    p->setString("KmlExportDir", mOptions.exportDir.toStdString());
    p->setInt("KmlTimeStamp", mOptions.timeStamp);
    p->setInt("KmlLineWidth", mOptions.lineWidth);
    p->setString("KmlLineColor", mOptions.lineColor.toStdString());
    p->setInt("KmlLineAlpha", mOptions.lineAlpha);
    p->setSwitch("KmlPolygonOn", mOptions.polygonOn);
    p->setString("KmlPolygonColor", mOptions.polygonColor.toStdString());
    p->setInt("KmlPolygonAlpha", mOptions.polygonAlpha);
    p->setSwitch("KmlPlaceMarkOn", mOptions.placeMarkOn);
    p->setInt("KmlPlaceMarkIntervall", mOptions.placeMarkInterval);
    p->setString("KmlPlaceMarkColor", mOptions.placeMarkColor.toStdString());
    p->setSwitch("KmlErrorMarkOn", mOptions.errorMarkOn);
    p->setSwitch("KmlShowLimit", mOptions.showLimit);
    p->setSwitch("KmlShowWarning", mOptions.showWarning);
    p->setString("KmlErrorMarkColor", mOptions.errorMarkColor.toStdString());
    // A failed write is reported by the store; the values stay in memory.
    p->writeXmlFile();
}

} // namespace KAVO
