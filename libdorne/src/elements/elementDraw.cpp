// The draw loop: one element list per frame with the blink clock, the depth
// range per element, the overrides a group hands to its children, actions in
// run mode, visibility, each kind's drawing through its descriptor, and the
// clipping of a group's children by the scissor box or the stencil buffer.
#include "elements/elementKinds.h"

#include "dorneGl.h"
#include "dornePlatform.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Depth offset of the element being drawn; restarts at 0.1 with every
// top-level call. Process-wide like the blink clock: views are drawn one
// after another on the thread that owns the context.
double offset = 0;

// The eight blink phases (blink_025 .. blink_600) by blink rate 1-8: each
// toggles at the first top-level call after its interval has passed since
// its last toggle. All start off at time 0, so the first call turns them on.
struct BlinkPhase
{
    double interval;   // seconds
    int on;
    double lastToggle; // apiGetTime of the last toggle
};
BlinkPhase blinkPhases[8] = {{2.0, 0, 0},   {1.0, 0, 0},   {0.5, 0, 0}, {0.25, 0, 0},
                             {0.166, 0, 0}, {0.125, 0, 0}, {0.1, 0, 0}, {0.083, 0, 0}};

void advanceBlinkClock(double now)
{
    for (BlinkPhase& p : blinkPhases) {
        if (now - p.lastToggle > p.interval) {
            p.on = !p.on;
            p.lastToggle = now;
        }
    }
}

// 1 unless the element blinks (blink and its override both set) at a rate
// of 1-8: then that rate's phase.
int blinkPhase(const ATTR_STRUCT& a)
{
    if (a.blink == 0 || a.blinkOverride == 0 || a.blinkRate < 1 || a.blinkRate > 8)
        return 1;
    return blinkPhases[a.blinkRate - 1].on;
}

// The element takes every field its group overrides, with the flag.
void inherit(ATTR_STRUCT& a, const ATTR_STRUCT& group)
{
    if (group.lineStyleOverride) {
        a.lineStyle = group.lineStyle;
        a.stippleFactor = group.stippleFactor;
        a.stipplePattern = group.stipplePattern;
        a.lineStyleOverride = 1;
    }
    if (group.lineWidthOverride) {
        a.lineWidth = group.lineWidth;
        a.lineWidthOverride = 1;
    }
    if (group.lineColorOverride) {
        std::memcpy(a.lineColor, group.lineColor, sizeof a.lineColor);
        a.lineColorOverride = 1;
    }
    if (group.fillColorOverride) {
        std::memcpy(a.fillColor, group.fillColor, sizeof a.fillColor);
        a.fillColorOverride = 1;
    }
    if (group.visibleOverride) {
        a.visible = group.visible;
        a.visibleOverride = 1;
    }
    if (group.textOverride) {
        std::memcpy(a.text, group.text, sizeof a.text);
        a.text[sizeof a.text - 1] = '\0';
        a.textOverride = 1;
    }
}

// The current matrices and viewport, for projecting points to the window.
struct Projection
{
    GLdouble model[16];
    GLdouble projection[16];
    GLint viewport[4];

    Projection()
    {
        glGetDoublev(GL_MODELVIEW_MATRIX, model);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
    }

    void project(double x, double y, double& wx, double& wy) const
    {
        GLdouble wz = 0;
        wx = wy = 0;
        gluProject(x, y, 0, model, projection, viewport, &wx, &wy, &wz);
    }
};

// Pixels per view unit: the window distance of 100 units in x, over 100. A
// mirrored projection gives the same width (a negative one is refused by GL).
float projectedLineScale()
{
    const Projection p;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    p.project(0, 0, x0, y0);
    p.project(100, 100, x1, y1);
    return static_cast<float>(std::fabs((x1 - x0) / 100.0));
}

// A window box as glScissor takes it.
struct PixelBox
{
    GLint x, y;
    GLsizei width, height;
};

