// Binding actions to variables and evaluating them for a frame: lookup by
// name across sources, thresholds into the attribute block, mapping and
// clamping, filters, the hold flag and text readouts (matrix actions are
// checked in a GL context, gltest_actionMatrix).
#include "actionSupport.h"
#include "dataSourceSupport.h"
#include "leakCheck.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using support::ActionView;
using support::addAction;
using support::addTh;

std::string textOf(const ELEMENT_STRUCT* e)
{
    return e->attr.text;
}

TEST(ActionBinding, VariablesFoundByNameLastMatchWinsMissingReported)
{
    {
        ActionView view;
        DD_DATA_TYPE_STRUCT* first = view.source();
        DD_DATA_TYPE_STRUCT* second = view.source();
        DD_VAR_STRUCT* speed1 = ActionView::variable(first, "speed", DD_FLOAT);
        DD_VAR_STRUCT* mode = ActionView::variable(first, "mode", DD_INT);
        DD_VAR_STRUCT* speed2 = ActionView::variable(second, "speed", DD_DOUBLE);
        DD_VAR_STRUCT* label = ActionView::variable(second, "label", DD_STRING);
        speed1->write = speed2->write = 1;

        ELEMENT_STRUCT* rect = view.element(VD_RECTANGLE);
        ELEMENT_STRUCT* group = view.element(VD_GROUP);
        ELEMENT_STRUCT* child = view.element(VD_RECTANGLE, group);
        ACTION_STRUCT* colour = addAction(rect, 12, "speed");
        ACTION_STRUCT* missing = addAction(rect, 14, "nope");
        ACTION_STRUCT* mouse = addAction(child, 22, "mode");

        // At load: only variables that a mouse action names are written.
        EXPECT_EQ(assignVariablesReadWrite(view.elements, view.sources), 0);
        EXPECT_EQ(speed1->write, 0);
        EXPECT_EQ(speed2->write, 0);
        EXPECT_EQ(mode->write, 1) << "found inside a group";

        support::LogCapture log;
        ASSERT_EQ(view.bind(), 0);
        EXPECT_EQ(log.take(), "error: var <nope> not found\n");
        for (DD_VAR_STRUCT* v : {speed1, mode, speed2, label}) {
            EXPECT_EQ(v->used, 1);
            ASSERT_NE(v->value, nullptr);
        }
        EXPECT_EQ(colour->value, speed2->value) << "the last variable of a name in the walk";
        EXPECT_EQ(colour->varRecord, speed2);
        EXPECT_EQ(colour->valueType, DD_DOUBLE);
        ASSERT_NE(colour->snapshot, nullptr);
        EXPECT_NE(colour->snapshot, colour->value);
        EXPECT_EQ(missing->value, nullptr);
        EXPECT_EQ(missing->snapshot, nullptr);
        EXPECT_EQ(mouse->value, mode->value);
        EXPECT_EQ(mode->write, 1);
        EXPECT_EQ(speed2->write, 0);

        // A graph's actions get both rings of samples + 1; an XY action
        // reads both variables with the type of the one met last.
        ELEMENT_STRUCT* graph = view.element(VD_GRAPH);
        static_cast<GRAPH_STRUCT*>(graph->data)->samples = 7;
        ACTION_STRUCT* xy = addAction(graph, 6, "mode");
        std::snprintf(xy->secondVar, sizeof xy->secondVar, "%s", "label");
        ACTION_STRUCT* yx = addAction(graph, 6, "speed");
        std::snprintf(yx->secondVar, sizeof yx->secondVar, "%s", "mode");
        ELEMENT_STRUCT* broken = view.element(VD_GRAPH);
        static_cast<GRAPH_STRUCT*>(broken->data)->samples = -20;
        ACTION_STRUCT* corrupt = addAction(broken, 6, "mode");

        void* oldStorage = mode->value;
        ASSERT_EQ(view.bind(), 0) << "binding again releases the previous snapshots and rings";
        EXPECT_NE(mode->value, oldStorage);
        EXPECT_EQ(mouse->value, mode->value);
        EXPECT_EQ(xy->value, mode->value);
        EXPECT_EQ(xy->secondValue, label->value);
        EXPECT_EQ(xy->varRecord, mode);
        EXPECT_EQ(xy->valueType, DD_STRING);
        EXPECT_EQ(yx->valueType, DD_DOUBLE);
        for (const ACTION_RING* ring : {&xy->input, &xy->display, &yx->display}) {
            EXPECT_EQ(ring->capacity, 8);
            EXPECT_NE(ring->values, nullptr);
            EXPECT_NE(ring->secondValues, nullptr);
        }
        EXPECT_EQ(colour->input.capacity, 0) << "rings only on graphs";
        EXPECT_EQ(corrupt->input.capacity, 2) << "a negative sample count counts as one sample";

        // The second variable gave the text type while the first one's
        // storage holds 8 bytes: a text readout reads no further.
        ELEMENT_STRUCT* text = view.element(VD_TEXT);
        ACTION_STRUCT* mixed = addAction(text, 0, "mode");
        std::snprintf(mixed->secondVar, sizeof mixed->secondVar, "%s", "label");
        ASSERT_EQ(view.bind(), 0);
        ASSERT_EQ(mixed->valueType, DD_STRING);
        std::memcpy(mode->value, "ABCDEFGH", 8);
        doAction(text, 0);
        EXPECT_EQ(textOf(text), "ABCDEFGH");
    }
    expectNoLeaks();
}

