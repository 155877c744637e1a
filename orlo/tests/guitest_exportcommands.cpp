// The export commands of the main window end to end: a sample card loaded
// in the window, the time window set through the wizard (cursor position
// and time field), the files checked by outside readers.
#include "DialogCard.h"
#include "DialogData.h"
#include "DialogExportCsv.h"
#include "DialogExportKml.h"
#include "DialogMain.h"
#include "Property.h"
#include "Record.h"
#include "SampleCard.h"
#include "StdoutCapture.h"
#include "TestSupport.h"
#include "gui/ScriptedPrompt.h"
#include "gui/WizardDriver.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTest>
#include <QTimeEdit>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

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

class ExportCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KAVO::Property::instance()->clear();
        KAVO::Property::instance()->setConfigFile(mHome.fileStr("ORLO.ini"));
        KAVO::SampleCard::Options options;
        options.folder = mCard.file("CARD");
        options.messages = 40000;
        options.files = 2;
        KAVO::SampleCard card(options);
        ASSERT_TRUE(card.write());
        KAVO::Property::instance()->setString("LastPath", options.folder.toStdString());
        mFile = options.folder + "/LOG_0001.CAN";
        ASSERT_TRUE(QFile::exists(mFile));
        mOut = mCard.file("out");
        ASSERT_TRUE(QDir().mkpath(mOut));
        DialogMain::setExitHook([](int) {});

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

    void TearDown() override
    {
        mWindow.reset();
        DialogMain::setExitHook(nullptr);
        KAVO::Property::instance()->clear();
    }

    bool runCommand(DialogMain::ActionType command, std::vector<Step> steps)
    {
        WizardDriver driver(std::move(steps));
        testsupport::StdoutCapture quiet;
        mWindow->action(command)->trigger();
        EXPECT_TRUE(driver.finishedSteps()) << "ran " << driver.ran() << " steps";
        return driver.finishedSteps();
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

    TempDir mHome;
    TempDir mCard;
    QString mFile;
    QString mOut;
    double mCursor = 0.0;
    ScriptedPrompt mPrompt;
    std::unique_ptr<DialogMain> mWindow;
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

    const ProcessResult r = testsupport::runProcess("ogrinfo", {"-ro", "-al", kml}, {}, mOut, 60000);
    ASSERT_TRUE(r.finished);
    ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
    const QRegularExpressionMatch line = QRegularExpression("LINESTRING Z \\(([^)]*)\\)").match(r.output);
    ASSERT_TRUE(line.hasMatch()) << r.output.left(2000).toStdString();
    // A track point every 100 ms over five seconds.
    const int vertices = line.captured(1).split(',').size();
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
    EXPECT_EQ(mPrompt.count("critical"), 0);
    const QString csv = mOut + "/ExportOrlo.csv";
    ASSERT_TRUE(QFile::exists(csv));

    const QString script = mOut + "/read.py";
    ASSERT_TRUE(testsupport::writeFile(script, "import csv, json, sys\n"
                                               "with open(sys.argv[1], newline='') as f:\n"
                                               "    print(json.dumps(list(csv.reader(f, delimiter=','))))\n"));
    const ProcessResult r = testsupport::runProcess("python3", {script, csv}, {}, mOut, 30000);
    ASSERT_TRUE(r.finished);
    ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(r.output.toUtf8()).array();
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
    EXPECT_EQ(mPrompt.count("critical"), 0);
    const QString can = mOut + "/ExportOrlo.CAN";
    ASSERT_TRUE(QFile::exists(can));

    KAVO::Record back;
    {
        testsupport::StdoutCapture quiet;
        ASSERT_TRUE(back.readRecordData({can}));
    }
    const int expected = messagesIn(start, stop);
    ASSERT_GT(expected, 100);
    EXPECT_EQ(back.recordData().nrRecords, expected);
    // The window's start is the new zero.
    EXPECT_GE(back.recordInfo().startTime, 0.0);
    EXPECT_LE(back.recordInfo().stopTime, stop - start + 1e-6);
    EXPECT_EQ(KAVO::Property::instance()->getInt("CsvCan", 0), 1);

    // The next run proposes the CAN type again; cancelled, nothing happens.
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

} // namespace
