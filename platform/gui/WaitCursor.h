// The busy pointer shown while the dialog thread works and the interface
// does not answer (a network transfer, for instance).
#pragma once

#include <functional>

namespace gui {

// Shows the busy pointer from construction to destruction. Nested objects
// keep it until the outermost goes. Any thread (a run's worker shows it
// while the module works).
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// Whether a CWaitCursor is alive now.
bool waitCursorShown();

// Told true when the busy pointer is to appear and false when it is to go;
// a backend with real windows installs one. Returns the previous handler.
using WaitCursorHandler = std::function<void(bool busy)>;
WaitCursorHandler setWaitCursorHandler(WaitCursorHandler handler);

}  // namespace gui
