// The definitions of the XML view file: what the writer writes for each
// kind of element and threshold, how it numbers and deduplicates, what the
// reader keeps, how strokes and patterns resolve back into styles, and the
// checks a bitmap passes before its pixels are allocated.
#include "gl/textureRegistry.h"
#include "xml/Base64.h"
#include "xml/Definitions.h"
#include "xml/ViewXml.h"

#include "leakCheck.h"

#include "dorneFiles.h"
#include "dorneGl.h"
#include "dorneLog.h"
#include "dorneTextures.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>
#include <zlib.h>

// The largest single request to operator new while tracking is on (the
// bitmap reader allocates its pixels through it), and the most bytes held
// through it at once since peak was last reset: each block carries its
// size in front.
static std::atomic<bool> tracking{false};
static std::atomic<size_t> largestRequest{0};
static std::atomic<size_t> held{0};
static std::atomic<size_t> peak{0};
static const size_t kFront = alignof(std::max_align_t);

void* operator new(size_t n)
{
    if (tracking.load()) {
        size_t seen = largestRequest.load();
        while (n > seen && !largestRequest.compare_exchange_weak(seen, n)) {
        }
    }
    if (auto* p = static_cast<unsigned char*>(std::malloc(n + kFront))) {
        std::memcpy(p, &n, sizeof n);
        const size_t now = held += n;
        size_t top = peak.load();
        while (now > top && !peak.compare_exchange_weak(top, now)) {
        }
        return p + kFront;
    }
    throw std::bad_alloc();
}

void* operator new[](size_t n)
{
    return operator new(n);
}

void* operator new(size_t n, const std::nothrow_t&) noexcept
{
    try {
        return operator new(n);
    } catch (...) {
        return nullptr;
    }
}

void* operator new[](size_t n, const std::nothrow_t&) noexcept
{
    return operator new(n, std::nothrow);
}

void operator delete(void* p) noexcept
{
    if (p == nullptr)
        return;
    unsigned char* block = static_cast<unsigned char*>(p) - kFront;
    size_t n;
    std::memcpy(&n, block, sizeof n);
    held -= n;
    std::free(block);
}

void operator delete[](void* p) noexcept
{
    operator delete(p);
}

void operator delete(void* p, size_t) noexcept
{
    operator delete(p);
}

