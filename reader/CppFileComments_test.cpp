// Which declaration a documentation comment documents: the one after it,
// or, for a comment marked with "<" after code on its line, the one before.
#include <gtest/gtest.h>

#include "reader/ParserTestSupport.h"

namespace {

// The comment of member `name` of class `cls` in package "proj".
std::string commentOf(const ParsedSource& p, const std::string& cls, const std::string& name,
                      const std::string& package = "proj") {
    const CppClassMember* m = ParsedSource::member(p.cls(package, cls), name);
    return m ? m->getComment() : "(no member " + name + ")";
}

// "///" lines read as documentation comments, as -accept3slash asks.
void acceptTripleSlash(ParsedSource& p) { p.format.setSecondary("///", "///", "///"); }

}  // namespace

TEST(CppFileComments, ACommentAfterAMemberOnItsLineDocumentsThatMember) {
    ParsedSource p;
    acceptTripleSlash(p);
    p.parse("grid.h", R"(/** A grid of cells. */
struct Grid {
    int width;   ///< Columns the grid spans.
    int height;  ///< Rows the grid spans.
    /** Cells in all. */
    int cells() const;
    double zoom; /**< Zoom factor, 1 for none. */
    bool dirty = false;
    void resize(int w, int h) { width = w; height = h; }  ///< Changes both sides.
    int area() const {
        return width * height;
    }  ///< Cells covered.
    int spare;
    int rows;    ///< Rows in use.
    /// Columns in use.
    int columns;
};

struct Point { int x, y; };  ///< A point on the grid.
)");
    EXPECT_EQ(p.cls("proj", "Grid")->getComment(), "A grid of cells.<BR>\n");
    EXPECT_EQ(commentOf(p, "Grid", "width"), "Columns the grid spans.<BR>\n");
    EXPECT_EQ(commentOf(p, "Grid", "height"), "Rows the grid spans.<BR>\n");
    EXPECT_EQ(commentOf(p, "Grid", "cells"), "Cells in all.<BR>\n");
    EXPECT_EQ(commentOf(p, "Grid", "zoom"), "Zoom factor, 1 for none.<BR>\n");
    EXPECT_EQ(commentOf(p, "Grid", "dirty"), "");
    EXPECT_EQ(commentOf(p, "Grid", "resize"), "Changes both sides.<BR>\n");
    EXPECT_EQ(commentOf(p, "Grid", "area"), "Cells covered.<BR>\n");
    EXPECT_EQ(commentOf(p, "Grid", "spare"), "");
    EXPECT_EQ(commentOf(p, "Grid", "rows"), "Rows in use.<BR>\n");
    EXPECT_EQ(commentOf(p, "Grid", "columns"), "Columns in use.<BR>\n");
    ASSERT_NE(p.cls("proj", "Point"), nullptr);
    EXPECT_EQ(p.cls("proj", "Point")->getComment(), "A point on the grid.<BR>\n");
    EXPECT_EQ(commentOf(p, "Point", "y"), "");
}

TEST(CppFileComments, EnumeratorsTakeTheCommentsWrittenAfterThem) {
    ParsedSource p;
    acceptTripleSlash(p);
    p.parse("color.h", R"(enum class Color {
    Red,    ///< Warm.
    Green,  ///< Calm.
    Blue    ///< Cold.
};
/** Levels of detail. */
enum Level { ///< Three of them.
    Low = 1, /**< The floor. */ Mid = 5, /**< Between. */
    /** The top. */
    High = 9
};
)");
    EXPECT_EQ(commentOf(p, "Color", "Red"), "Warm.<BR>\n");
    EXPECT_EQ(commentOf(p, "Color", "Green"), "Calm.<BR>\n");
    EXPECT_EQ(commentOf(p, "Color", "Blue"), "Cold.<BR>\n");
    EXPECT_EQ(p.cls("proj", "Level")->getComment(), "Levels of detail.<BR>\nThree of them.<BR>\n");
    EXPECT_EQ(commentOf(p, "Level", "Low"), "The floor.<BR>\n");
    EXPECT_EQ(commentOf(p, "Level", "Mid"), "Between.<BR>\n");
    EXPECT_EQ(commentOf(p, "Level", "High"), "The top.<BR>\n");
}

// A marked comment inside a declaration stays with it; it never reaches
// the declaration after it, and the comment written above is kept.
TEST(CppFileComments, AMarkedCommentInsideADeclarationStaysWithIt) {
    ParsedSource p;
    acceptTripleSlash(p);
    p.parse("copy.h", R"(/** Copies cells. */
void copy(int from,   ///< First cell.
          int count); ///< How many.
void clear();
)");
    CppClass* g = nullptr;
    for (const auto& [key, c] : p.classes.getClasses())
        if (key.second.find("globals)") != std::string::npos) g = c;
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(ParsedSource::member(g, "copy")->getComment(), "Copies cells.<BR>\nFirst cell.<BR>\nHow many.<BR>\n");
    EXPECT_EQ(ParsedSource::member(g, "clear")->getComment(), "");
}

