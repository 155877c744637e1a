#ifndef DORNE_ACTIONS_H
#define DORNE_ACTIONS_H

/* Actions of an element: each ties one attribute of the element to the value
   of a variable (or lets the mouse write one); threshold lists map a value to
   a colour, line width, line style, visibility or blink rate. Polygon
   vertices live in coordinate lists. All three are heap records in doubly
   linked lists whose head a caller owns. */

#include "dorneExport.h"
#include "dorneVariables.h"

#include <stdint.h>

struct ELEMENT_STRUCT;
struct DD_DATA_TYPE_STRUCT;

/* One threshold entry. */
typedef struct TH_STRUCT
{
    float level;             /* the entry applies to values above this level */
    float upperLevel;        /* falling crossings of a graph trace */
    int32_t intValue;        /* line width, line style 0-9 (100 custom), visible flag or blink rate */
    float r, g, b;           /* colour, 0..1 */
    int32_t stippleFactor;   /* line stipple of the style in intValue */
    uint16_t stipplePattern;
    struct TH_STRUCT* prev;
    struct TH_STRUCT* next;
    int32_t strokeId;        /* stroke definition id of the XML view file */
} TH_STRUCT;

/* One threshold list with the display range of editing tools (0 to 120). */
typedef struct TH_BLOCK
{
    float min;
    float max;
    TH_STRUCT* list;
} TH_BLOCK;

/* A ring of graph samples (actions of type 6 on a GRAPH element only); the
   arrays are malloc'd and owned by the action. */
typedef struct ACTION_RING
{
    int32_t readIndex;
    int32_t writeIndex;
    int32_t capacity;     /* the graph's samples + 1 */
    int32_t count;
    float oldestTime;     /* time of the oldest sample (input ring) */
    float nextTime;       /* time at which the next sample is due (input ring) */
    float* values;
    float* secondValues;  /* x values of an XY graph */
} ACTION_RING;

/* One action of an element. */
typedef struct ACTION_STRUCT
{
    int32_t type;                 /* action type 0-25 */
    char var[64];                 /* name of the bound variable */
    float a0, a1;                 /* input range of the variable ... */
    float b0, b1;                 /* ... mapped to this output range (also the clamp range) */
    int32_t limit;                /* non-zero: clamp into the output range */
    char secondVar[64];           /* second variable (x of an XY graph) */
    float secondA0, secondA1, secondB0, secondB1;
    char format[64];              /* printf format of a text action */
    int32_t pivot;                /* 0 centre, 1-8 compass points of the box, 9 none */
    int32_t filter;               /* 0 none, 1 time (sample and hold), 2 first-order lag */
    float filterTime;             /* seconds */
    struct ACTION_STRUCT* next;
    struct ACTION_STRUCT* prev;
    double filterElapsed;
    float filterState;
    int32_t mouseButton;          /* 0 left, 1 centre, 2 right */
    int32_t mouseAction;          /* 0 press, 1 release, 2/3 move x/y, 4/5 absolute x/y, 6 rotary, 7 move */
    int32_t mouseMode;            /* 0 set, 1 increment, 2 decrement */
    int32_t mouseClamp;           /* 0: wrap at the range ends, else stop there */
    float mouseInc;
    float mouseMin, mouseMax;
    char polyName[64];            /* open polygon an action of type 11 moves along */
    int32_t mouseHiddenActive;    /* the mouse action works while the element is hidden */
    int32_t id;                   /* running number */
    int32_t disabled;
    void* value;                  /* live storage of the bound variable (the variable's) */
    void* secondValue;
    void* snapshot;               /* the action's copy of the value (owned, malloc'd) */
    void* secondSnapshot;
    DD_VAR_STRUCT* varRecord;     /* the bound variable */
    int32_t valueType;            /* its value type code */
    float offset, slope;          /* mapped = offset + slope x value */
    float secondOffset, secondSlope;
    float pressX, pressY;         /* mouse position at the last press */
    float lastX, lastY;           /* mouse position at the last rotary step */
    double pressValue;            /* variable value at the last press */
    int32_t visibleMode;          /* type 17: 0 threshold list, 1 compare with visibleValue */
    int32_t visibleValue;
    ACTION_RING input;            /* graph samples as they arrive */
    ACTION_RING display;          /* graph samples for drawing */
    TH_BLOCK thColor;             /* types 12, 13 */
    TH_BLOCK thWidth;             /* type 14 */
    TH_BLOCK thStyle;             /* type 15 */
    TH_BLOCK thVisibility;        /* type 17 */
    TH_BLOCK thBlink;             /* type 25 */
    struct ELEMENT_STRUCT* polyElement; /* the open polygon found for polyName */
} ACTION_STRUCT;

