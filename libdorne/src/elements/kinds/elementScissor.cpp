// SCISSOR elements: four corners that the enclosing GROUP clips its children
// to. The element itself is only a frame for a designer in edit mode; its
// attribute block is never reset (drawn only where visibility does not
// count).
#include "elements/elementKinds.h"

#include "dorneGl.h"

#include <GL/gl.h>

namespace {


void moveCorners(ELEMENT_STRUCT* element, const void* backup, int command, const EDIT_PARA_STRUCT* para)
{
    SCISSOR_STRUCT* s = vdiRecord<SCISSOR_STRUCT>(element);
    const auto* b = static_cast<const SCISSOR_STRUCT*>(backup);
    vdiMoveCorners(element, command, para, b->cornerX, b->cornerY, s->cornerX, s->cornerY);
}

void frame(const SCISSOR_STRUCT& s)
{
    wtBegin(GL_LINE_LOOP);
    for (int i = 0; i < 4; ++i)
        glVertex2f(s.drawX[i], s.drawY[i]);
    wtEnd();
}

// Drawn only for a designer: in edit mode without clipping in edit mode.
void drawScissorSlot(const VdiDrawCall& call)
{
    if (call.running == 0 && call.clipInEdit == 0)
        vdiDrawRecord<drawScissor>(call);
}

} // namespace

SCISSOR_STRUCT* createScissor(const SCISSOR_STRUCT* templ)
{
    return vdiNewRecord(templ, "createScissor", [](SCISSOR_STRUCT&) {});
}

int scissorSetPickSticky(ELEMENT_STRUCT* element)
{
    SCISSOR_STRUCT* s = vdiRecord<SCISSOR_STRUCT>(element);
    if (s == nullptr)
        return -1;
    return vdiCornerUpdate(element, s->cornerX, s->cornerY, s->drawX, s->drawY) ? 0 : -1;
}

int editScissor(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase, EDIT_PARA_STRUCT* para)
{
    if (vdiRecord<SCISSOR_STRUCT>(element) == nullptr)
        return -1;
    EDIT_PARA_STRUCT none{};
    if (para == nullptr)
        para = &none;
    int status = 0; // -1 once an update ran out of memory
    if (command >= 1 && command <= 16)
        status = vdiEditPhase(element, handles, command, phase, para, moveCorners);
    const int update = scissorSetPickSticky(element);
    return status != 0 ? -1 : update;
}

int drawScissor(SCISSOR_STRUCT* record, const ATTR_STRUCT*, int selected)
{
    if (record == nullptr)
        return -1;
    vvColor4f(1, 0.5f, 0, 1);
    wtLineStipple(1, 0xFFFF);
    wtLineWidth(1);
    frame(*record);
    wtLineStipple(1, 0xF0F0);
    wtLineWidth(3);
    frame(*record);
    if (selected != 0) {
        wtLineStipple(1, 0xF0F0);
        wtLineWidth(1);
        vvColor4f(1, 0, 0, 1);
        frame(*record);
    }
    return 0;
}

const ElementKind vdiKindScissor = [] {
    ElementKind k = vdiDescribeKind("SCISSOR", sizeof(SCISSOR_STRUCT),
                                    [] { return static_cast<void*>(createScissor(nullptr)); });
    k.update = scissorSetPickSticky;
    k.edit = editScissor;
    k.draw = drawScissorSlot;
    return k;
}();
