#include "ui/RunCallbacks.h"

#include <algorithm>
#include <map>

#include "VelkLib/VelkMutex.h"
#include "platform/TerminalText.h"
#include "run/VantryBase.h"
#include "ui/CVantryDlg.h"
#include "ui/RunConsole.h"

namespace {

// Built on first use, so that no order of static construction matters.
struct ProcessObjects {
    std::string warnings;
    std::map<platform::WindowHandle, CVantryDlg*> dialogs;
    VelkMutex dialogMapMutex;
    VelkMutex warningsMutex;
};

ProcessObjects& objects() {
    static ProcessObjects instance;
    return instance;
}

CVantryDlg* findDialog(void* context) {
    auto& dialogs = objects().dialogs;
    auto found = dialogs.find(platform::fromContext(context));
    return found != dialogs.end() ? found->second : nullptr;
}

}  // namespace

void registerDialog(platform::WindowHandle window, CVantryDlg* dialog) {
    VelkMutexLock lock(&objects().dialogMapMutex);
    objects().dialogs[window] = dialog;
}

void unregisterDialog(platform::WindowHandle window) {
    VelkMutexLock lock(&objects().dialogMapMutex);
    objects().dialogs.erase(window);
}

std::string warningsText() {
    VelkMutexLock lock(&objects().warningsMutex);
    return objects().warnings;
}

void clearWarningsText() {
    VelkMutexLock lock(&objects().warningsMutex);
    objects().warnings.clear();
}

int progressPercent(int done, int total) {
    if (total <= 0 || done <= 0) return 0;
    double percent = static_cast<double>(done) / static_cast<double>(total) * 100.0;
    return static_cast<int>(std::min(percent, 100.0));
}

extern "C" void runStatusCallback(const char* line1, const char* line2, void* context) {
    VelkMutexLock mapLock(&objects().dialogMapMutex);
    CVantryDlg* dialog = findDialog(context);
    if (dialog == nullptr) return;
    RunStatus& run = dialog->runStatus;
    bool second = line2 != nullptr && line2[0] != '\0';
    bool post1 = false;
    bool post2 = false;
    {
        VelkMutexLock lock(&run.dialogMutex);
        if (line1 != nullptr) {
            run.statusLine1.assign(line1);
            post1 = !run.line1Pending;
            run.line1Pending = true;
        }
        if (second) {
            run.statusLine2.assign(line2);
            post2 = !run.line2Pending;
            run.line2Pending = true;
        }
    }
    if (run.console != nullptr) run.console->status(line1, line2);
    if (!post1 && !post2) return;
    platform::WindowHandle window = platform::fromContext(context);
    using platform::Delivery;
    bool lost1 = post1 && !platform::PostMessage(window, WM_RUN_STATUS_LINE1, 0, 0,
                                                 Delivery::NextRound);
    bool lost2 = post2 && !platform::PostMessage(window, WM_RUN_STATUS_LINE2, 0, 0,
                                                 Delivery::NextRound);
    if (lost1 || lost2) {
        // Nothing will take a message that was not queued: let the next
        // report try again.
        VelkMutexLock lock(&run.dialogMutex);
        if (lost1) run.line1Pending = false;
        if (lost2) run.line2Pending = false;
    }
}

extern "C" void runLogCallback(const char* text, void* context) {
    if (text == nullptr) return;
    {
        VelkMutexLock lock(&objects().warningsMutex);
        // One entry is one line: a line break or escape sequence from a
        // file name is shown, never obeyed.
        objects().warnings += terminalText(text);
        objects().warnings += "\r\n";
    }
    VelkMutexLock mapLock(&objects().dialogMapMutex);
    CVantryDlg* dialog = findDialog(context);
    if (dialog != nullptr && dialog->runStatus.console != nullptr) dialog->runStatus.console->logged();
}

extern "C" int runProgressCallback(int done, int total, void* context) {
    VelkMutexLock mapLock(&objects().dialogMapMutex);
    CVantryDlg* dialog = findDialog(context);
    if (dialog == nullptr) return 0;
    RunStatus& run = dialog->runStatus;
    int percent = done >= 0 ? progressPercent(done, total) : -1;
    if (percent >= 0 && run.console != nullptr) run.console->progress(percent);
    bool cancel;
    bool post = false;
    {
        VelkMutexLock lock(&run.dialogMutex);
        cancel = run.cancelRequested;
        if (percent >= 0 && percent != run.postedPercent) {
            run.postedPercent = percent;
            post = true;
        }
    }
    // The percentage travels in the message, so each one posted is shown in
    // turn and the last one posted is the latest.
    if (post)
        platform::PostMessage(platform::fromContext(context), WM_RUN_PROGRESS, 0, percent,
                              platform::Delivery::NextRound);
    return cancel ? 0 : 1;
}
