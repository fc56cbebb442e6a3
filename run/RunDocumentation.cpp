#include "run/RunDocumentation.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <exception>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "VelkLib/VelkDirectory.h"
#include "VelkLib/VelkError.h"
#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkPath.h"
#include "VelkLib/VelkThreadPool.h"
#include "model/DocGenCppClass.h"
#include "model/DocGenCppClassMember.h"
#include "model/ListingNames.h"
#include "model/ModelText.h"
#include "model/ModuleSink.h"
#include "platform/MessageBox.h"
#include "platform/gui/Backend.h"
#include "platform/gui/WaitCursor.h"
#include "platform/TerminalText.h"
#include "reader/CppFile.h"
#include "reader/ParserGlobals.h"
#include "run/DocModule.h"
#include "run/InputWalk.h"
#include "run/ListingPages.h"
#include "run/OutputFolderLock.h"
#include "run/AheadParse.h"
#include "run/OrderedReport.h"
#include "run/SourceListing.h"
#include "run/SourcePrefetch.h"

namespace {

const char* const applicationTitle = "Vantry";

void phase(const RunContext& run, const char* text) {
    if (run.status != nullptr) run.status("", text, run.context);
}

// Where the walk and the parser report to: the run's own callbacks, or the
// ordered report in front of them.
struct Reports {
    ModuleStatusFn status;
    ModuleErrorFn log;
    ModuleProgressFn progress;
    void* context;
};

// What every file of the run is parsed and listed with.
struct FileSettings {
    bool lineBreaks;
    const InputRoots& roots;
    const SourceListingSettings& settings;
    const ParserSettings& parserSettings;
    const DocCommentFormat& commentFormat;
    const std::string& outputDirectory;
    StagedFiles* listingPages;  // where the listing pages wait for the module's pages
};

// Writes the listing pages of a file once it is parsed: one page per
// package that the file declared. sentName is the file's name as the
// module receives it.
using ListingStep = std::function<void(const std::string& path, const std::string& sentName,
                                       const std::map<std::string, bool>& packages,
                                       const SourceListingOptions& options)>;

SourceListingOptions listingOptions(const FileSettings& file, int language) {
    SourceListingOptions options;
    options.syntaxColor = file.settings.syntaxColor;
    options.colors = file.settings.colors;
    options.tabSize = file.settings.tabSize;
    options.language = language;
    options.roots = &file.roots;
    options.staged = file.listingPages;
    return options;
}

std::string listingPackage(const std::string& package) {
    return package.empty() ? "(default)" : package;
}

// Notes that the listings of a file are written for these packages.
void noteListed(RunContext& run, const std::string& path, const std::string& sentName,
                const std::map<std::string, bool>& packages, int language) {
    RunContext::ListedSource& listed = run.listedSources[sentName];
    listed.path = path;
    listed.language = language;
    for (const auto& [package, seen] : packages) listed.packages.insert(listingPackage(package));
}

// The per-file step: parse one file into the run's model and write its
// listing pages. `prepared`, when not null, is the file already read and
// preprocessed.
void parseFile(RunContext& run, const Reports& reports, const FileSettings& file,
               const std::string& path, const std::string& project,
               PreprocessedSource* prepared, const ListingStep& listings) {
    CppFile parser(path, project, reports.status, reports.log, reports.context, run.defines,
                   file.commentFormat, &file.parserSettings, &run.languageMap);
    PreprocessedSource source = prepared ? std::move(*prepared) : parser.preprocessAhead();
    const bool tripleSlashUnread = source.tripleSlashUnread;
    parser.usePreprocessed(std::move(source));
    std::map<std::string, bool> packages;
    parser.parse(run.classList, file.lineBreaks, &run.macros, &packages);
    ++run.parsedFiles;
    if (tripleSlashUnread) ++run.tripleSlashUnreadFiles;
    if (!run.listings) return;
    if (packages.empty()) packages[""] = true;
    noteListed(run, path, parser.sourceName(), packages, parser.getLanguage());
    listings(path, parser.sourceName(), packages, listingOptions(file, parser.getLanguage()));
}

// Hands the classes on to the module and notes the file names it receives
// with those of the packages whose listings share a name, for
// ListingPages::settle.
class ReceivedListings : public ModuleSink {
public:
    ReceivedListings(ModuleSink& module, const ListingPages& pages) : module(module), pages(pages) {}

