// The two style tables: line styles as 16-bit line stipples and the 60
// built-in 32 x 32 fill patterns. The patterns are built at compile time from
// their row lists and rules, one 32-bit row per stipple row (bottom row
// first), stored most significant byte first as glPolygonStipple reads them.
#include "dorneGl.h"

#include <cstdint>

namespace {

const unsigned short kLineStyles[10] = {0xFFFF, 0xAAAA, 0xCCCC, 0xF0F0, 0xFF00,
                                        0x8888, 0x8080, 0x8181, 0xEEEE, 0x0C0F};

struct PatternTable
{
    unsigned char bytes[DORNE_PATTERN_COUNT][DORNE_PATTERN_BYTES];
};

constexpr uint32_t rotl(uint32_t v, int n, int width)
{
    const uint32_t mask = width == 32 ? 0xFFFFFFFFu : (1u << width) - 1u;
    n = ((n % width) + width) % width;
    v &= mask;
    return n == 0 ? v : ((v << n) | (v >> (width - n))) & mask;
}

constexpr uint32_t rotr(uint32_t v, int n, int width)
{
    return rotl(v, width - (n % width), width);
}

// A unit of 4, 8 or 16 bits repeated across the row.
constexpr uint32_t repeat(uint32_t unit, int width)
{
    uint32_t row = 0;
    for (int shift = 0; shift < 32; shift += width)
        row |= unit << shift;
    return row;
}

// The horizontal mirror of a row.
constexpr uint32_t mirror(uint32_t row)
{
    uint32_t out = 0;
    for (int i = 0; i < 32; ++i)
        out |= ((row >> i) & 1u) << (31 - i);
    return out;
}

// Widens every set pixel to three (one on each side) within a unit.
constexpr uint32_t thicken(uint32_t unit, int width)
{
    return unit | rotl(unit, 1, width) | rotr(unit, 1, width);
}

struct Builder
{
    PatternTable table{};
    uint32_t rows[DORNE_PATTERN_COUNT][32]{};

