// Glyph measuring and rasterising with FreeType: the atlas of an outline
// font, the bitmaps of a strike, and the preview image. No OpenGL here.
#include "sartoInternal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// The widest atlas the library makes; rows wrap there even when OpenGL
// allows wider textures, so that every glyph lies inside the atlas.
const int kAtlasLimit = 4096;

// Space between glyphs in the atlas and in the preview.
const int kGap = 3;

// Glyph measures in whole pixels, bounded so that sums over a text or an
// atlas row cannot overflow, whatever a font file claims.
const long long kPixelBound = 1 << 20;
int boundPixels(long long value)
{
    return static_cast<int>(std::max(-kPixelBound, std::min(kPixelBound, value)));
}
int pixels26(FT_Pos value) // FreeType's 26.6 values, truncated
{
    return boundPixels(static_cast<long long>(value / 64));
}

// The preview's largest image side.
const int kPreviewLimit = 16384;

// Where a slot's glyph sits in the atlas.
struct Place
{
    int row = 0;
    int column = 0;
};

// A glyph FreeType could not load for want of memory: the font would lack
// it for good, so the creation is refused rather than the slot left empty.
bool outOfMemory(FT_Error error)
{
    if (error != FT_Err_Out_Of_Memory)
        return false;
    ftiMsg(FTI_ERROR, "ftFontCreate: out of memory !\n");
    return true;
}

} // namespace

unsigned char ftiBitmapPixel(const FT_Bitmap& bitmap, int x, int y)
{
    if (bitmap.buffer == nullptr || x < 0 || y < 0 || x >= static_cast<int>(bitmap.width) ||
        y >= static_cast<int>(bitmap.rows))
        return 0;
    // A negative pitch flows up: the top row is the last in memory.
    const long pitch = bitmap.pitch;
    const unsigned char* top = pitch >= 0 ? bitmap.buffer : bitmap.buffer - pitch * (static_cast<long>(bitmap.rows) - 1);
    const unsigned char* row = top + pitch * y;
    switch (bitmap.pixel_mode) {
    case FT_PIXEL_MODE_MONO:
        return ((row[x >> 3] >> (7 - (x & 7))) & 1) != 0 ? 255 : 0;
    case FT_PIXEL_MODE_GRAY:
        return row[x];
    default:
        return 0;
    }
}

bool ftiLayoutScalable(FNT_FONT* font, FT_Face face, int maxTexture, FtiAtlas* atlas)
{
    const int limit = std::max(1, std::min(maxTexture, kAtlasLimit));
    Place place[FNT_GLYPH_SLOTS];
    FT_UInt index[FNT_GLYPH_SLOTS];
    int x = 0, row = 0, largestW = 0, largestH = 0;
    float descent = 0.0f;
    for (int slot = 0; slot < FNT_GLYPH_SLOTS; ++slot) {
        index[slot] = FT_Get_Char_Index(face, static_cast<FT_ULong>(ftiSlotCode(slot)));
        int w = 0, h = 0;
        const FT_Error error = FT_Load_Glyph(face, index[slot], FT_LOAD_FORCE_AUTOHINT);
        if (outOfMemory(error))
            return false;
        if (error != 0) {
            ftiMsg(FTI_ERROR, "ftFontCreate: FT_Load_Glyph failed!\n");
        } else {
            const FT_Glyph_Metrics& m = face->glyph->metrics;
            w = std::max(0, pixels26(m.width));
            h = std::max(0, pixels26(m.height));
            descent = std::min(descent, static_cast<float>(m.horiBearingY - m.height) / 64.0f);
        }
        font->boxWidth[slot] = w;
        largestW = std::max(largestW, w);
        largestH = std::max(largestH, h);
        if (w + x + kGap < limit || x == 0) {
            place[slot] = {row, x};
            x += w + kGap;
        } else {
            place[slot] = {++row, 0};
            x = w + kGap;
        }
    }
    if (row > 0) {
        atlas->width = limit;
        atlas->height = ftiNextPower2((row + 1) * largestH);
    } else {
        atlas->width = ftiNextPower2(x);
        atlas->height = ftiNextPower2(largestH);
    }
    if (maxTexture < atlas->width || maxTexture < atlas->height)
        ftiMsg(FTI_ERROR, "maxTextSize: %d tw = %d th = %d\n", maxTexture, atlas->width, atlas->height);
    font->scalable = 1;
    font->maxWidth = largestW;
    font->rowHeight = largestH;
    font->descent = descent;
    font->width = 0;
    font->cellHeight = 0;
    try {
        atlas->pixels.assign(static_cast<size_t>(atlas->width) * static_cast<size_t>(atlas->height), 0);
    } catch (const std::bad_alloc&) {
        ftiMsg(FTI_ERROR, "ftFontCreate: out of memory !\n");
        return false;
    }

    const float tw = static_cast<float>(atlas->width), th = static_cast<float>(atlas->height);
    unsigned char* const pixels = atlas->pixels.data();
    const size_t last = atlas->pixels.size() - 1;
    for (int slot = 0; slot < FNT_GLYPH_SLOTS; ++slot) {
        const FT_Error error = FT_Load_Glyph(face, index[slot], FT_LOAD_RENDER | FT_LOAD_FORCE_AUTOHINT);
        if (outOfMemory(error))
            return false;
        if (error != 0)
            continue;
        const FT_GlyphSlot g = face->glyph;
        const FT_Bitmap& bitmap = g->bitmap;
        const int rows = static_cast<int>(bitmap.rows), width = static_cast<int>(bitmap.width);
        font->top[slot] = static_cast<float>(boundPixels(g->bitmap_top));
        font->advance[slot] = pixels26(g->advance.x);
        font->bearing[slot] = pixels26(g->metrics.horiBearingX);
        font->bitmapWidth[slot] = width;
        font->rows[slot] = rows;
        const int base = place[slot].row * largestH;
        float* tc = font->texCoord[slot];
        tc[0] = static_cast<float>(place[slot].column) / tw;
        tc[1] = static_cast<float>(base) / th;
        tc[2] = tc[0] + static_cast<float>(width) / tw;
        // One texel per pixel: the quads are a row height tall.
        tc[3] = tc[1] + static_cast<float>(largestH) / th;
        // Flipped: the bitmap's top row goes highest, its bottom row on the
        // cell's first row. Bounded by the glyph's bitmap.
        for (int r = 0; r < rows; ++r) {
            const int y = base + rows - 1 - r;
            for (int c = 0; c < width; ++c) {
                const int column = place[slot].column + c;
                const bool inside = y >= 0 && y < atlas->height && column < atlas->width;
                const size_t at = inside ? static_cast<size_t>(y) * static_cast<size_t>(atlas->width) + column : last;
                pixels[at] = ftiBitmapPixel(bitmap, c, r);
            }
        }
    }
    return true;
}

