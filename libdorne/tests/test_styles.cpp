// The style tables: every line style and every fill pattern row by row
// against the table they are drawn from, the solid fallbacks, all 60
// patterns different, and the RGB palette lookup.
#include "dorneGl.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

TEST(LineStyles, FactorOneAndTheTablePattern)
{
    const struct
    {
        int style;
        unsigned short pattern;
    } rows[] = {{1, 0xAAAA}, {2, 0xCCCC}, {3, 0xF0F0}, {4, 0xFF00}, {5, 0x8888},  {6, 0x8080},
                {7, 0x8181}, {8, 0xEEEE}, {9, 0x0C0F}, {0, 0xFFFF}, {10, 0xFFFF}, {-1, 0xFFFF},
                {100, 0xFFFF}, {-2147483647 - 1, 0xFFFF}};
    for (const auto& row : rows) {
        int factor = 7;
        unsigned short pattern = 0;
        EXPECT_EQ(getLineStipple(row.style, &factor, &pattern), 0);
        EXPECT_EQ(factor, 1) << "style " << row.style;
        EXPECT_EQ(pattern, row.pattern) << "style " << row.style;
    }
    int factor = 7;
    unsigned short pattern = 7;
    EXPECT_EQ(getLineStipple(1, nullptr, &pattern), -1);
    EXPECT_EQ(getLineStipple(1, &factor, nullptr), -1);
    EXPECT_EQ(factor, 7);
    EXPECT_EQ(pattern, 7);
}

// Rows of one period, bottom row first: "hex" or "hex*count"; the period
// repeats up to 32 rows.
std::vector<uint32_t> rowsOf(const std::string& text)
{
    std::vector<uint32_t> period;
    std::istringstream in(text);
    std::string token;
    while (in >> token) {
        const size_t star = token.find('*');
        const uint32_t row = uint32_t(std::strtoul(token.substr(0, star).c_str(), nullptr, 16));
        const int count = star == std::string::npos ? 1 : std::atoi(token.c_str() + star + 1);
        period.insert(period.end(), size_t(count), row);
    }
    std::vector<uint32_t> rows;
    for (size_t r = 0; r < 32 && !period.empty(); ++r)
        rows.push_back(period[r % period.size()]);
    return rows;
}

