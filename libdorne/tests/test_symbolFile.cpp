// The symbol file import: the groups and shapes each keyword and primitive
// line makes, the trimming and bounds of lines and words, the lines that are
// ignored, the refusals (caller's list untouched, nothing leaked) and a
// round trip of the imported list through the binary view file. Without a
// GL context no font is made, so texts measure 0 x 0 and stay where the file
// puts them.
#include "dataSourceSupport.h"
#include "leakCheck.h"

#include "dorneElements.h"
#include "dorneFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using support::LogCapture;
using support::TempFolder;

namespace {

const float kDeg = 0.017453292f;

// A symbol file in a folder of its own, and the list it was imported into.
class SymbolFileTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        elementDeleteAll(&list);
        expectNoLeaks();
    }

    std::string write(const std::string& text, const std::string& name = "s.sym")
    {
        const std::string path = folder.path + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // Imports text into list; the result of loadSymbolFile.
    int import(const std::string& text) { return loadSymbolFile(write(text).c_str(), &list, nullptr, nullptr); }

    // The one group of the import, with the given number of children.
    ELEMENT_STRUCT* onlyGroup(int children)
    {
        EXPECT_NE(list, nullptr);
        if (list == nullptr)
            return nullptr;
        EXPECT_EQ(list->next, nullptr);
        EXPECT_EQ(countOf(list->children), children);
        return list;
    }

    static int countOf(const ELEMENT_STRUCT* e)
    {
        int n = 0;
        for (; e != nullptr; e = e->next)
            ++n;
        return n;
    }

    static ELEMENT_STRUCT* nth(ELEMENT_STRUCT* e, int n)
    {
        for (; e != nullptr && n > 0; --n)
            e = e->next;
        return e;
    }

    // A child's position in view coordinates (its group's update made it
    // relative).
    static float viewX(const ELEMENT_STRUCT* e) { return e->x + e->parent->x; }

    TempFolder folder;
    ELEMENT_STRUCT* list = nullptr;
};

const std::string kHead = "SYMBOL-NR. 1\nBEZUGSPUNKT_X 0 BEZUGSPUNK_Y 0\n";

std::string vektor(const std::string& style, const std::string& keyword = "VEKTOR")
{
    return keyword + "\nX1 0 Y1 0 X2 10 Y2 0 RGB-Farbe 255 0 0 " + style + "\n";
}

std::vector<std::pair<float, float>> points(const ELEMENT_STRUCT* polygon)
{
    std::vector<std::pair<float, float>> out;
    for (const COORD_STRUCT* c = static_cast<const POLY_STRUCT*>(polygon->data)->coords; c != nullptr; c = c->next)
        out.emplace_back(c->x, c->y);
    return out;
}

} // namespace

TEST(SymbolFileTrim, RemovesLeadingBlanksAndTrailingBlanksAndLineEnds)
{
    const struct
    {
        const char* in;
        const char* out;
    } cases[] = {
        {"VEKTOR", "VEKTOR"},
        {"\t  \tVEKTOR \t\r\n", "VEKTOR"},
        {"GEF. RECHTECK\r\n", "GEF. RECHTECK"},
        {"", ""},
        {" \t \r\n", ""},
        {"\r\n", ""},
        {"\rX", "\rX"},    // a leading carriage return is no blank
        {"\nX\n", "\nX"},  // nor a leading line feed
        {"a \t b", "a \t b"},
    };
    for (const auto& c : cases) {
        char line[64];
        std::strcpy(line, c.in);
        EXPECT_EQ(rmBlanks(line), 0) << c.in;
        EXPECT_STREQ(line, c.out) << '"' << c.in << '"';
    }
    EXPECT_EQ(rmBlanks(nullptr), -1);
}

