// Loading views of the older binary view file revisions 1.07 and 2.04.
//
// Each file holds 1,000 groups of ten elements (10,000 elements besides the
// groups), the children cycling through GRAPH, TEXT, the old vector text,
// CIRCLE and RECTANGLE, each child with two actions of two threshold
// entries, built here in the revision's layout. Loaded in the offscreen GL
// context, since graphs and texts make their fonts. BM_LoadOld303 loads the
// 2.04 view saved again as 3.03: the reference the old loads are measured
// against in the same run. BM_LoadSymbolFile imports a symbol file of
// 10,000 primitive records over 100 symbols (lines, filled and outlined
// rectangles, texts, circles and closed three-edge polygons). The freeing of
// what was read is not timed.
#include "benchElements.h"
#include "benchFolder.h"

#include "dorneActions.h"
#include "dorneElements.h"
#include "dorneFiles.h"
#include "dorneLog.h"
#include "sartoFonts.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const int kGroups = 1000;
const int kPerGroup = 10;
const int kKinds[] = {VD_GRAPH, VD_TEXT, VD_TEXT_LEGACY, VD_CIRCLE, VD_RECTANGLE};

struct Bytes
{
    std::vector<unsigned char> b;
    Bytes& i(int32_t v)
    {
        const uint32_t u = uint32_t(v);
        for (int shift = 24; shift >= 0; shift -= 8)
            b.push_back(static_cast<unsigned char>(u >> shift));
        return *this;
    }
    Bytes& f(float v)
    {
        int32_t bits;
        std::memcpy(&bits, &v, 4);
        return i(bits);
    }
    Bytes& fs(int n, float v)
    {
        for (int k = 0; k < n; ++k)
            f(v);
        return *this;
    }
    Bytes& is(int n, int32_t v)
    {
        for (int k = 0; k < n; ++k)
            i(v);
        return *this;
    }
    Bytes& text(const std::string& s, size_t n)
    {
        std::vector<unsigned char> field(n, 0);
        std::memcpy(field.data(), s.data(), s.size() < n ? s.size() : n);
        b.insert(b.end(), field.begin(), field.end());
        return *this;
    }
};

// The frame of the revision: a fixed name (1.07) or name and id (2.04).
void frame(Bytes& out, int revision, int kind, int n)
{
    const std::string name = "e" + std::to_string(n);
    out.i(kind);
    if (revision == 107) {
        out.text(name, 64);
        return;
    }
    const std::string id = name + "-ID";
    out.i(int32_t(name.size() + 1)).text(name, name.size() + 1).i(int32_t(id.size() + 1)).text(id, id.size() + 1);
}

void actions(Bytes& out, int revision, int n)
{
    out.i(2);
    for (int k = 0; k < 2; ++k) {
        const std::string var = "source" + std::to_string(k) + ".variable" + std::to_string(n % 1000);
        out.i(n * 2 + k).i(k == 0 ? 12 : 14).text(var, revision == 107 ? 32 : 64);
        if (revision == 204)
            out.text("", 64);
        out.f(0).f(1).f(0).f(1);
        if (revision == 204)
            out.f(0).f(1).f(0).f(1);
        out.f(0).f(1);
        if (revision == 204)
            out.f(0).f(1);
        out.i(0).text("%5.1f", 64).i(0).f(1);
        if (revision == 204)
            out.i(2).is(4, 0).f(1).f(0).f(1);
        for (int group = 0; group < (revision == 204 ? 5 : 4); ++group) {
            const bool filled = group == k;
            out.f(0).f(120).i(filled ? 2 : 0);
            if (filled)
                for (int e = 0; e < 2; ++e)
                    out.f(float(50 * e)).f(float(50 * e + 50)).i(1 + e).f(1).f(0).f(0);
        }
    }
}