void operator delete[](void* p, size_t) noexcept
{
    operator delete(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept
{
    operator delete(p);
}

void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    operator delete(p);
}

using dorne::DefinitionReader;
using dorne::DefinitionWriter;
using dorne::XmlDocument;
using dorne::XmlElement;

namespace {

struct LogText
{
    LogText()
    {
        setLogLevel(3);
        take();
    }
    ~LogText() { setLogLevel(1); }
    std::string take()
    {
        std::vector<char> buffer(16384);
        getLogMsg(buffer.data(), int(buffer.size()));
        return buffer.data();
    }
};

// The definition elements as "name id attributes..." lines, for comparing.
std::vector<std::string> lines(XmlElement& definition)
{
    std::vector<std::string> out;
    for (XmlElement e = definition.firstElement(); e.valid(); e = e.nextElement()) {
        std::string line = e.name();
        for (const TiXmlAttribute* a = e.data()->FirstAttribute(); a != nullptr; a = a->Next())
            line += std::string(" ") + a->Name() + "=" + (std::strcmp(a->Name(), "data") == 0 && std::strlen(a->Value()) > 40
                                                              ? "<" + std::to_string(std::strlen(a->Value())) + ">"
                                                              : std::string(a->Value()));
        out.push_back(line);
    }
    return out;
}

std::string base64(const unsigned char* bytes, int n)
{
    const dorne::Base64 b;
    std::string text(size_t(b.getSize(n)), '\0');
    b.encode(bytes, &text[0], n, 0);
    return text;
}

// The pixels of a bitmap the reader holds, made as an element asks for
// them; none for an id without bitmap.
std::vector<unsigned char> pixelsOf(DefinitionReader& reader, int id)
{
    const dorne::Image* image = reader.image(id);
    return image != nullptr ? image->pixels : std::vector<unsigned char>();
}

class XmlDefinitions : public ::testing::Test
{
protected:
    void TearDown() override
    {
        elementDeleteAll(&elements);
        expectNoLeaks();
    }

    ELEMENT_STRUCT* add(int kind, ELEMENT_STRUCT** list = nullptr)
    {
        ELEMENT_STRUCT* e = elementCreate(kind);
        elementAppend(e, list != nullptr ? list : &elements);
        return e;
    }

    ELEMENT_STRUCT* elements = nullptr;
    LogText log;
};

TEST_F(XmlDefinitions, EqualStylesShareOneDefinitionAndIdsStartAtOne)
{
    for (int k = 0; k < 2; ++k) {
        auto* r = static_cast<RECT_STRUCT*>(add(VD_RECTANGLE)->data);
        r->lineStyle = 3;
        r->stippleFactor = 7 + k; // not written: style 3 is built in
        r->pattern = 5;
    }
    auto* line = static_cast<LINE_STRUCT*>(add(VD_LINE)->data);
    line->lineStyle = 100;
    line->stippleFactor = 2;
    line->stipplePattern = 0x1234;
    auto* solidLine = static_cast<LINE_STRUCT*>(add(VD_LINE)->data);
    solidLine->lineStyle = -4; // any number up to 9 without a pattern: solid
    auto* solid = static_cast<LINE_STRUCT*>(add(VD_LINE)->data);
    solid->lineStyle = 0;

    // Every save starts at 1: two writers over the same elements write the
    // same section.
    std::vector<std::string> first;
    for (int save = 0; save < 2; ++save) {
        DefinitionWriter writer;
        XmlElement definition("definition");
        for (ELEMENT_STRUCT* e = elements; e != nullptr; e = e->next)
            ASSERT_EQ(writer.definitionSaveXml(e, &definition), 0);
        const std::vector<std::string> written = lines(definition);
        EXPECT_EQ(written, (std::vector<std::string>{
                               "stroke name=StrokeName id=1 factor=1 data=0xf0f0",
                               "pattern name=PatternName id=2 data=<172>",
                               "stroke name=StrokeName id=3 factor=2 data=0x1234",
                               "stroke name=StrokeName id=4 factor=1 data=0xffff",
                           }));
        if (save == 0)
            first = written;
        EXPECT_EQ(writer.uniquex, 5);
    }
    auto* r1 = static_cast<RECT_STRUCT*>(elements->data);
    auto* r2 = static_cast<RECT_STRUCT*>(elements->next->data);
    EXPECT_EQ(r1->strokeStyle, 1);
    EXPECT_EQ(r2->strokeStyle, 1);
    EXPECT_EQ(r1->fillStyle, 2);
    EXPECT_EQ(r2->fillStyle, 2);
    EXPECT_EQ(line->strokeStyle, 3);
    EXPECT_EQ(solidLine->strokeStyle, 4);
    EXPECT_EQ(solid->strokeStyle, 4);
}

TEST_F(XmlDefinitions, EveryKindGroupsAndThresholdsGiveTheirDefinitions)
{
    ELEMENT_STRUCT* graph = add(VD_GRAPH);
    auto* g = static_cast<GRAPH_STRUCT*>(graph->data);
    g->gridStyleIndex = 9;
    std::strcpy(g->family, "Arial");
    g->size = 12;
    g->style = 2;
    ELEMENT_STRUCT* group = add(VD_GROUP);
    ELEMENT_STRUCT* inner = add(VD_GROUP, &group->children);
    auto* text = static_cast<TEXT_STRUCT*>(add(VD_TEXT, &inner->children)->data);
    std::strcpy(text->family, "Arial");
    text->size = 12;
    text->style = 2;
    text->fontKind = 1;
    text->underline = 1;
    text->lineStyle = 9;
    text->pattern = 0;
    auto* circle = static_cast<CIRCLE_STRUCT*>(add(VD_ARC, &group->children)->data);
    circle->lineStyle = 1;
    circle->pattern = 70;
    std::memcpy(circle->patternBits, getPattern(12), 128);
    auto* poly = static_cast<POLY_STRUCT*>(add(VD_CPOLYGON)->data);
    poly->lineStyle = 1;
    poly->pattern = 12;
    add(VD_BUTTON);
    add(VD_SCISSOR);
    ELEMENT_STRUCT* slider = add(VD_SLIDER);
    // Line-style thresholds of any element's actions, a slider's too.
    ACTION_STRUCT* action = createAction();
    appendAction(&slider->actions, action);
    for (int style : {2, 100, 9}) {
        TH_STRUCT* th = createTh();
        th->intValue = style;
        th->stippleFactor = 3;
        th->stipplePattern = 0x00ff;
        appendTh(&action->thStyle.list, th);
    }
    TH_STRUCT* colour = createTh(); // other lists give nothing
    colour->intValue = 5;
    appendTh(&action->thColor.list, colour);

    DefinitionWriter writer;
    XmlElement definition("definition");
    for (ELEMENT_STRUCT* e = elements; e != nullptr; e = e->next)
        ASSERT_EQ(writer.definitionSaveXml(e, &definition), 0);
    EXPECT_EQ(lines(definition),
              (std::vector<std::string>{
                  "stroke name=StrokeName id=1 factor=1 data=0xc0f",
                  "font name=FontName id=2 type=truetype family=Arial size=12 bold=true italic=false underline=false",
                  "pattern name=PatternName id=3 data=<172>",
                  "font name=FontName id=4 type=truetype family=Arial size=12 bold=true italic=false underline=true",
                  "stroke name=StrokeName id=5 factor=1 data=0xaaaa",
                  "pattern name=PatternName id=6 data=<172>",
                  "stroke name=StrokeName id=7 factor=1 data=0xcccc",
                  "stroke name=StrokeName id=8 factor=3 data=0xff",
              }));
    EXPECT_EQ(g->gridStyle, 1);
    EXPECT_EQ(g->fontId, 2);
    EXPECT_EQ(text->strokeStyle, 1);
    EXPECT_EQ(text->fillStyle, 3);
    EXPECT_EQ(text->fontId, 4) << "a text's font kind makes it another font than the graph's";
    EXPECT_EQ(circle->strokeStyle, 5);
    EXPECT_EQ(circle->fillStyle, 6);
    EXPECT_EQ(poly->fillStyle, 6) << "style 70's own bytes equal pattern 12";
    TH_STRUCT* th = action->thStyle.list;
    EXPECT_EQ(th->strokeId, 7);
    EXPECT_EQ(th->next->strokeId, 8);
    EXPECT_EQ(th->next->next->strokeId, 1);
}

TEST_F(XmlDefinitions, FontFlagsOfTheFourStyles)
{
    const struct
    {
        int style;
        bool bold, italic;
    } cases[] = {{1, false, false}, {2, true, false}, {4, false, true}, {8, true, true}, {6, true, true}, {0, false, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(dorne::styleIsBold(c.style), c.bold) << c.style;
        EXPECT_EQ(dorne::styleIsItalic(c.style), c.italic) << c.style;
        DefinitionWriter writer;
        XmlElement definition("definition");
        TEXT_STRUCT text{};
        std::strcpy(text.family, "Sans");
        text.size = 20;
        text.style = c.style;
        int id = 0;
        writer.saveFont(&definition, &text, &id);
        EXPECT_EQ(id, 1);
        XmlElement font = definition.firstElement();
        EXPECT_EQ(font.getAttributeBool("bold"), c.bold) << c.style;
        EXPECT_EQ(font.getAttributeBool("italic"), c.italic) << c.style;
        EXPECT_EQ(writer.mapFont.begin()->first,
                  std::string("0 Sans 20 ") + (c.bold ? "1" : "0") + " " + (c.italic ? "1" : "0") + " 0");
    }
    dorne::VFont font;
    font.family = "Arial";
    font.size = 12;
    font.bold = true;
    EXPECT_EQ(font.id(), "0 Arial 12 1 0 0");
}

TEST_F(XmlDefinitions, BitmapsAreKeyedByShapeAndBytes)
{
    std::vector<unsigned char> pixels(2 * 4 * 4);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<unsigned char>(i * 7);
    DefinitionWriter writer;
    XmlElement definition("definition");
    int a = 0, b = 0, c = 0;
    ASSERT_EQ(writer.saveImage(&definition, 2, 4, pixels.data(), &a), 0);
    ASSERT_EQ(writer.saveImage(&definition, 2, 4, std::vector<unsigned char>(pixels).data(), &b), 0);
    ASSERT_EQ(writer.saveImage(&definition, 4, 2, pixels.data(), &c), 0);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 1) << "equal bytes, equal shape: one definition";
    EXPECT_EQ(c, 2) << "equal bytes in another shape: a definition of its own";
    const std::vector<std::string> written = lines(definition);
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0].substr(0, written[0].find(" data=")),
              "bitmap name=BitmapName id=1 path=BitmapPath width=2 height=4 compression=zlib");
    EXPECT_EQ(written[1].substr(0, written[1].find(" data=")),
              "bitmap name=BitmapName id=2 path=BitmapPath width=4 height=2 compression=zlib");

    // Read back: the same bytes in each shape.
    DefinitionReader reader;
    reader.loadDefinition(definition);
    ASSERT_EQ(reader.mapImage.size(), 2u);
    EXPECT_EQ(reader.mapImage[1].width, 2);
    EXPECT_EQ(reader.mapImage[1].height, 4);
    EXPECT_EQ(pixelsOf(reader, 1), pixels);
    EXPECT_EQ(reader.mapImage[2].width, 4);
    EXPECT_EQ(pixelsOf(reader, 2), pixels);

    // A 2 x 2 bitmap, and a larger one of noise.
    std::mt19937 random(5);
    std::vector<unsigned char> noise(37 * 11 * 4);
    for (unsigned char& p : noise)
        p = static_cast<unsigned char>(random());
    XmlElement more("definition");
    int small = 0, large = 0;
    ASSERT_EQ(writer.saveImage(&more, 2, 2, pixels.data(), &small), 0);
    ASSERT_EQ(writer.saveImage(&more, 37, 11, noise.data(), &large), 0);
    EXPECT_EQ(small, 3);
    EXPECT_EQ(large, 4);
    reader.loadDefinition(more);
    EXPECT_EQ(reader.mapImage.size(), 2u) << "a section empties the bitmap map";
    EXPECT_EQ(pixelsOf(reader, 3), std::vector<unsigned char>(pixels.begin(), pixels.begin() + 16));
    EXPECT_EQ(pixelsOf(reader, 4), noise);
}

