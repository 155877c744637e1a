// Editing geometry of the element model: the grab-handle hit test, every
// command of resizeMoveElement with the shift and control flags, and the
// point, segment and outline tests.
#include "dorneElements.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

STICKY_STRUCT* handle(STICKY_STRUCT** list, uint32_t id, uint8_t type, float x, float y, float half)
{
    STICKY_STRUCT* s = createSticky();
    s->id = id;
    s->type = type;
    s->x = x;
    s->y = y;
    s->halfWidth = s->halfHeight = half;
    appendSticky(list, s);
    return s;
}

TEST(EditGeometry, HandleHits)
{
    STICKY_STRUCT* list = nullptr;
    handle(&list, 0, 0, 0, 0, 40);  // box record: never picked
    STICKY_STRUCT* a = handle(&list, 1, 1, 10, 10, 4);
    handle(&list, 2, 2, 12, 10, 40); // box record of a line
    STICKY_STRUCT* c = handle(&list, 9, 3, 12, 10, 4);
    STICKY_STRUCT* d = handle(&list, 7, 4, 100, 100, 4);
    EXPECT_EQ(getSticky(list, 9), c);
    EXPECT_EQ(getSticky(list, 3), nullptr);

    EXPECT_EQ(findSticky(list, 0, 0, 1), 0);
    EXPECT_EQ(findSticky(list, 11, 10, 1), 1);
    EXPECT_EQ(a->selected, 1);
    c->selected = 1;
    EXPECT_EQ(findSticky(list, 14.5f, 10, 1), 9) << "the first hit wins, earlier ones are unselected";
    EXPECT_TRUE(a->selected == 0 && c->selected == 1);
    d->selected = 1;
    EXPECT_EQ(findSticky(list, 14, 10, 1), 9) << "on a's border: no hit there";
    EXPECT_EQ(d->selected, 1) << "handles after the hit are not touched";
    EXPECT_EQ(findSticky(list, 16, 10, 1), 0) << "on c's border";
    EXPECT_EQ(findSticky(list, 7.5f, 10, 2), 0) << "zoom 2 halves the hit box";
    EXPECT_EQ(findSticky(list, 8.5f, 10, 2), 1);
    EXPECT_EQ(findSticky(list, 103.9f, 96.1f, 1), 7);
    EXPECT_TRUE(a->selected == 0 && c->selected == 0 && d->selected == 1);
    while (list != nullptr)
        delSticky(&list, list);
    EXPECT_EQ(delSticky(nullptr, nullptr), -1);
}

TEST(EditGeometry, EveryResizeAndMoveCommand)
{
    // Handles saved for the box (10, 20) - (50, 60), centre (30, 40).
    ELEMENT_STRUCT* e = elementCreate(VD_RECTANGLE);
    const float hx[10] = {10, 10, 30, 50, 50, 50, 30, 10, 10, 30};
    const float hy[10] = {20, 60, 60, 60, 40, 20, 20, 20, 40, 40};
    for (int i = 0; i < 10; ++i) {
        e->savedHandles[i].x = hx[i];
        e->savedHandles[i].y = hy[i];
    }
    const float keep = -999; // a result that is not written keeps this
    struct Row
    {
        int command, shift, ctrl;
        float p1, p2, x, y, rx, ry;
    };
    const Row rows[] = {
        {1, 0, 0, 0, 80, 10, 60, 0, 80},        // corner against the opposite corner
        {1, 0, 0, 0, 80, 30, 40, 25, 50},
        {1, 0, 1, 0, 80, 10, 60, -10, 80},      // control: the larger factor for both
        {1, 0, 1, 90, 50, 10, 60, 90, -20},     // ... sign included
        {1, 1, 0, 0, 80, 10, 60, 0, 80},        // shift: about the centre
        {3, 0, 0, 70, 60, 50, 60, 70, 60},
        {7, 0, 0, 0, 0, 10, 20, 0, 0},
        {5, 0, 0, 10, 60, 50, 20, keep, keep},  // onto the anchor: ignored
        {2, 0, 0, 999, 80, 10, 60, 10, 80},     // edges scale one axis
        {6, 0, 0, 0, 60, 10, 20, keep, keep},
        {4, 0, 0, 70, 0, 50, 20, 70, 20},
        {8, 1, 0, 0, 0, 10, 20, 0, 20},
        {9, 0, 0, 35, 45, 10, 20, 15, 25},      // move the centre to (35, 45)
        {9, 1, 1, 35, 45, 10, 20, 15, 25},
        {10, 0, 0, 80, 0, 10, 20, -10, 20},     // width 80
        {11, 0, 0, 0, 20, 10, 20, 10, 30},      // height 20
        {12, 0, 0, 3, 0, 10, 20, -30, 20},
        {12, 0, 0, 0.0005f, 0, 10, 20, keep, keep},
        {13, 0, 0, 0, -1, 10, 20, 10, 60},
        {14, 0, 0, 0, 0, 10, 20, 50, 20},       // mirror about the centre
        {15, 0, 0, 0, 0, 10, 20, 10, 60},
        {16, 0, 0, 90, 0, 50, 40, 30, 60},      // counter-clockwise
        {16, 0, 0, -90, 0, 50, 40, 30, 20},
        {0, 0, 0, 1, 1, 10, 20, keep, keep},
        {17, 0, 0, 1, 1, 10, 20, keep, keep},
    };
    for (const Row& row : rows) {
        setShift(row.shift);
        setCtrl(row.ctrl);
        float rx = keep, ry = keep;
        SCOPED_TRACE(testing::Message() << "command " << row.command << " shift " << row.shift << " ctrl "
                                        << row.ctrl << " p " << row.p1 << "," << row.p2);
        EXPECT_EQ(resizeMoveElement(e, row.command, &rx, &ry, row.p1, row.p2, row.x, row.y), 0);
        EXPECT_NEAR(rx, row.rx, 1e-4);
        EXPECT_NEAR(ry, row.ry, 1e-4);
    }
    setShift(0);
    setCtrl(0);

    // A box without width or height keeps the point's scale at 1.
    e->savedHandles[4].x = e->savedHandles[8].x;
    float rx = keep, ry = keep;
    resizeMoveElement(e, 10, &rx, &ry, 80, 0, 10, 20);
    EXPECT_TRUE(rx == 10 && ry == 20);
    EXPECT_EQ(resizeMoveElement(nullptr, 9, &rx, &ry, 0, 0, 0, 0), -1);
    EXPECT_EQ(resizeMoveElement(e, 9, nullptr, &ry, 0, 0, 0, 0), -1);
    elementDelete(e, &e);
}

