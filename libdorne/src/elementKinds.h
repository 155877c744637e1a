// Inside the element model: one descriptor per element kind, the shared
// edit-phase helper, handle helpers, the group clip computation and the
// places where elements reach the texture registry and the font library.
#ifndef DORNE_ELEMENT_KINDS_H
#define DORNE_ELEMENT_KINDS_H

#include "dorneElements.h"
#include "dorneLog.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

// What generic element code needs of a kind. Each kind's source file
// (element<Kind>.cpp) defines its descriptor; a kind gains behaviour by
// setting the hooks there. Every caller treats a null hook as "the kind has
// none" and a null element data as "no record".
struct ElementKind
{
    const char* name = nullptr;         // text of default names ("RECTANGLE")
    size_t recordSize = 0;              // bytes of the kind record; 0: none (GROUP)
    void* (*createRecord)() = nullptr;  // a record with the kind's defaults, null when out of memory
    ELEMENT_UPDATE_FN update = nullptr; // grab handles, box, attribute reset
    ELEMENT_EDIT_FN edit = nullptr;
    ELEMENT_PICK_FN pick = nullptr;     // null: picked by the box
    int (*setAttr)(ELEMENT_STRUCT* element) = nullptr; // attribute reset from the record
    // Releases what the record owns besides itself (fonts, texture
    // references, vertex lists); the record is freed by the caller.
    void (*releaseRecord)(void* record) = nullptr;
    // Edit backup of the record: null copies the bytes and frees with free().
    void* (*copyBackup)(const void* record) = nullptr;
    void (*freeBackup)(void* backup) = nullptr;
};

// A descriptor with its name, record size and record factory; a kind's file
// sets the hooks it has on the result (constant-initialised, so descriptors
// are ready before any code of the library runs):
//   const ElementKind vdiKindRect = [] {
//       ElementKind k = vdiDescribeKind("RECTANGLE", sizeof(RECT_STRUCT), createDefaultRect);
//       k.update = rectSetPickSticky;
//       return k;
//   }();
constexpr ElementKind vdiDescribeKind(const char* name, size_t recordSize, void* (*createRecord)())
{
    ElementKind k;
    k.name = name;
    k.recordSize = recordSize;
    k.createRecord = createRecord;
    return k;
}

extern const ElementKind vdiKindGraph;   // 0
extern const ElementKind vdiKindRect;    // 1
extern const ElementKind vdiKindPoly;    // 2
extern const ElementKind vdiKindCircle;  // 3
extern const ElementKind vdiKindText;    // 4
extern const ElementKind vdiKindLine;    // 5
extern const ElementKind vdiKindArc;     // 6
extern const ElementKind vdiKindImage;   // 7
extern const ElementKind vdiKindGroup;   // 8
extern const ElementKind vdiKindButton;  // 11
extern const ElementKind vdiKindSlider;  // 12
extern const ElementKind vdiKindCPoly;   // 13
extern const ElementKind vdiKindScissor; // 14

// The descriptor of a kind number, null for numbers without a kind (9,
// negative, above 14; 10 is made 4 before anyone asks).
const ElementKind* vdiElementKind(int kind);

// A new kind record: a byte copy of templ when there is one, else zeroed
// with setDefaults applied; null with "<creator>: out of memory" logged.
template <typename T, typename Defaults>
T* vdiNewRecord(const T* templ, const char* creator, Defaults setDefaults)
{
    auto* record = static_cast<T*>(std::calloc(1, sizeof(T)));
    if (record == nullptr) {
        logMsg(1, "%s: out of memory\n", creator);
        return nullptr;
    }
    if (templ != nullptr)
        std::memcpy(record, templ, sizeof(T));
    else
        setDefaults(*record);
    return record;
}

// Copies a colour into four floats.
inline void vdiSetColor(float* to, float r, float g, float b, float a)
{
    to[0] = r;
    to[1] = g;
    to[2] = b;
    to[3] = a;
}

// Moves the points of one geometry command from the backed-up record to the
// element's record (phase 1 of the edit protocol).
typedef void (*EditApplyFn)(ELEMENT_STRUCT* element, const void* backup, int command,
                            const EDIT_PARA_STRUCT* para);

// One phase of a geometry command (1-16) for a kind's edit function:
// 0 replaces the edit backup by a copy of the record and saves the x and y
// of every handle of the list with an id below 10 into savedHandles; 1 runs
// apply while a backup exists; 2 frees the backup; 3 runs the element's own
// edit (this helper when it has none) with phases 0, 1 and 2. The element's
// update runs after phases 0, 1 and 2. 0; -1 for a null element.
int vdiEditPhase(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase,
                 EDIT_PARA_STRUCT* para, EditApplyFn apply);

// Frees an element's edit backup (also the copies it owns); null after.
void vdiFreeEditBackup(ELEMENT_STRUCT* element);

// Appends a handle to the element's list; null when out of memory.
STICKY_STRUCT* vdiAppendHandle(ELEMENT_STRUCT* element, uint32_t id, uint8_t type, float x, float y,
                               float halfWidth, float halfHeight);

// Deletes all handles of the element.
void vdiDeleteHandles(ELEMENT_STRUCT* element);

// Clears the seven override flags of an attribute block (line style, line
// width, line colour, fill colour, visibility, blink, text).
void vdiClearOverrides(ATTR_STRUCT* attr);

// Pixel = (coordinate - origin) x zoom + offset; 0, -1 for a null result.
int vdiDraw2screenpix(float* pixelX, float* pixelY, float offsetX, float offsetY, float originX,
                      float originY, float zoom, float x, float y);

// For every GROUP of the list, groups inside groups included: clip = 1 when
// it holds a SCISSOR element, the scissor's corners as the pixel clip box and
// its box (in the group's coordinates) as the clip quad; the last SCISSOR
// child wins. Every other element's clip is cleared. 0.
int vdiFindScissor(ELEMENT_STRUCT* list, float offsetX, float offsetY, float originX, float originY,
                   float zoom);

// Where elements reach the texture registry (txDelete) and the font library
// (ftFontCreate: a handle or null; ftFontFree of a held handle).
void vdiTextureRelease(int texture);
void* vdiFontCreate(const char* family, int style, int size);
void vdiFontRelease(void* font);

#endif
