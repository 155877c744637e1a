// The six built-in source kinds: their registry lines and declarations, and
// the values of the constant, internal and test-signal sources.
#include "dataSourceSupport.h"
#include "sources/sourceAuto.h"

#include "dornePlatform.h"

#include <gtest/gtest.h>
#include <chrono>

#include <cmath>
#include <ctime>
#include <regex>
#include <string>
#include <vector>

using namespace support;

namespace {

std::vector<std::string> describe(const DD_OPTION_STRUCT* options, int count)
{
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        std::string line = std::to_string(options[i].kind) + " " + options[i].label + " " +
                           std::to_string(options[i].flags) + ":";
        for (int c = 0; c < options[i].choiceCount; ++c)
            line += std::string(c ? "|" : "") + options[i].choices[c];
        lines.push_back(line);
    }
    return lines;
}

// Which entry points a kind provides, in the order of the module contract:
// Open Close Run PostRun Get Set StartView StartViewAll and the four hooks.
std::string provided(const DD_DATA_TYPE_STRUCT* s)
{
    const void* points[] = {reinterpret_cast<void*>(s->fnOpen),        reinterpret_cast<void*>(s->fnClose),
                            reinterpret_cast<void*>(s->fnRun),         reinterpret_cast<void*>(s->fnPostRun),
                            reinterpret_cast<void*>(s->fnGet),         reinterpret_cast<void*>(s->fnSet),
                            reinterpret_cast<void*>(s->fnStartView),   reinterpret_cast<void*>(s->fnStartViewAll),
                            reinterpret_cast<void*>(s->fnNewData),     reinterpret_cast<void*>(s->fnNewVariable),
                            reinterpret_cast<void*>(s->fnCallbackData), reinterpret_cast<void*>(s->fnCallbackVar)};
    std::string text;
    for (const void* p : points)
        text += p != nullptr ? 'y' : '-';
    return text;
}

TEST(Builtins, RegisteredInOrderWithTheirDeclarations)
{
    const struct
    {
        int type;
        const char* name;
        std::vector<std::string> dataOptions;
        std::vector<std::string> varOptions;
        const char* entryPoints;
    } expected[] = {
        {1,
         "Auto Data",
         {},
         {"1 TYPE 0:SIN|SIN Increase|SIN Half Wave|SIN Random|TRIANGLE|SAW 1|SAW 2|RECTANGLE|RANDOM|FREQUENCY|DATE|TIME",
          "1 FREQUENCY 0:0.01 Hz|0.02 Hz|0.05 Hz|0.10 Hz|0.20 Hz|0.50 Hz|1.00 Hz|2.00 Hz|5.00 Hz|10.0 Hz", "0 MIN 0:",
          "0 MAX 0:"},
         "yyy-y-y-yyyy"},
        {2, "Constant Data", {}, {"0 VALUE 0:"}, "yyy-y-y-yyyy"},
        {3,
         "SHM DATA",
         {"0 SHM KEY (Hex) 0:", "1 ENDIAN 0:Big Endian|Little Endian",
          "1 AUTO-LOAD 0:Auto Load NSHM off|Auto Load NSHM on", "2 LOAD NSHM 0:Load"},
         {"0 OFFSET 0:"},
         "yyy-yyy-yyyy"},
        {4,
         "UDP Socket Data",
         {"0 PORT 0:", "0 SIZE 0:", "1 ENDIAN 0:Big Endian|Little Endian"},
         {"0 OFFSET 0:"},
         "yyy-yyy-yyyy"},
        {5, "Internal Data", {}, {}, "yyy-yyy-yyyy"},
        {6, "Calculator", {}, {"3   Y = 0:", "0 OUTPUT 0:"}, "yyy-yyyyyyyy"},
    };

    LogCapture log;
    DD_DATA_TYPE_STRUCT* registry = nullptr;
    EXPECT_EQ(vdiLoadStaticDataSources(&registry), 0);
    EXPECT_EQ(log.take(), "Nalvo Static Data Source: <type=1> Auto Data \n"
                          "Nalvo Static Data Source: <type=2> Constant Data \n"
                          "Nalvo Static Data Source: <type=3> SHM DATA \n"
                          "Nalvo Static Data Source: <type=4> UDP Socket Data \n"
                          "Nalvo Static Data Source: <type=5> Internal Data \n"
                          "Nalvo Static Data Source: <type=6> Calculator \n");
    const DD_DATA_TYPE_STRUCT* s = registry;
    for (const auto& e : expected) {
        ASSERT_NE(s, nullptr);
        SCOPED_TRACE(e.name);
        EXPECT_EQ(s->type, e.type);
        EXPECT_STREQ(s->name, e.name);
        EXPECT_EQ(s->symbolMode, 0);
        EXPECT_EQ(s->isStatic, 1);
        EXPECT_EQ(s->known, 1);
        EXPECT_STREQ(s->modulePath, "");
        EXPECT_STREQ(s->moduleName, "");
        EXPECT_EQ(describe(s->dataOptions, s->dataOptionCount), e.dataOptions);
        EXPECT_EQ(describe(s->varOptions, s->varOptionCount), e.varOptions);
        EXPECT_EQ(provided(s), e.entryPoints);
        EXPECT_NE(s->fnInfo, nullptr);
        // Built-ins get five services; the last two are for modules.
        EXPECT_TRUE(s->vddInit && s->vddOption && s->vddAddVariable && s->vddDeleteAllVariables &&
                    s->vddGetAllVariables);
        EXPECT_EQ(s->vddGetAllVariablesS, nullptr);
        EXPECT_EQ(s->logMsgData, nullptr);
        s = s->next;
    }
    EXPECT_EQ(s, nullptr);

    // Registered twice: the first of each type number stays.
    EXPECT_EQ(vdiLoadStaticDataSources(&registry), 0);
    std::string twice;
    for (const auto& e : expected)
        twice += "Nalvo Static Data Source: <type=" + std::to_string(e.type) + "> " + e.name + " \n" +
                 "Data Type <" + std::to_string(e.type) + "> already present. skipped ...\n";
    EXPECT_EQ(log.take(), twice);
    int count = 0;
    for (s = registry; s != nullptr; s = s->next)
        ++count;
    EXPECT_EQ(count, 6);
    freeSources(&registry);
}

