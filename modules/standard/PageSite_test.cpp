// Writes whole sites through the page writers and checks what a browser
// would see: every generated link and frame source names an existing file,
// every anchor exists on its page, and nothing lands outside the output.
#include "modules/standard/PageSite.h"

#include "VelkLib/VelkError.h"
#include "modules/standard/CppProject.h"
#include "modules/standard/PageTestSupport.h"
#include "modules/standard/PageWriters.h"
#include "modules/standard/SiteDriver.h"
#include "modules/standard/SiteNames.h"
#include "modules/standard/StandardModule.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <algorithm>
#include <cctype>
#include <set>

namespace {

namespace fs = std::filesystem;
using pagetest::contains;
using pagetest::readFile;

std::string decode(std::string text) {
    static const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#60;", "<"}, {"&#62;", ">"}, {"&amp;", "&"}};
    for (const auto& [from, to] : entities) {
        std::size_t at = 0;
        while ((at = text.find(from, at)) != std::string::npos) {
            text.replace(at, std::string(from).size(), to);
            at += std::string(to).size();
        }
    }
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The values of every attribute named name (any letter case) in the text.
std::vector<std::string> attributeValues(const std::string& text, const std::string& name) {
    std::vector<std::string> values;
    std::string lowered = text;
    for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string key = name + "=\"";
    for (std::size_t at = lowered.find(key); at != std::string::npos; at = lowered.find(key, at + 1)) {
        if (at > 0 && std::isalpha(static_cast<unsigned char>(lowered[at - 1]))) continue;
        std::size_t start = at + key.size();
        std::size_t end = text.find('"', start);
        if (end == std::string::npos) break;
        values.push_back(text.substr(start, end - start));
    }
    return values;
}

// Every link problem of the site under root, one line each.
std::vector<std::string> brokenLinks(const fs::path& root) {
    std::map<std::string, std::set<std::string>> anchors;
    std::map<std::string, std::string> pages;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::string path = fs::weakly_canonical(entry.path()).string();
        pages[path] = readFile(path);
        for (const std::string& anchor : attributeValues(pages[path], "name"))
            anchors[path].insert(decode(anchor));
    }
    std::vector<std::string> broken;
    for (const auto& [path, text] : pages) {
        std::vector<std::string> links = attributeValues(text, "href");
        for (const std::string& source : attributeValues(text, "src")) links.push_back(source);
        for (const std::string& written : links) {
            std::string target = written;
            if (target.rfind("http", 0) == 0) continue;
            std::string anchor;
            std::size_t hash = target.find('#');
            if (hash != std::string::npos) {
                anchor = decode(target.substr(hash + 1));
                target = target.substr(0, hash);
            }
            std::string file = target.empty() ? path
                                              : fs::weakly_canonical(fs::path(path).parent_path() /
                                                                     decode(target)).string();
            if (!pages.count(file))
                broken.push_back(path + ": " + written);
            else if (!anchor.empty() && !anchors[file].count(anchor))
                broken.push_back(path + ": anchor " + written);
        }
    }
    return broken;
}

struct SiteTest : ::testing::Test {
    pagetest::TempDir dir;
    StandardModule module;
    fs::path out;

    DocCppClass* add(const std::string& name, const std::string& project, const std::string& kind,
                     const std::string& comment = "", const std::string& bases = "", int language = 2,
                     const std::string& container = "") {
        auto* cls = new DocCppClass(module.classList.get(), module.options, language);
        cls->setName(name);
        cls->setPackage(project);
        cls->setKind(kind);
        cls->setComment(comment);
        cls->setText(container);
        cls->setFileName("src/" + project + ".java");
        if (!bases.empty()) setBasesFromText(*cls, bases);
        return static_cast<DocCppClass*>(module.classList->addClass(cls));
    }
    void member(CppClass* cls, const std::string& name, const std::string& declaration,
                const std::string& comment = "", bool function = false,
                const std::vector<std::string>& args = {}, const std::string& access = "public") {
        cls->addMember(name, declaration, access, comment, function, "", args,
                       new DocCppClassMember(cls), false);
    }

