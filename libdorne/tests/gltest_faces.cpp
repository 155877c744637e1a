// Images, buttons and sliders drawn through the draw loop and read back:
// button shades released and pressed in any corner order, the slider's
// trough and knob, a tinted image; their edits; the image loaders with
// sizes and blocks that do not fit; the digits of scale numbers.
#include "dorneFiles.h"
#include "dorneGlTest.h"
#include "dorneLog.h"
#include "dorneTextures.h"
#include "shapeSupport.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class Faces : public DorneDrawTest
{
protected:
    static ::testing::AssertionResult near(int x, int y, float r, float g, float b, int tolerance = 2)
    {
        const auto p = pixel(x, y);
        const float want[3] = {r * 255, g * 255, b * 255};
        for (int i = 0; i < 3; ++i)
            if (std::abs(float(p[size_t(i)]) - want[i]) > float(tolerance))
                return ::testing::AssertionFailure() << x << "," << y << ": " << int(p[0]) << " " << int(p[1]) << " "
                                                     << int(p[2]);
        return ::testing::AssertionSuccess();
    }
};

ELEMENT_STRUCT* button(const float (&x)[4], const float (&y)[4])
{
    ELEMENT_STRUCT* e = elementCreate(VD_BUTTON);
    auto* b = static_cast<BUTTON_STRUCT*>(e->data);
    for (int i = 0; i < 4; ++i) {
        b->cornerX[i] = x[i];
        b->cornerY[i] = y[i];
    }
    b->bevel = 10;
    b->faceColor[0] = 0.8f, b->faceColor[1] = 0.6f, b->faceColor[2] = 0.4f;
    e->update(e);
    return e;
}

