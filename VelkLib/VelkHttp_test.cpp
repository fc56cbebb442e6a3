#include "VelkLib/VelkHttp.h"

#include "VelkLib/VelkError.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A small HTTP server on 127.0.0.1, on a port the kernel picks, answering
// from a table of canned responses, one connection at a time.
class TestServer {
public:
    explicit TestServer(std::map<std::string, std::string> routes) : routes_(std::move(routes)) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(listener_, 8) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            ADD_FAILURE() << "test server could not listen";
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~TestServer() {
        shutdown(listener_, SHUT_RDWR);  // wakes the blocked accept
        thread_.join();
        close(listener_);
    }

    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    std::string lastRequest() {
        std::lock_guard<std::mutex> lock(mutex_);
        return lastRequest_;
    }

private:
    void serve() {
        for (;;) {
            int connection = accept(listener_, nullptr, nullptr);
            if (connection < 0) return;
            std::string request;
            char buffer[4096];
            while (request.find("\r\n\r\n") == std::string::npos) {
                ssize_t count = recv(connection, buffer, sizeof buffer, 0);
                if (count <= 0) break;
                request.append(buffer, static_cast<size_t>(count));
            }
            {
                std::lock_guard<std::mutex> lock(mutex_);
                lastRequest_ = request;
            }
            const size_t start = request.find(' ') + 1;
            const std::string path = request.substr(start, request.find(' ', start) - start);
            auto route = routes_.find(path);
            const std::string response = route != routes_.end()
                                             ? route->second
                                             : "HTTP/1.1 500 No Route\r\nContent-Length: 0\r\n\r\n";
            send(connection, response.data(), response.size(), MSG_NOSIGNAL);
            shutdown(connection, SHUT_WR);
            while (recv(connection, buffer, sizeof buffer, 0) > 0) {
            }
            close(connection);
        }
    }

    std::map<std::string, std::string> routes_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::string lastRequest_;
};

std::string answer(const std::string& status, const std::string& body,
                   const std::string& extraHeaders = "") {
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n" + extraHeaders + "\r\n" + body;
}

class VelkHttpTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A proxy from the environment must not stand between us and loopback.
        setenv("no_proxy", "127.0.0.1,localhost", 1);
        setenv("NO_PROXY", "127.0.0.1,localhost", 1);
    }
};

std::string bigBody() {
    std::string body;
    for (int i = 0; body.size() < 5000; ++i) body += std::to_string(i) + " ";
    body[2100] = '\0';  // a NUL byte must not cut the text short
    return body;
}

TEST_F(VelkHttpTest, ReadsBodiesAndFollowsRedirects) {
    const std::string big = bigBody();
    TestServer server({
        {"/ok", answer("200 OK", "1.2.3.4\nhttp://example.invalid/\n")},
        {"/empty", answer("200 OK", "")},
        {"/big", answer("200 OK", big)},
        {"/moved", answer("302 Found", "", "Location: /ok\r\n")},
        {"/notmodified", answer("301 Moved", "kept")},  // no Location: accepted as is
    });
    EXPECT_EQ(VelkHttp("Vantry", server.url("/ok"), false).readAll(),
              "1.2.3.4\nhttp://example.invalid/\n");
    EXPECT_NE(server.lastRequest().find("User-Agent: Vantry\r\n"), std::string::npos);
    EXPECT_NE(server.lastRequest().find("Cache-Control: no-cache"), std::string::npos);
    VelkHttp("Vantry", server.url("/ok"), true).readAll();
    EXPECT_EQ(server.lastRequest().find("Cache-Control"), std::string::npos);

    EXPECT_EQ(VelkHttp("Vantry", server.url("/empty"), false).readAll(), "");
    EXPECT_EQ(VelkHttp("Vantry", server.url("/big"), false).readAll(), big);
    EXPECT_EQ(VelkHttp("Vantry", server.url("/moved"), false).readAll(),
              "1.2.3.4\nhttp://example.invalid/\n");
    EXPECT_EQ(VelkHttp("Vantry", server.url("/notmodified"), false).readAll(), "kept");
}

TEST_F(VelkHttpTest, ErrorStatusesAndEndlessRedirectsFail) {
    TestServer server({
        {"/missing", answer("404 Not Found", "gone")},
        {"/loop", answer("302 Found", "", "Location: /loop\r\n")},
        {"/garbage", "this is no HTTP answer\r\n\r\n"},
    });
    try {
        VelkHttp http("Vantry", server.url("/missing"), false);
        FAIL() << "a 404 was taken as success";
    } catch (const VelkError& error) {
        EXPECT_EQ(error.getMessage(), "Could not get URL " + server.url("/missing"));
        EXPECT_EQ(error.detail, "status was 404");
    }
    try {
        VelkHttp http("Vantry", server.url("/loop"), false);
        FAIL() << "an endless redirect was taken as success";
    } catch (const VelkError& error) {
        EXPECT_EQ(error.message.rfind("Could not open URL " + server.url("/loop"), 0), 0u)
            << error.message;
    }
    EXPECT_THROW(VelkHttp("Vantry", server.url("/garbage"), false), VelkError);
}

TEST_F(VelkHttpTest, OversizedBodyIsAReadError) {
    TestServer server({{"/huge", answer("200 OK", std::string(VelkHttp::maxBodySize + 1, 'x'))}});
    VelkHttp http("Vantry", server.url("/huge"), false);
    try {
        http.readAll();
        FAIL() << "an oversized body was returned";
    } catch (const VelkError& error) {
        EXPECT_EQ(error.message, "Error while reading from HTTP request.");
    }
}

TEST_F(VelkHttpTest, RefusedConnectionCannotOpen) {
    // A port that was just free and has nobody listening.
    int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length), 0);
    close(probe);
    const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/";
    try {
        VelkHttp http("Vantry", url, false);
        FAIL() << "a refused connection was taken as success";
    } catch (const VelkError& error) {
        EXPECT_EQ(error.message.rfind("Could not open URL " + url + " (", 0), 0u) << error.message;
        EXPECT_FALSE(error.detail.empty());
    }
    EXPECT_THROW(VelkHttp("Vantry", "ftp://127.0.0.1/x", false), VelkError);
}

TEST_F(VelkHttpTest, FileAddressesReadLocalFiles) {
    EXPECT_EQ(VelkHttp::fileUrlToPath("file:///tmp/a%20b/v.txt?x=1"), "/tmp/a b/v.txt");
    EXPECT_EQ(VelkHttp::fileUrlToPath("file:///x%2fy%zz%4"), "/x/y%zz%4");

    fs::path dir = fs::temp_directory_path() / ("vantry-http-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string content = std::string("line one\r\nline\0two\n", 19) + std::string(3000, 'z');
    std::ofstream(dir / "version file.txt", std::ios::binary) << content;
    const std::string base = "file://" + dir.string();
    EXPECT_EQ(VelkHttp("Vantry", base + "/version%20file.txt?t=1", false).readAll(), content);

    for (const std::string& bad : {base + "/missing.txt", base}) {
        try {
            VelkHttp http("Vantry", bad, false);
            ADD_FAILURE() << "opened " << bad;
        } catch (const VelkError& error) {
            EXPECT_EQ(error.message, "Could not open " + bad);
            EXPECT_EQ(error.detail, "could not read file " + VelkHttp::fileUrlToPath(bad));
        }
    }
    fs::remove_all(dir);
}

}  // namespace
