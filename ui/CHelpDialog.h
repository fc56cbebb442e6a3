// The window that shows the program's help: the text that "vantry -help"
// prints, read-only, as the warnings dialog shows its text.
#pragma once

#include <string>

#include "platform/gui/Dialog.h"

namespace ui {

enum HelpDialogId : int {
    IDD_HELP = 150,
    IDC_HELP_TEXT = 1034,
};

extern const gui::DialogTemplate helpDialogTemplate;

class CHelpDialog : public gui::CDialog {
public:
    // text: the help with "\n" line ends; shown with "\r\n" ones, in a
    // fixed-pitch font so that its columns line up.
    explicit CHelpDialog(const std::string& text);

    void DoDataExchange(gui::CDataExchange& dx) override;

    std::string text;
};

}  // namespace ui
