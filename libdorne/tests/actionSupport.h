// Shared by the action tests and the action benchmark: a view's element list
// and data sources built in memory, freed with everything they own.
#ifndef DORNE_ACTION_SUPPORT_H
#define DORNE_ACTION_SUPPORT_H

#include "dorneDataSources.h"
#include "dorneElements.h"

#include <cstdio>
#include <cstring>

namespace support {

struct ActionView
{
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    ELEMENT_STRUCT* elements = nullptr;

    ActionView() = default;
    ActionView(const ActionView&) = delete;
    ActionView& operator=(const ActionView&) = delete;
    ~ActionView()
    {
        elementDeleteAll(&elements);
        while (sources != nullptr)
            delDataType(&sources, sources, 0);
    }

    DD_DATA_TYPE_STRUCT* source()
    {
        DD_DATA_TYPE_STRUCT* s = createDataType(10);
        appendDataType(&sources, s);
        return s;
    }

    static DD_VAR_STRUCT* variable(DD_DATA_TYPE_STRUCT* s, const char* name, int type)
    {
        DD_VAR_STRUCT* v = createVariable(10);
        v->type = type;
        std::snprintf(v->name, sizeof v->name, "%s", name);
        appendVariable(&s->variables, v);
        return v;
    }

    // A new element at the end of the view's list or of the group's.
    ELEMENT_STRUCT* element(int kind, ELEMENT_STRUCT* group = nullptr)
    {
        ELEMENT_STRUCT* e = elementCreate(kind);
        e->parent = group;
        elementAppend(e, group != nullptr ? &group->children : &elements);
        return e;
    }

    int bind() { return assignVariables(elements, sources); }
};

// Appends an action of the type on the variable, mapping a0..a1 to b0..b1.
inline ACTION_STRUCT* addAction(ELEMENT_STRUCT* e, int type, const char* var, float a0 = 0, float a1 = 1,
                                float b0 = 0, float b1 = 1)
{
    ACTION_STRUCT* a = createAction();
    a->type = type;
    std::snprintf(a->var, sizeof a->var, "%s", var);
    a->a0 = a0;
    a->a1 = a1;
    a->b0 = b0;
    a->b1 = b1;
    appendAction(&e->actions, a);
    return a;
}

// Appends a threshold entry; its stipple pair is derived from intValue.
inline TH_STRUCT* addTh(TH_BLOCK& block, float level, int intValue, float r = 0, float g = 0, float b = 0)
{
    TH_STRUCT* th = createTh();
    th->level = level;
    th->intValue = intValue;
    th->r = r;
    th->g = g;
    th->b = b;
    th->stippleFactor = intValue;
    th->stipplePattern = uint16_t(0x1111 * intValue);
    appendTh(&block.list, th);
    return th;
}

} // namespace support

#endif
