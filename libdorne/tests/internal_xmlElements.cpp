// The element and action records of the XML view file: the edge cases of
// every kind and action both ways, the corner conversion of the
// rectangle-like kinds, a view of every kind from binary to XML to binary
// (the bytes equal but for what the XML format drops or converts, listed
// in xmlConversions), and loads cut short by a creation that fails.
#include "xml/XmlElements.h"

#include "dataSourceSupport.h"
#include "leakCheck.h"
#include "viewFileSupport.h"

#include "dorneFiles.h"
#include "dorneGl.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

using namespace support;

namespace {

using viewfile::readText;
using viewfile::writeText;

std::string document(const std::string& definitions, const std::string& geometry)
{
    return "<?xml version=\"1.0\" ?>\n<Nalvo2D version=\"3.3\"><definition>" + definitions +
           "</definition><geometry>" + geometry + "</geometry></Nalvo2D>\n";
}

int countList(const ELEMENT_STRUCT* e)
{
    int n = 0;
    for (; e != nullptr; e = e->next)
        ++n;
    return n;
}

template <typename T>
int countOf(const T* p)
{
    int n = 0;
    for (; p != nullptr; p = p->next)
        ++n;
    return n;
}

std::vector<float> cornersOf(const float* x, const float* y)
{
    return {x[0], x[1], x[2], x[3], y[0], y[1], y[2], y[3]};
}

class XmlElements : public ::testing::Test
{
protected:
    void TearDown() override
    {
        elementDeleteAll(&list);
        freeSources(&sources);
        expectNoLeaks();
    }

    std::string path(const std::string& name) const { return folder.path + "/" + name; }

    // Loads the text into list (emptied first); the result.
    int load(const std::string& text)
    {
        elementDeleteAll(&list);
        writeText(path("in.xml"), text);
        CONFIG_STRUCT config{};
        return loadFileXml(path("in.xml").c_str(), &list, &sources, &config);
    }

    // Saves elements and gives the file's text.
    std::string save(ELEMENT_STRUCT* elements)
    {
        CONFIG_STRUCT config{};
        EXPECT_EQ(saveFileXml(path("out.xml").c_str(), elements, nullptr, &config), 0);
        return readText(path("out.xml"));
    }

