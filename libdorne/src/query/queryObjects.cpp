// The exported element accessors: enumeration, lookup by name, position and
// size (changed through the kind's edit function) and the graph settings
// that have their own setters.
#include "dorneObjects.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

const int kEditPhaseAll = 3;
const int kEditMove = 9;
const int kEditWidth = 10;
const int kEditHeight = 11;

int countAll(const ELEMENT_STRUCT* list)
{
    int n = 0;
    for (const ELEMENT_STRUCT* e = list; e != nullptr; e = e->next)
        n += 1 + (e->kind == VD_GROUP ? countAll(e->children) : 0);
    return n;
}

void collect(ELEMENT_STRUCT* list, ELEMENT_STRUCT** out, int& n)
{
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        out[n++] = e;
        if (e->kind == VD_GROUP)
            collect(e->children, out, n);
    }
}

ELEMENT_STRUCT* findByName(ELEMENT_STRUCT* list, const char* name)
{
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        if (e->kind == VD_GROUP)
            if (ELEMENT_STRUCT* child = findByName(e->children, name))
                return child;
        if (std::strncmp(e->name, name, sizeof e->name) == 0)
            return e;
    }
    return nullptr;
}

int edit(ELEMENT_STRUCT* element, int command, float x, float y)
{
    if (element == nullptr || element->edit == nullptr)
        return -1;
    EDIT_PARA_STRUCT para{};
    para.x = x;
    para.y = y;
    // An edit that fails (a kind without its record) is a failed set.
    return element->edit(element, element->stickies, command, kEditPhaseAll, &para) == 0 ? 0 : -1;
}

GRAPH_STRUCT* graphOf(ELEMENT_STRUCT* element)
{
    return element->kind == VD_GRAPH ? static_cast<GRAPH_STRUCT*>(element->data) : nullptr;
}

} // namespace

ELEMENT_STRUCT** vdObjGetAll(vdView_Struct* view, int* count)
{
    if (count == nullptr || view == nullptr || view->magic != VD_VIEW_MAGIC)
        return nullptr;
    const int n = countAll(view->elements);
    *count = 0;
    if (n == 0)
        return nullptr;
    auto* all = static_cast<ELEMENT_STRUCT**>(std::malloc(sizeof(ELEMENT_STRUCT*) * size_t(n)));
    if (all == nullptr)
        return nullptr;
    int filled = 0;
    collect(view->elements, all, filled);
    *count = filled;
    return all;
}

ELEMENT_STRUCT* vdObjGet(vdView_Struct* view, const char* name)
{
    if (view == nullptr)
        return reinterpret_cast<ELEMENT_STRUCT*>(intptr_t(-1));
    if (view->magic != VD_VIEW_MAGIC)
        return reinterpret_cast<ELEMENT_STRUCT*>(intptr_t(-2));
    return name != nullptr ? findByName(view->elements, name) : nullptr;
}

char* vdObjName(ELEMENT_STRUCT* element)
{
    return element != nullptr ? element->name : nullptr;
}

char* vdObjId(ELEMENT_STRUCT* element)
{
    return element != nullptr ? element->id : nullptr;
}

int vdObjType(ELEMENT_STRUCT* element)
{
    return element != nullptr ? element->kind : -1;
}

float vdObjX(ELEMENT_STRUCT* element)
{
    return element != nullptr ? element->x : -1.0f;
}

float vdObjY(ELEMENT_STRUCT* element)
{
    return element != nullptr ? element->y : -1.0f;
}

float vdObjWidth(ELEMENT_STRUCT* element)
{
    return element != nullptr ? element->width : -1.0f;
}

float vdObjHeight(ELEMENT_STRUCT* element)
{
    return element != nullptr ? element->height : -1.0f;
}

int vdObjSetX(ELEMENT_STRUCT* element, float x)
{
    return element != nullptr ? edit(element, kEditMove, x, element->centreY) : -1;
}

int vdObjSetY(ELEMENT_STRUCT* element, float y)
{
    return element != nullptr ? edit(element, kEditMove, element->centreX, y) : -1;
}

int vdObjSetWidth(ELEMENT_STRUCT* element, float width)
{
    return edit(element, kEditWidth, width, 0.0f);
}

int vdObjSetHeight(ELEMENT_STRUCT* element, float height)
{
    return edit(element, kEditHeight, 0.0f, height);
}

int vdObjSetSamples(ELEMENT_STRUCT* element, int samples)
{
    if (element == nullptr)
        return -1;
    GRAPH_STRUCT* g = graphOf(element);
    if (g == nullptr)
        return -2;
    g->samples = samples;
    return 0;
}

int vdObjSetUpdateRate(ELEMENT_STRUCT* element, int rate)
{
    if (element == nullptr)
        return -1;
    GRAPH_STRUCT* g = graphOf(element);
    if (g == nullptr)
        return -2;
    g->rate = float(rate);
    return 0;
}

void vdObjFree(void* pointer)
{
    std::free(pointer);
}
