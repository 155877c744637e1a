#ifndef ORLO_RECORDENTRY_H
#define ORLO_RECORDENTRY_H

#include <cstddef>
#include <cstdint>

namespace KAVO {

// One 28-byte CAN message of a record file with its time. The first ten
// fields keep the record's byte layout, because the value decoders address
// a parameter by its byte position within those 28 bytes.
struct RecordEntry
{
    uint8_t data[8] = {};       // payload as recorded, never reordered
    uint8_t auxByteA = 0;
    uint8_t auxByteB = 0;
    uint16_t channel = 0;       // host order (big-endian in pseudo-id copies)
    uint32_t canId = 0;         // host order, bit 31 cleared
    uint16_t auxWordA = 0;
    uint16_t auxWordB = 0;
    uint32_t tickHigh = 0;
    uint32_t tickLow = 0;

    double time = 0.0;          // seconds on the recorder's time-stamp scale
    int32_t tenths = 0;         // time * 10 + 0.5, truncated
    int32_t hundredths = 0;     // time * 100 + 0.5, truncated
    bool highFile = false;      // from a file that takes the folder's time offset

    static constexpr int RecordSize = 28;

    // The 28 record bytes as laid out in the file (host-order integers).
    const uint8_t* bytes() const { return data; }

    // Ticks of 31.25 ns in a high and a low 32-bit word.
    static double ticksToSeconds(uint32_t high, uint32_t low);
    static void secondsToTicks(double seconds, uint32_t& high, uint32_t& low);

    // Sets time, tenths and hundredths from the tick words.
    void updateTime();
};

static_assert(offsetof(RecordEntry, channel) == 10, "record layout");
static_assert(offsetof(RecordEntry, canId) == 12, "record layout");
static_assert(offsetof(RecordEntry, auxWordA) == 16, "record layout");
static_assert(offsetof(RecordEntry, tickHigh) == 20, "record layout");
static_assert(offsetof(RecordEntry, tickLow) == 24, "record layout");

} // namespace KAVO

#endif
