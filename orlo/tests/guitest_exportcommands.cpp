// The export commands of the main window end to end: a sample card loaded
// in the window, the time window set through the wizard (cursor position
// and time field), the files checked by outside readers.
#include "DialogCard.h"
#include "DialogData.h"
#include "DialogDataGraph.h"
#include "DialogExportCsv.h"
#include "DialogExportKml.h"
#include "DialogMain.h"
#include "Profile.h"
#include "Property.h"
#include "Record.h"
#include "SampleCard.h"
#include "StdoutCapture.h"
#include "TestSupport.h"
#include "DialogStatusBar.h"
#include "WidgetGraph.h"
#include "WriteLimits.h"
#include "gui/ScriptedPrompt.h"
#include "gui/WizardDriver.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <set>

using KAVO::DialogMain;
using testsupport::ProcessResult;
using testsupport::TempDir;
using Step = WizardDriver::Step;
using wizardsteps::choose;
using wizardsteps::click;
using wizardsteps::typeInto;
using wizardsteps::widget;

namespace {

// The stop field set to a time in seconds (below one day).
Step stopAt(double t)
{
    return wizardsteps::setTime("stopTime", QTime::fromMSecsSinceStartOfDay(static_cast<int>(t * 1000)));
}

// The vertices "x y z" of the KML file's track as ogrinfo reads them;
// empty (with a failure) when it cannot.
QStringList trackInGdal(const QString& kml, const QString& workDir)
{
    const ProcessResult r = testsupport::runProcess("ogrinfo", {"-ro", "-al", kml}, {}, workDir, 60000);
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
    const QRegularExpressionMatch line = QRegularExpression("LINESTRING Z \\(([^)]*)\\)").match(r.output);
    EXPECT_TRUE(line.hasMatch()) << r.output.left(2000).toStdString();
    return line.hasMatch() ? line.captured(1).split(',') : QStringList();
}

// The rows of a comma-separated file as Python's csv module reads them.
QJsonArray rowsInPython(const QString& csv, const QString& workDir)
{
    const QString script = workDir + "/read.py";
    EXPECT_TRUE(testsupport::writeFile(script, "import csv, json, sys\n"
                                               "with open(sys.argv[1], newline='') as f:\n"
                                               "    print(json.dumps(list(csv.reader(f, delimiter=','))))\n"));
    const ProcessResult r = testsupport::runProcess("python3", {script, csv}, {}, workDir, 30000);
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
    return QJsonDocument::fromJson(r.output.toUtf8()).array();
}

// A sample card in a fresh home with the settings store on it, an output
// folder, and the main window that exports.
class CardWindowTest : public ::testing::Test
{
protected:
    // Writes the card (its folder becomes "LastPath"); gives its offset.
    double writeCard(int64_t messages, int files)
    {
        KAVO::Property::instance()->clear();
        KAVO::Property::instance()->setConfigFile(mHome.fileStr("ORLO.ini"));
        KAVO::SampleCard::Options options;
        options.folder = mCard.file("CARD");
        options.messages = messages;
        options.files = files;
        KAVO::SampleCard card(options);
        EXPECT_TRUE(card.write());
        KAVO::Property::instance()->setString("LastPath", options.folder.toStdString());
        mFolder = options.folder;
        mOut = mCard.file("out");
        EXPECT_TRUE(QDir().mkpath(mOut));
        DialogMain::setExitHook([](int) {});
        return card.offset();
    }

    void TearDown() override
    {
        mWindow.reset();
        DialogMain::setExitHook(nullptr);
        KAVO::Property::instance()->clear();
    }

    // Runs a window command through its wizard, driven by the steps.
    bool runCommand(DialogMain::ActionType command, std::vector<Step> steps)
    {
        WizardDriver driver(std::move(steps));
        testsupport::StdoutCapture quiet;
        mWindow->action(command)->trigger();
        EXPECT_TRUE(driver.finishedSteps()) << "ran " << driver.ran() << " steps";
        return driver.finishedSteps();
    }

