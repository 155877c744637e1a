// The data thread of an animated view: every 10 ms, under the view's mutex,
// the view time, one exchange with every source and the graphs sampled.
// Each view's thread has a record of its own here (the view record has no
// room for it), found by the view's address while the thread lives. The
// records are linked into a plain list under a constant-initialised mutex:
// the registry's first use, which may be inside a free, allocates nothing.
#include "view/viewInternal.h"

#include "base/libraryLock.h"

#include "dorneView.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <type_traits>

namespace dorne {

ThreadCreateFn viewThreadCreate = pthread_create;

namespace {

using Clock = std::chrono::steady_clock;

struct DataThread
{
    DataThread* next = nullptr;
    vdView_Struct* view = nullptr;
    pthread_t thread{};
    // The view time runs on a monotonic clock from the start: a step of the
    // wall clock moves no graph.
    Clock::time_point start;
    // Wakes the 10 ms sleep at a stop.
    std::mutex wakeMutex;
    std::condition_variable wake;
    bool stopRequested = false;
};

// The threads not joined yet: few, one per running animated view. Never
// destroyed: a view freed at exit still finds the list intact.
static_assert(std::is_trivially_destructible<std::mutex>::value, "the registry must outlive every view");
DORNE_CONSTANT_INIT std::mutex threadsMutex;
DORNE_CONSTANT_INIT DataThread* threads = nullptr;

DataThread* findThread(const vdView_Struct* view)
{
    std::lock_guard<std::mutex> guard(threadsMutex);
    for (DataThread* t = threads; t != nullptr; t = t->next)
        if (t->view == view)
            return t;
    return nullptr;
}

// Unlinks the view's record; null when it has none.
DataThread* unlinkThread(const vdView_Struct* view)
{
    std::lock_guard<std::mutex> guard(threadsMutex);
    for (DataThread** link = &threads; *link != nullptr; link = &(*link)->next) {
        DataThread* t = *link;
        if (t->view == view) {
            *link = t->next;
            return t;
        }
    }
    return nullptr;
}

void* dataThread(void* arg)
{
    DataThread* t = static_cast<DataThread*>(arg);
    vdView_Struct* view = t->view;
    for (;;) {
        {
            ViewLock lock(view);
            // A stop sets the state under the mutex: no tick after it.
            if (viewState(view) != 2)
                break;
            view->viewTime = std::chrono::duration<double>(Clock::now() - t->start).count();
            fillDP(view->dataSources);
            fillActions(view->elements, view->haltMode, view->viewTime);
        }
        std::unique_lock<std::mutex> sleep(t->wakeMutex);
        if (t->wake.wait_for(sleep, std::chrono::milliseconds(10), [t] { return t->stopRequested; }))
            break;
    }
    __atomic_store_n(&view->threadFinished, 1, __ATOMIC_RELEASE);
    return nullptr;
}

} // namespace

bool hasDataThread(const vdView_Struct* view)
{
    return findThread(view) != nullptr;
}

int startThread(vdView_Struct* view)
{
    DataThread* t = new (std::nothrow) DataThread;
    if (t == nullptr)
        return ENOMEM;
    t->view = view;
    t->start = Clock::now();
    __atomic_store_n(&view->threadFinished, 0, __ATOMIC_RELEASE);
    {
        std::lock_guard<std::mutex> guard(threadsMutex);
        t->next = threads;
        threads = t;
    }
    const int error = viewThreadCreate(&t->thread, nullptr, dataThread, t);
    if (error != 0)
        delete unlinkThread(view);
    return error;
}

void joinDataThread(vdView_Struct* view)
{
    DataThread* t = findThread(view);
    if (t == nullptr)
        return;
    {
        std::lock_guard<std::mutex> guard(t->wakeMutex);
        t->stopRequested = true;
    }
    t->wake.notify_one();
    pthread_join(t->thread, nullptr);
}

void forgetDataThread(vdView_Struct* view)
{
    delete unlinkThread(view);
}

} // namespace dorne

int fillActions(ELEMENT_STRUCT* list, int halt, double viewTime)
{
    if (list == nullptr)
        return -1;
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        if (e->kind == VD_GRAPH && e->data != nullptr)
            fillGraph(e, static_cast<GRAPH_STRUCT*>(e->data), float(viewTime), halt);
        else if (e->kind == VD_GROUP && e->children != nullptr)
            fillActions(e->children, halt, viewTime);
    }
    return 0;
}
