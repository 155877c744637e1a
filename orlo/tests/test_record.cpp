#include "Notifier.h"
#include "Profile.h"
#include "Record.h"
#include "RecordEntry.h"
#include "RecordFileBytes.h"
#include "SampleCard.h"
#include "StdoutCapture.h"
#include "TestSupport.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <cstring>
#include <random>
#include <vector>

using KAVO::Record;
using KAVO::RecordData;
using KAVO::RecordEntry;
using testsupport::TempDir;

namespace {

// A message with its time stamp given in ticks and data bytes 1 to 8.
using Msg = testsupport::TestMessage;

Msg msg(uint16_t channel, uint32_t canId, uint32_t low, uint32_t high = 0)
{
    Msg m;
    m.channel = channel;
    m.canId = canId;
    m.time = testsupport::tickSeconds(low, high);
    for (uint8_t i = 0; i < 8; ++i)
        m.data[i] = static_cast<uint8_t>(i + 1);
    return m;
}

// The header with every identification field set.
struct Header : testsupport::TestHeader
{
    Header()
    {
        busType = 2;
        serial = 123456789;
        swPartA = "ABCDEFGHIJKLM";  // 13 bytes, no NUL
        ecuType = "ECU-7";
        engineSerial = "ES-0001";
        engineType = "OSTERVAN 915";
        swPartB = "0123456789012";
        emuVersion = "V1.2.21";
    }
};

QByteArray recordFile(const std::vector<Msg>& msgs, bool bigEndian, const Header& h = Header())
{
    return testsupport::recordFileBytes(msgs, bigEndian, h);
}

QString writeCan(const TempDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.file(name);
    EXPECT_TRUE(testsupport::writeFile(path, bytes));
    return path;
}

QString shortest(double v) { return QString::number(v, 'g', QLocale::FloatingPointShortest); }

// A date message (CAN id 1206) and a time message (1200).
Msg dateMsg(uint32_t low, int day, int month, int year)
{
    Msg m = msg(1, 1206, low);
    m.data[4] = static_cast<uint8_t>(day);
    m.data[5] = static_cast<uint8_t>(month);
    m.data[6] = static_cast<uint8_t>(year >> 8);
    m.data[7] = static_cast<uint8_t>(year);
    return m;
}

Msg timeMsg(uint32_t low, int hour, int minute, int second)
{
    Msg m = msg(1, 1200, low);
    m.data[4] = static_cast<uint8_t>(hour);
    m.data[5] = static_cast<uint8_t>(minute);
    m.data[6] = static_cast<uint8_t>(second);
    return m;
}

} // namespace

TEST(RecordEntryTest, TimeStampsAreExactToTheLastDigit)
{
    EXPECT_EQ(shortest(RecordEntry::ticksToSeconds(1, 0)), "134.217728");
    EXPECT_EQ(shortest(RecordEntry::ticksToSeconds(0, 32000000)), "1");
    EXPECT_EQ(shortest(RecordEntry::ticksToSeconds(0, 4294967295u)), "134.21772796875");

    // The same through a file, with tenths and hundredths.
    TempDir dir;
    const QString path =
        writeCan(dir, "T.CAN", recordFile({msg(0, 1, 0, 1), msg(0, 1, 32000000), msg(0, 1, 4294967295u)}, true));
    Record r;
    ASSERT_TRUE(r.readRecordData({path}));
    const auto& e = r.rawData().entries;
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(shortest(e[0].time), "1");
    EXPECT_EQ(e[0].tenths, 10);
    EXPECT_EQ(e[0].hundredths, 100);
    EXPECT_EQ(shortest(e[1].time), "134.21772796875");
    EXPECT_EQ(shortest(e[2].time), "134.217728");
    EXPECT_EQ(e[2].tenths, 1342);
    EXPECT_EQ(e[2].hundredths, 13422);
}

TEST(RecordEntryTest, LateTimeStampsKeepTenthsInRange)
{
    // Over 248 days of recorder time the tenths and hundredths no longer fit
    // 32 bits: they stay at the largest value instead of wrapping around.
    RecordEntry e;
    e.tickHigh = 0xFFFFFFFFu;
    e.tickLow = 0xFFFFFFFFu;
    e.updateTime();
    EXPECT_GT(e.time, 5.7e11);
    EXPECT_EQ(e.tenths, 2147483647);
    EXPECT_EQ(e.hundredths, 2147483647);
    e.tickHigh = 200000;  // 310 days: tenths fit, hundredths do not
    e.tickLow = 0;
    e.updateTime();
    EXPECT_EQ(e.tenths, 268435456);
    EXPECT_EQ(e.hundredths, 2147483647);
    EXPECT_EQ(KAVO::RecordLimit(1e12, "", "", "", QColor()).tenths, 2147483647);

    uint32_t high = 1, low = 1;
    RecordEntry::secondsToTicks(1e300, high, low);
    EXPECT_EQ(high, 0u);
    EXPECT_EQ(low, 0u);
    RecordEntry::secondsToTicks(134.217728 + 1.0, high, low);
    EXPECT_EQ(high, 1u);
    EXPECT_NEAR(low, 32000000.0, 1.0);
}

TEST(RecordEntryTest, RecordBytesRoundTripInBothOrders)
{
    RecordEntry e;
    for (int i = 0; i < 8; ++i)
        e.data[i] = static_cast<uint8_t>(0x10 + i);
    e.auxByteA = 9;
    e.auxByteB = 10;
    e.channel = 3;
    e.canId = 0x12345678;
    e.auxWordA = 0xBEEF;
    e.auxWordB = 0xCAFE;
    e.tickHigh = 7;
    e.tickLow = 99;
    for (bool swap : {false, true}) {
        uint8_t bytes[28];
        e.toRecord(bytes, swap);
        RecordEntry back;
        back.fromRecord(bytes, swap, true);
        EXPECT_EQ(std::memcmp(&back, &e, 28), 0);
        EXPECT_TRUE(back.highFile);
        EXPECT_EQ(back.time, RecordEntry::ticksToSeconds(7, 99));
    }
}

