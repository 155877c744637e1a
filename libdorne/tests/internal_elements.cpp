// White-box tests of the element model's hidden helpers: the phases of the
// edit protocol and the clip boxes of groups.
#include "elements/elementKinds.h"

#include "leakCheck.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

namespace {

ELEMENT_STRUCT* scissor(float x0, float y0, float x2, float y2)
{
    ELEMENT_STRUCT* e = elementCreate(VD_SCISSOR);
    auto* s = static_cast<SCISSOR_STRUCT*>(e->data);
    const float xs[4] = {x0, x0, x2, x2};
    const float ys[4] = {y0, y2, y2, y0};
    for (int i = 0; i < 4; ++i) {
        s->cornerX[i] = xs[i];
        s->cornerY[i] = ys[i];
    }
    e->x = (x0 + x2) / 2 - 100; // relative to a group centred at (100, 200)
    e->y = (y0 + y2) / 2 - 200;
    e->width = std::fabs(x2 - x0);
    e->height = std::fabs(y2 - y0);
    return e;
}

TEST(ElementInternals, GroupClipBoxesTheLastScissorWins)
{
    ELEMENT_STRUCT* list = nullptr;
    ELEMENT_STRUCT* plain = elementCreate(VD_RECTANGLE);
    ELEMENT_STRUCT* group = elementCreate(VD_GROUP);
    ELEMENT_STRUCT* inner = elementCreate(VD_GROUP);
    ELEMENT_STRUCT* unclipped = elementCreate(VD_GROUP);
    ELEMENT_STRUCT* noRecord = elementCreate(VD_GROUP);
    plain->clip = unclipped->clip = 1; // cleared by the finder
    elementAppend(plain, &list);
    elementAppend(group, &list);
    elementAppend(unclipped, &list);
    elementAppend(noRecord, &list);
    elementAppend(scissor(0, 0, 1000, 1000), &group->children);
    elementAppend(elementCreate(VD_LINE), &group->children);
    elementAppend(scissor(110, 210, 150, 230), &group->children);
    elementAppend(inner, &group->children);
    elementAppend(scissor(120, 190, 130, 250), &inner->children);
    elementAppend(elementCreate(VD_CIRCLE), &unclipped->children);
    ELEMENT_STRUCT* broken = elementCreate(VD_SCISSOR);
    std::free(broken->data); // a scissor without record is passed over
    broken->data = nullptr;
    elementAppend(broken, &noRecord->children);

    // Offset (5, 7), origin (100, 200), zoom 2.
    EXPECT_EQ(vdiFindScissor(list, 5, 7, 100, 200, 2), 0);
    EXPECT_EQ(plain->clip, 0);
    EXPECT_EQ(unclipped->clip, 0);
    EXPECT_EQ(noRecord->clip, 0);
    ASSERT_EQ(group->clip, 1);
    EXPECT_EQ(group->clipBoxX, 25);
    EXPECT_EQ(group->clipBoxY, 27);
    EXPECT_EQ(group->clipBoxWidth, 80);
    EXPECT_EQ(group->clipBoxHeight, 40);
    const float quadX[4] = {10, 50, 50, 10}, quadY[4] = {10, 10, 30, 30};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(group->clipQuadX[i], quadX[i]);
        EXPECT_FLOAT_EQ(group->clipQuadY[i], quadY[i]);
    }
    ASSERT_EQ(inner->clip, 1) << "groups inside groups";
    EXPECT_EQ(inner->clipBoxX, 45);
    EXPECT_EQ(inner->clipBoxY, -13);
    EXPECT_EQ(inner->clipBoxHeight, 120);

    // Corrupt geometry clamps instead of overflowing the int fields.
    auto* s = static_cast<SCISSOR_STRUCT*>(inner->children->data);
    s->cornerX[0] = s->cornerX[1] = -1e30f;
    s->cornerY[0] = s->cornerY[3] = NAN;
    vdiFindScissor(list, 0, 0, 0, 0, 1);
    EXPECT_EQ(inner->clipBoxX, INT_MIN + 128);
    EXPECT_EQ(inner->clipBoxWidth, INT_MAX - 127);
    EXPECT_EQ(inner->clipBoxY, 0);
    elementDeleteAll(&list);
}

// A kind's update as the kinds write it: handles rebuilt from the record
// (here 1 at corner 0, 5 at corner 2, 9 at the centre).
int updates = 0;

int rebuildHandles(ELEMENT_STRUCT* e)
{
    ++updates;
    HandleRebuild rebuild(e);
    const auto* r = static_cast<RECT_STRUCT*>(e->data);
    vdiAppendHandle(e, 1, 1, r->x[0], r->y[0], 4, 4);
    vdiAppendHandle(e, 5, 1, r->x[2], r->y[2], 4, 4);
    vdiAppendHandle(e, 9, 3, (r->x[0] + r->x[2]) / 2, (r->y[0] + r->y[2]) / 2, 4, 4);
    vdiAppendHandle(e, 100, 1, 0, 0, 2, 2); // ids from 10 on are not saved
    return rebuild.settle(true);
}

void moveCorners(ELEMENT_STRUCT* e, const void* backup, int command, const EDIT_PARA_STRUCT* para)
{
    const auto* from = static_cast<const RECT_STRUCT*>(backup);
    auto* to = static_cast<RECT_STRUCT*>(e->data);
    for (int i = 0; i < 4; ++i)
        resizeMoveElement(e, command, &to->x[i], &to->y[i], para->x, para->y, from->x[i], from->y[i]);
}

