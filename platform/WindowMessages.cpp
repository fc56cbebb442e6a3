#include "platform/WindowMessages.h"

#include <map>

namespace platform {

namespace {

// Live windows by handle. The registry's lock is held while a post queues
// its message, so a window cannot be destroyed in the middle of a post.
struct Registry {
    std::mutex mutex;
    std::map<WindowHandle, MessageWindow*> windows;
    std::uintptr_t lastId = 0;
};

Registry& registry() {
    static Registry* instance = new Registry;  // outlives every static window
    return *instance;
}

}  // namespace

MessageWindow::MessageWindow() {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    // Counting identities instead of using addresses keeps a handle from
    // ever naming a later window that happens to reuse the memory.
    windowHandle = reinterpret_cast<WindowHandle>(++r.lastId);
    r.windows[windowHandle] = this;
}

MessageWindow::~MessageWindow() {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.windows.erase(windowHandle);
}

void MessageWindow::setWakeUp(std::function<void()> wakeUp_) {
    std::lock_guard<std::mutex> lock(registry().mutex);
    wakeUp = std::move(wakeUp_);
}

void MessageWindow::enqueue(const Queued& entry) {
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        queue.push_back(entry);
    }
    queueChanged.notify_all();
    if (entry.delivery == Delivery::Now) urgentQueued.notify_all();
}

bool MessageWindow::takeMessage(WindowMessage& out) {
    std::lock_guard<std::mutex> lock(queueMutex);
    if (queue.empty()) return false;
    out = queue.front().message;
    queue.pop_front();
    return true;
}

void MessageWindow::waitMessage(WindowMessage& out) {
    std::unique_lock<std::mutex> lock(queueMutex);
    queueChanged.wait(lock, [this] { return !queue.empty(); });
    out = queue.front().message;
    queue.pop_front();
}

void MessageWindow::waitRound(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock<std::mutex> lock(queueMutex);
    urgentQueued.wait_until(lock, deadline, [this] {
        for (const Queued& entry : queue)
            if (entry.delivery == Delivery::Now) return true;
        return false;
    });
}

std::size_t MessageWindow::dispatchPending(
    const std::function<void(const WindowMessage&)>& handler) {
    std::deque<Queued> batch;
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        batch.swap(queue);
    }
    std::size_t handled = 0;
    try {
        for (; handled < batch.size(); ++handled) handler(batch[handled].message);
    } catch (...) {
        // The messages after the failing one stay queued, in order, ahead
        // of anything posted meanwhile.
        std::lock_guard<std::mutex> lock(queueMutex);
        queue.insert(queue.begin(), batch.begin() + static_cast<std::ptrdiff_t>(handled) + 1,
                     batch.end());
        throw;
    }
    return handled;
}

std::size_t MessageWindow::pendingCount() const {
    std::lock_guard<std::mutex> lock(queueMutex);
    return queue.size();
}

bool PostMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                 std::intptr_t lParam, Delivery delivery) {
    std::function<void()> wakeUp;
    {
        Registry& r = registry();
        std::lock_guard<std::mutex> lock(r.mutex);
        auto found = r.windows.find(window);
        if (found == r.windows.end()) return false;
        found->second->enqueue({WindowMessage{message, wParam, lParam}, delivery});
        wakeUp = found->second->wakeUp;
    }
    if (wakeUp) wakeUp();
    return true;
}

}  // namespace platform