    // The exported record file, written without a warning, read back.
    void readExport(const QString& name, KAVO::Record& back)
    {
        EXPECT_EQ(mPrompt.count("critical"), 0);
        const QString path = mOut + "/" + name;
        ASSERT_TRUE(QFile::exists(path));
        testsupport::StdoutCapture quiet;
        ASSERT_TRUE(back.readRecordData({path}));
    }

    // The exported CSV file, written without a warning, as Python reads it.
    QJsonArray exportedRows(const QString& name)
    {
        EXPECT_EQ(mPrompt.count("critical"), 0);
        const QString path = mOut + "/" + name;
        EXPECT_TRUE(QFile::exists(path));
        return rowsInPython(path, mOut);
    }

    TempDir mHome;
    TempDir mCard;
    QString mFolder;
    QString mOut;
    ScriptedPrompt mPrompt;
    std::unique_ptr<DialogMain> mWindow;
};

class ExportCommandTest : public CardWindowTest
{
protected:
    void SetUp() override
    {
        writeCard(40000, 2);
        mFile = mFolder + "/LOG_0001.CAN";
        ASSERT_TRUE(QFile::exists(mFile));

        mWindow = std::make_unique<DialogMain>();
        // The start-up restore runs 20 ms after start; a loaded machine may take longer.
        ASSERT_TRUE(QTest::qWaitFor([this] { return !mWindow->restoreTimer()->isActive(); }, 10000));
        emit mWindow->cardList()->signalLoadRecord({mFile});
        ASSERT_GT(mWindow->record().recordData().nrRecords, 1000);
        // The cursor a quarter into the recording, through the data area's slider.
        QSlider* slider = mWindow->dataArea()->findChild<QSlider*>();
        ASSERT_NE(slider, nullptr);
        slider->setValue(slider->maximum() / 4);
        const KAVO::RecordInfo& info = mWindow->record().recordInfo();
        mCursor = mWindow->dataArea()->time();
        ASSERT_GT(mCursor, info.startTime + 1.0);
        ASSERT_LT(mCursor + 6.0, info.stopTime);
    }

    // Messages of the loaded recording inside [start, stop] on its timeline.
    int messagesIn(double start, double stop) const
    {
        const KAVO::Record& r = mWindow->record();
        int n = 0;
        for (const KAVO::RecordEntry& e : r.rawData().entries) {
            const double t = r.recordData().timeOf(e);
            n += start <= t && t <= stop ? 1 : 0;
        }
        return n;
    }

