#include "WidgetGraph.h"

#include "GraphTicks.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QPainter>
#include <QShowEvent>
#include <QSurfaceFormat>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

using KAVO::GraphColor;
using KAVO::GraphModel;
using KAVO::GraphTicks;

namespace {

void glColor(const GraphColor& c)
{
    glColor3f(c.r, c.g, c.b);
}

void line(double x0, double y0, double x1, double y1)
{
    glVertex2d(x0, y0);
    glVertex2d(x1, y1);
}

const GraphColor kWhite{1.0f, 1.0f, 1.0f};

} // namespace

WidgetGraph::WidgetGraph(QWidget* parent)
    : QOpenGLWidget(parent)
{
    // Immediate mode needs the compatibility profile.
    QSurfaceFormat fmt = format();
    fmt.setProfile(QSurfaceFormat::CompatibilityProfile);
    fmt.setDepthBufferSize(24);
    setFormat(fmt);

    // The small fixed font of the labels; where no "6x13" face exists the
    // monospace fall-back of the same height stands in.
    mFont = QFont(QStringLiteral("6x13"));
    mFont.setStyleHint(QFont::TypeWriter);
    mFont.setPixelSize(11);
    mFontMetrics = new QFontMetrics(mFont);

    mRepaintTimer = new QTimer(this);
    mRepaintTimer->setInterval(30);
    connect(mRepaintTimer, &QTimer::timeout, this, &WidgetGraph::slotTimeout);
    mRecalcTimer = new QTimer(this);
    mRecalcTimer->setSingleShot(true);
    connect(mRecalcTimer, &QTimer::timeout, this, &WidgetGraph::slotTimeoutRecalc);
    mCursorTimer = new QTimer(this);
    mCursorTimer->setSingleShot(true);
    connect(mCursorTimer, &QTimer::timeout, this, &WidgetGraph::slotTimeoutCursor);

    setMouseTracking(true);
    setFocusPolicy(Qt::WheelFocus);
    mModel.setMaxParameters(6);
    mRepaintClock.start();
    mRepaintTimer->start();
}

WidgetGraph::~WidgetGraph()
{
    releaseLayer();
    // The base class destroys the context after this object is gone.
    if (context() != nullptr)
        disconnect(context(), nullptr, this, nullptr);
    delete mFontMetrics;
}

// ---------------------------------------------------------------- setters

void WidgetGraph::updateGL()
{
    update();
}

void WidgetGraph::setMaxParameters(unsigned n)
{
    mModel.setMaxParameters(n);
}

void WidgetGraph::setCursorMode(eCursorMode mode)
{
    mModel.setCursorMode(mode);
    updateGL();
}

void WidgetGraph::setDisplayMode(eDisplayMode mode)
{
    mModel.setDisplayMode(mode);
    updateGL();
}

void WidgetGraph::setGraphMode(eGraphMode mode)
{
    mModel.setGraphMode(mode);
    updateGL();
}

void WidgetGraph::setActive(unsigned i, bool on)
{
    mModel.setActive(i, on);
}

void WidgetGraph::setParameterName(unsigned i, const std::string& name)
{
    mModel.setParameterName(i, name);
}

void WidgetGraph::setParameterColor(unsigned i, float r, float g, float b)
{
    mModel.setParameterColor(i, r, g, b);
    updateGL();
}

void WidgetGraph::activateSamples(unsigned i, bool on)
{
    mModel.activateSamples(i, on);
    updateGL();
}

void WidgetGraph::setBackColor(float r, float g, float b)
{
    mBackColor = GraphColor{r, g, b};
    updateGL();
}

void WidgetGraph::setGridColor(float r, float g, float b)
{
    mGridColor = GraphColor{r, g, b};
    updateGL();
}

void WidgetGraph::setLabelColor(float r, float g, float b)
{
    mLabelColor = GraphColor{r, g, b};
    updateGL();
}

void WidgetGraph::setLabelBackColor(float r, float g, float b)
{
    // Also the clear colour, which every paint sets.
    mLabelBackColor = GraphColor{r, g, b};
    updateGL();
}

void WidgetGraph::activateGrid(bool on)
{
    mGridShown = on;
    updateGL();
}

