#include "ui/CVantryDlg.h"


#include "VelkLib/VelkDirectory.h"
#include "VelkLib/VelkError.h"
#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkPath.h"
#include "VelkLib/VelkString.h"
#include "VelkLib/VelkTokenizer.h"
#include "platform/Shell.h"
#include "net/CEmailDialog.h"
#include "net/CUpdateDialog.h"
#include "net/NetEndpoints.h"
#include "net/UpdateCheck.h"
#include "net/UpdateSchedule.h"
#include "platform/gui/Backend.h"
#include "platform/gui/WaitCursor.h"
#include "platform/gui/FolderBrowser.h"
#include "platform/TerminalText.h"
#include "run/ColorText.h"
#include "ui/CAboutBox.h"
#include "ui/CHelpDialog.h"
#include "ui/CommandLineOptions.h"
#include "ui/CWarningsDialog.h"
#include "ui/RunCallbacks.h"
#include "ui/RunConsole.h"
#include "ui/ToolTips.h"
#include "ui/VantryDialogTemplate.h"

using namespace ui;

// The rows' edits, radios and Browse buttons, in the order Header, Footer,
// Item, Source.
struct CVantryDlg::ChoiceRow {
    int firstRadio;
    int edit;
    int browse;
    int CVantryDlg::*method;
};
using ChoiceRow = CVantryDlg::ChoiceRow;

