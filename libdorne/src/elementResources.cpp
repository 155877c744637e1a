// Where elements reach the texture registry and the font library: a TEXTURE
// record owns one texture reference, GRAPH and TEXT records a font handle
// (the font library's opaque value, kept in the records' pointer field).
#include "elementKinds.h"

#include "dorneTextures.h"
#include "sartoFonts.h"

void vdiTextureRelease(int texture)
{
    // An image without texture holds 0 or -1, which the registry refuses.
    txDelete(texture);
}

void* vdiFontCreate(const char* family, int style, int size)
{
    return reinterpret_cast<void*>(ftFontCreate(family, style, size));
}

void vdiFontRelease(void* font)
{
    // No font yet: nothing to release, and nothing for the library to report.
    if (font != nullptr)
        ftFontFree(reinterpret_cast<intptr_t>(font));
}
