// Views loaded, started, stopped and freed over and over while other
// threads use them: a second thread reads and writes variables under the
// view's mutex between start and stop, the caller draws, a free meets
// another thread's stop, four threads load and free at once. The same tests run under ThreadSanitizer
// (tsan_viewStress.cpp) and under AddressSanitizer with leak detection
// (gltest_viewStress.cpp).
#ifndef DORNE_VIEW_STRESS_H
#define DORNE_VIEW_STRESS_H

#include "dorneGlTest.h"
#include "dorneHash.h"
#include "viewSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using namespace viewtest;

class ViewStress : public DorneGlTest
{
protected:
    void SetUp() override
    {
        DorneGlTest::SetUp();
        if (HasFatalFailure())
            return;
        // Constant, internal and test-signal sources; a graph and a
        // rectangle inside a group, and a button that writes "b".
        ViewDraft draft(0, 0, 200, 100);
        DD_DATA_TYPE_STRUCT* constant = draft.source(2, 0, 1);
        ViewDraft::variable(constant, "a", DD_FLOAT, "1.5");
        ViewDraft::variable(constant, "b", DD_INT, "3");
        DD_DATA_TYPE_STRUCT* internal = draft.source(5, 0, 1);
        ViewDraft::variable(internal, "t", DD_DOUBLE);
        DD_DATA_TYPE_STRUCT* signal = draft.source(1, 0, 1);
        ViewDraft::variable(signal, "s", DD_FLOAT);
        ELEMENT_STRUCT* group = draft.add(elementCreate(VD_GROUP));
        draft.add(graph(100, 50, 80, 40, "s"), group);
        draft.add(filledRect(0, 0, 50, 50, 0, 1, 0), group);
        draft.add(scissor(10, 10, 40, 40), group);
        ELEMENT_STRUCT* button = draft.add(filledRect(150, 10, 190, 40, 1, 1, 1));
        addAction(button, 22, "b");
        path = folder.file("stress.v");
        ASSERT_TRUE(draft.save(path));
        image = readBytes(path);
        ASSERT_FALSE(image.empty());
        pixelProjection();
    }

    // Reads and writes "a" and "b" under the view's mutex until told to stop,
    // three times at least; the number of passes.
    static long useVariables(vdView_Struct* view, const std::atomic<bool>& stop)
    {
        long passes = 0;
        do {
            pthread_mutex_lock(&view->mutex);
            auto* a = static_cast<DD_VAR_STRUCT*>(mpiHashSearchAscii(view->variables, "a"));
            auto* b = static_cast<DD_VAR_STRUCT*>(mpiHashSearchAscii(view->variables, "b"));
            if (a != nullptr && a->value != nullptr && b != nullptr && b->value != nullptr) {
                float value;
                std::memcpy(&value, a->value, sizeof value);
                const int32_t next = int32_t(value) + int32_t(passes);
                std::memcpy(b->value, &next, sizeof next);
                ++passes;
            }
            pthread_mutex_unlock(&view->mutex);
            // Leaves the mutex to the others between passes.
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        } while (!stop.load() || passes < 3);
        return passes;
    }

    Folder folder;
    std::string path;
    std::vector<char> image;
};

TEST_F(ViewStress, StartStopAndFreeCycles)
{
    // Held throughout, so that the graphs' label font is shared by every
    // load instead of being made again each time.
    vdView_Struct* keeper = vdViewLoad(path.c_str());
    ASSERT_NE(keeper, nullptr);
    long passes = 0;
    for (int i = 0; i < 500; ++i) {
        vdView_Struct* view = (i % 3 == 0) ? vdViewLoad(path.c_str())
                                           : vdViewLoadData(image.data(), uint32_t(image.size()));
        ASSERT_NE(view, nullptr) << i;
        const bool animated = i % 2 == 1;
        ASSERT_EQ(animated ? vdViewStartAnim(view) : vdViewStart(view), 0) << i;
        std::atomic<bool> stop{false};
        long used = 0;
        std::thread user([&] { used = useVariables(view, stop); });
        // A draw exchanges in state 1 (a render texture is 4 MB to make:
        // few of them).
        if (i % 5 == 0)
            ASSERT_EQ(vdViewDrawPlane(view, i % 25 == 0 ? 0 : 2), 0);
        ASSERT_EQ(vdViewSetColorFactor(view, 1, 1, 1, 1), 0);
        stop = true;
        user.join();
        passes += used;
        if (i % 4 != 3)
            ASSERT_EQ(vdViewStop(view), 0) << i;
        ASSERT_EQ(vdViewFree(view), 0) << i; // stops a running one first
    }
    EXPECT_GE(passes, 1500);
    EXPECT_EQ(vdViewFree(keeper), 0);
}

