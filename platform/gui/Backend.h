// What a window framework backend provides to the dialogs: windows for
// them, modal run loops, message boxes, choosers and the refresh of
// controls whose state changed. Two backends implement it: the real windows
// (Qt) and the headless one, which is also the test double of the real one.
#pragma once

#include <string>
#include <vector>

namespace gui {

class CDialog;

enum class Buttons { Ok, YesNo };
enum class Icon { None, Error, Question, Warning, Information };
enum class Answer { Ok, Yes, No };

// One file chooser request. filter is in the "Description (*.a;*.b)|*.a;
// *.b|...||" form (see FileFilter.h).
struct FileChooser {
    bool save = false;              // a save-as chooser; otherwise an open one
    std::string filter;
    std::string defaultExtension;   // added to a chosen name without one ("" none)
    std::string initialPath;        // the file or folder to start from ("" anywhere)
    bool multiSelect = false;       // open: several files at once
    bool mustExist = false;         // open: only existing files
    bool overwritePrompt = false;   // save: ask before choosing an existing file
};

class Backend {
public:
    virtual ~Backend();

    // True when real windows are shown.
    virtual bool hasDisplay() const = 0;

    // Shows a message box and returns the button chosen (Ok for Buttons::Ok).
    // Called on the dialog thread; a real backend also accepts other threads
    // (the box is then shown by the dialog thread later, and the call answers
    // Ok, or No to a question, at once). Never throws.
    virtual Answer messageBox(const std::string& text, const std::string& caption,
                              Buttons buttons, Icon icon) = 0;

    // A dialog's window: made by CDialog::Create before OnInitDialog (from
    // the controls' state), shown by CDialog::ShowWindow or the modal loop,
    // destroyed by CDialog::Destroy after OnDestroy. The defaults do nothing.
    virtual void createWindow(CDialog& dialog);
    virtual void showWindow(CDialog& dialog);
    virtual void destroyWindow(CDialog& dialog);

    // Serves the dialog's messages until it has ended (CDialog::EndDialog).
    // The dialog's window exists and OnInitDialog has run. An exception
    // thrown by a handler ends the loop and passes on.
    virtual void runModalLoop(CDialog& dialog) = 0;

    // Told when EndDialog was called, so that a real modal loop returns.
    virtual void dialogEnded(CDialog& dialog);

    // Told after a control's state (text, check, enabled, shown, entries,
    // position, colour) changed, so that a real window can show it; id 0
    // stands for the dialog window itself (caption, size). The default does
    // nothing.
    virtual void controlChanged(CDialog& dialog, int id);

    // Gives the control the keyboard focus (CDialog::GotoDlgCtrl). The
    // default does nothing.
    virtual void focusControl(CDialog& dialog, int id);

    // Shows a multi-line text gathered during a run (warnings) after it,
    // where no window can show it (the headless backend's terminal).
    virtual void showReport(const std::string& title, const std::string& text) = 0;

    // Choosers, each modal over owner (may be null). They return true with
    // the choice, or false when the user cancelled (and without a display,
    // unless a test scripted a choice). Paths are absolute.
    virtual bool chooseFiles(CDialog* owner, const FileChooser& request,
                             std::vector<std::string>& chosen);
    // Only file-system folders; starts at initialFolder when it exists.
    virtual bool chooseFolder(CDialog* owner, const std::string& title,
                              const std::string& initialFolder, std::string& chosen);
    // rgb: 0xRRGGBB, the colour to start from and the one chosen.
    virtual bool chooseColor(CDialog* owner, unsigned& rgb);

    // The default sound. The default does nothing.
    virtual void beep();

    // Shows or ends the busy cursor over the program's windows; calls nest.
    // Any thread. The default does nothing.
    virtual void setWaitCursor(bool on);

    // The width of the text in the dialogs' font, in dialog units. The
    // default counts four units (an average character) per character.
    virtual int textWidth(const std::string& text);
};

// The backend in use. Without a setBackend call it is a headless backend on
// the process's standard streams.
Backend& backend();

// Makes replacement the backend in use (null restores the default) and
// returns the one used before. The caller keeps replacement alive while it
// is in use.
Backend* setBackend(Backend* replacement);

// backend().messageBox(...).
Answer messageBox(const std::string& text, const std::string& caption,
                  Buttons buttons = Buttons::Ok, Icon icon = Icon::None);

// backend().beep().
void MessageBeep();

}  // namespace gui
