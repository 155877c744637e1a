// The texture registry in a real context: ids, copies and deletes; padding
// and corner texture coordinates (read back through GL feedback); an image
// drawn through four corners shows its own pixels, not the white padding;
// RGB and RGBA formats; too large images; no context; lost GL textures.
#include "dorneElements.h"
#include "dorneGlTest.h"
#include "dorneLog.h"
#include "dorneTextures.h"
#include "gl/glExtensions.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Rgba = std::array<uint8_t, 4>;

// An image in four flat quadrants, A | B in the first rows, C | D above. The
// splits fall on 4 x 4 block borders of the compressed formats (100 x 30:
// columns 0-47 | 48-99, rows 0-11 | 12-29), so that no block mixes two of
// them.
const Rgba A = {200, 30, 30, 255}, B = {30, 200, 30, 255}, C = {30, 30, 200, 255}, D = {200, 200, 30, 255};

std::vector<unsigned char> quadrantImage(int w, int h, uint8_t alpha = 255)
{
    std::vector<unsigned char> px(size_t(w) * size_t(h) * 4);
    const int columnSplit = w / 2 / 4 * 4, rowSplit = h / 2 / 4 * 4;
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            const Rgba& q = r < rowSplit ? (c < columnSplit ? A : B) : (c < columnSplit ? C : D);
            unsigned char* p = &px[(size_t(r) * size_t(w) + size_t(c)) * 4];
            p[0] = q[0], p[1] = q[1], p[2] = q[2], p[3] = alpha;
        }
    return px;
}

std::string takeLog()
{
    char text[4096];
    getLogMsg(text, sizeof text);
    return text;
}

// Compressed formats are lossy: flat areas compare within a small tolerance.
::testing::AssertionResult near(const Rgba& got, const Rgba& want, int tolerance = 10)
{
    for (int i = 0; i < 3; ++i)
        if (std::abs(int(got[i]) - int(want[i])) > tolerance)
            return ::testing::AssertionFailure() << "got " << int(got[0]) << "," << int(got[1]) << "," << int(got[2])
                                                 << " want " << int(want[0]) << "," << int(want[1]) << ","
                                                 << int(want[2]);
    return ::testing::AssertionSuccess();
}

struct FeedbackVertex
{
    float x, y, s, t;
};

// Window position and texture coordinate of every vertex the call draws.
std::vector<FeedbackVertex> feedback(int id, const float* x, const float* y)
{
    std::vector<GLfloat> buffer(4096);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    txDraw(id, x, y);
    const GLint n = glRenderMode(GL_RENDER);
    std::vector<FeedbackVertex> out;
    const int vertexSize = 3 + 4 + 4;
    for (GLint i = 0; i < n;) {
        const GLint token = GLint(buffer[size_t(i++)]);
        int count = 0;
        if (token == GL_POLYGON_TOKEN)
            count = int(buffer[size_t(i++)]);
        else if (token == GL_PASS_THROUGH_TOKEN) {
            ++i;
            continue;
        } else
            break;
        for (int v = 0; v < count && i + vertexSize <= n; ++v, i += vertexSize)
            out.push_back({buffer[size_t(i)], buffer[size_t(i + 1)], buffer[size_t(i + 7)], buffer[size_t(i + 8)]});
    }
    return out;
}

class Textures : public DorneGlTest
{
protected:
    void SetUp() override
    {
        DorneGlTest::SetUp();
        if (HasFatalFailure())
            return;
        pixelProjection();
        glBlendFunc(GL_ONE, GL_ZERO);
        clear(0, 0, 0, 1);
        takeLog();
    }
    // The 100 x 30 quadrant image registered and drawn white onto x, y.
    int drawnImage()
    {
        const std::vector<unsigned char> image = quadrantImage(100, 30);
        const int id = txCreate(100, 30, image.data());
        vvColor4f(1, 1, 1, 1);
        EXPECT_EQ(txDraw(id, x, y), 0);
        return id;
    }
    const float x[4] = {10, 10, 110, 110};
    const float y[4] = {10, 40, 40, 10};
};

