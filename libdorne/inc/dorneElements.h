#ifndef DORNE_ELEMENTS_H
#define DORNE_ELEMENTS_H

/* The element model: a view is a list of elements drawn in list order; a
   GROUP holds a list of its own. Every element is one ELEMENT_STRUCT with its
   kind record (data) reached through three per-kind functions. */

#include "dorneExport.h"
#include "dorneActions.h"

#include <stdint.h>

/* Element kinds. */
enum
{
    VD_GRAPH = 0,
    VD_RECTANGLE = 1,
    VD_POLYGON = 2,      /* open (polyline) */
    VD_CIRCLE = 3,
    VD_TEXT = 4,
    VD_LINE = 5,
    VD_ARC = 6,
    VD_TEXTURE = 7,      /* image */
    VD_GROUP = 8,
    VD_TEXT_LEGACY = 10, /* becomes VD_TEXT at creation */
    VD_BUTTON = 11,
    VD_SLIDER = 12,
    VD_CPOLYGON = 13,    /* closed polygon */
    VD_SCISSOR = 14
};

/* The style an element is drawn with in the current frame. The kind's
   attribute function fills it from the kind record and clears the override
   flags; actions overwrite single fields and set their flags. */
typedef struct ATTR_STRUCT
{
    uint8_t lineStyle;           /* line style number; a BUTTON's pressed state in run mode */
    uint8_t lineStyleOverride;   /* also covers the two stipple fields */
    int32_t stippleFactor;
    uint16_t stipplePattern;
    uint8_t lineWidth;           /* pixels */
    uint8_t lineWidthOverride;
    float lineColor[4];          /* RGBA */
    uint8_t lineColorOverride;
    float fillColor[4];          /* RGBA */
    uint8_t fillColorOverride;
    uint8_t visible;             /* run mode: 1 visible, 0 hidden */
    uint8_t visibleOverride;     /* a visibility action or a group decided it */
    uint8_t blink;
    uint8_t blinkOverride;       /* blinks only while blink and blinkOverride are 1 */
    uint8_t blinkRate;           /* 1-8 */
    char text[256];              /* what a TEXT element shows */
    uint8_t textOverride;
    uint8_t running;             /* 1 in run mode, 0 in edit mode */
    float arcEnd;                /* end angle of an ARC, radians */
} ATTR_STRUCT;

/* One grab handle (ids: 0 box record, 1-8 box handles, 9 centre, 50/51 arc
   angles, 100/101 line ends, vertex id + 100). */
typedef struct STICKY_STRUCT
{
    uint8_t selected;            /* hit by the last findSticky */
    uint8_t type;                /* 1 handle, 3 centre handle, 0 or 2 box record */
    uint32_t id;
    float x, y;                  /* view coordinates */
    float halfWidth, halfHeight; /* half size of the hit box in pixels at zoom 1 */
    struct STICKY_STRUCT* next;
    struct STICKY_STRUCT* prev;
} STICKY_STRUCT;

/* Parameters of one edit command, built on the caller's stack. */
typedef struct EDIT_PARA_STRUCT
{
    float x, y;                  /* pointer, new centre, width in x, height in y, scales, angle */
    float value;
    float r, g, b;               /* a colour; an alpha travels in r */
    int32_t intValue;
    char* text;
} EDIT_PARA_STRUCT;

struct ELEMENT_STRUCT;

/* The kind's grab-handle function: rebuilds handles, box and pick fields
   from the kind record and resets the attribute block. 0; -1 for a null
   element or record, and when memory runs out for a grab handle (logged
   "createSticky: out of memory"; the rest is done, and the element keeps
   the handles it had before). */
typedef int (*ELEMENT_UPDATE_FN)(struct ELEMENT_STRUCT* element);
/* The kind's edit function: (element, handle list, command, phase,
   parameters). Geometry commands 1-16 (resizeMoveElement) run in phases:
   0 begin (back up the kind record, save the handles' positions), 1 drag,
   2 end (drop the backup), 3 all three in turn; the element's update runs
   after each. Other commands change the kind's style. 0; -1 for a null
   element or record, and when memory runs out: for the backup at phase 0
   (logged; the drag then leaves the geometry as it is), or for a grab handle
   in an update (logged "createSticky: out of memory"; the command is
   applied, and the element keeps the handles of its last complete update,
   at worst those it had before the edit, until an update succeeds). Phase 3
   returns -1 when any of its phases did. */
typedef int (*ELEMENT_EDIT_FN)(struct ELEMENT_STRUCT* element, STICKY_STRUCT* handles,
                               int command, int phase, EDIT_PARA_STRUCT* para);
/* The kind's exact hit test in view coordinates; 1 = hit. */
typedef int (*ELEMENT_PICK_FN)(struct ELEMENT_STRUCT* element, float x, float y);

/* One view element. */
typedef struct ELEMENT_STRUCT
{
    char name[64];
    char id[256];
    int32_t kind;
    struct ELEMENT_STRUCT* children; /* GROUP: head of the child list (owned) */
    struct ELEMENT_STRUCT* next;
    struct ELEMENT_STRUCT* prev;
    ACTION_STRUCT* actions;          /* head of the action list (owned) */
    float x, y;                      /* centre of the box; a child's relative to its group */
    float width, height;
    int32_t selected;                /* selected by a view designer */
    int32_t clip;                    /* GROUP: holds a SCISSOR element */
    int32_t clipBoxX, clipBoxY, clipBoxWidth, clipBoxHeight; /* GROUP: pixel clip box */
    float clipQuadX[4], clipQuadY[4]; /* GROUP: the scissor's corners in group coordinates */
    ELEMENT_UPDATE_FN update;
    ELEMENT_EDIT_FN edit;
    ELEMENT_PICK_FN pick;            /* null: picked by its box */
    int32_t pickAsLine;              /* 1: picked as the segment below */
    float pickX1, pickY1, pickX2, pickY2;
    float minX, minY, maxX, maxY;    /* bounding box in view coordinates */
    float centreX, centreY;
    STICKY_STRUCT* stickies;         /* grab handles (owned) */
    void* data;                      /* the kind record (owned); null for a GROUP */
    void* editBackup;                /* copy of the kind record while an edit runs */
    ATTR_STRUCT attr;
    float pickTransform[6];          /* m00, m01, tx, m10, m11, ty of the last frame;
                                        the identity until the first */
    STICKY_STRUCT savedHandles[10];  /* handle positions when an edit began */
    struct ELEMENT_STRUCT* parent;   /* the enclosing GROUP, null at top level */
} ELEMENT_STRUCT;

