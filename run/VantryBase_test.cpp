#include "run/VantryBase.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "VelkLib/VelkError.h"
#include "run/TestRecording.h"

using namespace testing_support;

TEST(VantryBase, FileExtensionsDropDotsStarsAndEmptyEntries) {
    VantryBase base;
    base.setFileExtensions(".cpp,*.h,,java,*.,Hxx");
    EXPECT_EQ(base.extensions, (std::set<std::string>{"cpp", "h", "java", "Hxx", "*."}));
    base.setDefaultFileExtensions();  // a filled set stays as it is
    EXPECT_EQ(base.extensions.size(), 5u);
    base.setFileExtensions("");
    base.setDefaultFileExtensions();
    EXPECT_EQ(base.extensions, (std::set<std::string>{"c", "cpp", "cxx", "cc", "h", "hpp", "hxx",
                                                      "cs", "java"}));
}

TEST(VantryBase, LanguageMapLowerCasesAndKnowsTheCSharpAndJavaWords) {
    VantryBase base;
    base.setLanguageMap("H=C#,jav=JAVA,x=other,y=c_sharp,,z");
    EXPECT_EQ(base.languageMap,
              (std::map<std::string, int>{{"h", 1}, {"jav", 2}, {"x", 0}, {"y", 1}, {"z", 0}}));
    base.setDefaultLanguageMap();
    EXPECT_EQ(base.languageMap.size(), 5u);
    base.languageMap.clear();
    base.setDefaultLanguageMap();
    EXPECT_EQ(base.languageMap.at("java"), 2);
    EXPECT_EQ(base.languageMap.at("cs"), 1);
    EXPECT_EQ(base.languageMap.at("hxx"), 0);
}

TEST(VantryBase, AWordThatNamesNoLanguageIsNamedOnce) {
    const std::string known = " The languages are cpp (or c++), csharp (or c#, cs, c_sharp) and java.";
    EXPECT_EQ(VantryBase::unknownLanguagesText("cs=cobol"),
              "The language \"cobol\" is not known; cs is read as C++." + known);
    EXPECT_EQ(VantryBase::unknownLanguagesText("cs=Cobol,h=C++,cbl=COBOL,f=fortran,j=Java,x=,y"),
              "The languages \"cobol\" and \"fortran\" are not known; cs, cbl and f are read as C++." +
                  known);
    EXPECT_EQ(VantryBase::unknownLanguagesText("H=C#,jav=JAVA,y=c_sharp,c=cpp,hh=c++,k=CS,m=CSharp,,z"), "");
    // The warning does not change what the map reads.
    VantryBase base;
    base.setLanguageMap("cs=cobol");
    EXPECT_EQ(base.languageMap, (std::map<std::string, int>{{"cs", 0}}));
}

TEST(VantryBase, ModulesDirectoryIsTheSettingOrModulesBesideTheProgram) {
    VantryBase base;
    std::string fallback = base.modulesDirectory();
    EXPECT_EQ(fallback.substr(fallback.size() - 8), "/modules");
    base.moduleDirectory = "/opt/mods";
    EXPECT_EQ(base.modulesDirectory(), "/opt/mods");
}

TEST(VantryBase, StoredOptionsReachOnlyTheFirstModuleLoaded) {
    ScratchDirectory scratch;
    std::string record = scratch / "calls.txt";
    setenv("VANTRY_RECORD_FILE", record.c_str(), 1);
    VantryBase base;
    base.moduleOptions = {{"a", "x"}};
    auto first = base.loadModule(testModulePath("vantry-recording"));
    EXPECT_EQ(base.currentModule, first.get());
    EXPECT_TRUE(base.moduleOptions.empty());
    EXPECT_EQ(base.currentModuleOptions(), (std::map<std::string, std::string>{{"a", "x"}}));
    auto second = base.loadModule(testModulePath("vantry-recording"));
    EXPECT_EQ(base.currentModuleOptions(), (std::map<std::string, std::string>{}));
    EXPECT_EQ(callNames(readRecording(record)),
              (std::vector<std::string>{"create", "getOptions", "setOptions", "getOptions", "create"}));
    EXPECT_EQ(readRecording(record)[2], (RecordedCall{"setOptions", "x", "<null>"}));

    // A failed load leaves the current module and the stored options alone.
    base.moduleOptions = {{"b", "y"}};
    EXPECT_THROW(base.loadModule(scratch / "missing.so"), VelkError);
    EXPECT_EQ(base.currentModule, second.get());
    EXPECT_EQ(base.moduleOptions.size(), 1u);
    base.currentModule = nullptr;
    unsetenv("VANTRY_RECORD_FILE");
}

