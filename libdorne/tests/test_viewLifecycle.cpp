// The view lifecycle: loads from a file and from memory, the status codes
// of every wrong order and foreign record, the start order the probe
// module records, the data thread's cycles and its end, and the clock
// advanced by hand.
#include "leakCheck.h"
#include "viewSupport.h"

#include "dorneHash.h"
#include "sartoLibrary.h"

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

using namespace viewtest;

namespace {

class ViewLifecycle : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(probe.installed);
        ASSERT_FALSE(folder.path.empty());
    }

    // A view file of a probe source and a graph inside a group; its path.
    std::string probeView()
    {
        ViewDraft draft(0, 0, 200, 100);
        addProbeSource(draft);
        ELEMENT_STRUCT* group = draft.add(elementCreate(VD_GROUP));
        draft.add(graph(100, 50, 80, 40, "count"), group);
        const std::string path = folder.file("probe.v");
        EXPECT_TRUE(draft.save(path));
        return path;
    }

    static int variablesIn(const vdView_Struct* view) { return int(view->variables->count); }

    Folder folder;
    ProbeHome probe;
};

// The calls of a probe trace before its first cycle's run: a start's own.
std::vector<std::string> callsBeforeTheFirstRun(const std::vector<std::string>& lines)
{
    std::vector<std::string> calls;
    for (const std::string& line : lines) {
        if (ProbeHome::count({line}, "run ") == 1)
            break;
        calls.push_back(line);
    }
    return calls;
}

int fontFolders()
{
    int n = 0;
    for (const FNT_DATA_STRUCT* p = FNT_LIBRARY_STRUCT.paths.child; p != nullptr; p = p->next)
        ++n;
    return n;
}

TEST_F(ViewLifecycle, LoadsAFileTwiceAndSetsTheFontsUpOnce)
{
    const std::string path = probeView();
    if (FNT_LIBRARY_STRUCT.initialised)
        ftLibraryFree();
    vdView_Struct* a = vdViewLoad(path.c_str());
    ASSERT_NE(a, nullptr);
    // ".", "../fonts", "../../fonts" and NALVO_HOME's.
    EXPECT_EQ(fontFolders(), 4);
    vdView_Struct* b = vdViewLoad(path.c_str());
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(fontFolders(), 4) << "the second load adds no folder";
    EXPECT_NE(a->elements, b->elements);
    EXPECT_NE(a->dataSources, b->dataSources);

    for (vdView_Struct* v : {a, b}) {
        EXPECT_EQ(v->magic, VD_VIEW_MAGIC);
        EXPECT_EQ(v->state, 0);
        EXPECT_EQ(v->drawOffsetX, 0);
        EXPECT_EQ(v->drawOffsetY, 0);
        EXPECT_EQ(v->drawScale, 1.0f);
        EXPECT_EQ(v->backgroundMode, 1);
        EXPECT_EQ(v->colorFactor[0], 1.0f);
        EXPECT_EQ(v->colorFactor[3], 1.0f);
        EXPECT_EQ(v->registry, nullptr) << "the registry is deleted after the merge";
        EXPECT_EQ(v->config.width, 200.0f);
        ASSERT_NE(v->dataSources, nullptr);
        EXPECT_STREQ(v->dataSources->name, "Probe") << "merged with the registered kind";
        EXPECT_EQ(v->dataSources->variables->write, 0);
        EXPECT_EQ(v->dataSources->variables->next->write, 1) << "a mouse action writes level";
        EXPECT_EQ(variablesIn(v), 0);
    }
    EXPECT_EQ(vdViewFree(a), 0);
    EXPECT_EQ(vdViewFree(b), 0);
    ftLibraryFree();
    expectNoLeaks();
}

TEST_F(ViewLifecycle, RefusedFilesGiveNullAndLeakNothing)
{
    const std::string good = probeView();
    const std::vector<char> bytes = readBytes(good);
    ASSERT_GT(bytes.size(), 200u);
    const std::string cut = folder.file("cut.v");
    {
        std::ofstream out(cut, std::ios::binary);
        out.write(bytes.data(), std::streamsize(bytes.size() - 7));
    }
    const std::string garbled = folder.file("garbled.v");
    {
        std::vector<char> g = bytes;
        g[0] = 'X';
        std::ofstream out(garbled, std::ios::binary);
        out.write(g.data(), std::streamsize(g.size()));
    }
    EXPECT_EQ(vdViewLoad(nullptr), nullptr);
    EXPECT_EQ(vdViewLoad(folder.file("missing.v").c_str()), nullptr);
    EXPECT_EQ(vdViewLoad(folder.path.c_str()), nullptr) << "a folder";
    EXPECT_EQ(vdViewLoad(cut.c_str()), nullptr);
    EXPECT_EQ(vdViewLoad(garbled.c_str()), nullptr);
    EXPECT_EQ(vdViewLoadData(nullptr, 100), nullptr);
    EXPECT_EQ(vdViewLoadData(bytes.data(), 0), nullptr);
    // Every cut of the image, and an image bounded short of its end.
    for (size_t n : {size_t(5), size_t(30), size_t(37), bytes.size() / 2, bytes.size() - 1})
        EXPECT_EQ(vdViewLoadData(bytes.data(), uint32_t(n)), nullptr) << n << " bytes";
    std::vector<char> g = bytes;
    g[0] = 'X';
    EXPECT_EQ(vdViewLoadData(g.data(), uint32_t(g.size())), nullptr);
    ftLibraryFree();
    expectNoLeaks();
}

