#ifndef DORNE_VARIABLES_H
#define DORNE_VARIABLES_H

/* Variables of the data sources: the live values a view shows and writes.
   The records cross the module interface: field order and sizes are fixed. */

#include "dorneExport.h"

#include <stdint.h>

/* Value type codes of DD_VAR_STRUCT. Storage is 8 bytes for codes 0 to 9 and
   256 bytes for DD_STRING; a code outside 0 to 10 is moved by no path. */
enum
{
    DD_FLOAT = 0,   /* 32-bit float */
    DD_DOUBLE = 1,  /* 64-bit double */
    DD_CHAR = 2,    /* signed 8-bit */
    DD_UCHAR = 3,   /* unsigned 8-bit */
    DD_SHORT = 4,   /* signed 16-bit */
    DD_USHORT = 5,  /* unsigned 16-bit */
    DD_INT = 6,     /* signed 32-bit */
    DD_UINT = 7,    /* unsigned 32-bit */
    DD_LONG = 8,    /* signed long in the 8-byte storage */
    DD_ULONG = 9,   /* unsigned long in the 8-byte storage */
    DD_STRING = 10  /* text of at most 255 characters and a zero */
};

/* The stored value of one option of a source or a variable. The record
   frees its entries and their texts. A source or variable read from a view
   file holds its entry array and their texts inside its own allocation:
   give such an entry a text of your own (malloc'd, freed with the record)
   without freeing the one it had; free() an old text only on records made
   by createDataType or createVariable. */
typedef struct DD_PARA_STRUCT
{
    int32_t value;    /* choice index of a choice option, else 0 */
    char* text;       /* owned, zero-terminated */
    int32_t capacity; /* bytes of text (64 for a new entry) */
} DD_PARA_STRUCT;

/* One variable of a data source; a source owns its list.
   Value storage: 8 bytes for the types 0 to 9 (and unknown types), 256 bytes
   for DD_STRING, zero-filled (calloc) at every view start and released with
   free() by delVariable. DD_LONG and DD_ULONG use all 8 bytes: defaults and
   symbol copies move the whole 64-bit value. */
typedef struct DD_VAR_STRUCT
{
    int32_t type;                 /* value type code */
    char name[64];                /* the key actions, the calculator and the facade use */
    DD_PARA_STRUCT* para;         /* one entry per variable option of the source (owned) */
    void* value;                  /* value storage; null until the view starts */
    uint8_t changed;              /* the exchange: value differs from the previous one */
    int32_t write;                /* the view writes this variable (an input action names it) */
    int32_t paraCount;            /* parameters in use (the stored count, at least the
                                     variable options once merged) */
    void* symbol;                 /* symbol mode: the module's object of the same name */
    int32_t used;                 /* in use (set for every variable at view start) */
    unsigned char previous[8];    /* first 8 bytes of the value after the last exchange */
    struct DD_VAR_STRUCT* prev;
    struct DD_VAR_STRUCT* next;
    char defaultText[64];         /* default value as text; empty: none */
    uint8_t setPending;           /* the view stored a new value since the last exchange */

    /* Appended after the fields above, whose order modules rely on. */
    void* moduleData;             /* the source kind's own data for this variable (the
                                     calculator's parser); set and released by the kind */
    char previousText[256];       /* DD_STRING: the whole text after the last exchange */
    int32_t paraAlloc;            /* entries allocated in para (at least paraCount) */
} DD_VAR_STRUCT;

/* List operations. A list owns its records; heads are passed by address so
   that the head can change. Appending and inserting return 0, or -1 for a
   null head; a null record changes nothing. */

/* A new zero-filled variable (value type DD_FLOAT, empty name and default)
   with n parameter entries, each a zeroed 64-byte text of capacity 64. Null
   when memory runs out (logged at level 1 "createVariable: out of memory").
   The caller owns it until it is linked into a list. */
DORNE_API DD_VAR_STRUCT* createVariable(int n);

/* Links v at the end of the list. */
DORNE_API int appendVariable(DD_VAR_STRUCT** head, DD_VAR_STRUCT* v);

/* Links v in front of before; a null before means the head. */
DORNE_API int variableInsertBefore(DD_VAR_STRUCT* v, DD_VAR_STRUCT* before, DD_VAR_STRUCT** head);

/* Links v behind after; a null after means right behind the head (the head
   itself on an empty list). */
DORNE_API int variableInsertAfter(DD_VAR_STRUCT* v, DD_VAR_STRUCT* after, DD_VAR_STRUCT** head);

