// The binary view file: the bytes the writer produces, what the readers of
// 3.01 to 3.03 make of them, every refusal (the caller's lists untouched,
// nothing leaked) and the writer's replacement of the old file.
#include "dataSourceSupport.h"
#include "leakCheck.h"
#include "viewFileSupport.h"

#include "dorneFiles.h"
#include "dorneGl.h"
#include "dorneView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace support;

// fchmod failing on demand with this error (0: the C library's own). The
// executable's definition comes before the C library's for the engine too.
static std::atomic<int> fchmodError{0};

extern "C" int fchmod(int fd, mode_t mode) noexcept
{
    if (const int error = fchmodError.load()) {
        errno = error;
        return -1;
    }
    static const auto real = reinterpret_cast<int (*)(int, mode_t)>(dlsym(RTLD_NEXT, "fchmod"));
    return real != nullptr ? real(fd, mode) : -1;
}

namespace {

using Bytes = std::vector<unsigned char>;
using viewfile::countSources;
using viewfile::FileSizeLimit;
using viewfile::namesIn;
using viewfile::sampleConfig;

// The records of the binary view file.
struct Builder : viewfile::FieldBuilder<Builder>
{
    // header text, the two revision ints and the view block of 3.0x
    Builder& head(int major, int minor, const std::string& headerText = "VIEW FILE 3.3\n")
    {
        text(headerText, 30).i(major).i(minor);
        return f(10).f(-20).f(800).f(600).f(0.25f).f(0.5f).f(1).i(0).i(0).i(0).i(0);
    }
    // one source record head: type, D, V
    Builder& source(int32_t type, int32_t d, int32_t v) { return i(type).i(d).i(v); }
    // an element frame: kind, name and id with their lengths and zeros
    Builder& frame(int32_t kind, const std::string& name)
    {
        const std::string id = name + "-ID";
        i(kind).i(int32_t(name.size() + 1)).text(name, name.size() + 1);
        return i(int32_t(id.size() + 1)).text(id, id.size() + 1);
    }
    Builder& corners(float x0, float y0, float x1, float y1) { return f(x0).f(y0).f(x0).f(y1).f(x1).f(y1).f(x1).f(y0); }
    Builder& color(float r, float g, float b, float a) { return f(r).f(g).f(b).f(a); }
    Builder& zeros(int n)
    {
        for (int k = 0; k < n; ++k)
            i(0);
        return *this;
    }
    // a new action (createAction's defaults) with its id, in 3.03
    Builder& newAction(int32_t id)
    {
        i(id).i(0).text("", 64).text("", 64).f(0).f(1).f(0).f(1).i(0).f(0).f(1).f(0).f(1).zeros(4);
        i(0).text("", 64).i(0).f(1).zeros(4).f(1).f(0).f(1).i(1).text("", 64).zeros(2).zeros(8);
        for (int k = 0; k < 5; ++k)
            f(0).f(120).i(0);
        return *this;
    }
    // viewfile::fullAction(seed) as revision 301, 302 or 303 stores it;
    // the fields 3.01 and 3.02 do not have are ignored ints of value 99
    // there (limit, fixed-value switch and visible value read as 0).
    // (newFields false: limit, switch and value 0 in 3.03, as an older
    // action saves.)
    Builder& fullAction(int seed, int revision, bool newFields = true)
    {
        const bool r303 = revision >= 303;
        i(1000 + seed).i(12).text("speed" + std::to_string(seed), 64).text("x", 64);
        f(-1 - float(seed)).f(2).f(3).f(4);
        if (r303)
            i(newFields ? 1 : 0);
        f(5).f(6).f(7).f(8).f(9).f(10).f(11).f(12).i(3).text("%5.1f", 64).i(2).f(0.5f);
        if (!r303)
            i(99);
        i(2).i(6).i(1).i(1).f(0.25f).f(-5).f(5).i(0).text("path", 64);
        if (r303)
            i(newFields ? 1 : 0).i(newFields ? 7 : 0).zeros(8);
        else
            for (int k = 0; k < 6; ++k)
                i(99);
        for (int k = 0; k < 5; ++k) {
            f(float(-k)).f(float(100 + k)).i(k + 1);
            for (int e = 0; e <= k; ++e)
                f(float(10 * k + e)).f(float(10 * k + e) + 0.5f).i(k == 2 ? 4 : k + e).f(0.125f * float(e)).f(0.25f).f(1);
        }
        return *this;
    }
};

const size_t kBodyOffset = 30 + 8 + 7 * 4 + 4 * 4; // where the tagged records start

using viewfile::readBytes;
using viewfile::writeBytes;

std::string dashes()
{
    return "-------------------------------------\n";
}

// Two sources as a view holds them: source 1 with three of ten parameters
// and two variable parameters, source 77 with twelve and none.
DD_DATA_TYPE_STRUCT* sampleSources()
{
    DD_DATA_TYPE_STRUCT* head = nullptr;
    DD_DATA_TYPE_STRUCT* s1 = fileSource(&head, 1, 3, 2);
    for (int p = 0; p < 3; ++p) {
        s1->para[p].value = 10 + p;
        setParaText(s1->para[p], ("data" + std::to_string(p)).c_str());
    }
    DD_VAR_STRUCT* speed = fileVariable(s1, "speed", DD_FLOAT, "1.5");
    speed->para[0].value = 4;
    setParaText(speed->para[0], "SIN");
    speed->para[1].value = 2;
    setParaText(speed->para[1], "0x10");
    fileVariable(s1, "label", DD_STRING, "hello");
    DD_DATA_TYPE_STRUCT* s2 = fileSource(&head, 77, 12, 0);
    setParaText(s2->para[11], "last");
    fileVariable(s2, "flag", DD_INT);
    return head;
}

class ViewFile : public ::testing::Test
{
protected:
    void TearDown() override { expectNoLeaks(); }

    std::string path(const char* name) const { return folder.path + "/" + name; }

    // Saves the sample sources with the sample block; the file's path.
    std::string saveSample(const char* name)
    {
        DD_DATA_TYPE_STRUCT* sources = sampleSources();
        CONFIG_STRUCT config = sampleConfig();
        EXPECT_EQ(saveFile(path(name).c_str(), nullptr, sources, &config), 0);
        freeSources(&sources);
        return path(name);
    }

    // Writes the bytes to a file and loads it into empty lists.
    int load(const Bytes& bytes, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config)
    {
        writeBytes(path("in.v"), bytes);
        ELEMENT_STRUCT* elements = nullptr;
        const int rc = loadFile(path("in.v").c_str(), &elements, sources, config);
        EXPECT_EQ(elements, nullptr);
        return rc;
    }

