#include "modules/standard/ModuleOptions.h"

#include "modules/standard/StandardModule.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The entry of one option in the text, "key|label|kind|current|default|".
std::string entryOf(const std::string& text, const std::string& key) {
    size_t at = text.find(key + "|");
    if (at == std::string::npos) return "";
    size_t end = at;
    for (int bars = 0; bars < 5; ++bars) end = text.find('|', end) + 1;
    return text.substr(at, end - at);
}

TEST(ModuleOptions, FreshModuleDescribesTheDefaults) {
    StandardModule module;
    std::string text = buildOptionText(module);
    size_t bars = std::count(text.begin(), text.end(), '|');
    EXPECT_EQ(bars, moduleOptionCount * 5 + 1);
    EXPECT_EQ(text.substr(0, 57), "summary-html|Project summary HTML:|text|project.html|proj");
    EXPECT_EQ(entryOf(text, "header-background-dark"),
              "header-background-dark|Dark table header background:|color|#CCCCFF|#ccccff|");
    EXPECT_EQ(entryOf(text, "enable-since"), "enable-since|Enable @since tag|checkbox|true|true|");
    EXPECT_EQ(text.substr(text.size() - 14), "|false|false||");
}

TEST(ModuleOptions, ValuesApplyInTableOrderAndNullKeepsAnOption) {
    StandardModule module;
    std::vector<const char*> values(moduleOptionCount, nullptr);
    applyOptionValues(module, values.data());
    EXPECT_EQ(module.options, DocOptions());

    values[0] = "";
    values[5] = "red";
    values[8] = "TRUE";
    values[12] = "1";   // include-protected off
    values[13] = "";    // include-private on
    values[16] = "yes"; // generate-hierarchy off
    applyOptionValues(module, values.data());
    EXPECT_EQ(module.summaryHtml, "");
    EXPECT_EQ(module.options.tableBackground, "red");
    EXPECT_TRUE(module.separateIndexPages);
    EXPECT_FALSE(module.options.includeProtected);
    EXPECT_TRUE(module.options.includePrivate);
    EXPECT_FALSE(module.options.generateHierarchy);

    std::string text = buildOptionText(module);
    EXPECT_EQ(entryOf(text, "summary-html"), "summary-html|Project summary HTML:|text||project.html|");
    EXPECT_EQ(entryOf(text, "table-background"), "table-background|Table background:|color|red|white|");
}

TEST(ModuleOptions, AColourValueCannotEndTheAttributeItIsWrittenInto) {
    StandardModule module;
    std::vector<const char*> values(moduleOptionCount, nullptr);
    values[3] = "#ccccff";
    values[5] = "red\" onmouseover=\"alert(1)";
    values[6] = "<b>&";
    values[0] = "a\"b";  // text options are kept as given
    applyOptionValues(module, values.data());
    EXPECT_EQ(module.options.headerBackgroundDark, "#ccccff");
    EXPECT_EQ(module.options.tableBackground, "red&quot; onmouseover=&quot;alert(1)");
    EXPECT_EQ(module.options.selectedTextBackground, "&lt;b&gt;&amp;");
    EXPECT_EQ(module.summaryHtml, "a\"b");
}

TEST(ModuleOptions, TextToBool) {
    EXPECT_TRUE(textToBool(""));
    EXPECT_TRUE(textToBool("True"));
    EXPECT_FALSE(textToBool(" true"));
    EXPECT_FALSE(textToBool("1"));
}

}  // namespace
