#include "platform/Socket.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

SocketError systemError(int code) { return SocketError{code, std::strerror(code)}; }

void setError(SocketError* error, SocketError value) {
    if (error != nullptr) *error = std::move(value);
}

// Waits for the events on fd; returns 1 when they came, 0 on time-out, -1
// with errno on failure. Interruptions do not shorten the wait much: the
// remaining time is not tracked, which only matters for signals the program
// does not use.
int waitFor(int fd, short events, int milliseconds) {
    pollfd entry{fd, events, 0};
    for (;;) {
        int ready = ::poll(&entry, 1, milliseconds);
        if (ready >= 0 || errno != EINTR) return ready;
    }
}

// waitFor until the deadline; an interrupted wait goes on for what is left.
int waitUntil(int fd, short events, SocketDeadline deadline) {
    pollfd entry{fd, events, 0};
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        // Rounded up, so that a wait never ends before its deadline.
        int milliseconds = left.count() <= 0 ? 0 : static_cast<int>(std::min<long long>(left.count() + 1, 1 << 30));
        int ready = ::poll(&entry, 1, milliseconds);
        if (ready >= 0 || errno != EINTR) return ready;
    }
}

class PosixConnection : public TcpConnection {
public:
    explicit PosixConnection(int fd) : fd(fd) {}
    ~PosixConnection() override { ::close(fd); }
    PosixConnection(const PosixConnection&) = delete;
    PosixConnection& operator=(const PosixConnection&) = delete;

    bool sendAll(const char* data, std::size_t size, SocketDeadline deadline,
                 SocketError* error) override {
        while (size > 0) {
            // MSG_NOSIGNAL: a closed peer gives EPIPE instead of SIGPIPE;
            // MSG_DONTWAIT: a full buffer waits in poll, where the deadline
            // holds, not in send.
            ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
            if (sent < 0) {
                if (errno == EINTR) continue;
                if (errno == EAGAIN || errno == EWOULDBLOCK) {
                    int ready = waitUntil(fd, POLLOUT, deadline);
                    if (ready > 0) continue;
                    setError(error, systemError(ready == 0 ? ETIMEDOUT : errno));
                    return false;
                }
                setError(error, systemError(errno));
                return false;
            }
            data += sent;
            size -= static_cast<std::size_t>(sent);
        }
        return true;
    }

    long receive(char* buffer, std::size_t size, SocketDeadline deadline,
                 SocketError* error) override {
        for (;;) {
            int ready = waitUntil(fd, POLLIN, deadline);
            if (ready == 0) {
                setError(error, systemError(ETIMEDOUT));
                return -1;
            }
            if (ready < 0) {
                setError(error, systemError(errno));
                return -1;
            }
            ssize_t count = ::recv(fd, buffer, size, MSG_DONTWAIT);
            if (count >= 0) return static_cast<long>(count);
            if (errno == EINTR || errno == EAGAIN) continue;
            setError(error, systemError(errno));
            return -1;
        }
    }

private:
    int fd;
};

// Connects fd to the address within the time-out; returns 0 or an errno.
int connectWithin(int fd, const addrinfo& address, int milliseconds) {
    int flags = ::fcntl(fd, F_GETFL, 0);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) return errno;
    if (::connect(fd, address.ai_addr, address.ai_addrlen) < 0) {
        if (errno != EINPROGRESS && errno != EINTR) return errno;
        int ready = waitFor(fd, POLLOUT, milliseconds);
        if (ready == 0) return ETIMEDOUT;
        if (ready < 0) return errno;
        int failure = 0;
        socklen_t length = sizeof failure;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &failure, &length) < 0) return errno;
        if (failure != 0) return failure;
    }
    // Reads wait with poll, so the descriptor goes back to blocking.
    if (::fcntl(fd, F_SETFL, flags) < 0) return errno;
    return 0;
}

SystemNetwork systemNetwork;
std::atomic<Network*> current{nullptr};

}  // namespace

SocketDeadline deadlineAfter(int milliseconds) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
}

TcpConnection::~TcpConnection() = default;
Network::~Network() = default;

std::unique_ptr<TcpConnection> SystemNetwork::connect(const std::string& host, int port,
                                                      const SocketTimeouts& timeouts,
                                                      SocketError* error) {
    if (host.empty() || host.find('\0') != std::string::npos) {
        setError(error, SocketError{0, "No host name was given."});
        return nullptr;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_ADDRCONFIG | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    std::string service = std::to_string(port);
    int lookup = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
    if (lookup != 0) {
        setError(error, lookup == EAI_SYSTEM ? systemError(errno)
                                             : SocketError{0, ::gai_strerror(lookup)});
        return nullptr;
    }
    SocketError last = systemError(EADDRNOTAVAIL);
    std::unique_ptr<TcpConnection> connection;
    for (addrinfo* address = found; address != nullptr && !connection; address = address->ai_next) {
        int fd = ::socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC,
                          address->ai_protocol);
        if (fd < 0) {
            last = systemError(errno);
            last.creating = true;
            continue;
        }
        int failure = connectWithin(fd, *address, timeouts.connectMilliseconds);
        if (failure != 0) {
            ::close(fd);
            last = systemError(failure);
            continue;
        }
        connection = std::make_unique<PosixConnection>(fd);
    }
    ::freeaddrinfo(found);
    if (!connection) setError(error, last);
    return connection;
}

std::string SystemNetwork::hostName() {
    char name[256] = "";
    if (::gethostname(name, sizeof name - 1) != 0) return "";
    return name;
}

Network& network() {
    Network* replaced = current.load();
    return replaced != nullptr ? *replaced : systemNetwork;
}

Network* setNetwork(Network* replacement) {
    Network* previous = current.exchange(replacement);
    return previous != nullptr ? previous : &systemNetwork;
}

}  // namespace platform
