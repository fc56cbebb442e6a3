#include "modules/common/ShownBase.h"

#include "model/DocGenCppClass.h"
#include "model/DocOptions.h"
#include "modules/common/ReceivedTexts.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A class of the language with the name, whose bases come as the module
// receives them.
std::unique_ptr<CppClass> received(const std::string& name, int language,
                                   const std::string& bases = "") {
    auto cls = std::make_unique<DocGenCppClass>(nullptr, DocOptions(), language, false, false);
    cls->setName(name);
    setBasesFromText(*cls, bases);
    return cls;
}

// A base shows its type arguments as written, and its package only where
// the class it leads to is not known; escapes in the list are read.
TEST(ShownBase, TheBaseAsWrittenWithoutItsPackage) {
    const auto handler = received("Handler<TIn>", 1);
    const auto list = received("AbstractList", 2);
    const auto entry = received("Map.Entry", 2);
    const auto cppBase = received("geo::Shape", 0);
    const auto cs = received("StringHandler", 1, "Handler<TIn>,f,=Handler<string>|IRepo,t");
    EXPECT_EQ(shownBaseText(*cs, "Handler<TIn>", handler.get()), "Handler<string>");
    EXPECT_EQ(shownBaseText(*cs, "IRepo", nullptr), "IRepo");
    const auto java = received("Words", 2,
                               "java.util.AbstractList,f,=java.util.AbstractList<String>|"
                               "java.util.Map.Entry,t,=java.util.Map.Entry<K\\, V>");
    EXPECT_EQ(shownBaseText(*java, "java.util.AbstractList", list.get()), "AbstractList<String>");
    EXPECT_EQ(shownBaseText(*java, "java.util.Map.Entry", entry.get()), "Map.Entry<K, V>");
    EXPECT_EQ(shownBaseText(*java, "java.util.Map.Entry", nullptr), "java.util.Map.Entry<K, V>");
    const auto cpp = received("geo::Circle", 0,
                              "::geo::Shape,f,=::geo::Shape<std::map<int\\, int>>|Shape,f,=Shape<T>|"
                              "Traits<int, 4>,t|Drawable,t");
    EXPECT_EQ(shownBaseText(*cpp, "::geo::Shape", cppBase.get()), "geo::Shape<std::map<int, int>>");
    EXPECT_EQ(shownBaseText(*cpp, "Shape", cppBase.get()), "geo::Shape<T>");
    EXPECT_EQ(shownBaseText(*cpp, "Drawable", nullptr), "Drawable");
    // A name holding commas, as a C++ base's arguments are sent, keeps them.
    EXPECT_EQ(shownBaseText(*cpp, "Traits<int, 4>", nullptr), "Traits<int, 4>");
    EXPECT_TRUE(cpp->getBases().at("Traits<int, 4>")->isInterface());
}

}  // namespace
