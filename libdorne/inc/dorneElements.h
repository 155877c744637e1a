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
   from the kind record and resets the attribute block. */
typedef int (*ELEMENT_UPDATE_FN)(struct ELEMENT_STRUCT* element);
/* The kind's edit function: (element, handle list, command, phase, parameters). */
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
    float pickTransform[6];          /* m00, m01, tx, m10, m11, ty of the last frame */
    STICKY_STRUCT savedHandles[10];  /* handle positions when an edit began */
    struct ELEMENT_STRUCT* parent;   /* the enclosing GROUP, null at top level */
} ELEMENT_STRUCT;

#endif
