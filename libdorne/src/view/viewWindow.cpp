// The window record that vdViewDraw draws into, and the projection one unit
// per pixel over a window. The GL layer's mode and change-tracking flags
// are process-wide: setting them holds the library lock, as draws do.
#include "view/viewInternal.h"

#include "base/libraryLock.h"

#include "dorneGl.h"
#include "dorneView.h"

#include <GL/gl.h>

#include <cstdlib>

namespace {

int checkWindow(const vdWindow_Struct* window)
{
    if (window == nullptr)
        return -1;
    return window->magic == VD_WINDOW_MAGIC ? 0 : -2;
}

} // namespace

vdWindow_Struct* vdWindowCreate(void)
{
    auto* window = static_cast<vdWindow_Struct*>(std::calloc(1, sizeof(vdWindow_Struct)));
    if (window == nullptr)
        return nullptr;
    window->magic = VD_WINDOW_MAGIC;
    window->para.zoom = 1.0f;
    dorne::LibraryLockGuard lock(dorne::libraryLock());
    wtSetRgbMode(1);
    return window;
}

int vdWindowInit(vdWindow_Struct* window, int width, int height)
{
    if (const int status = checkWindow(window))
        return status;
    dorne::LibraryLockGuard lock(dorne::libraryLock());
    glHint(GL_LINE_SMOOTH_HINT, GL_DONT_CARE);
    vddSetViewport(width, height);
    vdiUpdateAttr();
    glFinish();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    window->width = width;
    window->height = height;
    return 0;
}

int vdWindowClear(vdWindow_Struct* window, vdView_Struct* view)
{
    if (window == nullptr || view == nullptr)
        return -1;
    if (window->magic != VD_WINDOW_MAGIC || view->magic != VD_VIEW_MAGIC)
        return -2;
    dorne::ViewLock lock(view);
    wtClearColor(view->config.r, view->config.g, view->config.b, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return 0;
}

int vddSetViewport(int width, int height)
{
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, double(width), 0.0, double(height), -1.0, 1.0);
    // One pixel less than the projection each way; a negative size is a GL
    // error, so an empty window gets none.
    glViewport(0, 0, width > 0 ? width - 1 : 0, height > 0 ? height - 1 : 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    return 0;
}
