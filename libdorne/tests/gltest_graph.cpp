// Graphs drawn and read back: grid lines and major and minor ticks where the
// automatic spacing puts them, labels beside the major ticks, a trace that
// changes colour at the interpolated threshold crossings (rising and
// falling), far samples skipped, a full ring drawn oldest first, the XY
// strip with its cross clamped to the box, the selection frame only in edit
// mode, and the scissor box the traces find kept for what follows. Also the
// label font's family, style and size commands.
#include "fontSupport.h"
#include "graphSupport.h"

namespace {

// The 200 x 200 box from (28.5, 28.5): box coordinate v lies on pixel
// 28 + v, and pixel centres lie on whole box coordinates.
const float boxX = 28.5f, boxY = 28.5f, boxSize = 200;

int px(float boxCoordinate)
{
    return int(boxX + boxCoordinate);
}

class GraphDraw : public FontGlTest
{
protected:
    // A graph in the test box with nothing but what the test turns on.
    ELEMENT_STRUCT* plainGraph(support::GraphView& view, int type, int samples, float rate, int actions = 1)
    {
        ELEMENT_STRUCT* e = view.graph(type, samples, rate, actions, boxX, boxY, boxSize, boxSize);
        GRAPH_STRUCT* g = view.record(e);
        g->gridX = g->gridY = g->tickX = g->tickY = g->labelX = g->labelY = 0;
        g->ymin = 0;
        g->ymax = 100;
        return e;
    }

    static void thresholds(ACTION_STRUCT* a, std::initializer_list<std::array<float, 5>> colours, int width)
    {
        for (const auto& c : colours) // level, upper level, r, g, b
            support::addTh(a->thColor, c[0], 1, c[2], c[3], c[4])->upperLevel = c[1];
        support::addTh(a->thWidth, -1e30f, width);
    }

