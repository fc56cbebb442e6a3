#include "VelkLib/VelkError.h"
#include "model/CppClass.h"
#include "model/CppClassMember.h"
#include "modules/old/DocClassList.h"
#include "modules/old/OldTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace fs = std::filesystem;

namespace {

TEST(OldExports, TheLibraryExportsExactlyTheEightFunctions) {
    const char* build = std::getenv("VANTRY_BUILD_DIR");
    ASSERT_NE(build, nullptr) << "VANTRY_BUILD_DIR is not set (run the test through CTest)";
    const fs::path module = fs::path(build) / "modules" / "vantry-old.so";
    ASSERT_TRUE(fs::is_regular_file(module)) << module;
    std::string command = "nm -D --defined-only '" + module.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    // Every defined dynamic symbol counts, whatever its kind: a weak
    // template instance or a unique object is as visible to the program as
    // a function, and may bind another module's code to this one's.
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
                                               "T endMember", "T init", "T startClass",
                                               "T startMember"}));
}

// The progress callback of a run: what the module asked, and the user's
// answer (0: stop).
struct Progress {
    int answer = 1;
    std::vector<std::pair<int, int>> asked;
    static int report(int done, int total, void* context) {
        auto& self = *static_cast<Progress*>(context);
        self.asked.emplace_back(done, total);
        return self.answer;
    }
};

TEST(OldExports, ACancelledRunLeavesThePreviousPagesAsTheyWere) {
    oldtest::Run run;
    run.start();
    run.addClass("Shape", "", "class", "", "geo", false, "The first shape.");
    done(run.handle);
    const std::string index = run.indexText();
    const std::string shape = run.page("Shape", "geo");

    Progress stop;
    stop.answer = 0;
    run.start({.progress = Progress::report, .context = &stop});
    run.addClass("Shape", "", "class", "", "geo", false, "The second shape.");
    run.addClass("Circle", "", "class", "", "geo", false, "A circle.");
    done(run.handle);
    // Told that the pages wait to move in, then stopped at the first entry.
    EXPECT_EQ(stop.asked, (std::vector<std::pair<int, int>>{{VANTRY_PROGRESS_STAGED, 0}, {-1, 0}}));
    EXPECT_EQ(run.indexText(), index);
    EXPECT_EQ(run.page("Shape", "geo"), shape);
    EXPECT_FALSE(fs::exists(run.dir / "projects/geo/Circle.html"));
    for (const auto& entry : fs::recursive_directory_iterator(run.dir))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();

    Progress goOn;
    run.start({.progress = Progress::report, .context = &goOn});
    run.addClass("Shape", "", "class", "", "geo", false, "The second shape.");
    done(run.handle);
    EXPECT_TRUE(oldtest::contains(run.page("Shape", "geo"), "The second shape."));
}

TEST(OldExports, OneHandleServesManyRuns) {
    oldtest::Run run;
    auto& list = *static_cast<vantry_old::DocClassList*>(run.handle);
    run.start();
    run.addClass("Early");
    run.start();  // a second init without done drops what came before
    EXPECT_EQ(list.size(), 0u);
    done(run.handle);
    EXPECT_FALSE(oldtest::contains(oldtest::readFile(run.index()), "Early"));
    EXPECT_FALSE(fs::exists(run.dir / "projects"));

    // Calls out of order do nothing.
    startMember(run.handle, "m", "", "public", "int m;", 0, "", 0, nullptr);
    endClass(run.handle, "None");
    EXPECT_EQ(list.size(), 0u);

    startClass(run.handle, "Odd", "", "", "", "", "class", "", "", "cobol");
    ASSERT_NE(list.currentClass, nullptr);
    EXPECT_EQ(list.currentClass->getLanguage(), 3);
    EXPECT_EQ(list.currentClass->getPackage(), "(default)");
    // A repeated declaration merges, and its file names join the member's.
    const char* arguments[] = {"int a"};
    startMember(run.handle, "f", "", "public", "void f(int a);", 1, "x.h|y.h", 1, arguments);
    startMember(run.handle, "f", "", "public", "void f(int a);", 1, "z.h", 1, arguments);
    const auto& files = list.currentClass->getMembers().at(0)->getFileNames();
    EXPECT_EQ(std::vector<std::string>(files.begin(), files.end()),
              (std::vector<std::string>{"x.h", "y.h", "z.h"}));
    destroy(nullptr);
}

// What sets two namesakes of the same parameters apart reaches the module
// only inside their declarations: each is an entry of its own on the class
// page, with its own comment.
TEST(OldExports, OverloadsOfTheSameParametersEachKeepTheirEntry) {
    oldtest::Run run;
    run.start();
    run.addClass("Vec", "", "class", "vec.h|", "lib", true);
    struct Sent {
        const char* declaration;
        const char* comment;
        const char* onPage;
    };
    const std::vector<Sent> sent = {
        {"int& at(int i);", "Mutable.", "int&amp; at(int i);"},
        {"const int& at(int i) const;", "Constant.", "const int&amp; at(int i) const;"},
        {"template<class T> const T& at(int i) const;", "Any.",
         "template&lt;class T&gt; const T&amp; at(int i) const;"},
    };
    const char* arguments[] = {"int i"};
    for (const Sent& s : sent)
        startMember(run.handle, "at", s.comment, "public", s.declaration, 1, "vec.h|", 1, arguments);
    endClass(run.handle, "Vec");
    done(run.handle);
    const std::string page = run.page("Vec");
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(oldtest::count(page, sent[i].onPage), 1u) << sent[i].declaration;
        const std::size_t entry = page.find(sent[i].onPage);
        const std::size_t comment = page.find(sent[i].comment);
        EXPECT_LT(entry, comment) << sent[i].declaration;
        // No other entry between a declaration and its comment.
        for (const Sent& other : sent) {
            const std::size_t at = page.find(other.onPage);
            EXPECT_FALSE(at > entry && at < comment) << sent[i].declaration;
        }
    }
}

}  // namespace