TEST(RecordInfoTest, HeaderFieldsInBothByteOrders)
{
    TempDir dir;
    for (bool bigEndian : {true, false}) {
        const QString path = writeCan(dir, bigEndian ? "BE.CAN" : "LE.CAN",
                                      recordFile({msg(0, 5, 32000000), msg(0, 5, 64000000)}, bigEndian));
        Record r;
        ASSERT_TRUE(r.readRecordInfo(path));
        const KAVO::RecordInfo& i = r.recordInfo();
        EXPECT_EQ(i.path, path);
        EXPECT_EQ(i.dateTime, QDateTime(QDate(2023, 7, 14), QTime(9, 41, 5), Qt::LocalTime));
        EXPECT_EQ(i.samples, 2);
        EXPECT_EQ(i.startTime, 1.0);  // the first record replaces the header's stamp
        EXPECT_EQ(i.stopTime, 2.0);
        EXPECT_EQ(i.busType, 2u);
        EXPECT_EQ(i.ecuSerialNumber, 123456789u);
        EXPECT_STREQ(i.swPartA, "ABCDEFGHIJKLM");  // 13 bytes without NUL give 13 characters
        EXPECT_STREQ(i.ecuType, "ECU-7");
        EXPECT_STREQ(i.engineSerialNumber, "ES-0001");
        EXPECT_STREQ(i.engineType, "OSTERVAN 915");
        EXPECT_STREQ(i.swPartB, "0123456789012");
        EXPECT_STREQ(i.emuSwVersion, "V1.2.21");
    }
}

TEST(RecordInfoTest, FileSizes)
{
    TempDir dir;
    // Exactly a header: no records, the header's own start stamp.
    QString path = writeCan(dir, "H.CAN", recordFile({}, true));
    {
        Record r;
        ASSERT_TRUE(r.readRecordInfo(path));
        EXPECT_EQ(r.recordInfo().samples, 0);
        EXPECT_EQ(r.recordInfo().startTime, 0.5);
        EXPECT_EQ(r.recordInfo().stopTime, 0.0);
        ASSERT_TRUE(r.readRecordData({path}));
        EXPECT_EQ(r.recordData().nrRecords, 0);
        EXPECT_TRUE(r.rawData().entries.empty());
        EXPECT_TRUE(r.recordData().channels.empty());
    }
    // 128 + 28 * 3 + k: three records whatever k is.
    for (int k : {1, 13, 27}) {
        QByteArray b = recordFile({msg(0, 1, 1000), msg(0, 2, 2000), msg(0, 3, 3000), msg(0, 4, 4000)}, true);
        b.truncate(128 + 28 * 3 + k);
        path = writeCan(dir, QString("K%1.CAN").arg(k), b);
        Record r;
        ASSERT_TRUE(r.readRecordInfo(path));
        EXPECT_EQ(r.recordInfo().samples, 3);
        EXPECT_EQ(r.recordInfo().stopTime, RecordEntry::ticksToSeconds(0, 3000));
        ASSERT_TRUE(r.readRecordData({path}));
        ASSERT_EQ(r.rawData().entries.size(), 3u);
        EXPECT_EQ(r.rawData().entries.back().canId, 3u);
    }
    // Shorter than a header: the fields present are read, the rest stay empty,
    // and there are no records.
    QByteArray b = recordFile({msg(0, 1, 1000)}, true);
    b.truncate(55);  // up to the middle of the ECU type
    path = writeCan(dir, "S.CAN", b);
    {
        Record r;
        ASSERT_TRUE(r.readRecordInfo(path));
        EXPECT_EQ(r.recordInfo().samples, 0);
        EXPECT_EQ(r.recordInfo().busType, 2u);
        EXPECT_STREQ(r.recordInfo().swPartA, "ABCDEFGHIJKLM");
        EXPECT_STREQ(r.recordInfo().ecuType, "");
        EXPECT_STREQ(r.recordInfo().emuSwVersion, "");
        ASSERT_TRUE(r.readRecordData({path}));
        EXPECT_EQ(r.recordData().nrRecords, 0);
        // The raw header holds the bytes present and zeros after them.
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(r.rawData().header.data()), 55), b);
        EXPECT_EQ(r.rawData().header[55], 0);
    }
    for (int size : {0, 1, 127}) {
        path = writeCan(dir, QString("Z%1.CAN").arg(size), recordFile({}, true).left(size));
        Record r;
        ASSERT_TRUE(r.readRecordInfo(path));
        EXPECT_EQ(r.recordInfo().samples, 0);
        ASSERT_TRUE(r.readRecordData({path}));
        EXPECT_EQ(r.recordData().nrRecords, 0);
    }
}

TEST(RecordReadTest, BothByteOrderMarksGiveTheSameEntries)
{
    TempDir dir;
    std::vector<Msg> msgs = {msg(0, 0x100, 100), msg(1, 0x300, 200, 1), msg(2, 0x1FFFFFFF, 300, 2)};
    msgs[1].data[4] = 0xFE;
    const QString be = writeCan(dir, "BE.CAN", recordFile(msgs, true));
    const QString le = writeCan(dir, "LE.CAN", recordFile(msgs, false));
    Record a, b;
    ASSERT_TRUE(a.readRecordData({be}));
    ASSERT_TRUE(b.readRecordData({le}));
    ASSERT_EQ(a.rawData().entries.size(), 3u);
    ASSERT_EQ(b.rawData().entries.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const RecordEntry& x = a.rawData().entries[i];
        const RecordEntry& y = b.rawData().entries[i];
        EXPECT_EQ(std::memcmp(&x, &y, 28), 0) << i;
        EXPECT_EQ(x.time, y.time);
        EXPECT_EQ(x.channel, msgs[i].channel);
        EXPECT_EQ(x.canId, msgs[i].canId);
        EXPECT_EQ(x.auxWordA, 0x1122);
        EXPECT_EQ(x.auxWordB, 0x3344);
        EXPECT_EQ(x.auxByteA, 0xA1);
        EXPECT_EQ(x.auxByteB, 0xB2);
        EXPECT_EQ(std::memcmp(x.data, msgs[i].data, 8), 0);  // payload never reordered
    }
    // A mark that is neither order is read as big-endian on this host.
    QByteArray odd = recordFile(msgs, true);
    odd[0] = 0x12;
    odd[1] = 0x34;
    Record c;
    ASSERT_TRUE(c.readRecordData({writeCan(dir, "ODD.CAN", odd)}));
    ASSERT_EQ(c.rawData().entries.size(), 3u);
    EXPECT_EQ(c.rawData().entries[1].canId, 0x300u);
}

