// MD5 message digest (RFC 1321) and the digest value used as a map key.
#include "xml/Md5.h"

#include <cstring>
#include <iostream>

namespace dorne {

namespace {

const unsigned kChunk = 1024;

inline uint32_t rotl(uint32_t x, int n)
{
    return (x << n) | (x >> (32 - n));
}

inline uint32_t load32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline void store32(unsigned char* p, uint32_t x)
{
    p[0] = static_cast<unsigned char>(x);
    p[1] = static_cast<unsigned char>(x >> 8);
    p[2] = static_cast<unsigned char>(x >> 16);
    p[3] = static_cast<unsigned char>(x >> 24);
}

inline uint32_t F(uint32_t x, uint32_t y, uint32_t z) { return (x & y) | (~x & z); }
inline uint32_t G(uint32_t x, uint32_t y, uint32_t z) { return (x & z) | (y & ~z); }
inline uint32_t H(uint32_t x, uint32_t y, uint32_t z) { return x ^ y ^ z; }
inline uint32_t I(uint32_t x, uint32_t y, uint32_t z) { return y ^ (x | ~z); }

#define MD5_STEP(f, a, b, c, d, x, s, ac) \
    (a) = rotl((a) + f((b), (c), (d)) + (x) + uint32_t(ac), (s)) + (b)

} // namespace

// Md5Hash -------------------------------------------------------------------

void Md5Hash::setHash(const unsigned char* bytes)
{
    if (bytes != nullptr)
        std::memcpy(bytes_, bytes, sizeof bytes_);
}

bool Md5Hash::operator==(const Md5Hash& other) const
{
    return std::memcmp(bytes_, other.bytes_, sizeof bytes_) == 0;
}

bool Md5Hash::operator<(const Md5Hash& other) const
{
    // memcmp compares as unsigned char: the other's lower bytes come first.
    return std::memcmp(other.bytes_, bytes_, sizeof bytes_) < 0;
}

// Md5 -------------------------------------------------------------------------

Md5::Md5()
{
    init();
}

Md5::Md5(std::istream& stream)
{
    init();
    update(stream);
    finalize();
}

Md5::Md5(std::ifstream& stream)
{
    init();
    update(stream);
    finalize();
}

Md5::Md5(FILE* file)
{
    init();
    update(file);
    finalize();
}

void Md5::init()
{
    finalized = false;
    count[0] = count[1] = 0;
    state[0] = 0x67452301;
    state[1] = 0xefcdab89;
    state[2] = 0x98badcfe;
    state[3] = 0x10325476;
    std::memset(buffer, 0, sizeof buffer);
    std::memset(digest, 0, sizeof digest);
}

void Md5::update(const unsigned char* data, unsigned length)
{
    if (finalized) {
        std::cerr << "Md5::update:  Can't update a finalized digest!" << std::endl;
        return;
    }
    if (data == nullptr || length == 0)
        return;
    unsigned index = (count[0] >> 3) & 0x3f;
    // The bit count is kept modulo 2^64, as the standard appends it.
    const uint32_t bits = uint32_t(length) << 3;
    count[0] += bits;
    if (count[0] < bits)
        ++count[1];
    count[1] += uint32_t(length) >> 29;

    const unsigned space = 64 - index;
    unsigned i = 0;
    if (length >= space) {
        std::memcpy(buffer + index, data, space);
        transform(buffer);
        for (i = space; i + 63 < length; i += 64)
            transform(data + i);
        index = 0;
    }
    std::memcpy(buffer + index, data + i, length - i);
}

void Md5::update(std::istream& stream)
{
    unsigned char chunk[kChunk];
    while (stream.good()) {
        stream.read(reinterpret_cast<char*>(chunk), kChunk);
        const std::streamsize n = stream.gcount();
        if (n > 0)
            update(chunk, unsigned(n));
    }
}

void Md5::update(std::ifstream& stream)
{
    update(static_cast<std::istream&>(stream));
}

void Md5::update(FILE* file)
{
    if (file == nullptr)
        return;
    unsigned char chunk[kChunk];
    size_t n;
    while ((n = std::fread(chunk, 1, kChunk, file)) > 0)
        update(chunk, unsigned(n));
    std::fclose(file);
}

void Md5::finalize()
{
    if (finalized) {
        std::cerr << "Md5::finalize:  Already finalized this digest!" << std::endl;
        return;
    }
    unsigned char bits[8];
    store32(bits, count[0]);
    store32(bits + 4, count[1]);
    static const unsigned char padding[64] = {0x80};
    const unsigned index = (count[0] >> 3) & 0x3f;
    const unsigned padLength = index < 56 ? 56 - index : 120 - index;
    update(padding, padLength);
    update(bits, 8);
    for (int i = 0; i < 4; ++i)
        store32(digest + 4 * i, state[i]);
    std::memset(buffer, 0, sizeof buffer);
    finalized = true;
}

unsigned char* Md5::raw_digest()
{
    if (!finalized) {
        std::cerr << "Md5::raw_digest:  Can't get digest if you haven't "
                  << "finalized the digest!" << std::endl;
        return nullptr;
    }
    unsigned char* bytes = new unsigned char[16];
    std::memcpy(bytes, digest, 16);
    return bytes;
}

std::string Md5::hex_digest()
{
    if (!finalized) {
        std::cerr << "Md5::hex_digest:  Can't get digest if you haven't "
                  << "finalized the digest!" << std::endl;
        return std::string();
    }
    static const char digits[] = "0123456789abcdef";
    std::string text(32, '0');
    for (int i = 0; i < 16; ++i) {
        text[2 * i] = digits[digest[i] >> 4];
        text[2 * i + 1] = digits[digest[i] & 15];
    }
    return text;
}

Md5Hash Md5::getMd5(const unsigned char* data, unsigned length)
{
    init();
    update(data, length);
    finalize();
    Md5Hash hash;
    hash.setHash(digest);
    return hash;
}

void Md5::transform(const unsigned char block[64])
{
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = load32(block + 4 * i);

    MD5_STEP(F, a, b, c, d, x[0], 7, 0xd76aa478);
    MD5_STEP(F, d, a, b, c, x[1], 12, 0xe8c7b756);
    MD5_STEP(F, c, d, a, b, x[2], 17, 0x242070db);
    MD5_STEP(F, b, c, d, a, x[3], 22, 0xc1bdceee);
    MD5_STEP(F, a, b, c, d, x[4], 7, 0xf57c0faf);
    MD5_STEP(F, d, a, b, c, x[5], 12, 0x4787c62a);
    MD5_STEP(F, c, d, a, b, x[6], 17, 0xa8304613);
    MD5_STEP(F, b, c, d, a, x[7], 22, 0xfd469501);
    MD5_STEP(F, a, b, c, d, x[8], 7, 0x698098d8);
    MD5_STEP(F, d, a, b, c, x[9], 12, 0x8b44f7af);
    MD5_STEP(F, c, d, a, b, x[10], 17, 0xffff5bb1);
    MD5_STEP(F, b, c, d, a, x[11], 22, 0x895cd7be);
    MD5_STEP(F, a, b, c, d, x[12], 7, 0x6b901122);
    MD5_STEP(F, d, a, b, c, x[13], 12, 0xfd987193);
    MD5_STEP(F, c, d, a, b, x[14], 17, 0xa679438e);
    MD5_STEP(F, b, c, d, a, x[15], 22, 0x49b40821);

    MD5_STEP(G, a, b, c, d, x[1], 5, 0xf61e2562);
    MD5_STEP(G, d, a, b, c, x[6], 9, 0xc040b340);
    MD5_STEP(G, c, d, a, b, x[11], 14, 0x265e5a51);
    MD5_STEP(G, b, c, d, a, x[0], 20, 0xe9b6c7aa);
    MD5_STEP(G, a, b, c, d, x[5], 5, 0xd62f105d);
    MD5_STEP(G, d, a, b, c, x[10], 9, 0x02441453);
    MD5_STEP(G, c, d, a, b, x[15], 14, 0xd8a1e681);
    MD5_STEP(G, b, c, d, a, x[4], 20, 0xe7d3fbc8);
    MD5_STEP(G, a, b, c, d, x[9], 5, 0x21e1cde6);
    MD5_STEP(G, d, a, b, c, x[14], 9, 0xc33707d6);
    MD5_STEP(G, c, d, a, b, x[3], 14, 0xf4d50d87);
    MD5_STEP(G, b, c, d, a, x[8], 20, 0x455a14ed);
    MD5_STEP(G, a, b, c, d, x[13], 5, 0xa9e3e905);
    MD5_STEP(G, d, a, b, c, x[2], 9, 0xfcefa3f8);
    MD5_STEP(G, c, d, a, b, x[7], 14, 0x676f02d9);
    MD5_STEP(G, b, c, d, a, x[12], 20, 0x8d2a4c8a);

    MD5_STEP(H, a, b, c, d, x[5], 4, 0xfffa3942);
    MD5_STEP(H, d, a, b, c, x[8], 11, 0x8771f681);
    MD5_STEP(H, c, d, a, b, x[11], 16, 0x6d9d6122);
    MD5_STEP(H, b, c, d, a, x[14], 23, 0xfde5380c);
    MD5_STEP(H, a, b, c, d, x[1], 4, 0xa4beea44);
    MD5_STEP(H, d, a, b, c, x[4], 11, 0x4bdecfa9);
    MD5_STEP(H, c, d, a, b, x[7], 16, 0xf6bb4b60);
    MD5_STEP(H, b, c, d, a, x[10], 23, 0xbebfbc70);
    MD5_STEP(H, a, b, c, d, x[13], 4, 0x289b7ec6);
    MD5_STEP(H, d, a, b, c, x[0], 11, 0xeaa127fa);
    MD5_STEP(H, c, d, a, b, x[3], 16, 0xd4ef3085);
    MD5_STEP(H, b, c, d, a, x[6], 23, 0x04881d05);
    MD5_STEP(H, a, b, c, d, x[9], 4, 0xd9d4d039);
    MD5_STEP(H, d, a, b, c, x[12], 11, 0xe6db99e5);
    MD5_STEP(H, c, d, a, b, x[15], 16, 0x1fa27cf8);
    MD5_STEP(H, b, c, d, a, x[2], 23, 0xc4ac5665);

    MD5_STEP(I, a, b, c, d, x[0], 6, 0xf4292244);
    MD5_STEP(I, d, a, b, c, x[7], 10, 0x432aff97);
    MD5_STEP(I, c, d, a, b, x[14], 15, 0xab9423a7);
    MD5_STEP(I, b, c, d, a, x[5], 21, 0xfc93a039);
    MD5_STEP(I, a, b, c, d, x[12], 6, 0x655b59c3);
    MD5_STEP(I, d, a, b, c, x[3], 10, 0x8f0ccc92);
    MD5_STEP(I, c, d, a, b, x[10], 15, 0xffeff47d);
    MD5_STEP(I, b, c, d, a, x[1], 21, 0x85845dd1);
    MD5_STEP(I, a, b, c, d, x[8], 6, 0x6fa87e4f);
    MD5_STEP(I, d, a, b, c, x[15], 10, 0xfe2ce6e0);
    MD5_STEP(I, c, d, a, b, x[6], 15, 0xa3014314);
    MD5_STEP(I, b, c, d, a, x[13], 21, 0x4e0811a1);
    MD5_STEP(I, a, b, c, d, x[4], 6, 0xf7537e82);
    MD5_STEP(I, d, a, b, c, x[11], 10, 0xbd3af235);
    MD5_STEP(I, c, d, a, b, x[2], 15, 0x2ad7d2bb);
    MD5_STEP(I, b, c, d, a, x[9], 21, 0xeb86d391);

    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

std::string getMd5(std::ifstream& stream)
{
    Md5 md5(stream);
    return md5.hex_digest();
}

bool filesMatch(std::ifstream& stream, std::string digest)
{
    return getMd5(stream) == digest;
}

} // namespace dorne
