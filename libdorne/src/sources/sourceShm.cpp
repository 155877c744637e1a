// "SHM DATA" (type number 3): variables at byte offsets of a System V
// shared-memory segment that another process fills, optionally described by
// the segment's NSHM block. Failed segment calls go to standard error with
// the system's error text; what the segment or the view file gets wrong goes
// to the library log.
#include "sources/builtinSources.h"
#include "sources/sourceBytes.h"

#include "dorneLog.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Source options.
enum
{
    kOptKey,
    kOptEndian,
    kOptAutoLoad,
    kOptLoadButton
};

// The NSHM block: a 64-byte header whose last 4 bytes count the entries,
// then one 64-byte entry per variable (name, type code, value), all
// integers in the host's byte order.
const size_t kEntrySize = 64;
const size_t kCountAt = 60;
const size_t kNameSize = 52;
const size_t kTypeAt = 52;
const size_t kValueAt = 56;

struct ShmState
{
    unsigned char* address = nullptr; // null while not attached
    int id = -1;
    size_t size = 0; // of the segment: every access is checked against it
    int hostOrder = dorne::kHostLittleEndian;
    int dataOrder = 0; // the ENDIAN choice
};

ShmState* stateOf(DD_DATA_TYPE_STRUCT* s)
{
    return s != nullptr ? static_cast<ShmState*>(s->privateData) : nullptr;
}

int choiceOf(const DD_DATA_TYPE_STRUCT* s, int option)
{
    const DD_PARA_STRUCT* p = dorne::optionAt(s->para, s->paraAlloc, option);
    return p != nullptr ? p->value : 0;
}

void detach(ShmState* state)
{
    if (state->address == nullptr)
        return;
    if (shmdt(state->address) != 0) {
        std::perror("vddShmVarCloseShm: shmdt");
        std::fprintf(stderr, "id = %d\n", state->id);
    }
    state->address = nullptr;
    state->size = 0;
}

void release(DD_DATA_TYPE_STRUCT* s)
{
    if (ShmState* state = stateOf(s)) {
        detach(state);
        delete state;
    }
    s->privateData = nullptr;
}

// A fresh state from the source's options; null when memory runs out.
ShmState* makeState(DD_DATA_TYPE_STRUCT* s)
{
    release(s);
    auto* state = new (std::nothrow) ShmState;
    if (state == nullptr) {
        logMsg(1, "vddShmVarOpen: out of memory\n");
        return nullptr;
    }
    state->dataOrder = choiceOf(s, kOptEndian);
    s->privateData = state;
    return state;
}

// The key is the hexadecimal value of the key text, with or without 0x:
// the whole text, nothing before or after the digits. Anything else would
// become another key (an empty text key 0, IPC_PRIVATE, a segment no peer
// can reach), so it makes the attach fail.
bool keyOf(const DD_DATA_TYPE_STRUCT* s, key_t* key)
{
    const DD_PARA_STRUCT* p = dorne::optionAt(s->para, s->paraAlloc, kOptKey);
    if (p == nullptr)
        return false;
    char text[64] = {};
    const size_t length = strnlen(p->text, size_t(p->capacity > 0 ? p->capacity : 0));
    std::memcpy(text, p->text, std::min(sizeof text - 1, length));
    const char* digit = text;
    if (digit[0] == '0' && (digit[1] == 'x' || digit[1] == 'X'))
        digit += 2;
    uint64_t n = 0;
    const char* end = digit;
    for (; std::isxdigit(static_cast<unsigned char>(*end)) && n <= 0xFFFFFFFFull; ++end)
        n = n * 16 + uint64_t(*end <= '9' ? *end - '0' : (*end | 0x20) - 'a' + 10);
    if (length >= sizeof text || end == digit || *end != '\0' || n > 0xFFFFFFFFull) {
        logMsg(1, "vddShmVarOpenShm: source %.*s: key text <%s> is no 32-bit hexadecimal key\n",
               int(sizeof s->name - 1), s->name, text);
        return false;
    }
    *key = key_t(uint32_t(n));
    return true;
}

// Attaches the existing segment of the key, read-write, and takes its size.
// 0, -1 after a failure (not attached, except when only the status failed).
int attach(DD_DATA_TYPE_STRUCT* s, ShmState* state)
{
    detach(state);
    key_t key = 0;
    if (!keyOf(s, &key))
        return -1;
    state->id = shmget(key, 0, 0666);
    if (state->id < 0) {
        std::perror("vddShmVarOpenShm: shmget");
        std::fprintf(stderr, "key = 0x%x\n", unsigned(key));
        return -1;
    }
    void* address = shmat(state->id, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) {
        std::perror("vddShmVarOpenShm: shmat");
        std::fprintf(stderr, "key = 0x%x\n", unsigned(key));
        return -1;
    }
    state->address = static_cast<unsigned char*>(address);
    shmid_ds status;
    if (shmctl(state->id, IPC_STAT, &status) != 0) {
        // Attached, but of unknown size: no value is read or written.
        std::perror("vddShmVarOpenShm: shmctl 1");
        std::fprintf(stderr, "id = %d\n", state->id);
        return -1;
    }
    state->size = status.shm_segsz;
    return 0;
}

// NSHM type codes to value types; no code gives a double or a text.
int nshmValueType(int32_t code)
{
    switch (code) {
    case 0:
    case 1:
    case 21:
    case 22:
        return DD_INT;
    case 3:
    case 5:
        return DD_LONG;
    case 4:
        return DD_ULONG;
    case 6:
    case 8:
    case 12:
    case 14:
        return DD_SHORT;
    case 7:
    case 13:
        return DD_USHORT;
    case 9:
    case 11:
    case 15:
    case 17:
    case 18:
    case 20:
    case 23:
    case 24:
    case 25:
        return DD_CHAR;
    case 10:
    case 16:
    case 19:
        return DD_UCHAR;
    default:
        return DD_FLOAT;
    }
}

