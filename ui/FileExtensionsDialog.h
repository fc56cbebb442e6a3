// The "File Extensions" dialog: the ","-separated list of the extensions of
// the files to process. OK is enabled while the list is not empty, and
// refuses, with a message, extensions that cannot end a file name.
#pragma once

#include <string>

#include "platform/gui/Dialog.h"

class FileExtensionsDialog : public gui::CDialog {
public:
    FileExtensionsDialog();

    bool OnInitDialog() override;
    void DoDataExchange(gui::CDataExchange& dx) override;
    bool OnCommand(int id, unsigned notification) override;
    // Closes the dialog when every extension of the list can end a file
    // name (VantryBase::unusableExtensionsText); otherwise shows that text
    // and stays open on the list.
    void OnOK() override;

    // Reads the text and enables OK exactly when it is not empty.
    void updateOk();

    std::string extensions;
};
