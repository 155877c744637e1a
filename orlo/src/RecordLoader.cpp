#include "RecordLoader.h"

#include "BulkAllocator.h"
#include "ParallelWork.h"
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
#include <exception>
#include <cstring>
#include <limits>
#include <mutex>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>

#include <cerrno>
#include <sys/mman.h>
#include <sys/mman.h>

namespace KAVO {

namespace {

constexpr int RecordSize = RecordEntry::RecordSize;
constexpr uint32_t DateId = 1206;
constexpr uint32_t TimeId = 1200;
// Records between two looks at the progress (and between two guarded
// stretches of the merge).
constexpr uint32_t Stretch = 1u << 16;
// Shares of the load's time taken by the scan and the merge, for the progress.
constexpr double ScanShare = 0.1;
constexpr double MergeShare = 0.85;

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
        uint32_t* out = nullptr;  // where the file's next message of the list goes
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

// Runs f, guarded when it reads mapped bytes (MappedFile::guarded); bytes
// read into memory cannot fault, and the guard costs system calls.
template <typename F>
bool readGuarded(bool mapped, F&& f, const void** fault)
{
    if (!mapped) {
        f();
        return true;
    }
    return MappedFile::guarded(std::forward<F>(f), fault);
}

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

// Asks the kernel for fresh memory ahead of the code that fills it. The
// first write to a fresh page costs a fault, which on some machines costs
// more than all the copying of a load; taken on a worker thread, the
// faults run beside the merge instead of inside it. The kernel puts each
// page in place once, as it would on the first write; nothing of the
// memory is written here.
class Prefaulter
{
public:
    explicit Prefaulter(bool run)
    {
        if (!run)
            return;
        try {
            mThread = std::thread([this] { work(); });
        } catch (const std::system_error&) {
            // Without the thread the merge takes the faults itself.
        }
    }
    ~Prefaulter() { stop(); }
    Prefaulter(const Prefaulter&) = delete;
    Prefaulter& operator=(const Prefaulter&) = delete;

    // The range filled from its start; it is made ready up to Window bytes
    // ahead of what follow() reports as filled.
    void lead(const void* data, std::size_t bytes)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mLeadBegin = reinterpret_cast<uintptr_t>(data);
        mLeadEnd = mLeadBegin + bytes;
        mLeadDone = mLeadBegin;
        mFilled = 0;
        mWake.notify_one();
    }
    void follow(std::size_t filled)
    {
        mFilled = filled;
        mWake.notify_one();
    }
    // Ranges made ready whole, after the lead.
    void add(const void* data, std::size_t bytes)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mExtra.emplace_back(reinterpret_cast<uintptr_t>(data), reinterpret_cast<uintptr_t>(data) + bytes);
        mWake.notify_one();
    }
    void stop()
    {
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mStopping = true;
            mWake.notify_one();
        }
        if (mThread.joinable())
            mThread.join();
    }

private:
    static constexpr std::size_t Window = std::size_t(64) << 20;
    static constexpr std::size_t Chunk = std::size_t(2) << 20;

    void work()
    {
        std::unique_lock<std::mutex> lock(mMutex);
        while (!mStopping) {
            uintptr_t from = 0;
            uintptr_t to = 0;
            const uintptr_t filled = mLeadBegin + mFilled;
            const uintptr_t ahead = std::min(mLeadEnd, filled + Window);
            if (std::max(mLeadDone, filled) < ahead) {
                from = std::max(mLeadDone, filled);
                to = std::min(ahead, from + Chunk);
                mLeadDone = to;
            } else if (!mExtra.empty()) {
                from = mExtra.front().first;
                to = std::min(mExtra.front().second, from + Chunk);
                mExtra.front().first = to;
                if (to >= mExtra.front().second)
                    mExtra.erase(mExtra.begin());
            }
            if (from >= to) {
                mWake.wait_for(lock, std::chrono::milliseconds(2));
                continue;
            }
            lock.unlock();
            const bool ready = populate(from, to);
            lock.lock();
            if (!ready)
                break;
        }
    }

    // False where the kernel cannot do it (before Linux 5.14).
    static bool populate(uintptr_t from, uintptr_t to)
    {
#ifdef __linux__
        constexpr int PopulateWrite = 23;  // MADV_POPULATE_WRITE
        const uintptr_t page = 4096;
        const uintptr_t begin = from & ~(page - 1);
        const uintptr_t end = (to + page - 1) & ~(page - 1);
        if (madvise(reinterpret_cast<void*>(begin), end - begin, PopulateWrite) != 0 && errno == EINVAL)
            return false;
        return true;
#else
        (void)from;
        (void)to;
        return false;
#endif
    }

    std::thread mThread;
    std::mutex mMutex;
    std::condition_variable mWake;
    uintptr_t mLeadBegin = 0;
    uintptr_t mLeadEnd = 0;
    uintptr_t mLeadDone = 0;
    std::atomic<std::size_t> mFilled{0};
    std::vector<std::pair<uintptr_t, uintptr_t>> mExtra;
    bool mStopping = false;
};

} // namespace

