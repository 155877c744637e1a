#include "RecordLoader.h"

#include "BulkAllocator.h"
#include "RecordData.h"
#include "RecordView.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QtEndian>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <limits>
#include <mutex>
#include <system_error>
#include <thread>
#include <unordered_map>

namespace KAVO {

namespace {

constexpr int RecordSize = RecordEntry::RecordSize;
constexpr uint32_t DateId = 1206;
constexpr uint32_t TimeId = 1200;
// Records between two looks at the progress (and between two guarded
// stretches of the merge).
constexpr uint32_t Stretch = 1u << 16;
// Shares of the load's time taken by its three steps, for the progress.
constexpr double ScanShare = 0.3;
constexpr double MergeShare = 0.5;

std::atomic<int> gThreads{0};

inline uint16_t recordChannel(const uint8_t* record, bool swap)
{
    uint16_t v;
    std::memcpy(&v, record + 10, sizeof v);
    return swap ? qbswap(v) : v;
}

inline uint32_t recordCanId(const uint8_t* record, bool swap)
{
    uint32_t v;
    std::memcpy(&v, record + 12, sizeof v);
    return (swap ? qbswap(v) : v) & 0x7FFFFFFFu;
}

inline uint64_t listKey(uint32_t channel, uint32_t canId)
{
    return (static_cast<uint64_t>(channel) << 32) | canId;
}

// Open addressing from (channel, CAN id) to the number of a file's messages
// of that list and, while they are filed, where the next one goes: a
// std::map lookup per message would cost more than all the rest.
class ListTable
{
public:
    struct Slot
    {
        uint64_t key = 0;
        uint32_t count = 0;
        bool used = false;
        uint32_t* out = nullptr;
    };

    ListTable() : mSlots(64) {}

    void clear()
    {
        mSlots.assign(64, Slot());
        mUsed = 0;
        mLast = nullptr;
    }

    // The slot of a key, added when new.
    Slot& at(uint64_t key)
    {
        if (mLast != nullptr && mLast->key == key)
            return *mLast;
        std::size_t i = slotOf(key, mSlots.size());
        while (mSlots[i].used) {
            if (mSlots[i].key == key)
                return *(mLast = &mSlots[i]);
            i = (i + 1) & (mSlots.size() - 1);
        }
        if ((mUsed + 1) * 2 > mSlots.size()) {
            grow();
            return at(key);
        }
        mSlots[i].used = true;
        mSlots[i].key = key;
        ++mUsed;
        return *(mLast = &mSlots[i]);
    }

    // The slot of a key, or null.
    Slot* find(uint64_t key)
    {
        std::size_t i = slotOf(key, mSlots.size());
        while (mSlots[i].used) {
            if (mSlots[i].key == key)
                return &mSlots[i];
            i = (i + 1) & (mSlots.size() - 1);
        }
        return nullptr;
    }

    std::vector<Slot>& entries() { return mSlots; }

private:
    static std::size_t slotOf(uint64_t key, std::size_t size)
    {
        return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & (size - 1);
    }

    void grow()
    {
        std::vector<Slot> old(mSlots.size() * 2);
        old.swap(mSlots);
        mLast = nullptr;
        for (const Slot& s : old) {
            if (!s.used)
                continue;
            std::size_t i = slotOf(s.key, mSlots.size());
            while (mSlots[i].used)
                i = (i + 1) & (mSlots.size() - 1);
            mSlots[i] = s;
        }
    }

    std::vector<Slot> mSlots;
    std::size_t mUsed = 0;
    Slot* mLast = nullptr;
};

// The date and time messages of one file until they give a calendar time.
struct CalendarState
{
    RecordLoader::DateTime at;
    bool haveDate = false;
    bool haveTime = false;
};

// One date or time message (its data bytes 4 to 7); true when the file's
// calendar time is fixed by it.
bool calendarStep(CalendarState& state, RecordLoader::FileScan& scan, uint32_t canId, const uint8_t* data)
{
    if (canId == DateId) {
        state.at.day = data[4];
        state.at.month = data[5];
        state.at.year = (data[6] << 8) | data[7];
        state.haveDate = true;
    } else {
        state.at.hour = data[4];
        state.at.minute = data[5];
        state.at.second = data[6];
        state.haveTime = true;
    }
    if (!state.haveDate || !state.haveTime)
        return false;
    const RecordLoader::DateTime& c = state.at;
    // A garbled date or time must not become a calendar time; a later pair
    // of messages may still give a valid one.
    const QDateTime dt(QDate(c.year, c.month, c.day), QTime(c.hour, c.minute, c.second), Qt::LocalTime);
    if (!dt.isValid()) {
        scan.invalidCalendars.push_back(c);
        return false;
    }
    scan.calendar = c;
    scan.calendarFixed = true;
    return true;
}

} // namespace

struct RecordLoader::FileWork
{
    ListTable lists;
    std::vector<std::pair<int32_t, int32_t>> runs;  // ascending stretches in reading order
    uint32_t first = 0;                              // reading index of its first record
};

// The merge of every ascending run of every file into the store.
struct RecordLoader::Merge
{
    struct Run
    {
        uint32_t file;
        int32_t at;        // next record
        int32_t end;
        uint32_t reading;  // reading index of `at`
    };
    struct Head
    {
        double time;
        uint32_t run;
    };

