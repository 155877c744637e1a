// The UDP source against real datagrams on the loopback address: the newest
// datagram over the tails of older ones, over-long datagrams cut, both byte
// orders, values the view writes, offsets outside the buffer and failed opens.
#include "peerSourceTest.h"
#include "peerSupport.h"
#include "sources/sourceUdp.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <memory>
#include <string>

using namespace support;

namespace {

class Udp : public PeerSourceTest
{
protected:
    // The source at port, or at a port held for it until the first receive.
    void source(const char* size, int endian, int port = -1)
    {
        if (port < 0) {
            held = std::make_unique<peer::UdpPort>();
            port = held->port();
        }
        this->port = port;
        ASSERT_GT(this->port, 0);
        s = fileSource(&view, 4, 3, 1);
        setParaText(s->para[0], std::to_string(this->port).c_str());
        setParaText(s->para[1], size);
        s->para[2].value = endian;
    }
    // A variable named after its OFFSET.
    DD_VAR_STRUCT* variable(int type, const char* offset, const char* defaultText = "")
    {
        return PeerSourceTest::variable(offset, type, offset, defaultText);
    }
    // Sends the datagrams, waits until the first is in, then runs one cycle.
    void receive(std::initializer_list<std::string> datagrams)
    {
        if (held)
            held->release(); // the source has bound the port: its datagrams
        peer::Sender sender(port);
        for (const std::string& d : datagrams)
            ASSERT_TRUE(sender.send(d));
        auto* state = static_cast<dorne::SocketDataState*>(s->privateData);
        ASSERT_NE(state, nullptr);
        pollfd waiting = {state->socket, POLLIN, 0};
        ASSERT_EQ(poll(&waiting, 1, 5000), 1);
        fillDP(view);
    }
    int port = 0;
    std::unique_ptr<peer::UdpPort> held;
};

std::string bytes(std::initializer_list<int> list)
{
    std::string d;
    for (int b : list)
        d += char(b);
    return d;
}

TEST_F(Udp, OnlyTheNewestDatagramIsSeenOverTheTailsOfOlderOnes)
{
    source("32", 0);
    DD_VAR_STRUCT* head = variable(DD_INT, "0");
    DD_VAR_STRUCT* middle = variable(DD_CHAR, "10");
    DD_VAR_STRUCT* tail = variable(DD_UCHAR, "20");
    DD_VAR_STRUCT* last = variable(DD_UINT, "28");
    DD_VAR_STRUCT* beyond = variable(DD_INT, "30");
    LogCapture log;
    start();
    const std::string lines = log.take();
    EXPECT_NE(lines.find("vddSocketVarOpen: variable 30: OFFSET <30> lies outside the receive buffer of 32 bytes, "
                         "not exchanged\n"),
              std::string::npos)
        << lines;
    EXPECT_EQ(lines.find("OFFSET <28>"), std::string::npos);
    std::memset(beyond->value, 0xAA, 8);

    const std::string first = bytes({0, 0, 0, 1}) + std::string(28, '\x11');
    const std::string second = bytes({0, 0, 0, 2}) + std::string(12, '\x22');
    const std::string third = bytes({0, 0, 0, 3}) + std::string(4, '\x33');
    receive({first, second, third});
    EXPECT_EQ(valueOf<int32_t>(head), 3);
    EXPECT_EQ(valueOf<int8_t>(middle), 0x22) << "the second's tail";
    EXPECT_EQ(valueOf<uint8_t>(tail), 0x11) << "the first's tail";
    EXPECT_EQ(valueOf<uint32_t>(last), 0x11111111u);

    // An over-long datagram is cut to SIZE.
    std::string longer = bytes({0, 0, 0, 4}) + std::string(24, '\x44') + bytes({1, 2, 3, 4, 5, 6, 7, 8});
    receive({longer});
    EXPECT_EQ(valueOf<int32_t>(head), 4);
    EXPECT_EQ(valueOf<uint32_t>(last), 0x01020304u);
    EXPECT_EQ(valueOf<uint64_t>(beyond), 0xAAAAAAAAAAAAAAAAu);

    fillDP(view); // nothing waiting: the buffer stays
    EXPECT_EQ(valueOf<int32_t>(head), 4);
}

TEST_F(Udp, ValuesInEitherByteOrder)
{
    const struct
    {
        int type;
        int width;
        uint64_t wire;
        uint64_t read; // the 8 storage bytes
    } cases[] = {
        {DD_FLOAT, 4, 0xC0490FDBu, 0xC0490FDBu},
        {DD_DOUBLE, 8, 0x400921FB54442D18u, 0x400921FB54442D18u},
        {DD_CHAR, 1, 0x80u, 0x80u},
        {DD_UCHAR, 1, 0xFFu, 0xFFu},
        {DD_SHORT, 2, 0x8001u, 0x8001u},
        {DD_USHORT, 2, 0xFFFEu, 0xFFFEu},
        {DD_INT, 4, 0x80000001u, 0x80000001u},
        {DD_UINT, 4, 0xFFFFFFFEu, 0xFFFFFFFEu},
        {DD_LONG, 4, 0xFFFFFFF0u, 0xFFFFFFFFFFFFFFF0u}, // sign-extended
        {DD_LONG, 4, 0x7FFFFFF0u, 0x000000007FFFFFF0u},
        {DD_ULONG, 4, 0xFFFFFFF0u, 0x00000000FFFFFFF0u}, // zero-extended
    };
    for (int endian : {0, 1}) {
        SCOPED_TRACE(endian == 0 ? "big-endian" : "little-endian");
        source("128", endian);
        std::string datagram(128, '\0');
        int at = 0;
        for (const auto& c : cases) {
            variable(c.type, std::to_string(at).c_str());
            peer::putBytes(reinterpret_cast<unsigned char*>(&datagram[at]), c.wire, c.width, endian == 0);
            at += 8;
        }
        DD_VAR_STRUCT* text = variable(DD_STRING, "100");
        datagram.replace(100, 5, "text!");
        start();
        receive({datagram});
        const DD_VAR_STRUCT* v = s->variables;
        for (const auto& c : cases) {
            EXPECT_EQ(valueOf<uint64_t>(v), c.read) << "type " << c.type;
            v = v->next;
        }
        EXPECT_EQ(textOf(text), "text!");
        reset();
    }
}

TEST_F(Udp, AWrittenValueReadsBackUntilADatagramCoversIt)
{
    source("16", 0);
    DD_VAR_STRUCT* w = variable(DD_SHORT, "4", "9");
    DD_VAR_STRUCT* t = variable(DD_STRING, "8", "ab");
    w->write = t->write = 1;
    start();
    const auto* state = static_cast<const dorne::SocketDataState*>(s->privateData);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(state->buffer), 12), bytes({0, 0, 0, 0, 0, 9, 0, 0, 'a', 'b', 0, 0}))
        << "the defaults, big-endian";
    setValue<int16_t>(w, 11);
    fillDP(view);
    fillDP(view);
    EXPECT_EQ(valueOf<int16_t>(w), 11);
    EXPECT_EQ(textOf(t), "ab");

    receive({bytes({0, 0, 0, 0, 0x01, 0x02, 0, 0, 'x', 'y', 'z', 0})});
    EXPECT_EQ(valueOf<int16_t>(w), 0x0102) << "the sender's value once it arrived";
    EXPECT_EQ(textOf(t), "xyz");
    receive({bytes({0, 0, 0})});
    EXPECT_EQ(valueOf<int16_t>(w), 0x0102) << "a shorter datagram leaves it";
}

