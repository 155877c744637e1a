// The class facade end to end on view files written by saveFile: load and
// sizes, the variables before a start, after it and after a stop, every
// value conversion of getVar and setVar, texts that read back alike through
// the flat functions and the facade, picking by point over a group and
// its child, mouse events before the first draw, a failed load, a facade
// without a view, and the facade used from a second thread while the data
// thread runs.
#include "leakCheck.h"
#include "nalvoViewSupport.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>
#include <optional>

using namespace facadetest;
using Nalvo2D::NalvoView;

namespace {

class Facade : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(folder.path.empty());
        path = folder.file("facade.v");
        ASSERT_TRUE(writeFacadeView(path));
    }

    Folder folder;
    std::string path;
};

TEST_F(Facade, WithoutAViewEveryMethodDoesNothing)
{
    NalvoView facade;
    std::string name = "untouched";
    double d = 9;
    long l = 9;
    std::string text = "untouched";
    EXPECT_FALSE(facade.draw(false));
    EXPECT_FALSE(facade.draw(true));
    EXPECT_FALSE(facade.startView(false));
    EXPECT_FALSE(facade.startView(true));
    EXPECT_TRUE(facade.stopView());
    EXPECT_EQ(facade.width(), 0.0);
    EXPECT_EQ(facade.height(), 0.0);
    EXPECT_EQ(facade.xPos(), -1.0);
    EXPECT_EQ(facade.yPos(), -1.0);
    EXPECT_FALSE(facade.getObject(60, 60, name));
    EXPECT_EQ(name, "untouched");
    EXPECT_FALSE(facade.getVar("f", d));
    EXPECT_FALSE(facade.getVar("f", l));
    EXPECT_FALSE(facade.getVar("f", text));
    EXPECT_FALSE(facade.setVar("f", 1.0));
    EXPECT_FALSE(facade.setVar("f", 1L));
    EXPECT_FALSE(facade.setVar("f", std::string("1")));
    EXPECT_EQ(d, 9);
    EXPECT_EQ(l, 9);
    EXPECT_EQ(text, "untouched");
    facade.setEvent(Nalvo2D::MOUSE_LEFT, Nalvo2D::EVENT_PRESS, 20, 30);
    facade.setZoom(2);
    facade.setPosition(1, 2);
    facade.setScissorType(Nalvo2D::SCISSOR_BOX);
    facade.setUseLineScaling(true);
    facade.setUseDepthBuffer(true);
    facade.setBackgroundMode(false);
    facade.setColor(1, 1, 1, 1);
    facade.setRenderMode(Nalvo2D::RENDER_TEXTURE);
    facade.setProfile(true);
    EXPECT_FALSE(facade.draw(false));
}

TEST_F(Facade, LoadSizesAndVariablesAcrossTheLifecycle)
{
    {
        NalvoView facade;
        ASSERT_TRUE(facade.load(path));
        EXPECT_EQ(facade.width(), 201.0) << "the integer size";
        EXPECT_EQ(facade.height(), 100.0);
        EXPECT_EQ(facade.xPos(), 110.0) << "10 + 201.7 / 2, truncated";
        EXPECT_EQ(facade.yPos(), 70.0);

        double d = -1;
        EXPECT_FALSE(facade.getVar("f", d)) << "before the start";
        EXPECT_FALSE(facade.setVar("f", 3.0));
        EXPECT_EQ(d, -1);

        ASSERT_TRUE(facade.startView(false));
        EXPECT_TRUE(facade.getVar("f", d));
        EXPECT_EQ(d, 1.5) << "the default written at the start";
        long l = 0;
        EXPECT_TRUE(facade.getVar("i", l));
        EXPECT_EQ(l, -7);
        std::string text;
        EXPECT_TRUE(facade.getVar("t", text));
        EXPECT_EQ(text, "hello");
        EXPECT_FALSE(facade.getVar("nothing", d));
        EXPECT_FALSE(facade.getVar(std::string("f\0x", 3), d)) << "a name with a zero inside";
        EXPECT_FALSE(facade.startView(false)) << "a started view does not start again";
        EXPECT_FALSE(facade.getVar("f", d)) << "the failed start cleared the started flag";

        EXPECT_TRUE(facade.stopView());
        EXPECT_FALSE(facade.getVar("f", d)) << "after the stop";
        EXPECT_FALSE(facade.setVar("f", 1.0));

        // Animated: the data thread fills the constant and the calculator.
        ASSERT_TRUE(facade.startView(true));
        EXPECT_TRUE(eventually([&] { return facade.getVar("calc", d) && d == 84.0; })) << d;
        EXPECT_TRUE(facade.getVar("k", l));
        EXPECT_EQ(l, 42);
        EXPECT_TRUE(facade.setVar("f", 2.5));
        EXPECT_TRUE(facade.getVar("f", d));
        EXPECT_EQ(d, 2.5);
        EXPECT_TRUE(facade.stopView());
        EXPECT_FALSE(facade.getVar("calc", d));
        EXPECT_TRUE(facade.stopView()) << "whatever happened";

        // A new load keeps the started flag, but the new view's table is
        // empty until it is started.
        ASSERT_TRUE(facade.startView(false));
        ASSERT_TRUE(facade.load(path));
        EXPECT_FALSE(facade.getVar("f", d));
        ASSERT_TRUE(facade.startView(true));
        EXPECT_TRUE(facade.getVar("f", d));
        // The destructor frees a running view.
    }
    expectNoLeaks();
}