void WidgetGraph::activateCursor(bool on)
{
    mCursorShown = on;
    updateGL();
}

void WidgetGraph::activateLegend(bool on)
{
    mLegendShown = on;
    updateGL();
}

void WidgetGraph::setAutoScaleY(bool on)
{
    mModel.setAutoScaleY(on);
}

void WidgetGraph::setYmin(float y)
{
    mModel.setYmin(y);
    updateGL();
}

void WidgetGraph::setYmax(float y)
{
    mModel.setYmax(y);
    updateGL();
}

void WidgetGraph::setXmin(float t)
{
    mModel.setXmin(t);
    updateGL();
}

void WidgetGraph::setXmax(float t)
{
    mModel.setXmax(t);
    updateGL();
}

void WidgetGraph::setT0(float t0)
{
    mModel.setT0(t0);
    updateGL();
}

void WidgetGraph::setXrange(float span)
{
    mModel.setXrange(span);
    updateGL();
}

void WidgetGraph::zoomToMarker()
{
    mModel.zoomToMarker();
    updateGL();
}

void WidgetGraph::rebuild()
{
    mModel.rebuild();
    updateGL();
}

void WidgetGraph::setTime(double t)
{
    mModel.setTime(t);
}

void WidgetGraph::putValue(unsigned i, double v)
{
    mModel.putValue(i, v);
}

void WidgetGraph::putSamples(unsigned i, std::vector<KAVO::GraphEntry>& samples)
{
    mModel.putSamples(i, samples);
}

void WidgetGraph::putSamples(const std::vector<KAVO::GraphModel::Feed>& feeds)
{
    mModel.putSamples(feeds);
}

bool WidgetGraph::getValue(unsigned i, double t, double& v) const
{
    return mModel.getValue(i, t, v);
}

void WidgetGraph::setCursorPosition(double t)
{
    mModel.setCursorPosition(t);
    updateGL();
}

void WidgetGraph::setMarker(double t0, double t1)
{
    mModel.setMarker(t0, t1);
    updateGL();
}

void WidgetGraph::clear()
{
    mModel.clear();
}

void WidgetGraph::getParameterRangeX(unsigned i, double& first, double& last) const
{
    mModel.getParameterRangeX(i, first, last);
}

void WidgetGraph::getParameterRangeY(unsigned i, double& low, double& high) const
{
    mModel.getParameterRangeY(i, low, high);
}

void WidgetGraph::pt1(float x, float tau, float dt, double* y)
{
    GraphModel::pt1(x, tau, dt, y);
}

bool WidgetGraph::getAutoPara(float low, float high, float pixels, float spacing, float* step, int* subdivisions)
{
    double s = 0.0;
    const bool ok = GraphTicks::autoPara(low, high, pixels, spacing, &s, subdivisions);
    *step = static_cast<float>(s);
    return ok;
}

void WidgetGraph::getAutoFormat(float step, QString& format)
{
    format = GraphTicks::autoFormat(step);
}

QImage WidgetGraph::grabGraph()
{
    return grabFramebuffer();
}

// ---------------------------------------------------------------- OpenGL

void WidgetGraph::setupGL()
{
    const qreal dpr = devicePixelRatioF();
    glClearColor(mLabelBackColor.r, mLabelBackColor.g, mLabelBackColor.b, 1.0f);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LINE_STIPPLE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glViewport(0, 0, static_cast<GLsizei>(width() * dpr), static_cast<GLsizei>(height() * dpr));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, width(), 0.0, height(), -7000.0, 7000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void WidgetGraph::initializeGL()
{
    // A new window gives the widget a new context; the picture of the old
    // one goes with it.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &WidgetGraph::releaseLayer,
            Qt::UniqueConnection);
    setupGL();
}

void WidgetGraph::releaseLayer()
{
    if (mLayer == nullptr)
        return;
    makeCurrent();
    delete mLayer;
    mLayer = nullptr;
    mLayerKey.clear();
    doneCurrent();
}

void WidgetGraph::resizeGL(int w, int h)
{
    mModel.setPlot(mModel.plotLeft(), 40.0, w - mModel.plotLeft() - GraphModel::kRightMargin, h - 50.0);
    setupGL();
    updateGL();
    mModel.rebuild();
}

