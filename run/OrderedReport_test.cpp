#include "run/OrderedReport.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

// What reached the receiving callbacks, one line each.
struct Received {
    std::vector<std::string> lines;
    int answer = 1;
};

void status(const char* line1, const char* line2, void* context) {
    static_cast<Received*>(context)->lines.push_back(std::string("status ") +
                                                     (line1 ? line1 : "<null>") + "|" +
                                                     (line2 ? line2 : "<null>"));
}
void log(const char* text, void* context) {
    static_cast<Received*>(context)->lines.push_back(std::string("log ") + text);
}
int progress(int done, int total, void* context) {
    auto* received = static_cast<Received*>(context);
    received->lines.push_back("progress " + std::to_string(done) + "/" + std::to_string(total));
    return received->answer;
}

struct Pending {
    std::promise<std::string> promise;
    std::shared_future<std::string> future = promise.get_future().share();
};

TEST(OrderedReport, PassesReportsStraightOnWhileNothingIsPending) {
    Received received;
    OrderedReport report(status, log, progress, &received);
    OrderedReport::status("file a", nullptr, report.context());
    OrderedReport::log("warning", report.context());
    EXPECT_EQ(OrderedReport::progress(1, 4, report.context()), 1);
    EXPECT_EQ(received.lines,
              (std::vector<std::string>{"status file a|<null>", "log warning", "progress 1/4"}));
}

TEST(OrderedReport, HoldsLaterReportsBehindPendingWorkAndKeepsTheirOrder) {
    Received received;
    OrderedReport report(status, log, progress, &received);
    Pending first, second;
    report.holdFor(first.future, 8);
    OrderedReport::progress(1, 2, report.context());
    OrderedReport::status("file b", "", report.context());
    report.holdFor(second.future, 8);
    OrderedReport::log("warning in b", report.context());
    EXPECT_TRUE(received.lines.empty());

    // The second work ends first: nothing may overtake the first.
    second.promise.set_value("listing of b failed");
    OrderedReport::log("warning in c", report.context());
    EXPECT_TRUE(received.lines.empty());

    first.promise.set_value("");
    report.flush();
    EXPECT_EQ(received.lines,
              (std::vector<std::string>{"progress 1/2", "status file b|", "log listing of b failed",
                                        "log warning in b", "log warning in c"}));
}

// Whatever was held after the progress answered with a stop is dropped: a
// run on one thread would have stopped there.
TEST(OrderedReport, AStopRequestReachesTheRunOnceItsProgressIsPassedOn) {
    Received received;
    OrderedReport report(status, log, progress, &received);
    Pending work;
    report.holdFor(work.future, 8);
    received.answer = 0;  // the user pressed Cancel
    EXPECT_EQ(OrderedReport::progress(1, 3, report.context()), 1) << "held: the last answer";
    OrderedReport::status("file b", "", report.context());
    work.promise.set_value("");
    EXPECT_EQ(OrderedReport::progress(2, 3, report.context()), 0);
    EXPECT_TRUE(report.stopRequested());
    EXPECT_EQ(received.lines, (std::vector<std::string>{"progress 1/3"}))
        << "the run stops at the first answered stop";
}

TEST(OrderedReport, WaitsForTheOldestWorkWhenTooManyArePending) {
    Received received;
    OrderedReport report(status, log, progress, &received);
    Pending oldest, next;
    report.holdFor(oldest.future, 1);
    std::thread worker([&] { oldest.promise.set_value("work 0"); });
    // Two pending with room for one: this returns only once the oldest has
    // ended and was passed on.
    report.holdFor(next.future, 1);
    worker.join();
    EXPECT_EQ(received.lines, (std::vector<std::string>{"log work 0"}));
    next.promise.set_value("work 1");
    report.flush();
    EXPECT_EQ(received.lines, (std::vector<std::string>{"log work 0", "log work 1"}));
}

TEST(OrderedReport, AFailureOtherThanAnErrorTextEndsTheReportsAndIsThrownOnce) {
    Received received;
    OrderedReport report(status, log, progress, &received);
    OrderedReport::log("before", report.context());
    std::promise<std::string> broken;
    broken.set_exception(std::make_exception_ptr(std::bad_alloc()));
    report.holdFor(broken.get_future().share(), 8);
    // The callbacks are called from the parser: they never throw.
    EXPECT_NO_THROW(OrderedReport::log("after", report.context()));
    EXPECT_THROW(report.flush(), std::bad_alloc);
    EXPECT_NO_THROW(report.flush());
    EXPECT_EQ(received.lines, (std::vector<std::string>{"log before"}));
}

}  // namespace
