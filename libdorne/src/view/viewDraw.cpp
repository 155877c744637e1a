// Drawing a view into the current GL context: directly, through the
// 1024 x 1024 render texture, into a window record, or in the caller's own
// transformation. Each ends in one run of the element draw loop, under the
// view's mutex and then the library lock (a text's font and an image's GL
// texture are made at their first draw).
#include "view/viewInternal.h"

#include "base/libraryLock.h"

#include "dorneGl.h"
#include "dorneTextures.h"
#include "dorneView.h"
#include "elements/elementKinds.h"

#include <GL/gl.h>

#include <cmath>

namespace dorne {

std::atomic<long> viewClipRefreshes{0};

namespace {

const int kRenderSize = 1024;

// The GL attributes a plane draw and a window draw push and pop: current,
// point, line, polygon stipple, lighting, depth buffer, stencil buffer,
// viewport and texture.
const GLbitfield kPushedAttributes = GL_CURRENT_BIT | GL_POINT_BIT | GL_LINE_BIT | GL_POLYGON_STIPPLE_BIT |
                                     GL_LIGHTING_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT |
                                     GL_VIEWPORT_BIT | GL_TEXTURE_BIT;

// Without a current context GL gives no version string.
bool glContextCurrent()
{
    return glGetString(GL_VERSION) != nullptr;
}

// A draw's checks, before any lock: -1, -2, -3 or 0.
int checkDraw(const vdView_Struct* view)
{
    if (const int status = checkView(view))
        return status;
    return glContextCurrent() ? 0 : -3;
}

// The view's mutex, then the library lock, for one draw.
class DrawLock
{
public:
    explicit DrawLock(vdView_Struct* view) : view_(view), library_(libraryLock()) {}

private:
    ViewLock view_;
    LibraryLockGuard library_;
};

DRAW_PARA_STRUCT drawParameters(const vdView_Struct* view, float zoom)
{
    return {zoom, view->scissorType, view->depthOffset, view->lineScaling};
}

// Recomputes the clip regions of the groups that hold a SCISSOR element
// when the draw offset or scale moved since the last computation.
void clipRefresh(vdView_Struct* view, float offsetX, float offsetY, float originX, float originY, float scale)
{
    if (view->drawOffsetX == view->scissorOffsetX && view->drawOffsetY == view->scissorOffsetY &&
        !(std::fabs(view->drawScale - view->scissorScale) > 0.01f))
        return;
    view->scissorOffsetX = view->drawOffsetX;
    view->scissorOffsetY = view->drawOffsetY;
    view->scissorScale = view->drawScale;
    vdiFindScissor(view->elements, offsetX, offsetY, originX, originY, scale);
    viewClipRefreshes.fetch_add(1, std::memory_order_relaxed);
}

// A view started without animation exchanges data once per draw; the data
// thread does it for an animated one.
void exchange(vdView_Struct* view, int32_t state)
{
    if (state == 1)
        fillDP(view->dataSources);
}

void drawLoop(vdView_Struct* view, int32_t state, DRAW_PARA_STRUCT& para)
{
    drawUserElements(view->elements, nullptr, state, view->haltMode, 1, &para, 0);
}

void applyColorFactor(const vdView_Struct* view)
{
    vvSetColorFactor(view->colorFactor[0], view->colorFactor[1], view->colorFactor[2], view->colorFactor[3]);
}

// Off for every view draw but the window record's (which keeps the scissor).
void disableUnusedStages()
{
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_DITHER);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
}

// What the texture cannot hold: only its lower-left part would be copied,
// and its repeat wrapping would tile that over the rest.
bool exceedsTexture(const vdView_Struct* view)
{
    return !(view->config.width <= float(kRenderSize) && view->config.height <= float(kRenderSize));
}

// The direct draw with the view's mutex and the library lock held.
void drawDirect(vdView_Struct* view)
{
    const int32_t state = viewState(view);
    glPushAttrib(kPushedAttributes);
    disableUnusedStages();
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    if (view->depthOffset != 0)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    applyColorFactor(view);

    DRAW_PARA_STRUCT para = drawParameters(view, view->drawScale);
    clipRefresh(view, 0, 0, 0, 0, 1.0f);
    exchange(view, state);

    glTranslatef(float(view->drawOffsetX), float(view->drawOffsetY), 0);
    glScalef(view->drawScale, view->drawScale, 1);
    if (view->backgroundMode != 0) {
        const CONFIG_STRUCT& c = view->config;
        glColor3f(c.r, c.g, c.b);
        wtBegin(GL_POLYGON);
        glVertex2f(c.x, c.y);
        glVertex2f(c.x, c.y + c.height);
        glVertex2f(c.x + c.width, c.y + c.height);
        glVertex2f(c.x + c.width, c.y);
        wtEnd();
    }
    drawLoop(view, state, para);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

// Renders the view into its texture: the view's own area projected onto the
// lower-left pixels of the current frame buffer, which are then copied.
void renderTexture(vdView_Struct* view, int32_t state)
{
    renderSaveViewport(view);
    // The projection is the caller's again afterwards, so that a draw that
    // renders shows the texture where a cached draw does.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    if (view->renderTexture == 0)
        createRenderTexture(view);
    renderSetViewport(view);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    applyColorFactor(view);
    DRAW_PARA_STRUCT para = drawParameters(view, 1.0f);
    clipRefresh(view, 0, 0, 0, 0, 1.0f);
    exchange(view, state);
    // Cleared to transparent black; the caller's clear colour is put back.
    GLfloat callerClear[4] = {0, 0, 0, 0};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, callerClear);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(callerClear[0], callerClear[1], callerClear[2], callerClear[3]);
    drawLoop(view, state, para);
    glFlush();
    fillRenderTexture(view);
    view->renderDirty = 0;
    restoreViewPort(view);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

// Modes 0 and 1 with the view's mutex and the library lock held.
void drawThroughTexture(vdView_Struct* view, int mode, bool depthWasOn)
{
    const int32_t state = viewState(view);
    glPushAttrib(kPushedAttributes);
    disableUnusedStages();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    // A view never rendered has no picture to show yet, whatever the flag.
    if (mode == 1 || view->renderTexture == 0)
        view->renderDirty = 1;
    if (view->renderDirty != 0)
        renderTexture(view, state);
    if (depthWasOn)
        glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(float(view->drawOffsetX), float(view->drawOffsetY), 0);
    glScalef(view->drawScale, view->drawScale, 1);
    drawRenderTexture(view);
    glPopMatrix();
    glPopAttrib();
}

} // namespace

} // namespace dorne