    TempFolder folder;
    LogCapture log;
};

TEST_F(ViewFile, EmptyViewIsWrittenByteForByteAndReadBack)
{
    CONFIG_STRUCT config = sampleConfig();
    ASSERT_EQ(saveFile(path("empty.v").c_str(), nullptr, nullptr, &config), 0);
    Builder expected;
    expected.head(3, 3).i(20).i(0);
    EXPECT_EQ(readBytes(path("empty.v")), expected.b);

    // The texts of the block are not in the file: a caller's stay.
    CONFIG_STRUCT loaded{};
    std::strcpy(loaded.texts[2], "kept");
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    log.take();
    ELEMENT_STRUCT* elements = nullptr;
    ASSERT_EQ(loadFile(path("empty.v").c_str(), &elements, &sources, &loaded), 0);
    EXPECT_EQ(log.take(), dashes() + "reading view file from " + path("empty.v") + "\nVersion = 3.3\n" + dashes());
    EXPECT_EQ(elements, nullptr);
    EXPECT_EQ(sources, nullptr);
    std::strcpy(config.texts[2], "kept");
    EXPECT_EQ(std::memcmp(&loaded, &config, sizeof config), 0);

    // No data-source section at all, and a header text that says another
    // revision: the ints decide.
    Builder bare;
    bare.head(3, 3, "VIEW FILE 9.9\n");
    CONFIG_STRUCT fromBare{};
    EXPECT_EQ(load(bare.b, &sources, &fromBare), 0);
    EXPECT_EQ(fromBare.width, 800.0f);
    EXPECT_EQ(fromBare.b, 1.0f);
    EXPECT_EQ(sources, nullptr);
}

TEST_F(ViewFile, SourcesRoundTripWithTheirParametersAndVariables)
{
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT loaded{};
    ELEMENT_STRUCT* elements = nullptr;
    ASSERT_EQ(loadFile(saveSample("sources.v").c_str(), &elements, &sources, &loaded), 0);
    ASSERT_EQ(countSources(sources), 2);

    DD_DATA_TYPE_STRUCT* s1 = sources;
    EXPECT_EQ(s1->type, 1);
    EXPECT_EQ(s1->dataOptionCount, 3);
    EXPECT_EQ(s1->varOptionCount, 2);
    EXPECT_EQ(s1->paraAlloc, 10) << "at least ten entries";
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(s1->para[p].value, 10 + p);
        EXPECT_STREQ(s1->para[p].text, ("data" + std::to_string(p)).c_str());
    }
    EXPECT_STREQ(s1->para[3].text, "");
    DD_VAR_STRUCT* speed = s1->variables;
    ASSERT_NE(speed, nullptr);
    EXPECT_STREQ(speed->name, "speed");
    EXPECT_EQ(speed->type, DD_FLOAT);
    EXPECT_STREQ(speed->defaultText, "1.5");
    EXPECT_EQ(speed->paraCount, 2);
    EXPECT_EQ(speed->paraAlloc, 10);
    EXPECT_EQ(speed->para[0].value, 4);
    EXPECT_STREQ(speed->para[0].text, "SIN");
    EXPECT_EQ(speed->para[0].capacity, 76) << "stored length 64 grows by 12";
    EXPECT_EQ(speed->para[1].value, 2);
    EXPECT_STREQ(speed->para[1].text, "0x10");
    DD_VAR_STRUCT* label = speed->next;
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->prev, speed);
    EXPECT_STREQ(label->name, "label");
    EXPECT_EQ(label->type, DD_STRING);
    EXPECT_STREQ(label->defaultText, "hello");
    EXPECT_EQ(label->next, nullptr);

    DD_DATA_TYPE_STRUCT* s2 = s1->next;
    EXPECT_EQ(s2->prev, s1);
    EXPECT_EQ(s2->type, 77);
    EXPECT_EQ(s2->paraAlloc, 12);
    EXPECT_STREQ(s2->para[11].text, "last");
    ASSERT_NE(s2->variables, nullptr);
    EXPECT_STREQ(s2->variables->name, "flag");
    EXPECT_EQ(s2->variables->paraCount, 0) << "V = 0: name, type and default only";
    freeSources(&sources);
}

TEST_F(ViewFile, StoredParameterLengthGrowsByTwelvePerCycle)
{
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    DD_DATA_TYPE_STRUCT* s = fileSource(&sources, 2, 0, 1);
    setParaText(fileVariable(s, "v", DD_DOUBLE)->para[0], "0.5");
    CONFIG_STRUCT config = sampleConfig();
    // tag, count, type, D, V, variable count, value type, name, default, value
    const size_t lengthAt = kBodyOffset + 6 * 4 + 4 + 64 + 64 + 4;
    for (int32_t expected : {64, 76, 88}) {
        ASSERT_EQ(saveFile(path("grow.v").c_str(), nullptr, sources, &config), 0);
        const Bytes bytes = readBytes(path("grow.v"));
        ASSERT_EQ(bytes.size(), lengthAt + 4 + size_t(expected));
        Builder length;
        length.i(expected);
        EXPECT_TRUE(std::equal(length.b.begin(), length.b.end(), bytes.begin() + long(lengthAt))) << expected;
        freeSources(&sources);
        ASSERT_EQ(load(bytes, &sources, &config), 0);
        EXPECT_EQ(sources->variables->para[0].capacity, expected + 12);
        EXPECT_STREQ(sources->variables->para[0].text, "0.5");
    }
    freeSources(&sources);
}

TEST_F(ViewFile, TwoSectionsAppendInFileOrderBehindTheCallersSources)
{
    Builder file;
    file.head(3, 3).i(20).i(1).source(5, 0, 0).i(0);
    file.i(20).i(2).source(6, 0, 0).i(0).source(7, 1, 0).i(9).text("p", 64).i(0);
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    fileSource(&sources, 99, 0, 0);
    CONFIG_STRUCT config{};
    ASSERT_EQ(load(file.b, &sources, &config), 0);
    std::vector<int> types;
    const DD_DATA_TYPE_STRUCT* previous = nullptr;
    for (const DD_DATA_TYPE_STRUCT* s = sources; s != nullptr; previous = s, s = s->next) {
        EXPECT_EQ(s->prev, previous);
        types.push_back(s->type);
    }
    EXPECT_EQ(types, (std::vector<int>{99, 5, 6, 7}));
    EXPECT_EQ(previous->para[0].value, 9);
    EXPECT_STREQ(previous->para[0].text, "p");
    freeSources(&sources);
}

TEST_F(ViewFile, OlderThreeRevisionsReadAndResaveAs303)
{
    // 3.01: variable parameters are an int and 64 bytes.
    Builder r301;
    r301.head(3, 1).i(20).i(1).source(2, 1, 1).i(3).text("P", 64);
    r301.i(1).i(DD_FLOAT).text("v", 64).text("d", 64).i(7).text("0.5", 64);
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config{};
    ASSERT_EQ(load(r301.b, &sources, &config), 0);
    EXPECT_NE(log.take().find("Version = 3.1\n"), std::string::npos);
    DD_VAR_STRUCT* v = sources->variables;
    EXPECT_STREQ(v->defaultText, "d");
    EXPECT_EQ(v->para[0].value, 7);
    EXPECT_STREQ(v->para[0].text, "0.5");
    EXPECT_EQ(v->para[0].capacity, 64);

    ASSERT_EQ(saveFile(path("resaved.v").c_str(), nullptr, sources, &config), 0);
    Builder r303;
    r303.head(3, 3).i(20).i(1).source(2, 1, 1).i(3).text("P", 64);
    r303.i(1).i(DD_FLOAT).text("v", 64).text("d", 64).i(7).i(64).text("0.5", 64);
    EXPECT_EQ(readBytes(path("resaved.v")), r303.b);
    freeSources(&sources);

    // 3.02 shares the layout of 3.03; a length shorter than the buffer
    // keeps the buffer.
    Builder r302;
    r302.head(3, 2).i(20).i(1).source(2, 0, 1).i(1).i(DD_INT).text("w", 64).text("", 64).i(1).i(3).text("ab", 3);
    ASSERT_EQ(load(r302.b, &sources, &config), 0);
    EXPECT_STREQ(sources->variables->para[0].text, "ab");
    EXPECT_EQ(sources->variables->para[0].capacity, 64);
    freeSources(&sources);
}

