// GRAPH elements: the kind record with its defaults, its label font and the
// printf formats of its axis labels; sampling of the graph actions into
// their rings, the time reset, grab handles and edits. Drawing is in
// elementGraphDraw.cpp.
#include "elements/elementKinds.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Label formats stay within what a float can show and the format field
// holds: at most 40 integer digits and 20 decimals.
const double maxDigits = 40;
const double maxDecimals = 20;

// "%w.df" for an axis from lo to hi with the given tick spacing: decimals
// from the spacing's order of magnitude, integer digits from the larger end.
void setLabelFormat(char (&format)[32], float spacing, float lo, float hi)
{
    const double e = std::log10(std::fabs(double(spacing)));
    double decimals = e >= 0 ? 0 : std::trunc(std::fabs(e) + 1);
    const double m = std::fabs(hi) > std::fabs(lo) ? std::log10(std::fabs(double(hi)))
                                                    : std::log10(std::fabs(double(lo)));
    double digits = m < 1 ? 1 : std::trunc(m + 1);
    // A zero or non-finite spacing or range would give no sensible width.
    decimals = std::isnan(decimals) ? 0 : std::clamp(decimals, 0.0, maxDecimals);
    digits = std::isnan(digits) ? 1 : std::clamp(digits, 1.0, maxDigits);
    const int d = int(decimals);
    const int n = int(digits);
    std::snprintf(format, sizeof format, "%%%d.%df", d == 0 ? n : d + n + 1, d);
}

void setGraphDefaults(GRAPH_STRUCT& g)
{
    g.type = 0;
    g.x = 200;
    g.y = 600;
    g.width = 500;
    g.height = 200;
    g.ymin = -100;
    g.ymax = 100;
    g.xmin = 0;
    g.xmax = 100;
    g.rate = 10;
    g.autoscale = 1;
    g.autoscaleX = 1;
    g.samples = 500;
    vdiSetColor(g.outlineColor, 1, 1, 1, 1);
    vdiSetColor(g.backgroundColor, 0, 0, 0, 0);
    g.outlineWidth = 1;
    g.gridX = g.gridY = 1;
    g.gridXAuto = g.gridYAuto = 1;
    g.gridXSpace = 10;
    g.gridYSpace = 1;
    g.gridStippleFactor = 1;
    g.gridStipplePattern = 0xFFFF;
    g.gridStyleIndex = 1;
    vdiSetColor(g.gridColor, 0.5f, 0.25f, 0.25f, 1.0f);
    g.labelX = g.labelY = 1;
    g.labelXMax = 100;
    g.labelYMax = 100;
    g.tickX = g.tickY = 1;
    g.tickXAuto = g.tickYAuto = 1;
    g.tickXSpace = g.tickYSpace = 2;
    g.tickXSub = g.tickYSub = 5;
    std::snprintf(g.family, sizeof g.family, "%s", "Helvetica [fixed]");
    g.style = 1;
    g.size = 10;
    g.lagYMin = -100;
    g.lagYMax = 100;
    g.lagXMax = 100;
    VGraphSetXLabel(&g, 0, 100);
    VGraphSetYLabel(&g, -100, 100);
}

void releaseGraph(void* record)
{
    auto* graph = static_cast<GRAPH_STRUCT*>(record);
    vdiFontRelease(graph->font);
    graph->font = nullptr;
}

// The label font made again from the family, style and size.
void remakeFont(GRAPH_STRUCT& g)
{
    vdiFontRelease(g.font);
    g.font = vdiFontCreate(g.family, g.style, g.size);
}

// An action that samples: a graph action whose first variable is bound and
// whose rings were allocated.
bool samples(const ACTION_STRUCT* a)
{
    const ACTION_RING& in = a->input;
    const ACTION_RING& out = a->display;
    return a->type == 6 && a->value != nullptr && in.capacity > 0 && in.values != nullptr &&
           in.secondValues != nullptr && out.capacity == in.capacity && out.values != nullptr &&
           out.secondValues != nullptr;
}

