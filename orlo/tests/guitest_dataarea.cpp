// The data area on one time cursor: value table, limit and warning lists,
// time controls and the offset field, driven as the user drives them.
#include "DialogData.h"
#include "DialogDataGraph.h"
#include "DialogDataLimit.h"
#include "DialogDataTable.h"
#include "DialogDataWarning.h"
#include "GraphModel.h"
#include "Profile.h"
#include "Record.h"
#include "SampleCard.h"
#include "StdoutCapture.h"
#include "TestRecords.h"
#include "TestSupport.h"
#include "WidgetGraph.h"
#include "gui/GuiInput.h"

#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QLCDNumber>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimeEdit>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace KAVO;
using testsupport::StdoutCapture;
using testsupport::selectParameters;
using testsupport::TempDir;

namespace {

const QColor Green(0, 192, 0);
const QColor Yellow(255, 255, 0);
const QColor Red(255, 0, 0);

// Temperatures: OK from 0, WARNING from 100, LIMIT from 120. A lamp of the
// enumeration the warning list looks for.
const char* const ProfileXml = R"(<BrevantoProfile name="test">
  <EnumList>
    <Enum name="WarningLamp"><Value val="0" label="Off"/><Value val="1" label="Amber"/><Value val="2" label="Red"/></Enum>
    <Enum name="Lamp"><Value val="1" label="On"/></Enum>
  </EnumList>
  <ThresholdList>
    <Threshold name="Temp">
      <Value val="0" color="#00c000" state="OK"/>
      <Value val="100" color="#ffff00" state="WARNING"/>
      <Value val="120" color="#ff0000" state="LIMIT"/>
    </Threshold>
  </ThresholdList>
  <Device name="Engine">
    <Parameter name="EGT" unit="degC" id="0x100" channel="0" startByte="4" dataType="FLOAT" thresholdId="Temp"/>
    <Parameter name="Speed" id="0x101" channel="0" startByte="4" dataType="SHORT"/>
    <Parameter name="Lamp" id="0x102" channel="0" startByte="4" dataType="UCHAR" enumId="WarningLamp"/>
    <Parameter name="Other lamp" id="0x103" channel="0" startByte="4" dataType="UCHAR" enumId="Lamp"/>
  </Device>
  <Device name="Gear">
    <Parameter name="Oil" unit="bar" id="0x200" channel="1" startByte="4" dataType="FLOAT" thresholdId="Temp"/>
  </Device>
</BrevantoProfile>
)";

class DataAreaTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsupport::loadProfileText(mDir.path(), ProfileXml));
        mRecord.setRecordDirectory(mDir.path());
    }

    // One message as the reader files it; the value big-endian at byte 4.
    void add(uint32_t channel, uint32_t canId, double time, uint8_t type, const uint8_t* value, int size,
             bool high = false)
    {
        RecordEntry e;
        e.channel = static_cast<uint16_t>(channel);
        e.canId = canId;
        e.data[1] = type;
        std::memcpy(e.data + 4, value, static_cast<std::size_t>(size));
        e.time = time;
        e.tenths = RecordEntry::truncateToInt32(time * 10 + 0.5);
        e.highFile = high;
        testsupport::fileEntry(mRecord, e);
    }
    void addFloat(uint32_t channel, uint32_t canId, double time, float v, bool high = false)
    {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        uint8_t b[4];
        qToBigEndian(bits, b);
        add(channel, canId, time, Profile::TYPE_FLOAT, b, 4, high);
    }
    void addShort(uint32_t canId, double time, int16_t v)
    {
        uint8_t b[2];
        qToBigEndian(v, b);
        add(0, canId, time, Profile::TYPE_SHORT, b, 2);
    }
    void addByte(uint32_t canId, double time, uint8_t v)
    {
        add(0, canId, time, Profile::TYPE_UCHAR, &v, 1);
    }
    void egt(double time, float v) { addFloat(0, 0x100, time, v); }

    static QTableView* viewOf(QWidget* w) { return w->findChild<QTableView*>(); }
    static QString cell(QWidget* w, int row, int column, int role = Qt::DisplayRole)
    {
        QAbstractItemModel* m = viewOf(w)->model();
        return m->data(m->index(row, column), role).toString();
    }
    static QColor background(QWidget* w, int row, int column)
    {
        QAbstractItemModel* m = viewOf(w)->model();
        return m->data(m->index(row, column), Qt::BackgroundRole).value<QBrush>().color();
    }
    static QStringList column(QWidget* w, int column)
    {
        QStringList texts;
        for (int r = 0; r < viewOf(w)->model()->rowCount(); ++r)
            texts << cell(w, r, column);
        return texts;
    }
    static QStringList headers(QWidget* w)
    {
        QStringList texts;
        QAbstractItemModel* m = viewOf(w)->model();
        for (int c = 0; c < m->columnCount(); ++c)
            texts << m->headerData(c, Qt::Horizontal).toString();
        return texts;
    }
    static int selectedRow(QWidget* w)
    {
        const QModelIndexList rows = viewOf(w)->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.first().row() : -1;
    }
    static void clickRow(QWidget* w, int row, int column = 1)
    {
        QTableView* v = viewOf(w);
        v->scrollTo(v->model()->index(row, column));
        const QRect r = v->visualRect(v->model()->index(row, column));
        QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }

    // What a display shows, read back as pixels against a display that is
    // told the expected text.
    static bool displays(QLCDNumber* display, const QString& text)
    {
        // Grabbing lays the pane out first; the reference takes the size then.
        const QImage shown = display->grab().toImage();
        QLCDNumber reference(display->digitCount());
        reference.setPalette(display->palette());
        reference.setAutoFillBackground(true);
        reference.setSegmentStyle(display->segmentStyle());
        reference.resize(display->size());
        reference.display(text);
        return shown == reference.grab().toImage();
    }

    TempDir mDir;
    Record mRecord;
};

