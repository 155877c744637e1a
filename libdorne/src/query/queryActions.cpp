// The exported action accessors: enumeration, variable names, the enable
// switch, the two value mappings and the first colour threshold.
#include "dorneActions.h"
#include "dorneElements.h"

#include <cstdlib>

namespace {

void setIf(float* target, float value)
{
    if (target != nullptr)
        *target = value;
}

// offset + slope x value maps in1 to out1 and in2 to out2; equal inputs
// give the identity.
void coefficients(float in1, float in2, float out1, float out2, float& offset, float& slope)
{
    if (in1 == in2) {
        offset = 0.0f;
        slope = 1.0f;
        return;
    }
    slope = (out1 - out2) / (in1 - in2);
    offset = out1 - slope * in1;
}

} // namespace

ACTION_STRUCT** vdActionGetAll(ELEMENT_STRUCT* element, int* count)
{
    if (count == nullptr)
        return nullptr;
    *count = 0;
    if (element == nullptr)
        return nullptr;
    int n = 0;
    for (ACTION_STRUCT* a = element->actions; a != nullptr; a = a->next)
        ++n;
    if (n == 0)
        return nullptr;
    auto* all = static_cast<ACTION_STRUCT**>(std::malloc(sizeof(ACTION_STRUCT*) * size_t(n)));
    if (all == nullptr)
        return nullptr;
    int i = 0;
    for (ACTION_STRUCT* a = element->actions; a != nullptr; a = a->next)
        all[i++] = a;
    *count = n;
    return all;
}

int vdActionType(ACTION_STRUCT* action)
{
    return action != nullptr ? action->type : -1;
}

char* vdActionVar(ACTION_STRUCT* action)
{
    return action != nullptr ? action->var : nullptr;
}

char* vdActionVar2(ACTION_STRUCT* action)
{
    return action != nullptr ? action->secondVar : nullptr;
}

int vdActionEnable(ACTION_STRUCT* action, int enable)
{
    if (action == nullptr)
        return -1;
    action->disabled = enable == 0 ? 1 : 0;
    return 0;
}

int vdActionGetScale(ACTION_STRUCT* action, float* in1, float* in2, float* out1, float* out2)
{
    if (action == nullptr)
        return -1;
    setIf(in1, action->a0);
    setIf(in2, action->a1);
    setIf(out1, action->b0);
    setIf(out2, action->b1);
    return 0;
}

int vdActionGetScale2(ACTION_STRUCT* action, float* in1, float* in2, float* out1, float* out2)
{
    if (action == nullptr)
        return -1;
    setIf(in1, action->secondA0);
    setIf(in2, action->secondA1);
    setIf(out1, action->secondB0);
    setIf(out2, action->secondB1);
    return 0;
}

int vdActionSetScale(ACTION_STRUCT* action, float in1, float in2, float out1, float out2)
{
    if (action == nullptr)
        return -1;
    action->a0 = in1, action->a1 = in2, action->b0 = out1, action->b1 = out2;
    coefficients(in1, in2, out1, out2, action->offset, action->slope);
    return 0;
}

int vdActionSetScale2(ACTION_STRUCT* action, float in1, float in2, float out1, float out2)
{
    if (action == nullptr)
        return -1;
    action->secondA0 = in1, action->secondA1 = in2, action->secondB0 = out1, action->secondB1 = out2;
    coefficients(in1, in2, out1, out2, action->secondOffset, action->secondSlope);
    return 0;
}

int vdActionGetColor(ACTION_STRUCT* action, float* r, float* g, float* b)
{
    if (action == nullptr || action->thColor.list == nullptr)
        return -1;
    const TH_STRUCT* th = action->thColor.list;
    setIf(r, th->r);
    setIf(g, th->g);
    setIf(b, th->b);
    return 0;
}

int vdActionSetColor(ACTION_STRUCT* action, float r, float g, float b)
{
    if (action == nullptr || action->thColor.list == nullptr)
        return -1;
    TH_STRUCT* th = action->thColor.list;
    th->r = r, th->g = g, th->b = b;
    return 0;
}

void vdActionFree(void* pointer)
{
    std::free(pointer);
}