// Runs first: the registry is set up by the first txCreate of the process.
TEST_F(Textures, IdsCopiesAndDeletes)
{
    EXPECT_EQ(txCopy(1), -1);
    EXPECT_EQ(txDelete(1), -1);
    EXPECT_EQ(txData(1), nullptr);
    EXPECT_EQ(txDraw(1, x, y), -1);

    std::vector<unsigned char> image = quadrantImage(100, 30);
    const std::vector<unsigned char> original = image;
    EXPECT_EQ(txCreate(100, 30, image.data()), 1);
    EXPECT_EQ(txCreate(2, 2, image.data()), 2);
    image[0] = 0; // the registry keeps its own copy
    ASSERT_NE(txData(1), nullptr);
    EXPECT_EQ(0, memcmp(txData(1), original.data(), original.size()));

    EXPECT_EQ(txCopy(1), 3);
    EXPECT_EQ(txData(3), txData(1));
    EXPECT_EQ(txDelete(1), 0);
    EXPECT_EQ(txData(1), nullptr);
    EXPECT_EQ(txDelete(1), -1);
    EXPECT_EQ(txDraw(1, x, y), -1);
    ASSERT_NE(txData(3), nullptr);
    EXPECT_EQ(0, memcmp(txData(3), original.data(), original.size()));
    vvColor4f(1, 1, 1, 1);
    EXPECT_EQ(txDraw(3, x, y), 0);
    EXPECT_TRUE(near(pixel(20, 14), A));

    // Refused: null pixels, sizes below 1, a byte count beyond int. Ids are
    // not consumed by failures and never reused.
    EXPECT_EQ(txCreate(4, 4, nullptr), -1);
    EXPECT_EQ(txCreate(0, 4, image.data()), -1);
    EXPECT_EQ(txCreate(4, -1, image.data()), -1);
    takeLog();
    EXPECT_EQ(txCreate(50000, 50000, image.data()), -1);
    EXPECT_EQ(txCreate(2147483647, 1, image.data()), -1);
    EXPECT_NE(takeLog().find("txCreate: image size 50000 x 50000 refused"), std::string::npos);
    EXPECT_EQ(txCreate(1, 1, image.data()), 4);

    EXPECT_EQ(txDelete(3), 0);
    EXPECT_EQ(txData(3), nullptr);
    EXPECT_EQ(txCopy(3), -1);
    EXPECT_NE(txData(2), nullptr);
    EXPECT_EQ(txCopy(-1), -1);
    EXPECT_EQ(txDelete(-5), -1);
    EXPECT_EQ(txData(-1), nullptr);
    EXPECT_EQ(txDraw(-1, x, y), -1);
    EXPECT_EQ(txDraw(2, nullptr, y), -1);
    EXPECT_EQ(txDraw(2, x, nullptr), -1);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    txDelete(2);
    txDelete(4);
}

TEST_F(Textures, PaddedSizeCornerCoordinatesAndWhitePadding)
{
    const std::vector<unsigned char> image = quadrantImage(100, 30);
    const int id = txCreate(100, 30, image.data());
    ASSERT_GT(id, 0);
    vvColor4f(1, 1, 1, 1);
    const std::vector<FeedbackVertex> vertices = feedback(id, x, y);
    ASSERT_GE(vertices.size(), 4u);
    const float u[4] = {0, 0, 99.0f / 128, 99.0f / 128};
    const float v[4] = {0, 29.0f / 64, 29.0f / 64, 0};
    for (int corner = 0; corner < 4; ++corner) {
        bool seen = false;
        for (const FeedbackVertex& fv : vertices) {
            if (std::abs(fv.x - x[corner]) < 0.01f && std::abs(fv.y - y[corner]) < 0.01f) {
                seen = true;
                EXPECT_NEAR(fv.s, u[corner], 1e-6) << "corner " << corner;
                EXPECT_NEAR(fv.t, v[corner], 1e-6) << "corner " << corner;
            }
        }
        EXPECT_TRUE(seen) << "corner " << corner;
    }

    // The texture (bound by the draw) is 128 x 64; beyond the image it is opaque white.
    ASSERT_EQ(txDraw(id, x, y), 0);
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    EXPECT_EQ(w, 128);
    EXPECT_EQ(h, 64);
    std::vector<uint8_t> texels(128 * 64 * 4);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glPopClientAttrib();
    int notWhite = 0;
    for (int r = 0; r < 64; ++r)
        for (int c = 0; c < 128; ++c) {
            const uint8_t* t = &texels[size_t(r * 128 + c) * 4];
            if (r >= 30 || c >= 100)
                notWhite += t[0] < 245 || t[1] < 245 || t[2] < 245 || t[3] != 255;
        }
    EXPECT_EQ(notWhite, 0);
    EXPECT_TRUE(near({texels[0], texels[1], texels[2], 255}, A));
    txDelete(id);
}

