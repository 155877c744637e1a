// Shared by the shape and draw loop tests and the draw loop benchmark:
// elements of the simple kinds built in memory and updated as a view reader
// leaves them, and an element list freed with everything it holds.
#ifndef DORNE_SHAPE_SUPPORT_H
#define DORNE_SHAPE_SUPPORT_H

#include "dorneElements.h"

#include <initializer_list>

namespace shapes {

// The corners of the box (x0, y0)-(x1, y1) in the order lower-left,
// upper-left, upper-right, lower-right.
inline void boxCorners(float* xs, float* ys, float x0, float y0, float x1, float y1)
{
    const float cornerX[4] = {x0, x0, x1, x1}, cornerY[4] = {y0, y1, y1, y0};
    for (int i = 0; i < 4; ++i) {
        xs[i] = cornerX[i];
        ys[i] = cornerY[i];
    }
}

// An axis-parallel rectangle from (x0, y0) to (x1, y1); filled with fill,
// outlined with line (width 2), no antialiasing.
inline ELEMENT_STRUCT* rect(float x0, float y0, float x1, float y1, const float (&fill)[3] = {0, 0, 1},
                            const float (&line)[3] = {1, 0, 1})
{
    ELEMENT_STRUCT* e = elementCreate(VD_RECTANGLE);
    auto* r = static_cast<RECT_STRUCT*>(e->data);
    boxCorners(r->x, r->y, x0, y0, x1, y1);
    r->fillR = fill[0], r->fillG = fill[1], r->fillB = fill[2];
    r->lineR = line[0], r->lineG = line[1], r->lineB = line[2];
    r->antialias = 0;
    e->update(e);
    return e;
}

inline ELEMENT_STRUCT* line(float x1, float y1, float x2, float y2)
{
    ELEMENT_STRUCT* e = elementCreate(VD_LINE);
    auto* l = static_cast<LINE_STRUCT*>(e->data);
    l->x1 = x1, l->y1 = y1, l->x2 = x2, l->y2 = y2;
    e->update(e);
    return e;
}

// A CIRCLE or ARC at (x, y) with radii rx, ry and the identity matrix.
inline ELEMENT_STRUCT* curve(int kind, float x, float y, float rx, float ry)
{
    ELEMENT_STRUCT* e = elementCreate(kind);
    auto* c = static_cast<CIRCLE_STRUCT*>(e->data);
    c->x = x, c->y = y, c->rx = rx, c->ry = ry;
    c->matrix[0] = c->matrix[3] = 1;
    c->antialias = 0;
    e->update(e);
    return e;
}

inline ELEMENT_STRUCT* scissor(float x0, float y0, float x1, float y1)
{
    ELEMENT_STRUCT* e = elementCreate(VD_SCISSOR);
    auto* s = static_cast<SCISSOR_STRUCT*>(e->data);
    boxCorners(s->cornerX, s->cornerY, x0, y0, x1, y1);
    e->update(e);
    return e;
}

// A group of the children in order, as a view reader builds it.
inline ELEMENT_STRUCT* group(std::initializer_list<ELEMENT_STRUCT*> children)
{
    ELEMENT_STRUCT* g = elementCreate(VD_GROUP);
    for (ELEMENT_STRUCT* c : children) {
        c->parent = g;
        elementAppend(c, &g->children);
    }
    g->update(g);
    return g;
}

struct List
{
    ELEMENT_STRUCT* head = nullptr;

    List() = default;
    List(std::initializer_list<ELEMENT_STRUCT*> elements)
    {
        for (ELEMENT_STRUCT* e : elements)
            add(e);
    }
    List(const List&) = delete;
    List& operator=(const List&) = delete;
    ~List() { elementDeleteAll(&head); }

    ELEMENT_STRUCT* add(ELEMENT_STRUCT* e)
    {
        elementAppend(e, &head);
        return e;
    }
};

} // namespace shapes

#endif
