// Builds the instrument page's two views element by element and writes them
// with the engine's view file writer (see InstrumentViews.h). The contents
// are tables: the quantities with their scales and threshold colours, and
// the pages with the dials, bars, trends and readouts they show.
#include "InstrumentViews.h"

#include "dorneActions.h"
#include "dorneDataSources.h"
#include "dorneElements.h"
#include "dorneFiles.h"
#include "dorneView.h"
#include "sartoLibrary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace KAVO {
namespace InstrumentViews {

const char* const InstrumentFile = "instruments.v";
const char* const FrameFile = "frame.v";

namespace {

// View units, y up. The instrument draws only on the glass; the frame only
// around it.
constexpr float ViewWidth = 800, ViewHeight = 480;
constexpr float GlassLeft = 80, GlassRight = 720, GlassBottom = 20, GlassTop = 460;
constexpr float Pi = 3.14159265358979f;

// The first threshold entry applies to every value below the next level.
constexpr float Below = -1e9f;

struct Rgb
{
    float r, g, b;
};

const Rgb White{0.92f, 0.93f, 0.95f};
const Rgb Grey{0.55f, 0.57f, 0.6f};
const Rgb Rule{0.25f, 0.27f, 0.3f};
const Rgb GlassColour{0.035f, 0.045f, 0.06f};
const Rgb DialFace{0.07f, 0.08f, 0.1f};
const Rgb Green{0.25f, 0.85f, 0.35f};
const Rgb Yellow{1.0f, 0.85f, 0.1f};
const Rgb Red{1.0f, 0.22f, 0.15f};
const Rgb Cyan{0.3f, 0.85f, 1.0f};
const Rgb Amber{1.0f, 0.7f, 0.15f};
const Rgb Highlight{0.12f, 0.35f, 0.55f};
const Rgb Bezel{0.17f, 0.17f, 0.18f};
const Rgb KeyFace{0.3f, 0.31f, 0.33f};
const Rgb KeyPressed{0.55f, 0.72f, 0.92f};
const Rgb KeyEdge{0.6f, 0.61f, 0.63f};
const Rgb KnobRing{0.24f, 0.24f, 0.26f};
const Rgb KnobCap{0.4f, 0.41f, 0.43f};
const Rgb SlotColour{0.04f, 0.04f, 0.05f};
const Rgb CardColour{0.85f, 0.75f, 0.3f};

// A colour from a level on: the value must lie above from.
struct Band
{
    float from;
    Rgb colour;
};

// One fed value: its scale, the format of its readout and its threshold
// colours (the default profile's limits in the displayed units).
struct Quantity
{
    const char* var;
    const char* label;
    const char* unit;
    float min, max;
    float tickStep;    // between major ticks
    float tickDivisor; // tick labels show value / divisor
    const char* format;
    std::vector<Band> bands;
};

const std::vector<Quantity>& quantities()
{
    static const std::vector<Quantity> table = {
        {"rpm", "RPM", "rpm", 0, 7000, 1000, 1000, "%.0f", {{Below, Green}, {5500, Yellow}, {5800, Red}}},
        {"egt1", "EGT 1", "C", 400, 1000, 100, 100, "%.0f", {{Below, Green}, {850, Yellow}, {880, Red}}},
        {"egt2", "EGT 2", "C", 400, 1000, 100, 100, "%.0f", {{Below, Green}, {850, Yellow}, {880, Red}}},
        {"coolant", "COOLANT", "C", 0, 150, 25, 1, "%.0f", {{Below, Green}, {105, Yellow}, {120, Red}}},
        {"oilPressure", "OIL PRESS", "bar", 0, 8, 1, 1, "%.1f",
         {{Below, Red}, {1.5f, Yellow}, {2.0f, Green}, {5.0f, Yellow}, {6.0f, Red}}},
        {"oilTemperature", "OIL TEMP", "C", -40, 160, 40, 1, "%.0f",
         {{Below, Yellow}, {50, Green}, {130, Yellow}, {140, Red}}},
        {"fuelFlow", "FUEL FLOW", "l/h", 0, 40, 10, 1, "%.1f", {{Below, Cyan}}},
        {"fuelLevel", "FUEL LEVEL", "l", 0, 80, 20, 1, "%.1f", {{Below, Red}, {10, Yellow}, {20, Green}}},
        {"altitude", "ALTITUDE", "m", 0, 3000, 500, 100, "%.0f", {{Below, Cyan}}},
        {"groundSpeed", "GND SPEED", "kt", 0, 150, 25, 1, "%.0f", {{Below, Cyan}}},
    };
    return table;
}

const Quantity& quantity(const std::string& var)
{
    for (const Quantity& q : quantities())
        if (var == q.var)
            return q;
    throw std::invalid_argument("no quantity " + var);
}

// Engine records come from the engine's create functions; a null one means
// memory ran out.
template <typename T>
T* need(T* made)
{
    if (made == nullptr)
        throw std::bad_alloc();
    return made;
}

// What one view file holds; everything made is linked at once, so the
// destructor frees it whatever happens.
class Draft
{
public:
    Draft()
    {
        config.width = ViewWidth;
        config.height = ViewHeight;
    }
    ~Draft()
    {
        elementDeleteAll(&elements);
        while (sources != nullptr)
            delDataType(&sources, sources, 1);
    }
    Draft(const Draft&) = delete;
    Draft& operator=(const Draft&) = delete;