TEST(ActionEvaluation, ThresholdsPickTheLastLevelBelowTheValue)
{
    ActionView view;
    DD_VAR_STRUCT* var = ActionView::variable(view.source(), "v", DD_DOUBLE);
    ELEMENT_STRUCT* e = view.element(VD_RECTANGLE);
    ELEMENT_STRUCT* child = view.element(VD_RECTANGLE, e); // visibility reaches what it holds
    const int types[] = {12, 13, 14, 15, 17, 25};
    for (int type : types) {
        ACTION_STRUCT* a = addAction(e, type, "v");
        TH_BLOCK& block = type <= 13 ? a->thColor : type == 14 ? a->thWidth : type == 15 ? a->thStyle
                                                  : type == 17 ? a->thVisibility : a->thBlink;
        addTh(block, 0, 1, 0.1f, 0.2f, 0.3f);
        addTh(block, 10, 0, 0.4f, 0.5f, 0.6f);
        addTh(block, 20, 7, 0.7f, 0.8f, 0.9f);
    }
    ASSERT_EQ(view.bind(), 0);

    struct Row
    {
        double value;
        int entry; // 0, 1 or 2
    };
    const Row rows[] = {{-5, 0}, {0, 0}, {0.5, 0}, {10, 0}, {10.5, 1}, {20, 1}, {1e9, 2}};
    const float colours[3][3] = {{0.1f, 0.2f, 0.3f}, {0.4f, 0.5f, 0.6f}, {0.7f, 0.8f, 0.9f}};
    const int ints[3] = {1, 0, 7};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        e->attr = ATTR_STRUCT{};
        e->attr.lineColor[3] = e->attr.fillColor[3] = 0.5f;
        support::setValue(var, row.value);
        doAction(e, 0);
        const ATTR_STRUCT& at = e->attr;
        for (int i = 0; i < 3; ++i) {
            EXPECT_FLOAT_EQ(at.lineColor[i], colours[row.entry][i]);
            EXPECT_FLOAT_EQ(at.fillColor[i], colours[row.entry][i]);
        }
        EXPECT_FLOAT_EQ(at.lineColor[3], 0.5f) << "alpha kept";
        EXPECT_EQ(at.lineWidth, ints[row.entry]);
        EXPECT_EQ(at.lineStyle, ints[row.entry]);
        EXPECT_EQ(at.stippleFactor, ints[row.entry]);
        EXPECT_EQ(at.stipplePattern, 0x1111 * ints[row.entry]);
        EXPECT_EQ(at.visible, ints[row.entry]);
        EXPECT_EQ(child->attr.visible, ints[row.entry]);
        EXPECT_EQ(at.blink, ints[row.entry] != 0);
        EXPECT_EQ(at.blinkRate, ints[row.entry]);
        EXPECT_TRUE(at.lineColorOverride && at.fillColorOverride && at.lineWidthOverride && at.lineStyleOverride &&
                    at.visibleOverride && child->attr.visibleOverride && at.blinkOverride);
    }

    // Empty lists leave the attribute and its override alone.
    ELEMENT_STRUCT* bare = view.element(VD_RECTANGLE);
    for (int type : types)
        addAction(bare, type, "v");
    ASSERT_EQ(view.bind(), 0);
    bare->attr = ATTR_STRUCT{};
    bare->attr.lineColor[0] = 0.25f;
    bare->attr.lineWidth = 3;
    bare->attr.visible = 1;
    support::setValue(var, 15.0);
    doAction(bare, 0);
    EXPECT_FLOAT_EQ(bare->attr.lineColor[0], 0.25f);
    EXPECT_EQ(bare->attr.lineWidth, 3);
    EXPECT_EQ(bare->attr.visible, 1);
    EXPECT_FALSE(bare->attr.lineColorOverride || bare->attr.fillColorOverride || bare->attr.lineWidthOverride ||
                 bare->attr.lineStyleOverride || bare->attr.visibleOverride || bare->attr.blinkOverride);
}

