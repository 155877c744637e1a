// Error matrix displays read back as pixels: the 32 bit cells at the
// current time and the info, warning and fault strip over the recording.
#include "DialogDataErrorMatrix.h"
#include "Profile.h"
#include "Record.h"
#include "TestRecords.h"
#include "TestSupport.h"
#include "WidgetErrorItem.h"
#include "WidgetErrorTime.h"
#include "WidgetFaultMatrix.h"

#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QTableWidget>
#include <QTest>
#include <QtEndian>

#include <gtest/gtest.h>

#include <vector>

using namespace KAVO;
using testsupport::TempDir;

namespace {

const QColor White(255, 255, 255);
const QColor Info(150, 150, 255);
const QColor Warning(255, 200, 150);
const QColor Fault(255, 150, 150);
const QColor Clear(220, 255, 220);
const QColor Grey(200, 200, 200);
const QColor Black(0, 0, 0);

// Matrix 0x280 with an info bit 0, a warning bit 5 and a fault bit 31; a
// second matrix with the same id and one of another id.
const char* const ProfileXml = R"(<BrevantoProfile name="test">
  <Device name="ECU">
    <ErrorMatrix id="0x280" name="ECU error matrix"/>
    <Parameter name="Lane A" id="0x280" channel="0" startByte="4" startBit="0" endBit="0" dataType="BLONG" errorType="Info"/>
    <Parameter name="EGT sensor" id="0x280" channel="0" startByte="4" startBit="5" endBit="5" dataType="BLONG" errorType="Warning"/>
    <Parameter name="Crankshaft" id="0x280" channel="0" startByte="4" startBit="31" endBit="31" dataType="BLONG" errorType="Fault"/>
    <Parameter name="Speed" id="0x100" channel="0" startByte="4" dataType="FLOAT"/>
  </Device>
  <Device name="Twin">
    <ErrorMatrix id="0x280" name="ECU error matrix again"/>
    <ErrorMatrix id="0x281" name="Gear matrix"/>
    <Parameter name="Gear fault" id="0x281" channel="0" startByte="4" startBit="2" endBit="2" dataType="BLONG" errorType="Fault"/>
  </Device>
</BrevantoProfile>
)";

class ErrorMatrixTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsupport::loadProfileText(mDir.path(), ProfileXml));
        ASSERT_EQ(Profile::instance()->data().mFaultMatrices.size(), 3u);
    }

    static FaultMatrix& matrix(int n) { return Profile::instance()->data().mFaultMatrices[n]; }

    // A status message: the word big-endian in data bytes 4 to 7.
    void word(uint32_t canId, double time, uint32_t value, bool high = false)
    {
        RecordEntry e;
        e.canId = canId;
        e.data[1] = Profile::TYPE_BLONG;
        qToBigEndian(value, e.data + 4);
        e.time = time;
        e.highFile = high;
        testsupport::fileEntry(mRecord, e);
    }

    // The colour of bit i's cell as the matrix shows it (a spot away from the text).
    static QColor cell(WidgetFaultMatrix& m, int bit)
    {
        const QImage image = m.grab().toImage();
        const QPoint at = m.item(bit)->mapTo(&m, QPoint(4, 4));
        return image.pixelColor(at);
    }

    // Lays the display out as shown on the screen.
    static void show(QWidget& w)
    {
        w.resize(900, 320);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    }

    static std::vector<std::pair<float, bool>> points(const std::list<WidgetErrorTime::Point>& list)
    {
        std::vector<std::pair<float, bool>> v;
        for (const auto& p : list)
            v.emplace_back(p.time, p.state);
        return v;
    }

    TempDir mDir;
    Record mRecord;
};

