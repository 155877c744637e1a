// The element model through the library's interface: default names, the
// kinds' records, ownership of everything an element holds, the attribute
// reset order, and the action, threshold and vertex lists.
#include "dorneElements.h"

#include "leakCheck.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <pthread.h>

namespace {

std::string counterName(const char* kind, int n)
{
    char name[64];
    std::snprintf(name, sizeof name, "%s-%04d", kind, n);
    return name;
}

// The default-name counter as a fresh element shows it.
int currentCounter()
{
    ELEMENT_STRUCT* e = elementCreate(VD_LINE);
    int n = -1;
    std::sscanf(e->name, "LINE-%d", &n);
    elementDelete(e, &e);
    return n;
}

TEST(ElementModel, DefaultNamesKindsAndRecords)
{
    const int n = currentCounter();
    struct Row
    {
        int kind, madeKind;
        const char* name;
        bool record;
    };
    const Row rows[] = {
        {0, 0, "GRAPH", true},     {1, 1, "RECTANGLE", true}, {2, 2, "POLYGON", true},
        {3, 3, "CIRCLE", true},    {4, 4, "TEXT", true},      {5, 5, "LINE", true},
        {6, 6, "ARC", true},       {7, 7, "TEXTURE", true},   {8, 8, "GROUP", false},
        {9, 9, "UNKNOWN", false},  {10, 4, "TEXT", true},     {11, 11, "BUTTON", true},
        {12, 12, "SLIDER", true},  {13, 13, "POLYGON", true}, {14, 14, "SCISSOR", true},
        {-3, -3, "UNKNOWN", false}, {15, 15, "UNKNOWN", false},
    };
    for (const Row& row : rows) {
        ELEMENT_STRUCT* e = elementCreate(row.kind);
        ASSERT_NE(e, nullptr) << row.kind;
        EXPECT_EQ(e->kind, row.madeKind);
        EXPECT_EQ(e->name, counterName(row.name, n)) << "elementCreate names against no tree";
        EXPECT_EQ(e->id, counterName(row.name, n) + "-ID");
        EXPECT_EQ(e->data != nullptr, row.record) << row.kind;
        EXPECT_TRUE(e->children == nullptr && e->actions == nullptr && e->stickies == nullptr &&
                    e->editBackup == nullptr && e->parent == nullptr && e->selected == 0 && e->clip == 0);
        elementDelete(e, &e);
        EXPECT_EQ(e, nullptr);
    }

    // The counter moves only while a name is taken, through groups too.
    ELEMENT_STRUCT* tree = nullptr;
    ELEMENT_STRUCT* first = elementCreate(VD_RECTANGLE);
    ELEMENT_STRUCT* second = elementCreate(VD_RECTANGLE);
    EXPECT_STREQ(first->name, second->name);
    ELEMENT_STRUCT* group = elementCreate(VD_GROUP);
    std::snprintf(second->name, sizeof second->name, "%s", counterName("RECTANGLE", n + 1).c_str());
    elementAppend(second, &group->children);
    elementAppend(first, &tree);
    elementAppend(group, &tree);
    EXPECT_EQ(elementCheckName(tree, counterName("RECTANGLE", n + 1).c_str()), 1);
    EXPECT_EQ(elementCheckName(tree, "rectangle"), 0);
    ELEMENT_STRUCT* third = elementCreate(VD_RECTANGLE);
    EXPECT_EQ(elementNewName(third, tree), 0);
    EXPECT_EQ(third->name, counterName("RECTANGLE", n + 2));
    EXPECT_EQ(third->id, counterName("RECTANGLE", n + 2) + "-ID");
    EXPECT_EQ(currentCounter(), n + 2);
    elementAppend(third, &tree);
    elementDeleteAll(&tree);
    EXPECT_EQ(tree, nullptr);
}

TEST(ElementModel, KindDefaults)
{
    ELEMENT_STRUCT* list = nullptr;
    for (int kind : {0, 3, 4, 6, 2, 13, 7, 11, 12, 1, 5})
        elementAppend(elementCreate(kind), &list);
    auto record = [&](int i) { ELEMENT_STRUCT* e = list; while (i--) e = e->next; return e->data; };

    const auto* graph = static_cast<GRAPH_STRUCT*>(record(0));
    EXPECT_EQ(graph->x, 200);
    EXPECT_EQ(graph->width, 500);
    EXPECT_EQ(graph->ymin, -100);
    EXPECT_EQ(graph->samples, 500);
    EXPECT_STREQ(graph->family, "Helvetica [fixed]");
    EXPECT_EQ(graph->size, 10);
    EXPECT_STREQ(graph->xLabelFormat, "%3.0f");
    EXPECT_STREQ(graph->yLabelFormat, "%3.0f");
    EXPECT_EQ(graph->gridStipplePattern, 0xFFFF);
    EXPECT_EQ(graph->gridStyleIndex, 1);
    EXPECT_EQ(graph->lagYMin, -100);
    const auto* circle = static_cast<CIRCLE_STRUCT*>(record(1));
    const auto* arc = static_cast<CIRCLE_STRUCT*>(record(3));
    EXPECT_FLOAT_EQ(circle->start, 0);
    EXPECT_FLOAT_EQ(arc->start, 3.14159265f);
    EXPECT_FLOAT_EQ(arc->end, 6.2831853f);
    EXPECT_TRUE(circle->fill == 1 && circle->antialias == 1 && arc->fill == 0 && arc->antialias == 0);
    EXPECT_TRUE(circle->matrix[0] == 0 && circle->rx == 0) << "a reader sets shape and size";
    const auto* text = static_cast<TEXT_STRUCT*>(record(2));
    EXPECT_STREQ(text->text, "Text");
    EXPECT_STREQ(text->family, "Arial");
    EXPECT_TRUE(text->size == 30 && text->displaySize == 30 && text->align == 7 && text->style == 1);
    EXPECT_TRUE(text->font == nullptr && text->scalable == 0 && text->fontKind == 1);
    EXPECT_TRUE(text->matrix[0] == 1 && text->matrix[1] == 0 && text->matrix[3] == 1);
    const auto* open = static_cast<POLY_STRUCT*>(record(4));
    const auto* closed = static_cast<POLY_STRUCT*>(record(5));
    EXPECT_TRUE(open->closed == 0 && open->antialias == 1 && closed->closed == 1 && closed->antialias == 0);
    EXPECT_TRUE(open->lineWidth == 3.0f && open->fillLevel == 1.0f && open->fill == 0);
    const auto* image = static_cast<IMAGE_STRUCT*>(record(6));
    EXPECT_TRUE(image->color[0] == 1 && image->color[3] == 1 && image->texture == 0);
    const auto* button = static_cast<BUTTON_STRUCT*>(record(7));
    EXPECT_TRUE(button->bevel == 4.0f && button->faceColor[0] == 0.7f && button->darkColor[2] == 0.3f);
    const auto* slider = static_cast<SLIDER_STRUCT*>(record(8));
    EXPECT_TRUE(slider->knobHalfHeight == 15.0f && slider->darkColor[0] == 0.3f &&
                slider->lightColor[0] == 0.9f && slider->faceColor[0] == 0.5f);
    const auto* rect = static_cast<RECT_STRUCT*>(record(9));
    EXPECT_TRUE(rect->lineR == 1 && rect->lineG == 0 && rect->fillB == 1 && rect->lineWidth == 2.0f);
    const auto* line = static_cast<LINE_STRUCT*>(record(10));
    EXPECT_TRUE(line->lineR == 0.5f && line->lineG == 1 && line->antialias == 0 && line->stippleFactor == 1);
    elementDeleteAll(&list);
}

TEST(ElementModel, TemplateCopiesShareNothing)
{
    POLY_STRUCT* poly = createCPoly(nullptr);
    appendCoord(&poly->coords, createCoord());
    poly->lineWidth = 7;
    POLY_STRUCT* copy = createPoly(poly);
    EXPECT_TRUE(copy->lineWidth == 7 && copy->closed == 1 && copy->coords == nullptr);
    ELEMENT_STRUCT* a = elementCreate(VD_CPOLYGON);
    ELEMENT_STRUCT* b = elementCreate(VD_CPOLYGON);
    std::free(a->data);
    std::free(b->data);
    a->data = poly;
    b->data = copy;
    elementDelete(a, &a);
    elementDelete(b, &b); // with shared vertices this would free them twice
    GRAPH_STRUCT* graph = createGraph(nullptr, 0);
    graph->samples = 42;
    GRAPH_STRUCT* graphCopy = createGraph(graph, 0);
    EXPECT_EQ(graphCopy->samples, 42);
    std::free(graph);
    std::free(graphCopy);
    expectNoLeaks();
}

// An action with thresholds in every list, snapshots and graph rings as
// binding leaves them.
ACTION_STRUCT* boundAction()
{
    ACTION_STRUCT* a = createAction();
    for (TH_BLOCK* block : {&a->thColor, &a->thWidth, &a->thStyle, &a->thVisibility, &a->thBlink}) {
        appendTh(&block->list, createTh());
        appendTh(&block->list, createTh());
    }
    a->snapshot = std::malloc(8);
    a->secondSnapshot = std::malloc(256);
    for (ACTION_RING* ring : {&a->input, &a->display}) {
        ring->values = static_cast<float*>(std::calloc(501, sizeof(float)));
        ring->secondValues = static_cast<float*>(std::calloc(501, sizeof(float)));
    }
    return a;
}

// A group holding a polygon with vertices, a group with a graph and a
// texture, and elements with actions, handles and an edit backup.
ELEMENT_STRUCT* nestedGroup()
{
    ELEMENT_STRUCT* outer = elementCreate(VD_GROUP);
    ELEMENT_STRUCT* inner = elementCreate(VD_GROUP);
    ELEMENT_STRUCT* poly = elementCreate(VD_CPOLYGON);
    auto* record = static_cast<POLY_STRUCT*>(poly->data);
    for (int i = 0; i < 3; ++i) {
        appendCoord(&record->coords, createCoord());
        appendCoord(&record->fillCoords, createCoord());
    }
    appendAction(&poly->actions, boundAction());
    appendSticky(&poly->stickies, createSticky());
    appendSticky(&poly->stickies, createSticky());
    ELEMENT_STRUCT* graph = elementCreate(VD_GRAPH);
    appendAction(&graph->actions, boundAction());
    graph->editBackup = std::malloc(sizeof(GRAPH_STRUCT));
    elementAppend(graph, &inner->children);
    elementAppend(elementCreate(VD_TEXTURE), &inner->children);
    elementAppend(poly, &outer->children);
    elementAppend(inner, &outer->children);
    appendAction(&outer->actions, boundAction());
    appendAction(&inner->actions, boundAction());
    return outer;
}

TEST(ElementModel, DeletingFreesEverythingAnElementOwns)
{
    ELEMENT_STRUCT* list = nullptr;
    for (int i = 0; i < 3; ++i)
        elementAppend(nestedGroup(), &list);
    ELEMENT_STRUCT* second = list->next;
    ELEMENT_STRUCT* third = second->next;

    EXPECT_EQ(elementDelete(nullptr, &list), 0);
    ELEMENT_STRUCT* empty = nullptr;
    EXPECT_EQ(elementDelete(list, &empty), 0);
    EXPECT_EQ(list->next, second) << "nothing changes for an empty list or a null element";

    elementDelete(list, &list); // the head
    EXPECT_EQ(list, second);
    EXPECT_EQ(second->prev, nullptr);
    elementDelete(third, &list); // the tail
    EXPECT_EQ(list, second);
    EXPECT_EQ(second->next, nullptr);
    elementDelete(second, &list); // the only entry
    EXPECT_EQ(list, nullptr);
    expectNoLeaks();

    // Nesting depth costs no stack: 20,000 nested groups are deleted on a
    // thread with a 128 KB stack.
    ELEMENT_STRUCT* deep = nullptr;
    ELEMENT_STRUCT** tail = &deep;
    for (int i = 0; i < 20000; ++i) {
        ELEMENT_STRUCT* g = elementCreate(VD_GROUP);
        elementAppend(g, tail);
        tail = &g->children;
    }
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 128 * 1024);
    pthread_t thread;
    ASSERT_EQ(pthread_create(
                  &thread, &attr, [](void* head) -> void* {
                      elementDeleteAll(static_cast<ELEMENT_STRUCT**>(head));
                      return nullptr;
                  },
                  &deep),
              0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    EXPECT_EQ(deep, nullptr);
    expectNoLeaks();
}

std::vector<std::string> updated;

int recordUpdate(ELEMENT_STRUCT* e)
{
    updated.push_back(e->name);
    return 0;
}

TEST(ElementModel, AttributeResetUpdatesChildrenBeforeTheirGroup)
{
    ELEMENT_STRUCT* list = nullptr;
    const char* names[] = {"a", "g", "g1", "g2", "b"};
    ELEMENT_STRUCT* e[5];
    for (int i = 0; i < 5; ++i) {
        e[i] = elementCreate(i == 1 ? VD_GROUP : VD_CIRCLE);
        std::snprintf(e[i]->name, sizeof e[i]->name, "%s", names[i]);
        e[i]->update = recordUpdate;
    }
    elementAppend(e[0], &list);
    elementAppend(e[1], &list);
    elementAppend(e[2], &e[1]->children);
    elementAppend(e[3], &e[1]->children);
    elementAppend(e[4], &list);
    e[3]->update = nullptr; // a kind without hooks is skipped
    updated.clear();
    EXPECT_EQ(setElementAttr(list), 0);
    EXPECT_EQ(updated, (std::vector<std::string>{"a", "g1", "g", "b"}));
    EXPECT_EQ(setElementAttr(nullptr), 0);
    elementDeleteAll(&list);
}

std::vector<int> ids(const ACTION_STRUCT* a)
{
    std::vector<int> v;
    const ACTION_STRUCT* last = nullptr;
    for (; a != nullptr; last = a, a = a->next) {
        EXPECT_EQ(a->prev, last) << "broken back link";
        v.push_back(a->id);
    }
    return v;
}

TEST(ElementModel, ActionListOperations)
{
    ACTION_STRUCT* head = nullptr;
    ACTION_STRUCT* a[4];
    for (auto& x : a)
        x = createAction();
    const int base = a[0]->id;
    EXPECT_TRUE(a[1]->id == base + 1 && a[3]->id == base + 3);
    EXPECT_TRUE(a[0]->a1 == 1 && a[0]->b1 == 1 && a[0]->secondB1 == 1 && a[0]->filterTime == 1.0f &&
                a[0]->mouseInc == 1.0f && a[0]->mouseMax == 1.0f && a[0]->mouseHiddenActive == 1 &&
                a[0]->thColor.max == 120.0f && a[0]->thBlink.max == 120.0f && a[0]->thBlink.min == 0);

    EXPECT_EQ(actionInsertBefore(a[0], nullptr, &head), 0); // into an empty list
    actionInsertAfter(a[1], nullptr, &head);                // after the head
    actionInsertBefore(a[2], nullptr, &head);               // before the head: the new head
    appendAction(&head, a[3]);
    EXPECT_EQ(ids(head), (std::vector<int>{base + 2, base, base + 1, base + 3}));
    actionUp(head, &head);  // the head stays
    actionDown(a[3], &head); // the tail stays
    EXPECT_EQ(ids(head), (std::vector<int>{base + 2, base, base + 1, base + 3}));
    actionUp(a[3], &head);
    actionDown(a[2], &head);
    EXPECT_EQ(ids(head), (std::vector<int>{base, base + 2, base + 3, base + 1}));
    actionCut(a[0], &head);
    EXPECT_EQ(head, a[2]);
    EXPECT_EQ(a[0]->next, a[2]) << "a cut action keeps its own links";
    actionInsertAfter(a[0], a[1], &head);
    EXPECT_EQ(ids(head), (std::vector<int>{base + 2, base + 3, base + 1, base}));
    EXPECT_EQ(appendAction(nullptr, a[0]), -1);
    EXPECT_EQ(delAction(&head, nullptr), 0);

    // A copy keeps id and thresholds, is unbound and owns its entries.
    ACTION_STRUCT* source = boundAction();
    source->type = 13;
    std::snprintf(source->var, sizeof source->var, "speed");
    source->mouseMode = 2;
    source->thStyle.max = 99;
    source->thStyle.list->stippleFactor = 3;
    source->thStyle.list->stipplePattern = 0x0C0F;
    source->thStyle.list->next->level = 42;
    source->disabled = 1;
    ACTION_STRUCT* copy = actionCopy(source);
    EXPECT_EQ(copy->id, source->id);
    EXPECT_TRUE(copy->type == 13 && std::strcmp(copy->var, "speed") == 0 && copy->mouseMode == 2);
    EXPECT_TRUE(copy->thStyle.max == 99 && copy->thStyle.list != source->thStyle.list);
    EXPECT_TRUE(copy->thStyle.list->stippleFactor == 3 && copy->thStyle.list->stipplePattern == 0x0C0F);
    EXPECT_EQ(copy->thStyle.list->next->level, 42);
    EXPECT_TRUE(copy->snapshot == nullptr && copy->input.values == nullptr && copy->value == nullptr &&
                copy->next == nullptr && copy->disabled == 0);
    EXPECT_EQ(actionCopy(nullptr), nullptr);
    appendAction(&head, source);
    appendAction(&head, copy);
    while (head != nullptr)
        delAction(&head, head); // frees thresholds, snapshots and rings too
    expectNoLeaks();
}

TEST(ElementModel, ThresholdAndVertexLists)
{
    TH_STRUCT* th = createTh();
    EXPECT_TRUE(th->intValue == 1 && th->r == 0.5f && th->g == 1.0f && th->b == 0.5f &&
                th->stippleFactor == 1 && th->stipplePattern == 0xFFFF);
    TH_STRUCT* head = nullptr;
    TH_STRUCT* second = createTh();
    TH_STRUCT* third = createTh();
    thInsertAfter(th, nullptr, &head);
    appendTh(&head, third);
    thInsertBefore(second, third, &head);
    EXPECT_TRUE(head == th && th->next == second && second->next == third && third->prev == second);
    delTh(&head, th);
    EXPECT_TRUE(head == second && second->prev == nullptr);
    delTh(&head, third);
    EXPECT_TRUE(head == second && second->next == nullptr);
    delTh(&head, second);
    EXPECT_EQ(head, nullptr);
    EXPECT_EQ(delTh(nullptr, nullptr), -1);

    COORD_STRUCT* coords = nullptr;
    COORD_STRUCT* c0 = createCoord();
    COORD_STRUCT* c1 = createCoord();
    EXPECT_EQ(c1->id, c0->id + 1);
    EXPECT_TRUE(c0->x == 0 && c0->localX == 0 && c0->length == 0);
    appendCoord(&coords, c0);
    appendCoord(&coords, c1);
    EXPECT_TRUE(coords == c0 && c0->next == c1 && c1->prev == c0);
    delCoord(&coords, c0);
    EXPECT_TRUE(coords == c1 && c1->prev == nullptr);
    EXPECT_EQ(delCoord(&coords, nullptr), 0);
    delCoord(&coords, c1);
    EXPECT_EQ(coords, nullptr);
    expectNoLeaks();
}

TEST(ElementModel, LabelFormats)
{
    GRAPH_STRUCT* g = createGraph(nullptr, 0);
    struct Row
    {
        float spacing, lo, hi;
        const char* format;
    };
    const Row rows[] = {
        {0.5f, -100, 100, "%5.1f"}, {2, 0, 100, "%3.0f"},    {0.1f, 0, 5, "%3.1f"},
        {0.05f, -2, 1, "%4.2f"},    {1, 0, 0, "%1.0f"},      {1, 0, 1e30f, "%31.0f"},
        {0, 0, 1, "%22.20f"},       {1e-30f, 0, 1, "%22.20f"}, {2, 0, INFINITY, "%40.0f"},
        {float(NAN), float(NAN), 1, "%1.0f"},
    };
    for (const Row& row : rows) {
        g->tickXSpace = row.spacing;
        g->tickYSpace = row.spacing;
        EXPECT_EQ(VGraphSetXLabel(g, row.lo, row.hi), 0);
        EXPECT_EQ(VGraphSetYLabel(g, row.lo, row.hi), 0);
        EXPECT_STREQ(g->xLabelFormat, row.format) << row.spacing << " " << row.lo << " " << row.hi;
        EXPECT_STREQ(g->yLabelFormat, row.format);
    }
    EXPECT_EQ(VGraphSetXLabel(nullptr, 0, 1), -1);
    std::free(g);
}

} // namespace
