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
    int32_t threadFinished;            /* set by the data thread when it ends */
    int32_t drawOffsetX, drawOffsetY;  /* pixel offset in the target */
    float drawScale;
    int32_t scissorOffsetX, scissorOffsetY; /* offset and scale of the last clip computation */
    float scissorScale;
    double startTime;                  /* apiGetTime of the last start */
    double viewTime;                   /* seconds */
    HASH_STRUCT* variables;            /* variable name to DD_VAR_STRUCT (keys owned) */
    pthread_mutex_t mutex;             /* guards elements and variables against the data thread */
    float colorFactor[4];              /* RGBA multiplied into all drawing */
    int32_t scissorType;               /* 1 clip with the scissor box, else the stencil */
    int32_t depthOffset;               /* step the depth range per element */
    int32_t lineScaling;               /* scale line widths with the projection */
    int32_t backgroundMode;            /* 1 paint the page background */
    int32_t renderDirty;               /* render the view into its texture again */
    uint32_t renderTexture;            /* GL texture name; 0 until made */
    ELEMENT_STRUCT* picked;            /* element receiving the mouse events */
    int64_t previousEvent;             /* event type that chose it; -1 after a start */
    uint32_t displayList;              /* GL display list that drawListTexture calls */
} vdView_Struct;

#endif
