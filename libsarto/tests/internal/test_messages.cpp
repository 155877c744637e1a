// Message bytes at every level, and the level itself.
#include "../fontFixtures.h"
#include "sartoInternal.h"

#include <string>

using namespace sartotest;

namespace {

// Read before any test sets it.
const int levelAtLoad = ftGetDebugLevel();

TEST(Messages, LevelIsThreeUntilSetAndStaysInRange)
{
    EXPECT_EQ(levelAtLoad, 3);
    EXPECT_EQ(ftVersion(), 100);
    for (int bad : {-1, 4, 100}) {
        EXPECT_EQ(ftSetDebugLevel(2), 0);
        EXPECT_EQ(ftSetDebugLevel(bad), -10) << bad;
        EXPECT_EQ(ftGetDebugLevel(), 2) << bad;
    }
    ftSetDebugLevel(3);
}

TEST(Messages, BytesPerLevelAndType)
{
    const std::string reset = "\033[0m";
    const std::string info = "\033[32mlibft INFO -> i 1\n" + reset;
    const std::string warning = "\033[34mlibft WARNING -> w 2\n" + reset;
    const std::string error = "\033[31mlibft ERROR -> e 3\n" + reset;
    const struct
    {
        int level;
        std::string info, warning, error;
    } cases[] = {
        {0, "", "", ""},
        {1, reset, reset, error},
        {2, reset, warning, error},
        {3, info, warning, error},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(ftSetDebugLevel(c.level), 0);
        EXPECT_EQ(captureStdout([] { ftiMsg(FTI_INFO, "i %d\n", 1); }), c.info) << c.level;
        EXPECT_EQ(captureStdout([] { ftiMsg(FTI_WARNING, "w %d\n", 2); }), c.warning) << c.level;
        EXPECT_EQ(captureStdout([] { ftiMsg(FTI_ERROR, "e %d\n", 3); }), c.error) << c.level;
    }
    ftSetDebugLevel(3);
}

TEST(Messages, LongTextIsCutTo511Characters)
{
    const std::string text(2000, 'x');
    const std::string out = captureStdout([&] { ftiMsg(FTI_ERROR, "%s", text.c_str()); });
    EXPECT_EQ(out, "\033[31mlibft ERROR -> " + std::string(511, 'x') + "\033[0m");
}

} // namespace
