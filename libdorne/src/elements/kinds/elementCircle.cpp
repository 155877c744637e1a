// CIRCLE and ARC elements: one kind record, two sets of defaults; grab
// handles, edits, picking and drawing. A point of the curve at angle t is
// centre + M (rx cos(-t), ry sin(-t)): angles run clockwise from +x.
#include "elements/elementKinds.h"

#include "dorneGl.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

const float pi = float(M_PI);
const float fullTurn = 2 * pi;

// Steps per full turn when the box is sampled; the drawing takes 8 to 100
// by the size of the curve.
const int boxSteps = 100;
const int minSegments = 8;
const int maxSegments = 100;

// Differences and factors of the matrix scaling stay at least this large,
// so that an edit never makes the matrix singular.
const float minScale = 0.001f;

// What both kinds share; the created matrix and radii are zero until a
// reader sets them.
void setCurveDefaults(CIRCLE_STRUCT& c)
{
    c.end = 2 * pi;
    c.outline = 1;
    c.lineWidth = 2.0f;
    c.lineR = c.lineG = c.lineB = c.lineA = 1;
    c.stippleFactor = 1;
    c.stipplePattern = 0xFFFF;
}

void setCircleDefaults(CIRCLE_STRUCT& c)
{
    setCurveDefaults(c);
    c.start = 0;
    c.fill = 1;
    c.fillR = 1;
    c.fillG = 1;
    c.fillB = 0.5f;
    c.fillA = 1;
    c.antialias = 1;
}

void setArcDefaults(CIRCLE_STRUCT& c)
{
    setCurveDefaults(c);
    c.start = pi;
    c.fill = 0;
    c.fillR = 0;
    c.fillG = 1;
    c.fillB = 0;
    c.fillA = 1;
    c.antialias = 0;
}


// The curve point at angle t, relative to the centre.
void curvePoint(const CIRCLE_STRUCT& c, float t, float& px, float& py)
{
    const float u = c.rx * std::cos(-t);
    const float v = c.ry * std::sin(-t);
    px = c.matrix[0] * u + c.matrix[1] * v;
    py = c.matrix[2] * u + c.matrix[3] * v;
}

// Visits the angles from start to end in steps of one n-th of a turn, the
// last step shortened to end exactly at end. The sweep is at most one full
// turn, so neither a huge end angle nor a start where a step no longer
// counts can keep the loop going; an end before the start gives both ends.
template <typename Visit>
void forEachAngle(float start, float end, int n, Visit visit)
{
    if (std::isnan(end))
        end = start;
    if (end - start > fullTurn)
        end = start + fullTurn;
    const float step = fullTurn / float(n);
    visit(start);
    for (int i = 1; i < n; ++i) { // at most one turn of n steps
        const float t = start + float(i) * step;
        if (!(t < end))
            break;
        visit(t);
    }
    visit(end);
}

// The drawing's segments per full turn: the larger extent of the radii
// through the matrix, 8 to 100.
int segmentsPerTurn(const CIRCLE_STRUCT& c)
{
    const float extent = std::max(std::fabs(c.matrix[0] * c.rx + c.matrix[1] * c.ry),
                                  std::fabs(c.matrix[2] * c.rx + c.matrix[3] * c.ry));
    if (!(extent > float(minSegments))) // NaN too
        return minSegments;
    return extent < float(maxSegments) ? int(extent) : maxSegments;
}

// The points of one draw, computed once for the fill, the outline and the
// selection: at most one turn of 100 segments and the end point.
struct CurvePoints
{
    float x[maxSegments + 2];
    float y[maxSegments + 2];
    int count = 0;

    CurvePoints(const CIRCLE_STRUCT& c, float end, int n)
    {
        forEachAngle(c.start, end, n, [&](float t) {
            curvePoint(c, t, x[count], y[count]);
            ++count;
        });
    }

    void vertices() const
    {
        for (int i = 0; i < count; ++i)
            glVertex2f(x[i], y[i]);
    }
};

// (u, v) = M^-1 (x, y); false for a singular matrix.
bool inverse(const CIRCLE_STRUCT& c, float x, float y, float& u, float& v)
{
    const float det = c.matrix[0] * c.matrix[3] - c.matrix[1] * c.matrix[2];
    if (det == 0.0f || !std::isfinite(det))
        return false;
    u = (c.matrix[3] * x - c.matrix[1] * y) / det;
    v = (c.matrix[0] * y - c.matrix[2] * x) / det;
    return true;
}

