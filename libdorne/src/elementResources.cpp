// Where elements reach the texture registry and the font library: a TEXTURE
// record owns one texture reference, GRAPH and TEXT records a font handle.
// The font library is not in yet, so no element holds a font and the font
// calls have nothing to take or drop; they are the one place to call
// ftFontCreate and ftFontFree once it is.
#include "elementKinds.h"

#include "dorneTextures.h"

void vdiTextureRelease(int texture)
{
    // An image without texture holds 0 or -1, which the registry refuses.
    txDelete(texture);
}

void* vdiFontCreate(const char*, int, int)
{
    return nullptr;
}

void vdiFontRelease(void*)
{
}
