// The XML view file through saveFileXml and loadFileXml: the document as
// TinyXML prints it, the data section both ways, sections in any order and
// repeated, every refusal (the caller's lists and block untouched, nothing
// leaked), the replacement of the old file, the nesting bound and the
// bitmap checks.
#include "dataSourceSupport.h"
#include "leakCheck.h"
#include "viewFileSupport.h"
#include "xmlSupport.h"

#include "dorneFiles.h"
#include "dorneView.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace support;

namespace {

using viewfile::countSources;
using viewfile::FileSizeLimit;
using viewfile::namesIn;
using viewfile::sampleConfig;

using viewfile::readText;
using viewfile::writeText;
using xmlsupport::hostileTexts;
using xmlsupport::readConforming;

// A document of the given sections under a root of that name.
std::string document(const std::string& sections, const std::string& root = "Nalvo2D")
{
    return "<?xml version=\"1.0\" ?>\n<" + root + " version=\"3.3\">\n" + sections + "</" + root + ">\n";
}

// Elements nested depth levels deep (the root is level 1), every start tag
// with values that hold ">" and "/>", a comment and a CDATA section full of
// tags at each level that must not count.
std::string nested(int depth, bool closed = true)
{
    std::string text = "<?xml version=\"1.0\" ?>\n";
    for (int i = 0; i < depth; ++i)
        text += "<e a=\"/>\" b='>'><!-- <x><x><x> --><![CDATA[<y><y>]]>";
    if (closed)
        for (int i = 0; i < depth; ++i)
            text += "</e>";
    return text + "\n";
}

class ViewXml : public ::testing::Test
{
protected:
    void TearDown() override { expectNoLeaks(); }

    std::string path(const std::string& name) const { return folder.path + "/" + name; }

    // Loads text written to a file into the lists; the result.
    int loadText(const std::string& text, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config,
                 ELEMENT_STRUCT** elements = nullptr)
    {
        writeText(path("in.xml"), text);
        ELEMENT_STRUCT* none = nullptr;
        const int rc = loadFileXml(path("in.xml").c_str(), elements != nullptr ? elements : &none, sources, config);
        EXPECT_EQ(none, nullptr);
        return rc;
    }

