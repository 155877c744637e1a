// TEXT elements: the kind record with its defaults and font, alignment of
// the shown text against the template, grab handles, drawing through the
// font library, edits, and the conversions of old view files' texts.
#include "elements/elementKinds.h"

#include "dorneGl.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// The size the element factory gives a new text.
const int factorySize = 30;

// Set when an edit changes a text's font, cleared when a text is drawn.
// Process-wide and unlocked like the rest of editing.
int textUpdated = 0;

const float degreesPerRadian = 57.29577951f;
const float radiansPerDegree = 0.017453292f;

void releaseText(void* record)
{
    auto* text = static_cast<TEXT_STRUCT*>(record);
    vdiFontRelease(text->font);
    text->font = nullptr;
}

// The record's font made again from its family, style and size.
void remakeFont(TEXT_STRUCT& t)
{
    vdiFontRelease(t.font);
    t.font = vdiFontCreate(t.family, t.style, t.size);
}

// Width and height of a text as the element lays it out: an outline text's
// width scaled by displaySize / size and truncated, its height displaySize;
// a bitmap text's as the font library gives them.
struct Extent
{
    int width = 0;
    int height = 0;
};

float displayScale(const TEXT_STRUCT& t)
{
    return t.size != 0 ? float(t.displaySize) / float(t.size) : 1.0f;
}

Extent measure(const TEXT_STRUCT& t, const char* s)
{
    Extent e;
    vdiFontMetric(t.font, s, e.width, e.height);
    if (t.scalable != 0) {
        e.width = vdiPixelToInt(float(e.width) * displayScale(t));
        e.height = t.displaySize;
    }
    return e;
}

void setCorners(TEXT_STRUCT& t, const Extent& e)
{
    const float w = float(e.width) / 2, h = float(e.height) / 2;
    const float xs[4] = {w, w, -w, -w}, ys[4] = {-h, h, h, -h};
    std::memcpy(t.cornerX, xs, sizeof xs);
    std::memcpy(t.cornerY, ys, sizeof ys);
}

// The matrix turned counter-clockwise by t radians: R(t) m.
void rotate(float (&to)[4], const float (&m)[4], float t)
{
    const float c = std::cos(t), s = std::sin(t);
    const float a = m[0], b = m[1], cc = m[2], d = m[3];
    to[0] = a * c - cc * s;
    to[1] = b * c - d * s;
    to[2] = a * s + cc * c;
    to[3] = b * s + d * c;
}

// Multiplies the current matrix by the record's (a, c in the first column,
// b, d in the second): x' = a x + b y, y' = c x + d y.
void multMatrix(const TEXT_STRUCT& t)
{
    const GLfloat m[16] = {t.matrix[0], t.matrix[2], 0, 0, t.matrix[1], t.matrix[3], 0, 0,
                           0,           0,           1, 0, 0,           0,           0, 1};
    glMultMatrixf(m);
}

// Offset of the shown text (width shown) from the anchor by the alignment,
// against the template (width templ): the box is centred on the anchor.
void alignOffset(int align, int shown, int templ, int height, float& dx, float& dy)
{
    dx = 0;
    dy = -float(height) / 2;
    switch (align) {
    case 2:
    case 6:
    case 9:
        dx = -float(shown) / 2;
        break;
    case 1:
    case 7:
    case 8:
        dx = -float(templ) / 2;
        break;
    case 3:
    case 4:
    case 5:
        dx = float(templ) / 2 - float(shown);
        break;
    default:
        dy = 0;
        break;
    }
}