    TempFolder folder;
    LogCapture log;
    ELEMENT_STRUCT* list = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
};

// ---- Reading records -----------------------------------------------------------

struct ReadCase
{
    const char* name;
    std::string definitions;
    std::string geometry;
    std::function<void(ELEMENT_STRUCT*)> check;
};

std::vector<ReadCase> readCases()
{
    const std::vector<float> box = {10, 10, 50, 50, 10, 30, 30, 10};
    std::vector<ReadCase> r;
    r.push_back({"rect at top level", "", "<rect x=\"30\" y=\"20\" width=\"40\" height=\"20\" />", [box](ELEMENT_STRUCT* e) {
                     ASSERT_EQ(e->kind, VD_RECTANGLE);
                     auto* s = static_cast<RECT_STRUCT*>(e->data);
                     EXPECT_EQ(cornersOf(s->x, s->y), box) << "no matrix: axis-parallel about x, y";
                 }});
    r.push_back({"group offsets", "",
                 "<group x=\"100\" y=\"50\"><rect name=\"in\" x=\"-70\" y=\"-30\" width=\"40\" height=\"20\" /></group>",
                 [box](ELEMENT_STRUCT* g) {
                     ASSERT_EQ(g->kind, VD_GROUP);
                     ELEMENT_STRUCT* e = g->children;
                     ASSERT_NE(e, nullptr);
                     auto* s = static_cast<RECT_STRUCT*>(e->data);
                     EXPECT_EQ(cornersOf(s->x, s->y), box);
                     EXPECT_EQ(e->parent, g);
                     EXPECT_EQ(g->x, 30.0f) << "the centre of its children";
                     EXPECT_EQ(g->y, 20.0f);
                 }});
    r.push_back({"matrix translation moves the corners", "",
                 "<rect x=\"30\" y=\"20\" width=\"40\" height=\"20\" matrix=\"1 0 0 1 5 5\" />", [](ELEMENT_STRUCT* e) {
                     auto* s = static_cast<RECT_STRUCT*>(e->data);
                     EXPECT_EQ(cornersOf(s->x, s->y), (std::vector<float>{15, 15, 55, 55, 15, 35, 35, 15}));
                 }});
    r.push_back({"mask and bitmap choose the kind", "",
                 "<rect mask=\"true\" bitmap=\"3\" /><rect bitmap=\"3\" /><rect bitmap=\"0\" mask=\"false\" />",
                 [](ELEMENT_STRUCT* e) {
                     ASSERT_EQ(countList(e), 3);
                     EXPECT_EQ(e->kind, VD_SCISSOR);
                     EXPECT_EQ(e->next->kind, VD_TEXTURE);
                     EXPECT_EQ(static_cast<IMAGE_STRUCT*>(e->next->data)->texture, 0) << "no image 3: no texture";
                     EXPECT_EQ(e->next->next->kind, VD_RECTANGLE);
                 }});
    r.push_back({"ellipse degrees, circle with r", "",
                 "<ellipse start=\"90\" end=\"180\" rx=\"3\" ry=\"4\" fill=\"none\" /><circle r=\"5\" rx=\"1\" ry=\"2\" />",
                 [](ELEMENT_STRUCT* e) {
                     auto* c = static_cast<CIRCLE_STRUCT*>(e->data);
                     EXPECT_EQ(e->kind, VD_CIRCLE);
                     EXPECT_NEAR(c->start, 1.5707963, 1e-6);
                     EXPECT_NEAR(c->end, 3.1415926, 1e-6);
                     EXPECT_EQ(c->rx, 3.0f);
                     EXPECT_EQ(c->ry, 4.0f);
                     EXPECT_EQ(c->fill, 0);
                     EXPECT_EQ(c->outline, 1) << "a colour turns the outline on";
                     auto* d = static_cast<CIRCLE_STRUCT*>(e->next->data);
                     EXPECT_EQ(e->next->kind, VD_CIRCLE);
                     EXPECT_EQ(d->rx, 5.0f);
                     EXPECT_EQ(d->ry, 5.0f);
                     EXPECT_EQ(d->matrix[0], 1.0f) << "no matrix: identity";
                 }});
    r.push_back({"vertex lists", "",
                 "<polyline points=\"1 2 3 4\" /><polyline points=\"1 2 3 4 \" /><polyline points=\"1 2 3\" />"
                 "<polyline points=\"\" /><polyline points=\"1 2 x 4 5 6\" />",
                 [](ELEMENT_STRUCT* e) {
                     const int counts[] = {2, 2, 1, 0, 1};
                     for (int n : counts) {
                         ASSERT_NE(e, nullptr);
                         auto* p = static_cast<POLY_STRUCT*>(e->data);
                         EXPECT_EQ(countOf(p->coords), n);
                         if (n == 2) {
                             EXPECT_EQ(p->coords->id, 0u);
                             EXPECT_EQ(p->coords->next->id, 1u);
                             EXPECT_EQ(p->coords->next->x, 3.0f);
                         }
                         e = e->next;
                     }
                 }});
    r.push_back({"polygon without outline", "", "<polygon stroke=\"none\" fill=\"#ff000080\" points=\"0 0 1 0 1 1\" />",
                 [](ELEMENT_STRUCT* e) {
                     ASSERT_EQ(e->kind, VD_CPOLYGON);
                     auto* p = static_cast<POLY_STRUCT*>(e->data);
                     EXPECT_EQ(p->outline, 0);
                     EXPECT_EQ(p->lineR + p->lineG + p->lineB + p->lineA, 4.0f) << "opaque white";
                     EXPECT_EQ(p->fill, 1);
                     EXPECT_NEAR(p->fillA, 128 / 255.0, 1e-6);
                 }});
    r.push_back({"path ends 0.0005 apart: closed", "", "<path path=\"M 0 0 L 10 0 L 0.0005 0\" fill=\"#ff0000ff\" />",
                 [](ELEMENT_STRUCT* e) {
                     ASSERT_EQ(countList(e), 1);
                     EXPECT_EQ(e->kind, VD_CPOLYGON);
                     auto* p = static_cast<POLY_STRUCT*>(e->data);
                     ASSERT_EQ(countOf(p->coords), 3);
                     EXPECT_EQ(p->coords->next->next->x, 0.0005f);
                     EXPECT_EQ(p->fill, 1);
                 }});
    r.push_back({"path ends 0.001 apart: open", "", "<path path=\"M 0 0 L 10 0 L 0.001 0\" fill=\"#ff0000ff\" />",
                 [](ELEMENT_STRUCT* e) {
                     EXPECT_EQ(e->kind, VD_POLYGON);
                     EXPECT_EQ(static_cast<POLY_STRUCT*>(e->data)->fill, 0);
                 }});
    r.push_back({"path of two subpaths in a group", "",
                 "<group><path name=\"p\" path=\"M0,0 L10,0 M20,20 L30,20\"><action type=\"rotate\" /></path></group>",
                 [](ELEMENT_STRUCT* g) {
                     ASSERT_EQ(countList(g->children), 2);
                     ELEMENT_STRUCT* a = g->children;
                     ELEMENT_STRUCT* b = a->next;
                     EXPECT_STREQ(a->name, "p");
                     EXPECT_STREQ(b->name, "p");
                     EXPECT_EQ(a->actions, nullptr);
                     ASSERT_NE(b->actions, nullptr);
                     EXPECT_EQ(b->actions->type, 5);
                     EXPECT_EQ(a->parent, g);
                     EXPECT_EQ(b->parent, g);
                 }});
    r.push_back({"no keyword, no element, no actions", "", "<blob><action type=\"rotate\" /></blob><Rect /><path />",
                 [](ELEMENT_STRUCT* e) { EXPECT_EQ(e, nullptr); }});
    r.push_back({"graph in a group, missing attributes", "",
                 "<group x=\"50\" y=\"100\"><graph x=\"150\" y=\"500\" labelyr=\"true\" labely=\"True\" "
                 "tick-width=\"1.5\" font=\"4\" /></group>",
                 [](ELEMENT_STRUCT* group) {
                     ELEMENT_STRUCT* e = group->children;
                     ASSERT_EQ(e->kind, VD_GRAPH);
                     auto* g = static_cast<GRAPH_STRUCT*>(e->data);
                     EXPECT_EQ(g->x, 200.0f);
                     EXPECT_EQ(g->y, 600.0f);
                     EXPECT_EQ(g->samples, 0) << "not the default of creation";
                     EXPECT_EQ(g->autoscale, 0);
                     EXPECT_EQ(g->labelYR, 1);
                     EXPECT_EQ(g->labelY, 0);
                     EXPECT_EQ(g->tickWidth, 1.5f);
                     EXPECT_STREQ(g->family, "Helvetica [fixed]") << "font 4 is not defined";
                     EXPECT_EQ(g->style, 1);
                     EXPECT_EQ(g->size, 10);
                 }});
    r.push_back({"text alignment and the default font", "", "<text x=\"100\" y=\"40\" align=\"bogus\" text=\"Hi\" />",
                 [](ELEMENT_STRUCT* e) {
                     ASSERT_EQ(e->kind, VD_TEXT);
                     auto* t = static_cast<TEXT_STRUCT*>(e->data);
                     EXPECT_EQ(t->align, 9);
                     EXPECT_STREQ(t->text, "Hi");
                     EXPECT_STREQ(t->family, "Arial");
                     EXPECT_EQ(t->style, 1);
                     EXPECT_EQ(t->size, 30);
                     EXPECT_EQ(t->font, nullptr);
                 }});
    r.push_back({"text with a font definition",
                 "<font id=\"2\" type=\"truetype\" family=\"Courier [fixed]\" size=\"14\" italic=\"true\" underline=\"true\" />",
                 "<text font=\"2\" matrix=\"2 0 0 3 10 20\" />", [](ELEMENT_STRUCT* e) {
                     auto* t = static_cast<TEXT_STRUCT*>(e->data);
                     EXPECT_STREQ(t->family, "Courier [fixed]");
                     EXPECT_EQ(t->style, 4);
                     EXPECT_EQ(t->underline, 1);
                     EXPECT_EQ(t->size, 14);
                     EXPECT_EQ(t->displaySize, 30) << "a record without its own";
                     EXPECT_EQ(std::vector<float>(t->matrix, t->matrix + 4), (std::vector<float>{2, 0, 0, 3}));
                 }});
    r.push_back({"text with its display size", "<font id=\"2\" family=\"Arial\" size=\"14\" />",
                 "<text font=\"2\" display-size=\"17\" /><text display-size=\"9\" />", [](ELEMENT_STRUCT* e) {
                     EXPECT_EQ(static_cast<TEXT_STRUCT*>(e->data)->displaySize, 17);
                     EXPECT_EQ(static_cast<TEXT_STRUCT*>(e->next->data)->displaySize, 9) << "without a font too";
                 }});
    r.push_back({"button", "", "<button x=\"30\" y=\"10\" width=\"60\" height=\"20\" state=\"1\" stroke-width=\"2.5\" />",
                 [](ELEMENT_STRUCT* e) {
                     ASSERT_EQ(e->kind, VD_BUTTON);
                     auto* b = static_cast<BUTTON_STRUCT*>(e->data);
                     EXPECT_EQ(cornersOf(b->cornerX, b->cornerY), (std::vector<float>{0, 0, 60, 60, 0, 20, 20, 0}));
                     EXPECT_EQ(b->pressed, 1);
                     EXPECT_EQ(b->bevel, 2.5f);
                 }});
    r.push_back({"line styles and fills by definition",
                 "<stroke id=\"1\" factor=\"1\" data=\"0xaaaa\" /><stroke id=\"2\" factor=\"2\" data=\"0xffff\" />",
                 "<line stroke-style=\"1\" x1=\"1\" y1=\"2\" x2=\"3\" y2=\"4\" stroke=\"none\" />"
                 "<line stroke-style=\"2\" /><line stroke-style=\"9\" />",
                 [](ELEMENT_STRUCT* e) {
                     auto* a = static_cast<LINE_STRUCT*>(e->data);
                     EXPECT_EQ(a->lineStyle, 1);
                     EXPECT_EQ(a->y2, 4.0f);
                     EXPECT_EQ(a->lineA, 1.0f) << "the none flag is ignored";
                     auto* b = static_cast<LINE_STRUCT*>(e->next->data);
                     EXPECT_EQ(b->lineStyle, 100);
                     EXPECT_EQ(b->stippleFactor, 2);
                     EXPECT_EQ(b->stipplePattern, 0xffff);
                     auto* c = static_cast<LINE_STRUCT*>(e->next->next->data);
                     EXPECT_EQ(c->lineStyle, 100) << "no definition 9";
                     EXPECT_EQ(c->stippleFactor, 0);
                 }});
    return r;
}

TEST_F(XmlElements, RecordsReadAsTheFormatSays)
{
    for (const ReadCase& c : readCases()) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(load(document(c.definitions, c.geometry)), 0) << log.take();
        c.check(list);
    }
}

