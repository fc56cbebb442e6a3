#include "modules/standard/PageItemTemplate.h"

#include "VelkLib/VelkError.h"
#include "modules/standard/PageClassTree.h"
#include "modules/standard/PageTestSupport.h"

#include <gtest/gtest.h>

namespace {

std::string expand(const CppClass& cls, const std::string& text) {
    std::ostringstream out;
    expandItemTemplate(out, cls, text, ItemTemplateContext{"../", "?"});
    return out.str();
}

TEST(PageItemTemplate, VariablesAndConditionalParts) {
    pagetest::ListFixture f;
    DocCppClass* runnable = f.addClass("Runnable", "core", "interface");
    DocCppClass* list = f.addClass("List<T>", "core");
    list->setFileName("a.h");
    list->addFileName("b.h");
    EXPECT_EQ(expand(*runnable, "$C $J $Q !Q $"), "<i>Runnable</i> core $Q !Q $");
    EXPECT_EQ(expand(*list, "[$C]!G($F,$G)!G $H $R"), "[List&lt;T&gt;](a.h,b.h) core/List%3CT%3E.html ../");
    EXPECT_EQ(expand(*runnable, "[!Gtwo files!G]"), "[]");
    std::ostringstream out;
    try {
        expandItemTemplate(out, *runnable, "x!Fnever closed", ItemTemplateContext{"../", "?"});
        FAIL() << "no error";
    } catch (const VelkError& error) {
        EXPECT_STREQ(error.what(), "Missing a closing '!F'");
    }
    EXPECT_EQ(out.str(), "x");
}

TEST(PageClassTree, ChainWithOtherBases) {
    pagetest::ListFixture f;
    f.addClass("Shape", "geo");
    f.addClass("Printable", "geo");
    f.addClass("Drawable", "geo", "interface");
    DocCppClass* rectangle = f.addClass("Rectangle", "geo", "class", 2, "", "Shape,f|Printable,f|Drawable,t");
    DocCppClass* square = f.addClass("Square", "geo", "class", 2, "", "Rectangle,f");
    std::ostringstream out;
    writeClassTree(out, *square, f.list.longestAncestorChain(*square), &f.list);
    EXPECT_EQ(out.str(),
              "<PRE>\n<a href=\"../geo/Printable.html\">Printable</a>, <a href=\"../geo/Shape.html\">"
              "Shape</a>\n   |\n   +--<a href=\"../geo/Rectangle.html\">Rectangle</a>\n"
              "         |\n         +--<B>Square</B>\n\n</PRE>\n");
    // Deep chains stop indenting further, so pages stay linear in size.
    std::vector<CppClass*> deep;
    for (int i = 0; i < 40; ++i) deep.push_back(f.addClass("D" + std::to_string(i), "geo"));
    std::ostringstream deepOut;
    writeClassTree(deepOut, *square, deep, &f.list);
    EXPECT_TRUE(pagetest::contains(deepOut.str(), "\n" + std::string(6 * maxTreeIndentLevels, ' ') + "   +--<B>Square"));
    EXPECT_FALSE(pagetest::contains(deepOut.str(), std::string(6 * maxTreeIndentLevels + 4, ' ')));

    std::ostringstream none;
    writeClassTree(none, *rectangle, {}, &f.list);
    EXPECT_EQ(none.str(), "");
}

}  // namespace