namespace {

const char* const appCaption = "Vantry";
const char* const defaultModuleName = "vantry-standard";

void showError(const std::string& text) {
    gui::messageBox(text, appCaption, gui::Buttons::Ok, gui::Icon::Error);
}

// Opens target with the desktop shell; a target that cannot be opened is
// reported with the shell's reason.
void openWithShell(const std::string& target) {
    std::string reason;
    if (platform::shell().open(target, &reason)) return;
    showError("Could not open \"" + terminalText(target) + "\" (" + terminalText(reason) + ").");
}

void showWarning(const std::string& text) {
    gui::messageBox(text, appCaption, gui::Buttons::Ok, gui::Icon::Warning);
}

// One remembered setting: where it lives, its default and how it moves
// between the dialog and its stored form.
struct SettingRow {
    const char* section;
    const char* name;
    bool isInteger;
    const char* defaultText;
    int defaultInteger;
    std::string (*getText)(const CVantryDlg&);
    void (*setText)(CVantryDlg&, const std::string&);
    int (*getInteger)(const CVantryDlg&);
    void (*setInteger)(CVantryDlg&, int);
    bool compared;  // takes part in the change test
};

#define TEXT_ROW(section, name, fallback, field)                                              \
    SettingRow {                                                                              \
        section, name, false, fallback, 0, [](const CVantryDlg& d) { return std::string(d.field); }, \
            [](CVantryDlg& d, const std::string& v) { d.field = v; }, nullptr, nullptr, true  \
    }
#define INT_ROW(section, name, fallback, field)                                               \
    SettingRow {                                                                              \
        section, name, true, "", fallback, nullptr, nullptr,                                  \
            [](const CVantryDlg& d) { return static_cast<int>(d.field); },                    \
            [](CVantryDlg& d, int v) { d.field = v; }, true                                   \
    }
#define FLAG_ROW(section, name, fallback, field)                                              \
    SettingRow {                                                                              \
        section, name, true, "", fallback, nullptr, nullptr,                                  \
            [](const CVantryDlg& d) { return d.field ? 1 : 0; },                              \
            [](CVantryDlg& d, int v) { d.field = v != 0; }, true                              \
    }
#define FORMAT_ROW(section, name, fallback, get, set)                                         \
    SettingRow {                                                                              \
        section, name, false, fallback, 0, [](const CVantryDlg& d) { return d.get(); },       \
            [](CVantryDlg& d, const std::string& v) { d.set(v); }, nullptr, nullptr, true     \
    }

const char* const rememberedExtensionsDefault = "c,cpp,cxx,cc,h,hpp,hxx";

const char* const G = "General";
const char* const S = "SyntaxColor";

// In the order they are read and written.
const SettingRow settingRows[] = {
    TEXT_ROW(G, "ProjectName", "", title),
    TEXT_ROW(G, "CompanyName", "", company),
    INT_ROW(G, "HeaderMethod", 0, headerMethod),
    TEXT_ROW(G, "HeaderFile", "", headerText),
    INT_ROW(G, "FooterMethod", 0, footerMethod),
    TEXT_ROW(G, "FooterFile", "", footerText),
    INT_ROW(G, "ItemMethod", 0, itemMethod),
    TEXT_ROW(G, "ItemFile", "", itemText),
    INT_ROW(G, "SourceCodeDirMethod", 0, sourceMethod),
    TEXT_ROW(G, "SourceCodeDirFile", "", sourceText),
    TEXT_ROW(G, "HtmlOutput", "", outputFile),
    TEXT_ROW(G, "ProjectDirs", "", projectList),
    FLAG_ROW(G, "HierOutput", 0, hierarchical),
    FLAG_ROW(G, "InsertBR", 0, insertLineBreaks),
    FLAG_ROW(G, "IncludeConst", 0, includeConst),
    FLAG_ROW(G, "DoSyntaxColor", 1, syntaxColoring),
    TEXT_ROW(S, "CommentColor", "green", syntaxColors.comment),
    TEXT_ROW(S, "KeywordColor", "blue", syntaxColors.keyword),
    TEXT_ROW(S, "UserKeywordColor", "purple", syntaxColors.userKeyword),
    TEXT_ROW(S, "StringColor", "maroon", syntaxColors.string),
    TEXT_ROW(S, "NumberColor", "maroon", syntaxColors.number),
    TEXT_ROW(S, "OperatorColor", "black", syntaxColors.op),
    TEXT_ROW(S, "ParenColor", "black", syntaxColors.separator),
    FORMAT_ROW(S, "UserKeywords", "", userKeywordsText, setUserKeywordsText),
    FLAG_ROW(G, "NamespacesGlobal", 0, namespacesGlobal),
    INT_ROW(G, "SourceCodeTabSize", 4, tabSize),
    FLAG_ROW(G, "MixCSharp", 0, mixCppCsharp),
    FLAG_ROW(G, "IncludeAnon", 0, includeAnonymous),
    FLAG_ROW(G, "DocumentPreprocessor", 0, documentPreprocessor),
    FLAG_ROW(G, "DisableToolTips", 0, disableTooltips),
    TEXT_ROW(G, "AddlHeader", "", additionalHeader),
    FORMAT_ROW(G, "DocCommentFormat", "", commentFormatText, setCommentFormatText),
    TEXT_ROW(G, "ClassesDir", "projects", classesDirectory),
    TEXT_ROW(G, "DocModule", defaultModuleName, moduleName),
    SettingRow{G, "DefMap", false, "", 0,
               [](const CVantryDlg& d) { return d.defines.toText(); },
               [](CVantryDlg& d, const std::string& v) { d.defines = PreprocessorDefines(v); },
               nullptr, nullptr, true},
    FORMAT_ROW(G, "ModuleOptions", "", moduleOptionsText, setModuleOptionsText),
    SettingRow{G, "FileExtensions", false, rememberedExtensionsDefault, 0,
               [](const CVantryDlg& d) { return d.fileExtensionsText(); },
               [](CVantryDlg& d, const std::string& v) { d.setRememberedFileExtensions(v); },
               nullptr, nullptr, true},
    SettingRow{G, "LangMap", false,
               "c=c++,cpp=c++,cxx=c++,cc=c++,h=c++,hpp=c++,hxx=c++,java=java,cs=c#", 0,
               [](const CVantryDlg& d) { return d.languageMapText(); },
               [](CVantryDlg& d, const std::string& v) { d.setRememberedLanguageMap(v); }, nullptr,
               nullptr, true},
    SettingRow{G, "AdvancedOutput", true, "", 0, nullptr, nullptr,
               [](const CVantryDlg& d) { return d.advancedOutput; },
               [](CVantryDlg& d, int v) { d.advancedOutput = v != 0 ? 1 : 0; }, false},
};

#undef TEXT_ROW
#undef INT_ROW
#undef FLAG_ROW
#undef FORMAT_ROW

const ChoiceRow choiceRows[] = {
    {IDC_HEADER_DEFAULT, IDC_HEADER_TEXT, IDC_HEADER_BROWSE, &CVantryDlg::headerMethod},
    {IDC_FOOTER_DEFAULT, IDC_FOOTER_TEXT, IDC_FOOTER_BROWSE, &CVantryDlg::footerMethod},
    {IDC_ITEM_DEFAULT, IDC_ITEM_TEXT, IDC_ITEM_BROWSE, &CVantryDlg::itemMethod},
    {IDC_SOURCE_DEFAULT, IDC_SOURCE_TEXT, IDC_SOURCE_BROWSE, &CVantryDlg::sourceMethod},
};

const ChoiceRow* rowOfControl(int id) {
    for (const ChoiceRow& row : choiceRows)
        if (row.edit == id || row.browse == id) return &row;
    return nullptr;
}

// The secondary dialogs, each with the one handler that opens it (a button
// of the dialog, or the window menu's command). A dialog whose handler is
// not entered here yet keeps its button disabled and its menu entry out.
struct SecondaryDialog {
    int id;
    void (CVantryDlg::*open)();
};
const SecondaryDialog secondaryDialogs[] = {
    {IDC_MODULE_OPTIONS, &CVantryDlg::onModuleOptions},
    {IDC_FILE_EXTENSIONS, &CVantryDlg::onFileExtensions},
    {IDC_PREPROCESSOR_DEFS, &CVantryDlg::onPreprocessorDefines},
    {IDC_OTHER, &CVantryDlg::onOtherOptions},
    {IDC_FEEDBACK, &CVantryDlg::onFeedback},
    {IDC_UPDATE, &CVantryDlg::onUpdate},
    {ID_GENERATE_COMMAND_LINE, &CVantryDlg::onGenerateCommandLine},
};

const SecondaryDialog* secondaryDialog(int id) {
    for (const SecondaryDialog& dialog : secondaryDialogs)
        if (dialog.id == id) return &dialog;
    return nullptr;
}

bool available(int id) {
    const SecondaryDialog* dialog = secondaryDialog(id);
    return dialog != nullptr && dialog->open != nullptr;
}

const char* const htmlFileFilter =
    "HTML Files (*.htm;*.html)|*.htm; *.html|Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";

// Appends a quoted path to an input list text, on a line of its own.
void appendQuoted(std::string& list, const std::string& path) {
    if (!list.empty() && list.back() != '\n') list += "\r\n";
    list += "\"" + path + "\"";
}

bool isRelativeDirectory(const std::string& path) {
    if (path.empty()) return true;
    if (path[0] == '/' || path[0] == '\\') return false;
    return !(path.size() >= 2 && path[1] == ':');
}

}  // namespace

