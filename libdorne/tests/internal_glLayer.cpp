// The GL layer's hidden pieces, read back from the offscreen context: the
// texture made from an RGB image with its display list, and the change
// tracking of the wrappers.
#include "dorneGl.h"
#include "dorneGlTest.h"
#include "gl/glAttributes.h"
#include "gl/textureRegistry.h"

#include <GL/gl.h>

#include <array>
#include <cstdlib>
#include <vector>

namespace {

class GlLayer : public DorneDrawTest
{
protected:
    void SetUp() override
    {
        DorneDrawTest::SetUp();
        if (HasFatalFailure())
            return;
        glDisable(GL_POLYGON_STIPPLE);
        glDisable(GL_TEXTURE_2D);
    }
};

// Every pixel its own colour. Odd width: RGB rows of 3 bytes a pixel are
// not 4-byte aligned.
std::vector<unsigned char> rgbImage(int w, int h)
{
    std::vector<unsigned char> px(size_t(w) * size_t(h) * 3);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            unsigned char* p = &px[(size_t(r) * size_t(w) + size_t(c)) * 3];
            p[0] = (unsigned char)(c * 6);
            p[1] = (unsigned char)(r * 12);
            p[2] = (unsigned char)(255 - c * 3 - r * 2);
        }
    return px;
}

TEST_F(GlLayer, RgbTextureListDrawsTheImageInWhiteFromOriginToItsSize)
{
    const int w = 37, h = 19;
    const std::vector<unsigned char> image = rgbImage(w, h);
    GLuint texture = 0, list = 0;
    ASSERT_EQ(createTex2(w, h, image.data(), &texture, &list), 0);
    ASSERT_TRUE(glIsTexture(texture));
    ASSERT_TRUE(glIsList(list));

    glBindTexture(GL_TEXTURE_2D, texture);
    GLint minFilter = 0, magFilter = 0, wrapS = 0, wrapT = 0, alphaBits = 0, tw = 0, th = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &tw);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &th);
    EXPECT_EQ(minFilter, GL_LINEAR);
    EXPECT_EQ(magFilter, GL_LINEAR);
    EXPECT_EQ(wrapS, GL_REPEAT);
    EXPECT_EQ(wrapT, GL_REPEAT);
    EXPECT_GT(alphaBits, 0) << "an RGBA texture";
    EXPECT_EQ(tw, w);
    EXPECT_EQ(th, h);
    glBindTexture(GL_TEXTURE_2D, 0);

    // Drawn over black with a dark current colour and the default
    // modulating environment: the list's own white shows the image as it is.
    clear(0, 0, 0, 1);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor4f(0.2f, 0.4f, 0.6f, 0.5f);
    glCallList(list);
    const std::vector<uint8_t> drawn = readPixels(0, 0, w + 2, h + 2);
    int wrong = 0;
    for (int y = 0; y < h + 2; ++y)
        for (int x = 0; x < w + 2; ++x) {
            const uint8_t* got = &drawn[(size_t(y) * size_t(w + 2) + size_t(x)) * 4];
            uint8_t want[3] = {0, 0, 0}; // outside the quad
            if (x < w && y < h) {
                const unsigned char* p = &image[(size_t(y) * size_t(w) + size_t(x)) * 3];
                want[0] = p[0], want[1] = p[1], want[2] = p[2];
            }
            for (int c = 0; c < 3; ++c)
                if (std::abs(int(got[c]) - int(want[c])) > 1) {
                    if (++wrong <= 5)
                        ADD_FAILURE() << "pixel " << x << "," << y << " channel " << c << ": " << int(got[c])
                                      << " want " << int(want[c]);
                }
        }
    EXPECT_EQ(wrong, 0);
    std::array<float, 4> colour{};
    glGetFloatv(GL_CURRENT_COLOR, colour.data());
    EXPECT_EQ(colour, (std::array<float, 4>{1, 1, 1, 1}));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    glDeleteLists(list, 1);
    glDeleteTextures(1, &texture);

    // Refused: nothing made and the outputs untouched.
    GLuint t = 77, l = 77;
    EXPECT_EQ(createTex2(w, h, nullptr, &t, &l), -1);
    EXPECT_EQ(createTex2(w, h, image.data(), nullptr, &l), -1);
    EXPECT_EQ(createTex2(w, h, image.data(), &t, nullptr), -1);
    EXPECT_EQ(createTex2(0, h, image.data(), &t, &l), -4);
    EXPECT_EQ(createTex2(w, -1, image.data(), &t, &l), -4);
    EXPECT_EQ(createTex2(50000, 50000, image.data(), &t, &l), -4);
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    EXPECT_EQ(createTex2(maxSize + 1, 1, image.data(), &t, &l), -4);
    orlo_gl::GlContext::releaseCurrent();
    EXPECT_EQ(createTex2(w, h, image.data(), &t, &l), -3);
    ASSERT_TRUE(mContext->makeCurrent());
    EXPECT_EQ(t, 77u);
    EXPECT_EQ(l, 77u);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

