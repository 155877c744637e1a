// Platform layer: module loading, folder listing, the clock, the GL context
// identity and the version texts.
#include "dornePlatform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <regex>
#include <set>
#include <string>
#include <unistd.h>

namespace {

TEST(Platform, LoadsAModuleAndResolvesItsSymbols)
{
    void* module = apiDllOpen(DORNE_TEST_MODULE);
    ASSERT_NE(module, nullptr);
    auto version = reinterpret_cast<int (*)(void)>(apiDllGetSymbol(module, "vddVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version(), 324);
    auto value = static_cast<int*>(apiDllGetSymbol(module, "vddTestValue"));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(*value, 42);
    EXPECT_EQ(apiDllGetSymbol(module, "vddTestInfo"), nullptr);
    EXPECT_EQ(apiDllGetSymbol(module, nullptr), nullptr);
    EXPECT_EQ(apiDllGetSymbol(nullptr, "vddVersion"), nullptr);
    EXPECT_EQ(apiDllClose(module), 0);
}

TEST(Platform, FailedLoadsGiveNullSilently)
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(apiDllOpen(nullptr), nullptr);
    EXPECT_EQ(apiDllOpen("/nonexistent/libVddNothing.so"), nullptr);
    EXPECT_EQ(apiDllOpen(__FILE__), nullptr) << "not a shared object";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(apiDllClose(nullptr), 0);
}

TEST(Platform, ListsAFolderWithDotAndDotDot)
{
    char folder[] = "/tmp/dorneListXXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string longName(255, 'n');
    const std::set<std::string> names = {"a.txt", "libVddX.so", longName};
    for (const std::string& n : names) {
        const std::string path = std::string(folder) + "/" + n;
        const int fd = open(path.c_str(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(fd, 0) << path;
        close(fd);
    }

    API_DIR* dir = apiOpenDir(folder);
    ASSERT_NE(dir, nullptr);
    std::set<std::string> listed;
    API_FILE file;
    while (apiReadDir(dir, &file) == 1)
        listed.insert(file.name);
    EXPECT_EQ(apiReadDir(dir, &file), 0) << "the end stays the end";
    EXPECT_EQ(apiCloseDir(dir), 1);

    std::set<std::string> expected = names;
    expected.insert(".");
    expected.insert("..");
    EXPECT_EQ(listed, expected);

    for (const std::string& n : names)
        std::remove((std::string(folder) + "/" + n).c_str());
    rmdir(folder);
}

TEST(Platform, FolderFailuresGiveNullOrZero)
{
    EXPECT_EQ(apiOpenDir("/nonexistent/folder"), nullptr);
    EXPECT_EQ(apiOpenDir(nullptr), nullptr);
    API_FILE file;
    EXPECT_EQ(apiReadDir(nullptr, &file), 0);
    API_DIR* dir = apiOpenDir(".");
    ASSERT_NE(dir, nullptr);
    EXPECT_EQ(apiReadDir(dir, nullptr), 0);
    EXPECT_EQ(apiCloseDir(dir), 1);
    EXPECT_EQ(apiCloseDir(nullptr), 0);
}

TEST(Platform, ListingsPassBetweenTheEngineAndTheFontLibrary)
{
    char folder[] = "/tmp/dorneShareXXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/only.ttf";
    const int fd = open(path.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    close(fd);

    // Opened by one library, read and closed by the other, both ways.
    for (const bool engineOpens : {true, false}) {
        API_DIR* dir = engineOpens ? apiOpenDir(folder) : ftApiOpenDir(folder);
        ASSERT_NE(dir, nullptr);
        std::set<std::string> listed;
        API_FILE file;
        while ((engineOpens ? ftApiReadDir(dir, &file) : apiReadDir(dir, &file)) == 1)
            listed.insert(file.name);
        EXPECT_EQ(listed, (std::set<std::string>{".", "..", "only.ttf"})) << engineOpens;
        EXPECT_EQ(engineOpens ? ftApiCloseDir(dir) : apiCloseDir(dir), 1);
    }
    std::remove(path.c_str());
    rmdir(folder);
}

TEST(Platform, TimeOfDayInSeconds)
{
    // The time of day in whole microseconds: bound by the precise clock cut
    // to microseconds, in the same arithmetic. Cut finer, a reading in the
    // same microsecond as the bound before it would fall below that bound.
    using Clock = std::chrono::system_clock;
    const auto seconds = [](Clock::time_point p) {
        const long long us = std::chrono::duration_cast<std::chrono::microseconds>(p.time_since_epoch()).count();
        return double(us / 1000000) + double(us % 1000000) * 1e-06;
    };
    const double before = seconds(Clock::now());
    const double t = apiGetTime();
    const double after = seconds(Clock::now());
    EXPECT_GE(t, before);
    EXPECT_LE(t, after);
    EXPECT_EQ(getGlContext(), 1);
}

TEST(Platform, VersionTexts)
{
    EXPECT_EQ(VGet_releasenr(), 303);
    const char* shortText = VGet_releaseshort();
    EXPECT_STREQ(shortText, "3.3.20");
    const char* banner = VGet_release();
    EXPECT_EQ(banner, shortText) << "one static buffer";
    EXPECT_TRUE(std::regex_search(banner, std::regex("^Nalvo2D Version 3\\.3\\.20 .*2010"))) << banner;
    EXPECT_TRUE(std::regex_match(get_ctime(), std::regex("[A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}")))
        << get_ctime();
}

} // namespace
