// The binary view file of revisions 1.00 to 3.00: files of every revision
// group built here from a view as the old layouts store it, read and saved
// again as 3.03 against the same view converted as it should be; the
// conversions of sources, actions and elements one by one; the refusals.
#include "dataSourceSupport.h"
#include "leakCheck.h"
#include "viewFileSupport.h"

#include "dorneFiles.h"
#include "dorneTextures.h"
#include "dorneView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

using namespace support;

namespace {

using Bytes = std::vector<unsigned char>;

// The group whose layout a revision has.
int groupOf(int version)
{
    const int firsts[] = {204, 203, 202, 201, 113, 111, 107, 102, 101, 100};
    if (version == 200)
        return 113;
    if (version == 300)
        return 204;
    for (int g : firsts)
        if (version >= g)
            return g;
    return 0;
}

TH_BLOCK* thresholdGroup(ACTION_STRUCT* a, int k)
{
    return viewfile::thresholdGroup(a, k);
}

// Records of the old layouts of group g, taken from today's records.
struct Old : viewfile::FieldBuilder<Old>
{
    explicit Old(int group) : g(group) {}
    int g;

    Old& head(int version)
    {
        text("VIEW FILE " + std::to_string(version / 100) + "." + std::to_string(version % 100) + "\n", 30);
        i(version / 100).i(version % 100).f(10).f(-20).f(800).f(600).f(0.25f).f(0.5f).f(1);
        if (g == 107)
            for (int k = 0; k < 5; ++k)
                text("text " + std::to_string(k), 128);
        return *this;
    }
    Old& color(const float* c) { return f(c[0]).f(c[1]).f(c[2]).f(c[3]); }
    Old& zeros(int n)
    {
        for (int k = 0; k < n; ++k)
            i(0);
        return *this;
    }
    Old& corners(const float* x, const float* y)
    {
        for (int k = 0; k < 4; ++k)
            f(x[k]).f(y[k]);
        return *this;
    }
    Old& frame(const ELEMENT_STRUCT* e)
    {
        if (g >= 202) {
            const std::string name = e->name, id = e->id;
            i(int32_t(name.size() + 1)).text(name, name.size() + 1);
            return i(int32_t(id.size() + 1)).text(id, id.size() + 1);
        }
        return g >= 101 ? text(e->name, 64) : *this;
    }
    // The blink group of 2.03 on stores 0 or a value of its own; the rate
    // is the value the loaded entries get.
    Old& action(ACTION_STRUCT* a)
    {
        const bool second = g >= 201;
        i(a->id).i(a->type).text(a->var, second ? 64 : 32);
        if (second)
            text(a->secondVar, 64);
        f(a->a0).f(a->a1).f(a->b0).f(a->b1);
        if (second)
            f(a->secondA0).f(a->secondA1).f(a->secondB0).f(a->secondB1);
        f(a->offset).f(a->slope);
        if (second)
            f(a->secondOffset).f(a->secondSlope);
        i(a->pivot);
        if (g == 100) {
            const TH_STRUCT* th = a->thColor.list;
            f(th->r).f(th->g).f(th->b).f(99).f(float(th->intValue) + 0.75f);
        }
        text(a->format, 64);
        if (g >= 107)
            i(a->filter).f(a->filterTime);
        int32_t rate = 0;
        for (const TH_STRUCT* th = a->thBlink.list; th != nullptr; th = th->next)
            rate = th->intValue != 0 ? th->intValue : rate;
        if (g >= 203)
            i(rate);
        if (g >= 113)
            i(a->mouseButton).i(a->mouseAction).i(a->mouseMode).i(a->mouseClamp).f(a->mouseInc).f(a->mouseMin).f(a->mouseMax);
        if (g == 113)
            text(a->polyName, 64);
        const int groups = g == 100 ? 0 : g >= 203 ? 5 : 4;
        for (int k = 0; k < groups; ++k) {
            TH_BLOCK* block = thresholdGroup(a, k);
            int32_t count = 0;
            for (const TH_STRUCT* th = block->list; th != nullptr; th = th->next)
                ++count;
            f(block->min).f(block->max).i(count);
            int n = 0;
            for (const TH_STRUCT* th = block->list; th != nullptr; th = th->next, ++n)
                f(th->level).f(th->upperLevel).i(k == 4 && th->intValue != 0 ? 1 + 6 * n : th->intValue).f(th->r).f(th->g).f(th->b);
        }
        return *this;
    }
    Old& actions(ACTION_STRUCT* list)
    {
        int32_t n = 0;
        for (ACTION_STRUCT* a = list; a != nullptr; a = a->next)
            ++n;
        i(n);
        for (ACTION_STRUCT* a = list; a != nullptr; a = a->next)
            action(a);
        return *this;
    }
    Old& graph(const GRAPH_STRUCT& s)
    {
        if (g >= 201)
            i(s.type);
        f(s.x).f(s.y).f(s.width).f(s.height).f(s.ymin).f(s.ymax);
        if (g >= 201)
            f(s.xmin).f(s.xmax);
        f(s.rate).i(s.autoscale);
        if (g >= 107)
            f(s.minSpreadY);
        if (g >= 201)
            i(s.autoscaleX).f(s.minSpreadX);
        i(s.samples);
        if (g >= 107)
            i(s.bars);
        color(s.outlineColor);
        if (g >= 111)
            color(s.backgroundColor);
        f(s.outlineWidth).i(s.gridX).i(s.gridY).i(s.gridXAuto).i(s.gridYAuto);
        f(s.gridXSpace).f(s.gridYSpace).f(s.gridXRef).f(s.gridYRef).i(s.gridStyleIndex).color(s.gridColor);
        i(s.labelX).i(s.labelY);
        if (g >= 111)
            i(s.labelYR);
        i(s.tickX).i(s.tickY);
        if (g >= 111)
            i(s.tickYR);
        i(s.tickXAuto).i(s.tickYAuto).f(s.tickXSpace).f(s.tickYSpace).f(s.tickXRef).f(s.tickYRef);
        i(s.tickXSub).i(s.tickYSub).f(s.tickWidth).i(33);
        if (g >= 203)
            text(s.family, 64).i(s.style).i(s.size);
        if (g >= 204)
            i(s.labelFixX).i(s.labelFixY).f(s.labelXMin).f(s.labelXMax).f(s.labelYMin).f(s.labelYMax);
        return *this;
    }
    // A text as the file stores it: the old font number, corners and the
    // transform are given, since the record holds them converted.
    Old& textBody(const TEXT_STRUCT& t, int32_t oldFont, const float* storedMatrix)
    {
        const std::string s = t.text;
        if (g >= 203) {
            f(t.x).f(t.y).color(t.color).i(t.align);
            f(t.matrix[0]).f(t.matrix[1]).f(t.matrix[2]).f(t.matrix[3]);
            text(t.family, 64).i(t.style).i(t.underline).i(t.size).i(t.displaySize);
            i(9).i(9).i(9).i(9).i(9).i(9);
        } else {
            i(1).f(t.x).f(t.y).i(oldFont).f(2.5f).i(3).color(t.color).i(1);
            if (g >= 101)
                i(t.align);
            if (g == 101 || g == 102)
                corners(t.cornerX, t.cornerY);
            if (g >= 107)
                f(storedMatrix[0]).f(storedMatrix[1]).f(storedMatrix[2]).f(storedMatrix[3]);
        }
        return i(int32_t(s.size())).text(s, s.size() + 1);
    }
    Old& texture(const IMAGE_STRUCT& s, const Bytes& stored)
    {
        corners(s.cornerX, s.cornerY).color(s.color);
        if (g <= 101)
            return *this;
        i(0).text("", 128).i(0);
        if (g == 102)
            return *this;
        i(s.pixelWidth).i(s.pixelHeight);
        b.insert(b.end(), stored.begin(), stored.end());
        return *this;
    }
    Old& rect(const RECT_STRUCT& s)
    {
        corners(s.x, s.y).i(s.outline).f(s.lineWidth).i(s.lineStyle).f(s.lineR).f(s.lineG).f(s.lineB).f(s.lineA);
        return i(s.fill).f(s.fillR).f(s.fillG).f(s.fillB).f(s.fillA).i(s.antialias);
    }
    Old& circle(const CIRCLE_STRUCT& s)
    {
        f(s.x).f(s.y);
        if (g <= 101) // the size block (its sign dropped), two more floats, the radii
            f(-s.matrix[0] * 100).f(s.matrix[3] * 100).f(7).f(8).f(55).f(66);
        else
            f(s.matrix[0]).f(s.matrix[1]).f(s.matrix[2]).f(s.matrix[3]);
        f(s.start).f(s.end).i(s.outline).f(s.lineWidth).i(s.lineStyle).f(s.lineR).f(s.lineG).f(s.lineB).f(s.lineA);
        return i(s.fill).f(s.fillR).f(s.fillG).f(s.fillB).f(s.fillA).i(s.antialias);
    }
};

using viewfile::readBytes;
using viewfile::writeBytes;

// ---- One view per revision group -------------------------------------------

// A view as it is after reading a file of group g, and that file.
struct GroupView
{
    ELEMENT_STRUCT* list = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    Bytes file;
};

// The action of the view: every field group g stores has a value of its
// own; what it does not store keeps the defaults of a new action.
ACTION_STRUCT* groupAction(int g, int id)
{
    ACTION_STRUCT* a = createAction();
    a->id = id;
    a->type = 12;
    std::strcpy(a->var, g >= 201 ? "a variable name of forty characters ...." : "speed");
    a->a0 = 1, a->a1 = 2, a->b0 = 3, a->b1 = 4, a->offset = 5, a->slope = 6, a->pivot = 3;
    std::strcpy(a->format, "%4.1f");
    if (g >= 201) {
        std::strcpy(a->secondVar, "x2");
        a->secondA0 = 5, a->secondA1 = 6, a->secondB0 = 7, a->secondB1 = 8;
        a->secondOffset = 9, a->secondSlope = 10;
    }
    if (g >= 107)
        a->filter = 2, a->filterTime = 0.5f;
    if (g >= 113) {
        a->mouseButton = 2, a->mouseAction = 6, a->mouseMode = 1, a->mouseClamp = 1;
        a->mouseInc = 0.25f, a->mouseMin = -5, a->mouseMax = 5;
    }
    if (g == 113)
        std::strcpy(a->polyName, "path");
    if (g == 100) { // one entry per group from the old colour and value
        for (int k = 0; k < 4; ++k) {
            TH_STRUCT* th = createTh();
            th->level = 0, th->upperLevel = 120, th->intValue = 2, th->r = 1, th->g = 0, th->b = 0.5f;
            appendTh(&thresholdGroup(a, k)->list, th);
        }
        return a;
    }
    const int groups = g >= 203 ? 5 : 4;
    for (int k = 0; k < groups; ++k) {
        TH_BLOCK* block = thresholdGroup(a, k);
        block->min = float(-k), block->max = float(100 + k);
        for (int e = 0; e <= k; ++e) {
            TH_STRUCT* th = createTh();
            th->level = float(10 * k + e), th->upperLevel = th->level + 0.5f;
            th->intValue = k == 2 ? 4 : k == 4 ? (e % 3 == 0 ? 0 : 4) : k + e;
            th->r = 0.125f * float(e), th->g = 0.25f, th->b = 1;
            appendTh(&block->list, th);
        }
    }
    return a;
}

ELEMENT_STRUCT* make(ELEMENT_STRUCT** list, int kind, const char* name)
{
    ELEMENT_STRUCT* e = elementCreate(kind);
    std::snprintf(e->name, sizeof e->name, "%s", name);
    std::snprintf(e->id, sizeof e->id, "%s-ID", name);
    elementAppend(e, list);
    return e;
}

// A GRAPH, a TEXT, a vector text, a TEXTURE, a CIRCLE and a GROUP holding a
// RECTANGLE with the action (and, from 2.02, kind 9 with one), converted
// as group g reads them, and the file of revision version holding them.
GroupView groupView(int version)
{
    const int g = groupOf(version);
    GroupView v;
    Old file(g);
    file.head(version);

    auto* graph = static_cast<GRAPH_STRUCT*>(make(&v.list, VD_GRAPH, "graph")->data);
    GRAPH_STRUCT& s = *graph;
    s.x = 5, s.y = 6, s.width = 300, s.height = 150, s.ymin = -50, s.ymax = 50, s.rate = 20, s.autoscale = 0;
    s.samples = 200, s.outlineColor[0] = 0.5f, s.outlineWidth = 2, s.gridX = 0, s.gridXAuto = 0;
    s.gridXSpace = 5, s.gridYSpace = 2, s.gridXRef = 1, s.gridStyleIndex = 3, s.gridColor[2] = 0.75f;
    s.labelX = 0, s.tickX = 0, s.tickXAuto = 0, s.tickXSpace = 3, s.tickYSpace = 4, s.tickXSub = 2, s.tickWidth = 1.5f;
    const float black[4] = {0, 0, 0, 1}, grey[4] = {0.2f, 0.2f, 0.2f, 0.5f};
    std::memcpy(s.backgroundColor, g >= 111 ? grey : black, sizeof black);
    if (g >= 107)
        s.minSpreadY = 7, s.bars = 1;
    if (g >= 111)
        s.labelYR = 1, s.tickYR = 1;
    if (g >= 201)
        s.type = 1, s.xmin = -10, s.xmax = 10, s.autoscaleX = 0, s.minSpreadX = 3;
    std::strcpy(s.family, "Courier [fixed]");
    s.style = g >= 203 ? 8 : 1; // bold italic passes as 0 to 4 do
    s.size = g >= 203 ? 20 : 10;
    s.labelFixX = s.labelFixY = 0, s.labelXMin = 0, s.labelXMax = 100, s.labelYMin = 0, s.labelYMax = 100;
    if (g >= 204)
        s.labelFixX = 1, s.labelXMin = -1, s.labelYMax = 2;
    file.i(VD_GRAPH).frame(v.list).graph(s).i(0);

    // TEXT, old font 9: "Courier [fixed]" style 4 size 14, the identity.
    ELEMENT_STRUCT* textElement = make(&v.list, VD_TEXT, "text");
    auto& t = *static_cast<TEXT_STRUCT*>(textElement->data);
    std::strcpy(t.text, "Hello");
    t.x = 40, t.y = 50, t.color[0] = 0.5f, t.align = g >= 101 ? 5 : 7;
    const float turned[4] = {0, 1, -1, 0};
    if (g >= 203) {
        std::strcpy(t.family, "Courier [fixed]");
        t.style = 2, t.size = 12, t.displaySize = 24, t.underline = 1;
        std::memcpy(t.matrix, turned, sizeof turned);
    } else {
        std::strcpy(t.family, "Courier [fixed]");
        t.style = 4, t.size = 14, t.displaySize = 14;
        viewfile::corners(t.cornerX, t.cornerY, 30, 45, 50, 55);
    }
    file.i(VD_TEXT).frame(textElement).textBody(t, 9, turned).i(0);

    // The vector text (kind 10): "Arial" 30; 1.01 and 1.02 place it from
    // its corners (no font here: unscaled), later ones keep the transform.
    ELEMENT_STRUCT* vecElement = make(&v.list, VD_TEXT_LEGACY, "vector");
    auto& vt = *static_cast<TEXT_STRUCT*>(vecElement->data);
    std::strcpy(vt.text, "Vec");
    vt.align = g >= 101 ? 4 : 7;
    viewfile::corners(vt.cornerX, vt.cornerY, 0, 0, 40, 10);
    const float scaled[4] = {1.5f, 0, 0, 1.5f};
    if (g == 101 || g == 102) {
        vt.x = 20, vt.y = 5;
    } else {
        vt.x = 7, vt.y = 8;
        if (g >= 107)
            std::memcpy(vt.matrix, scaled, sizeof scaled);
    }
    if (g >= 203)
        vt.style = 2, vt.size = 40, vt.displaySize = 20;
    else
        std::strcpy(vt.family, "Arial"), vt.size = vt.displaySize = 30;
    if (g == 101 || g == 102) { // the file's position is not the one read
        TEXT_STRUCT stored = vt;
        stored.x = 99, stored.y = 99;
        file.i(VD_TEXT_LEGACY).frame(vecElement).textBody(stored, 3, scaled).i(0);
    } else {
        file.i(VD_TEXT_LEGACY).frame(vecElement).textBody(vt, 3, scaled).i(0);
    }

    // TEXTURE: RGB before 2.04 (alpha 255), RGBA in 2.04; none before 1.07.
    auto& image = *static_cast<IMAGE_STRUCT*>(make(&v.list, VD_TEXTURE, "texture")->data);
    viewfile::corners(image.cornerX, image.cornerY, 0, 0, 20, 30);
    image.color[1] = 0.5f;
    Bytes stored;
    if (g >= 107) {
        image.pixelWidth = 2, image.pixelHeight = 2;
        unsigned char rgba[16];
        for (int p = 0; p < 4; ++p)
            for (int c = 0; c < 4; ++c) {
                rgba[4 * p + c] = c == 3 ? (g >= 204 ? 77 : 255) : static_cast<unsigned char>(10 * p + c + 1);
                if (c < 3 || g >= 204)
                    stored.push_back(rgba[4 * p + c]);
            }
        loadTextureFromData(rgba, &image);
    }
    file.i(VD_TEXTURE).frame(v.list->next->next->next).texture(image, stored).i(0);

    auto& c = *static_cast<CIRCLE_STRUCT*>(make(&v.list, VD_CIRCLE, "circle")->data);
    c.x = 200, c.y = 150, c.rx = c.ry = 100, c.start = 0.5f, c.end = 3, c.lineWidth = 3, c.lineStyle = 2, c.fill = 0;
    const float m[4] = {0.5f, g <= 101 ? 0 : 0.125f, g <= 101 ? 0 : -0.125f, 0.25f};
    std::memcpy(c.matrix, m, sizeof m);
    file.i(VD_CIRCLE).frame(v.list->next->next->next->next).circle(c).i(0);

    ELEMENT_STRUCT* group = make(&v.list, VD_GROUP, "group");
    ELEMENT_STRUCT* rectElement = make(&group->children, VD_RECTANGLE, "rect");
    rectElement->parent = group;
    auto& r = *static_cast<RECT_STRUCT*>(rectElement->data);
    viewfile::corners(r.x, r.y, 10, 20, 110, 70);
    r.lineStyle = 3, r.fill = 0, r.fillG = 0.5f;
    appendAction(&rectElement->actions, groupAction(g, 500));
    file.i(VD_GROUP).frame(group).i(2).i(VD_RECTANGLE).frame(rectElement).rect(r).actions(rectElement->actions);
    if (g >= 202) {
        ELEMENT_STRUCT* nine = make(&group->children, 9, "nine");
        nine->parent = group;
        appendAction(&nine->actions, groupAction(g, 501));
        file.i(9).frame(nine).actions(nine->actions);
    } else { // read and dropped
        ACTION_STRUCT* dropped = groupAction(g, 501);
        file.i(9).actions(dropped);
        delAction(&dropped, dropped);
    }
    file.i(0);

    // One source: a test-signal record of old kind 5 (signal 6, frequency
    // 2), or from 1.11 on a generic one.
    file.i(20).i(1);
    if (g <= 107) {
        DD_VAR_STRUCT* var = fileVariable(fileSource(&v.sources, 1, 0, 2), "sig", DD_FLOAT);
        file.i(5);
        for (int k = 0; k < (g >= 102 ? 8 : 7); ++k)
            file.i(k);
        file.text("signals", 128).i(1).i(DD_FLOAT).text("sig", 64).i(0);
        if (g >= 101) {
            file.f(0).i(6).i(2);
            var->para[0].value = 10;
            var->para[1].value = g == 102 || (g == 107 && version < 108) ? 5 : 2;
        }
    } else {
        DD_DATA_TYPE_STRUCT* source = fileSource(&v.sources, 7, 1, 1);
        source->para[0].value = 3;
        setParaText(source->para[0], "a");
        DD_VAR_STRUCT* var = fileVariable(source, "v", DD_INT);
        var->para[0].value = 5;
        setParaText(var->para[0], "c");
        file.i(7).i(1).i(1).i(3).text("a", 64).i(1).i(DD_INT).text("v", 64).i(5).text("c", 64);
    }
    v.file = file.b;
    setElementAttr(v.list);
    return v;
}

// Names and ids that the file does not store are the ones the reader's
// elements were given.
void takeGeneratedNames(ELEMENT_STRUCT* expected, const ELEMENT_STRUCT* loaded, int g)
{
    for (; expected != nullptr && loaded != nullptr; expected = expected->next, loaded = loaded->next) {
        if (g == 100)
            std::memcpy(expected->name, loaded->name, sizeof expected->name);
        if (g <= 201)
            std::memcpy(expected->id, loaded->id, sizeof expected->id);
        takeGeneratedNames(expected->children, loaded->children, g);
    }
}

std::vector<int> kindsOf(const ELEMENT_STRUCT* list)
{
    std::vector<int> kinds;
    for (; list != nullptr; list = list->next) {
        kinds.push_back(list->kind);
        for (int k : kindsOf(list->children))
            kinds.push_back(k);
    }
    return kinds;
}

class ViewFileOld : public ::testing::Test
{
protected:
    void TearDown() override { expectNoLeaks(); }

