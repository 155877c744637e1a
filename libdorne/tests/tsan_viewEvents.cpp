// Events and variable values from one thread while the view's data thread
// exchanges and samples them into a graph: the routing and the value functions take the view's mutex.
// Runs under ThreadSanitizer.
#include "viewSupport.h"

#include "dorneLog.h"
#include "dorneObjects.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace viewtest;

namespace {

TEST(ViewEventThreads, EventsAndValuesWhileTheDataThreadRuns)
{
    setLogLevel(0);
    Folder folder;
    ASSERT_FALSE(folder.path.empty());
    ViewDraft draft(0, 0, 200, 100);
    DD_DATA_TYPE_STRUCT* s = draft.source(5);
    ViewDraft::variable(s, "level", DD_INT);
    ViewDraft::variable(s, "text", DD_STRING);
    ViewDraft::variable(s, "wide", DD_LONG);
    // A line is picked by its segment, without a drawn frame.
    ELEMENT_STRUCT* wire = elementCreate(VD_LINE);
    auto* l = static_cast<LINE_STRUCT*>(wire->data);
    l->x1 = 0, l->y1 = 50, l->x2 = 100, l->y2 = 50;
    wire->update(wire);
    ACTION_STRUCT* a = addAction(draft.add(wire), 22, "level");
    a->mouseMode = 1;
    a->mouseInc = 1;
    a->mouseMax = 1e6f;
    a->mouseClamp = 1;
    // The data thread samples all three into a graph at each tick.
    ELEMENT_STRUCT* chart = draft.add(graph(0, 0, 200, 100, "level", 20, 1000));
    addAction(chart, 6, "wide");
    const std::string path = folder.file("events.v");
    ASSERT_TRUE(draft.save(path));
    vdView_Struct* view = vdViewLoad(path.c_str());
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(vdViewStartAnim(view), 0);

    const int kRounds = 300;
    char out[256];
    for (int i = 0; i < kRounds; ++i) {
        vdiViewPickElementRun(view, 0, 0, 50, 50, 1.0f);
        vdiViewPickElementRun(view, 1, 0, 50, 50, 1.0f);
        EXPECT_EQ(vdVarSetStr(view, "text", std::to_string(i).c_str()), 1);
        const int64_t wide = i;
        EXPECT_EQ(vdVarSet(view, "wide", &wide), 1);
        EXPECT_GE(vdVarGetStr(view, "level", out), 0);
    }
    EXPECT_GE(vdVarGetStr(view, "level", out), 0);
    EXPECT_EQ(std::string(out), std::to_string(kRounds));
    EXPECT_GE(vdVarGetStr(view, "text", out), 0);
    EXPECT_EQ(std::string(out), std::to_string(kRounds - 1));
    EXPECT_EQ(vdViewStop(view), 0);
    EXPECT_EQ(vdViewFree(view), 0);
}

} // namespace
