#include "GraphModel.h"

#include "ParallelWork.h"
#include "Property.h"
#include "RecordData.h"

#include <QColor>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace KAVO {

namespace {

const GraphColor kBuiltinColors[] = {
    {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.5f, 0.5f, 1.0f},
    {1.0f, 1.0f, 0.0f}, {0.0f, 1.0f, 1.0f}, {1.0f, 0.0f, 1.0f},
};

bool usableTime(double t)
{
    return std::isfinite(t) && std::fabs(t) <= GraphModel::kMaxTime;
}

// low..high widened by a tenth of their distance on each side, the
// distance taken as at least 0.001.
void widen(double& low, double& high)
{
    const double d = std::max(high - low, 0.001);
    low -= 0.1 * d;
    high += 0.1 * d;
}

// Maps v of low..high onto a pixel range; a range of no height puts
// every value in its middle.
double scaleTo(double v, double low, double high, double bottom, double height)
{
    const double r = high - low;
    if (r == 0.0 || !std::isfinite(r))
        return bottom + 0.5 * height;
    return bottom + (v - low) / r * height;
}

double usedPixels(double p)
{
    return p > 0.0 ? p : 1.0;
}

} // namespace

GraphModel::GraphModel()
{
    setMaxParameters(6);
}

// ---------------------------------------------------------------- parameters

void GraphModel::setMaxParameters(unsigned n)
{
    mHeldFrames.clear();
    n = std::min(std::max(n, 1u), kMaxParameters);
    mParameters.clear();
    mParameters.resize(n);
    for (unsigned i = 0; i < n; ++i) {
        GraphParameter& p = mParameters[i];
        if (i < sizeof(kBuiltinColors) / sizeof(kBuiltinColors[0]))
            p.color = kBuiltinColors[i];
        char key[32];
        std::snprintf(key, sizeof(key), "GraphColor%u", i);
        const std::string name = Property::instance()->getString(key, "");
        if (!name.empty()) {
            const QColor c(QString::fromStdString(name));
            if (c.isValid())
                p.color = GraphColor{static_cast<float>(c.redF()), static_cast<float>(c.greenF()),
                                     static_cast<float>(c.blueF())};
        }
    }
    if (mCursorParameter >= n)
        mCursorParameter = 0;
    ++mFramesRevision;
}

void GraphModel::setActive(unsigned i, bool on)
{
    if (i < mParameters.size())
        mParameters[i].active = on;
}

void GraphModel::setParameterName(unsigned i, const std::string& name)
{
    if (i < mParameters.size())
        mParameters[i].name = name;
}

void GraphModel::setParameterColor(unsigned i, float r, float g, float b)
{
    if (i < mParameters.size())
        mParameters[i].color = GraphColor{r, g, b};
}

void GraphModel::activateSamples(unsigned i, bool on)
{
    if (i < mParameters.size())
        mParameters[i].showSamples = on;
}

bool GraphModel::hasValue(unsigned i) const
{
    return i < mParameters.size() && mParameters[i].valueGeneration == mGeneration;
}

void GraphModel::setGraphMode(eGraphMode mode)
{
    mGraphMode = mode;
    mRebuildOnNextTime = true;
}

// ---------------------------------------------------------------- window

void GraphModel::setWindow(double start, double end, bool keepEnd)
{
    if (!usableTime(start) || !usableTime(end))
        return;
    if (!(end - start >= kMinSpan)) {
        if (keepEnd)
            start = end - kMinSpan;
        else
            end = start + kMinSpan;
    }
    mWindowStart = start;
    mWindowEnd = end;
}

void GraphModel::setXmin(double t)
{
    setWindow(t, mWindowEnd);
    rebuild();
}

void GraphModel::setXmax(double t)
{
    setWindow(mWindowStart, t, true);
    rebuild();
}

void GraphModel::setT0(double t0)
{
    setWindow(t0, t0 + span());
    rebuild();
}

void GraphModel::setXrange(double s)
{
    if (std::isfinite(s)) {
        s = std::max(s, kMinSpan);
        if (mGraphMode == GraphAutomatic)
            setWindow(mWindowEnd - s, mWindowEnd, true);
        else
            setWindow(mWindowStart, mWindowStart + s);
    }
    rebuild();
}

