// SVG path data turned into point lists: tokens, every command absolute and
// relative, implicit repetition, curve and arc flattening, and the bounds
// that keep arbitrary text from making huge or undefined point lists.
#include "xml/Path.h"

#include "dorneLog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using dorne::Path;
using dorne::Vector2;

namespace {

typedef std::vector<std::vector<std::pair<double, double>>> Lists;

Lists toLists(const Path::Subpaths& subpaths)
{
    Lists lists;
    for (const auto& points : subpaths) {
        lists.emplace_back();
        for (const auto& p : points) {
            EXPECT_EQ(p.get(2), 1.0);
            lists.back().emplace_back(p.x(), p.y());
        }
    }
    return lists;
}

Lists parse(const std::string& text)
{
    return toLists(Path().pointsFromString(text));
}

std::string show(const Lists& lists)
{
    std::string s;
    for (const auto& l : lists) {
        s += "[";
        for (const auto& p : l)
            s += " (" + std::to_string(p.first) + ", " + std::to_string(p.second) + ")";
        s += " ]";
    }
    return s;
}

void expectNear(const Lists& actual, const Lists& expected, double tolerance = 1e-9)
{
    ASSERT_EQ(actual.size(), expected.size()) << show(actual);
    for (size_t i = 0; i < actual.size(); ++i) {
        ASSERT_EQ(actual[i].size(), expected[i].size()) << "list " << i << ": " << show(actual);
        for (size_t j = 0; j < actual[i].size(); ++j) {
            EXPECT_NEAR(actual[i][j].first, expected[i][j].first, tolerance) << i << "/" << j << show(actual);
            EXPECT_NEAR(actual[i][j].second, expected[i][j].second, tolerance) << i << "/" << j << show(actual);
        }
    }
}

// Everything the log kept since the last call.
std::string takeLog()
{
    static char buffer[16384];
    getLogMsg(buffer, sizeof buffer);
    return buffer;
}

TEST(PathData, StraightCommandsAndSubpaths)
{
    const struct
    {
        const char* text;
        Lists expected;
    } cases[] = {
        {"M 0 0 L 10 0 L 10 10 Z", {{{0, 0}, {10, 0}, {10, 10}, {0, 0}}}},
        {"M 0 0 10 0 10 10", {{{0, 0}, {10, 0}, {10, 10}}}},
        {"M0,0 L10,0 M20,20 L30,20", {{{0, 0}, {10, 0}}, {{20, 20}, {30, 20}}}},
        {"m 5 5 l 10 0 z", {{{5, 5}, {15, 5}, {5, 5}}}},
        {"M 0 0 H 10 V 10 h -10 v -10", {{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}}},
        {"M 1 2 H 5 7 V -1 h 1 1", {{{1, 2}, {5, 2}, {7, 2}, {7, -1}, {8, -1}, {9, -1}}}},
        // Repeated pairs: relative to the point the previous one left.
        {"m 1 1 2 2 3 3", {{{1, 1}, {3, 3}, {6, 6}}}},
        {"M 1 1 l 1 0 1 0 L 0 0 5 5", {{{1, 1}, {2, 1}, {3, 1}, {0, 0}, {5, 5}}}},
        // Z returns to the start of the subpath and keeps the list open;
        // numbers after it are ignored.
        {"M 1 1 L 2 2 Z 7 7 L 3 3", {{{1, 1}, {2, 2}, {1, 1}, {3, 3}}}},
        {"M 1 1 L 2 2 z m 1 0 l 0 1", {{{1, 1}, {2, 2}, {1, 1}}, {{2, 1}, {2, 2}}}},
        {"M 1 1 L 2 2 M 5 5 Z", {{{1, 1}, {2, 2}}, {{5, 5}, {5, 5}}}},
        // Numbers before the first command are ignored; nothing gives nothing.
        {"5 5 M 1 1", {{{1, 1}}}},
        {"", {}},
        {"M", {}},
        {"  , ,", {}},
        {"M M m", {}},
        // Separators: blank, comma or a command letter; not minus, tab or
        // newline. Exponents read.
        {"M 10-5 7", {{{10, 7}}}},
        {"M 1\t2 3", {{{1, 3}}}},
        {"M1e1,2E-1L3,4", {{{10, 0.2}, {3, 4}}}},
        {"M 0 0\nL 5 5", {{{0, 0}, {5, 5}}}},
        {"M,,1,,,2,", {{{1, 2}}}},
        // Unreadable and non-finite numbers read as 0.
        {"M x 3 L 1e999 nan L inf -1e400", {{{0, 3}, {0, 0}, {0, 0}}}},
        // A segment left incomplete moves nothing.
        {"M 1 1 L 5 L 2 2", {{{1, 1}, {2, 2}}}},
        {"M 1 1 l 5 m 1 1", {{{1, 1}}, {{2, 2}}}},
        {"M 1 1 c 1 2 3 4 5 l 1 0", {{{1, 1}, {2, 1}}}},
        {"M 1 1 L 3 3 4", {{{1, 1}, {3, 3}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        expectNear(parse(c.text), c.expected);
    }
}

TEST(PathData, BezierCurvesAreFlattenedByTheirChord)
{
    const double third = 1.0 / 3;
    const struct
    {
        const char* text;
        Lists expected;
    } cases[] = {
        // Chord 10: count 3; the start stands twice.
        {"M 0 0 Q 5 10 10 0", {{{0, 0}, {0, 0}, {10 * third, 40.0 / 9}, {20 * third, 40.0 / 9}, {10, 0}}}},
        // Chord 1: count 0, a straight line to the end.
        {"M 0 0 L 3 0 Q 3 1 4 0", {{{0, 0}, {3, 0}, {4, 0}}}},
        {"M 0 0 C 50 50 -50 50 3 0", {{{0, 0}, {3, 0}}}}, // control points take no part
        // Chord 15: count 4.
        {"M 0 0 C 5 10 10 10 15 0",
         {{{0, 0}, {0, 0}, {3.75, 5.625}, {7.5, 7.5}, {11.25, 5.625}, {15, 0}}}},
        {"M 0 0 c 5 10 10 10 15 0",
         {{{0, 0}, {0, 0}, {3.75, 5.625}, {7.5, 7.5}, {11.25, 5.625}, {15, 0}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        expectNear(parse(c.text), c.expected);
    }

    // Relative curves: every pair of a segment is an offset from its start.
    const struct
    {
        const char* relative;
        const char* absolute;
    } same[] = {
        {"M 10 10 c 5 10 10 10 15 0", "M 10 10 C 15 20 20 20 25 10"},
        {"M 10 10 q 5 10 10 0 5 10 10 0", "M 10 10 Q 15 20 20 10 Q 25 20 30 10"},
        {"M 1 1 C 0 10 10 10 10 0 20 -10 20 0 25 0", "M 1 1 C 0 10 10 10 10 0 C 20 -10 20 0 25 0"},
        // S: the reflection of the previous second control point, after C or S.
        {"M 0 0 C 0 10 10 10 10 0 S 20 -10 20 0", "M 0 0 C 0 10 10 10 10 0 C 10 -10 20 -10 20 0"},
        {"M 0 0 C 0 10 10 10 10 0 s 10 -10 10 0 s 10 10 10 0",
         "M 0 0 C 0 10 10 10 10 0 C 10 -10 20 -10 20 0 C 20 10 30 10 30 0"},
        // ... and the segment start otherwise.
        {"M 0 0 L 10 0 S 20 -10 20 0", "M 0 0 L 10 0 C 10 0 20 -10 20 0"},
        {"M 0 0 Q 5 10 10 0 S 20 -10 20 0", "M 0 0 Q 5 10 10 0 C 10 0 20 -10 20 0"},
        // T: the reflection of the previous control point, after Q or T.
        {"M 0 0 Q 5 10 10 0 T 20 0", "M 0 0 Q 5 10 10 0 Q 15 -10 20 0"},
        {"M 0 0 Q 5 10 10 0 T 20 0 t 10 0", "M 0 0 Q 5 10 10 0 Q 15 -10 20 0 Q 25 10 30 0"},
        {"M 0 0 Q 5 10 10 0 T 20 0 30 0", "M 0 0 Q 5 10 10 0 Q 15 -10 20 0 Q 25 10 30 0"},
        {"M 0 0 T 10 0", "M 0 0 Q 0 0 10 0"},
        {"M 0 0 C 0 10 10 10 10 0 T 20 0", "M 0 0 C 0 10 10 10 10 0 Q 10 0 20 0"},
        // An incomplete S between does not count as the previous segment.
        {"M 0 0 C 0 10 10 10 10 0 S 1 2 S 20 -10 20 0", "M 0 0 C 0 10 10 10 10 0 C 10 -10 20 -10 20 0"},
    };
    for (const auto& c : same) {
        SCOPED_TRACE(c.relative);
        expectNear(parse(c.relative), parse(c.absolute));
    }

    const Path path;
    const Vector2<double> p0(0, 0), p1(5, 10), p2(10, 0), p3(20, 5);
    Vector2<double> weighted(1, 1);
    weighted.set(2, 4);
    const Vector2<double> q = path.getQuadraticBezier(0.5, p0, weighted, p2);
    EXPECT_DOUBLE_EQ(q.x(), 3.0); // w of the control point takes no part
    EXPECT_DOUBLE_EQ(q.y(), 0.5);
    EXPECT_EQ(q.get(2), 1.0);
    const Vector2<double> c = path.getCubicBezier(0.25, p0, p1, p2, p3);
    EXPECT_DOUBLE_EQ(c.x(), 27.0 / 64 * 0 + 27.0 / 64 * 5 + 9.0 / 64 * 10 + 1.0 / 64 * 20);
    EXPECT_DOUBLE_EQ(c.y(), 27.0 / 64 * 10 + 1.0 / 64 * 5);
    EXPECT_EQ(c.get(2), 1.0);
    EXPECT_DOUBLE_EQ(path.getCubicBezier(1, p0, p1, p2, p3).x(), 20);
}

TEST(PathData, ArcsAreFlattenedInto51Points)
{
    const Lists up = parse("M 0 0 A 10 10 0 0 1 20 0");
    ASSERT_EQ(up.size(), 1u);
    ASSERT_EQ(up[0].size(), 52u); // the M point and 51 of the arc
    expectNear({{up[0][1], up[0][26], up[0][51]}}, {{{0, 0}, {10, -10}, {20, 0}}}, 1e-6);
    for (size_t i = 1; i < up[0].size(); ++i) // on the circle around (10, 0)
        EXPECT_NEAR(std::hypot(up[0][i].first - 10, up[0][i].second), 10, 1e-6) << i;

    const Lists down = parse("M 0 0 A 10 10 0 0 0 20 0");
    ASSERT_EQ(down[0].size(), 52u);
    expectNear({{down[0][1], down[0][26], down[0][51]}}, {{{0, 0}, {10, 10}, {20, 0}}}, 1e-6);

    const struct
    {
        const char* text;
        const char* same;
    } cases[] = {
        // Radii too small for the chord grow to fit it.
        {"M 0 0 A 1 1 0 0 1 20 0", "M 0 0 A 10 10 0 0 1 20 0"},
        // Negative radii count as positive; relative end points.
        {"M 0 0 A -10 -10 0 0 1 20 0", "M 0 0 A 10 10 0 0 1 20 0"},
        {"M 5 5 a 10 10 0 0 1 20 0", "M 5 5 A 10 10 0 0 1 25 5"},
        // Flags read with base 0: hexadecimal and octal.
        {"M 0 0 A 10 10 0 0 0x1 20 0", "M 0 0 A 10 10 0 0 1 20 0"},
        {"M 0 0 A 10 10 0 0 010 20 0", "M 0 0 A 10 10 0 0 1 20 0"},
        {"M 0 0 A 10 10 0 0 0x0 20 0", "M 0 0 A 10 10 0 0 0 20 0"},
        // Repetition: the second arc starts where the first ended.
        {"M 0 0 A 10 10 0 0 1 20 0 10 10 0 0 1 40 0",
         "M 0 0 A 10 10 0 0 1 20 0 A 10 10 0 0 1 40 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        expectNear(parse(c.text), parse(c.same), 1e-9);
    }
    EXPECT_EQ(parse("M 0 0 A 10 10 0 0 1 20 0 10 10 0 0 1 40 0")[0].size(), 103u);

    // An ellipse wider than the chord: the flags pick one of two centres,
    // (10, -h) or (10, h), and the large or the small arc around it.
    const double h = 10 * std::sqrt(0.75);
    const struct
    {
        const char* text;
        double cy, middleY;
    } flags[] = {
        {"M 0 0 A 20 10 0 1 1 20 0", -h, -h - 10}, // large, sweep
        {"M 0 0 A 20 10 0 0 1 20 0", h, h - 10},   // small, sweep
        {"M 0 0 A 20 10 0 1 0 20 0", h, h + 10},   // large
        {"M 0 0 A 20 10 0 0 0 20 0", -h, -h + 10}, // small
    };
    for (const auto& f : flags) {
        SCOPED_TRACE(f.text);
        const Lists arc = parse(f.text);
        ASSERT_EQ(arc[0].size(), 52u);
        for (size_t i = 1; i < arc[0].size(); ++i) {
            const double x = arc[0][i].first - 10, y = arc[0][i].second - f.cy;
            EXPECT_NEAR(x * x / 400 + y * y / 100, 1, 1e-6) << i;
        }
        EXPECT_NEAR(arc[0][26].first, 10, 1e-6);
        EXPECT_NEAR(arc[0][26].second, f.middleY, 1e-6);
        EXPECT_NEAR(arc[0][51].first, 20, 1e-6);
        EXPECT_NEAR(arc[0][51].second, 0, 1e-6);
    }

    // A rotation of 90 degrees turns the x radius along y: centre
    // (-h, 10), the middle of the arc at (10 - h, 10).
    const Lists turned = parse("M 0 0 A 20 10 90 0 1 0 20");
    ASSERT_EQ(turned[0].size(), 52u);
    EXPECT_NEAR(turned[0][26].first, 10 - h, 1e-5);
    EXPECT_NEAR(turned[0][26].second, 10, 1e-5);
    EXPECT_NEAR(turned[0][51].first, 0, 1e-5);
    EXPECT_NEAR(turned[0][51].second, 20, 1e-5);
}

TEST(PathData, DegenerateArcs)
{
    const struct
    {
        const char* text;
        Lists expected;
    } cases[] = {
        // A radius below 0.01: the chord alone.
        {"M 0 0 A 0 5 0 0 0 20 0", {{{0, 0}, {0, 0}, {20, 0}}}},
        {"M 0 0 A 5 -0.0099 0 0 0 20 0", {{{0, 0}, {0, 0}, {20, 0}}}},
        // An arc ending where it starts adds nothing.
        {"M 5 5 A 10 10 0 0 1 5 5 L 6 5", {{{5, 5}, {6, 5}}}},
        {"M 5 5 a 10 10 0 1 0 0 0", {{{5, 5}}}},
        // Radii overflowing the double range: the chord, never NaN.
        {"M 0 0 A 1e300 1e300 0 0 1 20 0", {{{0, 0}, {0, 0}, {20, 0}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        expectNear(parse(c.text), c.expected);
    }

    const Path path;
    EXPECT_TRUE(path.getEllipse(10, 10, 0, false, true, Vector2<double>(3, 4), Vector2<double>(3, 4)).empty());
    const Path::Points far =
        path.getEllipse(1e200, 1e200, 30, true, false, Vector2<double>(-1e300, 0), Vector2<double>(1e300, 1e300));
    for (const auto& p : far) {
        EXPECT_TRUE(std::isfinite(p.x()));
        EXPECT_TRUE(std::isfinite(p.y()));
    }
    EXPECT_FALSE(far.empty());
}

TEST(PathData, PointBoundsPerCurveAndPerPath)
{
    setLogLevel(2);
    takeLog();
    // A curve of a huge chord gives 1,000 points, still ending at its end.
    const Lists huge = parse("M 0 0 L 1 0 Q 5 1e6 1e7 0 L 0 1");
    ASSERT_EQ(huge.size(), 1u);
    ASSERT_EQ(huge[0].size(), 2u + 1000u + 1u); // M, L, the curve, L
    EXPECT_EQ(huge[0][2], std::make_pair(1.0, 0.0)); // t = 0
    EXPECT_EQ(huge[0][1001], std::make_pair(1e7, 0.0));
    EXPECT_EQ(huge[0][1002], std::make_pair(0.0, 1.0));
    EXPECT_NE(takeLog().find("Path: curve segment cut to 1000 points"), std::string::npos);
    // Chord 3331: count 999, 1,000 points without a cut.
    const Lists edge = parse("M 0 0 C 1 1 2 2 3331 0");
    ASSERT_EQ(edge[0].size(), 1u + 1000u);
    EXPECT_EQ(takeLog(), "");

    // A path stops at 1,000,000 points; later subpaths are dropped too.
    std::string text = "M 0 0";
    for (int i = 0; i < 1001; ++i)
        text += i % 2 ? " Q 1 1 0 0" : " Q 1 1 3400 0";
    text += " M 1 1 L 2 2";
    const Path::Subpaths cut = Path().pointsFromString(text);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].size(), 1000000u);
    const std::string log = takeLog();
    setLogLevel(1);
    EXPECT_NE(log.find("Path: more than 1000000 points, the rest dropped"), std::string::npos);
}

TEST(PathData, TraceLinesGoToTheLogAtLevel3)
{
    takeLog();
    testing::internal::CaptureStdout();
    parse("M 0 0 T 10 0 A 10 10 0 0 1 30 0");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(takeLog(), "");

    setLogLevel(3);
    testing::internal::CaptureStdout();
    parse("M 0 0 T 10,0 A 10 10 0 0 1 30 0");
    const std::string printed = testing::internal::GetCapturedStdout();
    setLogLevel(1);
    const std::string log = takeLog();
    EXPECT_EQ(printed, log);
    EXPECT_EQ(log.substr(0, 30), "Token <M>\nToken <0>\nToken <0>\n");
    for (const char* line :
         {"Token <T>\nToken <10>\nToken <0>\np0 0.000000 0.000000\np1 0.000000 0.000000\n"
          "p2 10.000000 0.000000\nnr 3\nToken <A>\n",
          "x1i -10.000000 y1i 0.000000\nr 1.000000\nrx 10.000000 ry 10.000000\nc1 0.000000 c2 0.000000\n"
          "cx 20.000000 cy 0.000000\n11 dtheta -1.000000\nTheta1 180.000000 dtheta 180.000000\n"})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\nin\n" << log;
}

TEST(PathData, CommandLetters)
{
    const Path path;
    for (const char c : std::string("MmZzLlHhVvCcSsQqTtAa"))
        EXPECT_TRUE(path.isCommand(std::string(1, c))) << c;
    for (const char* text : {"", "MM", " M", "e", "E", "x", "B", "0", "-", "m "})
        EXPECT_FALSE(path.isCommand(text)) << text;
}

} // namespace
