// Shared by the benchmarks that draw: the offscreen context set up for a
// frame of pixel units.
#ifndef DORNE_GL_BENCH_H
#define DORNE_GL_BENCH_H

#include "dorneGl.h"
#include "orloGlContext.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <string>

// The shared offscreen context of width x height made current, with one unit
// per pixel from the lower-left corner, alpha blending, colour factor and
// line scale 1. Null, and the benchmark skipped with the reason, without one.
inline orlo_gl::GlContext* glBenchFrame(benchmark::State& state, int width, int height)
{
    std::string error;
    orlo_gl::GlContext* context = orlo_gl::GlContext::shared(width, height, error);
    if (context == nullptr || !context->makeCurrent()) {
        state.SkipWithError(("no offscreen GL context: " + error).c_str());
        return nullptr;
    }
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    vvSetColorFactor(1, 1, 1, 1);
    vvSetLineScale(1);
    return context;
}

#endif