TEST_F(Udp, OffsetsOutsideTheBufferAreSkipped)
{
    const struct
    {
        int type;
        const char* offset;
        const char* read; // the first 8 storage bytes; 0xAA: not read
    } cases[] = {
        {DD_INT, "4", "EFGH\xAA\xAA\xAA\xAA"},  {DD_INT, "5", nullptr},     {DD_INT, "-1", nullptr},
        {DD_DOUBLE, "0", "ABCDEFGH"},            {DD_DOUBLE, "1", nullptr},  {DD_ULONG, "4", "EFGH\0\0\0\0"},
        {DD_CHAR, "8", nullptr},                 {DD_STRING, "6", "GH\0\xAA\xAA\xAA\xAA\xAA"},
        {DD_STRING, "8", nullptr},               {DD_INT, "-9223372036854775808", nullptr},
    };
    source("8", 1);
    for (const auto& c : cases)
        variable(c.type, c.offset);
    start();
    for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next)
        std::memset(v->value, 0xAA, v->type == DD_STRING ? 256 : 8);
    receive({"ABCDEFGH"});
    size_t i = 0;
    for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next, ++i) {
        SCOPED_TRACE(cases[i].offset);
        const std::string read = cases[i].read != nullptr ? std::string(cases[i].read, 8) : std::string(8, '\xAA');
        EXPECT_EQ(std::string(static_cast<const char*>(v->value), 8), read);
    }

    // Written where they fit, and nowhere else (the buffer is on the heap:
    // AddressSanitizer watches its end).
    for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next) {
        v->write = 1;
        std::memset(v->value, 'w', v->type == DD_STRING ? 255 : 8);
    }
    fillDP(view);
    const auto* state = static_cast<const dorne::SocketDataState*>(s->privateData);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(state->buffer), 8), "wwwwwwww");
}

