// The XML view file's codecs and path data.
//
// Throughput of MD5 and of Base64 encoding and decoding over a 1 MiB block
// of pseudo-random bytes (shown as bytes_per_second; target at least
// 200 MB/s each). Beside each, the reference measured in the same run: a
// memcpy of the same block ("memcpy_MBps") and a plain byte loop that adds
// every byte ("loop_MBps"), and the codec's share of the memcpy rate.
//
// Bitmap definitions: one 1024 x 1024 RGBA image (a gradient with some
// noise, as a picture compresses) written as a definition (digest, zlib,
// Base64, the element) and read back (Base64, inflate); target under 150 ms
// each. Beside each, zlib alone on the same pixels in the same run
// ("zlib_ms": compress for the write, uncompress for the read).
//
// Data sources: saveFileXml and loadFileXml of one view of ten sources of
// 1,000 variables with one parameter each; target under 100 ms each.
// Beside each, the binary view file's saveFile or loadFile of the same
// sources in the same run ("binary_ms"). A save includes the sync and the
// rename, a load freeing what was read.
//
// Elements: saveFileXml and loadFileXml of the 10,000-element view of the
// binary file benchmark (benchElements.h), in the offscreen GL context;
// target under 250 ms each. Beside each, saveFile or loadFile of the same
// view in the same run ("binary_ms"), the XML time measured the same way
// ("xml_ms") and their ratio ("x_binary"). A save includes the sync and the
// rename; freeing what a load read is not timed.
//
// Path data: one path of 100,000 segments cycling through L, C, Q, S, T,
// H, V and A, all of moderate size, turned into one point list ("points"
// per parse).
#include "benchElements.h"
#include "benchSources.h"

#include "xml/Base64.h"
#include "xml/Definitions.h"
#include "xml/Md5.h"
#include "xml/Path.h"

#include "dorneFiles.h"
#include "dorneLog.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <chrono>
#include <cstring>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const size_t kBlock = 1 << 20;

const std::vector<unsigned char>& block()
{
    static const std::vector<unsigned char> bytes = [] {
        std::vector<unsigned char> b(kBlock);
        std::mt19937 random(3);
        for (auto& c : b)
            c = static_cast<unsigned char>(random());
        return b;
    }();
    return bytes;
}

// MB/s of f over n bytes, the best of a few rounds.
template <typename F>
double rate(size_t n, F f)
{
    double best = 0;
    for (int round = 0; round < 5; ++round) {
        const auto start = std::chrono::steady_clock::now();
        const int reps = 20;
        for (int i = 0; i < reps; ++i)
            f();
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (s > 0 && n * reps / s / 1e6 > best)
            best = n * reps / s / 1e6;
    }
    return best;
}

// The references of this run, over the same block.
void addReferences(benchmark::State& state, double codecMBps)
{
    static std::vector<unsigned char> copy(kBlock);
    const double memcpyRate = rate(kBlock, [] {
        std::memcpy(copy.data(), block().data(), kBlock);
        benchmark::ClobberMemory();
    });
    const double loopRate = rate(kBlock, [] {
        unsigned sum = 0;
        const unsigned char* p = block().data();
        for (size_t i = 0; i < kBlock; ++i) {
            sum += p[i];
            benchmark::DoNotOptimize(sum); // one byte at a time, not vectorised
        }
    });
    state.counters["memcpy_MBps"] = memcpyRate;
    state.counters["loop_MBps"] = loopRate;
    state.counters["x_memcpy"] = memcpyRate > 0 ? codecMBps / memcpyRate : 0;
}

double elapsedRate(benchmark::State& state, size_t bytesPerIteration, double seconds)
{
    return seconds > 0 ? double(bytesPerIteration) * double(state.iterations()) / seconds / 1e6 : 0;
}

void BM_Md5(benchmark::State& state)
{
    const auto& b = block();
    dorne::Md5 md5;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        dorne::Md5Hash hash = md5.getMd5(b.data(), unsigned(b.size()));
        benchmark::DoNotOptimize(hash);
    }
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBlock));
    addReferences(state, elapsedRate(state, kBlock, s));
}
BENCHMARK(BM_Md5)->Unit(benchmark::kMillisecond);

