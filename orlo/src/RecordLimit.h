#ifndef ORLO_RECORDLIMIT_H
#define ORLO_RECORDLIMIT_H

#include "RecordEvent.h"

namespace KAVO {

// A limit exceedance found by the limit list.
struct RecordLimit : RecordEvent
{
    using RecordEvent::RecordEvent;
};

} // namespace KAVO

#endif
