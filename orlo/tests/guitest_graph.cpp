#include "Property.h"
#include "WidgetGraph.h"
#include "TestSupport.h"
#include "gui/GuiInput.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTimer>
#include <QStringList>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

struct Rgb
{
    int r, g, b;
};

bool near(const QColor& c, const Rgb& want, int tol)
{
    return std::abs(c.red() - want.r) <= tol && std::abs(c.green() - want.g) <= tol &&
           std::abs(c.blue() - want.b) <= tol;
}

class GraphWidgetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KAVO::Property::instance()->clear();
        g = new WidgetGraph;
        g->resize(800, 500);
        g->setGraphMode(WidgetGraph::GraphManual);
        g->setAutoScaleY(false);
        g->setActive(0, true);
        g->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(g));
    }
    void TearDown() override
    {
        delete g;
        KAVO::Property::instance()->clear();
    }

    // Paints until the plot geometry has settled (the first paint measures
    // the Y labels for the next one) and gives the last picture.
    QImage paint(int times = 3)
    {
        QImage img;
        for (int k = 0; k < times; ++k)
            img = g->grabGraph();
        return img;
    }

    // The pixel at x, y counted in pixels from the bottom left.
    QColor at(const QImage& img, double x, double y) const
    {
        return img.pixelColor(static_cast<int>(std::floor(x)), img.height() - 1 - static_cast<int>(std::floor(y)));
    }

    // True when some pixel within `radius` of x, y has the colour.
    bool findNear(const QImage& img, double x, double y, const Rgb& want, int radius, int tol = 3) const
    {
        for (int dx = -radius; dx <= radius; ++dx)
            for (int dy = -radius; dy <= radius; ++dy)
                if (near(at(img, x + dx, y + dy), want, tol))
                    return true;
        return false;
    }

    void feedConstant(unsigned i, double t0, double t1, double dt, double v)
    {
        for (double t = t0; t <= t1 + 1e-9; t += dt) {
            g->setTime(t);
            g->putValue(i, v);
        }
    }

    const KAVO::GraphModel& m() const { return g->model(); }

    // The graph's single-shot timer running now with an interval of `ms`
    // (50: the gathered rebuild; 5000: the cursor text), or none.
    QTimer* runningTimer(int ms) const
    {
        for (QTimer* t : g->findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly))
            if (t->isSingleShot() && t->isActive() && t->interval() == ms)
                return t;
        return nullptr;
    }

    // Widget coordinates (top-down) of a time and a value in the shared scale.
    QPoint point(double t, double v) const
    {
        return QPoint(static_cast<int>(std::lround(m().xToViewport(t))),
                      static_cast<int>(std::lround(g->height() - m().yToViewport(v))));
    }

    WidgetGraph* g = nullptr;
};

const Rgb kMargin{204, 204, 204};
const Rgb kBlack{0, 0, 0};
const Rgb kRed{255, 0, 0};
const Rgb kGreen{0, 255, 0};
const Rgb kWhite{255, 255, 255};
const Rgb kMarker{77, 77, 0}; // yellow at 0.3 over black

} // namespace