// Replaces the source's variables by the entries of the segment's NSHM
// block, in entry order. Only entries that lie wholly inside the segment
// are taken; a name that fills its 52 bytes ends there.
void readBlock(DD_DATA_TYPE_STRUCT* s, const ShmState* state)
{
    if (state->address == nullptr || s->vddDeleteAllVariables == nullptr || s->vddAddVariable == nullptr)
        return;
    s->vddDeleteAllVariables(s);
    const unsigned char* segment = state->address;
    const size_t size = state->size;
    if (size < kEntrySize) {
        logMsg(2, "vddShmVarReadNshm: the segment of %zu bytes holds no NSHM block\n", size);
        return;
    }
    int32_t declared;
    std::memcpy(&declared, segment + kCountAt, sizeof declared);
    const size_t fit = size / kEntrySize - 1;
    const size_t count = declared < 0 ? 0 : std::min(size_t(declared), fit);
    if (declared < 0 || size_t(declared) > fit)
        logMsg(2, "vddShmVarReadNshm: the NSHM block declares %d entries, the segment of %zu bytes holds %zu\n",
               declared, size, fit);
    for (size_t k = 1; k <= count; ++k) { // at most one entry per 64 bytes of the segment
        const unsigned char* entry = segment + kEntrySize * k;
        char name[kNameSize + 1] = {};
        std::memcpy(name, entry, strnlen(reinterpret_cast<const char*>(entry), kNameSize));
        int32_t code;
        std::memcpy(&code, entry + kTypeAt, sizeof code);
        char offset[24];
        std::snprintf(offset, sizeof offset, "%zu", kEntrySize * k + kValueAt);
        if (s->vddAddVariable(s, name, nshmValueType(code), offset) != 0) {
            logMsg(1, "vddShmVarReadNshm: out of memory after %zu entries\n", k - 1);
            return;
        }
    }
}

int vddShmVarInfo(DD_DATA_TYPE_STRUCT* s)
{
    s->vddInit(s, ddText("SHM DATA"), 3, 0);
    s->vddOption(s, 0, 0, 0, ddText("SHM KEY (Hex)"));
    s->vddOption(s, 0, 1, 0, ddText("ENDIAN"), "Big Endian", "Little Endian", nullptr);
    s->vddOption(s, 0, 1, 0, ddText("AUTO-LOAD"), "Auto Load NSHM off", "Auto Load NSHM on", nullptr);
    s->vddOption(s, 0, 2, 0, ddText("LOAD NSHM"), "Load");
    s->vddOption(s, 1, 0, 0, ddText("OFFSET"));
    return 0;
}

int vddShmVarOpen(DD_DATA_TYPE_STRUCT* s)
{
    ShmState* state = makeState(s);
    if (state == nullptr)
        return -1;
    return attach(s, state) == 0 ? 0 : -1;
}

int vddShmVarClose(DD_DATA_TYPE_STRUCT* s)
{
    release(s);
    return 0;
}

int vddShmVarStartView(DD_DATA_TYPE_STRUCT* s)
{
    ShmState* state = stateOf(s);
    if (state == nullptr || state->address == nullptr)
        return 0;
    if (choiceOf(s, kOptAutoLoad) == 1)
        readBlock(s, state);
    dorne::reportOffsets("vddShmVarStartView", s, "segment", state->size);
    return 0;
}

int vddShmVarGet(DD_VAR_STRUCT* v, DD_DATA_TYPE_STRUCT* s)
{
    if (const ShmState* state = stateOf(s))
        dorne::readValue(v, state->address, state->size, state->hostOrder != state->dataOrder);
    return 0;
}

// Only values the view changed reach the segment.
int vddShmVarSet(DD_VAR_STRUCT* v, DD_DATA_TYPE_STRUCT* s)
{
    if (const ShmState* state = stateOf(s))
        dorne::writeValue(v, state->address, state->size, state->hostOrder != state->dataOrder);
    return 0;
}

int vddShmVarNewData(DD_DATA_TYPE_STRUCT* s)
{
    if (s != nullptr)
        dorne::setOptionText(s->para, s->paraAlloc, kOptKey, "0x0");
    return 0;
}

int vddShmVarNewVariable(DD_VAR_STRUCT* v)
{
    if (v != nullptr)
        dorne::setOptionText(v->para, v->paraAlloc, 0, "0");
    return 0;
}

// The load button: reads the block once through an attachment of its own
// and leaves the source without state (a state made by Open included).
int vddShmVarCallbackData(int option, int, char*, DD_DATA_TYPE_STRUCT* s)
{
    if (option != kOptLoadButton || s == nullptr)
        return 0;
    ShmState* state = stateOf(s);
    if (state == nullptr)
        state = makeState(s);
    if (state == nullptr)
        return -1;
    if (attach(s, state) == 0)
        readBlock(s, state);
    release(s);
    return 0;
}

} // namespace

void shmDataEntryPoints(DD_DATA_TYPE_STRUCT* s)
{
    ddProvideNothing(s);
    s->fnInfo = vddShmVarInfo;
    s->fnOpen = vddShmVarOpen;
    s->fnClose = vddShmVarClose;
    s->fnStartView = vddShmVarStartView;
    s->fnGet = vddShmVarGet;
    s->fnSet = vddShmVarSet;
    s->fnNewData = vddShmVarNewData;
    s->fnNewVariable = vddShmVarNewVariable;
    s->fnCallbackData = vddShmVarCallbackData;
}
