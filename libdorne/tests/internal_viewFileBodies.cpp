// The GRAPH, TEXT and TEXTURE bodies of the binary view file, written to and
// read from temporary files in the offscreen context, where the font library
// makes real fonts: the bytes of every field, the graph's label font with the
// font objects' reference counts, texture pixels, and the refusals (nothing
// registered, nothing left behind once the element is deleted).
#include "files/viewFileBodies.h"

#include "fontSupport.h"
#include "leakCheck.h"
#include "viewFileSupport.h"

#include "dorneFiles.h"
#include "dorneLog.h"
#include "dorneTextures.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using viewfile::Bytes;
using viewfile::readBytes;
using dorne::ViewReader;

// File contents field by field, with four floats and ready bytes.
struct Builder : viewfile::FieldBuilder<Builder>
{
    Builder& f4(const float (&v)[4]) { return f(v[0]).f(v[1]).f(v[2]).f(v[3]); }
    Builder& raw(const Bytes& bytes)
    {
        b.insert(b.end(), bytes.begin(), bytes.end());
        return *this;
    }
};

// One element, deleted with everything its record holds.
struct Element
{
    explicit Element(int kind) : e(elementCreate(kind)) {}
    ~Element() { elementDeleteAll(&e); }
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;
    template <typename T>
    T& record() const
    {
        return *static_cast<T*>(e->data);
    }
    ELEMENT_STRUCT* e;
};

using Reader = bool (*)(ViewReader&, ELEMENT_STRUCT*);
using Writer = bool (*)(FILE*, const ELEMENT_STRUCT*);

std::string takeLog()
{
    std::vector<char> text(16384);
    getLogMsg(text.data(), int(text.size()));
    return text.data();
}

Bytes written(Writer write, const Element& element)
{
    FILE* file = std::tmpfile();
    EXPECT_NE(file, nullptr);
    EXPECT_TRUE(write(file, element.e));
    Bytes bytes(size_t(std::ftell(file)));
    std::rewind(file);
    EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
    return bytes;
}

// What a body read made of the bytes.
struct Outcome
{
    bool ok;
    int64_t left; // bytes behind the body
    std::string log;
};

Outcome readInto(Reader read, const Element& element, const Bytes& bytes, int version = 303)
{
    FILE* file = std::tmpfile();
    EXPECT_NE(file, nullptr);
    EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::rewind(file);
    takeLog();
    Outcome out{};
    {
        ViewReader in(file, "loadFile", "bodies.v", int64_t(bytes.size()));
        in.version = version;
        out.ok = read(in, element.e);
        out.left = in.remaining();
    }
    out.log = takeLog();
    std::fclose(file);
    return out;
}

// References that handles hold on font objects: of one family, style and
// size, or (family null) of all.
int references(const char* family = nullptr, int style = 0, int size = 0)
{
    int n = 0;
    for (const FNT_DATA_STRUCT* node = FNT_LIBRARY_STRUCT.fonts.child; node != nullptr; node = node->next) {
        const auto* f = static_cast<const FNT_FONT*>(node->data);
        if (family == nullptr || (std::string(f->family) == family && f->style == style && f->size == size))
            n += f->refCount;
    }
    return n;
}

// A family with bytes behind its terminator, which the writer must not carry.
template <size_t N>
void setWithTail(char (&field)[N], const char* text)
{
    std::memset(field, 'Z', N);
    std::memcpy(field, text, std::strlen(text) + 1);
}

class ViewFileBodies : public FontLeakTest
{
};

// ---- GRAPH ------------------------------------------------------------------------

