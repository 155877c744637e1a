// The recording's one message list and its views: a load on worker threads
// gives the recording that one thread gives, and both match what a plain
// stable sort of the files' messages gives; the views read back their lists
// in reading order and, on the timeline, in time order for every selection
// order and offset; a file cut while it is mapped is given up without
// ending the program; copies and moves keep their views; the calendar of
// the date and time messages lies on the same timeline for every selection.
#include "LoaderSources.h"
#include "MappedFile.h"
#include "Notifier.h"
#include "Record.h"
#include "RecordLoader.h"
#include "StdoutCapture.h"
#include "TestRecords.h"
#include "TestSupport.h"

#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <thread>
#include <vector>

using KAVO::Record;
using KAVO::RecordData;
using KAVO::RecordEntry;
using KAVO::RecordIdList;
using testsupport::TempDir;
using testsupport::TestMessage;

namespace {

constexpr uint32_t Pseudo0 = RecordData::PseudoIdChannel0;

// Files that take every path of the reader: overlapping times with ties
// across files, both byte orders, a file out of time order, a high file,
// channels 0 to 2 and a message whose own id is the pseudo id.
struct Card
{
    std::vector<std::pair<QString, std::vector<TestMessage>>> files;
    std::vector<bool> bigEndian;
};

Card makeCard()
{
    std::mt19937 rng(11);
    Card card;
    auto message = [&](double t) {
        TestMessage m = testsupport::floatMessage(static_cast<uint16_t>(rng() % 3), 0x100 + rng() % 7, t,
                                                  static_cast<float>(rng() % 1000));
        if (rng() % 50 == 0) {
            m.channel = 0;
            m.canId = Pseudo0;
        }
        return m;
    };
    const char* names[] = {"LOG_0001.CAN", "LOG_0002.CAN", "LOG_0003.CAN", "LOG_8001.CAN"};
    for (int f = 0; f < 4; ++f) {
        std::vector<TestMessage> messages;
        double t = 1.0 + 0.25 * (f % 2);
        for (int i = 0; i < 2500; ++i) {
            if (f == 2)
                t = 1.0 + (rng() % 4000) * 0.001;  // out of time order
            else
                t += (rng() % 4) * 0.0005;        // equal times now and then
            messages.push_back(message(t));
        }
        card.files.emplace_back(names[f], messages);
        card.bigEndian.push_back(f != 1);
    }
    return card;
}

QStringList writeCard(const TempDir& dir, const Card& card, double offset)
{
    QStringList paths;
    for (std::size_t f = 0; f < card.files.size(); ++f) {
        const QString path = dir.file(card.files[f].first);
        EXPECT_TRUE(testsupport::writeFile(path, testsupport::recordFileBytes(card.files[f].second, card.bigEndian[f])));
        paths << path;
    }
    EXPECT_TRUE(testsupport::writeFile(dir.file("Offset.xml"),
                                       QString("<KavoOffset><Offset value=\"%1\"/></KavoOffset>").arg(offset).toUtf8()));
    return paths;
}

// The messages of the files as the reader decodes them, in reading order.
std::vector<RecordEntry> decoded(const QStringList& order)
{
    std::vector<RecordEntry> all;
    for (const QString& path : order) {
        const QByteArray bytes = testsupport::readFile(path);
        const bool swap = (static_cast<uint8_t>(bytes[0]) == 0xAB) != (Q_BYTE_ORDER == Q_BIG_ENDIAN);
        const bool high = Record::isHighFile(path);
        for (int at = 128; at + 28 <= bytes.size(); at += 28) {
            RecordEntry e;
            e.fromRecord(reinterpret_cast<const uint8_t*>(bytes.constData()) + at, swap, high);
            all.push_back(e);
        }
    }
    return all;
}

bool same(const RecordEntry& a, const RecordEntry& b)
{
    return std::memcmp(&a, &b, RecordEntry::RecordSize) == 0 && a.time == b.time && a.highFile == b.highFile;
}

// Everything a consumer reads of two recordings is equal.
void expectSameRecording(const Record& a, const Record& b)
{
    ASSERT_EQ(a.rawData().entries.size(), b.rawData().entries.size());
    for (std::size_t i = 0; i < a.rawData().entries.size(); ++i)
        ASSERT_TRUE(same(a.rawData().entries[i], b.rawData().entries[i])) << i;
    EXPECT_EQ(a.recordData().nrRecords, b.recordData().nrRecords);
    EXPECT_EQ(a.recordInfo().startTime, b.recordInfo().startTime);
    EXPECT_EQ(a.recordInfo().stopTime, b.recordInfo().stopTime);
    EXPECT_EQ(a.recordInfo().utcStart, b.recordInfo().utcStart);
    ASSERT_EQ(a.recordData().channels.size(), b.recordData().channels.size());
    for (const auto& channel : a.recordData().channels) {
        for (const auto& list : channel.second) {
            const RecordIdList& other = b.recordData().idList(channel.first, list.first);
            ASSERT_EQ(list.second.size(), other.size()) << channel.first << " " << list.first;
            EXPECT_EQ(list.second.highFile, other.highFile);
            for (std::size_t i = 0; i < other.size(); ++i)
                ASSERT_TRUE(same(list.second.entries[i], other.entries[i])) << list.first << " " << i;
        }
    }
}

// A list on the timeline: each message visited once, as a stable sort of the
// list by time on the timeline orders it.
void expectTimeline(const RecordData& data, const RecordIdList& list)
{
    std::vector<std::pair<double, std::size_t>> expected;
    for (std::size_t i = 0; i < list.size(); ++i)
        expected.emplace_back(data.timeOf(list, list.entries[i]), i);
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    std::size_t k = 0;
    data.forEachOnTimeline(list, [&](const RecordEntry& e, double t) {
        ASSERT_LT(k, expected.size());
        EXPECT_EQ(t, expected[k].first) << k;
        EXPECT_TRUE(same(e, list.entries[expected[k].second])) << k;
        ++k;
    });
    EXPECT_EQ(k, expected.size());
}

} // namespace

