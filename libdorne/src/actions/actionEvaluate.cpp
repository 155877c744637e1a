// Frame evaluation of actions: reading and filtering bound values, the
// matrix actions (move, scale, rotate about a pivot), threshold picks into
// the attribute block, text readouts and visibility.
#include "dorneElements.h"

#include "actions/actionFormat.h"
#include "data/dataValue.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Every frame advances the filters by this step, whatever the frame rate.
const float frameStep = 0.1f;

// The entry of a threshold list for v: the last one whose level lies
// strictly below v, the first when none does; null for an empty list.
const TH_STRUCT* pickThreshold(const TH_STRUCT* list, double v)
{
    const TH_STRUCT* picked = list;
    for (const TH_STRUCT* th = list; th != nullptr; th = th->next)
        if (th->level < v)
            picked = th;
    return picked;
}

// Bytes the action's first variable stores (and its snapshot holds). The
// value type may come from the second variable, so it cannot size a copy.
size_t boundSize(const ACTION_STRUCT* a)
{
    return a->varRecord != nullptr ? dorne::valueStorageSize(a->varRecord->type) : 8;
}

// Double to float for GL, without overflowing the conversion.
float glFloat(double v)
{
    return static_cast<float>(std::clamp(v, -3.4e38, 3.4e38));
}

void matrixTranslate(ELEMENT_STRUCT* element, double dx, double dy)
{
    glTranslatef(glFloat(dx), glFloat(dy), 0.0f);
    elementMove(element, glFloat(dx), glFloat(dy));
}

// Scales or rotates about the action's pivot (9: about the origin).
template <typename Apply>
void aboutPivot(ELEMENT_STRUCT* element, const ACTION_STRUCT* a, Apply apply)
{
    if (a->pivot != 9)
        objMove(element, a->pivot, 0);
    apply();
    if (a->pivot != 9)
        objMove(element, a->pivot, 1);
}

// Type 0 on a TEXT element: the readout of the value into the attribute text.
void applyText(ELEMENT_STRUCT* element, const ACTION_STRUCT* a, double v)
{
    char buffer[256] = "XXX";
    const char* format = a->format;
    if (a->valueType == DD_STRING) {
        if (a->value == nullptr) {
            std::snprintf(buffer, sizeof buffer, "Var %.*s not found", int(strnlen(a->var, sizeof a->var)),
                          a->var);
        } else {
            const char* text = a->snapshot != nullptr ? static_cast<const char*>(a->snapshot) : "";
            const size_t textSize = a->snapshot != nullptr ? boundSize(a) : 1;
            dorne::formatActionText(buffer, sizeof buffer, format, sizeof a->format, text, textSize);
        }
    } else if (a->valueType >= DD_FLOAT && a->valueType <= DD_ULONG) {
        dorne::formatActionNumber(buffer, sizeof buffer, format, sizeof a->format,
                                  dorne::reduceActionValue(a->valueType, v, format, sizeof a->format));
    }
    std::memcpy(element->attr.text, buffer, sizeof element->attr.text);
    element->attr.text[sizeof element->attr.text - 1] = '\0';
    element->attr.textOverride = 1;
}

// Types 18-21 on a closed polygon: the fill cut at the level v (0..1),
// rebuilt and tessellated only when the level has moved by more than one
// unit of the box (or is unknown, as at view start).
void applyFillLevel(ELEMENT_STRUCT* element, int type, double v)
{
    auto* poly = static_cast<POLY_STRUCT*>(element->data);
    if (element->kind != VD_CPOLYGON || poly == nullptr)
        return;
    v = v > 1 ? 1 : v >= 0 ? v : 0; // NaN as 0
    const bool vertical = type == 18 || type == 19;
    const double span = vertical ? element->maxY - element->minY : element->maxX - element->minX;
    // |moved| > 1 / span, where a box without height or width never moves.
    if (poly->fillLevel >= 0 && !(std::fabs(double(poly->fillLevel) - v) * span > 1))
        return;
    poly->fillLevel = float(v);
    static int (*const cut[4])(ELEMENT_STRUCT*) = {polyCreateFillCoordUp, polyCreateFillCoordDown,
                                                   polyCreateFillCoordLeft, polyCreateFillCoordRight};
    cut[type - 18](element);
    polyMakeList(poly, 1);
}

