// An output module for measurements: it hands every call on to a real
// module (the file named by $VANTRY_LISTING_MODULE) and lists what the
// program sent in the file named by $VANTRY_LISTING_FILE, so that the
// pages that module writes can be compared with what it received in the
// same run (bench/page-check.sh).
//
// Lines, fields separated by tabs ("\\", tab, line feed and carriage return
// in a text written "\\\\", "\\t", "\\n", "\\r"):
//   site     output file  detail directory
//   class    page path (from the output file's directory)  name  kind  language
//   member   name  access  has-arguments (0/1)  declaration  argument...
//   comment  the documentation comment of the member line before it, as
//            sent (only when it is not empty)
// A member line belongs to the class line before it.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "modules/ModuleInterface.h"
#include "modules/common/ClassPagePath.h"

namespace {

struct Listing {
    void* library = nullptr;
    ModuleHandle inner = nullptr;
    std::FILE* out = nullptr;
    std::string detailDirectory;
};

Listing* listing(ModuleHandle handle) { return static_cast<Listing*>(handle); }

template <typename Fn>
Fn find(const Listing& l, const char* name) {
    return l.library ? reinterpret_cast<Fn>(dlsym(l.library, name)) : nullptr;
}

std::string escaped(const char* text) {
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p) {
        switch (*p) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out += *p;
        }
    }
    return out;
}

void put(Listing& l, const std::string& line) {
    if (l.out) std::fprintf(l.out, "%s\n", line.c_str());
}

}  // namespace

VANTRY_MODULE_EXPORT ModuleHandle create() {
    auto* l = new Listing;
    const char* path = std::getenv("VANTRY_LISTING_MODULE");
    l->library = path ? dlopen(path, RTLD_NOW | RTLD_LOCAL) : nullptr;
    if (!l->library) {
        std::fprintf(stderr, "vantry-listing: cannot load $VANTRY_LISTING_MODULE (%s)\n",
                     path ? dlerror() : "not set");
        delete l;
        return nullptr;
    }
    if (auto fn = find<ModuleCreateFn>(*l, "create")) l->inner = fn();
    return l;
}

VANTRY_MODULE_EXPORT void destroy(ModuleHandle handle) {
    Listing* l = listing(handle);
    if (!l) return;
    if (auto fn = find<ModuleDestroyFn>(*l, "destroy")) fn(l->inner);
    if (l->out) std::fclose(l->out);
    if (l->library) dlclose(l->library);
    delete l;
}

VANTRY_MODULE_EXPORT void init(ModuleHandle handle, const char* title, const char* company,
                               const char* detailDirectory, int hierarchicalIndex,
                               const char* additionalHead, const char* header,
                               const char* footer, const char* itemTemplate,
                               const char* sourceListingDirectory, const char* outputFile,
                               const char* projectList, int detailDirectoryGiven, int lineBreaks,
                               int mixCppCsharp, ModuleProgressFn progress,
                               ModuleStatusFn status, ModuleErrorFn error, void* context) {
    Listing* l = listing(handle);
    if (l->out) std::fclose(l->out);
    const char* path = std::getenv("VANTRY_LISTING_FILE");
    l->out = path ? std::fopen(path, "w") : nullptr;
    l->detailDirectory = detailDirectory;
    put(*l, "site\t" + escaped(outputFile) + '\t' + escaped(detailDirectory));
    if (auto fn = find<ModuleInitFn>(*l, "init"))
        fn(l->inner, title, company, detailDirectory, hierarchicalIndex, additionalHead, header,
           footer, itemTemplate, sourceListingDirectory, outputFile, projectList,
           detailDirectoryGiven, lineBreaks, mixCppCsharp, progress, status, error, context);
}

VANTRY_MODULE_EXPORT void startClass(ModuleHandle handle, const char* name, const char* comment,
                                     const char* baseList, const char* fileNames,
                                     const char* package, const char* kind,
                                     const char* container, const char* sourceDirectory,
                                     const char* language) {
    Listing* l = listing(handle);
    const std::string page = classPagePath(
        l->detailDirectory + "/", package,
        classPageName(name, std::string_view(language) == "csharp" ? 1 : 0));
    put(*l, "class\t" + escaped(page.c_str()) + '\t' + escaped(name) + '\t' + escaped(kind) +
                '\t' + escaped(language));
    if (auto fn = find<ModuleStartClassFn>(*l, "startClass"))
        fn(l->inner, name, comment, baseList, fileNames, package, kind, container,
           sourceDirectory, language);
}

VANTRY_MODULE_EXPORT void startMember(ModuleHandle handle, const char* name, const char* comment,
                                      const char* access, const char* declaration,
                                      int hasArguments, const char* fileNames,
                                      int argumentCount, const char** arguments) {
    Listing* l = listing(handle);
    std::string line = "member\t" + escaped(name) + '\t' + escaped(access) + '\t' +
                       (hasArguments ? "1" : "0") + '\t' + escaped(declaration);
    for (int i = 0; i < argumentCount; ++i) line += '\t' + escaped(arguments[i]);
    put(*l, line);
    if (comment && *comment) put(*l, "comment\t" + escaped(comment));
    if (auto fn = find<ModuleStartMemberFn>(*l, "startMember"))
        fn(l->inner, name, comment, access, declaration, hasArguments, fileNames, argumentCount,
           arguments);
}

VANTRY_MODULE_EXPORT void endMember(ModuleHandle handle, const char* name) {
    Listing* l = listing(handle);
    if (auto fn = find<ModuleEndMemberFn>(*l, "endMember")) fn(l->inner, name);
}

VANTRY_MODULE_EXPORT void endClass(ModuleHandle handle, const char* name) {
    Listing* l = listing(handle);
    if (auto fn = find<ModuleEndClassFn>(*l, "endClass")) fn(l->inner, name);
}

VANTRY_MODULE_EXPORT void done(ModuleHandle handle) {
    Listing* l = listing(handle);
    if (l->out) std::fflush(l->out);
    if (auto fn = find<ModuleDoneFn>(*l, "done")) fn(l->inner);
}

VANTRY_MODULE_EXPORT const char* getOptions(ModuleHandle handle) {
    Listing* l = listing(handle);
    auto fn = find<ModuleGetOptionsFn>(*l, "getOptions");
    return fn ? fn(l->inner) : "|";
}

VANTRY_MODULE_EXPORT void setOptions(ModuleHandle handle, const char** values) {
    Listing* l = listing(handle);
    if (auto fn = find<ModuleSetOptionsFn>(*l, "setOptions")) fn(l->inner, values);
}
