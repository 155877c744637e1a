// Time per frame of action evaluation without drawing: a view of 1,000
// elements with 3,000 actions of mixed kinds (moves, scales and rotations
// about pivots, colour, width, style, visibility and blink thresholds of
// five entries, text readouts, arc ends, pressed states), a quarter of them
// filtered, bound to 500 variables of every number type in two sources. Each
// frame changes every variable and runs doAction on every element inside a
// matrix push and pop, as the draw loop does, in the offscreen GL context.
// Target: well under 0.5 ms per frame.
#include "../tests/actionSupport.h"
#include "dorneLog.h"
#include "orloGlContext.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const int kElements = 1000, kActionsPerElement = 3, kVariables = 500;

struct Scene
{
    support::ActionView view;
    std::vector<DD_VAR_STRUCT*> variables;
};

ACTION_STRUCT* addMixedAction(ELEMENT_STRUCT* e, int n)
{
    static const int textTypes[] = {0, 12, 1};
    static const int shapeTypes[] = {1, 3, 5, 12, 13, 14, 15, 17, 25, 16, 7, 9, 23, 2, 4};
    const int type = e->kind == VD_TEXT ? textTypes[n % 3] : e->kind == VD_ARC && n % 3 == 0 ? 24
                                                                                             : shapeTypes[n % 15];
    char var[16];
    std::snprintf(var, sizeof var, "v%d", (n * 7) % kVariables);
    ACTION_STRUCT* a = support::addAction(e, type, var, 0, 100, 0, type == 5 ? 360.0f : 1.0f);
    a->pivot = n % 10;
    a->limit = n % 2;
    a->filter = n % 8 == 0 ? 1 : n % 8 == 4 ? 2 : 0;
    a->filterTime = 0.5f;
    std::snprintf(a->format, sizeof a->format, "%s", n % 2 ? "%6.2f km/h" : "%d");
    for (TH_BLOCK* block : {&a->thColor, &a->thWidth, &a->thStyle, &a->thVisibility, &a->thBlink})
        for (int level = 0; level < 5; ++level)
            support::addTh(*block, 0.2f * float(level), level + 1, 0.2f * float(level), 0.5f, 1.0f);
    return a;
}

Scene* makeScene()
{
    auto* scene = new Scene;
    DD_DATA_TYPE_STRUCT* sources[2] = {scene->view.source(), scene->view.source()};
    for (int i = 0; i < kVariables; ++i) {
        const std::string name = "v" + std::to_string(i);
        scene->variables.push_back(support::ActionView::variable(sources[i % 2], name.c_str(), i % 10));
    }
    static const int kinds[] = {VD_RECTANGLE, VD_TEXT, VD_CIRCLE, VD_LINE, VD_ARC, VD_BUTTON, VD_CPOLYGON};
    int n = 0;
    for (int i = 0; i < kElements; ++i) {
        ELEMENT_STRUCT* e = scene->view.element(kinds[i % 7]);
        e->x = float(i % 40) * 25;
        e->y = float(i / 40) * 30;
        e->width = 20;
        e->height = 10;
        for (int k = 0; k < kActionsPerElement; ++k)
            addMixedAction(e, n++);
    }
    if (scene->view.bind() != 0) {
        delete scene;
        return nullptr;
    }
    return scene;
}

// New values for every variable, in its own type (what a data cycle does).
void feed(Scene& scene, int frame)
{
    for (size_t i = 0; i < scene.variables.size(); ++i) {
        const double v = double((frame * 3 + int(i)) % 100);
        unsigned char bytes[8] = {};
        switch (scene.variables[i]->type) {
        case DD_FLOAT: {
            const float f = float(v);
            std::memcpy(bytes, &f, 4);
            break;
        }
        case DD_DOUBLE:
            std::memcpy(bytes, &v, 8);
            break;
        default: // every integer type holds 0..99 in its low byte
            bytes[0] = static_cast<unsigned char>(v);
            break;
        }
        std::memcpy(scene.variables[i]->value, bytes, 8);
    }
}

void BM_EvaluateFrame(benchmark::State& state)
{
    std::string error;
    orlo_gl::GlContext* context = orlo_gl::GlContext::shared(256, 256, error);
    if (context == nullptr) {
        state.SkipWithError(("no offscreen GL context: " + error).c_str());
        return;
    }
    setLogLevel(0);
    Scene* scene = makeScene();
    if (scene == nullptr) {
        state.SkipWithError("binding failed");
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    int frame = 0;
    for (auto _ : state) {
        feed(*scene, frame++);
        for (ELEMENT_STRUCT* e = scene->view.elements; e != nullptr; e = e->next) {
            glPushMatrix();
            glTranslatef(e->x, e->y, 0);
            doAction(e, 0);
            glPopMatrix();
        }
    }
    state.counters["actions/s"] =
        benchmark::Counter(double(state.iterations()) * kElements * kActionsPerElement, benchmark::Counter::kIsRate);
    state.SetLabel(orlo_gl::GlContext::rendererText());
    delete scene;
    setLogLevel(1);
}

} // namespace

BENCHMARK(BM_EvaluateFrame)->Unit(benchmark::kMicrosecond)->UseRealTime();
