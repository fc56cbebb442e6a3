// The three callbacks through which a run (and its output module) reports
// to the main dialog, and the process-wide objects they use: the map from
// window handle to dialog and the warnings text, each under its own mutex.
//
// Lock order: the dialog map's mutex first, then the dialog's own; the
// warnings mutex is taken alone.
#pragma once

#include <string>

#include "platform/WindowMessages.h"
#include "run/RunThread.h"

class CVantryDlg;

// The run's private messages (WM_USER+1 to +6) come with the run thread.
// The run's worker thread is gone; posted after its last message.
constexpr unsigned WM_RUN_THREAD_GONE = platform::WM_USER + 7;

// Enters or removes a dialog under its window handle (under the map's
// mutex). Throws VelkError "Wait for mutex failed." when the lock fails.
void registerDialog(platform::WindowHandle window, CVantryDlg* dialog);
void unregisterDialog(platform::WindowHandle window);

// The warnings text of the last run: every logged text followed by "\r\n".
std::string warningsText();
void clearWarningsText();

// done / total as a whole percentage, truncated and kept within 0-100; 0
// when total is 0 or less.
int progressPercent(int done, int total);

extern "C" {

// line1: null leaves status line 1 as it is, "" clears it; line2: null or
// "" leaves status line 2 as it is. Both are stored under the dialog's mutex
// and announced with WM_USER+1 / +2 unless an announcement of that line is
// still waiting for the dialog (which then shows the newer text, shortened
// with abbreviatePath). Every report reaches the console. A context that
// names no registered dialog is ignored.
void runStatusCallback(const char* line1, const char* line2, void* context);

// Appends text and "\r\n" to the warnings text; a null text is ignored. The
// context is not used.
void runLogCallback(const char* text, void* context);

// With done 0 or more hands progressPercent(done, total) to the console and
// posts it with WM_USER+3 when it differs from the last percentage posted in
// this run. Returns 0 when the user asked to stop (or the context names no dialog),
// 1 otherwise.
int runProgressCallback(int done, int total, void* context);

}  // extern "C"
