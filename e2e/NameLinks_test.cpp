// A name in a comment, a declaration or a class head leads to the class it
// names as the language reads it: Java's imports by name before the file's
// own package, C#'s namespaces, aliases and using static directives, and a
// name written with its package or namespace as written. The program runs
// as a child over sources written as authors write them today; each link
// is followed from its page as a browser follows it.
#include <gtest/gtest.h>

#include "e2e/ProgramFixture.h"
#include "e2e/SiteCheck.h"

#include <algorithm>
#include <map>

namespace fs = std::filesystem;

namespace {

using e2e::writeText;

// Generous for the sanitizer build.
constexpr int kTimeLimit = 120;

class NameLinks : public e2e::ProgramFixture {
protected:
    NameLinks() : ProgramFixture("name-links") {}

    fs::path site() const { return work() / "out"; }

    // Documents the inputs into out/index.html; the site must be whole.
    void document(const std::vector<std::string>& inputs) {
        documentIntoOut(inputs, kTimeLimit);
        const auto report = e2e::checkSite(site(), e2e::AuthoredLinks({work()}, site()));
        EXPECT_TRUE(report.clean()) << e2e::describe(report);
    }

    // Where the links that show `text` on the class page lead (their files
    // and fragments), in page order.
    std::vector<std::string> targets(const std::string& page, const std::string& text) const {
        std::vector<std::string> found;
        for (const auto& link : e2e::followedLinks(site(), site() / "projects" / page))
            if (link.text == text) found.push_back(link.target);
        return found;
    }

    // The count lines that follow the class page's first line reading
    // `line`; fewer at the page's end, none without it.
    std::vector<std::string> linesAfter(const std::string& page, const std::string& line,
                                        std::size_t count) const {
        const auto lines = e2e::pageTextLines(e2e::readFile(site() / "projects" / page));
        auto at = std::find(lines.begin(), lines.end(), line);
        if (at == lines.end()) return {};
        ++at;
        return {at, at + static_cast<std::ptrdiff_t>(
                              std::min<std::size_t>(count, static_cast<std::size_t>(lines.end() - at)))};
    }

