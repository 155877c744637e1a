// Finding elements under a point: the run-time pick that chooses the element
// a mouse event goes to (by pick function, transformed box or segment, and
// only elements with a mouse action that works now), and the query pick
// that lists every element whose stored box or segment holds a point.
#include "view/viewPick.h"

#include "dorneObjects.h"
#include "dorneView.h"

#include <cmath>
#include <cstdint>

namespace dorne {

namespace {

const int kMouseAction = 22;
const int kPickCapacity = 500;
const int kPickCountLimit = 499;

// Each thread picks into its own array; it stays valid until the thread's
// next pick.
thread_local ELEMENT_STRUCT* pickElement[kPickCapacity];
thread_local int nrPickElements = 0;

bool hidden(const ELEMENT_STRUCT* e)
{
    return e->attr.visible == 0 && e->attr.visibleOverride != 0;
}

// A mouse action that may receive events now.
bool hasUsableMouseAction(const ELEMENT_STRUCT* e)
{
    const bool checkHidden = (e->pick != nullptr || e->pickAsLine == 0) && hidden(e);
    for (const ACTION_STRUCT* a = e->actions; a != nullptr; a = a->next)
        if (a->type == kMouseAction && !(checkHidden && a->mouseHiddenActive == 0))
            return true;
    return false;
}

bool boxHit(const ELEMENT_STRUCT* e, float x, float y)
{
    const float* t = e->pickTransform;
    return t[2] + t[0] * e->minX + t[1] * e->minY <= x && x <= t[2] + t[0] * e->maxX + t[1] * e->maxY &&
           t[5] + t[3] * e->minX + t[4] * e->minY <= y && y <= t[5] + t[3] * e->maxX + t[4] * e->maxY;
}

bool runHit(ELEMENT_STRUCT* e, float x, float y, float zoom)
{
    const float* t = e->pickTransform;
    if (e->pick != nullptr)
        return e->pick(e, t[0] * x + t[1] * y - t[2], t[3] * x + t[4] * y - t[5]) != 0;
    if (e->pickAsLine == 0)
        return boxHit(e, x, y);
    if (e->pickAsLine == 1)
        return segmentHit(e, x, y, zoom);
    return false;
}

bool storedHit(const ELEMENT_STRUCT* e, float x, float y)
{
    if (e->pickAsLine == 0)
        return e->minX <= x && x <= e->maxX && e->minY <= y && y <= e->maxY;
    if (e->pickAsLine == 1)
        return segmentHit(e, x, y, 1.0f);
    return false;
}

void pickAll(ELEMENT_STRUCT* list, float x, float y)
{
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        if (e->kind == VD_GROUP)
            pickAll(e->children, x, y);
        if (storedHit(e, x, y)) {
            pickElement[nrPickElements] = e;
            if (nrPickElements < kPickCountLimit)
                ++nrPickElements;
        }
    }
}

} // namespace

bool segmentHit(const ELEMENT_STRUCT* e, float x, float y, float zoom)
{
    // A zoom of 0 or one that is no number gives no tolerance.
    if (!(zoom > 0.0f) || !std::isfinite(zoom))
        return false;
    const double tolerance = 5.0 / zoom;
    const double x1 = e->pickX1, y1 = e->pickY1, x2 = e->pickX2, y2 = e->pickY2;
    const double dx = x2 - x1, dy = y2 - y1;
    const double length = std::hypot(dx, dy);
    const double mx = (x1 + x2) / 2, my = (y1 + y2) / 2;
    const double fromMid = std::hypot(x - mx, y - my);
    if (!(length > 0.0)) // a segment without length is a point
        return fromMid < tolerance;
    const double fromLine = std::fabs(dy * (x - x1) - dx * (y - y1)) / length;
    return fromLine < tolerance && fromMid <= length / 2;
}

ELEMENT_STRUCT* pickRun(ELEMENT_STRUCT* list, float x, float y, float zoom)
{
    ELEMENT_STRUCT* result = nullptr;
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        if (e->kind == VD_GROUP) {
            ELEMENT_STRUCT* child = pickRun(e->children, x - e->pickTransform[2], y - e->pickTransform[5], zoom);
            if (child != nullptr)
                result = child;
        }
        if (runHit(e, x, y, zoom) && hasUsableMouseAction(e))
            result = e;
    }
    return result;
}

ELEMENT_STRUCT** pickStored(ELEMENT_STRUCT* list, float x, float y, int* count)
{
    nrPickElements = 0;
    pickAll(list, x, y);
    *count = nrPickElements;
    return nrPickElements > 0 ? pickElement : nullptr;
}

bool toIntPoint(double x, double y, int& ix, int& iy)
{
    // Truncation keeps (-2^31 - 1, 2^31) within the int range; NaN fails.
    const double lo = -2147483649.0, hi = 2147483648.0;
    if (!(x > lo && x < hi && y > lo && y < hi))
        return false;
    ix = static_cast<int>(std::trunc(x));
    iy = static_cast<int>(std::trunc(y));
    return true;
}

} // namespace dorne

ELEMENT_STRUCT* vdiPickElementRun(ELEMENT_STRUCT* list, float x, float y, float zoom)
{
    return dorne::pickRun(list, x, y, zoom);
}

ELEMENT_STRUCT** vdObjPickView(vdView_Struct* view, int x, int y, int* count)
{
    if (count == nullptr)
        return nullptr;
    *count = 0;
    if (view == nullptr || view->magic != VD_VIEW_MAGIC)
        return nullptr;
    return dorne::pickStored(view->elements, float(x), float(y), count);
}

ELEMENT_STRUCT** vdObjPick(vdWindow_Struct* window, vdView_Struct* view, int x, int y, int* count)
{
    if (count == nullptr)
        return nullptr;
    *count = 0;
    if (window == nullptr || view == nullptr || window->magic != VD_WINDOW_MAGIC || view->magic != VD_VIEW_MAGIC)
        return nullptr;
    const double zoom = window->para.zoom;
    if (zoom == 0.0 || !std::isfinite(zoom))
        return nullptr;
    // Integer steps: the pixel offset from the draw offset, scaled to whole
    // view units, added to the view's origin and truncated again.
    const double dy = double(window->height) - y - view->drawOffsetY;
    const double dx = double(x) - view->drawOffsetX;
    const double stepX = std::trunc(dx / zoom), stepY = std::trunc(dy / zoom);
    int vx = 0, vy = 0;
    if (!dorne::toIntPoint(double(view->config.x) + stepX, double(view->config.y) + stepY, vx, vy))
        return nullptr;
    return dorne::pickStored(view->elements, float(vx), float(vy), count);
}
