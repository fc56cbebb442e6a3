#include "modules/standard/PageTags.h"

#include "modules/common/DocText.h"
#include "modules/common/ReceivedTexts.h"
#include "modules/standard/PageDocBlock.h"
#include "modules/standard/PageTestSupport.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Links = std::vector<std::pair<std::string, std::string>>;

// Classes whose sources lie in a folder of the test's own, as the program
// sends them: each with its source directory and file.
struct SourceFixture {
    pagetest::ListFixture f;
    pagetest::TempDir sources;

    SourceFixture() {
        InputRoots roots;
        roots.add(sources.str());
        f.list.setSourceRoots(roots);
    }

    DocCppClass* addClass(const std::string& name, const std::string& package,
                          const std::string& file, const std::string& source, int language = 2) {
        std::filesystem::path path = sources.path / package / file;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << source;
        DocCppClass* cls = f.addClass(name, package, "class", language);
        cls->setSourceDirectory(path.parent_path().string());
        setFileNamesFromText(*cls, package + "/" + file + "|");
        return cls;
    }

    // The entity's comment as its detail entry shows it.
    std::string block(CppClassEntity& entity, const std::string& comment) {
        const CppClass* cls = entity.getClass();
        entity.setComment(receivedComment(comment, cls ? cls->getLanguage() : 2));
        return writeDocBlock(entity, &f.list, "", ".", nullptr, "../");
    }
};

// {@linkplain} links as {@link} does, its label in plain text.
TEST(InlineTags, LinkPlainShowsItsLabelAsPlainText) {
    pagetest::ListFixture f;
    DocCppClass* parser = f.addClass("Parser", "text");
    f.addMember(parser, "setMode", "void setMode(Mode mode);", "public", "", true, {"Mode mode"});
    f.list.prepareMemberEntries();
    parser->setComment("Reads leniently in {@linkplain #setMode(Mode) lenient mode}, "
                       "see {@linkplain Parser}.");
    const std::string html = writeDocBlock(*parser, &f.list, "", ".", nullptr, "../");
    EXPECT_EQ(pagetest::shownText(html), "Reads leniently in lenient mode, see Parser.");
    EXPECT_EQ(pagetest::linksIn(html),
              (Links{{"lenient mode", "../text/Parser.html#setMode(Modemode)"},
                     {"Parser", "../text/Parser.html"}}));
    EXPECT_FALSE(pagetest::contains(html, "<CODE>")) << html;
    // A label, or the text of a tag the pages do not know, may hold inline
    // tags of its own; a tag's name ends where names end.
    parser->setComment("Uses the {@linkplain #setMode(Mode) current\n{@code Mode}} "
                       "{@return {@code true} when set}; {@code(\"x\")}.");
    const std::string nested = writeDocBlock(*parser, &f.list, "", ".", nullptr, "../");
    EXPECT_EQ(pagetest::shownText(nested), "Uses the current Mode true when set; (\"x\").");
    EXPECT_EQ(pagetest::linksIn(nested),
              (Links{{"current Mode", "../text/Parser.html#setMode(Modemode)"}}));
}

// {@value} shows what the constant's declaration initialises it with, when
// that is a literal; else the constant's name, linked.
TEST(InlineTags, ValueShowsTheConstantsLiteral) {
    SourceFixture s;
    const std::map<std::string, std::string> literals{
        {"DEFAULT_LIMIT", "100"}, {"AGENT", "\"acme/1.0 <beta>\""}, {"MASK", "0x7F"},
        {"FLOOR", "-1L"}};
    std::string source =
        "package net;\n\n/** Limits. */\npublic final class Limits {\n"
        "    // DEFAULT_LIMIT = 5 was too low.\n"
        "    /** How many {@value} at most. */\n    public static final int MAX = 8;\n"
        "    public static final int TWICE = DEFAULT_LIMIT * 2;\n";
    for (const auto& [name, literal] : literals)
        source += "    public static final Object " + name + " = " + literal + ";\n";
    source += "    void use() { String s = \"MASK = 3\"; if (MAX == 9) {} }\n}\n";
    DocCppClass* limits = s.addClass("Limits", "net", "Limits.java", source);
    CppClassMember* max = s.f.addMember(limits, "MAX", "public static final int MAX;");
    s.f.addMember(limits, "TWICE", "public static final int TWICE;");
    for (const auto& [name, literal] : literals)
        s.f.addMember(limits, name, "public static final Object " + name + ";");
    DocCppClass* client = s.addClass("Client", "app", "Client.java", "package app;\nclass Client {}\n");

    for (const auto& [name, literal] : literals)
        EXPECT_EQ(pagetest::shownText(s.block(*client, "Is {@value net.Limits#" + name + "}.")),
                  "Is " + literal + ".");
    EXPECT_EQ(pagetest::shownText(s.block(*max, "How many {@value} at most.")), "How many 8 at most.");
    // A value that is no literal: the constant's name, linked.
    const std::string twice = s.block(*limits, "Twice {@value #TWICE}.");
    EXPECT_EQ(pagetest::shownText(twice), "Twice TWICE.");
    EXPECT_EQ(pagetest::linksIn(twice), (Links{{"TWICE", "../net/Limits.html#TWICE"}}));
}

