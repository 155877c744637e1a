#include "GraphFrameBuffer.h"

#include "GraphSeries.h"

#include <algorithm>

namespace KAVO {

void GraphFrameBuffer::clear()
{
    mFrames.clear();
    mHasLast = false;
    mLastTime = 0.0;
}

void GraphFrameBuffer::add(double t, double v, double w)
{
    mHasLast = true;
    mLastTime = t;
    if (mFrames.empty() || !(t - mFrames.back().time <= w)) {
        mFrames.push_back(GraphFrame{1, t, {v, v, v, v}});
        return;
    }
    GraphFrame& f = mFrames.back();
    switch (f.count) {
    case 1:
        f.values[1] = v;
        f.count = 2;
        break;
    case 2:
        f.values[2] = v;
        f.count = 3;
        break;
    case 3: {
        const double low = std::min(std::min(f.values[0], f.values[1]), std::min(f.values[2], v));
        const double high = std::max(std::max(f.values[0], f.values[1]), std::max(f.values[2], v));
        f.values[1] = low;
        f.values[2] = high;
        f.values[3] = v;
        f.count = 4;
        break;
    }
    default:
        f.values[1] = std::min(f.values[1], v);
        f.values[2] = std::max(f.values[2], v);
        f.values[3] = v;
        break;
    }
}

void GraphFrameBuffer::rebuild(const GraphSeries& series, double start, double end, double w)
{
    clear();
    if (series.empty())
        return;
    std::size_t first = series.lowerBound(start);
    if (first > 0)
        --first;
    std::size_t stop = series.lowerBound(end);
    if (stop >= series.size())
        stop = series.size() - 1;

    std::size_t pos = first;
    while (pos <= stop) {
        const std::size_t last = std::min(series.lastWithin(pos, w), stop);
        const std::size_t n = last - pos + 1;
        GraphFrame f{1, series[pos].time, {0, 0, 0, 0}};
        if (n < 4) {
            f.count = static_cast<int>(n);
            for (std::size_t k = 0; k < 4; ++k)
                f.values[k] = series[pos + (k < n ? k : 0)].value;
        } else {
            f.count = 4;
            f.values[0] = series[pos].value;
            series.minMax(pos, last, f.values[1], f.values[2]);
            f.values[3] = series[last].value;
        }
        mFrames.push_back(f);
        pos = last + 1;
    }
    mHasLast = true;
    mLastTime = series[stop].time;
}

std::size_t GraphFrameBuffer::trim(double start)
{
    std::size_t dropped = 0;
    while (mFrames.size() >= 2 && mFrames[1].time < start) {
        mFrames.pop_front();
        ++dropped;
    }
    return dropped;
}

} // namespace KAVO