TEST_F(ViewStress, DrawsWhileTheDataThreadRuns)
{
    vdView_Struct* view = vdViewLoad(path.c_str());
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(vdViewStartAnim(view), 0);
    std::atomic<bool> stop{false};
    std::thread user([&] { useVariables(view, stop); });
    std::thread settings([&] {
        for (int i = 0; !stop.load(); ++i) {
            vdViewSetScissorType(view, i % 2);
            vdSetBackgroundMode(view, i % 2);
            vdViewSetHaltMode(view, 0);
            vdViewWidth(view);
            std::this_thread::yield();
        }
    });
    vdWindow_Struct* window = vdWindowCreate();
    ASSERT_EQ(vdWindowInit(window, kWidth, kHeight), 0);
    for (int frame = 0; frame < 60; ++frame) {
        EXPECT_EQ(vdViewDrawPlane(view, frame % 3), 0);
        EXPECT_EQ(vdViewDraw(window, view, float(frame % 5), 0, 1.0f + 0.02f * float(frame % 2)), 0);
        EXPECT_EQ(vdViewDrawWindow(view), 0);
    }
    stop = true;
    user.join();
    settings.join();
    EXPECT_EQ(vdViewStop(view), 0);
    EXPECT_EQ(view->threadFinished, 1);
    EXPECT_EQ(vdViewFree(view), 0);
    std::free(window);
}

// A stop lets go of the view's mutex while it waits for the data thread,
// and takes it again afterwards: a free on another thread meanwhile must
// refuse (-3) and leave the record whole, and succeed once the stop has
// returned. The hold keeps the data thread, and so the stop, waiting.
TEST_F(ViewStress, FreeRefusedWhileAnotherThreadStops)
{
    for (const bool stopAnim : {false, true}) {
        SCOPED_TRACE(stopAnim ? "vdViewStopAnim" : "vdViewStop");
        DataThreadHold hold;
        vdView_Struct* view = vdViewLoad(path.c_str());
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(vdViewStartAnim(view), 0);
        ASSERT_TRUE(DataThreadHold::install(view, 2)); // the constant source
        ASSERT_TRUE(hold.armed());
        std::atomic<int> stopped{1};
        std::thread stopper([&] { stopped = stopAnim ? vdViewStopAnim(view) : vdViewStop(view); });
        // Held: the stop has set state 0, let go of the mutex and joins.
        const bool held = hold.held();
        const int freed = held ? vdViewFree(view) : 1;
        const int started = freed == 0 ? 0 : vdViewStartAnim(view);
        hold.release();
        stopper.join();
        ASSERT_TRUE(held);
        ASSERT_EQ(freed, -3) << "freed under the stop";
        EXPECT_EQ(started, -3);
        EXPECT_EQ(stopped.load(), 0);
        EXPECT_EQ(view->state, 0);
        EXPECT_EQ(view->threadFinished, 1);
        EXPECT_EQ(vdViewFree(view), 0);
    }
}

TEST_F(ViewStress, LoadsAndFreesOnFourThreads)
{
    std::atomic<int> loaded{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 40; ++i) {
                vdView_Struct* view = (i + t) % 2 == 0 ? vdViewLoad(path.c_str())
                                                       : vdViewLoadData(image.data(), uint32_t(image.size()));
                if (view == nullptr)
                    continue;
                ++loaded;
                if (i % 4 == 0)
                    vdViewStartAnim(view);
                else if (i % 4 == 1)
                    vdViewStart(view);
                vdViewFree(view);
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(loaded.load(), 160);
}

} // namespace

#endif