// The names of the files made in /tmp while fn runs.
std::vector<std::string> filesMadeInTmp(const std::function<void()>& fn)
{
    std::vector<std::string> names;
    const int fd = inotify_init1(IN_NONBLOCK);
    EXPECT_GE(fd, 0);
    const int watch = inotify_add_watch(fd, "/tmp", IN_CREATE | IN_MOVED_TO);
    EXPECT_GE(watch, 0);
    fn();
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (char* p = buffer; p < buffer + n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(p);
            if (e->len > 0)
                names.emplace_back(e->name);
            p += sizeof(inotify_event) + e->len;
        }
    }
    close(fd);
    return names;
}

TEST_F(ViewLifecycle, LoadsFromMemoryWithoutAFile)
{
    const std::string path = probeView();
    const std::vector<char> bytes = readBytes(path);
    vdView_Struct* fromFile = vdViewLoad(path.c_str());
    ASSERT_NE(fromFile, nullptr);
    vdView_Struct* view = nullptr;
    const std::vector<std::string> made =
        filesMadeInTmp([&] { view = vdViewLoadData(bytes.data(), uint32_t(bytes.size())); });
    ASSERT_NE(view, nullptr);
    for (const std::string& name : made)
        EXPECT_NE(name, "vdTmp.v");
    EXPECT_FALSE(std::filesystem::exists("/tmp/vdTmp.v"));
    EXPECT_EQ(view->drawOffsetX, 0);
    EXPECT_EQ(view->drawOffsetY, 0);
    EXPECT_EQ(view->drawScale, 1.0f);
    EXPECT_EQ(std::memcmp(&view->config, &fromFile->config, sizeof view->config), 0);
    ASSERT_NE(view->elements, nullptr);
    EXPECT_EQ(view->elements->kind, fromFile->elements->kind);
    EXPECT_STREQ(view->dataSources->name, "Probe");
    EXPECT_EQ(view->dataSources->variables->next->write, 1);
    EXPECT_EQ(vdViewFree(view), 0);
    EXPECT_EQ(vdViewFree(fromFile), 0);

    // Two memory loads at once.
    vdView_Struct* loaded[2] = {nullptr, nullptr};
    std::thread t0([&] { loaded[0] = vdViewLoadData(bytes.data(), uint32_t(bytes.size())); });
    std::thread t1([&] { loaded[1] = vdViewLoadData(bytes.data(), uint32_t(bytes.size())); });
    t0.join();
    t1.join();
    for (vdView_Struct* v : loaded) {
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(vdViewStart(v), 0);
        EXPECT_EQ(vdViewFree(v), 0);
    }
    probe.trace();
    ftLibraryFree();
    expectNoLeaks();
}