// Moves the text's anchor and scales its matrix from the backed-up record
// (phase 1 of commands 1-15); the scale stays 1 along an axis the backed-up
// box has no extent in.
void scaleText(ELEMENT_STRUCT* element, const void* backup, int command, const EDIT_PARA_STRUCT* para)
{
    TEXT_STRUCT* t = vdiRecord<TEXT_STRUCT>(element);
    const auto* b = static_cast<const TEXT_STRUCT*>(backup);
    auto move = [&](float x, float y, float& rx, float& ry) {
        rx = x;
        ry = y;
        resizeMoveElement(element, command, &rx, &ry, para->x, para->y, x, y);
    };
    const float minX = b->x + b->box[0], minY = b->y + b->box[1];
    const float maxX = b->x + b->box[2], maxY = b->y + b->box[3];
    float nMinX = 0, nMinY = 0, nMaxX = 0, nMaxY = 0;
    move(b->x, b->y, t->x, t->y);
    move(minX, minY, nMinX, nMinY);
    move(maxX, maxY, nMaxX, nMaxY);
    const float sx = minX != maxX ? (nMinX - nMaxX) / (minX - maxX) : 1.0f;
    const float sy = maxY != minY ? (nMaxY - nMinY) / (maxY - minY) : 1.0f;
    t->matrix[0] = b->matrix[0] * sx;
    t->matrix[1] = b->matrix[1] * sx;
    t->matrix[2] = b->matrix[2] * sy;
    t->matrix[3] = b->matrix[3] * sy;
}

// Phase 1 of command 16: the anchor turned about the saved centre, the
// matrix turned by the angle from its backed-up state, so that every drag
// step turns by the angle since the edit began.
void turnText(ELEMENT_STRUCT* element, const void* backup, int command, const EDIT_PARA_STRUCT* para)
{
    TEXT_STRUCT* t = vdiRecord<TEXT_STRUCT>(element);
    const auto* b = static_cast<const TEXT_STRUCT*>(backup);
    t->x = b->x;
    t->y = b->y;
    resizeMoveElement(element, command, &t->x, &t->y, para->x, para->y, b->x, b->y);
    rotate(t->matrix, b->matrix, para->x * radiansPerDegree);
}

// Commands 1-16 by phase. Commands 1-15 start with every saved handle on
// the anchor (a bitmap text has handle 9 only); the end of a drag makes the
// outline font again at the size the matrix now shows.
int editGeometry(ELEMENT_STRUCT* element, TEXT_STRUCT& t, STICKY_STRUCT* handles, int command, int phase,
                 EDIT_PARA_STRUCT* para)
{
    if (phase == 0 && command != 16) {
        for (STICKY_STRUCT& s : element->savedHandles) {
            s.x = t.x;
            s.y = t.y;
        }
    }
    if (phase == 2 && command != 16 && t.scalable != 0) {
        const float size = std::hypot(t.matrix[2] * float(t.displaySize), t.matrix[3] * float(t.displaySize));
        t.size = std::max(1, vdiPixelToInt(size));
        remakeFont(t);
        textUpdated = 1;
    }
    return vdiEditPhase(element, handles, command, phase, para, command == 16 ? turnText : scaleText);
}

// After a change of font: corners and handles from the new metrics; -1
// when memory ran out for a handle.
int refit(ELEMENT_STRUCT* element, TEXT_STRUCT& t)
{
    textUpdated = 1;
    calcVecTextNew(&t);
    return textSetPickSticky(element);
}

// Old bitmap font numbers 0-39: style by the number modulo 4, size by
// blocks (0-7 11, 8-15 14, 16-19 17, 20-27 20, 28-35 25, 36-39 34).
bool oldFont(int index, int& style, int& size)
{
    static const int styles[4] = {1, 4, 2, 8};
    static const struct
    {
        int last;
        int size;
    } blocks[] = {{7, 11}, {15, 14}, {19, 17}, {27, 20}, {35, 25}, {39, 34}};
    if (index < 0 || index > 39)
        return false;
    style = styles[index % 4];
    for (const auto& b : blocks) {
        if (index <= b.last) {
            size = b.size;
            break;
        }
    }
    return true;
}

