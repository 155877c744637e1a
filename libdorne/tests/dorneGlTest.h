// The GL test fixtures of libdorne: the shared offscreen context, and the
// colour factor and line scale at 1 (both are 0 when the library loads). That
// is the only engine default it changes.
#ifndef DORNE_GL_TEST_H
#define DORNE_GL_TEST_H

#include "dorneElements.h"
#include "dorneGl.h"
#include "orloGlTest.h"

class DorneGlTest : public orlo_gl::GlTest
{
protected:
    void SetUp() override
    {
        orlo_gl::GlTest::SetUp();
        if (HasFatalFailure())
            return;
        vvSetColorFactor(1.0f, 1.0f, 1.0f, 1.0f);
        vvSetLineScale(1.0f);
    }
};

// Elements drawn on a black buffer, one unit per pixel, blending and line
// stippling off; draw runs one frame of the draw loop, in edit mode
// (running 0) or run mode, with the designer's clipping.
class DorneDrawTest : public DorneGlTest
{
protected:
    void SetUp() override
    {
        DorneGlTest::SetUp();
        if (HasFatalFailure())
            return;
        pixelProjection();
        glDisable(GL_BLEND);
        glDisable(GL_LINE_STIPPLE);
        clear(0, 0, 0, 1);
    }

    static void draw(ELEMENT_STRUCT* list, int running = 0)
    {
        DRAW_PARA_STRUCT para = {1.0f, 0, 0, 0};
        drawUserElements(list, nullptr, running, 0, 1, &para, 0);
    }
};

#endif
