// The class facade's work: the view's lifecycle and draws through the flat
// functions, and the variables read and written by name with every value
// conversion defined (NaN, infinities, values out of range, texts of any
// length). The variable methods, setZoom and setPosition hold the view's
// mutex; the routing of events takes it itself.
#include "view/NalvoViewImpl.h"
#include "view/viewInternal.h"

#include "dorneHash.h"
#include "dorneLog.h"
#include "dorneObjects.h"
#include "dorneVariables.h"
#include "dorneView.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Bytes of a text variable's storage and the longest text a setter stores.
const size_t kTextStorage = 256;
const size_t kLongestText = 254;

// Truncation toward zero; NaN and values outside the int32 range give the
// smallest int32.
int32_t toInt32(double d)
{
    if (!(d > -2147483649.0 && d < 2147483648.0))
        return INT32_MIN;
    return static_cast<int32_t>(d);
}

// The same for 64 bits: NaN and values outside the range give INT64_MIN.
int64_t toInt64(double d)
{
    if (!(d >= -9223372036854775808.0 && d < 9223372036854775808.0))
        return INT64_MIN;
    return static_cast<int64_t>(d);
}

// A double as float, clamped to the finite float range (NaN stays NaN).
float toFloat(double d)
{
    if (d > double(FLT_MAX))
        return FLT_MAX;
    if (d < -double(FLT_MAX))
        return -FLT_MAX;
    return static_cast<float>(d);
}

template <typename T>
T load(const void* storage)
{
    T t;
    std::memcpy(&t, storage, sizeof t);
    return t;
}

template <typename T>
void store(void* storage, T t)
{
    std::memcpy(storage, &t, sizeof t);
}

// The low bits of an integer into an integer variable of type 2 to 9.
void storeInteger(void* storage, int type, uint64_t bits)
{
    switch (type) {
    case DD_CHAR:
    case DD_UCHAR:
        store(storage, static_cast<uint8_t>(bits));
        break;
    case DD_SHORT:
    case DD_USHORT:
        store(storage, static_cast<uint16_t>(bits));
        break;
    case DD_INT:
    case DD_UINT:
        store(storage, static_cast<uint32_t>(bits));
        break;
    case DD_LONG:
    case DD_ULONG:
        store(storage, bits);
        break;
    default:
        break;
    }
}

bool isIntegerType(int type)
{
    return type >= DD_CHAR && type <= DD_ULONG;
}

// What a setter stores, prepared before the view's mutex is taken.
struct Incoming
{
    double real = 0;            // what float and double variables take
    uint64_t bits = 0;          // the integer whose low bits integer variables take
    const char* text = nullptr; // only texts go into text variables
};

void storeIncoming(void* storage, int type, const Incoming& in)
{
    if (type == DD_FLOAT)
        store(storage, toFloat(in.real));
    else if (type == DD_DOUBLE)
        store(storage, in.real);
    else if (isIntegerType(type))
        storeInteger(storage, type, in.bits);
    else if (type == DD_STRING && in.text != nullptr) {
        const size_t n = strnlen(in.text, kLongestText);
        std::memcpy(storage, in.text, n);
        static_cast<char*>(storage)[n] = '\0';
    }
}

// A number read from the storage of a variable of type 0 to 9 as long:
// floating values truncated with the range check, unsigned 64-bit values
// as their 64 bits.
long readLong(const void* storage, int type)
{
    switch (type) {
    case DD_FLOAT:
        return toInt64(load<float>(storage));
    case DD_DOUBLE:
        return toInt64(load<double>(storage));
    case DD_CHAR:
        return load<int8_t>(storage);
    case DD_UCHAR:
        return load<uint8_t>(storage);
    case DD_SHORT:
        return load<int16_t>(storage);
    case DD_USHORT:
        return load<uint16_t>(storage);
    case DD_INT:
        return load<int32_t>(storage);
    case DD_UINT:
        return load<uint32_t>(storage);
    default: // DD_LONG, DD_ULONG
        return static_cast<long>(load<int64_t>(storage));
    }
}

