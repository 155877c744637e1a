#include "GraphSeries.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace KAVO {

namespace {

// Samples per entry of a level: 16 to the power level + 1.
inline std::size_t blockSpan(int level)
{
    return std::size_t(1) << (4 * (level + 1));
}

} // namespace

GraphSeries::GraphSeries()
{
    clear();
}

void GraphSeries::clear()
{
    std::vector<GraphEntry>().swap(mSamples);
    mHead = 0;
    mBase = 0;
    for (int k = 0; k < kLevels; ++k) {
        mLevel[k].clear();
        mLevelBase[k] = 0;
    }
    mDataLow = 0.0;
    mDataHigh = 0.0;
}

bool GraphSeries::append(double t, double v)
{
    // A time that cannot be ordered would break every search below.
    if (!std::isfinite(t))
        return false;
    if (!empty() && t < back().time)
        return false;
    mSamples.push_back(GraphEntry{t, v});
    if (size() == 1) {
        mDataLow = v;
        mDataHigh = v;
    } else {
        mDataLow = std::min(mDataLow, v);
        mDataHigh = std::max(mDataHigh, v);
    }
    indexAppend(v);
    if (size() > kMaxSamples)
        dropOldest();
    return true;
}

void GraphSeries::dropOldest()
{
    ++mHead;
    ++mBase;
    indexDropFront();
    // The dropped samples are given back once they are half the storage.
    if (mHead >= 4096 && mHead * 2 >= mSamples.size()) {
        mSamples.erase(mSamples.begin(), mSamples.begin() + static_cast<std::ptrdiff_t>(mHead));
        mHead = 0;
    }
}

bool GraphSeries::adopt(std::vector<GraphEntry>& samples)
{
    if (!empty() || samples.empty() || samples.size() > kMaxSamples)
        return false;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (!std::isfinite(samples[i].time) || (i > 0 && samples[i].time < samples[i - 1].time))
            return false;
    }
    mSamples.swap(samples);
    samples.clear();
    mHead = 0;
    mBase = 0;
    mDataLow = mDataHigh = mSamples.front().value;
    for (const GraphEntry& e : mSamples) {
        mDataLow = std::min(mDataLow, e.value);
        mDataHigh = std::max(mDataHigh, e.value);
    }
    // The pyramid level by level: each entry gathers kBlock of the level below.
    for (int k = 0; k < kLevels; ++k) {
        mLevel[k].clear();
        mLevelBase[k] = 0;
        const std::size_t below = k == 0 ? mSamples.size() : mLevel[k - 1].size();
        for (std::size_t b = 0; b < below; b += kBlock) {
            Extremes e{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
            const std::size_t end = std::min(below, b + kBlock);
            for (std::size_t i = b; i < end; ++i) {
                const double low = k == 0 ? mSamples[i].value : mLevel[k - 1][i].low;
                const double high = k == 0 ? mSamples[i].value : mLevel[k - 1][i].high;
                e.low = std::min(e.low, low);
                e.high = std::max(e.high, high);
            }
            mLevel[k].push_back(e);
        }
    }
    return true;
}

void GraphSeries::indexAppend(double v)
{
    const std::size_t n = mBase + size() - 1; // absolute number of v
    for (int k = 0; k < kLevels; ++k) {
        const std::size_t block = n / blockSpan(k);
        std::deque<Extremes>& level = mLevel[k];
        if (level.empty()) {
            mLevelBase[k] = block;
            level.push_back(Extremes{v, v});
        } else if (mLevelBase[k] + level.size() - 1 < block) {
            level.push_back(Extremes{v, v});
        } else {
            Extremes& e = level.back();
            e.low = std::min(e.low, v);
            e.high = std::max(e.high, v);
        }
    }
}

