// Font objects in a real OpenGL context: sharing by the size ladder,
// reference counts and their messages, metrics, the handle checks, and text
// drawn and read back by pixels.
#include "fontFixtures.h"
#include "orloGlTest.h"
#include "sartoFonts.h"
#include "sartoPlatform.h"

#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <unistd.h>
#include <vector>

using namespace sartotest;

// FT_Select_Size failing on demand with this FreeType error (0: FreeType's
// own). The executable's definition comes before FreeType's for the library
// too; FreeType's types are plain int and pointer here.
static int selectSizeError = 0;

extern "C" int FT_Select_Size(void* face, int strikeIndex)
{
    if (selectSizeError != 0)
        return selectSizeError;
    using Select = int (*)(void*, int);
    static const Select real = reinterpret_cast<Select>(dlsym(RTLD_NEXT, "FT_Select_Size"));
    return real != nullptr ? real(face, strikeIndex) : -1;
}

namespace {

std::vector<const FNT_FONT*> objects()
{
    std::vector<const FNT_FONT*> list;
    for (const FNT_DATA_STRUCT* node = FNT_LIBRARY_STRUCT.fonts.child; node; node = node->next)
        list.push_back(static_cast<const FNT_FONT*>(node->data));
    return list;
}

const FNT_FONT* object(const std::string& family, int size, int style = 1)
{
    for (const FNT_FONT* font : objects())
        if (family == font->family && font->size == size && font->style == style)
            return font;
    return nullptr;
}

// The sum of the advances of a text's slots below 128.
int advances(const FNT_FONT* font, const std::string& text)
{
    int sum = 0;
    for (unsigned char c : text)
        sum += c < 128 ? font->advance[c] : 0;
    return sum;
}

// The bounding box of the pixels whose red channel is at least the
// threshold, in a w x h read-back (rows from the bottom), and how many.
struct RedBox
{
    int minX = 1 << 30, minY = 1 << 30, maxX = -1, maxY = -1, count = 0;
};

RedBox redBox(const std::vector<uint8_t>& rgba, int w, int h, int threshold = 1)
{
    RedBox box;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (rgba[(size_t(y) * w + x) * 4] >= threshold) {
                box.minX = std::min(box.minX, x), box.maxX = std::max(box.maxX, x);
                box.minY = std::min(box.minY, y), box.maxY = std::max(box.maxY, y);
                ++box.count;
            }
    return box;
}

// Outline glyphs come from a mipmapped texture with linear filtering: the
// halo of under a quarter's coverage around them is not counted as text.
const int kCovered = 64;

class FontGl : public orlo_gl::GlTest
{
protected:
    void SetUp() override
    {
        orlo_gl::GlTest::SetUp();
        if (HasFatalFailure())
            return;
        ftSetDebugLevel(3);
        captureStdout([] {
            if (FNT_LIBRARY_STRUCT.initialised)
                ftLibraryFree();
            ASSERT_EQ(ftLibraryInit(), 1);
            ASSERT_EQ(ftLibraryParseFonts(), 0);
        });
    }
    void TearDown() override
    {
        captureStdout([] {
            if (FNT_LIBRARY_STRUCT.initialised)
                ftLibraryFree();
        });
    }

    static intptr_t create(const char* family, int style, int size, std::string* said = nullptr)
    {
        intptr_t handle = 0;
        const std::string out = captureStdout([&] { handle = ftFontCreate(family, style, size); });
        if (said != nullptr)
            *said = out;
        return handle;
    }

    static int release(intptr_t handle, std::string* said = nullptr)
    {
        int result = 0;
        const std::string out = captureStdout([&] { result = ftFontFree(handle); });
        if (said != nullptr)
            *said = out;
        return result;
    }