// ---------------------------------------------------------------- value table

TEST_F(DataAreaTest, TableHeadersRowsRoundingAndColours)
{
    selectParameters({"EGT", "Speed", "Oil"});
    // 1.04 and 1.06 round to different tenths; 1.06 and 1.14 share one, the later message shows.
    egt(1.04, 50.0f);
    egt(1.06, 110.0f);
    egt(1.14, 130.0f);
    addShort(0x101, 1.26, -2);
    addFloat(1, 0x200, 1.14, 5.5f);

    DialogDataTable table(nullptr);
    table.updateRecord(&mRecord);
    table.updateProfile();

    EXPECT_EQ(headers(&table), QStringList({"Time", "EGT [degC]", "Speed", "Oil [bar]"}));
    EXPECT_EQ(column(&table, 0), QStringList({"00:00:01.000", "00:00:01.100", "00:00:01.300"}));
    EXPECT_EQ(column(&table, 1), QStringList({"50", "130", ""}));
    EXPECT_EQ(column(&table, 2), QStringList({"", "", "-2"}));
    EXPECT_EQ(column(&table, 3), QStringList({"", "5.5", ""}));
    EXPECT_EQ(cell(&table, 1, 0, Qt::UserRole), "1100");
    EXPECT_EQ(background(&table, 0, 0), QColor(230, 230, 230));
    EXPECT_EQ(background(&table, 0, 1), Green);
    EXPECT_EQ(background(&table, 1, 1), Red);
    EXPECT_EQ(background(&table, 2, 2), QColor(Qt::white));
    // The time column holds its texts whole, by the view's own measure of
    // its cells, and is never narrower than 80 pixels.
    const int timeTexts = static_cast<QAbstractItemView*>(viewOf(&table))->sizeHintForColumn(0);
    EXPECT_GT(timeTexts, viewOf(&table)->fontMetrics().horizontalAdvance("00:00:01.300"));
    EXPECT_GE(viewOf(&table)->columnWidth(0), std::max(80, timeTexts));
    EXPECT_EQ(viewOf(&table)->rowHeight(0), 15);
    EXPECT_FALSE(viewOf(&table)->model()->flags(viewOf(&table)->model()->index(0, 1)) & Qt::ItemIsEditable);
    // The filled messages carry their tenths and hundredths.
    const RecordIdList& list = mRecord.recordData().idList(0, 0x100);
    EXPECT_EQ(list.entries[1].tenths, 11);
    EXPECT_EQ(list.entries[1].hundredths, 106);
    // The fill selects the start row.
    EXPECT_EQ(selectedRow(&table), 0);

    // Nothing selected: the time column alone and no rows.
    selectParameters({});
    table.updateProfile();
    EXPECT_EQ(headers(&table), QStringList({"Time"}));
    EXPECT_EQ(viewOf(&table)->model()->rowCount(), 0);
}

TEST_F(DataAreaTest, TimeColumnsShowTheWholeTime)
{
    selectParameters({"EGT"});
    egt(1.0, 50.0f);
    egt(5.0, 130.0f);
    DialogDataTable table(nullptr);
    table.updateRecord(&mRecord);
    table.updateProfile();
    DialogDataLimit limit(nullptr);
    limit.updateRecord(&mRecord);
    for (QTableView* view : {viewOf(&table), static_cast<QTableView*>(limit.findChild<QTableWidget*>())}) {
        const int text = view->fontMetrics().horizontalAdvance("00:00:00.000");
        EXPECT_GT(view->columnWidth(0), text);
        EXPECT_GE(view->columnWidth(0), 80);
    }
}