// A graph body with a value of its own in every field.
Bytes graphBytes(const char* family, int style, int size, Element* into = nullptr)
{
    Element element(VD_GRAPH);
    GRAPH_STRUCT& g = element.record<GRAPH_STRUCT>();
    float v = 0.5f;
    int n = 100;
    for (float* f : {&g.x, &g.y, &g.width, &g.height, &g.ymin, &g.ymax, &g.xmin, &g.xmax, &g.rate, &g.minSpreadY,
                     &g.minSpreadX, &g.outlineWidth, &g.gridXSpace, &g.gridYSpace, &g.gridXRef, &g.gridYRef,
                     &g.tickXSpace, &g.tickYSpace, &g.tickXRef, &g.tickYRef, &g.tickWidth, &g.labelXMin,
                     &g.labelXMax, &g.labelYMin, &g.labelYMax})
        *f = v += 1.25f;
    for (float* c : {g.outlineColor, g.backgroundColor, g.gridColor})
        for (int k = 0; k < 4; ++k)
            c[k] = v += 0.015625f;
    for (int32_t* i : {&g.type, &g.autoscale, &g.autoscaleX, &g.samples, &g.bars, &g.gridX, &g.gridY, &g.gridXAuto,
                       &g.gridYAuto, &g.gridStyleIndex, &g.labelX, &g.labelY, &g.labelYR, &g.tickX, &g.tickY,
                       &g.tickYR, &g.tickXAuto, &g.tickYAuto, &g.tickXSub, &g.tickYSub, &g.labelFixX, &g.labelFixY})
        *i = ++n;
    setWithTail(g.family, family);
    g.style = style;
    g.size = size;
    const Bytes bytes = written(dorne::writeGraphBody, element);
    if (into != nullptr)
        std::swap(into->e, element.e);
    return bytes;
}

TEST_F(ViewFileBodies, GraphBodyKeepsEveryFieldByteForByte)
{
    Element source(VD_GRAPH);
    const Bytes bytes = graphBytes("Helvetica [fixed]", 2, 12, &source);
    const GRAPH_STRUCT& g = source.record<GRAPH_STRUCT>();
    Builder expected;
    expected.i(g.type).f(g.x).f(g.y).f(g.width).f(g.height).f(g.ymin).f(g.ymax).f(g.xmin).f(g.xmax).f(g.rate);
    expected.i(g.autoscale).f(g.minSpreadY).i(g.autoscaleX).f(g.minSpreadX).i(g.samples).i(g.bars);
    expected.f4(g.outlineColor).f4(g.backgroundColor).f(g.outlineWidth);
    expected.i(g.gridX).i(g.gridY).i(g.gridXAuto).i(g.gridYAuto);
    expected.f(g.gridXSpace).f(g.gridYSpace).f(g.gridXRef).f(g.gridYRef).i(g.gridStyleIndex).f4(g.gridColor);
    expected.i(g.labelX).i(g.labelY).i(g.labelYR).i(g.tickX).i(g.tickY).i(g.tickYR).i(g.tickXAuto).i(g.tickYAuto);
    expected.f(g.tickXSpace).f(g.tickYSpace).f(g.tickXRef).f(g.tickYRef).i(g.tickXSub).i(g.tickYSub);
    expected.f(g.tickWidth).i(7).text("Helvetica [fixed]", 64).i(2).i(12);
    expected.i(g.labelFixX).i(g.labelFixY).f(g.labelXMin).f(g.labelXMax).f(g.labelYMin).f(g.labelYMax);
    expected.i(0).i(0).i(0).i(0);
    ASSERT_EQ(bytes.size(), 328u);
    EXPECT_EQ(bytes, expected.b);

    Element read(VD_GRAPH);
    const Outcome out = readInto(dorne::readGraphBody, read, bytes);
    ASSERT_TRUE(out.ok) << out.log;
    EXPECT_EQ(out.left, 0);
    const GRAPH_STRUCT& r = read.record<GRAPH_STRUCT>();
    EXPECT_EQ(r.gridStyleIndex, g.gridStyleIndex);
    EXPECT_EQ(r.gridStyle, 0) << "the stroke definition id is no field of the file";
    EXPECT_STREQ(r.family, "Helvetica [fixed]");
    EXPECT_EQ(written(dorne::writeGraphBody, read), bytes);
}