// A value too long to copy into every text that names it is a link to its
// constant instead. A source is read once for all the constants its pages
// show: a value changed in the file after the first page asked stays the
// value read (the run documents the sources as they were read).
TEST(InlineTags, ValuesAreReadOncePerSourceAndLongOnesLinked) {
    SourceFixture s;
    const std::string fits(1000, 'x');
    const std::string tooLong(1001, 'y');
    const std::string source = "package net;\n\npublic final class Limits {\n"
                               "    public static final int MAX = 8;\n"
                               "    public static final String FITS = \"" + fits.substr(2) + "\";\n"
                               "    public static final String TOO_LONG = \"" + tooLong.substr(2) + "\";\n}\n";
    DocCppClass* limits = s.addClass("Limits", "net", "Limits.java", source);
    CppClassMember* max = s.f.addMember(limits, "MAX", "public static final int MAX;");
    s.f.addMember(limits, "FITS", "public static final String FITS;");
    CppClassMember* own = s.f.addMember(limits, "TOO_LONG", "public static final String TOO_LONG;");

    EXPECT_EQ(pagetest::shownText(s.block(*limits, "Is {@value #FITS}.")),
              "Is \"" + fits.substr(2) + "\".");
    const std::string linked = s.block(*limits, "Is {@value #TOO_LONG}, {@value #TOO_LONG}.");
    EXPECT_EQ(pagetest::shownText(linked), "Is TOO_LONG, TOO_LONG.");
    EXPECT_EQ(pagetest::linksIn(linked), (Links{{"TOO_LONG", "../net/Limits.html#TOO_LONG"},
                                                {"TOO_LONG", "../net/Limits.html#TOO_LONG"}}));
    const std::string self = s.block(*own, "Reads {@value}.");
    EXPECT_EQ(pagetest::shownText(self), "Reads TOO_LONG.");
    EXPECT_EQ(pagetest::linksIn(self), (Links{{"TOO_LONG", "../net/Limits.html#TOO_LONG"}}));

    EXPECT_EQ(pagetest::shownText(s.block(*max, "At most {@value}.")), "At most 8.");
    std::ofstream(s.sources.path / "net/Limits.java")
        << "package net;\n\npublic final class Limits {\n    public static final int MAX = 9;\n}\n";
    EXPECT_EQ(pagetest::shownText(s.block(*limits, "At most {@value #MAX}.")), "At most 8.");
}

// A name that a file imports (or whose package it imports whole) leads to
// that class, though another package has a class of the same name; a name
// of one class only leads there; a name two packages in view share, or
// two classes of the run share, leads nowhere.
TEST(CodeLinks, NamesResolveThroughTheSourcesImports) {
    SourceFixture s;
    for (const char* package : {"org.acme.net", "org.acme.old"})
        s.addClass("Limits", package, "Limits.java", std::string("package ") + package + ";\n");
    for (const char* package : {"org.acme.util", "org.acme.old", "org.acme.more"})
        s.addClass("Helper", package, "Helper.java", std::string("package ") + package + ";\n");
    s.addClass("Solo", "org.acme.solo", "Solo.java", "package org.acme.solo;\n");
    DocCppClass* client = s.addClass(
        "Client", "org.acme.app", "Client.java",
        "package org.acme.app;\n\n// import org.acme.old.Limits;\n"
        "import org.acme.net.Limits;\nimport static org.acme.old.Helper.help;\n"
        "import org.acme.util.*;\n\n/** A client. */\npublic class Client {}\n");
    const std::string html =
        s.block(*client, "Keeps {@link Limits}, {@link Limits#MAX}, {@link Helper}, "
                         "{@link Solo}.\n@see Limits");
    EXPECT_EQ(pagetest::linksIn(html),
              (Links{{"Limits", "../org.acme.net/Limits.html"},
                     {"Limits.MAX", "../org.acme.net/Limits.html"},
                     {"Helper", "../org.acme.util/Helper.html"},
                     {"Solo", "../org.acme.solo/Solo.html"},
                     {"Limits", "../org.acme.net/Limits.html"}}));
    // Without the imports, Limits and Helper are ambiguous.
    DocCppClass* other = s.addClass("Other", "org.acme.app", "Other.java", "package org.acme.app;\n");
    EXPECT_EQ(pagetest::linksIn(s.block(*other, "{@link Limits} {@link Helper} {@link Solo}")),
              (Links{{"Solo", "../org.acme.solo/Solo.html"}}));

    // A type in a declaration is found the same way.
    CppClassMember* limits = s.f.addMember(client, "limits", "Limits limits();", "public", "", true);
    s.f.list.prepareMemberEntries();
    EXPECT_EQ(pagetest::linksIn(limits->getDeclaration()),
              (Links{{"Limits", "../org.acme.net/Limits.html"}}));
}

