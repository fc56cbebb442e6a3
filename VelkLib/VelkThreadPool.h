// A fixed set of worker threads serving one queue of tasks, and the number
// of threads a run may use.
//
// Tasks start in the order they were queued. Each task is told the number
// of the worker that runs it, so that per-worker state (a writer, a cache)
// needs no lock. What a task throws is kept in its future.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <future>
#include <mutex>
#include <semaphore>
#include <thread>
#include <vector>

class VelkThreadPool {
public:
    using Task = std::function<void(unsigned worker)>;

    // Starts `workers` threads (at least one).
    explicit VelkThreadPool(unsigned workers);
    // Finishes every queued task, then joins the threads.
    ~VelkThreadPool();
    VelkThreadPool(const VelkThreadPool&) = delete;
    VelkThreadPool& operator=(const VelkThreadPool&) = delete;

    unsigned size() const { return static_cast<unsigned>(threads.size()); }

    // How soon a queued task must start.
    enum class Start {
        // On a worker that is free now, woken for it if need be.
        Soon,
        // On a worker already awake when there is one, once it is done with
        // what it runs: for streams of work queued well ahead of need,
        // where a wake-up per task would cost the thread that queues them.
        InTurn,
    };

    // Queues the task. The future becomes ready when it has run and
    // rethrows from get() what the task threw.
    std::future<void> submit(Task task, Start start = Start::Soon);

private:
    void serve(unsigned worker);

    std::mutex mutex;
    std::deque<std::packaged_task<void(unsigned)>> queue;
    // Workers asleep, workers running a task, and whether the pool is
    // ending (all under the mutex). Each wake-up is a system call and, on a
    // virtual machine, an interrupt to another processor.
    std::size_t sleeping = 0;
    std::size_t running = 0;
    bool ending = false;
    // One count per woken sleeper. (A condition variable's signal may
    // itself wait for woken threads to leave it, which stalled the thread
    // that queues the work.)
    std::counting_semaphore<> wake{0};
    std::vector<std::thread> threads;
};

// Cuts [0, count) into `slices` consecutive slices of nearly equal size (no
// more slices than count), calls body(slice, begin, end) for each on the
// pool and waits for all of them. Throws what the first failed slice threw
// (in slice order).
void forEachSlice(
    VelkThreadPool& pool, std::size_t count, std::size_t slices,
    const std::function<void(std::size_t slice, std::size_t begin, std::size_t end)>& body);

// The number of threads a run uses: the value of VANTRY_THREADS when it is
// a whole number from 1 to 256, else the number of processors (at least
// one). 1 means everything runs on the calling thread, as before threads
// were used.
unsigned configuredThreadCount();

// The warning for a VANTRY_THREADS that is set but not such a number
// ("0", "-1", "abc", "257", ""), naming the value and the count used
// instead; "" when it is unset or usable.
std::string threadCountWarning();
