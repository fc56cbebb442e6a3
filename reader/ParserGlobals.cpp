#include "reader/ParserGlobals.h"

#include "model/ClassList.h"
#include "model/DocGenCppClass.h"
#include "model/ModelText.h"

std::string globalsClassName(const std::string& package) {
    std::string prefix = (package.empty() || package == noProjectName) ? "" : package + " ";
    return "(" + prefix + " globals)";
}

CppClass* findOrCreateClass(ClassList& classList, const std::string& package, int language) {
    const std::string name = globalsClassName(package);
    // Look the record up under the package text that setPackage stores.
    std::string stored = lastPathPart(package);
    if (stored.empty()) stored = "(default)";
    if (CppClass* found = classList.findClass(stored, name, false)) return found;
    auto* globals = new DocGenCppClass(nullptr, DocOptions(), language, false, false);
    globals->setName(name);
    globals->setPackage(package);
    return classList.addClass(globals);
}
