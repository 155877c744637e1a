// Functions shared inside the font library; none is exported.
#ifndef SARTO_INTERNAL_H
#define SARTO_INTERNAL_H

#include "sartoFonts.h"
#include "sartoLibrary.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <vector>

// Message types of ftiMsg.
enum { FTI_INFO = 0, FTI_WARNING = 1, FTI_ERROR = 2 };

// Prints a message by the rules of the message level: formatted into 512
// bytes (longer text is cut), shown in colour when its type passes the level,
// followed by the colour reset and a flush at every level above 0.
void ftiMsg(int type, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The payload size of a node type, -1 for an unknown type.
int ftiDataPayloadSize(int type);

// Deletes every child of a node (a state root included), keeping the node.
void ftiDataDelChildren(FNT_DATA_STRUCT* node);

// The payload of a family or source node (null for another type).
FNT_FAMILY* ftiFamily(const FNT_DATA_STRUCT* node);
FNT_SOURCE* ftiSource(const FNT_DATA_STRUCT* node);

// Stores a built-in item at the current count; the count rises while below
// FNT_BUILDIN_MAX.
void ftiAddBuildin(FNT_STRUCT* state, const unsigned char* data, int size);

// Registers the built-in items in their fixed order.
void ftiRegisterBuildins(FNT_STRUCT* state);

// The family name under which a built-in outline item is catalogued; null
// when the face's own family name holds (strikes, unknown data).
const char* ftiBuildinFamily(const unsigned char* data);

// Enters one face into the catalogue: built-in (data and size) or from a
// file (path of at most FNT_FILE_PATH_SIZE - 1 characters). 0 when entered or
// ignored by the catalogue's rules, -1 when memory ran short.
int ftiLibraryAddFont(FNT_STRUCT* state, FT_Face face, int buildin, const char* path,
                      const unsigned char* data, int dataSize);

// Sorts the families by name (byte-wise, ascending).
void ftiSortFamily(FNT_STRUCT* state);

// The family node of exactly that name; null when there is none.
FNT_DATA_STRUCT* ftiFindFamily(const FNT_STRUCT* state, const char* name);

// The style node of exactly that code under a family node; null when none.
FNT_DATA_STRUCT* ftiFindStyle(const FNT_DATA_STRUCT* family, int style);

// The source that serves a request: the style node of a scalable family, the
// size node of a bitmap family nearest to the size (first of equal
// distances; none at 1000 or more). An unknown family falls back to "Arial",
// a missing style to the family's first, each with a warning. Null when
// nothing serves.
FNT_DATA_STRUCT* ftiGetFont(FNT_STRUCT* state, const char* family, int style, int size);

// ---- Font objects ----

// The character code a glyph slot holds (slots 1..7: Latin-1 umlauts and
// sharp s); -1 outside 0..127.
int ftiSlotCode(int slot);

// Rewrites the Latin-1 umlauts and sharp s of a text in place to their slots
// 1..7. A null text is left alone.
void convertString(char* text);

// The size an outline font renders at for a requested size (the ladder),
// and the ladder's top step.
int ftiLadderSize(int size);
enum { FTI_LADDER_TOP = 120 };

// The smallest of 1, 2, 4, ... 4096 not below the value; 4096 above 2048.
int ftiNextPower2(int value);

// The font object payload of a node (null for another type).
FNT_FONT* ftiFont(const FNT_DATA_STRUCT* node);

// The live handle record of a handle value; null for anything else (never
// dereferences the value).
FNT_FONT_HANDLE* ftiHandle(intptr_t value);

// The checks of the drawing functions: initialised (-8), not null (-1), a
// live handle (-2), a current OpenGL context (-4), each with its message.
// 0 and the records, or the code.
int ftiCheckDrawHandle(intptr_t ft, FNT_FONT_HANDLE** handle, FNT_FONT** font);

// A FreeType face, closed at the end of its scope.
struct FtiFace
{
    FT_Face face = nullptr;
    FtiFace() = default;
    FtiFace(const FtiFace&) = delete;
    FtiFace& operator=(const FtiFace&) = delete;
    ~FtiFace()
    {
        if (face != nullptr)
            FT_Done_Face(face);
    }
};

// Opens face 0 of a catalogue source: built-in data from memory, else the
// file. 0 or FreeType's error.
FT_Error ftiOpenFace(FNT_STRUCT* state, const FNT_SOURCE* source, FT_Face* face);

// Opens face 0 of a font file. Only a regular file is opened: a pipe or a
// device would keep FreeType waiting for bytes (a link is followed). 0 or
// FreeType's error (FT_Err_Cannot_Open_Resource for what is not a regular
// file).
FT_Error ftiOpenFileFace(FT_Library freetype, const char* path, FT_Face* face);

// The alpha atlas of an outline font, rows from the bottom.
struct FtiAtlas
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
};

// Measures an outline font's 128 slots at the face's current pixel size and
// draws them into the atlas: fills the glyph tables, descent, largest width,
// row height, texture coordinates and the scalable flag. maxTexture is the
// largest texture side OpenGL allows. No OpenGL call. False when memory runs
// short (messages said).
bool ftiLayoutScalable(FNT_FONT* font, FT_Face face, int maxTexture, FtiAtlas* atlas);

// One slot of a bitmap font as glBitmap takes it: 1 bit per pixel, rows from
// the bottom, each row padded to 4 bytes.
struct FtiStrikeGlyph
{
    bool loaded = false;
    int width = 0;
    int rows = 0;
    std::vector<unsigned char> bits;
};

// Renders a bitmap font's 128 slots from the face's selected strike: fills
// advances, bearings, bitmap sizes and tops, the cell height and the raster
// offset; nominal width and the scalable flag are the caller's. No OpenGL
// call. False when memory runs short.
bool ftiLayoutBitmap(FNT_FONT* font, FT_Face face, std::vector<FtiStrikeGlyph>* glyphs);

// One pixel of a FreeType bitmap as 0..255 (one-bit bitmaps give 0 or 255);
// 0 outside it or for pixel modes other than grey and one-bit.
unsigned char ftiBitmapPixel(const FT_Bitmap& bitmap, int x, int y);

// An alpha texture with mipmaps from an atlas (linear-mipmap-linear
// minification, linear magnification, the largest anisotropy, modulate);
// the texture name, 0 on failure. Keeps the caller's texture binding.
unsigned int ftiCreateAlphaTexture(const unsigned char* pixels, int width, int height);

// A plain alpha texture without mipmaps (nearest, clamped, replace).
unsigned int ftiCreateAlphaTextureXX(const unsigned char* pixels, int width, int height);

// Draws the bound texture on a quad from (0, 0) to (width, height) with those
// texture coordinates.
void ftiDrawTexture(unsigned int texture, float width, float height, float left, float bottom, float right,
                    float top);

// Compiles the display lists of a font: textured quads with the advance
// (outline) or bitmaps with their raster advance (bitmap). False when no
// lists can be had.
bool ftiCompileLists(FNT_FONT* font, const std::vector<FtiStrikeGlyph>* glyphs);

// Deletes a font object's display lists and texture.
void ftiReleaseFontGl(FNT_FONT* font);

// Releases every font object's OpenGL resources and invalidates every
// handle (ftLibraryFree, before the font root is emptied).
void ftiReleaseFonts(FNT_STRUCT* state);

#endif