TEST_F(ViewFile, ConfigFileReadsTheHeaderAndViewBlockOnly)
{
    saveSample("view.v");
    CONFIG_STRUCT config = sampleConfig();
    CONFIG_STRUCT read{};
    log.take();
    ASSERT_EQ(loadConfigFile(path("view.v").c_str(), &read), 0);
    EXPECT_EQ(log.take(), dashes() + "reading config from " + path("view.v") + "\nVersion = 3.03\n" + dashes());
    EXPECT_EQ(std::memcmp(&read, &config, sizeof config), 0);

    testing::internal::CaptureStderr();
    EXPECT_EQ(loadConfigFile(path("missing.v").c_str(), &read), -ENOENT);
    EXPECT_EQ(loadConfigFile(folder.path.c_str(), &read), -EISDIR);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "file open: No such file or directory\nfile open: Is a directory\n");

    Builder r304;
    r304.head(3, 4);
    writeBytes(path("r304.v"), r304.b);
    CONFIG_STRUCT untouched{};
    log.take();
    EXPECT_EQ(loadConfigFile(path("r304.v").c_str(), &untouched), -1);
    EXPECT_NE(log.take().find("loadConfigFile: rev 304 not supported\n"), std::string::npos);
    EXPECT_EQ(untouched.width, 0.0f);
}

// ---- Refusals ------------------------------------------------------------

struct Refusal
{
    const char* name;
    Bytes bytes;
    std::string message; // "%s" stands for the path
};

Bytes withBody(const std::function<void(Builder&)>& body)
{
    Builder b;
    b.head(3, 3);
    body(b);
    return b.b;
}

std::vector<Refusal> refusals()
{
    std::vector<Refusal> r;
    const std::string at = "loadFile: %s: ";
    r.push_back({"no magic", Builder().text("VIEW FILX 3.3\n", 30).i(3).i(3).b, "wrong file format\n"});
    r.push_back({"four bytes", Builder().text("VIEW", 4).b, "wrong file format\n"});
    r.push_back({"empty", {}, "wrong file format\n"});
    r.push_back({"cut header", Builder().text("VIEW FILE 3.3\n", 14).b, at + "unexpected end of file in the header\n"});
    r.push_back({"no minor", Builder().text("VIEW FILE", 30).i(3).b, at + "unexpected end of file in the header\n"});
    const std::vector<std::pair<int, int>> revisions = {{3, 4}, {1, 17}, {0, 99}, {1, 99}, {2, 5}, {2, 99}};
    for (auto [major, minor] : revisions)
        r.push_back({"revision", Builder().head(major, minor).b,
                     "loadFile: rev " + std::to_string(major * 100 + minor) + " not supported\n"});
    r.push_back({"huge revision", Builder().head(1073741827, 3).b, "loadFile: rev 107374182703 not supported\n"});
    r.push_back({"cut view block", Builder().text("VIEW FILE", 30).i(3).i(3).f(1).f(2).b,
                 at + "unexpected end of file in the view block\n"});
    r.push_back({"stray bytes", withBody([](Builder& b) { b.b.push_back(0); b.b.push_back(20); }),
                 at + "unexpected end of file in a record tag\n"});
    r.push_back({"source count -2", withBody([](Builder& b) { b.i(20).i(-2); }),
                 at + "data source count -2 out of range\n"});
    r.push_back({"source count", withBody([](Builder& b) { b.i(20).i(1000).source(1, 0, 0).i(0); }),
                 at + "data source count 1000 runs past the end of the file\n"});
    r.push_back({"D -1", withBody([](Builder& b) { b.i(20).i(1).source(1, -1, 0).i(0); }),
                 at + "data parameter count -1 out of range\n"});
    r.push_back({"D past the end", withBody([](Builder& b) { b.i(20).i(1).source(1, 2, 0).i(0).text("", 64).i(0); }),
                 at + "data parameter count 2 out of range\n"});
    r.push_back({"V -1", withBody([](Builder& b) { b.i(20).i(1).source(1, 0, -1).i(0); }),
                 at + "variable parameter count -1 out of range\n"});
    r.push_back({"variable count -1", withBody([](Builder& b) { b.i(20).i(1).source(1, 0, 0).i(-1); }),
                 at + "variable count -1 out of range\n"});
    r.push_back({"variable count", withBody([](Builder& b) {
                     b.i(20).i(1).source(1, 0, 3).i(1).i(0).text("v", 64).text("", 64);
                     for (int p = 0; p < 2; ++p)
                         b.i(0).i(1).text("", 1);
                 }),
                 at + "variable count 1 runs past the end of the file\n"});
    for (int32_t length : {0, -5, INT32_MAX})
        r.push_back({"length", withBody([length](Builder& b) {
                         b.i(20).i(1).source(1, 0, 1).i(1).i(0).text("v", 64).text("", 64).i(0).i(length).text("", 8);
                     }),
                     at + "variable parameter length " + std::to_string(length) + " out of range\n"});
    r.push_back({"length past the end", withBody([](Builder& b) {
                     b.i(20).i(1).source(1, 0, 1).i(1).i(0).text("v", 64).text("", 64).i(0).i(1000).text("", 100);
                 }),
                 at + "variable parameter length 1000 runs past the end of the file\n"});
    r.push_back({"cut variable", withBody([](Builder& b) {
                     b.i(20).i(1).source(1, 0, 1).i(2);
                     b.i(0).text("a", 64).text("", 64).i(0).i(200).text("", 200);
                     b.i(0).text("b", 26);
                 }),
                 at + "unexpected end of file in a variable\n"});
    for (int32_t tag : {15, 19, 21, -2, INT32_MIN})
        r.push_back({"tag", withBody([tag](Builder& b) { b.i(tag).text("", 64); }),
                     at + "unknown record tag " + std::to_string(tag) + "\n"});

    // Element records: lengths and counts out of range or past the end,
    // kinds a group cannot hold, an action or entry cut short.
    const auto element = [](const std::function<void(Builder&)>& rest) {
        return withBody([rest](Builder& b) {
            b.frame(9, "e");
            rest(b);
        });
    };
    for (int32_t n : {0, 65, -1})
        r.push_back({"name length", withBody([n](Builder& b) { b.i(1).i(n).text("", 100); }),
                     at + "element name length " + std::to_string(n) + " out of range\n"});
    r.push_back({"name past the end", withBody([](Builder& b) { b.i(1).i(64).text("n", 20); }),
                 at + "element name length 64 runs past the end of the file\n"});
    for (int32_t n : {0, 257})
        r.push_back({"id length", withBody([n](Builder& b) { b.i(1).i(2).text("a", 2).i(n).text("", 300); }),
                     at + "element id length " + std::to_string(n) + " out of range\n"});
    r.push_back({"action count -1", element([](Builder& b) { b.i(-1); }), at + "action count -1 out of range\n"});
    r.push_back({"action count", element([](Builder& b) { b.i(2).newAction(1); }),
                 at + "action count 2 runs past the end of the file\n"});
    r.push_back({"threshold count -1", element([](Builder& b) {
                     b.i(1).newAction(1);
                     b.b.resize(b.b.size() - 4 * 12 - 4);
                     b.i(-1).zeros(12);
                 }),
                 at + "threshold entry count -1 out of range\n"});
    r.push_back({"threshold count", element([](Builder& b) {
                     b.i(1).newAction(1);
                     b.b.resize(b.b.size() - 4);
                     b.i(3).f(1).f(2).i(3).f(0).f(0).f(0);
                 }),
                 at + "threshold entry count 3 runs past the end of the file\n"});
    r.push_back({"child count -1", withBody([](Builder& b) { b.frame(8, "g").i(-1); }),
                 at + "child count -1 out of range\n"});
    r.push_back({"child count", withBody([](Builder& b) { b.frame(8, "g").i(2).frame(9, "c").i(0).i(0); }),
                 at + "child count 2 runs past the end of the file\n"});
    for (int32_t kind : {20, -1, 15, -2})
        r.push_back({"child kind", withBody([kind](Builder& b) { b.frame(8, "g").i(1).frame(kind, "c").i(0).i(0); }),
                     at + "child kind " + std::to_string(kind) + " out of range\n"});
    r.push_back({"point count -1", withBody([](Builder& b) { b.frame(13, "p").zeros(18).i(-1).i(0); }),
                 at + "point count -1 out of range\n"});
    r.push_back({"point count", withBody([](Builder& b) { b.frame(2, "p").zeros(18).i(2).i(1).f(0).f(0).i(0); }),
                 at + "point count 2 runs past the end of the file\n"});
    r.push_back({"cut rectangle", withBody([](Builder& b) { b.frame(1, "r").zeros(24); }),
                 at + "unexpected end of file in a RECTANGLE record\n"});
    return r;
}

