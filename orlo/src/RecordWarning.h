#ifndef ORLO_RECORDWARNING_H
#define ORLO_RECORDWARNING_H

#include "RecordEvent.h"

namespace KAVO {

// A warning-lamp event; kept in a list of its own beside the limits.
struct RecordWarning : RecordEvent
{
    using RecordEvent::RecordEvent;
};

} // namespace KAVO

#endif
