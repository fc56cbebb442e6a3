#include "modules/common/ProgramVersion.h"

#include "VelkLib/VelkError.h"

#include <gtest/gtest.h>

TEST(ProgramVersion, MissingRecord) {
    EXPECT_THROW(formatVersionText("/nonexistent/program"), VelkError);
    // The test program carries no version record; pages are still written.
    EXPECT_FALSE(shownProgramVersion().empty());
}
