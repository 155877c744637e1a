// Mouse actions: press, move and release sequences for every mouse action
// and mode, wrapping and clamping at both ends, rotary knobs, buttons that
// do not match, and the typed write with its set-pending flag.
#include "actionSupport.h"
#include "dataSourceSupport.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using support::ActionView;
using support::addAction;

const uint32_t press = 0, release = 1, move = 7;
const int none = -1; // pending flag not checked

struct Step
{
    uint32_t event, button;
    float x, y;
    double value; // of the variable afterwards
    int pending;
};

struct Sequence
{
    const char* name;
    int mouseAction, mouseMode, clamp;
    float inc, min, max;
    double initial;
    std::vector<Step> steps;
    std::function<void(ACTION_STRUCT*)> extra = nullptr;
};

// The element is a 40 x 20 box centred at (100, 50) inside a group whose
// centre is (10, 5): its centre in the view is (110, 55).
TEST(ActionInput, PressMoveReleaseSequences)
{
    const Sequence sequences[] = {
        {"press sets", 0, 0, 0, 5, 0, 10, 1, {{press, 0, 0, 0, 5, 1}, {release, 0, 0, 0, 5, none}, {press, 0, 0, 0, 5, 0}}},
        {"increment wraps to the minimum", 0, 1, 0, 1, 0, 3, 2,
         {{press, 0, 0, 0, 3, 1}, {press, 0, 0, 0, 0, 1}, {press, 0, 0, 0, 1, 1}, {release, 0, 0, 0, 1, 1}}},
        {"increment clamps", 0, 1, 1, 1, 0, 3, 2, {{press, 0, 0, 0, 3, 1}, {press, 0, 0, 0, 3, 0}}},
        {"release decrements and wraps to the maximum", 1, 2, 0, 1, 0, 3, 1,
         {{press, 0, 0, 0, 1, none}, {release, 0, 0, 0, 0, 1}, {release, 0, 0, 0, 3, 1}}},
        {"decrement clamps", 1, 2, 1, 1, 0, 3, 0.5, {{release, 0, 0, 0, 0, 1}, {release, 0, 0, 0, 0, 0}}},
        {"mapped increment", 0, 1, 0, 1, 0, 10, 30,
         {{press, 0, 0, 0, 40, 1}},
         [](ACTION_STRUCT* a) { a->a1 = 10, a->b1 = 100; }},
        {"move in x across the element", 2, 0, 0, 1, 0, 100, 7,
         {{press, 0, 110, 0, 50, 1}, {move, 0, 130, 0, 100, 1}, {move, 0, 90, 0, 0, 1}, {move, 0, 140, 0, 125, 1},
          {release, 0, 200, 0, 125, none}}},
        {"relative move in y", 3, 1, 0, 1, 0, 10, 5,
         {{press, 0, 0, 55, 5, 0}, {move, 0, 0, 65, 6, 1}, {move, 0, 0, 45, 4, 1}}},
        {"relative move wraps once", 3, 2, 0, 1, 0, 1, 0.75,
         {{press, 0, 0, 55, 0.75, 0}, {move, 0, 0, 65, 0.75, 0}, {move, 0, 0, 45, 0.75, 0}}},
        {"relative move clamps", 3, 1, 1, 1, 0, 1, 0.75,
         {{press, 0, 0, 55, 0.75, 0}, {move, 0, 0, 65, 1, 1}, {move, 0, 0, 35, 0, 1}}},
        {"absolute x", 4, 0, 0, 1, 0, 1, 0, {{press, 0, 123, 0, 123, 1}, {move, 0, -7, 0, -7, 1}}},
        {"relative absolute y clamps", 5, 2, 1, 1, 0, 100, 10,
         {{press, 0, 0, 55, 10, 0}, {move, 0, 0, 95, 50, 1}, {move, 0, 0, 200, 100, 1}, {move, 0, 0, 0, 0, 1}}},
        {"relative absolute x wraps", 4, 1, 0, 1, 0, 100, 90, {{press, 0, 0, 0, 90, 0}, {move, 0, 20, 0, 10, 1}}},
        {"rotary to the angle", 6, 0, 0, 1, 0, 270, 0,
         {{press, 0, 120, 55, 90, 1}, {move, 0, 100, 55, 270, 1}, {move, 0, 100, 65, 270, 0}, {move, 0, 110, 45, 180, 1}}},
        {"rotary turned past its maximum comes in at the minimum", 6, 1, 0, 1, 0, 360, 350,
         {{press, 0, 110, 65, 350, 0},
          {move, 0, 120, 55, 80, 1},
          {move, 0, 110, 45, 170, 1},
          {move, 0, 100, 55, 260, 1},
          {move, 0, 110, 65, 350, 1},
          {move, 0, 100, 55, 260, 1}}},
        {"rotary backwards through the minimum", 6, 2, 0, 1, 0, 360, 10,
         {{press, 0, 110, 65, 10, 0}, {move, 0, 100, 55, 280, 1}}},
        {"rotary clamps", 6, 1, 1, 1, 0, 360, 350, {{press, 0, 110, 65, 350, 0}, {move, 0, 120, 55, 360, 1}}},
        {"rotary over a range of no width ends its loop", 6, 1, 0, 1, 5, 5, 5,
         {{press, 0, 110, 65, 5, 0}, {move, 0, 120, 55, 95, 1}}},
        {"other buttons are ignored", 0, 0, 0, 5, 0, 10, 1,
         {{press, 0, 0, 0, 1, 0}, {press, 1, 0, 0, 1, 0}, {press, 2, 0, 0, 5, 1}},
         [](ACTION_STRUCT* a) { a->mouseButton = 2; }},
        {"move action 7 does nothing", 7, 0, 0, 5, 0, 10, 1, {{press, 0, 0, 0, 1, 0}, {move, 0, 9, 9, 1, 0}}},
        {"unknown modes do nothing", 2, 3, 0, 5, 0, 10, 1, {{press, 0, 0, 0, 1, 0}, {move, 0, 9, 9, 1, 0}}},
        {"no slope: the current value is the minimum", 0, 1, 0, 1, 2, 10, 7,
         {{press, 0, 0, 0, 4, 1}, {press, 0, 0, 0, 4, 0}},
         [](ACTION_STRUCT* a) { a->b0 = a->b1 = 4; }},
    };
    for (const Sequence& s : sequences) {
        SCOPED_TRACE(s.name);
        ActionView view;
        DD_VAR_STRUCT* var = ActionView::variable(view.source(), "knob", DD_DOUBLE);
        ELEMENT_STRUCT* group = view.element(VD_GROUP);
        group->x = 10;
        group->y = 5;
        ELEMENT_STRUCT* e = view.element(VD_RECTANGLE, group);
        e->x = 100;
        e->y = 50;
        e->width = 40;
        e->height = 20;
        ACTION_STRUCT* a = addAction(e, 22, "knob");
        a->mouseAction = s.mouseAction;
        a->mouseMode = s.mouseMode;
        a->mouseClamp = s.clamp;
        a->mouseInc = s.inc;
        a->mouseMin = s.min;
        a->mouseMax = s.max;
        if (s.extra)
            s.extra(a);
        ASSERT_EQ(view.bind(), 0);
        EXPECT_EQ(var->write, 1);
        support::setValue(var, s.initial);
        int n = 0;
        for (const Step& step : s.steps) {
            SCOPED_TRACE("step " + std::to_string(++n));
            EXPECT_EQ(doActionInput(step.event, step.button, e, step.x, step.y), 0);
            const double value = support::valueOf<double>(var);
            EXPECT_NEAR(value, step.value, 1e-4);
            if (step.pending != none) {
                EXPECT_EQ(var->setPending, step.pending);
            }
        }
    }
    EXPECT_EQ(doActionInput(press, 0, nullptr, 0, 0), -1);

    // An element without extent has no position across it: its middle.
    ActionView view;
    DD_VAR_STRUCT* var = ActionView::variable(view.source(), "knob", DD_DOUBLE);
    ELEMENT_STRUCT* flat = view.element(VD_LINE);
    ACTION_STRUCT* slider = addAction(flat, 22, "knob");
    slider->mouseAction = 3;
    slider->mouseMax = 10;
    ASSERT_EQ(view.bind(), 0);
    doActionInput(press, 0, flat, 0, 7);
    EXPECT_EQ(support::valueOf<double>(var), 5.0);
}

