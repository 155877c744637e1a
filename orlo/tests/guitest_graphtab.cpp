// The graph tab: filling from a recording, the command buttons with their
// repeat, the setup dialog and the snapshot.
#include "DialogDataGraph.h"
#include "DialogDataTable.h"
#include "DialogGraphSetup.h"
#include "GraphData.h"
#include "Profile.h"
#include "Property.h"
#include "QwtComboBox.h"
#include "Record.h"
#include "StdoutCapture.h"
#include "TestRecords.h"
#include "TestSupport.h"
#include "WidgetGraph.h"
#include "WriteLimits.h"
#include "gui/ScriptedPrompt.h"
#include "gui/GuiInput.h"

#include <QCheckBox>
#include <QDir>
#include <QFontMetrics>
#include <QSet>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

using namespace KAVO;
using testsupport::StdoutCapture;
using testsupport::TempDir;
using testsupport::TestMessage;

namespace {

const char* const ManyParametersProfile = R"(<BrevantoProfile name="many">
  <Device name="Dev">
%1  </Device>
</BrevantoProfile>
)";

class GraphTabTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Property::instance()->clear();
        ASSERT_TRUE(testsupport::loadExportProfile(mDir.path()));
        mTab = new DialogDataGraph(nullptr);
        mGraph = mTab->graph();
        ASSERT_NE(mGraph, nullptr);
    }
    void TearDown() override
    {
        delete mTab;
        DialogGraphSetup::setColorChooser(nullptr);
        Property::instance()->clear();
    }

    void show()
    {
        mTab->resize(900, 600);
        mTab->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(mTab));
    }

    // The graph parameter of a selected parameter, by its name.
    static unsigned indexOf(const QString& name)
    {
        const std::vector<ProfileParameter> selected = DialogDataTable::selectedParameters();
        for (unsigned i = 0; i < selected.size(); ++i)
            if (selected[i].mName == name)
                return i;
        ADD_FAILURE() << "not selected: " << name.toStdString();
        return 0;
    }

    const GraphModel& m() const { return mGraph->model(); }
    double span() const { return mGraph->getXmax() - mGraph->getXmin(); }

    // The zoom buttons' repeat timer.
    QTimer* repeatTimer() const
    {
        QTimer* timer = nullptr;
        for (QTimer* t : mTab->findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly))
            if (t->interval() == 50)
                timer = t;
        return timer;
    }

    // Presses a button, lets its repeat timer run `steps` times and releases
    // it; a loaded machine may deliver the ticks late, never fewer.
    void hold(int id, int steps)
    {
        QTimer* timer = repeatTimer();
        ASSERT_NE(timer, nullptr);
        QSignalSpy ticks(timer, &QTimer::timeout);
        QTest::mousePress(mTab->button(id), Qt::LeftButton);
        while (ticks.count() < steps)
            ASSERT_TRUE(ticks.wait(30000));
        QTest::mouseRelease(mTab->button(id), Qt::LeftButton);
    }

    void click(int id) { QTest::mouseClick(mTab->button(id), Qt::LeftButton); }

    TempDir mDir;
    Record mRecord;
    DialogDataGraph* mTab = nullptr;
    WidgetGraph* mGraph = nullptr;
};

std::vector<TestMessage> ramp(uint32_t canId, double t0, int count, float v0)
{
    std::vector<TestMessage> messages;
    for (int k = 0; k < count; ++k)
        messages.push_back(testsupport::floatMessage(0, canId, t0 + k, v0 + k));
    return messages;
}

TEST_F(GraphTabTest, FillsTheSelectionInTimeOrderOnOneTimeline)
{
    // The later file is read first, and B comes from a high file.
    StdoutCapture out;
    ASSERT_TRUE(testsupport::loadRecording(mRecord, mDir.path(),
                                           {{"LOG_0002.CAN", ramp(0x10, 20.0, 3, 20.0f)},
                                            {"LOG_0001.CAN", ramp(0x10, 10.0, 3, 10.0f)},
                                            {"LOG_8001.CAN", ramp(0x11, 5.0, 2, 7.0f)}}));
    mRecord.recordData().offset = 100.0;
    testsupport::selectParameters({"A", "B"});
    mTab->updateProfile();
    mTab->updateRecord(&mRecord, true);
    const QString printed = out.text();
    EXPECT_FALSE(printed.contains("wrong time stamp")) << printed.toStdString();

    const unsigned a = indexOf("A");
    const unsigned b = indexOf("B");
    EXPECT_EQ(m().parameter(a).name, "A");
    EXPECT_EQ(m().parameter(b).name, "B");
    EXPECT_TRUE(m().parameter(a).active);
    EXPECT_TRUE(m().parameter(b).active);
    EXPECT_FALSE(m().parameter(2).active);

    // Nothing of either file of A was lost, and the samples are in order.
    const GraphSeries& sa = m().parameter(a).samples;
    ASSERT_EQ(sa.size(), 6u);
    for (std::size_t k = 0; k < sa.size(); ++k) {
        const double t = k < 3 ? 10.0 + k : 20.0 + (k - 3);
        EXPECT_NEAR(sa[k].time, t, 1e-6);
        EXPECT_DOUBLE_EQ(sa[k].value, t);
    }
    // The high file's messages sit at their time plus the folder's offset.
    double first = 0, last = 0;
    mGraph->getParameterRangeX(b, first, last);
    EXPECT_NEAR(first, 105.0, 1e-6);
    EXPECT_NEAR(last, 106.0, 1e-6);
    double v = 0;
    ASSERT_TRUE(mGraph->getValue(b, 105.5, v));
    EXPECT_NEAR(v, 7.5, 1e-6);

    // The new window holds the recording with a tenth of its length on each side.
    const RecordInfo& info = mRecord.recordInfo();
    const float margin = static_cast<float>(info.stopTime - info.startTime) * 0.1f;
    EXPECT_FLOAT_EQ(static_cast<float>(mGraph->getXmin()), static_cast<float>(info.startTime - margin));
    EXPECT_FLOAT_EQ(static_cast<float>(mGraph->getXmax()), static_cast<float>(info.stopTime + margin));
    EXPECT_DOUBLE_EQ(mGraph->getCursorTime(), info.startTime);

    // Without a recording the graph is empty.
    mTab->updateRecord(nullptr, true);
    EXPECT_TRUE(m().parameter(a).samples.empty());
    EXPECT_TRUE(m().parameter(b).samples.empty());
}

