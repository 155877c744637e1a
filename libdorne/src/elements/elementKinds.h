// Inside the element model: one descriptor per element kind (with its draw
// slot, through which the draw loop reaches every kind), the shared
// edit-phase helper, handle, box and style helpers, the group clip
// computations and the places where elements reach the texture registry and
// the font library.
#ifndef DORNE_ELEMENT_KINDS_H
#define DORNE_ELEMENT_KINDS_H

#include "dorneElements.h"
#include "dorneLog.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

// One element's turn in the draw loop: the element on the loop's matrix and
// the loop's arguments.
struct VdiDrawCall
{
    ELEMENT_STRUCT* element;
    int running;            // the view's run state; 0 is edit mode
    int halt;
    int clipInEdit;
    DRAW_PARA_STRUCT* para; // never null
    int stencilLevel;
    float tx, ty;           // the position, when the loop left the matrix alone
};
typedef void (*ElementDrawFn)(const VdiDrawCall& call);

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
    // The kind's drawing in the draw loop; null draws nothing. Set it with
    // vdiDrawRecord (below) in the kind's own file.
    ElementDrawFn draw = nullptr;
    // An element of the kind without actions is drawn at its position
    // through tx, ty instead of a translated matrix (LINE).
    bool drawsAtPosition = false;
};

// Draw slots over a kind's draw function, matched by its signature:
// (record, block, selected), (record, block, selected, para) or (record,
// block, selected, tx, ty); the block may be const. An element without
// record draws nothing. In the kind's descriptor:
//   k.draw = vdiDrawRecord<drawRect>;
// A kind that does more than call its draw function (a graph's values in
// run mode, a scissor only for a designer) writes its own ElementDrawFn.
template <typename T, typename A>
void vdiCallDraw(int (*draw)(T*, A*, int), const VdiDrawCall& c)
{
    draw(static_cast<T*>(c.element->data), &c.element->attr, c.element->selected);
}
template <typename T, typename A, typename P>
void vdiCallDraw(int (*draw)(T*, A*, int, P*), const VdiDrawCall& c)
{
    draw(static_cast<T*>(c.element->data), &c.element->attr, c.element->selected, c.para);
}
template <typename T, typename A>
void vdiCallDraw(int (*draw)(T*, A*, int, float, float), const VdiDrawCall& c)
{
    draw(static_cast<T*>(c.element->data), &c.element->attr, c.element->selected, c.tx, c.ty);
}
template <auto Draw>
void vdiDrawRecord(const VdiDrawCall& call)
{
    if (call.element->data != nullptr)
        vdiCallDraw(Draw, call);
}

// The GROUP's drawing: its edit-mode frame and its children through the
// draw loop, clipped to its SCISSOR child's box when it has one.
void vdiDrawGroupChildren(const VdiDrawCall& call);

// A descriptor with its name, record size and record factory; a kind's file
// sets the hooks it has on the result (constant-initialised, so descriptors
// are ready before any code of the library runs):
//   const ElementKind vdiKindRect = [] {
//       ElementKind k = vdiDescribeKind("RECTANGLE", sizeof(RECT_STRUCT), createDefaultRect);
//       k.update = rectSetPickSticky;
//       k.draw = vdiDrawRecord<drawRect>;
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

