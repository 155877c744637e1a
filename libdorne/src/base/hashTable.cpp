// HASH_STRUCT: open addressing with linear probing over a prime number of
// slots, keyed by an unsigned integer or by a text.
#include "dorneHash.h"
#include "base/hashLimit.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The sizes a table may take: the numbers below 1,000,000 that survive
// striking the multiples of 2 to 1000, in ascending order. 0 and 1 are never
// struck, so the table reads 0, 1, 2, 3, 5, 7, 11, ..., 999983.
const std::vector<uint32_t>& primeTable()
{
    static const std::vector<uint32_t> primes = [] {
        const uint32_t limit = 1000000;
        std::vector<char> struck(limit, 0);
        for (uint32_t i = 2; i <= 1000; ++i)
            for (uint32_t m = 2 * i; m < limit; m += i)
                struck[m] = 1;
        std::vector<uint32_t> table;
        table.reserve(78500);
        for (uint32_t i = 0; i < limit; ++i)
            if (!struck[i])
                table.push_back(i);
        return table;
    }();
    return primes;
}

// Sizes above this are treated as missing from the prime table; 0 for no
// limit. Tests lower it to reach a table that cannot grow with few entries.
std::atomic<uint32_t> largestSize{0};

// The first table size above n, or 0 when there is none (or no memory for
// the prime table: no exception leaves the library).
uint32_t sizeAbove(uint64_t n)
{
    try {
        const std::vector<uint32_t>& primes = primeTable();
        if (n >= primes.back())
            return 0;
        const uint32_t size = *std::upper_bound(primes.begin(), primes.end(), uint32_t(n));
        const uint32_t limit = largestSize.load(std::memory_order_relaxed);
        return limit != 0 && size > limit ? 0 : size;
    } catch (...) {
        return 0;
    }
}

// A table that could not grow takes entries up to seven eighths of its
// slots: beyond that linear probing walks ever longer runs (a full table
// of 874,193 slots took minutes to fill by name).
bool pastFillLimit(const HASH_STRUCT* table)
{
    return (uint64_t(table->count) + 1) * 8 > uint64_t(table->size) * 7;
}

HASH_SLOT* allocSlots(uint32_t size)
{
    return static_cast<HASH_SLOT*>(std::calloc(size_t(size) + 1, sizeof(HASH_SLOT)));
}

uint32_t intHash(uint32_t key, uint32_t size)
{
    return key % size;
}

// h = (h x 64 + b) mod size for every byte b taken as signed, in unsigned
// 32-bit arithmetic (a byte of 128 or more adds its negative value, wrapping).
// h < size < 2^20 keeps h x 64 + b inside 32 bits.
uint32_t textHash(const char* text, uint32_t size)
{
    uint32_t h = 0;
    for (const char* p = text; *p != '\0'; ++p)
        h = (h * 64u + uint32_t(int32_t(static_cast<signed char>(*p)))) % size;
    return h;
}

void emptySlot(HASH_STRUCT* table, HASH_SLOT& slot)
{
    std::free(slot.text);
    if (table->autoDelete != 0)
        std::free(slot.value);
    slot.key = 0;
    slot.text = nullptr;
    slot.value = nullptr;
}

// Index of the first free slot on the probe path from start, or size when
// every slot is taken.
uint32_t freeSlot(const HASH_STRUCT* table, uint32_t start)
{
    uint32_t i = start;
    for (uint32_t step = 0; step < table->size; ++step) { // bounded by size: a full table ends the probe
        if (table->slots[i].value == nullptr)
            return i;
        if (++i == table->size)
            i = 0;
    }
    return table->size;
}

// Rebuilds the table with more than twice count + 1 slots when an insert
// would load it above two thirds; keeps it as it is when no larger size
// exists or memory runs out (the fill limit then decides).
void growForInsert(HASH_STRUCT* table)
{
    if (uint64_t(table->count + 1) * 3 <= uint64_t(table->size) * 2)
        return;
    const uint32_t size = sizeAbove(2 * (uint64_t(table->count) + 1));
    if (size == 0)
        return;
    HASH_SLOT* slots = allocSlots(size);
    if (slots == nullptr)
        return;
    HASH_SLOT* old = table->slots;
    const uint32_t oldSize = table->size;
    table->slots = slots;
    table->size = size;
    table->count = 0;
    table->vacated = 0;
    for (uint32_t i = 0; i < oldSize; ++i) { // each old entry moves once, text copy included
        HASH_SLOT& s = old[i];
        if (s.value == nullptr)
            continue;
        const uint32_t start = s.text != nullptr ? textHash(s.text, size) : intHash(s.key, size);
        slots[freeSlot(table, start)] = s;
        ++table->count;
    }
    std::free(old);
}