class Sources : public testing::Test
{
protected:
    void TearDown() override
    {
        closeDataSources(view);
        freeSources(&view);
    }
    DD_DATA_TYPE_STRUCT* view = nullptr;
};

TEST_F(Sources, ConstantsConvertTheirTextEveryCycle)
{
    const struct
    {
        int type;
        const char* text;
        uint64_t bytes; // the 8 storage bytes, 0xAA where nothing was written
    } cases[] = {
        {DD_INT, "12abc", 0xAAAAAAAA0000000Cu},     {DD_INT, "abc", 0xAAAAAAAA00000000u},
        {DD_INT, "0x10", 0xAAAAAAAA00000000u},      {DD_INT, "-7", 0xAAAAAAAAFFFFFFF9u},
        {DD_UINT, "4294967295", 0xAAAAAAAAFFFFFFFFu}, {DD_UCHAR, "300", 0xAAAAAAAAAAAAAA2Cu},
        {DD_CHAR, "-1", 0xAAAAAAAAAAAAAAFFu},        {DD_SHORT, "70000", 0xAAAAAAAAAAAA1170u},
        {DD_USHORT, "65535", 0xAAAAAAAAAAAAFFFFu},   {DD_LONG, "-5000000000", 0xFFFFFFFED5FA0E00u},
        {DD_ULONG, "18446744073709551615", 0xFFFFFFFFFFFFFFFFu},
        {DD_FLOAT, "2.5e1x", 0xAAAAAAAA41C80000u},   {DD_DOUBLE, "-0.5", 0xBFE0000000000000u},
        {13, "5", 0xAAAAAAAAAAAAAAAAu},
    };
    DD_DATA_TYPE_STRUCT* s = fileSource(&view, 2, 0, 1);
    for (const auto& c : cases) {
        DD_VAR_STRUCT* v = fileVariable(s, "c", c.type, "99");
        setParaText(v->para[0], c.text);
    }
    // A text longer than the text storage, in a buffer a reader grew.
    DD_VAR_STRUCT* longText = fileVariable(s, "long", DD_STRING);
    std::free(longText->para[0].text);
    longText->para[0].capacity = 312;
    longText->para[0].text = static_cast<char*>(std::calloc(1, 312));
    std::memset(longText->para[0].text, 'k', 300);
    DD_VAR_STRUCT* written = fileVariable(s, "written", DD_INT);
    setParaText(written->para[0], "42");
    written->write = 1;

    mergeWithRegistry(&view);
    startSources(view);
    EXPECT_EQ(valueOf<int32_t>(written), 0) << "no Set: no defaults";
    for (DD_VAR_STRUCT* v = s->variables; v != longText; v = v->next)
        std::memset(v->value, 0xAA, 8);
    fillDP(view);
    size_t i = 0;
    for (DD_VAR_STRUCT* v = s->variables; v != longText; v = v->next, ++i)
        EXPECT_EQ(valueOf<uint64_t>(v), cases[i].bytes) << "type " << cases[i].type << " text " << cases[i].text;
    EXPECT_EQ(textOf(longText), std::string(255, 'k'));
    EXPECT_EQ(valueOf<int32_t>(written), 42);

    setValue<int32_t>(written, 7); // the view writes it
    fillDP(view);
    EXPECT_EQ(valueOf<int32_t>(written), 42) << "back to the constant in the same cycle";
}

