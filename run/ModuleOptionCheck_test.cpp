#include "run/ModuleOptionCheck.h"

#include <gtest/gtest.h>

namespace {

const char* const optionText =
    "summary-html|Project summary HTML:|text|project.html|project.html|"
    "separate-index-pages|Separate index pages|checkbox|false|false|"
    "table-background|Table background:|color|white|white||";

TEST(ModuleOptionCheckTest, KnownKeysPassUnknownOnesAreNamedAndCheckboxesTakeOnlyTrueOrFalse) {
    ModuleOptionCheck check = checkModuleOptions(
        {{"summary-html", "anything at all"},
         {"table-background", "#123456"},
         {"separate-index-pages", ""},
         {"overwirte", ""},
         {"-title", "Foo"}},
        optionText);
    EXPECT_EQ(check.unknown, (std::vector<std::string>{"-title", "overwirte"}));
    EXPECT_TRUE(check.refused.empty());

    for (const char* accepted : {"true", "FALSE", "True"})
        EXPECT_TRUE(checkModuleOptions({{"separate-index-pages", accepted}}, optionText).refused.empty())
            << accepted;
    check = checkModuleOptions({{"separate-index-pages", "yes"}}, optionText);
    EXPECT_EQ(check.refused,
              (std::vector<std::string>{"-separate-index-pages=yes: the value must be true or false"}));
}

TEST(ModuleOptionCheckTest, AColourOptionTakesOnlyAColour) {
    for (const char* accepted : {"red", "Navy", "#a0B0c0"})
        EXPECT_TRUE(checkModuleOptions({{"table-background", accepted}}, optionText).refused.empty())
            << accepted;
    ModuleOptionCheck check = checkModuleOptions({{"table-background", "red\" onmouseover=\"alert(1)"}}, optionText);
    ASSERT_EQ(check.refused.size(), 1u);
    EXPECT_EQ(check.refused[0].rfind("-table-background=red\" onmouseover=\"alert(1): the value must be a colour name (aqua, ", 0),
              0u)
        << check.refused[0];
}

TEST(ModuleOptionCheckTest, AModuleWithoutOptionsKnowsNone) {
    ModuleOptionCheck check = checkModuleOptions({{"summary-html", "x"}}, "");
    EXPECT_EQ(check.unknown, std::vector<std::string>{"summary-html"});
    // A trailing group cut short declares nothing.
    check = checkModuleOptions({{"a", ""}}, "a|label|checkbox|");
    EXPECT_EQ(check.unknown, std::vector<std::string>{"a"});
}

}  // namespace