void GraphModel::zoomToMarker()
{
    const double end = (mMarker2 - mMarker1 < 1.0) ? mMarker1 + 1.0 : mMarker2;
    setWindow(mMarker1, end);
    mGraphMode = GraphManual;
    rebuild();
}

double GraphModel::bucketWidth() const
{
    return span() / plotWidthUsed();
}

void GraphModel::rebuild()
{
    std::vector<FrameJob> jobs;
    for (unsigned i = 0; i < mParameters.size(); ++i) {
        if (mParameters[i].active)
            jobs.push_back(FrameJob{i, mWindowStart, mWindowEnd, bucketWidth()});
    }
    requestFrames(jobs);
    ++mFramesRevision;
}

void GraphModel::holdRebuilds(bool hold)
{
    mHoldRebuilds = std::max(0, mHoldRebuilds + (hold ? 1 : -1));
    if (mHoldRebuilds == 0)
        settleFrames();
}

void GraphModel::requestFrames(const std::vector<FrameJob>& jobs)
{
    if (mHoldRebuilds > 0)
        mHeldFrames.insert(mHeldFrames.end(), jobs.begin(), jobs.end());
    else
        rebuildFrames(jobs);
}

void GraphModel::settleFrames()
{
    if (mHeldFrames.empty())
        return;
    std::vector<FrameJob> jobs;
    jobs.swap(mHeldFrames);
    rebuildFrames(jobs);
}

// ---------------------------------------------------------------- feeding

void GraphModel::setTime(double t)
{
    if (!usableTime(t))
        return;
    if (mGraphMode == GraphAutomatic)
        setWindow(t - span(), t, true);
    mSampleTime = t;
    mTimeSet = true;
    ++mGeneration; // clears every has-value flag at once
    if (mRebuildOnNextTime) {
        mRebuildOnNextTime = false;
        rebuild();
    }
}

void GraphModel::addToFrames(GraphParameter& p, double t, double v)
{
    settleFrames();
    // Samples beyond the first one past the window cannot show until the
    // window moves, which rebuilds; buckets left of it are trimmed as they
    // pass. So feeding a whole recording never piles up buckets.
    if (p.frames.reached(mWindowEnd))
        return;
    p.frames.add(t, v, bucketWidth());
    p.frames.trim(mWindowStart);
    ++mFramesRevision;
}

void GraphModel::putValue(unsigned i, double v)
{
    if (i >= mParameters.size() || !mTimeSet)
        return;
    GraphParameter& p = mParameters[i];
    if (!p.samples.append(mSampleTime, v)) {
        // Only this sample goes; what is stored stays.
        std::printf("wrong time stamp %s %f skipping...\n", p.name.c_str(), mSampleTime);
        return;
    }
    addToFrames(p, mSampleTime, v);
    p.lastValue = v;
    p.valueGeneration = mGeneration;
}

void GraphModel::putSamples(unsigned i, std::vector<GraphEntry>& samples)
{
    auto times = std::make_shared<GraphTimes>(samples.size());
    GraphValues values(samples.size());
    for (std::size_t k = 0; k < samples.size(); ++k) {
        (*times)[k] = samples[k].time;
        values[k] = samples[k].value;
    }
    putSamples({Feed{i, times, &values}});
    if (values.empty())
        samples.clear();
}

