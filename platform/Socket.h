// TCP connections: name lookup, connect, and byte transfer, each bounded in
// time, so that an unreachable or silent peer ends in an error instead of a
// hang.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

namespace platform {

// Why a socket operation failed.
struct SocketError {
    // The system's error number (errno); 0 when the failure has none (a
    // failed name lookup, a peer that closed the connection).
    int code = 0;
    // The system's words for the failure.
    std::string text;
    // The socket itself could not be made (no descriptors, no memory): the
    // failure lies here, not with the peer.
    bool creating = false;
};

// The bounds of a connection's waits. A bound holds for the whole of what
// it bounds, however the peer splits its bytes: one byte every few seconds
// keeps no reply or send going longer.
struct SocketTimeouts {
    int connectMilliseconds = 15000;  // per address tried
    int replyMilliseconds = 30000;    // one whole reply (NetClient::readLine, an SMTP reply)
    int sendMilliseconds = 30000;     // one whole line sent
};

// The moment by which an operation must be done.
using SocketDeadline = std::chrono::steady_clock::time_point;

// Now + milliseconds.
SocketDeadline deadlineAfter(int milliseconds);

// One connected TCP stream.
class TcpConnection {
public:
    virtual ~TcpConnection();

    // Sends every byte by the deadline, going on after short writes. A peer
    // that has gone away is an error (EPIPE, ECONNRESET), never a signal
    // that ends the program. Returns false with *error set on failure, code
    // ETIMEDOUT when the peer did not take everything in time.
    virtual bool sendAll(const char* data, std::size_t size, SocketDeadline deadline,
                         SocketError* error) = 0;

    // Waits until the deadline at most for data and reads what is there, up
    // to size bytes. Returns the count (> 0); 0 when the peer closed the
    // connection; -1 with *error set on failure, code ETIMEDOUT when nothing
    // came in time.
    virtual long receive(char* buffer, std::size_t size, SocketDeadline deadline,
                         SocketError* error) = 0;
};

class Network {
public:
    virtual ~Network();

    // Looks the host up (a name or a numeric IPv4 or IPv6 address) and tries
    // its addresses in turn, each within the connect time-out. Returns the
    // connection, or null with *error set: the resolver's text (code 0) when
    // the name is unknown, the system's error with `creating` set when no
    // socket could be made, else the last address's error (ECONNREFUSED,
    // ETIMEDOUT, ...).
    virtual std::unique_ptr<TcpConnection> connect(const std::string& host, int port,
                                                   const SocketTimeouts& timeouts,
                                                   SocketError* error) = 0;

    // The local computer's host name; "" when the system has none.
    virtual std::string hostName() = 0;
};

// POSIX sockets.
class SystemNetwork : public Network {
public:
    std::unique_ptr<TcpConnection> connect(const std::string& host, int port,
                                           const SocketTimeouts& timeouts,
                                           SocketError* error) override;
    std::string hostName() override;
};

// The network in use: the system's unless a test replaced it.
Network& network();

// Makes replacement the network in use (null restores the system's) and
// returns the one used before. The caller keeps replacement alive while it
// is in use.
Network* setNetwork(Network* replacement);

}  // namespace platform
