// Helpers for the page writers' tests: a small class list built in memory.
#pragma once

#include "model/CppClassMember.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/DocCppClass.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
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

}  // namespace pagetest