void GraphModel::putSamples(const std::vector<Feed>& feeds)
{
    // Usable times in order into an empty store are taken whole; the check
    // and the index of extremes of each such feed are built beside the
    // others, into a series of their own.
    std::vector<GraphSeries> ready(feeds.size());
    std::vector<char> taken(feeds.size(), 0);
    std::vector<std::size_t> whole;
    std::vector<char> fed(mParameters.size(), 0);
    std::size_t total = 0;
    for (std::size_t f = 0; f < feeds.size(); ++f) {
        const unsigned i = feeds[f].parameter;
        if (i >= mParameters.size() || feeds[f].values->empty())
            continue;
        // A second feed of a parameter goes onto what the first one stored.
        if (!fed[i] && mParameters[i].samples.empty())
            whole.push_back(f);
        fed[i] = 1;
        total += feeds[f].values->size();
    }
    ParallelWork::run(whole.size(), ParallelWork::threads(static_cast<int64_t>(total)), [&](std::size_t k) {
        const std::size_t f = whole[k];
        taken[f] = ready[f].adopt(feeds[f].times, *feeds[f].values, kMaxTime) ? 1 : 0;
    });

    // The rest in order. The buckets of a fed parameter are built for the
    // window of its feeding, after all feeds (before, when something else
    // rebuilds in between).
    std::vector<FrameJob> frames;
    for (std::size_t f = 0; f < feeds.size(); ++f) {
        const unsigned i = feeds[f].parameter;
        const GraphValues& values = *feeds[f].values;
        if (i >= mParameters.size() || (values.empty() && !taken[f]))
            continue;
        GraphParameter& p = mParameters[i];
        bool timed = false;       // a setTime took effect
        bool lastStored = false;  // the last putValue stored its sample
        if (taken[f]) {
            std::swap(p.samples, ready[f]);
            mSampleTime = p.samples.back().time;
            mTimeSet = true;
            timed = true;
            lastStored = true;
            p.lastValue = p.samples.back().value;
        }
        for (std::size_t k = 0; k < values.size(); ++k) {
            // setTime ignores a time it cannot use; putValue then takes the
            // sample time set before.
            const double t = (*feeds[f].times)[k];
            if (usableTime(t)) {
                mSampleTime = t;
                mTimeSet = true;
                timed = true;
            }
            if (!mTimeSet)
                continue;
            lastStored = p.samples.append(mSampleTime, values[k]);
            if (!lastStored) {
                std::printf("wrong time stamp %s %f skipping...\n", p.name.c_str(), mSampleTime);
                continue;
            }
            p.lastValue = values[k];
        }
        if (timed) {
            if (mGraphMode == GraphAutomatic)
                setWindow(mSampleTime - span(), mSampleTime, true);
            ++mGeneration;  // clears every has-value flag, as each setTime does
            if (mRebuildOnNextTime) {
                mRebuildOnNextTime = false;
                requestFrames(frames);
                frames.clear();
                rebuild();
            }
        }
        if (lastStored)
            p.valueGeneration = mGeneration;
        frames.push_back(FrameJob{i, mWindowStart, mWindowEnd, bucketWidth()});
        ++mFramesRevision;
    }
    requestFrames(frames);
}

void GraphModel::rebuildFrames(const std::vector<FrameJob>& jobs)
{
    // A parameter fed twice keeps the buckets of its last feeding.
    std::vector<std::size_t> last;
    std::vector<int> jobOf(mParameters.size(), -1);
    for (std::size_t j = 0; j < jobs.size(); ++j)
        jobOf[jobs[j].parameter] = static_cast<int>(j);
    std::size_t samples = 0;
    for (std::size_t j = 0; j < jobs.size(); ++j) {
        if (jobOf[jobs[j].parameter] == static_cast<int>(j)) {
            last.push_back(j);
            samples += mParameters[jobs[j].parameter].samples.size();
        }
    }
    ParallelWork::run(last.size(), ParallelWork::threads(static_cast<int64_t>(samples)), [&](std::size_t k) {
        const FrameJob& job = jobs[last[k]];
        GraphParameter& p = mParameters[job.parameter];
        p.frames.rebuild(p.samples, job.start, job.end, job.width);
    });
}

bool GraphModel::getValue(unsigned i, double t, double& v) const
{
    v = 0.0;
    if (i >= mParameters.size())
        return false;
    return mParameters[i].samples.valueAt(t, v);
}

void GraphModel::clear()
{
    for (GraphParameter& p : mParameters) {
        p.samples.clear();
        p.frames.clear();
    }
    mYLow = -0.5;
    mYHigh = 1.5;
    mMarker1 = 0.0;
    mMarker2 = 0.0;
    ++mGeneration;
    ++mFramesRevision;
    rebuild();
}

void GraphModel::getParameterRangeX(unsigned i, double& first, double& last) const
{
    first = 0.0;
    last = 0.0;
    if (i >= mParameters.size() || mParameters[i].samples.empty())
        return;
    first = mParameters[i].samples.front().time;
    last = mParameters[i].samples.back().time;
}

void GraphModel::getParameterRangeY(unsigned i, double& low, double& high) const
{
    low = 0.0;
    high = 0.0;
    if (i >= mParameters.size())
        return;
    low = mParameters[i].samples.dataLow();
    high = mParameters[i].samples.dataHigh();
}

