// "SHM DATA" (type number 3): variables at byte offsets of a System V
// shared-memory segment, optionally described by the segment's NSHM block.
// Declared here; the other entry points do nothing yet, and the segment
// access replaces them (all of them provided, so defaults reach Set).
#include "builtinSources.h"

namespace {

int vddShmVarInfo(DD_DATA_TYPE_STRUCT* s)
{
    s->vddInit(s, ddText("SHM DATA"), 3, 0);
    s->vddOption(s, 0, 0, 0, ddText("SHM KEY (Hex)"));
    s->vddOption(s, 0, 1, 0, ddText("ENDIAN"), "Big Endian", "Little Endian", nullptr);
    s->vddOption(s, 0, 1, 0, ddText("AUTO-LOAD"), "Auto Load NSHM off", "Auto Load NSHM on", nullptr);
    s->vddOption(s, 0, 2, 0, ddText("LOAD NSHM"), "Load");
    s->vddOption(s, 1, 0, 0, ddText("OFFSET"));
    return 0;
}

} // namespace

void shmDataEntryPoints(DD_DATA_TYPE_STRUCT* s)
{
    ddProvideNothing(s);
    s->fnInfo = vddShmVarInfo;
}
