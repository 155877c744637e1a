#ifndef ORLO_RECORDLOADER_H
#define ORLO_RECORDLOADER_H

#include "MappedFile.h"
#include "RecordChannel.h"
#include "RecordEntry.h"
#include "RecordTimeIndex.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace KAVO {

// The work of Record::readRecordData on the records of its files: scan
// every file (one worker thread per file) for its runs in time order and
// the sizes of its lists, then merge all runs into the one time-sorted
// message list, decoding each message once on its way in and filing its
// place in the views of its channel and CAN id (and of its pseudo id). The
// call is synchronous: the calling thread merges and reports the progress;
// meanwhile a worker asks the kernel for the memory just ahead of the
// merge, and the pages of the files behind it are given back.
class RecordLoader
{
public:
    // One file's records as they lie in memory.
    struct Source
    {
        MappedFile bytes;   // the records, from byte 128 of the file
        int32_t count = 0;  // whole records in bytes
        bool swap = false;  // the file's byte order is not the host's
        bool high = false;  // the file takes the folder's time offset
    };

    struct DateTime
    {
        int day = 0, month = 0, year = 0;
        int hour = 0, minute = 0, second = 0;
    };

    // What the scan found in one file.
    struct FileScan
    {
        int32_t count = 0;        // records filed (0 when the file failed)
        bool failed = false;      // its memory faulted: the file changed while it was read
        double first = 0.0;       // time of its first record
        double low = 0.0;         // smallest and largest time
        double high = 0.0;
        // The calendar time from the first pair of date and time messages
        // that makes a valid date; the pairs before it that did not.
        bool calendarFixed = false;
        DateTime calendar;
        // Recorded time of the message that completed it, or of its partner
        // when the date and the time messages came one right after the other.
        double calendarTime = 0.0;
        std::vector<DateTime> invalidCalendars;
    };

    // Share of the work done, 0 to 1; called on the calling thread.
    using Progress = std::function<void(double done)>;

    RecordLoader(std::vector<Source> sources, int threads);
    ~RecordLoader();
    RecordLoader(const RecordLoader&) = delete;
    RecordLoader& operator=(const RecordLoader&) = delete;

    // Fills `store` and `channels` (both emptied first) and, when given,
    // the index of the store's time keys (with `offset` for high files);
    // throws std::bad_alloc when memory runs out. The files are released
    // when their messages are in the store.
    void load(std::vector<RecordEntry>& store, std::map<uint32_t, RecordChannel>& channels, const Progress& progress,
              RecordTimeIndex* index = nullptr, double offset = 0.0);

    const std::vector<FileScan>& scans() const { return mScans; }

private:
    struct FileWork;
    struct Merge;

    void scan(std::size_t file);
    void prepare(std::vector<RecordEntry>& store, std::map<uint32_t, RecordChannel>& channels);
    bool merge(std::vector<RecordEntry>& store, const Progress& progress, RecordTimeIndex::Builder* steps);
    void fileDisordered(std::size_t file, const std::vector<RecordEntry>& store);
    void fail(const void* fault);

    std::vector<Source> mSources;
    std::vector<FileScan> mScans;
    std::vector<FileWork> mWork;
    std::unique_ptr<Merge> mMerge;
    int mThreads = 1;
};

} // namespace KAVO

#endif