TEST_F(GraphWidgetTest, PaintsMarginPlotCurveMarkersAndCursorWhereTheyBelong)
{
    feedConstant(0, 0.0, 60.0, 0.1, 0.5);
    g->rebuild();
    g->setMarker(10.0, 20.0);
    g->setCursorPosition(33.0);
    const QImage img = paint();
    ASSERT_FALSE(img.isNull());
    ASSERT_EQ(img.width(), 800);

    // The plot sits inside the margin with room for the Y labels.
    EXPECT_GT(m().plotLeft(), 20.0);
    EXPECT_DOUBLE_EQ(m().plotBottom(), 40.0);
    EXPECT_DOUBLE_EQ(m().plotHeight(), 450.0);
    EXPECT_DOUBLE_EQ(m().plotLeft() + m().plotWidth(), 790.0);

    EXPECT_TRUE(near(at(img, 3, 3), kMargin, 2)) << at(img, 3, 3).name().toStdString();
    EXPECT_TRUE(near(at(img, 796, 250), kMargin, 2));
    EXPECT_TRUE(near(at(img, 400, 495), kMargin, 2));
    EXPECT_TRUE(near(at(img, m().xToViewport(45.5), m().yToViewport(1.1)), kBlack, 2));
    EXPECT_TRUE(findNear(img, m().xToViewport(45.5), m().yToViewport(0.5), kRed, 2));
    EXPECT_FALSE(findNear(img, m().xToViewport(45.5), m().yToViewport(0.9), kRed, 2));
    EXPECT_TRUE(near(at(img, m().xToViewport(15.5), m().yToViewport(1.1)), kMarker, 3))
        << at(img, m().xToViewport(15.5), m().yToViewport(1.1)).name().toStdString();
    EXPECT_TRUE(near(at(img, m().xToViewport(25.5), m().yToViewport(1.1)), kBlack, 2));
    EXPECT_TRUE(findNear(img, m().xToViewport(33.0), m().yToViewport(1.1), kWhite, 1));
    EXPECT_FALSE(findNear(img, m().xToViewport(36.0), m().yToViewport(1.1), kWhite, 1));
    // The horizontal cursor line at the cursor value (0) across the plot.
    EXPECT_TRUE(findNear(img, m().xToViewport(50.5), m().yToViewport(0.0), kWhite, 1));
}

TEST_F(GraphWidgetTest, CursorAndMarkerAtOneTimeShareTheNearestPixelColumn)
{
    feedConstant(0, 0.0, 60.0, 0.5, 0.5);
    g->rebuild();
    paint();
    // A time a hundredth of a pixel left of a column's left edge, as times
    // read from ticks lie a hair off their round value.
    const int column = static_cast<int>(m().plotLeft()) + 137;
    const double t = m().viewportToX(column - 0.01);
    ASSERT_LT(m().xToViewport(t), column);
    g->setCursorPosition(t);
    g->setMarker(t, t + 10.0);
    const QImage img = paint();
    const double y = m().yToViewport(1.1);
    EXPECT_TRUE(near(at(img, column, y), kWhite, 2)) << at(img, column, y).name().toStdString();
    EXPECT_TRUE(near(at(img, column - 1, y), kBlack, 2)) << at(img, column - 1, y).name().toStdString();
    EXPECT_TRUE(near(at(img, column + 1, y), kMarker, 3)) << at(img, column + 1, y).name().toStdString();
}

TEST_F(GraphWidgetTest, ColourFromTheSettingsIsDrawn)
{
    delete g;
    KAVO::Property::instance()->setString("GraphColor0", "#00ffff");
    g = new WidgetGraph;
    g->resize(600, 400);
    g->setGraphMode(WidgetGraph::GraphManual);
    g->setAutoScaleY(false);
    g->setActive(0, true);
    g->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(g));
    feedConstant(0, 0.0, 60.0, 0.5, 1.0);
    g->rebuild();
    const QImage img = paint();
    EXPECT_TRUE(findNear(img, m().xToViewport(44.7), m().yToViewport(1.0), Rgb{0, 255, 255}, 2));
    EXPECT_FALSE(findNear(img, m().xToViewport(44.7), m().yToViewport(1.0), kRed, 2));
}

TEST_F(GraphWidgetTest, SplitDisplayDrawsTheFirstParameterOnTop)
{
    g->setActive(1, true);
    g->setAutoScaleY(true);
    g->setDisplayMode(WidgetGraph::DisplaySplit);
    feedConstant(0, 0.0, 60.0, 0.5, 1.0);
    feedConstant(1, 0.0, 60.0, 0.5, -3.0);
    g->rebuild();
    const QImage img = paint(4); // autoscale follows one paint late
    const double mid0 = m().parameter(0).bandBottom + 0.5 * m().parameter(0).bandHeight;
    const double mid1 = m().parameter(1).bandBottom + 0.5 * m().parameter(1).bandHeight;
    EXPECT_GT(mid0, mid1);
    EXPECT_DOUBLE_EQ(m().parameter(1).bandBottom, 40.0);
    const double x = m().xToViewport(44.7);
    EXPECT_TRUE(findNear(img, x, mid0, kRed, 2));
    EXPECT_TRUE(findNear(img, x, mid1, kGreen, 2));
    EXPECT_FALSE(findNear(img, x, mid1, kRed, 2));
    // Grey band separator in the middle of the plot.
    EXPECT_TRUE(findNear(img, x, 40.0 + 0.5 * m().plotHeight(), Rgb{128, 128, 128}, 1, 3));
}

