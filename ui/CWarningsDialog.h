// The dialog that shows the errors and warnings collected during a run.
#pragma once

#include <string>

#include "platform/gui/Dialog.h"

namespace ui {

enum WarningsDialogId : int {
    IDD_WARNINGS = 133,
    IDC_WARNINGS_TEXT = 1034,
};

extern const gui::DialogTemplate warningsDialogTemplate;

class CWarningsDialog : public gui::CDialog {
public:
    // text: shown as it stands, in a read-only box with both scroll bars.
    // parent: the window it is shown over (may be null).
    CWarningsDialog(const std::string& text, gui::CDialog* parent);

    void DoDataExchange(gui::CDataExchange& dx) override;

    std::string text;
    gui::CDialog* const parent;
};

}  // namespace ui