TEST(RecordStoreTest, WorkerThreadsGiveTheRecordingOfOneThreadAndOfAPlainSort)
{
    TempDir dir;
    const Card card = makeCard();
    const QStringList paths = writeCard(dir, card, 10.0);
    std::vector<std::thread::id> progressThreads;
    KAVO::Notifier::setProgressHandler([&](int) { progressThreads.push_back(std::this_thread::get_id()); });
    Record one, four;
    {
        testsupport::StdoutCapture quiet;
        Record::setWorkerThreads(1);
        ASSERT_TRUE(one.readRecordData(paths));
        const std::size_t reportsOfOne = progressThreads.size();
        Record::setWorkerThreads(4);
        ASSERT_TRUE(four.readRecordData(paths));
        Record::setWorkerThreads(0);
        EXPECT_EQ(progressThreads.size(), 2 * reportsOfOne);
    }
    KAVO::Notifier::setProgressHandler(nullptr);
    // The window hears of the progress on its own thread only.
    for (const std::thread::id& id : progressThreads)
        ASSERT_EQ(id, std::this_thread::get_id());
    expectSameRecording(one, four);

    // The plain way: every message in reading order, sorted stably by time.
    std::vector<RecordEntry> expected = decoded(paths);
    std::stable_sort(expected.begin(), expected.end(),
                     [](const RecordEntry& x, const RecordEntry& y) { return x.time < y.time; });
    const auto& entries = four.rawData().entries;
    ASSERT_EQ(entries.size(), expected.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        ASSERT_TRUE(same(entries[i], expected[i])) << i;

    // The lists in reading order, pseudo ids with their words big-endian.
    std::map<std::pair<uint32_t, uint32_t>, std::vector<RecordEntry>> lists;
    for (const RecordEntry& e : decoded(paths)) {
        lists[{e.channel, e.canId}].push_back(e);
        if (e.channel < 2)
            lists[{e.channel, e.channel == 0 ? Pseudo0 : RecordData::PseudoIdChannel1}].push_back(e.bigEndianCopy());
    }
    const RecordData& data = four.recordData();
    for (const auto& list : lists) {
        const RecordIdList& read = data.idList(list.first.first, list.first.second);
        ASSERT_EQ(read.size(), list.second.size());
        for (std::size_t i = 0; i < read.size(); ++i)
            ASSERT_TRUE(same(read.entries[i], list.second[i])) << list.first.second << " " << i;
        std::size_t n = 0;
        for (const RecordEntry& e : read.entries)
            ASSERT_TRUE(same(e, list.second[n++]));
    }
    EXPECT_EQ(data.idList(0, Pseudo0).size(), (lists[{0, Pseudo0}].size()));
}

TEST(RecordStoreTest, ListsWalkTheTimelineInEverySelectionOrderAndOffset)
{
    TempDir dir;
    const Card card = makeCard();
    const QStringList paths = writeCard(dir, card, 0.75);
    // Low files first (the parts merge), the high file first (checked
    // message by message), the disordered file alone.
    for (const QStringList& order : {paths, QStringList{paths[3], paths[0], paths[1]}, QStringList{paths[2]},
                                     QStringList{paths[0], paths[3]}}) {
        Record r;
        testsupport::StdoutCapture quiet;
        ASSERT_TRUE(r.readRecordData(order));
        for (const double offset : {0.75, -1.0, 0.0}) {
            ASSERT_TRUE(r.setOffset(offset));
            for (const auto& channel : r.recordData().channels)
                for (const auto& list : channel.second)
                    ASSERT_NO_FATAL_FAILURE(expectTimeline(r.recordData(), list.second));
        }
    }
    // A list filled by hand.
    Record r;
    for (double t : {3.0, 1.0, 2.0, 1.0}) {
        RecordEntry e;
        e.canId = 5;
        e.time = t;
        e.highFile = t == 2.0;
        testsupport::fileEntry(r, e);
    }
    r.recordData().offset = -1.5;
    expectTimeline(r.recordData(), r.recordData().idList(0, 5));
}

TEST(RecordStoreTest, AFileCutWhileItIsMappedIsGivenUpAndTheOthersLoad)
{
    TempDir dir;
    const QStringList paths = writeCard(dir, makeCard(), 0.0).mid(0, 1) << dir.file("LOG_0003.CAN");
    const int count = 2500;
    std::vector<KAVO::RecordLoader::Source> mapped = testsupport::mappedSources(paths, count);
    ASSERT_EQ(mapped.size(), 2u);
    std::vector<KAVO::RecordLoader::Source> again = testsupport::mappedSources(paths, count);
    ASSERT_EQ(again.size(), 2u);

    // Another program cuts the second file: its mapped pages are gone.
    QFile(paths[1]).resize(128);
    const void* fault = nullptr;
    volatile uint8_t read = 0;
    EXPECT_FALSE(KAVO::MappedFile::guarded([&] { read = mapped[1].bytes.data()[28 * 2000]; }, &fault));
    EXPECT_TRUE(mapped[1].bytes.contains(fault));
    EXPECT_TRUE(KAVO::MappedFile::guarded([&] { read = mapped[0].bytes.data()[28 * 2000]; }));

    KAVO::RecordLoader loader(std::move(again), 1);
    std::vector<RecordEntry> store;
    std::map<uint32_t, KAVO::RecordChannel> channels;
    loader.load(store, channels, [](double) {});
    EXPECT_FALSE(loader.scans()[0].failed);
    EXPECT_TRUE(loader.scans()[1].failed);
    EXPECT_EQ(store.size(), static_cast<std::size_t>(count));
}

TEST(RecordStoreTest, CopiesMovesAndHandFilledListsKeepTheirMessages)
{
    TempDir dir;
    const Card card = makeCard();
    const QStringList paths = writeCard(dir, card, 2.0);
    auto original = std::make_unique<Record>();
    {
        testsupport::StdoutCapture quiet;
        ASSERT_TRUE(original->readRecordData(paths));
    }
    Record reference(*original);
    Record copy;
    copy = *original;
    Record moved(std::move(*original));
    original.reset();
    expectSameRecording(reference, copy);
    expectSameRecording(reference, moved);

    // Adding by hand to a list that was read keeps what it held.
    RecordIdList& list = moved.recordData().channels[0][0x100];
    const std::size_t before = list.size();
    const RecordEntry first = list.entries[0];
    RecordEntry added;
    added.canId = 0x100;
    added.time = 99.0;
    list.entries.push_back(added);
    ASSERT_EQ(list.size(), before + 1);
    EXPECT_TRUE(same(list.entries[0], first));
    EXPECT_EQ(list.entries.back().time, 99.0);
}

TEST(RecordStoreTest, TheCalendarRunsOnTheTimelineWhicheverFileGivesIt)
{
    // One flight on one calendar: the low file tells 09:10:02 at 2 s (its
    // date came earlier, apart), the high file (restarted clock, folder
    // offset 600 s) tells 09:20:05 with a time at its 5 s and the date right
    // after it, which is 605 s on the timeline; 09:10:00 lies at 0 s.
    const auto date = [](double t) {
        TestMessage m = testsupport::wordMessage(1, 1206, t, 0);
        const uint8_t d[4] = {15, 5, 2024 >> 8, 2024 & 0xFF};
        std::memcpy(m.data + 4, d, 4);
        return m;
    };
    const auto clock = [](double t, int h, int m, int sec) {
        TestMessage msg = testsupport::wordMessage(1, 1200, t, 0);
        const uint8_t d[4] = {static_cast<uint8_t>(h), static_cast<uint8_t>(m), static_cast<uint8_t>(sec), 0};
        std::memcpy(msg.data + 4, d, 4);
        return msg;
    };
    const auto value = [](double t) { return testsupport::floatMessage(0, 0x100, t, 1.0f); };
    const std::vector<TestMessage> low = {value(0.5), date(1.0), value(1.5), clock(2.0, 9, 10, 2), value(10.0)};
    const std::vector<TestMessage> high = {value(1.0), clock(5.0, 9, 20, 5), date(5.5), value(20.0)};
    // Its first messages carry the date and time, the time a little later.
    const std::vector<TestMessage> early = {date(3.0), clock(3.25, 8, 0, 0), value(4.0)};
    TempDir dir;
    const QString lowPath = dir.file("LOG_0002.CAN");
    const QString highPath = dir.file("LOG_8001.CAN");
    const QString earlyPath = dir.file("LOG_0003.CAN");
    ASSERT_TRUE(testsupport::writeFile(lowPath, testsupport::recordFileBytes(low)));
    ASSERT_TRUE(testsupport::writeFile(highPath, testsupport::recordFileBytes(high)));
    ASSERT_TRUE(testsupport::writeFile(earlyPath, testsupport::recordFileBytes(early)));
    ASSERT_TRUE(testsupport::writeFile(dir.file("Offset.xml"),
                                       "<KavoOffset><Offset value=\"600\"/></KavoOffset>"));
    const double flight = QDateTime(QDate(2024, 5, 15), QTime(9, 10, 0), Qt::UTC).toSecsSinceEpoch();

    struct Selection
    {
        QStringList paths;
        int64_t utcStart;     // the last file with both messages decides
        double anchor;        // recorded time the calendar belongs to
        bool anchorHigh;
    };
    const Selection selections[] = {
        { {lowPath}, static_cast<int64_t>(flight) + 2, 2.0, false },
        { {lowPath, highPath}, static_cast<int64_t>(flight) + 605, 5.0, true },
        { {highPath, lowPath}, static_cast<int64_t>(flight) + 2, 2.0, false },
        { {highPath}, static_cast<int64_t>(flight) + 605, 5.0, true },
    };
    for (const Selection& s : selections) {
        SCOPED_TRACE(s.paths.join(" ").toStdString());
        Record r;
        testsupport::StdoutCapture quiet;
        ASSERT_TRUE(r.readRecordData(s.paths));
        const KAVO::RecordInfo& info = r.recordInfo();
        ASSERT_EQ(info.utcStart, s.utcStart);
        EXPECT_TRUE(info.utcAnchored);
        EXPECT_EQ(info.utcAnchor, s.anchor);
        EXPECT_EQ(info.utcAnchorHigh, s.anchorHigh);
        const double offset = r.recordData().offset;
        ASSERT_EQ(offset, 600.0);
        // The same calendar at the same cursor, whichever file gave it, at
        // the recording's start too (not the calendar of the message that
        // gave it).
        for (const double t : {0.5, 2.0, 601.0, 605.0, 620.0})
            EXPECT_DOUBLE_EQ(info.calendarAt(t, offset), flight + t) << t;
        EXPECT_DOUBLE_EQ(info.calendarAt(info.startTime, offset), flight + info.startTime);

        // A new offset moves the high file, and the calendar it gave goes with it.
        ASSERT_TRUE(r.setOffset(700.0));
        const double shift = s.anchorHigh ? 100.0 : 0.0;
        EXPECT_DOUBLE_EQ(info.calendarAt(2.0 + shift, 700.0), flight + 2.0);
        EXPECT_DOUBLE_EQ(info.calendarAt(705.0, 700.0), flight + 705.0 - shift);
        ASSERT_TRUE(r.setOffset(600.0));
    }

    // A file whose first messages give the date and time shows it from its start, as before.
    Record r;
    testsupport::StdoutCapture quiet;
    ASSERT_TRUE(r.readRecordData({earlyPath}));
    const KAVO::RecordInfo& info = r.recordInfo();
    EXPECT_EQ(info.utcStart, QDateTime(QDate(2024, 5, 15), QTime(8, 0, 0), Qt::UTC).toSecsSinceEpoch());
    EXPECT_DOUBLE_EQ(info.calendarAt(info.startTime, 0.0), static_cast<double>(info.utcStart));
    EXPECT_DOUBLE_EQ(info.calendarAt(4.0, 0.0), static_cast<double>(info.utcStart) + 1.0);
    // A calendar set by hand, without a message behind it, counts from the start.
    KAVO::RecordInfo byHand;
    byHand.utcStart = 1000;
    byHand.startTime = 50.0;
    EXPECT_DOUBLE_EQ(byHand.calendarAt(60.0, 600.0), 1010.0);
}