TEST_F(Textures, DrawnThroughFourCornersShowsTheImageNotThePadding)
{
    const int id = drawnImage();
    // Quadrant interiors, and the outermost drawn pixels of every side (the
    // splits lie near x 58 and y 22).
    EXPECT_TRUE(near(pixel(30, 15), A));
    EXPECT_TRUE(near(pixel(90, 15), B));
    EXPECT_TRUE(near(pixel(30, 32), C));
    EXPECT_TRUE(near(pixel(90, 32), D));
    EXPECT_TRUE(near(pixel(10, 10), A));
    EXPECT_TRUE(near(pixel(109, 10), B));
    EXPECT_TRUE(near(pixel(10, 39), C));
    EXPECT_TRUE(near(pixel(109, 39), D));
    for (int yy = 10; yy < 40; ++yy) {
        if (yy < 20 || yy > 24) {
            EXPECT_TRUE(near(pixel(109, yy), yy < 22 ? B : D)) << "right column, y " << yy;
        }
    }
    for (int xx = 10; xx < 110; ++xx) {
        if (xx < 56 || xx > 61) {
            EXPECT_TRUE(near(pixel(xx, 39), xx < 58 ? C : D)) << "top row, x " << xx;
        }
    }
    EXPECT_EQ(pixel(111, 41), (Rgba{0, 0, 0, 255})); // nothing outside the quad

    // Corners turned upside down: the first row shows at the top.
    clear(0, 0, 0, 1);
    const float flippedY[4] = {40, 10, 10, 40};
    txDraw(id, x, flippedY);
    EXPECT_TRUE(near(pixel(30, 33), A));
    EXPECT_TRUE(near(pixel(90, 15), D));

    // Tinted by the current colour and the colour factor.
    clear(0, 0, 0, 1);
    vvSetColorFactor(1, 0.5f, 1, 1);
    vvColor4f(0.5f, 1, 1, 1);
    txDraw(id, x, y);
    EXPECT_TRUE(near(pixel(90, 32), {100, 100, 30, 255}));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    txDelete(id);
}

TEST_F(Textures, OpaqueImagesLoadAsRgbTranslucentAsRgba)
{
    const bool compression =
        extensionListHas(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), "GL_ARB_texture_compression");
    for (uint8_t alpha : {uint8_t(255), uint8_t(254), uint8_t(0)}) {
        std::vector<unsigned char> image = quadrantImage(8, 8);
        image[7 * 4 + 3] = alpha; // one pixel decides
        const int id = txCreate(8, 8, image.data());
        ASSERT_EQ(txDraw(id, x, y), 0);
        GLint alphaBits = -1, compressed = -1;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_COMPRESSED, &compressed);
        EXPECT_EQ(alphaBits > 0, alpha != 255) << "alpha " << int(alpha);
        EXPECT_EQ(compressed == GL_TRUE, compression);
        txDelete(id);
    }
}

