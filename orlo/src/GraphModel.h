#ifndef ORLO_GRAPHMODEL_H
#define ORLO_GRAPHMODEL_H

#include "GraphFrameBuffer.h"
#include "GraphSeries.h"
#include "GraphTicks.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace KAVO {

// Modes of the strip chart, shared by the model and the widget.
struct GraphEnums
{
    enum eCursorMode { CursorFloating = 0, CursorCenter = 1, CursorEnd = 2 };
    enum eGraphMode { GraphManual = 0, GraphAutomatic = 1 };
    enum eDisplayMode { DisplaySingle = 0, DisplaySplit = 1 };
};

struct GraphColor
{
    float r;
    float g;
    float b;
};

// One graph parameter: its samples, its drawn buckets and how it is shown.
struct GraphParameter
{
    GraphSeries samples;
    GraphFrameBuffer frames;
    bool active = false;
    std::uint64_t valueGeneration = 0; // has a value when equal to the model's
    double lastValue = 0.0;
    double visibleLow = 0.0;
    double visibleHigh = 0.0;
    double rangeLow = 0.0;
    double rangeHigh = 0.0;
    double bandBottom = 0.0;
    double bandHeight = 0.0;
    GraphColor color{1.0f, 1.0f, 1.0f};
    std::string name = "NoName";
    bool showSamples = false;
};

// Everything of the strip chart that is not OpenGL: the graph parameters
// with their samples and buckets, the time window and its modes, the Y
// scales and autoscaling, markers and cursor, the pixel geometry of the
// plot and the arithmetic of mouse and keys. The widget draws what this
// computes and turns events into these calls.
class GraphModel : public GraphEnums
{
public:
    static constexpr unsigned kMaxParameters = 30;
    // The narrowest window: zooming stops here and an empty window is
    // widened to it.
    static constexpr double kMinSpan = 1.0;
    // Window limits beyond this are refused: there a second no longer
    // counts in double precision arithmetic of pixels.
    static constexpr double kMaxTime = 1.0e12;
    // Pixels between the plot's right edge and the widget's.
    static constexpr double kRightMargin = 10.0;

    GraphModel();

    // Parameters.
    void setMaxParameters(unsigned n);
    unsigned parameterCount() const { return static_cast<unsigned>(mParameters.size()); }
    const GraphParameter& parameter(unsigned i) const { return mParameters[i]; }
    void setActive(unsigned i, bool on);
    void setParameterName(unsigned i, const std::string& name);
    void setParameterColor(unsigned i, float r, float g, float b);
    void activateSamples(unsigned i, bool on);
    bool hasValue(unsigned i) const;

    // Modes.
    void setCursorMode(eCursorMode mode) { mCursorMode = mode; }
    void setDisplayMode(eDisplayMode mode) { mDisplayMode = mode; }
    void setGraphMode(eGraphMode mode);
    eCursorMode cursorMode() const { return mCursorMode; }
    eDisplayMode displayMode() const { return mDisplayMode; }
    eGraphMode graphMode() const { return mGraphMode; }
    bool rebuildPending() const { return mRebuildOnNextTime; }

    // Y scale.
    void setAutoScaleY(bool on) { mAutoscale = on; }
    bool autoScaleY() const { return mAutoscale; }
    void setYmin(double y) { mYLow = y; }
    void setYmax(double y) { mYHigh = y; }
    double yMin() const { return mYLow; }
    double yMax() const { return mYHigh; }
    double autoLow() const { return mAutoLow; }
    double autoHigh() const { return mAutoHigh; }

    // Time window; each of these rebuilds the buckets.
    void setXmin(double t);
    void setXmax(double t);
    void setT0(double t0);
    void setXrange(double span);
    void zoomToMarker();
    double xMin() const { return mWindowStart; }
    double xMax() const { return mWindowEnd; }
    double span() const { return mWindowEnd - mWindowStart; }
    // Time of one pixel column.
    double bucketWidth() const;
    void rebuild();
    // While held, the buckets are not rebuilt at each change of the window
    // or of the samples but once when the hold ends, each parameter's for
    // the window of its last rebuild: what rebuilding at once gives, when
    // nothing reads the buckets meanwhile (reading them ends the hold's
    // delay). For callers that change the window several times in a row;
    // holds nest, the outermost ends them.
    void holdRebuilds(bool hold);

