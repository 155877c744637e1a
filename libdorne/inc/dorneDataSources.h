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

/* Interface version a module's vddVersion returns. */
#define DD_MODULE_VERSION 324

/* One data source of a view, or one source kind of the registry.

   A module is a shared library "libVdd<name>.so" exporting vddVersion
   (returning DD_MODULE_VERSION) and vdd<name>Info, and optionally
   vdd<name>Open, Close, Run, PostRun, Get, Set, StartView, NewData,
   NewVariable, CallbackData and CallbackVar (signatures below). Info
   declares the kind through the services: vddInit first, then vddOption per
   option. In symbol mode the module exports one global object per variable,
   named as the variable and as wide as its value type (4 bytes for DD_FLOAT,
   DD_INT, DD_UINT; 8 for DD_DOUBLE and for the 64-bit DD_LONG and DD_ULONG;
   256 bytes for DD_STRING), which the exchange copies instead of calling Get
   and Set.

   Locks (dorneView.h) held around a module's code by the view functions:
   at every view load, vddVersion, Info and the unloading run under the
   library-wide lock; at every start, vddVersion, Open, StartView,
   StartViewAll and the defaults (Set, PostRun), and at every stop and
   vdViewFree of a running view, Close and the unloading, run under the
   view's mutex and the library-wide lock. The exchange (Run, Get, Set,
   PostRun) runs under the view's mutex on the data thread of an animated
   view, and under the view's mutex and the library-wide lock in each draw
   of a view started without animation. So a module must not call the view
   functions (dorneView.h; vdVarGetStr, vdVarSetStr, vdVarSet) from its
   entry points: the view's mutex is not recursive, and no thread may wait
   for a view's mutex while it holds the library-wide lock. */
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

    /* Appended after the fields above, whose order modules rely on. */
    int32_t paraAlloc;             /* entries allocated in para (at least dataOptionCount
                                      once merged); a reader that replaces para sets it */
} DD_DATA_TYPE_STRUCT;

/* ---- Source records and lists ------------------------------------------
   A list owns its records; heads are passed by address. Appending and
   inserting return 0, or -1 for a null head; a null record changes nothing. */

/* A new zero-filled source with known flag 1 and n parameter entries (each a
   zeroed 64-byte text of capacity 64); option counts 0. Null when memory runs
   out (logged at level 1 "createDataType: out of memory"). */
DORNE_API DD_DATA_TYPE_STRUCT* createDataType(int n);

/* Links s at the end of the list. */
DORNE_API int appendDataType(DD_DATA_TYPE_STRUCT** head, DD_DATA_TYPE_STRUCT* s);

/* Links s in front of before; a null before means the head. */
DORNE_API int VDataInsertBefore(DD_DATA_TYPE_STRUCT* s, DD_DATA_TYPE_STRUCT* before, DD_DATA_TYPE_STRUCT** head);

/* Links s behind after; a null after means right behind the head (the head
   itself on an empty list). */
DORNE_API int VDataInsertAfter(DD_DATA_TYPE_STRUCT* s, DD_DATA_TYPE_STRUCT* after, DD_DATA_TYPE_STRUCT** head);

/* Unlinks s and frees it with its variables, every parameter entry and both
   option arrays with their choice texts (a source owns them all; freeOptions
   is kept for callers and no longer decides). A null s does nothing; 0. The
   module must be closed and the private data released (closeDataSources). */
DORNE_API int delDataType(DD_DATA_TYPE_STRUCT** head, DD_DATA_TYPE_STRUCT* s, int freeOptions);

/* 1 when a record of the list has that type number, else 0. */
DORNE_API int checkDataType(DD_DATA_TYPE_STRUCT* head, int type);

/* ---- Services handed to source kinds -----------------------------------
   Filled into a record's service pointers: built-ins get the first five,
   modules all seven (logMsgData is declared in dorneLog.h). */

/* Sets the name (cut to 63 characters), the type number and the symbol mode
   (clamped to 0..1), and empties both option lists. 0, -1 for a null s. */
DORNE_API int vddInit(DD_DATA_TYPE_STRUCT* s, char* name, int type, int symbolMode);

/* Declares one option at the end of the source-level (scope 0) or
   variable-level (other scopes) list: kind, label (cut to 31 characters) and
   flags; kind 1 takes the variadic texts up to a null pointer as choices,
   kind 2 one variadic text as its caption (each cut to 31 characters).
   0; -1 for a null s or when memory runs out (logged at level 1). */
DORNE_API int vddOption(DD_DATA_TYPE_STRUCT* s, int scope, int kind, int flags, char* label, ...);

/* Appends a new variable named name (cut to 63 characters) of value type
   type with one parameter per variable-level option, filled from the
   variadic arguments in option order: kind 0 a text (cut to 63 characters),
   kind 1 an int choice index, kinds 2 and 3 nothing. 0, -1 for a null s or
   when memory runs out. */
DORNE_API int vddAddVariable(DD_DATA_TYPE_STRUCT* s, char* name, int type, ...);

/* Deletes every variable of the source; 0 (also for a null s). */
DORNE_API int vddDeleteAllVariables(DD_DATA_TYPE_STRUCT* s);

/* A null-terminated array of copies of the variable names in list order.
   The library owns array and copies until the next call of this service on
   the same thread. Null for a null s or when memory runs out. */
DORNE_API char** vddGetAllVariables(DD_DATA_TYPE_STRUCT* s);