TEST_F(GraphTabTest, WindowFollowsTheTimeFromElsewhere)
{
    StdoutCapture quiet;
    ASSERT_TRUE(testsupport::loadRecording(mRecord, mDir.path(),
                                           {{"LOG_0001.CAN", {testsupport::floatMessage(0, 0x10, 100.0, 1.0f),
                                                              testsupport::floatMessage(0, 0x10, 200.0, 2.0f)}}}));
    testsupport::selectParameters({"A"});
    mTab->updateProfile();
    mTab->updateRecord(&mRecord, true);
    ASSERT_NEAR(mRecord.recordInfo().startTime, 100.0, 1e-6);
    EXPECT_NEAR(mGraph->getXmin(), 90.0, 1e-3);
    EXPECT_NEAR(mGraph->getXmax(), 210.0, 1e-3);
    EXPECT_NEAR(mGraph->getCursorTime(), 100.0, 1e-6);

    QSignalSpy cursor(mTab, &DialogDataGraph::signalCursor);
    // Within 10 % of the start: the window moves to keep it off the edge.
    mTab->setTime(100.0);
    EXPECT_NEAR(mGraph->getXmin(), 88.0, 1e-3);
    EXPECT_NEAR(mGraph->getXmax(), 208.0, 1e-3);
    // In the middle part nothing moves but the cursor.
    mTab->setTime(150.0);
    EXPECT_NEAR(mGraph->getXmin(), 88.0, 1e-3);
    EXPECT_DOUBLE_EQ(mGraph->getCursorTime(), 150.0);
    // Beyond the end the window ends a tenth after the cursor.
    mTab->setTime(300.0);
    EXPECT_NEAR(mGraph->getXmax(), 312.0, 1e-3);
    EXPECT_NEAR(span(), 120.0, 1e-3);
    EXPECT_EQ(cursor.count(), 0);

    // A new offset keeps the window.
    mTab->updateRecord(&mRecord, false);
    EXPECT_NEAR(mGraph->getXmax(), 312.0, 1e-3);
    // Also in automatic mode, where feeding the samples moves the window.
    mGraph->setGraphMode(WidgetGraph::GraphAutomatic);
    mTab->updateRecord(&mRecord, false);
    EXPECT_NEAR(mGraph->getXmin(), 192.0, 1e-3);
    EXPECT_NEAR(mGraph->getXmax(), 312.0, 1e-3);
    EXPECT_EQ(m().parameter(0).samples.size(), 2u);
}

TEST_F(GraphTabTest, LegendAtTheRecordingStart)
{
    // A starts the recording; B begins half a second later.
    {
        StdoutCapture quiet;
        ASSERT_TRUE(testsupport::loadRecording(mRecord, mDir.path(),
                                               {{"LOG_0001.CAN", {testsupport::floatMessage(0, 0x10, 3600.25, 4.0f),
                                                                  testsupport::floatMessage(0, 0x11, 3600.75, 7.0f),
                                                                  testsupport::floatMessage(0, 0x10, 3601.25, 6.0f),
                                                                  testsupport::floatMessage(0, 0x11, 3601.75, 9.0f)}}}));
    }
    testsupport::selectParameters({"A", "B"});
    mTab->updateProfile();
    mTab->updateRecord(&mRecord, true);
    const double start = mRecord.recordInfo().startTime;
    mTab->setTime(start);
    const unsigned a = indexOf("A");
    const unsigned b = indexOf("B");
    // On a first sample the legend gives its value; before one it has none.
    EXPECT_EQ(m().legendText(a), QString("A   4.000000"));
    EXPECT_EQ(m().legendText(b), QString("B   ---"));
    double firstB = 0, lastB = 0;
    mGraph->getParameterRangeX(b, firstB, lastB);
    mTab->setTime(firstB);
    EXPECT_EQ(m().legendText(a), QString("A   5.000000"));
    EXPECT_EQ(m().legendText(b), QString("B   7.000000"));
}

TEST_F(GraphTabTest, RecordingOfOneMessageDraws)
{
    StdoutCapture quiet;
    ASSERT_TRUE(testsupport::loadRecording(mRecord, mDir.path(),
                                           {{"LOG_0001.CAN", {testsupport::floatMessage(0, 0x10, 42.0, 5000.0f)}}}));
    testsupport::selectParameters({"A"});
    mTab->updateProfile();
    mTab->updateRecord(&mRecord, true);
    mTab->setTime(mRecord.recordInfo().startTime);
    EXPECT_GE(span(), 1.0);
    show();
    const QImage img = mGraph->grabGraph();
    EXPECT_FALSE(img.isNull());
}