void drawFrame(const TEXT_STRUCT& t, const Extent& shown, float dx, float dy)
{
    wtLineStipple(1, 0xF0F0);
    wtLineWidth(1);
    vvColor4f(1, 0, 0, 1);
    wtPushMatrix();
    if (t.scalable != 0)
        multMatrix(t);
    glTranslatef(dx, dy, 0);
    const float w = float(shown.width), h = float(shown.height);
    wtBegin(GL_LINE_LOOP);
    glVertex2f(0, 0);
    glVertex2f(w, 0);
    glVertex2f(w, h);
    glVertex2f(0, h);
    wtEnd();
    wtPopMatrix();
}

} // namespace

TEXT_STRUCT* createText(const TEXT_STRUCT*, int, int size)
{
    return vdiNewRecord<TEXT_STRUCT>(nullptr, "createText", [size](TEXT_STRUCT& t) {
        std::snprintf(t.text, sizeof t.text, "%s", "Text");
        t.align = 7;
        std::snprintf(t.family, sizeof t.family, "%s", "Arial");
        t.style = 1;
        t.size = size;
        t.displaySize = size;
        t.matrix[0] = 1;
        t.matrix[3] = 1;
        vdiSetColor(t.color, 0, 1, 1, 1);
        t.fontKind = 1;
        t.lineWidth = 1.0f;
        t.stippleFactor = 1;
        t.stipplePattern = 0xFFFF;
    });
}

int textSetAttr(ELEMENT_STRUCT* element)
{
    const TEXT_STRUCT* t = vdiRecord<TEXT_STRUCT>(element);
    if (t == nullptr)
        return -1;
    ATTR_STRUCT& a = element->attr;
    vdiResetAttr(a, t->lineStyle, t->stippleFactor, t->stipplePattern, t->lineWidth, t->color, {0, 0, 0, 0});
    vdiCopyName(a.text, sizeof a.text, t->text);
    return 0;
}

int textSetPickSticky(ELEMENT_STRUCT* element)
{
    TEXT_STRUCT* t = vdiRecord<TEXT_STRUCT>(element);
    if (t == nullptr)
        return -1;
    HandleRebuild rebuild(element);
    setCorners(*t, measure(*t, t->text));
    float xs[4], ys[4];
    for (int i = 0; i < 4; ++i) {
        const float x = t->cornerX[i], y = t->cornerY[i];
        xs[i] = t->scalable != 0 ? t->matrix[0] * x + t->matrix[1] * y : x;
        ys[i] = t->scalable != 0 ? t->matrix[2] * x + t->matrix[3] * y : y;
    }
    t->box[0] = *std::min_element(xs, xs + 4);
    t->box[1] = *std::min_element(ys, ys + 4);
    t->box[2] = *std::max_element(xs, xs + 4);
    t->box[3] = *std::max_element(ys, ys + 4);
    const float minX = t->x + t->box[0], minY = t->y + t->box[1];
    const float maxX = t->x + t->box[2], maxY = t->y + t->box[3];
    bool made = true;
    if (t->scalable != 0) {
        const float places[8][2] = {{minX, maxY}, {t->x, maxY}, {maxX, maxY}, {maxX, t->y},
                                    {maxX, minY}, {t->x, minY}, {minX, minY}, {minX, t->y}};
        for (int id = 1; id <= 8; ++id)
            made = vdiAppendHandle(element, uint32_t(id), id == t->align ? 4 : 1, places[id - 1][0],
                                   places[id - 1][1], 4, 4) != nullptr &&
                   made;
    }
    made = vdiAppendHandle(element, 9, t->align == 9 ? 4 : 3, t->x, t->y, 4, 4) != nullptr && made;
    element->pickAsLine = 0;
    element->x = element->centreX = t->x;
    element->y = element->centreY = t->y;
    element->minX = minX;
    element->minY = minY;
    element->maxX = maxX;
    element->maxY = maxY;
    element->width = maxX - minX;
    element->height = maxY - minY;
    const int status = textSetAttr(element);
    return rebuild.settle(made) == 0 ? status : -1;
}

