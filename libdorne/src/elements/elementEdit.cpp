// Editing geometry: grab handles and their hit test, the point transform of
// every edit command, the phases of the edit protocol, the small geometry
// tests of picking and fill levels, and the clip boxes of groups.
#include "elements/elementKinds.h"

#include "dorneGl.h"
#include "dorneLog.h"
#include "base/linkedList.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// Modifier keys of the designer; process-wide and unlocked.
int shiftPressed = 0;
int ctrlPressed = 0;

// Factors whose magnitude is at most this are ignored, so that a drag onto
// the anchor never collapses an element.
const float minFactor = 0.001f;

// The handle opposite each box handle 1-8 (the anchor of a drag).
const int oppositeHandle[9] = {0, 5, 6, 7, 8, 1, 2, 3, 4};

// (to - anchor) / (from - anchor), or 1 when from lies on the anchor.
float dragFactor(float to, float anchor, float from)
{
    const float span = from - anchor;
    return span == 0.0f ? 1.0f : (to - anchor) / span;
}

// Whether the element has a kind record that an edit backs up.
bool holdsRecord(const ELEMENT_STRUCT* element)
{
    const ElementKind* kind = vdiElementKind(element->kind);
    return element->data != nullptr && kind != nullptr && kind->recordSize != 0;
}

void* copyRecord(const ELEMENT_STRUCT* element)
{
    if (!holdsRecord(element))
        return nullptr;
    const ElementKind* kind = vdiElementKind(element->kind);
    if (kind->copyBackup != nullptr)
        return kind->copyBackup(element->data);
    void* copy = std::malloc(kind->recordSize);
    if (copy == nullptr) {
        logMsg(1, "editBackup: out of memory\n");
        return nullptr;
    }
    std::memcpy(copy, element->data, kind->recordSize);
    return copy;
}

} // namespace

STICKY_STRUCT* createSticky(void)
{
    auto* sticky = static_cast<STICKY_STRUCT*>(std::calloc(1, sizeof(STICKY_STRUCT)));
    if (sticky == nullptr)
        logMsg(1, "createSticky: out of memory\n");
    return sticky;
}

int appendSticky(STICKY_STRUCT** head, STICKY_STRUCT* sticky)
{
    return dorne::listAppend(head, sticky);
}

int delSticky(STICKY_STRUCT** head, STICKY_STRUCT* sticky)
{
    return dorne::listDelete(head, sticky);
}

STICKY_STRUCT* getSticky(STICKY_STRUCT* list, int id)
{
    for (STICKY_STRUCT* s = list; s != nullptr; s = s->next)
        if (s->id == uint32_t(id))
            return s;
    return nullptr;
}

int findSticky(STICKY_STRUCT* list, float x, float y, float zoom)
{
    for (STICKY_STRUCT* s = list; s != nullptr; s = s->next) {
        if (s->type != 1 && s->type != 3 && s->type != 4)
            continue;
        const float hw = s->halfWidth / zoom;
        const float hh = s->halfHeight / zoom;
        if (x > s->x - hw && x < s->x + hw && y > s->y - hh && y < s->y + hh) {
            s->selected = 1;
            return int(s->id);
        }
        s->selected = 0;
    }
    return 0;
}

int setShift(int flag)
{
    shiftPressed = flag;
    return 0;
}

int setCtrl(int flag)
{
    ctrlPressed = flag;
    return 0;
}

