#include "run/DocModule.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "VelkLib/VelkError.h"
#include "run/TestRecording.h"

using namespace testing_support;

namespace {

class DocModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        recordFile = scratch / "calls.txt";
        setenv("VANTRY_RECORD_FILE", recordFile.c_str(), 1);
    }
    void TearDown() override {
        for (const char* name : {"VANTRY_RECORD_FILE", "VANTRY_RECORD_OPTIONS",
                                 "VANTRY_RECORD_THROW", "VANTRY_RECORD_CREATE", "VANTRY_RECORD_REFUSE"})
            unsetenv(name);
    }
    std::vector<RecordedCall> calls() const { return readRecording(recordFile); }
    // The last call of the export recorded so far.
    RecordedCall lastCall(const std::string& exportName) const {
        std::vector<RecordedCall> recorded = calls();
        for (auto call = recorded.rbegin(); call != recorded.rend(); ++call)
            if ((*call)[0] == exportName) return *call;
        return {};
    }

    ScratchDirectory scratch;
    std::string recordFile;
};

int progressStub(int, int, void*) { return 1; }
void statusStub(const char*, const char*, void*) {}
void errorStub(const char*, void*) {}

}  // namespace

TEST_F(DocModuleTest, PassesEveryValueInInterfaceOrderAndEmptyTextsAsEmptyStrings) {
    auto module = std::make_unique<DocModule>(testModulePath("vantry-recording"));
    int context = 0;
    module->init("T", "", "out/projects", true, "", "hdr", "", "", ".", "out/index.html",
                 "a|src/a\nb|src/b", false, true, true, progressStub, statusStub, errorStub,
                 &context);
    module->startClass("C", "", "B,f|I,t", "x.h|", "(default)", "class", "", "src", "cpp");
    module->startMember("f", "doc", "public", "int f(int a, char b);", true, "x.h|y.h|",
                        {"int a", "char b"});
    module->endMember("f");
    module->startMember("v", "", "", "int v;", false, "", {});
    module->endMember("v");
    module->endClass("C");
    module->done();
    module.reset();

    std::vector<RecordedCall> recorded = calls();
    ASSERT_EQ(callNames(recorded),
              (std::vector<std::string>{"create", "init", "startClass", "startMember", "endMember",
                                        "startMember", "endMember", "endClass", "done",
                                        "destroy"}));
    EXPECT_EQ(recorded[1],
              (RecordedCall{"init", "T", "", "out/projects", "1", "", "hdr", "", "", ".",
                            "out/index.html", "a|src/a\nb|src/b", "0", "1", "1", "fn", "fn", "fn",
                            std::to_string(reinterpret_cast<std::uintptr_t>(&context))}));
    EXPECT_EQ(recorded[2], (RecordedCall{"startClass", "C", "", "B,f|I,t", "x.h|", "(default)",
                                         "class", "", "src", "cpp"}));
    EXPECT_EQ(recorded[3], (RecordedCall{"startMember", "f", "doc", "public",
                                         "int f(int a, char b);", "1", "x.h|y.h|", "2", "fn",
                                         "int a", "char b"}));
    // No arguments: count 0, but still a real array.
    EXPECT_EQ(recorded[5], (RecordedCall{"startMember", "v", "", "", "int v;", "0", "", "0", "fn"}));
    EXPECT_EQ(recorded[7], (RecordedCall{"endClass", "C"}));
}

TEST_F(DocModuleTest, AppliesOnlyStoredOptionsAndLeavesTheOthersNull) {
    DocModule module(testModulePath("vantry-recording"));
    auto applied = module.applyOptions({{"b", "true"}, {"unknown", "x"}});
    EXPECT_EQ(applied.taken, (std::map<std::string, std::string>{{"b", "true"}}));
    EXPECT_TRUE(applied.refused.empty());
    std::vector<RecordedCall> recorded = calls();
    ASSERT_EQ(recorded.size(), 4u);
    EXPECT_EQ(recorded[2], (RecordedCall{"setOptions", "<null>", "true"}));
}

