// The graph element without drawing: sampling into the rings (hold, halt,
// catch-up, long pauses, xmin), the time reset through groups, grab handles
// and edits, automatic spacing, the lag and the interpolation, and
// autoscaling.
#include "graphSupport.h"
#include "sartoLibrary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

using support::displayed;

// fillGraph takes the time before the halt flag; swapped arguments do not
// compile.
template <typename... A>
constexpr bool callable(decltype(fillGraph(std::declval<A>()...))*)
{
    return true;
}
template <typename... A>
constexpr bool callable(...)
{
    return false;
}
static_assert(callable<ELEMENT_STRUCT*, GRAPH_STRUCT*, float, int>(nullptr), "time, halt");
static_assert(callable<ELEMENT_STRUCT*, GRAPH_STRUCT*, double, int>(nullptr), "a double time");
static_assert(!callable<ELEMENT_STRUCT*, GRAPH_STRUCT*, int, float>(nullptr), "halt, time");
static_assert(!callable<ELEMENT_STRUCT*, GRAPH_STRUCT*, int, double>(nullptr), "halt, double time");

class Graph : public testing::Test
{
protected:
    void SetUp() override { ftSetDebugLevel(0); } // graphs ask for fonts; there is no font library here
};

TEST_F(Graph, RingsFollowTheViewClockWithHoldHaltAndCatchUp)
{
    // 4 samples (rings of 5) at 10 per second, reset to 0.
    support::GraphView view;
    ELEMENT_STRUCT* e = view.graph(0, 4, 10);
    ASSERT_EQ(view.bind(), 0);
    ASSERT_EQ(resetAllGraphs(view.elements, 0), 0);
    GRAPH_STRUCT* g = view.record(e);
    const ACTION_STRUCT* a = view.traces[0].action;

    struct Step
    {
        float t, value;
        int halt;
        int inputCount, inputRead, inputWrite;
        float xmin;
        std::vector<float> shown;
    };
    const std::vector<Step> steps = {
        {0.05f, 1, 0, 1, 1, 1, 0, {1}},                      // the first sample lies at the reset time
        {0.35f, 2, 0, 4, 4, 4, 0, {1, 2, 2, 2}},             // 0.1, 0.2, 0.3 hold the new value
        {0.38f, 9, 0, 4, 4, 4, 0, {1, 2, 2, 2}},             // nothing due
        {0.45f, 3, 0, 5, 0, 0, 0, {1, 2, 2, 2, 3}},          // full
        {0.55f, 4, 0, 5, 1, 1, 0.1f, {2, 2, 2, 3, 4}},       // the oldest dropped, xmin follows
        {0.95f, 5, 1, 5, 1, 0, 0.1f, {2, 2, 2, 3, 4}},       // halt: input only
        {1.15f, 6, 1, 5, 3, 2, 0.1f, {2, 2, 2, 3, 4}},       // two unread samples dropped
        {1.16f, 7, 0, 5, 2, 2, 0.7f, {4, 5, 5, 6, 6}},       // catch-up: the 4 still held
    };
    for (const Step& s : steps) {
        view.feed(0, s.t, s.value, 0, s.halt);
        SCOPED_TRACE(testing::Message() << "t = " << s.t);
        EXPECT_EQ(a->input.count, s.inputCount);
        EXPECT_EQ(a->input.readIndex, s.inputRead);
        EXPECT_EQ(a->input.writeIndex, s.inputWrite);
        EXPECT_NEAR(g->xmin, s.xmin, 1e-5);
        EXPECT_EQ(displayed(a), s.shown);
        EXPECT_DOUBLE_EQ(g->lastFillTime, double(s.t));
    }
    EXPECT_NEAR(a->input.nextTime, 1.2f, 1e-5);
}

