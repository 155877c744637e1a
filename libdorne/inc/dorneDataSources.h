#ifndef DORNE_DATA_SOURCES_H
#define DORNE_DATA_SOURCES_H

/* Data sources: one record type serves the registry of source kinds (built-in
   and modules) and the sources of a loaded view. The record crosses the
   module interface: field order and sizes are fixed. */

#include "dorneExport.h"
#include "dorneVariables.h"

#include <stdint.h>

/* One option a source kind declares. Kinds: 0 free text, 1 choice list,
   2 button with a caption, 3 free text without choices. */
typedef struct DD_OPTION_STRUCT
{
    int32_t kind;
    char label[32];
    int32_t flags;       /* stored, not interpreted */
    int32_t choiceCount;
    char (*choices)[32]; /* choiceCount texts of 32 bytes (owned) */
} DD_OPTION_STRUCT;

struct DD_DATA_TYPE_STRUCT;

/* Services the library hands to a source kind. */
typedef int (*DD_INIT_FN)(struct DD_DATA_TYPE_STRUCT* source, char* name, int type, int symbolMode);
typedef int (*DD_OPTION_FN)(struct DD_DATA_TYPE_STRUCT* source, int scope, int kind, int flags, char* label, ...);
typedef int (*DD_ADD_VARIABLE_FN)(struct DD_DATA_TYPE_STRUCT* source, char* name, int type, ...);
typedef int (*DD_SOURCE_FN)(struct DD_DATA_TYPE_STRUCT* source);
typedef char** (*DD_VARIABLE_NAMES_FN)(struct DD_DATA_TYPE_STRUCT* source);
typedef DD_VAR_STRUCT** (*DD_VARIABLE_LIST_FN)(struct DD_DATA_TYPE_STRUCT* source);
typedef int (*DD_LOG_FN)(const char* format, ...);

/* Entry points a source kind provides (null: not provided). */
typedef int (*DD_VERSION_FN)(void);
typedef int (*DD_VARIABLE_FN)(DD_VAR_STRUCT* variable, struct DD_DATA_TYPE_STRUCT* source);
typedef int (*DD_START_ALL_FN)(struct DD_DATA_TYPE_STRUCT* head, struct DD_DATA_TYPE_STRUCT* source);
typedef int (*DD_NEW_VARIABLE_FN)(DD_VAR_STRUCT* variable);
typedef int (*DD_CALLBACK_DATA_FN)(int option, int value, char* text, struct DD_DATA_TYPE_STRUCT* source);
typedef int (*DD_CALLBACK_VAR_FN)(int option, int value, char* text, DD_VAR_STRUCT* variable);

/* One data source of a view, or one source kind of the registry. */
typedef struct DD_DATA_TYPE_STRUCT
{
    char name[64];                 /* "Auto Data", "SHM DATA", ... */
    int32_t type;                  /* type number of the kind; built-ins 1 to 6 */
    DD_PARA_STRUCT* para;          /* one entry per source option, maybe more (owned) */
    void* privateData;             /* the kind's: made by Open, released by Close */

    /* services, filled by the library */
    DD_INIT_FN vddInit;
    DD_OPTION_FN vddOption;
    DD_ADD_VARIABLE_FN vddAddVariable;
    DD_SOURCE_FN vddDeleteAllVariables;
    DD_VARIABLE_NAMES_FN vddGetAllVariables;
    DD_VARIABLE_LIST_FN vddGetAllVariablesS;
    DD_LOG_FN logMsgData;

    DD_VAR_STRUCT* variables;      /* head of the variable list (owned) */
    int32_t symbolMode;            /* 1: values are copied to and from module objects */
    int32_t dataOptionCount;       /* source-level option descriptors */
    int32_t varOptionCount;        /* variable-level option descriptors */
    DD_OPTION_STRUCT* dataOptions; /* dataOptionCount entries (owned) */
    DD_OPTION_STRUCT* varOptions;  /* varOptionCount entries (owned) */
    char modulePath[512];          /* file the kind was loaded from; empty for built-ins */
    char moduleName[256];          /* the module's name part; empty for built-ins */
    int32_t known;                 /* 0 when no registered kind has this type number */
    int32_t isStatic;              /* 1 for a built-in kind */
    void* module;                  /* module handle; null while closed */
    int32_t version;               /* what the module's vddVersion returned */

    /* entry points, in the order of the module contract */
    DD_VERSION_FN fnVersion;
    DD_SOURCE_FN fnInfo;
    DD_SOURCE_FN fnOpen;
    DD_SOURCE_FN fnClose;
    DD_SOURCE_FN fnRun;
    DD_SOURCE_FN fnPostRun;
    DD_VARIABLE_FN fnGet;
    DD_VARIABLE_FN fnSet;
    DD_SOURCE_FN fnStartView;
    DD_START_ALL_FN fnStartViewAll;
    DD_SOURCE_FN fnNewData;
    DD_NEW_VARIABLE_FN fnNewVariable;
    DD_CALLBACK_DATA_FN fnCallbackData;
    DD_CALLBACK_VAR_FN fnCallbackVar;

    struct DD_DATA_TYPE_STRUCT* prev;
    struct DD_DATA_TYPE_STRUCT* next;
} DD_DATA_TYPE_STRUCT;

#endif
