#include "modules/standard/StandardModule.h"

#include "model/CppClassMember.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/DocCppClass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Calls {
    std::vector<std::string> status, errors;
    int progressAnswer = 1;
};

void onStatus(const char* line1, const char* line2, void* context) {
    static_cast<Calls*>(context)->status.push_back(std::string(line1 ? line1 : "<null>") + "|" + line2);
}
void onError(const char* text, void* context) { static_cast<Calls*>(context)->errors.push_back(text); }
int onProgress(int, int, void* context) { return static_cast<Calls*>(context)->progressAnswer; }

class StandardModuleTest : public ::testing::Test {
protected:
    void init(const std::string& projectList) {
        ModuleInitValues values;
        values.projectList = projectList;
        values.progress = onProgress;
        values.status = onStatus;
        values.error = onError;
        values.context = &calls;
        initModule(module, values);
    }
    void addClass(const std::string& name, const std::string& package, const std::string& bases = "",
                  const std::string& files = "") {
        startClassRecord(module, name, "", bases, files, package, "class", "", "", "java");
    }
    StandardModule module;
    Calls calls;
};

TEST_F(StandardModuleTest, ProjectListLinesAreCheckedAndTheLastWins) {
    init("a|c:/x/\nb|\n|d\nA|y\nb|z1\nb|z2\\\\");
    EXPECT_EQ(module.projectMap, (std::map<std::string, std::string>{
                                     {"a", "c:/x"}, {"A", "y"}, {"b", "z2"}}));
    EXPECT_EQ(module.firstProjectDirectory, "c:/x");
    init("p|d\\\nq|e");  // an escaped line break joins two lines
    EXPECT_EQ(module.projectMap.size(), 1u);
    EXPECT_EQ(module.projectMap["p"], "d\nq");
    init("a\\|b|c\\|d\n");  // a "|" in a field is escaped
    EXPECT_EQ(module.projectMap["a|b"], "c|d");
}

TEST_F(StandardModuleTest, ReceivedClassesAreRecordedAndRegistered) {
    init("");
    addClass("Shape", "", "Drawable,t|Base,f|Base,t|,f", "shape.h|shape.cpp|");
    EXPECT_EQ(calls.status.back(), "<null>|Receiving class Shape...");
    startMemberRecord(module, "area", "doc", "public", "double area();", true, "shape.cpp|", {});
    startMemberRecord(module, "area", "", "", "double Shape::area() {", true, "x.cpp|", {});
    endClassRecord(module);
    EXPECT_EQ(module.currentClass, nullptr);

    CppClass* shape = module.classList->findClass("(default)", "Shape", false);
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->getLanguage(), 2);
    ASSERT_EQ(shape->getBases().size(), 3u);  // the empty name counts after others
    EXPECT_FALSE(shape->getBases().at("Base")->isInterface());
    EXPECT_TRUE(shape->getBases().at("Drawable")->isInterface());
    EXPECT_EQ(sortedStrings(*shape), (std::vector<std::string>{"shape.h", "shape.cpp"}));
    ASSERT_EQ(shape->getMembers().size(), 1u);
    const auto& memberFiles = shape->getMembers()[0]->getFileNames();
    EXPECT_EQ(std::vector<std::string>(memberFiles.begin(), memberFiles.end()),
              (std::vector<std::string>{"shape.cpp", "x.cpp"}));

    // A second registration merges; its members survive a clone of the class.
    addClass("Shape", "", "Extra,f");
    endClassRecord(module);
    EXPECT_EQ(module.classList->size(), 1u);
    std::unique_ptr<CppClass> copy(shape->clone());
    ASSERT_EQ(copy->getMembers().size(), 1u);
    EXPECT_EQ(copy->getMembers()[0]->getComment(), "doc");

    // A new init empties the list.
    init("");
    EXPECT_EQ(module.classList->size(), 0u);
}