TEST_F(XmlDefinitions, TexturesWriteTheirRegisteredImage)
{
    unsigned char pixels[3 * 2 * 4];
    for (int i = 0; i < 24; ++i)
        pixels[i] = static_cast<unsigned char>(i * 11);
    ELEMENT_STRUCT* withImage = add(VD_TEXTURE);
    auto* image = static_cast<IMAGE_STRUCT*>(withImage->data);
    image->pixelWidth = 3;
    image->pixelHeight = 2;
    ASSERT_EQ(loadTextureFromData(pixels, image), 0);
    image->pattern = 3;
    auto* empty = static_cast<IMAGE_STRUCT*>(add(VD_TEXTURE)->data);
    empty->pattern = 3;
    ASSERT_EQ(txData(empty->texture), nullptr) << "no pixels";

    DefinitionWriter writer;
    XmlElement definition("definition");
    for (ELEMENT_STRUCT* e = elements; e != nullptr; e = e->next)
        ASSERT_EQ(writer.definitionSaveXml(e, &definition), 0);
    const std::vector<std::string> written = lines(definition);
    ASSERT_EQ(written.size(), 2u) << "no bitmap for the image without pixels";
    EXPECT_EQ(written[0], "pattern name=PatternName id=1 data=<172>");
    EXPECT_EQ(written[1].substr(0, written[1].find(" data=")),
              "bitmap name=BitmapName id=2 path=BitmapPath width=3 height=2 compression=zlib");
    EXPECT_EQ(image->fillStyle, 1);
    EXPECT_EQ(image->bitmap, 2);
    EXPECT_EQ(empty->fillStyle, 1);
    EXPECT_EQ(empty->bitmap, -1);

    DefinitionReader reader;
    reader.loadDefinition(definition);
    EXPECT_EQ(pixelsOf(reader, 2), std::vector<unsigned char>(pixels, pixels + 24));
}