/* One polygon vertex. */
typedef struct COORD_STRUCT
{
    uint32_t id;                  /* running number */
    float x, y;                   /* view coordinates */
    float length;                 /* path length from the first vertex */
    double localX, localY, localZ; /* relative to the element centre (z 0), for the tessellator */
    struct COORD_STRUCT* next;
    struct COORD_STRUCT* prev;
} COORD_STRUCT;

/* ---- Actions, thresholds and vertices. Every list function takes the
   address of the list's head (an empty list is a null head) and returns 0,
   or -1 for a null head address; a null entry changes nothing. Create
   functions return null with "createXxx: out of memory" logged. ---- */

/* A new action: type 0, ranges 0..1 to 0..1 for both variables, filter time
   1.0, mouse step 1.0 in 0..1, active while hidden, the five threshold
   blocks 0 to 120 and empty, and the next running id (from 0). Owned by the
   caller until appended. */
DORNE_API ACTION_STRUCT* createAction(void);

/* Links the action at the tail; its next becomes null. */
DORNE_API int appendAction(ACTION_STRUCT** head, ACTION_STRUCT* action);

/* Inserts the action before (after) the reference, the head when the
   reference is null; into an empty list the action becomes the only entry. */
DORNE_API int actionInsertBefore(ACTION_STRUCT* action, ACTION_STRUCT* reference, ACTION_STRUCT** head);
DORNE_API int actionInsertAfter(ACTION_STRUCT* action, ACTION_STRUCT* reference, ACTION_STRUCT** head);

/* Unlinks the action, moving the head on when it was the head; the action's
   own links are left as they were. */
DORNE_API int actionCut(ACTION_STRUCT* action, ACTION_STRUCT** head);

/* Swaps the action with its successor (predecessor); nothing at the tail
   (head). */
DORNE_API int actionDown(ACTION_STRUCT* action, ACTION_STRUCT** head);
DORNE_API int actionUp(ACTION_STRUCT* action, ACTION_STRUCT** head);

/* A new unlinked, unbound copy (owned by the caller) with the source's id,
   settings, ranges, mouse fields and all five threshold lists (entries
   copied whole); bindings, buffers, rings and filter states are not copied.
   Null for a null action or when memory runs out. */
DORNE_API ACTION_STRUCT* actionCopy(const ACTION_STRUCT* action);

/* Unlinks and frees the action with its threshold entries, its snapshots and
   its sample rings (a null action does nothing). */
DORNE_API int delAction(ACTION_STRUCT** head, ACTION_STRUCT* action);

/* A new threshold entry: level 0, upper level 0, int value 1, colour 0.5,
   1.0, 0.5, stipple solid (factor 1, pattern 0xFFFF). */
DORNE_API TH_STRUCT* createTh(void);

/* The list operations of actions on a threshold list. */
DORNE_API int appendTh(TH_STRUCT** head, TH_STRUCT* th);
DORNE_API int thInsertBefore(TH_STRUCT* th, TH_STRUCT* reference, TH_STRUCT** head);
DORNE_API int thInsertAfter(TH_STRUCT* th, TH_STRUCT* reference, TH_STRUCT** head);
DORNE_API int delTh(TH_STRUCT** head, TH_STRUCT* th);

/* A new zeroed vertex with the next running id (from 0). */
DORNE_API COORD_STRUCT* createCoord(void);

/* Links the vertex at the tail. */
DORNE_API int appendCoord(COORD_STRUCT** head, COORD_STRUCT* coord);

/* Unlinks and frees the vertex (a null vertex does nothing). */
DORNE_API int delCoord(COORD_STRUCT** head, COORD_STRUCT* coord);

/* ---- Binding and evaluation. Binding ties actions to the variables of a
   view's data sources by name (elements searched through groups); each
   frame the draw loop applies an element's actions to the current OpenGL
   model-view matrix and to its attribute block. None of these takes a lock:
   the view's mutex covers them while its data thread runs. ---- */

/* Clears the written flag of every variable of every source, then sets it
   on every variable named by a mouse action (type 22). 0; -1 when memory
   runs out for the lookup. */
DORNE_API int assignVariablesReadWrite(struct ELEMENT_STRUCT* list, struct DD_DATA_TYPE_STRUCT* sources);

/* Gives every variable fresh zeroed value storage (the variable's) and
   binds every action: value pointers, zeroed snapshots and, on a GRAPH, the
   four sample arrays of the graph's samples + 1 values (the snapshots and
   arrays owned by the action); offsets and slopes from the ranges; filter
   states reset. Written flags are set again for mouse actions. Where
   several variables share a name, the last one in source and list order is
   bound. An action whose variable is missing logs "error: var <name> not
   found" and evaluates with 0. 0; -1, logged, when memory runs out: for
   the lookup (every action is then left unbound), a variable's storage or
   an action's snapshot (those actions are left unbound; the rest are
   bound). */
DORNE_API int assignVariables(struct ELEMENT_STRUCT* list, struct DD_DATA_TYPE_STRUCT* sources);

