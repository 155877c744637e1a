// Entry point of the widget tests: a real QApplication (on the X display
// that the test command provides), then every GoogleTest case.
#include <QApplication>
#include <QHash>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    qSetGlobalQHashSeed(0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
