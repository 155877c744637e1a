// MD5 of RFC 1321, and the 16-byte digest value that keys the definition
// maps of the XML view file. Misuse (update or finalize after finalize, a
// digest before finalize) is reported on standard error and otherwise does
// nothing; nothing throws.
#ifndef DORNE_XML_MD5_H
#define DORNE_XML_MD5_H

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <istream>
#include <string>

namespace dorne {

// 16 bytes of digest. Ordered maps keyed by it keep their keys in
// descending byte order (operator< is true when the other's bytes are lower).
class Md5Hash
{
public:
    Md5Hash() {} // bytes unset (zero) until setHash
    // Copies 16 bytes; a null pointer does nothing.
    void setHash(const unsigned char* bytes);
    const unsigned char* hash() const { return bytes_; }
    bool operator==(const Md5Hash& other) const;
    // True when other's bytes compare lower than this one's (bytewise,
    // unsigned, the first differing byte decides).
    bool operator<(const Md5Hash& other) const;

private:
    unsigned char bytes_[16] = {};
};

class Md5
{
public:
    // Ready to take data.
    Md5();
    // Digest of everything the stream yields, finalized.
    explicit Md5(std::istream& stream);
    explicit Md5(std::ifstream& stream);
    // Digest of the whole file, finalized; the file is closed (a null file
    // gives the digest of nothing).
    explicit Md5(FILE* file);

    // Adds data (in pieces of any size).
    void update(const unsigned char* data, unsigned length);
    // Reads the stream in chunks of 1024 bytes while it is good.
    void update(std::istream& stream);
    void update(std::ifstream& stream);
    // Reads the file in chunks of 1024 bytes to its end, then closes it.
    void update(FILE* file);

    // Pads, appends the bit length and stores the digest.
    void finalize();

    // A new[] array of the 16 digest bytes, which the caller delete[]s;
    // null before finalize.
    unsigned char* raw_digest();
    // 32 lower-case hexadecimal digits; empty before finalize.
    std::string hex_digest();

    // Starts afresh, digests the data and finalizes; the digest.
    Md5Hash getMd5(const unsigned char* data, unsigned length);

private:
    void init();
    void transform(const unsigned char block[64]);

    uint32_t state[4];
    uint32_t count[2]; // message length in bits, low word first
    unsigned char buffer[64];
    unsigned char digest[16];
    bool finalized;
};

// The hexadecimal digest of what the stream yields.
std::string getMd5(std::ifstream& stream);
// True when that digest equals digest exactly.
bool filesMatch(std::ifstream& stream, std::string digest);

} // namespace dorne

#endif
