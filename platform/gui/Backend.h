// What a window framework backend provides to the dialogs: modal run loops,
// message boxes and the refresh of controls whose state changed. Two
// backends implement it: the real windows and the headless one, which is
// also the test double of the real one.
#pragma once

#include <string>

namespace gui {

class CDialog;

enum class Buttons { Ok, YesNo };
enum class Icon { None, Error, Question, Warning, Information };
enum class Answer { Ok, Yes, No };

class Backend {
public:
    virtual ~Backend();

    // True when real windows are shown.
    virtual bool hasDisplay() const = 0;

    // Shows a message box and returns the button chosen (Ok for Buttons::Ok).
    // Called on the dialog thread. Never throws.
    virtual Answer messageBox(const std::string& text, const std::string& caption,
                              Buttons buttons, Icon icon) = 0;

    // Serves the dialog's messages until it has ended (CDialog::EndDialog).
    // The dialog's window exists and OnInitDialog has run.
    virtual void runModalLoop(CDialog& dialog) = 0;

    // Told after a control's state (text, check, enabled, shown, entries,
    // position) changed, so that a real window can show it; id 0 stands for
    // the dialog window itself (caption). The default does nothing.
    virtual void controlChanged(CDialog& dialog, int id);

    // Shows a multi-line text gathered during a run (warnings) after it.
    virtual void showReport(const std::string& title, const std::string& text) = 0;
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

}  // namespace gui
