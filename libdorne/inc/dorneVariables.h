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

/* The stored value of one option of a source or a variable. */
typedef struct DD_PARA_STRUCT
{
    int32_t value;    /* choice index of a choice option, else 0 */
    char* text;       /* owned, zero-terminated */
    int32_t capacity; /* bytes of text (64 for a new entry) */
} DD_PARA_STRUCT;

/* One variable of a data source; a source owns its list. */
typedef struct DD_VAR_STRUCT
{
    int32_t type;                 /* value type code */
    char name[64];                /* the key actions, the calculator and the facade use */
    DD_PARA_STRUCT* para;         /* one entry per variable option of the source (owned) */
    void* value;                  /* value storage; null until the view starts */
    uint8_t changed;              /* the exchange: value differs from the previous one */
    int32_t write;                /* the view writes this variable (an input action names it) */
    int32_t paraCount;            /* entries of para */
    void* symbol;                 /* symbol mode: the module's object of the same name */
    int32_t used;                 /* in use (set for every variable at view start) */
    unsigned char previous[8];    /* first 8 bytes of the value after the last exchange */
    struct DD_VAR_STRUCT* prev;
    struct DD_VAR_STRUCT* next;
    char defaultText[64];         /* default value as text; empty: none */
    uint8_t setPending;           /* the view stored a new value since the last exchange */
} DD_VAR_STRUCT;

#endif