    // Rows 0..period-1 given; they repeat up the pattern.
    constexpr void set(int index, const uint32_t* given, int period)
    {
        for (int r = 0; r < 32; ++r)
            rows[index][r] = given[r % period];
    }
    constexpr void pack()
    {
        for (int p = 0; p < DORNE_PATTERN_COUNT; ++p)
            for (int r = 0; r < 32; ++r)
                for (int b = 0; b < 4; ++b)
                    table.bytes[p][r * 4 + b] = static_cast<unsigned char>(rows[p][r] >> (24 - 8 * b));
    }
};

constexpr PatternTable buildPatterns()
{
    Builder t;
    uint32_t r[32]{};

    // 0 solid.
    r[0] = 0xFFFFFFFFu;
    t.set(0, r, 1);

    // 1-5 checkerboards of 1, 2, 4, 8 and 16 pixels: n rows of the unit, n of its inverse.
    const uint32_t checker[5] = {0x55555555u, 0xCCCCCCCCu, 0xF0F0F0F0u, 0xFF00FF00u, 0xFFFF0000u};
    for (int i = 0; i < 5; ++i) {
        const int n = 1 << i;
        for (int k = 0; k < 2 * n; ++k)
            r[k] = k < n ? checker[i] : ~checker[i];
        t.set(1 + i, r, 2 * n);
    }

    // 6-9 dots: one dotted row, then empty rows.
    const uint32_t dots[4] = {0xAAAAAAAAu, 0x88888888u, 0x80808080u, 0x80008000u};
    const int dotPeriods[4] = {2, 4, 8, 16};
    for (int i = 0; i < 4; ++i) {
        for (int k = 0; k < dotPeriods[i]; ++k)
            r[k] = k == 0 ? dots[i] : 0u;
        t.set(6 + i, r, dotPeriods[i]);
    }

    // 10-13 grids of period 4, 8, 16, 32: a full row, then one bit per period.
    const uint32_t gridRows[4] = {0x88888888u, 0x80808080u, 0x80008000u, 0x80000000u};
    for (int i = 0; i < 4; ++i) {
        const int period = 4 << i;
        for (int k = 0; k < period; ++k)
            r[k] = k == 0 ? 0xFFFFFFFFu : gridRows[i];
        t.set(10 + i, r, period);
    }

    // 14-20 diagonals rising to the left (the set bit moves left row by row);
    // 21-27 the same rows mirrored (rising to the right).
    for (int k = 0; k < 4; ++k)
        r[k] = repeat(1u << k, 4); // 11111111, 22222222, 44444444, 88888888
    t.set(14, r, 4);
    for (int k = 0; k < 8; ++k)
        r[k] = repeat(1u << k, 8); // 01010101 .. 80808080
    t.set(15, r, 8);
    for (int k = 0; k < 8; ++k)
        r[k] = repeat(rotl(0x07u, k - 2, 8), 8); // c1c1c1c1, 83838383, 07070707 .. e0e0e0e0
    t.set(16, r, 8);
    for (int k = 0; k < 16; ++k)
        r[k] = repeat(1u << k, 16); // 00010001 .. 80008000
    t.set(17, r, 16);
    for (int k = 0; k < 16; ++k)
        r[k] = repeat(rotl(0x0007u, k - 2, 16), 16); // c001c001, 80038003, 00070007 .. e000e000
    t.set(18, r, 16);
    for (int k = 0; k < 32; ++k)
        r[k] = 1u << k; // 00000001 .. 80000000
    t.set(19, r, 32);
    for (int k = 0; k < 32; ++k)
        r[k] = rotl(0x00000007u, k - 1, 32); // 80000003, 00000007, 0000000e .. c0000001
    t.set(20, r, 32);
    for (int i = 0; i < 7; ++i) {
        for (int k = 0; k < 32; ++k)
            r[k] = mirror(t.rows[14 + i][k]);
        t.set(21 + i, r, 32);
    }

    // 28-32 crossed diagonals: both lines meet at the leftmost pixel of the
    // first row (28: 80808080, 41414141, 22222222, 14141414, 08080808, ...);
    // the thick forms widen every line pixel to three.
    for (int k = 0; k < 8; ++k)
        r[k] = repeat(rotr(0x80u, k, 8) | rotl(0x80u, k, 8), 8);
    t.set(28, r, 8);
    for (int k = 0; k < 16; ++k)
        r[k] = repeat(rotr(0x8000u, k, 16) | rotl(0x8000u, k, 16), 16);
    t.set(29, r, 16);
    for (int k = 0; k < 16; ++k)
        r[k] = repeat(thicken(rotr(0x8000u, k, 16) | rotl(0x8000u, k, 16), 16), 16);
    t.set(30, r, 16);
    for (int k = 0; k < 32; ++k)
        r[k] = rotr(0x80000000u, k, 32) | rotl(0x80000000u, k, 32);
    t.set(31, r, 32);
    for (int k = 0; k < 32; ++k)
        r[k] = thicken(rotr(0x80000000u, k, 32) | rotl(0x80000000u, k, 32), 32);
    t.set(32, r, 32);

    // 33-41 horizontal lines: `on` full rows at the start of each period.
    const int hPeriod[9] = {2, 4, 4, 8, 8, 16, 16, 32, 32};
    const int hOn[9] = {1, 1, 2, 1, 4, 1, 8, 1, 16};
    for (int i = 0; i < 9; ++i) {
        for (int k = 0; k < hPeriod[i]; ++k)
            r[k] = k < hOn[i] ? 0xFFFFFFFFu : 0u;
        t.set(33 + i, r, hPeriod[i]);
    }

    // 42-50 vertical lines: every row the same.
    const uint32_t vertical[9] = {0xAAAAAAAAu, 0x88888888u, 0xCCCCCCCCu, 0x80808080u, 0xF0F0F0F0u,
                                  0x80008000u, 0xFF00FF00u, 0x80000000u, 0xFFFF0000u};
    for (int i = 0; i < 9; ++i)
        t.set(42 + i, &vertical[i], 1);

    // 51-59 special.
    const uint32_t diamondLattice[4] = {0x81818181u, 0x42424242u, 0x24242424u, 0x18181818u};
    t.set(51, diamondLattice, 4);
    const uint32_t zigzag[8] = {0x88888888u, 0x44444444u, 0x22222222u, 0x11111111u,
                                0x11111111u, 0x22222222u, 0x44444444u, 0x88888888u};
    t.set(52, zigzag, 8);
    const uint32_t hollowSquares[8] = {0xF0F0F0F0u, 0x90909090u, 0x90909090u, 0xF0F0F0F0u, 0, 0, 0, 0};
    t.set(53, hollowSquares, 8);
    const uint32_t squares[8] = {0xF0F0F0F0u, 0xF0F0F0F0u, 0xF0F0F0F0u, 0xF0F0F0F0u, 0, 0, 0, 0};
    t.set(54, squares, 8);
    for (int k = 0; k < 8; ++k)
        r[k] = 0x0000000Fu << (4 * k); // 0000000f, 000000f0 .. f0000000
    t.set(55, r, 8);
    for (int k = 0; k < 8; ++k)
        r[k] = 0xF0000000u >> (4 * k);
    t.set(56, r, 8);
    for (int k = 0; k < 32; ++k)
        r[k] = repeat(0x80u >> (k / 4), 8); // 80808080 x 4, 40404040 x 4 .. 01010101 x 4
    t.set(57, r, 32);
    for (int k = 0; k < 32; ++k)
        r[k] = repeat(0x01u << (k / 4), 8);
    t.set(58, r, 32);
    const uint32_t diamonds[16] = {0x18001800u, 0x24002400u, 0x42004200u, 0x81008100u,
                                   0x81008100u, 0x42004200u, 0x24002400u, 0x18001800u};
    t.set(59, diamonds, 16);

    t.pack();
    return t.table;
}

constexpr PatternTable kPatterns = buildPatterns();

} // namespace

int getLineStipple(int style, int* factor, unsigned short* pattern)
{
    if (factor == nullptr || pattern == nullptr)
        return -1;
    *factor = 1;
    *pattern = style >= 1 && style <= 9 ? kLineStyles[style] : kLineStyles[0];
    return 0;
}

const unsigned char* getPattern(int index)
{
    if (index < 0 || index >= DORNE_PATTERN_COUNT)
        index = 0;
    return kPatterns.bytes[index];
}
