#include "VelkLib/VelkHttp.h"

#include "VelkLib/VelkError.h"
#include "platform/Library.h"

#include <cerrno>
#include <cstring>
#include <curl/curl.h>
#include <algorithm>
#include <filesystem>

#include "platform/TerminalText.h"

namespace {

const char kFileScheme[] = "file:///";

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The body as it arrives, refusing more than the cap.
struct Receiver {
    std::string* body;
    size_t cap;
    bool overflowed = false;
};

size_t receive(char* data, size_t size, size_t count, void* context) {
    auto* receiver = static_cast<Receiver*>(context);
    const size_t length = size * count;
    if (length > receiver->cap - std::min(receiver->cap, receiver->body->size())) {
        receiver->overflowed = true;
        return 0;  // makes libcurl stop with a write error
    }
    receiver->body->append(data, length);
    return length;
}

// Non-zero stops the transfer.
int progress(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* cancel = static_cast<const std::atomic<bool>*>(context);
    return cancel != nullptr && cancel->load() ? 1 : 0;
}

// libcurl, loaded when the first request is made: most runs make none, and
// a program linked with it would load some thirty libraries at every start.
struct Curl {
    CURLcode (*globalInit)(long) = nullptr;
    CURL* (*easyInit)() = nullptr;
    CURLcode (*easySetopt)(CURL*, CURLoption, ...) = nullptr;
    CURLcode (*easyPerform)(CURL*) = nullptr;
    CURLcode (*easyGetinfo)(CURL*, CURLINFO, ...) = nullptr;
    const char* (*easyStrerror)(CURLcode) = nullptr;
    void (*easyCleanup)(CURL*) = nullptr;
    curl_slist* (*slistAppend)(curl_slist*, const char*) = nullptr;
    void (*slistFreeAll)(curl_slist*) = nullptr;
    std::string failure;  // why it is not there; "" once loaded
};

// True when the library has the function.
template <typename Function>
bool bind(platform::LibraryHandle library, const char* name, Function& function,
          std::string& failure) {
    function = reinterpret_cast<Function>(platform::librarySymbol(library, name, &failure));
    return function != nullptr;
}

// Loaded and set up once (its set-up is not safe on two threads at once);
// the library stays to the end of the process.
const Curl& curl() {
    static const Curl loaded = [] {
        Curl api;
        // Debian's two builds of the same library, under their two names.
        platform::LibraryHandle library = platform::openLibrary("libcurl.so.4", &api.failure);
        if (library == nullptr) library = platform::openLibrary("libcurl-gnutls.so.4", nullptr);
        if (library == nullptr) return api;
        bool all = bind(library, "curl_global_init", api.globalInit, api.failure);
        all &= bind(library, "curl_easy_init", api.easyInit, api.failure);
        all &= bind(library, "curl_easy_setopt", api.easySetopt, api.failure);
        all &= bind(library, "curl_easy_perform", api.easyPerform, api.failure);
        all &= bind(library, "curl_easy_getinfo", api.easyGetinfo, api.failure);
        all &= bind(library, "curl_easy_strerror", api.easyStrerror, api.failure);
        all &= bind(library, "curl_easy_cleanup", api.easyCleanup, api.failure);
        all &= bind(library, "curl_slist_append", api.slistAppend, api.failure);
        all &= bind(library, "curl_slist_free_all", api.slistFreeAll, api.failure);
        if (!all) return api;
        api.failure.clear();
        api.globalInit(CURL_GLOBAL_DEFAULT);
        return api;
    }();
    return loaded;
}

struct HeaderList {
    curl_slist* list = nullptr;
    ~HeaderList() { curl().slistFreeAll(list); }
    void add(const char* header) {
        if (curl_slist* grown = curl().slistAppend(list, header)) list = grown;
    }
};

}  // namespace

VelkHttp::VelkHttp(const std::string& agentName, const std::string& url, bool useCache)
    : VelkHttp(agentName, url, useCache, Limits()) {}

VelkHttp::VelkHttp(const std::string& agentName, const std::string& url_, bool useCache,
                   const Limits& limits)
    : url(url_) {
    if (url.compare(0, sizeof kFileScheme - 1, kFileScheme) == 0) {
        const std::string path = fileUrlToPath(url);
        std::error_code ignored;
        bool readable = path.find('\0') == std::string::npos &&
                        std::filesystem::is_regular_file(path, ignored);
        if (readable) {
            localFile = std::make_unique<std::ifstream>(path, std::ios::in | std::ios::binary);
            readable = localFile->is_open();
        }
        if (!readable) {
            localFile.reset();
            throw VelkError("Could not open " + terminalText(url), "could not read file " + path,
                            "VelkHttp.cpp", 117);
        }
        return;
    }
    if (isOffline(true)) {
        throw VelkError("Could not open an Internet connection, user is working off line.", -1,
                        "VelkHttp.cpp", 124);
    }
    fetch(agentName, useCache, limits);
}

