// The XML view file's document and element wrappers and their attribute
// codecs: every spelling each kind writes, what each reads back from good,
// malformed and missing values, the colour value type, the checked
// conversions into float and int fields, and who owns new elements.
#include "xml/XmlDocument.h"

#include "leakCheck.h"
#include "xmlSupport.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <unistd.h>
#include <vector>

using dorne::Color;
using dorne::Matrix2;
using dorne::XmlDocument;
using dorne::XmlElement;

namespace {

class XmlCodecs : public ::testing::Test
{
protected:
    void TearDown() override { expectNoLeaks(); }

    // An element holding one attribute "a" of that text.
    XmlElement with(const std::string& text)
    {
        XmlElement e("e");
        e.setAttributeString("a", text);
        return e;
    }

    // What the setter wrote.
    static std::string text(XmlElement& e) { return e.getAttributeString("a"); }
};

// How TinyXML prints a document.
std::string printed(XmlDocument& document)
{
    char* buffer = nullptr;
    size_t size = 0;
    FILE* memory = open_memstream(&buffer, &size);
    EXPECT_NE(memory, nullptr);
    EXPECT_TRUE(document.write(memory));
    std::fclose(memory);
    std::string out(buffer, size);
    std::free(buffer);
    return out;
}

TEST_F(XmlCodecs, Strings)
{
    XmlElement e("e");
    EXPECT_EQ(e.getAttributeString("a"), "") << "missing";
    e.setAttributeString("a", " spaced <&> \"text\" ");
    EXPECT_EQ(e.getAttributeString("a"), " spaced <&> \"text\" ");

    // Valid UTF-8 of characters XML allows is written as it is; other bytes
    // behind a U+FEFF, as is a valid text that begins with one: from 0x80 as
    // Latin-1 in UTF-8, the control characters XML forbids as U+2400 + byte,
    // tab and line ends as references.
    XmlDocument document;
    XmlElement texts("t");
    texts.setAttributeString("utf8", "Ma\xC3\x9F\t");
    texts.setAttributeString("latin1", "Ma\xDF");
    texts.setAttributeString("marked", "\xEF\xBB\xBFx");
    texts.setAttributeString("control", "a\x01" "b\x1f" "c\t\x7f");
    texts.setAttributeString("nonchar", "\xEF\xBF\xBE");
    document.appendElement(texts);
    EXPECT_EQ(printed(document),
              "<?xml version=\"1.0\" ?>\n<t utf8=\"Ma\xC3\x9F&#x09;\" latin1=\"\xEF\xBB\xBFMa\xC3\x9F\" "
              "marked=\"\xEF\xBB\xBF\xC3\xAF\xC2\xBB\xC2\xBFx\" "
              "control=\"\xEF\xBB\xBF" "a\xE2\x90\x81" "b\xE2\x90\x9F" "c&#x09;\x7f\" "
              "nonchar=\"\xEF\xBB\xBF\xC3\xAF\xC2\xBF\xC2\xBE\" />\n");
    EXPECT_EQ(texts.getAttributeString("latin1"), "Ma\xDF");
    EXPECT_EQ(texts.getAttributeString("marked"), "\xEF\xBB\xBFx");
    EXPECT_EQ(texts.getAttributeString("control"), "a\x01" "b\x1f" "c\t\x7f");
    EXPECT_EQ(texts.getAttributeString("nonchar"), "\xEF\xBF\xBE");

    // A marked text an older writer wrote with control characters as
    // references still reads as its bytes.
    std::string older = "<t a=\"\xEF\xBB\xBF" "a&#x01;\xC3\x9F\" />";
    XmlDocument read;
    ASSERT_TRUE(read.parse(older));
    EXPECT_EQ(read.root().getAttributeString("a"), "a\x01\xDF");
}

// Each text in an attribute: the document is well-formed XML 1.0, a
// conforming parser reads the value TinyXML reads (nothing left to its
// attribute-value normalisation), and the value decodes to the bytes.
TEST_F(XmlCodecs, EveryTextIsWellFormedXmlAndReadsBackAsItsBytes)
{
    for (const std::string& t : xmlsupport::hostileTexts()) {
        SCOPED_TRACE(testing::PrintToString(t));
        XmlDocument document;
        XmlElement e("e");
        e.setAttributeString("a", t);
        document.appendElement(e);
        std::string text = printed(document);
        const xmlsupport::ConformingRead conforming = xmlsupport::readConforming(text);
        EXPECT_EQ(conforming.error, "");
        XmlDocument back;
        ASSERT_TRUE(back.parse(text));
        const std::string* stored = back.root().data()->Attribute(std::string("a"));
        ASSERT_NE(stored, nullptr);
        if (conforming.error.empty()) {
            EXPECT_EQ(conforming.attributes, std::vector<std::string>{"e a=" + *stored});
        }
        EXPECT_EQ(back.root().getAttributeString("a"), t);
    }
}

TEST_F(XmlCodecs, IntegersReadWithStrtolBaseZeroCutTo32Bits)
{
    const struct
    {
        const char* text;
        int value;
    } cases[] = {{"42", 42},          {"-5", -5},        {"010", 8},          {"0x1f", 31},
                 {"0X1F", 31},        {"12abc", 12},     {"abc", 0},          {"", 0},
                 {" +7", 7},          {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
                 {"4294967297", 1},   {"0xffffffff", -1}, {"0x80000000", INT_MIN},
                 {"99999999999999999999", -1}, {"-99999999999999999999", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(with(c.text).getAttributeInt("a"), c.value) << c.text;
    XmlElement e("e");
    EXPECT_EQ(e.getAttributeInt("a"), 0) << "missing";
    for (int v : {0, 1, -1, 123456, INT_MAX, INT_MIN}) {
        e.setAttributeInt("a", v);
        EXPECT_EQ(text(e), std::to_string(v));
        EXPECT_EQ(e.getAttributeInt("a"), v);
    }
}

TEST_F(XmlCodecs, HexWordsAreLowerCaseWithoutLeadingZeros)
{
    const struct
    {
        int value;
        const char* text;
    } cases[] = {{0xf0f0, "0xf0f0"}, {0, "0x0"}, {0x0C0F, "0xc0f"}, {-1, "0xffffffff"}, {INT_MIN, "0x80000000"}};
    XmlElement e("e");
    for (const auto& c : cases) {
        e.setAttributeHex("a", c.value);
        EXPECT_EQ(text(e), c.text);
        EXPECT_EQ(e.getAttributeInt("a"), c.value) << "read through the int codec";
    }
}

TEST_F(XmlCodecs, DoublesKeepSixSignificantDigits)
{
    const struct
    {
        double value;
        const char* text;
    } cases[] = {{0.5, "0.5"},           {100.0, "100"}, {1234567.0, "1.23457e+06"}, {0.00001, "1e-05"},
                 {0.1234567, "0.123457"}, {-2.25, "-2.25"}, {0.0, "0"},               {1e300, "1e+300"}};
    XmlElement e("e");
    for (const auto& c : cases) {
        e.setAttributeDouble("a", c.value);
        EXPECT_EQ(text(e), c.text);
    }
    EXPECT_EQ(with("0.123457").getAttributeDouble("a"), 0.123457);
    EXPECT_EQ(with("-1.5e3").getAttributeDouble("a"), -1500.0);
    EXPECT_EQ(with("7.25xyz").getAttributeDouble("a"), 7.25);
    EXPECT_EQ(with("abc").getAttributeDouble("a"), 0.0);
    EXPECT_EQ(with("").getAttributeDouble("a"), 0.0);
    EXPECT_EQ(XmlElement("e").getAttributeDouble("a"), 0.0) << "missing";
    EXPECT_TRUE(std::isinf(with("inf").getAttributeDouble("a")));
    EXPECT_TRUE(std::isnan(with("nan").getAttributeDouble("a")));
}

TEST_F(XmlCodecs, SwitchesAreTrueOnlyForExactlyTrue)
{
    XmlElement e("e");
    e.setAttributeBool("a", true);
    EXPECT_EQ(text(e), "true");
    EXPECT_TRUE(e.getAttributeBool("a"));
    e.setAttributeBool("a", false);
    EXPECT_EQ(text(e), "false");
    EXPECT_FALSE(e.getAttributeBool("a"));
    for (const char* other : {"True", "TRUE", "1", "yes", "true ", ""})
        EXPECT_FALSE(with(other).getAttributeBool("a")) << other;
    EXPECT_FALSE(XmlElement("e").getAttributeBool("a")) << "missing";
}

TEST_F(XmlCodecs, ColoursAsHexPairsOrNone)
{
    XmlElement e("e");
    e.setAttributeColor("a", Color(1.0f, 0.0f, 0.0f, 0.5f));
    EXPECT_EQ(text(e), "#ff00007f");
    e.setAttributeColor("a", Color(0.25f, 0.5f, 1.0f));
    EXPECT_EQ(text(e), "#3f7fffff");
    e.setAttributeColor("a", Color(1.5f, -0.5f, 0.0f, 0.999f));
    EXPECT_EQ(text(e), "#17effffff8100fe") << "above 1: three digits; negative: the two's-complement word";
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    e.setAttributeColor("a", Color(nan, inf, -inf, 1e30f));
    EXPECT_EQ(text(e), "#0000007fffffff") << "not finite 0, beyond the int range its end";
    Color none(0.1f, 0.2f, 0.3f, 0.4f);
    none.setNone(true);
    e.setAttributeColor("a", none);
    EXPECT_EQ(text(e), "none");

    Color c = with("#ff000080").getAttributeColor("a");
    EXPECT_EQ(c.r(), 1.0f);
    EXPECT_EQ(c.g(), 0.0f);
    EXPECT_EQ(c.b(), 0.0f);
    EXPECT_EQ(c.a(), float(128 / 255.0));
    EXPECT_FALSE(c.none());
    c = with("#00ff00").getAttributeColor("a");
    EXPECT_EQ(c.g(), 1.0f);
    EXPECT_EQ(c.a(), 0.0f) << "no alpha pair";
    c = with("#ff00008").getAttributeColor("a");
    EXPECT_EQ(c.a(), float(8 / 255.0)) << "one digit left";
    c = with("x1a2b3c4d").getAttributeColor("a");
    EXPECT_EQ(c.r(), float(0x1a / 255.0)) << "the first character is not checked";
    EXPECT_EQ(c.a(), float(0x4d / 255.0));
    c = with("#zz00ff99").getAttributeColor("a");
    EXPECT_EQ(c.r(), 0.0f);
    EXPECT_EQ(c.b(), 1.0f);
    c = with("none").getAttributeColor("a");
    EXPECT_TRUE(c.none());
    EXPECT_EQ(c, Color());
    // Not of the format: as if missing.
    for (const char* missing : {"#fff", "", "None", "#12345"}) {
        c = with(missing).getAttributeColor("a");
        EXPECT_EQ(c, Color(1, 1, 1, 1)) << missing;
        EXPECT_FALSE(c.none()) << missing;
    }
    c = XmlElement("e").getAttributeColor("a");
    EXPECT_EQ(c, Color(1, 1, 1, 1));
    EXPECT_FALSE(c.none());

    // Components of 0 to 1 lose at most one step of 1/255.
    for (int i = 0; i <= 1000; ++i) {
        const float v = float(i) / 1000.0f;
        e.setAttributeColor("a", Color(v, 1.0f - v, v, v));
        const Color back = e.getAttributeColor("a");
        EXPECT_LE(v - back.r(), 1.0f / 255.0f + 1e-6f) << v;
        EXPECT_GE(v - back.r(), 0.0f) << v;
    }
}

TEST_F(XmlCodecs, ColourValue)
{
    Color c;
    EXPECT_EQ(c.r(), 1.0f);
    EXPECT_EQ(c.a(), 1.0f);
    EXPECT_FALSE(c.none());
    c.setRgba(0.1f, 0.2f, 0.3f, 0.4f);
    c.setRgb(0.5f, 0.6f, 0.7f);
    EXPECT_EQ(c.a(), 1.0f);
    c.setRed(0.25f);
    c.setGreen(0.35f);
    c.setBlue(0.45f);
    c.setAlpha(0.55f);
    EXPECT_EQ(c[0], 0.25f);
    EXPECT_EQ(c[1], 0.35f);
    EXPECT_EQ(c[2], 0.45f);
    EXPECT_EQ(c[3], 0.55f);
    EXPECT_EQ(c[4], 0.25f) << "any other index gives red";
    EXPECT_EQ(c[-1], 0.25f);
    c[-7] = 0.75f;
    EXPECT_EQ(c.r(), 0.75f);
    c.setNone(true);
    EXPECT_TRUE(c.none());
    EXPECT_EQ(c.g(), 0.35f) << "the components stay";
    const Color four(0.1f, 0.2f, 0.3f, 0.4f);
    EXPECT_EQ(four.a(), 0.4f);
    EXPECT_FALSE(four.none());
    EXPECT_TRUE(four == Color(0.1009f, 0.2f, 0.3f, 0.4f));
    EXPECT_TRUE(four != Color(0.1f, 0.2f, 0.3f, 0.4015f));
    Color flagged = four;
    flagged.setNone(true);
    EXPECT_TRUE(flagged == four) << "the none flag takes no part";
}

TEST_F(XmlCodecs, MatricesAsSixNumbers)
{
    XmlElement e("e");
    Matrix2<double> m;
    m.set(0, 0, 2);
    m.set(1, 0, 0.5);
    m.set(0, 1, -1);
    m.set(1, 1, 3);
    m.set(0, 2, 10);
    m.set(1, 2, 20.125);
    e.setAttributeMatrix("a", m);
    EXPECT_EQ(text(e), "2.000000 0.500000 -1.000000 3.000000 10.000000 20.125000");
    const Matrix2<double> back = e.getAttributeMatrix("a");
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(back.get(r, c), m.get(r, c)) << r << c;

    // 2 0 0 3 10 20: x' = 2x + 10, y' = 3y + 20.
    const Matrix2<double> t = with("2 0 0 3 10 20").getAttributeMatrix("a");
    const auto p = t * dorne::Vector2<double>(1, 1);
    EXPECT_EQ(p.x(), 12.0);
    EXPECT_EQ(p.y(), 23.0);
    const Matrix2<double> cut = with("2 0").getAttributeMatrix("a");
    const double expected[3][3] = {{2, 0, 0}, {0, 0, 0}, {0, 0, 1}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(cut.get(r, c), expected[r][c]) << r << c;
    const Matrix2<double> junk = with("junk").getAttributeMatrix("a");
    EXPECT_EQ(junk.get(0, 0), 0.0);
    EXPECT_EQ(junk.get(2, 2), 1.0);
    const Matrix2<double> missing = XmlElement("e").getAttributeMatrix("a");
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(missing.get(r, c), r == c ? 1.0 : 0.0);

    // Large values are written whole.
    m.set(0, 0, 1e300);
    e.setAttributeMatrix("a", m);
    EXPECT_EQ(e.getAttributeMatrix("a").get(0, 0), 1e300);
}

TEST_F(XmlCodecs, PositionKeywords)
{
    const char* keywords[] = {"leftUpper",  "centerUpper", "rightUpper", "rightCenter", "rightLower",
                              "centerLower", "leftLower",  "leftCenter", "center"};
    XmlElement e("e");
    for (int code = 1; code <= 9; ++code) {
        e.setAttributePosition("a", code);
        EXPECT_EQ(text(e), keywords[code - 1]);
        EXPECT_EQ(e.getAttributePosition("a"), code);
    }
    for (int code : {0, 10, -1, INT_MIN}) {
        e.setAttributePosition("a", code);
        EXPECT_EQ(text(e), "center") << code;
        EXPECT_EQ(e.getAttributePosition("a"), 9);
    }
    for (const char* other : {"LeftUpper", "left", "", "centre"})
        EXPECT_EQ(with(other).getAttributePosition("a"), 9) << other;
    EXPECT_EQ(XmlElement("e").getAttributePosition("a"), 9) << "missing";
}

TEST_F(XmlCodecs, CheckedConversions)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(dorne::checkedFloat(nan), 0.0f);
    EXPECT_EQ(dorne::checkedFloat(inf), 0.0f);
    EXPECT_EQ(dorne::checkedFloat(-inf), 0.0f);
    EXPECT_EQ(dorne::checkedFloat(1e300), FLT_MAX);
    EXPECT_EQ(dorne::checkedFloat(-1e300), -FLT_MAX);
    EXPECT_EQ(dorne::checkedFloat(1.5), 1.5f);
    EXPECT_EQ(dorne::checkedInt(nan), 0);
    EXPECT_EQ(dorne::checkedInt(inf), 0);
    EXPECT_EQ(dorne::checkedInt(3e9), INT_MAX);
    EXPECT_EQ(dorne::checkedInt(-3e9), INT_MIN);
    EXPECT_EQ(dorne::checkedInt(2.7), 2);
    EXPECT_EQ(dorne::checkedInt(-2.7), -2);
}

TEST_F(XmlCodecs, AttributesKeepThePlaceTheyWereFirstSetAt)
{
    XmlDocument document;
    XmlElement e("e");
    e.setAttributeInt("b", 1);
    e.setAttributeString("a", "x");
    e.setAttributeInt("b", 2);
    e.setAttributeBool("c", true);
    document.appendElement(e);
    EXPECT_EQ(printed(document), "<?xml version=\"1.0\" ?>\n<e b=\"2\" a=\"x\" c=\"true\" />\n");
}

TEST_F(XmlCodecs, DocumentTreeAndIteration)
{
    XmlDocument empty;
    EXPECT_EQ(printed(empty), "<?xml version=\"1.0\" ?>\n") << "the declaration only";
    EXPECT_FALSE(empty.root().valid());

    XmlDocument document;
    XmlElement root("root");
    document.appendElement(root);
    for (const char* name : {"one", "two", "three"}) {
        XmlElement child(name);
        root.appendElement(child);
    }
    XmlElement copy = root;
    XmlElement last("four");
    copy.appendElement(last);
    XmlElement leaf("leaf");
    last.appendElement(leaf);
    EXPECT_EQ(printed(document), "<?xml version=\"1.0\" ?>\n<root>\n    <one />\n    <two />\n    <three />\n"
                                 "    <four>\n        <leaf />\n    </four>\n</root>\n");

    XmlElement r = document.root();
    ASSERT_TRUE(r.valid());
    EXPECT_EQ(r.name(), "root");
    EXPECT_EQ(r.data(), root.data()) << "copies refer to the same node";
    std::vector<std::string> names;
    for (XmlElement c = r.firstElement(); c.valid(); c = c.nextElement())
        names.push_back(c.name());
    EXPECT_EQ(names, (std::vector<std::string>{"one", "two", "three", "four"}));
    EXPECT_FALSE(r.firstElement().firstElement().valid()) << "no children";
    EXPECT_FALSE(XmlElement(nullptr).valid());

    // Written to a file and read back whole.
    char folder[] = "/tmp/dorneXmlXXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string file = std::string(folder) + "/d.xml";
    EXPECT_TRUE(document.write(file));
    XmlDocument read;
    EXPECT_TRUE(read.read(file));
    EXPECT_EQ(printed(read), printed(document));
    EXPECT_FALSE(read.read(file + ".missing"));
    std::remove(file.c_str());
    rmdir(folder);

    // Text parsed as a file is, CR LF made LF; errors say where.
    std::string text = "<?xml version=\"1.0\" ?>\r\n<a\r\nx=\"1\">\r<b/></a>";
    XmlDocument parsed;
    ASSERT_TRUE(parsed.parse(text));
    EXPECT_EQ(parsed.root().getAttributeInt("x"), 1);
    EXPECT_EQ(parsed.root().firstElement().name(), "b");
    std::string bad = "<a>\n<b></a>";
    EXPECT_FALSE(parsed.parse(bad));
    EXPECT_EQ(parsed.errorText(), "Error reading end tag. at line 2, column 4");
    ASSERT_TRUE(parsed.root().valid()) << "what was read up to the error";
    EXPECT_EQ(parsed.root().getAttributeString("x"), "") << "what the document held before is dropped";
}

TEST_F(XmlCodecs, NewElementsThatAreNeverAppendedAreFreed)
{
    {
        XmlElement lone("lone");
        lone.setAttributeString("a", std::string(1000, 'x'));
        XmlElement copy = lone;
        XmlElement child("child");
        copy.appendElement(child); // the child goes with its parent
    }
    // An appended element outlives its wrappers with the document, and the
    // document may go before the wrappers.
    XmlElement survivor("kept");
    {
        XmlDocument document;
        document.appendElement(survivor);
    }
    expectNoLeaks();
}

} // namespace
