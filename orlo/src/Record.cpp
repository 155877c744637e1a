#include "Record.h"

#include "Notifier.h"
#include "ParallelWork.h"
#include "RecordLoader.h"
#include "SafeFile.h"

#include <QDate>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTime>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
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


namespace KAVO {

namespace {

constexpr int HeaderSize = RecordRaw::HeaderSize;
constexpr int RecordSize = RecordEntry::RecordSize;

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

// Percentages of the progress: per file from 0 to at most 99, starting
// again with each file, as reading the files one after the other gives them.
// The load's work is shared out over the files by their record counts, so
// the bar moves evenly over the whole load.
class FileProgress
{
public:
    explicit FileProgress(std::vector<int32_t> counts) : mCounts(std::move(counts))
    {
        for (int32_t n : mCounts)
            mTotal += n;
    }

    // Reports what the share `done` (0 to 1) of the work reaches.
    void advance(double done)
    {
        double left = std::min(1.0, std::max(0.0, done)) * static_cast<double>(mTotal) - static_cast<double>(mBefore);
        while (mFile < mCounts.size()) {
            const int32_t n = mCounts[mFile];
            const int64_t reached = static_cast<int64_t>(std::min<double>(left, n));  // records passed
            for (int64_t i = mNext; i < reached; i = mNext) {
                const int32_t p = percent(i, n);
                if (p != mReported) {
                    mReported = p;
                    Notifier::progress(p);
                }
                mNext = nextChange(i, n);
            }
            if (left < n)
                return;
            left -= n;
            mBefore += n;
            ++mFile;
            mNext = 0;
            mReported = 0;
        }
    }

private:
    static int32_t percent(int64_t i, int32_t n)
    {
        return static_cast<int32_t>(static_cast<float>(i) / static_cast<float>(n) * 100);
    }
    // The first record after i whose percentage differs from i's.
    static int64_t nextChange(int64_t i, int32_t n)
    {
        const int32_t p = percent(i, n);
        int64_t j = std::max<int64_t>(i + 1, static_cast<int64_t>((static_cast<double>(p) + 1) * n / 100) - 2);
        while (j > i + 1 && percent(j - 1, n) != p)
            --j;
        while (j < n && percent(j, n) == p)
            ++j;
        return j;
    }

