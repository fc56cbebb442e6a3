// A line-oriented TCP client: connects to a host and port, sends text lines
// ended by CR LF and reads reply lines, optionally reporting every line to a
// log callback. The base of the SMTP client.
//
// Every failure is a VelkError whose message names the operation and the
// system's reason. It blocks the calling thread while it waits, never longer
// than its time-outs.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/Socket.h"

class NetClient {
public:
    // Receives each logged line and the context given with it.
    using LogCallback = void (*)(std::string line, void* context);

    // A null callback turns logging off.
    NetClient(LogCallback logCallback, void* logContext);
    // Closes the connection when it is open.
    virtual ~NetClient();
    NetClient(const NetClient&) = delete;
    NetClient& operator=(const NetClient&) = delete;

    // The longest line readLine takes (its line end not counted).
    static constexpr std::size_t maxLineLength = 4096;

    // Connects to host and port through platform::network(). Throws
    // "Could not create socket." + "  " + the reason when no socket could be
    // made, else "Could not connect to " + host + " (port " + port + ")." +
    // "  " + the reason ("The connection was refused.", the resolver's text
    // for an unknown host, ...); the client is closed afterwards.
    virtual void connect(const std::string& host, int port);

    // Drops the connection. Harmless when not connected.
    virtual void close();

    // Sends the line and "\r\n", all of it within the send time-out. With
    // log set, logs "SEND: " + the line, or "SEND: [secret]" with secret
    // set. Throws "Could not write to the socket." + "  " + the reason (the
    // peer took too long, or went; the client is then closed), and the same
    // message when the line holds a carriage return, a line feed or a NUL
    // (which would end the line early on the wire).
    virtual void sendLine(const std::string& line, bool log, bool secret);

    // Reads one line up to its line feed, all of it within the reply
    // time-out, and returns it without the line end (a carriage return
    // before the line feed is dropped); a last line that the peer ends by
    // closing the connection counts as a line. With log set, logs it as
    // received. Throws "Could not read from socket." when the peer has
    // closed the connection, and that message + "  " + the reason when the
    // read fails, the line did not come whole in time, or the line is longer
    // than maxLineLength (the client is then closed).
    virtual std::string readLine(bool log);

    // One reply: here readLine with logging on.
    virtual std::string readReply();

    // Time-outs for the next connect and the reads on it.
    void setTimeouts(const platform::SocketTimeouts& timeouts) { this->timeouts = timeouts; }
    const platform::SocketTimeouts& getTimeouts() const { return timeouts; }

    bool connected() const { return isConnected; }
    // The last line read.
    const std::string& getLastLine() const { return lastLine; }

protected:
    void log(const std::string& text);
    // readLine with the deadline of a larger whole (a reply of several
    // lines) instead of one of its own.
    std::string readLineBefore(platform::SocketDeadline deadline, bool log);

private:
    [[noreturn]] void raiseSocketError(const std::string& message,
                                       const platform::SocketError& error);

    std::unique_ptr<platform::TcpConnection> connection;
    std::string received;  // bytes read but not yet handed out as lines
    LogCallback logCallback;
    void* logContext;
    bool isConnected = false;
    std::string lastLine;
    platform::SocketTimeouts timeouts;
};

// The reason's words for a socket failure: the fixed description of the
// errno value when there is one, else the system's text followed by
// " (Error code " + code + ")", or the text alone when the code is 0.
std::string describeSocketError(const platform::SocketError& error);

// The local computer's host name (platform::network().hostName()); "localhost"
// when the system has none.
std::string localHostName();