// The same as double.
double readReal(const void* storage, int type)
{
    switch (type) {
    case DD_FLOAT:
        return load<float>(storage);
    case DD_DOUBLE:
        return load<double>(storage);
    case DD_CHAR:
    case DD_UCHAR:
    case DD_SHORT:
    case DD_USHORT:
    case DD_INT:
    case DD_UINT: // exact as long and as double
        return static_cast<double>(readLong(storage, type));
    case DD_LONG:
        return static_cast<double>(load<int64_t>(storage));
    default: // DD_ULONG
        return static_cast<double>(load<uint64_t>(storage));
    }
}

// The text form of a variable into out (kTextStorage bytes); false for an
// unknown type.
bool formatValue(const void* storage, int type, char* out)
{
    switch (type) {
    case DD_FLOAT:
        std::snprintf(out, kTextStorage, "%f", double(load<float>(storage)));
        return true;
    case DD_DOUBLE:
        std::snprintf(out, kTextStorage, "%f", load<double>(storage));
        return true;
    case DD_CHAR:
    case DD_UCHAR:
    case DD_SHORT:
    case DD_USHORT:
    case DD_INT:
        std::snprintf(out, kTextStorage, "%d", int(readLong(storage, type)));
        return true;
    case DD_UINT:
        std::snprintf(out, kTextStorage, "%u", unsigned(load<uint32_t>(storage)));
        return true;
    case DD_LONG:
        std::snprintf(out, kTextStorage, "%ld", long(load<int64_t>(storage)));
        return true;
    case DD_ULONG:
        std::snprintf(out, kTextStorage, "%lu", static_cast<unsigned long>(load<uint64_t>(storage)));
        return true;
    case DD_STRING: {
        const size_t n = strnlen(static_cast<const char*>(storage), kTextStorage - 1);
        std::memcpy(out, storage, n);
        out[n] = '\0';
        return true;
    }
    default:
        return false;
    }
}

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
template <typename T>
bool readNumber(vdView_Struct* view, const std::string& name, T& value, T (*read)(const void*, int))
{
    return withVariable(view, name, [&](int type, const void* storage) {
        if (type >= DD_FLOAT && type <= DD_ULONG)
            value = read(storage, type);
    });
}

} // namespace

namespace Nalvo2D {

NalvoViewImpl::~NalvoViewImpl()
{
    if (view != nullptr)
        vdViewFree(view);
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
    if (view != nullptr) {
        vdViewFree(view);
        view = nullptr;
    }
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
    return canUseVariables() && readNumber(view, name, value, readReal);
}

bool NalvoViewImpl::getVar(const std::string& name, long& value) noexcept
{
    return canUseVariables() && readNumber(view, name, value, readLong);
}

bool NalvoViewImpl::getVar(const std::string& name, std::string& value) noexcept
{
    if (!canUseVariables())
        return false;
    char text[kTextStorage];
    bool formatted = false;
    if (!withVariable(view, name, [&](int type, const void* storage) { formatted = formatValue(storage, type, text); }))
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
    if (!canUseVariables())
        return false;
    Incoming in;
    in.real = value;
    // 64-bit variables take the whole truncated value, narrower ones the low
    // bits of the 32-bit truncation.
    const uint64_t narrow = static_cast<uint64_t>(static_cast<int64_t>(toInt32(value)));
    const uint64_t wide = static_cast<uint64_t>(toInt64(value));
    return withVariable(view, name, [&](int type, void* storage) {
        in.bits = type == DD_LONG || type == DD_ULONG ? wide : narrow;
        storeIncoming(storage, type, in);
    });
}

bool NalvoViewImpl::setVar(const std::string& name, long value) noexcept
{
    if (!canUseVariables())
        return false;
    Incoming in;
    in.real = static_cast<double>(value);
    in.bits = static_cast<uint64_t>(value);
    return withVariable(view, name, [&](int type, void* storage) {
        if (type == DD_FLOAT)
            store(storage, static_cast<float>(value));
        else
            storeIncoming(storage, type, in);
    });
}

bool NalvoViewImpl::setVar(const std::string& name, const std::string& value) noexcept
{
    if (!canUseVariables())
        return false;
    Incoming in;
    in.text = value.c_str();
    in.real = std::strtod(in.text, nullptr);
    // strtoll saturates instead of overflowing.
    in.bits = static_cast<uint64_t>(static_cast<int64_t>(std::strtoll(in.text, nullptr, 10)));
    return withVariable(view, name, [&](int type, void* storage) { storeIncoming(storage, type, in); });
}

} // namespace Nalvo2D
