// Twenty animated views run at once for 5 seconds, each of 500 elements
// (twenty clipped groups with a graph each, shapes moved, turned and
// coloured by actions) fed by a constant, an internal and a test-signal
// source, while the caller draws one of them directly into a 1024 x 768
// buffer at 60 frames a second. Figures:
//  - cycles per second of each view's data thread (target: every view at
//    least 80; the thread sleeps 10 ms between ticks, so about 100 at most),
//  - the tick (the span the data thread holds the view's mutex: time,
//    exchange, graphs) mean and 99th percentile over all views,
//  - one direct draw (vdViewDrawPlane mode 2 and glFinish) while that
//    view's thread runs, waiting for its mutex included, beside the same draw
//    of the same view started without a thread ("drawRef").
// The ticks are timed by wrapping the mutex calls the library makes: only
// the views' mutexes, and only while recording, are looked at.
#include "../tests/actionSupport.h"
#include "../tests/viewSupport.h"
#include "glFrame.h"

#include "dorneLog.h"
#include "dorneView.h"
#include "orloGlContext.h"
#include "sartoLibrary.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const int kViews = 20, kWidth = 1024, kHeight = 768;
const int kGroups = 20, kShapesPerGroup = 10, kTopShapes = 500 - kGroups * (kShapesPerGroup + 3);
const int kVariablesPerSource = 10;
const double kSeconds = 5.0, kFramePeriod = 1.0 / 60.0;

// ---- Mutex wrapping ----

using LockFn = int (*)(pthread_mutex_t*);
LockFn realLock = nullptr, realUnlock = nullptr;

std::atomic<bool> recording{false};
pthread_t mainThread;
pthread_mutex_t* viewMutexes[kViews];
std::vector<double> ticks[kViews];  // seconds each tick held the mutex
double drawWaitSeconds = 0;         // the caller's waits for a view's mutex
long drawWaits = 0;

thread_local Clock::time_point heldSince;
thread_local int heldView = -1;

int viewOf(const pthread_mutex_t* m)
{
    for (int i = 0; i < kViews; ++i) // kViews mutexes
        if (viewMutexes[i] == m)
            return i;
    return -1;
}

