#ifndef ORLO_KMLEXPORTPLACEMARK_H
#define ORLO_KMLEXPORTPLACEMARK_H

#include "KmlExportPlacemarkEntry.h"

#include <QByteArray>
#include <QString>

#include <map>

namespace KAVO {

// A value placemark: the selected parameters' values by parameter name, at
// the track position of the last value stored in it.
struct KmlExportPlacemark
{
    std::map<QByteArray, KmlExportPlacemarkEntry> entries;
    double lat = 0.0;
    double lon = 0.0;
    double alt = 0.0;
    QString time;   // "hh:mm:ss"
};

} // namespace KAVO

#endif
