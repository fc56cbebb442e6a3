#include "net/SmtpClient.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/resource.h>

#include "VelkLib/VelkError.h"
#include "net/MimeEncoder.h"
#include "net/MimeMessageOut.h"
#include "net/TestServers.h"
#include "run/TestRecording.h"

namespace {

using namespace net_testing;
using testing_support::errorOf;

void collect(std::string line, void* context) {
    static_cast<std::vector<std::string>*>(context)->push_back(line);
}

// Short time-outs: a silent peer ends the test quickly.
platform::SocketTimeouts quick{2000, 1000, 1000};

TEST(NetClientTest, ConnectionFailuresNameHostPortAndReason) {
    ClosedPort closed;
    NetClient client(nullptr, nullptr);
    EXPECT_EQ(errorOf([&] { client.connect("127.0.0.1", closed.port); }),
              "Could not connect to 127.0.0.1 (port " + std::to_string(closed.port) +
                  ").  The connection was refused.");
    EXPECT_FALSE(client.connected());
    EXPECT_NE(errorOf([&] { client.connect("no-such-host.invalid", 25); })
                  .find("Could not connect to no-such-host.invalid (port 25).  "),
              std::string::npos);
}

TEST(NetClientTest, LinesLoggingSecretsAndBoundedReads) {
    std::string longLine(NetClient::maxLineLength + 10, 'x');
    LoopbackServer server([&](int connection) {
        std::string line;
        readLineFrom(connection, line);
        sendText(connection, "first\r\nsecond\n" + longLine + "\n");
        drain(connection);
    });
    std::vector<std::string> logged;
    NetClient client(collect, &logged);
    client.setTimeouts(quick);
    client.connect("127.0.0.1", server.port());
    EXPECT_EQ(errorOf([&] { client.sendLine("two\r\nlines", true, false); }),
              "Could not write to the socket.  The line holds a line break.");
    client.sendLine("PASS hunter2", true, true);
    EXPECT_EQ(client.readReply(), "first");
    EXPECT_EQ(client.readLine(false), "second");
    EXPECT_EQ(logged, (std::vector<std::string>{"SEND: [secret]", "first"}));
    EXPECT_EQ(errorOf([&] { client.readLine(true); }),
              "Could not read from socket.  The peer sent a line longer than 4096 characters.");
    EXPECT_FALSE(client.connected());
}

TEST(NetClientTest, PeerThatClosesOrNeverAnswers) {
    LoopbackServer closing([](int connection) { sendText(connection, "bye\r\n"); });
    NetClient client(nullptr, nullptr);
    client.setTimeouts(quick);
    client.connect("127.0.0.1", closing.port());
    EXPECT_EQ(client.readLine(false), "bye");
    EXPECT_EQ(errorOf([&] { client.readLine(false); }), "Could not read from socket.");

    LoopbackServer silent([](int connection) { drain(connection); });
    client.connect("127.0.0.1", silent.port());
    EXPECT_EQ(errorOf([&] { client.readLine(false); }),
              "Could not read from socket.  No answer came within 1 seconds.");
    EXPECT_FALSE(client.connected());
}

// The peer's last words, ended by its close instead of a line feed, are a
// line; only the read after them fails.
TEST(NetClientTest, LastLineWithoutLineFeedIsKept) {
    LoopbackServer server([](int connection) { sendText(connection, "220 ok\r\n221 Bye"); });
    NetClient client(nullptr, nullptr);
    client.setTimeouts(quick);
    client.connect("127.0.0.1", server.port());
    EXPECT_EQ(client.readLine(false), "220 ok");
    EXPECT_EQ(client.readLine(false), "221 Bye");
    EXPECT_EQ(errorOf([&] { client.readLine(false); }), "Could not read from socket.");
}

// A peer that keeps the client waiting a little at a time is cut off when
// the whole reply or the whole send has taken its bound, not only when one
// wait has.
TEST(NetClientTest, BoundsHoldForTheWholeReplyAndTheWholeSend) {
    const platform::SocketTimeouts tight{2000, 600, 600};
    std::atomic<bool> release{false};
    auto trickle = [&](int connection, const std::string& text) {
        for (char c : text) {
            if (release.load() || ::send(connection, &c, 1, MSG_NOSIGNAL) != 1) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    };
    LoopbackServer slowLine([&](int connection) { trickle(connection, "250 all is well here\r\n"); });
    NetClient client(nullptr, nullptr);
    client.setTimeouts(tight);
    client.connect("127.0.0.1", slowLine.port());
    EXPECT_EQ(errorOf([&] { client.readLine(false); }),
              "Could not read from socket.  No answer came within 600 milliseconds.");
    EXPECT_FALSE(client.connected());

    // Each line of the reply comes in time; the reply as a whole does not.
    LoopbackServer slowReply([&](int connection) {
        for (int i = 0; i < 6 && !release.load(); ++i) {
            sendText(connection, i < 5 ? "250-line\r\n" : "250 end\r\n");
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        }
    });
    SmtpClient smtp(nullptr, nullptr);
    smtp.setTimeouts(tight);
    smtp.connect("127.0.0.1", slowReply.port());
    EXPECT_EQ(errorOf([&] { smtp.readWholeReply(); }),
              "Could not read from socket.  No answer came within 600 milliseconds.");

    // A peer that takes nothing until the test is over: the send ends at
    // its bound. A slow build may take seconds to prepare 32 MB, so the peer
    // waits for the test, not for a time of its own.
    LoopbackServer deaf([&](int connection) {
        while (!release.load()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        drain(connection);
    });
    client.connect("127.0.0.1", deaf.port());
    EXPECT_EQ(errorOf([&] { client.sendLine(std::string(32 << 20, 'x'), false, false); }),
              "Could not write to the socket.  The peer did not take the data within 600 "
              "milliseconds.");
    EXPECT_FALSE(client.connected());
    release.store(true);
}

// Without a descriptor to spare, the socket itself cannot be made: that
// is what the message says, not that the host could not be reached.
TEST(NetClientTest, NoSocketIsNoConnectionFailure) {
    LoopbackServer server([](int connection) { drain(connection); });
    // Made while descriptors are free: the sanitizers' first look at an
    // object may need one.
    NetClient client(nullptr, nullptr);
    std::string error = errorOf([&] { client.connect("127.0.0.1", 0); });
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    // The lowest free descriptor becomes the limit, so the next one fails.
    int lowest = ::dup(0);
    ASSERT_GE(lowest, 0);
    ::close(lowest);
    rlimit tight = saved;
    tight.rlim_cur = static_cast<rlim_t>(lowest);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    error = errorOf([&] { client.connect("127.0.0.1", server.port()); });
    ::setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_EQ(error, "Could not create socket.  No more file descriptors are available.");
    EXPECT_FALSE(client.connected());
}

class SmtpScriptTest : public ::testing::Test {
protected:
    // Sends one text mail through the scripted relay; the error, if any.
    std::string sendOne() {
        LoopbackServer server(relay.handler());
        return errorOf([&] {
            SmtpClient client(nullptr, nullptr);
            client.setTimeouts(quick);
            client.open("127.0.0.1", server.port());
            client.hello("client.test");
            client.sendText(from, "feedback@relay.test", subject, text);
            client.quit();
        });
    }
    std::vector<std::string> verbs() {
        std::vector<std::string> result;
        for (const std::string& line : relay.lines()) result.push_back(line.substr(0, 4));
        return result;
    }

    ScriptedSmtpServer relay;
    std::string from = "Ann Example <ann@example.invalid>";
    std::string subject = "Vantry v1 Comment";
    std::string text = "Hello\r\n.hidden\r\n.\r\nbye";
};

TEST_F(SmtpScriptTest, DialogueEnvelopeHeadersAndDotStuffing) {
    relay.replies["EHLO"] = "502 not here";
    relay.replies["HELO"] = "250-relay.test\r\n250-SIZE 1000\r\n250 HELP";
    EXPECT_EQ(sendOne(), "(no error)");
    std::vector<std::string> lines = relay.lines();
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(lines[0], "HELO client.test\r");
    EXPECT_EQ(lines[1], "MAIL From:<ann@example.invalid>\r");
    EXPECT_EQ(lines[2], "RCPT To:<feedback@relay.test>\r");
    EXPECT_EQ(lines[3], "DATA\r");
    EXPECT_EQ(lines[4], "From: Ann Example <ann@example.invalid>\r");
    EXPECT_EQ(lines[5], "To: feedback@relay.test\r");
    EXPECT_EQ(lines[6], "Subject: Vantry v1 Comment\r");
    EXPECT_TRUE(lines[7].starts_with("Date: ")) << lines[7];
    EXPECT_TRUE(lines[8].starts_with("Message-ID: <") && lines[8].ends_with(">\r")) << lines[8];
    EXPECT_EQ(lines[9], "MIME-Version: 1.0\r");
    auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("..hidden\r"));
    EXPECT_TRUE(has("..\r"));
    EXPECT_TRUE(has("bye\r"));
    EXPECT_EQ(lines.back(), "QUIT\r");
    for (const std::string& line : lines) {
        // Every line came with one CR LF: one CR before the LF, none inside.
        EXPECT_EQ(line.find('\r'), line.size() - 1) << line;
    }
}

TEST_F(SmtpScriptTest, RefusalsStopTheExchangeWithTheServersText) {
    relay.replies["HELO"] = "501 Syntax: HELO hostname";
    EXPECT_EQ(sendOne(), "SMTP Error: Syntax: HELO hostname");
    EXPECT_EQ(verbs(), (std::vector<std::string>{"HELO"}));

    relay.reset();
    relay.replies["RCPT"] = "550 No such user";
    EXPECT_EQ(sendOne(), "SMTP Error: No such user");

    relay.reset();
    relay.replies["DATA"] = "554 No valid recipients";
    EXPECT_EQ(sendOne(), "SMTP Error: No valid recipients");
    EXPECT_EQ(verbs().back(), "DATA");  // nothing of the message after a refused DATA

    relay.reset();
    relay.replies["MAIL"] = "251 close but no";
    EXPECT_EQ(sendOne(), "SMTP Error: close but no");

    SmtpClient client(nullptr, nullptr);
    EXPECT_EQ(errorOf([&] { client.sendFile("a@b.c", "d@e.f", "s", "/no/such/file", 0, ""); }),
              "SmtpClient: could not find the file /no/such/file to send.");
}

// A relay that refuses at once says why in its greeting and closes; that
// reason is what the user sees.
TEST_F(SmtpScriptTest, GreetingIsAReplyLikeAnyOther) {
    LoopbackServer refusing([](int connection) {
        sendText(connection, "554 5.7.1 No service for 127.0.0.1\r\n");
    });
    SmtpClient client(nullptr, nullptr);
    client.setTimeouts(quick);
    EXPECT_EQ(errorOf([&] { client.open("127.0.0.1", refusing.port()); }),
              "SMTP Error: 5.7.1 No service for 127.0.0.1");

    relay.greeting = "220-relay.test at your service\r\n220 ready";
    EXPECT_EQ(sendOne(), "(no error)");
    EXPECT_EQ(verbs().front(), "HELO");
}

TEST_F(SmtpScriptTest, BrokenConnectionsEndInErrorsNotHangs) {
    relay.closeAt = "RCPT";
    EXPECT_EQ(sendOne(), "Could not read from socket.");

    relay.reset();
    relay.silent = true;
    EXPECT_EQ(sendOne(), "Could not read from socket.  No answer came within 1 seconds.");

    // A relay that drops the line at QUIT has accepted the mail already.
    relay.reset();
    relay.closeAt = "QUIT";
    EXPECT_EQ(sendOne(), "(no error)");
}

TEST_F(SmtpScriptTest, InjectionAttemptsAreRefusedBeforeAnythingIsSent) {
    from = "ann@example.invalid>\r\nRCPT To:<victim@example.invalid";
    EXPECT_EQ(sendOne(),
              "The sender address must not hold a line break or another control character.");
    EXPECT_EQ(verbs(), (std::vector<std::string>{"HELO"}));

    from = "ann@example.invalid";
    subject = "Hi\nBcc: victim@example.invalid";
    EXPECT_EQ(sendOne(), "The subject must not hold a line break or another control character.");

    SmtpClient client(nullptr, nullptr);
    EXPECT_EQ(errorOf([&] { client.hello("evil\r\nMAIL From:<x>"); }),
              "The HELO domain must not hold a line break or another control character.");
}

// The mail as a real SMTP server receives it, read back with Python's own
// email parser.
class RealServerTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("TEMP", temp.path.c_str(), 1); }
    void TearDown() override { unsetenv("TEMP"); }

