#ifndef DORNE_VIEW_H
#define DORNE_VIEW_H

/* A loaded view: its elements, data sources, configuration block, run state,
   clock, variable table and the mutex shared with its data thread. */

#include "dorneExport.h"
#include "dorneDataSources.h"
#include "dorneElements.h"
#include "dorneHash.h"

#include <pthread.h>
#include <stdint.h>

#define VD_VIEW_MAGIC 0x10203040u

/* What a view file says about the view as a whole. */
typedef struct CONFIG_STRUCT
{
    float r, g, b;         /* page colour, 0..1 */
    float x, y;            /* lower-left corner of the view's area */
    float width, height;   /* size of the area in view units */
    char texts[5][128];    /* texts of the file layouts 1.07 to 1.10; never interpreted */
} CONFIG_STRUCT;

/* One loaded view; zero-filled when made, freed by vdViewFree. state and
   threadFinished are shared with the data thread: access them atomically
   (__atomic builtins). */
typedef struct vdView_Struct
{
    uint32_t magic;                    /* VD_VIEW_MAGIC */
    CONFIG_STRUCT config;
    ELEMENT_STRUCT* elements;          /* top-level element list (owned) */
    DD_DATA_TYPE_STRUCT* dataSources;  /* the view's sources (owned) */
    DD_DATA_TYPE_STRUCT* registry;     /* source kinds; only filled during a load */
    int32_t state;                     /* 0 stopped, 1 started, 2 animated */
    int32_t haltMode;
    int32_t threadFinished;            /* 0 at an animated start, 1 once the data thread has ended;
                                          the library itself never reads it */
    int32_t drawOffsetX, drawOffsetY;  /* pixel offset in the target */
    float drawScale;
    int32_t scissorOffsetX, scissorOffsetY; /* offset and scale of the last clip computation */
    float scissorScale;
    double startTime;                  /* apiGetTime of the last start */
    double viewTime;                   /* seconds */
    HASH_STRUCT* variables;            /* variable name to DD_VAR_STRUCT (keys owned) */
    pthread_mutex_t mutex;             /* guards the view's records; from load to vdViewFree */
    float colorFactor[4];              /* RGBA multiplied into all drawing */
    int32_t scissorType;               /* 1 clip with the scissor box, else the stencil */
    int32_t depthOffset;               /* step the depth range per element */
    int32_t lineScaling;               /* scale line widths with the projection */
    int32_t backgroundMode;            /* 1 paint the page background */
    int32_t renderDirty;               /* render the view into its texture again */
    uint32_t renderTexture;            /* GL texture name; 0 until made */
    ELEMENT_STRUCT* picked;            /* element receiving the mouse events */
    int64_t previousEvent;             /* event type that chose it; -1 after a start */
    uint32_t displayList;              /* a GL display list of the caller's that drawListTexture
                                          calls; the library never makes one (0 after load) */
} vdView_Struct;

#define VD_WINDOW_MAGIC 0x10203041u

/* A window that vdViewDraw draws into; made by vdWindowCreate (with
   calloc), released by the caller with free(). */
typedef struct vdWindow_Struct
{
    uint32_t magic;                    /* VD_WINDOW_MAGIC */
    int32_t width, height;             /* pixels, set by vdWindowInit; 0 after creation */
    DRAW_PARA_STRUCT para;             /* zoom 1.0 after creation; filled by vdViewDraw */
} vdWindow_Struct;

