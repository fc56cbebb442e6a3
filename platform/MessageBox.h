// Error boxes: how a text that must reach the user, with nobody to catch it,
// is shown. Without a display it goes to standard error; the window layer
// installs its own handler to show a real box.
#pragma once

#include <functional>
#include <string>

namespace platform {

// Shows text with caption; returns when the user has seen it.
using ErrorBoxHandler = std::function<void(const std::string& text, const std::string& caption)>;

// Shows an error box through the handler in use. Safe from any thread;
// never throws (a failing handler is ignored, the text then goes to
// standard error).
void showErrorBox(const std::string& text, const std::string& caption);

// Makes handler the one in use (an empty handler restores the default) and
// returns the previous one (empty when it was the default).
ErrorBoxHandler setErrorBoxHandler(ErrorBoxHandler handler);

// The default: writes "vantry: error: <text>" and a line feed to standard
// error in one write.
void writeErrorToStandardError(const std::string& text);

}  // namespace platform