// The element's kind record as T; null for a null element or record.
template <typename T>
T* vdiRecord(ELEMENT_STRUCT* element)
{
    return element != nullptr ? static_cast<T*>(element->data) : nullptr;
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
// update runs after phases 0, 1 and 2. 0; -1 for a null element, and when
// memory ran out for the backup or in an update (phase 3: in any phase).
int vdiEditPhase(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase,
                 EDIT_PARA_STRUCT* para, EditApplyFn apply);

// Frees an element's edit backup (also the copies it owns); null after.
void vdiFreeEditBackup(ELEMENT_STRUCT* element);

// Appends a handle to the element's list: behind last, which must be the
// list's last handle, or, when last is null, at the tail the list is walked
// to. Handles of one element added in a row pass the previous result, so n
// of them take time n. The new handle; null when out of memory.
STICKY_STRUCT* vdiAppendHandle(ELEMENT_STRUCT* element, uint32_t id, uint8_t type, float x, float y,
                               float halfWidth, float halfHeight, STICKY_STRUCT* last = nullptr);

// The handle list of an update in the making: the element's old handles
// stay aside until the new list is complete, so that an update that runs out
// of memory leaves the element with the handles it had.
class HandleRebuild
{
public:
    explicit HandleRebuild(ELEMENT_STRUCT* element);
    ~HandleRebuild() { settle(true); }
    HandleRebuild(const HandleRebuild&) = delete;
    HandleRebuild& operator=(const HandleRebuild&) = delete;
    // made: every new handle was made; the old ones are freed, 0. Else the
    // new ones are freed and the old ones come back, -1. Once.
    int settle(bool made);

private:
    ELEMENT_STRUCT* element_;
    STICKY_STRUCT* old_;
    bool settled_ = false;
};

// Appends box handles in the order of ids (each 1-9), half size 4: 1
// top-left, 2 top centre, 3 top-right, 4 right centre, 5 bottom-right, 6
// bottom centre, 7 bottom-left, 8 left centre (type 1), 9 the centre (type
// 3); the centre lines run through (midX, midY). last as for
// vdiAppendHandle. False when memory ran out for one of them (the others are
// made).
bool vdiAppendBoxHandles(ELEMENT_STRUCT* element, const uint8_t* ids, int count, float minX, float minY,
                         float maxX, float maxY, float midX, float midY, STICKY_STRUCT* last = nullptr);

// Appends the box record: id 0, type 0, the lower-left corner with width and
// height in place of the half sizes. False when memory ran out.
bool vdiAppendBoxRecord(ELEMENT_STRUCT* element, float minX, float minY, float maxX, float maxY);

// Picked by its box: the element's box, centre and position (the box
// centre) and size.
void vdiSetElementBox(ELEMENT_STRUCT* element, float minX, float minY, float maxX, float maxY);

// The update of kinds given by four corners (rectangle, image, button,
// scissor) without their attribute reset: handles 1-8, 9 and the box record
// around the corners, the element's box, and draw = corner - centre. False
// when memory ran out for a handle (all the rest is done).
bool vdiCornerUpdate(ELEMENT_STRUCT* element, const float* cornerX, const float* cornerY, float* drawX,
                     float* drawY);

// Phase 1 of a geometry command on four corners: each corner transformed
// from the backed-up one (resizeMoveElement).
void vdiMoveCorners(ELEMENT_STRUCT* element, int command, const EDIT_PARA_STRUCT* para,
                    const float* fromX, const float* fromY, float* toX, float* toY);

// A pixel coordinate as an int, truncated; values beyond the int range are
// clamped, NaN gives 0.
int vdiPixelToInt(float v);

// Clears the seven override flags of an attribute block (line style, line
// width, line colour, fill colour, visibility, blink, text).
void vdiClearOverrides(ATTR_STRUCT* attr);

// The stipple pair of a line style; the 128-byte mask of a fill pattern.
void vdiLineStipple(int style, int32_t& factor, uint16_t& pattern);
void vdiPatternBits(int pattern, uint8_t* bits);

// Resets an attribute block to a record's style: line style, stipple pair,
// width (truncated to a byte), line and fill colour, visible, empty text,
// override flags cleared.
void vdiResetAttr(ATTR_STRUCT& attr, int lineStyle, int stippleFactor, uint16_t stipplePattern,
                  float lineWidth, const float (&line)[4], const float (&fill)[4]);

// The attribute reset of records with outline and fill (rectangle, circle).
template <typename T>
void vdiShapeAttr(ATTR_STRUCT& attr, const T& s)
{
    vdiResetAttr(attr, s.lineStyle, s.stippleFactor, s.stipplePattern, s.lineWidth,
                 {s.lineR, s.lineG, s.lineB, s.lineA}, {s.fillR, s.fillG, s.fillB, s.fillA});
}

// The style commands of records with outline and fill: 20 width (outline
// off below 1), 21 line style with its stipple, 22 fill flag and colour, 23
// outline flag and line colour, 24 antialias, 25 fill alpha, 26 line alpha
// (alphas in r), 47 fill pattern with its mask. Others change nothing.
template <typename T>
void vdiEditShapeStyle(T& s, int command, const EDIT_PARA_STRUCT* para)
{
    switch (command) {
    case 20:
        s.lineWidth = para->value;
        s.outline = para->value < 1 ? 0 : 1;
        break;
    case 21:
        s.lineStyle = para->intValue;
        vdiLineStipple(s.lineStyle, s.stippleFactor, s.stipplePattern);
        break;
    case 22:
        s.fill = para->intValue;
        s.fillR = para->r;
        s.fillG = para->g;
        s.fillB = para->b;
        break;
    case 23:
        s.outline = para->intValue;
        s.lineR = para->r;
        s.lineG = para->g;
        s.lineB = para->b;
        break;
    case 24:
        s.antialias = para->intValue;
        break;
    case 25:
        s.fillA = para->r;
        break;
    case 26:
        s.lineA = para->r;
        break;
    case 47:
        s.pattern = para->intValue;
        vdiPatternBits(s.pattern, s.patternBits);
        break;
    default:
        break;
    }
}

// Turns the current matrix counter-clockwise by the bound value (degrees)
// of every rotate action (type 5) of the element, unmapped (actionRect,
// actionPoly).
void vdiRotateByActions(const ELEMENT_STRUCT* element);

// Pixel = (coordinate - origin) x zoom + offset; 0, -1 for a null result.
int vdiDraw2screenpix(float* pixelX, float* pixelY, float offsetX, float offsetY, float originX,
                      float originY, float zoom, float x, float y);

// Clears the clip flag of every element of the list, groups inside groups
// included, and calls found(group, scissor) for each SCISSOR child with a
// record of each GROUP after setting the group's clip to 1.
template <typename Found>
void vdiVisitScissors(ELEMENT_STRUCT* list, Found found)
{
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        e->clip = 0;
        if (e->kind != VD_GROUP)
            continue;
        for (const ELEMENT_STRUCT* child = e->children; child != nullptr; child = child->next) {
            if (child->kind == VD_SCISSOR && child->data != nullptr) {
                e->clip = 1;
                found(e, child);
            }
        }
        vdiVisitScissors(e->children, found);
    }
}

