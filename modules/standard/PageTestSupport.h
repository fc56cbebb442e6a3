// Helpers for the page writers' tests: a small class list built in memory.
#pragma once

#include "model/CppClassMember.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/DocCppClass.h"

#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace pagetest {

struct ListFixture {
    DocClassList list{nullptr};
    DocOptions options;

    // Registers a class of the project (language 0 C++, 1 C#, 2 Java).
    DocCppClass* addClass(const std::string& name, const std::string& project,
                          const std::string& kind = "class", int language = 2,
                          const std::string& comment = "", const std::string& bases = "") {
        auto* cls = new DocCppClass(&list, options, language);
        cls->setName(name);
        cls->setPackage(project);
        cls->setKind(kind);
        cls->setComment(comment);
        if (!bases.empty()) setBasesFromText(*cls, bases);
        return static_cast<DocCppClass*>(list.addClass(cls));
    }

    // Adds a member to the class and returns it.
    CppClassMember* addMember(CppClass* cls, const std::string& name,
                              const std::string& declaration, const std::string& access = "public",
                              const std::string& comment = "", bool function = false,
                              const std::vector<std::string>& arguments = {}) {
        return cls->addMember(name, declaration, access, comment, function, "", arguments,
                              new DocCppClassMember(cls), false);
    }
};

// A fresh directory below the system's temporary directory, removed with
// everything in it when the object goes.
struct TempDir {
    std::filesystem::path path;
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "pagetestXXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string str() const { return path.string(); }
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The text of an HTML fragment as a browser shows it: elements dropped (a
// break, paragraph, list or definition element ends a line), the usual
// character references read, blanks collapsed and each line trimmed; the
// lines joined by "\n".
inline std::string shownText(const std::string& html) {
    static const char* const lineElements[] = {"br", "p", "dl", "dt", "dd", "pre", "div",
                                               "li", "ul", "ol", "tr", "table", "h3", "hr"};
    std::string text;
    for (std::size_t i = 0; i < html.size(); ++i) {
        if (html[i] == '<') {
            const std::size_t end = html.find('>', i);
            std::string name;
            for (std::size_t j = i + 1; j < html.size() && std::isalnum(static_cast<unsigned char>(html[j])) ; ++j)
                name += static_cast<char>(std::tolower(static_cast<unsigned char>(html[j])));
            if (name.empty() && i + 1 < html.size() && html[i + 1] == '/')
                for (std::size_t j = i + 2; j < html.size() && std::isalnum(static_cast<unsigned char>(html[j])); ++j)
                    name += static_cast<char>(std::tolower(static_cast<unsigned char>(html[j])));
            for (const char* element : lineElements)
                if (name == element) text += '\n';
            if (end == std::string::npos) break;
            i = end;
            continue;
        }
        if (html[i] == '&') {
            static const std::pair<const char*, const char*> entities[] = {
                {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}, {"&quot;", "\""}, {"&nbsp;", " "},
                {"&#64;", "@"}, {"&#60;", "<"}, {"&#62;", ">"}};
            bool known = false;
            for (const auto& [entity, shown] : entities)
                if (html.compare(i, std::strlen(entity), entity) == 0) {
                    text += shown;
                    i += std::strlen(entity) - 1;
                    known = true;
                    break;
                }
            if (known) continue;
        }
        text += std::isspace(static_cast<unsigned char>(html[i])) ? ' ' : html[i];
    }
    std::string lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line;
        for (std::size_t i = start; i < end; ++i)
            if (text[i] != ' ' || (!line.empty() && line.back() != ' ')) line += text[i];
        while (!line.empty() && line.back() == ' ') line.pop_back();
        if (!line.empty()) lines += (lines.empty() ? "" : "\n") + line;
        start = end + 1;
    }
    return lines;
}

// The links of an HTML fragment, each as its shown text and its href.
inline std::vector<std::pair<std::string, std::string>> linksIn(const std::string& html) {
    std::vector<std::pair<std::string, std::string>> links;
    for (std::size_t at = html.find("<a href=\""); at != std::string::npos;
         at = html.find("<a href=\"", at + 1)) {
        const std::size_t hrefEnd = html.find('"', at + 9);
        const std::size_t textStart = html.find('>', hrefEnd) + 1;
        const std::size_t textEnd = html.find("</a>", textStart);
        links.emplace_back(shownText(html.substr(textStart, textEnd - textStart)),
                           html.substr(at + 9, hrefEnd - at - 9));
    }
    return links;
}

}  // namespace pagetest
