#ifndef SARTO_FONTS_H
#define SARTO_FONTS_H

/* Font objects: one family, style and size made ready for OpenGL, shared by
   reference count between equal requests. Outline fonts render their 128
   glyph slots into one alpha texture and draw textured quads scaled to the
   requested size; bitmap strikes draw through 128 display lists of bitmaps.

   A font is held through a handle: the opaque, pointer-sized value that
   ftFontCreate returns (0: no font). It names a FNT_FONT_HANDLE record the
   library keeps; callers never look inside it. A handle is valid until
   ftFontFree or ftLibraryFree; afterwards, and for any other value, the
   font calls return -2 (or -8 while the library is not initialised).

   Glyph slots: slot c holds character c, except slots 1 to 7, which hold the
   Latin-1 characters 246, 214, 228, 196, 252, 220, 223 (o, O, a, A, u, U with
   diaeresis and sharp s). The drawing and measuring functions rewrite those
   bytes of the caller's text in place to 1..7 first; bytes of 128 and above
   draw slot 0 and measure nothing.

   All calls come from the thread that owns the OpenGL context. Integer
   results: 0 success, -1 null argument, -2 not a live handle, -4 no OpenGL
   context, -8 library not initialised, -20 preview failures. */

#include "sartoData.h"
#include "sartoExport.h"
#include "sartoLibrary.h"

#include <stdint.h>

#define FNT_FONT_MAGIC 0xAADDCC22u /* a live handle's magic number */
#define FNT_GLYPH_SLOTS 128

/* The record behind a handle. */
typedef struct FNT_FONT_HANDLE
{
    uint32_t magic;          /* FNT_FONT_MAGIC while valid, 0 once released */
    FNT_DATA_STRUCT* font;   /* the font object's node under the font root */
    float scale;             /* requested size / rendered size; 1.0 for bitmap fonts */
} FNT_FONT_HANDLE;

/* Payload of a font object node (FNT_TYPE_FONT), one per family name as
   requested, style as requested, size and OpenGL context. */
typedef struct FNT_FONT
{
    char family[FNT_NAME_SIZE];  /* as requested, at most 63 characters */
    int style;                   /* style code as requested */
    int size;                    /* the size requests match: rendered (outline) or requested (bitmap) */
    uint32_t texture;            /* alpha atlas texture; 0 for bitmap fonts */
    uint32_t listBase;           /* first of FNT_GLYPH_SLOTS display lists */
    int width;                   /* nominal width: the strike's size (bitmap); 0 (outline) */
    int cellHeight;              /* largest bitmap height (bitmap); 0 (outline) */
    int advance[FNT_GLYPH_SLOTS];     /* pixels */
    int bearing[FNT_GLYPH_SLOTS];     /* horizontal bearing, pixels */
    int bitmapWidth[FNT_GLYPH_SLOTS]; /* rendered bitmap width */
    int boxWidth[FNT_GLYPH_SLOTS];    /* glyph box width from the metrics */
    int rows[FNT_GLYPH_SLOTS];        /* bitmap height */
    float top[FNT_GLYPH_SLOTS];       /* bitmap top, pixels above the baseline */
    float descent;               /* lowest glyph-box bottom, 0 or negative (outline) */
    int maxWidth;                /* largest glyph box width (outline) */
    int rowHeight;               /* largest glyph box height (outline) */
    int rasterOffset;            /* largest bitmap depth below the baseline, >= 0 (bitmap) */
    int scalable;                /* 1 outline, 0 bitmap */
    int refCount;                /* handles sharing the object */
    float texCoord[FNT_GLYPH_SLOTS][4]; /* atlas left, bottom, right, top */
    int64_t context;             /* OpenGL context identity (ftApiGetGlContext) */
} FNT_FONT;

/* A handle to the font of that family, style code and pixel size for the
   current OpenGL context, shared with equal earlier requests; 0 with a
   message when the library is not initialised, no context is current, the
   family is null, no catalogued font serves or memory runs out (also for a
   glyph FreeType loads: no font is made with glyphs missing for want of
   memory). An outline family renders at
   the size ladder's step for the size (11, 14, 17, 20, 25, 34, 50, 100, 120)
   and scales to the size when drawing. An unknown family is replaced by
   "Arial", a missing style by the family's first. Release with ftFontFree. */
SARTO_API intptr_t ftFontCreate(const char* family, int style, int size);

/* Draws the text with its first glyph at the current model-view origin, in
   the current colour: outline fonts as blended textured quads (the current
   matrix keeps the font's scale: save it around the call), bitmap fonts at
   the raster position through ftFontRenderRaster. Rewrites the Latin-1
   bytes of the text in place. 0, -1 (null handle or text), -2, -4, -8. */
SARTO_API int ftFontRender(intptr_t ft, char* text);

/* Draws the text of a bitmap font at the raster position (0, half its raster
   offset) through its display lists (the caller's list base is kept); an
   outline font draws as ftFontRender draws it. Same results. */
SARTO_API int ftFontRenderRaster(int64_t ft, char* text);

/* metric[0] = the text's width (the sum of its glyph advances, times the
   scale for outline fonts), metric[1] = its height (the cell height of a
   bitmap font, 0 for outline fonts). Rewrites the Latin-1 bytes of the text
   in place. 0, -1 (null metric: nothing written; null handle or text), -2,
   -8, without messages; both values are 0 on failure. */
SARTO_API int ftFontStringMetric(intptr_t ft, char* text, int metric[2]);

/* 1 for an outline font, 0 for a bitmap font; -1, -2 or -8. */
SARTO_API int ftFontScalable(intptr_t ft);

/* Releases the handle, and the font object with its texture and display
   lists when no other handle shares it; 0, -1, -2, -8, or -4 without an
   OpenGL context (the handle then stays valid). */
SARTO_API int ftFontFree(intptr_t ft);

/* Renders up to 31 characters of the text at size 50 (or the strike's size)
   into a new RGBA buffer, rows from the top: white and opaque, each glyph's
   bitmap in inverted grey with alpha 0. Sets pixels, width and height (first
   to null, 0, 0); release the buffer with ftFree. 0; -1 for a null text or
   output; -8; -20 for a null family or a font that cannot be found or
   opened. Needs no OpenGL context. */
SARTO_API int ftFontPreview(const char* family, int style, const char* text, unsigned char** pixels, int* width,
                            int* height);

#endif