    void startClass(const std::string& name, const std::string& comment, const std::string& baseList,
                    const std::string& fileNames, const std::string& package, const std::string& kind,
                    const std::string& container, const std::string& sourceDirectory,
                    const std::string& language) override {
        module.startClass(name, comment, baseList, fileNames, package, kind, container, sourceDirectory,
                          language);
        concerned = pages.concerns(package);
        currentPackage = package;
        note(fileNames);
    }
    void startMember(const std::string& name, const std::string& comment, const std::string& access,
                     const std::string& declaration, bool hasArguments, const std::string& fileNames,
                     const std::vector<std::string>& arguments) override {
        module.startMember(name, comment, access, declaration, hasArguments, fileNames, arguments);
        note(fileNames);
    }
    void endMember(const std::string& name) override { module.endMember(name); }
    void endClass(const std::string& name) override { module.endClass(name); }

    ListingNames names;

private:
    void note(const std::string& fileNames) {
        if (!concerned) return;
        forEachListField(fileNames, [&](std::string_view name) { names.add(currentPackage, std::string(name)); });
    }

    ModuleSink& module;
    const ListingPages& pages;
    bool concerned = false;
    std::string currentPackage;
};

// The parse with the help of a pool: files are read and preprocessed
// ahead on the workers while the run thread parses them in walk order into
// the one model, and each file's listing pages are written on the workers
// once it is parsed. Reports stay in the order of a run on one thread.
class PooledParse {
    // How far the workers may run ahead of the parser, in files per worker:
    // far enough that one large file does not leave the others idle while
    // the parser waits for it, near enough that little is held in memory.
    static constexpr std::size_t kAheadPerThread = 32;

public:
    PooledParse(RunContext& run_, const FileSettings& file_, ListingPages& pages_, unsigned threads,
                SourcePrefetch::FileList order)
        : run(run_),
          file(file_),
          pages(pages_),
          limit(kAheadPerThread * std::size_t{threads}),
          report(run.status, run.log, run.progress, run.context),
          writers(threads),
          pool(std::make_unique<VelkThreadPool>(threads)),
          prefetch(*pool, std::move(order),
                   [this](const std::string& path, const std::string& project) {
                       return prepare(path, project);
                   },
                   kAheadPerThread * std::size_t{threads}) {}

    // The queued work ends before the state it uses goes away.
    ~PooledParse() { pool.reset(); }

    Reports reports() {
        return {OrderedReport::status, OrderedReport::log, OrderedReport::progress,
                report.context()};
    }

    void step(const std::string& path, const std::string& project) {
        PreparedFile prepared;
        const bool ahead =
            prefetch.take(path, project, prepared, [this] { return remakeCarriedMembers(); });
        if (ahead && prepared.parsed) {
            AheadParse& parsed = *prepared.parsed;
            if (carryOver(parsed, run.classList, run.macros, OrderedReport::status,
                          OrderedReport::log, report.context(), &carried)) {
                ++run.parsedFiles;
                if (parsed.tripleSlashUnread) ++run.tripleSlashUnreadFiles;
                if (parsed.packages.empty()) parsed.packages[""] = true;
                if (run.listings) {
                    noteListed(run, path, sourceNameOf(path, project), parsed.packages, parsed.language);
                    queueListings(path, sourceNameOf(path, project), parsed.packages,
                                  listingOptions(file, parsed.language));
                }
                return;
            }
        }
        // Not prepared (the tree changed since the walk's list was made), or
        // an earlier file's record is there that this one cannot join:
        // parsed in turn.
        parseFile(run, reports(), file, path, project, ahead ? &prepared.source : nullptr,
                  listingStep());
    }

