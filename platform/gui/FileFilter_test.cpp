#include "platform/gui/FileFilter.h"

#include <gtest/gtest.h>

namespace {

TEST(FileFilterTest, PairsBecomeNameFiltersWithTheirPatterns) {
    auto entries = gui::parseFileFilter(
        "Valid Files (*.cpp;*.h)|*.cpp; *.h|Text Files (*.txt)|*.txt|All Files (*.*)|*.*||ignored|*.x");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].patterns, (std::vector<std::string>{"*.cpp", "*.h"}));
    EXPECT_EQ(gui::nameFilter(entries[0]), "Valid Files (*.cpp *.h)");
    EXPECT_EQ(gui::nameFilter(entries[2]), "All Files (*)");

    // A description without its own parentheses gets them; one without
    // patterns matches everything.
    auto bare = gui::parseFileFilter("Sources|*.c;;*.cc ;|Anything");
    ASSERT_EQ(bare.size(), 2u);
    EXPECT_EQ(gui::nameFilter(bare[0]), "Sources (*.c *.cc)");
    EXPECT_EQ(gui::nameFilter(bare[1]), "Anything (*)");
    EXPECT_TRUE(gui::parseFileFilter("").empty());
}

}  // namespace