TEST_F(GraphWidgetTest, AxisLabelsNeverCoverEachOther)
{
    // Three bands over one range, so that each band's top label meets the
    // bottom label of the band above, and the window of a recording whose
    // last message lies at 5.8e11 s, whose time labels would run together
    // on a graph of this width.
    g->resize(600, 500);
    g->setActive(1, true);
    g->setActive(2, true);
    g->setDisplayMode(WidgetGraph::DisplaySplit);
    g->setYmin(0.0f);
    g->setYmax(10.0f);
    for (unsigned i = 0; i < 3; ++i) {
        feedConstant(i, 0.0, 60.0, 1.0, 2.0 + 3.0 * i);
        g->setTime(5.8e11);
        g->putValue(i, 2.0 + 3.0 * i);
    }
    g->setXmax(6.38e11f);
    g->setXmin(-5.8e10f);
    g->rebuild();
    const QImage img = paint().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(img.save(testsupport::artifactsDir() + "/graph-split.png"));

    const std::vector<KAVO::GraphTicks::Label>& labels = g->axisLabels();
    int timeLabels = 0;
    std::vector<QRectF> boxes; // top-down, as the picture is stored
    for (const KAVO::GraphTicks::Label& l : labels) {
        timeLabels += l.baseline < m().plotBottom() - 10.0;
        boxes.push_back(QRectF(l.box.left(), img.height() - l.box.bottom(), l.box.width(), l.box.height()));
    }
    EXPECT_GE(timeLabels, 2);
    EXPECT_LT(timeLabels, 5) << "the ticks 1e11 s apart from 0 to 6e11 s are not all labelled";
    EXPECT_GE(static_cast<int>(labels.size()) - timeLabels, 3 * 4) << "the value labels of three bands";
    // None runs off the widget ("166666666:40:00" would end past its right edge).
    for (const KAVO::GraphTicks::Label& l : labels) {
        EXPECT_GE(l.box.left(), 0.0) << l.text.toStdString();
        EXPECT_LE(l.box.right(), g->width()) << l.text.toStdString();
    }
    // No two labels come closer than a few pixels.
    for (std::size_t i = 0; i < boxes.size(); ++i)
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            const QRectF& a = boxes[i];
            const QRectF& b = boxes[j];
            const double gap = std::max(std::max(b.left() - a.right(), a.left() - b.right()),
                                        std::max(b.top() - a.bottom(), a.top() - b.bottom()));
            EXPECT_GE(gap, 3.0) << labels[i].text.toStdString() << " and " << labels[j].text.toStdString();
        }
    // The boxes are where the text is: each holds ink, and every pixel of
    // ink left of the Y ticks or under the X ticks lies in a box.
    const auto ink = [&](int x, int y) { return !near(img.pixelColor(x, y), kMargin, 40); };
    for (const QRectF& b : boxes) {
        int n = 0;
        for (int y = std::max(0, int(b.top())); y < std::min(img.height(), int(std::ceil(b.bottom()))); ++y)
            for (int x = std::max(0, int(b.left())); x < std::min(img.width(), int(std::ceil(b.right()))); ++x)
                n += ink(x, y);
        EXPECT_GT(n, 5);
    }
    const int tickLeft = static_cast<int>(m().plotLeft()) - 11;
    const int tickBottom = img.height() - static_cast<int>(m().plotBottom()) + 11;
    int stray = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if ((x >= tickLeft && y < tickBottom) || !ink(x, y))
                continue;
            bool inside = false;
            for (const QRectF& b : boxes)
                inside = inside || b.adjusted(-1, -1, 1, 1).contains(QPointF(x + 0.5, y + 0.5));
            stray += !inside;
        }
    EXPECT_EQ(stray, 0) << "pixels of text outside the label boxes";
}