void WidgetGraph::paintGL()
{
    // The text goes through QPainter, which changes the OpenGL state, so
    // the fixed pipeline is set up afresh inside native painting.
    QPainter painter(this);
    painter.beginNativePainting();
    setupGL();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    mModel.calcFrame();
    settle();
    drawGraph();
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_LINE_STIPPLE);
    painter.endNativePainting();

    painter.setFont(mFont);
    for (const Text& t : mTexts) {
        painter.setPen(QColor::fromRgbF(t.color.r, t.color.g, t.color.b));
        painter.drawText(QPointF(t.x, height() - t.y), t.text);
    }
    painter.end();
}

void WidgetGraph::settle()
{
    mModel.layoutBands();
    mModel.trimFrames();
    if (mLayer != nullptr && layerKey() == mLayerKey)
        return; // the picture of the plot is still good
    // The plot is drawn anew: its scales and its place come from what it
    // shows now, not from the paint before (a new recording or window
    // would show the old scales until the next repaint).
    for (int pass = 0; pass < 2; ++pass) {
        for (unsigned i = 0; i < mModel.parameterCount(); ++i) {
            if (mModel.parameter(i).active)
                mModel.lineVertices(i, mVertices);
        }
        mModel.finishFrame();
        mModel.applyScales();
        mModel.layoutBands();
        const double left = widestYLabel() + 20.0;
        const double plotWidth = width() - left - GraphModel::kRightMargin;
        const bool resized = plotWidth != mModel.plotWidth();
        mModel.setPlot(left, mModel.plotBottom(), plotWidth, mModel.plotHeight());
        if (!resized)
            break;
        // Buckets are one pixel of the new width wide.
        mModel.rebuild();
    }
}

void WidgetGraph::addText(float x, float y, const GraphColor& c, const QString& text)
{
    mTexts.push_back(Text{x, y, c, text});
}

void WidgetGraph::addLabel(const GraphTicks::Label& label, const GraphColor& c)
{
    addText(static_cast<float>(label.x), static_cast<float>(label.baseline), c, label.text);
    mLabels.push_back(label);
}

void WidgetGraph::drawGraph()
{
    mModel.layoutBands();
    mModel.trimFrames();
    const std::vector<double> key = layerKey();
    const qreal dpr = devicePixelRatioF();
    const QSize size(static_cast<int>(width() * dpr), static_cast<int>(height() * dpr));
    if (mLayer == nullptr || mLayer->size() != size || key != mLayerKey) {
        if (mLayer == nullptr || mLayer->size() != size) {
            delete mLayer;
            mLayer = new QOpenGLFramebufferObject(size);
        }
        mLayer->bind();
        glClear(GL_COLOR_BUFFER_BIT);
        drawLayer();
        QOpenGLContext::currentContext()->functions()->glBindFramebuffer(GL_FRAMEBUFFER,
                                                                        defaultFramebufferObject());
        mLayerKey = key;
    }
    showLayer();

    mTexts = mLayerTexts;
    mWidestLabel = mLayerWidestLabel;
    drawMarker();
    if (mCursorShown)
        drawCursor();
    drawOutline();
    mModel.finishFrame();
    if (mLegendShown)
        drawLabels();

    // Geometry for the next paint: room for the widest Y label.
    const double left = mWidestLabel + 20.0;
    mModel.setPlot(left, mModel.plotBottom(), width() - left - GraphModel::kRightMargin, mModel.plotHeight());
}

