// Every writer of the application under a file-size limit and on a full
// file system: a failed write returns false, leaves the old file byte for
// byte and no temporary file behind, whether it fails at the first bytes or
// at the very last ones. The limits are lifted again to show that the same
// write then succeeds, so the failures are the limits' doing.
#include "CsvExportOptions.h"
#include "ExportCan.h"
#include "ExportCsv.h"
#include "ExportKml.h"
#include "KmlExportOptions.h"
#include "Notifier.h"
#include "Profile.h"
#include "Project.h"
#include "Property.h"
#include "Record.h"
#include "SafeFile.h"
#include "StdoutCapture.h"
#include "TestRecords.h"
#include "TestSupport.h"
#include "WriteLimits.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include <sys/stat.h>

using KAVO::Notifier;
using testsupport::FileSizeLimit;
using testsupport::SmallFileSystem;
using testsupport::TempDir;
using testsupport::TestMessage;

namespace {

const QByteArray OldContent = "the old file, which must survive\n";

// One writer of the application: prepares its data for a small (a few
// hundred bytes) or a large (megabytes, past every buffer) output, then
// writes its file into a folder.
struct Writer
{
    const char* name;
    const char* file;
    bool hasLarge;
    std::function<void(bool large)> prepare;
    std::function<bool(const QString& folder)> write;
};

// Recordings shared by the export writers.
struct Recordings
{
    KAVO::Record small;
    KAVO::Record large;
    KAVO::Record* current = nullptr;
};

Recordings& recordings()
{
    static Recordings r;
    return r;
}

std::vector<TestMessage> track(int steps)
{
    std::vector<TestMessage> m;
    m.reserve(static_cast<std::size_t>(steps) * 4);
    for (int i = 0; i < steps; ++i) {
        const double t = i * 0.1;
        m.push_back(testsupport::floatMessage(1, testsupport::IdLat, t, 47.0f + i * 1e-5f));
        m.push_back(testsupport::floatMessage(1, testsupport::IdLon, t, 11.0f + i * 1e-5f));
        m.push_back(testsupport::floatMessage(1, testsupport::IdAlt, t, 1000.0f + i));
        m.push_back(testsupport::floatMessage(0, testsupport::IdA, t, static_cast<float>(i % 977)));
    }
    return m;
}

// A profile of many parameters, so that a project of all of them is large.
QByteArray manyParameters(int count)
{
    QByteArray xml = "<BrevantoProfile name=\"many\"><Device name=\"Dev\">";
    for (int i = 0; i < count; ++i)
        xml += "<Parameter name=\"Parameter number " + QByteArray::number(i) + "\" id=\"" + QByteArray::number(i + 1) +
               "\" channel=\"0\" startByte=\"4\" dataType=\"FLOAT\"/>";
    return xml + "</Device></BrevantoProfile>";
}

void selectAll()
{
    for (auto& device : KAVO::Profile::instance()->data().mDevices)
        for (auto& item : device.second.mParameters)
            item.second.mSelected = true;
}

// The picture the snapshot writer stores: a few hundred bytes, or megabytes.
QByteArray& picture()
{
    static QByteArray bytes;
    return bytes;
}

void encodePicture(bool large)
{
    QImage image(large ? QSize(1200, 700) : QSize(8, 8), QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    picture().clear();
    QBuffer buffer(&picture());
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "BMP"));
}

// The CSV and CAN exports of the whole current recording.
KAVO::CsvExportOptions wholeRecording(const QString& folder, const char* file)
{
    KAVO::CsvExportOptions o;
    o.exportDir = folder.toLocal8Bit();
    o.fileName = file;
    o.allParameter = true;
    o.startTime = 0.0;
    o.stopTime = recordings().current->recordInfo().stopTime;
    o.resolution = 100;
    return o;
}

