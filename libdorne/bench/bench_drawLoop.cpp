// Milliseconds per frame of a loaded view drawn directly (vdViewDrawPlane_
// Direct) on the software renderer into a 1024 x 768 offscreen buffer: 1,000
// elements, 480 shapes at top level and 20 groups, each clipped by its
// SCISSOR element and holding 24 shapes that reach beyond the clip box
// (rectangles, lines, circles and arcs in turn), with 3,000 actions (moves,
// scales and rotations about pivots, colour, width, style, visibility and
// blink thresholds, arc ends) bound to 500 internal variables that change
// every frame. One frame: new values, the draw, glFinish. Measured with the
// scissor box (1) and the stencil (0); before measuring, the benchmark
// checks that every group's clip flag is set and that the clipped frame
// leaves pixels the same frame unclipped paints. Beside it ("plainGL") the
// same primitives drawn with plain GL calls in the same context: each
// element translated and turned, its colour and width set, its vertices
// (the same curve segments) in glBegin/glEnd, each group clipped the same
// way, what the view's last frame hid left out; "ratio" is the view's frame over that (target: at most 1.25).
// "actionShare" is the part of a frame that the action evaluation takes
// alone (doAction over the tree on the same matrices).
#include "../tests/actionSupport.h"
#include "../tests/shapeSupport.h"
#include "../tests/viewSupport.h"
#include "glFrame.h"
#include "dorneGl.h"
#include "dorneHash.h"
#include "dorneLog.h"
#include "dorneView.h"
#include "orloGlContext.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

const int kWidth = 1024, kHeight = 768;
const int kGroups = 20, kShapesPerGroup = 24, kTopShapes = 480, kVariables = 500;

