#include "RecordEntry.h"

namespace KAVO {

double RecordEntry::ticksToSeconds(uint32_t high, uint32_t low)
{
    // Two multiplications in this order: the texts users see depend on the last digit.
    return static_cast<double>(high) * 134.217728 + static_cast<double>(low) * 31.25 * 1e-9;
}

void RecordEntry::secondsToTicks(double seconds, uint32_t& high, uint32_t& low)
{
    const double tick = 31.25 * 1e-9;
    const long long h = static_cast<long long>(seconds / 134.217728);
    const long long l = static_cast<long long>((seconds - static_cast<double>(h) * 134.217728) / tick);
    high = static_cast<uint32_t>(h);
    low = static_cast<uint32_t>(l);
}

void RecordEntry::updateTime()
{
    time = ticksToSeconds(tickHigh, tickLow);
    tenths = static_cast<int32_t>(time * 10 + 0.5);
    hundredths = static_cast<int32_t>(time * 100 + 0.5);
}

} // namespace KAVO