// Ring indices stay inside the ring whatever a caller left in them.
void checkIndices(ACTION_RING& r)
{
    if (r.readIndex < 0 || r.readIndex >= r.capacity)
        r.readIndex = 0;
    if (r.writeIndex < 0 || r.writeIndex >= r.capacity)
        r.writeIndex = 0;
    r.count = std::clamp(r.count, 0, r.capacity);
}

void advance(int32_t& index, int capacity)
{
    if (++index >= capacity)
        index = 0;
}

// Stores v (and the x value w) at the write index; a full queue drops its
// oldest unread sample.
void push(ACTION_RING& r, float v, float w)
{
    r.values[r.writeIndex] = v;
    r.secondValues[r.writeIndex] = w;
    advance(r.writeIndex, r.capacity);
    if (r.writeIndex == r.readIndex)
        advance(r.readIndex, r.capacity);
}

// The input step of one action: the held value at every sample time before
// t. A pause longer than the ring fills the whole ring with the held value
// and moves the count, the oldest time (XT) and the next time on by the
// samples that would have been overwritten, so that the work stays within
// one ring's worth whatever the pause.
void holdSamples(ACTION_RING& r, float t, float step, bool xt, float v, float w)
{
    const int capacity = r.capacity;
    const double due = (double(t) - double(r.nextTime)) / double(step);
    if (due > double(capacity) + 1) {
        const double skipped = std::floor(due) - double(capacity);
        const double counted = std::min(skipped, double(capacity - r.count));
        r.count += int(counted);
        if (xt)
            r.oldestTime = float(double(r.oldestTime) + (skipped - counted) * double(step));
        r.nextTime = float(double(r.nextTime) + skipped * double(step));
        r.writeIndex = int((double(r.writeIndex) + std::fmod(skipped, double(capacity)))) % capacity;
        std::fill(r.values, r.values + capacity, v);
        std::fill(r.secondValues, r.secondValues + capacity, w);
        r.readIndex = (r.writeIndex + 1) % capacity; // as full as a ring's worth of stores leaves it
    }
    // At most a ring's worth and two: a time so large that a step no longer
    // moves it must not hold the loop.
    for (int n = 0; n < capacity + 2 && t > r.nextTime; ++n) {
        push(r, v, w);
        r.nextTime += step;
        if (r.count < capacity)
            ++r.count;
        else if (xt)
            r.oldestTime += step;
    }
}

void fillInput(ELEMENT_STRUCT* element, GRAPH_STRUCT& g, float t, float step, bool xt)
{
    const float dt = float(double(t) - g.lastFillTime);
    g.lastFillTime = t;
    for (ACTION_STRUCT* a = element->actions; a != nullptr; a = a->next) { // the element's actions
        if (!samples(a))
            continue;
        checkIndices(a->input);
        const float v = float(a->offset + a->slope * getActionFloatData(a, 1, dt));
        const float w = xt ? 0.0f : float(a->secondOffset + a->secondSlope * getActionFloatData(a, 2, dt));
        holdSamples(a->input, t, step, xt, v, w);
    }
}

// The display step: what arrived in the input rings moves to the display
// rings; an XT graph's x axis starts at the oldest sample held.
void fillDisplay(ELEMENT_STRUCT* element, GRAPH_STRUCT& g, bool xt)
{
    for (ACTION_STRUCT* a = element->actions; a != nullptr; a = a->next) { // the element's actions
        if (!samples(a))
            continue;
        ACTION_RING& in = a->input;
        ACTION_RING& out = a->display;
        checkIndices(in);
        checkIndices(out);
        for (int n = 0; n < in.capacity && in.readIndex != in.writeIndex; ++n) { // at most a ring's worth
            push(out, in.values[in.readIndex], in.secondValues[in.readIndex]);
            if (out.count < out.capacity)
                ++out.count;
            advance(in.readIndex, in.capacity);
        }
        if (xt)
            g.xmin = in.oldestTime;
    }
}

