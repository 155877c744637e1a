// The action lists of the binary view file: each element record ends with
// its actions and their five threshold lists. Read in the layouts of 3.01
// (shared by 3.02) and 3.03, written in that of 3.03.
#include "files/viewFileFields.h"

#include <cstring>

namespace dorne {

namespace {

const int32_t kText = 64; // variable names, format, path name

// The smallest records, which bound the counts a file may hold: an action
// with five empty threshold groups, and a threshold entry.
const int64_t kGroupBytes = 4 + 4 + 4;
const int64_t kAction303Bytes = 4 + 4 + 2 * kText + 4 * 4 + 4 + 4 * 4 + 4 * 4 + 4 + kText + 4 + 4 + 4 * 4 +
                                3 * 4 + 4 + kText + 2 * 4 + 8 * 4 + 5 * kGroupBytes;
const int64_t kAction301Bytes = kAction303Bytes - 4 + 4 - 10 * 4 + 6 * 4;

// One action record after its creation; false when refused.
bool readAction(ViewReader& in, ACTION_STRUCT* a)
{
    const bool is303 = in.version >= 303;
    FieldReader r(in, "an action");
    r.i(a->id).i(a->type).text(a->var, kText).text(a->secondVar, kText).f(a->a0).f(a->a1).f(a->b0).f(a->b1);
    if (is303)
        r.i(a->limit);
    r.f(a->secondA0).f(a->secondA1).f(a->secondB0).f(a->secondB1);
    r.f(a->offset).f(a->slope).f(a->secondOffset).f(a->secondSlope);
    r.i(a->pivot).text(a->format, kText).i(a->filter).f(a->filterTime);
    if (!is303)
        r.skip(1);
    r.i(a->mouseButton).i(a->mouseAction).i(a->mouseMode).i(a->mouseClamp);
    r.f(a->mouseInc).f(a->mouseMin).f(a->mouseMax).i(a->mouseHiddenActive).text(a->polyName, kText);
    if (is303)
        r.i(a->visibleMode).i(a->visibleValue).skip(8);
    else
        r.skip(6);
    if (!r.ok())
        return false;
    for (TH_BLOCK ACTION_STRUCT::*group : kThresholdGroups)
        if (!readThresholds(in, a->*group))
            return false;
    return true;
}

int32_t countActions(const ACTION_STRUCT* a)
{
    int32_t n = 0;
    for (; a != nullptr; a = a->next)
        ++n;
    return n;
}

bool writeThresholds(FILE* file, const TH_BLOCK& group)
{
    int32_t count = 0;
    for (const TH_STRUCT* th = group.list; th != nullptr; th = th->next)
        ++count;
    FieldWriter w(file);
    w.f(group.min).f(group.max).i(count);
    for (const TH_STRUCT* th = group.list; th != nullptr; th = th->next)
        w.f(th->level).f(th->upperLevel).i(th->intValue).f(th->r).f(th->g).f(th->b);
    return w.ok();
}

} // namespace

bool putText(FILE* file, const char* field, int32_t width)
{
    static const char zeros[256] = {};
    const size_t n = width > 1 ? strnlen(field, size_t(width - 1)) : 0;
    if (n > 0 && !VPutFString(field, file, int(n)))
        return false;
    for (int32_t left = width - int32_t(n); left > 0;) {
        const int32_t chunk = left < int32_t(sizeof zeros) ? left : int32_t(sizeof zeros);
        if (!VPutFString(zeros, file, chunk))
            return false;
        left -= chunk;
    }
    return true;
}

bool actionLoad(ViewReader& in, ACTION_STRUCT** list, ACTION_STRUCT*& last)
{
    int32_t count;
    if (!in.readCount(count, in.version >= 303 ? kAction303Bytes : kAction301Bytes, "action"))
        return false;
    for (int32_t k = 0; k < count; ++k) { // bounded: the count fits into the file
        ACTION_STRUCT* action = createAction();
        if (action == nullptr)
            return in.refuse("out of memory");
        linkBehind(list, last, action);
        if (!readAction(in, action))
            return false;
    }
    return true;
}

bool actionSave_303(FILE* file, const ACTION_STRUCT* list)
{
    if (!VPutFInt(countActions(list), file))
        return false;
    for (const ACTION_STRUCT* a = list; a != nullptr; a = a->next) {
        FieldWriter w(file);
        w.i(a->id).i(a->type).text(a->var, kText).text(a->secondVar, kText).f(a->a0).f(a->a1).f(a->b0).f(a->b1);
        w.i(a->limit).f(a->secondA0).f(a->secondA1).f(a->secondB0).f(a->secondB1);
        w.f(a->offset).f(a->slope).f(a->secondOffset).f(a->secondSlope);
        w.i(a->pivot).text(a->format, kText).i(a->filter).f(a->filterTime);
        w.i(a->mouseButton).i(a->mouseAction).i(a->mouseMode).i(a->mouseClamp);
        w.f(a->mouseInc).f(a->mouseMin).f(a->mouseMax).i(a->mouseHiddenActive).text(a->polyName, kText);
        w.i(a->visibleMode).i(a->visibleValue).zeros(8);
        if (!w.ok())
            return false;
        for (TH_BLOCK ACTION_STRUCT::*group : kThresholdGroups)
            if (!writeThresholds(file, a->*group))
                return false;
    }
    return true;
}

} // namespace dorne
