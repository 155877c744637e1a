// Text elements with the font library in a real context: handle sets of
// outline and bitmap fonts, the font made at the first draw, alignment
// placed by pixels, sizes rounded to the catalogue, font and geometry edits,
// the selection frame, and the conversions of old view files' texts.
#include "fontSupport.h"
#include "sartoLibrary.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

class TextTest : public FontGlTest
{
protected:
    void TearDown() override
    {
        elementDeleteAll(&mList);
        FontGlTest::TearDown();
    }

    // A text from the element factory at (x, y), updated as a reader leaves it.
    ELEMENT_STRUCT* text(float x, float y, const char* templ = "Text")
    {
        ELEMENT_STRUCT* e = elementCreate(VD_TEXT);
        auto* t = record(e);
        t->x = x;
        t->y = y;
        std::snprintf(t->text, sizeof t->text, "%s", templ);
        e->update(e);
        elementAppend(e, &mList);
        return e;
    }

    static TEXT_STRUCT* record(ELEMENT_STRUCT* e) { return static_cast<TEXT_STRUCT*>(e->data); }

    static void edit(ELEMENT_STRUCT* e, int command, int intValue = 0, const char* s = nullptr, float x = 0)
    {
        EDIT_PARA_STRUCT p{};
        p.intValue = intValue;
        p.x = x;
        std::string copy = s != nullptr ? s : "";
        p.text = s != nullptr ? copy.data() : nullptr;
        editTextx(e, e->stickies, command, 3, &p);
    }

    static int width(const TEXT_STRUCT* t, const char* s)
    {
        int m[2] = {0, 0};
        std::string copy = s;
        ftFontStringMetric(reinterpret_cast<intptr_t>(t->font), copy.data(), m);
        return m[0];
    }

    static std::vector<std::pair<uint32_t, int>> handles(const ELEMENT_STRUCT* e)
    {
        std::vector<std::pair<uint32_t, int>> out;
        for (const STICKY_STRUCT* s = e->stickies; s != nullptr; s = s->next)
            out.emplace_back(s->id, s->type);
        return out;
    }

    ELEMENT_STRUCT* mList = nullptr;
};

TEST_F(TextTest, HandleSetsAndTheFontOfTheFirstDraw)
{
    ELEMENT_STRUCT* e = text(100, 100);
    TEXT_STRUCT* t = record(e);
    EXPECT_EQ(handles(e), (std::vector<std::pair<uint32_t, int>>{{9, 3}})) << "no font, not scalable";
    EXPECT_EQ(t->font, nullptr);
    draw(mList, 0);
    ASSERT_NE(t->font, nullptr);
    EXPECT_EQ(fontObjects("Arial", 1, 34), 1) << "Arial 30 from the size ladder's 34";
    EXPECT_EQ(t->scalable, 0) << "the first draw does not decide it";
    void* first = t->font;
    draw(mList, 0);
    EXPECT_EQ(t->font, first);

    // An outline family: handles 1-8 around the box as well, the one at the
    // alignment (7) marked.
    edit(e, 123, 0, "Arial");
    ASSERT_EQ(t->scalable, 1);
    const float w = float(width(t, "Text")) / 2, h = 15;
    const std::vector<std::pair<uint32_t, int>> outline = {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1},
                                                           {6, 1}, {7, 4}, {8, 1}, {9, 3}};
    EXPECT_EQ(handles(e), outline);
    EXPECT_EQ(getSticky(e->stickies, 1)->x, 100 - w);
    EXPECT_EQ(getSticky(e->stickies, 1)->y, 100 + h);
    EXPECT_EQ(getSticky(e->stickies, 4)->x, 100 + w);
    EXPECT_EQ(getSticky(e->stickies, 4)->y, 100);
    EXPECT_EQ(e->width, 2 * w);
    EXPECT_EQ(e->x, 100);
    // Turned a quarter: the box turns with the matrix.
    const float quarter[4] = {0, -1, 1, 0};
    std::memcpy(t->matrix, quarter, sizeof quarter);
    e->update(e);
    EXPECT_EQ(e->width, 2 * h);
    EXPECT_EQ(e->height, 2 * w);

    // A bitmap family: the anchor only, the matrix and display size reset.
    edit(e, 121, 9);
    edit(e, 123, 0, "Courier [fixed]");
    EXPECT_EQ(t->scalable, 0);
    EXPECT_EQ(t->size, 15) << "the strike nearest 30";
    EXPECT_EQ(t->displaySize, 15);
    EXPECT_EQ(t->matrix[0], 1);
    EXPECT_EQ(t->matrix[1], 0);
    EXPECT_EQ(handles(e), (std::vector<std::pair<uint32_t, int>>{{9, 4}})) << "aligned on the centre";
    EXPECT_EQ(fontObjects("Arial", 1, 34), 0) << "the old font released";
}

