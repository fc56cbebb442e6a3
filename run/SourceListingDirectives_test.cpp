#include <gtest/gtest.h>

#include <string>

#include "run/SourceListing.h"

// The words of #error, #warning, #pragma, #line and #ident are free text:
// an apostrophe there opens no literal, so the listing keeps the file
// whole and colours the literals after it as literals.
TEST(SourceListingDirectives, AnApostropheInADirectivesTextOpensNoLiteral) {
    const std::string header =
        "#ifndef CONFIG_H\n"
        "#error You can't include this header directly\n"
        "#endif\n"
        "#pragma message(\"it's fine\")\n"
        "#warning don't\n"
        "char quote = 'q';\n";
    SourceListingOptions options;
    options.syntaxColor = false;
    std::string plain;
    renderSourceListing(header, "config.h", plain, options);
    EXPECT_EQ(plain, header);

    options.syntaxColor = true;
    std::string colored;
    renderSourceListing(header, "config.h", colored, options);
    const std::string literal = "<font color=\"maroon\">";
    EXPECT_NE(colored.find(literal + "\"it's fine\"</font>"), std::string::npos) << colored;
    EXPECT_NE(colored.find(literal + "'q'</font>"), std::string::npos) << colored;
    EXPECT_EQ(colored.find(literal + "'t"), std::string::npos) << colored;
}
