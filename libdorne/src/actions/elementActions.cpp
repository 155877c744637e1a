// Actions of elements with their five threshold lists, and polygon vertices:
// creation with defaults and running ids, the list operations, copying and
// deleting.
#include "dorneActions.h"
#include "dorneLog.h"
#include "base/linkedList.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

// Running ids; they only grow. One per process (atomic, so that views
// loaded on different threads never race on them).
std::atomic<int> actionNr{0};
std::atomic<uint32_t> coordNr{0};

const float thresholdMax = 120.0f; // display range of editing tools

TH_BLOCK ACTION_STRUCT::*const thresholdBlocks[] = {
    &ACTION_STRUCT::thColor, &ACTION_STRUCT::thWidth, &ACTION_STRUCT::thStyle,
    &ACTION_STRUCT::thVisibility, &ACTION_STRUCT::thBlink,
};

void deleteThresholds(TH_STRUCT** head)
{
    while (*head != nullptr)
        delTh(head, *head);
}

void freeRing(ACTION_RING& ring)
{
    std::free(ring.values);
    std::free(ring.secondValues);
    ring.values = ring.secondValues = nullptr;
}

// Copies the entries of one threshold list to the end of *to; false when
// memory runs out (what was copied stays in *to).
bool copyThresholds(const TH_STRUCT* from, TH_STRUCT** to)
{
    for (; from != nullptr; from = from->next) {
        TH_STRUCT* th = createTh();
        if (th == nullptr)
            return false;
        th->level = from->level;
        th->upperLevel = from->upperLevel;
        th->intValue = from->intValue;
        th->r = from->r;
        th->g = from->g;
        th->b = from->b;
        th->stippleFactor = from->stippleFactor;
        th->stipplePattern = from->stipplePattern;
        th->strokeId = from->strokeId;
        appendTh(to, th);
    }
    return true;
}

} // namespace

ACTION_STRUCT* createAction(void)
{
    auto* action = static_cast<ACTION_STRUCT*>(std::calloc(1, sizeof(ACTION_STRUCT)));
    if (action == nullptr) {
        logMsg(1, "createAction: out of memory\n");
        return nullptr;
    }
    action->a1 = action->b1 = 1.0f;
    action->secondA1 = action->secondB1 = 1.0f;
    action->filterTime = 1.0f;
    action->mouseInc = 1.0f;
    action->mouseMax = 1.0f;
    action->mouseHiddenActive = 1;
    action->id = actionNr.fetch_add(1, std::memory_order_relaxed);
    for (TH_BLOCK ACTION_STRUCT::*block : thresholdBlocks)
        (action->*block).max = thresholdMax;
    return action;
}

int appendAction(ACTION_STRUCT** head, ACTION_STRUCT* action)
{
    return dorne::listAppend(head, action);
}

int actionInsertBefore(ACTION_STRUCT* action, ACTION_STRUCT* reference, ACTION_STRUCT** head)
{
    return dorne::listInsertBefore(head, action, reference);
}

int actionInsertAfter(ACTION_STRUCT* action, ACTION_STRUCT* reference, ACTION_STRUCT** head)
{
    return dorne::listInsertAfter(head, action, reference);
}

int actionCut(ACTION_STRUCT* action, ACTION_STRUCT** head)
{
    return dorne::listCut(head, action);
}

int actionDown(ACTION_STRUCT* action, ACTION_STRUCT** head)
{
    if (head == nullptr)
        return -1;
    if (action != nullptr && action->next != nullptr) {
        ACTION_STRUCT* successor = action->next;
        dorne::listCut(head, action);
        dorne::listInsertAfter(head, action, successor);
    }
    return 0;
}

int actionUp(ACTION_STRUCT* action, ACTION_STRUCT** head)
{
    if (head == nullptr)
        return -1;
    if (action != nullptr && action->prev != nullptr) {
        ACTION_STRUCT* predecessor = action->prev;
        dorne::listCut(head, action);
        dorne::listInsertBefore(head, action, predecessor);
    }
    return 0;
}

