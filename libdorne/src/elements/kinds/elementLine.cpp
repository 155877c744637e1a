// LINE elements: the kind record with its defaults, grab handles, edits and
// drawing. A line is picked as its segment and, without actions, drawn at its
// position without a matrix of its own.
#include "elements/elementKinds.h"

#include "dorneGl.h"

#include <GL/gl.h>

#include <algorithm>

int lineCount = 0;

namespace {

void setLineDefaults(LINE_STRUCT& l)
{
    l.lineWidth = 1.0f;
    l.lineR = 0.5f;
    l.lineG = 1.0f;
    l.lineB = 0.5f;
    l.lineA = 1.0f;
    l.stippleFactor = 1;
    l.stipplePattern = 0xFFFF;
}


// Phase 1 of a geometry command: both ends from the backed-up ones.
void moveEnds(ELEMENT_STRUCT* element, const void* backup, int command, const EDIT_PARA_STRUCT* para)
{
    LINE_STRUCT* l = vdiRecord<LINE_STRUCT>(element);
    const auto* b = static_cast<const LINE_STRUCT*>(backup);
    resizeMoveElement(element, command, &l->x1, &l->y1, para->x, para->y, b->x1, b->y1);
    resizeMoveElement(element, command, &l->x2, &l->y2, para->x, para->y, b->x2, b->y2);
}

void segment(const LINE_STRUCT& l, float tx, float ty)
{
    wtBegin(GL_LINES);
    glVertex2f(l.localX1 + tx, l.localY1 + ty);
    glVertex2f(l.localX2 + tx, l.localY2 + ty);
    wtEnd();
}

} // namespace

LINE_STRUCT* createLine(const LINE_STRUCT* templ)
{
    return vdiNewRecord(templ, "createLine", setLineDefaults);
}

int lineSetAttr(ELEMENT_STRUCT* element)
{
    const LINE_STRUCT* l = vdiRecord<LINE_STRUCT>(element);
    if (l == nullptr)
        return -1;
    vdiResetAttr(element->attr, l->lineStyle, l->stippleFactor, l->stipplePattern, l->lineWidth,
                 {l->lineR, l->lineG, l->lineB, l->lineA}, {0, 0, 0, 0});
    return 0;
}

int lineSetPickSticky(ELEMENT_STRUCT* element)
{
    LINE_STRUCT* l = vdiRecord<LINE_STRUCT>(element);
    if (l == nullptr)
        return -1;
    HandleRebuild rebuild(element);
    bool made = vdiAppendHandle(element, 100, 1, l->x1, l->y1, 4, 4) != nullptr;
    made = vdiAppendHandle(element, 101, 1, l->x2, l->y2, 4, 4) != nullptr && made;
    made = vdiAppendHandle(element, 9, 3, (l->x1 + l->x2) / 2, (l->y1 + l->y2) / 2, 4, 4) != nullptr && made;
    // The box record of a line holds the two ends.
    made = vdiAppendHandle(element, 0, 2, l->x1, l->y1, l->x2, l->y2) != nullptr && made;
    vdiSetElementBox(element, std::min(l->x1, l->x2), std::min(l->y1, l->y2), std::max(l->x1, l->x2),
                     std::max(l->y1, l->y2));
    element->pickAsLine = 1;
    element->pickX1 = l->x1;
    element->pickY1 = l->y1;
    element->pickX2 = l->x2;
    element->pickY2 = l->y2;
    l->localX1 = l->x1 - element->centreX;
    l->localY1 = l->y1 - element->centreY;
    l->localX2 = l->x2 - element->centreX;
    l->localY2 = l->y2 - element->centreY;
    const int status = lineSetAttr(element);
    return rebuild.settle(made) == 0 ? status : -1;
}

int editLine(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase, EDIT_PARA_STRUCT* para)
{
    LINE_STRUCT* l = vdiRecord<LINE_STRUCT>(element);
    if (l == nullptr)
        return -1;
    EDIT_PARA_STRUCT none{};
    if (para == nullptr)
        para = &none;
    int status = 0; // -1 once an update ran out of memory
    if (command >= 1 && command <= 16) {
        status = vdiEditPhase(element, handles, command, phase, para, moveEnds);
    } else {
        switch (command) {
        case 20:
            l->lineWidth = para->value;
            break;
        case 21:
            l->lineStyle = para->intValue;
            vdiLineStipple(l->lineStyle, l->stippleFactor, l->stipplePattern);
            break;
        case 23:
            l->lineR = para->r;
            l->lineG = para->g;
            l->lineB = para->b;
            break;
        case 24:
            l->antialias = para->intValue;
            break;
        case 26:
            l->lineA = para->r;
            break;
        case 100:
        case 101:
            // A drag of one end; phase 3 is the whole drag at once.
            if (phase == 1 || phase == 3) {
                (command == 100 ? l->x1 : l->x2) = para->x;
                (command == 100 ? l->y1 : l->y2) = para->y;
            }
            status = lineSetPickSticky(element);
            break;
        default:
            break;
        }
    }
    const int attr = lineSetAttr(element);
    return status != 0 ? -1 : attr;
}

int drawLine(LINE_STRUCT* record, const ATTR_STRUCT* block, int selected, float tx, float ty)
{
    if (record == nullptr || block == nullptr)
        return -1;
    wtLineStipple(block->stippleFactor, block->stipplePattern);
    wtLineWidth(static_cast<int8_t>(block->lineWidth));
    wtAliasBlend(record->antialias, block->lineColor[3]);
    vvColor4f(block->lineColor[0], block->lineColor[1], block->lineColor[2], block->lineColor[3]);
    segment(*record, tx, ty);
    ++lineCount;
    if (selected != 0 && block->running == 0) {
        wtLineStipple(1, 0xF0F0);
        wtLineWidth(1);
        vvColor4f(1, 0, 0, 1);
        segment(*record, tx, ty);
    }
    return 0;
}

const ElementKind vdiKindLine = [] {
    ElementKind k =
        vdiDescribeKind("LINE", sizeof(LINE_STRUCT), [] { return static_cast<void*>(createLine(nullptr)); });
    k.update = lineSetPickSticky;
    k.edit = editLine;
    k.setAttr = lineSetAttr;
    k.draw = vdiDrawRecord<drawLine>;
    k.drawsAtPosition = true;
    return k;
}();
