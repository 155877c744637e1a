// Polygon elements: the fill cut at a level from each side, tanks filled by
// actions 18-21 and read back, concave and self-crossing fills, paths of
// action 11, picking, vertex edits and the display list's lifetime.
#include "actionSupport.h"
#include "dataSourceSupport.h"
#include "dorneGlTest.h"

#include <GL/gl.h>

#include <utility>
#include <vector>

namespace {

using Points = std::vector<std::pair<double, double>>;

ELEMENT_STRUCT* polygon(int kind, const Points& points)
{
    ELEMENT_STRUCT* e = elementCreate(kind);
    auto* p = static_cast<POLY_STRUCT*>(e->data);
    for (const auto& [x, y] : points) {
        COORD_STRUCT* c = createCoord();
        c->x = float(x);
        c->y = float(y);
        appendCoord(&p->coords, c);
    }
    e->update(e);
    return e;
}

POLY_STRUCT* record(ELEMENT_STRUCT* e)
{
    return static_cast<POLY_STRUCT*>(e->data);
}

Points fillPoints(ELEMENT_STRUCT* e)
{
    Points points;
    for (const COORD_STRUCT* c = record(e)->fillCoords; c != nullptr; c = c->next)
        points.emplace_back(c->localX, c->localY);
    return points;
}

class Polygon : public DorneDrawTest
{
protected:
    static bool green(int x, int y)
    {
        const auto p = pixel(x, y);
        return p[0] == 0 && p[1] == 255 && p[2] == 0;
    }

    static bool black(int x, int y)
    {
        const auto p = pixel(x, y);
        return p[0] == 0 && p[1] == 0 && p[2] == 0;
    }
};

// A square of 100 with a vertex in the middle of its right edge: local
// corners at +-50, that vertex at (50, 0).
TEST_F(Polygon, FillCutFromEverySide)
{
    ELEMENT_STRUCT* e = polygon(VD_CPOLYGON, {{0, 0}, {0, 100}, {100, 100}, {100, 50}, {100, 0}});
    struct Case
    {
        int (*cut)(ELEMENT_STRUCT*);
        float level;
        Points want;
    };
    const Case cases[] = {
        // Level 0 keeps what lies on the bottom line (crossings meet there).
        {polyCreateFillCoordUp, 0, {{-50, -50}, {-50, -50}, {50, -50}, {50, -50}}},
        {polyCreateFillCoordUp, 1, {{-50, -50}, {-50, 50}, {50, 50}, {50, 0}, {50, -50}}},
        // The vertex on the level line is kept; its neighbour's crossing
        // meets it there.
        {polyCreateFillCoordUp, 0.5f, {{-50, -50}, {-50, 0}, {50, 0}, {50, 0}, {50, -50}}},
        {polyCreateFillCoordDown, 0.5f, {{-50, 0}, {-50, 50}, {50, 50}, {50, 0}, {50, 0}}},
        {polyCreateFillCoordRight, 0.25f, {{-50, -50}, {-50, 50}, {-25, 50}, {-25, -50}}},
        {polyCreateFillCoordLeft, 0.25f, {{25, -50}, {25, 50}, {50, 50}, {50, 0}, {50, -50}}},
    };
    for (const Case& c : cases) {
        record(e)->fillLevel = c.level;
        EXPECT_EQ(c.cut(e), 0);
        const Points got = fillPoints(e);
        ASSERT_EQ(got.size(), c.want.size()) << c.level;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_NEAR(got[i].first, c.want[i].first, 1e-9) << c.level << " vertex " << i;
            EXPECT_NEAR(got[i].second, c.want[i].second, 1e-9) << c.level << " vertex " << i;
        }
    }
    // A geometry rebuild drops the cut.
    e->update(e);
    EXPECT_EQ(record(e)->fillCoords, nullptr);
    EXPECT_EQ(polyCreateFillCoordUp(nullptr), -1);
    elementDelete(e, &e);
}