/* ---- Kind records: one per element, owned by it (data). Floats are 32-bit;
   colours RGBA in 0..1. A line style is a style number 0-9 (100 for one that
   is not built in) with its stipple pair beside it; a fill pattern a number
   0-59 (100 for a custom mask) with its 128-byte 32 x 32 mask beside it. The
   "definition ids" are the numbers of the XML view file's stroke, fill,
   font and bitmap definitions, carried for its reader and writer. ---- */

/* GRAPH (kind 0): a strip chart (type 0, time axis) or an x-y plotter. */
typedef struct GRAPH_STRUCT
{
    int32_t type;                 /* 0 XT (scrolling time axis), 1 XY */
    float x, y;                   /* lower-left corner of the box */
    float width, height;          /* kept positive */
    float ymin, ymax;             /* y axis range */
    float xmin, xmax;             /* x axis range; XT: oldest sample time and + samples / rate */
    float rate;                   /* samples per second */
    int32_t autoscale;            /* y range follows the samples */
    float minSpreadY;             /* smallest y span autoscaling shows */
    int32_t autoscaleX;           /* x range of an XY graph follows the samples */
    float minSpreadX;
    int32_t samples;              /* per trace; the rings hold samples + 1 */
    int32_t reserved1, reserved2; /* carried for the runtime's attribute record */
    int32_t bars;                 /* stored, not drawn */
    char yLabelFormat[32];        /* printf format of the y labels (VGraphSetYLabel) */
    char xLabelFormat[32];        /* printf format of the x labels (VGraphSetXLabel) */
    float outlineColor[4];        /* frame, ticks and labels */
    float backgroundColor[4];     /* drawn only when its alpha is above 0.1 */
    float outlineWidth;           /* stored; the frame is drawn 1 wide */
    int32_t gridX, gridY;         /* vertical, horizontal grid lines */
    int32_t gridXAuto, gridYAuto; /* spacing chosen at each draw */
    float gridXSpace, gridYSpace;
    float gridXRef, gridYRef;     /* a value a grid line lies on */
    int32_t gridStyle;            /* stroke definition id of the grid */
    int32_t gridStippleFactor;
    uint16_t gridStipplePattern;
    int32_t gridStyleIndex;       /* line style of the grid, 100 when not built in */
    float gridColor[4];
    int32_t labelX, labelY, labelYR;   /* labels under x, left and right of y */
    int32_t labelFixX, labelFixY;      /* axes take the fixed label ranges */
    float labelXMin, labelXMax;
    float labelYMin, labelYMax;
    int32_t tickX, tickY, tickYR;
    int32_t tickXAuto, tickYAuto;
    float tickXSpace, tickYSpace;
    float tickXRef, tickYRef;
    int32_t tickXSub, tickYSub;   /* sub-intervals per major interval */
    float tickWidth;              /* stored; ticks are drawn 1 wide */
    void* font;                   /* label font handle of the font library (owned); null: none */
    char family[64];
    int32_t style;                /* 1 regular, 2 bold, 4 italic, 8 bold italic */
    int32_t size;                 /* pixels */
    int32_t fontId;               /* font definition id */
    float lagYMin, lagYMax;       /* first-order lags smoothing the autoscaled ranges */
    float lagXMin, lagXMax;
    double lastFillTime;          /* view time of the previous sampling, seconds */
} GRAPH_STRUCT;

/* RECTANGLE (kind 1): four corners in drawing order, not necessarily
   axis-parallel. */
typedef struct RECT_STRUCT
{
    float x[4], y[4];             /* corners in view coordinates */
    float relX[4], relY[4];       /* corners relative to the box centre (update) */
    int32_t outline;
    float lineWidth;
    int32_t lineStyle;
    float lineR, lineG, lineB, lineA;
    int32_t fill;
    int32_t pattern;
    float fillR, fillG, fillB, fillA;
    int32_t antialias;
    int32_t strokeStyle;          /* stroke definition id */
    int32_t stippleFactor;
    uint16_t stipplePattern;
    int32_t fillStyle;            /* fill definition id */
    uint8_t patternBits[128];
} RECT_STRUCT;

/* POLYGON, open (kind 2) and closed (kind 13). */
typedef struct POLY_STRUCT
{
    int32_t closed;
    int32_t outline;
    float lineWidth;
    int32_t lineStyle;
    float lineR, lineG, lineB, lineA;
    int32_t fill;
    int32_t pattern;
    float fillR, fillG, fillB, fillA;
    COORD_STRUCT* coords;         /* outline vertices in order (owned) */
    COORD_STRUCT* fillCoords;     /* the outline cut at the fill level (owned); empty: no cut */
    float fillLevel;              /* 0..1 of the last fill-level action, -1 unknown */
    float localMinX, localMinY, localMaxX, localMaxY; /* vertex box relative to the centre */
    float pathLength;             /* open polygon: length of the path */
    int32_t antialias;
    uint32_t glList;              /* display list of the tessellated fill; 0 none */
    int32_t strokeStyle;          /* stroke definition id */
    int32_t stippleFactor;
    uint16_t stipplePattern;
    int32_t fillStyle;            /* fill definition id */
    uint8_t patternBits[128];
} POLY_STRUCT;

/* CIRCLE (kind 3) and ARC (kind 6). A point at angle t (radians, clockwise
   from +x) is centre + M (rx cos(-t), ry sin(-t)). */
typedef struct CIRCLE_STRUCT
{
    float x, y;                   /* centre in view coordinates */
    float fanX, fanY;             /* first vertex of the filled fan, relative to the centre */
    float localMinX, localMinY, localMaxX, localMaxY; /* box of the curve relative to the centre */
    float rx, ry;                 /* radii before the matrix */
    float start, end;             /* angles */
    float matrix[4];              /* m11, m12, m21, m22 */
    int32_t outline;
    float lineWidth;
    int32_t lineStyle;
    float lineR, lineG, lineB, lineA;
    int32_t fill;
    int32_t pattern;
    float fillR, fillG, fillB, fillA;
    int32_t antialias;
    int32_t strokeStyle;          /* stroke definition id */
    int32_t stippleFactor;
    uint16_t stipplePattern;
    int32_t fillStyle;            /* fill definition id */
    uint8_t patternBits[128];
    float oldSize[4];             /* size block of the oldest view files, as read */
} CIRCLE_STRUCT;

