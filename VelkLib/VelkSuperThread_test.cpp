#include "VelkLib/VelkSuperThread.h"

#include "VelkLib/VelkError.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace {

// What the threads report, in order: error boxes and deleted objects.
struct Journal {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> events;

    void add(const std::string& event) {
        std::lock_guard<std::mutex> lock(mutex);
        events.push_back(event);
        changed.notify_all();
    }
    std::vector<std::string> awaitEvents(size_t count) {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return events.size() >= count; });
        return events;
    }
};

class Worker : public VelkSuperThread {
public:
    Worker(Journal& journal, int ending) : journal(journal), ending(ending) {}
    ~Worker() override { journal.add("deleted"); }

    // Ends at once, so the thread is likely done before start() returns.
    void run() override {
        if (ending == 1) throw VelkFileError("Couldn't find the file", "a.h");
        if (ending == 2) throw std::runtime_error("bad thing");
        if (ending == 3) throw 42;
    }

private:
    Journal& journal;
    int ending;
};

class VelkSuperThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setErrorBoxHandler([this](const std::string& text, const std::string& caption) {
            journal.add(caption + ": " + text);
        });
    }
    void TearDown() override { platform::setErrorBoxHandler({}); }
    Journal journal;
};

TEST_F(VelkSuperThreadTest, NormalEndDeletesTheObject) {
    // start() must not touch an object its thread may already have deleted;
    // the sanitizer catches it when it does.
    for (int i = 0; i < 50; ++i) (new Worker(journal, 0))->start();
    auto events = journal.awaitEvents(50);
    EXPECT_EQ(std::count(events.begin(), events.end(), "deleted"), 50);
}

TEST_F(VelkSuperThreadTest, EscapingErrorsAreReportedNotFatal) {
    const std::string prefix = "Unexpected Error: An unexpected error occurred.  The error was: ";
    (new Worker(journal, 1))->start();
    EXPECT_EQ(journal.awaitEvents(2),
              (std::vector<std::string>{"deleted",
                                        prefix + "Couldn't find the file (file = 'a.h')"}));
    (new Worker(journal, 2))->start();
    EXPECT_EQ(journal.awaitEvents(4)[3], prefix + "bad thing");
    (new Worker(journal, 3))->start();
    EXPECT_EQ(journal.awaitEvents(6)[5], prefix + "an unknown exception");
}

}  // namespace