    // Starts the server, runs send(host, port), and parses what arrived.
    std::map<std::string, std::string> deliver(const std::function<void(int port)>& send) {
        ChildProcess sink({systemPython(), testDataPath("smtp_sink.py"), scratch / "mail"});
        EXPECT_TRUE(sink.started());
        std::string port = sink.readLine(30);
        if (port.empty()) {
            ADD_FAILURE() << "the SMTP server did not start (is python3-aiosmtpd installed?)";
            return {};
        }
        send(std::stoi(port));
        EXPECT_EQ(sink.wait(30), 0);
        std::filesystem::create_directories(scratch / "parts");
        ChildProcess check(
            {systemPython(), testDataPath("mail_check.py"), scratch / "mail", scratch / "parts"});
        EXPECT_EQ(check.wait(30), 0);
        std::map<std::string, std::string> facts;
        std::istringstream lines(check.readRest());
        for (std::string line; std::getline(lines, line);) {
            std::string::size_type blank = line.find(' ');
            std::string key = line.substr(0, blank);
            if (key == "header" || key == "part" || key == "charset") {
                std::string::size_type second = line.find(' ', blank + 1);
                key = line.substr(0, second);
                blank = second;
            }
            facts[key] = line.substr(blank + 1);
        }
        return facts;
    }

