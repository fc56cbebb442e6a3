// The one-time preparation of member entries before the class pages are
// written.
#include "model/CppClass.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/DocCppClass.h"
#include "modules/standard/PageMembers.h"
#include "modules/standard/PageWriters.h"

void DocCppClass::writeMemberEntries() {
    std::string package = getPackage();
    for (CppClassMember* member : getMembers())
        writeMemberEntry(*member, package, getName(), getParent());
}

void DocCppClass::writeMemberEntries(const MemberEntryLinker& linker) {
    const std::string package = getPackage();
    for (CppClassMember* member : getMembers()) linker.link(*member, package);
}

void DocClassList::prepareMemberEntries() {
    if (prepared) return;
    prepared = true;
    // No class is added while the entries are written, so one index of the
    // class names serves every member.
    const MemberEntryLinker linker(*this);
    for (const auto& entry : getClasses())
        if (auto* cls = dynamic_cast<DocCppClass*>(entry.second)) cls->writeMemberEntries(linker);
}