/* TEXT (kind 4): a template text that fixes box, handles and alignment, and
   the attribute block's text that is shown. */
typedef struct TEXT_STRUCT
{
    float x, y;                   /* anchor in view coordinates */
    char text[256];               /* template text */
    int32_t align;                /* 0-9, the grab-handle numbers */
    void* font;                   /* font handle of the font library (owned); null: none yet */
    char family[64];
    int32_t style;                /* 1 regular, 2 bold, 4 italic, 8 bold italic */
    int32_t underline;            /* the font option of legacy files */
    int32_t size;                 /* size asked of the font library */
    int32_t scalable;             /* 1 outline font */
    int32_t displaySize;          /* size a scalable text is shown at */
    int32_t fontId;               /* font definition id */
    float cornerX[4], cornerY[4]; /* the template's unrotated box around the anchor */
    float box[4];                 /* min x, min y, max x, max y of the transformed corners */
    float matrix[4];              /* a, b, c, d (outline fonts) */
    int32_t pattern;
    float color[4];               /* the text colour (line colour) */
    float fillColor[4];           /* stored, not drawn */
    int32_t outline;              /* outline switch of the oldest view files */
    int32_t fontKind;             /* kind of the font definition; 1 in a new text */
    float lineWidth;
    int32_t lineStyle;
    int32_t antialias;
    int32_t strokeStyle;          /* stroke definition id */
    int32_t oldFont;              /* font number of the oldest view files */
    int32_t stippleFactor;
    uint16_t stipplePattern;
    int32_t fillStyle;            /* fill definition id */
    uint8_t patternBits[128];
} TEXT_STRUCT;

/* LINE (kind 5). */
typedef struct LINE_STRUCT
{
    float x1, y1, x2, y2;         /* end points in view coordinates */
    float localX1, localY1, localX2, localY2; /* relative to the centre (update) */
    float lineWidth;
    int32_t lineStyle;
    float lineR, lineG, lineB, lineA;
    int32_t antialias;
    int32_t strokeStyle;          /* stroke definition id */
    int32_t stippleFactor;
    uint16_t stipplePattern;
} LINE_STRUCT;

/* TEXTURE (kind 7): a registered image through four corners. */
typedef struct IMAGE_STRUCT
{
    float cornerX[4], cornerY[4]; /* view coordinates */
    float drawX[4], drawY[4];     /* relative to the centre (update) */
    int32_t pixelWidth, pixelHeight;
    int32_t texture;              /* texture id; the element owns one reference */
    int32_t pattern;              /* polygon stipple over the image; 0 none */
    float color[4];               /* multiplied into the image */
    int32_t bitmap;               /* bitmap definition id */
    int32_t fillStyle;            /* fill definition id */
    uint8_t patternBits[128];
} IMAGE_STRUCT;

/* BUTTON (kind 11): a bevelled face, sunken while pressed in run mode. */
typedef struct BUTTON_STRUCT
{
    float cornerX[4], cornerY[4];
    float drawX[4], drawY[4];
    float faceColor[4];           /* colour 0; the attribute block's fill colour */
    float lightColor[4];          /* colour 1 */
    float darkColor[4];           /* colour 2 */
    float bevel;
    int32_t pressed;              /* pressed state of the last frame drawn */
} BUTTON_STRUCT;

/* SLIDER (kind 12): a sunken trough with a raised knob. */
typedef struct SLIDER_STRUCT
{
    float x, y;                   /* centre */
    float width, height;          /* trough */
    float faceColor[4];           /* colour 0 */
    float darkColor[4];           /* colour 1 */
    float lightColor[4];          /* colour 2 */
    float bevel;
    float knobHalfHeight;         /* knob size */
    int32_t sliderInt;            /* carried by the legacy view file */
    float sliderFloat;            /* carried by the legacy view file */
} SLIDER_STRUCT;

/* SCISSOR (kind 14): the box its GROUP clips its children to. */
typedef struct SCISSOR_STRUCT
{
    float cornerX[4], cornerY[4]; /* corners 0-3 in view coordinates */
    float drawX[4], drawY[4];     /* relative to the centre (update) */
} SCISSOR_STRUCT;

/* ---- The element list. Lists are doubly linked through next and prev; a
   list is owned by whoever holds its head, and the functions take the head's
   address. A list is the caller's to guard (a view's: dorneView.h); what
   lists share, the default-name counter and the fonts and textures that
   elements hold, every function here and below makes, names and frees
   under the library-wide lock, beside loads and draws on other threads.
   ---- */

/* A new element of the kind with its kind record (the kind's defaults),
   hooks, default name "KIND-nnnn" (the counter unchanged) and id
   "KIND-nnnn-ID"; kind 10 is made TEXT. A kind outside the table (9, < 0,
   > 14) gives an element without record and hooks. Owned by the caller until
   appended. Null when memory runs out (logged; a failed kind record frees
   the element). */
DORNE_API ELEMENT_STRUCT* elementCreate(int kind);

/* Names the element "KIND-nnnn" with the process-wide counter, raising the
   counter while the name is taken anywhere in tree (may be null); id is the
   name and "-ID". 0; -1 for a null element. */
DORNE_API int elementNewName(ELEMENT_STRUCT* element, ELEMENT_STRUCT* tree);

/* 1 when an element of the tree, groups searched through, is named name;
   else 0. */
DORNE_API int elementCheckName(ELEMENT_STRUCT* tree, const char* name);

/* Links the element at the tail of *head (walks the list); 0, -1 for a null
   argument. */
DORNE_API int elementAppend(ELEMENT_STRUCT* element, ELEMENT_STRUCT** head);

/* Unlinks the element from *head and frees it with everything it owns: kind
   record (fonts, vertices, texture reference), edit backup, actions,
   handles and, for a GROUP, all it holds. An empty list or a null element
   changes nothing. 0. */
DORNE_API int elementDelete(ELEMENT_STRUCT* element, ELEMENT_STRUCT** head);

/* Deletes every element of *head; *head ends null. 0. */
DORNE_API int elementDeleteAll(ELEMENT_STRUCT** head);