    testing_support::ScratchDirectory scratch;
    testing_support::ScratchDirectory temp;
};

// What the user typed comes back from Python's own parser byte for byte:
// a line of 997 octets (the most a plain line may hold) without a line
// added after it, a line of 5,000 octets not broken, text beyond ASCII
// labelled as UTF-8, and a subject beyond ASCII.
TEST_F(RealServerTest, TypedTextArrivesByteForByte) {
    std::string words;
    while (words.size() < 5000) words += "word" + std::to_string(words.size()) + " ";
    words.resize(5000);
    const std::string line997 = std::string(996, 'z') + "!";
    struct Case {
        std::string text, subject, transfer;
    };
    const Case cases[] = {
        {"From: Ann <ann@example.invalid>\r\n\r\n.dot line\r\n" + line997 + "\r\nlast",
         "Vantry v1 Bug report", "-"},
        {"From: Ann <ann@example.invalid>\r\n\r\n" + words + "\r\n" + line997 + "\r\n",
         "Vantry v1 Comment", "quoted-printable"},
        {"From: Zo\xc3\xab <zoe@example.invalid>\r\n\r\nCaf\xc3\xa9 cr\xc3\xa8me \xe2\x98\x83, "
         "x=1 \r\n\tFrom here\r\n.\r\n" + words,
         "Vantry v1 Id\xc3\xa9" "e \xe2\x80\x94 " + std::string(40, 'w') + " \xe2\x98\x83",
         "quoted-printable"},
    };
    for (const Case& c : cases) {
        std::time_t before = std::time(nullptr);
        auto facts = deliver([&](int port) {
            SmtpClient client(nullptr, nullptr);
            client.setTimeouts(quick);
            client.open("127.0.0.1", port);
            client.hello("");
            client.sendText("Ann <ann@example.invalid>", "feedback@example.invalid", c.subject,
                            c.text);
            client.quit();
        });
        std::time_t after = std::time(nullptr);
        EXPECT_EQ(testing_support::readWholeFile(scratch / "parts/part-1"), c.text) << c.subject;
        EXPECT_EQ(facts["header Subject:"], c.subject);
        EXPECT_EQ(facts["header From:"], "Ann <ann@example.invalid>");
        EXPECT_EQ(facts["part 1"], "text/plain - " + c.transfer);
        EXPECT_EQ(facts["charset 1"], "utf-8");
        EXPECT_EQ(facts["type"], "multipart/mixed");
        EXPECT_EQ(facts["defects"], "0");
        EXPECT_EQ(facts["closed"], "yes");
        EXPECT_EQ(facts["bare"], "0");
        EXPECT_LE(std::stoi(facts["longest"]), 998);
        ASSERT_NE(facts["dated"], "-");
        EXPECT_TRUE(std::stoll(facts["dated"]) >= before && std::stoll(facts["dated"]) <= after)
            << facts["header Date:"];
        EXPECT_TRUE(facts["header Message-ID:"].starts_with("<") &&
                    facts["header Message-ID:"].find('@') != std::string::npos)
            << facts["header Message-ID:"];
        EXPECT_EQ(testing_support::readWholeFile(scratch / "mail.envelope"),
                  "ann@example.invalid\nfeedback@example.invalid\n");
        // Every temporary file of the send is gone.
        EXPECT_TRUE(std::filesystem::is_empty(temp.path));
    }
}