std::vector<double> WidgetGraph::layerKey() const
{
    const KAVO::GraphModel& m = mModel;
    std::vector<double> k = {
        static_cast<double>(width()), static_cast<double>(height()), devicePixelRatioF(),
        m.plotLeft(), m.plotBottom(), m.plotWidth(), m.plotHeight(), m.xMin(), m.xMax(), m.yMin(), m.yMax(),
        static_cast<double>(m.displayMode()), static_cast<double>(m.framesRevision()),
        mBackColor.r, mBackColor.g, mBackColor.b, mGridColor.r, mGridColor.g, mGridColor.b,
        mLabelColor.r, mLabelColor.g, mLabelColor.b, mLabelBackColor.r, mLabelBackColor.g, mLabelBackColor.b,
        mGridShown ? 1.0 : 0.0,
    };
    for (unsigned i = 0; i < m.parameterCount(); ++i) {
        const KAVO::GraphParameter& p = m.parameter(i);
        if (!p.active)
            continue;
        k.insert(k.end(), {static_cast<double>(i), p.color.r, p.color.g, p.color.b, p.rangeLow, p.rangeHigh,
                           p.bandBottom, p.bandHeight, p.showSamples ? 1.0 : 0.0});
    }
    return k;
}

void WidgetGraph::drawLayer()
{
    mTexts.clear();
    mLabels.clear();
    mWidestLabel = 0;
    drawBackground();
    // The shared axis, or one per active parameter in parameter order.
    const std::vector<GraphModel::Axis> axes = mModel.valueAxes(labelFont());
    std::size_t axis = 0;
    if (axis < axes.size() && axes[axis].parameter < 0)
        drawTicksY(axes[axis++]);
    drawTicksX();
    for (unsigned i = 0; i < mModel.parameterCount(); ++i) {
        if (!mModel.parameter(i).active)
            continue;
        if (axis < axes.size() && axes[axis].parameter == static_cast<int>(i))
            drawTicksY(axes[axis++]);
        drawParameter(i);
    }
    mLayerTexts = mTexts;
    mLayerLabels = mLabels;
    mLayerWidestLabel = mWidestLabel;
}

void WidgetGraph::showLayer()
{
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, mLayer->texture());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2d(0.0, 0.0);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2d(width(), 0.0);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2d(width(), height());
    glTexCoord2f(0.0f, 1.0f);
    glVertex2d(0.0, height());
    glEnd();
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
}

void WidgetGraph::drawBackground()
{
    const double x0 = mModel.plotLeft();
    const double y0 = mModel.plotBottom();
    const double x1 = x0 + mModel.plotWidth();
    const double y1 = y0 + mModel.plotHeight();
    glColor(mBackColor);
    glBegin(GL_QUADS);
    glVertex2d(x0, y0);
    glVertex2d(x1, y0);
    glVertex2d(x1, y1);
    glVertex2d(x0, y1);
    glEnd();
}

void WidgetGraph::drawTicksX()
{
    const GraphModel::Axis a = mModel.timeAxis(labelFont());
    if (!a.ticks)
        return;
    const double bottom = mModel.plotBottom();
    const double top = bottom + mModel.plotHeight();

    glLineWidth(1.0f);
    glColor(mLabelColor);
    glBegin(GL_LINES);
    for (double t : a.majors) {
        if (t < a.low || t > a.high)
            continue;
        const double x = mModel.pixelX(t) + 0.5;
        line(x, bottom - 10.0, x, bottom);
    }
    for (double t : GraphTicks::minors(a.majors, a.step, a.subdivisions, a.low, a.high)) {
        const double x = mModel.pixelX(t) + 0.5;
        line(x, bottom - 5.0, x, bottom);
    }
    glEnd();
    for (const GraphTicks::Label& label : a.labels)
        addLabel(label, mLabelColor);

    if (mGridShown) {
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(1, 0xAAAA);
        glColor(mGridColor);
        glBegin(GL_LINES);
        for (double t : a.majors) {
            if (t >= a.low && t <= a.high) {
                const double x = mModel.pixelX(t) + 0.5;
                line(x, bottom, x, top);
            }
        }
        glEnd();
        glDisable(GL_LINE_STIPPLE);
    }
}

GraphTicks::LabelFont WidgetGraph::labelFont() const
{
    const QFontMetrics* fm = mFontMetrics;
    return GraphTicks::LabelFont{[fm](const QString& text) { return double(fm->horizontalAdvance(text)); },
                                 double(fm->ascent()), double(fm->descent()), double(fm->height())};
}

int WidgetGraph::widestYLabel() const
{
    double widest = 0.0;
    for (const GraphModel::Axis& a : mModel.valueAxes(labelFont()))
        for (const GraphTicks::Label& label : a.labels)
            widest = std::max(widest, label.box.width());
    return static_cast<int>(widest);
}

