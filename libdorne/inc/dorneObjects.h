#ifndef DORNE_OBJECTS_H
#define DORNE_OBJECTS_H

/* The exported object accessors (vdObj...): position, size, attributes and
   picking of a view's elements. Element handles are the records of the
   view's element tree, valid until the view is freed. */

#include "dorneExport.h"
#include "dorneElements.h"
#include "dorneView.h"

#include <stdint.h>

/* Mask bits of OBJ_ATTR_STRUCT.mask for vdObjSetAttr. */
enum
{
    OBJ_ATTR_X = 1,
    OBJ_ATTR_Y = 2,
    OBJ_ATTR_WIDTH = 4,
    OBJ_ATTR_HEIGHT = 8,
    OBJ_ATTR_KIND = 16 /* the kind's style fields below */
};

/* The public attribute record of one element: 776 bytes of 32-bit words
   (word n at byte 4n) and one text. Which style fields a kind has:
     GRAPH: fillColor (its background colour) and the graph block;
     RECTANGLE, POLYGON (open and closed), CIRCLE, ARC: lineStyle to fillColor;
     TEXT: lineStyle, lineWidth, antialias, lineColor (its text colour), text;
     LINE: lineStyle, lineWidth, antialias, lineColor;
     TEXTURE, BUTTON, SLIDER: fillColor (their colour);
     GROUP, SCISSOR: none. */
typedef struct OBJ_ATTR_STRUCT
{
    int32_t mask;                 /* word 0: OBJ_ATTR_... bits for vdObjSetAttr */
    int32_t unused1[2];           /* words 1, 2 */
    float x, y, width, height;    /* words 3-6 */
    int32_t lineStyle;            /* word 7: style number of the kind record */
    int32_t lineWidth;            /* word 8: the record's float width truncated toward zero */
    int32_t antialias;            /* word 9 */
    int32_t outline;              /* word 10 */
    int32_t fill;                 /* word 11 */
    float lineColor[4];           /* words 12-15: RGBA */
    float fillColor[4];           /* words 16-19: RGBA */
    int32_t unused2[64];          /* words 20-83 */
    char text[256];               /* bytes 336-591: TEXT template, zero-terminated */
    int32_t unused3;              /* bytes 592-595 (word 148) */
    /* The graph block, words 149-193. */
    int32_t tickX, tickXAuto;     /* 149, 150 */
    float tickXSpace;             /* 151 */
    int32_t tickXSub;             /* 152 */
    int32_t tickY, tickYR, tickYAuto; /* 153-155 */
    float tickYSpace;             /* 156 */
    int32_t tickYSub;             /* 157 */
    int32_t labelX, labelY, labelYR; /* 158-160 */
    int32_t gridX, gridXAuto;     /* 161, 162 */
    float gridXSpace;             /* 163 */
    int32_t gridY, gridYAuto;     /* 164, 165 */
    float gridYSpace;             /* 166 */
    float outlineColor[4];        /* 167-170 */
    float gridColor[4];           /* 171-174 */
    int32_t gridStyleIndex;       /* 175 */
    float rate;                   /* 176 */
    int32_t samples;              /* 177 */
    int32_t autoscale;            /* 178 */
    float minSpreadY;             /* 179 */
    float ymin, ymax;             /* 180, 181 */
    int32_t autoscaleX;           /* 182 */
    float minSpreadX;             /* 183 */
    float xmin, xmax;             /* 184, 185 */
    int32_t reserved2, reserved1; /* 186, 187: the graph's reserved2, then reserved1 */
    int32_t labelFixX, labelFixY; /* 188, 189 */
    float labelXMin, labelXMax;   /* 190, 191 */
    float labelYMin, labelYMax;   /* 192, 193 */
} OBJ_ATTR_STRUCT;

/* ---- Enumeration. Arrays of GetAll functions are malloc'd and the
   caller's (vdObjFree). ---- */

/* Every element of the view, depth first (a group before its children),
   *count set. Null with *count untouched for a null count, a null or
   foreign view; null when memory runs out (or the view has no element,
   *count 0). */
DORNE_API ELEMENT_STRUCT** vdObjGetAll(vdView_Struct* view, int* count);

