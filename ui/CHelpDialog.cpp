#include "ui/CHelpDialog.h"

namespace ui {

namespace {

using gui::ControlKind;

constexpr gui::ControlTemplate controls[] = {
    {IDC_HELP_TEXT, ControlKind::MultiLineEdit, "", {7, 7, 426, 300},
     gui::StyleTabStop | gui::StyleGroup | gui::StyleReadOnly | gui::StyleScrollBars |
         gui::StyleFixedFont},
    {gui::IDOK, ControlKind::DefaultButton, "OK", {383, 313, 50, 14},
     gui::StyleTabStop | gui::StyleGroup},
};

std::string withCrLf(const std::string& text) {
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) lines += '\r';
        lines += text[i];
    }
    return lines;
}

}  // namespace

const gui::DialogTemplate helpDialogTemplate{IDD_HELP, "Vantry Help", 440, 334, controls};

CHelpDialog::CHelpDialog(const std::string& help) : CDialog(helpDialogTemplate), text(withCrLf(help)) {}

void CHelpDialog::DoDataExchange(gui::CDataExchange& dx) {
    // Read-only: the text goes into the box and never back.
    if (!dx.m_bSaveAndValidate) gui::DDX_Text(dx, IDC_HELP_TEXT, text);
}

}  // namespace ui