int resizeMoveElement(ELEMENT_STRUCT* element, int command, float* resultX, float* resultY, float p1,
                      float p2, float x, float y)
{
    if (element == nullptr || resultX == nullptr || resultY == nullptr)
        return -1;
    if (command < 1 || command > 16)
        return 0;
    const STICKY_STRUCT* h = element->savedHandles;
    const STICKY_STRUCT& centre = h[9];
    const STICKY_STRUCT& anchor = (shiftPressed || command >= 9) ? centre : h[oppositeHandle[command]];

    switch (command) {
    case 1:
    case 3:
    case 5:
    case 7: {
        float sx = dragFactor(p1, anchor.x, h[command].x);
        float sy = dragFactor(p2, anchor.y, h[command].y);
        if (ctrlPressed)
            sx = sy = std::fabs(sx) >= std::fabs(sy) ? sx : sy;
        if (std::fabs(sx) > minFactor)
            *resultX = anchor.x + (x - anchor.x) * sx;
        if (std::fabs(sy) > minFactor)
            *resultY = anchor.y + (y - anchor.y) * sy;
        break;
    }
    case 2:
    case 6: {
        const float sy = dragFactor(p2, anchor.y, h[command].y);
        if (std::fabs(sy) > minFactor) {
            *resultY = anchor.y + (y - anchor.y) * sy;
            *resultX = x;
        }
        break;
    }
    case 4:
    case 8: {
        const float sx = dragFactor(p1, anchor.x, h[command].x);
        if (std::fabs(sx) > minFactor) {
            *resultX = anchor.x + (x - anchor.x) * sx;
            *resultY = y;
        }
        break;
    }
    case 9:
        *resultX = x + p1 - centre.x;
        *resultY = y + p2 - centre.y;
        break;
    case 10: {
        const float width = std::fabs(h[8].x - h[4].x);
        const float s = width == 0.0f ? 1.0f : p1 / width;
        if (std::fabs(s) > minFactor) {
            *resultX = centre.x + (x - centre.x) * s;
            *resultY = y;
        }
        break;
    }
    case 11: {
        const float height = std::fabs(h[2].y - h[6].y);
        const float s = height == 0.0f ? 1.0f : p2 / height;
        if (std::fabs(s) > minFactor) {
            *resultY = centre.y + (y - centre.y) * s;
            *resultX = x;
        }
        break;
    }
    case 12:
        if (std::fabs(p1) > minFactor) {
            *resultX = centre.x + (x - centre.x) * p1;
            *resultY = y;
        }
        break;
    case 13:
        if (std::fabs(p2) > minFactor) {
            *resultY = centre.y + (y - centre.y) * p2;
            *resultX = x;
        }
        break;
    case 14:
        *resultX = centre.x - (x - centre.x);
        *resultY = y;
        break;
    case 15:
        *resultY = centre.y - (y - centre.y);
        *resultX = x;
        break;
    case 16: {
        const float a = p1 * 0.017453292f; // counter-clockwise
        const float dx = x - centre.x;
        const float dy = y - centre.y;
        *resultX = centre.x + (dx * std::cos(a) - dy * std::sin(a));
        *resultY = centre.y + (dx * std::sin(a) + dy * std::cos(a));
        break;
    }
    }
    return 0;
}

int pointInRect(float x, float y, float x1, float y1, float x2, float y2)
{
    return std::min(x1, x2) <= x && x <= std::max(x1, x2) && std::min(y1, y2) <= y && y <= std::max(y1, y2);
}

namespace {

// The line parameters of the meeting point of two segments; false when the
// lines are parallel (or a segment has no length).
template <typename T>
bool meetingParameters(T x1, T y1, T x2, T y2, T x3, T y3, T x4, T y4, T& t1, T& t2)
{
    const T d1x = x2 - x1, d1y = y2 - y1;
    const T d2x = x4 - x3, d2y = y4 - y3;
    if (d1x != 0) {
        const T denominator = d1y * d2x - d1x * d2y;
        if (denominator == 0)
            return false;
        t2 = (d1y * x1 + d1x * y3 - y1 * d1x - d1y * x3) / denominator;
        t1 = (t2 * d2x + x3 - x1) / d1x;
    } else {
        const T denominator = d1x * d2y - d1y * d2x;
        if (denominator == 0)
            return false;
        t2 = (d1x * y1 + d1y * x3 - x1 * d1y - d1x * y3) / denominator;
        t1 = (t2 * d2y + y3 - y1) / d1y;
    }
    return true;
}

template <typename T>
bool onBothSegments(T t1, T t2)
{
    return t1 >= 0 && t1 <= 1 && t2 >= 0 && t2 <= 1;
}

} // namespace

int lineCross(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4)
{
    float t1 = 0, t2 = 0;
    return meetingParameters(x1, y1, x2, y2, x3, y3, x4, y4, t1, t2) && onBothSegments(t1, t2);
}

int VLineCross2(double* x, double* y, double x1, double y1, double x2, double y2, double x3, double y3,
                double x4, double y4)
{
    double t1 = 0, t2 = 0;
    if (!meetingParameters(x1, y1, x2, y2, x3, y3, x4, y4, t1, t2))
        return 0;
    if (x != nullptr)
        *x = x1 + t1 * (x2 - x1);
    if (y != nullptr)
        *y = y1 + t1 * (y2 - y1);
    return onBothSegments(t1, t2);
}

int pointInPolygon(const float* x, const float* y, int n, float px, float py)
{
    if (x == nullptr || y == nullptr)
        return 0;
    int crossings = 0;
    for (int i = 0; i + 1 < n; ++i) // n - 1 edges; the closing edge is not tested
        crossings += lineCross(x[i], y[i], x[i + 1], y[i + 1], px, py, 0.0f, 1000000.0f);
    return crossings % 2;
}

// ---- Inside the library ----

void vdiFreeEditBackup(ELEMENT_STRUCT* element)
{
    if (element->editBackup == nullptr)
        return;
    const ElementKind* kind = vdiElementKind(element->kind);
    if (kind != nullptr && kind->freeBackup != nullptr)
        kind->freeBackup(element->editBackup);
    else
        std::free(element->editBackup);
    element->editBackup = nullptr;
}

