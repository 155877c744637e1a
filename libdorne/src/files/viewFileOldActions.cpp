// The action records of the revisions before 3.01. Fields a revision does
// not store keep the defaults of a new action; a 1.00 action's single
// colour becomes threshold entries, its graph scaling the identity, and the
// blink entries of 2.03 to 3.00 take the action's blink rate.
#include "files/viewFileFields.h"
#include "files/viewFileOld.h"

#include <climits>
#include <cmath>

namespace dorne {

namespace {

const int32_t kText = 64;
const int32_t kOldVariable = 32; // the variable name before 2.01
const float kUpperLevel = 120.0f;
const int64_t kGroupBytes = 4 + 4 + 4;

// What the layout of a group stores.
struct Layout
{
    bool oldColour;    // 1.00: colour, an ignored float and a value
    bool filter;       // 1.07 on
    bool mouse;        // 1.13 on
    bool pathName;     // 1.13 to 2.00 only
    bool second;       // 2.01 on: second variable, long names
    bool blinkRate;    // 2.03 on
    int groups;        // threshold groups

    int64_t minBytes() const
    {
        const int64_t name = second ? kText : kOldVariable;
        int64_t n = 4 + 4 + name + 4 * 4 + 2 * 4 + 4 + kText;
        if (second)
            n += kText + 4 * 4 + 2 * 4;
        if (oldColour)
            n += 5 * 4;
        if (filter)
            n += 8;
        if (blinkRate)
            n += 4;
        if (mouse)
            n += 4 * 4 + 3 * 4;
        if (pathName)
            n += kText;
        return n + groups * kGroupBytes;
    }
};

Layout layoutOf(int group)
{
    Layout l{};
    l.oldColour = group == 100;
    l.filter = group >= 107;
    l.mouse = group >= 113;
    l.pathName = group == 113;
    l.second = group >= 201;
    l.blinkRate = group >= 203;
    l.groups = group == 100 ? 0 : group >= 203 ? 5 : 4;
    return l;
}

// A threshold group; with blink, every blinking entry takes the file's
// blink rate.
bool readOldThresholds(ViewReader& in, TH_BLOCK& group, bool blink, int32_t blinkRate)
{
    if (!readThresholds(in, group))
        return false;
    if (blink)
        for (TH_STRUCT* th = group.list; th != nullptr; th = th->next)
            if (th->intValue != 0)
                th->intValue = blinkRate;
    return true;
}

// The value of a 1.00 action as an int: truncated toward zero, clamped to
// the int range first, NaN as 0.
int32_t oldValueOf(float value)
{
    if (std::isnan(value))
        return 0;
    if (value <= float(INT32_MIN))
        return INT32_MIN;
    if (value >= 2147483648.0f)
        return INT32_MAX;
    return int32_t(value);
}

// The single colour of a 1.00 action as one entry in each of its first
// four threshold groups.
bool convertOldColour(ViewReader& in, ACTION_STRUCT* a, const float* rgb, float value)
{
    const int32_t intValue = oldValueOf(value);
    for (int k = 0; k < 4; ++k) {
        TH_STRUCT* th = createTh();
        if (th == nullptr)
            return in.refuse("out of memory");
        th->level = 0;
        th->upperLevel = kUpperLevel;
        th->intValue = intValue;
        th->r = rgb[0], th->g = rgb[1], th->b = rgb[2];
        appendTh(&(a->*kThresholdGroups[k]).list, th);
    }
    return true;
}

bool readAction(ViewReader& in, const Layout& l, ACTION_STRUCT* a)
{
    FieldReader r(in, "an action");
    float rgb[3] = {}, ignored = 0, value = 0;
    int32_t blinkRate = 0;
    r.i(a->id).i(a->type).text(a->var, l.second ? kText : kOldVariable);
    if (l.second)
        r.text(a->secondVar, kText);
    r.f(a->a0).f(a->a1).f(a->b0).f(a->b1);
    if (l.second)
        r.f(a->secondA0).f(a->secondA1).f(a->secondB0).f(a->secondB1);
    r.f(a->offset).f(a->slope);
    if (l.second)
        r.f(a->secondOffset).f(a->secondSlope);
    r.i(a->pivot);
    if (l.oldColour)
        r.f(rgb[0]).f(rgb[1]).f(rgb[2]).f(ignored).f(value);
    r.text(a->format, kText);
    if (l.filter)
        r.i(a->filter).f(a->filterTime);
    if (l.blinkRate)
        r.i(blinkRate);
    if (l.mouse)
        r.i(a->mouseButton).i(a->mouseAction).i(a->mouseMode).i(a->mouseClamp).f(a->mouseInc).f(a->mouseMin).f(a->mouseMax);
    if (l.pathName)
        r.text(a->polyName, kText);
    if (!r.ok())
        return false;
    if (l.oldColour) {
        if (a->type == 6) { // a 1.00 graph takes the value as it is
            a->a0 = 0, a->a1 = 1, a->b0 = 0, a->b1 = 1;
            a->offset = 0, a->slope = 1;
        }
        return convertOldColour(in, a, rgb, value);
    }
    for (int k = 0; k < l.groups; ++k)
        if (!readOldThresholds(in, a->*kThresholdGroups[k], k == 4, blinkRate))
            return false;
    return true;
}

} // namespace

bool actionLoadOld(ViewReader& in, int group, ACTION_STRUCT** list, ACTION_STRUCT*& last)
{
    const Layout l = layoutOf(group);
    int32_t count;
    if (!in.readCount(count, l.minBytes(), "action"))
        return false;
    for (int32_t k = 0; k < count; ++k) { // bounded: the count fits into the file
        ACTION_STRUCT* action = createAction();
        if (action == nullptr)
            return in.refuse("out of memory");
        linkBehind(list, last, action);
        action->limit = 0;
        action->visibleMode = 0;
        action->visibleValue = 0;
        if (!readAction(in, l, action))
            return false;
    }
    return true;
}

} // namespace dorne