/* Runs every element's update hook in list order, a group's children
   before the group; elements without a hook are skipped. 0; -1 when a hook
   failed (an element without its record, or memory running out for a grab
   handle: that element keeps the handles it had, as ELEMENT_UPDATE_FN says);
   the other elements are updated all the same. */
DORNE_API int setElementAttr(ELEMENT_STRUCT* list);

/* ---- Kind records with their defaults. A create function returns a new
   record, the caller's until an element holds it (elementDelete frees it
   with what it owns), or null with "createXxx: out of memory" logged. A template is copied byte for
   byte, except what the copy must not share: a graph's font (the copy makes
   its own) and a polygon's vertex lists and display list (the copy has
   none). ---- */

/* Graph defaults (a 500 x 200 box at 200, 600, range -100..100 over 0..100,
   10 samples per second, 500 samples, grids, ticks and labels on, label
   font "Helvetica [fixed]" style 1 size 10) and its label formats. */
DORNE_API GRAPH_STRUCT* createGraph(const GRAPH_STRUCT* templ, int unused);
DORNE_API RECT_STRUCT* createRect(const RECT_STRUCT* templ);
/* Open polygon (createPoly) and closed polygon (createCPoly). */
DORNE_API POLY_STRUCT* createPoly(const POLY_STRUCT* templ);
DORNE_API POLY_STRUCT* createCPoly(const POLY_STRUCT* templ);
/* Circle (0 to 2 pi, filled) and arc (pi to 2 pi, not filled); both with a
   zero matrix and zero radii until a reader sets them. */
DORNE_API CIRCLE_STRUCT* createCircle(const CIRCLE_STRUCT* templ);
DORNE_API CIRCLE_STRUCT* createArc(const CIRCLE_STRUCT* templ);
/* Text "Text" in "Arial" style 1 at the given size and display size,
   alignment 7, no font yet; the template and the int are not used. */
DORNE_API TEXT_STRUCT* createText(const TEXT_STRUCT* templ, int unused, int size);
DORNE_API LINE_STRUCT* createLine(const LINE_STRUCT* templ);
/* An image without texture, white and opaque. */
DORNE_API IMAGE_STRUCT* createImage(void);
DORNE_API BUTTON_STRUCT* createButton(const BUTTON_STRUCT* templ);
DORNE_API SLIDER_STRUCT* createSlider(const SLIDER_STRUCT* templ);
DORNE_API SCISSOR_STRUCT* createScissor(const SCISSOR_STRUCT* templ);

/* Writes the printf format of the graph's x (y) labels for an axis from lo
   to hi with its tick spacing: decimals from the spacing, integer digits
   from the larger end, "%w.df" (digits 1-40, decimals 0-20). 0; -1 for a
   null graph. */
DORNE_API int VGraphSetXLabel(GRAPH_STRUCT* graph, float lo, float hi);
DORNE_API int VGraphSetYLabel(GRAPH_STRUCT* graph, float lo, float hi);

/* ---- Text elements. The template text fixes the box, the grab handles and
   the alignment; the attribute block's text (which a text action rewrites
   every frame) is what is shown. Outline fonts draw through the record's
   matrix at displaySize; bitmap fonts unscaled. Sizes come from the font
   library's metrics: an outline text's width scaled by displaySize / size,
   its height displaySize. ---- */

struct DRAW_PARA_STRUCT; /* the draw loop's parameters, below */

/* Attribute block from the record: stipple, line style, width (truncated),
   line colour = color, fill colour 0, visible, the template as text,
   override flags cleared. 0; -1 for a null element or record. */
DORNE_API int textSetAttr(ELEMENT_STRUCT* element);

/* The TEXT update: corners from the template's size, the box of the
   corners through the matrix (outline fonts), handles 1-8 around it
   (outline fonts) and 9 on the anchor (type 4 for the alignment's handle),
   the element's position and centre on the anchor, its box, then
   textSetAttr. 0; -1 for a null element or record, and when memory runs
   out for a handle (as ELEMENT_UPDATE_FN says). */
DORNE_API int textSetPickSticky(ELEMENT_STRUCT* element);

/* Sets the template text from the first 255 characters of text (the
   caller's text is only read), then the corners and the update. 0; -1 for
   a null text or an element that is not a TEXT element, and when memory
   runs out for a handle (the text is set; the element keeps its handles, as
   ELEMENT_UPDATE_FN says). */
DORNE_API int textSetNewText(ELEMENT_STRUCT* element, const char* text);

/* Draws the block's text aligned against the template around the current
   origin (the anchor): in the block's line colour and stipple, through the
   matrix and scaled to displaySize for an outline font; creates the font at
   the first draw. A selected text in edit mode gets a red dashed frame. para
   is not used. 0; -1 for a null record or block. */
DORNE_API int drawText(TEXT_STRUCT* record, ATTR_STRUCT* block, int selected, struct DRAW_PARA_STRUCT* para);

/* The TEXT edit: geometry commands 1-15 scale the matrix with the box
   (sizes follow at the end of a drag), 16 turns it; 20 width, 21 line
   style, 23 colour, 24 antialias, 26 alpha (in r), 28 size (the catalogued
   size nearest to the int value, written back into it), 47 fill pattern,
   120 template text, 121 alignment, 123 family (style and size made to fit
   it; a bitmap font resets the matrix), 124 style. Font changes make a new
   font. Every command ends with textSetAttr. 0; -1 for a null element or
   record, and when memory runs out (as ELEMENT_EDIT_FN says). */
DORNE_API int editTextx(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase,
                        EDIT_PARA_STRUCT* para);

/* Corners (+-w/2, +-h/2) from the template's size. 0; -1 for null. */
DORNE_API int calcVecTextNew(TEXT_STRUCT* record);

/* Position, matrix and corners of a text whose corners hold the four
   corners of the text as an old view file drew it: the position their box
   centre, the matrix their edge lengths against the template's size, turned
   by the direction of the edge from corner 0 to corner 3. 0; -1 for null. */
DORNE_API int calcVecText(TEXT_STRUCT* record);

/* A text of the oldest view files with bitmap font number index becomes a
   "Courier [fixed]" text: style and size by the number (0-39), a new font,
   displaySize = size, the anchor moved from the aligned corner to the
   centre, identity matrix. 0; -1 for null. */
DORNE_API int convertTextNewFormat(TEXT_STRUCT* record, int index);

/* A vector text of the oldest view files becomes "Arial" at size 30 with a
   new font; the second argument is not used. 0; -1 for null. */