    static void feed(support::GraphView& view, std::initializer_list<float> values)
    {
        float t = 0.5f;
        for (float v : values)
            view.feed(0, t++, v);
    }
};

TEST_F(GraphDraw, GridAndTicksWhereTheAutomaticSpacingPutsThem)
{
    support::GraphView view;
    ELEMENT_STRUCT* e = plainGraph(view, 0, 100, 1); // x 0..100 over 200: lines every 50
    GRAPH_STRUCT* g = view.record(e);
    g->ymin = -100; // y -100..100 over 200: lines every 50, minor ticks every 10
    g->gridX = g->gridY = g->tickX = g->tickY = 1;
    g->gridColor[0] = g->gridColor[2] = 0;
    g->gridColor[1] = g->gridColor[3] = 1;
    e->update(e);
    draw(view.elements, 0);

    struct Expect
    {
        int x, y;
        bool green, white;
        const char* what;
    };
    const Expect expected[] = {
        {px(100), 60, true, false, "vertical grid line at 50"},
        {px(50), 60, false, false, "none at 25"},
        {60, px(50), true, false, "horizontal grid line at -50"},
        {60, px(100), true, false, "at 0"},
        {60, px(75), false, false, "none at -25"},
        {px(-8), px(50), false, true, "major y tick at -50"},
        {px(-8), px(0), false, true, "major y tick on the bottom edge"},
        {px(-3), px(60), false, true, "minor y tick at -40"},
        {px(-8), px(60), false, false, "minor ticks are short"},
        {px(100), px(-8), false, true, "major x tick at 50"},
        {px(0), px(-8), false, false, "no major x tick on the left edge"},
        {px(20), px(-3), false, true, "minor x tick at 10"},
        {px(20), px(-8), false, false, "minor x ticks are short"},
        {px(0), 60, false, true, "frame"},
    };
    for (const Expect& x : expected) {
        const auto p = pixel(x.x, x.y);
        EXPECT_EQ(p[1] == 255 && p[0] == 0, x.green) << x.what;
        EXPECT_EQ(p[0] == 255 && p[1] == 255, x.white) << x.what;
    }
    EXPECT_EQ(g->gridXSpace, 50);
    EXPECT_EQ(g->tickYSpace, 50);
    EXPECT_EQ(g->tickYSub, 5);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GraphDraw, LabelsBesideTheMajorTicks)
{
    // Room for labels left of and under a 150 x 150 box from (60.5, 60.5):
    // y 0..150 and x 0..100 both get major ticks every 50.
    support::GraphView view;
    ELEMENT_STRUCT* e = view.graph(0, 100, 1, 1, 60.5f, 60.5f, 150, 150);
    GRAPH_STRUCT* g = view.record(e);
    ASSERT_NE(g->font, nullptr);
    g->gridX = g->gridY = 0;
    g->ymin = 0;
    g->ymax = 150;
    int metric[2] = {0, 0};
    char sample[] = " 50";
    ftFontStringMetric(reinterpret_cast<intptr_t>(g->font), sample, metric);
    draw(view.elements, 0);
    EXPECT_STREQ(g->yLabelFormat, "%3.0f");
    EXPECT_STREQ(g->xLabelFormat, "%3.0f");
    const int labelRight = 60 - 12, labelLeft = labelRight - metric[0];
    for (int tick : {50, 100}) // " 50" and "100" end 12 left of their ticks
        EXPECT_GT(litIn(labelLeft, 60 + tick - 3, labelRight, 60 + tick + 3), 0) << tick;
    EXPECT_EQ(litIn(0, 60 + 20, 60 - 13, 60 + 30), 0) << "nothing between two labels";
    EXPECT_EQ(litIn(labelRight + 1, 60 + 75, 60 - 13, 60 + 80), 0) << "nothing between label and tick";
    // Under the x tick at 50 (x 135), centred on it, below 13 + the cell.
    EXPECT_GT(litIn(135 - metric[0] / 2, 60 - 13 - metric[1], 135 + metric[0] / 2, 60 - 13), 0);
    EXPECT_EQ(litIn(0, 0, 255, 60 - 14 - metric[1]), 0) << "nothing further down";
}

TEST_F(GraphDraw, TraceChangesColourAtTheInterpolatedCrossings)
{
    support::GraphView view;
    plainGraph(view, 0, 4, 1); // 5 samples over 200: 50 apart; y 2 per unit
    // Blue from the head, red above 50; falling back to blue below 30.
    thresholds(view.traces[0].action, {{-1000, 30, 0, 0, 1}, {50, 40, 1, 0, 0}}, 3);
    ASSERT_EQ(view.bind(), 0);
    resetAllGraphs(view.elements, 0);
    feed(view, {10, 10, 90, 90, 10}); // (0, 20) (50, 20) (100, 180) (150, 180) (200, 20)
    draw(view.elements, 1);
    // Rising from (50, 20) to (100, 180): the crossing at level 50, y 100, x 75.
    EXPECT_TRUE(colourNear(px(71.875f), px(90), 0, 0, 255)) << "blue below the crossing (not at red's upper level)";
    EXPECT_TRUE(colourNear(px(87.5f), px(140), 255, 0, 0)) << "red above it";
    // Falling from (150, 180) to (200, 20): the crossing at blue's upper
    // level 30, y 60, x 187.5.
    EXPECT_TRUE(colourNear(px(175), px(100), 255, 0, 0)) << "still red at level 50";
    EXPECT_TRUE(colourNear(px(193.75f), px(40), 0, 0, 255)) << "blue below 30";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GraphDraw, FarSamplesSkippedAndAFullRingDrawnOldestFirst)
{
    support::GraphView view;
    plainGraph(view, 0, 4, 1);
    thresholds(view.traces[0].action, {{-1000, 0, 1, 1, 1}}, 3);
    ASSERT_EQ(view.bind(), 0);
    resetAllGraphs(view.elements, 0);
    feed(view, {20, 20, 1e12f, 60, 60});
    draw(view.elements, 1);
    EXPECT_TRUE(colourNear(px(100), px(80), 255, 255, 255)) << "straight from (50, 40) to (150, 120)";

    // Six samples into a ring of five: 30 .. 70 from the left edge, rising.
    resetAllGraphs(view.elements, 0);
    feed(view, {20, 30, 40, 50, 60, 70});
    clear(0, 0, 0, 1);
    draw(view.elements, 1);
    EXPECT_TRUE(colourNear(px(1), px(60), 255, 255, 255)) << "30 on the left edge";
    EXPECT_TRUE(colourNear(px(175), px(130), 255, 255, 255)) << "rising to 70 on the right edge";
    EXPECT_EQ(litIn(px(170), px(70), px(180), px(110)), 0) << "no step back to an older sample";
}

TEST_F(GraphDraw, XyStripEndsInACrossClampedToTheBox)
{
    support::GraphView view;
    ELEMENT_STRUCT* e = plainGraph(view, 1, 4, 1); // x 0..100 as y, no thresholds
    view.record(e)->xmax = 100;
    ASSERT_EQ(view.bind(), 0);
    resetAllGraphs(view.elements, 0);
    view.feed(0, 0.5f, 10, 10);
    view.feed(0, 1.5f, 20, 20);
    view.feed(0, 2.5f, 50, 500); // far right of the box
    draw(view.elements, 1);
    EXPECT_TRUE(colourNear(px(30), px(30), 255, 255, 255)) << "the strip through the older two, outline colour";
    EXPECT_EQ(litIn(px(110), px(60), px(130), px(80)), 0) << "no line to the newest";
    // The cross on (200, 100), drawn past the box edge.
    EXPECT_TRUE(lit(pixel(px(200) + 4, px(100) + 4)));
    EXPECT_TRUE(lit(pixel(px(200) - 4, px(100) + 4)));
    EXPECT_FALSE(lit(pixel(px(200) + 4, px(100))));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GraphDraw, SelectionFrameOnlyInEditMode)
{
    support::GraphView view;
    ELEMENT_STRUCT* e = plainGraph(view, 0, 100, 1);
    e->selected = 1;
    auto redOnBottomEdge = [] {
        int red = 0;
        for (int x = px(2); x < px(198); ++x) {
            const auto p = pixel(x, px(0));
            red += p[0] == 255 && p[1] == 0;
        }
        return red;
    };
    draw(view.elements, 0);
    EXPECT_GT(redOnBottomEdge(), 50) << "red dashes";
    EXPECT_LT(redOnBottomEdge(), 150);
    clear(0, 0, 0, 1);
    draw(view.elements, 1);
    EXPECT_EQ(redOnBottomEdge(), 0);
    EXPECT_TRUE(colourNear(px(100), px(0), 255, 255, 255)) << "the outline colour";
}

TEST_F(GraphDraw, TracesKeepTheScissorBoxTheyFind)
{
    support::GraphView view;
    ELEMENT_STRUCT* e = plainGraph(view, 0, 4, 1);
    thresholds(view.traces[0].action, {{-1000, 0, 1, 1, 1}}, 3);
    ASSERT_EQ(view.bind(), 0);
    resetAllGraphs(view.elements, 0);
    feed(view, {50, 50, 50, 50, 50});
    for (bool outer : {true, false}) {
        clear(0, 0, 0, 1);
        glScissor(0, 0, 128, kHeight);
        if (outer)
            glEnable(GL_SCISSOR_TEST);
        else
            glDisable(GL_SCISSOR_TEST);
        glPushMatrix();
        glTranslatef(e->x, e->y, 0);
        EXPECT_EQ(drawAllGraphValues(e, view.record(e)), 0);
        glPopMatrix();
        EXPECT_EQ(glIsEnabled(GL_SCISSOR_TEST), outer ? GL_TRUE : GL_FALSE);
        GLint box[4];
        glGetIntegerv(GL_SCISSOR_BOX, box);
        EXPECT_EQ(box[2], 128);
        EXPECT_TRUE(lit(pixel(px(50), px(100))));
        EXPECT_EQ(lit(pixel(px(150), px(100))), !outer) << "cut at the enclosing box";
    }
    glDisable(GL_SCISSOR_TEST);
}

TEST_F(GraphDraw, LabelFontFollowsFamilyStyleAndSize)
{
    ELEMENT_STRUCT* e = elementCreate(VD_GRAPH);
    auto* g = static_cast<GRAPH_STRUCT*>(e->data);
    EDIT_PARA_STRUCT p{};
    p.intValue = 13;
    editGraph(e, nullptr, 28, 3, &p);
    EXPECT_EQ(g->size, 13);
    char family[] = "FamB [fixed]";
    p.text = family;
    editGraph(e, nullptr, 123, 3, &p);
    EXPECT_EQ(g->style, 2) << "the only style the family has";
    EXPECT_EQ(g->size, 14) << "of 11, 14, 17";
    EXPECT_EQ(fontObjects("FamB [fixed]", 2, 14), 1);
    EXPECT_EQ(fontObjects("FamB [fixed]", 1, 13), 0) << "the previous font released";
    char tie[] = "FamT [fixed]";
    p.text = tie;
    g->style = 1;
    g->size = 12;
    editGraph(e, nullptr, 123, 3, &p);
    int count = 0;
    int* sizes = ftFamilyGetSizes(tie, 1, &count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(g->size, sizes[0]) << "of 11 and 13, the one listed first";
    ftFree(sizes);

    // A copy makes its own font; deleting the original leaves it valid.
    GRAPH_STRUCT* copy = createGraph(g, 0);
    ASSERT_NE(copy->font, nullptr);
    EXPECT_NE(copy->font, g->font);
    elementDelete(e, &e);
    EXPECT_EQ(ftFontScalable(reinterpret_cast<intptr_t>(copy->font)), 0);
    ftFontFree(reinterpret_cast<intptr_t>(copy->font));
    std::free(copy);
}

} // namespace