TEST_F(DocModuleTest, AValueTheModuleKeepsOutIsNamedAndNotTaken) {
    setenv("VANTRY_RECORD_REFUSE", "a", 1);
    DocModule module(testModulePath("vantry-recording"));
    auto applied = module.applyOptions({{"a", "../elsewhere"}, {"b", "TRUE"}});
    EXPECT_EQ(applied.taken, (std::map<std::string, std::string>{{"b", "TRUE"}}));
    EXPECT_EQ(applied.refused, std::vector<std::string>{
                                   "The module did not take \"../elsewhere\" for \"Option A\" (-a); "
                                   "it keeps \"1\"."});
    // A checkbox the module shows as true took "" and any case of "true".
    applied = module.applyOptions({{"b", ""}});
    EXPECT_EQ(applied.taken, (std::map<std::string, std::string>{{"b", ""}}));
    EXPECT_TRUE(applied.refused.empty());
}

TEST_F(DocModuleTest, OptionTextIsReadWithoutEscapesAndANullTextIsNoOptions) {
    // A backslash is an ordinary character; empty values are fields too.
    setenv("VANTRY_RECORD_OPTIONS", "p\\|P|text|||q|Q|color|red|red||", 1);
    {
        DocModule module(testModulePath("vantry-recording"));
        module.applyOptions({{"p\\", "v"}, {"q", ""}});
        EXPECT_EQ(lastCall("setOptions"), (RecordedCall{"setOptions", "v", ""}));
    }
    setenv("VANTRY_RECORD_OPTIONS", "<null>", 1);
    DocModule module(testModulePath("vantry-recording"));
    EXPECT_TRUE(module.applyOptions({{"a", "1"}}).taken.empty());
    EXPECT_EQ(calls().back()[0], "getOptions");
}

TEST_F(DocModuleTest, AColourOptionGetsOnlyAColour) {
    setenv("VANTRY_RECORD_OPTIONS", "q|Q|color|red|red|r|R|text|||", 1);
    DocModule module(testModulePath("vantry-recording"));
    auto applied = module.applyOptions({{"q", "red\" onmouseover=\"x"}, {"r", "red\" x"}});
    EXPECT_EQ(applied.taken, (std::map<std::string, std::string>{{"r", "red\" x"}}));
    EXPECT_EQ(lastCall("setOptions"), (RecordedCall{"setOptions", "<null>", "red\" x"}));
    module.applyOptions({{"q", "#00ff00"}});
    EXPECT_EQ(lastCall("setOptions"), (RecordedCall{"setOptions", "#00ff00", "<null>"}));
}

TEST_F(DocModuleTest, WhatTheOptionExportsThrowComesOutAsAnError) {
    for (const char* exportName : {"getOptions", "setOptions"}) {
        for (const char* kind : {"std", "velk"}) {
            setenv("VANTRY_RECORD_THROW", (std::string(exportName) + ":" + kind).c_str(), 1);
            DocModule module(testModulePath("vantry-recording"));
            const std::string error = errorOf([&] { module.applyOptions({{"a", "x"}}); });
            EXPECT_NE(error.find(std::string(kind) == "std" ? "broke in " : "failed in "), std::string::npos)
                << error;
            if (std::string(exportName) == "getOptions") {
                EXPECT_NE(errorOf([&] { module.optionText(); }), "(no error)") << exportName << kind;
            }
        }
    }
}

TEST_F(DocModuleTest, AModuleWithoutOptionsAndDoneLoadsAndFailsOnlyAtTheMissingCall) {
    std::string path = testModulePath("vantry-recording-partial");
    DocModule module(path);
    EXPECT_FALSE(module.hasOptions());
    EXPECT_TRUE(module.applyOptions({{"a", "1"}}).taken.empty());
    module.init("", "", "", false, "", "", "", "", "", "", "", false, false, false, nullptr,
                nullptr, nullptr, nullptr);
    // The name as it was given, "/" kept.
    EXPECT_EQ(errorOf([&] { module.done(); }),
              "Could not find function \"done\" in module " + path + ".");
}

TEST_F(DocModuleTest, LoadFailuresNameTheFileAndLeaveNothingLoaded) {
    std::string missing = scratch / "no-such-module.so";
    auto load = [](const std::string& path) { return errorOf([&] { DocModule module(path); }); };
    EXPECT_EQ(load(missing).rfind("Could not load " + missing + " (", 0), 0u);

    setenv("VANTRY_RECORD_CREATE", "null", 1);
    EXPECT_EQ(load(testModulePath("vantry-recording")).rfind("Could not load ", 0), 0u);
    EXPECT_EQ(callNames(calls()), (std::vector<std::string>{"create"}));  // no destroy of null

    unsetenv("VANTRY_RECORD_CREATE");
    setenv("VANTRY_RECORD_THROW", "create:std", 1);
    EXPECT_EQ(load(testModulePath("vantry-recording")), "Recording module broke in create");
}

