// SLIDER elements: the kind record with its defaults.
#include "elementKinds.h"

namespace {

void setSliderDefaults(SLIDER_STRUCT& s)
{
    vdiSetColor(s.faceColor, 0.5f, 0.5f, 0.5f, 1.0f);
    vdiSetColor(s.darkColor, 0.3f, 0.3f, 0.3f, 1.0f);
    vdiSetColor(s.lightColor, 0.9f, 0.9f, 0.9f, 1.0f);
    s.bevel = 2.0f;
    s.knobHalfHeight = 15.0f;
}

} // namespace

SLIDER_STRUCT* createSlider(const SLIDER_STRUCT* templ)
{
    return vdiNewRecord(templ, "createSlider", setSliderDefaults);
}

const ElementKind vdiKindSlider =
    vdiDescribeKind("SLIDER", sizeof(SLIDER_STRUCT),
                    [] { return static_cast<void*>(createSlider(nullptr)); });
