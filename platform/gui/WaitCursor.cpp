#include "platform/gui/WaitCursor.h"

#include <mutex>

namespace gui {

namespace {

// A run's worker shows the pointer too, so the count and the handler are
// guarded; the handler itself hands the change to the dialog thread.
std::mutex mutex;
int depth = 0;
WaitCursorHandler handler;

}  // namespace

CWaitCursor::CWaitCursor() {
    std::lock_guard<std::mutex> lock(mutex);
    if (depth++ == 0 && handler) handler(true);
}

CWaitCursor::~CWaitCursor() {
    std::lock_guard<std::mutex> lock(mutex);
    if (--depth == 0 && handler) handler(false);
}

bool waitCursorShown() {
    std::lock_guard<std::mutex> lock(mutex);
    return depth > 0;
}

WaitCursorHandler setWaitCursorHandler(WaitCursorHandler replacement) {
    std::lock_guard<std::mutex> lock(mutex);
    WaitCursorHandler previous = std::move(handler);
    handler = std::move(replacement);
    return previous;
}

}  // namespace gui
