#include "CsvExportOptions.h"
#include "ExportCan.h"
#include "Record.h"
#include "StdoutCapture.h"
#include "TestRecords.h"
#include "TestSupport.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

using KAVO::CsvExportOptions;
using KAVO::ExportCan;
using KAVO::Record;
using KAVO::RecordEntry;
using namespace testsupport;

namespace {

constexpr double Tick = 31.25e-9;

TestMessage message(uint16_t channel, uint32_t canId, double time, uint8_t seed)
{
    TestMessage m;
    m.channel = channel;
    m.canId = canId;
    m.time = time;
    for (int i = 0; i < 8; ++i)
        m.data[i] = static_cast<uint8_t>(seed * 16 + i);
    m.auxByteA = seed;
    m.auxByteB = static_cast<uint8_t>(~seed);
    m.auxWordA = static_cast<uint16_t>(0x1000 + seed);
    m.auxWordB = static_cast<uint16_t>(0x2000 + seed);
    return m;
}

class CanExportTest : public ::testing::Test
{
protected:
    void load(const std::vector<TestFile>& files, bool bigEndian = true)
    {
        ASSERT_TRUE(loadRecording(mRecord, mDir.path(), files, bigEndian));
    }

    QByteArray exported(double start, double stop)
    {
        CsvExportOptions o;
        o.exportDir = mDir.path().toLocal8Bit();
        o.fileName = "cut.CAN";
        o.can = 1;
        o.startTime = start;
        o.stopTime = stop;
        ExportCan can;
        EXPECT_TRUE(can.exportData(mRecord, o));
        return readFile(mDir.file("cut.CAN"));
    }

    TempDir mDir;
    Record mRecord;
};

// The record as the file must hold it (big-endian), with its new stamp.
QByteArray expectedRecord(const TestMessage& m, uint32_t high, uint32_t low)
{
    QByteArray r(28, '\0');
    std::memcpy(r.data(), m.data, 8);
    r[8] = static_cast<char>(m.auxByteA);
    r[9] = static_cast<char>(m.auxByteB);
    qToBigEndian<uint16_t>(m.channel, r.data() + 10);
    qToBigEndian<uint32_t>(m.canId & 0x7FFFFFFFu, r.data() + 12);
    qToBigEndian<uint16_t>(m.auxWordA, r.data() + 16);
    qToBigEndian<uint16_t>(m.auxWordB, r.data() + 18);
    qToBigEndian<uint32_t>(high, r.data() + 20);
    qToBigEndian<uint32_t>(low, r.data() + 24);
    return r;
}

TEST_F(CanExportTest, BytesOfASmallWindow)
{
    const std::vector<TestMessage> m = {message(0, 0x100, 1.0, 1), message(1, 0x80000200u, 1.5, 2),
                                        message(2, 0x300, 1.75, 3), message(0, 0x100, 2.5, 4),
                                        message(0, 0x100, 2.5 + 4 * Tick, 5), message(1, 0x301, 3.0, 6)};
    load({{"LOG_0001.CAN", m}});
    const QByteArray source = readFile(mDir.file("LOG_0001.CAN"));
    const QByteArray file = exported(1.5, 2.5);

    QByteArray header = source.left(128);
    std::memset(header.data() + 20, 0, 8);
    QByteArray expected = header;
    // At the window start both words are 0; one second later the truncated
    // quotient gives 31999999 ticks; 0.25 s gives 7999999.
    expected += expectedRecord(m[1], 0, 0);
    expected += expectedRecord(m[2], 0, 7999999);
    expected += expectedRecord(m[3], 0, 31999999);
    EXPECT_EQ(file.size(), 128 + 3 * 28);
    EXPECT_EQ(file.toHex(), expected.toHex());
    // The recording keeps its own start time stamp.
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(mRecord.rawData().header.data()), 128), source.left(128));
}

TEST_F(CanExportTest, EmptyWindowWritesTheHeaderAlone)
{
    load({{"LOG_0001.CAN", {message(0, 0x100, 1.0, 1)}}});
    const QByteArray file = exported(5.0, 6.0);
    EXPECT_EQ(file.size(), 128);
    EXPECT_EQ(file.mid(20, 8), QByteArray(8, '\0'));
}