// C#: the namespaces of using directives and those around the class's own
// are in view; a cref keeps its type arguments.
TEST(CodeLinks, CSharpNamesResolveThroughUsingDirectives) {
    SourceFixture s;
    for (const char* ns : {"Acme.Pricing", "Acme.Legacy"})
        s.addClass("Tariff", ns, "Tariff.cs", std::string("namespace ") + ns + ";\n", 1);
    for (const char* ns : {"Acme.Shop", "Acme.Other"})
        s.addClass("Basket", ns, "Basket.cs", std::string("namespace ") + ns + ";\n", 1);
    s.addClass("Cache", "Acme.Shop", "Cache.cs", "namespace Acme.Shop;\n", 1);
    DocCppClass* cart = s.addClass(
        "Cart", "Acme.Shop.Web", "Cart.cs",
        "using System;\nusing Acme.Pricing;\nusing Legacy = Acme.Legacy;\n\n"
        "namespace Acme.Shop.Web\n{\n    public class Cart {}\n}\n", 1);
    s.f.addMember(cart, "Total", "public long Total;");
    const std::string html = s.block(
        *cart, "<summary>Prices by <see cref=\"Tariff\"/> into a <see cref=\"Basket\"/>, kept in a "
               "<see cref=\"Cache{TKey}\"/>, summed in <see cref=\"Total\"/>, not in "
               "<see cref=\"Sum\"/> nor a <see cref=\"Pair&lt;TKey, TValue&gt;\"/>.</summary>");
    EXPECT_EQ(pagetest::shownText(html),
              "Prices by Tariff into a Basket, kept in a Cache<TKey>, summed in Total, not in Sum "
              "nor a Pair<TKey, TValue>.");
    const Links links = pagetest::linksIn(html);
    ASSERT_EQ(links.size(), 4u) << html;
    EXPECT_EQ(links[3], (std::pair<std::string, std::string>{"Total", "../Acme.Shop.Web/Cart.html#Total"}));
    EXPECT_EQ(links[0], (std::pair<std::string, std::string>{"Tariff", "../Acme.Pricing/Tariff.html"}));
    EXPECT_EQ(links[1], (std::pair<std::string, std::string>{"Basket", "../Acme.Shop/Basket.html"}));
    EXPECT_EQ(links[2], (std::pair<std::string, std::string>{"Cache<TKey>", "../Acme.Shop/Cache.html"}));
}

// A parameter's name is shown as written: a type parameter's brackets as
// text, a character reference as the character, a lone "&" as itself.
TEST(BlockTags, ParameterNamesAreShownAsWritten) {
    SourceFixture s;
    DocCppClass* raster = s.addClass("Raster", "org.acme.image", "Raster.java",
                                     "package org.acme.image;\npublic class Raster<P> {}\n", 2);
    const std::string html = s.block(*raster,
                                     "Copies a block of pixels.\n"
                                     "@param x,&nbsp;y the upper-left corner\n"
                                     "@param w&amp;h the size\n"
                                     "@param a&b both at once\n"
                                     "@param <P> the pixel type\n");
    EXPECT_EQ(pagetest::shownText(html),
              "Copies a block of pixels.\nParameters:\nx, y - the upper-left corner\n"
              "w&h - the size\na&b - both at once\n<P> - the pixel type")
        << html;
}

// Outside C#, braces in a reference are the author's text (a documentation
// macro of the library's own, a set written out), shown as written.
TEST(CodeLinks, BracesOutsideCSharpAreShownAsWritten) {
    SourceFixture s;
    DocCppClass* pool = s.addClass("Pool", "net", "pool.h", "class Pool {};\n", 0);
    DocCppClass* queue = s.addClass("Queue", "org.acme.net", "Queue.java",
                                    "package org.acme.net;\npublic class Queue {}\n", 2);
    const std::string see = "@see @DocSection{threads.pools, Thread Pools}\n";
    for (DocCppClass* cls : {pool, queue}) {
        const std::string html = s.block(*cls, "Runs the tasks.\n" + see);
        EXPECT_EQ(pagetest::shownText(html), "Runs the tasks.\nSee Also:\n@DocSection{threads.pools, Thread Pools}")
            << html;
    }
}

}  // namespace
