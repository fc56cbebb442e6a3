// The ten exports of vantry-standard. Each one catches everything at the C
// boundary and reports it through the run's error callback; the program
// sees no failure and goes on with its next call.
#include "VelkLib/VelkError.h"
#include "modules/ModuleInterface.h"
#include "modules/common/CancelPoll.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/ModuleOptions.h"
#include "modules/standard/SiteDriver.h"
#include "modules/standard/StandardModule.h"

#include <exception>
#include <string>
#include <vector>

namespace {

void report(StandardModule& module, const std::string& text) {
    try {
        module.statusReceiver.error(text);
    } catch (...) {
        // Nothing may leave an export, not even a failing report.
    }
}

template <class Body>
void guarded(ModuleHandle handle, Body&& body) {
    if (!handle) return;
    auto& module = *static_cast<StandardModule*>(handle);
    try {
        body(module);
    } catch (const RunCancelled&) {
        // The program asked for the stop and knows of it.
    } catch (const VelkError& error) {
        report(module, error.getMessage());
    } catch (const std::exception& error) {
        report(module, error.what());
    } catch (...) {
        report(module, "Unexpected error in the standard module.");
    }
}

std::string text(const char* s) { return s ? s : ""; }

}  // namespace

VANTRY_MODULE_EXPORT ModuleHandle create(void) {
    try {
        return new StandardModule();
    } catch (...) {
        return nullptr;
    }
}

VANTRY_MODULE_EXPORT void destroy(ModuleHandle handle) {
    try {
        delete static_cast<StandardModule*>(handle);
    } catch (...) {
        // Destruction cannot be reported: no run is active.
    }
}

VANTRY_MODULE_EXPORT void init(ModuleHandle handle, const char* title, const char* company,
                               const char* detailDirectory, int hierarchicalIndex,
                               const char* additionalHead, const char* header,
                               const char* footer, const char* itemTemplate,
                               const char* sourceListingDirectory, const char* outputFile,
                               const char* projectList, int detailDirectoryGiven,
                               int lineBreaks, int mixCppCsharp, ModuleProgressFn progress,
                               ModuleStatusFn status, ModuleErrorFn error, void* context) {
    guarded(handle, [&](StandardModule& module) {
        // The callbacks come first so that any later failure of init is
        // reported to this run.
        module.statusReceiver.install(progress, status, error, context);
        ModuleInitValues values;
        values.title = text(title);
        values.company = text(company);
        values.detailDirectory = text(detailDirectory);
        values.treeListing = hierarchicalIndex != 0;
        values.extraHead = text(additionalHead);
        values.header = text(header);
        values.footer = text(footer);
        values.itemTemplate = text(itemTemplate);
        values.sourceDirectory = text(sourceListingDirectory);
        values.outputFile = text(outputFile);
        values.projectList = text(projectList);
        values.writeDetailPages = detailDirectoryGiven != 0;
        values.lineBreaks = lineBreaks != 0;
        values.dotScope = mixCppCsharp != 0;
        values.progress = progress;
        values.status = status;
        values.error = error;
        values.context = context;
        initModule(module, values);
    });
}

VANTRY_MODULE_EXPORT void startClass(ModuleHandle handle, const char* name, const char* comment,
                                     const char* baseList, const char* fileNames,
                                     const char* package, const char* kind,
                                     const char* container, const char* sourceDirectory,
                                     const char* language) {
    guarded(handle, [&](StandardModule& module) {
        startClassRecord(module, text(name), text(comment), text(baseList), text(fileNames),
                         text(package), text(kind), text(container), text(sourceDirectory),
                         text(language));
    });
}

VANTRY_MODULE_EXPORT void startMember(ModuleHandle handle, const char* name, const char* comment,
                                      const char* access, const char* declaration,
                                      int hasArguments, const char* fileNames,
                                      int argumentCount, const char** arguments) {
    guarded(handle, [&](StandardModule& module) {
        std::vector<std::string> list;
        for (int i = 0; arguments && i < argumentCount; ++i) list.push_back(text(arguments[i]));
        startMemberRecord(module, text(name), text(comment), text(access), text(declaration),
                          hasArguments != 0, text(fileNames), list);
    });
}

VANTRY_MODULE_EXPORT void endMember(ModuleHandle, const char*) {}

VANTRY_MODULE_EXPORT void endClass(ModuleHandle handle, const char*) {
    guarded(handle, [](StandardModule& module) { endClassRecord(module); });
}

VANTRY_MODULE_EXPORT void done(ModuleHandle handle) {
    guarded(handle, [](StandardModule& module) {
        generateSite(module);
        module.classList->clear();
    });
}

VANTRY_MODULE_EXPORT const char* getOptions(ModuleHandle handle) {
    if (!handle) return "";
    try {
        return buildOptionText(*static_cast<StandardModule*>(handle)).c_str();
    } catch (...) {
        return "";
    }
}

VANTRY_MODULE_EXPORT void setOptions(ModuleHandle handle, const char** values) {
    if (!values) return;
    guarded(handle, [&](StandardModule& module) { applyOptionValues(module, values); });
}