CVantryDlg::CVantryDlg(platform::SettingsStore& store, RunStarter* runStarter, RunConsole* console)
    : CDialog(vantryDialogTemplate), profile(store), starter(runStarter) {
    if (starter == nullptr) {
        ownStarter = std::make_unique<ThreadRunStarter>();
        starter = ownStarter.get();
    }
    runStatus.console = console;
}

CVantryDlg::~CVantryDlg() {
    // A dialog whose window is still up (a handler threw) leaves the map and
    // lets go of its run's thread before it goes.
    try {
        if (GetSafeHwnd() != nullptr) Destroy();
    } catch (...) {
        // Only a broken mutex gets here; nothing better is left to do.
    }
    currentModule = nullptr;
    loadedModules.clear();
}

void CVantryDlg::DoDataExchange(gui::CDataExchange& dx) {
    gui::DDX_Control(dx, IDC_WEB_LINK, webLink);
    gui::DDX_Text(dx, IDC_COMPANY, company);
    gui::DDX_Text(dx, IDC_TITLE, title);
    gui::DDX_Text(dx, IDC_FOOTER_TEXT, footerText);
    gui::DDX_Text(dx, IDC_HEADER_TEXT, headerText);
    gui::DDX_Text(dx, IDC_OUTPUT_FILE, outputFile);
    gui::DDX_Text(dx, IDC_ITEM_TEXT, itemText);
    gui::DDX_Text(dx, IDC_PROJECT_LIST, projectList);
    gui::DDX_Text(dx, IDC_SOURCE_TEXT, sourceText);
    gui::DDX_Radio(dx, IDC_HEADER_DEFAULT, headerMethod);
    gui::DDX_Radio(dx, IDC_ITEM_DEFAULT, itemMethod);
    gui::DDX_Radio(dx, IDC_SOURCE_DEFAULT, sourceMethod);
    gui::DDX_Radio(dx, IDC_FOOTER_DEFAULT, footerMethod);
    gui::DDX_Check(dx, IDC_HIERARCHICAL, hierarchical);
    gui::DDX_Check(dx, IDC_INSERT_BR, insertLineBreaks);
}

bool CVantryDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    registerDialog(GetSafeHwnd(), this);

    AppendMenuEntry(0, "");
    AppendMenuEntry(IDM_VISIT_WEBSITE, "&Visit Website");
    if (available(ID_GENERATE_COMMAND_LINE))
        AppendMenuEntry(ID_GENERATE_COMMAND_LINE, "&Generate Command Line...");
    AppendMenuEntry(0, "");
    AppendMenuEntry(IDM_ABOUTBOX, "&About Vantry...");
    SetIcon(IDR_MAINFRAME);
    webLink.url = siteLinkAddress(profile);
    SetDlgItemText(IDC_WEB_LINK, webSiteName(profile));
    EnableToolTips(true);

    bool advanced;
    if (!commandLineSettings) {
        readSettings();
        advanced = advancedOutput != 0;
    } else {
        setDefaultFileExtensions();
        setDefaultLanguageMap();
        if (moduleName.empty()) moduleName = defaultModuleName;
        advanced = advancedWanted();
    }
    UpdateData(false);

    listModules();
    int index = FindEntry(IDC_MODULE_LIST, moduleName.empty() ? defaultModuleName : moduleName);
    SetSelection(IDC_MODULE_LIST, index);
    onModuleSelected();

    // The template holds the Advanced layout.
    advancedOutput = 1;
    if (!advanced) toggleAdvanced();
    applyEnableRules();

    if (autoRun) {
        ShowWindow();
        onRun();
        if (!isRunning && quitWhenIdle)
            platform::PostMessage(GetSafeHwnd(), WM_RUN_QUIT_REQUEST, 0, 0);
        return true;
    }
    startUpdateCheck();
    ui::toolTipsEnabled = !disableTooltips;
    return true;
}

void CVantryDlg::startUpdateCheck() {
    // Without a display nobody could answer; the first start with one
    // still gets the offer.
    if (!gui::backend().hasDisplay()) return;
    if (profile.getInt("General", "HasRun", 0) == 0) {
        profile.writeInt("General", "HasRun", 1);
        profile.save(nullptr);
        // Shown once the main window is up, on top of it.
        platform::PostMessage(GetSafeHwnd(), WM_UPDATE_OFFER, 0, 0);
    } else if (daysUntilNextUpdate(profile, secondsNow()) == 0 && isAutoCheckEnabled(profile)) {
        // The transfer runs beside the dialog, so a slow or unreachable host
        // never holds the start-up.
        updateCheck = std::make_unique<BackgroundUpdateCheck>(
            GetSafeHwnd(), WM_UPDATE_CHECKED, versionFileAddress(profile), updateFetchLimits());
    }
}


