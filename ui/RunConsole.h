// How a run is followed outside the dialog's controls: the outcome that
// decides the program's exit status and, without a display, the status and
// progress on the terminal.
//
// Threads: the report operations come from the run's worker thread (through
// the callbacks), the rest from the dialog's thread; all are safe to mix.
#pragma once

#include <chrono>
#include <functional>
#include <iosfwd>
#include <mutex>
#include <string>

class RunConsole {
public:
    enum class Mode {
        Silent,  // the dialog shows everything; only the outcome is kept
        Phases,  // the run's phase texts, one line each
        Live,    // one progress line rewritten in place (a terminal)
    };

    // Exit statuses of the program.
    static constexpr int ExitDone = 0;
    static constexpr int ExitError = 1;
    static constexpr int ExitUnusable = 2;
    static constexpr int ExitCancelled = 3;

    // The time the live line is redrawn by.
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    // The live line is redrawn at most once in this interval, and at once
    // for a phase of the run: a run of thousands of files writes a line a
    // tenth of a second, not one per file.
    static constexpr std::chrono::milliseconds redrawInterval{100};

    // width: the terminal's width in columns for the live line.
    RunConsole(Mode mode, std::ostream& out, int width = 80, Clock clock = std::chrono::steady_clock::now);

    // A status report as the callback received it (line 1 may be null).
    // A report with an empty line 1 and a non-blank line 2 is a phase of
    // the run ("Counting files...", "Done."): it is printed in Phases mode,
    // redrawn at once in Live mode, and "Done.", "Done (error)." and
    // "Cancelled." settle the outcome. Any other report is redrawn in Live
    // mode when redrawInterval has passed since the last redraw.
    void status(const char* line1, const char* line2);
    // A percentage (0-100) of the run, redrawn as other reports are. "Done."
    // shows 100; once the run has its outcome the percentage stays (the run
    // reports 0 after "Done.").
    void progress(int percent);
    // A text reached the error callback; from the module phase ("Sending
    // output to documentation module...") on, it makes the run count as
    // failed even when it ends "Done.".
    void logged();

    // The dialog's side: a run starts; a run could not start (a validation
    // message or a start failure); the run's thread has stopped reporting.
    void runStarted();
    void runRefused();
    void runStopped();

    // Ends a live line, redrawn first when a report came since it was
    // drawn, so that later output starts on a line of its own.
    void endLine();

    // 0 after "Done." without module errors; 1 after "Done (error).", a run
    // that stopped without an outcome, a refused run or module errors; 3
    // after "Cancelled."; ifNoRun when no run has been asked for.
    int exitStatus(int ifNoRun) const;

    // True when the last run ended "Done." (module errors or not).
    bool endedDone() const;

    Mode getMode() const { return mode; }

private:
    enum class State { NoRun, Refused, Running, Stopped };
    // Redraws the live line, unless `now` is false and the last redraw
    // was less than redrawInterval ago.
    void drawLive(bool now);

    const Mode mode;
    std::ostream& out;
    const int width;
    const Clock clock;
    std::chrono::steady_clock::time_point lastDraw{};
    bool stale = false;  // a report came that the live line does not show yet
    mutable std::mutex mutex;
    State state = State::NoRun;
    std::string finalText;
    bool outputPhase = false;
    bool moduleErrors = false;
    std::string line1Text;
    std::string line2Text;
    int percent = 0;
    bool liveLineOpen = false;
};
