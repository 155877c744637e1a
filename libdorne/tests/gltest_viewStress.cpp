// The view stress tests under AddressSanitizer and LeakSanitizer (see
// viewStress.h).
#include "viewStress.h"
