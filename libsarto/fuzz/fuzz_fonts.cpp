// libFuzzer target: arbitrary bytes as a font, entered into the catalogue
// as a folder font and as built-in data, then every query of the catalogue
// over what it holds, the glyph tables and atlas of a font object (without
// OpenGL) and a preview. Nothing may crash or step outside a record.
#include "sartoInternal.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

// The built-in fonts are left out of this target: the fuzzed bytes stand in.
void ftiRegisterBuildins(FNT_STRUCT*) {}
const char* ftiBuildinFamily(const unsigned char*)
{
    return nullptr;
}

// What font creation computes before it reaches OpenGL.
static void layOut(FT_Face face)
{
    FNT_FONT font{};
    if (FT_IS_SCALABLE(face)) {
        FT_Set_Pixel_Sizes(face, 14, 14);
        FtiAtlas atlas;
        if (ftiLayoutScalable(&font, face, 256, &atlas) && atlas.pixels.size() != size_t(atlas.width) * atlas.height)
            abort();
    } else if (face->num_fixed_sizes > 0) {
        FT_Select_Size(face, 0);
        std::vector<FtiStrikeGlyph> glyphs;
        ftiLayoutBitmap(&font, face, &glyphs);
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = [] {
        ftSetDebugLevel(0);
        return ftLibraryInit() == 1;
    }();
    if (!ready)
        abort();
    FNT_STRUCT* state = &FNT_LIBRARY_STRUCT;
    FT_Face face = nullptr;
    if (size <= 0x7fffffff &&
        FT_New_Memory_Face(state->freetype, data, static_cast<FT_Long>(size), 0, &face) == 0) {
        ftiLibraryAddFont(state, face, 0, "fuzz.ttf", nullptr, 0);
        ftiLibraryAddFont(state, face, 1, nullptr, data, static_cast<int>(size));
        layOut(face);
        FT_Done_Face(face);
    }
    ftiSortFamily(state);

    int count = 0;
    FNT_FONT_INFO* fonts = ftLibraryGetFonts(&count);
    for (int i = 0; i < count; ++i) {
        if (std::memchr(fonts[i].name, 0, sizeof fonts[i].name) == nullptr)
            abort();
        const int styles = ftFamilyGetStyles(fonts[i].name);
        if (styles != fonts[i].styles || ftFamilyScalable(fonts[i].name) != fonts[i].scalable)
            abort();
        for (int style : {1, 2, 4, 8}) {
            int n = 0;
            ftFree(ftFamilyGetSizes(fonts[i].name, style, &n));
            const FNT_DATA_STRUCT* node = ftiGetFont(state, fonts[i].name, style, 12);
            // Strikes far from 12 may serve nothing; what serves is a source.
            if (node != nullptr && ftiSource(node) == nullptr)
                abort();
            unsigned char* pixels = nullptr;
            int width = 0, height = 0;
            if (ftFontPreview(fonts[i].name, style, "Ag\xf6", &pixels, &width, &height) == 0) {
                if (pixels == nullptr || width < 0 || height < 0)
                    abort();
                volatile unsigned char last = pixels[size_t(width) * height * 4 - (width * height > 0 ? 1 : 0)];
                (void)last;
                ftFree(pixels);
            }
        }
    }
    ftFree(fonts);
    // Each input starts from an empty catalogue: its sources point into it.
    ftiDataDelChildren(&state->families);
    return 0;
}