    // A variable of the view's Internal Data source (made with the first).
    void variable(const char* name, int type)
    {
        if (internal == nullptr) {
            internal = need(createDataType(0));
            appendDataType(&sources, internal);
            internal->type = 5;
            std::snprintf(internal->name, sizeof internal->name, "%s", "Internal Data");
        }
        DD_VAR_STRUCT* v = need(createVariable(0));
        appendVariable(&internal->variables, v);
        v->type = type;
        std::snprintf(v->name, sizeof v->name, "%s", name);
    }

    // A new element of the kind at the end of the view's list or of group's.
    ELEMENT_STRUCT* element(int kind, const std::string& name, ELEMENT_STRUCT* group)
    {
        ELEMENT_STRUCT* e = need(elementCreate(kind));
        elementAppend(e, group != nullptr ? &group->children : &elements);
        e->parent = group;
        std::snprintf(e->name, sizeof e->name, "%s", name.c_str());
        std::snprintf(e->id, sizeof e->id, "%s-ID", name.c_str());
        return e;
    }

    bool save(const std::string& path, std::string& error)
    {
        numberActions(elements);
        if (saveFile(path.c_str(), elements, sources, &config) != 0) {
            error = "could not write view file <" + path + ">";
            return false;
        }
        return true;
    }

    CONFIG_STRUCT config{};
    ELEMENT_STRUCT* elements = nullptr;

private:
    // Each action's number is its place in its element (as the XML reader
    // numbers them), not the process-wide counter: the bytes stay the same
    // whatever was made before.
    static void numberActions(ELEMENT_STRUCT* list)
    {
        for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
            numberActions(e->children);
            int32_t n = 0;
            for (ACTION_STRUCT* a = e->actions; a != nullptr; a = a->next)
                a->id = n++;
        }
    }

