#include "Record.h"

#include "Notifier.h"
#include "SafeFile.h"

#include <QDate>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTime>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>
#include <new>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

#ifdef __linux__
#include <sys/mman.h>
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif
#endif

namespace KAVO {

namespace {

constexpr int HeaderSize = RecordRaw::HeaderSize;
constexpr int RecordSize = RecordEntry::RecordSize;
constexpr uint32_t DateId = 1206;
constexpr uint32_t TimeId = 1200;

// The memory budget of the tests; 0 takes what the system has.
qint64 gMemoryLimit = 0;

// What the system can still give: the kernel's estimate of available
// memory, bounded by this process's own limits.
qint64 systemMemory()
{
    qint64 available = -1;
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    long long kb = 0;
    std::string unit;
    while (meminfo >> key >> kb >> unit) {
        if (key == "MemAvailable:") {
            available = static_cast<qint64>(kb) * 1024;
            break;
        }
    }
    if (available < 0) {
        const long pages = sysconf(_SC_AVPHYS_PAGES);
        const long page = sysconf(_SC_PAGESIZE);
        available = pages > 0 && page > 0 ? static_cast<qint64>(pages) * page : std::numeric_limits<qint64>::max();
    }
    for (const int resource : {RLIMIT_AS, RLIMIT_DATA}) {
        struct rlimit limit;
        if (getrlimit(resource, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
            available = std::min<qint64>(available, static_cast<qint64>(limit.rlim_cur));
    }
    return available;
}

void reportFile(Notifier::Problem problem, const QString& path, const QString& detail, qint64 bytes = 0,
                qint64 available = 0)
{
    Notifier::Report report;
    report.problem = problem;
    report.path = path;
    report.detail = detail;
    report.bytes = bytes;
    report.available = available;
    Notifier::report(report);
}

// Fresh memory costs a page fault per page on first write, which on some
// machines costs more than all the copying of a load. The large arrays are
// therefore faulted in ahead in one call per stretch (where the system
// offers it; elsewhere this does nothing and the writes fault as usual).
void prefault(const void* data, std::size_t bytes)
{
#ifdef __linux__
    constexpr uintptr_t Page = 4096;
    if (data == nullptr || bytes == 0)
        return;
    const uintptr_t begin = reinterpret_cast<uintptr_t>(data) & ~(Page - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(data) + bytes + Page - 1) & ~(Page - 1);
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)data;
    (void)bytes;
#endif
}

// The records of one file as read, kept until they are filed.
struct FileBlock
{
    QString path;
    std::unique_ptr<uint8_t[]> buffer;
    int32_t count = 0;
    uint32_t first = 0;  // index of its first record in reading order
    bool swap = false;
    bool high = false;
};

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

// Open addressing from (channel, CAN id) to a message count and the list the
// messages go to: a std::map lookup per message would cost more than all
// the copying together.
class ListIndex
{
public:
    struct Slot
    {
        uint64_t key = 0;
        uint32_t count = 0;
        uint32_t prefaulted = 0;  // entries of the list faulted in so far
        bool used = false;
        RecordIdList* list = nullptr;

        // Appends to the list; the storage is faulted in a stretch ahead, so
        // that only what is filled counts towards the memory in use.
        void append(const RecordEntry& e, bool high)
        {
            std::vector<RecordEntry>& v = list->entries;
            if (v.size() >= prefaulted && v.size() < v.capacity()) {
                const std::size_t ahead = std::min<std::size_t>(v.capacity() - v.size(), 1u << 15);
                prefault(v.data() + v.size(), ahead * sizeof(RecordEntry));
                prefaulted = static_cast<uint32_t>(v.size() + ahead);
            }
            v.push_back(e);
            list->highFile = high;
        }
    };

    ListIndex() : mSlots(64) {}

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

    std::vector<Slot>& table() { return mSlots; }

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

// One ascending stretch of a file's records, in reading order.
struct Run
{
    const FileBlock* block;
    int32_t begin;
    int32_t end;
};

// One pass over all records: the ascending runs of the reading order (each
// file starts a run) and the number of messages of every list.
void scanBlocks(const std::vector<FileBlock>& blocks, std::vector<Run>& runs, ListIndex& index,
                uint32_t pseudoCount[2])
{
    for (const FileBlock& b : blocks) {
        const uint8_t* p = b.buffer.get();
        double previous = -std::numeric_limits<double>::infinity();
        int32_t begin = 0;
        for (int32_t i = 0; i < b.count; ++i, p += RecordSize) {
            const double t = RecordEntry::recordTime(p, b.swap);
            if (t < previous) {
                runs.push_back({&b, begin, i});
                begin = i;
            }
            previous = t;
            const uint16_t channel = recordChannel(p, b.swap);
            ++index.at(listKey(channel, recordCanId(p, b.swap))).count;
            if (channel < 2)
                ++pseudoCount[channel];
        }
        if (b.count > 0)
            runs.push_back({&b, begin, b.count});
    }
}

inline const uint8_t* recordAt(const Run& r, int32_t i)
{
    return r.block->buffer.get() + static_cast<std::size_t>(i) * RecordSize;
}

// Merges a few runs through a small heap of their heads; a run earlier in
// reading order wins ties, which keeps the sort stable.
void mergeFewRuns(const std::vector<Run>& runs, std::vector<RecordEntry>& out)
{
    struct Head
    {
        RecordEntry entry;
        int32_t next;
    };
    std::vector<Head> heads(runs.size());
    std::vector<uint32_t> heap;
    heap.reserve(runs.size());
    auto less = [&heads](uint32_t x, uint32_t y) {
        const double tx = heads[x].entry.time, ty = heads[y].entry.time;
        return tx < ty || (tx == ty && x < y);
    };
    auto siftDown = [&](std::size_t i) {
        const std::size_t n = heap.size();
        const uint32_t v = heap[i];
        for (;;) {
            std::size_t c = 2 * i + 1;
            if (c >= n)
                break;
            if (c + 1 < n && less(heap[c + 1], heap[c]))
                ++c;
            if (!less(heap[c], v))
                break;
            heap[i] = heap[c];
            i = c;
        }
        heap[i] = v;
    };
    for (uint32_t r = 0; r < runs.size(); ++r) {
        heads[r].entry.fromRecord(recordAt(runs[r], runs[r].begin), runs[r].block->swap, runs[r].block->high);
        heads[r].next = runs[r].begin + 1;
        heap.push_back(r);
    }
    for (std::size_t i = heap.size() / 2; i-- > 0;)
        siftDown(i);
    while (!heap.empty()) {
        const uint32_t r = heap[0];
        Head& h = heads[r];
        out.push_back(h.entry);
        const Run& run = runs[r];
        if (h.next < run.end) {
            h.entry.fromRecord(recordAt(run, h.next), run.block->swap, run.block->high);
            ++h.next;
        } else {
            heap[0] = heap.back();
            heap.pop_back();
            if (heap.empty())
                break;
        }
        siftDown(0);
    }
}

// Many runs (files out of time order): a stable bottom-up merge sort of an
// index over the runs, then the entries in that order.
void mergeManyRuns(const std::vector<Run>& runs, uint32_t total, std::vector<RecordEntry>& out)
{
    std::vector<double> times(total);
    std::vector<uint32_t> runStarts;
    runStarts.reserve(runs.size() + 1);
    std::vector<const uint8_t*> where(total);
    uint32_t g = 0;
    for (const Run& r : runs) {
        runStarts.push_back(g);
        for (int32_t i = r.begin; i < r.end; ++i, ++g) {
            where[g] = recordAt(r, i);
            times[g] = RecordEntry::recordTime(where[g], r.block->swap);
        }
    }
    runStarts.push_back(total);

    std::vector<uint32_t> a(total);
    std::vector<uint32_t> tmp(total);
    for (uint32_t i = 0; i < total; ++i)
        a[i] = i;
    while (runStarts.size() > 2) {
        const std::size_t count = runStarts.size() - 1;
        std::vector<uint32_t> next;
        next.reserve(count / 2 + 2);
        std::size_t r = 0;
        for (; r + 1 < count; r += 2) {
            const uint32_t s0 = runStarts[r], s1 = runStarts[r + 1], s2 = runStarts[r + 2];
            next.push_back(s0);
            uint32_t i = s0, j = s1, k = s0;
            while (i < s1 && j < s2)
                tmp[k++] = (times[a[j]] < times[a[i]]) ? a[j++] : a[i++];
            auto rest = std::copy(a.begin() + i, a.begin() + s1, tmp.begin() + k);
            std::copy(a.begin() + j, a.begin() + s2, rest);
        }
        if (r < count) {
            next.push_back(runStarts[r]);
            std::copy(a.begin() + runStarts[r], a.begin() + runStarts[r + 1], tmp.begin() + runStarts[r]);
        }
        next.push_back(total);
        a.swap(tmp);
        runStarts.swap(next);
    }
    std::vector<double>().swap(times);
    std::vector<uint32_t>().swap(tmp);

    // Where each global index came from: its run's block decides byte order and flag.
    std::vector<const FileBlock*> blockOf(runs.size());
    std::vector<uint32_t> runOf(total);
    g = 0;
    for (uint32_t r = 0; r < runs.size(); ++r)
        for (int32_t i = runs[r].begin; i < runs[r].end; ++i)
            runOf[g++] = r;
    RecordEntry e;
    for (uint32_t i = 0; i < total; ++i) {
        const FileBlock* b = runs[runOf[a[i]]].block;
        e.fromRecord(where[a[i]], b->swap, b->high);
        out.push_back(e);
    }
}

// Sorts the messages of all runs by time into 'out', stably: messages of
// equal time keep their reading order. Record files are written in time
// order, so there is one run per file, or a few more.
void sortedEntries(const std::vector<Run>& runs, uint32_t total, std::vector<RecordEntry>& out)
{
    out.reserve(total);
    prefault(out.data(), out.capacity() * sizeof(RecordEntry));
    if (runs.size() == 1) {
        const Run& r = runs[0];
        RecordEntry e;
        for (int32_t i = r.begin; i < r.end; ++i) {
            e.fromRecord(recordAt(r, i), r.block->swap, r.block->high);
            out.push_back(e);
        }
    } else if (runs.size() <= 64) {
        mergeFewRuns(runs, out);
    } else {
        mergeManyRuns(runs, total, out);
    }
}

// The calendar time of one file from its date and time messages.
struct CalendarState
{
    int day = 0, month = 0, year = 0;
    int hour = 0, minute = 0, second = 0;
    bool haveDate = false;
    bool haveTime = false;
    bool fixed = false;
};

} // namespace

Record::Record() = default;

int32_t Record::recordCount(qint64 fileSize)
{
    if (fileSize < HeaderSize)
        return 0;
    const qint64 n = (fileSize - HeaderSize) / RecordSize;
    return n > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(n);
}

bool Record::isHighFile(const QString& path)
{
    const QString name = path.mid(path.lastIndexOf('/') + 1);
    const QString digits = name.mid(4, 4);
    if (digits.isEmpty())
        return false;
    int value = 0;
    for (const QChar c : digits) {
        const int d = (c >= '0' && c <= '9') ? c.unicode() - '0'
                      : (c >= 'a' && c <= 'f') ? c.unicode() - 'a' + 10
                      : (c >= 'A' && c <= 'F') ? c.unicode() - 'A' + 10
                                               : -1;
        if (d < 0)
            return false;  // not a number: counts as 0
        value = value * 16 + d;
    }
    return value > 0x7FFF;
}

QString Record::directoryOf(const QString& path)
{
    const int slash = path.lastIndexOf('/');
    if (slash < 0)
        return QStringLiteral(".");
    if (slash == 0)
        return QStringLiteral("/");
    return path.left(slash);
}

void Record::decideByteOrder(const uint8_t* header, int size)
{
    uint16_t mark = 0;
    if (size >= 2)
        std::memcpy(&mark, header, sizeof mark);
    // Any other mark is read as the opposite of the host's order.
    mSwap = mark != 0xABBA;
}

int Record::readInfo(QIODevice& file, bool identification, uint8_t* header)
{
    std::memset(header, 0, HeaderSize);
    int size = 0;
    while (size < HeaderSize) {
        const qint64 n = file.read(reinterpret_cast<char*>(header) + size, HeaderSize - size);
        if (n <= 0)
            break;
        size += static_cast<int>(n);
    }

    decideByteOrder(header, size);
    mRecordInfo.clearHeaderFields();

    int pos = 12;
    int16_t year = 0;
    uint8_t month = 0, day = 0, hour = 0, minute = 0, second = 0;
    getbShort(header, size, pos, year);
    getbUChar(header, size, pos, month);
    getbUChar(header, size, pos, day);
    getbUChar(header, size, pos, hour);
    getbUChar(header, size, pos, minute);
    getbUChar(header, size, pos, second);
    mRecordInfo.dateTime = QDateTime(QDate(year, month, day), QTime(hour, minute, second, 0), Qt::LocalTime);

    pos = 20;
    uint32_t high = 0, low = 0;
    getbUInt(header, size, pos, high);
    getbUInt(header, size, pos, low);
    if (identification)
        mRecordInfo.startTime = RecordEntry::ticksToSeconds(high, low);

    getbUInt(header, size, pos, mRecordInfo.busType);
    getbUInt(header, size, pos, mRecordInfo.ecuSerialNumber);
    getbString(header, size, pos, mRecordInfo.swPartA, 13);
    getbString(header, size, pos, mRecordInfo.ecuType, 13);
    getbString(header, size, pos, mRecordInfo.engineSerialNumber, 13);
    getbString(header, size, pos, mRecordInfo.engineType, 13);
    getbString(header, size, pos, mRecordInfo.swPartB, 13);
    getbString(header, size, pos, mRecordInfo.emuSwVersion, 7);
    return size;
}

bool Record::readRecordInfo(const QString& path)
{
    mRecordInfo.path = path;
    QFile file;
    QString why;
    if (SafeFile::openForReading(file, path, {}, &why) != SafeFile::Opened) {
        printf("Could not open %s\n", path.toLocal8Bit().constData());
        printf("    %s\n", why.toLocal8Bit().constData());
        return false;
    }
    mRecords = recordCount(file.size());
    mRecordInfo.samples = mRecords;

    uint8_t header[HeaderSize];
    readInfo(file, true, header);

    if (mRecords > 0) {
        uint8_t record[RecordSize];
        if (file.seek(HeaderSize) && file.read(reinterpret_cast<char*>(record), RecordSize) == RecordSize)
            mRecordInfo.startTime = RecordEntry::recordTime(record, mSwap);
        const qint64 last = HeaderSize + static_cast<qint64>(RecordSize) * (mRecords - 1);
        if (file.seek(last) && file.read(reinterpret_cast<char*>(record), RecordSize) == RecordSize)
            mRecordInfo.stopTime = RecordEntry::recordTime(record, mSwap);
        // The card list shows a high file's span on the common timeline, as
        // the recording shows its messages.
        if (isHighFile(path)) {
            mRecordDirectory = directoryOf(path);
            loadOffset();
            mRecordInfo.startTime += mRecordData.offset;
            mRecordInfo.stopTime += mRecordData.offset;
        }
    }
    return true;
}

bool Record::readRecordData(const QStringList& paths)
{
    mRecordData.channels.clear();
    mRecordData.nrRecords = 0;
    std::vector<RecordEntry>().swap(mRaw.entries);

    // Read every file whole first: the sort then runs over all of them, and
    // each file's block is released as soon as its messages are filed.
    std::vector<FileBlock> blocks;
    blocks.reserve(static_cast<std::size_t>(paths.size()));
    uint32_t total = 0;
    bool allRead = true;
    const qint64 budget = gMemoryLimit > 0 ? gMemoryLimit : systemMemory();
    qint64 planned = 0;
    QSet<QString> refusedOffsets;
    for (const QString& path : paths) {
        // A file that cannot be read is skipped and reported; the others
        // still load.
        QFile file;
        QString why;
        const SafeFile::OpenResult opened = SafeFile::openForReading(file, path, QIODevice::Unbuffered, &why);
        if (opened != SafeFile::Opened) {
            printf("Could not open %s\n", path.toLocal8Bit().constData());
            printf("    %s\n", why.toLocal8Bit().constData());
            reportFile(opened == SafeFile::NotRegular ? Notifier::Problem::FileNotRegular
                                                      : Notifier::Problem::FileNotOpened,
                       path, why);
            allRead = false;
            continue;
        }
        // Checked before anything is allocated: a file too big for the
        // memory is refused whole, never read in part.
        const qint64 size = file.size();
        const qint64 count = size < HeaderSize ? 0 : (size - HeaderSize) / RecordSize;
        const qint64 need = memoryFor(count);
        const qint64 room = std::numeric_limits<int32_t>::max() - static_cast<qint64>(total);
        if (count > room || need > budget - planned) {
            printf("Record::readData <%s> too big: %lld records need %lld bytes, %lld bytes available\n",
                   path.toLocal8Bit().constData(), static_cast<long long>(count), static_cast<long long>(need),
                   static_cast<long long>(std::max<qint64>(0, budget - planned)));
            reportFile(Notifier::Problem::FileTooBig, path, QString(), need, std::max<qint64>(0, budget - planned));
            allRead = false;
            continue;
        }
        planned += need;

        mRecordDirectory = directoryOf(path);
        loadOffset();
        if (!mRefusedOffsetFile.isEmpty() && !refusedOffsets.contains(mRefusedOffsetFile)) {
            refusedOffsets.insert(mRefusedOffsetFile);
            Notifier::Report report;
            report.problem = Notifier::Problem::OffsetRefused;
            report.path = mRefusedOffsetFile;
            report.value = mRefusedOffset;
            Notifier::report(report);
        }
        mHighFile = isHighFile(path);
        mRecords = static_cast<int32_t>(count);
        mRecordInfo.samples = mRecords;

        uint8_t header[HeaderSize];
        const int headerSize = readInfo(file, false, header);
        if (total == 0) {
            mRaw.header.fill(0);
            std::memcpy(mRaw.header.data(), header, static_cast<std::size_t>(headerSize));
        }

        FileBlock block;
        block.path = path;
        block.swap = mSwap;
        block.high = mHighFile;
        block.first = total;
        if (mRecords > 0) {
            const qint64 bytes = static_cast<qint64>(mRecords) * RecordSize;
            block.buffer.reset(new (std::nothrow) uint8_t[static_cast<std::size_t>(bytes)]);
            prefault(block.buffer.get(), static_cast<std::size_t>(bytes));
            printf("Record::readData size %lld records %d mRecordData.nrRecords %u buf %p\n",
                   static_cast<long long>(bytes), mRecords, total, static_cast<void*>(block.buffer.get()));
            if (!block.buffer) {
                printf("Record::readData no memory for <%s>\n", path.toLocal8Bit().constData());
            } else {
                qint64 got = 0;
                while (got < bytes) {
                    const qint64 n = file.read(reinterpret_cast<char*>(block.buffer.get()) + got, bytes - got);
                    if (n <= 0)
                        break;
                    got += n;
                }
                // A file that shrank meanwhile gives the records present.
                block.count = static_cast<int32_t>(got / RecordSize);
                if (got < bytes) {
                    printf("Record::readData short read <%s> %d of %d records\n", path.toLocal8Bit().constData(),
                           block.count, mRecords);
                    mRecordInfo.samples = block.count;
                }
            }
        }
        total += static_cast<uint32_t>(block.count);
        blocks.push_back(std::move(block));
    }

    try {
        // The messages of every list are counted first, so that each list
        // is allocated once at its final size.
        ListIndex index;
        uint32_t pseudoCount[2] = {0, 0};
        std::vector<Run> runs;
        scanBlocks(blocks, runs, index, pseudoCount);
        sortedEntries(runs, total, mRaw.entries);
        const uint32_t pseudoIds[2] = {RecordData::PseudoIdChannel0, RecordData::PseudoIdChannel1};
        for (uint32_t c = 0; c < 2; ++c) {
            if (pseudoCount[c] > 0)
                index.at(listKey(c, pseudoIds[c])).count += pseudoCount[c];
        }
        for (ListIndex::Slot& s : index.table()) {
            if (!s.used)
                continue;
            s.list = &mRecordData.channels[static_cast<uint32_t>(s.key >> 32)][static_cast<uint32_t>(s.key)];
            s.list->entries.reserve(s.count);
        }
        ListIndex::Slot* pseudoSlot[2] = {nullptr, nullptr};
        for (uint32_t c = 0; c < 2; ++c) {
            if (pseudoCount[c] > 0)
                pseudoSlot[c] = &index.at(listKey(c, pseudoIds[c]));
        }

        RecordInfo& info = mRecordInfo;
        for (FileBlock& b : blocks) {
            mHighFile = b.high;
            mRecords = b.count;
            mProgress = 0;
            mReportedProgress = 0;
            CalendarState cal;
            RecordEntry e;
            const uint8_t* p = b.buffer.get();
            const float n = static_cast<float>(b.count);
            for (int32_t i = 0; i < b.count; ++i, p += RecordSize) {
                e.fromRecord(p, b.swap, b.high);

                if (!cal.fixed && (e.canId == DateId || e.canId == TimeId)) {
                    if (e.canId == DateId) {
                        cal.day = e.data[4];
                        cal.month = e.data[5];
                        cal.year = (e.data[6] << 8) | e.data[7];
                        cal.haveDate = true;
                    } else {
                        cal.hour = e.data[4];
                        cal.minute = e.data[5];
                        cal.second = e.data[6];
                        cal.haveTime = true;
                    }
                    if (cal.haveDate && cal.haveTime) {
                        const QDateTime dt(QDate(cal.year, cal.month, cal.day),
                                           QTime(cal.hour, cal.minute, cal.second), Qt::LocalTime);
                        if (dt.isValid()) {
                            info.utcStart = dt.toSecsSinceEpoch();
                            printf("### Time <%s> year %d month %d day %d\n",
                                   dt.toString("dd.MM.yyyy hh:mm:ss").toLocal8Bit().constData(), cal.year,
                                   cal.month, cal.day);
                            cal.fixed = true;
                        } else {
                            // A garbled date or time must not become a calendar time;
                            // a later pair of messages may still give a valid one.
                            printf("Record::readData invalid date <%02d.%02d.%04d %02d:%02d:%02d> in <%s>\n",
                                   cal.day, cal.month, cal.year, cal.hour, cal.minute, cal.second,
                                   b.path.toLocal8Bit().constData());
                        }
                    }
                }

                ListIndex::Slot& slot = index.at(listKey(e.channel, e.canId));
                slot.append(e, b.high);
                if (e.channel < 2)
                    pseudoSlot[e.channel]->append(e.bigEndianCopy(), b.high);

                if (mRecordData.nrRecords == 0) {
                    info.startTime = e.time;
                    info.stopTime = e.time;
                    printf("First Time 0 %f\n", e.time);
                } else {
                    if (e.time < info.startTime)
                        info.startTime = e.time;
                    if (e.time > info.stopTime)
                        info.stopTime = e.time;
                }

                mProgress = static_cast<int32_t>(static_cast<float>(i) / n * 100);
                if (mProgress != mReportedProgress) {
                    mReportedProgress = mProgress;
                    Notifier::progress(mProgress);
                }
                ++mRecordData.nrRecords;
            }
            printf("Start Time %f Stop Time %f\n", info.startTime, info.stopTime);
            printf("<%s> mRecordInfo.startTime %.0f mRecordInfo.stopTime %.0f\n", b.path.toLocal8Bit().constData(),
                   info.startTime, info.stopTime);
            b.buffer.reset();
        }
        updateTimeRange();
    } catch (const std::bad_alloc&) {
        printf("Record::readRecordData out of memory, %u records\n", total);
        mRecordData.channels.clear();
        mRecordData.nrRecords = 0;
        std::vector<RecordEntry>().swap(mRaw.entries);
        return false;
    }
    return allRead;
}

bool Record::setOffset(double seconds)
{
    const double previous = mRecordData.offset;
    mRecordData.offset = seconds;
    if (saveOffset()) {
        updateTimeRange();
        return true;
    }
    // The file keeps the old value, and so does the recording: the window
    // must not show an offset that the next load would not find.
    mRecordData.offset = previous;
    Notifier::Report report;
    report.problem = Notifier::Problem::OffsetNotSaved;
    report.path = offsetFile();
    report.value = previous;
    Notifier::report(report);
    return false;
}

QString Record::offsetFile() const
{
    return QString("%1/Offset.xml").arg(mRecordDirectory);
}

void Record::setMemoryLimit(qint64 bytes)
{
    gMemoryLimit = bytes;
}

qint64 Record::memoryFor(qint64 records)
{
    // The file's block, the time-sorted list, the message's own list and a
    // pseudo-id copy, and the index of the sort.
    constexpr qint64 PerRecord = RecordSize + 3 * static_cast<qint64>(sizeof(RecordEntry)) + 32;
    return records <= 0 ? 0 : records * PerRecord;
}

void Record::updateTimeRange()
{
    const std::vector<RecordEntry>& entries = mRaw.entries;
    if (entries.empty())
        return;
    double start = mRecordData.timeOf(entries.front());
    double stop = start;
    for (const RecordEntry& e : entries) {
        const double t = mRecordData.timeOf(e);
        start = std::min(start, t);
        stop = std::max(stop, t);
    }
    mRecordInfo.startTime = start;
    mRecordInfo.stopTime = stop;
}

bool Record::saveOffset()
{
    if (mRecordDirectory.isEmpty()) {
        printf("Write Offset: no record directory\n");
        return false;
    }
    QDomDocument document;
    QDomElement root = mXml.xmlCreateElement(document, document, "KavoOffset");
    QDomElement offset = mXml.xmlCreateElement(document, root, "Offset");
    mXml.xmlCreateAttribute(document, offset, "value", mRecordData.offset);
    const QString path = offsetFile();
    printf("Write Offset <%s>\n", path.toLocal8Bit().constData());
    return mXml.xmlWriteFile(document, path);
}

bool Record::loadOffset()
{
    // A folder without an offset file has offset 0: the offset of a folder
    // read before must never shift the times of another card.
    mRecordData.offset = 0.0;
    mRefusedOffsetFile.clear();
    mRefusedOffset = 0.0;
    const QString path = offsetFile();
    if (!QFileInfo::exists(path))
        return false;
    QDomDocument document;
    if (!mXml.xmlReadFile(document, path))
        return false;
    for (QDomElement e = document.documentElement().firstChildElement("Offset"); !e.isNull();
         e = e.nextSiblingElement("Offset")) {
        double v = mXml.xmlGetDoubleAttribute(e.attributes(), "value", 0.0);
        if (!std::isfinite(v)) {
            printf("loadOffset: invalid value in <%s>\n", path.toLocal8Bit().constData());
            v = 0.0;
        } else if (std::fabs(v) > OffsetLimit) {
            // Beyond what the offset field can show or set: times pushed
            // that far make every export run away.
            printf("loadOffset: offset %g s in <%s> lies outside -%g to %g s, 0 is used\n", v,
                   path.toLocal8Bit().constData(), OffsetLimit, OffsetLimit);
            mRefusedOffsetFile = path;
            mRefusedOffset = v;
            v = 0.0;
        }
        mRecordData.offset = v;
        printf("loadOffset %f\n", mRecordData.offset);
    }
    return true;
}

template <typename T>
bool Record::getValue(QIODevice& file, T& value)
{
    T v;
    if (file.read(reinterpret_cast<char*>(&v), sizeof v) != static_cast<qint64>(sizeof v)) {
        value = 0;
        return false;
    }
    value = mSwap ? qbswap(v) : v;
    return true;
}

template <typename T>
bool Record::getbValue(const uint8_t* buffer, int size, int& position, T& value) const
{
    const int at = position;
    position += static_cast<int>(sizeof(T));
    if (buffer == nullptr || at < 0 || at > size - static_cast<int>(sizeof(T))) {
        value = 0;
        return false;
    }
    T v;
    std::memcpy(&v, buffer + at, sizeof v);
    value = mSwap ? qbswap(v) : v;
    return true;
}

bool Record::getChar(QIODevice& file, int8_t& value) { return getValue(file, value); }
bool Record::getUChar(QIODevice& file, uint8_t& value) { return getValue(file, value); }
bool Record::getShort(QIODevice& file, int16_t& value) { return getValue(file, value); }
bool Record::getUShort(QIODevice& file, uint16_t& value) { return getValue(file, value); }
bool Record::getInt(QIODevice& file, int32_t& value) { return getValue(file, value); }
bool Record::getUInt(QIODevice& file, uint32_t& value) { return getValue(file, value); }

bool Record::getString(QIODevice& file, char* buffer, int length)
{
    if (length < 0)
        length = 0;
    if (file.read(buffer, length) != length) {
        buffer[0] = '\0';
        return false;
    }
    buffer[length] = '\0';
    return true;
}

bool Record::getbChar(const uint8_t* b, int size, int& pos, int8_t& v) const { return getbValue(b, size, pos, v); }
bool Record::getbUChar(const uint8_t* b, int size, int& pos, uint8_t& v) const { return getbValue(b, size, pos, v); }
bool Record::getbShort(const uint8_t* b, int size, int& pos, int16_t& v) const { return getbValue(b, size, pos, v); }
bool Record::getbUShort(const uint8_t* b, int size, int& pos, uint16_t& v) const
{
    return getbValue(b, size, pos, v);
}
bool Record::getbInt(const uint8_t* b, int size, int& pos, int32_t& v) const { return getbValue(b, size, pos, v); }
bool Record::getbUInt(const uint8_t* b, int size, int& pos, uint32_t& v) const { return getbValue(b, size, pos, v); }

bool Record::getbString(const uint8_t* buffer, int size, int& position, char* text, int length) const
{
    const int at = position;
    position += length;
    if (buffer == nullptr || length < 0 || at < 0 || at > size - length) {
        std::memset(text, 0, static_cast<std::size_t>(std::max(length, 0)) + 1);
        return false;
    }
    std::memcpy(text, buffer + at, static_cast<std::size_t>(length));
    text[length] = '\0';
    return true;
}

} // namespace KAVO