    TempFolder folder;
    LogCapture log;
};

// ---- The document ------------------------------------------------------------

TEST_F(ViewXml, EmptyViewIsTheDocumentTinyXmlPrints)
{
    const std::string file = path("empty.xml");
    CONFIG_STRUCT config = sampleConfig();
    config.x = 1234567;
    config.y = 0.1234567f;
    ASSERT_EQ(saveFileXml(file.c_str(), nullptr, nullptr, &config), 0);
    EXPECT_EQ(readText(file), "<?xml version=\"1.0\" ?>\n"
                              "<Nalvo2D version=\"3.3\">\n"
                              "    <header date=\"24.05.2008\" name=\"" +
                                  file +
                                  "\" x=\"1.23457e+06\" y=\"0.123457\" width=\"800\" height=\"600\" "
                                  "pagecolor=\"#3f7fffff\" />\n"
                                  "    <editor />\n"
                                  "    <data />\n"
                                  "    <definition />\n"
                                  "    <geometry />\n"
                                  "</Nalvo2D>\n");

    // Read back: six significant digits, colours to a step of 1/255, the
    // texts of the block kept.
    CONFIG_STRUCT loaded{};
    std::strcpy(loaded.texts[3], "kept");
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    ELEMENT_STRUCT* elements = nullptr;
    ASSERT_EQ(loadFileXml(file.c_str(), &elements, &sources, &loaded), 0);
    EXPECT_EQ(elements, nullptr);
    EXPECT_EQ(sources, nullptr);
    EXPECT_EQ(loaded.x, 1234570.0f);
    EXPECT_EQ(loaded.y, 0.123457f);
    EXPECT_EQ(loaded.width, 800.0f);
    EXPECT_EQ(loaded.height, 600.0f);
    EXPECT_EQ(loaded.r, float(63 / 255.0));
    EXPECT_EQ(loaded.g, float(127 / 255.0));
    EXPECT_EQ(loaded.b, 1.0f);
    EXPECT_STREQ(loaded.texts[3], "kept");
    EXPECT_EQ(log.take(), "");
}

TEST_F(ViewXml, DataSectionIsWrittenAndReadBack)
{
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    DD_DATA_TYPE_STRUCT* s = fileSource(&sources, 4, 3, 1);
    const std::string longText(100, 'p');
    for (int p = 0; p < 3; ++p) {
        s->para[p].value = 10 + p;
        setParaText(s->para[p], p == 2 ? longText.substr(0, 63).c_str() : ("data" + std::to_string(p)).c_str());
    }
    DD_VAR_STRUCT* speed = fileVariable(s, "speed", DD_DOUBLE, "1.5");
    speed->para[0].value = 7;
    // A variable parameter keeps its whole text, however long.
    std::free(speed->para[0].text);
    speed->para[0].text = strdup(longText.c_str());
    speed->para[0].capacity = int(longText.size()) + 1;
    fileVariable(s, "label", DD_STRING, "a<b & \"c\"");
    fileSource(&sources, 77, 0, 0);

    const std::string file = path("data.xml");
    CONFIG_STRUCT config = sampleConfig();
    ASSERT_EQ(saveFileXml(file.c_str(), nullptr, sources, &config), 0);
    const std::string text = readText(file);
    const std::string data = "    <data>\n"
                             "        <datasource name=\"DatasourceName\" id=\"4\" nr-data-para=\"3\" nr-var-para=\"1\">\n"
                             "            <datasource-para ivalue=\"10\" svalue=\"data0\" />\n"
                             "            <datasource-para ivalue=\"11\" svalue=\"data1\" />\n"
                             "            <datasource-para ivalue=\"12\" svalue=\"" +
                             longText.substr(0, 63) +
                             "\" />\n"
                             "            <datasource-var type=\"1\" name=\"speed\" default=\"1.5\">\n"
                             "                <datasource-var-para ivalue=\"7\" svalue=\"" +
                             longText +
                             "\" />\n"
                             "            </datasource-var>\n"
                             "            <datasource-var type=\"10\" name=\"label\" default='a&lt;b &amp; &quot;c&quot;'>\n"
                             "                <datasource-var-para ivalue=\"0\" svalue=\"\" />\n"
                             "            </datasource-var>\n"
                             "        </datasource>\n"
                             "        <datasource name=\"DatasourceName\" id=\"77\" nr-data-para=\"0\" nr-var-para=\"0\" />\n"
                             "    </data>\n";
    EXPECT_NE(text.find(data), std::string::npos) << text;

    // Read behind a source the caller holds.
    DD_DATA_TYPE_STRUCT* loaded = nullptr;
    DD_DATA_TYPE_STRUCT* own = fileSource(&loaded, 99, 0, 0);
    ELEMENT_STRUCT* elements = nullptr;
    CONFIG_STRUCT block{};
    ASSERT_EQ(loadFileXml(file.c_str(), &elements, &loaded, &block), 0);
    ASSERT_EQ(countSources(loaded), 3);
    ASSERT_EQ(loaded, own);
    DD_DATA_TYPE_STRUCT* r = own->next;
    EXPECT_EQ(r->prev, own);
    EXPECT_STREQ(r->name, "") << "the name is not read";
    EXPECT_EQ(r->type, 4);
    EXPECT_EQ(r->dataOptionCount, 3);
    EXPECT_EQ(r->varOptionCount, 1);
    EXPECT_EQ(r->paraAlloc, 10);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(r->para[p].value, 10 + p);
    EXPECT_STREQ(r->para[0].text, "data0");
    EXPECT_STREQ(r->para[2].text, longText.substr(0, 63).c_str());
    EXPECT_STREQ(r->para[3].text, "");
    DD_VAR_STRUCT* v = r->variables;
    ASSERT_NE(v, nullptr);
    EXPECT_STREQ(v->name, "speed");
    EXPECT_EQ(v->type, DD_DOUBLE);
    EXPECT_STREQ(v->defaultText, "1.5");
    EXPECT_EQ(v->paraCount, 1);
    EXPECT_EQ(v->paraAlloc, 10);
    EXPECT_EQ(v->para[0].value, 7);
    EXPECT_STREQ(v->para[0].text, longText.c_str());
    EXPECT_EQ(v->para[0].capacity, 112) << "the text and 12 bytes";
    EXPECT_EQ(v->para[1].capacity, 64);
    ASSERT_NE(v->next, nullptr);
    EXPECT_EQ(v->next->prev, v);
    EXPECT_STREQ(v->next->defaultText, "a<b & \"c\"");
    EXPECT_EQ(v->next->type, DD_STRING);
    EXPECT_EQ(v->next->para[0].capacity, 12);
    EXPECT_EQ(v->next->next, nullptr);
    EXPECT_EQ(r->next->type, 77);
    EXPECT_EQ(r->next->variables, nullptr);
    EXPECT_EQ(r->next->paraAlloc, 10);

    freeSources(&sources);
    freeSources(&loaded);
}

TEST_F(ViewXml, SectionsComeInAnyOrderAndRepeat)
{
    // Another root name and version, an unknown section, two data and two
    // header sections, a header without page colour.
    const std::string text = document("  <data><datasource id=\"5\" nr-data-para=\"1\"><datasource-para svalue=\"one\" />"
                                      "</datasource></data>\n"
                                      "  <header x=\"1.5\" pagecolor=\"#ff000080\" />\n"
                                      "  <unknown><datasource id=\"9\" /></unknown>\n"
                                      "  <editor><anything /></editor>\n"
                                      "  <geometry><unknown /></geometry>\n"
                                      "  <data><datasource id=\"6\" /><other /></data>\n"
                                      "  <header y=\"2\" width=\"3\" height=\"4\" />\n",
                                      "Other");
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config = sampleConfig();
    ASSERT_EQ(loadText(text, &sources, &config), 0) << log.take();
    ASSERT_EQ(countSources(sources), 2);
    EXPECT_EQ(sources->type, 5);
    EXPECT_STREQ(sources->para[0].text, "one");
    EXPECT_EQ(sources->next->type, 6);
    EXPECT_EQ(config.x, 0.0f) << "the second header sets every field; x is missing there";
    EXPECT_EQ(config.y, 2.0f);
    EXPECT_EQ(config.width, 3.0f);
    EXPECT_EQ(config.height, 4.0f);
    EXPECT_EQ(config.r, 1.0f) << "no page colour: white";
    EXPECT_EQ(config.g, 1.0f);
    EXPECT_EQ(config.b, 1.0f);
    freeSources(&sources);

    // The first header alone.
    ASSERT_EQ(loadText(document("<header x=\"1.5\" pagecolor=\"#ff000080\" />"), &sources, &config), 0);
    EXPECT_EQ(config.x, 1.5f);
    EXPECT_EQ(config.r, 1.0f);
    EXPECT_EQ(config.g, 0.0f);
    EXPECT_EQ(config.b, 0.0f);
}

TEST_F(ViewXml, DataSectionRules)
{
    // Negative counts read as 0; children beyond the slots made are
    // ignored (ten for a source, ten for a variable of two parameters);
    // 1024 parameters are read.
    std::string source = "<datasource id=\"3\" nr-data-para=\"-4\" nr-var-para=\"2\">";
    for (int p = 0; p < 12; ++p)
        source += "<datasource-para ivalue=\"" + std::to_string(p) + "\" svalue=\"s" + std::to_string(p) + "\" />";
    source += "<datasource-var name=\"v\" type=\"6\">";
    for (int p = 0; p < 11; ++p)
        source += "<datasource-var-para ivalue=\"" + std::to_string(p) + "\" svalue=\"t\" /><x />";
    source += "</datasource-var></datasource>";
    // A cut never ends inside a UTF-8 character (40 two-byte characters
    // keep 31, 62 bytes); a variable parameter keeps its whole text.
    std::string umlauts;
    for (int i = 0; i < 40; ++i)
        umlauts += "\xc3\xa4";
    const std::string cut = "<datasource><datasource-para svalue=\"" + umlauts + "\" /><datasource-var name=\"" +
                            umlauts + "\"><datasource-var-para svalue=\"" + umlauts + "\" /></datasource-var></datasource>";
    std::string big = "<datasource nr-data-para=\"1024\" nr-var-para=\"-1\">";
    for (int p = 0; p < 1024; ++p)
        big += "<datasource-para ivalue=\"" + std::to_string(p) + "\" />";
    big += "<datasource-var /></datasource>";

    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config{};
    ASSERT_EQ(loadText(document("<data>" + source + big + cut + "</data>"), &sources, &config), 0) << log.take();
    ASSERT_EQ(countSources(sources), 3);
    DD_DATA_TYPE_STRUCT* s = sources;
    EXPECT_EQ(s->dataOptionCount, 0);
    EXPECT_EQ(s->varOptionCount, 2);
    ASSERT_EQ(s->paraAlloc, 10);
    EXPECT_EQ(s->para[9].value, 9);
    EXPECT_STREQ(s->para[9].text, "s9");
    ASSERT_NE(s->variables, nullptr);
    EXPECT_EQ(s->variables->paraCount, 2);
    ASSERT_EQ(s->variables->paraAlloc, 10);
    EXPECT_EQ(s->variables->para[9].value, 9);
    EXPECT_STREQ(s->variables->para[9].text, "t");
    DD_DATA_TYPE_STRUCT* b = s->next;
    EXPECT_EQ(b->dataOptionCount, 1024);
    EXPECT_EQ(b->varOptionCount, 0);
    ASSERT_EQ(b->paraAlloc, 1024);
    EXPECT_EQ(b->para[1023].value, 1023);
    ASSERT_NE(b->variables, nullptr);
    EXPECT_EQ(b->variables->paraCount, 0);
    DD_DATA_TYPE_STRUCT* c = b->next;
    EXPECT_EQ(std::string(c->para[0].text), umlauts.substr(0, 62));
    ASSERT_NE(c->variables, nullptr);
    EXPECT_EQ(std::string(c->variables->name), umlauts.substr(0, 62));
    EXPECT_EQ(std::string(c->variables->para[0].text), umlauts);
    freeSources(&sources);
}

// ---- Refusals ----------------------------------------------------------------

struct Refusal
{
    std::string name;
    std::string text;    // the file
    std::string message; // the last line logged; PATH stands for the file's path
};

std::vector<Refusal> refusals()
{
    const std::string source = "<data><datasource id=\"1\"><datasource-var name=\"v\" /></datasource></data>";
    std::vector<Refusal> r;
    r.push_back({"300 levels", nested(300), "loadFileXml: PATH: elements nest deeper than 261 levels\n"});
    r.push_back({"300 levels, never closed", nested(300, false),
                 "loadFileXml: PATH: elements nest deeper than 261 levels\n"});
    r.push_back({"262 levels", nested(262), "loadFileXml: PATH: elements nest deeper than 261 levels\n"});
    r.push_back({"empty file", "", "loadFileXml: PATH: Error document empty. at line 0, column 0\n"});
    r.push_back({"not closed", document(source).substr(0, 60),
                 "loadFileXml: PATH: Failed to read Element name at line 3, column 8\n"});
    r.push_back({"no root", "<?xml version=\"1.0\" ?>\n<!-- nothing -->\n", "loadFileXml: PATH: no root element\n"});
    r.push_back({"nr-data-para", document(source + "<data><datasource nr-data-para=\"1025\" /></data>"),
                 "loadFileXml: PATH: \"nr-data-para\" 1025 is above 1024\n"});
    r.push_back({"nr-var-para", document(source + "<data><datasource nr-var-para=\"0x7fffffff\" /></data>"),
                 "loadFileXml: PATH: \"nr-var-para\" 2147483647 is above 1024\n"});
    // Elements read before a refusal are not appended either.
    r.push_back({"elements, then a refusal",
                 document("<geometry><group><rect /><path path=\"M 0 0 L 1 1 M 2 2 L 3 3\" /></group><text />"
                          "</geometry><data><datasource nr-data-para=\"1025\" /></data>"),
                 "loadFileXml: PATH: \"nr-data-para\" 1025 is above 1024\n"});
    return r;
}

std::string withPath(const std::string& message, const std::string& path)
{
    std::string out = message;
    const size_t at = out.find("PATH");
    if (at != std::string::npos)
        out.replace(at, 4, path);
    return out;
}

TEST_F(ViewXml, RefusedFilesLeaveTheCallersListsAsTheyWere)
{
    // 261 levels are read.
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config = sampleConfig();
    std::strcpy(config.texts[0], "block");
    EXPECT_EQ(loadText(nested(261), &sources, &config), 0) << log.take();

    DD_DATA_TYPE_STRUCT* own = fileSource(&sources, 7, 0, 0);
    fileVariable(own, "mine", DD_INT);
    ELEMENT_STRUCT* elements = elementCreate(VD_LINE);
    const CONFIG_STRUCT before = config;
    const std::string file = path("refused.xml");
    for (const Refusal& r : refusals()) {
        SCOPED_TRACE(r.name);
        writeText(file, r.text);
        log.take();
        EXPECT_EQ(loadFileXml(file.c_str(), &elements, &sources, &config), -1);
        const std::string logged = log.take();
        const std::string message = withPath(r.message, file);
        ASSERT_GE(logged.size(), message.size()) << logged;
        EXPECT_EQ(logged.substr(logged.size() - message.size()), message) << "the last line";
        EXPECT_EQ(elements->next, nullptr);
        EXPECT_EQ(sources, own);
        EXPECT_EQ(own->next, nullptr);
        EXPECT_EQ(own->variables->next, nullptr);
        EXPECT_EQ(std::memcmp(&config, &before, sizeof config), 0);
    }

    // What is no regular file, or too large, is not read at all.
    ASSERT_EQ(mkfifo(path("pipe.xml").c_str(), 0600), 0); // refused, not waited on
    {
        std::ofstream large(path("large.xml"));
    }
    std::filesystem::resize_file(path("large.xml"), (uint64_t(256) << 20) + 1); // sparse
    log.take();
    EXPECT_EQ(loadFileXml(path("missing.xml").c_str(), &elements, &sources, &config), -1);
    EXPECT_EQ(loadFileXml(folder.path.c_str(), &elements, &sources, &config), -1);
    EXPECT_EQ(loadFileXml(path("pipe.xml").c_str(), &elements, &sources, &config), -1);
    EXPECT_EQ(loadFileXml(path("large.xml").c_str(), &elements, &sources, &config), -1);
    EXPECT_EQ(loadFileXml(nullptr, &elements, &sources, &config), -1);
    EXPECT_EQ(loadFileXml(file.c_str(), nullptr, &sources, &config), -1);
    EXPECT_EQ(loadFileXml(file.c_str(), &elements, nullptr, &config), -1);
    EXPECT_EQ(loadFileXml(file.c_str(), &elements, &sources, nullptr), -1);
    EXPECT_EQ(log.take(), "loadFileXml: cannot open file " + path("missing.xml") +
                              ": No such file or directory\n"
                              "loadFileXml: " +
                              folder.path + ": not a regular file\nloadFileXml: " + path("pipe.xml") +
                              ": not a regular file\nloadFileXml: " + path("large.xml") +
                              ": 268435457 bytes is larger than 268435456\n"
                              "loadFileXml: null argument\nloadFileXml: null argument\n"
                              "loadFileXml: null argument\nloadFileXml: null argument\n");
    EXPECT_EQ(own->next, nullptr);
    EXPECT_EQ(elements->next, nullptr);
    EXPECT_EQ(std::memcmp(&config, &before, sizeof config), 0);

    elementDeleteAll(&elements);
    freeSources(&sources);
}

TEST_F(ViewXml, BitmapThatCannotHoldItsSizeIsDropped)
{
    // 8000 x 8000 pixels from 8 bytes of zlib data: dropped with a warning,
    // the rest of the file read.
    const std::string text =
        document("<definition><bitmap id=\"3\" width=\"8000\" height=\"8000\" compression=\"zlib\" "
                 "data=\"eJwDAAAAAAE=\" /><bitmap id=\"4\" width=\"0\" height=\"5\" /></definition>"
                 "<data><datasource id=\"2\" /></data>");
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config{};
    ASSERT_EQ(loadText(text, &sources, &config), 0);
    EXPECT_EQ(log.take(), "loadFileXml: bitmap 3 of 8000 x 8000 pixels dropped: 8 bytes of data cannot hold it\n"
                          "loadFileXml: bitmap 4 of 0 x 5 pixels dropped: size out of range\n");
    EXPECT_EQ(countSources(sources), 1);
    freeSources(&sources);
}

// ---- Writing -----------------------------------------------------------------

TEST_F(ViewXml, SaveRefusalsAndTheReplacedFile)
{
    const std::string target = path("view.xml");
    CONFIG_STRUCT config = sampleConfig();
    ASSERT_EQ(saveFileXml(target.c_str(), nullptr, nullptr, &config), 0);
    const std::string old = readText(target);

    ASSERT_EQ(mkfifo(path("pipe.xml").c_str(), 0600), 0);
    log.take();
    EXPECT_EQ(saveFileXml(nullptr, nullptr, nullptr, &config), -1);
    EXPECT_EQ(saveFileXml(target.c_str(), nullptr, nullptr, nullptr), -1);
    EXPECT_EQ(saveFileXml(folder.path.c_str(), nullptr, nullptr, &config), -1);
    EXPECT_EQ(saveFileXml(path("pipe.xml").c_str(), nullptr, nullptr, &config), -1);
    EXPECT_EQ(saveFileXml(path("no/such/folder.xml").c_str(), nullptr, nullptr, &config), -1);
    EXPECT_EQ(log.take(), "saveFileXml: null argument\nsaveFileXml: null argument\nsaveFileXml: " + folder.path +
                              ": not a regular file\nsaveFileXml: " + path("pipe.xml") +
                              ": not a regular file\nsaveFileXml: " + path("no/such/folder.xml") +
                              ": cannot create: No such file or directory\n");
    EXPECT_EQ(readText(target), old);

    // A write that fails half-way keeps the old file and leaves no
    // temporary one.
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    DD_DATA_TYPE_STRUCT* s = fileSource(&sources, 1, 0, 1);
    for (int i = 0; i < 200; ++i)
        fileVariable(s, ("v" + std::to_string(i)).c_str(), DD_DOUBLE);
    int rc;
    {
        const FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.active());
        log.take();
        rc = saveFileXml(target.c_str(), nullptr, sources, &config);
    }
    EXPECT_EQ(rc, -1);
    EXPECT_EQ(log.take(), "saveFileXml: " + target + ": cannot write: File too large\n");
    EXPECT_EQ(readText(target), old) << "the old file survives";
    EXPECT_EQ(namesIn(folder.path), (std::vector<std::string>{"pipe.xml", "view.xml"})) << "no temporary file left";

