// Test support for the parser tests: parses a text written to a file of a
// temporary directory and looks the results up in the class list.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "model/CppClass.h"
#include "model/CppClassMember.h"
#include "model/DocGenClassList.h"
#include "model/MacroDefinition.h"
#include "reader/CppFile.h"
#include "reader/PreprocessorDefines.h"

class ParsedSource {
public:
    ParsedSource() {
        directory = std::filesystem::temp_directory_path() /
                    ("vantry-parser-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(directory);
        languages = {{"cpp", 0}, {"h", 0}, {"cs", 1}, {"java", 2}};
    }
    ~ParsedSource() {
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
    }

    // Writes text to a file of that name and parses it with project.
    void parse(const std::string& name, const std::string& text, const std::string& project = "proj") {
        std::string path = (directory / name).string();
        FILE* f = fopen(path.c_str(), "wb");
        fwrite(text.data(), 1, text.size(), f);
        fclose(f);
        CppFile file(path, project, &ParsedSource::onStatus, &ParsedSource::onError, this, defines,
                     format, &settings, &languages);
        language = file.getLanguage();
        file.parse(classes, true, &macros, &packages);
    }

    CppClass* cls(const std::string& package, const std::string& name) const {
        auto found = classes.getClasses().find({package, name});
        return found == classes.getClasses().end() ? nullptr : found->second;
    }

    static CppClassMember* member(const CppClass* c, const std::string& name) {
        if (!c) return nullptr;
        for (CppClassMember* m : c->getMembers())
            if (m->getName() == name) return m;
        return nullptr;
    }

    std::vector<std::string> memberNames(const CppClass* c) const {
        std::vector<std::string> names;
        if (c)
            for (CppClassMember* m : c->getMembers()) names.push_back(m->getName());
        return names;
    }

    // Each member as "name: declaration", in the class's order.
    std::vector<std::string> memberTexts(const CppClass* c) const {
        std::vector<std::string> texts;
        if (c)
            for (CppClassMember* m : c->getMembers()) texts.push_back(m->getName() + ": " + m->getDeclaration());
        return texts;
    }

    std::vector<std::string> classNames() const {
        std::vector<std::string> names;
        for (const auto& [key, c] : classes.getClasses()) names.push_back(key.first + "/" + key.second);
        return names;
    }

    DocGenClassList classes;
    ParserSettings settings;
    PreprocessorDefines defines;
    DocCommentFormat format;
    std::map<std::string, int> languages;
    std::map<std::string, MacroDefinition> macros;
    std::map<std::string, bool> packages;
    std::vector<std::string> warnings;
    std::vector<std::string> statuses;
    std::filesystem::path directory;
    int language = -1;

private:
    static void onStatus(const char* line1, const char* line2, void* context) {
        if (line1 == nullptr) static_cast<ParsedSource*>(context)->statuses.push_back(line2);
    }
    static void onError(const char* text, void* context) {
        static_cast<ParsedSource*>(context)->warnings.push_back(text);
    }
    static inline int counter = 0;
};
