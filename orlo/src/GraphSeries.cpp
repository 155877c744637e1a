#include "GraphSeries.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace KAVO {

namespace {

std::size_t blockSpan(int level)
{
    std::size_t s = 16;
    for (int k = 0; k < level; ++k)
        s *= 16;
    return s;
}

} // namespace

GraphSeries::GraphSeries()
{
    clear();
}

void GraphSeries::clear()
{
    mSamples.clear();
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
    if (!mSamples.empty() && t < mSamples.back().time)
        return false;
    mSamples.push_back(GraphEntry{t, v});
    if (mSamples.size() == 1) {
        mDataLow = v;
        mDataHigh = v;
    } else {
        mDataLow = std::min(mDataLow, v);
        mDataHigh = std::max(mDataHigh, v);
    }
    indexAppend(v);
    if (mSamples.size() > kMaxSamples) {
        mSamples.pop_front();
        ++mBase;
        indexDropFront();
    }
    return true;
}

void GraphSeries::indexAppend(double v)
{
    const std::size_t n = mBase + mSamples.size() - 1; // absolute number of v
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
            const double v = mSamples[i - mBase].value;
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
    if (first > last || last >= mSamples.size())
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
    const auto it = std::lower_bound(mSamples.begin(), mSamples.end(), t,
                                     [](const GraphEntry& e, double x) { return e.time < x; });
    return static_cast<std::size_t>(it - mSamples.begin());
}

std::size_t GraphSeries::lastWithin(std::size_t first, double width) const
{
    const std::size_t n = mSamples.size();
    if (first >= n)
        return first;
    const double t0 = mSamples[first].time;
    // The same test as adding samples one by one, so that both ways give
    // the same buckets. A bucket is short against the store, so the end is
    // bracketed by doubling steps before the binary search.
    const auto inside = [t0, width](const GraphEntry& e) { return e.time - t0 <= width; };
    std::size_t lo = first; // inside
    std::size_t step = 1;
    std::size_t hi = first + step;
    while (hi < n && inside(mSamples[hi])) {
        lo = hi;
        step *= 2;
        hi = lo + step;
    }
    hi = std::min(hi, n);
    const auto it = std::partition_point(mSamples.begin() + static_cast<std::ptrdiff_t>(lo) + 1,
                                         mSamples.begin() + static_cast<std::ptrdiff_t>(hi), inside);
    return static_cast<std::size_t>(it - mSamples.begin()) - 1;
}

void GraphSeries::orderByTime(std::vector<GraphEntry>& samples)
{
    const auto earlier = [](const GraphEntry& a, const GraphEntry& b) { return a.time < b.time; };
    std::vector<std::size_t> starts;
    for (std::size_t i = 1; i < samples.size(); ++i)
        if (earlier(samples[i], samples[i - 1]))
            starts.push_back(i);
    if (starts.empty())
        return;
    starts.insert(starts.begin(), 0);
    starts.push_back(samples.size());

    // Neighbouring runs merged pairwise until one is left; the run that
    // comes first wins ties.
    std::vector<GraphEntry> other(samples.size());
    std::vector<GraphEntry>* from = &samples;
    std::vector<GraphEntry>* to = &other;
    while (starts.size() > 2) {
        std::vector<std::size_t> next;
        std::size_t r = 0;
        for (; r + 2 < starts.size(); r += 2) {
            next.push_back(starts[r]);
            std::merge(from->begin() + static_cast<std::ptrdiff_t>(starts[r]),
                       from->begin() + static_cast<std::ptrdiff_t>(starts[r + 1]),
                       from->begin() + static_cast<std::ptrdiff_t>(starts[r + 1]),
                       from->begin() + static_cast<std::ptrdiff_t>(starts[r + 2]),
                       to->begin() + static_cast<std::ptrdiff_t>(starts[r]), earlier);
        }
        if (r + 1 < starts.size()) {
            next.push_back(starts[r]);
            std::copy(from->begin() + static_cast<std::ptrdiff_t>(starts[r]),
                      from->begin() + static_cast<std::ptrdiff_t>(starts[r + 1]),
                      to->begin() + static_cast<std::ptrdiff_t>(starts[r]));
        }
        next.push_back(samples.size());
        starts.swap(next);
        std::swap(from, to);
    }
    if (from != &samples)
        samples.swap(other);
}

bool GraphSeries::valueAt(double t, double& v) const
{
    v = 0.0;
    if (mSamples.empty() || !(t >= mSamples.front().time) || t > mSamples.back().time)
        return false;
    const std::size_t i = lowerBound(t);
    const GraphEntry& b = mSamples[i];
    if (i == 0) {
        v = b.value;
        return true;
    }
    const GraphEntry& a = mSamples[i - 1];
    // a.time < t <= b.time, so the span is never zero.
    v = a.value + (b.value - a.value) * (t - a.time) / (b.time - a.time);
    return true;
}

} // namespace KAVO