TEST_F(XmlDefinitions, StrokesResolveToBuiltInStylesOrCustom)
{
    XmlDocument document;
    std::string text = "<definition>"
                       "<stroke id=\"1\" factor=\"1\" data=\"0xffff\" />"
                       "<stroke id=\"2\" factor=\"2\" data=\"0xffff\" />"
                       "<stroke id=\"3\" factor=\"1\" data=\"0xf0f0\" />"
                       "<stroke id=\"4\" factor=\"1\" data=\"0x10c0f\" />"
                       "<stroke id=\"5\" factor=\"1\" data=\"65535\" />"
                       "<stroke id=\"5\" factor=\"1\" data=\"0x8888\" />"
                       "<stroke id=\"6\" factor=\"-1\" data=\"0x1\" />"
                       "</definition>";
    ASSERT_TRUE(document.parse(text));
    DefinitionReader reader;
    reader.loadDefinition(document.root());
    const struct
    {
        int id, factor;
        unsigned short pattern;
        int style;
    } cases[] = {{1, 1, 0xffff, 0}, {2, 2, 0xffff, 100}, {3, 1, 0xf0f0, 3}, {4, 1, 0x0c0f, 9},
                 {5, 1, 0x8888, 5} /* the later definition */, {6, -1, 0x1, 100}, {99, 0, 0, 100}};
    for (const auto& c : cases) {
        int factor = -7, style = -7;
        unsigned short pattern = 7;
        reader.calcStroke(c.id, &factor, &pattern, &style);
        EXPECT_EQ(factor, c.factor) << c.id;
        EXPECT_EQ(pattern, c.pattern) << c.id;
        EXPECT_EQ(style, c.style) << c.id;
    }
    EXPECT_EQ(reader.mapStrokeStyle.count(99), 0u) << "looked up, not made";
}

