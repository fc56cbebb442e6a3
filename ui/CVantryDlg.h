// The main dialog: the settings of a documentation job, remembered in the
// settings store, run on a worker thread with progress, status and cancel.
//
// Threads: everything runs on the dialog's thread except what the run's
// callbacks touch (runStatus, under its mutex).
#pragma once

#include <map>
#include <memory>
#include <string>

#include "VelkLib/VelkMutex.h"
#include "platform/SettingsStore.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/LinkText.h"
#include "run/DocModule.h"
#include "run/SyntaxColorSettings.h"
#include "run/VantryBase.h"
#include "ui/RunStarter.h"

class BackgroundUpdateCheck;
class RunConsole;

// The start-up's update messages: show the first start's offer; the
// periodic check's transfer is over.
constexpr unsigned WM_UPDATE_OFFER = platform::WM_USER + 8;
constexpr unsigned WM_UPDATE_CHECKED = platform::WM_USER + 9;

// What the run's callbacks share with the dialog.
//
// The status lines hold the texts as the run reported them; the dialog
// shortens them with abbreviatePath when it shows them. A status message is
// posted only while none of its kind waits in the queue (its flag is set
// from the post until the dialog takes the text), so a run that reports
// thousands of statuses wakes the dialog's thread a few times, and the
// dialog still ends up showing the latest text. Progress is posted only when
// the percentage differs from the last one posted.
struct RunStatus {
    VelkMutex dialogMutex;  // guards everything up to the console
    bool cancelRequested = false;
    std::string statusLine1;
    std::string statusLine2;
    bool line1Pending = false;
    bool line2Pending = false;
    int postedPercent = -1;  // -1: none posted in this run yet
    // Follows the run outside the controls; may be null. Not owned.
    RunConsole* console = nullptr;
};

// The method of a Default/None/Custom row: the ticked radio's index.
enum RowMethod { MethodDefault = 0, MethodNone = 1, MethodCustom = 2 };

// Commands of the window's menu (with ID_GENERATE_COMMAND_LINE).
enum VantryMenuCommand : int {
    IDM_ABOUTBOX = 0x10,
    IDM_VISIT_WEBSITE = 0x30,
};

class CVantryDlg : public gui::CDialog, public VantryBase {
public:
    // profile: where the settings are remembered; starter: how runs start
    // (null: on a RunThread); console: follows runs (may be null). All three
    // must outlive the dialog.
    CVantryDlg(platform::SettingsStore& profile, RunStarter* starter = nullptr,
               RunConsole* console = nullptr);
    ~CVantryDlg() override;

    bool OnInitDialog() override;
    void DoDataExchange(gui::CDataExchange& dx) override;
    // During a run both ask the run to stop (OnOK shows "Cancelling.  Please
    // wait..." at once). Otherwise OnOK saves the settings without a question
    // and closes; OnCancel closes without saving.
    void OnOK() override;
    void OnCancel() override;
    // Closes when saveSettings(true) allows it.
    void OnClose() override;
    // Waits for a run's thread to let go of the module, destroys every
    // loaded module and leaves the dialog map.
    void OnDestroy() override;
    bool OnCommand(int id, unsigned notification) override;
    // The run's messages and the window menu's commands.
    bool OnMessage(const platform::WindowMessage& message) override;
    // From the program's tool-tip table (ToolTips.h).
    bool OnToolTipNeedText(int id, std::string& text) override;

    // Validates the fields and starts a run; refusals and failures are shown
    // in message boxes and leave the dialog idle.
    void onRun();
    // Writes the settings (after the question "Do you want to remember these
    // settings?" when ask is set and something changed). Returns true when
    // the dialog may close: false only while a run is in progress. A failed
    // write is reported and leaves the old settings file whole.
    bool saveSettings(bool ask);
    // Makes the module chosen in the list current, loading it on first use.
    void onModuleSelected();
    // Enables the row edits, the rows' Browse buttons (not beside an HTML
    // fragment), View, Title/Company and Module Options as the current
    // values allow; the buttons of dialogs not built yet stay disabled.
    void applyEnableRules();

