// Shared by the view file benchmarks: source lists of thousands of
// variables built and freed.
#ifndef DORNE_BENCH_SOURCES_H
#define DORNE_BENCH_SOURCES_H

#include "dorneDataSources.h"

// Links var behind last (null: var becomes the source's first variable);
// last becomes var. appendVariable walks the list, which thousands of
// variables cannot afford.
inline void linkVariable(DD_DATA_TYPE_STRUCT* source, DD_VAR_STRUCT*& last, DD_VAR_STRUCT* var)
{
    var->prev = last;
    if (last != nullptr)
        last->next = var;
    else
        source->variables = var;
    last = var;
}

inline void freeSources(DD_DATA_TYPE_STRUCT** head)
{
    while (*head != nullptr)
        delDataType(head, *head, 0);
}

#endif