TEST_F(SymbolFileTest, SegmentMakesANamedGroupWithOneRedDashedLine)
{
    ASSERT_EQ(import("SYMBOL-NR. 3\nBEZUGSPUNKT_X 5 BEZUGSPUNK_Y 7\nVEKTOR\n"
                     "X1 0 Y1 0 X2 10 Y2 0 RGB-Farbe 255 0 0 GESTRICHELT\n"),
              0);
    ELEMENT_STRUCT* g = onlyGroup(1);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->kind, VD_GROUP);
    EXPECT_STREQ(g->name, "SYMBOL 3");
    EXPECT_EQ(g->prev, nullptr);
    ELEMENT_STRUCT* e = g->children;
    ASSERT_EQ(e->kind, VD_LINE);
    EXPECT_EQ(e->parent, g);
    const auto* l = static_cast<LINE_STRUCT*>(e->data);
    EXPECT_EQ(l->x1, 0.0f);
    EXPECT_EQ(l->y1, 0.0f);
    EXPECT_EQ(l->x2, 10.0f);
    EXPECT_EQ(l->y2, 0.0f);
    EXPECT_EQ(l->lineStyle, 4);
    EXPECT_EQ(l->stipplePattern, 0xFF00);
    EXPECT_EQ(l->lineR, 1.0f);
    EXPECT_EQ(l->lineG, 0.0f);
    EXPECT_EQ(l->lineB, 0.0f);
    EXPECT_EQ(l->lineA, 1.0f);
    EXPECT_EQ(l->lineWidth, 1.0f); // a new line's
    // The group's update: centred on its child, the child relative to it.
    EXPECT_EQ(g->x, 5.0f);
    EXPECT_EQ(g->y, 0.0f);
    EXPECT_EQ(viewX(e), 5.0f);
}

TEST_F(SymbolFileTest, StyleWordsGiveLineStyles)
{
    const struct
    {
        const char* word;
        int style;
    } cases[] = {{"DURCHGEZOGEN", 0}, {"GESTRICHELT", 4}, {"GEPUNKTET", 1}, {"STRICHPUNKT", 9},
                 {"gestrichelt", 0},  {"PUNKTIERT", 0},   {"GEPUNKTETX", 0}};
    std::string text = kHead;
    for (const auto& c : cases)
        text += vektor(c.word) + vektor(c.word, "RECHTECK") + vektor(c.word, "GEF. RECHTECK") + "KREIS\n" +
                "X1 0 Y1 0 RADIUS 10 RGB-Farbe 0 0 255 " + c.word + "\n";
    ASSERT_EQ(import(text), 0);
    ELEMENT_STRUCT* g = onlyGroup(4 * int(sizeof cases / sizeof cases[0]));
    ASSERT_NE(g, nullptr);
    ELEMENT_STRUCT* e = g->children;
    for (const auto& c : cases) {
        ASSERT_EQ(e->kind, VD_LINE);
        EXPECT_EQ(static_cast<LINE_STRUCT*>(e->data)->lineStyle, c.style) << c.word;
        e = e->next;
        ASSERT_EQ(e->kind, VD_RECTANGLE);
        EXPECT_EQ(static_cast<RECT_STRUCT*>(e->data)->lineStyle, c.style) << c.word;
        e = e->next;
        ASSERT_EQ(e->kind, VD_RECTANGLE);
        EXPECT_EQ(static_cast<RECT_STRUCT*>(e->data)->lineStyle, 0) << c.word; // filled: not used
        e = e->next;
        ASSERT_EQ(e->kind, VD_CIRCLE);
        EXPECT_EQ(static_cast<CIRCLE_STRUCT*>(e->data)->lineStyle, c.style) << c.word;
        e = e->next;
    }
}

TEST_F(SymbolFileTest, RectanglesFilledAndOutlined)
{
    ASSERT_EQ(import(std::string(kHead) + "GEF. RECHTECK\nX1 1 Y1 2 X2 11 Y2 22 RGB-Farbe 0 255 0 GESTRICHELT\n" +
                     "RECHTECK\nX1 -3 Y1 -4 X2 5 Y2 6 RGB-Farbe 0 0 51 GEPUNKTET\n"),
              0);
    ELEMENT_STRUCT* g = onlyGroup(2);
    ASSERT_NE(g, nullptr);
    for (int i = 0; i < 2; ++i) {
        ELEMENT_STRUCT* e = nth(g->children, i);
        ASSERT_EQ(e->kind, VD_RECTANGLE);
        const auto* r = static_cast<RECT_STRUCT*>(e->data);
        const float x1 = i == 0 ? 1 : -3, y1 = i == 0 ? 2 : -4, x2 = i == 0 ? 11 : 5, y2 = i == 0 ? 22 : 6;
        const float xs[4] = {x1, x1, x2, x2}, ys[4] = {y1, y2, y2, y1};
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(r->x[k], xs[k]) << i << " corner " << k;
            EXPECT_EQ(r->y[k], ys[k]) << i << " corner " << k;
        }
        EXPECT_EQ(r->lineWidth, 1.0f);
        if (i == 0) { // filled
            EXPECT_EQ(r->outline, 0);
            EXPECT_EQ(r->lineStyle, 0);
            EXPECT_EQ(r->lineR + r->lineG + r->lineB + r->lineA, 4.0f); // white
            EXPECT_EQ(r->fill, 1);
            EXPECT_EQ(r->fillG, 1.0f);
            EXPECT_EQ(r->fillR + r->fillB, 0.0f);
            EXPECT_EQ(r->antialias, 1);
        } else {
            EXPECT_EQ(r->outline, 1);
            EXPECT_EQ(r->lineStyle, 1);
            EXPECT_EQ(r->lineB, 0.2f);
            EXPECT_EQ(r->lineR + r->lineG, 0.0f);
            EXPECT_EQ(r->lineA, 1.0f);
            EXPECT_EQ(r->fill, 0);
            EXPECT_EQ(r->fillB, 0.2f); // set all the same
            EXPECT_EQ(r->antialias, 0);
        }
    }
}

