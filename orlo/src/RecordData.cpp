#include "RecordData.h"

namespace KAVO {

const RecordIdList& RecordData::idList(uint32_t channel, uint32_t canId) const
{
    const auto it = channels.find(channel);
    return it == channels.end() ? RecordIdList::emptyList() : it->second.idList(canId);
}

} // namespace KAVO
