// Saving and loading views through the binary view file.
//
// Variables: ten sources of 1,000 variables, each variable with one
// parameter of 64 bytes and a default text. BM_ReadViewBytes opens the same
// file and reads its bytes into memory, nothing more: the reference the load
// is measured against. BM_LoadFile prints its time beside that of the plain
// read measured in the same run ("read_ms") and their ratio ("x_read"), both
// in CPU time of the thread.
//
// Elements: 1,000 groups of ten elements (10,000 elements besides the
// groups), the children cycling through every kind but TEXTURE, each child
// with three actions of two threshold entries; loaded in the offscreen GL
// context, since graphs and texts make their fonts.
//
// A load of variables includes freeing what was read; that of elements
// does not (the freeing is shown beside it, "free_ms"). A save includes the
// sync and the rename.
#include "benchElements.h"
#include "benchFolder.h"
#include "benchSources.h"
#include "glFrame.h"

#include "dorneActions.h"
#include "dorneElements.h"
#include "dorneFiles.h"
#include "dorneLog.h"
#include "sartoFonts.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const int kSources = 10;
const int kVariablesPerSource = 1000;
using benchview::kGroups;
using benchview::kPerGroup;
using benchview::makeElements;
using benchview::prepareFonts;

const BenchFolder& folder()
{
    static const BenchFolder made("dorneBench");
    return made;
}

const std::string& viewPath()
{
    static const std::string path = folder().file("view.v");
    return path;
}

const std::string& elementsPath()
{
    static const std::string path = folder().file("elements.v");
    return path;
}

DD_DATA_TYPE_STRUCT* makeSources()
{
    DD_DATA_TYPE_STRUCT* head = nullptr;
    for (int s = 0; s < kSources; ++s) {
        DD_DATA_TYPE_STRUCT* source = createDataType(10);
        source->type = 2;
        source->varOptionCount = 1;
        appendDataType(&head, source);
        DD_VAR_STRUCT* last = nullptr;
        for (int v = 0; v < kVariablesPerSource; ++v) {
            DD_VAR_STRUCT* var = createVariable(10);
            var->paraCount = 1;
            var->type = 1;
            std::snprintf(var->name, sizeof var->name, "source%d.variable%04d", s, v);
            std::snprintf(var->defaultText, sizeof var->defaultText, "%d.5", v);
            std::snprintf(var->para[0].text, size_t(var->para[0].capacity), "%d", v * 7);
            linkVariable(source, last, var);
        }
    }
    return head;
}

CONFIG_STRUCT config()
{
    CONFIG_STRUCT c{};
    c.width = 800;
    c.height = 600;
    return c;
}

// What a load cannot do with less: open the file, learn its size, read its
// bytes into memory.
bool readViewBytes(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    struct stat st;
    bool ok = fstat(fileno(file), &st) == 0;
    void* bytes = ok ? std::malloc(size_t(st.st_size)) : nullptr;
    ok = bytes != nullptr && std::fread(bytes, 1, size_t(st.st_size), file) == size_t(st.st_size);
    benchmark::DoNotOptimize(bytes);
    std::free(bytes);
    std::fclose(file);
    return ok;
}

bool writeVariablesView()
{
    DD_DATA_TYPE_STRUCT* saved = makeSources();
    CONFIG_STRUCT c = config();
    const bool ok = saveFile(viewPath().c_str(), nullptr, saved, &c) == 0;
    freeSources(&saved);
    return ok;
}

// CPU seconds of this thread, kernel time included: the machine's other
// work does not count.
double cpuSeconds()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void BM_SaveFile(benchmark::State& state)
{
    DD_DATA_TYPE_STRUCT* sources = makeSources();
    CONFIG_STRUCT c = config();
    for (auto _ : state)
        if (saveFile(viewPath().c_str(), nullptr, sources, &c) != 0)
            state.SkipWithError("saveFile failed");
    freeSources(&sources);
    state.counters["variables"] = kSources * kVariablesPerSource;
}
BENCHMARK(BM_SaveFile)->Unit(benchmark::kMillisecond);

void BM_ReadViewBytes(benchmark::State& state)
{
    if (!writeVariablesView())
        state.SkipWithError("saveFile failed");
    for (auto _ : state)
        if (!readViewBytes(viewPath()))
            state.SkipWithError("read failed");
    state.counters["variables"] = kSources * kVariablesPerSource;
}
BENCHMARK(BM_ReadViewBytes)->Unit(benchmark::kMillisecond);

void BM_LoadFile(benchmark::State& state)
{
    setLogLevel(1);
    if (!writeVariablesView())
        state.SkipWithError("saveFile failed");
    double loading = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        ELEMENT_STRUCT* elements = nullptr;
        DD_DATA_TYPE_STRUCT* sources = nullptr;
        CONFIG_STRUCT read{};
        if (loadFile(viewPath().c_str(), &elements, &sources, &read) != 0)
            state.SkipWithError("loadFile failed");
        freeSources(&sources);
        loading += cpuSeconds() - start;
    }
    // The reference: as many plain reads of the same bytes, at least 50.
    const int64_t reads = state.iterations() > 50 ? state.iterations() : 50;
    const double start = cpuSeconds();
    for (int64_t i = 0; i < reads; ++i)
        if (!readViewBytes(viewPath()))
            state.SkipWithError("read failed");
    const double reading = (cpuSeconds() - start) / double(reads);
    loading /= double(state.iterations() > 0 ? state.iterations() : 1);
    state.counters["variables"] = kSources * kVariablesPerSource;
    state.counters["read_ms"] = reading * 1e3;
    state.counters["x_read"] = reading > 0 ? loading / reading : 0;
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond);

// ---- A view of elements -----------------------------------------------------

void BM_SaveElements(benchmark::State& state)
{
    if (!prepareFonts(state))
        return;
    ELEMENT_STRUCT* elements = makeElements();
    CONFIG_STRUCT c = config();
    for (auto _ : state)
        if (saveFile(elementsPath().c_str(), elements, nullptr, &c) != 0)
            state.SkipWithError("saveFile failed");
    elementDeleteAll(&elements);
    state.counters["elements"] = kGroups * kPerGroup;
}
BENCHMARK(BM_SaveElements)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadElements(benchmark::State& state)
{
    if (!prepareFonts(state))
        return;
    ELEMENT_STRUCT* saved = makeElements();
    CONFIG_STRUCT c = config();
    if (saveFile(elementsPath().c_str(), saved, nullptr, &c) != 0)
        state.SkipWithError("saveFile failed");
    elementDeleteAll(&saved);
    struct stat st;
    const double bytes = stat(elementsPath().c_str(), &st) == 0 ? double(st.st_size) : 0;
    double freeing = 0;
    for (auto _ : state) {
        ELEMENT_STRUCT* elements = nullptr;
        DD_DATA_TYPE_STRUCT* sources = nullptr;
        CONFIG_STRUCT read{};
        if (loadFile(elementsPath().c_str(), &elements, &sources, &read) != 0)
            state.SkipWithError("loadFile failed");
        state.PauseTiming();
        const double start = cpuSeconds();
        elementDeleteAll(&elements);
        freeSources(&sources);
        freeing += cpuSeconds() - start;
        state.ResumeTiming();
    }
    state.counters["elements"] = kGroups * kPerGroup;
    state.counters["file_MB"] = bytes / 1e6;
    state.counters["free_ms"] = 1e3 * freeing / double(state.iterations() > 0 ? state.iterations() : 1);
}
BENCHMARK(BM_LoadElements)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
