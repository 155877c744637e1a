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
    mTimes = std::make_shared<GraphTimes>();
    GraphValues().swap(mValues);
    mHead = 0;
    mBase = 0;
    for (Level& level : mLevel)
        level.clear();
    mDataLow = 0.0;
    mDataHigh = 0.0;
}

void GraphSeries::Level::clear()
{
    std::vector<Extremes>().swap(entries);
    head = 0;
    base = 0;
}

void GraphSeries::Level::popFront()
{
    ++head;
    ++base;
    if (head >= 4096 && head * 2 >= entries.size()) {
        entries.erase(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(head));
        head = 0;
    }
}

bool GraphSeries::append(double t, double v)
{
    // A time that cannot be ordered would break every search below.
    if (!std::isfinite(t))
        return false;
    if (!empty() && t < time(size() - 1))
        return false;
    ownTimes().push_back(t);
    mValues.push_back(v);
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
    if (mHead >= 4096 && mHead * 2 >= mValues.size()) {
        GraphTimes& times = ownTimes();
        times.erase(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(mHead));
        mValues.erase(mValues.begin(), mValues.begin() + static_cast<std::ptrdiff_t>(mHead));
        mHead = 0;
    }
}

GraphTimes& GraphSeries::ownTimes()
{
    if (mTimes.use_count() > 1)
        mTimes = std::make_shared<GraphTimes>(*mTimes);
    return *mTimes;
}

bool GraphSeries::adopt(const std::shared_ptr<GraphTimes>& times, GraphValues& values, double timeLimit)
{
    const std::size_t n = values.size();
    if (!empty() || n == 0 || n > kMaxSamples || times == nullptr || times->size() != n)
        return false;
    // One pass: the times checked, the extremes of all values and of each
    // block of the lowest level found.
    const double* t = times->data();
    const double* v = values.data();
    std::vector<Extremes> blocks((n + kBlock - 1) / kBlock);
    double low = v[0];
    double high = low;
    double previous = -std::numeric_limits<double>::infinity();
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const std::size_t end = std::min(n, (b + 1) * kBlock);
        Extremes e{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
        for (std::size_t i = b * kBlock; i < end; ++i) {
            if (!(std::fabs(t[i]) <= timeLimit) || t[i] < previous)
                return false;
            previous = t[i];
            e.low = std::min(e.low, v[i]);
            e.high = std::max(e.high, v[i]);
        }
        low = std::min(low, e.low);
        high = std::max(high, e.high);
        blocks[b] = e;
    }
    mTimes = times;
    mValues.swap(values);
    values.clear();
    mHead = 0;
    mBase = 0;
    mDataLow = low;
    mDataHigh = high;
    // The levels above: each entry gathers kBlock of the level below.
    mLevel[0].clear();
    mLevel[0].entries.swap(blocks);
    for (int k = 1; k < kLevels; ++k) {
        const std::vector<Extremes>& below = mLevel[k - 1].entries;
        Level& level = mLevel[k];
        level.clear();
        level.entries.reserve((below.size() + kBlock - 1) / kBlock);
        for (std::size_t b = 0; b < below.size(); b += kBlock) {
            Extremes e{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
            for (std::size_t i = b; i < std::min(below.size(), b + kBlock); ++i) {
                e.low = std::min(e.low, below[i].low);
                e.high = std::max(e.high, below[i].high);
            }
            level.entries.push_back(e);
        }
    }
    return true;
}

void GraphSeries::indexAppend(double v)
{
    const std::size_t n = mBase + size() - 1; // absolute number of v
    for (int k = 0; k < kLevels; ++k) {
        const std::size_t block = n / blockSpan(k);
        Level& level = mLevel[k];
        if (level.empty()) {
            level.clear();
            level.base = block;
            level.entries.push_back(Extremes{v, v});
        } else if (level.base + level.size() - 1 < block) {
            level.entries.push_back(Extremes{v, v});
        } else {
            Extremes& e = level.entries.back();
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
        Level& level = mLevel[k];
        while (!level.empty() && (level.base + 1) * span <= mBase)
            level.popFront();
    }
}

void GraphSeries::scan(int level, std::size_t from, std::size_t to, double& low, double& high) const
{
    if (level < 0) {
        for (std::size_t i = from; i < to; ++i) {
            const double v = mValues[mHead + i - mBase];
            low = std::min(low, v);
            high = std::max(high, v);
        }
        return;
    }
    const Level& entries = mLevel[level];
    for (std::size_t i = from; i < to; ++i) {
        const Extremes& e = entries.at(i);
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
    const auto first = mTimes->begin() + static_cast<std::ptrdiff_t>(mHead);
    return static_cast<std::size_t>(std::lower_bound(first, mTimes->end(), t) - first);
}

std::size_t GraphSeries::lastWithin(std::size_t first, double width) const
{
    const std::size_t n = size();
    if (first >= n)
        return first;
    const double t0 = time(first);
    // The same test as adding samples one by one, so that both ways give
    // the same buckets. A bucket is short against the store, so the end is
    // bracketed by doubling steps before the binary search.
    const auto inside = [t0, width](double t) { return t - t0 <= width; };
    std::size_t lo = first; // inside
    std::size_t step = 1;
    std::size_t hi = first + step;
    while (hi < n && inside(time(hi))) {
        lo = hi;
        step *= 2;
        hi = lo + step;
    }
    hi = std::min(hi, n);
    const auto first0 = mTimes->begin() + static_cast<std::ptrdiff_t>(mHead);
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
    const GraphEntry b = (*this)[i];
    if (i == 0) {
        v = b.value;
        return true;
    }
    const GraphEntry a = (*this)[i - 1];
    // a.time < t <= b.time, so the span is never zero.
    v = a.value + (b.value - a.value) * (t - a.time) / (b.time - a.time);
    return true;
}

} // namespace KAVO
