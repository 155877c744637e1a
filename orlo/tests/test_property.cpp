#include "Property.h"
#include "TestSupport.h"

#include <QDomDocument>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using KAVO::Property;
using testsupport::TempDir;

namespace {

class PropertyTest : public ::testing::Test
{
protected:
    void SetUp() override { Property::instance()->clear(); }
    void TearDown() override { Property::instance()->clear(); }
    Property* p() { return Property::instance(); }
};

QDomDocument parse(const QString& path)
{
    QDomDocument doc;
    doc.setContent(testsupport::readFile(path));
    return doc;
}

} // namespace

TEST_F(PropertyTest, RoundTripKeepsValuesAndWritesKeysInByteOrder)
{
    TempDir dir;
    const std::string file = dir.fileStr("ORLO.ini");
    p()->setString("b", "two");
    p()->setInt("CsvLimiter", 9);
    p()->setSwitch("KmlPolygonOn", false);
    p()->setString("B", "upper");
    p()->setString("ab", "prefix-longer");
    p()->setString("a", "prefix");
    ASSERT_TRUE(p()->writeXmlFile(file));

    const QDomDocument doc = parse(QString::fromStdString(file));
    const QDomElement root = doc.documentElement();
    EXPECT_EQ(root.tagName(), "KAVO");
    QStringList ids;
    for (QDomElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        EXPECT_EQ(e.tagName(), "Property");
        ids << e.attribute("id");
        if (e.attribute("id") == "CsvLimiter") {
            EXPECT_EQ(e.attribute("value"), "9");
        }
    }
    EXPECT_EQ(ids, (QStringList{"B", "CsvLimiter", "KmlPolygonOn", "a", "ab", "b"}));

    // Indented by four blanks, no XML declaration.
    const QByteArray text = testsupport::readFile(QString::fromStdString(file));
    EXPECT_FALSE(text.startsWith("<?xml"));
    EXPECT_TRUE(text.contains("\n    <Property "));

    p()->clear();
    ASSERT_TRUE(p()->readXmlFile(file));
    EXPECT_EQ(p()->getString("b", ""), "two");
    EXPECT_EQ(p()->getInt("CsvLimiter", 59), 9);
    EXPECT_FALSE(p()->getSwitch("KmlPolygonOn", true));
}

TEST_F(PropertyTest, EmptyValuesAreNotWrittenAndReadBackAsDefault)
{
    TempDir dir;
    const std::string file = dir.fileStr("ORLO.ini");
    p()->setString("Profile", "");
    p()->setString("Locale", "de");
    ASSERT_TRUE(p()->writeXmlFile(file));
    EXPECT_FALSE(testsupport::readFile(QString::fromStdString(file)).contains("Profile"));
    // In memory a present empty value is returned as empty.
    EXPECT_EQ(p()->getString("Profile", "default"), "");
    p()->clear();
    p()->readXmlFile(file);
    EXPECT_EQ(p()->getString("Profile", "default"), "default");
    EXPECT_EQ(p()->getString("Locale", "us"), "de");
}

TEST_F(PropertyTest, TypedGetters)
{
    const struct
    {
        const char* text;
        bool expected;
    } switches[] = {{"true", true}, {"TRUE", true}, {"True", true}, {"1", false},
                    {"yes", false}, {"false", false}, {"tRUE", false}, {"", false}};
    for (const auto& c : switches) {
        p()->setString("s", c.text);
        EXPECT_EQ(p()->getSwitch("s", !c.expected), c.expected) << c.text;
    }
    EXPECT_TRUE(p()->getSwitch("absent", true));
    EXPECT_FALSE(p()->getSwitch("absent", false));

    p()->setString("i", "12abc");
    EXPECT_EQ(p()->getInt("i", 7), 12);
    p()->setString("i", "abc");
    EXPECT_EQ(p()->getInt("i", 7), 0);
    p()->setInt("i", -42);
    EXPECT_EQ(p()->getString("i", ""), "-42");
    EXPECT_EQ(p()->getInt("absent", 7), 7);

    p()->setDouble("d", 0.1);
    EXPECT_EQ(p()->getString("d", ""), "0.1");
    p()->setDouble("d", 1234567.0);
    EXPECT_EQ(p()->getString("d", ""), "1.23457e+06");
    EXPECT_DOUBLE_EQ(p()->getDouble("d", 0), 1234570.0);
    EXPECT_DOUBLE_EQ(p()->getDouble("absent", 2.5), 2.5);
}