    QString mFile;
    double mCursor = 0.0;
};

TEST_F(ExportCommandTest, KmlThroughTheWizardReadsBackInGdal)
{
    // Window: from the cursor (whole seconds) for five seconds.
    const double start = std::trunc(mCursor);
    const double stop = start + 5.0;
    ASSERT_TRUE(runCommand(DialogMain::ActionExportKml, {
        [](QWizard* w) { EXPECT_EQ(widget<QLineEdit>(w, "fileName")->text(), "LOG_0001.kml"); },
        typeInto("exportDir", mOut),
        WizardDriver::next(),
        click("cursorStart"),
        stopAt(stop),
        WizardDriver::next(),
        WizardDriver::finish(),
    }));
    EXPECT_EQ(mPrompt.count("critical"), 0);
    const QString kml = mOut + "/LOG_0001.kml";
    ASSERT_TRUE(QFile::exists(kml));

    // A track point every 100 ms over five seconds.
    const int vertices = trackInGdal(kml, mOut).size();
    EXPECT_GE(vertices, 45);
    EXPECT_LE(vertices, 51);
    EXPECT_EQ(KAVO::Property::instance()->getString("KmlExportDir", ""), mOut.toStdString());

    // Cancelled: nothing written, no message.
    QFile::remove(kml);
    ASSERT_TRUE(runCommand(DialogMain::ActionExportKml, {WizardDriver::cancel()}));
    EXPECT_FALSE(QFile::exists(kml));
    EXPECT_EQ(mPrompt.count("critical"), 0);

    // A folder that does not exist: the window's warning.
    ASSERT_TRUE(runCommand(DialogMain::ActionExportKml, {
        typeInto("exportDir", mOut + "/missing"),
        WizardDriver::next(),
        WizardDriver::next(),
        WizardDriver::finish(),
    }));
    ASSERT_EQ(mPrompt.count("critical"), 1);
    EXPECT_EQ(mPrompt.asked.last().title, "ORLO Warning");
    EXPECT_EQ(mPrompt.asked.last().text, "Exporting KML file failed !");
    EXPECT_EQ(mPrompt.asked.last().filter, "Ok");
}

TEST_F(ExportCommandTest, CsvThroughTheWizardReadsBackInPython)
{
    // The cursor position as its field shows it: whole milliseconds.
    const double start = std::trunc(mCursor * 1000) / 1000;
    const double stop = std::trunc(mCursor) + 3.0;
    ASSERT_TRUE(runCommand(DialogMain::ActionExportCsv, {
        typeInto("exportDir", mOut),
        WizardDriver::next(),
        choose("limiter", "Comma ,"),
        choose("parameter", "All Parameter"),
        click("cursorStart"),
        stopAt(stop),
        WizardDriver::finish(),
    }));
    const QJsonArray rows = exportedRows("ExportOrlo.csv");
    ASSERT_GT(rows.size(), 2);
    const QJsonArray header = rows[0].toArray();
    EXPECT_EQ(header[0].toString(), "Time");
    EXPECT_GT(header.size(), 10);   // every parameter of the profile
    for (const QJsonValue& row : rows)
        ASSERT_EQ(row.toArray().size(), header.size());
    // Rows on the 100 ms grid from the window's first message (time 0) to its stop.
    auto seconds = [](const QString& text) {
        const QStringList p = text.split(':');
        return p.value(0).toInt() * 3600 + p.value(1).toInt() * 60 + p.value(2).toDouble();
    };
    const double first = seconds(rows[1].toArray()[0].toString());
    const double last = seconds(rows.last().toArray()[0].toString());
    EXPECT_EQ(first, 0.0);
    EXPECT_NEAR(last, stop - start, 0.11);
    EXPECT_NEAR(rows.size() - 1, last * 10 + 1, 0.01);
    EXPECT_EQ(KAVO::Property::instance()->getInt("CsvLimiter", 0), ',');
}

TEST_F(ExportCommandTest, CsvThatCannotFitIsRefusedWithItsRowCount)
{
    // Five seconds at 1 ms: some 5000 rows, far more than the 16 KB a file may take.
    const double stop = std::trunc(mCursor) + 5.0;
    {
        testsupport::FileSizeLimit cap(16 * 1024);
        ASSERT_TRUE(runCommand(DialogMain::ActionExportCsv, {
            typeInto("exportDir", mOut),
            WizardDriver::next(),
            choose("resolution", "1 ms"),
            choose("parameter", "All Parameter"),
            click("cursorStart"),
            stopAt(stop),
            WizardDriver::finish(),
        }));
    }
    // One message, naming the rows; not the general failure on top of it.
    ASSERT_EQ(mPrompt.count("critical"), 1);
    EXPECT_EQ(mPrompt.asked.last().title, "KAVO Warning");
    const QRegularExpressionMatch rows =
        QRegularExpression("^The CSV export needs (\\d+) rows, at least [0-9.]+ [KM]iB, but only 16.0 KiB are free for\n" +
                           QRegularExpression::escape(mOut + "/ExportOrlo.csv") + "\nNothing was written.$")
            .match(mPrompt.asked.last().text);
    ASSERT_TRUE(rows.hasMatch()) << mPrompt.asked.last().text.toStdString();
    EXPECT_GE(rows.captured(1).toInt(), 4000);
    EXPECT_LE(rows.captured(1).toInt(), 5001 + static_cast<int>((mCursor - std::trunc(mCursor)) * 1000));
    EXPECT_FALSE(QFile::exists(mOut + "/ExportOrlo.csv"));
    // Like the load, the export ran the status bar's progress bar to its end.
    EXPECT_EQ(mWindow->statusBarWidget()->progressBar()->value(), 100);
}

TEST_F(ExportCommandTest, CanThroughTheWizardReadsBackAsARecording)
{
    const double start = std::trunc(mCursor * 1000) / 1000;
    const double stop = std::trunc(mCursor) + 4.0;
    ASSERT_TRUE(runCommand(DialogMain::ActionExportCsv, {
        typeInto("exportDir", mOut),
        choose("exportType", ".CAN Export"),
        WizardDriver::next(),
        click("cursorStart"),
        stopAt(stop),
        WizardDriver::finish(),
    }));
    KAVO::Record back;
    ASSERT_NO_FATAL_FAILURE(readExport("ExportOrlo.CAN", back));
    const int expected = messagesIn(start, stop);
    ASSERT_GT(expected, 100);
    EXPECT_EQ(back.recordData().nrRecords, expected);
    // The window's start is the new zero.
    EXPECT_GE(back.recordInfo().startTime, 0.0);
    EXPECT_LE(back.recordInfo().stopTime, stop - start + 1e-6);
    EXPECT_EQ(KAVO::Property::instance()->getInt("CsvCan", 0), 1);

    // The next run proposes the CAN type again; cancelled, nothing happens.
    const QString can = mOut + "/ExportOrlo.CAN";
    QFile::remove(can);
    ASSERT_TRUE(runCommand(DialogMain::ActionExportCsv, {
        [](QWizard* w) { EXPECT_EQ(widget<QLineEdit>(w, "fileName")->text(), "ExportOrlo.CAN"); },
        WizardDriver::cancel(),
    }));
    EXPECT_FALSE(QFile::exists(can));

    // A folder that cannot be written: the window's warning.
    ASSERT_TRUE(runCommand(DialogMain::ActionExportCsv, {
        typeInto("exportDir", mOut + "/missing"),
        WizardDriver::next(),
        WizardDriver::finish(),
    }));
    ASSERT_EQ(mPrompt.count("critical"), 1);
    EXPECT_EQ(mPrompt.asked.last().title, "ORLO Viewer Warning");
    EXPECT_EQ(mPrompt.asked.last().text, "Exporting CSV/CAN file failed !");
}

// ------------------------------------------------------------------ whole card

// The whole sample card in the window: two low files and the high file
// "LOG_8001.CAN", which its folder's "Offset.xml" puts behind the second
// one. The markers are set on the graph tab; the files must hold the
// markers' window on the one timeline, where a high file's message sits at
// its recorded time plus the offset.
class WholeCardExportTest : public CardWindowTest
{
protected:
    struct Message
    {
        double t;   // on the one timeline
        const KAVO::RecordEntry* entry;
    };

