// Mouse events on a view: press, moves and release through the window
// record into the variables the mouse actions write, an element moved by a
// translation action picked where it is drawn and, before the first draw,
// where it is stored; the event's status codes, and a line width set
// through the public attribute record drawn.
#include "dorneGlTest.h"
#include "viewSupport.h"

#include "dorneObjects.h"

#include <GL/gl.h>

#include <cmath>
#include <string>

using namespace viewtest;

namespace {

enum { Press = 0, Release = 1, Move = 7 };

ACTION_STRUCT* mouse(ELEMENT_STRUCT* e, const char* var, int mouseAction, int mode)
{
    ACTION_STRUCT* a = addAction(e, 22, var);
    a->mouseAction = mouseAction;
    a->mouseMode = mode;
    a->mouseInc = 1;
    a->mouseMax = 1000;
    a->mouseClamp = 1;
    return a;
}

class ViewEvents : public DorneGlTest
{
protected:
    void SetUp() override
    {
        DorneGlTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_FALSE(folder.path.empty());
        // A (40..60, 90..110) counts presses and releases and keeps the x of
        // the last press or move; B (100..140, 90..110) is drawn moved by
        // "shift" (50) and counts its presses in "hits".
        ViewDraft draft(0, 0, 200, 200);
        DD_DATA_TYPE_STRUCT* s = draft.source(5);
        ViewDraft::variable(s, "pressed", DD_INT);
        ViewDraft::variable(s, "released", DD_INT);
        ViewDraft::variable(s, "lastx", DD_FLOAT);
        ViewDraft::variable(s, "shift", DD_FLOAT, "50");
        ViewDraft::variable(s, "hits", DD_INT);
        ELEMENT_STRUCT* a = draft.add(filledRect(40, 90, 60, 110, 1, 0, 0));
        mouse(a, "pressed", 0, 1);
        mouse(a, "released", 1, 1);
        mouse(a, "lastx", 4, 0);
        ELEMENT_STRUCT* b = draft.add(filledRect(100, 90, 140, 110, 0, 1, 0));
        std::snprintf(b->name, sizeof b->name, "%s", "B");
        addAction(b, 1, "shift");
        mouse(b, "hits", 0, 1);
        const std::string path = folder.file("events.v");
        ASSERT_TRUE(draft.save(path));
        view = vdViewLoad(path.c_str());
        ASSERT_NE(view, nullptr);
        window = vdWindowCreate();
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(vdWindowInit(window, 640, 480), 0);
    }
    void TearDown() override
    {
        if (view != nullptr) {
            EXPECT_EQ(vdViewFree(view), 0);
        }
        std::free(window);
    }

    // An event at the view point (x, y) of the draw at (10, 20), scale 2.
    int event(int type, float x, float y, int button = 0)
    {
        return vdViewEvent(window, view, button, type, x * 2 + 10, 480 - (y * 2 + 20));
    }

    std::string value(const char* name, int* pending = nullptr)
    {
        char out[256] = "";
        const int result = vdVarGetStr(view, name, out);
        if (pending != nullptr)
            *pending = result;
        return out;
    }