    static int width(intptr_t handle, std::string text)
    {
        int metric[2] = {-1, -1};
        EXPECT_EQ(ftFontStringMetric(handle, text.data(), metric), 0);
        return metric[0];
    }
};

TEST_F(FontGl, OutlineSizesRenderAtTheirLadderStep)
{
    // The hinted advances of a, b and c in the built-in "Arial" at each
    // rendered size add up to: 11: 7+6+6 = 19, 14: 8+8+7 = 23,
    // 17: 10+9+9 = 28, 20: 11+11+10 = 32, 25: 14+14+12 = 40,
    // 34: 19+19+17 = 55, 50: 28+28+25 = 81, 100: 56+56+50 = 162,
    // 120: 67+67+60 = 194. A requested size measures that sum times
    // requested / rendered, cut towards zero: 12 gives 23 x 12 / 14 = 19.71,
    // so 19.
    const struct
    {
        int requested, rendered, abc;
    } ladder[] = {{-3, 11, -5},   {1, 11, 1},     {11, 11, 19},   {12, 14, 19},   {14, 14, 23},
                  {15, 17, 24},   {17, 17, 28},   {18, 20, 28},   {21, 25, 33},   {25, 25, 40},
                  {26, 34, 42},   {35, 50, 56},   {50, 50, 81},   {51, 100, 82},  {100, 100, 162},
                  {101, 120, 163}, {200, 120, 323}, {100000, 120, 161666}};
    std::vector<intptr_t> handles;
    for (const auto& step : ladder) {
        const intptr_t handle = create("Arial", 1, step.requested);
        ASSERT_NE(handle, 0) << step.requested;
        handles.push_back(handle);
        const FNT_FONT* font = object("Arial", step.rendered);
        ASSERT_NE(font, nullptr) << step.requested;
        EXPECT_EQ(font->scalable, 1);
        EXPECT_EQ(width(handle, "abc"), step.abc) << step.requested;
    }
    EXPECT_EQ(objects().size(), 9u) << "one object per ladder step";
    for (intptr_t handle : handles)
        EXPECT_EQ(release(handle), 0);
    EXPECT_TRUE(objects().empty());
}

TEST_F(FontGl, EqualRequestsShareOneObjectUntilTheLastRelease)
{
    std::string said;
    const intptr_t twelve = create("Arial", 1, 12, &said);
    EXPECT_EQ(said, info("create new font <Arial> 14\n"));
    const intptr_t thirteen = create("Arial", 1, 13, &said);
    EXPECT_EQ(said, info("create existing font <Arial> 14\n"));
    ASSERT_TRUE(twelve != 0 && thirteen != 0 && twelve != thirteen);
    ASSERT_EQ(objects().size(), 1u);
    const FNT_FONT* font = objects()[0];
    EXPECT_EQ(font->refCount, 2);
    EXPECT_EQ(ftFontScalable(twelve), 1);
    // "abc" advances 23 pixels at 14: 23 x 12 / 14 = 19.7 and 23 x 13 / 14 = 21.4.
    EXPECT_EQ(width(twelve, "abc"), 19);
    EXPECT_EQ(width(thirteen, "abc"), 21);

    // Another style or family is another object.
    const intptr_t bold = create("Arial", 2, 14);
    const intptr_t strike = create("Helvetica [fixed]", 1, 12);
    const intptr_t strikeAgain = create("Helvetica [fixed]", 1, 12, &said);
    EXPECT_EQ(said, info("create existing font <Helvetica [fixed]> 12\n"))
        << "a size the family has no strike of still shares";
    EXPECT_EQ(objects().size(), 3u);
    EXPECT_EQ(ftFontScalable(strike), 0);

    EXPECT_EQ(release(twelve, &said), 0);
    EXPECT_EQ(said, info("delete reference <Arial> 14 ref = 1\n"));
    EXPECT_EQ(release(thirteen, &said), 0);
    EXPECT_EQ(said, info("delete Font <Arial> 14\n"));
    EXPECT_EQ(object("Arial", 14), nullptr);
    for (intptr_t handle : {bold, strike, strikeAgain})
        EXPECT_EQ(release(handle), 0);
    EXPECT_TRUE(objects().empty());
}

TEST_F(FontGl, UnknownFamiliesAreServedByArial)
{
    std::string said;
    const intptr_t handle = create("No Such Family", 1, 12, &said);
    ASSERT_NE(handle, 0);
    EXPECT_EQ(said, info("create new font <No Such Family> 12\n") +
                        warning("Warning: font <No Such Family> replaced by <Arial>\n"));
    const FNT_FONT* font = object("No Such Family", 12);
    ASSERT_NE(font, nullptr) << "an unknown family keeps the size asked";
    EXPECT_EQ(width(handle, "abc"), advances(font, "abc"));
    // A size beyond the ladder is never rasterised as asked.
    const intptr_t huge = create("No Such Family", 1, 100000);
    ASSERT_NE(object("No Such Family", 120), nullptr);
    ASSERT_EQ(object("No Such Family", 120)->advance['a'], 67);
    EXPECT_EQ(width(huge, "a"), 55833) << "67 x 100000 / 120 = 55833.3";
    // Nothing serves without a catalogue.
    captureStdout([] { ftLibraryFree(); ftLibraryInit(); });
    EXPECT_EQ(create("Arial", 1, 12, &said), 0);
    EXPECT_EQ(said, info("create new font <Arial> 12\n") + error("font <Arial> 12 not found !\n"));
}

TEST_F(FontGl, MetricsOfOutlineAndBitmapFonts)
{
    int count = 0;
    int* sizes = ftFamilyGetSizes("Courier [fixed]", 1, &count);
    ASSERT_GE(count, 3);
    const int strikeSize = sizes[2];
    ftFree(sizes);
    const intptr_t outline = create("Arial", 1, 14);
    const intptr_t bitmap = create("Courier [fixed]", 1, strikeSize);
    ASSERT_TRUE(outline != 0 && bitmap != 0);
    const FNT_FONT* arial = object("Arial", 14);
    const FNT_FONT* courier = object("Courier [fixed]", strikeSize);
    ASSERT_TRUE(arial != nullptr && courier != nullptr);
    EXPECT_GT(courier->cellHeight, 0);
    EXPECT_EQ(courier->width, strikeSize) << "the strike's nominal size";

    struct Case
    {
        intptr_t handle;
        const char* text;
        int width, height;
    } cases[] = {
        {outline, "abc", advances(arial, "abc"), 0},
        {bitmap, "abc", advances(courier, "abc"), courier->cellHeight},
        {outline, "", 0, 0},
        {bitmap, "x\xe9y", advances(courier, "xy"), courier->cellHeight}, // 233 measures nothing
        {outline, "\xf6", arial->advance[1], 0},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        int metric[2] = {-1, -1};
        EXPECT_EQ(ftFontStringMetric(c.handle, text.data(), metric), 0) << c.text;
        EXPECT_EQ(metric[0], c.width) << c.text;
        EXPECT_EQ(metric[1], c.height) << c.text;
    }
    EXPECT_NE(arial->advance[1], arial->advance[0]);

    // The Latin-1 umlauts and sharp s come back rewritten to their slots.
    char text[] = "\xf6\xd6\xe4\xc4\xfc\xdc\xdf\xe9!";
    int metric[2];
    ASSERT_EQ(ftFontStringMetric(outline, text, metric), 0);
    EXPECT_STREQ(text, "\x01\x02\x03\x04\x05\x06\x07\xe9!");
    EXPECT_EQ(metric[0], advances(arial, text));
}

TEST_F(FontGl, HandleChecksAndTheirMessages)
{
    const intptr_t handle = create("Arial", 1, 14);
    ASSERT_NE(handle, 0);
    const intptr_t bogus = handle + 1000;
    char text[] = "abc";
    const struct
    {
        const char* what;
        int (*call)(intptr_t);
        intptr_t value;
        int result;
        std::string said;
    } cases[] = {
        {"free null", ftFontFree, 0, -1, error("ftFontFree: ft = 0 !\n")},
        {"free other", ftFontFree, bogus, -2, error("ftFontFree: wrong descriptor !\n")},
        {"scalable null", ftFontScalable, 0, -1, warning("ftFontScalable: ft = 0 !\n")},
        {"scalable other", ftFontScalable, bogus, -2, error("ftFontScalable: wrong descriptor !\n")},
        {"render null", [](intptr_t h) { char t[] = "a"; return ftFontRender(h, t); }, 0, -1,
         error("ftFontRender: ft = 0 !\n")},
        {"render other", [](intptr_t h) { char t[] = "a"; return ftFontRender(h, t); }, bogus, -2,
         error("ftFontRender: wrong descriptor !\n")},
        {"raster other", [](intptr_t h) { char t[] = "a"; return ftFontRenderRaster(h, t); }, bogus, -2,
         error("ftFontRender: wrong descriptor !\n")},
    };
    for (const auto& c : cases) {
        int result = 0;
        EXPECT_EQ(captureStdout([&] { result = c.call(c.value); }), c.said) << c.what;
        EXPECT_EQ(result, c.result) << c.what;
    }
    int metric[2] = {7, 7};
    EXPECT_EQ(ftFontStringMetric(handle, text, nullptr), -1);
    for (const auto& [value, code] : {std::pair<intptr_t, int>{0, -1}, {bogus, -2}}) {
        int result = 0;
        EXPECT_EQ(captureStdout([&] { result = ftFontStringMetric(value, text, metric); }), "");
        EXPECT_EQ(result, code);
        EXPECT_TRUE(metric[0] == 0 && metric[1] == 0);
    }

    // Released twice: the second time the handle is no longer live.
    std::string said;
    EXPECT_EQ(release(handle), 0);
    EXPECT_EQ(release(handle, &said), -2);
    EXPECT_EQ(said, error("ftFontFree: wrong descriptor !\n"));
    // A new handle never takes a released one's value.
    const intptr_t next = create("Arial", 1, 14);
    EXPECT_NE(next, handle);
    EXPECT_EQ(release(handle), -2);
    EXPECT_EQ(ftFontScalable(next), 1);

    // After ftLibraryFree: not initialised first, then not live.
    captureStdout([] { ftLibraryFree(); });
    EXPECT_EQ(release(next, &said), -8);
    EXPECT_EQ(said, error("Font Library not initialized !\n"));
    EXPECT_EQ(ftFontStringMetric(next, text, metric), -8);
    captureStdout([] { ftLibraryInit(); });
    EXPECT_EQ(release(next, &said), -2);
    EXPECT_EQ(said, error("ftFontFree: wrong descriptor !\n"));
    EXPECT_EQ(captureStdout([&] { EXPECT_EQ(ftFontCreate(nullptr, 1, 12), 0); }),
              error("ftFontCreate: family = NULL !\n"));
    captureStdout([] { ftLibraryFree(); });
    EXPECT_EQ(captureStdout([&] { EXPECT_EQ(ftFontCreate("Arial", 1, 12), 0); }),
              error("ftFontCreate: Font Library not initialzed !\n"));
}

TEST_F(FontGl, WithoutAContextNothingIsBuiltOrDrawnAndTheHandleStays)
{
    const intptr_t handle = create("Arial", 1, 14);
    ASSERT_NE(handle, 0);
    orlo_gl::GlContext::releaseCurrent();
    EXPECT_EQ(ftApiGetGlContext(), 0);
    std::string said;
    EXPECT_EQ(create("Arial", 1, 20, &said), 0);
    EXPECT_EQ(said, warning("ftFontCreate: No valid GLX context !\n"));
    char text[] = "a";
    EXPECT_EQ(captureStdout([&] { EXPECT_EQ(ftFontRender(handle, text), -4); }),
              error("ftFontRender: No valid GLX context !\n"));
    EXPECT_EQ(release(handle, &said), -4);
    EXPECT_EQ(said, "");
    ASSERT_TRUE(mContext->makeCurrent());
    EXPECT_EQ(ftApiGetGlContext(), 1);
    EXPECT_EQ(release(handle), 0) << "the handle stayed valid";
    EXPECT_TRUE(objects().empty());
}

// Draws the text in red at (x0, y0) on black and returns the read-back.
std::vector<uint8_t> drawRed(intptr_t handle, std::string text, int x0, int y0, int w, int h)
{
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 0, 0, 1);
    glPushMatrix();
    glTranslatef(float(x0), float(y0), 0);
    EXPECT_EQ(ftFontRender(handle, text.data()), 0);
    glPopMatrix();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    return orlo_gl::GlContext::readPixels(0, 0, w, h);
}

