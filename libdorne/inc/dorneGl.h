#ifndef DORNE_GL_H
#define DORNE_GL_H

/* The engine's thin layer over the OpenGL 1.x fixed pipeline and its two
   style tables. Every element draws through these calls: colours are
   multiplied by a view-wide colour factor, line widths by a line scale, and
   line stipples and fill patterns come from the built-in tables.
   The colour factor and the line scale are 0 when the library loads (black,
   transparent, zero width): the view runtime sets both before drawing.
   Only the thread that owns the current GL context may call these. The
   open wtBegin block is the calling thread's own; the rest of the layer's
   state is process-wide, and the library sets it only under the
   library-wide lock that its draws and vdWindowInit hold: a caller that
   sets it beside a draw on another thread races that draw. Without a
   current context the calls do nothing. */

#include "dorneExport.h"

#include <stdint.h>

/* Number of built-in fill patterns (0 solid .. 59) and bytes of one pattern:
   a 32 x 32 polygon stipple, 32 rows of 4 bytes, first row at the bottom,
   most significant bit leftmost. */
#define DORNE_PATTERN_COUNT 60
#define DORNE_PATTERN_BYTES 128

/* ---- Colour and attributes ---- */

/* Clamps each factor to 0..1 and stores them; every later vvColor4f is
   multiplied by them. Turns blending on when the clamped alpha is below 0.98
   (never off). 0. */
DORNE_API int vvSetColorFactor(float r, float g, float b, float a);

/* Current colour = (r, g, b, a) times the colour factor. */
DORNE_API void vvColor4f(float r, float g, float b, float a);

/* Clear colour = (r, g, b) with alpha 0; a is not used. 0. */
DORNE_API int wtClearColor(float r, float g, float b, float a);

/* Stores the line scale that wtLineWidth multiplies by. */
DORNE_API void vvSetLineScale(float scale);

/* Line width = line scale x width. */
DORNE_API void wtLineWidth(int width);

/* Factor 1 with pattern 0xFFFF turns line stippling off; any other pair sets
   the stipple and turns it on. */
DORNE_API void wtLineStipple(int factor, unsigned short pattern);

/* Antialias set: line smoothing and blending on. Otherwise blending on when
   alpha or the colour factor's alpha is below 0.98, off when both are at
   least 0.98, and line smoothing off. */
DORNE_API void wtAliasBlend(int antialias, float alpha);

/* Stores the RGB mode flag (kept for callers; drawing does not change). 0. */
DORNE_API int wtSetRgbMode(int flag);

/* Marks every cached attribute for sending again (the wrappers send their
   state on every call, so drawing does not change). */
DORNE_API void vdiUpdateAttr(void);

/* ---- Drawing ---- */

/* glBegin(mode), recorded as open on this thread until wtEnd or wtFinish. */
DORNE_API void wtBegin(unsigned int mode);
DORNE_API void wtEnd(void);
DORNE_API void wtPushMatrix(void);
DORNE_API void wtPopMatrix(void);

/* Ends a wtBegin block that is still open; does nothing otherwise. */
DORNE_API void wtFinish(void);

/* Reads GL errors until none is left (at most 32), printing
   "<where>: failed with error: <GLU text>" for each. 0. */
DORNE_API int checkError(const char* where);

/* RGB to palette lookup (unused by the engine). The table is the caller's:
   21 x 21 x 21 entries, red slowest; setRgbColorIndex keeps the pointer
   (null forgets it) and returns 0. getFastRGBcolor returns the entry at
   (int)(20 r) x 441 + (int)(20 g) x 21 + (int)(20 b), components taken
   within 0..1; 0 without a table. */
DORNE_API int setRgbColorIndex(const uint32_t* table);
DORNE_API uint32_t getFastRGBcolor(float r, float g, float b);

/* ---- Styles ---- */

/* Factor and pattern of line style 1..9 (factor 1; 1 0xAAAA, 2 0xCCCC,
   3 0xF0F0, 4 0xFF00, 5 0x8888, 6 0x8080, 7 0x8181, 8 0xEEEE, 9 0x0C0F);
   every other style is solid, 0xFFFF. 0, or -1 for a null pointer (nothing
   written). */
DORNE_API int getLineStipple(int style, int* factor, unsigned short* pattern);

/* The 128-byte mask of fill pattern 0..59, owned by the library and not to
   be changed; any other index gives pattern 0 (solid). */
DORNE_API const unsigned char* getPattern(int index);

/* on != 0: polygon stippling on with the mask (128 bytes); 0: off (the mask
   is not read). 0, or -1 for on with a null mask (nothing changed). */
DORNE_API int setStipple(int on, const unsigned char* mask);

#endif