    void SetUp() override
    {
        mOffset = writeCard(36000, 3);
        ASSERT_GT(mOffset, 10.0);
        ASSERT_TRUE(QFile::exists(mFolder + "/LOG_8001.CAN"));
        ASSERT_TRUE(QFile::exists(mFolder + "/Offset.xml"));

        mWindow = std::make_unique<DialogMain>();
        mWindow->resize(1400, 900);
        mWindow->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(mWindow.get()));
        ASSERT_TRUE(QTest::qWaitFor([this] { return !mWindow->restoreTimer()->isActive(); }, 10000));
        // Every file of the card selected in the card list.
        QTreeWidget* tree = mWindow->cardList()->tree();
        ASSERT_TRUE(QTest::qWaitFor([tree] { return tree->topLevelItemCount() == 3; }, 10000));
        int32_t samples = 0;
        int32_t highSamples = 0;
        for (const auto& file : mWindow->cardInfo().records) {
            samples += file.second.samples;
            highSamples += file.first.endsWith("/LOG_8001.CAN") ? file.second.samples : 0;
        }
        ASSERT_GT(highSamples, 1000);
        {
            testsupport::StdoutCapture quiet;
            tree->selectAll();
            ASSERT_TRUE(QTest::qWaitFor([&] { return mWindow->record().recordData().nrRecords == samples; }, 30000));
        }
        const KAVO::Record& r = mWindow->record();
        EXPECT_NEAR(r.recordData().offset, mOffset, 1e-6);

