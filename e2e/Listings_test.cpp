// Source listings as a reader meets them: the program run as a child over
// two input roots that hold files of the same relative path, and each class
// page's link to its file's listing followed to the text a browser shows.
#include <gtest/gtest.h>

#include <set>

#include "e2e/ChildProcess.h"
#include "e2e/ProgramFixture.h"
#include "e2e/SiteCheck.h"

namespace fs = std::filesystem;

namespace {

using e2e::contains;

class ListingRun : public e2e::ProgramFixture {
protected:
    ListingRun() : ProgramFixture("listings") {}

    void document(const std::vector<std::string>& inputs, const std::string& module = "vantry-standard") {
        std::vector<std::string> args{"-autorun", "-overwrite", "-moduledir=" + moduleDir_.string(),
                                      "-module=" + module};
        args.insert(args.end(), inputs.begin(), inputs.end());
        args.push_back("site/index.html");
        const auto result = e2e::runChild(program_, args, childEnvironment(scratchVariables()), work(), logs());
        ASSERT_EQ(result.exitCode, 0) << result.describe() << result.err;
    }

    // What a browser shows of a listing page: the text of its PRE element.
    static std::string listingText(const fs::path& page) {
        const std::string html = e2e::readFile(page);
        const std::size_t start = html.find("<PRE>\n");
        const std::size_t end = html.rfind("\n</PRE>");
        if (start == std::string::npos || end == std::string::npos || end < start) return "(no listing: " + page.string() + ")";
        std::string text;
        const std::string body = html.substr(start + 6, end - start - 6);
        for (std::size_t i = 0; i < body.size();) {
            if (body[i] == '<') {
                i = body.find('>', i) + 1;
                continue;
            }
            text += body[i++];
        }
        return e2e::decodeEntities(text);
    }

    // The texts of the listings that a class page links, by the page's
    // links whose href ends in ".html" and stands in its folder.
    std::set<std::string> linkedListings(const fs::path& classPage) {
        std::set<std::string> texts;
        for (const e2e::PageLink& link : e2e::scanPage(e2e::readFile(classPage)).links) {
            const std::string target = e2e::decodeEntities(link.value);
            if (target.find(".java") == std::string::npos || target.find('/') != std::string::npos) continue;
            texts.insert(listingText(classPage.parent_path() / target));
        }
        return texts;
    }

    std::string write(const std::string& file, const std::string& text) {
        e2e::writeText(work() / file, text);
        return text;
    }
};

TEST_F(ListingRun, EachFileOfTwoRootsHasItsOwnListingAndEachClassPageLinksItsOwn) {
    // A library and its tests, each with a class of one package in a file
    // of the same name.
    const std::string main = write("lib/src/org/det/ledger/Entry.java",
                                   "package org.det.ledger;\n\n/** One booked line. */\npublic class Entry {\n"
                                   "    /** The amount in cents. */\n    public long cents;\n}\n");
    const std::string test = write("lib/test/org/det/ledger/Entry.java",
                                   "package org.det.ledger;\n\n/** Checks a booked line. */\npublic class EntryCheck {\n"
                                   "    /** Books one cent &amp; reads it back. */\n    public void bookOne() {}\n}\n");
    document({"lib/src", "lib/test"});
    const fs::path pages = work() / "site/projects/org.det.ledger";
    EXPECT_EQ(linkedListings(pages / "Entry.html"), std::set<std::string>{main});
    EXPECT_EQ(linkedListings(pages / "EntryCheck.html"), std::set<std::string>{test});
}

TEST_F(ListingRun, AClassDeclaredInBothRootsLinksBothFiles) {
    const std::string first = write("v1/org/det/p0/Shape.java",
                                    "package org.det.p0;\n\n/** A shape. */\npublic class Shape {\n"
                                    "    /** Its area. */\n    public double area() { return 0; }\n}\n");
    const std::string second = write("v2/org/det/p0/Shape.java",
                                     "package org.det.p0;\n\n/** A shape, again. */\npublic class Shape {\n"
                                     "    /** Its edges. */\n    public int edges() { return 0; }\n}\n");
    for (const char* module : {"vantry-standard", "vantry-old"}) {
        document({"v1", "v2"}, module);
        EXPECT_EQ(linkedListings(work() / "site/projects/org.det.p0/Shape.html"),
                  (std::set<std::string>{first, second}))
            << module;
    }
}

TEST_F(ListingRun, AFileThatDeclaresNothingLeavesTheListingNameToOneThatDoes) {
    // The first root's file of the name holds no class, so no class page
    // links it; the second root's does.
    write("a/org/det/p1/Rates.java", "package org.det.p1;\n\n// Rates live in the database now.\n");
    const std::string rates = write("b/org/det/p1/Rates.java",
                                    "package org.det.p1;\n\n/** Exchange rates. */\npublic class Rates {\n"
                                    "    /** Euro to franc. */\n    public static final double EUR_CHF = 0.94;\n}\n");
    document({"a", "b"});
    EXPECT_EQ(linkedListings(work() / "site/projects/org.det.p1/Rates.html"), std::set<std::string>{rates});
    // Both files are listed all the same.
    std::set<std::string> listed;
    for (const auto& entry : fs::directory_iterator(work() / "site/projects/org.det.p1"))
        if (entry.path().filename().string().rfind("Rates.java", 0) == 0) listed.insert(listingText(entry.path()));
    EXPECT_EQ(listed, (std::set<std::string>{e2e::readFile(work() / "a/org/det/p1/Rates.java"), rates}));
}

}  // namespace
