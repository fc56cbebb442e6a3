#include "platform/gui/HeadlessBackend.h"

#include <chrono>
#include <csignal>
#include <iostream>
#include <pthread.h>
#include <thread>
#include <unistd.h>

#include "platform/gui/Dialog.h"
#include "platform/TerminalText.h"

namespace gui {

namespace {

// Asks the dialog of that window to cancel (its IDCANCEL command).
bool cancelWindow(platform::WindowHandle window) {
    return window != nullptr &&
           platform::PostMessage(window, WM_COMMAND, commandParam(IDCANCEL, BN_CLICKED), 0);
}

void writeRaw(const char* text) {
    std::size_t length = 0;
    while (text[length] != '\0') ++length;
    ssize_t ignored = ::write(STDERR_FILENO, text, length);
    (void)ignored;
}

}  // namespace

HeadlessBackend::HeadlessBackend()
    : HeadlessBackend(std::cout, std::cerr, std::cin,
                      ::isatty(STDIN_FILENO) != 0 && ::isatty(STDERR_FILENO) != 0) {}

HeadlessBackend::HeadlessBackend(std::ostream& outStream, std::ostream& errStream,
                                 std::istream& inStream, bool isInteractive)
    : out(outStream), err(errStream), in(inStream), interactive(isInteractive) {}

Answer HeadlessBackend::messageBox(const std::string& message, const std::string& caption,
                                   Buttons buttons, Icon icon) {
    std::lock_guard<std::mutex> lock(mutex);
    // Messages name files and quote options: shown, never obeyed.
    const std::string text = terminalText(message, true);
    Answer answer = Answer::Ok;
    if (buttons == Buttons::YesNo) {
        if (!scripted.empty()) {
            answer = scripted.front();
            scripted.pop_front();
        } else if (interactive) {
            err << "vantry: " << text << " [y/N] " << std::flush;
            std::string reply;
            if (std::getline(in, reply) && !reply.empty() && (reply[0] == 'y' || reply[0] == 'Y'))
                answer = Answer::Yes;
            else
                answer = Answer::No;
        } else {
            answer = Answer::No;
            err << "vantry: " << text << " No (no terminal to ask on)" << std::endl;
        }
    } else if (icon == Icon::Error) {
        err << "vantry: error: " << text << std::endl;
    } else if (icon == Icon::Warning) {
        err << "vantry: warning: " << text << std::endl;
    } else if (icon == Icon::Information) {
        err << "vantry: " << text << std::endl;
    } else {
        out << text << std::endl;
    }
    shown.push_back(Shown{message, caption, buttons, icon, answer});
    return answer;
}

void HeadlessBackend::createWindow(CDialog& dialog) {
    platform::MessageWindow* window = dialog.window();
    if (window == nullptr) return;
    platform::WindowHandle none = nullptr;
    activeWindow->compare_exchange_strong(none, window->handle());
}

void HeadlessBackend::destroyWindow(CDialog& dialog) {
    platform::MessageWindow* window = dialog.window();
    if (window == nullptr) return;
    platform::WindowHandle own = window->handle();
    activeWindow->compare_exchange_strong(own, nullptr);
}

void HeadlessBackend::runModalLoop(CDialog& dialog) {
    platform::MessageWindow* window = dialog.window();
    if (window == nullptr) return;
    platform::WindowHandle previous = activeWindow->exchange(window->handle());
    // A run reports thousands of times a second. Waking for every report
    // would cost the run a system call and a thread switch each time, so
    // once the queue is empty the loop lets a round's interval pass since
    // the last message before it waits again: the reports that arrive
    // meanwhile are posted without waking anybody and served together. Any
    // other message (the run has stopped, the program may quit) ends the
    // round at once.
    using Clock = std::chrono::steady_clock;
    Clock::time_point lastMessage = Clock::now() - roundInterval;
    try {
        while (!dialog.IsEnded()) {
            if (window->pendingCount() == 0 && Clock::now() - lastMessage < roundInterval)
                window->waitRound(lastMessage + roundInterval);
            platform::WindowMessage message;
            window->waitMessage(message);
            lastMessage = Clock::now();
            dialog.Dispatch(message);
        }
    } catch (...) {
        activeWindow->store(previous);
        throw;
    }
    activeWindow->store(previous);
}

void HeadlessBackend::showReport(const std::string& title, const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex);
    if (!title.empty()) err << "vantry: " << terminalText(title) << std::endl;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        err << "vantry: warning: " << terminalText(line) << "\n";
        start = end + 1;
    }
    err << std::flush;
}