    // Switches between the simple and the Advanced layout: the Advanced
    // rows shown or hidden, the controls below moved by advancedShift, the
    // customization box and the window resized, the button's caption.
    void toggleAdvanced();
    // A row's Browse: the row becomes Custom; the chosen file (the chosen
    // folder for the source-code row) becomes its text.
    void onRowBrowse(int browseId);
    // Output Browse: a save-as chooser from the current output file.
    void onOutputBrowse();
    // Add Files / Add Directory: the chosen paths in double quotes, each on
    // a line of its own, after the list's text.
    void onAddFiles();
    void onAddDirectory();
    // View: opens the output file with the shell, or says it is missing;
    // a file that the shell cannot open is reported with its reason, as is
    // a failed "Visit Website" (the product's site from the WebSite
    // setting).
    void onView();
    // The window menu's commands; false for a command that is not ours.
    bool onSysCommand(int command);
    // Help: the program's help (the text of "vantry -help", with the
    // selected module's options) in a read-only window, modal.
    void onHelp();
    std::string helpText() const;
    // The feedback and update dialogs, modal. Each secondary dialog's
    // handler is entered in one table (CVantryDlg.cpp, secondaryDialogs); a
    // button whose handler is not there stays disabled. Module Options is
    // refused while a run is in progress, before its handler is reached.
    void onFeedback();
    void onUpdate();
    // Whether the secondary dialog of a button or menu command can be
    // opened (its handler is entered in the table).
    static bool canOpen(int id);

    // The message handlers of a run.
    void onStatusLine1();
    void onStatusLine2();
    void onProgress(int percent);
    void onRunStopped();
    void onQuitRequest();
    void onShowWarnings();
    void onRunThreadGone();

    // The secondary dialogs, each over the dialog's current values; what
    // the user confirms is taken back (ui/SecondaryDialogHandlers.cpp).
    // Module Options hands the new values to the module and remembers them
    // as the current module-option values; its errors, and those of the
    // command-line generator, are shown with the error icon.
    void onModuleOptions();
    void onPreprocessorDefines();
    void onFileExtensions();
    void onOtherOptions();
    void onGenerateCommandLine();

    // With a display: on the first start offers the update settings, later
    // starts the periodic update check when it is due.
    void startUpdateCheck();

    // "" for Default, "?" for None, the edit's text for Custom, "" otherwise.
    std::string textChoice(int method, int editId) const;

    // The settings store's reading and writing, driven by one table.
    void readSettings();
    // True when a value that saveSettings would write differs from the
    // store (a missing text reads as "", a missing integer as -1).
    bool settingsChanged() const;
    void writeSettings();

    // The value texts of the store's multi-value settings.
    std::string userKeywordsText() const;
    void setUserKeywordsText(const std::string& text);
    std::string moduleOptionsText() const;
    void setModuleOptionsText(const std::string& text);
    std::string commentFormatText() const;
    void setCommentFormatText(const std::string& text);
    std::string fileExtensionsText() const;
    // The remembered extensions, from a file that anyone may have edited:
    // those that cannot end a file name are left out with a warning
    // (VantryBase::unusableExtensionsText); when none is left, the
    // remembered default applies.
    void setRememberedFileExtensions(const std::string& text);
    std::string languageMapText() const;
    // The remembered language map; a word that names no language is
    // warned about (VantryBase::unknownLanguagesText) and read as C++.
    void setRememberedLanguageMap(const std::string& text);

    // Values exchanged with the controls.
    std::string title;
    std::string company;
    int headerMethod = MethodDefault;
    int itemMethod = MethodDefault;
    int footerMethod = MethodDefault;
    int sourceMethod = MethodDefault;
    std::string headerText;
    std::string itemText;
    std::string footerText;
    std::string sourceText;
    std::string outputFile;
    std::string projectList;
    int hierarchical = 0;
    int insertLineBreaks = 0;

    // Settings kept by the dialog.
    std::string moduleName = "vantry-standard";
    std::string classesDirectory;
    std::string additionalHeader;
    SyntaxColorSettings syntaxColors;
    bool includeConst = false;
    bool syntaxColoring = true;
    bool namespacesGlobal = false;
    int tabSize = 4;
    bool mixCppCsharp = false;
    bool includeAnonymous = false;
    bool documentPreprocessor = false;
    bool disableTooltips = false;
    int advancedOutput = 0;

    // Set by the command line.
    bool commandLineSettings = false;
    bool autoRun = false;
    bool autoQuit = false;
    bool autoView = false;
    bool overwriteOutput = false;
    // Without a display: close once the run is over, also when it could not
    // start or ended without the run's own quit request.
    bool quitWhenIdle = false;

    bool isRunning = false;
    RunStatus runStatus;

    // The link static to the product's web site.
    gui::VantryLinkText webLink;

    // name -> module loaded for it; the current module points into it.
    std::map<std::string, std::unique_ptr<DocModule>> loadedModules;

    // A Default/None/Custom row's controls (CVantryDlg.cpp).
    struct ChoiceRow;

private:
    // Enables a row's Browse button unless its text is an HTML fragment.
    void enableRowBrowse(const ChoiceRow& row);
    void refuseRun(const std::string& message, int focusId);
    void returnToIdle();
    void listModules();
    bool advancedWanted() const;

    platform::SettingsStore& profile;
    std::unique_ptr<RunStarter> ownStarter;
    RunStarter* starter;
    std::shared_ptr<RunGate> activeRun;
    std::unique_ptr<BackgroundUpdateCheck> updateCheck;
};