void body(Bytes& out, int revision, int kind, int n)
{
    const float x = float(n % 100) * 6, y = float(n / 100 % 100) * 4;
    switch (kind) {
    case VD_GRAPH:
        if (revision == 204)
            out.i(0);
        out.f(x).f(y).f(200).f(100).f(-100).f(100);
        if (revision == 204)
            out.f(0).f(100);
        out.f(10).i(1).f(0);
        if (revision == 204)
            out.i(1).f(0);
        out.i(500).i(0).fs(4, 1);
        if (revision == 204)
            out.fs(4, 0);
        out.f(1).is(4, 1).f(10).f(1).f(0).f(0).i(1).fs(4, 0.5f).i(1).i(1);
        if (revision == 204)
            out.i(0);
        out.i(1).i(1);
        if (revision == 204)
            out.i(0);
        out.i(1).i(1).f(2).f(2).f(0).f(0).i(5).i(5).f(0).i(7);
        if (revision == 204)
            out.text("Helvetica [fixed]", 64).i(1).i(10).i(0).i(0).f(0).f(100).f(0).f(100);
        break;
    case VD_TEXT:
    case VD_TEXT_LEGACY: {
        const std::string s = "Pressure 12.5 bar";
        if (revision == 204)
            out.f(x).f(y).fs(4, 1).i(7).f(1).f(0).f(0).f(1).text("Arial", 64).i(1).i(0).i(20).i(20).is(6, 0);
        else
            out.i(0).f(x).f(y).i(9).f(1).i(0).fs(4, 1).i(1).i(7).f(1).f(0).f(0).f(1);
        out.i(int32_t(s.size())).text(s, s.size() + 1);
        break;
    }
    case VD_CIRCLE:
        out.f(x).f(y).f(0.2f).f(0).f(0).f(0.1f).f(0).f(6.2831853f).i(1).f(2).i(0).fs(4, 1).i(1).fs(4, 0.5f).i(1);
        break;
    default: // RECTANGLE
        out.f(x).f(y).f(x).f(y + 10).f(x + 20).f(y + 10).f(x + 20).f(y).i(1).f(2).i(0).fs(4, 1).i(1).fs(4, 0.5f).i(1);
        break;
    }
}

// The view in the layout of revision 107 or 204.
std::vector<unsigned char> oldView(int revision)
{
    Bytes out;
    out.text(revision == 107 ? "VIEW FILE 1.7\n" : "VIEW FILE 2.4\n", 30).i(revision / 100).i(revision % 100);
    out.f(0).f(0).f(800).f(600).f(0).f(0).f(0);
    if (revision == 107)
        for (int k = 0; k < 5; ++k)
            out.text("", 128);
    for (int g = 0; g < kGroups; ++g) {
        frame(out, revision, VD_GROUP, g);
        out.i(kPerGroup);
        for (int c = 0; c < kPerGroup; ++c) {
            const int n = g * kPerGroup + c;
            const int kind = kKinds[n % 5];
            frame(out, revision, kind, n);
            body(out, revision, kind, n);
            actions(out, revision, n);
        }
        out.i(0);
    }
    out.i(20).i(0);
    return out.b;
}

// The files of the runs: one per revision and the symbol file.
struct Files
{
    std::string path(int revision) const { return folder.file("v" + std::to_string(revision) + ".v"); }
    std::string symbolPath() const { return folder.file("s.sym"); }
    BenchFolder folder{"dorneBenchOld"};
};

const Files& files()
{
    static const Files f;
    return f;
}

bool prepare(benchmark::State& state)
{
    if (!benchview::prepareFonts(state))
        return false;
    for (int revision : {107, 204}) {
        const std::vector<unsigned char> bytes = oldView(revision);
        FILE* f = std::fopen(files().path(revision).c_str(), "wb");
        if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) {
            state.SkipWithError("cannot write the view");
            return false;
        }
    }
    // The reference: the 2.04 view as 3.03.
    ELEMENT_STRUCT* elements = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config{};
    const bool saved = loadFile(files().path(204).c_str(), &elements, &sources, &config) == 0 &&
                       saveFile(files().path(303).c_str(), elements, sources, &config) == 0;
    elementDeleteAll(&elements);
    if (!saved)
        state.SkipWithError("cannot make the 3.03 view");
    return saved;
}

void load(benchmark::State& state, int revision)
{
    if (!prepare(state))
        return;
    for (auto _ : state) {
        ELEMENT_STRUCT* elements = nullptr;
        DD_DATA_TYPE_STRUCT* sources = nullptr;
        CONFIG_STRUCT config{};
        if (loadFile(files().path(revision).c_str(), &elements, &sources, &config) != 0)
            state.SkipWithError("loadFile failed");
        state.PauseTiming();
        elementDeleteAll(&elements);
        state.ResumeTiming();
    }
    state.counters["elements"] = kGroups * kPerGroup;
}

