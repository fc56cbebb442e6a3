#include "modules/ModuleInterface.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/StandardModule.h"

#include <climits>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

extern "C" {
ModuleHandle create(void);
void destroy(ModuleHandle handle);
void init(ModuleHandle, const char*, const char*, const char*, int, const char*, const char*,
          const char*, const char*, const char*, const char*, const char*, int, int, int,
          ModuleProgressFn, ModuleStatusFn, ModuleErrorFn, void*);
void startClass(ModuleHandle, const char*, const char*, const char*, const char*, const char*,
                const char*, const char*, const char*, const char*);
void startMember(ModuleHandle, const char*, const char*, const char*, const char*, int,
                 const char*, int, const char**);
void endMember(ModuleHandle, const char*);
void endClass(ModuleHandle, const char*);
void done(ModuleHandle);
const char* getOptions(ModuleHandle);
void setOptions(ModuleHandle, const char**);
}

namespace {

// Every defined dynamic symbol of the built module, kind and name: only the
// ten functions of the module interface may be visible to the program.
TEST(ModuleExports, TheLibraryExportsExactlyTheTenFunctions) {
    const char* build = std::getenv("VANTRY_BUILD_DIR");
    ASSERT_NE(build, nullptr) << "VANTRY_BUILD_DIR is not set (run the test through CTest)";
    const std::filesystem::path module =
        std::filesystem::path(build) / "modules" / "vantry-standard.so";
    ASSERT_TRUE(std::filesystem::is_regular_file(module)) << module;
    FILE* pipe = popen(("nm -D --defined-only '" + module.string() + "'").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> symbols;
    std::array<char, 4096> line{};
    while (fgets(line.data(), line.size(), pipe)) {
        char type = 0;
        char name[4000] = {};
        if (std::sscanf(line.data(), "%*s %c %3999s", &type, name) == 2)
            symbols.insert(std::string(1, type) + " " + name);
    }
    ASSERT_EQ(pclose(pipe), 0);
    EXPECT_EQ(symbols, (std::set<std::string>{"T create", "T destroy", "T done", "T endClass",
                                               "T endMember", "T getOptions", "T init",
                                               "T setOptions", "T startClass",
                                               "T startMember"}));
}

void collectError(const char* text, void* context) {
    static_cast<std::vector<std::string>*>(context)->push_back(text);
}

TEST(ModuleExports, NullHandlesAndMissingClassesAreIgnored) {
    destroy(nullptr);
    endClass(nullptr, "x");
    EXPECT_STREQ(getOptions(nullptr), "");
    ModuleHandle handle = create();
    ASSERT_NE(handle, nullptr);
    startMember(handle, "m", "", "", "int m;", 0, "", 0, nullptr);
    endMember(handle, "nothing");
    endClass(handle, "nothing");
    EXPECT_EQ(static_cast<StandardModule*>(handle)->classList->size(), 0u);
    setOptions(handle, nullptr);
    EXPECT_NE(getOptions(handle), nullptr);
    destroy(handle);
}

TEST(ModuleExports, SiteErrorsReachTheErrorCallbackAndKeepTheClasses) {
    std::vector<std::string> errors;
    ModuleHandle handle = create();
    init(handle, "T", "", "/nonexistent-vantry-dir/projects", 0, "", "", "", "", ".",
         "/nonexistent-vantry-dir/index.html", "", 1, 0, 0, nullptr, nullptr, collectError,
         &errors);
    startClass(handle, "A", "", "", "", "p", "class", "", "", "cpp");
    endClass(handle, "A");
    done(handle);  // must not throw
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Couldn't open the output file"), std::string::npos);
    EXPECT_EQ(static_cast<StandardModule*>(handle)->classList->size(), 1u);
    destroy(handle);
}

// The current value of an option as getOptions describes it.
std::string currentValue(ModuleHandle handle, const std::string& key) {
    const std::string text = getOptions(handle);
    std::size_t at = text.find(key + "|");
    if (at == std::string::npos) return "(no option)";
    for (int bar = 0; bar < 3; ++bar) at = text.find('|', at) + 1;
    return text.substr(at, text.find('|', at) - at);
}

TEST(ModuleExports, IndexPagesNamedOutsideTheOutputAreRefusedWhoeverSendsThem) {
    std::vector<std::string> errors;
    ModuleHandle handle = create();
    init(handle, "T", "", "site/projects", 0, "", "", "", "", ".", "site/index.html", "", 1, 0, 0,
         nullptr, nullptr, collectError, &errors);
    std::array<const char*, 22> values{};
    values[2] = "../../escaped";  // index-file-base
    values[5] = "red";            // table-background, taken all the same
    setOptions(handle, values.data());
    EXPECT_EQ(currentValue(handle, "index-file-base"), "index");
    EXPECT_EQ(currentValue(handle, "table-background"), "red");
    EXPECT_EQ(errors, std::vector<std::string>{"The value \"../../escaped\" of index-file-base "
                                               "leaves the output directory; give a name inside it."});

    errors.clear();
    values = {};
    values[2] = "/var/www/all";
    setOptions(handle, values.data());
    EXPECT_EQ(currentValue(handle, "index-file-base"), "index");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("\"/var/www/all\""), std::string::npos) << errors[0];

    // The index pages stand beside the main page: a folder, even one inside
    // the output, would leave their links pointing one level off.
    for (const char* folder : {"api/../reference/all", "sub/idx", "sub\\idx", "x/.."}) {
        errors.clear();
        values[2] = folder;
        setOptions(handle, values.data());
        EXPECT_EQ(currentValue(handle, "index-file-base"), "index") << folder;
        ASSERT_EQ(errors.size(), 1u) << folder;
        EXPECT_NE(errors[0].find("\"" + std::string(folder) + "\" of index-file-base is no plain name"),
                  std::string::npos)
            << errors[0];
    }
    errors.clear();
    values[2] = "api-index";
    setOptions(handle, values.data());
    EXPECT_EQ(currentValue(handle, "index-file-base"), "api-index");
    EXPECT_TRUE(errors.empty());

    // Nor one whose index page no file system could hold ("<base>-all.html").
    const std::string longest(NAME_MAX - 9, 'b'), tooLong(NAME_MAX - 8, 'b');
    values[2] = tooLong.c_str();
    setOptions(handle, values.data());
    EXPECT_EQ(currentValue(handle, "index-file-base"), "api-index");
    EXPECT_EQ(errors, std::vector<std::string>{"The value \"" + tooLong + "\" of index-file-base makes a file name "
                                               "longer than 255 bytes; give a shorter one."});
    values[2] = longest.c_str();
    setOptions(handle, values.data());
    EXPECT_EQ(currentValue(handle, "index-file-base"), longest);
    destroy(handle);
}

}  // namespace
