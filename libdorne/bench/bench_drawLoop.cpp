// Milliseconds per frame of the draw loop on the software renderer, into a
// 1024 x 768 offscreen buffer, for a view of 1,000 elements: 480 shapes at
// top level and 20 groups, each clipped by its SCISSOR element and holding
// 24 shapes that reach beyond the clip box (rectangles, lines, circles and
// arcs in turn), with 3,000 actions (moves, scales and rotations about
// pivots, colour, width, style, visibility and blink thresholds, arc ends)
// bound to 500 variables that change every frame. One frame: new values,
// drawUserElements in run mode, glFinish. Measured with stencil clipping and
// with the scissor box; "actionShare" is the part of a frame that the same
// action evaluation takes alone (doAction over the tree on the same
// matrices). Target: under 8 ms per frame.
#include "../tests/actionSupport.h"
#include "../tests/shapeSupport.h"
#include "glFrame.h"
#include "dorneGl.h"
#include "dorneLog.h"
#include "orloGlContext.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

namespace {

const int kWidth = 1024, kHeight = 768;
const int kGroups = 20, kShapesPerGroup = 24, kTopShapes = 480, kVariables = 500;

struct Scene
{
    support::ActionView view;
    std::vector<DD_VAR_STRUCT*> variables;
    int elements = 0, actions = 0;
};

// The n-th shape: rectangle, line, circle, arc in turn, about (x, y).
ELEMENT_STRUCT* shape(int n, float x, float y)
{
    const float s = 8.0f + float(n % 5) * 6.0f;
    switch (n % 4) {
    case 0:
        return shapes::rect(x - s, y - s / 2, x + s, y + s / 2, {0.2f, 0.4f, 0.8f}, {1, 1, 0});
    case 1:
        return shapes::line(x - s, y - s, x + s, y + s);
    case 2:
        return shapes::curve(VD_CIRCLE, x, y, s, s);
    default:
        return shapes::curve(VD_ARC, x, y, s, s / 2);
    }
}

void addActions(Scene& scene, ELEMENT_STRUCT* e, int count)
{
    static const int types[] = {1, 2, 3, 5, 12, 13, 14, 15, 17, 25, 16, 24};
    for (int k = 0; k < count; ++k) {
        const int n = scene.actions++;
        const int type = types[n % 12];
        char var[16];
        std::snprintf(var, sizeof var, "v%d", (n * 7) % kVariables);
        // Values 0..100 map to small moves, scales near 1, turns, thresholds.
        const float b1 = type == 3 || type == 16 ? 1.2f : type == 5 || type == 24 ? 360.0f : 10.0f;
        ACTION_STRUCT* a = support::addAction(e, type, var, 0, 100, type == 3 || type == 16 ? 0.8f : 0, b1);
        a->pivot = n % 10;
        for (TH_BLOCK* block : {&a->thColor, &a->thWidth, &a->thStyle, &a->thBlink})
            for (int level = 0; level < 5; ++level)
                support::addTh(*block, 2.0f * float(level), 1 + level % 3, 0.2f * float(level), 0.5f, 1.0f);
        support::addTh(a->thVisibility, 0, 1);
    }
}

Scene* makeScene()
{
    auto* scene = new Scene;
    scene->variables = scene->view.numberedVariables(kVariables, [](int i) { return i % 2; });
    int n = 0;
    for (int i = 0; i < kTopShapes; ++i, ++n) { // a 30 x 16 grid over the page
        ELEMENT_STRUCT* e = shape(n, 20.0f + float(i % 30) * 33.0f, 30.0f + float(i / 30) * 45.0f);
        elementAppend(e, &scene->view.elements);
        addActions(*scene, e, 3);
    }
    for (int g = 0; g < kGroups; ++g) { // 5 x 4 groups of 6 x 4 shapes
        const float gx = 110.0f + float(g % 5) * 200.0f, gy = 100.0f + float(g / 5) * 180.0f;
        ELEMENT_STRUCT* group = elementCreate(VD_GROUP);
        ELEMENT_STRUCT* scissor = shapes::scissor(gx - 80, gy - 60, gx + 80, gy + 60);
        scissor->parent = group;
        elementAppend(scissor, &group->children);
        for (int k = 0; k < kShapesPerGroup; ++k, ++n) {
            ELEMENT_STRUCT* e = shape(n, gx - 90 + float(k % 6) * 36.0f, gy - 70 + float(k / 6) * 45.0f);
            e->parent = group;
            elementAppend(e, &group->children);
            addActions(*scene, e, 3);
        }
        group->update(group);
        addActions(*scene, group, 6);
        elementAppend(group, &scene->view.elements);
    }
    scene->elements = kTopShapes + kGroups * (kShapesPerGroup + 2);
    if (scene->view.bind() != 0) {
        delete scene;
        return nullptr;
    }
    return scene;
}

// New values for every variable (float or double), as a data cycle brings.
void feed(Scene& scene, int frame)
{
    for (size_t i = 0; i < scene.variables.size(); ++i) { // kVariables values
        const double v = double((frame * 3 + int(i)) % 100);
        if (scene.variables[i]->type == DD_FLOAT) {
            const float f = float(v);
            std::memcpy(scene.variables[i]->value, &f, sizeof f);
        } else {
            std::memcpy(scene.variables[i]->value, &v, sizeof v);
        }
    }
}

// The action evaluation of one frame alone, on the matrices the loop uses.
void evaluate(ELEMENT_STRUCT* list)
{
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) { // the tree, once
        glPushMatrix();
        glTranslatef(e->x, e->y, 0);
        doAction(e, 0);
        if (e->kind == VD_GROUP && e->attr.visible != 0)
            evaluate(e->children);
        glPopMatrix();
    }
}


double secondsOf(void (*pass)(Scene&, DRAW_PARA_STRUCT&, int), Scene& scene, DRAW_PARA_STRUCT& para, int passes)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < passes; ++i) // passes frames
        pass(scene, para, i);
    glFinish();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void frame(Scene& scene, DRAW_PARA_STRUCT& para, int i)
{
    feed(scene, i);
    glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    drawUserElements(scene.view.elements, nullptr, 1, 0, 1, &para, 0);
    glFinish();
}

void actionsOnly(Scene& scene, DRAW_PARA_STRUCT&, int i)
{
    feed(scene, i);
    evaluate(scene.view.elements);
}

// scissorType: 1 scissor box, 0 stencil.
void BM_DrawFrame(benchmark::State& state)
{
    if (!prepareGlFrame(state, kWidth, kHeight))
        return;
    setLogLevel(0);
    Scene* scene = makeScene();
    if (scene == nullptr) {
        state.SkipWithError("binding failed");
        return;
    }
    DRAW_PARA_STRUCT para = {1.0f, int32_t(state.range(0)), 0, 0};
    int i = 0;
    for (auto _ : state)
        frame(*scene, para, i++);
    const int passes = 30;
    const double frames = secondsOf(frame, *scene, para, passes);
    const double actions = secondsOf(actionsOnly, *scene, para, passes);
    state.counters["actionShare"] = actions / frames;
    state.counters["elements"] = scene->elements;
    state.counters["actions"] = scene->actions;
    state.SetLabel(orlo_gl::GlContext::rendererText());
    delete scene;
    setLogLevel(1);
}

} // namespace

BENCHMARK(BM_DrawFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
