#ifndef ORLO_TIMELINESCAN_H
#define ORLO_TIMELINESCAN_H

#include "ParallelWork.h"
#include "RecordData.h"
#include "RecordEntry.h"
#include "RecordIdList.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace KAVO {

// Several id lists of a recording walked on the common timeline at once,
// by worker threads inside one synchronous call. Each list's messages come
// in the order of RecordData::forEachOnTimeline and are numbered in that
// order, so a caller that fills arrays by those numbers gets what walking
// the lists one by one gives, on any number of threads.
//
// The messages of one list lie apart in the time-sorted list (one in some
// twenty, say): walked list by list, each of them costs a trip to memory.
// Here the time-sorted list is cut into windows of time; in each window the
// messages of all lists are asked for together, so the memory system
// fetches them side by side, and are then handed out from the cache.
class TimelineScan
{
public:
    // The lists must outlive the scan; empty lists are allowed.
    TimelineScan(const RecordData& data, const std::vector<const RecordIdList*>& lists);

    std::size_t size(std::size_t list) const { return mLanes[list].size; }

    // Calls f(list, index, entry, time) once for every message of every
    // list, from several threads at once: index is the message's number in
    // its list's timeline order, time its time on the timeline. f may write
    // only what belongs to (list, index); the entry lives for the call.
    template <typename F>
    void run(F&& f) const;

private:
    // Places of one file's messages of a list (a part of its view),
    // ascending, so in time order.
    struct Run
    {
        const uint32_t* places = nullptr;
        std::size_t size = 0;
    };
    struct Lane
    {
        const RecordIdList* list = nullptr;
        const RecordView* view = nullptr;
        std::size_t size = 0;
        bool windowed = false;        // walked in windows by its runs; else by `order`
        // The runs of low and of high files. The runs of one kind that
        // follow one another in time are joined into one; those that
        // overlap are merged by place in each window.
        std::vector<Run> runs[2];
        std::vector<uint32_t> order;  // indices into the view in timeline order
    };
    // Windows [begin, end) of the windowed lanes (lane < 0), or the
    // messages [begin, end) of the order of one other lane.
    struct Task
    {
        int lane;
        std::size_t begin;
        std::size_t end;
    };
    // What a task keeps from window to window.
    struct Walk
    {
        std::vector<std::size_t> at;    // per run of a windowed lane: its first message in the window
        std::vector<std::size_t> end;   // and the end of its part of the window
        std::vector<uint64_t> bits[2];  // places met in a window, plain and big-endian
        std::vector<uint32_t> merged[2];  // a lane's places of one kind in the window
    };

    void prepare(Lane& lane);
    void planWindows();
    void startWalk(Walk& walk, std::size_t window) const;
    // Finds the end of each run's part of a window from its start and asks
    // for its messages.
    void fetchWindow(const std::vector<std::size_t>& from, std::vector<std::size_t>& to, std::size_t window) const;
    // The places of one kind of a lane in window w, in order.
    std::pair<const uint32_t*, std::size_t> windowPlaces(Walk& walk, std::size_t lane, int kind,
                                                         std::size_t window) const;
    // First store position whose message (of a low or a high file) lies at
    // or after t on the timeline.
    uint32_t firstOnTimeline(double t, bool high, const std::vector<double>& samples) const;

    static uint32_t position(uint32_t place) { return place & ~RecordView::BigEndian; }
    // First index of a run whose place lies at or after a store position.
    static std::size_t firstAt(const Run& run, uint32_t position);
    const RecordEntry& entry(uint32_t place, RecordEntry& scratch) const
    {
        const RecordEntry& e = mStore[position(place)];
        if ((place & RecordView::BigEndian) == 0)
            return e;
        scratch = e.bigEndianCopy();
        return scratch;
    }

    const RecordData& mData;
    const std::vector<RecordEntry>* mStoreList = nullptr;
    const RecordEntry* mStore = nullptr;
    std::size_t mStoreSize = 0;
    std::vector<Lane> mLanes;
    std::vector<std::size_t> mWindowed;   // the lanes walked in windows
    std::vector<std::size_t> mFirstRun;   // per windowed lane: the slot of its first run in Walk::at
    std::size_t mRuns = 0;
    // Window w holds the messages of low files at store positions
    // mBegin[0][w] to mBegin[0][w + 1] and those of high files at
    // mBegin[1][w] to mBegin[1][w + 1]: both the same stretch of time.
    std::vector<uint32_t> mBegin[2];
    std::size_t mWidest = 0;  // positions of the widest window of one kind
    std::vector<Task> mTasks;
    int mThreads = 1;
};

template <typename F>
void TimelineScan::run(F&& f) const
{
    ParallelWork::run(mTasks.size(), mThreads, [&](std::size_t t) {
        const Task& task = mTasks[t];
        if (task.lane >= 0) {
            constexpr std::size_t Ahead = 16;
            const Lane& lane = mLanes[static_cast<std::size_t>(task.lane)];
            RecordEntry scratch;
            for (std::size_t i = task.begin; i < task.end; ++i) {
                if (i + Ahead < task.end)
                    lane.view->prefetch(lane.order[i + Ahead]);
                const RecordEntry& e = lane.view->at(lane.order[i], scratch);
                f(static_cast<std::size_t>(task.lane), i, e, mData.timeOf(e));
            }
            return;
        }

        Walk walk;
        startWalk(walk, task.begin);
        RecordEntry scratch[2];
        for (std::size_t w = task.begin; w < task.end; ++w) {
            fetchWindow(walk.at, walk.end, w);
            for (std::size_t k = 0; k < mWindowed.size(); ++k) {
                // The lane's messages before the window are numbered already.
                std::size_t index = 0;
                for (std::size_t r = mFirstRun[k]; r < mFirstRun[k + 1]; ++r)
                    index += walk.at[r];
                const auto low = windowPlaces(walk, k, 0, w);
                const auto high = windowPlaces(walk, k, 1, w);
                // The two kinds merged by time; at equal times the low
                // file's message goes first (it comes first in the list).
                std::size_t a = 0;
                std::size_t b = 0;
                const RecordEntry* ea = a < low.second ? &entry(low.first[a], scratch[0]) : nullptr;
                const RecordEntry* eb = b < high.second ? &entry(high.first[b], scratch[1]) : nullptr;
                double ta = ea != nullptr ? mData.timeOf(*ea) : 0.0;
                double tb = eb != nullptr ? mData.timeOf(*eb) : 0.0;
                while (ea != nullptr || eb != nullptr) {
                    if (eb != nullptr && (ea == nullptr || tb < ta)) {
                        f(mWindowed[k], index++, *eb, tb);
                        eb = ++b < high.second ? &entry(high.first[b], scratch[1]) : nullptr;
                        if (eb != nullptr)
                            tb = mData.timeOf(*eb);
                    } else {
                        f(mWindowed[k], index++, *ea, ta);
                        ea = ++a < low.second ? &entry(low.first[a], scratch[0]) : nullptr;
                        if (ea != nullptr)
                            ta = mData.timeOf(*ea);
                    }
                }
            }
            walk.at.swap(walk.end);
        }
    });
}

} // namespace KAVO

#endif
