#include "BulkAllocator.h"

#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace KAVO {

namespace {

constexpr uintptr_t Page = 4096;
constexpr std::size_t HugePage = std::size_t(2) << 20;

std::size_t mappedSize(std::size_t bytes)
{
    return (bytes + HugePage - 1) / HugePage * HugePage;
}

} // namespace

void BulkMemory::adviseHuge(const void* data, std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (data == nullptr || bytes < HugeFrom)
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