TEST_F(Udp, OpenFailsOnBadOptionsAndBusyPorts)
{
    const struct
    {
        const char* port;
        const char* size;
        const char* line;
    } cases[] = {
        {nullptr, "0", "socketVar: SIZE <0> is not in 1..2147483647\n"},
        {nullptr, "-5", "socketVar: SIZE <-5> is not in 1..2147483647\n"},
        {nullptr, "abc", "socketVar: SIZE <abc> is not in 1..2147483647\n"},
        {nullptr, "2147483648", "socketVar: SIZE <2147483648> is not in 1..2147483647\n"},
        {"70000", "8", "socketVar: PORT <70000> is not in 0..65535\n"},
        {"-1", "8", "socketVar: PORT <-1> is not in 0..65535\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        source(c.size, 0);
        if (c.port != nullptr)
            setParaText(s->para[0], c.port);
        mergeWithRegistry(&view);
        LogCapture log;
        EXPECT_EQ(s->fnOpen(s), -1);
        EXPECT_EQ(log.take(), c.line);
        EXPECT_EQ(s->privateData, nullptr);
        reset();
    }

    // A port another socket holds without address reuse.
    const int busy = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    ASSERT_EQ(bind(busy, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t length = sizeof address;
    ASSERT_EQ(getsockname(busy, reinterpret_cast<sockaddr*>(&address), &length), 0);
    source("8", 0, ntohs(address.sin_port));
    DD_VAR_STRUCT* v = variable(DD_INT, "0", "3");
    testing::internal::CaptureStderr();
    start();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "bind socket: Address already in use\nopening socket: Address already in use\n");
    EXPECT_EQ(s->privateData, nullptr);
    fillDP(view);
    EXPECT_EQ(valueOf<int32_t>(v), 3) << "no buffer: the default stays";
    close(busy);
}

TEST_F(Udp, EditorHooks)
{
    source("8", 1);
    DD_VAR_STRUCT* v = variable(DD_STRING, "12");
    mergeWithRegistry(&view);
    EXPECT_EQ(s->fnNewData(s), 0);
    EXPECT_STREQ(s->para[0].text, "0");
    EXPECT_STREQ(s->para[1].text, "0");
    EXPECT_EQ(s->para[2].value, 0);
    EXPECT_EQ(s->fnNewVariable(v), 0);
    EXPECT_STREQ(v->para[0].text, "0");
    EXPECT_EQ(v->type, DD_FLOAT);
}

} // namespace
