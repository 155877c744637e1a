// The element records of the binary view file: the frame (kind, name, id),
// the body of the kind, the actions. A GROUP holds its children's records,
// so the tree is stored depth first. The GRAPH, TEXT and TEXTURE bodies are
// in viewFileBodies.cpp; the geometric kinds' are here.
#include "files/viewFileBodies.h"
#include "files/viewFileFields.h"

#include "dorneLog.h"

#include <cerrno>
#include <cstring>

namespace dorne {

namespace {

const int32_t kNameBytes = 64; // with the terminating zero
const int32_t kIdBytes = 256;
const int32_t kLastKind = VD_SCISSOR;

// The smallest element record (kind 9: frame with one-byte name and id, no
// actions), which bounds a group's child count.
const int64_t kMinElementBytes = 4 + 4 + 1 + 4 + 1 + 4;
const int64_t kPointBytes = 4 + 4 + 4;

// A circle's radii are not stored: a loaded one has these, its size lies in
// the transform.
const float kStoredRadius = 100.0f;

// 3.01 reads the fill pattern of a record and ignores it.
bool keepsPattern(const ViewReader& in)
{
    return in.version >= 302;
}

void writeCorners(FieldWriter& w, const float* x, const float* y)
{
    for (int k = 0; k < 4; ++k)
        w.f(x[k]).f(y[k]);
}

bool readRect(ViewReader& in, RECT_STRUCT& s)
{
    FieldReader r(in, "a RECTANGLE record");
    int32_t pattern;
    readCorners(r, s.x, s.y);
    r.i(s.outline).f(s.lineWidth).i(s.lineStyle).f(s.lineR).f(s.lineG).f(s.lineB).f(s.lineA);
    r.i(s.fill).f(s.fillR).f(s.fillG).f(s.fillB).f(s.fillA).i(s.antialias).i(pattern).skip(3);
    if (keepsPattern(in))
        s.pattern = pattern;
    return r.ok();
}

bool writeRect(FILE* file, const RECT_STRUCT& s)
{
    FieldWriter w(file);
    writeCorners(w, s.x, s.y);
    w.i(s.outline).f(s.lineWidth).i(s.lineStyle).f(s.lineR).f(s.lineG).f(s.lineB).f(s.lineA);
    w.i(s.fill).f(s.fillR).f(s.fillG).f(s.fillB).f(s.fillA).i(s.antialias).i(s.pattern).zeros(3);
    return w.ok();
}

// Both polygon kinds; only the closed one carries its fill pattern.
bool readPoly(ViewReader& in, int32_t kind, POLY_STRUCT& s)
{
    FieldReader r(in, "a POLYGON record");
    int32_t pattern;
    r.i(s.closed).i(s.outline).f(s.lineWidth).i(s.lineStyle).f(s.lineR).f(s.lineG).f(s.lineB).f(s.lineA);
    r.i(s.fill).f(s.fillR).f(s.fillG).f(s.fillB).f(s.fillA).i(s.antialias).i(pattern).skip(3);
    if (kind == VD_CPOLYGON && keepsPattern(in))
        s.pattern = pattern;
    int32_t count;
    if (!r.ok() || !in.readCount(count, kPointBytes, "point"))
        return false;
    return readPolygonPoints(in, s, count);
}

bool writePoly(FILE* file, int32_t kind, const POLY_STRUCT& s)
{
    int32_t count = 0;
    for (const COORD_STRUCT* p = s.coords; p != nullptr; p = p->next)
        ++count;
    FieldWriter w(file);
    w.i(s.closed).i(s.outline).f(s.lineWidth).i(s.lineStyle).f(s.lineR).f(s.lineG).f(s.lineB).f(s.lineA);
    w.i(s.fill).f(s.fillR).f(s.fillG).f(s.fillB).f(s.fillA).i(s.antialias);
    w.i(kind == VD_CPOLYGON ? s.pattern : 0).zeros(3).i(count);
    for (const COORD_STRUCT* p = s.coords; p != nullptr; p = p->next)
        w.i(int32_t(p->id)).f(p->x).f(p->y);
    return w.ok();
}

// CIRCLE and ARC.
bool readCurve(ViewReader& in, CIRCLE_STRUCT& s)
{
    FieldReader r(in, "a CIRCLE record");
    int32_t pattern;
    r.f(s.x).f(s.y).f(s.matrix[0]).f(s.matrix[1]).f(s.matrix[2]).f(s.matrix[3]).f(s.start).f(s.end);
    r.i(s.outline).f(s.lineWidth).i(s.lineStyle).f(s.lineR).f(s.lineG).f(s.lineB).f(s.lineA);
    r.i(s.fill).f(s.fillR).f(s.fillG).f(s.fillB).f(s.fillA).i(s.antialias).i(pattern).skip(3);
    if (keepsPattern(in))
        s.pattern = pattern;
    s.rx = s.ry = kStoredRadius;
    return r.ok();
}

// The radii go into the transform: M diag(rx / 100, ry / 100) with radii
// of 100 draws the same figure (and is M itself for radii of 100).
bool writeCurve(FILE* file, const CIRCLE_STRUCT& s)
{
    const double sx = double(s.rx) / kStoredRadius, sy = double(s.ry) / kStoredRadius;
    FieldWriter w(file);
    w.f(s.x).f(s.y);
    w.f(float(s.matrix[0] * sx)).f(float(s.matrix[1] * sy)).f(float(s.matrix[2] * sx)).f(float(s.matrix[3] * sy));
    w.f(s.start).f(s.end);
    w.i(s.outline).f(s.lineWidth).i(s.lineStyle).f(s.lineR).f(s.lineG).f(s.lineB).f(s.lineA);
    w.i(s.fill).f(s.fillR).f(s.fillG).f(s.fillB).f(s.fillA).i(s.antialias).i(s.pattern).zeros(3);
    return w.ok();
}

bool readLine(ViewReader& in, LINE_STRUCT& s)
{
    FieldReader r(in, "a LINE record");
    r.f(s.x1).f(s.y1).f(s.x2).f(s.y2).f(s.lineWidth).i(s.lineStyle);
    r.f(s.lineR).f(s.lineG).f(s.lineB).f(s.lineA).i(s.antialias).skip(4);
    return r.ok();
}

bool writeLine(FILE* file, const LINE_STRUCT& s)
{
    FieldWriter w(file);
    w.f(s.x1).f(s.y1).f(s.x2).f(s.y2).f(s.lineWidth).i(s.lineStyle);
    w.f(s.lineR).f(s.lineG).f(s.lineB).f(s.lineA).i(s.antialias).zeros(4);
    return w.ok();
}

bool readScissor(ViewReader& in, SCISSOR_STRUCT& s)
{
    FieldReader r(in, "a SCISSOR record");
    readCorners(r, s.cornerX, s.cornerY);
    return r.skip(4).ok();
}

bool writeScissor(FILE* file, const SCISSOR_STRUCT& s)
{
    FieldWriter w(file);
    writeCorners(w, s.cornerX, s.cornerY);
    return w.zeros(4).ok();
}

bool readButton(ViewReader& in, BUTTON_STRUCT& s)
{
    FieldReader r(in, "a BUTTON record");
    readCorners(r, s.cornerX, s.cornerY);
    r.color(s.faceColor).color(s.lightColor).color(s.darkColor).f(s.bevel).i(s.pressed).skip(4);
    return r.ok();
}

bool writeButton(FILE* file, const BUTTON_STRUCT& s)
{
    FieldWriter w(file);
    writeCorners(w, s.cornerX, s.cornerY);
    w.color(s.faceColor).color(s.lightColor).color(s.darkColor).f(s.bevel).i(s.pressed).zeros(4);
    return w.ok();
}

bool readSlider(ViewReader& in, SLIDER_STRUCT& s)
{
    FieldReader r(in, "a SLIDER record");
    r.f(s.x).f(s.y).f(s.width).f(s.height).color(s.faceColor).color(s.darkColor).color(s.lightColor);
    r.f(s.bevel).f(s.knobHalfHeight).i(s.sliderInt).f(s.sliderFloat).skip(4);
    return r.ok();
}

bool writeSlider(FILE* file, const SLIDER_STRUCT& s)
{
    FieldWriter w(file);
    w.f(s.x).f(s.y).f(s.width).f(s.height).color(s.faceColor).color(s.darkColor).color(s.lightColor);
    w.f(s.bevel).f(s.knobHalfHeight).i(s.sliderInt).f(s.sliderFloat).zeros(4);
    return w.ok();
}

// The text of the field (at most n - 1 characters), its length with the
// zero first.
bool writeFrameText(FILE* file, const char* field, int32_t n)
{
    const int32_t length = int32_t(strnlen(field, size_t(n - 1)));
    return VPutFInt(length + 1, file) && putText(file, field, length + 1);
}

bool readBody(ViewReader& in, ELEMENT_STRUCT* e, int depth);

// Creates the element of the kind, links it behind *last of *head in the
// parent group (null at top level) and reads its record; what was made
// stays linked when the record is refused, for the list's owner to free.
// depth counts the groups around it.
bool readElement(ViewReader& in, int32_t kind, int depth, ELEMENT_STRUCT** head, ELEMENT_STRUCT*& last,
                 ELEMENT_STRUCT* parent)
{
    if (kind == VD_GROUP && depth >= kMaxGroupDepth)
        return in.refuse("groups nested deeper than %d levels", kMaxGroupDepth);
    ELEMENT_STRUCT* e = elementCreate(kind);
    if (e == nullptr)
        return in.refuse("out of memory");
    linkBehind(head, last, e);
    e->parent = parent;
    if (!readFrameText(in, e->name, kNameBytes, "element name") ||
        !readFrameText(in, e->id, kIdBytes, "element id") || !readBody(in, e, depth))
        return false;
    if (!in.resolveAsRead && !runUpdate(e))
        return in.refuse("out of memory");
    ACTION_STRUCT* lastAction = nullptr;
    if (!actionLoad(in, &e->actions, lastAction))
        return false;
    if (in.resolveAsRead) { // its children were done as they were read
        if (!definitionLoadOwn(e))
            return in.refuse("out of memory");
        in.resolvedAsRead = true;
    }
    return true;
}

bool readGroup(ViewReader& in, ELEMENT_STRUCT* group, int depth)
{
    ELEMENT_STRUCT* last = nullptr;
    return readGroupChildren(in, kMinElementBytes, kLastKind, [&](int32_t kind) {
        return readElement(in, kind, depth + 1, &group->children, last, group);
    });
}

// The body of the element's kind into its record (kind 9 has none).
bool readBody(ViewReader& in, ELEMENT_STRUCT* e, int depth)
{
    void* data = e->data;
    switch (e->kind) {
    case VD_GROUP:
        return readGroup(in, e, depth);
    case VD_GRAPH:
        return readGraphBody(in, e);
    case VD_TEXT:
        return readTextBody(in, e);
    case VD_TEXTURE:
        return readTextureBody(in, e);
    case VD_RECTANGLE:
        return readRect(in, *static_cast<RECT_STRUCT*>(data));
    case VD_POLYGON:
    case VD_CPOLYGON:
        return readPoly(in, e->kind, *static_cast<POLY_STRUCT*>(data));
    case VD_CIRCLE:
    case VD_ARC:
        return readCurve(in, *static_cast<CIRCLE_STRUCT*>(data));
    case VD_LINE:
        return readLine(in, *static_cast<LINE_STRUCT*>(data));
    case VD_BUTTON:
        return readButton(in, *static_cast<BUTTON_STRUCT*>(data));
    case VD_SLIDER:
        return readSlider(in, *static_cast<SLIDER_STRUCT*>(data));
    case VD_SCISSOR:
        return readScissor(in, *static_cast<SCISSOR_STRUCT*>(data));
    default: // 9: frame and actions only
        return true;
    }
}

bool writeBody(FILE* file, const ELEMENT_STRUCT* e, int depth);

bool refuseElement(const ELEMENT_STRUCT* e, const char* why)
{
    logMsg(1, "elementSave_303: %.63s: %s\n", e->name, why);
    errno = EINVAL;
    return false;
}

// depth counts the groups around the element.
bool writeElement(FILE* file, const ELEMENT_STRUCT* e, int depth)
{
    const int32_t kind = e->kind;
    if (kind < 0 || kind > kLastKind)
        return refuseElement(e, "no such element kind");
    const bool hasBody = kind != VD_GROUP && kind != 9;
    if (hasBody && e->data == nullptr)
        return refuseElement(e, "no kind record");
    if (kind == VD_GROUP && depth >= kMaxGroupDepth)
        return refuseElement(e, "groups nested too deep");
    return VPutFInt(kind, file) && writeFrameText(file, e->name, kNameBytes) &&
           writeFrameText(file, e->id, kIdBytes) && writeBody(file, e, depth) && actionSave_303(file, e->actions);
}

bool writeBody(FILE* file, const ELEMENT_STRUCT* e, int depth)
{
    const void* data = e->data;
    switch (e->kind) {
    case VD_GROUP: {
        int32_t count = 0;
        for (const ELEMENT_STRUCT* c = e->children; c != nullptr; c = c->next)
            ++count;
        if (!VPutFInt(count, file))
            return false;
        for (const ELEMENT_STRUCT* c = e->children; c != nullptr; c = c->next)
            if (!writeElement(file, c, depth + 1))
                return false;
        return true;
    }
    case VD_GRAPH:
        return writeGraphBody(file, e);
    case VD_TEXT:
    case VD_TEXT_LEGACY:
        return writeTextBody(file, e);
    case VD_TEXTURE:
        return writeTextureBody(file, e);
    case VD_RECTANGLE:
        return writeRect(file, *static_cast<const RECT_STRUCT*>(data));
    case VD_POLYGON:
    case VD_CPOLYGON:
        return writePoly(file, e->kind, *static_cast<const POLY_STRUCT*>(data));
    case VD_CIRCLE:
    case VD_ARC:
        return writeCurve(file, *static_cast<const CIRCLE_STRUCT*>(data));
    case VD_LINE:
        return writeLine(file, *static_cast<const LINE_STRUCT*>(data));
    case VD_BUTTON:
        return writeButton(file, *static_cast<const BUTTON_STRUCT*>(data));
    case VD_SLIDER:
        return writeSlider(file, *static_cast<const SLIDER_STRUCT*>(data));
    case VD_SCISSOR:
        return writeScissor(file, *static_cast<const SCISSOR_STRUCT*>(data));
    default: // 9
        return true;
    }
}

} // namespace

bool elementLoad(ViewReader& in, ViewContent& out, int32_t kind)
{
    if (kind < 0 || kind > kLastKind)
        return in.refuse("element kind %d out of range", kind);
    return readElement(in, kind, 0, &out.elements, out.lastElement, nullptr);
}

bool elementSave(FILE* file, const ELEMENT_STRUCT* element)
{
    return writeElement(file, element, 0);
}

} // namespace dorne
