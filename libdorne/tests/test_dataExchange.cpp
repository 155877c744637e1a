// The value conversions of the exchange: defaults in decimal, hexadecimal
// and octal by value type, the symbol-mode copies, and the 4-byte peer
// format of shared memory and datagrams, with the 64-bit types whole.
#include "dataSourceSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace support;

namespace {

const uint8_t kStale = 0xAA; // what the storage held before

// The 8 storage bytes of a value as one little-endian number, so that the
// bytes a path did not move show as 0xAA.
uint64_t storageBytes(const DD_VAR_STRUCT* v)
{
    return valueOf<uint64_t>(v);
}

struct DefaultCase
{
    int type;
    const char* text;
    uint64_t bytes; // all 8 storage bytes afterwards
};

TEST(Defaults, IntegersTakeTheBaseFromTheTextAndKeepTheirWidth)
{
    const DefaultCase cases[] = {
        {DD_INT, "0x10", 0xAAAAAAAA00000010u},
        {DD_INT, "010", 0xAAAAAAAA00000008u},
        {DD_INT, "12abc", 0xAAAAAAAA0000000Cu},
        {DD_INT, "abc", 0xAAAAAAAA00000000u},
        {DD_INT, "-0x10", 0xAAAAAAAAFFFFFFF0u},
        {DD_INT, "08", 0xAAAAAAAA00000000u},
        {DD_UINT, "4294967295", 0xAAAAAAAAFFFFFFFFu},
        {DD_CHAR, "300", 0xAAAAAAAAAAAAAA2Cu},
        {DD_UCHAR, "-1", 0xAAAAAAAAAAAAAAFFu},
        {DD_SHORT, "0x12345", 0xAAAAAAAAAAAA2345u},
        {DD_USHORT, "0177777", 0xAAAAAAAAAAAAFFFFu},
        // The 64-bit types hold all 8 bytes: no stale upper half.
        {DD_LONG, "0x123456789", 0x0000000123456789u},
        {DD_LONG, "-2", 0xFFFFFFFFFFFFFFFEu},
        {DD_LONG, "7", 7u},
        {DD_ULONG, "18446744073709551615", 0xFFFFFFFFFFFFFFFFu},
        {DD_ULONG, "0xF000000000000001", 0xF000000000000001u},
        {11, "5", 0xAAAAAAAAAAAAAAAAu},
        {-1, "5", 0xAAAAAAAAAAAAAAAAu},
    };
    DD_VAR_STRUCT* v = createVariable(0);
    v->value = std::malloc(8);
    for (const DefaultCase& c : cases) {
        std::memset(v->value, kStale, 8);
        v->type = c.type;
        std::snprintf(v->defaultText, sizeof v->defaultText, "%s", c.text);
        EXPECT_EQ(setDefaultValue(v), 0);
        EXPECT_EQ(storageBytes(v), c.bytes) << "type " << c.type << " default " << c.text;
    }
    delVariable(nullptr, v);
}

TEST(Defaults, FloatsAndTexts)
{
    DD_VAR_STRUCT* v = createVariable(0);
    v->value = std::malloc(256);
    std::memset(v->value, kStale, 256);
    v->type = DD_FLOAT;
    std::snprintf(v->defaultText, sizeof v->defaultText, "2.5e1x");
    setDefaultValue(v);
    EXPECT_EQ(valueOf<float>(v), 25.0f);
    EXPECT_EQ(static_cast<uint8_t*>(v->value)[4], kStale) << "a float moves 4 bytes";
    v->type = DD_DOUBLE;
    std::snprintf(v->defaultText, sizeof v->defaultText, "0.1");
    setDefaultValue(v);
    EXPECT_EQ(valueOf<double>(v), 0.1);
    std::snprintf(v->defaultText, sizeof v->defaultText, "none");
    setDefaultValue(v);
    EXPECT_EQ(valueOf<double>(v), 0.0);

    v->type = DD_STRING;
    std::memset(v->defaultText, 'd', sizeof v->defaultText); // all 64 bytes, no zero
    std::memset(v->value, kStale, 256);
    EXPECT_EQ(setDefaultValue(v), 0);
    EXPECT_EQ(textOf(v), std::string(64, 'd'));
    EXPECT_EQ(static_cast<uint8_t*>(v->value)[255], 0);

    std::free(v->value);
    v->value = nullptr;
    EXPECT_EQ(setDefaultValue(v), -1);
    EXPECT_EQ(setDefaultValue(nullptr), -1);
    delVariable(nullptr, v);
}

TEST(SymbolCopies, MoveTheWidthOfTheTypeWithLongsWhole)
{
    const struct
    {
        int type;
        int width;
    } widths[] = {{DD_FLOAT, 4}, {DD_DOUBLE, 8}, {DD_CHAR, 1}, {DD_UCHAR, 1}, {DD_SHORT, 2}, {DD_USHORT, 2},
                  {DD_INT, 4},   {DD_UINT, 4},   {DD_LONG, 8}, {DD_ULONG, 8}, {12, 0}};
    DD_VAR_STRUCT* v = createVariable(0);
    v->value = std::malloc(8);
    uint8_t global[8];
    v->symbol = global;
    for (const auto& w : widths) {
        v->type = w.type;
        std::memset(v->value, kStale, 8);
        std::memset(global, 0x55, 8);
        EXPECT_EQ(ddDataGet(v), 0);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(static_cast<uint8_t*>(v->value)[i], i < w.width ? 0x55 : kStale)
                << "get, type " << w.type << " byte " << i;
        std::memset(v->value, kStale, 8);
        EXPECT_EQ(ddDataSet(v), 0);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(global[i], i < w.width ? kStale : 0x55) << "set, type " << w.type << " byte " << i;
    }

    // Texts: at most 255 characters, a zero at index 255 of the target.
    char module[256];
    std::memset(module, 'm', sizeof module);
    std::free(v->value);
    v->value = std::malloc(256);
    v->type = DD_STRING;
    v->symbol = module;
    EXPECT_EQ(ddDataGet(v), 0);
    EXPECT_EQ(textOf(v), std::string(255, 'm'));
    std::snprintf(static_cast<char*>(v->value), 256, "view");
    EXPECT_EQ(ddDataSet(v), 0);
    EXPECT_STREQ(module, "view");
    EXPECT_EQ(module[255], '\0');

    v->symbol = nullptr;
    EXPECT_EQ(ddDataGet(v), -1);
    EXPECT_EQ(ddDataSet(v), -1);
    EXPECT_EQ(ddDataGet(nullptr), -1);
    delVariable(nullptr, v);
}

// Shared-memory entries and datagrams carry 4-byte longs: stored, they are
// sign- or zero-extended; sent, they are cut to their low half.
TEST(WireValues, LongsAreExtendedFromFourBytes)
{
    DD_VAR_STRUCT* v = createVariable(0);
    v->value = std::malloc(8);
    const uint32_t wire = 0xFFFFFFFEu;
    const struct
    {
        int type;
        uint64_t bytes;
    } cases[] = {{DD_LONG, 0xFFFFFFFFFFFFFFFEu},
                 {DD_ULONG, 0x00000000FFFFFFFEu},
                 {DD_INT, 0xAAAAAAAAFFFFFFFEu},
                 {DD_SHORT, 0xAAAAAAAAAAAAFFFEu},
                 {DD_STRING, 0xAAAAAAAAAAAAAAAAu}};
    for (const auto& c : cases) {
        v->type = c.type;
        std::memset(v->value, kStale, 8);
        dorne::storeWire(v, &wire);
        EXPECT_EQ(storageBytes(v), c.bytes) << "type " << c.type;
    }
    EXPECT_EQ(dorne::wireWidth(DD_LONG), 4);
    EXPECT_EQ(dorne::wireWidth(DD_DOUBLE), 8);
    EXPECT_EQ(dorne::valueWidth(DD_ULONG), 8);

    v->type = DD_LONG;
    setValue<int64_t>(v, -5);
    uint32_t out = 0;
    dorne::loadWire(v, &out);
    EXPECT_EQ(out, 0xFFFFFFFBu);
    v->type = DD_ULONG;
    setValue<uint64_t>(v, 0x1234567800000009u);
    dorne::loadWire(v, &out);
    EXPECT_EQ(out, 9u);
    delVariable(nullptr, v);
}

} // namespace
