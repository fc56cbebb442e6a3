#include "modules/common/CancelPoll.h"

#include <chrono>

void CancelPoll::install(ModuleProgressFn progressFn, void* contextValue) {
    progress = progressFn;
    context = contextValue;
    stopped = false;
    nextQuestion = 0;
}

bool CancelPoll::stopRequested() {
    if (stopped.load(std::memory_order_relaxed)) return true;
    if (progress == nullptr) return false;
    const std::int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now().time_since_epoch())
                                 .count();
    if (now < nextQuestion.load(std::memory_order_relaxed)) return false;
    std::unique_lock<std::mutex> hold(asking, std::try_to_lock);
    if (!hold.owns_lock()) return stopped.load();
    nextQuestion = now + kIntervalMs;
    if (progress(-1, 0, context) == 0) stopped = true;
    return stopped.load();
}
