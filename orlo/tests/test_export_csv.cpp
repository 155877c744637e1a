#include "CsvExportOptions.h"
#include "ExportCsv.h"
#include "Profile.h"
#include "Record.h"
#include "StdoutCapture.h"
#include "TestRecords.h"
#include "TestSupport.h"

#include <QColor>
#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <vector>

using KAVO::CsvExportOptions;
using KAVO::ExportCsv;
using KAVO::Record;
using testsupport::TempDir;
using testsupport::TestMessage;
using testsupport::floatMessage;
using testsupport::wordMessage;
using namespace testsupport;

namespace {

class CsvExportTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        TempDir dir;
        ASSERT_TRUE(loadExportProfile(dir.path()));
    }

    void SetUp() override { selectParameters({"A", "B"}); }

    void load(const std::vector<TestFile>& files) { ASSERT_TRUE(loadRecording(mRecord, mDir.path(), files)); }

    CsvExportOptions options(char limiter, double start, double stop, int resolution = 100)
    {
        CsvExportOptions o;
        o.exportDir = mDir.path().toLocal8Bit();
        o.fileName = "out.csv";
        o.limiter = limiter;
        o.startTime = start;
        o.stopTime = stop;
        o.resolution = resolution;
        return o;
    }

    QByteArray exported(CsvExportOptions o)
    {
        ExportCsv csv;
        EXPECT_TRUE(csv.exportData(mRecord, o));
        return readFile(mDir.file(QString::fromLocal8Bit(o.fileName)));
    }

    TempDir mDir;
    Record mRecord;
};

// The worked example: A at 1.00 s (1.5) and 1.23 s (2.25), B at 1.10 s (7),
// window 0 to 1.5 s at 100 ms.
std::vector<TestMessage> workedExample()
{
    return {floatMessage(0, IdA, 1.00, 1.5f), floatMessage(0, IdB, 1.10, 7.0f), floatMessage(0, IdA, 1.23, 2.25f)};
}

TEST_F(CsvExportTest, WorkedExampleByteForByteWithSemicolonAndTab)
{
    load({{"LOG_0001.CAN", workedExample()}});
    EXPECT_EQ(exported(options(';', 0.0, 1.5)), QByteArray("Time;A;B\n"
                                                           "0:00:00.000;1.5;\n"
                                                           "0:00:00.100;1.5;7\n"
                                                           "0:00:00.200;2.25;7\n"
                                                           "0:00:00.300;2.25;7\n"
                                                           "0:00:00.400;2.25;7\n"
                                                           "0:00:00.500;2.25;7\n"));
    EXPECT_EQ(exported(options('\t', 0.0, 1.5)), QByteArray("Time\tA\tB\n"
                                                            "0:00:00.000\t1.5\t\n"
                                                            "0:00:00.100\t1.5\t7\n"
                                                            "0:00:00.200\t2.25\t7\n"
                                                            "0:00:00.300\t2.25\t7\n"
                                                            "0:00:00.400\t2.25\t7\n"
                                                            "0:00:00.500\t2.25\t7\n"));
    // Order of the columns is the profile's, not the selection's.
    selectParameters({"B", "A"});
    EXPECT_TRUE(exported(options(',', 0.0, 1.5)).startsWith("Time,A,B\n0:00:00.000,1.5,\n"));
}

TEST_F(CsvExportTest, FirstRowShowsOneStepWhenTheFirstTimeRoundsUp)
{
    // 0.06 s lies in row 1; the time text counts from row 0 (truncated).
    load({{"LOG_0001.CAN", {floatMessage(0, IdA, 0.06, 3.0f), floatMessage(0, IdB, 0.31, 4.0f)}}});
    EXPECT_EQ(exported(options(';', 0.0, 0.3)), QByteArray("Time;A;B\n"
                                                           "0:00:00.100;3;\n"
                                                           "0:00:00.200;3;\n"
                                                           "0:00:00.300;3;\n"));
}

TEST_F(CsvExportTest, LateParameterLeavesItsCellsEmptyUntilItsFirstValue)
{
    load({{"LOG_0001.CAN", {floatMessage(0, IdA, 2.0, 1.0f), floatMessage(0, IdB, 2.021, 5.0f),
                            floatMessage(0, IdA, 2.031, 2.0f)}}});
    EXPECT_EQ(exported(options(';', 2.0, 2.04, 10)), QByteArray("Time;A;B\n"
                                                                "0:00:00.000;1;\n"
                                                                "0:00:00.010;1;\n"
                                                                "0:00:00.020;1;5\n"
                                                                "0:00:00.030;2;5\n"
                                                                "0:00:00.040;2;5\n"));
}

TEST_F(CsvExportTest, EmptyWindowGivesTheHeaderOnly)
{
    load({{"LOG_0001.CAN", workedExample()}});
    EXPECT_EQ(exported(options(';', 5.0, 9.0, 1)), QByteArray("Time;A;B\n"));
    // Reversed window, no parameter at all.
    EXPECT_EQ(exported(options(';', 1.5, 0.0)), QByteArray("Time;A;B\n"));
    selectParameters({});
    EXPECT_EQ(exported(options(';', 0.0, 1.5)), QByteArray("Time\n"));
    CsvExportOptions all = options(';', 0.0, 1.5);
    all.allParameter = true;
    EXPECT_TRUE(exported(all).startsWith("Time;A;B;Speed;Mode;Latitude;Longitude;Altitude\n"));
}

