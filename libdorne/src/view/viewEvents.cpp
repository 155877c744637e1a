// Mouse events: the element picked at a press receives the press, the moves
// and the release; the release picks again, and that element receives the
// moves up to the next press. A view keeps its picked element and previous
// event; the list form keeps them per thread.
#include "view/viewInternal.h"
#include "view/viewPick.h"

#include "dorneActions.h"
#include "dorneView.h"

#include <cmath>

namespace dorne {

namespace {

enum : int { Press = 0, Release = 1 };

struct Routing
{
    ELEMENT_STRUCT* picked = nullptr;
    int64_t previous = -1;
};

thread_local Routing listRouting;

void route(ELEMENT_STRUCT* list, ELEMENT_STRUCT*& picked, int64_t& previous, int type, int button, float x,
           float y, float zoom)
{
    if (type == Press && previous != Press) {
        picked = pickRun(list, x, y, zoom);
        previous = Press;
    }
    if (picked != nullptr)
        doActionInput(uint32_t(type), uint32_t(button), picked, x, y);
    if (type == Release && previous != Release) {
        picked = pickRun(list, x, y, zoom);
        previous = Release;
    }
}

// With the view's mutex held.
void routeView(vdView_Struct* view, int type, int button, float x, float y, float zoom)
{
    route(view->elements, view->picked, view->previousEvent, type, button, x, y, zoom);
}

} // namespace

} // namespace dorne

int vdiViewPickElementRun(vdView_Struct* view, int type, int button, float x, float y, float zoom)
{
    if (const int status = dorne::checkView(view))
        return status;
    dorne::ViewLock lock(view);
    dorne::routeView(view, type, button, x, y, zoom);
    return 0;
}

int vdieViewPickElementRun(ELEMENT_STRUCT* list, int type, int button, float x, float y, float zoom)
{
    dorne::Routing& r = dorne::listRouting;
    dorne::route(list, r.picked, r.previous, type, button, x, y, zoom);
    return 0;
}

int vdViewEvent(vdWindow_Struct* window, vdView_Struct* view, int button, int type, float x, float y)
{
    if (window == nullptr || view == nullptr)
        return -1;
    if (window->magic != VD_WINDOW_MAGIC || view->magic != VD_VIEW_MAGIC)
        return -2;
    dorne::ViewLock lock(view);
    if (dorne::viewState(view) == 0)
        return -3;
    // The scale and offsets of the last vdViewDraw into this window.
    const float s = window->para.zoom;
    if (s == 0.0f || !std::isfinite(s))
        return -1;
    const float viewX = (x - float(view->drawOffsetX)) / s + view->config.x;
    const float viewY = (float(window->height) - y - float(view->drawOffsetY)) / s + view->config.y;
    dorne::routeView(view, type, button, viewX, viewY, s);
    return 0;
}
