#include "GraphFrameBuffer.h"
#include "GraphModel.h"
#include "GraphSeries.h"
#include "GraphTicks.h"
#include "ParallelWork.h"
#include "Property.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

using KAVO::GraphFrame;
using KAVO::GraphFrameBuffer;
using KAVO::GraphModel;
using KAVO::GraphSeries;
using KAVO::GraphTicks;

namespace {

// A model with the plot geometry of the examples: 600 pixels wide, so a
// 60 s window gives buckets of 0.1 s.
class GraphModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KAVO::Property::instance()->clear();
        m.setMaxParameters(6);
        m.setPlot(50.0, 40.0, 600.0, 250.0);
        m.setGraphMode(GraphModel::GraphManual);
        m.setActive(0, true);
    }
    void TearDown() override { KAVO::Property::instance()->clear(); }

    void feed(unsigned i, const std::vector<std::pair<double, double>>& samples)
    {
        for (const auto& s : samples) {
            m.setTime(s.first);
            m.putValue(i, s.second);
        }
    }

    std::vector<double> times(unsigned i) const
    {
        std::vector<double> out;
        const GraphSeries& s = m.parameter(i).samples;
        for (std::size_t k = 0; k < s.size(); ++k)
            out.push_back(s[k].time);
        return out;
    }

    GraphModel m;
};

std::vector<GraphFrame> sequentialFrames(const GraphSeries& s, double start, double end, double w)
{
    // The plain rule: from one sample left of the window up to and
    // including the first sample not before its end, one by one.
    GraphFrameBuffer fb;
    std::size_t first = 0;
    while (first < s.size() && s[first].time < start)
        ++first;
    if (first > 0)
        --first;
    for (std::size_t k = first; k < s.size(); ++k) {
        fb.add(s[k].time, s[k].value, w);
        if (s[k].time >= end)
            break;
    }
    return std::vector<GraphFrame>(fb.frames().begin(), fb.frames().end());
}

void expectSameFrames(const std::vector<GraphFrame>& a, const std::deque<GraphFrame>& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t k = 0; k < a.size(); ++k) {
        ASSERT_EQ(a[k].count, b[k].count) << "bucket " << k;
        ASSERT_EQ(a[k].time, b[k].time) << "bucket " << k;
        for (int j = 0; j < a[k].count; ++j)
            ASSERT_EQ(a[k].values[j], b[k].values[j]) << "bucket " << k << " value " << j;
    }
}

} // namespace

// ---------------------------------------------------------------- store

TEST_F(GraphModelTest, PutValueBeforeSetTimeStoresNothing)
{
    m.putValue(0, 1.0);
    EXPECT_TRUE(m.parameter(0).samples.empty());
    EXPECT_FALSE(m.hasValue(0));
    m.setTime(2.0);
    m.putValue(0, 1.0);
    EXPECT_EQ(m.parameter(0).samples.size(), 1u);
    EXPECT_TRUE(m.hasValue(0));
    m.setTime(3.0);
    EXPECT_FALSE(m.hasValue(0)); // each setTime clears the flags
}

TEST_F(GraphModelTest, LateSampleIsSkippedAloneAndNeverDeletesStoredOnes)
{
    testing::internal::CaptureStdout();
    feed(0, {{100, 1}, {101, 2}, {102, 3}, {50, 4}, {51, 5}, {52, 6}, {53, 7}});
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(times(0), (std::vector<double>{100, 101, 102}));
    EXPECT_NE(out.find("wrong time stamp NoName 50.000000 skipping...\n"), std::string::npos) << out;
    EXPECT_NE(out.find("wrong time stamp NoName 53.000000 skipping...\n"), std::string::npos) << out;

    // From one stored sample on, times are compared too; equal times pass.
    m.clear();
    testing::internal::CaptureStdout();
    feed(0, {{10, 1}, {5, 2}, {10, 3}, {11, 4}});
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(times(0), (std::vector<double>{10, 10, 11}));
    double low = 0, high = 0;
    m.getParameterRangeY(0, low, high);
    EXPECT_EQ(low, 1.0);
    EXPECT_EQ(high, 4.0); // the skipped 2 never counted
}

TEST_F(GraphModelTest, SeparateFeedsPerParameterLoseNothing)
{
    // The graph tab feeds one parameter after the other, each in time order.
    m.setActive(1, true);
    for (int k = 0; k < 100; ++k) {
        m.setTime(k);
        m.putValue(0, k);
    }
    for (int k = 0; k < 100; ++k) {
        m.setTime(k + 0.5);
        m.putValue(1, -k);
    }
    EXPECT_EQ(m.parameter(0).samples.size(), 100u);
    EXPECT_EQ(m.parameter(1).samples.size(), 100u);
}

TEST(GraphSeriesTest, MillionthPlusOneSampleDropsTheOldestButKeepsDataRange)
{
    GraphSeries s;
    ASSERT_TRUE(s.append(0.0, -1000.0)); // the extreme that will be dropped
    for (std::size_t k = 1; k < GraphSeries::kMaxSamples; ++k)
        s.append(static_cast<double>(k), static_cast<double>(k % 100));
    ASSERT_EQ(s.size(), GraphSeries::kMaxSamples);
    EXPECT_EQ(s.front().time, 0.0);
    s.append(1.0e6, 5.0);
    EXPECT_EQ(s.size(), GraphSeries::kMaxSamples);
    EXPECT_EQ(s.front().time, 1.0);
    EXPECT_EQ(s.back().time, 1.0e6);
    EXPECT_EQ(s.dataLow(), -1000.0);
    EXPECT_EQ(s.dataHigh(), 99.0);

    // The block extremes still answer right once blocks are partly dropped.
    for (int k = 0; k < 40; ++k)
        s.append(1.0e6 + 1 + k, k == 20 ? 500.0 : 1.0);
    double low = 0, high = 0;
    s.minMax(0, s.size() - 1, low, high);
    EXPECT_EQ(low, 0.0);
    EXPECT_EQ(high, 500.0);
    s.minMax(0, 0, low, high);
    EXPECT_EQ(low, s[0].value);
    EXPECT_EQ(high, s[0].value);
}

TEST(GraphSeriesTest, MinMaxMatchesAWalkOverAnyRun)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> val(-1000.0, 1000.0);
    GraphSeries s;
    std::vector<double> v;
    for (int k = 0; k < 70000; ++k) {
        v.push_back(val(rng));
        s.append(k * 0.01, v.back());
    }
    std::uniform_int_distribution<std::size_t> idx(0, v.size() - 1);
    for (int round = 0; round < 300; ++round) {
        std::size_t a = idx(rng);
        std::size_t b = idx(rng);
        if (round % 3 == 0)
            b = std::min(v.size() - 1, a + round % 40); // short runs too
        if (a > b)
            std::swap(a, b);
        double low = 0, high = 0;
        s.minMax(a, b, low, high);
        double el = v[a], eh = v[a];
        for (std::size_t k = a; k <= b; ++k) {
            el = std::min(el, v[k]);
            eh = std::max(eh, v[k]);
        }
        ASSERT_EQ(low, el) << a << ".." << b;
        ASSERT_EQ(high, eh) << a << ".." << b;
    }
}