bool HeadlessBackend::interrupt() { return cancelWindow(activeWindow->load()); }

void HeadlessBackend::watchInterrupts() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    // A closed terminal ends the run as a request to stop does.
    sigaddset(&set, SIGHUP);
    if (pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0) return;
    std::thread([active = activeWindow, set] {
        int count = 0;
        for (;;) {
            int signal = 0;
            if (sigwait(&set, &signal) != 0) continue;
            if (++count == 1 && cancelWindow(active->load())) {
                writeRaw(signal == SIGTERM   ? "\nvantry: terminated: cancelling (a second signal stops at once)\n"
                         : signal == SIGHUP ? "\nvantry: hung up: cancelling (a second signal stops at once)\n"
                                            : "\nvantry: interrupted: cancelling (Ctrl-C again stops at once)\n");
                continue;
            }
            // Named by the signal that ends the program, whichever came first.
            writeRaw(signal == SIGTERM   ? "\nvantry: terminated: stopped at once\n"
                     : signal == SIGHUP ? "\nvantry: hung up: stopped at once\n"
                                        : "\nvantry: interrupted: stopped at once\n");
            ::_exit(3);
        }
    }).detach();
}

bool HeadlessBackend::chooseFiles(CDialog*, const FileChooser& request,
                                  std::vector<std::string>& chosen) {
    std::lock_guard<std::mutex> lock(mutex);
    requests.push_back(request);
    if (scriptedFiles.empty()) return false;
    std::vector<std::string> files = std::move(scriptedFiles.front());
    scriptedFiles.pop_front();
    if (files.empty()) return false;
    chosen = std::move(files);
    return true;
}

bool HeadlessBackend::chooseFolder(CDialog*, const std::string& title,
                                   const std::string& initialFolder, std::string& chosen) {
    std::lock_guard<std::mutex> lock(mutex);
    FileChooser request;
    request.filter = title;
    request.initialPath = initialFolder;
    requests.push_back(request);
    if (scriptedFolders.empty()) return false;
    std::string folder = std::move(scriptedFolders.front());
    scriptedFolders.pop_front();
    if (folder.empty()) return false;
    chosen = std::move(folder);
    return true;
}

bool HeadlessBackend::chooseColor(CDialog*, unsigned& rgb) {
    std::lock_guard<std::mutex> lock(mutex);
    requests.push_back(FileChooser{});
    if (scriptedColors.empty()) return false;
    rgb = scriptedColors.front();
    scriptedColors.pop_front();
    return true;
}

void HeadlessBackend::beep() {
    std::lock_guard<std::mutex> lock(mutex);
    ++beeps;
}

void HeadlessBackend::scriptFiles(std::vector<std::string> files) {
    std::lock_guard<std::mutex> lock(mutex);
    scriptedFiles.push_back(std::move(files));
}

void HeadlessBackend::scriptFolder(std::string folder) {
    std::lock_guard<std::mutex> lock(mutex);
    scriptedFolders.push_back(std::move(folder));
}

void HeadlessBackend::scriptColor(unsigned rgb) {
    std::lock_guard<std::mutex> lock(mutex);
    scriptedColors.push_back(rgb);
}

std::vector<FileChooser> HeadlessBackend::chooserRequests() const {
    std::lock_guard<std::mutex> lock(mutex);
    return requests;
}

int HeadlessBackend::beepCount() const {
    std::lock_guard<std::mutex> lock(mutex);
    return beeps;
}

std::vector<HeadlessBackend::Shown> HeadlessBackend::shownBoxes() const {
    std::lock_guard<std::mutex> lock(mutex);
    return shown;
}

void HeadlessBackend::scriptAnswer(Answer answer) {
    std::lock_guard<std::mutex> lock(mutex);
    scripted.push_back(answer);
}

}  // namespace gui
