// The class facade's work: the view's lifecycle and draws through the flat
// functions, and the variables read and written by name with every value
// conversion defined (NaN, infinities, values out of range, texts of any
// length). The variable methods, setZoom and setPosition hold the view's
// mutex; the routing of events takes it itself.
#include "view/NalvoViewImpl.h"
#include "view/viewInternal.h"

#include "data/dataValue.h"

#include "dorneHash.h"
#include "dorneLog.h"
#include "dorneObjects.h"
#include "dorneVariables.h"
#include "dorneView.h"

#include <chrono>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <thread>

namespace {

// The longest text the text setter stores (its interface asks for 254).
const size_t kLongestText = 254;

// Runs fn(type, storage) on the running view's variable of that name under
// the view's mutex; false when there is none. A name with a zero inside
// names no variable.
template <typename Fn>
bool withVariable(vdView_Struct* view, const std::string& name, Fn fn)
{
    if (name.find('\0') != std::string::npos)
        return false;
    dorne::ViewLock lock(view);
    auto* v = static_cast<DD_VAR_STRUCT*>(mpiHashSearchAscii(view->variables, name.c_str()));
    if (v == nullptr || v->value == nullptr)
        return false;
    fn(v->type, v->value);
    return true;
}

// The number value of the variable of that name as read(storage, type)
// gives it; a variable that holds no number leaves value as it was.
template <typename T, typename Read>
bool readVariable(vdView_Struct* view, const std::string& name, T& value, Read read)
{
    return withVariable(view, name, [&](int type, const void* storage) {
        if (type >= DD_FLOAT && type <= DD_ULONG)
            value = static_cast<T>(read(storage, type));
    });
}

// Frees the view. vdViewFree refuses (-3) while a stop on another thread
// still waits for the view's data thread; that stop ends with the thread's
// tick, so wait for it rather than drop a view that is still live.
void freeView(vdView_Struct*& view) noexcept
{
    while (vdViewFree(view) == -3)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    view = nullptr;
}

} // namespace