const int kSymbols = 100;
const int kPrimitivesPerSymbol = 100; // ten rounds of the ten records below

// Ten primitive records: two lines, a filled and an outlined rectangle, two
// texts, a circle and a closed polygon of three chained edges.
void symbolRound(std::string& out, int n)
{
    const std::string x = std::to_string(n % 10 * 30), y = std::to_string(n / 10 % 10 * 20);
    const std::string x2 = std::to_string(n % 10 * 30 + 20), y2 = std::to_string(n / 10 % 10 * 20 + 10);
    const std::string p1 = "X1 " + x + " Y1 " + y, p2 = " X2 " + x2 + " Y2 " + y2;
    out += "VEKTOR\n" + p1 + p2 + " RGB-Farbe 255 0 0 GESTRICHELT\n";
    out += "VEKTOR\n" + p1 + " X2 " + x2 + " Y2 " + y + " RGB-Farbe 0 0 0 DURCHGEZOGEN\n";
    out += "GEF. RECHTECK\n" + p1 + p2 + " RGB-Farbe 0 255 0 X\n";
    out += "RECHTECK\n" + p1 + p2 + " RGB-Farbe 0 0 255 GEPUNKTET\n";
    out += "TEXT\n" + p1 + " Font 1 RGB-Farbe 0 0 0 CHARACTER Ventil_" + std::to_string(n) + "\n";
    out += "TEXT\n" + p1 + " Font 2 RGB-Farbe 255 255 255 CHARACTER Pumpe\n";
    out += "KREIS\n" + p1 + " RADIUS 8 RGB-Farbe 0 255 255 STRICHPUNKT\n";
    out += "POLYGON\n" + p1 + " X2 " + x2 + " Y2 " + y + " RGB-Farbe 255 255 0 X\n";
    out += "POLYGON\nX1 " + x2 + " Y1 " + y + p2 + " RGB-Farbe 255 255 0 X\n";
    out += "POLYGON\nX1 " + x2 + " Y1 " + y2 + " X2 " + x + " Y2 " + y + " RGB-Farbe 255 255 0 X\n";
}

std::string symbolText()
{
    std::string out;
    for (int s = 0; s < kSymbols; ++s) {
        out += "SYMBOL-NR. " + std::to_string(s + 1) + "\nBEZUGSPUNKT_X " + std::to_string(s % 10 * 400) +
               " BEZUGSPUNK_Y " + std::to_string(s / 10 * 300) + "\n";
        for (int r = 0; r < kPrimitivesPerSymbol / 10; ++r)
            symbolRound(out, s * 10 + r);
    }
    return out;
}

int countElements(const ELEMENT_STRUCT* e)
{
    int n = 0;
    for (; e != nullptr; e = e->next)
        n += 1 + (e->kind == VD_GROUP ? countElements(e->children) : 0);
    return n;
}

void BM_LoadSymbolFile(benchmark::State& state)
{
    if (!prepare(state))
        return;
    const std::string text = symbolText();
    FILE* f = std::fopen(files().symbolPath().c_str(), "wb");
    if (f == nullptr || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0) {
        state.SkipWithError("cannot write the symbol file");
        return;
    }
    int elements = 0;
    for (auto _ : state) {
        ELEMENT_STRUCT* list = nullptr;
        if (loadSymbolFile(files().symbolPath().c_str(), &list, nullptr, nullptr) != 0)
            state.SkipWithError("loadSymbolFile failed");
        state.PauseTiming();
        elements = countElements(list);
        elementDeleteAll(&list);
        state.ResumeTiming();
    }
    state.counters["primitives"] = kSymbols * kPrimitivesPerSymbol;
    state.counters["elements"] = elements;
}
BENCHMARK(BM_LoadSymbolFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadOld303(benchmark::State& state)
{
    load(state, 303);
}
BENCHMARK(BM_LoadOld303)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadOld107(benchmark::State& state)
{
    load(state, 107);
}
BENCHMARK(BM_LoadOld107)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadOld204(benchmark::State& state)
{
    load(state, 204);
}
BENCHMARK(BM_LoadOld204)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
