// Starting, stopping and freeing a view, and advancing its clock by hand.
// Every call takes the view's mutex and reads the state under it; a stop
// of an animated view lets go of it while it waits for the data thread,
// so a start or a free in that time finds state 0 with the thread still
// recorded, and refuses.
#include "view/viewInternal.h"

#include "base/libraryLock.h"

#include "dorneLog.h"
#include "dornePlatform.h"
#include "dorneView.h"

namespace dorne {

namespace {

// Every variable of every source under its name, in list order (a name
// held by two sources is entered twice). false, logged under the caller's
// name, when the table could not take them all: no lookup would find those.
bool fillVariableTable(vdView_Struct* view, const char* caller)
{
    int all = 0, missing = 0;
    for (DD_DATA_TYPE_STRUCT* s = view->dataSources; s != nullptr; s = s->next)
        for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next, ++all)
            if (mpiHashInsertAscii(view->variables, v->name, v) != 0)
                ++missing;
    if (missing == 0)
        return true;
    logMsg(1, "%s: %d of %d variable names do not fit the variable table\n", caller, missing, all);
    return false;
}

int start(vdView_Struct* view, bool animated)
{
    if (const int status = checkView(view))
        return status;
    ViewLock lock(view);
    // A view whose data thread a stop is still waiting for is not stopped yet.
    if (viewState(view) != 0 || hasDataThread(view))
        return -3;
    bool filled = false;
    {
        LibraryLockGuard library(libraryLock());
        view->startTime = apiGetTime();
        resetAllGraphs(view->elements, 0.0f);
        resetAllPoly(view->elements);
        openDataSources(view->dataSources);
        callStartView(view->dataSources);
        // A variable or action left unbound for want of memory would run
        // the view on zeros: refused like a table that cannot take a name.
        const bool bound = assignVariables(view->elements, view->dataSources) == 0;
        assignMovePoly(view->elements);
        filled = fillVariableTable(view, animated ? "vdViewStartAnim" : "vdViewStart") && bound;
        if (filled)
            writeDefault(view->dataSources);
    }
    if (!filled) {
        tearDownRun(view);
        return -5;
    }
    view->haltMode = 0;
    view->renderDirty = 1;
    view->picked = nullptr;
    view->previousEvent = -1;
    if (!animated) {
        setViewState(view, 1);
        return 0;
    }
    setViewState(view, 2);
    const int error = startThread(view);
    if (error != 0) {
        logMsg(1, "vdViewStartAnim: cannot start the data thread (error %d)\n", error);
        setViewState(view, 0);
        tearDownRun(view);
        return -4;
    }
    return 0;
}

// Stops an animated view whose state the caller has just set to 0 under
// the mutex (held by lock, which is released while the thread is joined).
void stopAnimated(vdView_Struct* view)
{
    pthread_mutex_unlock(&view->mutex);
    joinDataThread(view);
    pthread_mutex_lock(&view->mutex);
    tearDownRun(view);
    forgetDataThread(view);
}

} // namespace

void tearDownRun(vdView_Struct* view)
{
    mpiHashClear(view->variables);
    LibraryLockGuard library(libraryLock());
    setElementAttr(view->elements);
    closeDataSources(view->dataSources);
}

} // namespace dorne

using dorne::checkView;
using dorne::ViewLock;
using dorne::viewState;

int vdViewStart(vdView_Struct* view)
{
    return dorne::start(view, false);
}

int vdViewStartAnim(vdView_Struct* view)
{
    return dorne::start(view, true);
}

int vdViewStop(vdView_Struct* view)
{
    if (const int status = checkView(view))
        return status;
    ViewLock lock(view);
    const int32_t state = viewState(view);
    if (state == 0)
        return -3;
    dorne::setViewState(view, 0);
    if (state == 2)
        dorne::stopAnimated(view);
    else
        dorne::tearDownRun(view);
    return 0;
}

int vdViewStopAnim(vdView_Struct* view)
{
    if (const int status = checkView(view))
        return status;
    ViewLock lock(view);
    if (viewState(view) != 2)
        return -3;
    dorne::setViewState(view, 0);
    dorne::stopAnimated(view);
    return 0;
}

int vdViewFree(vdView_Struct* view)
{
    if (const int status = checkView(view))
        return status;
    {
        ViewLock lock(view);
        const int32_t state = viewState(view);
        // A stop on another thread is still waiting for the data thread and
        // will lock the mutex again: the record must outlive it.
        if (state == 0 && dorne::hasDataThread(view))
            return -3;
        if (state != 0) {
            dorne::setViewState(view, 0);
            if (state == 2)
                dorne::stopAnimated(view);
            else
                dorne::tearDownRun(view);
        }
    }
    dorne::releaseView(view);
    return 0;
}

int vdViewPutData(vdView_Struct* view, double step)
{
    if (const int status = checkView(view))
        return status;
    ViewLock lock(view);
    if (viewState(view) == 0)
        return -3;
    view->viewTime += step;
    fillActions(view->elements, view->haltMode, view->viewTime);
    return 0;
}

int vdViewSetTime(vdView_Struct* view, float t)
{
    if (const int status = checkView(view))
        return status;
    ViewLock lock(view);
    view->viewTime = t;
    resetAllGraphs(view->elements, t);
    return 0;
}

int vdViewResetGraph(vdView_Struct* view, float t)
{
    if (const int status = checkView(view))
        return status;
    ViewLock lock(view);
    resetAllGraphs(view->elements, t);
    return 0;
}

int vdViewSetHaltMode(vdView_Struct* view, int mode)
{
    if (const int status = checkView(view))
        return status;
    ViewLock lock(view);
    if (viewState(view) == 0)
        return -3;
    view->haltMode = mode;
    return 0;
}
