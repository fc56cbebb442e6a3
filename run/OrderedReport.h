// The run's status, error and progress callbacks, kept in order around
// work that ends later on other threads.
//
// While files are parsed one after another on the run thread, the listing
// pages of each file are written on a pool. What the walk and the parser
// report after a file (its progress, the next file's status and warnings)
// must reach the user after what that file's listing reported, as when
// everything ran on one thread. OrderedReport stands between them: it
// passes a report straight on while nothing is pending, and otherwise holds
// it behind the pending work until that work has ended. Reports are passed
// on from the run thread only, never from a worker.
#pragma once

#include <cstddef>
#include <deque>
#include <exception>
#include <future>
#include <optional>
#include <string>

#include "modules/ModuleInterface.h"

class OrderedReport {
public:
    // The callbacks reports are passed on to (each may be null).
    OrderedReport(ModuleStatusFn status, ModuleErrorFn log, ModuleProgressFn progress,
                  void* context);
    // Passes on what is still held (flush()).
    ~OrderedReport();
    OrderedReport(const OrderedReport&) = delete;
    OrderedReport& operator=(const OrderedReport&) = delete;

    // The callbacks to hand to the walk and the parser, with context().
    static void status(const char* line1, const char* line2, void* context);
    static void log(const char* text, void* context);
    // While reports are held, answers what the last progress passed on
    // answered (the stop request reaches the run a few files later). Once
    // a progress passed on was answered with a stop, every later report is
    // dropped, as the run would have stopped there, and this answers 0.
    static int progress(int done, int total, void* context);
    void* context() { return this; }

    // Holds every later report behind `pending`. What it yields, when not
    // empty, is passed on as an error text before them. At most `limit`
    // pending works are held: past that this waits for the oldest one.
    void holdFor(std::shared_future<std::string> pending, std::size_t limit);

    // Waits for every pending work and passes on everything held. A
    // pending work that threw instead of yielding a text ends the reports
    // there (nothing after it is passed on, as the run would have ended
    // there): what it threw is thrown here and by holdFor, once; the
    // callbacks never throw it.
    void flush();

    // True once a progress passed on was answered with a stop.
    bool stopRequested() const { return stopped; }

private:
    struct Item {
        enum Kind { Status, Log, Progress, Pending } kind;
        std::optional<std::string> line1;  // Status: null stays null
        std::optional<std::string> line2;
        std::string text;                  // Log
        int done = 0, total = 0;           // Progress
        std::shared_future<std::string> pending;
    };

    // Passes on the held items up to the first pending work that has not
    // ended; with wait, waits for pending works instead of stopping there
    // (all of them, or only the oldest with oldestOnly).
    void passOn(bool wait, bool oldestOnly = false);
    void deliver(Item& item);
    // Throws what a pending work threw, once.
    void throwFailure();

    ModuleStatusFn statusFn;
    ModuleErrorFn logFn;
    ModuleProgressFn progressFn;
    void* callbackContext;
    std::deque<Item> held;
    std::size_t pendingCount = 0;
    int lastAnswer = 1;
    bool stopped = false;            // a progress was answered with a stop
    std::exception_ptr failure;      // what a pending work threw, not yet thrown
    bool failed = false;             // ... and thrown since
};
