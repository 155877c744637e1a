// POLYGON elements, open (polyline) and closed: the kind record with its
// defaults, grab handles, edits, picking, the fill tessellated into a display
// list and cut to a fill level, and the paths that actions of type 11 move
// elements along. The record owns its outline and fill vertex lists and its
// display list; an edit backup owns its own copy of the outline.
#include "elements/elementKinds.h"
#include "base/linkedList.h"

#include "dorneGl.h"
#include "dornePlatform.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>

namespace {

void setPolyDefaults(POLY_STRUCT& p, int closed)
{
    p.closed = closed;
    p.outline = 1;
    p.lineWidth = 3.0f;
    p.lineR = p.lineG = p.lineB = p.lineA = 1;
    p.fillR = 0;
    p.fillG = 1;
    p.fillB = 0;
    p.fillA = 1;
    p.fillLevel = 1.0f;
    p.antialias = closed ? 0 : 1;
    p.stippleFactor = 1;
    p.stipplePattern = 0xFFFF;
}

POLY_STRUCT* newPoly(const POLY_STRUCT* templ, int closed)
{
    auto setDefaults = [closed](POLY_STRUCT& p) { setPolyDefaults(p, closed); };
    POLY_STRUCT* poly = vdiNewRecord<POLY_STRUCT>(templ, "createPoly", setDefaults);
    // A copy shares neither vertices nor the display list of its template.
    if (poly != nullptr && templ != nullptr) {
        poly->coords = poly->fillCoords = nullptr;
        poly->glList = 0;
    }
    return poly;
}

void deleteCoords(COORD_STRUCT** head)
{
    while (*head != nullptr)
        delCoord(head, *head);
}

void deleteList(POLY_STRUCT& p)
{
    if (p.glList != 0)
        glDeleteLists(p.glList, 1);
    p.glList = 0;
}

void releasePoly(void* record)
{
    auto* poly = static_cast<POLY_STRUCT*>(record);
    deleteCoords(&poly->coords);
    deleteCoords(&poly->fillCoords);
    deleteList(*poly);
}

// The record with a copy of its outline (the vertices keep their ids, the
// running id does not move); no fill list and no display list of its own.
void* copyPolyBackup(const void* record)
{
    const auto* poly = static_cast<const POLY_STRUCT*>(record);
    auto* backup = static_cast<POLY_STRUCT*>(std::malloc(sizeof(POLY_STRUCT)));
    if (backup == nullptr) {
        logMsg(1, "editPoly: out of memory\n");
        return nullptr;
    }
    std::memcpy(backup, poly, sizeof(POLY_STRUCT));
    backup->coords = backup->fillCoords = nullptr;
    backup->glList = 0;
    COORD_STRUCT* last = nullptr; // the copy's tail: no walk per vertex
    for (const COORD_STRUCT* c = poly->coords; c != nullptr; c = c->next) {
        auto* copy = static_cast<COORD_STRUCT*>(std::malloc(sizeof(COORD_STRUCT)));
        if (copy == nullptr) {
            logMsg(1, "editPoly: out of memory\n");
            releasePoly(backup);
            std::free(backup);
            return nullptr;
        }
        std::memcpy(copy, c, sizeof(COORD_STRUCT));
        dorne::listInsertAfter(&backup->coords, copy, last);
        last = copy;
    }
    return backup;
}

void freePolyBackup(void* backup)
{
    releasePoly(backup);
    std::free(backup);
}

// Phase 1 of a geometry command: each vertex from its backed-up position,
// the vertices of both lists paired in order.
void moveVertices(ELEMENT_STRUCT* element, const void* backup, int command, const EDIT_PARA_STRUCT* para)
{
    POLY_STRUCT* p = vdiRecord<POLY_STRUCT>(element);
    const COORD_STRUCT* from = static_cast<const POLY_STRUCT*>(backup)->coords;
    for (COORD_STRUCT* c = p->coords; c != nullptr && from != nullptr; c = c->next, from = from->next)
        resizeMoveElement(element, command, &c->x, &c->y, para->x, para->y, from->x, from->y);
}

// ---- Tessellation ----

// A vertex the tessellator merged without a combine callback has no data.
void GLAPIENTRY tessVertex(void* data)
{
    if (data != nullptr)
        glVertex3dv(static_cast<const GLdouble*>(data));
}

void GLAPIENTRY tessError(GLenum error, void* failed)
{
    if (*static_cast<GLenum*>(failed) == 0)
        *static_cast<GLenum*>(failed) = error;
}

// GLU takes every callback as a function without arguments.
template <typename F>
_GLUfuncptr gluCallback(F* f)
{
    return reinterpret_cast<_GLUfuncptr>(f);
}

bool finitePosition(const COORD_STRUCT& c)
{
    return std::isfinite(c.localX) && std::isfinite(c.localY) && std::isfinite(c.localZ);
}

// Compiles the fill of the vertices into list. A fill the tessellator
// refuses (an outline crossing itself needs new vertices, which it is not
// given; a coordinate that is not finite) leaves the list empty: no fill is
// drawn, and the list is not made again every frame.
void compileFill(GLuint list, const COORD_STRUCT* coords)
{
    GLenum failed = 0;
    for (const COORD_STRUCT* c = coords; c != nullptr && failed == 0; c = c->next)
        if (!finitePosition(*c))
            failed = GLU_TESS_COORD_TOO_LARGE;
    GLUtesselator* tess = failed == 0 ? gluNewTess() : nullptr;
    if (tess == nullptr && failed == 0)
        failed = GLU_OUT_OF_MEMORY;
    glNewList(list, GL_COMPILE);
    if (tess != nullptr) {
        gluTessCallback(tess, GLU_TESS_VERTEX, gluCallback(tessVertex));
        gluTessCallback(tess, GLU_TESS_BEGIN, gluCallback(wtBegin));
        gluTessCallback(tess, GLU_TESS_END, gluCallback(wtEnd));
        gluTessCallback(tess, GLU_TESS_ERROR_DATA, gluCallback(tessError));
        gluTessBeginPolygon(tess, &failed);
        gluTessBeginContour(tess);
        // Bounded by the outline; the vertex data are the vertices' own
        // local positions, which outlive the tessellator.
        for (const COORD_STRUCT* c = coords; c != nullptr; c = c->next)
            gluTessVertex(tess, const_cast<GLdouble*>(&c->localX), const_cast<GLdouble*>(&c->localX));
        gluTessEndContour(tess);
        gluTessEndPolygon(tess);
        gluDeleteTess(tess);
        wtFinish(); // a primitive a failed tessellation left open
    }
    glEndList();
    if (failed != 0) {
        glNewList(list, GL_COMPILE);
        glEndList();
        logMsg(2, "polyMakeList: %s, the polygon is not filled\n",
               reinterpret_cast<const char*>(gluErrorString(failed)));
    }
}

void outline(const POLY_STRUCT& p)
{
    wtBegin(p.closed != 0 ? GL_LINE_LOOP : GL_LINE_STRIP);
    for (const COORD_STRUCT* c = p.coords; c != nullptr; c = c->next) // the outline, once
        glVertex2d(c->localX, c->localY);
    wtEnd();
}

// ---- Fill level ----

enum class Side { up, down, left, right };

// The level line of a fill level and the side of it that stays filled, in
// the element's local coordinates.
struct Cut
{
    bool vertical;  // the line x = level (left, right), else y = level
    double level;
    bool keepBelow; // keep the coordinate <= level, else >= level

