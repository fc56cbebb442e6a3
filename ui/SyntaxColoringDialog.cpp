#include "ui/SyntaxColoringDialog.h"

#include "ui/ColorNames.h"
#include "platform/gui/Backend.h"
#include "platform/TerminalText.h"
#include "ui/SecondaryDialogTemplates.h"

using namespace ui;

namespace {

struct ColorRow {
    int edit;
    int choose;
    std::string SyntaxColoringDialog::*color;
    const char* label;
};
const ColorRow colorRows[] = {
    {IDC_SYN_COMMENT, IDC_SYN_COMMENT_CHOOSE, &SyntaxColoringDialog::commentColor, "Comment color:"},
    {IDC_SYN_KEYWORD, IDC_SYN_KEYWORD_CHOOSE, &SyntaxColoringDialog::keywordColor, "Keyword color:"},
    {IDC_SYN_NUMBER, IDC_SYN_NUMBER_CHOOSE, &SyntaxColoringDialog::numberColor, "Number color:"},
    {IDC_SYN_STRING, IDC_SYN_STRING_CHOOSE, &SyntaxColoringDialog::stringColor, "String color:"},
    {IDC_SYN_USER_KEYWORD, IDC_SYN_USER_KEYWORD_CHOOSE, &SyntaxColoringDialog::userKeywordColor, "User keyword color:"},
    {IDC_SYN_OPERATOR, IDC_SYN_OPERATOR_CHOOSE, &SyntaxColoringDialog::operatorColor, "Operator color:"},
    {IDC_SYN_PAREN, IDC_SYN_PAREN_CHOOSE, &SyntaxColoringDialog::parenColor, "Parens (etc.) color:"},
};

}  // namespace

SyntaxColoringDialog::SyntaxColoringDialog() : CDialog(syntaxColoringDialogTemplate) {}

void SyntaxColoringDialog::DoDataExchange(gui::CDataExchange& dx) {
    for (const ColorRow& row : colorRows) gui::DDX_Text(dx, row.edit, this->*row.color);
    gui::DDX_Text(dx, IDC_SYN_USER_KEYWORDS, userKeywordsText);
}

bool SyntaxColoringDialog::OnCommand(int id, unsigned notification) {
    if (notification == gui::BN_CLICKED) {
        for (const ColorRow& row : colorRows) {
            if (row.choose == id) {
                UpdateData(true);
                chooseColor(this->*row.color, *this, row.edit);
                return true;
            }
        }
    }
    return CDialog::OnCommand(id, notification);
}

void SyntaxColoringDialog::OnOK() {
    UpdateData(true);
    for (const ColorRow& row : colorRows) {
        const std::string& color = this->*row.color;
        if (isColorText(color)) continue;
        GotoDlgCtrl(row.edit);
        gui::messageBox(std::string(row.label) + " \"" + terminalText(color) + "\" must be " + colorRule() + ".", "Vantry", gui::Buttons::Ok, gui::Icon::Error);
        return;
    }
    CDialog::OnOK();
}
