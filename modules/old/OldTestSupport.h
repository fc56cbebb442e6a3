// Helpers for the old module's tests: a run driven through the module's own
// exports (linked in, not loaded) into a fresh temporary directory.
#pragma once

#include "modules/ModuleInterface.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <type_traits>
#include <unistd.h>
#include <vector>

// The exports, declared from the interface's own function types.
extern "C" {
std::remove_pointer_t<ModuleCreateFn> create;
std::remove_pointer_t<ModuleDestroyFn> destroy;
std::remove_pointer_t<ModuleInitFn> init;
std::remove_pointer_t<ModuleStartClassFn> startClass;
std::remove_pointer_t<ModuleStartMemberFn> startMember;
std::remove_pointer_t<ModuleEndMemberFn> endMember;
std::remove_pointer_t<ModuleEndClassFn> endClass;
std::remove_pointer_t<ModuleDoneFn> done;
}

namespace oldtest {

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

inline std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

struct Settings {
    bool tree = false;
    std::string header{}, footer{}, itemTemplate{}, sourceDirectory = "?";
    bool detailPages = true;
    std::string title = "Title", company = "Company";
    ModuleProgressFn progress = nullptr;
    void* context = nullptr;
};

// One module handle and one output directory ("index.html" and
// "projects/"), both gone with the object.
struct Run {
    std::filesystem::path dir;
    ModuleHandle handle = create();

    Run() {
        std::string pattern = (std::filesystem::temp_directory_path() / "oldmoduleXXXXXX").string();
        dir = mkdtemp(pattern.data());
    }
    ~Run() {
        destroy(handle);
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    std::string index() const { return (dir / "index.html").string(); }
    // The detail directory below dir ("-classdir").
    std::string detailName = "projects";
    std::string detail() const { return (dir / detailName).string(); }

    void start(const Settings& s = {}) {
        init(handle, s.title.c_str(), s.company.c_str(), detail().c_str(), s.tree ? 1 : 0, "", s.header.c_str(),
             s.footer.c_str(), s.itemTemplate.c_str(), s.sourceDirectory.c_str(), index().c_str(),
             "", s.detailPages ? 1 : 0, 0, 0, s.progress, nullptr, nullptr, s.context);
    }
    // startClass with the texts that matter here, then endClass unless the
    // class is to stay open for members.
    void addClass(const std::string& name, const std::string& bases = "",
                  const std::string& kind = "class", const std::string& files = "",
                  const std::string& package = "lib", bool keepOpen = false,
                  const std::string& comment = "") {
        startClass(handle, name.c_str(), (comment.empty() ? "About " + name : comment).c_str(),
                   bases.c_str(), files.c_str(), package.c_str(), kind.c_str(), "", "", "cpp");
        if (!keepOpen) endClass(handle, name.c_str());
    }
    void addMember(const std::string& name, const std::string& declaration,
                   const std::string& access, std::vector<const char*> arguments = {},
                   bool function = true, const std::string& files = "",
                   const std::string& comment = "") {
        startMember(handle, name.c_str(), comment.c_str(), access.c_str(), declaration.c_str(),
                    function ? 1 : 0, files.c_str(), static_cast<int>(arguments.size()),
                    arguments.data());
        endMember(handle, name.c_str());
    }
    std::string indexText() const { return readFile(dir / "index.html"); }
    std::string page(const std::string& name, const std::string& package = "lib") const {
        return readFile(dir / detailName / package / (name + ".html"));
    }
};

}  // namespace oldtest