void WidgetGraph::drawTicksY(const GraphModel::Axis& a)
{
    if (!a.ticks)
        return;
    const GraphColor color = a.parameter < 0 ? mLabelColor : mModel.parameter(static_cast<unsigned>(a.parameter)).color;
    const auto yOf = [&](double v) {
        return a.parameter < 0 ? mModel.yToViewport(v) : mModel.yToViewport(static_cast<unsigned>(a.parameter), v);
    };
    const double left = mModel.plotLeft();
    const double right = left + mModel.plotWidth();

    glLineWidth(1.0f);
    glColor(color);
    glBegin(GL_LINES);
    for (double v : a.majors) {
        if (v >= a.low && v <= a.high) {
            const double y = yOf(v);
            line(left - 10.0, y, left, y);
        }
    }
    for (double v : GraphTicks::minors(a.majors, a.step, a.subdivisions, a.low, a.high)) {
        const double y = yOf(v);
        line(left - 5.0, y, left, y);
    }
    glEnd();
    for (const GraphTicks::Label& label : a.labels) {
        mWidestLabel = std::max(mWidestLabel, static_cast<int>(label.box.width()));
        addLabel(label, color);
    }

    if (mGridShown) {
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(1, 0xAAAA);
        glColor(mGridColor);
        glBegin(GL_LINES);
        for (double v : a.majors) {
            if (v >= a.low && v <= a.high) {
                const double y = yOf(v);
                line(left, y, right, y);
            }
        }
        glEnd();
        glDisable(GL_LINE_STIPPLE);
    }
}

void WidgetGraph::drawParameter(unsigned i)
{
    const KAVO::GraphParameter& p = mModel.parameter(i);
    mModel.lineVertices(i, mVertices, &mSegments);
    if (mVertices.empty())
        return;
    const qreal dpr = devicePixelRatioF();
    const double bandHeight = p.bandHeight > 0.0 ? p.bandHeight : 1.0;
    const double plotWidth = mModel.plotWidth() > 0.0 ? mModel.plotWidth() : 1.0;
    glColor(p.color);
    glLineWidth(1.0f);
    glScissor(static_cast<GLint>(std::floor(mModel.plotLeft() * dpr)),
              static_cast<GLint>(std::floor(p.bandBottom * dpr)),
              static_cast<GLsizei>(std::ceil(plotWidth * dpr)), static_cast<GLsizei>(std::ceil(bandHeight * dpr)));
    glEnable(GL_SCISSOR_TEST);
    // Opaque lines need no blending; it only costs time.
    glDisable(GL_BLEND);
    glBegin(GL_LINES);
    for (std::size_t k = 0; k + 1 < mSegments.size(); k += 2)
        glVertex2f(mSegments[k], mSegments[k + 1]);
    glEnd();
    const GLsizei n = static_cast<GLsizei>(mVertices.size() / 2);
    if (p.showSamples) {
        glColor(kWhite);
        glPointSize(3.0f);
        glBegin(GL_POINTS);
        for (GLsizei k = 0; k < n; ++k)
            glVertex2f(mVertices[2 * k], mVertices[2 * k + 1]);
        glEnd();
    }
    glDisable(GL_SCISSOR_TEST);
    glEnable(GL_BLEND);
}

void WidgetGraph::drawMarker()
{
    const double left = mModel.plotLeft();
    const double right = left + mModel.plotWidth();
    const double bottom = mModel.plotBottom();
    const double top = bottom + mModel.plotHeight();
    const double x0 = std::min(std::max(mModel.pixelX(mModel.marker1()), left), right);
    const double x1 = std::min(std::max(mModel.pixelX(mModel.marker2()), left), right);
    glColor4f(1.0f, 1.0f, 0.0f, 0.3f);
    glBegin(GL_QUADS);
    glVertex2d(x0, bottom);
    glVertex2d(x1, bottom);
    glVertex2d(x1, top);
    glVertex2d(x0, top);
    glEnd();
}