void CVantryDlg::toggleAdvanced() {
    advancedOutput = advancedOutput != 0 ? 0 : 1;
    bool advanced = advancedOutput != 0;
    int shift = advanced ? -advancedShift : advancedShift;
    gui::Rect box = GetControlRect(IDC_CUSTOMIZATION_GROUP);
    box.height -= shift;
    MoveControl(IDC_CUSTOMIZATION_GROUP, box);
    gui::Rect window = GetWindowRect();
    window.height -= shift;
    SetWindowRect(window);
    for (int id : advancedOnlyControls) ShowControl(id, advanced);
    for (int id : layoutMovedControls) {
        gui::Rect rect = GetControlRect(id);
        rect.y -= shift;
        MoveControl(id, rect);
    }
    SetDlgItemText(IDC_ADVANCED, advanced ? "<<" : "Advanced");
}

void CVantryDlg::onRowBrowse(int browseId) {
    const ChoiceRow* row = rowOfControl(browseId);
    if (row == nullptr) return;
    SetRadioIndex(row->firstRadio, MethodCustom);
    std::string current = GetDlgItemText(row->edit);
    if (row->edit == IDC_SOURCE_TEXT) {
        // The source-code row names a directory: a file would be no answer.
        std::string folder;
        if (gui::browseForFolder(this, folder, current, "")) SetDlgItemText(row->edit, folder);
    } else {
        gui::FileChooser request;
        request.filter = htmlFileFilter;
        request.mustExist = true;
        if (!isHtmlFragment(current)) request.initialPath = current;
        std::vector<std::string> chosen;
        if (gui::backend().chooseFiles(this, request, chosen)) SetDlgItemText(row->edit, chosen.front());
    }
    applyEnableRules();
}

void CVantryDlg::onOutputBrowse() {
    gui::FileChooser request;
    request.save = true;
    request.filter = htmlFileFilter;
    request.defaultExtension = "htm";
    request.initialPath = GetDlgItemText(IDC_OUTPUT_FILE);
    request.overwritePrompt = true;
    std::vector<std::string> chosen;
    if (!gui::backend().chooseFiles(this, request, chosen)) return;
    SetDlgItemText(IDC_OUTPUT_FILE, chosen.front());
    applyEnableRules();
}

void CVantryDlg::onAddFiles() {
    std::string patterns;
    std::string spaced;
    for (const std::string& extension : extensions) {
        if (!patterns.empty()) {
            patterns += ";";
            spaced += "; ";
        }
        patterns += "*." + extension;
        spaced += "*." + extension;
    }
    gui::FileChooser request;
    request.filter = "Valid Files (" + patterns + ")|" + spaced + "|All Files (*.*)|*.*||";
    request.multiSelect = true;
    request.mustExist = true;
    std::vector<std::string> chosen;
    if (!gui::backend().chooseFiles(this, request, chosen)) return;
    std::string list = GetDlgItemText(IDC_PROJECT_LIST);
    for (const std::string& path : chosen) appendQuoted(list, path);
    SetDlgItemText(IDC_PROJECT_LIST, list);
}

void CVantryDlg::onAddDirectory() {
    UpdateData(true);
    std::string start;
    try {
        start = getCurrentDirectory();
    } catch (const VelkError&) {
        // The chooser then opens where it likes.
    }
    std::string folder;
    if (!gui::browseForFolder(this, folder, start, "")) return;
    std::string list = projectList;
    appendQuoted(list, folder);
    SetDlgItemText(IDC_PROJECT_LIST, list);
}

void CVantryDlg::onView() {
    std::string file = GetDlgItemText(IDC_OUTPUT_FILE);
    if (!fileExists(file)) {
        showError("The file \"" + terminalText(file) + "\" does not exist.");
        return;
    }
    gui::CWaitCursor wait;
    openWithShell(file);
}

bool CVantryDlg::onSysCommand(int command) {
    switch (command) {
        case IDM_ABOUTBOX: {
            CAboutBox about(&profile);
            about.DoModal();
            return true;
        }
        case IDM_VISIT_WEBSITE: {
            gui::CWaitCursor wait;
            openWithShell(endpointValue(NetEndpoint::WebSite, profile));
            return true;
        }
        case ID_GENERATE_COMMAND_LINE:
            if (available(command)) (this->*secondaryDialog(command)->open)();
            return true;
        default:
            return false;
    }
}

bool CVantryDlg::canOpen(int id) { return available(id); }

std::string CVantryDlg::helpText() const {
    int selection = GetSelection(IDC_MODULE_LIST);
    std::string name = selection >= 0 ? GetEntry(IDC_MODULE_LIST, selection) : std::string();
    const char* optionText = nullptr;
    if (!name.empty() && currentModule != nullptr && currentModule->procGetOptions() != nullptr)
        optionText = currentModule->procGetOptions()(currentModule->getHandle());
    return usageText(moduleUsageText(name, optionText != nullptr ? optionText : ""));
}

void CVantryDlg::onHelp() {
    CHelpDialog help(helpText());
    help.DoModal();
}

