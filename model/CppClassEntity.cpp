#include "model/CppClassEntity.h"

#include <algorithm>

#include "model/CppClass.h"
#include "model/ModelText.h"

CppClassEntity::CppClassEntity(const DocOptions& options_) : options(options_) {}

CppClassEntity::~CppClassEntity() = default;

bool CppClassEntity::isPublic() const { return true; }

void CppClassEntity::copyEntity(const CppClassEntity& other) {
    if (&other == this) return;
    name = other.name;
    comment = other.comment;
    fileNames = other.fileNames;
    fileNameSet = other.fileNameSet;
    options = other.options;
}

bool CppClassEntity::isSame(const CppClassEntity& other) const {
    return name == other.name && comment == other.comment;
}

void CppClassEntity::addFileNamesOf(const CppClassEntity& other) {
    if (&other == this) return;
    for (const std::string& f : other.fileNames) addFileName(f);
    if (comment.empty()) comment = other.comment;
}

std::string CppClassEntity::getPackage() const {
    const CppClass* owner = getClass();
    return owner ? owner->getPackage() : std::string();
}

std::string CppClassEntity::getLink(const std::string& prefix, const std::string& tag,
                                    const std::string& anchor, bool useQualifiedName) const {
    return makeLink(useQualifiedName ? getQualifiedName() : name, getPageFile(prefix), tag,
                    anchor);
}

std::string CppClassEntity::getQualifiedName() const { return name; }

std::string CppClassEntity::getDisplayName() const { return name; }

void CppClassEntity::addFileName(const std::string& fileName) {
    if (fileName.empty()) return;
    if (fileNameSet.empty()) {
        // Nearly every entity is met in one file or two: the list itself is
        // searched until it grows long enough to need its mirror.
        if (std::find(fileNames.begin(), fileNames.end(), fileName) != fileNames.end()) return;
        fileNames.push_back(fileName);
        if (fileNames.size() > fewFileNames) fileNameSet.insert(fileNames.begin(), fileNames.end());
        return;
    }
    if (fileNameSet.insert(fileName).second) fileNames.push_back(fileName);
}

void CppClassEntity::setFileName(const std::string& fileName) {
    fileNames.clear();
    fileNameSet.clear();
    addFileName(fileName);
}

std::string CppClassEntity::getFileNameList() const {
    std::string list;
    for (const std::string& f : fileNames) {
        list += f;
        list += '|';
    }
    return list;
}

std::string CppClassEntity::getScopeSeparator() const {
    if (options.dotScope) return ".";
    const CppClass* owner = getClass();
    if (!owner || owner->getLanguage() != 0) return ".";
    return "::";
}
