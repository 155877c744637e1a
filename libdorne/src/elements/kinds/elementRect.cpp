// RECTANGLE elements: the kind record with its defaults, grab handles, edits
// and drawing. The four corners need not be axis-parallel: edits move each
// corner and drawing joins them in order.
#include "elements/elementKinds.h"

#include "dorneGl.h"
#include "data/dataValue.h"

#include <GL/gl.h>

namespace {

void setRectDefaults(RECT_STRUCT& r)
{
    r.outline = 1;
    r.lineWidth = 2.0f;
    r.lineR = 1;
    r.lineG = 0;
    r.lineB = 1;
    r.lineA = 1;
    r.fill = 1;
    r.fillR = 0;
    r.fillG = 0;
    r.fillB = 1;
    r.fillA = 1;
    r.antialias = 1;
    r.stippleFactor = 1;
    r.stipplePattern = 0xFFFF;
}


void moveCorners(ELEMENT_STRUCT* element, const void* backup, int command, const EDIT_PARA_STRUCT* para)
{
    RECT_STRUCT* r = vdiRecord<RECT_STRUCT>(element);
    const auto* b = static_cast<const RECT_STRUCT*>(backup);
    vdiMoveCorners(element, command, para, b->x, b->y, r->x, r->y);
}

void corners(const RECT_STRUCT& r, unsigned int mode)
{
    wtBegin(mode);
    for (int i = 0; i < 4; ++i)
        glVertex2f(r.relX[i], r.relY[i]);
    wtEnd();
}

} // namespace

RECT_STRUCT* createRect(const RECT_STRUCT* templ)
{
    return vdiNewRecord(templ, "createRect", setRectDefaults);
}

int rectSetAttr(ELEMENT_STRUCT* element)
{
    const RECT_STRUCT* r = vdiRecord<RECT_STRUCT>(element);
    if (r == nullptr)
        return -1;
    vdiShapeAttr(element->attr, *r);
    return 0;
}

int rectSetPickSticky(ELEMENT_STRUCT* element)
{
    RECT_STRUCT* r = vdiRecord<RECT_STRUCT>(element);
    if (r == nullptr)
        return -1;
    const bool made = vdiCornerUpdate(element, r->x, r->y, r->relX, r->relY);
    const int status = rectSetAttr(element);
    return made ? status : -1;
}

int editRect(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase, EDIT_PARA_STRUCT* para)
{
    RECT_STRUCT* r = vdiRecord<RECT_STRUCT>(element);
    if (r == nullptr)
        return -1;
    EDIT_PARA_STRUCT none{};
    if (para == nullptr)
        para = &none;
    int status = 0; // -1 once an update ran out of memory
    if (command >= 1 && command <= 16)
        status = vdiEditPhase(element, handles, command, phase, para, moveCorners);
    else
        vdiEditShapeStyle(*r, command, para);
    const int attr = rectSetAttr(element);
    return status != 0 ? -1 : attr;
}

int drawRect(RECT_STRUCT* record, const ATTR_STRUCT* block, int selected)
{
    if (record == nullptr || block == nullptr)
        return -1;
    wtAliasBlend(record->antialias, block->fillColor[3]);
    if (record->fill != 0) {
        vvColor4f(block->fillColor[0], block->fillColor[1], block->fillColor[2], block->fillColor[3]);
        setStipple(record->pattern, record->patternBits);
        corners(*record, GL_QUADS);
        setStipple(0, nullptr);
    }
    wtAliasBlend(record->antialias, block->lineColor[3]);
    if (record->outline != 0) {
        wtLineStipple(block->stippleFactor, block->stipplePattern);
        wtLineWidth(static_cast<int8_t>(block->lineWidth));
        vvColor4f(block->lineColor[0], block->lineColor[1], block->lineColor[2], block->lineColor[3]);
        corners(*record, GL_LINE_LOOP);
    }
    if (selected != 0 && block->running == 0) {
        wtLineStipple(1, 0xF0F0);
        wtLineWidth(1);
        vvColor4f(1, 0, 0, 1);
        corners(*record, GL_LINE_LOOP);
    }
    return 0;
}

void vdiRotateByActions(const ELEMENT_STRUCT* element)
{
    for (const ACTION_STRUCT* a = element->actions; a != nullptr; a = a->next) // the element's actions
        if (a->type == 5 && a->value != nullptr)
            glRotatef(static_cast<float>(dorne::readNumber(a->value, a->valueType)), 0.0f, 0.0f, 1.0f);
}

int actionRect(ELEMENT_STRUCT* element, RECT_STRUCT*)
{
    if (element == nullptr)
        return -1;
    vdiRotateByActions(element);
    return 0;
}

const ElementKind vdiKindRect = [] {
    ElementKind k =
        vdiDescribeKind("RECTANGLE", sizeof(RECT_STRUCT), [] { return static_cast<void*>(createRect(nullptr)); });
    k.update = rectSetPickSticky;
    k.edit = editRect;
    k.setAttr = rectSetAttr;
    k.draw = vdiDrawRecord<drawRect>;
    return k;
}();
