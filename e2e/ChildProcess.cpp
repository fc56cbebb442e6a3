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
#include <sstream>
#include <stdexcept>

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
    if (timedOut)
        text << "killed at its time limit";
    else if (termSignal != 0)
        text << "killed by signal " << termSignal;
    else
        text << "exit status " << exitCode;
    text << "\n--- stdout ---\n" << out << "--- stderr ---\n" << err;
    return text.str();
}

std::vector<std::string> childEnvironment(const std::map<std::string, std::string>& set,
                                          const std::vector<std::string>& unset) {
    std::vector<std::string> result;
    for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
        std::string entry = *e;
        std::string name = entry.substr(0, entry.find('='));
        bool drop = set.count(name) != 0;
        for (const auto& u : unset) drop = drop || u == name;
        if (!drop) result.push_back(entry);
    }
    for (const auto& [name, value] : set) result.push_back(name + "=" + value);
    return result;
}

ChildResult runChild(const std::filesystem::path& program, const std::vector<std::string>& args,
                     const std::vector<std::string>& environment, const std::filesystem::path& cwd,
                     const std::filesystem::path& captureDir, double timeLimitSeconds) {
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
    ChildResult result;
    const auto deadline = start + std::chrono::duration<double>(timeLimitSeconds);
    for (;;) {
        pid_t got = wait4(pid, &status, timeLimitSeconds > 0 ? WNOHANG : 0, &usage);
        if (got == pid) break;
        if (got < 0 && errno != EINTR)
            throw std::runtime_error(std::string("wait4: ") + std::strerror(errno));
        if (got == 0) {
            if (!result.timedOut && std::chrono::steady_clock::now() >= deadline) {
                ::kill(pid, SIGKILL);
                result.timedOut = true;
            }
            ::usleep(20000);
        }
    }
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

}  // namespace e2e