void GraphModel::pt1(float x, float tau, float dt, double* y)
{
    const float d = std::min(dt, 1.0f);
    *y = static_cast<float>((tau * *y + x * d) / (d + tau));
}

// ---------------------------------------------------------------- markers, cursor

void GraphModel::setMarker(double t0, double t1)
{
    mMarker1 = t0;
    mMarker2 = t1;
}

void GraphModel::setCursorPosition(double t)
{
    mCursorTime = t;
    if (mCursorMode == CursorCenter) {
        const double s = span();
        setWindow(t - 0.5 * s, t + 0.5 * s);
        rebuild();
    }
}

// ---------------------------------------------------------------- geometry

void GraphModel::setPlot(double left, double bottom, double width, double height)
{
    mPlotLeft = left;
    mPlotBottom = bottom;
    mPlotWidth = width;
    mPlotHeight = height;
}

double GraphModel::plotWidthUsed() const
{
    return usedPixels(mPlotWidth);
}

double GraphModel::plotHeightUsed() const
{
    return usedPixels(mPlotHeight);
}

double GraphModel::xToViewport(double t) const
{
    return mPlotLeft + (t - mWindowStart) / span() * plotWidthUsed();
}

double GraphModel::pixelX(double t) const
{
    return std::floor(xToViewport(t) + 0.5);
}

double GraphModel::yToViewport(double v) const
{
    return scaleTo(v, mYLow, mYHigh, mPlotBottom, plotHeightUsed());
}

double GraphModel::yToViewport(unsigned i, double v) const
{
    if (i >= mParameters.size())
        return yToViewport(v);
    const GraphParameter& p = mParameters[i];
    return scaleTo(v, p.rangeLow, p.rangeHigh, p.bandBottom, usedPixels(p.bandHeight));
}

double GraphModel::viewportToX(double x) const
{
    return mWindowStart + (x - mPlotLeft) / plotWidthUsed() * span();
}

double GraphModel::viewportToY(double y) const
{
    return mYLow + (y - mPlotBottom) / plotHeightUsed() * (mYHigh - mYLow);
}

double GraphModel::viewportToY(unsigned i, double y) const
{
    if (i >= mParameters.size())
        return viewportToY(y);
    const GraphParameter& p = mParameters[i];
    return p.rangeLow + (y - p.bandBottom) / usedPixels(p.bandHeight) * (p.rangeHigh - p.rangeLow);
}

double GraphModel::viewportToRelX(double x) const
{
    return std::min(std::max((x - mPlotLeft) / plotWidthUsed(), 0.0), 1.0);
}

double GraphModel::viewportToRelY(double y) const
{
    return std::min(std::max((y - mPlotBottom) / plotHeightUsed(), 0.0), 1.0);
}

unsigned GraphModel::getParaFromPos(double y) const
{
    for (unsigned i = parameterCount(); i-- > 0;) {
        const GraphParameter& p = mParameters[i];
        if (p.active && y >= p.bandBottom && y <= p.bandBottom + p.bandHeight)
            return i;
    }
    return 0;
}

// ---------------------------------------------------------------- one paint

void GraphModel::calcFrame()
{
    applyScales();
    if (mGraphMode == GraphAutomatic) {
        // Keeps each line running up to the current time.
        for (unsigned i = 0; i < parameterCount(); ++i) {
            if (mParameters[i].active && !hasValue(i))
                putValue(i, mParameters[i].lastValue);
        }
    }
}

void GraphModel::applyScales()
{
    if (mAutoscale) {
        mYLow = mAutoLow;
        mYHigh = mAutoHigh;
    }
    for (GraphParameter& p : mParameters) {
        if (mAutoscale) {
            p.rangeLow = p.visibleLow;
            p.rangeHigh = p.visibleHigh;
            widen(p.rangeLow, p.rangeHigh);
        } else {
            p.rangeLow = mYLow;
            p.rangeHigh = mYHigh;
        }
    }
}

