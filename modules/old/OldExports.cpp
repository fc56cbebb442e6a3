// The eight exports of vantry-old. None catches anything: an error leaves
// the export and reaches the program's run, which reports it. Of the
// callbacks that init receives, progress is told that the pages wait to
// move in, asked now and then whether the run is to stop (a stop ends done
// quietly, the new pages removed) and whether the new pages may replace
// the previous site, and error hears of a class page that shows only part
// of its ancestry.
#include "VelkLib/VelkPath.h"
#include "VelkLib/VelkTokenizer.h"
#include "model/ModelText.h"
#include "modules/ModuleInterface.h"
#include "modules/common/DocText.h"
#include "modules/common/ModuleText.h"
#include "modules/common/PageDateTime.h"
#include "modules/common/ProgramVersion.h"
#include "modules/common/ReceivedTexts.h"
#include "modules/old/DocClassList.h"
#include "modules/old/IndexPage.h"
#include "modules/old/OldRecords.h"

#include <string>
#include <vector>

using vantry_old::DocClassList;

namespace {

DocClassList& handleList(ModuleHandle handle) { return *static_cast<DocClassList*>(handle); }

// The directories of the project list ("name|directory" lines), inside
// which the pages may read the sources.
InputRoots projectDirectories(const std::string& projectList) {
    InputRoots roots;
    VelkTokenizer lines(projectList, "\n");
    while (lines.hasMoreTokens()) {
        const std::vector<std::string> fields = splitListFields(lines.nextToken('\0', '\\'));
        if (fields.size() > 1 && !fields[0].empty() && !fields[1].empty()) roots.add(fields[1]);
    }
    return roots;
}

}  // namespace

VANTRY_MODULE_EXPORT ModuleHandle create(void) { return new DocClassList(); }

VANTRY_MODULE_EXPORT void destroy(ModuleHandle handle) {
    delete static_cast<DocClassList*>(handle);
}

VANTRY_MODULE_EXPORT void init(ModuleHandle handle, const char* title, const char* company,
                               const char* detailDirectory, int hierarchicalIndex,
                               const char* additionalHead, const char* header,
                               const char* footer, const char* itemTemplate,
                               const char* sourceListingDirectory, const char* outputFile,
                               const char* projectList, int detailDirectoryGiven,
                               int lineBreaks, int /*mixCppCsharp*/, ModuleProgressFn progress,
                               ModuleStatusFn status, ModuleErrorFn error, void* context) {
    DocClassList& list = handleList(handle);
    vantry_old::OldModuleSettings& s = list.settings;
    // Every page path and link is made from it with "/" alone.
    s.detailDirectory = slashSeparated(detailDirectory);
    s.treeListing = hierarchicalIndex != 0;
    s.extraHeadText = additionalHead;
    s.headerText = header;
    s.footerText = footer;
    s.itemTemplate = itemTemplate;
    s.sourceDirectoryText = sourceListingDirectory;
    s.outputFile = outputFile;
    s.projectListText = projectList;
    s.writeDetailPages = detailDirectoryGiven != 0;
    s.lineBreaks = lineBreaks != 0;
    s.progress = progress;
    s.status = status;
    s.error = error;
    s.callbackContext = context;
    list.cancel.install(progress, context);
    vantry_old::renderPageBuffers(list, title, company, shownProgramVersion(), DateTime());
    list.clear();
    // {@value} shows what the sources initialise a constant with.
    list.constants.setRoots(projectDirectories(projectList));
    // Java and C# names are found through the sources' imports.
    list.sourceRoots = projectDirectories(projectList);
}

VANTRY_MODULE_EXPORT void startClass(ModuleHandle handle, const char* name, const char* comment,
                                     const char* baseList, const char* fileNames,
                                     const char* package, const char* kind,
                                     const char* container, const char* sourceDirectory,
                                     const char* language) {
    DocClassList& list = handleList(handle);
    list.currentClass =
        std::make_unique<vantry_old::DocCppClass>(DocOptions(), languageFromText(language));
    vantry_old::DocCppClass& cls = *list.currentClass;
    cls.setName(name);
    cls.setComment(receivedComment(comment, cls.getLanguage(), CrefReading::code));
    setFileNamesFromText(cls, fileNames);
    cls.setPackage(package);
    cls.setKind(kind);
    cls.setText(container);
    cls.setSourceDirectory(sourceDirectory);
    setBasesFromText(cls, baseList);
}

VANTRY_MODULE_EXPORT void startMember(ModuleHandle handle, const char* name, const char* comment,
                                      const char* access, const char* declaration,
                                      int hasArguments, const char* fileNames,
                                      int argumentCount, const char** arguments) {
    DocClassList& list = handleList(handle);
    vantry_old::DocCppClass* cls = list.currentClass.get();
    if (!cls) return;
    std::vector<std::string> argumentList;
    for (int i = 0; arguments && i < argumentCount; ++i)
        argumentList.emplace_back(arguments[i] ? arguments[i] : "");
    CppClassMember* kept =
        cls->addMember(name, declaration, access,
                       receivedComment(comment, cls->getLanguage(), CrefReading::code),
                       hasArguments != 0, "", argumentList,
                       new vantry_old::DocCppClassMember(cls), false);
    if (kept) setFileNamesFromText(*kept, fileNames);
}

VANTRY_MODULE_EXPORT void endMember(ModuleHandle, const char*) {}

VANTRY_MODULE_EXPORT void endClass(ModuleHandle handle, const char*) {
    DocClassList& list = handleList(handle);
    if (list.currentClass) list.addClass(list.currentClass.release());
}

VANTRY_MODULE_EXPORT void done(ModuleHandle handle) {
    DocClassList& list = handleList(handle);
    try {
        vantry_old::writeSite(list, DateTime());
    } catch (const RunCancelled&) {
        // The program asked for the stop and knows of it; the pages are gone.
    }
    list.clear();
}