TEST_F(SymbolFileTest, PolygonEdgesChainWhileEachStartsWhereTheLastEnded)
{
    const std::string edge = "POLYGON\nX1 %1 Y1 %2 X2 %3 Y2 %4 RGB-Farbe 255 255 0 GESTRICHELT\n";
    auto e = [&](int x1, int y1, int x2, int y2) {
        std::string s = edge;
        const int v[4] = {x1, y1, x2, y2};
        for (int i = 0; i < 4; ++i)
            s.replace(s.find("%" + std::to_string(i + 1)), 2, std::to_string(v[i]));
        return s;
    };
    const std::string text = std::string(kHead) +
                             // chained; the third edge starts elsewhere
                             e(0, 0, 10, 0) + e(10, 0, 10, 10) + e(5, 5, 6, 6) +
                             // a closed chain A B C
                             "VEKTOR\nX1 0 Y1 0 X2 1 Y2 1 RGB-Farbe 0 0 0 X\n" + e(20, 20, 30, 20) +
                             e(30, 20, 30, 30) + e(30, 30, 20, 20) +
                             // broken by another keyword, then by a stray line
                             e(40, 40, 50, 40) + "TEXT\n" + "X1 0 Y1 0 Font 1 RGB-Farbe 0 0 0 CHARACTER t\n" +
                             e(50, 40, 60, 40) + "irgendwas\n" + e(60, 40, 70, 40) +
                             // a line in the primitive state keeps the chain
                             "POLYGON\nkein Punkt\nX1 70 Y1 40 X2 0 Y2 0 RGB-Farbe 0 0 0 X\n";
    ASSERT_EQ(import(text), 0);
    ELEMENT_STRUCT* g = onlyGroup(8);
    ASSERT_NE(g, nullptr);
    using P = std::vector<std::pair<float, float>>;
    const struct
    {
        int child;
        P points;
    } expected[] = {{0, {{0, 0}, {10, 0}}},           {1, {{5, 5}}}, {3, {{20, 20}, {30, 20}, {30, 30}}},
                    {4, {{40, 40}}},                  {6, {{50, 40}}}, {7, {{60, 40}, {70, 40}}}};
    for (const auto& x : expected) {
        ELEMENT_STRUCT* p = nth(g->children, x.child);
        ASSERT_EQ(p->kind, VD_CPOLYGON) << x.child;
        EXPECT_EQ(points(p), x.points) << x.child;
    }
    EXPECT_EQ(nth(g->children, 2)->kind, VD_LINE);
    EXPECT_EQ(nth(g->children, 5)->kind, VD_TEXT);
    const auto* p = static_cast<POLY_STRUCT*>(g->children->data);
    EXPECT_EQ(p->closed, 1);
    EXPECT_EQ(p->outline, 1);
    EXPECT_EQ(p->lineWidth, 3.0f);
    EXPECT_EQ(p->lineStyle, 0); // the style word is not used
    EXPECT_EQ(p->lineR + p->lineG + p->lineB + p->lineA, 4.0f - 1.0f);
    EXPECT_EQ(p->fill, 1);
    EXPECT_EQ(p->fillR + p->fillG + p->fillB, 2.0f);
    EXPECT_EQ(p->antialias, 1);
    for (const COORD_STRUCT* c = p->coords; c != nullptr; c = c->next)
        EXPECT_EQ(c->id, 0);
}

