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
    double cpuSeconds = 0;  // user + system time of the child
    bool timedOut = false;  // the time limit ran out and the child was killed

    // A one-line account for assertion messages.
    std::string describe() const;
};

// The current environment with the named variables removed and the given
// ones set (a name in both is replaced).
std::vector<std::string> childEnvironment(const std::map<std::string, std::string>& set,
                                          const std::vector<std::string>& unset);

// Starts program with args in cwd and waits for it. captureDir receives the
// two capture files and must lie outside any tree the caller watches. With
// a time limit (seconds, 0 for none) a child still running at the limit is
// killed (SIGKILL) and reported as timedOut. Throws std::runtime_error when
// the child cannot be started.
ChildResult runChild(const std::filesystem::path& program, const std::vector<std::string>& args,
                     const std::vector<std::string>& environment, const std::filesystem::path& cwd,
                     const std::filesystem::path& captureDir, double timeLimitSeconds = 0);

}  // namespace e2e