// The window box of the group's clip quad under the current matrices. For
// the quad as the scissor finder stores it (corner 0 lower left, 1 lower
// right, 2 upper right) that is x, y of corner 0 with width and height to
// corners 1 and 2; a mirrored or turned projection gets the box around all
// four corners instead of a negative size.
PixelBox clipQuadBox(const ELEMENT_STRUCT& group)
{
    const Projection p;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (int i = 0; i < 4; ++i) {
        double wx = 0, wy = 0;
        p.project(group.clipQuadX[i], group.clipQuadY[i], wx, wy);
        minX = i == 0 ? wx : std::min(minX, wx);
        minY = i == 0 ? wy : std::min(minY, wy);
        maxX = i == 0 ? wx : std::max(maxX, wx);
        maxY = i == 0 ? wy : std::max(maxY, wy);
    }
    return {vdiPixelToInt(float(minX)), vdiPixelToInt(float(minY)), vdiPixelToInt(float(maxX - minX)),
            vdiPixelToInt(float(maxY - minY))};
}

PixelBox intersect(const PixelBox& a, const PixelBox& b)
{
    const long x0 = std::max<long>(a.x, b.x), y0 = std::max<long>(a.y, b.y);
    const long x1 = std::min<long>(long(a.x) + a.width, long(b.x) + b.width);
    const long y1 = std::min<long>(long(a.y) + a.height, long(b.y) + b.height);
    return {GLint(x0), GLint(y0), GLsizei(std::max(0L, x1 - x0)), GLsizei(std::max(0L, y1 - y0))};
}

// The group's clip quad into the stencil buffer only.
void stencilQuad(const ELEMENT_STRUCT& group)
{
    glColorMask(0, 0, 0, 0);
    glColor3f(1, 1, 1);
    wtBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i)
        glVertex2f(group.clipQuadX[i], group.clipQuadY[i]);
    wtEnd();
    glColorMask(1, 1, 1, 1);
}

void drawChildren(const VdiDrawCall& c, int level)
{
    drawUserElements(c.element->children, &c.element->attr, c.running, c.halt, c.clipInEdit, c.para, level);
}

// Scissor box clipping. A nested box is cut to the enclosing one, and the
// enclosing box is set again for the siblings that follow.
void drawScissored(const VdiDrawCall& c, bool clipping)
{
    ELEMENT_STRUCT& group = *c.element;
    bool enclosed = false;
    PixelBox outer{0, 0, 0, 0};
    if (clipping) {
        enclosed = glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE;
        PixelBox box = clipQuadBox(group);
        if (enclosed) {
            GLint saved[4] = {0, 0, 0, 0};
            glGetIntegerv(GL_SCISSOR_BOX, saved);
            outer = {saved[0], saved[1], saved[2], saved[3]};
            box = intersect(box, outer);
        }
        glScissor(box.x, box.y, box.width, box.height);
        glEnable(GL_SCISSOR_TEST);
    }
    if (c.running == 0)
        drawGroup(&group, &group.attr);
    drawChildren(c, c.stencilLevel + 1);
    if (clipping) {
        if (enclosed)
            glScissor(outer.x, outer.y, outer.width, outer.height);
        else
            glDisable(GL_SCISSOR_TEST);
    }
}

