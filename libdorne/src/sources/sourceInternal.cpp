// "Internal Data" (type number 5): variables only the view and its callers
// write and read. Every entry point but Info does nothing; providing Set is
// what gives its variables their defaults at view start.
#include "sources/builtinSources.h"

namespace {

int vddIntVarInfo(DD_DATA_TYPE_STRUCT* s)
{
    s->vddInit(s, ddText("Internal Data"), 5, 0);
    return 0;
}

} // namespace

void internalDataEntryPoints(DD_DATA_TYPE_STRUCT* s)
{
    ddProvideNothing(s);
    s->fnInfo = vddIntVarInfo;
}
