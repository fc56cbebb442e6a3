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
    // exitStatus: 0 after "Done." or "-ver"; 1 after a failed or refused run,
    // module errors or an initialization error ("Vantry initialization
    // error: <text>"); 2 when there is no display and nothing to run
    // unattended; 3 after "Cancelled." (a declined overwrite included).
    bool InitInstance() override;

    // For tests: how runs start (null: on a RunThread) and the stream and
    // width of the terminal report (null: standard error and its width).
    RunStarter* runStarter = nullptr;
    std::ostream* consoleStream = nullptr;
    bool consoleIsTerminal = false;

private:
    std::vector<std::string> arguments;
};