bool ftiLayoutBitmap(FNT_FONT* font, FT_Face face, std::vector<FtiStrikeGlyph>* glyphs)
{
    try {
        glyphs->assign(FNT_GLYPH_SLOTS, FtiStrikeGlyph());
        font->cellHeight = 0;
        font->rasterOffset = 0;
        for (int slot = 0; slot < FNT_GLYPH_SLOTS; ++slot) {
            const FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(ftiSlotCode(slot)));
            const FT_Error error = FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_MONOCHROME);
            if (outOfMemory(error))
                return false;
            if (error != 0)
                continue;
            const FT_GlyphSlot g = face->glyph;
            const FT_Bitmap& bitmap = g->bitmap;
            const int rows = static_cast<int>(bitmap.rows), width = static_cast<int>(bitmap.width);
            const int top = boundPixels(g->bitmap_top);
            font->top[slot] = static_cast<float>(top);
            font->advance[slot] = pixels26(g->advance.x);
            font->bearing[slot] = pixels26(g->metrics.horiBearingX);
            font->bitmapWidth[slot] = width;
            font->rows[slot] = rows;
            font->cellHeight = std::max(font->cellHeight, rows);
            font->rasterOffset = std::max(font->rasterOffset, rows - top);
            // glBitmap's layout: rows from the bottom, each padded to 4 bytes.
            FtiStrikeGlyph& glyph = (*glyphs)[static_cast<size_t>(slot)];
            const size_t stride = static_cast<size_t>((width + 31) / 32) * 4;
            glyph.bits.assign(stride * static_cast<size_t>(rows), 0);
            for (int r = 0; r < rows; ++r) {
                unsigned char* out = glyph.bits.data() + stride * static_cast<size_t>(rows - 1 - r);
                for (int c = 0; c < width; ++c) {
                    if (ftiBitmapPixel(bitmap, c, r) >= 128)
                        out[c >> 3] = static_cast<unsigned char>(out[c >> 3] | (0x80 >> (c & 7)));
                }
            }
            glyph.width = width;
            glyph.rows = rows;
            glyph.loaded = true;
        }
    } catch (const std::bad_alloc&) {
        ftiMsg(FTI_ERROR, "ftFontCreate: out of memory !\n");
        return false;
    }
    return true;
}

