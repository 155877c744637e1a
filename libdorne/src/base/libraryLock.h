// The one lock of the process-wide state that has no lock of its own: the
// font library, the texture registry, the element name counter and the GL
// layer's flags. The calls into the font library (elements/textFonts.cpp),
// the registry's entry points and the name counter take it themselves;
// view file readers and writers, loads, frees and draws hold it while they
// run. It is recursive, so that a holder may call anything else that takes
// it; it is taken after a view's mutex, never before.
#ifndef DORNE_LIBRARY_LOCK_H
#define DORNE_LIBRARY_LOCK_H

#include <mutex>

// Marks a static that must be initialised before any code runs, without
// allocating: a first use may come when memory has run out, and a C caller
// cannot receive std::bad_alloc.
#if defined(__clang__)
#define DORNE_CONSTANT_INIT [[clang::require_constant_initialization]]
#else
#define DORNE_CONSTANT_INIT __constinit
#endif

namespace dorne {

std::recursive_mutex& libraryLock();

// Holds the library lock for a scope.
using LibraryLockGuard = std::lock_guard<std::recursive_mutex>;

} // namespace dorne

#endif
