// Start-up is checked on the real binary: a temporary HOME, the console
// output, and the folders and settings it leaves behind.
#include "Revision.h"
#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

using testsupport::TempDir;

namespace {

// Starts orlo, waits until start-up has printed its last line, then ends it.
QString startOnce(const QString& home)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setWorkingDirectory(testsupport::binaryDir());
    p.start(testsupport::executablePath(), QStringList());
    EXPECT_TRUE(p.waitForStarted(10000));
    QByteArray out;
    QElapsedTimer t;
    t.start();
    while (!out.contains("Translation KAVO") && t.elapsed() < 60000 && p.state() == QProcess::Running) {
        p.waitForReadyRead(200);
        out += p.readAll();
    }
    p.kill();
    p.waitForFinished(10000);
    out += p.readAll();
    return QString::fromLocal8Bit(out);
}

} // namespace

TEST(StartupTest, FirstStartPrintsBannerMakesFoldersAndTriesDefaultLocale)
{
    TempDir home;
    const QString out = startOnce(home.path());
    const QString rule(49, '-');
    EXPECT_TRUE(out.startsWith(rule + "\n\n")) << out.toStdString();
    EXPECT_TRUE(out.contains(QString(16, ' ') + "Version  : ORLO 1.2.21\n"));
    EXPECT_TRUE(out.contains(QString(16, ' ') + "Compiled : "));
    EXPECT_TRUE(out.contains(QString(16, ' ') + "CWD      : " + QDir(testsupport::binaryDir()).canonicalPath()));
    EXPECT_TRUE(out.contains("HOME: <" + home.path() + ">\n"));
    EXPECT_TRUE(out.contains("DataPath created <" + home.path() + "/Library/ORLO/>\n"));
    EXPECT_TRUE(out.contains("UserDataPath created <" + home.path() + "/ORLO/>\n"));
    EXPECT_TRUE(out.contains("Data Path      : <" + home.path() + "/Library/ORLO/>\n"));
    EXPECT_TRUE(out.contains("User Data Path : <" + home.path() + "/ORLO/>\n"));
    EXPECT_TRUE(out.contains("Resource Path  : <"));
    EXPECT_TRUE(out.contains("/orlo.app/Contents/Resources/>\n"));
    EXPECT_TRUE(out.contains("readXmlFile <" + home.path() + "/ORLO/ORLO.ini> 0\n"));
    // Qt's English catalogue loads; the program's own texts are English.
    EXPECT_TRUE(out.contains("Translation QT <us> 1\n"));
    EXPECT_TRUE(out.contains("Translation KAVO <us> 0\n"));
    EXPECT_TRUE(QFileInfo(home.path() + "/Library/ORLO").isDir());
    EXPECT_TRUE(QFileInfo(home.path() + "/ORLO").isDir());
}

TEST(StartupTest, SecondStartCreatesNothingAndLoadsStoredLocale)
{
    TempDir home;
    startOnce(home.path());
    ASSERT_TRUE(testsupport::writeFile(home.path() + "/ORLO/ORLO.ini",
                                       "<KAVO>\n    <Property id=\"Locale\" value=\"de\"/>\n</KAVO>\n"));
    const QString out = startOnce(home.path());
    EXPECT_FALSE(out.contains("created <")) << out.toStdString();
    EXPECT_TRUE(out.contains("readXmlFile <" + home.path() + "/ORLO/ORLO.ini> 1\n"));
    EXPECT_TRUE(out.contains("Translation KAVO <de> 1\n")) << out.toStdString();
    EXPECT_TRUE(out.contains("Translation QT <de> 1\n"));
}

TEST(StartupTest, QtsOwnTextsLoadForEveryOfferedLocale)
{
    // The locales the preferences offer; only English has no catalogue of
    // the program's own texts, which are English.
    for (const char* locale : { "de", "es", "fr", "us", "pt", "cz" }) {
        SCOPED_TRACE(locale);
        TempDir home;
        ASSERT_TRUE(QDir().mkpath(home.path() + "/ORLO"));
        ASSERT_TRUE(testsupport::writeFile(home.path() + "/ORLO/ORLO.ini",
                                           QString("<KAVO>\n    <Property id=\"Locale\" value=\"%1\"/>\n</KAVO>\n")
                                               .arg(locale)
                                               .toUtf8()));
        const QString out = startOnce(home.path());
        EXPECT_TRUE(out.contains(QString("Translation QT <%1> 1\n").arg(locale))) << out.toStdString();
        EXPECT_TRUE(out.contains(QString("Translation KAVO <%1> %2\n").arg(locale).arg(QString(locale) == "us" ? 0 : 1)));
    }
}

TEST(StartupTest, UncreatableFolderIsReportedAndStartUpGoesOn)
{
    TempDir home;
    // A file where the folder should be: it cannot be created.
    ASSERT_TRUE(testsupport::writeFile(home.path() + "/Library", "not a folder"));
    const QString out = startOnce(home.path());
    EXPECT_TRUE(out.contains("DataPath could not be created <" + home.path() + "/Library/ORLO/>\n"))
        << out.toStdString();
    EXPECT_FALSE(out.contains("\nDataPath created"));
    EXPECT_TRUE(out.contains("Translation KAVO <us> 0\n"));
}

TEST(StartupTest, SettingsNestedTooDeepAreRefusedAndDefaultsApply)
{
    TempDir home;
    ASSERT_TRUE(QDir().mkpath(home.path() + "/ORLO"));
    // 25,000 levels in 90 KB: the DOM parser's recursion overflowed the stack
    // at every start until the file was deleted.
    QByteArray text = "<KAVO><Property id=\"Locale\" value=\"de\"/>";
    for (int i = 0; i < 25000; ++i)
        text += "<a>";
    ASSERT_TRUE(testsupport::writeFile(home.path() + "/ORLO/ORLO.ini", text));
    const QString out = startOnce(home.path());
    const QString ini = home.path() + "/ORLO/ORLO.ini";
    EXPECT_TRUE(out.contains("could not set content <" + ini + ">\n")) << out.toStdString();
    EXPECT_TRUE(out.contains("elements nest deeper than 256 levels")) << out.toStdString();
    EXPECT_TRUE(out.contains("readXmlFile <" + ini + "> 0\n"));
    EXPECT_TRUE(out.contains("Translation KAVO <us> 0\n")) << "the defaults did not apply";
}

TEST(RevisionTest, Texts)
{
    EXPECT_EQ(KAVO::Revision::getName(), "ORLO");
    EXPECT_EQ(KAVO::Revision::getRevisionNumber(), "1.2.21");
    EXPECT_EQ(KAVO::Revision::getRevisionString(), "ORLO 1.2.21");
    const std::string t = KAVO::Revision::compileTime();
    // "Oct 17 2022 19:15:11"
    ASSERT_EQ(t.size(), 20u);
    EXPECT_EQ(t[3], ' ');
    EXPECT_EQ(t[11], ' ');
    EXPECT_EQ(t[14], ':');
    EXPECT_EQ(t[17], ':');
}