    Cut(const POLY_STRUCT& p, Side side)
    {
        vertical = side == Side::left || side == Side::right;
        // Up (rising from the bottom) and right (growing from the left)
        // fill from the low end of the box; down and left from the high end.
        keepBelow = side == Side::up || side == Side::right;
        const double lo = vertical ? p.localMinX : p.localMinY;
        const double hi = vertical ? p.localMaxX : p.localMaxY;
        const double f = p.fillLevel;
        level = keepBelow ? lo + f * (hi - lo) : hi - f * (hi - lo);
    }

    bool kept(const COORD_STRUCT& c) const
    {
        const double v = vertical ? c.localX : c.localY;
        return keepBelow ? v <= level : v >= level;
    }

    // Where the edge from a to b meets the level line.
    void cross(const COORD_STRUCT& a, const COORD_STRUCT& b, double& x, double& y) const
    {
        x = a.localX;
        y = a.localY;
        if (vertical)
            VLineCross2(&x, &y, a.localX, a.localY, b.localX, b.localY, level, 1, level, -1);
        else
            VLineCross2(&x, &y, a.localX, a.localY, b.localX, b.localY, 1, level, -1, level);
    }
};

// The fill list, built at its tail.
struct FillBuilder
{
    POLY_STRUCT& poly;
    COORD_STRUCT* tail = nullptr;

