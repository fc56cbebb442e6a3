// The "Preprocessor Defines" dialog: the user's defines, one per line, each
// a symbol alone or a symbol, "=" and a value.
#pragma once

#include <string>

#include "platform/gui/Dialog.h"
#include "reader/PreprocessorDefines.h"

class PreprocessorDefinesDialog : public gui::CDialog {
public:
    // Shows a copy of the caller's set, one definition per line.
    explicit PreprocessorDefinesDialog(const PreprocessorDefines& defines);

    void DoDataExchange(gui::CDataExchange& dx) override;
    // Rebuilds defines from the text, then closes.
    void OnOK() override;

    PreprocessorDefines defines;
    std::string definesText;
};
