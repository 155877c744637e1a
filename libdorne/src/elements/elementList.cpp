// The element list: creation with default names, the name check, appending,
// deleting with everything an element owns, and the attribute reset.
#include "elements/elementKinds.h"
#include "base/libraryLock.h"
#include "base/linkedList.h"

#include "dorneLog.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The running number of default names; grows only while a name is taken.
// One per process, under the library lock.
int elementNr = 0;

// Descriptors by kind number; null where no kind is (9). Kind 10 never gets
// here: creation turns it into TEXT first.
const ElementKind* const kinds[] = {
    &vdiKindGraph, &vdiKindRect,  &vdiKindPoly,   &vdiKindCircle, &vdiKindText,
    &vdiKindLine,  &vdiKindArc,   &vdiKindImage,  &vdiKindGroup,  nullptr,
    nullptr,       &vdiKindButton, &vdiKindSlider, &vdiKindCPoly, &vdiKindScissor,
};

// Name of kinds that have none: elements of such kinds are kept so that
// files holding them still load.
const char* const unknownKindName = "UNKNOWN";

// Frees what one element owns except its children, then the element.
void freeElement(ELEMENT_STRUCT* element)
{
    const ElementKind* kind = vdiElementKind(element->kind);
    if (element->data != nullptr && kind != nullptr && kind->releaseRecord != nullptr)
        kind->releaseRecord(element->data);
    while (element->actions != nullptr)
        delAction(&element->actions, element->actions);
    while (element->stickies != nullptr)
        delSticky(&element->stickies, element->stickies);
    vdiFreeEditBackup(element);
    std::free(element->data);
    std::free(element);
}

// Frees an unlinked element and, for a group, everything it holds. Children
// are spliced in front of the elements still to free, so nesting of any
// depth needs neither recursion nor extra memory.
void freeTree(ELEMENT_STRUCT* element)
{
    element->next = nullptr;
    ELEMENT_STRUCT* pending = element;
    while (pending != nullptr) { // each element is taken once
        ELEMENT_STRUCT* current = pending;
        pending = current->next;
        ELEMENT_STRUCT* children = current->children;
        current->children = nullptr;
        if (children != nullptr) {
            ELEMENT_STRUCT* last = children;
            while (last->next != nullptr)
                last = last->next;
            last->next = pending;
            pending = children;
        }
        freeElement(current);
    }
}

} // namespace

const ElementKind* vdiElementKind(int kind)
{
    if (kind < 0 || kind >= int(sizeof kinds / sizeof kinds[0]))
        return nullptr;
    return kinds[kind];
}

ELEMENT_STRUCT* elementCreate(int kind)
{
    auto* element = static_cast<ELEMENT_STRUCT*>(std::calloc(1, sizeof(ELEMENT_STRUCT)));
    if (element == nullptr) {
        logMsg(1, "createElement: out of memory\n");
        return nullptr;
    }
    if (kind == VD_TEXT_LEGACY)
        kind = VD_TEXT;
    element->kind = kind;
    elementNewName(element, nullptr);
    element->clip = 0;
    // Picked where it is stored until a draw applies its actions; all zero
    // would map every box onto the origin.
    static const float identity[6] = {1, 0, 0, 0, 1, 0};
    std::memcpy(element->pickTransform, identity, sizeof identity);

    const ElementKind* desc = vdiElementKind(kind);
    if (desc == nullptr)
        return element;
    if (desc->createRecord != nullptr) {
        element->data = desc->createRecord();
        if (element->data == nullptr) { // the kind's create function logged it
            std::free(element);
            return nullptr;
        }
    }
    element->update = desc->update;
    element->edit = desc->edit;
    element->pick = desc->pick;
    return element;
}

int elementNewName(ELEMENT_STRUCT* element, ELEMENT_STRUCT* tree)
{
    if (element == nullptr)
        return -1;
    dorne::LibraryLockGuard lock(dorne::libraryLock());
    const ElementKind* desc = vdiElementKind(element->kind == VD_TEXT_LEGACY ? VD_TEXT : element->kind);
    const char* kindName = desc != nullptr ? desc->name : unknownKindName;
    char name[sizeof element->name];
    std::snprintf(name, sizeof name, "%s-%04d", kindName, elementNr);
    while (elementCheckName(tree, name)) { // ends at the first free number
        ++elementNr;
        std::snprintf(name, sizeof name, "%s-%04d", kindName, elementNr);
    }
    std::memcpy(element->name, name, sizeof name);
    std::snprintf(element->id, sizeof element->id, "%s-ID", name);
    return 0;
}

int elementCheckName(ELEMENT_STRUCT* tree, const char* name)
{
    if (name == nullptr)
        return 0;
    for (ELEMENT_STRUCT* e = tree; e != nullptr; e = e->next) {
        if (std::strncmp(e->name, name, sizeof e->name) == 0)
            return 1;
        if (e->kind == VD_GROUP && elementCheckName(e->children, name))
            return 1;
    }
    return 0;
}

int elementAppend(ELEMENT_STRUCT* element, ELEMENT_STRUCT** head)
{
    if (element == nullptr)
        return -1;
    return dorne::listAppend(head, element);
}

int elementDelete(ELEMENT_STRUCT* element, ELEMENT_STRUCT** head)
{
    if (head == nullptr || *head == nullptr || element == nullptr)
        return 0;
    dorne::listCut(head, element);
    freeTree(element);
    return 0;
}

int elementDeleteAll(ELEMENT_STRUCT** head)
{
    if (head == nullptr)
        return 0;
    while (*head != nullptr)
        elementDelete(*head, head);
    return 0;
}

int setElementAttr(ELEMENT_STRUCT* list)
{
    int status = 0;
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        if (e->kind == VD_GROUP && setElementAttr(e->children) != 0)
            status = -1;
        if (e->update != nullptr && e->update(e) != 0)
            status = -1;
    }
    return status;
}
