// Drawing a view in the offscreen context: the exchanges each entry point
// makes, the page colour, the colour factor, the render texture, a window
// record's projection, the size queries, a view larger than the render
// texture, and no drawing without a current context.
#include "dorneGlTest.h"
#include "leakCheck.h"
#include "viewSupport.h"

#include <GL/gl.h>

#include <climits>
#include <cmath>
#include <functional>

using namespace viewtest;

namespace {

class ViewDraw : public DorneGlTest
{
protected:
    void SetUp() override
    {
        DorneGlTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_FALSE(folder.path.empty());
        pixelProjection();
        glDisable(GL_BLEND);
        clear(0, 0, 0, 1);
    }
    void TearDown() override
    {
        if (view != nullptr)
            EXPECT_EQ(vdViewFree(view), 0);
        std::free(window);
    }

    // Loads the view written from draft.
    void load(ViewDraft& draft)
    {
        const std::string path = folder.file("view.v");
        ASSERT_TRUE(draft.save(path));
        view = vdViewLoad(path.c_str());
        ASSERT_NE(view, nullptr);
    }

    // A 100 x 80 view at the origin with a red square from (20, 20) to
    // (40, 40), page colour (0.25, 0.5, 0.75).
    void loadSquare(float x = 0, float y = 0, float width = 100, float height = 80)
    {
        ViewDraft draft(x, y, width, height);
        draft.add(filledRect(x + 20, y + 20, x + 40, y + 40, 1, 0, 0));
        load(draft);
    }

    static bool near(const std::array<uint8_t, 4>& p, int r, int g, int b, int tolerance = 3)
    {
        return std::abs(p[0] - r) <= tolerance && std::abs(p[1] - g) <= tolerance && std::abs(p[2] - b) <= tolerance;
    }

    static std::string text(const std::array<uint8_t, 4>& p)
    {
        return std::to_string(p[0]) + "," + std::to_string(p[1]) + "," + std::to_string(p[2]);
    }

