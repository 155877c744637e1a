// Hostile files never crash or run away: XML nested far too deep, named
// pipes and folders in place of files, offsets of absurd size, a record file
// bigger than the memory, and one corrupt time stamp that stretches a
// recording over a hundred days before a CSV export.
#include "CsvExportOptions.h"
#include "ExportCan.h"
#include "ExportCsv.h"
#include "Notifier.h"
#include "Profile.h"
#include "Project.h"
#include "Property.h"
#include "Record.h"
#include "StdoutCapture.h"
#include "TestRecords.h"
#include "TestSupport.h"
#include "WriteLimits.h"
#include "XmlHandler.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <future>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using KAVO::Notifier;
using KAVO::Record;
using testsupport::FileSizeLimit;
using testsupport::SmallFileSystem;
using testsupport::StdoutCapture;
using testsupport::TempDir;
using testsupport::TestMessage;

namespace {

// Collects the reports to the window while it lives.
struct Reports
{
    Reports() { Notifier::setReportHandler([this](const Notifier::Report& r) { list.push_back(r); }); }
    ~Reports() { Notifier::setReportHandler(nullptr); }
    int count(Notifier::Problem p) const
    {
        int n = 0;
        for (const Notifier::Report& r : list)
            n += r.problem == p ? 1 : 0;
        return n;
    }
    std::vector<Notifier::Report> list;
};

// A document whose root holds 'levels' - 1 nested elements below it, in
// the shape of the reader's own files.
QByteArray nested(const QByteArray& root, const QByteArray& inner, int levels)
{
    QByteArray open, close;
    for (int i = 1; i < levels; ++i) {
        open += "<a>";
        close += "</a>";
    }
    return "<" + root + ">" + inner + open + close + "</" + root + ">";
}

// One XML reader of the application over a file; true when it took the file.
struct XmlReader
{
    const char* name;
    QByteArray root;
    QByteArray inner;  // a valid entry, taken when the file is accepted
    std::function<bool(const QString& path)> read;
};

std::vector<XmlReader> xmlReaders()
{
    return {
        {"settings", "KAVO", "<Property id=\"Locale\" value=\"de\"/>",
         [](const QString& path) {
             KAVO::Property* p = KAVO::Property::instance();
             p->clear();
             // The store keeps its defaults when the file is refused.
             EXPECT_TRUE(p->readXmlFile(path.toStdString()));
             return p->getString("Locale", "us") == "de";
         }},
        {"offset", "KavoOffset", "<Offset value=\"7.5\"/>",
         [](const QString& path) {
             Record r;
             r.setRecordDirectory(QFileInfo(path).path());
             r.loadOffset();
             return r.recordData().offset == 7.5;
         }},
        {"project", "KavoProject", "<Parameters><Parameter name=\"Dev/A\"/></Parameters>",
         [](const QString& path) { return KAVO::Project::instance()->readProject(path); }},
        {"profile", "BrevantoProfile", "<Device name=\"Dev\"><Parameter name=\"A\" id=\"0x10\"/></Device>",
         [](const QString& path) { return KAVO::Profile::instance()->loadProfile(path); }},
    };
}

TEST(HostileXmlTest, EveryReaderRefusesNestingBeyondTheBoundBeforeTheDom)
{
    const int bound = KAVO::XmlHandler::MaxDepth;
    ASSERT_EQ(bound, 256);
    struct Doc
    {
        const char* what;
        int levels;  // 0: an entity hides the nesting
        bool accepted;
    };
    // 25,000 levels overflowed the stack of the DOM parser.
    const Doc docs[] = {{"25,000 levels", 25000, false}, {"one level too many", bound + 1, false},
                        {"at the bound", bound, true}, {"nesting inside an entity", 0, false}};
    for (const XmlReader& reader : xmlReaders()) {
        for (const Doc& d : docs) {
            SCOPED_TRACE(std::string(reader.name) + ": " + d.what);
            TempDir dir;
            const QString path = dir.file("Offset.xml");
            QByteArray text;
            if (d.levels > 0) {
                text = nested(reader.root, reader.inner, d.levels);
            } else {
                // 150 levels in the text and 150 more in the entity's replacement.
                QByteArray deep, open, close;
                for (int i = 0; i < 150; ++i) {
                    deep += "<x>";
                    open += "<a>";
                    close += "</a>";
                }
                for (int i = 0; i < 150; ++i)
                    deep += "</x>";
                text = "<!DOCTYPE " + reader.root + " [<!ENTITY e \"" + deep + "\">]><" + reader.root + ">" +
                       reader.inner + open + "&e;" + close + "</" + reader.root + ">";
            }
            ASSERT_TRUE(testsupport::writeFile(path, text));
            Reports reports;
            StdoutCapture out;
            EXPECT_EQ(reader.read(path), d.accepted);
            const QString printed = out.text();
            if (d.accepted)
                continue;
            EXPECT_TRUE(printed.contains("could not set content <" + path + ">\n")) << printed.toStdString();
            if (d.levels > 0) {
                EXPECT_TRUE(printed.contains("elements nest deeper than 256 levels")) << printed.toStdString();
            }
            if (reader.name == std::string("profile")) {
                ASSERT_EQ(reports.list.size(), 1u);
                EXPECT_EQ(reports.list[0].problem, Notifier::Problem::ProfileNotRead);
                EXPECT_EQ(reports.list[0].path, path);
                EXPECT_EQ(reports.list[0].line, 1);
                if (d.levels > 0) {
                    EXPECT_EQ(reports.list[0].column, static_cast<int>(reader.root.size() + reader.inner.size()) + 2 +
                                                          3 * bound);
                }
                EXPECT_TRUE(KAVO::Profile::instance()->data().mDevices.empty());
            }
        }
    }
}

// Runs a read that must not wait: a pipe with no writer would block it
// forever, so after a while the pipe gets a writer that closes at once.
bool readsPromptly(const std::function<void()>& read, const QString& pipe)
{
    auto done = std::async(std::launch::async, read);
    if (done.wait_for(std::chrono::seconds(20)) == std::future_status::ready)
        return true;
    const int fd = open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0)
        close(fd);
    done.wait();
    return false;
}

