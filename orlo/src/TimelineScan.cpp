#include "TimelineScan.h"

#include <algorithm>

namespace KAVO {

namespace {

// Store positions per window (of each kind of file): the messages a window
// asks for fit in the processor's second-level cache.
constexpr std::size_t WindowSpan = 4096;
// Messages of a list walked by its order per task.
constexpr std::size_t OrderChunk = std::size_t(1) << 16;

// Order of places: by position, the plain form before the big-endian one.
inline uint64_t placeKey(uint32_t place)
{
    return (static_cast<uint64_t>(place & ~RecordView::BigEndian) << 1) | (place >> 31);
}

} // namespace

TimelineScan::TimelineScan(const RecordData& data, const std::vector<const RecordIdList*>& lists)
    : mData(data), mLanes(lists.size())
{
    std::size_t total = 0;
    for (std::size_t k = 0; k < lists.size(); ++k) {
        mLanes[k].list = lists[k];
        mLanes[k].view = &lists[k]->entries;
        mLanes[k].size = lists[k]->size();
        total += mLanes[k].size;
        if (mStoreList == nullptr && mLanes[k].view->isView() && mLanes[k].size > 0)
            mStoreList = mLanes[k].view->store();
    }
    if (mStoreList != nullptr) {
        mStore = mStoreList->data();
        mStoreSize = mStoreList->size();
    }
    mThreads = ParallelWork::threads(static_cast<int64_t>(total));
    ParallelWork::run(mLanes.size(), mThreads, [this](std::size_t k) { prepare(mLanes[k]); });
    mFirstRun.push_back(0);
    for (std::size_t k = 0; k < mLanes.size(); ++k) {
        if (!mLanes[k].windowed)
            continue;
        mWindowed.push_back(k);
        mRuns += mLanes[k].runs[0].size() + mLanes[k].runs[1].size();
        mFirstRun.push_back(mRuns);
    }
    planWindows();

    for (std::size_t k = 0; k < mLanes.size(); ++k) {
        const Lane& lane = mLanes[k];
        if (lane.windowed)
            continue;
        for (std::size_t i = 0; i < lane.order.size(); i += OrderChunk)
            mTasks.push_back({static_cast<int>(k), i, std::min(lane.order.size(), i + OrderChunk)});
    }
}

void TimelineScan::prepare(Lane& lane)
{
    const RecordView& v = *lane.view;
    if (lane.size == 0)
        return;
    // A list read from files knows the part each file gave; each part is in
    // time order when its file is. The walk by windows follows the
    // timeline where forEachOnTimeline does so by places: every part in
    // time order, the low files' parts before the high files' ones.
    bool usable = v.isView() && v.store() == mStoreList && !v.parts().empty();
    bool highSeen = false;
    for (const RecordView::Part& p : v.parts()) {
        if (!usable || !p.ordered || (highSeen && !p.high)) {
            usable = false;
            break;
        }
        highSeen = highSeen || p.high;
        if (p.begin == p.end)
            continue;
        // A part that follows the one before it in time joins its run.
        std::vector<Run>& runs = lane.runs[p.high ? 1 : 0];
        const Run part{v.places() + p.begin, p.end - p.begin};
        if (!runs.empty() && runs.back().places + runs.back().size == part.places &&
            placeKey(runs.back().places[runs.back().size - 1]) < placeKey(part.places[0]))
            runs.back().size += part.size;
        else
            runs.push_back(part);
    }
    if (!usable) {
        lane.runs[0].clear();
        lane.runs[1].clear();
        mData.timelineOrder(*lane.list, lane.order);
        return;
    }
    lane.windowed = true;
}

std::size_t TimelineScan::firstAt(const Run& run, uint32_t at)
{
    const uint32_t* end = run.places + run.size;
    return static_cast<std::size_t>(
        std::lower_bound(run.places, end, at, [](uint32_t place, uint32_t p) { return position(place) < p; }) -
        run.places);
}

uint32_t TimelineScan::firstOnTimeline(double t, bool high, const std::vector<double>& samples) const
{
    // The folder offset is added as RecordData::timeOf adds it. samples[k]
    // is the time of store position k * WindowSpan: the answer lies after
    // the last sample before t, up to the first one not before it.
    const double shift = high ? mData.offset : 0.0;
    const auto before = [high, shift](double time, double x) { return (high ? time + shift : time) < x; };
    const std::size_t k =
        static_cast<std::size_t>(std::lower_bound(samples.begin(), samples.end(), t, before) - samples.begin());
    if (k == 0)
        return 0;
    std::size_t lo = (k - 1) * WindowSpan + 1;
    std::size_t hi = k < samples.size() ? k * WindowSpan : mStoreSize;
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (before(mStore[mid].time, t))
            lo = mid + 1;
        else
            hi = mid;
    }
    return static_cast<uint32_t>(lo);
}

