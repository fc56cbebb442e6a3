// The forwarding of a filled class list to an output module: which classes
// and members are sent, in which order, and which model text fills each
// argument. The module itself is behind ModuleSink, so the model does not
// depend on how modules are loaded.
#include "model/CppClass.h"
#include "model/DocGenClassList.h"
#include "model/DocGenCppClass.h"
#include "model/DocGenCppClassMember.h"
#include "model/ModelText.h"
#include "model/ModuleSink.h"

namespace {

const char* languageText(int language) {
    switch (language) {
        case 0: return "cpp";
        case 1: return "csharp";
        case 2: return "java";
        default: return "unknown";
    }
}

void sendMember(const CppClassMember& member, ModuleSink& module) {
    module.startMember(member.getName(), member.getComment(), member.getAccess(),
                       member.getDeclaration(), member.hasArgumentList(),
                       member.getFileNameList(), member.getArguments());
    module.endMember(member.getName());
}

// Records of other kinds than the DocGen ones (which the run never makes)
// are sent the same way rather than dropped or dereferenced as null.
void sendClass(const CppClass& cls, ModuleSink& module) {
    module.startClass(cls.getName(), cls.getComment(), cls.getBaseList("|", true),
                      cls.getFileNameList(), cls.getPackage(), cls.getKind(), cls.getText(),
                      cls.getSourceDirectory(), languageText(cls.getLanguage()));
    for (const CppClassMember* member : cls.getMembers()) {
        if (auto* docGen = dynamic_cast<const DocGenCppClassMember*>(member))
            docGen->sendToModule(module);
        else
            sendMember(*member, module);
    }
    module.endClass(cls.getName());
}

}  // namespace

namespace {

template <typename AfterSend>
void sendClasses(const DocGenClassList& list, ModuleSink& module, AfterSend afterSend) {
    for (const auto& [key, cls] : list.getClasses()) {
        if (isGlobalsClassName(cls->getName()) && cls->getBases().empty() &&
            cls->getMembers().empty())
            continue;
        if (auto* docGen = dynamic_cast<const DocGenCppClass*>(cls))
            docGen->sendToModule(module);
        else
            sendClass(*cls, module);
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

void DocGenCppClass::sendToModule(ModuleSink& module) const { sendClass(*this, module); }

void DocGenCppClassMember::sendToModule(ModuleSink& module) const { sendMember(*this, module); }
