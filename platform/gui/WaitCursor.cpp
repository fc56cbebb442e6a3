#include "platform/gui/WaitCursor.h"

namespace gui {

namespace {

int depth = 0;
WaitCursorHandler handler;

}  // namespace

CWaitCursor::CWaitCursor() {
    if (depth++ == 0 && handler) handler(true);
}

CWaitCursor::~CWaitCursor() {
    if (--depth == 0 && handler) handler(false);
}

bool waitCursorShown() { return depth > 0; }

WaitCursorHandler setWaitCursorHandler(WaitCursorHandler replacement) {
    WaitCursorHandler previous = std::move(handler);
    handler = std::move(replacement);
    return previous;
}

}  // namespace gui
