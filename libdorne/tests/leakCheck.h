// Ownership tests: fails the current test when memory allocated so far is
// no longer reachable. Active in the sanitized build, where CTest runs these
// tests with leak detection on.
#ifndef DORNE_TESTS_LEAK_CHECK_H
#define DORNE_TESTS_LEAK_CHECK_H

#include <gtest/gtest.h>

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

inline void expectNoLeaks()
{
#ifdef __SANITIZE_ADDRESS__
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "leaked memory (report above)";
#endif
}

#endif