    std::string path(const char* name) const { return folder.path + "/" + name; }

    // Loads the bytes into empty lists; loadFile's result.
    int load(const Bytes& bytes, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config)
    {
        writeBytes(path("in.v"), bytes);
        return loadFile(path("in.v").c_str(), elements, sources, config);
    }

    TempFolder folder;
    LogCapture log;
};

const int kRevisions[] = {100, 101, 102, 105, 107, 108, 111, 113, 200, 201, 202, 203, 204, 300};

TEST_F(ViewFileOld, EveryRevisionGroupResavesAsTheConvertedView)
{
    for (int version : kRevisions) {
        SCOPED_TRACE("revision " + std::to_string(version));
        const int g = groupOf(version);
        GroupView expected = groupView(version);
        ELEMENT_STRUCT* loaded = nullptr;
        DD_DATA_TYPE_STRUCT* sources = nullptr;
        CONFIG_STRUCT config{};
        testing::internal::CaptureStdout();
        const int rc = load(expected.file, &loaded, &sources, &config);
        const std::string printed = testing::internal::GetCapturedStdout();
        ASSERT_EQ(rc, 0) << log.take();
        EXPECT_EQ(printed.find("text x = ") != std::string::npos, g == 102) << printed;
        if (g == 102) {
            EXPECT_NE(printed.find("text x = 20.000000 y = 5.000000\n"), std::string::npos) << printed;
        }
        EXPECT_EQ(kindsOf(loaded), kindsOf(expected.list));
        EXPECT_EQ(config.width, 800.0f);
        EXPECT_EQ(config.texts[4][0] != '\0', g == 107);

        takeGeneratedNames(expected.list, loaded, g);
        CONFIG_STRUCT block = viewfile::sampleConfig();
        ASSERT_EQ(saveFile(path("loaded.v").c_str(), loaded, sources, &block), 0);
        ASSERT_EQ(saveFile(path("expected.v").c_str(), expected.list, expected.sources, &block), 0);
        EXPECT_EQ(readBytes(path("loaded.v")), readBytes(path("expected.v")));

        // What 3.03 does not store.
        const auto& t = *static_cast<TEXT_STRUCT*>(loaded->next->data);
        EXPECT_EQ(t.oldFont, g >= 203 ? 0 : 9);
        EXPECT_EQ(t.outline, g >= 203 ? 0 : 1);
        EXPECT_EQ(t.antialias, g >= 203 ? 0 : 1);
        if (g <= 202) {
            EXPECT_EQ(t.lineWidth, 2.5f);
            EXPECT_EQ(t.lineStyle, 3);
        }
        const auto& c = *static_cast<CIRCLE_STRUCT*>(loaded->next->next->next->next->data);
        EXPECT_EQ(c.rx, 100.0f);
        if (g <= 101) {
            EXPECT_EQ(c.oldSize[0], -50.0f);
            EXPECT_EQ(c.oldSize[3], 8.0f);
        }
        elementDeleteAll(&loaded);
        elementDeleteAll(&expected.list);
        freeSources(&expected.sources);
        freeSources(&sources);
    }
}

// The fuzz target's seeds hold a file of each revision group built here;
// DORNE_WRITE_SEEDS=1 writes them anew.
TEST_F(ViewFileOld, FuzzSeedsHoldAFileOfEachGroup)
{
    const char* write = std::getenv("DORNE_WRITE_SEEDS");
    for (int version : {100, 101, 102, 107, 111, 113, 201, 202, 203, 204}) {
        GroupView v = groupView(version);
        // The names of the elements are the reader's where the file has none.
        const std::string seed = std::string(DORNE_VIEW_SEEDS) + "/rev" + std::to_string(version) + ".v";
        EXPECT_LE(v.file.size(), 4096u) << "within the fuzz test's input size";
        if (write != nullptr && std::string(write) == "1")
            writeBytes(seed, v.file);
        EXPECT_EQ(readBytes(seed), v.file) << seed << " (DORNE_WRITE_SEEDS=1 writes it anew)";
        elementDeleteAll(&v.list);
        freeSources(&v.sources);
    }
}

// ---- Dispatch ------------------------------------------------------------------

TEST_F(ViewFileOld, RevisionsGoToTheReaderOfTheirGroup)
{
    // An empty body of each revision: the 1.07 view block (texts) tells
    // which reader read it; 200 goes to 1.13, 300 to 2.04.
    struct Case
    {
        int version;
        bool texts;
    };
    const Case cases[] = {{100, false}, {101, false}, {106, false}, {107, true}, {110, true}, {111, false},
                          {116, false}, {200, false}, {201, false}, {204, false}, {300, false}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.version);
        Old file(groupOf(k.version));
        file.head(k.version);
        writeBytes(path("v.v"), file.b);
        ELEMENT_STRUCT* elements = nullptr;
        DD_DATA_TYPE_STRUCT* sources = nullptr;
        CONFIG_STRUCT config{};
        std::strcpy(config.texts[0], "before");
        ASSERT_EQ(loadFile(path("v.v").c_str(), &elements, &sources, &config), 0) << log.take();
        EXPECT_EQ(config.x, 10.0f);
        EXPECT_EQ(config.b, 1.0f);
        EXPECT_STREQ(config.texts[0], k.texts ? "text 0" : "before");
        EXPECT_STREQ(config.texts[4], k.texts ? "text 4" : "");
        CONFIG_STRUCT block{};
        ASSERT_EQ(loadConfigFile(path("v.v").c_str(), &block), 0);
        EXPECT_EQ(block.height, 600.0f);
        EXPECT_STREQ(block.texts[2], k.texts ? "text 2" : "");
    }
    // 1.00 and 1.01 blocks through the 1.02 reader: a block cut after its
    // floats is whole for it.
    log.take();
    Old r100(100);
    r100.head(100);
    writeBytes(path("v.v"), r100.b);
    CONFIG_STRUCT block{};
    ASSERT_EQ(loadConfigFile(path("v.v").c_str(), &block), 0);
    EXPECT_NE(log.take().find("Version = 1.00\n"), std::string::npos);
    EXPECT_EQ(block.g, 0.5f);
}