std::string withPath(std::string message, const std::string& path)
{
    const size_t at = message.find("%s");
    if (at != std::string::npos)
        message.replace(at, 2, path);
    return message;
}

TEST_F(ViewFile, RefusedFilesLeaveTheCallersListsAsTheyWere)
{
    // What the caller holds before: an element whose stored line style is
    // not resolved yet, a source with a variable, a filled block.
    ELEMENT_STRUCT* elements = elementCreate(VD_RECTANGLE);
    auto* rect = static_cast<RECT_STRUCT*>(elements->data);
    rect->lineStyle = 3;
    rect->stipplePattern = 0x1234;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    DD_DATA_TYPE_STRUCT* own = fileSource(&sources, 42, 1, 1);
    fileVariable(own, "mine", DD_INT);
    CONFIG_STRUCT config = sampleConfig();
    std::strcpy(config.texts[0], "block");
    const CONFIG_STRUCT before = config;

    const std::string file = path("refused.v");
    for (const Refusal& r : refusals()) {
        SCOPED_TRACE(r.name + (" -> " + r.message));
        writeBytes(file, r.bytes);
        log.take();
        EXPECT_EQ(loadFile(file.c_str(), &elements, &sources, &config), -1);
        const std::string logged = log.take();
        const std::string message = withPath(r.message, file);
        ASSERT_GE(logged.size(), message.size()) << logged;
        EXPECT_EQ(logged.substr(logged.size() - message.size()), message) << "the last line";
        EXPECT_EQ(elements->next, nullptr);
        EXPECT_EQ(sources, own);
        EXPECT_EQ(own->next, nullptr);
        EXPECT_EQ(own->variables->next, nullptr);
        EXPECT_EQ(std::memcmp(&config, &before, sizeof config), 0);
        EXPECT_EQ(rect->stipplePattern, 0x1234) << "no style resolution";
    }

    log.take();
    EXPECT_EQ(loadFile(path("missing.v").c_str(), &elements, &sources, &config), -1);
    EXPECT_EQ(loadFile(folder.path.c_str(), &elements, &sources, &config), -1);
    ASSERT_EQ(mkfifo(path("pipe.v").c_str(), 0600), 0); // refused, not waited on
    EXPECT_EQ(loadFile(path("pipe.v").c_str(), &elements, &sources, &config), -1);
    EXPECT_EQ(log.take(), "cannot open file " + path("missing.v") + "\ncannot open file " + folder.path +
                              "\ncannot open file " + path("pipe.v") + "\n");
    EXPECT_EQ(loadFile(nullptr, &elements, &sources, &config), -1);
    EXPECT_EQ(loadFile(file.c_str(), &elements, nullptr, &config), -1);

    elementDeleteAll(&elements);
    freeSources(&sources);
}

TEST_F(ViewFile, EveryCutOfAFileIsRefusedExceptBetweenRecords)
{
    // A second section behind the first: the file may end before either.
    Bytes whole = readBytes(saveSample("whole.v"));
    const size_t secondSection = whole.size();
    Builder more;
    more.i(20).i(1).source(3, 0, 1).i(1).i(DD_INT).text("n", 64).text("", 64).i(5).i(2).text("x", 2);
    whole.insert(whole.end(), more.b.begin(), more.b.end());

    DD_DATA_TYPE_STRUCT* sources = nullptr;
    setLogLevel(0);
    for (size_t n = 0; n <= whole.size(); ++n) {
        const bool boundary = n == kBodyOffset || n == secondSection || n == whole.size();
        CONFIG_STRUCT read{};
        const int rc = load(Bytes(whole.begin(), whole.begin() + long(n)), &sources, &read);
        EXPECT_EQ(rc, boundary ? 0 : -1) << n << " of " << whole.size() << " bytes";
        EXPECT_EQ(countSources(sources), n == whole.size() ? 3 : n == secondSection ? 2 : 0) << n;
        freeSources(&sources);
    }
}

TEST_F(ViewFile, StylesAreResolvedOverTheWholeListAfterARead)
{
    ELEMENT_STRUCT* elements = nullptr;
    ELEMENT_STRUCT* rect = elementCreate(VD_RECTANGLE);
    auto* r = static_cast<RECT_STRUCT*>(rect->data);
    r->lineStyle = 3;
    r->pattern = 5;
    ACTION_STRUCT* action = createAction();
    appendAction(&rect->actions, action);
    TH_STRUCT* th = createTh();
    th->intValue = 4;
    appendTh(&action->thStyle.list, th);
    elementAppend(rect, &elements);

    ELEMENT_STRUCT* group = elementCreate(VD_GROUP);
    ELEMENT_STRUCT* line = elementCreate(VD_LINE);
    static_cast<LINE_STRUCT*>(line->data)->lineStyle = 2;
    elementAppend(line, &group->children);
    ELEMENT_STRUCT* graph = elementCreate(VD_GRAPH);
    static_cast<GRAPH_STRUCT*>(graph->data)->gridStyleIndex = 9;
    elementAppend(graph, &group->children);
    elementAppend(group, &elements);

    ELEMENT_STRUCT* image = elementCreate(VD_TEXTURE);
    static_cast<IMAGE_STRUCT*>(image->data)->pattern = 70; // no such pattern: 0
    elementAppend(image, &elements);

    CONFIG_STRUCT config = sampleConfig();
    ASSERT_EQ(saveFile(path("empty.v").c_str(), nullptr, nullptr, &config), 0);
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    ASSERT_EQ(loadFile(path("empty.v").c_str(), &elements, &sources, &config), 0);

    EXPECT_EQ(r->stippleFactor, 1);
    EXPECT_EQ(r->stipplePattern, 0xF0F0);
    EXPECT_EQ(std::memcmp(r->patternBits, getPattern(5), 128), 0);
    EXPECT_EQ(th->stipplePattern, 0xFF00);
    EXPECT_EQ(static_cast<LINE_STRUCT*>(line->data)->stipplePattern, 0xCCCC);
    EXPECT_EQ(static_cast<GRAPH_STRUCT*>(graph->data)->gridStipplePattern, 0x0C0F);
    EXPECT_EQ(std::memcmp(static_cast<IMAGE_STRUCT*>(image->data)->patternBits, getPattern(0), 128), 0);
    elementDeleteAll(&elements);
}

// ---- Writing ---------------------------------------------------------------