TEST_F(GraphModelTest, GetValueInterpolatesBetweenSamples)
{
    double v = 7.0;
    EXPECT_FALSE(m.getValue(0, 1.0, v)); // empty
    EXPECT_EQ(v, 0.0);
    feed(0, {{10, 1}, {20, 3}, {20, 5}, {30, 5}});
    EXPECT_FALSE(m.getValue(0, 9.999, v));
    EXPECT_FALSE(m.getValue(0, 30.001, v));
    EXPECT_FALSE(m.getValue(0, std::nan(""), v));
    EXPECT_FALSE(m.getValue(99, 15, v));
    ASSERT_TRUE(m.getValue(0, 10, v));
    EXPECT_EQ(v, 1.0);
    ASSERT_TRUE(m.getValue(0, 15, v));
    EXPECT_DOUBLE_EQ(v, 2.0);
    ASSERT_TRUE(m.getValue(0, 20, v)); // the oldest of equal times
    EXPECT_DOUBLE_EQ(v, 3.0);
    ASSERT_TRUE(m.getValue(0, 25, v));
    EXPECT_DOUBLE_EQ(v, 5.0);
    ASSERT_TRUE(m.getValue(0, 30, v));
    EXPECT_DOUBLE_EQ(v, 5.0);
    double first = 0, last = 0;
    m.getParameterRangeX(0, first, last);
    EXPECT_EQ(first, 10.0);
    EXPECT_EQ(last, 30.0);
    m.getParameterRangeX(1, first, last);
    EXPECT_EQ(first, 0.0);
    EXPECT_EQ(last, 0.0);
}

TEST_F(GraphModelTest, ClearEmptiesAndResets)
{
    feed(0, {{1, 5}, {2, 6}});
    m.setYmin(-10);
    m.setYmax(10);
    m.setMarker(3, 4);
    m.clear();
    EXPECT_TRUE(m.parameter(0).samples.empty());
    EXPECT_TRUE(m.parameter(0).frames.empty());
    EXPECT_EQ(m.yMin(), -0.5);
    EXPECT_EQ(m.yMax(), 1.5);
    EXPECT_EQ(m.marker1(), 0.0);
    EXPECT_EQ(m.marker2(), 0.0);
    EXPECT_FALSE(m.hasValue(0));
    // The sample time stays set: feeding continues at once.
    m.putValue(0, 1.0);
    EXPECT_EQ(m.parameter(0).samples.size(), 1u);
}

TEST_F(GraphModelTest, ParameterCountIsClampedAndColoursComeFromSettings)
{
    m.setMaxParameters(0);
    EXPECT_EQ(m.parameterCount(), 1u);
    m.setMaxParameters(40);
    EXPECT_EQ(m.parameterCount(), 30u);
    EXPECT_EQ(m.parameter(2).color.b, 1.0f);
    EXPECT_EQ(m.parameter(2).color.r, 0.5f);
    EXPECT_EQ(m.parameter(5).color.g, 0.0f);
    EXPECT_EQ(m.parameter(6).color.g, 1.0f);
    EXPECT_EQ(m.parameter(0).name, "NoName");

    KAVO::Property::instance()->setString("GraphColor0", "#336699");
    KAVO::Property::instance()->setString("GraphColor29", "#00ff00");
    KAVO::Property::instance()->setString("GraphColor3", "no colour");
    feed(0, {{1, 1}});
    m.setMaxParameters(30);
    EXPECT_TRUE(m.parameter(0).samples.empty()); // new parameters, no samples
    EXPECT_FLOAT_EQ(m.parameter(0).color.r, 0x33 / 255.0f);
    EXPECT_FLOAT_EQ(m.parameter(0).color.g, 0x66 / 255.0f);
    EXPECT_FLOAT_EQ(m.parameter(0).color.b, 0x99 / 255.0f);
    EXPECT_EQ(m.parameter(29).color.r, 0.0f);
    EXPECT_EQ(m.parameter(29).color.g, 1.0f);
    EXPECT_EQ(m.parameter(3).color.r, 1.0f); // unreadable name: built-in kept
    EXPECT_EQ(m.parameter(3).color.b, 0.0f);
}

// ---------------------------------------------------------------- buckets

TEST_F(GraphModelTest, BucketBoundariesFollowThePixelTime)
{
    ASSERT_DOUBLE_EQ(m.bucketWidth(), 0.1);
    feed(0, {{0, 1}, {0.04, 2}, {0.08, 3}, {0.12, 4}, {0.22, 5}, {0.23, 6}});
    const auto& f = m.parameter(0).frames.frames();
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[0].count, 3);
    EXPECT_EQ(f[0].time, 0.0);
    EXPECT_EQ(f[0].values[2], 3.0);
    EXPECT_EQ(f[1].time, 0.12);
    EXPECT_EQ(f[1].count, 2); // 0.22 lies 0.1 after 0.12: it joins
    EXPECT_EQ(f[2].time, 0.23);

    // Three vertices up the middle of the pixel column that starts at 0 s.
    m.layoutBands();
    std::vector<float> xy;
    m.lineVertices(0, xy);
    ASSERT_EQ(xy.size(), 12u); // 3 + 2 + 1 vertices
    EXPECT_FLOAT_EQ(xy[0], 50.5f);
    EXPECT_FLOAT_EQ(xy[2], 50.5f);
    EXPECT_FLOAT_EQ(xy[4], 50.5f);
    EXPECT_GT(xy[6], 51.0f);

    m.clear();
    feed(0, {{0, 1}, {0.1, 2}});
    EXPECT_EQ(m.parameter(0).frames.size(), 1u);
}