TEST_F(GraphTabTest, MoreThanThirtySelectedShowsTheFirstThirty)
{
    QString parameters;
    for (int i = 0; i < 31; ++i)
        parameters += QString("    <Parameter name=\"P%1\" id=\"0x%2\" channel=\"0\" startByte=\"4\" dataType=\"FLOAT\"/>\n")
                          .arg(i, 2, 10, QChar('0'))
                          .arg(0x100 + i, 0, 16);
    ASSERT_TRUE(testsupport::loadProfileText(mDir.path(), QString(ManyParametersProfile).arg(parameters).toUtf8(),
                                             "many.xml"));
    for (auto& device : Profile::instance()->data().mDevices)
        for (auto& p : device.second.mParameters)
            p.second.mSelected = true;
    std::vector<TestMessage> messages;
    for (int i = 0; i < 31; ++i)
        messages.push_back(testsupport::floatMessage(0, 0x100 + i, 1.0, static_cast<float>(i)));
    StdoutCapture quiet;
    ASSERT_TRUE(testsupport::loadRecording(mRecord, mDir.path(), {{"LOG_0001.CAN", messages}}));
    mTab->updateProfile();
    mTab->updateRecord(&mRecord, true);

    const std::vector<ProfileParameter> selected = DialogDataTable::selectedParameters();
    ASSERT_EQ(selected.size(), 31u);
    ASSERT_EQ(m().parameterCount(), 30u);
    for (unsigned i = 0; i < 30; ++i) {
        EXPECT_TRUE(m().parameter(i).active);
        EXPECT_EQ(QString::fromStdString(m().parameter(i).name), selected[i].mName);
        EXPECT_EQ(m().parameter(i).samples.size(), 1u);
    }
    for (unsigned i = 0; i < 30; ++i)
        EXPECT_FALSE(m().legendText(i).startsWith(selected[30].mName + " "));

    // A smaller selection switches the rest off.
    testsupport::selectParameters({"P03"});
    mTab->updateProfile();
    EXPECT_TRUE(m().parameter(0).active);
    EXPECT_EQ(m().parameter(0).name, "P03");
    EXPECT_DOUBLE_EQ(m().parameter(0).samples.back().value, 3.0);
    EXPECT_FALSE(m().parameter(1).active);
    EXPECT_FALSE(m().parameter(29).active);
}

TEST_F(GraphTabTest, ButtonsAndStartModes)
{
    const char* const tips[] = {"Zoom In",    "Zoom Out",   "Zoom 1:1",          "Zoom Marker",
                                "Clear All",  "Automatic Mode", "Split Mode", "Single Graph Mode",
                                "Reset all to default", "Setup", "Snapshot"};
    show();
    for (int id = 0; id < DialogDataGraph::CommandCount; ++id) {
        QToolButton* b = mTab->button(id);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->toolTip(), tips[id]);
        EXPECT_EQ(b->size(), QSize(32, 32));
        EXPECT_EQ(b->isVisible(), id != DialogDataGraph::CommandClear && id != DialogDataGraph::CommandAutomatic);
        if (id != DialogDataGraph::CommandAutomatic) {
            EXPECT_FALSE(b->icon().isNull()) << id;
        }
    }
    EXPECT_EQ(mTab->button(DialogDataGraph::CommandAutomatic)->text(), "Auto");
    // Left to right in id order.
    for (int id = 1; id < DialogDataGraph::CommandCount; ++id)
        if (mTab->button(id)->isVisible() && mTab->button(id - 1)->isVisible()) {
            EXPECT_LT(mTab->button(id - 1)->x(), mTab->button(id)->x());
        }
    EXPECT_LT(mTab->button(0)->y() + 32, mGraph->y() + 5);

    EXPECT_EQ(m().parameterCount(), 30u);
    EXPECT_EQ(mGraph->getDisplayMode(), WidgetGraph::DisplaySplit);
    EXPECT_EQ(mGraph->getGraphMode(), WidgetGraph::GraphManual);
    EXPECT_EQ(mGraph->getCursorMode(), WidgetGraph::CursorFloating);
    EXPECT_TRUE(mTab->button(DialogDataGraph::CommandSplit)->isChecked());
    EXPECT_FALSE(mTab->button(DialogDataGraph::CommandSingle)->isChecked());

    // Single and split, each setting both buttons.
    click(DialogDataGraph::CommandSingle);
    EXPECT_EQ(mGraph->getDisplayMode(), WidgetGraph::DisplaySingle);
    EXPECT_EQ(mTab->graphData().displayMode, 0);
    EXPECT_FALSE(mTab->button(DialogDataGraph::CommandSplit)->isChecked());
    EXPECT_TRUE(mTab->button(DialogDataGraph::CommandSingle)->isChecked());
    click(DialogDataGraph::CommandSingle);   // clicking the checked one keeps it
    EXPECT_TRUE(mTab->button(DialogDataGraph::CommandSingle)->isChecked());
    click(DialogDataGraph::CommandSplit);
    EXPECT_EQ(mGraph->getDisplayMode(), WidgetGraph::DisplaySplit);
    EXPECT_TRUE(mTab->button(DialogDataGraph::CommandSplit)->isChecked());
    EXPECT_FALSE(mTab->button(DialogDataGraph::CommandSingle)->isChecked());

    // The graph's F2 key: the buttons follow with the next update.
    mGraph->setFocus();
    QTest::keyClick(mGraph, Qt::Key_F2);
    mTab->updateControls();
    EXPECT_TRUE(mTab->button(DialogDataGraph::CommandSingle)->isChecked());

    // Reset: split display and a minute.
    mGraph->setXrange(200.0f);
    click(DialogDataGraph::CommandReset);
    EXPECT_EQ(mGraph->getDisplayMode(), WidgetGraph::DisplaySplit);
    EXPECT_NEAR(span(), 60.0, 1e-3);
    EXPECT_EQ(mTab->graphData().timeSpan, 60.0);
    EXPECT_TRUE(mTab->button(DialogDataGraph::CommandSplit)->isChecked());
}

