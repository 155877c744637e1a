// The GL test fixture of libdorne: the shared offscreen context, and the
// colour factor and line scale at 1 (both are 0 when the library loads). That
// is the only engine default it changes.
#ifndef DORNE_GL_TEST_H
#define DORNE_GL_TEST_H

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

#endif