TEST(ActionEvaluation, MappingClampVisibleValuePressedStateAndArc)
{
    ActionView view;
    DD_VAR_STRUCT* var = ActionView::variable(view.source(), "v", DD_FLOAT);
    ELEMENT_STRUCT* text = view.element(VD_TEXT);
    ACTION_STRUCT* clamped = addAction(text, 0, "v", 0, 10, 100, 0); // slope -10, b0 > b1
    clamped->limit = 1;
    std::snprintf(clamped->format, sizeof clamped->format, "%s", "%g");
    ELEMENT_STRUCT* same = view.element(VD_TEXT);
    ACTION_STRUCT* identity = addAction(same, 0, "v", 3, 3, 50, 80); // equal input ends
    std::snprintf(identity->format, sizeof identity->format, "%s", "%g");
    ELEMENT_STRUCT* button = view.element(VD_BUTTON);
    ACTION_STRUCT* shown = addAction(button, 17, "v");
    shown->visibleMode = 1;
    shown->visibleValue = 3;
    addAction(button, 23, "v");
    ELEMENT_STRUCT* arc = view.element(VD_ARC);
    addAction(arc, 24, "v", 0, 1, 0, 2);
    ASSERT_EQ(view.bind(), 0);
    EXPECT_FLOAT_EQ(identity->offset, 0);
    EXPECT_FLOAT_EQ(identity->slope, 1);

    struct Row
    {
        float value;
        const char* clampedText;
        const char* identityText;
        int visible;
        int pressed;
    };
    const Row rows[] = {
        {-5, "100", "-5", 0, 251}, {2.5f, "75", "2.5", 0, 2}, {3.05f, "69.5", "3.05", 1, 3}, {20, "0", "20", 0, 20}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        support::setValue(var, row.value);
        for (ELEMENT_STRUCT* e = view.elements; e != nullptr; e = e->next)
            doAction(e, 0);
        EXPECT_EQ(textOf(text), row.clampedText);
        EXPECT_EQ(textOf(same), row.identityText);
        EXPECT_EQ(button->attr.visible, row.visible);
        EXPECT_EQ(button->attr.lineStyle, row.pressed);
        EXPECT_TRUE(button->attr.lineColorOverride);
        EXPECT_FLOAT_EQ(arc->attr.arcEnd, float(2 * double(row.value) * 0.017453292));
    }
}

TEST(ActionEvaluation, FiltersStepByATenthOfASecondEachFrame)
{
    ActionView view;
    DD_VAR_STRUCT* var = ActionView::variable(view.source(), "v", DD_FLOAT);
    ELEMENT_STRUCT* held = view.element(VD_TEXT);
    ACTION_STRUCT* hold = addAction(held, 0, "v");
    hold->filter = 1;
    hold->filterTime = 0.25f;
    std::snprintf(hold->format, sizeof hold->format, "%s", "%g");
    ACTION_STRUCT* lag = addAction(view.element(VD_RECTANGLE), 13, "v");
    lag->filter = 2;
    lag->filterTime = 0.3f;
    ASSERT_EQ(view.bind(), 0);

    // Sample and hold takes a new value once more than 0.25 s have passed.
    const char* heldTexts[] = {"0", "0", "3", "3", "3", "6"};
    for (int frame = 1; frame <= 6; ++frame) {
        support::setValue(var, float(frame));
        doAction(held, 0);
        EXPECT_EQ(textOf(held), heldTexts[frame - 1]) << frame;
    }
    // The lag approaches a step to 1, computed in single precision.
    support::setValue(var, 1.0f);
    const double lagged[] = {0.25, 0.4375, 0.578125, 0.68359375, 0.7626953125};
    for (double expected : lagged) {
        const double out = getActionFloatData(lag, 1, 0.1f);
        EXPECT_NEAR(out, expected, 1e-6);
        EXPECT_EQ(out, double(float(out)));
    }

    // A lag without time constant read without a step passes the input
    // instead of dividing zero by zero.
    lag->filterTime = 0;
    support::setValue(var, 4.0f);
    EXPECT_EQ(getActionFloatData(lag, 1, 0.0f), 4.0);
    EXPECT_EQ(getActionFloatData(lag, 0, 0.0f), 0.0) << "the snapshot, never taken";
    EXPECT_EQ(getActionFloatData(lag, 2, 0.0f), 0.0) << "no second variable";
    EXPECT_EQ(getActionFloatData(nullptr, 1, 0.1f), 0.0);
}