TEST_F(SymbolFileTest, PolygonDoesNotRunIntoTheNextSymbol)
{
    const std::string edge = "POLYGON\nX1 0 Y1 0 X2 0 Y2 0 RGB-Farbe 0 0 0 X\n";
    ASSERT_EQ(import(std::string(kHead) + edge + "SYMBOL-NR. 2\nBEZUGSPUNKT_X 0 BEZUGSPUNK_Y 0\n" + edge), 0);
    ASSERT_EQ(countOf(list), 2);
    for (ELEMENT_STRUCT* g = list; g != nullptr; g = g->next) {
        ASSERT_EQ(countOf(g->children), 1);
        EXPECT_EQ(points(g->children).size(), 1u);
        EXPECT_EQ(g->children->parent, g);
    }
}

TEST_F(SymbolFileTest, CirclesAndArcs)
{
    const std::string arc = "KREIS_BOGEN\nX1 10 Y1 20 RADIUS %r Winkelanfang[Grad] %s Winkelende[GRAD] %e "
                            "RGB-Farbe 0 255 0\n";
    struct Arc
    {
        int radius, start, end;
        float from, to; // degrees
    };
    const Arc arcs[] = {{50, 270, 90, 180, 360}, {-50, 0, 90, -90, 0}, {200, 90, 90, 0, 0}, {0, 10, 5, -80, 275}};
    std::string text = std::string(kHead) + "KREIS\nX1 -10 Y1 30 RADIUS 250 RGB-Farbe 255 255 255 GEPUNKTET\n";
    for (const Arc& a : arcs) {
        std::string s = arc;
        s.replace(s.find("%r"), 2, std::to_string(a.radius));
        s.replace(s.find("%s"), 2, std::to_string(a.start));
        s.replace(s.find("%e"), 2, std::to_string(a.end));
        text += s;
    }
    ASSERT_EQ(import(text), 0);
    ELEMENT_STRUCT* g = onlyGroup(5);
    ASSERT_NE(g, nullptr);
    const auto* c = static_cast<CIRCLE_STRUCT*>(g->children->data);
    ASSERT_EQ(g->children->kind, VD_CIRCLE);
    EXPECT_EQ(c->x, -10.0f);
    EXPECT_EQ(c->y, 30.0f);
    EXPECT_EQ(c->start, 0.0f);
    EXPECT_NEAR(c->end, 2 * M_PI, 1e-6);
    EXPECT_EQ(c->rx, 100.0f);
    EXPECT_EQ(c->ry, 100.0f);
    EXPECT_EQ(c->matrix[0], 2.5f);
    EXPECT_EQ(c->matrix[1], 0.0f);
    EXPECT_EQ(c->matrix[2], 0.0f);
    EXPECT_EQ(c->matrix[3], 2.5f);
    EXPECT_EQ(c->outline, 1);
    EXPECT_EQ(c->lineWidth, 1.0f);
    EXPECT_EQ(c->lineStyle, 1);
    EXPECT_EQ(c->lineR + c->lineG + c->lineB + c->lineA, 4.0f);
    EXPECT_EQ(c->fill, 0);
    EXPECT_EQ(c->fillR + c->fillG + c->fillB + c->fillA, 4.0f);
    EXPECT_EQ(c->antialias, 1);
    for (int i = 0; i < 4; ++i) {
        ELEMENT_STRUCT* e = nth(g->children, i + 1);
        ASSERT_EQ(e->kind, VD_CIRCLE) << i; // not ARC
        const auto* a = static_cast<CIRCLE_STRUCT*>(e->data);
        EXPECT_FLOAT_EQ(a->start, arcs[i].from * kDeg) << i;
        EXPECT_FLOAT_EQ(a->end, arcs[i].to * kDeg) << i;
        EXPECT_EQ(a->matrix[0], std::fabs(arcs[i].radius / 100.0f)) << i;
        EXPECT_EQ(a->matrix[3], a->matrix[0]) << i;
        EXPECT_EQ(a->rx, 100.0f);
        EXPECT_EQ(a->lineStyle, 0);
        EXPECT_EQ(a->lineG, 1.0f);
        EXPECT_EQ(a->fill, 0);
        EXPECT_EQ(a->antialias, 1);
    }
}

