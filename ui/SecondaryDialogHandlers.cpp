// The main dialog's handlers that open the secondary dialogs and take their
// values back.
#include "ui/CVantryDlg.h"

#include <vector>

#include "VelkLib/VelkError.h"
#include "platform/ProgramPath.h"
#include "platform/gui/Backend.h"
#include "ui/CmdLineDialog.h"
#include "ui/CommandLineGenerator.h"
#include "ui/FileExtensionsDialog.h"
#include "ui/ModuleOptionsDialog.h"
#include "ui/OtherOptionsDialog.h"
#include "ui/PreprocessorDefinesDialog.h"
#include "ui/ToolTips.h"
#include "ui/VantryDialogTemplate.h"

using namespace ui;

namespace {

void showError(const std::string& text) {
    gui::messageBox(text, "Vantry", gui::Buttons::Ok, gui::Icon::Error);
}

}  // namespace

void CVantryDlg::onModuleOptions() {
    if (currentModule == nullptr || !currentModule->hasOptions()) return;
    try {
        int selection = GetSelection(IDC_MODULE_LIST);
        ModuleOptionsDialog dialog(selection >= 0 ? GetEntry(IDC_MODULE_LIST, selection) : moduleName);
        std::vector<std::string> keys;
        for (const std::vector<std::string>& group : DocModule::splitOptionText(currentModule->optionText())) {
            keys.push_back(group[0]);
            dialog.addOption(group[1], optionKindOf(group[2]), group[4], group[3]);
        }
        if (dialog.DoModal() != gui::IDOK) return;
        std::map<std::string, std::string> values;
        for (std::size_t i = 0; i < keys.size() && i < dialog.values.size(); ++i)
            values[keys[i]] = dialog.values[i];
        // The module gets every value at once; only what it took is
        // remembered, so a refusal leaves the old values in place.
        DocModule::AppliedOptions applied = currentModule->applyOptions(values);
        for (const auto& [key, value] : applied.taken) setCurrentModuleOption(key, value);
        for (const std::string& refusal : applied.refused) showError(refusal);
    } catch (const VelkError& error) {
        showError(error.getMessage());
    }
}

void CVantryDlg::onPreprocessorDefines() {
    PreprocessorDefinesDialog dialog(defines);
    if (dialog.DoModal() == gui::IDOK) defines = dialog.defines;
}

void CVantryDlg::onFileExtensions() {
    FileExtensionsDialog dialog;
    dialog.extensions = fileExtensionsText();
    if (dialog.DoModal() == gui::IDOK) setFileExtensions(dialog.extensions);
}

void CVantryDlg::onOtherOptions() {
    OtherOptionsDialog dialog(commentFormat);
    dialog.includeConst = includeConst ? 1 : 0;
    dialog.useSyntaxColoring = syntaxColoring ? 1 : 0;
    dialog.syntaxColors = syntaxColors;
    dialog.namespacesGlobal = namespacesGlobal ? 1 : 0;
    dialog.tabSize = tabSize;
    dialog.mixCppCSharp = mixCppCsharp ? 1 : 0;
    dialog.includeAnonymous = includeAnonymous ? 1 : 0;
    dialog.documentPreprocessor = documentPreprocessor ? 1 : 0;
    dialog.disableToolTips = disableTooltips ? 1 : 0;
    dialog.additionalHeader = additionalHeader;
    dialog.detailDirectory = classesDirectory;
    dialog.languageMap = languageMap;
    if (dialog.DoModal() != gui::IDOK) return;
    commentFormat = dialog.commentFormat;
    includeConst = dialog.includeConst != 0;
    syntaxColoring = dialog.useSyntaxColoring != 0;
    syntaxColors = dialog.syntaxColors;
    namespacesGlobal = dialog.namespacesGlobal != 0;
    tabSize = dialog.tabSize;
    mixCppCsharp = dialog.mixCppCSharp != 0;
    includeAnonymous = dialog.includeAnonymous != 0;
    documentPreprocessor = dialog.documentPreprocessor != 0;
    disableTooltips = dialog.disableToolTips != 0;
    additionalHeader = dialog.additionalHeader;
    classesDirectory = dialog.detailDirectory;
    languageMap = dialog.languageMap;
    ui::toolTipsEnabled = !disableTooltips;
}

void CVantryDlg::onGenerateCommandLine() {
    UpdateData(true);
    int selection = GetSelection(IDC_MODULE_LIST);
    moduleName = selection >= 0 ? GetEntry(IDC_MODULE_LIST, selection) : "vantry-standard";
    std::string options;
    try {
        options = generateCommandOptions(*this);
    } catch (const VelkError& error) {
        showError(error.getMessage());
        return;
    }
    std::string program = platform::programPath();
    CmdLineDialog dialog(program, consoleProgramPath(program), options, profile);
    dialog.DoModal();
}
