#ifndef ORLO_GRAPHSERIES_H
#define ORLO_GRAPHSERIES_H

#include <cstddef>
#include <deque>
#include <vector>

namespace KAVO {

// One timed sample of a graph parameter.
struct GraphEntry
{
    double time;
    double value;
};

// The stored samples of one graph parameter, oldest first, never going back
// in time, at most kMaxSamples of them. Beside the samples it keeps a
// pyramid of block minima and maxima, so that the extremes of any run of
// samples are found without walking it: rebuilding the drawn buckets then
// costs in proportion to the pixels, not to the samples.
class GraphSeries
{
public:
    static constexpr std::size_t kMaxSamples = 1000000;

    GraphSeries();

    void clear();

    // False (nothing stored) when t is earlier than the newest sample.
    // Beyond kMaxSamples the oldest sample is dropped; data low and high
    // keep the extremes of every value ever appended.
    bool append(double t, double v);
    // Takes the samples of an empty series whole when they are in time
    // order, finite and at most kMaxSamples (the same as appending them one
    // by one, without copying them); false, and nothing taken, otherwise.
    bool adopt(std::vector<GraphEntry>& samples);

    std::size_t size() const { return mSamples.size() - mHead; }
    bool empty() const { return size() == 0; }
    const GraphEntry& operator[](std::size_t i) const { return mSamples[mHead + i]; }
    const GraphEntry& front() const { return mSamples[mHead]; }
    const GraphEntry& back() const { return mSamples.back(); }

    double dataLow() const { return mDataLow; }
    double dataHigh() const { return mDataHigh; }

    // Index of the oldest sample whose time is not before t (size() when none).
    std::size_t lowerBound(double t) const;
    // Index of the last sample from `first` on whose time lies at most
    // `width` after the time of sample `first` (the samples of one bucket).
    std::size_t lastWithin(std::size_t first, double width) const;
    // Extremes of the values of samples first..last (inclusive).
    void minMax(std::size_t first, std::size_t last, double& low, double& high) const;

    // The value at t, linearly interpolated between the neighbouring
    // samples; false (v = 0) when t lies outside the stored samples.
    bool valueAt(double t, double& v) const;

private:
    struct Extremes
    {
        double low;
        double high;
    };
    // Level k holds one entry per kBlock^(k+1) samples, by absolute sample
    // number; mLevelBase[k] is the absolute block number of its first entry.
    static constexpr std::size_t kBlock = 16;
    static constexpr int kLevels = 5;

    void indexAppend(double v);
    void indexDropFront();
    void scan(int level, std::size_t from, std::size_t to, double& low, double& high) const;

    void dropOldest();

    // The samples from mHead on: the oldest are dropped by moving the head,
    // and the storage is compacted now and then.
    std::vector<GraphEntry> mSamples;
    std::size_t mHead = 0;
    std::size_t mBase = 0; // absolute number of the oldest sample
    std::deque<Extremes> mLevel[kLevels];
    std::size_t mLevelBase[kLevels];
    double mDataLow = 0.0;
    double mDataHigh = 0.0;
};

} // namespace KAVO

#endif
