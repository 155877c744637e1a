#ifndef DORNE_TEXTURES_H
#define DORNE_TEXTURES_H

/* Images and the render texture.
   The texture registry keeps each RGBA image of the views once, under
   integer ids that are reference counted (a copied element shares its
   image); it makes the GL texture lazily, padded to a power of two from 64
   to 2048, and draws it through four corners. The render texture caches a
   whole view as one 1024 x 1024 texture.
   The registry's functions hold the library-wide lock, so images may be
   registered, copied, read and dropped on several threads at once (each
   GL texture is made in the context current where it is first made or
   drawn); the pixels txData gives stay valid until their last id is
   dropped. The render texture functions take no lock: only the thread
   that owns the current GL context calls them, one view at a time (the
   draws hold the library lock around them). */

#include "dorneExport.h"
#include "dorneView.h"

/* One registered image (owned by the registry). */
typedef struct T_Texture
{
    int count;                       /* ids that refer to it */
    int width, height;               /* pixels, at least 1 */
    int paddedWidth, paddedHeight;   /* size of the GL texture; 0 until made */
    unsigned char* pixels;           /* owned copy: width x height RGBA, rows as given */
    float u[4], v[4];                /* texture coordinates of corners 0..3 */
    unsigned int name;               /* GL texture name; 0 until made */
} T_Texture;

/* ---- Texture registry ---- */

/* Registers a copy of width x height RGBA pixels and tries to make its GL
   texture at once (a failure there does not fail the call). Returns the new
   id (1, 2, ...; never reused), or -1 for null pixels, a size below 1 x 1 or
   whose byte count width x height x 4 exceeds the int range (logged), or no
   memory. */
DORNE_API int txCreate(int width, int height, const unsigned char* rgba);

/* A new id for the same image (one more reference); -1 for a negative or
   unknown id or before the first txCreate. */
DORNE_API int txCopy(int id);

/* Drops the id; the image, its pixels and its GL texture are freed with its
   last id. 0, or -1 for a negative or unknown id or before the first txCreate. */
DORNE_API int txDelete(int id);

/* The image's RGBA pixels (width x height x 4 bytes, owned by the registry);
   null for a negative or unknown id or before the first txCreate. */
DORNE_API const unsigned char* txData(int id);

/* Draws the image as one quad through the corners (x[i], y[i]), i = 0..3
   (corner 0 shows the first pixel of the first row, corner 1 the first pixel
   of the last row, corner 2 the last pixel of the last row), tinted by the
   current colour; makes the GL texture first when it is missing. Leaves
   texturing off and blending on. -1 for a negative or unknown id, null
   arrays or before the first txCreate; 0 otherwise, also when the texture
   cannot be made (nothing drawn; an image too large for the GL
   implementation is tried again at every draw but logged once). */
DORNE_API int txDraw(int id, const float x[4], const float y[4]);

/* ---- Render texture ---- */

/* Makes the view's 1024 x 1024 RGBA render texture (zeroed; linear filters,
   repeat wrapping, replace environment, anisotropy at the maximum when
   offered) and stores its name in view->renderTexture, replacing one made
   before. Leaves texturing and blending on (source alpha, one minus source
   alpha). 0, -1 for a null view. */
DORNE_API int createRenderTexture(vdView_Struct* view);

/* Saves the current viewport in the library's one saved viewport. 0. */
DORNE_API int renderSaveViewport(vdView_Struct* view);

/* Projection = orthographic over the view's area (x to x + width, y to
   y + height, depth -1 to 1), viewport (0, 0, width - 1, height - 1) with
   each value truncated, model-view = identity. 0, -1 for a null view. */
DORNE_API int renderSetViewport(vdView_Struct* view);

/* Copies the frame buffer's lower-left width x height pixels (at most
   1024 x 1024) into the render texture; texturing and blending end off.
   0, -1 for a null view, -3 when the view has no render texture. */
DORNE_API int fillRenderTexture(vdView_Struct* view);

/* Sets the viewport saved by renderSaveViewport. 0. */
DORNE_API int restoreViewPort(vdView_Struct* view);

/* Draws the render texture in opaque white over the view's area, blended,
   texture coordinates up to (width / 1024, height / 1024); texturing and
   blending end off. 0, -1 for a null view. */
DORNE_API int drawRenderTexture(vdView_Struct* view);

/* Calls the display list the caller stored in view->displayList (the
   library makes none: list 0 draws nothing). 0, -1 for a null view. */
DORNE_API int drawListTexture(vdView_Struct* view);

/* Pixel buffers are not used: views render into the current frame buffer,
   and the draws call none of these. pbufferInit returns 0; the others do
   nothing. */
DORNE_API int pbufferInit(int width, int height);
DORNE_API void pbufferEnable(void);
DORNE_API void pbufferDisable(void);
DORNE_API void pbufferDestroy(void);

#endif