    Folder folder;
    vdView_Struct* view = nullptr;
    vdWindow_Struct* window = nullptr;
};

TEST_F(ViewDraw, ExchangesOncePerDrawThatRendersInState1Only)
{
    ProbeHome probe;
    ASSERT_TRUE(probe.installed);
    ViewDraft draft(0, 0, 100, 80);
    addProbeSource(draft);
    load(draft);
    window = vdWindowCreate();
    ASSERT_EQ(vdWindowInit(window, 256, 256), 0);
    probe.trace();

    const struct
    {
        const char* name;
        std::function<int()> draw;
        int exchanges; // in state 1
    } draws[] = {
        {"mode 0 after a start renders", [&] { return vdViewDrawPlane(view, 0); }, 1},
        {"mode 0 again draws the cached texture", [&] { return vdViewDrawPlane(view, 0); }, 0},
        {"mode 1 renders again", [&] { return vdViewDrawPlane(view, 1); }, 1},
        {"mode 0 after mode 1", [&] { return vdViewDrawPlane(view, 0); }, 0},
        {"mode 2", [&] { return vdViewDrawPlane(view, 2); }, 1},
        {"direct", [&] { return vdViewDrawPlane_Direct(view, 0); }, 1},
        {"window", [&] { return vdViewDraw(window, view, 0, 0, 1.0f); }, 1},
        {"current transformation", [&] { return vdViewDrawWindow(view); }, 1},
    };
    for (int state : {0, 1}) {
        if (state == 1) {
            ASSERT_EQ(vdViewStart(view), 0);
            probe.trace();
        }
        for (const auto& d : draws) {
            SCOPED_TRACE(std::string(d.name) + " in state " + std::to_string(state));
            EXPECT_EQ(d.draw(), 0);
            const std::vector<std::string> lines = probe.trace();
            const int expected = state == 1 ? d.exchanges : 0;
            EXPECT_EQ(ProbeHome::count(lines, "run "), expected);
            EXPECT_EQ(ProbeHome::count(lines, "postRun"), expected);
        }
    }
    // Animated: the draws only take the mutex; the thread exchanges.
    ASSERT_EQ(vdViewStop(view), 0);
    EXPECT_EQ(probe.trace(), std::vector<std::string>{"close"});
    ASSERT_EQ(vdViewStartAnim(view), 0);
    for (const auto& d : draws)
        EXPECT_EQ(d.draw(), 0) << d.name;
    EXPECT_EQ(vdViewStop(view), 0);
    const std::vector<std::string> lines = probe.trace();
    EXPECT_EQ(ProbeHome::count(lines, "close"), 1);
    EXPECT_EQ(ProbeHome::count(lines, "run "), ProbeHome::count(lines, "postRun") - 1) << "the defaults' PostRun";
}

TEST_F(ViewDraw, PageColourOnTheDirectPathOnly)
{
    loadSquare();
    const int page[3] = {64, 128, 191};
    window = vdWindowCreate();
    const struct
    {
        const char* name;
        std::function<int()> draw;
        bool fills;
    } draws[] = {
        {"direct", [&] { return vdViewDrawPlane_Direct(view, 0); }, true},
        {"mode 2", [&] { return vdViewDrawPlane(view, 2); }, true},
        {"mode 0", [&] { return vdViewDrawPlane(view, 0); }, false},
        {"mode 1", [&] { return vdViewDrawPlane(view, 1); }, false},
        {"window", [&] { vdWindowInit(window, 256, 256); return vdViewDraw(window, view, 0, 0, 1.0f); }, false},
        {"current transformation", [&] { return vdViewDrawWindow(view); }, false},
    };
    for (int mode : {1, 0}) {
        vdSetBackgroundMode(view, mode);
        for (const auto& d : draws) {
            SCOPED_TRACE(std::string(d.name) + " with background mode " + std::to_string(mode));
            pixelProjection();
            clear(0, 0, 0, 1);
            ASSERT_EQ(d.draw(), 0);
            const auto inside = pixel(70, 60), outside = pixel(150, 150), square = pixel(30, 30);
            if (mode == 1 && d.fills)
                EXPECT_TRUE(near(inside, page[0], page[1], page[2])) << text(inside);
            else
                EXPECT_TRUE(near(inside, 0, 0, 0)) << text(inside);
            EXPECT_TRUE(near(outside, 0, 0, 0)) << text(outside);
            EXPECT_TRUE(near(square, 255, 0, 0)) << text(square);
        }
    }
}

TEST_F(ViewDraw, ColourFactorIsClampedWithBlendingOn)
{
    ViewDraft draft(0, 0, 100, 80);
    draft.add(filledRect(20, 20, 40, 40, 1, 1, 1));
    load(draft);
    vdSetBackgroundMode(view, 0);
    EXPECT_EQ(vdViewSetColorFactor(view, 2.0f, -1.0f, 0.5f, 0.9f), 0);
    EXPECT_EQ(view->colorFactor[0], 2.0f) << "stored as given";
    EXPECT_EQ(view->colorFactor[1], -1.0f);
    glDisable(GL_BLEND);
    ASSERT_EQ(vdViewDrawPlane_Direct(view, 0), 0);
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_TRUE);
    // (1.0, 0.0, 0.5) at alpha 0.9 over black.
    const auto p = pixel(30, 30);
    EXPECT_TRUE(near(p, 230, 0, 115)) << text(p);
    vvSetColorFactor(1, 1, 1, 1);
}

TEST_F(ViewDraw, RenderTextureFollowsTheDrawOffsetAndScale)
{
    loadSquare();
    ASSERT_EQ(vdViewStart(view), 0);
    ASSERT_EQ(vdViewDrawPlane(view, 0), 0);
    EXPECT_NE(view->renderTexture, 0u);
    EXPECT_EQ(view->renderDirty, 0);
    auto p = pixel(30, 30);
    EXPECT_TRUE(near(p, 255, 0, 0, 8)) << text(p);
    // The caller's projection is kept: a cached draw lands where the
    // rendering one did.
    clear(0, 0, 0, 1);
    ASSERT_EQ(vdViewDrawPlane(view, 0), 0);
    p = pixel(30, 30);
    EXPECT_TRUE(near(p, 255, 0, 0, 8)) << text(p);

    // A window draw moves the view; the texture follows the offset.
    window = vdWindowCreate();
    ASSERT_EQ(vdWindowInit(window, 256, 256), 0);
    ASSERT_EQ(vdViewDraw(window, view, 100.7f, 50.2f, 2.0f), 0);
    EXPECT_EQ(view->drawOffsetX, 100);
    EXPECT_EQ(view->drawOffsetY, 50);
    EXPECT_EQ(view->drawScale, 2.0f);
    EXPECT_EQ(window->para.zoom, 2.0f);
    pixelProjection();
    clear(0, 0, 0, 1);
    ASSERT_EQ(vdViewDrawPlane(view, 0), 0);
    p = pixel(100 + 60, 50 + 60);
    EXPECT_TRUE(near(p, 255, 0, 0, 8)) << text(p);
    p = pixel(30, 30);
    EXPECT_TRUE(near(p, 0, 0, 0)) << text(p);
}