int vdiEditPhase(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase,
                 EDIT_PARA_STRUCT* para, EditApplyFn apply)
{
    if (element == nullptr)
        return -1;
    int status = 0;
    switch (phase) {
    case 0:
        vdiFreeEditBackup(element); // a begin without an end leaves no copy behind
        element->editBackup = copyRecord(element);
        // Without the copy the drag has nothing to move from.
        if (element->editBackup == nullptr && holdsRecord(element))
            status = -1;
        for (STICKY_STRUCT* s = handles; s != nullptr; s = s->next) {
            if (s->id < 10) {
                element->savedHandles[s->id].x = s->x;
                element->savedHandles[s->id].y = s->y;
            }
        }
        break;
    case 1:
        if (element->editBackup != nullptr && apply != nullptr)
            apply(element, element->editBackup, command, para);
        break;
    case 2:
        vdiFreeEditBackup(element);
        break;
    case 3: {
        // Each phase's update rebuilds the element's own handles: when those
        // are the list given, the next phase gets the rebuilt list.
        const bool ownHandles = handles != nullptr && handles == element->stickies;
        for (int p = 0; p < 3; ++p) {
            const int done = element->edit != nullptr ? element->edit(element, handles, command, p, para)
                                                      : vdiEditPhase(element, handles, command, p, para, apply);
            if (done != 0)
                status = -1;
            if (ownHandles)
                handles = element->stickies;
        }
        return status;
    }
    default:
        return 0;
    }
    if (element->update != nullptr && element->update(element) != 0)
        status = -1;
    return status;
}

STICKY_STRUCT* vdiAppendHandle(ELEMENT_STRUCT* element, uint32_t id, uint8_t type, float x, float y,
                               float halfWidth, float halfHeight, STICKY_STRUCT* last)
{
    STICKY_STRUCT* s = createSticky();
    if (s == nullptr)
        return nullptr;
    s->id = id;
    s->type = type;
    s->x = x;
    s->y = y;
    s->halfWidth = halfWidth;
    s->halfHeight = halfHeight;
    if (last != nullptr)
        dorne::listInsertAfter(&element->stickies, s, last);
    else
        appendSticky(&element->stickies, s);
    return s;
}

HandleRebuild::HandleRebuild(ELEMENT_STRUCT* element) : element_(element), old_(element->stickies)
{
    element->stickies = nullptr;
}

int HandleRebuild::settle(bool made)
{
    if (settled_)
        return 0;
    settled_ = true;
    STICKY_STRUCT* drop = made ? old_ : element_->stickies;
    while (drop != nullptr)
        delSticky(&drop, drop);
    if (!made)
        element_->stickies = old_;
    return made ? 0 : -1;
}

bool vdiAppendBoxHandles(ELEMENT_STRUCT* element, const uint8_t* ids, int count, float minX, float minY,
                         float maxX, float maxY, float midX, float midY, STICKY_STRUCT* last)
{
    bool made = true;
    // Places of handles 1-9 as (x, y) choices: 0 min, 1 mid, 2 max.
    static const uint8_t place[10][2] = {{1, 1}, {0, 2}, {1, 2}, {2, 2}, {2, 1},
                                         {2, 0}, {1, 0}, {0, 0}, {0, 1}, {1, 1}};
    const float xs[3] = {minX, midX, maxX};
    const float ys[3] = {minY, midY, maxY};
    for (int i = 0; i < count; ++i) {
        const uint8_t id = ids[i] <= 9 ? ids[i] : 9;
        const float x = xs[place[id][0]], y = ys[place[id][1]];
        if (STICKY_STRUCT* s = vdiAppendHandle(element, id, id == 9 ? 3 : 1, x, y, 4, 4, last))
            last = s;
        else
            made = false;
    }
    return made;
}

bool vdiAppendBoxRecord(ELEMENT_STRUCT* element, float minX, float minY, float maxX, float maxY)
{
    return vdiAppendHandle(element, 0, 0, minX, minY, maxX - minX, maxY - minY) != nullptr;
}

void vdiSetElementBox(ELEMENT_STRUCT* element, float minX, float minY, float maxX, float maxY)
{
    element->pickAsLine = 0;
    element->minX = minX;
    element->minY = minY;
    element->maxX = maxX;
    element->maxY = maxY;
    element->centreX = element->x = (maxX - minX) / 2 + minX;
    element->centreY = element->y = (maxY - minY) / 2 + minY;
    element->width = maxX - minX;
    element->height = maxY - minY;
}

