// The "Syntax Coloring" dialog: the seven colours of the source listings,
// each with a "Choose..." button, and the user keywords, one per line.
#pragma once

#include <string>

#include "platform/gui/Dialog.h"

class SyntaxColoringDialog : public gui::CDialog {
public:
    SyntaxColoringDialog();

    void DoDataExchange(gui::CDataExchange& dx) override;
    // A "Choose..." button reads the controls and opens the colour chooser
    // on its colour.
    bool OnCommand(int id, unsigned notification) override;
    // OK takes the colours only when each is a colour text (a name or "#"
    // and six hexadecimal digits); otherwise it names the first that is not
    // and keeps the dialog open on it.
    void OnOK() override;

    std::string commentColor;
    std::string keywordColor;
    std::string numberColor;
    std::string stringColor;
    std::string userKeywordColor;
    std::string userKeywordsText;
    std::string operatorColor;
    std::string parenColor;
};