TEST_F(ErrorMatrixTest, BitsZeroAndThirtyOneInTheLastAndFirstColumns)
{
    WidgetFaultMatrix m(nullptr);
    m.setData(matrix(0));
    EXPECT_EQ(m.title()->text(), "ECU error matrix");
    QTableWidget* table = m.table();
    ASSERT_EQ(table->columnCount(), 32);
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), "31");
    EXPECT_EQ(table->horizontalHeaderItem(31)->text(), "0");
    for (int bit = 0; bit < 32; ++bit)
        EXPECT_EQ(table->cellWidget(0, 31 - bit), m.item(bit)) << bit;
    EXPECT_EQ(m.item(0)->text(), "Lane A");
    EXPECT_EQ(m.item(0)->type(), 1);
    EXPECT_EQ(m.item(31)->text(), "Crankshaft");
    EXPECT_EQ(m.item(31)->type(), 3);
    EXPECT_EQ(m.item(7)->text(), "para.name");
    EXPECT_EQ(m.item(7)->type(), 0);
    EXPECT_EQ(table->horizontalHeader()->font().pixelSize(), 8);
    EXPECT_EQ(table->rowHeight(0), 150);

    // Bits 0, 5, 31 and 12 (no parameter) set; read big-endian the word
    // 0x80001021 has its bit 31 in byte 4 and bit 0 in byte 7.
    word(0x280, 10.0, 0x80001021u);
    word(0x280, 20.0, 0x00000001u);
    m.updateRecord(&mRecord);
    show(m);
    EXPECT_EQ(table->horizontalHeader()->font().pixelSize(), 8);
    // Columns share the table's width, 15 pixels at least.
    EXPECT_EQ(table->columnWidth(0), std::max(15, table->width() / 32));

    m.setTime(10.0);
    const QImage image = m.grab().toImage();
    if (qEnvironmentVariableIsSet("ORLO_SAVE_GRABS"))
        image.save("/tmp/errormatrix.png");
    auto at = [&](int column) {
        return image.pixelColor(table->viewport()->mapTo(&m, QPoint(table->columnViewportPosition(column) + 4, 4)));
    };
    EXPECT_EQ(at(0), Fault);     // bit 31
    EXPECT_EQ(at(31), Info);     // bit 0
    EXPECT_EQ(at(26), Warning);  // bit 5
    EXPECT_EQ(at(31 - 12), White);   // set, but no parameter
    for (int column = 1; column < 31; ++column) {
        if (column != 26) {
            EXPECT_EQ(at(column), White) << column;
        }
    }
    // The cell of a named bit shows its text; a cell without a parameter none.
    const QImage bit0 = m.item(0)->grab().toImage();
    const QImage bit7 = m.item(7)->grab().toImage();
    int dark0 = 0;
    int dark7 = 0;
    for (int y = 0; y < bit0.height(); ++y) {
        for (int x = 0; x < bit0.width(); ++x) {
            dark0 += bit0.pixelColor(x, y).lightness() < 100 ? 1 : 0;
            dark7 += bit7.pixelColor(x, y).lightness() < 100 ? 1 : 0;
        }
    }
    EXPECT_GT(dark0, 10);
    EXPECT_EQ(dark7, 0);

    // Only bit 0 in force: a little-endian reading would light bit 24 instead.
    m.setTime(20.0);
    EXPECT_EQ(cell(m, 0), Info);
    EXPECT_EQ(cell(m, 24), White);
    EXPECT_EQ(cell(m, 31), Clear);
    EXPECT_EQ(cell(m, 5), Clear);
}

TEST_F(ErrorMatrixTest, StatusWordInForceWithTenMillisecondsTolerance)
{
    WidgetFaultMatrix m(nullptr);
    m.setData(matrix(0));
    word(0x280, 10.0, 0x00000001u);
    word(0x280, 20.0, 0x80000000u);
    word(0x100, 40.0, 0u);   // the recording goes on after the last status word
    m.updateRecord(&mRecord);
    show(m);

    struct Case
    {
        double t;
        bool bit0;
        bool bit31;
    };
    const Case cases[] = {
        {5.0, true, false},      // before the first message: the first one's bits
        {10.0, true, false},
        {19.985, true, false},
        {19.995, false, true},   // a message 5 ms later counts as in force
        {20.0, false, true},
        {39.0, false, true},     // the last word stays shown to the end
    };
    for (const Case& c : cases) {
        m.setTime(c.t);
        EXPECT_EQ(m.item(0)->errorState(), c.bit0) << c.t;
        EXPECT_EQ(m.item(31)->errorState(), c.bit31) << c.t;
        EXPECT_EQ(cell(m, 0), c.bit0 ? Info : Clear) << c.t;
        EXPECT_EQ(cell(m, 31), c.bit31 ? Fault : Clear) << c.t;
    }
}

