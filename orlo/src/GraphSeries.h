#ifndef ORLO_GRAPHSERIES_H
#define ORLO_GRAPHSERIES_H

#include "BulkAllocator.h"

#include <cstddef>
#include <limits>
#include <memory>
#include <vector>

namespace KAVO {

// One timed sample of a graph parameter.
struct GraphEntry
{
    double time;
    double value;
};

// The times and the values of samples apart, as a fill builds them: there
// are millions, so each array is written once, by the threads that fill
// it, never zeroed first. The parameters of one message share its times.
using GraphTimes = std::vector<double, BulkAllocator<double>>;
using GraphValues = std::vector<double, BulkAllocator<double>>;

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
    // order, their times within +-timeLimit (finite) and at most kMaxSamples
    // (the same as appending them one by one, without copying them); false,
    // and nothing taken, otherwise. The times are shared (other series may
    // hold them too; a series copies them before it changes them), the
    // values taken over (`values` is left empty).
    bool adopt(const std::shared_ptr<GraphTimes>& times, GraphValues& values,
               double timeLimit = std::numeric_limits<double>::max());

    std::size_t size() const { return mValues.size() - mHead; }
    bool empty() const { return size() == 0; }
    GraphEntry operator[](std::size_t i) const { return GraphEntry{time(i), value(i)}; }
    GraphEntry front() const { return (*this)[0]; }
    GraphEntry back() const { return (*this)[size() - 1]; }
    double time(std::size_t i) const { return (*mTimes)[mHead + i]; }
    double value(std::size_t i) const { return mValues[mHead + i]; }

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
    // number: the entries from `head` on, the first of them for block
    // number `base`. Entries of dropped blocks go by moving the head, and
    // the storage is compacted now and then.
    static constexpr std::size_t kBlock = 16;
    static constexpr int kLevels = 5;
    struct Level
    {
        std::vector<Extremes> entries;
        std::size_t head = 0;
        std::size_t base = 0;

        bool empty() const { return head == entries.size(); }
        std::size_t size() const { return entries.size() - head; }
        // The entry of an absolute block number.
        const Extremes& at(std::size_t block) const { return entries[head + block - base]; }
        void clear();
        void popFront();
    };

    void indexAppend(double v);
    void indexDropFront();
    void scan(int level, std::size_t from, std::size_t to, double& low, double& high) const;

    void dropOldest();
    // Times of the series' own, to change.
    GraphTimes& ownTimes();

    // The samples from mHead on: the oldest are dropped by moving the head,
    // and the storage is compacted now and then.
    std::shared_ptr<GraphTimes> mTimes;
    GraphValues mValues;
    std::size_t mHead = 0;
    std::size_t mBase = 0; // absolute number of the oldest sample
    Level mLevel[kLevels];
    double mDataLow = 0.0;
    double mDataHigh = 0.0;
};

} // namespace KAVO

#endif