TEST_F(XmlDefinitions, PatternsResolveToTheLastBuiltInOfTheirDigest)
{
    // Written: style 0 (solid), 5, 70 with the bytes of pattern 12, 80
    // with bytes of its own.
    unsigned char own[128];
    for (int i = 0; i < 128; ++i)
        own[i] = static_cast<unsigned char>(i);
    DefinitionWriter writer;
    XmlElement definition("definition");
    int solid = 0, five = 0, twelve = 0, custom = 0;
    writer.savePattern(&definition, 0, own, &solid);
    writer.savePattern(&definition, 5, own, &five);
    writer.savePattern(&definition, 70, getPattern(12), &twelve);
    writer.savePattern(&definition, 80, own, &custom);
    int again = 0;
    writer.savePattern(&definition, 61, own, &again); // below 65: built-in, 61 is pattern 0
    EXPECT_EQ(again, solid);
    EXPECT_EQ(definition.firstElement().getAttributeString("data"), base64(getPattern(0), 128));

    DefinitionReader reader;
    reader.loadDefinition(definition);
    const struct
    {
        int id;
        const unsigned char* bytes;
        int style;
    } cases[] = {{solid, getPattern(0), 60}, {five, getPattern(5), 5}, {twelve, getPattern(12), 12}, {custom, own, 100}};
    for (const auto& c : cases) {
        unsigned char bytes[128];
        int style = -1;
        reader.calcFill(c.id, bytes, &style);
        EXPECT_EQ(std::memcmp(bytes, c.bytes, 128), 0) << c.id;
        EXPECT_EQ(style, c.style) << c.id;
    }
    unsigned char bytes[128];
    std::memset(bytes, 0x55, sizeof bytes);
    int style = -1;
    reader.calcFill(99, bytes, &style);
    EXPECT_EQ(style, 100) << "no definition";
    EXPECT_EQ(std::memcmp(bytes, std::vector<unsigned char>(128, 0).data(), 128), 0);

    // Digests of the built-in patterns; outside 0 to 59 pattern 0's.
    dorne::Md5 md5;
    for (int i = 0; i < 60; ++i)
        EXPECT_TRUE(dorne::getPatternHash(i) == md5.getMd5(getPattern(i), 128)) << i;
    EXPECT_TRUE(dorne::getPatternHash(60) == dorne::getPatternHash(0));
    EXPECT_TRUE(dorne::getPatternHash(-1) == dorne::getPatternHash(0));
}

TEST_F(XmlDefinitions, PatternTextIsReadUpTo172Characters)
{
    unsigned char first[129];
    for (int i = 0; i < 129; ++i)
        first[i] = static_cast<unsigned char>(200 - i);
    const std::string whole = base64(first, 129); // 172 characters, 129 bytes
    const std::string shortText = base64(first, 30);
    XmlDocument document;
    std::string text = "<definition><pattern id=\"1\" data=\"" + whole + "QUJD\" />" + "<pattern id=\"2\" data=\"" +
                       shortText + "\" /><pattern id=\"3\" data=\"AB\nC\n\n\" /><pattern id=\"4\" /></definition>";
    ASSERT_TRUE(document.parse(text));
    DefinitionReader reader;
    reader.loadDefinition(document.root());
    EXPECT_EQ(std::memcmp(reader.mapFillStyle[1].bytes, first, 128), 0) << "128 of 129 bytes kept";
    EXPECT_EQ(std::memcmp(reader.mapFillStyle[2].bytes, first, 30), 0);
    EXPECT_EQ(reader.mapFillStyle[2].bytes[30], 0) << "the rest stays zero";
    EXPECT_EQ(reader.mapFillStyle[3].bytes[0], 0) << "a group cut short";
    EXPECT_EQ(reader.mapFillStyle.size(), 4u);
}

TEST_F(XmlDefinitions, FontsAndSectionsInTheReader)
{
    XmlDocument document;
    std::string text = "<d><definition>"
                       "<font id=\"1\" type=\"truetype\" family=\"Arial\" size=\"12\" bold=\"true\" underline=\"true\" />"
                       "<font id=\"2\" type=\"other\" family=\"Sans\" size=\"9\" italic=\"true\" />"
                       "<stroke id=\"3\" factor=\"1\" data=\"0xaaaa\" /><unknown id=\"9\" />"
                       "</definition><definition><font id=\"4\" /></definition></d>";
    ASSERT_TRUE(document.parse(text));
    DefinitionReader reader;
    XmlElement first = document.root().firstElement();
    reader.loadDefinition(first);
    EXPECT_EQ(reader.mapStrokeStyle.size(), 1u);
    reader.loadDefinition(first.nextElement());
    EXPECT_EQ(reader.mapStrokeStyle.size(), 0u) << "each section empties the stroke map";
    ASSERT_EQ(reader.mapFont.size(), 3u) << "and keeps the fonts";
    EXPECT_EQ(reader.mapFont[1].id(), "0 Arial 12 1 0 1");
    EXPECT_EQ(reader.mapFont[2].id(), "1 Sans 9 0 1 0") << "not truetype: kind 1";
    EXPECT_EQ(reader.mapFont[4].id(), "1  0 0 0 0");
}

