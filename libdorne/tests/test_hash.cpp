// HASH_STRUCT: sizes from the prime table, growth points, slot contents read
// through the record, duplicate keys, deletes along probe paths, integer key
// 0, the fill limit of a table that cannot grow, auto-delete.
#include "dorneHash.h"
#include "hashSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#else
#include <malloc.h>
#endif

using namespace support;

namespace {

uint32_t textHash(const std::string& s, uint32_t size)
{
    uint32_t h = 0;
    for (char c : s)
        h = (h * 64u + uint32_t(int32_t(static_cast<signed char>(c)))) % size;
    return h;
}

TEST(Hash, CreationSizesComeFromThePrimeTable)
{
    const struct { unsigned expected; uint32_t size; } cases[] = {
        {0, 1}, {1, 3}, {2, 5}, {3, 7}, {4, 11}, {50, 101}, {1000, 2003}, {499991, 999983},
    };
    for (const auto& c : cases) {
        Table t(c.expected);
        ASSERT_NE(t.t, nullptr) << c.expected;
        EXPECT_EQ(t->size, c.size) << c.expected;
        EXPECT_EQ(t->count, 0u);
        EXPECT_EQ(t->autoDelete, 0u);
        for (uint32_t i = 0; i <= t->size; ++i)
            ASSERT_TRUE(t->slots[i].key == 0 && t->slots[i].text == nullptr && t->slots[i].value == nullptr);
    }
    EXPECT_EQ(mpiHashCreate(499992), nullptr);
    EXPECT_EQ(mpiHashCreate(4000000000u), nullptr);
    EXPECT_EQ(mpiHashRemove(nullptr), -1);
}

TEST(Hash, GrowsBeforeAnInsertThatWouldPassTwoThirds)
{
    Table t(0);
    const uint32_t sizes[] = {3, 3, 7, 7, 11};
    for (unsigned i = 0; i < 5; ++i) {
        ASSERT_EQ(mpiHashInsert(t, 100 + i, V(i)), 0);
        EXPECT_EQ(t->size, sizes[i]) << "insert " << i + 1;
        EXPECT_EQ(t->count, i + 1);
    }
    // Slot contents after the last rebuild to 11: keys 100..104 land at
    // key % 11 = 1..5, in order.
    for (unsigned i = 0; i < 5; ++i) {
        const HASH_SLOT& s = t->slots[(100 + i) % 11];
        EXPECT_EQ(s.key, 100 + i);
        EXPECT_EQ(s.text, nullptr);
        EXPECT_EQ(s.value, V(i));
    }

    Table big(50);
    for (unsigned i = 0; i < 67; ++i)
        ASSERT_EQ(mpiHashInsert(big, i * 7, V(0)), 0);
    EXPECT_EQ(big->size, 101u) << "67 entries fit";
    ASSERT_EQ(mpiHashInsert(big, 9999, V(1)), 0);
    EXPECT_EQ(big->size, 137u) << "the 68th rebuilds";
    EXPECT_EQ(big->count, 68u);
    for (unsigned i = 0; i < 67; ++i)
        ASSERT_EQ(mpiHashSearch(big, i * 7), V(0));
    EXPECT_EQ(mpiHashSearch(big, 9999), V(1));
}

TEST(Hash, TextKeysHashBySignedBytesAndAreCopied)
{
    Table t(50);
    std::string ab = "ab";
    ASSERT_EQ(mpiHashInsertAscii(t, ab.c_str(), V(0)), 0);
    ASSERT_EQ(mpiHashInsertAscii(t, "ba", V(1)), 0);
    ASSERT_EQ(mpiHashInsertAscii(t, "\xC3\xA9", V(2)), 0);
    EXPECT_EQ((97u * 64 + 98) % 101, 44u);
    EXPECT_STREQ(t->slots[44].text, "ab");
    EXPECT_EQ(t->slots[44].key, 0u);
    EXPECT_NE(t->slots[44].text, ab.c_str()) << "an owned copy";
    EXPECT_STREQ(t->slots[(98u * 64 + 97) % 101].text, "ba");
    // 0xC3 adds -61: (0 - 61) wraps to 2^32 - 61 before the modulo.
    const uint32_t h = ((uint32_t(0) - 61u) % 101 * 64u + (uint32_t(0) - 87u)) % 101;
    EXPECT_EQ(h, textHash("\xC3\xA9", 101));
    EXPECT_STREQ(t->slots[h].text, "\xC3\xA9");
    ab[0] = 'x';
    EXPECT_EQ(mpiHashSearchAscii(t, "ab"), V(0));
    EXPECT_EQ(mpiHashSearchAscii(t, "ba"), V(1));
    EXPECT_EQ(mpiHashSearchAscii(t, "\xC3\xA9"), V(2));
    EXPECT_EQ(mpiHashSearchAscii(t, "AB"), nullptr) << "case-sensitive";
    EXPECT_EQ(mpiHashSearchAscii(t, "xb"), nullptr);
}

TEST(Hash, DuplicateKeysAreHeldTwice)
{
    Table t(10);
    ASSERT_EQ(mpiHashInsert(t, 7, V(0)), 0);
    ASSERT_EQ(mpiHashInsert(t, 7, V(1)), 0);
    ASSERT_EQ(mpiHashInsertAscii(t, "x", V(2)), 0);
    ASSERT_EQ(mpiHashInsertAscii(t, "x", V(3)), 0);
    EXPECT_EQ(t->count, 4u);
    EXPECT_EQ(mpiHashSearch(t, 7), V(0)) << "the first on the probe path";
    EXPECT_EQ(mpiHashSearchAscii(t, "x"), V(2));
    EXPECT_EQ(mpiHashDelete(t, 7), 0);
    EXPECT_EQ(mpiHashSearch(t, 7), V(1));
    EXPECT_EQ(mpiHashDeleteAscii(t, "x"), 0);
    EXPECT_EQ(mpiHashSearchAscii(t, "x"), V(3)) << "a deleted text key hides nothing behind it";
    EXPECT_EQ(mpiHashDelete(t, 7), 0);
    EXPECT_EQ(mpiHashDeleteAscii(t, "x"), 0);
    EXPECT_EQ(mpiHashDelete(t, 7), -1);
    EXPECT_EQ(mpiHashDeleteAscii(t, "x"), -1);
    EXPECT_EQ(t->count, 0u);
}

TEST(Hash, DeletedKeysLeaveTheirProbePathsIntact)
{
    // Integer keys 5, 106, 207 share slot 5 of 101 and take 5, 6, 7.
    Table t(50);
    for (unsigned k : {5u, 106u, 207u})
        ASSERT_EQ(mpiHashInsert(t, k, V(int(k % 7))), 0);
    EXPECT_EQ(t->slots[6].key, 106u);
    ASSERT_EQ(mpiHashDelete(t, 106), 0);
    const HASH_SLOT& hole = t->slots[6];
    EXPECT_TRUE(hole.key == 0 && hole.text == nullptr && hole.value == nullptr) << "a deleted slot is empty";
    EXPECT_EQ(mpiHashSearch(t, 106), nullptr);
    EXPECT_EQ(mpiHashSearch(t, 207), V(207 % 7));
    EXPECT_EQ(mpiHashSearch(t, 5), V(5 % 7));

    // "ab" and "b\"" share slot 44 of 101.
    ASSERT_EQ(textHash("b\"", 101), 44u);
    ASSERT_EQ(mpiHashInsertAscii(t, "ab", V(0)), 0);
    ASSERT_EQ(mpiHashInsertAscii(t, "b\"", V(1)), 0);
    EXPECT_STREQ(t->slots[45].text, "b\"");
    ASSERT_EQ(mpiHashDeleteAscii(t, "ab"), 0);
    EXPECT_EQ(t->slots[44].text, nullptr);
    EXPECT_EQ(mpiHashSearchAscii(t, "b\""), V(1));
    EXPECT_EQ(mpiHashSearchAscii(t, "ab"), nullptr);
    EXPECT_EQ(mpiHashDeleteAscii(t, "b\""), 0);

    // The hole is reused by the next insert on that path.
    ASSERT_EQ(mpiHashInsert(t, 308, V(2)), 0);
    EXPECT_EQ(t->slots[6].key, 308u);
}

TEST(Hash, IntegerKeyZeroIsUsable)
{
    Table t(4);
    EXPECT_EQ(mpiHashSearch(t, 0), nullptr) << "empty slots hold key 0 but no entry";
    EXPECT_EQ(mpiHashDelete(t, 0), -1);
    ASSERT_EQ(mpiHashInsertAscii(t, "", V(1)), 0) << "a text slot also has key 0";
    EXPECT_EQ(mpiHashSearch(t, 0), nullptr);
    ASSERT_EQ(mpiHashInsert(t, 0, V(0)), 0);
    EXPECT_EQ(mpiHashSearch(t, 0), V(0));
    EXPECT_EQ(mpiHashSearchAscii(t, ""), V(1));
    EXPECT_EQ(mpiHashDelete(t, 0), 0);
    EXPECT_EQ(mpiHashSearch(t, 0), nullptr);
    EXPECT_EQ(mpiHashSearchAscii(t, ""), V(1));
}

TEST(Hash, ATableThatCannotGrowStopsAtSevenEighths)
{
    // The largest table: no prime lies above twice its count once it is two
    // thirds full, so only the fill limit ends it.
    Table t(499991);
    ASSERT_NE(t.t, nullptr);
    const uint32_t size = t->size;
    ASSERT_EQ(size, 999983u);
    const uint32_t limit = 874985; // floor(999,983 x 7 / 8)
    for (uint32_t k = 0; k < limit; ++k) // key k lands in slot k
        ASSERT_EQ(mpiHashInsert(t, k, V(0)), 0) << k;
    EXPECT_EQ(mpiHashInsert(t, limit, V(1)), -1);
    EXPECT_EQ(mpiHashInsertAscii(t, "full", V(1)), -1);
    EXPECT_EQ(t->size, size);
    EXPECT_EQ(t->count, limit);
    EXPECT_EQ(mpiHashSearch(t, limit), nullptr);
    EXPECT_EQ(mpiHashSearchAscii(t, "full"), nullptr);
    EXPECT_EQ(mpiHashSearch(t, limit - 1), V(0));
    ASSERT_EQ(mpiHashDelete(t, 17), 0);
    EXPECT_EQ(mpiHashInsertAscii(t, "full", V(1)), 0) << "room again after a delete";
    EXPECT_EQ(mpiHashSearchAscii(t, "full"), V(1));
    EXPECT_EQ(mpiHashInsertAscii(t, "fuller", V(1)), -1);
    EXPECT_EQ(mpiHashSearch(t, size), nullptr) << "a miss after a delete probes the whole table";
}

bool isFreed(void* p, size_t size, long heapBefore)
{
#if defined(__SANITIZE_ADDRESS__)
    (void)size;
    (void)heapBefore;
    return __asan_address_is_poisoned(p) != 0;
#else
    (void)p;
    return long(mallinfo2().uordblks) <= heapBefore - long(size);
#endif
}

long heapInUse()
{
#if defined(__SANITIZE_ADDRESS__)
    return 0;
#else
    return long(mallinfo2().uordblks);
#endif
}

TEST(Hash, AutoDeleteFreesValuesOnlyWhenSet)
{
    const size_t kSize = 4096;
    Table t(8);
    void* kept = std::malloc(kSize);
    ASSERT_EQ(mpiHashInsert(t, 1, kept), 0);
    long before = heapInUse();
    ASSERT_EQ(mpiHashDelete(t, 1), 0);
    EXPECT_FALSE(isFreed(kept, kSize, before)) << "without auto-delete the caller owns the value";
    std::memset(kept, 0, kSize);
    std::free(kept);

    ASSERT_EQ(mpiHashSetAutoDelete(t, 5), 0);
    EXPECT_EQ(t->autoDelete, 1u);
    void* owned = std::malloc(kSize);
    ASSERT_EQ(mpiHashInsertAscii(t, "owned", owned), 0);
    before = heapInUse();
    ASSERT_EQ(mpiHashDeleteAscii(t, "owned"), 0);
    EXPECT_TRUE(isFreed(owned, kSize, before));

    void* cleared = std::malloc(kSize);
    ASSERT_EQ(mpiHashInsert(t, 2, cleared), 0);
    before = heapInUse();
    ASSERT_EQ(mpiHashClear(t), 0);
    EXPECT_TRUE(isFreed(cleared, kSize, before));
    EXPECT_EQ(t->count, 0u);
    EXPECT_EQ(mpiHashSetAutoDelete(nullptr, 1), -1);
}

TEST(Hash, NullArgumentsAreRefused)
{
    Table t(2);
    EXPECT_EQ(mpiHashInsert(nullptr, 1, V(0)), -1);
    EXPECT_EQ(mpiHashInsert(t, 1, nullptr), -1) << "a null value would leave a slot that looks free";
    EXPECT_EQ(mpiHashInsertAscii(t, nullptr, V(0)), -1);
    EXPECT_EQ(mpiHashInsertAscii(t, "a", nullptr), -1);
    EXPECT_EQ(t->count, 0u);
    EXPECT_EQ(mpiHashSearch(nullptr, 1), nullptr);
    EXPECT_EQ(mpiHashSearchAscii(t, nullptr), nullptr);
    EXPECT_EQ(mpiHashDelete(nullptr, 1), -1);
    EXPECT_EQ(mpiHashDeleteAscii(t, nullptr), -1);
    EXPECT_EQ(mpiHashClear(nullptr), -1);
}

TEST(Hash, KeyHelpers)
{
    EXPECT_EQ(mpiHashCalcKey(47.9, 11.2), unsigned((47 + 90) * 1000 + (11 + 180)));
    EXPECT_EQ(mpiHashCalcKey(-33.9, -70.7), unsigned((-33 + 90) * 1000 + (-70 + 180)));
    EXPECT_EQ(mpiHashCalcKey(0.0, 0.0), 90180u);
    mpiHashCalcKey(1e300, -1e300); // beyond int: defined, no crash
    mpiHashCalcKey(0.0 / 0.0, 1.0);
    EXPECT_EQ(mpiHashCalcAsciiKey("anything"), 0u);
    EXPECT_EQ(mpiHashCalcAsciiKey(nullptr), 0u);
}

} // namespace
