// The render texture: viewport and projection for a view, the texture's
// parameters, a coloured quad rendered into it and drawn back, texture
// coordinates of the drawn quad, views larger than the texture.
#include "dorneGlTest.h"
#include "dorneTextures.h"

#include <GL/gl.h>

#include <cstdlib>

namespace {

using Rgba = std::array<uint8_t, 4>;

vdView_Struct makeView(float x, float y, float w, float h)
{
    vdView_Struct view{};
    view.magic = VD_VIEW_MAGIC;
    view.config.x = x;
    view.config.y = y;
    view.config.width = w;
    view.config.height = h;
    return view;
}

std::array<GLint, 4> viewport()
{
    std::array<GLint, 4> v{};
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

bool near(const Rgba& got, const Rgba& want)
{
    for (int i = 0; i < 4; ++i)
        if (std::abs(int(got[i]) - int(want[i])) > 2)
            return false;
    return true;
}

using RenderTexture = DorneGlTest;

TEST_F(RenderTexture, ViewportProjectionAndSavedViewport)
{
    glViewport(3, 4, 200, 100);
    vdView_Struct view = makeView(20, 10, 100, 50);
    EXPECT_EQ(renderSaveViewport(&view), 0);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(5, 6, 7);
    EXPECT_EQ(renderSetViewport(&view), 0);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 99, 49}));

    // glOrtho(20, 120, 10, 60, -1, 1), column-major.
    GLfloat projection[16], modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    const GLfloat ortho[16] = {2.0f / 100, 0, 0, 0, 0, 2.0f / 50, 0, 0, 0, 0, -1, 0, -140.0f / 100, -70.0f / 50, 0, 1};
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(projection[i], ortho[i], 1e-6) << i;
        EXPECT_FLOAT_EQ(modelview[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
    }
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    EXPECT_EQ(restoreViewPort(&view), 0);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{3, 4, 200, 100}));

    // Truncated toward zero; sizes below 1 give an empty viewport, not an error.
    view = makeView(0, 0, 100.9f, 1.5f);
    renderSetViewport(&view);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 99, 0}));
    view = makeView(0, 0, -5, 1e30f);
    renderSetViewport(&view);
    EXPECT_EQ(viewport()[2], 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(renderSetViewport(nullptr), -1);
}

TEST_F(RenderTexture, CreatedTextureAndItsParameters)
{
    vdView_Struct view = makeView(0, 0, 64, 64);
    glDisable(GL_BLEND);
    EXPECT_EQ(createRenderTexture(&view), 0);
    ASSERT_NE(view.renderTexture, 0u);
    EXPECT_TRUE(glIsTexture(view.renderTexture));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint value = 0;
    glGetIntegerv(GL_BLEND_SRC, &value);
    EXPECT_EQ(value, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(value, GL_ONE_MINUS_SRC_ALPHA);
    const struct
    {
        GLenum what;
        GLint want;
    } parameters[] = {{GL_TEXTURE_MIN_FILTER, GL_LINEAR}, {GL_TEXTURE_MAG_FILTER, GL_LINEAR},
                      {GL_TEXTURE_WRAP_S, GL_REPEAT},     {GL_TEXTURE_WRAP_T, GL_REPEAT}};
    for (const auto& p : parameters) {
        glGetTexParameteriv(GL_TEXTURE_2D, p.what, &value);
        EXPECT_EQ(value, p.want) << p.what;
    }
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &value);
    EXPECT_EQ(value, 1024);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &value);
    EXPECT_EQ(value, 1024);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_REPLACE);

    // Made again: the earlier texture is released.
    const GLuint first = view.renderTexture;
    createRenderTexture(&view);
    EXPECT_NE(view.renderTexture, 0u);
    if (view.renderTexture != first) {
        EXPECT_FALSE(glIsTexture(first));
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &view.renderTexture);
    EXPECT_EQ(createRenderTexture(nullptr), -1);
}