TEST_F(ViewDraw, WindowRecord)
{
    loadSquare(1000, 2000);
    EXPECT_EQ(vdWindowInit(nullptr, 1, 1), -1);
    EXPECT_EQ(vdWindowClear(nullptr, view), -1);
    window = vdWindowCreate();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->magic, VD_WINDOW_MAGIC);
    EXPECT_EQ(window->para.zoom, 1.0f);
    EXPECT_EQ(window->width, 0);
    EXPECT_EQ(vdWindowClear(window, nullptr), -1);
    EXPECT_EQ(vdWindowInit(reinterpret_cast<vdWindow_Struct*>(view), 1, 1), -2);
    EXPECT_EQ(vdWindowClear(window, reinterpret_cast<vdView_Struct*>(window)), -2);
    EXPECT_EQ(vdViewDraw(nullptr, view, 0, 0, 1), -1);
    EXPECT_EQ(vdViewDraw(window, nullptr, 0, 0, 1), -1);
    EXPECT_EQ(vdViewDraw(reinterpret_cast<vdWindow_Struct*>(view), view, 0, 0, 1), -2);
    EXPECT_EQ(vdViewDraw(window, reinterpret_cast<vdView_Struct*>(window), 0, 0, 1), -2);

    ASSERT_EQ(vdWindowInit(window, 640, 480), 0);
    EXPECT_EQ(window->width, 640);
    EXPECT_EQ(window->height, 480);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 639);
    EXPECT_EQ(viewport[3], 479);
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_FLOAT_EQ(projection[0], 2.0f / 640);
    EXPECT_FLOAT_EQ(projection[5], 2.0f / 480);

    // Cleared to the page colour.
    ASSERT_EQ(vdWindowInit(window, 256, 256), 0);
    ASSERT_EQ(vdWindowClear(window, view), 0);
    auto p = pixel(5, 5);
    EXPECT_TRUE(near(p, 64, 128, 191)) << text(p);

    // The view's lower-left corner at (50, 20), twice the size: the square
    // (20..40 from the corner) lands at 90..130, 60..100.
    GLfloat before[16];
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 10, 0, 10, -1, 1);
    glGetFloatv(GL_PROJECTION_MATRIX, before);
    glMatrixMode(GL_MODELVIEW);
    ASSERT_EQ(vdViewDraw(window, view, 50, 20, 2.0f), 0);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_EQ(std::memcmp(before, projection, sizeof before), 0) << "the projection is the caller's again";
    p = pixel(110, 80);
    EXPECT_TRUE(near(p, 255, 0, 0)) << text(p);
    p = pixel(85, 80);
    EXPECT_TRUE(near(p, 64, 128, 191)) << "no background is drawn: " << text(p);
}

TEST_F(ViewDraw, SizeAndCentreQueries)
{
    ViewDraft draft(10, -30, 101, 320.7f);
    load(draft);
    EXPECT_EQ(vdViewWidth(view), 101);
    EXPECT_EQ(vdViewHeight(view), 320);
    EXPECT_EQ(vdViewPosX(view), 60);
    EXPECT_EQ(vdViewPosY(view), 130);
    view->config.x = -4.0f;
    view->config.width = 5.0f;
    EXPECT_EQ(vdViewPosX(view), -1) << "-1.5 truncated toward zero";
    // Held within the int range; NaN as 0.
    view->config.width = 1e20f;
    view->config.height = -1e20f;
    EXPECT_EQ(vdViewWidth(view), INT_MAX);
    EXPECT_EQ(vdViewHeight(view), INT_MIN);
    EXPECT_EQ(vdViewPosX(view), INT_MAX);
    EXPECT_EQ(vdViewPosY(view), INT_MIN);
    view->config.width = NAN;
    EXPECT_EQ(vdViewWidth(view), 0);
    EXPECT_EQ(vdViewPosX(view), 0);
    view->config.width = 101;
    view->config.height = 320.7f;
    // Offsets from floats the same way.
    window = vdWindowCreate();
    ASSERT_EQ(vdWindowInit(window, 256, 256), 0);
    ASSERT_EQ(vdViewDraw(window, view, 3e9f, -3e9f, 1.0f), 0);
    EXPECT_EQ(view->drawOffsetX, INT_MAX);
    EXPECT_EQ(view->drawOffsetY, INT_MIN);
    ASSERT_EQ(vdViewDraw(window, view, NAN, -7.9f, 1.0f), 0);
    EXPECT_EQ(view->drawOffsetX, 0);
    EXPECT_EQ(view->drawOffsetY, -7);
}