ACTION_STRUCT* actionCopy(const ACTION_STRUCT* action)
{
    if (action == nullptr)
        return nullptr;
    ACTION_STRUCT* copy = createAction();
    if (copy == nullptr)
        return nullptr;
    copy->id = action->id;
    copy->type = action->type;
    std::memcpy(copy->var, action->var, sizeof copy->var);
    std::memcpy(copy->secondVar, action->secondVar, sizeof copy->secondVar);
    copy->a0 = action->a0;
    copy->a1 = action->a1;
    copy->b0 = action->b0;
    copy->b1 = action->b1;
    copy->secondA0 = action->secondA0;
    copy->secondA1 = action->secondA1;
    copy->secondB0 = action->secondB0;
    copy->secondB1 = action->secondB1;
    copy->limit = action->limit;
    copy->visibleMode = action->visibleMode;
    copy->visibleValue = action->visibleValue;
    copy->mouseHiddenActive = action->mouseHiddenActive;
    copy->pivot = action->pivot;
    copy->offset = action->offset;
    copy->slope = action->slope;
    copy->secondOffset = action->secondOffset;
    copy->secondSlope = action->secondSlope;
    std::memcpy(copy->format, action->format, sizeof copy->format);
    copy->mouseButton = action->mouseButton;
    copy->mouseAction = action->mouseAction;
    copy->mouseMode = action->mouseMode;
    copy->mouseClamp = action->mouseClamp;
    copy->mouseInc = action->mouseInc;
    copy->mouseMin = action->mouseMin;
    copy->mouseMax = action->mouseMax;
    std::memcpy(copy->polyName, action->polyName, sizeof copy->polyName);
    copy->filter = action->filter;
    copy->filterTime = action->filterTime;
    for (TH_BLOCK ACTION_STRUCT::*block : thresholdBlocks) {
        (copy->*block).min = (action->*block).min;
        (copy->*block).max = (action->*block).max;
        if (!copyThresholds((action->*block).list, &(copy->*block).list)) {
            ACTION_STRUCT* head = copy;
            delAction(&head, copy);
            return nullptr;
        }
    }
    return copy;
}

int delAction(ACTION_STRUCT** head, ACTION_STRUCT* action)
{
    if (head == nullptr)
        return -1;
    if (action == nullptr)
        return 0;
    dorne::listCut(head, action);
    for (TH_BLOCK ACTION_STRUCT::*block : thresholdBlocks)
        deleteThresholds(&(action->*block).list);
    std::free(action->snapshot);
    std::free(action->secondSnapshot);
    freeRing(action->input);
    freeRing(action->display);
    std::free(action);
    return 0;
}

TH_STRUCT* createTh(void)
{
    auto* th = static_cast<TH_STRUCT*>(std::calloc(1, sizeof(TH_STRUCT)));
    if (th == nullptr) {
        logMsg(1, "createTh: out of memory\n");
        return nullptr;
    }
    th->intValue = 1;
    th->r = 0.5f;
    th->g = 1.0f;
    th->b = 0.5f;
    th->stippleFactor = 1; // solid until the style resolution sets the entry's style
    th->stipplePattern = 0xFFFF;
    return th;
}

int appendTh(TH_STRUCT** head, TH_STRUCT* th)
{
    return dorne::listAppend(head, th);
}

int thInsertBefore(TH_STRUCT* th, TH_STRUCT* reference, TH_STRUCT** head)
{
    return dorne::listInsertBefore(head, th, reference);
}

int thInsertAfter(TH_STRUCT* th, TH_STRUCT* reference, TH_STRUCT** head)
{
    return dorne::listInsertAfter(head, th, reference);
}

int delTh(TH_STRUCT** head, TH_STRUCT* th)
{
    return dorne::listDelete(head, th);
}

COORD_STRUCT* createCoord(void)
{
    auto* coord = static_cast<COORD_STRUCT*>(std::calloc(1, sizeof(COORD_STRUCT)));
    if (coord == nullptr) {
        logMsg(1, "createCoord: out of memory\n");
        return nullptr;
    }
    coord->id = coordNr.fetch_add(1, std::memory_order_relaxed);
    return coord;
}

int appendCoord(COORD_STRUCT** head, COORD_STRUCT* coord)
{
    return dorne::listAppend(head, coord);
}

int delCoord(COORD_STRUCT** head, COORD_STRUCT* coord)
{
    return dorne::listDelete(head, coord);
}
