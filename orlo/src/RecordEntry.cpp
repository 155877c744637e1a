#include "RecordEntry.h"

namespace KAVO {

void RecordEntry::secondsToTicks(double seconds, uint32_t& high, uint32_t& low)
{
    const double tick = 31.25 * 1e-9;
    // Beyond the 64-bit tick range (or not a number) there is no stamp to write.
    if (!(seconds > -9.0e18 * tick && seconds < 9.0e18 * tick)) {
        high = 0;
        low = 0;
        return;
    }
    const long long h = static_cast<long long>(seconds / 134.217728);
    const long long l = static_cast<long long>((seconds - static_cast<double>(h) * 134.217728) / tick);
    high = static_cast<uint32_t>(h);
    low = static_cast<uint32_t>(l);
}

void RecordEntry::toRecord(uint8_t* record, bool swap) const
{
    RecordEntry e = *this;
    if (swap) {
        e.channel = qbswap(channel);
        e.canId = qbswap(canId);
        e.auxWordA = qbswap(auxWordA);
        e.auxWordB = qbswap(auxWordB);
        e.tickHigh = qbswap(tickHigh);
        e.tickLow = qbswap(tickLow);
    }
    std::memcpy(record, reinterpret_cast<const unsigned char*>(&e), RecordSize);
}

} // namespace KAVO
