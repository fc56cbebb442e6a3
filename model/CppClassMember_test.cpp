#include "model/CppClassMember.h"
#include "model/DocGenCppClass.h"
#include "model/DocGenCppClassMember.h"
#include "model/ModelText.h"

#include <cctype>
#include <gtest/gtest.h>
#include <memory>

namespace {

std::unique_ptr<DocGenCppClass> makeClass(const std::string& name, const std::string& package,
                                          int language,
                                          const DocOptions& options = DocOptions()) {
    auto c = std::make_unique<DocGenCppClass>(nullptr, options, language, false, false);
    c->setName(name);
    if (!package.empty()) c->setPackage(package);
    return c;
}

}  // namespace

TEST(CppClassMember, OperatorSignatureAnchorAndLink) {
    DocGenCppClass owner(nullptr, DocOptions(), 0, false, false);
    owner.setName("A::B");
    owner.setPackage("lib");
    DocGenCppClassMember m(&owner);
    m.setName("operator<");
    m.setHasArgumentList(true);
    m.setArguments({"int a", "int b"});
    EXPECT_EQ(m.getDisplayName(), "operator&#60;(int a,int b)");
    EXPECT_EQ(m.getQualifiedName(), "operator&#60;(int a,int b)");
    EXPECT_EQ(m.buildSignatureText(true), "operator&#60;(inta,intb)");
    // The anchor argument is ignored: a member link points at its own anchor.
    EXPECT_EQ(m.getLink("../", "b", "ignored", false),
              "<a href=\"../lib/A..B.html#operator&#60;(inta,intb)\"><b>operator<</b></a>");
}

TEST(CppClassMember, FlagZeroShowsNoParenthesesAndOwnerlessLink) {
    DocGenCppClassMember m(nullptr);
    m.setName("get<T> x");
    m.setArguments({"int a"});
    EXPECT_EQ(m.getDisplayName(), "get&#60;T&#62; x");
    EXPECT_EQ(m.getLink("../", "", "", true), "<a href=\"#get&#60;T&#62; x\">get&#60;T&#62; x</a>");
    // No owner: no package, no C++ language to decide the separator.
    EXPECT_EQ(m.getPackage(), "");
    EXPECT_EQ(m.getScopeSeparator(), ".");
    EXPECT_EQ(m.getPageFile("x/"), "");
}

TEST(CppClassMember, AccessFollowsTheMembersOwnOptions) {
    DocOptions options;
    DocGenCppClass owner(nullptr, options, 0, false, false);
    DocGenCppClassMember m(&owner);
    for (const char* word : {"public", "", "friend"}) {
        m.setAccess(word);
        EXPECT_TRUE(m.isPublic()) << word;
    }
    m.setAccess("protected");
    EXPECT_TRUE(m.isPublic());
    m.setAccess("private");
    EXPECT_FALSE(m.isPublic());
    m.setAccess("Private");  // words compare exactly
    EXPECT_TRUE(m.isPublic());

    options.includeProtected = false;
    options.includePrivate = true;
    DocGenCppClass strict(nullptr, options, 0, false, false);
    DocGenCppClassMember p(&strict);
    p.setAccess("protected");
    EXPECT_FALSE(p.isPublic());
    p.setAccess("private");
    EXPECT_TRUE(p.isPublic());

    // The owner taking other options later leaves its members' options as
    // they were; members made afterwards get the new ones.
    strict.copyEntity(owner);
    EXPECT_TRUE(p.isPublic());
    EXPECT_FALSE(strict.getOptions().includePrivate);
    DocGenCppClassMember q(&strict);
    q.setAccess("private");
    EXPECT_FALSE(q.isPublic());
}

TEST(CppClassMember, EqualSwitchesShareOneRecordThatLaterChangesNeverReach) {
    DocOptions options;
    options.tableBackground = "gray";
    DocGenCppClass first(nullptr, options, 0, false, false);
    DocGenCppClass second(nullptr, options, 0, false, false);
    EXPECT_EQ(&first.getOptions(), &second.getOptions());

    options.includePrivate = true;
    DocGenCppClass third(nullptr, options, 0, false, false);
    EXPECT_NE(&third.getOptions(), &first.getOptions());
    EXPECT_FALSE(first.getOptions().includePrivate);
    EXPECT_EQ(first.getOptions().tableBackground, "gray");
    EXPECT_TRUE(third.getOptions().includePrivate);
}

