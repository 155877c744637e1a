// The engine's log: level filter, the 16 KB keep rule, the cut message and
// fetch-and-empty.
#include "dorneLog.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string fetch(int size = 16384)
{
    std::string buffer(size_t(size), '\0');
    EXPECT_EQ(getLogMsg(&buffer[0], size), 0);
    return buffer.c_str();
}

class Log : public testing::Test
{
protected:
    void SetUp() override
    {
        setLogLevel(3);
        fetch();
    }
    void TearDown() override
    {
        setLogLevel(1);
        fetch();
    }

    // Logs text at level 1 and returns what was printed.
    static std::string logPrinted(const std::string& text)
    {
        testing::internal::CaptureStdout();
        EXPECT_EQ(logMsg(1, "%s", text.c_str()), 0);
        return testing::internal::GetCapturedStdout();
    }
};

TEST_F(Log, LevelFiltersWhatIsPrintedAndKept)
{
    for (int logLevel = 0; logLevel <= 4; ++logLevel) {
        for (int level = 1; level <= 3; ++level) {
            setLogLevel(logLevel);
            testing::internal::CaptureStdout();
            logMsg(level, "level %d at %d\n", level, logLevel);
            const std::string printed = testing::internal::GetCapturedStdout();
            const std::string expected = level <= logLevel ? "level " + std::to_string(level) + " at " +
                                                                 std::to_string(logLevel) + "\n"
                                                           : "";
            EXPECT_EQ(printed, expected);
            EXPECT_EQ(fetch(), expected);
        }
    }
}

TEST_F(Log, DataMessagesAreInformation)
{
    setLogLevel(2);
    logMsgData("module %s\n", "A");
    EXPECT_EQ(fetch(), "");
    setLogLevel(3);
    logMsgData("module %s\n", "B");
    EXPECT_EQ(fetch(), "module B\n");
}

TEST_F(Log, KeepsAMessageOnlyWhileItFitsWhole)
{
    // 16,380 characters kept: room for 3 more before the buffer's zero.
    const std::string block(1000, 'k');
    for (int i = 0; i < 16; ++i)
        logPrinted(block);
    logPrinted(std::string(380, 'r'));

    EXPECT_EQ(logPrinted("four"), "four") << "printed although not kept";
    EXPECT_EQ(logPrinted("abc"), "abc");
    EXPECT_EQ(logPrinted("z"), "z");

    const std::string kept = fetch();
    ASSERT_EQ(kept.size(), 16383u);
    EXPECT_EQ(kept.substr(16380), "abc");
    EXPECT_EQ(fetch(), "") << "fetching empties the log";
    logPrinted("again");
    EXPECT_EQ(fetch(), "again");
}

TEST_F(Log, LongMessagesAreCutTo1023Characters)
{
    const std::string text(2000, 'm');
    const std::string cut(1023, 'm');
    EXPECT_EQ(logPrinted(text), cut);
    EXPECT_EQ(fetch(), cut);
}

TEST_F(Log, FetchCutsToTheBufferAndEmptiesTheWholeLog)
{
    logPrinted("0123456789abcdef");
    char buffer[10];
    ASSERT_EQ(getLogMsg(buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "012345678");
    EXPECT_EQ(fetch(), "");
}

TEST_F(Log, FetchWithoutRoomWritesNothingAndKeepsTheLog)
{
    logPrinted("kept");
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(getLogMsg(buffer, 0), -1);
    EXPECT_EQ(getLogMsg(buffer, -7), -1);
    EXPECT_EQ(getLogMsg(nullptr, 100), -1);
    EXPECT_EQ(std::string(buffer, 4), "xxxx");
    EXPECT_EQ(fetch(), "kept");
}

} // namespace
