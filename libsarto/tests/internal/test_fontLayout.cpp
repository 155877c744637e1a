// Glyph tables and atlases as FreeType fills them, before any OpenGL: the
// packing of an outline font into atlas rows, the flipped copy of every
// glyph, and the bottom-up bitmaps of a strike.
#include "../fontFixtures.h"
#include "sartoInternal.h"

#include <cmath>
#include <string>

using namespace sartotest;

namespace {

class Layout : public testing::Test
{
protected:
    void SetUp() override
    {
        ftSetDebugLevel(3);
        captureStdout([] { ASSERT_EQ(ftLibraryInit(), 1); });
        font = static_cast<FNT_FONT*>(std::calloc(1, sizeof(FNT_FONT)));
    }
    void TearDown() override
    {
        if (face != nullptr)
            FT_Done_Face(face);
        std::free(font);
        captureStdout([] { ftLibraryFree(); });
    }

    FT_Face face = nullptr;
    FNT_FONT* font = nullptr;
};

TEST(FontLayout, NextPowerOfTwoStopsAt4096)
{
    const int cases[][2] = {{-5, 1}, {0, 1}, {1, 1}, {3, 4}, {64, 64}, {65, 128}, {2048, 2048}, {2049, 4096},
                            {4096, 4096}, {100000, 4096}};
    for (const auto& c : cases)
        EXPECT_EQ(ftiNextPower2(c[0]), c[1]) << c[0];
}

TEST_F(Layout, OutlineGlyphsArePackedIntoRowsAndCopiedFlipped)
{
    const FNT_BUILDIN& arial = FNT_LIBRARY_STRUCT.buildin[0];
    ASSERT_EQ(FT_New_Memory_Face(FNT_LIBRARY_STRUCT.freetype, arial.data, arial.size, 0, &face), 0);
    ASSERT_EQ(FT_Set_Pixel_Sizes(face, 20, 20), 0);
    // A small texture limit forces many rows.
    const int limit = 128;
    FtiAtlas atlas;
    const std::string said = captureStdout([&] { ASSERT_TRUE(ftiLayoutScalable(font, face, limit, &atlas)); });
    EXPECT_EQ(atlas.width, limit);
    EXPECT_EQ(said, error("maxTextSize: 128 tw = 128 th = " + std::to_string(atlas.height) + "\n"));
    EXPECT_EQ(font->scalable, 1);
    EXPECT_EQ(font->cellHeight, 0);
    EXPECT_LT(font->descent, 0.0f);
    const int rowHeight = font->rowHeight;
    ASSERT_GT(rowHeight, 0);

    int rowsUsed = 0;
    for (int slot = 0; slot < FNT_GLYPH_SLOTS; ++slot) {
        const float* tc = font->texCoord[slot];
        const int column = int(std::lround(tc[0] * atlas.width));
        const int base = int(std::lround(tc[1] * atlas.height));
        ASSERT_EQ(base % rowHeight, 0) << slot;
        rowsUsed = std::max(rowsUsed, base / rowHeight + 1);
        EXPECT_LE(column + font->boxWidth[slot] + 3, limit) << slot << ": the glyph and its gap fit the row";
        EXPECT_FLOAT_EQ(tc[2], tc[0] + float(font->bitmapWidth[slot]) / float(atlas.width)) << slot;
        EXPECT_FLOAT_EQ(tc[3], tc[1] + float(rowHeight) / float(atlas.height)) << slot;

        // The atlas holds FreeType's bitmap with its top row highest.
        const FT_UInt index = FT_Get_Char_Index(face, FT_ULong(ftiSlotCode(slot)));
        ASSERT_EQ(FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_FORCE_AUTOHINT), 0) << slot;
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        ASSERT_EQ(int(bitmap.rows), font->rows[slot]);
        ASSERT_LE(font->rows[slot], rowHeight) << slot;
        int mismatches = 0;
        for (int r = 0; r < int(bitmap.rows); ++r)
            for (int c = 0; c < int(bitmap.width); ++c)
                mismatches += atlas.pixels[size_t(base + int(bitmap.rows) - 1 - r) * atlas.width + column + c] !=
                              ftiBitmapPixel(bitmap, c, r);
        EXPECT_EQ(mismatches, 0) << slot;
    }
    EXPECT_GT(rowsUsed, 4);
    EXPECT_EQ(atlas.height, ftiNextPower2(rowsUsed * rowHeight));
    // The umlauts are in their slots: 'O' with diaeresis is as wide as 'O'.
    EXPECT_EQ(font->advance[2], font->advance['O']);
    EXPECT_GT(font->top[2], font->top['O']);
}

TEST_F(Layout, StrikeGlyphsAreBitmapsFromTheBottomRow)
{
    TempFolder folder;
    writeBdf(folder.file("one.bdf"), "One", 60);
    ASSERT_EQ(FT_New_Face(FNT_LIBRARY_STRUCT.freetype, folder.file("one.bdf").c_str(), 0, &face), 0);
    ASSERT_EQ(FT_Select_Size(face, 0), 0);
    std::vector<FtiStrikeGlyph> glyphs;
    ASSERT_TRUE(ftiLayoutBitmap(font, face, &glyphs));
    ASSERT_EQ(glyphs.size(), size_t(FNT_GLYPH_SLOTS));
    const FtiStrikeGlyph& a = glyphs['A'];
    ASSERT_TRUE(a.loaded);
    EXPECT_EQ(a.width, 6);
    EXPECT_EQ(a.rows, 10);
    EXPECT_EQ(font->advance['A'], 6);
    EXPECT_EQ(font->top['A'], 8.0f);
    EXPECT_EQ(font->cellHeight, 10);
    EXPECT_EQ(font->rasterOffset, 2) << "two rows below the baseline";
    // The font's rows from the top: 00 30 48 84 84 FC 84 84 00 00; each row
    // padded to 4 bytes, bottom row first.
    const unsigned char top[10] = {0x00, 0x30, 0x48, 0x84, 0x84, 0xFC, 0x84, 0x84, 0x00, 0x00};
    ASSERT_EQ(a.bits.size(), 40u);
    for (int r = 0; r < 10; ++r) {
        EXPECT_EQ(a.bits[size_t(r) * 4], top[9 - r]) << r;
        EXPECT_EQ(a.bits[size_t(r) * 4 + 1] | a.bits[size_t(r) * 4 + 2] | a.bits[size_t(r) * 4 + 3], 0) << r;
    }
}

} // namespace
