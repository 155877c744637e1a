// The GL wrappers, read back from GL state after each call: colour factor
// clamping and blending, the antialias/blend rule, line width and stipple,
// polygon stipple, clear colour, begin/end bookkeeping, error reporting, and
// one polygon stipple drawn and read back pixel by pixel.
#include "dorneGlTest.h"

#include <GL/gl.h>

#include <cmath>
#include <string>

namespace {

std::array<float, 4> currentColor()
{
    std::array<float, 4> c{};
    glGetFloatv(GL_CURRENT_COLOR, c.data());
    return c;
}

bool enabled(GLenum cap)
{
    return glIsEnabled(cap) == GL_TRUE;
}

void expectColor(const std::array<float, 4>& got, float r, float g, float b, float a)
{
    EXPECT_NEAR(got[0], r, 1e-6);
    EXPECT_NEAR(got[1], g, 1e-6);
    EXPECT_NEAR(got[2], b, 1e-6);
    EXPECT_NEAR(got[3], a, 1e-6);
}

// Runs first in this program, before any fixture sets the factor and scale.
using LoadState = orlo_gl::GlTest;
TEST_F(LoadState, ColourFactorAndLineScaleStartAtZero)
{
    glColor4f(0.3f, 0.3f, 0.3f, 0.3f);
    vvColor4f(1, 1, 1, 1);
    expectColor(currentColor(), 0, 0, 0, 0);
    glLineWidth(4.0f);
    wtLineWidth(3); // 0 x 3: refused by GL, the width stays
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_VALUE));
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_FLOAT_EQ(width, 4.0f);
}

using Wrappers = DorneGlTest;

TEST_F(Wrappers, ColourFactorClampsMultipliesAndOnlyTurnsBlendingOn)
{
    glDisable(GL_BLEND);
    EXPECT_EQ(vvSetColorFactor(2, -1, 0.5f, 0.97f), 0);
    EXPECT_TRUE(enabled(GL_BLEND));
    vvColor4f(1, 1, 1, 1);
    expectColor(currentColor(), 1, 0, 0.5f, 0.97f);

    // 0.98 is not below 0.98: blending is left as it was, on or off.
    glDisable(GL_BLEND);
    vvSetColorFactor(1, 1, 1, 0.98f);
    EXPECT_FALSE(enabled(GL_BLEND));
    glEnable(GL_BLEND);
    vvSetColorFactor(1, 1, 1, 1);
    EXPECT_TRUE(enabled(GL_BLEND));

    vvSetColorFactor(0.5f, 0.25f, 1, 1);
    vvColor4f(0.5f, 1, 0.75f, 0.5f);
    expectColor(currentColor(), 0.25f, 0.25f, 0.75f, 0.5f);
    vvSetColorFactor(NAN, 1, 1, 1);
    vvColor4f(1, 1, 1, 1);
    expectColor(currentColor(), 0, 1, 1, 1);

    // The factor reaches the pixels.
    pixelProjection();
    glDisable(GL_BLEND);
    clear(0, 0, 0, 1);
    vvSetColorFactor(0.5f, 1, 0, 1);
    vvColor4f(1, 1, 1, 1);
    glRectf(10, 10, 20, 20);
    const auto p = pixel(15, 15);
    EXPECT_NEAR(p[0], 128, 1);
    EXPECT_EQ(p[1], 255);
    EXPECT_EQ(p[2], 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Wrappers, AliasBlendRule)
{
    const struct
    {
        int antialias;
        float alpha, factorAlpha;
        bool blend, smooth;
    } rows[] = {
        {0, 1.0f, 1.0f, false, false},  {0, 1.0f, 0.5f, true, false},   {0, 0.5f, 1.0f, true, false},
        {0, 0.98f, 1.0f, false, false}, {0, 0.979f, 1.0f, true, false}, {1, 1.0f, 1.0f, true, true},
        {1, 0.2f, 1.0f, true, true},    {2, 1.0f, 1.0f, true, true},
    };
    for (const auto& row : rows) {
        for (bool before : {false, true}) {
            vvSetColorFactor(1, 1, 1, row.factorAlpha);
            before ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
            before ? glEnable(GL_LINE_SMOOTH) : glDisable(GL_LINE_SMOOTH);
            wtAliasBlend(row.antialias, row.alpha);
            EXPECT_EQ(enabled(GL_BLEND), row.blend) << row.antialias << " " << row.alpha << " " << row.factorAlpha;
            EXPECT_EQ(enabled(GL_LINE_SMOOTH), row.smooth) << row.antialias << " " << row.alpha;
        }
    }
}

TEST_F(Wrappers, LineWidthAndStipple)
{
    vvSetLineScale(1.5f);
    wtLineWidth(2);
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_FLOAT_EQ(width, 3.0f);

    wtLineStipple(3, 0x0C0F);
    EXPECT_TRUE(enabled(GL_LINE_STIPPLE));
    GLint pattern = 0, repeat = 0;
    glGetIntegerv(GL_LINE_STIPPLE_PATTERN, &pattern);
    glGetIntegerv(GL_LINE_STIPPLE_REPEAT, &repeat);
    EXPECT_EQ(pattern, 0x0C0F);
    EXPECT_EQ(repeat, 3);
    // Solid only as factor 1 with 0xFFFF; another factor with 0xFFFF stays stippled.
    wtLineStipple(2, 0xFFFF);
    EXPECT_TRUE(enabled(GL_LINE_STIPPLE));
    for (int style : {0, 10}) {
        int factor = 0;
        unsigned short bits = 0;
        getLineStipple(style, &factor, &bits);
        wtLineStipple(1, 0xAAAA);
        wtLineStipple(factor, bits);
        EXPECT_FALSE(enabled(GL_LINE_STIPPLE)) << style;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Wrappers, PolygonStippleStateAndClearColour)
{
    EXPECT_EQ(setStipple(28, getPattern(28)), 0);
    EXPECT_TRUE(enabled(GL_POLYGON_STIPPLE));
    GLubyte mask[128] = {};
    glGetPolygonStipple(mask);
    EXPECT_EQ(0, memcmp(mask, getPattern(28), sizeof mask));
    EXPECT_EQ(setStipple(0, nullptr), 0);
    EXPECT_FALSE(enabled(GL_POLYGON_STIPPLE));
    EXPECT_EQ(setStipple(1, nullptr), -1);
    EXPECT_FALSE(enabled(GL_POLYGON_STIPPLE));

    EXPECT_EQ(wtClearColor(0.25f, 0.5f, 0.75f, 0.9f), 0);
    std::array<float, 4> clearValue{};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearValue.data());
    expectColor(clearValue, 0.25f, 0.5f, 0.75f, 0.0f);
    EXPECT_EQ(wtSetRgbMode(1), 0);
    vdiUpdateAttr();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Wrappers, FinishEndsOnlyAnOpenBeginAndMatricesNest)
{
    wtFinish(); // nothing open: no stray glEnd
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    wtBegin(GL_LINES);
    glVertex2f(0, 0);
    glVertex2f(1, 1);
    wtFinish();
    wtFinish();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    wtBegin(GL_POINTS);
    wtEnd();
    wtFinish();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    GLint depth = 0, pushed = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    wtPushMatrix();
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &pushed);
    EXPECT_EQ(pushed, depth + 1);
    wtPopMatrix();
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &pushed);
    EXPECT_EQ(pushed, depth);
}

