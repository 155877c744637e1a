#include "ExportKml.h"
#include "KmlExportOptions.h"
#include "Record.h"
#include "StdoutCapture.h"
#include "TestRecords.h"
#include "TestSupport.h"

#include <QDomDocument>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <vector>

using KAVO::ExportKml;
using KAVO::KmlExportOptions;
using KAVO::Record;
using KAVO::RecordLimit;
using KAVO::RecordWarning;
using namespace testsupport;

namespace {

// Position of track bucket k: exactly representable, so the texts are known.
double latOf(int k) { return 47.0 + k / 64.0; }
double lonOf(int k) { return 11.0 + k / 128.0; }
double altOf(int k) { return 500.0 + k; }

// Latitude, longitude and altitude in every 100 ms bucket of [from, to).
std::vector<TestMessage> positions(int from, int to, double shift = 0.0)
{
    std::vector<TestMessage> m;
    for (int k = from; k < to; ++k) {
        const double t = k * 0.1 + 0.04 - shift;
        m.push_back(floatMessage(1, IdLat, t, static_cast<float>(latOf(k))));
        m.push_back(floatMessage(1, IdLon, t, static_cast<float>(lonOf(k))));
        m.push_back(floatMessage(1, IdAlt, t, static_cast<float>(altOf(k))));
    }
    return m;
}

QString coordinates(int k) { return QString::asprintf("%.8f,%.8f,%.1f", lonOf(k), latOf(k), altOf(k)); }

QStringList childNames(const QDomElement& parent)
{
    QStringList names;
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        names << e.tagName();
    return names;
}

QString text(const QDomElement& parent, const QString& path)
{
    QDomElement e = parent;
    for (const QString& name : path.split('/'))
        e = e.firstChildElement(name);
    return e.text();
}

class KmlExportTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        TempDir dir;
        ASSERT_TRUE(loadExportProfile(dir.path()));
    }

    void SetUp() override
    {
        selectParameters({});
        mOptions.exportDir = mDir.path().toLocal8Bit();
        mOptions.fileName = "out.kml";
        mOptions.startTime = 0.0;
        mOptions.stopTime = 1000.0;
        mOptions.placeMarkInterval = 10;
    }

    void load(const std::vector<TestFile>& files, const TestHeader& header = TestHeader())
    {
        ASSERT_TRUE(loadRecording(mRecord, mDir.path(), files, true, header));
    }

    // Exports and parses the document; the Document element.
    QDomElement exportDocument()
    {
        EXPECT_TRUE(mKml.exportData(mRecord, mOptions));
        mBytes = readFile(mDir.file("out.kml"));
        QString error;
        EXPECT_TRUE(mDocument.setContent(mBytes, &error)) << error.toStdString();
        EXPECT_EQ(mDocument.documentElement().tagName(), "kml");
        return mDocument.documentElement().firstChildElement("Document");
    }

    static std::vector<QDomElement> placemarks(const QDomElement& document)
    {
        std::vector<QDomElement> marks;
        for (QDomElement e = document.firstChildElement("Placemark"); !e.isNull();
             e = e.nextSiblingElement("Placemark"))
            marks.push_back(e);
        return marks;
    }

    TempDir mDir;
    Record mRecord;
    ExportKml mKml;
    KmlExportOptions mOptions;
    QDomDocument mDocument;
    QByteArray mBytes;
};

