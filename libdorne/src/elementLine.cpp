// LINE elements: the kind record with its defaults.
#include "elementKinds.h"

namespace {

void setLineDefaults(LINE_STRUCT& l)
{
    l.lineWidth = 1.0f;
    l.lineR = 0.5f;
    l.lineG = 1.0f;
    l.lineB = 0.5f;
    l.lineA = 1.0f;
    l.stippleFactor = 1;
    l.stipplePattern = 0xFFFF;
}

} // namespace

LINE_STRUCT* createLine(const LINE_STRUCT* templ)
{
    return vdiNewRecord(templ, "createLine", setLineDefaults);
}

const ElementKind vdiKindLine =
    vdiDescribeKind("LINE", sizeof(LINE_STRUCT), [] { return static_cast<void*>(createLine(nullptr)); });
