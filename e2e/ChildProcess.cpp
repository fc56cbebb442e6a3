#include "e2e/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace e2e {

namespace {

std::string readWhole(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    result.reserve(texts.size() + 1);
    for (auto& t : texts) result.push_back(t.data());
    result.push_back(nullptr);
    return result;
}

// posix_spawn reports through its result, not errno.
void check(int rc, const char* what) {
    if (rc != 0) throw std::runtime_error(std::string(what) + ": " + std::strerror(rc));
}

}  // namespace

std::string ChildResult::describe() const {
    std::ostringstream text;
    if (termSignal != 0)
        text << "killed by signal " << termSignal;
    else
        text << "exit status " << exitCode;
    text << "\n--- stdout ---\n" << out << "--- stderr ---\n" << err;
    return text.str();
}

const std::vector<std::string> displayVariables = {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET",
                                                   "QT_QPA_PLATFORM"};

std::vector<std::string> childEnvironment(const std::map<std::string, std::string>& set,
                                          const std::vector<std::string>& unset) {
    std::vector<std::string> result;
    for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
        std::string entry = *e;
        std::string name = entry.substr(0, entry.find('='));
        bool drop = set.count(name) != 0;
        for (const auto& u : unset) drop = drop || u == name;
        for (const auto& d : displayVariables) drop = drop || d == name;
        if (!drop) result.push_back(entry);
    }
    for (const auto& [name, value] : set) result.push_back(name + "=" + value);
    return result;
}

namespace {

// Starts the child and waits for it; when signals is given, polls instead of
// blocking so that it can watch the child's standard error.
ChildResult spawnAndWait(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& environment,
                         const std::filesystem::path& cwd, const std::filesystem::path& captureDir,
                         const ChildSignals* signals, int limitSeconds) {
    const auto outFile = captureDir / "child.out";
    const auto errFile = captureDir / "child.err";

    std::vector<std::string> argv{program.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> envp = environment;
    auto argvPtr = pointers(argv);
    auto envpPtr = pointers(envp);

    posix_spawn_file_actions_t actions;
    check(posix_spawn_file_actions_init(&actions), "posix_spawn_file_actions_init");
    struct Cleanup {
        posix_spawn_file_actions_t* a;
        ~Cleanup() { posix_spawn_file_actions_destroy(a); }
    } cleanup{&actions};
    check(posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0), "addopen stdin");
    check(posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(),
                                           O_WRONLY | O_CREAT | O_TRUNC, 0600),
          "addopen stdout");
    check(posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(),
                                           O_WRONLY | O_CREAT | O_TRUNC, 0600),
          "addopen stderr");
    check(posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str()), "addchdir");

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    check(posix_spawn(&pid, program.c_str(), &actions, nullptr, argvPtr.data(), envpPtr.data()),
          ("posix_spawn " + program.string()).c_str());

    int status = 0;
    rusage usage{};
    int sent = 0;
    std::optional<std::chrono::steady_clock::time_point> due;
    double signalSeconds = -1;
    for (;;) {
        pid_t done = wait4(pid, &status, WNOHANG, &usage);
        if (done == pid) break;
        if (done < 0) {
            if (errno == EINTR) continue;
            throw std::runtime_error(std::string("wait4: ") + std::strerror(errno));
        }
        // Still running: a child that waits for something that never comes
        // (a question on a window nobody sees) must not hold the test.
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(limitSeconds)) {
            ::kill(pid, SIGKILL);
        } else if (signals != nullptr && sent < signals->count) {
            const auto now = std::chrono::steady_clock::now();
            if (!due && readWhole(errFile).find(signals->after) != std::string::npos)
                due = now + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                std::chrono::duration<double>(signals->delaySeconds));
            if (due && now >= *due) {
                ::kill(pid, signals->signal);
                if (sent++ == 0) signalSeconds = std::chrono::duration<double>(now - start).count();
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(sent > 0 ? 100 : 5));
    }
    ChildResult result;
    result.signalSeconds = signalSeconds;
    result.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.termSignal = WTERMSIG(status);
    result.maxRssKiB = usage.ru_maxrss;
    result.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                        static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    result.out = readWhole(outFile);
    result.err = readWhole(errFile);
    std::error_code ignored;
    std::filesystem::remove(outFile, ignored);
    std::filesystem::remove(errFile, ignored);
    return result;
}

}  // namespace

ChildResult runChild(const std::filesystem::path& program, const std::vector<std::string>& args,
                     const std::vector<std::string>& environment, const std::filesystem::path& cwd,
                     const std::filesystem::path& captureDir) {
    return spawnAndWait(program, args, environment, cwd, captureDir, nullptr, 300);
}

ChildResult runChild(const std::filesystem::path& program, const std::vector<std::string>& args,
                     const std::vector<std::string>& environment, const std::filesystem::path& cwd,
                     const std::filesystem::path& captureDir, const ChildSignals& signals,
                     int limitSeconds) {
    return spawnAndWait(program, args, environment, cwd, captureDir, &signals, limitSeconds);
}

}  // namespace e2e
