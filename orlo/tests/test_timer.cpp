// The named stopwatch prints its lifetime in milliseconds.
#include "Timer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <sstream>
#include <thread>

TEST(TimerTest, PrintsNameAndLifetimeInMilliseconds)
{
    std::ostringstream captured;
    std::streambuf* old = std::cout.rdbuf(captured.rdbuf());
    const double before = KAVO::Timer::now();
    {
        KAVO::Timer t("load");
        std::this_thread::sleep_for(std::chrono::milliseconds(12));
    }
    const double after = KAVO::Timer::now();
    std::cout.rdbuf(old);

    const std::string out = captured.str();
    ASSERT_EQ(out.rfind("load : ", 0), 0u) << out;
    ASSERT_GE(out.size(), 4u);
    EXPECT_EQ(out.substr(out.size() - 4), " ms\n");
    const double ms = std::stod(out.substr(7, out.size() - 11));
    EXPECT_GE(ms, 12.0);
    EXPECT_LE(ms, (after - before) * 1000.0 + 0.01);
}

TEST(TimerTest, ClockHasMicrosecondSteps)
{
    // The smallest of many steps: the thread may be taken off the CPU
    // between any two looks at the clock, which makes a step look longer,
    // never shorter, so the least of them shows how fine the clock is.
    const double first = KAVO::Timer::now();
    double a = first;
    double smallest = 1.0e9;
    for (int step = 0; step < 100; ++step) {
        double b = a;
        while (b == a)
            b = KAVO::Timer::now();
        smallest = std::min(smallest, b - a);
        a = b;
    }
    EXPECT_GT(smallest, 0.0);
    EXPECT_LT(smallest, 0.01);
    EXPECT_GT(first, 1.0e9); // seconds since 1970
}