TEST_F(DataAreaTest, TableSetTimeSelectsWithoutEmitting)
{
    selectParameters({"EGT"});
    for (int i = 0; i < 50; ++i)
        egt(10.0 + i * 0.5, 50.0f);
    DialogDataTable table(nullptr);
    table.updateProfile();
    table.updateRecord(&mRecord);
    QSignalSpy spy(&table, &DialogDataTable::signalTime);

    table.setTime(12.26);   // key 123: the row of 12.0 (key 120), the last not after it
    EXPECT_EQ(selectedRow(&table), 4);
    table.setTime(12.5);
    EXPECT_EQ(selectedRow(&table), 5);
    table.setTime(-3.0);
    EXPECT_EQ(selectedRow(&table), 0);
    table.setTime(1e9);
    EXPECT_EQ(selectedRow(&table), 49);
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(DataAreaTest, TableTimesBeforeZeroKeepTheirOrder)
{
    // A negative offset moves a high file's messages before zero.
    selectParameters({"Oil"});
    addFloat(1, 0x200, 1.0, 1.0f, true);
    addFloat(1, 0x200, 2.0, 2.0f, true);
    addFloat(1, 0x200, 3.0, 3.0f, true);
    mRecord.recordData().offset = -2.5;
    DialogDataTable table(nullptr);
    table.updateProfile();
    table.updateRecord(&mRecord);
    EXPECT_EQ(column(&table, 1), QStringList({"1", "2", "3"}));
    EXPECT_EQ(column(&table, 0), QStringList({"23:59:58.500", "23:59:59.500", "00:00:00.500"}));
    EXPECT_EQ(cell(&table, 0, 0, Qt::UserRole), "-1500");
    table.setTime(-0.4);   // key -4: after the row of -0.5 s (key -5)
    EXPECT_EQ(selectedRow(&table), 1);
    table.setTime(-0.6);
    EXPECT_EQ(selectedRow(&table), 0);
}

TEST_F(DataAreaTest, TimeKeysRoundHalfUpAndStayInRange)
{
    EXPECT_EQ(RecordData::timeKey(1.05), 11);
    EXPECT_EQ(RecordData::timeKey(-0.04), 0);
    EXPECT_EQ(RecordData::timeKey(-0.06), -1);
    EXPECT_EQ(RecordData::timeKey(1.234, 100.0), 123);
    EXPECT_EQ(RecordData::timeKey(1e300), int64_t(1) << 53);
    EXPECT_EQ(RecordData::timeKey(-1e300), -(int64_t(1) << 53));
    EXPECT_EQ(RecordData::timeKey(std::nan("")), 0);
    EXPECT_EQ(RecordData::timeKey32(1e12), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(RecordLimit(-0.06, "", "", "", Qt::red).tenths, -1);
}

TEST_F(DataAreaTest, TableOfFarApartTimes)
{
    // A corrupt time stamp far from the others: the rows still come in order.
    selectParameters({"EGT", "Oil"});
    egt(1e9, 1.0f);
    egt(1.0, 2.0f);
    addFloat(1, 0x200, 5e11, 3.0f);
    addFloat(1, 0x200, 1.0, 4.0f);
    DialogDataTable table(nullptr);
    table.updateProfile();
    table.updateRecord(&mRecord);
    EXPECT_EQ(column(&table, 1), QStringList({"2", "1", ""}));
    EXPECT_EQ(column(&table, 2), QStringList({"4", "", "3"}));
    EXPECT_EQ(cell(&table, 2, 0, Qt::UserRole), QString::number(qint64(5e11) * 1000));
}

TEST_F(DataAreaTest, TableSurvivesTheRecordingBeingReadAgain)
{
    // While a new selection is read the lists are rebuilt before the table
    // is told; a repaint in between must not reach the old lists.
    selectParameters({"EGT"});
    for (int i = 0; i < 20; ++i)
        egt(i, 50.0f);
    DialogDataTable table(nullptr);
    table.updateProfile();
    table.updateRecord(&mRecord);
    table.resize(400, 300);
    table.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&table));
    mRecord.recordData().channels.clear();
    egt(3.0, 60.0f);
    EXPECT_EQ(cell(&table, 0, 1), "60");
    EXPECT_EQ(cell(&table, 5, 1), "");
    viewOf(&table)->viewport()->repaint();
    table.updateRecord(&mRecord);
    EXPECT_EQ(column(&table, 1), QStringList({"60"}));
}

// ------------------------------------------------------------ limit list

TEST_F(DataAreaTest, LimitsOnRisesOnlyWithTheirFields)
{
    // OK, WARNING, LIMIT, OK, LIMIT: three rises.
    egt(1.0, 50.0f);
    egt(2.0, 110.0f);
    egt(3.0, 130.0f);
    egt(4.0, 50.0f);
    egt(5.0, 130.0f);
    // A first value already at the limit, then WARNING, LIMIT: once, at the last.
    addFloat(1, 0x200, 1.5, 130.0f);
    addFloat(1, 0x200, 2.5, 110.0f);
    addFloat(1, 0x200, 3.5, 125.0f);
    addFloat(1, 0x200, 4.5, 50.0f);   // falling back records nothing
    mRecord.recordData().limits.push_back(RecordLimit(0.5, "stale", "", "stale", Qt::black));

    DialogDataLimit limit(nullptr);
    limit.updateRecord(&mRecord);
    const std::vector<RecordLimit>& limits = mRecord.recordData().limits;
    ASSERT_EQ(limits.size(), 4u);
    EXPECT_DOUBLE_EQ(limits[0].time, 2.0);
    EXPECT_DOUBLE_EQ(limits[1].time, 3.0);
    EXPECT_DOUBLE_EQ(limits[2].time, 3.5);
    EXPECT_DOUBLE_EQ(limits[3].time, 5.0);
    EXPECT_EQ(limits[0].name, QByteArray("Engine EGT"));
    EXPECT_EQ(limits[0].value, QByteArray("110 degC"));
    EXPECT_EQ(limits[0].text, "Engine EGT 110 degC");
    EXPECT_EQ(limits[0].color, Yellow);
    EXPECT_EQ(limits[0].tenths, 20);
    EXPECT_EQ(limits[1].color, Red);
    EXPECT_EQ(limits[2].text, "Gear Oil 125 bar");
    EXPECT_EQ(limits[2].tenths, 35);

    EXPECT_EQ(headers(&limit), QStringList({"Time", "Warning/Limit Exceed"}));
    EXPECT_EQ(column(&limit, 0),
              QStringList({"00:00:02.000", "00:00:03.000", "00:00:03.500", "00:00:05.000"}));
    EXPECT_EQ(column(&limit, 1).at(3), "Engine EGT 130 degC");
    EXPECT_EQ(background(&limit, 1, 1), Red);
    EXPECT_EQ(background(&limit, 1, 0), QColor(230, 230, 230));
    EXPECT_EQ(limit.findChild<QTableWidget*>()->horizontalHeader()->sectionResizeMode(1), QHeaderView::Stretch);

    // Loading again rebuilds the list; it does not grow.
    limit.updateRecord(&mRecord);
    EXPECT_EQ(mRecord.recordData().limits.size(), 4u);
    EXPECT_EQ(viewOf(&limit)->model()->rowCount(), 4);
}