TEST(HostileFileTest, OnlyRegularFilesAreOpened)
{
    TempDir dir;
    const QString pipe = dir.file("Offset.xml");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    const QString pipeCan = dir.file("LOG_8000.CAN");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipeCan).constData(), 0644), 0);
    const QString good = dir.file("LOG_0001.CAN");
    ASSERT_TRUE(testsupport::writeFile(good, testsupport::recordFileBytes({testsupport::floatMessage(0, 0x10, 1.0, 2.0f)})));

    StdoutCapture quiet;
    for (const XmlReader& reader : xmlReaders()) {
        SCOPED_TRACE(reader.name);
        bool taken = true;
        EXPECT_TRUE(readsPromptly([&] { taken = reader.read(pipe); }, pipe)) << "the reader waited on a pipe";
        EXPECT_FALSE(taken);
    }
    // The plain "key = value" reader of older settings files as well.
    EXPECT_TRUE(readsPromptly([&] { EXPECT_FALSE(KAVO::Property::instance()->readConfigFile(pipe.toStdString())); },
                              pipe));
    Record info;
    EXPECT_TRUE(readsPromptly([&] { EXPECT_FALSE(info.readRecordInfo(pipeCan)); }, pipeCan));

    Reports reports;
    Record r;
    EXPECT_TRUE(readsPromptly([&] { EXPECT_FALSE(r.readRecordData({pipeCan, good})); }, pipeCan));
    EXPECT_EQ(r.rawData().entries.size(), 1u) << "the regular file after the pipe still loads";
    EXPECT_EQ(r.recordData().offset, 0.0) << "the pipe as offset file counts as no offset file";
    ASSERT_EQ(reports.list.size(), 1u);
    EXPECT_EQ(reports.list[0].problem, Notifier::Problem::FileNotRegular);
    EXPECT_EQ(reports.list[0].path, pipeCan);

    // An XML file beyond any sane size is not read at all.
    const QString huge = dir.file("huge.xml");
    QFile f(huge);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(KAVO::XmlHandler::MaxFileSize + 1));
    f.close();
    KAVO::XmlHandler xml;
    QDomDocument doc;
    EXPECT_FALSE(xml.xmlReadFile(doc, huge));
    EXPECT_TRUE(xml.xmlReadError().text.contains("larger than")) << xml.xmlReadError().text.toStdString();
}