TEST_F(StandardModuleTest, GlobalsMembersLinkTheirFileWhenAsked) {
    module.options.fileLinksForGlobals = true;
    init("");
    addClass("(p  globals)", "p");
    startMemberRecord(module, "f", "", "", "void f();", true, "", {});
    startMemberRecord(module, "g", "x", "", "int g;", false, "", {});
    addClass("Plain", "p");
    startMemberRecord(module, "h", "", "", "int h;", false, "", {});
    endClassRecord(module);
    // Without a current class members and ends are ignored.
    startMemberRecord(module, "lost", "", "", "int lost;", false, "", {});
    endClassRecord(module);

    EXPECT_EQ(module.classList->size(), 1u);  // the unended globals record was dropped
    CppClass* plain = module.classList->findClass("p", "Plain", false);
    EXPECT_EQ(plain->getMembers()[0]->getComment(), "");
    addClass("(p  globals)", "p");
    startMemberRecord(module, "f", "", "", "void f();", true, "", {});
    startMemberRecord(module, "g", "x", "", "int g;", false, "", {});
    const auto& members = module.currentClass->getMembers();
    EXPECT_EQ(members[0]->getComment(), "See {@file1}.");
    EXPECT_EQ(members[1]->getComment(), "x\r\n<br>See {@file1}.");
}

// What sets two namesakes of the same parameters apart reaches the module
// only inside their declarations; each keeps its own comment.
TEST_F(StandardModuleTest, OverloadsOfTheSameParametersStayApart) {
    init("");
    startClassRecord(module, "Vec", "", "", "vec.h|", "lib", "class", "", "", "cpp");
    const std::vector<std::pair<std::string, std::string>> sent = {
        {"int& at(int i);", "Mutable."},
        {"const int& at(int i) const;", "Constant."},
        {"template<class T> const T& at(int i) const;", "Any."},
        {"int& at(int i) &&;", "Moved."},
    };
    for (const auto& [declaration, comment] : sent)
        startMemberRecord(module, "at", comment, "public", declaration, true, "vec.h|", {"int i"});
    // A second declaration joins its own namesake only.
    startMemberRecord(module, "at", "", "", "const int& at(int) const;", true, "vec.cpp|", {"int"});
    endClassRecord(module);
    CppClass* vec = module.classList->findClass("lib", "Vec", false);
    ASSERT_NE(vec, nullptr);
    std::vector<std::pair<std::string, std::string>> kept;
    for (const CppClassMember* m : vec->getMembers())
        kept.emplace_back(m->getDeclaration(), m->getComment());
    ASSERT_EQ(kept, sent);
    EXPECT_EQ(vec->getMembers()[1]->getFileNameList(), "vec.h|vec.cpp|");
}

TEST_F(StandardModuleTest, StatusReceiverBeforeAndAfterInit) {
    EXPECT_TRUE(module.statusReceiver.progress(1, 2));
    module.statusReceiver.error("dropped");
    init("");
    module.statusReceiver.error("");
    calls.progressAnswer = -1;
    EXPECT_TRUE(module.statusReceiver.progress(1, 2));
    calls.progressAnswer = 0;
    EXPECT_FALSE(module.statusReceiver.progress(1, 2));
    EXPECT_EQ(calls.errors, (std::vector<std::string>{""}));
}

// Headers come before sources, and every two neighbours keep the pairwise
// rule, also where other extensions fall between "c" and "h".
TEST(SourceFileOrder, NeighboursKeepThePairwiseRule) {
    auto sorted = [](const std::vector<std::string>& files) {
        DocCppClass cls(nullptr, DocOptions(), 0);
        for (const auto& file : files) cls.addFileName(file);
        return sortedStrings(cls);
    };
    using Files = std::vector<std::string>;
    EXPECT_EQ(sorted({"x.d", "y.h"}), (Files{"x.d", "y.h"}));
    EXPECT_EQ(sorted({"shape.cpp", "shape.h", "util.c", "util.hpp"}),
              (Files{"shape.h", "util.hpp", "util.c", "shape.cpp"}));
    EXPECT_EQ(sorted({"shape.cpp", "Shape.H", "README"}), (Files{"README", "Shape.H", "shape.cpp"}));
    const Files mixed = sorted({"a.h", "b.c", "c.d", "d.java"});
    for (std::size_t i = 0; i + 1 < mixed.size(); ++i)
        EXPECT_LT(compareSourceFileNames(mixed[i], mixed[i + 1]), 0) << mixed[i] << " " << mixed[i + 1];
    EXPECT_LT(compareSourceFileNames("z.h", "a.c"), 0);
    EXPECT_LT(compareSourceFileNames("a.d", "b.h"), 0);
}

}  // namespace
