// Drawing GRAPH elements: background, grid, major and minor ticks, labels
// through the font library and the frame; the traces of the graph actions
// with threshold colours and widths changing at interpolated crossings; the
// automatic spacing, the label formats' use and the autoscaling with its
// first-order lags. Everything is drawn in box coordinates: (0, 0) is the
// lower-left corner of the box, (width, height) the upper-right one.
#include "elements/elementKinds.h"

#include "dorneGl.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// A lattice loop that would draw more lines than this draws none: spacings
// far below the pixel size come only from corrupt records.
const double maxLines = 10000;

// Trace vertices beyond this distance from the box (in box units) are
// skipped, as are values that are not numbers.
const float farAway = 1e10f;

// Lengths of ticks and distances of labels, in view units.
const float majorTick = 12, minorTick = 5, labelGapY = 12, labelGapYR = 15, labelGapX = 13;

// Width of the XY cross marker's arms from its centre.
const float markerArm = 5;

bool near(float v)
{
    return std::fabs(v) < farAway; // false for NaN
}

// A value range drawn over a length: v lies at o + s v. Not usable (and
// nothing is drawn on it) when the range is empty or a number is not finite.
struct Scale
{
    double s = 0;
    double o = 0;
    bool usable = false;

    Scale(double lo, double hi, double length)
    {
        const double span = std::fabs(hi - lo);
        if (!(span > 0) || !std::isfinite(span) || !std::isfinite(length))
            return;
        s = length / span;
        o = -s * lo;
        usable = std::isfinite(s) && std::isfinite(o);
    }
    float at(double v) const { return float(o + s * v); }
};

// The seconds an XT graph shows: samples / rate, at least one sample; 0
// without a usable rate.
float window(const GRAPH_STRUCT& g)
{
    if (!(g.rate > 0))
        return 0;
    const float span = float(std::max(g.samples, 1)) / g.rate;
    return std::isfinite(span) ? span : 0.0f;
}

void updateXmax(GRAPH_STRUCT& g)
{
    if (g.type == 0 && window(g) > 0)
        g.xmax = g.xmin + window(g);
}

// The first value ref + k space above lo (or on it when ref lies above);
// not a number for a spacing that is not positive.
double latticeStart(double lo, double space, double ref)
{
    if (!(space > 0))
        return NAN;
    if (ref > lo)
        return ref - space * std::trunc((ref - lo) / space);
    return ref + space * (std::trunc((lo - ref) / space) + 1);
}

// Visits first, first + space, ... (accumulated in double) up to hi;
// nothing for a spacing that is not positive or would give more than
// maxLines values.
template <typename Visit>
void forLattice(double first, double hi, double space, Visit visit)
{
    if (!(space > 0) || !std::isfinite(first))
        return;
    const double n = (hi - first) / space;
    if (!(n >= 0 && n < maxLines))
        return;
    double v = first;
    for (int k = 0; k <= int(n) + 1 && v <= hi; ++k, v += space) // at most maxLines + 2
        visit(v);
}

// The label font draws at the current origin; labels need a font.
void drawLabel(void* font, const char* text, float x, float y)
{
    wtPushMatrix();
    glTranslatef(x, y, 0);
    vdiFontRender(font, text);
    wtPopMatrix();
}

// One axis's labels: the format remade for the axis range, each value
// formatted into a bounded buffer and measured.
struct Label
{
    char text[128];
    int width = 0;
    int height = 0;

    Label(void* font, const char* format, double v)
    {
        std::snprintf(text, sizeof text, format, v);
        vdiFontMetric(font, text, width, height);
    }
};

