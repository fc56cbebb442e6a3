// Reads the whole body of one address as text: "file:///" addresses from the
// local file system, others over HTTP or HTTPS.
//
// The address is fetched when the object is made and read once with
// readAll. Every failure is a VelkError.
#pragma once

#include <atomic>
#include <fstream>
#include <memory>
#include <string>

class VelkHttp {
public:
    // The largest body fetched over the network; a larger one is an error.
    static constexpr size_t maxBodySize = 1 << 20;
    static constexpr long connectTimeoutSeconds = 15;
    static constexpr long totalTimeoutSeconds = 60;
    static constexpr long maxRedirects = 5;

    // Opens url. With useCache false the request asks every cache on the way
    // to fetch anew. Redirects are followed, at most maxRedirects. Throws:
    // - "Could not open " + url, detail "could not read file " + path, for a
    //   "file:///" address that is not a readable regular file;
    // - "Could not open an Internet connection." when no session can be made;
    // - "Could not open URL " + url (with the transfer's reason in
    //   parentheses, its details as the detail) when no answer came: refused,
    //   unknown host, time-out, too many redirects, a scheme other than
    //   http and https;
    // - "Could not get URL " + url, detail "status was " + status, for an
    //   HTTP status above 399, or when no status could be read.
    VelkHttp(const std::string& agentName, const std::string& url, bool useCache);

    // Bounds of one transfer, for callers that need tighter ones.
    struct Limits {
        long connectTimeoutMilliseconds = connectTimeoutSeconds * 1000;
        long totalTimeoutMilliseconds = totalTimeoutSeconds * 1000;
        size_t maxBodySize = VelkHttp::maxBodySize;
        // When it turns true (from any thread) the transfer stops soon and
        // fails as one that got no answer.
        const std::atomic<bool>* cancel = nullptr;
    };
    VelkHttp(const std::string& agentName, const std::string& url, bool useCache,
             const Limits& limits);
    virtual ~VelkHttp();

    VelkHttp(const VelkHttp&) = delete;
    VelkHttp& operator=(const VelkHttp&) = delete;

    // The whole body, byte for byte. Throws "Error while reading from HTTP
    // request." when the body broke off, exceeded the body cap, or the local
    // file could not be read.
    std::string readAll();

    // The local path of a "file:///" address: what follows "file://" (so the
    // leading "/" stays), cut before the first '?', with each %XX decoded.
    static std::string fileUrlToPath(const std::string& url);

    // Whether the system is known to be off line. This system keeps no such
    // state: always false, and there is nothing to go on line with.
    static bool isOffline(bool tryToGoOnline);

private:
    void closeHandles();
    void fetch(const std::string& agentName, bool useCache, const Limits& limits);

    std::string url;
    // The libcurl session; null once the transfer is done, and for a local
    // file.
    void* internetHandle = nullptr;
    std::unique_ptr<std::ifstream> localFile;

    // A network transfer completes while the object is made; readAll hands
    // out its result.
    std::string body;
    std::string readError;
};
