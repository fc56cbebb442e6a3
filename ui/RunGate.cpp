#include "ui/RunStarter.h"

#include "ui/RunCallbacks.h"

RunGate::RunGate(platform::WindowHandle notify) : window(notify) {}

void RunGate::open() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (isOpenFlag) return;
        isOpenFlag = true;
    }
    opened.notify_all();
    platform::PostMessage(window, WM_RUN_THREAD_GONE, 0, 0);
}

bool RunGate::isOpen() const {
    std::lock_guard<std::mutex> lock(mutex);
    return isOpenFlag;
}

void RunGate::wait() {
    std::unique_lock<std::mutex> lock(mutex);
    opened.wait(lock, [this] { return isOpenFlag; });
}

RunStarter::~RunStarter() = default;