TEST_F(Facade, AFailedLoadLeavesNoView)
{
    NalvoView facade;
    ASSERT_TRUE(facade.load(path));
    ASSERT_TRUE(facade.startView(false));
    EXPECT_FALSE(facade.load(folder.file("missing.v")));
    EXPECT_EQ(facade.width(), 0.0) << "the old view is freed";
    EXPECT_FALSE(facade.draw(false));
    double d = 0;
    EXPECT_FALSE(facade.getVar("f", d));
    EXPECT_FALSE(facade.startView(false));
    EXPECT_FALSE(facade.load(path + std::string("\0.v", 3))) << "a path with a zero inside";
    EXPECT_FALSE(facade.load(folder.path)) << "a folder";
    EXPECT_FALSE(facade.load(""));
    ASSERT_TRUE(facade.load(path));
    EXPECT_EQ(facade.width(), 201.0);
}

TEST_F(Facade, GetObjectNamesTheTopmostElementUnderThePoint)
{
    NalvoView facade;
    ASSERT_TRUE(facade.load(path));
    const struct
    {
        double x, y;
        const char* name; // null: nothing there
    } cases[] = {
        {60, 60, "group"}, // the group comes after its child
        {50.9, 70.9, "group"},
        {20, 30, "button"},
        {10, 20, "button"},
        {150, 90, nullptr},
        {49.9, 60, nullptr}, // truncated to 49: left of the child's box
        {std::nan(""), 60, nullptr},
        {60, std::numeric_limits<double>::infinity(), nullptr},
        {1e12, 60, nullptr},
        {-1e12, 60, nullptr},
    };
    for (const auto& c : cases) {
        std::string name = "untouched";
        const bool found = facade.getObject(c.x, c.y, name);
        EXPECT_EQ(found, c.name != nullptr) << c.x << ", " << c.y;
        EXPECT_EQ(name, c.name != nullptr ? c.name : "untouched") << c.x << ", " << c.y;
    }
    // Started or not, the stored boxes decide.
    ASSERT_TRUE(facade.startView(true));
    std::string name;
    EXPECT_TRUE(facade.getObject(69.99, 50, name));
    EXPECT_EQ(name, "group");
}

// A view loaded and started but never drawn: a left press and release go
// to the rectangle where it is stored (40..60 x 90..110), none to the
// origin; its press adds 1 to pl.
TEST_F(Facade, EventsBeforeTheFirstDrawGoWhereTheBoxesAre)
{
    ViewDraft draft(0, 0, 200, 200);
    ViewDraft::variable(draft.source(5, 0, 0), "pl", DD_INT);
    ACTION_STRUCT* press = addAction(draft.add(filledRect(40, 90, 60, 110, 1, 0, 0)), 22, "pl");
    press->mouseMode = 1;
    press->mouseInc = 1;
    press->mouseMax = 1000;
    press->mouseClamp = 1;
    const std::string file = folder.file("events.v");
    ASSERT_TRUE(draft.save(file));
    NalvoView facade;
    ASSERT_TRUE(facade.load(file));
    ASSERT_TRUE(facade.startView(false));
    const struct
    {
        float x, y;
        long pl; // after the press and release
    } cases[] = {{0, 0, 0}, {50, 100, 1}, {0, 0, 1}, {59.5f, 109.5f, 2}, {61, 100, 2}, {50, 89, 2}};
    for (const auto& c : cases) {
        facade.setEvent(Nalvo2D::MOUSE_LEFT, Nalvo2D::EVENT_PRESS, c.x, c.y);
        facade.setEvent(Nalvo2D::MOUSE_LEFT, Nalvo2D::EVENT_RELEASE, c.x, c.y);
        long pl = -1;
        EXPECT_TRUE(facade.getVar("pl", pl));
        EXPECT_EQ(pl, c.pl) << c.x << ", " << c.y;
    }
}