TEST_F(Graph, TheTimeComesBeforeTheHaltFlag)
{
    support::GraphView view;
    ELEMENT_STRUCT* e = view.graph(0, 10, 10);
    ASSERT_EQ(view.bind(), 0);
    resetAllGraphs(view.elements, 0);
    support::GraphView::put(view.traces[0].y, 5);
    // Swapped (time 0, halt 0.35) this would sample nothing at all.
    EXPECT_EQ(fillGraph(e, view.record(e), 0.35f, 0), 0);
    EXPECT_EQ(displayed(view.traces[0].action), (std::vector<float>{5, 5, 5, 5}));
    // Halt set: the input takes the next samples, the display does not.
    EXPECT_EQ(fillGraph(e, view.record(e), 0.55f, 1), 0);
    EXPECT_EQ(view.traces[0].action->input.count, 6);
    EXPECT_EQ(view.traces[0].action->display.count, 4);
    EXPECT_EQ(fillGraph(nullptr, view.record(e), 1.0f, 0), -1);
    EXPECT_EQ(fillGraph(e, nullptr, 1.0f, 0), -1);
}

TEST_F(Graph, PausesRatesAndSampleCountsStayBounded)
{
    support::GraphView view;
    ELEMENT_STRUCT* xt = view.graph(0, 4, 10);
    view.graph(0, -3, 10); // rings of 2
    ASSERT_EQ(view.bind(), 0);
    resetAllGraphs(view.elements, 0);
    GRAPH_STRUCT* g = view.record(xt);
    const ACTION_STRUCT* a = view.traces[0].action;

    // 1000 seconds in one step: the ring holds the value, the times moved on.
    view.feed(0, 0.05f, 1);
    view.feed(0, 1000.05f, 7);
    EXPECT_EQ(a->input.count, 5);
    // The ring passes at most its capacity less one between two display steps.
    EXPECT_EQ(displayed(a), (std::vector<float>{1, 7, 7, 7, 7}));
    EXPECT_NEAR(a->input.nextTime, 1000.1f, 0.01);
    EXPECT_NEAR(g->xmin, 1000.1f - 0.5f, 0.01) << "the oldest of the five samples";

    // So far on that a step of 0.1 s no longer moves a float time: the call
    // returns, and the newest samples hold the value.
    view.feed(0, 1e9f, 8);
    EXPECT_EQ(a->input.count, 5);
    EXPECT_EQ(displayed(a).back(), 8);

    // No rate: nothing sampled. A sample count below 1 samples one at a time.
    for (float rate : {0.0f, -5.0f, NAN, INFINITY}) {
        g->rate = rate;
        const int before = a->input.writeIndex;
        view.feed(0, 2e9f, 9);
        EXPECT_EQ(a->input.writeIndex, before) << rate;
    }
    EXPECT_EQ(view.traces[1].action->input.capacity, 2);
    view.feed(1, 0.35f, 3);
    view.feed(1, 0.45f, 4);
    EXPECT_EQ(displayed(view.traces[1].action), (std::vector<float>{3, 4}));
}

TEST_F(Graph, XminFollowsTheGraphActionOnlyAndXyStoresBothValues)
{
    support::GraphView view;
    ELEMENT_STRUCT* e = view.graph(0, 4, 10);
    // A colour action and an unbound graph action after the graph action.
    ACTION_STRUCT* colour = support::addAction(e, 12, view.traces[0].y->name);
    support::addAction(e, 6, "missing");
    ELEMENT_STRUCT* xy = view.graph(1, 4, 10);
    ASSERT_EQ(view.bind(), 0);
    resetAllGraphs(view.elements, 0);
    for (int i = 0; i < 8; ++i)
        view.feed(0, 0.05f + 0.1f * float(i), float(i));
    EXPECT_NEAR(view.record(e)->xmin, 0.3f, 1e-5) << "8 samples, the ring keeps the last 5";
    EXPECT_EQ(colour->display.count, 0);

    view.traces[1].action->secondA1 = 1; // x = 2 x value + 1
    view.traces[1].action->secondB0 = 1;
    view.traces[1].action->secondB1 = 3;
    getAB(&view.traces[1].action->secondOffset, &view.traces[1].action->secondSlope, 0, 1, 1, 3);
    view.feed(1, 0.15f, 4, 10);
    EXPECT_EQ(displayed(view.traces[1].action), (std::vector<float>{4, 4}));
    EXPECT_EQ(displayed(view.traces[1].action, true), (std::vector<float>{21, 21}));
    EXPECT_EQ(view.record(xy)->xmin, 0) << "XY graphs keep their x range";
}

