#ifndef SARTO_DATA_H
#define SARTO_DATA_H

/* The node of every list and tree of the font library: search paths,
   families, styles and sizes, font objects. A node owns its payload (a
   zeroed record of its type) and its children; siblings are doubly linked
   and the parent knows its first and last child. Every function returns -1
   for a null parent or node and 0 otherwise, unless said below. */

#include "sartoExport.h"

#include <stdint.h>

/* Node types. */
#define FNT_TYPE_PATH 1   /* payload: a folder path of FNT_PATH_SIZE bytes */
#define FNT_TYPE_FAMILY 2 /* payload: FNT_FAMILY */
#define FNT_TYPE_SOURCE 3 /* payload: FNT_SOURCE (a style or a size) */
#define FNT_TYPE_FONT 4   /* payload: a font object */

#define FNT_PATH_SIZE 512 /* at most 511 characters and a zero */

typedef struct FNT_DATA_STRUCT
{
    int32_t type;                      /* FNT_TYPE_* */
    struct FNT_DATA_STRUCT* next;      /* next sibling */
    struct FNT_DATA_STRUCT* prev;      /* previous sibling */
    struct FNT_DATA_STRUCT* parent;
    struct FNT_DATA_STRUCT* child;     /* first child */
    struct FNT_DATA_STRUCT* lastChild;
    void* data;                        /* payload (owned) */
    int32_t len;                       /* payload size in bytes */
} FNT_DATA_STRUCT;

/* A new unlinked node with a zeroed payload of the type's record (owned by
   the caller until linked). An unknown type prints "ftCreateData: Error
   unknown data type %d\n" and gives a node without payload. Null when memory
   is short ("sdCreateData: out of memory\n" on standard error). */
SARTO_API FNT_DATA_STRUCT* ftDataCreate(int type);

/* Makes the node the parent's last child (a node still linked elsewhere is
   unlinked first). */
SARTO_API int ftDataAppend(FNT_DATA_STRUCT* parent, FNT_DATA_STRUCT* node);

/* Makes the node the parent's first child. */
SARTO_API int ftDataPush(FNT_DATA_STRUCT* parent, FNT_DATA_STRUCT* node);

/* Links the node before the sibling; a null sibling stands for the parent's
   first child, and a parent without children receives the node as its only
   child. -1 also when the sibling is not the parent's child. */
SARTO_API int ftDataInsertBefore(FNT_DATA_STRUCT* parent, FNT_DATA_STRUCT* sibling, FNT_DATA_STRUCT* node);

/* Links the node after the sibling, with the same rules. */
SARTO_API int ftDataInsertAfter(FNT_DATA_STRUCT* parent, FNT_DATA_STRUCT* sibling, FNT_DATA_STRUCT* node);

/* Exchanges two adjacent siblings when b is a's next sibling; otherwise
   changes nothing (and still returns 0). */
SARTO_API int ftDataSwap(FNT_DATA_STRUCT* a, FNT_DATA_STRUCT* b);

/* A deep, unlinked copy (type, payload bytes, children in order), owned by
   the caller; null for a null node or when memory is short. */
SARTO_API FNT_DATA_STRUCT* ftDataCopy(const FNT_DATA_STRUCT* node);

/* Deletes the node's children, unlinks it and frees its payload and itself. */
SARTO_API int ftDataDel(FNT_DATA_STRUCT* node);

#endif
