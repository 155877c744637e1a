// Picking: the run-time pick that chooses the element a mouse event goes to
// (pick function, transformed box or segment, mouse actions, visibility),
// the query pick of every element under a point, and the routing of press,
// move and release through the picked element.
#include "viewSupport.h"

#include "dorneObjects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <thread>
#include <utility>
#include <vector>

using namespace viewtest;

namespace {

// The pick transform the first run-mode frame leaves (identity, or moved by
// a translation), groups included.
void drawnAt(ELEMENT_STRUCT* list, float tx = 0, float ty = 0)
{
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        const float t[6] = {1, 0, tx, 0, 1, ty};
        std::memcpy(e->pickTransform, t, sizeof t);
        drawnAt(e->children);
    }
}

ELEMENT_STRUCT* line(float x1, float y1, float x2, float y2)
{
    ELEMENT_STRUCT* e = elementCreate(VD_LINE);
    auto* l = static_cast<LINE_STRUCT*>(e->data);
    l->x1 = x1, l->y1 = y1, l->x2 = x2, l->y2 = y2;
    e->update(e);
    return e;
}

ELEMENT_STRUCT* circle(float x, float y, float r)
{
    ELEMENT_STRUCT* e = elementCreate(VD_CIRCLE);
    auto* c = static_cast<CIRCLE_STRUCT*>(e->data);
    c->x = x, c->y = y, c->rx = c->ry = r;
    const float identity[4] = {1, 0, 0, 1};
    std::memcpy(c->matrix, identity, sizeof identity);
    e->update(e);
    return e;
}

void hide(ELEMENT_STRUCT* e)
{
    e->attr.visible = 0;
    e->attr.visibleOverride = 1;
}

// An element list the test owns.
struct List
{
    ELEMENT_STRUCT* head = nullptr;
    ~List() { elementDeleteAll(&head); }
    ELEMENT_STRUCT* add(ELEMENT_STRUCT* e, ELEMENT_STRUCT* group = nullptr)
    {
        e->parent = group;
        elementAppend(e, group != nullptr ? &group->children : &head);
        if (group != nullptr)
            group->update(group);
        return e;
    }
};

std::vector<ELEMENT_STRUCT*> viewPick(ELEMENT_STRUCT* list, int x, int y)
{
    vdView_Struct view{};
    view.magic = VD_VIEW_MAGIC;
    view.elements = list;
    int count = -1;
    ELEMENT_STRUCT** hits = vdObjPickView(&view, x, y, &count);
    EXPECT_EQ(hits == nullptr, count == 0);
    return hits != nullptr ? std::vector<ELEMENT_STRUCT*>(hits, hits + count) : std::vector<ELEMENT_STRUCT*>();
}

TEST(Pick, MouseActionsDecideAndTheLastQualifyingWins)
{
    List list;
    ELEMENT_STRUCT* group = list.add(elementCreate(VD_GROUP));
    ELEMENT_STRUCT* plain = list.add(filledRect(0, 0, 40, 40, 1, 1, 1), group);
    ELEMENT_STRUCT* lower = list.add(filledRect(100, 0, 140, 40, 1, 1, 1));
    ELEMENT_STRUCT* upper = list.add(filledRect(120, 0, 160, 40, 1, 1, 1));
    addAction(lower, 22, "v");
    addAction(upper, 22, "v");
    drawnAt(list.head);

    EXPECT_EQ(vdiPickElementRun(list.head, 20, 20, 1), nullptr) << "no mouse action anywhere";
    EXPECT_EQ(viewPick(list.head, 20, 20), std::vector<ELEMENT_STRUCT*>({plain, group})) << "the query pick takes all";
    addAction(group, 22, "v");
    EXPECT_EQ(vdiPickElementRun(list.head, 20, 20, 1), group) << "the enclosing group with the action";
    addAction(plain, 22, "v");
    EXPECT_EQ(vdiPickElementRun(list.head, 20, 20, 1), group) << "a qualifying group wins over its child";
    EXPECT_EQ(vdiPickElementRun(list.head, 130, 20, 1), upper) << "the later of two overlapping";
    EXPECT_EQ(vdiPickElementRun(list.head, 110, 20, 1), lower);
    EXPECT_EQ(vdiPickElementRun(list.head, 300, 20, 1), nullptr);
    EXPECT_EQ(vdiPickElementRun(nullptr, 20, 20, 1), nullptr);
}