int ftFontPreview(const char* family, int style, const char* text, unsigned char** pixels, int* width, int* height)
{
    if (pixels == nullptr || width == nullptr || height == nullptr) {
        ftiMsg(FTI_ERROR, "ftFontPreview: output = NULL !\n");
        return -1;
    }
    *pixels = nullptr;
    *width = *height = 0;
    FNT_STRUCT* state = &FNT_LIBRARY_STRUCT;
    if (!state->initialised) {
        ftiMsg(FTI_ERROR, "Font Library not initialized !\n");
        return -8;
    }
    if (family == nullptr) {
        ftiMsg(FTI_ERROR, "ftFontPreview: family = NULL !\n");
        return -20;
    }
    if (text == nullptr) {
        ftiMsg(FTI_ERROR, "ftFontPreview: text = NULL !\n");
        return -1;
    }
    char sample[32];
    std::snprintf(sample, sizeof sample, "%s", text);
    const FNT_SOURCE* source = ftiSource(ftiGetFont(state, family, style, 50));
    if (source == nullptr) {
        ftiMsg(FTI_ERROR, "ftFontPreview: could not find font!\n");
        return -20;
    }
    FtiFace opened;
    if (ftiOpenFace(state, source, &opened.face) != 0) {
        ftiMsg(FTI_ERROR, "ftFontPreview: could not open font <%s>!\n", source->path);
        return -20;
    }
    const FT_Face face = opened.face;
    if (FT_IS_SCALABLE(face)) {
        if (FT_Set_Pixel_Sizes(face, 50, 50) != 0)
            ftiMsg(FTI_ERROR, "ftFontPreview: FT_Set_Pixel_Sizes failed!\n");
    } else if (face->num_fixed_sizes > 0 && FT_Select_Size(face, 0) != 0) {
        ftiMsg(FTI_ERROR, "ftFontPreview: FT_Select_Size failed!\n");
        return -20;
    }
    // Each character of the sample that FreeType renders, by its own code.
    const size_t length = std::strlen(sample);
    auto eachGlyph = [&](auto&& use) {
        for (size_t i = 0; i < length; ++i) { // at most 31 characters
            const FT_UInt index = FT_Get_Char_Index(face, static_cast<unsigned char>(sample[i]));
            if (FT_Load_Glyph(face, index, FT_LOAD_RENDER) == 0)
                use(face->glyph);
        }
    };

    // First pass: the image's size.
    long long totalWidth = 0;
    int highestTop = 0;
    double lowest = 0.0;
    eachGlyph([&](const FT_GlyphSlot g) {
        totalWidth += std::max(0, pixels26(g->metrics.width)) + kGap;
        highestTop = std::max(highestTop, boundPixels(g->bitmap_top));
        lowest = std::min(lowest, static_cast<double>(g->metrics.horiBearingY - g->metrics.height) / 64.0);
    });
    const double depth = std::min(-lowest, static_cast<double>(kPixelBound)); // lowest <= 0
    const long long tallest = highestTop + static_cast<long long>(std::ceil(depth));
    if (totalWidth > kPreviewLimit || tallest > kPreviewLimit) {
        ftiMsg(FTI_ERROR, "ftFontPreview: image of %lld x %lld pixels too large !\n", totalWidth, tallest);
        return -20;
    }
    const int imageWidth = static_cast<int>(totalWidth);
    const int imageHeight = static_cast<int>(tallest);
    const size_t bytes = static_cast<size_t>(imageWidth) * static_cast<size_t>(imageHeight) * 4;
    auto* image = static_cast<unsigned char*>(std::malloc(bytes > 0 ? bytes : 4));
    if (image == nullptr) {
        ftiMsg(FTI_ERROR, "ftFontPreview: out of memory !\n");
        return -20;
    }
    std::memset(image, 255, bytes > 0 ? bytes : 4);

    // Second pass: each glyph's bitmap at its column, rows from the top.
    int x = 0;
    eachGlyph([&](const FT_GlyphSlot g) {
        const FT_Bitmap& bitmap = g->bitmap;
        const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
        const int top = highestTop - boundPixels(g->bitmap_top);
        for (int r = 0; r < static_cast<int>(bitmap.rows); ++r) {
            const int y = top + r;
            for (int c = 0; c < static_cast<int>(bitmap.width); ++c) {
                const int px = x + c;
                if (y < 0 || y >= imageHeight || px < 0 || px >= imageWidth)
                    continue;
                const unsigned char v = ftiBitmapPixel(bitmap, c, r);
                const unsigned char grey = mono ? (v != 0 ? 0 : 255) : static_cast<unsigned char>(255 - v);
                unsigned char* out = image + (static_cast<size_t>(y) * static_cast<size_t>(imageWidth) + px) * 4;
                out[0] = out[1] = out[2] = grey;
                out[3] = 0;
            }
        }
        x += std::max(0, pixels26(g->metrics.width)) + kGap;
    });
    *pixels = image;
    *width = imageWidth;
    *height = imageHeight;
    return 0;
}