TEST_F(SymbolFileTest, TextsByFontNumber)
{
    const struct
    {
        int font;
        int size;
    } cases[] = {{0, 12}, {1, 12}, {2, 15}, {3, 18}, {4, 12}, {-3, 12}, {18, 12}};
    std::string text = kHead;
    for (const auto& c : cases)
        text += "TEXT\nX1 4 Y1 -6 Font " + std::to_string(c.font) + " RGB-Farbe 0 0 255 CHARACTER Wort_" +
                std::to_string(c.font) + "\n";
    const std::string longWord(300, 'w');
    text += "TEXT\nX1 0 Y1 0 Font 2 RGB-Farbe 0 0 0 CHARACTER " + longWord + "\n";
    ASSERT_EQ(import(text), 0);
    const int n = int(sizeof cases / sizeof cases[0]);
    ELEMENT_STRUCT* g = onlyGroup(n + 1);
    ASSERT_NE(g, nullptr);
    for (int i = 0; i < n; ++i) {
        ELEMENT_STRUCT* e = nth(g->children, i);
        ASSERT_EQ(e->kind, VD_TEXT);
        const auto* t = static_cast<TEXT_STRUCT*>(e->data);
        EXPECT_EQ(t->size, cases[i].size) << cases[i].font;
        EXPECT_EQ(t->displaySize, cases[i].size) << cases[i].font;
        EXPECT_EQ(t->text, "Wort_" + std::to_string(cases[i].font));
        EXPECT_EQ(t->x, 4.0f); // measured 0 x 0 without a font
        EXPECT_EQ(t->y, -6.0f);
        EXPECT_EQ(t->align, 7);
        EXPECT_STREQ(t->family, "Arial");
        EXPECT_EQ(t->style, 1);
        EXPECT_EQ(t->underline, 0);
        EXPECT_EQ(t->outline, 1);
        EXPECT_EQ(t->lineWidth, 1.0f);
        EXPECT_EQ(t->lineStyle, 0);
        EXPECT_EQ(t->antialias, 0);
        EXPECT_EQ(t->matrix[0], 1.0f);
        EXPECT_EQ(t->matrix[1], 0.0f);
        EXPECT_EQ(t->matrix[2], 0.0f);
        EXPECT_EQ(t->matrix[3], 1.0f);
        EXPECT_EQ(t->color[2], 1.0f);
        EXPECT_EQ(t->color[0] + t->color[1], 0.0f);
        EXPECT_EQ(t->color[3], 1.0f);
        EXPECT_EQ(t->font, nullptr);
        EXPECT_EQ(t->scalable, 0);
        EXPECT_STREQ(e->attr.text, t->text);
    }
    EXPECT_EQ(static_cast<TEXT_STRUCT*>(nth(g->children, n)->data)->text, longWord.substr(0, 255));
}

TEST_F(SymbolFileTest, TabsCarriageReturnsAndRunsOfBlanks)
{
    ASSERT_EQ(import("\t SYMBOL-NR.\t12 \r\n\tBEZUGSPUNKT_X\t1  BEZUGSPUNK_Y -2\r\n\t\tVEKTOR \t\r\n"
                     "\tX1\t1 Y1   2\tX2 3 Y2 4 RGB-Farbe\t0 0 255\tGEPUNKTET\r\n"
                     "  KREIS\r\nX1 0 Y1 0 RADIUS 100 RGB-Farbe 1 2 3 GESTRICHELT\r\n"),
              0);
    ELEMENT_STRUCT* g = onlyGroup(2);
    ASSERT_NE(g, nullptr);
    EXPECT_STREQ(g->name, "SYMBOL 12");
    ASSERT_EQ(g->children->kind, VD_LINE);
    const auto* l = static_cast<LINE_STRUCT*>(g->children->data);
    EXPECT_EQ(l->x2, 3.0f);
    EXPECT_EQ(l->y2, 4.0f);
    EXPECT_EQ(l->lineStyle, 1); // the word ends before the carriage return
    EXPECT_EQ(static_cast<CIRCLE_STRUCT*>(g->children->next->data)->lineStyle, 4);
}

