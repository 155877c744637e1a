#include "ParallelWork.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace KAVO {

namespace {

std::atomic<int> gThreads{0};

// The worker threads, started when a job first needs them and kept for the
// next ones: starting threads for every job would cost more than a small
// job takes. They wait for a job between jobs and end with the process.
struct Pool
{
    std::mutex mutex;                   // guards what follows
    std::condition_variable wake;       // a job is there
    std::condition_variable finished;   // the last worker left a job
    std::vector<std::thread> threads;
    uint64_t job = 0;                   // number of the present job
    const std::function<void(std::size_t)>* task = nullptr;
    std::size_t tasks = 0;
    std::atomic<std::size_t> next{0};   // the next task to take
    std::size_t helpers = 0;            // workers the job takes (0 once it is done)
    std::size_t joined = 0;             // workers that joined it
    std::size_t running = 0;            // workers inside it
    std::exception_ptr failure;         // the first exception of a task
};

Pool& pool()
{
    // Never destroyed: its threads wait for work when the process ends.
    static Pool* const p = new Pool;
    return *p;
}

// One job at a time; a task that starts a job of its own runs it itself.
std::mutex gJobMutex;
thread_local bool tInTask = false;

// Takes tasks until there are none; the first exception ends the job.
void work(Pool& p)
{
    const bool outer = tInTask;
    tInTask = true;
    try {
        for (std::size_t i = p.next++; i < p.tasks; i = p.next++)
            (*p.task)(i);
    } catch (...) {
        p.next = p.tasks;
        std::lock_guard<std::mutex> lock(p.mutex);
        if (!p.failure)
            p.failure = std::current_exception();
    }
    tInTask = outer;
}

void workerLoop(Pool& p, uint64_t seen)
{
    std::unique_lock<std::mutex> lock(p.mutex);
    for (;;) {
        p.wake.wait(lock, [&] { return p.job != seen && p.joined < p.helpers; });
        seen = p.job;
        ++p.joined;
        ++p.running;
        lock.unlock();
        work(p);
        lock.lock();
        if (--p.running == 0)
            p.finished.notify_all();
    }
}

} // namespace

void ParallelWork::setThreads(int threads)
{
    gThreads = std::max(0, threads);
}

int ParallelWork::threads(int64_t units)
{
    const int set = gThreads;
    if (set > 0)
        return set;
    // Sharing costs more than a small job takes.
    if (units < (int64_t(1) << 14))
        return 1;
    const unsigned machine = std::thread::hardware_concurrency();
    return static_cast<int>(std::min(16u, std::max(1u, machine)));
}

void ParallelWork::run(std::size_t tasks, int threads, const std::function<void(std::size_t)>& task,
                       const std::function<void()>& tick)
{
    const std::size_t wanted = std::min<std::size_t>(static_cast<std::size_t>(std::max(1, threads)), tasks);
    const auto alone = [&] {
        for (std::size_t i = 0; i < tasks; ++i) {
            task(i);
            if (tick)
                tick();
        }
    };
    if (wanted <= 1 || tInTask) {
        alone();
        return;
    }

    std::lock_guard<std::mutex> job(gJobMutex);
    Pool& p = pool();
    // The calling thread is one of the threads unless it reports progress.
    const bool callerWorks = !tick;
    const std::size_t helpers = callerWorks ? wanted - 1 : wanted;
    {
        std::lock_guard<std::mutex> lock(p.mutex);
        while (p.threads.size() < helpers) {
            try {
                p.threads.emplace_back(workerLoop, std::ref(p), p.job);
            } catch (const std::system_error&) {
                break;  // the threads there (and the caller) take all tasks
            }
        }
        if (p.threads.empty()) {
            // Not one thread could be started.
        } else {
            p.task = &task;
            p.tasks = tasks;
            p.next = 0;
            p.failure = nullptr;
            p.helpers = std::min(helpers, p.threads.size());
            p.joined = 0;
            ++p.job;
        }
    }
    if (p.threads.empty()) {
        alone();
        return;
    }
    p.wake.notify_all();
    if (callerWorks)
        work(p);

    std::exception_ptr failure;
    {
        std::unique_lock<std::mutex> lock(p.mutex);
        // Done when no task is left and no worker is inside the job; then
        // no worker joins it any more.
        while (p.next < p.tasks || p.running > 0) {
            p.finished.wait_for(lock, std::chrono::milliseconds(15));
            if (tick) {
                lock.unlock();
                tick();
                lock.lock();
            }
        }
        p.helpers = 0;
        p.task = nullptr;
        failure = p.failure;
        p.failure = nullptr;
    }
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace KAVO
