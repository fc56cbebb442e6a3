#include "modules/standard/DocCppClass.h"

#include "VelkLib/VelkTokenizer.h"
#include "model/ModelText.h"
#include "modules/standard/DocClassList.h"
#include "modules/common/ModuleText.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <tuple>

DocCppClass::DocCppClass(DocClassList* list, const DocOptions& options, int language)
    : CppClass(nullptr, options, language, false, false), classList(list) {}

DocCppClass::~DocCppClass() = default;

CppClass* DocCppClass::clone() const {
    auto* copy = new DocCppClass(classList, getOptions(), 3);
    copy->copyFrom(*this);
    return copy;
}

std::string DocCppClass::getPageFile(const std::string& prefix) const {
    std::string package = getPackage();
    if (!page.made || page.name != getName() || page.package != package) {
        page.path = classPagePath("", package, getName());
        page.name = getName();
        page.package = std::move(package);
        page.made = true;
    }
    std::string path;
    path.reserve(prefix.size() + page.path.size());
    path += prefix;
    path += page.path;
    return path;
}

std::string DocCppClass::getLink(const std::string& prefix, const std::string& tag,
                                 const std::string& anchor, bool useQualifiedName) const {
    return makeLink(escapeHtml(useQualifiedName ? getQualifiedName() : getName()),
                    getPageFile(prefix), tag, anchor);
}

DocCppClassMember::DocCppClassMember(CppClass* owner) : CppClassMember(owner) {}

DocCppClassMember::~DocCppClassMember() = default;

CppClassMember* DocCppClassMember::clone(CppClass* newOwner) const {
    auto* copy = new DocCppClassMember(newOwner);
    copyMemberTo(*copy);
    return copy;
}

TempCppClass::TempCppClass() : CppClass(nullptr, DocOptions(), 3, false, false) {}

TempCppClass::~TempCppClass() = default;

CppClass* TempCppClass::clone() const { return nullptr; }

std::string TempCppClass::getPageFile(const std::string& prefix) const {
    return classPagePath(prefix, getPackage(), getName());
}

std::string projectDirectoryName(const std::string& projectName) {
    return safePathComponent(projectName);
}

std::string linkToNamedClass(const std::string& className, const std::string& package) {
    TempCppClass record;
    record.setName(className);
    record.setPackage(package);
    return "<a href=\"" + record.getPageFile("../") + "\">" + escapeHtml(className) + "</a>";
}

std::string kindAndName(const CppClass& cls) { return cls.getKind() + " " + cls.getName(); }

std::string getOuterScopeName(const CppClass& cls) {
    if (cls.getText().empty()) return "";
    std::string separator = cls.getScopeSeparator();
    size_t at = cls.getName().rfind(separator);
    if (at == std::string::npos) return "";
    return cls.getName().substr(0, at);
}

std::string projectSummaryLink(const CppClass& cls, const std::string& prefix) {
    std::string page = cls.getPageFile(prefix);
    size_t slash = page.find_last_of("/\\");
    std::string directory = slash == std::string::npos ? "." : page.substr(0, slash);
    return makeLink(escapeHtml(cls.getPackage()), directory + "/project-summary.html", "", "");
}

void appendMembersTo(const CppClass& cls, std::vector<CppClassMember*>& list) {
    list.insert(list.end(), cls.getMembers().begin(), cls.getMembers().end());
}

namespace {

// The extension of the file name part: after its last '.', "" when none.
std::string extensionOf(const std::string& path) {
    std::string file = lastPathPart(path);
    size_t dot = file.rfind('.');
    return dot == std::string::npos ? "" : file.substr(dot + 1);
}

// A key that orders headers ("h...") just before sources ("c...") and
// every other extension alphabetically around them, so that the order is
// consistent however extensions are mixed.
std::string extensionKey(const std::string& path) {
    std::string ext = toLowerCase(extensionOf(path));
    if (ext.empty()) return ext;
    if (ext[0] == 'h') return "c\x01" + ext.substr(1);
    if (ext[0] == 'c') return "c\x02" + ext.substr(1);
    return ext;
}

}  // namespace

int compareSourceFileNames(const std::string& a, const std::string& b) {
    auto key = [](const std::string& s) {
        return std::make_tuple(extensionKey(s), toLowerCase(s));
    };
    auto ka = key(a), kb = key(b);
    if (ka < kb) return -1;
    if (kb < ka) return 1;
    return 0;
}

std::vector<std::string> sortedStrings(const CppClassEntity& entity) {
    std::vector<std::string> names = entity.getFileNames();
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return compareSourceFileNames(a, b) < 0;
    });
    return names;
}

DocClassList* classListOf(const CppClassEntity* entity) {
    if (!entity) return nullptr;
    auto* cls = dynamic_cast<const DocCppClass*>(entity->getClass());
    return cls ? cls->getClassList() : nullptr;
}
