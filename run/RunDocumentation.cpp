#include "run/RunDocumentation.h"

#include <exception>
#include <map>
#include <mutex>

#include "VelkLib/VelkDirectory.h"
#include "VelkLib/VelkError.h"
#include "VelkLib/VelkPath.h"
#include "model/DocGenCppClass.h"
#include "model/DocGenCppClassMember.h"
#include "platform/MessageBox.h"
#include "platform/gui/Backend.h"
#include "platform/gui/WaitCursor.h"
#include "reader/CppFile.h"
#include "reader/ParserGlobals.h"
#include "run/DocModule.h"
#include "run/InputWalk.h"
#include "run/SourceListing.h"

namespace {

const char* const applicationTitle = "Vantry";

void phase(const RunContext& run, const char* text) {
    if (run.status != nullptr) run.status("", text, run.context);
}

// The per-file step: parse one file into the run's model and write its
// listing pages, one per package that the file declared.
void parseFile(RunContext& run, const std::string& path, const std::string& project,
               bool lineBreaks, const SourceListingSettings& settings,
               const ParserSettings& parserSettings, const DocCommentFormat& commentFormat,
               const std::string& outputDirectory, SourceListingWriter& listings) {
    CppFile parser(path, project, run.status, run.log, run.context, run.defines, commentFormat,
                   &parserSettings, &run.languageMap);
    std::map<std::string, bool> packages;
    parser.parse(run.classList, lineBreaks, &run.macros, &packages);
    if (!run.listings) return;
    if (packages.empty()) packages[""] = true;
    SourceListingOptions options;
    options.syntaxColor = settings.syntaxColor;
    options.colors = settings.colors;
    options.tabSize = settings.tabSize;
    options.language = parser.getLanguage();
    for (const auto& [package, seen] : packages)
        listings.write(path, package.empty() ? "(default)" : package, outputDirectory,
                       run.detailDirectory, options);
}

// The module's error reports reach the run's error callback through
// forwardError, which counts them, so that a site with a page missing ends
// "Done (error).", never "Done.". The module keeps the run's own context
// (the dialog's window), so the count is found by that context; the module
// may report from threads of its own.
struct ModuleReports {
    ModuleErrorFn log = nullptr;
    int errors = 0;
};

std::mutex reportsMutex;
std::map<void*, ModuleReports*> reportsByContext;

void forwardError(const char* text, void* context) {
    ModuleErrorFn log = nullptr;
    {
        std::lock_guard<std::mutex> lock(reportsMutex);
        auto found = reportsByContext.find(context);
        if (found != reportsByContext.end()) {
            ++found->second->errors;
            log = found->second->log;
        }
    }
    if (log != nullptr) log(text, context);
}

// Registers a run's count for the time of its module phase.
class ReportsScope {
public:
    ReportsScope(void* context, ModuleReports& reports) : context(context) {
        std::lock_guard<std::mutex> lock(reportsMutex);
        reportsByContext[context] = &reports;
    }
    ~ReportsScope() {
        std::lock_guard<std::mutex> lock(reportsMutex);
        reportsByContext.erase(context);
    }
    ReportsScope(const ReportsScope&) = delete;
    ReportsScope& operator=(const ReportsScope&) = delete;

private:
    void* context;
};

}  // namespace

void documentMacros(DocGenClassList& classList,
                    const std::map<std::string, MacroDefinition>& macros) {
    for (const auto& [name, macro] : macros) {
        CppClass* globals = findOrCreateClass(classList, macro.getPackage(), 0);
        globals->addMember(macro.getName(), macro.getSignature(), "", macro.getComment(),
                           macro.hasArguments(), macro.getFileName(), macro.getArguments(),
                           new DocGenCppClassMember(globals), false);
    }
}

RunOutcome runDocumentation(RunContext& run, const std::string& header,
                            const std::string& footer, const std::string& itemTemplate,
                            std::string sourceListingDirectory, const std::string& outputFile,
                            const std::string& fileList, bool detailDirectoryGiven,
                            bool lineBreaks, const SourceListingSettings& settings,
                            const DocCommentFormat& commentFormat, DocModule* module) {
    const std::string outputDirectory = directoryOf(outputFile);
    VelkDirectory created(outputDirectory, true);

    std::vector<std::string> entries = splitFileList(fileList);

    run.listings = sourceListingDirectory.empty();
    if (run.listings) sourceListingDirectory = ".";
    sourceListingDirectory = stripTrailingSeparator(sourceListingDirectory);

    phase(run, "Counting files...");
    const ParserSettings parserSettings = settings.parserSettings();
    // One writer for the run, so the colour of each word is worked out once, not once per page.
    SourceListingWriter listings;
    InputWalk walk(run.extensions, run.status, run.log, run.progress, run.context,
                   [&](const std::string& path, const std::string& project) {
                       parseFile(run, path, project, lineBreaks, settings, parserSettings,
                                 commentFormat, outputDirectory, listings);
                   });
    for (const std::string& entry : entries)
        if (!isCommentedOut(entry)) walk.addRoot(splitProjectEntry(stripTrailingSeparator(entry), true).path);
    int total = 0;
    for (const std::string& entry : entries) total += walk.countEntry(entry);
    walk.setTotal(total);

    for (const std::string& entry : entries) {
        if (!walk.walkEntry(entry)) {
            phase(run, "Cancelled.");
            return RunOutcome::Cancelled;
        }
    }
    run.projectList = walk.projectListText();

    if (settings.documentPreprocessor) documentMacros(run.classList, run.macros);

    phase(run, "Sending output to documentation module...");
    // A module may let any error out of an export; none may end the process.
    std::string failure;
    ModuleReports reports{run.log, 0};
    ReportsScope counting(run.context, reports);
    try {
        // The user's windows show that the module is at work.
        gui::CWaitCursor busy;
        if (module == nullptr) throw VelkError("No documentation module is loaded.");
        module->init(run.title, run.company, outputDirectory + "/" + run.detailDirectory,
                     run.hierarchicalIndex, run.additionalHead, header, footer, itemTemplate,
                     sourceListingDirectory, outputFile, run.projectList, detailDirectoryGiven,
                     lineBreaks, settings.mixCppCsharp, run.progress, run.status,
                     run.log != nullptr ? forwardError : nullptr, run.context);
        run.classList.sendToModuleReleasing(*module);
        module->done();
        // A module stops writing when progress answers 0 and returns as if
        // it were done: a negative report asks the cancel state once more,
        // so that a site cut short is never reported as done.
        if (run.progress != nullptr && run.progress(-1, 0, run.context) == 0) {
            phase(run, "Cancelled.");
            return RunOutcome::Cancelled;
        }
        if (reports.errors > 0) {
            phase(run, "Done (error).");
            return RunOutcome::DoneWithError;
        }
        phase(run, "Done.");
        if (run.progress != nullptr) run.progress(0, 100, run.context);
        return RunOutcome::Done;
    } catch (const VelkError& e) {
        failure = e.getMessage();
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "An unknown error occurred in the documentation module.";
    }
    platform::showErrorBox(failure, applicationTitle);
    phase(run, "Done (error).");
    return RunOutcome::DoneWithError;
}
