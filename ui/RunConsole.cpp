#include "ui/RunConsole.h"

#include <ostream>
#include <string_view>

#include "platform/TerminalText.h"

namespace {

const char* const sendingText = "Sending output to documentation module...";

bool isBlank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

bool isFinalText(std::string_view text) {
    return text == "Done." || text == "Done (error)." || text == "Cancelled.";
}

}  // namespace

RunConsole::RunConsole(Mode consoleMode, std::ostream& stream, int columns, Clock now)
    : mode(consoleMode), out(stream), width(columns < 20 ? 20 : columns), clock(std::move(now)) {}

void RunConsole::status(const char* line1, const char* line2) {
    std::lock_guard<std::mutex> lock(mutex);
    std::string_view second = line2 != nullptr ? std::string_view(line2) : std::string_view();
    bool phase = line1 != nullptr && line1[0] == '\0' && !isBlank(second);
    if (phase) {
        if (second == sendingText) outputPhase = true;
        if (isFinalText(second)) finalText = second;
        if (second == "Done.") percent = 100;
    }
    if (line1 != nullptr) line1Text.assign(line1);
    if (!second.empty()) line2Text.assign(second);
    if (mode == Mode::Phases && phase) {
        out << "vantry: " << terminalText(second) << std::endl;
    } else if (mode == Mode::Live) {
        drawLive(phase);
    }
}

void RunConsole::progress(int value) {
    std::lock_guard<std::mutex> lock(mutex);
    if (!finalText.empty()) return;
    percent = value;
    if (mode == Mode::Live) drawLive(false);
}

void RunConsole::logged() {
    std::lock_guard<std::mutex> lock(mutex);
    if (outputPhase) moduleErrors = true;
}

void RunConsole::runStarted() {
    std::lock_guard<std::mutex> lock(mutex);
    state = State::Running;
    finalText.clear();
    outputPhase = false;
    moduleErrors = false;
    percent = 0;
}

void RunConsole::runRefused() {
    std::lock_guard<std::mutex> lock(mutex);
    state = State::Refused;
}

void RunConsole::runStopped() {
    std::lock_guard<std::mutex> lock(mutex);
    if (state == State::Running) state = State::Stopped;
    if (liveLineOpen) {
        if (stale) drawLive(true);
        out << "\n";
        if (!finalText.empty()) out << "vantry: " << finalText << "\n";
        out << std::flush;
        liveLineOpen = false;
    }
}

void RunConsole::endLine() {
    std::lock_guard<std::mutex> lock(mutex);
    if (liveLineOpen && stale) drawLive(true);
    if (liveLineOpen) out << "\n" << std::flush;
    liveLineOpen = false;
}

int RunConsole::exitStatus(int ifNoRun) const {
    std::lock_guard<std::mutex> lock(mutex);
    switch (state) {
        case State::NoRun: return ifNoRun;
        case State::Refused: return ExitError;
        case State::Running:
        case State::Stopped: break;
    }
    if (finalText == "Cancelled.") return ExitCancelled;
    if (finalText == "Done.") return moduleErrors ? ExitError : ExitDone;
    return ExitError;
}

bool RunConsole::endedDone() const {
    std::lock_guard<std::mutex> lock(mutex);
    return (state == State::Running || state == State::Stopped) && finalText == "Done.";
}

void RunConsole::drawLive(bool now) {
    // A terminal is slow to draw on: a line per file would be megabytes.
    const auto time = clock();
    if (!now && liveLineOpen && time - lastDraw < redrawInterval) {
        stale = true;
        return;
    }
    lastDraw = time;
    stale = false;
    // The status lines name files: what they hold is shown, never obeyed.
    std::string text = std::to_string(percent) + "% " + terminalText(line1Text);
    if (!isBlank(line2Text)) text += (isBlank(line1Text) ? "" : "  ") + terminalText(line2Text);
    std::size_t limit = static_cast<std::size_t>(width - 1);
    if (text.size() > limit) text = text.substr(0, limit - 3) + "...";
    // Carriage return and erase-to-end-of-line redraw the line in place.
    out << "\r" << text << "\x1b[K" << std::flush;
    liveLineOpen = true;
}