TEST_F(GraphTabTest, HeldZoomButtonsRepeatWithinTheirBounds)
{
    show();
    mGraph->setXmin(0.0f);
    mGraph->setXmax(60.0f);

    // Twenty steps in, keeping the start (manual mode): 60 s times 0.97^20,
    // where 0.97^2 = 0.9409, ^4 = 0.88529281, ^5 = 0.858734026,
    // ^10 = 0.737424127 and ^20 = 0.543794, gives 32.6277 s (twenty float
    // products stay within 1e-4 of it).
    hold(DialogDataGraph::CommandZoomIn, 20);
    EXPECT_NEAR(span(), 32.6277, 1e-4);
    EXPECT_DOUBLE_EQ(mGraph->getXmin(), 0.0);
    EXPECT_NEAR(mTab->graphData().timeSpan, span(), 1e-4);

    // Released: the timer goes on but the window stays (judged after three
    // ticks, however long they take to come).
    const double after = span();
    {
        QSignalSpy ticks(repeatTimer(), &QTimer::timeout);
        while (ticks.count() < 3)
            ASSERT_TRUE(ticks.wait(30000));
    }
    EXPECT_DOUBLE_EQ(span(), after);

    // A wide window drops to 5000 s with the first step.
    mGraph->setXrange(9000.0f);
    hold(DialogDataGraph::CommandZoomIn, 1);
    EXPECT_NEAR(span(), 5000.0, 1e-3);

    // Zooming out grows by 1/0.97 a step and never leaves less than a second.
    mGraph->setXrange(60.0f);
    hold(DialogDataGraph::CommandZoomOut, 2);
    EXPECT_NEAR(span(), 63.7687, 1e-3);  // 60 / 0.9409

    // Held Zoom In stops at the narrowest window and still draws.
    mGraph->setXrange(2.0f);
    hold(DialogDataGraph::CommandZoomIn, 30);
    EXPECT_DOUBLE_EQ(span(), GraphModel::kMinSpan);
    EXPECT_EQ(mTab->graphData().timeSpan, GraphModel::kMinSpan);
    EXPECT_DOUBLE_EQ(mGraph->getXmin(), 0.0);
    EXPECT_FALSE(mGraph->grabGraph().isNull());

    // Zoom 1:1.
    click(DialogDataGraph::CommandZoom1);
    EXPECT_NEAR(span(), 60.0, 1e-4);
    EXPECT_EQ(mTab->graphData().timeSpan, 60.0);
}

TEST_F(GraphTabTest, ZoomToTheMarkers)
{
    show();
    mGraph->setXmin(0.0f);
    mGraph->setXmax(100.0f);
    mGraph->grabGraph();   // lays out the plot
    const auto xOf = [&](double t) {
        return QPoint(static_cast<int>(std::lround(m().xToViewport(t))), mGraph->height() / 2);
    };
    QSignalSpy markers(mGraph, &WidgetGraph::signalMarker);
    QTest::mousePress(mGraph, Qt::LeftButton, Qt::NoModifier, xOf(20.0));
    testsupport::dragTo(mGraph, xOf(50.0), Qt::LeftButton);
    QTest::mouseRelease(mGraph, Qt::LeftButton, Qt::NoModifier, xOf(50.0));
    ASSERT_GE(markers.count(), 2);
    const double t0 = mTab->markStart();
    const double t1 = mTab->markStop();
    EXPECT_NEAR(t0, 20.0, 0.5);
    EXPECT_NEAR(t1, 50.0, 0.5);

    click(DialogDataGraph::CommandZoomMarker);
    EXPECT_DOUBLE_EQ(mGraph->getXmin(), t0);
    EXPECT_DOUBLE_EQ(mGraph->getXmax(), t1);
    EXPECT_EQ(mGraph->getGraphMode(), WidgetGraph::GraphManual);

    // Both markers on one time: a second from there.
    mGraph->setMarker(12.0, 12.0);
    click(DialogDataGraph::CommandZoomMarker);
    EXPECT_DOUBLE_EQ(mGraph->getXmin(), 12.0);
    EXPECT_DOUBLE_EQ(mGraph->getXmax(), 13.0);
    EXPECT_FALSE(mGraph->grabGraph().isNull());
}

// The graph in a tab page as the data area holds it, the page hidden
// while a recording is loaded.
class GraphInTabTest : public GraphTabTest
{
protected:
    void SetUp() override
    {
        GraphTabTest::SetUp();
        delete mTab;
        mTabs.addTab(new QWidget, "Data");
        mTab = new DialogDataGraph(&mTabs);
        mGraph = mTab->graph();
        mTabs.addTab(mTab, "Graph");
        mTabs.resize(1000, 700);
        mTabs.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&mTabs));
        testsupport::selectParameters({"A"});
        mTab->updateProfile();
    }
    void TearDown() override
    {
        mTab = nullptr;   // the tab widget owns it
        GraphTabTest::TearDown();
    }

    // The data area's steps: the recording, then the cursor at its start.
    void load(Record& record)
    {
        mTab->updateRecord(&record, true);
        mTab->setTime(record.recordInfo().startTime);
    }

    // Turns to the graph page and gives the first frame it shows, read
    // back from the graph's frame buffer as composed (a grab would paint
    // anew), with the range that frame gave A.
    QImage firstFrame(double& rangeLow, double& rangeHigh)
    {
        QImage frame;
        const QMetaObject::Connection c = QObject::connect(mGraph, &QOpenGLWidget::frameSwapped, [&] {
            if (!frame.isNull())
                return;
            const qreal dpr = mGraph->devicePixelRatioF();
            const int w = static_cast<int>(mGraph->width() * dpr);
            const int h = static_cast<int>(mGraph->height() * dpr);
            QImage pixels(w, h, QImage::Format_RGBA8888);
            mGraph->makeCurrent();
            QOpenGLFunctions* f = mGraph->context()->functions();
            f->glBindFramebuffer(GL_FRAMEBUFFER, mGraph->defaultFramebufferObject());
            f->glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.bits());
            mGraph->doneCurrent();
            frame = pixels.mirrored().convertToFormat(QImage::Format_RGB32);
            rangeLow = m().parameter(0).rangeLow;
            rangeHigh = m().parameter(0).rangeHigh;
        });
        mTabs.setCurrentIndex(1);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !frame.isNull(); }, 20000)) << "no frame shown";
        QObject::disconnect(c);
        return frame;
    }

    // The picture once every scale has followed the data.
    QImage settled()
    {
        QImage img;
        for (int k = 0; k < 3; ++k)
            img = mGraph->grabGraph();
        return img.convertToFormat(QImage::Format_RGB32);
    }

    QTabWidget mTabs;
};

