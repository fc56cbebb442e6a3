// Runs the program under test as a child process, the way a build script
// would: an argument vector (no shell), its own environment and working
// directory, standard input from /dev/null, and both output streams
// captured to files so that a chatty child can never block on a full pipe.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace e2e {

struct ChildResult {
    int exitCode = -1;      // -1 when the child did not exit normally
    int termSignal = 0;     // the signal that ended the child, 0 if none
    std::string out;        // everything written to standard output
    std::string err;        // everything written to standard error
    long maxRssKiB = 0;     // peak resident set of the child
    double wallSeconds = 0;
    double signalSeconds = -1;  // when the first signal was sent (from the start), -1 if none
    double cpuSeconds = 0;  // user + system time of the child

    // A one-line account for assertion messages.
    std::string describe() const;
};

// The variables through which a program finds a display (and would open
// windows that wait for a user).
extern const std::vector<std::string> displayVariables;

// The current environment with the named variables and every display
// variable removed, and the given ones set (a name in both is replaced): a
// child sees a display only when the test gives it one.
std::vector<std::string> childEnvironment(const std::map<std::string, std::string>& set,
                                          const std::vector<std::string>& unset);

// Starts program with args in cwd and waits for it, at most 300 seconds
// (then the child is killed and termSignal tells). captureDir receives the
// two capture files and must lie outside any tree the caller watches.
// Throws std::runtime_error when the child cannot be started.
ChildResult runChild(const std::filesystem::path& program, const std::vector<std::string>& args,
                     const std::vector<std::string>& environment, const std::filesystem::path& cwd,
                     const std::filesystem::path& captureDir);

// Signals to send a running child: once its standard error holds the text
// `after` (and delaySeconds more have passed), the signal is sent `count`
// times (a moment apart, so that the child sees each one on its own).
struct ChildSignals {
    std::string after;
    int signal = 0;
    int count = 1;
    double delaySeconds = 0;
};

// runChild, sending the signals as they come due. A child that has not ended
// after limitSeconds is killed (SIGKILL; termSignal tells), so a test that
// waits for a text that never comes still ends.
ChildResult runChild(const std::filesystem::path& program, const std::vector<std::string>& args,
                     const std::vector<std::string>& environment, const std::filesystem::path& cwd,
                     const std::filesystem::path& captureDir, const ChildSignals& signals,
                     int limitSeconds = 300);

}  // namespace e2e
