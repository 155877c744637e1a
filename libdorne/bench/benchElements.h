// The element view of the file benchmarks: 1,000 groups of ten elements
// (10,000 elements besides the groups), the children cycling through every
// kind but TEXTURE, each child with three actions of two threshold entries
// (colour, line width, line style) naming variables of ten sources of 1,000
// variables. Graphs and texts make their fonts: prepareFonts sets up the
// offscreen GL context and the font library first.
#ifndef DORNE_BENCH_ELEMENTS_H
#define DORNE_BENCH_ELEMENTS_H

#include "glFrame.h"

#include "dorneActions.h"
#include "dorneElements.h"
#include "dorneLog.h"
#include "sartoFonts.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace benchview {

const int kGroups = 1000;
const int kPerGroup = 10;
const int kActions = 3;
const int kVariablesPerSource = 1000;

// Every kind but TEXTURE; a group never holds more than one SCISSOR.
constexpr int kKinds[] = {VD_GRAPH, VD_RECTANGLE, VD_POLYGON, VD_CIRCLE,  VD_TEXT,   VD_LINE,
                      VD_ARC,   VD_BUTTON,    VD_SLIDER,  VD_CPOLYGON, VD_SCISSOR};
constexpr int kKindCount = int(sizeof kKinds / sizeof kKinds[0]);

inline bool prepareFonts(benchmark::State& state)
{
    if (!prepareGlFrame(state, 640, 480))
        return false;
    setLogLevel(1);
    ftSetDebugLevel(0);
    if (!FNT_LIBRARY_STRUCT.initialised) {
        ftLibraryInit();
        ftLibraryParseFonts();
    }
    return true;
}

inline void addTh(TH_BLOCK& block, float level, int32_t value)
{
    TH_STRUCT* th = createTh();
    th->level = level;
    th->intValue = value;
    th->r = 1;
    appendTh(&block.list, th);
}

inline void addActions(ELEMENT_STRUCT* e, int n)
{
    for (int k = 0; k < kActions; ++k) {
        ACTION_STRUCT* a = createAction();
        std::snprintf(a->var, sizeof a->var, "source%d.variable%04d", k, n % kVariablesPerSource);
        // colour, line width and line style thresholds
        static const int32_t types[kActions] = {12, 14, 15};
        a->type = types[k];
        TH_BLOCK& block = k == 0 ? a->thColor : k == 1 ? a->thWidth : a->thStyle;
        addTh(block, 0, 1);
        addTh(block, 50, 2 + k);
        appendAction(&e->actions, a);
    }
}

inline ELEMENT_STRUCT* makeChild(int n)
{
    const int kind = kKinds[n % kKindCount];
    ELEMENT_STRUCT* e = elementCreate(kind);
    if (e == nullptr)
        return nullptr;
    const float x = float(n % 100) * 6, y = float(n / 100 % 100) * 4;
    if (kind == VD_POLYGON || kind == VD_CPOLYGON) {
        auto* poly = static_cast<POLY_STRUCT*>(e->data);
        const float corners[4][2] = {{0, 0}, {20, 0}, {20, 10}, {5, 15}};
        for (const auto& c : corners) {
            COORD_STRUCT* coord = createCoord();
            coord->x = x + c[0];
            coord->y = y + c[1];
            appendCoord(&poly->coords, coord);
        }
    } else if (kind == VD_TEXT) {
        textSetNewText(e, "Pressure 12.5 bar");
    }
    addActions(e, n);
    if (e->update != nullptr)
        e->update(e);
    return e;
}

// 1,000 groups of ten, linked at the tail by hand.
inline ELEMENT_STRUCT* makeElements()
{
    ELEMENT_STRUCT* head = nullptr;
    ELEMENT_STRUCT* last = nullptr;
    for (int g = 0; g < kGroups; ++g) {
        ELEMENT_STRUCT* group = elementCreate(VD_GROUP);
        ELEMENT_STRUCT* lastChild = nullptr;
        for (int c = 0; c < kPerGroup; ++c) {
            ELEMENT_STRUCT* child = makeChild(g * kPerGroup + c);
            child->parent = group;
            child->prev = lastChild;
            if (lastChild != nullptr)
                lastChild->next = child;
            else
                group->children = child;
            lastChild = child;
        }
        group->update(group);
        group->prev = last;
        if (last != nullptr)
            last->next = group;
        else
            head = group;
        last = group;
    }
    return head;
}

} // namespace benchview

#endif