// One conversion: a setter and what the three getters read back afterwards
// (an empty optional: not checked).
struct Conversion
{
    const char* what;
    const char* variable;
    std::function<bool(NalvoView&)> set;
    std::optional<std::string> text;
    std::optional<long> asLong;
    std::optional<double> asDouble;
};

std::function<bool(NalvoView&)> setD(const char* var, double v)
{
    return [=](NalvoView& f) { return f.setVar(var, v); };
}
std::function<bool(NalvoView&)> setL(const char* var, long v)
{
    return [=](NalvoView& f) { return f.setVar(var, v); };
}
std::function<bool(NalvoView&)> setT(const char* var, const std::string& v)
{
    return [=](NalvoView& f) { return f.setVar(var, v); };
}

TEST_F(Facade, EveryConversionOfSetVarAndGetVar)
{
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    char fltMax[64];
    std::snprintf(fltMax, sizeof fltMax, "%f", double(FLT_MAX));
    const std::string long300(300, 'x');
    const Conversion table[] = {
        // float (type 0)
        {"double 3.9 as float", "f", setD("f", 3.9), "3.900000", 3, double(3.9f)},
        {"double beyond the float range", "f", setD("f", 1e300), fltMax, std::nullopt, double(FLT_MAX)},
        {"minus double beyond the float range", "f", setD("f", -1e300), "-" + std::string(fltMax), std::nullopt,
         -double(FLT_MAX)},
        {"infinity clamped", "f", setD("f", inf), fltMax, std::nullopt, double(FLT_MAX)},
        {"float -2.7 read as long", "f", setD("f", -2.7), "-2.700000", -2, double(-2.7f)},
        {"NaN float read as long", "f", setD("f", nan), std::nullopt, 0, std::nullopt},
        {"LONG_MAX rounds to 2^63 as float: held at LONG_MAX", "f", setL("f", LONG_MAX), std::nullopt, LONG_MAX,
         9223372036854775808.0},
        {"long as float", "f", setL("f", 16777217L), "16777216.000000", 16777216, 16777216.0},
        {"text as float", "f", setT("f", "2.5e3"), "2500.000000", 2500, 2500.0},
        {"huge text as float", "f", setT("f", "1e999"), fltMax, std::nullopt, double(FLT_MAX)},
        // double (type 1): double precision from every setter
        {"double 0.1", "d", setD("d", 0.1), "0.100000", 0, 0.1},
        {"long at double precision", "d", setL("d", 123456789012345L), "123456789012345.000000",
         123456789012345L, 123456789012345.0},
        {"text at double precision", "d", setT("d", "0.1"), "0.100000", 0, 0.1},
        {"double 1e300 read as long", "d", setD("d", 1e300), std::nullopt, LONG_MAX, 1e300},
        {"double -9.99 read as long", "d", setD("d", -9.99), "-9.990000", -9, -9.99},
        // signed and unsigned 8-bit (types 2, 3)
        {"-5 signed 8-bit", "c", setL("c", -5), "-5", -5, -5.0},
        {"300 unsigned 8-bit", "uc", setL("uc", 300), "44", 44, 44.0},
        {"text 300 unsigned 8-bit", "uc", setT("uc", "300"), "44", 44, 44.0},
        {"double 300.7 unsigned 8-bit", "uc", setD("uc", 300.7), "44", 44, 44.0},
        {"-1 unsigned 8-bit", "uc", setL("uc", -1), "255", 255, 255.0},
        {"200 signed 8-bit", "c", setD("c", 200), "-56", -56, -56.0},
        // 16-bit (types 4, 5)
        {"double 3.9 into 16-bit", "s", setD("s", 3.9), "3", 3, 3.0},
        {"70000 unsigned 16-bit", "us", setL("us", 70000), "4464", 4464, 4464.0},
        {"-1 unsigned 16-bit", "us", setT("us", "-1"), "65535", 65535, 65535.0},
        {"-40000 signed 16-bit", "s", setD("s", -40000), "25536", 25536, 25536.0},
        // 32-bit (types 6, 7)
        {"text 3.7 into 32-bit", "i", setT("i", "3.7"), "3", 3, 3.0},
        {"text that is no number", "i", setT("i", "abc"), "0", 0, 0.0},
        {"double out of the int range", "i", setD("i", 1e10), "-2147483648", INT_MIN, double(INT_MIN)},
        {"NaN into 32-bit", "i", setD("i", nan), "-2147483648", INT_MIN, double(INT_MIN)},
        {"minus infinity into 32-bit", "i", setD("i", -inf), "-2147483648", INT_MIN, double(INT_MIN)},
        {"overflowing text keeps the low bits of INT64_MAX", "i", setT("i", "99999999999999999999"), "-1", -1,
         -1.0},
        {"long low 32 bits", "i", setL("i", 0x123456789L), "591751049", 0x23456789, double(0x23456789)},
        {"unsigned 32-bit prints unsigned", "ui", setL("ui", 4294967295L), "4294967295", 4294967295L,
         4294967295.0},
        {"double -1 into unsigned 32-bit", "ui", setD("ui", -1.0), "4294967295", 4294967295L, 4294967295.0},
        {"double beyond int32 into unsigned 32-bit", "ui", setD("ui", 3e9), "2147483648", 2147483648L,
         2147483648.0},
        // 64-bit (types 8, 9): all 64 bits
        {"long 64 bits", "l", setL("l", 0x123456789ABCL), "20015998343868", 0x123456789ABCL,
         double(0x123456789ABCL)},
        {"double 2.5e18", "l", setD("l", 2.5e18), "2500000000000000000", 2500000000000000000L, 2.5e18},
        {"double beyond int64", "l", setD("l", 1e19), "9223372036854775807", LONG_MAX, 9223372036854775807.0},
        {"NaN into 64-bit", "l", setD("l", nan), "0", 0, 0.0},
        {"saturated text", "l", setT("l", "99999999999999999999"), "9223372036854775807", LONG_MAX,
         9223372036854775807.0},
        {"negative text", "l", setT("l", "-5000000000"), "-5000000000", -5000000000L, -5e9},
        {"unsigned 64-bit prints unsigned", "ul", setL("ul", -1), "18446744073709551615", -1,
         18446744073709551615.0},
        {"double -1.5 into unsigned 64-bit", "ul", setD("ul", -1.5), "18446744073709551615", -1,
         18446744073709551615.0},
        {"2^63 into unsigned 64-bit", "ul", setD("ul", 9223372036854775808.0), "9223372036854775808", LONG_MIN,
         9223372036854775808.0},
        {"largest double below 2^64 into unsigned 64-bit", "ul", setD("ul", 18446744073709549568.0),
         "18446744073709549568", -2048, 18446744073709549568.0},
        {"2^64 held at 2^64 - 1", "ul", setD("ul", 18446744073709551616.0), "18446744073709551615", -1,
         18446744073709551615.0},
        {"infinity into unsigned 64-bit", "ul", setD("ul", inf), "18446744073709551615", -1, 18446744073709551615.0},
        {"minus infinity into unsigned 64-bit", "ul", setD("ul", -inf), "9223372036854775808", LONG_MIN,
         9223372036854775808.0},
        {"NaN into unsigned 64-bit", "ul", setD("ul", nan), "0", 0, 0.0},
        // text (type 10)
        {"text", "t", setT("t", "abc"), "abc", std::nullopt, std::nullopt},
        {"300 characters cut to 254", "t", setT("t", long300), long300.substr(0, 254), std::nullopt, std::nullopt},
        {"254 characters whole", "t", setT("t", long300.substr(0, 254)), long300.substr(0, 254), std::nullopt,
         std::nullopt},
        {"text with a zero inside", "t", setT("t", std::string("ab\0cd", 5)), "ab", std::nullopt, std::nullopt},
        {"a double stores nothing", "t", setD("t", 3.9), "ab", std::nullopt, std::nullopt},
        {"a long stores nothing", "t", setL("t", 5), "ab", std::nullopt, std::nullopt},
    };

    NalvoView facade;
    ASSERT_TRUE(facade.load(path));
    ASSERT_TRUE(facade.startView(false));
    for (const Conversion& c : table) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(c.set(facade));
        std::string text = "untouched";
        long asLong = 77;
        double asDouble = 77;
        EXPECT_TRUE(facade.getVar(c.variable, text));
        EXPECT_TRUE(facade.getVar(c.variable, asLong));
        EXPECT_TRUE(facade.getVar(c.variable, asDouble));
        if (c.text) {
            EXPECT_EQ(text, *c.text);
        }
        if (c.asLong) {
            EXPECT_EQ(asLong, *c.asLong);
        }
        if (c.asDouble) {
            EXPECT_EQ(asDouble, *c.asDouble);
        }
        if (std::string(c.variable) == "t") {
            EXPECT_EQ(asLong, 77) << "a text leaves a number untouched";
            EXPECT_EQ(asDouble, 77);
        }
    }
    // A text variable holds at most what its storage holds.
    EXPECT_TRUE(facade.setVar("t", std::string(1000, 'y')));
    std::string text;
    EXPECT_TRUE(facade.getVar("t", text));
    EXPECT_EQ(text, std::string(254, 'y'));
    // Unknown names change nothing and return false.
    EXPECT_FALSE(facade.setVar("nothing", 1.0));
    EXPECT_FALSE(facade.setVar("nothing", 1L));
    EXPECT_FALSE(facade.setVar("nothing", std::string("1")));
    EXPECT_FALSE(facade.setVar(std::string("i\0", 2), 1L));
}