    // Without the limit the same save replaces the file, which keeps its
    // permissions.
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    ASSERT_EQ(saveFileXml(target.c_str(), nullptr, sources, &config), 0);
    struct stat st;
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_NE(readText(target).find("name=\"v199\""), std::string::npos);
    freeSources(&sources);
}

// ---- Texts and nesting ---------------------------------------------------------

std::string field(const char* text, size_t size)
{
    return std::string(text, strnlen(text, size));
}

// Every name, text and default a binary view file can hold is read back as
// its bytes, in a file that is well-formed XML; the file saved from what was
// read is the same file.
TEST_F(ViewXml, EveryTextReadsBackAsItsBytes)
{
    const std::vector<std::string> texts = hostileTexts();
    // Each text in every field that holds one: an element's name, a TEXT's
    // text (repeated to its 255 bytes), an action's variables, format and
    // polygon, a variable's name and default, the parameters' texts.
    const auto longText = [](const std::string& t) {
        std::string out;
        while (out.size() < 255)
            out += t;
        return out.substr(0, 255);
    };
    ELEMENT_STRUCT* view = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    DD_DATA_TYPE_STRUCT* source = fileSource(&sources, 4, int(texts.size()), 1);
    for (size_t i = 0; i < texts.size(); ++i) {
        const char* t = texts[i].c_str();
        ELEMENT_STRUCT* e = elementCreate(VD_TEXT);
        std::snprintf(e->name, sizeof e->name, "%s", t);
        std::snprintf(static_cast<TEXT_STRUCT*>(e->data)->text, 256, "%s", longText(t).c_str());
        for (int type : {0, 6, 11}) { // text, graph, along a polygon
            ACTION_STRUCT* a = createAction();
            a->type = type;
            std::snprintf(a->var, sizeof a->var, "%s", t);
            std::snprintf(a->secondVar, sizeof a->secondVar, "%s", t);
            std::snprintf(a->format, sizeof a->format, "%s", t);
            std::snprintf(a->polyName, sizeof a->polyName, "%s", t);
            appendAction(&e->actions, a);
        }
        elementAppend(e, &view);
        setParaText(source->para[i], t);
        setParaText(fileVariable(source, t, DD_STRING, t)->para[0], t);
    }

    const std::string file = path("texts.xml");
    CONFIG_STRUCT config = sampleConfig();
    ASSERT_EQ(saveFileXml(file.c_str(), view, sources, &config), 0);
    const std::string first = readText(file);
    EXPECT_EQ(readConforming(first).error, "") << "well-formed XML 1.0";
    ELEMENT_STRUCT* elements = nullptr;
    DD_DATA_TYPE_STRUCT* loaded = nullptr;
    ASSERT_EQ(loadFileXml(file.c_str(), &elements, &loaded, &config), 0) << log.take();
    ASSERT_NE(loaded, nullptr);
    const ELEMENT_STRUCT* e = elements;
    const DD_VAR_STRUCT* v = loaded->variables;
    for (size_t i = 0; i < texts.size(); ++i, e = e->next, v = v->next) {
        ASSERT_NE(e, nullptr);
        ASSERT_NE(v, nullptr);
        const std::string& t = texts[i];
        SCOPED_TRACE("text " + std::to_string(i));
        EXPECT_EQ(field(e->name, sizeof e->name), t);
        EXPECT_EQ(field(static_cast<const TEXT_STRUCT*>(e->data)->text, 256), longText(t));
        const ACTION_STRUCT* a = e->actions;
        ASSERT_TRUE(a != nullptr && a->next != nullptr && a->next->next != nullptr);
        EXPECT_EQ(field(a->var, 64), t);
        EXPECT_EQ(field(a->format, 64), t);
        EXPECT_EQ(field(a->next->secondVar, 64), t);
        EXPECT_EQ(field(a->next->next->polyName, 64), t);
        EXPECT_EQ(field(loaded->para[i].text, 64), t);
        EXPECT_EQ(field(v->name, 64), t);
        EXPECT_EQ(field(v->defaultText, 64), t);
        EXPECT_EQ(std::string(v->para[0].text), t);
    }
    ASSERT_EQ(saveFileXml(file.c_str(), elements, loaded, &config), 0);
    EXPECT_TRUE(readText(file) == first) << "the second save writes the same file";

    // Older files: what TinyXML reads is kept, the texts of valid UTF-8
    // that the writer writes unchanged among them.
    elementDeleteAll(&elements);
    ASSERT_EQ(loadText(document("<geometry><line name=\"Ma\xC3\x9F &#xDF; &amp;\" />"
                                "<line name=\"\xEF\xBB\xBF\xE2\x82\xAC\" /></geometry>"),
                       &loaded, &config, &elements),
              0);
    ASSERT_NE(elements, nullptr);
    ASSERT_NE(elements->next, nullptr);
    EXPECT_STREQ(elements->name, "Ma\xC3\x9F \xC3\x9F &");
    EXPECT_STREQ(elements->next->name, "\xEF\xBB\xBF\xE2\x82\xAC") << "no Latin-1 behind the mark: as read";

    elementDeleteAll(&view);
    elementDeleteAll(&elements);
    freeSources(&sources);
    freeSources(&loaded);
}

