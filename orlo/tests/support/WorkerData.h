#ifndef ORLO_WORKERDATA_H
#define ORLO_WORKERDATA_H

// What the tests of the worker threads share, header only (the
// ThreadSanitizer build has no test support library): record files of
// many messages, and a profile whose parameters have thresholds.

#include "RecordEntry.h"
#include "RecordFileBytes.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace testsupport {

// One message of a big-endian record file.
struct RawRecord
{
    uint16_t channel = 0;
    uint32_t canId = 0;
    double time = 0.0;   // seconds, rounded to the nearest tick
    uint8_t type = 0;    // data-type byte (byte 1)
    uint32_t word = 0;   // data bytes 4 to 7
};

// A big-endian record file of n messages, the i-th from make(i).
template <typename F>
QByteArray rawRecordFile(int n, F make)
{
    std::vector<TestMessage> messages(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const RawRecord r = make(i);
        TestMessage& m = messages[static_cast<std::size_t>(i)];
        m.channel = r.channel;
        m.canId = r.canId;
        m.time = r.time;
        m.data[1] = r.type;
        qToBigEndian<uint32_t>(r.word, m.data + 4);
    }
    return recordFileBytes(messages);
}

// Two messages are the same: record bytes, time and kind of file.
inline bool sameEntry(const KAVO::RecordEntry& a, const KAVO::RecordEntry& b)
{
    return std::memcmp(&a, &b, KAVO::RecordEntry::RecordSize) == 0 && a.time == b.time && a.highFile == b.highFile;
}

// Writes the bytes as a file of the folder; its path.
inline QString writeInto(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile f(dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    return f.fileName();
}

// Thresholds at 100 (WARNING) and 120 (LIMIT) for FLOAT values in data
// bytes 4 to 7; two parameters share one message, one reads the pseudo-id
// list of channel 0.
const char* const ThresholdProfile = R"(<BrevantoProfile name="fill">
  <ThresholdList>
    <Threshold name="Temp">
      <Value val="0" color="#00c000" state="OK"/>
      <Value val="100" color="#ffff00" state="WARNING"/>
      <Value val="120" color="#ff0000" state="LIMIT"/>
    </Threshold>
  </ThresholdList>
  <Device name="Engine">
    <Parameter name="EGT" unit="degC" id="0x100" channel="0" startByte="4" dataType="FLOAT" thresholdId="Temp"/>
    <Parameter name="Twin" id="0x101" channel="0" startByte="4" dataType="FLOAT" thresholdId="Temp"/>
    <Parameter name="Twin half" id="0x101" channel="0" startByte="4" factor="0.5" dataType="FLOAT" thresholdId="Temp"/>
    <Parameter name="Any" id="0x7FFFFFFF" channel="0" startByte="4" dataType="FLOAT" thresholdId="Temp"/>
  </Device>
  <Device name="Gear">
    <Parameter name="Oil" unit="bar" id="0x200" channel="1" startByte="4" dataType="FLOAT" thresholdId="Temp"/>
  </Device>
</BrevantoProfile>)";

} // namespace testsupport

#endif
