// The desktop shell's "open": shows a file or an address in the user's
// preferred application.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace platform {

class Shell {
public:
    virtual ~Shell();

    // Opens target (a path or an address) in the user's application for
    // it. Returns false with *errorText (when not null) saying why when it
    // could not be opened; true when it was, or when the opener is still
    // busy after a short while (it may stay until the application ends).
    virtual bool open(const std::string& target, std::string* errorText) = 0;
};

// The real shell: runs "xdg-open <target>" found on PATH, started directly
// with an argument vector (never through a command interpreter, so no text
// in target is ever interpreted), standard input from /dev/null. It waits
// for the opener's verdict at most waitLimit: an opener that ends with a
// status other than 0, or by a signal, failed; one still running then is
// taken as success and reaped in the background, so the caller is never
// held longer.
class SystemShell : public Shell {
public:
    explicit SystemShell(std::chrono::milliseconds waitLimit = std::chrono::seconds(3));
    bool open(const std::string& target, std::string* errorText) override;

private:
    std::chrono::milliseconds waitLimit;
};

// The test double: notes every target and answers as told.
class RecordingShell : public Shell {
public:
    bool open(const std::string& target, std::string* errorText) override;

    std::vector<std::string> opened;
    bool succeed = true;
};

// The shell in use: the system shell unless a test replaced it.
Shell& shell();

// Makes replacement the shell in use (null restores the system shell) and
// returns the one used before. The caller keeps ownership of replacement and
// keeps it alive while it is in use.
Shell* setShell(Shell* replacement);

}  // namespace platform
