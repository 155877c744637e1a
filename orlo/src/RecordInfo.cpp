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

} // namespace KAVO