// Every status of the lifecycle for null and foreign records and wrong
// orders, one row per call and state.
TEST_F(ViewLifecycle, StatusCodes)
{
    vdView_Struct* view = vdViewLoad(probeView().c_str());
    ASSERT_NE(view, nullptr);
    vdView_Struct foreign{};
    foreign.magic = VD_WINDOW_MAGIC;
    vdWindow_Struct* window = vdWindowCreate();
    ASSERT_NE(window, nullptr);
    auto* windowAsView = reinterpret_cast<vdView_Struct*>(window);

    using Call = std::function<int(vdView_Struct*)>;
    const struct
    {
        const char* name;
        Call call;
        int stopped, started, animated; // status in states 0, 1, 2 (the call is undone after)
    } rows[] = {
        {"vdViewPutData", [](vdView_Struct* v) { return vdViewPutData(v, 0.5); }, -3, 0, 0},
        {"vdViewSetTime", [](vdView_Struct* v) { return vdViewSetTime(v, 10.0f); }, 0, 0, 0},
        {"vdViewResetGraph", [](vdView_Struct* v) { return vdViewResetGraph(v, 1.0f); }, 0, 0, 0},
        {"vdViewSetHaltMode", [](vdView_Struct* v) { return vdViewSetHaltMode(v, 1); }, -3, 0, 0},
        {"vdViewStart", vdViewStart, 0, -3, -3},
        {"vdViewStartAnim", vdViewStartAnim, 0, -3, -3},
        {"vdViewStop", vdViewStop, -3, 0, 0},
        {"vdViewStopAnim", vdViewStopAnim, -3, -3, 0},
        {"vdViewSetColorFactor", [](vdView_Struct* v) { return vdViewSetColorFactor(v, 1, 1, 1, 1); }, 0, 0, 0},
        {"vdViewSetScissorType", [](vdView_Struct* v) { return vdViewSetScissorType(v, 0); }, 0, 0, 0},
        {"vdViewSetUseDepthBuffer", [](vdView_Struct* v) { return vdViewSetUseDepthBuffer(v, 0); }, 0, 0, 0},
        {"vdViewSetUseLineScaling", [](vdView_Struct* v) { return vdViewSetUseLineScaling(v, 0); }, 0, 0, 0},
        {"vdViewWidth", vdViewWidth, 200, 200, 200},
        {"vdViewHeight", vdViewHeight, 100, 100, 100},
        {"vdViewPosX", vdViewPosX, 100, 100, 100},
        {"vdViewPosY", vdViewPosY, 50, 50, 50},
        {"vdViewFree", vdViewFree, 0, 0, 0},
    };
    const std::function<int(vdView_Struct*)> enter[3] = {
        [](vdView_Struct*) { return 0; }, vdViewStart, vdViewStartAnim};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.call(nullptr), -1);
        EXPECT_EQ(row.call(&foreign), -2);
        EXPECT_EQ(row.call(windowAsView), -2);
        const int expected[3] = {row.stopped, row.started, row.animated};
        for (int state = 0; state < 3; ++state) {
            SCOPED_TRACE(state);
            vdView_Struct* v = view;
            if (std::strcmp(row.name, "vdViewFree") == 0) {
                v = vdViewLoad(probeView().c_str());
                ASSERT_NE(v, nullptr);
            }
            ASSERT_EQ(enter[state](v), 0);
            ASSERT_EQ(v->state, state);
            EXPECT_EQ(row.call(v), expected[state]);
            if (v != view)
                continue; // freed
            if (v->state != 0)
                EXPECT_EQ(vdViewStop(v), 0);
            EXPECT_EQ(v->state, 0);
            EXPECT_EQ(variablesIn(v), 0) << "the variable table is empty when stopped";
        }
    }
    vdSetBackgroundMode(nullptr, 0);
    vdSetBackgroundMode(&foreign, 0);
    EXPECT_EQ(foreign.backgroundMode, 0);
    foreign.backgroundMode = 7;
    vdSetBackgroundMode(&foreign, 0);
    EXPECT_EQ(foreign.backgroundMode, 7) << "a foreign record is not written";
    EXPECT_EQ(fillActions(nullptr, 0, 1.0), -1);
    EXPECT_EQ(fillActions(view->elements, 0, 1.0), 0);
    EXPECT_EQ(vdViewFree(view), 0);
    std::free(window);
    probe.trace();
}