// ---- Data sources ----------------------------------------------------------------

struct OldSourceCase
{
    const char* name;
    int version;
    int32_t kind;
    int32_t k[8];
    std::string text;
    // variable: offset, value, signal, frequency
    int32_t offset;
    float value;
    int32_t signal, frequency;
    // expected
    int type, d, v;
    std::vector<std::pair<int, std::string>> sourceParameters; // value, text
    std::vector<std::pair<int, std::string>> variableParameters;
};

Bytes fixedSection(const OldSourceCase& c)
{
    const int g = groupOf(c.version);
    Old b(g);
    b.head(c.version).i(20).i(1).i(c.kind);
    for (int k = 0; k < (g >= 102 ? 8 : 7); ++k)
        b.i(c.k[k]);
    b.text(c.text, 128).i(1).i(DD_INT).text("var", 64).i(c.offset);
    if (g >= 101)
        b.f(c.value).i(c.signal).i(c.frequency);
    return b.b;
}

TEST_F(ViewFileOld, FixedSourceRecordsBecomeSourcesByTheirOldKind)
{
    const std::string longText(100, 'p');
    const std::vector<OldSourceCase> cases = {
        {"shm", 102, 0, {4660, 0, 0, 0, 0, 0, 0, 1}, "", 12, 0, 0, 0, 3, 4, 1,
         {{0, "0x1234"}, {1, ""}, {0, ""}, {0, ""}}, {{0, "12"}}},
        {"shm big endian", 107, 0, {4660, 0, 1, 0, 0, 0, 0, 1}, "", 12, 0, 0, 0, 3, 4, 1,
         {{0, "0x1234"}, {0, ""}, {1, ""}, {0, ""}}, {{0, "12"}}},
        {"udp", 101, 1, {0, 512, 0, 0, 0, 0, 255, 0}, "", 7, 0, 0, 0, 4, 3, 1,
         {{0, "0xff"}, {0, "512"}, {1, ""}}, {{0, "7"}}},
        {"kind 2", 102, 2, {0, 0, 1, 4, 5, 6, 0, 0}, "lib", 3, 0, 0, 0, 50, 5, 1,
         {{0, "lib"}, {4, ""}, {5, ""}, {6, ""}, {0, ""}}, {{0, "3"}}},
        {"kind 2 in 1.07", 107, 2, {0, 0, 0, 4, 5, 6, 0, 0}, "lib", 3, 0, 0, 0, 51, 5, 2,
         {{0, "lib"}, {4, ""}, {5, ""}, {6, ""}, {1, ""}}, {{0, "3"}, {1, ""}}},
        {"kind 3", 100, 3, {0, 0, 0, 4, 0, 0, 0, 0}, "x", 3, 0, 0, 0, 51, 3, 1,
         {{0, "x"}, {4, ""}, {1, ""}}, {{0, "3"}}},
        {"kind 3 in 1.07", 107, 3, {0, 0, 0, 4, 0, 0, 0, 0}, "x", 3, 0, 0, 0, 54, 3, 2,
         {{0, "x"}, {4, ""}, {1, ""}}, {{0, "3"}, {1, ""}}},
        {"constant of 1.00", 100, 4, {}, "", 0, 0, 0, 0, 2, 0, 1, {}, {{0, "0.000000"}}},
        {"constant", 101, 4, {}, "", 0, 2.5f, 0, 0, 2, 0, 1, {}, {{0, "2.500000"}}},
        {"signal 6 in 1.05", 105, 5, {}, "", 0, 0, 6, 2, 1, 0, 2, {}, {{10, ""}, {5, ""}}},
        {"signal in 1.01", 101, 5, {}, "", 0, 0, 11, 2, 1, 0, 2, {}, {{9, ""}, {2, ""}}},
        {"signal in 1.07", 107, 5, {}, "", 0, 0, 8, 2, 1, 0, 2, {}, {{2, ""}, {5, ""}}},
        {"signal in 1.08", 108, 5, {}, "", 0, 0, 10, 2, 1, 0, 2, {}, {{8, ""}, {2, ""}}},
        {"unknown signal", 102, 5, {}, "", 0, 0, 12, 0, 1, 0, 2, {}, {{0, ""}, {3, ""}}},
        {"kind 6", 102, 6, {0, 0, 0, 9, 0, 0, 0, 0}, "m", 1, 0, 0, 0, 52, 3, 1,
         {{0, "m"}, {9, ""}, {1, ""}}, {{0, "1"}}},
        {"kind 6 in 1.07", 107, 6, {0, 0, 1, 9, 0, 0, 0, 0}, "m", 1, 0, 0, 0, 52, 2, 2,
         {{0, "m"}, {0, ""}}, {{0, "1"}, {1, ""}}},
        {"internal", 102, 7, {}, "", 0, 0, 0, 0, 5, 0, 0, {}, {}},
        {"unknown kind", 102, 9, {}, "", 0, 0, 0, 0, 0, 0, 0, {}, {}},
        {"long text", 102, 2, {}, longText, 0, 0, 0, 0, 50, 5, 1,
         {{0, longText.substr(0, 63)}}, {{0, "0"}}},
    };
    for (const OldSourceCase& c : cases) {
        SCOPED_TRACE(c.name);
        ELEMENT_STRUCT* elements = nullptr;
        DD_DATA_TYPE_STRUCT* sources = nullptr;
        CONFIG_STRUCT config{};
        log.take();
        ASSERT_EQ(load(fixedSection(c), &elements, &sources, &config), 0) << log.take();
        const std::string logged = log.take();
        ASSERT_NE(sources, nullptr);
        EXPECT_EQ(sources->type, c.type);
        EXPECT_EQ(sources->dataOptionCount, c.d);
        EXPECT_EQ(sources->varOptionCount, c.v);
        EXPECT_EQ(sources->paraAlloc, 10);
        for (size_t p = 0; p < c.sourceParameters.size(); ++p) {
            EXPECT_EQ(sources->para[p].value, c.sourceParameters[p].first) << p;
            EXPECT_EQ(sources->para[p].text, c.sourceParameters[p].second) << p;
        }
        const DD_VAR_STRUCT* var = sources->variables;
        ASSERT_NE(var, nullptr);
        EXPECT_STREQ(var->name, "var");
        EXPECT_EQ(var->type, DD_INT);
        EXPECT_EQ(var->paraCount, c.v);
        for (size_t p = 0; p < c.variableParameters.size(); ++p) {
            EXPECT_EQ(var->para[p].value, c.variableParameters[p].first) << p;
            EXPECT_EQ(var->para[p].text, c.variableParameters[p].second) << p;
        }
        EXPECT_EQ(logged.find("data source 1: text \"" + std::string(40, 'p') + "...\" cut to 63 characters\n") !=
                      std::string::npos,
                  std::string(c.name) == "long text")
            << logged;
        EXPECT_EQ(logged.find("variable var: signal 12 unknown, taken as SIN\n") != std::string::npos,
                  std::string(c.name) == "unknown signal")
            << logged;
        freeSources(&sources);
    }
}