void BM_Base64Encode(benchmark::State& state)
{
    const auto& b = block();
    const dorne::Base64 base64;
    std::vector<char> text(size_t(base64.getSize(int(kBlock))));
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        benchmark::DoNotOptimize(base64.encode(b.data(), text.data(), int(kBlock), 0));
        benchmark::ClobberMemory();
    }
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBlock));
    addReferences(state, elapsedRate(state, kBlock, s));
}
BENCHMARK(BM_Base64Encode)->Unit(benchmark::kMillisecond);

// Bytes processed are the decoded bytes (1 MiB from its 1.33 MiB of text).
void BM_Base64Decode(benchmark::State& state)
{
    const auto& b = block();
    const dorne::Base64 base64;
    std::vector<char> text(size_t(base64.getSize(int(kBlock))));
    const int length = base64.encode(b.data(), text.data(), int(kBlock), 0);
    std::vector<unsigned char> bytes(kBlock);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        if (base64.decode(text.data(), bytes.data(), length) != int(kBlock))
            state.SkipWithError("decoding failed");
        benchmark::ClobberMemory();
    }
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBlock));
    addReferences(state, elapsedRate(state, kBlock, s));
}
BENCHMARK(BM_Base64Decode)->Unit(benchmark::kMillisecond);

const std::string& pathText()
{
    static const std::string text = [] {
        const char* segments[] = {
            "L 20 5 ",         "C 25 15 35 15 40 0 ", "Q 45 -10 50 0 ", "S 60 10 70 0 ",
            "T 80 0 ",         "h 10 ",               "v 10 ",          "A 8 8 0 0 1 100 10 ",
        };
        std::string t = "M 0 0 ";
        // Absolute end points: every round of eight comes back to the same
        // places, so the path does not drift.
        for (int i = 0; i < 100000; ++i)
            t += segments[i % 8];
        return t;
    }();
    return text;
}

void BM_PathFlatten100kSegments(benchmark::State& state)
{
    const std::string& text = pathText();
    const dorne::Path path;
    size_t points = 0;
    for (auto _ : state) {
        const dorne::Path::Subpaths lists = path.pointsFromString(text);
        points = 0;
        for (const auto& l : lists)
            points += l.size();
        benchmark::DoNotOptimize(points);
    }
    state.counters["segments"] = 100000;
    state.counters["points"] = double(points);
    state.counters["text_kB"] = double(text.size()) / 1e3;
}
BENCHMARK(BM_PathFlatten100kSegments)->Unit(benchmark::kMillisecond);

// Milliseconds of one call of f, the best of a few.
template <typename F>
double bestMs(F f)
{
    double best = 1e300;
    for (int round = 0; round < 5; ++round) {
        const auto start = std::chrono::steady_clock::now();
        f();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        best = ms < best ? ms : best;
    }
    return best;
}

const int kSide = 1024;

const std::vector<unsigned char>& picture()
{
    static const std::vector<unsigned char> pixels = [] {
        std::vector<unsigned char> p(size_t(kSide) * kSide * 4);
        std::mt19937 random(11);
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                unsigned char* px = &p[(size_t(y) * kSide + size_t(x)) * 4];
                const unsigned noise = random() % 8;
                px[0] = static_cast<unsigned char>(x / 4 + noise);
                px[1] = static_cast<unsigned char>(y / 4 + noise);
                px[2] = static_cast<unsigned char>((x + y) / 8);
                px[3] = 255;
            }
        return p;
    }();
    return pixels;
}

void BM_BitmapDefinitionWrite(benchmark::State& state)
{
    const auto& pixels = picture();
    size_t textLength = 0;
    for (auto _ : state) {
        dorne::DefinitionWriter writer;
        dorne::XmlElement definition("definition");
        int id = 0;
        if (writer.saveImage(&definition, kSide, kSide, pixels.data(), &id) != 0)
            state.SkipWithError("the bitmap was not written");
        textLength = definition.firstElement().getAttributeString("data").size();
    }
    const double zlibMs = bestMs([&] {
        uLongf n = compressBound(uLong(pixels.size()));
        std::vector<unsigned char> packed(n);
        compress(packed.data(), &n, pixels.data(), uLong(pixels.size()));
        benchmark::DoNotOptimize(packed.data());
    });
    state.counters["zlib_ms"] = zlibMs;
    state.counters["text_MB"] = double(textLength) / 1e6;
    state.counters["target_ms"] = 150;
}
BENCHMARK(BM_BitmapDefinitionWrite)->Unit(benchmark::kMillisecond);

