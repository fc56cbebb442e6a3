// The "Command Line" dialog: shows the command that repeats the main
// dialog's job, for either the program itself or the console front end
// beside it, with the run switches chosen by check boxes; the user may
// edit the command and save it as a shell script.
//
// The boxes are remembered in the settings store's section "CmdLineDialog":
// read when the dialog is made, written by Close (not by Escape).
#pragma once

#include <string>

#include "platform/SettingsStore.h"
#include "platform/gui/Dialog.h"

class CmdLineDialog : public gui::CDialog {
public:
    // programPath, consolePath: the two programs; optionText: the options
    // for them (generateCommandOptions). The store must outlive the dialog.
    CmdLineDialog(std::string programPath, std::string consolePath, std::string optionText,
                  platform::SettingsStore& store);

    bool OnInitDialog() override;
    void DoDataExchange(gui::CDataExchange& dx) override;
    // Close: remembers the boxes (a failed save of the store is reported)
    // and closes.
    void OnOK() override;
    bool OnCommand(int id, unsigned notification) override;

    // Reads the controls, enables the boxes of the chosen program and puts
    // the command into the edit: the quoted program, its ticked switches,
    // the options and a line break, and for the console front end with
    // "Pause at end" a line that waits for Enter.
    void composeCommand();

    // Asks for a file and writes the command as it stands in the edit (the
    // user's own edits included) as a shell script: "#!/bin/sh" first
    // unless the text begins with "#!" itself, lines ending in "\n",
    // executable. The file is replaced whole or not at all; a failure is
    // reported with the error icon and the dialog stays open.
    void saveBatchFile();

    // The line that the console front end's command ends with when it is to
    // pause.
    static const char* const pauseLine;

    std::string commandText;
    int interfaceKind = 0;  // 0 the program itself, 1 the console front end
    int autoQuit = 0;
    int autoRun = 0;
    int autoView = 0;
    int overwrite = 0;
    int percent = 0;
    int quiet = 0;
    int verbose = 0;
    int pause = 0;

    std::string programPath;
    std::string consolePath;
    std::string optionText;

private:
    platform::SettingsStore& store;
};
