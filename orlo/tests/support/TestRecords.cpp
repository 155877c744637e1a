#include "TestRecords.h"

#include "KmlExportOptions.h"
#include "Profile.h"
#include "Record.h"
#include "StdoutCapture.h"
#include "TestSupport.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace testsupport {

namespace {

template <typename T>
void putInt(QByteArray& b, int at, T v, bool bigEndian)
{
    v = bigEndian ? qToBigEndian(v) : qToLittleEndian(v);
    std::memcpy(b.data() + at, &v, sizeof v);
}

void ticks(double seconds, uint32_t& high, uint32_t& low)
{
    const long long t = std::llround(seconds / 31.25e-9);
    high = static_cast<uint32_t>(t >> 32);
    low = static_cast<uint32_t>(t & 0xffffffffLL);
}

const char* const ExportProfile = R"(<BrevantoProfile name="export tests">
  <EnumList>
    <Enum name="Mode">
      <Value val="1" label="on; off, &quot;x&quot;"/>
      <Value val="2" label="plain"/>
    </Enum>
  </EnumList>
  <Device name="Dev">
    <Parameter name="A" id="0x10" channel="0" startByte="4" dataType="FLOAT"/>
    <Parameter name="B" id="0x11" channel="0" startByte="4" dataType="FLOAT"/>
    <Parameter name="Speed" unit="rpm" id="0x12" channel="0" startByte="4" dataType="FLOAT"/>
    <Parameter name="Mode" id="0x13" channel="0" startByte="4" startBit="0" endBit="7" dataType="BLONG" enumId="Mode"/>
  </Device>
  <Device name="GPS">
    <Parameter name="Latitude" unit="deg" id="0x300" channel="1" startByte="4" dataType="FLOAT" kmlId="Latitude"/>
    <Parameter name="Longitude" unit="deg" id="0x301" channel="1" startByte="4" dataType="FLOAT" kmlId="Longitude"/>
    <Parameter name="Altitude" unit="m" id="0x302" channel="1" startByte="4" dataType="FLOAT" kmlId="Altitude"/>
  </Device>
</BrevantoProfile>)";

} // namespace

namespace {

// A message whose payload has the data-type byte and a big-endian word in data bytes 4 to 7.
TestMessage payloadMessage(uint16_t channel, uint32_t canId, double time, uint8_t type, uint32_t word)
{
    TestMessage m;
    m.channel = channel;
    m.canId = canId;
    m.time = time;
    m.data[0] = 0x20 + type;
    m.data[1] = type;
    qToBigEndian(word, m.data + 4);
    return m;
}

} // namespace

TestMessage floatMessage(uint16_t channel, uint32_t canId, double time, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return payloadMessage(channel, canId, time, 2, bits);
}

TestMessage wordMessage(uint16_t channel, uint32_t canId, double time, uint32_t value)
{
    return payloadMessage(channel, canId, time, 5, value);
}

QByteArray recordFileBytes(const std::vector<TestMessage>& messages, bool bigEndian, const TestHeader& h)
{
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
    uint32_t high, low;
    ticks(h.start, high, low);
    putInt<uint32_t>(b, 20, high, bigEndian);
    putInt<uint32_t>(b, 24, low, bigEndian);
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
        ticks(m.time, high, low);
        putInt<uint32_t>(b, at + 20, high, bigEndian);
        putInt<uint32_t>(b, at + 24, low, bigEndian);
    }
    return b;
}

bool loadRecording(KAVO::Record& record, const QString& folder, const std::vector<TestFile>& files, bool bigEndian,
                   const TestHeader& header)
{
    QStringList paths;
    for (const TestFile& f : files) {
        const QString path = folder + "/" + f.first;
        if (!writeFile(path, recordFileBytes(f.second, bigEndian, header)))
            return false;
        paths << path;
    }
    return record.readRecordData(paths);
}

void fileEntry(KAVO::Record& record, const KAVO::RecordEntry& e)
{
    KAVO::RecordIdList& list = record.recordData().channels[e.channel][e.canId];
    list.entries.push_back(e);
    list.highFile = e.highFile;
    record.rawData().entries.push_back(e);
    KAVO::RecordInfo& info = record.recordInfo();
    if (record.recordData().nrRecords++ == 0) {
        info.startTime = info.stopTime = e.time;
    } else {
        info.startTime = std::min(info.startTime, e.time);
        info.stopTime = std::max(info.stopTime, e.time);
    }
}

void expectDefaultKmlLook(const KAVO::KmlExportOptions& o)
{
    EXPECT_EQ(o.exportDir, ".");
    EXPECT_EQ(o.timeStamp, 100);
    EXPECT_EQ(o.lineWidth, 1);
    EXPECT_EQ(o.lineColor, "ff0000");
    EXPECT_EQ(o.lineAlpha, 255);
    EXPECT_TRUE(o.polygonOn);
    EXPECT_EQ(o.polygonColor, "0000ff");
    EXPECT_EQ(o.polygonAlpha, 100);
    EXPECT_EQ(o.placeMarkColor, "ffcc00");
    EXPECT_TRUE(o.placeMarkOn && o.errorMarkOn && o.showLimit && o.showWarning);
    EXPECT_EQ(o.errorMarkColor, "ff0000");
}

bool loadProfileText(const QString& folder, const QByteArray& xml, const QString& name)
{
    const QString path = folder + "/" + name;
    if (!writeFile(path, xml))
        return false;
    StdoutCapture quiet;
    return KAVO::Profile::instance()->loadProfile(path);
}

bool loadExportProfile(const QString& folder)
{
    return loadProfileText(folder, ExportProfile, "export-profile.xml");
}

void selectParameters(const std::vector<QString>& names)
{
    for (auto& device : KAVO::Profile::instance()->data().mDevices) {
        for (auto& item : device.second.mParameters) {
            KAVO::ProfileParameter& p = item.second;
            p.mSelected = false;
            for (const QString& n : names)
                p.mSelected = p.mSelected || p.mName == n;
        }
    }
}

} // namespace testsupport
