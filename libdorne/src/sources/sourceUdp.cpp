// "UDP Socket Data" (type number 4): variables at byte offsets of the newest
// UDP datagram received on a port. Nothing is sent: a value the view writes
// changes the local buffer only. Failed socket calls go to standard error
// with the system's error text; bad options go to the library log.
#include "sources/builtinSources.h"
#include "sources/sourceBytes.h"
#include "sources/sourceUdp.h"

#include "dorneLog.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <new>

using dorne::SocketDataState;

namespace {

// Source options.
enum
{
    kOptPort,
    kOptSize,
    kOptEndian
};

// Datagrams one Run takes at most. Far more than a default receive buffer
// holds, so a cycle empties what was waiting; a sender faster than the
// drain cannot keep the data thread (and the view's lock) forever.
const int kMaxDatagramsPerRun = 4096;

SocketDataState* stateOf(DD_DATA_TYPE_STRUCT* s)
{
    return s != nullptr ? static_cast<SocketDataState*>(s->privateData) : nullptr;
}

void release(DD_DATA_TYPE_STRUCT* s)
{
    if (SocketDataState* state = stateOf(s)) {
        if (state->socket >= 0)
            close(state->socket);
        std::free(state->buffer);
        delete state;
    }
    s->privateData = nullptr;
}

// A decimal source option within lo..hi, or false (logged) when it is not.
bool numberOption(const DD_DATA_TYPE_STRUCT* s, int option, long long lo, long long hi, long long* n)
{
    const DD_PARA_STRUCT* p = dorne::optionAt(s->para, s->paraAlloc, option);
    if (dorne::parseDecimal(p, n) && *n >= lo && *n <= hi)
        return true;
    const char* label = option == kOptPort ? "PORT" : "SIZE";
    logMsg(1, "socketVar: %s <%.*s> is not in %lld..%lld\n", label,
           p != nullptr ? int(strnlen(p->text, size_t(p->capacity))) : 0, p != nullptr ? p->text : "", lo, hi);
    return false;
}

// An IPv4 datagram socket on every local address at port, with address
// reuse, non-blocking; -1 after a failure (on standard error).
int openSocket(int port)
{
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        std::perror("Opening receive socket");
        return -1;
    }
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(uint16_t(port));
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        std::perror("bind socket");
        close(fd);
        return -1;
    }
    return fd;
}

int vddSocketVarInfo(DD_DATA_TYPE_STRUCT* s)
{
    s->vddInit(s, ddText("UDP Socket Data"), 4, 0);
    s->vddOption(s, 0, 0, 0, ddText("PORT"));
    s->vddOption(s, 0, 0, 0, ddText("SIZE"));
    s->vddOption(s, 0, 1, 0, ddText("ENDIAN"), "Big Endian", "Little Endian", nullptr);
    s->vddOption(s, 1, 0, 0, ddText("OFFSET"));
    return 0;
}

// On any failure the source is left without state, so it has no buffer.
int vddSocketVarOpen(DD_DATA_TYPE_STRUCT* s)
{
    release(s);
    long long port = 0;
    long long size = 0;
    if (!numberOption(s, kOptPort, 0, 65535, &port) || !numberOption(s, kOptSize, 1, INT_MAX, &size))
        return -1;
    auto* state = new (std::nothrow) SocketDataState;
    if (state == nullptr) {
        std::fputs("socketVar: error malloc\n", stderr);
        return -1;
    }
    s->privateData = state;
    state->socket = openSocket(int(port));
    if (state->socket < 0) {
        std::perror("opening socket");
        release(s);
        return -1;
    }
    state->buffer = static_cast<unsigned char*>(std::calloc(1, size_t(size)));
    if (state->buffer == nullptr) {
        std::fputs("socketVar: error malloc\n", stderr);
        release(s);
        return -1;
    }
    state->size = size_t(size);
    state->hostOrder = dorne::kHostLittleEndian;
    const DD_PARA_STRUCT* endian = dorne::optionAt(s->para, s->paraAlloc, kOptEndian);
    state->dataOrder = endian != nullptr ? endian->value : 0;
    dorne::reportOffsets("vddSocketVarOpen", s, "receive buffer", state->size);
    return 0;
}

int vddSocketVarClose(DD_DATA_TYPE_STRUCT* s)
{
    if (s != nullptr)
        release(s);
    return 0;
}

// Takes in every datagram waiting, each into the start of the buffer and cut
// to its size: the buffer then holds the newest one over the tails of older.
int vddSocketVarRun(DD_DATA_TYPE_STRUCT* s)
{
    SocketDataState* state = stateOf(s);
    if (state == nullptr || state->buffer == nullptr)
        return 0;
    for (int i = 0; i < kMaxDatagramsPerRun; ++i) { // bounded: see kMaxDatagramsPerRun
        if (recv(state->socket, state->buffer, state->size, 0) < 0 && errno != EINTR)
            break; // nothing waiting (EAGAIN), or the socket failed
    }
    return 0;
}

int vddSocketVarGet(DD_VAR_STRUCT* v, DD_DATA_TYPE_STRUCT* s)
{
    if (const SocketDataState* state = stateOf(s))
        dorne::readValue(v, state->buffer, state->size, state->hostOrder != state->dataOrder);
    return 0;
}

// A value the view changed lands in the buffer and reads back until a
// datagram covers those bytes. Only changed values: Run receives before Set,
// so writing every cycle would cover each datagram at once and the variable
// would never show the sender's value again.
int vddSocketVarSet(DD_VAR_STRUCT* v, DD_DATA_TYPE_STRUCT* s)
{
    if (const SocketDataState* state = stateOf(s))
        dorne::writeValue(v, state->buffer, state->size, state->hostOrder != state->dataOrder);
    return 0;
}

int vddSocketVarNewData(DD_DATA_TYPE_STRUCT* s)
{
    if (s == nullptr)
        return 0;
    dorne::setOptionText(s->para, s->paraAlloc, kOptPort, "0");
    dorne::setOptionText(s->para, s->paraAlloc, kOptSize, "0");
    if (s->para != nullptr && kOptEndian < s->paraAlloc)
        s->para[kOptEndian].value = 0;
    return 0;
}

int vddSocketVarNewVariable(DD_VAR_STRUCT* v)
{
    if (v == nullptr)
        return 0;
    dorne::setOptionText(v->para, v->paraAlloc, 0, "0");
    v->type = DD_FLOAT;
    return 0;
}

} // namespace

void udpDataEntryPoints(DD_DATA_TYPE_STRUCT* s)
{
    ddProvideNothing(s);
    s->fnInfo = vddSocketVarInfo;
    s->fnOpen = vddSocketVarOpen;
    s->fnClose = vddSocketVarClose;
    s->fnRun = vddSocketVarRun;
    s->fnGet = vddSocketVarGet;
    s->fnSet = vddSocketVarSet;
    s->fnNewData = vddSocketVarNewData;
    s->fnNewVariable = vddSocketVarNewVariable;
}