    // Waits for the listings and passes on what they held back. The
    // workers' listing tables go now, while the workers are there to give
    // their memory back to the system when they end.
    void finish() {
        report.flush();
        writers.clear();
    }
    bool stopRequested() const { return report.stopRequested(); }

private:
    // On a worker: read, preprocess and parse the file. The preprocessed
    // text is kept too, for the parse in turn that a file needs when it
    // added to what an earlier file declared in a way that cannot join.
    PreparedFile prepare(const std::string& path, const std::string& project) {
        PreparedFile prepared;
        auto parsed = std::make_unique<AheadParse>();
        CppFile parser(path, project, AheadParse::status, AheadParse::log, parsed.get(),
                       run.defines, file.commentFormat, &file.parserSettings, &run.languageMap);
        prepared.source = parser.preprocessAhead();
        parseAhead(parser, prepared.source, file.lineBreaks, *parsed);
        prepared.parsed = std::move(parsed);
        return prepared;
    }

    // While the next file is still being prepared: the members of one
    // class carried over are made again on this thread. The workers made
    // them in their own memory, which the module's copy of the model could
    // not reuse when they are freed at the send; made here, it can. False
    // when every class carried so far has been done.
    bool remakeCarriedMembers() {
        if (remade == carried.size()) return false;
        carried[remade++]->remakeMembers();
        return true;
    }

    ListingStep listingStep() {
        return [this](const std::string& source, const std::string& sentName,
                      const std::map<std::string, bool>& packages, const SourceListingOptions& options) {
            queueListings(source, sentName, packages, options);
        };
    }

    void queueListings(const std::string& source, const std::string& sentName,
                       const std::map<std::string, bool>& packages, const SourceListingOptions& options) {
        std::vector<std::pair<std::string, std::string>> names;  // package, page name
        std::vector<std::shared_future<std::string>> earlier;
        auto done = std::make_shared<std::promise<std::string>>();
        std::shared_future<std::string> result = done->get_future().share();
        for (const auto& [package, seen] : packages) {
            const std::string listed = listingPackage(package);
            names.emplace_back(listed, pages.claim(source, sentName, listed, file.outputDirectory,
                                                   run.detailDirectory));
            // Two files with one page: the later one's page wins, as on one thread.
            std::string page = sourceListingPath(source, listed, file.outputDirectory, run.detailDirectory,
                                                 names.back().second);
            auto [at, added] = lastWriter.try_emplace(page, result);
            if (!added) {
                earlier.push_back(at->second);
                at->second = result;
            }
        }
        pool->submit([this, source, names, options, earlier, done](unsigned worker) {
            for (const auto& before : earlier) before.wait();
            // One report: a failure, or else the file's warning.
            std::string failure;
            try {
                for (const auto& [package, pageName] : names) {
                    std::string warning;
                    writers[worker].write(source, package, file.outputDirectory,
                                          run.detailDirectory, options, &warning, pageName);
                    if (failure.empty()) failure = warning;
                }
            } catch (const VelkEnvironmentError&) {
                // Handed on in walk order, ending the run there.
                done->set_exception(std::current_exception());
                return;
            } catch (const VelkError& e) {
                failure = unsuccessfulParseText(e.getMessage(), source);
            } catch (const std::exception& e) {
                failure = unsuccessfulParseText(e.what(), source);
            } catch (...) {
                done->set_exception(std::current_exception());
                return;
            }
            done->set_value(failure);
        }, VelkThreadPool::Start::InTurn);
        report.holdFor(result, limit);
    }