// ---- Reading actions -----------------------------------------------------------

TEST_F(XmlElements, ActionsReadAsTheFormatSays)
{
    const std::string seventy(70, 'f');
    const std::string actions =
        "<action type=\"translate\" translate-type=\"relative\" axis=\"y\" />"
        "<action type=\"stroke-width\"><threshold type=\"linewidth\" min=\"0\" max=\"120\">"
        "<threshold-value x=\"10\" value=\"1\" /><junk /><threshold-value x=\"20\" value=\"2\" />"
        "<threshold-value x=\"30\" value=\"3\" /></threshold>"
        "<threshold type=\"linewidth\" min=\"5\" max=\"50\"><threshold-value x=\"40\" value=\"4\" /></threshold>"
        "<threshold type=\"bogus\" min=\"7\" max=\"8\"><threshold-value x=\"1\" /></threshold></action>"
        "<action type=\"stroke-style\" format=\"" + seventy + "\"><threshold type=\"linestyle\">"
        "<threshold-value x=\"1\" value=\"1\" /><threshold-value x=\"2\" value=\"2\" />"
        "<threshold-value x=\"3\" value=\"3\" /></threshold>"
        "<action-para id=\"a\" a0=\"1\" filter=\"time\" /><action-para id=\"b\" b1=\"4\" limit=\"true\" filter=\"bad\" />"
        "</action>"
        "<action type=\"blink\"><threshold type=\"blink\"><threshold-value x=\"1\" value=\"2.9\" /></threshold>"
        "<threshold type=\"visibility\"><threshold-value value=\"true\" /></threshold>"
        "<threshold type=\"color\"><threshold-value value=\"#ff000080\" /></threshold></action>"
        "<action type=\"scale\" axis=\"z\" mouse-button=\"right\" mouse-action=\"move\" mouse-mode=\"sideways\" />";
    const std::string strokes = "<stroke id=\"1\" factor=\"1\" data=\"0xcccc\" /><stroke id=\"2\" factor=\"3\" data=\"0xcccc\" />";
    ASSERT_EQ(load(document(strokes, "<line>" + actions + "</line>")), 0) << log.take();
    ASSERT_NE(list, nullptr);
    std::vector<ACTION_STRUCT*> a;
    for (ACTION_STRUCT* p = list->actions; p != nullptr; p = p->next)
        a.push_back(p);
    ASSERT_EQ(a.size(), 5u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(a[size_t(i)]->id, i);
    EXPECT_EQ(a[0]->type, 8);
    // Missing attributes: the codec's values, not those of creation.
    EXPECT_EQ(a[0]->mouseClamp, 1);
    EXPECT_EQ(a[0]->visibleMode, 1);
    EXPECT_EQ(a[0]->pivot, 9);
    EXPECT_EQ(a[0]->mouseInc, 0.0f);
    EXPECT_EQ(a[0]->mouseMax, 0.0f);
    EXPECT_EQ(a[0]->mouseHiddenActive, 0);
    EXPECT_EQ(a[0]->filterTime, 1.0f) << "no action-para: as created";

    // Upper levels: the next entry's level, the block element's max for
    // the last; a second block element of the type appends.
    EXPECT_EQ(a[1]->type, 14);
    EXPECT_EQ(a[1]->thWidth.min, 5.0f);
    EXPECT_EQ(a[1]->thWidth.max, 50.0f);
    std::vector<float> levels, uppers;
    std::vector<int> values;
    for (TH_STRUCT* th = a[1]->thWidth.list; th != nullptr; th = th->next)
        levels.push_back(th->level), uppers.push_back(th->upperLevel), values.push_back(th->intValue);
    EXPECT_EQ(levels, (std::vector<float>{10, 20, 30, 40}));
    EXPECT_EQ(uppers, (std::vector<float>{20, 30, 120, 50}));
    EXPECT_EQ(values, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(a[1]->thColor.list, nullptr);
    EXPECT_EQ(a[1]->thColor.max, 120.0f) << "an unknown block type is ignored, bounds included";

    // Line-style entries resolve their stroke; two action-paras.
    EXPECT_EQ(a[2]->type, 15);
    EXPECT_EQ(std::string(a[2]->format), seventy.substr(0, 63));
    std::vector<int> styles, factors;
    for (TH_STRUCT* th = a[2]->thStyle.list; th != nullptr; th = th->next)
        styles.push_back(th->intValue), factors.push_back(th->stippleFactor);
    EXPECT_EQ(styles, (std::vector<int>{2, 100, 100}));
    EXPECT_EQ(factors, (std::vector<int>{1, 3, 0}));
    EXPECT_STREQ(a[2]->var, "a");
    EXPECT_EQ(a[2]->a0, 1.0f);
    EXPECT_EQ(a[2]->a1, 0.0f) << "missing points read 0";
    EXPECT_STREQ(a[2]->secondVar, "b");
    EXPECT_EQ(a[2]->secondB1, 4.0f);
    EXPECT_EQ(a[2]->limit, 1) << "the last action-para wins";
    EXPECT_EQ(a[2]->filter, 1) << "an unknown filter keeps the kind";
    EXPECT_EQ(a[2]->filterTime, 0.0f);

    EXPECT_EQ(a[3]->type, 25);
    ASSERT_NE(a[3]->thBlink.list, nullptr);
    EXPECT_EQ(a[3]->thBlink.list->intValue, 2) << "cut toward zero";
    EXPECT_EQ(a[3]->thVisibility.list->intValue, 1);
    const TH_STRUCT* red = a[3]->thColor.list;
    EXPECT_EQ(red->r, 1.0f);
    EXPECT_EQ(red->g, 0.0f);
    EXPECT_EQ(red->intValue, 1) << "as created";

    EXPECT_EQ(a[4]->type, 0) << "unknown second keyword";
    EXPECT_EQ(a[4]->mouseButton, 2);
    EXPECT_EQ(a[4]->mouseAction, 7);
    EXPECT_EQ(a[4]->mouseMode, 0);
}

// ---- Writing ---------------------------------------------------------------------

// The start tag of the n-th "<action " of text, and the names (with their
// "type") of that action's children.
std::string actionTag(const std::string& text, int n)
{
    size_t at = 0;
    for (int i = 0; i <= n; ++i)
        at = text.find("<action ", i == 0 ? 0 : at + 1);
    return at == std::string::npos ? std::string() : text.substr(at, text.find('>', at) - at + 1);
}

std::string actionChildren(dorne::XmlElement action)
{
    std::string out;
    for (dorne::XmlElement c = action.firstElement(); c.valid(); c = c.nextElement()) {
        out += c.name();
        const std::string type = c.getAttributeString("type");
        if (!type.empty())
            out += ":" + type;
        out += " ";
    }
    return out;
}

struct WriteCase
{
    int kind;
    std::function<void(ACTION_STRUCT*)> set;
    std::string tag;      // attributes after name="ActionName"
    std::string children; // names of the children
};

TEST_F(XmlElements, ActionKeywordsAndAttributesInWriterOrder)
{
    const auto none = [](ACTION_STRUCT*) {};
    const std::string one = "action-para ";
    const std::vector<WriteCase> cases = {
        {0, [](ACTION_STRUCT* a) { std::strcpy(a->format, "%5.1f"); }, " type=\"text\" format=\"%5.1f\"", one},
        {1, none, " type=\"translate\" translate-type=\"normal\" axis=\"x\"", one},
        {2, none, " type=\"translate\" translate-type=\"normal\" axis=\"y\"", one},
        {3, [](ACTION_STRUCT* a) { a->pivot = 3; }, " type=\"scale\" axis=\"x\" cg=\"rightUpper\"", one},
        {4, [](ACTION_STRUCT* a) { a->pivot = 0; }, " type=\"scale\" axis=\"y\" cg=\"center\"", one},
        {5, [](ACTION_STRUCT* a) { a->pivot = 7; }, " type=\"rotate\" cg=\"leftLower\"", one},
        {6, none, " type=\"graph\"", "threshold:color threshold:linewidth action-para action-para "},
        {7, none, " type=\"translate\" translate-type=\"relative\" axis=\"x\"", one},
        {8, none, " type=\"translate\" translate-type=\"relative\" axis=\"y\"", one},
        {9, none, " type=\"translate\" translate-type=\"absolute\" axis=\"x\"", one},
        {10, none, " type=\"translate\" translate-type=\"absolute\" axis=\"y\"", one},
        {11, [](ACTION_STRUCT* a) { std::strcpy(a->polyName, "path"); },
         " type=\"translate\" translate-type=\"polyline\" translate-poly=\"path\"", one},
        {12, none, " type=\"stroke-color\" usethr=\"true\"", "threshold:color " + one},
        {13, none, " type=\"fill-color\" usethr=\"true\"", "threshold:color " + one},
        {14, none, " type=\"stroke-width\" usethr=\"true\"", "threshold:linewidth " + one},
        {15, none, " type=\"stroke-style\"", "threshold:linestyle " + one},
        {16, [](ACTION_STRUCT* a) { a->pivot = 2; }, " type=\"scale\" axis=\"xy\" cg=\"centerUpper\"", one},
        {17, [](ACTION_STRUCT* a) { a->visibleMode = 0; }, " type=\"visible\" usethr=\"true\"",
         "threshold:visibility " + one},
        {17, [](ACTION_STRUCT* a) { a->visibleMode = 1, a->visibleValue = 3; },
         " type=\"visible\" usethr=\"false\" visible-value=\"3\"", one},
        {17, [](ACTION_STRUCT* a) { a->visibleMode = 2; }, " type=\"visible\"", one},
        {18, none, " type=\"fill\" fill-direction=\"up\"", one},
        {19, none, " type=\"fill\" fill-direction=\"down\"", one},
        {20, none, " type=\"fill\" fill-direction=\"left\"", one},
        {21, none, " type=\"fill\" fill-direction=\"right\"", one},
        {22,
         [](ACTION_STRUCT* a) {
             a->mouseButton = 1, a->mouseAction = 6, a->mouseMode = 2, a->mouseClamp = 0;
             a->mouseInc = 0.25f, a->mouseMin = -5, a->mouseMax = 5, a->mouseHiddenActive = 1;
         },
         " type=\"mouse\" mouse-button=\"center\" mouse-action=\"rotate\" mouse-mode=\"dec\" mouse-loop=\"true\" "
         "mouse-inc=\"0.25\" mouse-min=\"-5\" mouse-max=\"5\" mouse-hidden-active=\"true\"",
         one},
        {22, [](ACTION_STRUCT* a) { a->mouseButton = 3, a->mouseAction = -1, a->mouseMode = 9, a->mouseClamp = 2; },
         " type=\"mouse\" mouse-loop=\"false\" mouse-inc=\"1\" mouse-min=\"0\" mouse-max=\"1\" "
         "mouse-hidden-active=\"true\"",
         one},
        {23, none, "", one},
        {24, none, " type=\"arc\" point-id=\"begin\"", one},
        {25, none, " type=\"blink\" usethr=\"true\"", "threshold:blink " + one},
        {40, none, "", one},
    };
    ELEMENT_STRUCT* line = elementCreate(VD_LINE);
    for (const WriteCase& c : cases) {
        ACTION_STRUCT* a = createAction();
        a->type = c.kind;
        c.set(a);
        appendAction(&line->actions, a);
    }
    const std::string text = save(line);
    std::string copy = text;
    dorne::XmlDocument doc;
    ASSERT_TRUE(doc.parse(copy));
    dorne::XmlElement geometry = doc.root().firstElement();
    while (geometry.valid() && geometry.name() != "geometry")
        geometry = geometry.nextElement();
    ASSERT_TRUE(geometry.valid());
    dorne::XmlElement action = geometry.firstElement().firstElement();
    for (size_t i = 0; i < cases.size(); ++i, action = action.nextElement()) {
        SCOPED_TRACE("kind " + std::to_string(cases[i].kind));
        EXPECT_EQ(actionTag(text, int(i)), "<action name=\"ActionName\"" + cases[i].tag + ">");
        ASSERT_TRUE(action.valid());
        EXPECT_EQ(actionChildren(action), cases[i].children);
    }
    EXPECT_NE(text.find("<action-para id=\"\" a0=\"0\" a1=\"1\" b0=\"0\" b1=\"1\" limit=\"false\" filter=\"none\" "
                        "filter-time=\"1\" />"),
              std::string::npos);

    // Read back, the scale kinds keep their pivot and the mouse fields come
    // back.
    ASSERT_EQ(load(text), 0);
    std::vector<int> kinds, pivots;
    for (ACTION_STRUCT* a = list->actions; a != nullptr; a = a->next)
        kinds.push_back(a->type), pivots.push_back(a->pivot);
    std::vector<int> expected;
    for (const WriteCase& c : cases)
        expected.push_back(c.kind == 23 || c.kind == 40 ? 0 : c.kind);
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(pivots[3], 3);
    EXPECT_EQ(pivots[4], 9) << "code 0 is written center";
    EXPECT_EQ(pivots[16], 2);
    ACTION_STRUCT* mouse = list->actions;
    for (int i = 0; i < 24; ++i)
        mouse = mouse->next;
    EXPECT_EQ(std::vector<int>({mouse->mouseButton, mouse->mouseAction, mouse->mouseMode, mouse->mouseClamp,
                                mouse->mouseHiddenActive}),
              std::vector<int>({1, 6, 2, 0, 1}));
    EXPECT_EQ(mouse->mouseInc, 0.25f);
    elementDeleteAll(&line);
}

TEST_F(XmlElements, RecordsWrittenRelativeToTheirGroups)
{
    // Two nested groups at (5, 5) and (7, 1) around a line, a graph and a
    // text; a SLIDER, a kind 9 element and an ARC beside them.
    ELEMENT_STRUCT* view = nullptr;
    ELEMENT_STRUCT* outer = elementCreate(VD_GROUP);
    ELEMENT_STRUCT* inner = elementCreate(VD_GROUP);
    outer->x = outer->y = 5;
    inner->x = 7, inner->y = 1;
    elementAppend(outer, &view);
    elementAppend(inner, &outer->children);
    ELEMENT_STRUCT* line = elementCreate(VD_LINE);
    auto* l = static_cast<LINE_STRUCT*>(line->data);
    l->x1 = 20, l->y1 = 20, l->x2 = 30, l->y2 = 20;
    elementAppend(line, &inner->children);
    ELEMENT_STRUCT* graph = elementCreate(VD_GRAPH);
    auto* g = static_cast<GRAPH_STRUCT*>(graph->data);
    g->x = 212, g->y = 606;
    elementAppend(graph, &inner->children);
    ELEMENT_STRUCT* text = elementCreate(VD_TEXT);
    auto* t = static_cast<TEXT_STRUCT*>(text->data);
    t->x = 100, t->y = 40, t->align = 7;
    elementAppend(text, &view);
    ELEMENT_STRUCT* slider = elementCreate(VD_SLIDER);
    viewfile::rename(slider, "slide");
    appendAction(&slider->actions, createAction());
    elementAppend(slider, &view);
    ELEMENT_STRUCT* nine = elementCreate(9);
    viewfile::rename(nine, "nine");
    elementAppend(nine, &view);
    ELEMENT_STRUCT* arc = elementCreate(VD_ARC);
    auto* c = static_cast<CIRCLE_STRUCT*>(arc->data);
    c->start = 3.14159265f, c->end = 1.5f;
    elementAppend(arc, &view);

    log.take();
    const std::string out = save(view);
    EXPECT_EQ(log.take(), "saveFileXml: slide: kind 12 has no record in the XML view file; left out\n"
                          "saveFileXml: nine: kind 9 has no record in the XML view file; left out\n");
    EXPECT_NE(out.find("<line name=\"" + std::string(line->name) + "\" x1=\"8\" y1=\"14\" x2=\"18\" y2=\"14\" "),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("<graph name=\"" + std::string(graph->name) + "\" x=\"200\" y=\"600\" "), std::string::npos);
    EXPECT_NE(out.find("<group name=\"" + std::string(inner->name) + "\" x=\"7\" y=\"1\" render=\"true\" editor=\"true\">"),
              std::string::npos);
    EXPECT_NE(out.find("x=\"100\" y=\"40\" align=\"leftLower\" text=\"Text\""), std::string::npos);
    EXPECT_NE(out.find("start=\"180\" end=\"85.9437\""), std::string::npos);
    EXPECT_EQ(out.find("slide"), std::string::npos);
    EXPECT_EQ(out.find("nine"), std::string::npos);

    ASSERT_EQ(load(out), 0);
    ASSERT_EQ(countList(list), 3) << "group, text, arc";
    ELEMENT_STRUCT* readLine = list->children->children;
    auto* rl = static_cast<LINE_STRUCT*>(readLine->data);
    EXPECT_EQ(std::vector<float>({rl->x1, rl->y1, rl->x2, rl->y2}), std::vector<float>({20, 20, 30, 20}));
    auto* rg = static_cast<GRAPH_STRUCT*>(readLine->next->data);
    EXPECT_EQ(rg->x, 212.0f);
    EXPECT_EQ(rg->y, 606.0f);
    ELEMENT_STRUCT* readArc = list->next->next;
    EXPECT_EQ(readArc->kind, VD_CIRCLE) << "an ARC reads back as a CIRCLE";
    auto* rc = static_cast<CIRCLE_STRUCT*>(readArc->data);
    EXPECT_NEAR(rc->start, 3.14159265, 1e-6);
    EXPECT_NEAR(rc->end, 1.5, 1e-5);
    elementDeleteAll(&view);
}

// ---- Corners ---------------------------------------------------------------------

void setCorners(ELEMENT_STRUCT* e, const float* x, const float* y)
{
    float* cx = nullptr;
    float* cy = nullptr;
    switch (e->kind) {
    case VD_RECTANGLE: cx = static_cast<RECT_STRUCT*>(e->data)->x, cy = static_cast<RECT_STRUCT*>(e->data)->y; break;
    case VD_TEXTURE:
        cx = static_cast<IMAGE_STRUCT*>(e->data)->cornerX, cy = static_cast<IMAGE_STRUCT*>(e->data)->cornerY;
        break;
    case VD_SCISSOR:
        cx = static_cast<SCISSOR_STRUCT*>(e->data)->cornerX, cy = static_cast<SCISSOR_STRUCT*>(e->data)->cornerY;
        break;
    default:
        cx = static_cast<BUTTON_STRUCT*>(e->data)->cornerX, cy = static_cast<BUTTON_STRUCT*>(e->data)->cornerY;
        break;
    }
    std::memcpy(cx, x, 4 * sizeof(float));
    std::memcpy(cy, y, 4 * sizeof(float));
}

std::vector<float> cornersOf(const ELEMENT_STRUCT* e)
{
    switch (e->kind) {
    case VD_RECTANGLE: return cornersOf(static_cast<RECT_STRUCT*>(e->data)->x, static_cast<RECT_STRUCT*>(e->data)->y);
    case VD_TEXTURE:
        return cornersOf(static_cast<IMAGE_STRUCT*>(e->data)->cornerX, static_cast<IMAGE_STRUCT*>(e->data)->cornerY);
    case VD_SCISSOR:
        return cornersOf(static_cast<SCISSOR_STRUCT*>(e->data)->cornerX, static_cast<SCISSOR_STRUCT*>(e->data)->cornerY);
    default:
        return cornersOf(static_cast<BUTTON_STRUCT*>(e->data)->cornerX, static_cast<BUTTON_STRUCT*>(e->data)->cornerY);
    }
}

TEST_F(XmlElements, CornersRoundTripWithinFloatPrecision)
{
    // A turned, sheared parallelogram about (100, 50) with w 40, h 20, in
    // each rectangle-like kind; then degenerate ones: corners 1 and 2 on
    // one point, corners 2 and 3 on one point, all four on one point.
    const double turn = 0.5, shear = 0.3;
    const double m00 = std::cos(turn), m10 = std::sin(turn);
    const double m01 = -std::sin(turn + shear), m11 = std::cos(turn + shear);
    const double vx[4] = {-20, -20, 20, 20}, vy[4] = {-10, 10, 10, -10};
    float px[4], py[4];
    for (int k = 0; k < 4; ++k) {
        px[k] = float(100 + m00 * vx[k] + m01 * vy[k]);
        py[k] = float(50 + m10 * vx[k] + m11 * vy[k]);
    }
    const float flat1x[4] = {0, 0, 0, 0}, flat1y[4] = {0, 8, 8, 0};   // 1 = 2
    const float flat2x[4] = {0, 0, 10, 10}, flat2y[4] = {5, 5, 8, 8}; // 2 = 3
    const float pointX[4] = {3, 3, 3, 3}, pointY[4] = {4, 4, 4, 4};
    struct Shape
    {
        const float* x;
        const float* y;
    } shapes[] = {{px, py}, {flat1x, flat1y}, {flat2x, flat2y}, {pointX, pointY}};

    ELEMENT_STRUCT* view = nullptr;
    for (const Shape& s : shapes)
        for (int kind : {VD_RECTANGLE, VD_TEXTURE, VD_SCISSOR, VD_BUTTON}) {
            ELEMENT_STRUCT* e = elementCreate(kind);
            setCorners(e, s.x, s.y);
            elementAppend(e, &view);
        }
    const std::string out = save(view);
    EXPECT_NE(out.find("width=\"1\" height=\"8\" matrix=\"0.000000 0.000000 0.000000 1.000000"), std::string::npos)
        << "corners 1 and 2 on one point: width 1, a zero first column";
    EXPECT_EQ(out.find("nan"), std::string::npos);
    ASSERT_EQ(load(out), 0) << log.take();
    ELEMENT_STRUCT* read = list;
    for (ELEMENT_STRUCT* e = view; e != nullptr; e = e->next, read = read->next) {
        ASSERT_NE(read, nullptr);
        SCOPED_TRACE(std::string(e->name));
        EXPECT_EQ(read->kind, e->kind);
        const std::vector<float> want = cornersOf(e), got = cornersOf(read);
        for (size_t k = 0; k < 8; ++k)
            EXPECT_NEAR(got[k], want[k], 2e-4 * std::max(1.0f, std::fabs(want[k]))) << "coordinate " << k;
    }
    // A TEXTURE without pixels is written with bitmap -1 and reads back
    // without texture, with the message.
    EXPECT_NE(out.find("bitmap=\"-1\""), std::string::npos);
    elementDeleteAll(&view);
}

// ---- Binary to XML to binary ---------------------------------------------------

float quantized(float c)
{
    return float(double(int(255.0 * c)) / 255.0); // the colour codec's 8 bits
}

void quantize(float* rgba, int n = 4)
{
    for (int i = 0; i < n; ++i)
        rgba[i] = quantized(rgba[i]);
}

// A fill pattern number as its pattern definition resolves it: the built-in
// patterns 1 to 59 are themselves, every other number below 65 draws
// pattern 0, which resolves to 60.
// An angle through degrees in the double codec's six digits and back.
float throughDegrees(float radians)
{
    std::ostringstream out;
    out << double(radians) * 57.29577951;
    return float(std::strtod(out.str().c_str(), nullptr) * 0.017453292);
}

// A colour whose switch is off is written "none", which reads as white.
void noneIsWhite(int32_t on, float* rgba)
{
    if (on == 0)
        rgba[0] = rgba[1] = rgba[2] = rgba[3] = 1.0f;
}

int32_t resolvedPattern(int32_t pattern)
{
    return pattern >= 1 && pattern <= 59 ? pattern : 60;
}

void emptyBlock(TH_BLOCK& b)
{
    while (b.list != nullptr)
        delTh(&b.list, b.list);
    b.min = 0, b.max = 120;
}

// What an action keeps through the XML format, kind by kind.
void xmlActionConversions(ACTION_STRUCT* a, int number)
{
    const int kind = a->type;
    a->id = number;                                   // renumbered within the element
    a->offset = a->slope = 0;                         // not carried: recomputed when a view starts
    a->secondOffset = a->secondSlope = 0;
    if (kind == 23 || kind < 0 || kind > 25)
        a->type = 0;                                  // no keyword
    if (kind != 0)
        a->format[0] = '\0';
    if (kind != 11)
        a->polyName[0] = '\0';
    const bool scaled = kind == 3 || kind == 4 || kind == 5 || kind == 16;
    if (!scaled || a->pivot < 1 || a->pivot > 9)
        a->pivot = 9;                                 // "cg" missing, or written "center"
    const bool usethr = kind == 12 || kind == 13 || kind == 14 || kind == 25 || (kind == 17 && a->visibleMode == 0);
    const bool fixedValue = kind == 17 && a->visibleMode == 1;
    if (!fixedValue)
        a->visibleValue = 0;
    a->visibleMode = usethr ? 0 : 1;                  // "usethr" stored inverted
    if (kind == 22) {
        a->mouseClamp = a->mouseClamp == 0 ? 0 : 1;
        a->mouseHiddenActive = a->mouseHiddenActive != 0 ? 1 : 0;
    } else {
        a->mouseButton = a->mouseAction = a->mouseMode = 0;
        a->mouseClamp = 1;
        a->mouseInc = a->mouseMin = a->mouseMax = 0;
        a->mouseHiddenActive = 0;
    }
    if (kind != 6) {                                  // one "action-para"
        a->secondVar[0] = '\0';
        a->secondA0 = 0, a->secondA1 = 1, a->secondB0 = 0, a->secondB1 = 1;
    }
    a->limit = a->limit != 0 ? 1 : 0;
    // The blocks the kind carries, in the order colour, width, style,
    // visibility, blink; the others are left as created.
    const bool carried[5] = {kind == 6 || kind == 12 || kind == 13, kind == 6 || kind == 14, kind == 15,
                             kind == 17 && a->visibleMode == 0, kind == 25};
    for (int k = 0; k < 5; ++k) {
        TH_BLOCK* b = viewfile::thresholdGroup(a, k);
        if (!carried[k]) {
            emptyBlock(*b);
            continue;
        }
        for (TH_STRUCT* th = b->list; th != nullptr; th = th->next) {
            th->upperLevel = th->next != nullptr ? th->next->level : b->max; // set by the reader
            if (k == 0) {
                th->r = quantized(th->r), th->g = quantized(th->g), th->b = quantized(th->b);
                th->intValue = 1;                     // not carried: as created
            } else {
                th->r = 0.5f, th->g = 1.0f, th->b = 0.5f;
            }
            if (k == 3)
                th->intValue = th->intValue != 0 ? 1 : 0;
        }
    }
}

// What the XML format drops or converts, applied to a view read from the
// binary file: elements without record go, an ARC becomes a CIRCLE,
// colours keep 8 bits, fill patterns resolve through their definitions,
// vertices are renumbered, a text's display size is 30 and font styles are
// the codes 1, 2, 4 and 8; element ids are not carried (cleared on both
// sides).
void xmlConversions(ELEMENT_STRUCT** list)
{
    for (ELEMENT_STRUCT* e = *list; e != nullptr;) {
        ELEMENT_STRUCT* next = e->next;
        if (e->kind == VD_SLIDER || e->kind == 9) {
            elementDelete(e, list);
            e = next;
            continue;
        }
        if (e->kind == VD_ARC)
            e->kind = VD_CIRCLE;
        int number = 0;
        for (ACTION_STRUCT* a = e->actions; a != nullptr; a = a->next)
            xmlActionConversions(a, number++);
        const auto styleCode = [](int32_t style) {
            const bool bold = dorne::styleIsBold(style), italic = dorne::styleIsItalic(style);
            return bold && italic ? 8 : bold ? 2 : italic ? 4 : 1;
        };
        switch (e->kind) {
        case VD_GROUP: xmlConversions(&e->children); break;
        case VD_GRAPH: {
            auto* g = static_cast<GRAPH_STRUCT*>(e->data);
            quantize(g->outlineColor), quantize(g->backgroundColor), quantize(g->gridColor);
            g->style = styleCode(g->style);
            break;
        }
        case VD_RECTANGLE: {
            auto* r = static_cast<RECT_STRUCT*>(e->data);
            quantize(&r->lineR), quantize(&r->fillR);
            noneIsWhite(r->outline, &r->lineR), noneIsWhite(r->fill, &r->fillR);
            r->pattern = resolvedPattern(r->pattern);
            break;
        }
        case VD_POLYGON:
        case VD_CPOLYGON: {
            auto* p = static_cast<POLY_STRUCT*>(e->data);
            quantize(&p->lineR), quantize(&p->fillR);
            if (e->kind == VD_CPOLYGON) {
                p->pattern = resolvedPattern(p->pattern);
                noneIsWhite(p->outline, &p->lineR), noneIsWhite(p->fill, &p->fillR);
            }
            uint32_t id = 0;
            for (COORD_STRUCT* c = p->coords; c != nullptr; c = c->next)
                c->id = id++;
            break;
        }
        case VD_CIRCLE: {
            auto* c = static_cast<CIRCLE_STRUCT*>(e->data);
            quantize(&c->lineR), quantize(&c->fillR);
            noneIsWhite(c->outline, &c->lineR), noneIsWhite(c->fill, &c->fillR);
            c->pattern = resolvedPattern(c->pattern);
            c->start = throughDegrees(c->start), c->end = throughDegrees(c->end);
            break;
        }
        case VD_TEXT: {
            auto* t = static_cast<TEXT_STRUCT*>(e->data);
            quantize(t->color);
            t->pattern = resolvedPattern(t->pattern);
            t->style = styleCode(t->style);
            break;
        }
        case VD_LINE: quantize(&static_cast<LINE_STRUCT*>(e->data)->lineR); break;
        case VD_TEXTURE: {
            auto* image = static_cast<IMAGE_STRUCT*>(e->data);
            quantize(image->color);
            image->pattern = resolvedPattern(image->pattern);
            break;
        }
        case VD_BUTTON: {
            auto* b = static_cast<BUTTON_STRUCT*>(e->data);
            quantize(b->faceColor), quantize(b->lightColor), quantize(b->darkColor);
            break;
        }
        default: break;
        }
        e = next;
    }
}

void clearIds(ELEMENT_STRUCT* list)
{
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        std::memset(e->id, 0, sizeof e->id);
        clearIds(e->children);
    }
}

// Every action kind once over the view's elements, groups searched through.
void everyActionKind(ELEMENT_STRUCT* list, int& next)
{
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        for (ACTION_STRUCT* a = e->actions; a != nullptr; a = a->next) {
            a->type = next % 27;                       // 26: no kind
            a->visibleMode = next % 2;
            next += 1;
        }
        for (int more = 0; more < 2; ++more) {
            ACTION_STRUCT* a = viewfile::fullAction(next);
            a->type = next % 27;
            a->visibleMode = 0;
            appendAction(&e->actions, a);
            next += 1;
        }
        everyActionKind(e->children, next);
    }
}