TEST_F(ViewFileOld, GenericSectionsHaveNoDefaultTexts)
{
    for (int version : {111, 113, 200, 201, 202, 203, 204, 300}) {
        SCOPED_TRACE(version);
        Old b(groupOf(version));
        b.head(version).i(20).i(1).i(7).i(2).i(1).i(3).text("a", 64).i(4).text("b", 64);
        b.i(1).i(DD_FLOAT).text("v", 64).i(5).text("c", 64);
        ELEMENT_STRUCT* elements = nullptr;
        DD_DATA_TYPE_STRUCT* sources = nullptr;
        CONFIG_STRUCT config{};
        ASSERT_EQ(load(b.b, &elements, &sources, &config), 0) << log.take();
        EXPECT_EQ(sources->type, 7);
        EXPECT_EQ(sources->para[1].value, 4);
        EXPECT_STREQ(sources->para[1].text, "b");
        EXPECT_STREQ(sources->variables->defaultText, "");
        EXPECT_EQ(sources->variables->para[0].value, 5);
        EXPECT_STREQ(sources->variables->para[0].text, "c");
        freeSources(&sources);
    }
}

// ---- Actions -------------------------------------------------------------------------

// An element file of the group with one kind 9 (2.02 on) or LINE record
// holding the given action bytes.
Bytes withActions(int version, const std::function<void(Old&)>& actions)
{
    const int g = groupOf(version);
    Old b(g);
    b.head(version).i(VD_LINE);
    if (g >= 202)
        b.i(2).text("l", 2).i(4).text("l-I", 4);
    else if (g >= 101)
        b.text("l", 64);
    b.f(0).f(0).f(10).f(0).f(1).i(0).f(1).f(1).f(1).f(1).i(0);
    actions(b);
    return b.b;
}

