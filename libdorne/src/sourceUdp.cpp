// "UDP Socket Data" (type number 4): variables at byte offsets of the newest
// UDP datagram received on a port. Declared here; the other entry points do
// nothing yet, and the socket access replaces them (all of them provided).
#include "builtinSources.h"

namespace {

int vddSocketVarInfo(DD_DATA_TYPE_STRUCT* s)
{
    s->vddInit(s, ddText("UDP Socket Data"), 4, 0);
    s->vddOption(s, 0, 0, 0, ddText("PORT"));
    s->vddOption(s, 0, 0, 0, ddText("SIZE"));
    s->vddOption(s, 0, 1, 0, ddText("ENDIAN"), "Big Endian", "Little Endian", nullptr);
    s->vddOption(s, 1, 0, 0, ddText("OFFSET"));
    return 0;
}

} // namespace

void udpDataEntryPoints(DD_DATA_TYPE_STRUCT* s)
{
    ddProvideNothing(s);
    s->fnInfo = vddSocketVarInfo;
}
