#ifndef ORLO_PARALLELWORK_H
#define ORLO_PARALLELWORK_H

#include <cstddef>
#include <cstdint>
#include <functional>

namespace KAVO {

// Work shared by worker threads inside one synchronous call: the calling
// thread waits until every task is done, so the callers (the record reader
// and the displays) stay as the window knows them, on its own thread. A
// task writes only what is its own (its part of an array); what the tasks
// give is the same on any number of threads. The threads are started by
// the first job that needs them and wait for the next one between jobs.
class ParallelWork
{
public:
    // Threads for a job of `units` messages: 1 below a few thousand (a
    // thread costs more than such a job takes), else the machine's cores
    // (at most 16), or the number set for tests.
    static int threads(int64_t units);
    // 0 decides by the machine and the size of the job; 1 keeps all work
    // on the calling thread; more forces that many (tests with small data).
    static void setThreads(int threads);

    // Runs task(0) to task(tasks - 1), each once, on up to `threads`
    // threads, taking the tasks in order as threads come free. Without
    // `tick` the calling thread takes tasks as well; with it, it calls
    // tick() every 15 ms or so while it waits (progress reports). The first
    // exception of a task is thrown again here, once no thread works on the
    // job any more; the tasks not yet started are then skipped. Jobs of
    // several callers take turns; a task that runs a job of its own, and a
    // caller for whom no thread can be started, runs it on its own thread.
    static void run(std::size_t tasks, int threads, const std::function<void(std::size_t)>& task,
                    const std::function<void()>& tick = nullptr);
};

} // namespace KAVO

#endif