TEST_F(GraphInTabTest, FirstFrameShowsTheLoadedRecording)
{
    // Long enough that the throttled repaint waits more than a second.
    std::vector<TestMessage> first;
    for (int k = 0; k < 2000; ++k)
        first.push_back(testsupport::floatMessage(0, testsupport::IdA, 100.0 + k, 100.0f + 0.1f * k));
    {
        StdoutCapture quiet;
        ASSERT_TRUE(testsupport::loadRecording(mRecord, mDir.path(), {{"LOG_0001.CAN", first}}));
        load(mRecord);
    }
    double low = 0, high = 0;
    QImage shown = firstFrame(low, high);
    EXPECT_LT(low, 100.0);
    EXPECT_GT(high, 299.0);
    EXPECT_LT(high - low, 2 * 200.0);
    EXPECT_TRUE(shown == settled()) << "the first frame is not the settled picture";

    // Hidden again, shown before with another recording: the new one at once.
    mTabs.setCurrentIndex(0);
    std::vector<TestMessage> second;
    for (int k = 0; k < 600; ++k)
        second.push_back(testsupport::floatMessage(0, testsupport::IdA, 5000.0 + k, -50.0f + 0.05f * k));
    Record other;
    ASSERT_TRUE(QDir().mkpath(mDir.file("other")));
    {
        StdoutCapture quiet;
        ASSERT_TRUE(testsupport::loadRecording(other, mDir.file("other"), {{"LOG_0001.CAN", second}}));
        load(other);
    }
    shown = firstFrame(low, high);
    EXPECT_LT(low, -50.0);
    EXPECT_GT(high, -20.1);
    EXPECT_LT(high - low, 2 * 30.0);
    EXPECT_TRUE(shown == settled()) << "the first frame is not the settled picture";
}

// ---------------------------------------------------------------- setup

class GraphSetupTest : public GraphTabTest
{
protected:
    void SetUp() override
    {
        GraphTabTest::SetUp();
        mSetup = mTab->setupDialog();
        ASSERT_NE(mSetup, nullptr);
        const QList<QLineEdit*> edits = mSetup->findChildren<QLineEdit*>();
        ASSERT_EQ(edits.size(), 2);
        mYmin = edits[0];
        mYmax = edits[1];
        for (QPushButton* b : mSetup->findChildren<QPushButton*>())
            (b->text() == "Select" ? mSelect : mOther).push_back(b);
        ASSERT_EQ(mSelect.size(), 4u);
    }