TEST_F(ViewFileBodies, GraphLabelFontIsTheFilesOrTheFallbackAndReplacesTheCreationFont)
{
    const struct
    {
        const char* family;
        int style, size;
        bool kept;
    } cases[] = {
        {"Helvetica [fixed]", 0, 40, true},   {"Helvetica [fixed]", 8, 12, true},
        {"Helvetica [fixed]", 4, 1, true},    {"Helvetica [fixed]", 1, 10, true}, // the creation font's own
        {"Helvetica [fixed]", 1, 48, false},  {"Helvetica [fixed]", 1, 41, false},
        {"Helvetica [fixed]", 1, 0, false},   {"Helvetica [fixed]", 5, 12, false},
        {"Helvetica [fixed]", 7, 12, false},  {"Helvetica [fixed]", -1, 12, false},
        {"", 1, 12, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.family) + " " + std::to_string(c.style) + " " + std::to_string(c.size));
        const Bytes bytes = graphBytes(c.family, c.style, c.size);
        ASSERT_EQ(references(), 0);
        Element graph(VD_GRAPH);
        ASSERT_EQ(references("Helvetica [fixed]", 1, 10), 1) << "made by the graph's creation";
        const Outcome out = readInto(dorne::readGraphBody, graph, bytes);
        ASSERT_TRUE(out.ok) << out.log;
        const GRAPH_STRUCT& g = graph.record<GRAPH_STRUCT>();
        const std::string family = c.kept ? c.family : "Courier [fixed]";
        const int style = c.kept ? c.style : 1, size = c.kept ? c.size : 12;
        EXPECT_EQ(g.family, family);
        EXPECT_EQ(g.style, style);
        EXPECT_EQ(g.size, size);
        ASSERT_NE(g.font, nullptr);
        EXPECT_GE(ftFontScalable(reinterpret_cast<intptr_t>(g.font)), 0) << "a live handle";
        EXPECT_EQ(references(family.c_str(), style, size), 1);
        EXPECT_EQ(references(), 1) << "the creation font is released";
    }
}

TEST_F(ViewFileBodies, ARefusedGraphLeavesItsFontToTheElement)
{
    const Bytes bytes = graphBytes("Courier [fixed]", 2, 14);
    Element graph(VD_GRAPH);
    const Outcome out = readInto(dorne::readGraphBody, graph, Bytes(bytes.begin(), bytes.end() - 1));
    EXPECT_FALSE(out.ok);
    EXPECT_NE(out.log.find("loadFile: bodies.v: unexpected end of file in a GRAPH record"), std::string::npos)
        << out.log;
    EXPECT_EQ(references("Courier [fixed]", 2, 14), 1) << "made before the cut";
    elementDeleteAll(&graph.e);
    EXPECT_EQ(references(), 0);
}

// ---- TEXT -------------------------------------------------------------------------

Bytes textBytes(const char* text, Element& element)
{
    TEXT_STRUCT& t = element.record<TEXT_STRUCT>();
    const float values[] = {11.5f, -22.25f, 0.125f, 0.25f, 0.375f, 0.5f, 1.5f, 0.75f, -0.5f, 2.0f};
    t.x = values[0];
    t.y = values[1];
    std::memcpy(t.color, values + 2, sizeof t.color);
    std::memcpy(t.matrix, values + 6, sizeof t.matrix);
    t.align = 3;
    setWithTail(t.family, "Arial");
    t.style = 2;
    t.underline = 5;
    t.size = 34;
    t.displaySize = 41;
    t.pattern = 12;
    setWithTail(t.text, text);
    return written(dorne::writeTextBody, element);
}