    std::vector<int32_t> mCounts;
    int64_t mTotal = 0;
    int64_t mBefore = 0;  // records of the files done
    std::size_t mFile = 0;
    int64_t mNext = 0;    // next record of the file to report
    int32_t mReported = 0;
};

} // namespace

Record::Record() = default;

Record::Record(const Record& other)
    : mRecordInfo(other.mRecordInfo),
      mRecordData(other.mRecordData),
      mRaw(other.mRaw),
      mSwap(other.mSwap),
      mHighFile(other.mHighFile),
      mRecords(other.mRecords),
      mRecordDirectory(other.mRecordDirectory),
      mRefusedOffsetFile(other.mRefusedOffsetFile),
      mRefusedOffset(other.mRefusedOffset)
{
    rebindViews();
}

Record::Record(Record&& other) noexcept
    : mRecordInfo(std::move(other.mRecordInfo)),
      mRecordData(std::move(other.mRecordData)),
      mRaw(std::move(other.mRaw)),
      mSwap(other.mSwap),
      mHighFile(other.mHighFile),
      mRecords(other.mRecords),
      mRecordDirectory(std::move(other.mRecordDirectory)),
      mRefusedOffsetFile(std::move(other.mRefusedOffsetFile)),
      mRefusedOffset(other.mRefusedOffset),
      mTimeIndex(std::move(other.mTimeIndex))
{
    rebindViews();
}

Record& Record::operator=(const Record& other)
{
    if (this != &other) {
        Record copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Record& Record::operator=(Record&& other) noexcept
{
    if (this != &other) {
        mRecordInfo = std::move(other.mRecordInfo);
        mRecordData = std::move(other.mRecordData);
        mRaw = std::move(other.mRaw);
        mSwap = other.mSwap;
        mHighFile = other.mHighFile;
        mRecords = other.mRecords;
        mRecordDirectory = std::move(other.mRecordDirectory);
        mRefusedOffsetFile = std::move(other.mRefusedOffsetFile);
        mRefusedOffset = other.mRefusedOffset;
        mTimeIndex = std::move(other.mTimeIndex);
        rebindViews();
    }
    return *this;
}

void Record::rebindViews()
{
    for (auto& channel : mRecordData.channels)
        for (auto& list : channel.second)
            list.second.entries.rebind(&mRaw.entries);
}

const RecordTimeIndex& Record::timeIndex(bool high) const
{
    if (!mTimeIndex.fits(mRaw.entries, high, mRecordData.offset))
        mTimeIndex.build(mRaw.entries, high, mRecordData.offset);
    return mTimeIndex;
}

void Record::setWorkerThreads(int threads)
{
    ParallelWork::setThreads(threads);
}

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
    mTimeIndex.clear();

    // Every file is opened and checked first; the loader then scans the
    // files side by side, merges them into the time-sorted list and files
    // every message into the lists of its ids.
    std::vector<RecordLoader::Source> sources;
    QStringList sourcePaths;
    sources.reserve(static_cast<std::size_t>(paths.size()));
    uint32_t total = 0;
    bool allRead = true;
    // The system's free memory is looked up only for a selection that
    // needs much of it (reading it costs more than a small card's load).
    constexpr qint64 SmallSelection = qint64(64) << 20;
    qint64 budget = gMemoryLimit > 0 ? gMemoryLimit : -1;
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
        if (budget < 0 && planned + need > SmallSelection)
            budget = systemMemory();
        if (count > room || (budget >= 0 && need > budget - planned)) {
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

        RecordLoader::Source source;
        source.swap = mSwap;
        source.high = mHighFile;
        if (mRecords > 0) {
            const qint64 bytes = static_cast<qint64>(mRecords) * RecordSize;
            QString failure;
            const bool opened = source.bytes.open(file, HeaderSize, bytes, &failure);
            printf("Record::readData size %lld records %d mRecordData.nrRecords %u buf %p\n",
                   static_cast<long long>(bytes), mRecords, total, static_cast<const void*>(source.bytes.data()));
            if (!opened) {
                printf("Record::readData no memory for <%s>: %s\n", path.toLocal8Bit().constData(),
                       failure.toLocal8Bit().constData());
            } else {
                // A file that shrank meanwhile gives the records present.
                source.count = static_cast<int32_t>(source.bytes.size() / RecordSize);
                if (source.count < mRecords) {
                    printf("Record::readData short read <%s> %d of %d records\n", path.toLocal8Bit().constData(),
                           source.count, mRecords);
                    mRecordInfo.samples = source.count;
                }
            }
        }
        total += static_cast<uint32_t>(source.count);
        sources.push_back(std::move(source));
        sourcePaths << path;
    }

    std::vector<int32_t> counts;
    std::vector<bool> sourceHigh;
    for (const RecordLoader::Source& s : sources) {
        counts.push_back(s.count);
        sourceHigh.push_back(s.high);
    }
    FileProgress progress(counts);
    try {
        RecordLoader loader(std::move(sources), ParallelWork::threads(total));
        loader.load(
            mRaw.entries, mRecordData.channels, [&progress](double done) { progress.advance(done); }, &mTimeIndex,
            mRecordData.offset);
        progress.advance(1.0);

        // What the files gave, told in reading order.
        RecordInfo& info = mRecordInfo;
        for (std::size_t f = 0; f < loader.scans().size(); ++f) {
            const RecordLoader::FileScan& scan = loader.scans()[f];
            const QByteArray path = sourcePaths[static_cast<int>(f)].toLocal8Bit();
            if (scan.failed) {
                // Its mapped bytes faulted: the file was cut or its medium
                // went away while it was read.
                printf("Record::readData <%s> could not be read to its end\n", path.constData());
                reportFile(Notifier::Problem::FileNotOpened, sourcePaths[static_cast<int>(f)],
                           QString::fromLocal8Bit(strerror(EIO)));
                allRead = false;
                continue;
            }
            if (scan.count > 0 && mRecordData.nrRecords == 0) {
                info.startTime = scan.first;
                info.stopTime = scan.first;
                printf("First Time 0 %f\n", scan.first);
            }
            for (const RecordLoader::DateTime& c : scan.invalidCalendars)
                printf("Record::readData invalid date <%02d.%02d.%04d %02d:%02d:%02d> in <%s>\n", c.day, c.month,
                       c.year, c.hour, c.minute, c.second, path.constData());
            if (scan.calendarFixed) {
                const RecordLoader::DateTime& c = scan.calendar;
                const QDateTime dt(QDate(c.year, c.month, c.day), QTime(c.hour, c.minute, c.second), Qt::LocalTime);
                info.utcStart = dt.toSecsSinceEpoch();
                info.utcAnchored = true;
                info.utcAnchor = scan.calendarTime;
                info.utcAnchorHigh = sourceHigh[f];
                printf("### Time <%s> year %d month %d day %d\n",
                       dt.toString("dd.MM.yyyy hh:mm:ss").toLocal8Bit().constData(), c.year, c.month, c.day);
            }
            if (scan.count > 0) {
                info.startTime = std::min(info.startTime, scan.low);
                info.stopTime = std::max(info.stopTime, scan.high);
            }
            mRecordData.nrRecords += scan.count;
            printf("Start Time %f Stop Time %f\n", info.startTime, info.stopTime);
            printf("<%s> mRecordInfo.startTime %.0f mRecordInfo.stopTime %.0f\n", path.constData(), info.startTime,
                   info.stopTime);
        }
        // The span on the common timeline, from the files' own spans (as
        // updateTimeRange finds it from the messages).
        bool first = true;
        for (std::size_t f = 0; f < loader.scans().size(); ++f) {
            const RecordLoader::FileScan& scan = loader.scans()[f];
            if (scan.failed || scan.count == 0)
                continue;
            const double shift = sourceHigh[f] ? mRecordData.offset : 0.0;
            const double low = scan.low + shift;
            const double high = scan.high + shift;
            info.startTime = first ? low : std::min(info.startTime, low);
            info.stopTime = first ? high : std::max(info.stopTime, high);
            first = false;
        }
    } catch (const std::bad_alloc&) {
        printf("Record::readRecordData out of memory, %u records\n", total);
        mTimeIndex.clear();
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
    // The file's bytes while they are read (mapped or copied), the message
    // in the time-sorted list, its place in its own list and in the
    // pseudo-id list, and its place in the sort while the lists are filled.
    constexpr qint64 PerRecord = RecordSize + static_cast<qint64>(sizeof(RecordEntry)) + 3 * 4;
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