TEST_F(KmlExportTest, StylesColoursAndNameFromTheDefaults)
{
    const KmlExportOptions defaults;
    testsupport::expectDefaultKmlLook(defaults);
    EXPECT_EQ(defaults.placeMarkInterval, 500);

    load({{"LOG_0001.CAN", positions(0, 3)}});
    const QDomElement doc = exportDocument();
    EXPECT_TRUE(mBytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml>\n    <Document>\n"));
    EXPECT_EQ(text(doc, "name"), "ORLO Flightpath 14.7.2023 9:41:05");
    EXPECT_EQ(childNames(doc), QStringList({"name", "Style", "Style", "Placemark"}));

    const QDomElement normal = doc.firstChildElement("Style");
    const QDomElement error = normal.nextSiblingElement("Style");
    EXPECT_EQ(normal.attribute("id"), "normalPlacemark");
    EXPECT_EQ(text(normal, "LabelStyle/color"), "ffffffff");
    EXPECT_EQ(text(normal, "IconStyle/color"), "ff00ccff");
    EXPECT_EQ(error.attribute("id"), "errorPlacemark");
    EXPECT_EQ(text(error, "LabelStyle/color"), "ffffffff");
    EXPECT_EQ(text(error, "IconStyle/color"), "ff0000ff");

    const QDomElement track = doc.firstChildElement("Placemark");
    EXPECT_EQ(childNames(track), QStringList({"Style", "LineString"}));
    EXPECT_EQ(text(track, "Style/LineStyle/color"), "ff0000ff");
    EXPECT_EQ(text(track, "Style/LineStyle/width"), "1");
    EXPECT_EQ(text(track, "Style/PolyStyle/color"), "64ff0000");
    EXPECT_EQ(childNames(track.firstChildElement("LineString")),
              QStringList({"extrude", "coordinates", "altitudeMode"}));
    EXPECT_EQ(text(track, "LineString/extrude"), "1");
    EXPECT_EQ(text(track, "LineString/altitudeMode"), "absolute");
    EXPECT_EQ(text(track, "LineString/coordinates"), coordinates(0) + "\n" + coordinates(1) + "\n" + coordinates(2) + "\n");

    mOptions.polygonOn = false;
    mOptions.lineColor = "12ab34";
    mOptions.lineAlpha = 128;
    mOptions.lineWidth = 3;
    mOptions.placeMarkColor = "a0b0c0";
    const QDomElement other = exportDocument();
    EXPECT_EQ(text(other.firstChildElement("Style"), "IconStyle/color"), "ffc0b0a0");
    EXPECT_EQ(text(other.firstChildElement("Placemark"), "Style/LineStyle/color"), "8034ab12");
    EXPECT_EQ(text(other.firstChildElement("Placemark"), "Style/LineStyle/width"), "3");
    EXPECT_EQ(text(other.firstChildElement("Placemark"), "LineString/extrude"), "0");
}

TEST_F(KmlExportTest, InvalidHeaderDateGivesTheBareName)
{
    TestHeader header;
    header.month = 13;
    load({{"LOG_0001.CAN", positions(0, 2)}}, header);
    exportDocument();
    EXPECT_TRUE(mBytes.contains("<name>ORLO Flightpath </name>"));
}

TEST_F(KmlExportTest, TrackBucketsAndForwardAndBackwardFill)
{
    // 0.05 s and 0.07 s share bucket 0, the later one counts; 0.15 s is bucket 1.
    load({{"LOG_0001.CAN",
           {floatMessage(1, IdLat, 0.05, 1.0f), floatMessage(1, IdLat, 0.07, 2.0f), floatMessage(1, IdLat, 0.15, 3.0f)}}});
    exportDocument();
    ASSERT_EQ(mKml.track().size(), 2u);
    EXPECT_EQ(mKml.track().at(0).lat, 2.0);
    EXPECT_EQ(mKml.track().at(1).lat, 3.0);
    // No longitude and no altitude anywhere: written as -1000.
    EXPECT_TRUE(mBytes.contains("-1000.00000000,2.00000000,-1000.0\n-1000.00000000,3.00000000,-1000.0\n"));

    // Latitude only in bucket 5, longitude only in bucket 9 of buckets 0 to 9.
    std::vector<TestMessage> m;
    for (int k = 0; k < 10; ++k)
        m.push_back(floatMessage(1, IdAlt, k * 0.1 + 0.04, static_cast<float>(altOf(k))));
    m.push_back(floatMessage(1, IdLat, 0.54, 47.5f));
    m.push_back(floatMessage(1, IdLon, 0.94, 11.25f));
    load({{"LOG_0001.CAN", m}});
    StdoutCapture out;
    const QDomElement doc = exportDocument();
    EXPECT_EQ(out.text().count("new lons 11.250000\n"), 9);
    ASSERT_EQ(mKml.track().size(), 10u);
    QString expected;
    for (const auto& point : mKml.track()) {
        EXPECT_EQ(point.second.lat, 47.5);
        EXPECT_EQ(point.second.lon, 11.25);
        EXPECT_EQ(point.second.alt, altOf(point.first));
        expected += QString::asprintf("11.25000000,47.50000000,%.1f\n", altOf(point.first));
    }
    EXPECT_EQ(text(doc.firstChildElement("Placemark"), "LineString/coordinates"), expected);
}

TEST_F(KmlExportTest, WindowLimitsTheTrack)
{
    load({{"LOG_0001.CAN", positions(0, 20)}});
    mOptions.startTime = 0.5;
    mOptions.stopTime = 1.2;
    exportDocument();
    ASSERT_EQ(mKml.track().size(), 7u);
    EXPECT_EQ(mKml.track().begin()->first, 5);
    EXPECT_EQ(mKml.track().rbegin()->first, 11);
}

TEST_F(KmlExportTest, OneValuePlacemarkPerIntervalWithUnitSuffix)
{
    selectParameters({"A", "Speed"});
    std::vector<TestMessage> m = positions(0, 30);
    // Speed every 50 ms, value = its index; A once in each second.
    for (int i = 0; i < 60; ++i)
        m.push_back(floatMessage(0, IdSpeed, 0.025 + i * 0.05, static_cast<float>(i)));
    for (int s = 0; s < 3; ++s)
        m.push_back(floatMessage(0, IdA, s + 0.32, 2.5f + s));
    load({{"LOG_0001.CAN", m}});
    const QDomElement doc = exportDocument();

    ASSERT_EQ(mKml.placemarks().size(), 3u);
    const std::vector<QDomElement> marks = placemarks(doc);
    ASSERT_EQ(marks.size(), 4u);   // three value placemarks, then the track
    for (int s = 0; s < 3; ++s) {
        const QDomElement& mark = marks[static_cast<std::size_t>(s)];
        EXPECT_EQ(childNames(mark), QStringList({"name", "styleUrl", "ExtendedData", "Point"}));
        EXPECT_EQ(text(mark, "name"), QString::asprintf("00:00:%02d", s));
        EXPECT_EQ(text(mark, "styleUrl"), "#normalPlacemark");
        // Entries by name: A first, with the bare text; Speed with its unit.
        const QDomElement a = mark.firstChildElement("ExtendedData").firstChildElement("Data");
        const QDomElement speed = a.nextSiblingElement("Data");
        EXPECT_TRUE(a.attributes().isEmpty());
        EXPECT_EQ(text(a, "displayName"), "<b>A</b>");
        EXPECT_EQ(text(a, "value"), QString::number(2.5 + s));
        EXPECT_EQ(text(speed, "displayName"), "<b>Speed</b>");
        EXPECT_EQ(text(speed, "value"), QString("%1 [rpm]").arg(19 + 20 * s));
        EXPECT_TRUE(speed.nextSiblingElement("Data").isNull());
        // At the track point of the last value of the second (bucket 9 of it).
        EXPECT_EQ(text(mark, "Point/altitudeMode"), "absolute");
        EXPECT_EQ(text(mark, "Point/coordinates"), coordinates(9 + 10 * s));
    }
}

TEST_F(KmlExportTest, AMessageOffTheTrackLeavesThePlacemarkAlone)
{
    selectParameters({"A", "B"});
    std::vector<TestMessage> m = positions(0, 10);
    m.push_back(floatMessage(0, IdA, 0.22, 4.0f));   // bucket 2, on the track
    m.push_back(floatMessage(0, IdB, 0.82, 5.0f));   // bucket 8, cut off by the window
    load({{"LOG_0001.CAN", m}});
    mOptions.stopTime = 0.5;
    exportDocument();
    ASSERT_EQ(mKml.placemarks().size(), 1u);
    const auto& entries = mKml.placemarks().at(0).entries;
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries.at("A").value, "4");
    EXPECT_EQ(mKml.placemarks().at(0).lat, latOf(2));
}