// Groups nested 255 deep (what the binary file holds), around an element
// whose action has threshold entries, read back; one more is refused by
// the writer and by the reader.
TEST_F(ViewXml, GroupsNestAsDeepAsTheBinaryFileHolds)
{
    const auto nestedGroups = [](int depth) {
        ELEMENT_STRUCT* inner = elementCreate(VD_LINE);
        ACTION_STRUCT* a = createAction();
        a->type = 6; // a graph's: its colour entries are written
        appendTh(&a->thColor.list, createTh());
        appendAction(&inner->actions, a);
        for (int i = 0; i < depth; ++i) {
            ELEMENT_STRUCT* group = elementCreate(VD_GROUP);
            elementAppend(inner, &group->children);
            inner->parent = group;
            inner = group;
        }
        return inner;
    };
    const auto depthOf = [](const ELEMENT_STRUCT* e) {
        int depth = 0;
        for (; e != nullptr && e->kind == VD_GROUP; e = e->children)
            ++depth;
        return depth;
    };
    CONFIG_STRUCT config = sampleConfig();
    const std::string file = path("deep.xml");
    ELEMENT_STRUCT* deepest = nestedGroups(255);
    ASSERT_EQ(saveFile(path("deep.v").c_str(), deepest, nullptr, &config), 0) << "the binary file holds it";
    ASSERT_EQ(saveFileXml(file.c_str(), deepest, nullptr, &config), 0) << log.take();
    ELEMENT_STRUCT* loaded = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    ASSERT_EQ(loadFileXml(file.c_str(), &loaded, &sources, &config), 0) << log.take();
    EXPECT_EQ(depthOf(loaded), 255);
    const ELEMENT_STRUCT* leaf = loaded;
    while (leaf != nullptr && leaf->kind == VD_GROUP)
        leaf = leaf->children;
    ASSERT_NE(leaf, nullptr);
    ASSERT_NE(leaf->actions, nullptr);
    EXPECT_NE(leaf->actions->thColor.list, nullptr);
    elementDeleteAll(&loaded);

    ELEMENT_STRUCT* deeper = nestedGroups(256);
    const std::string old = readText(file);
    log.take();
    EXPECT_EQ(saveFileXml(file.c_str(), deeper, nullptr, &config), -1);
    EXPECT_EQ(log.take(), "saveFileXml: " + file + ": groups nested deeper than 255 levels\n");
    EXPECT_EQ(readText(file), old);
    std::string groups;
    for (int i = 0; i < 256; ++i)
        groups = "<group>" + groups + "</group>";
    EXPECT_EQ(loadText(document("<geometry>" + groups + "</geometry>"), &sources, &config, &loaded), -1);
    EXPECT_EQ(log.take(), "loadFileXml: groups nested deeper than 255 levels\nloadFileXml: " + path("in.xml") +
                              ": the geometry section could not be read\n");
    EXPECT_EQ(loaded, nullptr);
    elementDeleteAll(&deepest);
    elementDeleteAll(&deeper);
}

