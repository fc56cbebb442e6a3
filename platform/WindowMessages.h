// Window handles and posted private messages.
//
// A worker thread never touches a window object: it posts small messages
// (a number and two integers) that the window's own thread takes from a
// first-in first-out queue and handles. This file is the toolkit-neutral
// part of that: the handle, the queue and PostMessage. A front end pumps the
// queue from its event loop; a toolkit may install a wake-up hook so that a
// post from another thread rouses its loop.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

namespace platform {

// Opaque identity of a message window. Handles are never reused within a
// process, so a handle that outlives its window names nothing at all.
struct WindowObject;
using WindowHandle = WindowObject*;

// The first private message number; the run uses WM_USER+1 to WM_USER+6.
constexpr unsigned WM_USER = 0x0400;

struct WindowMessage {
    unsigned message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// How soon a front end must see a posted message. A report that a later
// one replaces (a status line, a progress figure) may wait for a loop's
// next round; anything else ends the round.
enum class Delivery { Now, NextRound };

// Posts a message to the window's queue; callable from any thread. Returns
// true when the message was queued, false when the handle names no live
// window (null, destroyed, never created): posting there does nothing.
bool PostMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                 std::intptr_t lParam, Delivery delivery = Delivery::Now);

// The conversions between a handle and the void* context that crosses the
// module boundary in callbacks.
inline void* toContext(WindowHandle window) { return window; }
inline WindowHandle fromContext(void* context) { return static_cast<WindowHandle>(context); }

// One window's queue. Creating it registers a new handle; destroying it
// unregisters the handle first, so posts racing with the destruction are
// either queued before it or dropped, never delivered to freed memory.
class MessageWindow {
public:
    MessageWindow();
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    WindowHandle handle() const { return windowHandle; }

    // Called (on the posting thread, outside the queue's lock) after every
    // message that reaches this window, so that a toolkit loop can wake up.
    // Set it before other threads start posting.
    void setWakeUp(std::function<void()> wakeUp);

    // Takes the oldest message without waiting. Returns false when none is
    // queued.
    bool takeMessage(WindowMessage& out);

    // Waits until a message is queued and takes it.
    void waitMessage(WindowMessage& out);

    // Waits until `deadline`, or until a message posted with Delivery::Now
    // is queued (one queued already ends the wait at once). Takes nothing.
    void waitRound(std::chrono::steady_clock::time_point deadline);

    // Hands every message queued at the moment of the call, oldest first,
    // to the handler on the calling thread; messages that the handler's work
    // posts wait for the next call. Returns the number handled. When the
    // handler throws, the messages after the failing one stay queued and
    // the exception passes on.
    std::size_t dispatchPending(const std::function<void(const WindowMessage&)>& handler);

    // Number of messages waiting.
    std::size_t pendingCount() const;

private:
    friend bool PostMessage(WindowHandle, unsigned, std::uintptr_t, std::intptr_t, Delivery);
    struct Queued {
        WindowMessage message;
        Delivery delivery;
    };
    void enqueue(const Queued& entry);

    WindowHandle windowHandle;
    mutable std::mutex queueMutex;
    std::condition_variable queueChanged;
    // Told only of messages for delivery now: a round's wait sleeps through
    // the reports.
    std::condition_variable urgentQueued;
    std::deque<Queued> queue;
    std::function<void()> wakeUp;
};

}  // namespace platform
