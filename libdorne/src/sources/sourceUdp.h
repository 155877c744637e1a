// State of the UDP source "UDP Socket Data": its private data from Open to
// Close. Shared with the tests, which wait on its socket.
#ifndef DORNE_SOURCE_UDP_H
#define DORNE_SOURCE_UDP_H

#include <cstddef>

namespace dorne {

struct SocketDataState
{
    unsigned char* buffer = nullptr; // SIZE bytes: the newest datagram over what older ones left
    int socket = -1;                 // non-blocking, bound to PORT on every local address
    size_t size = 0;
    int hostOrder = 0; // 1 on a little-endian host
    int dataOrder = 0; // the ENDIAN choice
};

} // namespace dorne

#endif
