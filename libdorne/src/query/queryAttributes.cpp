// The public attribute record of an element (OBJ_ATTR_STRUCT): position and
// size from the element, style fields from its kind record, and back
// through the edit function and the kind's attribute reset.
#include "data/dataValue.h"

#include "dorneObjects.h"

#include <cstring>

namespace {

// The style fields shared by the outlined and filled kinds.
template <typename R>
void getShape(const R* r, OBJ_ATTR_STRUCT* a)
{
    a->lineStyle = r->lineStyle;
    a->lineWidth = dorne::truncateInt32(r->lineWidth);
    a->antialias = r->antialias;
    a->outline = r->outline;
    a->fill = r->fill;
    a->lineColor[0] = r->lineR, a->lineColor[1] = r->lineG, a->lineColor[2] = r->lineB, a->lineColor[3] = r->lineA;
    a->fillColor[0] = r->fillR, a->fillColor[1] = r->fillG, a->fillColor[2] = r->fillB, a->fillColor[3] = r->fillA;
}

template <typename R>
void setShape(R* r, const OBJ_ATTR_STRUCT* a)
{
    r->lineStyle = a->lineStyle;
    r->lineWidth = float(a->lineWidth);
    r->antialias = a->antialias;
    r->outline = a->outline;
    r->fill = a->fill;
    r->lineR = a->lineColor[0], r->lineG = a->lineColor[1], r->lineB = a->lineColor[2], r->lineA = a->lineColor[3];
    r->fillR = a->fillColor[0], r->fillG = a->fillColor[1], r->fillB = a->fillColor[2], r->fillA = a->fillColor[3];
}

void getLine(const LINE_STRUCT* r, OBJ_ATTR_STRUCT* a)
{
    a->lineStyle = r->lineStyle;
    a->lineWidth = dorne::truncateInt32(r->lineWidth);
    a->antialias = r->antialias;
    a->lineColor[0] = r->lineR, a->lineColor[1] = r->lineG, a->lineColor[2] = r->lineB, a->lineColor[3] = r->lineA;
}

void setLine(LINE_STRUCT* r, const OBJ_ATTR_STRUCT* a)
{
    r->lineStyle = a->lineStyle;
    r->lineWidth = float(a->lineWidth);
    r->antialias = a->antialias;
    r->lineR = a->lineColor[0], r->lineG = a->lineColor[1], r->lineB = a->lineColor[2], r->lineA = a->lineColor[3];
}

void getText(const TEXT_STRUCT* r, OBJ_ATTR_STRUCT* a)
{
    a->lineStyle = r->lineStyle;
    a->lineWidth = dorne::truncateInt32(r->lineWidth);
    a->antialias = r->antialias;
    std::memcpy(a->lineColor, r->color, sizeof a->lineColor);
    const size_t n = strnlen(r->text, sizeof r->text - 1);
    std::memcpy(a->text, r->text, n);
    a->text[n] = '\0';
}

void setText(TEXT_STRUCT* r, const OBJ_ATTR_STRUCT* a)
{
    r->lineStyle = a->lineStyle;
    r->lineWidth = float(a->lineWidth);
    r->antialias = a->antialias;
    std::memcpy(r->color, a->lineColor, sizeof r->color);
    const size_t n = strnlen(a->text, sizeof a->text - 1);
    std::memmove(r->text, a->text, n);
    r->text[n] = '\0';
}

// The graph block: public field, record field.
#define DORNE_GRAPH_BLOCK(F)                                                                                  \
    F(tickX, tickX) F(tickXAuto, tickXAuto) F(tickXSpace, tickXSpace) F(tickXSub, tickXSub)                   \
    F(tickY, tickY) F(tickYR, tickYR) F(tickYAuto, tickYAuto) F(tickYSpace, tickYSpace) F(tickYSub, tickYSub) \
    F(labelX, labelX) F(labelY, labelY) F(labelYR, labelYR)                                                   \
    F(gridX, gridX) F(gridXAuto, gridXAuto) F(gridXSpace, gridXSpace)                                         \
    F(gridY, gridY) F(gridYAuto, gridYAuto) F(gridYSpace, gridYSpace)                                         \
    F(outlineColor, outlineColor) F(gridColor, gridColor) F(gridStyleIndex, gridStyleIndex)                   \
    F(rate, rate) F(samples, samples) F(autoscale, autoscale) F(minSpreadY, minSpreadY)                       \
    F(ymin, ymin) F(ymax, ymax) F(autoscaleX, autoscaleX) F(minSpreadX, minSpreadX) F(xmin, xmin)             \
    F(xmax, xmax) F(reserved2, reserved2) F(reserved1, reserved1)                                             \
    F(labelFixX, labelFixX) F(labelFixY, labelFixY) F(labelXMin, labelXMin) F(labelXMax, labelXMax)           \
    F(labelYMin, labelYMin) F(labelYMax, labelYMax) F(fillColor, backgroundColor)

#define DORNE_SAME_SIZE(af, gf) \
    static_assert(sizeof(OBJ_ATTR_STRUCT::af) == sizeof(GRAPH_STRUCT::gf), "graph block field " #af);
DORNE_GRAPH_BLOCK(DORNE_SAME_SIZE)
#undef DORNE_SAME_SIZE

void getGraph(const GRAPH_STRUCT* g, OBJ_ATTR_STRUCT* a)
{
#define DORNE_TO_ATTR(af, gf) std::memcpy(&a->af, &g->gf, sizeof a->af);
    DORNE_GRAPH_BLOCK(DORNE_TO_ATTR)
#undef DORNE_TO_ATTR
}

void setGraph(GRAPH_STRUCT* g, const OBJ_ATTR_STRUCT* a)
{
#define DORNE_TO_GRAPH(af, gf) std::memcpy(&g->gf, &a->af, sizeof g->gf);
    DORNE_GRAPH_BLOCK(DORNE_TO_GRAPH)
#undef DORNE_TO_GRAPH
}

// Kinds with style fields need their record; GROUP and SCISSOR have none
// to copy. -1 for a kind outside the table or a missing record.
bool knownKind(const ELEMENT_STRUCT* e)
{
    switch (e->kind) {
    case VD_GROUP:
        return true;
    case VD_GRAPH:
    case VD_RECTANGLE:
    case VD_POLYGON:
    case VD_CPOLYGON:
    case VD_CIRCLE:
    case VD_ARC:
    case VD_TEXT:
    case VD_LINE:
    case VD_TEXTURE:
    case VD_BUTTON:
    case VD_SLIDER:
    case VD_SCISSOR:
        return e->data != nullptr;
    default:
        return false;
    }
}

void getKind(const ELEMENT_STRUCT* e, OBJ_ATTR_STRUCT* a)
{
    const void* d = e->data;
    switch (e->kind) {
    case VD_GRAPH:
        getGraph(static_cast<const GRAPH_STRUCT*>(d), a);
        break;
    case VD_RECTANGLE:
        getShape(static_cast<const RECT_STRUCT*>(d), a);
        break;
    case VD_POLYGON:
    case VD_CPOLYGON:
        getShape(static_cast<const POLY_STRUCT*>(d), a);
        break;
    case VD_CIRCLE:
    case VD_ARC:
        getShape(static_cast<const CIRCLE_STRUCT*>(d), a);
        break;
    case VD_TEXT:
        getText(static_cast<const TEXT_STRUCT*>(d), a);
        break;
    case VD_LINE:
        getLine(static_cast<const LINE_STRUCT*>(d), a);
        break;
    case VD_TEXTURE:
        std::memcpy(a->fillColor, static_cast<const IMAGE_STRUCT*>(d)->color, sizeof a->fillColor);
        break;
    case VD_BUTTON:
        std::memcpy(a->fillColor, static_cast<const BUTTON_STRUCT*>(d)->faceColor, sizeof a->fillColor);
        break;
    case VD_SLIDER:
        std::memcpy(a->fillColor, static_cast<const SLIDER_STRUCT*>(d)->faceColor, sizeof a->fillColor);
        break;
    default:
        break;
    }
}

// The kind's fields into its record and the kind's attribute reset: its
// status.
int setKind(ELEMENT_STRUCT* e, const OBJ_ATTR_STRUCT* a)
{
    void* d = e->data;
    switch (e->kind) {
    case VD_GRAPH:
        setGraph(static_cast<GRAPH_STRUCT*>(d), a);
        return graphSetAttr(e);
    case VD_RECTANGLE:
        setShape(static_cast<RECT_STRUCT*>(d), a);
        return rectSetAttr(e);
    case VD_POLYGON:
    case VD_CPOLYGON:
        setShape(static_cast<POLY_STRUCT*>(d), a);
        return polySetAttr(e);
    case VD_CIRCLE:
    case VD_ARC:
        setShape(static_cast<CIRCLE_STRUCT*>(d), a);
        return circleSetAttr(e);
    case VD_TEXT:
        setText(static_cast<TEXT_STRUCT*>(d), a);
        return textSetAttr(e);
    case VD_LINE:
        setLine(static_cast<LINE_STRUCT*>(d), a);
        return lineSetAttr(e);
    case VD_TEXTURE:
        std::memcpy(static_cast<IMAGE_STRUCT*>(d)->color, a->fillColor, sizeof a->fillColor);
        return imageSetAttr(e);
    case VD_BUTTON:
        std::memcpy(static_cast<BUTTON_STRUCT*>(d)->faceColor, a->fillColor, sizeof a->fillColor);
        return buttonSetAttr(e);
    case VD_SLIDER:
        std::memcpy(static_cast<SLIDER_STRUCT*>(d)->faceColor, a->fillColor, sizeof a->fillColor);
        return sliderSetAttr(e);
    default: // GROUP and SCISSOR have no style fields
        return 0;
    }
}

} // namespace

int vdObjGetAttr(ELEMENT_STRUCT* element, OBJ_ATTR_STRUCT* attr)
{
    if (element == nullptr || attr == nullptr || !knownKind(element))
        return -1;
    attr->x = element->x;
    attr->y = element->y;
    attr->width = element->width;
    attr->height = element->height;
    getKind(element, attr);
    return 0;
}

int vdObjSetAttr(ELEMENT_STRUCT* element, OBJ_ATTR_STRUCT* attr)
{
    if (element == nullptr || attr == nullptr)
        return -1;
    const int mask = attr->mask;
    if ((mask & OBJ_ATTR_KIND) != 0 && !knownKind(element))
        return -1;
    // Every selected field is applied; one that fails makes the result -1.
    int status = 0;
    auto apply = [&status](int result) {
        if (result != 0)
            status = -1;
    };
    if ((mask & OBJ_ATTR_X) != 0)
        apply(vdObjSetX(element, attr->x));
    if ((mask & OBJ_ATTR_Y) != 0)
        apply(vdObjSetY(element, attr->y));
    if ((mask & OBJ_ATTR_WIDTH) != 0)
        apply(vdObjSetWidth(element, attr->width));
    if ((mask & OBJ_ATTR_HEIGHT) != 0)
        apply(vdObjSetHeight(element, attr->height));
    if ((mask & OBJ_ATTR_KIND) != 0)
        apply(setKind(element, attr));
    return status;
}