std::vector<int> phasesSeen;

int editRect(ELEMENT_STRUCT* e, STICKY_STRUCT* handles, int command, int phase, EDIT_PARA_STRUCT* para)
{
    phasesSeen.push_back(phase);
    if (handles != nullptr)
        phasesSeen.push_back(int(handles->id)); // a list freed by an earlier phase's update fails here
    return vdiEditPhase(e, handles, command, phase, para, moveCorners);
}

TEST(ElementInternals, EditPhases)
{
    ELEMENT_STRUCT* e = elementCreate(VD_RECTANGLE);
    auto* r = static_cast<RECT_STRUCT*>(e->data);
    const float xs[4] = {10, 10, 50, 50}, ys[4] = {20, 60, 60, 20};
    std::memcpy(r->x, xs, sizeof xs);
    std::memcpy(r->y, ys, sizeof ys);
    e->update = rebuildHandles;
    e->update(e);
    updates = 0;
    EDIT_PARA_STRUCT para = {};
    para.x = 40; // move the centre to (40, 50)
    para.y = 50;

    EXPECT_EQ(vdiEditPhase(e, e->stickies, 9, 1, &para, moveCorners), 0);
    EXPECT_EQ(r->x[0], 10) << "no drag without a begin";
    EXPECT_EQ(vdiEditPhase(e, e->stickies, 9, 0, &para, moveCorners), 0);
    ASSERT_NE(e->editBackup, nullptr);
    EXPECT_EQ(std::memcmp(e->editBackup, r, sizeof *r), 0);
    EXPECT_TRUE(e->savedHandles[1].x == 10 && e->savedHandles[5].y == 60 && e->savedHandles[9].x == 30);
    vdiEditPhase(e, e->stickies, 9, 0, &para, moveCorners); // a second begin replaces the backup
    vdiEditPhase(e, e->stickies, 9, 1, &para, moveCorners);
    EXPECT_TRUE(r->x[0] == 20 && r->y[0] == 30 && r->x[2] == 60 && r->y[2] == 70);
    para.x = 30;
    para.y = 40;
    vdiEditPhase(e, e->stickies, 9, 1, &para, moveCorners);
    EXPECT_EQ(r->x[0], 10) << "every drag starts from the backup";
    vdiEditPhase(e, e->stickies, 9, 2, &para, moveCorners);
    EXPECT_EQ(e->editBackup, nullptr);
    EXPECT_EQ(updates, 6) << "the update runs after every phase, a drag without begin too";

    // All at once, through the element's own edit; the handle list it is
    // given is the element's own, which every update rebuilds.
    e->edit = editRect;
    para.x = 0;
    para.y = 0;
    phasesSeen.clear();
    EXPECT_EQ(vdiEditPhase(e, e->stickies, 9, 3, &para, moveCorners), 0);
    EXPECT_EQ(phasesSeen, (std::vector<int>{0, 1, 1, 1, 2, 1}));
    EXPECT_TRUE(r->x[0] == -20 && r->y[0] == -20 && r->x[2] == 20 && r->y[2] == 20);
    EXPECT_EQ(e->editBackup, nullptr);

    // Without an edit hook the helper runs the phases itself.
    e->edit = nullptr;
    para.x = 10;
    vdiEditPhase(e, e->stickies, 9, 3, &para, moveCorners);
    EXPECT_EQ(r->x[0], -10);
    EXPECT_EQ(e->editBackup, nullptr);
    EXPECT_EQ(vdiEditPhase(nullptr, nullptr, 9, 3, &para, moveCorners), -1);
    elementDelete(e, &e);
}

TEST(ElementInternals, PolygonBackupOwnsItsVertices)
{
    ELEMENT_STRUCT* e = elementCreate(VD_POLYGON);
    auto* p = static_cast<POLY_STRUCT*>(e->data);
    for (int i = 0; i < 3; ++i) {
        COORD_STRUCT* c = createCoord();
        c->x = float(i);
        appendCoord(&p->coords, c);
    }
    appendCoord(&p->fillCoords, createCoord());
    const uint32_t nextId = p->coords->next->next->id + 2;
    vdiEditPhase(e, nullptr, 9, 0, nullptr, nullptr);
    vdiEditPhase(e, nullptr, 9, 0, nullptr, nullptr);
    const auto* backup = static_cast<const POLY_STRUCT*>(e->editBackup);
    ASSERT_NE(backup, nullptr);
    EXPECT_EQ(backup->fillCoords, nullptr);
    const COORD_STRUCT* b = backup->coords;
    for (const COORD_STRUCT* c = p->coords; c != nullptr; c = c->next, b = b->next) {
        ASSERT_NE(b, nullptr);
        EXPECT_NE(b, c);
        EXPECT_TRUE(b->id == c->id && b->x == c->x);
    }
    EXPECT_EQ(b, nullptr);
    COORD_STRUCT* later = createCoord();
    EXPECT_EQ(later->id, nextId) << "copies take no running ids";
    std::free(later);
    elementDelete(e, &e); // in the middle of an edit
    expectNoLeaks();
}

} // namespace
