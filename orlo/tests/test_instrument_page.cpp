// The instrument page's arithmetic without a window: the page machine of
// the line-select keys, time keys and interpolation, the fit of the view,
// the knob's dimming and the mouse position in view units.
#include "InstrumentPage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using KAVO::InstrumentPage;

namespace {

using Pages = InstrumentPage::Pages;

Pages run(Pages p, const std::vector<int>& commands)
{
    for (const int c : commands)
        InstrumentPage::calcPage(p, c);
    return p;
}

Pages on(int page, int ring1 = 1, int ring2 = 7, int config = 0, int unit = 0)
{
    Pages p;
    p.page = page, p.ring1 = ring1, p.ring2 = ring2, p.config = config, p.unit = unit;
    return p;
}

void expectPages(const Pages& got, const Pages& want)
{
    EXPECT_EQ(got.page, want.page);
    EXPECT_EQ(got.ring1, want.ring1);
    EXPECT_EQ(got.ring2, want.ring2);
    EXPECT_EQ(got.config, want.config);
    EXPECT_EQ(got.unit, want.unit);
}

} // namespace

TEST(InstrumentPage, PageMachineFollowsItsTable)
{
    struct Case
    {
        const char* what;
        Pages from;
        std::vector<int> commands;
        Pages want;
    };
    const Case cases[] = {
        {"a new page shows the overview", Pages(), {}, on(0)},
        {"LSK1 opens ring 1, four more reach 5", Pages(), {1, 1, 1, 1, 1}, on(5, 5)},
        {"the knob returns to 0, LSK1 back to the ring page last seen", Pages(), {1, 1, 1, 1, 1, 0, 1}, on(5, 5)},
        {"LSK1 stays on 6", on(6, 6), {1}, on(6, 6)},
        {"LSK2 from 6 goes to 5", on(6, 6), {2}, on(5, 5)},
        {"LSK2 stays on 1", on(1), {2}, on(1)},
        {"LSK2 opens ring 2 at its last page", on(0, 3, 10), {2}, on(10, 3, 10)},
        {"LSK2 stays on 7", on(7), {2}, on(7)},
        {"LSK1 stays on 12", on(12, 1, 12), {1}, on(12, 1, 12)},
        {"LSK1 on 11 steps to 12 and keeps it as ring-2 page", on(11, 1, 11), {1, 0}, on(0, 1, 12)},
        {"LSK3 does nothing inside the rings", on(4, 4, 9), {3}, on(4, 4, 9)},
        {"LSK3 inside ring 2 too", on(9, 4, 9), {3}, on(9, 4, 9)},
        {"LSK3 opens 13, again 14, again 13", Pages(), {3, 3, 3}, on(13)},
        {"selections flip and stay at their ends", Pages(), {3, 1, 1, 3, 1, 2, 2}, on(14, 1, 7, 1, 0)},
        {"the knob from 14 keeps both selections", Pages(), {3, 1, 3, 1, 0}, on(0, 1, 7, 1, 1)},
        {"LSK2 on 13 with selection 0 keeps 0", on(13), {2}, on(13)},
        {"unknown commands change nothing", on(3, 3), {4, -1}, on(3, 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        expectPages(run(c.from, c.commands), c.want);
    }
}

TEST(InstrumentPage, TimeKeysAreTenthsCountedDownWithTickNoiseOnTheTenth)
{
    const struct
    {
        double seconds;
        int key;
    } cases[] = {
        {0.0, 0}, {1.0, 10}, {1.05, 10}, {1.09999, 10}, {0.3, 3},  // 0.3 x 10 = 3.0000000000000004
        {0.29999999, 3},                                          // less than a microsecond below
        {0.2999985, 2},                                           // more than a microsecond below
        {39.69999997, 397}, {-0.05, -1}, {-0.1, -1}, {-0.15, -2}, {-1e-9, 0}, {123456.78, 1234567},
    };
    for (const auto& c : cases) {
        int key = 12345;
        ASSERT_TRUE(InstrumentPage::timeKey(c.seconds, key)) << c.seconds;
        EXPECT_EQ(key, c.key) << c.seconds;
    }
    int key = 7;
    for (const double bad : {std::nan(""), std::numeric_limits<double>::infinity(), -1e300, 1e300, 3e8}) {
        EXPECT_FALSE(InstrumentPage::timeKey(bad, key)) << bad;
        EXPECT_EQ(key, 7);
    }
}

TEST(InstrumentPage, ValuesAreInterpolatedBetweenTheKeysAroundTheTime)
{
    const std::map<int, double> values = {{10, 100.0}, {20, 200.0}, {23, 230.0}, {40, -10.0}};
    const struct
    {
        double t;
        bool written;
        double value;
    } cases[] = {
        {1.5, true, 150.0},    // the mean between 1.0 s and 2.0 s
        {0.5, true, 100.0},    // before every key: the first value
        {-1e300, true, 100.0},
        {1.0, true, 100.0},    // on a key: its value
        {2.0, true, 200.0},
        {2.15, true, 215.0},   // between keys that are not whole seconds
        {2.3, true, 230.0},    // on key 23: the pair after it, at its start
        {3.15, true, 110.0},   // from 230 at 2.3 s down to -10 at 4.0 s
        {3.99, true, 230.0 - 240.0 * 1.69 / 1.7},
        {4.0, false, 0.0},     // after the last key nothing is written
        {4.5, false, 0.0},
        {std::numeric_limits<double>::infinity(), false, 0.0},
        {std::nan(""), false, 0.0},
        {1e12, false, 0.0},
    };
    for (const auto& c : cases) {
        double value = -777.0;
        EXPECT_EQ(InstrumentPage::valueAt(values, c.t, value), c.written) << c.t;
        if (c.written)
            EXPECT_NEAR(value, c.value, 1e-9) << c.t;
        else
            EXPECT_EQ(value, -777.0) << c.t;
    }
    double value = 0.0;
    EXPECT_FALSE(InstrumentPage::valueAt({}, 1.0, value));
    // Keys before zero and far apart.
    const std::map<int, double> wide = {{-20, -2.0}, {2000000000, 2.0}};
    ASSERT_TRUE(InstrumentPage::valueAt(wide, -2.5, value));
    EXPECT_EQ(value, -2.0);
    ASSERT_TRUE(InstrumentPage::valueAt(wide, 99999999.0, value));
    EXPECT_NEAR(value, 0.0, 1e-9) << "half way from -2 s to 2e8 s";
}

TEST(InstrumentPage, FitCentresTheWholeViewAlongTheLongerSide)
{
    const struct
    {
        const char* what;
        double w, h, vw, vh;
        double scale, x, y;
    } cases[] = {
        {"three times as wide: full height, centred across", 2400, 480, 800, 480, 1.0, 800.0, 0.0},
        {"taller than the view: full width, centred down", 800, 960, 800, 480, 1.0, 0.0, 240.0},
        {"half size, same aspect", 400, 240, 800, 480, 0.5, 0.0, 0.0},
        {"wide and small", 1000, 240, 800, 480, 0.5, 300.0, 0.0},
        {"no view: scale 1, no offsets", 640, 480, 0, 0, 1.0, 0.0, 0.0},
        {"no view height", 640, 480, 800, 0, 1.0, 0.0, 0.0},
        {"a widget without size", 0, 0, 800, 480, 0.0, 0.0, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const InstrumentPage::Fit f = InstrumentPage::fit(c.w, c.h, c.vw, c.vh);
        EXPECT_DOUBLE_EQ(f.scale, c.scale);
        EXPECT_DOUBLE_EQ(f.xOffset, c.x);
        EXPECT_DOUBLE_EQ(f.yOffset, c.y);
        EXPECT_TRUE(std::isfinite(f.scale) && std::isfinite(f.xOffset) && std::isfinite(f.yOffset));
    }
}

TEST(InstrumentPage, KnobDimsWithinItsRange)
{
    EXPECT_DOUBLE_EQ(InstrumentPage::dim(1.0, -100.0, 0.0), 0.8);
    EXPECT_DOUBLE_EQ(InstrumentPage::dim(0.5, 150.0, 100.0), 0.6);
    EXPECT_DOUBLE_EQ(InstrumentPage::dim(1.0, -10000.0, 0.0), 0.1) << "far down stops at 0.1";
    EXPECT_DOUBLE_EQ(InstrumentPage::dim(0.1, 10000.0, 0.0), 1.0) << "far up stops at 1.0";
    EXPECT_DOUBLE_EQ(InstrumentPage::dim(1.0, 50.0, 0.0), 1.0);
    EXPECT_DOUBLE_EQ(InstrumentPage::dim(0.4, std::nan(""), 0.0), 0.4);
}

TEST(InstrumentPage, MousePositionsMapIntoViewUnitsWithYUp)
{
    const InstrumentPage::Fit f{0.5, 300.0, 10.0};
    float x = 0, y = 0;
    ASSERT_TRUE(InstrumentPage::toView(f, 250, 300, 240, x, y));
    EXPECT_FLOAT_EQ(x, 0.0f);
    EXPECT_FLOAT_EQ(y, 0.0f) << "the widget's bottom edge above the offset is the view's origin";
    ASSERT_TRUE(InstrumentPage::toView(f, 250, 700, 0, x, y));
    EXPECT_FLOAT_EQ(x, 800.0f);
    EXPECT_FLOAT_EQ(y, 480.0f) << "the widget's top is the view's top";
    EXPECT_FALSE(InstrumentPage::toView(InstrumentPage::Fit{0.0, 0.0, 0.0}, 0, 5, 5, x, y));
    EXPECT_FLOAT_EQ(x, 800.0f) << "unchanged";
}
