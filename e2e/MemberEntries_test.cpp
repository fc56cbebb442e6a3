// Member entries as the class pages show them: each declaration as written,
// with the member's own name marked where the declaration declares it and
// every other word left to what it names. The program runs as a child over
// sources as authors write them today, and over declarations large enough
// that work beyond their length would run into the time limit.
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

// The texts of every <tag>...</tag> of an HTML text, in order.
std::vector<std::string> elementTexts(const std::string& html, const std::string& tag) {
    std::vector<std::string> texts;
    const std::string open = "<" + tag + ">", close = "</" + tag + ">";
    for (std::size_t at = html.find(open); at != std::string::npos; at = html.find(open, at + 1)) {
        const std::size_t end = html.find(close, at);
        if (end == std::string::npos) break;
        texts.push_back(e2e::shownText(html.substr(at, end - at)));
    }
    return texts;
}

struct Link {
    std::string href, text;
    bool operator==(const Link&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Link& link) {
    return out << link.text << " -> " << link.href;
}

// The links of an HTML text, with their shown texts.
std::vector<Link> links(const std::string& html) {
    std::vector<Link> found;
    const std::string open = "<a href=\"";
    for (std::size_t at = html.find(open); at != std::string::npos; at = html.find(open, at + 1)) {
        const std::size_t quote = html.find('"', at + open.size());
        const std::size_t end = html.find("</a>", quote);
        const std::size_t textStart = html.find('>', quote) + 1;
        found.push_back({html.substr(at + open.size(), quote - at - open.size()),
                         e2e::shownText(html.substr(textStart, end - textStart))});
    }
    return found;
}

// The links that lead into the page itself ("#...").
std::vector<Link> linksIntoPage(const std::string& html) {
    std::vector<Link> inside;
    for (const Link& link : links(html))
        if (link.href.rfind("#", 0) == 0) inside.push_back(link);
    return inside;
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

    // The summary cell that links to the detail entry of `name`.
    static std::string summaryCell(const std::string& page, const std::string& name) {
        const std::string open = "<TD><CODE>";
        for (std::size_t at = page.find(open); at != std::string::npos; at = page.find(open, at + 1)) {
            const std::string cell = between(page, open, "</CODE>", at);
            for (const Link& link : linksIntoPage(cell))
                if (link.text == name) return cell;
        }
        return "";
    }
};

// A member named like a type ("Color Color", a constructor taking its own
// class, a parameter named like its method) is marked and linked once, at
// its own name; the type keeps the link to its class, or stays plain text
// when no documented class has that name.
TEST_F(MemberEntries, TheMembersNameIsMarkedWhereItIsDeclared) {
    writeText(work() / "cs/Brush.cs",
              "using System.Drawing;\n"
              "namespace Paint {\n"
              "    /// <summary>The path a stroke follows.</summary>\n"
              "    public class Outline { }\n"
              "\n"
              "    /// <summary>Paints along an outline.</summary>\n"
              "    public class Brush {\n"
              "        /// <summary>The colour it paints in.</summary>\n"
              "        public Color Color { get; set; }\n"
              "        /// <summary>The outline it follows.</summary>\n"
              "        public Outline Outline { get; }\n"
              "        /// <summary>The layer over the layers below.</summary>\n"
              "        public Layer Layer(Layer<Layer<Outline>> below) { return null; }\n"
              "    }\n"
              "}\n");
    writeText(work() / "java/tree/Node.java",
              "package tree;\n"
              "\n"
              "/** A node of a tree of names. */\n"
              "public class Node {\n"
              "    /** A node under the parent. */\n"
              "    public Node(Node parent, String name) {}\n"
              "    /** The name put into the format. */\n"
              "    public String format(String format, Locale locale) { return format; }\n"
              "}\n");

    const std::string brush = document({"cs"}, "Paint/Brush.html");
    const std::string outlinePage = "../Paint/Outline.html";
    struct Expected {
        std::string name, beforeName;
        std::vector<Link> typeLinks;
    };
    for (const Expected& member :
         {Expected{"Color", "public Color ", {}},
          Expected{"Outline", "public Outline ", {{outlinePage, "Outline"}}},
          Expected{"Layer", "public Layer ", {{outlinePage, "Outline"}}}}) {
        SCOPED_TRACE(member.name);
        const std::string detail = detailDeclaration(brush, member.name);
        EXPECT_EQ(elementTexts(detail, "B"), std::vector<std::string>{member.name}) << detail;
        EXPECT_EQ(e2e::shownText(detail.substr(0, detail.find("<B>"))), member.beforeName) << detail;
        EXPECT_EQ(links(detail), member.typeLinks) << detail;
        const std::string cell = summaryCell(brush, member.name);
        EXPECT_EQ(linksIntoPage(cell).size(), 1u) << cell;
        EXPECT_EQ(elementTexts(cell, "B"), std::vector<std::string>{member.name}) << cell;
    }
    EXPECT_EQ(e2e::shownText(detailDeclaration(brush, "Layer")),
              "public Layer Layer(Layer<Layer<Outline>> below);");

    const std::string node = document({"java"}, "tree/Node.html");
    for (const auto& [name, declaration] :
         {std::pair<std::string, std::string>{"Node", "public Node(Node parent, String name);"},
          {"format", "public String format(String format, Locale locale);"}}) {
        SCOPED_TRACE(name);
        const std::string detail = detailDeclaration(node, name);
        EXPECT_EQ(elementTexts(detail, "B"), std::vector<std::string>{name}) << detail;
        EXPECT_EQ(e2e::shownText(detail), declaration);
        const std::string cell = summaryCell(node, name);
        EXPECT_EQ(linksIntoPage(cell).size(), 1u) << cell;
        EXPECT_EQ(elementTexts(cell, "B"), std::vector<std::string>{name}) << cell;
    }
}

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