TEST_F(Textures, ExtensionNamesMatchAsWholeWords)
{
    const char* list = "GL_ARB_texture_compression_bptc GL_EXT_a GL_ARB_texture_compression GL_last";
    const struct
    {
        const char* list;
        const char* name;
        bool found;
    } rows[] = {
        {list, "GL_ARB_texture_compression", true}, {list, "GL_EXT_a", true},
        {list, "GL_last", true},                    {"GL_ARB_texture_compression_bptc", "GL_ARB_texture_compression", false},
        {list, "GL_ARB_texture", false},            {list, "", false},
        {list, "GL_EXT_a GL_ARB", false},           {list, "EXT_a", false},
        {nullptr, "GL_EXT_a", false},               {"", "GL_EXT_a", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(extensionListHas(row.list, row.name), row.found) << (row.name ? row.name : "");
}

TEST_F(Textures, TooLargeImagesAreRefusedAndDrawNothing)
{
    std::vector<unsigned char> wide(3000 * 4, 100);
    const int id = txCreate(3000, 1, wide.data());
    ASSERT_GT(id, 0) << "a texture failure does not fail the registration";
    EXPECT_NE(takeLog().find("image too large\n"), std::string::npos);
    vvColor4f(1, 1, 1, 1);
    EXPECT_EQ(txDraw(id, x, y), 0);
    EXPECT_EQ(pixel(50, 25), (Rgba{0, 0, 0, 255}));
    EXPECT_NE(txData(id), nullptr);
    // Every frame tries again, but the refusal is logged once per texture,
    // also through another id of it.
    const int copy = txCopy(id);
    for (int frame = 0; frame < 3; ++frame) {
        EXPECT_EQ(txDraw(id, x, y), 0);
        EXPECT_EQ(txDraw(copy, x, y), 0);
    }
    EXPECT_EQ(takeLog(), "");
    txDelete(id);
    txDelete(copy);

    // Another texture is logged again; one registered without a context
    // logs at its first draw, and only then.
    std::vector<unsigned char> tall(2049 * 4, 100);
    const int tallId = txCreate(1, 2049, tall.data());
    EXPECT_NE(takeLog().find("image too large\n"), std::string::npos);
    txDelete(tallId);
    orlo_gl::GlContext::releaseCurrent();
    const int later = txCreate(3000, 1, wide.data());
    ASSERT_TRUE(mContext->makeCurrent());
    pixelProjection();
    EXPECT_EQ(takeLog(), "");
    for (int frame = 0; frame < 3; ++frame)
        EXPECT_EQ(txDraw(later, x, y), 0);
    const std::string log = takeLog();
    const size_t first = log.find("image too large\n");
    EXPECT_NE(first, std::string::npos);
    EXPECT_EQ(log.find("image too large", first + 1), std::string::npos) << log;
    txDelete(later);

    std::vector<unsigned char> edge(2048 * 4, 100);
    const int edgeId = txCreate(2048, 1, edge.data());
    ASSERT_EQ(txDraw(edgeId, x, y), 0);
    GLint w = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    EXPECT_EQ(w, 2048);
    EXPECT_EQ(takeLog(), "");
    txDelete(edgeId);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Textures, WithoutAContextNothingCrashesAndTheTextureComesLater)
{
    const std::vector<unsigned char> image = quadrantImage(100, 30);
    orlo_gl::GlContext::releaseCurrent();
    setLogLevel(2);
    const int id = txCreate(100, 30, image.data());
    EXPECT_GT(id, 0);
    EXPECT_NE(takeLog().find("Warning txCreateTexture: no valid openGL context !\n"), std::string::npos);
    EXPECT_EQ(txDraw(id, x, y), 0);
    vvColor4f(1, 1, 1, 1);
    wtAliasBlend(0, 1);
    setStipple(1, getPattern(3));
    checkError("no context");
    vdView_Struct view{};
    view.config.width = view.config.height = 64;
    createRenderTexture(&view);
    renderSetViewport(&view);
    setLogLevel(1);

    ASSERT_TRUE(mContext->makeCurrent());
    pixelProjection();
    setStipple(0, nullptr);
    ASSERT_EQ(txDraw(id, x, y), 0);
    EXPECT_TRUE(near(pixel(90, 32), D));
    txDelete(id);
}

TEST_F(Textures, ALostGlTextureIsMadeAgain)
{
    const int id = drawnImage();
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    ASSERT_NE(name, 0);
    const GLuint lost = GLuint(name);
    glDeleteTextures(1, &lost);
    clear(0, 0, 0, 1);
    ASSERT_EQ(txDraw(id, x, y), 0);
    EXPECT_TRUE(near(pixel(30, 15), A));
    EXPECT_TRUE(near(pixel(90, 32), D));
    txDelete(id);
}

// A TEXTURE element owns one reference: deleting it drops that one only.
TEST_F(Textures, DeletedImageElementsDropTheirReference)
{
    const std::vector<unsigned char> image = quadrantImage(4, 4);
    const int id = txCreate(4, 4, image.data());
    const int shared = txCopy(id);
    ELEMENT_STRUCT* list = nullptr;
    ELEMENT_STRUCT* first = elementCreate(7);
    ELEMENT_STRUCT* second = elementCreate(7);
    ASSERT_TRUE(first && second);
    static_cast<IMAGE_STRUCT*>(first->data)->texture = id;
    static_cast<IMAGE_STRUCT*>(second->data)->texture = shared;
    elementAppend(first, &list);
    elementAppend(second, &list);
    elementDelete(first, &list);
    EXPECT_EQ(txData(id), nullptr);
    EXPECT_NE(txData(shared), nullptr);
    EXPECT_EQ(txDraw(shared, x, y), 0);
    elementDeleteAll(&list);
    EXPECT_EQ(txData(shared), nullptr);
    EXPECT_EQ(txDelete(shared), -1);
}

} // namespace