TEST_F(Sources, InternalVariablesKeepWhatTheViewWrites)
{
    DD_DATA_TYPE_STRUCT* s = fileSource(&view, 5, 0, 0);
    DD_VAR_STRUCT* page = fileVariable(s, "page", DD_INT, "3");
    DD_VAR_STRUCT* big = fileVariable(s, "big", DD_LONG, "-0x100000000");
    DD_VAR_STRUCT* label = fileVariable(s, "label", DD_STRING, "abc");
    DD_VAR_STRUCT* none = fileVariable(s, "none", DD_DOUBLE);
    page->write = 1;

    mergeWithRegistry(&view);
    startSources(view);
    EXPECT_EQ(valueOf<int32_t>(page), 3) << "its default, right after the start";
    EXPECT_EQ(valueOf<int64_t>(big), -0x100000000LL);
    EXPECT_EQ(textOf(label), "abc");
    EXPECT_EQ(valueOf<double>(none), 0.0);
    setValue<int32_t>(page, 5);
    fillDP(view);
    fillDP(view);
    EXPECT_EQ(valueOf<int32_t>(page), 5);
}

class AutoData : public Sources
{
protected:
    DD_VAR_STRUCT* signal(const char* name, int kind, int frequency, const char* min, const char* max,
                          int type = DD_FLOAT)
    {
        if (source == nullptr)
            source = fileSource(&view, 1, 0, 4);
        DD_VAR_STRUCT* v = fileVariable(source, name, type);
        v->para[0].value = kind;
        v->para[1].value = frequency;
        setParaText(v->para[2], min);
        setParaText(v->para[3], max);
        return v;
    }
    void start()
    {
        mergeWithRegistry(&view);
        startSources(view);
        state = static_cast<dorne::AutoDataState*>(source->privateData);
        ASSERT_NE(state, nullptr);
    }
    // One cycle at t seconds after the start, to within 0.1 ms: the cycle
    // reads the clock itself, between the two reads here. A cycle held up
    // longer (the thread was preempted) ran at a time not known well enough
    // to judge its values, so it is run again, for up to 30 s.
    void cycleAt(double t)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        double late = 0;
        do {
            const double before = apiGetTime();
            state->startTime = before - t;
            fillDP(view);
            late = apiGetTime() - before;
        } while (late > 1e-4 && std::chrono::steady_clock::now() < deadline);
        ASSERT_LE(late, 1e-4) << "no cycle ran within 0.1 ms of its clock read in 30 s";
    }
    DD_DATA_TYPE_STRUCT* source = nullptr;
    dorne::AutoDataState* state = nullptr;
};

const int k1Hz = 6;
const int k10Hz = 9;

