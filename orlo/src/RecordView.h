#ifndef ORLO_RECORDVIEW_H
#define ORLO_RECORDVIEW_H

#include "BulkAllocator.h"
#include "RecordEntry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

namespace KAVO {

// The messages of one channel and CAN id. A recording stores each message
// once, in its time-sorted list; a view holds 32-bit positions into that
// list, in reading order. A position may ask for the message's big-endian
// form (the copies filed under the pseudo ids): channel, CAN id and the
// auxiliary words are then turned when the message is read, not stored.
//
// A view filled by push_back (a recording built in memory) keeps its own
// entries instead.
class RecordView
{
public:
    // Bit of a position that asks for the big-endian form.
    static constexpr uint32_t BigEndian = 0x80000000u;
    using Positions = std::vector<uint32_t, BulkAllocator<uint32_t>>;

    class const_iterator
    {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = RecordEntry;
        using difference_type = std::ptrdiff_t;
        using pointer = const RecordEntry*;
        using reference = const RecordEntry&;

        const_iterator(const RecordView* view, std::size_t at) : mView(view), mAt(at) {}
        // The big-endian form lives in the iterator until it moves on.
        reference operator*() const { return mView->at(mAt, mScratch); }
        pointer operator->() const { return &**this; }
        const_iterator& operator++()
        {
            ++mAt;
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator before = *this;
            ++mAt;
            return before;
        }
        bool operator==(const const_iterator& o) const { return mAt == o.mAt && mView == o.mView; }
        bool operator!=(const const_iterator& o) const { return !(*this == o); }

    private:
        const RecordView* mView;
        std::size_t mAt;
        mutable RecordEntry mScratch;
    };

    std::size_t size() const { return mStore != nullptr ? mPositions.size() : mOwn.size(); }
    bool empty() const { return size() == 0; }

    // The i-th message; a big-endian form is built into `scratch`.
    const RecordEntry& at(std::size_t i, RecordEntry& scratch) const
    {
        return mStore == nullptr ? mOwn[i] : atPlace(mPositions[i], scratch);
    }
    // The same; a big-endian form stays valid for the next few reads of
    // this view (the hot loops use at() or forEach).
    const RecordEntry& operator[](std::size_t i) const
    {
        return at(i, mScratch[mNextScratch++ % mScratch.size()]);
    }
    const RecordEntry& front() const { return (*this)[0]; }
    const RecordEntry& back() const { return (*this)[size() - 1]; }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size()); }

    // The part of each file, in reading order. A file written in time order
    // gives a part ascending in time, and so in position: the parts of low
    // files merge by position into time order, and so do those of high
    // files; on the timeline the two merge with the folder offset
    // (RecordData::forEachOnTimeline). Empty for a view filled by hand.
    struct Part
    {
        uint32_t begin;
        uint32_t end;
        bool high;     // of a file that takes the folder offset
        bool ordered;  // ascending in position
    };
    const std::vector<Part>& parts() const { return mParts; }

    // Position of the i-th message in the time-sorted list (BigEndian bit
    // cleared); only for a view of a recording that was read.
    uint32_t position(std::size_t i) const { return mPositions[i] & ~BigEndian; }
    bool isView() const { return mStore != nullptr; }
    // Asks the processor to fetch the i-th message ahead of its use: the
    // messages of one id lie apart in the time-sorted list.
    void prefetch(std::size_t i) const
    {
        if (mStore != nullptr)
            prefetchPlace(mPositions[i]);
    }
    // The same by place: a position as the view holds it (BigEndian bit
    // included); only for a view of a recording that was read.
    uint32_t place(std::size_t i) const { return mPositions[i]; }
    std::size_t storeSize() const { return mStore != nullptr ? mStore->size() : 0; }
    // The places as the view holds them and the list they point into; only
    // for a view of a recording that was read.
    const uint32_t* places() const { return mPositions.data(); }
    const std::vector<RecordEntry>* store() const { return mStore; }
    void prefetchPlace(uint32_t place) const { __builtin_prefetch(mStore->data() + (place & ~BigEndian)); }
    const RecordEntry& atPlace(uint32_t place, RecordEntry& scratch) const
    {
        const RecordEntry& e = (*mStore)[place & ~BigEndian];
        if ((place & BigEndian) == 0)
            return e;
        scratch = e.bigEndianCopy();
        return scratch;
    }

    // Calls f(entry) for every message in order, fetching ahead.
    template <typename F>
    void forEach(F&& f) const
    {
        if (mStore == nullptr) {
            for (const RecordEntry& e : mOwn)
                f(e);
            return;
        }
        constexpr std::size_t Ahead = 64;
        const RecordEntry* base = mStore->data();
        const uint32_t* k = mPositions.data();
        const std::size_t n = mPositions.size();
        RecordEntry scratch;
        for (std::size_t i = 0; i < n; ++i) {
            if (i + Ahead < n)
                __builtin_prefetch(base + (k[i + Ahead] & ~BigEndian));
            const RecordEntry& e = base[k[i] & ~BigEndian];
            if ((k[i] & BigEndian) == 0) {
                f(e);
            } else {
                scratch = e.bigEndianCopy();
                f(scratch);
            }
        }
    }

    // Filling by hand: the view keeps its own copies from then on.
    void push_back(const RecordEntry& e);
    void reserve(std::size_t n);
    void clear();

    // The reader's side: room for `count` positions into `store` (which
    // must outlive the view), left unset for the caller to fill.
    uint32_t* bind(const std::vector<RecordEntry>* store, std::size_t count);
    void addPart(const Part& part) { mParts.push_back(part); }
    // After the store moved (the recording was copied or moved).
    void rebind(const std::vector<RecordEntry>* store);

private:
    const std::vector<RecordEntry>* mStore = nullptr;
    Positions mPositions;
    std::vector<Part> mParts;
    std::vector<RecordEntry> mOwn;
    mutable std::array<RecordEntry, 4> mScratch{};
    mutable unsigned mNextScratch = 0;
};

} // namespace KAVO

#endif