TEST_F(XmlElements, BinaryToXmlToBinaryKeepsTheBytesButTheListedConversions)
{
    ELEMENT_STRUCT* view = viewfile::everyKindView();
    int next = 0;
    everyActionKind(view, next);
    ASSERT_GE(next, 27);
    auto* text = static_cast<TEXT_STRUCT*>(view->next->next->next->next->next->data);
    text->style = 6; // bold italic as sums: code 8
    text->displaySize = 12;
    CONFIG_STRUCT config = viewfile::sampleConfig();
    const std::string first = path("first.v"), second = path("second.v"), expected = path("expected.v");
    ASSERT_EQ(saveFile(first.c_str(), view, nullptr, &config), 0) << log.take();
    elementDeleteAll(&view);

    ELEMENT_STRUCT* fromBinary = nullptr;
    DD_DATA_TYPE_STRUCT* none = nullptr;
    ASSERT_EQ(loadFile(first.c_str(), &fromBinary, &none, &config), 0) << log.take();
    ASSERT_EQ(saveFileXml(path("view.xml").c_str(), fromBinary, nullptr, &config), 0) << log.take();
    ASSERT_EQ(loadFileXml(path("view.xml").c_str(), &list, &sources, &config), 0) << log.take();
    clearIds(list);
    ASSERT_EQ(saveFile(second.c_str(), list, nullptr, &config), 0);

    xmlConversions(&fromBinary);
    clearIds(fromBinary);
    ASSERT_EQ(saveFile(expected.c_str(), fromBinary, nullptr, &config), 0);
    elementDeleteAll(&fromBinary);
    const std::string want = readText(expected), got = readText(second);
    EXPECT_GT(want.size(), 4000u);
    EXPECT_EQ(got.size(), want.size());
    size_t at = 0;
    while (at < std::min(got.size(), want.size()) && got[at] == want[at])
        ++at;
    EXPECT_EQ(at, want.size()) << "first difference at byte " << at;
}