TEST_F(CsvExportTest, HighFileRowsSitAtTheirTimePlusTheOffset)
{
    ASSERT_TRUE(writeFile(mDir.file("Offset.xml"), "<KavoOffset><Offset value=\"10.000000000000\"/></KavoOffset>"));
    // B's recorder clock started again: stored at 0.1 s, it belongs at 10.1 s.
    load({{"LOG_0001.CAN", {floatMessage(0, IdA, 10.0, 1.0f)}}, {"LOG_8001.CAN", {floatMessage(0, IdB, 0.1, 2.0f)}}});
    EXPECT_EQ(exported(options(';', 9.95, 10.2)), QByteArray("Time;A;B\n"
                                                             "0:00:00.000;1;\n"
                                                             "0:00:00.100;1;2\n"
                                                             "0:00:00.200;1;2\n"));
}

TEST_F(CsvExportTest, LowAndHighFilesFillOneColumnOnOneTimeline)
{
    ASSERT_TRUE(writeFile(mDir.file("Offset.xml"), "<KavoOffset><Offset value=\"10.000000000000\"/></KavoOffset>"));
    // A's list holds messages of both files: the low ones at their stored
    // time, the high ones 10 s later, whichever file the selection names last.
    const TestFile low = {"LOG_0001.CAN", {floatMessage(0, IdA, 10.0, 1.0f), floatMessage(0, IdA, 10.3, 3.0f)}};
    const TestFile high = {"LOG_8001.CAN", {floatMessage(0, IdA, 0.1, 2.0f), floatMessage(0, IdB, 0.2, 5.0f),
                                            floatMessage(0, IdA, 10.2, 9.0f)}};
    const QByteArray expected("Time;A;B\n"
                              "0:00:00.000;1;\n"
                              "0:00:00.100;2;\n"
                              "0:00:00.200;2;5\n"
                              "0:00:00.300;3;5\n"
                              "0:00:00.400;3;5\n");
    for (const bool highLast : {true, false}) {
        SCOPED_TRACE(highLast ? "high file last" : "high file first");
        mRecord = Record();
        load(highLast ? std::vector<TestFile>{low, high} : std::vector<TestFile>{high, low});
        ASSERT_EQ(mRecord.recordData().idList(0, IdA).size(), 4u);
        EXPECT_EQ(mRecord.recordData().idList(0, IdA).highFile, highLast);
        EXPECT_EQ(exported(options(';', 9.95, 10.4)), expected);
    }
}

TEST_F(CsvExportTest, QuotesOnlyCellsThatNeedItAndPythonReadsThem)
{
    selectParameters({"A", "Mode"});
    load({{"LOG_0001.CAN", {floatMessage(0, IdA, 1.0, 1.5f), wordMessage(0, IdMode, 1.0, 1),
                            wordMessage(0, IdMode, 1.1, 2)}}});
    EXPECT_EQ(exported(options(',', 1.0, 1.1)), QByteArray("Time,A,Mode\n"
                                                           "0:00:00.000,1.5,\"1: on; off, \"\"x\"\"\"\n"
                                                           "0:00:00.100,1.5,2: plain\n"));

    const QString script = mDir.file("read.py");
    ASSERT_TRUE(writeFile(script, "import csv, json, sys\n"
                                  "with open(sys.argv[1], newline='') as f:\n"
                                  "    print(json.dumps(list(csv.reader(f, delimiter=sys.argv[2]))))\n"));
    for (const char limiter : {',', ';', '\t'}) {
        exported(options(limiter, 1.0, 1.1));
        const ProcessResult r = runProcess("python3", {script, mDir.file("out.csv"), QString(QChar(limiter))}, {},
                                           mDir.path(), 30000);
        ASSERT_TRUE(r.finished);
        ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
        const QJsonArray rows = QJsonDocument::fromJson(r.output.toUtf8()).array();
        ASSERT_EQ(rows.size(), 3) << r.output.toStdString();
        const QStringList expected[3] = {{"Time", "A", "Mode"},
                                         {"0:00:00.000", "1.5", "1: on; off, \"x\""},
                                         {"0:00:00.100", "1.5", "2: plain"}};
        for (int i = 0; i < 3; ++i) {
            QStringList got;
            for (const QJsonValue& v : rows[i].toArray())
                got << v.toString();
            EXPECT_EQ(got, expected[i]) << "separator " << int(limiter) << " row " << i;
        }
    }
}

