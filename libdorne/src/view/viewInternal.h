// Inside the view runtime: the lock order, the state word shared with the
// data thread, the data thread's own record, the steps the lifecycle and
// the draws share, and the seams through which tests reach what a caller
// cannot provoke (a thread that cannot be made, the clip recomputations).
//
// Lock order: the view's mutex first, then the library lock
// (base/libraryLock.h); whoever holds the library lock never waits for a
// view's mutex. Loads take only the library lock; the data thread only the
// view's mutex.
#ifndef DORNE_VIEW_INTERNAL_H
#define DORNE_VIEW_INTERNAL_H

#include "dorneView.h"

#include <pthread.h>

#include <atomic>

namespace dorne {

// state is written under the view's mutex and also read without it (by
// vdVarGetAddr, and by callers), hence atomically. threadFinished is the
// data thread's last write, for callers to see that it has ended; nothing
// here reads it (a stop joins the thread).
inline int32_t viewState(const vdView_Struct* view)
{
    return __atomic_load_n(&view->state, __ATOMIC_ACQUIRE);
}
inline void setViewState(vdView_Struct* view, int32_t state)
{
    __atomic_store_n(&view->state, state, __ATOMIC_RELEASE);
}

// -1 for a null view, -2 for a record without the view magic, else 0.
inline int checkView(const vdView_Struct* view)
{
    if (view == nullptr)
        return -1;
    return view->magic == VD_VIEW_MAGIC ? 0 : -2;
}

// Holds the view's mutex for a scope.
class ViewLock
{
public:
    explicit ViewLock(vdView_Struct* view) : view_(view) { pthread_mutex_lock(&view_->mutex); }
    ~ViewLock() { pthread_mutex_unlock(&view_->mutex); }
    ViewLock(const ViewLock&) = delete;
    ViewLock& operator=(const ViewLock&) = delete;

private:
    vdView_Struct* view_;
};

// ---- The data thread (viewDataThread.cpp) ----

// Whether the view has a data thread that has not been joined yet (a stop
// may be waiting for it). Call with the view's mutex held.
bool hasDataThread(const vdView_Struct* view);

// Makes the view's data thread; the view must be in state 2 with its mutex
// held. 0, or the error of the thread creation (nothing is left behind).
int startThread(vdView_Struct* view);

// Ends the view's data thread and waits for it, however long its tick
// takes. The state must already be 0 and the view's mutex NOT held (the
// thread needs it to finish its tick). Does nothing without a thread.
void joinDataThread(vdView_Struct* view);

// Drops the record of a joined thread, with the view's mutex held, once
// the stop has torn the run down: until then no start may begin.
void forgetDataThread(vdView_Struct* view);

// ---- Shared steps ----

// Frees what the view holds (elements, sources, variable table, render
// texture), its mutex and the record (viewLoad.cpp). The view must be
// stopped and no other thread may hold or wait for its mutex.
void releaseView(vdView_Struct* view);


// Empties the variable table, resets the elements' drawing attributes and
// closes the sources, with the view's mutex held (viewLifecycle.cpp).
void tearDownRun(vdView_Struct* view);

// ---- Integers from floats (viewSettings.cpp) ----

// value truncated toward zero within the int range; NaN gives 0.
int clampToInt(double value);

// ---- Test seams ----

// Makes the data thread; pthread_create unless a test puts a failing
// stand-in here.
using ThreadCreateFn = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
extern ThreadCreateFn viewThreadCreate;

// Counts the clip recomputations of all draws.
extern std::atomic<long> viewClipRefreshes;

} // namespace dorne

#endif