void yAxis(GRAPH_STRUCT& g, const Scale& y, double lo, double hi)
{
    if (g.tickYAuto != 0)
        VGraphGetAutoParaY(float(lo), float(hi), g.height, &g.tickYSpace, &g.tickYRef, &g.tickYSub);
    const double space = g.tickYSpace;
    double first = latticeStart(lo, space, g.tickYRef);
    if (first - space >= lo) // a major tick on the bottom edge
        first -= space;
    if (g.labelY != 0 || g.labelYR != 0)
        VGraphSetYLabel(&g, float(lo), float(hi));
    const bool labels = g.font != nullptr && (g.labelY != 0 || g.labelYR != 0);
    forLattice(first, hi, space, [&](double v) {
        wtPushMatrix();
        glTranslatef(0, y.at(v), 0);
        wtBegin(GL_LINES);
        if (g.tickY != 0) {
            glVertex2f(0, 0);
            glVertex2f(-majorTick, 0);
        }
        if (g.tickYR != 0) {
            glVertex2f(g.width, 0);
            glVertex2f(g.width + majorTick, 0);
        }
        wtEnd();
        if (labels) {
            const Label l(g.font, g.yLabelFormat, v);
            if (g.labelY != 0)
                drawLabel(g.font, l.text, -float(l.width) - labelGapY, -float(l.height) / 2);
            if (g.labelYR != 0)
                drawLabel(g.font, l.text, g.width + labelGapYR, -float(l.height) / 2);
        }
        wtPopMatrix();
    });
    if (!(g.tickYSub > 0))
        return;
    const double minor = space / g.tickYSub;
    wtBegin(GL_LINES);
    forLattice(latticeStart(lo, minor, g.tickYRef), hi, minor, [&](double v) {
        const float at = y.at(v);
        if (g.tickY != 0) {
            glVertex2f(0, at);
            glVertex2f(-minorTick, at);
        }
        if (g.tickYR != 0) {
            glVertex2f(g.width, at);
            glVertex2f(g.width + minorTick, at);
        }
    });
    wtEnd();
}

void xAxis(GRAPH_STRUCT& g, const Scale& x, double lo, double hi)
{
    if (g.tickXAuto != 0)
        VGraphGetAutoParaX(float(lo), float(hi), g.width, &g.tickXSpace, &g.tickXRef, &g.tickXSub);
    const double space = g.tickXSpace;
    double first = latticeStart(lo, space, g.tickXRef);
    if (first == lo) // no major tick on the left edge
        first += space;
    if (g.labelX != 0)
        VGraphSetXLabel(&g, float(lo), float(hi));
    const bool labels = g.font != nullptr && g.labelX != 0;
    forLattice(first, hi, space, [&](double v) {
        wtPushMatrix();
        glTranslatef(x.at(v), 0, 0);
        wtBegin(GL_LINES);
        glVertex2f(0, 0);
        glVertex2f(0, -majorTick);
        wtEnd();
        if (labels) {
            const Label l(g.font, g.xLabelFormat, v);
            drawLabel(g.font, l.text, -float(l.width) / 2, -float(l.height) - labelGapX);
        }
        wtPopMatrix();
    });
    if (!(g.tickXSub > 0))
        return;
    const double minor = space / g.tickXSub;
    wtBegin(GL_LINES);
    forLattice(latticeStart(lo, minor, g.tickXRef), hi, minor, [&](double v) {
        glVertex2f(x.at(v), 0);
        glVertex2f(x.at(v), -minorTick);
    });
    wtEnd();
}

void grid(GRAPH_STRUCT& g, const Scale& x, const Scale& y, double xlo, double xhi, double ylo, double yhi)
{
    int scratch = 0;
    if (g.gridY != 0 && y.usable) {
        if (g.gridYAuto != 0)
            VGraphGetAutoParaY(float(ylo), float(yhi), g.height, &g.gridYSpace, &g.gridYRef, &scratch);
        double first = latticeStart(ylo, g.gridYSpace, g.gridYRef);
        if (first == ylo) // no line on the bottom edge
            first += g.gridYSpace;
        wtBegin(GL_LINES);
        forLattice(first, yhi, g.gridYSpace, [&](double v) {
            glVertex2f(0, y.at(v));
            glVertex2f(g.width, y.at(v));
        });
        wtEnd();
    }
    if (g.gridX != 0 && x.usable) {
        if (g.gridXAuto != 0)
            VGraphGetAutoParaX(float(xlo), float(xhi), g.width, &g.gridXSpace, &g.gridXRef, &scratch);
        double first = latticeStart(xlo, g.gridXSpace, g.gridXRef);
        if (first == xlo) // no line on the left edge
            first += g.gridXSpace;
        wtBegin(GL_LINES);
        forLattice(first, xhi, g.gridXSpace, [&](double v) {
            glVertex2f(x.at(v), 0);
            glVertex2f(x.at(v), g.height);
        });
        wtEnd();
    }
}

