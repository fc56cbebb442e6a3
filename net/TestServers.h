// Servers on 127.0.0.1 for the network tests: each is started by its test,
// serves a bounded number of connections, gives up on a silent client after
// a few seconds and is stopped when the object goes.
#pragma once

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/Shell.h"
#include "platform/gui/HeadlessBackend.h"

extern char** environ;

namespace net_testing {

// A socket bound to a port of 127.0.0.1 that the kernel picks; returns the
// port.
inline int bindLoopback(int fd) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

// A port where nothing listens: bound, never listening.
class ClosedPort {
public:
    ClosedPort() : fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)), port(bindLoopback(fd)) {}
    ~ClosedPort() { ::close(fd); }
    ClosedPort(const ClosedPort&) = delete;
    ClosedPort& operator=(const ClosedPort&) = delete;
    const int fd;
    const int port;
};

// Accepts connections on a port of its own and hands each to the handler
// (one at a time, on the server's thread).
class LoopbackServer {
public:
    using Handler = std::function<void(int connection)>;

    explicit LoopbackServer(Handler handler) : handler(std::move(handler)) {
        listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        serverPort = bindLoopback(listener);
        ::listen(listener, 8);
        thread = std::thread([this] { serve(); });
    }
    ~LoopbackServer() {
        stopping.store(true);
        ::shutdown(listener, SHUT_RDWR);  // wakes the blocked accept
        thread.join();
        ::close(listener);
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int port() const { return serverPort; }
    std::string hostAndPort() const { return "127.0.0.1:" + std::to_string(serverPort); }

    // How long a handler's read waits before it takes the client as gone.
    static constexpr int readSeconds = 5;

private:
    void serve() {
        while (!stopping.load()) {
            int connection = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection < 0) {
                if (errno == EINTR) continue;
                return;
            }
            timeval timeout{readSeconds, 0};
            ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
            handler(connection);
            ::close(connection);
        }
    }

    Handler handler;
    int listener = -1;
    int serverPort = 0;
    std::atomic<bool> stopping{false};
    std::thread thread;
};

inline void sendText(int connection, const std::string& text) {
    ::send(connection, text.data(), text.size(), MSG_NOSIGNAL);
}

// Reads up to and including "\n" (without it); false when the client closed
// or stayed silent for LoopbackServer::readSeconds.
inline bool readLineFrom(int connection, std::string& line) {
    line.clear();
    char c;
    while (::recv(connection, &c, 1, 0) == 1) {
        if (c == '\n') return true;
        line += c;
    }
    return false;
}

// Waits until the client closes (or stays silent for the read time-out).
inline void drain(int connection) {
    char buffer[4096];
    while (::recv(connection, buffer, sizeof buffer, 0) > 0) {
    }
}

// A scripted SMTP relay: "250 OK" to every command unless replies says
// otherwise for its verb (the command's first word, upper case), "354" to
// DATA, and the lines of the message recorded as they arrive.
class ScriptedSmtpServer {
public:
    std::map<std::string, std::string> replies;
    std::string greeting = "220 relay.test ready";
    // The verb at which the relay drops the connection without a reply.
    std::string closeAt;
    // Sends nothing at all, ever.
    bool silent = false;

    // Every line received (CR LF shown as received: the CR stays).
    std::vector<std::string> lines() {
        std::lock_guard<std::mutex> lock(mutex);
        return received;
    }

    // Back to the defaults, for the next scripted session.
    void reset() {
        std::lock_guard<std::mutex> lock(mutex);
        replies.clear();
        closeAt.clear();
        silent = false;
        received.clear();
    }

    LoopbackServer::Handler handler() {
        return [this](int connection) { serve(connection); };
    }

private:
    void serve(int connection) {
        if (silent) {
            drain(connection);
            return;
        }
        sendText(connection, greeting + "\r\n");
        bool inData = false;
        std::string line;
        while (readLineFrom(connection, line)) {
            {
                std::lock_guard<std::mutex> lock(mutex);
                received.push_back(line);
            }
            std::string bare = line;
            if (!bare.empty() && bare.back() == '\r') bare.pop_back();
            if (inData) {
                if (bare != ".") continue;
                inData = false;
                bare = "END-OF-DATA";
            }
            std::string verb = bare.substr(0, bare.find_first_of(" :"));
            for (char& c : verb) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            if (verb == closeAt) return;
            auto found = replies.find(verb);
            std::string reply = found != replies.end() ? found->second
                                : verb == "DATA"       ? "354 End data with <CR><LF>.<CR><LF>"
                                : verb == "QUIT"       ? "221 Bye"
                                                       : "250 OK";
            sendText(connection, reply + "\r\n");
            if (verb == "DATA" && reply.compare(0, 3, "354") == 0) inData = true;
            if (verb == "QUIT") return;
        }
    }

