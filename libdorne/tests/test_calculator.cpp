// The calculator source: formulas over the view's variables, stored by value
// type, recomputed every cycle in list order, copied into OUTPUT variables
// that their own sources then send on.
#include "calculatorSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

using namespace support;

namespace {

TEST_F(Calculator, ResultsConvertIntoEveryValueType)
{
    const struct
    {
        int type;
        const char* text;
        uint64_t bytes; // the 8 storage bytes, 0xAA where nothing was written
    } cases[] = {
        {DD_CHAR, "3.9", 0xAAAAAAAAAAAAAA03u},
        {DD_CHAR, "-3.9", 0xAAAAAAAAAAAAAAFDu},
        {DD_UCHAR, "-1.5", 0xAAAAAAAAAAAAAAFFu},
        {DD_UCHAR, "300", 0xAAAAAAAAAAAAAA2Cu},
        {DD_UCHAR, "0 / 0", 0xAAAAAAAAAAAAAA00u},
        {DD_SHORT, "70000", 0xAAAAAAAAAAAA1170u},
        {DD_USHORT, "-1", 0xAAAAAAAAAAAAFFFFu},
        {DD_INT, "-2.5", 0xAAAAAAAAFFFFFFFEu},
        {DD_INT, "3e9", 0xAAAAAAAAB2D05E00u},
        {DD_INT, "0 / 0", 0xAAAAAAAA00000000u},
        {DD_UINT, "4294967295", 0xAAAAAAAAFFFFFFFFu},
        {DD_UINT, "1e10", 0xAAAAAAAA540BE400u},
        {DD_UINT, "-1", 0xAAAAAAAAFFFFFFFFu},
        // The 64-bit types hold all 8 bytes, held within their range.
        {DD_LONG, "-5000000000", 0xFFFFFFFED5FA0E00u},
        {DD_LONG, "pow(2, 40) + 0.9", 0x0000010000000000u},
        {DD_LONG, "1e19", 0x7FFFFFFFFFFFFFFFu},
        {DD_LONG, "0 / 0", 0u},
        {DD_ULONG, "-1", 0xFFFFFFFFFFFFFFFFu},
        {DD_ULONG, "pow(2, 62) * 3", 0xC000000000000000u},
        {DD_ULONG, "1e30", 0xFFFFFFFFFFFFFFFFu},
        {DD_FLOAT, "0.1", 0xAAAAAAAA3DCCCCCDu},
        {DD_DOUBLE, "-0.5", 0xBFE0000000000000u},
        {13, "5", 0xAAAAAAAAAAAAAAAAu},
    };
    for (const auto& c : cases)
        formula("c", c.type, c.text);
    start();
    for (DD_VAR_STRUCT* v = calc->variables; v != nullptr; v = v->next)
        std::memset(v->value, 0xAA, 8);
    fillDP(view);
    size_t i = 0;
    for (DD_VAR_STRUCT* v = calc->variables; v != nullptr; v = v->next, ++i)
        EXPECT_EQ(valueOf<uint64_t>(v), cases[i].bytes) << "type " << cases[i].type << ": " << cases[i].text;
}

TEST_F(Calculator, TextsAsResultsAndAsOperands)
{
    DD_VAR_STRUCT* numberFirst = internal("t1", DD_STRING, "12abc");
    internal("t2", DD_STRING, "abc");
    DD_VAR_STRUCT* full = internal("t3", DD_STRING);
    DD_VAR_STRUCT* half = formula("half", DD_STRING, "5 / 2");
    DD_VAR_STRUCT* huge = formula("huge", DD_STRING, "1e300");
    DD_VAR_STRUCT* sum = formula("sum", DD_DOUBLE, "t1 + t2 + 1");
    DD_VAR_STRUCT* nines = formula("nines", DD_DOUBLE, "t3");
    start();
    ASSERT_EQ(textOf(numberFirst), "12abc");
    std::memset(full->value, '9', 256); // a module may leave no zero
    fillDP(view);
    EXPECT_EQ(textOf(half), "2.500000");
    EXPECT_EQ(textOf(huge).size(), 255u) << "cut to the text storage";
    EXPECT_EQ(textOf(huge).substr(0, 3), "100");
    EXPECT_EQ(valueOf<double>(sum), 13);
    EXPECT_EQ(valueOf<double>(nines), std::strtod(std::string(255, '9').c_str(), nullptr));
}

// Sources are served in list order and variables in theirs: a formula sees
// what the storage holds at its turn, its own result of the last cycle.
TEST_F(Calculator, FormulasSeeTheValuesOfTheirTurn)
{
    DD_VAR_STRUCT* a = internal("a", DD_INT);
    internal("dup", DD_INT, "1");
    DD_VAR_STRUCT* late = formula("late", DD_DOUBLE, "sum");
    DD_VAR_STRUCT* sum = formula("sum", DD_DOUBLE, "a * 2");
    DD_VAR_STRUCT* now = formula("now", DD_DOUBLE, "sum");
    DD_VAR_STRUCT* count = formula("count", DD_INT, "count + 1");
    DD_VAR_STRUCT* ghost = formula("ghost", DD_DOUBLE, "nobody + 1");
    DD_VAR_STRUCT* dup = formula("first", DD_DOUBLE, "dup");
    DD_DATA_TYPE_STRUCT* other = fileSource(&view, 5, 0, 0);
    fileVariable(other, "dup", DD_INT, "2");
    start();
    for (int cycle = 1; cycle <= 5; ++cycle) {
        setValue<int32_t>(a, cycle * 10);
        fillDP(view);
        EXPECT_EQ(valueOf<double>(late), (cycle - 1) * 20) << "cycle " << cycle;
        EXPECT_EQ(valueOf<double>(sum), cycle * 20);
        EXPECT_EQ(valueOf<double>(now), cycle * 20);
        EXPECT_EQ(valueOf<int32_t>(count), cycle) << "one up per cycle";
    }
    EXPECT_EQ(valueOf<double>(ghost), 1) << "an unknown name reads 0";
    EXPECT_EQ(valueOf<double>(dup), 1) << "a shared name is the first variable's";
}

struct SetCall
{
    std::string name;
    double value;
    int changed;
    bool operator==(const SetCall& o) const
    {
        return name == o.name && value == o.value && changed == o.changed;
    }
};
std::vector<SetCall> setCalls;

int recordSet(DD_VAR_STRUCT* v, DD_DATA_TYPE_STRUCT*)
{
    const double value = v->type == DD_SHORT ? valueOf<int16_t>(v) : valueOf<double>(v);
    setCalls.push_back({v->name, value, v->changed});
    return 0;
}

void PrintTo(const SetCall& c, std::ostream* os)
{
    *os << c.name << "=" << c.value << " changed " << c.changed;
}

// OUTPUT copies the result, converted, into a variable of another source,
// which then treats it as written by the view: its source's Set receives it
// in the same cycle when it comes after the calculator, else in the next.
TEST_F(Calculator, OutputReachesAnotherSource)
{
    DD_DATA_TYPE_STRUCT* before = fileSource(&view, 5, 0, 0);
    DD_VAR_STRUCT* early = fileVariable(before, "early", DD_DOUBLE);
    DD_VAR_STRUCT* x = internal("x", DD_DOUBLE, "2.5");
    DD_VAR_STRUCT* y = formula("y", DD_DOUBLE, "x * 3", "target");
    formula("z", DD_DOUBLE, "x - 1", "early");
    formula("lost", DD_DOUBLE, "x", "nobody");
    DD_DATA_TYPE_STRUCT* after = fileSource(&view, 5, 0, 0);
    DD_VAR_STRUCT* target = fileVariable(after, "target", DD_SHORT);
    mergeWithRegistry(&view);
    before->fnSet = recordSet;
    after->fnSet = recordSet;
    startSources(view);
    setCalls.clear();

    fillDP(view);
    EXPECT_EQ(valueOf<double>(y), 7.5);
    EXPECT_EQ(target->write, 1);
    EXPECT_EQ(valueOf<int16_t>(target), 7) << "converted to the target's type";
    EXPECT_EQ(valueOf<double>(early), 1.5);
    EXPECT_EQ(setCalls, (std::vector<SetCall>{{"target", 7, 1}}));

    setValue<double>(x, 4.0);
    fillDP(view);
    EXPECT_EQ(setCalls, (std::vector<SetCall>{{"target", 7, 1}, {"early", 1.5, 1}, {"target", 12, 1}}));
    fillDP(view);
    EXPECT_EQ(setCalls.size(), 5u);
    EXPECT_EQ(setCalls[4], (SetCall{"target", 12, 0})) << "the same value again";
}

// Every start parses the formulas anew; Close leaves nothing behind (the
// test runs under the leak checker) and later cycles store nothing.
TEST_F(Calculator, RestartTakesChangedFormulas)
{
    DD_VAR_STRUCT* v = formula("v", DD_DOUBLE, "1 + 1");
    start();
    fillDP(view);
    EXPECT_EQ(valueOf<double>(v), 2);
    closeDataSources(view);
    EXPECT_EQ(calc->privateData, nullptr);
    EXPECT_EQ(v->moduleData, nullptr);
    fillDP(view);
    EXPECT_EQ(valueOf<double>(v), 2) << "closed: nothing evaluated";

    setParaText(v->para[0], "v * 10");
    startSources(view);
    openDataSources(view); // opened twice: the first parsers are released
    callStartView(view);
    setValue<double>(v, 3);
    fillDP(view);
    EXPECT_EQ(valueOf<double>(v), 30);
}

} // namespace