TEST_F(Wrappers, CheckErrorPrintsEachPendingError)
{
    glEnable(0x7FFF); // invalid enumerant (Mesa keeps one pending error)
    testing::internal::CaptureStdout();
    EXPECT_EQ(checkError("frame"), 0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("frame: failed with error: invalid enumerant\n"), std::string::npos) << out;
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    testing::internal::CaptureStdout();
    checkError("quiet");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

// A pattern drawn over 64 x 64 pixels: each pixel is set exactly where its
// mask bit is (window-aligned, row y % 32 from the bottom, bit 7 of the
// row's first byte leftmost). Asymmetric patterns catch row and bit order.
TEST_F(Wrappers, PolygonStippleDrawnOnScreen)
{
    pixelProjection();
    glDisable(GL_BLEND);
    for (int index : {16, 20, 53, 57}) {
        clear(0, 0, 0, 1);
        vvColor4f(1, 1, 1, 1);
        setStipple(index, getPattern(index));
        glRectf(0, 0, 64, 64);
        setStipple(0, nullptr);
        const std::vector<uint8_t> pixels = readPixels(0, 0, 64, 64);
        const unsigned char* mask = getPattern(index);
        int wrong = 0;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                const int row = y % 32, column = x % 32;
                const bool bit = (mask[row * 4 + column / 8] >> (7 - column % 8)) & 1;
                const uint8_t red = pixels[size_t(y * 64 + x) * 4];
                if (red != (bit ? 255 : 0) && ++wrong <= 3)
                    ADD_FAILURE() << "pattern " << index << " pixel " << x << "," << y << " is " << int(red);
            }
        }
        EXPECT_EQ(wrong, 0) << "pattern " << index;
    }
}

} // namespace
