#include "model/CppClassEntity.h"

#include <algorithm>
#include <mutex>

#include "model/CppClass.h"
#include "model/ModelText.h"

namespace {

// The default record, made once and shared by every entity created
// without options (never changed, so sharing it across threads is safe).
const std::shared_ptr<const DocOptions>& defaultOptions() {
    static const std::shared_ptr<const DocOptions> record = std::make_shared<const DocOptions>();
    return record;
}

// The one record of each set of switches: a run makes all its classes with
// the same few sets, and a record of its own (some 200 bytes) for each of
// 130,000 classes would cost more than their names. Kept to the end, like
// the default; they are few.
std::shared_ptr<const DocOptions> sharedOptions(const DocOptions& options) {
    static std::mutex lock;
    static std::vector<std::shared_ptr<const DocOptions>> records;
    std::lock_guard<std::mutex> hold(lock);
    for (const auto& record : records)
        if (*record == options) return record;
    records.push_back(std::make_shared<const DocOptions>(options));
    return records.back();
}

}  // namespace

CppClassEntity::CppClassEntity() : options(defaultOptions()) {}

CppClassEntity::CppClassEntity(const DocOptions& options_)
    : options(sharedOptions(options_)) {}

CppClassEntity::CppClassEntity(const CppClassEntity* optionsFrom, std::nullptr_t)
    : options(optionsFrom ? optionsFrom->options : defaultOptions()) {}

void CppClassEntity::setOptions(const DocOptions& newOptions) {
    options = sharedOptions(newOptions);
}

CppClassEntity::~CppClassEntity() = default;

bool CppClassEntity::isPublic() const { return true; }

void CppClassEntity::copyEntity(const CppClassEntity& other) {
    if (&other == this) return;
    name = other.name;
    comment = other.comment;
    fileNames = other.fileNames;
    fileNameSet = other.fileNameSet
                      ? std::make_unique<std::unordered_set<const std::string*>>(*other.fileNameSet)
                      : nullptr;
    options = other.options;
}

bool CppClassEntity::isSame(const CppClassEntity& other) const {
    return name == other.name && comment == other.comment;
}

void CppClassEntity::addFileNamesOf(const CppClassEntity& other) {
    if (&other == this) return;
    for (const InternedText& f : other.fileNames) addFileName(f);
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
    addFileName(InternedText(fileName));
}

void CppClassEntity::addFileName(InternedText fileName) {
    if (fileName.empty()) return;
    if (!fileNameSet) {
        // Nearly every entity is met in one file or two: the list itself is
        // searched until it grows long enough to need its mirror.
        if (std::find(fileNames.begin(), fileNames.end(), fileName) != fileNames.end()) return;
        fileNames.push_back(fileName);
        if (fileNames.size() > fewFileNames) {
            fileNameSet = std::make_unique<std::unordered_set<const std::string*>>();
            for (const InternedText& f : fileNames) fileNameSet->insert(&f.str());
        }
        return;
    }
    if (fileNameSet->insert(&fileName.str()).second) fileNames.push_back(fileName);
}

void CppClassEntity::setFileName(const std::string& fileName) {
    fileNames.clear();
    fileNameSet.reset();
    addFileName(fileName);
}

std::string CppClassEntity::getFileNameList() const {
    std::string list;
    for (const std::string& f : fileNames) {
        appendListField(list, f);
        list += '|';
    }
    return list;
}

std::string CppClassEntity::getScopeSeparator() const {
    if (options->dotScope) return ".";
    const CppClass* owner = getClass();
    if (!owner || owner->getLanguage() != 0) return ".";
    return "::";
}