    std::mutex mutex;
    std::vector<std::string> received;
};

// An HTTP server's answers by path: the whole response as it goes out, or
// "" to answer nothing and wait for the client to give up.
inline LoopbackServer::Handler httpHandler(std::map<std::string, std::string> routes) {
    return [routes = std::move(routes)](int connection) {
        std::string request, line;
        while (readLineFrom(connection, line) && line != "\r") request += line + "\n";
        std::string::size_type start = request.find(' ') + 1;
        std::string path = request.substr(start, request.find(' ', start) - start);
        auto found = routes.find(path);
        std::string response = found != routes.end()
                                   ? found->second
                                   : "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n";
        if (response.empty()) {
            drain(connection);
            return;
        }
        sendText(connection, response);
        ::shutdown(connection, SHUT_WR);
        drain(connection);
    };
}

// A 200 response with the body.
inline std::string httpOk(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

// A child process with its standard output on a pipe; killed and reaped
// when the object goes if it has not ended by then.
class ChildProcess {
public:
    explicit ChildProcess(std::vector<std::string> arguments) {
        int pipeEnds[2];
        if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeEnds[1]);
        output = pipeEnds[0];
    }
    ~ChildProcess() {
        if (pid > 0 && !exited) {
            ::kill(pid, SIGKILL);
            int status = 0;
            ::waitpid(pid, &status, 0);
        }
        if (output >= 0) ::close(output);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid > 0; }

    // The next line of its output, waiting at most seconds; "" when none.
    std::string readLine(int seconds) {
        std::string line;
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < end) {
            pollfd entry{output, POLLIN, 0};
            if (::poll(&entry, 1, 200) <= 0) continue;
            char c;
            if (::read(output, &c, 1) != 1) break;
            if (c == '\n') return line;
            line += c;
        }
        return line;
    }

    // Waits at most seconds for the child to end; its exit status, or -1
    // when it did not end in time (it is then killed by the destructor).
    int wait(int seconds) {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < end) {
            int status = 0;
            pid_t done = ::waitpid(pid, &status, WNOHANG);
            if (done == pid) {
                exited = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return -1;
    }

    // The rest of its output, once it has ended.
    std::string readRest() {
        std::string text;
        char buffer[4096];
        for (ssize_t n; (n = ::read(output, buffer, sizeof buffer)) > 0;) text.append(buffer, n);
        return text;
    }

private:
    pid_t pid = -1;
    int output = -1;
    bool exited = false;
};

// The desktop of a dialog test: the headless backend on streams of its own
// (questions answered as scripted, else No) and the recording shell, put in
// place for the object's life.
struct TestDesktop {
    TestDesktop()
        : previousBackend(gui::setBackend(&headless)), previousShell(platform::setShell(&shell)) {}
    ~TestDesktop() {
        gui::setBackend(previousBackend);
        platform::setShell(previousShell);
    }
    TestDesktop(const TestDesktop&) = delete;
    TestDesktop& operator=(const TestDesktop&) = delete;

    std::ostringstream out, err;
    std::istringstream in;
    gui::HeadlessBackend headless{out, err, in, false};
    platform::RecordingShell shell;
    gui::Backend* previousBackend;
    platform::Shell* previousShell;
};

// Debian's interpreter, where python3-aiosmtpd installs the mail server.
inline std::string systemPython() { return "/usr/bin/python3"; }

inline std::string testDataPath(const std::string& name) {
    const char* source = std::getenv("VANTRY_SOURCE_DIR");
    return std::string(source != nullptr ? source : ".") + "/net/testdata/" + name;
}

}  // namespace net_testing