TEST(RecordReadTest, Bit31OfTheIdIsCleared)
{
    TempDir dir;
    const QString path = writeCan(dir, "B.CAN", recordFile({msg(0, 1200u | 0x80000000u, 10)}, false));
    Record r;
    ASSERT_TRUE(r.readRecordData({path}));
    EXPECT_EQ(r.rawData().entries[0].canId, 1200u);
    EXPECT_EQ(r.recordData().idList(0, 1200).size(), 1u);
}

TEST(RecordReadTest, HighFileNames)
{
    EXPECT_TRUE(Record::isHighFile("/card/LOG_8000.CAN"));
    EXPECT_TRUE(Record::isHighFile("/card/LOG_FFFF.CAN"));
    EXPECT_TRUE(Record::isHighFile("LOG_abcd.can"));
    EXPECT_FALSE(Record::isHighFile("/card/LOG_7FFF.CAN"));
    EXPECT_FALSE(Record::isHighFile("/card/LOG_ZZZZ.CAN"));
    EXPECT_FALSE(Record::isHighFile("/card/LOG_8ZZZ.CAN"));
    EXPECT_FALSE(Record::isHighFile("/card/LOG"));
    EXPECT_FALSE(Record::isHighFile("/card/LOG_"));
    EXPECT_FALSE(Record::isHighFile("/card/LOG_8"));
    EXPECT_FALSE(Record::isHighFile("/LOG_9000/LOG_0001.CAN"));  // only the file name counts
    EXPECT_FALSE(Record::isHighFile(""));
}

TEST(RecordReadTest, EqualTimesKeepTheOrderOfTheSelection)
{
    TempDir dir;
    std::vector<Msg> a, b;
    for (uint32_t i = 0; i < 4; ++i) {
        a.push_back(msg(0, 100 + i, 1000 * i));
        b.push_back(msg(0, 200 + i, 1000 * i));
    }
    const QString pa = writeCan(dir, "A.CAN", recordFile(a, true));
    const QString pb = writeCan(dir, "B.CAN", recordFile(b, true));
    for (bool aFirst : {true, false}) {
        Record r;
        ASSERT_TRUE(r.readRecordData(aFirst ? QStringList{pa, pb} : QStringList{pb, pa}));
        const auto& e = r.rawData().entries;
        ASSERT_EQ(e.size(), 8u);
        for (uint32_t i = 0; i < 4; ++i) {
            EXPECT_EQ(e[2 * i].canId, (aFirst ? 100u : 200u) + i);
            EXPECT_EQ(e[2 * i + 1].canId, (aFirst ? 200u : 100u) + i);
        }
    }
}

TEST(RecordReadTest, SortIsStableOverFewAndManyRuns)
{
    // Files with many equal times, files that overlap in time, and (in the
    // second round) a file in no order at all: the result must equal a
    // stable sort of the reading order.
    for (bool disorder : {false, true}) {
        TempDir dir;
        std::mt19937 rng(7);
        QStringList paths;
        std::vector<std::pair<double, uint32_t>> reference;
        uint32_t serial = 0;
        for (int f = 0; f < 5; ++f) {
            std::vector<Msg> msgs;
            const int n = 50 + f * 97;
            uint32_t t = rng() % 50;
            for (int i = 0; i < n; ++i) {
                if (disorder && f == 3)
                    t = rng() % 400;
                else
                    t += rng() % 3;
                msgs.push_back(msg(static_cast<uint16_t>(rng() % 3), serial, t * 1000));
                reference.push_back({RecordEntry::ticksToSeconds(0, t * 1000), serial});
                ++serial;
            }
            paths << writeCan(dir, QString("F%1.CAN").arg(f), recordFile(msgs, f % 2 == 0));
        }
        std::stable_sort(reference.begin(), reference.end(),
                         [](const auto& x, const auto& y) { return x.first < y.first; });
        Record r;
        ASSERT_TRUE(r.readRecordData(paths));
        const auto& e = r.rawData().entries;
        ASSERT_EQ(e.size(), reference.size());
        for (std::size_t i = 0; i < e.size(); ++i) {
            ASSERT_EQ(e[i].canId, reference[i].second) << i << (disorder ? " disorder" : "");
            ASSERT_EQ(e[i].time, reference[i].first) << i;
            ASSERT_FALSE(e[i].highFile);
        }
        EXPECT_EQ(r.recordData().nrRecords, static_cast<int32_t>(reference.size()));
    }
}