void boxLoop(const GRAPH_STRUCT& g, unsigned int mode)
{
    wtBegin(mode);
    glVertex2f(0, 0);
    glVertex2f(g.width, 0);
    glVertex2f(g.width, g.height);
    glVertex2f(0, g.height);
    wtEnd();
}

// ---- Traces ----

// The window box of the graph while drawAllGraphValues draws its traces,
// and the scissor state it found, which the XY marker and the end of the
// traces set again.
struct TraceClip
{
    bool active = false;
    GLboolean outerEnabled = GL_FALSE;
    GLint outer[4] = {0, 0, 0, 0};
    GLint box[4] = {0, 0, 0, 0};
};
TraceClip traceClip;

void clipToBox()
{
    glScissor(traceClip.box[0], traceClip.box[1], traceClip.box[2], traceClip.box[3]);
    glEnable(GL_SCISSOR_TEST);
}

void clipAsBefore()
{
    glScissor(traceClip.outer[0], traceClip.outer[1], traceClip.outer[2], traceClip.outer[3]);
    if (traceClip.outerEnabled)
        glEnable(GL_SCISSOR_TEST);
    else
        glDisable(GL_SCISSOR_TEST);
}

// The window box of the graph's box on the current matrices (around its
// corners, so a mirrored projection gives no negative size), within the
// scissor box already set.
void findTraceBox(const GRAPH_STRUCT& g)
{
    wtPushMatrix();
    glTranslatef(-g.width / 2, -g.height / 2, 0);
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    wtPopMatrix();
    const double corners[3][2] = {{0, 0}, {g.width, 0}, {0, g.height}};
    double wx[3] = {0, 0, 0}, wy[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        GLdouble z = 0;
        gluProject(corners[i][0], corners[i][1], 0, model, projection, viewport, &wx[i], &wy[i], &z);
    }
    const double x0 = std::min(wx[0], wx[1]), x1 = std::max(wx[0], wx[1]);
    const double y0 = std::min(wy[0], wy[2]), y1 = std::max(wy[0], wy[2]);
    long bx = vdiPixelToInt(float(x0)), by = vdiPixelToInt(float(y0));
    long bw = vdiPixelToInt(float(x1 - x0)), bh = vdiPixelToInt(float(y1 - y0));
    traceClip.outerEnabled = glIsEnabled(GL_SCISSOR_TEST);
    glGetIntegerv(GL_SCISSOR_BOX, traceClip.outer);
    if (traceClip.outerEnabled) {
        const GLint* o = traceClip.outer;
        const long ox1 = std::min(bx + bw, long(o[0]) + o[2]), oy1 = std::min(by + bh, long(o[1]) + o[3]);
        bx = std::max<long>(bx, o[0]);
        by = std::max<long>(by, o[1]);
        bw = std::max(0L, ox1 - bx);
        bh = std::max(0L, oy1 - by);
    }
    traceClip.box[0] = GLint(bx);
    traceClip.box[1] = GLint(by);
    traceClip.box[2] = GLint(bw);
    traceClip.box[3] = GLint(bh);
}