TEST_F(GraphModelTest, BucketKeepsFirstTrueLowTrueHighAndLast)
{
    m.setAutoScaleY(true);
    feed(0, {{0, 0}, {0.01, 10}, {0.02, -10}, {0.03, 0}});
    const GraphFrame& f = m.parameter(0).frames.frames().front();
    ASSERT_EQ(f.count, 4);
    EXPECT_EQ(f.values[0], 0.0);
    EXPECT_EQ(f.values[1], -10.0);
    EXPECT_EQ(f.values[2], 10.0);
    EXPECT_EQ(f.values[3], 0.0);

    // Both spikes count for autoscale.
    m.layoutBands();
    std::vector<float> xy;
    m.lineVertices(0, xy);
    m.finishFrame();
    EXPECT_EQ(m.parameter(0).visibleLow, -10.0);
    EXPECT_EQ(m.parameter(0).visibleHigh, 10.0);
    EXPECT_DOUBLE_EQ(m.autoLow(), -12.0);
    EXPECT_DOUBLE_EQ(m.autoHigh(), 12.0);
    m.calcFrame();
    EXPECT_DOUBLE_EQ(m.yMin(), -12.0);
    EXPECT_DOUBLE_EQ(m.parameter(0).rangeHigh, 12.0);

    // As separate lines: the column from -10 to 10 once, then the joint to
    // the next bucket's first value.
    feed(0, {{0.5, 4}});
    m.layoutBands();
    std::vector<float> segments;
    m.lineVertices(0, xy, &segments);
    ASSERT_EQ(segments.size(), 8u);
    EXPECT_FLOAT_EQ(segments[1], static_cast<float>(m.yToViewport(0, -10.0)));
    EXPECT_FLOAT_EQ(segments[3], static_cast<float>(m.yToViewport(0, 10.0)));
    EXPECT_EQ(segments[0], segments[2]);
    EXPECT_FLOAT_EQ(segments[5], static_cast<float>(m.yToViewport(0, 0.0))); // from the last value
    EXPECT_FLOAT_EQ(segments[6], static_cast<float>(m.pixelX(0.5) + 0.5));
    EXPECT_FLOAT_EQ(segments[7], static_cast<float>(m.yToViewport(0, 4.0)));
    m.clear();
    feed(0, {{0, 0}, {0.01, 10}, {0.02, -10}, {0.03, 0}});

    // More samples keep lowering and raising the middle pair.
    feed(0, {{0.04, 20}, {0.05, 3}});
    const GraphFrame& g = m.parameter(0).frames.frames().front();
    EXPECT_EQ(g.values[2], 20.0);
    EXPECT_EQ(g.values[3], 3.0);
}

TEST(GraphFrameBufferTest, RebuildEqualsAddingTheSamplesOneByOne)
{
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> gap(0.0, 0.05);
    std::uniform_real_distribution<double> val(-5.0, 5.0);
    GraphSeries s;
    double t = 0.0;
    for (int k = 0; k < 50000; ++k) {
        if (k % 1000 != 0) // runs of equal times now and then
            t += gap(rng);
        s.append(t, val(rng));
    }
    const double last = t;
    const double windows[][3] = {
        {0.0, last, last / 700.0}, {100.0, 160.0, 0.1}, {-50.0, 10.0, 0.5},
        {last - 3.0, last + 30.0, 0.01}, {last + 10.0, last + 20.0, 0.02}, {333.3, 334.3, 0.0001},
    };
    for (const auto& w : windows) {
        GraphFrameBuffer fb;
        fb.rebuild(s, w[0], w[1], w[2]);
        SCOPED_TRACE(w[0]);
        expectSameFrames(sequentialFrames(s, w[0], w[1], w[2]), fb.frames());
    }
    GraphFrameBuffer empty;
    empty.rebuild(GraphSeries(), 0.0, 1.0, 0.1);
    EXPECT_TRUE(empty.empty());
}

TEST_F(GraphModelTest, FeedingAWholeRecordingKeepsTheBucketsFew)
{
    // Window 0..60, samples far beyond it: one bucket past the window end
    // is all that can show; left of the window only one bucket stays.
    for (int k = 0; k < 20000; ++k) {
        m.setTime(100.0 + k * 0.001);
        m.putValue(0, k);
    }
    EXPECT_EQ(m.parameter(0).frames.size(), 1u);
    EXPECT_EQ(m.parameter(0).samples.size(), 20000u);
    m.setXmin(105.0);
    m.setXmax(110.0);
    EXPECT_GT(m.parameter(0).frames.size(), 500u);
    EXPECT_LE(m.parameter(0).frames.size(), 602u);
    m.setXmin(200.0); // window after every sample: one bucket enters from the left
    EXPECT_EQ(m.parameter(0).frames.size(), 1u);
}

// ---------------------------------------------------------------- window

TEST_F(GraphModelTest, ZoomToEqualMarkersShowsOneSecond)
{
    m.setGraphMode(GraphModel::GraphAutomatic);
    m.setMarker(12.0, 12.0);
    m.zoomToMarker();
    EXPECT_EQ(m.xMin(), 12.0);
    EXPECT_EQ(m.xMax(), 13.0);
    EXPECT_EQ(m.graphMode(), GraphModel::GraphManual);
    m.setMarker(12.0, 12.5);
    m.zoomToMarker();
    EXPECT_EQ(m.xMax(), 13.0);
    m.setMarker(12.0, 40.0);
    m.zoomToMarker();
    EXPECT_EQ(m.xMax(), 40.0);
}

TEST_F(GraphModelTest, SetXrangeKeepsStartInManualAndEndInAutomaticMode)
{
    m.setXrange(30.0f);
    EXPECT_EQ(m.xMin(), 0.0);
    EXPECT_EQ(m.xMax(), 30.0);
    m.setXmax(60.0);
    m.setGraphMode(GraphModel::GraphAutomatic);
    m.setXrange(30.0f);
    EXPECT_EQ(m.xMin(), 30.0);
    EXPECT_EQ(m.xMax(), 60.0);
    m.setT0(100.0);
    EXPECT_EQ(m.xMin(), 100.0);
    EXPECT_EQ(m.xMax(), 130.0);
}

TEST_F(GraphModelTest, WindowNeverShrinksBelowTheMinimumOrTakesUnusableLimits)
{
    m.setXmin(60.0); // the end
    EXPECT_EQ(m.xMin(), 60.0);
    EXPECT_EQ(m.xMax(), 61.0);
    m.setXmax(10.0); // before the start
    EXPECT_EQ(m.xMin(), 9.0);
    EXPECT_EQ(m.xMax(), 10.0);
    m.setXrange(0.0);
    EXPECT_EQ(m.span(), GraphModel::kMinSpan);
    m.setXrange(-5.0);
    EXPECT_EQ(m.span(), GraphModel::kMinSpan);
    m.setXrange(std::nan(""));
    m.setXmin(std::nan(""));
    m.setXmax(INFINITY);
    m.setXmin(1.0e300);
    EXPECT_EQ(m.xMin(), 9.0);
    EXPECT_EQ(m.xMax(), 10.0);

    // Holding the wheel forward stops at the minimum around the mouse time.
    m.setXmin(0.0);
    m.setXmax(60.0);
    for (int k = 0; k < 500; ++k)
        m.wheelZoom(15.0, true);
    EXPECT_NEAR(m.span(), GraphModel::kMinSpan, 1e-9);
    EXPECT_NEAR(m.xMin(), 14.75, 1e-9); // 15 s stays a quarter into the window
    EXPECT_TRUE(std::isfinite(m.bucketWidth()));
    EXPECT_GT(m.bucketWidth(), 0.0);
}

