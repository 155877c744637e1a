// Start-up is checked on the real binary: a temporary HOME, the console
// output, and the folders and settings it leaves behind.
#include "Revision.h"
#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTranslator>
#include <QXmlStreamReader>

#include <map>
#include <utility>

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

using MessageKey = std::pair<QString, QString>; // context, source text

// Every message of a translation source, with whether it carries a finished translation.
std::map<MessageKey, bool> readTs(const QString& path)
{
    std::map<MessageKey, bool> messages;
    QXmlStreamReader xml(testsupport::readFile(path));
    QString context;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const bool finished = xml.attributes().value("type").isEmpty();
            messages[{ context, source }] = finished && !xml.readElementText().isEmpty();
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return messages;
}

const char* const Languages[] = { "de", "es", "fr", "pt", "cz" };

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
    EXPECT_TRUE(out.contains("Translation QT <us> 0\n"));
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
    if (QFileInfo::exists(testsupport::bundleResources() + "/qt_de.qm"))
        EXPECT_TRUE(out.contains("Translation QT <de> 1\n"));
    else
        EXPECT_TRUE(out.contains("Translation QT <de> 0\n"));
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

TEST(TranslationTest, GermanTranslatesMenusCommandsAndDataTabs)
{
    QTranslator de;
    ASSERT_TRUE(de.load("kavo_de", testsupport::bundleResources()));
    const auto tr = [&de](const char* context, const char* text) {
        return de.translate(context, text).toStdString();
    };
    EXPECT_EQ(tr("KAVO::DialogMain", "&File"), "&Datei");
    EXPECT_EQ(tr("KAVO::DialogMain", "&Extras"), "&Extras");
    EXPECT_EQ(tr("KAVO::DialogMain", "&Help"), "&Hilfe");
    EXPECT_EQ(tr("KAVO::DialogMain", "&New Project"), "&Neues Projekt");
    EXPECT_EQ(tr("KAVO::DialogMain", "Open SD Card"), "SD-Karte öffnen");
    EXPECT_EQ(tr("KAVO::DialogMain", "Quit Application"), "Anwendung beenden");
    EXPECT_EQ(tr("KAVO::DialogData", "Data"), "Daten");
    EXPECT_EQ(tr("KAVO::DialogData", "Graph"), "Grafik");
    EXPECT_EQ(tr("KAVO::DialogData", "Offset:"), "Versatz:");
    // Shortcuts stay as they are, and texts outside the menus and the data
    // area fall back to the source text.
    EXPECT_EQ(tr("KAVO::DialogMain", "Ctrl+N"), "");
    EXPECT_EQ(tr("KAVO::DialogMain", "KAVO Warning"), "");
    EXPECT_EQ(tr("KAVO::DialogPreferences", "Preferences"), "");
    EXPECT_EQ(tr("KAVO::DialogGraphSetup", "Close"), "");
}

TEST(TranslationTest, EverySourceListsEveryTranslatableText)
{
    const QString lupdate = QStandardPaths::findExecutable("lupdate");
    if (lupdate.isEmpty())
        GTEST_SKIP() << "lupdate is not installed";
    TempDir tmp;
    const QString fresh = tmp.file("fresh_de.ts");
    const testsupport::ProcessResult r =
        testsupport::runProcess(lupdate, { testsupport::sourceDir() + "/orlo/src", "-ts", fresh, "-no-obsolete",
                                           "-locations", "none" },
                                {}, tmp.path(), 60000);
    ASSERT_TRUE(r.finished && r.exitCode == 0) << r.output.toStdString();
    const std::map<MessageKey, bool> wanted = readTs(fresh);
    ASSERT_GT(wanted.size(), 100u);
    for (const char* language : Languages) {
        const QString path = testsupport::sourceDir() + "/orlo/resources/translations/kavo_" + language + ".ts";
        const std::map<MessageKey, bool> listed = readTs(path);
        for (const auto& m : wanted)
            EXPECT_EQ(listed.count(m.first), 1u) << language << ": missing (run scripts/update-translations.sh) <" << m.first.first.toStdString()
                                                 << "> <" << m.first.second.toStdString() << ">";
        for (const auto& m : listed)
            EXPECT_EQ(wanted.count(m.first), 1u) << language << ": obsolete <" << m.first.first.toStdString()
                                                 << "> <" << m.first.second.toStdString() << ">";
        EXPECT_TRUE(QFileInfo::exists(testsupport::bundleResources() + "/kavo_" + language + ".qm")) << language;
    }
}