TEST_F(TextTest, ShownTextAlignedAgainstItsTemplate)
{
    ELEMENT_STRUCT* e = text(128, 128, "0000");
    edit(e, 123, 0, "Courier [fixed]");
    const TEXT_STRUCT* t = record(e);
    const int templ = width(t, "0000"), shown = width(t, "12"), cell = shown / 2;
    ASSERT_GT(cell, 3);
    ASSERT_EQ(templ, 2 * shown) << "a fixed-width font";
    auto columns = [&](int align) {
        edit(e, 121, align);
        std::snprintf(e->attr.text, sizeof e->attr.text, "%s", "12");
        clear(0, 0, 0, 1);
        draw(mList, 0);
        return litColumns(100, 156);
    };
    const auto right = columns(3), left = columns(8), centre = columns(9);
    ASSERT_GE(left.first, 0) << "something drawn";
    EXPECT_GE(left.first, 128 - templ / 2) << "from the template's left edge";
    EXPECT_LT(left.first, 128 - templ / 2 + cell);
    EXPECT_LT(right.second, 128 + templ / 2) << "to the template's right edge";
    EXPECT_GE(right.second, 128 + templ / 2 - cell);
    EXPECT_EQ(centre.first - left.first, cell) << "centred on the anchor";
    EXPECT_EQ(right.first - centre.first, cell);
    EXPECT_EQ(litIn(0, 0, kWidth - 1, 100) + litIn(0, 157, kWidth - 1, kHeight - 1), 0) << "centred vertically";
    EXPECT_GT(litIn(0, 100, kWidth - 1, 156), 0);
}

TEST_F(TextTest, SizesComeFromTheCatalogue)
{
    ELEMENT_STRUCT* e = text(100, 100);
    TEXT_STRUCT* t = record(e);
    edit(e, 123, 0, "FamS [fixed]");
    EXPECT_EQ(t->size, 14) << "of 10 and 14, nearest 30";
    EXPECT_EQ(checkFontSize(t, 13), 14);
    int count = 0;
    int* sizes = ftFamilyGetSizes("FamS [fixed]", 1, &count);
    ASSERT_EQ(count, 2);
    const int firstListed = sizes[0];
    ftFree(sizes);
    EDIT_PARA_STRUCT p{};
    p.intValue = 12;
    editTextx(e, e->stickies, 28, 3, &p);
    EXPECT_EQ(p.intValue, firstListed) << "equally near: the one listed first, written back";
    EXPECT_EQ(t->size, firstListed);
    EXPECT_FLOAT_EQ(t->matrix[0], float(firstListed) / 14) << "the matrix follows the size";
    EXPECT_EQ(vdTextUpdate(), 1);
    EXPECT_EQ(fontObjects("FamS [fixed]", 1, firstListed), 1);
    draw(mList, 0);
    EXPECT_EQ(vdTextUpdate(), 0);
    EXPECT_EQ(checkFontSize(t, 99), 14);
    std::snprintf(t->family, sizeof t->family, "%s", "Arial");
    EXPECT_EQ(checkFontSize(t, 99), 99) << "scalable";

    // Styles: a bold-only family gives bold; an unknown family keeps it.
    std::snprintf(t->family, sizeof t->family, "%s", "FamB [fixed]");
    t->style = 4;
    EXPECT_EQ(checkFontStyle(t), 2);
    std::snprintf(t->family, sizeof t->family, "%s", "Nobody");
    EXPECT_EQ(checkFontStyle(t), 4);
    edit(e, 124, 8);
    EXPECT_EQ(t->style, 8);
    EXPECT_EQ(checkFontSize(nullptr, 5), 5);
    EXPECT_EQ(checkFontStyle(nullptr), -1);
}