TEST_F(FontGl, OutlineTextLiesInItsWidthAndRowHeight)
{
    pixelProjection();
    const int x0 = 20, y0 = 100;
    const intptr_t handle = create("Arial", 1, 14);
    const FNT_FONT* font = object("Arial", 14);
    ASSERT_TRUE(handle != 0 && font != nullptr);
    // Glyphs stand on the lowest descent of the font. Plain text stays in
    // the row height; a tall umlaut rises above it by that descent.
    const struct
    {
        const char* text;
        int height;
        bool deepest; // holds the glyph of the lowest descent
    } cases[] = {{"Hello, ORLO!", font->rowHeight, false}, {"|gjpq\xd6", int(font->top[2] - font->descent), true}};
    EXPECT_GT(cases[1].height, font->rowHeight);
    for (const auto& c : cases) {
        const int measured = width(handle, c.text);
        const RedBox box = redBox(drawRed(handle, c.text, x0, y0, kWidth, kHeight), kWidth, kHeight, kCovered);
        EXPECT_GT(box.count, 40) << c.text;
        EXPECT_GE(box.minX, x0) << c.text;
        EXPECT_LT(box.maxX, x0 + measured) << c.text;
        EXPECT_GT(box.maxX, x0 + measured - 4) << c.text;
        EXPECT_GE(box.minY, y0) << c.text;
        if (c.deepest) {
            EXPECT_EQ(box.minY, y0) << c.text << ": the lowest glyph stands on the origin";
        }
        EXPECT_LT(box.maxY, y0 + c.height) << c.text;
        EXPECT_GT(box.maxY, y0 + c.height - 3) << c.text;
    }
    EXPECT_EQ(release(handle), 0);
}

