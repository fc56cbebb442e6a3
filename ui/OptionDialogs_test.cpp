// The File Extensions, Preprocessor Defines, Other Options and Syntax
// Coloring dialogs.
#include <gtest/gtest.h>

#include "ui/FileExtensionsDialog.h"
#include "ui/OtherOptionsDialog.h"
#include "ui/PreprocessorDefinesDialog.h"
#include "ui/SecondaryDialogTemplates.h"
#include "ui/SyntaxColoringDialog.h"
#include "ui/testing/ScriptedBackend.h"

using namespace ui;

namespace {

class OptionDialogsTest : public ::testing::Test {
protected:
    testing_support::ScriptedBackend backend;
    testing_support::BackendInUse inUse{backend};
};

DocCommentFormat formatOf(const std::string& text) {
    DocCommentFormat format;
    format.parse(text);
    return format;
}

TEST_F(OptionDialogsTest, FileExtensionsNeedText) {
    FileExtensionsDialog dialog;
    dialog.extensions = "cpp,h";
    dialog.Create();
    EXPECT_TRUE(dialog.IsControlEnabled(gui::IDOK));
    dialog.UserType(IDC_EXT_TEXT, "");
    EXPECT_FALSE(dialog.IsControlEnabled(gui::IDOK));
    dialog.UserType(IDC_EXT_TEXT, ".java, cs");
    dialog.UserClick(gui::IDOK);
    EXPECT_EQ(dialog.extensions, ".java, cs");

    FileExtensionsDialog empty;
    empty.Create();
    EXPECT_FALSE(empty.IsControlEnabled(gui::IDOK));
}

TEST_F(OptionDialogsTest, FileExtensionsRefuseWhatCannotEndAFileName) {
    FileExtensionsDialog dialog;
    dialog.extensions = "cpp";
    dialog.Create();
    dialog.UserType(IDC_EXT_TEXT, "..,*,h.,cpp");
    dialog.UserClick(gui::IDOK);
    EXPECT_FALSE(dialog.IsEnded());
    ASSERT_EQ(backend.shownBoxes().size(), 1u);
    EXPECT_EQ(backend.shownBoxes()[0].text,
              "The extensions \"..\", \"*\" and \"h.\" cannot end a file name; give extensions such "
              "as cpp,h,java.");
    EXPECT_EQ(backend.shownBoxes()[0].icon, gui::Icon::Error);

    dialog.UserType(IDC_EXT_TEXT, "*.hh,cpp");
    dialog.UserClick(gui::IDOK);
    EXPECT_TRUE(dialog.IsEnded());
    EXPECT_EQ(dialog.extensions, "*.hh,cpp");
}

TEST_F(OptionDialogsTest, PreprocessorDefinesRoundTripThroughTheirText) {
    PreprocessorDefines defines("WIN32\r\nVERSION=2\r\n");
    PreprocessorDefinesDialog dialog(defines);
    dialog.Create();
    EXPECT_EQ(dialog.GetDlgItemText(IDC_DEFINES_TEXT), "WIN32\r\nVERSION=2\r\n");
    // What a text box gives back: lines ending in "\n".
    dialog.UserType(IDC_DEFINES_TEXT, "DEBUG\nMAX(a,b)=((a)>(b)?(a):(b))\n");
    dialog.UserClick(gui::IDOK);
    EXPECT_EQ(dialog.defines.toText(), "DEBUG\r\nMAX(arg_a,arg_b)=((arg_a)>(arg_b)?(arg_a):(arg_b))\r\n");
    EXPECT_EQ(defines.toText(), "WIN32\r\nVERSION=2\r\n");  // the caller's set is a copy
}

TEST_F(OptionDialogsTest, CommentStylesAreReadFromAnyFormat) {
    struct Case {
        const char* texts[6];
        int block, line;
        const char *blockStart, *blockMiddle, *lineStart, *lineMiddle, *lineEnd;
    };
    const Case cases[] = {
        {{"/**", "*", "*/", "", "", ""}, 1, 0, "*", "*", "=", "", "="},
        {{"/*!", "*", "*/", "///", "///", "///"}, 1, 1, "!", "*", "/", "/", "/"},
        // A line style first is the line style, whatever comes second.
        {{"//=", "//", "//=", "", "", ""}, 0, 1, "*", "*", "=", "", "="},
        {{"///", "///", "///", "/**", "*", "*/"}, 1, 1, "*", "*", "/", "/", "/"},
        // Texts shorter than the dialog expects read as empty characters.
        {{"/*", "*", "*/", "", "", ""}, 1, 0, "", "*", "=", "", "="},
        {{"/**", "", "*/", "//", "/", ""}, 1, 1, "*", "", "", "", ""},
        {{"/", "", "", "", "/", ""}, 0, 0, "*", "*", "=", "", "="},
        {{"", "", "", "", "", ""}, 0, 0, "*", "*", "=", "", "="},
    };
    for (const Case& c : cases) {
        DocCommentFormat format;
        format.setPrimary(c.texts[0], c.texts[1], c.texts[2]);
        format.setSecondary(c.texts[3], c.texts[4], c.texts[5]);
        OtherOptionsDialog dialog(format);
        SCOPED_TRACE(std::string(c.texts[0]) + ";" + c.texts[3]);
        EXPECT_EQ(dialog.useBlockStyle, c.block);
        EXPECT_EQ(dialog.useLineStyle, c.line);
        EXPECT_EQ(dialog.blockStartChar, c.blockStart);
        EXPECT_EQ(dialog.blockMiddleChar, c.blockMiddle);
        EXPECT_EQ(dialog.lineStartChar, c.lineStart);
        EXPECT_EQ(dialog.lineMiddleChar, c.lineMiddle);
        EXPECT_EQ(dialog.lineEndChar, c.lineEnd);
    }
}

TEST_F(OptionDialogsTest, ExamplesFollowTheCharactersAndOkNeedsACompleteStyle) {
    OtherOptionsDialog dialog(DocCommentFormat{});
    dialog.Create();
    EXPECT_EQ(dialog.GetDlgItemText(IDC_OTHER_BLOCK_EXAMPLE),
              "/**\r\n * Example.\r\n */\r\n\r\n/**********\r\n * Example.\r\n **********/");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_OTHER_LINE_EXAMPLE),
              "//=\r\n// Example.\r\n//=\r\n\r\n//==========\r\n// Example.\r\n//==========");
    EXPECT_TRUE(dialog.IsControlEnabled(gui::IDOK));
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_OTHER_LINE_START));
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_OTHER_COLORS));

    dialog.UserType(IDC_OTHER_BLOCK_START, "");
    EXPECT_FALSE(dialog.IsControlEnabled(gui::IDOK));  // the block style is incomplete
    EXPECT_EQ(dialog.GetDlgItemText(IDC_OTHER_BLOCK_EXAMPLE), "");
    dialog.UserClick(IDC_OTHER_USE_LINE);
    EXPECT_FALSE(dialog.IsControlEnabled(gui::IDOK));
    dialog.UserClick(IDC_OTHER_USE_BLOCK);
    EXPECT_TRUE(dialog.IsControlEnabled(gui::IDOK));
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_OTHER_BLOCK_START));
    dialog.UserClick(IDC_OTHER_USE_LINE);
    EXPECT_FALSE(dialog.IsControlEnabled(gui::IDOK));  // both styles off

    dialog.UserClick(IDC_OTHER_SYNTAX_COLORING);
    EXPECT_TRUE(dialog.IsControlEnabled(IDC_OTHER_COLORS));
}

