// Members that the class pages list as their sources declare them: named
// with words that only other languages reserve, a C# static constructor
// beside the instance one, and C++ functions declared in a header of one
// folder and defined in a source of another. The program runs as a build
// script runs it; the tests read the pages as a browser shows them.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/ChildProcess.h"
#include "e2e/ProgramFixture.h"
#include "e2e/SiteCheck.h"

namespace fs = std::filesystem;

namespace {

using e2e::commentsUnder;
using e2e::shownLines;
using e2e::writeText;
using Lines = std::vector<std::string>;

constexpr int kTimeLimit = 120;

class MembersKept : public e2e::ProgramFixture {
protected:
    MembersKept() : ProgramFixture("members-kept") {}

    // Documents the inputs (list entries under work()) into out/index.html.
    void document(const std::vector<std::string>& inputs) {
        fs::remove_all(work() / "out");
        documentIntoOut(inputs, kTimeLimit);
    }

    // The lines a browser shows of a page under out/projects; none when
    // there is no such page.
    Lines page(const std::string& path) const {
        const fs::path file = work() / "out/projects" / path;
        return fs::is_regular_file(file) ? shownLines(e2e::readFile(file)) : Lines{};
    }

    // The lines of a page's section: from the heading to the next heading
    // of a summary or detail table.
    static Lines section(const Lines& lines, const std::string& heading) {
        auto begin = std::find(lines.begin(), lines.end(), heading);
        if (begin == lines.end()) return {};
        auto end = std::find_if(begin + 1, lines.end(), [](const std::string& line) {
            return line.ends_with(" Summary") || line.ends_with(" Detail");
        });
        return Lines(begin + 1, end);
    }

