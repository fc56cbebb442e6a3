#include "VelkLib/VelkSuperThread.h"

#include "VelkLib/VelkError.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Collects what threads report: error boxes and destroyed objects.
struct Journal {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> events;

    void add(const std::string& event) {
        std::lock_guard<std::mutex> lock(mutex);
        events.push_back(event);
        changed.notify_all();
    }
    // Waits until count events have arrived and returns them.
    std::vector<std::string> awaitEvents(size_t count) {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return events.size() >= count; });
        return events;
    }
};

class Worker : public VelkSuperThread {
public:
    enum class Ending { Normal, VelkFileFailure, StdFailure, OtherFailure };
    Worker(Journal& journal, Ending ending) : journal(journal), ending(ending) {}
    ~Worker() override { journal.add("deleted"); }

    void run() override {
        // Finish at once, so the thread is likely done before start returns.
        if (threadId == 0) journal.add("no thread id");
        switch (ending) {
        case Ending::Normal: return;
        case Ending::VelkFileFailure: throw VelkFileError("Couldn't find the file", "a.h");
        case Ending::StdFailure: throw std::runtime_error("bad thing");
        case Ending::OtherFailure: throw 42;
        }
    }

private:
    Journal& journal;
    Ending ending;
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
    // Many quick threads: none may be touched by start after launch (the
    // sanitizer would catch a use after the thread deleted it).
    for (int i = 0; i < 50; ++i) (new Worker(journal, Worker::Ending::Normal))->start();
    auto events = journal.awaitEvents(50);
    EXPECT_EQ(std::count(events.begin(), events.end(), "deleted"), 50);
}

TEST_F(VelkSuperThreadTest, EscapingErrorsAreReportedNotFatal) {
    (new Worker(journal, Worker::Ending::VelkFileFailure))->start();
    EXPECT_EQ(journal.awaitEvents(2),
              (std::vector<std::string>{"deleted",
                                        "Unexpected Error: An unexpected error occurred.  The "
                                        "error was: Couldn't find the file (file = 'a.h')"}));
    (new Worker(journal, Worker::Ending::StdFailure))->start();
    EXPECT_EQ(journal.awaitEvents(4)[3],
              "Unexpected Error: An unexpected error occurred.  The error was: bad thing");
    (new Worker(journal, Worker::Ending::OtherFailure))->start();
    EXPECT_EQ(journal.awaitEvents(6)[5],
              "Unexpected Error: An unexpected error occurred.  The error was: an unknown "
              "exception");
}

}  // namespace