    // Feeding.
    void setTime(double t);
    void putValue(unsigned i, double v);
    // Feeds a whole parameter: the same as setTime(t) and putValue(i, v) for
    // each sample in turn, but the buckets are built once, for the window
    // where the feeding leaves it. Samples in time order are taken over
    // (`samples` is left empty then).
    void putSamples(unsigned i, std::vector<GraphEntry>& samples);
    // Several parameters fed in the order given, the same as putSamples for
    // each in turn; what does not depend on the order (checking and
    // indexing the samples, building the buckets) runs on worker threads.
    // The samples come as times (which parameters of one message share)
    // and values; values taken over are left empty.
    struct Feed
    {
        unsigned parameter;
        std::shared_ptr<GraphTimes> times;
        GraphValues* values;
    };
    void putSamples(const std::vector<Feed>& feeds);
    bool getValue(unsigned i, double t, double& v) const;
    double sampleTime() const { return mSampleTime; }
    bool timeSet() const { return mTimeSet; }
    void clear();
    void getParameterRangeX(unsigned i, double& first, double& last) const;
    void getParameterRangeY(unsigned i, double& low, double& high) const;
    static void pt1(float x, float tau, float dt, double* y);

    // Markers and cursor.
    void setMarker(double t0, double t1);
    double marker1() const { return mMarker1; }
    double marker2() const { return mMarker2; }
    void setCursorPosition(double t);
    double cursorTime() const { return mCursorTime; }
    double cursorValue() const { return mCursorValue; }
    unsigned cursorParameter() const { return mCursorParameter; }
    bool cursorTextShown() const { return mCursorTextShown; }
    void setCursorTextShown(bool on) { mCursorTextShown = on; }

    // Plot geometry in pixels, origin bottom left.
    void setPlot(double left, double bottom, double width, double height);
    double plotLeft() const { return mPlotLeft; }
    double plotBottom() const { return mPlotBottom; }
    double plotWidth() const { return mPlotWidth; }
    double plotHeight() const { return mPlotHeight; }
    unsigned activeCount() const { return mActiveCount; }

    // Coordinate conversions.
    double xToViewport(double t) const;
    // The pixel boundary nearest to a time, where drawing puts the time:
    // noise in times read from ticks must not move a line by a pixel. A
    // vertical line half a pixel right of it fills the column that starts there.
    double pixelX(double t) const;
    double yToViewport(double v) const;             // shared scale, whole plot
    double yToViewport(unsigned i, double v) const; // the parameter's range and band
    double viewportToX(double x) const;
    double viewportToY(double y) const;
    double viewportToY(unsigned i, double y) const;
    double viewportToRelX(double x) const;
    double viewportToRelY(double y) const;
    unsigned getParaFromPos(double y) const;

