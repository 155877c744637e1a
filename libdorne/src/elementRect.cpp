// RECTANGLE elements: the kind record with its defaults.
#include "elementKinds.h"

namespace {

void setRectDefaults(RECT_STRUCT& r)
{
    r.outline = 1;
    r.lineWidth = 2.0f;
    r.lineR = 1;
    r.lineG = 0;
    r.lineB = 1;
    r.lineA = 1;
    r.fill = 1;
    r.fillR = 0;
    r.fillG = 0;
    r.fillB = 1;
    r.fillA = 1;
    r.antialias = 1;
    r.stippleFactor = 1;
    r.stipplePattern = 0xFFFF;
}

} // namespace

RECT_STRUCT* createRect(const RECT_STRUCT* templ)
{
    return vdiNewRecord(templ, "createRect", setRectDefaults);
}

const ElementKind vdiKindRect =
    vdiDescribeKind("RECTANGLE", sizeof(RECT_STRUCT), [] { return static_cast<void*>(createRect(nullptr)); });