TEST_F(ViewDraw, ALargerViewThanTheTextureIsDrawnWhole)
{
    ViewDraft draft(0, 0, 1500, 800);
    draft.pageColour(0, 0, 0);
    draft.add(filledRect(100, 100, 300, 200, 0, 0, 1));
    draft.add(filledRect(1200, 600, 1400, 700, 1, 0, 0));
    load(draft);
    ASSERT_EQ(vdViewStart(view), 0);
    for (int mode : {0, 1, 0}) {
        SCOPED_TRACE(mode);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 1500, 0, 800, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        clear(0, 0, 0, 1);
        ASSERT_EQ(vdViewDrawPlane(view, mode), 0);
        // Pixel = view unit x 256 / 1500 (x), 256 / 800 (y).
        auto p = pixel(1300 * 256 / 1500, 650 * 256 / 800);
        EXPECT_TRUE(near(p, 255, 0, 0)) << "beyond 1024 units: " << text(p);
        p = pixel(200 * 256 / 1500, 150 * 256 / 800);
        EXPECT_TRUE(near(p, 0, 0, 255)) << text(p);
        p = pixel(1300 * 256 / 1500 - 192 * 256 / 1500 - 20, 150 * 256 / 800);
        EXPECT_TRUE(near(p, 0, 0, 0)) << "nothing tiled: " << text(p);
    }
    EXPECT_EQ(view->renderTexture, 0u) << "no texture made for it";
}

TEST_F(ViewDraw, MemoryLoadDrawsAtScaleOneAndOffsetZero)
{
    ViewDraft draft(0, 0, 100, 80);
    draft.add(filledRect(20, 20, 40, 40, 1, 0, 0));
    const std::string path = folder.file("memory.v");
    ASSERT_TRUE(draft.save(path));
    const std::vector<char> bytes = readBytes(path);
    view = vdViewLoadData(bytes.data(), uint32_t(bytes.size()));
    ASSERT_NE(view, nullptr);
    vdSetBackgroundMode(view, 0);
    ASSERT_EQ(vdViewDrawPlane(view, 2), 0);
    EXPECT_TRUE(near(pixel(30, 30), 255, 0, 0)) << text(pixel(30, 30));
    EXPECT_TRUE(near(pixel(19, 30), 0, 0, 0));
    EXPECT_TRUE(near(pixel(41, 30), 0, 0, 0));
}

TEST_F(ViewDraw, NothingIsDrawnWithoutACurrentContext)
{
    loadSquare();
    window = vdWindowCreate();
    ASSERT_EQ(vdViewStart(view), 0);
    orlo_gl::GlContext::releaseCurrent();
    const int statuses[] = {vdViewDrawPlane(view, 0),        vdViewDrawPlane(view, 1),
                            vdViewDrawPlane(view, 2),        vdViewDrawPlane_Direct(view, 0),
                            vdViewDraw(window, view, 0, 0, 1), vdViewDrawWindow(view)};
    // Null and foreign records still come first.
    const int nullStatus = vdViewDrawPlane(nullptr, 2);
    const int foreignStatus = vdViewDrawPlane_Direct(reinterpret_cast<vdView_Struct*>(window), 0);
    std::string error;
    ASSERT_NE(orlo_gl::GlContext::shared(kWidth, kHeight, error), nullptr) << error;
    for (int s : statuses)
        EXPECT_EQ(s, -3);
    EXPECT_EQ(nullStatus, -1);
    EXPECT_EQ(foreignStatus, -2);
    EXPECT_EQ(view->renderDirty, 1) << "nothing was rendered";
    EXPECT_EQ(view->renderTexture, 0u);
    const struct
    {
        const char* name;
        std::function<int(vdView_Struct*)> draw;
    } draws[] = {{"mode 0", [](vdView_Struct* v) { return vdViewDrawPlane(v, 0); }},
                 {"mode 1", [](vdView_Struct* v) { return vdViewDrawPlane(v, 1); }},
                 {"mode 2", [](vdView_Struct* v) { return vdViewDrawPlane(v, 2); }},
                 {"direct", [](vdView_Struct* v) { return vdViewDrawPlane_Direct(v, 0); }},
                 {"window", [this](vdView_Struct* v) { return vdViewDraw(window, v, 0, 0, 1); }},
                 {"current transformation", vdViewDrawWindow}};
    for (const auto& d : draws) {
        EXPECT_EQ(d.draw(nullptr), -1) << d.name;
        EXPECT_EQ(d.draw(reinterpret_cast<vdView_Struct*>(window)), -2) << d.name;
        EXPECT_EQ(d.draw(view), 0) << d.name;
    }
}

} // namespace
