#include "run/OrderedReport.h"

#include <chrono>

OrderedReport::OrderedReport(ModuleStatusFn status_, ModuleErrorFn log_,
                             ModuleProgressFn progress_, void* context_)
    : statusFn(status_), logFn(log_), progressFn(progress_), callbackContext(context_) {}

OrderedReport::~OrderedReport() {
    try {
        flush();
    } catch (...) {
        // Only reached when the run already ends with an error of its own.
    }
}

void OrderedReport::status(const char* line1, const char* line2, void* context) {
    auto& self = *static_cast<OrderedReport*>(context);
    self.passOn(false);
    if (self.stopped || self.failure) return;
    if (self.held.empty()) {
        if (self.statusFn) self.statusFn(line1, line2, self.callbackContext);
        return;
    }
    Item item{Item::Status, {}, {}, {}, 0, 0, {}};
    if (line1) item.line1 = line1;
    if (line2) item.line2 = line2;
    self.held.push_back(std::move(item));
}

void OrderedReport::log(const char* text, void* context) {
    auto& self = *static_cast<OrderedReport*>(context);
    self.passOn(false);
    if (self.stopped || self.failure) return;
    if (self.held.empty()) {
        if (self.logFn) self.logFn(text, self.callbackContext);
        return;
    }
    self.held.push_back(Item{Item::Log, {}, {}, text ? text : "", 0, 0, {}});
}

int OrderedReport::progress(int done, int total, void* context) {
    auto& self = *static_cast<OrderedReport*>(context);
    self.passOn(false);
    if (self.stopped) return 0;
    if (self.failure) return self.lastAnswer;
    if (self.held.empty()) {
        Item item{Item::Progress, {}, {}, {}, done, total, {}};
        self.deliver(item);
        return self.stopped ? 0 : self.lastAnswer;
    }
    self.held.push_back(Item{Item::Progress, {}, {}, {}, done, total, {}});
    return self.lastAnswer;
}

void OrderedReport::holdFor(std::shared_future<std::string> pending, std::size_t limit) {
    passOn(false);
    held.push_back(Item{Item::Pending, {}, {}, {}, 0, 0, std::move(pending)});
    ++pendingCount;
    while (pendingCount > limit) passOn(true, true);
    throwFailure();
}

void OrderedReport::flush() {
    passOn(true);
    throwFailure();
}

void OrderedReport::throwFailure() {
    if (!failure) return;
    std::exception_ptr thrown = failure;
    failure = nullptr;
    failed = true;
    std::rethrow_exception(thrown);
}

void OrderedReport::passOn(bool wait, bool oldestOnly) {
    while (!held.empty()) {
        Item& front = held.front();
        const bool pending = front.kind == Item::Pending;
        if (pending && !wait &&
            front.pending.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            return;
        Item item = std::move(front);
        held.pop_front();
        if (pending) --pendingCount;
        // After a stop or a failure the run would have reported nothing
        // more; the works still end before they are forgotten.
        if (stopped || failure || failed) {
            if (pending) item.pending.wait();
        } else {
            deliver(item);
        }
        if (pending && oldestOnly) return;
    }
}

void OrderedReport::deliver(Item& item) {
    switch (item.kind) {
    case Item::Status:
        if (statusFn)
            statusFn(item.line1 ? item.line1->c_str() : nullptr,
                     item.line2 ? item.line2->c_str() : nullptr, callbackContext);
        break;
    case Item::Log:
        if (logFn) logFn(item.text.c_str(), callbackContext);
        break;
    case Item::Progress:
        if (progressFn) lastAnswer = progressFn(item.done, item.total, callbackContext);
        if (lastAnswer == 0) stopped = true;
        break;
    case Item::Pending: {
        std::string text;
        try {
            text = item.pending.get();
        } catch (...) {
            failure = std::current_exception();
            return;
        }
        if (!text.empty() && logFn) logFn(text.c_str(), callbackContext);
        break;
    }
    }
}
