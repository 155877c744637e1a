// What only the runtime's seams show: a data thread that cannot be made,
// how often the draws recompute the clip regions of groups that hold a
// SCISSOR element, and the class facade's free meeting another thread's
// stop.
#include "view/NalvoViewImpl.h"
#include "view/viewInternal.h"

#include "dorneGlTest.h"
#include "leakCheck.h"
#include "viewSupport.h"

#include <GL/gl.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <memory>
#include <thread>

using namespace viewtest;

namespace {

int cannotCreate(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*)
{
    return EAGAIN;
}

class ViewHooks : public DorneGlTest
{
protected:
    void SetUp() override
    {
        DorneGlTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(probe.installed);
        // A probe source and a group whose SCISSOR clips a larger square.
        ViewDraft draft(0, 0, 100, 80);
        addProbeSource(draft);
        ELEMENT_STRUCT* group = draft.add(elementCreate(VD_GROUP));
        draft.add(filledRect(0, 0, 60, 60, 0, 1, 0), group);
        draft.add(scissor(20, 20, 40, 40), group);
        const std::string path = folder.file("clip.v");
        ASSERT_TRUE(draft.save(path));
        view = vdViewLoad(path.c_str());
        ASSERT_NE(view, nullptr);
        vdSetBackgroundMode(view, 0);
        window = vdWindowCreate();
        ASSERT_EQ(vdWindowInit(window, kWidth, kHeight), 0);
    }
    void TearDown() override
    {
        dorne::viewThreadCreate = pthread_create;
        if (view != nullptr)
            EXPECT_EQ(vdViewFree(view), 0);
        std::free(window);
        expectNoLeaks();
    }

    Folder folder;
    ProbeHome probe;
    vdView_Struct* view = nullptr;
    vdWindow_Struct* window = nullptr;
};

TEST_F(ViewHooks, AThreadThatCannotBeMadeLeavesTheViewStopped)
{
    probe.trace();
    dorne::viewThreadCreate = cannotCreate;
    EXPECT_EQ(vdViewStartAnim(view), -4);
    EXPECT_EQ(view->state, 0);
    EXPECT_EQ(view->variables->count, 0u) << "the table is emptied again";
    std::vector<std::string> lines = probe.trace();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "close") << "the sources are closed again";
    EXPECT_EQ(ProbeHome::count(lines, "run "), 0);
    EXPECT_EQ(vdViewStop(view), -3);
    dorne::viewThreadCreate = pthread_create;
    EXPECT_EQ(vdViewStartAnim(view), 0);
    EXPECT_EQ(view->state, 2);
    EXPECT_EQ(view->variables->count, 2u);
    EXPECT_EQ(vdViewStopAnim(view), 0);
    lines = probe.trace();
    EXPECT_EQ(ProbeHome::count(lines, "close"), 1);
}

TEST_F(ViewHooks, ClipRegionsAreRecomputedWhenOffsetOrScaleMoves)
{
    const long start = dorne::viewClipRefreshes.load();
    auto refreshes = [&] { return dorne::viewClipRefreshes.load() - start; };
    const struct
    {
        const char* name;
        float x, y, scale;
        long expected; // refreshes so far
    } steps[] = {
        {"first draw", 0, 0, 1.0f, 1},    {"same offset and scale", 0, 0, 1.0f, 1},
        {"scale by 0.005", 0, 0, 1.005f, 1}, {"scale by 0.02", 0, 0, 1.02f, 2},
        {"back by 0.02", 0, 0, 1.0f, 3},   {"offset x", 1, 0, 1.0f, 4},
        {"offset y", 1, 1, 1.0f, 5},       {"fraction of a pixel", 1.4f, 1.4f, 1.0f, 5},
    };
    for (const auto& s : steps) {
        ASSERT_EQ(vdViewDraw(window, view, s.x, s.y, s.scale), 0) << s.name;
        EXPECT_EQ(refreshes(), s.expected) << s.name;
    }
    EXPECT_EQ(view->scissorOffsetX, 1);
    EXPECT_EQ(view->scissorScale, 1.0f);
    ELEMENT_STRUCT* group = view->elements->next;
    ASSERT_EQ(group->kind, VD_GROUP);
    EXPECT_EQ(group->clip, 1);

    // The other entry points refresh against their own offset and scale.
    ASSERT_EQ(vdViewDrawPlane_Direct(view, 0), 0);
    EXPECT_EQ(refreshes(), 5) << "the draw offset and scale did not move";
    ASSERT_EQ(vdViewDraw(window, view, 0, 0, 1.0f), 0);
    EXPECT_EQ(refreshes(), 6);
    ASSERT_EQ(vdViewDrawWindow(view), 0);
    ASSERT_EQ(vdViewDrawPlane(view, 1), 0);
    EXPECT_EQ(refreshes(), 6);
}

TEST_F(ViewHooks, GroupsAreClippedByBothScissorTypes)
{
    ASSERT_EQ(vdViewStart(view), 0);
    for (int type : {1, 0}) {
        SCOPED_TRACE(type);
        EXPECT_EQ(vdViewSetScissorType(view, type), 0);
        pixelProjection();
        clear(0, 0, 0, 1);
        ASSERT_EQ(vdViewDrawPlane_Direct(view, 0), 0);
        EXPECT_EQ(pixel(30, 30)[1], 255);
        // Inside the square, outside the scissor (the probe's button is at
        // 10..30).
        EXPECT_EQ(pixel(50, 30)[1], 0);
        EXPECT_EQ(pixel(30, 50)[1], 0);
        EXPECT_EQ(pixel(5, 50)[1], 0);
        EXPECT_EQ(glIsEnabled(GL_SCISSOR_TEST), GL_FALSE);
    }
}

// A facade whose view another thread is stopping: its load and its
// destruction wait until that stop has returned, then free the view (not
// drop it, which the leak check would find, nor free it under the stop).
TEST_F(ViewHooks, FacadeFreeWaitsForAnotherThreadsStop)
{
    ViewDraft draft(0, 0, 100, 80);
    ViewDraft::variable(draft.source(2, 0, 1), "a", DD_INT, "7");
    const std::string path = folder.file("constant.v");
    ASSERT_TRUE(draft.save(path));
    for (const bool destroy : {false, true}) {
        SCOPED_TRACE(destroy ? "destruction" : "load");
        DataThreadHold hold;
        auto facade = std::make_unique<Nalvo2D::NalvoViewImpl>();
        ASSERT_TRUE(facade->load(path));
        ASSERT_TRUE(facade->startView(true));
        ASSERT_TRUE(DataThreadHold::install(facade->view, 2));
        ASSERT_TRUE(hold.armed());
        vdView_Struct* stopping = facade->view;
        std::thread stopper([stopping] { vdViewStop(stopping); });
        const bool held = hold.held();
        std::atomic<bool> done{false};
        std::thread owner([&] {
            if (destroy)
                facade.reset();
            else
                facade->load(path);
            done = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const bool doneEarly = done.load();
        hold.release();
        stopper.join();
        owner.join();
        EXPECT_TRUE(held);
        EXPECT_FALSE(doneEarly) << "the free did not wait for the stop";
        if (!destroy) {
            ASSERT_NE(facade->view, nullptr);
            EXPECT_NE(facade->view, stopping);
        }
    }
}

} // namespace
