// Shared by the ThreadSanitizer tests that draw or whose threads make and
// free fonts and textures: what the driver reports of itself left out, the
// font library set up once from its built-in fonts, and threads that each
// run with an offscreen GL context of their own (fonts and GL textures are
// made only in a current context; the font library's objects are shared by
// all of them). Included by one source file per test program.
#ifndef DORNE_THREAD_SUPPORT_H
#define DORNE_THREAD_SUPPORT_H

#include "dorneElements.h"
#include "orloGlContext.h"
#include "sartoLibrary.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

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

namespace threadtest {

// The font library with its built-in fonts, silent. Called before any
// thread starts; true when "Arial" can be made.
inline bool setUpFonts()
{
    ftSetDebugLevel(0);
    const int init = ftLibraryInit();
    if (init < 0)
        return false;
    return init == 0 || ftLibraryParseFonts() == 0;
}

// Runs body(t) for t = 0 .. n - 1 on n threads at once, each with a GL
// context of its own made current. The contexts are made and destroyed
// here, one after the other (the driver does not make them in parallel
// without races of its own). The number of threads that got no context
// (their body does not run).
inline int onThreads(int n, const std::function<void(int)>& body)
{
    std::vector<std::unique_ptr<orlo_gl::GlContext>> contexts;
    for (int t = 0; t < n; ++t) {
        std::string error;
        contexts.push_back(orlo_gl::GlContext::create(64, 64, error));
    }
    orlo_gl::GlContext::releaseCurrent();
    std::atomic<int> missing{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < n; ++t)
        threads.emplace_back([&, t] {
            orlo_gl::GlContext* context = contexts[size_t(t)].get();
            if (context == nullptr || !context->makeCurrent()) {
                ++missing;
                return;
            }
            body(t);
            orlo_gl::GlContext::releaseCurrent();
        });
    for (std::thread& thread : threads)
        thread.join();
    contexts.clear();
    return missing.load();
}

// The elements of the list, groups counted with their children.
inline int countElements(const ELEMENT_STRUCT* list)
{
    int n = 0;
    for (const ELEMENT_STRUCT* e = list; e != nullptr; e = e->next)
        n += 1 + countElements(e->children);
    return n;
}

} // namespace threadtest

#endif
