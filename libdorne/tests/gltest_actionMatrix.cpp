// Matrix actions read back from the model-view matrix: moves by value,
// relative and absolute, scales and rotations about every pivot, the order
// of composition, and the translations kept for picking.
#include "actionSupport.h"
#include "dataSourceSupport.h"
#include "dorneGlTest.h"

#include <GL/gl.h>

#include <array>
#include <string>

namespace {

using support::ActionView;
using support::addAction;

struct Point
{
    double x, y;
};

// Where the current model-view matrix takes the point.
Point mapped(Point p)
{
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    return {m[0] * p.x + m[4] * p.y + m[12], m[1] * p.x + m[5] * p.y + m[13]};
}

void expectMaps(Point from, Point to)
{
    const Point got = mapped(from);
    EXPECT_NEAR(got.x, to.x, 1e-3) << "from (" << from.x << ", " << from.y << ")";
    EXPECT_NEAR(got.y, to.y, 1e-3) << "from (" << from.x << ", " << from.y << ")";
}

class ActionMatrix : public DorneGlTest
{
protected:
    void SetUp() override
    {
        DorneGlTest::SetUp();
        one = ActionView::variable(view.source(), "one", DD_DOUBLE);
        element = view.element(VD_RECTANGLE);
        element->x = 100;
        element->y = 50;
        element->width = 40;
        element->height = 20;
    }

    // Binding gives the variable fresh storage: it holds 1 again after.
    void bind()
    {
        ASSERT_EQ(view.bind(), 0);
        support::setValue(one, 1.0);
    }

    // A single action of the type whose value is v, evaluated on identity.
    void evaluate(int type, double v, int pivot = 0)
    {
        while (element->actions != nullptr)
            delAction(&element->actions, element->actions);
        addAction(element, type, "one", 0, 1, 0, float(v))->pivot = pivot;
        bind();
        frame();
    }

    void frame()
    {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        ASSERT_EQ(doAction(element, 0), 0);
    }

    ActionView view;
    DD_VAR_STRUCT* one = nullptr;
    ELEMENT_STRUCT* element = nullptr;
};

TEST_F(ActionMatrix, MovesTranslateAndAreKeptForPicking)
{
    struct Row
    {
        int type;
        double v;
        double dx, dy;
    };
    const Row rows[] = {
        {1, 7, 7, 0},     {2, -7, 0, -7},    // by the value
        {7, 0.5, 20, 0},  {8, 0.5, 0, 10},   // by the value times width, height
        {9, 130, 30, 0},  {10, 80, 0, 30},   // to the value
        {3, 1, 0, 0},     {5, 30, 0, 0},     // scales and rotations are not kept
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        evaluate(row.type, row.v, 3);
        if (row.type != 3 && row.type != 5)
            expectMaps({1, 2}, {1 + row.dx, 2 + row.dy});
        frame(); // the pick translation restarts every frame
        const float identity[6] = {1, 0, float(row.dx), 0, 1, float(row.dy)};
        for (int i = 0; i < 6; ++i)
            EXPECT_FLOAT_EQ(element->pickTransform[i], identity[i]) << i;
    }
}

TEST_F(ActionMatrix, ScalesAndRotationsKeepTheirPivotInPlace)
{
    // The pivots in the element's box (40 x 20 about its centre): 0 the
    // centre, then the compass points clockwise from the top-left corner;
    // 9 leaves the origin where it is.
    const Point pivots[10] = {{0, 0},   {-20, 10}, {0, 10},  {20, 10}, {20, 0},
                              {20, -10}, {0, -10}, {-20, -10}, {-20, 0}, {0, 0}};
    for (int pivot = 0; pivot <= 9; ++pivot) {
        SCOPED_TRACE("pivot " + std::to_string(pivot));
        const Point p = pivots[pivot];
        evaluate(3, 2, pivot);
        expectMaps(p, p);
        expectMaps({p.x + 1, p.y + 1}, {p.x + 2, p.y + 1});
        evaluate(4, 3, pivot);
        expectMaps(p, p);
        expectMaps({p.x + 1, p.y + 1}, {p.x + 1, p.y + 3});
        evaluate(16, 0.5, pivot);
        expectMaps(p, p);
        expectMaps({p.x + 2, p.y - 4}, {p.x + 1, p.y - 2});
        evaluate(5, 90, pivot); // clockwise: up turns right, right turns down
        expectMaps(p, p);
        expectMaps({p.x, p.y + 1}, {p.x + 1, p.y});
        expectMaps({p.x + 1, p.y}, {p.x, p.y - 1});
    }
}

TEST_F(ActionMatrix, ActionsComposeInListOrder)
{
    ACTION_STRUCT* move = addAction(element, 1, "one", 0, 1, 0, 10);
    ACTION_STRUCT* turn = addAction(element, 5, "one", 0, 1, 0, 90);
    turn->pivot = 9;
    bind();
    frame();
    expectMaps({0, 1}, {11, 0}); // turned, then moved
    actionUp(turn, &element->actions);
    ASSERT_EQ(element->actions, turn);
    frame();
    expectMaps({0, 1}, {1, -10}); // moved, then turned
    EXPECT_FLOAT_EQ(element->pickTransform[2], 10);
    EXPECT_EQ(move->next, nullptr);
}

} // namespace