// The fuzz target's seeds are files this writer wrote (saved by a relative
// name, which the header carries); DORNE_WRITE_SEEDS=1 writes them anew.
TEST_F(ViewXml, FuzzSeedsAreWhatTheWriterWrites)
{
    const std::string seeds = (std::filesystem::path(DORNE_VIEW_SEEDS).parent_path() / "viewXml").string();
    char* cwd = getcwd(nullptr, 0);
    ASSERT_NE(cwd, nullptr);
    ASSERT_EQ(chdir(folder.path.c_str()), 0);
    CONFIG_STRUCT config = sampleConfig();
    EXPECT_EQ(saveFileXml("empty.xml", nullptr, nullptr, &config), 0);
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    DD_DATA_TYPE_STRUCT* s = fileSource(&sources, 1, 2, 1);
    setParaText(s->para[0], "SIN");
    s->para[1].value = 3;
    DD_VAR_STRUCT* v = fileVariable(s, "speed", DD_FLOAT, "1.5");
    setParaText(v->para[0], "0x10");
    fileVariable(s, "Ma\xDF", DD_STRING, "\xC3&lt;\x01"); // Latin-1 and broken UTF-8
    fileSource(&sources, 6, 0, 0);
    EXPECT_EQ(saveFileXml("sources.xml", nullptr, sources, &config), 0);
    freeSources(&sources);
    // Every kind, nested groups, actions with entries in every threshold
    // block, and a path of two subpaths (which the writer never writes).
    ELEMENT_STRUCT* view = viewfile::everyKindView(true);
    ELEMENT_STRUCT* outer = view;
    while (outer->kind != VD_GROUP)
        outer = outer->next;
    viewfile::dropActions(view, nullptr);
    for (int kind : {6, 15, 17, 25}) {
        ACTION_STRUCT* a = createAction();
        a->type = kind;
        std::snprintf(a->var, sizeof a->var, "v%d", kind);
        for (TH_BLOCK* block : {&a->thColor, &a->thWidth, &a->thStyle, &a->thVisibility, &a->thBlink}) {
            TH_STRUCT* th = createTh();
            th->level = 50;
            appendTh(&block->list, th);
        }
        appendAction(&outer->actions, a);
    }
    EXPECT_EQ(saveFileXml("elements.xml", view, nullptr, &config), 0);
    elementDeleteAll(&view);
    std::string elements = readText(path("elements.xml"));
    const size_t end = elements.find("    </geometry>");
    ASSERT_NE(end, std::string::npos);
    elements.insert(end, "        <path name=\"path\" path=\"M 0 0 L 50 0 L 50 40 Z M 60 0 Q 70 20 90 0\" "
                         "fill=\"#ff000080\">\n            <action type=\"rotate\" cg=\"center\" />\n"
                         "        </path>\n");
    writeText(path("elements.xml"), elements);
    EXPECT_EQ(chdir(cwd), 0);
    std::free(cwd);

    const char* write = std::getenv("DORNE_WRITE_SEEDS");
    for (const char* name : {"empty.xml", "sources.xml", "elements.xml"}) {
        const std::string seed = seeds + "/" + name;
        const std::string text = readText(path(name));
        if (write != nullptr && std::strcmp(write, "1") == 0) {
            std::filesystem::create_directories(seeds);
            writeText(seed, text);
        }
        EXPECT_EQ(readText(seed), text) << seed << " (DORNE_WRITE_SEEDS=1 writes it anew)";
        EXPECT_EQ(readConforming(text).error, "") << name << " is well-formed XML 1.0";
    }
}

} // namespace