// A 1.00 action: kind, the mapping, the old colour, ignored float, value.
void action100(Old& b, int32_t kind, float value, float a0 = 0, float b1 = 1)
{
    b.i(1).i(7).i(kind).text("v", 32).f(a0).f(1).f(0).f(b1).f(3).f(4).i(0);
    b.f(1).f(0).f(0).f(42).f(value).text("", 64);
}

TEST_F(ViewFileOld, OldActionsAreConverted)
{
    struct Case
    {
        const char* name;
        float value;
        int32_t expected;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const Case& c : {Case{"2.7", 2.7f, 2}, Case{"-1.5", -1.5f, -1}, Case{"NaN", nan, 0},
                          Case{"huge", 1e10f, INT32_MAX}, Case{"-huge", -1e10f, INT32_MIN}}) {
        SCOPED_TRACE(c.name);
        ELEMENT_STRUCT* elements = nullptr;
        DD_DATA_TYPE_STRUCT* sources = nullptr;
        CONFIG_STRUCT config{};
        ASSERT_EQ(load(withActions(100, [&](Old& b) { action100(b, 15, c.value); }), &elements, &sources, &config), 0);
        ACTION_STRUCT* a = elements->actions;
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->id, 7);
        EXPECT_EQ(a->offset, 3.0f);
        for (int k = 0; k < 5; ++k) {
            TH_BLOCK* block = thresholdGroup(a, k);
            EXPECT_EQ(block->min, 0.0f);
            EXPECT_EQ(block->max, 120.0f);
            if (k == 4) {
                EXPECT_EQ(block->list, nullptr);
                continue;
            }
            ASSERT_NE(block->list, nullptr);
            EXPECT_EQ(block->list->next, nullptr);
            EXPECT_EQ(block->list->level, 0.0f);
            EXPECT_EQ(block->list->upperLevel, 120.0f);
            EXPECT_EQ(block->list->intValue, c.expected);
            EXPECT_EQ(block->list->r, 1.0f);
            EXPECT_EQ(block->list->g, 0.0f);
        }
        if (c.expected == 2) {
            EXPECT_EQ(a->thStyle.list->stipplePattern, 0xCCCC) << "resolved after the read";
        }
        elementDeleteAll(&elements);
    }

    // A 1.00 graph action maps as it is.
    ELEMENT_STRUCT* elements = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config{};
    ASSERT_EQ(load(withActions(100, [](Old& b) { action100(b, 6, 0, 5, 9); }), &elements, &sources, &config), 0);
    const ACTION_STRUCT* a = elements->actions;
    EXPECT_EQ(std::vector<float>({a->a0, a->a1, a->b0, a->b1, a->offset, a->slope}),
              (std::vector<float>{0, 1, 0, 1, 0, 1}));
    elementDeleteAll(&elements);
}

