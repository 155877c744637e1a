// Base64 and MD5 as the XML view file uses them for bitmaps and fill
// patterns: the RFC 4648 and RFC 1321 vectors, whole and in pieces, round
// trips, the decoder's tolerance and its one error, and the digest value's
// ordering as a map key.
#include "xml/Base64.h"
#include "xml/Md5.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using dorne::Base64;
using dorne::Md5;
using dorne::Md5Hash;

namespace {

const unsigned char* bytes(const std::string& s)
{
    return reinterpret_cast<const unsigned char*>(s.data());
}

std::string encode(const std::string& source, int groupsPerLine = 0)
{
    Base64 b;
    std::vector<char> out(size_t(b.getSize(int(source.size()))) + source.size() + 8, '#');
    const int n = b.encode(bytes(source), out.data(), int(source.size()), groupsPerLine);
    EXPECT_EQ(out[size_t(n)], '#') << "wrote beyond its count";
    return std::string(out.data(), size_t(n));
}

// Decoded bytes, or "<-1>" plus what was written before the error.
std::string decode(const std::string& text)
{
    std::vector<unsigned char> out(text.size() + 8, 0xEE);
    const int n = Base64().decode(text.data(), out.data(), int(text.size()));
    if (n < 0) {
        size_t written = 0;
        while (out[written] != 0xEE)
            ++written;
        return "<-1>" + std::string(out.begin(), out.begin() + long(written));
    }
    EXPECT_EQ(out[size_t(n)], 0xEE) << "wrote beyond its count";
    return std::string(out.begin(), out.begin() + n);
}

// A named temporary file removed at the end of the test.
struct TempFile
{
    explicit TempFile(const std::string& content)
    {
        char name[] = "/tmp/dorneMd5XXXXXX";
        const int fd = mkstemp(name);
        EXPECT_GE(fd, 0);
        path = name;
        EXPECT_EQ(write(fd, content.data(), content.size()), ssize_t(content.size()));
        close(fd);
    }
    ~TempFile() { std::remove(path.c_str()); }
    std::string path;
};

TEST(Base64, EncodesTheStandardVectors)
{
    const struct
    {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
        {"\xff\xfe\xfd", "//79"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(encode(c.in), c.out) << c.in;
        EXPECT_EQ(decode(c.out), c.in) << c.out;
    }
    EXPECT_EQ(encode(std::string("\0\0\0", 3)), "AAAA");
    EXPECT_EQ(decode("AAAA"), std::string("\0\0\0", 3));
}

TEST(Base64, SizeIsFourPerStartedGroupOfThree)
{
    const Base64 b;
    const struct
    {
        int n, size;
    } cases[] = {{0, 0},     {1, 4},  {2, 4},   {3, 4},    {4, 8},      {6, 8},
                 {128, 172}, {-1, 0}, {INT_MIN, 0}, {1610612733, 2147483644}, {1610612734, -1},
                 {INT_MAX, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(b.getSize(c.n), c.size) << c.n;
}

TEST(Base64, LineFeedsFollowEveryNthCompleteGroup)
{
    const struct
    {
        const char* in;
        int perLine;
        const char* out;
    } cases[] = {
        {"foobar", 1, "Zm9v\nYmFy\n"},       // including the last when complete
        {"foob", 1, "Zm9v\nYg=="},           // never after a padded group
        {"foobarfoo", 2, "Zm9vYmFy\nZm9v"},
        {"foobarfoobar", 2, "Zm9vYmFy\nZm9vYmFy\n"},
        {"foobarfoobar", 0, "Zm9vYmFyZm9vYmFy"},
        {"foobarfoobar", -3, "Zm9vYmFyZm9vYmFy"},
    };
    for (const auto& c : cases) {
        const std::string text = encode(c.in, c.perLine);
        EXPECT_EQ(text, c.out) << c.in << " / " << c.perLine;
        EXPECT_EQ(decode(text), c.in);
    }
}

TEST(Base64, DecodingSkipsForeignCharactersAndStopsAtPadding)
{
    const struct
    {
        const char* in;
        const char* out;
    } cases[] = {
        {"Zm9v\nYm Fy", "foobar"},
        {" Z m 9 v ", "foo"},          // 9 positions: one group, 1 position left
        {"Zm9vYmF", "foo"},            // 7 data characters: first group only
        {"Zm9vYm", "foo"},
        {"Zm9vY", "foo"},
        {"Zg==Zm9v", "f"},             // a fourth "=" ends decoding
        {"Zm8=Zm9v", "fo"},
        {"Zg=AZm9v", "ffoo"},          // a third "=" only shortens its group
        {"==AAZm9v", "foo"},           // "=" first or second: the group yields nothing
        {"Z=AAZm9v", "foo"},
        {"", ""},
        {"Zg=", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decode(c.in), c.out) << c.in;
}

TEST(Base64, DecodingAGroupCutShortIsAnError)
{
    EXPECT_EQ(decode("Z\n\n\n"), "<-1>");
    EXPECT_EQ(decode("Zm9vZ\n\n\n"), "<-1>foo"); // what came before stays
    EXPECT_EQ(decode("Zm9vZm  "), "<-1>foo");
    EXPECT_EQ(decode("Zm9v----"), "<-1>foo");    // four positions, no value
}

TEST(Base64, RoundTripsOfZeroTo300Bytes)
{
    std::mt19937 random(7);
    const Base64 b;
    for (int n = 0; n <= 300; ++n) {
        std::string source(size_t(n), '\0');
        for (auto& c : source)
            c = char(random());
        for (const int perLine : {0, 1, 19}) {
            const std::string text = encode(source, perLine);
            const int feeds = perLine > 0 ? (n / 3) / perLine : 0;
            ASSERT_EQ(int(text.size()), b.getSize(n) + feeds) << n << " / " << perLine;
            EXPECT_EQ(text.find('='), n % 3 == 0 ? std::string::npos : text.size() - (3 - n % 3));
            ASSERT_EQ(decode(text), source) << n << " / " << perLine;
            std::string stripped = text;
            stripped.resize(size_t(b.strip(&stripped[0], int(stripped.size()))));
            EXPECT_EQ(int(stripped.size()), b.getSize(n));
            EXPECT_EQ(decode(stripped), source);
        }
    }
}

TEST(Base64, AlphabetValuesStripAndNullArguments)
{
    const Base64 b;
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (int v = 0; v < 64; ++v) {
        EXPECT_EQ(b.ntc(v), alphabet[size_t(v)]);
        EXPECT_EQ(b.ctn(alphabet[size_t(v)]), v);
    }
    EXPECT_EQ(b.ntc(64), '=');
    EXPECT_EQ(b.ntc(-1), '=');
    EXPECT_EQ(b.ctn('='), 80);
    for (const char c : {'-', '_', '\n', ' ', '\0', '.', char(0xC3), char(0xFF)})
        EXPECT_EQ(b.ctn(c), 100) << int(c);

    char text[] = "Zm 9v\n!Y=\t";
    EXPECT_EQ(b.strip(text, int(std::strlen(text))), 6);
    EXPECT_EQ(std::string(text, 6), "Zm9vY=");
    EXPECT_EQ(b.strip(nullptr, 5), 0);
    EXPECT_EQ(b.strip(text, -1), 0);

    unsigned char out[8];
    char chars[8];
    EXPECT_EQ(b.encode(nullptr, chars, 3, 0), 0);
    EXPECT_EQ(b.encode(out, nullptr, 3, 0), 0);
    EXPECT_EQ(b.encode(out, chars, -3, 0), 0);
    EXPECT_EQ(b.decode(nullptr, out, 4), 0);
    EXPECT_EQ(b.decode("Zm9v", nullptr, 4), 0);
    EXPECT_EQ(b.decode("Zm9v", out, -4), 0);
}

// RFC 1321, appendix A.5.
const struct
{
    const char* message;
    const char* digest;
} kRfc1321[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

std::string hexOf(const unsigned char* d)
{
    char text[33];
    for (int i = 0; i < 16; ++i)
        std::snprintf(text + 2 * i, 3, "%02x", d[i]);
    return text;
}

TEST(Md5, Rfc1321SuiteWholeInBytePiecesAndThroughStreams)
{
    for (const auto& c : kRfc1321) {
        SCOPED_TRACE(c.message);
        const std::string m = c.message;

        Md5 whole;
        whole.update(bytes(m), unsigned(m.size()));
        whole.finalize();
        EXPECT_EQ(whole.hex_digest(), c.digest);

        Md5 pieces;
        for (size_t i = 0; i < m.size(); ++i)
            pieces.update(bytes(m) + i, 1);
        pieces.finalize();
        EXPECT_EQ(pieces.hex_digest(), c.digest);

        std::unique_ptr<unsigned char[]> raw(pieces.raw_digest());
        ASSERT_NE(raw, nullptr);
        EXPECT_EQ(hexOf(raw.get()), c.digest);

        Md5 again;
        const Md5Hash hash = again.getMd5(bytes(m), unsigned(m.size()));
        EXPECT_EQ(hexOf(hash.hash()), c.digest);

        std::istringstream stream(m);
        EXPECT_EQ(Md5(stream).hex_digest(), c.digest);

        FILE* file = std::tmpfile();
        ASSERT_NE(file, nullptr);
        std::fwrite(m.data(), 1, m.size(), file);
        std::rewind(file);
        EXPECT_EQ(Md5(file).hex_digest(), c.digest); // and closes it

        TempFile temp(m);
        std::ifstream in(temp.path, std::ios::binary);
        EXPECT_EQ(dorne::getMd5(in), c.digest);
        std::ifstream in2(temp.path, std::ios::binary);
        EXPECT_TRUE(dorne::filesMatch(in2, c.digest));
    }
}

TEST(Md5, PiecesOfEverySizeAcrossBlockBoundariesAndStreamChunks)
{
    // 3000 bytes: past the 1024-byte chunks of the stream readers and many
    // 64-byte blocks; every split must give the digest of the whole.
    std::string m(3000, '\0');
    for (size_t i = 0; i < m.size(); ++i)
        m[i] = char((i * 131 + 7) & 0xff);
    Md5 whole;
    whole.update(bytes(m), unsigned(m.size()));
    whole.finalize();
    const std::string expected = whole.hex_digest();
    for (const size_t piece : {1, 3, 55, 56, 63, 64, 65, 127, 1024, 2999}) {
        Md5 md5;
        for (size_t i = 0; i < m.size(); i += piece)
            md5.update(bytes(m) + i, unsigned(std::min(piece, m.size() - i)));
        md5.finalize();
        EXPECT_EQ(md5.hex_digest(), expected) << piece;
    }
    std::istringstream stream(m);
    Md5 fromStream;
    fromStream.update(stream);
    fromStream.finalize();
    EXPECT_EQ(fromStream.hex_digest(), expected);

    // Lengths around the padding boundaries (55, 56, 64, 119, 120 bytes),
    // whole and one byte at a time.
    for (unsigned n = 1; n <= 130; ++n) {
        const std::string a(n, 'a');
        Md5 one, byByte;
        one.update(bytes(a), n);
        for (unsigned i = 0; i < n; ++i)
            byByte.update(bytes(a) + i, 1);
        one.finalize();
        byByte.finalize();
        ASSERT_EQ(one.hex_digest(), byByte.hex_digest()) << n;
    }
    Md5 a64;
    EXPECT_EQ(hexOf(a64.getMd5(bytes(std::string(64, 'a')), 64).hash()), "014842d480b571495a4a0363793f7367");
}

TEST(Md5, MisuseIsReportedOnStandardErrorAndChangesNothing)
{
    Md5 md5;
    testing::internal::CaptureStderr();
    EXPECT_EQ(md5.raw_digest(), nullptr);
    EXPECT_EQ(md5.hex_digest(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Md5::raw_digest:  Can't get digest if you haven't finalized the digest!\n"
              "Md5::hex_digest:  Can't get digest if you haven't finalized the digest!\n");

    md5.update(bytes("abc"), 3);
    md5.finalize();
    testing::internal::CaptureStderr();
    md5.update(bytes("d"), 1);
    md5.finalize();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Md5::update:  Can't update a finalized digest!\n"
              "Md5::finalize:  Already finalized this digest!\n");
    EXPECT_EQ(md5.hex_digest(), "900150983cd24fb0d6963f7d28e17f72");

    // getMd5 on a finalized object starts afresh.
    testing::internal::CaptureStderr();
    const Md5Hash hash = md5.getMd5(bytes("a"), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(hexOf(hash.hash()), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(md5.hex_digest(), "0cc175b9c0f1b6a831c399e269772661");

    // A null file is the empty input; filesMatch compares the text exactly.
    EXPECT_EQ(Md5(static_cast<FILE*>(nullptr)).hex_digest(), "d41d8cd98f00b204e9800998ecf8427e");
    TempFile temp("abc");
    std::ifstream upper(temp.path);
    EXPECT_FALSE(dorne::filesMatch(upper, "900150983CD24FB0D6963F7D28E17F72"));
    std::ifstream missing(temp.path + ".none");
    EXPECT_TRUE(dorne::filesMatch(missing, "d41d8cd98f00b204e9800998ecf8427e"));
}

TEST(Md5Hash, EqualityAndDescendingOrderAsAMapKey)
{
    const unsigned char low[16] = {0x01, 0xff};
    const unsigned char high[16] = {0x80, 0x00}; // unsigned: 0x80 > 0x01
    unsigned char lastDiffers[16] = {0x01, 0xff};
    lastDiffers[15] = 1;
    Md5Hash a, b, c, d;
    a.setHash(low);
    b.setHash(high);
    c.setHash(lastDiffers);
    d.setHash(low);
    EXPECT_TRUE(a == d);
    EXPECT_FALSE(a < d);
    EXPECT_FALSE(d < a);
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(b < a);  // the other's bytes are lower than this one's
    EXPECT_FALSE(a < b);
    EXPECT_TRUE(c < a);
    EXPECT_FALSE(a < c);
    EXPECT_EQ(std::memcmp(a.hash(), low, 16), 0);
    d.setHash(nullptr); // ignored
    EXPECT_TRUE(a == d);

    std::map<Md5Hash, int> ids;
    ids[a] = 1;
    ids[b] = 2;
    ids[c] = 3;
    ids[d] = 4; // equal to a
    ASSERT_EQ(ids.size(), 3u);
    std::vector<int> order;
    for (const auto& entry : ids)
        order.push_back(entry.second);
    EXPECT_EQ(order, (std::vector<int>{2, 3, 4})); // descending bytes: high, lastDiffers, low
}

} // namespace