TEST_F(Graph, ResetAndSetTimeReachGraphsInNestedGroups)
{
    support::GraphView view;
    ELEMENT_STRUCT* outer = view.element(VD_GROUP);
    ELEMENT_STRUCT* inner = view.element(VD_GROUP, outer);
    ELEMENT_STRUCT* top = view.graph(0, 4, 10);
    ELEMENT_STRUCT* nested = view.graph(0, 4, 10, 1, 0, 0, 100, 100, inner);
    ELEMENT_STRUCT* xy = view.graph(1, 4, 10, 1, 0, 0, 100, 100, outer);
    ASSERT_EQ(view.bind(), 0);
    resetAllGraphs(view.elements, 0);
    for (size_t i = 0; i < 3; ++i)
        view.feed(i, 0.25f, 1);
    view.record(nested)->tickYSpace = 0.5f;
    EXPECT_EQ(resetAllGraphs(view.elements, 5), 0);
    for (ELEMENT_STRUCT* e : {top, nested, xy}) {
        const GRAPH_STRUCT* g = view.record(e);
        EXPECT_DOUBLE_EQ(g->lastFillTime, 5);
        EXPECT_EQ(g->xmin, e == xy ? 0 : 5);
        const ACTION_STRUCT* a = e->actions;
        for (const ACTION_RING* r : {&a->input, &a->display}) {
            EXPECT_EQ(r->count + r->readIndex + r->writeIndex, 0);
            EXPECT_EQ(r->nextTime, 5);
            EXPECT_EQ(r->oldestTime, 5);
        }
    }
    EXPECT_STREQ(view.record(nested)->yLabelFormat, "%5.1f") << "label formats remade";
    EXPECT_EQ(graphSetTime(view.elements, 7), 0);
    EXPECT_EQ(view.record(nested)->xmin, 7);
    EXPECT_EQ(view.record(xy)->xmin, 0);
}