void applyAction(ELEMENT_STRUCT* element, const ACTION_STRUCT* a, double v)
{
    ATTR_STRUCT& attr = element->attr;
    const TH_STRUCT* th = nullptr;
    switch (a->type) {
    case 0:
        if (element->kind == VD_TEXT)
            applyText(element, a, v);
        break;
    case 1:
        matrixTranslate(element, v, 0);
        break;
    case 2:
        matrixTranslate(element, 0, v);
        break;
    case 3:
        aboutPivot(element, a, [v] { glScalef(glFloat(v), 1.0f, 1.0f); });
        break;
    case 4:
        aboutPivot(element, a, [v] { glScalef(1.0f, glFloat(v), 1.0f); });
        break;
    case 16:
        aboutPivot(element, a, [v] { glScalef(glFloat(v), glFloat(v), 1.0f); });
        break;
    case 5: // positive values turn clockwise
        aboutPivot(element, a, [v] { glRotatef(glFloat(-v), 0.0f, 0.0f, 1.0f); });
        break;
    case 7:
        matrixTranslate(element, v * element->width, 0);
        break;
    case 8:
        matrixTranslate(element, 0, v * element->height);
        break;
    case 9:
        matrixTranslate(element, v - element->x, 0);
        break;
    case 10:
        matrixTranslate(element, 0, v - element->y);
        break;
    case 11: { // along the path; a path of one vertex leaves the element in place
        float px = element->x, py = element->y;
        if (getMovePolyCoord(v, a->polyElement, &px, &py) == 0)
            matrixTranslate(element, double(px) - element->x, double(py) - element->y);
        break;
    }
    case 12:
    case 13:
        if ((th = pickThreshold(a->thColor.list, v)) != nullptr) {
            float* color = a->type == 12 ? attr.lineColor : attr.fillColor;
            color[0] = th->r;
            color[1] = th->g;
            color[2] = th->b;
            (a->type == 12 ? attr.lineColorOverride : attr.fillColorOverride) = 1;
        }
        break;
    case 14:
        if ((th = pickThreshold(a->thWidth.list, v)) != nullptr) {
            attr.lineWidth = static_cast<uint8_t>(th->intValue);
            attr.lineWidthOverride = 1;
        }
        break;
    case 15:
        if ((th = pickThreshold(a->thStyle.list, v)) != nullptr) {
            attr.lineStyle = static_cast<uint8_t>(th->intValue);
            attr.stippleFactor = th->stippleFactor;
            attr.stipplePattern = th->stipplePattern;
            attr.lineStyleOverride = 1;
        }
        break;
    case 17:
        if (a->visibleMode == 0) {
            if ((th = pickThreshold(a->thVisibility.list, v)) != nullptr)
                setVisible(element, th->intValue);
        } else {
            setVisible(element, std::fabs(v - a->visibleValue) < 0.1 ? 1 : 0);
        }
        break;
    case 18:
    case 19:
    case 20:
    case 21:
        applyFillLevel(element, a->type, v);
        break;
    case 23: // a BUTTON's pressed state
        attr.lineStyle = static_cast<uint8_t>(static_cast<int8_t>(dorne::truncateInt32(v)));
        attr.lineColorOverride = 1;
        break;
    case 24:
        attr.arcEnd = glFloat(v * 0.017453292);
        break;
    case 25:
        if ((th = pickThreshold(a->thBlink.list, v)) != nullptr) {
            attr.blink = th->intValue != 0 ? 1 : 0;
            attr.blinkRate = static_cast<uint8_t>(th->intValue);
            attr.blinkOverride = 1;
        }
        break;
    default:
        // 6 graph samples and 22 mouse input act elsewhere.
        break;
    }
}

} // namespace