TEST(RecordReadTest, ListsByChannelAndIdAndPseudoIds)
{
    TempDir dir;
    std::vector<Msg> msgs = {msg(0, 0x100, 10), msg(1, 0x300, 20), msg(0, 0x100, 30), msg(2, 0x100, 40)};
    const QString path = writeCan(dir, "L.CAN", recordFile(msgs, false));
    Record r;
    ASSERT_TRUE(r.readRecordData({path}));
    const RecordData& d = r.recordData();
    EXPECT_EQ(d.idList(0, 0x100).size(), 2u);
    EXPECT_EQ(d.idList(1, 0x300).size(), 1u);
    EXPECT_EQ(d.idList(2, 0x100).size(), 1u);
    EXPECT_TRUE(d.idList(3, 0x100).empty());
    EXPECT_TRUE(d.idList(0, 0x999).empty());

    const auto& p0 = d.idList(0, RecordData::PseudoIdChannel0).entries;
    const auto& p1 = d.idList(1, RecordData::PseudoIdChannel1).entries;
    ASSERT_EQ(p0.size(), 2u);
    ASSERT_EQ(p1.size(), 1u);
    EXPECT_TRUE(d.idList(2, RecordData::PseudoIdChannel0).empty());
    // The copies hold channel, id and auxiliary words big-endian at their
    // record positions; time and payload as the original.
    const uint8_t* b = reinterpret_cast<const uint8_t*>(&p1[0]);
    EXPECT_EQ(qFromBigEndian<uint16_t>(b + 10), 1u);
    EXPECT_EQ(qFromBigEndian<uint32_t>(b + 12), 0x300u);
    EXPECT_EQ(qFromBigEndian<uint16_t>(b + 16), 0x1122u);
    EXPECT_EQ(qFromBigEndian<uint16_t>(b + 18), 0x3344u);
    EXPECT_EQ(p1[0].time, d.idList(1, 0x300).entries[0].time);
    EXPECT_EQ(std::memcmp(p1[0].data, msgs[1].data, 8), 0);
    EXPECT_EQ(qFromBigEndian<uint32_t>(reinterpret_cast<const uint8_t*>(&p0[1]) + 12), 0x100u);

    // Lookups through the maps may add empty lists; they stay empty.
    Record r2;
    EXPECT_TRUE(r2.recordData().channels.empty());
    EXPECT_TRUE(r2.recordData().idList(0, 1).empty());
    EXPECT_TRUE(r2.recordData().channels.empty());
}

TEST(RecordReadTest, OnlyChannelTwoGivesNoPseudoIdLists)
{
    TempDir dir;
    const QString path = writeCan(dir, "C2.CAN", recordFile({msg(2, 5, 10), msg(2, 6, 20)}, true));
    Record r;
    ASSERT_TRUE(r.readRecordData({path}));
    const auto& ch = r.recordData().channels;
    ASSERT_EQ(ch.size(), 1u);
    EXPECT_EQ(ch.begin()->first, 2u);
    EXPECT_EQ(ch.begin()->second.size(), 2u);
    EXPECT_EQ(ch.count(0), 0u);
    EXPECT_EQ(ch.count(1), 0u);
}

TEST(RecordReadTest, CalendarTimeFromDateAndTimeMessages)
{
    TempDir dir;
    // Date without time: utcStart stays.
    {
        const QString path = writeCan(dir, "D.CAN", recordFile({dateMsg(10, 14, 5, 2024), msg(0, 1, 20)}, true));
        Record r;
        r.recordInfo().utcStart = 777;
        ASSERT_TRUE(r.readRecordData({path}));
        EXPECT_EQ(r.recordInfo().utcStart, 777);
    }
    // Both: the first pair of the file decides; later messages change nothing.
    {
        const QString path = writeCan(dir, "DT.CAN",
                                      recordFile({timeMsg(5, 8, 0, 0), dateMsg(10, 13, 5, 2024),
                                                  timeMsg(15, 8, 30, 0), dateMsg(20, 1, 1, 2030)},
                                                 true));
        Record r;
        ASSERT_TRUE(r.readRecordData({path}));
        // TZ=UTC: 13.05.2024 08:00:00 (the time seen before the date counts).
        EXPECT_EQ(r.recordInfo().utcStart, QDateTime(QDate(2024, 5, 13), QTime(8, 0, 0), Qt::UTC).toSecsSinceEpoch());
    }
    // Each file sets it anew: the last file with both messages decides; a
    // garbled date does not count.
    {
        const QString p1 = writeCan(dir, "F1.CAN", recordFile({dateMsg(1, 2, 3, 2021), timeMsg(2, 4, 5, 6)}, true));
        const QString p2 = writeCan(dir, "F2.CAN", recordFile({dateMsg(1, 31, 2, 2021), timeMsg(2, 4, 5, 6)}, true));
        const QString p3 = writeCan(dir, "F3.CAN", recordFile({dateMsg(1, 9, 9, 2022), timeMsg(2, 1, 2, 3)}, true));
        Record r;
        ASSERT_TRUE(r.readRecordData({p1, p2}));
        EXPECT_EQ(r.recordInfo().utcStart, QDateTime(QDate(2021, 3, 2), QTime(4, 5, 6), Qt::UTC).toSecsSinceEpoch());
        ASSERT_TRUE(r.readRecordData({p1, p3}));
        EXPECT_EQ(r.recordInfo().utcStart, QDateTime(QDate(2022, 9, 9), QTime(1, 2, 3), Qt::UTC).toSecsSinceEpoch());
    }
}

