// Where elements reach the texture registry and the font library: a TEXTURE
// record owns one texture reference, GRAPH and TEXT records a font handle
// (the font library's opaque value, kept in the records' pointer field).
// The font library has no lock of its own: every call into it goes through
// here under the library lock, so that whatever makes, measures or frees a
// font may run beside a load or a draw in another thread.
#include "elements/elementKinds.h"

#include "base/libraryLock.h"

#include "dorneTextures.h"
#include "sartoFonts.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

// A bounded copy of a record's text: records read from files need not end
// their texts, and the font library rewrites the bytes it is given.
template <size_t N>
void copyText(char (&to)[N], const char* from)
{
    vdiCopyName(to, N, from);
}

intptr_t handleOf(void* font)
{
    return reinterpret_cast<intptr_t>(font);
}

using dorne::LibraryLockGuard;
using dorne::libraryLock;

} // namespace

void vdiCopyName(char* to, size_t size, const char* from)
{
    if (size == 0)
        return;
    const size_t n = from != nullptr ? strnlen(from, size - 1) : 0;
    if (n > 0)
        std::memmove(to, from, n);
    to[n] = '\0';
}

void vdiTextureRelease(int texture)
{
    // An image without texture holds 0 or -1, which the registry refuses.
    txDelete(texture);
}

void* vdiFontCreate(const char* family, int style, int size)
{
    LibraryLockGuard lock(libraryLock());
    char name[FNT_NAME_SIZE];
    copyText(name, family);
    return reinterpret_cast<void*>(ftFontCreate(name, style, size));
}

void vdiFontRelease(void* font)
{
    LibraryLockGuard lock(libraryLock());
    // No font yet: nothing to release, and nothing for the library to report.
    if (font != nullptr)
        ftFontFree(handleOf(font));
}

int vdiFontScalable(void* font)
{
    LibraryLockGuard lock(libraryLock());
    return font != nullptr && ftFontScalable(handleOf(font)) == 1 ? 1 : 0;
}

void vdiFontMetric(void* font, const char* text, int& width, int& height)
{
    LibraryLockGuard lock(libraryLock());
    width = height = 0;
    if (font == nullptr)
        return;
    char copy[256];
    copyText(copy, text);
    int metric[2] = {0, 0};
    ftFontStringMetric(handleOf(font), copy, metric);
    width = metric[0];
    height = metric[1];
}

int vdiFontRender(void* font, const char* text)
{
    LibraryLockGuard lock(libraryLock());
    char copy[256];
    copyText(copy, text);
    return ftFontRender(handleOf(font), copy);
}

int vdiFontStyleFor(const char* family, int style)
{
    LibraryLockGuard lock(libraryLock());
    char name[FNT_NAME_SIZE];
    copyText(name, family);
    const int styles = ftFamilyGetStyles(name);
    if (styles <= 0)
        return style;
    for (const int s : {1, 2, 4, 8})
        if (s == style && (styles & s) != 0)
            return style;
    for (const int s : {1, 2, 4, 8})
        if ((styles & s) != 0)
            return s;
    return style;
}

int vdiFontSizeFor(const char* family, int style, int size)
{
    LibraryLockGuard lock(libraryLock());
    char name[FNT_NAME_SIZE];
    copyText(name, family);
    int count = 0;
    int* sizes = ftFamilyGetSizes(name, style, &count);
    if (sizes == nullptr)
        return size;
    int nearest = size;
    long distance = 100000;
    for (int i = 0; i < count; ++i) { // the family's strike sizes, at most 30
        const long d = std::labs(long(sizes[i]) - long(size));
        if (d < distance) {
            distance = d;
            nearest = sizes[i];
        }
    }
    ftFree(sizes);
    return nearest;
}