TEST_F(SymbolFileTest, LinesThatDoNotMatchAreIgnored)
{
    const std::string good = "X1 0 Y1 0 X2 10 Y2 0 RGB-Farbe 255 0 0 GESTRICHELT\n";
    const struct
    {
        const char* what;
        std::string text;
        int children; // of the one group; -1: no group
    } cases[] = {
        {"primitives before the first symbol", "VEKTOR\n" + good + "TEXT\n", -1},
        {"no reference point", "SYMBOL-NR. 1\nVEKTOR\n" + good, 0},
        {"reference with the keyword spelled right", "SYMBOL-NR. 1\nBEZUGSPUNKT_X 0 BEZUGSPUNKT_Y 0\nVEKTOR\n" + good,
         0},
        {"a primitive without its keyword", kHead + good, 0},
        {"keyword with trailing text", kHead + "VEKTOR X\n" + good, 0},
        {"keyword in lower case", kHead + "vektor\n" + good, 0},
        {"an item missing, then a good line", kHead + "VEKTOR\nX1 0 Y1 0 X2 10 Y2 0 RGB-Farbe 255 0 0\n" + good, 1},
        {"a number beyond the int range", kHead + "VEKTOR\nX1 2147483648 Y1 0 X2 10 Y2 0 RGB-Farbe 255 0 0 X\n", 0},
        {"a number below the int range", kHead + "VEKTOR\nX1 -2147483649 Y1 0 X2 10 Y2 0 RGB-Farbe 1 0 0 X\n", 0},
        {"a huge number", kHead + "VEKTOR\nX1 99999999999999999999999 Y1 0 X2 1 Y2 0 RGB-Farbe 1 0 0 X\n", 0},
        {"the int range's ends", kHead + "VEKTOR\nX1 -2147483648 Y1 2147483647 X2 1 Y2 0 RGB-Farbe 1 0 0 X\n", 1},
        {"a symbol number beyond the int range", "SYMBOL-NR. 4294967297\nBEZUGSPUNKT_X 0 BEZUGSPUNK_Y 0\n", -1},
        {"a keyword's primitive in another format", kHead + "KREIS\n" + good, 0},
        {"a text without its word", kHead + "TEXT\nX1 0 Y1 0 Font 1 RGB-Farbe 0 0 0 CHARACTER \n", 0},
        {"a letter for a number", kHead + "VEKTOR\nX1 a Y1 0 X2 1 Y2 0 RGB-Farbe 1 0 0 X\n", 0},
    };
    for (const auto& c : cases) {
        elementDeleteAll(&list);
        ASSERT_EQ(import(c.text), 0) << c.what;
        if (c.children < 0) {
            EXPECT_EQ(list, nullptr) << c.what;
            continue;
        }
        ASSERT_NE(list, nullptr) << c.what;
        EXPECT_EQ(countOf(list->children), c.children) << c.what;
    }
    // The int range's ends are taken as they are.
    elementDeleteAll(&list);
    ASSERT_EQ(import(cases[10].text), 0);
    const auto* l = static_cast<LINE_STRUCT*>(list->children->data);
    EXPECT_EQ(l->x1, -2147483648.0f);
    EXPECT_EQ(l->y1, 2147483647.0f);
}

TEST_F(SymbolFileTest, LongLinesAreReadInPiecesOf1023Characters)
{
    // One line of 1500 characters: the keyword and blanks fill the first
    // piece, the primitive is the rest, with a word far behind it.
    const std::string keyword = "TEXT";
    std::string line = keyword + std::string(1023 - keyword.size(), ' ') +
                       "X1 1 Y1 2 Font 3 RGB-Farbe 0 0 0 CHARACTER Hallo ";
    line += std::string(1500 - line.size(), 'z');
    ASSERT_EQ(line.size(), 1500u);
    // A symbol line 1023 characters in, which a reader dropping the rest of a
    // long line would miss.
    const std::string symbol = std::string(1023, '\t') + "SYMBOL-NR. 9\n";
    ASSERT_EQ(import(std::string(kHead) + line + "\n" + symbol), 0);
    ASSERT_EQ(countOf(list), 2);
    ASSERT_EQ(countOf(list->children), 1);
    const auto* t = static_cast<TEXT_STRUCT*>(list->children->data);
    EXPECT_STREQ(t->text, "Hallo");
    EXPECT_EQ(t->size, 18);
    EXPECT_STREQ(list->next->name, "SYMBOL 9");
}

