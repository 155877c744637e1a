// Two threads log while a third fetches and another changes the level: every
// kept message arrives whole and in its thread's order. Runs under
// ThreadSanitizer.
#include "dorneLog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

namespace {

TEST(LogThreads, ConcurrentWritersAndFetcher)
{
    // 2 x 600 messages of at most 6 characters stay below 16 KB, so every
    // message is kept whatever the fetcher's timing.
    const int kMessages = 600;
    setLogLevel(3);
    char scratch[16384];
    getLogMsg(scratch, sizeof scratch);

    std::atomic<bool> done{false};
    std::string fetched;
    std::thread fetcher([&] {
        char buffer[16384];
        while (!done.load()) {
            getLogMsg(buffer, sizeof buffer);
            fetched += buffer;
            std::this_thread::yield();
        }
    });
    std::thread leveller([&] {
        for (int n = 0; !done.load(); ++n)
            setLogLevel(3 + (n & 1));
    });
    auto writer = [&](char id) {
        for (int i = 0; i < kMessages; ++i) {
            if (i % 2 == 0)
                logMsg(3, "%c%d;\n", id, i);
            else
                logMsgData("%c%d;\n", id, i);
        }
    };
    std::thread a(writer, 'a');
    std::thread b(writer, 'b');
    a.join();
    b.join();
    done.store(true);
    fetcher.join();
    leveller.join();
    getLogMsg(scratch, sizeof scratch);
    fetched += scratch;
    setLogLevel(1);

    int next[2] = {0, 0};
    size_t pos = 0;
    while (pos < fetched.size()) {
        const size_t end = fetched.find(";\n", pos);
        ASSERT_NE(end, std::string::npos) << "a message was cut: " << fetched.substr(pos);
        const std::string token = fetched.substr(pos, end - pos);
        ASSERT_TRUE(token[0] == 'a' || token[0] == 'b') << token;
        const int t = token[0] - 'a';
        EXPECT_EQ(std::stoi(token.substr(1)), next[t]) << "order of thread " << token[0];
        next[t] = std::stoi(token.substr(1)) + 1;
        pos = end + 2;
    }
    EXPECT_EQ(next[0], kMessages);
    EXPECT_EQ(next[1], kMessages);
}

} // namespace
