#ifndef ORLO_GRAPHFRAMEBUFFER_H
#define ORLO_GRAPHFRAMEBUFFER_H

#include <deque>

namespace KAVO {

class GraphSeries;

// One bucket of the drawn line: the samples that fall into one pixel
// column. Up to three samples are kept as they are; from four on the bucket
// holds the first sample, the lowest and highest of all its samples, and
// the last one, so that no spike inside a pixel is lost.
struct GraphFrame
{
    int count;        // 1 to 4
    double time;      // time of the bucket's first sample
    double values[4];
};

// The buckets that drawing walks: at most four vertices per pixel column,
// whatever the number of samples behind them.
class GraphFrameBuffer
{
public:
    void clear();

    // Adds one sample (in time order) with w the time of one pixel: it joins
    // the last bucket when it lies at most w after that bucket's start.
    void add(double t, double v, double w);

    // Refills the buckets for the window start..end from the stored samples:
    // from one sample left of the window up to and including the first
    // sample not before its end. The result equals adding those samples one
    // by one, but the pyramid of the series makes its cost follow the
    // number of buckets.
    void rebuild(const GraphSeries& series, double start, double end, double w);

    // Drops buckets left of the window, keeping one, so that the line still
    // enters from the left edge.
    // Gives the number of buckets dropped.
    std::size_t trim(double start);

    // True when a sample at or after `end` has been added already; later
    // samples cannot show in the window.
    bool reached(double end) const { return mHasLast && mLastTime >= end; }

    const std::deque<GraphFrame>& frames() const { return mFrames; }
    bool empty() const { return mFrames.empty(); }
    std::size_t size() const { return mFrames.size(); }

private:
    std::deque<GraphFrame> mFrames;
    double mLastTime = 0.0;
    bool mHasLast = false;
};

} // namespace KAVO

#endif