TEST_F(ViewFileBodies, TextBodyKeepsEveryFieldByteForByte)
{
    for (const char* text : {"Hello, view", ""}) {
        SCOPED_TRACE(text);
        Element source(VD_TEXT);
        const Bytes bytes = textBytes(text, source);
        const TEXT_STRUCT& t = source.record<TEXT_STRUCT>();
        Builder expected;
        expected.f(t.x).f(t.y).f4(t.color).i(3).f4(t.matrix).text("Arial", 64).i(2).i(5).i(34).i(41).i(12);
        expected.i(0).i(0).i(0).i(0).i(0).i(int32_t(std::strlen(text))).text(text, std::strlen(text) + 1);
        EXPECT_EQ(bytes, expected.b);

        for (const int version : {303, 302, 301}) {
            Element read(VD_TEXT_LEGACY);
            const Outcome out = readInto(dorne::readTextBody, read, bytes, version);
            ASSERT_TRUE(out.ok) << out.log;
            EXPECT_EQ(out.left, 0);
            const TEXT_STRUCT& r = read.record<TEXT_STRUCT>();
            EXPECT_EQ(read.e->kind, VD_TEXT);
            EXPECT_EQ(std::memcmp(r.text, std::string(text).c_str(), std::strlen(text) + 1), 0);
            EXPECT_EQ(r.text[std::strlen(text) + 1], '\0') << "nothing of the template stays behind";
            ASSERT_NE(r.font, nullptr);
            EXPECT_EQ(r.scalable, 1) << "Arial is an outline font";
            EXPECT_EQ(r.lineWidth, 1.0f) << "not stored: a new text's";
            if (version == 301) {
                EXPECT_EQ(r.pattern, 0) << "3.01 stores a pattern it does not keep";
            } else {
                EXPECT_EQ(written(dorne::writeTextBody, read), bytes);
            }
        }
    }
}

TEST_F(ViewFileBodies, TextKeepsTheScalableFlagOfItsNewFont)
{
    Element source(VD_TEXT);
    Bytes bytes = textBytes("fixed", source);
    std::memset(bytes.data() + 44, 0, 64);
    std::memcpy(bytes.data() + 44, "Courier [fixed]", 15);
    Element read(VD_TEXT);
    read.record<TEXT_STRUCT>().scalable = 1;
    const Outcome out = readInto(dorne::readTextBody, read, bytes);
    ASSERT_TRUE(out.ok) << out.log;
    EXPECT_EQ(read.record<TEXT_STRUCT>().scalable, 0) << "a bitmap strike";
    EXPECT_EQ(references("Courier [fixed]", 2, 34), 1);
}

