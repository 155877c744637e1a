// The record reader's worker threads under ThreadSanitizer: several files
// scanned side by side and merged, once with every thread the test asks for
// and once on the calling thread alone, give the same recording; the
// progress reaches its handler on the calling thread only; a file cut while
// it is mapped is given up on a worker without ending the program.
#include "LoaderSources.h"
#include "Notifier.h"
#include "Record.h"
#include "RecordLoader.h"
#include "WorkerData.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <thread>
#include <vector>

using KAVO::Record;
using KAVO::RecordEntry;
using testsupport::sameEntry;
using testsupport::writeInto;

namespace {

// A big-endian record file of n messages: channel and id from the
// generator, times ascending (or in no order), a value in data bytes 4 to 7.
QByteArray recordFile(int n, double start, bool ordered, std::mt19937& rng)
{
    double t = start;
    return testsupport::rawRecordFile(n, [&](int) {
        testsupport::RawRecord m;
        t = ordered ? t + (rng() % 3) * 0.001 : start + (rng() % 5000) * 0.001;
        m.time = t;
        m.word = rng();
        m.channel = static_cast<uint16_t>(rng() % 3);
        m.canId = 0x100 + rng() % 9;
        return m;
    });
}

TEST(RecordReaderThreads, WorkersGiveTheRecordingOfOneThread)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::mt19937 rng(3);
    const QStringList paths = {writeInto(dir, "LOG_0001.CAN", recordFile(30000, 1.0, true, rng)),
                               writeInto(dir, "LOG_0002.CAN", recordFile(30000, 1.5, true, rng)),
                               writeInto(dir, "LOG_0003.CAN", recordFile(5000, 1.0, false, rng)),
                               writeInto(dir, "LOG_8001.CAN", recordFile(30000, 0.5, true, rng))};
    std::vector<std::thread::id> reporters;
    KAVO::Notifier::setProgressHandler([&](int) { reporters.push_back(std::this_thread::get_id()); });
    Record one, several;
    Record::setWorkerThreads(1);
    ASSERT_TRUE(one.readRecordData(paths));
    Record::setWorkerThreads(4);
    ASSERT_TRUE(several.readRecordData(paths));
    ASSERT_TRUE(several.readRecordData(paths));  // a second load over the first
    Record::setWorkerThreads(0);
    KAVO::Notifier::setProgressHandler(nullptr);
    ASSERT_FALSE(reporters.empty());
    for (const std::thread::id& id : reporters)
        ASSERT_EQ(id, std::this_thread::get_id());

    ASSERT_EQ(one.rawData().entries.size(), 95000u);
    ASSERT_EQ(several.rawData().entries.size(), one.rawData().entries.size());
    for (std::size_t i = 0; i < one.rawData().entries.size(); ++i)
        ASSERT_TRUE(sameEntry(one.rawData().entries[i], several.rawData().entries[i])) << i;
    for (const auto& channel : one.recordData().channels) {
        for (const auto& list : channel.second) {
            const KAVO::RecordIdList& other = several.recordData().idList(channel.first, list.first);
            ASSERT_EQ(other.size(), list.second.size());
            for (std::size_t i = 0; i < other.size(); ++i)
                ASSERT_TRUE(sameEntry(other.entries[i], list.second.entries[i]));
        }
    }
}

TEST(RecordReaderThreads, AFileCutOnAWorkerIsGivenUp)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::mt19937 rng(4);
    const QString kept = writeInto(dir, "A.CAN", recordFile(20000, 1.0, true, rng));
    const QString cut = writeInto(dir, "B.CAN", recordFile(20000, 1.0, true, rng));
    std::vector<KAVO::RecordLoader::Source> sources = testsupport::mappedSources({kept, cut}, 20000);
    ASSERT_EQ(sources.size(), 2u);
    QFile(cut).resize(128);
    KAVO::RecordLoader loader(std::move(sources), 2);
    std::vector<RecordEntry> store;
    std::map<uint32_t, KAVO::RecordChannel> channels;
    loader.load(store, channels, [](double) {});
    EXPECT_FALSE(loader.scans()[0].failed);
    EXPECT_TRUE(loader.scans()[1].failed);
    EXPECT_EQ(store.size(), 20000u);
}

} // namespace
