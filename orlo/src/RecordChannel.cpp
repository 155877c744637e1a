#include "RecordChannel.h"

namespace KAVO {

const RecordIdList& RecordChannel::idList(uint32_t canId) const
{
    const auto it = find(canId);
    return it == end() ? RecordIdList::emptyList() : it->second;
}

} // namespace KAVO
