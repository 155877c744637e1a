// Views on several threads at once, with fonts and textures in play: two
// threads set up windows and draw views into them, each in a GL context of
// its own (the GL layer's state is the process's); the caller saves an
// animated view's lists while its data thread samples and exchanges,
// holding the view's mutex as dorneView.h asks; two threads build and
// fill polygons (the fill is tessellated in each thread's context). Runs
// under ThreadSanitizer.
#include "threadSupport.h"
#include "viewFileSupport.h"
#include "viewSupport.h"

#include "dorneFiles.h"
#include "dorneLog.h"
#include "dorneView.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using namespace viewtest;

class ViewThreads : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setLogLevel(0);
        ASSERT_TRUE(threadtest::setUpFonts());
        ASSERT_FALSE(folder.path.empty());
        // Every kind of element (a text with its font, an image with its
        // texture, a graph), and a test signal that a second graph samples
        // and a text shows.
        ViewDraft draft(0, 0, 400, 300);
        draft.elements = viewfile::everyKindView();
        DD_DATA_TYPE_STRUCT* signal = draft.source(1, 0, 1);
        ViewDraft::variable(signal, "s", DD_FLOAT);
        draft.add(graph(100, 50, 80, 40, "s"));
        ELEMENT_STRUCT* text = draft.add(elementCreate(VD_TEXT));
        addAction(text, 0, "s");
        path = folder.file("threads.v");
        ASSERT_TRUE(draft.save(path));
    }
    void TearDown() override { setLogLevel(1); }

    Folder folder;
    std::string path;
};

TEST_F(ViewThreads, WindowsSetUpAndDrawnOnTwoThreads)
{
    std::atomic<int> failures{0};
    const int without = threadtest::onThreads(2, [&](int) {
        vdView_Struct* view = vdViewLoad(path.c_str());
        vdWindow_Struct* window = vdWindowCreate();
        if (view == nullptr || window == nullptr) {
            ++failures;
        } else {
            for (int frame = 0; frame < 40; ++frame)
                if (vdWindowInit(window, 64, 64) != 0 || vdViewDraw(window, view, 0, 0, 0.25f) != 0)
                    ++failures;
        }
        vdViewFree(view);
        std::free(window);
    });
    EXPECT_EQ(without, 0) << "threads without a GL context";
    EXPECT_EQ(failures.load(), 0);
}

TEST_F(ViewThreads, PolygonsFilledOnTwoThreads)
{
    std::atomic<int> failures{0};
    const int without = threadtest::onThreads(2, [&](int t) {
        for (int round = 0; round < 20; ++round) {
            ELEMENT_STRUCT* e = elementCreate(VD_CPOLYGON);
            auto* poly = static_cast<POLY_STRUCT*>(e->data);
            poly->fill = 1;
            const float corners[][2] = {{0, 0}, {0, 40}, {20, 10}, {40, 40}, {40, 0}};
            for (const auto& corner : corners) {
                COORD_STRUCT* c = createCoord();
                c->x = corner[0] + float(t);
                c->y = corner[1];
                appendCoord(&poly->coords, c);
            }
            e->update(e); // tessellates the concave fill into a display list
            if (poly->glList == 0)
                ++failures;
            elementDelete(e, nullptr);
        }
    });
    EXPECT_EQ(without, 0) << "threads without a GL context";
    EXPECT_EQ(failures.load(), 0);
}

TEST_F(ViewThreads, AnimatedViewSavedUnderItsMutex)
{
    vdView_Struct* view = vdViewLoad(path.c_str());
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(vdViewStartAnim(view), 0);
    const std::string binary = folder.file("saved.v"), xml = folder.file("saved.xml");
    for (int round = 0; round < 20; ++round) {
        pthread_mutex_lock(&view->mutex);
        EXPECT_EQ(saveFile(binary.c_str(), view->elements, view->dataSources, &view->config), 0);
        EXPECT_EQ(saveFileXml(xml.c_str(), view->elements, view->dataSources, &view->config), 0);
        pthread_mutex_unlock(&view->mutex);
        // A few ticks of the data thread between two saves.
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
    }
    EXPECT_EQ(vdViewStop(view), 0);
    EXPECT_EQ(vdViewFree(view), 0);

    // What was saved last reads back whole.
    ELEMENT_STRUCT* elements = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config{};
    EXPECT_EQ(loadFile(binary.c_str(), &elements, &sources, &config), 0);
    EXPECT_EQ(config.width, 400.0f);
    EXPECT_EQ(viewfile::countSources(sources), 1);
    elementDeleteAll(&elements);
    while (sources != nullptr)
        delDataType(&sources, sources, 0);
}

} // namespace