TEST_F(ViewFileOld, ActionFieldsByRevision)
{
    // Built from one action of a 2.03 layout; the blink entries 0, 1, 7 of
    // rate 4 load as 0, 4, 4.
    const auto blinkAction = [](Old& b) {
        b.i(1).i(3).i(25).text("a variable name of forty characters ....", 64).text("y", 64);
        for (int k = 0; k < 12; ++k)
            b.f(float(k));
        b.i(2).text("%d", 64).i(1).f(2).i(4).i(1).i(2).i(0).i(1).f(0.5f).f(1).f(9);
        for (int k = 0; k < 4; ++k)
            b.f(0).f(120).i(0);
        b.f(0).f(120).i(3);
        for (int v : {0, 1, 7})
            b.f(float(v)).f(1).i(v).f(0).f(0).f(0);
    };
    ELEMENT_STRUCT* elements = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config{};
    ASSERT_EQ(load(withActions(203, blinkAction), &elements, &sources, &config), 0) << log.take();
    const ACTION_STRUCT* a = elements->actions;
    std::vector<int> blink;
    for (const TH_STRUCT* th = a->thBlink.list; th != nullptr; th = th->next)
        blink.push_back(th->intValue);
    EXPECT_EQ(blink, (std::vector<int>{0, 4, 4}));
    EXPECT_STREQ(a->var, "a variable name of forty characters ....");
    EXPECT_EQ(a->secondSlope, 11.0f);
    EXPECT_EQ(a->filterTime, 2.0f);
    EXPECT_EQ(a->mouseMax, 9.0f);
    EXPECT_EQ(a->mouseHiddenActive, 1);
    elementDeleteAll(&elements);

    // 1.13 (and 2.00) store the path name; a 32-byte variable holds 31
    // characters.
    for (int version : {113, 200}) {
        const auto pathAction = [](Old& b) {
            b.i(1).i(3).i(11).text("a variable name of forty characters ....", 32);
            b.f(0).f(1).f(0).f(1).f(0).f(1).i(0).text("", 64).i(0).f(1).i(0).i(0).i(0).i(0).f(1).f(0).f(1);
            b.text("track", 64);
            for (int k = 0; k < 4; ++k)
                b.f(0).f(120).i(0);
        };
        ASSERT_EQ(load(withActions(version, pathAction), &elements, &sources, &config), 0) << log.take();
        EXPECT_STREQ(elements->actions->polyName, "track");
        EXPECT_EQ(std::string(elements->actions->var), std::string("a variable name of forty charac"));
        elementDeleteAll(&elements);
    }
}

// ---- Elements ----------------------------------------------------------------------

TEST_F(ViewFileOld, FramesCarryWhatTheirRevisionStores)
{
    for (int version : {100, 105, 202}) {
        SCOPED_TRACE(version);
        const int g = groupOf(version);
        Old b(g);
        b.head(version).i(VD_LINE);
        if (g >= 202)
            b.i(5).text("line", 5).i(8).text("line-ID", 8);
        else if (g >= 101)
            b.text("line", 64);
        b.f(0).f(0).f(10).f(0).f(1).i(0).f(1).f(1).f(1).f(1).i(0).i(0);
        ELEMENT_STRUCT* elements = nullptr;
        DD_DATA_TYPE_STRUCT* sources = nullptr;
        CONFIG_STRUCT config{};
        ASSERT_EQ(load(b.b, &elements, &sources, &config), 0) << log.take();
        const std::string name = elements->name, id = elements->id;
        if (g == 100)
            EXPECT_EQ(name.rfind("LINE-", 0), 0u) << name;
        else
            EXPECT_EQ(name, "line");
        if (g == 202)
            EXPECT_EQ(id, "line-ID");
        else if (g == 100)
            EXPECT_EQ(id, name + "-ID") << "generated with the name";
        else
            EXPECT_TRUE(id.rfind("LINE-", 0) == 0 && id.size() > 3 && id.substr(id.size() - 3) == "-ID") << id;
        elementDeleteAll(&elements);
    }
}