LockFn resolve(const char* name)
{
    return reinterpret_cast<LockFn>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int pthread_mutex_lock(pthread_mutex_t* m)
{
    if (realLock == nullptr)
        realLock = resolve("pthread_mutex_lock");
    const int view = recording.load(std::memory_order_relaxed) ? viewOf(m) : -1;
    if (view < 0)
        return realLock(m);
    const Clock::time_point asked = Clock::now();
    const int result = realLock(m);
    const Clock::time_point got = Clock::now();
    if (pthread_equal(pthread_self(), mainThread)) {
        drawWaitSeconds += std::chrono::duration<double>(got - asked).count();
        ++drawWaits;
    } else {
        heldSince = got;
        heldView = view;
    }
    return result;
}

extern "C" int pthread_mutex_unlock(pthread_mutex_t* m)
{
    if (realUnlock == nullptr)
        realUnlock = resolve("pthread_mutex_unlock");
    if (heldView >= 0 && viewMutexes[heldView] == m) {
        if (recording.load(std::memory_order_relaxed))
            ticks[heldView].push_back(std::chrono::duration<double>(Clock::now() - heldSince).count());
        heldView = -1;
    }
    return realUnlock(m);
}

namespace {

using namespace viewtest;

void setText(DD_VAR_STRUCT* v, int option, const char* text)
{
    std::snprintf(v->para[option].text, size_t(v->para[option].capacity), "%s", text);
}

// Rectangles, circles and lines in turn about (x, y), moved by a test
// signal, turned by an internal variable, coloured by a constant.
ELEMENT_STRUCT* shape(int n, float x, float y)
{
    const float s = 6.0f + float(n % 4) * 3.0f;
    ELEMENT_STRUCT* e = nullptr;
    switch (n % 3) {
    case 0:
        e = filledRect(x - s, y - s / 2, x + s, y + s / 2, 0.2f, 0.5f, 0.9f);
        break;
    case 1: {
        e = elementCreate(VD_CIRCLE);
        auto* c = static_cast<CIRCLE_STRUCT*>(e->data);
        c->x = x, c->y = y, c->rx = s, c->ry = s;
        c->matrix[0] = c->matrix[3] = 1;
        c->antialias = 0;
        e->update(e);
        break;
    }
    default: {
        e = elementCreate(VD_LINE);
        auto* l = static_cast<LINE_STRUCT*>(e->data);
        l->x1 = x - s, l->y1 = y - s, l->x2 = x + s, l->y2 = y + s;
        e->update(e);
        break;
    }
    }
    char var[16];
    std::snprintf(var, sizeof var, "s%d", n % kVariablesPerSource);
    support::addAction(e, 1, var, -1, 1, -5, 5);
    std::snprintf(var, sizeof var, "i%d", n % kVariablesPerSource);
    support::addAction(e, 5, var, 0, 10, 0, 90);
    std::snprintf(var, sizeof var, "c%d", n % kVariablesPerSource);
    ACTION_STRUCT* colour = support::addAction(e, 12, var, 0, 100, 0, 100);
    for (int level = 0; level < 3; ++level)
        support::addTh(colour->thColor, 30.0f * float(level), 1, 0.3f * float(level), 0.6f, 1.0f);
    return e;
}

// The view file image: 500 elements over 1024 x 768 units.
std::vector<char> viewImage(std::string& error)
{
    // The graphs ask for their label font before any load has set up the
    // font library; the loads' own font set-up is what counts.
    ftSetDebugLevel(0);
    ViewDraft draft(0, 0, float(kWidth), float(kHeight));
    DD_DATA_TYPE_STRUCT* constant = draft.source(2, 0, 1);
    DD_DATA_TYPE_STRUCT* internal = draft.source(5, 0, 0);
    DD_DATA_TYPE_STRUCT* signal = draft.source(1, 0, 4);
    for (int i = 0; i < kVariablesPerSource; ++i) {
        char name[16], text[32];
        std::snprintf(name, sizeof name, "c%d", i);
        std::snprintf(text, sizeof text, "%d", 10 * i);
        setText(ViewDraft::variable(constant, name, DD_FLOAT), 0, text);
        std::snprintf(name, sizeof name, "i%d", i);
        std::snprintf(text, sizeof text, "%d", i);
        ViewDraft::variable(internal, name, DD_DOUBLE, text);
        std::snprintf(name, sizeof name, "s%d", i);
        DD_VAR_STRUCT* s = ViewDraft::variable(signal, name, DD_FLOAT);
        s->para[0].value = i % 9; // SIN .. RANDOM
        s->para[1].value = 3 + i % 5; // 0.1 .. 2 Hz
        setText(s, 2, "-1.0");
        setText(s, 3, "1.0");
    }
    int n = 0, elements = 0;
    for (int i = 0; i < kTopShapes; ++i, ++n, ++elements) // a grid over the lower part
        draft.add(shape(n, 15.0f + float(i % 40) * 25.0f, 15.0f + float(i / 40) * 30.0f));
    for (int g = 0; g < kGroups; ++g) { // 5 x 4 groups: scissor, graph, shapes
        const float gx = 110.0f + float(g % 5) * 200.0f, gy = 330.0f + float(g / 5) * 110.0f;
        ELEMENT_STRUCT* group = draft.add(elementCreate(VD_GROUP));
        char var[16];
        std::snprintf(var, sizeof var, "s%d", g % kVariablesPerSource);
        draft.add(graph(gx - 80, gy - 45, 160, 40, var, 200, 100), group);
        for (int k = 0; k < kShapesPerGroup; ++k, ++n)
            draft.add(shape(n, gx - 90 + float(k % 5) * 45.0f, gy + 5 + float(k / 5) * 25.0f), group);
        draft.add(scissor(gx - 85, gy - 50, gx + 85, gy + 50), group);
        elements += kShapesPerGroup + 3;
    }
    if (elements != 500) {
        error = "the view has " + std::to_string(elements) + " elements";
        return {};
    }
    Folder folder;
    const std::string path = folder.file("runtime.v");
    if (!draft.save(path)) {
        error = "saveFile refused the view";
        return {};
    }
    return readBytes(path);
}

double seconds(Clock::time_point from)
{
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// One direct draw with glFinish; seconds.
double timedDraw(vdView_Struct* view)
{
    const Clock::time_point start = Clock::now();
    vdViewDrawPlane(view, 2);
    glFinish();
    return seconds(start);
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size())))];
}