TEST(HostileFileTest, OffsetsBeyondTheFieldsRangeAreRefusedAtLoad)
{
    struct Case
    {
        const char* text;
        double loaded;
    };
    const Case cases[] = {{"1e12", 0.0},    {"1e16", 0.0},      {"-1e16", 0.0},     {"10000.5", 0.0},
                          {"-10000.01", 0.0}, {"10000", 10000.0}, {"-10000", -10000.0}, {"-42.25", -42.25}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TempDir dir;
        const QString offsetFile = dir.file("Offset.xml");
        ASSERT_TRUE(testsupport::writeFile(offsetFile, QByteArray("<KavoOffset><Offset value=\"") + c.text +
                                                           "\"/></KavoOffset>"));
        const TestMessage m = testsupport::floatMessage(0, 0x10, 1.0, 2.0f);
        const QString high = dir.file("LOG_8000.CAN");
        const QString high2 = dir.file("LOG_8001.CAN");
        ASSERT_TRUE(testsupport::writeFile(high, testsupport::recordFileBytes({m})));
        ASSERT_TRUE(testsupport::writeFile(high2, testsupport::recordFileBytes({m})));
        Reports reports;
        StdoutCapture out;
        Record r;
        ASSERT_TRUE(r.readRecordData({high, high2}));
        const QString printed = out.text();
        EXPECT_EQ(r.recordData().offset, c.loaded);
        const bool refused = c.loaded == 0.0;
        EXPECT_EQ(printed.contains("lies outside -10000 to 10000 s, 0 is used"), refused) << printed.toStdString();
        EXPECT_EQ(printed.contains("<" + offsetFile + ">"), refused);
        // One report for the folder, however many of its files are read.
        ASSERT_EQ(reports.list.size(), refused ? 1u : 0u);
        if (refused) {
            EXPECT_EQ(reports.list[0].problem, Notifier::Problem::OffsetRefused);
            EXPECT_EQ(reports.list[0].path, offsetFile);
            EXPECT_EQ(reports.list[0].value, QByteArray(c.text).toDouble());
        }
        EXPECT_DOUBLE_EQ(r.recordInfo().stopTime, 1.0 + c.loaded);
    }
}

TEST(HostileFileTest, ARecordFileTooBigForTheMemoryIsRefusedWhole)
{
    TempDir dir;
    const QString small = dir.file("LOG_0001.CAN");
    ASSERT_TRUE(testsupport::writeFile(small, testsupport::recordFileBytes({testsupport::floatMessage(0, 0x10, 1.0, 2.0f)})));
    // 200 GB without a byte on the disk: far more memory than any machine has.
    const QString big = dir.file("LOG_0002.CAN");
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(200LL * 1024 * 1024 * 1024));
    }
    Reports reports;
    StdoutCapture out;
    Record r;
    EXPECT_FALSE(r.readRecordData({big, small}));
    EXPECT_EQ(r.rawData().entries.size(), 1u);
    ASSERT_EQ(reports.list.size(), 1u);
    EXPECT_EQ(reports.list[0].problem, Notifier::Problem::FileTooBig);
    EXPECT_EQ(reports.list[0].path, big);
    EXPECT_EQ(reports.list[0].bytes, Record::memoryFor((200LL * 1024 * 1024 * 1024 - 128) / 28));
    EXPECT_TRUE(out.text().contains("Record::readData <" + big + "> too big"));

    // Within a budget the files count together: the second of two that do
    // not fit side by side is refused, and alone it loads.
    std::vector<TestMessage> messages;
    for (int i = 0; i < 600; ++i)
        messages.push_back(testsupport::floatMessage(0, 0x10, i * 0.01, 1.0f));
    const QString a = dir.file("LOG_0003.CAN");
    const QString b = dir.file("LOG_0004.CAN");
    ASSERT_TRUE(testsupport::writeFile(a, testsupport::recordFileBytes(messages)));
    ASSERT_TRUE(testsupport::writeFile(b, testsupport::recordFileBytes(messages)));
    Record::setMemoryLimit(Record::memoryFor(1000));
    reports.list.clear();
    StdoutCapture quiet;
    EXPECT_FALSE(r.readRecordData({a, b}));
    EXPECT_EQ(r.rawData().entries.size(), 600u);
    ASSERT_EQ(reports.list.size(), 1u);
    EXPECT_EQ(reports.list[0].path, b);
    EXPECT_EQ(reports.list[0].available, Record::memoryFor(400));
    EXPECT_TRUE(r.readRecordData({b}));
    Record::setMemoryLimit(0);
}

class HostileCsvTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        TempDir dir;
        ASSERT_TRUE(testsupport::loadExportProfile(dir.path()));
    }

    KAVO::CsvExportOptions options(const QString& folder, double start, double stop)
    {
        KAVO::CsvExportOptions o;
        o.exportDir = folder.toLocal8Bit();
        o.fileName = "out.csv";
        o.allParameter = true;
        o.startTime = start;
        o.stopTime = stop;
        return o;
    }

    TempDir mDir;
    Record mRecord;
};