TEST(Pick, HiddenElementsPerPickMode)
{
    const struct
    {
        int shape; // 0 box, 1 pick function (circle), 2 segment
        int hiddenActive;
        bool picked;
    } cases[] = {
        {0, 0, false}, {0, 1, true}, {1, 0, false}, {1, 1, true}, {2, 0, true}, {2, 1, true},
    };
    for (const auto& c : cases) {
        List list;
        ELEMENT_STRUCT* e = list.add(c.shape == 0 ? filledRect(0, 0, 40, 40, 1, 1, 1)
                                     : c.shape == 1 ? circle(20, 20, 20)
                                                    : line(0, 20, 40, 20));
        addAction(e, 22, "v")->mouseHiddenActive = c.hiddenActive;
        drawnAt(list.head);
        EXPECT_EQ(vdiPickElementRun(list.head, 20, 20, 1), e) << "visible, shape " << c.shape;
        hide(e);
        EXPECT_EQ(vdiPickElementRun(list.head, 20, 20, 1), c.picked ? e : nullptr)
            << "shape " << c.shape << " hidden-active " << c.hiddenActive;
        EXPECT_EQ(viewPick(list.head, 20, 20).size(), 1u) << "the query pick ignores visibility";
    }
}

TEST(Pick, PickFunctionShapeAndTransforms)
{
    List list;
    ELEMENT_STRUCT* c = list.add(circle(50, 50, 40));
    addAction(c, 22, "v");
    drawnAt(list.head);
    EXPECT_EQ(vdiPickElementRun(list.head, 50, 50, 1), c);
    EXPECT_EQ(vdiPickElementRun(list.head, 85, 85, 1), nullptr) << "in the box, outside the circle";
    EXPECT_EQ(viewPick(list.head, 85, 85), std::vector<ELEMENT_STRUCT*>({c})) << "the query pick takes the box";

    // Moved by a translation action: the run-time pick follows, the query
    // pick keeps the stored box.
    List moved;
    ELEMENT_STRUCT* r = moved.add(filledRect(0, 0, 20, 20, 1, 1, 1));
    addAction(r, 22, "v");
    drawnAt(moved.head, 100, 0);
    EXPECT_EQ(vdiPickElementRun(moved.head, 110, 10, 1), r);
    EXPECT_EQ(vdiPickElementRun(moved.head, 10, 10, 1), nullptr);
    EXPECT_TRUE(viewPick(moved.head, 110, 10).empty());
    EXPECT_EQ(viewPick(moved.head, 10, 10).size(), 1u);

    // A group's children are searched with the point less its translation.
    List grouped;
    ELEMENT_STRUCT* group = grouped.add(elementCreate(VD_GROUP));
    ELEMENT_STRUCT* child = grouped.add(filledRect(0, 0, 20, 20, 1, 1, 1), group);
    addAction(child, 22, "v");
    drawnAt(grouped.head);
    group->pickTransform[2] = 50;
    EXPECT_EQ(vdiPickElementRun(grouped.head, 60, 10, 1), child);
    EXPECT_EQ(vdiPickElementRun(grouped.head, 10, 10, 1), nullptr);

    // A pick mode that is neither box nor segment is never hit.
    r->pickAsLine = 2;
    drawnAt(moved.head);
    EXPECT_EQ(vdiPickElementRun(moved.head, 10, 10, 1), nullptr);
    EXPECT_TRUE(viewPick(moved.head, 10, 10).empty());
}