/* ---- Lifecycle ----------------------------------------------------------
   Status results: 0 success, -1 null view, -2 record without the view's
   magic, -3 wrong state (or, for the draws, no current GL context), -4 the
   data thread could not be made. State 0 stopped, 1 started (data exchanged
   at each draw), 2 animated (a data thread exchanges every 10 ms).

   Threads. A view's records are guarded by its mutex, view->mutex, which
   the data thread of an animated view holds for each of its ticks. These
   calls hold it while they work, so any of them may run on any thread
   beside each other and beside the data thread: vdViewStart,
   vdViewStartAnim, vdViewStop, vdViewStopAnim, vdViewPutData,
   vdViewSetTime, vdViewResetGraph, vdViewSetHaltMode, the four draws,
   vdWindowClear, the draw settings and the size and position queries,
   vdiViewPickElementRun and vdViewEvent, and vdVarGetStr, vdVarSetStr and
   vdVarSet (dorneVariables.h).
   Nothing else that reads or changes a view's records holds its mutex: the
   element, action, source and variable handles (dorneObjects.h,
   dorneActions.h, dorneDataSources.h, dorneVariables.h, vdVarGetAddr's
   pointer), fillActions, the record's fields, and saveFile and saveFileXml
   (dorneFiles.h) of view->elements and view->dataSources. On a running
   view call them with view->mutex held, and none of the calls above from
   that thread until it is released (the mutex is not recursive); saving a
   running view:
       pthread_mutex_lock(&view->mutex);
       saveFile(path, view->elements, view->dataSources, &view->config);
       pthread_mutex_unlock(&view->mutex);
   Whatever makes, uses or frees fonts, textures or element names, or sets
   the GL layer's process-wide state, holds the library-wide lock (taken
   after a view's mutex, never before): the loads, vdViewFree, the draws,
   vdWindowCreate, vdWindowInit, the readers and writers of dorneFiles.h,
   and the element and texture functions that make, name or free. So views
   may be loaded, drawn and freed on several threads at once; the draws of
   all views run one at a time.
   GL contexts. A view's GL objects belong to the context that was current
   when they were made: its fonts, textures and display lists mostly at
   the load (or an edit), its render texture at its first texture draw;
   vdViewFree deletes them in whatever context is current then. So load,
   draw and free a view with the same context current, or with contexts
   that share their objects. The font library hands one font object to
   every view that asks for the same family, style and size, whatever
   context is current: views loaded in different contexts need contexts
   that share their objects.
   A view is gone once vdViewFree returns: the caller's other threads must
   be done with it, and not wait for its mutex, before.
   The font library writes to standard output at the level 1 that every
   load sets (its errors, "libft ERROR -> ...", and terminal colour codes):
   ftSetDebugLevel(0) (sartoLibrary.h) after the load silences it. */

/* A view read from the view file at path: the font library set up at the
   first load of the process (folders ".", "../fonts", "../../fonts",
   "$NALVO_HOME/fonts"), the file's sources merged with the registered
   source kinds, the write flags of the variables set from the mouse actions.
   Every load (also vdViewLoadData) loads the data-source modules
   "libVdd<name>.so" it finds in the current folder, then in
   "$NALVO_HOME/bin" and "$NALVO_HOME", and runs their code: start a program
   that loads views from a folder you trust.
   State 0, drawn at offset 0, 0 and scale 1.0, background mode 1, colour
   factor 1.0. Null for a null path or a file the reader refuses (nothing
   is left allocated). */
DORNE_API vdView_Struct* vdViewLoad(const char* path);

/* As vdViewLoad, for a view file image of size bytes in memory (read in
   place, no file is written; font folders "../fonts", "../../fonts",
   "$NALVO_HOME/fonts", "$windir/fonts"). Null for a null image, a size of 0
   or an image the reader refuses; "open fd" is printed (perror) when the
   memory stream cannot be made. */
DORNE_API vdView_Struct* vdViewLoadData(const void* image, uint32_t size);

/* Starts a stopped view: start time, graphs and polygons reset, sources
   opened and started, variables bound and entered into the variable table,
   defaults written; halt mode 0, the render texture marked for rendering,
   no picked element. vdViewStart leaves state 1; vdViewStartAnim state 2
   with the data thread running, or -4 with the view stopped again when the
   thread cannot be made. -5, with the view stopped again and a level-1
   message, when the variable table cannot take every variable (no name
   lookup would find those) or memory runs out while the variables are
   bound (assignVariables). -3 unless the view is stopped. */