TEST_F(ErrorMatrixTest, StripChangePointsAndBands)
{
    WidgetErrorTime strip(nullptr);
    strip.setData(matrix(0));
    word(0x280, 0.0, 0x1u);
    word(0x280, 10.0, 0x1u);
    word(0x280, 20.0, 0x0u);
    word(0x280, 25.0, 0x80000020u);   // warning and fault to the end
    word(0x100, 30.0, 0u);
    strip.updateRecord(&mRecord);
    using P = std::vector<std::pair<float, bool>>;
    EXPECT_EQ(points(strip.infoPoints()), P({{0.0f, true}, {20.0f, false}, {25.0f, false}}));
    EXPECT_EQ(points(strip.warningPoints()), P({{0.0f, false}, {25.0f, true}, {25.0f, true}}));
    EXPECT_EQ(points(strip.faultPoints()), P({{0.0f, false}, {25.0f, true}, {25.0f, true}}));

    strip.resize(300, 30);   // 10 pixels per second, bands of 10 rows
    strip.setTime(15.0);
    EXPECT_EQ(strip.getX(15.0f), 150);
    const QImage image = strip.grab().toImage();
    auto info = [&](int x) { return image.pixelColor(x, 5); };
    auto warning = [&](int x) { return image.pixelColor(x, 15); };
    auto fault = [&](int x) { return image.pixelColor(x, 25); };
    EXPECT_EQ(info(5), Info);
    EXPECT_EQ(info(199), Info);
    EXPECT_EQ(info(200), White);
    EXPECT_EQ(info(260), White);
    EXPECT_EQ(warning(240), White);
    EXPECT_EQ(warning(260), Warning);
    EXPECT_EQ(warning(295), Warning);
    EXPECT_EQ(fault(249), White);
    EXPECT_EQ(fault(250), Fault);
    EXPECT_EQ(fault(295), Fault);
    // Cursor line over the full height, grey band separators.
    EXPECT_EQ(image.pixelColor(150, 5), Black);
    EXPECT_EQ(image.pixelColor(150, 25), Black);
    EXPECT_EQ(image.pixelColor(100, 10), Grey);
    EXPECT_EQ(image.pixelColor(100, 20), Grey);
    // The grey frame runs from (0, 0) to (w - 2, h - 2); the last column
    // and row are the widget's background.
    EXPECT_EQ(image.pixelColor(0, 5), Grey);
    EXPECT_EQ(image.pixelColor(298, 5), Grey);
    EXPECT_NE(image.pixelColor(299, 5), Grey);
    EXPECT_EQ(image.pixelColor(60, 28), Grey);
    EXPECT_NE(image.pixelColor(60, 29), Grey);
}

TEST_F(ErrorMatrixTest, CursorLineLosesNoPixelToTimesReadFromTicks)
{
    WidgetErrorTime strip(nullptr);
    strip.setData(matrix(0));
    // A recording of 10 s to 30 s as read from the time stamps: the start
    // as 10.000000000000002, the stop as 30 s in ticks of 31.25 ns.
    word(0x280, 10.000000000000002, 0x1u);
    word(0x280, RecordEntry::ticksToSeconds(0, 960000000u), 0x0u);
    ASSERT_GT(mRecord.recordInfo().startTime, 10.0);
    ASSERT_GT(mRecord.recordInfo().stopTime, 30.0);
    strip.updateRecord(&mRecord);
    strip.resize(300, 30);   // 15 pixels per second
    for (const auto& c : std::vector<std::pair<double, int>>{{20.0, 150}, {12.0, 30}, {26.0, 240}}) {
        strip.setTime(c.first);
        EXPECT_EQ(strip.getX(static_cast<float>(c.first)), c.second) << c.first;
        const QImage image = strip.grab().toImage();
        EXPECT_EQ(image.pixelColor(c.second, 15), Black) << c.first;
        EXPECT_NE(image.pixelColor(c.second - 1, 15), Black) << c.first;
    }
}

TEST_F(ErrorMatrixTest, NoStatusMessagesLeaveAWhiteStrip)
{
    WidgetFaultMatrix m(nullptr);
    m.setData(matrix(0));
    word(0x100, 0.0, 0u);
    word(0x100, 30.0, 0u);
    m.updateRecord(&mRecord);
    show(m);
    m.setTime(10.0);
    WidgetErrorTime* strip = m.strip();
    EXPECT_TRUE(strip->infoPoints().empty());
    EXPECT_TRUE(strip->warningPoints().empty());
    EXPECT_TRUE(strip->faultPoints().empty());
    for (int bit : {0, 5, 31})
        EXPECT_FALSE(m.item(bit)->errorState()) << bit;

    const QImage image = strip->grab().toImage();
    ASSERT_GT(image.width(), 100);
    int coloured = 0;
    // Inside the frame (the last column and row are the background).
    for (int y = 0; y < image.height() - 1; ++y) {
        for (int x = 0; x < image.width() - 1; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c != White && c != Grey && c != Black)
                ++coloured;
        }
    }
    EXPECT_EQ(coloured, 0);
    // Without any recording nothing is drawn but the frame.
    WidgetErrorTime none(nullptr);
    none.setData(matrix(0));
    none.updateRecord(nullptr);
    none.resize(300, 30);
    EXPECT_EQ(none.getX(10.0f), 0);
    EXPECT_EQ(none.grab().toImage().pixelColor(150, 5), White);
}