TEST_F(DataAreaTest, LimitRowsInOneTenthAndOneTimeline)
{
    egt(5.00, 50.0f);
    egt(5.01, 110.0f);
    addFloat(1, 0x200, 5.00, 50.0f, true);
    addFloat(1, 0x200, 5.03 - 2.5, 130.0f, true);   // a high file: 5.03 on the timeline
    mRecord.recordData().offset = 2.5;

    DialogDataLimit limit(nullptr);
    limit.updateRecord(&mRecord);
    const std::vector<RecordLimit>& limits = mRecord.recordData().limits;
    ASSERT_EQ(limits.size(), 2u);
    EXPECT_DOUBLE_EQ(limits[1].time, 5.03);
    EXPECT_EQ(limits[1].tenths, 50);

    QSignalSpy spy(&limit, &DialogDataLimit::signalTime);
    limit.setTime(5.0);
    EXPECT_EQ(selectedRow(&limit), 1);   // two rows in one tenth: the later
    limit.setTime(4.0);
    EXPECT_EQ(selectedRow(&limit), 0);   // before every row: row 0
    EXPECT_EQ(spy.count(), 0);

    // An empty recording: an empty list, nothing selected, nothing emitted.
    Record empty;
    limit.updateRecord(&empty);
    EXPECT_EQ(viewOf(&limit)->model()->rowCount(), 0);
    EXPECT_EQ(selectedRow(&limit), -1);
    EXPECT_EQ(spy.count(), 0);
}

// ----------------------------------------------------------- warning list

TEST_F(DataAreaTest, WarningLampsAndTheirColours)
{
    // 1, 0, 1 is one warning; 1 to 2 another; 3 takes the decoder's colour.
    const uint8_t lamp[] = {1, 0, 1, 2, 2, 0, 3};
    for (int i = 0; i < 7; ++i)
        addByte(0x102, 1.0 + i, lamp[i]);
    addByte(0x103, 1.5, 1);   // another enumeration: no warning lamp

    DialogDataWarning warning(nullptr);
    warning.updateRecord(&mRecord);
    const std::vector<RecordWarning>& w = mRecord.recordData().warnings;
    ASSERT_EQ(w.size(), 3u);
    EXPECT_DOUBLE_EQ(w[0].time, 1.0);
    EXPECT_EQ(w[0].color, QColor(255, 150, 100));
    EXPECT_DOUBLE_EQ(w[1].time, 4.0);
    EXPECT_EQ(w[1].color, QColor(255, 100, 100));
    EXPECT_DOUBLE_EQ(w[2].time, 7.0);
    EXPECT_EQ(w[2].color, QColor(255, 255, 255));
    EXPECT_EQ(w[1].name, QByteArray("Engine Lamp"));
    EXPECT_EQ(w[1].value, QByteArray("2 "));
    EXPECT_EQ(headers(&warning), QStringList({"Time", "Warning Lamps"}));
    EXPECT_EQ(background(&warning, 0, 1), QColor(255, 150, 100));
    EXPECT_TRUE(mRecord.recordData().limits.empty());

    warning.updateRecord(&mRecord);
    EXPECT_EQ(mRecord.recordData().warnings.size(), 3u);
}

// ------------------------------------------------------------- data area

class DataAreaPaneTest : public DataAreaTest
{
protected:
    void SetUp() override
    {
        DataAreaTest::SetUp();
        mPane = new DialogData(nullptr);
        mTable = mPane->findChild<DialogDataTable*>();
        mLimit = mPane->findChild<DialogDataLimit*>();
        mGraph = mPane->findChild<DialogDataGraph*>();
        mSlider = mPane->findChild<QSlider*>();
        mEditor = mPane->findChild<QTimeEdit*>();
        mOffset = mPane->findChild<QDoubleSpinBox*>();
        const QList<QLCDNumber*> displays = mPane->findChildren<QLCDNumber*>();
        ASSERT_EQ(displays.size(), 2);
        mDate = displays[0];
        mClock = displays[1];
        ASSERT_TRUE(mTable && mLimit && mGraph && mSlider && mEditor && mOffset);
    }
    void TearDown() override { delete mPane; }

    // Values every second from 0 to 100 s, a rise to WARNING at 20 s and to LIMIT at 60 s.
    void loadFlight()
    {
        selectParameters({"EGT"});
        for (int i = 0; i <= 100; ++i)
            egt(i, i < 20 ? 50.0f : i < 60 ? 110.0f : 130.0f);
        mPane->updateProfile();
        mPane->updateRecord(&mRecord);
    }

    // EGT and the high file's Oil at 1 s and 2 s with these values, in the pane.
    void loadEgtAndHighOil(float first, float second)
    {
        selectParameters({"EGT", "Oil"});
        egt(1.0, first);
        egt(2.0, second);
        addFloat(1, 0x200, 1.0, first, true);
        addFloat(1, 0x200, 2.0, second, true);
        mPane->updateProfile();
        mPane->updateRecord(&mRecord);
    }

    void showPane()
    {
        mPane->resize(900, 700);
        mPane->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(mPane));
    }

    DialogData* mPane = nullptr;
    DialogDataTable* mTable = nullptr;
    DialogDataLimit* mLimit = nullptr;
    DialogDataGraph* mGraph = nullptr;
    QSlider* mSlider = nullptr;
    QTimeEdit* mEditor = nullptr;
    QDoubleSpinBox* mOffset = nullptr;
    QLCDNumber* mDate = nullptr;
    QLCDNumber* mClock = nullptr;
};

TEST_F(DataAreaPaneTest, BuildsTabsAndControls)
{
    QTabWidget* tabs = mPane->findChild<QTabWidget*>();
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), "Data");
    EXPECT_EQ(tabs->tabText(1), "Limit/Warning Exceed");
    EXPECT_EQ(tabs->tabText(2), "Graph");
    EXPECT_EQ(tabs->widget(2), mGraph);
    EXPECT_FALSE(tabs->tabIcon(0).isNull());
    EXPECT_FALSE(tabs->tabIcon(1).isNull());
    EXPECT_FALSE(tabs->tabIcon(2).isNull());
    EXPECT_EQ(mSlider->maximum(), 10000);
    EXPECT_EQ(mOffset->minimum(), -10000);
    EXPECT_EQ(mOffset->suffix(), " s");
    EXPECT_EQ(mEditor->displayFormat(), "hh:mm:ss");
    EXPECT_EQ(mDate->digitCount(), 19);
    EXPECT_EQ(mClock->digitCount(), 12);
    EXPECT_TRUE(displays(mDate, "00.00.0000 00:00:00"));
    EXPECT_TRUE(displays(mClock, "00:00:00.000"));
    EXPECT_FALSE(displays(mClock, "00:00:00.001"));   // the read-back tells texts apart
    EXPECT_EQ(mPane->markStart(), 0.0);
    EXPECT_EQ(mPane->markStop(), 0.0);

    // Without a recording the controls do nothing.
    mSlider->setValue(5000);
    EXPECT_EQ(mPane->time(), 0.0);
    EXPECT_TRUE(displays(mClock, "00:00:00.000"));
}

