#include "Api.h"
#include "ByteOrder.h"
#include "Directory.h"
#include "TestSupport.h"
#include "XmlHandler.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using testsupport::TempDir;

namespace {

QDomNamedNodeMap attrsOf(QDomDocument& doc, const QString& xml)
{
    doc.setContent(xml);
    return doc.documentElement().attributes();
}

} // namespace

TEST(XmlHandlerTest, IntAttributesReadWithBaseZero)
{
    KAVO::XmlHandler x;
    QDomDocument doc;
    const QDomNamedNodeMap a =
        attrsOf(doc, "<r hex=\"0x7FF\" oct=\"010\" dec=\"42\" neg=\"-5\" empty=\"\" text=\"abc\" bad=\"0x\"/>");
    EXPECT_EQ(x.xmlGetIntAttribute(a, "hex", -1), 2047);
    EXPECT_EQ(x.xmlGetIntAttribute(a, "oct", -1), 8);
    EXPECT_EQ(x.xmlGetIntAttribute(a, "dec", -1), 42);
    EXPECT_EQ(x.xmlGetIntAttribute(a, "neg", -1), -5);
    EXPECT_EQ(x.xmlGetIntAttribute(a, "empty", -1), -1);
    EXPECT_EQ(x.xmlGetIntAttribute(a, "absent", -1), -1);
    EXPECT_EQ(x.xmlGetIntAttribute(a, "text", -1), 0);
    EXPECT_EQ(x.xmlGetIntAttribute(a, "bad", -1), 0);
}

TEST(XmlHandlerTest, OtherAttributeGetters)
{
    KAVO::XmlHandler x;
    QDomDocument doc;
    const QDomNamedNodeMap a = attrsOf(doc, "<r d=\"2.5\" e=\"\" t=\"x\" b1=\"true\" b2=\"1\" b3=\"TRUE\" s=\"\"/>");
    EXPECT_DOUBLE_EQ(x.xmlGetDoubleAttribute(a, "d", 0), 2.5);
    EXPECT_DOUBLE_EQ(x.xmlGetDoubleAttribute(a, "e", 7), 7);
    EXPECT_DOUBLE_EQ(x.xmlGetDoubleAttribute(a, "t", 7), 0);
    EXPECT_TRUE(x.xmlGetBoolAttribute(a, "b1", false));
    EXPECT_TRUE(x.xmlGetBoolAttribute(a, "b2", false));
    EXPECT_FALSE(x.xmlGetBoolAttribute(a, "b3", true));
    EXPECT_TRUE(x.xmlGetBoolAttribute(a, "absent", true));
    EXPECT_EQ(x.xmlGetStringAttribute(a, "s", "def"), "");
    EXPECT_EQ(x.xmlGetStringAttribute(a, "absent", "def"), "def");
    EXPECT_EQ(x.xmlGetStdStringAttribute(a, "t", "def"), "x");
}

TEST(XmlHandlerTest, NumbersAreFormattedWithPointAndWrittenFilesRoundTrip)
{
    KAVO::XmlHandler x;
    QDomDocument doc;
    QDomElement root = x.xmlCreateElement(doc, doc, "KavoOffset");
    QDomElement e = x.xmlCreateElement(doc, root, "Offset");
    x.xmlCreateAttribute(doc, e, "value", -1.5);
    x.xmlCreateAttribute(doc, e, "i", 12);
    x.xmlCreateAttribute(doc, e, "l", -7L);
    x.xmlCreateAttribute(doc, e, "s", "text");
    x.xmlCreateTextElement(doc, e, "body");
    EXPECT_EQ(e.attribute("value"), "-1.500000000000");
    EXPECT_EQ(e.attribute("i"), "12");
    EXPECT_EQ(e.attribute("l"), "-7");

    TempDir dir;
    ASSERT_TRUE(x.xmlWriteFile(doc, dir.path(), "Offset.xml"));
    QDomDocument back;
    ASSERT_TRUE(x.xmlReadFile(back, dir.path(), "Offset.xml"));
    EXPECT_EQ(back.documentElement().firstChildElement("Offset").text(), "body");
    EXPECT_FALSE(x.xmlWriteFile(doc, dir.file("no/such/folder.xml")));
    QDomDocument none;
    EXPECT_FALSE(x.xmlReadFile(none, dir.path(), "absent.xml"));
}

TEST(DirectoryTest, CreatesMissingLevelsAndTellsFoldersFromFiles)
{
    TempDir dir;
    const std::string deep = dir.str() + "/a/b/c/";
    EXPECT_FALSE(Directory::exists(deep));
    EXPECT_TRUE(Directory::createDirectoryRecursive(deep));
    EXPECT_TRUE(Directory::exists(dir.str() + "/a/b/c"));
    EXPECT_TRUE(Directory::createDirectoryRecursive(deep)); // existing: still true
    EXPECT_FALSE(Directory::createDirectoryRecursive(""));
    EXPECT_FALSE(Directory::exists(""));

    testsupport::writeFile(dir.file("plain.txt"), "x");
    EXPECT_FALSE(Directory::exists(dir.fileStr("plain.txt")));
    // A level that is a file cannot become a folder.
    EXPECT_FALSE(Directory::createDirectoryRecursive(dir.fileStr("plain.txt/sub")));

    EXPECT_EQ(Directory::extractPathFomFile(dir.str()), dir.str());
    EXPECT_EQ(Directory::extractPathFomFile(dir.fileStr("plain.txt")), dir.str());
    EXPECT_EQ(Directory::extractPathFomFile("noslash"), "");
}

