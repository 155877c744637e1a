// After a view file is read: the line style and fill pattern numbers that
// the records store become the stipples and 32 x 32 masks the drawing uses,
// and every element's update hook brings its box and attributes in line.
#include "files/viewFile.h"

#include "elements/elementKinds.h"

namespace dorne {

namespace {

void resolveLine(int32_t style, int32_t& factor, uint16_t& pattern)
{
    vdiLineStipple(style, factor, pattern);
}

void resolveFill(int32_t pattern, uint8_t (&bits)[128])
{
    vdiPatternBits(pattern, bits);
}

// The kinds with an outline and a fill: rectangle, polygons, circle, arc,
// text.
template <typename Record>
void resolveShape(void* data)
{
    auto* r = static_cast<Record*>(data);
    resolveLine(r->lineStyle, r->stippleFactor, r->stipplePattern);
    resolveFill(r->pattern, r->patternBits);
}

void resolveRecord(ELEMENT_STRUCT* element)
{
    void* data = element->data;
    if (data == nullptr)
        return;
    switch (element->kind) {
    case VD_GRAPH: {
        auto* g = static_cast<GRAPH_STRUCT*>(data);
        resolveLine(g->gridStyleIndex, g->gridStippleFactor, g->gridStipplePattern);
        break;
    }
    case VD_RECTANGLE:
        resolveShape<RECT_STRUCT>(data);
        break;
    case VD_POLYGON:
    case VD_CPOLYGON:
        resolveShape<POLY_STRUCT>(data);
        break;
    case VD_CIRCLE:
    case VD_ARC:
        resolveShape<CIRCLE_STRUCT>(data);
        break;
    case VD_TEXT:
        resolveShape<TEXT_STRUCT>(data);
        break;
    case VD_LINE: {
        auto* l = static_cast<LINE_STRUCT*>(data);
        resolveLine(l->lineStyle, l->stippleFactor, l->stipplePattern);
        break;
    }
    case VD_TEXTURE: {
        auto* i = static_cast<IMAGE_STRUCT*>(data);
        resolveFill(i->pattern, i->patternBits);
        break;
    }
    default: // BUTTON, SLIDER, SCISSOR: nothing stored as a number
        break;
    }
}

} // namespace

bool definitionLoad(ELEMENT_STRUCT* element)
{
    bool done = true;
    if (element->kind == VD_GROUP)
        for (ELEMENT_STRUCT* child = element->children; child != nullptr; child = child->next)
            done = definitionLoad(child) && done;
    return definitionLoadOwn(element) && done;
}

bool definitionLoadOwn(ELEMENT_STRUCT* element)
{
    if (element->kind != VD_GROUP)
        resolveRecord(element);
    for (ACTION_STRUCT* a = element->actions; a != nullptr; a = a->next)
        for (TH_STRUCT* th = a->thStyle.list; th != nullptr; th = th->next)
            resolveLine(th->intValue, th->stippleFactor, th->stipplePattern);
    return runUpdate(element);
}

namespace {

// A group somewhere in the tree with a child that has no hook.
bool holdsHooklessChild(const ELEMENT_STRUCT* element)
{
    if (element->kind != VD_GROUP)
        return false;
    for (const ELEMENT_STRUCT* child = element->children; child != nullptr; child = child->next)
        if (child->update == nullptr || holdsHooklessChild(child))
            return true;
    return false;
}

// The hooks in the order the reader runs them: children, then the group.
bool runHooksAsRead(ELEMENT_STRUCT* element)
{
    bool done = true;
    if (element->kind == VD_GROUP)
        for (ELEMENT_STRUCT* child = element->children; child != nullptr; child = child->next)
            done = runHooksAsRead(child) && done;
    return runUpdate(element) && done;
}

} // namespace

bool replayLeftOutHooks(ELEMENT_STRUCT* list)
{
    bool done = true;
    // Top-level trees do not touch each other: only those that need it.
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next)
        if (holdsHooklessChild(e))
            done = runHooksAsRead(e) && done;
    return done;
}

} // namespace dorne
