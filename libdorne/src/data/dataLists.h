// Parameter arrays and option arrays of the data-source records, shared by
// the list operations, the services and the merge.
#ifndef DORNE_DATA_LISTS_H
#define DORNE_DATA_LISTS_H

#include "dorneDataSources.h"

// n parameter entries, each a zeroed 64-byte text of capacity 64; null for
// n <= 0 or when memory runs out.
DD_PARA_STRUCT* dorneParaCreate(int n);

// Frees n entries' texts and the array; null does nothing.
void dorneParaFree(DD_PARA_STRUCT* para, int n);

// Grows *para from *alloc to n entries (existing entries kept, new ones
// fresh); nothing when n <= *alloc. 0, -1 when memory runs out (unchanged).
int dorneParaGrow(DD_PARA_STRUCT** para, int32_t* alloc, int n);

// Frees both option arrays with their choice texts; the counts stay.
void dorneOptionsFree(DD_DATA_TYPE_STRUCT* s);

#endif
