// Parameter arrays and option arrays of the data-source records, shared by
// the list operations, the services and the merge.
#ifndef DORNE_DATA_LISTS_H
#define DORNE_DATA_LISTS_H

#include "dorneDataSources.h"

// n parameter entries, each a zeroed 64-byte text of capacity 64; null for
// n <= 0 or when memory runs out.
DD_PARA_STRUCT* dorneParaCreate(int n);

// Records read from a view file are made in one piece: the record, its
// parameter array and the entries' texts in a single allocation. Whatever
// lies inside the allocation of the record that owns it (owner) is freed
// with the record and never on its own; owner null: nothing does.

// Frees n entries' texts and the array, but what lies inside owner; null
// does nothing.
void dorneParaFree(DD_PARA_STRUCT* para, int n, const void* owner);

// Grows *para from *alloc to n entries (existing entries kept, new ones
// fresh); nothing when n <= *alloc. 0, -1 when memory runs out (unchanged).
int dorneParaGrow(DD_PARA_STRUCT** para, int32_t* alloc, int n, const void* owner);

// Gives the entry a zeroed text of capacity bytes in place of its own
// (freed unless it lies inside owner). 0, -1 when memory runs out
// (unchanged).
int dorneParaReplaceText(DD_PARA_STRUCT* para, int32_t capacity, const void* owner);

// A source made as createDataType(n) makes it, in one piece. Null (not
// logged) for n < 0 or when memory runs out.
DD_DATA_TYPE_STRUCT* dorneDataTypeCreatePacked(int n);

// A variable made as createVariable(n) makes it, in one piece, but that
// the first `sized` entries get texts of capacities[i] bytes (at least 1)
// instead of 64. Null (not logged) for n < 0 or when memory runs out.
DD_VAR_STRUCT* dorneVariableCreatePacked(int n, const int32_t* capacities, int sized);

// Frees both option arrays with their choice texts; the counts stay.
void dorneOptionsFree(DD_DATA_TYPE_STRUCT* s);

#endif
