#include "run/SourcePrefetch.h"

#include <algorithm>
#include <chrono>

#include "VelkLib/VelkThreadPool.h"

SourcePrefetch::SourcePrefetch(VelkThreadPool& pool_, FileList files_, Prepare prepare_,
                               std::size_t ahead_)
    : pool(pool_),
      files(std::move(files_)),
      prepare(std::move(prepare_)),
      ahead(std::max<std::size_t>(ahead_, 1)),
      results(files.size()),
      started(files.size()) {
    for (std::size_t i = 0; i < files.size(); ++i) positions[files[i]].push_back(i);
    startUpTo(ahead);
}

SourcePrefetch::~SourcePrefetch() {
    for (std::size_t i = 0; i < queued; ++i)
        if (started[i].valid()) started[i].wait();
}

void SourcePrefetch::startUpTo(std::size_t end) {
    end = std::min(end, files.size());
    for (; queued < end; ++queued) {
        const std::size_t i = queued;
        started[i] = pool.submit(
            [this, i](unsigned) { results[i] = prepare(files[i].first, files[i].second); },
            VelkThreadPool::Start::InTurn);
    }
}

bool SourcePrefetch::take(const std::string& path, const std::string& project,
                          PreparedFile& file, const std::function<bool()>& whileWaiting) {
    auto found = positions.find({path, project});
    if (found == positions.end()) return false;
    auto at = std::lower_bound(found->second.begin(), found->second.end(), next);
    if (at == found->second.end()) return false;
    const std::size_t i = *at;
    next = i + 1;
    startUpTo(next + ahead);
    if (whileWaiting)
        while (started[i].wait_for(std::chrono::seconds(0)) != std::future_status::ready &&
               whileWaiting()) {
        }
    started[i].get();  // prepare keeps its errors in the result
    file = std::move(results[i]);
    return true;
}