DORNE_API int vdViewStart(vdView_Struct* view);
DORNE_API int vdViewStartAnim(vdView_Struct* view);

/* Stops a started or animated view (-3 when stopped): an animated view's
   data thread is ended and waited for, however long its tick takes, with
   the view's mutex let go meanwhile; then the variable table is emptied,
   the elements' drawing attributes reset and the sources closed. Until the
   stop returns, vdViewStart, vdViewStartAnim and vdViewFree of the view
   return -3. vdViewStopAnim stops only an animated view (-3 otherwise). */
DORNE_API int vdViewStop(vdView_Struct* view);
DORNE_API int vdViewStopAnim(vdView_Struct* view);

/* Stops a running view, then frees its elements, sources, variable table,
   render texture (in the current GL context), mutex and the record. -3,
   with nothing freed, while a stop on another thread still waits for the
   view's data thread: that stop takes the mutex again when the thread has
   ended; free the view after it has returned. */
DORNE_API int vdViewFree(vdView_Struct* view);

/* Advances the view time by step seconds and samples every graph (groups
   included) at it; no data is exchanged. -3 when stopped. */
DORNE_API int vdViewPutData(vdView_Struct* view, double step);

/* Sets the view time to t and restarts every graph at t; any state. */
DORNE_API int vdViewSetTime(vdView_Struct* view, float t);

/* Restarts every graph at t; the view time stays. Any state. */
DORNE_API int vdViewResetGraph(vdView_Struct* view, float t);

/* The halt mode handed to action evaluation and graph sampling; every start
   sets it to 0. -3 when stopped. */
DORNE_API int vdViewSetHaltMode(vdView_Struct* view, int mode);

/* Samples every GRAPH element of the list, groups searched recursively, at
   the view time. 0, -1 for a null list. */
DORNE_API int fillActions(ELEMENT_STRUCT* list, int halt, double viewTime);

/* ---- Drawing ------------------------------------------------------------
   Into the GL context current in the calling thread: -3 without one
   (checked before the view's mutex is taken). In state 0 the elements are
   drawn as stored; in state 1 each draw first exchanges data with the
   sources once; in state 2 the data thread does that. The clip regions of
   groups with a SCISSOR element are recomputed when the draw offset or the
   draw scale (by more than 0.01) changed since the last computation. */

/* Mode 2 draws directly (as vdViewDrawPlane_Direct). Mode 0 shows the view
   through its 1024 x 1024 render texture, rendering it again first when the
   texture is marked (by a start, or by mode 1, which always renders again)
   or not made yet;
   the rendering clears the whole current colour buffer (the clear colour
   is restored) and draws into its lower-left pixels. A view wider or higher
   than 1024 units is drawn directly in every mode. The texture is shown at
   the draw offset and scale with its unpainted pixels transparent. */
DORNE_API int vdViewDrawPlane(vdView_Struct* view, int mode);

/* Draws the view in the current transformation translated by the draw
   offset and scaled by the draw scale, over the page colour when the
   background mode is non-zero. mode is not used. */
DORNE_API int vdViewDrawPlane_Direct(vdView_Struct* view, int mode);

/* Draws the view into the window: projection one unit per pixel over the
   window (vddSetViewport, restored afterwards), the view's lower-left
   corner at (x, y), scale as the zoom; the draw offset becomes (x, y)
   (clamped to the int range, NaN as 0) and the draw scale scale. The
   model-view matrix is left at identity. -1 for a null window or view, -2
   when either lacks its magic. */
DORNE_API int vdViewDraw(vdWindow_Struct* window, vdView_Struct* view, float x, float y, float scale);

/* Draws the view in the caller's current transformation; leaves the GL
   state it sets (blending off, flat shading, ...) as set. */
DORNE_API int vdViewDrawWindow(vdView_Struct* view);

/* A new window record (zoom 1.0); switches the GL wrappers to RGB mode. Null
   when memory runs out. */