TEST_F(GraphModelTest, AutomaticModeFollowsTheTimeAndNeverErodesTheStore)
{
    m.setGraphMode(GraphModel::GraphAutomatic);
    m.setActive(1, true);
    m.setTime(100.0);
    EXPECT_EQ(m.xMin(), 40.0);
    EXPECT_EQ(m.xMax(), 100.0);
    m.putValue(0, 1.0);
    m.putValue(1, 2.0);
    for (int k = 1; k <= 50; ++k) {
        m.setTime(100.0 + k);
        if (k % 2 == 0)
            m.putValue(0, 1.0 + k);
        m.calcFrame(); // repeats the last value of a parameter that got none
        m.calcFrame();
    }
    EXPECT_EQ(m.parameter(0).samples.size(), 51u);
    EXPECT_EQ(m.parameter(1).samples.size(), 51u);
    EXPECT_EQ(m.parameter(1).samples.back().value, 2.0);
    EXPECT_EQ(m.parameter(0).samples.back().time, 150.0);
    EXPECT_EQ(m.xMax(), 150.0);
}

TEST_F(GraphModelTest, RebuildFlagWaitsForTheNextTime)
{
    feed(0, {{1, 1}, {2, 2}});
    m.setXmin(100.0);
    EXPECT_EQ(m.parameter(0).frames.size(), 1u); // the one left of the window
    m.setGraphMode(GraphModel::GraphAutomatic);
    EXPECT_TRUE(m.rebuildPending());
    m.setTime(31.0);
    EXPECT_FALSE(m.rebuildPending());
    EXPECT_EQ(m.xMax(), 31.0);
    EXPECT_EQ(m.xMin(), 30.0); // span 1 s kept
    EXPECT_EQ(m.parameter(0).frames.size(), 1u);
}

TEST_F(GraphModelTest, CentreCursorModeCentresTheWindow)
{
    m.setCursorPosition(100.0);
    EXPECT_EQ(m.xMin(), 0.0);
    EXPECT_EQ(m.cursorTime(), 100.0);
    m.setCursorMode(GraphModel::CursorCenter);
    m.setCursorPosition(100.0);
    EXPECT_EQ(m.xMin(), 70.0);
    EXPECT_EQ(m.xMax(), 130.0);
}

// ---------------------------------------------------------------- geometry, input

TEST_F(GraphModelTest, ConversionsAndDegeneratePlotSizes)
{
    EXPECT_DOUBLE_EQ(m.xToViewport(30.0), 350.0);
    EXPECT_DOUBLE_EQ(m.viewportToX(350.0), 30.0);
    EXPECT_DOUBLE_EQ(m.yToViewport(0.5), 165.0);
    EXPECT_DOUBLE_EQ(m.viewportToY(165.0), 0.5);
    EXPECT_EQ(m.viewportToRelX(0.0), 0.0);
    EXPECT_EQ(m.viewportToRelX(2000.0), 1.0);
    EXPECT_DOUBLE_EQ(m.viewportToRelY(165.0), 0.5);

    m.setPlot(50.0, 40.0, -20.0, 0.0); // a widget too small for a plot
    EXPECT_DOUBLE_EQ(m.bucketWidth(), 60.0);
    EXPECT_TRUE(std::isfinite(m.xToViewport(30.0)));
    EXPECT_TRUE(std::isfinite(m.viewportToY(10.0)));
    m.setDisplayMode(GraphModel::DisplaySplit);
    m.layoutBands();
    feed(0, {{1, 1}, {2, 2}});
    m.calcFrame();
    std::vector<float> xy;
    m.lineVertices(0, xy);
    for (float f : xy)
        EXPECT_TRUE(std::isfinite(f));

    // Equal Y limits: every value in the middle, no division by zero.
    m.setPlot(50.0, 40.0, 600.0, 250.0);
    m.setDisplayMode(GraphModel::DisplaySingle);
    m.setYmin(5.0);
    m.setYmax(5.0);
    EXPECT_DOUBLE_EQ(m.yToViewport(123.0), 165.0);
}

TEST_F(GraphModelTest, PixelsFromTimesRoundToTheNearestColumn)
{
    // 10 pixels per second from x 50: 30 s is the boundary at 350, also
    // for a time a hair below it (noise of times read from ticks).
    const double below = 30.0 - 1e-9;
    EXPECT_LT(m.xToViewport(below), 350.0);
    EXPECT_EQ(m.pixelX(below), 350.0);
    EXPECT_EQ(m.pixelX(30.0 + 1e-9), 350.0);
    EXPECT_EQ(m.pixelX(30.04), 350.0);
    EXPECT_EQ(m.pixelX(30.06), 351.0);
    // A window that starts at a noisy time: 10 s read as 10.000000000000002.
    m.setT0(10.000000000000002);
    EXPECT_LT(m.xToViewport(20.0), 150.0);
    EXPECT_EQ(m.pixelX(20.0), 150.0);
    // A bucket at such a time is drawn up the middle of its column.
    feed(0, {{below + 10.0, 1.0}, {45.0, 2.0}});
    m.rebuild();
    m.layoutBands();
    std::vector<float> xy;
    m.lineVertices(0, xy);
    ASSERT_GE(xy.size(), 2u);
    EXPECT_FLOAT_EQ(xy[0], 350.5f);
}

TEST_F(GraphModelTest, SplitBandsPutTheFirstParameterOnTop)
{
    m.setActive(2, true);
    m.setDisplayMode(GraphModel::DisplaySplit);
    m.layoutBands();
    EXPECT_EQ(m.activeCount(), 2u);
    EXPECT_DOUBLE_EQ(m.parameter(0).bandBottom, 165.0);
    EXPECT_DOUBLE_EQ(m.parameter(2).bandBottom, 40.0);
    EXPECT_DOUBLE_EQ(m.parameter(2).bandHeight, 125.0);
    EXPECT_EQ(m.getParaFromPos(200.0), 0u);
    EXPECT_EQ(m.getParaFromPos(100.0), 2u);
    EXPECT_EQ(m.getParaFromPos(10.0), 0u); // outside every band

    // The cursor value is read in the band under the pointer.
    m.setAutoScaleY(false);
    m.setYmin(0.0);
    m.setYmax(10.0);
    m.calcFrame();
    m.layoutBands();
    m.cursorAt(5.0, 40.0 + 125.0 * 0.3);
    EXPECT_EQ(m.cursorParameter(), 2u);
    EXPECT_DOUBLE_EQ(m.cursorValue(), 3.0);
    EXPECT_TRUE(m.cursorTextShown());
    m.cursorStepY(100.0); // up into the band of parameter 0
    EXPECT_EQ(m.cursorParameter(), 0u);
    EXPECT_NEAR(m.cursorValue(), 1.0, 1e-9);
}