double getActionFloatData(ACTION_STRUCT* action, int selector, float dt)
{
    if (action == nullptr)
        return 0;
    const void* storage = selector == 0   ? action->snapshot
                          : selector == 1 ? action->value
                          : selector == 2 ? action->secondValue
                                          : nullptr;
    if (storage == nullptr)
        return 0;
    const double raw = dorne::readNumber(storage, action->valueType);
    switch (action->filter) {
    case 0:
        return raw;
    case 1: // sample and hold
        action->filterElapsed += dt;
        if (action->filterElapsed > action->filterTime) {
            action->filterState = static_cast<float>(std::clamp(raw, -3.4e38, 3.4e38));
            action->filterElapsed = 0;
            return raw;
        }
        return action->filterState;
    case 2: { // first-order lag, in single precision
        const float in = static_cast<float>(std::clamp(raw, -3.4e38, 3.4e38));
        const float span = action->filterTime + dt;
        // Without a time span (time constant 0 read with no step) the lag
        // has nothing to smooth: the input passes.
        action->filterState = span != 0.0f ? (in * dt + action->filterState * action->filterTime) / span : in;
        return action->filterState;
    }
    default:
        return 0;
    }
}

int getAB(float* offset, float* slope, float x1, float y1, float x2, float y2)
{
    if (offset == nullptr || slope == nullptr)
        return -1;
    if (x1 == x2) {
        *offset = 0.0f;
        *slope = 1.0f;
        return 0;
    }
    *slope = (y1 - y2) / (x1 - x2);
    *offset = y1 - *slope * x1;
    return 0;
}

int objMove(ELEMENT_STRUCT* element, int pivot, int back)
{
    if (element == nullptr)
        return -1;
    const float s = back != 0 ? -1.0f : 1.0f;
    const float w = s * element->width / 2;
    const float h = s * element->height / 2;
    // With y upward, 1 is the top-left corner; the points run clockwise.
    static const float factors[9][2] = {{0, 0},  {-1, 1}, {0, 1},   {1, 1}, {1, 0},
                                        {1, -1}, {0, -1}, {-1, -1}, {-1, 0}};
    if (pivot >= 0 && pivot <= 8)
        glTranslatef(factors[pivot][0] * w, factors[pivot][1] * h, 0.0f);
    return 0;
}

int elementMove(ELEMENT_STRUCT* element, float dx, float dy)
{
    if (element == nullptr)
        return -1;
    element->pickTransform[2] += dx;
    element->pickTransform[5] += dy;
    return 0;
}

int setVisible(ELEMENT_STRUCT* element, int flag)
{
    if (element == nullptr)
        return -1;
    element->attr.visible = static_cast<uint8_t>(flag);
    element->attr.visibleOverride = 1;
    for (ELEMENT_STRUCT* child = element->children; child != nullptr; child = child->next)
        setVisible(child, flag);
    return 0;
}

int doAction(ELEMENT_STRUCT* element, int hold)
{
    if (element == nullptr)
        return -1;
    static const float identity[6] = {1, 0, 0, 0, 1, 0};
    std::memcpy(element->pickTransform, identity, sizeof identity);
    // Bounded by the element's action list; allocates nothing.
    for (ACTION_STRUCT* a = element->actions; a != nullptr; a = a->next) {
        if (hold == 0 && a->value != nullptr && a->snapshot != nullptr)
            std::memcpy(a->snapshot, a->value, boundSize(a));
        double v = 0;
        if (a->value != nullptr && a->type != 6) {
            v = a->offset + a->slope * getActionFloatData(a, 0, frameStep);
            if (a->limit != 0) {
                const double lo = std::min(a->b0, a->b1), hi = std::max(a->b0, a->b1);
                v = v < lo ? lo : v > hi ? hi : v;
            }
        }
        applyAction(element, a, v);
    }
    return 0;
}