DORNE_API int convertTextNewFormatVec(TEXT_STRUCT* record, int unused);

/* The catalogued bitmap size of the record's family and style nearest to
   size (the earlier of two as near); size for a scalable or unknown family
   or a null record. */
DORNE_API int checkFontSize(TEXT_STRUCT* record, int size);

/* The record's style when its family has it, else the family's first of 1,
   2, 4, 8; the style for a family the catalogue does not hold. -1 for a
   null record. */
DORNE_API int checkFontStyle(TEXT_STRUCT* record);

/* 1 when an edit changed a text's font since the last drawText began, else
   0. */
DORNE_API int vdTextUpdate(void);

/* ---- Graph elements. A graph action (type 6) is one trace: fillGraph
   samples its variable at the graph's rate into the action's input ring and
   moves the samples into its display ring, which drawing reads. XT graphs
   (type 0) scroll over the newest samples / rate seconds; XY graphs plot
   the value against the second variable. ---- */

/* Samples every graph action of the element (bound, with rings) for the
   view time in seconds: the value held since the previous call is stored at
   each sample time passed (at most one ring's worth; times advance
   arithmetically over a longer pause); with halt 0 the new samples move to
   the display rings and an XT graph's xmin to the oldest sample's time. A
   rate of 0 or below samples nothing. 0; -1 for a null element or graph. */
DORNE_API int fillGraph(ELEMENT_STRUCT* element, GRAPH_STRUCT* graph, float time, int halt);

/* For every element of the list, groups searched through: every action's
   rings emptied with their times at time; GRAPH elements restart their
   clock there (an XT graph's xmin too) and remake their label formats. 0. */
DORNE_API int resetAllGraphs(ELEMENT_STRUCT* list, float time);

/* xmin = time for every XT graph of the list, groups searched through. 0. */
DORNE_API int graphSetTime(ELEMENT_STRUCT* list, float time);

/* Attribute block from the record: line style 0, line colour = outline
   colour, fill colour = grid colour, visible, empty text, override flags
   cleared. 0; -1 for a null element or record. */
DORNE_API int graphSetAttr(ELEMENT_STRUCT* element);

/* The GRAPH update: handles 1-8 and 9 around the box, box record 0, the
   element's box, position (the box centre) and size, then graphSetAttr. 0;
   -1 for a null element or record, and when memory runs out for a handle
   (as ELEMENT_UPDATE_FN says). */
DORNE_API int graphSetPickSticky(ELEMENT_STRUCT* element);

/* The GRAPH edit: geometry commands 1-16 move the box's corners (width and
   height stay positive); 20 outline width, 21 grid line style, 22/23 grid /
   outline colour, 25/26 their alphas (in r), 28 label font size, 123 family
   (style and size made to fit it), 124 style; font changes make a new font.
   Ends with graphSetAttr. 0; -1 for a null element or record, and when
   memory runs out (as ELEMENT_EDIT_FN says). */
DORNE_API int editGraph(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase,
                        EDIT_PARA_STRUCT* para);

/* Background, grid, ticks, labels and frame around the current origin (the
   box centre), with the block's fill colour for the grid and line colour
   for the rest; a selected graph in edit mode gets a red dashed frame.
   Automatic spacings are written to the record. para is not used. 0; -1 for
   a null record or block. */
DORNE_API int VDrawGraph(GRAPH_STRUCT* graph, ATTR_STRUCT* block, int selected,
                         struct DRAW_PARA_STRUCT* para);

/* Autoscales (when enabled) and draws the traces of the element's enabled,
   bound graph actions clipped to the box (and to a scissor box already
   set). 0; -1 for a null element or graph. */
DORNE_API int drawAllGraphValues(ELEMENT_STRUCT* element, GRAPH_STRUCT* graph);

/* One trace from the display ring, oldest sample at the left edge (XT) or
   at its second value (XY, with a cross on the newest sample clamped to the
   box), coloured and widened by the action's colour and width thresholds at
   the interpolated crossings (outline colour and width 1 when a list is
   empty); samples beyond 1e10 on the box are skipped. 0; -1 for null. */
DORNE_API int drawGraphValue(GRAPH_STRUCT* graph, ACTION_STRUCT* action);
DORNE_API int drawGraphValueX(GRAPH_STRUCT* graph, ACTION_STRUCT* action);

/* y (x) range from the display rings of the enabled graph actions from
   actions on (x: those with a second variable), widened to the smallest
   spread, with a margin, through the first-order lags with time step dt;
   equal bounds give +-1. Remakes the label formats of unfixed axes. 0; -1
   for a null graph. */
DORNE_API int graphAutoScale(GRAPH_STRUCT* graph, ACTION_STRUCT* actions, float dt);
DORNE_API int graphAutoScaleX(GRAPH_STRUCT* graph, ACTION_STRUCT* actions, float dt);

/* First-order lag: *state = (x dt + *state T) / (T + dt), dt at most 1; the
   new state (x for a null state or T + dt of 0). */
DORNE_API float pt1(float x, float T, float dt, float* state);

/* *x = where the line through (x0, y0) and (x1, y1) reaches y (x1 for a
   level line). 0; -1 for a null x. */
DORNE_API int getIpol(float x0, float y0, float x1, float y1, float y, float* x);

/* Automatic spacing of about 50 (x) or 20 (y) units of length between lines
   for the axis lo..hi: a step of 1, 2, 5 or 10 times a power of ten with its
   sub-interval count; reference the spacing (x) or 0 (y). A range that is
   empty or too short for one interval gives spacing -1 and reference 0. 0;
   -1 for a null pointer. */
DORNE_API int VGraphGetAutoParaX(float lo, float hi, float length, float* space, float* ref, int* sub);
DORNE_API int VGraphGetAutoParaY(float lo, float hi, float length, float* space, float* ref, int* sub);

#ifdef __cplusplus
/* The time comes before the halt flag: a call with the two swapped does not
   compile (C++ callers). */
int fillGraph(ELEMENT_STRUCT* element, GRAPH_STRUCT* graph, int halt, float time) = delete;
int fillGraph(ELEMENT_STRUCT* element, GRAPH_STRUCT* graph, int halt, double time) = delete;
#endif

/* ---- Line, circle, arc and rectangle elements. Their geometry functions
   rebuild the grab handles, the element's box, centre, position and size and
   the record's geometry relative to the position (which drawing uses), then
   reset the attribute block; each returns 0, -1 for a null element or one
   without its record. ---- */

