// The forwarding of a filled class list to an output module: which classes
// and members are sent, in which order, and which model text fills each
// argument. The module itself is behind ModuleSink, so the model does not
// depend on how modules are loaded.
#include "model/CppClass.h"
#include "model/DocGenClassList.h"
#include "model/DocGenCppClass.h"
#include "model/DocGenCppClassMember.h"
#include "model/GenericNames.h"
#include "model/ModelText.h"
#include "model/ModuleSink.h"
#include "model/SpecialisationNames.h"

namespace {

const char* languageText(int language) {
    switch (language) {
        case 0: return "cpp";
        case 1: return "csharp";
        case 2: return "java";
        default: return "unknown";
    }
}

// A member's file list as sent, kept from member to member: the members of
// a class mostly come from one file, and then the text is made once.
struct FileListText {
    std::vector<InternedText> names;
    std::string text;

    const std::string& of(const CppClassEntity& entity) {
        if (entity.getFileNames() != names) {
            names = entity.getFileNames();
            text = entity.getFileNameList();
        }
        return text;
    }
};

void sendMember(const CppClassMember& member, ModuleSink& module, FileListText& fileNames) {
    module.startMember(member.getName(), member.getComment(), member.getAccess(),
                       member.getDeclaration(), member.hasArgumentList(), fileNames.of(member),
                       member.getArguments());
    module.endMember(member.getName());
}

// Members and classes of other kinds than the DocGen ones (which the run
// never makes) are sent the same way rather than dropped. A C# class, and
// its bases, go under the names `twins` gives them; a C++ base written with
// template arguments keeps them where they name a specialisation in
// `classes` (none: never).
void sendClass(const CppClass& cls, ModuleSink& module, FileListText& fileNames,
               const GenericTwins& twins, const ClassList* classes) {
    const bool csharp = cls.getLanguage() == 1;
    const std::string name = csharp ? twins.className(cls) : cls.getName();
    std::string bases;
    if (csharp)
        bases = cls.getBaseList("|", true, [&](const std::string& base) { return twins.baseName(cls, base); });
    else if (cls.getLanguage() == 0)
        bases = cls.getBaseList("|", true, [&](const std::string& base) {
            return classes ? sentSpecialisationBase(*classes, cls, base) : withoutTemplateArguments(base);
        });
    else
        bases = cls.getBaseList("|", true);
    module.startClass(name, cls.getComment(), bases, cls.getFileNameList(), cls.getPackage(),
                      cls.getKind(), csharp ? twins.containerText(cls) : cls.getText(),
                      cls.getSourceDirectory(), languageText(cls.getLanguage()));
    for (const CppClassMember* member : cls.getMembers()) sendMember(*member, module, fileNames);
    module.endClass(name);
}

template <typename AfterSend>
void sendClasses(const DocGenClassList& list, ModuleSink& module, AfterSend afterSend) {
    FileListText fileNames;
    const GenericTwins twins(list);
    for (const auto& [key, cls] : list.getClasses()) {
        if (isGlobalsClassName(cls->getName()) && cls->getBases().empty() &&
            cls->getMembers().empty())
            continue;
        sendClass(*cls, module, fileNames, twins, &list);
        afterSend(*cls);
    }
}

}  // namespace

void DocGenClassList::sendToModule(ModuleSink& module) const {
    sendClasses(*this, module, [](CppClass&) {});
}

void DocGenClassList::sendToModuleReleasing(ModuleSink& module) {
    sendClasses(*this, module, [](CppClass& cls) { cls.deleteMembers(); });
}

void DocGenCppClass::sendToModule(ModuleSink& module) const {
    FileListText fileNames;
    sendClass(*this, module, fileNames, GenericTwins(), nullptr);
}

void DocGenCppClassMember::sendToModule(ModuleSink& module) const {
    FileListText fileNames;
    sendMember(*this, module, fileNames);
}