void BM_BitmapDefinitionRead(benchmark::State& state)
{
    const auto& pixels = picture();
    dorne::DefinitionWriter writer;
    dorne::XmlElement definition("definition");
    int id = 0;
    writer.saveImage(&definition, kSide, kSide, pixels.data(), &id);
    for (auto _ : state) {
        dorne::DefinitionReader reader;
        reader.loadDefinition(definition);
        const dorne::Image* image = reader.image(id);
        if (image == nullptr || image->pixels != pixels)
            state.SkipWithError("the bitmap did not read back");
    }
    uLongf n = compressBound(uLong(pixels.size()));
    std::vector<unsigned char> packed(n);
    compress(packed.data(), &n, pixels.data(), uLong(pixels.size()));
    std::vector<unsigned char> back(pixels.size());
    state.counters["zlib_ms"] = bestMs([&] {
        uLongf m = uLongf(back.size());
        uncompress(back.data(), &m, packed.data(), n);
        benchmark::DoNotOptimize(back.data());
    });
    state.counters["target_ms"] = 150;
}
BENCHMARK(BM_BitmapDefinitionRead)->Unit(benchmark::kMillisecond);

// Ten sources of 1,000 variables, each with one parameter and a default.
DD_DATA_TYPE_STRUCT* manyVariables()
{
    DD_DATA_TYPE_STRUCT* head = nullptr;
    for (int s = 0; s < 10; ++s) {
        DD_DATA_TYPE_STRUCT* source = createDataType(10);
        source->type = 1 + s % 6;
        source->dataOptionCount = 2;
        source->varOptionCount = 1;
        std::snprintf(source->para[0].text, 64, "source %d", s);
        appendDataType(&head, source);
        DD_VAR_STRUCT* last = nullptr;
        for (int v = 0; v < 1000; ++v) {
            DD_VAR_STRUCT* var = createVariable(10);
            var->type = v % 11;
            var->paraCount = 1;
            std::snprintf(var->name, sizeof var->name, "signal_%d_%04d", s, v);
            std::snprintf(var->defaultText, sizeof var->defaultText, "%d.5", v);
            var->para[0].value = v % 3;
            std::snprintf(var->para[0].text, 64, "channel/%d/%d", s, v);
            linkVariable(source, last, var);
        }
    }
    return head;
}

struct ViewFiles
{
    ViewFiles()
    {
        char pattern[] = "/tmp/dorneBenchXmlXXXXXX";
        if (mkdtemp(pattern) != nullptr)
            folder = pattern;
        xml = folder + "/view.xml";
        binary = folder + "/view.v";
    }
    ~ViewFiles()
    {
        std::remove(xml.c_str());
        std::remove(binary.c_str());
        rmdir(folder.c_str());
    }
    std::string folder, xml, binary;
};

void BM_SaveFileXml10kVariables(benchmark::State& state)
{
    setLogLevel(0);
    ViewFiles files;
    DD_DATA_TYPE_STRUCT* sources = manyVariables();
    CONFIG_STRUCT config{};
    for (auto _ : state)
        if (saveFileXml(files.xml.c_str(), nullptr, sources, &config) != 0)
            state.SkipWithError("saveFileXml failed");
    state.counters["binary_ms"] = bestMs([&] { saveFile(files.binary.c_str(), nullptr, sources, &config); });
    state.counters["target_ms"] = 100;
    freeSources(&sources);
}
BENCHMARK(BM_SaveFileXml10kVariables)->Unit(benchmark::kMillisecond);