TEST(RecordReadTest, RecordingFieldsOverSeveralFiles)
{
    TempDir dir;
    Header h1;
    h1.busType = 11;
    Header h2;
    h2.busType = 22;
    const QString empty = writeCan(dir, "LOG_0000.CAN", recordFile({}, true, Header()));
    const QString low = writeCan(dir, "LOG_0001.CAN", recordFile({msg(0, 7, 5000), msg(0, 8, 9000)}, true, h1));
    const QString high = writeCan(dir, "LOG_8001.CAN", recordFile({msg(0, 7, 1000), msg(3, 9, 2000)}, false, h2));
    Record r;
    r.recordData().limits.push_back(KAVO::RecordLimit(1.0, "n", "v", "t", QColor(Qt::red)));
    ASSERT_TRUE(r.readRecordData({empty, low, high}));
    const RecordData& d = r.recordData();
    EXPECT_EQ(d.nrRecords, 4);
    EXPECT_EQ(r.recordInfo().samples, 2);   // of the last file
    EXPECT_EQ(r.recordInfo().busType, 22u);  // header fields of the last file
    EXPECT_EQ(r.recordInfo().startTime, RecordEntry::ticksToSeconds(0, 1000));
    EXPECT_EQ(r.recordInfo().stopTime, RecordEntry::ticksToSeconds(0, 9000));
    EXPECT_EQ(d.limits.size(), 1u);  // the event lists are kept
    // The raw header is the first file's that has records.
    EXPECT_EQ(qFromBigEndian<uint32_t>(r.rawData().header.data() + 28), 11u);

    // High-file flags: the entries by their file, the lists by the file that added last.
    EXPECT_TRUE(d.idList(0, 7).highFile);
    EXPECT_FALSE(d.idList(0, 8).highFile);
    EXPECT_TRUE(d.idList(0, RecordData::PseudoIdChannel0).highFile);
    const auto& e = r.rawData().entries;
    ASSERT_EQ(e.size(), 4u);
    EXPECT_TRUE(e[0].highFile);
    EXPECT_EQ(e[0].canId, 7u);
    EXPECT_FALSE(e[2].highFile);
    EXPECT_EQ(d.idList(0, 7).entries[0].time, RecordEntry::ticksToSeconds(0, 5000));  // reading order

    // A second read replaces the messages.
    ASSERT_TRUE(r.readRecordData({low}));
    EXPECT_EQ(r.recordData().nrRecords, 2);
    EXPECT_EQ(r.rawData().entries.size(), 2u);
    EXPECT_TRUE(r.recordData().idList(3, 9).empty());
    EXPECT_FALSE(r.recordData().idList(0, 7).highFile);
}

TEST(RecordReadTest, AnUnreadableFileIsSkippedAndTheOthersLoad)
{
    TempDir dir;
    const QString a = writeCan(dir, "A.CAN", recordFile({msg(0, 1, 3000), msg(0, 2, 4000)}, true));
    const QString b = writeCan(dir, "B.CAN", recordFile({msg(0, 3, 1000)}, true));
    const QString c = writeCan(dir, "C.CAN", recordFile({msg(0, 4, 500)}, true));
    ASSERT_TRUE(QDir(dir.path()).mkdir("DIR.CAN"));
    std::vector<KAVO::Notifier::Report> reports;
    KAVO::Notifier::setReportHandler([&](const KAVO::Notifier::Report& r) { reports.push_back(r); });
    Record r;
    testsupport::StdoutCapture out;
    EXPECT_FALSE(r.readRecordData({a, b, dir.file("MISSING.CAN"), dir.file("DIR.CAN"), c}));
    KAVO::Notifier::setReportHandler(nullptr);
    const QString text = out.text();
    EXPECT_TRUE(text.contains("Could not open " + dir.file("MISSING.CAN") + "\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("Could not open " + dir.file("DIR.CAN") + "\n")) << text.toStdString();
    const auto& e = r.rawData().entries;
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].canId, 4u);
    EXPECT_EQ(e[1].canId, 3u);
    EXPECT_EQ(r.recordData().nrRecords, 4);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].problem, KAVO::Notifier::Problem::FileNotOpened);
    EXPECT_EQ(reports[0].path, dir.file("MISSING.CAN"));
    EXPECT_FALSE(reports[0].detail.isEmpty());
    EXPECT_EQ(reports[1].problem, KAVO::Notifier::Problem::FileNotRegular);
    EXPECT_EQ(reports[1].path, dir.file("DIR.CAN"));

    Record info;
    EXPECT_FALSE(info.readRecordInfo(dir.file("MISSING.CAN")));
    EXPECT_EQ(info.recordInfo().path, dir.file("MISSING.CAN"));
    EXPECT_FALSE(info.readRecordInfo(dir.file("DIR.CAN")));
}

TEST(RecordReadTest, DiagnosticsOfAFileInReadingOrder)
{
    TempDir dir;
    const QString path = writeCan(dir, "A.CAN", recordFile({dateMsg(32000000, 2, 3, 2021), timeMsg(64000000, 4, 5, 6)}, true));
    Record r;
    testsupport::StdoutCapture out;
    ASSERT_TRUE(r.readRecordData({path}));
    const QString text = out.text();
    const QStringList lines = {"Record::readData size 56 records 2 mRecordData.nrRecords 0 buf ",
                               "First Time 0 1.000000\n",
                               "### Time <02.03.2021 04:05:06> year 2021 month 3 day 2\n",
                               "Start Time 1.000000 Stop Time 2.000000\n",
                               "<" + path + "> mRecordInfo.startTime 1 mRecordInfo.stopTime 2\n"};
    int at = 0;
    for (const QString& line : lines) {
        const int found = text.indexOf(line, at);
        EXPECT_GE(found, at) << line.toStdString() << " in\n" << text.toStdString();
        at = std::max(at, found);
    }
}

TEST(RecordReadTest, ProgressRunsPerFileBelowHundred)
{
    TempDir dir;
    std::vector<Msg> msgs;
    for (uint32_t i = 0; i < 300; ++i)
        msgs.push_back(msg(0, 1, i));
    const QString a = writeCan(dir, "A.CAN", recordFile(msgs, true));
    const QString b = writeCan(dir, "B.CAN", recordFile(msgs, true));
    std::vector<int> seen;
    KAVO::Notifier::setProgressHandler([&](int p) { seen.push_back(p); });
    Record r;
    ASSERT_TRUE(r.readRecordData({a, b}));
    KAVO::Notifier::setProgressHandler(nullptr);
    // Each file reports 1 .. 99 once each; the second starts again.
    ASSERT_EQ(seen.size(), 2u * 99u);
    for (int i = 0; i < 99; ++i) {
        EXPECT_EQ(seen[static_cast<std::size_t>(i)], i + 1);
        EXPECT_EQ(seen[static_cast<std::size_t>(99 + i)], i + 1);
    }
    // Without a handler nothing breaks.
    ASSERT_TRUE(r.readRecordData({a}));
}