std::vector<Writer> writers(const QString& scratch)
{
    return {
        {"settings", "ORLO.ini", true,
         [](bool large) {
             KAVO::Property* p = KAVO::Property::instance();
             p->clear();
             p->setString("Locale", "de");
             for (int i = 0; large && i < 20000; ++i)
                 p->setString("Key" + std::to_string(i), std::string(60, 'v'));
         },
         [](const QString& folder) { return KAVO::Property::instance()->writeXmlFile((folder + "/ORLO.ini").toStdString()); }},
        {"project", "flight.xml", true,
         [scratch](bool large) {
             ASSERT_TRUE(testsupport::loadProfileText(scratch, large ? manyParameters(20000) : manyParameters(3)));
             selectAll();
         },
         [](const QString& folder) { return KAVO::Project::instance()->saveProject(folder + "/flight.xml"); }},
        {"offset", "Offset.xml", false, [](bool) {},
         [](const QString& folder) {
             KAVO::Record r;
             r.setRecordDirectory(folder);
             return r.setOffset(12.5);
         }},
        // The window's snapshot encodes the picture and hands the bytes over here.
        {"snapshot", "snapshot.bmp", true, encodePicture,
         [](const QString& folder) { return KAVO::SafeFile::writeAll(folder + "/snapshot.bmp", picture()); }},
        {"KML", "flight.kml", true,
         [scratch](bool large) {
             ASSERT_TRUE(testsupport::loadExportProfile(scratch));
             testsupport::selectParameters({"A"});
             recordings().current = large ? &recordings().large : &recordings().small;
         },
         [](const QString& folder) {
             KAVO::KmlExportOptions o;
             o.exportDir = folder.toLocal8Bit();
             o.fileName = "flight.kml";
             o.startTime = 0.0;
             o.stopTime = 1e6;
             o.placeMarkInterval = 10;
             KAVO::ExportKml kml;
             return kml.exportData(*recordings().current, o);
         }},
        {"CSV", "flight.csv", true,
         [scratch](bool large) {
             ASSERT_TRUE(testsupport::loadExportProfile(scratch));
             recordings().current = large ? &recordings().large : &recordings().small;
         },
         [](const QString& folder) {
             KAVO::CsvExportOptions o = wholeRecording(folder, "flight.csv");
             return KAVO::ExportCsv().exportData(*recordings().current, o);
         }},
        {"CAN", "flight.CAN", true,
         [](bool large) { recordings().current = large ? &recordings().large : &recordings().small; },
         [](const QString& folder) {
             KAVO::CsvExportOptions o = wholeRecording(folder, "flight.CAN");
             o.can = 1;
             return KAVO::ExportCan().exportData(*recordings().current, o);
         }},
    };
}

class SafeWriteTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        TempDir dir;
        ASSERT_TRUE(testsupport::loadExportProfile(dir.path()));
        testsupport::StdoutCapture quiet;
        ASSERT_TRUE(testsupport::loadRecording(recordings().small, dir.path(), {{"LOG_0001.CAN", track(3)}}));
        ASSERT_TRUE(testsupport::loadRecording(recordings().large, dir.path(), {{"LOG_0002.CAN", track(40000)}}));
    }

    void SetUp() override
    {
        Notifier::setReportHandler([this](const Notifier::Report& r) { mReports.push_back(r); });
    }

    void TearDown() override
    {
        Notifier::setReportHandler(nullptr);
        KAVO::Property::instance()->clear();
    }

    // The folder holds exactly the old file, unchanged.
    static void expectOldFileOnly(const QString& folder, const char* file)
    {
        EXPECT_EQ(testsupport::readFile(folder + "/" + file), OldContent);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{file})
            << "a temporary file was left behind";
    }

    std::vector<Notifier::Report> mReports;
};

