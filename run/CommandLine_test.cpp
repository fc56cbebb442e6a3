#include "run/CommandLine.h"

#include <gtest/gtest.h>

#include "VelkLib/VelkError.h"
#include "run/TestRecording.h"

using namespace testing_support;

namespace {

class ScriptedUser : public CommandLineUser {
public:
    bool askYesNo(const std::string& question) override {
        questions.push_back(question);
        return answer;
    }
    void inform(const std::string& text) override { messages.push_back(text); }
    bool answer = false;
    std::vector<std::string> questions, messages;
};

struct Parsed {
    CommandLineSettings settings;
    VantryBase base;
    ScriptedUser user;
    bool result = false;

    explicit Parsed(const std::vector<std::string>& arguments, bool answer = false) {
        user.answer = answer;
        result = parseCommandLine(settings, base, VelkCmdLine(arguments), user);
    }
};

}  // namespace

TEST(CommandLine, KeysAreCaseInsensitiveAndValuesUnescaped) {
    Parsed p({"-Title=My Docs", "-COMPANY=a\\\"b\\r\\nc", "-hier=ignored", "-source-code-tab-size=x",
              "-syntax-color-paren=red", "-user-keywords=Foo,,Bar", "-classdir="});
    EXPECT_TRUE(p.result);
    EXPECT_TRUE(p.settings.commandLineGiven);
    EXPECT_EQ(p.settings.title, "My Docs");
    EXPECT_EQ(p.settings.company, "a\"b\r\nc");
    EXPECT_TRUE(p.settings.hierarchicalIndex);
    EXPECT_EQ(p.settings.tabSize, 0);
    EXPECT_EQ(p.settings.colors.separator, "red");
    EXPECT_EQ(p.settings.colors.userKeywords, (std::set<std::string>{"Bar", "Foo"}));
    EXPECT_EQ(p.settings.detailDirectory, "projects");
}

TEST(CommandLine, TextRowsDefinesAndModuleOptions) {
    Parsed p({"-header=-", "-footer", "-item=<b>x</b>", "-DWIN32", "-dfoo=1", "-depth=3",
              "-document-preprocessor", "-include-private=true", "-extensions=.cpp,*.h",
              "-languages=H=C#", "-accept3slash"});
    EXPECT_EQ(p.settings.header.method, TextChoice::None);
    EXPECT_EQ(p.settings.footer.method, TextChoice::None);
    EXPECT_EQ(p.settings.item.method, TextChoice::Custom);
    EXPECT_EQ(p.settings.item.text, "<b>x</b>");
    EXPECT_TRUE(p.base.defines.isDefined("WIN32"));
    EXPECT_EQ(p.base.defines.valueOf("foo"), "1");
    EXPECT_EQ(p.base.defines.valueOf("epth"), "3");  // "d" wins over anything later in the table
    EXPECT_TRUE(p.settings.documentPreprocessor);
    EXPECT_EQ(p.base.moduleOptions, (std::map<std::string, std::string>{{"include-private", "true"}}));
    EXPECT_EQ(p.base.extensions, (std::set<std::string>{"cpp", "h"}));
    EXPECT_EQ(p.base.languageMap.at("h"), 1);
    EXPECT_EQ(p.base.commentFormat.getSecondaryStart(), "///");
    EXPECT_THROW(Parsed({"-comment-format=bad"}), VelkError);
}

TEST(CommandLine, PositionalProjectsAndTheOverwriteQuestion) {
    Parsed single({"src"});
    EXPECT_EQ(single.settings.outputFile, "index.html");
    EXPECT_EQ(single.settings.fileList, "\"src\"\r\n");
    EXPECT_TRUE(single.user.questions.empty());

    ScratchDirectory scratch;
    scratch.write("out.html", "old");
    Parsed declined({"a", "b", scratch / "out.html"});
    EXPECT_FALSE(declined.result);
    EXPECT_EQ(declined.user.questions, (std::vector<std::string>{"Overwrite " + (scratch / "out.html") + "?"}));
    EXPECT_EQ(declined.user.messages, (std::vector<std::string>{"Cancelled."}));

    Parsed accepted({"a", "b", scratch / "out.html"}, true);
    EXPECT_TRUE(accepted.result);
    EXPECT_EQ(accepted.settings.fileList, "\"a\"\r\n\"b\"\r\n");
    Parsed forced({"-overwrite", "a", scratch / "out.html"});
    EXPECT_TRUE(forced.user.questions.empty());
}
