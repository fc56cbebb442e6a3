// Member entries as the class pages show them: each declaration as written.
// The program runs as a child over sources as authors write them today, and
// over declarations large enough that work beyond their length would run
// into the time limit.
#include <gtest/gtest.h>

#include "e2e/ChildProcess.h"
#include "e2e/ProgramFixture.h"
#include "e2e/SiteCheck.h"

namespace fs = std::filesystem;

namespace {

using e2e::writeText;

// Generous for the sanitizer build; a quadratic blow-up still runs into it.
constexpr int kTimeLimit = 120;

// The HTML between the first `open` at or after `from` and the `close`
// after it; "" when there is none.
std::string between(const std::string& html, const std::string& open, const std::string& close,
                    std::size_t from = 0) {
    const std::size_t start = html.find(open, from);
    if (start == std::string::npos) return "";
    const std::size_t end = html.find(close, start + open.size());
    if (end == std::string::npos) return "";
    return html.substr(start + open.size(), end - start - open.size());
}

class MemberEntries : public e2e::ProgramFixture {
protected:
    MemberEntries() : ProgramFixture("member-entries") {}

    // Documents the inputs ("///" comments read) and returns the HTML of
    // the class page `page` (under out/projects).
    std::string document(const std::vector<std::string>& inputs, const std::string& page) {
        const auto result = documentIntoOut(inputs, kTimeLimit);
        const fs::path file = work() / "out/projects" / page;
        EXPECT_TRUE(fs::is_regular_file(file)) << file << "\n" << result.describe();
        return fs::is_regular_file(file) ? e2e::readFile(file) : std::string();
    }

    // The declaration in the detail entry headed `name`, as HTML.
    static std::string detailDeclaration(const std::string& page, const std::string& name) {
        const std::size_t heading = page.find("<H3>" + name + "</H3>");
        if (heading == std::string::npos) return "";
        return between(page, "<PRE>\n", "\n</PRE>", heading);
    }
};

// Array dimensions after a name are shown in the order written, in the
// detail entry as declared and in the summary after the type; a generated
// table of very many dimensions takes no longer than its length.
TEST_F(MemberEntries, ArrayDimensionsAreShownAsWritten) {
    std::string generated;
    for (int i = 0; i < 150000; ++i) generated += "[" + std::to_string(2 + i % 7) + "]";
    writeText(work() / "src/cube.h",
              "/** A lookup table for a colour cube. */\n"
              "struct ColourCube {\n"
              "    /** Weights per channel, level and step. */\n"
              "    unsigned char weights[3][256][16];\n"
              "    /** Every path through the cube, as the generator wrote it. */\n"
              "    short paths" + generated + ";\n"
              "};\n");
    const std::string cube = document({"src"}, "src/ColourCube.html");
    const std::string shown = e2e::shownText(cube);
    EXPECT_EQ(e2e::shownText(detailDeclaration(cube, "weights")),
              "public unsigned char weights[3][256][16];");
    EXPECT_NE(shown.find(" unsigned char[3][256][16] weights Weights per channel"), std::string::npos);
    // Too long to print whole when it differs.
    const std::string paths = e2e::shownText(detailDeclaration(cube, "paths"));
    EXPECT_TRUE(paths == "public short paths" + generated + ";") << paths.substr(0, 200);
    EXPECT_NE(shown.find(" short" + generated + " paths Every path through the cube"), std::string::npos);
}

}  // namespace