// The entry of a threshold list for v: the last whose level lies strictly
// below v, the head when none does; null for an empty list.
const TH_STRUCT* pick(const TH_STRUCT* list, float v)
{
    const TH_STRUCT* picked = list;
    for (const TH_STRUCT* th = list; th != nullptr; th = th->next) // the list, once
        if (th->level < v)
            picked = th;
    return picked;
}

// The oldest displayed sample: count samples before the write index (the
// read index until the ring is full, the write index once it is).
int oldestIndex(const ACTION_RING& r)
{
    const int count = std::clamp(r.count, 0, r.capacity);
    const int w = r.writeIndex >= 0 && r.writeIndex < r.capacity ? r.writeIndex : 0;
    return (w - count + r.capacity) % r.capacity;
}

bool drawable(const ACTION_RING& r)
{
    return r.capacity > 0 && r.values != nullptr && r.secondValues != nullptr;
}

// One strip through count samples of the display ring from the oldest,
// sample i at (xOf(i, index), v sy + oy). Colour and width change where the
// trace crosses the level of the next threshold entry (its upper level when
// falling); the strip is restarted for a new width, since GL takes widths
// only between strips. A vertex on the same integer position as the last
// one drawn is left out.
template <typename XOf>
void strip(const GRAPH_STRUCT& g, const ACTION_STRUCT* a, int count, const Scale& y, XOf xOf)
{
    const ACTION_RING& r = a->display;
    const TH_STRUCT* colour = a->thColor.list;
    const TH_STRUCT* width = a->thWidth.list;
    if (colour != nullptr)
        vvColor4f(colour->r, colour->g, colour->b, 1);
    else
        vvColor4f(g.outlineColor[0], g.outlineColor[1], g.outlineColor[2], g.outlineColor[3]);
    wtLineWidth(width != nullptr ? width->intValue : 1);
    int lastX = 0, lastY = 0;
    float previous = 0, x0 = 0;
    const int start = oldestIndex(r);
    wtBegin(GL_LINE_STRIP);
    for (int i = 0; i < count; ++i) { // count is at most the ring's capacity
        const int index = (start + i) % r.capacity;
        const float v = r.values[index];
        const float x1 = xOf(i, index);
        const float y0 = y.at(previous), y1 = y.at(v);
        auto crossing = [&](const TH_STRUCT* th, float& xc, float& yc) {
            const float level = v > previous ? th->level : th->upperLevel;
            yc = y.at(level);
            xc = x1;
            getIpol(x0, y0, x1, y1, yc, &xc);
            return near(xc) && std::fabs(level) < farAway;
        };
        const TH_STRUCT* c = pick(a->thColor.list, v);
        if (c != nullptr && i == 0) {
            vvColor4f(c->r, c->g, c->b, 1);
        } else if (c != nullptr && c != colour) {
            float xc = 0, yc = 0;
            const bool crossed = crossing(c, xc, yc);
            if (crossed)
                glVertex2f(xc, yc);
            vvColor4f(c->r, c->g, c->b, 1);
            if (crossed) // the new colour starts on the crossing
                glVertex2f(xc, yc);
            if (near(x1) && near(y1))
                glVertex2f(x1, y1);
        }
        colour = c;
        const TH_STRUCT* w = pick(a->thWidth.list, v);
        if (w != nullptr && i == 0) {
            wtEnd();
            wtLineWidth(w->intValue);
            wtBegin(GL_LINE_STRIP);
        } else if (w != nullptr && w != width) {
            float xc = 0, yc = 0;
            const bool crossed = crossing(w, xc, yc);
            if (crossed)
                glVertex2f(xc, yc);
            wtEnd();
            wtLineWidth(w->intValue);
            wtBegin(GL_LINE_STRIP);
            if (crossed)
                glVertex2f(xc, yc);
            if (near(x1) && near(y1))
                glVertex2f(x1, y1);
        }
        width = w;
        if (near(x1) && near(y1)) {
            const int px = vdiPixelToInt(x1), py = vdiPixelToInt(y1);
            if (px != lastX || py != lastY) {
                glVertex2f(x1, y1);
                lastX = px;
                lastY = py;
            }
        }
        previous = v;
        x0 = x1;
    }
    wtEnd();
}