TEST_F(TextTest, GeometryEditsScaleAndTurnTheMatrix)
{
    ELEMENT_STRUCT* e = text(100, 100);
    TEXT_STRUCT* t = record(e);
    edit(e, 123, 0, "Arial");
    // Height scaled by 2 about the centre: the font follows at the end.
    edit(e, 13, 0, nullptr, 0);
    EXPECT_EQ(t->matrix[3], 1) << "a factor of 0 is ignored";
    EDIT_PARA_STRUCT p{};
    p.y = 2;
    editTextx(e, e->stickies, 13, 3, &p);
    EXPECT_FLOAT_EQ(t->matrix[3], 2);
    EXPECT_EQ(t->size, 60);
    EXPECT_EQ(fontObjects("Arial", 1, 100), 1) << "60 from the ladder's 100";

    // Turning: every drag step turns by the angle since the begin.
    ELEMENT_STRUCT* other = text(50, 50);
    edit(other, 123, 0, "Arial");
    p = {};
    p.x = 60;
    editTextx(other, other->stickies, 16, 3, &p);
    p = {};
    editTextx(e, e->stickies, 16, 0, &p);
    for (float angle : {30.0f, 60.0f}) {
        p.x = angle;
        editTextx(e, e->stickies, 16, 1, &p);
    }
    editTextx(e, e->stickies, 16, 2, &p);
    const float c = std::cos(60 * 0.017453292f), s = std::sin(60 * 0.017453292f);
    EXPECT_FLOAT_EQ(t->matrix[0], c);
    EXPECT_FLOAT_EQ(t->matrix[1], -2 * s);
    EXPECT_FLOAT_EQ(t->matrix[2], s);
    EXPECT_FLOAT_EQ(t->matrix[3], 2 * c);
    EXPECT_FLOAT_EQ(record(other)->matrix[2], s) << "as in one step";
    EXPECT_EQ(t->x, 100) << "turned about itself";
    EXPECT_EQ(e->editBackup, nullptr);

    // A template without extent keeps the scale at 1.
    ELEMENT_STRUCT* empty = text(20, 20, "");
    edit(empty, 123, 0, "Arial");
    p = {};
    p.x = 40;
    p.y = 20;
    editTextx(empty, empty->stickies, 4, 3, &p);
    for (float m : record(empty)->matrix)
        EXPECT_FALSE(std::isnan(m));
    EXPECT_EQ(record(empty)->matrix[0], 1);
}

TEST_F(TextTest, TemplateTextAndSelectionFrame)
{
    ELEMENT_STRUCT* e = text(128, 128);
    const std::string longText(300, 'x');
    const std::string before = longText;
    EXPECT_EQ(textSetNewText(e, longText.c_str()), 0);
    EXPECT_EQ(std::strlen(record(e)->text), 255u);
    EXPECT_EQ(longText, before) << "the caller's text is only read";
    EXPECT_STREQ(e->attr.text, record(e)->text);
    ELEMENT_STRUCT* line = elementCreate(VD_LINE);
    EXPECT_EQ(textSetNewText(line, "x"), -1);
    elementDelete(line, &line);
    EXPECT_EQ(textSetNewText(e, nullptr), -1);

    edit(e, 120, 0, "Hi");
    EXPECT_STREQ(record(e)->text, "Hi");
    edit(e, 123, 0, "Courier [fixed]");
    e->selected = 1;
    auto red = [] {
        int n = 0;
        const std::vector<uint8_t> p = readPixels(0, 0, kWidth, kHeight);
        for (size_t i = 0; i < p.size(); i += 4)
            n += p[i] == 255 && p[i + 1] == 0 && p[i + 2] == 0;
        return n;
    };
    draw(mList, 0);
    EXPECT_GT(red(), 10) << "edit mode";
    clear(0, 0, 0, 1);
    draw(mList, 1);
    EXPECT_EQ(red(), 0) << "run mode";
    EXPECT_GT(litIn(100, 100, 156, 156), 0) << "the text itself";
}