        // The timeline, from the generator's offset.
        int high = 0;
        mRawHighEnd = -1e9;
        mLowEnd = -1e9;
        mEnd = -1e9;
        mBegin = 1e9;
        for (const KAVO::RecordEntry& e : r.rawData().entries) {
            const double t = e.highFile ? e.time + mOffset : e.time;
            mTimeline.push_back(Message{t, &e});
            high += e.highFile ? 1 : 0;
            if (e.highFile)
                mRawHighEnd = std::max(mRawHighEnd, e.time);
            else
                mLowEnd = std::max(mLowEnd, t);
            mEnd = std::max(mEnd, t);
            mBegin = std::min(mBegin, t);
        }
        ASSERT_EQ(high, highSamples);
        // The high file goes on after the low ones; its own clock alone would
        // put it among them.
        ASSERT_GT(mEnd, mLowEnd + 30.0);
        ASSERT_LT(mRawHighEnd, mLowEnd + 1.0);
        // The recording's span is that of the one timeline.
        EXPECT_DOUBLE_EQ(r.recordInfo().startTime, mBegin);
        EXPECT_DOUBLE_EQ(r.recordInfo().stopTime, mEnd);
    }

    // The two markers, set on the graph tab.
    void setMarkers(double start, double stop)
    {
        KAVO::DialogDataGraph* graphTab = mWindow->dataArea()->findChild<KAVO::DialogDataGraph*>();
        QTabWidget* tabs = mWindow->dataArea()->findChild<QTabWidget*>();
        ASSERT_NE(graphTab, nullptr);
        ASSERT_NE(tabs, nullptr);
        ASSERT_GE(tabs->indexOf(graphTab), 0);
        tabs->setCurrentWidget(graphTab);
        ASSERT_TRUE(QTest::qWaitFor([graphTab] { return graphTab->isVisible(); }, 5000));
        graphTab->graph()->setMarker(start, stop);
        EXPECT_EQ(mWindow->dataArea()->markStart(), start);
        EXPECT_EQ(mWindow->dataArea()->markStop(), stop);
    }

    // A page-2 step: the time fields show the markers.
    static Step showsWindow(double start, double stop)
    {
        return [start, stop](QWizard* w) {
            auto text = [](double t) {
                return QTime::fromMSecsSinceStartOfDay(static_cast<int>(t * 1000)).toString("hh:mm:ss.zzz");
            };
            EXPECT_EQ(widget<QTimeEdit>(w, "startTime")->time().toString("hh:mm:ss.zzz"), text(start));
            EXPECT_EQ(widget<QTimeEdit>(w, "stopTime")->time().toString("hh:mm:ss.zzz"), text(stop));
        };
    }

    // Messages of one channel and id in [start, stop] on the timeline, in time order.
    std::vector<Message> inWindow(double start, double stop, int channel = -1, int id = -1) const
    {
        std::vector<Message> found;
        for (const Message& m : mTimeline) {
            if (start <= m.t && m.t <= stop && (channel < 0 || (m.entry->channel == channel &&
                                                                static_cast<int>(m.entry->canId) == id)))
                found.push_back(m);
        }
        std::stable_sort(found.begin(), found.end(), [](const Message& a, const Message& b) { return a.t < b.t; });
        return found;
    }

    double mOffset = 0.0;
    double mLowEnd = 0.0;      // last message of the low files
    double mRawHighEnd = 0.0;  // last message of the high file by its own clock
    double mBegin = 0.0;
    double mEnd = 0.0;         // last message on the timeline
    std::vector<Message> mTimeline;
};