// Without the "<" a comment after code documents what follows, as before;
// other comment styles mark theirs the same way.
TEST(CppFileComments, OnlyTheMarkTurnsACommentBackwards) {
    ParsedSource p;
    p.format.parse("/**;*;*/;//!;//!;//!");
    p.parse("pair.h", R"(struct Pair {
    int first; /** About second. */
    int second;
    int third; //!< About third.
    //! About fourth.
    int fourth;
};
)");
    EXPECT_EQ(commentOf(p, "Pair", "first"), "");
    EXPECT_EQ(commentOf(p, "Pair", "second"), "About second.<BR>\n");
    EXPECT_EQ(commentOf(p, "Pair", "third"), "About third.<BR>\n");
    EXPECT_EQ(commentOf(p, "Pair", "fourth"), "About fourth.<BR>\n");
}

TEST(CppFileComments, JavaAndCSharpFieldsTakeMarkedComments) {
    ParsedSource p;
    acceptTripleSlash(p);
    p.parse("Range.java", R"(package shapes;
public class Range {
    private int low;   /**< Lowest value. */
    /** Highest value. */
    private int high;
}
)");
    EXPECT_EQ(commentOf(p, "Range", "low", "shapes"), "Lowest value.<BR>\n");
    EXPECT_EQ(commentOf(p, "Range", "high", "shapes"), "Highest value.<BR>\n");
    p.parse("Bag.cs", R"(namespace Shop {
public class Bag {
    public int Count;    ///< Items held.
    public int Capacity; ///< Items it can hold.
}
}
)");
    EXPECT_EQ(commentOf(p, "Bag", "Count", "Shop"), "Items held.<BR>\n");
    EXPECT_EQ(commentOf(p, "Bag", "Capacity", "Shop"), "Items it can hold.<BR>\n");
}

// A blank "///" line is a blank line of the comment, not its end: the
// summary above it stays with the rest.
TEST(CppFileComments, ABlankTripleSlashLineKeepsTheCommentWhole) {
    ParsedSource p;
    acceptTripleSlash(p);
    p.parse("Store.cs", R"(namespace Shop {
/// <summary>A store of items.</summary>
///
/// <remarks>Thread-safe.</remarks>
public class Store {
    /// <summary>Adds an item.</summary>
    ///
    /// <param name="name">The item's name.</param>
    /// <returns>The new count.</returns>
    public int Add(string name) { return 0; }
}
}
)");
    ASSERT_NE(p.cls("Shop", "Store"), nullptr);
    EXPECT_EQ(p.cls("Shop", "Store")->getComment(),
              "<summary>A store of items.</summary><BR>\n<remarks>Thread-safe.</remarks><BR>\n");
    EXPECT_EQ(commentOf(p, "Store", "Add", "Shop"),
              "<summary>Adds an item.</summary><BR>\n<param name=\"name\">The item's name.</param><BR>\n"
              "<returns>The new count.</returns><BR>\n");
    p.parse("tree.h", R"(/// A tree of nodes.
///
/// Nodes are shared.
class Tree {};
)");
    EXPECT_EQ(p.cls("proj", "Tree")->getComment(), "A tree of nodes.<BR>\nNodes are shared.<BR>\n");
}

// A marked comment documents all that its declaration declared: each name
// of a declaration of several, each member that a union without a name
// gives the class around it. It never reaches the declaration after it.
TEST(CppFileComments, AMarkedCommentDocumentsAllItsDeclarationDeclared) {
    ParsedSource p;
    acceptTripleSlash(p);
    p.parse("vec.h", R"(struct Vec {
    float x, y, z;  ///< Components.
    union {
        struct { float u, v; };  ///< As texture coordinates.
        float uv[2];             ///< As an array.
    };  ///< Either form.
    int tag;
    /** Weight. */ float w, h;  ///< Unscaled.
};
)");
    for (const char* name : {"x", "y", "z"}) EXPECT_EQ(commentOf(p, "Vec", name), "Components.<BR>\n") << name;
    for (const char* name : {"u", "v"})
        EXPECT_EQ(commentOf(p, "Vec", name), "As texture coordinates.<BR>\nEither form.<BR>\n") << name;
    EXPECT_EQ(commentOf(p, "Vec", "uv"), "As an array.<BR>\nEither form.<BR>\n");
    EXPECT_EQ(commentOf(p, "Vec", "tag"), "");
    for (const char* name : {"w", "h"}) EXPECT_EQ(commentOf(p, "Vec", name), "Weight.<BR>\nUnscaled.<BR>\n") << name;
}