// Commands 50 and 51: the clockwise angle of the point, 0 to 2 pi; false for
// a singular matrix (the angles stay).
bool angleOfPoint(const CIRCLE_STRUCT& c, float x, float y, float& angle)
{
    float u = 0, v = 0;
    if (!inverse(c, x - c.x, y - c.y, u, v))
        return false;
    angle = -std::atan2(v, u);
    if (angle < 0)
        angle += fullTurn;
    return true;
}

float atLeastMinScale(float v)
{
    return std::fabs(v) < minScale ? minScale : v;
}

// Phase 1 of a geometry command: the centre from the backed-up one; the
// matrix turned (16) or its rows scaled with the transformed box.
void moveCircle(ELEMENT_STRUCT* element, const void* backup, int command, const EDIT_PARA_STRUCT* para)
{
    CIRCLE_STRUCT* c = vdiRecord<CIRCLE_STRUCT>(element);
    const auto* b = static_cast<const CIRCLE_STRUCT*>(backup);
    resizeMoveElement(element, command, &c->x, &c->y, para->x, para->y, b->x, b->y);
    const float* m = b->matrix;
    if (command == 16) {
        const float t = para->x * 0.0174533f; // counter-clockwise
        const float cs = std::cos(t), sn = std::sin(t);
        c->matrix[0] = cs * m[0] - sn * m[2];
        c->matrix[1] = cs * m[1] - sn * m[3];
        c->matrix[2] = sn * m[0] + cs * m[2];
        c->matrix[3] = sn * m[1] + cs * m[3];
        return;
    }
    const float minX = b->x + b->localMinX, minY = b->y + b->localMinY;
    const float maxX = b->x + b->localMaxX, maxY = b->y + b->localMaxY;
    float newMinX = minX, newMinY = minY, newMaxX = maxX, newMaxY = maxY;
    resizeMoveElement(element, command, &newMinX, &newMinY, para->x, para->y, minX, minY);
    resizeMoveElement(element, command, &newMaxX, &newMaxY, para->x, para->y, maxX, maxY);
    const float sx = atLeastMinScale(atLeastMinScale(newMinX - newMaxX) / atLeastMinScale(b->localMinX - b->localMaxX));
    const float sy = atLeastMinScale(atLeastMinScale(newMaxY - newMinY) / atLeastMinScale(b->localMaxY - b->localMinY));
    c->matrix[0] = m[0] * sx;
    c->matrix[1] = m[1] * sx;
    c->matrix[2] = m[2] * sy;
    c->matrix[3] = m[3] * sy;
}

} // namespace

CIRCLE_STRUCT* createCircle(const CIRCLE_STRUCT* templ)
{
    return vdiNewRecord(templ, "createCircle", setCircleDefaults);
}

CIRCLE_STRUCT* createArc(const CIRCLE_STRUCT* templ)
{
    return vdiNewRecord(templ, "createCircle", setArcDefaults);
}

int circleSetAttr(ELEMENT_STRUCT* element)
{
    const CIRCLE_STRUCT* c = vdiRecord<CIRCLE_STRUCT>(element);
    if (c == nullptr)
        return -1;
    vdiShapeAttr(element->attr, *c);
    element->attr.arcEnd = c->end;
    return 0;
}

int circleSetPickSticky(ELEMENT_STRUCT* element)
{
    CIRCLE_STRUCT* c = vdiRecord<CIRCLE_STRUCT>(element);
    if (c == nullptr)
        return -1;
    c->fanX = c->fanY = 0;
    // The box of the sampled curve, widened to hold the centre.
    float minX = 0, minY = 0, maxX = 0, maxY = 0;
    forEachAngle(c->start, c->end, boxSteps, [&](float t) {
        float px = 0, py = 0;
        curvePoint(*c, t, px, py);
        minX = std::min(minX, px);
        minY = std::min(minY, py);
        maxX = std::max(maxX, px);
        maxY = std::max(maxY, py);
    });
    c->localMinX = minX;
    c->localMinY = minY;
    c->localMaxX = maxX;
    c->localMaxY = maxY;

    HandleRebuild rebuild(element);
    float sx = 0, sy = 0, ex = 0, ey = 0;
    curvePoint(*c, c->start, sx, sy);
    curvePoint(*c, c->end, ex, ey);
    bool made = vdiAppendHandle(element, 50, 1, c->x + sx, c->y + sy, 2, 2) != nullptr;
    made = vdiAppendHandle(element, 51, 1, c->x + ex, c->y + ey, 2, 2) != nullptr && made;
    // The centre lines of the box handles run through the circle's centre.
    static const uint8_t ids[] = {9, 1, 3, 5, 7, 2, 4, 6, 8};
    made = vdiAppendBoxHandles(element, ids, 9, c->x + minX, c->y + minY, c->x + maxX, c->y + maxY, c->x, c->y) &&
           made;
    made = vdiAppendBoxRecord(element, c->x + minX, c->y + minY, c->x + maxX, c->y + maxY) && made;
    vdiSetElementBox(element, c->x + minX, c->y + minY, c->x + maxX, c->y + maxY);
    element->centreX = element->x = c->x;
    element->centreY = element->y = c->y;
    const int status = circleSetAttr(element);
    return rebuild.settle(made) == 0 ? status : -1;
}