TEST_F(DataAreaPaneTest, TimeDisplaysAndDate)
{
    // 90000 s is one hour past a day.
    egt(90000.0, 50.0f);
    egt(90100.0, 50.0f);
    mPane->updateRecord(&mRecord);
    EXPECT_EQ(mPane->time(), 90000.0);
    EXPECT_TRUE(displays(mClock, "01:00:00.000"));
    EXPECT_EQ(mEditor->time(), QTime(1, 0, 0));
    EXPECT_TRUE(displays(mDate, "--.--.---- --:--:--"));
    EXPECT_EQ(mSlider->value(), 0);

    // With a calendar start the date follows the cursor (TZ=UTC).
    mRecord.recordInfo().utcStart = QDateTime(QDate(2024, 3, 5), QTime(10, 20, 30), Qt::UTC).toSecsSinceEpoch();
    mPane->updateRecord(&mRecord);
    mSlider->setValue(5000);
    EXPECT_DOUBLE_EQ(mPane->time(), 90050.0);
    EXPECT_TRUE(displays(mDate, "05.03.2024 10:21:20"));
    EXPECT_TRUE(displays(mClock, "01:00:50.000"));
}

TEST_F(DataAreaPaneTest, StartEqualsStop)
{
    egt(42.0, 50.0f);
    mPane->updateRecord(&mRecord);
    EXPECT_EQ(mSlider->value(), 0);
    mSlider->setValue(7000);
    EXPECT_EQ(mPane->time(), 42.0);
    EXPECT_EQ(mSlider->value(), 0);
}

TEST_F(DataAreaPaneTest, OneFanOutPerUserAction)
{
    loadFlight();
    showPane();
    QTableView* table = viewOf(mTable);
    QTableView* limit = viewOf(mLimit);
    ASSERT_EQ(limit->model()->rowCount(), 2);   // WARNING at 20 s, LIMIT at 60 s

    QSignalSpy tableChanged(table->selectionModel(), &QItemSelectionModel::selectionChanged);
    QSignalSpy limitChanged(limit->selectionModel(), &QItemSelectionModel::selectionChanged);
    QSignalSpy tableTime(mTable, &DialogDataTable::signalTime);
    QSignalSpy limitTime(mLimit, &DialogDataLimit::signalTime);
    QSignalSpy cursor(mGraph, &DialogDataGraph::signalCursor);
    QSignalSpy slider(mSlider, &QSlider::valueChanged);
    auto reset = [&] {
        for (QSignalSpy* s : {&tableChanged, &limitChanged, &tableTime, &limitTime, &cursor, &slider})
            s->clear();
    };

    // A table row: the others follow once, the table is not told again.
    clickRow(mTable, 70, 0);
    EXPECT_EQ(tableTime.count(), 1);
    EXPECT_DOUBLE_EQ(mPane->time(), 70.0);
    EXPECT_EQ(tableChanged.count(), 1);
    EXPECT_EQ(limitChanged.count(), 1);
    EXPECT_EQ(selectedRow(mLimit), 1);
    EXPECT_EQ(slider.count(), 1);
    EXPECT_EQ(mSlider->value(), 7000);
    EXPECT_EQ(limitTime.count(), 0);
    EXPECT_EQ(cursor.count(), 0);
    EXPECT_TRUE(displays(mClock, "00:01:10.000"));

    // A limit row.
    reset();
    clickRow(mLimit, 0);
    EXPECT_EQ(limitTime.count(), 1);
    EXPECT_DOUBLE_EQ(mPane->time(), 20.0);
    EXPECT_EQ(limitChanged.count(), 1);
    EXPECT_EQ(tableChanged.count(), 1);
    EXPECT_EQ(selectedRow(mTable), 20);
    EXPECT_EQ(tableTime.count(), 0);

    // The slider, moved by the keyboard.
    reset();
    mSlider->setFocus();
    QTest::keyClick(mSlider, Qt::Key_End);
    EXPECT_DOUBLE_EQ(mPane->time(), 100.0);
    EXPECT_EQ(selectedRow(mTable), 100);
    EXPECT_EQ(selectedRow(mLimit), 1);
    EXPECT_EQ(tableChanged.count(), 1);
    EXPECT_EQ(limitChanged.count(), 1);
    EXPECT_EQ(slider.count(), 1);
    EXPECT_EQ(tableTime.count() + limitTime.count(), 0);
    EXPECT_EQ(mEditor->time(), QTime(0, 1, 40));

    // The time editor: whole seconds.
    reset();
    mEditor->setTime(QTime(0, 0, 30));
    EXPECT_DOUBLE_EQ(mPane->time(), 30.0);
    EXPECT_EQ(selectedRow(mTable), 30);
    EXPECT_EQ(selectedRow(mLimit), 0);
    EXPECT_EQ(tableChanged.count(), 1);
    EXPECT_EQ(limitChanged.count(), 1);
    EXPECT_EQ(slider.count(), 1);
    EXPECT_EQ(mSlider->value(), 3000);

    // The graph cursor, in single precision.
    reset();
    emit mGraph->signalCursor(64.2f, 1.0);
    EXPECT_DOUBLE_EQ(mPane->time(), static_cast<double>(64.2f));
    EXPECT_EQ(selectedRow(mTable), 64);
    EXPECT_EQ(tableChanged.count(), 1);
    EXPECT_EQ(limitChanged.count(), 1);
    EXPECT_EQ(selectedRow(mLimit), 1);
    EXPECT_EQ(cursor.count(), 1);         // the one sent, none back
    EXPECT_EQ(tableTime.count() + limitTime.count(), 0);
}

