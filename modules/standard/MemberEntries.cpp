// The one-time preparation of member entries before the class pages are
// written.
#include "VelkLib/VelkThreadPool.h"
#include "model/CppClass.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/DocCppClass.h"
#include "modules/standard/PageMembers.h"
#include "modules/standard/PageWriters.h"

void DocCppClass::writeMemberEntries() {
    std::string package = getPackage();
    for (CppClassMember* member : getMembers())
        writeMemberEntry(*member, package, getName(), getParent());
    assignMemberAnchors(*this);
}

void DocCppClass::writeMemberEntries(const MemberEntryLinker& linker) {
    const std::string package = getPackage();
    for (CppClassMember* member : getMembers()) linker.link(*member, package);
    assignMemberAnchors(*this);
}

void DocClassList::prepareMemberEntries() {
    if (prepared) return;
    prepared = true;
    // No class is added while the entries are written, so one index of the
    // class names serves every member.
    const MemberEntryLinker linker(*this);
    std::vector<DocCppClass*> classes;
    classes.reserve(size());
    for (const auto& entry : getClasses())
        if (auto* cls = dynamic_cast<DocCppClass*>(entry.second)) classes.push_back(cls);
    VelkThreadPool* pool = classes.size() < 2 ? nullptr : pagePool();
    if (!pool) {
        for (DocCppClass* cls : classes) {
            checkCancel();
            cls->writeMemberEntries(linker);
        }
        return;
    }
    // A member's entry reads the list and changes only the member itself.
    FrozenCaches frozenWhileWriting(*this);
    forEachSlice(*pool, classes.size(), 8 * std::size_t{pool->size()},
                 [&](std::size_t, std::size_t begin, std::size_t end) {
                     for (std::size_t i = begin; i < end; ++i) {
                         checkCancel();
                         classes[i]->writeMemberEntries(linker);
                     }
                 });
}
