#include "net/MailHeader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

using Lines = std::vector<std::string>;

TEST(MailHeaderTest, TextBeyondAsciiGoesAsWholeCharacterWords) {
    EXPECT_EQ(textHeaderLines("Subject", "Vantry v1 Comment"), (Lines{"Subject: Vantry v1 Comment"}));
    // 30 two-byte characters: a word holds 22 of them (44 bytes), not half
    // of the 23rd.
    std::string accents;
    for (int i = 0; i < 30; ++i) accents += "\xc3\xa9";
    const Lines lines = textHeaderLines("Subject", accents);
    EXPECT_EQ(lines, (Lines{"Subject: =?utf-8?B?w6nDqcOpw6nDqcOpw6nDqcOpw6nDqcOpw6nDqcOpw6nDqcOpw6nDqcOpw6k=?=",
                            " =?utf-8?B?w6nDqcOpw6nDqcOpw6nDqQ==?="}));
    for (const std::string& line : lines) EXPECT_LE(line.size() - line.find("=?"), 75u);
}

TEST(MailHeaderTest, DisplayNamesBeyondAsciiAreEncodedAddressesKept) {
    EXPECT_EQ(addressListHeaderLines("To", {"a@b.c", "Ann <c@d.e>"}), (Lines{"To: a@b.c, Ann <c@d.e>"}));
    EXPECT_EQ(addressListHeaderLines("To", {"Zo\xc3\xab <z@x.y>", "J\xc3\xbcrgen M\xc3\xbcller <j@x.y>", "a@b.c"}),
              (Lines{"To: =?utf-8?B?Wm/Dqw==?= <z@x.y>,", " =?utf-8?B?SsO8cmdlbiBNw7xsbGVy?= <j@x.y>,",
                     " a@b.c"}));
    EXPECT_EQ(addressHeaderLines("From", "Ann <ann@example.invalid>"),
              (Lines{"From: Ann <ann@example.invalid>"}));
}

TEST(MailHeaderTest, DateAndMessageIdentity) {
    const char* saved = std::getenv("TZ");
    const std::string previous = saved != nullptr ? saved : "";
    setenv("TZ", "UTC0", 1);
    tzset();
    EXPECT_EQ(mailDate(86400 * 365 + 3723), "Fri, 01 Jan 1971 01:02:03 +0000");
    setenv("TZ", "XST-5:30", 1);
    tzset();
    EXPECT_EQ(mailDate(86400 * 365 + 3723), "Fri, 01 Jan 1971 06:32:03 +0530");
    if (saved != nullptr) setenv("TZ", previous.c_str(), 1);
    else unsetenv("TZ");
    tzset();

    const std::string id = newMessageId(5, ".my host!.example.");
    EXPECT_TRUE(id.starts_with("<5.") && id.ends_with("@myhost.example>")) << id;
    EXPECT_NE(newMessageId(5, "h"), newMessageId(5, "h"));
    EXPECT_TRUE(newMessageId(5, "!!").ends_with("@localhost>"));
}

}  // namespace
