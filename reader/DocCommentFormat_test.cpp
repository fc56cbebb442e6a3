#include "reader/DocCommentFormat.h"

#include <gtest/gtest.h>

#include "VelkLib/VelkError.h"

namespace {

std::string parseError(const std::string& text) {
    DocCommentFormat f;
    try {
        f.parse(text);
    } catch (const VelkError& e) {
        return e.message;
    }
    return "ok";
}

const std::string kPrefix = "Documentation comment format error: ";

}  // namespace

TEST(DocCommentFormat, ValidTexts) {
    DocCommentFormat f;
    f.setSecondary("///", "///", "///");
    f.parse("");
    EXPECT_EQ(f, DocCommentFormat());

    f.parse("/**;*;*/");
    EXPECT_EQ(f, DocCommentFormat());

    f.parse("///;///;///");
    EXPECT_EQ(f.getPrimaryStart(), "///");
    EXPECT_EQ(f.getSecondaryStart(), "");

    f.parse("/**;*;*/;///;///;///;ignored");
    EXPECT_EQ(f.getPrimaryEnd(), "*/");
    EXPECT_EQ(f.getSecondaryMiddle(), "///");

    f.parse("/*!;;*/");  // an empty middle string is allowed
    EXPECT_EQ(f.getPrimaryMiddle(), "");
}

TEST(DocCommentFormat, Errors) {
    const std::string notEnough = kPrefix +
        "not enough strings in format (format is "
        "\"doc-start;doc-middle;doc-end[;alt-doc-start;alt-doc-middle;alt-doc-end]\").";
    EXPECT_EQ(parseError("/**;*"), notEnough);
    EXPECT_EQ(parseError("/**;*;*/;///"), notEnough);
    EXPECT_EQ(parseError("/**;*;*/;///;///"), notEnough);
    EXPECT_EQ(parseError("/***;*;*/"), kPrefix + "documentation-start string must be 3 characters long.");
    EXPECT_EQ(parseError("#**;*;*/"), kPrefix + "documentation comments must begin with \"/*\" or \"//\".");
    EXPECT_EQ(parseError("/* ;*;*/"), kPrefix + "documentation-start string may not contain spaces.");
    EXPECT_EQ(parseError("/**; *;*/"), kPrefix + "documentation-middle string may not contain spaces.");
    EXPECT_EQ(parseError("/**;*;* /"), kPrefix + "documentation-end string may not contain spaces.");
    const std::string badEnd = kPrefix + "documentation-end string must begin with \"//\" or end with \"*/\".";
    EXPECT_EQ(parseError("/**;*;**"), badEnd);
    EXPECT_EQ(parseError("/**;*;/"), badEnd);  // one character: no read before the text
    EXPECT_EQ(parseError("/*x;*;*/"), "ok");
}

TEST(DocCommentFormat, FailedParseKeepsTheFormat) {
    DocCommentFormat f;
    f.parse("///;///;///;/*!;!;*/");
    DocCommentFormat before = f;
    EXPECT_THROW(f.parse("/*+;+;+/;///;///;**"), VelkError);
    EXPECT_EQ(f, before);
}
