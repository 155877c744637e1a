// The six built-in source kinds. vdiLoadStaticDataSources creates one
// registry record per kind, in this order, and hands it to the kind's fill
// function, which stores the kind's entry points (Info among them); the
// registry then calls Info, which declares name, type number and options.
// One source file per kind.
#ifndef DORNE_BUILTIN_SOURCES_H
#define DORNE_BUILTIN_SOURCES_H

#include "dorneDataSources.h"

typedef void (*DD_BUILTIN_FILL)(DD_DATA_TYPE_STRUCT* s);

void autoDataEntryPoints(DD_DATA_TYPE_STRUCT* s);     // 1 "Auto Data": sourceAuto.cpp
void constantDataEntryPoints(DD_DATA_TYPE_STRUCT* s); // 2 "Constant Data": sourceConstant.cpp
void shmDataEntryPoints(DD_DATA_TYPE_STRUCT* s);      // 3 "SHM DATA": sourceShm.cpp
void udpDataEntryPoints(DD_DATA_TYPE_STRUCT* s);      // 4 "UDP Socket Data": sourceUdp.cpp
void internalDataEntryPoints(DD_DATA_TYPE_STRUCT* s); // 5 "Internal Data": sourceInternal.cpp
void calculatorEntryPoints(DD_DATA_TYPE_STRUCT* s);   // 6 "Calculator": sourceCalculator.cpp

// The services take char* texts; the kinds declare literals.
inline char* ddText(const char* text)
{
    return const_cast<char*>(text);
}

// Entry points that a kind provides but that do nothing: each returns 0.
inline int ddNothingSource(DD_DATA_TYPE_STRUCT*)
{
    return 0;
}
inline int ddNothingVariable(DD_VAR_STRUCT*, DD_DATA_TYPE_STRUCT*)
{
    return 0;
}
inline int ddNothingNewVariable(DD_VAR_STRUCT*)
{
    return 0;
}
inline int ddNothingCallbackData(int, int, char*, DD_DATA_TYPE_STRUCT*)
{
    return 0;
}
inline int ddNothingCallbackVar(int, int, char*, DD_VAR_STRUCT*)
{
    return 0;
}
inline int ddNothingStartAll(DD_DATA_TYPE_STRUCT*, DD_DATA_TYPE_STRUCT*)
{
    return 0;
}

// Provides Open, Close, Run, Get, Set, StartView and the four editor hooks,
// each doing nothing (no PostRun, no StartViewAll): a kind sets its Info and
// then replaces what it really does, or clears what it does not provide.
inline void ddProvideNothing(DD_DATA_TYPE_STRUCT* s)
{
    s->fnOpen = ddNothingSource;
    s->fnClose = ddNothingSource;
    s->fnRun = ddNothingSource;
    s->fnGet = ddNothingVariable;
    s->fnSet = ddNothingVariable;
    s->fnStartView = ddNothingSource;
    s->fnNewData = ddNothingSource;
    s->fnNewVariable = ddNothingNewVariable;
    s->fnCallbackData = ddNothingCallbackData;
    s->fnCallbackVar = ddNothingCallbackVar;
}

#endif
