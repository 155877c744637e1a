// What the displays take from a recording, worked out on worker threads:
// the lists walked on the timeline all at once, the value table's rows from
// the places of the messages, and the limit scan in stretches give, on one
// thread and on four, what a plain walk of each list gives, for files that
// overlap in time, a file out of time order, a high file under several
// offsets and the pseudo-id lists.
#include "LimitScan.h"
#include "ParallelWork.h"
#include "Profile.h"
#include "Record.h"
#include "RecordRows.h"
#include "StdoutCapture.h"
#include "TestRecords.h"
#include "TestSupport.h"
#include "TimelineScan.h"
#include "WorkerData.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

using KAVO::ParallelWork;
using KAVO::Profile;
using KAVO::ProfileThrValue;
using KAVO::Record;
using KAVO::RecordData;
using KAVO::RecordEntry;
using KAVO::RecordIdList;
using testsupport::TempDir;
using testsupport::sameEntry;
using testsupport::TestMessage;

namespace {

constexpr uint32_t Pseudo0 = RecordData::PseudoIdChannel0;

// Lists longer than a stretch of the limit scan and many windows of the
// timeline walk: two low files that overlap in time (with equal times), a
// low file out of time order, a high file; values that wander through the
// thresholds.
QStringList writeCard(const TempDir& dir)
{
    std::mt19937 rng(5);
    const uint32_t ids[3] = {0x100, 0x101, 0x200};
    const char* names[] = {"LOG_0001.CAN", "LOG_0002.CAN", "LOG_0003.CAN", "LOG_8001.CAN"};
    const int counts[] = {90000, 90000, 3000, 60000};
    QStringList paths;
    for (int f = 0; f < 4; ++f) {
        std::vector<TestMessage> messages;
        double t = 1.0 + 0.3 * f;
        for (int i = 0; i < counts[f]; ++i) {
            t = f == 2 ? 1.0 + (rng() % 60000) * 0.01 : t + (rng() % 3) * 0.005;
            const uint32_t id = ids[rng() % 3];
            const float value = static_cast<float>(110.0 + 30.0 * std::sin(i * 0.002 + f) + (rng() % 7));
            TestMessage m = testsupport::floatMessage(id == 0x200 ? 1 : 0, id, t, value);
            if (rng() % 97 == 0)
                m.canId = Pseudo0;
            messages.push_back(m);
        }
        paths << dir.file(names[f]);
        EXPECT_TRUE(testsupport::writeFile(paths.back(), testsupport::recordFileBytes(messages, f != 1)));
    }
    EXPECT_TRUE(testsupport::writeFile(dir.file("Offset.xml"), "<KavoOffset><Offset value=\"0.75\"/></KavoOffset>"));
    return paths;
}

std::vector<const RecordIdList*> allLists(const Record& r)
{
    std::vector<const RecordIdList*> lists;
    for (const auto& channel : r.recordData().channels)
        for (const auto& list : channel.second)
            lists.push_back(&list.second);
    return lists;
}

void expectScanWalksTheTimeline(const RecordData& data, const std::vector<const RecordIdList*>& lists)
{
    const KAVO::TimelineScan scan(data, lists);
    struct Seen
    {
        RecordEntry entry;
        double time = 0.0;
        int visits = 0;
    };
    std::vector<std::vector<Seen>> seen(lists.size());
    for (std::size_t k = 0; k < lists.size(); ++k) {
        ASSERT_EQ(scan.size(k), lists[k]->size());
        seen[k].resize(lists[k]->size());
    }
    scan.run([&](std::size_t k, std::size_t index, const RecordEntry& e, double t) {
        Seen& s = seen[k][index];
        s.entry = e;
        s.time = t;
        ++s.visits;
    });
    for (std::size_t k = 0; k < lists.size(); ++k) {
        std::size_t i = 0;
        data.forEachOnTimeline(*lists[k], [&](const RecordEntry& e, double t) {
            ASSERT_EQ(seen[k][i].visits, 1) << k << " " << i;
            ASSERT_TRUE(sameEntry(seen[k][i].entry, e)) << k << " " << i;
            ASSERT_EQ(seen[k][i].time, t) << k << " " << i;
            ++i;
        });
        ASSERT_EQ(i, lists[k]->size());
    }
}

// The same lists filled by hand (their messages copied), which the rows
// read message by message.
Record handCopy(const Record& r)
{
    Record copy;
    for (const auto& channel : r.recordData().channels)
        for (const auto& list : channel.second)
            for (const RecordEntry& e : list.second.entries)
                copy.recordData().channels[channel.first][list.first].entries.push_back(e);
    copy.recordData().offset = r.recordData().offset;
    return copy;
}

// The exceedances as one walk of each parameter's list finds them.
std::vector<std::pair<double, QByteArray>> plainLimits(const RecordData& data)
{
    std::vector<std::pair<double, QByteArray>> found;
    Profile* profile = Profile::instance();
    for (const auto& device : profile->data().mDevices) {
        for (const auto& parameter : device.second.mParameters) {
            const KAVO::ProfileParameter& p = parameter.second;
            int previous = ProfileThrValue::LIMIT;
            for (const RecordEntry& e : data.idList(p.mChannel, p.mCanId).entries) {
                const int state = profile->getState(e, p);
                if ((previous == ProfileThrValue::OK && state != ProfileThrValue::OK) ||
                    (previous == ProfileThrValue::WARNING && state == ProfileThrValue::LIMIT)) {
                    QColor colour;
                    found.emplace_back(data.timeOf(e), (p.mName + " " + profile->getDataString(e, p, colour)).toUtf8());
                }
                previous = state;
            }
        }
    }
    return found;
}

class DisplayFillTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsupport::loadProfileText(mDir.path(), testsupport::ThresholdProfile));
        testsupport::StdoutCapture quiet;
        mPaths = writeCard(mDir);
        ASSERT_TRUE(mRecord.readRecordData(mPaths));
    }
    void TearDown() override { ParallelWork::setThreads(0); }

    TempDir mDir;
    QStringList mPaths;
    Record mRecord;
};

