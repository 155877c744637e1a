#include "RecordIdList.h"

namespace KAVO {

const RecordIdList& RecordIdList::emptyList()
{
    static const RecordIdList empty;
    return empty;
}

} // namespace KAVO