TEST_F(ErrorMatrixTest, OneMessageRecordingHasNoLengthToDivideBy)
{
    WidgetFaultMatrix m(nullptr);
    m.setData(matrix(0));
    word(0x280, 42.0, 0x80000000u);
    ASSERT_EQ(mRecord.recordInfo().startTime, mRecord.recordInfo().stopTime);
    m.updateRecord(&mRecord);
    using P = std::vector<std::pair<float, bool>>;
    EXPECT_EQ(points(m.strip()->faultPoints()), P({{42.0f, true}, {42.0f, true}}));
    for (double t : {0.0, 42.0, 100.0}) {
        m.setTime(t);
        EXPECT_TRUE(m.item(31)->errorState()) << t;
        EXPECT_FALSE(m.item(0)->errorState()) << t;
    }
    show(m);
    WidgetErrorTime* strip = m.strip();
    EXPECT_EQ(strip->getX(42.0f), 0);
    const QImage image = strip->grab().toImage();
    ASSERT_GT(image.width(), 100);
    // The one word's fault is in force over the whole strip.
    EXPECT_EQ(image.pixelColor(5, 25), Fault);
    EXPECT_EQ(image.pixelColor(image.width() - 10, 25), Fault);
    EXPECT_EQ(image.pixelColor(image.width() / 2, 5), White);
}

TEST_F(ErrorMatrixTest, HighFileStatusWordsSitAtTheirOffsetTime)
{
    WidgetFaultMatrix m(nullptr);
    m.setData(matrix(0));
    mRecord.recordData().offset = 100.0;
    word(0x100, 0.0, 0u);
    word(0x280, 2.0, 0x1u);         // a low file's word stays at its time
    word(0x280, 5.0, 0x0u, true);   // on the timeline at 105 s
    word(0x100, 200.0, 0u);
    m.updateRecord(&mRecord);
    using P = std::vector<std::pair<float, bool>>;
    EXPECT_EQ(points(m.strip()->infoPoints()), P({{2.0f, true}, {105.0f, false}, {105.0f, false}}));
    m.setTime(50.0);
    EXPECT_TRUE(m.item(0)->errorState());
    m.setTime(104.995);
    EXPECT_FALSE(m.item(0)->errorState());
}

TEST_F(ErrorMatrixTest, PaneHasOneFedDisplayPerMatrixAlsoForSharedIds)
{
    DialogDataErrorMatrix pane(nullptr);
    pane.loadProfile();
    ASSERT_EQ(pane.matrices().size(), 3u);
    EXPECT_EQ(pane.matrices().count(0x280), 2u);
    std::vector<QPointer<WidgetFaultMatrix>> first;
    for (const auto& m : pane.matrices())
        first.emplace_back(m.second);

    word(0x280, 1.0, 0x80000001u);
    word(0x281, 1.0, 0x4u);
    pane.updateRecord(&mRecord);
    pane.setTime(1.0);
    for (const auto& m : pane.matrices()) {
        if (m.first == 0x280) {
            EXPECT_TRUE(m.second->item(0)->errorState());
            EXPECT_TRUE(m.second->item(31)->errorState());
            EXPECT_EQ(m.second->strip()->infoPoints().size(), 2u);
        } else {
            EXPECT_TRUE(m.second->item(2)->errorState());
        }
    }
    const auto range = pane.matrices().equal_range(0x280);
    QStringList titles;
    for (auto it = range.first; it != range.second; ++it)
        titles << it->second->title()->text();
    titles.sort();
    EXPECT_EQ(titles, QStringList({"ECU error matrix", "ECU error matrix again"}));

    // Loading again replaces every display; none is left in the pane.
    pane.loadProfile();
    for (const auto& p : first)
        EXPECT_TRUE(p.isNull());
    EXPECT_EQ(pane.findChildren<WidgetFaultMatrix*>().size(), 3);
}

} // namespace