// Bitmaps of every kind of fault: each is dropped with a warning before
// its pixels are allocated (those that do not inflate when asked for, into
// a buffer of their size); the good ones are kept.
TEST_F(XmlDefinitions, BitmapChecksComeBeforeTheAllocation)
{
    std::vector<unsigned char> pixels(4 * 3 * 4, 9);
    uLongf packedLength = compressBound(uLong(pixels.size()));
    std::vector<unsigned char> packed(packedLength);
    ASSERT_EQ(compress(packed.data(), &packedLength, pixels.data(), uLong(pixels.size())), Z_OK);
    const std::string zlib = base64(packed.data(), int(packedLength));
    const std::string raw = base64(pixels.data(), int(pixels.size()));
    // 1000 x 1000 x 4 bytes of zeros pack into less than 1/1000 of that.
    std::vector<unsigned char> zeros(4000000, 0);
    uLongf tightLength = compressBound(uLong(zeros.size()));
    std::vector<unsigned char> tight(tightLength);
    ASSERT_EQ(compress2(tight.data(), &tightLength, zeros.data(), uLong(zeros.size()), 9), Z_OK);
    ASSERT_LT(tightLength * 1000, zeros.size());
    const std::string dense = base64(tight.data(), int(tightLength));

    const auto bitmap = [](int id, const std::string& size, const std::string& compression, const std::string& data) {
        return "<bitmap id=\"" + std::to_string(id) + "\" " + size + " compression=\"" + compression + "\" data=\"" +
               data + "\" />";
    };
    const std::string text =
        "<definition>" + bitmap(1, "width=\"4\" height=\"3\"", "zlib", zlib) +
        bitmap(2, "width=\"4\" height=\"3\"", "none", raw) + bitmap(3, "width=\"4\" height=\"2\"", "none", raw) +
        bitmap(4, "width=\"4\" height=\"4\"", "none", raw) + bitmap(5, "width=\"4\" height=\"4\"", "zlib", zlib) +
        bitmap(6, "width=\"4\" height=\"2\"", "zlib", zlib) + bitmap(7, "width=\"16385\" height=\"1\"", "zlib", zlib) +
        bitmap(8, "width=\"1\" height=\"-1\"", "zlib", zlib) + bitmap(9, "width=\"16384\" height=\"16384\"", "zlib", zlib) +
        bitmap(10, "width=\"4\" height=\"3\"", "zlib", "A\n\n\n") + bitmap(11, "width=\"4\" height=\"3\"", "zlib", "////") +
        bitmap(12, "width=\"1000\" height=\"1000\"", "zlib", dense) +
        bitmap(13, "width=\"8000\" height=\"8000\"", "zlib", dense) + "</definition>";
    XmlDocument document;
    std::string parsed = text;
    ASSERT_TRUE(document.parse(parsed));
    DefinitionReader reader;
    log.take();
    largestRequest = 0;
    tracking = true;
    reader.loadDefinition(document.root());
    EXPECT_EQ(log.take(),
              "loadFileXml: bitmap 4 of 4 x 4 pixels dropped: 48 bytes of data cannot hold it\n"
              "loadFileXml: bitmap 7 of 16385 x 1 pixels dropped: size out of range\n"
              "loadFileXml: bitmap 8 of 1 x -1 pixels dropped: size out of range\n"
              "loadFileXml: bitmap 9 of 16384 x 16384 pixels dropped: too large\n"
              "loadFileXml: bitmap 10 dropped: its data is no Base64\n"
              "loadFileXml: bitmap 13 of 8000 x 8000 pixels dropped: " +
                  std::to_string(tightLength) + " bytes of data cannot hold it\n");
    // Zlib data inflates when an element asks for its bitmap.
    std::vector<int> made;
    for (int id = 1; id <= 13; ++id)
        if (reader.image(id) != nullptr)
            made.push_back(id);
    tracking = false;
    EXPECT_EQ(log.take(), "loadFileXml: bitmap 5 of 4 x 4 pixels dropped: its data does not inflate to 64 bytes\n"
                          "loadFileXml: bitmap 6 of 4 x 2 pixels dropped: its data does not inflate to 32 bytes\n"
                          "loadFileXml: bitmap 11 of 4 x 3 pixels dropped: its data does not inflate to 48 bytes\n");
    EXPECT_EQ(made, (std::vector<int>{1, 2, 3, 12}));
    EXPECT_LE(largestRequest.load(), size_t(4000000) + 64) << "no buffer beyond the largest bitmap kept";
    EXPECT_EQ(reader.mapImage.size(), 4u);
    EXPECT_EQ(pixelsOf(reader, 1), pixels);
    EXPECT_EQ(pixelsOf(reader, 2), pixels);
    EXPECT_EQ(pixelsOf(reader, 3), std::vector<unsigned char>(pixels.begin(), pixels.begin() + 32))
        << "the first bytes of a larger block";
    EXPECT_EQ(pixelsOf(reader, 12), zeros);
}