TEST_F(ViewFile, SaveReplacesTheFileWholeOrNotAtAll)
{
    const std::string target = path("view.v");
    DD_DATA_TYPE_STRUCT* sources = sampleSources();
    CONFIG_STRUCT config = sampleConfig();
    ASSERT_EQ(saveFile(target.c_str(), nullptr, nullptr, &config), 0);
    const Bytes old = readBytes(target);

    // The file's mode and a link to it stay.
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    std::filesystem::create_symlink(target, path("link.v"));
    ASSERT_EQ(saveFile(path("link.v").c_str(), nullptr, sources, &config), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(path("link.v")));
    EXPECT_EQ(std::filesystem::read_symlink(path("link.v")), target);
    struct stat st;
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    const Bytes withSources = readBytes(target);
    EXPECT_GT(withSources.size(), old.size());
    // The file the link names holds what a plain save writes.
    ASSERT_EQ(saveFile(path("plain.v").c_str(), nullptr, sources, &config), 0);
    EXPECT_EQ(readBytes(path("plain.v")), withSources);
    ASSERT_EQ(unlink(path("plain.v").c_str()), 0);

    EXPECT_EQ(saveFile(nullptr, nullptr, nullptr, &config), -1);
    EXPECT_EQ(saveFile(target.c_str(), nullptr, nullptr, nullptr), -1);

    testing::internal::CaptureStderr();
    EXPECT_EQ(saveFile(path("no/such/folder.v").c_str(), nullptr, nullptr, &config), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "file open: No such file or directory\n");

    // A full disk: the file size limit stops the write half-way.
    for (int i = 0; i < 200; ++i)
        fileVariable(sources, ("v" + std::to_string(i)).c_str(), DD_DOUBLE);
    int rc;
    {
        const FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.active());
        log.take();
        rc = saveFile(target.c_str(), nullptr, sources, &config);
    }
    EXPECT_EQ(rc, -1);
    EXPECT_EQ(log.take(), "saveFile: " + target + ": cannot write: File too large\n");
    EXPECT_EQ(readBytes(target), withSources) << "the old file survives";
    EXPECT_EQ(namesIn(folder.path), (std::vector<std::string>{"link.v", "view.v"})) << "no temporary file left";
    freeSources(&sources);
}

TEST_F(ViewFile, SaveRefusesWhatIsNotARegularFile)
{
    CONFIG_STRUCT config = sampleConfig();
    ASSERT_EQ(mkfifo(path("pipe.v").c_str(), 0600), 0);
    std::filesystem::create_directory(path("folder.v"));
    std::filesystem::create_symlink(path("pipe.v"), path("pipelink.v"));
    const struct
    {
        const char* name;
        bool (*stays)(const std::filesystem::path&);
    } targets[] = {
        {"pipe.v", [](const std::filesystem::path& p) { return std::filesystem::is_fifo(p); }},
        {"folder.v", [](const std::filesystem::path& p) { return std::filesystem::is_directory(p); }},
        {"pipelink.v", [](const std::filesystem::path& p) {
             return std::filesystem::is_symlink(p) && std::filesystem::is_fifo(p);
         }},
    };
    setLogLevel(1); // an error: shown at the lowest level
    for (const auto& t : targets) {
        SCOPED_TRACE(t.name);
        log.take();
        // Refused at once: a pipe without a reader would block a writer.
        EXPECT_EQ(saveFile(path(t.name).c_str(), nullptr, nullptr, &config), -1);
        EXPECT_EQ(log.take(), "saveFile: " + path(t.name) + ": not a regular file\n");
        EXPECT_TRUE(t.stays(path(t.name)));
    }
    EXPECT_TRUE(std::filesystem::is_empty(path("folder.v")));
    EXPECT_EQ(namesIn(folder.path), (std::vector<std::string>{"folder.v", "pipe.v", "pipelink.v"}))
        << "nothing created";
}

TEST_F(ViewFile, SaveWarnsWhenTheOldPermissionsCannotBeKept)
{
    const std::string target = path("view.v");
    DD_DATA_TYPE_STRUCT* sources = sampleSources();
    CONFIG_STRUCT config = sampleConfig();
    ASSERT_EQ(saveFile(target.c_str(), nullptr, nullptr, &config), 0);
    ASSERT_EQ(chmod(target.c_str(), 0664), 0);

    const std::string warning = "saveFile: " + target + ": the old permissions could not be kept: " +
                                std::strerror(EPERM) + "\n";
    for (const int level : {1, 2}) {
        SCOPED_TRACE(level);
        setLogLevel(level);
        log.take();
        fchmodError = EPERM;
        const int rc = saveFile(target.c_str(), nullptr, sources, &config);
        fchmodError = 0;
        EXPECT_EQ(rc, 0) << "saved all the same";
        EXPECT_EQ(log.take(), level >= 2 ? warning : "") << "a warning";
        ASSERT_EQ(saveFile(path("plain.v").c_str(), nullptr, sources, &config), 0);
        EXPECT_EQ(readBytes(target), readBytes(path("plain.v")));
        struct stat st;
        ASSERT_EQ(stat(target.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u) << "never readable by more than before";
        ASSERT_EQ(chmod(target.c_str(), 0664), 0);
    }
    freeSources(&sources);
}

// ---- Elements and actions --------------------------------------------------

// What elementSave_303 writes for the element.
Bytes savedRecord(ELEMENT_STRUCT* element)
{
    FILE* f = std::tmpfile();
    EXPECT_EQ(elementSave_303(element, f), 0);
    Bytes bytes(size_t(std::ftell(f)));
    std::rewind(f);
    EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), f), bytes.size());
    std::fclose(f);
    return bytes;
}

std::vector<int> kindsOf(const ELEMENT_STRUCT* list)
{
    std::vector<int> kinds;
    for (; list != nullptr; list = list->next)
        kinds.push_back(list->kind);
    return kinds;
}

// One source of V = 0 (its bytes do not grow between saves).
DD_DATA_TYPE_STRUCT* fixedSources()
{
    DD_DATA_TYPE_STRUCT* head = nullptr;
    fileVariable(fileSource(&head, 3, 1, 0), "speed0", DD_FLOAT, "2");
    return head;
}

TEST_F(ViewFile, EveryKindResavesByteForByte)
{
    ELEMENT_STRUCT* view = viewfile::everyKindView();
    DD_DATA_TYPE_STRUCT* sources = fixedSources();
    CONFIG_STRUCT config = sampleConfig();
    ASSERT_EQ(saveFile(path("a.v").c_str(), view, sources, &config), 0);
    const Bytes saved = readBytes(path("a.v"));

    ELEMENT_STRUCT* loaded = nullptr;
    DD_DATA_TYPE_STRUCT* loadedSources = nullptr;
    CONFIG_STRUCT loadedConfig{};
    ASSERT_EQ(loadFile(path("a.v").c_str(), &loaded, &loadedSources, &loadedConfig), 0) << log.take();
    ASSERT_EQ(saveFile(path("b.v").c_str(), loaded, loadedSources, &loadedConfig), 0);
    EXPECT_EQ(readBytes(path("b.v")), saved);
    ASSERT_EQ(saveFile(path("c.v").c_str(), loaded, loadedSources, &loadedConfig), 0);
    EXPECT_EQ(readBytes(path("c.v")), saved) << "a second save";

    // The tree in file order with its parents, the actions with their ids
    // and entries, line-style entries resolved.
    EXPECT_EQ(kindsOf(loaded), (std::vector<int>{0, 1, 2, 13, 3, 4, 5, 6, 7, 8}));
    ELEMENT_STRUCT* outer = loaded;
    while (outer->next != nullptr)
        outer = outer->next;
    EXPECT_EQ(kindsOf(outer->children), (std::vector<int>{8, 14, 11, 12}));
    EXPECT_EQ(kindsOf(outer->children->children), (std::vector<int>{9}));
    EXPECT_EQ(outer->children->children->parent, outer->children);
    EXPECT_EQ(outer->children->next->parent, outer);
    EXPECT_EQ(outer->parent, nullptr);
    EXPECT_STREQ(outer->children->children->name, "nine");
    EXPECT_STREQ(outer->children->children->id, "nine-ID");
    EXPECT_EQ(outer->children->children->actions->id, 1010);
    const std::vector<int> seeds = {0, 1, 2, 13, 3, 4, 5, 6, 7, 8}; // of everyKindView's actions
    auto seed = seeds.begin();
    for (ELEMENT_STRUCT* e = loaded; e != nullptr; e = e->next, ++seed) {
        SCOPED_TRACE(e->name);
        ACTION_STRUCT* a = e->actions;
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->next, nullptr);
        EXPECT_EQ(a->id, 1000 + *seed);
        EXPECT_EQ(a->varRecord, nullptr);
        for (int k = 0; k < 5; ++k) {
            const TH_BLOCK* group = viewfile::thresholdGroup(a, k);
            int entries = 0;
            for (const TH_STRUCT* th = group->list; th != nullptr; th = th->next, ++entries)
                EXPECT_EQ(th->level, float(10 * k + entries));
            EXPECT_EQ(entries, k + 1);
        }
        EXPECT_EQ(a->thStyle.list->stippleFactor, 1);
        EXPECT_EQ(a->thStyle.list->next->stipplePattern, 0xFF00) << "style 4";
    }
    // A circle's radii are 100 after a read, its size in the transform.
    auto* circle = static_cast<CIRCLE_STRUCT*>(loaded->next->next->next->next->data);
    EXPECT_EQ(circle->rx, 100.0f);
    EXPECT_EQ(circle->ry, 100.0f);
    EXPECT_EQ(std::vector<float>(circle->matrix, circle->matrix + 4), (std::vector<float>{0.5f, 0, 0, 0.25f}));
    ELEMENT_STRUCT* arcElement = loaded;
    while (arcElement->kind != VD_ARC)
        arcElement = arcElement->next;
    auto* arc = static_cast<CIRCLE_STRUCT*>(arcElement->data);
    EXPECT_EQ(std::vector<float>(arc->matrix, arc->matrix + 4), (std::vector<float>{0.5f, 0.25f, -0.25f, 0.5f}))
        << "radii of 100: the transform as it was";

    elementDeleteAll(&view);
    elementDeleteAll(&loaded);
    freeSources(&sources);
    freeSources(&loadedSources);
}