    // false when memory runs out (the list is then deleted).
    bool add(double x, double y, double z)
    {
        auto* c = static_cast<COORD_STRUCT*>(std::calloc(1, sizeof(COORD_STRUCT)));
        if (c == nullptr) {
            logMsg(1, "polyCreateFillCoord: out of memory\n");
            deleteCoords(&poly.fillCoords);
            return false;
        }
        c->localX = x;
        c->localY = y;
        c->localZ = z;
        c->prev = tail;
        (tail != nullptr ? tail->next : poly.fillCoords) = c;
        tail = c;
        return true;
    }
};

int createFillCoords(ELEMENT_STRUCT* element, Side side)
{
    POLY_STRUCT* p = vdiRecord<POLY_STRUCT>(element);
    if (p == nullptr)
        return -1;
    deleteCoords(&p->fillCoords);
    const Cut cut(*p, side);
    const COORD_STRUCT* first = p->coords;
    const COORD_STRUCT* last = first;
    while (last != nullptr && last->next != nullptr)
        last = last->next;
    FillBuilder fill{*p};
    double x = 0, y = 0;
    // Each vertex adds itself, or where its edges leave the kept side.
    for (const COORD_STRUCT* v = first; v != nullptr; v = v->next) {
        if (cut.kept(*v)) {
            if (!fill.add(v->localX, v->localY, v->localZ))
                return 0;
            continue;
        }
        const COORD_STRUCT* before = v->prev != nullptr ? v->prev : last;
        const COORD_STRUCT* after = v->next != nullptr ? v->next : first;
        if (cut.kept(*before)) {
            cut.cross(*v, *before, x, y);
            if (!fill.add(x, y, v->localZ))
                return 0;
        }
        if (cut.kept(*after)) {
            cut.cross(*v, *after, x, y);
            if (!fill.add(x, y, v->localZ))
                return 0;
        }
    }
    return 0;
}

// ---- Paths ----

bool isOpenPoly(const ELEMENT_STRUCT* e)
{
    return e != nullptr && e->kind == VD_POLYGON && e->data != nullptr;
}

// Binds the type 11 actions of the list's elements to the open polygons of
// the same list (a group's children to polygons among them).
void bindPaths(ELEMENT_STRUCT* list)
{
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        if (e->kind == VD_GROUP)
            bindPaths(e->children);
        for (ACTION_STRUCT* a = e->actions; a != nullptr; a = a->next) {
            a->polyElement = nullptr;
            if (a->type != 11)
                continue;
            char name[sizeof a->polyName + 1] = {};
            std::memcpy(name, a->polyName, sizeof a->polyName);
            a->polyElement = getPolyByName(list, name);
            if (a->polyElement == nullptr)
                logMsg(2, "Polygon %s not found !\n", name);
        }
    }
}

