// Internal: the texture registry's size rule, shared with the image loaders
// so that they refuse exactly the sizes txCreate refuses, and createTex2.
#ifndef DORNE_TEXTURE_REGISTRY_H
#define DORNE_TEXTURE_REGISTRY_H

// Bytes of RGBA pixels of a width x height image the registry accepts; -1
// for a size it refuses (width or height below 1, or a byte count beyond
// the int range). Logs nothing.
int txImageBytes(int width, int height);

// The pixels of a registered image with that image's own size, so that a
// caller never pairs one image's pixels with another's size; null, with a
// size of 0 x 0, for a negative or unknown id.
const unsigned char* txImage(int id, int& width, int& height);

// Makes, from width x height RGB pixels (3 bytes each, rows as given, the
// first row at t = 0), an RGBA texture with linear filters and repeat
// wrapping, and a display list that draws it in opaque white as one quad
// from (0, 0) to (width, height), texturing off afterwards. The texture and
// the list are the caller's. 0; -1 for a null argument, -3 without a current
// GL context, -4 for a size txImageBytes refuses or beyond the context's
// largest texture, -5 when GL makes no texture or no list (nothing kept).
int createTex2(int width, int height, const unsigned char* rgb, unsigned int* texture, unsigned int* list);

#endif