void TimelineScan::planWindows()
{
    if (mWindowed.empty())
        return;
    bool high = false;
    for (std::size_t k : mWindowed)
        high = high || !mLanes[k].runs[1].empty();

    // The time of every WindowSpan-th message; windows end at these times
    // and, where high files take part, at these times plus the offset, so
    // that no window holds much more than WindowSpan positions of a kind.
    std::vector<double> samples;
    for (std::size_t p = 0; p < mStoreSize; p += WindowSpan)
        samples.push_back(mStore[p].time);
    std::vector<double> bounds;
    for (std::size_t k = 1; k < samples.size(); ++k) {
        bounds.push_back(samples[k]);
        if (high)
            bounds.push_back(samples[k] + mData.offset);
    }
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());

    const std::size_t windows = bounds.size() + 1;
    for (int kind = 0; kind < 2; ++kind) {
        mBegin[kind].assign(windows + 1, 0);
        mBegin[kind][windows] = kind == 0 || high ? static_cast<uint32_t>(mStoreSize) : 0;
    }
    constexpr std::size_t Chunk = 256;
    ParallelWork::run((bounds.size() + Chunk - 1) / Chunk, mThreads, [&](std::size_t c) {
        for (std::size_t j = c * Chunk; j < std::min(bounds.size(), (c + 1) * Chunk); ++j) {
            mBegin[0][j + 1] = firstOnTimeline(bounds[j], false, samples);
            if (high)
                mBegin[1][j + 1] = firstOnTimeline(bounds[j], true, samples);
        }
    });
    for (int kind = 0; kind < 2; ++kind)
        for (std::size_t w = 0; w < windows; ++w)
            mWidest = std::max<std::size_t>(mWidest, mBegin[kind][w + 1] - mBegin[kind][w]);

    // A few tasks per thread, so that threads that come free early take
    // the windows left.
    const std::size_t tasks = std::min(windows, static_cast<std::size_t>(std::max(1, mThreads)) * 4);
    for (std::size_t t = 0; t < tasks; ++t)
        mTasks.push_back({-1, windows * t / tasks, windows * (t + 1) / tasks});
}

void TimelineScan::startWalk(Walk& walk, std::size_t window) const
{
    walk.at.assign(mRuns, 0);
    walk.end.assign(mRuns, 0);
    for (std::size_t k = 0; k < mWindowed.size(); ++k) {
        const Lane& lane = mLanes[mWindowed[k]];
        std::size_t slot = mFirstRun[k];
        for (int kind = 0; kind < 2; ++kind)
            for (const Run& run : lane.runs[kind])
                walk.at[slot++] = firstAt(run, mBegin[kind][window]);
    }
    for (int kind = 0; kind < 2; ++kind)
        walk.bits[kind].assign(mWidest / 64 + 1, 0);
}

void TimelineScan::fetchWindow(const std::vector<std::size_t>& from, std::vector<std::size_t>& to,
                               std::size_t window) const
{
    // Everything the window needs is asked for at once; the memory system
    // fetches it side by side.
    for (std::size_t k = 0; k < mWindowed.size(); ++k) {
        const Lane& lane = mLanes[mWindowed[k]];
        std::size_t slot = mFirstRun[k];
        for (int kind = 0; kind < 2; ++kind) {
            const uint32_t stop = mBegin[kind][window + 1];
            for (const Run& run : lane.runs[kind]) {
                std::size_t i = from[slot];
                for (; i < run.size && position(run.places[i]) < stop; ++i) {
                    const char* e = reinterpret_cast<const char*>(mStore + position(run.places[i]));
                    __builtin_prefetch(e);
                    __builtin_prefetch(e + sizeof(RecordEntry) - 1);
                }
                to[slot++] = i;
            }
        }
    }
}

std::pair<const uint32_t*, std::size_t> TimelineScan::windowPlaces(Walk& walk, std::size_t k, int kind,
                                                                   std::size_t window) const
{
    const Lane& lane = mLanes[mWindowed[k]];
    const std::vector<Run>& runs = lane.runs[kind];
    const std::size_t first = mFirstRun[k] + (kind == 1 ? lane.runs[0].size() : 0);
    std::size_t filled = 0;
    std::size_t which = 0;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        if (walk.end[first + r] > walk.at[first + r]) {
            ++filled;
            which = r;
        }
    }
    if (filled == 0)
        return {nullptr, 0};
    if (filled == 1)
        return {runs[which].places + walk.at[first + which], walk.end[first + which] - walk.at[first + which]};

    // Files that overlap in time: their places in the window merged by a
    // bit per position (plain and big-endian form apart), read in order.
    const uint32_t base = mBegin[kind][window];
    const std::size_t words = (mBegin[kind][window + 1] - base) / 64 + 1;
    uint64_t* plain = walk.bits[0].data();
    uint64_t* big = walk.bits[1].data();
    for (std::size_t r = 0; r < runs.size(); ++r) {
        for (std::size_t i = walk.at[first + r]; i < walk.end[first + r]; ++i) {
            const uint32_t place = runs[r].places[i];
            const uint32_t at = position(place) - base;
            ((place & RecordView::BigEndian) != 0 ? big : plain)[at / 64] |= uint64_t(1) << (at % 64);
        }
    }
    std::vector<uint32_t>& out = walk.merged[kind];
    out.clear();
    for (std::size_t w = 0; w < words; ++w) {
        for (uint64_t any = plain[w] | big[w]; any != 0; any &= any - 1) {
            const int b = __builtin_ctzll(any);
            const uint32_t at = base + static_cast<uint32_t>(w * 64) + static_cast<uint32_t>(b);
            if ((plain[w] >> b) & 1)
                out.push_back(at);
            if ((big[w] >> b) & 1)
                out.push_back(at | RecordView::BigEndian);
        }
        plain[w] = 0;
        big[w] = 0;
    }
    return {out.data(), out.size()};
}

} // namespace KAVO