TEST(RecordOffsetTest, OffsetFileIsReadPerFolder)
{
    TempDir dir;
    QDir(dir.path()).mkpath("one");
    QDir(dir.path()).mkpath("two");
    QDir(dir.path()).mkpath("broken");
    const QString one = writeCan(dir, "one/LOG_8000.CAN", recordFile({msg(0, 1, 100)}, true));
    const QString two = writeCan(dir, "two/LOG_8000.CAN", recordFile({msg(0, 1, 100)}, true));
    const QString broken = writeCan(dir, "broken/LOG_8000.CAN", recordFile({msg(0, 1, 100)}, true));
    // Two "Offset" elements: the last one counts; the root's name does not matter.
    testsupport::writeFile(dir.file("one/Offset.xml"),
                           "<Anything><Offset value=\"1.5\"/><Other value=\"9\"/><Offset value=\"-42.25\"/></Anything>");
    testsupport::writeFile(dir.file("broken/Offset.xml"), "<KavoOffset><Offset value=\"3\"");

    Record r;
    ASSERT_TRUE(r.readRecordData({one}));
    EXPECT_EQ(r.recordData().offset, -42.25);
    EXPECT_EQ(r.recordDirectory(), dir.file("one"));
    EXPECT_DOUBLE_EQ(r.recordData().timeOf(r.rawData().entries[0]), r.rawData().entries[0].time - 42.25);
    // A folder without offset file has offset 0, not the previous folder's.
    ASSERT_TRUE(r.readRecordData({two}));
    EXPECT_EQ(r.recordData().offset, 0.0);
    ASSERT_TRUE(r.readRecordData({one}));
    ASSERT_TRUE(r.readRecordData({broken}));
    EXPECT_EQ(r.recordData().offset, 0.0);

    // Missing or empty value attribute reads as 0; a non-number too.
    testsupport::writeFile(dir.file("two/Offset.xml"), "<KavoOffset><Offset value=\"7\"/><Offset/></KavoOffset>");
    ASSERT_TRUE(r.readRecordData({two}));
    EXPECT_EQ(r.recordData().offset, 0.0);
    testsupport::writeFile(dir.file("two/Offset.xml"), "<KavoOffset><Offset value=\"nan\"/></KavoOffset>");
    ASSERT_TRUE(r.readRecordData({two}));
    EXPECT_EQ(r.recordData().offset, 0.0);
}

TEST(RecordOffsetTest, SetOffsetWritesTheFile)
{
    TempDir dir;
    const QString path = writeCan(dir, "LOG_8000.CAN", recordFile({msg(0, 1, 100)}, true));
    Record r;
    ASSERT_TRUE(r.readRecordData({path}));
    ASSERT_TRUE(r.setOffset(12.5));
    EXPECT_EQ(r.recordData().offset, 12.5);
    const QByteArray text = testsupport::readFile(dir.file("Offset.xml"));
    EXPECT_EQ(text, "<KavoOffset>\n    <Offset value=\"12.500000000000\"/>\n</KavoOffset>\n");

    Record again;
    ASSERT_TRUE(again.readRecordData({path}));
    EXPECT_EQ(again.recordData().offset, 12.5);

    // Without a record folder nothing is written and the failure is told.
    Record fresh;
    EXPECT_FALSE(fresh.setOffset(1.0));
    // A folder that cannot be written to reports the failure.
    Record gone;
    gone.setRecordDirectory(dir.file("no/such/folder"));
    EXPECT_FALSE(gone.saveOffset());
    EXPECT_EQ(Record::directoryOf("LOG_0001.CAN"), ".");
    EXPECT_EQ(Record::directoryOf("/LOG_0001.CAN"), "/");
    EXPECT_EQ(Record::directoryOf("/a/b/LOG_0001.CAN"), "/a/b");
}

TEST(SampleCardTest, TheSampleCardLoadsInBothByteOrders)
{
    TempDir dir;
    KAVO::SampleCard::Options o;
    o.messages = 30001;
    o.files = 3;
    o.folder = dir.file("be");
    KAVO::SampleCard be(o);
    ASSERT_TRUE(be.write());
    o.folder = dir.file("le");
    o.littleEndian = true;
    KAVO::SampleCard le(o);
    ASSERT_TRUE(le.write());
    ASSERT_EQ(be.files().size(), 3);
    EXPECT_TRUE(be.files().last().endsWith("/LOG_8001.CAN"));
    EXPECT_GT(be.offset(), 0.0);

    const QByteArray rawBe = testsupport::readFile(be.files()[0]);
    EXPECT_EQ(static_cast<uint8_t>(rawBe[0]), 0xAB);
    EXPECT_EQ(static_cast<uint8_t>(rawBe[1]), 0xBA);
    EXPECT_EQ(rawBe.size(), 128 + 28 * 10001);

    Record a, b;
    ASSERT_TRUE(a.readRecordData(be.files()));
    ASSERT_TRUE(b.readRecordData(le.files()));
    EXPECT_EQ(a.recordData().nrRecords, 30001);
    ASSERT_EQ(a.rawData().entries.size(), b.rawData().entries.size());
    for (std::size_t i = 0; i < a.rawData().entries.size(); ++i)
        ASSERT_EQ(std::memcmp(&a.rawData().entries[i], &b.rawData().entries[i], 28), 0) << i;
    EXPECT_DOUBLE_EQ(a.recordData().offset, be.offset());
    EXPECT_NE(a.recordInfo().utcStart, 0);
    const auto& e = a.rawData().entries;
    EXPECT_TRUE(std::is_sorted(e.begin(), e.end(), [](const RecordEntry& x, const RecordEntry& y) {
        return x.time < y.time;
    }));

    // On the common timeline the high file goes on where the file before it stopped.
    Record low, high;
    ASSERT_TRUE(low.readRecordData({be.files()[1]}));
    ASSERT_TRUE(high.readRecordData({be.files()[2]}));
    EXPECT_FALSE(low.rawData().entries.back().highFile);
    EXPECT_TRUE(high.rawData().entries.front().highFile);
    const double gap = high.recordData().timeOf(high.rawData().entries.front()) -
                       low.recordData().timeOf(low.rawData().entries.back());
    EXPECT_GT(gap, 0.0);
    EXPECT_LT(gap, 0.11);
    // The card list's identification of a file.
    Record info;
    ASSERT_TRUE(info.readRecordInfo(be.files()[0]));
    EXPECT_EQ(info.recordInfo().samples, 10001);
    EXPECT_LT(info.recordInfo().startTime, info.recordInfo().stopTime);
    EXPECT_STREQ(info.recordInfo().engineType, "OSTERVAN 915");
    EXPECT_EQ(info.recordInfo().dateTime.date(), QDate(2024, 5, 14));
}

