// An offscreen OpenGL context for tests and benchmarks: RGBA 8-8-8-8, depth
// 24, stencil 8, compatibility profile, on Mesa's surfaceless EGL platform
// (no display server). The libraries call OpenGL through the system's
// dispatching libGL/libOpenGL, which EGL's current context reaches.
#ifndef ORLO_GL_CONTEXT_H
#define ORLO_GL_CONTEXT_H

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orlo_gl {

class GlContext
{
public:
    // A new context with a width x height pixel buffer, made current. Null
    // with the reason in error when none can be made. The first context of
    // the process prints the GL renderer and version on standard output.
    static std::unique_ptr<GlContext> create(int width, int height, std::string& error);

    // A context of that size kept for the whole process (one per size), made
    // current; null with the reason in error when none can be made.
    static GlContext* shared(int width, int height, std::string& error);

    ~GlContext();
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    bool makeCurrent();

    // makeCurrent, then the viewport over the whole buffer, one unit per
    // pixel with the origin at the lower-left corner, identity model-view,
    // and blending by source alpha (when enabled): how drawing benchmarks
    // start. False when the context cannot be made current.
    bool makeCurrentForPixels();

    // Leaves the calling thread without a current context (to test what
    // code does without one); makeCurrent or shared() brings one back.
    static void releaseCurrent();
    int width() const { return mWidth; }
    int height() const { return mHeight; }

    // "<renderer> | <version>" of the current context.
    static std::string rendererText();

    // RGBA bytes of the current read buffer's w x h block at (x, y), rows
    // from the bottom up as OpenGL gives them. Leaves the pixel-store state
    // as it found it.
    static std::vector<uint8_t> readPixels(int x, int y, int w, int h);
    static std::array<uint8_t, 4> pixel(int x, int y);

private:
    GlContext() = default;
    struct Egl;
    std::unique_ptr<Egl> mEgl;
    int mWidth = 0;
    int mHeight = 0;
};

} // namespace orlo_gl

#endif