void CVantryDlg::onFeedback() { CEmailDialog(profile).DoModal(); }

void CVantryDlg::onUpdate() { CUpdateDialog(profile).DoModal(); }

bool CVantryDlg::OnToolTipNeedText(int id, std::string& text) { return ui::onToolTipNeedText(id, text); }

bool CVantryDlg::advancedWanted() const {
    return headerMethod != MethodDefault || footerMethod != MethodDefault ||
           itemMethod != MethodDefault || sourceMethod != MethodDefault || hierarchical != 0;
}

void CVantryDlg::listModules() {
    std::vector<std::string> names = moduleNames();
    if (names.empty()) {
        showError("There are no modules in " + terminalText(modulesDirectory()) + ".");
        return;
    }
    for (const std::string& name : names) AddEntry(IDC_MODULE_LIST, name);
}

void CVantryDlg::onModuleSelected() {
    int selection = GetSelection(IDC_MODULE_LIST);
    if (selection >= 0) {
        std::string name = GetEntry(IDC_MODULE_LIST, selection);
        auto found = loadedModules.find(name);
        if (found != loadedModules.end()) {
            currentModule = found->second.get();
        } else {
            // A module that fails to load leaves no module current, so a
            // run cannot go to a stale one.
            currentModule = nullptr;
            try {
                // Remembered values come from a file that anyone may have
                // edited: what the module refuses is said, and forgotten.
                std::vector<std::string> refused;
                std::unique_ptr<DocModule> module =
                    loadModule(modulesDirectory() + "/" + name + ".so", &refused);
                currentModule = module.get();
                loadedModules[name] = std::move(module);
                for (const std::string& refusal : refused) showWarning(refusal);
            } catch (const VelkError& error) {
                currentModule = nullptr;
                showError(error.getMessage());
                SetSelection(IDC_MODULE_LIST, -1);
            }
        }
    }
    applyEnableRules();
}

void CVantryDlg::applyEnableRules() {
    UpdateData(true);
    for (const ChoiceRow& row : choiceRows) {
        EnableControl(row.edit, this->*row.method == MethodCustom);
        enableRowBrowse(row);
    }
    EnableControl(IDC_VIEW, !outputFile.empty());
    EnableControl(IDC_TITLE, headerMethod == MethodDefault);
    EnableControl(IDC_COMPANY, headerMethod == MethodDefault);
    for (const SecondaryDialog& dialog : secondaryDialogs)
        if (dialog.open == nullptr && hasControl(dialog.id)) EnableControl(dialog.id, false);
    EnableControl(IDC_MODULE_OPTIONS, available(IDC_MODULE_OPTIONS) && currentModule != nullptr &&
                                          currentModule->hasOptions());
}

void CVantryDlg::enableRowBrowse(const ChoiceRow& row) {
    // A fragment is no file to browse for; the source-code row names a
    // directory, never a fragment.
    if (row.edit != IDC_SOURCE_TEXT) EnableControl(row.browse, !isHtmlFragment(GetDlgItemText(row.edit)));
}

std::string CVantryDlg::textChoice(int method, int editId) const {
    switch (method) {
        case MethodDefault: return "";
        case MethodNone: return "?";
        case MethodCustom: return GetDlgItemText(editId);
        default: return "";
    }
}

void CVantryDlg::refuseRun(const std::string& message, int focusId) {
    if (focusId != 0) GotoDlgCtrl(focusId);
    returnToIdle();
    if (runStatus.console != nullptr) runStatus.console->runRefused();
    showError(message);
}

void CVantryDlg::returnToIdle() {
    isRunning = false;
    {
        VelkMutexLock lock(&runStatus.dialogMutex);
        runStatus.cancelRequested = false;
    }
    EnableControl(IDC_RUN, true);
    SetDlgItemText(gui::IDOK, "Close");
}

