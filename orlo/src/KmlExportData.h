#ifndef ORLO_KMLEXPORTDATA_H
#define ORLO_KMLEXPORTDATA_H

namespace KAVO {

// One point of the KML track. A component below -999 has no value yet.
struct KmlExportData
{
    static constexpr double Missing = -1000.0;

    double lat = Missing;   // degrees
    double lon = Missing;   // degrees
    double alt = Missing;   // unit of the profile's altitude parameter

    static bool missing(double component) { return component < -999.0; }
};

} // namespace KAVO

#endif