TEST_F(RealServerTest, AttachmentsDecodeByteForByte) {
    std::mt19937 random(25);
    std::string bytes(70000, '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 255);
    scratch.write("data.bin", bytes);
    // Names as shown: one with a quote, one beyond ASCII and longer than a
    // header line's piece.
    auto shownName = [](int encoding) -> std::string {
        return encoding == MimeBase64 ? "dir/sh\"own.bin"
                                      : "dir/r\xc3\xa9sum\xc3\xa9 \xe2\x98\x83 " +
                                            std::string(30, 'n') + ".bin";
    };
    for (int encoding : {MimeBase64, MimeQuotedPrintable}) {
        auto facts = deliver([&](int port) {
            SmtpClient client(nullptr, nullptr);
            client.setTimeouts(quick);
            client.open("127.0.0.1", port);
            client.hello("client.test");
            client.sendFile("ann@example.invalid", "feedback@example.invalid", "data",
                            scratch / "data.bin", encoding, shownName(encoding));
            client.quit();
        });
        EXPECT_EQ(facts["defects"], "0") << encoding;
        EXPECT_EQ(facts["closed"], "yes");
        EXPECT_EQ(facts["part 1"], "application/octet-stream " + fileNamePart(shownName(encoding)) +
                                       (encoding == MimeBase64 ? " base64" : " Quoted-Printable"));
        EXPECT_TRUE(testing_support::readWholeFile(scratch / "parts/part-1") == bytes) << encoding;
        EXPECT_LE(std::stoi(facts["longest"]), 998);
    }
}

}  // namespace
