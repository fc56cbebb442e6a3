#include "ui/CVantryApp.h"

#include <iostream>
#include <sys/ioctl.h>
#include <unistd.h>

#include "VelkLib/VelkCmdLine.h"
#include "VelkLib/VelkError.h"
#include "platform/MessageBox.h"
#include "platform/gui/Backend.h"
#include "ui/CVantryDlg.h"
#include "ui/CommandLineOptions.h"
#include "ui/RunConsole.h"

namespace {

int terminalWidth() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return 80;
}

}  // namespace

CVantryApp::CVantryApp(std::vector<std::string> commandLine)
    : CWinApp("Vantry"), arguments(std::move(commandLine)) {}

bool CVantryApp::InitInstance() {
    SetRegistryKey("velkdask");
    bool display = gui::backend().hasDisplay();
    std::ostream& stream = consoleStream != nullptr ? *consoleStream : std::cerr;
    bool terminal = consoleStream != nullptr ? consoleIsTerminal : ::isatty(STDERR_FILENO) != 0;
    RunConsole::Mode mode = display    ? RunConsole::Mode::Silent
                            : terminal ? RunConsole::Mode::Live
                                       : RunConsole::Mode::Phases;
    RunConsole console(mode, stream, consoleStream != nullptr ? 80 : terminalWidth());
    // Error boxes raised where no dialog is at hand (the run's thread) show
    // like every other message box of the program.
    platform::ErrorBoxHandler previousHandler =
        platform::setErrorBoxHandler([&console](const std::string& text, const std::string& caption) {
            console.endLine();
            gui::messageBox(text, caption.empty() ? "Vantry" : caption, gui::Buttons::Ok,
                            gui::Icon::Error);
        });
    struct RestoreHandler {
        platform::ErrorBoxHandler handler;
        ~RestoreHandler() { platform::setErrorBoxHandler(handler); }
    } restore{previousHandler};

    try {
        CVantryDlg dialog(profile(), runStarter, &console);
        VelkCmdLine commandLine(arguments);
        switch (parseCommandLineOptions(dialog, commandLine)) {
            case CommandLineResult::Version: exitStatus = RunConsole::ExitDone; return false;
            case CommandLineResult::Declined: exitStatus = RunConsole::ExitCancelled; return false;
            case CommandLineResult::Go: break;
        }
        if (!display) {
            if (!dialog.autoRun) {
                stream << "vantry: no display: the dialog needs one (DISPLAY is not set or "
                          "cannot be reached); give -autorun to run unattended"
                       << std::endl;
                exitStatus = RunConsole::ExitUnusable;
                return false;
            }
            dialog.autoQuit = true;
            dialog.quitWhenIdle = true;
            if (dialog.autoView) {
                stream << "vantry: -autoview needs a display; the output is not opened" << std::endl;
                dialog.autoView = false;
            }
        }
        m_pMainWnd = &dialog;
        int result = dialog.DoModal();
        m_pMainWnd = nullptr;
        console.endLine();
        // Without a display only an interrupt cancels the dialog itself.
        int ifNoRun = !display && result == gui::IDCANCEL ? RunConsole::ExitCancelled
                                                           : RunConsole::ExitDone;
        exitStatus = console.exitStatus(ifNoRun);
    } catch (const CommandLineRefused& error) {
        m_pMainWnd = nullptr;
        console.endLine();
        gui::messageBox(error.getMessage(), "Vantry", gui::Buttons::Ok, gui::Icon::Error);
        exitStatus = RunConsole::ExitUnusable;
    } catch (const VelkError& error) {
        m_pMainWnd = nullptr;
        console.endLine();
        gui::messageBox("Vantry initialization error: " + error.getMessage(), "Vantry",
                        gui::Buttons::Ok, gui::Icon::Error);
        exitStatus = RunConsole::ExitError;
    }
    return false;
}