    void SetUp() override {
        out = dir.path / "out";
        fs::create_directories(out);
        module.documentTitle = "Docs";
        module.outputFile = (out / "index.html").string();
        module.detailDirectory = (out / "projects").string();
        module.sourceDirectoryText = "?";
        module.writeDetailPages = true;
        module.firstProjectDirectory = (dir.path / "src" / "core").string();
        fs::create_directories(module.firstProjectDirectory);
        std::ofstream(dir.path / "src" / "overview.html") << "The overview. More text.\n";

        DocCppClass* shape = add("Shape", "core", "class", "A shape.<BR>\n@see Drawable<BR>",
                                 "Drawable,t");
        add("Drawable", "core", "interface", "Draws {@link Shape#area}.");
        DocCppClass* square = add("Square", "core", "class",
                                  "A square.<BR>\n@deprecated use {@link Shape}<BR>", "Shape,f");
        add("Square.Corner", "core", "class", "", "", 2, "Square");
        add("A", "cyc", "class", "", "B,f");
        add("B", "cyc", "class", "", "A,f");
        DocCppClass* vec = add("vector<int>", "cpp lib", "class", "Vec.", "", 0);
        member(shape, "area", "double area();", "The area.<BR>\n@return it", true);
        member(shape, "Shape", "Shape(int n);", "", true, {"int n"}, "private");
        member(square, "side", "int side;", "@deprecated gone");
        member(square, "_hidden", "int _hidden;", "x");
        member(vec, "operator<", "bool operator<(const vector<int>& o);", "Less.", true,
               {"const vector<int>& o"});
        member(vec, "~vector<int>", "~vector<int>();", "", true);
    }

