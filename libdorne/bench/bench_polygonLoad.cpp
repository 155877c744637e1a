// Loading polygons of many vertices through every reader that builds them:
// the binary view file, the XML view file's "points" and "path", and the
// chained edges of a symbol file.
//
// Each benchmark loads one polygon of 1,000,000 vertices and, in the same
// run, one of 100,000 through the same reader, and prints both times
// ("ms_100k", "ms_1M") and their ratio ("x_10"): a load in time
// proportional to the vertices gives about 10 (target: at most 12). The
// polygon is a comb of integer coordinates (a zigzag top edge closed along
// the bottom), which every format carries exactly and the tessellator fills
// without new vertices. Each load is checked to have made all its vertices;
// freeing it is not timed.
//
// Loads run in the offscreen GL context, since a polygon's fill is
// tessellated into a display list as it loads (by GLU, which sorts the
// vertices). Beside them the same run loads both files once more with no
// context current, where no fill is tessellated ("nofill_ms_100k",
// "nofill_ms_1M", "x_10_nofill"): the part the readers, the vertices and
// the grab handles take. All times are CPU time of the thread.
#include "benchFolder.h"
#include "benchSources.h"
#include "glFrame.h"
#include "orloGlContext.h"

#include "dorneElements.h"
#include "dorneFiles.h"
#include "dorneLog.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const int kSmall = 100000;
const int kLarge = 1000000;

enum class Reader { binary, xmlPoints, xmlPath, symbolEdges };

// Vertex i of the comb of n vertices.
void combVertex(int i, int n, int& x, int& y)
{
    if (i < n - 2) {
        x = i;
        y = 1000 + (i % 2) * 10;
    } else {
        x = i == n - 2 ? n - 3 : 0;
        y = 0;
    }
}

const BenchFolder& folder()
{
    static const BenchFolder made("dornePolyBench");
    return made;
}

// The comb as a closed polygon element, its vertices linked in one pass.
ELEMENT_STRUCT* combElement(int n)
{
    ELEMENT_STRUCT* e = elementCreate(VD_CPOLYGON);
    if (e == nullptr)
        return nullptr;
    auto* p = static_cast<POLY_STRUCT*>(e->data);
    COORD_STRUCT* last = nullptr;
    for (int i = 0; i < n; ++i) {
        COORD_STRUCT* c = createCoord();
        if (c == nullptr)
            break;
        int x, y;
        combVertex(i, n, x, y);
        c->id = uint32_t(i);
        c->x = float(x);
        c->y = float(y);
        c->prev = last;
        (last != nullptr ? last->next : p->coords) = c;
        last = c;
    }
    p->fill = 1;
    e->update(e);
    return e;
}

CONFIG_STRUCT config(int n)
{
    CONFIG_STRUCT c{};
    c.width = float(n);
    c.height = 1100;
    return c;
}

bool writeText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    return bool(out.flush());
}

// The XML file of the comb with its "points" replaced by a "path" of the
// same vertices, open (no closing command, which would add a vertex).
bool writePathFile(const std::string& path, const std::string& pointsFile, int n)
{
    std::ifstream in(pointsFile, std::ios::binary);
    std::stringstream read;
    read << in.rdbuf();
    std::string text = read.str();
    const size_t tag = text.find("<polygon ");
    const size_t start = text.find("points=\"", tag);
    const size_t end = start == std::string::npos ? start : text.find('"', start + 8);
    if (tag == std::string::npos || end == std::string::npos)
        return false;
    std::string data;
    data.reserve(size_t(n) * 16);
    for (int i = 0; i < n; ++i) {
        int x, y;
        combVertex(i, n, x, y);
        data += (i == 0 ? "M " : " L ") + std::to_string(x) + ' ' + std::to_string(y);
    }
    text.replace(start, end + 1 - start, "path=\"" + data + "\"");
    text.replace(tag, 9, "<path ");
    return writeText(path, text);
}

// One symbol holding the comb as a chain of edges, each from the end of
// the one before.
bool writeSymbolFile(const std::string& path, int n)
{
    std::string text = "SYMBOL-NR. 1\nBEZUGSPUNKT_X 0 BEZUGSPUNK_Y 0\n";
    text.reserve(size_t(n) * 64);
    for (int i = 0; i < n; ++i) {
        int x1, y1, x2, y2;
        combVertex(i, n, x1, y1);
        combVertex((i + 1) % n, n, x2, y2);
        text += "POLYGON\nX1 " + std::to_string(x1) + " Y1 " + std::to_string(y1) + " X2 " + std::to_string(x2) +
                " Y2 " + std::to_string(y2) + " RGB-Farbe 0 128 255 X\n";
    }
    return writeText(path, text);
}

