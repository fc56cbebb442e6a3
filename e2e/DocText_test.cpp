// The program run as a build script runs it, over Java and C# sources
// documented as their authors document them today: what the pages show of
// each comment is compared, as a browser lays the page out, with what the
// comment says.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "e2e/ChildProcess.h"
#include "e2e/ProgramFixture.h"
#include "e2e/SiteCheck.h"

namespace fs = std::filesystem;

namespace {

// Generous for the sanitizer build; a hang still runs into it by far.
constexpr int kTimeLimit = 120;

class DocTextRun : public e2e::ProgramFixture {
protected:
    DocTextRun() : ProgramFixture("doctext") {}

    fs::path site() const { return work() / "out"; }

    // Documents the entries with the module into out/index.html.
    void document(const std::string& module, const std::vector<std::string>& entries) {
        std::vector<std::string> args{"-autorun",  "-autoquit", "-overwrite", "-accept3slash",
                                      "-module=" + module, "-moduledir=" + moduleDir_.string()};
        args.insert(args.end(), entries.begin(), entries.end());
        args.push_back("out/index.html");
        e2e::ChildSignals none;
        none.count = 0;
        const auto result = e2e::runChild(program_, args, childEnvironment(scratchVariables()),
                                          work(), logs(), none, kTimeLimit);
        ASSERT_EQ(result.exitCode, 0) << result.describe();
    }