/* Attribute block from the record: line style, stipple, width (truncated),
   line and fill colour (a LINE's fill is 0, 0, 0, 0), visible, empty text,
   override flags cleared; circleSetAttr also sets the arc end. */
DORNE_API int lineSetAttr(ELEMENT_STRUCT* element);
DORNE_API int circleSetAttr(ELEMENT_STRUCT* element);
DORNE_API int rectSetAttr(ELEMENT_STRUCT* element);

/* The kinds' update: handles 100/101 on the ends, 9 midpoint, box record 0
   (LINE, picked as its segment); 1-8, 9 and box record 0 around the corners
   (RECTANGLE); 50/51 on the start and end angle, 9 on the centre, 1-8 and box
   record 0 around the sampled curve (CIRCLE and ARC; the centre stays the
   element's position). 0; -1 for a null element or record, and when memory
   runs out for a handle (as ELEMENT_UPDATE_FN says). */
DORNE_API int lineSetPickSticky(ELEMENT_STRUCT* element);
DORNE_API int circleSetPickSticky(ELEMENT_STRUCT* element);
DORNE_API int rectSetPickSticky(ELEMENT_STRUCT* element);

/* The kinds' edit: geometry commands 1-16 in the phases of the edit
   protocol (a CIRCLE's matrix rows scale with its box, command 16 turns the
   matrix); 20 width (a CIRCLE or RECTANGLE outline is off below 1), 21 line
   style, 22 fill flag and colour, 23 outline flag and line colour (LINE:
   colour only), 24 antialias, 25 fill alpha, 26 line alpha (alphas in r), 47
   fill pattern; CIRCLE 50/51 start/end angle from the point (x, y); LINE
   100/101 first/second end to (x, y) in phase 1 (or 3). Every command ends
   with the attribute reset. 0; -1 for a null element or record, and when
   memory runs out (as ELEMENT_EDIT_FN says). */
DORNE_API int editLine(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase,
                       EDIT_PARA_STRUCT* para);
DORNE_API int editCircle(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase,
                         EDIT_PARA_STRUCT* para);
DORNE_API int editRect(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase,
                       EDIT_PARA_STRUCT* para);

/* Draw functions, on a matrix at the element's position, with the style of
   the attribute block; a selected element in edit mode (block's running 0)
   gets a red dashed outline. drawLine draws its segment moved by (tx, ty)
   and counts it in lineCount; drawCircle draws 8 to 100 segments per full
   turn from start to the block's arc end (at most one turn). 0; -1 for a
   null record or block. */
DORNE_API int drawLine(LINE_STRUCT* record, const ATTR_STRUCT* block, int selected, float tx, float ty);
DORNE_API int drawCircle(CIRCLE_STRUCT* record, const ATTR_STRUCT* block, int selected);
DORNE_API int drawRect(RECT_STRUCT* record, const ATTR_STRUCT* block, int selected);

/* LINE elements drawn since the library loaded (never reset). */
DORNE_DATA int lineCount;

/* 1 when the view point (x, y) lies inside the CIRCLE's ellipse (angles not
   considered); 0 otherwise, also for a singular matrix or no record. */
DORNE_API int pickCircle(ELEMENT_STRUCT* element, float x, float y);

/* Turns the current matrix counter-clockwise by the bound value (degrees)
   of every rotate action (type 5) of the element. 0; -1 for a null
   element. */
DORNE_API int actionRect(ELEMENT_STRUCT* element, RECT_STRUCT* record);

/* ---- Polygons, open (kind 2) and closed (kind 13). Vertices keep view
   coordinates (handles, picking, paths) and coordinates relative to the
   element's position (drawing, fill). A closed polygon's fill is tessellated
   once into a display list of the current GL context and replayed each
   frame; a fill level cuts it at a line that rises or falls with a value
   (actions 18-21). An open polygon is a path that actions of type 11 move
   their element along. ---- */

/* The POLYGON update: handles vertex id + 100 on each vertex (half size 2),
   1-8 and 9 around the vertices' box (no box record); box, position (the
   box centre) and size; the vertices' local coordinates and local box; the
   attribute reset; the fill cut deleted and the fill list made anew. 0; -1
   for a null element or one without its record, and when memory runs out
   for a handle (as ELEMENT_UPDATE_FN says). */
DORNE_API int polySetPickSticky(ELEMENT_STRUCT* element);

/* Attribute block from the record (as lineSetAttr). 0; -1 without record. */
DORNE_API int polySetAttr(ELEMENT_STRUCT* element);

/* Tessellates the fill (the fill cut when useFill is set and there is one,
   else the outline) into a new display list of the current context, held
   in glList (the old one deleted). Without a context glList stays 0, with
   a warning at level 2. An outline the tessellator cannot fill (crossing
   itself, coordinates not finite) gets an empty list and a warning: no fill
   is drawn. 0; -1 for a null record. */
DORNE_API int polyMakeList(POLY_STRUCT* record, int useFill);

/* Draws the fill from the display list (made first when missing), then the
   outline as a strip (open) or loop (closed), with the style of the block;
   a selected polygon in edit mode gets red dashes. 0; -1 for a null record
   or block. */
DORNE_API int drawPoly(POLY_STRUCT* record, const ATTR_STRUCT* block, int selected);

/* 1 when (x, y) lies inside the outline taken as closed (an odd number of
   edges crosses the segment to x + 1000000); 0 otherwise or without
   vertices. */
DORNE_API int pickPoly(ELEMENT_STRUCT* element, float x, float y);

/* The POLYGON edit: 100 and above move the vertices of id command - 100 to
   (x, y) and run the update; 1-16 in the phases of the edit protocol, each
   vertex from its backed-up position; the style commands as editRect (20
   width, outline off below 1; 21 line style; 22 fill; 23 outline; 24
   antialias; 25, 26 alphas; 47 pattern). Every command ends with the
   attribute reset. 0; -1 for a null element or record, and when memory
   runs out (as ELEMENT_EDIT_FN says). */
DORNE_API int editPoly(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase,
                       EDIT_PARA_STRUCT* para);