TEST_F(AutoData, SignalsOverOnePeriod)
{
    const struct
    {
        int kind;
        const char* min;
        const char* max;
        float quarter, later, threeQuarters; // at t = 0.25, 0.625, 0.75 s
    } cases[] = {
        {0, "-1.0", "1.0", 1.0f, -0.70711f, -1.0f},    // SIN
        {0, "0", "10", 10.0f, 1.46447f, 0.0f},         // SIN onto 0..10
        {1, "-1.0", "1.0", 1.025f, -0.64461f, -0.925f}, // SIN Increase
        {2, "0.0", "1.0", 1.0f, 0.70711f, 1.0f},       // SIN Half Wave
        {4, "0.0", "1.0", 0.5f, 0.75f, 0.5f},          // TRIANGLE
        {4, "0", "0", 0.5f, 0.75f, 0.5f},              // TRIANGLE with the preset range
        {5, "0.0", "1.0", 0.25f, 0.625f, 0.75f},       // SAW 1
        {6, "0.0", "1.0", 0.75f, 0.375f, 0.25f},       // SAW 2
        {7, "0.0", "1.0", 0.0f, 1.0f, 1.0f},           // RECTANGLE
        {7, "-5", "5", -5.0f, 5.0f, 5.0f},             // RECTANGLE onto -5..5
    };
    std::vector<DD_VAR_STRUCT*> vars;
    for (const auto& c : cases)
        vars.push_back(signal("s", c.kind, k1Hz, c.min, c.max));
    DD_VAR_STRUCT* sinRandom = signal("r", 3, k1Hz, "-1.0", "1.0");
    start();

    cycleAt(0.0);
    EXPECT_NEAR(valueOf<float>(vars[0]), 0.0f, 0.01f) << "SIN at t = 0";
    const double times[] = {0.25, 0.625, 0.75};
    for (int k = 0; k < 3; ++k) {
        cycleAt(times[k]);
        for (size_t i = 0; i < vars.size(); ++i) {
            const float want = k == 0 ? cases[i].quarter : k == 1 ? cases[i].later : cases[i].threeQuarters;
            EXPECT_NEAR(valueOf<float>(vars[i]), want, 0.01f)
                << "kind " << cases[i].kind << " at t = " << times[k];
        }
        const double sine = std::sin(times[k] * 2 * M_PI);
        EXPECT_NEAR(valueOf<float>(sinRandom), sine, 0.16) << "SIN Random spreads by 0.15";
    }
    EXPECT_STREQ(vars[5]->para[2].text, "0.0") << "MIN and MAX both 0: the kind's range is written back";
    EXPECT_STREQ(vars[5]->para[3].text, "1.0");
}

TEST_F(AutoData, RandomSpreadsOverTheDefaultRange)
{
    DD_VAR_STRUCT* random = signal("random", 8, 0, "0", "0");
    DD_VAR_STRUCT* raw = signal("raw", 8, 0, "0.0", "1.0");
    start();
    float low = 1.0f, high = -1.0f, rawLow = 1.0f;
    for (int i = 0; i < 400; ++i) {
        fillDP(view);
        const float r = valueOf<float>(random);
        ASSERT_GE(r, -1.0f);
        ASSERT_LE(r, 1.0f);
        low = std::min(low, r);
        high = std::max(high, r);
        rawLow = std::min(rawLow, valueOf<float>(raw));
    }
    EXPECT_LT(low, -0.5f);
    EXPECT_GT(high, 0.5f);
    EXPECT_GE(rawLow, 0.0f);
    EXPECT_STREQ(random->para[2].text, "-1.0");
    EXPECT_STREQ(random->para[3].text, "1.0");
}

TEST_F(AutoData, LongRunsKeepTheirPhase)
{
    DD_VAR_STRUCT* slow = signal("slow", 0, k1Hz, "-1.0", "1.0");
    DD_VAR_STRUCT* fast = signal("fast", 0, k10Hz, "-1.0", "1.0");
    DD_VAR_STRUCT* saw = signal("saw", 5, k1Hz, "0.0", "1.0");
    start();
    // 115 days: the phase at 10 Hz is 3.6e10 degrees.
    cycleAt(1e7 + 0.25);
    EXPECT_NEAR(valueOf<float>(slow), 1.0f, 0.01f);
    EXPECT_NEAR(valueOf<float>(saw), 0.25f, 0.01f);
    cycleAt(1e7 + 0.025);
    EXPECT_NEAR(valueOf<float>(fast), 1.0f, 0.05f);
}