struct RecordLoader::FileWork
{
    ListTable lists;
    std::vector<std::pair<int32_t, int32_t>> runs;  // ascending stretches in reading order
    ListTable::Slot* pseudo[2] = {nullptr, nullptr};
    // A file of several runs is merged out of its reading order: the place
    // of each of its records in the store is kept (here), and the file is
    // filed into its lists after the merge.
    uint32_t* places = nullptr;
};

// The merge of every ascending run of every file into the store.
struct RecordLoader::Merge
{
    struct Run
    {
        uint32_t file;
        int32_t at;  // next record
        int32_t end;
    };
    struct Head
    {
        double time;
        uint32_t run;
    };

    std::vector<Run> runs;
    std::vector<Head> heap;
    std::vector<uint32_t, BulkAllocator<uint32_t>> places;
    std::vector<int> runOfFile;  // the run of a file of one run, else -1
    uint32_t total = 0;
    std::atomic<int64_t> scanned{0};
    std::atomic<int64_t> filed{0};
    Prefaulter* prefaulter = nullptr;

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
    const bool read = readGuarded(
        source.bytes.isMapped(),
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
                    if (calendarStep(calendar, s, canId, data)) {
                        // A date and a time sent one right after the other
                        // tell the instant of the first of the two.
                        s.calendarTime = t;
                        const uint32_t partner = canId == DateId ? TimeId : DateId;
                        if (i > 0 && recordCanId(p - RecordSize, swap) == partner)
                            s.calendarTime = std::min(t, RecordEntry::recordTime(p - RecordSize, swap));
                    }
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
        mWork[f].lists.clear();
        mWork[f].runs.clear();
    }
}