    DD_DATA_TYPE_STRUCT* sources = nullptr;
    DD_DATA_TYPE_STRUCT* internal = nullptr;
};

// ---- Elements -------------------------------------------------------------

void setColour(float& r, float& g, float& b, float& a, const Rgb& c)
{
    r = c.r, g = c.g, b = c.b, a = 1.0f;
}

// Fill and outline of a rectangle or circle record; either may be null (none).
template <typename Shape>
void paint(Shape& shape, const Rgb* fill, const Rgb* line, float width)
{
    shape.fill = fill != nullptr ? 1 : 0;
    if (fill != nullptr)
        setColour(shape.fillR, shape.fillG, shape.fillB, shape.fillA, *fill);
    shape.outline = line != nullptr ? 1 : 0;
    if (line != nullptr)
        setColour(shape.lineR, shape.lineG, shape.lineB, shape.lineA, *line);
    shape.lineWidth = width;
    shape.lineStyle = 0;
    shape.pattern = 0;
    shape.antialias = 0;
}

// A rectangle from (x0, y0) to (x1, y1); fill and line may be null (none).
ELEMENT_STRUCT* rect(Draft& d, ELEMENT_STRUCT* group, const std::string& name, float x0, float y0, float x1,
                     float y1, const Rgb* fill, const Rgb* line = nullptr, float width = 1)
{
    ELEMENT_STRUCT* e = d.element(VD_RECTANGLE, name, group);
    auto* r = static_cast<RECT_STRUCT*>(e->data);
    const float xs[4] = {x0, x0, x1, x1}, ys[4] = {y0, y1, y1, y0};
    std::copy(xs, xs + 4, r->x);
    std::copy(ys, ys + 4, r->y);
    paint(*r, fill, line, width);
    return e;
}

ELEMENT_STRUCT* circle(Draft& d, ELEMENT_STRUCT* group, const std::string& name, float cx, float cy, float radius,
                       const Rgb* fill, const Rgb* line = nullptr, float width = 1)
{
    ELEMENT_STRUCT* e = d.element(VD_CIRCLE, name, group);
    auto* c = static_cast<CIRCLE_STRUCT*>(e->data);
    c->x = cx, c->y = cy;
    c->rx = c->ry = radius;
    c->matrix[0] = 1, c->matrix[1] = 0, c->matrix[2] = 0, c->matrix[3] = 1;
    c->start = 0, c->end = 2 * Pi;
    paint(*c, fill, line, width);
    return e;
}

// An arc between two angles in radians, clockwise from +x.
ELEMENT_STRUCT* arc(Draft& d, ELEMENT_STRUCT* group, const std::string& name, float cx, float cy, float radius,
                    float start, float end, const Rgb& colour, float width)
{
    ELEMENT_STRUCT* e = d.element(VD_ARC, name, group);
    auto* c = static_cast<CIRCLE_STRUCT*>(e->data);
    c->x = cx, c->y = cy;
    c->rx = c->ry = radius;
    c->matrix[0] = 1, c->matrix[1] = 0, c->matrix[2] = 0, c->matrix[3] = 1;
    c->start = start, c->end = end;
    c->fill = 0;
    c->outline = 1;
    setColour(c->lineR, c->lineG, c->lineB, c->lineA, colour);
    c->lineWidth = width;
    c->lineStyle = 0;
    c->pattern = 0;
    c->antialias = 0;
    return e;
}

ELEMENT_STRUCT* line(Draft& d, ELEMENT_STRUCT* group, const std::string& name, float x1, float y1, float x2,
                     float y2, const Rgb& colour, float width)
{
    ELEMENT_STRUCT* e = d.element(VD_LINE, name, group);
    auto* l = static_cast<LINE_STRUCT*>(e->data);
    l->x1 = x1, l->y1 = y1, l->x2 = x2, l->y2 = y2;
    setColour(l->lineR, l->lineG, l->lineB, l->lineA, colour);
    l->lineWidth = width;
    l->lineStyle = 0;
    l->antialias = 0;
    return e;
}

// Text alignments: centred on the anchor, or starting at it.
constexpr int Centred = 9;
constexpr int FromAnchor = 0;
constexpr int Regular = 1;
constexpr int Bold = 2;

ELEMENT_STRUCT* text(Draft& d, ELEMENT_STRUCT* group, const std::string& name, float x, float y,
                     const std::string& shown, int size, int style, int align, const Rgb& colour)
{
    ELEMENT_STRUCT* e = d.element(VD_TEXT, name, group);
    auto* t = static_cast<TEXT_STRUCT*>(e->data);
    t->x = x, t->y = y;
    std::snprintf(t->text, sizeof t->text, "%s", shown.c_str());
    std::snprintf(t->family, sizeof t->family, "%s", "Arial");
    t->style = style;
    t->size = size;
    t->displaySize = size;
    t->scalable = 1;
    t->align = align;
    t->matrix[0] = 1, t->matrix[1] = 0, t->matrix[2] = 0, t->matrix[3] = 1;
    t->color[0] = colour.r, t->color[1] = colour.g, t->color[2] = colour.b, t->color[3] = 1;
    return e;
}

// A scrolling time-axis graph with one trace of the quantity.
ELEMENT_STRUCT* graph(Draft& d, ELEMENT_STRUCT* group, const std::string& name, float x, float y, float w, float h,
                      const Quantity& q, float seconds);

// ---- Actions --------------------------------------------------------------

ACTION_STRUCT* action(ELEMENT_STRUCT* e, int type, const std::string& var)
{
    ACTION_STRUCT* a = need(createAction());
    appendAction(&e->actions, a);
    a->type = type;
    std::snprintf(a->var, sizeof a->var, "%s", var.c_str());
    return a;
}

// The variable's a0..a1 shown as b0..b1; limit clamps into b0..b1.
void mapRange(ACTION_STRUCT* a, float a0, float a1, float b0, float b1, bool limit)
{
    a->a0 = a0, a->a1 = a1, a->b0 = b0, a->b1 = b1;
    a->limit = limit ? 1 : 0;
    getAB(&a->offset, &a->slope, a0, b0, a1, b1);
}

void threshold(TH_BLOCK& block, float level, int32_t intValue, const Rgb& colour)
{
    TH_STRUCT* th = need(createTh());
    appendTh(&block.list, th);
    th->level = level;
    th->upperLevel = level;
    th->intValue = intValue;
    th->r = colour.r, th->g = colour.g, th->b = colour.b;
}

// Line (type 12) or fill colour (type 13) from the quantity's bands.
void colourBands(ELEMENT_STRUCT* e, int type, const Quantity& q)
{
    ACTION_STRUCT* a = action(e, type, q.var);
    mapRange(a, 0, 1, 0, 1, false);
    for (const Band& b : q.bands)
        threshold(a->thColor, b.from, 1, b.colour);
}

// A readout: the value printed with the quantity's format, in its colours.
void showValue(ELEMENT_STRUCT* e, const Quantity& q)
{
    ACTION_STRUCT* a = action(e, 0, q.var);
    mapRange(a, 0, 1, 0, 1, false);
    std::snprintf(a->format, sizeof a->format, "%s", q.format);
    colourBands(e, 12, q);
}

void showWhenEqual(ELEMENT_STRUCT* e, const char* var, int value)
{
    ACTION_STRUCT* a = action(e, 17, var);
    mapRange(a, 0, 1, 0, 1, false);
    a->visibleMode = 1;
    a->visibleValue = value;
}

void showWhenNonZero(ELEMENT_STRUCT* e, const char* var)
{
    ACTION_STRUCT* a = action(e, 17, var);
    mapRange(a, 0, 1, 0, 1, false);
    a->visibleMode = 0;
    threshold(a->thVisibility, Below, 1, White);
    threshold(a->thVisibility, -0.5f, 0, White);
    threshold(a->thVisibility, 0.5f, 1, White);
}

// Turns the element clockwise by the value mapped onto degrees, about the
// pivot (6: the middle of the box's bottom edge).
void turn(ELEMENT_STRUCT* e, const char* var, float a0, float a1, float deg0, float deg1, int pivot)
{
    ACTION_STRUCT* a = action(e, 5, var);
    mapRange(a, a0, a1, deg0, deg1, true);
    a->pivot = pivot;
}

// Scales the element's height from its bottom with the value's share of
// a0..a1.
void growUp(ELEMENT_STRUCT* e, const char* var, float a0, float a1)
{
    ACTION_STRUCT* a = action(e, 4, var);
    mapRange(a, a0, a1, 0, 1, true);
    a->pivot = 6;
}

// A left-button mouse action; the variable is offset + slope x the mouse
// value m (identity unless the caller maps it).
ACTION_STRUCT* mouse(ELEMENT_STRUCT* e, const char* var, int mouseAction, int mode, float inc, float min, float max,
                     bool clamp)
{
    ACTION_STRUCT* a = action(e, 22, var);
    mapRange(a, 0, 1, 0, 1, false);
    a->mouseButton = 0;
    a->mouseAction = mouseAction;
    a->mouseMode = mode;
    a->mouseInc = inc;
    a->mouseMin = min;
    a->mouseMax = max;
    a->mouseClamp = clamp ? 1 : 0;
    a->mouseHiddenActive = 1;
    return a;
}

ELEMENT_STRUCT* graph(Draft& d, ELEMENT_STRUCT* group, const std::string& name, float x, float y, float w, float h,
                      const Quantity& q, float seconds)
{
    ELEMENT_STRUCT* e = d.element(VD_GRAPH, name, group);
    auto* g = static_cast<GRAPH_STRUCT*>(e->data);
    const float rate = 5;
    g->type = 0;
    g->x = x, g->y = y, g->width = w, g->height = h;
    g->ymin = q.min, g->ymax = q.max;
    g->xmin = 0, g->xmax = seconds;
    g->rate = rate;
    g->samples = int32_t(seconds * rate);
    g->autoscale = 0;
    g->autoscaleX = 0;
    const Rgb colours[3] = {Grey, DialFace, Rule};
    float* targets[3] = {g->outlineColor, g->backgroundColor, g->gridColor};
    for (int k = 0; k < 3; ++k) {
        targets[k][0] = colours[k].r, targets[k][1] = colours[k].g, targets[k][2] = colours[k].b;
        targets[k][3] = 1;
    }
    g->gridXAuto = g->gridYAuto = 0;
    g->gridXSpace = seconds / 6, g->gridYSpace = q.tickStep;
    g->gridXRef = 0, g->gridYRef = q.min;
    g->tickXAuto = g->tickYAuto = 0;
    g->tickXSpace = seconds / 6, g->tickYSpace = q.tickStep;
    g->tickXRef = 0, g->tickYRef = q.min;
    std::snprintf(g->family, sizeof g->family, "%s", "Helvetica [fixed]");
    g->style = 1;
    g->size = 10;
    ACTION_STRUCT* trace = action(e, 6, q.var);
    mapRange(trace, 0, 1, 0, 1, false);
    for (const Band& b : q.bands)
        threshold(trace->thColor, b.from, 1, b.colour);
    threshold(trace->thWidth, Below, 2, White);
    return e;
}

// ---- Instrument widgets ---------------------------------------------------

// Dial angles: degrees clockwise from straight up, -135 at the scale's
// minimum to 135 at its maximum.
float dialAngle(const Quantity& q, float v)
{
    return -135.0f + 270.0f * (v - q.min) / (q.max - q.min);
}

// The same direction as an arc angle: radians clockwise from +x.
float arcAngle(float dialDegrees)
{
    return (dialDegrees - 90.0f) * Pi / 180.0f;
}

std::string tickText(float value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", double(value));
    return buffer;
}

// A round gauge: face, threshold bands along the rim, ticks with labels,
// name, readout and a needle turning about the centre.
void dial(Draft& d, ELEMENT_STRUCT* group, const std::string& prefix, const Quantity& q, float cx, float cy,
          float r)
{
    const std::string p = prefix + q.var + "_";
    circle(d, group, p + "FACE", cx, cy, r, &DialFace, &Grey, 2);
    for (size_t i = 0; i < q.bands.size(); ++i) {
        const float from = std::max(q.bands[i].from, q.min);
        const float to = i + 1 < q.bands.size() ? std::min(q.bands[i + 1].from, q.max) : q.max;
        if (to > from)
            arc(d, group, p + "BAND" + std::to_string(i), cx, cy, r - 7, arcAngle(dialAngle(q, from)),
                arcAngle(dialAngle(q, to)), q.bands[i].colour, 5);
    }
    const int ticks = int(std::lround((q.max - q.min) / q.tickStep));
    const int labelSize = r >= 150 ? 16 : 13;
    for (int k = 0; k <= ticks; ++k) {
        const float v = q.min + float(k) * q.tickStep;
        const float a = dialAngle(q, v) * Pi / 180.0f;
        const float sx = std::sin(a), sy = std::cos(a);
        line(d, group, p + "TICK" + std::to_string(k), cx + sx * (r - 22), cy + sy * (r - 22), cx + sx * (r - 11),
             cy + sy * (r - 11), White, 2);
        text(d, group, p + "TICKLABEL" + std::to_string(k), cx + sx * (r - 36), cy + sy * (r - 36),
             tickText(v / q.tickDivisor), labelSize, Regular, Centred, Grey);
    }
    text(d, group, p + "NAME", cx, cy + r * 0.38f, q.label, r >= 150 ? 18 : 14, Bold, Centred, White);
    if (q.tickDivisor != 1)
        text(d, group, p + "SCALE", cx, cy + r * 0.22f, "x" + tickText(q.tickDivisor), 12, Regular, Centred, Grey);
    showValue(text(d, group, p + "VALUE", cx, cy - r * 0.5f, "00000", r >= 150 ? 30 : 22, Bold, Centred, White), q);
    text(d, group, p + "UNIT", cx, cy - r * 0.72f, q.unit, 13, Regular, Centred, Grey);
    ELEMENT_STRUCT* needle = line(d, group, p + "NEEDLE", cx, cy, cx, cy + r - 16, White, 3);
    turn(needle, q.var, q.min, q.max, -135, 135, 6);
    circle(d, group, p + "HUB", cx, cy, 7, &Grey);
}

// A vertical bar from (x, y), w x h, that grows with the value, coloured by
// its thresholds, with level marks, scale ends, name and readout.
void bar(Draft& d, ELEMENT_STRUCT* group, const std::string& prefix, const Quantity& q, float x, float y, float w,
         float h)
{
    const std::string p = prefix + q.var + "_";
    rect(d, group, p + "TRACK", x, y, x + w, y + h, &DialFace, &Grey, 1);
    ELEMENT_STRUCT* fill = rect(d, group, p + "BAR", x + 4, y, x + w - 4, y + h, &Green);
    growUp(fill, q.var, q.min, q.max);
    colourBands(fill, 13, q);
    for (size_t i = 1; i < q.bands.size(); ++i) {
        const float level = q.bands[i].from;
        if (level <= q.min || level >= q.max)
            continue;
        const float ly = y + h * (level - q.min) / (q.max - q.min);
        line(d, group, p + "MARK" + std::to_string(i), x - 6, ly, x, ly, q.bands[i].colour, 3);
    }
    text(d, group, p + "MIN", x - 24, y, tickText(q.min), 12, Regular, Centred, Grey);
    text(d, group, p + "MAX", x - 24, y + h, tickText(q.max), 12, Regular, Centred, Grey);
    text(d, group, p + "NAME", x + w / 2, y + h + 18, q.label, 15, Bold, Centred, White);
    showValue(text(d, group, p + "VALUE", x + w / 2, y - 22, "00000", 22, Bold, Centred, White), q);
    text(d, group, p + "UNIT", x + w / 2, y - 44, q.unit, 13, Regular, Centred, Grey);
}

// A strip chart of the quantity over the last seconds, with its readout.
void trend(Draft& d, ELEMENT_STRUCT* group, const std::string& prefix, const Quantity& q, float x, float y, float w,
           float h)
{
    const std::string p = prefix + q.var + "_";
    graph(d, group, p + "GRAPH", x, y, w, h, q, 60);
    text(d, group, p + "NAME", x, y + h + 14, std::string(q.label) + " (" + q.unit + "), 60 s", 14, Bold,
         FromAnchor, White);
    showValue(text(d, group, p + "VALUE", x + w - 50, y + h + 20, "00000", 20, Bold, Centred, White), q);
}

// Rows of name, value and unit, the first row at y.
void readouts(Draft& d, ELEMENT_STRUCT* group, const std::string& prefix, const std::vector<const char*>& vars,
              float x, float y, float rowHeight)
{
    for (size_t i = 0; i < vars.size(); ++i) {
        const Quantity& q = quantity(vars[i]);
        const std::string p = prefix + q.var + "_ROW";
        const float ry = y - float(i) * rowHeight;
        text(d, group, p + "NAME", x, ry - 6, q.label, 15, Regular, FromAnchor, Grey);
        showValue(text(d, group, p + "VALUE", x + 145, ry, "00000", 20, Bold, Centred, White), q);
        text(d, group, p + "UNIT", x + 195, ry - 6, q.unit, 13, Regular, FromAnchor, Grey);
    }
}

// Two options, one per row from (x, y) down; the highlight follows the
// selection variable (0: the first, 1: the second).
void options(Draft& d, ELEMENT_STRUCT* group, const std::string& prefix, const char* select,
             const std::vector<const char*>& names, float x, float y, float w, float h)
{
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string p = prefix + "OPTION" + std::to_string(i);
        const float top = y - float(i) * (h + 20);
        showWhenEqual(rect(d, group, p + "_SELECTED", x, top - h, x + w, top, &Highlight), select, int(i));
        rect(d, group, p + "_FRAME", x, top - h, x + w, top, nullptr, &Grey, 2);
        text(d, group, p + "_TEXT", x + w / 2, top - h / 2, names[i], 20, Bold, Centred, White);
    }
}