// The fill pattern table as written down for the view designers.
const char* const kPatternRows[DORNE_PATTERN_COUNT] = {
    /* 0 */ "ffffffff",
    /* 1 */ "55555555 aaaaaaaa",
    /* 2 */ "cccccccc*2 33333333*2",
    /* 3 */ "f0f0f0f0*4 0f0f0f0f*4",
    /* 4 */ "ff00ff00*8 00ff00ff*8",
    /* 5 */ "ffff0000*16 0000ffff*16",
    /* 6 */ "aaaaaaaa 00000000",
    /* 7 */ "88888888 0*3",
    /* 8 */ "80808080 0*7",
    /* 9 */ "80008000 0*15",
    /* 10 */ "ffffffff 88888888*3",
    /* 11 */ "ffffffff 80808080*7",
    /* 12 */ "ffffffff 80008000*15",
    /* 13 */ "ffffffff 80000000*31",
    /* 14 */ "11111111 22222222 44444444 88888888",
    /* 15 */ "01010101 02020202 04040404 08080808 10101010 20202020 40404040 80808080",
    /* 16 */ "c1c1c1c1 83838383 07070707 0e0e0e0e 1c1c1c1c 38383838 70707070 e0e0e0e0",
    /* 17 */ "00010001 00020002 00040004 00080008 00100010 00200020 00400040 00800080 "
             "01000100 02000200 04000400 08000800 10001000 20002000 40004000 80008000",
    /* 18 */ "c001c001 80038003 00070007 000e000e 001c001c 00380038 00700070 00e000e0 "
             "01c001c0 03800380 07000700 0e000e00 1c001c00 38003800 70007000 e000e000",
    /* 19 */ "00000001 00000002 00000004 00000008 00000010 00000020 00000040 00000080 "
             "00000100 00000200 00000400 00000800 00001000 00002000 00004000 00008000 "
             "00010000 00020000 00040000 00080000 00100000 00200000 00400000 00800000 "
             "01000000 02000000 04000000 08000000 10000000 20000000 40000000 80000000",
    /* 20 */ "80000003 00000007 0000000e 0000001c 00000038 00000070 000000e0 000001c0 "
             "00000380 00000700 00000e00 00001c00 00003800 00007000 0000e000 0001c000 "
             "00038000 00070000 000e0000 001c0000 00380000 00700000 00e00000 01c00000 "
             "03800000 07000000 0e000000 1c000000 38000000 70000000 e0000000 c0000001",
    /* 21 */ "88888888 44444444 22222222 11111111",
    /* 22 */ "80808080 40404040 20202020 10101010 08080808 04040404 02020202 01010101",
    /* 23 */ "83838383 c1c1c1c1 e0e0e0e0 70707070 38383838 1c1c1c1c 0e0e0e0e 07070707",
    /* 24 */ "80008000 40004000 20002000 10001000 08000800 04000400 02000200 01000100 "
             "00800080 00400040 00200020 00100010 00080008 00040004 00020002 00010001",
    /* 25 */ "80038003 c001c001 e000e000 70007000 38003800 1c001c00 0e000e00 07000700 "
             "03800380 01c001c0 00e000e0 00700070 00380038 001c001c 000e000e 00070007",
    /* 26 */ "80000000 40000000 20000000 10000000 08000000 04000000 02000000 01000000 "
             "00800000 00400000 00200000 00100000 00080000 00040000 00020000 00010000 "
             "00008000 00004000 00002000 00001000 00000800 00000400 00000200 00000100 "
             "00000080 00000040 00000020 00000010 00000008 00000004 00000002 00000001",
    /* 27 */ "c0000001 e0000000 70000000 38000000 1c000000 0e000000 07000000 03800000 "
             "01c00000 00e00000 00700000 00380000 001c0000 000e0000 00070000 00038000 "
             "0001c000 0000e000 00007000 00003800 00001c00 00000e00 00000700 00000380 "
             "000001c0 000000e0 00000070 00000038 0000001c 0000000e 00000007 80000003",
    /* 28 */ "80808080 41414141 22222222 14141414 08080808 14141414 22222222 41414141",
    /* 29 */ "80008000 40014001 20022002 10041004 08080808 04100410 02200220 01400140 "
             "00800080 01400140 02200220 04100410 08080808 10041004 20022002 40014001",
    /* 30 */ "c001c001 e003e003 70077007 380e380e 1c1c1c1c 0e380e38 07700770 03e003e0 "
             "01c001c0 03e003e0 07700770 0e380e38 1c1c1c1c 380e380e 70077007 e003e003",
    /* 31 */ "80000000 40000001 20000002 10000004 08000008 04000010 02000020 01000040 "
             "00800080 00400100 00200200 00100400 00080800 00041000 00022000 00014000 "
             "00008000 00014000 00022000 00041000 00080800 00100400 00200200 00400100 "
             "00800080 01000040 02000020 04000010 08000008 10000004 20000002 40000001",
    /* 32 */ "c0000001 e0000003 70000007 3800000e 1c00001c 0e000038 07000070 038000e0 "
             "01c001c0 00e00380 00700700 00380e00 001c1c00 000e3800 00077000 0003e000 "
             "0001c000 0003e000 00077000 000e3800 001c1c00 00380e00 00700700 00e00380 "
             "01c001c0 038000e0 07000070 0e000038 1c00001c 3800000e 70000007 e0000003",
    /* 33 */ "ffffffff 0",
    /* 34 */ "ffffffff 0*3",
    /* 35 */ "ffffffff*2 0*2",
    /* 36 */ "ffffffff 0*7",
    /* 37 */ "ffffffff*4 0*4",
    /* 38 */ "ffffffff 0*15",
    /* 39 */ "ffffffff*8 0*8",
    /* 40 */ "ffffffff 0*31",
    /* 41 */ "ffffffff*16 0*16",
    /* 42 */ "aaaaaaaa",
    /* 43 */ "88888888",
    /* 44 */ "cccccccc",
    /* 45 */ "80808080",
    /* 46 */ "f0f0f0f0",
    /* 47 */ "80008000",
    /* 48 */ "ff00ff00",
    /* 49 */ "80000000",
    /* 50 */ "ffff0000",
    /* 51 */ "81818181 42424242 24242424 18181818",
    /* 52 */ "88888888 44444444 22222222 11111111 11111111 22222222 44444444 88888888",
    /* 53 */ "f0f0f0f0 90909090 90909090 f0f0f0f0 0*4",
    /* 54 */ "f0f0f0f0*4 0*4",
    /* 55 */ "0000000f 000000f0 00000f00 0000f000 000f0000 00f00000 0f000000 f0000000",
    /* 56 */ "f0000000 0f000000 00f00000 000f0000 0000f000 00000f00 000000f0 0000000f",
    /* 57 */ "80808080*4 40404040*4 20202020*4 10101010*4 08080808*4 04040404*4 02020202*4 01010101*4",
    /* 58 */ "01010101*4 02020202*4 04040404*4 08080808*4 10101010*4 20202020*4 40404040*4 80808080*4",
    /* 59 */ "18001800 24002400 42004200 81008100 81008100 42004200 24002400 18001800 0*8",
};