    std::vector<Run> runs;
    std::vector<Head> heap;
    RecordView::Positions positions;  // reading index -> place in the store
    uint32_t total = 0;
    std::atomic<int64_t> scanned{0};
    std::atomic<int64_t> filed{0};

    static bool before(const Head& a, const Head& b)
    {
        // A run earlier in reading order wins ties: the sort is stable.
        return a.time < b.time || (a.time == b.time && a.run < b.run);
    }

    void siftDown(std::size_t i)
    {
        const std::size_t n = heap.size();
        const Head v = heap[i];
        for (;;) {
            std::size_t c = 2 * i + 1;
            if (c >= n)
                break;
            if (c + 1 < n && before(heap[c + 1], heap[c]))
                ++c;
            if (!before(heap[c], v))
                break;
            heap[i] = heap[c];
            i = c;
        }
        heap[i] = v;
    }
};

RecordLoader::RecordLoader(std::vector<Source> sources, int threads)
    : mSources(std::move(sources)),
      mScans(mSources.size()),
      mWork(mSources.size()),
      mMerge(std::make_unique<Merge>()),
      mThreads(std::max(1, threads))
{
}

RecordLoader::~RecordLoader() = default;

void RecordLoader::setThreads(int threads)
{
    gThreads = std::max(0, threads);
}

int RecordLoader::threads(int64_t records)
{
    const int set = gThreads;
    if (set > 0)
        return set;
    // Starting threads costs more than a small card takes.
    if (records < (int64_t(1) << 14))
        return 1;
    const unsigned machine = std::thread::hardware_concurrency();
    return static_cast<int>(std::min(16u, std::max(1u, machine)));
}

void RecordLoader::parallel(std::size_t tasks, const std::function<void(std::size_t)>& task,
                            const std::function<void()>& tick)
{
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::condition_variable finished;
    std::size_t running = 0;
    auto work = [&] {
        for (std::size_t i = next++; i < tasks; i = next++)
            task(i);
        std::lock_guard<std::mutex> lock(mutex);
        --running;
        finished.notify_one();
    };

    std::vector<std::thread> workers;
    const std::size_t wanted = std::min<std::size_t>(static_cast<std::size_t>(mThreads), tasks);
    if (wanted > 1) {
        for (std::size_t k = 0; k < wanted; ++k) {
            std::lock_guard<std::mutex> lock(mutex);
            try {
                workers.emplace_back(work);
                ++running;
            } catch (const std::system_error&) {
                break;  // the threads started take all tasks
            }
        }
    }
    if (workers.empty()) {
        for (std::size_t i = 0; i < tasks; ++i) {
            task(i);
            tick();
        }
        return;
    }
    {
        // The calling thread reports progress while it waits.
        std::unique_lock<std::mutex> lock(mutex);
        while (running > 0) {
            finished.wait_for(lock, std::chrono::milliseconds(15));
            lock.unlock();
            tick();
            lock.lock();
        }
    }
    for (std::thread& t : workers)
        t.join();
}

void RecordLoader::scan(std::size_t f)
{
    const Source& source = mSources[f];
    FileScan& s = mScans[f];
    FileWork& w = mWork[f];
    std::atomic<int64_t>& scanned = mMerge->scanned;
    const bool swap = source.swap;
    const int32_t n = source.count;
    const uint8_t* records = source.bytes.data();
    CalendarState calendar;
    uint32_t pseudoCount[2] = {0, 0};

    // One pass over the file: its ascending runs, the size of every list
    // and the file's calendar time. Nothing here holds memory of its own
    // where the mapped records are read (see MappedFile::guarded).
    const void* fault = nullptr;
    const bool read = MappedFile::guarded(
        [&] {
            double previous = -std::numeric_limits<double>::infinity();
            int32_t begin = 0;
            const uint8_t* p = records;
            for (int32_t i = 0; i < n; ++i, p += RecordSize) {
                const double t = RecordEntry::recordTime(p, swap);
                if (i == 0) {
                    s.first = t;
                    s.low = t;
                    s.high = t;
                } else {
                    s.low = std::min(s.low, t);
                    s.high = std::max(s.high, t);
                }
                if (t < previous) {
                    w.runs.emplace_back(begin, i);
                    begin = i;
                }
                previous = t;
                const uint16_t channel = recordChannel(p, swap);
                const uint32_t canId = recordCanId(p, swap);
                ++w.lists.at(listKey(channel, canId)).count;
                if (channel < 2)
                    ++pseudoCount[channel];
                if (!s.calendarFixed && (canId == DateId || canId == TimeId)) {
                    uint8_t data[8];
                    std::memcpy(data, p, sizeof data);
                    calendarStep(calendar, s, canId, data);
                }
                if ((i & (Stretch - 1)) == Stretch - 1)
                    scanned += Stretch;
            }
            if (n > 0)
                w.runs.emplace_back(begin, n);
        },
        &fault);
    scanned += n % Stretch;

    if (!read) {
        s = FileScan();
        s.failed = true;
        w.lists.clear();
        w.runs.clear();
        return;
    }
    s.count = n;
    const uint32_t pseudoIds[2] = {RecordData::PseudoIdChannel0, RecordData::PseudoIdChannel1};
    for (uint32_t c = 0; c < 2; ++c) {
        if (pseudoCount[c] > 0)
            w.lists.at(listKey(c, pseudoIds[c])).count += pseudoCount[c];
    }
}

void RecordLoader::fail(const void* fault)
{
    for (std::size_t f = 0; f < mSources.size(); ++f) {
        if (mSources[f].bytes.contains(fault)) {
            mScans[f] = FileScan();
            mScans[f].failed = true;
            mWork[f].lists.clear();
            mWork[f].runs.clear();
            return;
        }
    }
    // A fault outside the files cannot be told apart: give up all of them.
    for (std::size_t f = 0; f < mSources.size(); ++f) {
        mScans[f] = FileScan();
        mScans[f].failed = true;
    }
}

bool RecordLoader::fill(std::vector<RecordEntry>& store, const Progress& progress)
{
    Merge& m = *mMerge;
    m.runs.clear();
    m.heap.clear();
    uint32_t reading = 0;
    for (std::size_t f = 0; f < mSources.size(); ++f) {
        mWork[f].first = reading;
        if (mScans[f].failed)
            continue;
        for (const auto& run : mWork[f].runs)
            m.runs.push_back({static_cast<uint32_t>(f), run.first, run.second, reading + static_cast<uint32_t>(run.first)});
        reading += static_cast<uint32_t>(mScans[f].count);
    }
    m.total = reading;
    store.clear();
    store.reserve(m.total);
    BulkMemory::adviseHuge(store.data(), store.capacity() * sizeof(RecordEntry));
    m.positions.resize(m.total);

    // Heads of the runs; each message is decoded once, into its place.
    const void* fault = nullptr;
    const bool started = MappedFile::guarded(
        [&] {
            for (uint32_t r = 0; r < m.runs.size(); ++r) {
                const Merge::Run& run = m.runs[r];
                const Source& s = mSources[run.file];
                m.heap.push_back({RecordEntry::recordTime(s.bytes.data() + std::size_t(run.at) * RecordSize, s.swap), r});
            }
        },
        &fault);
    if (!started) {
        fail(fault);
        return false;
    }
    for (std::size_t i = m.heap.size() / 2; i-- > 0;)
        m.siftDown(i);

    while (store.size() < m.total) {
        const std::size_t until = std::min<std::size_t>(m.total, store.size() + Stretch);
        const bool merged = MappedFile::guarded(
            [&] {
                while (store.size() < until) {
                    Merge::Head& head = m.heap[0];
                    Merge::Run& run = m.runs[head.run];
                    const Source& s = mSources[run.file];
                    const uint8_t* p = s.bytes.data() + std::size_t(run.at) * RecordSize;
                    m.positions[run.reading] = static_cast<uint32_t>(store.size());
                    store.emplace_back();
                    store.back().fromRecord(p, s.swap, s.high);
                    ++run.at;
                    ++run.reading;
                    if (run.at < run.end) {
                        head.time = RecordEntry::recordTime(p + RecordSize, s.swap);
                    } else {
                        m.heap[0] = m.heap.back();
                        m.heap.pop_back();
                        if (m.heap.empty())
                            break;
                    }
                    // One run left: the rest is a copy in order.
                    if (m.heap.size() > 1)
                        m.siftDown(0);
                }
            },
            &fault);
        if (!merged) {
            fail(fault);
            return false;
        }
        m.filed = static_cast<int64_t>(store.size());
        progress(ScanShare + MergeShare * (m.total > 0 ? static_cast<double>(store.size()) / m.total : 1.0));
    }
    return true;
}

void RecordLoader::file(std::size_t f, const std::vector<RecordEntry>& store)
{
    if (mScans[f].failed)
        return;
    ListTable& lists = mWork[f].lists;
    ListTable::Slot* pseudo[2] = {lists.find(listKey(0, RecordData::PseudoIdChannel0)),
                                  lists.find(listKey(1, RecordData::PseudoIdChannel1))};
    const uint32_t* places = mMerge->positions.data() + mWork[f].first;
    const RecordEntry* base = store.data();
    const int32_t n = mScans[f].count;
    constexpr int32_t Ahead = 8;
    for (int32_t i = 0; i < n; ++i) {
        if (i + Ahead < n)
            __builtin_prefetch(base + places[i + Ahead]);
        const uint32_t p = places[i];
        const RecordEntry& e = base[p];
        ListTable::Slot* slot = lists.find(listKey(e.channel, e.canId));
        *slot->out++ = p;
        if (e.channel < 2)
            *pseudo[e.channel]->out++ = p | RecordView::BigEndian;
        if ((i & (Stretch - 1)) == Stretch - 1)
            mMerge->filed += Stretch;
    }
}

void RecordLoader::fileInto(const std::vector<RecordEntry>& store, std::map<uint32_t, RecordChannel>& channels,
                            const Progress& progress)
{
    // Each list takes its messages file by file: the part of every file
    // starts where the files before it end, so the files are filed at once.
    struct Target
    {
        uint32_t count = 0;
        uint32_t* next = nullptr;
        RecordIdList* list = nullptr;
    };
    std::unordered_map<uint64_t, Target> targets;
    for (std::size_t f = 0; f < mSources.size(); ++f) {
        if (mScans[f].failed)
            continue;
        for (const ListTable::Slot& s : mWork[f].lists.entries()) {
            if (!s.used || s.count == 0)
                continue;
            Target& t = targets[s.key];
            t.count += s.count;
            if (t.list == nullptr)
                t.list = &channels[static_cast<uint32_t>(s.key >> 32)][static_cast<uint32_t>(s.key)];
            t.list->highFile = mSources[f].high;
        }
    }
    for (auto& t : targets)
        t.second.next = t.second.list->entries.bind(&store, t.second.count);
    for (std::size_t f = 0; f < mSources.size(); ++f) {
        if (mScans[f].failed)
            continue;
        for (ListTable::Slot& s : mWork[f].lists.entries()) {
            if (!s.used || s.count == 0)
                continue;
            Target& t = targets[s.key];
            s.out = t.next;
            t.next += s.count;
        }
    }

    mMerge->filed = 0;
    const double total = std::max<double>(1.0, mMerge->total);
    parallel(
        mSources.size(), [&](std::size_t f) { file(f, store); },
        [&] { progress(ScanShare + MergeShare + (1.0 - ScanShare - MergeShare) * mMerge->filed / total); });
}

void RecordLoader::load(std::vector<RecordEntry>& store, std::map<uint32_t, RecordChannel>& channels,
                        const Progress& progress)
{
    channels.clear();
    store.clear();
    int64_t total = 0;
    for (const Source& s : mSources)
        total += s.count;
    const double all = std::max<double>(1.0, static_cast<double>(total));
    parallel(
        mSources.size(), [&](std::size_t f) { scan(f); },
        [&] { progress(ScanShare * static_cast<double>(mMerge->scanned) / all); });

    // A file whose memory faults while it is merged is given up, and the
    // others are merged again without it.
    while (!fill(store, progress)) {
    }
    for (Source& s : mSources)
        s.bytes.close();
    fileInto(store, channels, progress);
    RecordView::Positions().swap(mMerge->positions);
}

} // namespace KAVO