// ---- The pages ------------------------------------------------------------

enum class Kind
{
    Dial,     // vars[0]; centre x, y; radius w
    Bar,      // vars[0]; lower-left x, y; w x h
    Trend,    // vars[0]; lower-left x, y; w x h
    Readouts, // vars; first row's left x and y; row height h
    Options   // vars[0] the selection, vars[1], vars[2] the options; top-left x, y; row w x h
};

struct Widget
{
    Kind kind;
    std::vector<const char*> vars;
    float x, y, w, h;
};

struct Page
{
    const char* title;
    const char* ring;    // position in its ring of pages, or empty
    const char* keys[3]; // what LSK1, LSK2 and LSK3 do here
    std::vector<Widget> widgets;
};

// Every quantity's variable, in table order.
std::vector<const char*> allVars()
{
    std::vector<const char*> vars;
    for (const Quantity& q : quantities())
        vars.push_back(q.var);
    return vars;
}

const std::vector<Page>& pages()
{
    static const std::vector<Page> table = {
        {"OVERVIEW",
         "",
         {"ENGINE", "FLIGHT", "SETUP"},
         {{Kind::Dial, {"rpm"}, 245, 245, 140, 0},
          {Kind::Readouts, allVars(), 420, 390, 0, 35}}},
        {"ENGINE SPEED", "ENGINE 1/6", {"NEXT", "", ""}, {{Kind::Dial, {"rpm"}, 400, 235, 170, 0}}},
        {"EXHAUST GAS TEMPERATURE",
         "ENGINE 2/6",
         {"NEXT", "PREV", ""},
         {{Kind::Bar, {"egt1"}, 280, 110, 60, 260}, {Kind::Bar, {"egt2"}, 460, 110, 60, 260}}},
        {"OIL",
         "ENGINE 3/6",
         {"NEXT", "PREV", ""},
         {{Kind::Dial, {"oilPressure"}, 255, 235, 125, 0}, {Kind::Dial, {"oilTemperature"}, 520, 235, 125, 0}}},
        {"COOLANT", "ENGINE 4/6", {"NEXT", "PREV", ""}, {{Kind::Dial, {"coolant"}, 400, 235, 170, 0}}},
        {"FUEL SYSTEM",
         "ENGINE 5/6",
         {"NEXT", "PREV", ""},
         {{Kind::Bar, {"fuelFlow"}, 280, 110, 60, 260}, {Kind::Bar, {"fuelLevel"}, 460, 110, 60, 260}}},
        {"ENGINE SPEED TREND", "ENGINE 6/6", {"", "PREV", ""}, {{Kind::Trend, {"rpm"}, 165, 90, 480, 290}}},
        {"ALTITUDE", "FLIGHT 1/6", {"NEXT", "", ""}, {{Kind::Dial, {"altitude"}, 400, 235, 170, 0}}},
        {"GROUND SPEED", "FLIGHT 2/6", {"NEXT", "PREV", ""}, {{Kind::Dial, {"groundSpeed"}, 400, 235, 170, 0}}},
        {"FUEL FLOW", "FLIGHT 3/6", {"NEXT", "PREV", ""}, {{Kind::Dial, {"fuelFlow"}, 400, 235, 170, 0}}},
        {"FUEL LEVEL",
         "FLIGHT 4/6",
         {"NEXT", "PREV", ""},
         {{Kind::Bar, {"fuelLevel"}, 300, 110, 60, 260}, {Kind::Readouts, {"fuelFlow", "fuelLevel"}, 420, 260, 0, 40}}},
        {"ALTITUDE TREND", "FLIGHT 5/6", {"NEXT", "PREV", ""}, {{Kind::Trend, {"altitude"}, 165, 90, 480, 290}}},
        {"FLIGHT DATA",
         "FLIGHT 6/6",
         {"", "PREV", ""},
         {{Kind::Readouts, {"altitude", "groundSpeed", "fuelFlow", "fuelLevel"}, 270, 340, 0, 60}}},
        {"CONFIGURATION",
         "",
         {"EXTENDED", "STANDARD", "UNITS"},
         {{Kind::Options, {"CONFIG_SELECT", "STANDARD", "EXTENDED"}, 250, 340, 300, 60}}},
        {"UNITS",
         "",
         {"IMPERIAL", "METRIC", "SETUP"},
         {{Kind::Options, {"UNIT_SELECT", "METRIC", "IMPERIAL"}, 250, 340, 300, 60}}},
    };
    return table;
}