TEST(ActionEvaluation, HoldFlagFreezesThePicture)
{
    ActionView view;
    DD_VAR_STRUCT* var = ActionView::variable(view.source(), "v", DD_INT);
    ELEMENT_STRUCT* text = view.element(VD_TEXT);
    ACTION_STRUCT* readout = addAction(text, 0, "v");
    std::snprintf(readout->format, sizeof readout->format, "%s", "%d");
    ACTION_STRUCT* colour = addAction(text, 12, "v");
    addTh(colour->thColor, 0, 1, 1, 0, 0);
    addTh(colour->thColor, 5, 1, 0, 1, 0);
    colour->disabled = 1; // only graphs leave disabled actions out
    ASSERT_EQ(view.bind(), 0);

    support::setValue(var, 1);
    doAction(text, 0);
    support::setValue(var, 9);
    doAction(text, 1);
    doAction(text, 1);
    EXPECT_EQ(textOf(text), "1");
    EXPECT_FLOAT_EQ(text->attr.lineColor[0], 1);
    doAction(text, 0);
    EXPECT_EQ(textOf(text), "9");
    EXPECT_FLOAT_EQ(text->attr.lineColor[1], 1);
}

// The value v stored into a variable of the type, shown through the format.
struct FormatRow
{
    int type;
    double stored;
    float scale; // b1 of the mapping, so that v = stored x scale
    const char* format;
    const char* shown;
};