TEST_F(FontGl, OutlineTextScalesToTheRequestedSize)
{
    pixelProjection();
    const intptr_t handle = create("Arial", 1, 200);
    const FNT_FONT* font = object("Arial", 120);
    ASSERT_TRUE(handle != 0 && font != nullptr);
    // Every glyph of the large atlas lies inside it.
    for (int slot = 0; slot < FNT_GLYPH_SLOTS; ++slot) {
        EXPECT_LE(font->texCoord[slot][2], 1.0f) << slot;
        EXPECT_LE(font->texCoord[slot][3], 1.0f) << slot;
    }
    const float scale = 200.0f / 120.0f;
    const int measured = width(handle, "Hz");
    const RedBox box = redBox(drawRed(handle, "Hz", 4, 4, kWidth, kHeight), kWidth, kHeight);
    EXPECT_GE(box.minX, 4);
    EXPECT_LE(box.maxX, 4 + measured);
    EXPECT_GT(box.maxX, 4 + measured - int(12 * scale));
    EXPECT_LE(box.maxY - box.minY + 1, int(font->rowHeight * scale) + 1);
    EXPECT_GT(box.maxY - box.minY + 1, int(font->top['H'] * scale) - 2);
    EXPECT_EQ(release(handle), 0);
}

TEST_F(FontGl, BitmapTextLiesInItsWidthAndCellHeight)
{
    pixelProjection();
    const int x0 = 20, y0 = 100;
    const intptr_t handle = create("Helvetica [fixed]", 1, 10);
    // A second font right after it: its lists follow the first font's.
    const intptr_t next = create("Courier [fixed]", 1, 10);
    const FNT_FONT* font = object("Helvetica [fixed]", 10);
    ASSERT_TRUE(handle != 0 && next != 0 && font != nullptr);
    EXPECT_EQ(object("Courier [fixed]", 10)->listBase, font->listBase + FNT_GLYPH_SLOTS);
    const std::string text = "Hello, ORLO|gj";
    const int measured = width(handle, text);
    const RedBox box = redBox(drawRed(handle, text, x0, y0, kWidth, kHeight), kWidth, kHeight);
    EXPECT_GT(box.count, 40);
    EXPECT_GE(box.minX, x0);
    EXPECT_LT(box.maxX, x0 + measured);
    EXPECT_GT(box.maxX, x0 + measured - 6);
    // The raster position is half the raster offset above the origin.
    const int bottom = y0 - (font->rasterOffset + 1) / 2;
    EXPECT_GE(box.minY, bottom);
    EXPECT_LT(box.maxY, bottom + font->cellHeight);
    EXPECT_EQ(box.maxY - box.minY + 1, font->cellHeight) << "'|' spans the cell";

    // Bytes of 128 and above draw slot 0 of this font, never lists beyond it.
    const auto high = drawRed(handle, "\xc1\xc1", x0, y0, kWidth, kHeight);
    EXPECT_EQ(high, drawRed(handle, "\x80\xff", x0, y0, kWidth, kHeight));
    EXPECT_NE(high, drawRed(next, "AA", x0, y0, kWidth, kHeight));
    EXPECT_EQ(release(handle), 0);
    EXPECT_EQ(release(next), 0);
}