using dorne::checkDraw;
using dorne::DrawLock;

int vdViewDrawPlane_Direct(vdView_Struct* view, int /*mode*/)
{
    if (const int status = checkDraw(view))
        return status;
    DrawLock lock(view);
    dorne::drawDirect(view);
    return 0;
}

int vdViewDrawPlane(vdView_Struct* view, int mode)
{
    const bool depthWasOn = glIsEnabled(GL_DEPTH_TEST) == GL_TRUE;
    if (const int status = checkDraw(view))
        return status;
    DrawLock lock(view);
    if (mode == 2 || dorne::exceedsTexture(view))
        dorne::drawDirect(view);
    else
        dorne::drawThroughTexture(view, mode, depthWasOn);
    return 0;
}

int vdViewDraw(vdWindow_Struct* window, vdView_Struct* view, float x, float y, float scale)
{
    if (window == nullptr || view == nullptr)
        return -1;
    if (window->magic != VD_WINDOW_MAGIC || view->magic != VD_VIEW_MAGIC)
        return -2;
    if (!dorne::glContextCurrent())
        return -3;
    DrawLock lock(view);
    const int32_t state = dorne::viewState(view);
    glPushAttrib(dorne::kPushedAttributes);
    dorne::applyColorFactor(view);
    dorne::disableUnusedStages();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    vddSetViewport(window->width, window->height);

    view->drawOffsetX = dorne::clampToInt(x);
    view->drawOffsetY = dorne::clampToInt(y);
    view->drawScale = scale;
    window->para = dorne::drawParameters(view, scale);
    const CONFIG_STRUCT& c = view->config;
    dorne::clipRefresh(view, x, y, c.x, c.y, scale);
    dorne::exchange(view, state);

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(x, y, 0);
    glScalef(scale, scale, 1);
    glTranslatef(-c.x, -c.y, 0);
    dorne::drawLoop(view, state, window->para);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    return 0;
}

int vdViewDrawWindow(vdView_Struct* view)
{
    if (const int status = checkDraw(view))
        return status;
    DrawLock lock(view);
    const int32_t state = dorne::viewState(view);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_DITHER);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glShadeModel(GL_FLAT);
    dorne::applyColorFactor(view);

    DRAW_PARA_STRUCT para = dorne::drawParameters(view, 1.0f);
    const CONFIG_STRUCT& c = view->config;
    dorne::clipRefresh(view, 0, 0, c.x, c.y, 1.0f);
    dorne::exchange(view, state);

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    dorne::drawLoop(view, state, para);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    return 0;
}
