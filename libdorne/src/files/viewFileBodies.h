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

} // namespace dorne

#endif
