// The displays' fills on worker threads under ThreadSanitizer: the lists
// walked on the timeline at once, the table's rows from the time index
// (noted by the reader, and found again on the workers after an offset
// change), the limit scan in stretches and the graph's stores and buckets
// built side by side give what one thread gives; the kept worker threads
// run each task once, a task's own job inside it, and hand a failure to
// the caller. The instrument page's values by tenth come out the same too.
#include "GraphModel.h"
#include "InstrumentPage.h"
#include "LimitScan.h"
#include "ParallelWork.h"
#include "Profile.h"
#include "Property.h"
#include "Record.h"
#include "RecordRows.h"
#include "TimelineScan.h"
#include "WorkerData.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <random>
#include <thread>
#include <vector>

using namespace KAVO;

namespace {

// A big-endian file of FLOAT messages of ids 0x100, 0x101 and 0x200 (that
// of channel 1), times ascending from `start`, values wandering through
// the thresholds.
QByteArray recordFile(int n, double start, std::mt19937& rng)
{
    double t = start;
    return testsupport::rawRecordFile(n, [&](int i) {
        testsupport::RawRecord m;
        t += (rng() % 3) * 0.004;
        const uint32_t ids[3] = {0x100, 0x101, 0x200};
        m.canId = ids[rng() % 3];
        m.channel = m.canId == 0x200 ? 1 : 0;
        m.time = t;
        m.type = 2;  // FLOAT
        const float value = static_cast<float>(110.0 + 30.0 * std::sin(i * 0.003) + rng() % 5);
        std::memcpy(&m.word, &value, 4);
        return m;
    });
}

struct Filled
{
    std::vector<std::vector<double>> timeline;  // per list: times in timeline order
    std::vector<int64_t> rowKeys;
    std::vector<std::vector<int32_t>> cells;
    std::vector<double> limitTimes;
    std::vector<std::vector<double>> graphValues;
    std::vector<std::size_t> frameCounts;
    InstrumentPage::Feed instrument;
};

Filled fill(Record& record)
{
    Filled out;
    std::vector<const RecordIdList*> lists;
    for (const auto& channel : record.recordData().channels)
        for (const auto& list : channel.second)
            lists.push_back(&list.second);

    const TimelineScan scan(record.recordData(), lists);
    out.timeline.resize(lists.size());
    for (std::size_t k = 0; k < lists.size(); ++k)
        out.timeline[k].resize(scan.size(k));
    scan.run([&](std::size_t k, std::size_t i, const RecordEntry&, double t) { out.timeline[k][i] = t; });

    RecordRows rows;
    rows.fill(record, lists);
    out.rowKeys = rows.keys();
    for (std::size_t k = 0; k < lists.size(); ++k)
        out.cells.push_back(rows.cells(k));

    for (const RecordLimit& l : LimitScan::find(record.recordData()))
        out.limitTimes.push_back(l.time);

    GraphModel graph;
    graph.setMaxParameters(static_cast<unsigned>(lists.size()));
    std::vector<GraphValues> values(lists.size());
    std::vector<GraphModel::Feed> feeds;
    for (std::size_t k = 0; k < lists.size(); ++k) {
        graph.setActive(static_cast<unsigned>(k), true);
        values[k].resize(lists[k]->size());
        feeds.push_back(GraphModel::Feed{static_cast<unsigned>(k), std::make_shared<GraphTimes>(lists[k]->size()),
                                         &values[k]});
    }
    scan.run([&](std::size_t k, std::size_t i, const RecordEntry& e, double t) {
        (*feeds[k].times)[i] = t;
        values[k][i] = static_cast<double>(e.data[7]);
    });
    graph.holdRebuilds(true);
    graph.putSamples(feeds);
    graph.setXmin(0.0f);
    graph.setXmax(500.0f);
    graph.holdRebuilds(false);
    for (unsigned k = 0; k < graph.parameterCount(); ++k) {
        out.graphValues.emplace_back();
        const GraphSeries& s = graph.parameter(k).samples;
        for (std::size_t i = 0; i < s.size(); ++i)
            out.graphValues.back().push_back(s[i].value);
        out.frameCounts.push_back(graph.parameter(k).frames.size());
    }
    out.instrument = InstrumentPage::feed(record.recordData(), *Profile::instance());
    return out;
}

TEST(DisplayFillThreads, WorkersFillAsOneThreadDoes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Property::instance()->setConfigFile((dir.path() + "/ORLO.ini").toStdString());
    using testsupport::writeInto;
    ASSERT_TRUE(Profile::instance()->loadProfile(writeInto(dir, "profile.xml", testsupport::ThresholdProfile)));
    // Every parameter feeds the instrument page too.
    for (auto& device : Profile::instance()->data().mDevices)
        for (auto& parameter : device.second.mParameters)
            parameter.second.mViewId = "view" + QString::number(parameter.first);
    std::mt19937 rng(9);
    // Small under the sanitizer, yet every fill splits its work: 24,000
    // messages make some ten windows of the timeline walk (a few thousand
    // store places each, low and high files apart), several limit-scan
    // stretches per list (two thousand messages each) and sixteen parts of
    // the time index, all taken by four threads. The reader's merge over
    // many stretches is the record reader's own threaded test.
    const QStringList paths = {writeInto(dir, "LOG_0001.CAN", recordFile(9000, 1.0, rng)),
                               writeInto(dir, "LOG_0002.CAN", recordFile(9000, 1.2, rng)),
                               writeInto(dir, "LOG_8001.CAN", recordFile(6000, 0.5, rng))};
    Record record;
    ParallelWork::setThreads(4);
    ASSERT_TRUE(record.readRecordData(paths));
    for (const double offset : {2.5, -1.25}) {
        ASSERT_TRUE(record.setOffset(offset));
        ParallelWork::setThreads(1);
        const Filled one = fill(record);
        ParallelWork::setThreads(4);
        const Filled four = fill(record);
        EXPECT_EQ(one.timeline, four.timeline);
        EXPECT_EQ(one.rowKeys, four.rowKeys);
        EXPECT_EQ(one.cells, four.cells);
        EXPECT_EQ(one.limitTimes, four.limitTimes);
        EXPECT_FALSE(one.limitTimes.empty());
        EXPECT_EQ(one.graphValues, four.graphValues);
        EXPECT_EQ(one.frameCounts, four.frameCounts);
        ASSERT_FALSE(one.instrument.empty());
        EXPECT_FALSE(one.instrument.front().second.empty());
        EXPECT_EQ(one.instrument, four.instrument);
    }
    ParallelWork::setThreads(0);
}

TEST(ParallelWorkTest, TasksRunOnceAndFailuresReachTheCaller)
{
    ParallelWork::setThreads(4);
    for (int round = 0; round < 3; ++round) {
        // Each task once, a task's own job done inside it, the progress on
        // the calling thread only.
        std::vector<std::atomic<int>> runs(200);
        std::atomic<int> inner{0};
        std::vector<std::thread::id> ticks;
        ParallelWork::run(
            runs.size(), 4,
            [&](std::size_t i) {
                ++runs[i];
                if (i % 50 == 0)
                    ParallelWork::run(10, 4, [&](std::size_t) { ++inner; });
            },
            [&] { ticks.push_back(std::this_thread::get_id()); });
        for (const std::atomic<int>& n : runs)
            ASSERT_EQ(n.load(), 1);
        EXPECT_EQ(inner.load(), 40);
        for (const std::thread::id& id : ticks)
            EXPECT_EQ(id, std::this_thread::get_id());

        // A failure reaches the caller; the threads take the next job as
        // before.
        EXPECT_THROW(ParallelWork::run(1000, 4,
                                       [&](std::size_t i) {
                                           if (i == 7)
                                               throw std::bad_alloc();
                                       }),
                     std::bad_alloc);
    }
    ParallelWork::setThreads(0);
}

} // namespace
