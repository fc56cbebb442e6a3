#include "platform/WindowMessages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

using platform::MessageWindow;
using platform::PostMessage;
using platform::WindowMessage;
using platform::WM_USER;

TEST(WindowMessages, DeliversInPostingOrderWithParameters) {
    MessageWindow window;
    EXPECT_TRUE(PostMessage(window.handle(), WM_USER + 4, 0, 0));
    EXPECT_TRUE(PostMessage(window.handle(), WM_USER + 3, 7, -42));
    WindowMessage m;
    ASSERT_TRUE(window.takeMessage(m));
    EXPECT_EQ(m.message, WM_USER + 4);
    ASSERT_TRUE(window.takeMessage(m));
    EXPECT_EQ(m.message, WM_USER + 3);
    EXPECT_EQ(m.wParam, 7u);
    EXPECT_EQ(m.lParam, -42);
    EXPECT_FALSE(window.takeMessage(m));
}

TEST(WindowMessages, PostingToNoWindowOrADestroyedOneDoesNothing) {
    EXPECT_FALSE(PostMessage(nullptr, WM_USER + 1, 0, 0));
    platform::WindowHandle stale;
    {
        MessageWindow window;
        stale = window.handle();
    }
    EXPECT_FALSE(PostMessage(stale, WM_USER + 1, 0, 0));
    // A later window never takes over a destroyed window's handle.
    MessageWindow later;
    EXPECT_NE(later.handle(), stale);
    EXPECT_FALSE(PostMessage(stale, WM_USER + 1, 0, 0));
    EXPECT_EQ(later.pendingCount(), 0u);
}

TEST(WindowMessages, PostsFromManyThreadsAllArriveInEachThreadsOrder) {
    MessageWindow window;
    platform::WindowHandle target = platform::fromContext(platform::toContext(window.handle()));
    std::atomic<int> wakeUps{0};
    window.setWakeUp([&] { ++wakeUps; });
    constexpr int threads = 4, perThread = 500;
    std::vector<std::thread> posters;
    for (int t = 0; t < threads; ++t)
        posters.emplace_back([&, t] {
            for (int i = 0; i < perThread; ++i)
                PostMessage(target, WM_USER + 1, static_cast<std::uintptr_t>(t), i);
        });
    std::vector<std::intptr_t> last(threads, -1);
    int received = 0;
    while (received < threads * perThread) {
        WindowMessage m;
        window.waitMessage(m);
        ASSERT_EQ(m.lParam, last[m.wParam] + 1);
        last[m.wParam] = m.lParam;
        ++received;
    }
    for (auto& p : posters) p.join();
    EXPECT_EQ(wakeUps.load(), threads * perThread);
}

TEST(WindowMessages, DispatchHandlesOnlyWhatWasQueuedAndKeepsTheRestOnError) {
    MessageWindow window;
    for (unsigned i = 1; i <= 3; ++i) PostMessage(window.handle(), WM_USER + i, 0, 0);
    std::vector<unsigned> seen;
    EXPECT_EQ(window.dispatchPending([&](const WindowMessage& m) {
        seen.push_back(m.message);
        PostMessage(window.handle(), WM_USER + 9, 0, 0);  // waits for the next round
    }), 3u);
    EXPECT_EQ(seen, (std::vector<unsigned>{WM_USER + 1, WM_USER + 2, WM_USER + 3}));
    EXPECT_EQ(window.pendingCount(), 3u);

    MessageWindow failing;
    for (unsigned i = 1; i <= 3; ++i) PostMessage(failing.handle(), WM_USER + i, 0, 0);
    EXPECT_THROW(failing.dispatchPending([](const WindowMessage& m) {
        if (m.message == WM_USER + 1) throw std::runtime_error("handler failed");
    }), std::runtime_error);
    WindowMessage m;
    ASSERT_TRUE(failing.takeMessage(m));
    EXPECT_EQ(m.message, WM_USER + 2);
}

// A loop's round sleeps through reports but ends for any other message,
// posted before the wait or during it; a report is still queued afterwards.
TEST(WindowMessages, ARoundEndsForAMessageToDeliverNowNotForAReport) {
    using Clock = std::chrono::steady_clock;
    using platform::Delivery;
    MessageWindow window;

    const Clock::time_point start = Clock::now();
    ASSERT_TRUE(PostMessage(window.handle(), WM_USER + 1, 0, 0, Delivery::NextRound));
    window.waitRound(start + std::chrono::milliseconds(50));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(50)) << "a report ended the round";
    EXPECT_EQ(window.pendingCount(), 1u);

    // Never the hour: the message posted meanwhile ends the wait.
    std::thread poster([&window] {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        PostMessage(window.handle(), WM_USER + 2, 0, 0, Delivery::NextRound);
        PostMessage(window.handle(), WM_USER + 4, 0, 0);
    });
    window.waitRound(Clock::now() + std::chrono::hours(1));
    poster.join();
    window.waitRound(Clock::now() + std::chrono::hours(1));  // one already queued: at once
    WindowMessage m;
    std::vector<unsigned> order;
    while (window.takeMessage(m)) order.push_back(m.message);
    EXPECT_EQ(order, (std::vector<unsigned>{WM_USER + 1, WM_USER + 2, WM_USER + 4}));
}
