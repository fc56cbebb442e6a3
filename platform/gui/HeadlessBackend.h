// The backend without a display: controls live in memory, a dialog's
// messages are served on the calling thread, and what would be shown goes to
// the terminal. Tests drive every dialog through it.
#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/gui/Backend.h"
#include "platform/WindowMessages.h"

namespace gui {

class HeadlessBackend : public Backend {
public:
    // On the process's standard streams; questions are asked when standard
    // input and standard error are both terminals.
    HeadlessBackend();
    // On the given streams (tests); questions are asked on them when
    // interactive is set, and answered No otherwise.
    HeadlessBackend(std::ostream& out, std::ostream& err, std::istream& in, bool interactive);

    bool hasDisplay() const override { return false; }

    // Texts go out as lines on the error stream: an error box as "vantry:
    // error: <text>", a warning as "vantry: warning: <text>", an information
    // box as "vantry: <text>"; a box without an icon as the text alone on the
    // output stream. A Yes/No question takes the next scripted answer when
    // there is one; otherwise it is asked as "vantry: <text> [y/N] " on the
    // error stream when interactive (an answer
    // beginning with y or Y is Yes), and answered No with a note on the
    // error stream when not. Safe from any thread.
    Answer messageBox(const std::string& text, const std::string& caption, Buttons buttons,
                      Icon icon) override;

    // A dialog created while no other is interruptible takes interrupts from
    // its creation on, before its modal loop runs: an unattended run starts
    // from the dialog's initialisation, and a signal then must cancel it,
    // not end the program. Its destruction leaves none interruptible.
    void createWindow(CDialog& dialog) override;
    void destroyWindow(CDialog& dialog) override;

    // Waits for the dialog's messages and serves them, oldest first, until
    // the dialog has ended. While it runs, interrupt() cancels the dialog.
    // A report (Delivery::NextRound) that comes within roundInterval of the
    // message served before it waits until that interval has passed (with
    // whatever else arrived meanwhile), so a busy worker wakes this thread
    // at most once a round; any other message is served when it comes.
    void runModalLoop(CDialog& dialog) override;
    static constexpr std::chrono::milliseconds roundInterval{20};

    // Writes the title and then every line of the text (carriage returns
    // dropped) as "vantry: warning: <line>" on the error stream.
    void showReport(const std::string& title, const std::string& text) override;

    // Asks the dialog of the running modal loop to cancel (its IDCANCEL
    // command, the Escape key's), from any thread. Returns false when no
    // dialog is open.
    bool interrupt();

    // Blocks SIGINT, SIGTERM and SIGHUP in the calling thread (and so in
    // every thread it starts later) and watches them from a thread of its
    // own: the first one calls interrupt(), so a run cancels and cleans up
    // after itself, or, when no dialog runs, ends the process at once with
    // exit status 3; a second one ends the process at once with status 3.
    // Each line written names the signal ("vantry: terminated: cancelling
    // ...", "vantry: terminated: stopped at once" for SIGTERM; "interrupted"
    // for SIGINT, "hung up" for SIGHUP). Call it once, before any other
    // thread starts.
    void watchInterrupts();

    // Choosers take the next scripted choice of their kind and otherwise
    // answer as cancelled; every request is recorded. Safe from any thread.
    bool chooseFiles(CDialog* owner, const FileChooser& request,
                     std::vector<std::string>& chosen) override;
    bool chooseFolder(CDialog* owner, const std::string& title, const std::string& initialFolder,
                      std::string& chosen) override;
    bool chooseColor(CDialog* owner, unsigned& rgb) override;
    void beep() override;

    struct Shown {
        std::string text;
        std::string caption;
        Buttons buttons;
        Icon icon;
        Answer answer;
    };
    // Every message box so far, for tests.
    std::vector<Shown> shownBoxes() const;
    void scriptAnswer(Answer answer);

    // Test scripting of the choosers, one choice per call in order; an
    // empty list of files or an empty folder stands for Cancel.
    void scriptFiles(std::vector<std::string> files);
    void scriptFolder(std::string folder);
    void scriptColor(unsigned rgb);
    // The requests the choosers received (folder requests as a FileChooser
    // whose initialPath is the initial folder and filter the title).
    std::vector<FileChooser> chooserRequests() const;
    int beepCount() const;

private:
    std::ostream& out;
    std::ostream& err;
    std::istream& in;
    bool interactive;
    mutable std::mutex mutex;
    std::vector<Shown> shown;
    std::deque<Answer> scripted;
    std::deque<std::vector<std::string>> scriptedFiles;
    std::deque<std::string> scriptedFolders;
    std::deque<unsigned> scriptedColors;
    std::vector<FileChooser> requests;
    int beeps = 0;
    // Shared with the signal watcher, which outlives the backend: a signal
    // that comes while the program ends must not read a destroyed member.
    std::shared_ptr<std::atomic<platform::WindowHandle>> activeWindow =
        std::make_shared<std::atomic<platform::WindowHandle>>(nullptr);
};

}  // namespace gui