TEST_F(TextTest, OldTextsConverted)
{
    ELEMENT_STRUCT* e = text(100, 100, "AB");
    TEXT_STRUCT* t = record(e);
    struct Case
    {
        int index, style, size;
    };
    const Case cases[] = {{9, 4, 14}, {0, 1, 11}, {18, 2, 17}, {27, 8, 20}, {38, 2, 34}, {40, 2, 34}};
    for (const Case& c : cases) {
        t->underline = 1;
        t->matrix[1] = 5;
        EXPECT_EQ(convertTextNewFormat(t, c.index), 0);
        EXPECT_STREQ(t->family, "Courier [fixed]");
        EXPECT_EQ(t->style, c.style) << c.index;
        EXPECT_EQ(t->size, c.size) << c.index;
        EXPECT_EQ(t->displaySize, c.size);
        EXPECT_EQ(t->underline, 0);
        EXPECT_EQ(t->matrix[1], 0);
    }
    // The anchor moves from the aligned corner to the centre.
    convertTextNewFormat(t, 0);
    int m[2] = {0, 0};
    char ab[] = "AB";
    ftFontStringMetric(reinterpret_cast<intptr_t>(t->font), ab, m);
    ASSERT_GT(m[0], 0);
    struct Move
    {
        int align;
        float dx, dy;
    };
    for (const Move& mv : {Move{1, 0.5f, -0.5f}, Move{5, -0.5f, 0.5f}, Move{6, 0, 0.5f}, Move{9, 0, 0}}) {
        t->x = t->y = 100;
        t->align = mv.align;
        convertTextNewFormat(t, 0);
        EXPECT_EQ(t->x, 100 + mv.dx * float(m[0])) << mv.align;
        EXPECT_EQ(t->y, 100 + mv.dy * float(m[1])) << mv.align;
    }
    EXPECT_EQ(t->scalable, 0);

    EXPECT_EQ(convertTextNewFormatVec(t, 3), 0);
    EXPECT_STREQ(t->family, "Arial");
    EXPECT_EQ(t->size, 30);
    EXPECT_EQ(t->displaySize, 30);
    EXPECT_EQ(t->scalable, 1);

    // Corners of an old vector text: edge 0-3 upward, twice the template's
    // width (characters times the measured width), edge 0-1 three times its
    // height.
    const float w = float(2 * width(t, "AB")), l1 = 2 * w, l2 = 90;
    const float xs[4] = {100, 100 - l2, 100 - l2, 100}, ys[4] = {50, 50, 50 + l1, 50 + l1};
    std::memcpy(t->cornerX, xs, sizeof xs);
    std::memcpy(t->cornerY, ys, sizeof ys);
    EXPECT_EQ(calcVecText(t), 0);
    EXPECT_NEAR(t->matrix[0], 0, 1e-5);
    EXPECT_NEAR(t->matrix[1], -3, 1e-5);
    EXPECT_NEAR(t->matrix[2], 2, 1e-5);
    EXPECT_NEAR(t->matrix[3], 0, 1e-5);
    EXPECT_FLOAT_EQ(t->x, 100 - l2 / 2);
    EXPECT_FLOAT_EQ(t->y, 50 + l1 / 2);
    EXPECT_FLOAT_EQ(t->cornerX[0], w / 4) << "half the measured width";
    EXPECT_FLOAT_EQ(t->cornerY[0], -15);
    for (auto f : {calcVecText, calcVecTextNew})
        EXPECT_EQ(f(nullptr), -1);
}

} // namespace
