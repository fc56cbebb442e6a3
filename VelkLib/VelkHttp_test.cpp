#include "VelkLib/VelkHttp.h"

#include "VelkLib/VelkError.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

// A socket on 127.0.0.1 at a port the kernel picks; returns the port.
int bindLoopback(int fd) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

// A small HTTP server answering each path from a table, one connection at a
// time, and remembering the last request.
class TestServer {
public:
    explicit TestServer(std::map<std::string, std::string> routes) : routes(std::move(routes)) {
        port = bindLoopback(listener);
        listen(listener, 8);
        thread = std::thread([this] {
            for (int connection; (connection = accept(listener, nullptr, nullptr)) >= 0;) {
                std::string request;
                char buffer[4096];
                for (ssize_t n; request.find("\r\n\r\n") == std::string::npos &&
                                (n = recv(connection, buffer, sizeof buffer, 0)) > 0;) {
                    request.append(buffer, static_cast<size_t>(n));
                }
                {
                    // Stored before answering: the client reads it right after.
                    std::lock_guard<std::mutex> lock(mutex);
                    lastRequest = request;
                }
                const size_t start = request.find(' ') + 1;
                const std::string& response =
                    this->routes[request.substr(start, request.find(' ', start) - start)];
                send(connection, response.data(), response.size(), MSG_NOSIGNAL);
                shutdown(connection, SHUT_WR);
                while (recv(connection, buffer, sizeof buffer, 0) > 0) {
                }
                close(connection);
            }
        });
    }
    ~TestServer() {
        shutdown(listener, SHUT_RDWR);  // wakes the blocked accept
        thread.join();
        close(listener);
    }
    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port) + path;
    }
    std::string request() {
        std::lock_guard<std::mutex> lock(mutex);
        return lastRequest;
    }

private:
    std::map<std::string, std::string> routes;
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    int port = 0;
    std::thread thread;
    std::mutex mutex;
    std::string lastRequest;
};

std::string answer(const std::string& status, const std::string& body,
                   const std::string& headers = "") {
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n" + headers + "\r\n" + body;
}

// The error a construction and full read raise, or "" when none.
std::string failure(const std::string& url, std::string* detail = nullptr) {
    try {
        VelkHttp("Vantry", url, false).readAll();
    } catch (const VelkError& error) {
        if (detail != nullptr) *detail = error.detail;
        return error.getMessage();
    }
    return "";
}

class VelkHttpTest : public ::testing::Test {
protected:
    // A proxy from the environment must not stand between us and loopback.
    void SetUp() override { setenv("no_proxy", "127.0.0.1", 1); }
};

TEST_F(VelkHttpTest, ReadsBodiesWholeAndFollowsRedirects) {
    std::string big;
    for (int i = 0; big.size() < 5000; ++i) big += std::to_string(i) + " ";
    big[2100] = '\0';  // a NUL byte must not cut the text short
    TestServer server({{"/ok", answer("200 OK", "1.2.3.4\nhttp://x.invalid/\n")},
                       {"/empty", answer("200 OK", "")},
                       {"/big", answer("200 OK", big)},
                       {"/moved", answer("302 Found", "", "Location: /ok\r\n")}});
    EXPECT_EQ(VelkHttp("Vantry", server.url("/ok"), false).readAll(), "1.2.3.4\nhttp://x.invalid/\n");
    EXPECT_NE(server.request().find("User-Agent: Vantry\r\n"), std::string::npos);
    EXPECT_NE(server.request().find("Cache-Control: no-cache"), std::string::npos);
    VelkHttp("Vantry", server.url("/ok"), true).readAll();
    EXPECT_EQ(server.request().find("Cache-Control"), std::string::npos);
    EXPECT_EQ(VelkHttp("Vantry", server.url("/empty"), false).readAll(), "");
    EXPECT_EQ(VelkHttp("Vantry", server.url("/big"), false).readAll(), big);
    EXPECT_EQ(VelkHttp("Vantry", server.url("/moved"), false).readAll(), "1.2.3.4\nhttp://x.invalid/\n");
}

TEST_F(VelkHttpTest, FailuresAreNeverTakenAsSuccess) {
    TestServer server({{"/missing", answer("404 Not Found", "gone")},
                       {"/loop", answer("302 Found", "", "Location: /loop\r\n")},
                       {"/garbage", "this is no HTTP answer\r\n\r\n"},
                       {"/huge", answer("200 OK", std::string(VelkHttp::maxBodySize + 1, 'x'))}});
    std::string detail;
    EXPECT_EQ(failure(server.url("/missing"), &detail), "Could not get URL " + server.url("/missing"));
    EXPECT_EQ(detail, "status was 404");
    EXPECT_EQ(failure(server.url("/loop")).rfind("Could not open URL " + server.url("/loop") + " (", 0), 0u);
    EXPECT_NE(failure(server.url("/garbage")), "");
    EXPECT_EQ(failure(server.url("/huge")), "Error while reading from HTTP request.");
    EXPECT_NE(failure("ftp://127.0.0.1/x"), "");

    // A port that was just free and has nobody listening.
    int probe = socket(AF_INET, SOCK_STREAM, 0);
    const std::string refused = "http://127.0.0.1:" + std::to_string(bindLoopback(probe)) + "/";
    close(probe);
    EXPECT_EQ(failure(refused, &detail).rfind("Could not open URL " + refused + " (", 0), 0u);
    EXPECT_FALSE(detail.empty());
}

TEST_F(VelkHttpTest, FileAddressesReadLocalFiles) {
    EXPECT_EQ(VelkHttp::fileUrlToPath("file:///tmp/a%20b/v.txt?x=1"), "/tmp/a b/v.txt");
    EXPECT_EQ(VelkHttp::fileUrlToPath("file:///x%2fy%zz%4"), "/x/y%zz%4");

    const std::filesystem::path dir = "/tmp/vantry-http-" + std::to_string(getpid());
    std::filesystem::create_directories(dir);
    const std::string content = std::string("one\r\nt\0wo\n", 11) + std::string(3000, 'z');
    std::ofstream(dir / "version file.txt", std::ios::binary) << content;
    const std::string base = "file://" + dir.string();
    EXPECT_EQ(VelkHttp("Vantry", base + "/version%20file.txt?t=1", false).readAll(), content);
    for (const std::string& bad : {base + "/missing.txt", base}) {  // a directory is no file
        std::string detail;
        EXPECT_EQ(failure(bad, &detail), "Could not open " + bad);
        EXPECT_EQ(detail, "could not read file " + VelkHttp::fileUrlToPath(bad));
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