constexpr ElementKind polyKind(const char* name, void* (*create)())
{
    ElementKind k = vdiDescribeKind(name, sizeof(POLY_STRUCT), create);
    k.update = polySetPickSticky;
    k.edit = editPoly;
    k.pick = pickPoly;
    k.setAttr = polySetAttr;
    k.releaseRecord = releasePoly;
    k.copyBackup = copyPolyBackup;
    k.freeBackup = freePolyBackup;
    k.draw = vdiDrawRecord<drawPoly>;
    return k;
}

} // namespace

POLY_STRUCT* createPoly(const POLY_STRUCT* templ)
{
    return newPoly(templ, 0);
}

POLY_STRUCT* createCPoly(const POLY_STRUCT* templ)
{
    return newPoly(templ, 1);
}

int polySetAttr(ELEMENT_STRUCT* element)
{
    const POLY_STRUCT* p = vdiRecord<POLY_STRUCT>(element);
    if (p == nullptr)
        return -1;
    vdiShapeAttr(element->attr, *p);
    return 0;
}

int polySetPickSticky(ELEMENT_STRUCT* element)
{
    POLY_STRUCT* p = vdiRecord<POLY_STRUCT>(element);
    if (p == nullptr)
        return -1;
    HandleRebuild rebuild(element);
    float minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (const COORD_STRUCT* c = p->coords; c != nullptr; c = c->next) {
        const bool first = c == p->coords;
        minX = first || c->x < minX ? c->x : minX;
        minY = first || c->y < minY ? c->y : minY;
        maxX = first || c->x > maxX ? c->x : maxX;
        maxY = first || c->y > maxY ? c->y : maxY;
    }
    const float cx = minX + (maxX - minX) / 2, cy = minY + (maxY - minY) / 2;
    // Each handle linked behind the one before: n vertices take time n.
    STICKY_STRUCT* last = nullptr; // the list is empty
    bool made = true;
    for (const COORD_STRUCT* c = p->coords; c != nullptr; c = c->next)
        if (STICKY_STRUCT* s = vdiAppendHandle(element, c->id + 100, 1, c->x, c->y, 2, 2, last))
            last = s;
        else
            made = false;
    static const uint8_t ids[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    made = vdiAppendBoxHandles(element, ids, 9, minX, minY, maxX, maxY, cx, cy, last) && made;
    vdiSetElementBox(element, minX, minY, maxX, maxY);

    p->localMinX = p->localMinY = p->localMaxX = p->localMaxY = 0;
    for (COORD_STRUCT* c = p->coords; c != nullptr; c = c->next) {
        c->localX = double(c->x - cx);
        c->localY = double(c->y - cy);
        c->localZ = 0;
        const bool first = c == p->coords;
        const auto lx = float(c->localX), ly = float(c->localY);
        p->localMinX = first || lx < p->localMinX ? lx : p->localMinX;
        p->localMinY = first || ly < p->localMinY ? ly : p->localMinY;
        p->localMaxX = first || lx > p->localMaxX ? lx : p->localMaxX;
        p->localMaxY = first || ly > p->localMaxY ? ly : p->localMaxY;
    }
    polySetAttr(element);
    deleteCoords(&p->fillCoords);
    const int status = polyMakeList(p, 0);
    return rebuild.settle(made) == 0 ? status : -1;
}

int polyMakeList(POLY_STRUCT* record, int useFill)
{
    if (record == nullptr)
        return -1;
    if (!getGlContext()) {
        logMsg(2, "Warning polyMakeList: no valid openGL context !\n");
        record->glList = 0;
        return 0;
    }
    deleteList(*record);
    // Without a current context no list name is given.
    const GLuint list = glGenLists(1);
    if (list == 0) {
        logMsg(2, "Warning polyMakeList: no valid openGL context !\n");
        return 0;
    }
    record->glList = list;
    compileFill(list, useFill != 0 && record->fillCoords != nullptr ? record->fillCoords : record->coords);
    return 0;
}

int drawPoly(POLY_STRUCT* record, const ATTR_STRUCT* block, int selected)
{
    if (record == nullptr || block == nullptr)
        return -1;
    POLY_STRUCT& p = *record;
    if (p.coords == nullptr) // nothing to fill or outline
        return 0;
    wtAliasBlend(p.antialias, block->fillColor[3]);
    // A list lost with its context is made again, with the cut fill if any.
    if (p.glList == 0)
        polyMakeList(record, 1);
    if (p.fill != 0 && p.glList != 0) {
        vvColor4f(block->fillColor[0], block->fillColor[1], block->fillColor[2], block->fillColor[3]);
        setStipple(p.pattern, p.patternBits);
        glCallList(p.glList);
        setStipple(0, nullptr);
    }
    wtAliasBlend(p.antialias, block->lineColor[3]);
    if (p.outline != 0) {
        wtLineStipple(block->stippleFactor, block->stipplePattern);
        wtLineWidth(static_cast<int8_t>(block->lineWidth));
        vvColor4f(block->lineColor[0], block->lineColor[1], block->lineColor[2], block->lineColor[3]);
        outline(p);
    }
    if (selected != 0 && block->running == 0) {
        wtLineStipple(1, 0xF0F0);
        wtLineWidth(1);
        vvColor4f(1, 0, 0, 1);
        outline(p);
    }
    return 0;
}

int pickPoly(ELEMENT_STRUCT* element, float x, float y)
{
    const POLY_STRUCT* p = vdiRecord<POLY_STRUCT>(element);
    if (p == nullptr)
        return 0;
    int crossings = 0;
    // Every edge once, the closing edge included (an open polygon too).
    for (const COORD_STRUCT* c = p->coords; c != nullptr; c = c->next) {
        const COORD_STRUCT* n = c->next != nullptr ? c->next : p->coords;
        crossings += lineCross(c->x, c->y, n->x, n->y, x, y, x + 1000000.0f, y);
    }
    return crossings % 2;
}

int editPoly(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase, EDIT_PARA_STRUCT* para)
{
    POLY_STRUCT* p = vdiRecord<POLY_STRUCT>(element);
    if (p == nullptr)
        return -1;
    EDIT_PARA_STRUCT none{};
    if (para == nullptr)
        para = &none;
    int status = 0; // -1 once an update ran out of memory
    if (command >= 100) {
        const auto id = uint32_t(command - 100);
        for (COORD_STRUCT* c = p->coords; c != nullptr; c = c->next) {
            if (c->id == id) {
                c->x = para->x;
                c->y = para->y;
            }
        }
        if (element->update != nullptr)
            status = element->update(element);
    } else if (command >= 1 && command <= 16) {
        status = vdiEditPhase(element, handles, command, phase, para, moveVertices);
    } else {
        vdiEditShapeStyle(*p, command, para);
    }
    const int attr = polySetAttr(element);
    return status != 0 ? -1 : attr;
}

int polyCreateFillCoordUp(ELEMENT_STRUCT* element)
{
    return createFillCoords(element, Side::up);
}

int polyCreateFillCoordDown(ELEMENT_STRUCT* element)
{
    return createFillCoords(element, Side::down);
}

int polyCreateFillCoordLeft(ELEMENT_STRUCT* element)
{
    return createFillCoords(element, Side::left);
}

int polyCreateFillCoordRight(ELEMENT_STRUCT* element)
{
    return createFillCoords(element, Side::right);
}

int calcPolyLength(ELEMENT_STRUCT* list)
{
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        if (e->kind == VD_GROUP)
            calcPolyLength(e->children);
        if (!isOpenPoly(e))
            continue;
        auto* p = static_cast<POLY_STRUCT*>(e->data);
        float length = 0;
        const COORD_STRUCT* previous = nullptr;
        for (COORD_STRUCT* c = p->coords; c != nullptr; previous = c, c = c->next) {
            if (previous != nullptr)
                length += std::hypot(c->x - previous->x, c->y - previous->y);
            c->length = length;
        }
        p->pathLength = length;
    }
    return 0;
}

