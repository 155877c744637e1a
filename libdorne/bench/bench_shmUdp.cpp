// The shared-memory and UDP sources in one view, as a data thread drives
// them: 100,000 datagrams of 1,024 bytes with 100 variables sent over the
// loopback address, paced so the receive buffer never overflows, while a
// loop calls fillDP every 10 ms and also reads a 64 KB segment of 1,000
// variables (an NSHM block) per cycle. Prints the cycle times and whether
// the last values seen are the last sent. Two more benchmarks time one
// cycle of each source alone.
#include "../tests/peerSupport.h"

#include "dorneDataSources.h"
#include "dorneLog.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const uint32_t kDatagrams = 100000;
const size_t kDatagramSize = 1024;
const int kUdpVariables = 100;
const size_t kSegmentSize = 64 * 1024;
const int kShmVariables = 1000;
const uint32_t kBurst = 64; // datagrams per cycle at most: 64 x 1 KB stays inside a default receive buffer

const int kTypes[] = {DD_FLOAT, DD_DOUBLE, DD_CHAR, DD_UCHAR, DD_SHORT, DD_USHORT, DD_INT, DD_UINT, DD_LONG, DD_ULONG};
const int32_t kNshmCodes[] = {2, 0, 9, 10, 6, 7, 1, 22, 3, 4}; // float, ints, chars, shorts, longs

// A view of the two sources, built as a load and a start build it.
struct Bench
{
    peer::Segment segment{kSegmentSize};
    int port = peer::freeUdpPort();
    DD_DATA_TYPE_STRUCT* view = nullptr;
    DD_VAR_STRUCT* sequence = nullptr; // the datagram's first UINT
    DD_VAR_STRUCT* counter = nullptr;  // the segment's first entry

    explicit Bench(bool withUdp, bool withShm)
    {
        setLogLevel(1);
        if (!segment.ok() || port <= 0)
            return;
        if (withShm) {
            const int32_t n = kShmVariables;
            std::memcpy(segment.bytes + 60, &n, 4);
            for (int k = 1; k <= kShmVariables; ++k) {
                unsigned char* entry = segment.bytes + 64 * k;
                std::snprintf(reinterpret_cast<char*>(entry), 52, "shm%d", k);
                std::memcpy(entry + 52, &kNshmCodes[k % 10], 4);
                peer::putBytes(entry + 56, uint64_t(k), 4, true);
            }
            DD_DATA_TYPE_STRUCT* shm = source(3);
            std::snprintf(shm->para[0].text, 64, "%s", segment.keyText().c_str());
            shm->para[1].value = 0; // big-endian: every value reversed on this host
            shm->para[2].value = 1; // the variables come from the block
        }
        if (withUdp) {
            DD_DATA_TYPE_STRUCT* udp = source(4);
            std::snprintf(udp->para[0].text, 64, "%d", port);
            std::snprintf(udp->para[1].text, 64, "%zu", kDatagramSize);
            udp->para[2].value = 0;
            for (int i = 0; i < kUdpVariables; ++i) { // 8 bytes apart: 800 of the 1,024 bytes
                DD_VAR_STRUCT* v = createVariable(10);
                v->type = i == 0 ? DD_UINT : kTypes[i % 10];
                std::snprintf(v->name, sizeof v->name, "udp%d", i);
                std::snprintf(v->para[0].text, 64, "%d", i * 8);
                appendVariable(&udp->variables, v);
            }
            sequence = udp->variables;
        }
        DD_DATA_TYPE_STRUCT* registry = nullptr;
        vdiLoadStaticDataSources(&registry);
        updateDataTypes(registry, &view);
        while (registry != nullptr)
            delDataType(&registry, registry, 1);
        openDataSources(view);
        callStartView(view);
        for (DD_DATA_TYPE_STRUCT* s = view; s != nullptr; s = s->next)
            for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next)
                v->value = std::calloc(1, 8);
        writeDefault(view);
        if (withShm)
            counter = view->variables;
        segment.markRemoved();
    }
    ~Bench()
    {
        closeDataSources(view);
        while (view != nullptr)
            delDataType(&view, view, 1);
    }
    DD_DATA_TYPE_STRUCT* source(int type)
    {
        DD_DATA_TYPE_STRUCT* s = createDataType(10);
        s->type = type;
        appendDataType(&view, s);
        return s;
    }
    bool ready() const { return view != nullptr && (sequence != nullptr || counter != nullptr); }
};

uint32_t read32(const DD_VAR_STRUCT* v)
{
    uint32_t n;
    std::memcpy(&n, v->value, 4);
    return n;
}

// The system's count of datagrams dropped for a full receive buffer.
long long receiveBufferErrors()
{
    std::ifstream snmp("/proc/net/snmp");
    std::string names, values, line;
    while (std::getline(snmp, line))
        if (line.rfind("Udp:", 0) == 0) {
            if (names.empty())
                names = line;
            else
                values = line;
        }
    std::istringstream n(names), v(values);
    std::string name, value;
    while (n >> name && v >> value)
        if (name == "RcvbufErrors")
            return std::atoll(value.c_str());
    return -1;
}