// ---- Loads cut short -------------------------------------------------------------

int failAt = 0;   // the creation call that fails (1 the first); 0 none
int calls = 0;
int failing = -1; // which factory fails: 0 element, 1 action, 2 threshold, 3 vertex, 4 texture

bool failsNow(int which)
{
    return which == failing && ++calls == failAt;
}

ELEMENT_STRUCT* failingElement(int kind)
{
    return failsNow(0) ? nullptr : elementCreate(kind);
}
ACTION_STRUCT* failingAction()
{
    return failsNow(1) ? nullptr : createAction();
}
TH_STRUCT* failingTh()
{
    return failsNow(2) ? nullptr : createTh();
}
COORD_STRUCT* failingCoord()
{
    return failsNow(3) ? nullptr : createCoord();
}
int failingTexture(const unsigned char* rgba, IMAGE_STRUCT* image)
{
    return failsNow(4) ? -4 : loadTextureFromData(rgba, image);
}

TEST_F(XmlElements, FailedCreationStopsTheLoadWithNothingAppended)
{
    ELEMENT_STRUCT* view = viewfile::everyKindView();
    CONFIG_STRUCT config = viewfile::sampleConfig();
    const std::string file = path("view.xml");
    ASSERT_EQ(saveFileXml(file.c_str(), view, nullptr, &config), 0);
    elementDeleteAll(&view);
    // A path too: its vertices are made one by one.
    std::string text = readText(file);
    text.insert(text.find("</geometry>"), "<path path=\"M 0 0 L 5 5 M 9 9 L 1 2\"><action type=\"blink\" /></path>");
    writeText(file, text);

    const dorne::XmlFactory real = dorne::xmlFactory;
    dorne::xmlFactory = {failingElement, failingAction, failingTh, failingCoord, failingTexture};
    ELEMENT_STRUCT* mine = elementCreate(VD_LINE);
    const std::string messages[] = {"out of memory for a \"", "out of memory for an action",
                                    "out of memory for a threshold entry", "out of memory for a vertex",
                                    "of 2 x 3 pixels: no texture made (-4)\n"};
    const int atLeast[] = {6, 6, 6, 4, 1}; // creations of the kind in the file
    for (failing = 0; failing < 5; ++failing) {
        SCOPED_TRACE("factory " + std::to_string(failing));
        int refused = 0;
        for (failAt = 1; failAt < 1000; ++failAt) {
            calls = 0;
            log.take();
            const int rc = loadFileXml(file.c_str(), &mine, &sources, &config);
            if (rc == 0) {
                EXPECT_GT(countList(mine), 1);
                break;
            }
            ++refused;
            EXPECT_EQ(rc, -1);
            EXPECT_EQ(mine->next, nullptr) << "nothing appended";
            const std::string logged = log.take();
            EXPECT_NE(logged.find(messages[failing]), std::string::npos) << logged;
            EXPECT_NE(logged.find("loadFileXml: " + file + ": the geometry section could not be read\n"),
                      std::string::npos);
        }
        EXPECT_GE(refused, atLeast[failing]) << "every creation of the kind was made to fail once";
        while (mine->next != nullptr)
            elementDelete(mine->next, &mine);
    }
    dorne::xmlFactory = real;
    failing = -1;
    elementDeleteAll(&mine);
}

} // namespace
