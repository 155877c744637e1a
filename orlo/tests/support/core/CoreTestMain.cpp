// Entry point of the data-core tests: no window, deterministic XML
// attribute order, line-buffered diagnostics.
#include <QHash>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    qSetGlobalQHashSeed(0);
    setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
