// The view stress tests under ThreadSanitizer (see viewStress.h).
#include "viewStress.h"

// Mesa's software rasteriser (and the LLVM it compiles shaders with)
// synchronises its own worker threads in ways ThreadSanitizer does not see
// (neither is instrumented), and holds locks of its own across GL calls;
// what it reports inside the driver is not the engine's.
extern "C" const char* __tsan_default_suppressions()
{
    return "race:swrast_dri.so\n"
           "race:libLLVM\n"
           "deadlock:swrast_dri.so\n"
           "deadlock:libLLVM\n"
           "called_from_lib:swrast_dri.so\n";
}
