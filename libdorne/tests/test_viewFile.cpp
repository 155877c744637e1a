// The binary view file: the bytes the writer produces, what the readers of
// 3.01 to 3.03 make of them, every refusal (the caller's lists untouched,
// nothing leaked) and the writer's replacement of the old file.
#include "dataSourceSupport.h"
#include "leakCheck.h"

#include "dorneFiles.h"
#include "dorneGl.h"
#include "dorneView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
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
#include <sys/resource.h>
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

// Builds file contents field by field, numbers most significant byte first.
struct Builder
{
    Bytes b;
    Builder& i(int32_t v)
    {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        for (int shift = 24; shift >= 0; shift -= 8)
            b.push_back(static_cast<unsigned char>(u >> shift));
        return *this;
    }
    Builder& f(float v)
    {
        int32_t bits;
        std::memcpy(&bits, &v, 4);
        return i(bits);
    }
    // text, then zeros up to n bytes
    Builder& text(const std::string& s, size_t n)
    {
        Bytes field(n, 0);
        std::memcpy(field.data(), s.data(), std::min(s.size(), n));
        b.insert(b.end(), field.begin(), field.end());
        return *this;
    }
    // header text, the two revision ints and the view block of 3.0x
    Builder& head(int major, int minor, const std::string& headerText = "VIEW FILE 3.3\n")
    {
        text(headerText, 30).i(major).i(minor);
        return f(10).f(-20).f(800).f(600).f(0.25f).f(0.5f).f(1).i(0).i(0).i(0).i(0);
    }
    // one source record head: type, D, V
    Builder& source(int32_t type, int32_t d, int32_t v) { return i(type).i(d).i(v); }
};

const size_t kBodyOffset = 30 + 8 + 7 * 4 + 4 * 4; // where the tagged records start

Bytes readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

CONFIG_STRUCT sampleConfig()
{
    CONFIG_STRUCT c{};
    c.x = 10;
    c.y = -20;
    c.width = 800;
    c.height = 600;
    c.r = 0.25f;
    c.g = 0.5f;
    c.b = 1;
    return c;
}

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

int countSources(const DD_DATA_TYPE_STRUCT* s)
{
    int n = 0;
    for (; s != nullptr; s = s->next)
        ++n;
    return n;
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
    const std::vector<std::pair<int, int>> revisions = {{3, 4}, {1, 0}, {1, 13}, {2, 0}, {2, 4},
                                                        {3, 0}, {1, 17}, {0, 99}, {2, 5}};
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
    for (int32_t tag : {1, 10, 0, 14})
        r.push_back({"element", withBody([tag](Builder& b) { b.i(20).i(0).i(tag).text("", 64); }),
                     at + "element records are not supported (tag " + std::to_string(tag) + ")\n"});
    for (int32_t tag : {9, 15, 19, 21, -2})
        r.push_back({"tag", withBody([tag](Builder& b) { b.i(tag).text("", 64); }),
                     at + "unknown record tag " + std::to_string(tag) + "\n"});
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

    // Elements cannot be written yet.
    ELEMENT_STRUCT* elements = elementCreate(VD_LINE);
    log.take();
    EXPECT_EQ(saveFile(target.c_str(), elements, nullptr, &config), -1);
    EXPECT_EQ(log.take(), "saveFile: " + target + ": element records are not supported\n");
    elementDeleteAll(&elements);
    EXPECT_EQ(saveFile(nullptr, nullptr, nullptr, &config), -1);
    EXPECT_EQ(saveFile(target.c_str(), nullptr, nullptr, nullptr), -1);

    testing::internal::CaptureStderr();
    EXPECT_EQ(saveFile(path("no/such/folder.v").c_str(), nullptr, nullptr, &config), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "file open: No such file or directory\n");

    // A full disk: the file size limit stops the write half-way.
    for (int i = 0; i < 200; ++i)
        fileVariable(sources, ("v" + std::to_string(i)).c_str(), DD_DOUBLE);
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    void (*previous)(int) = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    log.take();
    const int rc = saveFile(target.c_str(), nullptr, sources, &config);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(rc, -1);
    EXPECT_EQ(log.take(), "saveFile: " + target + ": cannot write: File too large\n");
    EXPECT_EQ(readBytes(target), withSources) << "the old file survives";
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"link.v", "view.v"})) << "no temporary file left";
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
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"folder.v", "pipe.v", "pipelink.v"})) << "nothing created";
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

    const char* write = std::getenv("DORNE_WRITE_SEEDS");
    for (const auto& [name, bytes] : seeds) {
        const std::string seed = std::string(DORNE_VIEW_SEEDS) + "/" + name;
        if (write != nullptr && std::string(write) == "1")
            writeBytes(seed, bytes);
        EXPECT_EQ(readBytes(seed), bytes) << seed << " (DORNE_WRITE_SEEDS=1 writes it anew)";
    }
}

} // namespace