/* The same for the variable records (null-terminated array of pointers),
   with an array of its own that the next call on the same thread releases. */
DORNE_API DD_VAR_STRUCT** vddGetAllVariablesS(DD_DATA_TYPE_STRUCT* s);

/* ---- The registry of source kinds --------------------------------------
   Built at each view load: built-ins, then modules, merged into the view's
   sources, then deleted with delDataType. Log lines at level 3 for each kind
   registered, 2 for duplicates and merge warnings, 1 for refused modules. */

/* Appends the six built-in kinds in order: 1 "Auto Data", 2 "Constant
   Data", 3 "SHM DATA", 4 "UDP Socket Data", 5 "Internal Data",
   6 "Calculator"; a type number already in the list is skipped. 0. */
DORNE_API int vdiLoadStaticDataSources(DD_DATA_TYPE_STRUCT** head);

/* Registers every module "libVdd<name>.so" found in ".", then, when
   NALVO_HOME is set, in "$NALVO_HOME/bin" and "$NALVO_HOME". A folder or
   file path that would be cut (511 and 255 characters) is skipped. 0. */
DORNE_API int vdiLoadDataSources(DD_DATA_TYPE_STRUCT** head);

/* Loads the module at path, asks its Info, unloads it and appends the
   declared kind unless its type number is present. 0, -1 when the module
   cannot be opened or has no Info (logged). */
DORNE_API int vdiAppendDDsource(DD_DATA_TYPE_STRUCT** head, char* path, char* moduleName);

/* Loads a module kind's library (all symbols bound now), checks its version,
   fills the services and resolves the entry points. 0 at once for a
   built-in; -1 after a logged failure, leaving the module unloaded. */
DORNE_API int openDDsource(char* path, char* moduleName, DD_DATA_TYPE_STRUCT* s);

/* Clears a module kind's entry points (all but StartViewAll), its variables'
   symbol addresses and unloads it; nothing for a built-in. 0. */
DORNE_API int closeDDsource(DD_DATA_TYPE_STRUCT* s);

/* Completes each view source from the registry record of the same type
   number: option declarations (choice texts stay with the registry), name,
   module path and name, symbol mode, services and entry points; parameter
   arrays of the source and its variables grow to the declared option counts.
   A source no record declares is renamed "unknown Data Source <type>" and
   kept without entry points, known flag 0. 0, -1 for a null viewSources. */
DORNE_API int updateDataTypes(DD_DATA_TYPE_STRUCT* registry, DD_DATA_TYPE_STRUCT** viewSources);

/* At view start, per source in list order: loads its module, binds the
   symbol-mode globals, calls Open. A source whose module fails keeps no
   entry points. 0. */
DORNE_API int openDataSources(DD_DATA_TYPE_STRUCT* head);

/* Per source in list order: StartView, then StartViewAll(head, source). 0. */
DORNE_API int callStartView(DD_DATA_TYPE_STRUCT* head);

/* At view stop, per source in list order: Close, then unloads its module. 0. */
DORNE_API int closeDataSources(DD_DATA_TYPE_STRUCT* head);

/* ---- The exchange cycle ------------------------------------------------
   Runs on the view's data thread under the view's mutex, or on the drawing
   thread of a view started without animation (under the view's mutex and
   the library-wide lock); never on two threads at once for one view.
   Variables without value storage are passed over. */

/* One cycle over all sources: Run; per variable Get, or for a variable the
   view writes Set (changed flag: the value differs from the last cycle's;
   for DD_STRING the whole text) then Get; PostRun. Symbol-mode sources copy
   to and from the module's globals instead. 0. */
DORNE_API int fillDP(DD_DATA_TYPE_STRUCT* head);

/* At view start: hands each non-empty default text to the sources that
   provide Set (not in symbol mode), then PostRun. 0. */
DORNE_API int writeDefault(DD_DATA_TYPE_STRUCT* head);

/* Converts the default text into the value storage by value type: floats
   from the longest valid prefix, integers with the base the text gives (0x
   hexadecimal, leading 0 octal, else decimal) in their width, 64-bit types
   all 8 bytes, texts cut to 255 characters. 0, -1 without storage. */
DORNE_API int setDefaultValue(DD_VAR_STRUCT* v);

/* Copies the module's global at the symbol address into the value storage
   (ddDataGet) or the storage into the global (ddDataSet), in the width of
   the value type. 0, -1 without storage or symbol address. */
DORNE_API int ddDataGet(DD_VAR_STRUCT* v);
DORNE_API int ddDataSet(DD_VAR_STRUCT* v);

/* ---- The exported source accessors (vdDataSource...) ---- */

struct vdView_Struct;

/* The view's sources in list order in a malloc'd array (vdFree); *count is
   set to 0 first (when given). Null for a null count, a null or foreign
   view, a view without sources or when memory runs out. */
DORNE_API DD_DATA_TYPE_STRUCT** vdDataSourceGetAll(struct vdView_Struct* view, int* count);

/* The source's name (64 characters); null for null. */
DORNE_API char* vdDataSourceName(DD_DATA_TYPE_STRUCT* source);

/* The source's type number; -1 for null. */
DORNE_API int vdDataSourceType(DD_DATA_TYPE_STRUCT* source);

/* "libVdd<module name>.so" in a buffer of the calling thread, overwritten
   by its next call; null for null. */
DORNE_API const char* vdDataSourceLibName(DD_DATA_TYPE_STRUCT* source);

#endif
