// The shared-memory source against real System V segments: variables from
// the segment's NSHM block, both byte orders, write-back of changed values,
// offsets and blocks that do not fit, a missing segment, key texts and the
// editor hooks.
#include "peerSourceTest.h"
#include "peerSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

using namespace support;

namespace {

const int kBig = 0;
const int kLittle = 1;

class Shm : public PeerSourceTest
{
protected:
    DD_DATA_TYPE_STRUCT* source(const std::string& key, int endian, int autoLoad)
    {
        s = fileSource(&view, 3, 4, 1);
        setParaText(s->para[0], key.c_str());
        s->para[1].value = endian;
        s->para[2].value = autoLoad;
        return s;
    }
};

// Writes an NSHM block: the count at 60, then per entry name, type code and
// value (in `order`) at 64 k.
struct Entry
{
    std::string name;
    int32_t code;
    int width;
    uint64_t wire; // the value as the peer writes it
    int type;      // the value type the entry becomes
    uint64_t read; // the 8 storage bytes it reads as
};

void writeBlock(peer::Segment& seg, const std::vector<Entry>& entries, int order)
{
    const int32_t n = int32_t(entries.size());
    std::memcpy(seg.bytes + 60, &n, 4);
    for (size_t k = 1; k <= entries.size(); ++k) {
        unsigned char* entry = seg.bytes + 64 * k;
        const Entry& e = entries[k - 1];
        std::memcpy(entry, e.name.data(), std::min<size_t>(e.name.size(), 52));
        std::memcpy(entry + 52, &e.code, 4);
        peer::putBytes(entry + 56, e.wire, e.width, order == kBig);
    }
}

TEST_F(Shm, BlockMakesTheVariablesAndBothByteOrdersRead)
{
    const std::string longName(52, 'n'); // fills its bytes, no zero before the type code
    const std::vector<Entry> entries = {
        {"rpm", 0, 4, 0xFFFFFFF6u, DD_INT, 0xFFFFFFF6u},                  // -10
        {"gear", 22, 4, 0x01020304u, DD_INT, 0x01020304u},
        {"fuel", 3, 4, 0xFFFFFFFEu, DD_LONG, 0xFFFFFFFFFFFFFFFEu},        // sign-extended
        {"hours", 4, 4, 0xFFFFFFFEu, DD_ULONG, 0x00000000FFFFFFFEu},      // zero-extended
        {"temp", 6, 2, 0xFED4u, DD_SHORT, 0xFED4u},                       // -300
        {"flow", 13, 2, 0xFDE8u, DD_USHORT, 0xFDE8u},                     // 65000
        {"flag", 25, 1, 0xFBu, DD_CHAR, 0xFBu},
        {"mode", 19, 1, 0xFAu, DD_UCHAR, 0xFAu},
        {"press", 2, 4, 0x3FC00000u, DD_FLOAT, 0x3FC00000u},              // 1.5f
        {"negative code", -7, 4, 0x40490FDBu, DD_FLOAT, 0x40490FDBu},
        {"code 26", 26, 4, 0xC0000000u, DD_FLOAT, 0xC0000000u},          // -2.0f
        {longName, 1, 4, 7, DD_INT, 7},
    };
    for (int order : {kBig, kLittle}) {
        SCOPED_TRACE(order == kBig ? "big-endian segment" : "little-endian segment");
        peer::Segment seg(64 * (entries.size() + 1));
        ASSERT_TRUE(seg.ok());
        writeBlock(seg, entries, order);
        source(seg.keyText(), order, 1);
        variable("from the file", DD_INT, "0"); // replaced by the block
        start();
        fillDP(view);

        DD_VAR_STRUCT* v = s->variables;
        for (size_t k = 1; k <= entries.size(); ++k, v = v->next) {
            ASSERT_NE(v, nullptr);
            SCOPED_TRACE(entries[k - 1].name);
            EXPECT_EQ(v->name, entries[k - 1].name) << "a name that fills its 52 bytes ends there";
            EXPECT_EQ(v->type, entries[k - 1].type);
            EXPECT_EQ(v->para[0].text, std::to_string(64 * k + 56));
            EXPECT_EQ(valueOf<uint64_t>(v), entries[k - 1].read);
        }
        EXPECT_EQ(v, nullptr);
        reset();

        // The other ENDIAN choice takes the values as stored.
        source(seg.keyText(), 1 - order, 1);
        start();
        fillDP(view);
        const DD_VAR_STRUCT* gear = s->variables->next;
        EXPECT_EQ(valueOf<uint32_t>(gear), 0x04030201u);
        reset();
    }
}

TEST_F(Shm, WithoutAutoLoadTheFileVariablesStay)
{
    peer::Segment seg(256);
    ASSERT_TRUE(seg.ok());
    peer::putBytes(seg.bytes + 100, 77, 4, true); // an NSHM block of 0 entries
    source(seg.keyText(false), kBig, 0);          // the key without 0x
    DD_VAR_STRUCT* x = variable("x", DD_INT, "100");
    DD_DATA_TYPE_STRUCT* first = s;
    source(seg.keyText(), kBig, 1);
    variable("dropped", DD_INT, "100");
    start();
    fillDP(view);
    EXPECT_EQ(valueOf<int32_t>(x), 77);
    EXPECT_EQ(first->variables, x);
    EXPECT_EQ(s->variables, nullptr) << "a block of 0 entries leaves no variables";
    EXPECT_EQ(seg.attachments(), 3);
    reset();
    EXPECT_EQ(seg.attachments(), 1) << "Close detaches";
}

TEST_F(Shm, OnlyChangedValuesAreWrittenBackInTheSegmentsOrder)
{
    peer::Segment seg(512);
    ASSERT_TRUE(seg.ok());
    std::memset(seg.bytes, 0x55, 512);
    source(seg.keyText(), kBig, 0);
    DD_VAR_STRUCT* w = variable("w", DD_INT, "0", "0x10");
    DD_VAR_STRUCT* h = variable("h", DD_SHORT, "8", "-2");
    DD_VAR_STRUCT* l = variable("l", DD_LONG, "16", "-3");
    DD_VAR_STRUCT* d = variable("d", DD_DOUBLE, "24", "1.5");
    DD_VAR_STRUCT* t = variable("t", DD_STRING, "40", "abc");
    DD_VAR_STRUCT* none = variable("none", DD_INT, "300");
    for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next)
        v->write = 1;
    start();
    auto bytes = [&](size_t at, size_t n) { return std::vector<unsigned char>(seg.bytes + at, seg.bytes + at + n); };
    using B = std::vector<unsigned char>;
    EXPECT_EQ(bytes(0, 4), (B{0, 0, 0, 0x10})) << "defaults go out big-endian";
    EXPECT_EQ(bytes(8, 2), (B{0xFF, 0xFE}));
    EXPECT_EQ(bytes(16, 8), (B{0xFF, 0xFF, 0xFF, 0xFD, 0x55, 0x55, 0x55, 0x55})) << "a long moves 4 bytes";
    EXPECT_EQ(bytes(24, 8), (B{0x3F, 0xF8, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(bytes(40, 5), (B{'a', 'b', 'c', 0, 0x55}));
    EXPECT_EQ(seg.bytes[40 + 255], 0);
    EXPECT_EQ(bytes(300, 4), (B{0x55, 0x55, 0x55, 0x55})) << "no default: nothing written";

    // The peer changes w; the view did not, so the peer's value stays.
    peer::putBytes(seg.bytes, 42, 4, true);
    fillDP(view);
    EXPECT_EQ(valueOf<int32_t>(w), 42);
    EXPECT_EQ(bytes(0, 4), (B{0, 0, 0, 42}));

    // Values the view changed go out, reversed; unchanged ones do not.
    setValue<int32_t>(w, 7);
    setValue<int64_t>(l, 0x100000005LL);
    std::snprintf(static_cast<char*>(t->value), 256, "hello");
    peer::putBytes(seg.bytes + 8, 0x1234, 2, true);
    fillDP(view);
    EXPECT_EQ(bytes(0, 4), (B{0, 0, 0, 7}));
    EXPECT_EQ(bytes(16, 4), (B{0, 0, 0, 5}));
    EXPECT_EQ(valueOf<int64_t>(l), 5) << "read back as 4 bytes, sign-extended";
    EXPECT_EQ(bytes(40, 6), (B{'h', 'e', 'l', 'l', 'o', 0}));
    EXPECT_EQ(valueOf<int16_t>(h), 0x1234) << "unchanged: not written, the peer's value read";
    EXPECT_EQ(valueOf<double>(d), 1.5);
    EXPECT_EQ(valueOf<int32_t>(none), 0x55555555);
}

TEST_F(Shm, ValuesOutsideTheSegmentAreSkipped)
{
    peer::Segment seg(100);
    ASSERT_TRUE(seg.ok());
    for (int i = 0; i < 100; ++i)
        seg.bytes[i] = uint8_t(i);
    const struct
    {
        int type;
        const char* offset;
        bool fits;
    } cases[] = {
        {DD_INT, "96", true},     {DD_INT, "97", false},    {DD_INT, "-1", false},   {DD_CHAR, "99", true},
        {DD_CHAR, "100", false},  {DD_DOUBLE, "92", true},  {DD_DOUBLE, "93", false}, {DD_LONG, "96", true},
        {DD_INT, "4294967296", false}, {DD_INT, "99999999999999999999999", false},  {DD_INT, "x", true},
        {DD_STRING, "90", true},  {DD_STRING, "100", false},
    };
    source(seg.keyText(), kLittle, 0);
    for (const auto& c : cases)
        variable("v", c.type, c.offset);
    LogCapture log;
    start();
    const std::string lines = log.take();
    for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next)
        std::memset(v->value, 0xAA, v->type == DD_STRING ? 256 : 8);
    fillDP(view);

    size_t i = 0;
    for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next, ++i) {
        SCOPED_TRACE(std::string("offset ") + cases[i].offset);
        const std::string line = "vddShmVarStartView: variable v: OFFSET <" + std::string(cases[i].offset) +
                                 "> lies outside the segment of 100 bytes, not exchanged\n";
        EXPECT_EQ(lines.find(line) != std::string::npos, !cases[i].fits) << lines;
        if (v->type == DD_STRING)
            continue;
        EXPECT_EQ(valueOf<uint64_t>(v) == 0xAAAAAAAAAAAAAAAAu, !cases[i].fits);
    }
    const DD_VAR_STRUCT* text = s->variables;
    for (int k = 0; k < 11; ++k)
        text = text->next;
    EXPECT_EQ(textOf(text), std::string(seg.bytes + 90, seg.bytes + 100)) << "a text stops at the end";
    EXPECT_EQ(static_cast<unsigned char*>(text->next->value)[0], 0xAA);

    // Written back: nothing lands beyond the segment (its page is ours to see).
    for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next) {
        v->write = 1;
        std::memset(v->value, 'E', v->type == DD_STRING ? 255 : 8);
    }
    fillDP(view);
    EXPECT_EQ(seg.bytes[99], 'E');
    EXPECT_EQ(seg.bytes[90], 'E');
    const long page = sysconf(_SC_PAGESIZE);
    for (long k = 100; k < page; ++k)
        ASSERT_EQ(seg.bytes[k], 0) << "byte " << k;
}

