// The worker thread of one documentation run.
//
// The front end fills RunParameters and starts a RunThread; the thread
// copies everything it needs, so the dialog may change its settings while
// the run goes on. At the end of a run it posts WM_USER+4 (the run is over)
// and WM_USER+6 (show the warnings) to the dialog's window, opens the output
// file with the shell when asked (an open that fails is shown in an error box
// "Could not open "<file>" (<reason>)." before anything else happens), and
// posts WM_USER+5 (close) when asked.
// When an error ends the run before the module phase, it posts WM_USER+4
// only and shows the error in an error box.
#pragma once

#include <map>
#include <set>
#include <string>

#include "VelkLib/VelkSuperThread.h"
#include "modules/ModuleInterface.h"
#include "platform/WindowMessages.h"
#include "reader/DocCommentFormat.h"
#include "reader/PreprocessorDefines.h"
#include "run/SourceListingSettings.h"

class DocModule;

// The run's private messages to the dialog.
constexpr unsigned WM_RUN_STATUS_LINE1 = platform::WM_USER + 1;
constexpr unsigned WM_RUN_STATUS_LINE2 = platform::WM_USER + 2;
constexpr unsigned WM_RUN_PROGRESS = platform::WM_USER + 3;
constexpr unsigned WM_RUN_STOPPED = platform::WM_USER + 4;
constexpr unsigned WM_RUN_QUIT_REQUEST = platform::WM_USER + 5;
constexpr unsigned WM_RUN_SHOW_WARNINGS = platform::WM_USER + 6;

// What the front end hands to a run, in the order the dialog fills it.
struct RunParameters {
    ModuleStatusFn status = nullptr;
    ModuleErrorFn log = nullptr;
    ModuleProgressFn progress = nullptr;
    platform::WindowHandle window = nullptr;  // callback context and message target
    std::string title;
    std::string company;
    std::string detailDirectory = "projects";
    bool hierarchicalIndex = false;
    std::string additionalHead;
    PreprocessorDefines defines;
    std::set<std::string> extensions;
    std::map<std::string, int> languageMap;
    std::string header;
    std::string footer;
    std::string itemTemplate;
    std::string sourceListingDirectory;  // "" = write listings
    std::string outputFile;
    std::string fileList;  // as typed; the run splits it
    bool detailDirectoryGiven = true;
    bool lineBreaks = false;
    SourceListingSettings listingSettings;
    DocCommentFormat commentFormat;
    DocModule* module = nullptr;  // owned by the front end; outlives the run
    bool autoView = false;
    bool autoQuit = false;
};

class RunThread : public VelkSuperThread {
public:
    // Copies every parameter.
    explicit RunThread(const RunParameters& parameters);
    ~RunThread() override;

    // The run itself (see the file comment). Catches every error: nothing
    // escapes to the thread routine.
    void run() override;

private:
    RunParameters parameters;
};