// A text goes in through vdVarSetStr and through the facade's text setter,
// and both getters print the same; what they print reads back unchanged.
TEST_F(Facade, TextsOfEveryTypeReadBackAlikeThroughBothInterfaces)
{
    char fltMax[64];
    std::snprintf(fltMax, sizeof fltMax, "%f", double(FLT_MAX));
    const struct
    {
        const char* variable;
        const char* in;
        std::string out;
    } table[] = {
        {"ul", "18446744073709551615", "18446744073709551615"}, // 2^64 - 1
        {"ul", "9223372036854775808", "9223372036854775808"},   // 2^63
        {"ul", "18446744073709551616", "18446744073709551615"}, // beyond: the nearest end
        {"ul", "-1", "18446744073709551615"},                   // a negative text wraps
        {"ul", "-99999999999999999999", "9223372036854775808"}, // held at -2^63 first
        {"l", "9223372036854775808", "9223372036854775807"},
        {"l", "-9223372036854775808", "-9223372036854775808"},
        {"ui", "-1", "4294967295"},
        {"ui", "4294967295", "4294967295"},
        {"us", "-2", "65534"},
        {"uc", "-1", "255"},
        {"c", "200", "-56"},
        {"i", "nan", "0"},
        {"f", "nan", "nan"},
        {"f", "inf", fltMax},
        {"f", "-1e39", "-" + std::string(fltMax)},
        {"d", "-inf", "-inf"},
        {"d", "nan", "nan"},
    };
    vdView_Struct* flat = vdViewLoad(path.c_str());
    ASSERT_NE(flat, nullptr);
    ASSERT_EQ(vdViewStart(flat), 0);
    NalvoView facade;
    ASSERT_TRUE(facade.load(path));
    ASSERT_TRUE(facade.startView(false));
    for (const auto& c : table) {
        SCOPED_TRACE(std::string(c.variable) + " <- " + c.in);
        std::string text = c.in;
        for (int round = 0; round < 2; ++round) { // then what was printed
            char out[256] = "untouched";
            EXPECT_EQ(vdVarSetStr(flat, c.variable, text.c_str()), 1);
            EXPECT_EQ(vdVarGetStr(flat, c.variable, out), 0);
            EXPECT_EQ(out, c.out);
            std::string viaFacade;
            EXPECT_TRUE(facade.setVar(c.variable, text));
            EXPECT_TRUE(facade.getVar(c.variable, viaFacade));
            EXPECT_EQ(viaFacade, c.out);
            text = out;
        }
    }
    EXPECT_EQ(vdViewFree(flat), 0);
}

TEST_F(Facade, UsedFromAnotherThreadWhileTheDataThreadRuns)
{
    useFromAnotherThread(path);
}

} // namespace