void resetRing(ACTION_RING& r, float t)
{
    r.readIndex = r.writeIndex = r.count = 0;
    r.oldestTime = r.nextTime = t;
}

// The geometry commands on the box: its four corners from the backed-up
// box; x and width from corners 0 and 3, y and height from corners 0 and 1.
void moveBox(ELEMENT_STRUCT* element, const void* backup, int command, const EDIT_PARA_STRUCT* para)
{
    GRAPH_STRUCT* g = vdiRecord<GRAPH_STRUCT>(element);
    const auto* b = static_cast<const GRAPH_STRUCT*>(backup);
    const float fromX[4] = {b->x, b->x, b->x + b->width, b->x + b->width};
    const float fromY[4] = {b->y, b->y + b->height, b->y + b->height, b->y};
    float x[4], y[4];
    std::memcpy(x, fromX, sizeof x);
    std::memcpy(y, fromY, sizeof y);
    vdiMoveCorners(element, command, para, fromX, fromY, x, y);
    g->x = std::min(x[0], x[3]);
    g->width = std::fabs(x[3] - x[0]);
    g->y = std::min(y[0], y[1]);
    g->height = std::fabs(y[1] - y[0]);
}

} // namespace

GRAPH_STRUCT* createGraph(const GRAPH_STRUCT* templ, int)
{
    GRAPH_STRUCT* graph = vdiNewRecord(templ, "createGraph", setGraphDefaults);
    // A copy makes its own font: two records never release one handle.
    if (graph != nullptr)
        graph->font = vdiFontCreate(graph->family, graph->style, graph->size);
    return graph;
}

int VGraphSetXLabel(GRAPH_STRUCT* graph, float lo, float hi)
{
    if (graph == nullptr)
        return -1;
    setLabelFormat(graph->xLabelFormat, graph->tickXSpace, lo, hi);
    return 0;
}

int VGraphSetYLabel(GRAPH_STRUCT* graph, float lo, float hi)
{
    if (graph == nullptr)
        return -1;
    setLabelFormat(graph->yLabelFormat, graph->tickYSpace, lo, hi);
    return 0;
}

int fillGraph(ELEMENT_STRUCT* element, GRAPH_STRUCT* graph, float time, int halt)
{
    if (element == nullptr || graph == nullptr)
        return -1;
    // No rate, or no time: nothing is due.
    const float step = graph->rate > 0 ? 1.0f / graph->rate : 0.0f;
    if (!(step > 0) || !std::isfinite(step) || !std::isfinite(time))
        return 0;
    const bool xt = graph->type == 0;
    fillInput(element, *graph, time, step, xt);
    if (halt == 0)
        fillDisplay(element, *graph, xt);
    return 0;
}

int resetAllGraphs(ELEMENT_STRUCT* list, float time)
{
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) { // groups recurse once per level
        GRAPH_STRUCT* g = e->kind == VD_GRAPH ? vdiRecord<GRAPH_STRUCT>(e) : nullptr;
        if (g != nullptr) {
            if (g->type == 0)
                g->xmin = time;
            g->lastFillTime = time;
            VGraphSetXLabel(g, g->xmin, g->xmax);
            VGraphSetYLabel(g, g->ymin, g->ymax);
        }
        for (ACTION_STRUCT* a = e->actions; a != nullptr; a = a->next) { // the element's actions
            resetRing(a->input, time);
            resetRing(a->display, time);
        }
        if (e->kind == VD_GROUP)
            resetAllGraphs(e->children, time);
    }
    return 0;
}

int graphSetTime(ELEMENT_STRUCT* list, float time)
{
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) { // groups recurse once per level
        GRAPH_STRUCT* g = e->kind == VD_GRAPH ? vdiRecord<GRAPH_STRUCT>(e) : nullptr;
        if (g != nullptr && g->type == 0)
            g->xmin = time;
        if (e->kind == VD_GROUP)
            graphSetTime(e->children, time);
    }
    return 0;
}

