// Line, circle, arc and rectangle elements drawn through the draw loop and
// read back: colours through the colour factor, the outline switched off by
// a thin width, segment counts of circles at both bounds, an arc's upper
// half, a line at its position, and the selection outline only in edit mode.
#include "dorneGlTest.h"
#include "shapeSupport.h"

#include <GL/gl.h>

#include <cmath>
#include <vector>

namespace {

class Shapes : public DorneDrawTest
{
protected:
    static void expectPixel(int x, int y, int r, int g, int b)
    {
        const auto p = pixel(x, y);
        EXPECT_NEAR(p[0], r, 1) << x << "," << y;
        EXPECT_NEAR(p[1], g, 1) << x << "," << y;
        EXPECT_NEAR(p[2], b, 1) << x << "," << y;
    }

    // Line segments GL would draw for the list (feedback mode).
    static int lineSegments(ELEMENT_STRUCT* list)
    {
        std::vector<GLfloat> buffer(1 << 16);
        glFeedbackBuffer(GLsizei(buffer.size()), GL_2D, buffer.data());
        glRenderMode(GL_FEEDBACK);
        draw(list);
        const GLint n = glRenderMode(GL_RENDER);
        int segments = 0;
        for (GLint i = 0; i < n;) { // every token is followed by its vertices
            const GLint token = GLint(buffer[size_t(i)]);
            if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
                ++segments;
                i += 5;
            } else if (token == GL_POLYGON_TOKEN) {
                i += 2 + 2 * GLint(buffer[size_t(i) + 1]);
            } else {
                i += 3;
            }
        }
        return segments;
    }
};

TEST_F(Shapes, RectangleFillAndOutlineThroughTheColourFactor)
{
    shapes::List list{shapes::rect(20, 20, 100, 100, {0.4f, 0.8f, 1.0f}, {1.0f, 0.2f, 0.6f})};
    vvSetColorFactor(0.5f, 1, 1, 1);
    draw(list.head);
    expectPixel(60, 60, 51, 204, 255);  // fill
    expectPixel(20, 60, 128, 51, 153);  // outline, 2 wide over the edge
    expectPixel(60, 101, 0, 0, 0);
    expectPixel(10, 10, 0, 0, 0);

    // Width 0.5 switches the outline off: the edge shows the fill.
    EDIT_PARA_STRUCT p{};
    p.value = 0.5f;
    editRect(list.head, list.head->stickies, 20, 3, &p);
    clear(0, 0, 0, 1);
    draw(list.head);
    expectPixel(20, 60, 51, 204, 255);
    expectPixel(19, 60, 0, 0, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Shapes, CircleSegmentsStayWithinEightAndOneHundred)
{
    // Radius 5: an octagon. Seen 12 units wide, the middle of an edge (at
    // 22.5 degrees) lies inside 4.8 units, a vertex (0 degrees) beyond it.
    shapes::List small{shapes::curve(VD_CIRCLE, 0, 0, 5, 5)};
    auto* c = static_cast<CIRCLE_STRUCT*>(small.head->data);
    c->outline = 0;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-6, 6, -6, 6, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    draw(small.head);
    const double unit = kWidth / 12.0, a = 22.5 * M_PI / 180;
    expectPixel(int(128 + 4.8 * unit), 128, 255, 255, 128);
    expectPixel(int(128 + 4.8 * unit * std::cos(a)), int(128 + 4.8 * unit * std::sin(a)), 0, 0, 0);

    // Outline segments of a full turn: 8 for radius 5, 100 for 300 and for
    // 3000; an arc end far beyond one turn draws one turn.
    c->outline = 1;
    c->fill = 0;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4000, 4000, -4000, 4000, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    EXPECT_EQ(lineSegments(small.head), 8);
    for (float r : {300.0f, 3000.0f}) {
        c->rx = c->ry = r;
        EXPECT_EQ(lineSegments(small.head), 100) << r;
    }
    small.head->attr.arcEnd = 1e9f;
    EXPECT_EQ(lineSegments(small.head), 100);
    small.head->attr.arcEnd = NAN;
    EXPECT_EQ(lineSegments(small.head), 1); // start to start
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Shapes, ArcDrawsTheUpperHalf)
{
    shapes::List list{shapes::curve(VD_ARC, 128, 128, 80, 80)};
    EDIT_PARA_STRUCT p{};
    p.intValue = 1;
    p.r = 1;
    editCircle(list.head, list.head->stickies, 22, 0, &p); // fill it red
    draw(list.head);
    expectPixel(128, 168, 255, 0, 0);
    expectPixel(90, 140, 255, 0, 0);
    expectPixel(128, 88, 0, 0, 0);
    expectPixel(90, 116, 0, 0, 0);
    expectPixel(128, 207, 255, 255, 255); // the outline over the top
}

TEST_F(Shapes, LineAtItsPositionAndTheSelectionOnlyInEditMode)
{
    shapes::List list{shapes::line(10.5f, 30.5f, 200.5f, 30.5f), shapes::rect(50.5f, 100.5f, 150.5f, 200.5f)};
    ACTION_STRUCT* move = createAction(); // unbound: moves by 0
    move->type = 1;
    const int before = lineCount;
    draw(list.head);
    EXPECT_EQ(lineCount, before + 1);
    expectPixel(100, 30, 128, 255, 128);
    expectPixel(100, 31, 0, 0, 0);
    appendAction(&list.head->actions, move); // now drawn on a translated matrix
    clear(0, 0, 0, 1);
    draw(list.head, 1);
    expectPixel(100, 30, 128, 255, 128);
    expectPixel(5, 30, 0, 0, 0);

    // Red dashes along the selected rectangle's edge in edit mode only.
    auto redAlongTop = [] {
        int red = 0;
        const std::vector<uint8_t> row = readPixels(50, 200, 100, 1);
        for (size_t i = 0; i < row.size(); i += 4)
            red += row[i] == 255 && row[i + 1] == 0 && row[i + 2] == 0;
        return red;
    };
    list.head->next->selected = 1;
    list.head->selected = 1;
    clear(0, 0, 0, 1);
    draw(list.head);
    EXPECT_GT(redAlongTop(), 30);
    EXPECT_LT(redAlongTop(), 70);
    const auto lineRed = pixel(16, 30); // the dashes start with 4 pixels off
    EXPECT_TRUE(lineRed[0] == 255 && lineRed[1] == 0) << "the selected line's dashes";
    clear(0, 0, 0, 1);
    draw(list.head, 1);
    EXPECT_EQ(redAlongTop(), 0);
}

TEST_F(Shapes, ActionRectTurnsByItsRotateValues)
{
    shapes::List list{shapes::rect(0, 0, 10, 10)};
    float degrees = 90;
    ACTION_STRUCT* turn = createAction();
    turn->type = 5;
    turn->value = &degrees;
    turn->valueType = DD_FLOAT;
    appendAction(&list.head->actions, turn);
    appendAction(&list.head->actions, createAction()); // type 0: no turn
    glLoadIdentity();
    EXPECT_EQ(actionRect(list.head, static_cast<RECT_STRUCT*>(list.head->data)), 0);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_NEAR(m[0], 0, 1e-6);
    EXPECT_NEAR(m[1], 1, 1e-6); // x turned onto y: counter-clockwise
    turn->value = nullptr;
    glLoadIdentity();
    actionRect(list.head, nullptr);
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[0], 1);
}

} // namespace
