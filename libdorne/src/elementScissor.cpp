// SCISSOR elements: the kind record (four corners, all zero when new).
#include "elementKinds.h"

SCISSOR_STRUCT* createScissor(const SCISSOR_STRUCT* templ)
{
    return vdiNewRecord(templ, "createScissor", [](SCISSOR_STRUCT&) {});
}

const ElementKind vdiKindScissor =
    vdiDescribeKind("SCISSOR", sizeof(SCISSOR_STRUCT),
                    [] { return static_cast<void*>(createScissor(nullptr)); });