void BM_LoopbackFeed(benchmark::State& state)
{
    Bench bench(true, true);
    if (!bench.ready()) {
        state.SkipWithError("no segment or no free port");
        return;
    }
    std::atomic<uint32_t> seen{0};
    std::atomic<bool> sent{false};
    std::vector<double> cycles;
    uint32_t counterMisses = 0;
    const long long dropsBefore = receiveBufferErrors();

    for (auto _ : state) {
        std::thread sender([&] {
            peer::Sender out(bench.port);
            std::vector<unsigned char> datagram(kDatagramSize);
            for (size_t i = 0; i < kDatagramSize; ++i)
                datagram[i] = uint8_t(i * 7);
            for (uint32_t n = 1; n <= kDatagrams; ++n) {
                peer::putBytes(datagram.data(), n, 4, true);
                while (!out.send(datagram.data(), datagram.size())) // the loopback may refuse for a moment
                    std::this_thread::sleep_for(std::chrono::microseconds(50));
                // Pacing: a burst goes out, then waits until a cycle took all of it.
                // A lost datagram (counted below) holds it up for a second at most.
                if (n % kBurst == 0 || n == kDatagrams) {
                    const auto until = Clock::now() + std::chrono::seconds(1);
                    while (seen.load() < n && Clock::now() < until)
                        std::this_thread::sleep_for(std::chrono::microseconds(100));
                }
            }
            sent = true;
        });
        auto next = Clock::now();
        uint32_t after = 0; // cycles since the sender finished: 100 at most
        for (uint32_t cycle = 1; (!sent.load() || seen.load() != kDatagrams) && after < 100; ++cycle) {
            next += std::chrono::milliseconds(10);
            std::this_thread::sleep_until(next);
            peer::putBytes(bench.segment.bytes + 64 + 56, cycle, 4, true); // the peer's side of the segment
            const auto begin = Clock::now();
            fillDP(bench.view);
            const auto end = Clock::now();
            cycles.push_back(std::chrono::duration<double, std::micro>(end - begin).count());
            counterMisses += read32(bench.counter) != cycle;
            seen = read32(bench.sequence);
            after += sent.load();
        }
        sender.join();
    }

    std::vector<double> sorted = cycles;
    std::sort(sorted.begin(), sorted.end());
    double sum = 0;
    for (double c : cycles)
        sum += c;
    const long long drops = receiveBufferErrors() - dropsBefore;
    state.counters["cycles"] = double(cycles.size());
    state.counters["cycle_mean_us"] = sum / double(cycles.size());
    state.counters["cycle_p99_us"] = sorted[sorted.size() * 99 / 100];
    state.counters["cycle_max_us"] = sorted.back();
    state.counters["last_sent"] = kDatagrams;
    state.counters["last_seen"] = read32(bench.sequence);
    state.counters["segment_misses"] = counterMisses;
    state.counters["rcvbuf_drops"] = double(drops);
    std::printf("loopback feed: %u datagrams of %zu bytes, %d + %d variables, %zu cycles of 10 ms: "
                "fillDP mean %.1f us, p99 %.1f us, max %.1f us; last sent %u, last seen %u (%s); "
                "segment counter missed %u times; receive-buffer drops %lld\n",
                kDatagrams, kDatagramSize, kUdpVariables, kShmVariables, cycles.size(), sum / double(cycles.size()),
                sorted[sorted.size() * 99 / 100], sorted.back(), kDatagrams, read32(bench.sequence),
                read32(bench.sequence) == kDatagrams ? "equal" : "DIFFERENT", counterMisses, drops);
}
BENCHMARK(BM_LoopbackFeed)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

// One cycle over the 1,000 variables of the 64 KB segment, byte-reversed.
void BM_ShmCycle(benchmark::State& state)
{
    Bench bench(false, true);
    if (!bench.ready()) {
        state.SkipWithError("no segment");
        return;
    }
    for (auto _ : state) {
        fillDP(bench.view);
        benchmark::DoNotOptimize(read32(bench.counter));
    }
    state.counters["variables"] = kShmVariables;
}
BENCHMARK(BM_ShmCycle)->Unit(benchmark::kMicrosecond);

// One cycle over the 100 variables of the UDP buffer with a datagram
// waiting (its sending included).
void BM_UdpCycle(benchmark::State& state)
{
    Bench bench(true, false);
    if (!bench.ready()) {
        state.SkipWithError("no free port");
        return;
    }
    peer::Sender out(bench.port);
    std::vector<unsigned char> datagram(kDatagramSize);
    uint32_t n = 0;
    for (auto _ : state) {
        peer::putBytes(datagram.data(), ++n, 4, true);
        out.send(datagram.data(), datagram.size());
        fillDP(bench.view);
    }
    state.counters["last_seen_equals_sent"] = read32(bench.sequence) == n;
}
BENCHMARK(BM_UdpCycle)->Unit(benchmark::kMicrosecond);

} // namespace