    // One paint: scaling before, bands, the vertices of each line, the
    // autoscale range after.
    void calcFrame();
    // The scaling part of calcFrame: the Y ranges from the extremes that
    // were last measured.
    void applyScales();
    void layoutBands();
    // Drops the buckets left of the window of every active parameter.
    void trimFrames();
    // Counts every change of the drawn buckets, so that a painter can tell
    // whether a picture of them is still good.
    std::uint64_t framesRevision() const { return mFramesRevision; }
    // Trims the parameter's buckets and gives its line strip through every
    // value as x, y pairs, measuring the visible low and high on the way.
    // `segments`, when given, receives the same picture as separate lines
    // (pairs of x, y pairs) that draw each bucket's column once: all values
    // of a bucket share one x, so the strip's zig-zag there covers no more
    // than its low to high, and drawing that once saves most of the pixels.
    void lineVertices(unsigned i, std::vector<float>& xy, std::vector<float>* segments = nullptr);
    void finishFrame();
    // One axis as drawn: its range, tick step, major ticks and the labels
    // that fit. parameter is the graph parameter of a band's Y axis, -1
    // for the time axis and the shared Y axis.
    struct Axis
    {
        int parameter = -1;
        double low = 0.0;
        double high = 0.0;
        bool ticks = false;
        double step = 0.0;
        int subdivisions = 0;
        std::vector<double> majors;
        std::vector<GraphTicks::Label> labels;
    };
    // The time axis under the plot: ticks at least 70 pixels apart,
    // "h:mm:ss" (with the fraction that a step below a second needs)
    // centred under the ticks at or after 0, moved in where they would
    // run past the widget's edge.
    Axis timeAxis(const GraphTicks::LabelFont& font) const;
    // The Y axes left of the plot: the shared one in single display, one
    // per active parameter in split display (in parameter order), ticks at
    // least 25 pixels apart, labels right-aligned 15 pixels left of the
    // plot. Where labels of neighbouring bands would cover each other, the
    // upper band's stay.
    std::vector<Axis> valueAxes(const GraphTicks::LabelFont& font) const;

    QString legendText(unsigned i) const;
    QString cursorText() const;
    double cursorY() const;

    // Mouse and keys.
    void setMouseTime(double t) { mMouseTime = t; }
    double mouseTime() const { return mMouseTime; }
    void markerPress(double t, bool shift);
    void markerRelease();
    void cursorAt(double t, double y);
    void panStart(double x);
    void panMove(double x);
    void wheelZoom(double mouseTime, bool forward);
    void cursorStepTime(int steps, double widgetWidth);
    void cursorStepY(double pixels);

private:
    // Sets the window; a span below kMinSpan is widened away from the end
    // that was asked for (the start unless keepEnd).
    void setWindow(double start, double end, bool keepEnd = false);
    double plotWidthUsed() const;
    double plotHeightUsed() const;
    void addToFrames(GraphParameter& p, double t, double v);
    // The buckets of the given parameters refilled for the window start..end
    // in pixels of width w, side by side on worker threads.
    struct FrameJob
    {
        unsigned parameter;
        double start;
        double end;
        double width;
    };
    void rebuildFrames(const std::vector<FrameJob>& jobs);
    // Rebuilds now, or when the hold ends.
    void requestFrames(const std::vector<FrameJob>& jobs);
    // Does the rebuilds held back.
    void settleFrames();

    double mSampleTime = 0.0;
    double mWindowStart = 0.0;
    double mWindowEnd = 60.0;
    double mYLow = -0.5;
    double mYHigh = 1.5;
    double mMarker1 = 0.0;
    double mMarker2 = 0.0;
    double mCursorTime = 0.0;
    double mCursorValue = 0.0;
    bool mCursorTextShown = false;
    unsigned mCursorParameter = 0;
    double mPlotLeft = 50.0;
    double mPlotBottom = 40.0;
    double mPlotWidth = 600.0;
    double mPlotHeight = 250.0;
    eCursorMode mCursorMode = CursorFloating;
    eGraphMode mGraphMode = GraphAutomatic;
    eDisplayMode mDisplayMode = DisplaySingle;
    unsigned mActiveCount = 0;
    std::vector<GraphParameter> mParameters;
    bool mAutoscale = true;
    bool mTimeSet = false;
    bool mRebuildOnNextTime = false;
    std::uint64_t mGeneration = 1;
    std::uint64_t mFramesRevision = 0;
    int mHoldRebuilds = 0;
    std::vector<FrameJob> mHeldFrames;
    double mAutoLow = 0.0;
    double mAutoHigh = 1.0;
    double mMouseTime = 0.0;
    double mPanX = 0.0;
    double mPanStart = 0.0;
    double mPanEnd = 0.0;
};

} // namespace KAVO

#endif
