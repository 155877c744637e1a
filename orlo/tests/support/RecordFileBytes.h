#ifndef ORLO_RECORDFILEBYTES_H
#define ORLO_RECORDFILEBYTES_H

// The tests' one writer of record files, byte by byte. Header only: the
// ThreadSanitizer build has no test support library.

#include <QByteArray>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace testsupport {

// A message as a test writes it into a record file.
struct TestMessage
{
    uint16_t channel = 0;
    uint32_t canId = 0;
    double time = 0.0;                 // seconds, rounded to the nearest tick
    uint8_t data[8] = {};
    uint8_t auxByteA = 0xA1;
    uint8_t auxByteB = 0xB2;
    uint16_t auxWordA = 0x1122;
    uint16_t auxWordB = 0x3344;
};

// Seconds of a time stamp given as its two 32-bit words of 31.25 ns ticks.
inline double tickSeconds(uint32_t low, uint32_t high = 0)
{
    return static_cast<double>((static_cast<uint64_t>(high) << 32) | low) * 31.25e-9;
}

// Payload with the message's data-type byte (FLOAT 2, BLONG 5) and a
// big-endian value in data bytes 4 to 7.
inline TestMessage payloadMessage(uint16_t channel, uint32_t canId, double time, uint8_t type, uint32_t word)
{
    TestMessage m;
    m.channel = channel;
    m.canId = canId;
    m.time = time;
    m.data[0] = static_cast<uint8_t>(0x20 + type);
    m.data[1] = type;
    qToBigEndian(word, m.data + 4);
    return m;
}

inline TestMessage floatMessage(uint16_t channel, uint32_t canId, double time, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return payloadMessage(channel, canId, time, 2, bits);
}

inline TestMessage wordMessage(uint16_t channel, uint32_t canId, double time, uint32_t value)
{
    return payloadMessage(channel, canId, time, 5, value);
}

// Header fields as they are stored; an impossible date is allowed. The
// identification is written only where a test sets it; elsewhere, as in
// every byte the reader does not interpret, the header holds a pattern.
struct TestHeader
{
    int year = 2023;
    int month = 7, day = 14, hour = 9, minute = 41, second = 5;
    double start = 0.5;                // start time stamp, seconds
    int64_t busType = -1;              // -1: not written
    int64_t serial = -1;
    const char* swPartA = nullptr;     // 13 bytes each, NUL-padded; nullptr: not written
    const char* ecuType = nullptr;
    const char* engineSerial = nullptr;
    const char* engineType = nullptr;
    const char* swPartB = nullptr;
    const char* emuVersion = nullptr;  // 7 bytes
};

namespace detail {

template <typename T>
void putInt(QByteArray& b, int at, T v, bool bigEndian)
{
    v = bigEndian ? qToBigEndian(v) : qToLittleEndian(v);
    std::memcpy(b.data() + at, &v, sizeof v);
}

inline void putTicks(QByteArray& b, int at, double seconds, bool bigEndian)
{
    const long long t = std::llround(seconds / 31.25e-9);
    putInt<uint32_t>(b, at, static_cast<uint32_t>(t >> 32), bigEndian);
    putInt<uint32_t>(b, at + 4, static_cast<uint32_t>(t & 0xffffffffLL), bigEndian);
}

inline void putText(QByteArray& b, int at, int size, const char* text)
{
    if (text == nullptr)
        return;
    std::memset(b.data() + at, 0, static_cast<std::size_t>(size));
    std::memcpy(b.data() + at, text, std::min<std::size_t>(static_cast<std::size_t>(size), std::strlen(text)));
}

} // namespace detail

// A record file: the header and the messages in the given order.
inline QByteArray recordFileBytes(const std::vector<TestMessage>& messages, bool bigEndian = true,
                                  const TestHeader& h = TestHeader())
{
    using detail::putInt;
    QByteArray b(128 + 28 * static_cast<int>(messages.size()), '\0');
    for (int i = 2; i < 128; ++i)
        b[i] = static_cast<char>(0x40 + i % 50);
    b[0] = static_cast<char>(bigEndian ? 0xAB : 0xBA);
    b[1] = static_cast<char>(bigEndian ? 0xBA : 0xAB);
    putInt<uint16_t>(b, 12, static_cast<uint16_t>(h.year), bigEndian);
    b[14] = static_cast<char>(h.month);
    b[15] = static_cast<char>(h.day);
    b[16] = static_cast<char>(h.hour);
    b[17] = static_cast<char>(h.minute);
    b[18] = static_cast<char>(h.second);
    detail::putTicks(b, 20, h.start, bigEndian);
    if (h.busType >= 0)
        putInt<uint32_t>(b, 28, static_cast<uint32_t>(h.busType), bigEndian);
    if (h.serial >= 0)
        putInt<uint32_t>(b, 32, static_cast<uint32_t>(h.serial), bigEndian);
    const char* texts[5] = {h.swPartA, h.ecuType, h.engineSerial, h.engineType, h.swPartB};
    for (int i = 0; i < 5; ++i)
        detail::putText(b, 36 + 13 * i, 13, texts[i]);
    detail::putText(b, 101, 7, h.emuVersion);
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const int at = 128 + 28 * static_cast<int>(i);
        const TestMessage& m = messages[i];
        std::memcpy(b.data() + at, m.data, 8);
        b[at + 8] = static_cast<char>(m.auxByteA);
        b[at + 9] = static_cast<char>(m.auxByteB);
        putInt<uint16_t>(b, at + 10, m.channel, bigEndian);
        putInt<uint32_t>(b, at + 12, m.canId, bigEndian);
        putInt<uint16_t>(b, at + 16, m.auxWordA, bigEndian);
        putInt<uint16_t>(b, at + 18, m.auxWordB, bigEndian);
        detail::putTicks(b, at + 20, m.time, bigEndian);
    }
    return b;
}

} // namespace testsupport

#endif