    QCheckBox* box(const QString& text) const
    {
        for (QCheckBox* c : mSetup->findChildren<QCheckBox*>())
            if (c->text() == text)
                return c;
        ADD_FAILURE() << "no check box " << text.toStdString();
        return nullptr;
    }
    static void type(QLineEdit* edit, const QString& text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    DialogGraphSetup* mSetup = nullptr;
    QLineEdit* mYmin = nullptr;
    QLineEdit* mYmax = nullptr;
    std::vector<QPushButton*> mSelect;
    std::vector<QPushButton*> mOther;
};

TEST_F(GraphSetupTest, ShowsTheRecordAndHidesOnClose)
{
    EXPECT_EQ(mSetup->windowTitle(), "Oscilloscope Setup");
    EXPECT_FALSE(mSetup->windowIcon().isNull());
    EXPECT_FALSE(mSetup->isVisible());
    show();
    click(DialogDataGraph::CommandSetup);
    ASSERT_TRUE(mSetup->isVisible());
    EXPECT_FALSE(mSetup->isModal());

    EXPECT_EQ(mYmin->text(), "-100");
    EXPECT_EQ(mYmax->text(), "100");
    for (const char* name : {"Grid On", "Cursor On", "Legend On", "Autoscale On"})
        EXPECT_TRUE(box(name)->isChecked()) << name;
    EXPECT_EQ(mSelect[0]->palette().color(QPalette::Button), QColor("#000000"));
    EXPECT_EQ(mSelect[1]->palette().color(QPalette::Button), QColor("#ff6666"));
    EXPECT_EQ(mSelect[3]->palette().color(QPalette::Button), QColor("#bbbbbb"));
    QwtComboBox* mode = mSetup->findChild<QwtComboBox*>();
    ASSERT_NE(mode, nullptr);
    EXPECT_FALSE(mode->isVisible());
    EXPECT_EQ(mode->count(), 3);
    EXPECT_EQ(mode->currentData().toInt(), 1);
    EXPECT_EQ(mode->itemText(0), "Floating");

    ASSERT_EQ(mOther.size(), 1u);
    EXPECT_EQ(mOther[0]->text(), "Close");
    EXPECT_TRUE(mOther[0]->isDefault());
    QTest::mouseClick(mOther[0], Qt::LeftButton);
    EXPECT_FALSE(mSetup->isVisible());
    // It keeps its state for the next time.
    mTab->graphData().yMax = 7.0;
    mSetup->updateDialog();
    click(DialogDataGraph::CommandSetup);
    EXPECT_TRUE(mSetup->isVisible());
    EXPECT_EQ(mYmax->text(), "7");
}

TEST_F(GraphSetupTest, ChangesReachTheGraph)
{
    show();
    click(DialogDataGraph::CommandSetup);
    QSignalSpy changed(mSetup, &DialogGraphSetup::signalChanged);

    // The first change brings the record's modes: automatic, centre cursor.
    mGraph->setXrange(30.0f);
    type(mYmax, "1e3");
    EXPECT_EQ(mTab->graphData().yMax, 1000.0);
    EXPECT_EQ(m().yMax(), 1000.0);
    EXPECT_EQ(mGraph->getGraphMode(), WidgetGraph::GraphAutomatic);
    EXPECT_EQ(mGraph->getCursorMode(), WidgetGraph::CursorCenter);
    EXPECT_EQ(mGraph->getDisplayMode(), WidgetGraph::DisplaySplit);
    EXPECT_NEAR(span(), 60.0, 1e-4);
    EXPECT_EQ(m().yMin(), -100.0);
    EXPECT_EQ(changed.count(), 4);   // the clearing, then one per keystroke
    changed.clear();

    // Letters read as 0.
    type(mYmin, "abc");
    EXPECT_EQ(mTab->graphData().yMin, 0.0);
    EXPECT_EQ(m().yMin(), 0.0);

    // Check boxes.
    QTest::mouseClick(box("Autoscale On"), Qt::LeftButton);
    EXPECT_FALSE(mTab->graphData().autoscaleOn);
    EXPECT_FALSE(m().autoScaleY());
    QTest::mouseClick(box("Grid On"), Qt::LeftButton);
    EXPECT_FALSE(mTab->graphData().gridOn);
    QTest::mouseClick(box("Legend On"), Qt::LeftButton);
    EXPECT_FALSE(mTab->graphData().legendOn);
    QTest::mouseClick(box("Cursor On"), Qt::LeftButton);
    EXPECT_FALSE(mTab->graphData().cursorOn);
    QTest::mouseClick(box("Cursor On"), Qt::LeftButton);
    EXPECT_TRUE(mTab->graphData().cursorOn);

    // A chosen colour is stored by its name and drawn; a cancelled choice
    // still reports and keeps the colour.
    QColor offered;
    DialogGraphSetup::setColorChooser([&](const QColor& current) {
        offered = current;
        return QColor(0, 0, 255);
    });
    changed.clear();
    QTest::mouseClick(mSelect[0], Qt::LeftButton);
    EXPECT_EQ(offered, QColor(0, 0, 0));
    EXPECT_EQ(mTab->graphData().backColor, "#0000ff");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(mSelect[0]->palette().color(QPalette::Button), QColor(0, 0, 255));
    DialogGraphSetup::setColorChooser([](const QColor&) { return QColor(); });
    QTest::mouseClick(mSelect[0], Qt::LeftButton);
    EXPECT_EQ(mTab->graphData().backColor, "#0000ff");
    EXPECT_EQ(changed.count(), 2);
    DialogGraphSetup::setColorChooser([](const QColor&) { return QColor(255, 255, 0); });
    QTest::mouseClick(mSelect[3], Qt::LeftButton);
    EXPECT_EQ(mTab->graphData().labelBackColor, "#ffff00");

    // The updated widgets did not report again.
    EXPECT_EQ(changed.count(), 3);
    EXPECT_EQ(mYmin->text(), "0");
    EXPECT_FALSE(box("Grid On")->isChecked());

    // Background and label background as painted (no data, so no curve;
    // the cursor line in the middle of the window, where the centre cursor
    // mode keeps it).
    mGraph->setGraphMode(WidgetGraph::GraphManual);
    QImage img;
    for (int k = 0; k < 3; ++k)
        img = mGraph->grabGraph();
    EXPECT_NEAR(m().xToViewport(mGraph->getCursorTime()), m().plotLeft() + m().plotWidth() / 2, 1.0);
    const int x = static_cast<int>(m().plotLeft() + m().plotWidth() / 4);
    const int y = img.height() - 1 - static_cast<int>(m().plotBottom() + m().plotHeight() / 3);
    EXPECT_EQ(img.pixelColor(x, y), QColor(0, 0, 255)) << img.pixelColor(x, y).name().toStdString();
    EXPECT_EQ(img.pixelColor(2, 2), QColor(255, 255, 0)) << img.pixelColor(2, 2).name().toStdString();
}

TEST_F(GraphSetupTest, ChangesKeepTheWindowOnTheCursor)
{
    // Twenty minutes, the whole recording in the window, the cursor in its
    // middle: the data area's steps.
    {
        StdoutCapture quiet;
        ASSERT_TRUE(testsupport::loadRecording(mRecord, mDir.path(), {{"LOG_0001.CAN", ramp(0x10, 0.0, 1201, 0.0f)}}));
    }
    testsupport::selectParameters({"A"});
    mTab->updateProfile();
    mTab->updateRecord(&mRecord, true);
    mTab->setTime(600.0);
    show();
    click(DialogDataGraph::CommandSetup);

    // The window holds the cursor and draws the curve there with its time labels.
    const auto expectOnCursor = [&](const char* step) {
        SCOPED_TRACE(step);
        const double t = mGraph->getCursorTime();
        EXPECT_GE(t, mGraph->getXmin());
        EXPECT_LE(t, mGraph->getXmax());
        const QImage img = mGraph->grabGraph().convertToFormat(QImage::Format_RGB32);
        // Red pixels of the plot below the legend's line.
        int red = 0;
        const int top = img.height() - static_cast<int>(m().plotBottom() + m().plotHeight()) + 25;
        for (int y = top; y < img.height() - static_cast<int>(m().plotBottom()); ++y)
            for (int x = static_cast<int>(m().plotLeft()); x < static_cast<int>(m().plotLeft() + m().plotWidth()); ++x) {
                const QColor c = img.pixelColor(x, y);
                red += c.red() > 240 && c.green() < 20 && c.blue() < 20;
            }
        EXPECT_GT(red, 50) << "no curve drawn";
        int timeLabels = 0;
        for (const GraphTicks::Label& l : mGraph->axisLabels())
            timeLabels += l.baseline < m().plotBottom() - 10.0;
        EXPECT_GE(timeLabels, 2);
    };

    // The first change brings the record's span and modes around the cursor.
    QTest::mouseClick(box("Legend On"), Qt::LeftButton);
    EXPECT_EQ(mGraph->getGraphMode(), WidgetGraph::GraphAutomatic);
    EXPECT_EQ(mGraph->getCursorMode(), WidgetGraph::CursorCenter);
    EXPECT_NEAR(span(), 60.0, 1e-3);
    EXPECT_NEAR(mGraph->getXmin(), 570.0, 1e-3);
    expectOnCursor("legend off");

    // Zooming from there keeps the cursor in the middle.
    hold(DialogDataGraph::CommandZoomOut, 8);
    EXPECT_NEAR(span(), 60.0 / std::pow(0.97, 8), 1e-2);
    EXPECT_NEAR(0.5 * (mGraph->getXmin() + mGraph->getXmax()), 600.0, 1e-3);
    expectOnCursor("zoomed out");
    hold(DialogDataGraph::CommandZoomIn, 40);
    EXPECT_NEAR(0.5 * (mGraph->getXmin() + mGraph->getXmax()), 600.0, 1e-3);
    expectOnCursor("zoomed in");

    // A colour change, a cursor moved elsewhere, Reset, and the tab hidden
    // and shown again.
    DialogGraphSetup::setColorChooser([](const QColor&) { return QColor(0, 0, 128); });
    QTest::mouseClick(mSelect[0], Qt::LeftButton);
    expectOnCursor("background");
    mTab->setTime(1150.0);
    QTest::mouseClick(box("Legend On"), Qt::LeftButton);
    expectOnCursor("cursor moved");
    click(DialogDataGraph::CommandReset);
    EXPECT_NEAR(span(), 60.0, 1e-3);
    expectOnCursor("reset");
    mTab->hide();
    show();
    expectOnCursor("shown again");
}

// The contrast ratio of two colours by their relative luminance (1 to 21).
double contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_F(GraphSetupTest, SelectButtonsShowTheirColourWithReadableText)
{
    show();
    click(DialogDataGraph::CommandSetup);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(mSetup));
    // Background and label colour start black.
    EXPECT_EQ(mTab->graphData().backColor, "#000000");
    EXPECT_EQ(mTab->graphData().labelColor, "#000000");
    EXPECT_TRUE(mSetup->grab().save(testsupport::artifactsDir() + "/graph-setup.png"));

