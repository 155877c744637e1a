#ifndef ORLO_RECORDTIMEINDEX_H
#define ORLO_RECORDTIMEINDEX_H

#include "RecordEntry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace KAVO {

// The tenth-of-a-second keys (RecordData::timeKey) of a recording's
// time-sorted list, by position: where in the list each key begins. The
// list is sorted by recorded time, so the key of a message of a low file
// follows from its position alone, and so does that of a high file (its
// time plus the folder offset) from a second set of steps. The value table
// finds the key of every message of its lists without reading the
// messages, which lie far apart in memory.
//
// The reader records the steps while it merges the files (one comparison
// per message); after a change of the offset they are found again.
class RecordTimeIndex
{
public:
    // From `position` on, the messages have the key of number `key` (an
    // index into keys()), up to the next step.
    struct Step
    {
        uint32_t position;
        uint32_t key;
    };

    // Records the steps of a list filled in time order, one message after
    // the other: add() costs a comparison unless a key ends.
    class Builder
    {
    public:
        // With `high`, the steps of high files (time plus offset) as well.
        Builder(bool high, double offset);
        void add(uint32_t position, double time)
        {
            if (time >= mNext[0])
                step(0, position, time);
            if (mHigh && time + mOffset >= mNext[1])
                step(1, position, time + mOffset);
        }
        // Makes `index` the index of a list of `size` messages at `data`.
        void finish(RecordTimeIndex& index, const RecordEntry* data, std::size_t size);

    private:
        friend class RecordTimeIndex;
        void step(int kind, uint32_t position, double time);

        bool mHigh;
        double mOffset;
        double mNext[2];
        int64_t mKey[2] = {0, 0};
        std::vector<std::pair<uint32_t, int64_t>> mSteps[2];
    };

    void clear();
    // Whether the index is that of the list, for messages of high files
    // too when asked (with this offset).
    bool fits(const std::vector<RecordEntry>& entries, bool high, double offset) const;
    // Finds the steps of the list anew, on worker threads.
    void build(const std::vector<RecordEntry>& entries, bool high, double offset);

    // Every key that begins somewhere, ascending.
    const std::vector<int64_t>& keys() const { return mKeys; }
    const std::vector<Step>& steps(bool high) const { return mSteps[high ? 1 : 0]; }
    // The number of the key at a position.
    uint32_t keyAt(uint32_t position, bool high) const;

    // Walks positions upward (each not below the one before), giving the
    // number of the key at each; starts anywhere.
    class Cursor
    {
    public:
        Cursor(const RecordTimeIndex& index, bool high, uint32_t position);
        uint32_t keyAt(uint32_t position)
        {
            // Neighbouring messages of one list lie a step or a few apart.
            while (mAt + 1 < mSize && mSteps[mAt + 1].position <= position) {
                if (mAt + 8 < mSize && mSteps[mAt + 8].position <= position) {
                    gallop(position);
                    break;
                }
                ++mAt;
            }
            return mSteps[mAt].key;
        }

    private:
        void gallop(uint32_t position);

        const Step* mSteps;
        std::size_t mSize;
        std::size_t mAt = 0;
    };

private:
    void adopt(std::vector<std::pair<uint32_t, int64_t>> steps[2], const RecordEntry* data, std::size_t size,
               bool high, double offset);

    std::vector<int64_t> mKeys;
    std::vector<Step> mSteps[2];
    const RecordEntry* mData = nullptr;
    std::size_t mSize = 0;
    bool mHigh = false;
    double mOffset = 0.0;
};

} // namespace KAVO

#endif