    static bool holds(const Lines& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    static std::size_t count(const Lines& lines, const std::string& line) {
        return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
    }

    // Every link of the site resolves.
    void expectLinksResolve() const {
        const auto faults = e2e::checkLinks(work() / "out");
        EXPECT_TRUE(faults.empty()) << e2e::describe(faults);
    }
};

// Words that C++ reserves name Java and C# members, and Java's and C#'s
// words C++ members; each language's own keywords are the only ones that
// cannot be names in its files. A C# name may be written after "@".
TEST_F(MembersKept, MembersMayBeNamedWithWordsOtherLanguagesReserve) {
    writeText(work() / "src/java/org/ink/Nib.java",
              "package org.ink;\n\n/** A pen's nib. */\npublic class Nib {\n"
              "    /** The XML namespace of the nib's style. */\n    public String namespace;\n"
              "    /** The nib's kind, as its maker names it. */\n    protected int typename;\n"
              "    /** Ink left, in drops. */\n    public long unsigned;\n"
              "    /** How many bytes the nib takes. */\n    public int sizeof() { return 8; }\n"
              "    /** Whether it writes without blotting. */\n"
              "    public boolean noexcept(Object template) { return template != null; }\n"
              "    /** Takes the nib off. */\n    public void delete() { }\n"
              "    /** The last thing it wrote. */\n    public String after;\n}\n");
    writeText(work() / "src/cs/Palette.cs",
              "namespace Ink\n{\n    /// <summary>Colours at hand.</summary>\n    public class Palette\n    {\n"
              "        /// <summary>The class of colour.</summary>\n        public int @class;\n"
              "        /// <summary>Where the names come from.</summary>\n"
              "        public string @namespace { get; set; }\n"
              "        /// <summary>A colour's type name.</summary>\n        public string typename;\n"
              "        /// <summary>The colour a friend chose.</summary>\n"
              "        public int decltype(int friend) { return friend; }\n"
              "        /// <summary>Mixing is over.</summary>\n        public void @event() { }\n"
              "        /// <summary>The last colour used.</summary>\n        public int after;\n    }\n}\n");
    writeText(work() / "src/cpp/stroke.h",
              "/** One stroke of the pen. */\nstruct Stroke {\n"
              "    /** Whether it is the last stroke. */\n    bool final;\n"
              "    /** The device it came from. */\n    int interface;\n"
              "    /** Where it synchronized. */\n    int synchronized;\n};\n");
    ASSERT_NO_FATAL_FAILURE(document({"src/java=org.ink", "src/cs=Ink", "src/cpp=ink"}));

    const Lines nib = page("org.ink/Nib.html");
    EXPECT_EQ(commentsUnder(nib, "public String namespace;"), Lines{"The XML namespace of the nib's style."});
    EXPECT_EQ(commentsUnder(nib, "protected int typename;"), Lines{"The nib's kind, as its maker names it."});
    EXPECT_EQ(commentsUnder(nib, "public long unsigned;"), Lines{"Ink left, in drops."});
    EXPECT_EQ(commentsUnder(nib, "public int sizeof();"), Lines{"How many bytes the nib takes."});
    EXPECT_EQ(commentsUnder(nib, "public boolean noexcept(Object template);"),
              Lines{"Whether it writes without blotting."});
    EXPECT_EQ(commentsUnder(nib, "public void delete();"), Lines{"Takes the nib off."});
    EXPECT_EQ(commentsUnder(nib, "public String after;"), Lines{"The last thing it wrote."});
    // The methods are methods, the fields fields.
    const Lines nibMethods = section(nib, "Method Summary");
    for (const char* method : {"sizeof()", "noexcept(Object template)", "delete()"})
        EXPECT_TRUE(holds(nibMethods, method)) << method;
    const Lines nibFields = section(nib, "Field Summary");
    for (const char* field : {"namespace", "typename", "unsigned", "after"})
        EXPECT_TRUE(holds(nibFields, field)) << field;

    const Lines palette = page("Ink/Palette.html");
    EXPECT_EQ(commentsUnder(palette, "public int @class;"), Lines{"The class of colour."});
    EXPECT_EQ(commentsUnder(palette, "public string @namespace { get; set; }"),
              Lines{"Where the names come from."});
    EXPECT_EQ(commentsUnder(palette, "public string typename;"), Lines{"A colour's type name."});
    EXPECT_EQ(commentsUnder(palette, "public int decltype(int friend);"), Lines{"The colour a friend chose."});
    EXPECT_EQ(commentsUnder(palette, "public void @event();"), Lines{"Mixing is over."});
    EXPECT_EQ(commentsUnder(palette, "public int after;"), Lines{"The last colour used."});
    EXPECT_TRUE(holds(section(palette, "Method Summary"), "decltype(int friend)"));

    const Lines stroke = page("ink/Stroke.html");
    EXPECT_EQ(commentsUnder(stroke, "public bool final;"), Lines{"Whether it is the last stroke."});
    EXPECT_EQ(commentsUnder(stroke, "public int interface;"), Lines{"The device it came from."});
    EXPECT_EQ(commentsUnder(stroke, "public int synchronized;"), Lines{"Where it synchronized."});
}

// A C# static constructor sets the type up once; the parameterless
// instance constructor makes each object: two members, each with its own
// text, in classes, nested classes, structs and records alike. A Java
// static initialiser is no member.
TEST_F(MembersKept, AStaticConstructorIsAMemberBesideTheInstanceConstructor) {
    writeText(work() / "src/cs/Cache.cs",
              "namespace Store\n{\n    /// <summary>Keeps recent answers.</summary>\n    public class Cache\n    {\n"
              "        /// <summary>Reads the limits once.</summary>\n        static Cache() { }\n"
              "        /// <summary>Makes an empty cache.</summary>\n        public Cache() { }\n"
              "        /// <summary>One entry.</summary>\n        public class Entry\n        {\n"
              "            static Entry() { }\n"
              "            /// <summary>Makes an empty entry.</summary>\n            public Entry() { }\n"
              "        }\n    }\n\n"
              "    /// <summary>A key.</summary>\n    public struct Key\n    {\n"
              "        /// <summary>Builds the hash table.</summary>\n        static Key() { }\n"
              "        /// <summary>The empty key.</summary>\n        public Key() { }\n    }\n\n"
              "    /// <summary>A hit.</summary>\n    public record Hit\n    {\n"
              "        /// <summary>Counts from zero.</summary>\n        static Hit() { }\n"
              "        /// <summary>A hit now.</summary>\n        public Hit() { }\n    }\n}\n");
    writeText(work() / "src/java/store/Ledger.java",
              "package store;\n\n/** Books kept. */\npublic class Ledger {\n"
              "    static { System.loadLibrary(\"ledger\"); }\n"
              "    /** Opens the ledger. */\n    public Ledger() { }\n}\n");
    ASSERT_NO_FATAL_FAILURE(document({"src/cs=Store", "src/java=store"}));

    struct Case {
        std::string page, name, staticComment, comment;
    };
    for (const Case& c : {Case{"Cache", "Cache", "Reads the limits once.", "Makes an empty cache."},
                          Case{"Cache.Entry", "Entry", "", "Makes an empty entry."},
                          Case{"Key", "Key", "Builds the hash table.", "The empty key."},
                          Case{"Hit", "Hit", "Counts from zero.", "A hit now."}}) {
        const Lines lines = page("Store/" + c.page + ".html");
        const Lines constructors = section(lines, "Constructor Summary");
        EXPECT_TRUE(holds(constructors, "static " + c.name + "()")) << c.page;
        EXPECT_TRUE(holds(constructors, c.name + "()")) << c.page;
        EXPECT_EQ(commentsUnder(lines, "public " + c.name + "();"), Lines{c.comment}) << c.page;
        if (c.staticComment.empty()) {
            EXPECT_TRUE(holds(lines, "static " + c.name + "();")) << c.page;
        } else {
            EXPECT_EQ(commentsUnder(lines, "static " + c.name + "();"), Lines{c.staticComment}) << c.page;
        }
    }
    const Lines ledger = page("store/Ledger.html");
    EXPECT_EQ(section(ledger, "Constructor Summary"), (Lines{"Ledger()", "Opens the ledger."}));
    expectLinksResolve();
}

// A library's header declares its namespace's functions, a source in
// another folder defines them in the namespace reopened: each is listed
// once, on the header's namespace page, with the header's text and
// comment; a source that only defines makes no namespace page of its
// own, one with a function of its own lists only that.
TEST_F(MembersKept, ANamespaceFunctionDefinedInASourceIsListedOnceWithItsDeclaration) {
    writeText(work() / "lib/include/gfx/canvas.h",
              "#pragma once\nnamespace gfx {\n/** The library's version number. */\nint version();\n"
              "/** Scales by a whole factor. */\nint scale(int factor);\n"
              "/** Scales by any factor. */\ndouble scale(double factor) noexcept;\n"
              "namespace detail {\n/** Rounds half away from zero. */\nlong roundHalf(double v);\n}\n}\n");
    writeText(work() / "lib/src/canvas.cpp",
              "#include \"gfx/canvas.h\"\n\nnamespace gfx {\n\nint version() { return 3; }\n\n"
              "/** How the source says it. */\ndouble scale(double f) noexcept { return f; }\n\n"
              "namespace detail {\nlong roundHalf(double v) { return v < 0 ? -1 : 1; }\n}\n\n}\n"
              "int gfx::scale(int f) { return f; }\n");
    const std::string headerPage = "include.gfx/gfx.html";
    for (const bool ownFunction : {false, true}) {
        if (ownFunction)
            writeText(work() / "lib/src/tools.cpp",
                      "namespace gfx {\n/** Only the tools have it. */\nint toolCount() { return 2; }\n"
                      "int version() { return 3; }\n}\n");
        ASSERT_NO_FATAL_FAILURE(document({"lib"}));
        const Lines header = page(headerPage);
        EXPECT_EQ(commentsUnder(header, "public int version();"), Lines{"The library's version number."});
        EXPECT_EQ(commentsUnder(header, "public int scale(int factor);"), Lines{"Scales by a whole factor."});
        EXPECT_EQ(commentsUnder(header, "public double scale(double factor) noexcept;"),
                  Lines{"Scales by any factor."});
        EXPECT_EQ(count(header, "version()"), 1u);
        EXPECT_EQ(commentsUnder(page("include.gfx/gfx..detail.html"), "public long roundHalf(double v);"),
                  Lines{"Rounds half away from zero."});
        // The header names the source that defines what it declares.
        EXPECT_TRUE(holds(header, "in canvas.h")) << ownFunction;
        EXPECT_TRUE(holds(header, "in canvas.cpp")) << ownFunction;

        const Lines source = page("src/gfx.html");
        EXPECT_TRUE(page("src/gfx..detail.html").empty());
        const Lines index = shownLines(e2e::readFile(work() / "out/index-all.html"));
        EXPECT_EQ(std::count_if(index.begin(), index.end(),
                                [](const std::string& line) { return line.starts_with("version()"); }),
                  1)
            << ownFunction;
        const Lines allClasses = shownLines(e2e::readFile(work() / "out/index-allclasses-frame.html"));
        if (ownFunction) {
            EXPECT_EQ(section(source, "Method Summary"), (Lines{"int", "toolCount()", "Only the tools have it."}));
            EXPECT_EQ(count(allClasses, "gfx"), 2u);
        } else {
            EXPECT_TRUE(source.empty());
            EXPECT_EQ(count(allClasses, "gfx"), 1u);
            EXPECT_EQ(count(allClasses, "gfx::detail"), 1u);
        }
        expectLinksResolve();
    }
}

// The usual source reopens its namespace only to define what the header
// declares: the members of its classes, nested ones and specialisations
// among them, and its variables. The namespace is documented once, from
// the header, with the header's declarations, and names the source.
TEST_F(MembersKept, ASourceDefiningOnlyWhatTheHeaderDeclaresMakesNoNamespacePage) {
    writeText(work() / "audio/include/mixer.h",
              "#pragma once\nnamespace audio {\n/** Mixes channels. */\nclass Mixer {\npublic:\n"
              "    /** Mixes one block. */\n    void mix();\n"
              "    /** A bus of the mixer. */\n    struct Bus {\n        /** Where it leads. */\n"
              "        int route() const;\n    };\n};\n"
              "/** A frame of any width. */\ntemplate <int Bits> struct Frame { /** Packs it. */ int pack(); };\n"
              "/** A frame of bytes. */\ntemplate <> struct Frame<8> { /** Packs a byte. */ int pack(); };\n"
              "/** Blocks mixed so far. */\nextern long mixed;\n}\n");
    writeText(work() / "audio/src/mixer.cpp",
              "#include \"mixer.h\"\n\nnamespace audio {\n\nlong mixed = 0;\n\nvoid Mixer::mix() {}\n\n"
              "int Mixer::Bus::route() const { return 0; }\n\nint Frame<8>::pack() { return 8; }\n\n}\n");
    ASSERT_NO_FATAL_FAILURE(document({"audio/include=api", "audio/src=impl"}));
    EXPECT_TRUE(page("impl/audio.html").empty());
    const Lines allClasses = shownLines(e2e::readFile(work() / "out/index-allclasses-frame.html"));
    EXPECT_EQ(count(allClasses, "audio"), 1u);
    const Lines index = shownLines(e2e::readFile(work() / "out/index-all.html"));
    EXPECT_EQ(std::count_if(index.begin(), index.end(),
                            [](const std::string& line) { return line.starts_with("mixed"); }),
              1);
    const Lines space = page("api/audio.html");
    EXPECT_TRUE(holds(space, "in mixer.cpp"));
    EXPECT_EQ(commentsUnder(space, "public extern long mixed;"), Lines{"Blocks mixed so far."});
    EXPECT_EQ(commentsUnder(page("api/audio..Mixer..Bus.html"), "public int route() const;"),
              Lines{"Where it leads."});
    EXPECT_EQ(commentsUnder(page("api/audio..Frame-8.html"), "public int pack();"), Lines{"Packs a byte."});
    expectLinksResolve();
}

// A class's header and the source that defines it in another folder,
// read in either order: the header's declarations stand (the source's
// "= default" does not replace "virtual"), the source gives only a comment
// the header lacks, and the class page names and links both files.
TEST_F(MembersKept, TheHeadersDeclarationStandsAndTheClassPageNamesTheSource) {
    writeText(work() / "ui/include/view.h",
              "#pragma once\nnamespace ui {\n/** A view on the screen. */\nclass View {\npublic:\n"
              "    /** Makes an empty view. */\n    View();\n    virtual ~View();\n"
              "    /** Whether it shows. */\n    bool visible() const noexcept;\n"
              "    /** Gives it a new size. */\n    void resize(int width, int height = 0);\n"
              "    View& operator=(const View&) = delete;\n"
              "    /** Shows a value. */\n    template <class T> void show(const T& value);\n};\n}\n");
    writeText(work() / "ui/src/view.cpp",
              "#include \"view.h\"\n\nui::View::View() = default;\n\n"
              "/** Takes the view off the screen. */\nui::View::~View() = default;\n\n"
              "/** Not the header's words. */\nbool ui::View::visible() const noexcept { return true; }\n\n"
              "void ui::View::resize(int w, int h) {}\n\n"
              "template <class T> void ui::View::show(const T& v) {}\n");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"public View();", "Makes an empty view."},
        {"public virtual ~View();", "Takes the view off the screen."},
        {"public bool visible() const noexcept;", "Whether it shows."},
        {"public void resize(int width, int height = 0);", "Gives it a new size."},
        {"public template<class T> void show(const T& value);", "Shows a value."},
    };
    for (const std::vector<std::string>& inputs :
         {std::vector<std::string>{"ui/include=api", "ui/src=impl"}, {"ui/src=impl", "ui/include=api"}}) {
        ASSERT_NO_FATAL_FAILURE(document(inputs));
        const Lines view = page("api/ui..View.html");
        for (const auto& [declaration, comment] : expected)
            EXPECT_EQ(commentsUnder(view, declaration), Lines{comment}) << inputs[0] << ": " << declaration;
        EXPECT_TRUE(holds(view, "public View& operator=(const View&) = delete;")) << inputs[0];
        for (const char* definition : {"public View() = default;", "public ~View() = default;",
                                       "public void resize(int w, int h);"})
            EXPECT_FALSE(holds(view, definition)) << inputs[0] << ": " << definition;
        EXPECT_TRUE(holds(view, "in view.h")) << inputs[0];
        EXPECT_TRUE(holds(view, "in view.cpp")) << inputs[0];
        // The link to the source leads to its listing.
        const Lines listing = page("api/view.cpp.html");
        EXPECT_TRUE(holds(listing, "ui::View::~View() = default;")) << inputs[0];
        EXPECT_TRUE(page("impl/ui..View.html").empty()) << inputs[0];
        expectLinksResolve();
    }
}

}  // namespace