TEST_F(CanExportTest, HighFileWithANegativeOffsetStaysInsideTheWindow)
{
    ASSERT_TRUE(writeFile(mDir.file("Offset.xml"), "<KavoOffset><Offset value=\"-2.500000000000\"/></KavoOffset>"));
    // High file stored at 1.2, 3.4, 4.0 and 5.0 s: on the timeline -1.3, 0.9, 1.5 and 2.5 s.
    const std::vector<TestMessage> low = {message(0, 0x100, 1.0, 1), message(0, 0x100, 2.0, 2)};
    const std::vector<TestMessage> high = {message(1, 0x200, 1.2, 3), message(1, 0x200, 3.4, 4),
                                           message(1, 0x200, 4.0, 5), message(1, 0x200, 5.0, 6)};
    load({{"LOG_0001.CAN", low}, {"LOG_8001.CAN", high}});
    ASSERT_EQ(mRecord.recordData().offset, -2.5);
    const QByteArray file = exported(1.0, 2.0);

    ASSERT_EQ(file.size(), 128 + 3 * 28);
    // In time order on the timeline, no stamp wrapped below zero.
    EXPECT_EQ(file.mid(128, 28).toHex(), expectedRecord(low[0], 0, 0).toHex());
    EXPECT_EQ(file.mid(156, 28).toHex(), expectedRecord(high[2], 0, 15999999).toHex());
    EXPECT_EQ(file.mid(184, 28).toHex(), expectedRecord(low[1], 0, 31999999).toHex());
}

TEST_F(CanExportTest, ReadsBackWithTheSamePayloadsIdsAndTimes)
{
    for (const bool bigEndian : {true, false}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        std::vector<TestMessage> m;
        for (int i = 0; i < 200; ++i)
            m.push_back(message(static_cast<uint16_t>(i % 3), 0x100u + static_cast<uint32_t>(i % 7),
                                10.0 + i * 0.0137, static_cast<uint8_t>(i)));
        mRecord = Record();
        load({{"LOG_0001.CAN", m}}, bigEndian);
        const double start = 10.5;
        const double stop = 12.0;
        const QByteArray file = exported(start, stop);
        // The records follow the byte order the copied header declares.
        EXPECT_EQ(static_cast<uint8_t>(file[0]), bigEndian ? 0xAB : 0xBA);

        Record back;
        ASSERT_TRUE(back.readRecordData({mDir.file("cut.CAN")}));
        std::vector<const RecordEntry*> expected;
        for (const RecordEntry& e : mRecord.rawData().entries)
            if (start <= e.time && e.time <= stop)
                expected.push_back(&e);
        const auto& got = back.rawData().entries;
        ASSERT_EQ(got.size(), expected.size());
        ASSERT_GT(got.size(), 100u);
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(std::memcmp(got[i].data, expected[i]->data, 10), 0) << i;
            EXPECT_EQ(got[i].channel, expected[i]->channel) << i;
            EXPECT_EQ(got[i].canId, expected[i]->canId) << i;
            EXPECT_EQ(got[i].auxWordA, expected[i]->auxWordA) << i;
            EXPECT_EQ(got[i].auxWordB, expected[i]->auxWordB) << i;
            EXPECT_LE(std::fabs(got[i].time - (expected[i]->time - start)), Tick) << i;
        }
    }
}

TEST_F(CanExportTest, UnwritableFolderIsReported)
{
    load({{"LOG_0001.CAN", {message(0, 0x100, 1.0, 1)}}});
    CsvExportOptions o;
    o.exportDir = mDir.file("missing").toLocal8Bit();
    o.fileName = "cut.CAN";
    o.stopTime = 10.0;
    StdoutCapture out;
    ExportCan can;
    EXPECT_FALSE(can.exportData(mRecord, o));
    EXPECT_TRUE(out.text().contains("Could not open " + mDir.file("missing/cut.CAN")));
}

} // namespace
