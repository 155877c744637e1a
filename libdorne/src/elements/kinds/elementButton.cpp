// BUTTON elements: the kind record with its defaults, grab handles, edits
// and drawing. A button is a face between four bevels, shaded from its fill
// colour: raised when released, sunken while pressed in run mode.
#include "elements/kinds/elementFaces.h"

namespace {

void setButtonDefaults(BUTTON_STRUCT& b)
{
    vdiSetColor(b.faceColor, 0.7f, 0.7f, 0.7f, 1.0f);
    vdiSetColor(b.lightColor, 0.9f, 0.9f, 0.9f, 1.0f);
    vdiSetColor(b.darkColor, 0.3f, 0.3f, 0.3f, 1.0f);
    b.bevel = 4.0f;
}

// The fill colour times k, with the fill alpha.
void shade(const ATTR_STRUCT& block, float k)
{
    const float* f = block.fillColor;
    vvColor4f(f[0] * k, f[1] * k, f[2] * k, f[3]);
}

} // namespace

BUTTON_STRUCT* createButton(const BUTTON_STRUCT* templ)
{
    return vdiNewRecord(templ, "createButton", setButtonDefaults);
}

int buttonSetAttr(ELEMENT_STRUCT* element)
{
    const BUTTON_STRUCT* b = vdiRecord<BUTTON_STRUCT>(element);
    if (b == nullptr)
        return -1;
    vdiFaceAttr(element->attr, b->faceColor);
    return 0;
}

int buttonSetPickSticky(ELEMENT_STRUCT* element)
{
    BUTTON_STRUCT* b = vdiRecord<BUTTON_STRUCT>(element);
    if (b == nullptr)
        return -1;
    const bool made = vdiCornerUpdate(element, b->cornerX, b->cornerY, b->drawX, b->drawY);
    const int status = buttonSetAttr(element);
    return made ? status : -1;
}

int editButton(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase, EDIT_PARA_STRUCT* para)
{
    BUTTON_STRUCT* b = vdiRecord<BUTTON_STRUCT>(element);
    if (b == nullptr)
        return -1;
    EDIT_PARA_STRUCT none{};
    if (para == nullptr)
        para = &none;
    int status = 0; // -1 once an update ran out of memory
    if (command >= 1 && command <= 16)
        status = vdiEditPhase(element, handles, command, phase, para, vdiMoveRecordCorners<BUTTON_STRUCT>);
    else
        vdiEditFaceColors(*b, command, para);
    const int attr = buttonSetAttr(element);
    return status != 0 ? -1 : attr;
}

int drawButton(BUTTON_STRUCT* record, const ATTR_STRUCT* block, int selected)
{
    if (record == nullptr || block == nullptr)
        return -1;
    BUTTON_STRUCT& b = *record;
    if (block->fillColor[3] < 0.99f || b.lightColor[3] != 0 || b.darkColor[3] != 0)
        wtAliasBlend(0, 0.5f);

    // Outer corners lower-left, upper-left, upper-right, lower-right
    // whichever way the corners are stored.
    static const int forward[4] = {0, 1, 2, 3}, mirroredX[4] = {3, 2, 1, 0}, mirroredY[4] = {1, 0, 3, 2};
    const int* ix = b.drawX[2] > b.drawX[0] ? forward : mirroredX;
    const int* iy = b.drawY[1] > b.drawY[0] ? forward : mirroredY;
    VdiPoint p[4];
    for (int i = 0; i < 4; ++i)
        p[i] = {b.drawX[ix[i]], b.drawY[iy[i]]};
    const float w = b.bevel;
    const VdiPoint q[4] = {{p[0].x + w, p[0].y + w},
                           {p[0].x + w, p[1].y - w},
                           {p[2].x - w, p[1].y - w},
                           {p[2].x - w, p[0].y + w}};

    b.pressed = block->running != 0 ? static_cast<int8_t>(block->lineStyle) : 0;
    const bool pressed = b.pressed != 0;
    shade(*block, pressed ? 0.6f : 0.7f);
    vdiPolygon({q[0], q[1], q[2], q[3]});
    shade(*block, pressed ? 0.5f : 1.0f); // left and upper bevels
    vdiPolygon({p[0], p[1], q[1], q[0]});
    vdiPolygon({p[1], p[2], q[2], q[1]});
    shade(*block, pressed ? 1.0f : 0.5f); // right and lower bevels
    vdiPolygon({p[2], p[3], q[3], q[2]});
    vdiPolygon({p[3], p[0], q[0], q[3]});

    if (selected != 0 && block->running == 0)
        vdiSelectionLoop(b.drawX, b.drawY, 4);
    return 0;
}

const ElementKind vdiKindButton = [] {
    ElementKind k = vdiDescribeKind("BUTTON", sizeof(BUTTON_STRUCT),
                                    [] { return static_cast<void*>(createButton(nullptr)); });
    k.update = buttonSetPickSticky;
    k.edit = editButton;
    k.setAttr = buttonSetAttr;
    k.draw = vdiDrawRecord<drawButton>;
    return k;
}();
