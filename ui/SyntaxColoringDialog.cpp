#include "ui/SyntaxColoringDialog.h"

#include "ui/ColorNames.h"
#include "ui/SecondaryDialogTemplates.h"

using namespace ui;

namespace {

struct ColorRow {
    int edit;
    int choose;
    std::string SyntaxColoringDialog::*color;
};
const ColorRow colorRows[] = {
    {IDC_SYN_COMMENT, IDC_SYN_COMMENT_CHOOSE, &SyntaxColoringDialog::commentColor},
    {IDC_SYN_KEYWORD, IDC_SYN_KEYWORD_CHOOSE, &SyntaxColoringDialog::keywordColor},
    {IDC_SYN_NUMBER, IDC_SYN_NUMBER_CHOOSE, &SyntaxColoringDialog::numberColor},
    {IDC_SYN_STRING, IDC_SYN_STRING_CHOOSE, &SyntaxColoringDialog::stringColor},
    {IDC_SYN_USER_KEYWORD, IDC_SYN_USER_KEYWORD_CHOOSE, &SyntaxColoringDialog::userKeywordColor},
    {IDC_SYN_OPERATOR, IDC_SYN_OPERATOR_CHOOSE, &SyntaxColoringDialog::operatorColor},
    {IDC_SYN_PAREN, IDC_SYN_PAREN_CHOOSE, &SyntaxColoringDialog::parenColor},
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
