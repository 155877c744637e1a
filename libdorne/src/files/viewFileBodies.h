// Inside the binary view file: the bodies of the GRAPH, TEXT and TEXTURE
// element records (revisions 3.01 to 3.03). The element record reader makes
// the element with its kind's defaults and reads its frame; these read the
// body into the kind record (3.01 reads the fill pattern of TEXT and TEXTURE
// and ignores it) and write it back in 3.03. A read logs its refusal through
// the reader; a write is false when a write fails.
#ifndef DORNE_VIEW_FILE_BODIES_H
#define DORNE_VIEW_FILE_BODIES_H

#include "files/viewFile.h"

namespace dorne {

bool readGraphBody(ViewReader& in, ELEMENT_STRUCT* element);
bool readTextBody(ViewReader& in, ELEMENT_STRUCT* element);
bool readTextureBody(ViewReader& in, ELEMENT_STRUCT* element);

bool writeGraphBody(FILE* file, const ELEMENT_STRUCT* element);
bool writeTextBody(FILE* file, const ELEMENT_STRUCT* element);
bool writeTextureBody(FILE* file, const ELEMENT_STRUCT* element);

// width x height pixels of channels bytes (3 RGB, made opaque, or 4 RGBA)
// into a new texture of the image, its old one released; the size is
// checked before anything is allocated. 0 x 0 stores no pixels.
bool readTexturePixels(ViewReader& in, IMAGE_STRUCT& image, int32_t width, int32_t height, int channels);

// The font of the family, style and size in place of the one the record
// held. Made first and released after, so that an equal font is shared
// rather than dropped and made again.
void replaceFont(void*& font, const char* family, int style, int size);

} // namespace dorne

#endif