// For every GROUP of the list, groups inside groups included: clip = 1 when
// it holds a SCISSOR element, the scissor's corners as the pixel clip box and
// its box (in the group's coordinates) as the clip quad; the last SCISSOR
// child wins. Every other element's clip is cleared. 0.
int vdiFindScissor(ELEMENT_STRUCT* list, float offsetX, float offsetY, float originX, float originY,
                   float zoom);

// As vdiFindScissor, but each clip box comes from the group's own box
// projected through the current GL matrices and viewport (printed as
// "sx = .. sy = .. sw = .. sh = .."); no clip quad is set. Needs a current
// GL context. 0.
int vdiFindScissor_New(ELEMENT_STRUCT* list, float offsetX, float offsetY, float originX, float originY,
                       float zoom);

// Where elements reach the texture registry (txDelete) and the font library
// (ftFontCreate: a handle or null; ftFontFree of a held handle). Family
// names are read up to 63 characters; texts up to 255, copied first, since
// the font library rewrites the texts it is given.
void vdiTextureRelease(int texture);
void* vdiFontCreate(const char* family, int style, int size);
void vdiFontRelease(void* font);
// Copies from into the field of size bytes: at most size - 1 characters
// (from may overlap the field), ended; a null from gives an empty text.
void vdiCopyName(char* to, size_t size, const char* from);
// 1 for an outline font, 0 for a bitmap font or none.
int vdiFontScalable(void* font);
// Width and height of the text in the font's pixels; 0, 0 without a font.
void vdiFontMetric(void* font, const char* text, int& width, int& height);
// Draws the text at the current origin; the font library's result.
int vdiFontRender(void* font, const char* text);
// The style to use for the family: style itself when the family has it,
// else the first of 1, 2, 4, 8 it has; unchanged for a family the catalogue
// does not hold.
int vdiFontStyleFor(const char* family, int style);
// The catalogued bitmap size of the family's style nearest to size (the
// earlier of two as near); size itself for a scalable or unknown family.
int vdiFontSizeFor(const char* family, int style, int size);

#endif
