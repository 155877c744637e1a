#ifndef ORLO_BULKALLOCATOR_H
#define ORLO_BULKALLOCATOR_H

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

namespace KAVO {

// Memory of large arrays (a recording's message list and its indices).
// Fresh memory costs a page fault per page on its first write: blocks of
// HugeFrom bytes and more therefore ask the kernel for huge pages where it
// offers them and they pay (one fault per 2 MB instead of per 4 KB).
struct BulkMemory
{
    static constexpr std::size_t HugeFrom = std::size_t(4) << 20;

    // Whether fresh huge pages come cheaper than small ones. Not where the
    // kernel has none, nor where it gives its free 2 MB blocks back to a
    // hypervisor (a virtio balloon that reports free pages): there every
    // fresh huge page costs a round trip to the host, while small pages
    // come from what the system still holds, several times faster.
    static bool hugePagesPay();

    // Asks for huge pages over the whole pages inside [data, data + bytes);
    // does nothing where the system has none or the block is small.
    static void adviseHuge(const void* data, std::size_t bytes);
    // A block of at least `bytes` bytes, huge pages asked for when large;
    // throws std::bad_alloc when there is none.
    static void* allocate(std::size_t bytes);
    static void release(void* data, std::size_t bytes);
};

// A std::vector allocator for such arrays whose resize leaves the new
// elements of trivial types unset: they are written once, by the code that
// fills them (on several threads, each its own part), and not zeroed before.
template <typename T>
class BulkAllocator
{
public:
    using value_type = T;

    BulkAllocator() = default;
    template <typename U>
    BulkAllocator(const BulkAllocator<U>&) noexcept {}

    T* allocate(std::size_t n)
    {
        if (n > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_alloc();
        return static_cast<T*>(BulkMemory::allocate(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { BulkMemory::release(p, n * sizeof(T)); }

    // Default-initialisation: a new element of a trivial type stays unset.
    template <typename U>
    void construct(U* p) noexcept(std::is_nothrow_default_constructible<U>::value)
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }

    template <typename U>
    bool operator==(const BulkAllocator<U>&) const noexcept { return true; }
    template <typename U>
    bool operator!=(const BulkAllocator<U>&) const noexcept { return false; }
};

} // namespace KAVO

#endif
