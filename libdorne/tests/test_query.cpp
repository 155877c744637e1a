// The exported query and edit functions: actions, data sources, variables
// by handle and by name (text and raw values, every conversion), elements
// (enumeration, lookup, geometry, graph settings) and the public attribute
// record per kind.
#include "viewSupport.h"

#include "dorneObjects.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace viewtest;

namespace {

// ---- Actions ----

TEST(QueryActions, AccessorsAndTheirNullResults)
{
    ELEMENT_STRUCT* e = elementCreate(VD_RECTANGLE);
    ACTION_STRUCT* first = addAction(e, 22, "level");
    std::snprintf(first->secondVar, sizeof first->secondVar, "%s", "x");
    ACTION_STRUCT* second = addAction(e, 13, "colour");
    appendTh(&second->thColor.list, createTh());
    addAction(e, 6, "trace");

    int count = -7;
    ACTION_STRUCT** all = vdActionGetAll(e, &count);
    ASSERT_EQ(count, 3);
    EXPECT_EQ(all[0], first);
    EXPECT_EQ(all[1], second);
    EXPECT_EQ(vdActionType(all[2]), 6);
    vdActionFree(all);
    vdActionFree(nullptr);
    count = 5;
    EXPECT_EQ(vdActionGetAll(nullptr, &count), nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(vdActionGetAll(e, nullptr), nullptr);

    EXPECT_STREQ(vdActionVar(first), "level");
    EXPECT_STREQ(vdActionVar2(first), "x");
    EXPECT_EQ(vdActionVar(nullptr), nullptr);
    EXPECT_EQ(vdActionVar2(nullptr), nullptr);
    EXPECT_EQ(vdActionType(nullptr), -1);

    EXPECT_EQ(vdActionEnable(first, 0), 0);
    EXPECT_EQ(first->disabled, 1);
    EXPECT_EQ(vdActionEnable(first, 7), 0);
    EXPECT_EQ(first->disabled, 0);
    EXPECT_EQ(vdActionEnable(nullptr, 1), -1);

    float r = -1, g = -1, b = -1;
    EXPECT_EQ(vdActionSetColor(second, 0.1f, 0.2f, 0.3f), 0);
    EXPECT_EQ(vdActionGetColor(second, &r, &g, &b), 0);
    EXPECT_EQ(std::vector<float>({r, g, b}), std::vector<float>({0.1f, 0.2f, 0.3f}));
    EXPECT_EQ(vdActionGetColor(first, &r, &g, &b), -1) << "no colour threshold";
    EXPECT_EQ(vdActionSetColor(first, 1, 1, 1), -1);
    EXPECT_EQ(vdActionGetColor(nullptr, &r, &g, &b), -1);
    EXPECT_EQ(vdActionSetColor(nullptr, 1, 1, 1), -1);
    elementDelete(e, &e);
}

TEST(QueryActions, ScalesAndTheirCoefficients)
{
    ACTION_STRUCT* a = createAction();
    const struct
    {
        bool second;
        float in1, in2, out1, out2;
        float offset, slope;
    } cases[] = {
        {false, 0, 10, 0, 100, 0, 10}, {false, 5, 5, 1, 2, 0, 1},  {false, 1, 3, 10, 20, 5, 5},
        {true, 0, 10, 0, 100, 0, 10},  {true, 5, 5, 1, 2, 0, 1},   {true, 2, 4, 0, -4, 4, -2},
    };
    for (const auto& c : cases) {
        float got[4] = {};
        if (!c.second) {
            ASSERT_EQ(vdActionSetScale(a, c.in1, c.in2, c.out1, c.out2), 0);
            ASSERT_EQ(vdActionGetScale(a, &got[0], &got[1], &got[2], &got[3]), 0);
            EXPECT_EQ(a->offset, c.offset);
            EXPECT_EQ(a->slope, c.slope);
        } else {
            ASSERT_EQ(vdActionSetScale2(a, c.in1, c.in2, c.out1, c.out2), 0);
            ASSERT_EQ(vdActionGetScale2(a, &got[0], &got[1], &got[2], &got[3]), 0);
            EXPECT_EQ(a->secondOffset, c.offset);
            EXPECT_EQ(a->secondSlope, c.slope);
        }
        EXPECT_EQ(std::vector<float>(got, got + 4), std::vector<float>({c.in1, c.in2, c.out1, c.out2}));
    }
    EXPECT_EQ(a->a0, 1.0f) << "the second scale leaves the first";
    float v = 0;
    EXPECT_EQ(vdActionSetScale(nullptr, 0, 1, 0, 1), -1);
    EXPECT_EQ(vdActionSetScale2(nullptr, 0, 1, 0, 1), -1);
    EXPECT_EQ(vdActionGetScale(nullptr, &v, &v, &v, &v), -1);
    EXPECT_EQ(vdActionGetScale2(nullptr, &v, &v, &v, &v), -1);
    ACTION_STRUCT* head = a;
    delAction(&head, a);
}

// ---- Sources and variables of a loaded view ----

class QueryView : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(folder.path.empty());
        ViewDraft draft(0, 0, 200, 100);
        DD_DATA_TYPE_STRUCT* first = draft.source(5);
        const std::pair<const char*, int> variables[] = {
            {"f", DD_FLOAT}, {"d", DD_DOUBLE}, {"c", DD_CHAR},  {"uc", DD_UCHAR}, {"s", DD_SHORT},  {"us", DD_USHORT},
            {"i", DD_INT},   {"ui", DD_UINT},  {"l", DD_LONG},  {"ul", DD_ULONG}, {"t", DD_STRING}, {"odd", 11},
        };
        for (const auto& v : variables)
            ViewDraft::variable(first, v.first, v.second);
        DD_DATA_TYPE_STRUCT* second = draft.source(5);
        ViewDraft::variable(second, "level", DD_INT);
        ViewDraft::variable(second, "i", DD_INT);
        addAction(draft.add(filledRect(10, 10, 30, 30, 1, 1, 1)), 22, "level");
        ELEMENT_STRUCT* group = draft.add(elementCreate(VD_GROUP));
        std::snprintf(group->name, sizeof group->name, "%s", "Panel");
        ELEMENT_STRUCT* child = draft.add(filledRect(50, 50, 60, 60, 1, 0, 0), group);
        std::snprintf(child->name, sizeof child->name, "%s", "Panel");
        ELEMENT_STRUCT* text = draft.add(elementCreate(VD_LINE));
        std::snprintf(text->name, sizeof text->name, "%s", "Wire");
        ELEMENT_STRUCT* g = draft.add(graph(100, 10, 80, 40, "i"));
        std::snprintf(g->name, sizeof g->name, "%s", "Chart");
        const std::string path = folder.file("query.v");
        ASSERT_TRUE(draft.save(path));
        view = vdViewLoad(path.c_str());
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override
    {
        if (view != nullptr) {
            EXPECT_EQ(vdViewFree(view), 0);
        }
    }

    template <typename T>
    T valueOf(const char* name)
    {
        T t{};
        const void* p = vdVarGetAddr(view, name);
        EXPECT_NE(p, nullptr) << name;
        if (p != nullptr)
            std::memcpy(&t, p, sizeof t);
        return t;
    }

    Folder folder;
    vdView_Struct* view = nullptr;
};

TEST_F(QueryView, SourcesAndVariablesInListOrder)
{
    int count = -1;
    DD_DATA_TYPE_STRUCT** sources = vdDataSourceGetAll(view, &count);
    ASSERT_EQ(count, 2);
    EXPECT_STREQ(vdDataSourceName(sources[0]), "Internal Data");
    EXPECT_EQ(vdDataSourceType(sources[1]), 5);
    int n = -1;
    DD_VAR_STRUCT** vars = vdVarGetAll(sources[1], &n);
    ASSERT_EQ(n, 2);
    EXPECT_STREQ(vdVarName(vars[0]), "level");
    EXPECT_EQ(vdVarType(vars[1]), DD_INT);
    EXPECT_EQ(vdVarReadWrite(vars[0]), 1) << "a mouse action writes it";
    EXPECT_EQ(vdVarReadWrite(vars[1]), 0);
    EXPECT_EQ(vdVarSource(view, "i"), sources[0]) << "the first source holding the name";
    EXPECT_EQ(vdVarSource(view, "level"), sources[1]);
    vdFree(vars);
    vdFree(sources);
    vdFree(nullptr);

    const auto none = reinterpret_cast<DD_DATA_TYPE_STRUCT*>(intptr_t(-1));
    vdView_Struct foreign{};
    EXPECT_EQ(vdVarSource(view, "missing"), none);
    EXPECT_EQ(vdVarSource(view, nullptr), none);
    EXPECT_EQ(vdVarSource(nullptr, "i"), none);
    EXPECT_EQ(vdVarSource(&foreign, "i"), none);
    count = 3;
    EXPECT_EQ(vdDataSourceGetAll(&foreign, &count), nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(vdDataSourceGetAll(nullptr, &count), nullptr);
    EXPECT_EQ(vdDataSourceGetAll(view, nullptr), nullptr);
    count = 3;
    EXPECT_EQ(vdVarGetAll(nullptr, &count), nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(vdDataSourceName(nullptr), nullptr);
    EXPECT_EQ(vdDataSourceType(nullptr), -1);
    EXPECT_EQ(vdDataSourceLibName(nullptr), nullptr);
    EXPECT_EQ(vdVarName(nullptr), nullptr);
    EXPECT_EQ(vdVarType(nullptr), -1);
    EXPECT_EQ(vdVarReadWrite(nullptr), -1);
}

TEST(QuerySources, ModuleNameBufferBelongsToTheCallingThread)
{
    DD_DATA_TYPE_STRUCT* a = createDataType(0);
    DD_DATA_TYPE_STRUCT* b = createDataType(0);
    std::snprintf(a->moduleName, sizeof a->moduleName, "%s", "Probe");
    std::memset(b->moduleName, 'm', sizeof b->moduleName - 1); // the longest name
    const char* mine = vdDataSourceLibName(a);
    ASSERT_NE(mine, nullptr);
    std::string other;
    std::thread t([&] { other = vdDataSourceLibName(b); });
    t.join();
    EXPECT_STREQ(mine, "libVddProbe.so") << "another thread's call leaves this thread's text";
    EXPECT_EQ(other, "libVdd" + std::string(255, 'm') + ".so");
    delDataType(&a, a, 0);
    delDataType(&b, b, 0);
}

TEST(QueryVariables, Parameters)
{
    DD_VAR_STRUCT* v = createVariable(3);
    v->paraCount = 2;
    v->para[1].value = 4;
    int value = 0;
    char text[256];
    std::memset(text, 'x', sizeof text);
    const std::string longText(300, 'p');
    struct
    {
        int index, expected;
    } const ranges[] = {{-1, -2}, {2, -2}, {3, -2}, {0, 0}, {1, 0}};
    for (const auto& r : ranges) {
        EXPECT_EQ(vdVarGetPara(v, r.index, &value, text), r.expected) << r.index;
        EXPECT_EQ(vdVarSetPara(v, r.index, 9, "t"), r.expected) << r.index;
    }
    EXPECT_EQ(vdVarSetPara(v, 1, 12, longText.c_str()), 0);
    EXPECT_EQ(vdVarGetPara(v, 1, &value, text), 0);
    EXPECT_EQ(value, 12);
    EXPECT_EQ(std::string(text), std::string(size_t(v->para[1].capacity - 1), 'p')) << "cut to the capacity";
    EXPECT_EQ(vdVarSetPara(v, 1, 13, nullptr), 0) << "the value only";
    EXPECT_EQ(vdVarGetPara(v, 1, &value, nullptr), 0);
    EXPECT_EQ(value, 13);
    EXPECT_EQ(v->para[1].text[0], 'p');
    // A parameter text longer than 255 characters is copied as 255.
    DD_VAR_STRUCT* wide = createVariable(1);
    wide->paraCount = 1;
    char* big = static_cast<char*>(std::malloc(400));
    std::memset(big, 'w', 399);
    big[399] = '\0';
    std::free(wide->para[0].text);
    wide->para[0].text = big;
    wide->para[0].capacity = 400;
    EXPECT_EQ(vdVarGetPara(wide, 0, nullptr, text), 0);
    EXPECT_EQ(std::string(text), std::string(255, 'w'));
    EXPECT_EQ(vdVarGetPara(nullptr, 0, &value, text), -1);
    EXPECT_EQ(vdVarSetPara(nullptr, 0, 1, "t"), -1);
    delVariable(nullptr, v);
    delVariable(nullptr, wide);
}

TEST_F(QueryView, TextValuesInAndOut)
{
    ASSERT_EQ(vdViewStart(view), 0);
    const struct
    {
        const char* name;
        std::string in, out;
    } cases[] = {
        {"c", "-5", "-5"},
        {"d", "0.5", "0.500000"},
        {"d", "0.33333333333", "0.333333"},
        {"d", "1e-7", "0.000000"},
        {"ui", "4294967295", "4294967295"},
        {"i", "3.7", "3"},
        {"i", "99999999999", "1215752191"},
        {"uc", "300", "44"},
        {"s", "70000", "4464"},
        {"us", "-1", "65535"},
        {"l", "-9000000000", "-9000000000"},
        {"ul", "-1", "18446744073709551615"},
        {"l", "99999999999999999999", "9223372036854775807"},
        {"f", "1e39", "340282346638528859811704183484516925440.000000"},
        {"f", "-2.5", "-2.500000"},
        {"t", std::string(300, 'a'), std::string(255, 'a')},
        {"t", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vdVarSetStr(view, c.name, c.in.c_str()), 1) << c.name << " " << c.in;
        char out[256];
        EXPECT_EQ(vdVarGetStr(view, c.name, out), 0) << c.name;
        EXPECT_EQ(std::string(out), c.out) << c.name << " " << c.in;
    }
    EXPECT_EQ(vdVarSetStr(view, "d", "0.1"), 1);
    EXPECT_EQ(valueOf<double>("d"), 0.1) << "a double at double precision";
    {
        // A double's text is cut at 255 characters and reads back as such.
        char text[256];
        EXPECT_EQ(vdVarSetStr(view, "d", "1e300"), 1);
        EXPECT_EQ(vdVarGetStr(view, "d", text), 0);
        EXPECT_EQ(std::strlen(text), 255u);
        EXPECT_EQ(vdVarSetStr(view, "d", text), 1);
        EXPECT_NEAR(valueOf<double>("d") / 1e254, 1.0, 1e-9);
    }
    EXPECT_EQ(vdVarSetStr(view, "odd", "12"), 1) << "an unknown type stores nothing";
    char out[256] = "untouched";
    EXPECT_EQ(vdVarGetStr(view, "odd", out), 0);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(valueOf<uint64_t>("odd"), 0u);
}

TEST_F(QueryView, RawValuesCopyTheTypesWidth)
{
    ASSERT_EQ(vdViewStart(view), 0);
    const char* names[] = {"f", "d", "c", "uc", "s", "us", "i", "ui", "l", "ul"};
    const size_t widths[] = {4, 8, 1, 1, 2, 2, 4, 4, 8, 8};
    unsigned char source[8];
    for (int i = 0; i < 8; ++i)
        source[i] = uint8_t(0x11 * (i + 1));
    for (size_t k = 0; k < 10; ++k) {
        auto* storage = static_cast<unsigned char*>(vdVarGetAddr(view, names[k]));
        ASSERT_NE(storage, nullptr);
        std::memset(storage, 0xEE, 8);
        EXPECT_EQ(vdVarSet(view, names[k], source), 1) << names[k];
        for (size_t b = 0; b < 8; ++b)
            EXPECT_EQ(storage[b], b < widths[k] ? source[b] : 0xEE) << names[k] << " byte " << b;
    }
    const std::string longText(400, 'z');
    EXPECT_EQ(vdVarSet(view, "t", longText.c_str()), 1);
    EXPECT_EQ(std::string(static_cast<const char*>(vdVarGetAddr(view, "t"))), std::string(255, 'z'));
    EXPECT_EQ(vdVarSet(view, "missing", source), 0);
    EXPECT_EQ(vdVarSet(view, "i", nullptr), -5);
}

TEST_F(QueryView, StatusCodesOfTheValueFunctions)
{
    char out[256];
    vdView_Struct foreign{};
    const int64_t one = 1;
    // Stopped: -3 even for a known name.
    EXPECT_EQ(vdVarGetStr(view, "i", out), -3);
    EXPECT_EQ(vdVarSetStr(view, "i", "1"), -3);
    EXPECT_EQ(vdVarSet(view, "i", &one), -3);
    EXPECT_EQ(vdVarGetAddr(view, "i"), nullptr);
    ASSERT_EQ(vdViewStart(view), 0);
    const struct
    {
        vdView_Struct* view;
        const char* name;
        char* out;
        const char* text;
        const void* raw;
        int get, setStr, set;
    } cases[] = {
        {nullptr, "i", out, "1", &one, -1, -1, -1},  {&foreign, "i", out, "1", &one, -2, -2, -2},
        {view, nullptr, out, "1", &one, -4, -4, -4}, {view, "i", nullptr, nullptr, nullptr, -5, -5, -5},
        {view, "nope", out, "1", &one, -6, 0, 0},    {view, "i", out, "1", &one, 0, 1, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vdVarGetStr(c.view, c.name, c.out), c.get) << c.name;
        EXPECT_EQ(vdVarSetStr(c.view, c.name, c.text), c.setStr) << c.name;
        EXPECT_EQ(vdVarSet(c.view, c.name, c.raw), c.set) << c.name;
    }
    EXPECT_EQ(vdVarGetAddr(nullptr, "i"), nullptr);
    EXPECT_EQ(vdVarGetAddr(&foreign, "i"), nullptr);
    EXPECT_EQ(vdVarGetAddr(view, "nope"), nullptr);
    EXPECT_EQ(vdVarGetAddr(view, nullptr), nullptr);
    ASSERT_EQ(vdViewStop(view), 0);
    EXPECT_EQ(vdVarGetStr(view, "i", out), -3);
    EXPECT_EQ(vdVarGetAddr(view, "i"), nullptr);
}

// ---- Elements ----

TEST_F(QueryView, ElementsDepthFirstAndByName)
{
    int count = -1;
    ELEMENT_STRUCT** all = vdObjGetAll(view, &count);
    ASSERT_EQ(count, 5);
    const int kinds[] = {VD_RECTANGLE, VD_GROUP, VD_RECTANGLE, VD_LINE, VD_GRAPH};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(vdObjType(all[i]), kinds[i]) << i;
    EXPECT_EQ(all[2]->parent, all[1]) << "a group before its children";
    vdObjFree(all);
    vdObjFree(nullptr);

    ELEMENT_STRUCT* panel = vdObjGet(view, "Panel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(vdObjType(panel), VD_RECTANGLE) << "the child named like its group comes first";
    EXPECT_STREQ(vdObjName(panel), "Panel");
    EXPECT_STREQ(vdObjId(panel), panel->id);
    EXPECT_EQ(vdObjGet(view, "missing"), nullptr);
    EXPECT_EQ(vdObjGet(view, nullptr), nullptr);
    vdView_Struct foreign{};
    EXPECT_EQ(vdObjGet(nullptr, "Panel"), reinterpret_cast<ELEMENT_STRUCT*>(intptr_t(-1)));
    EXPECT_EQ(vdObjGet(&foreign, "Panel"), reinterpret_cast<ELEMENT_STRUCT*>(intptr_t(-2)));
    count = 42;
    EXPECT_EQ(vdObjGetAll(nullptr, &count), nullptr);
    EXPECT_EQ(vdObjGetAll(&foreign, &count), nullptr);
    EXPECT_EQ(count, 42) << "untouched";

    EXPECT_EQ(vdObjName(nullptr), nullptr);
    EXPECT_EQ(vdObjId(nullptr), nullptr);
    EXPECT_EQ(vdObjType(nullptr), -1);
    EXPECT_EQ(vdObjX(nullptr), -1.0f);
    EXPECT_EQ(vdObjY(nullptr), -1.0f);
    EXPECT_EQ(vdObjWidth(nullptr), -1.0f);
    EXPECT_EQ(vdObjHeight(nullptr), -1.0f);
    for (auto set : {vdObjSetX, vdObjSetY, vdObjSetWidth, vdObjSetHeight})
        EXPECT_EQ(set(nullptr, 1.0f), -1);
}

TEST_F(QueryView, GeometryThroughTheEditFunctionAndGraphSettings)
{
    int count = 0;
    ELEMENT_STRUCT** all = vdObjGetAll(view, &count);
    ASSERT_GE(count, 1);
    ELEMENT_STRUCT* rect = all[0];
    vdObjFree(all);
    EXPECT_EQ(vdObjX(rect), 20.0f);
    EXPECT_EQ(vdObjY(rect), 20.0f);
    EXPECT_EQ(vdObjWidth(rect), 20.0f);
    EXPECT_EQ(vdObjHeight(rect), 20.0f);
    EXPECT_EQ(vdObjSetX(rect, 100.0f), 0);
    EXPECT_EQ(vdObjSetY(rect, 70.0f), 0);
    EXPECT_EQ(vdObjSetWidth(rect, 40.0f), 0);
    EXPECT_EQ(vdObjSetHeight(rect, 10.0f), 0);
    EXPECT_FLOAT_EQ(vdObjX(rect), 100.0f);
    EXPECT_FLOAT_EQ(vdObjY(rect), 70.0f);
    EXPECT_FLOAT_EQ(vdObjWidth(rect), 40.0f);
    EXPECT_FLOAT_EQ(vdObjHeight(rect), 10.0f);
    EXPECT_FLOAT_EQ(rect->minX, 80.0f) << "the box follows";

    // The same four through the attribute record's mask, one bit at a time.
    OBJ_ATTR_STRUCT attr{};
    attr.x = 30, attr.y = 40, attr.width = 8, attr.height = 6;
    attr.mask = OBJ_ATTR_X | OBJ_ATTR_HEIGHT;
    EXPECT_EQ(vdObjSetAttr(rect, &attr), 0);
    EXPECT_FLOAT_EQ(vdObjX(rect), 30.0f);
    EXPECT_FLOAT_EQ(vdObjY(rect), 70.0f);
    EXPECT_FLOAT_EQ(vdObjWidth(rect), 40.0f);
    EXPECT_FLOAT_EQ(vdObjHeight(rect), 6.0f);
    attr.mask = OBJ_ATTR_Y | OBJ_ATTR_WIDTH;
    EXPECT_EQ(vdObjSetAttr(rect, &attr), 0);
    EXPECT_FLOAT_EQ(vdObjY(rect), 40.0f);
    EXPECT_FLOAT_EQ(vdObjWidth(rect), 8.0f);

    ELEMENT_STRUCT* chart = vdObjGet(view, "Chart");
    ASSERT_NE(chart, nullptr);
    auto* g = static_cast<GRAPH_STRUCT*>(chart->data);
    EXPECT_EQ(vdObjSetSamples(chart, 77), 0);
    EXPECT_EQ(g->samples, 77);
    EXPECT_EQ(vdObjSetUpdateRate(chart, 25), 0);
    EXPECT_EQ(g->rate, 25.0f);
    ELEMENT_STRUCT* text = elementCreate(VD_TEXT);
    EXPECT_EQ(vdObjSetSamples(text, 5), -2);
    EXPECT_EQ(vdObjSetUpdateRate(text, 5), -2);
    EXPECT_EQ(vdObjSetSamples(vdObjGet(view, "Wire"), 5), -2);
    EXPECT_EQ(vdObjSetSamples(nullptr, 5), -1);
    EXPECT_EQ(vdObjSetUpdateRate(nullptr, 5), -1);
    elementDelete(text, &text);
}

// ---- The attribute record per kind ----

// Words of the record a kind reads and writes beyond x, y, width, height.
struct KindWords
{
    int kind;
    std::vector<std::pair<int, int>> ranges; // inclusive word ranges
};

const KindWords kKindWords[] = {
    {VD_GRAPH, {{16, 19}, {149, 193}}},
    {VD_RECTANGLE, {{7, 19}}},
    {VD_POLYGON, {{7, 19}}},
    {VD_CPOLYGON, {{7, 19}}},
    {VD_CIRCLE, {{7, 19}}},
    {VD_ARC, {{7, 19}}},
    {VD_TEXT, {{7, 9}, {12, 15}, {84, 147}}},
    {VD_LINE, {{7, 9}, {12, 15}}},
    {VD_TEXTURE, {{16, 19}}},
    {VD_BUTTON, {{16, 19}}},
    {VD_SLIDER, {{16, 19}}},
    {VD_GROUP, {}},
    {VD_SCISSOR, {}},
};

bool kindWord(const KindWords& k, int word)
{
    for (const auto& r : k.ranges)
        if (word >= r.first && word <= r.second)
            return true;
    return false;
}

// Every named field of the record a distinct value that survives a round
// trip (whole numbers in the float words).
OBJ_ATTR_STRUCT distinctValues()
{
    OBJ_ATTR_STRUCT a;
    std::memset(&a, 0, sizeof a);
    a.mask = OBJ_ATTR_KIND;
    a.lineStyle = 3, a.lineWidth = 7, a.antialias = 1, a.outline = 1, a.fill = 1;
    for (int i = 0; i < 4; ++i) {
        a.lineColor[i] = 0.125f * float(i + 1);
        a.fillColor[i] = 0.0625f * float(i + 3);
        a.outlineColor[i] = 0.03125f * float(i + 5);
        a.gridColor[i] = 0.25f * float(i);
    }
    std::snprintf(a.text, sizeof a.text, "%s", "round trip");
    int n = 1000;
    for (int32_t* w : {&a.tickX, &a.tickXAuto, &a.tickXSub, &a.tickY, &a.tickYR, &a.tickYAuto, &a.tickYSub, &a.labelX,
                       &a.labelY, &a.labelYR, &a.gridX, &a.gridXAuto, &a.gridY, &a.gridYAuto, &a.gridStyleIndex,
                       &a.samples, &a.autoscale, &a.autoscaleX, &a.reserved2, &a.reserved1, &a.labelFixX,
                       &a.labelFixY})
        *w = ++n;
    float f = 0.5f;
    for (float* w : {&a.tickXSpace, &a.tickYSpace, &a.gridXSpace, &a.gridYSpace, &a.rate, &a.minSpreadY, &a.ymin,
                     &a.ymax, &a.minSpreadX, &a.xmin, &a.xmax, &a.labelXMin, &a.labelXMax, &a.labelYMin,
                     &a.labelYMax})
        *w = (f += 1.0f);
    return a;
}

uint32_t word(const OBJ_ATTR_STRUCT& a, int n)
{
    uint32_t w;
    std::memcpy(&w, reinterpret_cast<const unsigned char*>(&a) + 4 * n, 4);
    return w;
}

const uint32_t kSentinel = 0xA5C3E1F0u;

TEST(QueryAttributes, RoundTripPerKindLeavesOtherWordsAlone)
{
    const OBJ_ATTR_STRUCT in = distinctValues();
    for (const KindWords& k : kKindWords) {
        ELEMENT_STRUCT* e = elementCreate(k.kind);
        ASSERT_NE(e, nullptr);
        e->update(e);
        const float x = e->x, y = e->y, w = e->width, h = e->height;
        OBJ_ATTR_STRUCT set = in;
        ASSERT_EQ(vdObjSetAttr(e, &set), 0) << k.kind;
        EXPECT_EQ(std::memcmp(&set, &in, sizeof in), 0) << "the caller's record is only read";
        OBJ_ATTR_STRUCT out;
        for (int i = 0; i < 194; ++i)
            std::memcpy(reinterpret_cast<unsigned char*>(&out) + 4 * i, &kSentinel, 4);
        ASSERT_EQ(vdObjGetAttr(e, &out), 0) << k.kind;
        EXPECT_EQ(out.x, x);
        EXPECT_EQ(out.y, y);
        EXPECT_EQ(out.width, w);
        EXPECT_EQ(out.height, h);
        for (int i = 0; i < 194; ++i) {
            if (i >= 3 && i <= 6)
                continue;
            if (k.kind == VD_TEXT && i >= 84 && i <= 147)
                continue; // compared as text below
            EXPECT_EQ(word(out, i), kindWord(k, i) ? word(in, i) : kSentinel) << "kind " << k.kind << " word " << i;
        }
        if (k.kind == VD_TEXT) {
            EXPECT_STREQ(out.text, "round trip");
        }
        elementDelete(e, &e);
    }
}

TEST(QueryAttributes, KindRulesInTheKindRecords)
{
    const OBJ_ATTR_STRUCT in = distinctValues();
    const auto apply = [&](int kind) {
        ELEMENT_STRUCT* e = elementCreate(kind);
        OBJ_ATTR_STRUCT a = in;
        EXPECT_EQ(vdObjSetAttr(e, &a), 0);
        return e;
    };
    const auto same = [](const float* a, const float* b) { return std::memcmp(a, b, 4 * sizeof(float)) == 0; };

    ELEMENT_STRUCT* text = apply(VD_TEXT);
    const auto* t = static_cast<TEXT_STRUCT*>(text->data);
    EXPECT_TRUE(same(t->color, in.lineColor)) << "a text's line colour is its text colour";
    EXPECT_EQ(t->lineWidth, 7.0f);
    EXPECT_STREQ(t->text, "round trip");
    EXPECT_TRUE(same(text->attr.lineColor, in.lineColor)) << "the attribute reset ran";
    ELEMENT_STRUCT* image = apply(VD_TEXTURE);
    EXPECT_TRUE(same(static_cast<IMAGE_STRUCT*>(image->data)->color, in.fillColor));
    ELEMENT_STRUCT* button = apply(VD_BUTTON);
    EXPECT_TRUE(same(static_cast<BUTTON_STRUCT*>(button->data)->faceColor, in.fillColor));
    EXPECT_TRUE(same(button->attr.fillColor, in.fillColor));
    ELEMENT_STRUCT* slider = apply(VD_SLIDER);
    EXPECT_TRUE(same(static_cast<SLIDER_STRUCT*>(slider->data)->faceColor, in.fillColor));
    ELEMENT_STRUCT* graph = apply(VD_GRAPH);
    const auto* g = static_cast<GRAPH_STRUCT*>(graph->data);
    EXPECT_TRUE(same(g->backgroundColor, in.fillColor));
    EXPECT_EQ(g->reserved2, in.reserved2) << "word 186";
    EXPECT_EQ(g->reserved1, in.reserved1) << "word 187";
    EXPECT_EQ(g->samples, in.samples);
    EXPECT_EQ(g->labelYMax, in.labelYMax);
    ELEMENT_STRUCT* rect = apply(VD_RECTANGLE);
    const auto* r = static_cast<RECT_STRUCT*>(rect->data);
    EXPECT_EQ(r->lineWidth, 7.0f);
    EXPECT_EQ(r->lineStyle, 3);
    EXPECT_EQ(r->fillA, in.fillColor[3]);
    for (ELEMENT_STRUCT* e : {text, image, button, slider, graph, rect})
        elementDelete(e, &e);

    // Widths truncate toward zero, held within the int range; NaN reads
    // as 0.
    ELEMENT_STRUCT* line = elementCreate(VD_LINE);
    auto* l = static_cast<LINE_STRUCT*>(line->data);
    OBJ_ATTR_STRUCT out{};
    const std::pair<float, int32_t> widths[] = {
        {2.9f, 2}, {-2.9f, -2}, {NAN, 0}, {1e20f, INT32_MAX}, {-1e20f, INT32_MIN}};
    for (const auto& w : widths) {
        l->lineWidth = w.first;
        ASSERT_EQ(vdObjGetAttr(line, &out), 0);
        EXPECT_EQ(out.lineWidth, w.second) << w.first;
    }
    elementDelete(line, &line);
}

// A position setter that fails (no edit function, or an edit that fails
// without its kind record) fails the whole call; the other selected fields
// are still applied.
TEST(QueryAttributes, AFailedSetterFailsTheCall)
{
    for (const int bit : {OBJ_ATTR_X, OBJ_ATTR_Y, OBJ_ATTR_WIDTH, OBJ_ATTR_HEIGHT}) {
        SCOPED_TRACE(bit);
        ELEMENT_STRUCT* rect = filledRect(0, 0, 10, 10, 1, 0, 0);
        OBJ_ATTR_STRUCT a = distinctValues();
        const ELEMENT_EDIT_FN edit = rect->edit;
        rect->edit = nullptr;
        a.mask = bit | OBJ_ATTR_KIND;
        EXPECT_EQ(vdObjSetAttr(rect, &a), -1);
        EXPECT_EQ(static_cast<RECT_STRUCT*>(rect->data)->lineWidth, 7.0f) << "the style is applied";
        rect->edit = edit;
        void* record = rect->data;
        rect->data = nullptr;
        a.mask = bit;
        EXPECT_EQ(vdObjSetAttr(rect, &a), -1);
        rect->data = record;
        EXPECT_EQ(vdObjSetAttr(rect, &a), 0);
        elementDelete(rect, &rect);
    }
}

TEST(QueryAttributes, RefusedKindsAndEmptyMask)
{
    ELEMENT_STRUCT* unknown = elementCreate(9);
    ASSERT_NE(unknown, nullptr);
    OBJ_ATTR_STRUCT a = distinctValues();
    EXPECT_EQ(vdObjGetAttr(unknown, &a), -1);
    EXPECT_EQ(vdObjSetAttr(unknown, &a), -1) << "mask 16 on kind 9";
    a.mask = 0;
    EXPECT_EQ(vdObjSetAttr(unknown, &a), 0);
    EXPECT_EQ(vdObjGetAttr(nullptr, &a), -1);
    EXPECT_EQ(vdObjSetAttr(nullptr, &a), -1);
    elementDelete(unknown, &unknown);

    ELEMENT_STRUCT* rect = filledRect(0, 0, 10, 10, 1, 0, 0);
    EXPECT_EQ(vdObjGetAttr(rect, nullptr), -1);
    EXPECT_EQ(vdObjSetAttr(rect, nullptr), -1);
    RECT_STRUCT before;
    std::memcpy(&before, rect->data, sizeof before);
    const ATTR_STRUCT attrBefore = rect->attr;
    OBJ_ATTR_STRUCT zero = distinctValues();
    zero.mask = 0;
    EXPECT_EQ(vdObjSetAttr(rect, &zero), 0);
    EXPECT_EQ(std::memcmp(&before, rect->data, sizeof before), 0) << "mask 0 changes nothing";
    EXPECT_EQ(std::memcmp(&attrBefore, &rect->attr, sizeof attrBefore), 0);
    EXPECT_EQ(rect->x, 5.0f);
    elementDelete(rect, &rect);
}

} // namespace