// Index of the first slot on the probe path from start that match accepts,
// or size. The path ends after size steps, or at an empty slot while no
// delete has emptied one on some path (then nothing lies beyond it).
template <typename Match>
uint32_t findSlot(const HASH_STRUCT* table, uint32_t start, Match match)
{
    uint32_t i = start;
    for (uint32_t step = 0; step < table->size; ++step) { // bounded by size
        const HASH_SLOT& s = table->slots[i];
        if (s.value == nullptr) {
            if (table->vacated == 0)
                break;
        } else if (match(s)) {
            return i;
        }
        if (++i == table->size)
            i = 0;
    }
    return table->size;
}

uint32_t findInt(const HASH_STRUCT* table, uint32_t key)
{
    return findSlot(table, intHash(key, table->size),
                    [key](const HASH_SLOT& s) { return s.text == nullptr && s.key == key; });
}

uint32_t findText(const HASH_STRUCT* table, const char* key)
{
    return findSlot(table, textHash(key, table->size),
                    [key](const HASH_SLOT& s) { return s.text != nullptr && std::strcmp(s.text, key) == 0; });
}

int removeAt(HASH_STRUCT* table, uint32_t index)
{
    if (index >= table->size)
        return -1;
    emptySlot(table, table->slots[index]);
    --table->count;
    ++table->vacated;
    return 0;
}

// Clamps before converting: a double beyond int has no defined conversion.
int64_t truncateToInt(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= double(INT_MAX))
        return INT_MAX;
    if (v <= double(INT_MIN))
        return INT_MIN;
    return int64_t(int(v));
}

} // namespace

HASH_STRUCT* mpiHashCreate(unsigned expected)
{
    const uint32_t size = sizeAbove(2 * uint64_t(expected));
    if (size == 0)
        return nullptr;
    HASH_STRUCT* table = static_cast<HASH_STRUCT*>(std::calloc(1, sizeof(HASH_STRUCT)));
    if (table == nullptr)
        return nullptr;
    table->slots = allocSlots(size);
    if (table->slots == nullptr) {
        std::free(table);
        return nullptr;
    }
    table->size = size;
    return table;
}

int mpiHashSetAutoDelete(HASH_STRUCT* table, int flag)
{
    if (table == nullptr)
        return -1;
    table->autoDelete = flag != 0 ? 1 : 0;
    return 0;
}

int mpiHashInsert(HASH_STRUCT* table, unsigned key, void* value)
{
    if (table == nullptr || value == nullptr)
        return -1;
    growForInsert(table);
    if (pastFillLimit(table))
        return -1;
    const uint32_t i = freeSlot(table, intHash(key, table->size));
    if (i == table->size)
        return -1;
    table->slots[i] = HASH_SLOT{key, nullptr, value};
    ++table->count;
    return 0;
}

int mpiHashInsertAscii(HASH_STRUCT* table, const char* key, void* value)
{
    if (table == nullptr || key == nullptr || value == nullptr)
        return -1;
    growForInsert(table);
    if (pastFillLimit(table))
        return -1;
    char* copy = strdup(key);
    if (copy == nullptr)
        return -1;
    const uint32_t i = freeSlot(table, textHash(key, table->size));
    if (i == table->size) {
        std::free(copy);
        return -1;
    }
    table->slots[i] = HASH_SLOT{0, copy, value};
    ++table->count;
    return 0;
}

void* mpiHashSearch(HASH_STRUCT* table, unsigned key)
{
    if (table == nullptr)
        return nullptr;
    const uint32_t i = findInt(table, key);
    return i < table->size ? table->slots[i].value : nullptr;
}

void* mpiHashSearchAscii(HASH_STRUCT* table, const char* key)
{
    if (table == nullptr || key == nullptr)
        return nullptr;
    const uint32_t i = findText(table, key);
    return i < table->size ? table->slots[i].value : nullptr;
}

int mpiHashDelete(HASH_STRUCT* table, unsigned key)
{
    if (table == nullptr)
        return -1;
    return removeAt(table, findInt(table, key));
}

int mpiHashDeleteAscii(HASH_STRUCT* table, const char* key)
{
    if (table == nullptr || key == nullptr)
        return -1;
    return removeAt(table, findText(table, key));
}

int mpiHashClear(HASH_STRUCT* table)
{
    if (table == nullptr)
        return -1;
    for (uint32_t i = 0; i <= table->size; ++i)
        emptySlot(table, table->slots[i]);
    table->count = 0;
    table->vacated = 0;
    return 0;
}

int mpiHashRemove(HASH_STRUCT* table)
{
    if (table == nullptr)
        return -1;
    mpiHashClear(table);
    std::free(table->slots);
    std::free(table);
    return 0;
}

unsigned mpiHashLimitSize(unsigned slots)
{
    return largestSize.exchange(slots, std::memory_order_relaxed);
}

unsigned mpiHashCalcKey(double a, double b)
{
    const int64_t key = (truncateToInt(a) + 90) * 1000 + (truncateToInt(b) + 180);
    return unsigned(uint64_t(key));
}

unsigned mpiHashCalcAsciiKey(const char* text)
{
    (void)text;
    return 0;
}