TEST_F(KmlExportTest, PlacemarksAndExceedanceMarksCanBeSwitchedOff)
{
    selectParameters({"Speed"});
    std::vector<TestMessage> m = positions(0, 10);
    m.push_back(floatMessage(0, IdSpeed, 0.33, 6000.0f));
    load({{"LOG_0001.CAN", m}});
    mRecord.recordData().limits.emplace_back(0.33, "Dev Speed", "6000 rpm", "Dev Speed 6000 rpm", QColor(Qt::red));
    mRecord.recordData().warnings.emplace_back(0.55, "Dev Mode", "1 ", "Dev Mode 1", QColor(Qt::yellow));

    EXPECT_EQ(placemarks(exportDocument()).size(), 4u);
    mOptions.placeMarkOn = false;
    EXPECT_EQ(placemarks(exportDocument()).size(), 3u);
    mOptions.showLimit = false;
    EXPECT_EQ(placemarks(exportDocument()).size(), 2u);
    mOptions.showWarning = false;
    mOptions.showLimit = true;
    mOptions.placeMarkOn = true;
    mOptions.errorMarkOn = false;
    EXPECT_EQ(placemarks(exportDocument()).size(), 2u);
    mOptions.placeMarkOn = false;
    const QDomElement doc = exportDocument();
    EXPECT_EQ(childNames(doc), QStringList({"name", "Style", "Style", "Placemark"}));
    EXPECT_TRUE(mKml.placemarks().empty() && mKml.limitMarks().empty() && mKml.warningMarks().empty());
}

