// Big-endian values and fixed texts of the view files, byte for byte, on
// temporary files.
#include "dorneFiles.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// A temporary file holding the given bytes, positioned at its start.
FILE* fileWith(const Bytes& bytes)
{
    FILE* f = std::tmpfile();
    if (f == nullptr)
        return nullptr;
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    return f;
}

Bytes contents(FILE* f)
{
    std::fflush(f);
    std::rewind(f);
    Bytes out;
    int c;
    while ((c = std::fgetc(f)) != EOF)
        out.push_back(static_cast<unsigned char>(c));
    return out;
}

TEST(FileValues, IntegersReadMostSignificantByteFirst)
{
    const struct { Bytes bytes; int value; } cases[] = {
        {{0x00, 0x00, 0x01, 0x2F}, 303},
        {{0xFF, 0xFF, 0xFF, 0xFF}, -1},
        {{0xFF, 0xFF, 0xFF, 0xFE}, -2},
        {{0x80, 0x00, 0x00, 0x00}, INT_MIN},
        {{0x7F, 0xFF, 0xFF, 0xFF}, INT_MAX},
        {{0x12, 0x34, 0x56, 0x78}, 0x12345678},
    };
    for (const auto& c : cases) {
        FILE* f = fileWith(c.bytes);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(VGetFInt(f), c.value);
        EXPECT_EQ(VGetFInt(f), -1) << "end of file";
        std::fclose(f);
    }
}

TEST(FileValues, ShortFilesReadAsMinusOneOrZero)
{
    for (size_t n = 0; n < 4; ++n) {
        Bytes bytes(n, 0x01);
        FILE* f = fileWith(bytes);
        EXPECT_EQ(VGetFInt(f), -1) << n << " bytes";
        std::rewind(f);
        EXPECT_EQ(VGetFFloat(f), 0.0f) << n << " bytes";
        std::fclose(f);
    }
    EXPECT_EQ(VGetFInt(nullptr), -1);
    EXPECT_EQ(VGetFFloat(nullptr), 0.0f);
}

TEST(FileValues, FloatsRoundTripAsIeeeBigEndian)
{
    const struct { float value; Bytes bytes; } cases[] = {
        {1.0f, {0x3F, 0x80, 0x00, 0x00}},
        {-2.5f, {0xC0, 0x20, 0x00, 0x00}},
        {0.0f, {0x00, 0x00, 0x00, 0x00}},
        {800.0f, {0x44, 0x48, 0x00, 0x00}},
    };
    for (const auto& c : cases) {
        FILE* f = std::tmpfile();
        ASSERT_EQ(VPutFFloat(c.value, f), 1);
        EXPECT_EQ(contents(f), c.bytes) << c.value;
        std::rewind(f);
        EXPECT_EQ(VGetFFloat(f), c.value);
        std::fclose(f);
    }
}

TEST(FileValues, IntegersWriteMostSignificantByteFirst)
{
    FILE* f = std::tmpfile();
    ASSERT_EQ(VPutFInt(303, f), 1);
    ASSERT_EQ(VPutFInt(-2, f), 1);
    ASSERT_EQ(VPutFInt(INT_MIN, f), 1);
    EXPECT_EQ(contents(f), (Bytes{0x00, 0x00, 0x01, 0x2F, 0xFF, 0xFF, 0xFF, 0xFE, 0x80, 0x00, 0x00, 0x00}));
    std::rewind(f);
    EXPECT_EQ(VGetFInt(f), 303);
    EXPECT_EQ(VGetFInt(f), -2);
    EXPECT_EQ(VGetFInt(f), INT_MIN);
    std::fclose(f);
}

TEST(FileValues, FailedWritesAreReported)
{
    char path[] = "/tmp/dorneFileValuesXXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    FILE* f = std::fopen(path, "rb"); // a stream that cannot take bytes
    ASSERT_NE(f, nullptr);
    setvbuf(f, nullptr, _IONBF, 0);
    EXPECT_EQ(VPutFInt(1, f), 0);
    EXPECT_EQ(VPutFFloat(1.0f, f), 0);
    EXPECT_EQ(VPutFString("ABCD", f, 4), 0);
    std::fclose(f);
    std::remove(path);

    EXPECT_EQ(VPutFInt(1, nullptr), 0);
    EXPECT_EQ(VPutFFloat(1.0f, nullptr), 0);
    EXPECT_EQ(VPutFString("A", nullptr, 1), 0);
    FILE* t = std::tmpfile();
    EXPECT_EQ(VPutFString(nullptr, t, 1), 0);
    std::fclose(t);
}

TEST(FileValues, TextFieldKeepsNMinusOneCharactersAndAZero)
{
    FILE* f = fileWith({'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 0x00, 0x00, 0x00, 0x07});
    char field[8];
    VGetFString(field, f, 8);
    EXPECT_EQ(std::string(field, 8), std::string("ABCDEFG\0", 8));
    EXPECT_EQ(VGetFInt(f), 7) << "the whole field was consumed";
    std::fclose(f);
}

TEST(FileValues, ShortTextFieldFillsWithZeros)
{
    FILE* f = fileWith({'A', 'B', 'C'});
    char field[8];
    std::memset(field, 'x', sizeof field);
    VGetFString(field, f, 8);
    EXPECT_EQ(std::string(field, 8), std::string("ABC\0\0\0\0\0", 8));
    std::fclose(f);
}

TEST(FileValues, TextFieldOfNonPositiveLengthWritesNothing)
{
    FILE* f = fileWith({'A', 'B'});
    char field[4] = {'x', 'y', 'z', 'w'};
    VGetFString(field, f, 0);
    VGetFString(field, f, -5);
    VGetFString(field, nullptr, 4);
    VGetFString(nullptr, f, 4);
    EXPECT_EQ(std::string(field, 4), "xyzw");
    EXPECT_EQ(std::ftell(f), 0) << "nothing was read";
    VGetFString(field, f, 1);
    EXPECT_EQ(field[0], '\0');
    EXPECT_EQ(std::ftell(f), 1);
    std::fclose(f);
}

TEST(FileValues, TextFieldWritesExactlyNBytesAsTheyStand)
{
    const char field[8] = {'A', 'B', '\0', 'x', 'y', 'z', '\0', 'q'};
    FILE* f = std::tmpfile();
    EXPECT_EQ(VPutFString(field, f, 8), 1);
    EXPECT_EQ(VPutFString(field, f, 2), 1);
    EXPECT_EQ(VPutFString(field, f, 0), 1);
    EXPECT_EQ(VPutFString(field, f, -1), 0);
    EXPECT_EQ(contents(f), (Bytes{'A', 'B', 0, 'x', 'y', 'z', 0, 'q', 'A', 'B'}));
    std::fclose(f);
}

} // namespace