// The runtime's order for one re-render, then the cached texture drawn over
// a frame cleared to another colour.
TEST_F(RenderTexture, QuadRenderedIntoTheTextureDrawsBackInItsColour)
{
    vdView_Struct view = makeView(0, 0, 200, 100);
    glViewport(0, 0, kWidth, kHeight);
    renderSaveViewport(&view);
    EXPECT_EQ(pbufferInit(200, 100), 0);
    createRenderTexture(&view);
    pbufferEnable();
    renderSetViewport(&view);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    clear(0, 0, 0, 1);
    vvColor4f(0.2f, 0.6f, 1.0f, 1.0f);
    glRectf(0, 0, 100, 100); // the view's left half
    EXPECT_EQ(fillRenderTexture(&view), 0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    pbufferDisable();
    restoreViewPort(&view);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, kWidth, kHeight}));

    clear(1, 0, 0, 1);
    pixelProjection();
    glTranslatef(20, 30, 0); // the quad lies in view units under the caller's matrices
    EXPECT_EQ(drawRenderTexture(&view), 0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    const Rgba blue = {51, 153, 255, 255}, black = {0, 0, 0, 255}, red = {255, 0, 0, 255};
    for (int yy : {35, 80, 125}) {
        for (int xx : {25, 60, 115}) {
            EXPECT_TRUE(near(pixel(xx, yy), blue)) << xx << "," << yy;
            EXPECT_TRUE(near(pixel(xx + 100, yy), black)) << xx + 100 << "," << yy;
        }
    }
    EXPECT_TRUE(near(pixel(10, 10), red));
    EXPECT_TRUE(near(pixel(230, 140), red));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    pbufferDestroy();
    glDeleteTextures(1, &view.renderTexture);
}

TEST_F(RenderTexture, DrawnQuadTextureCoordinates)
{
    vdView_Struct view = makeView(0, 0, 800, 600);
    createRenderTexture(&view);
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 1000, 0, 1000, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    std::vector<GLfloat> buffer(1024);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    drawRenderTexture(&view);
    const GLint n = glRenderMode(GL_RENDER);
    // Every vertex: window x, y, z, colour RGBA, texture s, t, r, q. Each
    // corner's (s, t) goes with its window position (800 x 600 units on
    // 256 x 256 pixels).
    int corners = 0;
    for (GLint i = 0; i < n;) {
        const GLint token = GLint(buffer[size_t(i++)]);
        if (token != GL_POLYGON_TOKEN)
            break;
        const int count = int(buffer[size_t(i++)]);
        for (int v = 0; v < count; ++v, i += 11) {
            const float wx = buffer[size_t(i)] / kWidth * 1000, wy = buffer[size_t(i + 1)] / kHeight * 1000;
            const float s = buffer[size_t(i + 7)], t = buffer[size_t(i + 8)];
            EXPECT_FLOAT_EQ(buffer[size_t(i + 3)], 1.0f) << "opaque white";
            EXPECT_FLOAT_EQ(buffer[size_t(i + 6)], 1.0f) << "opaque white";
            EXPECT_NEAR(s, wx > 400 ? 0.78125f : 0.0f, 1e-6) << wx;
            EXPECT_NEAR(t, wy > 300 ? 0.5859375f : 0.0f, 1e-6) << wy;
            ++corners;
        }
    }
    EXPECT_GE(corners, 4);
    glDeleteTextures(1, &view.renderTexture);
}

TEST_F(RenderTexture, LargerViewsCopyAtMostTheTextureAndNullsAreRefused)
{
    vdView_Struct view = makeView(0, 0, 2000, 1500);
    EXPECT_EQ(fillRenderTexture(&view), -3) << "no render texture yet";
    createRenderTexture(&view);
    EXPECT_EQ(fillRenderTexture(&view), 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    glDeleteTextures(1, &view.renderTexture);

    EXPECT_EQ(fillRenderTexture(nullptr), -1);
    EXPECT_EQ(drawRenderTexture(nullptr), -1);
    EXPECT_EQ(drawListTexture(nullptr), -1);
}

TEST_F(RenderTexture, DisplayListOfTheView)
{
    vdView_Struct view = makeView(0, 0, 10, 10);
    pixelProjection();
    glDisable(GL_BLEND);
    view.displayList = glGenLists(1);
    glNewList(view.displayList, GL_COMPILE);
    glColor4f(0, 1, 0, 1);
    glRectf(5, 5, 15, 15);
    glEndList();
    clear(0, 0, 0, 1);
    EXPECT_EQ(drawListTexture(&view), 0);
    EXPECT_EQ(pixel(10, 10), (Rgba{0, 255, 0, 255}));
    glDeleteLists(view.displayList, 1);
}

} // namespace