void CVantryDlg::onRun() {
    UpdateData(true);
    if (isRunning) {
        showWarning("Processing is already in progress.  Click Cancel to stop.");
        return;
    }
    EnableControl(IDC_RUN, false);
    SetDlgItemText(gui::IDOK, "Cancel");
    isRunning = true;

    try {
        RunParameters parameters;
        parameters.header = textChoice(headerMethod, IDC_HEADER_TEXT);
        parameters.footer = textChoice(footerMethod, IDC_FOOTER_TEXT);
        parameters.itemTemplate = textChoice(itemMethod, IDC_ITEM_TEXT);
        parameters.sourceListingDirectory = textChoice(sourceMethod, IDC_SOURCE_TEXT);
        parameters.outputFile = GetDlgItemText(IDC_OUTPUT_FILE);
        parameters.fileList = GetDlgItemText(IDC_PROJECT_LIST);

        struct Check {
            bool failed;
            const char* message;
            int focus;
        };
        // The rules that the command line applies to the same values.
        const std::string climbingOut =
            isRelativeDirectory(classesDirectory)
                ? siteFolderRefusal("the detail HTML pages directory", classesDirectory)
                : "";
        const Check checks[] = {
            {headerMethod == MethodCustom && parameters.header.empty(),
             "Please enter a filename or HTML fragment for the HTML header.", IDC_HEADER_TEXT},
            {footerMethod == MethodCustom && parameters.footer.empty(),
             "Please enter a filename or HTML fragment for the HTML footer.", IDC_FOOTER_TEXT},
            {itemMethod == MethodCustom && parameters.itemTemplate.empty(),
             "Please enter a filename or HTML fragment for the HTML per-item template.",
             IDC_ITEM_TEXT},
            {sourceMethod == MethodCustom && GetDlgItemText(IDC_SOURCE_TEXT).empty(),
             "Please enter a value for the source-code directory.", IDC_SOURCE_TEXT},
            {parameters.fileList.empty(),
             "Please enter a list of directories or files to process.", IDC_PROJECT_LIST},
            {parameters.outputFile.empty(), "Please enter an HTML output file.", IDC_OUTPUT_FILE},
            {currentModule == nullptr, "Please choose a documentation module.", IDC_MODULE_LIST},
            {!isRelativeDirectory(classesDirectory),
             "Please enter a relative path for the detail HTML pages directory.", 0},
            {!climbingOut.empty(), climbingOut.c_str(), 0},
            // Remembered colours come from a file that anyone may have edited.
            {syntaxColoring && !allColorTexts(syntaxColors),
             "Please enter a colour name or # and six hexadecimal digits for each syntax color "
             "(Other Options, Colors and Keywords).",
             0},
        };
        for (const Check& check : checks) {
            if (check.failed) {
                refuseRun(check.message, check.focus);
                return;
            }
        }
        // A file named as a page text that cannot be read would fail the
        // run only once every source is parsed.
        const struct {
            int method;
            const std::string& text;
            const char* label;
            int focus;
        } pageTexts[] = {
            {headerMethod, parameters.header, "HTML header", IDC_HEADER_TEXT},
            {footerMethod, parameters.footer, "HTML footer", IDC_FOOTER_TEXT},
            {itemMethod, parameters.itemTemplate, "Item HTML", IDC_ITEM_TEXT},
        };
        for (const auto& page : pageTexts) {
            if (page.method != MethodCustom) continue;
            if (std::string refusal = pageTextRefusal(page.text); !refusal.empty()) {
                refuseRun(std::string(page.label) + ": " + refusal, page.focus);
                return;
            }
        }

        parameters.status = runStatusCallback;
        parameters.log = runLogCallback;
        parameters.progress = runProgressCallback;
        parameters.window = GetSafeHwnd();
        parameters.title = title;
        parameters.company = company;
        parameters.detailDirectory = classesDirectory;
        parameters.hierarchicalIndex = IsDlgButtonChecked(IDC_HIERARCHICAL) != 0;
        parameters.additionalHead = additionalHeader;
        parameters.defines = defines;
        parameters.extensions = extensions;
        parameters.languageMap = languageMap;
        parameters.detailDirectoryGiven = !classesDirectory.empty();
        parameters.lineBreaks = IsDlgButtonChecked(IDC_INSERT_BR) != 0;
        SourceListingSettings& listing = parameters.listingSettings;
        listing.includeConst = includeConst;
        listing.namespacesGlobal = namespacesGlobal;
        listing.includeAnonymous = includeAnonymous;
        listing.documentPreprocessor = documentPreprocessor;
        listing.noDocumentMarker = noDocumentMarker;
        listing.onlyDocumentMarker = onlyDocumentMarker;
        listing.syntaxColor = syntaxColoring;
        listing.colors = syntaxColors;
        listing.mixCppCsharp = mixCppCsharp;
        listing.tabSize = tabSize;
        parameters.commentFormat = commentFormat;
        parameters.module = currentModule;
        parameters.autoView = autoView;
        parameters.autoQuit = autoQuit;

        // No earlier run reports any more: its thread let go before the
        // Run button came back.
        clearWarningsText();
        {
            VelkMutexLock lock(&runStatus.dialogMutex);
            runStatus.postedPercent = -1;
        }
        if (runStatus.console != nullptr) runStatus.console->runStarted();
        auto gate = std::make_shared<RunGate>(GetSafeHwnd());
        starter->start(parameters, gate);
        activeRun = gate;
    } catch (const VelkError& error) {
        returnToIdle();
        if (runStatus.console != nullptr) runStatus.console->runRefused();
        showError(error.getMessage());
    }
}

void CVantryDlg::OnOK() {
    if (isRunning) {
        {
            VelkMutexLock lock(&runStatus.dialogMutex);
            runStatus.statusLine1 = "Cancelling.  Please wait...";
            runStatus.cancelRequested = true;
        }
        onStatusLine1();
        return;
    }
    if (saveSettings(false)) EndDialog(gui::IDOK);
}

void CVantryDlg::OnCancel() {
    if (isRunning) {
        VelkMutexLock lock(&runStatus.dialogMutex);
        runStatus.statusLine1 = "Cancelling.  Please wait...";
        runStatus.cancelRequested = true;
        return;
    }
    EndDialog(gui::IDCANCEL);
}

void CVantryDlg::OnClose() {
    if (saveSettings(true)) EndDialog(gui::IDCANCEL);
}