TEST(ActionInput, WritesInTheVariableTypeAndNeverANonNumber)
{
    struct Row
    {
        int type;
        double value;
        int64_t stored; // the storage read in the type's width, sign-extended
    };
    const Row rows[] = {
        {DD_CHAR, 300, 44},
        {DD_UCHAR, -1, 255},
        {DD_SHORT, 40000, -25536},
        {DD_USHORT, -1, 65535},
        {DD_INT, -7.9, -7},
        {DD_INT, 3e9, -1294967296},
        {DD_UINT, -1, 4294967295},
        {DD_LONG, -3e9, -3000000000},
        {DD_ULONG, 9223373136366403584.0, int64_t(0x8000010000000000)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        ActionView view;
        DD_VAR_STRUCT* var = ActionView::variable(view.source(), "v", row.type);
        ACTION_STRUCT* a = addAction(view.element(VD_RECTANGLE), 22, "v");
        ASSERT_EQ(view.bind(), 0);
        std::memset(var->value, 0xAB, 8);
        ASSERT_EQ(putFloatData(row.value, a), 0);
        const int width = row.type <= DD_UCHAR ? 1 : row.type <= DD_USHORT ? 2 : row.type <= DD_UINT ? 4 : 8;
        int64_t stored = 0;
        std::memcpy(&stored, var->value, size_t(width));
        if (width < 8 && row.stored < 0)
            stored -= int64_t(1) << (8 * width);
        EXPECT_EQ(stored, row.stored);
        EXPECT_EQ(static_cast<unsigned char*>(var->value)[width < 8 ? width : 7], width < 8 ? 0xAB : stored >> 56 & 0xFF)
            << "only the type's width is written";
    }

    ActionView view;
    DD_DATA_TYPE_STRUCT* source = view.source();
    DD_VAR_STRUCT* f = ActionView::variable(source, "f", DD_FLOAT);
    DD_VAR_STRUCT* d = ActionView::variable(source, "d", DD_DOUBLE);
    DD_VAR_STRUCT* t = ActionView::variable(source, "t", DD_STRING);
    ELEMENT_STRUCT* e = view.element(VD_RECTANGLE);
    ACTION_STRUCT* toFloat = addAction(e, 22, "f");
    ACTION_STRUCT* toDouble = addAction(e, 22, "d", 0, 1, 10, -10); // reversed output range
    ACTION_STRUCT* toText = addAction(e, 22, "t");
    ACTION_STRUCT* unbound = addAction(e, 22, "missing");
    ASSERT_EQ(view.bind(), 0);

    EXPECT_EQ(putFloatData(1e300, toFloat), 0);
    EXPECT_EQ(support::valueOf<float>(f), FLT_MAX) << "no infinity in a float variable";
    EXPECT_EQ(putFloatData(-1e300, toFloat), 0);
    EXPECT_EQ(support::valueOf<float>(f), -FLT_MAX);
    EXPECT_EQ(putFloatData(NAN, toDouble), -2);
    EXPECT_EQ(putFloatData(INFINITY, toDouble), -2);
    EXPECT_EQ(support::valueOf<double>(d), 0.0);
    toDouble->limit = 1;
    EXPECT_EQ(putFloatData(25, toDouble), 0);
    EXPECT_EQ(support::valueOf<double>(d), 10.0) << "clamped between the smaller and the larger end";
    EXPECT_EQ(putFloatData(-INFINITY, toDouble), 0);
    EXPECT_EQ(support::valueOf<double>(d), -10.0);
    EXPECT_EQ(d->setPending, 1);
    EXPECT_EQ(putFloatData(-11, toDouble), 0);
    EXPECT_EQ(d->setPending, 0) << "the same value again";
    // A variable that holds no number counts as changed when written.
    support::setValue(d, double(NAN));
    EXPECT_EQ(putFloatData(-10, toDouble), 0);
    EXPECT_EQ(d->setPending, 1);

    std::snprintf(static_cast<char*>(t->value), 256, "%s", "keep");
    t->setPending = 1;
    EXPECT_EQ(putFloatData(5, toText), 0);
    EXPECT_STREQ(static_cast<char*>(t->value), "keep");
    EXPECT_EQ(t->setPending, 0);
    EXPECT_EQ(putFloatData(5, unbound), -1);
    EXPECT_EQ(putFloatData(5, nullptr), -1);

    // Input from a variable that holds no number starts at the minimum.
    toDouble->limit = 0;
    toDouble->mouseAction = 0;
    toDouble->mouseMode = 1;
    toDouble->mouseMin = 2;
    toDouble->mouseMax = 9;
    toFloat->mouseButton = toText->mouseButton = unbound->mouseButton = 1;
    support::setValue(d, double(NAN));
    doActionInput(press, 0, e, 0, 0);
    EXPECT_EQ(support::valueOf<double>(d), 10 - 20 * 3.0);
}

} // namespace
