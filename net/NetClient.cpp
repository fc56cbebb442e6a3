#include "net/NetClient.h"

#include <cerrno>
#include <utility>

#include "VelkLib/VelkError.h"

namespace {

struct SocketErrorText {
    int code;
    const char* text;
};

// The descriptions users know from the mailer's earlier life, keyed by the
// system's error numbers.
constexpr SocketErrorText socketErrorTexts[] = {
    {EFAULT, "The nSockAddrLen argument is incorrect."},
    {EINVAL, "Bad address."},
    {EMFILE, "No more file descriptors are available."},
    {EWOULDBLOCK, "The connection cannot be completed immediately."},
    {EINPROGRESS, "A blocking socket operation is in progress."},
    {ENOTSOCK, "The descriptor is not a socket."},
    {EDESTADDRREQ, "A destination address is required."},
    {EPROTOTYPE, "Specified port is the wrong type for this socket."},
    {EPROTONOSUPPORT, "The specified port is not supported."},
    {ESOCKTNOSUPPORT, "Socket type is not supported in this address family"},
    {EAFNOSUPPORT, "The specified address family is not supported."},
    {EADDRINUSE, "The specified address is already in use."},
    {EADDRNOTAVAIL, "The address is not available from the local machine."},
    {ENETDOWN, "The network subsystem failed."},
    {ENETUNREACH, "The network cannot be reached at this time."},
    {ENOBUFS, "Cannot create the socket (no buffer space available)."},
    {EISCONN, "The socket is already connected."},
    {ETIMEDOUT, "Attempt to connect timed out."},
    {ECONNREFUSED, "The connection was refused."},
};

const char readFailure[] = "Could not read from socket.";

// A time-out for a message: "30 seconds", or "1500 milliseconds" when it
// is not a whole number of seconds.
std::string secondsText(int milliseconds) {
    return milliseconds % 1000 == 0 ? std::to_string(milliseconds / 1000) + " seconds"
                                     : std::to_string(milliseconds) + " milliseconds";
}

}  // namespace

std::string describeSocketError(const platform::SocketError& error) {
    for (const SocketErrorText& entry : socketErrorTexts) {
        if (entry.code == error.code && error.code != 0) return entry.text;
    }
    if (error.code == 0) return error.text;
    return error.text + " (Error code " + std::to_string(error.code) + ")";
}

std::string localHostName() {
    std::string name = platform::network().hostName();
    return name.empty() ? "localhost" : name;
}

NetClient::NetClient(LogCallback callback, void* context)
    : logCallback(callback), logContext(context) {}

NetClient::~NetClient() {
    if (isConnected) NetClient::close();
}

void NetClient::raiseSocketError(const std::string& message, const platform::SocketError& error) {
    std::string text = message + "  " + describeSocketError(error);
    close();
    throw VelkError(text, "", "[none]", 0);
}

void NetClient::connect(const std::string& host, int port) {
    close();
    platform::SocketError error;
    connection = platform::network().connect(host, port, timeouts, &error);
    if (!connection && error.creating) raiseSocketError("Could not create socket.", error);
    if (!connection) {
        raiseSocketError("Could not connect to " + host + " (port " + std::to_string(port) + ").",
                         error);
    }
    isConnected = true;
}

void NetClient::close() {
    connection.reset();
    received.clear();
    isConnected = false;
}

void NetClient::sendLine(const std::string& line, bool logIt, bool secret) {
    if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
        throw VelkError("Could not write to the socket.  The line holds a line break.", "",
                        "[none]", 0);
    }
    if (!connection) {
        raiseSocketError("Could not write to the socket.", {ENOTCONN, "not connected"});
    }
    std::string wire = line + "\r\n";
    platform::SocketError error;
    if (!connection->sendAll(wire.data(), wire.size(),
                             platform::deadlineAfter(timeouts.sendMilliseconds), &error)) {
        if (error.code == ETIMEDOUT) {
            error = {0, "The peer did not take the data within " +
                            secondsText(timeouts.sendMilliseconds) + "."};
        }
        raiseSocketError("Could not write to the socket.", error);
    }
    if (logIt) log("SEND: " + (secret ? std::string("[secret]") : line));
}

std::string NetClient::readLine(bool logIt) {
    return readLineBefore(platform::deadlineAfter(timeouts.replyMilliseconds), logIt);
}

std::string NetClient::readLineBefore(platform::SocketDeadline deadline, bool logIt) {
    if (!connection) throw VelkError(readFailure, "", "[none]", 0);
    auto handOut = [&](std::string line) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (logIt) log(line);
        lastLine = line;
        return line;
    };
    std::string::size_type scanned = 0;
    for (;;) {
        std::string::size_type end = received.find('\n', scanned);
        if (end != std::string::npos) {
            if (end > maxLineLength + 1) break;
            std::string line = received.substr(0, end);
            received.erase(0, end + 1);
            return handOut(std::move(line));
        }
        scanned = received.size();
        if (scanned > maxLineLength + 1) break;
        char block[4096];
        platform::SocketError error;
        long count = connection->receive(block, sizeof block, deadline, &error);
        if (count == 0) {
            // The peer's last words, ended by its close rather than a line
            // feed, are a line too; the close itself shows at the next read.
            if (received.empty()) throw VelkError(readFailure, "", "[none]", 0);
            return handOut(std::exchange(received, std::string()));
        }
        if (count < 0) {
            if (error.code == ETIMEDOUT) {
                error = {0, "No answer came within " + secondsText(timeouts.replyMilliseconds) + "."};
            }
            raiseSocketError(readFailure, error);
        }
        received.append(block, static_cast<std::size_t>(count));
    }
    raiseSocketError(readFailure, {0, "The peer sent a line longer than " +
                                          std::to_string(maxLineLength) + " characters."});
}

std::string NetClient::readReply() { return readLine(true); }

void NetClient::log(const std::string& text) {
    if (logCallback != nullptr) logCallback(text, logContext);
}
