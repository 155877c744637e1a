#ifndef ORLO_KMLEXPORTOPTIONS_H
#define ORLO_KMLEXPORTOPTIONS_H

#include "RecordInfo.h"

#include <QByteArray>

#include <cstdint>

namespace KAVO {

// What the KML export needs besides the recording. The main window puts in
// the time window and the recording's identification; the KML wizard loads
// the rest from the settings store. Colours are six hexadecimal digits
// (red, green, blue) without "#", opacities 0 (transparent) to 255.
struct KmlExportOptions
{
    QByteArray exportDir = ".";
    QByteArray fileName;
    int32_t timeStamp = 100;           // track step, milliseconds
    int32_t lineWidth = 1;
    QByteArray lineColor = "ff0000";
    int32_t lineAlpha = 255;
    bool polygonOn = true;
    QByteArray polygonColor = "0000ff";
    int32_t polygonAlpha = 100;
    RecordInfo recordInfo;
    bool placeMarkOn = true;
    int32_t placeMarkInterval = 500;   // track points between value placemarks
    QByteArray placeMarkColor = "ffcc00";
    bool errorMarkOn = true;
    bool showLimit = true;
    bool showWarning = true;
    QByteArray errorMarkColor = "ff0000";
    double startTime = 0.0;            // seconds on the recording's time scale
    double stopTime = 0.0;
    double cursorTime = 0.0;
};

} // namespace KAVO

#endif