namespace Nalvo2D {

NalvoViewImpl::~NalvoViewImpl()
{
    if (view != nullptr)
        freeView(view);
}

bool NalvoViewImpl::hasView() const
{
    return view != nullptr && view->magic == VD_VIEW_MAGIC;
}

bool NalvoViewImpl::canUseVariables() const
{
    return hasView() && started;
}

bool NalvoViewImpl::load(const std::string& path) noexcept
{
    if (view != nullptr)
        freeView(view);
    // A path with a zero inside would name another file.
    if (path.find('\0') != std::string::npos)
        return false;
    view = vdViewLoad(path.c_str());
    return view != nullptr;
}

bool NalvoViewImpl::startView(bool animate) noexcept
{
    int status = -1;
    if (hasView())
        status = animate ? vdViewStartAnim(view) : vdViewStart(view);
    animated = animate;
    started = status == 0;
    redrawCounter = 3;
    return started;
}

bool NalvoViewImpl::stopView() noexcept
{
    if (hasView()) {
        if (animated)
            vdViewStopAnim(view);
        else
            vdViewStop(view);
    }
    return true;
}

bool NalvoViewImpl::draw(bool force) noexcept
{
    if (!hasView())
        return false;
    if (renderMode == RENDER_DIRECT)
        vdViewDrawPlane(view, 2);
    else
        vdViewDrawPlane(view, !force && redrawCounter < 0 ? 0 : 1);
    if (redrawCounter > INT_MIN)
        --redrawCounter;
    return true;
}

void NalvoViewImpl::setRenderMode(eRenderMode mode) noexcept
{
    renderMode = mode;
}

void NalvoViewImpl::setZoom(float zoom) noexcept
{
    if (!hasView())
        return;
    dorne::ViewLock lock(view);
    view->drawScale = zoom;
}

void NalvoViewImpl::setPosition(float x, float y) noexcept
{
    if (!hasView())
        return;
    dorne::ViewLock lock(view);
    view->drawOffsetX = dorne::clampToInt(x);
    view->drawOffsetY = dorne::clampToInt(y);
}

void NalvoViewImpl::setScissorType(eScissorType type) noexcept
{
    if (hasView())
        vdViewSetScissorType(view, int(type));
}

void NalvoViewImpl::setUseLineScaling(bool flag) noexcept
{
    if (hasView())
        vdViewSetUseLineScaling(view, flag ? 1 : 0);
}

void NalvoViewImpl::setUseDepthBuffer(bool flag) noexcept
{
    if (hasView())
        vdViewSetUseDepthBuffer(view, flag ? 1 : 0);
}

void NalvoViewImpl::setBackgroundMode(bool flag) noexcept
{
    if (hasView())
        vdSetBackgroundMode(view, flag ? 1 : 0);
}

void NalvoViewImpl::setColor(float r, float g, float b, float a) noexcept
{
    if (hasView())
        vdViewSetColorFactor(view, r, g, b, a);
}

double NalvoViewImpl::width() noexcept
{
    return hasView() ? double(vdViewWidth(view)) : 0.0;
}

double NalvoViewImpl::height() noexcept
{
    return hasView() ? double(vdViewHeight(view)) : 0.0;
}

double NalvoViewImpl::xPos() noexcept
{
    return hasView() ? double(vdViewPosX(view)) : -1.0;
}

double NalvoViewImpl::yPos() noexcept
{
    return hasView() ? double(vdViewPosY(view)) : -1.0;
}

void NalvoViewImpl::setEvent(eMouseButton button, eEventType type, float x, float y) noexcept
{
    if (!hasView())
        return;
    // The engine's event types: 0 press, 1 release, 7 move.
    const int event = type == EVENT_RELEASE ? 1 : type == EVENT_MOVE ? 7 : 0;
    const int engineButton = button == MOUSE_MIDDLE ? 1 : button == MOUSE_RIGHT ? 2 : 0;
    vdiViewPickElementRun(view, event, engineButton, x, y, 1.0f);
}

bool NalvoViewImpl::getObject(double x, double y, std::string& name) noexcept
{
    if (!hasView())
        return false;
    // A point that is no int picks nothing.
    const double tx = std::trunc(x), ty = std::trunc(y);
    if (!(tx >= double(INT_MIN) && tx <= double(INT_MAX) && ty >= double(INT_MIN) && ty <= double(INT_MAX)))
        return false;
    int count = 0;
    ELEMENT_STRUCT** hits = vdObjPickView(view, int(tx), int(ty), &count);
    if (hits == nullptr || count <= 0)
        return false;
    const char* found = vdObjName(hits[count - 1]);
    if (found == nullptr)
        return false;
    try {
        name.assign(found, strnlen(found, sizeof hits[0]->name));
    } catch (...) {
        return false;
    }
    return true;
}

void NalvoViewImpl::setLogLevel(eLogLevel level) noexcept
{
    ::setLogLevel(int(level));
}

void NalvoViewImpl::setProfile(bool flag) noexcept
{
    profile = flag;
}

bool NalvoViewImpl::getVar(const std::string& name, double& value) noexcept
{
    return canUseVariables() && readVariable(view, name, value, dorne::readNumber);
}

bool NalvoViewImpl::getVar(const std::string& name, long& value) noexcept
{
    return canUseVariables() && readVariable(view, name, value, dorne::readInteger);
}

bool NalvoViewImpl::getVar(const std::string& name, std::string& value) noexcept
{
    if (!canUseVariables())
        return false;
    char text[dorne::kTextStorage];
    bool formatted = false;
    if (!withVariable(view, name,
                      [&](int type, const void* storage) { formatted = dorne::formatValue(storage, type, text); }))
        return false;
    if (formatted) {
        try {
            value.assign(text);
        } catch (...) {
            return false;
        }
    }
    return true;
}

bool NalvoViewImpl::setVar(const std::string& name, double value) noexcept
{
    return canUseVariables() && withVariable(view, name, [&](int type, void* storage) {
               dorne::storeNumber(storage, type, value, dorne::IntegerRule::Smallest32);
           });
}

bool NalvoViewImpl::setVar(const std::string& name, long value) noexcept
{
    // Integers take the long's own bits, floats and doubles its value.
    return canUseVariables() && withVariable(view, name, [&](int type, void* storage) {
               if (dorne::isIntegerType(type)) {
                   dorne::storeLowBytes(storage, static_cast<uint64_t>(value), dorne::valueWidth(type));
               } else if (type == DD_FLOAT) { // rounded once, not through a double
                   const float f = static_cast<float>(value);
                   std::memcpy(storage, &f, sizeof f);
               } else {
                   dorne::storeNumber(storage, type, static_cast<double>(value));
               }
           });
}

bool NalvoViewImpl::setVar(const std::string& name, const std::string& value) noexcept
{
    return canUseVariables() && withVariable(view, name, [&](int type, void* storage) {
               dorne::storeText(storage, type, value.c_str(), 10, dorne::kTextStorage, kLongestText);
           });
}

} // namespace Nalvo2D