TEST_F(GraphModelTest, MarkersFollowLeftClicksAndEndADragInOrder)
{
    m.markerPress(20.0, false);
    EXPECT_EQ(m.marker1(), 20.0);
    EXPECT_EQ(m.marker2(), 20.0);
    m.markerPress(30.0, true); // at or after the midpoint: marker 2
    EXPECT_EQ(m.marker2(), 30.0);
    m.markerPress(5.0, true); // left of both: marker 1
    EXPECT_EQ(m.marker1(), 5.0);
    EXPECT_EQ(m.marker2(), 30.0);

    // A drag that ends reversed is put in order.
    m.setMarker(40.0, 10.0);
    m.markerRelease();
    EXPECT_EQ(m.marker1(), 10.0);
    EXPECT_EQ(m.marker2(), 40.0);
}

TEST_F(GraphModelTest, WheelAndPanMoveTheWindow)
{
    m.wheelZoom(30.0, true);
    EXPECT_NEAR(m.xMin(), 3.0, 1e-12);
    EXPECT_NEAR(m.xMax(), 57.0, 1e-12);
    m.wheelZoom(30.0, false);
    EXPECT_NEAR(m.xMin(), 0.0, 1e-12);
    EXPECT_NEAR(m.xMax(), 60.0, 1e-12);

    m.setXmin(0.0);
    m.setXmax(60.0);
    m.setGraphMode(GraphModel::GraphAutomatic);
    m.panStart(350.0);
    m.panMove(250.0); // 100 pixels of 600 to the left: 10 s later
    EXPECT_DOUBLE_EQ(m.xMin(), 10.0);
    EXPECT_DOUBLE_EQ(m.xMax(), 70.0);
    EXPECT_EQ(m.graphMode(), GraphModel::GraphManual);
    m.panMove(450.0); // from the kept window, not the current one
    EXPECT_DOUBLE_EQ(m.xMin(), -10.0);

    m.cursorStepTime(-10, 600.0);
    EXPECT_DOUBLE_EQ(m.cursorTime(), -1.0);
}

TEST_F(GraphModelTest, TextsOfLegendAndCursor)
{
    feed(0, {{10, 1}, {20, 3}});
    m.setCursorPosition(15.0);
    EXPECT_EQ(m.legendText(0), QString("NoName   2.000000"));
    m.setCursorPosition(25.0);
    EXPECT_EQ(m.legendText(0), QString("NoName   ---"));
    m.cursorAt(3723.4567, m.yToViewport(0.25));
    EXPECT_EQ(m.cursorText(), QString("01:02:03.456/0.25"));
    // 39.7 s as read from ticks: the millisecond boundary, not one below.
    m.cursorAt(39.69999997, m.yToViewport(0.25));
    EXPECT_EQ(m.cursorText(), QString("00:00:39.700/0.25"));
}

TEST(GraphModelStatic, Pt1Filter)
{
    double y = 0.0;
    GraphModel::pt1(10.0f, 1.0f, 0.5f, &y);
    EXPECT_NEAR(y, 10.0 * 0.5 / 1.5, 1e-6);
    y = 0.0;
    GraphModel::pt1(10.0f, 1.0f, 4.0f, &y); // dt above 1 counts as 1
    EXPECT_NEAR(y, 5.0, 1e-6);
}

// ---------------------------------------------------------------- ticks

TEST(GraphTicksTest, StepsForSeveralRanges)
{
    double step = 0;
    int sub = 0;
    ASSERT_TRUE(GraphTicks::autoPara(3590.0, 3660.0, 700.0, 70.0, &step, &sub));
    EXPECT_EQ(step, 10.0);
    EXPECT_EQ(sub, 5);
    ASSERT_TRUE(GraphTicks::autoPara(-0.5, 1.5, 250.0, 25.0, &step, &sub));
    EXPECT_EQ(step, 0.5);
    EXPECT_EQ(sub, 5);
    ASSERT_TRUE(GraphTicks::autoPara(-0.5, 1.5, 260.0, 25.0, &step, &sub));
    EXPECT_DOUBLE_EQ(step, 0.2);
    EXPECT_EQ(sub, 4);
    ASSERT_TRUE(GraphTicks::autoPara(0.0, 1200.0, 700.0, 70.0, &step, &sub)); // raw 120
    EXPECT_EQ(step, 200.0);
    EXPECT_EQ(sub, 4);
    ASSERT_TRUE(GraphTicks::autoPara(0.0, 0.3, 250.0, 25.0, &step, &sub)); // raw 0.03
    EXPECT_DOUBLE_EQ(step, 0.05);
    EXPECT_EQ(sub, 5);
    ASSERT_TRUE(GraphTicks::autoPara(0.0, 15.0, 100.0, 10.0, &step, &sub)); // raw 1.5
    EXPECT_EQ(step, 2.0);

    EXPECT_FALSE(GraphTicks::autoPara(0.0, 60.0, 50.0, 70.0, &step, &sub)); // not one tick fits
    EXPECT_FALSE(GraphTicks::autoPara(5.0, 5.0, 250.0, 25.0, &step, &sub));
    EXPECT_FALSE(GraphTicks::autoPara(6.0, 5.0, 250.0, 25.0, &step, &sub));
    EXPECT_FALSE(GraphTicks::autoPara(0.0, NAN, 250.0, 25.0, &step, &sub));
    EXPECT_FALSE(GraphTicks::autoPara(-INFINITY, INFINITY, 250.0, 25.0, &step, &sub));
    EXPECT_FALSE(GraphTicks::autoPara(0.0, 1.0, 0.0, 25.0, &step, &sub));
    EXPECT_EQ(step, 0.0);
}

TEST(GraphTicksTest, LabelFormats)
{
    EXPECT_EQ(GraphTicks::autoFormat(0.5), QString("%.1f"));
    EXPECT_EQ(GraphTicks::autoFormat(0.05), QString("%.2f"));
    EXPECT_EQ(GraphTicks::autoFormat(10.0), QString("%.0f"));
    EXPECT_EQ(GraphTicks::autoFormat(2.0), QString("%.1f"));
    EXPECT_EQ(GraphTicks::formatValue(-0.5, 0.5), QString("-0.5"));
    EXPECT_EQ(GraphTicks::formatValue(0.0, 0.5), QString("0.0"));
    EXPECT_EQ(GraphTicks::timeLabel(3590.0), QString("0:59:50"));
    EXPECT_EQ(GraphTicks::timeLabel(3600.0), QString("1:00:00"));
    EXPECT_EQ(GraphTicks::timeLabel(360061.9), QString("100:01:01"));
    // Below a second the step's fraction, rounded: ticks are held inexactly.
    const struct
    {
        double t, step;
        const char* text;
    } fractions[] = {
        {1188.2, 0.2, "0:19:48.2"},         {5941 * 0.2, 0.2, "0:19:48.2"}, {1187.9999999, 0.1, "0:19:48.0"},
        {1188.25, 0.05, "0:19:48.25"},      {1188.25, 0.01, "0:19:48.25"},  {3599.5, 0.5, "0:59:59.5"},
        {0.002, 0.002, "0:00:00.002"},      {1188.7, 1.0, "0:19:48"},       {1188.7, 2.0, "0:19:48"},
    };
    for (const auto& f : fractions)
        EXPECT_EQ(GraphTicks::timeLabel(f.t, f.step), QString(f.text)) << f.t << " by " << f.step;
}