TEST_F(FontGl, PreviewsAreWhiteWithTheGlyphsTransparent)
{
    unsigned char* pixels = nullptr;
    int w = -1, h = -1;
    ASSERT_EQ(ftFontPreview("Arial", 1, "Hg", &pixels, &w, &h), 0);
    ASSERT_NE(pixels, nullptr);
    // At size 50: widths of the two glyph boxes with 3 pixels each; from
    // the highest top to the lowest descent.
    EXPECT_GT(w, 40);
    EXPECT_LT(w, 90);
    EXPECT_GT(h, 40);
    EXPECT_LT(h, 70);
    int glyph = 0, background = 0, other = 0;
    for (int i = 0; i < w * h; ++i) {
        const unsigned char* p = pixels + size_t(i) * 4;
        if (p[3] == 0 && p[0] == p[1] && p[1] == p[2])
            glyph += p[0] < 128;
        else if (p[0] == 255 && p[1] == 255 && p[2] == 255 && p[3] == 255)
            ++background;
        else
            ++other;
    }
    EXPECT_GT(glyph, 100);
    EXPECT_GT(background, 100);
    EXPECT_EQ(other, 0);
    for (int y = 0; y < h; ++y) // the gap after the last glyph
        for (int x = w - 3; x < w; ++x)
            EXPECT_EQ(std::memcmp(pixels + (size_t(y) * w + x) * 4, "\xff\xff\xff\xff", 4), 0) << x << ", " << y;
    ftFree(pixels);

    // Text is cut to 31 characters; a bitmap strike gives black and white.
    int w31 = 0, w40 = 0;
    ASSERT_EQ(ftFontPreview("Courier [fixed]", 1, std::string(31, 'M').c_str(), &pixels, &w31, &h), 0);
    for (int i = 0; i < w31 * h * 4; ++i)
        ASSERT_TRUE(pixels[i] == 0 || pixels[i] == 255) << i;
    ftFree(pixels);
    ASSERT_EQ(ftFontPreview("Courier [fixed]", 1, std::string(40, 'M').c_str(), &pixels, &w40, &h), 0);
    EXPECT_EQ(w40, w31);
    EXPECT_EQ(w31 % 31, 0) << "fixed-width glyph boxes, 3 pixels apart";
    ftFree(pixels);

    const struct
    {
        const char* family;
        const char* text;
        int result;
        std::string said;
    } failures[] = {
        {nullptr, "a", -20, error("ftFontPreview: family = NULL !\n")},
        {"Arial", nullptr, -1, error("ftFontPreview: text = NULL !\n")},
    };
    for (const auto& f : failures) {
        pixels = reinterpret_cast<unsigned char*>(1);
        w = h = 5;
        EXPECT_EQ(captureStdout([&] { EXPECT_EQ(ftFontPreview(f.family, 1, f.text, &pixels, &w, &h), f.result); }),
                  f.said);
        EXPECT_TRUE(pixels == nullptr && w == 0 && h == 0);
    }
    captureStdout([] { ftLibraryFree(); ftLibraryInit(); });
    EXPECT_EQ(captureStdout([&] { EXPECT_EQ(ftFontPreview("Arial", 1, "a", &pixels, &w, &h), -20); }),
              error("ftFontPreview: could not find font!\n"));
    captureStdout([] { ftLibraryFree(); });
    EXPECT_EQ(captureStdout([&] { EXPECT_EQ(ftFontPreview("Arial", 1, "a", &pixels, &w, &h), -8); }),
              error("Font Library not initialized !\n"));
}

