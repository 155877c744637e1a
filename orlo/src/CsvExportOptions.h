#ifndef ORLO_CSVEXPORTOPTIONS_H
#define ORLO_CSVEXPORTOPTIONS_H

#include "RecordInfo.h"

#include <QByteArray>

#include <cstdint>

namespace KAVO {

// What the CSV and the CAN export need besides the recording. The main
// window puts in the time window, the recording's identification and the
// export folder; the CSV wizard loads the rest from the settings store.
struct CsvExportOptions
{
    QByteArray exportDir = ".";
    QByteArray fileName;
    int32_t can = 0;              // 0: CSV file, otherwise a CAN record file
    char limiter = ';';           // column separator (9 is a tab)
    bool allParameter = false;    // false: only the selected parameters
    RecordInfo recordInfo;
    double startTime = 0.0;       // seconds on the recording's time scale
    double stopTime = 0.0;
    double cursorTime = 0.0;
    int32_t resolution = 100;     // grid step, milliseconds: 100, 10 or 1
};

} // namespace KAVO

#endif