TEST_F(PropertyTest, ReadingTakesPropertyChildrenOfAnyRootAndMerges)
{
    TempDir dir;
    const QString file = dir.file("other.ini");
    ASSERT_TRUE(testsupport::writeFile(file, "<Settings>\n"
                                             "  <Property id=\"Locale\" value=\"fr\"/>\n"
                                             "  <Other id=\"Skipped\" value=\"x\"/>\n"
                                             "  <Property id=\"NoValue\"/>\n"
                                             "  <Property id=\"Locale\" value=\"es\"/>\n"
                                             "</Settings>\n"));
    p()->setString("Kept", "yes");
    p()->setString("Locale", "us");
    EXPECT_TRUE(p()->readXmlFile(file.toStdString()));
    EXPECT_EQ(p()->getString("Locale", ""), "es"); // the later entry wins
    EXPECT_EQ(p()->getString("Kept", ""), "yes");  // not erased by the read
    EXPECT_EQ(p()->getString("Skipped", "none"), "none");
    EXPECT_EQ(p()->getString("NoValue", "none"), "");
}

TEST_F(PropertyTest, MissingOrBrokenFileLeavesStoreAndStillReturnsTrue)
{
    TempDir dir;
    p()->setString("Locale", "de");
    testing::internal::CaptureStdout();
    EXPECT_TRUE(p()->readXmlFile(dir.fileStr("absent.ini")));
    const QString broken = dir.file("broken.ini");
    testsupport::writeFile(broken, "<KAVO><Property id=\"x\" value=\"1\"></KAVO");
    EXPECT_TRUE(p()->readXmlFile(broken.toStdString()));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("could not open file <" + dir.fileStr("absent.ini") + ">"), std::string::npos);
    EXPECT_NE(out.find("could not set content <" + broken.toStdString() + ">"), std::string::npos);
    EXPECT_NE(out.find("readXmlFile <" + broken.toStdString() + "> 0"), std::string::npos);
    EXPECT_EQ(p()->getString("Locale", ""), "de");
    EXPECT_EQ(p()->getString("x", "none"), "none");
}

TEST_F(PropertyTest, FailedWriteIsReportedAndOldFileStays)
{
    TempDir dir;
    const std::string file = dir.fileStr("ORLO.ini");
    p()->setString("Locale", "de");
    ASSERT_TRUE(p()->writeXmlFile(file));
    const QByteArray before = testsupport::readFile(QString::fromStdString(file));

    // A folder that does not exist cannot take the file.
    EXPECT_FALSE(p()->writeXmlFile(dir.fileStr("missing/ORLO.ini")));

    // A full disk: the child process may write only a few bytes.
    for (int i = 0; i < 2000; ++i)
        p()->setString("key" + std::to_string(i), std::string(40, 'v'));
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit lim = {512, 512};
        setrlimit(RLIMIT_FSIZE, &lim);
        _exit(Property::instance()->writeXmlFile(file) ? 1 : 0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "write under a full disk was reported as success";
    EXPECT_EQ(testsupport::readFile(QString::fromStdString(file)), before);
    // No temporary file is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"ORLO.ini"});
}

TEST_F(PropertyTest, PlainTextReader)
{
    TempDir dir;
    const QString file = dir.file("plain.cfg");
    testsupport::writeFile(file, "; comment\n# comment\n\n  Locale = \"de\" \n\tProfile\t=\tp.xml\nNoEquals\n");
    p()->setString("Old", "gone");
    EXPECT_TRUE(p()->readConfigFile(file.toStdString()));
    EXPECT_EQ(p()->getString("Locale", ""), "de");
    EXPECT_EQ(p()->getString("Profile", ""), "p.xml");
    EXPECT_EQ(p()->getString("Old", "none"), "none"); // the plain reader replaces the store
    EXPECT_FALSE(p()->readConfigFile(dir.fileStr("absent.cfg")));
}
