// Insert and lookup rates of HASH_STRUCT with 200,000 integer keys and
// 200,000 texts of 16 characters, beside std::unordered_map in the same run.
// Inserts start from an empty table (growth included) for both.
#include "dorneHash.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

const size_t kKeys = 200000;
int value;

const std::vector<uint32_t>& intKeys()
{
    static const std::vector<uint32_t> keys = [] {
        std::mt19937 random(1);
        std::unordered_set<uint32_t> seen;
        std::vector<uint32_t> k;
        while (k.size() < kKeys) {
            const uint32_t key = random();
            if (seen.insert(key).second)
                k.push_back(key);
        }
        return k;
    }();
    return keys;
}

const std::vector<std::string>& textKeys()
{
    static const std::vector<std::string> keys = [] {
        std::mt19937 random(2);
        const char chars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_.";
        std::unordered_set<std::string> seen;
        std::vector<std::string> k;
        while (k.size() < kKeys) {
            std::string key(16, ' ');
            for (char& c : key)
                c = chars[random() % 64];
            if (seen.insert(key).second)
                k.push_back(key);
        }
        return k;
    }();
    return keys;
}

// The two containers behind one interface, by key kind.
struct IntKeys
{
    static const std::vector<uint32_t>& keys() { return intKeys(); }
    static void insert(HASH_STRUCT* t, uint32_t k) { mpiHashInsert(t, k, &value); }
    static void* search(HASH_STRUCT* t, uint32_t k) { return mpiHashSearch(t, k); }
    using Map = std::unordered_map<uint32_t, void*>;
};

struct TextKeys
{
    static const std::vector<std::string>& keys() { return textKeys(); }
    static void insert(HASH_STRUCT* t, const std::string& k) { mpiHashInsertAscii(t, k.c_str(), &value); }
    static void* search(HASH_STRUCT* t, const std::string& k) { return mpiHashSearchAscii(t, k.c_str()); }
    using Map = std::unordered_map<std::string, void*>;
};

void setItems(benchmark::State& state)
{
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(kKeys));
}

template <typename K>
void HashInsert(benchmark::State& state)
{
    for (auto _ : state) {
        HASH_STRUCT* t = mpiHashCreate(0);
        for (const auto& k : K::keys())
            K::insert(t, k);
        state.PauseTiming();
        mpiHashRemove(t);
        state.ResumeTiming();
    }
    setItems(state);
}

template <typename K>
void MapInsert(benchmark::State& state)
{
    for (auto _ : state) {
        auto* m = new typename K::Map;
        for (const auto& k : K::keys())
            m->emplace(k, &value);
        state.PauseTiming();
        delete m;
        state.ResumeTiming();
    }
    setItems(state);
}

template <typename K>
void HashLookup(benchmark::State& state)
{
    HASH_STRUCT* t = mpiHashCreate(0);
    for (const auto& k : K::keys())
        K::insert(t, k);
    for (auto _ : state)
        for (const auto& k : K::keys())
            benchmark::DoNotOptimize(K::search(t, k));
    mpiHashRemove(t);
    setItems(state);
}

template <typename K>
void MapLookup(benchmark::State& state)
{
    typename K::Map m;
    for (const auto& k : K::keys())
        m.emplace(k, &value);
    for (auto _ : state)
        for (const auto& k : K::keys())
            benchmark::DoNotOptimize(m.find(k));
    setItems(state);
}

} // namespace

BENCHMARK_TEMPLATE(HashInsert, IntKeys)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(MapInsert, IntKeys)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(HashLookup, IntKeys)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(MapLookup, IntKeys)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(HashInsert, TextKeys)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(MapInsert, TextKeys)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(HashLookup, TextKeys)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(MapLookup, TextKeys)->Unit(benchmark::kMillisecond);