/* Unlinks v (moving the head on when v was the head; a null head: v is in
   no list) and frees it with every
   parameter entry, the value storage and the record. A null v does nothing;
   0. The kind must have released moduleData (its Close). */
DORNE_API int delVariable(DD_VAR_STRUCT** head, DD_VAR_STRUCT* v);

/* ---- The exported variable accessors (vdVar...) ---- */

struct vdView_Struct;
struct DD_DATA_TYPE_STRUCT;

/* The source's variables in list order in a malloc'd array (vdFree);
   *count is set to 0 first (when given). Null for a null source or count,
   a source without variables or when memory runs out. */
DORNE_API DD_VAR_STRUCT** vdVarGetAll(struct DD_DATA_TYPE_STRUCT* source, int* count);

/* The variable's name (64 characters); null for null. */
DORNE_API char* vdVarName(DD_VAR_STRUCT* variable);

/* The value type code; -1 for null. */
DORNE_API int vdVarType(DD_VAR_STRUCT* variable);

/* The write flag (1 when a mouse action of the view writes the variable);
   -1 for null. */
DORNE_API int vdVarReadWrite(DD_VAR_STRUCT* variable);

/* Parameter index of the variable: its int value into *value and its text
   into text (each when not null). text must hold 256 bytes: at most 255
   characters and a zero are copied. 0; -1 null variable; -2 index outside
   0 .. parameter count - 1. */
DORNE_API int vdVarGetPara(DD_VAR_STRUCT* variable, int index, int* value, char* text);

/* Stores the value and, when text is not null, the text (cut to the
   entry's capacity). Same results. No lock: for stopped views or views
   started without animation. */
DORNE_API int vdVarSetPara(DD_VAR_STRUCT* variable, int index, int value, const char* text);

/* The first source of the view (list order) holding a variable named name;
   (DD_DATA_TYPE_STRUCT*)-1 when none, for a null name, a null or foreign
   view. */
DORNE_API struct DD_DATA_TYPE_STRUCT* vdVarSource(struct vdView_Struct* view, const char* name);

/* The value storage of the running view's variable named name; null for a
   null or foreign view, a stopped view or an unknown name. No lock covers
   the pointer: it is valid until the view stops, and safe to use only on a
   view started without animation (the data thread writes it otherwise). */
DORNE_API void* vdVarGetAddr(struct vdView_Struct* view, const char* name);

/* The value as text into out (256 bytes), cut to 255 characters: float
   and double "%f" (six decimals; NaN and infinities "nan" and "inf", with a
   minus sign when negative), integer types in decimal (unsigned types
   unsigned, 64-bit types all 64 bits), text as stored (at most 255
   characters). Returns the set-pending flag as it was (0 or 1) and clears
   it; -1 null view, -2 foreign record, -3 stopped view, -4 null name, -5
   null out, -6 unknown name. Holds the view's mutex. */
DORNE_API int vdVarGetStr(struct vdView_Struct* view, const char* name, char* out);

/* Converts the text into the variable's type and stores it: float types at
   their precision from the text's number (a float held within the finite
   float range), integer types from the text's decimal integer held within
   64 bits (-2^63 to 2^63 - 1 for signed types, -2^63 to 2^64 - 1 for
   unsigned ones, a negative text wrapping) of which their width keeps the
   low bits, text cut to 255 characters. Every text vdVarGetStr writes for
   an integer or text variable reads back as the same value. That of a
   float or double reads back as the value rounded to six decimals (1/3 as
   0.333333, 1e-7 as 0), a float infinity as the largest float, and a value
   whose text was cut (from 1e254 in size when negative, 1e255 when
   positive) as a far smaller one (1e300 as about 1e254). 1 stored, 0
   unknown name, -1 to -3 as vdVarGetStr, -4 null name, -5 null text. No
   flag is set and no source is called. Holds the view's mutex. */
DORNE_API int vdVarSetStr(struct vdView_Struct* view, const char* name, const char* text);

/* Copies the variable's width from value: 4 bytes for float and 32-bit
   types, 8 for double and the 64-bit types, 1 and 2 for 8- and 16-bit
   types, a text up to its zero (at most 255 characters). Results as
   vdVarSetStr (-5 null value). Holds the view's mutex. */
DORNE_API int vdVarSet(struct vdView_Struct* view, const char* name, const void* value);

/* Frees an array of vdDataSourceGetAll or vdVarGetAll; null does nothing. */
DORNE_API void vdFree(void* pointer);

#endif