TEST_F(Graph, HandlesAttributesAndEdits)
{
    support::GraphView view;
    ELEMENT_STRUCT* e = view.graph(0, 500, 10); // box 200, 600, 500 x 200
    GRAPH_STRUCT* g = view.record(e);
    const float places[10][2] = {{200, 600}, {200, 800}, {450, 800}, {700, 800}, {700, 700},
                                 {700, 600}, {450, 600}, {200, 600}, {200, 700}, {450, 700}};
    int n = 0;
    for (const STICKY_STRUCT* s = e->stickies; s != nullptr; s = s->next, ++n) {
        const uint32_t id = n < 9 ? uint32_t(n + 1) : 0;
        EXPECT_EQ(s->id, id);
        EXPECT_EQ(s->type, id == 0 ? 0 : id == 9 ? 3 : 1);
        EXPECT_EQ(s->x, places[id][0]) << id;
        EXPECT_EQ(s->y, places[id][1]) << id;
    }
    EXPECT_EQ(n, 10);
    EXPECT_EQ(e->stickies->prev, nullptr);
    EXPECT_EQ(getSticky(e->stickies, 0)->halfWidth, 500);
    EXPECT_EQ(e->x, 450);
    EXPECT_EQ(e->y, 700);
    EXPECT_EQ(e->width, 500);

    // The left edge dragged past the right one: positive width, x swapped.
    EDIT_PARA_STRUCT p{};
    editGraph(e, e->stickies, 8, 0, &p);
    p.x = 900;
    p.y = 700;
    editGraph(e, e->stickies, 8, 1, &p);
    editGraph(e, e->stickies, 8, 2, &p);
    EXPECT_EQ(g->x, 700);
    EXPECT_EQ(g->width, 200);
    EXPECT_EQ(g->y, 600);
    EXPECT_EQ(g->height, 200);
    EXPECT_EQ(e->editBackup, nullptr);
    p = {};
    p.x = 10;
    editGraph(e, e->stickies, 9, 3, &p); // centre to (10, 0)
    EXPECT_EQ(g->x, -90);
    EXPECT_EQ(g->y, -100);

    struct Style
    {
        int command;
        float value, r;
        int intValue;
    };
    const Style styles[] = {{20, 3, 0, 0}, {21, 0, 0, 3}, {22, 0, 0.2f, 0}, {23, 0, 0.4f, 0},
                            {25, 0, 0.6f, 0}, {26, 0, 0.8f, 0}};
    e->attr.lineColorOverride = e->attr.textOverride = 1;
    for (const Style& s : styles) {
        p = {};
        p.value = s.value;
        p.r = s.r;
        p.intValue = s.intValue;
        EXPECT_EQ(editGraph(e, e->stickies, s.command, 3, &p), 0);
    }
    EXPECT_EQ(g->outlineWidth, 3);
    EXPECT_EQ(g->gridStyleIndex, 3);
    EXPECT_EQ(g->gridStipplePattern, 0xF0F0);
    EXPECT_EQ(g->gridColor[0], 0.2f);
    EXPECT_EQ(g->gridColor[3], 0.6f);
    EXPECT_EQ(g->outlineColor[0], 0.4f);
    EXPECT_EQ(g->outlineColor[3], 0.8f);
    // The block carries the outline colour as line colour, the grid colour
    // as fill colour, so that colour actions recolour them.
    EXPECT_EQ(e->attr.lineColor[3], 0.8f);
    EXPECT_EQ(e->attr.fillColor[0], 0.2f);
    EXPECT_EQ(e->attr.lineColorOverride + e->attr.textOverride, 0);
    EXPECT_EQ(editGraph(nullptr, nullptr, 20, 3, &p), -1);
}

TEST_F(Graph, AutomaticSpacing)
{
    struct Case
    {
        bool y;
        float lo, hi, length;
        float space, ref;
        int sub;
    };
    const Case cases[] = {
        {false, 0, 100, 500, 10, 10, 5},     // raw 10 on x: step 10, lines at 10 .. 100
        {true, -100, 100, 200, 50, 0, 5},    // raw 20: m 2 is not below 2 on y
        {false, -100, 100, 500, 20, 20, 4},  // raw 20: m 2 is below 2.1 on x
        {true, 0, 100, 200, 10, 0, 5},       // raw exactly 10
        {true, 0, 10, 200, 2, 0, 4},         // raw exactly 1: step 2 on y
        {false, 0, 10, 500, 1, 1, 5},        // and step 1 on x
        {false, 0, 1, 500, 0.1f, 0.1f, 5},   // below 1
        {false, 0, 100, 40, -1, 0, 7},       // too short: no lines, sub kept
        {true, 5, 5, 200, -1, 0, 7},         // empty range
        {false, 10, 0, 500, -1, 0, 7},       // reversed
    };
    for (const Case& c : cases) {
        float space = 123, ref = 123;
        int sub = 7;
        auto f = c.y ? VGraphGetAutoParaY : VGraphGetAutoParaX;
        EXPECT_EQ(f(c.lo, c.hi, c.length, &space, &ref, &sub), 0);
        EXPECT_NEAR(space, c.space, 1e-6) << c.y << " " << c.lo << ".." << c.hi << " over " << c.length;
        EXPECT_NEAR(ref, c.ref, 1e-6) << c.lo << ".." << c.hi;
        EXPECT_EQ(sub, c.sub) << c.lo << ".." << c.hi;
    }
    EXPECT_EQ(VGraphGetAutoParaX(0, 1, 1, nullptr, nullptr, nullptr), -1);
}