// A file holding one record of the kind, body given.
Bytes oneRecord(int version, int32_t kind, const std::function<void(Old&)>& body)
{
    const int g = groupOf(version);
    Old b(g);
    b.head(version).i(kind);
    if (g >= 202)
        b.i(2).text("e", 2).i(2).text("i", 2);
    else if (g >= 101)
        b.text("e", 64);
    body(b);
    return b.i(0).b;
}

TEST_F(ViewFileOld, GraphFontsByRevision)
{
    struct Case
    {
        int version;
        std::string family;
        int32_t style, size;
        std::string expectedFamily;
        int expectedStyle, expectedSize;
    };
    const Case cases[] = {
        {110, "", 0, 0, "Courier [fixed]", 1, 10},
        {203, "Arial", 2, 0, "Arial", 2, 0},
        {203, "Arial", 5, 20, "Courier [fixed]", 1, 10},
        {203, "Arial", 8, 40, "Arial", 8, 40},
        {203, "Arial", 1, 41, "Courier [fixed]", 1, 10},
        {204, "Arial", 2, 0, "Courier [fixed]", 1, 12},
        {204, "Arial", 8, 40, "Arial", 8, 40},
        {204, "", 1, 20, "Courier [fixed]", 1, 12},
        {300, "Arial", 4, 1, "Arial", 4, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.version) + " " + c.family + " " + std::to_string(c.style) + " " +
                     std::to_string(c.size));
        ELEMENT_STRUCT* expected = elementCreate(VD_GRAPH);
        GRAPH_STRUCT g = *static_cast<GRAPH_STRUCT*>(expected->data);
        std::strcpy(g.family, c.family.c_str());
        g.style = c.style, g.size = c.size;
        g.labelXMin = 5; // stored by 2.04 only
        ELEMENT_STRUCT* elements = nullptr;
        DD_DATA_TYPE_STRUCT* sources = nullptr;
        CONFIG_STRUCT config{};
        const Bytes bytes = oneRecord(c.version, VD_GRAPH, [&](Old& b) { b.graph(g); });
        ASSERT_EQ(load(bytes, &elements, &sources, &config), 0) << log.take();
        const auto& loaded = *static_cast<GRAPH_STRUCT*>(elements->data);
        EXPECT_EQ(loaded.family, c.expectedFamily);
        EXPECT_EQ(loaded.style, c.expectedStyle);
        EXPECT_EQ(loaded.size, c.expectedSize);
        EXPECT_EQ(loaded.labelXMin, groupOf(c.version) == 204 ? 5.0f : 0.0f);
        EXPECT_EQ(loaded.labelXMax, 100.0f);
        if (c.version == 110) {
            EXPECT_EQ(loaded.backgroundColor[3], 1.0f);
            EXPECT_EQ(loaded.labelYR, 0);
            EXPECT_EQ(loaded.tickYR, 0);
        }
        elementDeleteAll(&elements);
        elementDeleteAll(&expected);
    }
}

TEST_F(ViewFileOld, TextsAndTexturesByRevision)
{
    // A 2.03 TEXT ignores the six ints behind its display size.
    ELEMENT_STRUCT* model = elementCreate(VD_TEXT);
    const TEXT_STRUCT t = *static_cast<TEXT_STRUCT*>(model->data);
    elementDeleteAll(&model);
    ELEMENT_STRUCT* elements = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config{};
    ASSERT_EQ(load(oneRecord(203, VD_TEXT, [&](Old& b) { b.textBody(t, 0, nullptr); }), &elements, &sources, &config), 0);
    EXPECT_EQ(static_cast<TEXT_STRUCT*>(elements->data)->pattern, 0);
    EXPECT_STREQ(static_cast<TEXT_STRUCT*>(elements->data)->text, "Text");
    elementDeleteAll(&elements);

    // Textures: 1.08 stores RGB (12 bytes for 2 x 2), 2.04 RGBA (16), 1.04
    // none, and the next record follows at once.
    struct Case
    {
        int version;
        int stored;
        int alpha;
    };
    for (const Case& c : {Case{108, 12, 255}, Case{204, 16, 9}, Case{104, 0, -1}}) {
        SCOPED_TRACE(c.version);
        const int g = groupOf(c.version);
        Old b(g);
        b.head(c.version).i(VD_TEXTURE);
        if (g >= 202)
            b.i(2).text("t", 2).i(2).text("i", 2);
        else
            b.text("t", 64);
        b.zeros(8).f(1).f(1).f(1).f(1).i(0).text("", 128).i(0);
        if (c.stored > 0) {
            b.i(2).i(2);
            for (int k = 0; k < c.stored; ++k)
                b.b.push_back(static_cast<unsigned char>(k == 3 && c.stored == 16 ? 9 : k + 1));
        }
        b.i(0).i(VD_LINE);
        if (g >= 202)
            b.i(2).text("l", 2).i(2).text("i", 2);
        else
            b.text("l", 64);
        b.f(0).f(0).f(1).f(1).f(1).i(0).f(1).f(1).f(1).f(1).i(0).i(0);
        ASSERT_EQ(load(b.b, &elements, &sources, &config), 0) << log.take();
        ASSERT_NE(elements->next, nullptr);
        EXPECT_EQ(elements->next->kind, VD_LINE);
        const auto& image = *static_cast<IMAGE_STRUCT*>(elements->data);
        if (c.stored == 0) {
            EXPECT_EQ(image.pixelWidth, 0);
        } else {
            const unsigned char* pixels = txData(image.texture);
            ASSERT_NE(pixels, nullptr);
            EXPECT_EQ(image.pixelWidth, 2);
            EXPECT_EQ(pixels[3], c.alpha);
            EXPECT_EQ(pixels[15], c.stored == 12 ? 255 : 16);
            EXPECT_EQ(pixels[4], c.stored == 12 ? 4 : 5);
        }
        elementDeleteAll(&elements);
    }
}

// ---- Refusals --------------------------------------------------------------------------

