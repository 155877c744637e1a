// Shared by the drawing benchmarks: the offscreen context of the size made
// current with one unit per pixel and the colour factor at 1.
#ifndef DORNE_BENCH_GL_FRAME_H
#define DORNE_BENCH_GL_FRAME_H

#include "dorneGl.h"
#include "orloGlContext.h"

#include <benchmark/benchmark.h>

#include <string>

// False, with the benchmark skipped, when no context can be made.
inline bool prepareGlFrame(benchmark::State& state, int width, int height)
{
    std::string error;
    orlo_gl::GlContext* context = orlo_gl::GlContext::shared(width, height, error);
    if (context == nullptr || !context->makeCurrentForPixels()) {
        state.SkipWithError(("no offscreen GL context: " + error).c_str());
        return false;
    }
    vvSetColorFactor(1, 1, 1, 1);
    return true;
}

#endif