// An 8000 x 8000 bitmap of a few bytes in a whole file: refused before a
// byte of its pixels is allocated.
TEST_F(XmlDefinitions, HugeBitmapOfAFewBytesAllocatesNothingLarge)
{
    char folder[] = "/tmp/dorneXmlXXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string file = std::string(folder) + "/huge.xml";
    {
        std::ofstream out(file);
        out << "<?xml version=\"1.0\" ?>\n<Nalvo2D><definition><bitmap id=\"1\" width=\"8000\" height=\"8000\" "
               "compression=\"zlib\" data=\"QUJDREVGR0g=\" /></definition></Nalvo2D>\n";
    }
    ELEMENT_STRUCT* list = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config{};
    log.take();
    largestRequest = 0;
    tracking = true;
    EXPECT_EQ(loadFileXml(file.c_str(), &list, &sources, &config), 0);
    tracking = false;
    EXPECT_EQ(log.take(), "loadFileXml: bitmap 1 of 8000 x 8000 pixels dropped: 8 bytes of data cannot hold it\n");
    EXPECT_LT(largestRequest.load(), size_t(65536));
    std::remove(file.c_str());
    rmdir(folder);
}

// Bitmaps no element uses take no room for their pixels: eight of 16 MB
// each beside the small one a texture shows; one of them that two textures
// show is held once.
TEST_F(XmlDefinitions, OnlyTheBitmapsElementsUseTakeTheirSize)
{
    const int width = 2048, height = 2048;
    const size_t bytes = size_t(width) * height * 4;
    std::string dense;
    {
        std::vector<unsigned char> zeros(bytes, 0);
        uLongf length = compressBound(uLong(bytes));
        std::vector<unsigned char> packed(length);
        ASSERT_EQ(compress2(packed.data(), &length, zeros.data(), uLong(bytes), 9), Z_OK);
        dense = base64(packed.data(), int(length));
    }
    unsigned char small[2 * 3 * 4];
    for (int i = 0; i < 24; ++i)
        small[i] = static_cast<unsigned char>(i * 10 + 1);
    uLongf smallLength = compressBound(sizeof small);
    std::vector<unsigned char> smallPacked(smallLength);
    ASSERT_EQ(compress(smallPacked.data(), &smallLength, small, sizeof small), Z_OK);
    std::string definitions = "<bitmap id=\"9\" width=\"2\" height=\"3\" compression=\"zlib\" data=\"" +
                              base64(smallPacked.data(), int(smallLength)) + "\" />";
    for (int id = 1; id <= 8; ++id)
        definitions += "<bitmap id=\"" + std::to_string(id) + "\" width=\"" + std::to_string(width) +
                       "\" height=\"" + std::to_string(height) + "\" compression=\"zlib\" data=\"" + dense + "\" />";
    const std::string texture = "<rect x=\"5\" y=\"5\" width=\"10\" height=\"10\" bitmap=\"";
    char folder[] = "/tmp/dorneXmlXXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string file = std::string(folder) + "/bitmaps.xml";
    const struct
    {
        const char* name;
        std::string geometry;
        size_t from, below; // the peak of what operator new holds during the load
        int textures;
    } cases[] = {
        {"the small one shown", texture + "9\" />", 0, bytes, 1},
        {"a large one shown twice", texture + "9\" />" + texture + "4\" />" + texture + "4\" />", bytes, 2 * bytes, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        {
            std::ofstream out(file);
            out << "<?xml version=\"1.0\" ?>\n<Nalvo2D><definition>" << definitions << "</definition><geometry>"
                << c.geometry << "</geometry></Nalvo2D>\n";
        }
        ELEMENT_STRUCT* list = nullptr;
        DD_DATA_TYPE_STRUCT* sources = nullptr;
        CONFIG_STRUCT config{};
        peak = held.load();
        const size_t before = held.load();
        ASSERT_EQ(loadFileXml(file.c_str(), &list, &sources, &config), 0) << log.take();
        EXPECT_GE(peak.load() - before, c.from);
        EXPECT_LT(peak.load() - before, c.below);
        int shown = 0;
        for (const ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
            const auto* image = static_cast<const IMAGE_STRUCT*>(e->data);
            ASSERT_EQ(e->kind, VD_TEXTURE);
            int w = 0, h = 0;
            const unsigned char* pixels = txImage(image->texture, w, h);
            ASSERT_NE(pixels, nullptr);
            EXPECT_EQ(w, image->bitmap == 9 ? 2 : width);
            EXPECT_EQ(pixels[0], image->bitmap == 9 ? 1 : 0);
            ++shown;
        }
        EXPECT_EQ(shown, c.textures);
        elementDeleteAll(&list);
    }
    std::remove(file.c_str());
    rmdir(folder);
}

// A seed for the fuzz target with one definition of each kind;
// DORNE_WRITE_SEEDS=1 writes it anew.
TEST_F(XmlDefinitions, FuzzSeedWithDefinitions)
{
    XmlDocument document;
    XmlElement root("Nalvo2D");
    root.setAttributeString("version", "3.3");
    document.appendElement(root);
    XmlElement definition("definition");
    DefinitionWriter writer;
    int id = 0;
    writer.saveStroke(&definition, 100, 2, 0x1234, &id);
    unsigned char own[128];
    for (int i = 0; i < 128; ++i)
        own[i] = static_cast<unsigned char>(i * 3);
    writer.savePattern(&definition, 70, own, &id);
    unsigned char pixels[2 * 3 * 4];
    for (int i = 0; i < 24; ++i)
        pixels[i] = static_cast<unsigned char>(i * 10);
    writer.saveImage(&definition, 2, 3, pixels, &id);
    GRAPH_STRUCT graph{};
    std::strcpy(graph.family, "Arial");
    graph.size = 10;
    graph.style = 8;
    writer.saveFont(&definition, &graph, &id);
    root.appendElement(definition);

    char* buffer = nullptr;
    size_t size = 0;
    FILE* memory = open_memstream(&buffer, &size);
    ASSERT_NE(memory, nullptr);
    EXPECT_TRUE(document.write(memory));
    std::fclose(memory);
    const std::string text(buffer, size);
    std::free(buffer);

    const std::string seed = std::string(DORNE_FUZZ_SEEDS) + "/viewXml/definitions.xml";
    const char* write = std::getenv("DORNE_WRITE_SEEDS");
    if (write != nullptr && std::strcmp(write, "1") == 0) {
        std::ofstream out(seed, std::ios::binary | std::ios::trunc);
        out << text;
    }
    std::ifstream in(seed, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), text)
        << seed << " (DORNE_WRITE_SEEDS=1 writes it anew)";

    // The seed reads as a whole file.
    ELEMENT_STRUCT* list = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config{};
    EXPECT_EQ(loadFileXml(seed.c_str(), &list, &sources, &config), 0);
}