// Min and max of the first count values of each enabled graph action's
// display array (values or x values) from actions on; false when there is
// no finite value.
bool sampleRange(const ACTION_STRUCT* actions, bool second, double& lo, double& hi)
{
    bool found = false;
    for (const ACTION_STRUCT* a = actions; a != nullptr; a = a->next) { // the element's actions
        if (a->type != 6 || a->value == nullptr || a->disabled != 0 || !drawable(a->display))
            continue;
        if (second && a->secondValue == nullptr)
            continue;
        const float* values = second ? a->display.secondValues : a->display.values;
        const int count = std::clamp(a->display.count, 0, a->display.capacity);
        for (int i = 0; i < count; ++i) { // one ring
            const double v = values[i];
            if (!std::isfinite(v))
                continue;
            lo = found ? std::min(lo, v) : v;
            hi = found ? std::max(hi, v) : v;
            found = true;
        }
    }
    return found;
}

// The range lo..hi widened to the smallest spread, then either +-1 around
// equal bounds or a margin through the lags.
void autoRange(double lo, double hi, float spread, double margin, float dt, float& minOut, float& maxOut,
               float& lagMin, float& lagMax)
{
    const double least = double(spread) / 1.2;
    if (least > std::fabs(hi - lo)) {
        const double grow = (least - (hi - lo)) / 2;
        hi += grow;
        lo -= grow;
    }
    if (hi == lo) {
        minOut = float(lo - 1);
        maxOut = float(hi + 1);
        return;
    }
    const double m = margin * (hi - lo);
    minOut = pt1(float(lo - m), 0.2f, dt, &lagMin);
    maxOut = pt1(float(hi + m), 0.2f, dt, &lagMax);
}

// y range (x: the x range of an XY graph, from the second values, with a
// margin of 0.001 in place of 0.1), then the label formats of unfixed axes.
int autoscale(GRAPH_STRUCT* graph, ACTION_STRUCT* actions, float dt, bool x)
{
    if (graph == nullptr)
        return -1;
    GRAPH_STRUCT& g = *graph;
    double lo = 0, hi = 0;
    if (!sampleRange(actions, x, lo, hi))
        return 0;
    if (x)
        autoRange(lo, hi, g.minSpreadX, 0.001, dt, g.xmin, g.xmax, g.lagXMin, g.lagXMax);
    else
        autoRange(lo, hi, g.minSpreadY, 0.1, dt, g.ymin, g.ymax, g.lagYMin, g.lagYMax);
    if (g.labelFixX == 0)
        VGraphSetXLabel(&g, g.xmin, g.xmax);
    if (g.labelFixY == 0)
        VGraphSetYLabel(&g, g.ymin, g.ymax);
    return 0;
}

// The automatic spacing of both axes: about one interval per unitsPerLine
// of length, on steps of 1, 2, 5 or 10 times a power of ten (below is the
// step's mantissa bound: m below bound[k] takes step k).
template <typename Real>
int autoPara(float lo, float hi, float length, float* space, float* ref, int* sub, float unitsPerLine,
             const Real (&bound)[3], bool refIsSpace)
{
    if (space == nullptr || ref == nullptr || sub == nullptr)
        return -1;
    const float range = hi - lo;
    const float n = length / unitsPerLine;
    const float raw = n > 0 ? range / n : range;
    // Too short for one interval, or a range without extent.
    if (!(n > 0) || raw > range || raw == 0 || !std::isfinite(raw)) {
        *space = -1;
        *ref = 0;
        return 0;
    }
    const double e = std::log10(std::fabs(double(raw)));
    double p = 1, m = raw;
    if (e > 1) {
        p = std::pow(10.0, std::trunc(e));
        m = raw / p;
    } else if (e < 0) {
        p = std::pow(10.0, std::trunc(e - 1));
        m = raw / p;
    }
    static const int steps[4] = {1, 2, 5, 10};
    static const int subs[4] = {5, 4, 5, 5};
    int k = 3;
    for (int i = 0; i < 3; ++i) {
        if (Real(m) < bound[i]) {
            k = i;
            break;
        }
    }
    *space = float(steps[k] * p);
    *sub = subs[k];
    *ref = refIsSpace ? *space : 0.0f;
    return 0;
}

} // namespace