TEST_F(ViewFileBodies, TextLengthsOutsideTheTextAreRefused)
{
    Element source(VD_TEXT);
    const Bytes body = textBytes("", source);
    const Bytes head(body.begin(), body.end() - 5); // up to the length
    const struct
    {
        int32_t length;
        size_t bytesAfter;
        const char* message;
    } cases[] = {
        {-1, 300, "length -1 out of range"},
        {256, 300, "length 256 out of range"},
        {INT32_MIN, 300, "out of range"},
        {10, 10, "unexpected end of file in a TEXT record"}, // the terminator is missing
        {10, 5, "runs past the end of the file"},
        {255, 256, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        Bytes bytes = Builder().raw(head).i(c.length).b;
        bytes.resize(bytes.size() + c.bytesAfter, 'a');
        bytes.back() = 0;
        Element read(VD_TEXT);
        const Outcome out = readInto(dorne::readTextBody, read, bytes);
        EXPECT_EQ(out.ok, c.message == nullptr) << out.log;
        if (c.message != nullptr) {
            EXPECT_NE(out.log.find(c.message), std::string::npos) << out.log;
            EXPECT_EQ(read.record<TEXT_STRUCT>().font, nullptr) << "no font for a refused text";
        } else {
            EXPECT_EQ(std::strlen(read.record<TEXT_STRUCT>().text), 255u);
        }
    }
}

// ---- TEXTURE ----------------------------------------------------------------------

// The fields of a texture body before its pixels.
Builder textureFields(const IMAGE_STRUCT& i, int width, int height)
{
    Builder b;
    for (int k = 0; k < 4; ++k)
        b.f(i.cornerX[k]).f(i.cornerY[k]);
    b.f4(i.color).i(0).text("", 128).i(0).i(width).i(height).i(i.pattern).i(0).i(0).i(0);
    return b;
}

void setTexture(IMAGE_STRUCT& i)
{
    for (int k = 0; k < 4; ++k) {
        i.cornerX[k] = 10.0f * float(k) + 1;
        i.cornerY[k] = -5.0f * float(k) - 2;
    }
    const float colour[4] = {0.25f, 0.5f, 0.75f, 0.875f};
    std::memcpy(i.color, colour, sizeof colour);
    i.pattern = 17;
}

TEST_F(ViewFileBodies, TexturePixelsComeWithTheRegisteredImagesSize)
{
    Bytes pixels(24);
    for (size_t k = 0; k < pixels.size(); ++k)
        pixels[k] = static_cast<unsigned char>(7 * k + 3);
    Element source(VD_TEXTURE);
    IMAGE_STRUCT& s = source.record<IMAGE_STRUCT>();
    setTexture(s);
    s.texture = txCreate(2, 3, pixels.data());
    ASSERT_GT(s.texture, 0);
    s.pixelWidth = s.pixelHeight = 9; // the record's size is not the image's
    const Bytes bytes = written(dorne::writeTextureBody, source);
    EXPECT_EQ(bytes, textureFields(s, 2, 3).raw(pixels).b);
    ASSERT_EQ(bytes.size(), 208u + 24u);

    for (const int version : {303, 301}) {
        Element read(VD_TEXTURE);
        const Outcome out = readInto(dorne::readTextureBody, read, bytes, version);
        ASSERT_TRUE(out.ok) << out.log;
        const IMAGE_STRUCT& r = read.record<IMAGE_STRUCT>();
        EXPECT_EQ(r.pixelWidth, 2);
        EXPECT_EQ(r.pixelHeight, 3);
        ASSERT_GT(r.texture, s.texture);
        ASSERT_NE(txData(r.texture), nullptr);
        EXPECT_EQ(Bytes(txData(r.texture), txData(r.texture) + 24), pixels);
        EXPECT_EQ(r.pattern, version == 301 ? 0 : 17);
        if (version == 303) {
            EXPECT_EQ(written(dorne::writeTextureBody, read), bytes);
        }
    }

    // Without pixels: 0 x 0 and nothing behind the fields.
    Element empty(VD_TEXTURE);
    IMAGE_STRUCT& e = empty.record<IMAGE_STRUCT>();
    setTexture(e);
    e.pixelWidth = 4;
    e.pixelHeight = 4;
    const Bytes none = written(dorne::writeTextureBody, empty);
    EXPECT_EQ(none, textureFields(e, 0, 0).b);
    const int before = txCreate(1, 1, pixels.data());
    for (const auto& size : {std::pair(0, 0), std::pair(0, 5), std::pair(5, 0)}) {
        Element read(VD_TEXTURE);
        const Outcome out = readInto(dorne::readTextureBody, read,
                                     textureFields(e, size.first, size.second).i(20).b);
        ASSERT_TRUE(out.ok) << out.log;
        EXPECT_EQ(out.left, 4) << "the next record follows the fields";
        EXPECT_EQ(read.record<IMAGE_STRUCT>().texture, 0);
    }
    EXPECT_EQ(txCreate(1, 1, pixels.data()), before + 1) << "nothing registered";
    txDelete(before);
    txDelete(before + 1);
}

TEST_F(ViewFileBodies, TextureSizesThatCannotBeAreRefusedBeforeAnyAllocation)
{
    IMAGE_STRUCT fields{};
    const unsigned char pixel[4] = {1, 2, 3, 4};
    const struct
    {
        int32_t width, height;
        size_t bytesAfter;
        const char* message;
    } cases[] = {
        {100000, 100000, 64, "TEXTURE of 100000 x 100000 pixels runs past the end of the file"},
        {65536, 16384, 64, "runs past the end of the file"}, // 2^32 bytes: 0 in 32 bits
        {INT32_MAX, INT32_MAX, 64, "runs past the end of the file"},
        {-1, 2, 64, "TEXTURE size -1 x 2 out of range"},
        {2, -3, 64, "TEXTURE size 2 x -3 out of range"},
        {2, 3, 23, "runs past the end of the file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        Bytes bytes = textureFields(fields, c.width, c.height).b;
        bytes.resize(bytes.size() + c.bytesAfter);
        const int before = txCreate(1, 1, pixel);
        Element read(VD_TEXTURE);
        const Outcome out = readInto(dorne::readTextureBody, read, bytes);
        EXPECT_FALSE(out.ok);
        EXPECT_NE(out.log.find(c.message), std::string::npos) << out.log;
        EXPECT_EQ(read.record<IMAGE_STRUCT>().texture, 0);
        EXPECT_EQ(txCreate(1, 1, pixel), before + 1) << "nothing registered";
        txDelete(before);
        txDelete(before + 1);
    }
}

// ---- Through the view file ----------------------------------------------------------


TEST_F(ViewFileBodies, AViewOfTheseKindsSavesAndLoadsAlike)
{
    ELEMENT_STRUCT* view = nullptr;
    Element graph(VD_GRAPH), text(VD_TEXT), image(VD_TEXTURE), empty(VD_TEXTURE);
    graphBytes("Helvetica [fixed]", 8, 12, &graph);
    textBytes("", text);
    const Bytes pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
    setTexture(image.record<IMAGE_STRUCT>());
    image.record<IMAGE_STRUCT>().texture = txCreate(3, 2, pixels.data());
    setTexture(empty.record<IMAGE_STRUCT>());
    for (Element* e : {&graph, &text, &image, &empty}) {
        elementAppend(e->e, &view);
        e->e = nullptr;
    }
    CONFIG_STRUCT config{};
    config.width = 800;
    config.height = 600;
    const std::string first = mFolder.file("first.v"), second = mFolder.file("second.v");
    ASSERT_EQ(saveFile(first.c_str(), view, nullptr, &config), 0);

    ELEMENT_STRUCT* loaded = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT read{};
    ASSERT_EQ(loadFile(first.c_str(), &loaded, &sources, &read), 0) << takeLog();
    std::vector<ELEMENT_STRUCT*> elements;
    for (ELEMENT_STRUCT* e = loaded; e != nullptr; e = e->next)
        elements.push_back(e);
    ASSERT_EQ(elements.size(), 4u);
    const auto& g = *static_cast<GRAPH_STRUCT*>(elements[0]->data);
    EXPECT_EQ(g.style, 8);
    EXPECT_EQ(references("Helvetica [fixed]", 8, 12), 1) << "the loaded graph's; the saved one kept its own";
    EXPECT_STREQ(static_cast<TEXT_STRUCT*>(elements[1]->data)->text, "");
    const auto& i = *static_cast<IMAGE_STRUCT*>(elements[2]->data);
    ASSERT_NE(txData(i.texture), nullptr);
    EXPECT_EQ(Bytes(txData(i.texture), txData(i.texture) + 24), pixels);
    EXPECT_EQ(static_cast<IMAGE_STRUCT*>(elements[3]->data)->texture, 0);

    ASSERT_EQ(saveFile(second.c_str(), loaded, sources, &read), 0);
    EXPECT_EQ(readBytes(second), readBytes(first));
    elementDeleteAll(&loaded);
    elementDeleteAll(&view);
    EXPECT_EQ(references(), 0);
}

} // namespace