/* Rebuild the record's fill cut for its fillLevel f (0..1): up keeps what
   lies at or below minY + f (maxY - minY) of the local box, down at or above
   maxY - f (maxY - minY), right at or left of minX + f (maxX - minX), left
   at or right of maxX - f (maxX - minX). Kept vertices are copied; an
   outside vertex adds where its edges to kept neighbours meet the level
   line. The caller then calls polyMakeList(record, 1). 0; -1 without
   record. */
DORNE_API int polyCreateFillCoordUp(ELEMENT_STRUCT* element);
DORNE_API int polyCreateFillCoordDown(ELEMENT_STRUCT* element);
DORNE_API int polyCreateFillCoordLeft(ELEMENT_STRUCT* element);
DORNE_API int polyCreateFillCoordRight(ELEMENT_STRUCT* element);

/* Every open polygon of the list, groups searched through: each vertex's
   length along the path from the first, and the path length. 0. */
DORNE_API int calcPolyLength(ELEMENT_STRUCT* list);

/* The first open polygon named name (a group's children searched before the
   group's later siblings); null when there is none. */
DORNE_API ELEMENT_STRUCT* getPolyByName(ELEMENT_STRUCT* list, const char* name);

/* Binds every action of type 11 to the open polygon its polyName names in
   the same list (a group's children among that group's), logging "Polygon
   <name> not found !" at level 2 for a missing one (left unbound), and
   computes the path lengths. Other actions are left unbound from a path.
   0. */
DORNE_API int assignMovePoly(ELEMENT_STRUCT* list);

/* The view point at fraction (clamped to 0..1; NaN as 0) of the open
   polygon's path length into *x, *y; left as they were for a path of fewer
   than two vertices. 0; -1 for a null argument or an element that is not an
   open polygon with its record. */
DORNE_API int getMovePolyCoord(double fraction, ELEMENT_STRUCT* element, float* x, float* y);

/* Sets the fill level of every closed polygon, groups searched through, to
   -1 (unknown), so that the first fill-level action of a run cuts. 0. */
DORNE_API int resetAllPoly(ELEMENT_STRUCT* list);

/* As actionRect, for a polygon. */
DORNE_API int actionPoly(ELEMENT_STRUCT* element, POLY_STRUCT* record);

/* GLU tessellator callbacks for callers' own tessellations: errorCB returns
   the GLU text of an error (printing nothing); beginCB and endCB are wtBegin
   and wtEnd; vertexCB draws a vertex of three doubles (null: nothing);
   combineCB stores a new vertex of 80 bytes holding the three coordinates
   in *out (the caller frees it; null when out of memory). */
DORNE_API const char* errorCB(unsigned int error);
DORNE_API void beginCB(unsigned int mode);
DORNE_API void endCB(void);
DORNE_API void vertexCB(void* vertex);
DORNE_API void combineCB(double coords[3], void* data[4], float weight[4], void** out);

/* ---- Images (TEXTURE), buttons and sliders. Their attribute reset sets
   line style and width 0, line colour 0, 0, 0, 0, the fill colour from the
   record (an image's colour, a face colour), visible, empty text and clears
   the override flags (the stipple pair is left). ---- */

DORNE_API int imageSetAttr(ELEMENT_STRUCT* element);
DORNE_API int buttonSetAttr(ELEMENT_STRUCT* element);
DORNE_API int sliderSetAttr(ELEMENT_STRUCT* element);

/* The kinds' update: handles 1-8, 9 and box record 0 around the four
   corners (image, button) or the slider's trough centred on its x, y; box,
   position and size; an image's and a button's corners relative to the
   position; then the attribute reset. 0; -1 for a null element or one
   without its record, and when memory runs out for a handle (as
   ELEMENT_UPDATE_FN says). */
DORNE_API int imageSetPickSticky(ELEMENT_STRUCT* element);
DORNE_API int buttonSetPickSticky(ELEMENT_STRUCT* element);
DORNE_API int sliderSetPickSticky(ELEMENT_STRUCT* element);

/* The kinds' edit: geometry commands 1-16 in the phases of the edit
   protocol (a slider's centre and half-size corner transformed); 22 colour
   RGB (an image's colour, a face colour); 23 light colour RGB and dark
   colour 0.4 x RGB (button, slider); 25 alpha of that colour (in r); 26
   light and dark alpha (button, slider); 47 an image's pattern with its
   mask. Every command ends with the attribute reset. 0; -1 for a null
   element or record, and when memory runs out (as ELEMENT_EDIT_FN says). */
DORNE_API int editImage(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase,
                        EDIT_PARA_STRUCT* para);
DORNE_API int editButton(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase,
                         EDIT_PARA_STRUCT* para);
DORNE_API int editSlider(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase,
                         EDIT_PARA_STRUCT* para);

/* drawImage: the registered texture through the four drawn corners, tinted
   by the block's fill colour and masked by the record's pattern (nothing
   for an image without texture). drawButton: a face with four bevels,
   raised, or sunken in run mode while the block's lineStyle (the pressed
   state, kept in the record) is not 0; shades from the block's fill colour
   whatever the corners' order. drawSlider: a sunken trough with a raised
   knob in its middle. A selected element in edit mode gets red dashes. 0;
   -1 for a null record or block. */
DORNE_API int drawImage(IMAGE_STRUCT* record, const ATTR_STRUCT* block, int selected);
DORNE_API int drawButton(BUTTON_STRUCT* record, const ATTR_STRUCT* block, int selected);
DORNE_API int drawSlider(SLIDER_STRUCT* record, const ATTR_STRUCT* block, int selected);

/* Number formats of scales: digits before the decimal point of the larger
   magnitude m of a and b (1 below 10, else the integer part of log10 m plus
   1); decimals for v (3 for 0, 0 above 1, else the integer part of
   -log10 |v| plus 1). getPre ignores a NaN and gives 1 for infinity;
   getDots gives 0 for values that are not finite. */
DORNE_API int getPre(float a, float b);
DORNE_API int getDots(float v);

/* ---- Groups and scissors. A GROUP has no record: its box is the union of
   its children's, its position their centre, and its children's positions
   are relative to it. A SCISSOR child makes its group clip its children to
   the scissor's box when drawn. ---- */

/* The GROUP update: handles 9, 1-8 and box record 0 of the children's box
   union, position and size from it (picked as the box's diagonal when it is
   less than 1 unit wide or high), then each child's update with its
   position made relative to the group's, then groupSetAttr. 0; -1 for a
   null element, and when memory runs out for a handle of the group or of a
   child (as ELEMENT_UPDATE_FN says). */
