// Documentation comments as the class pages show them: each on its own
// declaration, with the author's text whole. The program runs as a child
// over sources written as authors write them today.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "e2e/ChildProcess.h"
#include "e2e/ProgramFixture.h"
#include "e2e/SiteCheck.h"

namespace fs = std::filesystem;

namespace {

using e2e::writeText;

// Generous for the sanitizer build; a hang still runs into it by far.
constexpr int kTimeLimit = 120;

class CommentPages : public e2e::ProgramFixture {
protected:
    CommentPages() : ProgramFixture("comment-pages") {}

    // Documents the inputs (list entries) with "///" comments read, and
    // returns the shown text of the class page `page` (under out/projects).
    std::string document(const std::vector<std::string>& inputs, const std::string& page) {
        const auto result = documentIntoOut(inputs, kTimeLimit);
        const fs::path file = work() / "out/projects" / page;
        EXPECT_TRUE(fs::is_regular_file(file)) << file << "\n" << result.describe();
        return fs::is_regular_file(file) ? e2e::shownText(e2e::readFile(file)) : std::string();
    }

    // The `count` lines a browser shows under the detail entry of
    // `declaration` (its last line that reads so) on page (under
    // out/projects), joined by line feeds.
    std::string detail(const std::string& page, const std::string& declaration, std::size_t count = 1) const {
        const fs::path file = work() / "out/projects" / page;
        if (!fs::is_regular_file(file)) return "(no page " + page + ")";
        const std::vector<std::string> lines = e2e::pageTextLines(e2e::readFile(file));
        const auto at = std::find(lines.rbegin(), lines.rend(), declaration);
        if (at == lines.rend()) return "(no entry " + declaration + ")";
        std::string shown;
        for (auto line = at.base(); line != lines.end() && count > 0; ++line, --count)
            shown += (shown.empty() ? "" : "\n") + *line;
        return shown;
    }
};

TEST_F(CommentPages, EachMemberShowsTheCommentWrittenAfterIt) {
    writeText(work() / "src/grid.h",
              "/** A grid of cells. */\n"
              "struct Grid {\n"
              "    int width;   ///< Columns the grid spans.\n"
              "    int height;  ///< Rows the grid spans.\n"
              "    /** Cells in all. */\n"
              "    int cells() const;\n"
              "    double zoom; /**< Zoom factor, 1 for none. */\n"
              "    /**\n"
              "     * Scales every cell.\n"
              "       The result is v * factor, rounded.\n"
              "     * Gives back a char*\n"
              "     */\n"
              "    char* scaled(double factor);\n"
              "    /** Gives back a wchar_t* */\n"
              "    wchar_t* wide();\n"
              "};\n"
              "\n"
              "enum Color {\n"
              "    Red,    ///< Warm.\n"
              "    Green,  ///< Calm.\n"
              "    Blue    ///< Cold.\n"
              "};\n");
    const std::string grid = document({"src"}, "src/Grid.html");
    for (const char* shown : {"public int width; Columns the grid spans.",
                              "public int height; Rows the grid spans.",
                              "public int cells() const; Cells in all.",
                              "public double zoom; Zoom factor, 1 for none.",
                              "public char* scaled(double factor); Scales every cell. "
                              "The result is v * factor, rounded. Gives back a char*",
                              "public wchar_t* wide(); Gives back a wchar_t*"})
        EXPECT_NE(grid.find(shown), std::string::npos) << shown << "\n" << grid;
    const std::string color = e2e::shownText(e2e::readFile(work() / "out/projects/src/Color.html"));
    for (const char* shown : {"Red; Warm.", "Green; Calm.", "Blue; Cold."})
        EXPECT_NE(color.find(shown), std::string::npos) << shown << "\n" << color;
}

// Inside a type without a name of its own (named by a typedef, by the
// variable it declares, or whose members are the class's), each comment
// marked with "<" documents the member on its line, the last one too; a
// declaration of several names documents each.
TEST_F(CommentPages, EachMemberOfATypeWithoutANameShowsTheCommentWrittenAfterIt) {
    writeText(work() / "src/input.h",
              "/** A rectangle of the screen. */\n"
              "typedef struct {\n"
              "    int left;    ///< First column inside.\n"
              "    int right;   ///< First column outside.\n"
              "    unsigned dirty : 1;  /**< Needs a redraw. */\n"
              "} screen_rect;\n"
              "\n"
              "/** A reading of the sensor. */\n"
              "typedef union {\n"
              "    long raw;       ///< As the sensor sent it.\n"
              "    double scaled;  ///< In volts.\n"
              "} sensor_value;\n"
              "\n"
              "/** How a device opens. */\n"
              "typedef enum {\n"
              "    DEVICE_READ,   ///< For reading.\n"
              "    DEVICE_WRITE   ///< For writing as well.\n"
              "} device_mode;\n"
              "\n"
              "/** What the window was told. */\n"
              "class WindowEvent {\n"
              "public:\n"
              "    struct {\n"
              "        int width;   ///< Columns now.\n"
              "        int height;  ///< Rows now.\n"
              "    } size;          ///< The new size.\n"
              "    union {\n"
              "        MoveEvent move;      ///< Set when it moved.\n"
              "        ScrollEvent scroll;  ///< Set when it scrolled.\n"
              "    };\n"
              "    int x, y;  ///< Where the pointer was.\n"
              "    long stamp;  ///< Milliseconds since the start.\n"
              "};\n");
    const auto result = documentIntoOut({"src"}, kTimeLimit);
    const std::vector<std::pair<std::string, std::string>> rect{
        {"public int left;", "First column inside."},
        {"public int right;", "First column outside."},
        {"public unsigned dirty : 1;", "Needs a redraw."}};
    for (const auto& [declaration, comment] : rect)
        EXPECT_EQ(detail("src/screen_rect.html", declaration), comment) << result.describe();
    EXPECT_EQ(detail("src/sensor_value.html", "public long raw;"), "As the sensor sent it.");
    EXPECT_EQ(detail("src/sensor_value.html", "public double scaled;"), "In volts.");
    EXPECT_EQ(detail("src/device_mode.html", "public DEVICE_READ;"), "For reading.");
    EXPECT_EQ(detail("src/device_mode.html", "public DEVICE_WRITE;"), "For writing as well.");
    EXPECT_EQ(detail("src/WindowEvent..anonymous_struct_1.html", "public int width;"), "Columns now.");
    EXPECT_EQ(detail("src/WindowEvent..anonymous_struct_1.html", "public int height;"), "Rows now.");
    const std::vector<std::pair<std::string, std::string>> event{
        {"public WindowEvent::anonymous_struct_1 size;", "The new size."},
        {"public MoveEvent move;", "Set when it moved."},
        {"public ScrollEvent scroll;", "Set when it scrolled."},
        {"public int x;", "Where the pointer was."},
        {"public int y;", "Where the pointer was."},
        {"public long stamp;", "Milliseconds since the start."}};
    for (const auto& [declaration, comment] : event)
        EXPECT_EQ(detail("src/WindowEvent.html", declaration), comment);

    // Types without a name documented as types of their own.
    fs::remove_all(work() / "out");
    documentIntoOut({"-include-anonymous", "src"}, kTimeLimit);
    EXPECT_EQ(detail("src/WindowEvent..anonymous_union_1.html", "public MoveEvent move;"), "Set when it moved.");
    EXPECT_EQ(detail("src/WindowEvent..anonymous_union_1.html", "public ScrollEvent scroll;"),
              "Set when it scrolled.");
    EXPECT_EQ(detail("src/screen_rect.html", "public int right;"), "First column outside.");
    EXPECT_EQ(detail("src/device_mode.html", "public DEVICE_WRITE;"), "For writing as well.");
}

// A declaration with a comment above it and one marked after it shows
// both, the one above first, whatever it declares and in every language.
TEST_F(CommentPages, ACommentAboveAndOneAfterADeclarationAreBothShown) {
    writeText(work() / "src/limits.h",
              "/** Largest batch. */\n"
              "#define BATCH_MAX 64  ///< Counted in items.\n"
              "namespace store {\n"
              "/** Items held. */ extern int held;  ///< Across all shelves.\n"
              "/** Shelf number. */ typedef int shelf_t;  ///< Counted from 0.\n"
              "/** A slot. */\n"
              "typedef struct {\n"
              "    /** Its shelf. */ shelf_t shelf;  ///< Never negative.\n"
              "    /** Its place. */ int place;  ///< From the left.\n"
              "} slot;\n"
              "/** Shelves of a store. */\n"
              "class Rack {\n"
              "public:\n"
              "    /** Slots in use. */ int used;  ///< At most BATCH_MAX.\n"
              "    /** Puts an item. */ void put(int item);  ///< Fails when full.\n"
              "    /** The kind of rack. */\n"
              "    enum Kind {\n"
              "        /** Plain. */ FLAT,  ///< No doors.\n"
              "        /** Locked. */ CAGE  ///< With a key.\n"
              "    };\n"
              "};\n"
              "}\n");
    writeText(work() / "cs/Rack.cs",
              "namespace Shop {\n"
              "public class Rack {\n"
              "    /// <summary>The rack's name.</summary>\n"
              "    public string Name { get; set; }  ///< Shown on its label.\n"
              "    /// <summary>Raised when full.</summary>\n"
              "    public event System.EventHandler Full;  ///< Once per filling.\n"
              "}\n"
              "}\n");
    writeText(work() / "java/shop/Rack.java",
              "package shop;\n"
              "public class Rack {\n"
              "    /** Shelves held. */ protected int shelves;  /**< Fixed when built. */\n"
              "}\n");
    documentIntoOut({"-document-preprocessor", "src", "cs=Shop", "java=shop"}, kTimeLimit);
    EXPECT_EQ(detail("src/(src__globals).html", "#define BATCH_MAX 64"), "Largest batch. Counted in items.");
    EXPECT_EQ(detail("src/store.html", "public extern int held;"), "Items held. Across all shelves.");
    const std::string shelf = e2e::shownText(e2e::readFile(work() / "out/projects/src/store..shelf_t.html"));
    EXPECT_NE(shelf.find("Shelf number. Counted from 0."), std::string::npos) << shelf;
    EXPECT_EQ(detail("src/store..slot.html", "public shelf_t shelf;"), "Its shelf. Never negative.");
    EXPECT_EQ(detail("src/store..slot.html", "public int place;"), "Its place. From the left.");
    EXPECT_EQ(detail("src/store..Rack.html", "public int used;"), "Slots in use. At most BATCH_MAX.");
    EXPECT_EQ(detail("src/store..Rack.html", "public void put(int item);"), "Puts an item. Fails when full.");
    EXPECT_EQ(detail("src/store..Rack..Kind.html", "public FLAT;"), "Plain. No doors.");
    EXPECT_EQ(detail("src/store..Rack..Kind.html", "public CAGE;"), "Locked. With a key.");
    // The text after the summary is shown after it.
    EXPECT_EQ(detail("Shop/Rack.html", "public string Name { get; set; }", 2), "The rack's name.\nShown on its label.");
    EXPECT_EQ(detail("Shop/Rack.html", "public event System.EventHandler Full;", 2),
              "Raised when full.\nOnce per filling.");
    EXPECT_EQ(detail("shop/Rack.html", "protected int shelves;"), "Shelves held. Fixed when built.");
}

// A record's compact constructor is its canonical constructor, written
// without the parameters: its comment documents the constructor that takes
// the record's components, in records nested, generic or not public too.
// That constructor is as accessible as the record, unless written wider.
TEST_F(CommentPages, ARecordsCompactConstructorDocumentsTheCanonicalConstructor) {
    writeText(work() / "java/geo/Span.java",
              "package geo;\n"
              "\n"
              "import java.util.Objects;\n"
              "\n"
              "/** A closed range of positions. */\n"
              "public record Span(int start, int end) implements Comparable<Span> {\n"
              "    /** Rejects a start past the end. */\n"
              "    public Span {\n"
              "        if (start > end) throw new IllegalArgumentException(\"start > end\");\n"
              "    }\n"
              "\n"
              "    /** An empty span at a position. */\n"
              "    public Span(int at) { this(at, at); }\n"
              "\n"
              "    public int compareTo(Span other) { return Integer.compare(start, other.start); }\n"
              "\n"
              "    /** A span with a name. */\n"
              "    public record Named<T>(String name, T value) {\n"
              "        /** Needs a name. */\n"
              "        @SuppressWarnings(\"unused\")\n"
              "        public Named {\n"
              "            Objects.requireNonNull(name);\n"
              "        }\n"
              "    }\n"
              "}\n");
    writeText(work() / "java/geo/Pair.java",
              "package geo;\n"
              "\n"
              "/** Two spans. */\n"
              "record Pair(Span first, Span second) {\n"
              "    /** Orders the two. */\n"
              "    Pair {\n"
              "        if (first.compareTo(second) > 0) { Span t = first; first = second; second = t; }\n"
              "    }\n"
              "}\n");
    writeText(work() / "java/geo/Mark.java",
              "package geo;\n"
              "\n"
              "/** A marked position. */\n"
              "record Mark(int at) {\n"
              "    /** Opens the constructor to all. */\n"
              "    public Mark {}\n"
              "}\n");
    documentIntoOut({"java=geo"}, kTimeLimit);
    EXPECT_EQ(detail("geo/Span.html", "public Span(int start, int end);"), "Rejects a start past the end.");
    EXPECT_EQ(detail("geo/Span.html", "public Span(int at);"), "An empty span at a position.");
    EXPECT_EQ(detail("geo/Span.Named.html", "public Named(String name, T value);"), "Needs a name.");
    EXPECT_EQ(detail("geo/Pair.html", "Pair(Span first, Span second);"), "Orders the two.");
    EXPECT_EQ(detail("geo/Mark.html", "public Mark(int at);"), "Opens the constructor to all.");
}

TEST_F(CommentPages, ABlankTripleSlashLineKeepsTheSummary) {
    writeText(work() / "cs/Store.cs",
              "namespace Shop {\n"
              "/// <summary>A store of items.</summary>\n"
              "///\n"
              "/// <remarks>Safe to share between threads.</remarks>\n"
              "public class Store {\n"
              "    /// <summary>Adds an item to the store.</summary>\n"
              "    ///\n"
              "    /// <param name=\"name\">The item's name.</param>\n"
              "    /// <returns>The new count.</returns>\n"
              "    public int Add(string name) { return 0; }\n"
              "}\n"
              "}\n");
    const std::string store = document({"cs=Shop"}, "Shop/Store.html");
    const std::size_t detail = store.find("public int Add(string name);");
    ASSERT_NE(detail, std::string::npos) << store;
    const std::string add = store.substr(detail);
    for (const char* shown : {"Adds an item to the store.", "The item's name.", "The new count."})
        EXPECT_NE(add.find(shown), std::string::npos) << shown << "\n" << add;
    for (const char* shown : {"A store of items.", "Safe to share between threads."})
        EXPECT_NE(store.find(shown), std::string::npos) << shown << "\n" << store;
}

// "@deprecated" with nothing after it still marks the member: its entry
// and the deprecated list say so, as they do for one that names a way out.
TEST_F(CommentPages, AMemberDeprecatedWithoutANoteIsShownDeprecated) {
    writeText(work() / "java/org/acme/time/Clock.java",
              "package org.acme.time;\n"
              "\n"
              "/** A clock that tests can set. */\n"
              "public class Clock {\n"
              "    /**\n"
              "     * The instant that replaces the current time.\n"
              "     *\n"
              "     * @deprecated\n"
              "     */\n"
              "    @Deprecated\n"
              "    protected volatile long fixedInstant;\n"
              "\n"
              "    /**\n"
              "     * Fixes the time for later calls.\n"
              "     *\n"
              "     * @param instant milliseconds since the epoch\n"
              "     * @deprecated\n"
              "     */\n"
              "    @Deprecated(since = \"3\")\n"
              "    public void fixAt(long instant) { fixedInstant = instant; }\n"
              "\n"
              "    /**\n"
              "     * Lets the time run again.\n"
              "     * @deprecated use a clock of its own per test\n"
              "     */\n"
              "    @Deprecated\n"
              "    public void release() { }\n"
              "\n"
              "    /** The current time in milliseconds. */\n"
              "    public long now() { return fixedInstant; }\n"
              "}\n");
    const std::string clock = document({"java=org.acme.time"}, "org.acme.time/Clock.html");
    for (const char* shown :
         {"protected volatile long fixedInstant; Deprecated. The instant that replaces the current time.",
          "public void fixAt(long instant); Deprecated. Fixes the time for later calls. "
          "Parameters: instant - milliseconds since the epoch",
          "public void release(); Deprecated. use a clock of its own per test Lets the time run again."})
        EXPECT_NE(clock.find(shown), std::string::npos) << shown << "\n" << clock;
    EXPECT_NE(clock.find("public long now(); The current time in milliseconds."), std::string::npos) << clock;
    EXPECT_EQ(clock.find("Deprecated. The current time"), std::string::npos) << clock;

    const std::string list = e2e::shownText(e2e::readFile(work() / "out/index-deprecated-list.html"));
    for (const char* listed : {"fixedInstant", "fixAt(long instant)", "release()"})
        EXPECT_NE(list.find(listed), std::string::npos) << listed << "\n" << list;
    EXPECT_EQ(list.find("now()"), std::string::npos) << list;
}

// A run that leaves "///" comments unread on declarations (before them, or
// trailing "///<") says so once after parsing, with how many files and the
// option that reads them; on eight threads as on one. A banner of slashes,
// a plain trailing comment and a comment in a group left out are no such
// comment.
TEST_F(CommentPages, TripleSlashCommentsLeftUnreadAreToldOnce) {
    writeText(work() / "src/Store.cs",
              "namespace Shop {\n"
              "    /// <summary>A store of items.</summary>\n"
              "    [Serializable]\n"
              "    public class Store { public int Count; }\n"
              "}\n");
    writeText(work() / "src/geometry/point.h",
              "/// A point on the plane.\n"
              "struct Point {\n"
              "    /// Across.\n"
              "    int x;\n"
              "};\n");
    writeText(work() / "src/geometry/size.h",
              "struct Size {\n"
              "    int w; ///< Width in pixels.\n"
              "    int h; ///< Height in pixels.\n"
              "};\n");
    writeText(work() / "src/banner.h",
              "////////////////////////////////\n"
              "// Helpers\n"
              "////////////////////////////////\n"
              "int helper(); /// trailing\n"
              "#if 0\n"
              "/// Left out.\n"
              "int gone();\n"
              "#endif\n");
    const std::string told =
        "3 files hold \"///\" comments on declarations that were not read as documentation; "
        "-accept3slash reads them.";
    std::string first;
    for (const char* threads : {"1", "8"}) {
        SCOPED_TRACE(threads);
        env_["VANTRY_THREADS"] = threads;
        const auto result = runInWork({"-autorun", "-autoquit", "-overwrite", "-module=vantry-standard",
                                       "-moduledir=" + moduleDir_.string(), "src", "out/index.html"},
                                      kTimeLimit);
        EXPECT_EQ(result.exitCode, 0) << result.describe();
        const std::size_t at = result.err.find("vantry: warning: " + told + "\n");
        EXPECT_NE(at, std::string::npos) << result.describe();
        EXPECT_EQ(result.err.find(told, at + told.size()), std::string::npos) << result.describe();
        if (first.empty()) first = result.err;
        else EXPECT_EQ(result.err, first);
    }
    // Read with the option, nothing is left to tell.
    const auto read = documentIntoOut({"src"}, kTimeLimit);
    EXPECT_FALSE(e2e::contains(read.err, "///")) << read.describe();
    EXPECT_TRUE(e2e::contains(e2e::shownText(e2e::readFile(work() / "out/projects/Shop/Store.html")),
                              "A store of items."));
    EXPECT_TRUE(e2e::contains(e2e::shownText(e2e::readFile(work() / "out/projects/geometry/Size.html")),
                              "int w Width in pixels."));
}

}  // namespace
