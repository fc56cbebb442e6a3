// Whether the user asked the run to stop, for the long loops of page
// writing: asked of the program now and then, from any thread, so that a
// stop is honoured within a fraction of a second however long one page or
// one phase takes.
#pragma once

#include "modules/ModuleInterface.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <mutex>

// Thrown out of page writing when the run is to stop; an export ends
// quietly on it (the program knows that it asked), and whatever was staged
// is removed on the way out.
class RunCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "Cancelled."; }
};

class CancelPoll {
public:
    // The program is asked at most once in this many milliseconds.
    static constexpr std::int64_t kIntervalMs = 50;

    // Asks through progress (-1 of 0) from now on, a new run: no stop yet.
    // Called before the run's page writing starts, on its thread.
    void install(ModuleProgressFn progress, void* context);

    // True once the program answered 0 (and from then on). Between two
    // questions it answers what the last one gave. Safe from any thread;
    // one thread asks while the others go on.
    bool stopRequested();

    // Throws RunCancelled when stopRequested().
    void check() {
        if (stopRequested()) throw RunCancelled();
    }

private:
    ModuleProgressFn progress = nullptr;
    void* context = nullptr;
    std::atomic<bool> stopped{false};
    std::atomic<std::int64_t> nextQuestion{0};  // steady clock, milliseconds
    std::mutex asking;
};