int VDrawGraph(GRAPH_STRUCT* graph, ATTR_STRUCT* block, int selected, DRAW_PARA_STRUCT*)
{
    if (graph == nullptr || block == nullptr)
        return -1;
    GRAPH_STRUCT& g = *graph;
    wtAliasBlend(0, 1.0f);
    updateXmax(g);
    const double xlo = g.labelFixX != 0 ? g.labelXMin : g.xmin, xhi = g.labelFixX != 0 ? g.labelXMax : g.xmax;
    const double ylo = g.labelFixY != 0 ? g.labelYMin : g.ymin, yhi = g.labelFixY != 0 ? g.labelYMax : g.ymax;
    const Scale x(xlo, xhi, g.width), y(ylo, yhi, g.height);

    wtPushMatrix();
    glTranslatef(-g.width / 2, -g.height / 2, 0);
    if (g.backgroundColor[3] > 0.1f) {
        vvColor4f(g.backgroundColor[0], g.backgroundColor[1], g.backgroundColor[2], g.backgroundColor[3]);
        boxLoop(g, GL_POLYGON);
    }
    wtLineWidth(1);
    wtLineStipple(g.gridStippleFactor, g.gridStipplePattern);
    vvColor4f(block->fillColor[0], block->fillColor[1], block->fillColor[2], block->fillColor[3]);
    grid(g, x, y, xlo, xhi, ylo, yhi);

    wtLineStipple(1, 0xFFFF);
    vvColor4f(block->lineColor[0], block->lineColor[1], block->lineColor[2], block->lineColor[3]);
    if ((g.tickY != 0 || g.tickYR != 0) && y.usable)
        yAxis(g, y, ylo, yhi);
    if (g.tickX != 0 && x.usable)
        xAxis(g, x, xlo, xhi);

    if (selected != 0 && block->running != 1) {
        wtLineStipple(1, 0xF0F0);
        wtLineWidth(1);
        vvColor4f(1, 0, 0, 1);
    } else {
        wtLineStipple(1, 0xFFFF);
        wtLineWidth(1);
    }
    boxLoop(g, GL_LINE_LOOP);
    wtPopMatrix();
    return 0;
}

int drawAllGraphValues(ELEMENT_STRUCT* element, GRAPH_STRUCT* graph)
{
    if (element == nullptr || graph == nullptr)
        return -1;
    GRAPH_STRUCT& g = *graph;
    if (g.autoscale != 0)
        graphAutoScale(&g, element->actions, 0.1f);
    if (g.type == 1 && g.autoscaleX != 0)
        graphAutoScaleX(&g, element->actions, 0.1f);
    findTraceBox(g);
    traceClip.active = true;
    clipToBox();
    for (ACTION_STRUCT* a = element->actions; a != nullptr; a = a->next) { // the element's actions
        if (a->type != 6 || a->value == nullptr || a->disabled != 0)
            continue;
        if (g.type == 0)
            drawGraphValue(&g, a);
        else
            drawGraphValueX(&g, a);
    }
    clipAsBefore();
    traceClip.active = false;
    return 0;
}

