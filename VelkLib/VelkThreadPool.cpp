#include "VelkLib/VelkThreadPool.h"

#include <cerrno>
#include <cstdlib>
#include <pthread.h>
#include <sched.h>
#include <exception>
#include <string>

namespace {

// The queue's lock is held for a few instructions at a time; a thread that
// finds it taken spins for about as long before it sleeps, since sleeping
// and being woken again costs far more than the wait.
std::unique_lock<std::mutex> lockBriefly(std::mutex& mutex) {
    std::unique_lock<std::mutex> lock(mutex, std::defer_lock);
    for (int i = 0; i < 128; ++i) {
        if (lock.try_lock()) return lock;
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }
    lock.lock();
    return lock;
}

}  // namespace

VelkThreadPool::VelkThreadPool(unsigned workers) {
    if (workers == 0) workers = 1;
    threads.reserve(workers);
    for (unsigned i = 0; i < workers; ++i) threads.emplace_back([this, i] { serve(i); });
}

VelkThreadPool::~VelkThreadPool() {
    {
        std::unique_lock<std::mutex> lock = lockBriefly(mutex);
        ending = true;
        if (sleeping > 0) wake.release(static_cast<std::ptrdiff_t>(sleeping));
        sleeping = 0;
    }
    for (std::thread& thread : threads) thread.join();
}

std::future<void> VelkThreadPool::submit(Task task, Start start) {
    std::packaged_task<void(unsigned)> packaged(std::move(task));
    std::future<void> result = packaged.get_future();
    {
        std::unique_lock<std::mutex> lock = lockBriefly(mutex);
        queue.push_back(std::move(packaged));
        // A worker that is awake and free takes the task at once; one that
        // is busy takes it when done, which a task queued in turn can wait for.
        const std::size_t awake = threads.size() - sleeping;
        const std::size_t takers = start == Start::Soon ? awake - running : awake;
        if (sleeping > 0 && queue.size() > takers) {
            --sleeping;
            wake.release();
        }
    }
    return result;
}

void VelkThreadPool::serve(unsigned worker) {
#ifdef SCHED_BATCH
    // Workers serve throughput; the thread that hands them work is on the
    // critical path. As batch threads, a worker it wakes does not take its
    // processor from it. Where the policy is refused nothing changes.
    sched_param normal{};
    pthread_setschedparam(pthread_self(), SCHED_BATCH, &normal);
#endif
    std::unique_lock<std::mutex> lock = lockBriefly(mutex);
    for (;;) {
        if (!queue.empty()) {
            {
                std::packaged_task<void(unsigned)> task = std::move(queue.front());
                queue.pop_front();
                ++running;
                lock.unlock();
                task(worker);
            }
            lock = lockBriefly(mutex);
            --running;
            continue;
        }
        // Queued work is finished before the pool goes away.
        if (ending) return;
        // The thread that wakes this worker counts it awake again.
        ++sleeping;
        lock.unlock();
        wake.acquire();
        lock = lockBriefly(mutex);
    }
}

void forEachSlice(VelkThreadPool& pool, std::size_t count, std::size_t slices,
                  const std::function<void(std::size_t, std::size_t, std::size_t)>& body) {
    if (slices == 0) slices = 1;
    if (slices > count) slices = count;
    std::vector<std::future<void>> done;
    done.reserve(slices);
    for (std::size_t i = 0; i < slices; ++i) {
        const std::size_t begin = count * i / slices;
        const std::size_t end = count * (i + 1) / slices;
        done.push_back(pool.submit([&body, i, begin, end](unsigned) { body(i, begin, end); }));
    }
    // Every slice ends before this returns, also when one failed.
    std::exception_ptr failure;
    for (auto& slice : done) {
        try {
            slice.get();
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
    }
    if (failure) std::rethrow_exception(failure);
}

namespace {

// The thread count that VANTRY_THREADS sets, or 0 when it sets none (unset,
// or not a whole number from 1 to 256).
unsigned threadsFromEnvironment() {
    const char* text = std::getenv("VANTRY_THREADS");
    if (text == nullptr) return 0;
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text, &end, 10);
    if (end != text && *end == '\0' && errno == 0 && value >= 1 && value <= 256)
        return static_cast<unsigned>(value);
    return 0;
}

unsigned processorCount() {
    unsigned processors = std::thread::hardware_concurrency();
    return processors == 0 ? 1 : processors;
}

}  // namespace

unsigned configuredThreadCount() {
    const unsigned set = threadsFromEnvironment();
    return set != 0 ? set : processorCount();
}

std::string threadCountWarning() {
    const char* text = std::getenv("VANTRY_THREADS");
    if (text == nullptr || threadsFromEnvironment() != 0) return "";
    return "VANTRY_THREADS=\"" + std::string(text) + "\" is not a whole number from 1 to 256; " +
           std::to_string(processorCount()) + " threads are used";
}