    RunContext& run;
    const FileSettings& file;
    ListingPages& pages;
    const std::size_t limit;
    OrderedReport report;
    std::vector<SourceListingWriter> writers;  // one per worker
    std::map<std::string, std::shared_future<std::string>> lastWriter;  // page -> its last writer
    std::unique_ptr<VelkThreadPool> pool;
    SourcePrefetch prefetch;
    std::vector<CppClass*> carried;  // classes carried over under keys of their own
    std::size_t remade = 0;          // carried[0, remade) made on this thread
};

// The paths of the list's entries that are not commented out.
std::vector<std::string> rootPaths(const std::vector<std::string>& entries) {
    std::vector<std::string> paths;
    for (const std::string& entry : entries)
        if (!isCommentedOut(entry))
            paths.push_back(splitProjectEntry(stripTrailingSeparator(entry), true).path);
    return paths;
}

// Said once for the run: a project documented with "///" lines and read
// without the option that takes them would show no comment at all.
void reportTripleSlashUnread(const RunContext& run) {
    if (run.tripleSlashUnreadFiles == 0 || run.log == nullptr) return;
    const std::string text = std::to_string(run.tripleSlashUnreadFiles) +
                             (run.tripleSlashUnreadFiles == 1 ? " file holds" : " files hold") +
                             " \"///\" comments on declarations that were not read as documentation;"
                             " -accept3slash reads them.";
    run.log(text.c_str(), run.context);
}

// Links that lead inside one of the listed entries are followed.
void addRoots(InputWalk& walk, const std::vector<std::string>& entries) {
    for (const std::string& path : rootPaths(entries)) walk.addRoot(path);
}

// The files the walk of the entries will hand on, in its order: the same
// walk without callbacks. An error ends the list early; the real walk
// meets it again and reports it.
SourcePrefetch::FileList walkOrder(const RunContext& run, const std::vector<std::string>& entries) {
    SourcePrefetch::FileList order;
    InputWalk walk(run.extensions, nullptr, nullptr, nullptr, nullptr,
                   [&](const std::string& path, const std::string& project) {
                       order.emplace_back(path, project);
                   });
    addRoots(walk, entries);
    try {
        for (const std::string& entry : entries) walk.walkEntry(entry);
    } catch (...) {
    }
    return order;
}

// The module's error reports reach the run's error callback through
// forwardError, which counts them, so that a site with a page missing ends
// "Done (error).", never "Done."; its progress reports reach the run's
// progress callback through forwardProgress, which answers the question
// whether the module's new pages may move in. The module keeps the run's
// own context (the dialog's window), so these are found by that context;
// the module may report from threads of its own.
struct ModuleReports {
    ModuleErrorFn log = nullptr;
    ModuleProgressFn progress = nullptr;
    StagedFiles* listingPages = nullptr;
    std::string indexFile;  // the site's index page, marked when the site is left incomplete
    int errors = 0;
    // The module said that its pages wait to move in (VANTRY_PROGRESS_STAGED).
    bool staged = false;
    // The answer to the module's move-in question, once it asked.
    enum class MoveIn { NotAsked, Cancelled, Failed, Granted } moveIn = MoveIn::NotAsked;
    // The listings are in place, waiting for the module's pages to follow.
    bool listingsMoved = false;
    // The module said that its pages are in place (VANTRY_PROGRESS_MOVED_IN).
    bool movedIn = false;
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

ModuleReports* reportsOf(void* context) {
    std::lock_guard<std::mutex> lock(reportsMutex);
    auto found = reportsByContext.find(context);
    return found != reportsByContext.end() ? found->second : nullptr;
}

bool stopAsked(const ModuleReports& reports, void* context) {
    return reports.progress != nullptr && reports.progress(-1, 0, context) == 0;
}

// The listing pages move in first, then the module's pages: a run cut off
// between the two leaves new listings beside the old pages, never pages
// that link to listings not there. The pages they replace wait until the
// module's pages are in too (commitListings) or put back (putListingsBack).
// Returns false when they are not in place: a failure (reported) or a stop
// put every listing back.
bool moveListingsIn(ModuleReports& reports, void* context) {
    if (reports.listingPages == nullptr) return true;
    try {
        // Asked now and then: a stop is due within a second, not at every page.
        std::atomic<unsigned> moved{0};
        reports.listingsMoved = reports.listingPages->moveIn(
            [&] { return ++moved % 64 == 0 && stopAsked(reports, context); });
    } catch (const IncompleteSiteError& e) {
        markSiteIncomplete(reports.indexFile, e.getMessage());
        forwardError(e.getMessage().c_str(), context);
    } catch (const VelkError& e) {
        forwardError(e.getMessage().c_str(), context);
    }
    return reports.listingsMoved;
}

void commitListings(ModuleReports& reports, void* context) {
    if (!reports.listingsMoved) return;
    reports.listingsMoved = false;
    try {
        reports.listingPages->commit();
    } catch (const VelkError& e) {
        forwardError(e.getMessage().c_str(), context);
    }
}

// The module's pages did not replace the previous site: nor do the listings.
void putListingsBack(ModuleReports& reports, void* context) {
    if (!reports.listingsMoved) return;
    reports.listingsMoved = false;
    try {
        reports.listingPages->rollBack();
    } catch (const VelkError& e) {
        markSiteIncomplete(reports.indexFile, e.getMessage());
        forwardError(e.getMessage().c_str(), context);
    }
}

int forwardProgress(int done, int total, void* context) {
    ModuleReports* reports = reportsOf(context);
    if (reports == nullptr) return 1;
    // The module's reports on its staged pages come from its own thread,
    // the only one that moves pages in.
    switch (done) {
        case VANTRY_PROGRESS_STAGED: reports->staged = true; return 1;
        case VANTRY_PROGRESS_MOVED_IN:
            reports->movedIn = true;
            commitListings(*reports, context);
            return 1;
        case VANTRY_PROGRESS_MOVE_IN: break;
        default: return reports->progress != nullptr ? reports->progress(done, total, context) : 1;
    }
    if (stopAsked(*reports, context)) {
        reports->moveIn = ModuleReports::MoveIn::Cancelled;
        return 0;
    }
    if (reports->listingPages != nullptr) {
        try {
            reports->listingPages->checkPlaces();
        } catch (const VelkError& e) {
            // A listing that cannot be put in place fails the site.
            forwardError(e.getMessage().c_str(), context);
            reports->moveIn = ModuleReports::MoveIn::Failed;
            return 0;
        }
    }
    if (!moveListingsIn(*reports, context)) {
        reports->moveIn = stopAsked(*reports, context) ? ModuleReports::MoveIn::Cancelled
                                                       : ModuleReports::MoveIn::Failed;
        return 0;
    }
    reports->moveIn = ModuleReports::MoveIn::Granted;
    return 1;
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

namespace {

// Makes and removes a new file in the directory; the system's reason when
// that fails.
void checkWritable(const std::string& directory) {
    std::string probe = directory + "/.vantry-write-check-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) throw VelkError("The folder " + terminalText(directory) + " cannot be written", -1);
    ::close(fd);
    ::unlink(probe.c_str());
}

}  // namespace

void prepareOutputFolder(const std::string& outputFile, const std::string& detailDirectory) {
    std::string folder = directoryOf(outputFile);
    VelkDirectory made(folder, true);
    checkWritable(folder);
    const std::string detail = lexicalPath(detailDirectory);
    std::string::size_type start = 0;
    while (start < detail.size()) {
        std::string::size_type end = std::min(detail.find('/', start), detail.size());
        const std::string part = detail.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") continue;
        const std::string path = folder + "/" + part;
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0) return;  // made by the run, in a folder it can write
        if (S_ISLNK(info.st_mode)) throw siteFolderIsALink(path);
        if (!S_ISDIR(info.st_mode)) throw VelkError("Could not make the directory " + terminalText(path), ENOTDIR);
        folder = path;
        checkWritable(folder);
    }
}

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
    // Whoever started the run, no page goes outside the output directory.
    if (std::string refusal = siteFolderRefusal("the detail-pages directory", run.detailDirectory);
        !refusal.empty())
        throw VelkError(refusal);
    // A detail directory docs\classes names the folders that docs/classes
    // does, and docs/../classes those that classes does, for the listings
    // and the module alike: every link is made from the folders the pages
    // are written into.
    if (!run.detailDirectory.empty()) run.detailDirectory = lexicalPath(run.detailDirectory);
    prepareOutputFolder(outputFile, run.detailDirectory);
    // Two runs into one folder would leave pages of both.
    const OutputFolderLock writing(outputDirectory);
    // What runs ended at once or killed left behind can never move in, in
    // whichever folder of the site they wait.
    // A site's few folders are read long before a stop is due; a tree of
    // many is asked about now and then.
    unsigned folders = 0;
    removeEndedTemporaries(outputDirectory, [&run, &folders] {
        return ++folders % 256 == 0 && run.progress != nullptr && run.progress(-1, 0, run.context) == 0;
    });

