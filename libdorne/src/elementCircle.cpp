// CIRCLE and ARC elements: one kind record, two sets of defaults.
#include "elementKinds.h"

#include <cmath>

namespace {

const float pi = float(M_PI);

// What both kinds share; the created matrix and radii are zero until a
// reader sets them.
void setCurveDefaults(CIRCLE_STRUCT& c)
{
    c.end = 2 * pi;
    c.outline = 1;
    c.lineWidth = 2.0f;
    c.lineR = c.lineG = c.lineB = c.lineA = 1;
    c.stippleFactor = 1;
    c.stipplePattern = 0xFFFF;
}

void setCircleDefaults(CIRCLE_STRUCT& c)
{
    setCurveDefaults(c);
    c.start = 0;
    c.fill = 1;
    c.fillR = 1;
    c.fillG = 1;
    c.fillB = 0.5f;
    c.fillA = 1;
    c.antialias = 1;
}

void setArcDefaults(CIRCLE_STRUCT& c)
{
    setCurveDefaults(c);
    c.start = pi;
    c.fill = 0;
    c.fillR = 0;
    c.fillG = 1;
    c.fillB = 0;
    c.fillA = 1;
    c.antialias = 0;
}

} // namespace

CIRCLE_STRUCT* createCircle(const CIRCLE_STRUCT* templ)
{
    return vdiNewRecord(templ, "createCircle", setCircleDefaults);
}

CIRCLE_STRUCT* createArc(const CIRCLE_STRUCT* templ)
{
    return vdiNewRecord(templ, "createCircle", setArcDefaults);
}

const ElementKind vdiKindCircle =
    vdiDescribeKind("CIRCLE", sizeof(CIRCLE_STRUCT),
                    [] { return static_cast<void*>(createCircle(nullptr)); });

const ElementKind vdiKindArc =
    vdiDescribeKind("ARC", sizeof(CIRCLE_STRUCT), [] { return static_cast<void*>(createArc(nullptr)); });