TEST(FillPatterns, EveryPatternByteForByte)
{
    for (int p = 0; p < DORNE_PATTERN_COUNT; ++p) {
        const std::vector<uint32_t> rows = rowsOf(kPatternRows[p]);
        ASSERT_EQ(rows.size(), 32u) << "pattern " << p;
        const unsigned char* mask = getPattern(p);
        ASSERT_NE(mask, nullptr);
        for (int r = 0; r < 32; ++r) {
            // Most significant byte first: the leftmost pixel is bit 7 of byte 0.
            const uint32_t got = uint32_t(mask[r * 4]) << 24 | uint32_t(mask[r * 4 + 1]) << 16 |
                                 uint32_t(mask[r * 4 + 2]) << 8 | mask[r * 4 + 3];
            EXPECT_EQ(got, rows[size_t(r)]) << "pattern " << p << " row " << r;
        }
    }
}

TEST(FillPatterns, AllDifferentAndOutOfRangeIsSolid)
{
    for (int a = 0; a < DORNE_PATTERN_COUNT; ++a)
        for (int b = a + 1; b < DORNE_PATTERN_COUNT; ++b)
            EXPECT_NE(std::memcmp(getPattern(a), getPattern(b), DORNE_PATTERN_BYTES), 0) << a << " and " << b;
    const unsigned char* solid = getPattern(0);
    for (int i = 0; i < DORNE_PATTERN_BYTES; ++i)
        ASSERT_EQ(solid[i], 0xFF);
    for (int index : {-1, 60, 61, 1000, -2147483647 - 1})
        EXPECT_EQ(std::memcmp(getPattern(index), solid, DORNE_PATTERN_BYTES), 0) << index;
}

TEST(RgbPalette, IndexByTruncatedTwentiethsWithinTheTable)
{
    EXPECT_EQ(getFastRGBcolor(0.5f, 0.5f, 0.5f), 0u) << "no table yet";
    std::vector<uint32_t> table(21 * 21 * 21);
    for (size_t i = 0; i < table.size(); ++i)
        table[i] = uint32_t(i) + 1000;
    EXPECT_EQ(setRgbColorIndex(table.data()), 0);
    EXPECT_EQ(getFastRGBcolor(0, 0, 0), 1000u);
    EXPECT_EQ(getFastRGBcolor(1, 1, 1), 1000u + 20 * 441 + 20 * 21 + 20);
    // 0.049 x 20 = 0.98 truncates to 0; 0.5 gives 10; 0.26 gives 5.
    EXPECT_EQ(getFastRGBcolor(0.049f, 0.5f, 0.26f), 1000u + 0 * 441 + 10 * 21 + 5);
    // Outside 0..1 the components are taken at the nearest end, never beyond the table.
    EXPECT_EQ(getFastRGBcolor(7.0f, -3.0f, 1.5f), 1000u + 20 * 441 + 0 * 21 + 20);
    EXPECT_EQ(setRgbColorIndex(nullptr), 0);
    EXPECT_EQ(getFastRGBcolor(1, 1, 1), 0u);
}

} // namespace
