// The view stress tests under ThreadSanitizer (see viewStress.h), without
// what the driver reports of itself (threadSupport.h).
#include "threadSupport.h"
#include "viewStress.h"
