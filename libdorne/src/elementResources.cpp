// Where elements reach the texture registry and the font library: a TEXTURE
// record owns one texture reference, GRAPH and TEXT records a font handle.
// Neither service is in the library yet, so no element holds such a
// reference and these have nothing to take or drop; they are the one place
// to call txDelete, ftFontCreate and ftFontFree once they are.
#include "elementKinds.h"

void vdiTextureRelease(int)
{
}

void* vdiFontCreate(const char*, int, int)
{
    return nullptr;
}

void vdiFontRelease(void*)
{
}