TEST(GraphTicksTest, TickPositionsAreBoundedAndExact)
{
    // Y -0.5..1.5 over 250 pixels: labels -0.5 to 1.5.
    const std::vector<double> y = GraphTicks::majors(-0.5 - 0.5, 1.5 + 0.5, 0.5);
    QStringList labels;
    for (double v : y)
        if (v >= -0.5 && v <= 1.5)
            labels << GraphTicks::formatValue(v, 0.5);
    EXPECT_EQ(labels, (QStringList{"-0.5", "0.0", "0.5", "1.0", "1.5"}));

    const std::vector<double> x = GraphTicks::majors(3590.0, 3670.0, 10.0);
    EXPECT_EQ(x.front(), 3590.0);
    EXPECT_EQ(x.back(), 3670.0);
    const std::vector<double> minors = GraphTicks::minors(x, 10.0, 5, 3590.0, 3660.0);
    EXPECT_EQ(minors.size(), 28u); // 4 between each of the 7 pairs
    EXPECT_DOUBLE_EQ(minors.front(), 3592.0);

    // Where a step no longer moves the value, the count still ends.
    EXPECT_TRUE(GraphTicks::majors(1.0e17, 1.0e17 + 1.0e5, 1.0).empty());
    EXPECT_LE(GraphTicks::majors(1.0e15, 1.0e15 + 4000.0, 1.0).size(), 4096u);
    EXPECT_TRUE(GraphTicks::majors(0.0, 1.0, 0.0).empty());
    EXPECT_TRUE(GraphTicks::majors(0.0, NAN, 1.0).empty());
}

TEST(GraphTicksTest, ConstantValueUnderAutoscaleGetsTicks)
{
    // 5000 widened by a tenth of 0.001 on each side.
    double step = 0;
    int sub = 0;
    ASSERT_TRUE(GraphTicks::autoPara(4999.9999, 5000.0001, 250.0, 25.0, &step, &sub));
    const std::vector<double> v = GraphTicks::majors(4999.9999 - step, 5000.0001 + step, step);
    EXPECT_FALSE(v.empty());
    EXPECT_LT(v.size(), 20u);
    EXPECT_EQ(GraphTicks::formatValue(5000.0, step), QString("5000.00000"));
}

namespace {

// A fixed-width font of the size the graph draws with.
const GraphTicks::LabelFont kFont{[](const QString& text) { return 7.0 * text.size(); }, 10.0, 3.0, 13.0};

// The gap between two label boxes, in pixels (negative when they overlap).
double gapBetween(const QRectF& a, const QRectF& b)
{
    const double dx = std::max(b.left() - a.right(), a.left() - b.right());
    const double dy = std::max(b.top() - a.bottom(), a.top() - b.bottom());
    return std::max(dx, dy);
}

std::string texts(const std::vector<GraphTicks::Label>& labels)
{
    QStringList out;
    for (const GraphTicks::Label& l : labels)
        out << l.text;
    return out.join(' ').toStdString();
}

// Time labels lie inside the widget, centred under their ticks unless
// moved in against an edge of it, where they still cover their tick.
void expectUnderTicks(const GraphModel& m, const std::vector<GraphTicks::Label>& labels)
{
    const double right = m.plotLeft() + m.plotWidth() + GraphModel::kRightMargin;
    for (const GraphTicks::Label& l : labels) {
        SCOPED_TRACE(l.text.toStdString());
        const double tick = m.pixelX(l.value) + 0.5;
        EXPECT_GE(l.box.left(), 0.0);
        EXPECT_LE(l.box.right(), right);
        if (l.box.left() == 0.0 || l.box.right() == right) {
            EXPECT_GT(tick, l.box.left());
            EXPECT_LT(tick, l.box.right());
        } else {
            EXPECT_NEAR(l.box.center().x(), tick, 0.01);
        }
        EXPECT_EQ(l.x, l.box.left());
    }
}

} // namespace