void CVantryDlg::OnDestroy() {
    if (activeRun != nullptr && !activeRun->isOpen()) {
        {
            VelkMutexLock lock(&runStatus.dialogMutex);
            runStatus.cancelRequested = true;
        }
        activeRun->wait();
    }
    updateCheck.reset();
    currentModule = nullptr;
    loadedModules.clear();
    unregisterDialog(GetSafeHwnd());
    CDialog::OnDestroy();
}

bool CVantryDlg::OnCommand(int id, unsigned notification) {
    if ((id == IDC_RUN || id == ID_RUN_COMMAND) && notification == gui::BN_CLICKED) {
        onRun();
        return true;
    }
    if (id == IDC_MODULE_LIST && notification == gui::CBN_SELCHANGE) {
        onModuleSelected();
        return true;
    }
    bool rowRadio = (id >= IDC_HEADER_DEFAULT && id <= IDC_FOOTER_CUSTOM) || id == IDC_SOURCE_DEFAULT;
    if ((rowRadio && notification == gui::BN_CLICKED) ||
        (id == IDC_OUTPUT_FILE && notification == gui::EN_CHANGE)) {
        applyEnableRules();
        return true;
    }
    if (notification == gui::EN_CHANGE &&
        (id == IDC_HEADER_TEXT || id == IDC_FOOTER_TEXT || id == IDC_ITEM_TEXT)) {
        UpdateData(true);
        enableRowBrowse(*rowOfControl(id));
        return true;
    }
    if (notification != gui::BN_CLICKED) return CDialog::OnCommand(id, notification);
    switch (id) {
        case IDC_HEADER_BROWSE:
        case IDC_FOOTER_BROWSE:
        case IDC_ITEM_BROWSE:
        case IDC_SOURCE_BROWSE: onRowBrowse(id); return true;
        case IDC_OUTPUT_BROWSE: onOutputBrowse(); return true;
        case IDC_ADD_FILES: onAddFiles(); return true;
        case IDC_ADD_DIRECTORY: onAddDirectory(); return true;
        case IDC_VIEW: onView(); return true;
        case IDC_ADVANCED: toggleAdvanced(); return true;
        case gui::IDHELP: onHelp(); return true;
        default: break;
    }
    if (const SecondaryDialog* dialog = secondaryDialog(id)) {
        // The worker uses the module's options while a run goes on.
        if (id == IDC_MODULE_OPTIONS && isRunning) {
            showWarning("Processing is already in progress.  Click Cancel to stop.");
            return true;
        }
        if (dialog->open != nullptr) (this->*dialog->open)();
        return true;
    }
    return CDialog::OnCommand(id, notification);
}

bool CVantryDlg::OnMessage(const platform::WindowMessage& message) {
    switch (message.message) {
        case WM_RUN_STATUS_LINE1: onStatusLine1(); return true;
        case WM_RUN_STATUS_LINE2: onStatusLine2(); return true;
        case WM_RUN_PROGRESS: onProgress(static_cast<int>(message.lParam)); return true;
        case WM_RUN_STOPPED: onRunStopped(); return true;
        case WM_RUN_QUIT_REQUEST: onQuitRequest(); return true;
        case WM_RUN_SHOW_WARNINGS: onShowWarnings(); return true;
        case WM_RUN_THREAD_GONE: onRunThreadGone(); return true;
        case WM_UPDATE_OFFER: CUpdateDialog(profile).DoModal(); return true;
        case WM_UPDATE_CHECKED:
            if (updateCheck && updateCheck->finish(profile)) updateCheck.reset();
            return true;
        case gui::WM_SYSCOMMAND:
            return onSysCommand(static_cast<int>(message.wParam)) || CDialog::OnMessage(message);
        default: return CDialog::OnMessage(message);
    }
}

void CVantryDlg::onStatusLine1() {
    std::string text;
    {
        VelkMutexLock lock(&runStatus.dialogMutex);
        text = runStatus.statusLine1;
        runStatus.line1Pending = false;
    }
    SetDlgItemText(IDC_STATUS_LINE1, abbreviatePath(text));
}

void CVantryDlg::onStatusLine2() {
    std::string text;
    {
        VelkMutexLock lock(&runStatus.dialogMutex);
        text = runStatus.statusLine2;
        runStatus.line2Pending = false;
    }
    SetDlgItemText(IDC_STATUS_LINE2, abbreviatePath(text));
}

void CVantryDlg::onProgress(int percent) {
    SetProgressPosition(IDC_PROGRESS, percent);
    SetWindowText(percent == 0 ? std::string(appCaption)
                               : std::to_string(percent) + "% (Vantry Processing)");
}

void CVantryDlg::onRunStopped() {
    returnToIdle();
    SetDlgItemText(IDC_RUN, "Go");
    // A run that ended early (cancelled, failed) never reported its last
    // percentage: the window must not go on saying that it is working.
    onProgress(0);
    if (runStatus.console != nullptr) runStatus.console->runStopped();
}

void CVantryDlg::onQuitRequest() {
    if (!IsEnded()) OnOK();
}

void CVantryDlg::onShowWarnings() {
    std::string text = warningsText();
    if (text.empty()) return;
    if (runStatus.console != nullptr) runStatus.console->endLine();
    if (!gui::backend().hasDisplay()) {
        gui::backend().showReport("Warnings:", text);
        return;
    }
    CWarningsDialog warnings(text, this);
    warnings.DoModal();
}