TEST_F(Polygon, TankFilledByItsLevelAction)
{
    support::ActionView view;
    DD_VAR_STRUCT* level = support::ActionView::variable(view.source(), "level", DD_FLOAT);
    ELEMENT_STRUCT* tank = polygon(VD_CPOLYGON, {{40, 40}, {40, 200}, {120, 200}, {120, 40}});
    record(tank)->fill = 1;
    record(tank)->outline = 0;
    tank->update(tank);
    elementAppend(tank, &view.elements);
    support::addAction(tank, 18, "level", 0, 100, 0, 1); // percent to 0..1
    ASSERT_EQ(view.bind(), 0);
    resetAllPoly(view.elements);
    EXPECT_EQ(record(tank)->fillLevel, -1.0f);

    *static_cast<float*>(level->value) = 50;
    draw(view.elements, 1);
    EXPECT_EQ(record(tank)->fillLevel, 0.5f);
    EXPECT_TRUE(green(80, 45) && green(80, 115)) << "the lower half";
    EXPECT_TRUE(black(80, 125) && black(80, 195)) << "the upper half";

    // A move below one unit of the 160-unit box keeps the cut and its list.
    const COORD_STRUCT* cut = record(tank)->fillCoords;
    const GLuint list = record(tank)->glList;
    *static_cast<float*>(level->value) = 50.5f;
    draw(view.elements, 1);
    EXPECT_EQ(record(tank)->fillLevel, 0.5f);
    EXPECT_TRUE(record(tank)->fillCoords == cut && record(tank)->glList == list);

    // Beyond 100 % it is full; in edit mode the last cut stays.
    *static_cast<float*>(level->value) = 250;
    clear(0, 0, 0, 1);
    draw(view.elements, 1);
    EXPECT_EQ(record(tank)->fillLevel, 1.0f);
    EXPECT_TRUE(green(80, 195));

    // The other sides: hanging from the top, growing from the right and
    // from the left.
    struct Side
    {
        int type;
        float value;
        int filled[2], empty[2];
    };
    const Side sides[] = {{19, 25, {80, 195}, {80, 150}}, {20, 50, {110, 100}, {50, 100}},
                          {21, 50, {50, 100}, {110, 100}}};
    for (const Side& side : sides) {
        view.elements->actions->type = side.type;
        *static_cast<float*>(level->value) = side.value;
        resetAllPoly(view.elements);
        clear(0, 0, 0, 1);
        draw(view.elements, 1);
        EXPECT_TRUE(green(side.filled[0], side.filled[1]) && black(side.empty[0], side.empty[1])) << side.type;
    }
    // Fill levels act on closed polygons only. After a start the first
    // level cuts, also where the box is less than a unit high.
    ELEMENT_STRUCT* open = polygon(VD_POLYGON, {{0, 0}, {0, 10}, {10, 10}});
    ELEMENT_STRUCT* flat = polygon(VD_CPOLYGON, {{0, 0}, {0, 0.5}, {10, 0.5}, {10, 0}});
    elementAppend(open, &view.elements);
    elementAppend(flat, &view.elements);
    support::addAction(open, 19, "level");
    support::addAction(flat, 18, "level", 0, 100, 0, 1);
    ASSERT_EQ(view.bind(), 0);
    resetAllPoly(view.elements);
    *static_cast<float*>(level->value) = 30;
    draw(view.elements, 1);
    EXPECT_EQ(record(open)->fillCoords, nullptr);
    EXPECT_NEAR(record(flat)->fillLevel, 0.3f, 1e-6);
    EXPECT_NE(record(flat)->fillCoords, nullptr);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Polygon, ConcaveFillLeavesTheNotchAndACrossedOutlineIsNotFilled)
{
    // A U: two arms joined at the bottom; the notch between them is outside.
    ELEMENT_STRUCT* u = polygon(VD_CPOLYGON, {{20, 20}, {20, 200}, {80, 200}, {80, 80}, {160, 80}, {160, 200},
                                              {220, 200}, {220, 20}});
    record(u)->fill = 1;
    record(u)->outline = 0;
    u->update(u);
    draw(u);
    EXPECT_TRUE(green(50, 150) && green(190, 150) && green(120, 50));
    EXPECT_TRUE(black(120, 150) && black(120, 195)) << "the notch";
    EXPECT_EQ(pickPoly(u, 50, 150), 1);
    EXPECT_EQ(pickPoly(u, 120, 150), 0);
    EXPECT_EQ(pickPoly(u, 240, 50), 0);

    // A bow tie needs a new vertex where its edges cross: no fill, the
    // outline still drawn, nothing broken.
    support::LogCapture log;
    ELEMENT_STRUCT* bow = polygon(VD_CPOLYGON, {{20, 20}, {200, 200}, {200, 20}, {20, 200}});
    EXPECT_NE(log.take().find("polyMakeList: "), std::string::npos);
    record(bow)->fill = 1;
    clear(0, 0, 0, 1);
    draw(bow);
    EXPECT_TRUE(black(190, 110)) << "inside a triangle of the bow tie";
    const auto line = pixel(199, 110);
    EXPECT_TRUE(line[0] == 255 && line[1] == 255 && line[2] == 255) << "the outline";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    elementDelete(u, &u);
    elementDelete(bow, &bow);
}