TEST(DirectoryTest, ListsEntriesFlatOrDescending)
{
    TempDir dir;
    QDir(dir.path()).mkpath("sub");
    testsupport::writeFile(dir.file("one"), "1");
    testsupport::writeFile(dir.file("sub/two"), "2");

    Directory d(dir.str());
    EXPECT_TRUE(d.exists());
    std::vector<std::string> flat = d.entryList(false);
    std::sort(flat.begin(), flat.end());
    EXPECT_EQ(flat, (std::vector<std::string>{dir.str() + "/one", dir.str() + "/sub"}));
    std::vector<std::string> deep = d.entryList(true);
    std::sort(deep.begin(), deep.end());
    EXPECT_EQ(deep, (std::vector<std::string>{dir.str() + "/one", dir.str() + "/sub/two"}));
    EXPECT_TRUE(Directory(dir.str() + "/absent").entryList(true).empty());
}

TEST(ApiTest, DirectoryStreamAndNullArguments)
{
    TempDir dir;
    const std::string longName(255, 'n');
    testsupport::writeFile(dir.file(QString::fromStdString(longName)), "x");
    void* h = apiOpenDir(dir.str().c_str());
    ASSERT_NE(h, nullptr);
    char buf[256];
    std::memset(buf, 'X', sizeof(buf));
    std::vector<std::string> names;
    while (apiReadDir(h, buf))
        names.push_back(buf);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", longName}));
    EXPECT_EQ(apiCloseDir(h), 1);

    EXPECT_EQ(apiOpenDir((dir.str() + "/absent").c_str()), nullptr);
    EXPECT_EQ(apiOpenDir(nullptr), nullptr);
    EXPECT_EQ(apiReadDir(nullptr, buf), 0);
    EXPECT_EQ(apiCloseDir(nullptr), 0);
    EXPECT_GT(apiGetTime(), 1.6e9);
}

TEST(ApiTest, LoadsSharedLibraryAndResolvesSymbols)
{
    void* h = apiDllOpen("libm.so.6");
    ASSERT_NE(h, nullptr);
    using CosFn = double (*)(double);
    CosFn fn = reinterpret_cast<CosFn>(apiDllGetSymbol(h, "cos"));
    ASSERT_NE(fn, nullptr);
    EXPECT_DOUBLE_EQ(fn(0.0), 1.0);
    EXPECT_EQ(apiDllGetSymbol(h, "no_such_symbol_here"), nullptr);
    EXPECT_EQ(apiDllGetSymbol(nullptr, "cos"), nullptr);
    EXPECT_EQ(apiDllGetSymbol(h, nullptr), nullptr);
    EXPECT_EQ(apiDllClose(h), 0);

    testing::internal::CaptureStdout();
    EXPECT_EQ(apiDllOpen("/no/such/library.so"), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Error dlopen: "), std::string::npos);
    EXPECT_EQ(apiDllOpen(nullptr), nullptr);
    EXPECT_EQ(apiDllClose(nullptr), 0);
}

TEST(ByteOrderTest, BigEndianValuesBecomeHostOrder)
{
    unsigned char b4[4] = {0x12, 0x34, 0x56, 0x78};
    swap4(b4);
    uint32_t v;
    std::memcpy(&v, b4, 4);
    EXPECT_EQ(v, 0x12345678u); // the first file byte is the most significant
    swap4(b4);
    EXPECT_EQ(b4[0], 0x12);
    EXPECT_EQ(b4[3], 0x78);

    unsigned char b2[2] = {0xAB, 0xBA - 0x10};
    swap2(b2);
    uint16_t s;
    std::memcpy(&s, b2, 2);
    EXPECT_EQ(s, 0xABAAu);

    unsigned char b8[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    swap8(b8);
    uint64_t l;
    std::memcpy(&l, b8, 8);
    EXPECT_EQ(l, 0x0102030405060708ull);
}

TEST(ByteOrderTest, GettersAndPuttersDoNotTouchTheirSource)
{
    unsigned char buf[8];
    pi(-2, buf);
    EXPECT_EQ(buf[0], 0xFF);
    EXPECT_EQ(buf[3], 0xFE);
    EXPECT_EQ(gi(buf), -2);
    ps(0x1234, buf);
    EXPECT_EQ(buf[0], 0x12);
    EXPECT_EQ(gs(buf), 0x1234);
    pf(1.5f, buf);
    EXPECT_EQ(buf[0], 0x3F);
    EXPECT_EQ(buf[1], 0xC0);
    EXPECT_FLOAT_EQ(gf(buf), 1.5f);
    pd(-2.0, buf);
    EXPECT_EQ(buf[0], 0xC0);
    EXPECT_DOUBLE_EQ(gd(buf), -2.0);
}

TEST(ByteOrderTest, UnconditionalSwap)
{
    unsigned char b[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    SWAP(b, 3);
    EXPECT_EQ(std::vector<int>(b, b + 4), (std::vector<int>{3, 2, 1, 4}));
    SWAP(b, 9); // too long: nothing
    SWAP(b, -1);
    EXPECT_EQ(b[0], 3);
    EXPECT_EQ(b[8], 9);
    SWAP2(b);
    EXPECT_EQ(b[0], 2);
    unsigned char c[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    SWAP8(c);
    EXPECT_EQ(c[0], 8);
    SWAP4(c);
    EXPECT_EQ(c[0], 5);
}