TEST(ActionEvaluation, TextFormatsByValueTypeAndRefusesUnsafeFormats)
{
    const FormatRow rows[] = {
        {DD_FLOAT, 0.1, 1, "%.10f", "0.1000000015"},
        {DD_DOUBLE, 0.1, 1, "%.10f", "0.1000000000"},
        {DD_DOUBLE, 2.5, 1, "Speed %%: %5.1f", "Speed %:   2.5"},
        {DD_DOUBLE, 12345, 1, "%e", "1.234500e+04"},
        {DD_DOUBLE, 2.5, 1, "%Lf|%lf", "2.5"}, // two conversions
        {DD_DOUBLE, 2.5, 1, "%Lf", "2.500000"},
        {DD_DOUBLE, 2.5, 1, "%lf", "2.500000"},
        {DD_DOUBLE, 2.5, 1, "%x", "2"},
        {DD_CHAR, 100, 2, "%d", "-56"},
        {DD_UCHAR, 150, 2, "%d", "44"},
        {DD_SHORT, 20000, 2, "%d", "-25536"},
        {DD_USHORT, 35000, 2, "%d", "4464"},
        {DD_INT, 7, 1, "%d km", "7 km"},
        {DD_INT, 7, 0.5f, "%.2f ft", "3.50 ft"},
        {DD_INT, 7, 0.5f, "%d ft", "3 ft"}, // an f anywhere makes it a float
        {DD_INT, 255, 1, "%04X", "00FF"},
        {DD_INT, 42, 1, "%hhd", "42"},
        {DD_UINT, 4294967295.0, 1, "%u", "4294967295"},
        {DD_UINT, 4294967295.0, 1, "%lld", "4294967295"},
        {DD_LONG, -3e9, 1, "%lld", "-3000000000"},
        {DD_LONG, -3e9, 1, "%d", "1294967296"}, // the low 32 bits
        {DD_ULONG, 9223373136366403584.0, 1, "%llu", "9223373136366403584"},
        {DD_ULONG, 9223373136366403584.0, 1, "%zu", "9223373136366403584"},
        {DD_DOUBLE, 1e40, 1, "%.0f", "10000000000000000303786028427003666890752"},
        {DD_FLOAT, 5, 1, "", "5"},
        // Formats that printf cannot take with one number: the number alone.
        {DD_DOUBLE, 2.5, 1, "%s", "2.5"},
        {DD_INT, 42, 1, "%s", "42"},
        {DD_INT, 42, 1, "%n", "42"},
        {DD_DOUBLE, 2.5, 1, "%d %d", "2.5"},
        {DD_DOUBLE, 2.5, 1, "%p", "2.5"},
        {DD_INT, 42, 1, "%*d", "42"},
        {DD_INT, 42, 1, "%.*d", "42"},
        {DD_INT, 42, 1, "%1$d", "42"},
        {DD_INT, 42, 1, "%999d", "42"},
        {DD_DOUBLE, 2.5, 1, "%.300f", "2.5"},
        {DD_DOUBLE, 2.5, 1, "%ls", "2.5"},
        {DD_DOUBLE, 2.5, 1, "%hf", "2.5"},
        {DD_INT, 42, 1, "%Ld", "42"},
        {DD_INT, 42, 1, "%c", "42"},
        {DD_INT, 42, 1, "%m", "42"},
        {DD_INT, 42, 1, "%q", "42"},
        {DD_INT, 42, 1, "value %", "42"},
        {DD_ULONG, -1, 1, "%s", "18446744073709551615"},
    };
    for (const FormatRow& row : rows) {
        SCOPED_TRACE(std::string(row.format) + " type " + std::to_string(row.type));
        ActionView view;
        ActionView::variable(view.source(), "v", row.type);
        ELEMENT_STRUCT* text = view.element(VD_TEXT);
        ACTION_STRUCT* a = addAction(text, 0, "v", 0, 1, 0, row.scale);
        std::snprintf(a->format, sizeof a->format, "%s", row.format);
        ASSERT_EQ(view.bind(), 0);
        ASSERT_EQ(putFloatData(row.stored, a), 0);
        doAction(text, 0);
        EXPECT_EQ(textOf(text), row.shown);
        EXPECT_EQ(text->attr.textOverride, 1);
    }

    ActionView view;
    DD_VAR_STRUCT* number = ActionView::variable(view.source(), "n", DD_DOUBLE);
    DD_VAR_STRUCT* label = ActionView::variable(view.sources, "t", DD_STRING);
    ELEMENT_STRUCT* text = view.element(VD_TEXT);
    ACTION_STRUCT* a = addAction(text, 0, "n");
    ELEMENT_STRUCT* rect = view.element(VD_RECTANGLE);
    addAction(rect, 0, "n");
    ASSERT_EQ(view.bind(), 0);

    // Long output is cut to the 255 characters of the text.
    support::setValue(number, 1e300);
    std::snprintf(a->format, sizeof a->format, "%s", "%.10f");
    doAction(text, 0);
    EXPECT_EQ(textOf(text).size(), 255u);
    std::snprintf(a->format, sizeof a->format, "%s", "%255d");
    doAction(text, 0);
    EXPECT_EQ(textOf(text).size(), 255u);
    // A format filling its 64 bytes without an end is read no further.
    std::memset(a->format, 'x', sizeof a->format);
    std::memcpy(a->format, "%g", 2);
    doAction(text, 0);
    EXPECT_EQ(textOf(text), "1e+300" + std::string(62, 'x'));
    EXPECT_STREQ(rect->attr.text, "") << "only TEXT elements show text";
    EXPECT_EQ(rect->attr.textOverride, 0);

    // Text variables: one %s takes the text, anything else shows it as it is.
    std::snprintf(a->var, sizeof a->var, "%s", "t");
    ASSERT_EQ(view.bind(), 0);
    std::snprintf(static_cast<char*>(label->value), 256, "%s", "hello");
    const std::pair<const char*, const char*> texts[] = {
        {"<%s>", "<hello>"}, {"%.3s", "hel"}, {"%-7s|", "hello  |"}, {"%d", "hello"},
        {"%s %s", "hello"},  {"%n", "hello"}, {"", "hello"},
    };
    for (const auto& [format, shown] : texts) {
        std::snprintf(a->format, sizeof a->format, "%s", format);
        doAction(text, 0);
        EXPECT_EQ(textOf(text), shown) << format;
    }
    // A text without an end within its storage stops there.
    std::memset(label->value, 'y', 256);
    doAction(text, 0);
    EXPECT_EQ(textOf(text), std::string(255, 'y'));

    // Unbound after having been a text: the variable is reported.
    std::snprintf(a->var, sizeof a->var, "%s", "gone");
    ASSERT_EQ(view.bind(), 0);
    doAction(text, 0);
    EXPECT_EQ(textOf(text), "Var gone not found");
    // A value type no variable has leaves the placeholder.
    a->valueType = 11;
    doAction(text, 0);
    EXPECT_EQ(textOf(text), "XXX");
}

} // namespace