    std::vector<std::string> entries = splitFileList(fileList);
    // Checked here too for runs that do not come from the command line.
    if (outputIsAnInput(outputFile, entries, run.extensions))
        throw VelkError("The output file \"" + terminalText(outputFile) +
                        "\" is one of the source files to document; name another index file.");

    run.listings = sourceListingDirectory.empty();
    if (run.listings) sourceListingDirectory = ".";
    sourceListingDirectory = stripTrailingSeparator(sourceListingDirectory);

    phase(run, "Counting files...");
    // Every source is read from inside the listed entries, whatever was
    // swapped in at its name since the walk found it.
    InputRoots roots;
    for (const std::string& path : rootPaths(entries)) roots.add(path);
    ParserSettings parserSettings = settings.parserSettings();
    parserSettings.inputRoots = &roots;
    // The listing pages wait beside their places until the module's pages
    // are all written too; a run that ends otherwise removes them.
    StagedFiles listingPages;
    const FileSettings file{lineBreaks, roots, settings, parserSettings, commentFormat,
                            outputDirectory, &listingPages};
    const unsigned threads = configuredThreadCount();
    ListingPages pages;
    std::unique_ptr<PooledParse> pooled;
    if (threads > 1)
        pooled = std::make_unique<PooledParse>(run, file, pages, threads, walkOrder(run, entries));