TEST_F(SymbolFileTest, GroupsGoToTheEndOfTheListInFileOrder)
{
    ELEMENT_STRUCT* mine = elementCreate(VD_LINE);
    elementAppend(mine, &list);
    ASSERT_EQ(import("SYMBOL-NR. 5\nSYMBOL-NR. -6\nBEZUGSPUNKT_X 0 BEZUGSPUNK_Y 0\n" + vektor("X") +
                     "SYMBOL-NR. 7\n"),
              0);
    ASSERT_EQ(list, mine);
    EXPECT_EQ(mine->prev, nullptr);
    const char* names[] = {"SYMBOL 5", "SYMBOL -6", "SYMBOL 7"};
    ELEMENT_STRUCT* e = mine->next;
    for (const char* name : names) {
        ASSERT_NE(e, nullptr);
        EXPECT_STREQ(e->name, name);
        EXPECT_EQ(e->kind, VD_GROUP);
        EXPECT_EQ(e->parent, nullptr);
        e = e->next;
    }
    EXPECT_EQ(e, nullptr);
    EXPECT_EQ(countOf(mine->next->next->children), 1);
    EXPECT_EQ(mine->next->next->prev, mine->next);
    EXPECT_EQ(mine->next->prev, mine);
    // An empty file adds nothing.
    ASSERT_EQ(import(""), 0);
    EXPECT_EQ(countOf(list), 4);
}

TEST_F(SymbolFileTest, RefusalsLeaveTheListAsItWas)
{
    ELEMENT_STRUCT* mine = elementCreate(VD_LINE);
    elementAppend(mine, &list);
    const std::string fifo = folder.path + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string missing = folder.path + "/missing.sym";
    const std::string unreadable = write(kHead + vektor("X"), "locked.sym");
    chmod(unreadable.c_str(), 0);
    const bool root = geteuid() == 0;
    const std::string paths[] = {missing, folder.path, fifo, unreadable};
    for (const std::string& path : paths) {
        if (path == unreadable && root)
            continue; // root reads it all the same
        LogCapture log;
        EXPECT_EQ(loadSymbolFile(path.c_str(), &list, nullptr, nullptr), -1) << path;
        EXPECT_EQ(log.take(), "cannot open file " + path + "\n");
        EXPECT_EQ(list, mine);
        EXPECT_EQ(mine->next, nullptr);
    }
    LogCapture log;
    EXPECT_EQ(loadSymbolFile(nullptr, &list, nullptr, nullptr), -1);
    EXPECT_EQ(loadSymbolFile(write(kHead).c_str(), nullptr, nullptr, nullptr), -1);
    EXPECT_NE(log.take().find("null argument"), std::string::npos);
    EXPECT_EQ(mine->next, nullptr);
}