DORNE_API vdWindow_Struct* vdWindowCreate(void);

/* vddSetViewport(width, height) in the current context and the size stored
   in the window. 0, -1, -2. */
DORNE_API int vdWindowInit(vdWindow_Struct* window, int width, int height);

/* Clears the colour buffer to the view's page colour. 0, -1, -2. */
DORNE_API int vdWindowClear(vdWindow_Struct* window, vdView_Struct* view);

/* Projection 0..width x 0..height, viewport of (width - 1) x (height - 1)
   pixels at 0, 0, identity model-view. 0. */
DORNE_API int vddSetViewport(int width, int height);

/* ---- Draw settings (any state; used from the next draw on) ---- */

/* Non-zero: the direct draw fills the view's area with the page colour. A
   null or foreign view is ignored. */
DORNE_API void vdSetBackgroundMode(vdView_Struct* view, int mode);

/* The factor by which every colour of the view is multiplied, stored as
   given and clamped to 0..1 when drawn (alpha below 0.98 turns blending
   on). 0, -1, -2. */
DORNE_API int vdViewSetColorFactor(vdView_Struct* view, float r, float g, float b, float a);

/* 1: groups clip with the scissor box; other values: with the stencil. */
DORNE_API int vdViewSetScissorType(vdView_Struct* view, int type);

/* Non-zero: the direct draw tests depth, each element in its own range. */
DORNE_API int vdViewSetUseDepthBuffer(vdView_Struct* view, int flag);

/* Non-zero: line widths scale with the projected size of the view. */
DORNE_API int vdViewSetUseLineScaling(vdView_Struct* view, int flag);

/* ---- Size and position (view units, truncated to int and held within
   the int range; -1 null view, -2 foreign record) ---- */

DORNE_API int vdViewWidth(vdView_Struct* view);
DORNE_API int vdViewHeight(vdView_Struct* view);
/* The centre of the view's area: x + width / 2, y + height / 2. */
DORNE_API int vdViewPosX(vdView_Struct* view);
DORNE_API int vdViewPosY(vdView_Struct* view);

/* ---- Mouse events. Event types 0 press, 1 release, 7 move with a button
   held; buttons 0 left, 1 centre, 2 right. A press picks the topmost
   element under the point that has a usable mouse action; it receives the
   press, the moves and the release (doActionInput); the release picks
   again, and the element picked then receives the moves up to the next
   press. A press that follows a press keeps the element. ---- */

/* The topmost element of the list under the view point (x, y) with a mouse
   action (type 22) that works now: tested with its pick function (the
   point through its pick transform), else its box through the pick
   transform (pick mode 0) or its segment within 5 / zoom (mode 1; a
   zero-length one within 5 / zoom of its point); a hidden element's action
   counts only with mouseHiddenActive set, except in mode 1. Groups are
   searched with the point less their translation, a qualifying group wins
   over its children. Null when none. */
DORNE_API ELEMENT_STRUCT* vdiPickElementRun(ELEMENT_STRUCT* list, float x, float y, float zoom);

/* Routes one event at the view point (x, y) through the view's picked
   element, in any state. Holds the view's mutex. 0; -1 for a null view, -2
   for a record without the view's magic. */
DORNE_API int vdiViewPickElementRun(vdView_Struct* view, int type, int button, float x, float y, float zoom);

/* The same on an element list with a picked element and previous event of
   the calling thread (no view, no lock). 0. */
DORNE_API int vdieViewPickElementRun(ELEMENT_STRUCT* list, int type, int button, float x, float y, float zoom);

/* An event at the window pixel (x, y) (y from the top): turned into view
   units with the window's zoom and the view's draw offset as the last
   vdViewDraw left them, then routed. 0; -1 null window or view, or a zoom
   of 0 or not finite (the event is dropped); -2 either lacks its magic; -3
   the view is stopped. */
DORNE_API int vdViewEvent(vdWindow_Struct* window, vdView_Struct* view, int button, int type, float x, float y);

#endif