TEST_F(ViewFileOld, RefusedFilesLeaveTheCallersListsAsTheyWere)
{
    struct Refusal
    {
        const char* name;
        Bytes bytes;
        std::string message;
    };
    const std::string at = "loadFile: %s: ";
    std::vector<Refusal> refusals;
    for (int32_t tag : {15, -2, 9999})
        refusals.push_back({"tag", oneRecord(105, tag, [](Old&) {}), at + "unknown record tag " + std::to_string(tag) + "\n"});
    refusals.push_back({"child kind", oneRecord(107, VD_GROUP, [](Old& b) { b.i(1).i(15).i(0).i(0); }),
                        at + "child kind 15 out of range\n"});
    refusals.push_back({"name length", oneRecord(202, VD_LINE, [](Old& b) { b.b.resize(b.b.size() - 12); b.i(0); }),
                        at + "element name length 0 out of range\n"});
    refusals.push_back({"text length", oneRecord(107, VD_TEXT, [](Old& b) {
                            b.zeros(16).i(256).text("", 300);
                        }),
                        at + "a TEXT record's text length 256 out of range\n"});
    refusals.push_back({"texture", oneRecord(108, VD_TEXTURE, [](Old& b) {
                            b.zeros(13).text("", 128).i(0).i(1000).i(1000).text("", 100);
                        }),
                        at + "TEXTURE of 1000 x 1000 pixels runs past the end of the file\n"});
    refusals.push_back({"negative texture", oneRecord(204, VD_TEXTURE, [](Old& b) {
                            b.zeros(13).text("", 128).i(0).i(-1).i(2);
                        }),
                        at + "TEXTURE size -1 x 2 out of range\n"});
    refusals.push_back({"action count", withActions(111, [](Old& b) { b.i(1).i(1).i(0); }),
                        at + "action count 1 runs past the end of the file\n"});
    refusals.push_back({"source count", [] {
                            Old b(100);
                            return b.head(100).i(20).i(-1).b;
                        }(),
                        at + "data source count -1 out of range\n"});
    refusals.push_back({"cut source", [] {
                            Old b(107);
                            b.head(107).i(20).i(1).i(0).zeros(8).text("", 128).i(1).i(0).text("v", 64).i(0).f(0).i(0);
                            return b.b;
                        }(),
                        at + "variable count 1 runs past the end of the file\n"});
    // Groups nest 255 levels at most; kind 9 in 1.05 with a cut action.
    refusals.push_back({"nesting", [] {
                            Old b(201);
                            b.head(201);
                            for (int k = 0; k < 256; ++k)
                                b.i(VD_GROUP).text("g", 64).i(1);
                            b.i(VD_LINE);
                            return b.b;
                        }(),
                        at + "groups nested deeper than 255 levels\n"});
    refusals.push_back({"kind 9 action", oneRecord(105, 9, [](Old& b) { b.b.resize(b.b.size() - 64); b.i(1).i(3); }),
                        at + "action count 1 runs past the end of the file\n"});

    ELEMENT_STRUCT* elements = elementCreate(VD_RECTANGLE);
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    DD_DATA_TYPE_STRUCT* own = fileSource(&sources, 42, 1, 1);
    CONFIG_STRUCT config = viewfile::sampleConfig();
    std::strcpy(config.texts[0], "block");
    const CONFIG_STRUCT before = config;
    const std::string file = path("refused.v");
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.name);
        writeBytes(file, r.bytes);
        log.take();
        EXPECT_EQ(loadFile(file.c_str(), &elements, &sources, &config), -1);
        std::string message = r.message;
        message.replace(message.find("%s"), 2, file);
        const std::string logged = log.take();
        ASSERT_GE(logged.size(), message.size()) << logged;
        EXPECT_EQ(logged.substr(logged.size() - message.size()), message);
        EXPECT_EQ(elements->next, nullptr);
        EXPECT_EQ(sources, own);
        EXPECT_EQ(own->next, nullptr);
        EXPECT_EQ(std::memcmp(&config, &before, sizeof config), 0);
    }
    elementDeleteAll(&elements);
    freeSources(&sources);
}

TEST_F(ViewFileOld, KindNineIsDroppedBefore202AndKeptFrom202)
{
    for (int version : {105, 202}) {
        SCOPED_TRACE(version);
        const int g = groupOf(version);
        Old b(g);
        b.head(version).i(9);
        if (g >= 202)
            b.i(2).text("n", 2).i(2).text("i", 2);
        ACTION_STRUCT* a = groupAction(g, 9);
        b.actions(a);
        delAction(&a, a);
        b.i(VD_GROUP);
        if (g >= 202)
            b.i(2).text("g", 2).i(2).text("j", 2);
        else
            b.text("g", 64);
        b.i(1).i(9);
        if (g >= 202)
            b.i(2).text("m", 2).i(2).text("k", 2);
        b.i(0).i(0);
        ELEMENT_STRUCT* elements = nullptr;
        DD_DATA_TYPE_STRUCT* sources = nullptr;
        CONFIG_STRUCT config{};
        ASSERT_EQ(load(b.b, &elements, &sources, &config), 0) << log.take();
        EXPECT_EQ(kindsOf(elements), g >= 202 ? (std::vector<int>{9, 8, 9}) : (std::vector<int>{8}));
        if (g >= 202) {
            EXPECT_EQ(elements->actions->id, 9);
        }
        elementDeleteAll(&elements);
    }
}

// ---- Pieces --------------------------------------------------------------------------------

TEST_F(ViewFileOld, PiecesReadFromTheStreamsPosition)
{
    GroupView v = groupView(108);
    writeBytes(path("v.v"), v.file);
    FILE* f = std::fopen(path("v.v").c_str(), "rb");
    ASSERT_EQ(std::fseek(f, 30 + 8, SEEK_SET), 0);
    ELEMENT_STRUCT* loaded = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config{};
    ASSERT_EQ(loadFile_107(f, &loaded, &sources, &config, 108), 0) << log.take();
    EXPECT_EQ(kindsOf(loaded), kindsOf(v.list));
    EXPECT_STREQ(config.texts[3], "text 3");
    ASSERT_EQ(std::fseek(f, 30 + 8, SEEK_SET), 0);
    CONFIG_STRUCT block{};
    ASSERT_EQ(loadConfigFile_107(f, &block), 0);
    EXPECT_STREQ(block.texts[1], "text 1");
    std::fclose(f);
    elementDeleteAll(&loaded);
    elementDeleteAll(&v.list);
    freeSources(&v.sources);
    freeSources(&sources);

    // A fixed source section, with the version of the frequency rule.
    OldSourceCase c{"", 107, 5, {}, "", 0, 0, 0, 2, 1, 0, 2, {}, {}};
    const Bytes section = fixedSection(c);
    Bytes body(section.begin() + 30 + 8 + 7 * 4 + 5 * 128 + 4, section.end());
    writeBytes(path("s.v"), body);
    for (int version : {107, 108}) {
        FILE* s = std::fopen(path("s.v").c_str(), "rb");
        ASSERT_EQ(dataLoad_107(s, &sources, version), 0) << log.take();
        std::fclose(s);
    }
    EXPECT_EQ(sources->variables->para[1].value, 5);
    EXPECT_EQ(sources->next->variables->para[1].value, 2);
    freeSources(&sources);

    // An action list of 1.00; an element kind out of range.
    Old a(100);
    action100(a, 15, 3);
    writeBytes(path("a.v"), a.b);
    FILE* af = std::fopen(path("a.v").c_str(), "rb");
    ACTION_STRUCT* actions = nullptr;
    ASSERT_EQ(actionLoad_100(af, &actions), 0) << log.take();
    std::fclose(af);
    ASSERT_NE(actions, nullptr);
    EXPECT_EQ(actions->thWidth.list->intValue, 3);
    delAction(&actions, actions);
    FILE* ef = std::fopen(path("a.v").c_str(), "rb");
    log.take();
    EXPECT_EQ(elementLoad_202(15, ef, &loaded), -1);
    EXPECT_EQ(log.take(), "elementLoad_202: stream: element kind 15 out of range\n");
    EXPECT_EQ(loaded, nullptr);
    std::fclose(ef);
}

} // namespace