TEST_F(GraphWidgetTest, SubSecondWindowLabelsEachTick)
{
    // A second at 0:19:48, ticks a tenth of a second apart.
    for (int k = 0; k <= 300; ++k) {
        g->setTime(1187.0 + 0.01 * k);
        g->putValue(0, 0.5 + 0.5 * std::sin(0.2 * k));
    }
    g->setXmax(1188.52f);
    g->setXmin(1187.52f);
    g->rebuild();
    const QImage img = paint();
    EXPECT_TRUE(img.save(testsupport::artifactsDir() + "/graph-subsecond.png"));

    QStringList texts;
    for (const KAVO::GraphTicks::Label& l : g->axisLabels()) {
        if (l.baseline >= m().plotBottom() - 10.0)
            continue;
        texts << l.text;
        EXPECT_GE(l.box.left(), 0.0) << l.text.toStdString();
        EXPECT_LE(l.box.right(), g->width()) << l.text.toStdString();
    }
    EXPECT_GE(texts.size(), 8) << texts.join(' ').toStdString();
    EXPECT_EQ(texts.removeDuplicates(), 0) << texts.join(' ').toStdString();
    EXPECT_TRUE(texts.contains("0:19:48.0")) << texts.join(' ').toStdString();
    EXPECT_TRUE(texts.contains("0:19:48.1")) << texts.join(' ').toStdString();
}

TEST_F(GraphWidgetTest, SpikesInsideOnePixelAreDrawn)
{
    // Four samples inside one pixel column: 0, 10, -10, 0.
    g->setYmin(-20.0f);
    g->setYmax(20.0f);
    feedConstant(0, 0.0, 29.9, 0.1, 0.0);
    const double t = 30.0;
    const double v[] = {0.0, 10.0, -10.0, 0.0};
    for (int k = 0; k < 4; ++k) {
        g->setTime(t + k * 0.001);
        g->putValue(0, v[k]);
    }
    feedConstant(0, 30.1, 60.0, 0.1, 0.0);
    g->rebuild();
    const QImage img = paint();
    const double x = m().xToViewport(t);
    EXPECT_TRUE(findNear(img, x, m().yToViewport(9.0), kRed, 1));
    EXPECT_TRUE(findNear(img, x, m().yToViewport(-9.0), kRed, 1));
}