struct GlState
{
    GLboolean blend, lineStipple, lineSmooth, polygonStipple;
    GLfloat lineWidth, colour[4], clearColour[4];
    GLint stipplePattern, stippleFactor;
};

GlState glState()
{
    GlState s{};
    s.blend = glIsEnabled(GL_BLEND);
    s.lineStipple = glIsEnabled(GL_LINE_STIPPLE);
    s.lineSmooth = glIsEnabled(GL_LINE_SMOOTH);
    s.polygonStipple = glIsEnabled(GL_POLYGON_STIPPLE);
    glGetFloatv(GL_LINE_WIDTH, &s.lineWidth);
    glGetFloatv(GL_CURRENT_COLOR, s.colour);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, s.clearColour);
    glGetIntegerv(GL_LINE_STIPPLE_PATTERN, &s.stipplePattern);
    glGetIntegerv(GL_LINE_STIPPLE_REPEAT, &s.stippleFactor);
    return s;
}

bool operator==(const GlState& a, const GlState& b)
{
    for (int i = 0; i < 4; ++i)
        if (a.colour[i] != b.colour[i] || a.clearColour[i] != b.clearColour[i])
            return false;
    return a.blend == b.blend && a.lineStipple == b.lineStipple && a.lineSmooth == b.lineSmooth &&
           a.polygonStipple == b.polygonStipple && a.lineWidth == b.lineWidth &&
           a.stipplePattern == b.stipplePattern && a.stippleFactor == b.stippleFactor;
}

// Every wrapper that tracks something, on a translucent stippled line, an
// opaque rectangle and a hatched one.
void scene()
{
    wtClearColor(0.1f, 0.2f, 0.3f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    wtLineWidth(3);
    wtLineStipple(1, 0xF0F0);
    wtAliasBlend(0, 0.5f);
    vvColor4f(1, 0.5f, 0, 0.5f);
    wtBegin(GL_LINES);
    glVertex2f(10, 20.5f);
    glVertex2f(200, 20.5f);
    wtEnd();
    wtLineStipple(1, 0xFFFF);
    wtAliasBlend(0, 1);
    vvColor4f(0, 1, 0, 1);
    glRectf(30, 40, 90, 100);
    setStipple(1, getPattern(3));
    vvColor4f(1, 1, 1, 1);
    glRectf(100, 40, 160, 100);
    setStipple(0, nullptr);
}

TEST_F(GlLayer, UpdateAttrSetsEveryChangeFlagAndDrawingStaysTheSame)
{
    const GlAttributeTracking& t = glAttributeTracking();
    EXPECT_TRUE(t.lineStippleChanged == 0 && t.lineWidthChanged == 0 && t.blendChanged == 0 && t.colorChanged == 0 &&
                t.clearColorChanged == 0)
        << "all clear at load";

    scene();
    const std::vector<uint8_t> before = readPixels(0, 0, kWidth, kHeight);
    const GlState stateBefore = glState();
    // The scene shows: a stippled line (on and off), both rectangles.
    EXPECT_NE(pixel(12, 20), pixel(16, 20));
    EXPECT_EQ(pixel(60, 70)[1], 255);
    EXPECT_NE(pixel(110, 50), pixel(114, 50));

    vdiUpdateAttr();
    EXPECT_EQ(t.lineStippleChanged, 1);
    EXPECT_EQ(t.lineWidthChanged, 1);
    EXPECT_EQ(t.blendChanged, 1);
    EXPECT_EQ(t.colorChanged, 1);
    EXPECT_EQ(t.clearColorChanged, 1);
    EXPECT_TRUE(glState() == stateBefore) << "no GL state sent";
    scene();
    EXPECT_TRUE(readPixels(0, 0, kWidth, kHeight) == before) << "the same frame";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // The last antialias flag, alpha and line width sent.
    EXPECT_EQ(t.lastAntialias, 0);
    EXPECT_EQ(t.lastAlpha, 1.0f);
    EXPECT_EQ(t.lastLineWidth, 3.0f);
    vvSetLineScale(1.5f);
    wtLineWidth(4);
    wtAliasBlend(1, 0.25f);
    EXPECT_EQ(t.lastLineWidth, 6.0f);
    EXPECT_EQ(t.lastAntialias, 1);
    EXPECT_EQ(t.lastAlpha, 0.25f);
    vvSetLineScale(1.0f);
}

} // namespace
