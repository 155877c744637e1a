// Saving and loading a view of 10,000 data-source variables through the
// binary view file: ten sources of 1,000 variables, each variable with one
// parameter of 64 bytes and a default text. The load includes freeing what
// was read; the save includes the sync and the rename.
#include "dorneFiles.h"
#include "dorneLog.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

const int kSources = 10;
const int kVariablesPerSource = 1000;

// A folder of its own, removed with the file at exit.
struct BenchFolder
{
    BenchFolder()
    {
        char pattern[] = "/tmp/dorneBenchXXXXXX";
        if (mkdtemp(pattern) == nullptr)
            std::abort();
        folder = pattern;
    }
    ~BenchFolder()
    {
        std::remove((folder + "/view.v").c_str());
        rmdir(folder.c_str());
    }
    std::string folder;
};

const std::string& viewPath()
{
    static const BenchFolder made;
    static const std::string path = made.folder + "/view.v";
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
            // linked by hand: appendVariable walks the list
            var->prev = last;
            if (last != nullptr)
                last->next = var;
            else
                source->variables = var;
            last = var;
        }
    }
    return head;
}

void freeSources(DD_DATA_TYPE_STRUCT* head)
{
    while (head != nullptr)
        delDataType(&head, head, 0);
}

CONFIG_STRUCT config()
{
    CONFIG_STRUCT c{};
    c.width = 800;
    c.height = 600;
    return c;
}

void BM_SaveFile(benchmark::State& state)
{
    DD_DATA_TYPE_STRUCT* sources = makeSources();
    CONFIG_STRUCT c = config();
    for (auto _ : state)
        if (saveFile(viewPath().c_str(), nullptr, sources, &c) != 0)
            state.SkipWithError("saveFile failed");
    freeSources(sources);
    state.counters["variables"] = kSources * kVariablesPerSource;
}
BENCHMARK(BM_SaveFile)->Unit(benchmark::kMillisecond);

void BM_LoadFile(benchmark::State& state)
{
    setLogLevel(1);
    DD_DATA_TYPE_STRUCT* saved = makeSources();
    CONFIG_STRUCT c = config();
    if (saveFile(viewPath().c_str(), nullptr, saved, &c) != 0)
        state.SkipWithError("saveFile failed");
    freeSources(saved);
    for (auto _ : state) {
        ELEMENT_STRUCT* elements = nullptr;
        DD_DATA_TYPE_STRUCT* sources = nullptr;
        CONFIG_STRUCT read{};
        if (loadFile(viewPath().c_str(), &elements, &sources, &read) != 0)
            state.SkipWithError("loadFile failed");
        freeSources(sources);
    }
    state.counters["variables"] = kSources * kVariablesPerSource;
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond);

} // namespace
