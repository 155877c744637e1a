// The draw loop read back from the offscreen context: visibility and blink
// phases in run and edit mode, depth ranges, line scaling, what a group hands
// its children, actions in run mode, clipping by scissor box and by stencil
// with nested and sibling groups (clip quads from the library's scissor
// finder), the designer's look, kinds that draw nothing, and the GL variant
// of the clip box computation.
#include "actionSupport.h"
#include "dorneGlTest.h"
#include "elements/elementKinds.h"
#include "shapeSupport.h"

#include <GL/gl.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

class DrawLoop : public DorneGlTest
{
protected:
    void SetUp() override
    {
        DorneGlTest::SetUp();
        pixelProjection();
        glDisable(GL_BLEND);
        glDisable(GL_DEPTH_TEST);
        clear(0, 0, 0, 1);
    }

    static DRAW_PARA_STRUCT para(int scissorType = 0, int depthOffset = 0, int lineScaling = 0)
    {
        return {1.0f, scissorType, depthOffset, lineScaling};
    }

    static void draw(ELEMENT_STRUCT* list, int running, DRAW_PARA_STRUCT p = para(), int clipInEdit = 1)
    {
        drawUserElements(list, nullptr, running, 0, clipInEdit, &p, 0);
    }

    static bool lit(int x, int y)
    {
        const auto p = pixel(x, y);
        return p[0] != 0 || p[1] != 0 || p[2] != 0;
    }

    static void expectPixel(int x, int y, int r, int g, int b, const char* what)
    {
        const auto p = pixel(x, y);
        EXPECT_TRUE(p[0] == r && p[1] == g && p[2] == b)
            << what << " at " << x << "," << y << ": " << int(p[0]) << " " << int(p[1]) << " " << int(p[2]);
    }

    static float lineWidthOfOne()
    {
        wtLineWidth(1);
        GLfloat w = 0;
        glGetFloatv(GL_LINE_WIDTH, &w);
        return w;
    }
};

