#include "RecordTimeIndex.h"

#include "ParallelWork.h"
#include "RecordData.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace KAVO {

RecordTimeIndex::Builder::Builder(bool high, double offset)
    : mHigh(high), mOffset(offset)
{
    mNext[0] = mNext[1] = -std::numeric_limits<double>::infinity();
}

void RecordTimeIndex::Builder::step(int kind, uint32_t position, double time)
{
    const int64_t key = RecordData::timeKey(time);
    if (mSteps[kind].empty() || key != mKey[kind]) {
        mSteps[kind].emplace_back(position, key);
        mKey[kind] = key;
    }
    // Below this time the key stays: the next key begins at (key + 0.5) / 10,
    // less a margin for the rounding of the arithmetic in timeKey.
    const double edge = (static_cast<double>(mKey[kind]) + 0.5) / 10.0;
    mNext[kind] = edge - std::fabs(edge) * 1e-12 - 1e-9;
}

void RecordTimeIndex::Builder::finish(RecordTimeIndex& index, const RecordEntry* data, std::size_t size)
{
    index.adopt(mSteps, data, size, mHigh, mOffset);
}

void RecordTimeIndex::clear()
{
    mKeys.clear();
    mSteps[0].clear();
    mSteps[1].clear();
    mData = nullptr;
    mSize = 0;
    mHigh = false;
    mOffset = 0.0;
}

bool RecordTimeIndex::fits(const std::vector<RecordEntry>& entries, bool high, double offset) const
{
    if (entries.data() != mData || entries.size() != mSize || (entries.empty() != mKeys.empty()))
        return false;
    return !high || (mHigh && mOffset == offset);
}

void RecordTimeIndex::adopt(std::vector<std::pair<uint32_t, int64_t>> steps[2], const RecordEntry* data,
                            std::size_t size, bool high, double offset)
{
    // The keys of both kinds, each ascending, merged; the steps then name
    // their key by its number.
    mKeys.clear();
    mKeys.reserve(steps[0].size() + steps[1].size());
    std::size_t a = 0, b = 0;
    while (a < steps[0].size() || b < steps[1].size()) {
        const bool first = b >= steps[1].size() || (a < steps[0].size() && steps[0][a].second <= steps[1][b].second);
        const int64_t key = first ? steps[0][a++].second : steps[1][b++].second;
        if (mKeys.empty() || mKeys.back() != key)
            mKeys.push_back(key);
    }
    for (int kind = 0; kind < 2; ++kind) {
        mSteps[kind].clear();
        mSteps[kind].reserve(steps[kind].size());
        std::size_t id = 0;
        for (const auto& s : steps[kind]) {
            while (mKeys[id] < s.second)
                ++id;
            mSteps[kind].push_back(Step{s.first, static_cast<uint32_t>(id)});
        }
    }
    mData = data;
    mSize = size;
    mHigh = high;
    mOffset = offset;
}

void RecordTimeIndex::build(const std::vector<RecordEntry>& entries, bool high, double offset)
{
    // Stretches of the list side by side; a stretch whose first key goes
    // on from the stretch before adds no step there.
    const std::size_t n = entries.size();
    const int threads = ParallelWork::threads(static_cast<int64_t>(n));
    const std::size_t parts = static_cast<std::size_t>(std::max(1, threads)) * 4;
    std::vector<std::vector<std::pair<uint32_t, int64_t>>> found[2];
    found[0].resize(parts);
    found[1].resize(parts);
    ParallelWork::run(parts, threads, [&](std::size_t k) {
        Builder b(high, offset);
        const std::size_t end = n * (k + 1) / parts;
        for (std::size_t p = n * k / parts; p < end; ++p)
            b.add(static_cast<uint32_t>(p), entries[p].time);
        found[0][k].swap(b.mSteps[0]);
        found[1][k].swap(b.mSteps[1]);
    });
    std::vector<std::pair<uint32_t, int64_t>> steps[2];
    for (int kind = 0; kind < 2; ++kind) {
        for (const auto& part : found[kind])
            for (const auto& s : part)
                if (steps[kind].empty() || steps[kind].back().second != s.second)
                    steps[kind].push_back(s);
    }
    adopt(steps, entries.data(), n, high, offset);
}

uint32_t RecordTimeIndex::keyAt(uint32_t position, bool high) const
{
    const std::vector<Step>& s = mSteps[high ? 1 : 0];
    const auto it = std::upper_bound(s.begin(), s.end(), position,
                                     [](uint32_t p, const Step& step) { return p < step.position; });
    return it == s.begin() ? s.front().key : std::prev(it)->key;
}

RecordTimeIndex::Cursor::Cursor(const RecordTimeIndex& index, bool high, uint32_t position)
    : mSteps(index.mSteps[high ? 1 : 0].data()), mSize(index.mSteps[high ? 1 : 0].size())
{
    const Step* end = mSteps + mSize;
    const Step* it =
        std::upper_bound(mSteps, end, position, [](uint32_t p, const Step& step) { return p < step.position; });
    mAt = it == mSteps ? 0 : static_cast<std::size_t>(it - mSteps) - 1;
}

void RecordTimeIndex::Cursor::gallop(uint32_t position)
{
    // The last step at or before the position, bracketed by doubling strides.
    std::size_t lo = mAt;
    std::size_t stride = 8;
    while (lo + stride < mSize && mSteps[lo + stride].position <= position) {
        lo += stride;
        stride *= 2;
    }
    const std::size_t hi = std::min(mSize, lo + stride);
    const Step* it = std::upper_bound(mSteps + lo, mSteps + hi, position,
                                      [](uint32_t p, const Step& step) { return p < step.position; });
    mAt = static_cast<std::size_t>(it - mSteps) - 1;
}

} // namespace KAVO