TEST_F(ViewLifecycle, StartOrderAndTheDataThread)
{
    vdView_Struct* view = vdViewLoad(probeView().c_str());
    ASSERT_NE(view, nullptr);
    probe.trace();
    view->haltMode = 3;
    view->previousEvent = 5;
    view->picked = view->elements;
    view->renderDirty = 0;

    ASSERT_EQ(vdViewStart(view), 0);
    EXPECT_EQ(probe.trace(), (std::vector<std::string>{"version", "open Probe host= p11=",
                                                       "open count offset= v10=", "open level offset= v10=",
                                                       "startView 2 variables", "set level changed=1 16",
                                                       "postRun"}));
    EXPECT_EQ(view->state, 1);
    EXPECT_EQ(view->haltMode, 0);
    EXPECT_EQ(view->previousEvent, -1);
    EXPECT_EQ(view->picked, nullptr);
    EXPECT_EQ(view->renderDirty, 1);
    EXPECT_EQ(variablesIn(view), 2);
    auto* level = static_cast<DD_VAR_STRUCT*>(mpiHashSearchAscii(view->variables, "level"));
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(*static_cast<int32_t*>(level->value), 16);

    // By hand: no exchange, the view time advanced exactly, every graph
    // (inside its group) sampled once.
    ELEMENT_STRUCT* graphElement = view->elements->next->children;
    ASSERT_EQ(graphElement->kind, VD_GRAPH);
    const double before = view->viewTime;
    EXPECT_EQ(vdViewPutData(view, 0.5), 0);
    EXPECT_EQ(view->viewTime, before + 0.5);
    EXPECT_EQ(vdViewSetHaltMode(view, 2), 0);
    EXPECT_EQ(view->haltMode, 2);
    EXPECT_EQ(probe.trace(), std::vector<std::string>{});
    EXPECT_EQ(vdViewStop(view), 0);
    EXPECT_EQ(probe.trace(), std::vector<std::string>{"close"});
    EXPECT_EQ(vdViewSetTime(view, 10.0f), 0);
    EXPECT_EQ(view->viewTime, 10.0);
    EXPECT_EQ(vdViewResetGraph(view, 3.0f), 0);
    EXPECT_EQ(view->viewTime, 10.0);

    // Animated: cycles on the data thread, none after the stop. The start's
    // own calls come first in the trace; the thread's cycles follow, each
    // from its "run " to its "postRun". A look while the thread runs may
    // fall inside a cycle, so the cycles are judged after the join.
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(vdViewStartAnim(view), 0);
    EXPECT_EQ(view->haltMode, 0);
    EXPECT_EQ(view->state, 2);
    const std::vector<std::string> startCalls = callsBeforeTheFirstRun(probe.look());
    EXPECT_EQ(ProbeHome::count(startCalls, "open"), 3);
    EXPECT_EQ(ProbeHome::count(startCalls, "postRun"), 1) << "the defaults' PostRun";
    // (Not fatal: the thread runs until the stop below.)
    EXPECT_EQ(startCalls.empty() ? std::string("nothing") : startCalls.back(), "postRun")
        << "the start ends with the defaults' PostRun";
    // Three cycles, however late the thread is scheduled.
    const auto deadline = started + std::chrono::seconds(30);
    while (ProbeHome::count(probe.look(), "run ") < 3 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(vdViewStop(view), 0);
    const std::chrono::nanoseconds elapsed = std::chrono::steady_clock::now() - started;
    const double seconds = std::chrono::duration<double>(elapsed).count();
    EXPECT_EQ(view->threadFinished, 1);
    EXPECT_EQ(view->state, 0);
    EXPECT_EQ(variablesIn(view), 0);
    // The thread is joined: the trace is whole, from the start to the close.
    std::vector<std::string> lines = probe.trace();
    EXPECT_EQ(callsBeforeTheFirstRun(lines), startCalls);
    const int runs = ProbeHome::count(lines, "run ");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "close");
    EXPECT_EQ(ProbeHome::count(lines, "close"), 1);
    EXPECT_EQ(ProbeHome::count(lines, "postRun"), runs + 1) << "the defaults' PostRun and one per cycle";
    // Every cycle's run, in order, is followed by its PostRun before the
    // next run or the close.
    bool inCycle = false;
    int cycle = 0;
    for (size_t i = startCalls.size(); i < lines.size(); ++i) {
        const std::string& line = lines[i];
        SCOPED_TRACE("line " + std::to_string(i) + ": " + line);
        if (ProbeHome::count({line}, "run ") == 1) {
            EXPECT_FALSE(inCycle) << "run " << cycle << " has no PostRun";
            EXPECT_EQ(line, "run " + std::to_string(++cycle));
            inCycle = true;
        } else if (line == "postRun") {
            EXPECT_TRUE(inCycle) << "a PostRun outside a cycle";
            inCycle = false;
        } else if (line == "close") {
            EXPECT_FALSE(inCycle) << "run " << cycle << " has no PostRun";
        }
    }
    EXPECT_GE(runs, 3) << "three cycles within 30 s of the start";
    // Each cycle waits 10 ms on the monotonic clock before the next begins:
    // cycle n began at least (n - 1) * 10 ms after the start, and before the
    // stop returned.
    EXPECT_LE(std::chrono::nanoseconds(std::chrono::milliseconds(10)).count() * (runs - 1), elapsed.count())
        << runs << " cycles in " << seconds << " s";
    std::printf("data thread: %d cycles in %.3f s (%.0f per second)\n", runs, seconds, runs / seconds);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(probe.trace(), std::vector<std::string>{}) << "no cycle after the stop";
    EXPECT_GT(view->viewTime, 0.0);

    // A restart works, and a free of an animated view stops it first.
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(vdViewStartAnim(view), 0);
        ASSERT_EQ(vdViewStopAnim(view), 0);
    }
    probe.trace();
    ASSERT_EQ(vdViewStartAnim(view), 0);
    EXPECT_EQ(vdViewFree(view), 0);
    lines = probe.trace();
    EXPECT_EQ(ProbeHome::count(lines, "close"), 1);
    ftLibraryFree();
    expectNoLeaks();
}

} // namespace
