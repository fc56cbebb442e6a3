// Source files prepared ahead of the parser.
//
// The parser fills one model and so takes the files one after another, in
// walk order; reading and preprocessing a file needs nothing of the model
// (and parsing often needs nothing of the files before it: AheadParse), so
// workers do it for the next files meanwhile. The files are known before
// the walk (a walk of the same list without callbacks); the walk then
// takes each file's result in turn.
#pragma once

#include <cstddef>
#include <functional>
#include <future>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "run/AheadParse.h"

class VelkThreadPool;

class SourcePrefetch {
public:
    // (path, project) in the order the walk will take them.
    using FileList = std::vector<std::pair<std::string, std::string>>;
    using Prepare =
        std::function<PreparedFile(const std::string& path, const std::string& project)>;

    // Keeps up to `ahead` files prepared or being prepared on the pool.
    // pool and prepare must outlive this.
    SourcePrefetch(VelkThreadPool& pool, FileList files, Prepare prepare, std::size_t ahead);
    // Waits for the work still running.
    ~SourcePrefetch();
    SourcePrefetch(const SourcePrefetch&) = delete;
    SourcePrefetch& operator=(const SourcePrefetch&) = delete;

    // Moves the prepared file into `file` and returns true when the file
    // is one of the list at or after the last one taken (files in between
    // are dropped). False for a file the list does not hold after it (the
    // tree changed since the list was made): the caller prepares it. While
    // the file is not ready, whileWaiting (when given) is called again and
    // again until it answers false, that it has nothing left to do.
    bool take(const std::string& path, const std::string& project, PreparedFile& file,
              const std::function<bool()>& whileWaiting = {});

private:
    void startUpTo(std::size_t end);

    VelkThreadPool& pool;
    FileList files;
    Prepare prepare;
    std::size_t ahead;
    std::map<std::pair<std::string, std::string>, std::vector<std::size_t>> positions;
    std::vector<PreparedFile> results;
    std::vector<std::future<void>> started;
    std::size_t next = 0;     // the first file not taken
    std::size_t queued = 0;   // files handed to the pool so far
};