void RecordLoader::prepare(std::vector<RecordEntry>& store, std::map<uint32_t, RecordChannel>& channels)
{
    // Each list takes its messages file by file: the part of every file
    // starts where the files before it end.
    struct Target
    {
        uint32_t count = 0;
        uint32_t* next = nullptr;
        RecordIdList* list = nullptr;
    };
    channels.clear();
    std::unordered_map<uint64_t, Target> targets;
    std::size_t disordered = 0;
    for (std::size_t f = 0; f < mSources.size(); ++f) {
        if (mScans[f].failed)
            continue;
        if (mWork[f].runs.size() > 1)
            disordered += static_cast<std::size_t>(mScans[f].count);
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
    for (auto& t : targets) {
        t.second.next = t.second.list->entries.bind(&store, t.second.count);
        if (mMerge->prefaulter != nullptr)
            mMerge->prefaulter->add(t.second.next, t.second.count * sizeof(uint32_t));
    }
    mMerge->places.clear();
    mMerge->places.resize(disordered);
    uint32_t* places = mMerge->places.data();
    for (std::size_t f = 0; f < mSources.size(); ++f) {
        FileWork& w = mWork[f];
        w.places = nullptr;
        w.pseudo[0] = w.pseudo[1] = nullptr;
        if (mScans[f].failed)
            continue;
        const bool ordered = w.runs.size() <= 1;
        for (ListTable::Slot& s : w.lists.entries()) {
            if (!s.used || s.count == 0)
                continue;
            Target& t = targets[s.key];
            const uint32_t begin = t.list->entries.size() - t.count;
            t.list->entries.addPart({begin, begin + s.count, mSources[f].high, ordered});
            t.count -= s.count;
            s.out = t.next;
            t.next += s.count;
        }
        w.pseudo[0] = w.lists.find(listKey(0, RecordData::PseudoIdChannel0));
        w.pseudo[1] = w.lists.find(listKey(1, RecordData::PseudoIdChannel1));
        if (!ordered) {
            w.places = places;
            places += mScans[f].count;
        }
    }
}

bool RecordLoader::merge(std::vector<RecordEntry>& store, const Progress& progress, RecordTimeIndex::Builder* steps)
{
    Merge& m = *mMerge;
    m.runs.clear();
    m.heap.clear();
    m.runOfFile.assign(mSources.size(), -1);
    uint32_t total = 0;
    for (std::size_t f = 0; f < mSources.size(); ++f) {
        if (mScans[f].failed)
            continue;
        if (mWork[f].runs.size() == 1)
            m.runOfFile[f] = static_cast<int>(m.runs.size());
        for (const auto& run : mWork[f].runs)
            m.runs.push_back({static_cast<uint32_t>(f), run.first, run.second});
        total += static_cast<uint32_t>(mScans[f].count);
    }
    m.total = total;
    store.clear();

    bool mapped = false;
    for (const Source& s : mSources)
        mapped = mapped || s.bytes.isMapped();
    const void* fault = nullptr;
    const bool started = readGuarded(
        mapped,
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

    // Each message is decoded once, into its place in the store, and that
    // place goes into its lists at once (a file out of time order keeps it
    // for later). Runs earlier in reading order win ties.
    while (store.size() < m.total) {
        const std::size_t until = std::min<std::size_t>(m.total, store.size() + Stretch);
        const bool merged = readGuarded(
            mapped,
            [&] {
                while (store.size() < until) {
                    Merge::Head& head = m.heap[0];
                    Merge::Run& run = m.runs[head.run];
                    const Source& s = mSources[run.file];
                    FileWork& w = mWork[run.file];
                    const uint8_t* p = s.bytes.data() + std::size_t(run.at) * RecordSize;
                    const uint32_t place = static_cast<uint32_t>(store.size());
                    store.emplace_back();
                    RecordEntry& e = store.back();
                    e.fromRecord(p, s.swap, s.high, head.time);
                    if (steps != nullptr)
                        steps->add(place, head.time);
                    if (w.places != nullptr) {
                        w.places[run.at] = place;
                    } else {
                        *w.lists.find(listKey(e.channel, e.canId))->out++ = place;
                        if (e.channel < 2)
                            *w.pseudo[e.channel]->out++ = place | RecordView::BigEndian;
                    }
                    if (++run.at < run.end) {
                        head.time = RecordEntry::recordTime(p + RecordSize, s.swap);
                    } else {
                        m.heap[0] = m.heap.back();
                        m.heap.pop_back();
                        if (m.heap.empty())
                            break;
                    }
                    if (m.heap.size() > 1)
                        m.siftDown(0);
                }
            },
            &fault);
        if (!merged) {
            fail(fault);
            return false;
        }
        if (m.prefaulter != nullptr)
            m.prefaulter->follow(store.size() * sizeof(RecordEntry));
        // The pages of the files behind the merge are not read again.
        for (std::size_t f = 0; f < mSources.size(); ++f) {
            const int r = m.runOfFile[f];
            if (r >= 0)
                mSources[f].bytes.release(std::size_t(m.runs[static_cast<std::size_t>(r)].at) * RecordSize);
        }
        progress(ScanShare + MergeShare * (m.total > 0 ? static_cast<double>(store.size()) / m.total : 1.0));
    }
    return true;
}

void RecordLoader::fileDisordered(std::size_t f, const std::vector<RecordEntry>& store)
{
    FileWork& w = mWork[f];
    if (mScans[f].failed || w.places == nullptr)
        return;
    const RecordEntry* base = store.data();
    const int32_t n = mScans[f].count;
    constexpr int32_t Ahead = 8;
    for (int32_t i = 0; i < n; ++i) {
        if (i + Ahead < n)
            __builtin_prefetch(base + w.places[i + Ahead]);
        const uint32_t place = w.places[i];
        const RecordEntry& e = base[place];
        *w.lists.find(listKey(e.channel, e.canId))->out++ = place;
        if (e.channel < 2)
            *w.pseudo[e.channel]->out++ = place | RecordView::BigEndian;
    }
}

void RecordLoader::load(std::vector<RecordEntry>& store, std::map<uint32_t, RecordChannel>& channels,
                        const Progress& progress, RecordTimeIndex* index, double offset)
{
    channels.clear();
    store.clear();
    int64_t total = 0;
    for (const Source& s : mSources)
        total += s.count;
    store.reserve(static_cast<std::size_t>(total));
    BulkMemory::adviseHuge(store.data(), store.capacity() * sizeof(RecordEntry));

    Prefaulter prefaulter(mThreads > 1);
    mMerge->prefaulter = &prefaulter;
    prefaulter.lead(store.data(), store.capacity() * sizeof(RecordEntry));
    const double all = std::max<double>(1.0, static_cast<double>(total));
    ParallelWork::run(
        mSources.size(), mThreads, [&](std::size_t f) { scan(f); },
        [&] { progress(ScanShare * static_cast<double>(mMerge->scanned) / all); });

    // A file whose memory faults while it is merged is given up, and the
    // others are merged again without it.
    // The time keys of the store are noted as the merge fills it.
    bool high = false;
    for (const Source& s : mSources)
        high = high || s.high;
    std::unique_ptr<RecordTimeIndex::Builder> steps;
    do {
        prepare(store, channels);
        if (index != nullptr)
            steps = std::make_unique<RecordTimeIndex::Builder>(high, offset);
    } while (!merge(store, progress, steps.get()));
    if (steps != nullptr)
        steps->finish(*index, store.data(), store.size());
    prefaulter.stop();
    mMerge->prefaulter = nullptr;
    for (Source& s : mSources)
        s.bytes.close();

    if (!mMerge->places.empty())
        ParallelWork::run(
            mSources.size(), mThreads, [&](std::size_t f) { fileDisordered(f, store); }, [] {});
    std::vector<uint32_t, BulkAllocator<uint32_t>>().swap(mMerge->places);
}

} // namespace KAVO
