#ifndef ORLO_RECORDENTRY_H
#define ORLO_RECORDENTRY_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include <QtEndian>

namespace KAVO {

// One 28-byte CAN message of a record file with its time. The first ten
// fields keep the record's byte layout, because the value decoders address
// a parameter by its byte position within those 28 bytes. A recording keeps
// each message once, so the entry holds only what cannot be derived: 40
// bytes, the tenths and hundredths follow from the time.
struct RecordEntry
{
    // A time counted in steps of 1/PerSecond seconds, rounded half up and
    // truncated toward zero: a view of the entry's time, not a field of its
    // own. Assigning to it keeps nothing, since the time decides it.
    template <int PerSecond>
    struct TimeKey
    {
        double seconds;  // the storage of the entry's time

        operator int32_t() const { return truncateToInt32(seconds * PerSecond + 0.5); }
        TimeKey& operator=(int32_t) { return *this; }
    };

    uint8_t data[8] = {};       // payload as recorded, never reordered
    uint8_t auxByteA = 0;
    uint8_t auxByteB = 0;
    uint16_t channel = 0;       // host order (big-endian in pseudo-id copies)
    uint32_t canId = 0;         // host order, bit 31 cleared
    uint16_t auxWordA = 0;
    uint16_t auxWordB = 0;
    uint32_t tickHigh = 0;
    uint32_t tickLow = 0;

    bool highFile = false;      // from a file that takes the folder's time offset
    union {
        double time = 0.0;      // seconds on the recorder's time-stamp scale
        TimeKey<10> tenths;     // time * 10 + 0.5, truncated
        TimeKey<100> hundredths;  // time * 100 + 0.5, truncated
    };

    static constexpr int RecordSize = 28;

    // The 28 record bytes as laid out in the file (host-order integers).
    const uint8_t* bytes() const { return data; }

    // Ticks of 31.25 ns in a high and a low 32-bit word.
    static double ticksToSeconds(uint32_t high, uint32_t low);
    static void secondsToTicks(double seconds, uint32_t& high, uint32_t& low);

    // Sets the time (and so the tenths and hundredths) from the tick words.
    void updateTime();

    // Fills the entry from 28 record bytes; swap reverses the integer
    // fields (the file's byte order is not the host's). The payload is
    // copied as it is, bit 31 of the id is cleared.
    void fromRecord(const uint8_t* record, bool swap, bool high);
    // The same with the record's time already worked out (recordTime).
    void fromRecord(const uint8_t* record, bool swap, bool high, double seconds);

    // Writes the 28 record bytes; swap stores the integers reversed.
    void toRecord(uint8_t* record, bool swap) const;

    // Channel, CAN id and the two auxiliary words turned big-endian, as the
    // copies filed under the pseudo ids hold them.
    RecordEntry bigEndianCopy() const;

    // The value truncated toward zero; values beyond the 32-bit range (times of
    // more than 248 days) stay at its ends instead of wrapping.
    static int32_t truncateToInt32(double value);

    // Time in seconds of the record at 'record' without building an entry.
    static double recordTime(const uint8_t* record, bool swap);
};

static_assert(offsetof(RecordEntry, data) == 0, "record layout");
static_assert(offsetof(RecordEntry, channel) == 10, "record layout");
static_assert(offsetof(RecordEntry, canId) == 12, "record layout");
static_assert(offsetof(RecordEntry, auxWordA) == 16, "record layout");
static_assert(offsetof(RecordEntry, tickHigh) == 20, "record layout");
static_assert(offsetof(RecordEntry, tickLow) == 24, "record layout");
static_assert(sizeof(RecordEntry) == 40, "one message in 40 bytes");
static_assert(std::is_trivially_copyable<RecordEntry>::value, "entries are copied as bytes");

inline double RecordEntry::recordTime(const uint8_t* record, bool swap)
{
    uint32_t w[2];
    std::memcpy(w, record + 20, sizeof w);
    if (swap) {
        w[0] = qbswap(w[0]);
        w[1] = qbswap(w[1]);
    }
    return ticksToSeconds(w[0], w[1]);
}

inline int32_t RecordEntry::truncateToInt32(double value)
{
    if (value >= 2147483647.0)
        return 2147483647;
    if (value <= -2147483648.0)
        return -2147483647 - 1;
    if (value != value)
        return 0;
    return static_cast<int32_t>(value);
}

inline double RecordEntry::ticksToSeconds(uint32_t high, uint32_t low)
{
    // Two multiplications in this order: the texts users see depend on the last digit.
    return static_cast<double>(high) * 134.217728 + static_cast<double>(low) * 31.25 * 1e-9;
}

inline void RecordEntry::updateTime()
{
    time = ticksToSeconds(tickHigh, tickLow);
}

inline void RecordEntry::fromRecord(const uint8_t* record, bool swap, bool high)
{
    fromRecord(record, swap, high, recordTime(record, swap));
}

inline void RecordEntry::fromRecord(const uint8_t* record, bool swap, bool high, double seconds)
{
    std::memcpy(reinterpret_cast<unsigned char*>(this), record, RecordSize);
    if (swap) {
        channel = qbswap(channel);
        canId = qbswap(canId);
        auxWordA = qbswap(auxWordA);
        auxWordB = qbswap(auxWordB);
        tickHigh = qbswap(tickHigh);
        tickLow = qbswap(tickLow);
    }
    canId &= 0x7FFFFFFFu;
    time = seconds;
    highFile = high;
}

inline RecordEntry RecordEntry::bigEndianCopy() const
{
    RecordEntry e = *this;
    e.channel = qToBigEndian(channel);
    e.canId = qToBigEndian(canId);
    e.auxWordA = qToBigEndian(auxWordA);
    e.auxWordB = qToBigEndian(auxWordB);
    return e;
}

} // namespace KAVO

#endif
