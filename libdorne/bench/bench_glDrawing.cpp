// Frames per second of drawing through the GL wrappers on the software
// renderer, into a 1024 x 768 offscreen buffer: one frame is 10,000 stippled
// lines (each as an element draws one: blend rule, stipple, width, colour,
// begin/end) and 2,000 textured quads through the texture registry (8 images
// of 64 x 64, half of them translucent), finished with glFinish. Lines and
// quads are also measured alone. Later drawing work compares with "fps".
#include "dorneGl.h"
#include "dorneTextures.h"
#include "orloGlContext.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

const int kWidth = 1024, kHeight = 768;
const int kLines = 10000, kQuads = 2000, kImages = 8;

struct Scene
{
    orlo_gl::GlContext* context = nullptr;
    std::string error;
    std::vector<float> lines;   // x0, y0, x1, y1, r, g, b per line
    std::vector<int> styles;    // line style per line
    std::vector<float> quads;   // x, y per quad
    int images[kImages] = {};
};

Scene& scene()
{
    static Scene s = [] {
        Scene made;
        made.context = orlo_gl::GlContext::shared(kWidth, kHeight, made.error);
        if (made.context == nullptr)
            return made;
        std::mt19937 random(7);
        std::uniform_real_distribution<float> x(0, kWidth), y(0, kHeight), c(0.2f, 1.0f);
        for (int i = 0; i < kLines; ++i) {
            made.lines.insert(made.lines.end(), {x(random), y(random), x(random), y(random), c(random), c(random), c(random)});
            made.styles.push_back(1 + i % 9);
        }
        for (int i = 0; i < kQuads; ++i)
            made.quads.insert(made.quads.end(), {x(random) - 16, y(random) - 16});
        for (int i = 0; i < kImages; ++i) {
            std::vector<unsigned char> px(64 * 64 * 4);
            for (size_t p = 0; p < px.size(); p += 4) {
                px[p] = uint8_t(p * 7 + i * 31), px[p + 1] = uint8_t(p / 256 * 3), px[p + 2] = uint8_t(i * 40);
                px[p + 3] = i % 2 ? 160 : 255;
            }
            made.images[i] = txCreate(64, 64, px.data());
        }
        return made;
    }();
    return s;
}

bool prepare(benchmark::State& state)
{
    Scene& s = scene();
    if (s.context == nullptr || !s.context->makeCurrentForPixels()) {
        state.SkipWithError(("no offscreen GL context: " + s.error).c_str());
        return false;
    }
    vvSetColorFactor(1, 1, 1, 1);
    vvSetLineScale(1);
    return true;
}

void drawLines(const Scene& s)
{
    for (int i = 0; i < kLines; ++i) { // kLines elements
        const float* l = &s.lines[size_t(i) * 7];
        int factor = 1;
        unsigned short pattern = 0xFFFF;
        getLineStipple(s.styles[size_t(i)], &factor, &pattern);
        wtAliasBlend(0, 1.0f);
        wtLineStipple(factor, pattern);
        wtLineWidth(1);
        vvColor4f(l[4], l[5], l[6], 1.0f);
        wtBegin(GL_LINES);
        glVertex2f(l[0], l[1]);
        glVertex2f(l[2], l[3]);
        wtEnd();
    }
    wtLineStipple(1, 0xFFFF);
}

void drawQuads(const Scene& s)
{
    vvColor4f(1, 1, 1, 1);
    for (int i = 0; i < kQuads; ++i) { // kQuads elements
        const float qx = s.quads[size_t(i) * 2], qy = s.quads[size_t(i) * 2 + 1];
        const float x[4] = {qx, qx, qx + 32, qx + 32};
        const float y[4] = {qy, qy + 32, qy + 32, qy};
        txDraw(s.images[i % kImages], x, y);
    }
}

void BM_Frame(benchmark::State& state)
{
    if (!prepare(state))
        return;
    const Scene& s = scene();
    for (auto _ : state) {
        wtClearColor(0.1f, 0.1f, 0.1f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        drawLines(s);
        drawQuads(s);
        wtFinish();
        glFinish();
    }
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.SetLabel(orlo_gl::GlContext::rendererText());
}

// One half of the frame alone: drawLines or drawQuads.
void BM_Alone(benchmark::State& state, void (*draw)(const Scene&))
{
    if (!prepare(state))
        return;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT);
        draw(scene());
        glFinish();
    }
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// The same lines straight in GL, one begin/end for all and no state between
// them: the floor that per-element state costs are measured against.
void BM_LinesOneBlock(benchmark::State& state)
{
    if (!prepare(state))
        return;
    const Scene& s = scene();
    glDisable(GL_BLEND);
    glLineWidth(1);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT);
        glBegin(GL_LINES);
        for (int i = 0; i < kLines; ++i) { // kLines lines
            const float* l = &s.lines[size_t(i) * 7];
            glColor3f(l[4], l[5], l[6]);
            glVertex2f(l[0], l[1]);
            glVertex2f(l[2], l[3]);
        }
        glEnd();
        glFinish();
    }
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_Frame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Alone, lines, drawLines)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Alone, quads, drawQuads)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LinesOneBlock)->Unit(benchmark::kMillisecond)->UseRealTime();