TEST(CppClassMember, ScopeSeparatorByLanguageAndDotFlag) {
    const char* expected[] = {"::", ".", ".", "."};
    for (int language = 0; language < 4; ++language) {
        auto owner = makeClass("C", "", language);
        DocGenCppClassMember m(owner.get());
        EXPECT_EQ(m.getScopeSeparator(), expected[language]) << language;
        EXPECT_EQ(owner->getScopeSeparator(), expected[language]) << language;
    }
    DocOptions dot;
    dot.dotScope = true;
    auto cpp = makeClass("C", "", 0, dot);
    EXPECT_EQ(cpp->getScopeSeparator(), ".");
    EXPECT_EQ(DocGenCppClassMember(cpp.get()).getScopeSeparator(), ".");
}

TEST(CppClassMember, FileNamesAndCloneCopyEverything) {
    auto owner = makeClass("C", "p", 2);
    DocGenCppClassMember m(owner.get());
    m.addFileName("b.java");
    m.addFileName("");
    m.addFileName("a.java");
    m.addFileName("b.java");
    EXPECT_EQ(m.getFileNameList(), "b.java|a.java|");
    m.setName("f");
    m.setDeclaration("int f(int x);");
    m.setAccess("protected");
    m.setHasArgumentList(true);
    m.setArguments({"int x"});
    m.setComment("doc");

    auto other = makeClass("D", "q", 2);
    std::unique_ptr<CppClassMember> copy(m.clone(other.get()));
    EXPECT_EQ(copy->getOwner(), other.get());
    EXPECT_EQ(copy->getPackage(), "q");
    EXPECT_TRUE(copy->isSame(m));
    EXPECT_EQ(copy->getType(), "int f(int x);");
    EXPECT_EQ(copy->getAccess(), "protected");
    EXPECT_EQ(copy->getFileNameList(), "b.java|a.java|");
    EXPECT_EQ(copy->getDisplayName(), "f(int x)");
    EXPECT_NE(dynamic_cast<DocGenCppClassMember*>(copy.get()), nullptr);
}

TEST(CppClassMember, FileNamesStayUniqueAndInOrderPastTheShortList) {
    auto owner = makeClass("C", "p", 2);
    DocGenCppClassMember m(owner.get());
    std::string expected;
    // Each new name, then every name so far again: repeats are dropped
    // while the list is short, at the switch and after it.
    for (int i = 0; i < 20; ++i) {
        std::string name = "f" + std::to_string(i) + ".java";
        m.addFileName(name);
        expected += name + "|";
        for (int j = 0; j <= i; ++j) m.addFileName("f" + std::to_string(j) + ".java");
        ASSERT_EQ(m.getFileNameList(), expected) << i;
    }
    std::unique_ptr<CppClassMember> copy(m.clone(owner.get()));
    copy->addFileName("f3.java");
    copy->addFileName("new.java");
    EXPECT_EQ(copy->getFileNameList(), expected + "new.java|");
    m.setFileName("f5.java");
    m.addFileName("f6.java");
    m.addFileName("f5.java");
    EXPECT_EQ(m.getFileNameList(), "f5.java|f6.java|");
}

TEST(ModelText, Helpers) {
    EXPECT_EQ(textAfterLast("a::b::c", "::"), "c");
    EXPECT_EQ(textAfterLast("abc", "::"), "abc");
    EXPECT_EQ(findFirstCharWhere("ab1", isdigit, false), 2u);
    EXPECT_EQ(findFirstCharWhere("  x", isspace, true), 2u);
    EXPECT_EQ(findFirstCharWhere("\xe9\xff", isalpha, false), std::string::npos);
    EXPECT_EQ(replaceAll("a::b::c", "::", "."), "a.b.c");
    EXPECT_TRUE(isGlobalsClassName("(util  globals)"));
    EXPECT_FALSE(isGlobalsClassName("globals"));
}
