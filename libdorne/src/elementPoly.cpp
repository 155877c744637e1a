// POLYGON elements, open (polyline) and closed: the kind record with its
// defaults; the record owns its outline and fill vertex lists, and an edit
// backup owns its own copy of the outline.
#include "elementKinds.h"

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

void releasePoly(void* record)
{
    auto* poly = static_cast<POLY_STRUCT*>(record);
    deleteCoords(&poly->coords);
    deleteCoords(&poly->fillCoords);
}

// The record with a copy of its outline (the vertices keep their ids, the
// running id does not move); no fill list.
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
    for (const COORD_STRUCT* c = poly->coords; c != nullptr; c = c->next) {
        auto* copy = static_cast<COORD_STRUCT*>(std::malloc(sizeof(COORD_STRUCT)));
        if (copy == nullptr) {
            logMsg(1, "editPoly: out of memory\n");
            releasePoly(backup);
            std::free(backup);
            return nullptr;
        }
        std::memcpy(copy, c, sizeof(COORD_STRUCT));
        appendCoord(&backup->coords, copy);
    }
    return backup;
}

void freePolyBackup(void* backup)
{
    releasePoly(backup);
    std::free(backup);
}

constexpr ElementKind polyKind(const char* name, void* (*create)())
{
    ElementKind k = vdiDescribeKind(name, sizeof(POLY_STRUCT), create);
    k.releaseRecord = releasePoly;
    k.copyBackup = copyPolyBackup;
    k.freeBackup = freePolyBackup;
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

// Both kinds carry the name "POLYGON".
const ElementKind vdiKindPoly = [] {
    return polyKind("POLYGON", [] { return static_cast<void*>(createPoly(nullptr)); });
}();

const ElementKind vdiKindCPoly = [] {
    return polyKind("POLYGON", [] { return static_cast<void*>(createCPoly(nullptr)); });
}();