    // The lines of the class page that hold part.
    std::vector<std::string> linesWith(const std::string& page, const std::string& part) const {
        std::vector<std::string> found;
        for (const std::string& line : e2e::pageTextLines(e2e::readFile(site() / "projects" / page)))
            if (line.find(part) != std::string::npos) found.push_back(line);
        return found;
    }
};

// The file part of a link target.
std::string fileOf(const std::string& target) { return target.substr(0, target.find('#')); }

std::string classPage(const std::string& package, const std::string& name) {
    return "projects/" + package + "/" + name + ".html";
}

// Java: a class imported by its name hides the own package's class of that
// name, in comments and declarations alike; a name written with its
// package, or through the class that holds it, is the class written; a
// name that two packages imported whole both hold is left unlinked.
TEST_F(NameLinks, JavaNamesLeadWhereTheImportsAndQualifiersPoint) {
    writeText(work() / "src/org/garden/soil/Bed.java",
              "package org.garden.soil;\n\n/** A raised bed. */\npublic class Bed {\n"
              "    /** A row of the bed. */\n    public static class Row {}\n"
              "    /** Waters it. @param litres how much */\n    public void water(int litres) {}\n}\n");
    writeText(work() / "src/org/garden/soil/Rake.java",
              "package org.garden.soil;\n\n/** A soil rake. */\npublic class Rake {}\n");
    writeText(work() / "src/org/garden/tools/Rake.java",
              "package org.garden.tools;\n\n/** A lawn rake. */\npublic class Rake {\n"
              "    /** A row of tines. */\n    public static class Row {}\n}\n");
    writeText(work() / "src/org/garden/plan/Bed.java",
              "package org.garden.plan;\n\n/** A bed on the plan, which is never watered. */\n"
              "public class Bed {}\n");
    writeText(work() / "src/org/garden/plan/Layout.java",
              "package org.garden.plan;\n\n"
              "import java.util.List;\n"
              "import org.garden.soil.Bed;\n"
              "import org.garden.soil.Bed.*;\n"
              "import org.garden.soil.*;\n"
              "import org.garden.tools.*;\n\n"
              "/**\n * Waters each {@link Bed} with {@link Bed#water(int)}, row by\n"
              " * {@link Bed.Row}, as {@link org.garden.plan.Bed} shows; the\n"
              " * {@link Rake} is either.\n */\n"
              "public class Layout {\n"
              "    /** The bed. @param row a row @return it */\n"
              "    public Bed bed(Bed.Row row) { return null; }\n"
              "    /** The first row. @return it */\n"
              "    public Row firstRow() { return null; }\n"
              "    /** The planned one. @return it */\n"
              "    public org.garden.plan.Bed planned() { return null; }\n"
              "    /** All planned. @return them */\n"
              "    public List<org.garden.plan.Bed> plans() { return null; }\n"
              "    /** The lawn's. @return it */\n"
              "    public org.garden.tools.Rake lawnRake() { return null; }\n"
              "    /** The soil's. @return it */\n"
              "    public org.garden.soil.Rake soilRake() { return null; }\n"
              "}\n");
    document({"src"});

    const std::string page = "org.garden.plan/Layout.html";
    const std::string soil = classPage("org.garden.soil", "Bed");
    const std::string plan = classPage("org.garden.plan", "Bed");
    // A class of the page's own package shows without its package.
    EXPECT_EQ(linesWith(page, "Waters each"),
              std::vector<std::string>{"Waters each Bed with Bed.water(int), row by Bed.Row, as "
                                       "Bed shows; the Rake is either."});
    // The comment's two; then, in the summary's rows and again in the
    // entries, bed()'s type and its parameter's class, planned()'s type
    // and plans()' type argument.
    const std::vector<std::string> declared{soil, soil, plan, plan};
    std::vector<std::string> beds{soil, plan};
    for (int twice = 0; twice < 2; ++twice) beds.insert(beds.end(), declared.begin(), declared.end());
    EXPECT_EQ(targets(page, "Bed"), beds);
    const auto water = targets(page, "Bed.water(int)");
    ASSERT_EQ(water.size(), 1u);
    EXPECT_EQ(fileOf(water[0]), soil);
    EXPECT_EQ(water[0].substr(soil.size()).rfind("#water(", 0), 0u) << water[0];
    const std::string row = classPage("org.garden.soil", "Bed.Row");
    EXPECT_EQ(targets(page, "Bed.Row"), std::vector<std::string>{row});
    // bed()'s parameter and firstRow()'s type, a class that the import of
    // Bed's nested classes brings.
    EXPECT_EQ(targets(page, "Row"), (std::vector<std::string>{row, row, row, row}));
    // The comment's Rake is neither; the two methods' are those written,
    // in the summary's rows and again in the entries.
    const std::string soilRake = classPage("org.garden.soil", "Rake");
    const std::string lawnRake = classPage("org.garden.tools", "Rake");
    const std::vector<std::string> rakes{lawnRake, soilRake, lawnRake, soilRake};
    EXPECT_EQ(targets(page, "Rake"), rakes);

    // The old module's declarations read the names alike; its comments
    // show their tags as written.
    fs::remove_all(site());
    const auto result = runInWork({"-autorun", "-autoquit", "-overwrite", "-module=vantry-old",
                                   "-moduledir=" + moduleDir_.string(), "src", "out/index.html"},
                                  kTimeLimit);
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    auto old = targets(page, "Rake");
    std::sort(old.begin(), old.end());
    EXPECT_EQ(old, (std::vector<std::string>{soilRake, lawnRake}));
    auto oldBeds = targets(page, "Bed");
    std::sort(oldBeds.begin(), oldBeds.end());
    EXPECT_EQ(oldBeds, (std::vector<std::string>{plan, plan, soil, soil}))
        << "planned()'s and plans()'s, bed()'s two";
    EXPECT_EQ(targets(page, "Row"), (std::vector<std::string>{row, row}));
}

// C#: a namespace's own classes, then the using directives written for
// it; an alias for a type or a namespace; a using static directive's
// members; a name written with its namespace (or from within an enclosing
// one, or from global::) as written.
TEST_F(NameLinks, CSharpNamesLeadWhereTheUsingDirectivesAndQualifiersPoint) {
    writeText(work() / "cs/Soil.cs",
              "namespace Garden.Soil\n{\n"
              "    /// <summary>A raised bed.</summary>\n    public class Bed {}\n"
              "    /// <summary>Depths.</summary>\n    public static class Defaults\n    {\n"
              "        /// <summary>How deep to dig.</summary>\n        public const int Depth = 30;\n"
              "    }\n"
              "    /// <summary>Trays of any kind.</summary>\n    public static class Trays\n    {\n"
              "        /// <summary>Rows of a tray.</summary>\n        public const int Rows = 1;\n"
              "    }\n"
              "    /// <summary>Trays of one kind.</summary>\n    public static class Trays<T>\n    {\n"
              "        /// <summary>Rows of a typed tray.</summary>\n        public const int Rows = 4;\n"
              "    }\n}\n");
    writeText(work() / "cs/Tools.cs",
              "namespace Garden.Tools\n{\n"
              "    /// <summary>A tool bed.</summary>\n    public class Bed {}\n"
              "    /// <summary>A rake.</summary>\n    public class Rake\n    {\n"
              "        /// <summary>Sharpens it.</summary>\n        public void Sharpen() {}\n"
              "    }\n}\n");
    writeText(work() / "cs/Plan.cs",
              "using Garden.Soil;\n"
              "using Tool = Garden.Tools.Rake;\n"
              "using T = Garden.Tools;\n"
              "using static Garden.Soil.Defaults;\n\n"
              "namespace Garden.Plan\n{\n"
              "    /// <summary>Digs <see cref=\"Bed\"/> <see cref=\"Depth\"/> deep with a "
              "<see cref=\"Tool\"/> kept sharp by <see cref=\"Tool.Sharpen()\"/>, beside "
              "<see cref=\"T.Bed\"/>, <see cref=\"Soil.Bed\"/>, <see cref=\"Garden.Tools.Bed\"/> "
              "and <see cref=\"global::Garden.Tools.Rake\"/>.</summary>\n"
              "    public class Layout\n    {\n"
              "        /// <summary>The tool bed.</summary>\n"
              "        public Garden.Tools.Bed ToolBed() { return null; }\n"
              "        /// <summary>The raised bed.</summary>\n"
              "        public Bed SoilBed() { return null; }\n"
              "    }\n}\n\n"
              "namespace Garden.Shed\n{\n    using Garden.Tools;\n\n"
              "    /// <summary>Holds a <see cref=\"Bed\"/>.</summary>\n"
              "    public class Shelf {}\n}\n");
    writeText(work() / "cs/Barn.cs",
              "namespace Garden\n{\n    using Tools;\n    using static Soil.Defaults;\n\n"
              "    namespace Barn\n    {\n"
              "        /// <summary>Keeps a <see cref=\"Bed\"/> <see cref=\"Depth\"/> "
              "deep.</summary>\n"
              "        public class Loft {}\n    }\n}\n\n"
              "namespace Garden.Barn\n{\n    using static Garden.Soil.Trays<int>;\n\n"
              "    /// <summary>Stores a <see cref=\"Bed\"/> in <see cref=\"Rows\"/> rows.</summary>\n"
              "    public class Stall {}\n}\n");
    document({"cs"});

    const std::string page = "Garden.Plan/Layout.html";
    EXPECT_EQ(linesWith(page, "Digs"),
              std::vector<std::string>{"Digs Bed Depth deep with a Tool kept sharp by "
                                       "Tool.Sharpen(), beside T.Bed, Soil.Bed, Garden.Tools.Bed "
                                       "and global::Garden.Tools.Rake."});
    const std::string soil = classPage("Garden.Soil", "Bed");
    const std::string tools = classPage("Garden.Tools", "Bed");
    const std::string rake = classPage("Garden.Tools", "Rake");
    // The comment's; then, in the summary's rows and again in the entries,
    // SoilBed()'s type and ToolBed()'s, written with its namespace, whose
    // last word leads to the class.
    EXPECT_EQ(targets(page, "Bed"), (std::vector<std::string>{soil, soil, tools, soil, tools}));
    EXPECT_EQ(targets(page, "Tool"), std::vector<std::string>{rake});
    const auto sharpen = targets(page, "Tool.Sharpen()");
    ASSERT_EQ(sharpen.size(), 1u);
    EXPECT_EQ(sharpen[0], rake + "#Sharpen()");
    EXPECT_EQ(targets(page, "Depth"),
              std::vector<std::string>{classPage("Garden.Soil", "Defaults") + "#Depth"});
    EXPECT_EQ(targets(page, "T.Bed"), std::vector<std::string>{tools});
    EXPECT_EQ(targets(page, "Soil.Bed"), std::vector<std::string>{soil});
    EXPECT_EQ(targets(page, "Garden.Tools.Bed"), std::vector<std::string>{tools});
    EXPECT_EQ(targets(page, "global::Garden.Tools.Rake"), std::vector<std::string>{rake});
    // Within its namespace's block, the block's own using directive comes
    // before the file's.
    EXPECT_EQ(targets("Garden.Shed/Shelf.html", "Bed"), std::vector<std::string>{tools});
    // A directive inside a namespace block names a namespace or a type
    // read from that namespace outwards.
    EXPECT_EQ(targets("Garden.Barn/Loft.html", "Bed"), std::vector<std::string>{tools});
    EXPECT_EQ(targets("Garden.Barn/Loft.html", "Depth"),
              std::vector<std::string>{classPage("Garden.Soil", "Defaults") + "#Depth"});
    // They hold in their block alone: in another block of the file, Bed
    // could be either class.
    EXPECT_EQ(linesWith("Garden.Barn/Stall.html", "Stores"),
              std::vector<std::string>{"Stores a Bed in Rows rows."});
    EXPECT_EQ(targets("Garden.Barn/Stall.html", "Bed"), std::vector<std::string>{});
    // The members of a constructed type are its twin's.
    EXPECT_EQ(targets("Garden.Barn/Stall.html", "Rows"),
              std::vector<std::string>{classPage("Garden.Soil", "Trays-1") + "#Rows"});

    // The old module's declarations read the names alike.
    fs::remove_all(site());
    const auto result = runInWork({"-autorun", "-autoquit", "-overwrite", "-accept3slash",
                                   "-module=vantry-old", "-moduledir=" + moduleDir_.string(), "cs",
                                   "out/index.html"},
                                  kTimeLimit);
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    auto old = targets(page, "Bed");
    std::sort(old.begin(), old.end());
    EXPECT_EQ(old, (std::vector<std::string>{soil, tools})) << "SoilBed()'s and ToolBed()'s";
}

// A C# alias, and a name from global::, serve a declaration and a class
// head as they serve a cref; the class an alias names lists the class that
// derives from it by that alias.
TEST_F(NameLinks, CSharpAliasesNameClassesInDeclarationsAndHeads) {
    writeText(work() / "cs/Tools.cs",
              "namespace Garden.Tools\n{\n"
              "    /// <summary>A rake.</summary>\n    public class Rake {}\n"
              "    /// <summary>A tool bed.</summary>\n    public class Bed {}\n"
              "    /// <summary>Any tray.</summary>\n    public class Tray {}\n"
              "    /// <summary>A tray of one kind.</summary>\n"
              "    /// <typeparam name=\"T\">The kind.</typeparam>\n"
              "    public class Tray<T>\n    {\n"
              "        /// <summary>Fills it.</summary>\n        public void Fill(T item) {}\n    }\n"
              "    /// <summary>A crate of one kind.</summary>\n"
              "    /// <typeparam name=\"T\">The kind.</typeparam>\n"
              "    public class Crate<T> {}\n}\n");
    writeText(work() / "cs/Shed.cs",
              "using Tool = Garden.Tools.Rake;\n"
              "using Seedlings = Garden.Tools.Tray<int>;\n"
              "using Bulbs = Garden.Tools.Crate<string>;\n\n"
              "namespace Garden.Shed\n{\n"
              "    /// <summary>A bed of the shed.</summary>\n    public class Bed {}\n"
              "    /// <summary>A rake with a short handle.</summary>\n"
              "    public class Hoe : Tool\n    {\n"
              "        /// <summary>Another one.</summary>\n"
              "        public Tool Spare() { return null; }\n"
              "        /// <summary>Where it is kept.</summary>\n"
              "        public global::Garden.Tools.Bed Place() { return null; }\n"
              "    }\n"
              "    /// <summary>Sown from a <see cref=\"Seedlings\"/>, filled by "
              "<see cref=\"Seedlings.Fill\"/>.</summary>\n"
              "    public class Bench : Seedlings\n    {\n"
              "        /// <summary>The bulbs.</summary>\n"
              "        public Bulbs Stock() { return null; }\n"
              "    }\n}\n");
    document({"cs"});

    const std::string page = "Garden.Shed/Hoe.html";
    const std::string rake = classPage("Garden.Tools", "Rake");
    EXPECT_EQ(linesAfter(page, "class Hoe", 1), std::vector<std::string>{"extends Tool"});
    // The head, then Spare()'s row and entry.
    EXPECT_EQ(targets(page, "Tool"), (std::vector<std::string>{rake, rake, rake}));
    const std::string tools = classPage("Garden.Tools", "Bed");
    EXPECT_EQ(targets(page, "Bed"), (std::vector<std::string>{tools, tools}));
    EXPECT_EQ(targets("Garden.Tools/Rake.html", "Hoe"),
              std::vector<std::string>{classPage("Garden.Shed", "Hoe")});

    // An alias of a constructed type names the twin of as many type
    // parameters, else the generic class itself.
    const std::string bench = "Garden.Shed/Bench.html";
    const std::string tray = classPage("Garden.Tools", "Tray-1");
    EXPECT_EQ(linesAfter(bench, "class Bench", 1), std::vector<std::string>{"extends Seedlings"});
    // The comment's, then the head's.
    EXPECT_EQ(targets(bench, "Seedlings"), (std::vector<std::string>{tray, tray}));
    const auto fill = targets(bench, "Seedlings.Fill");
    ASSERT_EQ(fill.size(), 1u);
    EXPECT_EQ(fileOf(fill[0]), tray);
    const std::string crate = classPage("Garden.Tools", "Crate");
    EXPECT_EQ(targets(bench, "Bulbs"), (std::vector<std::string>{crate, crate}));
    EXPECT_EQ(targets("Garden.Tools/Tray-1.html", "Bench"),
              std::vector<std::string>{classPage("Garden.Shed", "Bench")});
}

// A base written with type arguments is shown with them, linked to the
// class they pick: the C# twin of as many type parameters; its members
// are still inherited from it. Both modules show the head alike.
TEST_F(NameLinks, ABaseIsShownWithTheTypeArgumentsWritten) {
    writeText(work() / "cs/Handlers.cs",
              "namespace Garden.Work\n{\n"
              "    /// <summary>Handles anything.</summary>\n    public class Handler {}\n"
              "    /// <summary>Handles one kind.</summary>\n"
              "    /// <typeparam name=\"TIn\">The kind.</typeparam>\n"
              "    public class Handler<TIn>\n    {\n"
              "        /// <summary>Takes one.</summary>\n        public void Take(TIn item) {}\n"
              "    }\n"
              "    /// <summary>Keeps anything.</summary>\n    public interface IStore {}\n"
              "    /// <summary>Keeps one kind.</summary>\n"
              "    /// <typeparam name=\"T\">The kind.</typeparam>\n"
              "    public interface IStore<T> {}\n"
              "    /// <summary>Handles names.</summary>\n"
              "    public class NameHandler : Handler<string>, IStore<string> {}\n}\n");
    writeText(work() / "java/org/garden/work/Box.java",
              "package org.garden.work;\n\n/** A box. @param <T> what it holds */\n"
              "public class Box<T> {}\n");
    writeText(work() / "java/org/garden/work/SeedBox.java",
              "package org.garden.work;\n\n/** A box of seeds. */\n"
              "public class SeedBox extends org.garden.work.Box<java.util.List<String>> {}\n");
    document({"cs", "java"});

    const std::string page = "Garden.Work/NameHandler.html";
    // The head's lines: the class, then its bases.
    EXPECT_EQ(linesAfter(page, "class NameHandler", 2),
              (std::vector<std::string>{"extends Handler<string>", "implements IStore<string>"}));
    const std::string handler = classPage("Garden.Work", "Handler-1");
    EXPECT_EQ(targets(page, "Handler<string>"), std::vector<std::string>{handler});
    EXPECT_EQ(targets(page, "IStore<string>"),
              std::vector<std::string>{classPage("Garden.Work", "IStore-1")});
    const auto take = targets(page, "Take");
    ASSERT_EQ(take.size(), 1u);
    EXPECT_EQ(fileOf(take[0]), handler);
    EXPECT_EQ(linesAfter("org.garden.work/SeedBox.html", "class SeedBox", 1),
              std::vector<std::string>{"extends Box<java.util.List<String>>"});
    EXPECT_EQ(targets("org.garden.work/SeedBox.html", "Box<java.util.List<String>>"),
              std::vector<std::string>{classPage("org.garden.work", "Box")});

    // The old module: the head's line, and its link.
    fs::remove_all(site());
    const auto result = runInWork({"-autorun", "-autoquit", "-overwrite", "-accept3slash",
                                   "-module=vantry-old", "-moduledir=" + moduleDir_.string(), "cs",
                                   "out/index.html"},
                                  kTimeLimit);
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    const auto old = linesWith(page, "extends");
    EXPECT_EQ(old, std::vector<std::string>{"extends Handler<string>, IStore<string>"});
    EXPECT_EQ(targets(page, "Handler<string>"), std::vector<std::string>{handler});
}

}  // namespace