TEST(VantryBase, AModuleWithoutOptionsLeavesTheStoredOptionsWaiting) {
    ScratchDirectory scratch;
    std::string record = scratch / "calls.txt";
    setenv("VANTRY_RECORD_FILE", record.c_str(), 1);
    VantryBase base;
    const std::map<std::string, std::string> stored{{"a", "x"}, {"b", "true"}};
    base.moduleOptions = stored;
    auto partial = base.loadModule(testModulePath("vantry-recording-partial"));
    EXPECT_EQ(base.moduleOptions, stored);
    EXPECT_EQ(base.currentModuleOptions(), (std::map<std::string, std::string>{}));
    EXPECT_EQ(base.rememberedModuleOptions(), stored);

    // The next module that takes options gets them; switching back to the
    // one without options shows none as its own and remembers them all.
    auto full = base.loadModule(testModulePath("vantry-recording"));
    EXPECT_EQ(readRecording(record).end()[-2], (RecordedCall{"setOptions", "x", "true"}));
    EXPECT_EQ(base.currentModuleOptions(), stored);
    base.setCurrentModuleOption("a", "changed");
    base.currentModule = partial.get();
    EXPECT_EQ(base.currentModuleOptions(), (std::map<std::string, std::string>{}));
    EXPECT_EQ(base.rememberedModuleOptions(),
              (std::map<std::string, std::string>{{"a", "changed"}, {"b", "true"}}));
    base.currentModule = nullptr;
    unsetenv("VANTRY_RECORD_FILE");
}

TEST(VantryBase, AStoredValueTheModuleRefusesIsNamedAndForgotten) {
    setenv("VANTRY_RECORD_REFUSE", "a", 1);
    VantryBase base;
    base.moduleOptions = {{"a", "/elsewhere"}, {"b", "false"}};
    std::vector<std::string> refused;
    auto module = base.loadModule(testModulePath("vantry-recording"), &refused);
    unsetenv("VANTRY_RECORD_REFUSE");
    EXPECT_EQ(refused, std::vector<std::string>{
                           "The module did not take \"/elsewhere\" for \"Option A\" (-a); it keeps \"1\"."});
    EXPECT_EQ(base.rememberedModuleOptions(), (std::map<std::string, std::string>{{"b", "false"}}));
    base.currentModule = nullptr;
}

TEST(AbbreviatePath, KeepsShortTextsAndTheLastTwoComponentsOfLongPaths) {
    std::string short79(79, 'x');
    EXPECT_EQ(abbreviatePath(short79), short79);
    std::string plain(85, 'y');
    EXPECT_EQ(abbreviatePath(plain), std::string(80, 'y') + " [...]");
    std::string path = "file " + std::string(60, 'd') + "/sub\\dir/name.cpp" + std::string(10, 'n');
    ASSERT_GT(path.size(), 79u);
    EXPECT_EQ(abbreviatePath(path), "[...] dir/name.cpp" + std::string(10, 'n'));
    std::string oneSeparator = std::string(70, 'a') + "/" + std::string(20, 'b');
    EXPECT_EQ(abbreviatePath(oneSeparator), "[...] " + std::string(20, 'b'));
    EXPECT_EQ(abbreviatePath("/" + std::string(90, 'r')), "[...] " + std::string(90, 'r'));
}