int textSetNewText(ELEMENT_STRUCT* element, const char* text)
{
    TEXT_STRUCT* t = element != nullptr && element->kind == VD_TEXT ? vdiRecord<TEXT_STRUCT>(element) : nullptr;
    if (t == nullptr || text == nullptr)
        return -1;
    vdiCopyName(t->text, sizeof t->text, text);
    calcVecTextNew(t);
    return textSetPickSticky(element);
}

int drawText(TEXT_STRUCT* record, ATTR_STRUCT* block, int selected, DRAW_PARA_STRUCT*)
{
    if (record == nullptr || block == nullptr)
        return -1;
    TEXT_STRUCT& t = *record;
    textUpdated = 0;
    if (t.font == nullptr)
        t.font = vdiFontCreate(t.family, t.style, t.size);
    const Extent shown = measure(t, block->text);
    const Extent templ = measure(t, t.text);
    float dx = 0, dy = 0;
    alignOffset(t.align, shown.width, templ.width, shown.height, dx, dy);

    wtLineStipple(block->stippleFactor, block->stipplePattern);
    wtLineWidth(block->lineWidth);
    vvColor4f(block->lineColor[0], block->lineColor[1], block->lineColor[2], block->lineColor[3]);
    if (t.pattern != 0)
        setStipple(1, t.patternBits);
    wtPushMatrix();
    if (t.scalable != 0)
        multMatrix(t);
    glTranslatef(dx, dy, 0);
    if (t.scalable != 0)
        glScalef(displayScale(t), displayScale(t), 1);
    vdiFontRender(t.font, block->text);
    wtPopMatrix();
    setStipple(0, nullptr);

    if (selected != 0 && block->running == 0)
        drawFrame(t, shown, dx, dy);
    return 0;
}

int editTextx(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase, EDIT_PARA_STRUCT* para)
{
    TEXT_STRUCT* record = vdiRecord<TEXT_STRUCT>(element);
    if (record == nullptr)
        return -1;
    TEXT_STRUCT& t = *record;
    EDIT_PARA_STRUCT none{};
    if (para == nullptr)
        para = &none;
    int status = 0; // -1 once an update ran out of memory
    switch (command) {
    case 20:
        t.lineWidth = para->value;
        break;
    case 21:
        t.lineStyle = para->intValue;
        vdiLineStipple(t.lineStyle, t.stippleFactor, t.stipplePattern);
        break;
    case 23:
        t.color[0] = para->r;
        t.color[1] = para->g;
        t.color[2] = para->b;
        break;
    case 24:
        t.antialias = para->intValue;
        break;
    case 26:
        t.color[3] = para->r;
        break;
    case 47:
        t.pattern = para->intValue;
        vdiPatternBits(t.pattern, t.patternBits);
        break;
    case 28: {
        const int size = checkFontSize(&t, para->intValue);
        para->intValue = size;
        if (t.size != 0) {
            const float f = float(size) / float(t.size);
            for (float& m : t.matrix)
                m *= f;
        }
        t.size = size;
        remakeFont(t);
        status = refit(element, t);
        break;
    }
    case 120:
        if (para->text != nullptr)
            status = textSetNewText(element, para->text);
        break;
    case 121:
        t.align = para->intValue;
        break;
    case 123: {
        if (para->text == nullptr)
            break;
        vdiCopyName(t.family, sizeof t.family, para->text);
        t.style = checkFontStyle(&t);
        t.size = checkFontSize(&t, t.size);
        remakeFont(t);
        t.scalable = vdiFontScalable(t.font);
        status = refit(element, t);
        if (t.scalable == 0) {
            const float identity[4] = {1, 0, 0, 1};
            std::memcpy(t.matrix, identity, sizeof identity);
            t.displaySize = t.size;
        }
        break;
    }
    case 124:
        t.style = para->intValue;
        remakeFont(t);
        status = refit(element, t);
        break;
    default:
        if (command >= 1 && command <= 16)
            status = editGeometry(element, t, handles, command, phase, para);
        break;
    }
    const int attr = textSetAttr(element);
    return status != 0 ? -1 : attr;
}