TEST_F(Shm, BlocksThatDoNotFitLoadTheEntriesThatDo)
{
    const struct
    {
        size_t size;
        int32_t declared;
        int loaded;
        const char* line; // logged at level 2
    } cases[] = {
        {192, 5, 2, "the NSHM block declares 5 entries, the segment of 192 bytes holds 2"},
        {200, 3, 2, "the NSHM block declares 3 entries, the segment of 200 bytes holds 2"},
        {128, 0x7FFFFFFF, 1, "the NSHM block declares 2147483647 entries, the segment of 128 bytes holds 1"},
        {256, -1, 0, "the NSHM block declares -1 entries, the segment of 256 bytes holds 3"},
        {256, 3, 3, nullptr},
        {40, 0, 0, "the segment of 40 bytes holds no NSHM block"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.size) + " bytes, " + std::to_string(c.declared) + " entries");
        peer::Segment seg(c.size);
        ASSERT_TRUE(seg.ok());
        for (size_t at = 64; at + 64 <= c.size; at += 64)
            std::snprintf(reinterpret_cast<char*>(seg.bytes + at), 52, "e%zu", at / 64);
        if (c.size >= 64)
            std::memcpy(seg.bytes + 60, &c.declared, 4);
        source(seg.keyText(), kLittle, 1);
        LogCapture log;
        start();
        int n = 0;
        for (const DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next)
            EXPECT_EQ(v->name, "e" + std::to_string(++n));
        EXPECT_EQ(n, c.loaded);
        const std::string lines = log.take();
        if (c.line != nullptr) {
            EXPECT_NE(lines.find(std::string("vddShmVarReadNshm: ") + c.line + "\n"), std::string::npos) << lines;
        } else {
            EXPECT_EQ(lines.find("vddShmVarReadNshm"), std::string::npos) << lines;
        }
        reset();
    }
}