void VelkHttp::fetch(const std::string& agentName, bool useCache, const Limits& limits) {
    const Curl& api = curl();
    if (!api.failure.empty()) {
        throw VelkError("Could not open an Internet connection.", "libcurl: " + api.failure,
                        "VelkHttp.cpp", 129);
    }
    CURL* handle = api.easyInit();
    if (handle == nullptr) {
        throw VelkError("Could not open an Internet connection.", ENOMEM, "VelkHttp.cpp", 129);
    }
    internetHandle = handle;

    HeaderList headers;
    if (!useCache) {
        headers.add("Cache-Control: no-cache");
        headers.add("Pragma: no-cache");
    }
    char errorBuffer[CURL_ERROR_SIZE] = "";
    Receiver receiver{&body, limits.maxBodySize};
    api.easySetopt(handle, CURLOPT_URL, url.c_str());
    api.easySetopt(handle, CURLOPT_USERAGENT, agentName.c_str());
    api.easySetopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    api.easySetopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    api.easySetopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    api.easySetopt(handle, CURLOPT_MAXREDIRS, maxRedirects);
    api.easySetopt(handle, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMilliseconds);
    api.easySetopt(handle, CURLOPT_TIMEOUT_MS, limits.totalTimeoutMilliseconds);
    if (limits.cancel != nullptr) {
        api.easySetopt(handle, CURLOPT_XFERINFOFUNCTION, progress);
        api.easySetopt(handle, CURLOPT_XFERINFODATA, limits.cancel);
        api.easySetopt(handle, CURLOPT_NOPROGRESS, 0L);
    }
    api.easySetopt(handle, CURLOPT_NOSIGNAL, 1L);  // time-outs without signals, safe in threads
    api.easySetopt(handle, CURLOPT_HTTPHEADER, headers.list);
    api.easySetopt(handle, CURLOPT_WRITEFUNCTION, receive);
    api.easySetopt(handle, CURLOPT_WRITEDATA, &receiver);
    api.easySetopt(handle, CURLOPT_ERRORBUFFER, errorBuffer);

    const CURLcode result = api.easyPerform(handle);
    long status = 0;
    const bool statusRead = api.easyGetinfo(handle, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK;
    closeHandles();

    const std::string reason = api.easyStrerror(result);
    const std::string detail = errorBuffer[0] != '\0' ? errorBuffer : reason;
    const bool redirecting = status >= 300 && status <= 399;
    if (result != CURLE_OK && (!statusRead || status == 0 || redirecting)) {
        // No final answer: the address could not be opened.
        throw VelkError("Could not open URL " + terminalText(url) + " (" + reason + ")", detail, "VelkHttp.cpp",
                        137);
    }
    if (!statusRead || status <= 0) {
        throw VelkError("Could not get URL " + terminalText(url), "status could not be read", "VelkHttp.cpp",
                        158);
    }
    if (status > 399) {
        throw VelkError("Could not get URL " + terminalText(url), "status was " + std::to_string(status),
                        "VelkHttp.cpp", 158);
    }
    if (receiver.overflowed) {
        readError = "the body is larger than " + std::to_string(limits.maxBodySize) + " bytes";
    } else if (result != CURLE_OK) {
        readError = detail;
    }
}

VelkHttp::~VelkHttp() {
    localFile.reset();
    closeHandles();
}

void VelkHttp::closeHandles() {
    if (internetHandle != nullptr) {
        curl().easyCleanup(static_cast<CURL*>(internetHandle));
        internetHandle = nullptr;
    }
}

std::string VelkHttp::readAll() {
    if (localFile) {
        std::string text;
        char block[2048];
        // A failed read ends the loop and is reported; it never spins.
        while (localFile->read(block, sizeof block) || localFile->gcount() > 0) {
            text.append(block, static_cast<size_t>(localFile->gcount()));
        }
        if (localFile->bad()) {
            throw VelkError("Error while reading from HTTP request.", "could not read " + url,
                            "VelkHttp.cpp", 207);
        }
        return text;
    }
    if (!readError.empty()) {
        throw VelkError("Error while reading from HTTP request.", readError, "VelkHttp.cpp", 207);
    }
    return std::move(body);
}

std::string VelkHttp::fileUrlToPath(const std::string& url) {
    std::string rest = url.size() >= 7 ? url.substr(7) : std::string();
    const size_t query = rest.find('?');
    if (query != std::string::npos) rest.erase(query);
    std::string path;
    path.reserve(rest.size());
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && hexValue(rest[i + 1]) >= 0 &&
            hexValue(rest[i + 2]) >= 0) {
            path.push_back(static_cast<char>(hexValue(rest[i + 1]) * 16 + hexValue(rest[i + 2])));
            i += 2;
        } else {
            path.push_back(rest[i]);
        }
    }
    return path;
}

bool VelkHttp::isOffline(bool) { return false; }