TEST_F(WholeCardExportTest, KmlTrackOfTheHighFileLiesOnTheOneTimeline)
{
    // A window that only the offset brings messages into.
    const double start = std::floor(std::max(mLowEnd, mRawHighEnd)) + 2.25;
    const double stop = start + 6.5;
    ASSERT_LT(stop, mEnd);
    setMarkers(start, stop);
    const QString name = mWindow->firstRecordPath().section('/', -1).section('.', 0, 0) + ".kml";
    ASSERT_TRUE(runCommand(DialogMain::ActionExportKml, {
        [name](QWizard* w) { EXPECT_EQ(widget<QLineEdit>(w, "fileName")->text(), name); },
        typeInto("exportDir", mOut),
        WizardDriver::next(),
        showsWindow(start, stop),
        WizardDriver::next(),
        WizardDriver::finish(),
    }));
    EXPECT_EQ(mPrompt.count("critical"), 0);
    const QString kml = mOut + "/" + name;
    ASSERT_TRUE(QFile::exists(kml));

    // The track expected: one point per 100 ms step of the position
    // messages in the window, the last message of a step giving its value.
    const KAVO::Profile* profile = KAVO::Profile::instance();
    const KAVO::Profile::KmlInfo& roles = profile->kmlInfo();
    const double step = static_cast<double>(static_cast<float>(100 * 0.001));
    std::map<int, std::array<double, 3>> track;
    const int channels[3] = {roles.longitudeChannel, roles.latitudeChannel, roles.altitudeChannel};
    const int ids[3] = {roles.longitudeId, roles.latitudeId, roles.altitudeId};
    for (int k = 0; k < 3; ++k) {
        const std::vector<Message> messages = inWindow(start, stop, channels[k], ids[k]);
        ASSERT_GT(messages.size(), 50u) << k;
        for (const Message& m : messages) {
            ASSERT_TRUE(m.entry->highFile);
            track[static_cast<int>(m.t / step)][k] = profile->getDouble(*m.entry, true);
        }
    }

    const QStringList vertices = trackInGdal(kml, mOut);
    ASSERT_EQ(vertices.size(), static_cast<int>(track.size()));
    int n = 0;
    for (const auto& point : track) {
        const QStringList xyz = vertices[n++].trimmed().split(' ');
        ASSERT_EQ(xyz.size(), 3) << vertices[n - 1].toStdString();
        EXPECT_NEAR(xyz[0].toDouble(), point.second[0], 1e-7) << n;
        EXPECT_NEAR(xyz[1].toDouble(), point.second[1], 1e-7) << n;
        EXPECT_NEAR(xyz[2].toDouble(), point.second[2], 0.051) << n;
    }
}

