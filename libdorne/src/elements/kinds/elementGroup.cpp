// GROUP elements: no kind record; a group's state lives in its element (its
// children, box and clip fields). Its box is the union of its children's,
// its position their centre, and its children's positions are relative to
// it, so moving the group's matrix moves them all.
#include "elements/elementKinds.h"

#include "dorneGl.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

int groupSetAttr(ELEMENT_STRUCT* element)
{
    if (element == nullptr)
        return -1;
    ATTR_STRUCT& a = element->attr;
    a.visible = 1;
    a.lineColor[3] = 1.0f;
    a.fillColor[3] = 1.0f;
    vdiClearOverrides(&a);
    return 0;
}

int groupSetPickSticky(ELEMENT_STRUCT* element)
{
    if (element == nullptr)
        return -1;
    HandleRebuild rebuild(element);
    // The children's boxes as their last update left them.
    float minX = 0, minY = 0, maxX = 0, maxY = 0;
    if (const ELEMENT_STRUCT* first = element->children) {
        minX = first->minX;
        minY = first->minY;
        maxX = first->maxX;
        maxY = first->maxY;
        for (const ELEMENT_STRUCT* c = first->next; c != nullptr; c = c->next) {
            minX = std::min(minX, c->minX);
            minY = std::min(minY, c->minY);
            maxX = std::max(maxX, c->maxX);
            maxY = std::max(maxY, c->maxY);
        }
    }
    const float cx = (maxX - minX) / 2 + minX;
    const float cy = (maxY - minY) / 2 + minY;
    static const uint8_t ids[] = {9, 1, 2, 3, 4, 5, 6, 7, 8};
    bool made = vdiAppendBoxHandles(element, ids, 9, minX, minY, maxX, maxY, cx, cy);
    made = vdiAppendBoxRecord(element, minX, minY, maxX, maxY) && made;
    vdiSetElementBox(element, minX, minY, maxX, maxY);
    // A flat group is picked along its box's diagonal.
    if (std::fabs(minX - maxX) < 1 || std::fabs(minY - maxY) < 1) {
        element->pickAsLine = 1;
        element->pickX1 = minX;
        element->pickY1 = minY;
        element->pickX2 = maxX;
        element->pickY2 = maxY;
    }
    for (ELEMENT_STRUCT* c = element->children; c != nullptr; c = c->next) {
        if (c->update != nullptr && c->update(c) != 0) // view coordinates again
            made = false;
        c->x -= element->x;
        c->y -= element->y;
    }
    const int status = groupSetAttr(element);
    return rebuild.settle(made) == 0 ? status : -1;
}

int editGroup(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase, EDIT_PARA_STRUCT* para)
{
    if (element == nullptr)
        return -1;
    // Every child transforms about the group's handles, so the group moves,
    // scales, mirrors and turns as one.
    bool done = true;
    for (ELEMENT_STRUCT* c = element->children; c != nullptr; c = c->next)
        if (c->edit != nullptr && c->edit(c, handles, command, phase, para) != 0)
            done = false;
    return groupSetPickSticky(element) == 0 && done ? 0 : -1;
}

int drawGroup(ELEMENT_STRUCT* element, const ATTR_STRUCT* block)
{
    if (element == nullptr || block == nullptr)
        return -1;
    if (element->selected == 0 || block->running != 0)
        return 0;
    const float w = element->width, h = element->height;
    wtLineStipple(1, 0xF0F0);
    wtLineWidth(2);
    wtAliasBlend(0, 1.0f);
    vvColor4f(1, 0, 0, 1);
    wtPushMatrix();
    glTranslatef(-w / 2, -h / 2, 0);
    wtBegin(GL_LINE_LOOP);
    glVertex2f(0, 0);
    glVertex2f(0, h);
    glVertex2f(w, h);
    glVertex2f(w, 0);
    wtEnd();
    wtPopMatrix();
    return 0;
}

const ElementKind vdiKindGroup = [] {
    ElementKind k = vdiDescribeKind("GROUP", 0, nullptr);
    k.update = groupSetPickSticky;
    k.edit = editGroup;
    k.setAttr = groupSetAttr;
    k.draw = vdiDrawGroupChildren;
    return k;
}();
