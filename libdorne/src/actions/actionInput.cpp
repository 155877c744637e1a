// Mouse actions: turning presses, moves and releases on an element into
// values of its bound variables (buttons, sliders, absolute positions,
// rotary knobs), and the typed write with its set-pending flag.
#include "dorneElements.h"

#include "data/dataValue.h"

#include <cmath>
#include <cstring>

namespace {

enum Event : uint32_t { Press = 0, Release = 1, Move = 7 };

// Wrapping loops of a rotary knob stop after this many turns, so that a
// range of zero (or reversed) width cannot hold the event.
const int maxTurns = 100;

// The mouse value the variable holds now: (variable - offset) / slope. A
// mapping without slope (equal output ends) cannot be inverted; it starts
// from the minimum, as does a variable that holds no number.
double currentValue(ACTION_STRUCT* a)
{
    const double variable = getActionFloatData(a, 1, 0.0f);
    const double m = a->slope != 0.0f ? (variable - a->offset) / a->slope : NAN;
    return std::isfinite(m) ? m : a->mouseMin;
}

// Brings m back into the range once: wrapped by one range width, or
// clamped to the end it passed.
double wrapOnce(const ACTION_STRUCT* a, double m)
{
    const double range = double(a->mouseMax) - a->mouseMin;
    if (m > a->mouseMax)
        m = a->mouseClamp != 0 ? a->mouseMax : m - range;
    if (m < a->mouseMin)
        m = a->mouseClamp != 0 ? a->mouseMin : m + range;
    return m;
}

// Angle of the point seen from the centre in degrees: 0 straight up,
// growing clockwise.
double angleOf(double x, double y, double centreX, double centreY)
{
    return std::atan2(x - centreX, y - centreY) * 57.29577951;
}

void write(ACTION_STRUCT* a, double m)
{
    putFloatData(a->offset + a->slope * m, a);
}

// Mouse actions 0 and 1: set, increment or decrement on a press or release.
void applyButton(ACTION_STRUCT* a)
{
    switch (a->mouseMode) {
    case 0:
        write(a, a->mouseInc);
        break;
    case 1: {
        double m = currentValue(a) + a->mouseInc;
        if (m > a->mouseMax)
            m = a->mouseClamp != 0 ? a->mouseMax : a->mouseMin;
        write(a, m);
        break;
    }
    case 2: {
        double m = currentValue(a) - a->mouseInc;
        if (m < a->mouseMin)
            m = a->mouseClamp != 0 ? a->mouseMin : a->mouseMax;
        write(a, m);
        break;
    }
    default:
        break;
    }
}

// Position across the element from -1 to 1 (0 for an element without
// extent, whose position cannot be divided).
double across(double p, double centre, double extent)
{
    return extent != 0.0f ? 2 * (p - centre) / extent : 0.0;
}

// Mouse actions 2 to 6 on a press or a move.
void applyDrag(ACTION_STRUCT* a, const ELEMENT_STRUCT* element, double centreX, double centreY, double x,
               double y)
{
    if (a->mouseMode < 0 || a->mouseMode > 2)
        return;
    const bool relative = a->mouseMode != 0;
    switch (a->mouseAction) {
    case 2:
    case 3: {
        const bool inX = a->mouseAction == 2;
        const double extent = inX ? element->width : element->height;
        const double centre = inX ? centreX : centreY;
        const double n = across(inX ? x : y, centre, extent);
        if (!relative) {
            write(a, a->mouseMin + (n + 1) / 2 * (double(a->mouseMax) - a->mouseMin));
        } else {
            const double atPress = across(inX ? a->pressX : a->pressY, centre, extent);
            write(a, wrapOnce(a, a->pressValue + n - atPress));
        }
        break;
    }
    case 4:
        write(a, relative ? wrapOnce(a, a->pressValue + (x - a->pressX)) : x);
        break;
    case 5:
        write(a, relative ? wrapOnce(a, a->pressValue + (y - a->pressY)) : y);
        break;
    case 6: {
        const double angle = angleOf(x, y, centreX, centreY);
        if (!relative) {
            double m = angle < 0 ? angle + 360 : angle;
            if (m > a->mouseMax)
                m = a->mouseMax;
            if (m < a->mouseMin)
                m = a->mouseMin;
            write(a, m);
            break;
        }
        double delta = angle - angleOf(a->lastX, a->lastY, centreX, centreY);
        if (delta > 180)
            delta -= 360;
        else if (delta < -180)
            delta += 360;
        a->lastX = static_cast<float>(x);
        a->lastY = static_cast<float>(y);
        double m = currentValue(a) + delta;
        if (a->mouseClamp == 0) {
            const double range = double(a->mouseMax) - a->mouseMin;
            for (int i = 0; i < maxTurns && m > a->mouseMax; ++i)
                m -= range;
            for (int i = 0; i < maxTurns && m < a->mouseMin; ++i)
                m += range;
        } else {
            if (m > a->mouseMax)
                m = a->mouseMax;
            if (m < a->mouseMin)
                m = a->mouseMin;
        }
        write(a, m);
        break;
    }
    default: // 7 (move) is carried by view files and does nothing
        break;
    }
}

} // namespace

int doActionInput(uint32_t event, uint32_t button, ELEMENT_STRUCT* element, float x, float y)
{
    if (element == nullptr)
        return -1;
    // Positions of children are relative to their groups.
    double centreX = 0, centreY = 0;
    for (const ELEMENT_STRUCT* e = element; e != nullptr; e = e->parent) {
        centreX += e->x;
        centreY += e->y;
    }
    for (ACTION_STRUCT* a = element->actions; a != nullptr; a = a->next) {
        if (a->type != 22 || a->mouseButton < 0 || uint32_t(a->mouseButton) != button)
            continue;
        if (event == Press) {
            a->pressX = a->lastX = x;
            a->pressY = a->lastY = y;
            a->pressValue = currentValue(a);
        }
        if ((a->mouseAction == 0 && event == Press) || (a->mouseAction == 1 && event == Release))
            applyButton(a);
        if (a->mouseAction >= 2 && (event == Press || event == Move))
            applyDrag(a, element, centreX, centreY, x, y);
    }
    return 0;
}

int putFloatData(double value, ACTION_STRUCT* action)
{
    if (action == nullptr || action->value == nullptr)
        return -1;
    if (action->limit != 0) {
        const double lo = std::fmin(action->b0, action->b1), hi = std::fmax(action->b0, action->b1);
        value = value < lo ? lo : value > hi ? hi : value;
    }
    if (!std::isfinite(value))
        return -2;
    // Texts are not written by the mouse: the converter stores nothing
    // there, and nothing changes.
    void* storage = action->value;
    const int type = action->valueType;
    unsigned char before[dorne::kValueStorage];
    std::memcpy(before, storage, sizeof before);
    dorne::storeNumber(storage, type, value);
    bool changed;
    if (type == DD_FLOAT || type == DD_DOUBLE) { // a NaN on either side counts as a change
        const double was = dorne::readNumber(before, type), now = dorne::readNumber(storage, type);
        changed = was != now || std::isnan(was) || std::isnan(now);
    } else {
        changed = std::memcmp(before, storage, size_t(dorne::valueWidth(type))) != 0;
    }
    if (action->varRecord != nullptr)
        action->varRecord->setPending = changed ? 1 : 0;
    return 0;
}
