// The library-wide lock (see libraryLock.h).
#include "base/libraryLock.h"

#include <type_traits>

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
