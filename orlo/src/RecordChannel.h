#ifndef ORLO_RECORDCHANNEL_H
#define ORLO_RECORDCHANNEL_H

#include "RecordIdList.h"

#include <cstdint>
#include <map>

namespace KAVO {

// The messages of one bus channel, by CAN id.
class RecordChannel : public std::map<uint32_t, RecordIdList>
{
public:
    // The list of an id, or an empty list when the id was never read;
    // never adds an entry.
    const RecordIdList& idList(uint32_t canId) const;
};

} // namespace KAVO

#endif