TEST_F(Faces, ButtonRaisedWhenReleasedSunkenWhenPressedInAnyCornerOrder)
{
    const float F[3] = {0.8f, 0.6f, 0.4f};
    // Corners lower-left first, stored right to left, stored top down.
    const float xs[3][4] = {{40, 40, 200, 200}, {200, 200, 40, 40}, {40, 40, 200, 200}};
    const float ys[3][4] = {{40, 200, 200, 40}, {40, 200, 200, 40}, {200, 40, 40, 200}};
    for (int order = 0; order < 3; ++order) {
        shapes::List list{button(xs[order], ys[order])};
        ELEMENT_STRUCT* e = list.head;
        auto* b = static_cast<BUTTON_STRUCT*>(e->data);
        // Face, left, top, right and bottom bevel by state: released, then
        // pressed (any non-zero state, -1 too), then edit mode again.
        const float released[5] = {0.7f, 1, 1, 0.5f, 0.5f}, pressed[5] = {0.6f, 0.5f, 0.5f, 1, 1};
        const int at[5][2] = {{120, 120}, {45, 120}, {120, 195}, {195, 120}, {120, 45}};
        struct Step
        {
            int running;
            uint8_t state;
            const float* shades;
            int pressedField;
        };
        const Step steps[] = {{0, 0, released, 0}, {1, 1, pressed, 1}, {1, 0xFF, pressed, -1}, {1, 0, released, 0},
                              {0, 1, released, 0}};
        for (const Step& s : steps) {
            e->attr.lineStyle = s.state;
            clear(0, 0, 0, 1);
            draw(e, s.running);
            EXPECT_EQ(b->pressed, s.pressedField);
            for (int i = 0; i < 5; ++i)
                EXPECT_TRUE(near(at[i][0], at[i][1], F[0] * s.shades[i], F[1] * s.shades[i], F[2] * s.shades[i]))
                    << "order " << order << " running " << s.running << " state " << int(s.state) << " place " << i;
        }
        EXPECT_TRUE(near(30, 120, 0, 0, 0));
    }
    // Light and dark alphas that are not 0 (the defaults) turn blending on
    // even for an opaque face; with both 0 an opaque face leaves it alone.
    shapes::List list{button(xs[0], ys[0])};
    auto* b = static_cast<BUTTON_STRUCT*>(list.head->data);
    glDisable(GL_BLEND);
    draw(list.head);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    b->lightColor[3] = b->darkColor[3] = 0;
    glDisable(GL_BLEND);
    draw(list.head);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Each polygon the call draws, as window points.
std::vector<std::vector<std::pair<float, float>>> polygons(ELEMENT_STRUCT* e)
{
    std::vector<GLfloat> buffer(1 << 14);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    DRAW_PARA_STRUCT para = {1.0f, 0, 0, 0};
    drawUserElements(e, nullptr, 0, 0, 1, &para, 0);
    const GLint n = glRenderMode(GL_RENDER);
    std::vector<std::vector<std::pair<float, float>>> out;
    for (GLint i = 0; i < n;) {
        const GLint token = GLint(buffer[size_t(i++)]);
        if (token != GL_POLYGON_TOKEN) {
            i += token == GL_PASS_THROUGH_TOKEN ? 1 : 4; // lines: two vertices
            continue;
        }
        const int count = int(buffer[size_t(i++)]);
        out.emplace_back();
        for (int k = 0; k < count; ++k, i += 2)
            out.back().emplace_back(buffer[size_t(i)], buffer[size_t(i) + 1]);
    }
    return out;
}

TEST_F(Faces, SliderTroughAndKnob)
{
    ELEMENT_STRUCT* e = elementCreate(VD_SLIDER);
    auto* s = static_cast<SLIDER_STRUCT*>(e->data);
    s->x = 128;
    s->y = 128;
    s->width = 100;
    s->height = 40;
    e->update(e);
    shapes::List list{e};
    // Floor, four trough bevels, then the knob's face from -46 to 46 and
    // -13 to 13 with its four bevels: ten quads, which the renderer may
    // hand back split into triangles. The face is the sixth.
    const auto drawn = polygons(e);
    const size_t per = drawn.size() / 10;
    ASSERT_TRUE(drawn.size() % 10 == 0 && per >= 1) << drawn.size();
    std::set<std::pair<float, float>> face;
    for (size_t i = 5 * per; i < 6 * per; ++i)
        face.insert(drawn[i].begin(), drawn[i].end());
    const std::set<std::pair<float, float>> want = {{82, 115}, {82, 141}, {174, 141}, {174, 115}};
    EXPECT_EQ(face, want);

    draw(e);
    EXPECT_TRUE(near(128, 142, 0.9f, 0.9f, 0.9f)) << "knob: light upper bevel";
    EXPECT_TRUE(near(128, 114, 0.3f, 0.3f, 0.3f)) << "knob: dark lower bevel";
    EXPECT_TRUE(near(128, 128, 0.5f, 0.5f, 0.5f)) << "knob face";
    EXPECT_TRUE(near(128, 144, 0.5f, 0.5f, 0.5f)) << "trough floor";
    EXPECT_TRUE(near(128, 147, 0.3f, 0.3f, 0.3f)) << "trough: dark upper bevel";
    EXPECT_TRUE(near(128, 109, 0.9f, 0.9f, 0.9f)) << "trough: light lower bevel";
    EXPECT_TRUE(near(128, 150, 0, 0, 0));

    // Edits: scaled in x about the centre, then moved.
    EDIT_PARA_STRUCT p{};
    p.x = 1.5f;
    editSlider(e, e->stickies, 12, 3, &p);
    EXPECT_TRUE(s->width == 150 && s->height == 40 && s->x == 128);
    p.x = 100;
    p.y = 60;
    editSlider(e, e->stickies, 9, 3, &p);
    EXPECT_TRUE(s->x == 100 && s->y == 60 && s->width == 150);
    const STICKY_STRUCT* h1 = getSticky(e->stickies, 1);
    ASSERT_NE(h1, nullptr);
    EXPECT_TRUE(h1->x == 25 && h1->y == 80);
    EXPECT_TRUE(e->x == 100 && e->width == 150 && e->height == 40);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Faces, ColourCommandsAndAttributeResets)
{
    shapes::List list{elementCreate(VD_BUTTON), elementCreate(VD_SLIDER), elementCreate(VD_TEXTURE)};
    ELEMENT_STRUCT* kinds[3] = {list.head, list.head->next, list.head->next->next};
    EDIT_PARA_STRUCT p{};
    p.r = 1;
    p.g = 0.5f;
    p.b = 0;
    for (ELEMENT_STRUCT* e : kinds) {
        e->attr.stippleFactor = 3; // left as it is
        e->edit(e, e->stickies, 23, 3, &p);
        e->edit(e, e->stickies, 22, 3, &p);
    }
    const auto* b = static_cast<BUTTON_STRUCT*>(kinds[0]->data);
    EXPECT_TRUE(b->lightColor[0] == 1 && b->lightColor[1] == 0.5f && b->lightColor[2] == 0 && b->lightColor[3] == 1);
    EXPECT_TRUE(b->darkColor[0] == 0.4f && b->darkColor[1] == 0.2f && b->darkColor[2] == 0 && b->darkColor[3] == 1);
    const auto* s = static_cast<SLIDER_STRUCT*>(kinds[1]->data);
    EXPECT_TRUE(s->darkColor[0] == 0.4f && s->faceColor[1] == 0.5f);
    auto* image = static_cast<IMAGE_STRUCT*>(kinds[2]->data);
    EXPECT_TRUE(image->color[0] == 1 && image->color[1] == 0.5f && image->color[3] == 1);
    for (ELEMENT_STRUCT* e : kinds) {
        const ATTR_STRUCT& a = e->attr;
        EXPECT_TRUE(a.fillColor[0] == 1 && a.fillColor[1] == 0.5f && a.fillColor[2] == 0 && a.fillColor[3] == 1);
        EXPECT_TRUE(a.lineColor[3] == 0 && a.lineWidth == 0 && a.visible == 1 && a.stippleFactor == 3);
    }
    p.r = 0.25f;
    for (ELEMENT_STRUCT* e : kinds) {
        e->edit(e, e->stickies, 25, 3, &p);
        e->edit(e, e->stickies, 26, 3, &p);
        EXPECT_EQ(e->attr.fillColor[3], 0.25f);
    }
    EXPECT_TRUE(b->lightColor[3] == 0.25f && b->darkColor[3] == 0.25f);
    p.intValue = 3;
    editImage(kinds[2], nullptr, 47, 3, &p);
    EXPECT_EQ(image->pattern, 3);
    EXPECT_EQ(std::memcmp(image->patternBits, getPattern(3), DORNE_PATTERN_BYTES), 0);
}

TEST_F(Faces, ImageDrawsItsTextureTintedAndDropsItWithTheElement)
{
    ELEMENT_STRUCT* e = elementCreate(VD_TEXTURE);
    auto* image = static_cast<IMAGE_STRUCT*>(e->data);
    shapes::boxCorners(image->cornerX, image->cornerY, 40, 40, 200, 200);
    e->update(e);
    draw(e);
    EXPECT_TRUE(near(120, 120, 0, 0, 0)) << "no texture, nothing drawn";

    const std::vector<unsigned char> flat = {200, 100, 50, 255, 200, 100, 50, 255,
                                             200, 100, 50, 255, 200, 100, 50, 255};
    image->pixelWidth = image->pixelHeight = 2;
    ASSERT_EQ(loadTextureFromData(flat.data(), image), 0);
    const int id = image->texture;
    ASSERT_GT(id, 0);
    draw(e);
    EXPECT_TRUE(near(120, 120, 200 / 255.f, 100 / 255.f, 50 / 255.f, 8));
    EXPECT_TRUE(near(30, 120, 0, 0, 0));
    EDIT_PARA_STRUCT p{};
    p.r = 1;
    p.g = 0.5f;
    p.b = 1;
    editImage(e, e->stickies, 22, 3, &p);
    draw(e);
    EXPECT_TRUE(near(120, 120, 200 / 255.f, 50 / 255.f, 50 / 255.f, 8)) << "tinted";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    elementDelete(e, &e);
    EXPECT_EQ(txData(id), nullptr) << "the element's reference was the last";
}

// A memory file holding the bytes.
struct MemoryFile
{
    std::vector<unsigned char> bytes;
    FILE* file;
    explicit MemoryFile(std::vector<unsigned char> b) : bytes(std::move(b))
    {
        file = fmemopen(bytes.data(), bytes.size(), "rb");
    }
    ~MemoryFile() { std::fclose(file); }
};

TEST_F(Faces, LoadersRegisterWhatTheFileHoldsAndRefuseWhatDoesNotFit)
{
    const std::vector<unsigned char> rgb = {10, 20, 30, 40, 50, 60};
    const std::vector<unsigned char> rgba = {10, 20, 30, 255, 40, 50, 60, 255};
    struct Case
    {
        bool old;
        int width, height;
        std::vector<unsigned char> file;
        int result;
        long position; // where the file is left
    };
    const Case cases[] = {
        {true, 2, 1, rgb, 0, 6},
        {false, 2, 1, rgba, 0, 8},
        {false, 2, 2, std::vector<unsigned char>(15, 7), -3, 0},    // one byte short
        {true, 2, 2, std::vector<unsigned char>(11, 7), -3, 0},
        {false, 10000, 10000, rgba, -3, 0},                         // fits int, not the file
        {false, 50000, 50000, rgba, -2, 0},                         // bytes beyond int
        {true, 40000, 20000, rgba, -2, 0},
        {false, 536870912, 1, rgba, -2, 0},                         // 2^31 bytes
        {true, 536870911, 1, rgba, -3, 0},                          // 2^31 - 4 bytes: a size the registry takes
        {false, -1, 5, rgba, -2, 0},
        {true, 1, -3, rgba, -2, 0},
        {false, 0, 5, rgba, 0, 0},                                  // stored without pixels
    };
    char text[1024];
    for (const Case& c : cases) {
        getLogMsg(text, sizeof text);
        MemoryFile f(c.file);
        IMAGE_STRUCT* image = createImage();
        image->pixelWidth = c.width;
        image->pixelHeight = c.height;
        EXPECT_EQ((c.old ? loadTextureOld : loadTexture)(f.file, image), c.result) << c.width << " x " << c.height;
        EXPECT_EQ(std::ftell(f.file), c.position) << c.width;
        getLogMsg(text, sizeof text);
        const std::string log = text;
        // A refused size is the size the registry refuses, and says so.
        const std::string refused = std::string(c.old ? "loadTextureOld" : "loadTexture") + ": image size " +
                                    std::to_string(c.width) + " x " + std::to_string(c.height) + " refused";
        EXPECT_EQ(log.find(refused) != std::string::npos, c.result == -2) << log;
        EXPECT_EQ(log.find("out of memory"), std::string::npos) << log;
        if (c.result == -2) {
            EXPECT_EQ(txCreate(c.width, c.height, rgba.data()), -1) << c.width << " x " << c.height;
        }
        if (c.result == 0 && c.width > 0) {
            const unsigned char* px = txData(image->texture);
            ASSERT_NE(px, nullptr);
            EXPECT_EQ(std::vector<unsigned char>(px, px + 8), rgba) << "RGB becomes RGBA with alpha 255";
            txDelete(image->texture);
        } else {
            EXPECT_EQ(image->texture, -1) << c.width << " x " << c.height;
        }
        std::free(image);
    }

    // A stream that cannot tell its length: the read comes up short.
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    ASSERT_EQ(write(ends[1], rgba.data(), 5), 5);
    close(ends[1]);
    FILE* pipeFile = fdopen(ends[0], "rb");
    IMAGE_STRUCT* image = createImage();
    image->pixelWidth = 2;
    image->pixelHeight = 1;
    EXPECT_EQ(loadTexture(pipeFile, image), -3);
    EXPECT_EQ(image->texture, -1);
    std::fclose(pipeFile);

    // A new load gives up the texture held before.
    ASSERT_EQ(loadTextureFromData(rgba.data(), image), 0);
    const int first = image->texture;
    ASSERT_EQ(loadTextureFromData(rgba.data(), image), 0);
    EXPECT_EQ(txData(first), nullptr);
    EXPECT_NE(txData(image->texture), nullptr);
    txDelete(image->texture);
    EXPECT_EQ(loadTexture(nullptr, image), -1);
    EXPECT_EQ(loadTextureFromData(nullptr, image), -1);

    // Sizes the registry refuses, from data: refused with the loaders' code
    // and message, not as a want of memory.
    const int refusedSizes[][2] = {{50000, 50000}, {536870912, 1}, {1, 536870912}, {-2, 2}, {2, -2}};
    for (const auto& size : refusedSizes) {
        getLogMsg(text, sizeof text);
        ASSERT_EQ(txCreate(size[0], size[1], rgba.data()), -1);
        image->pixelWidth = size[0];
        image->pixelHeight = size[1];
        EXPECT_EQ(loadTextureFromData(rgba.data(), image), -2) << size[0] << " x " << size[1];
        EXPECT_EQ(image->texture, -1);
        getLogMsg(text, sizeof text);
        const std::string log = text;
        EXPECT_NE(log.find("loadTextureFromData: image size " + std::to_string(size[0]) + " x " +
                           std::to_string(size[1]) + " refused"),
                  std::string::npos)
            << log;
        EXPECT_EQ(log.find("out of memory"), std::string::npos) << log;
    }
    image->pixelWidth = 0;
    image->pixelHeight = 3;
    EXPECT_EQ(loadTextureFromData(rgba.data(), image), 0) << "stored without pixels";
    EXPECT_EQ(image->texture, -1);
    std::free(image);
}

TEST(ScaleDigits, IntegerDigitsAndDecimals)
{
    EXPECT_EQ(getPre(5, -250), 3);
    EXPECT_EQ(getPre(0.5f, 0.1f), 1);
    EXPECT_EQ(getPre(10, 0), 2);
    EXPECT_EQ(getPre(0, 0), 1);
    EXPECT_EQ(getPre(NAN, 1e30f), 31);
    EXPECT_EQ(getPre(INFINITY, 0), 1);
    EXPECT_EQ(getDots(0), 3);
    EXPECT_EQ(getDots(0.05f), 2);
    EXPECT_EQ(getDots(12), 0);
    EXPECT_EQ(getDots(-0.5f), 1);
    EXPECT_EQ(getDots(NAN), 0);
}

} // namespace
