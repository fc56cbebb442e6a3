// The application object: sets up the settings store, reads the command
// line into the main dialog and runs the dialog; without a display it runs
// only unattended (-autorun) and follows the run on the terminal.
#pragma once

#include <string>
#include <vector>

#include "platform/gui/WinApp.h"

class RunStarter;

class CVantryApp : public gui::CWinApp {
public:
    // arguments: the command line without the program name.
    explicit CVantryApp(std::vector<std::string> arguments);

    // Always returns false: the program ends when it returns. Sets
    // exitStatus: 0 after "Done.", "-ver" or the usage text (-h, --help);
    // 1 after a failed or refused run, module errors or an initialization
    // error ("Vantry initialization error: <text>"); 2 for a command line
    // that cannot run: a value its option cannot take (a module's options
    // included), or no display and nothing to run unattended (the message
    // is followed by the usage text); 3 after "Cancelled." (a declined
    // overwrite included). Module options that the module does not declare
    // are warned about before the dialog starts. Without a display a run
    // that ends "Done." is followed by the index file's absolute path.
    bool InitInstance() override;

    // For tests: how runs start (null: on a RunThread) and the stream and
    // width of the terminal report (null: standard error and its width).
    RunStarter* runStarter = nullptr;
    std::ostream* consoleStream = nullptr;
    // For tests: where the usage text of -h goes (null: standard output).
    std::ostream* outputStream = nullptr;
    bool consoleIsTerminal = false;

private:
    std::vector<std::string> arguments;
};