void BM_LoadFileXml10kVariables(benchmark::State& state)
{
    setLogLevel(0);
    ViewFiles files;
    DD_DATA_TYPE_STRUCT* sources = manyVariables();
    CONFIG_STRUCT config{};
    saveFileXml(files.xml.c_str(), nullptr, sources, &config);
    saveFile(files.binary.c_str(), nullptr, sources, &config);
    freeSources(&sources);
    for (auto _ : state) {
        ELEMENT_STRUCT* elements = nullptr;
        DD_DATA_TYPE_STRUCT* loaded = nullptr;
        if (loadFileXml(files.xml.c_str(), &elements, &loaded, &config) != 0)
            state.SkipWithError("loadFileXml failed");
        freeSources(&loaded);
    }
    state.counters["binary_ms"] = bestMs([&] {
        ELEMENT_STRUCT* elements = nullptr;
        DD_DATA_TYPE_STRUCT* loaded = nullptr;
        loadFile(files.binary.c_str(), &elements, &loaded, &config);
        freeSources(&loaded);
    });
    state.counters["target_ms"] = 100;
}
BENCHMARK(BM_LoadFileXml10kVariables)->Unit(benchmark::kMillisecond);

void BM_SaveFileXmlElements(benchmark::State& state)
{
    if (!benchview::prepareFonts(state))
        return;
    setLogLevel(0);
    ViewFiles files;
    ELEMENT_STRUCT* elements = benchview::makeElements();
    CONFIG_STRUCT config{};
    for (auto _ : state)
        if (saveFileXml(files.xml.c_str(), elements, nullptr, &config) != 0)
            state.SkipWithError("saveFileXml failed");
    // Best of five each, in the same run, for the ratio.
    const double xml = bestMs([&] { saveFileXml(files.xml.c_str(), elements, nullptr, &config); });
    const double binary = bestMs([&] { saveFile(files.binary.c_str(), elements, nullptr, &config); });
    elementDeleteAll(&elements);
    state.counters["xml_ms"] = xml;
    state.counters["binary_ms"] = binary;
    state.counters["target_ms"] = 250;
    state.counters["x_binary"] = binary > 0 ? xml / binary : 0;
}
BENCHMARK(BM_SaveFileXmlElements)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadFileXmlElements(benchmark::State& state)
{
    if (!benchview::prepareFonts(state))
        return;
    setLogLevel(0);
    ViewFiles files;
    ELEMENT_STRUCT* saved = benchview::makeElements();
    CONFIG_STRUCT config{};
    saveFileXml(files.xml.c_str(), saved, nullptr, &config);
    saveFile(files.binary.c_str(), saved, nullptr, &config);
    elementDeleteAll(&saved);
    for (auto _ : state) {
        ELEMENT_STRUCT* elements = nullptr;
        DD_DATA_TYPE_STRUCT* loaded = nullptr;
        if (loadFileXml(files.xml.c_str(), &elements, &loaded, &config) != 0)
            state.SkipWithError("loadFileXml failed");
        state.PauseTiming();
        elementDeleteAll(&elements);
        state.ResumeTiming();
    }
    // Best of five each, in the same run, for the ratio; freeing what was
    // read is not timed.
    const auto loadMs = [&](int (*load)(const char*, ELEMENT_STRUCT**, DD_DATA_TYPE_STRUCT**, CONFIG_STRUCT*),
                            const std::string& path) {
        double best = 1e300;
        for (int round = 0; round < 5; ++round) {
            ELEMENT_STRUCT* elements = nullptr;
            DD_DATA_TYPE_STRUCT* loaded = nullptr;
            const auto start = std::chrono::steady_clock::now();
            load(path.c_str(), &elements, &loaded, &config);
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            best = ms < best ? ms : best;
            elementDeleteAll(&elements);
        }
        return best;
    };
    const double xml = loadMs(loadFileXml, files.xml);
    const double binary = loadMs(loadFile, files.binary);
    state.counters["xml_ms"] = xml;
    state.counters["binary_ms"] = binary;
    state.counters["target_ms"] = 250;
    state.counters["x_binary"] = binary > 0 ? xml / binary : 0;
}
BENCHMARK(BM_LoadFileXmlElements)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