// Before any draw an element is picked where it is stored, whether made by
// elementCreate or read by either view file reader: a box, a pick function
// (closed polygon) and a group's child.
TEST(Pick, BeforeAnyDrawElementsArePickedWhereTheyAreStored)
{
    Folder folder;
    ASSERT_FALSE(folder.path.empty());
    ViewDraft draft(0, 0, 200, 200);
    ELEMENT_STRUCT* box = draft.add(filledRect(40, 90, 60, 110, 1, 0, 0));
    ELEMENT_STRUCT* polygon = draft.add(elementCreate(VD_CPOLYGON));
    for (const auto& [x, y] : {std::pair(150, 10), {150, 50}, {190, 50}, {190, 10}}) {
        COORD_STRUCT* c = createCoord();
        c->x = float(x), c->y = float(y);
        appendCoord(&static_cast<POLY_STRUCT*>(polygon->data)->coords, c);
    }
    polygon->update(polygon);
    ELEMENT_STRUCT* child = draft.add(filledRect(100, 150, 120, 170, 0, 0, 1), draft.add(elementCreate(VD_GROUP)));
    const char* const names[] = {"box", "polygon", "child"};
    int n = 0;
    for (ELEMENT_STRUCT* e : {box, polygon, child}) {
        std::snprintf(e->name, sizeof e->name, "%s", names[n++]);
        addAction(e, 22, "v");
    }
    const std::string binary = folder.file("v.v"), xml = folder.file("v.xml");
    ASSERT_TRUE(draft.save(binary));
    ASSERT_EQ(saveFileXml(xml.c_str(), draft.elements, nullptr, &draft.config), 0);
    List fromBinary, fromXml;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config{};
    ASSERT_EQ(loadFile(binary.c_str(), &fromBinary.head, &sources, &config), 0);
    ASSERT_EQ(loadFileXml(xml.c_str(), &fromXml.head, &sources, &config), 0);
    EXPECT_EQ(sources, nullptr);

    const struct
    {
        float x, y;
        const char* name; // null: nothing
    } cases[] = {{0, 0, nullptr},     {50, 100, "box"},   {170, 30, "polygon"}, {110, 160, "child"},
                 {130, 160, nullptr}, {39, 100, nullptr}, {100, 30, nullptr}};
    const std::pair<const char*, ELEMENT_STRUCT*> lists[] = {
        {"made", draft.elements}, {"binary", fromBinary.head}, {"xml", fromXml.head}};
    for (const auto& [what, list] : lists) {
        for (const auto& c : cases) {
            const ELEMENT_STRUCT* picked = vdiPickElementRun(list, c.x, c.y, 1);
            EXPECT_STREQ(picked != nullptr ? picked->name : nullptr, c.name) << what << " " << c.x << ", " << c.y;
        }
    }
}

