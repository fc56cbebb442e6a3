// The run driver: one documentation job from the list of inputs to the
// module's done, on the run's worker thread.
//
// It creates the output directory, splits and counts the list, parses every
// accepted file into the run's class list (writing source listings when
// asked), documents the collected #defines when asked, and hands the model
// to the output module: init, the classes and members, done. It reports
// through the run's three callbacks only and never touches a window.
#pragma once

#include <map>
#include <set>
#include <string>

#include "model/DocGenClassList.h"
#include "model/MacroDefinition.h"
#include "modules/ModuleInterface.h"
#include "reader/DocCommentFormat.h"
#include "reader/PreprocessorDefines.h"
#include "run/SourceListingSettings.h"

class DocModule;

// The state of one run, built by the run thread and destroyed when the
// driver returns.
struct RunContext {
    ModuleStatusFn status = nullptr;
    ModuleErrorFn log = nullptr;
    ModuleProgressFn progress = nullptr;
    void* context = nullptr;  // handed back on every callback

    DocGenClassList classList;  // the run's model

    std::string detailDirectory;
    std::string title;
    std::string company;
    bool hierarchicalIndex = false;
    std::string additionalHead;
    PreprocessorDefines defines;
    std::set<std::string> extensions;
    std::map<std::string, int> languageMap;

    // Set by the driver: source-listing pages are written.
    bool listings = false;
    // Filled by the preprocessing of every file: macro name -> record.
    std::map<std::string, MacroDefinition> macros;
    // Built by the walk: "name|directory" lines, for init.
    std::string projectList;
    // The files parsed without an error (their listings aside).
    int parsedFiles = 0;
    // Those of them that hold "///" comments before declarations which the
    // comment format left unread (Preprocessor::leftTripleSlashUnread).
    int tripleSlashUnreadFiles = 0;
    // Every file whose listing pages were written, by the name sent for
    // it: where it is read and in which packages it is listed. A file's
    // definitions may join declarations of another package once all are
    // read, and its listing is then written in that package too.
    struct ListedSource {
        std::string path;
        int language = 0;
        std::set<std::string> packages;
    };
    std::map<std::string, ListedSource> listedSources;
};

// How a run ended; the status line says the same.
enum class RunOutcome { Done, DoneWithError, Cancelled };

// Runs the job. The detail-pages directory is used as the folders it
// names (lexicalPath: "a/../b" is "b"). First the output folder: a
// detail-pages directory that siteFolderRefusal refuses (checked first) or
// an output folder that cannot be written (prepareOutputFolder) throws
// VelkError; then the run holds the folder's lock (OutputFolderLock) to the
// end, so a second run into it throws VelkError naming the first one; then
// the temporaries that ended runs left anywhere in it are removed. Before
// the module phase an inaccessible list entry, an open quote in the list
// or a source listing that cannot be written throws VelkError (nothing is
// sent to the module). A file that fails to parse is logged and the run
// goes on. From init to done every error (a VelkError, a std::exception,
// anything) is caught: it is shown in an error box, the status reads "Done
// (error)." and the driver returns normally. A null module is such an
// error. When progress answers 0 during parsing the status reads
// "Cancelled." and no module call is made.
// Source listings are written under temporary names beside their places
// (StagedFiles). The module's question whether its new pages may move in
// (VANTRY_PROGRESS_MOVE_IN) is answered with the cancel state: on "yes" the
// listings move in first, keeping the pages they replace until the module
// says that its pages are in place too (VANTRY_PROGRESS_MOVED_IN); a module
// that said its pages wait to move in (VANTRY_PROGRESS_STAGED) and did not
// get them in (it failed, was cancelled while they moved, or was told no)
// has the listings put back with them, and the run ends "Cancelled." or
// "Done (error)."; when a listing cannot be put back the index page says
// that the site is incomplete. A module that does not stage wrote its
// pages in place: after its done, one report of -1 of 0 asks the cancel
// state again (a module stops writing at a 0 answer and returns as if it
// were done), and when it answers 0 the status reads "Cancelled." too, so
// a site cut short is never "Done."; otherwise the listings move in,
// whatever the module reported. Listings that did not move in are removed,
// so a cancelled or failed run leaves the previous site as it was.
// A run whose module reported an error through the error callback ends
// "Done (error)." after done, and so does one in which a listed directory
// could not be read. Inputs that were listed (not commented out) but gave
// no file that parsed without an error are logged, "No source file was
// documented.", and end "Done (error)." before the module phase: no site
// is written.
RunOutcome runDocumentation(RunContext& run, const std::string& header,
                            const std::string& footer, const std::string& itemTemplate,
                            std::string sourceListingDirectory, const std::string& outputFile,
                            const std::string& fileList, bool detailDirectoryGiven,
                            bool lineBreaks, const SourceListingSettings& settings,
                            const DocCommentFormat& commentFormat, DocModule* module);

// Makes the output file's directory (with every missing parent) and checks
// that a site can be written there before anything is parsed: a new file
// can be made in that directory, and the detail-pages directory below it
// (the folders lexicalPath reads in it) is, as far as it exists, made of
// directories of their own (no symbolic link) in which a new file can be
// made. Leaves
// nothing behind but the directories it made. Throws VelkError with one
// message that names the folder and, where the system gave one, its reason.
void prepareOutputFolder(const std::string& outputFile, const std::string& detailDirectory);

// Adds each recorded macro, in name order, as a member of its package's
// globals record (created when missing).
void documentMacros(DocGenClassList& classList,
                    const std::map<std::string, MacroDefinition>& macros);