/* The element named name, depth first with a group's children searched
   before the group's own name; null when none (or a null name). A null
   view gives (ELEMENT_STRUCT*)-1, a foreign record (ELEMENT_STRUCT*)-2. */
DORNE_API ELEMENT_STRUCT* vdObjGet(vdView_Struct* view, const char* name);

/* The element's name (64 characters) or id (256 characters); null for a
   null element. */
DORNE_API char* vdObjName(ELEMENT_STRUCT* element);
DORNE_API char* vdObjId(ELEMENT_STRUCT* element);

/* The element's kind code; -1 for a null element. */
DORNE_API int vdObjType(ELEMENT_STRUCT* element);

/* The element's x, y (centre), width or height; -1.0 for a null element. */
DORNE_API float vdObjX(ELEMENT_STRUCT* element);
DORNE_API float vdObjY(ELEMENT_STRUCT* element);
DORNE_API float vdObjWidth(ELEMENT_STRUCT* element);
DORNE_API float vdObjHeight(ELEMENT_STRUCT* element);

/* ---- Changes. These take no lock (an element has no view to lock): use
   them on stopped views or views started without animation, from the
   thread that draws. ---- */

/* Through the element's edit function in phase 3: SetX and SetY move it
   (command 9) to the new x with its edit reference y, or the reference x
   with the new y; SetWidth (10) and SetHeight (11) resize it. 0; -1 for a
   null element, one without edit function or one whose edit fails (a kind
   without its record, or memory running out, as ELEMENT_EDIT_FN in
   dorneElements.h says). */
DORNE_API int vdObjSetX(ELEMENT_STRUCT* element, float x);
DORNE_API int vdObjSetY(ELEMENT_STRUCT* element, float y);
DORNE_API int vdObjSetWidth(ELEMENT_STRUCT* element, float width);
DORNE_API int vdObjSetHeight(ELEMENT_STRUCT* element, float height);

/* A GRAPH's sample count (the rings take it at the next start) or update
   rate (stored as float). 0; -1 null element; -2 not a GRAPH. */
DORNE_API int vdObjSetSamples(ELEMENT_STRUCT* element, int samples);
DORNE_API int vdObjSetUpdateRate(ELEMENT_STRUCT* element, int rate);

/* Fills x, y, width, height and the kind's style fields from the element
   and its kind record; the mask, unused words and fields the kind lacks
   are not touched. 0; -1 for a null element or record pointer, a kind not
   listed at OBJ_ATTR_STRUCT or one without its kind record. */
DORNE_API int vdObjGetAttr(ELEMENT_STRUCT* element, OBJ_ATTR_STRUCT* attr);

/* Applies what attr->mask selects, in this order: x, y, width, height (as
   vdObjSetX ... vdObjSetHeight), then the kind's style fields into its
   kind record (the line width as float) followed by the kind's attribute
   reset. 0; -1 for a null element or record pointer, or with
   OBJ_ATTR_KIND a kind not listed (nothing is then changed); -1 also when
   one of the setters fails (the other selected fields are still applied). */
DORNE_API int vdObjSetAttr(ELEMENT_STRUCT* element, OBJ_ATTR_STRUCT* attr);

/* ---- Picking every element under a point, whatever its actions,
   visibility or pick function, by its stored box (pick mode 0) or
   segment (mode 1, within 5 / zoom; a zero-length segment within 5 / zoom
   of its point); a group's children before the group. The hits come in
   drawing order (the last is the topmost) in an array of the calling
   thread, valid until that thread's next pick; at most 499 are counted.
   *count is set to 0 first; null when nothing is hit. ---- */

/* At the view point (x, y), zoom 1. Null for a null count, a null or
   foreign view. */
DORNE_API ELEMENT_STRUCT** vdObjPickView(vdView_Struct* view, int x, int y, int* count);

/* At the window pixel (x, y) (y from the top), turned into view units with
   the view's draw offset and the window's zoom as the last vdViewDraw left
   them (integer steps). Null for a null count, null or foreign records, or
   a zoom of 0 or not finite. */
DORNE_API ELEMENT_STRUCT** vdObjPick(vdWindow_Struct* window, vdView_Struct* view, int x, int y, int* count);

/* Frees an array of vdObjGetAll; null does nothing. */
DORNE_API void vdObjFree(void* pointer);

#endif