// The scene as built in memory (saved as a view file, then freed) and the
// view loaded from that file.
struct Scene
{
    support::ActionView built;
    vdView_Struct* view = nullptr;
    std::vector<DD_VAR_STRUCT*> variables; // the loaded view's, by number
    int elements = 0, actions = 0;
    ~Scene()
    {
        if (view != nullptr)
            vdViewFree(view);
    }
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

Scene* makeScene(std::string& error)
{
    auto* scene = new Scene;
    support::ActionView& built = scene->built;
    built.numberedVariables(kVariables, [](int i) { return i % 2; });
    for (DD_DATA_TYPE_STRUCT* s = built.sources; s != nullptr; s = s->next)
        s->type = 5; // internal: values only the caller writes
    int n = 0;
    for (int i = 0; i < kTopShapes; ++i, ++n) { // a 30 x 16 grid over the page
        ELEMENT_STRUCT* e = shape(n, 20.0f + float(i % 30) * 33.0f, 30.0f + float(i / 30) * 45.0f);
        elementAppend(e, &built.elements);
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
        elementAppend(group, &built.elements);
    }
    scene->elements = kTopShapes + kGroups * (kShapesPerGroup + 2);

    CONFIG_STRUCT config{};
    config.width = float(kWidth), config.height = float(kHeight);
    viewtest::Folder folder;
    const std::string path = folder.file("drawLoop.v");
    if (saveFile(path.c_str(), built.elements, built.sources, &config) != 0) {
        error = "saveFile refused the scene";
    } else if ((scene->view = vdViewLoad(path.c_str())) == nullptr) {
        error = "vdViewLoad refused the scene";
    } else if (vdViewStart(scene->view) != 0) {
        error = "vdViewStart failed";
    } else {
        vdSetBackgroundMode(scene->view, 0); // the elements only
        for (int i = 0; i < kVariables; ++i) {
            const std::string name = "v" + std::to_string(i);
            auto* v = static_cast<DD_VAR_STRUCT*>(mpiHashSearchAscii(scene->view->variables, name.c_str()));
            if (v == nullptr || v->value == nullptr) {
                error = "variable " + name + " is not bound";
                break;
            }
            scene->variables.push_back(v);
        }
    }
    if (!error.empty()) {
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

// ---- The same primitives with plain GL calls ----

void curve(const ELEMENT_STRUCT& e)
{
    const auto& c = *static_cast<const CIRCLE_STRUCT*>(e.data);
    // The engine's segments: the larger radius through the matrix, 8 to 100.
    const float extent = std::max(std::fabs(c.matrix[0] * c.rx + c.matrix[1] * c.ry),
                                  std::fabs(c.matrix[2] * c.rx + c.matrix[3] * c.ry));
    const int n = extent > 8.0f ? std::min(int(extent), 100) : 8;
    const float end = e.kind == VD_ARC ? e.attr.arcEnd : c.end;
    const float step = 6.2831853f / float(n);
    float xs[102], ys[102];
    int count = 0;
    auto point = [&](float t) {
        const float u = c.rx * std::cos(-t), v = c.ry * std::sin(-t);
        xs[count] = c.matrix[0] * u + c.matrix[1] * v;
        ys[count] = c.matrix[2] * u + c.matrix[3] * v;
        ++count;
    };
    point(c.start);
    for (int i = 1; i < n && c.start + float(i) * step < end; ++i) // one turn at most
        point(c.start + float(i) * step);
    point(end);
    if (c.fill != 0) {
        glColor4fv(e.attr.fillColor);
        glBegin(GL_TRIANGLE_FAN);
        glVertex2f(c.fanX, c.fanY);
        for (int i = 0; i < count; ++i)
            glVertex2f(xs[i], ys[i]);
        glEnd();
    }
    if (c.outline != 0) {
        glLineWidth(float(e.attr.lineWidth));
        glColor4fv(e.attr.lineColor);
        glBegin(GL_LINE_STRIP);
        for (int i = 0; i < count; ++i)
            glVertex2f(xs[i], ys[i]);
        glEnd();
    }
}

void plainList(const ELEMENT_STRUCT* list, int scissorType);

void plainGroup(const ELEMENT_STRUCT& g, int scissorType)
{
    if (g.clip == 0) {
        plainList(g.children, scissorType);
        return;
    }
    if (scissorType == 1) {
        glScissor(g.clipBoxX, g.clipBoxY, g.clipBoxWidth, g.clipBoxHeight);
        glEnable(GL_SCISSOR_TEST);
        plainList(g.children, scissorType);
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    glEnable(GL_STENCIL_TEST);
    glClearStencil(0);
    glClear(GL_STENCIL_BUFFER_BIT);
    glStencilFunc(GL_ALWAYS, 1, 0xFF);
    glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
    glColorMask(0, 0, 0, 0);
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i)
        glVertex2f(g.clipQuadX[i], g.clipQuadY[i]);
    glEnd();
    glColorMask(1, 1, 1, 1);
    glStencilFunc(GL_LESS, 0, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    plainList(g.children, scissorType);
    glDisable(GL_STENCIL_TEST);
}

void plainList(const ELEMENT_STRUCT* list, int scissorType)
{
    for (const ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) { // the tree, once
        if (e->attr.visible == 0)
            continue; // hidden by its actions in the view's last frame
        glPushMatrix();
        glTranslatef(e->x, e->y, 0);
        glRotatef(float(int(std::fabs(e->x)) % 7), 0, 0, 1); // a turn per element, as actions give
        switch (e->kind) {
        case VD_RECTANGLE: {
            const auto& r = *static_cast<const RECT_STRUCT*>(e->data);
            if (r.fill != 0) {
                glColor4fv(e->attr.fillColor);
                glBegin(GL_QUADS);
                for (int i = 0; i < 4; ++i)
                    glVertex2f(r.relX[i], r.relY[i]);
                glEnd();
            }
            if (r.outline != 0) {
                glLineWidth(float(e->attr.lineWidth));
                glColor4fv(e->attr.lineColor);
                glBegin(GL_LINE_LOOP);
                for (int i = 0; i < 4; ++i)
                    glVertex2f(r.relX[i], r.relY[i]);
                glEnd();
            }
            break;
        }
        case VD_LINE: {
            const auto& l = *static_cast<const LINE_STRUCT*>(e->data);
            glLineWidth(float(e->attr.lineWidth));
            glColor4fv(e->attr.lineColor);
            glBegin(GL_LINES);
            glVertex2f(l.localX1, l.localY1);
            glVertex2f(l.localX2, l.localY2);
            glEnd();
            break;
        }
        case VD_CIRCLE:
        case VD_ARC:
            curve(*e);
            break;
        case VD_GROUP:
            plainGroup(*e, scissorType);
            break;
        default: // SCISSOR elements clip, they are not drawn
            break;
        }
        glPopMatrix();
    }
}

// ---- Frames ----

double secondsOf(void (*pass)(Scene&, int, int), Scene& scene, int scissorType, int passes)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < passes; ++i) // passes frames
        pass(scene, scissorType, i);
    glFinish();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void frame(Scene& scene, int, int i)
{
    feed(scene, i);
    glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    vdViewDrawPlane_Direct(scene.view, 0);
    glFinish();
}

void plainFrame(Scene& scene, int scissorType, int)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    plainList(scene.view->elements, scissorType);
    glFinish();
}

void actionsOnly(Scene& scene, int, int i)
{
    feed(scene, i);
    evaluate(scene.view->elements);
}

int countClipped(const ELEMENT_STRUCT* list)
{
    int n = 0;
    for (const ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) // the tree
        if (e->kind == VD_GROUP)
            n += (e->clip != 0 ? 1 : 0) + countClipped(e->children);
    return n;
}

void setClip(ELEMENT_STRUCT* list, int clip)
{
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) // top-level groups
        if (e->kind == VD_GROUP)
            e->clip = clip;
}

std::vector<unsigned char> framePixels(Scene& scene)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    vdViewDrawPlane_Direct(scene.view, 0);
    std::vector<unsigned char> pixels(size_t(kWidth) * kHeight * 4);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// That the draw clips: every group flagged by the scissor finder, and the
// same frame drawn with the flags cleared paints pixels the clipped one
// leaves. The number of those pixels, or an error.
long checkClipping(Scene& scene, std::string& error)
{
    feed(scene, 0);
    const std::vector<unsigned char> clipped = framePixels(scene); // runs the scissor finder
    const int flagged = countClipped(scene.view->elements);
    if (flagged != kGroups) {
        error = std::to_string(flagged) + " of " + std::to_string(kGroups) + " groups clip";
        return 0;
    }
    setClip(scene.view->elements, 0);
    const std::vector<unsigned char> unclipped = framePixels(scene);
    setClip(scene.view->elements, 1);
    long removed = 0;
    for (size_t i = 0; i < clipped.size(); i += 4) // every pixel
        removed += std::memcmp(&clipped[i], &unclipped[i], 4) != 0 ? 1 : 0;
    if (removed == 0)
        error = "the clipped frame is the unclipped one";
    return removed;
}

// scissorType: 1 scissor box, 0 stencil.
void BM_DrawFrame(benchmark::State& state)
{
    if (!prepareGlFrame(state, kWidth, kHeight))
        return;
    setLogLevel(0);
    std::string error;
    Scene* scene = makeScene(error);
    if (scene == nullptr) {
        state.SkipWithError(error.c_str());
        setLogLevel(1);
        return;
    }
    const int scissorType = int(state.range(0));
    vdViewSetScissorType(scene->view, scissorType);
    const long clippedPixels = checkClipping(*scene, error);
    if (!error.empty()) {
        state.SkipWithError(error.c_str());
        delete scene;
        setLogLevel(1);
        return;
    }
    int i = 0;
    for (auto _ : state)
        frame(*scene, scissorType, i++);
    const int passes = 30;
    const double frames = secondsOf(frame, *scene, scissorType, passes);
    const double plain = secondsOf(plainFrame, *scene, scissorType, passes);
    const double actions = secondsOf(actionsOnly, *scene, scissorType, passes);
    state.counters["plainGL_ms"] = plain / passes * 1e3;
    state.counters["ratio"] = frames / plain;
    state.counters["actionShare"] = actions / frames;
    state.counters["clippedPixels"] = double(clippedPixels);
    state.counters["elements"] = scene->elements;
    state.counters["actions"] = scene->actions;
    double load[1] = {0};
    if (getloadavg(load, 1) == 1)
        state.counters["load1"] = load[0];
    state.SetLabel(orlo_gl::GlContext::rendererText());
    delete scene;
    setLogLevel(1);
}

} // namespace

BENCHMARK(BM_DrawFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