void GraphModel::layoutBands()
{
    if (mDisplayMode == DisplaySplit) {
        mActiveCount = 0;
        for (const GraphParameter& p : mParameters)
            mActiveCount += p.active ? 1 : 0;
        if (mActiveCount == 0)
            return;
        const double h = mPlotHeight / mActiveCount;
        unsigned k = 0;
        for (GraphParameter& p : mParameters) {
            if (!p.active)
                continue;
            ++k;
            p.bandBottom = mPlotBottom + mPlotHeight - k * h;
            p.bandHeight = h;
        }
    } else {
        for (GraphParameter& p : mParameters) {
            p.rangeLow = mYLow;
            p.rangeHigh = mYHigh;
            p.bandBottom = mPlotBottom;
            p.bandHeight = mPlotHeight;
        }
    }
}

void GraphModel::trimFrames()
{
    settleFrames();
    for (GraphParameter& p : mParameters) {
        if (p.active && p.frames.trim(mWindowStart) > 0)
            ++mFramesRevision;
    }
}

void GraphModel::lineVertices(unsigned i, std::vector<float>& xy, std::vector<float>* segments)
{
    xy.clear();
    if (segments != nullptr)
        segments->clear();
    if (i >= mParameters.size())
        return;
    settleFrames();
    GraphParameter& p = mParameters[i];
    if (p.frames.trim(mWindowStart) > 0)
        ++mFramesRevision;
    bool first = true;
    float lastX = 0.0f;
    float lastY = 0.0f;
    for (const GraphFrame& f : p.frames.frames()) {
        // The bucket's pixel column: its samples are drawn up and down its middle.
        const float x = static_cast<float>(pixelX(f.time) + 0.5);
        double low = f.values[0];
        double high = f.values[0];
        for (int j = 0; j < f.count; ++j) {
            const double v = f.values[j];
            xy.push_back(x);
            xy.push_back(static_cast<float>(yToViewport(i, v)));
            low = std::min(low, v);
            high = std::max(high, v);
            // A value that is no number would spoil every scale after it.
            if (!std::isfinite(v))
                continue;
            if (first) {
                p.visibleLow = v;
                p.visibleHigh = v;
                first = false;
            } else {
                p.visibleLow = std::min(p.visibleLow, v);
                p.visibleHigh = std::max(p.visibleHigh, v);
            }
        }
        if (segments == nullptr)
            continue;
        const float y0 = xy[xy.size() - 2 * f.count + 1];
        if (&f != &p.frames.frames().front())
            segments->insert(segments->end(), {lastX, lastY, x, y0});
        if (f.count > 1 && high > low) {
            segments->insert(segments->end(), {x, static_cast<float>(yToViewport(i, low)), x,
                                               static_cast<float>(yToViewport(i, high))});
        }
        lastX = x;
        lastY = xy.back();
    }
}

void GraphModel::finishFrame()
{
    if (!mAutoscale)
        return;
    bool any = false;
    double low = 0.0;
    double high = 0.0;
    for (const GraphParameter& p : mParameters) {
        if (!p.active)
            continue;
        if (!any) {
            low = p.visibleLow;
            high = p.visibleHigh;
            any = true;
        } else {
            low = std::min(low, p.visibleLow);
            high = std::max(high, p.visibleHigh);
        }
    }
    if (!any)
        return;
    widen(low, high);
    mAutoLow = low;
    mAutoHigh = high;
}

GraphModel::Axis GraphModel::timeAxis(const GraphTicks::LabelFont& font) const
{
    Axis a;
    a.low = mWindowStart;
    a.high = mWindowEnd;
    a.ticks = GraphTicks::autoPara(a.low, a.high, mPlotWidth, 70.0, &a.step, &a.subdivisions);
    if (!a.ticks)
        return a;
    a.majors = GraphTicks::majors(a.low, a.high + a.step, a.step);
    const double baseline = mPlotBottom - 10.0 - font.height - 5.0;
    for (double t : a.majors) {
        if (t < a.low || t > a.high || t < 0.0)
            continue;
        a.labels.push_back(
            GraphTicks::label(t, GraphTicks::timeLabel(t, a.step), pixelX(t) + 0.5, 0.5, baseline, font));
    }
    a.labels = GraphTicks::thin(a.labels, a.step);
    GraphTicks::keepInside(a.labels, 0.0, mPlotLeft + mPlotWidth + kRightMargin);
    return a;
}