void GraphSeries::indexDropFront()
{
    // A block leaves the index only when all of its samples are gone; a
    // partly dropped block is never read whole (see minMax).
    for (int k = 0; k < kLevels; ++k) {
        const std::size_t span = blockSpan(k);
        while (!mLevel[k].empty() && (mLevelBase[k] + 1) * span <= mBase) {
            mLevel[k].pop_front();
            ++mLevelBase[k];
        }
    }
}

void GraphSeries::scan(int level, std::size_t from, std::size_t to, double& low, double& high) const
{
    if (level < 0) {
        for (std::size_t i = from; i < to; ++i) {
            const double v = mSamples[mHead + i - mBase].value;
            low = std::min(low, v);
            high = std::max(high, v);
        }
        return;
    }
    const std::deque<Extremes>& entries = mLevel[level];
    for (std::size_t i = from; i < to; ++i) {
        const Extremes& e = entries[i - mLevelBase[level]];
        low = std::min(low, e.low);
        high = std::max(high, e.high);
    }
}

void GraphSeries::minMax(std::size_t first, std::size_t last, double& low, double& high) const
{
    low = std::numeric_limits<double>::infinity();
    high = -std::numeric_limits<double>::infinity();
    if (first > last || last >= size())
        return;
    // Absolute sample numbers [a, e); climb the pyramid, taking the ragged
    // ends at each granularity and only whole blocks above it.
    std::size_t a = mBase + first;
    std::size_t e = mBase + last + 1;
    std::size_t gran = 1;
    int level = -1;
    while (a < e) {
        if (level + 1 >= kLevels) {
            scan(level, a / gran, e / gran, low, high);
            break;
        }
        const std::size_t next = gran * kBlock;
        const std::size_t up = (a + next - 1) / next * next;
        const std::size_t down = e / next * next;
        if (up >= down) {
            scan(level, a / gran, e / gran, low, high);
            break;
        }
        scan(level, a / gran, up / gran, low, high);
        scan(level, down / gran, e / gran, low, high);
        a = up;
        e = down;
        gran = next;
        ++level;
    }
}

std::size_t GraphSeries::lowerBound(double t) const
{
    const auto first = mSamples.begin() + static_cast<std::ptrdiff_t>(mHead);
    const auto it = std::lower_bound(first, mSamples.end(), t,
                                     [](const GraphEntry& e, double x) { return e.time < x; });
    return static_cast<std::size_t>(it - first);
}

std::size_t GraphSeries::lastWithin(std::size_t first, double width) const
{
    const std::size_t n = size();
    if (first >= n)
        return first;
    const double t0 = (*this)[first].time;
    // The same test as adding samples one by one, so that both ways give
    // the same buckets. A bucket is short against the store, so the end is
    // bracketed by doubling steps before the binary search.
    const auto inside = [t0, width](const GraphEntry& e) { return e.time - t0 <= width; };
    std::size_t lo = first; // inside
    std::size_t step = 1;
    std::size_t hi = first + step;
    while (hi < n && inside((*this)[hi])) {
        lo = hi;
        step *= 2;
        hi = lo + step;
    }
    hi = std::min(hi, n);
    const auto first0 = mSamples.begin() + static_cast<std::ptrdiff_t>(mHead);
    const auto it = std::partition_point(first0 + static_cast<std::ptrdiff_t>(lo) + 1,
                                         first0 + static_cast<std::ptrdiff_t>(hi), inside);
    return static_cast<std::size_t>(it - first0) - 1;
}

bool GraphSeries::valueAt(double t, double& v) const
{
    v = 0.0;
    if (empty() || !(t >= front().time) || t > back().time)
        return false;
    const std::size_t i = lowerBound(t);
    const GraphEntry& b = (*this)[i];
    if (i == 0) {
        v = b.value;
        return true;
    }
    const GraphEntry& a = (*this)[i - 1];
    // a.time < t <= b.time, so the span is never zero.
    v = a.value + (b.value - a.value) * (t - a.time) / (b.time - a.time);
    return true;
}

} // namespace KAVO
