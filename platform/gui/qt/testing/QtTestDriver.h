// Driving dialogs through their real windows in tests, on Qt's offscreen
// platform (no display needed). Clicks and key presses are real input
// events sent to the widgets; what the widgets show is read back from them.
//
// Use:
//   gui::qttest::UseQt qt;                 // the Qt backend for this scope
//   MyDialog dialog; dialog.Create(); dialog.ShowWindow();
//   gui::qttest::click(dialog, IDC_GO);
//   gui::qttest::waitUntil([&] { return dialog.IsEnded(); });
//   gui::qttest::screenshot(dialog, "my-dialog");  // <screenshot dir>/my-dialog.png
//   EXPECT_EQ(gui::qttest::layoutProblems(dialog), std::vector<std::string>{});
//
// A dialog that a handler runs modally (DoModal) is answered from
// onModal's hook, which runs once its loop has started. Message boxes are
// answered by onMessageBox's hook; without one they would wait for a user.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/gui/Backend.h"
#include "platform/gui/DialogTemplate.h"

namespace gui {
class CDialog;
class QtBackend;
}  // namespace gui

namespace gui::qttest {

// The process's Qt backend on the offscreen platform, made on first use
// (on the calling thread, which must be the test's main thread) and ended
// when the test program ends.
QtBackend& backend();

// Makes the Qt backend the one in use for the life of the object and
// restores the one before; clears the hooks and the font scale on the way
// out.
class UseQt {
public:
    UseQt();
    ~UseQt();
    UseQt(const UseQt&) = delete;
    UseQt& operator=(const UseQt&) = delete;

private:
    Backend* previous;
};

enum class Key { Enter, Escape, Tab, Menu };

// Real input: a left click on the control's widget; typing text into an
// edit after selecting what it held (line breaks as the Enter key); a key
// press on the focused widget of the dialog (the window itself when none
// has the focus); choosing a drop-down list's entry by index.
void click(CDialog& dialog, int id);
void type(CDialog& dialog, int id, const std::string& text);
void press(CDialog& dialog, Key key);
void select(CDialog& dialog, int id, int index);
// Opens the dialog's context menu (as the right button does) and chooses
// the entry whose text is entryText ("&" included). Returns false, the menu
// closed, when there is no such entry.
bool chooseMenuEntry(CDialog& dialog, const std::string& entryText);
// The text of the tool tip that the control shows now ("" none).
std::string toolTipOf(CDialog& dialog, int id);

// What the widgets show. Multi-line texts come back with "\r\n" line ends.
std::string shownText(const CDialog& dialog, int id);
bool shownChecked(const CDialog& dialog, int id);
bool shownEnabled(const CDialog& dialog, int id);
bool shownVisible(const CDialog& dialog, int id);
int shownProgress(const CDialog& dialog, int id);
std::string shownTitle(const CDialog& dialog);
// The window's and a control's size and place in pixels: {x, y, width, height}.
Rect shownWindowRect(const CDialog& dialog);
Rect shownControlRect(const CDialog& dialog, int id);
// The id of the control whose widget has the keyboard focus (0 none).
int focusedControl(const CDialog& dialog);

// Serves what is waiting in the event loop (posted dialog messages too);
// rethrows an exception that a handler threw meanwhile.
void processEvents();
// Serves events until done() holds or maxSeconds have passed; returns
// done(). Rethrows a handler's exception.
bool waitUntil(const std::function<bool()>& done, int maxSeconds = 120);

// Hooks (see the file comment); an empty function removes one.
void onModal(std::function<void(CDialog&)> hook);
using BoxHook =
    std::function<Answer(const std::string& text, const std::string& caption, Buttons, Icon)>;
void onMessageBox(BoxHook hook);

// Windows made from now on use the dialog font scaled by factor.
void setFontScale(double factor);

// backend().layoutProblems(dialog).
std::vector<std::string> layoutProblems(const CDialog& dialog);

// Saves the dialog's window as <screenshot dir>/<name>.png and returns the
// path ("" when it could not be written). The directory is
// VANTRY_SCREENSHOT_DIR, else build/screenshots under VANTRY_SOURCE_DIR,
// else "screenshots"; it is made when missing.
std::string screenshot(const CDialog& dialog, const std::string& name);

}  // namespace gui::qttest