    // The whole site, as done writes it.
    void writeSite() { generateSite(module); }
};

TEST_F(SiteTest, EveryLinkResolvesInBothIndexLayouts) {
    writeSite();
    EXPECT_EQ(brokenLinks(out), std::vector<std::string>());
    EXPECT_TRUE(fs::exists(out / "index-all.html"));
    std::string square = readFile((out / "projects/core/Square.html").string());
    EXPECT_TRUE(contains(square, "<B>Deprecated.</B>&nbsp;<I>use <a href=\"../core/Shape.html\">"));
    std::string vec = readFile((out / "projects/cpp_lib/vector-int.html").string());
    EXPECT_TRUE(contains(vec, "Class  vector&lt;int&gt;</H2>"));
    EXPECT_TRUE(contains(vec, "operator&lt;"));
    std::string list = readFile((out / "index-deprecated-list.html").string());
    EXPECT_LT(list.find("Deprecated Classes"), list.find("Deprecated Fields"));
    std::string index = readFile((out / "index-all.html").string());
    EXPECT_LT(index.find("<B>vector&lt;int&gt;</B>"), index.find("<B>~vector&lt;int&gt;()</B>"));
    EXPECT_TRUE(contains(index, "<A NAME=\"___\">"));

    fs::remove_all(out);
    fs::create_directories(out);
    module.separateIndexPages = true;
    module.options.generateHierarchy = false;
    writeSite();
    EXPECT_EQ(brokenLinks(out), std::vector<std::string>());
    EXPECT_TRUE(fs::exists(out / "index-files/index-_.html"));
    EXPECT_FALSE(fs::exists(out / "index-files/index-[.html"));
    EXPECT_FALSE(contains(readFile((out / "index-overview-summary.html").string()), ">Tree<"));
}

TEST_F(SiteTest, TreeListingWritesEveryPageOnceAndEndsOnCycles) {
    module.treeListing = true;
    writeSite();
    EXPECT_EQ(brokenLinks(out), std::vector<std::string>());
    std::string frame = readFile((out / "index-allclasses-frame.html").string());
    EXPECT_LT(frame.find(">Shape<"), frame.find(">Square<"));
    EXPECT_LT(frame.find(">Square<"), frame.find("<i>Drawable</i>"));
    EXPECT_TRUE(contains(frame, ">A<") && contains(frame, ">B<"));
    EXPECT_TRUE(fs::exists(out / "projects/cyc/A.html"));
    std::string tree = readFile((out / "index-overview-tree.html").string());
    EXPECT_TRUE(contains(tree, "Interface Hierarchy"));
}

TEST_F(SiteTest, TreeListsAClassUnderEachOfItsBasesAndPagesOnlyWhenAsked) {
    add("Left", "multi", "class", "", "", 0);
    add("Right", "multi", "class", "", "", 0);
    add("Both", "multi", "class", "", "Left,f|Right,f", 0);
    add("Leaf", "multi", "class", "", "Both,f", 0);
    module.treeListing = true;
    writeSite();
    EXPECT_EQ(brokenLinks(out), std::vector<std::string>());
    const std::string frame = readFile((out / "projects/multi/project-frame.html").string());
    auto count = [&](const std::string& text) {
        std::size_t n = 0;
        for (auto at = frame.find(text); at != std::string::npos; at = frame.find(text, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count(">Both<"), 2u) << frame;
    EXPECT_EQ(count(">Leaf<"), 1u) << frame;  // one base: listed once
    EXPECT_LT(frame.find(">Left<"), frame.find(">Both<"));
    EXPECT_LT(frame.find(">Right<"), frame.rfind(">Both<"));

    // Without the detail pages flag the frames list the classes but no
    // class page is written.
    fs::remove_all(out);
    fs::create_directories(out);
    module.writeDetailPages = false;
    writeSite();
    EXPECT_TRUE(contains(readFile((out / "index-allclasses-frame.html").string()), ">Shape<"));
    EXPECT_FALSE(fs::exists(out / "projects/core/Shape.html"));
    EXPECT_FALSE(fs::exists(out / "projects/multi/Both.html"));
}

TEST_F(SiteTest, UnwritablePageIsReported) {
    module.outputFile = (out / "missing" / "index.html").string();
    EXPECT_THROW(writeFramesetPage(module), VelkError);
}

}  // namespace

namespace {

TEST_F(SiteTest, ListFramesFollowTheItemTemplate) {
    add("ns", "cpp lib", "namespace", "", "", 0);
    add("ns::Thing", "cpp lib", "class", "", "", 0, "ns");
    writeClassListFrame(module, (out / "frame.html").string(), "All Classes", "", nullptr, false,
                        -1, -1, "");
    std::string all = readFile((out / "frame.html").string());
    EXPECT_TRUE(contains(all, "<b>ns</b>") && contains(all, ">ns::Thing<"));
    EXPECT_FALSE(contains(all, "Corner"));

    module.itemTemplate = "?";
    writeClassListFrame(module, (out / "frame.html").string(), "All Classes", "", nullptr, true,
                        115, 150, "");
    std::string frame = readFile((out / "frame.html").string());
    EXPECT_TRUE(contains(frame, "<B>All Classes</B><P>\n\n\n</BODY>"));
    // No entries, but every class still has its page.
    EXPECT_TRUE(contains(readFile((out / "projects/core/Shape.html").string()), "A shape."));

    module.itemTemplate = "<li>$C in $J!G, also $G!G</li>";
    writeClassListFrame(module, (out / "frame.html").string(), "core", "core", nullptr, false, -1,
                        -1, "..");
    frame = readFile((out / "frame.html").string());
    EXPECT_TRUE(contains(frame, "<li><i>Drawable</i> in core</li><li>Shape in core</li>"));
    EXPECT_FALSE(contains(frame, "Corner"));

    writeOverviewFrame(module, {});
    std::string overview = readFile((out / "index-overview-frame.html").string());
    EXPECT_TRUE(contains(overview, "<FONT size=\"+1\">Projects</FONT><BR>\n\n\n</BODY>"));
    writeFramesetPage(module);
    std::string frameset = readFile(module.outputFile);
    EXPECT_FALSE(contains(frameset, "<BODY>"));
    EXPECT_TRUE(contains(frameset, "<FRAME src=\"index-overview-frame.html\" name=\"projectListFrame\">"));
}

TEST_F(SiteTest, SummariesAndHierarchyPages) {
    writeSite();
    std::string core = readFile((out / "projects/core/project-summary.html").string());
    EXPECT_TRUE(contains(core, "<B><a href=\"../core/Shape.html\"><I>Shape</I></a></B></TD>\n<TD>A shape.</TD>"));
    EXPECT_TRUE(contains(core, "<I>Drawable</I></a></B></TD>\n<TD>Draws <a href=\"../core/Shape.html#area\">"));
    EXPECT_FALSE(contains(core, "Corner"));
    EXPECT_FALSE(contains(core, "project_description"));
    std::string cyc = readFile((out / "projects/cyc/project-summary.html").string());
    EXPECT_TRUE(contains(cyc, "<I>A</I></a></B></TD>\n<TD>&nbsp;</TD>"));

    std::string overview = readFile((out / "index-overview-summary.html").string());
    EXPECT_TRUE(contains(overview, "<p>The overview.<p>"));
    EXPECT_TRUE(contains(overview, "<a href=\"projects/core/project-summary.html\"><I>core</I></a>"));

    std::string projectTree = readFile((out / "projects/cyc/project-tree.html").string());
    EXPECT_TRUE(contains(projectTree, "<a href=\"../../index-overview-tree.html\">All Projects</a>"));
    EXPECT_TRUE(contains(projectTree, "<a href=\"../../index.html\" target=\"_top\"><B>FRAMES</B>"));
    EXPECT_FALSE(contains(projectTree, "Interface Hierarchy"));
    std::string tree = readFile((out / "index-overview-tree.html").string());
    EXPECT_TRUE(contains(tree, "<DD><a href=\"projects/core/project-tree.html\">core</a>, "));
}

TEST_F(SiteTest, DeprecatedListSections) {
    DocCppClass* old = add("Old", "core", "typedef", "@deprecated see {@link Shape} and {@link Shape}");
    add("Hue", "core", "enum", "@deprecated no");
    member(old, "~Old", "~Old();", "@deprecated never", true);
    writeSite();
    std::string list = readFile((out / "index-deprecated-list.html").string());
    std::size_t typedefs = list.find("<B>Deprecated Typedefs</B>");
    std::size_t enums = list.find("<B>Deprecated Enums</B>");
    std::size_t constructors = list.find("<B>Deprecated Constructors</B>");
    ASSERT_NE(typedefs, std::string::npos);
    EXPECT_LT(typedefs, enums);
    EXPECT_LT(enums, constructors);
    EXPECT_LT(list.find(">Square</a>"), typedefs);
    EXPECT_TRUE(contains(list, "<BR>\n" + std::string("&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;") +
                                   "<I>see <a href=\"projects/core/Shape.html\"><CODE>Shape</CODE></a> and "
                                   "<a href=\"projects/core/Shape.html\">"));
    EXPECT_FALSE(contains(list, "**classdir**"));
    EXPECT_TRUE(contains(list, ">~Old()</a>"));

    module.classList->clear();
    fs::remove_all(out);
    fs::create_directories(out);
    DeprecatedItemMap none;
    writeDeprecatedListPage(module, none);
    std::string empty = readFile((out / "index-deprecated-list.html").string());
    EXPECT_TRUE(contains(empty, "Deprecated API"));
    EXPECT_FALSE(contains(empty, "<TABLE BORDER=\"1\""));
}

}  // namespace

#include "modules/standard/PageClassListing.h"
#include "modules/standard/StatusReceiver.h"

namespace {

struct RecordingReceiver final : StatusReceiver {
    std::vector<int> values;
    int stopAfter = -1;
    void message(const char*, const char*) override {}
    bool progress(int done, int) override {
        values.push_back(done);
        return stopAfter < 0 || static_cast<int>(values.size()) < stopAfter;
    }
    void error(const std::string&) override {}
};

TEST_F(SiteTest, ProgressAndCancel) {
    RecordingReceiver receiver;
    ClassListingPass pass;
    pass.entryTemplate = "$C\n";
    pass.writePages = true;
    pass.progressFrom = 115;
    pass.progressTo = 150;
    pass.receiver = &receiver;
    pass.pageContext = classPageContext(module, nullptr);
    pass.pageContext.pageHead = [](const std::string&) { return std::string("<HTML>"); };

    std::ostringstream tree;
    bool interfaces = false;
    ASSERT_TRUE(writeClassTreeListing(tree, *module.classList, pass, false, interfaces));
    ASSERT_TRUE(interfaces);
    ASSERT_TRUE(writeClassTreeListing(tree, *module.classList, pass, true, interfaces));
    ASSERT_EQ(receiver.values.size(), module.classList->size());
    EXPECT_TRUE(std::is_sorted(receiver.values.begin(), receiver.values.end()));
    EXPECT_EQ(receiver.values.back(), 150);

    fs::remove_all(out / "projects");
    receiver.values.clear();
    receiver.stopAfter = 2;
    std::ostringstream flat;
    EXPECT_FALSE(writeClassPages(flat, *module.classList, pass));
    std::size_t pages = 0;
    for (const auto& entry : fs::recursive_directory_iterator(out / "projects"))
        pages += entry.is_regular_file();
    EXPECT_EQ(pages, 1u);
}

}  // namespace

namespace {

// What the site driver reports through the module's callbacks.
struct DriverReports {
    std::vector<std::string> phases;  // line 1 of each status report that sets one
    std::vector<std::string> steps;   // line 2 of the per-project reports
    std::vector<int> progress;
    int stopAfterClassPages = -1;     // answers "stop" from this class-page report on
    int classPageReports = 0;

    static int onProgress(int done, int total, void* context) {
        auto& self = *static_cast<DriverReports*>(context);
        if (done >= 0) {  // -1 only asks whether to go on
            EXPECT_EQ(total, 200);
            self.progress.push_back(done);
            if (done > 114 && done <= 150) ++self.classPageReports;
        }
        return self.stopAfterClassPages < 0 || self.classPageReports < self.stopAfterClassPages;
    }
    static void onStatus(const char* line1, const char* line2, void* context) {
        auto& self = *static_cast<DriverReports*>(context);
        if (line1 != nullptr && line1[0] != '\0') self.phases.push_back(line1);
        else if (line1 == nullptr || line2[0] != '\0') self.steps.push_back(line2);
    }
    static void onError(const char*, void*) {}
};

TEST_F(SiteTest, GenerateSiteWritesThePhasesInOrder) {
    DriverReports reports;
    module.statusReceiver.install(DriverReports::onProgress, DriverReports::onStatus,
                                  DriverReports::onError, &reports);
    generateSite(module);
    EXPECT_EQ(reports.phases,
              (std::vector<std::string>{
                  "Constructing main output page...", "Generating overview list frame...",
                  "Generating master index...", "Generating project indexes and class detail pages...",
                  "Generating the overview hierarchy tree...", "Writing class list and hierarchy tree frames...",
                  "Writing class list frame for project core...",
                  "Writing hierarchy tree for project core...",
                  "Writing class list frame for project cpp lib...",
                  "Writing hierarchy tree for project cpp lib...",
                  "Writing class list frame for project cyc...",
                  "Writing hierarchy tree for project cyc...",
                  "Generating the deprecations list...", "Generating the overview summary frame...",
                  "Cleaning up..."}));
    ASSERT_FALSE(reports.progress.empty());
    EXPECT_TRUE(std::is_sorted(reports.progress.begin(), reports.progress.end()));
    EXPECT_EQ(reports.progress.front(), 110);
    EXPECT_EQ(reports.progress.back(), 200);
    for (int mark : {110, 112, 114, 150, 195, 198, 200})
        EXPECT_NE(std::find(reports.progress.begin(), reports.progress.end(), mark),
                  reports.progress.end())
            << mark;
    for (const char* page :
         {"index.html", "index-overview-frame.html", "index-allclasses-frame.html", "index-all.html",
          "index-overview-tree.html", "index-deprecated-list.html", "index-overview-summary.html",
          "projects/core/Shape.html", "projects/core/project-frame.html",
          "projects/core/project-tree.html", "projects/cyc/project-summary.html"})
        EXPECT_TRUE(fs::exists(out / page)) << page;
    EXPECT_EQ(brokenLinks(out), std::vector<std::string>());
}

// Every file below root with its content.
std::map<std::string, std::string> filesBelow(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), root).string()] = readFile(entry.path().string());
    return files;
}