TEST_F(DrawLoop, HiddenAndBlinkingOffElementsDrawOnlyInEditMode)
{
    // Hidden; blinking at rate 8; blink without its override; rates 0 and 9.
    shapes::List list{shapes::rect(10, 10, 40, 40), shapes::rect(60, 10, 90, 40), shapes::rect(110, 10, 140, 40),
                      shapes::rect(160, 10, 190, 40), shapes::rect(210, 10, 240, 40)};
    ELEMENT_STRUCT* e[5] = {list.head, list.head->next, list.head->next->next, list.head->next->next->next,
                            list.head->next->next->next->next};
    e[0]->attr.visible = 0;
    const uint8_t rates[5] = {0, 8, 8, 0, 9};
    for (int i = 1; i < 5; ++i) {
        e[i]->attr.blink = 1;
        e[i]->attr.blinkOverride = i != 2;
        e[i]->attr.blinkRate = rates[i];
    }
    bool blinkOn = false, blinkOff = false;
    int frames = 0;
    for (; frames < 300 && (frames < 20 || !blinkOn || !blinkOff); ++frames) { // about 3 s at most
        clear(0, 0, 0, 1);
        draw(list.head, 1);
        EXPECT_FALSE(lit(25, 25)) << "hidden, frame " << frames;
        (lit(75, 25) ? blinkOn : blinkOff) = true;
        for (int x : {125, 175, 225})
            EXPECT_TRUE(lit(x, 25)) << "steady at " << x << ", frame " << frames;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(blinkOn && blinkOff) << frames << " frames";
    clear(0, 0, 0, 1);
    draw(list.head, 0);
    for (int x : {25, 75, 125, 175, 225})
        EXPECT_TRUE(lit(x, 25)) << "edit mode draws everything, at " << x;
    EXPECT_EQ(e[1]->attr.running, 0);
}

TEST_F(DrawLoop, EachElementItsOwnDepthRange)
{
    shapes::List list{shapes::rect(20, 20, 60, 60, {1, 0, 0}), shapes::rect(20, 20, 60, 60, {0, 1, 0})};
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    for (int depthOffset : {1, 0}) {
        clear(0, 0, 0, 1);
        draw(list.head, 0, para(0, depthOffset));
        // With ranges the later element lies nearer; without, it ties and fails.
        expectPixel(40, 40, depthOffset ? 0 : 255, depthOffset ? 255 : 0, 0, "depth");
        GLdouble range[2] = {-1, -1};
        glGetDoublev(GL_DEPTH_RANGE, range);
        EXPECT_EQ(range[0], 0.0);
        EXPECT_EQ(range[1], 1.0);
    }
    glDisable(GL_DEPTH_TEST);
}

TEST_F(DrawLoop, LineScaleFromTheProjection)
{
    // 100 units over 200 pixels: scale 2, also mirrored.
    for (bool mirrored : {false, true}) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        mirrored ? glOrtho(128, 0, 0, 128, -1, 1) : glOrtho(0, 128, 0, 128, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        draw(nullptr, 0, para(0, 0, 1));
        EXPECT_FLOAT_EQ(lineWidthOfOne(), 2.0f) << mirrored;
    }
    // Only top-level calls measure; any call without scaling resets to 1.
    pixelProjection();
    ATTR_STRUCT group{};
    DRAW_PARA_STRUCT p = para(0, 0, 1);
    drawUserElements(nullptr, &group, 0, 0, 1, &p, 0);
    EXPECT_FLOAT_EQ(lineWidthOfOne(), 2.0f);
    p.lineScaling = 0;
    drawUserElements(nullptr, &group, 0, 0, 1, &p, 0);
    EXPECT_FLOAT_EQ(lineWidthOfOne(), 1.0f);
}

TEST_F(DrawLoop, GroupOverridesAndActionsOfRunMode)
{
    // The group's line colour reaches its child; the fill is the child's own.
    shapes::List list{shapes::group({shapes::rect(20, 20, 100, 100)})};
    ELEMENT_STRUCT* child = list.head->children;
    list.head->attr.lineColorOverride = 1;
    vdiSetColor(list.head->attr.lineColor, 0, 1, 0, 1);
    draw(list.head, 0);
    expectPixel(60, 60, 0, 0, 255, "own fill");
    expectPixel(20, 60, 0, 255, 0, "inherited line colour");
    EXPECT_EQ(child->attr.lineColorOverride, 1);
    EXPECT_EQ(child->attr.fillColorOverride, 0);

    // A move action bound to a variable of 30 moves the element in run mode
    // only.
    support::ActionView view;
    DD_VAR_STRUCT* x = support::ActionView::variable(view.source(), "x", DD_FLOAT);
    ELEMENT_STRUCT* moved = view.element(VD_RECTANGLE);
    auto* r = static_cast<RECT_STRUCT*>(moved->data);
    shapes::boxCorners(r->x, r->y, 150, 150, 170, 170);
    moved->update(moved);
    support::addAction(moved, 1, "x");
    ASSERT_EQ(view.bind(), 0);
    const float thirty = 30;
    std::memcpy(x->value, &thirty, sizeof thirty);
    clear(0, 0, 0, 1);
    draw(view.elements, 1);
    EXPECT_TRUE(lit(190, 160));
    EXPECT_FALSE(lit(160, 160));
    clear(0, 0, 0, 1);
    draw(view.elements, 0);
    EXPECT_TRUE(lit(160, 160));

    // A hidden group draws no child and runs no child's actions; its own run.
    list.head->attr.visible = 0;
    support::addAction(child, 1, "none");
    support::addAction(list.head, 1, "none");
    child->pickTransform[2] = 99;
    list.head->pickTransform[2] = 77;
    clear(0, 0, 0, 1);
    draw(list.head, 1);
    EXPECT_FALSE(lit(60, 60));
    EXPECT_EQ(child->pickTransform[2], 99);
    EXPECT_EQ(list.head->pickTransform[2], 0);
}

// Clipping by scissor box (1) and by stencil (0).
class Clipping : public DrawLoop, public ::testing::WithParamInterface<int>
{
};

TEST_P(Clipping, NestedAndSiblingGroupsCutToTheirScissors)
{
    const float green[3] = {0, 1, 0}, yellow[3] = {1, 1, 0}, blue[3] = {0, 0, 1}, cyan[3] = {0, 1, 1};
    // Outer group, scissor (40, 40)-(160, 160), holding: a group clipped to
    // (100, 100)-(220, 220) with a green sheet; a sibling group clipped to
    // (40, 40)-(90, 90) with a yellow sheet; a blue bar and, inside a group
    // without scissor, a cyan bar, both reaching outside. Then a group
    // without scissor at top level.
    shapes::List list{
        shapes::group({shapes::scissor(40, 40, 160, 160),
                       shapes::group({shapes::scissor(100, 100, 220, 220), shapes::rect(0, 0, 256, 256, green, green)}),
                       shapes::group({shapes::scissor(40, 40, 90, 90), shapes::rect(0, 0, 256, 256, yellow, yellow)}),
                       shapes::rect(10, 120, 60, 200, blue, blue),
                       shapes::group({shapes::rect(150, 100, 250, 110, cyan, cyan)})}),
        shapes::group({shapes::rect(200, 200, 250, 250, {1, 1, 1}, {1, 1, 1})})};
    vdiFindScissor(list.head, 0, 0, 0, 0, 1);
    for (int running : {1, 0}) {
        clear(0, 0, 0, 1);
        draw(list.head, running, para(GetParam()));
        SCOPED_TRACE(running ? "run mode" : "edit mode");
        expectPixel(130, 130, 0, 255, 0, "inside both nested scissors");
        expectPixel(190, 190, 0, 0, 0, "inner scissor outside the outer");
        expectPixel(70, 120, 0, 0, 0, "outer scissor outside the inner");
        expectPixel(60, 60, 255, 255, 0, "second nested group");
        expectPixel(50, 130, 0, 0, 255, "sibling inside");
        expectPixel(20, 130, 0, 0, 0, "sibling after nested groups, outside");
        expectPixel(155, 105, 0, 255, 255, "group without scissor inside");
        expectPixel(200, 105, 0, 0, 0, "group without scissor outside");
        expectPixel(225, 225, 255, 255, 255, "top-level group without scissor");
        expectPixel(40, 100, 0, 0, 0, "no scissor frame");
        EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
        EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

TEST_P(Clipping, DesignersLookShowsFramesWithoutClipping)
{
    shapes::List list{shapes::group({shapes::rect(20, 20, 100, 100, {0, 1, 0}, {0, 1, 0}),
                                     shapes::scissor(50.5f, 50.5f, 150.5f, 150.5f)})};
    list.head->selected = 1;
    vdiFindScissor(list.head, 0, 0, 0, 0, 1);
    draw(list.head, 0, para(GetParam()), 0);
    expectPixel(30, 30, 0, 255, 0, "not clipped");
    const auto orange = pixel(150, 100);
    EXPECT_TRUE(orange[0] == 255 && orange[1] >= 126 && orange[1] <= 129 && orange[2] == 0) << "scissor frame";
    // The selected group's red dashes on its top edge, left of the frame.
    int red = 0;
    const std::vector<uint8_t> row = readPixels(21, 150, 28, 1);
    for (size_t i = 0; i < row.size(); i += 4)
        red += row[i] == 255 && row[i + 1] == 0 && row[i + 2] == 0;
    EXPECT_GT(red, 6);

    clear(0, 0, 0, 1);
    draw(list.head, 0, para(GetParam()), 1);
    expectPixel(30, 30, 0, 0, 0, "clipped in edit mode");
    expectPixel(150, 100, 0, 0, 0, "no scissor frame");
    expectPixel(70, 70, 0, 255, 0, "inside");
}

INSTANTIATE_TEST_SUITE_P(ScissorBoxAndStencil, Clipping, ::testing::Values(1, 0));

TEST_F(DrawLoop, ElementsWithNothingToShowDrawNothing)
{
    shapes::List list;
    // Polygons without vertices, an image without texture and an unknown kind.
    for (int kind : {int(VD_POLYGON), int(VD_TEXTURE), int(VD_CPOLYGON), 9})
        list.add(elementCreate(kind))->attr.visible = 1;
    ELEMENT_STRUCT* g = list.add(shapes::group({elementCreate(VD_TEXTURE), elementCreate(9)}));
    g->attr.visible = 1;
    for (int running : {0, 1}) {
        draw(list.head, running);
        const std::vector<uint8_t> all = readPixels(0, 0, kWidth, kHeight);
        size_t litBytes = 0;
        for (size_t i = 0; i < all.size(); i += 4)
            litBytes += all[i] != 0 || all[i + 1] != 0 || all[i + 2] != 0;
        EXPECT_EQ(litBytes, 0u) << running;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(DrawLoop, ClipBoxesThroughTheCurrentMatrix)
{
    shapes::List list{shapes::rect(0, 0, 5, 5),
                      shapes::group({shapes::rect(20, 30, 60, 50), shapes::scissor(0, 0, 1, 1),
                                     shapes::group({shapes::rect(0, 0, 10, 10), shapes::scissor(0, 0, 1, 1)})})};
    list.head->clip = 1;
    glTranslatef(10, 5, 0);
    glScalef(2, 2, 1);
    EXPECT_EQ(vdiFindScissor_New(list.head, 0, 0, 0, 0, 1), 0);
    ELEMENT_STRUCT* g = list.head->next;
    EXPECT_EQ(list.head->clip, 0);
    ASSERT_EQ(g->clip, 1);
    // The group's box (0, 0)-(60, 50) scaled by 2 and moved by (10, 5).
    EXPECT_EQ(g->clipBoxX, 10);
    EXPECT_EQ(g->clipBoxY, 5);
    EXPECT_EQ(g->clipBoxWidth, 120);
    EXPECT_EQ(g->clipBoxHeight, 100);
    const ELEMENT_STRUCT* inner = g->children->next->next;
    EXPECT_EQ(inner->clip, 1);
    EXPECT_EQ(inner->clipBoxWidth, 20);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[12], 10); // the matrix is left as it was
}

} // namespace