TEST_F(Shm, MissingSegmentsAndBadKeysAreReported)
{
    key_t gone;
    {
        peer::Segment seg(64);
        ASSERT_TRUE(seg.ok());
        gone = seg.key;
    }
    char key[16];
    std::snprintf(key, sizeof key, "%x", unsigned(gone));
    source(key, kBig, 1);
    DD_VAR_STRUCT* v = variable("v", DD_INT, "0", "5");
    v->write = 1;

    LogCapture log;
    testing::internal::CaptureStderr();
    start();
    fillDP(view);
    const std::string errors = testing::internal::GetCapturedStderr();
    char expected[128];
    std::snprintf(expected, sizeof expected, "vddShmVarOpenShm: shmget: No such file or directory\nkey = 0x%x\n",
                  unsigned(gone));
    EXPECT_EQ(errors, expected);
    EXPECT_EQ(valueOf<int32_t>(v), 5) << "not attached: the default stays, nothing is read";
}

// The key text is a whole hexadecimal number of at most 32 bits, with or
// without a leading 0x; any other text fails Open with an error naming the
// source and the text, and no segment call is made (an empty text or one
// without digits would otherwise be key 0, a private segment).
TEST_F(Shm, KeyTextsMustBeWholeHexadecimalNumbers)
{
    peer::Segment seg(64);
    ASSERT_TRUE(seg.ok());
    const std::string digits = seg.keyText(false);
    std::string upper = digits;
    for (char& c : upper)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    const std::string good[] = {"0x" + digits, digits, "0X" + digits, upper, "0x" + upper, "000" + digits};
    for (const std::string& key : good) {
        SCOPED_TRACE("<" + key + ">");
        source(key, kBig, 0);
        LogCapture log;
        setLogLevel(1); // errors only
        testing::internal::CaptureStderr();
        start();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(log.take(), "");
        EXPECT_EQ(seg.attachments(), 2) << "the source's and the test's own";
        reset();
    }

    const std::string bad[] = {
        "", "xyz", "0x", "0X", "x1", "0xx1", "1g", "12 ", " 12", "1 2", "\t12", "+12", "-1", "0x-1",
        "1ffffffff", "0x100000000", "ffffffffffffffffffff", "12.5", "0x" + digits + "h", "h" + digits,
    };
    for (const std::string& key : bad) {
        SCOPED_TRACE("<" + key + ">");
        source(key, kBig, 0);
        mergeWithRegistry(&view);
        LogCapture log;
        setLogLevel(1); // an error
        testing::internal::CaptureStderr();
        EXPECT_EQ(s->fnOpen(s), -1);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "no segment call was made";
        EXPECT_EQ(log.take(), "vddShmVarOpenShm: source SHM DATA: key text <" + key + "> is no 32-bit hexadecimal key\n");
        EXPECT_EQ(seg.attachments(), 1) << "the test's own only";
        reset();
    }
}