DORNE_API int groupSetPickSticky(ELEMENT_STRUCT* element);

/* visible 1, line and fill alpha 1, override flags cleared; the rest of the
   block stays. 0; -1 for a null element. */
DORNE_API int groupSetAttr(ELEMENT_STRUCT* element);

/* Hands the edit to every child's edit with the group's handles, then runs
   the group's update. 0; -1 for a null element, and when a child's edit or
   the update runs out of memory: each child is then as its own edit left
   it (as ELEMENT_EDIT_FN says: a child whose backup could not be made stays
   where it was while the others move), and the group keeps the handles of
   its last complete update. */
DORNE_API int editGroup(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase,
                        EDIT_PARA_STRUCT* para);

/* A selected group's red dashed box in edit mode, around the current
   matrix's origin. 0; -1 for a null element or block. */
DORNE_API int drawGroup(ELEMENT_STRUCT* element, const ATTR_STRUCT* block);

/* The SCISSOR update: handles 1-8, 9 and box record 0 around the four
   corners, box, position and size, corners relative to the position; the
   attribute block is left alone. 0; -1 for a null element or record, and
   when memory runs out for a handle (as ELEMENT_UPDATE_FN says). */
DORNE_API int scissorSetPickSticky(ELEMENT_STRUCT* element);

/* Geometry commands 1-16 on the four corners in the phases of the edit
   protocol; other commands change nothing. The update runs in every case.
   0; -1 for a null element or record, and when memory runs out (as
   ELEMENT_EDIT_FN says). */
DORNE_API int editScissor(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase,
                          EDIT_PARA_STRUCT* para);

/* The designer's frame: an orange solid and an orange dashed 3-pixel loop
   through the corners, and a red dashed one when selected. 0; -1 for a null
   record. */
DORNE_API int drawScissor(SCISSOR_STRUCT* record, const ATTR_STRUCT* block, int selected);

/* ---- The draw loop ---- */

/* What the view runtime tells the draw loop, filled before each frame. */
typedef struct DRAW_PARA_STRUCT
{
    float zoom;            /* 1.0 into the render texture or a window, else the view's zoom */
    int32_t scissorType;   /* 1: clip groups with the scissor box; else with the stencil */
    int32_t depthOffset;   /* non-zero: each element gets its own depth range */
    int32_t lineScaling;   /* non-zero: line widths scale with the projection */
} DRAW_PARA_STRUCT;

/* Draws one element list for one frame into the current GL context, in list
   order: per element its depth range, the group's overrides (parentAttr,
   null at top level), a translation to its position, in run mode (running
   non-zero) its actions (halt non-zero keeps last frame's values), then its
   kind's drawing when visible and in its blink phase, or always in edit
   mode. Groups draw their children through this call, clipped to their
   SCISSOR child's box (scissor box or stencil by para, nested groups to the
   intersection) in run mode, and in edit mode too when clipInEdit is
   non-zero, which also hides SCISSOR elements. stencilLevel is 0 at top
   level; a null para draws with zoom 1 and every flag 0. Kinds without
   drawing draw nothing. Top-level calls advance the process-wide blink
   clock. 0. */
DORNE_API int drawUserElements(ELEMENT_STRUCT* list, ATTR_STRUCT* parentAttr, int running, int halt,
                               int clipInEdit, DRAW_PARA_STRUCT* para, int stencilLevel);

/* ---- Grab handles and edit geometry, the editing interface of view
   designers. ---- */

/* A new zeroed handle (the caller fills it); null with "createSticky: out of
   memory" logged. */
DORNE_API STICKY_STRUCT* createSticky(void);

/* Links the handle at the tail of *head; 0 (a null handle changes nothing),
   -1 for a null head address. */
DORNE_API int appendSticky(STICKY_STRUCT** head, STICKY_STRUCT* sticky);

/* Unlinks and frees the handle (a null handle does nothing); 0, -1 for a
   null head address. */
DORNE_API int delSticky(STICKY_STRUCT** head, STICKY_STRUCT* sticky);

/* The first handle of the list with the id, or null. */
DORNE_API STICKY_STRUCT* getSticky(STICKY_STRUCT* list, int id);

/* The id of the first handle of type 1, 3 or 4 whose hit box (half sizes
   divided by zoom) holds the point strictly inside; it becomes selected and
   the handles tested before it unselected. 0 when none is hit. */
DORNE_API int findSticky(STICKY_STRUCT* list, float x, float y, float zoom);

/* The process-wide shift and control flags that resizeMoveElement reads
   (shift: scale about the centre; control: corners scale both axes
   alike). 0. */
DORNE_API int setShift(int flag);
DORNE_API int setCtrl(int flag);

/* Transforms the point (x, y) of the element for edit command 1-16 against
   the handle positions saved when the edit began (savedHandles): 1-8 drag
   a box handle to (p1, p2), 9 move the centre to (p1, p2), 10/11 set width
   p1 / height p2, 12/13 scale x by p1 / y by p2, 14/15 mirror x / y, 16
   rotate by p1 degrees counter-clockwise. Writes *resultX, *resultY only
   where the command defines them (factors of magnitude 0.001 or less are
   ignored). 0; -1 for a null argument. */
DORNE_API int resizeMoveElement(ELEMENT_STRUCT* element, int command, float* resultX, float* resultY,
                                float p1, float p2, float x, float y);

/* 1 when (x, y) lies in the box of the two corners, border included. */
DORNE_API int pointInRect(float x, float y, float x1, float y1, float x2, float y2);

/* 1 when the segments (x1, y1)-(x2, y2) and (x3, y3)-(x4, y4) intersect
   (ends included), computed in float; 0 when not or parallel. */
DORNE_API int lineCross(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4);

/* lineCross in double that also writes the lines' meeting point to *x, *y
   whenever they are not parallel (null pointers are skipped). */
DORNE_API int VLineCross2(double* x, double* y, double x1, double y1, double x2, double y2, double x3,
                          double y3, double x4, double y4);

/* 1 when the point lies inside the outline of n points (odd number of edges
   i -> i + 1 crossed by the segment from the point to (0, 1000000)); the
   closing edge is not tested, so a closed outline repeats its first point.
   0 for null arrays or fewer than 2 points. */
DORNE_API int pointInPolygon(const float* x, const float* y, int n, float px, float py);

#endif