int drawGraphValue(GRAPH_STRUCT* graph, ACTION_STRUCT* action)
{
    if (graph == nullptr || action == nullptr)
        return -1;
    GRAPH_STRUCT& g = *graph;
    if (!drawable(action->display) || window(g) <= 0)
        return 0;
    updateXmax(g);
    const Scale x(g.xmin, g.xmax, g.width), y(g.ymin, g.ymax, g.height);
    if (!x.usable || !y.usable) // every vertex would be far away
        return 0;
    const double step = 1.0 / double(g.rate);
    wtPushMatrix();
    glTranslatef(-g.width / 2, -g.height / 2, 0);
    wtLineStipple(1, 0xFFFF);
    const int count = std::clamp(action->display.count, 0, action->display.capacity);
    strip(g, action, count, y, [&](int i, int) { return float(double(i) * step * x.s); });
    wtPopMatrix();
    return 0;
}

int drawGraphValueX(GRAPH_STRUCT* graph, ACTION_STRUCT* action)
{
    if (graph == nullptr || action == nullptr)
        return -1;
    GRAPH_STRUCT& g = *graph;
    const ACTION_RING& r = action->display;
    if (!drawable(r))
        return 0;
    const Scale x(g.xmin, g.xmax, g.width), y(g.ymin, g.ymax, g.height);
    if (!x.usable || !y.usable) // every vertex would be far away
        return 0;
    wtPushMatrix();
    glTranslatef(-g.width / 2, -g.height / 2, 0);
    wtLineStipple(1, 0xFFFF);
    const int count = std::clamp(r.count, 0, r.capacity);
    strip(g, action, count - 1, y, [&](int, int index) { return x.at(r.secondValues[index]); });
    wtPopMatrix();
    if (count < 1)
        return 0;

    // The cross on the newest sample, kept inside the box.
    const int newest = (r.writeIndex > 0 && r.writeIndex < r.capacity ? r.writeIndex : r.capacity) - 1;
    const float mx = x.at(r.secondValues[newest]), my = y.at(r.values[newest]);
    if (std::isnan(mx) || std::isnan(my))
        return 0;
    if (traceClip.active)
        clipAsBefore();
    wtLineWidth(2);
    wtAliasBlend(1, 1.0f);
    wtPushMatrix();
    glTranslatef(-g.width / 2, -g.height / 2, 0);
    glTranslatef(std::clamp(mx, 0.0f, g.width), std::clamp(my, 0.0f, g.height), 0);
    wtBegin(GL_LINES);
    glVertex2f(-markerArm, -markerArm);
    glVertex2f(markerArm, markerArm);
    glVertex2f(-markerArm, markerArm);
    glVertex2f(markerArm, -markerArm);
    wtEnd();
    wtPopMatrix();
    if (traceClip.active)
        clipToBox();
    return 0;
}

int graphAutoScale(GRAPH_STRUCT* graph, ACTION_STRUCT* actions, float dt)
{
    return autoscale(graph, actions, dt, false);
}

int graphAutoScaleX(GRAPH_STRUCT* graph, ACTION_STRUCT* actions, float dt)
{
    return autoscale(graph, actions, dt, true);
}

float pt1(float x, float T, float dt, float* state)
{
    if (state == nullptr)
        return x;
    dt = std::min(dt, 1.0f);
    const float span = T + dt;
    *state = span != 0.0f ? (x * dt + *state * T) / span : x;
    return *state;
}

int getIpol(float x0, float y0, float x1, float y1, float y, float* x)
{
    if (x == nullptr)
        return -1;
    *x = y1 != y0 ? x0 + (y - y0) * (x1 - x0) / (y1 - y0) : x1;
    return 0;
}

int VGraphGetAutoParaX(float lo, float hi, float length, float* space, float* ref, int* sub)
{
    static const double bound[3] = {1.1, 2.1, 5.1};
    return autoPara(lo, hi, length, space, ref, sub, 50, bound, true);
}

int VGraphGetAutoParaY(float lo, float hi, float length, float* space, float* ref, int* sub)
{
    // In single precision: a mantissa of exactly 1 is not below 1.
    static const float bound[3] = {1, 2, 5};
    return autoPara(lo, hi, length, space, ref, sub, 20, bound, false);
}