TEST_F(KmlExportTest, ExceedanceMarksOfAHighFileSitOnTheShiftedTrack)
{
    ASSERT_TRUE(writeFile(mDir.file("Offset.xml"), "<KavoOffset><Offset value=\"100.000000000000\"/></KavoOffset>"));
    // The high file's clock started again 100 s later: stored 0 to 2 s, it
    // belongs to 100 to 102 s (buckets 1000 to 1019).
    load({{"LOG_8001.CAN", positions(1000, 1020, 100.0)}});
    mOptions.startTime = 100.0;
    mOptions.stopTime = 102.0;
    // The limit list records events on the same timeline.
    auto& limits = mRecord.recordData().limits;
    limits.emplace_back(100.55, "Dev Speed", "6000 rpm", "", QColor());
    limits.emplace_back(100.56, "Dev B", "9 ", "", QColor());
    limits.emplace_back(0.55, "Dev A", "1 ", "", QColor());   // off the track
    mRecord.recordData().warnings.emplace_back(101.23, "Dev Mode", "1: on ", "", QColor());

    const QDomElement doc = exportDocument();
    ASSERT_EQ(mKml.track().size(), 20u);
    EXPECT_EQ(mKml.track().begin()->first, 1000);
    ASSERT_EQ(mKml.limitMarks().size(), 1u);
    ASSERT_EQ(mKml.warningMarks().size(), 1u);
    const std::vector<QDomElement> marks = placemarks(doc);
    ASSERT_EQ(marks.size(), 3u);
    const QDomElement limit = marks[0];
    EXPECT_EQ(text(limit, "name"), "00:01:40");
    EXPECT_EQ(text(limit, "styleUrl"), "#errorPlacemark");
    EXPECT_EQ(text(limit, "Point/coordinates"), coordinates(1005));
    const QDomElement first = limit.firstChildElement("ExtendedData").firstChildElement("Data");
    EXPECT_EQ(text(first, "displayName"), "<b>Dev Speed</b>");
    EXPECT_EQ(text(first, "value"), "6000 rpm");
    EXPECT_EQ(text(first.nextSiblingElement("Data"), "displayName"), "<b>Dev B</b>");
    const QDomElement warning = marks[1];
    EXPECT_EQ(text(warning, "name"), "00:01:41");
    EXPECT_EQ(text(warning, "Point/coordinates"), coordinates(1012));
    EXPECT_EQ(text(warning.firstChildElement("ExtendedData"), "Data/value"), "1: on ");
}

TEST_F(KmlExportTest, LowAndHighFilesOnTheSameIdsMakeOneTrack)
{
    ASSERT_TRUE(writeFile(mDir.file("Offset.xml"), "<KavoOffset><Offset value=\"1.000000000000\"/></KavoOffset>"));
    selectParameters({"Speed"});
    // The flight goes on in the high file, whose clock started again: its
    // stored 0 to 1 s belong to 1 to 2 s (buckets 10 to 19).
    std::vector<TestMessage> lowMessages = positions(0, 10);
    lowMessages.push_back(floatMessage(0, IdSpeed, 0.52, 100.0f));
    std::vector<TestMessage> highMessages = positions(10, 20, 1.0);
    highMessages.push_back(floatMessage(0, IdSpeed, 0.72, 200.0f));   // on the timeline 1.72 s
    const TestFile low = {"LOG_0001.CAN", lowMessages};
    const TestFile high = {"LOG_8001.CAN", highMessages};
    QString expected;
    for (int k = 0; k < 20; ++k)
        expected += coordinates(k) + "\n";

    for (const bool highLast : {true, false}) {
        SCOPED_TRACE(highLast ? "high file last" : "high file first");
        mRecord = Record();
        load(highLast ? std::vector<TestFile>{low, high} : std::vector<TestFile>{high, low});
        ASSERT_EQ(mRecord.recordData().idList(1, IdLat).size(), 20u);
        const QDomElement doc = exportDocument();
        ASSERT_EQ(mKml.track().size(), 20u);
        EXPECT_EQ(mKml.track().begin()->first, 0);
        EXPECT_EQ(mKml.track().rbegin()->first, 19);
        const std::vector<QDomElement> marks = placemarks(doc);
        ASSERT_EQ(marks.size(), 3u);   // one value placemark per second, then the track
        EXPECT_EQ(text(marks[2], "LineString/coordinates"), expected);
        EXPECT_EQ(text(marks[0], "name"), "00:00:00");
        EXPECT_EQ(text(marks[0], "ExtendedData/Data/value"), "100 [rpm]");
        EXPECT_EQ(text(marks[0], "Point/coordinates"), coordinates(5));
        EXPECT_EQ(text(marks[1], "name"), "00:00:01");
        EXPECT_EQ(text(marks[1], "ExtendedData/Data/value"), "200 [rpm]");
        EXPECT_EQ(text(marks[1], "Point/coordinates"), coordinates(17));
    }
}