// Heights of the line-select keys beside the glass, top to bottom.
const float KeyY[3] = {380, 240, 100};

void widget(Draft& d, ELEMENT_STRUCT* group, const std::string& prefix, const Widget& w)
{
    switch (w.kind) {
    case Kind::Dial:
        dial(d, group, prefix, quantity(w.vars[0]), w.x, w.y, w.w);
        break;
    case Kind::Bar:
        bar(d, group, prefix, quantity(w.vars[0]), w.x, w.y, w.w, w.h);
        break;
    case Kind::Trend:
        trend(d, group, prefix, quantity(w.vars[0]), w.x, w.y, w.w, w.h);
        break;
    case Kind::Readouts:
        readouts(d, group, prefix, w.vars, w.x, w.y, w.h);
        break;
    case Kind::Options:
        options(d, group, prefix, w.vars[0], {w.vars[1], w.vars[2]}, w.x, w.y, w.w, w.h);
        break;
    }
}

void buildInstrument(Draft& d)
{
    for (const Quantity& q : quantities())
        d.variable(q.var, DD_DOUBLE);
    for (const char* name : {"PAGE", "CONFIG_SELECT", "UNIT_SELECT", "CARD"})
        d.variable(name, DD_INT);

    rect(d, nullptr, "GLASS", GlassLeft, GlassBottom, GlassRight, GlassTop, &GlassColour);
    text(d, nullptr, "HOME_LEGEND", 114, KeyY[2], "HOME", 12, Bold, Centred, Grey);

    const std::vector<Page>& all = pages();
    for (size_t n = 0; n < all.size(); ++n) {
        const Page& page = all[n];
        char prefix[8];
        std::snprintf(prefix, sizeof prefix, "P%02d_", int(n));
        ELEMENT_STRUCT* group = d.element(VD_GROUP, std::string("PAGE") + std::to_string(n), nullptr);
        showWhenEqual(group, "PAGE", int(n));
        text(d, group, std::string(prefix) + "TITLE", 400, 438, page.title, 20, Bold, Centred, White);
        line(d, group, std::string(prefix) + "RULE", 100, 420, 700, 420, Rule, 1);
        if (page.ring[0] != '\0')
            text(d, group, std::string(prefix) + "RING", 400, 34, page.ring, 12, Regular, Centred, Grey);
        for (int k = 0; k < 3; ++k)
            if (page.keys[k][0] != '\0')
                text(d, group, std::string(prefix) + "KEY" + std::to_string(k + 1), 680, KeyY[k], page.keys[k], 12,
                     Bold, Centred, Cyan);
        for (const Widget& w : page.widgets)
            widget(d, group, prefix, w);
    }

    // Shown while a card sits in the frame's slot.
    ELEMENT_STRUCT* card = d.element(VD_GROUP, "CARD_INDICATOR", nullptr);
    showWhenNonZero(card, "CARD");
    rect(d, card, "CARD_INDICATOR_BOX", 96, 428, 156, 452, &Amber);
    text(d, card, "CARD_INDICATOR_TEXT", 126, 440, "CARD", 12, Bold, Centred, GlassColour);
}

