// A mutex shared by the program's threads, and its scoped lock.
//
// Like the system mutexes it stands for, a VelkMutex may be locked again by
// the thread that holds it; every lock is matched by one release.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class VelkMutex {
public:
    // wait() with this time-out waits for as long as it takes.
    static constexpr uint32_t waitForever = 0xFFFFFFFFu;

    // Calls create(name). Throws what create throws.
    explicit VelkMutex(const std::string& name = "");

    // Releases whatever the destroying thread still holds and closes the
    // mutex. Other threads must not hold it any more.
    ~VelkMutex();

    VelkMutex(const VelkMutex&) = delete;
    VelkMutex& operator=(const VelkMutex&) = delete;

    // Closes the mutex held (if any), then opens a new one, not owned. The
    // empty name makes a mutex of this object's own; objects created with the
    // same non-empty name share one mutex within the process. On failure
    // throws VelkError "Could not create the mutex." (system form) and holds
    // no mutex.
    void create(const std::string& name);

    // Waits up to milliseconds (waitForever: without limit) for the mutex.
    // Returns true once it is held by the calling thread, false when the
    // time ran out. Throws VelkError "Wait for mutex failed." (system form)
    // when no mutex is held or the wait itself fails.
    bool wait(uint32_t milliseconds);

    // Gives back one level of the calling thread's hold. Returns false, and
    // changes nothing, when the calling thread does not hold the mutex.
    bool release();

    // The system mutex: shared between objects of the same name.
    std::shared_ptr<std::recursive_timed_mutex> handle;

private:
    void releaseAllHeldByThisThread();

    // Who holds the mutex, and how often; depth is touched by the owner only.
    std::atomic<std::thread::id> owner{};
    unsigned depth = 0;
};

// Holds a VelkMutex for its own lifetime. A null mutex locks nothing.
class VelkMutexLock {
public:
    // Waits without limit. Throws what VelkMutex::wait throws; nothing is
    // held then.
    explicit VelkMutexLock(VelkMutex* mutex);
    ~VelkMutexLock();

    VelkMutexLock(const VelkMutexLock&) = delete;
    VelkMutexLock& operator=(const VelkMutexLock&) = delete;

private:
    VelkMutex* mutex;
};