TEST_F(HostileCsvTest, ACorruptTimeStampCannotFillTheDisk)
{
    // A high tick word of 0x0000FFFF: the last message sits 101 days on.
    const double corrupt = 0xFFFF * 134.217728;
    std::vector<TestMessage> messages;
    for (int i = 0; i < 100; ++i)
        messages.push_back(testsupport::floatMessage(0, testsupport::IdA, i * 0.1, static_cast<float>(i)));
    messages.push_back(testsupport::floatMessage(0, testsupport::IdB, corrupt, 1.0f));
    {
        StdoutCapture quiet;
        ASSERT_TRUE(testsupport::loadRecording(mRecord, mDir.path(), {{"LOG_0001.CAN", messages}}));
    }
    const double stop = mRecord.recordInfo().stopTime;
    ASSERT_GT(stop, 100 * 86400.0);
    const int64_t rows = static_cast<int64_t>(stop * 10 + 0.5) + 1;

    auto refused = [&](const QString& folder) {
        Reports reports;
        StdoutCapture out;
        KAVO::ExportCsv csv;
        KAVO::CsvExportOptions o = options(folder, 0.0, stop);
        EXPECT_FALSE(csv.exportData(mRecord, o));
        const QString printed = out.text();
        EXPECT_TRUE(printed.contains(QString("%1 rows need at least").arg(rows))) << printed.toStdString();
        EXPECT_FALSE(QFile::exists(folder + "/out.csv")) << "something was written";
        ASSERT_EQ(reports.list.size(), 1u);
        EXPECT_EQ(reports.list[0].problem, Notifier::Problem::ExportTooBig);
        EXPECT_EQ(reports.list[0].count, rows);
        EXPECT_EQ(reports.list[0].path, folder + "/out.csv");
        EXPECT_GT(reports.list[0].bytes, reports.list[0].available);
    };
    {
        FileSizeLimit cap(1024 * 1024);
        refused(mDir.path());
    }
    SmallFileSystem fs(1024 * 1024);
    if (fs.mounted())
        refused(fs.path());
    else
        std::printf("no small file system (%s)\n", fs.whyNot().toLocal8Bit().constData());

    // The window of the intact messages still exports.
    KAVO::ExportCsv csv;
    KAVO::CsvExportOptions o = options(mDir.path(), 0.0, 9.9);
    StdoutCapture quiet;
    ASSERT_TRUE(csv.exportData(mRecord, o));
    EXPECT_EQ(testsupport::readFile(mDir.file("out.csv")).count('\n'), 1 + 100);
}

TEST_F(HostileCsvTest, TheGridStartsAtTheFirstMessageWhateverTheTimes)
{
    // Far beyond the old start value of 1e15 s: the grid must not start there.
    {
        StdoutCapture quiet;
        ASSERT_TRUE(testsupport::loadRecording(
            mRecord, mDir.path(),
            {{"LOG_8000.CAN", {testsupport::floatMessage(0, testsupport::IdA, 1.0, 1.0f),
                               testsupport::floatMessage(0, testsupport::IdA, 1.25, 2.0f)}}}));
    }
    for (const double offset : {1e12, 1e16}) {
        SCOPED_TRACE(offset);
        mRecord.recordData().offset = offset;
        KAVO::ExportCsv csv;
        KAVO::CsvExportOptions o = options(mDir.path(), offset, offset + 2.0);
        StdoutCapture quiet;
        ASSERT_TRUE(csv.exportData(mRecord, o));
        EXPECT_EQ(csv.firstTime(), offset + 1.0);
        const QList<QByteArray> lines = testsupport::readFile(mDir.file("out.csv")).split('\n');
        // Header, rows 1.0 to 3.0 s at 100 ms (the grid ends at the window's stop), and the end.
        ASSERT_GE(lines.size(), 3);
        EXPECT_LE(lines.size(), 1 + 21 + 1);
        EXPECT_TRUE(lines[1].startsWith("0:00:00.000;")) << lines[1].toStdString();
    }
}

TEST_F(HostileCsvTest, ExportsReportTheirProgress)
{
    std::vector<TestMessage> messages;
    for (int i = 0; i < 100000; ++i)
        messages.push_back(testsupport::floatMessage(0, testsupport::IdA, i * 0.1, static_cast<float>(i % 100)));
    {
        StdoutCapture quiet;
        ASSERT_TRUE(testsupport::loadRecording(mRecord, mDir.path(), {{"LOG_0001.CAN", messages}}));
    }
    for (const bool can : {false, true}) {
        SCOPED_TRACE(can ? "CAN" : "CSV");
        std::vector<int> seen;
        Notifier::setProgressHandler([&](int p) { seen.push_back(p); });
        KAVO::CsvExportOptions o = options(mDir.path(), 0.0, mRecord.recordInfo().stopTime);
        StdoutCapture quiet;
        const bool written = can ? KAVO::ExportCan().exportData(mRecord, o) : KAVO::ExportCsv().exportData(mRecord, o);
        Notifier::setProgressHandler(nullptr);
        ASSERT_TRUE(written);
        ASSERT_GE(seen.size(), 10u);
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        EXPECT_GT(seen.front(), 0);
        EXPECT_LE(seen.back(), 99);
        EXPECT_GE(seen.back(), 90);
    }
}

} // namespace