// The nesting count against TinyXML: at the bound a file parses, one more
// level is counted as such whatever tags, comments, declarations, quoted
// values and stray end tags surround it.
TEST_F(XmlDefinitions, NestingIsCountedAsTinyXmlWouldNest)
{
    const auto deep = [](int depth, const std::string& open, const std::string& close, const std::string& lead) {
        std::string text = lead;
        for (int i = 0; i < depth; ++i)
            text += open;
        for (int i = 0; i < depth; ++i)
            text += close;
        return text;
    };
    const std::string forms[][3] = {
        {"<a>", "</a>", ""},
        {"<a x='>' y=\"/>\"><![CDATA[<d>]]>text", "</a><e/><!-- <b><b> --><?pi <c> ?>", ""},
        {"<a\n>", "</a >", "</x></y></z>"}, // end tags before the root close nothing
        {"<_>", "</_>", "<!DOCTYPE x>"},
    };
    for (const auto& f : forms) {
        SCOPED_TRACE(f[0]);
        EXPECT_FALSE(dorne::xmlNestsDeeper(deep(256, f[0], f[1], f[2]), 256));
        EXPECT_TRUE(dorne::xmlNestsDeeper(deep(257, f[0], f[1], f[2]), 256));
        XmlDocument document;
        std::string text = deep(256, f[0], f[1], f[2]);
        EXPECT_TRUE(document.parse(text)) << document.errorText();
    }
    EXPECT_FALSE(dorne::xmlNestsDeeper("", 0));
    EXPECT_TRUE(dorne::xmlNestsDeeper("<a", 0)) << "a start tag counts before its end";
    EXPECT_FALSE(dorne::xmlNestsDeeper("<a/><a/><a/>", 1));
    EXPECT_TRUE(dorne::xmlNestsDeeper("< a><b>", 1)) << "anything that may be a tag counts";
    EXPECT_FALSE(dorne::xmlNestsDeeper("<!-- <a><a>", 1)) << "an unclosed comment ends the count";
}

} // namespace