TEST_F(ViewFile, NewRecordsHoldTheirDefaultsInTheirSizes)
{
    const float turn = 2 * float(3.14159265358979323846);
    const struct
    {
        int kind;
        size_t bodyBytes;
        Bytes body;
    } records[] = {
        {VD_RECTANGLE, 100, Builder().zeros(8).i(1).f(2).i(0).color(1, 0, 1, 1).i(1).color(0, 0, 1, 1).i(1).i(0).zeros(3).b},
        {VD_POLYGON, 76, Builder().i(0).i(1).f(3).i(0).color(1, 1, 1, 1).i(0).color(0, 1, 0, 1).i(1).i(0).zeros(3).i(0).b},
        {VD_CIRCLE, 100,
         Builder().zeros(6).f(0).f(turn).i(1).f(2).i(0).color(1, 1, 1, 1).i(1).color(1, 1, 0.5f, 1).i(1).i(0).zeros(3).b},
        {VD_LINE, 60, Builder().zeros(4).f(1).i(0).color(0.5f, 1, 0.5f, 1).i(0).zeros(4).b},
        {VD_SCISSOR, 48, Builder().zeros(12).b},
        {VD_BUTTON, 104,
         Builder().zeros(8).color(0.7f, 0.7f, 0.7f, 1).color(0.9f, 0.9f, 0.9f, 1).color(0.3f, 0.3f, 0.3f, 1).f(4).i(0).zeros(4).b},
        {VD_SLIDER, 96,
         Builder().zeros(4).color(0.5f, 0.5f, 0.5f, 1).color(0.3f, 0.3f, 0.3f, 1).color(0.9f, 0.9f, 0.9f, 1).f(2).f(15).i(0).f(0).zeros(4).b},
        {VD_GROUP, 4, Builder().i(0).b},
        {9, 0, {}},
    };
    for (const auto& r : records) {
        SCOPED_TRACE(r.kind);
        ELEMENT_STRUCT* e = elementCreate(r.kind);
        viewfile::rename(e, "E");
        ACTION_STRUCT* action = createAction();
        appendAction(&e->actions, action);
        Builder expected;
        expected.frame(r.kind, "E");
        expected.b.insert(expected.b.end(), r.body.begin(), r.body.end());
        expected.i(1).newAction(action->id);
        EXPECT_EQ(r.body.size(), r.bodyBytes);
        EXPECT_EQ(savedRecord(e), expected.b);
        elementDeleteAll(&e);
    }
}

TEST_F(ViewFile, FixedTextsAreWrittenAsTheirTextAndZeros)
{
    // A name and an id without terminator: their first 63 and 255
    // characters; the element stays as it was. Bytes behind a terminator
    // never reach the file.
    ELEMENT_STRUCT* e = elementCreate(9);
    std::memset(e->name, 'n', sizeof e->name);
    std::memset(e->id, 'i', sizeof e->id);
    ACTION_STRUCT* a = createAction();
    std::memset(a->var, 'v', sizeof a->var);
    std::strcpy(a->format, "%d");
    a->format[5] = 'x';
    appendAction(&e->actions, a);
    const Bytes bytes = savedRecord(e);
    EXPECT_EQ(e->name[63], 'n');
    EXPECT_EQ(e->id[255], 'i');
    Builder expected;
    expected.i(9).i(64).text(std::string(63, 'n'), 64).i(256).text(std::string(255, 'i'), 256).i(1);
    expected.newAction(a->id);
    const size_t var = expected.b.size() - 460 + 8, format = var + 128 + 16 + 4 + 16 + 16 + 4;
    std::memset(expected.b.data() + var, 'v', 63);
    std::memcpy(expected.b.data() + format, "%d", 2);
    EXPECT_EQ(bytes, expected.b);

    writeBytes(path("names.v"), Builder().head(3, 3).b);
    std::ofstream(path("names.v"), std::ios::binary | std::ios::app).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    ELEMENT_STRUCT* loaded = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config{};
    ASSERT_EQ(loadFile(path("names.v").c_str(), &loaded, &sources, &config), 0);
    EXPECT_EQ(std::string(loaded->name), std::string(63, 'n'));
    EXPECT_EQ(std::string(loaded->id), std::string(255, 'i'));
    EXPECT_EQ(std::string(loaded->actions->var), std::string(63, 'v'));
    EXPECT_STREQ(loaded->actions->format, "%d");
    elementDeleteAll(&loaded);
    elementDeleteAll(&e);
}

TEST_F(ViewFile, OlderActionsLoadWithoutTheirNewFieldsAndResaveAs303)
{
    for (int revision : {301, 302, 303}) {
        SCOPED_TRACE(revision);
        Builder file;
        file.head(3, revision % 100).frame(9, "a").i(1).fullAction(5, revision).i(20).i(0);
        DD_DATA_TYPE_STRUCT* sources = nullptr;
        ELEMENT_STRUCT* loaded = nullptr;
        CONFIG_STRUCT config{};
        writeBytes(path("old.v"), file.b);
        ASSERT_EQ(loadFile(path("old.v").c_str(), &loaded, &sources, &config), 0) << log.take();
        const ACTION_STRUCT* a = loaded->actions;
        EXPECT_EQ(a->id, 1005) << "the stored id";
        EXPECT_STREQ(a->var, "speed5");
        EXPECT_EQ(a->a0, -6.0f);
        EXPECT_EQ(a->secondB1, 8.0f);
        EXPECT_EQ(a->secondSlope, 12.0f);
        EXPECT_EQ(a->filterTime, 0.5f);
        EXPECT_EQ(a->mouseButton, 2);
        EXPECT_EQ(a->mouseHiddenActive, 0);
        EXPECT_STREQ(a->polyName, "path");
        EXPECT_EQ(a->limit, revision == 303 ? 1 : 0);
        EXPECT_EQ(a->visibleMode, revision == 303 ? 1 : 0);
        EXPECT_EQ(a->visibleValue, revision == 303 ? 7 : 0);
        EXPECT_EQ(a->thBlink.max, 104.0f);
        EXPECT_EQ(a->thStyle.list->stipplePattern, 0xFF00) << "resolved after the read";
        ASSERT_EQ(saveFile(path("new.v").c_str(), loaded, sources, &config), 0);
        Builder expected;
        expected.head(3, 3).frame(9, "a").i(1).fullAction(5, 303, revision == 303).i(20).i(0);
        EXPECT_EQ(readBytes(path("new.v")), expected.b);
        elementDeleteAll(&loaded);
    }
}