// ---- The frame ------------------------------------------------------------

// The variable is 1 from a left press on the element to the release, so a
// later press never reads an old key.
void pushButton(ELEMENT_STRUCT* e, const char* var)
{
    mouse(e, var, 0, 0, 1, 0, 1, true);
    mouse(e, var, 1, 0, 0, 0, 1, true);
}

// The fill turns light while the variable is 1.
void litWhilePressed(ELEMENT_STRUCT* e, const char* var, const Rgb& normal)
{
    ACTION_STRUCT* a = action(e, 13, var);
    mapRange(a, 0, 1, 0, 1, false);
    threshold(a->thColor, Below, 1, normal);
    threshold(a->thColor, 0.5f, 1, KeyPressed);
}

void buildFrame(Draft& d)
{
    for (const char* name : {"LSK1", "LSK2", "LSK3", "LSK_POTI", "CARD"})
        d.variable(name, DD_INT);
    d.variable("POTI", DD_DOUBLE);

    // The bezel: four strips around the glass, never over it.
    rect(d, nullptr, "BEZEL_LEFT", 0, 0, GlassLeft, ViewHeight, &Bezel);
    rect(d, nullptr, "BEZEL_RIGHT", GlassRight, 0, ViewWidth, ViewHeight, &Bezel);
    rect(d, nullptr, "BEZEL_BOTTOM", GlassLeft, 0, GlassRight, GlassBottom, &Bezel);
    rect(d, nullptr, "BEZEL_TOP", GlassLeft, GlassTop, GlassRight, ViewHeight, &Bezel);

    // Line-select keys: face (lit while pressed), label, then the key itself
    // on top (an outline that takes the mouse): a press sets the key's
    // variable to 1 and the release back to 0.
    const float keyX = 760, half = 28;
    for (int k = 0; k < 3; ++k) {
        const std::string name = "LSK" + std::to_string(k + 1);
        const float y = KeyY[k];
        ELEMENT_STRUCT* face = rect(d, nullptr, name + "_FACE", keyX - half, y - half, keyX + half, y + half, &KeyFace);
        litWhilePressed(face, name.c_str(), KeyFace);
        text(d, nullptr, name + "_LABEL", keyX, y, name, 13, Bold, Centred, White);
        pushButton(rect(d, nullptr, name, keyX - half, y - half, keyX + half, y + half, nullptr, &KeyEdge, 2),
                   name.c_str());
    }

    // The dimmer knob: dragging the ring up or down moves "POTI" by 500 per
    // knob height (68 units: the move spans 2 of the mouse value, so
    // POTI = 250 m); the cap above it is a push button.
    const float knobX = 40, knobY = 100;
    text(d, nullptr, "KNOB_LABEL", knobX, knobY + 50, "DIM", 12, Bold, Centred, Grey);
    ELEMENT_STRUCT* ring = circle(d, nullptr, "KNOB", knobX, knobY, 34, &KnobRing, &KeyEdge, 2);
    ACTION_STRUCT* drag = mouse(ring, "POTI", 3, 1, 1, -1000, 1000, true);
    mapRange(drag, 0, 1, 0, 250, false);
    ELEMENT_STRUCT* cap = circle(d, nullptr, "KNOB_PUSH", knobX, knobY, 12, &KnobCap, &KeyEdge, 1);
    litWhilePressed(cap, "LSK_POTI", KnobCap);
    pushButton(cap, "LSK_POTI");

    // The card slot: each press puts a card in or takes it out ("CARD"
    // steps 0, 1, 0, ...); the card shows in the slot while it is in.
    const float slotX = 40, slotY = 380;
    text(d, nullptr, "CARD_LABEL", slotX, slotY + 56, "CARD", 12, Bold, Centred, Grey);
    rect(d, nullptr, "CARD_SLOT_OPENING", slotX - 25, slotY - 40, slotX + 25, slotY + 40, &SlotColour);
    showWhenNonZero(rect(d, nullptr, "CARD_IN_SLOT", slotX - 19, slotY - 34, slotX + 19, slotY + 34, &CardColour),
                    "CARD");
    ELEMENT_STRUCT* slot =
        rect(d, nullptr, "CARD_SLOT", slotX - 25, slotY - 40, slotX + 25, slotY + 40, nullptr, &KeyEdge, 2);
    mouse(slot, "CARD", 0, 1, 1, 0, 1, false);
}

template <typename Build>
bool writeView(const std::string& path, std::string& error, Build build)
{
    // A graph record makes its label font at once; the generator neither
    // draws nor measures, so the font library (not started here) has no
    // reason to report that it cannot make it.
    struct Quiet
    {
        int level = ftGetDebugLevel();
        Quiet() { ftSetDebugLevel(0); }
        ~Quiet() { ftSetDebugLevel(level); }
    } quiet;
    try {
        Draft draft;
        build(draft);
        return draft.save(path, error);
    } catch (const std::bad_alloc&) {
        error = "out of memory building <" + path + ">";
    } catch (const std::exception& e) {
        error = "cannot build <" + path + ">: " + e.what();
    }
    return false;
}

} // namespace

bool writeInstrumentView(const std::string& path, std::string& error)
{
    return writeView(path, error, buildInstrument);
}

bool writeFrameView(const std::string& path, std::string& error)
{
    return writeView(path, error, buildFrame);
}

bool writeAll(const std::string& folder, std::string& error)
{
    return writeInstrumentView(folder + "/" + InstrumentFile, error) &&
           writeFrameView(folder + "/" + FrameFile, error);
}

} // namespace InstrumentViews
} // namespace KAVO
