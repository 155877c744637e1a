// Line, circle, arc, rectangle, group and scissor elements without drawing:
// grab handles and boxes, relative geometry, edit commands, angle handles,
// picking, and group geometry with edits handed to the children.
#include "shapeSupport.h"

#include "dorneGl.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>

namespace {

const float pi = float(M_PI);

struct Handle
{
    int type;
    float x, y;
};

// Handles by id, in list order.
std::map<int, Handle> handles(const ELEMENT_STRUCT* e)
{
    std::map<int, Handle> byId;
    for (const STICKY_STRUCT* s = e->stickies; s != nullptr; s = s->next)
        byId.emplace(int(s->id), Handle{s->type, s->x, s->y});
    return byId;
}

void expectBox(const ELEMENT_STRUCT* e, float minX, float minY, float maxX, float maxY)
{
    EXPECT_FLOAT_EQ(e->minX, minX);
    EXPECT_FLOAT_EQ(e->minY, minY);
    EXPECT_FLOAT_EQ(e->maxX, maxX);
    EXPECT_FLOAT_EQ(e->maxY, maxY);
    EXPECT_FLOAT_EQ(e->width, maxX - minX);
    EXPECT_FLOAT_EQ(e->height, maxY - minY);
}

EDIT_PARA_STRUCT para(float x = 0, float y = 0, int intValue = 0, float value = 0, float r = 0, float g = 0,
                      float b = 0)
{
    EDIT_PARA_STRUCT p{};
    p.x = x, p.y = y, p.intValue = intValue, p.value = value, p.r = r, p.g = g, p.b = b;
    return p;
}

TEST(Shapes, LineHandlesLocalEndsAndEndDrags)
{
    shapes::List list{shapes::line(10, 10, 0, 0)};
    ELEMENT_STRUCT* e = list.head;
    auto* l = static_cast<LINE_STRUCT*>(e->data);
    expectBox(e, 0, 0, 10, 10);
    EXPECT_FLOAT_EQ(e->x, 5);
    EXPECT_FLOAT_EQ(e->centreY, 5);
    EXPECT_FLOAT_EQ(l->localX1, 5);
    EXPECT_FLOAT_EQ(l->localY1, 5);
    EXPECT_FLOAT_EQ(l->localX2, -5);
    EXPECT_FLOAT_EQ(l->localY2, -5);
    EXPECT_EQ(e->pickAsLine, 1);
    EXPECT_FLOAT_EQ(e->pickX1, 10);
    EXPECT_FLOAT_EQ(e->pickY2, 0);
    auto h = handles(e);
    ASSERT_EQ(h.size(), 4u);
    EXPECT_EQ(h[100].type, 1);
    EXPECT_FLOAT_EQ(h[100].x, 10);
    EXPECT_FLOAT_EQ(h[101].y, 0);
    EXPECT_EQ(h[9].type, 3);
    EXPECT_FLOAT_EQ(h[9].x, 5);
    EXPECT_EQ(h[0].type, 2); // the box record holds both ends

    // An end dragged in phase 1 moves and the handles follow; phase 0 does not.
    EDIT_PARA_STRUCT p = para(20, 4);
    editLine(e, e->stickies, 101, 0, &p);
    EXPECT_FLOAT_EQ(l->x2, 0);
    editLine(e, e->stickies, 101, 1, &p);
    EXPECT_FLOAT_EQ(l->x2, 20);
    EXPECT_FLOAT_EQ(handles(e)[101].x, 20);
    expectBox(e, 10, 4, 20, 10);

    // A move (phase 3) keeps the shape; the colour and width commands reach
    // the attribute block through the reset.
    p = para(0, 0);
    editLine(e, e->stickies, 9, 3, &p);
    EXPECT_FLOAT_EQ(l->x1, -5);
    EXPECT_FLOAT_EQ(l->y2, -3);
    p = para(0, 0, 0, 0, 0.25f, 0.5f, 0.75f);
    editLine(e, e->stickies, 23, 0, &p);
    p = para(0, 0, 0, 3.7f, 0.5f);
    editLine(e, e->stickies, 20, 0, &p);
    editLine(e, e->stickies, 26, 0, &p);
    p = para(0, 0, 3);
    editLine(e, e->stickies, 21, 0, &p);
    EXPECT_FLOAT_EQ(e->attr.lineColor[1], 0.5f);
    EXPECT_FLOAT_EQ(e->attr.lineColor[3], 0.5f);
    EXPECT_EQ(e->attr.lineWidth, 3);
    EXPECT_EQ(e->attr.lineStyle, 3);
    EXPECT_EQ(e->attr.stipplePattern, 0xF0F0);
    EXPECT_FLOAT_EQ(e->attr.fillColor[3], 0.0f);
    EXPECT_EQ(editLine(nullptr, nullptr, 9, 3, &p), -1);
}

TEST(Shapes, RectangleHandlesOutlineSwitchAndCentredScaling)
{
    shapes::List list{shapes::rect(10, 20, 50, 80)};
    ELEMENT_STRUCT* e = list.head;
    auto* r = static_cast<RECT_STRUCT*>(e->data);
    expectBox(e, 10, 20, 50, 80);
    const struct
    {
        int id;
        float x, y;
    } expected[] = {{1, 10, 80}, {2, 30, 80}, {3, 50, 80}, {4, 50, 50}, {5, 50, 20},
                    {6, 30, 20}, {7, 10, 20}, {8, 10, 50}, {9, 30, 50}, {0, 10, 20}};
    int i = 0;
    for (const STICKY_STRUCT* s = e->stickies; s != nullptr; s = s->next, ++i) {
        ASSERT_LT(i, 10);
        EXPECT_EQ(int(s->id), expected[i].id) << i;
        EXPECT_FLOAT_EQ(s->x, expected[i].x) << i;
        EXPECT_FLOAT_EQ(s->y, expected[i].y) << i;
    }
    EXPECT_EQ(i, 10);
    EXPECT_FLOAT_EQ(r->relX[0], -20);
    EXPECT_FLOAT_EQ(r->relY[2], 30);

    // Width 0.5 switches the outline off, 1.0 on again.
    EDIT_PARA_STRUCT p = para(0, 0, 0, 0.5f);
    editRect(e, e->stickies, 20, 0, &p);
    EXPECT_EQ(r->outline, 0);
    EXPECT_EQ(e->attr.lineWidth, 0);
    p.value = 1.0f;
    editRect(e, e->stickies, 20, 0, &p);
    EXPECT_EQ(r->outline, 1);

    // Corner 3 dragged with shift scales all corners about the centre and
    // keeps their order.
    setShift(1);
    p = para(70, 110);
    editRect(e, e->stickies, 3, 3, &p);
    setShift(0);
    const float xs[4] = {-10, -10, 70, 70}, ys[4] = {-10, 110, 110, -10};
    for (int c = 0; c < 4; ++c) {
        EXPECT_FLOAT_EQ(r->x[c], xs[c]) << c;
        EXPECT_FLOAT_EQ(r->y[c], ys[c]) << c;
    }
    EXPECT_EQ(e->editBackup, nullptr);

    // Style commands, table-driven: what each writes into the record.
    const struct
    {
        int command, intValue;
        float r, g, b;
        int fill, outline, pattern;
        float fillA, lineA;
    } rows[] = {
        {22, 0, 0.1f, 0.2f, 0.3f, 0, 1, 0, 1, 1}, {23, 0, 0.4f, 0.5f, 0.6f, 0, 0, 0, 1, 1},
        {25, 0, 0.7f, 0, 0, 0, 0, 0, 0.7f, 1},    {26, 0, 0.8f, 0, 0, 0, 0, 0, 0.7f, 0.8f},
        {47, 5, 0, 0, 0, 0, 0, 5, 0.7f, 0.8f},    {50, 9, 0, 0, 0, 0, 0, 5, 0.7f, 0.8f},
    };
    for (const auto& row : rows) {
        p = para(0, 0, row.intValue, 0, row.r, row.g, row.b);
        editRect(e, e->stickies, row.command, 0, &p);
        EXPECT_EQ(r->fill, row.fill) << row.command;
        EXPECT_EQ(r->outline, row.outline) << row.command;
        EXPECT_EQ(r->pattern, row.pattern) << row.command;
        EXPECT_FLOAT_EQ(r->fillA, row.fillA) << row.command;
        EXPECT_FLOAT_EQ(r->lineA, row.lineA) << row.command;
    }
    EXPECT_FLOAT_EQ(r->fillB, 0.3f);
    EXPECT_FLOAT_EQ(e->attr.lineColor[2], 0.6f);
    EXPECT_EQ(0, memcmp(r->patternBits, getPattern(5), sizeof r->patternBits));
}

TEST(Shapes, ArcBoxHandlesAnglesAndMatrixEdits)
{
    shapes::List list{shapes::curve(VD_ARC, 100, 200, 40, 20)};
    ELEMENT_STRUCT* e = list.head;
    auto* c = static_cast<CIRCLE_STRUCT*>(e->data);
    // pi to 2 pi clockwise is the upper half; the box holds the centre.
    EXPECT_NEAR(c->localMinX, -40, 1e-4);
    EXPECT_NEAR(c->localMaxX, 40, 1e-4);
    EXPECT_NEAR(c->localMinY, 0, 1e-4);
    EXPECT_NEAR(c->localMaxY, 20, 1e-4);
    EXPECT_FLOAT_EQ(e->x, 100);
    EXPECT_FLOAT_EQ(e->y, 200); // the centre, not the box centre
    auto h = handles(e);
    EXPECT_NEAR(h[5].y, 200, 1e-4);
    EXPECT_NEAR(h[50].x, 60, 1e-4);
    EXPECT_NEAR(h[51].x, 140, 1e-4);
    EXPECT_FLOAT_EQ(h[2].x, 100); // edge handles on the centre lines
    EXPECT_NEAR(h[2].y, 220, 1e-4);
    EXPECT_EQ(e->stickies->halfWidth, 2.0f);
    EXPECT_EQ(int(e->stickies->id), 50);
    EXPECT_FLOAT_EQ(e->attr.arcEnd, 2 * pi);

    // Start from a point straight above: 3 pi / 2; with end pi it wraps.
    EDIT_PARA_STRUCT p = para(100, 260);
    editCircle(e, e->stickies, 50, 1, &p);
    EXPECT_NEAR(c->start, 3 * pi / 2, 1e-5);
    c->end = pi;
    editCircle(e, e->stickies, 50, 1, &p);
    EXPECT_NEAR(c->start, -pi / 2, 1e-5);
    p = para(100, 150); // below: pi / 2
    editCircle(e, e->stickies, 51, 1, &p);
    EXPECT_NEAR(c->end, pi / 2, 1e-5);
    EXPECT_NEAR(handles(e)[51].y, 180, 1e-3);
    EXPECT_FLOAT_EQ(e->attr.arcEnd, c->end);

    // A singular matrix leaves the angles alone.
    const float start = c->start;
    c->matrix[0] = c->matrix[3] = 0;
    editCircle(e, e->stickies, 50, 1, &p);
    EXPECT_FLOAT_EQ(c->start, start);
    c->matrix[0] = c->matrix[3] = 1;

    // Scaling x by 2 doubles the matrix's first row; a turn of 90 degrees
    // turns the matrix counter-clockwise.
    c->start = 0;
    c->end = 2 * pi;
    e->update(e);
    p = para(2, 1);
    editCircle(e, e->stickies, 12, 3, &p);
    EXPECT_FLOAT_EQ(c->matrix[0], 2);
    EXPECT_FLOAT_EQ(c->matrix[3], 1);
    EXPECT_NEAR(e->width, 160, 1e-3);
    p = para(90, 0);
    editCircle(e, e->stickies, 16, 3, &p);
    EXPECT_NEAR(c->matrix[0], 0, 1e-5);
    EXPECT_NEAR(c->matrix[1], -1, 1e-5);
    EXPECT_NEAR(c->matrix[2], 2, 1e-5);
    EXPECT_NEAR(e->height, 160, 1e-3);
    // Mirroring negates the row.
    p = para();
    editCircle(e, e->stickies, 14, 3, &p);
    EXPECT_NEAR(c->matrix[1], 1, 1e-5);
}

TEST(Shapes, CirclePickAndCurveBounds)
{
    shapes::List list{shapes::curve(VD_CIRCLE, 0, 0, 10, 10)};
    ELEMENT_STRUCT* e = list.head;
    EXPECT_EQ(e->pick, pickCircle);
    EXPECT_EQ(pickCircle(e, 7, 7), 1);
    EXPECT_EQ(pickCircle(e, 8, 7), 0);
    EXPECT_EQ(pickCircle(e, 0, -9.9f), 1);
    static_cast<CIRCLE_STRUCT*>(e->data)->matrix[3] = 0;
    EXPECT_EQ(pickCircle(e, 0, 0), 0);
    EXPECT_EQ(pickCircle(nullptr, 0, 0), 0);

    // A huge end angle samples one turn and comes back.
    auto* c = static_cast<CIRCLE_STRUCT*>(e->data);
    c->matrix[3] = 1;
    c->end = 1e30f;
    e->update(e);
    EXPECT_NEAR(e->minX, -10, 1e-4);
    EXPECT_NEAR(e->maxY, 10, 1e-4);
    c->start = -1e30f;
    c->end = NAN;
    EXPECT_EQ(e->update(e), 0);
}

TEST(Shapes, GroupGeometryFromItsChildren)
{
    shapes::List list{shapes::group({shapes::rect(10, 20, 30, 60)})};
    ELEMENT_STRUCT* g = list.head;
    ELEMENT_STRUCT* child = g->children;
    expectBox(g, 10, 20, 30, 60);
    EXPECT_FLOAT_EQ(g->x, 20);
    EXPECT_FLOAT_EQ(g->y, 40);
    EXPECT_FLOAT_EQ(child->x, 0);
    EXPECT_FLOAT_EQ(child->y, 0);
    EXPECT_EQ(int(g->stickies->id), 9);
    EXPECT_EQ(g->pickAsLine, 0);
    EXPECT_EQ(g->attr.visible, 1);

    // A move of the group moves every child by the same offset.
    ELEMENT_STRUCT* second = shapes::rect(40, 20, 50, 30);
    elementAppend(second, &g->children);
    g->update(g);
    const float relX = second->x - child->x, relY = second->y - child->y;
    EDIT_PARA_STRUCT p = para(g->x + 100, g->y - 50);
    editGroup(g, g->stickies, 9, 3, &p);
    EXPECT_FLOAT_EQ(second->minX, 140);
    EXPECT_FLOAT_EQ(second->minY, -30);
    EXPECT_FLOAT_EQ(child->minX, 110);
    EXPECT_FLOAT_EQ(second->x - child->x, relX);
    EXPECT_FLOAT_EQ(second->y - child->y, relY);
    EXPECT_FLOAT_EQ(g->x, 130);
    EXPECT_EQ(child->editBackup, nullptr);

    // A group of a horizontal line is picked as a segment; an empty one too.
    shapes::List flat{shapes::group({shapes::line(0, 5, 40, 5), shapes::line(10, 5.5f, 20, 5.5f)}),
                      shapes::group({})};
    EXPECT_EQ(flat.head->pickAsLine, 1);
    EXPECT_FLOAT_EQ(flat.head->pickX1, 0);
    EXPECT_FLOAT_EQ(flat.head->pickY1, 5);
    EXPECT_FLOAT_EQ(flat.head->pickX2, 40);
    EXPECT_FLOAT_EQ(flat.head->pickY2, 5.5f);
    expectBox(flat.head->next, 0, 0, 0, 0);
    EXPECT_EQ(flat.head->next->pickAsLine, 1);
}

TEST(Shapes, ScissorKeepsItsBlockAndRebuildsHandles)
{
    shapes::List list{shapes::scissor(0, 0, 40, 20)};
    ELEMENT_STRUCT* e = list.head;
    auto* s = static_cast<SCISSOR_STRUCT*>(e->data);
    expectBox(e, 0, 0, 40, 20);
    EXPECT_FLOAT_EQ(s->drawX[0], -20);
    EXPECT_FLOAT_EQ(s->drawY[1], 10);
    EXPECT_EQ(e->attr.visible, 0); // never reset
    e->stickies->selected = 1;
    EDIT_PARA_STRUCT p = para(1, 1, 1, 1, 1, 1, 1);
    editScissor(e, e->stickies, 22, 0, &p);
    EXPECT_EQ(e->stickies->selected, 0); // rebuilt
    EXPECT_FLOAT_EQ(s->cornerX[2], 40);
    p = para(30, 10); // the centre to (30, 10)
    editScissor(e, e->stickies, 9, 3, &p);
    EXPECT_FLOAT_EQ(s->cornerX[0], 10);
    expectBox(e, 10, 0, 50, 20);
}

} // namespace
