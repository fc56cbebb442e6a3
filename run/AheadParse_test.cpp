#include "run/AheadParse.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

std::vector<std::string> passedOn;

void recordStatus(const char* line1, const char* line2, void*) {
    passedOn.push_back(std::string(line1 ? line1 : "<null>") + "|" + (line2 ? line2 : "<null>"));
}

void recordLog(const char* text, void*) { passedOn.push_back(std::string("log ") + text); }

}  // namespace

// A file parsed ahead reports a second line for every member it reads; the
// carry-over passes on the last of each run of them (a blank one changes
// nothing), and everything else (first lines, errors) as it came, in order.
TEST(AheadParse, ARunOfSecondLinesIsPassedOnAsItsLast) {
    AheadParse ahead;
    AheadParse::status(nullptr, "a", &ahead);
    AheadParse::status(nullptr, "b", &ahead);
    AheadParse::status(nullptr, "", &ahead);  // leaves the line as it is
    AheadParse::status(nullptr, "c", &ahead);
    AheadParse::log("warning", &ahead);
    AheadParse::status(nullptr, "d", &ahead);
    AheadParse::status("", "Phase", &ahead);
    AheadParse::status(nullptr, "e", &ahead);
    AheadParse::status(nullptr, "f", &ahead);

    DocGenClassList run;
    std::map<std::string, MacroDefinition> macros;
    passedOn.clear();
    ASSERT_TRUE(carryOver(ahead, run, macros, recordStatus, recordLog, nullptr));
    EXPECT_EQ(passedOn, (std::vector<std::string>{"<null>|b", "<null>|c", "log warning",
                                                  "<null>|d", "|Phase", "<null>|f"}));
}