TEST_F(Shm, EditorHooks)
{
    peer::Segment seg(192);
    ASSERT_TRUE(seg.ok());
    writeBlock(seg, {{"a", 4, 4, 1, DD_ULONG, 1}, {"b", 10, 1, 2, DD_UCHAR, 2}}, kLittle);
    source(seg.keyText(), kLittle, 0);
    DD_VAR_STRUCT* v = variable("old", DD_DOUBLE, "12");
    mergeWithRegistry(&view);

    EXPECT_EQ(s->fnNewVariable(v), 0);
    EXPECT_STREQ(v->para[0].text, "0");
    EXPECT_EQ(v->type, DD_DOUBLE);
    EXPECT_EQ(s->fnCallbackData(2, 1, nullptr, s), 0);
    EXPECT_EQ(s->variables, v) << "only the load button acts";

    // The load button, on a source that was opened and on one that was not.
    for (bool opened : {true, false}) {
        if (opened) {
            ASSERT_EQ(s->fnOpen(s), 0);
        }
        EXPECT_EQ(s->fnCallbackData(3, 0, nullptr, s), 0);
        ASSERT_NE(s->variables, nullptr);
        EXPECT_STREQ(s->variables->name, "a");
        EXPECT_EQ(s->variables->type, DD_ULONG);
        EXPECT_STREQ(s->variables->next->name, "b");
        EXPECT_STREQ(s->variables->next->para[0].text, "184");
        EXPECT_EQ(s->privateData, nullptr) << "the state is released and its pointer cleared";
        EXPECT_EQ(seg.attachments(), 1);
    }
    EXPECT_EQ(s->fnGet(s->variables, s), 0);
    EXPECT_EQ(s->fnClose(s), 0);

    EXPECT_EQ(s->fnNewData(s), 0);
    EXPECT_STREQ(s->para[0].text, "0x0");
}

} // namespace