TEST_F(OptionDialogsTest, OkWritesTheFormatAndTheLanguageMap) {
    OtherOptionsDialog dialog(DocCommentFormat{});
    dialog.languageMap = {{"cpp", 0}, {"h", 0}, {"java", 2}, {"cs", 1}};
    dialog.Create();
    EXPECT_EQ(dialog.GetDlgItemText(IDC_OTHER_CPP_MAP), "cpp\r\nh");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_OTHER_JAVA_MAP), "java");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_OTHER_CSHARP_MAP), "cs");

    // Line style only, "=" at both ends and no middle character.
    dialog.UserClick(IDC_OTHER_USE_BLOCK);
    dialog.UserClick(IDC_OTHER_USE_LINE);
    EXPECT_EQ(dialog.formatText(), "//=;//;//=");
    dialog.UserType(IDC_OTHER_CPP_MAP, "*.cpp, .hh\n  cxx \r\n\r\nc.");
    dialog.UserType(IDC_OTHER_CSHARP_MAP, "cs,h");
    dialog.UserType(IDC_OTHER_TAB_SIZE, "8");
    dialog.UserClick(gui::IDOK);
    ASSERT_TRUE(dialog.IsEnded());
    EXPECT_EQ(dialog.commentFormat, formatOf("//=;//;//="));
    EXPECT_EQ(dialog.tabSize, 8);
    EXPECT_EQ(dialog.languageMap, (std::map<std::string, int>{
                                      {"cpp", 0}, {"hh", 0}, {"cxx", 0}, {"c.", 0}, {"java", 2}, {"cs", 1}, {"h", 1}}));
}