TEST_F(SafeWriteTest, EveryWriterFailsCleanlyUnderAFileSizeLimitAndOnAFullFileSystem)
{
    TempDir scratch;
    SmallFileSystem fs(16 * 1024 * 1024);
    if (!fs.mounted())
        std::printf("no small file system (%s): the file-size limit alone is tried\n",
                    fs.whyNot().toLocal8Bit().constData());

    for (const Writer& w : writers(scratch.path())) {
        for (const bool large : {false, true}) {
            if (large && !w.hasLarge)
                continue;
            SCOPED_TRACE(std::string(w.name) + (large ? " large" : " small"));
            w.prepare(large);
            TempDir base;
            const QString out = base.file("out");
            ASSERT_TRUE(QDir().mkpath(out));

            // What the writer writes when nothing is in its way.
            QByteArray reference;
            {
                testsupport::StdoutCapture quiet;
                ASSERT_TRUE(w.write(out));
                reference = testsupport::readFile(out + "/" + w.file);
            }
            const long long size = reference.size();
            if (large)
                ASSERT_GT(size, 1024 * 1024) << "not past the writers' buffers";
            else
                ASSERT_LT(size, 16 * 1024) << "not within a stream's first buffer";

            // The limit meets the write in its middle, and at its last byte.
            for (const long long limit : {size / 2, size - 1}) {
                SCOPED_TRACE("limit " + std::to_string(limit) + " of " + std::to_string(size));
                ASSERT_TRUE(testsupport::writeFile(out + "/" + w.file, OldContent));
                bool written = true;
                {
                    FileSizeLimit cap(limit);
                    written = w.write(out);
                }
                EXPECT_FALSE(written) << "a cut file was reported as written";
                expectOldFileOnly(out, w.file);
            }

            // With room for the whole file, the same write succeeds.
            {
                FileSizeLimit cap(size);
                EXPECT_TRUE(w.write(out));
            }
            EXPECT_EQ(testsupport::readFile(out + "/" + w.file), reference);

            if (!fs.mounted())
                continue;
            // A full disk: room for at most half of the file.
            const QString full = fs.path() + "/out";
            ASSERT_TRUE(QDir().mkpath(full));
            ASSERT_TRUE(testsupport::writeFile(full + "/" + w.file, OldContent));
            QFile::remove(fs.path() + "/filler");
            ASSERT_TRUE(fs.fill(size / 2));
            EXPECT_FALSE(w.write(full)) << "a write on a full disk was reported as success";
            expectOldFileOnly(full, w.file);
            QFile::remove(full + "/" + w.file);
        }
    }
}

TEST_F(SafeWriteTest, AFailedOffsetWriteKeepsTheOldOffsetAndIsReported)
{
    TempDir dir;
    testsupport::StdoutCapture quiet;
    KAVO::Record r;
    r.setRecordDirectory(dir.path());
    ASSERT_TRUE(r.setOffset(2.5));
    const QByteArray before = testsupport::readFile(dir.file("Offset.xml"));
    {
        FileSizeLimit cap(10);
        EXPECT_FALSE(r.setOffset(40.0));
    }
    EXPECT_EQ(r.recordData().offset, 2.5) << "the recording must not show what the file does not hold";
    EXPECT_EQ(testsupport::readFile(dir.file("Offset.xml")), before);
    ASSERT_EQ(mReports.size(), 1u);
    EXPECT_EQ(mReports[0].problem, Notifier::Problem::OffsetNotSaved);
    EXPECT_EQ(mReports[0].path, dir.file("Offset.xml"));
    EXPECT_EQ(mReports[0].value, 2.5);
}

TEST_F(SafeWriteTest, AFailedSettingsWriteIsReported)
{
    TempDir dir;
    testsupport::StdoutCapture quiet;
    KAVO::Property::instance()->setString("Locale", "fr");
    // A folder in place of the file: it cannot be replaced.
    ASSERT_TRUE(QDir().mkpath(dir.file("ORLO.ini")));
    EXPECT_FALSE(KAVO::Property::instance()->writeXmlFile(dir.fileStr("ORLO.ini")));
    ASSERT_EQ(mReports.size(), 1u);
    EXPECT_EQ(mReports[0].problem, Notifier::Problem::SettingsNotSaved);
    EXPECT_EQ(mReports[0].path, dir.file("ORLO.ini"));
    EXPECT_TRUE(QFileInfo(dir.file("ORLO.ini")).isDir());
}

TEST_F(SafeWriteTest, ReplacedFilesKeepTheirPermissionsAndLinks)
{
    TempDir dir;
    testsupport::StdoutCapture quiet;
    const QString target = dir.file("real.ini");
    ASSERT_TRUE(testsupport::writeFile(target, OldContent));
    ASSERT_EQ(chmod(QFile::encodeName(target).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(target, dir.file("link.ini")));

    ASSERT_TRUE(KAVO::SafeFile::writeAll(dir.file("link.ini"), "new"));
    EXPECT_TRUE(QFileInfo(dir.file("link.ini")).isSymLink()) << "the link was replaced by a file";
    EXPECT_EQ(testsupport::readFile(target), "new");
    struct stat st;
    ASSERT_EQ(stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // Only regular files are replaced.
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.file("pipe")).constData(), 0644), 0);
    EXPECT_FALSE(KAVO::SafeFile::writeAll(dir.file("pipe"), "x"));
    EXPECT_TRUE(QFileInfo(dir.file("pipe")).exists());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden).size(), 3);
}

} // namespace
