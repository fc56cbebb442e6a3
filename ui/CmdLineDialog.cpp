#include "ui/CmdLineDialog.h"

#include <span>
#include <vector>

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkString.h"
#include "platform/gui/Backend.h"
#include "ui/CommandLineGenerator.h"
#include "ui/SecondaryDialogTemplates.h"

using namespace ui;

namespace {

const char* const section = "CmdLineDialog";

// The remembered values, in the order they are read and written.
struct RememberedValue {
    const char* name;
    int CmdLineDialog::*value;
};
const RememberedValue rememberedValues[] = {
    {"Interface", &CmdLineDialog::interfaceKind}, {"AutoQuit", &CmdLineDialog::autoQuit},
    {"AutoRun", &CmdLineDialog::autoRun},         {"AutoView", &CmdLineDialog::autoView},
    {"Overwrite", &CmdLineDialog::overwrite},     {"Percent", &CmdLineDialog::percent},
    {"Quiet", &CmdLineDialog::quiet},             {"Verbose", &CmdLineDialog::verbose},
    {"Pause", &CmdLineDialog::pause},
};

// The boxes, with the switch each adds to the command ("" for none) and the
// program it belongs to; in the order the switches are written. Overwrite
// belongs to both programs and so stands in both lists.
struct Switch {
    int box;
    int CmdLineDialog::*value;
    const char* word;
};
const Switch standardSwitches[] = {
    {IDC_CMD_AUTORUN, &CmdLineDialog::autoRun, "autorun"},
    {IDC_CMD_AUTOVIEW, &CmdLineDialog::autoView, "autoview"},
    {IDC_CMD_OVERWRITE, &CmdLineDialog::overwrite, "overwrite"},
    {IDC_CMD_AUTOQUIT, &CmdLineDialog::autoQuit, "autoquit"},
};
const Switch consoleSwitches[] = {
    {IDC_CMD_PERCENT, &CmdLineDialog::percent, "percent"},
    {IDC_CMD_VERBOSE, &CmdLineDialog::verbose, "verbose"},
    {IDC_CMD_QUIET, &CmdLineDialog::quiet, "quiet"},
    {IDC_CMD_OVERWRITE, &CmdLineDialog::overwrite, "overwrite"},
    {IDC_CMD_PAUSE, &CmdLineDialog::pause, ""},
};

const int allBoxes[] = {IDC_CMD_AUTORUN, IDC_CMD_AUTOVIEW, IDC_CMD_AUTOQUIT, IDC_CMD_OVERWRITE,
                        IDC_CMD_PERCENT, IDC_CMD_VERBOSE,  IDC_CMD_QUIET,    IDC_CMD_PAUSE};

}  // namespace

const char* const CmdLineDialog::pauseLine = "printf 'Press Enter to continue . . . '; read -r answer";

CmdLineDialog::CmdLineDialog(std::string program, std::string console, std::string options,
                             platform::SettingsStore& settings)
    : CDialog(commandLineDialogTemplate),
      programPath(std::move(program)),
      consolePath(std::move(console)),
      optionText(std::move(options)),
      store(settings) {
    for (const RememberedValue& row : rememberedValues)
        this->*row.value = store.getInt(section, row.name, 0);
}

void CmdLineDialog::DoDataExchange(gui::CDataExchange& dx) {
    gui::DDX_Text(dx, IDC_CMD_COMMAND, commandText);
    gui::DDX_Radio(dx, IDC_CMD_STANDARD, interfaceKind);
    gui::DDX_Check(dx, IDC_CMD_AUTOQUIT, autoQuit);
    gui::DDX_Check(dx, IDC_CMD_AUTORUN, autoRun);
    gui::DDX_Check(dx, IDC_CMD_AUTOVIEW, autoView);
    gui::DDX_Check(dx, IDC_CMD_OVERWRITE, overwrite);
    gui::DDX_Check(dx, IDC_CMD_PERCENT, percent);
    gui::DDX_Check(dx, IDC_CMD_QUIET, quiet);
    gui::DDX_Check(dx, IDC_CMD_VERBOSE, verbose);
    gui::DDX_Check(dx, IDC_CMD_PAUSE, pause);
}

bool CmdLineDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    composeCommand();
    return true;
}

void CmdLineDialog::composeCommand() {
    UpdateData(true);
    bool console = interfaceKind == 1;
    const auto& switches = console ? std::span<const Switch>(consoleSwitches)
                                   : std::span<const Switch>(standardSwitches);
    for (int box : allBoxes) {
        bool enable = false;
        for (const Switch& item : switches) enable = enable || item.box == box;
        EnableControl(box, enable);
    }
    std::string command = shellWord(console ? consolePath : programPath) + " ";
    for (const Switch& item : switches)
        if (this->*item.value != 0 && item.word[0] != '\0') command += "-" + std::string(item.word) + " ";
    command += optionText + "\r\n";
    if (console && pause != 0) command += std::string(pauseLine) + "\r\n";
    commandText = command;
    SetDlgItemText(IDC_CMD_COMMAND, command);
}

void CmdLineDialog::OnOK() {
    UpdateData(true);
    for (const RememberedValue& row : rememberedValues) store.writeInt(section, row.name, this->*row.value);
    std::string error;
    if (!store.save(&error))
        gui::messageBox(error, "Vantry", gui::Buttons::Ok, gui::Icon::Error);
    CDialog::OnOK();
}

bool CmdLineDialog::OnCommand(int id, unsigned notification) {
    if (notification == gui::BN_CLICKED) {
        if (id == IDC_CMD_SAVE) {
            saveBatchFile();
            return true;
        }
        if (id == IDC_CMD_STANDARD || id == IDC_CMD_PURE) {
            composeCommand();
            return true;
        }
        for (int box : allBoxes) {
            if (box == id) {
                composeCommand();
                return true;
            }
        }
    }
    return CDialog::OnCommand(id, notification);
}

void CmdLineDialog::saveBatchFile() {
    gui::FileChooser request;
    request.save = true;
    request.filter = "Shell Scripts (*.sh)|*.sh|All Files (*.*)|*.*||";
    request.defaultExtension = "sh";
    request.overwritePrompt = true;
    std::vector<std::string> chosen;
    if (!gui::backend().chooseFiles(this, request, chosen) || chosen.empty()) return;
    const std::string& path = chosen.front();
    UpdateData(true);
    VelkString script = commandText;
    script.replaceAll("\r\n", "\n");
    std::string text = script;
    if (text.rfind("#!", 0) != 0) text = "#!/bin/sh\n" + text;
    text += "\n";
    try {
        writeFileReplacing(path, text, 0755);
    } catch (const VelkError& error) {
        gui::messageBox(error.getMessage(), "Vantry", gui::Buttons::Ok, gui::Icon::Error);
    }
}
