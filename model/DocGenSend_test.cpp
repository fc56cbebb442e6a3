#include <gtest/gtest.h>

#include "model/DocGenClassList.h"
#include "model/DocGenCppClass.h"
#include "model/DocGenCppClassMember.h"
#include "model/ModuleSink.h"

namespace {

// Every call as one line of its texts joined by "~".
class RecordingSink : public ModuleSink {
public:
    void startClass(const std::string& name, const std::string& comment,
                    const std::string& baseList, const std::string& fileNames,
                    const std::string& package, const std::string& kind,
                    const std::string& container, const std::string& sourceDirectory,
                    const std::string& language) override {
        calls.push_back("startClass~" + name + "~" + comment + "~" + baseList + "~" + fileNames +
                        "~" + package + "~" + kind + "~" + container + "~" + sourceDirectory +
                        "~" + language);
    }
    void startMember(const std::string& name, const std::string& comment,
                     const std::string& access, const std::string& declaration,
                     bool hasArguments, const std::string& fileNames,
                     const std::vector<std::string>& arguments) override {
        std::string call = "startMember~" + name + "~" + comment + "~" + access + "~" +
                           declaration + "~" + (hasArguments ? "1" : "0") + "~" + fileNames +
                           "~" + std::to_string(arguments.size());
        for (const std::string& argument : arguments) call += "~" + argument;
        calls.push_back(call);
    }
    void endMember(const std::string& name) override { calls.push_back("endMember~" + name); }
    void endClass(const std::string& name) override { calls.push_back("endClass~" + name); }

    std::vector<std::string> calls;
};

DocGenCppClass* makeClass(const std::string& package, const std::string& name, int language) {
    auto* cls = new DocGenCppClass(nullptr, DocOptions(), language, false, false);
    cls->setName(name);
    cls->setPackage(package);
    return cls;
}

CppClassMember* addMember(DocGenCppClass* cls, const std::string& name, const std::string& file,
                          const std::vector<std::string>& arguments) {
    return cls->addMember(name, "void " + name + "();", "public", "", !arguments.empty(), file,
                          arguments, new DocGenCppClassMember(cls), false);
}

}  // namespace

TEST(DocGenSend, SendsClassesInKeyOrderWithTheirTextsAndMembers) {
    DocGenClassList list;
    DocGenCppClass* widget = makeClass("ui", "Widget", 0);
    widget->setKind("class");
    widget->setComment("A widget.");
    widget->setText("ui");
    widget->setSourceDirectory("src/ui");
    widget->addFileName("w.h");
    widget->addBase("Base", false);
    widget->addBase("IPaint", true);
    CppClassMember* draw = addMember(widget, "draw", "w.h", {"int x", "int y"});
    draw->addFileName("w.cpp");
    addMember(widget, "size", "w.h", {});
    list.addClass(widget);
    list.addClass(makeClass("core", "Empty", 3));

    RecordingSink sink;
    list.sendToModule(sink);
    EXPECT_EQ(sink.calls,
              (std::vector<std::string>{
                  "startClass~Empty~~System.Object,f~~core~~~~unknown", "endClass~Empty",
                  "startClass~Widget~A widget.~Base,f|IPaint,t~w.h|~ui~class~ui~src/ui~cpp",
                  "startMember~draw~~public~void draw();~1~w.h|w.cpp|~2~int x~int y",
                  "endMember~draw", "startMember~size~~public~void size();~0~w.h|~0",
                  "endMember~size", "endClass~Widget"}));
}

TEST(DocGenSend, AGlobalsRecordIsSentOnlyWithMembersOrBases) {
    DocGenClassList list;
    list.addClass(makeClass("p", "(p  globals)", 1));
    RecordingSink sink;
    list.sendToModule(sink);
    EXPECT_TRUE(sink.calls.empty());

    DocGenCppClass* globals = makeClass("q", "(q  globals)", 2);
    addMember(globals, "f", "", {});
    list.addClass(globals);
    list.sendToModule(sink);
    ASSERT_EQ(sink.calls.size(), 4u);
    EXPECT_EQ(sink.calls[0].substr(0, 24), "startClass~(q  globals)~");
    EXPECT_EQ(sink.calls[0].substr(sink.calls[0].size() - 5), "~java");
}

TEST(DocGenSend, ReleasingSendMakesTheSameCallsAndFreesMembersAsItGoes) {
    auto fill = [](DocGenClassList& list) {
        DocGenCppClass* a = makeClass("p", "A", 2);
        addMember(a, "run", "A.java", {"int n"});
        addMember(a, "stop", "A.java", {});
        list.addClass(a);
        DocGenCppClass* b = makeClass("p", "B", 2);
        addMember(b, "go", "B.java", {});
        list.addClass(b);
        list.addClass(makeClass("p", "(p  globals)", 2));  // skipped either way
    };
    DocGenClassList kept, released;
    fill(kept);
    fill(released);
    RecordingSink fromKept, fromReleased;
    kept.sendToModule(fromKept);
    released.sendToModuleReleasing(fromReleased);
    EXPECT_EQ(fromReleased.calls, fromKept.calls);
    EXPECT_EQ(fromKept.calls.size(), 10u);
    for (const auto& [key, cls] : released.getClasses()) EXPECT_TRUE(cls->getMembers().empty());
    for (const auto& [key, cls] : kept.getClasses()) {
        if (cls->getName() != "(p  globals)") {
            EXPECT_FALSE(cls->getMembers().empty());
        }
    }
}