std::vector<GraphModel::Axis> GraphModel::valueAxes(const GraphTicks::LabelFont& font) const
{
    std::vector<Axis> axes;
    const auto add = [&](int parameter, double low, double high, double pixels) {
        Axis a;
        a.parameter = parameter;
        a.low = low;
        a.high = high;
        a.ticks = GraphTicks::autoPara(low, high, pixels, 25.0, &a.step, &a.subdivisions);
        if (a.ticks) {
            a.majors = GraphTicks::majors(low - a.step, high + a.step, a.step);
            for (double v : a.majors) {
                if (v < low || v > high)
                    continue;
                const double y = parameter < 0 ? yToViewport(v) : yToViewport(static_cast<unsigned>(parameter), v);
                a.labels.push_back(GraphTicks::label(v, GraphTicks::formatValue(v, a.step), mPlotLeft - 15.0, 1.0,
                                                     y - 0.4 * font.height, font));
            }
            a.labels = GraphTicks::thin(a.labels, a.step);
        }
        axes.push_back(std::move(a));
    };
    if (mDisplayMode != DisplaySplit) {
        add(-1, mYLow, mYHigh, mPlotHeight);
        return axes;
    }
    for (unsigned i = 0; i < parameterCount(); ++i) {
        const GraphParameter& p = mParameters[i];
        if (p.active)
            add(static_cast<int>(i), p.rangeLow, p.rangeHigh, p.bandHeight);
    }
    std::vector<QRectF> taken;
    for (Axis& a : axes)
        GraphTicks::dropCrowded(a.labels, taken);
    return axes;
}

QString GraphModel::legendText(unsigned i) const
{
    if (i >= mParameters.size())
        return QString();
    const QString name = QString::fromStdString(mParameters[i].name);
    double v = 0.0;
    if (getValue(i, mCursorTime, v))
        return name + QString::asprintf("   %f", v);
    return name + QStringLiteral("   ---");
}

QString GraphModel::cursorText() const
{
    return RecordData::clockText(mCursorTime) + QString::asprintf("/%.2f", mCursorValue);
}

double GraphModel::cursorY() const
{
    if (mDisplayMode == DisplaySplit)
        return yToViewport(mCursorParameter, mCursorValue);
    return yToViewport(mCursorValue);
}

// ---------------------------------------------------------------- mouse and keys

void GraphModel::markerPress(double t, bool shift)
{
    if (!shift) {
        mMarker1 = t;
        mMarker2 = t;
    } else if (t >= 0.5 * (mMarker1 + mMarker2)) {
        mMarker2 = t;
    } else {
        mMarker1 = t;
    }
}

void GraphModel::markerRelease()
{
    if (mMarker2 < mMarker1)
        std::swap(mMarker1, mMarker2);
}

void GraphModel::cursorAt(double t, double y)
{
    mCursorTextShown = true;
    mCursorTime = t;
    if (mDisplayMode == DisplaySplit) {
        mCursorParameter = getParaFromPos(y);
        mCursorValue = viewportToY(mCursorParameter, y);
    } else {
        mCursorValue = viewportToY(y);
    }
}

void GraphModel::panStart(double x)
{
    mPanX = x;
    mPanStart = mWindowStart;
    mPanEnd = mWindowEnd;
}

void GraphModel::panMove(double x)
{
    const double shift = (mPanX - x) * (mPanEnd - mPanStart) / plotWidthUsed();
    setWindow(mPanStart + shift, mPanEnd + shift);
    rebuild();
    mGraphMode = GraphManual;
}

void GraphModel::wheelZoom(double m, bool forward)
{
    const double f = forward ? 0.9 : 1.0 / 0.9;
    double start = m - f * (m - mWindowStart);
    double end = m - f * (m - mWindowEnd);
    if (!(end - start >= kMinSpan)) {
        // Zooming in stops at the narrowest window, the mouse time staying
        // where it was on the screen.
        const double rel = (m - mWindowStart) / span();
        start = m - rel * kMinSpan;
        end = start + kMinSpan;
    }
    setWindow(start, end);
}

void GraphModel::cursorStepTime(int steps, double widgetWidth)
{
    mCursorTime += steps * span() / usedPixels(widgetWidth);
}

void GraphModel::cursorStepY(double pixels)
{
    const double y = cursorY() + pixels;
    cursorAt(mCursorTime, y);
}

} // namespace KAVO
