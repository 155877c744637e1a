// The class facade's draws in the offscreen context: the redraw counter of
// the render-texture mode counted through the probe module's exchanges,
// direct draws, what a draw leaves of the caller's GL state, and the
// mapping of setEvent's buttons and event types seen through the variables
// the mouse actions write.
#include "NalvoView.h"
#include "dorneGlTest.h"
#include "leakCheck.h"
#include "viewSupport.h"

#include <GL/gl.h>

#include <array>
#include <string>
#include <vector>

using namespace viewtest;
using Nalvo2D::NalvoView;

namespace {

class FacadeDraw : public DorneGlTest
{
protected:
    void SetUp() override
    {
        DorneGlTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_FALSE(folder.path.empty());
        pixelProjection();
    }

    Folder folder;
};

TEST_F(FacadeDraw, RedrawCounterInRenderTextureMode)
{
    ProbeHome probe;
    ASSERT_TRUE(probe.installed);
    {
        ViewDraft draft(0, 0, 100, 80);
        addProbeSource(draft);
        const std::string path = folder.file("probe.v");
        ASSERT_TRUE(draft.save(path));
        NalvoView facade;
        ASSERT_TRUE(facade.load(path));
        facade.setRenderMode(Nalvo2D::RENDER_TEXTURE);
        ASSERT_TRUE(facade.startView(false));
        probe.trace();
        // A view started without animation exchanges once per draw that
        // renders; a draw of the cached texture does not.
        const struct
        {
            bool force;
            int exchanges;
        } draws[] = {
            {false, 1}, {false, 1}, {false, 1}, {false, 1}, // counter 3, 2, 1, 0
            {false, 0}, {false, 0},                         // the cached texture
            {true, 1},                                      // forced
            {false, 0},
        };
        int n = 0;
        for (const auto& d : draws) {
            SCOPED_TRACE("draw " + std::to_string(++n));
            EXPECT_TRUE(facade.draw(d.force));
            const std::vector<std::string> lines = probe.trace();
            EXPECT_EQ(ProbeHome::count(lines, "run "), d.exchanges);
        }
        // Every start sets the counter to 3 again.
        EXPECT_TRUE(facade.stopView());
        ASSERT_TRUE(facade.startView(false));
        probe.trace();
        for (int i = 0; i < 6; ++i) {
            EXPECT_TRUE(facade.draw(false));
            EXPECT_EQ(ProbeHome::count(probe.trace(), "run "), i < 4 ? 1 : 0) << "draw " << i + 1 << " after the restart";
        }
        // Direct mode draws (and exchanges) every time.
        facade.setRenderMode(Nalvo2D::RENDER_DIRECT);
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(facade.draw(false));
            EXPECT_EQ(ProbeHome::count(probe.trace(), "run "), 1) << "direct draw " << i + 1;
        }
        // Any render mode other than 0 uses the texture.
        facade.setRenderMode(static_cast<Nalvo2D::eRenderMode>(7));
        EXPECT_TRUE(facade.draw(false));
        EXPECT_EQ(ProbeHome::count(probe.trace(), "run "), 0);
    }
    expectNoLeaks();
}

TEST_F(FacadeDraw, DirectDrawShowsTheView)
{
    ViewDraft draft(0, 0, 100, 80);
    draft.add(filledRect(20, 20, 40, 40, 1, 0, 0));
    const std::string path = folder.file("square.v");
    ASSERT_TRUE(draft.save(path));
    NalvoView facade;
    EXPECT_FALSE(facade.draw(false));
    ASSERT_TRUE(facade.load(path));
    clear(0, 0, 0, 1);
    EXPECT_TRUE(facade.draw(false));
    const auto inside = pixel(30, 30);
    EXPECT_GE(inside[0], 250);
    EXPECT_LE(inside[1], 5);
    // Moved by the draw offset.
    facade.setPosition(50.9f, 0);
    clear(0, 0, 0, 1);
    EXPECT_TRUE(facade.draw(false));
    EXPECT_GE(pixel(80, 30)[0], 250);
    EXPECT_LE(pixel(30, 30)[0], 100) << "the page colour, no longer the square";
}