int calcVecTextNew(TEXT_STRUCT* record)
{
    if (record == nullptr)
        return -1;
    setCorners(*record, measure(*record, record->text));
    return 0;
}

int calcVecText(TEXT_STRUCT* record)
{
    if (record == nullptr)
        return -1;
    TEXT_STRUCT& t = *record;
    const Extent e = measure(t, t.text);
    const float ex = t.cornerX[3] - t.cornerX[0], ey = t.cornerY[3] - t.cornerY[0];
    const float l1 = std::hypot(ex, ey);
    const float l2 = std::hypot(t.cornerX[1] - t.cornerX[0], t.cornerY[1] - t.cornerY[0]);
    const float angle = std::atan2(ey, ex) * degreesPerRadian;
    const float w = float(strnlen(t.text, sizeof t.text)) * float(e.width);
    const float h = float(e.height);
    const auto [minX, maxX] = std::minmax_element(t.cornerX, t.cornerX + 4);
    const auto [minY, maxY] = std::minmax_element(t.cornerY, t.cornerY + 4);
    t.x = *minX + (*maxX - *minX) / 2;
    t.y = *minY + (*maxY - *minY) / 2;
    // A text without size (no font, an empty template) keeps scale 1.
    const float scaled[4] = {w != 0 ? l1 / w : 1.0f, 0, 0, h != 0 ? l2 / h : 1.0f};
    rotate(t.matrix, scaled, angle * radiansPerDegree);
    setCorners(t, e);
    return 0;
}

int convertTextNewFormat(TEXT_STRUCT* record, int index)
{
    if (record == nullptr)
        return -1;
    TEXT_STRUCT& t = *record;
    std::snprintf(t.family, sizeof t.family, "%s", "Courier [fixed]");
    t.underline = 0;
    oldFont(index, t.style, t.size);
    remakeFont(t);
    t.scalable = vdiFontScalable(t.font);
    t.displaySize = t.size;
    int w = 0, h = 0;
    vdiFontMetric(t.font, t.text, w, h);
    // From the aligned corner (handle numbers) to the centre.
    const float hw = float(w) / 2, hh = float(h) / 2;
    static const float toCentre[10][2] = {{0, 0},  {1, -1}, {0, -1}, {-1, -1}, {-1, 0},
                                          {-1, 1}, {0, 1},  {1, 1},  {1, 0},   {0, 0}};
    if (t.align >= 0 && t.align <= 9) {
        t.x += toCentre[t.align][0] * hw;
        t.y += toCentre[t.align][1] * hh;
    }
    const float identity[4] = {1, 0, 0, 1};
    std::memcpy(t.matrix, identity, sizeof identity);
    return 0;
}

int convertTextNewFormatVec(TEXT_STRUCT* record, int)
{
    if (record == nullptr)
        return -1;
    TEXT_STRUCT& t = *record;
    std::snprintf(t.family, sizeof t.family, "%s", "Arial");
    t.underline = 0;
    t.size = t.displaySize = factorySize;
    remakeFont(t);
    t.scalable = vdiFontScalable(t.font);
    return 0;
}

int checkFontSize(TEXT_STRUCT* record, int size)
{
    return record != nullptr ? vdiFontSizeFor(record->family, record->style, size) : size;
}

int checkFontStyle(TEXT_STRUCT* record)
{
    return record != nullptr ? vdiFontStyleFor(record->family, record->style) : -1;
}

int vdTextUpdate(void)
{
    return textUpdated;
}

const ElementKind vdiKindText = [] {
    ElementKind k = vdiDescribeKind("TEXT", sizeof(TEXT_STRUCT),
                                    [] { return static_cast<void*>(createText(nullptr, 0, factorySize)); });
    k.update = textSetPickSticky;
    k.edit = editTextx;
    k.setAttr = textSetAttr;
    k.releaseRecord = releaseText;
    k.draw = vdiDrawRecord<drawText>;
    return k;
}();