TEST(EditGeometry, PointsSegmentsAndOutlines)
{
    EXPECT_EQ(pointInRect(5, 5, 10, 10, 0, 0), 1) << "corners in any order";
    EXPECT_EQ(pointInRect(10, 0, 0, 10, 10, 0), 1) << "border included";
    EXPECT_EQ(pointInRect(10.01f, 5, 0, 0, 10, 10), 0);
    EXPECT_EQ(pointInRect(5, -0.01f, 0, 0, 10, 10), 0);

    struct Row
    {
        float s[8];
        int cross;
    };
    const Row rows[] = {
        {{0, 0, 10, 10, 0, 10, 10, 0}, 1},   // an X
        {{0, 0, 10, 0, 10, 0, 10, 5}, 1},    // touching at the ends
        {{0, 0, 10, 0, 10.1f, -1, 10.1f, 5}, 0},
        {{0, 0, 0, 10, -5, 5, 5, 5}, 1},     // vertical first segment
        {{0, 0, 0, 10, 1, 5, 5, 5}, 0},
        {{0, 0, 10, 0, 0, 1, 10, 1}, 0},     // parallel
        {{0, 0, 10, 0, 2, 0, 8, 0}, 0},      // collinear counts as parallel
        {{3, 3, 3, 3, 0, 0, 10, 10}, 0},     // a segment without length
    };
    for (const Row& r : rows) {
        const float* s = r.s;
        SCOPED_TRACE(testing::Message() << s[0] << "," << s[1] << " " << s[2] << "," << s[3] << " x " << s[4]
                                        << "," << s[5] << " " << s[6] << "," << s[7]);
        EXPECT_EQ(lineCross(s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7]), r.cross);
        double x = -1, y = -1;
        EXPECT_EQ(VLineCross2(&x, &y, s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7]), r.cross);
    }
    double x = 0, y = 0;
    EXPECT_EQ(VLineCross2(&x, &y, 0, 0, 1, 1, 10, 0, 11, -1), 0) << "the lines meet outside both segments";
    EXPECT_DOUBLE_EQ(x, 5);
    EXPECT_DOUBLE_EQ(y, 5);
    EXPECT_EQ(VLineCross2(nullptr, nullptr, 0, 0, 2, 2, 0, 2, 2, 0), 1);

    // The closing edge is not tested: an outline repeats its first point.
    const float ox[5] = {10, 10, 20, 20, 10};
    const float oy[5] = {20, 10, 10, 20, 20};
    EXPECT_EQ(pointInPolygon(ox, oy, 5, 15, 15), 1);
    EXPECT_EQ(pointInPolygon(ox, oy, 4, 15, 15), 0) << "the top edge closes the outline";
    EXPECT_EQ(pointInPolygon(ox, oy, 5, 25, 15), 0);
    EXPECT_EQ(pointInPolygon(ox, oy, 5, 15, 5), 0);
    // Concave: a U whose notch is outside.
    const float ux[9] = {0, 30, 30, 20, 20, 10, 10, 0, 0};
    const float uy[9] = {0, 0, 30, 30, 10, 10, 30, 30, 0};
    EXPECT_EQ(pointInPolygon(ux, uy, 9, 5, 20), 1);
    EXPECT_EQ(pointInPolygon(ux, uy, 9, 15, 20), 0);
    EXPECT_EQ(pointInPolygon(ux, uy, 9, 15, 5), 1);
    EXPECT_EQ(pointInPolygon(nullptr, uy, 9, 15, 5), 0);
    EXPECT_EQ(pointInPolygon(ux, uy, 1, 15, 5), 0);
}

} // namespace
