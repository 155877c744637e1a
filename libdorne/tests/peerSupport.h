// The other side of the shared-memory and UDP sources, for tests and
// benchmarks: a System V segment of a test's own and a UDP sender on the
// loopback address. Plain system calls only (no test framework), so the
// ThreadSanitizer build and the benchmarks can use it too.
#ifndef DORNE_PEER_SUPPORT_H
#define DORNE_PEER_SUPPORT_H

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace peer {

// A segment created for this run under a key no other segment has
// (IPC_CREAT | IPC_EXCL), attached, zero-filled; removed with the object, so
// a failing test leaves nothing behind.
class Segment
{
public:
    explicit Segment(size_t size) : size(size)
    {
        std::random_device random;
        for (int attempt = 0; attempt < 1000 && id < 0; ++attempt) { // keys are 32-bit: a clash is rare
            key = key_t(random() ^ (unsigned(getpid()) << 8));
            if (key != IPC_PRIVATE)
                id = shmget(key, size, IPC_CREAT | IPC_EXCL | 0600);
        }
        if (id < 0)
            return;
        void* at = shmat(id, nullptr, 0);
        if (at == reinterpret_cast<void*>(-1)) {
            remove();
            return;
        }
        bytes = static_cast<unsigned char*>(at);
    }
    ~Segment() { remove(); }
    Segment(const Segment&) = delete;
    Segment& operator=(const Segment&) = delete;

    bool ok() const { return bytes != nullptr; }

    // The key as the source's key text: "0x1a2b3c4d" or, without the
    // prefix, "1a2b3c4d".
    std::string keyText(bool prefix = true) const
    {
        char text[16];
        std::snprintf(text, sizeof text, prefix ? "0x%x" : "%x", unsigned(key));
        return text;
    }

    // How many processes' attachments the segment has (ours included).
    int attachments() const
    {
        shmid_ds status;
        return shmctl(id, IPC_STAT, &status) == 0 ? int(status.shm_nattch) : -1;
    }

    // Marks the segment for removal while it stays attached: no key finds
    // it any more, and it goes with the last attachment, a crash included.
    void markRemoved()
    {
        if (id >= 0)
            shmctl(id, IPC_RMID, nullptr);
        id = -1;
    }

    // Removes the segment now: it goes when the last attachment does.
    void remove()
    {
        if (bytes != nullptr)
            shmdt(bytes);
        bytes = nullptr;
        if (id >= 0)
            shmctl(id, IPC_RMID, nullptr);
        id = -1;
    }

    key_t key = 0;
    int id = -1;
    unsigned char* bytes = nullptr;
    size_t size;
};

// Stores the low `width` bytes of n at `at`, big-endian or little-endian.
inline void putBytes(unsigned char* at, uint64_t n, int width, bool bigEndian)
{
    for (int i = 0; i < width; ++i)
        at[bigEndian ? width - 1 - i : i] = uint8_t(n >> (8 * i));
}

// A UDP port nobody is bound to right now (the system's pick for port 0).
inline int freeUdpPort()
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        return -1;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = -1;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(fd);
    return port;
}

// A UDP port for a source under test, held from its choice until the
// source has bound it. A port that is merely free when chosen can be taken
// before the source binds it by a test program run beside: by any of its
// sockets, or by its own source, which binds with address reuse as ours
// does and would then share the port and its datagrams. The hold is bound
// on every local address, as the source binds: without address reuse when
// the system picks the port (so no socket holds it), then with it, so that
// the source (and only a socket that binds with reuse) can join. release()
// once the source has its socket, before anything is sent.
class UdpPort
{
public:
    UdpPort() : fd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0))
    {
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        socklen_t length = sizeof address;
        const int on = 1;
        if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0 &&
            setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) == 0)
            number = ntohs(address.sin_port);
        else
            release();
    }
    ~UdpPort() { release(); }
    UdpPort(const UdpPort&) = delete;
    UdpPort& operator=(const UdpPort&) = delete;

    // The port; -1 when none could be held.
    int port() const { return number; }
    void release()
    {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }

private:
    int fd;
    int number = -1;
};

// Sends datagrams to 127.0.0.1 at one port.
class Sender
{
public:
    explicit Sender(int port) : fd(socket(AF_INET, SOCK_DGRAM, 0))
    {
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(uint16_t(port));
    }
    ~Sender()
    {
        if (fd >= 0)
            close(fd);
    }
    Sender(const Sender&) = delete;
    Sender& operator=(const Sender&) = delete;

    // True when the whole datagram went out.
    bool send(const void* data, size_t size) const
    {
        return sendto(fd, data, size, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) == ssize_t(size);
    }
    bool send(const std::string& data) const { return send(data.data(), data.size()); }

private:
    int fd;
    sockaddr_in to = {};
};

} // namespace peer

#endif