    const char* const fills[] = {"#000000", "#000080", "#ff0000", "#808080", "#ffff00", "#bbbbbb", "#ffffff"};
    for (const char* name : fills) {
        const QColor fill(name);
        DialogGraphSetup::setColorChooser([&](const QColor&) { return fill; });
        for (const int row : {0, 2}) { // Background Color, Label Color
            SCOPED_TRACE(std::string(name) + " in row " + std::to_string(row));
            QPushButton* button = mSelect[static_cast<std::size_t>(row)];
            if (QColor(row == 0 ? mTab->graphData().backColor : mTab->graphData().labelColor) != fill) {
                QTest::mouseClick(button, Qt::LeftButton);
                // Read back as shown, with neither the pointer nor the focus on it.
                QTest::mouseMove(mSetup, QPoint(2, 2));
                mOther[0]->setFocus();
            }
            const QImage img = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
            // The button is filled with the colour (the style shades the
            // face of lighter colours; black stays black all over).
            EXPECT_EQ(img.pixelColor(0, 0), fill);
            EXPECT_EQ(img.pixelColor(img.width() - 1, img.height() - 1), fill);
            if (fill == Qt::black) {
                int filled = 0;
                for (int y = 0; y < img.height(); ++y)
                    for (int x = 0; x < img.width(); ++x)
                        filled += img.pixelColor(x, y) == fill;
                EXPECT_GT(filled, img.width() * img.height() * 3 / 4);
            }
            // The text in the middle stands out from the face beside it (the
            // face changes from row to row only).
            const QFontMetrics fm(button->font());
            QRect text = fm.boundingRect(button->text());
            text.moveCenter(img.rect().center());
            ASSERT_GT(text.left(), 4);
            int readable = 0;
            for (int y = text.top(); y <= text.bottom(); ++y) {
                const QColor face = img.pixelColor(text.left() - 3, y);
                for (int x = text.left(); x <= text.right(); ++x)
                    readable += contrast(img.pixelColor(x, y), face) >= 4.5;
            }
            EXPECT_GT(readable, 3 * fm.height()) << "text pixels that contrast with the face";
        }
    }
}

TEST_F(GraphSetupTest, DegenerateYLimitsDraw)
{
    StdoutCapture quiet;
    ASSERT_TRUE(testsupport::loadRecording(mRecord, mDir.path(), {{"LOG_0001.CAN", ramp(0x10, 0.0, 30, 5.0f)}}));
    testsupport::selectParameters({"A"});
    mTab->updateProfile();
    mTab->updateRecord(&mRecord, true);
    show();
    click(DialogDataGraph::CommandSetup);

    // Equal limits typed with autoscale off.
    QTest::mouseClick(box("Autoscale On"), Qt::LeftButton);
    type(mYmin, "5");
    type(mYmax, "5");
    EXPECT_EQ(m().yMin(), 5.0);
    EXPECT_EQ(m().yMax(), 5.0);
    EXPECT_FALSE(mGraph->grabGraph().isNull());
    // Reversed, huge and typed-over limits.
    type(mYmin, "1e300");
    type(mYmax, "-1e300");
    EXPECT_FALSE(mGraph->grabGraph().isNull());
    // A constant 5000 under autoscale.
    QTest::mouseClick(box("Autoscale On"), Qt::LeftButton);
    mRecord = Record();
    ASSERT_TRUE(testsupport::loadRecording(mRecord, mDir.path(),
                                           {{"LOG_0002.CAN", {testsupport::floatMessage(0, 0x10, 1.0, 5000.0f),
                                                              testsupport::floatMessage(0, 0x10, 9.0, 5000.0f)}}}));
    mTab->updateRecord(&mRecord, true);
    for (int k = 0; k < 3; ++k)
        EXPECT_FALSE(mGraph->grabGraph().isNull());
}

