// SLIDER elements: the kind record with its defaults, grab handles, edits
// and drawing: a sunken trough with a raised knob in its middle, drawn the
// same whatever the values (mouse actions write the variables).
#include "elements/kinds/elementFaces.h"

#include <cmath>

namespace {

void setSliderDefaults(SLIDER_STRUCT& s)
{
    vdiSetColor(s.faceColor, 0.5f, 0.5f, 0.5f, 1.0f);
    vdiSetColor(s.darkColor, 0.3f, 0.3f, 0.3f, 1.0f);
    vdiSetColor(s.lightColor, 0.9f, 0.9f, 0.9f, 1.0f);
    s.bevel = 2.0f;
    s.knobHalfHeight = 15.0f;
}

// Phase 1 of a geometry command: the centre and the upper-right corner of
// the trough from the backed-up ones give the new centre and size.
void moveSlider(ELEMENT_STRUCT* element, const void* backup, int command, const EDIT_PARA_STRUCT* para)
{
    SLIDER_STRUCT* s = vdiRecord<SLIDER_STRUCT>(element);
    const auto* b = static_cast<const SLIDER_STRUCT*>(backup);
    float cx = b->x, cy = b->y;
    float kx = b->x + b->width / 2, ky = b->y + b->height / 2;
    resizeMoveElement(element, command, &cx, &cy, para->x, para->y, cx, cy);
    resizeMoveElement(element, command, &kx, &ky, para->x, para->y, kx, ky);
    s->x = cx;
    s->y = cy;
    s->width = 2 * std::fabs(kx - cx);
    s->height = 2 * std::fabs(ky - cy);
}

void color(const float (&c)[4])
{
    vvColor4f(c[0], c[1], c[2], c[3]);
}

} // namespace

SLIDER_STRUCT* createSlider(const SLIDER_STRUCT* templ)
{
    return vdiNewRecord(templ, "createSlider", setSliderDefaults);
}

int sliderSetAttr(ELEMENT_STRUCT* element)
{
    const SLIDER_STRUCT* s = vdiRecord<SLIDER_STRUCT>(element);
    if (s == nullptr)
        return -1;
    vdiFaceAttr(element->attr, s->faceColor);
    return 0;
}

int sliderSetPickSticky(ELEMENT_STRUCT* element)
{
    SLIDER_STRUCT* s = vdiRecord<SLIDER_STRUCT>(element);
    if (s == nullptr)
        return -1;
    HandleRebuild rebuild(element);
    const float minX = s->x - s->width / 2, maxX = s->x + s->width / 2;
    const float minY = s->y - s->height / 2, maxY = s->y + s->height / 2;
    static const uint8_t ids[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    bool made = vdiAppendBoxHandles(element, ids, 9, minX, minY, maxX, maxY, s->x, s->y);
    made = vdiAppendBoxRecord(element, minX, minY, maxX, maxY) && made;
    vdiSetElementBox(element, minX, minY, maxX, maxY);
    element->centreX = element->x = s->x;
    element->centreY = element->y = s->y;
    const int status = sliderSetAttr(element);
    return rebuild.settle(made) == 0 ? status : -1;
}

int editSlider(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase, EDIT_PARA_STRUCT* para)
{
    SLIDER_STRUCT* s = vdiRecord<SLIDER_STRUCT>(element);
    if (s == nullptr)
        return -1;
    EDIT_PARA_STRUCT none{};
    if (para == nullptr)
        para = &none;
    int status = 0; // -1 once an update ran out of memory
    if (command >= 1 && command <= 16)
        status = vdiEditPhase(element, handles, command, phase, para, moveSlider);
    else
        vdiEditFaceColors(*s, command, para);
    const int attr = sliderSetAttr(element);
    return status != 0 ? -1 : attr;
}

int drawSlider(SLIDER_STRUCT* record, const ATTR_STRUCT* block, int selected)
{
    if (record == nullptr || block == nullptr)
        return -1;
    const SLIDER_STRUCT& s = *record;
    const bool opaque = s.faceColor[3] >= 0.99f && s.darkColor[3] == 0 && s.lightColor[3] == 0;
    wtAliasBlend(0, opaque ? 1.0f : 0.5f);
    const float b = s.bevel, k = s.knobHalfHeight;
    const float L = -s.width / 2, R = s.width / 2, B = -s.height / 2, T = s.height / 2;

    // The trough: floor, dark left and upper bevels, light right and lower.
    color(block->fillColor);
    vdiPolygon({{L + b, B + b}, {L + b, T - b}, {R - b, T - b}, {R - b, B + b}});
    color(s.darkColor);
    vdiPolygon({{L, B}, {L, T}, {L + b, T - b}, {L + b, B + b}});
    vdiPolygon({{L, T}, {R, T}, {R - b, T - b}, {L + b, T - b}});
    color(s.lightColor);
    vdiPolygon({{R, T}, {R, B}, {R - b, B + b}, {R - b, T - b}});
    vdiPolygon({{R, B}, {L, B}, {L + b, B + b}, {R - b, B + b}});

    if (selected != 0 && block->running == 0) {
        const float x[4] = {L, L, R, R}, y[4] = {B, T, T, B};
        vdiSelectionLoop(x, y, 4);
    }

    // The knob across the trough: face, light left and upper bevels, dark
    // right and lower.
    color(block->fillColor);
    vdiPolygon({{L + 2 * b, -k + b}, {L + 2 * b, k - b}, {R - 2 * b, k - b}, {R - 2 * b, -k + b}});
    color(s.lightColor);
    vdiPolygon({{L + b, -k}, {L + b, k}, {L + 2 * b, k - b}, {L + 2 * b, -k + b}});
    vdiPolygon({{L + b, k}, {R - b, k}, {R - 2 * b, k - b}, {L + 2 * b, k - b}});
    color(s.darkColor);
    vdiPolygon({{R - b, k}, {R - b, -k}, {R - 2 * b, -k + b}, {R - 2 * b, k - b}});
    vdiPolygon({{R - b, -k}, {L + b, -k}, {L + 2 * b, -k + b}, {R - 2 * b, -k + b}});
    return 0;
}

const ElementKind vdiKindSlider = [] {
    ElementKind k = vdiDescribeKind("SLIDER", sizeof(SLIDER_STRUCT),
                                    [] { return static_cast<void*>(createSlider(nullptr)); });
    k.update = sliderSetPickSticky;
    k.edit = editSlider;
    k.setAttr = sliderSetAttr;
    k.draw = vdiDrawRecord<drawSlider>;
    return k;
}();