TEST_F(FontGl, AStrikeThatCannotBeSelectedFailsTheFont)
{
    int count = 0;
    int* sizes = ftFamilyGetSizes("Courier [fixed]", 1, &count);
    ASSERT_GE(count, 1);
    const int size = sizes[0];
    ftFree(sizes);

    std::string said, previewSaid;
    unsigned char* pixels = nullptr;
    int w = -1, h = -1;
    selectSizeError = 6; // FreeType's "invalid argument"
    const intptr_t failed = create("Courier [fixed]", 1, size, &said);
    previewSaid = captureStdout([&] { EXPECT_EQ(ftFontPreview("Courier [fixed]", 1, "M", &pixels, &w, &h), -20); });
    selectSizeError = 0;
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(said, info("create new font <Courier [fixed]> " + std::to_string(size) + "\n") +
                        error("ftFontCreate: FT_Select_Size failed!\n"));
    EXPECT_TRUE(objects().empty()) << "nothing of the failed font is kept";
    EXPECT_EQ(previewSaid, error("ftFontPreview: FT_Select_Size failed!\n"));
    EXPECT_TRUE(pixels == nullptr && w == 0 && h == 0);

    // With its strike selected the same font is built.
    const intptr_t handle = create("Courier [fixed]", 1, size, &said);
    ASSERT_NE(handle, 0) << said;
    EXPECT_EQ(release(handle), 0);
}

