// libFuzzer target: arbitrary bytes as a shared-memory segment (with or
// without a valid NSHM block) and as UDP datagrams, exchanged through the
// sources' entry points with variables whose types and OFFSET texts come
// from the input too. Nothing may crash, step outside the segment or the
// receive buffer, or leave a name without its zero, and a value the view
// writes must read back the same in its cycle.
//
// Input: [flags] [variable count] count x ([type] [8-byte OFFSET text])
// [8-byte SIZE text] [payload]. Flags: 1 little-endian, 2 auto-load,
// 4 press the load button first, 8 the view writes every other variable.
// The payload is the segment, and, read as length-prefixed pieces, the
// datagrams. Missing bytes count as zeros.
#include "sources/builtinSources.h"
#include "data/dataValue.h"
#include "peerSupport.h"
#include "sources/sourceBytes.h"
#include "sources/sourceUdp.h"

#include "dorneDataSources.h"
#include "dorneLog.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const size_t kMaxVariables = 8;
const size_t kMaxDatagrams = 8;
const long long kMaxBuffer = 1 << 16; // larger SIZE texts are parsed, then capped

class Input
{
public:
    Input(const uint8_t* data, size_t size) : data(data), size(size) {}
    uint8_t byte() { return at < size ? data[at++] : 0; }
    std::string text(size_t n)
    {
        std::string t;
        for (size_t i = 0; i < n; ++i)
            t += char(byte());
        return t.c_str(); // up to its first zero
    }
    std::vector<uint8_t> rest() const
    {
        return at < size ? std::vector<uint8_t>(data + at, data + size) : std::vector<uint8_t>();
    }

private:
    const uint8_t* data;
    size_t size;
    size_t at = 0;
};

struct Variable
{
    int type;
    std::string offset;
};

DD_DATA_TYPE_STRUCT* makeSource(DD_BUILTIN_FILL fill)
{
    DD_DATA_TYPE_STRUCT* s = createDataType(10);
    if (s == nullptr)
        abort();
    s->vddInit = vddInit;
    s->vddOption = vddOption;
    s->vddAddVariable = vddAddVariable;
    s->vddDeleteAllVariables = vddDeleteAllVariables;
    s->vddGetAllVariables = vddGetAllVariables;
    fill(s);
    s->fnInfo(s);
    return s;
}

void addVariables(DD_DATA_TYPE_STRUCT* s, const std::vector<Variable>& variables)
{
    for (const Variable& v : variables)
        vddAddVariable(s, const_cast<char*>("v"), v.type, v.offset.c_str());
}

// Storage for every variable; the view writes every other one (its bytes
// taken from the payload) when asked.
void giveStorage(DD_DATA_TYPE_STRUCT* s, bool write, const std::vector<uint8_t>& payload)
{
    size_t k = 0;
    for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next, ++k) {
        if (std::memchr(v->name, 0, sizeof v->name) == nullptr)
            abort();
        if (dorne::resetValue(v) != 0)
            abort();
        v->write = write && k % 2 == 0;
        const size_t n = std::min(payload.size(), dorne::valueStorageSize(v->type) - 1);
        if (v->write && n > 0)
            std::memcpy(v->value, payload.data(), n);
    }
}

// A written variable's value as the view holds it before a cycle.
struct Written
{
    const DD_VAR_STRUCT* v;
    std::vector<unsigned char> bytes; // a number's storage bytes
    std::string text;                 // a text
};

std::vector<Written> writtenValues(const DD_DATA_TYPE_STRUCT* s)
{
    std::vector<Written> written;
    for (const DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next) {
        if (!v->write || v->value == nullptr || (dorne::valueWidth(v->type) == 0 && v->type != DD_STRING))
            continue; // unknown types are not exchanged
        const auto* bytes = static_cast<const unsigned char*>(v->value);
        if (v->type == DD_STRING)
            written.push_back({v, {}, std::string(static_cast<const char*>(v->value))});
        else
            written.push_back({v, std::vector<unsigned char>(bytes, bytes + dorne::valueWidth(v->type)), {}});
    }
    return written;
}

