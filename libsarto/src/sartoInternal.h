// Functions shared inside the font library; none is exported.
#ifndef SARTO_INTERNAL_H
#define SARTO_INTERNAL_H

#include "sartoLibrary.h"

#include <ft2build.h>
#include FT_FREETYPE_H

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

#endif