TEST_F(DataAreaPaneTest, GraphCursorAndMarkersOnTheOneTimeline)
{
    loadFlight();
    showPane();
    QTabWidget* tabs = mPane->findChild<QTabWidget*>();
    tabs->setCurrentWidget(mGraph);
    WidgetGraph* graph = mGraph->graph();
    ASSERT_TRUE(graph->isVisible());
    for (int k = 0; k < 3; ++k)
        graph->grabGraph();   // lays the plot out
    // The new window shows 0 to 100 s with 10 s on each side; the start
    // time then moved it to keep the cursor off the edge.
    EXPECT_NEAR(graph->getXmin(), -12.0, 1e-3);
    EXPECT_NEAR(graph->getXmax(), 108.0, 1e-3);
    EXPECT_DOUBLE_EQ(graph->getCursorTime(), 0.0);

    QSignalSpy tableChanged(viewOf(mTable)->selectionModel(), &QItemSelectionModel::selectionChanged);
    QSignalSpy limitChanged(viewOf(mLimit)->selectionModel(), &QItemSelectionModel::selectionChanged);
    QSignalSpy tableTime(mTable, &DialogDataTable::signalTime);
    QSignalSpy limitTime(mLimit, &DialogDataLimit::signalTime);
    QSignalSpy cursor(mGraph, &DialogDataGraph::signalCursor);
    const KAVO::GraphModel& m = graph->model();
    const auto at = [&](double t) {
        return QPoint(static_cast<int>(std::lround(m.xToViewport(t))), graph->height() / 2);
    };

    // The graph cursor (middle button) moves the table and the limit list.
    QTest::mousePress(graph, Qt::MiddleButton, Qt::NoModifier, at(64.0));
    QTest::mouseRelease(graph, Qt::MiddleButton, Qt::NoModifier, at(64.0));
    ASSERT_EQ(cursor.count(), 1);
    const double t = cursor.at(0).at(0).toFloat();
    EXPECT_NEAR(t, 64.0, 0.5);
    EXPECT_DOUBLE_EQ(mPane->time(), t);
    EXPECT_NEAR(graph->getCursorTime(), t, 1e-5);
    EXPECT_EQ(selectedRow(mTable), static_cast<int>(t));
    EXPECT_EQ(selectedRow(mLimit), 1);
    EXPECT_EQ(tableChanged.count(), 1);
    EXPECT_EQ(limitChanged.count(), 1);
    EXPECT_EQ(tableTime.count() + limitTime.count(), 0);

    // A table row and a limit row move the graph cursor without an echo.
    cursor.clear();
    tabs->setCurrentWidget(mTable);
    clickRow(mTable, 30, 0);
    EXPECT_DOUBLE_EQ(graph->getCursorTime(), 30.0);
    tabs->setCurrentWidget(mLimit);
    EXPECT_EQ(selectedRow(mLimit), 0);
    clickRow(mLimit, 1);
    EXPECT_DOUBLE_EQ(graph->getCursorTime(), 60.0);
    mSlider->setValue(9000);
    EXPECT_DOUBLE_EQ(graph->getCursorTime(), 90.0);
    EXPECT_EQ(cursor.count(), 0);
    // Near the end of the window the window moves with the cursor.
    EXPECT_GE(graph->getXmax() - 0.1 * (graph->getXmax() - graph->getXmin()), 90.0 - 1e-3);

    // The cursor keys of the graph reach the pane.
    tabs->setCurrentWidget(mGraph);
    graph->setFocus();
    QTest::keyClick(graph, Qt::Key_Left, Qt::ShiftModifier);
    ASSERT_EQ(cursor.count(), 1);
    EXPECT_LT(graph->getCursorTime(), 90.0);
    EXPECT_DOUBLE_EQ(mPane->time(), static_cast<double>(static_cast<float>(graph->getCursorTime())));

    // Markers set in the graph are the pane's export window.
    QTest::mousePress(graph, Qt::LeftButton, Qt::NoModifier, at(40.0));
    testsupport::dragTo(graph, at(10.0), Qt::LeftButton);
    QTest::mouseRelease(graph, Qt::LeftButton, Qt::NoModifier, at(10.0));
    EXPECT_NEAR(mPane->markStart(), 10.0, 0.5);
    EXPECT_NEAR(mPane->markStop(), 40.0, 0.5);
    EXPECT_EQ(mPane->markStart(), graph->getMarker1());
    EXPECT_EQ(mPane->markStop(), graph->getMarker2());
}

TEST_F(DataAreaPaneTest, ChoosingTheEarlierRowOfOneTenthKeepsIt)
{
    selectParameters({"EGT"});
    egt(4.0, 50.0f);
    egt(5.01, 110.0f);
    addFloat(1, 0x200, 4.0, 50.0f);
    addFloat(1, 0x200, 5.03, 110.0f);
    egt(9.0, 50.0f);
    mPane->updateProfile();
    mPane->updateRecord(&mRecord);
    showPane();
    ASSERT_EQ(viewOf(mLimit)->model()->rowCount(), 2);

    QSignalSpy limitTime(mLimit, &DialogDataLimit::signalTime);
    clickRow(mLimit, 1);
    clickRow(mLimit, 0);
    ASSERT_EQ(limitTime.count(), 2);
    EXPECT_DOUBLE_EQ(limitTime.at(1).at(0).toDouble(), 5.01);
    EXPECT_EQ(selectedRow(mLimit), 0);
    EXPECT_DOUBLE_EQ(mPane->time(), 5.01);
    EXPECT_EQ(cell(mTable, selectedRow(mTable), 0), "00:00:05.000");
}