    // One writer for the run, so the colour of each word is worked out once, not once per page.
    SourceListingWriter listings;
    const ListingStep writeListings = [&](const std::string& path, const std::string& sentName,
                                          const std::map<std::string, bool>& packages,
                                          const SourceListingOptions& options) {
        // Every page of a file tells of the same long line: one warning,
        // once all are written, as the pooled writers report it.
        std::string warnings;
        for (const auto& [package, seen] : packages) {
            std::string warning;
            const std::string listed = listingPackage(package);
            listings.write(path, listed, outputDirectory, run.detailDirectory, options, &warning,
                           pages.claim(path, sentName, listed, outputDirectory, run.detailDirectory));
            if (warnings.empty()) warnings = warning;
        }
        if (!warnings.empty() && run.log) run.log(warnings.c_str(), run.context);
    };
    const Reports walkReports =
        pooled ? pooled->reports() : Reports{run.status, run.log, run.progress, run.context};
    InputWalk walk(run.extensions, walkReports.status, walkReports.log, walkReports.progress,
                   walkReports.context, [&](const std::string& path, const std::string& project) {
                       if (pooled) pooled->step(path, project);
                       else parseFile(run, walkReports, file, path, project, nullptr, writeListings);
                   });
    addRoots(walk, entries);
    int total = 0;
    for (const std::string& entry : entries) total += walk.countEntry(entry);
    walk.setTotal(total);

    bool cancelled = false;
    for (const std::string& entry : entries) {
        if (!walk.walkEntry(entry)) {
            cancelled = true;
            break;
        }
    }
    if (pooled) {
        // The stop answer may only arrive with the reports held back.
        pooled->finish();
        cancelled = cancelled || pooled->stopRequested();
        pooled.reset();
    }
    if (cancelled) {
        phase(run, "Cancelled.");
        return RunOutcome::Cancelled;
    }
    run.projectList = walk.projectListText();
    reportTripleSlashUnread(run);
    // Inputs that gave nothing to document (a list of commented-out entries
    // asks for nothing): no site is written over whatever stands there.
    if (run.parsedFiles == 0 && !rootPaths(entries).empty()) {
        if (run.log != nullptr) run.log("No source file was documented.", run.context);
        phase(run, "Done (error).");
        return RunOutcome::DoneWithError;
    }
    const bool inputFailed = walk.unreadableEntry();