TEST_F(WholeCardExportTest, CsvAcrossTheHighFilesStartReadsBackInPython)
{
    // From the end of the low files into the high file.
    const double start = std::floor(mLowEnd) - 2.25;
    const double stop = std::floor(mLowEnd) + 3.5;
    setMarkers(start, stop);
    ASSERT_TRUE(runCommand(DialogMain::ActionExportCsv, {
        typeInto("exportDir", mOut),
        choose("exportType", ".CSV Export"),
        WizardDriver::next(),
        showsWindow(start, stop),
        choose("limiter", "Comma ,"),
        choose("resolution", "100 ms"),
        choose("parameter", "All Parameter"),
        WizardDriver::finish(),
    }));
    const QJsonArray rows = exportedRows("ExportOrlo.csv");
    ASSERT_GT(rows.size(), 2);

    // Every parameter of the profile; the window's first message (on the
    // timeline) opens the grid, the stop marker closes it.
    const KAVO::ProfileParameter* rpm = nullptr;
    std::set<std::pair<int, int>> ids;
    int parameters = 0;
    for (const auto& device : KAVO::Profile::instance()->data().mDevices) {
        for (const auto& item : device.second.mParameters) {
            ++parameters;
            ids.emplace(item.second.mChannel, item.second.mCanId);
            if (item.second.mChannel == 0 && item.second.mCanId == 0x100)
                rpm = &item.second;
        }
    }
    ASSERT_NE(rpm, nullptr);
    double first = 1e15;
    for (const Message& m : inWindow(start, stop)) {
        if (ids.count({m.entry->channel, static_cast<int>(m.entry->canId)}) != 0)
            first = std::min(first, m.t);
    }
    const QJsonArray header = rows[0].toArray();
    ASSERT_EQ(header.size(), parameters + 1);
    EXPECT_EQ(header[0].toString(), "Time");
    const int rpmColumn = header.toVariantList().indexOf(rpm->mName);
    ASSERT_GT(rpmColumn, 0);
    auto gridRow = [](double t) { return static_cast<int64_t>(t * 10 + 0.5); };
    EXPECT_EQ(rows.size() - 1, gridRow(stop) - gridRow(first) + 1);
    for (const QJsonValue& row : rows)
        ASSERT_EQ(row.toArray().size(), header.size());
    EXPECT_EQ(rows[1].toArray()[0].toString(),
              gridRow(first) > static_cast<int64_t>(first * 10) ? "0:00:00.100" : "0:00:00.000");

    // The last row holds the high file's last value before the stop marker.
    const std::vector<Message> speeds = inWindow(start, stop, 0, 0x100);
    ASSERT_FALSE(speeds.empty());
    ASSERT_TRUE(speeds.back().entry->highFile);
    QColor colour;
    const QString last = KAVO::Profile::instance()->getDataString(*speeds.back().entry, *rpm, colour);
    ASSERT_FALSE(last.isEmpty());
    EXPECT_EQ(rows.last().toArray()[rpmColumn].toString(), last);
    // Before the low files end, a low file's value.
    bool lowSeen = false;
    for (const Message& m : speeds)
        lowSeen = lowSeen || !m.entry->highFile;
    EXPECT_TRUE(lowSeen);
}

TEST_F(WholeCardExportTest, CanClampedToTheRecordingsEndReadsBackAsARecording)
{
    const double start = std::floor(mLowEnd) - 1.5;
    setMarkers(start, start + 1.0);
    ASSERT_TRUE(runCommand(DialogMain::ActionExportCsv, {
        typeInto("exportDir", mOut),
        choose("exportType", ".CAN Export"),
        WizardDriver::next(),
        showsWindow(start, start + 1.0),
        // A stop after the recording: its end on the one timeline.
        wizardsteps::setTime("stopTime", QTime(23, 59, 59, 999)),
        WizardDriver::finish(),
    }));
    KAVO::Record back;
    ASSERT_NO_FATAL_FAILURE(readExport("ExportOrlo.CAN", back));
    const std::vector<Message> expected = inWindow(start, mEnd);
    ASSERT_GT(expected.size(), 1000u);
    ASSERT_TRUE(expected.back().entry->highFile);
    const std::vector<KAVO::RecordEntry>& read = back.rawData().entries;
    ASSERT_EQ(read.size(), expected.size());
    std::vector<const KAVO::RecordEntry*> sorted;
    for (const KAVO::RecordEntry& e : read)
        sorted.push_back(&e);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const KAVO::RecordEntry* a, const KAVO::RecordEntry* b) { return a->time < b->time; });
    // The start marker is the new zero; every message keeps its place on the timeline.
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const KAVO::RecordEntry& e = *sorted[i];
        const KAVO::RecordEntry& original = *expected[i].entry;
        ASSERT_NEAR(e.time, expected[i].t - start, 1e-6) << i;
        ASSERT_FALSE(e.highFile);
        ASSERT_EQ(e.channel, original.channel) << i;
        ASSERT_EQ(e.canId, original.canId) << i;
        ASSERT_EQ(std::memcmp(e.data, original.data, 8), 0) << i;
    }
    EXPECT_NEAR(back.recordInfo().stopTime, mEnd - start, 1e-6);
}

} // namespace