TEST_F(KmlExportTest, RefusedOptionsAndUnwritableFolder)
{
    load({{"LOG_0001.CAN", positions(0, 3)}});
    ASSERT_TRUE(writeFile(mDir.file("out.kml"), "old"));
    {
        StdoutCapture out;
        mOptions.timeStamp = 0;
        EXPECT_FALSE(mKml.exportData(mRecord, mOptions));
        mOptions.timeStamp = 100;
        mOptions.placeMarkInterval = -1;
        EXPECT_FALSE(mKml.exportData(mRecord, mOptions));
        const QString text = out.text();
        EXPECT_TRUE(text.contains("time step <0>"));
        EXPECT_TRUE(text.contains("placemark interval <-1>"));
    }
    EXPECT_EQ(readFile(mDir.file("out.kml")), QByteArray("old"));
    // Without placemarks the interval is not used.
    mOptions.placeMarkOn = false;
    EXPECT_TRUE(mKml.exportData(mRecord, mOptions));

    mOptions.exportDir = mDir.file("missing").toLocal8Bit();
    EXPECT_FALSE(mKml.exportData(mRecord, mOptions));
}

TEST_F(KmlExportTest, GdalReadsThePlacemarksAndTheTrack)
{
    selectParameters({"Speed"});
    std::vector<TestMessage> m = positions(0, 30);
    for (int i = 0; i < 30; ++i)
        m.push_back(floatMessage(0, IdSpeed, 0.025 + i * 0.1, static_cast<float>(i)));
    load({{"LOG_0001.CAN", m}});
    mRecord.recordData().limits.emplace_back(1.25, "Dev Speed", "6000 rpm", "", QColor());
    exportDocument();

    const ProcessResult r = runProcess("ogrinfo", {"-ro", "-al", mDir.file("out.kml")}, {}, mDir.path(), 60000);
    ASSERT_TRUE(r.finished) << r.output.toStdString();
    ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
    const QString o = r.output;
    EXPECT_TRUE(o.contains("Layer name: ORLO Flightpath 14.7.2023 9:41:05")) << o.toStdString();
    EXPECT_TRUE(o.contains("Feature Count: 5")) << o.toStdString();   // 3 value marks, 1 limit mark, the track

    QStringList names;
    QRegularExpressionMatchIterator it = QRegularExpression("Name \\(String\\) = (\\S+)").globalMatch(o);
    while (it.hasNext())
        names << it.next().captured(1);
    EXPECT_EQ(names, QStringList({"00:00:00", "00:00:01", "00:00:02", "00:00:01"}));

    QStringList points;
    it = QRegularExpression("POINT Z \\(([^)]*)\\)").globalMatch(o);
    while (it.hasNext())
        points << it.next().captured(1);
    auto gdalPoint = [](int k) { return QString("%1 %2 %3").arg(lonOf(k), 0, 'g', 12).arg(latOf(k), 0, 'g', 12).arg(altOf(k)); };
    EXPECT_EQ(points, QStringList({gdalPoint(9), gdalPoint(19), gdalPoint(29), gdalPoint(12)}));

    const QRegularExpressionMatch line = QRegularExpression("LINESTRING Z \\(([^)]*)\\)").match(o);
    ASSERT_TRUE(line.hasMatch()) << o.toStdString();
    const QStringList vertices = line.captured(1).split(',');
    ASSERT_EQ(vertices.size(), 30);
    EXPECT_EQ(vertices.first(), gdalPoint(0));
    EXPECT_EQ(vertices.last(), gdalPoint(29));
    EXPECT_TRUE(o.contains("Style = @normalPlacemark"));
    EXPECT_TRUE(o.contains("Style = @errorPlacemark"));
}

} // namespace
