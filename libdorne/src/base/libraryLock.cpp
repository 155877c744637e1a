// The library-wide lock (see libraryLock.h).
#include "base/libraryLock.h"

#include <type_traits>

// Initialised before any code runs, without allocating: a first use may come
// when memory has run out, and a C caller cannot receive std::bad_alloc.
#if defined(__clang__)
#define DORNE_CONSTANT_INIT [[clang::require_constant_initialization]]
#else
#define DORNE_CONSTANT_INIT __constinit
#endif

// Nothing destroys it, so that a thread still running at exit finds it
// intact.
static_assert(std::is_trivially_destructible<std::recursive_mutex>::value,
              "the library lock must outlive every thread");

namespace dorne {

namespace {

DORNE_CONSTANT_INIT std::recursive_mutex lock;

} // namespace

std::recursive_mutex& libraryLock()
{
    return lock;
}

} // namespace dorne
