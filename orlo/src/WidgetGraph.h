#ifndef ORLO_WIDGETGRAPH_H
#define ORLO_WIDGETGRAPH_H

#include "GraphModel.h"

#include <QElapsedTimer>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QOpenGLWidget>
#include <QString>

#include <string>
#include <vector>

class QOpenGLFramebufferObject;
class QTimer;

// The workstation's strip chart: up to 30 graph parameters over a time
// window, in one shared Y scale or in one band each, with two markers, a
// cursor and a legend, drawn with the fixed OpenGL pipeline. The samples,
// buckets, window and scales live in KAVO::GraphModel; this class paints
// them and turns mouse, wheel and keys into model changes.
class WidgetGraph : public QOpenGLWidget, public KAVO::GraphEnums
{
    Q_OBJECT

public:
    typedef KAVO::GraphEntry EntryType;
    typedef KAVO::GraphFrame FrameType;
    typedef KAVO::GraphParameter ParStruct;

    explicit WidgetGraph(QWidget* parent = nullptr);
    ~WidgetGraph() override;

    void setMaxParameters(unsigned n);
    void setCursorMode(eCursorMode mode);
    void setDisplayMode(eDisplayMode mode);
    void setGraphMode(eGraphMode mode);
    void setActive(unsigned i, bool on);
    void setParameterName(unsigned i, const std::string& name);
    void setParameterColor(unsigned i, float r, float g, float b);
    void activateSamples(unsigned i, bool on);

    void setBackColor(float r, float g, float b);
    void setGridColor(float r, float g, float b);
    void setLabelColor(float r, float g, float b);
    void setLabelBackColor(float r, float g, float b);
    void activateGrid(bool on);
    void activateCursor(bool on);
    void activateLegend(bool on);

    void setAutoScaleY(bool on);
    void setYmin(float y);
    void setYmax(float y);
    void setXmin(float t);
    void setXmax(float t);
    void setT0(float t0);
    void setXrange(float span);
    void zoomToMarker();
    // Refills the buckets for the current window and repaints (after a
    // whole recording was fed).
    void rebuild();
    // GraphModel::holdRebuilds: a run of window changes rebuilds once.
    void holdRebuilds(bool hold) { mModel.holdRebuilds(hold); }
    // Holds the rebuilds for as long as it lives.
    class HeldRebuilds
    {
    public:
        explicit HeldRebuilds(WidgetGraph* graph) : mGraph(graph) { mGraph->holdRebuilds(true); }
        ~HeldRebuilds() { mGraph->holdRebuilds(false); }
        HeldRebuilds(const HeldRebuilds&) = delete;
        HeldRebuilds& operator=(const HeldRebuilds&) = delete;

    private:
        WidgetGraph* mGraph;
    };

    void setTime(double t);
    void putValue(unsigned i, double v);
    // A whole parameter's samples in time order (GraphModel::putSamples).
    void putSamples(unsigned i, std::vector<KAVO::GraphEntry>& samples);
    // Several parameters at once, in the order given.
    void putSamples(const std::vector<KAVO::GraphModel::Feed>& feeds);
    bool getValue(unsigned i, double t, double& v) const;
    void setCursorPosition(double t);
    void setMarker(double t0, double t1);
    void clear();
    void getParameterRangeX(unsigned i, double& first, double& last) const;
    void getParameterRangeY(unsigned i, double& low, double& high) const;
    static void pt1(float x, float tau, float dt, double* y);

    double getXmin() const { return mModel.xMin(); }
    double getXmax() const { return mModel.xMax(); }
    double getMarker1() const { return mModel.marker1(); }
    double getMarker2() const { return mModel.marker2(); }
    double getCursorTime() const { return mModel.cursorTime(); }
    eDisplayMode getDisplayMode() const { return mModel.displayMode(); }
    eGraphMode getGraphMode() const { return mModel.graphMode(); }
    eCursorMode getCursorMode() const { return mModel.cursorMode(); }
    const KAVO::GraphModel& model() const { return mModel; }

    // The graph's pixels as last painted (rendered now if need be); a
    // picture of a parent widget does not always hold them.
    QImage grabGraph();
    // The axis labels of the last paint, where they were drawn.
    const std::vector<KAVO::GraphTicks::Label>& axisLabels() const { return mLayerLabels; }

    static bool getAutoPara(float low, float high, float pixels, float spacing, float* step, int* subdivisions);
    static void getAutoFormat(float step, QString& format);

    // Repaints soon (coalesced with other requests).
    void updateGL();

signals:
    void signalCursor(float t, double value);
    void signalMarker(float t0, float t1);
    void signalManMode();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

private slots:
    void slotTimeout();
    void slotTimeoutRecalc();
    void slotTimeoutCursor();
    void releaseLayer();

private:
    struct Text
    {
        float x;
        float y; // baseline, from the bottom
        KAVO::GraphColor color;
        QString text;
    };

    void setupGL();
    // Before a paint that draws the plot anew: scales and plot place from
    // the data as it will be drawn.
    void settle();
    KAVO::GraphTicks::LabelFont labelFont() const;
    int widestYLabel() const;
    void drawGraph();
    std::vector<double> layerKey() const;
    void drawLayer();
    void showLayer();
    void drawBackground();
    void drawTicksX();
    void drawTicksY(const KAVO::GraphModel::Axis& axis);
    void drawParameter(unsigned i);
    void drawMarker();
    void drawCursor();
    void drawOutline();
    void drawLabels();
    void addText(float x, float y, const KAVO::GraphColor& c, const QString& text);
    void addLabel(const KAVO::GraphTicks::Label& label, const KAVO::GraphColor& c);
    void flushTexts();
    double pointerY(const QMouseEvent* e) const;
    void cursorKey(QKeyEvent* e);

    KAVO::GraphModel mModel;
    QTimer* mRepaintTimer = nullptr;
    QTimer* mRecalcTimer = nullptr;
    QTimer* mCursorTimer = nullptr;
    QElapsedTimer mRepaintClock;
    QFont mFont;
    QFontMetrics* mFontMetrics = nullptr;
    bool mMarkerDrag = false;
    bool mCursorDrag = false;
    bool mPan = false;
    bool mShiftHeld = false;
    KAVO::GraphColor mBackColor{0.0f, 0.0f, 0.0f};
    KAVO::GraphColor mGridColor{1.0f, 0.3f, 0.3f};
    KAVO::GraphColor mLabelColor{0.0f, 0.0f, 0.0f};
    KAVO::GraphColor mLabelBackColor{0.8f, 0.8f, 0.8f};
    bool mGridShown = true;
    bool mCursorShown = true;
    bool mLegendShown = true;
    int mWidestLabel = 0;
    std::vector<Text> mTexts;
    // The plot with axes, grid and lines as last drawn, with its labels:
    // a repaint that changes none of what went into it (a cursor or marker
    // move, a throttled repaint) shows it again instead of drawing every
    // line anew.
    QOpenGLFramebufferObject* mLayer = nullptr;
    std::vector<double> mLayerKey;
    std::vector<Text> mLayerTexts;
    std::vector<KAVO::GraphTicks::Label> mLabels;
    std::vector<KAVO::GraphTicks::Label> mLayerLabels;
    int mLayerWidestLabel = 0;
    std::vector<float> mVertices;
    std::vector<float> mSegments;
};

#endif
