// The element records of the XML view file: the frame every kind shares
// (keyword, "name", group offsets, update, actions), the group, the line,
// the polygons, the read-only "path", the ellipse and the rectangle-like
// kinds; the graph, text and button bodies are in XmlGraph.cpp and
// XmlText.cpp.
#include "xml/XmlElements.h"

#include "xml/Path.h"

#include "dorneFiles.h"
#include "dorneGl.h"
#include "dorneLog.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace dorne {

XmlFactory xmlFactory = {elementCreate, createAction, createTh, createCoord, loadTextureFromData};

void ElementSink::add(ELEMENT_STRUCT* element)
{
    linkBehind(head, last, element);
    element->parent = parent;
}

// ---- Shared helpers -------------------------------------------------------------

void copyName(char* field, const std::string& text)
{
    size_t n = text.size() < 63 ? text.size() : 63;
    if (n < text.size())
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

std::string fieldText(const char* field, size_t size)
{
    return std::string(field, strnlen(field, size));
}

ELEMENT_STRUCT* createRecordElement(XmlElement& node, int kind, ElementSink& sink)
{
    ELEMENT_STRUCT* e = xmlFactory.element(kind);
    if (e == nullptr) {
        logMsg(1, "loadFileXml: out of memory for a \"%s\" record\n", node.name().c_str());
        return nullptr;
    }
    sink.add(e);
    copyName(e->name, node.getAttributeString("name"));
    return e;
}

namespace {

// Runs the element's update hook; false, logged, when memory for its grab
// handles ran out.
bool updateRecord(const XmlElement& node, ELEMENT_STRUCT* e)
{
    if (e->update == nullptr || e->update(e) == 0)
        return true;
    logMsg(1, "loadFileXml: out of memory for the handles of a \"%s\" record\n", node.name().c_str());
    return false;
}

} // namespace

bool finishRecord(XmlElement& node, ELEMENT_STRUCT* e, XmlReadState& state)
{
    return updateRecord(node, e) && actionLoadXml(node, &e->actions, state.definitions);
}

void appendRecord(XmlElement& record, XmlElement* parent, const ELEMENT_STRUCT* e)
{
    parent->appendElement(record);
    actionSaveXml(e->actions, &record);
}

Color colorOf(float r, float g, float b, float a)
{
    return Color(r, g, b, a);
}

void setColor(const Color& color, float* rgba)
{
    rgba[0] = color.r();
    rgba[1] = color.g();
    rgba[2] = color.b();
    rgba[3] = color.a();
}

Matrix2<double> matrixOf(const float* m)
{
    Matrix2<double> matrix;
    matrix.set(0, 0, m[0]);
    matrix.set(0, 1, m[1]);
    matrix.set(1, 0, m[2]);
    matrix.set(1, 1, m[3]);
    return matrix;
}

void readMatrix(XmlElement& record, float* m)
{
    const Matrix2<double> matrix = record.getAttributeMatrix("matrix");
    m[0] = checkedFloat(matrix.get(0, 0));
    m[1] = checkedFloat(matrix.get(0, 1));
    m[2] = checkedFloat(matrix.get(1, 0));
    m[3] = checkedFloat(matrix.get(1, 1));
}

int fontStyle(const VFont& font)
{
    if (font.bold && font.italic)
        return 8;
    return font.bold ? 2 : font.italic ? 4 : 1;
}

namespace {

// One column of a matrix after normalize: its factor gives the edge length;
// a zero or unusable factor (an edge of length 0, or one too short or long
// for single precision) falls back to the length in double precision, and
// an edge of length 0 is length 1 with a zero column.
double columnLength(Matrix2<double>& a, int column, double factor, double x, double y)
{
    if (std::isfinite(factor) && factor > 0.0 && std::isfinite(1.0 / factor)) {
        if (x == 0.0 && y == 0.0)
            return 1.0; // normalize left the zero column
        return 1.0 / factor;
    }
    const double length = std::hypot(x, y);
    if (!(length > 0.0) || !std::isfinite(length)) {
        a.set(0, column, 0.0);
        a.set(1, column, 0.0);
        return 1.0;
    }
    a.set(0, column, x / length);
    a.set(1, column, y / length);
    return length;
}

} // namespace

void writeCorners(XmlElement& record, const float* cornerX, const float* cornerY, const XmlWriteState& state)
{
    double px[4], py[4];
    for (int k = 0; k < 4; ++k) {
        px[k] = double(cornerX[k]) - state.wx;
        py[k] = double(cornerY[k]) - state.wy;
    }
    // The corner that completes the parallelogram on corners 1, 2 and 3.
    const double ox = px[1] - px[2] + px[3], oy = py[1] - py[2] + py[3];
    const double c0x = px[2] - px[1], c0y = py[2] - py[1];
    const double c1x = px[2] - px[3], c1y = py[2] - py[3];
    Matrix2<double> a;
    a.set(0, 0, c0x);
    a.set(1, 0, c0y);
    a.set(0, 1, c1x);
    a.set(1, 1, c1y);
    double s0 = 1.0, s1 = 1.0;
    a.normalize(&s0, &s1);
    const double width = columnLength(a, 0, s0, c0x, c0y);
    const double height = columnLength(a, 1, s1, c1x, c1y);
    const Vector2<double> centre = a * Vector2<double>(width / 2, height / 2);
    record.setAttributeDouble("x", centre.x() + ox);
    record.setAttributeDouble("y", centre.y() + oy);
    record.setAttributeDouble("width", width);
    record.setAttributeDouble("height", height);
    record.setAttributeMatrix("matrix", a);
}

void readCorners(XmlElement& record, float* cornerX, float* cornerY, const XmlReadState& state)
{
    const Matrix2<double> m = record.getAttributeMatrix("matrix");
    const double qx = record.getAttributeDouble("x") + state.wx;
    const double qy = record.getAttributeDouble("y") + state.wy;
    const double w = record.getAttributeDouble("width"), h = record.getAttributeDouble("height");
    record.getAttributeDouble("rx"); // read and ignored
    record.getAttributeDouble("ry");
    const double vx[4] = {-w / 2, -w / 2, w / 2, w / 2};
    const double vy[4] = {-h / 2, h / 2, h / 2, -h / 2};
    for (int k = 0; k < 4; ++k) {
        const Vector2<double> p = m * Vector2<double>(vx[k], vy[k]);
        cornerX[k] = checkedFloat(p.x() + qx);
        cornerY[k] = checkedFloat(p.y() + qy);
    }
}

namespace {

// ---- Shared attribute sets ---------------------------------------------------------

// The outline and fill fields every shape kind has.
struct Style
{
    int32_t* outline;  // null: the kind has no outline switch
    float* lineWidth;
    int32_t* lineStyle;
    float* line;       // RGBA, four separate floats in the record
    int32_t* fill;     // null: no fill switch
    int32_t* pattern;
    float* fillColor;
    int32_t* antialias;
    int32_t* strokeStyle;
    int32_t* stippleFactor;
    uint16_t* stipplePattern;
    int32_t* fillStyle;
    uint8_t* patternBits;
};

Style styleOf(ELEMENT_STRUCT* e)
{
    switch (e->kind) {
    case VD_RECTANGLE: {
        auto* s = static_cast<RECT_STRUCT*>(e->data);
        return {&s->outline, &s->lineWidth, &s->lineStyle, &s->lineR, &s->fill, &s->pattern, &s->fillR,
                &s->antialias, &s->strokeStyle, &s->stippleFactor, &s->stipplePattern, &s->fillStyle, s->patternBits};
    }
    case VD_POLYGON:
    case VD_CPOLYGON: {
        auto* s = static_cast<POLY_STRUCT*>(e->data);
        return {&s->outline, &s->lineWidth, &s->lineStyle, &s->lineR, &s->fill, &s->pattern, &s->fillR,
                &s->antialias, &s->strokeStyle, &s->stippleFactor, &s->stipplePattern, &s->fillStyle, s->patternBits};
    }
    default: { // CIRCLE, ARC
        auto* s = static_cast<CIRCLE_STRUCT*>(e->data);
        return {&s->outline, &s->lineWidth, &s->lineStyle, &s->lineR, &s->fill, &s->pattern, &s->fillR,
                &s->antialias, &s->strokeStyle, &s->stippleFactor, &s->stipplePattern, &s->fillStyle, s->patternBits};
    }
    }
}

Color lineColor(const Style& s, bool noneWhenOff)
{
    Color c(s.line[0], s.line[1], s.line[2], s.line[3]);
    c.setNone(noneWhenOff && *s.outline == 0);
    return c;
}

Color fillColor(const Style& s)
{
    Color c(s.fillColor[0], s.fillColor[1], s.fillColor[2], s.fillColor[3]);
    c.setNone(*s.fill == 0);
    return c;
}

void writeStroke(XmlElement& r, const Style& s, bool noneWhenOff)
{
    r.setAttributeColor("stroke", lineColor(s, noneWhenOff));
    r.setAttributeDouble("stroke-width", *s.lineWidth);
    r.setAttributeInt("stroke-style", *s.strokeStyle);
    r.setAttributeBool("stroke-antialias", *s.antialias != 0);
}

void writeFill(XmlElement& r, const Style& s)
{
    r.setAttributeColor("fill", fillColor(s));
    r.setAttributeInt("fill-style", *s.fillStyle);
}

// switchToo: "none" turns the outline off, another colour on.
void readStroke(XmlElement& r, const Style& s, bool switchToo, const XmlReadState& state)
{
    const Color c = r.getAttributeColor("stroke");
    setColor(c, s.line);
    if (switchToo)
        *s.outline = c.none() ? 0 : 1;
    *s.lineWidth = checkedFloat(r.getAttributeDouble("stroke-width"));
    *s.strokeStyle = r.getAttributeInt("stroke-style");
    int factor = 0, style = 0;
    unsigned short pattern = 0;
    state.definitions.calcStroke(*s.strokeStyle, &factor, &pattern, &style);
    *s.stippleFactor = factor;
    *s.stipplePattern = pattern;
    *s.lineStyle = style;
    *s.antialias = r.getAttributeBool("stroke-antialias") ? 1 : 0;
}

void readFill(XmlElement& r, const Style& s, bool fillOn, const XmlReadState& state)
{
    setColor(r.getAttributeColor("fill"), s.fillColor);
    *s.fill = fillOn ? 1 : 0;
    *s.fillStyle = r.getAttributeInt("fill-style");
    int style = 0;
    state.definitions.calcFill(*s.fillStyle, s.patternBits, &style);
    *s.pattern = style;
}

// ---- Polygons ---------------------------------------------------------------------

std::string pointsText(const POLY_STRUCT& p, const XmlWriteState& state)
{
    std::ostringstream out;
    bool first = true;
    for (const COORD_STRUCT* c = p.coords; c != nullptr; c = c->next) {
        if (!first)
            out << ' ';
        first = false;
        out << double(c->x) - state.wx << ' ' << double(c->y) - state.wy;
    }
    return out.str();
}

bool addVertex(POLY_STRUCT& p, COORD_STRUCT*& last, uint32_t id, double x, double y)
{
    COORD_STRUCT* c = xmlFactory.coord();
    if (c == nullptr) {
        logMsg(1, "loadFileXml: out of memory for a vertex\n");
        return false;
    }
    linkBehind(&p.coords, last, c);
    c->id = id;
    c->x = checkedFloat(x);
    c->y = checkedFloat(y);
    return true;
}

// The pairs of the "points" text; the first item that is no number ends it.
bool readPoints(const std::string& text, POLY_STRUCT& p, const XmlReadState& state)
{
    std::istringstream in(text);
    COORD_STRUCT* last = nullptr;
    uint32_t id = 0;
    double x, y;
    while (in >> x >> y)
        if (!addVertex(p, last, id++, x + state.wx, y + state.wy))
            return false;
    return true;
}

ELEMENT_STRUCT* readPolygon(XmlElement& r, int kind, ElementSink& sink, XmlReadState& state)
{
    ELEMENT_STRUCT* e = createRecordElement(r, kind, sink);
    if (e == nullptr)
        return nullptr;
    auto* p = static_cast<POLY_STRUCT*>(e->data);
    const Style s = styleOf(e);
    if (kind == VD_CPOLYGON) {
        readStroke(r, s, true, state);
        const Color fill = r.getAttributeColor("fill");
        readFill(r, s, !fill.none(), state);
    } else {
        readStroke(r, s, false, state);
    }
    if (!readPoints(r.getAttributeString("points"), *p, state) || !finishRecord(r, e, state))
        return nullptr;
    return e;
}

// Each subpath becomes a closed polygon (its ends closer than 0.001) or an
// open one; the actions go to the last.
bool readPath(XmlElement& r, ElementSink& sink, XmlReadState& state, ELEMENT_STRUCT*& made)
{
    const Path::Subpaths subpaths = Path().pointsFromString(r.getAttributeString("path"));
    made = nullptr;
    for (const Path::Points& points : subpaths) {
        if (points.empty())
            continue;
        const Vector2<double> a = points.front(), b = points.back();
        const bool closed = std::hypot(a.x() - b.x(), a.y() - b.y()) < 0.001;
        ELEMENT_STRUCT* e = createRecordElement(r, closed ? VD_CPOLYGON : VD_POLYGON, sink);
        if (e == nullptr)
            return false;
        auto* p = static_cast<POLY_STRUCT*>(e->data);
        COORD_STRUCT* last = nullptr;
        uint32_t id = 0;
        for (const Vector2<double>& v : points)
            if (!addVertex(*p, last, id++, v.x() + state.wx, v.y() + state.wy))
                return false;
        const Style s = styleOf(e);
        readStroke(r, s, true, state);
        readFill(r, s, closed && !r.getAttributeColor("fill").none(), state);
        if (!updateRecord(r, e))
            return false;
        made = e;
    }
    return made == nullptr || actionLoadXml(r, &made->actions, state.definitions);
}

// ---- Kinds ----------------------------------------------------------------------

const double kToDegrees = 57.29577951;
const double kToRadians = 0.017453292;

void saveCircle(const ELEMENT_STRUCT* e, XmlElement& r, const XmlWriteState& state)
{
    const auto* c = static_cast<const CIRCLE_STRUCT*>(e->data);
    const Style s = styleOf(const_cast<ELEMENT_STRUCT*>(e));
    r.setAttributeDouble("x", double(c->x) - state.wx);
    r.setAttributeDouble("y", double(c->y) - state.wy);
    r.setAttributeDouble("rx", c->rx);
    r.setAttributeDouble("ry", c->ry);
    r.setAttributeDouble("start", double(c->start) * kToDegrees);
    r.setAttributeDouble("end", double(c->end) * kToDegrees);
    writeStroke(r, s, true);
    writeFill(r, s);
    r.setAttributeMatrix("matrix", matrixOf(c->matrix));
}

bool loadCircle(XmlElement& r, ElementSink& sink, XmlReadState& state, ELEMENT_STRUCT*& made)
{
    ELEMENT_STRUCT* e = made = createRecordElement(r, VD_CIRCLE, sink);
    if (e == nullptr)
        return false;
    auto* c = static_cast<CIRCLE_STRUCT*>(e->data);
    const Style s = styleOf(e);
    c->x = checkedFloat(r.getAttributeDouble("x") + state.wx);
    c->y = checkedFloat(r.getAttributeDouble("y") + state.wy);
    if (r.name() == "circle") {
        c->rx = c->ry = checkedFloat(r.getAttributeDouble("r"));
    } else {
        c->rx = checkedFloat(r.getAttributeDouble("rx"));
        c->ry = checkedFloat(r.getAttributeDouble("ry"));
    }
    c->start = checkedFloat(r.getAttributeDouble("start") * kToRadians);
    c->end = checkedFloat(r.getAttributeDouble("end") * kToRadians);
    readStroke(r, s, true, state);
    const Color fill = r.getAttributeColor("fill");
    readFill(r, s, !fill.none(), state);
    readMatrix(r, c->matrix);
    return finishRecord(r, e, state);
}

void saveLine(const ELEMENT_STRUCT* e, XmlElement& r, const XmlWriteState& state)
{
    const auto* l = static_cast<const LINE_STRUCT*>(e->data);
    r.setAttributeDouble("x1", double(l->x1) - state.wx);
    r.setAttributeDouble("y1", double(l->y1) - state.wy);
    r.setAttributeDouble("x2", double(l->x2) - state.wx);
    r.setAttributeDouble("y2", double(l->y2) - state.wy);
    r.setAttributeColor("stroke", Color(l->lineR, l->lineG, l->lineB, l->lineA));
    r.setAttributeDouble("stroke-width", l->lineWidth);
    r.setAttributeInt("stroke-style", l->strokeStyle);
    r.setAttributeBool("stroke-antialias", l->antialias != 0);
}

bool loadLine(XmlElement& r, ElementSink& sink, XmlReadState& state, ELEMENT_STRUCT*& made)
{
    ELEMENT_STRUCT* e = made = createRecordElement(r, VD_LINE, sink);
    if (e == nullptr)
        return false;
    auto* l = static_cast<LINE_STRUCT*>(e->data);
    l->x1 = checkedFloat(r.getAttributeDouble("x1") + state.wx);
    l->y1 = checkedFloat(r.getAttributeDouble("y1") + state.wy);
    l->x2 = checkedFloat(r.getAttributeDouble("x2") + state.wx);
    l->y2 = checkedFloat(r.getAttributeDouble("y2") + state.wy);
    const Color c = r.getAttributeColor("stroke");
    l->lineR = c.r(), l->lineG = c.g(), l->lineB = c.b(), l->lineA = c.a();
    l->lineWidth = checkedFloat(r.getAttributeDouble("stroke-width"));
    l->strokeStyle = r.getAttributeInt("stroke-style");
    int factor = 0, style = 0;
    unsigned short pattern = 0;
    state.definitions.calcStroke(l->strokeStyle, &factor, &pattern, &style);
    l->stippleFactor = factor;
    l->stipplePattern = pattern;
    l->lineStyle = style;
    l->antialias = r.getAttributeBool("stroke-antialias") ? 1 : 0;
    return finishRecord(r, e, state);
}

void savePolygon(const ELEMENT_STRUCT* e, XmlElement& r, const XmlWriteState& state)
{
    const Style s = styleOf(const_cast<ELEMENT_STRUCT*>(e));
    const bool closed = e->kind == VD_CPOLYGON;
    writeStroke(r, s, closed);
    if (closed)
        writeFill(r, s);
    r.setAttributeString("points", pointsText(*static_cast<const POLY_STRUCT*>(e->data), state));
}

// "rect": RECTANGLE, TEXTURE or SCISSOR.
void saveRect(const ELEMENT_STRUCT* e, XmlElement& r, const XmlWriteState& state)
{
    switch (e->kind) {
    case VD_RECTANGLE: {
        const auto* rect = static_cast<const RECT_STRUCT*>(e->data);
        const Style s = styleOf(const_cast<ELEMENT_STRUCT*>(e));
        r.setAttributeDouble("x", 0.0); // their place; the centre comes below
        r.setAttributeDouble("y", 0.0);
        writeStroke(r, s, true);
        writeFill(r, s);
        writeCorners(r, rect->x, rect->y, state);
        break;
    }
    case VD_TEXTURE: {
        const auto* image = static_cast<const IMAGE_STRUCT*>(e->data);
        r.setAttributeInt("bitmap", image->bitmap);
        r.setAttributeDouble("bitmap-x", 0.0);
        r.setAttributeDouble("bitmap-y", 0.0);
        r.setAttributeDouble("bitmap-zoom", 1.0);
        r.setAttributeDouble("rx", 0.0);
        r.setAttributeDouble("ry", 0.0);
        Color none;
        none.setNone(true);
        r.setAttributeColor("stroke", none);
        r.setAttributeDouble("stroke-width", 0.0);
        r.setAttributeInt("stroke-style", 1);
        r.setAttributeBool("stroke-antialias", false);
        r.setAttributeColor("fill", Color(image->color[0], image->color[1], image->color[2], image->color[3]));
        r.setAttributeInt("fill-style", image->fillStyle);
        writeCorners(r, image->cornerX, image->cornerY, state);
        break;
    }
    default: { // SCISSOR
        const auto* scissor = static_cast<const SCISSOR_STRUCT*>(e->data);
        r.setAttributeDouble("rx", 0.0);
        r.setAttributeDouble("ry", 0.0);
        writeCorners(r, scissor->cornerX, scissor->cornerY, state);
        break;
    }
    }
    r.setAttributeBool("mask", e->kind == VD_SCISSOR);
}

bool loadRect(XmlElement& r, ElementSink& sink, XmlReadState& state, ELEMENT_STRUCT*& made)
{
    const bool mask = r.getAttributeBool("mask");
    const int bitmap = r.getAttributeInt("bitmap");
    const int kind = mask ? VD_SCISSOR : bitmap != 0 ? VD_TEXTURE : VD_RECTANGLE;
    ELEMENT_STRUCT* e = made = createRecordElement(r, kind, sink);
    if (e == nullptr)
        return false;
    if (kind == VD_RECTANGLE) {
        auto* rect = static_cast<RECT_STRUCT*>(e->data);
        readCorners(r, rect->x, rect->y, state);
        const Style s = styleOf(e);
        readStroke(r, s, true, state);
        const Color fill = r.getAttributeColor("fill");
        readFill(r, s, !fill.none(), state);
    } else if (kind == VD_TEXTURE) {
        auto* image = static_cast<IMAGE_STRUCT*>(e->data);
        readCorners(r, image->cornerX, image->cornerY, state);
        setColor(r.getAttributeColor("fill"), image->color);
        image->fillStyle = r.getAttributeInt("fill-style");
        int style = 0;
        state.definitions.calcFill(image->fillStyle, image->patternBits, &style);
        image->pattern = style;
        image->bitmap = bitmap;
        const Image* pixels = state.definitions.image(bitmap);
        if (pixels != nullptr) {
            image->pixelWidth = pixels->width;
            image->pixelHeight = pixels->height;
            const int made = xmlFactory.texture(pixels->pixels.data(), image);
            if (made != 0) {
                logMsg(1, "loadFileXml: bitmap %d of %d x %d pixels: no texture made (%d)\n", bitmap, pixels->width,
                       pixels->height, made);
                return false;
            }
        } else {
            std::printf("Load: could not find image id %d\n", bitmap);
        }
    } else {
        auto* scissor = static_cast<SCISSOR_STRUCT*>(e->data);
        readCorners(r, scissor->cornerX, scissor->cornerY, state);
    }
    return finishRecord(r, e, state);
}

bool loadButton(XmlElement& r, ElementSink& sink, XmlReadState& state, ELEMENT_STRUCT*& made)
{
    ELEMENT_STRUCT* e = made = createRecordElement(r, VD_BUTTON, sink);
    if (e == nullptr)
        return false;
    buttonLoadXml(r, e, state);
    return finishRecord(r, e, state);
}

bool loadGroup(XmlElement& r, ElementSink& sink, XmlReadState& state, ELEMENT_STRUCT*& made)
{
    // As deep as the writers write them.
    if (state.groups >= kMaxGroupDepth) {
        logMsg(1, "loadFileXml: groups nested deeper than %d levels\n", kMaxGroupDepth);
        return false;
    }
    const double x = r.getAttributeDouble("x"), y = r.getAttributeDouble("y");
    ELEMENT_STRUCT* e = made = createRecordElement(r, VD_GROUP, sink);
    if (e == nullptr)
        return false;
    e->x = checkedFloat(x);
    e->y = checkedFloat(y);
    const double wx = state.wx, wy = state.wy;
    state.wx += double(e->x);
    state.wy += double(e->y);
    ELEMENT_STRUCT* last = nullptr;
    ElementSink children{&e->children, last, e};
    ++state.groups;
    for (XmlElement child = r.firstElement(); child.valid(); child = child.nextElement())
        if (!elementLoadXml(child, children, state))
            return false;
    --state.groups;
    if (!updateRecord(r, e))
        return false;
    state.wx = wx;
    state.wy = wy;
    return actionLoadXml(r, &e->actions, state.definitions);
}

const char* keywordOf(int kind)
{
    switch (kind) {
    case VD_GROUP: return "group";
    case VD_GRAPH: return "graph";
    case VD_LINE: return "line";
    case VD_POLYGON: return "polyline";
    case VD_CPOLYGON: return "polygon";
    case VD_TEXT:
    case VD_TEXT_LEGACY: return "text";
    case VD_CIRCLE:
    case VD_ARC: return "ellipse";
    case VD_BUTTON: return "button";
    case VD_RECTANGLE:
    case VD_TEXTURE:
    case VD_SCISSOR: return "rect";
    default: return nullptr;
    }
}

} // namespace

void elementSaveXml(ELEMENT_STRUCT* e, XmlElement* parent, XmlWriteState& state)
{
    const char* keyword = keywordOf(e->kind);
    if (keyword == nullptr || (e->kind != VD_GROUP && e->data == nullptr)) {
        logMsg(2, "saveFileXml: %.63s: kind %d has no record in the XML view file; left out\n", e->name, e->kind);
        return;
    }
    XmlElement record(keyword);
    record.setAttributeString("name", fieldText(e->name, sizeof e->name));
    switch (e->kind) {
    case VD_GROUP: {
        record.setAttributeDouble("x", e->x);
        record.setAttributeDouble("y", e->y);
        record.setAttributeBool("render", true);
        record.setAttributeBool("editor", true);
        state.wx += double(e->x);
        state.wy += double(e->y);
        for (ELEMENT_STRUCT* child = e->children; child != nullptr; child = child->next)
            elementSaveXml(child, &record, state);
        state.wx -= double(e->x);
        state.wy -= double(e->y);
        break;
    }
    case VD_GRAPH: graphSaveXml(e, record, state); break;
    case VD_LINE: saveLine(e, record, state); break;
    case VD_POLYGON:
    case VD_CPOLYGON: savePolygon(e, record, state); break;
    case VD_TEXT:
    case VD_TEXT_LEGACY: textSaveXml(e, record, state); break;
    case VD_CIRCLE:
    case VD_ARC: saveCircle(e, record, state); break;
    case VD_BUTTON: buttonSaveXml(e, record, state); break;
    default: saveRect(e, record, state); break;
    }
    appendRecord(record, parent, e);
}

bool elementLoadXml(XmlElement& node, ElementSink& sink, XmlReadState& state)
{
    const std::string name = node.name();
    ELEMENT_STRUCT* made = nullptr;
    if (name == "group")
        return loadGroup(node, sink, state, made);
    if (name == "graph") {
        ELEMENT_STRUCT* e = createRecordElement(node, VD_GRAPH, sink);
        if (e == nullptr)
            return false;
        graphLoadXml(node, e, state);
        return finishRecord(node, e, state);
    }
    if (name == "line")
        return loadLine(node, sink, state, made);
    if (name == "polyline")
        return readPolygon(node, VD_POLYGON, sink, state) != nullptr;
    if (name == "polygon")
        return readPolygon(node, VD_CPOLYGON, sink, state) != nullptr;
    if (name == "path")
        return readPath(node, sink, state, made);
    if (name == "text") {
        ELEMENT_STRUCT* e = createRecordElement(node, VD_TEXT, sink);
        if (e == nullptr)
            return false;
        textLoadXml(node, e, state);
        return finishRecord(node, e, state);
    }
    if (name == "ellipse" || name == "circle")
        return loadCircle(node, sink, state, made);
    if (name == "button")
        return loadButton(node, sink, state, made);
    if (name == "rect")
        return loadRect(node, sink, state, made);
    return true; // no record: nothing made, its children not read
}

} // namespace dorne