TEST(GraphAxisLabelsTest, TimeLabelsReadApartAndStayInsideTheWidget)
{
    const struct
    {
        const char* name;
        double plotLeft, plotWidth, start, end;
        std::string texts;
    } cases[] = {
        // Steps below a second: the fraction they need.
        {"steps of 0.2 s", 50.0, 540.0, 1187.55, 1188.55, "0:19:47.6 0:19:47.8 0:19:48.0 0:19:48.2 0:19:48.4"},
        {"steps of 0.05 s", 50.0, 1500.0, 1187.52, 1188.52,
         "0:19:47.55 0:19:47.60 0:19:47.65 0:19:47.70 0:19:47.75 0:19:47.80 0:19:47.85 0:19:47.90 0:19:47.95 "
         "0:19:48.00 0:19:48.05 0:19:48.10 0:19:48.15 0:19:48.20 0:19:48.25 0:19:48.30 0:19:48.35 0:19:48.40 "
         "0:19:48.45 0:19:48.50"},
        // A widget 600 pixels wide: the last label of twenty minutes, and
        // of a damaged file's range, moved in from the right edge.
        {"twenty minutes", 50.0, 540.0, 0.0, 1200.0, "0:00:00 0:03:20 0:06:40 0:10:00 0:13:20 0:16:40 0:20:00"},
        {"a damaged file's end", 50.0, 540.0, -5.8e10, 6.38e11,
         "0:00:00 55555555:33:20 111111111:06:40 166666666:40:00"},
        // Moved in from the left edge.
        {"first label at a narrow margin", 20.0, 560.0, 36000.0, 37200.0,
         "10:00:00 10:03:20 10:06:40 10:10:00 10:13:20 10:16:40 10:20:00"},
        // Moved in it would cover its neighbour: left out.
        {"last label without room", 50.0, 430.0, 36000.0, 37200.0,
         "10:00:00 10:03:20 10:06:40 10:10:00 10:13:20 10:16:40"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        KAVO::Property::instance()->clear();
        GraphModel m;
        m.setPlot(c.plotLeft, 40.0, c.plotWidth, 450.0);
        m.setGraphMode(GraphModel::GraphManual);
        m.setXmax(c.end);
        m.setXmin(c.start);
        ASSERT_EQ(m.xMin(), c.start);
        ASSERT_EQ(m.xMax(), c.end);
        const GraphModel::Axis time = m.timeAxis(kFont);
        EXPECT_EQ(texts(time.labels), c.texts);
        expectUnderTicks(m, time.labels);
        for (std::size_t i = 0; i + 1 < time.labels.size(); ++i)
            EXPECT_GE(gapBetween(time.labels[i].box, time.labels[i + 1].box), GraphTicks::kLabelGap)
                << time.labels[i].text.toStdString();
    }
    KAVO::Property::instance()->clear();
}

TEST(GraphAxisLabelsTest, LabelsThatWouldMeetAreThinnedAndNeverCoverEachOther)
{
    const struct
    {
        const char* name;
        GraphModel::eDisplayMode display;
        unsigned parameters;
        double start, end, yLow, yHigh;
        std::string timeTexts;
        std::vector<std::string> valueTexts; // per axis, the top band's first
    } cases[] = {
        // Where labels fit, every major tick keeps its label.
        {"an hour", GraphModel::DisplaySingle, 1, 3590.0, 3660.0, -0.5, 1.5,
         "0:59:50 1:00:00 1:00:10 1:00:20 1:00:30 1:00:40 1:00:50 1:01:00", {"-0.4 -0.2 0.0 0.2 0.4 0.6 0.8 1.0 1.2 1.4"}},
        // The window of a recording whose last message lies at 5.8e11 s:
        // the labels of 1e11 s steps would run together, every second stays.
        {"a damaged file's end", GraphModel::DisplaySingle, 1, -5.8e10, 6.38e11, -0.5, 1.5,
         "0:00:00 55555555:33:20 111111111:06:40 166666666:40:00", {"-0.4 -0.2 0.0 0.2 0.4 0.6 0.8 1.0 1.2 1.4"}},
        // Split display: 10 at the top of a band meets 0 at the bottom of
        // the band above; the upper one stays.
        {"two bands", GraphModel::DisplaySplit, 2, 0.0, 60.0, 0.0, 10.0,
         "0:00:00 0:00:10 0:00:20 0:00:30 0:00:40 0:00:50 0:01:00",
         {"0.0 2.0 4.0 6.0 8.0 10.0", "0.0 2.0 4.0 6.0 8.0"}},
        {"three bands", GraphModel::DisplaySplit, 3, 0.0, 60.0, 0.0, 10.0,
         "0:00:00 0:00:10 0:00:20 0:00:30 0:00:40 0:00:50 0:01:00",
         {"0.0 2.0 4.0 6.0 8.0 10.0", "0.0 2.0 4.0 6.0 8.0", "0.0 2.0 4.0 6.0 8.0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        KAVO::Property::instance()->clear();
        GraphModel m;
        m.setMaxParameters(6);
        m.setPlot(60.0, 40.0, 700.0, 450.0);
        m.setGraphMode(GraphModel::GraphManual);
        m.setDisplayMode(c.display);
        for (unsigned i = 0; i < c.parameters; ++i)
            m.setActive(i, true);
        m.setAutoScaleY(false);
        m.setYmin(c.yLow);
        m.setYmax(c.yHigh);
        m.setXmax(c.end);
        m.setXmin(c.start);
        ASSERT_EQ(m.xMin(), c.start);
        ASSERT_EQ(m.xMax(), c.end);
        m.applyScales();
        m.layoutBands();

        const GraphModel::Axis time = m.timeAxis(kFont);
        EXPECT_EQ(texts(time.labels), c.timeTexts);
        const std::vector<GraphModel::Axis> values = m.valueAxes(kFont);
        ASSERT_EQ(values.size(), c.valueTexts.size());
        std::vector<GraphTicks::Label> all = time.labels;
        for (std::size_t k = 0; k < values.size(); ++k) {
            EXPECT_EQ(texts(values[k].labels), c.valueTexts[k]) << "axis " << k;
            all.insert(all.end(), values[k].labels.begin(), values[k].labels.end());
        }
        // Each label sits where its tick is (or as near as the widget's
        // edge lets it), and no two come closer than a few pixels.
        expectUnderTicks(m, time.labels);
        for (const GraphModel::Axis& a : values)
            for (const GraphTicks::Label& l : a.labels) {
                const double y = a.parameter < 0 ? m.yToViewport(l.value)
                                                 : m.yToViewport(static_cast<unsigned>(a.parameter), l.value);
                EXPECT_NEAR(l.box.right(), m.plotLeft() - 15.0, 0.01) << l.text.toStdString();
                EXPECT_NEAR(l.baseline, y - 0.4 * kFont.height, 0.01) << l.text.toStdString();
            }
        for (std::size_t i = 0; i < all.size(); ++i)
            for (std::size_t j = i + 1; j < all.size(); ++j)
                EXPECT_GE(gapBetween(all[i].box, all[j].box), 3.0)
                    << all[i].text.toStdString() << " and " << all[j].text.toStdString();
    }
    KAVO::Property::instance()->clear();
}

TEST(GraphAxisLabelsTest, ThinningKeepsWholeMultiplesOfTheSmallestStrideThatFits)
{
    // Labels 10 pixels wide at ticks 12 pixels apart, from tick 3 on:
    // every second fits and starts at tick 4, however the window starts.
    std::vector<GraphTicks::Label> labels;
    for (int k = 3; k <= 9; ++k)
        labels.push_back(GraphTicks::label(k * 5.0, QString::number(k), 12.0 * k, 0.5, 0.0,
                                           GraphTicks::LabelFont{[](const QString&) { return 10.0; }, 10, 3, 13}));
    std::vector<double> kept;
    for (const GraphTicks::Label& l : GraphTicks::thin(labels, 5.0))
        kept.push_back(l.value);
    EXPECT_EQ(kept, (std::vector<double>{20.0, 30.0, 40.0}));
    // Wide enough apart, all stay.
    for (GraphTicks::Label& l : labels)
        l.box.moveLeft(20.0 * l.value / 5.0);
    EXPECT_EQ(GraphTicks::thin(labels, 5.0).size(), labels.size());
}

namespace {

// n samples from time t on, in time order (equal times now and then).
std::vector<KAVO::GraphEntry> sampleRun(std::mt19937& rng, std::size_t n, double t)
{
    std::vector<KAVO::GraphEntry> v;
    for (std::size_t k = 0; k < n; ++k) {
        t += (rng() % 3) * 0.01;
        v.push_back(KAVO::GraphEntry{t, (rng() % 1000) * 0.1 - 50.0});
    }
    return v;
}

// Two models hold the same window, samples, extremes (also over runs
// picked at random) and buckets in their first `parameters` parameters.
void expectSameGraph(const GraphModel& a, const GraphModel& b, unsigned parameters, std::mt19937& rng)
{
    EXPECT_EQ(a.sampleTime(), b.sampleTime());
    EXPECT_EQ(a.xMin(), b.xMin());
    EXPECT_EQ(a.xMax(), b.xMax());
    for (unsigned i = 0; i < parameters; ++i) {
        const KAVO::GraphParameter& pa = a.parameter(i);
        const KAVO::GraphParameter& pb = b.parameter(i);
        ASSERT_EQ(pa.samples.size(), pb.samples.size()) << i;
        for (std::size_t k = 0; k < pa.samples.size(); ++k) {
            ASSERT_EQ(pa.samples[k].time, pb.samples[k].time) << i << " " << k;
            ASSERT_EQ(pa.samples[k].value, pb.samples[k].value) << i << " " << k;
        }
        EXPECT_EQ(pa.samples.dataLow(), pb.samples.dataLow());
        EXPECT_EQ(pa.samples.dataHigh(), pb.samples.dataHigh());
        EXPECT_EQ(pa.lastValue, pb.lastValue);
        EXPECT_EQ(a.hasValue(i), b.hasValue(i));
        // The pyramid of extremes answers alike over any run.
        for (int r = 0; r < 50 && !pa.samples.empty(); ++r) {
            std::size_t first = rng() % pa.samples.size();
            std::size_t last = rng() % pa.samples.size();
            if (first > last)
                std::swap(first, last);
            double la, ha, lb, hb;
            pa.samples.minMax(first, last, la, ha);
            pb.samples.minMax(first, last, lb, hb);
            ASSERT_EQ(la, lb);
            ASSERT_EQ(ha, hb);
        }
        const auto& fa = pa.frames.frames();
        const auto& fb = pb.frames.frames();
        ASSERT_EQ(fa.size(), fb.size()) << i;
        for (std::size_t k = 0; k < fa.size(); ++k) {
            ASSERT_EQ(fa[k].count, fb[k].count);
            ASSERT_EQ(fa[k].time, fb[k].time);
            for (int v = 0; v < fa[k].count; ++v)
                ASSERT_EQ(fa[k].values[v], fb[k].values[v]);
        }
    }
}

} // namespace

TEST(GraphModelBulkTest, PutSamplesLeavesTheGraphAsFeedingOneByOne)
{
    using KAVO::GraphEntry;
    KAVO::Property::instance()->clear();
    std::mt19937 rng(5);
    auto run = [&](std::size_t n, double t) { return sampleRun(rng, n, t); };
    struct Case
    {
        const char* name;
        GraphModel::eGraphMode mode;
        bool rebuildPending;
        std::vector<std::pair<unsigned, std::vector<GraphEntry>>> feeds;
    };
    std::vector<GraphEntry> late = run(300, 5.0);
    late[100].time = 1.0;  // back in time
    std::vector<GraphEntry> unusable = run(200, 5.0);
    unusable[50].time = std::nan("");
    unusable[60].time = 2e12;
    std::vector<Case> cases = {
        {"in order, taken whole", GraphModel::GraphManual, false, {{0, run(5000, 1.0)}, {1, run(3000, 0.5)}}},
        {"automatic mode, rebuild pending", GraphModel::GraphAutomatic, true, {{2, run(4000, 3.0)}, {0, run(10, 9.0)}}},
        {"a late sample", GraphModel::GraphManual, false, {{1, late}}},
        {"unusable times", GraphModel::GraphAutomatic, false, {{0, unusable}}},
        {"onto stored samples", GraphModel::GraphManual, false, {{0, run(100, 1.0)}, {0, run(100, 2.0)}}},
        {"empty", GraphModel::GraphManual, false, {{0, {}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GraphModel a, b;
        for (GraphModel* m : {&a, &b}) {
            m->setMaxParameters(3);
            m->setPlot(50.0, 40.0, 600.0, 250.0);
            m->setGraphMode(c.mode);
            if (!c.rebuildPending)
                m->setTime(0.0);
            for (unsigned i = 0; i < 3; ++i)
                m->setActive(i, true);
        }
        for (const auto& feed : c.feeds) {
            for (const GraphEntry& s : feed.second) {
                a.setTime(s.time);
                a.putValue(feed.first, s.value);
            }
            std::vector<GraphEntry> copy = feed.second;
            b.putSamples(feed.first, copy);
        }
        a.rebuild();
        b.rebuild();
        EXPECT_EQ(a.timeSet(), b.timeSet());
        EXPECT_EQ(a.rebuildPending(), b.rebuildPending());
        expectSameGraph(a, b, 3, rng);
    }
}

TEST(GraphModelBulkTest, FeedsTakenTogetherOnWorkerThreadsEqualFeedsOneByOne)
{
    // Several parameters fed at once, their stores and buckets built on
    // four threads with the rebuilds of the window changes held back: the
    // graph ends as feeding one at a time with every rebuild done at once.
    using KAVO::GraphEntry;
    KAVO::Property::instance()->clear();
    std::mt19937 rng(8);
    auto run = [&](std::size_t n, double t) { return sampleRun(rng, n, t); };
    std::vector<GraphEntry> late = run(700, 2.0);
    late[300].time = 1.0;
    for (const GraphModel::eGraphMode mode : {GraphModel::GraphManual, GraphModel::GraphAutomatic}) {
        // Parameter 1 twice, parameter 2 out of order, parameter 5 inactive.
        const std::vector<std::pair<unsigned, std::vector<GraphEntry>>> feeds = {
            {0, run(20000, 1.0)}, {1, run(3000, 0.5)}, {2, late}, {1, run(500, 40.0)}, {5, run(900, 3.0)}};
        GraphModel one, all;
        for (GraphModel* m : {&one, &all}) {
            m->setMaxParameters(6);
            m->setPlot(50.0, 40.0, 600.0, 250.0);
            m->setGraphMode(mode);
            for (unsigned i = 0; i < 5; ++i)
                m->setActive(i, true);
        }
        KAVO::ParallelWork::setThreads(1);
        std::vector<std::vector<GraphEntry>> copies;
        for (const auto& f : feeds)
            copies.push_back(f.second);
        for (std::size_t f = 0; f < feeds.size(); ++f)
            one.putSamples(feeds[f].first, copies[f]);
        one.setXmin(5.0);
        one.setXmax(90.0);
        one.setT0(20.0);

        KAVO::ParallelWork::setThreads(4);
        // Apart: times and values.
        std::vector<KAVO::GraphValues> values(feeds.size());
        std::vector<GraphModel::Feed> together;
        for (std::size_t f = 0; f < feeds.size(); ++f) {
            auto times = std::make_shared<KAVO::GraphTimes>();
            for (const GraphEntry& e : feeds[f].second) {
                times->push_back(e.time);
                values[f].push_back(e.value);
            }
            together.push_back(GraphModel::Feed{feeds[f].first, times, &values[f]});
        }
        all.holdRebuilds(true);
        all.putSamples(together);
        all.setXmin(5.0);
        all.setXmax(90.0);
        all.setT0(20.0);
        all.holdRebuilds(false);
        KAVO::ParallelWork::setThreads(0);

        expectSameGraph(one, all, 6, rng);
    }
}
