// libFuzzer target: arbitrary bytes as a font, entered into the catalogue
// as a folder font and as built-in data, then every query of the catalogue
// over what it holds. Nothing may crash or step outside a record.
#include "sartoInternal.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

// The built-in fonts are left out of this target: the fuzzed bytes stand in.
void ftiRegisterBuildins(FNT_STRUCT*) {}
const char* ftiBuildinFamily(const unsigned char*)
{
    return nullptr;
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
        }
    }
    ftFree(fonts);
    // Each input starts from an empty catalogue: its sources point into it.
    ftiDataDelChildren(&state->families);
    return 0;
}