ELEMENT_STRUCT* getPolyByName(ELEMENT_STRUCT* list, const char* name)
{
    if (name == nullptr)
        return nullptr;
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        if (isOpenPoly(e) && std::strncmp(e->name, name, sizeof e->name) == 0)
            return e;
        if (e->kind == VD_GROUP) {
            if (ELEMENT_STRUCT* found = getPolyByName(e->children, name))
                return found;
        }
    }
    return nullptr;
}

int assignMovePoly(ELEMENT_STRUCT* list)
{
    bindPaths(list);
    calcPolyLength(list);
    return 0;
}

int getMovePolyCoord(double fraction, ELEMENT_STRUCT* element, float* x, float* y)
{
    if (!isOpenPoly(element) || x == nullptr || y == nullptr)
        return -1;
    const auto* p = static_cast<const POLY_STRUCT*>(element->data);
    if (!(fraction >= 0)) // NaN too
        fraction = 0;
    if (fraction > 1)
        fraction = 1;
    const double d = fraction * double(p->pathLength);
    // The last segment whose ends enclose d gives the point.
    for (const COORD_STRUCT* c = p->coords; c != nullptr && c->next != nullptr; c = c->next) {
        const COORD_STRUCT* n = c->next;
        if (double(c->length) <= d && d <= double(n->length)) {
            const double span = double(n->length) - double(c->length);
            const double t = span != 0 ? (d - double(c->length)) / span : 1.0;
            *x = float(double(c->x) + t * double(n->x - c->x));
            *y = float(double(c->y) + t * double(n->y - c->y));
        }
    }
    return 0;
}

