// Shared by the view lifecycle and drawing tests: view files written from an
// element list, data sources and a view block built in memory, the probe
// module installed where a load finds it, and its trace read back (as the
// module tests read theirs).
// Plain C++ and the public headers only (no test framework), so that the
// ThreadSanitizer tests can use it too.
#ifndef DORNE_VIEW_SUPPORT_H
#define DORNE_VIEW_SUPPORT_H

#include "dorneActions.h"
#include "dorneDataSources.h"
#include "dorneElements.h"
#include "dorneFiles.h"
#include "dorneView.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

namespace viewtest {

// A fresh folder under /tmp, removed with everything in it.
class Folder
{
public:
    Folder()
    {
        char pattern[] = "/tmp/dorneViewXXXXXX";
        const char* made = mkdtemp(pattern);
        path = made != nullptr ? made : "";
    }
    ~Folder()
    {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    std::string file(const std::string& name) const { return path + "/" + name; }
    std::string path;
};

// What a view file holds, built in memory and written with saveFile.
struct ViewDraft
{
    ELEMENT_STRUCT* elements = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config{};

    ViewDraft(float x, float y, float width, float height)
    {
        config.x = x, config.y = y, config.width = width, config.height = height;
        config.r = 0.25f, config.g = 0.5f, config.b = 0.75f;
    }
    ~ViewDraft()
    {
        elementDeleteAll(&elements);
        while (sources != nullptr)
            delDataType(&sources, sources, 0);
    }
    ViewDraft(const ViewDraft&) = delete;
    ViewDraft& operator=(const ViewDraft&) = delete;

    void pageColour(float r, float g, float b) { config.r = r, config.g = g, config.b = b; }

    // A source of the type with the option and variable parameter counts a
    // file stores (ten entries each, as the reader makes them).
    DD_DATA_TYPE_STRUCT* source(int type, int dataOptions = 0, int varOptions = 0)
    {
        DD_DATA_TYPE_STRUCT* s = createDataType(10);
        s->type = type;
        s->dataOptionCount = dataOptions;
        s->varOptionCount = varOptions;
        appendDataType(&sources, s);
        return s;
    }
    static DD_VAR_STRUCT* variable(DD_DATA_TYPE_STRUCT* s, const char* name, int type, const char* defaultText = "")
    {
        DD_VAR_STRUCT* v = createVariable(10);
        v->paraCount = s->varOptionCount;
        v->type = type;
        std::snprintf(v->name, sizeof v->name, "%s", name);
        std::snprintf(v->defaultText, sizeof v->defaultText, "%s", defaultText);
        appendVariable(&s->variables, v);
        return v;
    }

    // Links a made element at the end of the view's list or of the group's
    // (whose box is updated).
    ELEMENT_STRUCT* add(ELEMENT_STRUCT* e, ELEMENT_STRUCT* group = nullptr)
    {
        e->parent = group;
        elementAppend(e, group != nullptr ? &group->children : &elements);
        if (group != nullptr)
            group->update(group);
        return e;
    }

