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
    // Starting threads costs more than a small job takes.
    if (units < (int64_t(1) << 14))
        return 1;
    const unsigned machine = std::thread::hardware_concurrency();
    return static_cast<int>(std::min(16u, std::max(1u, machine)));
}

void ParallelWork::run(std::size_t tasks, int threads, const std::function<void(std::size_t)>& task,
                       const std::function<void()>& tick)
{
    if (tasks == 0)
        return;
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::condition_variable finished;
    std::size_t running = 0;
    std::exception_ptr failure;  // the first exception of a task, thrown again here
    const auto work = [&] {
        try {
            for (std::size_t i = next++; i < tasks; i = next++)
                task(i);
        } catch (...) {
            next = tasks;
            std::lock_guard<std::mutex> lock(mutex);
            if (!failure)
                failure = std::current_exception();
        }
    };
    const auto worker = [&] {
        work();
        std::lock_guard<std::mutex> lock(mutex);
        --running;
        finished.notify_one();
    };

    // The calling thread is one of the threads unless it reports progress.
    const bool callerWorks = !tick;
    const std::size_t wanted = std::min<std::size_t>(static_cast<std::size_t>(std::max(1, threads)), tasks);
    const std::size_t started = callerWorks ? wanted - 1 : (wanted > 1 ? wanted : 0);
    std::vector<std::thread> workers;
    for (std::size_t k = 0; k < started; ++k) {
        std::lock_guard<std::mutex> lock(mutex);
        try {
            workers.emplace_back(worker);
            ++running;
        } catch (const std::system_error&) {
            break;  // the threads started (and the caller) take all tasks
        }
    }
    if (workers.empty()) {
        for (std::size_t i = 0; i < tasks; ++i) {
            task(i);
            if (tick)
                tick();
        }
        return;
    }
    if (callerWorks)
        work();
    {
        std::unique_lock<std::mutex> lock(mutex);
        while (running > 0) {
            finished.wait_for(lock, std::chrono::milliseconds(15));
            if (tick) {
                lock.unlock();
                tick();
                lock.lock();
            }
        }
    }
    for (std::thread& t : workers)
        t.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace KAVO
