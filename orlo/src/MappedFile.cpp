#include "MappedFile.h"

#include "BulkAllocator.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <csignal>
#include <cstring>
#include <mutex>
#include <new>

#include <sys/mman.h>
#include <unistd.h>

namespace KAVO {

namespace {

// The guard of the reading thread: where a fault on mapped memory returns to.
thread_local sigjmp_buf* tGuard = nullptr;
thread_local const void* tFault = nullptr;

std::mutex gHandlerMutex;
int gGuards = 0;
struct sigaction gPrevious;

void onBusError(int, siginfo_t* info, void*)
{
    if (tGuard != nullptr) {
        tFault = info->si_addr;
        siglongjmp(*tGuard, 1);
    }
    // Not a guarded read: the previous handler takes the fault when the
    // access is made again on return.
    sigaction(SIGBUS, &gPrevious, nullptr);
}

void installHandler()
{
    std::lock_guard<std::mutex> lock(gHandlerMutex);
    if (gGuards++ > 0)
        return;
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_sigaction = onBusError;
    action.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    sigaction(SIGBUS, &action, &gPrevious);
}

void removeHandler()
{
    std::lock_guard<std::mutex> lock(gHandlerMutex);
    if (--gGuards > 0)
        return;
    sigaction(SIGBUS, &gPrevious, nullptr);
}

} // namespace

MappedFile::~MappedFile()
{
    close();
}

MappedFile::MappedFile(MappedFile&& other) noexcept
{
    *this = std::move(other);
}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept
{
    if (this != &other) {
        close();
        mData = other.mData;
        mSize = other.mSize;
        mMapBase = other.mMapBase;
        mMapSize = other.mMapSize;
        mMapped = other.mMapped;
        other.mData = nullptr;
        other.mSize = 0;
        other.mMapBase = nullptr;
        other.mMapSize = 0;
        other.mMapped = false;
        mReleased = other.mReleased;
        other.mReleased = 0;
    }
    return *this;
}

bool MappedFile::open(QFile& file, qint64 offset, qint64 length, QString* error)
{
    close();
    if (length <= 0 || offset < 0)
        return true;
    // A small file is read: one copy costs less than setting up a mapping.
    constexpr qint64 MapFrom = qint64(64) << 10;
    const int fd = length >= MapFrom ? file.handle() : -1;
    const long page = sysconf(_SC_PAGESIZE);
    const qint64 start = offset / page * page;
    const std::size_t mapSize = static_cast<std::size_t>(offset - start + length);
    void* base = fd >= 0 ? mmap(nullptr, mapSize, PROT_READ, MAP_PRIVATE, fd, start) : MAP_FAILED;
    if (base != MAP_FAILED) {
        // Read ahead now if the file is not in memory yet.
        madvise(base, mapSize, MADV_WILLNEED);
        mMapBase = base;
        mMapSize = mapSize;
        mData = static_cast<uint8_t*>(base) + (offset - start);
        mSize = static_cast<std::size_t>(length);
        mMapped = true;
        return true;
    }

    // Where mapping is not offered (or does not pay), the bytes are read
    // into memory.
    uint8_t* buffer = nullptr;
    try {
        buffer = static_cast<uint8_t*>(BulkMemory::allocate(static_cast<std::size_t>(length)));
    } catch (const std::bad_alloc&) {
        if (error != nullptr)
            *error = QString::fromLocal8Bit(strerror(ENOMEM));
        return false;
    }
    qint64 got = 0;
    if (file.seek(offset)) {
        while (got < length) {
            const qint64 n = file.read(reinterpret_cast<char*>(buffer) + got, length - got);
            if (n <= 0)
                break;
            got += n;
        }
    }
    mMapBase = buffer;
    mMapSize = static_cast<std::size_t>(length);
    mData = buffer;
    mSize = static_cast<std::size_t>(got);
    mMapped = false;
    return true;
}

void MappedFile::release(std::size_t upTo)
{
    if (!mMapped)
        return;
    // Whole pages only, from where the last release ended (the first page
    // holds the header, which is not read again either).
    const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t begin = reinterpret_cast<uintptr_t>(mMapBase) + mReleased;
    const uintptr_t end = (reinterpret_cast<uintptr_t>(mData) + std::min(upTo, mSize)) & ~(page - 1);
    if (end <= begin)
        return;
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
    mReleased = end - reinterpret_cast<uintptr_t>(mMapBase);
}

void MappedFile::close()
{
    if (mMapBase != nullptr) {
        if (mMapped)
            munmap(mMapBase, mMapSize);
        else
            BulkMemory::release(mMapBase, mMapSize);
    }
    mData = nullptr;
    mSize = 0;
    mMapBase = nullptr;
    mMapSize = 0;
    mMapped = false;
    mReleased = 0;
}

bool MappedFile::runGuarded(void (*fn)(void*), void* arg, const void** fault)
{
    // Puts the outer guard and the handler back however the call ends (an
    // exception passes through as it is).
    struct Scope
    {
        sigjmp_buf* const outer = tGuard;
        Scope() { installHandler(); }
        ~Scope()
        {
            tGuard = outer;
            removeHandler();
        }
    } scope;
    sigjmp_buf jump;
    if (sigsetjmp(jump, 1) != 0) {
        tGuard = scope.outer;
        if (fault != nullptr)
            *fault = tFault;
        return false;
    }
    tGuard = &jump;
    fn(arg);
    return true;
}

} // namespace KAVO
