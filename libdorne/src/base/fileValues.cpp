// Big-endian values and fixed-length texts of the view files.
#include "dorneFiles.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace {

bool readBytes(FILE* file, unsigned char (&b)[4])
{
    return file != nullptr && std::fread(b, 1, 4, file) == 4;
}

uint32_t fromBigEndian(const unsigned char (&b)[4])
{
    return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | uint32_t(b[3]);
}

} // namespace

int VGetFInt(FILE* file)
{
    unsigned char b[4];
    if (!readBytes(file, b))
        return -1;
    const uint32_t u = fromBigEndian(b);
    int32_t v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

float VGetFFloat(FILE* file)
{
    unsigned char b[4];
    if (!readBytes(file, b))
        return 0.0f;
    const uint32_t u = fromBigEndian(b);
    float v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

void VGetFString(char* field, FILE* file, int n)
{
    if (field == nullptr || file == nullptr || n <= 0)
        return;
    // Zeroed scratch: bytes missing at the end of the file read as zero.
    std::unique_ptr<char[]> scratch(new (std::nothrow) char[size_t(n)]());
    if (!scratch)
        return;
    (void)std::fread(scratch.get(), 1, size_t(n), file);
    std::memcpy(field, scratch.get(), size_t(n));
    field[n - 1] = '\0';
}

int VPutFString(const char* field, FILE* file, int n)
{
    if (field == nullptr || file == nullptr || n < 0)
        return 0;
    return std::fwrite(field, 1, size_t(n), file) == size_t(n) ? 1 : 0;
}

int VPutFInt(int value, FILE* file)
{
    if (file == nullptr)
        return 0;
    uint32_t u;
    std::memcpy(&u, &value, sizeof u);
    const unsigned char b[4] = {static_cast<unsigned char>(u >> 24), static_cast<unsigned char>(u >> 16),
                                static_cast<unsigned char>(u >> 8), static_cast<unsigned char>(u)};
    return std::fwrite(b, 1, 4, file) == 4 ? 1 : 0;
}

int VPutFFloat(float value, FILE* file)
{
    int bits;
    std::memcpy(&bits, &value, sizeof bits);
    return VPutFInt(bits, file);
}
