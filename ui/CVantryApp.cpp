#include "ui/CVantryApp.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sys/ioctl.h>
#include <unistd.h>

#include "VelkLib/VelkCmdLine.h"
#include "VelkLib/VelkError.h"
#include "VelkLib/VelkPath.h"
#include "net/NetEndpoints.h"
#include "platform/MessageBox.h"
#include "platform/TerminalText.h"
#include "platform/gui/Backend.h"
#include "platform/gui/BackendSelection.h"
#include "run/DocModule.h"
#include "run/ModuleOptionCheck.h"
#include "run/OutputFolderLock.h"
#include "run/RunDocumentation.h"
#include "ui/CVantryDlg.h"
#include "ui/CommandLineOptions.h"
#include "ui/RunConsole.h"

namespace {

int terminalWidth() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return 80;
}

// The module the run would load, as the dialog names it.
std::string chosenModule(const CVantryDlg& dialog) {
    return dialog.moduleName.empty() ? "vantry-standard" : dialog.moduleName;
}

// The getOptions text of that module ("" when it declares none), or nothing
// when the module cannot be loaded: the dialog reports that itself.
std::optional<std::string> chosenModuleOptionText(const CVantryDlg& dialog) {
    try {
        DocModule module(dialog.modulesDirectory() + "/" + chosenModule(dialog) + ".so");
        return module.optionText();
    } catch (...) {
        return std::nullopt;
    }
}

// The module options of the command line, checked against the module that
// the run will load, before anything runs: an option that the module does
// not declare is warned about, a value it cannot take is an error. Returns
// false when a value was refused.
bool checkCommandLineModuleOptions(CVantryDlg& dialog) {
    if (dialog.moduleOptions.empty()) return true;
    std::optional<std::string> optionText = chosenModuleOptionText(dialog);
    if (!optionText) return true;
    ModuleOptionCheck check = checkModuleOptions(dialog.moduleOptions, *optionText);
    for (const std::string& key : check.unknown)
        gui::messageBox("unknown option -" + terminalText(key), "Vantry", gui::Buttons::Ok, gui::Icon::Warning);
    for (const std::string& refusal : check.refused)
        gui::messageBox(refusal, "Vantry", gui::Buttons::Ok, gui::Icon::Error);
    return check.refused.empty();
}

// A module named on the command line that is not among the modules found
// ends the start, naming it and them.
void refuseMissingModule(const CVantryDlg& dialog) {
    const std::string name = chosenModule(dialog);
    std::vector<std::string> found = dialog.moduleNames();
    if (std::find(found.begin(), found.end(), name) != found.end()) return;
    std::string text = "There is no module \"" + terminalText(name) + "\" in " + terminalText(dialog.modulesDirectory());
    if (found.empty()) throw CommandLineError(text + "; there are no modules there.");
    std::string names;
    for (const std::string& module : found) names += (names.empty() ? "" : ", ") + terminalText(module);
    throw CommandLineError(text + "; the modules there are: " + names + ".");
}

bool namesModule(const VelkCmdLine& commandLine) {
    for (int i = 0; i < commandLine.flagCount; ++i)
        if (readOption(commandLine.getFlag(i)).key == "module") return true;
    return false;
}

// The program's usage text followed by the options of the chosen module.
std::string fullUsageText(const CVantryDlg& dialog) {
    return usageText(
        moduleUsageText(chosenModule(dialog), chosenModuleOptionText(dialog).value_or("")));
}

}  // namespace

CVantryApp::CVantryApp(std::vector<std::string> commandLine)
    : CWinApp("Vantry"), arguments(std::move(commandLine)) {}

bool CVantryApp::InitInstance() {
    SetRegistryKey("velkdask");
    // Before any module is loaded, so that every page credit leads where the
    // dialogs' links do; it ends after the dialog, and with it every run.
    PublishedWebSite webSite(profile());
    if (std::string warning = webSiteWarning(profile()); !warning.empty())
        gui::messageBox(warning, "Vantry", gui::Buttons::Ok, gui::Icon::Warning);
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

    std::ostream& output = outputStream != nullptr ? *outputStream : std::cout;
    try {
        CVantryDlg dialog(profile(), runStarter, &console);
        VelkCmdLine commandLine(arguments);
        switch (applyCommandLineOptions(dialog, commandLine)) {
            case CommandLineResult::Usage:
                if (namesModule(commandLine)) refuseMissingModule(dialog);
                output << fullUsageText(dialog) << std::flush;
                exitStatus = RunConsole::ExitDone;
                return false;
            case CommandLineResult::Version: exitStatus = RunConsole::ExitDone; return false;
            default: break;
        }
        // What the options name is checked before anything is asked, so
        // that no question hides a misspelt option.
        if (dialog.commandLineSettings) refuseMissingModule(dialog);
        if (!checkCommandLineModuleOptions(dialog)) {
            exitStatus = RunConsole::ExitUnusable;
            return false;
        }
        if (applyCommandLineArguments(dialog, commandLine) == CommandLineResult::Declined) {
            exitStatus = RunConsole::ExitCancelled;
            return false;
        }
        if (!display) {
            if (!dialog.autoRun) {
                const std::string& why = gui::windowsUnavailableReason();
                stream << (why.empty() ? "vantry: no display: the dialog needs one (DISPLAY is not set "
                                         "or cannot be reached)"
                                       : "vantry: no windows: the dialog needs them, but " + why)
                       << "; give -autorun to run unattended\n\n"
                       << fullUsageText(dialog) << std::flush;
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
        // An output folder that cannot be written, or that another run is
        // writing, is found before the run parses anything. Without a
        // display the program ends with the run, and holds the folder from
        // here on; the dialog's run takes it when it starts.
        std::optional<OutputFolderLock> writing;
        if (dialog.autoRun && !dialog.outputFile.empty()) {
            try {
                prepareOutputFolder(dialog.outputFile, dialog.classesDirectory);
                writing.emplace(directoryOf(dialog.outputFile));
                if (display) writing.reset();
            } catch (const VelkError& error) {
                throw CommandLineError(error.getMessage());
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
        if (!display && console.endedDone()) {
            std::error_code ignored;
            stream << "vantry: index file: "
                   << terminalText(std::filesystem::absolute(dialog.outputFile, ignored).lexically_normal().string())
                   << std::endl;
        }
    } catch (const CommandLineError& error) {
        m_pMainWnd = nullptr;
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
