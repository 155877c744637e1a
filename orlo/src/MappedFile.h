#ifndef ORLO_MAPPEDFILE_H
#define ORLO_MAPPEDFILE_H

#include <QString>

#include <cstddef>
#include <cstdint>

class QFile;

namespace KAVO {

// The bytes of a part of an open file in memory: mapped where the system
// can (a file in the page cache is then used where it lies, not copied),
// read into memory otherwise and when they are few.
//
// A mapped file that shrinks while it is mapped (another program cuts it,
// the card is pulled) makes a read of its lost pages fault; code that reads
// mapped bytes runs through guarded(), which turns that fault into a false
// result instead of the end of the program.
class MappedFile
{
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Maps (or reads) `length` bytes from `offset` of an open file; false
    // with the system's reason when neither works. A file that ends before
    // offset + length gives the bytes it has (size() tells).
    bool open(QFile& file, qint64 offset, qint64 length, QString* error = nullptr);
    void close();

    const uint8_t* data() const { return mData; }
    std::size_t size() const { return mSize; }
    bool isMapped() const { return mMapped; }
    // Gives the memory of the bytes before `upTo` back (they are not read
    // again); a mapped file's pages stay in the page cache.
    void release(std::size_t upTo);
    bool contains(const void* address) const
    {
        const uint8_t* a = static_cast<const uint8_t*>(address);
        return mData != nullptr && a >= mData && a < mData + mSize;
    }

    // Runs f(); false when f read mapped memory that faulted, with the
    // faulting address in *fault. f must not hold objects that need their
    // destructor at the point where it reads mapped bytes: a fault leaves
    // f there and then.
    template <typename F>
    static bool guarded(F&& f, const void** fault = nullptr)
    {
        return runGuarded(&call<F>, &f, fault);
    }

private:
    template <typename F>
    static void call(void* f)
    {
        (*static_cast<F*>(f))();
    }
    static bool runGuarded(void (*fn)(void*), void* arg, const void** fault);

    uint8_t* mData = nullptr;
    std::size_t mSize = 0;
    void* mMapBase = nullptr;   // the mapping starts on a page boundary
    std::size_t mMapSize = 0;
    bool mMapped = false;
    std::size_t mReleased = 0;  // bytes from mMapBase given back
};

} // namespace KAVO

#endif