    Folder folder;
    vdView_Struct* view = nullptr;
    vdWindow_Struct* window = nullptr;
};

TEST_F(ViewEvents, PressMovesAndReleaseReachTheVariables)
{
    ASSERT_EQ(vdViewStart(view), 0);
    ASSERT_EQ(vdViewDraw(window, view, 10, 20, 2.0f), 0);
    // The window point (110, 260) is the view point (50, 100).
    ASSERT_EQ(vdViewEvent(window, view, 0, Press, 110, 260), 0);
    int pending = -1;
    EXPECT_EQ(value("pressed", &pending), "1");
    EXPECT_EQ(pending, 1) << "a new value is pending";
    EXPECT_EQ(value("pressed", &pending), "1");
    EXPECT_EQ(pending, 0) << "reading cleared it";
    EXPECT_EQ(value("lastx"), "50.000000");

    ASSERT_EQ(event(Move, 55, 100), 0);
    ASSERT_EQ(event(Move, 180, 100), 0);
    EXPECT_EQ(value("lastx"), "180.000000") << "moves go to the pressed element wherever they are";
    ASSERT_EQ(event(Release, 180, 100), 0);
    EXPECT_EQ(value("released", &pending), "1");
    EXPECT_EQ(pending, 1);
    ASSERT_EQ(event(Move, 50, 100), 0);
    EXPECT_EQ(value("lastx"), "180.000000") << "after a release over nothing moves are dropped";

    // B is drawn at 150..190: the run-time pick finds it there, the query
    // pick where it is stored.
    ASSERT_EQ(event(Press, 170, 100), 0);
    ASSERT_EQ(event(Release, 170, 100), 0);
    EXPECT_EQ(value("hits"), "1");
    ASSERT_EQ(event(Press, 120, 100), 0);
    ASSERT_EQ(event(Release, 120, 100), 0);
    EXPECT_EQ(value("hits"), "1") << "nothing where B is stored";
    int count = -1;
    EXPECT_EQ(vdObjPickView(view, 170, 100, &count), nullptr);
    ELEMENT_STRUCT** hits = vdObjPickView(view, 120, 100, &count);
    ASSERT_EQ(count, 1);
    EXPECT_STREQ(vdObjName(hits[0]), "B");
    EXPECT_NE(vdObjPick(window, view, 250, 260, &count), nullptr) << "the window point of (120, 100)";

    // A restart begins with a fresh press: the element of the last release
    // gets no move.
    ASSERT_EQ(event(Press, 50, 100), 0);
    EXPECT_EQ(value("pressed"), "2");
    ASSERT_EQ(vdViewStop(view), 0);
    ASSERT_EQ(vdViewStart(view), 0);
    EXPECT_EQ(view->picked, nullptr);
    EXPECT_EQ(view->previousEvent, -1);
}

// Before the first draw (window zoom 1, no draw offset) the events go to
// the elements where they are stored: B not yet moved, nothing at the
// origin.
TEST_F(ViewEvents, BeforeTheFirstDrawEventsGoWhereTheBoxesAre)
{
    ASSERT_EQ(vdViewStart(view), 0);
    const struct
    {
        float x, y; // view point
        const char* pressed;
        const char* hits;
    } cases[] = {{0, 0, "0", "0"}, {50, 100, "1", "0"}, {120, 100, "1", "1"}, {170, 100, "1", "1"}, {0, 0, "1", "1"}};
    for (const auto& c : cases) {
        ASSERT_EQ(vdViewEvent(window, view, 0, Press, c.x, 480 - c.y), 0);
        ASSERT_EQ(vdViewEvent(window, view, 0, Release, c.x, 480 - c.y), 0);
        EXPECT_EQ(value("pressed"), c.pressed) << c.x << ", " << c.y;
        EXPECT_EQ(value("hits"), c.hits) << c.x << ", " << c.y;
    }
}

TEST_F(ViewEvents, StatusCodesAndUnusableZoom)
{
    vdView_Struct foreignView{};
    vdWindow_Struct foreignWindow{};
    EXPECT_EQ(vdViewEvent(nullptr, view, 0, Press, 110, 260), -1);
    EXPECT_EQ(vdViewEvent(window, nullptr, 0, Press, 110, 260), -1);
    EXPECT_EQ(vdViewEvent(&foreignWindow, view, 0, Press, 110, 260), -2);
    EXPECT_EQ(vdViewEvent(window, &foreignView, 0, Press, 110, 260), -2);
    ASSERT_EQ(vdViewDraw(window, view, 10, 20, 2.0f), 0);
    EXPECT_EQ(vdViewEvent(window, view, 0, Press, 110, 260), -3) << "stopped";
    ASSERT_EQ(vdViewStart(view), 0);
    ASSERT_EQ(vdViewDraw(window, view, 10, 20, 2.0f), 0);
    for (float zoom : {0.0f, NAN, INFINITY}) {
        window->para.zoom = zoom;
        EXPECT_EQ(vdViewEvent(window, view, 0, Press, 110, 260), -1) << zoom;
    }
    EXPECT_EQ(value("pressed"), "0") << "no event was routed";
    window->para.zoom = 2.0f;
    EXPECT_EQ(vdViewEvent(window, view, 0, Press, 110, 260), 0);
    EXPECT_EQ(value("pressed"), "1");
}

class AttributeDraw : public DorneDrawTest
{
protected:
    // Lit pixels of row y from x0 to x1 (exclusive).
    static int litAcross(int x0, int x1, int y)
    {
        int n = 0;
        for (int x = x0; x < x1; ++x)
            n += pixel(x, y)[0] > 128 ? 1 : 0;
        return n;
    }
};

TEST_F(AttributeDraw, LineWidthThroughTheKindMaskIsDrawn)
{
    ELEMENT_STRUCT* rect = filledRect(20, 20, 60, 60, 1, 1, 1);
    auto* r = static_cast<RECT_STRUCT*>(rect->data);
    r->fill = 0;
    r->outline = 1;
    r->lineWidth = 1;
    r->lineR = r->lineG = r->lineB = r->lineA = 1;
    rect->update(rect);
    draw(rect);
    EXPECT_EQ(litAcross(10, 30, 40), 1);

    OBJ_ATTR_STRUCT attr{};
    ASSERT_EQ(vdObjGetAttr(rect, &attr), 0);
    EXPECT_EQ(attr.lineWidth, 1);
    attr.lineWidth = 3;
    attr.mask = OBJ_ATTR_KIND;
    ASSERT_EQ(vdObjSetAttr(rect, &attr), 0);
    EXPECT_EQ(r->lineWidth, 3.0f);
    clear(0, 0, 0, 1);
    draw(rect);
    EXPECT_EQ(litAcross(10, 30, 40), 3) << "three pixels wide";
    EXPECT_EQ(litAcross(30, 50, 40), 0) << "still only the outline";
    elementDelete(rect, &rect);
}

} // namespace