/* Applies the element's actions for one frame in list order: moves, scales
   and rotations multiply onto the current matrix (translations are also
   kept in the element's pickTransform, reset first); colours, width, line
   style, visibility, blink, text and arc end override the attribute block.
   hold non-zero keeps the values of the previous frame. 0; -1 for a null
   element. */
DORNE_API int doAction(struct ELEMENT_STRUCT* element, int hold);

/* The action's bound value after its filter, dt seconds after the previous
   read: selector 0 the snapshot, 1 the live value, 2 the live second value.
   0 when the action or that binding is missing, or for a text value. */
DORNE_API double getActionFloatData(ACTION_STRUCT* action, int selector, float dt);

/* The line through (x1, y1) and (x2, y2): *slope = (y1 - y2) / (x1 - x2),
   *offset = y1 - slope x1; offset 0 and slope 1 when x1 equals x2. 0; -1
   for a null pointer. */
DORNE_API int getAB(float* offset, float* slope, float x1, float y1, float x2, float y2);

/* Translates the current matrix to the pivot (0 centre, 1-8 the box's
   corners and edge centres clockwise from top-left) when back is 0, or from
   it when back is 1; other pivots (9: none) do nothing. 0; -1 for a null
   element. */
DORNE_API int objMove(struct ELEMENT_STRUCT* element, int pivot, int back);

/* Adds (dx, dy) to the translation of the element's pickTransform. 0; -1
   for a null element. */
DORNE_API int elementMove(struct ELEMENT_STRUCT* element, float dx, float dy);

/* Sets the element's visibility (and its override) to flag, on all it holds
   too. 0; -1 for a null element. */
DORNE_API int setVisible(struct ELEMENT_STRUCT* element, int flag);

/* Applies one mouse event (0 press, 1 release, 7 move with a button held)
   of a button (0 left, 1 centre, 2 right) at the view point (x, y) to every
   mouse action of the element for that button: buttons that set or step a
   value with wrap or clamp, moves in x and y, absolute positions, rotary
   knobs. Values are written with putFloatData. 0; -1 for a null element. */
DORNE_API int doActionInput(uint32_t event, uint32_t button, struct ELEMENT_STRUCT* element, float x, float y);

/* Stores the value into the action's bound variable in the variable's type
   (clamped into the output range when the action limits), and sets the
   variable's set-pending flag when the stored value changed, clears it when
   not. Text variables are left as they are. 0; -1 when the action is
   unbound; -2 for a value that is not a finite number (nothing stored). */
DORNE_API int putFloatData(double value, ACTION_STRUCT* action);

/* ---- The exported action accessors (vdAction...). They take no lock (an
   action has no view to lock): change actions of stopped views or of views
   started without animation, from the thread that draws. ---- */

/* The element's actions in list order in a malloc'd array (vdActionFree),
   *count set. A null element or count: *count 0 (when given) and null;
   null also for an element without actions or when memory runs out. */
DORNE_API ACTION_STRUCT** vdActionGetAll(struct ELEMENT_STRUCT* element, int* count);

/* The action type code; -1 for a null action. */
DORNE_API int vdActionType(ACTION_STRUCT* action);

/* The first (second) variable name, 64 characters; null for null. */
DORNE_API char* vdActionVar(ACTION_STRUCT* action);
DORNE_API char* vdActionVar2(ACTION_STRUCT* action);

/* enable 0 disables the action, any other value enables it. 0; -1. */
DORNE_API int vdActionEnable(ACTION_STRUCT* action, int enable);

/* The first (second) variable's mapping: input 1, input 2, output for input
   1, output for input 2 (a0, a1, b0, b1). Null pointers are skipped. 0; -1
   for a null action. */
DORNE_API int vdActionGetScale(ACTION_STRUCT* action, float* in1, float* in2, float* out1, float* out2);
DORNE_API int vdActionGetScale2(ACTION_STRUCT* action, float* in1, float* in2, float* out1, float* out2);

/* Stores the mapping and recomputes that variable's offset and slope
   (offset 0 and slope 1 for equal inputs). 0; -1 for a null action. */
DORNE_API int vdActionSetScale(ACTION_STRUCT* action, float in1, float in2, float out1, float out2);
DORNE_API int vdActionSetScale2(ACTION_STRUCT* action, float in1, float in2, float out1, float out2);

/* R, G, B of the first entry of the colour threshold list (null pointers
   skipped). 0; -1 for a null action or an empty list. */
DORNE_API int vdActionGetColor(ACTION_STRUCT* action, float* r, float* g, float* b);
DORNE_API int vdActionSetColor(ACTION_STRUCT* action, float r, float g, float b);

/* Frees an array of vdActionGetAll; null does nothing. */
DORNE_API void vdActionFree(void* pointer);

#endif