TEST_F(AutoData, FrequencyDateTimeAndWhatIsIgnored)
{
    DD_VAR_STRUCT* frequency = signal("frequency", 9, 0, "-1.0", "1.0");
    DD_VAR_STRUCT* date = signal("date", 10, 0, "0.0", "0.0", DD_STRING);
    DD_VAR_STRUCT* time = signal("time", 11, 0, "0.0", "0.0", DD_STRING);
    DD_VAR_STRUCT* dateInNumber = signal("dateInNumber", 10, 0, "0.0", "0.0", DD_INT);
    DD_VAR_STRUCT* ignored[] = {signal("f10", 0, 10, "-1.0", "1.0"), signal("fNeg", 0, -1, "-1.0", "1.0"),
                                signal("k12", 12, 0, "-1.0", "1.0"), signal("kNeg", -1, 0, "-1.0", "1.0")};
    start();
    std::memset(frequency->value, 0xAA, 8);
    std::memset(dateInNumber->value, 0xAA, 8);
    for (DD_VAR_STRUCT* v : ignored)
        std::memset(v->value, 0xAA, 8);

    // The precise clock, as fillDP reads it: time() can lag it by a tick across a second.
    const time_t before = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    fillDP(view);
    const time_t after = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    EXPECT_EQ(valueOf<uint64_t>(frequency), 0xAAAAAAAA00000000u) << "4 bytes of the zeroed slot: 0.0";
    EXPECT_EQ(valueOf<uint64_t>(dateInNumber), 0xAAAAAAAAAAAAAAAAu) << "no text into a number";
    for (DD_VAR_STRUCT* v : ignored)
        EXPECT_EQ(valueOf<uint64_t>(v), 0xAAAAAAAAAAAAAAAAu) << v->name;

    auto format = [](time_t t, const char* pattern) {
        tm local;
        localtime_r(&t, &local);
        char text[64];
        std::strftime(text, sizeof text, pattern, &local);
        return std::string(text);
    };
    // Date and time of one second of the cycle, however long it took.
    bool oneSecond = false;
    for (time_t t = before; t <= after && !oneSecond; ++t)
        oneSecond = textOf(date) == format(t, "%d.%m.%Y ") && textOf(time) == format(t, "%H:%M:%S");
    EXPECT_TRUE(oneSecond) << textOf(date) << textOf(time) << " is not a second from " << format(before, "%d.%m.%Y %H:%M:%S")
                           << " to " << format(after, "%d.%m.%Y %H:%M:%S");
    EXPECT_TRUE(std::regex_match(textOf(date), std::regex("[0-3][0-9]\\.[01][0-9]\\.[0-9]{4} ")));
}

TEST_F(AutoData, EditorHooksPresetTypeAndRange)
{
    DD_VAR_STRUCT* v = signal("v", 5, 3, "7", "8", DD_INT);
    start();
    ASSERT_EQ(source->fnNewVariable(v), 0);
    EXPECT_EQ(v->para[0].value, 0);
    EXPECT_EQ(v->para[1].value, 0);
    EXPECT_STREQ(v->para[2].text, "-1.0");
    EXPECT_STREQ(v->para[3].text, "1.0");
    EXPECT_EQ(v->type, DD_FLOAT);

    const struct
    {
        int kind;
        int type;
        const char* min;
        const char* max;
    } cases[] = {{0, 0, "-1.0", "1.0"},  {1, 0, "-1.0", "1.0"},  {2, 0, "0.0", "1.0"},  {3, 0, "-1.0", "1.0"},
                 {4, 0, "0.0", "1.0"},   {5, 0, "0.0", "1.0"},   {6, 0, "0.0", "1.0"},  {7, 0, "0.0", "1.0"},
                 {8, 0, "-1.0", "1.0"},  {9, 0, "-1.0", "1.0"},  {10, 10, "0.0", "0.0"}, {11, 10, "0.0", "0.0"},
                 {12, 0, "-1.0", "1.0"}, {-4, 0, "-1.0", "1.0"}};
    for (const auto& c : cases) {
        v->type = 3;
        ASSERT_EQ(source->fnCallbackVar(0, c.kind, nullptr, v), 0);
        EXPECT_EQ(v->type, c.type) << "kind " << c.kind;
        EXPECT_STREQ(v->para[2].text, c.min) << "kind " << c.kind;
        EXPECT_STREQ(v->para[3].text, c.max) << "kind " << c.kind;
    }
    v->type = 3;
    source->fnCallbackVar(1, 4, nullptr, v);
    EXPECT_EQ(v->type, 3) << "only the TYPE option acts";
    EXPECT_STREQ(v->para[2].text, "-1.0");
    EXPECT_EQ(source->fnNewData(source), 0);
    EXPECT_EQ(source->fnCallbackData(0, 0, nullptr, source), 0);

    EXPECT_EQ(source->fnClose(source), 0);
    EXPECT_EQ(source->privateData, nullptr);
    EXPECT_EQ(source->fnStartView(source), -1) << "no state";
    EXPECT_EQ(source->fnRun(source), 0);
    EXPECT_EQ(source->fnGet(v, source), 0);
}

} // namespace