    std::vector<std::string> pageLines(const std::string& page) const {
        return e2e::pageTextLines(e2e::readFile(site() / page));
    }
};

// The lines of a page from the last one that reads `first` on, `count` of
// them (fewer at the page's end); none when no line reads it.
std::vector<std::string> linesFrom(const std::vector<std::string>& lines, const std::string& first,
                                   std::size_t count) {
    const auto at = std::find(lines.rbegin(), lines.rend(), first);
    if (at == lines.rend()) return {};
    const auto start = at.base() - 1;
    return {start, start + static_cast<std::ptrdiff_t>(
                               std::min<std::size_t>(count, static_cast<std::size_t>(lines.end() - start)))};
}

bool hasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The links of a page: each one's shown text and its target.
std::vector<std::pair<std::string, std::string>> links(const std::string& html) {
    std::vector<std::pair<std::string, std::string>> found;
    for (std::size_t at = html.find("<a href=\""); at != std::string::npos;
         at = html.find("<a href=\"", at + 1)) {
        const std::size_t hrefEnd = html.find('"', at + 9);
        const std::size_t textStart = html.find('>', hrefEnd) + 1;
        const std::size_t textEnd = html.find("</a>", textStart);
        const auto text = e2e::pageTextLines(html.substr(textStart, textEnd - textStart));
        found.emplace_back(text.empty() ? "" : text.front(), html.substr(at + 9, hrefEnd - at - 9));
    }
    return found;
}

struct Parameter {
    std::string name, text;
};

// One method documented alike in both languages.
const std::string kSummary = "Finds an item by its code.";
const std::string kMore = "Codes are compared without regard to case.";
const std::vector<Parameter> kParameters{
    {"code", "The item's code, as printed on its label."},
    {"strict", "Whether a missing item is an error."}};
const Parameter kTypeParameter{"TItem", "The kind of item kept."};
const std::string kReturns = "The item, or none when no item has the code.";
const std::string kThrows = "No item has the code and strict is set.";

std::string javaCatalog() {
    std::string text = "package acme.stock;\n\n/**\n * Keeps the items of a store.\n * @param <" +
                       kTypeParameter.name + "> " + kTypeParameter.text +
                       "\n */\npublic class Catalog<" + kTypeParameter.name + "> {\n"
                       "    /**\n     * " + kSummary + "\n     * <p>" + kMore + "\n";
    for (const Parameter& p : kParameters) text += "     * @param " + p.name + " " + p.text + "\n";
    text += "     * @return " + kReturns + "\n     * @throws StockException " + kThrows +
            "\n     */\n    public Object Find(String code, boolean strict) { return null; }\n}\n";
    return text;
}

std::string csharpCatalog() {
    std::string text = "using System;\n\nnamespace Acme.Stock\n{\n"
                       "    /// <summary>Keeps the items of a store.</summary>\n"
                       "    /// <typeparam name=\"" + kTypeParameter.name + "\">" +
                       kTypeParameter.text + "</typeparam>\n"
                       "    public class Catalog<" + kTypeParameter.name + ">\n    {\n"
                       "        /// <summary>\n        /// " + kSummary + "\n        /// </summary>\n";
    for (const Parameter& p : kParameters)
        text += "        /// <param name=\"" + p.name + "\">" + p.text + "</param>\n";
    text += "        /// <returns>" + kReturns + "</returns>\n"
            "        /// <exception cref=\"StockException\">" + kThrows + "</exception>\n"
            "        /// <remarks>" + kMore + "</remarks>\n"
            "        public object Find(string code, bool strict) { return null; }\n    }\n}\n";
    return text;
}

const char* const kJavaException =
    "package acme.stock;\n\n/** An item is missing. */\npublic class StockException extends Exception {}\n";
const char* const kCSharpException =
    "namespace Acme.Stock;\n\n/// <summary>An item is missing.</summary>\n"
    "public class StockException : Exception {}\n";

// C#'s documentation elements read as the Java tags they stand for: each
// parameter's name with its text, the returned value, the exception, and
// the summary alone in the member table, laid out by both modules as the
// same documentation written in Java.
TEST_F(DocTextRun, CSharpDocumentationIsLaidOutAsJavaDocumentationInBothModules) {
    e2e::writeText(work() / "java/acme/stock/Catalog.java", javaCatalog());
    e2e::writeText(work() / "java/acme/stock/StockException.java", kJavaException);
    e2e::writeText(work() / "cs/Catalog.cs", csharpCatalog());
    e2e::writeText(work() / "cs/StockException.cs", kCSharpException);
    const std::string javaPage = "projects/acme.stock/Catalog.html";
    const std::string csharpPage = "projects/Acme.Stock/Catalog.html";

    document("vantry-standard", {"java/acme/stock=acme.stock", "cs=Acme.Stock"});
    const auto report = e2e::checkSite(site(), e2e::AuthoredLinks({work()}, site()));
    EXPECT_TRUE(report.clean()) << e2e::describe(report);
    std::vector<std::string> entry{kSummary, kMore, "Parameters:"};
    for (const Parameter& p : kParameters) entry.push_back(p.name + " - " + p.text);
    for (const std::string& line : {std::string("Returns:"), kReturns, std::string("Throws:"),
                                    "StockException - " + kThrows})
        entry.push_back(line);
    const auto java = pageLines(javaPage);
    const auto csharp = pageLines(csharpPage);
    EXPECT_EQ(linesFrom(java, kSummary, entry.size()), entry);
    EXPECT_EQ(linesFrom(csharp, kSummary, entry.size()), entry);
    // The class's type parameter, and the member table's row: the summary's
    // sentence alone.
    EXPECT_TRUE(hasLine(csharp, "<" + kTypeParameter.name + "> - " + kTypeParameter.text));
    EXPECT_EQ(std::count(csharp.begin(), csharp.end(), kSummary), 2) << csharp.size();
    const auto csharpLinks = links(e2e::readFile(site() / csharpPage));
    EXPECT_NE(std::find(csharpLinks.begin(), csharpLinks.end(),
                        std::pair<std::string, std::string>{"StockException",
                                                            "../Acme.Stock/StockException.html"}),
              csharpLinks.end());
    fs::remove_all(site());

    // The old module shows a comment's tags as written: both pages alike,
    // the summary's line and the one that follows it.
    document("vantry-old", {"java/acme/stock=acme.stock", "cs=Acme.Stock"});
    auto commentOf = [&](const std::string& page) {
        std::string joined;
        for (const std::string& line : linesFrom(pageLines(page), kSummary, 2)) joined += line + "\n";
        return joined;
    };
    const std::string oldJava = commentOf(javaPage);
    EXPECT_EQ(commentOf(csharpPage), oldJava);
    for (const Parameter& p : kParameters)
        EXPECT_NE(oldJava.find("@param " + p.name + " " + p.text), std::string::npos) << oldJava;
}

// A cref keeps its type arguments; a name that a using directive brings
// into view leads to that namespace's class, though another namespace has
// one of the same name.
TEST_F(DocTextRun, CSharpReferencesKeepTypeArgumentsAndFollowUsingDirectives) {
    e2e::writeText(work() / "cs/Pricing/Tariff.cs",
                   "namespace Acme.Pricing;\n\n/// <summary>Prices.</summary>\npublic class Tariff {}\n");
    e2e::writeText(work() / "cs/Legacy/Tariff.cs",
                   "namespace Acme.Legacy;\n\n/// <summary>Old prices.</summary>\npublic class Tariff {}\n");
    e2e::writeText(work() / "cs/Shop/Cart.cs",
                   "using System.Collections.Generic;\nusing Acme.Pricing;\n\nnamespace Acme.Shop\n{\n"
                   "    /// <summary>A cache of carts.</summary>\n"
                   "    /// <typeparam name=\"TKey\">The key.</typeparam>\n"
                   "    public class Cache<TKey> {}\n\n"
                   "    /// <summary>Priced by <see cref=\"Tariff\"/>, kept in a "
                   "<see cref=\"Cache{TKey}\"/>.</summary>\n"
                   "    public class Cart {}\n}\n");
    document("vantry-standard", {"cs"});
    const auto report = e2e::checkSite(site(), e2e::AuthoredLinks({work()}, site()));
    EXPECT_TRUE(report.clean()) << e2e::describe(report);
    const auto cart = pageLines("projects/Acme.Shop/Cart.html");
    EXPECT_TRUE(hasLine(cart, "Priced by Tariff, kept in a Cache<TKey>.")) << cart.size();
    const auto cartLinks = links(e2e::readFile(site() / "projects/Acme.Shop/Cart.html"));
    for (const auto& expected : std::vector<std::pair<std::string, std::string>>{
             {"Tariff", "../Acme.Pricing/Tariff.html"}, {"Cache<TKey>", "../Acme.Shop/Cache.html"}})
        EXPECT_NE(std::find(cartLinks.begin(), cartLinks.end(), expected), cartLinks.end())
            << expected.first;
}

// {@linkplain} shows its label, {@value} the constant's value, and a class
// of another package that the file imports is linked, in comments and in
// declarations.
TEST_F(DocTextRun, JavaInlineTagsAndImportedNamesReadAsTheAuthorMeantThem) {
    const std::map<std::string, std::string> constants{{"DEFAULT_LIMIT", "100"},
                                                       {"AGENT", "\"acme/1.0\""}};
    std::string limits = "package org.acme.net;\n\n/** Limits. */\npublic class Limits {\n";
    for (const auto& [name, literal] : constants)
        limits += "    /** A limit. */\n    public static final Object " + name + " = " + literal + ";\n";
    limits += "    /** Sets the mode. @param mode the mode */\n    public void setMode(Mode mode) {}\n}\n";
    e2e::writeText(work() / "src/org/acme/net/Limits.java", limits);
    e2e::writeText(work() / "src/org/acme/net/Mode.java",
                   "package org.acme.net;\n\n/** A mode. */\npublic enum Mode { STRICT, LENIENT }\n");
    e2e::writeText(work() / "src/org/acme/old/Limits.java",
                   "package org.acme.old;\n\n/** Old limits. */\npublic class Limits {}\n");
    e2e::writeText(work() / "src/org/acme/app/Client.java",
                   "package org.acme.app;\n\nimport org.acme.net.Limits;\nimport org.acme.net.*;\n\n"
                   "/**\n * Reads leniently in {@linkplain Limits#setMode(Mode) lenient mode},\n"
                   " * at most {@value Limits#DEFAULT_LIMIT} at once, as {@value Limits#AGENT},\n"
                   " * in the {@linkplain Mode#LENIENT lenient {@code Mode}}.\n"
                   " * @see Limits\n */\npublic class Client {\n"
                   "    /** The limits. @return them */\n    public Limits limits() { return null; }\n}\n");
    document("vantry-standard", {"src"});
    const auto report = e2e::checkSite(site(), e2e::AuthoredLinks({work()}, site()));
    EXPECT_TRUE(report.clean()) << e2e::describe(report);
    const std::string page = "projects/org.acme.app/Client.html";
    const auto client = pageLines(page);
    EXPECT_TRUE(hasLine(client, "Reads leniently in lenient mode, at most " +
                                    constants.at("DEFAULT_LIMIT") + " at once, as " +
                                    constants.at("AGENT") + ", in the lenient Mode."))
        << client.size();
    const auto clientLinks = links(e2e::readFile(site() / page));
    const std::string net = "../org.acme.net/Limits.html";
    for (const auto& expected : std::vector<std::pair<std::string, std::string>>{
             {"lenient mode", net + "#setMode(Modemode)"}, {"Limits", net}})
        EXPECT_NE(std::find(clientLinks.begin(), clientLinks.end(), expected), clientLinks.end())
            << expected.first << " " << expected.second;
    for (const auto& [text, target] : clientLinks)
        EXPECT_EQ(target.find("org.acme.old"), std::string::npos) << text;
    // The see tag, and the type in the member's row and in its entry.
    EXPECT_EQ(std::count(clientLinks.begin(), clientLinks.end(),
                         std::pair<std::string, std::string>{"Limits", net}),
              3);
    EXPECT_TRUE(hasLine(client, "public Limits limits();")) << client.size();
}

// The old module shows a comment's tags as written, but a {@value} as the
// value it stands for: the constant's own, one of its class, of another
// class, of an interface that class implements; a constant whose
// initialiser is no literal, or too long to copy, as its name, leading to
// its entry. A C# reference reads as the name the author wrote, not as the
// tag the other module reads it as.
TEST_F(DocTextRun, OldModuleShowsValuesAndCSharpReferencesAsMeant) {
    const std::string longText(1200, 'w');
    e2e::writeText(work() / "java/acme/store/Limits.java",
                   "package acme.store;\n\n"
                   "/** At most {@value #MAX_ITEMS} items, named {@value Labels#PREFIX}, "
                   "kept {@value Labels#DAYS} days. */\n"
                   "public class Limits {\n"
                   "    /** At most {@value} items. */\n    public static final int MAX_ITEMS = 64;\n"
                   "    /** Twice {@value #MAX_ITEMS}: {@value}. */\n"
                   "    public static final int TWICE = MAX_ITEMS * 2;\n"
                   "    /** Says {@value #NOTICE}; links {@link #MAX_ITEMS}. */\n"
                   "    public static final String NOTICE = \"" + longText + "\";\n}\n");
    e2e::writeText(work() / "java/acme/store/Labels.java",
                   "package acme.store;\n\n/** Labels. */\npublic class Labels implements Kept {\n"
                   "    /** The prefix. */\n    public static final String PREFIX = \"item <\";\n}\n");
    e2e::writeText(work() / "java/acme/store/Kept.java",
                   "package acme.store;\n\n/** Kept. */\npublic interface Kept {\n"
                   "    /** Days. */\n    long DAYS = -30L;\n}\n");
    e2e::writeText(work() / "cs/Shelf.cs",
                   "namespace Acme.Store\n{\n"
                   "    /// <summary>Holds a <see cref=\"Shelf{TItem}\"/> of "
                   "<see cref=\"Shelf{TItem}.Put\">put items</see>.</summary>\n"
                   "    /// <seealso cref=\"Shelf{TItem}\"/>\n"
                   "    public class Shelf<TItem>\n    {\n"
                   "        /// <summary>Puts one.</summary>\n        public void Put(TItem item) {}\n    }\n}\n");
    // Without source links, each comment ends its line.
    document("vantry-old", {"-sourcedir=-", "java/acme/store=acme.store", "cs=Acme.Store"});
    const auto report = e2e::checkSite(site(), e2e::AuthoredLinks({work()}, site()));
    EXPECT_TRUE(report.clean()) << e2e::describe(report);

    const std::string page = "projects/acme.store/Limits.html";
    const auto limits = pageLines(page);
    for (const std::string& line :
         {std::string("At most 64 items, named \"item <\", kept -30L days."), std::string("At most 64 items."),
          std::string("Twice 64: TWICE."), std::string("Says NOTICE; links {@link #MAX_ITEMS}.")})
        EXPECT_TRUE(hasLine(limits, line)) << line;
    const auto limitLinks = links(e2e::readFile(site() / page));
    for (const char* name : {"TWICE", "NOTICE"})
        EXPECT_NE(std::find(limitLinks.begin(), limitLinks.end(),
                            std::pair<std::string, std::string>{
                                name, std::string("../acme.store/Limits.html#") + name}),
                  limitLinks.end())
            << name;
    EXPECT_EQ(e2e::readFile(site() / page).find(longText), std::string::npos);

    const auto shelf = pageLines("projects/Acme.Store/Shelf.html");
    EXPECT_TRUE(hasLine(shelf, "Holds a Shelf<TItem> of put items. @see Shelf<TItem>"))
        << shelf.size();
}

// The old module reads the tags it shows as written in one pass, however
// deep they nest: each comes back as the author wrote it.
TEST_F(DocTextRun, OldModuleShowsDeeplyNestedTagsAsWritten) {
    constexpr int depth = 100000;
    std::string nested;  // one line of the comment per kind of tag
    for (const char* open : {"{@link Deep ", "{@linkplain Deep ", "{@foo "}) {
        std::string run;
        for (int i = 0; i < depth; ++i) run += open;
        nested += run + std::string(depth, '}') + " " + run + "\n * ";
    }
    e2e::writeText(work() / "java/acme/deep/Deep.java",
                   "package acme.deep;\n\n/**\n * " + nested + "end\n */\npublic class Deep {}\n");
    document("vantry-old", {"-sourcedir=-", "java"});
    // The lines run together as a browser lays them out, one blank between.
    std::string shown;
    for (std::size_t from = 0, end; (end = nested.find("\n * ", from)) != std::string::npos; from = end + 4) {
        shown += nested.substr(from, end - from);
        while (shown.back() == ' ') shown.pop_back();
        shown += ' ';
    }
    shown += "end";
    const auto deep = pageLines("projects/acme.deep/Deep.html");
    EXPECT_TRUE(hasLine(deep, shown)) << deep.size();
}

// The block tags that C++ authors write beside the ones the pages lay out
// in sections keep their words: "@brief" starts the description (and so
// gives the summary), a code block keeps its lines where it is written,
// and any other tag is a paragraph of its own after the description,
// headed by its name. The sections stay as they are.
TEST_F(DocTextRun, TagsOfNoSectionKeepTheirWords) {
    e2e::writeText(work() / "include/rig/joint.h",
                   "/** @brief A single joint of a rig.\n"
                   " *\n"
                   " * A joint has a name by which animations address it.\n"
                   " * @note Weights are <b>not</b> normalised\n"
                   " *   by the loader.\n"
                   " * @copydoc Rig\n"
                   " */\n"
                   "struct Joint {\n"
                   "    /**\n"
                   "     * Copies a joint:\n"
                   "     * @code{.cpp}\n"
                   "     * Joint copy = joint.copy(weights);\n"
                   "     *   if (copy.weight < 1) { copy.scale(2); }\n"
                   "     * @param not a tag here\n"
                   "     * @endcode\n"
                   "     * and keeps its name.\n"
                   "     * @tparam T the kind of weight.\n"
                   "     * @param[in] other the joint to copy.\n"
                   "     * @param weights how much of each.\n"
                   "     * @returns the copy.\n"
                   "     * @return the copy, named as the original.\n"
                   "     * @pre <script>alert(1)</script> a loaded rig.\n"
                   "     */\n"
                   "    Joint copy(const Joint& other, int weights);\n"
                   "};\n");
    document("vantry-standard", {"-extensions=h", "include/rig"});
    const auto report = e2e::checkSite(site(), e2e::AuthoredLinks({work()}, site()));
    EXPECT_TRUE(report.clean()) << e2e::describe(report);
    const auto joint = pageLines("projects/rig/Joint.html");
    const std::vector<std::string> description{
        "A single joint of a rig. A joint has a name by which animations address it.",
        "Note: Weights are not normalised by the loader.", "Copydoc: Rig"};
    EXPECT_EQ(linesFrom(joint, description.front(), description.size()), description);
    // The summary row shows the description's first sentence, the
    // paragraphs after it nothing.
    const auto summary = pageLines("projects/rig/project-summary.html");
    EXPECT_EQ(linesFrom(summary, "Joint", 2),
              (std::vector<std::string>{"Joint", "A single joint of a rig."}));
    const std::vector<std::string> member{
        "Copies a joint:",
        "Joint copy = joint.copy(weights);",
        "if (copy.weight < 1) { copy.scale(2); }",
        "@param not a tag here",
        "and keeps its name.",
        "Tparam: T the kind of weight.",
        "Param[in]: other the joint to copy.",
        "Returns: the copy.",
        "Pre: <script>alert(1)</script> a loaded rig.",
        "Parameters:",
        "weights - how much of each.",
        "Returns:",
        "the copy, named as the original."};
    EXPECT_EQ(linesFrom(joint, member.front(), member.size()), member);
}

}  // namespace