TEST_F(FontGl, AFontFileThatBecameAPipeIsNotOpened)
{
    TempFolder folder;
    const std::string file = folder.file("r.ttf");
    writeBdf(file, "FamR", 100);
    captureStdout([&] {
        ASSERT_EQ(ftLibraryAddPath(folder.path().c_str()), 0);
        ASSERT_EQ(ftLibraryParseFonts(), 0);
    });
    const intptr_t handle = create("FamR [fixed]", 1, 10);
    ASSERT_NE(handle, 0) << "built while it was a file";
    EXPECT_EQ(release(handle), 0);

    ASSERT_EQ(unlink(file.c_str()), 0);
    PipeWatch pipe(file);
    ASSERT_TRUE(pipe.made());
    std::string said;
    EXPECT_EQ(create("FamR [fixed]", 1, 10, &said), 0);
    EXPECT_EQ(said, info("create new font <FamR [fixed]> 10\n") +
                        error("ftFontCreate: could not open font <" + file + ">!\n"));
    unsigned char* pixels = nullptr;
    int w = -1, h = -1;
    EXPECT_EQ(captureStdout([&] { EXPECT_EQ(ftFontPreview("FamR [fixed]", 1, "A", &pixels, &w, &h), -20); }),
              error("ftFontPreview: could not open font <" + file + ">!\n"));
    EXPECT_FALSE(pipe.opened());
    EXPECT_TRUE(objects().empty());
}

} // namespace
