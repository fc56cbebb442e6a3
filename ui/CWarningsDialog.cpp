#include "ui/CWarningsDialog.h"

namespace ui {

namespace {

using gui::ControlKind;

constexpr gui::ControlTemplate controls[] = {
    {gui::IDSTATIC, ControlKind::Label, "The following errors and warnings were generated:",
     {7, 7, 342, 8}, 0},
    {IDC_WARNINGS_TEXT, ControlKind::MultiLineEdit, "", {7, 18, 342, 288},
     gui::StyleTabStop | gui::StyleGroup | gui::StyleReadOnly | gui::StyleScrollBars},
    {gui::IDOK, ControlKind::DefaultButton, "OK", {299, 312, 50, 14}, gui::StyleTabStop | gui::StyleGroup},
};

}  // namespace

const gui::DialogTemplate warningsDialogTemplate{IDD_WARNINGS, "Errors and Warnings", 356, 333, controls};

CWarningsDialog::CWarningsDialog(const std::string& warnings, gui::CDialog* owner)
    : CDialog(warningsDialogTemplate), text(warnings), parent(owner) {}

void CWarningsDialog::DoDataExchange(gui::CDataExchange& dx) {
    // Read-only: the text goes into the box and never back.
    if (!dx.m_bSaveAndValidate) gui::DDX_Text(dx, IDC_WARNINGS_TEXT, text);
}

}  // namespace ui