TEST(SampleCardTest, EveryParameterOfTheDefaultProfileDecodesPlausibly)
{
    KAVO::Profile* profile = KAVO::Profile::instance();
    ASSERT_TRUE(profile->loadProfile(testsupport::bundleResources() + "/Ostervan_Profile.xml"));

    TempDir dir;
    KAVO::SampleCard::Options o;
    o.messages = 60000;
    o.folder = dir.file("card");
    KAVO::SampleCard card(o);
    ASSERT_TRUE(card.write());
    Record r;
    ASSERT_TRUE(r.readRecordData(card.files()));

    // Plausible ranges of the decoded (scaled) values, by full name.
    const std::map<QString, std::pair<double, double>> ranges = {
        {"Engine/Engine speed", {0, 5900}},
        {"Engine/EGT cylinder 1", {450, 900}},
        {"Engine/EGT cylinder 2", {440, 895}},
        {"Engine/Coolant temperature", {55, 125}},
        {"Engine/Oil pressure", {0.5, 4.0}},
        {"Engine/Oil temperature", {55, 140}},
        {"Engine/Intake air temperature", {0, 40}},
        {"Engine/Ambient temperature", {-5, 20}},
        {"Engine/Ignition advance", {10, 30}},
        {"Engine/Throttle position", {0, 100}},
        {"Engine/Knock retard cylinder 1", {0, 5}},
        {"Engine/Knock retard cylinder 2", {0, 5}},
        {"Engine/Knock retard cylinder 3", {0, 5}},
        {"Engine/Knock retard cylinder 4", {0, 5}},
        {"Engine/Lambda trim bank 1", {-4, 4}},
        {"Engine/Lambda trim bank 2", {-4, 4}},
        {"Engine/Engine hours", {99.9, 102}},
        {"Engine/Revolution counter", {2e9, 2.1e9}},
        {"Fuel system/Fuel flow", {4, 31}},
        {"Fuel system/Fuel pressure", {2.5, 3.1}},
        {"Fuel system/Injector duty cylinder 1", {30, 99}},
        {"Fuel system/Injector duty cylinder 2", {30, 99}},
        {"Fuel system/Injector duty cylinder 3", {30, 99}},
        {"Fuel system/Injector duty cylinder 4", {30, 99}},
        {"Fuel system/Fuel level", {7, 61}},
        {"GPS/Latitude", {46.8, 47.7}},
        {"GPS/Longitude", {11.3, 12.5}},
        {"GPS/Altitude", {590, 2410}},
        {"GPS/NMEA latitude", {46.8, 47.7}},
        {"GPS/NMEA longitude", {11.3, 12.5}},
        {"GPS/Ground speed", {0, 110}},
        {"GPS/Satellites in use", {3, 12}},
        {"GPS/Fix quality", {0, 1}},
        {"GPS/Day", {14, 16}},
        {"GPS/Month", {5, 5}},
        {"GPS/Year", {2024, 2024}},
        {"GPS/Hour", {0, 23}},
        {"GPS/Minute", {0, 59}},
        {"GPS/Second", {0, 59}},
        {"Airframe/Vibration X", {0, 70}},
        {"Airframe/Vibration Y", {0, 70}},
        {"Airframe/Vibration Z", {0, 70}},
        {"Bus monitor/Bus 0 node id", {16, 16}},
        {"Bus monitor/Bus 0 CAN id", {0x100, 0x7EC}},
        {"Bus monitor/Bus 1 CAN id", {0x300, 1206}},
    };
    // Threshold colours that the card must show (warning yellow, limit red).
    const QColor yellow("#ffff00"), red("#ff0000");
    const std::map<QString, std::set<QRgb>> mustShow = {
        {"Engine/Engine speed", {yellow.rgb(), red.rgb()}},
        {"Engine/EGT cylinder 1", {yellow.rgb(), red.rgb()}},
        {"Engine/Coolant temperature", {yellow.rgb(), red.rgb()}},
        {"Engine/Oil pressure", {red.rgb()}},
        {"Engine/Oil temperature", {yellow.rgb()}},
        {"Fuel system/Fuel pressure", {yellow.rgb()}},
        {"Fuel system/Injector duty cylinder 1", {yellow.rgb(), red.rgb()}},
        {"Fuel system/Fuel level", {yellow.rgb(), red.rgb()}},
        {"Airframe/Vibration X", {yellow.rgb(), red.rgb()}},
    };

    int parameters = 0, ranged = 0, bitFields = 0, undecoded = 0;
    std::set<QString> lampStates;
    for (const auto& device : profile->data().mDevices) {
        for (const auto& item : device.second.mParameters) {
            const KAVO::ProfileParameter& p = item.second;
            ++parameters;
            const auto& list = r.recordData().idList(static_cast<uint32_t>(p.mChannel), static_cast<uint32_t>(p.mCanId));
            ASSERT_FALSE(list.empty()) << p.mFullName.toStdString();
            double lo = 1e300, hi = -1e300;
            std::set<QRgb> colours;
            std::set<int> states;
            for (const RecordEntry& e : list.entries) {
                const double v = profile->getDouble(e, p, true);
                ASSERT_TRUE(std::isfinite(v)) << p.mFullName.toStdString();
                lo = std::min(lo, v);
                hi = std::max(hi, v);
                QColor c;
                const QString text = profile->getDataString(e, p, c);
                colours.insert(c.rgb());
                states.insert(profile->getState(e, p));
                if (p.mDataType == KAVO::Profile::TYPE_BLONG || p.mDataType == KAVO::Profile::TYPE_BSHORT) {
                    ASSERT_FALSE(text.contains("Invalid")) << p.mFullName.toStdString() << " " << text.toStdString();
                    if (p.mFullName == "ECU/Engine check lamp")
                        lampStates.insert(text);
                } else if (ranges.count(p.mFullName) == 0) {
                    ASSERT_EQ(text, QString("Datatype %1 not implemented").arg(e.data[1]))
                        << p.mFullName.toStdString();
                }
            }
            if (p.mDataType == KAVO::Profile::TYPE_BLONG || p.mDataType == KAVO::Profile::TYPE_BSHORT) {
                ++bitFields;
                EXPECT_GE(lo, 0) << p.mFullName.toStdString();
                EXPECT_LE(hi, p.mFullName == "ECU/Sensor fault count" ? 10 : 5) << p.mFullName.toStdString();
                continue;
            }
            const auto range = ranges.find(p.mFullName);
            if (range == ranges.end()) {
                ++undecoded;
                continue;
            }
            ++ranged;
            EXPECT_GE(lo, range->second.first) << p.mFullName.toStdString();
            EXPECT_LE(hi, range->second.second) << p.mFullName.toStdString();
            const auto wanted = mustShow.find(p.mFullName);
            if (wanted != mustShow.end()) {
                for (QRgb c : wanted->second)
                    EXPECT_TRUE(colours.count(c)) << p.mFullName.toStdString() << " misses colour " << std::hex << c;
                // The float values also reach those states through getState.
                if (p.mDataType == KAVO::Profile::TYPE_FLOAT) {
                    EXPECT_TRUE(states.count(2)) << p.mFullName.toStdString();
                }
            }
        }
    }
    EXPECT_EQ(ranged, static_cast<int>(ranges.size()));
    EXPECT_EQ(undecoded, 13);  // the diagnostics messages
    EXPECT_GE(bitFields, 20);
    EXPECT_EQ(parameters, ranged + bitFields + undecoded);
    EXPECT_TRUE(lampStates.count("0: Off"));
    EXPECT_TRUE(lampStates.count("2: Flashing"));
}