// The file of n vertices for the reader, written once; empty when writing
// failed. The path file is the points file with its "points" rewritten.
std::string fileFor(Reader reader, int n)
{
    static std::string made[4][2];
    std::string& path = made[int(reader)][n == kLarge ? 1 : 0];
    if (!path.empty())
        return path;
    const std::string size = std::to_string(n);
    bool ok = false;
    if (reader == Reader::binary || reader == Reader::xmlPoints) {
        ELEMENT_STRUCT* list = combElement(n);
        CONFIG_STRUCT c = config(n);
        if (reader == Reader::binary) {
            path = folder().file("comb" + size + ".v");
            ok = list != nullptr && saveFile(path.c_str(), list, nullptr, &c) == 0;
        } else {
            path = folder().file("points" + size + ".xml");
            ok = list != nullptr && saveFileXml(path.c_str(), list, nullptr, &c) == 0;
        }
        elementDeleteAll(&list);
    } else if (reader == Reader::xmlPath) {
        const std::string points = fileFor(Reader::xmlPoints, n);
        path = folder().file("path" + size + ".xml");
        ok = !points.empty() && writePathFile(path, points, n);
    } else {
        path = folder().file("comb" + size + ".sym");
        ok = writeSymbolFile(path, n);
    }
    if (!ok)
        path.clear();
    return path;
}

double cpuSeconds()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

int vertexCount(const ELEMENT_STRUCT* list)
{
    int n = 0;
    for (const ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        if (e->kind == VD_GROUP)
            n += vertexCount(e->children);
        if ((e->kind == VD_POLYGON || e->kind == VD_CPOLYGON) && e->data != nullptr)
            for (const COORD_STRUCT* c = static_cast<const POLY_STRUCT*>(e->data)->coords; c != nullptr; c = c->next)
                ++n;
    }
    return n;
}

// CPU seconds of one load of the file of n vertices through the reader;
// negative when it failed or did not make all n vertices.
double timedLoad(Reader reader, int n)
{
    const std::string path = fileFor(reader, n);
    if (path.empty())
        return -1;
    ELEMENT_STRUCT* elements = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT read{};
    const double start = cpuSeconds();
    int result = -1;
    switch (reader) {
    case Reader::binary:
        result = loadFile(path.c_str(), &elements, &sources, &read);
        break;
    case Reader::xmlPoints:
    case Reader::xmlPath:
        result = loadFileXml(path.c_str(), &elements, &sources, &read);
        break;
    case Reader::symbolEdges:
        result = loadSymbolFile(path.c_str(), &elements, nullptr, nullptr);
        break;
    }
    const double seconds = cpuSeconds() - start;
    const bool complete = result == 0 && vertexCount(elements) == n;
    elementDeleteAll(&elements);
    freeSources(&sources);
    return complete ? seconds : -1;
}

void BM_LoadPolygon(benchmark::State& state, Reader reader)
{
    if (!prepareGlFrame(state, 64, 64))
        return;
    setLogLevel(1);
    if (fileFor(reader, kSmall).empty() || fileFor(reader, kLarge).empty()) {
        state.SkipWithError("cannot write the files");
        return;
    }
    // Seconds summed over the runs, [0] of 100,000 and [1] of 1,000,000
    // vertices: loads in the context and loads with none current.
    double loads[2] = {0, 0}, bare[2] = {0, 0};
    bool complete = true;
    auto add = [&](double& sum, int n) {
        const double t = timedLoad(reader, n);
        complete = complete && t >= 0;
        sum += t;
    };
    for (auto _ : state) {
        add(loads[0], kSmall);
        add(loads[1], kLarge);
        orlo_gl::GlContext::releaseCurrent();
        add(bare[0], kSmall);
        add(bare[1], kLarge);
        if (!prepareGlFrame(state, 64, 64))
            return;
        if (!complete) {
            state.SkipWithError("a load failed or lost vertices");
            return;
        }
    }
    const double runs = double(state.iterations());
    auto ratio = [](const double* t) { return t[0] > 0 ? t[1] / t[0] : 0; };
    state.counters["ms_100k"] = 1e3 * loads[0] / runs;
    state.counters["ms_1M"] = 1e3 * loads[1] / runs;
    state.counters["x_10"] = ratio(loads);
    state.counters["nofill_ms_100k"] = 1e3 * bare[0] / runs;
    state.counters["nofill_ms_1M"] = 1e3 * bare[1] / runs;
    state.counters["x_10_nofill"] = ratio(bare);
}
BENCHMARK_CAPTURE(BM_LoadPolygon, binary, Reader::binary)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_LoadPolygon, xmlPoints, Reader::xmlPoints)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_LoadPolygon, xmlPath, Reader::xmlPath)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_LoadPolygon, symbolEdges, Reader::symbolEdges)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
