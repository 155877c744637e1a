// Shared by the graph tests and the graph benchmark: GRAPH elements whose
// graph actions are bound to float variables, fed as the data thread feeds
// them.
#ifndef DORNE_GRAPH_SUPPORT_H
#define DORNE_GRAPH_SUPPORT_H

#include "actionSupport.h"

#include <cstring>
#include <string>
#include <vector>

namespace support {

// One trace of a graph: its action and its variables (y, and x of an XY
// graph).
struct Trace
{
    ACTION_STRUCT* action = nullptr;
    DD_VAR_STRUCT* y = nullptr;
    DD_VAR_STRUCT* x = nullptr;
};

struct GraphView : ActionView
{
    std::vector<ELEMENT_STRUCT*> graphs;
    std::vector<Trace> traces;

    // A graph of the type (0 XT, 1 XY) with the box (x, y, width, height)
    // and the sampling, autoscaling off, and `actions` graph actions on new
    // variables; bind() afterwards.
    ELEMENT_STRUCT* graph(int type, int samples, float rate, int actions = 1, float x = 200, float y = 600,
                          float width = 500, float height = 200, ELEMENT_STRUCT* group = nullptr)
    {
        ELEMENT_STRUCT* e = element(VD_GRAPH, group);
        auto* g = static_cast<GRAPH_STRUCT*>(e->data);
        g->type = type;
        g->samples = samples;
        g->rate = rate;
        g->autoscale = g->autoscaleX = 0;
        g->x = x;
        g->y = y;
        g->width = width;
        g->height = height;
        e->update(e);
        if (mSource == nullptr)
            mSource = source();
        for (int i = 0; i < actions; ++i) {
            const std::string n = std::to_string(traces.size());
            Trace t;
            t.y = variable(mSource, ("y" + n).c_str(), DD_FLOAT);
            t.x = type == 1 ? variable(mSource, ("x" + n).c_str(), DD_FLOAT) : nullptr;
            t.action = addAction(e, 6, t.y->name);
            if (t.x != nullptr)
                std::snprintf(t.action->secondVar, sizeof t.action->secondVar, "%s", t.x->name);
            traces.push_back(t);
        }
        graphs.push_back(e);
        return e;
    }

    static GRAPH_STRUCT* record(ELEMENT_STRUCT* e) { return static_cast<GRAPH_STRUCT*>(e->data); }

    static void put(DD_VAR_STRUCT* v, float value) { std::memcpy(v->value, &value, sizeof value); }

    // Sets trace i's value (and x) and samples its graph at time t.
    void feed(size_t i, float t, float y, float x = 0, int halt = 0)
    {
        put(traces[i].y, y);
        if (traces[i].x != nullptr)
            put(traces[i].x, x);
        for (ELEMENT_STRUCT* e : graphs)
            for (ACTION_STRUCT* a = e->actions; a != nullptr; a = a->next)
                if (a == traces[i].action)
                    fillGraph(e, record(e), t, halt);
    }

private:
    DD_DATA_TYPE_STRUCT* mSource = nullptr;
};

// The displayed samples of a trace, oldest first.
inline std::vector<float> displayed(const ACTION_STRUCT* a, bool second = false)
{
    const ACTION_RING& r = a->display;
    std::vector<float> out;
    for (int i = 0; i < r.count; ++i) {
        const int index = (r.writeIndex - r.count + i + 2 * r.capacity) % r.capacity;
        out.push_back(second ? r.secondValues[index] : r.values[index]);
    }
    return out;
}

} // namespace support

#endif
