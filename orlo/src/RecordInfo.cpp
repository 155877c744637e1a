#include "RecordInfo.h"

#include <cstring>

namespace KAVO {

void RecordInfo::clearHeaderFields()
{
    dateTime = QDateTime();
    busType = 0;
    ecuSerialNumber = 0;
    std::memset(swPartA, 0, sizeof swPartA);
    std::memset(ecuType, 0, sizeof ecuType);
    std::memset(engineSerialNumber, 0, sizeof engineSerialNumber);
    std::memset(engineType, 0, sizeof engineType);
    std::memset(swPartB, 0, sizeof swPartB);
    std::memset(emuSwVersion, 0, sizeof emuSwVersion);
}

double RecordInfo::calendarAt(double time, double offset) const
{
    // The date and time messages tell the calendar where they were recorded
    // (utcAnchor), not at the recording's first message: another file of
    // the selection may start earlier.
    const double anchor = utcAnchored ? utcAnchor + (utcAnchorHigh ? offset : 0.0) : startTime;
    return static_cast<double>(utcStart) + (time - anchor);
}

} // namespace KAVO
