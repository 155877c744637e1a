// The name tables of the view engine once they can no longer grow: the
// largest table size is lowered (a hidden limit of the library) so that a
// full table stays small. A hash table refuses the entry that would fill more
// than seven eighths of its slots, the calculator stops its start rather
// than read a name it could not store as 0, and a view stops its start
// rather than run with variables that no lookup by name would find.
#include "base/hashLimit.h"
#include "calculatorSupport.h"
#include "dorneHash.h"
#include "hashSupport.h"
#include "viewSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

using namespace support;

namespace {

// Lowers the largest table size for one test.
struct SizeLimit
{
    explicit SizeLimit(unsigned slots) : previous(mpiHashLimitSize(slots)) {}
    ~SizeLimit() { mpiHashLimitSize(previous); }
    unsigned previous;
};

// With the largest size lowered, tables stop growing early and refuse the
// entry that would fill more than seven eighths of their slots, whatever
// the key kind; what they hold stays found.
TEST(Hash, TheFillLimitHoldsForEverySizeThatCannotGrow)
{
    const struct
    {
        unsigned largest, expected;
        uint32_t size, capacity;
    } cases[] = {
        {11, 0, 11, 9},      // grown 1, 3, 7, 11
        {101, 50, 101, 88},  // never grown
        {137, 50, 137, 119}, // grown once, at the 68th entry
        {3, 1, 3, 2},
    };
    for (const auto& c : cases) {
        for (const bool text : {false, true}) {
            SCOPED_TRACE(testing::Message() << "largest " << c.largest << (text ? " text" : " integer"));
            SizeLimit lowered(c.largest);
            Table t(c.expected);
            ASSERT_NE(t.t, nullptr);
            auto insert = [&](uint32_t i) {
                return text ? mpiHashInsertAscii(t, ("name" + std::to_string(i)).c_str(), V(i % 8))
                            : mpiHashInsert(t, i * 7919u, V(i % 8));
            };
            for (uint32_t i = 0; i < c.capacity; ++i)
                ASSERT_EQ(insert(i), 0) << i;
            EXPECT_EQ(t->size, c.size);
            EXPECT_EQ(insert(c.capacity), -1);
            EXPECT_EQ(insert(c.capacity + 1), -1);
            EXPECT_EQ(t->count, c.capacity);
            EXPECT_EQ(t->size, c.size);
            for (uint32_t i = 0; i < c.capacity; ++i)
                ASSERT_EQ(text ? mpiHashSearchAscii(t, ("name" + std::to_string(i)).c_str())
                               : mpiHashSearch(t, i * 7919u),
                          V(i % 8))
                    << i;
            EXPECT_EQ(text ? mpiHashSearchAscii(t, "absent") : mpiHashSearch(t, 1), nullptr);
        }
    }
    {
        SizeLimit lowered(101);
        EXPECT_EQ(mpiHashCreate(51), nullptr) << "103 slots lie above the limit";
        EXPECT_EQ(mpiHashLimitSize(0), 101u);
        mpiHashLimitSize(101);
    }
    Table lifted(51);
    EXPECT_NE(lifted.t, nullptr) << "the limit is lifted again";
}

// A name table that cannot hold every name of the view stops the start with
// a message that counts the missing names: no formula runs, so none reads a
// missing name as 0. The largest table size is lowered to 101 slots (88
// names) to keep the view small.
TEST_F(Calculator, NamesBeyondTheNameTableStopTheStart)
{
    const struct
    {
        int internals; // plus the formula's own name
        const char* message;
    } cases[] = {
        {87, nullptr},
        {88, "vddParserVarStartViewAll: 1 of 89 variable names do not fit the name table"},
        {120, "vddParserVarStartViewAll: 33 of 121 variable names do not fit the name table"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.internals);
        struct Lowered
        {
            Lowered() : previous(mpiHashLimitSize(101)) {}
            ~Lowered() { mpiHashLimitSize(previous); }
            unsigned previous;
        } lowered;
        DD_VAR_STRUCT* last = nullptr;
        for (int i = 0; i < c.internals; ++i)
            last = internal(("var" + std::to_string(i)).c_str(), DD_INT, std::to_string(i + 1).c_str());
        const std::string text = std::string(last->name) + " + var0 + 1";
        DD_VAR_STRUCT* sum = formula("sum", DD_DOUBLE, text.c_str());
        LogCapture log;
        start();
        const std::string logged = log.take();
        setValue<double>(sum, -7.0);
        fillDP(view);
        if (c.message == nullptr) {
            EXPECT_EQ(logged.find("do not fit"), std::string::npos) << logged;
            EXPECT_EQ(valueOf<double>(sum), c.internals + 2);
        } else {
            EXPECT_NE(logged.find(c.message), std::string::npos) << logged;
            EXPECT_EQ(calc->privateData, nullptr);
            EXPECT_EQ(valueOf<double>(sum), -7.0) << "no formula evaluated";
        }
        closeDataSources(view);
        freeSources(&view);
        calc = values = nullptr;
    }
}

// A view whose variable table cannot take every variable fails its start
// with a message that counts the names left out, and stays stopped; with
// room again the same view starts and finds every name.
TEST(ViewVariableTable, NamesBeyondTheTableStopTheStart)
{
    viewtest::Folder folder;
    const std::string path = folder.file("many.v");
    {
        viewtest::ViewDraft draft(0, 0, 100, 100);
        DD_DATA_TYPE_STRUCT* internal = draft.source(5);
        for (int i = 0; i < 100; ++i)
            viewtest::ViewDraft::variable(internal, ("v" + std::to_string(i)).c_str(), DD_INT, "7");
        ASSERT_TRUE(draft.save(path));
    }
    vdView_Struct* view = vdViewLoad(path.c_str());
    ASSERT_NE(view, nullptr);
    char out[256];
    {
        SizeLimit lowered(101); // the table made at load: 88 names fit
        LogCapture log;
        EXPECT_EQ(vdViewStart(view), -5);
        std::string logged = log.take();
        EXPECT_NE(logged.find("vdViewStart: 12 of 100 variable names do not fit the variable table"),
                  std::string::npos)
            << logged;
        EXPECT_EQ(vdVarGetStr(view, "v0", out), -3) << "stopped";
        EXPECT_EQ(vdViewStartAnim(view), -5);
        logged = log.take();
        EXPECT_NE(logged.find("vdViewStartAnim: 12 of 100"), std::string::npos) << logged;
        EXPECT_EQ(vdViewStop(view), -3);
    }
    ASSERT_EQ(vdViewStart(view), 0);
    EXPECT_EQ(vdVarGetStr(view, "v99", out), 0);
    EXPECT_STREQ(out, "7");
    EXPECT_EQ(vdViewFree(view), 0);
}

} // namespace