TEST_F(GraphWidgetTest, DegenerateCasesPaint)
{
    // One message: the window of no span is widened.
    g->clear();
    g->setTime(100.0);
    g->putValue(0, 3.0);
    g->setXmin(100.0f);
    g->setXmax(100.0f);
    EXPECT_DOUBLE_EQ(m().span(), 1.0);
    QImage img = paint();
    EXPECT_FALSE(img.isNull());
    EXPECT_TRUE(near(at(img, 3, 3), kMargin, 2));

    // A constant 5000 under autoscale sits in the middle of the plot.
    g->clear();
    g->setAutoScaleY(true);
    g->setXmin(0.0f);
    g->setXmax(60.0f);
    feedConstant(0, 0.0, 60.0, 0.1, 5000.0);
    g->rebuild();
    img = paint(4);
    EXPECT_NEAR(m().yMin(), 4999.9999, 1e-6);
    EXPECT_TRUE(findNear(img, m().xToViewport(44.7), 40.0 + 225.0, kRed, 2));

    // Equal Y limits typed in: values drawn in the middle (where the
    // cursor line, drawn over them, would sit too).
    g->activateCursor(false);
    g->setAutoScaleY(false);
    g->setYmin(5.0f);
    g->setYmax(5.0f);
    img = paint();
    EXPECT_TRUE(findNear(img, m().xToViewport(44.7), 40.0 + 225.0, kRed, 2));

    // Holding zoom-in stops at the narrowest window and still draws.
    g->setYmax(6000.0f);
    g->setYmin(4000.0f);
    const QPointF pos(m().xToViewport(30.0), 200.0);
    for (int k = 0; k < 300; ++k) {
        QWheelEvent e(pos, g->mapToGlobal(pos.toPoint()), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(g, &e);
    }
    EXPECT_NEAR(m().span(), 1.0, 1e-9);
    // The picture once the gathered rebuild has run, however late.
    QTimer* rebuild = runningTimer(50);
    ASSERT_NE(rebuild, nullptr);
    QSignalSpy rebuilt(rebuild, &QTimer::timeout);
    ASSERT_TRUE(rebuilt.wait(30000));
    img = paint();
    EXPECT_TRUE(findNear(img, m().xToViewport(30.2), m().yToViewport(5000.0), kRed, 2));
}

TEST_F(GraphWidgetTest, LeftButtonSetsMarkersAndSignalsThem)
{
    paint();
    QSignalSpy spy(g, &WidgetGraph::signalMarker);
    const QPoint p1 = point(20.0, 0.0);
    QTest::mouseClick(g, Qt::LeftButton, Qt::NoModifier, p1);
    ASSERT_EQ(spy.count(), 1);
    const float t1 = static_cast<float>(m().viewportToX(p1.x()));
    EXPECT_FLOAT_EQ(spy[0][0].toFloat(), t1);
    EXPECT_FLOAT_EQ(spy[0][1].toFloat(), t1);
    EXPECT_FLOAT_EQ(static_cast<float>(g->getMarker1()), t1);

    // Shift-click right of the midpoint moves marker 2, left of both marker 1.
    const QPoint p2 = point(40.0, 0.0);
    QTest::mouseClick(g, Qt::LeftButton, Qt::ShiftModifier, p2);
    const float t2 = static_cast<float>(m().viewportToX(p2.x()));
    EXPECT_FLOAT_EQ(static_cast<float>(g->getMarker2()), t2);
    EXPECT_FLOAT_EQ(spy.last()[1].toFloat(), t2);
    const QPoint p0 = point(5.0, 0.0);
    QTest::mouseClick(g, Qt::LeftButton, Qt::ShiftModifier, p0);
    const float t0 = static_cast<float>(m().viewportToX(p0.x()));
    EXPECT_FLOAT_EQ(static_cast<float>(g->getMarker1()), t0);
    EXPECT_FLOAT_EQ(static_cast<float>(g->getMarker2()), t2);

    // The Shift key held (pressed on the widget) counts like the modifier.
    QTest::keyPress(g, Qt::Key_Shift);
    QTest::mouseClick(g, Qt::LeftButton, Qt::NoModifier, point(50.0, 0.0));
    QTest::keyRelease(g, Qt::Key_Shift);
    EXPECT_FLOAT_EQ(static_cast<float>(g->getMarker1()), t0);
    EXPECT_NEAR(g->getMarker2(), 50.0, 0.2);

    // Dragging emits on each move; a reversed pair ends in order.
    g->setMarker(40.0, 10.0);
    const int before = spy.count();
    QTest::mousePress(g, Qt::LeftButton, Qt::ShiftModifier, point(20.0, 0.0));
    testsupport::dragTo(g, point(12.0, 0.0), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(spy.count(), before + 2);
    EXPECT_GT(g->getMarker1(), g->getMarker2());
    QTest::mouseRelease(g, Qt::LeftButton, Qt::ShiftModifier, point(12.0, 0.0));
    EXPECT_NEAR(g->getMarker1(), 10.0, 1e-9);
    EXPECT_NEAR(g->getMarker2(), 12.0, 0.2);
}

TEST_F(GraphWidgetTest, MiddleButtonMovesTheCursorAndRightButtonPans)
{
    paint();
    QSignalSpy cursor(g, &WidgetGraph::signalCursor);
    QSignalSpy man(g, &WidgetGraph::signalManMode);
    const QPoint p = point(30.0, 1.0);
    QTest::mousePress(g, Qt::MiddleButton, Qt::NoModifier, p);
    ASSERT_EQ(cursor.count(), 1);
    EXPECT_NEAR(cursor[0][0].toFloat(), 30.0, 0.1);
    EXPECT_NEAR(cursor[0][1].toDouble(), 1.0, 0.01);
    EXPECT_TRUE(m().cursorTextShown());
    testsupport::dragTo(g, point(35.0, 0.0), Qt::MiddleButton, Qt::NoModifier);
    EXPECT_EQ(cursor.count(), 2);
    EXPECT_NEAR(g->getCursorTime(), 35.0, 0.1);
    QTest::mouseRelease(g, Qt::MiddleButton, Qt::NoModifier, point(35.0, 0.0));
    EXPECT_FALSE(m().cursorTextShown());

    g->setGraphMode(WidgetGraph::GraphAutomatic);
    const double pixel = m().span() / m().plotWidth();
    QTest::mousePress(g, Qt::RightButton, Qt::NoModifier, QPoint(400, 200));
    testsupport::dragTo(g, QPoint(300, 200), Qt::RightButton, Qt::NoModifier);
    QTest::mouseRelease(g, Qt::RightButton, Qt::NoModifier, QPoint(300, 200));
    EXPECT_EQ(man.count(), 1);
    EXPECT_NEAR(g->getXmin(), 100 * pixel, 1e-9);
    EXPECT_NEAR(g->getXmax(), 60.0 + 100 * pixel, 1e-9);
    EXPECT_EQ(g->getGraphMode(), WidgetGraph::GraphManual);
}

TEST_F(GraphWidgetTest, WheelZoomsAroundTheMouseTime)
{
    paint();
    const QPointF pos(m().xToViewport(30.0), 200.0);
    QWheelEvent e(pos, g->mapToGlobal(pos.toPoint()), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(g, &e);
    EXPECT_NEAR(g->getXmin(), 3.0, 1e-6);
    EXPECT_NEAR(g->getXmax(), 57.0, 1e-6);
    QWheelEvent back(pos, g->mapToGlobal(pos.toPoint()), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(g, &back);
    EXPECT_NEAR(g->getXmin(), 0.0, 1e-6);
    EXPECT_NEAR(g->getXmax(), 60.0, 1e-6);
}

TEST_F(GraphWidgetTest, KeysMoveTheCursorAndSwitchModes)
{
    paint();
    g->setFocus();
    QSignalSpy cursor(g, &WidgetGraph::signalCursor);
    QTest::keyClick(g, Qt::Key_Right);
    ASSERT_EQ(cursor.count(), 1);
    EXPECT_NEAR(g->getCursorTime(), 60.0 / 800.0, 1e-9);
    EXPECT_TRUE(m().cursorTextShown());
    QTest::keyClick(g, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_NEAR(g->getCursorTime(), -9 * 60.0 / 800.0, 1e-9);
    EXPECT_NEAR(cursor.last()[0].toFloat(), -9 * 60.0 / 800.0, 1e-6);

    const double y0 = m().cursorY();
    QTest::keyClick(g, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_NEAR(m().cursorY(), y0 + 10.0, 1e-6);
    EXPECT_NEAR(cursor.last()[1].toDouble(), 10.0 * 2.0 / 450.0, 1e-9);
    QTest::keyClick(g, Qt::Key_Down);
    EXPECT_NEAR(m().cursorY(), y0 + 9.0, 1e-6);
    EXPECT_EQ(cursor.count(), 4);

    QTest::keyClick(g, Qt::Key_F3);
    EXPECT_EQ(g->getDisplayMode(), WidgetGraph::DisplaySplit);
    QTest::keyClick(g, Qt::Key_F2);
    EXPECT_EQ(g->getDisplayMode(), WidgetGraph::DisplaySingle);
    QTest::keyClick(g, Qt::Key_C);
    EXPECT_EQ(g->getCursorMode(), WidgetGraph::CursorCenter);
    QTest::keyClick(g, Qt::Key_A);
    EXPECT_EQ(g->getGraphMode(), WidgetGraph::GraphAutomatic);
    EXPECT_TRUE(m().rebuildPending());

    g->setMarker(12.0, 12.0);
    QTest::keyClick(g, Qt::Key_Z);
    EXPECT_EQ(g->getXmin(), 12.0);
    EXPECT_EQ(g->getXmax(), 13.0);
    EXPECT_EQ(g->getGraphMode(), WidgetGraph::GraphManual);

    feedConstant(0, 0.0, 5.0, 1.0, 1.0);
    QTest::keyClick(g, Qt::Key_X);
    EXPECT_TRUE(m().parameter(0).samples.empty());
    EXPECT_EQ(g->getGraphMode(), WidgetGraph::GraphManual);

    feedConstant(0, 0.0, 5.0, 1.0, 1.0);
    g->setDisplayMode(WidgetGraph::DisplaySplit);
    QTest::keyClick(g, Qt::Key_R);
    EXPECT_TRUE(m().parameter(0).samples.empty());
    EXPECT_EQ(g->getGraphMode(), WidgetGraph::GraphAutomatic);
    EXPECT_EQ(g->getDisplayMode(), WidgetGraph::DisplaySingle);
    EXPECT_FALSE(paint(1).isNull());
}

TEST_F(GraphWidgetTest, CursorTextHidesAfterItsTimer)
{
    paint();
    g->setFocus();
    QTest::keyClick(g, Qt::Key_Right);
    EXPECT_TRUE(m().cursorTextShown());
    // Judged once the five-second timer has fired, however late.
    QTimer* hide = runningTimer(5000);
    ASSERT_NE(hide, nullptr);
    QSignalSpy fired(hide, &QTimer::timeout);
    ASSERT_TRUE(fired.wait(30000));
    EXPECT_FALSE(m().cursorTextShown());
}

TEST_F(GraphWidgetTest, RepaintsFollowEveryChangeOfWhatIsDrawn)
{
    feedConstant(0, 0.0, 30.0, 0.1, 0.5);
    g->rebuild();
    const QImage a = paint();
    EXPECT_EQ(paint(1), a); // nothing changed: the same picture

    // New samples inside the window show at the next paint.
    feedConstant(0, 30.1, 60.0, 0.1, 1.0);
    QImage b = paint(1);
    EXPECT_TRUE(findNear(b, m().xToViewport(45.5), m().yToViewport(1.0), kRed, 2));
    EXPECT_FALSE(findNear(a, m().xToViewport(45.5), m().yToViewport(1.0), kRed, 2));

    // A colour, the window and the Y range reach the picture too.
    g->setParameterColor(0, 0.0f, 1.0f, 0.0f);
    b = paint(1);
    EXPECT_TRUE(findNear(b, m().xToViewport(45.5), m().yToViewport(1.0), kGreen, 2));
    g->setXmin(30.0f);
    g->setXmax(60.0f);
    b = paint();
    EXPECT_FALSE(findNear(b, m().xToViewport(45.5), m().yToViewport(0.5), kGreen, 2));
    EXPECT_TRUE(findNear(b, m().xToViewport(45.5), m().yToViewport(1.0), kGreen, 2));
    g->setYmax(3.0f);
    b = paint();
    EXPECT_TRUE(findNear(b, m().xToViewport(45.5), m().yToViewport(1.0), kGreen, 2));
    EXPECT_DOUBLE_EQ(m().yMax(), 3.0);

    // Moving the cursor alone keeps the lines and moves only the cursor.
    g->setCursorPosition(40.0);
    b = paint(1);
    EXPECT_TRUE(findNear(b, m().xToViewport(40.0), m().yToViewport(2.0), kWhite, 1));
    EXPECT_TRUE(findNear(b, m().xToViewport(45.5), m().yToViewport(1.0), kGreen, 2));
}

TEST_F(GraphWidgetTest, MovesToAnotherWindowAndStillPaints)
{
    feedConstant(0, 0.0, 60.0, 0.5, 0.5);
    g->rebuild();
    paint();
    QWidget holder;
    holder.resize(820, 520);
    g->setParent(&holder);
    g->resize(800, 500);
    holder.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&holder));
    const QImage img = paint();
    EXPECT_TRUE(findNear(img, m().xToViewport(44.7), m().yToViewport(0.5), kRed, 2));
    g->setParent(nullptr);
}