TEST_F(DisplayFillTest, WorkerThreadsWalkEachListOnTheTimeline)
{
    // Files in time order are walked in windows; a file out of time order
    // puts every list it adds to on its own walk. Without an offset the high
    // file's messages meet those of the low files at equal times.
    Record ordered;
    {
        testsupport::StdoutCapture quiet;
        ASSERT_TRUE(ordered.readRecordData(mPaths.filter(QRegularExpression("LOG_000[12]|LOG_8001"))));
    }
    for (Record* r : {&ordered, &mRecord}) {
        for (const double offset : {0.75, 0.0, -3.0}) {
            ASSERT_TRUE(r->setOffset(offset));
            for (const int threads : {1, 4}) {
                SCOPED_TRACE(testing::Message() << "offset " << offset << ", threads " << threads);
                ParallelWork::setThreads(threads);
                ASSERT_NO_FATAL_FAILURE(expectScanWalksTheTimeline(r->recordData(), allLists(*r)));
            }
        }
    }
    // A list filled by hand, out of time order.
    Record hand;
    for (double t : {3.0, 1.0, 2.0, 1.0}) {
        RecordEntry e;
        e.canId = 5;
        e.time = t;
        e.highFile = t == 2.0;
        testsupport::fileEntry(hand, e);
    }
    hand.recordData().offset = -1.5;
    ParallelWork::setThreads(4);
    expectScanWalksTheTimeline(hand.recordData(), allLists(hand));
}

TEST_F(DisplayFillTest, TableRowsFromPlacesEqualRowsFromMessages)
{
    // The reader noted the keys; an offset changed since is taken up.
    for (const double offset : {0.75, -3.0, 0.0}) {
        ASSERT_TRUE(mRecord.setOffset(offset));
        const Record copy = handCopy(mRecord);
        KAVO::RecordRows expected;
        expected.fill(copy, allLists(copy));
        ASSERT_GT(expected.keys().size(), 4000u);
        for (const int threads : {1, 4}) {
            SCOPED_TRACE(testing::Message() << "offset " << offset << ", threads " << threads);
            ParallelWork::setThreads(threads);
            KAVO::RecordRows rows;
            rows.fill(mRecord, allLists(mRecord));
            ASSERT_EQ(rows.keys(), expected.keys());
            for (std::size_t l = 0; l < allLists(mRecord).size(); ++l)
                ASSERT_EQ(rows.cells(l), expected.cells(l)) << l;
        }
    }
    // Keys of a message at the edge of a tenth: the index takes them from
    // the same arithmetic as the messages.
    const KAVO::RecordTimeIndex& index = mRecord.timeIndex(true);
    for (const RecordIdList* list : allLists(mRecord))
        for (std::size_t i = 0; i < list->size(); i += 101)
            ASSERT_EQ(index.keys()[index.keyAt(list->entries.position(i), list->entries[i].highFile)],
                      RecordData::timeKey(mRecord.recordData().timeOf(list->entries[i])));
}

TEST_F(DisplayFillTest, LimitScanInStretchesFindsWhatOneWalkFinds)
{
    const auto expected = plainLimits(mRecord.recordData());
    ASSERT_GT(expected.size(), 20u);
    for (const int threads : {1, 4}) {
        ParallelWork::setThreads(threads);
        const std::vector<KAVO::RecordLimit> limits = KAVO::LimitScan::find(mRecord.recordData());
        ASSERT_EQ(limits.size(), expected.size()) << threads;
        for (std::size_t i = 0; i < limits.size(); ++i) {
            EXPECT_EQ(limits[i].time, expected[i].first) << i;
            EXPECT_EQ(limits[i].name.mid(limits[i].name.indexOf(' ') + 1) + " " +
                          limits[i].value.left(limits[i].value.lastIndexOf(' ')),
                      expected[i].second)
                << i;
        }
    }
}

} // namespace