int resetAllPoly(ELEMENT_STRUCT* list)
{
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        if (e->kind == VD_GROUP)
            resetAllPoly(e->children);
        if (e->kind == VD_CPOLYGON && e->data != nullptr)
            static_cast<POLY_STRUCT*>(e->data)->fillLevel = -1.0f;
    }
    return 0;
}

int actionPoly(ELEMENT_STRUCT* element, POLY_STRUCT*)
{
    if (element == nullptr)
        return -1;
    vdiRotateByActions(element);
    return 0;
}

const char* errorCB(unsigned int error)
{
    return reinterpret_cast<const char*>(gluErrorString(error));
}

void beginCB(unsigned int mode)
{
    wtBegin(mode);
}

void endCB(void)
{
    wtEnd();
}

void vertexCB(void* vertex)
{
    if (vertex == nullptr)
        return;
    const auto* v = static_cast<const double*>(vertex);
    glVertex3f(float(v[0]), float(v[1]), float(v[2]));
}

void combineCB(double coords[3], void* data[4], float weight[4], void** out)
{
    (void)data;
    (void)weight;
    if (out == nullptr)
        return;
    *out = nullptr;
    if (coords == nullptr)
        return;
    // 80 bytes as a vertex record of the tessellator's users; the caller frees it.
    auto* vertex = static_cast<double*>(std::calloc(1, 80));
    if (vertex == nullptr) {
        logMsg(1, "combineCB: out of memory\n");
        return;
    }
    std::memcpy(vertex, coords, 3 * sizeof(double));
    *out = vertex;
}

// Both kinds carry the name "POLYGON".
const ElementKind vdiKindPoly = [] {
    return polyKind("POLYGON", [] { return static_cast<void*>(createPoly(nullptr)); });
}();

const ElementKind vdiKindCPoly = [] {
    return polyKind("POLYGON", [] { return static_cast<void*>(createCPoly(nullptr)); });
}();