int graphSetAttr(ELEMENT_STRUCT* element)
{
    const GRAPH_STRUCT* g = vdiRecord<GRAPH_STRUCT>(element);
    if (g == nullptr)
        return -1;
    ATTR_STRUCT& a = element->attr;
    a.lineStyle = 0;
    std::memcpy(a.lineColor, g->outlineColor, sizeof a.lineColor);
    std::memcpy(a.fillColor, g->gridColor, sizeof a.fillColor);
    a.visible = 1;
    a.text[0] = '\0';
    vdiClearOverrides(&a);
    return 0;
}

int graphSetPickSticky(ELEMENT_STRUCT* element)
{
    const GRAPH_STRUCT* g = vdiRecord<GRAPH_STRUCT>(element);
    if (g == nullptr)
        return -1;
    HandleRebuild rebuild(element);
    const float minX = g->x, minY = g->y, maxX = g->x + g->width, maxY = g->y + g->height;
    static const uint8_t ids[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    bool made =
        vdiAppendBoxHandles(element, ids, 9, minX, minY, maxX, maxY, g->x + g->width / 2, g->y + g->height / 2);
    made = vdiAppendBoxRecord(element, minX, minY, maxX, maxY) && made;
    vdiSetElementBox(element, minX, minY, maxX, maxY);
    element->width = g->width;
    element->height = g->height;
    const int status = graphSetAttr(element);
    return rebuild.settle(made) == 0 ? status : -1;
}

int editGraph(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase, EDIT_PARA_STRUCT* para)
{
    GRAPH_STRUCT* record = vdiRecord<GRAPH_STRUCT>(element);
    if (record == nullptr)
        return -1;
    GRAPH_STRUCT& g = *record;
    EDIT_PARA_STRUCT none{};
    if (para == nullptr)
        para = &none;
    int status = 0; // -1 once an update ran out of memory
    switch (command) {
    case 20:
        g.outlineWidth = para->value;
        break;
    case 21:
        g.gridStyleIndex = para->intValue;
        vdiLineStipple(g.gridStyleIndex, g.gridStippleFactor, g.gridStipplePattern);
        break;
    case 22:
        vdiSetColor(g.gridColor, para->r, para->g, para->b, g.gridColor[3]);
        break;
    case 23:
        vdiSetColor(g.outlineColor, para->r, para->g, para->b, g.outlineColor[3]);
        break;
    case 25:
        g.gridColor[3] = para->r;
        break;
    case 26:
        g.outlineColor[3] = para->r;
        break;
    case 28:
        g.size = para->intValue;
        remakeFont(g);
        break;
    case 123:
        if (para->text != nullptr) {
            vdiCopyName(g.family, sizeof g.family, para->text);
            g.style = vdiFontStyleFor(g.family, g.style);
            g.size = vdiFontSizeFor(g.family, g.style, g.size);
            remakeFont(g);
        }
        break;
    case 124:
        g.style = para->intValue;
        remakeFont(g);
        break;
    default:
        if (command >= 1 && command <= 16)
            status = vdiEditPhase(element, handles, command, phase, para, moveBox);
        break;
    }
    const int attr = graphSetAttr(element);
    return status != 0 ? -1 : attr;
}

namespace {

// The background and axes always; the traces in run mode.
void drawGraphSlot(const VdiDrawCall& call)
{
    GRAPH_STRUCT* g = vdiRecord<GRAPH_STRUCT>(call.element);
    if (g == nullptr)
        return;
    VDrawGraph(g, &call.element->attr, call.element->selected, call.para);
    if (call.running != 0)
        drawAllGraphValues(call.element, g);
}

} // namespace

const ElementKind vdiKindGraph = [] {
    ElementKind k = vdiDescribeKind("GRAPH", sizeof(GRAPH_STRUCT),
                                    [] { return static_cast<void*>(createGraph(nullptr, 8)); });
    k.update = graphSetPickSticky;
    k.edit = editGraph;
    k.setAttr = graphSetAttr;
    k.releaseRecord = releaseGraph;
    k.draw = drawGraphSlot;
    return k;
}();
