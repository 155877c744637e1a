// Glyphs per second drawn through font objects on the software renderer,
// into a 1024 x 768 offscreen buffer: one frame is 100 texts of 100
// characters (10,000 glyphs), each drawn as the text element draws one (push
// the matrix, move, render, pop), finished with glFinish; once with an
// outline font (textured quads) and once with a bitmap strike (display
// lists). Also the time to create an outline font, atlas and lists, at three
// sizes of the ladder (the object is released after each creation).
#include "orloGlContext.h"
#include "sartoFonts.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

const int kWidth = 1024, kHeight = 768;
const int kTexts = 100, kLength = 100;

struct Scene
{
    orlo_gl::GlContext* context = nullptr;
    std::string error;
    std::vector<std::string> texts;
};

Scene& scene()
{
    static Scene s = [] {
        Scene made;
        made.context = orlo_gl::GlContext::shared(kWidth, kHeight, made.error);
        if (made.context == nullptr)
            return made;
        ftSetDebugLevel(1);
        if (ftLibraryInit() == 1)
            ftLibraryParseFonts();
        const std::string sample = "The quick brown fox jumps over the lazy dog 0123456789 \xd6l \xfc" "ber Stra\xdf" "e, ";
        for (int i = 0; i < kTexts; ++i) {
            std::string text;
            while (int(text.size()) < kLength)
                text += sample.substr(size_t(i) % sample.size()) + sample;
            text.resize(kLength);
            made.texts.push_back(text);
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
    return true;
}

void BM_Glyphs(benchmark::State& state, const char* family, int size)
{
    if (!prepare(state))
        return;
    Scene& s = scene();
    const intptr_t font = ftFontCreate(family, 1, size);
    if (font == 0) {
        state.SkipWithError("no font");
        return;
    }
    for (auto _ : state) {
        glClearColor(0.1f, 0.1f, 0.1f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor4f(1, 1, 0.5f, 1);
        for (int i = 0; i < kTexts; ++i) { // kTexts texts of kLength glyphs
            glPushMatrix();
            glTranslatef(float(i / 50 * 512), float(i % 50 * 15), 0);
            ftFontRender(font, s.texts[size_t(i)].data());
            glPopMatrix();
        }
        glFinish();
    }
    ftFontFree(font);
    state.counters["glyphs/s"] =
        benchmark::Counter(double(state.iterations()) * kTexts * kLength, benchmark::Counter::kIsRate);
    state.SetLabel(orlo_gl::GlContext::rendererText());
}

void BM_CreateOutline(benchmark::State& state)
{
    if (!prepare(state))
        return;
    const int size = int(state.range(0));
    for (auto _ : state) {
        const intptr_t font = ftFontCreate("Arial", 1, size);
        glFinish();
        if (font == 0) {
            state.SkipWithError("no font");
            return;
        }
        ftFontFree(font);
    }
}

} // namespace

BENCHMARK_CAPTURE(BM_Glyphs, outline_Arial_14, "Arial", 14)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Glyphs, outline_Arial_30, "Arial", 30)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Glyphs, bitmap_Helvetica_10, "Helvetica [fixed]", 10)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_CreateOutline)->Arg(14)->Arg(50)->Arg(120)->Unit(benchmark::kMillisecond)->UseRealTime();