TEST_F(CsvExportTest, FailuresReturnFalseAndKeepTheOldFile)
{
    load({{"LOG_0001.CAN", workedExample()}});
    CsvExportOptions o = options(';', 0.0, 1.5);
    o.exportDir = mDir.file("missing/folder").toLocal8Bit();
    ExportCsv csv;
    {
        StdoutCapture out;
        EXPECT_FALSE(csv.exportData(mRecord, o));
        EXPECT_TRUE(out.text().contains("could not open <" + mDir.file("missing/folder/out.csv") + "> for write !"));
    }
    // A zero resolution would divide by zero: refused, the file stays.
    ASSERT_TRUE(writeFile(mDir.file("out.csv"), "old"));
    o = options(';', 0.0, 1.5, 0);
    {
        StdoutCapture out;
        EXPECT_FALSE(csv.exportData(mRecord, o));
        EXPECT_TRUE(out.text().contains("resolution <0>"));
    }
    EXPECT_EQ(readFile(mDir.file("out.csv")), QByteArray("old"));
}

// The table as the in-memory algorithm builds it: every row of the grid,
// each message into the row of its time, then the carry forward.
QByteArray referenceTable(const Record& record, const CsvExportOptions& o)
{
    KAVO::Profile* profile = KAVO::Profile::instance();
    const KAVO::RecordData& data = record.recordData();
    std::vector<const KAVO::ProfileParameter*> params;
    for (const auto& d : profile->data().mDevices)
        for (const auto& p : d.second.mParameters)
            if (o.allParameter || p.second.mSelected)
                params.push_back(&p.second);
    const double r = 1 / (o.resolution * 0.001);
    auto rowOf = [&](double t) { return static_cast<long long>(t * r + 0.5); };
    auto inWindow = [&](double t) { return o.startTime <= t && t <= o.stopTime; };
    double first = 1e15;
    for (const auto* p : params) {
        const auto& list = data.idList(p->mChannel, p->mCanId);
        for (const auto& e : list.entries)
            if (inWindow(data.timeOf(list, e)))
                first = std::min(first, data.timeOf(list, e));
    }
    std::map<long long, std::vector<QByteArray>> rows;
    if (first < 1e15)
        for (long long k = rowOf(first); k <= rowOf(o.stopTime); ++k)
            rows[k] = std::vector<QByteArray>(params.size());
    QColor colour;
    for (std::size_t j = 0; j < params.size(); ++j) {
        const auto& list = data.idList(params[j]->mChannel, params[j]->mCanId);
        for (const auto& e : list.entries)
            if (inWindow(data.timeOf(list, e)))
                rows[rowOf(data.timeOf(list, e))][j] = profile->getDataString(e, *params[j], colour).toUtf8();
    }
    for (auto it = rows.begin(); it != rows.end() && std::next(it) != rows.end(); ++it)
        for (std::size_t j = 0; j < params.size(); ++j)
            if (std::next(it)->second[j].isEmpty())
                std::next(it)->second[j] = it->second[j];
    QByteArray out = "Time";
    for (const auto* p : params)
        out += o.limiter + p->mName.toUtf8();
    out += '\n';
    for (const auto& row : rows) {
        double d = static_cast<double>(row.first - static_cast<long long>(first * r));
        const int h = static_cast<int>(d / (r * 3600));
        d -= h * r * 3600;
        const int m = static_cast<int>(d / (r * 60));
        d -= m * r * 60;
        const int s = static_cast<int>(d / r);
        d -= s * r;
        out += QString::asprintf("%d:%02d:%02d.%03d", h, m, s, static_cast<int>(d * o.resolution)).toLatin1();
        for (std::size_t j = 0; j < params.size(); ++j)
            out += o.limiter + row.second[j];
        out += '\n';
    }
    return out;
}

TEST_F(CsvExportTest, StreamedRowsEqualTheWholeTableOverUnsortedLists)
{
    ASSERT_TRUE(writeFile(mDir.file("Offset.xml"), "<KavoOffset><Offset value=\"0.300000000000\"/></KavoOffset>"));
    std::mt19937 random(7);
    std::uniform_real_distribution<double> time(0.0, 3.0);
    std::uniform_int_distribution<int> value(0, 40);
    const uint32_t ids[4] = {IdA, IdB, IdSpeed, IdMode};
    std::vector<TestFile> files = {{"LOG_0001.CAN", {}}, {"LOG_0002.CAN", {}},
                                                                       {"LOG_8003.CAN", {}}};
    for (auto& f : files) {
        for (int i = 0; i < 400; ++i) {
            const uint32_t id = ids[random() % 4];
            // Mode values 2 and 3 only: texts without a separator.
            f.second.push_back(id == IdMode ? wordMessage(0, id, time(random), 2 + value(random) % 2)
                                            : floatMessage(0, id, time(random), value(random) * 0.25f));
        }
    }
    load(files);
    selectParameters({"A", "B", "Mode"});
    for (const int resolution : {100, 10, 1}) {
        CsvExportOptions o = options(';', 0.7, 2.2, resolution);
        EXPECT_EQ(exported(o), referenceTable(mRecord, o)) << "resolution " << resolution;
        o.allParameter = true;
        o.limiter = '\t';
        EXPECT_EQ(exported(o), referenceTable(mRecord, o)) << "resolution " << resolution;
    }
}

} // namespace
