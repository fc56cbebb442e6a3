// The desktop shell's "open": shows a file or an address in the user's
// preferred application.
#pragma once

#include <string>
#include <vector>

namespace platform {

class Shell {
public:
    virtual ~Shell();

    // Starts opening target (a path or an address) and returns without
    // waiting for the application. Returns true when the opener started;
    // false with *errorText (when not null) saying why otherwise.
    virtual bool open(const std::string& target, std::string* errorText) = 0;
};

// The real shell: runs "xdg-open <target>" found on PATH, started directly
// with an argument vector (never through a command interpreter, so no text
// in target is ever interpreted), standard input from /dev/null. The
// finished opener is reaped in the background.
class SystemShell : public Shell {
public:
    bool open(const std::string& target, std::string* errorText) override;
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
