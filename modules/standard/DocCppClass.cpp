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
    const bool stale = !page.made || page.name != getName() || page.package != package;
    // Pages written on several threads ask at once: nothing is stored then.
    if (stale && classList && classList->cachesFrozen())
        return prefix + classList->pageNameOf(package, classPageName(getName(), getLanguage()));
    if (stale) {
        const std::string pageName = classPageName(getName(), getLanguage());
        page.path = classList ? classList->pageNameOf(package, pageName)
                              : classPagePath("", package, pageName);
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
    copy->anchorNumber = anchorNumber;
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
    size_t slash = findLastOfEither(page, '/', '\\');
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

char firstLowered(const std::string& text) {
    char c = text[0];
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

int compareSourceFileNames(const std::string& a, const std::string& b) {
    const std::string ea = toLowerCase(extensionOf(a)), eb = toLowerCase(extensionOf(b));
    if (!ea.empty() && !eb.empty()) {
        if (firstLowered(ea) == 'h' && firstLowered(eb) == 'c') return -1;
        if (firstLowered(ea) == 'c' && firstLowered(eb) == 'h') return 1;
    }
    if (ea != eb) return ea < eb ? -1 : 1;
    const std::string la = toLowerCase(a), lb = toLowerCase(b);
    return la < lb ? -1 : (lb < la ? 1 : 0);
}

std::vector<std::string> sortedStrings(const CppClassEntity& entity) {
    // The pairwise rule puts headers before sources but is no order when
    // other extensions fall between ("h" > "d" > "c"): the names are sorted
    // by extension and name, and the headers move before the sources only
    // when no other extension lies between them, so every two neighbours
    // keep the rule.
    std::vector<std::string> names(entity.getFileNames().begin(), entity.getFileNames().end());
    auto key = [](const std::string& s) { return std::make_pair(toLowerCase(extensionOf(s)), toLowerCase(s)); };
    std::stable_sort(names.begin(), names.end(),
                     [&](const std::string& a, const std::string& b) { return key(a) < key(b); });
    auto startsWith = [](char c) {
        return [c](const std::string& name) {
            const std::string ext = extensionOf(name);
            return !ext.empty() && firstLowered(ext) == c;
        };
    };
    auto sources = std::find_if(names.begin(), names.end(), startsWith('c'));
    auto headers = std::find_if(sources, names.end(), startsWith('h'));
    if (sources != names.end() && headers != names.end() &&
        std::all_of(sources, headers, startsWith('c'))) {
        auto headersEnd = std::find_if_not(headers, names.end(), startsWith('h'));
        std::rotate(sources, headers, headersEnd);
    }
    return names;
}

DocClassList* classListOf(const CppClassEntity* entity) {
    if (!entity) return nullptr;
    auto* cls = dynamic_cast<const DocCppClass*>(entity->getClass());
    return cls ? cls->getClassList() : nullptr;
}
