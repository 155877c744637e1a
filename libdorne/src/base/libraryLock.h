// The one lock of the process-wide state that has no lock of its own: the
// font library, the texture registry and the element name counter. View file
// readers and writers hold it while they run; it is recursive, so that a
// holder may call anything else that takes it.
#ifndef DORNE_LIBRARY_LOCK_H
#define DORNE_LIBRARY_LOCK_H

#include <mutex>

namespace dorne {

std::recursive_mutex& libraryLock();

// Holds the library lock for a scope.
using LibraryLockGuard = std::lock_guard<std::recursive_mutex>;

} // namespace dorne

#endif