double mean(const std::vector<double>& values)
{
    double sum = 0;
    for (double v : values) // the samples
        sum += v;
    return values.empty() ? 0 : sum / double(values.size());
}

void BM_ViewRuntime(benchmark::State& state)
{
    if (!prepareGlFrame(state, kWidth, kHeight))
        return;
    setLogLevel(0);
    std::string error;
    const std::vector<char> image = viewImage(error);
    vdView_Struct* views[kViews] = {};
    for (int i = 0; i < kViews && error.empty(); ++i) {
        views[i] = vdViewLoadData(image.data(), uint32_t(image.size()));
        if (views[i] == nullptr)
            error = "vdViewLoadData refused the view image";
    }
    auto freeAll = [&] {
        for (vdView_Struct*& v : views) {
            if (v != nullptr)
                vdViewFree(v);
            v = nullptr;
        }
        setLogLevel(1);
    };
    if (!error.empty()) {
        state.SkipWithError(error.c_str());
        freeAll();
        return;
    }
    mainThread = pthread_self();

    // The reference: the same draw of each view started without a thread.
    std::vector<double> reference;
    for (vdView_Struct* v : views) {
        vdViewStart(v);
        timedDraw(v); // the first draw makes the fonts and clip regions
        for (int k = 0; k < 5; ++k)
            reference.push_back(timedDraw(v));
        vdViewStop(v);
    }

    std::vector<double> draws;
    double elapsed = 0;
    for (auto _ : state) {
        for (int i = 0; i < kViews; ++i) {
            ticks[i].clear();
            ticks[i].reserve(2000);
            viewMutexes[i] = &views[i]->mutex;
        }
        drawWaitSeconds = 0;
        drawWaits = 0;
        for (vdView_Struct* v : views)
            if (vdViewStartAnim(v) != 0)
                error = "vdViewStartAnim failed";
        for (vdView_Struct* v : views) // a first draw outside the figures
            vdViewDrawPlane(v, 2);
        glFinish();
        recording.store(true);
        const Clock::time_point start = Clock::now();
        for (long frame = 0; seconds(start) < kSeconds; ++frame) {
            draws.push_back(timedDraw(views[frame % kViews]));
            const double next = double(frame + 1) * kFramePeriod;
            const double now = seconds(start);
            if (next > now)
                std::this_thread::sleep_for(std::chrono::duration<double>(next - now));
        }
        recording.store(false);
        elapsed = seconds(start);
        for (vdView_Struct* v : views)
            vdViewStopAnim(v);
    }
    if (!error.empty()) {
        state.SkipWithError(error.c_str());
        freeAll();
        return;
    }

    std::vector<double> allTicks;
    double slowest = 1e30, fastest = 0, sum = 0;
    for (const std::vector<double>& t : ticks) {
        const double rate = double(t.size()) / elapsed;
        slowest = std::min(slowest, rate);
        fastest = std::max(fastest, rate);
        sum += rate;
        allTicks.insert(allTicks.end(), t.begin(), t.end());
    }
    state.counters["cyclesMin"] = slowest;
    state.counters["cyclesMean"] = sum / kViews;
    state.counters["cyclesMax"] = fastest;
    state.counters["tickMean_us"] = mean(allTicks) * 1e6;
    state.counters["tickP99_us"] = percentile(allTicks, 0.99) * 1e6;
    state.counters["drawMean_ms"] = mean(draws) * 1e3;
    state.counters["drawP99_ms"] = percentile(draws, 0.99) * 1e3;
    state.counters["drawWait_ms"] = drawWaits > 0 ? drawWaitSeconds / double(drawWaits) * 1e3 : 0;
    state.counters["drawRef_ms"] = mean(reference) * 1e3;
    state.counters["draws"] = double(draws.size());
    double load[1] = {0};
    if (getloadavg(load, 1) == 1)
        state.counters["load1"] = load[0];
    state.SetLabel(orlo_gl::GlContext::rendererText());
    freeAll();
}

} // namespace

BENCHMARK(BM_ViewRuntime)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