bool vdiCornerUpdate(ELEMENT_STRUCT* element, const float* cornerX, const float* cornerY, float* drawX,
                     float* drawY)
{
    HandleRebuild rebuild(element);
    const float minX = std::min({cornerX[0], cornerX[1], cornerX[2], cornerX[3]});
    const float maxX = std::max({cornerX[0], cornerX[1], cornerX[2], cornerX[3]});
    const float minY = std::min({cornerY[0], cornerY[1], cornerY[2], cornerY[3]});
    const float maxY = std::max({cornerY[0], cornerY[1], cornerY[2], cornerY[3]});
    const float cx = (maxX - minX) / 2 + minX;
    const float cy = (maxY - minY) / 2 + minY;
    static const uint8_t ids[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    bool made = vdiAppendBoxHandles(element, ids, 9, minX, minY, maxX, maxY, cx, cy);
    made = vdiAppendBoxRecord(element, minX, minY, maxX, maxY) && made;
    vdiSetElementBox(element, minX, minY, maxX, maxY);
    for (int i = 0; i < 4; ++i) {
        drawX[i] = cornerX[i] - cx;
        drawY[i] = cornerY[i] - cy;
    }
    return rebuild.settle(made) == 0;
}

void vdiMoveCorners(ELEMENT_STRUCT* element, int command, const EDIT_PARA_STRUCT* para, const float* fromX,
                    const float* fromY, float* toX, float* toY)
{
    for (int i = 0; i < 4; ++i)
        resizeMoveElement(element, command, &toX[i], &toY[i], para->x, para->y, fromX[i], fromY[i]);
}

int vdiPixelToInt(float v)
{
    // Corrupt geometry or a huge zoom must not overflow the conversion.
    if (std::isnan(v))
        return 0;
    const float limit = 2147483520.0f; // the largest float below 2^31
    return int(std::clamp(v, -limit, limit));
}

void vdiResetAttr(ATTR_STRUCT& attr, int lineStyle, int stippleFactor, uint16_t stipplePattern,
                  float lineWidth, const float (&line)[4], const float (&fill)[4])
{
    attr.lineStyle = static_cast<uint8_t>(lineStyle);
    attr.stippleFactor = stippleFactor;
    attr.stipplePattern = stipplePattern;
    attr.lineWidth = static_cast<uint8_t>(vdiPixelToInt(lineWidth));
    std::memcpy(attr.lineColor, line, sizeof attr.lineColor);
    std::memcpy(attr.fillColor, fill, sizeof attr.fillColor);
    attr.visible = 1;
    attr.text[0] = '\0';
    vdiClearOverrides(&attr);
}

void vdiLineStipple(int style, int32_t& factor, uint16_t& pattern)
{
    int f = 1;
    unsigned short p = 0xFFFF;
    getLineStipple(style, &f, &p);
    factor = f;
    pattern = p;
}

void vdiPatternBits(int pattern, uint8_t* bits)
{
    std::memcpy(bits, getPattern(pattern), DORNE_PATTERN_BYTES);
}

void vdiClearOverrides(ATTR_STRUCT* attr)
{
    attr->lineStyleOverride = 0;
    attr->lineWidthOverride = 0;
    attr->lineColorOverride = 0;
    attr->fillColorOverride = 0;
    attr->visibleOverride = 0;
    attr->blinkOverride = 0;
    attr->textOverride = 0;
}

int vdiDraw2screenpix(float* pixelX, float* pixelY, float offsetX, float offsetY, float originX,
                      float originY, float zoom, float x, float y)
{
    if (pixelX == nullptr || pixelY == nullptr)
        return -1;
    *pixelX = (x - originX) * zoom + offsetX;
    *pixelY = (y - originY) * zoom + offsetY;
    return 0;
}

int vdiFindScissor(ELEMENT_STRUCT* list, float offsetX, float offsetY, float originX, float originY,
                   float zoom)
{
    vdiVisitScissors(list, [=](ELEMENT_STRUCT* e, const ELEMENT_STRUCT* child) {
        const auto* scissor = static_cast<const SCISSOR_STRUCT*>(child->data);
        float px[4], py[4];
        for (int i = 0; i < 4; ++i)
            vdiDraw2screenpix(&px[i], &py[i], offsetX, offsetY, originX, originY, zoom, scissor->cornerX[i],
                              scissor->cornerY[i]);
        e->clipBoxX = vdiPixelToInt(std::min(px[0], px[2]));
        e->clipBoxY = vdiPixelToInt(std::min(py[0], py[1]));
        e->clipBoxWidth = vdiPixelToInt(std::fabs(px[0] - px[2]));
        e->clipBoxHeight = vdiPixelToInt(std::fabs(py[0] - py[1]));
        const float cx = child->x, cy = child->y;
        const float hw = child->width / 2, hh = child->height / 2;
        const float quadX[4] = {cx - hw, cx + hw, cx + hw, cx - hw};
        const float quadY[4] = {cy - hh, cy - hh, cy + hh, cy + hh};
        std::memcpy(e->clipQuadX, quadX, sizeof quadX);
        std::memcpy(e->clipQuadY, quadY, sizeof quadY);
    });
    return 0;
}