void WidgetGraph::drawCursor()
{
    const double left = mModel.plotLeft();
    const double right = left + mModel.plotWidth();
    const double bottom = mModel.plotBottom();
    const double top = bottom + mModel.plotHeight();
    const double x = mModel.pixelX(mModel.cursorTime()) + 0.5;
    const double y = mModel.cursorY();
    glColor(kWhite);
    glLineWidth(1.0f);
    glBegin(GL_LINES);
    if (x >= left && x <= right)
        line(x, bottom - 10.0, x, top);
    if (y >= bottom && y <= top)
        line(left - 10.0, y, right, y);
    glEnd();

    if (!mModel.cursorTextShown())
        return;
    addText(static_cast<float>(x + 5.0), static_cast<float>(y + 5.0), kWhite, mModel.cursorText());
    for (unsigned i = 0; i < mModel.parameterCount(); ++i) {
        const KAVO::GraphParameter& p = mModel.parameter(i);
        double v = 0.0;
        if (!p.active || !mModel.getValue(i, mModel.cursorTime(), v))
            continue;
        addText(static_cast<float>(x + 5.0), static_cast<float>(mModel.yToViewport(i, v)), p.color,
                QString::asprintf("%.2f", v));
    }
}

void WidgetGraph::drawOutline()
{
    const double left = mModel.plotLeft();
    const double right = left + mModel.plotWidth();
    const double bottom = mModel.plotBottom();
    const double top = bottom + mModel.plotHeight();
    glColor(kWhite);
    glLineWidth(1.0f);
    glBegin(GL_LINE_LOOP);
    glVertex2d(left, bottom);
    glVertex2d(right, bottom);
    glVertex2d(right, top);
    glVertex2d(left, top);
    glEnd();
    const unsigned n = mModel.activeCount();
    if (mModel.displayMode() != DisplaySplit || n == 0)
        return;
    glColor3f(0.5f, 0.5f, 0.5f);
    glLineWidth(2.0f);
    glBegin(GL_LINES);
    for (unsigned k = 0; k < n; ++k) {
        const double y = bottom + k * (mModel.plotHeight() / n);
        line(left, y, right, y);
    }
    glEnd();
    glLineWidth(1.0f);
}

void WidgetGraph::drawLabels()
{
    const double fontHeight = mFontMetrics->height();
    const bool split = mModel.displayMode() == DisplaySplit;
    const double x = mModel.plotLeft() + 5.0;
    double y = mModel.plotBottom() + mModel.plotHeight() - fontHeight - 5.0;
    for (unsigned i = 0; i < mModel.parameterCount(); ++i) {
        const KAVO::GraphParameter& p = mModel.parameter(i);
        if (!p.active)
            continue;
        addText(static_cast<float>(x), static_cast<float>(y), p.color, mModel.legendText(i));
        y -= split ? p.bandHeight : fontHeight + 5.0;
    }
}

// ---------------------------------------------------------------- timers

void WidgetGraph::slotTimeout()
{
    if (!isVisible())
        return;
    const double pixel = mModel.span() / (mModel.plotWidth() > 0.0 ? mModel.plotWidth() : 1.0);
    if (mRepaintClock.elapsed() > 0.7 * pixel * 1000.0) {
        mRepaintClock.restart();
        updateGL();
    }
}

void WidgetGraph::slotTimeoutRecalc()
{
    mModel.rebuild();
    updateGL();
}

void WidgetGraph::slotTimeoutCursor()
{
    mModel.setCursorTextShown(false);
    updateGL();
}

// ---------------------------------------------------------------- input

double WidgetGraph::pointerY(const QMouseEvent* e) const
{
    return height() - e->localPos().y();
}

void WidgetGraph::mousePressEvent(QMouseEvent* e)
{
    const double x = e->localPos().x();
    const double t = mModel.viewportToX(x);
    switch (e->button()) {
    case Qt::LeftButton: {
        const bool shift = mShiftHeld || (e->modifiers() & Qt::ShiftModifier);
        mModel.markerPress(t, shift);
        mMarkerDrag = true;
        emit signalMarker(static_cast<float>(mModel.marker1()), static_cast<float>(mModel.marker2()));
        updateGL();
        break;
    }
    case Qt::MiddleButton:
        mModel.cursorAt(t, pointerY(e));
        mCursorDrag = true;
        emit signalCursor(static_cast<float>(t), mModel.cursorValue());
        updateGL();
        break;
    case Qt::RightButton:
        mModel.panStart(x);
        mPan = true;
        break;
    default:
        QOpenGLWidget::mousePressEvent(e);
        break;
    }
}