// What a draw leaves of the caller's GL state, in both render modes: the
// clear colour, matrices, viewport and current colour as they were; a
// draw that renders the texture clears the whole colour buffer first.
TEST_F(FacadeDraw, DrawLeavesTheCallersState)
{
    ViewDraft draft(0, 0, 100, 80);
    draft.add(filledRect(20, 20, 40, 40, 1, 0, 0));
    const std::string path = folder.file("state.v");
    ASSERT_TRUE(draft.save(path));
    const struct
    {
        const char* what;
        Nalvo2D::eRenderMode mode;
        bool clearsOutside; // the caller's pixels outside the view are gone
    } cases[] = {{"direct", Nalvo2D::RENDER_DIRECT, false}, {"render texture", Nalvo2D::RENDER_TEXTURE, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        NalvoView facade;
        ASSERT_TRUE(facade.load(path));
        facade.setRenderMode(c.mode);
        ASSERT_TRUE(facade.startView(false));
        clear(0, 0, 1, 1);
        glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
        glColor4f(0.5f, 0.25f, 0.125f, 1.0f);
        glMatrixMode(GL_PROJECTION);
        glTranslatef(0.125f, 0, 0);
        glMatrixMode(GL_MODELVIEW);
        glTranslatef(0, 0.25f, 0);
        GLfloat projection[16], modelView[16], colour[4];
        GLint viewport[4];
        glGetFloatv(GL_PROJECTION_MATRIX, projection);
        glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
        glGetFloatv(GL_CURRENT_COLOR, colour);
        glGetIntegerv(GL_VIEWPORT, viewport);

        EXPECT_TRUE(facade.draw(true));
        GLfloat clearColour[4], projectionAfter[16], modelViewAfter[16], colourAfter[4];
        GLint viewportAfter[4];
        glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
        glGetFloatv(GL_PROJECTION_MATRIX, projectionAfter);
        glGetFloatv(GL_MODELVIEW_MATRIX, modelViewAfter);
        glGetFloatv(GL_CURRENT_COLOR, colourAfter);
        glGetIntegerv(GL_VIEWPORT, viewportAfter);
        EXPECT_EQ(std::vector<GLfloat>(clearColour, clearColour + 4), (std::vector<GLfloat>{0.25f, 0.5f, 0.75f, 1}));
        EXPECT_EQ(std::vector<GLfloat>(projectionAfter, projectionAfter + 16),
                  std::vector<GLfloat>(projection, projection + 16));
        EXPECT_EQ(std::vector<GLfloat>(modelViewAfter, modelViewAfter + 16),
                  std::vector<GLfloat>(modelView, modelView + 16));
        EXPECT_EQ(std::vector<GLfloat>(colourAfter, colourAfter + 4), std::vector<GLfloat>(colour, colour + 4));
        EXPECT_EQ(std::vector<GLint>(viewportAfter, viewportAfter + 4), std::vector<GLint>(viewport, viewport + 4));
        GLint matrixMode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
        EXPECT_EQ(matrixMode, GL_MODELVIEW);
        EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
        // Far outside the view's 100 x 80 units (moved by the caller's
        // translations less than a pixel).
        const auto outside = pixel(150, 150);
        if (c.clearsOutside)
            EXPECT_EQ(outside, (std::array<uint8_t, 4>{0, 0, 0, 0}));
        else
            EXPECT_EQ(outside, (std::array<uint8_t, 4>{0, 0, 255, 255}));
        glMatrixMode(GL_PROJECTION);
        glTranslatef(-0.125f, 0, 0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
}

// A variable of the internal source, read as long.
long valueOf(NalvoView& facade, const char* name)
{
    long value = -99;
    EXPECT_TRUE(facade.getVar(name, value)) << name;
    return value;
}

TEST_F(FacadeDraw, SetEventMapsButtonsAndEventTypes)
{
    // One pad with a press action per button, a release action for the
    // left button and an absolute-x action for the right button.
    ViewDraft draft(0, 0, 100, 100);
    DD_DATA_TYPE_STRUCT* internal = draft.source(5, 0, 0);
    const char* names[] = {"pressLeft", "pressMiddle", "pressRight", "releaseLeft", "xRight"};
    for (const char* n : names)
        ViewDraft::variable(internal, n, DD_INT);
    ELEMENT_STRUCT* pad = draft.add(filledRect(0, 0, 100, 100, 1, 1, 1));
    const struct
    {
        const char* var;
        int button, mouseAction;
    } actions[] = {{"pressLeft", 0, 0}, {"pressMiddle", 1, 0}, {"pressRight", 2, 0}, {"releaseLeft", 0, 1},
                   {"xRight", 2, 4}};
    for (const auto& a : actions) {
        ACTION_STRUCT* action = addAction(pad, 22, a.var);
        action->mouseButton = a.button;
        action->mouseAction = a.mouseAction;
        action->mouseMode = 0;
        action->mouseInc = 1;
        action->limit = 0;
    }
    const std::string path = folder.file("pad.v");
    ASSERT_TRUE(draft.save(path));
    NalvoView facade;
    ASSERT_TRUE(facade.load(path));
    ASSERT_TRUE(facade.startView(false));
    ASSERT_TRUE(facade.draw(false));

    const struct
    {
        const char* what;
        int button, type;
        const char* changed; // the variable the event sets, null: none
        long value;
        bool alsoX;          // the right button's absolute x action takes the point too
    } cases[] = {
        {"right press", Nalvo2D::MOUSE_RIGHT, Nalvo2D::EVENT_PRESS, "pressRight", 1, true},
        {"middle press", Nalvo2D::MOUSE_MIDDLE, Nalvo2D::EVENT_PRESS, "pressMiddle", 1, false},
        {"left press", Nalvo2D::MOUSE_LEFT, Nalvo2D::EVENT_PRESS, "pressLeft", 1, false},
        {"button 7 is the left one", 7, Nalvo2D::EVENT_PRESS, "pressLeft", 1, false},
        {"button -1 is the left one", -1, Nalvo2D::EVENT_PRESS, "pressLeft", 1, false},
        {"event type 5 is a press", Nalvo2D::MOUSE_MIDDLE, 5, "pressMiddle", 1, false},
        {"left release", Nalvo2D::MOUSE_LEFT, Nalvo2D::EVENT_RELEASE, "releaseLeft", 1, false},
        {"right release sets nothing", Nalvo2D::MOUSE_RIGHT, Nalvo2D::EVENT_RELEASE, nullptr, 0, false},
        {"right move is a move, not a press", Nalvo2D::MOUSE_RIGHT, Nalvo2D::EVENT_MOVE, "xRight", 37, true},
        {"left move sets nothing", Nalvo2D::MOUSE_LEFT, Nalvo2D::EVENT_MOVE, nullptr, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* n : names)
            ASSERT_TRUE(facade.setVar(n, 0L));
        facade.setEvent(static_cast<Nalvo2D::eMouseButton>(c.button), static_cast<Nalvo2D::eEventType>(c.type),
                        37.6f, 50);
        for (const char* n : names) {
            long expected = c.changed != nullptr && std::string(n) == c.changed ? c.value : 0;
            if (c.alsoX && std::string(n) == "xRight")
                expected = 37;
            EXPECT_EQ(valueOf(facade, n), expected) << n;
        }
    }
    // Outside the pad a press picks nothing: the following events are lost.
    facade.setEvent(Nalvo2D::MOUSE_LEFT, Nalvo2D::EVENT_RELEASE, 200, 200);
    ASSERT_TRUE(facade.setVar("pressLeft", 0L));
    facade.setEvent(Nalvo2D::MOUSE_LEFT, Nalvo2D::EVENT_PRESS, 200, 200);
    EXPECT_EQ(valueOf(facade, "pressLeft"), 0);
}

} // namespace