TEST_F(ViewFile, FillPatternsOf301AreIgnoredAndOf302Kept)
{
    // The ints of each body with the pattern 12 where the kind stores it.
    const struct
    {
        int kind;
        int ints;
        int patternAt;
        bool carried;
    } kinds[] = {{VD_RECTANGLE, 25, 21, true}, {VD_CPOLYGON, 19, 14, true}, {VD_CIRCLE, 25, 21, true},
                 {VD_ARC, 25, 21, true},       {VD_POLYGON, 19, 14, false}};
    for (int revision : {301, 302, 303})
        for (const auto& k : kinds) {
            SCOPED_TRACE(std::to_string(revision) + " kind " + std::to_string(k.kind));
            Builder file;
            file.head(3, revision % 100).frame(k.kind, "p");
            for (int n = 0; n < k.ints; ++n)
                file.i(n == k.patternAt ? 12 : 0);
            file.i(0);
            DD_DATA_TYPE_STRUCT* sources = nullptr;
            ELEMENT_STRUCT* loaded = nullptr;
            CONFIG_STRUCT config{};
            writeBytes(path("p.v"), file.b);
            ASSERT_EQ(loadFile(path("p.v").c_str(), &loaded, &sources, &config), 0) << log.take();
            const bool kept = k.carried && revision >= 302;
            const int32_t pattern = k.kind == VD_RECTANGLE ? static_cast<RECT_STRUCT*>(loaded->data)->pattern
                                    : k.kind == VD_CIRCLE || k.kind == VD_ARC
                                        ? static_cast<CIRCLE_STRUCT*>(loaded->data)->pattern
                                        : static_cast<POLY_STRUCT*>(loaded->data)->pattern;
            EXPECT_EQ(pattern, kept ? 12 : 0);
            const Bytes saved = savedRecord(loaded);
            Builder pat;
            pat.i(kept ? 12 : 0);
            const size_t at = saved.size() - 4 - size_t(k.ints - k.patternAt) * 4;
            EXPECT_TRUE(std::equal(pat.b.begin(), pat.b.end(), saved.begin() + long(at)));
            elementDeleteAll(&loaded);
        }
}

TEST_F(ViewFile, GroupsHoldTheirChildrenDepthFirst)
{
    // An outer group with an inner group (a kind-9 child), an open polygon
    // without points and a TEXT stored as kind 10, then its own action.
    const auto file = [](int32_t textTag) {
        Builder b;
        b.head(3, 3).frame(8, "G").i(3);
        b.frame(8, "H").i(1).frame(9, "K").i(0).i(0);
        b.frame(2, "P").i(0).i(1).f(3).i(0).color(1, 1, 1, 1).i(0).color(0, 1, 0, 1).i(1).i(0).zeros(3).i(0).i(0);
        b.frame(textTag, "T").f(5).f(6).color(0, 1, 1, 1).i(7).f(1).f(0).f(0).f(1).text("Arial", 64).i(1).i(0).i(30).i(30);
        b.i(0).zeros(5).i(2).text("ab", 3).i(0);
        b.i(1).fullAction(3, 303);
        b.i(20).i(0);
        return b.b;
    };
    writeBytes(path("g.v"), file(10));
    ELEMENT_STRUCT* loaded = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config{};
    ASSERT_EQ(loadFile(path("g.v").c_str(), &loaded, &sources, &config), 0) << log.take();
    ASSERT_EQ(kindsOf(loaded), (std::vector<int>{8}));
    EXPECT_EQ(kindsOf(loaded->children), (std::vector<int>{8, 2, 4})) << "10 becomes a TEXT";
    EXPECT_EQ(kindsOf(loaded->children->children), (std::vector<int>{9}));
    EXPECT_EQ(loaded->children->children->parent, loaded->children);
    EXPECT_EQ(static_cast<POLY_STRUCT*>(loaded->children->next->data)->coords, nullptr);
    EXPECT_STREQ(static_cast<TEXT_STRUCT*>(loaded->children->next->next->data)->text, "ab");
    EXPECT_EQ(loaded->actions->id, 1003);
    EXPECT_EQ(loaded->children->actions, nullptr);
    ASSERT_EQ(saveFile(path("g2.v").c_str(), loaded, sources, &config), 0);
    EXPECT_EQ(readBytes(path("g2.v")), file(4));
    elementDeleteAll(&loaded);
}

// groups nested depth levels deep around one kind-9 element.
Bytes nestedGroups(int depth)
{
    Builder b;
    b.head(3, 3);
    for (int d = 0; d < depth; ++d)
        b.frame(8, "g").i(1);
    b.frame(9, "leaf").i(0);
    for (int d = 0; d < depth; ++d)
        b.i(0);
    return b.b;
}

TEST_F(ViewFile, GroupsNestAtMost255LevelsDeep)
{
    writeBytes(path("deep.v"), nestedGroups(255));
    ELEMENT_STRUCT* loaded = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config{};
    ASSERT_EQ(loadFile(path("deep.v").c_str(), &loaded, &sources, &config), 0) << log.take();
    int depth = 0;
    ELEMENT_STRUCT* leaf = loaded;
    for (; leaf->kind == VD_GROUP; leaf = leaf->children)
        ++depth;
    EXPECT_EQ(depth, 255);
    EXPECT_STREQ(leaf->name, "leaf");
    ASSERT_EQ(saveFile(path("deep2.v").c_str(), loaded, nullptr, &config), 0);
    Bytes expected = nestedGroups(255);
    Builder tail;
    tail.i(20).i(0);
    expected.insert(expected.end(), tail.b.begin(), tail.b.end());
    EXPECT_EQ(readBytes(path("deep2.v")), expected);

    // One level more is refused on reading and on writing.
    ELEMENT_STRUCT* outer = elementCreate(VD_GROUP);
    viewfile::rename(outer, "top");
    outer->children = loaded;
    log.take();
    EXPECT_EQ(saveFile(path("deep3.v").c_str(), outer, nullptr, &config), -1);
    EXPECT_EQ(log.take(), "elementSave_303: g: groups nested too deep\nsaveFile: " + path("deep3.v") +
                              ": cannot write: " + std::strerror(EINVAL) + "\n");
    EXPECT_FALSE(std::filesystem::exists(path("deep3.v")));
    elementDeleteAll(&outer);
    loaded = nullptr;

    writeBytes(path("deeper.v"), nestedGroups(256));
    EXPECT_EQ(loadFile(path("deeper.v").c_str(), &loaded, &sources, &config), -1);
    EXPECT_EQ(loaded, nullptr);
    EXPECT_NE(log.take().find("loadFile: " + path("deeper.v") + ": groups nested deeper than 255 levels\n"),
              std::string::npos);
}