    // Writes the view file; true when saveFile succeeded.
    bool save(const std::string& path) { return saveFile(path.c_str(), elements, sources, &config) == 0; }
};

// Corners lower-left, upper-left, upper-right, lower-right of a box.
inline void corners(float* xs, float* ys, float x0, float y0, float x1, float y1)
{
    const float cx[4] = {x0, x0, x1, x1}, cy[4] = {y0, y1, y1, y0};
    std::memcpy(xs, cx, sizeof cx);
    std::memcpy(ys, cy, sizeof cy);
}

// A filled, unframed rectangle from (x0, y0) to (x1, y1).
inline ELEMENT_STRUCT* filledRect(float x0, float y0, float x1, float y1, float r, float g, float b)
{
    ELEMENT_STRUCT* e = elementCreate(VD_RECTANGLE);
    auto* rect = static_cast<RECT_STRUCT*>(e->data);
    corners(rect->x, rect->y, x0, y0, x1, y1);
    rect->fill = 1;
    rect->outline = 0;
    rect->fillR = r, rect->fillG = g, rect->fillB = b, rect->fillA = 1;
    rect->antialias = 0;
    e->update(e);
    return e;
}

inline ELEMENT_STRUCT* scissor(float x0, float y0, float x1, float y1)
{
    ELEMENT_STRUCT* e = elementCreate(VD_SCISSOR);
    auto* s = static_cast<SCISSOR_STRUCT*>(e->data);
    corners(s->cornerX, s->cornerY, x0, y0, x1, y1);
    e->update(e);
    return e;
}

inline ACTION_STRUCT* addAction(ELEMENT_STRUCT* e, int type, const char* var)
{
    ACTION_STRUCT* a = createAction();
    a->type = type;
    std::snprintf(a->var, sizeof a->var, "%s", var);
    appendAction(&e->actions, a);
    return a;
}

// A time-axis graph of the box with one graph action on the variable.
inline ELEMENT_STRUCT* graph(float x, float y, float width, float height, const char* var, int samples = 50,
                             float rate = 100)
{
    ELEMENT_STRUCT* e = elementCreate(VD_GRAPH);
    auto* g = static_cast<GRAPH_STRUCT*>(e->data);
    g->type = 0;
    g->x = x, g->y = y, g->width = width, g->height = height;
    g->samples = samples;
    g->rate = rate;
    g->autoscale = g->autoscaleX = 0;
    e->update(e);
    addAction(e, 6, var);
    return e;
}

inline std::vector<char> readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The lines of the file, which is then removed: the calls a probe module
// traced since the last look.
inline std::vector<std::string> takeLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    in.close();
    std::remove(path.c_str());
    return lines;
}

// The complete lines of the file, which stays: a look at a trace a thread
// is still appending to. The removal of takeLines would lose a line the
// thread appends meanwhile, and a line the thread is writing is not one
// until its newline is in.
inline std::vector<std::string> completeLines(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    for (size_t from = 0, end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
        lines.push_back(text.substr(from, end - from));
    return lines;
}

// Keeps the data thread of an animated view from ending until released, so
// that a stop waits in its join for as long as a test needs. install() puts
// the hold in as the PostRun of a built-in source of the started view (after
// the start, whose defaults call PostRun on the starting thread); its first
// call, on the data thread, makes a thread-local object whose destructor
// runs as that thread ends: it reports that the thread is held, then waits.
// One hold at a time; released when it goes out of scope.
class DataThreadHold
{
public:
    DataThreadHold()
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        state().armed = state().held = state().released = false;
    }
    ~DataThreadHold() { release(); }
    DataThreadHold(const DataThreadHold&) = delete;
    DataThreadHold& operator=(const DataThreadHold&) = delete;

    // Into the animated view's first source of the built-in type that has
    // no PostRun, under the view's mutex; false when there is none.
    static bool install(vdView_Struct* view, int type)
    {
        bool installed = false;
        pthread_mutex_lock(&view->mutex);
        for (DD_DATA_TYPE_STRUCT* s = view->dataSources; s != nullptr && !installed; s = s->next)
            if (s->type == type && s->fnPostRun == nullptr) {
                s->fnPostRun = postRun;
                installed = true;
            }
        pthread_mutex_unlock(&view->mutex);
        return installed;
    }
    // Within 30 s, each: the data thread has exchanged once; it has left
    // its loop and is held.
    bool armed() { return waitFor(&State::armed); }
    bool held() { return waitFor(&State::held); }
    void release()
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        state().released = true;
        state().changed.notify_all();
    }

private:
    struct State
    {
        std::mutex mutex;
        std::condition_variable changed;
        bool armed = false, held = false, released = false;
    };
    static State& state()
    {
        static State s;
        return s;
    }
    static bool waitFor(bool State::*flag)
    {
        std::unique_lock<std::mutex> lock(state().mutex);
        return state().changed.wait_for(lock, std::chrono::seconds(30), [flag] { return state().*flag; });
    }
    struct AtThreadEnd
    {
        ~AtThreadEnd()
        {
            std::unique_lock<std::mutex> lock(state().mutex);
            state().held = true;
            state().changed.notify_all();
            state().changed.wait(lock, [] { return state().released; });
        }
    };
    static int postRun(DD_DATA_TYPE_STRUCT*)
    {
        static thread_local AtThreadEnd atEnd;
        (void)&atEnd;
        std::lock_guard<std::mutex> lock(state().mutex);
        state().armed = true;
        state().changed.notify_all();
        return 0;
    }
};

#ifdef DORNE_PROBE_DIR
// The probe module (libVddProbe.so, type 100) where a load finds it:
// NALVO_HOME/bin, with the trace file beside; both environment variables
// are set while the object lives.
class ProbeHome
{
public:
    ProbeHome()
    {
        std::error_code error;
        std::filesystem::create_directories(folder.path + "/bin", error);
        std::filesystem::copy_file(std::string(DORNE_PROBE_DIR) + "/libVddProbe.so",
                                   folder.path + "/bin/libVddProbe.so", error);
        installed = !error;
        tracePath = folder.file("trace");
        setenv("NALVO_HOME", folder.path.c_str(), 1);
        setenv("PROBE_TRACE", tracePath.c_str(), 1);
    }
    ~ProbeHome()
    {
        unsetenv("NALVO_HOME");
        unsetenv("PROBE_TRACE");
    }
    ProbeHome(const ProbeHome&) = delete;
    ProbeHome& operator=(const ProbeHome&) = delete;

    // The calls recorded since the last look.
    std::vector<std::string> trace() { return takeLines(tracePath); }
    // The same, left for the next trace(): while a data thread runs.
    std::vector<std::string> look() const { return completeLines(tracePath); }

    static int count(const std::vector<std::string>& lines, const std::string& prefix)
    {
        int n = 0;
        for (const std::string& l : lines)
            n += l.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
        return n;
    }

    Folder folder;
    std::string tracePath;
    bool installed = false;
};

// A probe source with a variable "count" the module fills and a variable
// "level" (default "0x10") that a mouse action of a rectangle writes.
inline void addProbeSource(ViewDraft& draft)
{
    DD_DATA_TYPE_STRUCT* s = draft.source(100, 3, 2);
    ViewDraft::variable(s, "count", DD_INT);
    ViewDraft::variable(s, "level", DD_INT, "0x10");
    ELEMENT_STRUCT* button = draft.add(filledRect(10, 10, 30, 30, 1, 1, 1));
    addAction(button, 22, "level");
}
#endif

} // namespace viewtest

#endif