TEST(RecordOffsetTest, LowAndHighFilesTogetherKeepOneTimeline)
{
    TempDir dir;
    const uint32_t second = 32000000;
    const QString low = writeCan(dir, "LOG_0001.CAN", recordFile({msg(0, 1, second), msg(0, 1, 2 * second)}, true));
    const QString high = writeCan(dir, "LOG_8001.CAN", recordFile({msg(0, 1, second + second / 2)}, true));
    testsupport::writeFile(dir.file("Offset.xml"), "<KavoOffset><Offset value=\"10\"/></KavoOffset>");

    Record r;
    ASSERT_TRUE(r.readRecordData({low, high}));
    const RecordData& data = r.recordData();
    const KAVO::RecordIdList& list = data.idList(0, 1);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_TRUE(list.highFile); // the last file that added to it was high...
    // ...but each message keeps the time of its own file.
    EXPECT_DOUBLE_EQ(data.timeOf(list, list.entries[0]), 1.0);
    EXPECT_DOUBLE_EQ(data.timeOf(list, list.entries[1]), 2.0);
    EXPECT_DOUBLE_EQ(data.timeOf(list, list.entries[2]), 11.5);
    // The recording spans the common timeline.
    EXPECT_DOUBLE_EQ(r.recordInfo().startTime, 1.0);
    EXPECT_DOUBLE_EQ(r.recordInfo().stopTime, 11.5);

    // A new offset moves the span with it.
    ASSERT_TRUE(r.setOffset(-1.0));
    EXPECT_DOUBLE_EQ(r.recordInfo().startTime, 0.5);
    EXPECT_DOUBLE_EQ(r.recordInfo().stopTime, 2.0);
}

TEST(RecordOffsetTest, HeaderSpanOfAHighFileIsOnTheCommonTimeline)
{
    TempDir dir;
    const uint32_t second = 32000000;
    const std::vector<Msg> msgs = {msg(0, 1, second), msg(0, 1, 3 * second)};
    const QString low = writeCan(dir, "LOG_0001.CAN", recordFile(msgs, true));
    const QString high = writeCan(dir, "LOG_8001.CAN", recordFile(msgs, true));
    testsupport::writeFile(dir.file("Offset.xml"), "<KavoOffset><Offset value=\"100.5\"/></KavoOffset>");

    Record lowInfo;
    ASSERT_TRUE(lowInfo.readRecordInfo(low));
    EXPECT_DOUBLE_EQ(lowInfo.recordInfo().startTime, 1.0);
    EXPECT_DOUBLE_EQ(lowInfo.recordInfo().stopTime, 3.0);
    Record highInfo;
    ASSERT_TRUE(highInfo.readRecordInfo(high));
    EXPECT_DOUBLE_EQ(highInfo.recordInfo().startTime, 101.5);
    EXPECT_DOUBLE_EQ(highInfo.recordInfo().stopTime, 103.5);

    // The same span as the loaded recording gives.
    Record loaded;
    ASSERT_TRUE(loaded.readRecordData({high}));
    EXPECT_DOUBLE_EQ(loaded.recordInfo().startTime, highInfo.recordInfo().startTime);
    EXPECT_DOUBLE_EQ(loaded.recordInfo().stopTime, highInfo.recordInfo().stopTime);
}
