#include "modules/common/ClassPagePath.h"

#include <gtest/gtest.h>

TEST(ClassPagePath, PagesNeverLeaveTheirDirectory) {
    EXPECT_EQ(classPagePath("../", "C:\\src\\geo", "Shape"), "../geo/Shape.html");
    EXPECT_EQ(classPagePath("", "lib", "Outer::Inner"), "lib/Outer..Inner.html");
    EXPECT_EQ(classPagePath("", "my lib", "Map[2]"), "my_lib/Map_2_.html");
    EXPECT_EQ(classPagePath("", "geo", "(geo globals)"), "geo/(geo_globals).html");
    EXPECT_EQ(classPagePath("", "..", "a/../../x"), "_/a_.._.._x.html");
    EXPECT_EQ(classPagePath("", "", ".."), "_.html");
}