int editCircle(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase, EDIT_PARA_STRUCT* para)
{
    CIRCLE_STRUCT* c = vdiRecord<CIRCLE_STRUCT>(element);
    if (c == nullptr)
        return -1;
    EDIT_PARA_STRUCT none{};
    if (para == nullptr)
        para = &none;
    int status = 0; // -1 once an update ran out of memory
    float angle = 0;
    if (command >= 1 && command <= 16) {
        status = vdiEditPhase(element, handles, command, phase, para, moveCircle);
    } else if ((command == 50 || command == 51) && angleOfPoint(*c, para->x, para->y, angle)) {
        if (command == 50) {
            c->start = angle;
            if (c->start > c->end)
                c->start -= fullTurn;
        } else {
            c->end = angle;
            if (c->start > c->end)
                c->end += fullTurn;
        }
        status = circleSetPickSticky(element); // the angle handles follow
    } else {
        vdiEditShapeStyle(*c, command, para);
    }
    const int attr = circleSetAttr(element);
    return status != 0 ? -1 : attr;
}

int drawCircle(CIRCLE_STRUCT* record, const ATTR_STRUCT* block, int selected)
{
    if (record == nullptr || block == nullptr)
        return -1;
    const CIRCLE_STRUCT& c = *record;
    const CurvePoints points(c, block->arcEnd, segmentsPerTurn(c));
    if (c.fill != 0) {
        wtAliasBlend(0, block->fillColor[3]);
        vvColor4f(block->fillColor[0], block->fillColor[1], block->fillColor[2], block->fillColor[3]);
        setStipple(c.pattern, c.patternBits);
        wtBegin(GL_TRIANGLE_FAN);
        glVertex2f(c.fanX, c.fanY);
        points.vertices();
        wtEnd();
        setStipple(0, nullptr);
    }
    if (c.outline != 0) {
        wtLineStipple(block->stippleFactor, block->stipplePattern);
        wtLineWidth(static_cast<int8_t>(block->lineWidth));
        wtAliasBlend(c.antialias, block->lineColor[3]);
        vvColor4f(block->lineColor[0], block->lineColor[1], block->lineColor[2], block->lineColor[3]);
        wtBegin(GL_LINE_STRIP);
        points.vertices();
        wtEnd();
    }
    if (selected != 0 && block->running == 0) {
        wtLineStipple(1, 0xF0F0);
        wtLineWidth(1);
        vvColor4f(1, 0, 0, 1);
        wtAliasBlend(0, 1.0f);
        wtBegin(GL_LINE_STRIP);
        points.vertices();
        wtEnd();
    }
    return 0;
}

int pickCircle(ELEMENT_STRUCT* element, float x, float y)
{
    const CIRCLE_STRUCT* c = vdiRecord<CIRCLE_STRUCT>(element);
    if (c == nullptr)
        return 0;
    const float px = x - c->x, py = y - c->y;
    float u = 0, v = 0;
    if (!inverse(*c, px, py, u, v))
        return 0;
    const float t = std::atan2(v, u);
    const float bu = c->rx * std::cos(t), bv = c->ry * std::sin(t);
    const float bx = c->matrix[0] * bu + c->matrix[1] * bv;
    const float by = c->matrix[2] * bu + c->matrix[3] * bv;
    return std::hypot(bx, by) >= std::hypot(px, py) ? 1 : 0;
}

namespace {

constexpr ElementKind curveKind(const char* name, void* (*create)(), ELEMENT_PICK_FN pick)
{
    ElementKind k = vdiDescribeKind(name, sizeof(CIRCLE_STRUCT), create);
    k.update = circleSetPickSticky;
    k.edit = editCircle;
    k.pick = pick;
    k.setAttr = circleSetAttr;
    k.draw = vdiDrawRecord<drawCircle>;
    return k;
}

} // namespace

// Only a CIRCLE is picked by its shape; an ARC by its box.
const ElementKind vdiKindCircle =
    curveKind("CIRCLE", [] { return static_cast<void*>(createCircle(nullptr)); }, pickCircle);

const ElementKind vdiKindArc = curveKind("ARC", [] { return static_cast<void*>(createArc(nullptr)); }, nullptr);