TEST_F(ViewFile, PiecesReadFromTheStreamsPosition)
{
    ELEMENT_STRUCT* view = viewfile::everyKindView();
    DD_DATA_TYPE_STRUCT* sources = fixedSources();
    CONFIG_STRUCT config = sampleConfig();
    ASSERT_EQ(saveFile_303(path("v.v").c_str(), view, sources, &config), 0);
    const Bytes saved = readBytes(path("v.v"));

    // The body after the header text and the two ints, as loadFile reads it.
    FILE* f = std::fopen(path("v.v").c_str(), "rb");
    ASSERT_EQ(std::fseek(f, 30 + 8, SEEK_SET), 0);
    ELEMENT_STRUCT* loaded = nullptr;
    DD_DATA_TYPE_STRUCT* loadedSources = nullptr;
    CONFIG_STRUCT loadedConfig{};
    ASSERT_EQ(loadFile_303(f, &loaded, &loadedSources, &loadedConfig, 303), 0) << log.take();
    std::fclose(f);
    ASSERT_EQ(saveFile(path("w.v").c_str(), loaded, loadedSources, &loadedConfig), 0);
    EXPECT_EQ(readBytes(path("w.v")), saved);
    elementDeleteAll(&loaded);
    freeSources(&loadedSources);

    // An action list read whole goes behind the caller's; a cut one leaves
    // the caller's list as it was.
    FILE* a = std::tmpfile();
    ASSERT_EQ(actionSave_303(view->actions, a), 0);
    const long listBytes = std::ftell(a);
    std::rewind(a);
    ACTION_STRUCT* actions = createAction();
    ASSERT_EQ(actionLoad_303(a, &actions), 0);
    ASSERT_NE(actions->next, nullptr);
    EXPECT_EQ(actions->next->prev, actions);
    EXPECT_EQ(actions->next->id, view->actions->id);
    EXPECT_EQ(std::ftell(a), listBytes);
    ASSERT_EQ(ftruncate(fileno(a), listBytes - 1), 0);
    std::rewind(a);
    log.take();
    EXPECT_EQ(actionLoad_303(a, &actions), -1);
    EXPECT_EQ(log.take(), "actionLoad_303: stream: threshold entry count 5 runs past the end of the file\n");
    EXPECT_EQ(actions->next->next, nullptr);
    std::fclose(a);
    while (actions != nullptr)
        delAction(&actions, actions);

    // One element record from its kind on, and back.
    FILE* e = std::tmpfile();
    ASSERT_EQ(elementSave_303(view->next, e), 0);
    ASSERT_EQ(std::fseek(e, 4, SEEK_SET), 0);
    ASSERT_EQ(elementLoad_303(VD_RECTANGLE, e, &loaded), 0);
    EXPECT_EQ(savedRecord(loaded), savedRecord(view->next));
    std::rewind(e);
    log.take();
    EXPECT_EQ(elementLoad_303(20, e, &loaded), -1);
    EXPECT_EQ(log.take(), "elementLoad_303: stream: element kind 20 out of range\n");
    EXPECT_EQ(loaded->next, nullptr);
    std::fclose(e);
    elementDeleteAll(&loaded);

    // A stream without a known size, null arguments.
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    FILE* p = fdopen(fds[0], "rb");
    EXPECT_EQ(dataLoad_303(p, &sources), -1);
    EXPECT_EQ(log.take(), "dataLoad_303: stream: no regular file of a known size\n");
    std::fclose(p);
    close(fds[1]);
    EXPECT_EQ(loadConfigFile_301(nullptr, &config), -1);
    EXPECT_EQ(elementSave_303(nullptr, stdout), -1);
    EXPECT_EQ(actionSave_303(nullptr, nullptr), -1);
    EXPECT_EQ(log.take(), "loadConfigFile_301: null argument\nelementSave_303: null argument\nactionSave_303: null argument\n");

    elementDeleteAll(&view);
    freeSources(&sources);
}

TEST_F(ViewFile, EveryCutOfAnElementFileIsRefusedExceptBetweenRecords)
{
    // The fuzz seed with every kind. Top-level records end at the
    // boundaries; a cut anywhere else lies inside a record.
    ELEMENT_STRUCT* view = viewfile::everyKindView(true);
    DD_DATA_TYPE_STRUCT* fileSources = fixedSources();
    CONFIG_STRUCT config = sampleConfig();
    ASSERT_EQ(saveFile(path("cut.v").c_str(), view, fileSources, &config), 0);
    freeSources(&fileSources);
    const Bytes whole = readBytes(path("cut.v"));
    EXPECT_EQ(whole, readBytes(std::string(DORNE_VIEW_SEEDS) + "/elements.v"));
    std::vector<size_t> boundaries = {kBodyOffset};
    for (ELEMENT_STRUCT* e = view; e != nullptr; e = e->next)
        boundaries.push_back(boundaries.back() + savedRecord(e).size());
    boundaries.push_back(whole.size());
    ASSERT_LT(boundaries[boundaries.size() - 2] + 8, whole.size()) << "the section follows";
    elementDeleteAll(&view);

    setLogLevel(0);
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    for (size_t n = kBodyOffset; n <= whole.size(); ++n) {
        const auto at = std::find(boundaries.begin(), boundaries.end(), n);
        ELEMENT_STRUCT* elements = nullptr;
        CONFIG_STRUCT read{};
        writeBytes(path("in.v"), Bytes(whole.begin(), whole.begin() + long(n)));
        const int rc = loadFile(path("in.v").c_str(), &elements, &sources, &read);
        EXPECT_EQ(rc, at != boundaries.end() ? 0 : -1) << n << " of " << whole.size() << " bytes";
        EXPECT_EQ(int(kindsOf(elements).size()), at != boundaries.end() ? int(at - boundaries.begin()) - (n == whole.size()) : 0) << n;
        EXPECT_EQ(countSources(sources), n == whole.size() ? 1 : 0) << n;
        elementDeleteAll(&elements);
        freeSources(&sources);
    }
}

// The fuzz target's seeds are files this writer wrote (and two of 3.01 and
// 3.02 made here); DORNE_WRITE_SEEDS=1 writes them anew.
TEST_F(ViewFile, FuzzSeedsAreWhatTheWriterWrites)
{
    std::vector<std::pair<std::string, Bytes>> seeds;
    CONFIG_STRUCT config = sampleConfig();
    ASSERT_EQ(saveFile(path("s.v").c_str(), nullptr, nullptr, &config), 0);
    seeds.emplace_back("empty.v", readBytes(path("s.v")));
    seeds.emplace_back("sources.v", readBytes(saveSample("s.v")));
    Builder r301;
    r301.head(3, 1).i(20).i(1).source(1, 1, 2).i(0).text("x", 64).i(1).i(DD_FLOAT).text("a", 64).text("", 64);
    r301.i(0).text("0", 64).i(3).text("", 64);
    seeds.emplace_back("rev301.v", r301.b);
    Builder r302;
    r302.head(3, 2).i(20).i(1).source(6, 0, 1).i(1).i(DD_DOUBLE).text("c", 64).text("1", 64).i(0).i(6).text("a+1", 6);
    seeds.emplace_back("rev302.v", r302.b);
    ELEMENT_STRUCT* view = viewfile::everyKindView(true);
    DD_DATA_TYPE_STRUCT* sources = fixedSources();
    ASSERT_EQ(saveFile(path("s.v").c_str(), view, sources, &config), 0);
    seeds.emplace_back("elements.v", readBytes(path("s.v")));
    EXPECT_LE(seeds.back().second.size(), 4096u) << "within the fuzz test's input size";
    elementDeleteAll(&view);
    freeSources(&sources);

    const char* write = std::getenv("DORNE_WRITE_SEEDS");
    for (const auto& [name, bytes] : seeds) {
        const std::string seed = std::string(DORNE_VIEW_SEEDS) + "/" + name;
        if (write != nullptr && std::string(write) == "1")
            writeBytes(seed, bytes);
        EXPECT_EQ(readBytes(seed), bytes) << seed << " (DORNE_WRITE_SEEDS=1 writes it anew)";
    }
}

} // namespace
