#include "model/SpecialisationNames.h"

#include <gtest/gtest.h>

#include <set>

#include "model/ClassList.h"
#include "model/DocGenCppClass.h"

namespace {

TEST(SpecialisationNames, EverySpellingOfTheArgumentsIsOne) {
    EXPECT_EQ(normalizedTemplateName("Foo< T *,int >"), "Foo<T*, int>");
    EXPECT_EQ(normalizedTemplateName("Foo<T*, int>"), "Foo<T*, int>");
    EXPECT_EQ(normalizedTemplateName("hash< std::vector< int > const & >"), "hash<std::vector<int> const&>");
    EXPECT_EQ(normalizedTemplateName("Width<unsigned  long,0>"), "Width<unsigned long, 0>");
}

TEST(SpecialisationNames, TheTemplatesNameIsTheNameWithoutItsLists) {
    EXPECT_EQ(withoutTemplateArguments("Utf<8>"), "Utf");
    EXPECT_EQ(withoutTemplateArguments("Outer<int>::Inner<T*>"), "Outer::Inner");
    EXPECT_EQ(withoutTemplateArguments("std::conditional<(sizeof(T) < 4), A, B>::type"), "std::conditional::type");
    EXPECT_EQ(withoutTemplateArguments("Plain"), "Plain");
}

TEST(SpecialisationNames, SpecialisationsOfOneTemplateHavePagesOfTheirOwn) {
    const std::set<std::string> pages{
        specialisationPageName("Foo"),        specialisationPageName("Foo<T*>"),
        specialisationPageName("Foo<T&>"),    specialisationPageName("Foo<T&&>"),
        specialisationPageName("Foo<const T&>"), specialisationPageName("Foo<T, 0>"),
        specialisationPageName("Foo<T, -1>"), specialisationPageName("Foo<T<0>>"),
        specialisationPageName("Foo<>")};
    EXPECT_EQ(pages.size(), 9u);
    for (const std::string& page : pages)
        EXPECT_EQ(page.find_first_of("<>*&?\"|\\/ "), std::string::npos) << page;
    EXPECT_EQ(specialisationPageName("Foo"), "Foo");
    EXPECT_EQ(specialisationPageName("Utf<8>"), "Utf-8");
    EXPECT_EQ(specialisationPageName("Outer<int>::Inner"), "Outer-int::Inner");
}

TEST(SpecialisationNames, ABaseKeepsItsArgumentsWhereTheyNameASpecialisation) {
    ClassList list;
    auto add = [&](const std::string& name) {
        auto* cls = new DocGenCppClass(nullptr, DocOptions(), 0, false, false);
        cls->setName(name);
        cls->setPackage("lib");
        return list.addClass(cls);
    };
    add("text::Utf<8>");
    CppClass* reader = add("text::Reader");
    EXPECT_EQ(sentSpecialisationBase(list, *reader, "Utf<8>"), "Utf<8>");
    EXPECT_EQ(sentSpecialisationBase(list, *reader, "text::Utf<8>"), "text::Utf<8>");
    EXPECT_EQ(sentSpecialisationBase(list, *reader, "Utf<16>"), "Utf");
    EXPECT_EQ(sentSpecialisationBase(list, *reader, "std::vector<int>::iterator"), "std::vector::iterator");
}

}  // namespace
