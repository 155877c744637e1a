#ifndef ORLO_RECORDROWS_H
#define ORLO_RECORDROWS_H

#include "BulkAllocator.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace KAVO {

class Record;
struct RecordData;
struct RecordIdList;

// The rows of the value table over some id lists of a recording: one per
// tenth of a second (RecordData::timeKey of the message's time on the
// timeline) at which a message of the lists lies, ascending, and per list
// and row the index of the message the row shows (of several in one tenth
// the last in list order), or -1.
class RecordRows
{
public:
    // Lists read from files are done from the places of their messages in
    // the time-sorted list (Record::timeIndex), without reading the
    // messages, on worker threads; lists built by hand from their messages.
    void fill(const Record& record, const std::vector<const RecordIdList*>& lists);
    void clear();

    const std::vector<int64_t>& keys() const { return mKeys; }
    const std::vector<int32_t>& cells(std::size_t list) const { return mCells[list]; }
    std::size_t memoryUsed() const;

private:
    bool fillByIndex(const Record& record, const std::vector<const RecordIdList*>& lists);
    void fillByMessages(const RecordData& data, const std::vector<const RecordIdList*>& lists);
    using Keys = std::vector<int64_t, BulkAllocator<int64_t>>;
    void numberRows(const std::vector<Keys>& keysOfList, int64_t low, int64_t high, std::size_t total);

    std::vector<int64_t> mKeys;                // row -> time key in tenths, ascending
    std::vector<std::vector<int32_t>> mCells;  // per list: row -> message index, -1 none
};

} // namespace KAVO

#endif