void CVantryDlg::onRunThreadGone() {
    if (quitWhenIdle && !isRunning) onQuitRequest();
}

// ---- Settings memory ----

std::string CVantryDlg::userKeywordsText() const {
    std::string text;
    for (const std::string& keyword : syntaxColors.userKeywords) {
        if (!text.empty()) text += ",";
        text += keyword;
    }
    return text;
}

void CVantryDlg::setUserKeywordsText(const std::string& text) {
    syntaxColors.userKeywords.clear();
    VelkTokenizer tokens(text, ",");
    while (tokens.hasMoreTokens()) {
        std::string keyword = tokens.nextToken('\0', '\\');
        if (!keyword.empty()) syntaxColors.userKeywords.insert(keyword);
    }
}

std::string CVantryDlg::moduleOptionsText() const {
    // Values waiting for a module that takes options are kept beside those
    // of every loaded module, whichever module is selected now.
    std::string text;
    for (const auto& [key, value] : rememberedModuleOptions()) text += key + "=" + value + "\r\n";
    return text;
}

void CVantryDlg::setModuleOptionsText(const std::string& text) {
    // Lines end at "\r\n" only; no escape character, so a value ending in a
    // backslash keeps it and the next line stays a line of its own.
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        std::size_t equals = line.find('=');
        if (equals != std::string::npos) moduleOptions[line.substr(0, equals)] = line.substr(equals + 1);
        start = end + 2;
    }
}

std::string CVantryDlg::commentFormatText() const {
    if (commentFormat == DocCommentFormat()) return "";
    const DocCommentFormat& f = commentFormat;
    std::string text = f.getPrimaryStart() + ";" + f.getPrimaryMiddle() + ";" + f.getPrimaryEnd();
    if (!f.getSecondaryStart().empty())
        text += ";" + f.getSecondaryStart() + ";" + f.getSecondaryMiddle() + ";" + f.getSecondaryEnd();
    return text;
}

void CVantryDlg::setCommentFormatText(const std::string& text) {
    try {
        commentFormat.parse(text);
    } catch (const VelkError&) {
        // A stored format that cannot be read takes the default.
        commentFormat.setDefaults();
    }
}

std::string CVantryDlg::fileExtensionsText() const {
    std::string text;
    for (const std::string& extension : extensions) {
        if (!text.empty()) text += ",";
        text += extension;
    }
    return text;
}

void CVantryDlg::setRememberedFileExtensions(const std::string& text) {
    setFileExtensions(text);
    std::string refusal = unusableExtensionsText(text);
    if (refusal.empty()) return;
    const auto leftOut =
        std::erase_if(extensions, [](const std::string& extension) { return !extensionCanMatch(extension); });
    if (extensions.empty()) setFileExtensions(rememberedExtensionsDefault);
    showWarning(refusal + (leftOut == 1 ? " It is" : " They are") +
                " left out of the remembered file extensions.");
}

void CVantryDlg::setRememberedLanguageMap(const std::string& text) {
    setLanguageMap(text);
    if (std::string warning = unknownLanguagesText(text); !warning.empty())
        showWarning("The remembered language map: " + warning);
}

std::string CVantryDlg::languageMapText() const {
    std::string text;
    for (const auto& [extension, language] : languageMap) {
        if (!text.empty()) text += ",";
        const char* word = language == 0 ? "cpp" : language == 1 ? "csharp" : language == 2 ? "java" : "unknown";
        text += extension + "=" + word;
    }
    return text;
}

void CVantryDlg::readSettings() {
    for (const SettingRow& row : settingRows) {
        if (row.isInteger)
            row.setInteger(*this, profile.getInt(row.section, row.name, row.defaultInteger));
        else
            row.setText(*this, profile.getString(row.section, row.name, row.defaultText));
    }
}

bool CVantryDlg::settingsChanged() const {
    for (const SettingRow& row : settingRows) {
        if (!row.compared) continue;
        if (row.isInteger ? profile.getInt(row.section, row.name, -1) != row.getInteger(*this)
                          : profile.getString(row.section, row.name, "") != row.getText(*this))
            return true;
    }
    return false;
}

void CVantryDlg::writeSettings() {
    for (const SettingRow& row : settingRows) {
        if (row.isInteger)
            profile.writeInt(row.section, row.name, row.getInteger(*this));
        else
            profile.writeText(row.section, row.name, row.getText(*this));
    }
}

bool CVantryDlg::saveSettings(bool ask) {
    if (isRunning) {
        showWarning("Processing is in progress.  Click Cancel to stop.");
        return false;
    }
    UpdateData(true);
    if (commandLineSettings) return true;
    int selection = GetSelection(IDC_MODULE_LIST);
    moduleName = selection >= 0 ? GetEntry(IDC_MODULE_LIST, selection) : defaultModuleName;
    if (ask && settingsChanged() &&
        gui::messageBox("Do you want to remember these settings?", "Save Settings",
                        gui::Buttons::YesNo, gui::Icon::Question) != gui::Answer::Yes)
        return true;
    writeSettings();
    std::string error;
    if (!profile.save(&error)) showError(error);
    return true;
}
