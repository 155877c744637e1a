#ifndef ORLO_KMLEXPORTPLACEMARKENTRY_H
#define ORLO_KMLEXPORTPLACEMARKENTRY_H

#include <QByteArray>

namespace KAVO {

// One name and value line of a KML placemark.
struct KmlExportPlacemarkEntry
{
    QByteArray name;
    QByteArray value;
};

} // namespace KAVO

#endif