TEST_F(SiteTest, ACancelledSiteLeavesThePreviousOneAsItWas) {
    writeSite();
    const auto previous = filesBelow(out);
    ASSERT_TRUE(previous.contains("projects/core/Shape.html"));

    // The next run documents the classes anew and is cancelled while it
    // writes the class pages: they stop, the other phases still run, and
    // none of its pages takes the place of an old one.
    module.classList->findClass("core", "Shape", false)->setComment("Reshaped.");
    add("Circle", "core", "class", "A new class.");
    DriverReports reports;
    reports.stopAfterClassPages = 2;
    module.statusReceiver.install(DriverReports::onProgress, DriverReports::onStatus,
                                  DriverReports::onError, &reports);
    generateSite(module);
    EXPECT_EQ(reports.classPageReports, 2);
    EXPECT_EQ(reports.phases.back(), "Cleaning up...");
    EXPECT_EQ(filesBelow(out), previous);
    for (const auto& entry : fs::recursive_directory_iterator(dir.path))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();

    // Not cancelled, the same run replaces the site.
    reports.stopAfterClassPages = -1;
    generateSite(module);
    EXPECT_TRUE(contains(readFile((out / "projects/core/Shape.html").string()), "Reshaped."));
    EXPECT_TRUE(fs::exists(out / "projects/core/Circle.html"));
}

// -classdir=sub/dir: every page links from its own depth, in both modules'
// directions (main pages down, project and class pages up).
TEST_F(SiteTest, NestedDetailDirectoryLinksFromEveryDepth) {
    module.detailDirectory = (out / "sub" / "dir").string();
    add("Home", "core", "class", "Back <a href=\"{@docRoot}/index.html\">home</a>.");
    writeSite();
    EXPECT_TRUE(fs::exists(out / "sub/dir/core/Shape.html"));
    EXPECT_EQ(brokenLinks(out), std::vector<std::string>());
    const std::string shape = readFile((out / "sub/dir/core/Shape.html").string());
    EXPECT_TRUE(contains(shape, "\"../../../index.html\""));
    const std::string frame = readFile((out / "index-allclasses-frame.html").string());
    EXPECT_TRUE(contains(frame, "\"sub/dir/core/Shape.html\""));
}

}  // namespace
