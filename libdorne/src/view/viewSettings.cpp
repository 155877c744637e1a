// A view's draw settings and its size and position queries. Each takes the
// view's mutex: a draw on another thread reads the settings under it.
#include "view/viewInternal.h"

#include "dorneView.h"

#include <climits>
#include <cmath>

namespace dorne {

int clampToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value <= double(INT_MIN))
        return INT_MIN;
    if (value >= double(INT_MAX))
        return INT_MAX;
    return int(value);
}

namespace {

// Sets one int setting of the view under its mutex.
int setInt(vdView_Struct* view, int32_t vdView_Struct::*field, int value)
{
    if (const int status = checkView(view))
        return status;
    ViewLock lock(view);
    view->*field = value;
    return 0;
}

// One value computed from the configuration block under the view's mutex,
// as an int; -1 or -2 for a null or foreign view.
template <typename Compute>
int query(vdView_Struct* view, Compute compute)
{
    if (const int status = checkView(view))
        return status;
    ViewLock lock(view);
    return clampToInt(compute(view->config));
}

} // namespace

} // namespace dorne

void vdSetBackgroundMode(vdView_Struct* view, int mode)
{
    dorne::setInt(view, &vdView_Struct::backgroundMode, mode);
}

int vdViewSetColorFactor(vdView_Struct* view, float r, float g, float b, float a)
{
    if (const int status = dorne::checkView(view))
        return status;
    dorne::ViewLock lock(view);
    view->colorFactor[0] = r;
    view->colorFactor[1] = g;
    view->colorFactor[2] = b;
    view->colorFactor[3] = a;
    return 0;
}

int vdViewSetScissorType(vdView_Struct* view, int type)
{
    return dorne::setInt(view, &vdView_Struct::scissorType, type);
}

int vdViewSetUseDepthBuffer(vdView_Struct* view, int flag)
{
    return dorne::setInt(view, &vdView_Struct::depthOffset, flag);
}

int vdViewSetUseLineScaling(vdView_Struct* view, int flag)
{
    return dorne::setInt(view, &vdView_Struct::lineScaling, flag);
}

int vdViewWidth(vdView_Struct* view)
{
    return dorne::query(view, [](const CONFIG_STRUCT& c) { return double(c.width); });
}

int vdViewHeight(vdView_Struct* view)
{
    return dorne::query(view, [](const CONFIG_STRUCT& c) { return double(c.height); });
}

int vdViewPosX(vdView_Struct* view)
{
    return dorne::query(view, [](const CONFIG_STRUCT& c) { return double(c.x) + double(c.width) / 2.0; });
}

int vdViewPosY(vdView_Struct* view)
{
    return dorne::query(view, [](const CONFIG_STRUCT& c) { return double(c.y) + double(c.height) / 2.0; });
}
