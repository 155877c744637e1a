// BUTTON elements: the kind record with its defaults.
#include "elementKinds.h"

namespace {

void setButtonDefaults(BUTTON_STRUCT& b)
{
    vdiSetColor(b.faceColor, 0.7f, 0.7f, 0.7f, 1.0f);
    vdiSetColor(b.lightColor, 0.9f, 0.9f, 0.9f, 1.0f);
    vdiSetColor(b.darkColor, 0.3f, 0.3f, 0.3f, 1.0f);
    b.bevel = 4.0f;
}

} // namespace

BUTTON_STRUCT* createButton(const BUTTON_STRUCT* templ)
{
    return vdiNewRecord(templ, "createButton", setButtonDefaults);
}

const ElementKind vdiKindButton =
    vdiDescribeKind("BUTTON", sizeof(BUTTON_STRUCT),
                    [] { return static_cast<void*>(createButton(nullptr)); });
