#ifndef ORLO_GRAPHDATA_H
#define ORLO_GRAPHDATA_H

#include <QString>

namespace KAVO {

// The settings of the graph tab as the setup dialog edits them. They are
// kept for the session only.
struct GraphData
{
    double timeSpan = 60.0;          // seconds
    int displayMode = 1;             // split
    int graphMode = 1;               // automatic
    int cursorMode = 1;              // centre
    QString backColor = "#000000";
    bool gridOn = true;
    QString gridColor = "#ff6666";
    QString labelColor = "#000000";
    QString labelBackColor = "#bbbbbb";
    bool cursorOn = true;
    bool legendOn = true;
    bool autoscaleOn = true;
    double yMin = -100.0;
    double yMax = 100.0;
};

} // namespace KAVO

#endif
