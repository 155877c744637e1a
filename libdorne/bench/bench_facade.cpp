// The class facade and the picking under it over one view of 10,000
// elements and 1,000 variables: a 100 x 100 grid of 10 x 10 rectangles in
// 100 groups, each rectangle with a mouse action on one of the 1,000
// variables of an internal source. Figures (targets):
//  - PickView: vdObjPickView at a point (under 1 ms), beside the facade's
//    getObject at the same point;
//  - RoutedPress: a press and a release through setEvent on the started
//    view, each picking anew (under 1 ms each);
//  - GetVar, SetVar: by name on the animated view while its data thread
//    runs (under 1 us per call), beside the same calls on the view started
//    without a thread (the reference: the same work without the thread to
//    share the view's mutex with).
#include "../tests/viewSupport.h"
#include "glFrame.h"

#include "NalvoView.h"
#include "dorneObjects.h"
#include "dorneView.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace viewtest;

const int kGrid = 100, kCell = 10, kVariables = 1000;

// The view file, written once per process.
const std::string& viewPath()
{
    static Folder* folder = new Folder;
    static const std::string path = [] {
        const std::string p = folder->file("facade.v");
        ViewDraft draft(0, 0, kGrid * kCell, kGrid * kCell);
        DD_DATA_TYPE_STRUCT* internal = draft.source(5, 0, 0);
        for (int v = 0; v < kVariables; ++v)
            ViewDraft::variable(internal, ("v" + std::to_string(v)).c_str(), DD_INT, "0");
        for (int row = 0; row < kGrid; ++row) {
            ELEMENT_STRUCT* group = draft.add(elementCreate(VD_GROUP));
            for (int col = 0; col < kGrid; ++col) {
                const float x = float(col * kCell), y = float(row * kCell);
                ELEMENT_STRUCT* e = draft.add(filledRect(x, y, x + kCell - 1, y + kCell - 1, 1, 1, 1), group);
                ACTION_STRUCT* a = addAction(e, 22, ("v" + std::to_string((row * kGrid + col) % kVariables)).c_str());
                a->mouseButton = 0;
                a->mouseAction = 0;
                a->mouseMode = 0; // a press sets 1
            }
        }
        if (!draft.save(p))
            std::fprintf(stderr, "bench_facade: cannot write %s\n", p.c_str());
        return p;
    }();
    return path;
}

std::vector<std::string> variableNames()
{
    std::vector<std::string> names;
    for (int v = 0; v < kVariables; ++v)
        names.push_back("v" + std::to_string(v));
    return names;
}

// A facade with the view loaded, drawn once (which gives the elements their
// pick transforms) and started.
std::unique_ptr<Nalvo2D::NalvoView> startedFacade(benchmark::State& state, bool animate)
{
    if (!prepareGlFrame(state, 1024, 1024))
        return nullptr;
    auto facade = std::make_unique<Nalvo2D::NalvoView>();
    if (!facade->load(viewPath()) || !facade->startView(false) || !facade->draw(false)) {
        state.SkipWithError("cannot load, start or draw the view");
        return nullptr;
    }
    if (animate && (!facade->stopView() || !facade->startView(true))) {
        state.SkipWithError("cannot start the view with its data thread");
        return nullptr;
    }
    return facade;
}

void PickView(benchmark::State& state)
{
    vdView_Struct* view = vdViewLoad(viewPath().c_str());
    if (view == nullptr) {
        state.SkipWithError("cannot load the view");
        return;
    }
    int count = 0;
    long hits = 0;
    for (auto _ : state) {
        ELEMENT_STRUCT** found = vdObjPickView(view, 555, 444, &count);
        benchmark::DoNotOptimize(found);
        hits += count;
    }
    state.counters["hits"] = double(hits) / double(state.iterations());
    vdViewFree(view);
}
BENCHMARK(PickView)->Unit(benchmark::kMicrosecond);

void GetObject(benchmark::State& state)
{
    Nalvo2D::NalvoView facade;
    if (!facade.load(viewPath())) {
        state.SkipWithError("cannot load the view");
        return;
    }
    std::string name;
    for (auto _ : state)
        benchmark::DoNotOptimize(facade.getObject(555.5, 444.5, name));
}
BENCHMARK(GetObject)->Unit(benchmark::kMicrosecond);

// One press and one release at a point; the figure is per event.
void RoutedPress(benchmark::State& state)
{
    auto facade = startedFacade(state, state.range(0) != 0);
    if (facade == nullptr)
        return;
    for (auto _ : state) {
        facade->setEvent(Nalvo2D::MOUSE_LEFT, Nalvo2D::EVENT_PRESS, 555.5f, 444.5f);
        facade->setEvent(Nalvo2D::MOUSE_LEFT, Nalvo2D::EVENT_RELEASE, 555.5f, 444.5f);
    }
    state.SetItemsProcessed(2 * state.iterations());
    long pressed = 0;
    facade->getVar("v" + std::to_string((44 * kGrid + 55) % kVariables), pressed);
    state.counters["value"] = double(pressed);
}
BENCHMARK(RoutedPress)->ArgName("animated")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void GetVar(benchmark::State& state)
{
    auto facade = startedFacade(state, state.range(0) != 0);
    if (facade == nullptr)
        return;
    const std::vector<std::string> names = variableNames();
    size_t i = 0;
    long value = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(facade->getVar(names[i], value));
        i = i + 1 == names.size() ? 0 : i + 1;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(GetVar)->ArgName("animated")->Arg(0)->Arg(1)->Unit(benchmark::kNanosecond);

void SetVar(benchmark::State& state)
{
    auto facade = startedFacade(state, state.range(0) != 0);
    if (facade == nullptr)
        return;
    const std::vector<std::string> names = variableNames();
    size_t i = 0;
    long n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(facade->setVar(names[i], ++n));
        i = i + 1 == names.size() ? 0 : i + 1;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(SetVar)->ArgName("animated")->Arg(0)->Arg(1)->Unit(benchmark::kNanosecond);

} // namespace
