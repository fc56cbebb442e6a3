#include "modules/standard/DocCppClass.h"

#include "VelkLib/VelkTokenizer.h"
#include "model/ModelText.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/ModuleText.h"

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

namespace {

// What each byte becomes in a path component: ':' becomes '.'; blank, '[',
// ']', '/', '\\' and control characters become '_'.
constexpr std::array<char, 256> makePathCharMap() {
    std::array<char, 256> map{};
    for (int c = 0; c < 256; ++c) map[c] = static_cast<char>(c);
    for (int c = 0; c < 0x20; ++c) map[c] = '_';
    map[0x7f] = '_';
    for (char c : {' ', '[', ']', '/', '\\'}) map[static_cast<unsigned char>(c)] = '_';
    map[':'] = '.';
    return map;
}

constexpr std::array<char, 256> pathCharMap = makePathCharMap();

// Appends safePathComponent(name); page paths are made for every link to a
// class, so they are built in one string.
void appendSafePathComponent(std::string& out, std::string_view name) {
    const std::size_t start = out.size();
    out += name;
    char* const made = out.data() + start;
    for (std::size_t i = 0; i < name.size(); ++i)
        made[i] = pathCharMap[static_cast<unsigned char>(made[i])];
    const std::string_view component = std::string_view(out).substr(start);
    if (component.empty() || component == "." || component == "..") {
        out.resize(start);
        out += '_';
    }
}

}  // namespace

std::string safePathComponent(const std::string& name) {
    std::string result;
    result.reserve(name.size());
    appendSafePathComponent(result, name);
    return result;
}

std::string projectDirectoryName(const std::string& projectName) {
    return safePathComponent(projectName);
}

std::string classPagePath(const std::string& prefix, const std::string& package,
                          const std::string& name) {
    // The directory is projectDirectoryName of the package's last part.
    std::string_view directory = package;
    for (std::size_t i = directory.size(); i > 0; --i)
        if (directory[i - 1] == '/' || directory[i - 1] == '\\') {
            directory.remove_prefix(i);
            break;
        }
    std::string path;
    path.reserve(prefix.size() + directory.size() + name.size() + 6);
    path += prefix;
    if (!directory.empty()) {
        appendSafePathComponent(path, directory);
        path += '/';
    }
    appendSafePathComponent(path, name);
    path += ".html";
    return path;
}

std::string linkToNamedClass(const std::string& className, const std::string& package) {
    TempCppClass record;
    record.setName(className);
    record.setPackage(package);
    return "<a href=\"" + record.getPageFile("../") + "\">" + escapeHtml(className) + "</a>";
}

void setBasesFromText(CppClass& cls, const std::string& text) {
    VelkTokenizer entries(text, "|");
    while (entries.hasMoreTokens()) {
        std::string entry = entries.nextToken('\0', '\\');
        VelkTokenizer fields(entry, ",");
        std::string name = fields.nextToken('\0', '\\');
        std::string flag = fields.nextToken('\0', '\\');
        cls.addBase(name, flag == "t");
    }
}

void setFileNamesFromText(CppClassEntity& entity, const std::string& text) {
    size_t start = 0;
    std::string name;  // one buffer for every name of the text
    while (start < text.size()) {
        size_t bar = text.find('|', start);
        if (bar == std::string::npos) {
            if (start == 0) {  // the usual single name needs no copy
                entity.addFileName(text);
                return;
            }
            bar = text.size();
        }
        name.assign(text, start, bar - start);
        entity.addFileName(name);
        start = bar + 1;
    }
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
    std::vector<std::string> names = entity.getFileNames();
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