TEST_F(Polygon, PathsMoveElementsAlongOpenPolygons)
{
    support::ActionView view;
    DD_VAR_STRUCT* along = support::ActionView::variable(view.source(), "along", DD_DOUBLE);
    ELEMENT_STRUCT* group = view.element(VD_GROUP);
    // The closed polygon of the same name is no path; the group's child is
    // found before the later open one.
    ELEMENT_STRUCT* closed = polygon(VD_CPOLYGON, {{0, 0}, {5, 5}});
    ELEMENT_STRUCT* path = polygon(VD_POLYGON, {{0, 0}, {100, 0}, {100, 100}});
    ELEMENT_STRUCT* later = polygon(VD_POLYGON, {{0, 0}, {9, 9}});
    ELEMENT_STRUCT* dot = polygon(VD_POLYGON, {{7, 7}});
    for (ELEMENT_STRUCT* e : {closed, path, later, dot})
        std::snprintf(e->name, sizeof e->name, "%s", e == dot ? "dot" : "track");
    elementAppend(closed, &view.elements);
    elementAppend(path, &group->children);
    elementAppend(later, &view.elements);
    elementAppend(dot, &view.elements);
    EXPECT_EQ(getPolyByName(view.elements, "track"), path);
    EXPECT_EQ(getPolyByName(view.elements, "none"), nullptr);

    ELEMENT_STRUCT* mover = view.element(VD_RECTANGLE);
    mover->x = 30;
    mover->y = 40;
    ACTION_STRUCT* move = support::addAction(mover, 11, "along");
    std::snprintf(move->polyName, sizeof move->polyName, "track");
    ACTION_STRUCT* lost = support::addAction(view.element(VD_RECTANGLE), 11, "along");
    std::snprintf(lost->polyName, sizeof lost->polyName, "gone");
    ASSERT_EQ(view.bind(), 0);
    support::LogCapture log;
    EXPECT_EQ(assignMovePoly(view.elements), 0);
    EXPECT_EQ(log.take(), "Polygon gone not found !\n");
    EXPECT_EQ(move->polyElement, path);
    EXPECT_FLOAT_EQ(record(path)->pathLength, 200);

    // Fractions along the 200 units, clamped at both ends.
    const float want[][3] = {{0, 0, 0}, {0.25f, 50, 0}, {0.5f, 100, 0}, {0.75f, 100, 50}, {1, 100, 100},
                             {1.5f, 100, 100}, {-1, 0, 0}};
    for (const auto& w : want) {
        float x = -1, y = -1;
        EXPECT_EQ(getMovePolyCoord(w[0], path, &x, &y), 0);
        EXPECT_TRUE(x == w[1] && y == w[2]) << w[0] << ": " << x << ", " << y;
    }
    // Through the action: the element moves onto the point.
    *static_cast<double*>(along->value) = 0.75;
    doAction(mover, 0);
    EXPECT_FLOAT_EQ(mover->pickTransform[2], 100 - 30);
    EXPECT_FLOAT_EQ(mover->pickTransform[5], 50 - 40);

    // One vertex: the point stays; not an open polygon: -1.
    calcPolyLength(dot);
    float x = 3, y = 4;
    EXPECT_EQ(getMovePolyCoord(0.5, dot, &x, &y), 0);
    EXPECT_TRUE(x == 3 && y == 4);
    EXPECT_EQ(getMovePolyCoord(0.5, closed, &x, &y), -1);
    EXPECT_EQ(getMovePolyCoord(0.5, nullptr, &x, &y), -1);
}

TEST_F(Polygon, HandlesEditsAndTheDisplayList)
{
    ELEMENT_STRUCT* e = polygon(VD_POLYGON, {{10, 10}, {50, 90}, {90, 10}});
    const uint32_t first = record(e)->coords->id;
    // Vertex handles first, then 1-8 and the centre (no box record).
    const STICKY_STRUCT* s = e->stickies;
    for (uint32_t i = 0; i < 3; ++i, s = s->next)
        EXPECT_TRUE(s->id == first + i + 100 && s->halfWidth == 2) << i;
    for (uint32_t id = 1; id <= 9; ++id, s = s->next)
        EXPECT_TRUE(s != nullptr && s->id == id && s->type == (id == 9 ? 3 : 1)) << id;
    EXPECT_EQ(s, nullptr);
    EXPECT_TRUE(e->x == 50 && e->y == 50 && e->width == 80 && e->height == 80);
    // An open polygon is picked by its area.
    EXPECT_EQ(pickPoly(e, 50, 30), 1);
    EXPECT_EQ(pickPoly(e, 20, 80), 0);

    // Dragging the apex rebuilds box, local coordinates and the list.
    const GLuint list = record(e)->glList;
    EXPECT_EQ(glIsList(list), GL_TRUE);
    EDIT_PARA_STRUCT p{};
    p.x = 50;
    p.y = 170;
    editPoly(e, e->stickies, int(first + 1 + 100), 3, &p);
    EXPECT_TRUE(e->y == 90 && e->height == 160);
    EXPECT_EQ(record(e)->coords->next->localY, 80);
    // Moving the centre moves every vertex.
    p.x = 60;
    p.y = 100;
    editPoly(e, e->stickies, 9, 3, &p);
    EXPECT_TRUE(record(e)->coords->x == 20 && record(e)->coords->y == 20);
    EXPECT_EQ(e->editBackup, nullptr);
    // A width below 1 switches the outline off.
    p.value = 0.5f;
    editPoly(e, e->stickies, 20, 3, &p);
    EXPECT_EQ(record(e)->outline, 0);

    const GLuint current = record(e)->glList;
    EXPECT_EQ(glIsList(current), GL_TRUE);
    elementDelete(e, &e);
    EXPECT_EQ(glIsList(current), GL_FALSE) << "the element's display list goes with it";
    EXPECT_EQ(glIsList(list), GL_FALSE);
}

} // namespace