TEST_F(DataAreaPaneTest, OffsetChangeWritesTheFileAndMovesTheViews)
{
    loadEgtAndHighOil(50.0f, 110.0f);
    EXPECT_EQ(column(mTable, 0), QStringList({"00:00:01.000", "00:00:02.000"}));

    const QString file = mDir.file("Offset.xml");
    ASSERT_FALSE(QFile::exists(file));
    const std::pair<double, double> window(mGraph->graph()->getXmin(), mGraph->graph()->getXmax());
    {
        StdoutCapture quiet;
        mOffset->setValue(2.5);
    }
    EXPECT_EQ(mRecord.recordData().offset, 2.5);
    ASSERT_TRUE(QFile::exists(file));
    const QString written = QString::fromUtf8(testsupport::readFile(file));
    EXPECT_TRUE(written.contains("<KavoOffset>")) << written.toStdString();
    EXPECT_TRUE(written.contains("value=\"2.500000000000\"")) << written.toStdString();

    // The high file's values moved by 25 tenths in the graph too, whose
    // window stays.
    {
        const KAVO::GraphParameter& oil = mGraph->graph()->model().parameter(1);
        ASSERT_EQ(oil.name, "Oil");
        ASSERT_EQ(oil.samples.size(), 2u);
        EXPECT_DOUBLE_EQ(oil.samples[0].time, 3.5);
        EXPECT_DOUBLE_EQ(oil.samples[1].time, 4.5);
        EXPECT_DOUBLE_EQ(mGraph->graph()->getXmin(), window.first);
        EXPECT_DOUBLE_EQ(mGraph->graph()->getXmax(), window.second);
    }

    // The high file's values moved by 25 tenths; the events with them.
    EXPECT_EQ(column(mTable, 0), QStringList({"00:00:01.000", "00:00:02.000", "00:00:03.500", "00:00:04.500"}));
    EXPECT_EQ(column(mTable, 2), QStringList({"", "", "50", "110"}));
    const std::vector<RecordLimit>& limits = mRecord.recordData().limits;
    ASSERT_EQ(limits.size(), 2u);
    EXPECT_DOUBLE_EQ(limits[1].time, 4.5);
    EXPECT_EQ(limits[1].text, "Gear Oil 110 bar");
    // The views stay on the cursor.
    EXPECT_EQ(selectedRow(mTable), 0);
    EXPECT_EQ(mPane->time(), 1.0);

    // Loading shows the recording's offset without writing it again.
    QFile::remove(file);
    mRecord.recordData().offset = -1.0;
    mPane->updateRecord(&mRecord);
    EXPECT_EQ(mOffset->value(), -1.0);
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(DataAreaPaneTest, EveryClockShowsTheMillisecondOfATimeReadFromTicks)
{
    // A rise to LIMIT recorded at 39.7 s, read as 39.69999997 s.
    const double t = 39.69999997;
    selectParameters({"EGT"});
    egt(10.0, 50.0f);
    egt(t, 130.0f);
    egt(50.0, 50.0f);
    mPane->updateProfile();
    mPane->updateRecord(&mRecord);
    showPane();

    ASSERT_EQ(viewOf(mLimit)->model()->rowCount(), 1);
    EXPECT_EQ(cell(mLimit, 0, 0), "00:00:39.700");
    EXPECT_TRUE(column(mTable, 0).contains("00:00:39.700"));
    emit mTable->signalTime(t);
    EXPECT_TRUE(displays(mClock, "00:00:39.700"));
    mGraph->setTime(t);
    EXPECT_TRUE(mGraph->graph()->model().cursorText().startsWith("00:00:39.700/"));

    // Choosing the limit row sets the time the row shows.
    viewOf(mLimit)->clearSelection();
    clickRow(mLimit, 0);
    EXPECT_DOUBLE_EQ(mPane->time(), 39.7);
    EXPECT_TRUE(displays(mClock, "00:00:39.700"));

    // The date's seconds follow the same rule (TZ=UTC).
    mRecord.recordInfo().utcStart = QDateTime(QDate(2024, 3, 5), QTime(10, 20, 30), Qt::UTC).toSecsSinceEpoch();
    mPane->updateRecord(&mRecord);
    emit mTable->signalTime(49.9999995);
    EXPECT_TRUE(displays(mDate, "05.03.2024 10:21:10"));
    EXPECT_TRUE(displays(mClock, "00:00:50.000"));

    // The rule itself: less than a microsecond below a boundary shows it,
    // more shows the millisecond before; times before zero count down.
    EXPECT_EQ(RecordData::clockMs(39.69999997), 39700);
    EXPECT_EQ(RecordData::clockMs(39.6999985), 39699);
    EXPECT_EQ(RecordData::clockMs(39.7004), 39700);
    EXPECT_EQ(RecordData::clockMs(-0.0005), -1);
    EXPECT_EQ(RecordData::clockMs(std::nan("")), 0);
    EXPECT_EQ(RecordData::clockText(-0.0005), "23:59:59.999");
}

TEST_F(DataAreaPaneTest, TypedOffsetCountsOnceWhenEditingIsFinished)
{
    loadFlight();
    showPane();
    const QString file = mDir.file("Offset.xml");
    QLineEdit* edit = mOffset->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    const auto leaveField = [&] {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(mOffset, &out);
    };
    StdoutCapture quiet;

    // Key by key, while the cursor moves and the display refreshes: the
    // text stays as typed and nothing is taken or written yet.
    mOffset->setFocus();
    mOffset->selectAll();
    const QString typed = "2.5";
    for (int k = 0; k < typed.size(); ++k) {
        QTest::keyClick(mOffset, typed[k].toLatin1());
        mSlider->setValue(1000 * (k + 1));
        mPane->updateDisplay();
        EXPECT_EQ(edit->text(), typed.left(k + 1) + " s");
        EXPECT_EQ(mRecord.recordData().offset, 0.0);
        EXPECT_FALSE(QFile::exists(file)) << k;
    }
    QTest::keyClick(mOffset, Qt::Key_Return);
    EXPECT_EQ(mRecord.recordData().offset, 2.5);
    EXPECT_EQ(edit->text(), "2.50 s");
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_TRUE(QString::fromUtf8(testsupport::readFile(file)).contains("value=\"2.500000000000\""));

    // Written once: leaving the field and refreshing write nothing more.
    QFile::remove(file);
    leaveField();
    mPane->updateDisplay();
    mSlider->setValue(9000);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(edit->text(), "2.50 s");

    // An arrow step counts at once.
    mOffset->setFocus();
    QTest::keyClick(mOffset, Qt::Key_Up);
    EXPECT_EQ(mRecord.recordData().offset, 2.6);
    EXPECT_EQ(edit->text(), "2.60 s");
    EXPECT_TRUE(QString::fromUtf8(testsupport::readFile(file)).contains("value=\"2.600000000000\""));

    // Typed and left: taken when the focus leaves.
    mOffset->selectAll();
    QTest::keyClicks(mOffset, "-1.25");
    EXPECT_EQ(mRecord.recordData().offset, 2.6);
    leaveField();
    EXPECT_EQ(mRecord.recordData().offset, -1.25);
    EXPECT_EQ(edit->text(), "-1.25 s");
    EXPECT_TRUE(QString::fromUtf8(testsupport::readFile(file)).contains("value=\"-1.250000000000\""));
}

TEST_F(DataAreaPaneTest, SliderFollowsTheSpanAfterAnOffset)
{
    loadEgtAndHighOil(50.0f, 50.0f);
    mSlider->setValue(10000);
    ASSERT_DOUBLE_EQ(mPane->time(), 2.0);
    {
        StdoutCapture quiet;
        mOffset->setValue(2.5);
    }
    // The recording now runs from 1 s to 4.5 s; the cursor stays at 2 s.
    ASSERT_DOUBLE_EQ(mRecord.recordInfo().stopTime, 4.5);
    EXPECT_DOUBLE_EQ(mPane->time(), 2.0);
    EXPECT_EQ(mSlider->value(), static_cast<int>((2.0 - 1.0) / 3.5 * 10000));
    // The end of the slider reaches the new end.
    mSlider->setValue(10000);
    EXPECT_DOUBLE_EQ(mPane->time(), 4.5);
    EXPECT_EQ(cell(mTable, selectedRow(mTable), 0), "00:00:04.500");
}

TEST_F(DataAreaPaneTest, OffsetWithoutRecordingDoesNothing)
{
    // In a working folder of its own: the build folder is shared with the
    // test programs running beside this one.
    TempDir work;
    const QString home = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work.path()));
    mOffset->setValue(3.0);
    QDir::setCurrent(home);
    EXPECT_TRUE(QDir(work.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_FALSE(QFile::exists(mDir.file("Offset.xml")));
    EXPECT_EQ(mRecord.recordData().offset, 0.0);
}

TEST_F(DataAreaPaneTest, ReloadingKeepsOneListAndFollowsTheProfile)
{
    loadFlight();
    mPane->updateRecord(&mRecord);
    mPane->updateRecord(&mRecord);
    EXPECT_EQ(mRecord.recordData().limits.size(), 2u);
    EXPECT_EQ(viewOf(mLimit)->model()->rowCount(), 2);
    EXPECT_EQ(viewOf(mTable)->model()->rowCount(), 101);

    // A new selection: the table follows, the cursor stays.
    mSlider->setValue(5000);
    selectParameters({"EGT", "Oil"});
    mPane->updateProfile();
    EXPECT_EQ(headers(mTable), QStringList({"Time", "EGT [degC]", "Oil [bar]"}));
    EXPECT_EQ(selectedRow(mTable), 50);
    EXPECT_DOUBLE_EQ(mPane->time(), 50.0);
}


TEST_F(DataAreaPaneTest, SampleCardDateIsTheSameForEverySelectionAtTheSameCursor)
{
    // The second flight of the sample card starts at 09:10:00 at 1.57 s and
    // goes on in the high file, whose date and time messages tell a later
    // calendar time (TZ=UTC).
    KAVO::SampleCard::Options o;
    o.folder = mDir.file("card");
    o.messages = 6000;
    KAVO::SampleCard card(o);
    {
        StdoutCapture quiet;
        ASSERT_TRUE(card.write());
    }
    const QString low = o.folder + "/LOG_0002.CAN";
    const QString high = o.folder + "/LOG_8001.CAN";
    const QDateTime takeOff(QDate(2024, 5, 15), QTime(9, 10, 0), Qt::UTC);
    // At the flight's start and inside the high file.
    const double cursors[] = {1.57, card.offset() + 5.0};
    showPane();
    for (const QStringList& selection : {QStringList{low}, QStringList{low, high}, QStringList{high, low}}) {
        SCOPED_TRACE(selection.join(" ").toStdString());
        {
            StdoutCapture quiet;
            ASSERT_TRUE(mRecord.readRecordData(selection));
        }
        mPane->updateRecord(&mRecord);
        for (const double t : cursors) {
            emit mTable->signalTime(t);
            const QDateTime at = takeOff.addSecs(static_cast<qint64>(std::floor(t - 1.57)));
            EXPECT_TRUE(displays(mDate, at.toString("dd.MM.yyyy hh:mm:ss"))) << "cursor " << t;
        }
    }
}

} // namespace
