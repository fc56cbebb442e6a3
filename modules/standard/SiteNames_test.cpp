#include "modules/standard/SiteNames.h"

#include "VelkLib/VelkError.h"

#include "modules/standard/CppProject.h"
#include "modules/standard/DocCppClass.h"
#include "modules/standard/ModuleFrame.h"
#include "modules/standard/StandardModule.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(SiteNames, MasterPagesFollowTheMainPage) {
    StandardModule module;
    module.outputFile = "/doc/index.html";
    module.detailDirectory = "/doc/projects";
    EXPECT_EQ(pageNamePrefix(module, true), "/doc/index");
    EXPECT_EQ(overviewFramePageName(module, false), "index-overview-frame.html");
    EXPECT_EQ(allClassesFramePageName(module, true), "/doc/index-allclasses-frame.html");
    EXPECT_EQ(indexPageName(module, 'q', true, false), "index-all.html#_Q_");
    EXPECT_EQ(indexPageName(module, '_', false, true), "/doc/index-all.html");
    EXPECT_EQ(indexPageName(module, '/', false, false), "index-all.html");
    module.separateIndexPages = true;
    EXPECT_EQ(indexPageName(module, 'q', true, false), "index-files/index-Q.html");
    EXPECT_EQ(indexPageName(module, '\\', false, false), "index-files/index-_.html");
    EXPECT_EQ(firstIndexPageName(module), "index-files/index-A.html");
    EXPECT_EQ(outputPath(module, "geo/project-frame.html", true), "/doc/projects/geo/project-frame.html");
    EXPECT_EQ(outputPath(module, "geo", false), "projects/geo");
    EXPECT_EQ(projectPagePath(module, "my lib", "project-tree.html", false),
              "projects/my_lib/project-tree.html");

    module.options.generateHierarchy = false;
    EXPECT_EQ(overviewTreePageName(module, false), "");
    module.options.generateDeprecationsList = false;
    EXPECT_EQ(deprecatedListPageName(module, true, "../"), "");
}

TEST(SiteNames, ExtensionCutWorksOnTheFileNameOnly) {
    StandardModule module;
    module.outputFile = "/my.docs/main";
    EXPECT_EQ(pageNamePrefix(module, true), "/my.docs/main");
    module.outputFile = "index.html";
    EXPECT_EQ(indexPageName(module, 'a', false, true), "./index-all.html");
}

TEST(SiteNames, LinksToTheOutputDirectoryAreRelative) {
    StandardModule module;
    module.outputFile = "/doc/index.html";
    module.detailDirectory = "/doc/";  // detail pages beside the main page
    EXPECT_EQ(outputPath(module, "geo/project-frame.html", false), "geo/project-frame.html");
    EXPECT_EQ(outputPath(module, "geo", true), "/doc/geo");
    module.detailDirectory = "/doc/a/b";
    EXPECT_EQ(outputPath(module, "geo", false), "a/b/geo");
    module.detailDirectory = "";
    EXPECT_EQ(outputPath(module, "geo", true), "/doc/geo");
}

TEST(SiteNames, PagesNeverLeaveTheirDirectory) {
    CppProject project("..", "", DocOptions());
    EXPECT_EQ(project.getPageFile("../"), "../_/project-summary.html");
    EXPECT_EQ(linkToNamedClass("vector<T>", ""), "<a href=\"../(default)/vector<T>.html\">vector&lt;T&gt;</a>");
}

TEST(SiteNames, ClassPageFollowsRenameAndMove) {
    DocCppClass cls(nullptr, DocOptions(), 0);
    cls.setName("Shape");
    cls.setPackage("src/geo");
    EXPECT_EQ(cls.getPageFile("../"), "../geo/Shape.html");
    EXPECT_EQ(cls.getPageFile(""), "geo/Shape.html");
    cls.setName("Circle");
    EXPECT_EQ(cls.getPageFile("../"), "../geo/Circle.html");
    cls.setPackage("src/draw");
    EXPECT_EQ(cls.getPageFile(""), "draw/Circle.html");
    cls.setName("Outer::Circle");
    EXPECT_EQ(cls.getPageFile("x/"), "x/draw/Outer..Circle.html");
}

TEST(ModuleFrame, FragmentsReplaceTheHeadOnContentPagesOnly) {
    StandardModule module;
    module.pageHeadBuffer = "HEAD";
    module.pageTailBuffer = "TAIL";
    auto head = [&](bool frame) {
        std::ostringstream out;
        writeHeaderFragment(module, out, frame);
        writeFooterFragment(module, out, frame);
        return out.str();
    };
    EXPECT_EQ(head(false), "HEADTAIL");
    module.headerText = "?";
    module.footerText = "<hr>";
    EXPECT_EQ(head(false), "<hr>");
    EXPECT_EQ(head(true), "HEADTAIL");
    EXPECT_EQ(pageFooterText(module), "<hr>");
    module.footerText = "no-such-footer-file";
    EXPECT_THROW(pageFooterText(module), VelkError);
}

}  // namespace