// Within one cycle a changed written value goes into the region and is read
// back before anything else touches it, so it must come back as written:
// numbers with the peer format's width (the 64-bit types' low four bytes,
// sign- or zero-extended), texts cut at the region's end. A value outside
// the region stays as the view wrote it.
void checkReadBack(const std::vector<Written>& written, size_t regionSize)
{
    for (const Written& w : written) {
        const DD_VAR_STRUCT* v = w.v;
        if (!v->changed)
            continue; // not sent: the region's own bytes are read
        long long offset = 0;
        const bool inside = dorne::variableOffset(v, &offset) && dorne::fitsAt(v, offset, regionSize);
        if (v->type == DD_STRING) {
            const std::string expected = inside ? w.text.substr(0, regionSize - size_t(offset)) : w.text;
            if (expected != static_cast<const char*>(v->value))
                abort();
            continue;
        }
        std::vector<unsigned char> expected = w.bytes;
        if (inside && (v->type == DD_LONG || v->type == DD_ULONG)) {
            uint64_t wide;
            std::memcpy(&wide, expected.data(), 8);
            const uint32_t low = uint32_t(wide);
            wide = v->type == DD_LONG ? uint64_t(int64_t(int32_t(low))) : uint64_t(low);
            std::memcpy(expected.data(), &wide, 8);
        }
        if (std::memcmp(expected.data(), v->value, expected.size()) != 0)
            abort();
    }
}

void exchange(DD_DATA_TYPE_STRUCT* s, size_t regionSize)
{
    std::vector<Written> written = writtenValues(s);
    fillDP(s);
    checkReadBack(written, regionSize);
    for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next)
        if (v->value != nullptr)
            static_cast<unsigned char*>(v->value)[0] ^= 0x5A; // changed by the view
    written = writtenValues(s);
    fillDP(s);
    checkReadBack(written, regionSize);
}

void shmRound(uint8_t flags, const std::vector<Variable>& variables, const std::vector<uint8_t>& payload)
{
    if (payload.empty())
        return; // a segment has at least one byte
    peer::Segment segment(payload.size());
    if (!segment.ok())
        abort();
    std::memcpy(segment.bytes, payload.data(), payload.size());

    DD_DATA_TYPE_STRUCT* s = makeSource(shmDataEntryPoints);
    std::snprintf(s->para[0].text, 64, "%s", segment.keyText().c_str());
    s->para[1].value = flags & 1;
    s->para[2].value = (flags & 2) ? 1 : 0;
    // The file's variables; with the load button, the block's and the
    // file's once more behind them.
    addVariables(s, variables);
    if (flags & 4) {
        s->fnCallbackData(3, 0, nullptr, s);
        addVariables(s, variables);
    }
    s->fnOpen(s);
    segment.markRemoved(); // gone with the last attachment, even after a crash
    s->fnStartView(s);
    giveStorage(s, flags & 8, payload);
    exchange(s, payload.size());

    // The segment's page beyond its size must stay as the system zeroed it.
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    for (size_t k = payload.size(); k % page != 0; ++k) // to the end of the last page
        if (segment.bytes[k] != 0)
            abort();
    s->fnClose(s);
    DD_DATA_TYPE_STRUCT* head = s;
    delDataType(&head, s, 1);
}

void udpRound(uint8_t flags, const std::vector<Variable>& variables, std::string sizeText,
              const std::vector<uint8_t>& payload)
{
    static const int port = peer::freeUdpPort();
    static const peer::Sender sender(port);
    if (port <= 0)
        abort();

    DD_PARA_STRUCT sizePara = {0, &sizeText[0], int32_t(sizeText.size() + 1)};
    long long size = 0;
    if (dorne::parseDecimal(&sizePara, &size) && size > kMaxBuffer)
        sizeText = std::to_string(kMaxBuffer);

    DD_DATA_TYPE_STRUCT* s = makeSource(udpDataEntryPoints);
    std::snprintf(s->para[0].text, 64, "%d", port);
    std::snprintf(s->para[1].text, 64, "%s", sizeText.c_str());
    s->para[2].value = flags & 1;
    addVariables(s, variables);
    if (s->fnOpen(s) == 0) {
        s->fnStartView(s);
        giveStorage(s, flags & 8, payload);
        // Length-prefixed pieces of the payload, as datagrams.
        size_t at = 0;
        for (size_t n = 0; n < kMaxDatagrams && at < payload.size(); ++n) {
            const size_t length = std::min<size_t>(payload[at] * 4u, payload.size() - at - 1);
            sender.send(payload.data() + at + 1, length);
            at += 1 + length;
        }
        exchange(s, static_cast<const dorne::SocketDataState*>(s->privateData)->size);
    }
    s->fnClose(s);
    DD_DATA_TYPE_STRUCT* head = s;
    delDataType(&head, s, 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = [] {
        setLogLevel(0);
        return true;
    }();
    (void)quiet;
    Input input(data, size);
    const uint8_t flags = input.byte();
    std::vector<Variable> variables(input.byte() % (kMaxVariables + 1));
    for (Variable& v : variables) {
        v.type = int8_t(input.byte()) % 16; // the eleven types and a few unknown ones
        v.offset = input.text(8);
    }
    const std::string sizeText = input.text(8);
    const std::vector<uint8_t> payload = input.rest();
    shmRound(flags, variables, payload);
    udpRound(flags, variables, sizeText, payload);
    return 0;
}
