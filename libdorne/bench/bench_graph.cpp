// Milliseconds per frame of 20 time graphs on the software renderer, into a
// 1024 x 768 offscreen buffer: each graph holds 500 samples at 100 samples
// per second of view time, one trace with two colour thresholds, grid,
// ticks, labels and autoscaling on. "Sample" is one 10 ms step of view time
// for all 20 graphs (what the data thread does each tick: new values, then
// fillGraph); "Draw" one frame of drawUserElements in run mode with
// glFinish; "Frame" both together. Target: under 10 ms per frame together.
#include "../tests/graphSupport.h"
#include "glFrame.h"
#include "dorneGl.h"
#include "dorneLog.h"
#include "orloGlContext.h"
#include "sartoFonts.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>

namespace {

const int kWidth = 1024, kHeight = 768;
const int kGraphs = 20, kColumns = 5, kSamples = 500;
const float kRate = 100, kTick = 0.01f;

struct Scene
{
    support::GraphView view;
    float time = 0;
    int ticks = 0;

    // One tick of view time: a new value for every trace, every graph sampled.
    void tick()
    {
        time += kTick;
        for (size_t i = 0; i < view.traces.size(); ++i) { // kGraphs traces
            const float v = 50 * std::sin(0.02f * float(ticks) + float(i)) + float(i);
            support::GraphView::put(view.traces[i].y, v);
        }
        for (ELEMENT_STRUCT* e : view.graphs) // kGraphs graphs
            fillGraph(e, support::GraphView::record(e), time, 0);
        ++ticks;
    }
};

std::unique_ptr<Scene> makeScene()
{
    auto scene = std::make_unique<Scene>();
    for (int i = 0; i < kGraphs; ++i) { // 5 x 4 boxes of 150 x 120 with room for labels
        const float x = 50 + float(i % kColumns) * 195, y = 40 + float(i / kColumns) * 185;
        ELEMENT_STRUCT* e = scene->view.graph(0, kSamples, kRate, 1, x, y, 150, 120);
        support::GraphView::record(e)->autoscale = 1;
        ACTION_STRUCT* a = scene->view.traces.back().action;
        support::addTh(a->thColor, -1e30f, 1, 0.2f, 1, 0.2f);
        support::addTh(a->thColor, 30, 1, 1, 0.2f, 0.2f)->upperLevel = 25;
        support::addTh(a->thWidth, -1e30f, 2);
    }
    if (scene->view.bind() != 0)
        return nullptr;
    resetAllGraphs(scene->view.elements, 0);
    for (int i = 0; i <= kSamples + 10; ++i) // full rings
        scene->tick();
    return scene;
}

bool prepare(benchmark::State& state)
{
    if (!prepareGlFrame(state, kWidth, kHeight))
        return false;
    setLogLevel(0);
    ftSetDebugLevel(0);
    if (!FNT_LIBRARY_STRUCT.initialised) {
        ftLibraryInit();
        ftLibraryParseFonts();
    }
    return true;
}

void draw(Scene& scene)
{
    DRAW_PARA_STRUCT para = {1.0f, 0, 0, 0};
    glClear(GL_COLOR_BUFFER_BIT);
    drawUserElements(scene.view.elements, nullptr, 1, 0, 0, &para, 0);
    glFinish();
}

// 0 sampling, 1 drawing, 2 both.
void BM_Graphs(benchmark::State& state)
{
    if (!prepare(state))
        return;
    std::unique_ptr<Scene> scene = makeScene();
    if (scene == nullptr) {
        state.SkipWithError("binding failed");
        return;
    }
    const int part = int(state.range(0));
    for (auto _ : state) {
        if (part != 1)
            scene->tick();
        if (part != 0)
            draw(*scene);
    }
    // Seconds the first trace's next sample lies after the view time (0 to
    // one step while sampling keeps up).
    state.counters["due"] = scene->view.traces[0].action->input.nextTime - scene->time;
    state.counters["graphs"] = kGraphs;
    state.counters["samples"] = kSamples;
    state.SetLabel(std::string(part == 0 ? "Sample" : part == 1 ? "Draw" : "Frame") + " | " +
                   orlo_gl::GlContext::rendererText());
}

} // namespace

// Sampling is far below a millisecond: shown in microseconds.
BENCHMARK(BM_Graphs)->Name("BM_GraphsSample")->Arg(0)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_Graphs)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
