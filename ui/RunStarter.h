// How the main dialog starts a run on a worker thread, and how it learns
// that the worker is done with everything the dialog lent it (the module
// above all), so that nothing is destroyed under a running thread.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/WindowMessages.h"
#include "run/RunThread.h"

// Opened once by the worker when it is finished with the run's objects.
class RunGate {
public:
    // notify: the window that gets WM_RUN_THREAD_GONE when the gate opens.
    explicit RunGate(platform::WindowHandle notify);

    // Opens the gate (once; later calls do nothing) and posts the message.
    // Safe from any thread.
    void open();
    bool isOpen() const;
    // Waits until the gate is open.
    void wait();

private:
    platform::WindowHandle window;
    mutable std::mutex mutex;
    std::condition_variable opened;
    bool isOpenFlag = false;
};

class RunStarter {
public:
    virtual ~RunStarter();
    // Starts the run on a thread of its own and returns at once; the thread
    // opens gate when it is done with the parameters' objects. Throws
    // VelkError when the run cannot be started; the gate then stays shut and
    // nothing runs.
    virtual void start(const RunParameters& parameters, std::shared_ptr<RunGate> gate) = 0;
};

// The real starter: a RunThread (its run, then its messages).
class ThreadRunStarter : public RunStarter {
public:
    void start(const RunParameters& parameters, std::shared_ptr<RunGate> gate) override;
};