TEST_F(SymbolFileTest, EveryKeywordInOneFileSavesAndReadsBack)
{
    ASSERT_EQ(import("Kopfzeile\nSYMBOL-NR. 1\nBEZUGSPUNKT_X 0 BEZUGSPUNK_Y 0\n" + vektor("GESTRICHELT") +
                     "GEF. RECHTECK\nX1 0 Y1 0 X2 20 Y2 10 RGB-Farbe 10 20 30 X\n"
                     "RECHTECK\nX1 5 Y1 5 X2 15 Y2 8 RGB-Farbe 0 0 255 STRICHPUNKT\n"
                     "TEXT\nX1 3 Y1 4 Font 2 RGB-Farbe 255 255 255 CHARACTER Ventil\n"
                     "KREIS\nX1 7 Y1 7 RADIUS 30 RGB-Farbe 0 255 0 GEPUNKTET\n"
                     "KREIS_BOGEN\nX1 7 Y1 7 RADIUS 40 Winkelanfang[Grad] 300 Winkelende[GRAD] 30 "
                     "RGB-Farbe 0 255 0\n"
                     "POLYGON\nX1 0 Y1 0 X2 5 Y2 0 RGB-Farbe 255 0 0 X\n"
                     "POLYGON\nX1 5 Y1 0 X2 5 Y2 5 RGB-Farbe 255 0 0 X\n"
                     "POLYGON\nX1 5 Y1 5 X2 0 Y2 0 RGB-Farbe 255 0 0 X\n"
                     "SYMBOL-NR. 2\nBEZUGSPUNKT_X 100 BEZUGSPUNK_Y 100\n" +
                     vektor("DURCHGEZOGEN")),
              0);
    ASSERT_EQ(countOf(list), 2);
    const int kinds[] = {VD_LINE, VD_RECTANGLE, VD_RECTANGLE, VD_TEXT, VD_CIRCLE, VD_CIRCLE, VD_CPOLYGON};
    ASSERT_EQ(countOf(list->children), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(nth(list->children, i)->kind, kinds[i]) << i;
    EXPECT_EQ(points(nth(list->children, 6)).size(), 3u);

    CONFIG_STRUCT config{};
    const std::string saved = folder.path + "/saved.v";
    ASSERT_EQ(saveFile(saved.c_str(), list, nullptr, &config), 0);
    ELEMENT_STRUCT* back = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT backConfig{};
    ASSERT_EQ(loadFile(saved.c_str(), &back, &sources, &backConfig), 0);
    EXPECT_EQ(sources, nullptr);
    // Every group, every child: kind, name, position and record as imported.
    const ELEMENT_STRUCT* a = list;
    const ELEMENT_STRUCT* b = back;
    for (; a != nullptr && b != nullptr; a = a->next, b = b->next) {
        EXPECT_EQ(b->kind, VD_GROUP);
        EXPECT_STREQ(b->name, a->name);
        EXPECT_EQ(b->x, a->x);
        EXPECT_EQ(b->y, a->y);
        ASSERT_EQ(countOf(b->children), countOf(a->children));
        const ELEMENT_STRUCT* u = a->children;
        const ELEMENT_STRUCT* v = b->children;
        for (; u != nullptr; u = u->next, v = v->next) {
            SCOPED_TRACE(u->name);
            EXPECT_EQ(v->kind, u->kind);
            EXPECT_STREQ(v->name, u->name);
            EXPECT_FLOAT_EQ(v->x, u->x);
            EXPECT_FLOAT_EQ(v->y, u->y);
            switch (u->kind) {
            case VD_LINE: {
                const auto *p = static_cast<LINE_STRUCT*>(u->data), *q = static_cast<LINE_STRUCT*>(v->data);
                EXPECT_EQ(q->x1, p->x1);
                EXPECT_EQ(q->y2, p->y2);
                EXPECT_EQ(q->lineStyle, p->lineStyle);
                EXPECT_EQ(q->lineR, p->lineR);
                break;
            }
            case VD_RECTANGLE: {
                const auto *p = static_cast<RECT_STRUCT*>(u->data), *q = static_cast<RECT_STRUCT*>(v->data);
                EXPECT_EQ(0, std::memcmp(q->x, p->x, sizeof p->x));
                EXPECT_EQ(0, std::memcmp(q->y, p->y, sizeof p->y));
                EXPECT_EQ(q->outline, p->outline);
                EXPECT_EQ(q->fill, p->fill);
                EXPECT_EQ(q->lineStyle, p->lineStyle);
                EXPECT_EQ(q->fillB, p->fillB);
                EXPECT_EQ(q->antialias, p->antialias);
                break;
            }
            case VD_TEXT: {
                const auto *p = static_cast<TEXT_STRUCT*>(u->data), *q = static_cast<TEXT_STRUCT*>(v->data);
                EXPECT_STREQ(q->text, p->text);
                EXPECT_EQ(q->x, p->x);
                EXPECT_EQ(q->size, p->size);
                EXPECT_EQ(q->displaySize, p->displaySize);
                EXPECT_STREQ(q->family, p->family);
                EXPECT_EQ(q->align, p->align);
                EXPECT_EQ(q->color[0], p->color[0]);
                break;
            }
            case VD_CIRCLE: {
                const auto *p = static_cast<CIRCLE_STRUCT*>(u->data), *q = static_cast<CIRCLE_STRUCT*>(v->data);
                EXPECT_EQ(q->x, p->x);
                EXPECT_FLOAT_EQ(q->start, p->start);
                EXPECT_FLOAT_EQ(q->end, p->end);
                EXPECT_FLOAT_EQ(q->matrix[0] * q->rx, p->matrix[0] * p->rx);
                EXPECT_FLOAT_EQ(q->matrix[3] * q->ry, p->matrix[3] * p->ry);
                EXPECT_EQ(q->lineStyle, p->lineStyle);
                EXPECT_EQ(q->fill, p->fill);
                break;
            }
            case VD_CPOLYGON:
                EXPECT_EQ(points(v), points(u));
                EXPECT_EQ(static_cast<POLY_STRUCT*>(v->data)->fill, 1);
                break;
            default:
                ADD_FAILURE() << "kind " << u->kind;
            }
        }
    }
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(b, nullptr);
    elementDeleteAll(&back);
}