    // Whatever order the files came in, a class's sources in one folder
    // and its header in another give one class, whose page lists (and
    // links) both: the source's listing is written in the class's package
    // too.
    const DocGenClassList::PackageFiles brought = run.classList.joinDefinitionsToDeclarations();
    if (run.listings) {
        for (const auto& [package, sentName] : brought) {
            auto source = run.listedSources.find(sentName);
            const std::string listed = listingPackage(package);
            if (source == run.listedSources.end() || !source->second.packages.insert(listed).second) continue;
            const std::string& path = source->second.path;
            std::string warning;
            try {
                listings.write(path, listed, outputDirectory, run.detailDirectory,
                               listingOptions(file, source->second.language), &warning,
                               pages.claim(path, sentName, listed, outputDirectory, run.detailDirectory));
            } catch (const VelkEnvironmentError&) {
                throw;
            } catch (const VelkError& e) {
                warning = unsuccessfulParseText(e.getMessage(), path);
            }
            if (!warning.empty() && run.log) run.log(warning.c_str(), run.context);
        }
    }
    if (settings.documentPreprocessor) documentMacros(run.classList, run.macros);

    phase(run, "Sending output to documentation module...");
    // A module may let any error out of an export; none may end the process.
    std::string failure;
    ModuleReports reports;
    reports.log = run.log;
    reports.progress = run.progress;
    reports.listingPages = &listingPages;
    reports.indexFile = outputFile;
    ReportsScope counting(run.context, reports);
    try {
        // The user's windows show that the module is at work.
        gui::CWaitCursor busy;
        if (module == nullptr) throw VelkError("No documentation module is loaded.");
        module->init(run.title, run.company, outputDirectory + "/" + run.detailDirectory,
                     run.hierarchicalIndex, run.additionalHead, header, footer, itemTemplate,
                     sourceListingDirectory, outputFile, run.projectList, detailDirectoryGiven,
                     lineBreaks, settings.mixCppCsharp, forwardProgress, run.status,
                     run.log != nullptr ? forwardError : nullptr, run.context);
        if (pages.shared()) {
            // Which file of a shared listing name keeps it follows from the
            // names the module received.
            ReceivedListings received(*module, pages);
            run.classList.sendToModuleReleasing(received);
            for (const std::string& failure : pages.settle(received.names, &listingPages))
                if (run.log != nullptr) run.log(failure.c_str(), run.context);
        } else {
            run.classList.sendToModuleReleasing(*module);
        }
        // The module holds its own copy now. With workers to spare the run's
        // model is freed beside the module's page writing, not after it, and
        // its memory goes back to the writers while they need it.
        std::jthread freeing;
        if (threads > 1) freeing = std::jthread([&run] { run.classList.clear(); });
        module->done();
        using MoveIn = ModuleReports::MoveIn;
        // A module that stages its pages and did not put them in place
        // (failed, cancelled, or told no) left the previous site: so do
        // the listings.
        if (!reports.movedIn) putListingsBack(reports, run.context);
        // A module that asked to move its pages in has moved them in or
        // removed them as told. One that did not ask stops writing when
        // progress answers 0 and returns as if it were done: a negative
        // report asks the cancel state once more, so that a site cut short
        // is never reported as done.
        if (reports.moveIn == MoveIn::Cancelled ||
            (!reports.movedIn && run.progress != nullptr && run.progress(-1, 0, run.context) == 0)) {
            phase(run, "Cancelled.");
            return RunOutcome::Cancelled;
        }
        // A module that does not stage wrote its pages in place, whatever
        // it reported on the way: the listings follow.
        if (!reports.staged && moveListingsIn(reports, run.context)) commitListings(reports, run.context);
        if (reports.errors > 0 || inputFailed || (reports.staged && !reports.movedIn)) {
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
