// Base64 encoding and decoding for the XML view file.
#include "xml/Base64.h"

#include <climits>
#include <cstdint>

namespace dorne {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int kPad = 80;
constexpr int kOther = 100;

// Character to value, built once at compile time.
struct Values
{
    unsigned char v[256];
    constexpr Values() : v()
    {
        for (int i = 0; i < 256; ++i)
            v[i] = kOther;
        for (int i = 0; i < 64; ++i)
            v[static_cast<unsigned char>(kAlphabet[i])] = static_cast<unsigned char>(i);
        v[static_cast<unsigned char>('=')] = kPad;
    }
};
constexpr Values kValues;

inline int value(char c)
{
    return kValues.v[static_cast<unsigned char>(c)];
}

} // namespace

int Base64::getSize(int count) const
{
    if (count <= 0)
        return 0;
    const int64_t size = 4 * ((int64_t(count) + 2) / 3);
    return size > INT_MAX ? -1 : int(size);
}

int Base64::encode(const unsigned char* source, char* destination, int length, int groupsPerLine) const
{
    if (source == nullptr || destination == nullptr || length <= 0 || getSize(length) < 0)
        return 0;
    char* out = destination;
    int groups = 0;
    int i = 0;
    for (; i + 3 <= length; i += 3) {
        const unsigned n = unsigned(source[i]) << 16 | unsigned(source[i + 1]) << 8 | source[i + 2];
        out[0] = kAlphabet[n >> 18];
        out[1] = kAlphabet[(n >> 12) & 63];
        out[2] = kAlphabet[(n >> 6) & 63];
        out[3] = kAlphabet[n & 63];
        out += 4;
        if (groupsPerLine > 0 && ++groups == groupsPerLine) {
            *out++ = '\n';
            groups = 0;
        }
    }
    const int rest = length - i;
    if (rest > 0) {
        const unsigned n = unsigned(source[i]) << 16 | (rest == 2 ? unsigned(source[i + 1]) << 8 : 0u);
        out[0] = kAlphabet[n >> 18];
        out[1] = kAlphabet[(n >> 12) & 63];
        out[2] = rest == 2 ? kAlphabet[(n >> 6) & 63] : '=';
        out[3] = '=';
        out += 4;
    }
    return int(out - destination);
}

int Base64::decode(const char* source, unsigned char* destination, int length) const
{
    if (source == nullptr || destination == nullptr || length <= 0)
        return 0;
    unsigned char* out = destination;
    int pos = 0;
    while (length - pos >= 4) {
        int v[4];
        int found = 0;
        while (found < 4 && pos < length) {
            const int x = value(source[pos++]);
            if (x != kOther)
                v[found++] = x;
        }
        if (found < 4)
            return -1;
        if (v[0] < 64 && v[1] < 64) {
            *out++ = static_cast<unsigned char>(v[0] << 2 | v[1] >> 4);
            if (v[2] < 64) {
                *out++ = static_cast<unsigned char>((v[1] << 4 | v[2] >> 2) & 0xff);
                if (v[3] < 64)
                    *out++ = static_cast<unsigned char>((v[2] << 6 | v[3]) & 0xff);
            }
        }
        if (v[3] == kPad)
            break;
    }
    return int(out - destination);
}

int Base64::strip(char* text, int length) const
{
    if (text == nullptr || length <= 0)
        return 0;
    int kept = 0;
    for (int i = 0; i < length; ++i)
        if (value(text[i]) != kOther)
            text[kept++] = text[i];
    return kept;
}

char Base64::ntc(int v) const
{
    return v >= 0 && v < 64 ? kAlphabet[v] : '=';
}

int Base64::ctn(char c) const
{
    return value(c);
}

} // namespace dorne
