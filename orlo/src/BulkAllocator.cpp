#include "BulkAllocator.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include <dirent.h>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace KAVO {

namespace {

constexpr uintptr_t Page = 4096;
constexpr std::size_t HugePage = std::size_t(2) << 20;

// The first line of a small system file, empty when it cannot be read.
std::string firstLine(const std::string& path)
{
    char line[512] = {};
    FILE* f = fopen(path.c_str(), "r");
    if (f == nullptr)
        return std::string();
    if (fgets(line, sizeof line, f) == nullptr)
        line[0] = '\0';
    fclose(f);
    return line;
}

std::size_t mappedSize(std::size_t bytes)
{
    return (bytes + HugePage - 1) / HugePage * HugePage;
}

} // namespace

bool BulkMemory::hugePagesPay()
{
#ifdef __linux__
    if (firstLine("/sys/kernel/mm/transparent_hugepage/enabled").find("[never]") != std::string::npos)
        return false;
    // A virtio balloon (device 5) that reports free pages (feature bit 5).
    DIR* devices = opendir("/sys/bus/virtio/devices");
    if (devices == nullptr)
        return true;
    bool reporting = false;
    while (const dirent* d = readdir(devices)) {
        const std::string base = std::string("/sys/bus/virtio/devices/") + d->d_name;
        if (d->d_name[0] == '.' || firstLine(base + "/device").compare(0, 6, "0x0005") != 0)
            continue;
        const std::string features = firstLine(base + "/features");
        reporting = reporting || (features.size() > 5 && features[5] == '1');
    }
    closedir(devices);
    return !reporting;
#else
    return false;
#endif
}

void BulkMemory::adviseHuge(const void* data, std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    static const bool pay = hugePagesPay();
    if (data == nullptr || bytes < HugeFrom || !pay)
        return;
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(data) + Page - 1) & ~(Page - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(Page - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

void* BulkMemory::allocate(std::size_t bytes)
{
#ifdef __linux__
    if (bytes >= HugeFrom) {
        // Mapped with room to start on a huge-page boundary; the rest is
        // given back at once.
        const std::size_t size = mappedSize(bytes);
        void* p = mmap(nullptr, size + HugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED)
            throw std::bad_alloc();
        const uintptr_t raw = reinterpret_cast<uintptr_t>(p);
        const uintptr_t aligned = (raw + HugePage - 1) & ~(HugePage - 1);
        if (aligned > raw)
            munmap(p, aligned - raw);
        const uintptr_t tail = aligned + size;
        if (raw + size + HugePage > tail)
            munmap(reinterpret_cast<void*>(tail), raw + size + HugePage - tail);
        adviseHuge(reinterpret_cast<void*>(aligned), size);
        return reinterpret_cast<void*>(aligned);
    }
#endif
    return ::operator new(bytes);
}

void BulkMemory::release(void* data, std::size_t bytes)
{
    if (data == nullptr)
        return;
#ifdef __linux__
    if (bytes >= HugeFrom) {
        munmap(data, mappedSize(bytes));
        return;
    }
#endif
    ::operator delete(data);
}

} // namespace KAVO