// Stencil clipping: inside the group's quad the stencil is raised by one
// above the enclosing groups' level, and the children pass only above the
// group's level. Afterwards the quad is lowered again, so that a later
// sibling group at the same level does not pass through this one's area,
// and the enclosing group's test is set again.
void drawStenciled(const VdiDrawCall& c, bool clipping)
{
    ELEMENT_STRUCT& group = *c.element;
    const int level = c.stencilLevel;
    if (!clipping) {
        drawChildren(c, level);
        if (c.running == 0)
            drawGroup(&group, &group.attr);
        return;
    }
    glEnable(GL_STENCIL_TEST);
    if (level == 0) {
        glClearStencil(0);
        glClear(GL_STENCIL_BUFFER_BIT);
        glStencilFunc(GL_ALWAYS, 1, 0xFF);
        glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
    } else {
        glStencilFunc(GL_EQUAL, level, 0xFF);
        glStencilOp(GL_KEEP, GL_INCR, GL_INCR);
    }
    stencilQuad(group);
    glStencilFunc(GL_LESS, level, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    drawChildren(c, level + 1);
    if (c.running == 0)
        drawGroup(&group, &group.attr);
    if (level == 0) {
        glDisable(GL_STENCIL_TEST);
        return;
    }
    GLboolean depthWrites = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    glDepthMask(GL_FALSE);
    glStencilFunc(GL_EQUAL, level + 1, 0xFF);
    glStencilOp(GL_KEEP, GL_DECR, GL_DECR);
    stencilQuad(group);
    glDepthMask(depthWrites);
    glStencilFunc(GL_LESS, level - 1, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
}

} // namespace

void vdiDrawGroupChildren(const VdiDrawCall& call)
{
    const bool clipping = call.element->clip != 0 && (call.running != 0 || call.clipInEdit != 0);
    if (call.para->scissorType == 1)
        drawScissored(call, clipping);
    else
        drawStenciled(call, clipping);
}

int drawUserElements(ELEMENT_STRUCT* list, ATTR_STRUCT* parentAttr, int running, int halt, int clipInEdit,
                     DRAW_PARA_STRUCT* para, int stencilLevel)
{
    DRAW_PARA_STRUCT plain = {1.0f, 0, 0, 0};
    if (para == nullptr)
        para = &plain;
    if (parentAttr == nullptr)
        offset = 0.1;
    if (para->lineScaling == 0)
        vvSetLineScale(1.0f);
    else if (parentAttr == nullptr)
        vvSetLineScale(projectedLineScale());
    if (parentAttr == nullptr)
        advanceBlinkClock(apiGetTime());

    // Bounded by the list; groups recurse once per nesting level.
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        if (para->depthOffset != 0) {
            offset *= 0.99998;
            glDepthRange(0, 1 - (0.1 - offset));
        }
        ATTR_STRUCT& a = e->attr;
        if (parentAttr != nullptr)
            inherit(a, *parentAttr);
        const int phase = blinkPhase(a);
        const ElementKind* kind = vdiElementKind(e->kind);
        const bool atPosition = e->actions == nullptr && kind != nullptr && kind->drawsAtPosition;
        if (!atPosition) {
            wtPushMatrix();
            glTranslatef(e->x, e->y, 0);
        }
        if (running != 0) {
            doAction(e, halt);
            a.running = 1;
        } else {
            a.running = 0;
        }
        if (((a.visible != 0 && phase != 0) || running == 0) && kind != nullptr && kind->draw != nullptr) {
            const VdiDrawCall call = {e,     running, halt, clipInEdit, para, stencilLevel,
                                      atPosition ? e->x : 0.0f, atPosition ? e->y : 0.0f};
            kind->draw(call);
        }
        if (!atPosition)
            wtPopMatrix();
    }

    if (para->depthOffset != 0)
        glDepthRange(0, 1);
    wtFinish();
    return 0;
}

int vdiFindScissor_New(ELEMENT_STRUCT* list, float, float, float, float, float)
{
    vdiVisitScissors(list, [](ELEMENT_STRUCT* e, const ELEMENT_STRUCT*) {
        const float w = e->width, h = e->height;
        std::printf("sx = %f sy = %f sw = %f sh = %f\n", double(e->x), double(e->y), double(w), double(h));
        glPushMatrix();
        glTranslatef(e->x - w / 2, e->y - h / 2, 0);
        const Projection p;
        glPopMatrix();
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        p.project(0, 0, x0, y0); // bottom left
        p.project(w, 0, x1, y1); // bottom right
        p.project(0, h, x2, y2); // top left
        e->clipBoxX = vdiPixelToInt(float(std::min(x0, x1)));
        e->clipBoxY = vdiPixelToInt(float(std::min(y0, y2)));
        e->clipBoxWidth = vdiPixelToInt(float(std::fabs(x1 - x0)));
        e->clipBoxHeight = vdiPixelToInt(float(std::fabs(y2 - y0)));
    });
    return 0;
}
