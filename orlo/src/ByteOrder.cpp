#include "ByteOrder.h"

#include <cstring>

namespace {

bool gDecided = false;
bool gSwap = false;

inline void reverse(unsigned char* b, int n)
{
    for (int i = 0, j = n - 1; i < j; ++i, --j) {
        unsigned char t = b[i];
        b[i] = b[j];
        b[j] = t;
    }
}

inline void swapIfNeeded(void* p, int n)
{
    if (!gDecided)
        checkEndian();
    if (gSwap)
        reverse(static_cast<unsigned char*>(p), n);
}

template <typename T>
T getBigEndian(const void* p)
{
    unsigned char b[sizeof(T)];
    std::memcpy(b, p, sizeof(T));
    swapIfNeeded(b, sizeof(T));
    T v;
    std::memcpy(&v, b, sizeof(T));
    return v;
}

template <typename T>
void putBigEndian(T value, void* p)
{
    unsigned char b[sizeof(T)];
    std::memcpy(b, &value, sizeof(T));
    swapIfNeeded(b, sizeof(T));
    std::memcpy(p, b, sizeof(T));
}

} // namespace

void checkEndian()
{
    const uint16_t probe = 1;
    unsigned char first;
    std::memcpy(&first, &probe, 1);
    gSwap = (first == 1); // little-endian host: big-endian file values are reversed
    gDecided = true;
}

void swap2(void* p) { swapIfNeeded(p, 2); }
void swap4(void* p) { swapIfNeeded(p, 4); }
void swap8(void* p) { swapIfNeeded(p, 8); }

int16_t gs(const void* p) { return getBigEndian<int16_t>(p); }
int32_t gi(const void* p) { return getBigEndian<int32_t>(p); }
float gf(const void* p) { return getBigEndian<float>(p); }
double gd(const void* p) { return getBigEndian<double>(p); }

void ps(int16_t value, void* p) { putBigEndian(value, p); }
void pi(int32_t value, void* p) { putBigEndian(value, p); }
void pf(float value, void* p) { putBigEndian(value, p); }
void pd(double value, void* p) { putBigEndian(value, p); }

void SWAP(void* p, int n)
{
    if (p == nullptr || n < 0 || n > 8)
        return;
    reverse(static_cast<unsigned char*>(p), n);
}

void SWAP2(void* p) { SWAP(p, 2); }
void SWAP4(void* p) { SWAP(p, 4); }
void SWAP8(void* p) { SWAP(p, 8); }