// ---------------------------------------------------------------- snapshot

class GraphSnapshotTest : public GraphTabTest
{
protected:
    void SetUp() override
    {
        GraphTabTest::SetUp();
        StdoutCapture quiet;
        ASSERT_TRUE(testsupport::loadRecording(mRecord, mDir.path(), {{"LOG_0001.CAN", ramp(0x10, 0.0, 60, 0.0f)}}));
        testsupport::selectParameters({"A"});
        mTab->updateProfile();
        mTab->updateRecord(&mRecord, true);
        show();
        for (int k = 0; k < 3; ++k)
            mGraph->grabGraph();
    }

    // Saves under `name` through the tab's own button; the failure boxes
    // that follow the file dialog go to mFailures.
    QString save(const QString& name)
    {
        ScriptedPrompt prompt;
        prompt.files.enqueue(name);
        StdoutCapture out;
        click(DialogDataGraph::CommandSnapshot);
        const QString printed = out.text();
        EXPECT_GE(prompt.asked.size(), 1);
        mFailures.clear();
        for (int i = 0; i < prompt.asked.size(); ++i) {
            const ScriptedPrompt::Asked& a = prompt.asked[i];
            if (i == 0)
                mAsked = QStringList({a.kind, a.title, a.text, a.filter});
            else
                mFailures.append(a);
        }
        return printed;
    }

    // The one failure box of the last save names the file.
    void expectFailureBox(const QString& file)
    {
        ASSERT_EQ(mFailures.size(), 1);
        EXPECT_EQ(mFailures[0].kind, "critical");
        EXPECT_EQ(mFailures[0].title, "Save Snapshot");
        EXPECT_EQ(mFailures[0].text, "Saving the snapshot failed !\n" + file);
    }

    // Pixels of the red first curve inside the graph's area of a picture.
    int curvePixels(const QImage& img) const
    {
        const QRect area(mGraph->mapTo(mTab, QPoint(0, 0)), mGraph->size());
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QColor c = img.pixelColor(x, y);
                n += c.red() > 240 && c.green() < 20 && c.blue() < 20;
            }
        return n;
    }

    QStringList mAsked;
    QList<ScriptedPrompt::Asked> mFailures;
};

TEST_F(GraphSnapshotTest, BitmapHoldsTheCurve)
{
    const QString file = mDir.file("snap.bmp");
    const QString printed = save(file);
    EXPECT_TRUE(printed.isEmpty()) << printed.toStdString();
    EXPECT_EQ(mAsked, QStringList({"save", "Save Snapshot", "./snapshot.bmp", "BMP File (*.bmp);;All Files (*.*)"}));
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_TRUE(testsupport::readFile(file).startsWith("BM"));
    QImage img(file);
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), mTab->size());
    EXPECT_GT(curvePixels(img), 50);
    // The graph's part is the graph as drawn, labels and legend included.
    const QRect area(mGraph->mapTo(mTab, QPoint(0, 0)), mGraph->size());
    EXPECT_EQ(img.copy(area).convertToFormat(QImage::Format_RGB32),
              mGraph->grabGraph().convertToFormat(QImage::Format_RGB32));
    // The buttons are in the picture too: not all of the row is one colour.
    const QRect zoom(mTab->button(0)->mapTo(mTab, QPoint(0, 0)), QSize(32, 32));
    QSet<QRgb> colours;
    for (int y = zoom.top(); y <= zoom.bottom(); ++y)
        for (int x = zoom.left(); x <= zoom.right(); ++x)
            colours.insert(img.pixel(x, y));
    EXPECT_GT(colours.size(), 3);
}

TEST_F(GraphSnapshotTest, SuffixChoosesTheFormat)
{
    const QString file = mDir.file("snap.png");
    save(file);
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_EQ(QImageReader(file).format(), "png");
    EXPECT_GT(curvePixels(QImage(file)), 50);
}

TEST_F(GraphSnapshotTest, CancelWritesNothingAndFailuresAreReported)
{
    EXPECT_TRUE(save(QString()).isEmpty());
    EXPECT_TRUE(QDir(mDir.path()).entryList({"*.bmp", "*.png"}).isEmpty());
    EXPECT_TRUE(mFailures.isEmpty());

    QString printed = save(mDir.file("missing/snap.bmp"));
    EXPECT_TRUE(printed.contains("missing/snap.bmp")) << printed.toStdString();
    EXPECT_FALSE(QFile::exists(mDir.file("missing/snap.bmp")));
    expectFailureBox(mDir.file("missing/snap.bmp"));

    printed = save(mDir.file("snap.nosuchformat"));
    EXPECT_TRUE(printed.contains("could not save snapshot")) << printed.toStdString();
    EXPECT_FALSE(QFile::exists(mDir.file("snap.nosuchformat")));
    expectFailureBox(mDir.file("snap.nosuchformat"));

    // A save over an existing picture replaces it.
    const QString file = mDir.file("snap.bmp");
    ASSERT_TRUE(testsupport::writeFile(file, "old"));
    save(file);
    EXPECT_FALSE(QImage(file).isNull());
    EXPECT_TRUE(mFailures.isEmpty());
    const QByteArray saved = testsupport::readFile(file);

    // A disk that takes only part of the picture, early or at its last byte:
    // the old picture stays and the user is told.
    for (const long long limit : {100LL, static_cast<long long>(saved.size()) - 1}) {
        SCOPED_TRACE(limit);
        ASSERT_TRUE(testsupport::writeFile(file, "old"));
        {
            testsupport::FileSizeLimit cap(limit);
            save(file);
        }
        EXPECT_EQ(testsupport::readFile(file), "old");
        expectFailureBox(file);
    }
    EXPECT_EQ(QDir(mDir.path()).entryList(QDir::Files | QDir::Hidden).filter("snap").size(), 1)
        << "a temporary file was left behind";
}

} // namespace