void WidgetGraph::mouseMoveEvent(QMouseEvent* e)
{
    const double x = e->localPos().x();
    const double t = mModel.viewportToX(x);
    mModel.setMouseTime(t);
    if (mMarkerDrag) {
        mModel.markerPress(t, true);
        emit signalMarker(static_cast<float>(mModel.marker1()), static_cast<float>(mModel.marker2()));
        updateGL();
    }
    if (mCursorDrag) {
        mModel.cursorAt(t, pointerY(e));
        emit signalCursor(static_cast<float>(t), mModel.cursorValue());
        updateGL();
    }
    if (mPan) {
        mModel.panMove(x);
        emit signalManMode();
        updateGL();
    }
}

void WidgetGraph::mouseReleaseEvent(QMouseEvent* e)
{
    switch (e->button()) {
    case Qt::LeftButton:
        mModel.markerRelease();
        mMarkerDrag = false;
        updateGL();
        break;
    case Qt::MiddleButton:
        mModel.setCursorTextShown(false);
        mCursorDrag = false;
        updateGL();
        break;
    case Qt::RightButton:
        mPan = false;
        break;
    default:
        QOpenGLWidget::mouseReleaseEvent(e);
        break;
    }
}

void WidgetGraph::wheelEvent(QWheelEvent* e)
{
    const int delta = e->angleDelta().y();
    if (delta == 0) {
        e->ignore();
        return;
    }
    mModel.setMouseTime(mModel.viewportToX(e->position().x()));
    mModel.wheelZoom(mModel.mouseTime(), delta > 0);
    // Turns of the wheel are gathered before the buckets are rebuilt.
    if (!mRecalcTimer->isActive())
        mRecalcTimer->start(50);
    e->accept();
}

void WidgetGraph::cursorKey(QKeyEvent* e)
{
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    switch (e->key()) {
    case Qt::Key_Left:
        mModel.cursorStepTime(shift ? -10 : -1, width());
        break;
    case Qt::Key_Right:
        mModel.cursorStepTime(shift ? 10 : 1, width());
        break;
    case Qt::Key_Up:
        mModel.cursorStepY(shift ? 10.0 : 1.0);
        break;
    default:
        mModel.cursorStepY(shift ? -10.0 : -1.0);
        break;
    }
    mModel.setCursorTextShown(true);
    mCursorTimer->start(5000);
    updateGL();
    emit signalCursor(static_cast<float>(mModel.cursorTime()), mModel.cursorValue());
}

void WidgetGraph::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        cursorKey(e);
        break;
    case Qt::Key_F2:
        mModel.setDisplayMode(DisplaySingle);
        updateGL();
        break;
    case Qt::Key_F3:
        mModel.setDisplayMode(DisplaySplit);
        updateGL();
        break;
    case Qt::Key_A:
        mModel.setGraphMode(GraphAutomatic);
        updateGL();
        break;
    case Qt::Key_C:
        mModel.setCursorMode(CursorCenter);
        updateGL();
        break;
    case Qt::Key_R:
        mModel.clear();
        mModel.setGraphMode(GraphAutomatic);
        mModel.setDisplayMode(DisplaySingle);
        updateGL();
        break;
    case Qt::Key_X:
        mModel.clear();
        updateGL();
        break;
    case Qt::Key_Z:
        mModel.zoomToMarker();
        updateGL();
        break;
    case Qt::Key_Shift:
        mShiftHeld = true;
        break;
    default:
        QOpenGLWidget::keyPressEvent(e);
        break;
    }
}

void WidgetGraph::keyReleaseEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Shift)
        mShiftHeld = false;
    else
        QOpenGLWidget::keyReleaseEvent(e);
}

void WidgetGraph::showEvent(QShowEvent* e)
{
    QOpenGLWidget::showEvent(e);
    mRecalcTimer->start(50);
}