TEST(Pick, SegmentsByDistanceAndZoom)
{
    List list;
    ELEMENT_STRUCT* l = list.add(line(0, 0, 100, 0));
    ELEMENT_STRUCT* dot = list.add(line(300, 300, 300, 300));
    addAction(l, 22, "v");
    addAction(dot, 22, "v");
    drawnAt(list.head);
    const struct
    {
        float x, y, zoom;
        ELEMENT_STRUCT* expected;
    } cases[] = {
        {50, 4, 1, l},        {50, 4, 2, nullptr},   {50, 2, 2, l},           {50, -4.9f, 1, l},
        {50, 5, 1, nullptr},  {103, 0, 1, nullptr},  {-1, 0, 1, nullptr},     {99, 1, 1, l},  {100, 1, 1, nullptr},
        {303, 0 + 300, 1, dot}, {300, 304, 1, dot},  {306, 300, 1, nullptr},  {303, 300, 2, nullptr},
        {50, 0, 0, nullptr},  {50, 0, NAN, nullptr}, {50, 0, INFINITY, nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vdiPickElementRun(list.head, c.x, c.y, c.zoom), c.expected) << c.x << "," << c.y << " zoom " << c.zoom;
    EXPECT_EQ(viewPick(list.head, 50, 4), std::vector<ELEMENT_STRUCT*>({l})) << "zoom 1";
    EXPECT_TRUE(viewPick(list.head, 50, 5).empty());
    EXPECT_EQ(viewPick(list.head, 302, 303), std::vector<ELEMENT_STRUCT*>({dot})) << "a segment without length";
}

TEST(Pick, QueryPickCountsAtMost499)
{
    List list;
    for (int i = 0; i < 600; ++i)
        list.add(filledRect(0, 0, 10, 10, 1, 1, 1));
    ELEMENT_STRUCT* first = list.head;
    std::vector<ELEMENT_STRUCT*> hits = viewPick(list.head, 5, 5);
    EXPECT_EQ(hits.size(), 499u);
    EXPECT_EQ(hits.front(), first);
    EXPECT_TRUE(viewPick(list.head, 50, 50).empty());

    int count = -1;
    vdView_Struct foreign{};
    EXPECT_EQ(vdObjPickView(nullptr, 5, 5, &count), nullptr);
    EXPECT_EQ(count, 0);
    count = -1;
    EXPECT_EQ(vdObjPickView(&foreign, 5, 5, &count), nullptr);
    EXPECT_EQ(count, 0);

    // Each thread has its own array: another thread's pick leaves it.
    vdView_Struct view{};
    view.magic = VD_VIEW_MAGIC;
    view.elements = list.head;
    ELEMENT_STRUCT** mine = vdObjPickView(&view, 5, 5, &count);
    ASSERT_NE(mine, nullptr);
    std::thread([&] {
        int n = 0;
        EXPECT_NE(vdObjPickView(&view, 5, 5, &n), mine);
        EXPECT_EQ(vdObjPickView(&view, 50, 50, &n), nullptr);
    }).join();
    EXPECT_EQ(mine[0], first);
}

TEST(Pick, WindowPickInIntegerSteps)
{
    List list;
    ELEMENT_STRUCT* r = list.add(filledRect(50, 100, 51, 101, 1, 1, 1));
    vdView_Struct view{};
    view.magic = VD_VIEW_MAGIC;
    view.elements = list.head;
    view.drawOffsetX = 10, view.drawOffsetY = 20;
    vdWindow_Struct window{};
    window.magic = VD_WINDOW_MAGIC;
    window.height = 480;
    window.para.zoom = 2.0f;
    int count = -1;
    // (110, 260) is (50, 100); (113, 258) truncates to (51, 101).
    ELEMENT_STRUCT** hits = vdObjPick(&window, &view, 110, 260, &count);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(hits[0], r);
    EXPECT_NE(vdObjPick(&window, &view, 113, 258, &count), nullptr);
    EXPECT_EQ(vdObjPick(&window, &view, 116, 260, &count), nullptr) << "(53, 100)";
    EXPECT_EQ(count, 0);
    view.config.x = 1000;
    EXPECT_EQ(vdObjPick(&window, &view, 110, 260, &count), nullptr) << "the configuration origin is added";
    view.config.x = 0;

    const float zooms[] = {0.0f, NAN, INFINITY};
    for (float z : zooms) {
        window.para.zoom = z;
        count = -1;
        EXPECT_EQ(vdObjPick(&window, &view, 110, 260, &count), nullptr) << z;
        EXPECT_EQ(count, 0);
    }
    // Far outside the int range: nothing.
    window.para.zoom = 1e-9f;
    EXPECT_EQ(vdObjPick(&window, &view, 2000000000, 260, &count), nullptr);
    EXPECT_EQ(count, 0);
    window.para.zoom = 2.0f;
    vdWindow_Struct foreignWindow{};
    vdView_Struct foreignView{};
    EXPECT_EQ(vdObjPick(nullptr, &view, 110, 260, &count), nullptr);
    EXPECT_EQ(vdObjPick(&window, nullptr, 110, 260, &count), nullptr);
    EXPECT_EQ(vdObjPick(&foreignWindow, &view, 110, 260, &count), nullptr);
    EXPECT_EQ(vdObjPick(&window, &foreignView, 110, 260, &count), nullptr);
    EXPECT_EQ(vdObjPick(&window, &view, 110, 260, nullptr), nullptr);
}

// ---- Routing ----

// A mouse action bound to an int variable of its own.
struct Counter
{
    DD_VAR_STRUCT* variable = createVariable(0);
    Counter(ELEMENT_STRUCT* e, int mouseAction, int mode)
    {
        variable->type = DD_INT;
        variable->value = std::calloc(1, 8);
        ACTION_STRUCT* a = addAction(e, 22, "counter");
        a->mouseAction = mouseAction;
        a->mouseMode = mode;
        a->mouseMax = 1e6f;
        a->mouseClamp = 1;
        a->value = variable->value;
        a->varRecord = variable;
        a->valueType = DD_INT;
        a->offset = 0, a->slope = 1;
    }
    ~Counter() { delVariable(nullptr, variable); }
    int value() const
    {
        int v;
        std::memcpy(&v, variable->value, 4);
        return v;
    }
};

// An element that counts presses and releases and keeps the x of the last
// press or move.
struct Target
{
    ELEMENT_STRUCT* element;
    Counter presses, releases, lastX;
    explicit Target(ELEMENT_STRUCT* e) : element(e), presses(e, 0, 1), releases(e, 1, 1), lastX(e, 4, 0) {}
};

enum { Press = 0, Release = 1, Move = 7 };

TEST(Routing, PressMovesReleaseAndRepick)
{
    List list;
    Target a(list.add(filledRect(0, 0, 40, 40, 1, 1, 1)));
    Target b(list.add(filledRect(100, 0, 140, 40, 1, 1, 1)));
    drawnAt(list.head);
    // A fresh thread starts with no previous event.
    std::thread([&] {
        vdieViewPickElementRun(list.head, Move, 0, 20, 20, 1);
        EXPECT_EQ(a.lastX.value(), 0) << "moves never pick";
        vdieViewPickElementRun(list.head, Press, 0, 20, 20, 1);
        vdieViewPickElementRun(list.head, Move, 0, 25, 20, 1);
        vdieViewPickElementRun(list.head, Move, 0, 120, 20, 1);
        EXPECT_EQ(a.lastX.value(), 120) << "the moves go to the element of the press";
        EXPECT_EQ(b.lastX.value(), 0);
        vdieViewPickElementRun(list.head, Release, 0, 120, 20, 1);
        EXPECT_EQ(a.presses.value(), 1);
        EXPECT_EQ(a.releases.value(), 1) << "the release goes to it too";
        EXPECT_EQ(b.releases.value(), 0);
        vdieViewPickElementRun(list.head, Move, 0, 130, 20, 1);
        EXPECT_EQ(b.lastX.value(), 130) << "the element under the release point gets the next moves";
        // Two presses: the second goes where the first went.
        vdieViewPickElementRun(list.head, Press, 0, 110, 20, 1);
        vdieViewPickElementRun(list.head, Press, 0, 10, 20, 1);
        EXPECT_EQ(b.presses.value(), 2);
        EXPECT_EQ(a.presses.value(), 1);
        // A release over nothing: the following moves are dropped.
        vdieViewPickElementRun(list.head, Release, 0, 500, 20, 1);
        vdieViewPickElementRun(list.head, Move, 0, 30, 20, 1);
        EXPECT_EQ(a.lastX.value(), 120);
        // Another button reaches no action of this button.
        vdieViewPickElementRun(list.head, Press, 1, 20, 20, 1);
        EXPECT_EQ(a.presses.value(), 1);
        vdieViewPickElementRun(list.head, Release, 1, 500, 20, 1);
    }).join();

    // A view's own routing: the same rules, its state reset by a start.
    vdView_Struct view{};
    view.magic = VD_VIEW_MAGIC;
    view.elements = list.head;
    view.previousEvent = -1;
    pthread_mutex_init(&view.mutex, nullptr);
    EXPECT_EQ(vdiViewPickElementRun(&view, Press, 0, 20, 20, 1), 0);
    EXPECT_EQ(view.picked, a.element);
    EXPECT_EQ(a.presses.value(), 2);
    EXPECT_EQ(vdiViewPickElementRun(&view, Release, 0, 500, 20, 1), 0);
    EXPECT_EQ(view.picked, nullptr);
    EXPECT_EQ(view.previousEvent, 1);
    EXPECT_EQ(a.releases.value(), 2);
    pthread_mutex_destroy(&view.mutex);
    vdView_Struct foreign{};
    EXPECT_EQ(vdiViewPickElementRun(nullptr, Press, 0, 20, 20, 1), -1);
    EXPECT_EQ(vdiViewPickElementRun(&foreign, Press, 0, 20, 20, 1), -2);
}

} // namespace