TEST_F(OptionDialogsTest, OkRefusesWhatCannotBeTaken) {
    OtherOptionsDialog dialog(DocCommentFormat{});
    dialog.Create();
    for (const char* size : {"0", "100", "x", ""}) {
        dialog.UserType(IDC_OTHER_TAB_SIZE, size);
        dialog.UserClick(gui::IDOK);
        EXPECT_FALSE(dialog.IsEnded()) << size;
    }
    EXPECT_EQ(backend.shownBoxes().back().text, "Please enter an integer between 1 and 99.");
    EXPECT_EQ(dialog.GetFocusId(), IDC_OTHER_TAB_SIZE);
    dialog.UserType(IDC_OTHER_TAB_SIZE, "99");
    dialog.UserType(IDC_OTHER_BLOCK_MIDDLE, "**");
    dialog.UserClick(gui::IDOK);
    EXPECT_FALSE(dialog.IsEnded());
    EXPECT_EQ(backend.shownBoxes().back().text, "Please enter no more than 1 character.");
    // A character that the comment reader refuses (white space).
    dialog.UserType(IDC_OTHER_BLOCK_MIDDLE, " ");
    dialog.UserClick(gui::IDOK);
    EXPECT_FALSE(dialog.IsEnded());
    EXPECT_EQ(backend.shownBoxes().back().icon, gui::Icon::Error);
    EXPECT_EQ(dialog.commentFormat, DocCommentFormat());
    dialog.UserType(IDC_OTHER_BLOCK_MIDDLE, "*");
    dialog.UserClick(gui::IDOK);
    EXPECT_TRUE(dialog.IsEnded());
    EXPECT_EQ(dialog.tabSize, 99);
}

TEST_F(OptionDialogsTest, ColoursAndKeywordsGoThroughTheSyntaxColoringDialog) {
    OtherOptionsDialog dialog(DocCommentFormat{});
    dialog.useSyntaxColoring = 1;
    dialog.syntaxColors.userKeywords = {"alpha", "beta"};
    dialog.Create();
    backend.colors = {0x000080};
    backend.steps.push_back([](gui::CDialog& colors) {
        EXPECT_EQ(colors.GetDlgItemText(IDC_SYN_COMMENT), "green");
        EXPECT_EQ(colors.GetDlgItemText(IDC_SYN_PAREN), "black");
        EXPECT_EQ(colors.GetDlgItemText(IDC_SYN_USER_KEYWORDS), "alpha\r\nbeta");
        colors.UserClick(IDC_SYN_KEYWORD_CHOOSE);
        EXPECT_EQ(colors.GetDlgItemText(IDC_SYN_KEYWORD), "navy");
        colors.UserType(IDC_SYN_STRING, "#123456");
        colors.UserType(IDC_SYN_USER_KEYWORDS, "gamma\n\ndelta\r\n");
        colors.UserClick(gui::IDOK);
    });
    dialog.UserClick(IDC_OTHER_COLORS);
    EXPECT_EQ(backend.opened, std::vector<int>{IDD_SYNTAX_COLORING});
    EXPECT_EQ(backend.colorRequests, std::vector<unsigned>{0x0000FF});  // blue
    EXPECT_EQ(dialog.syntaxColors.keyword, "navy");
    EXPECT_EQ(dialog.syntaxColors.string, "#123456");
    EXPECT_EQ(dialog.syntaxColors.comment, "green");
    EXPECT_EQ(dialog.syntaxColors.userKeywords, (std::set<std::string>{"gamma", "delta"}));

    // A text that is not a colour keeps the dialog open on it.
    backend.steps.push_back([this](gui::CDialog& colors) {
        colors.UserType(IDC_SYN_NUMBER, "red\" onmouseover=\"alert(1)");
        colors.UserClick(gui::IDOK);
        EXPECT_FALSE(colors.IsEnded());
        EXPECT_EQ(colors.GetFocusId(), IDC_SYN_NUMBER);
        EXPECT_EQ(backend.shownBoxes().back().text.rfind(
                      "Number color: \"red\" onmouseover=\"alert(1)\" must be a colour name (aqua, ", 0),
                  0u)
            << backend.shownBoxes().back().text;
        colors.UserType(IDC_SYN_NUMBER, "Teal");
        colors.UserClick(gui::IDOK);
        EXPECT_TRUE(colors.IsEnded());
    });
    dialog.UserClick(IDC_OTHER_COLORS);
    EXPECT_EQ(dialog.syntaxColors.number, "Teal");

    // Cancel there takes nothing back.
    backend.steps.push_back([](gui::CDialog& colors) { colors.UserType(IDC_SYN_COMMENT, "red"); });
    dialog.UserClick(IDC_OTHER_COLORS);
    EXPECT_EQ(dialog.syntaxColors.comment, "green");
}

}  // namespace
