// GoogleTest fixture for GL tests: every test runs with the process's shared
// offscreen context of kWidth x kHeight made current, and FAILS (never skips)
// when no context can be made. Projection and model-view are identity and the
// viewport covers the buffer at the start of each test; other GL state
// carries over between tests, so a test sets what it relies on.
//
//   #include "orloGlTest.h"
//   class MyGl : public orlo_gl::GlTest {};
//   TEST_F(MyGl, Draws) { ...; auto p = pixel(10, 10); EXPECT_EQ(p[0], 255); }
#ifndef ORLO_GL_TEST_H
#define ORLO_GL_TEST_H

#include "orloGlContext.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace orlo_gl {

class GlTest : public ::testing::Test
{
protected:
    static constexpr int kWidth = 256;
    static constexpr int kHeight = 256;

    void SetUp() override
    {
        std::string error;
        mContext = GlContext::shared(kWidth, kHeight, error);
        ASSERT_NE(mContext, nullptr) << "no offscreen OpenGL context: " << error;
        glViewport(0, 0, kWidth, kHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        for (int i = 0; i < 64 && glGetError() != GL_NO_ERROR; ++i) {
        }
    }

    // Projection with one unit per pixel, origin at the lower-left corner.
    static void pixelProjection()
    {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kWidth, 0, kHeight, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    static void clear(float r, float g, float b, float a)
    {
        glClearColor(r, g, b, a);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    }

    static std::array<uint8_t, 4> pixel(int x, int y) { return GlContext::pixel(x, y); }
    static std::vector<uint8_t> readPixels(int x, int y, int w, int h) { return GlContext::readPixels(x, y, w, h); }

    GlContext* mContext = nullptr;
};

} // namespace orlo_gl

#endif
