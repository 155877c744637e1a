#ifndef ORLO_KMLEXPORTERROR_H
#define ORLO_KMLEXPORTERROR_H

#include "KmlExportPlacemarkEntry.h"

#include <QString>

#include <vector>

namespace KAVO {

// An exceedance placemark: the limit or warning events of one track
// bucket, in the order they were added.
struct KmlExportError
{
    std::vector<KmlExportPlacemarkEntry> entries;
    double lat = 0.0;
    double lon = 0.0;
    double alt = 0.0;
    QString time;   // "hh:mm:ss"
};

} // namespace KAVO

#endif
