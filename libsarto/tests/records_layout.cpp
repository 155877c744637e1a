// The library's records keep the field order and fixed sizes that callers
// of the flat interface and the exported state rely on. Checked while
// compiling.
#include "sartoFonts.h"
#include "sartoLibrary.h"
#include "sartoPlatform.h"

#include <cstddef>

namespace {

#define ORDERED(T, a, b) static_assert(offsetof(T, a) < offsetof(T, b), #T ": " #a " before " #b)

static_assert(sizeof(int) == 4, "int fields are 32-bit");
static_assert(sizeof(FNT_FAMILY::name) == 64 && sizeof(FNT_FAMILY::sizes) == 30, "family texts");
static_assert(sizeof(FNT_SOURCE::path) == 260, "source path");
static_assert(sizeof(FNT_FONT_INFO::name) == 64, "font info name");
static_assert(sizeof(FNT_STRUCT::buildin) / sizeof(FNT_BUILDIN) == 200, "built-in table");
static_assert(sizeof(API_FILE::name) == 256, "entry name");
static_assert(sizeof(FNT_FONT::family) == 64 && sizeof(FNT_FONT::advance) == 128 * sizeof(int) &&
                  sizeof(FNT_FONT::top) == 128 * sizeof(float) && sizeof(FNT_FONT::texCoord) == 128 * 4 * sizeof(float),
              "font object tables");
static_assert(sizeof(FNT_FONT::context) == 8 && sizeof(FNT_FONT_HANDLE::scale) == 4 &&
                  sizeof(FNT_FONT_HANDLE::magic) == 4,
              "font widths");

static_assert(offsetof(FNT_DATA_STRUCT, type) == 0 && offsetof(FNT_STRUCT, initialised) == 0 &&
                  offsetof(FNT_FAMILY, name) == 0 && offsetof(FNT_SOURCE, style) == 0 &&
                  offsetof(FNT_FONT_INFO, name) == 0 && offsetof(FNT_BUILDIN, data) == 0 &&
                  offsetof(FNT_FONT_HANDLE, magic) == 0 && offsetof(FNT_FONT, family) == 0,
              "first fields");
ORDERED(FNT_DATA_STRUCT, type, next);
ORDERED(FNT_DATA_STRUCT, next, prev);
ORDERED(FNT_DATA_STRUCT, prev, parent);
ORDERED(FNT_DATA_STRUCT, parent, child);
ORDERED(FNT_DATA_STRUCT, child, lastChild);
ORDERED(FNT_DATA_STRUCT, lastChild, data);
ORDERED(FNT_DATA_STRUCT, data, len);
ORDERED(FNT_STRUCT, initialised, paths);
ORDERED(FNT_STRUCT, paths, families);
ORDERED(FNT_STRUCT, families, fonts);
ORDERED(FNT_STRUCT, fonts, freetype);
ORDERED(FNT_STRUCT, freetype, buildinCount);
ORDERED(FNT_STRUCT, buildinCount, buildin);
ORDERED(FNT_FAMILY, name, scalable);
ORDERED(FNT_FAMILY, scalable, fixed);
ORDERED(FNT_FAMILY, fixed, styles);
ORDERED(FNT_FAMILY, styles, buildin);
ORDERED(FNT_FAMILY, buildin, sizeCount);
ORDERED(FNT_FAMILY, sizeCount, sizes);
ORDERED(FNT_SOURCE, style, size);
ORDERED(FNT_SOURCE, size, buildin);
ORDERED(FNT_SOURCE, buildin, path);
ORDERED(FNT_SOURCE, path, data);
ORDERED(FNT_SOURCE, data, dataSize);
ORDERED(FNT_FONT_INFO, name, styles);
ORDERED(FNT_FONT_INFO, styles, fixed);
ORDERED(FNT_FONT_INFO, fixed, scalable);
ORDERED(FNT_FONT_INFO, scalable, buildin);
ORDERED(FNT_FONT_HANDLE, magic, font);
ORDERED(FNT_FONT_HANDLE, font, scale);
ORDERED(FNT_FONT, family, style);
ORDERED(FNT_FONT, style, size);
ORDERED(FNT_FONT, size, texture);
ORDERED(FNT_FONT, texture, listBase);
ORDERED(FNT_FONT, listBase, width);
ORDERED(FNT_FONT, width, cellHeight);
ORDERED(FNT_FONT, cellHeight, advance);
ORDERED(FNT_FONT, advance, bearing);
ORDERED(FNT_FONT, bearing, bitmapWidth);
ORDERED(FNT_FONT, bitmapWidth, boxWidth);
ORDERED(FNT_FONT, boxWidth, rows);
ORDERED(FNT_FONT, rows, top);
ORDERED(FNT_FONT, top, descent);
ORDERED(FNT_FONT, descent, maxWidth);
ORDERED(FNT_FONT, maxWidth, rowHeight);
ORDERED(FNT_FONT, rowHeight, rasterOffset);
ORDERED(FNT_FONT, rasterOffset, scalable);
ORDERED(FNT_FONT, scalable, refCount);
ORDERED(FNT_FONT, refCount, texCoord);
ORDERED(FNT_FONT, texCoord, context);

} // namespace
