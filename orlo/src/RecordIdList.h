#ifndef ORLO_RECORDIDLIST_H
#define ORLO_RECORDIDLIST_H

#include "RecordView.h"

namespace KAVO {

// The messages of one channel and CAN id in reading order.
struct RecordIdList
{
    RecordView entries;
    // The high-file flag of the file that added to the list last; consumers
    // add the folder offset to the times of a list that has it.
    bool highFile = false;

    bool empty() const { return entries.empty(); }
    std::size_t size() const { return entries.size(); }

    static const RecordIdList& emptyList();
};

} // namespace KAVO

#endif