TEST_F(Graph, LagInterpolationAndAutoscaling)
{
    float state = 0;
    EXPECT_FLOAT_EQ(pt1(3, 0.2f, 0.1f, &state), 1) << "a third of the way";
    EXPECT_FLOAT_EQ(pt1(3, 0.2f, 0.1f, &state), 1 + 2.0f / 3);
    state = 0;
    EXPECT_FLOAT_EQ(pt1(12, 0.2f, 5, &state), 10) << "dt capped at 1";
    EXPECT_EQ(pt1(4, 0, 0, &state), 4);
    float x = 0;
    EXPECT_EQ(getIpol(0, 0, 10, 100, 25, &x), 0);
    EXPECT_FLOAT_EQ(x, 2.5f);
    EXPECT_EQ(getIpol(0, 5, 10, 5, 25, &x), 0);
    EXPECT_EQ(x, 10) << "a level line";
    EXPECT_EQ(getIpol(0, 0, 1, 1, 0, nullptr), -1);

    support::GraphView view;
    ELEMENT_STRUCT* e = view.graph(1, 9, 10, 2);
    ASSERT_EQ(view.bind(), 0);
    resetAllGraphs(view.elements, 0);
    GRAPH_STRUCT* g = view.record(e);
    ACTION_STRUCT* first = view.traces[0].action;
    ACTION_STRUCT* second = view.traces[1].action;
    const float ys[] = {0, 10, NAN, INFINITY};
    for (int i = 0; i < 4; ++i) {
        support::GraphView::put(view.traces[0].y, ys[i]);
        support::GraphView::put(view.traces[0].x, float(i));
        support::GraphView::put(view.traces[1].y, 5);
        support::GraphView::put(view.traces[1].x, 100);
        fillGraph(e, g, 0.05f + 0.1f * float(i), 0);
    }
    // 0..10 (what is not a number left out) widened by 1 each way, a third
    // of the way from -100, 100.
    EXPECT_EQ(graphAutoScale(g, e->actions, 0.1f), 0);
    EXPECT_NEAR(g->ymin, -67, 1e-4);
    EXPECT_NEAR(g->ymax, (11 * 0.1 + 100 * 0.2) / 0.3, 1e-4);
    second->disabled = 1;
    EXPECT_EQ(graphAutoScaleX(g, e->actions, 0.1f), 0);
    EXPECT_NEAR(g->xmax, (3.003 * 0.1 + 100 * 0.2) / 0.3, 1e-4) << "margin 0.001, the disabled trace left out";

    // Equal bounds: +-1, the lags untouched. A small range widened to the
    // least spread, margin included.
    first->disabled = 1;
    second->disabled = 0;
    const float lag = g->lagYMin;
    graphAutoScale(g, e->actions, 0.1f);
    EXPECT_EQ(g->ymin, 4);
    EXPECT_EQ(g->ymax, 6);
    EXPECT_EQ(g->lagYMin, lag);
    first->disabled = 0;
    g->minSpreadY = 24;
    g->lagYMin = -7;
    g->lagYMax = 17;
    graphAutoScale(g, e->actions, 0.1f);
    EXPECT_NEAR(g->ymin, -7, 1e-5) << "0..10 spread to -5..15, 2 margin each way";
    EXPECT_NEAR(g->ymax, 17, 1e-5);
    EXPECT_STREQ(g->yLabelFormat, "%2.0f");
    g->labelFixY = 1;
    g->tickYSpace = 0.5f;
    graphAutoScale(g, e->actions, 0.1f);
    EXPECT_STREQ(g->yLabelFormat, "%2.0f") << "a fixed axis keeps its format";
}

} // namespace
