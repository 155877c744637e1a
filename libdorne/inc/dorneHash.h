#ifndef DORNE_HASH_H
#define DORNE_HASH_H

/* HASH_STRUCT: the engine's associative table. Open addressing with linear
   probing over a prime number of slots, keyed by an unsigned integer or by a
   text, mapping to a value pointer. Keys are not unique: inserting a key
   twice stores it twice and searches find the copy met first on the probe
   path. A table has no lock of its own. */

#include "dorneExport.h"

#include <stdint.h>

/* One slot. It is occupied when value is not null; a text-keyed slot has
   key 0, an integer-keyed slot a null text. */
typedef struct HASH_SLOT
{
    uint32_t key;
    char* text;  /* owned copy of the text key, or null */
    void* value; /* the caller's value (freed by the table under auto-delete) */
} HASH_SLOT;

typedef struct HASH_STRUCT
{
    uint32_t size;       /* number of slots, a prime table entry */
    uint32_t count;      /* entries stored */
    uint32_t autoDelete; /* non-zero: removing an entry frees its value */
    HASH_SLOT* slots;    /* size + 1 slots */
    uint32_t vacated;    /* slots emptied by a delete since the last rebuild
                            or clear; while 0 a probe ends at an empty slot */
} HASH_STRUCT;

/* A new empty table of the first prime-table size above 2 x expected (1 for
   0, 3 for 1, 101 for 50); null when none is that large (more than 499,991
   expected) or memory runs out. The prime table is built at the first call. */
DORNE_API HASH_STRUCT* mpiHashCreate(unsigned expected);

/* Sets the auto-delete flag; 0, -1 for a null table. */
DORNE_API int mpiHashSetAutoDelete(HASH_STRUCT* table, int flag);

/* Store value under the key in the first free slot of its probe path (a text
   key is copied), growing the table first when (count + 1) x 1.5 > size.
   0; -1 for a null table, key or value, or when the table could not grow and
   the entry would fill more than seven eighths of its slots (probe paths stay
   short: the largest table, 874,193 slots after growth, takes 764,918). */
DORNE_API int mpiHashInsert(HASH_STRUCT* table, unsigned key, void* value);
DORNE_API int mpiHashInsertAscii(HASH_STRUCT* table, const char* key, void* value);

/* The value stored under the key (exact, case-sensitive text), or null. */
DORNE_API void* mpiHashSearch(HASH_STRUCT* table, unsigned key);
DORNE_API void* mpiHashSearchAscii(HASH_STRUCT* table, const char* key);

/* Remove the first entry of the key (its value freed under auto-delete);
   0, or -1 when the key is not stored. */
DORNE_API int mpiHashDelete(HASH_STRUCT* table, unsigned key);
DORNE_API int mpiHashDeleteAscii(HASH_STRUCT* table, const char* key);

/* Empties every slot as a delete does; 0, -1 for a null table. */
DORNE_API int mpiHashClear(HASH_STRUCT* table);

/* Clears the table and frees it; 0, -1 for a null table. */
DORNE_API int mpiHashRemove(HASH_STRUCT* table);

/* ((int)a + 90) x 1000 + ((int)b + 180), each truncated toward zero: a key for
   a latitude and longitude pair (values beyond int are clamped). */
DORNE_API unsigned mpiHashCalcKey(double a, double b);

/* 0 for every text. */
DORNE_API unsigned mpiHashCalcAsciiKey(const char* text);

#endif
