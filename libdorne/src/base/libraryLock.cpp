// The library-wide lock (see libraryLock.h).
#include "base/libraryLock.h"

namespace dorne {

std::recursive_mutex& libraryLock()
{
    // Made at the first use and never destroyed, so that a thread still
    // running at exit finds it intact.
    static auto* lock = new std::recursive_mutex;
    return *lock;
}

} // namespace dorne
