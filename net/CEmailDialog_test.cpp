#include "net/CEmailDialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "net/NetEndpoints.h"
#include "net/TestServers.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/gui/HeadlessBackend.h"
#include "run/TestRecording.h"

namespace {

using namespace net_testing;

class EmailDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("VANTRY_FEEDBACK_MAILBOX", "feedback@vantry.test", 1);
        setenv("TEMP", temp.path.c_str(), 1);
        dialog.timeouts = {2000, 2000, 2000};
        dialog.Create();
    }
    void TearDown() override {
        dialog.Destroy();
        unsetenv("VANTRY_FEEDBACK_MAILBOX");
        unsetenv("VANTRY_SMTP_RELAY");
        unsetenv("TEMP");
    }
    void fill(const std::string& address, const std::string& name = "",
              const std::string& message = "It works.\r\nMostly.") {
        dialog.UserSelect(IDC_CATEGORY, 1);
        dialog.UserType(IDC_SENDER_NAME, name);
        dialog.UserType(IDC_RETURN_ADDRESS, address);
        dialog.UserType(IDC_MESSAGE, message);
        dialog.UserClick(IDC_MAILING_LIST);
    }

    testing_support::ScratchDirectory temp;
    TestDesktop desktop;
    gui::HeadlessBackend& headless = desktop.headless;
    platform::RecordingShell& shell = desktop.shell;
    platform::MemorySettingsStore store;
    CEmailDialog dialog{store};
};

TEST_F(EmailDialogTest, ReturnAddressIsCheckedBeforeAnythingIsSent) {
    ScriptedSmtpServer relay;
    LoopbackServer server(relay.handler());
    setenv("VANTRY_SMTP_RELAY", server.hostAndPort().c_str(), 1);
    for (const char* bad : {"", "ann.example.invalid", "ann@example", "ann@ex ample.invalid",
                            "a@b.c>\r\nRCPT To:<x@y.z"}) {
        fill(bad);
        dialog.GotoDlgCtrl(IDC_MESSAGE);
        dialog.UserClick(gui::IDOK);
        EXPECT_FALSE(dialog.IsEnded());
        EXPECT_EQ(dialog.GetFocusId(), IDC_RETURN_ADDRESS) << bad;
    }
    for (const auto& box : headless.shownBoxes())
        EXPECT_EQ(box.text, "Please enter a valid email address in the Return Email Address field.");
    EXPECT_TRUE(relay.lines().empty());
}

TEST_F(EmailDialogTest, FailedSendOffersTheMailClient) {
    LoopbackServer refusing([](int) {});  // accepts, then closes at once
    setenv("VANTRY_SMTP_RELAY", refusing.hostAndPort().c_str(), 1);
    fill("ann@example.invalid");
    headless.scriptAnswer(gui::Answer::Yes);
    dialog.UserClick(gui::IDOK);
    auto boxes = headless.shownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Could not send an email to feedback@vantry.test.  (Could not read "
                             "from socket.).  \r\nWould you like to try using your normal mail "
                             "client?");
    EXPECT_EQ(boxes[0].icon, gui::Icon::Error);
    EXPECT_FALSE(dialog.IsEnded());
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"mailto:feedback@vantry.test?SUBJECT=Vantry%20v" +
                                                      dottedProgramVersion() + "%20feedback"}));
    EXPECT_EQ(dialog.GetDlgItemText(IDC_MESSAGE), "It works.\r\nMostly.");
    EXPECT_TRUE(std::filesystem::is_empty(temp.path));

    dialog.UserClick(IDC_MAIL_CLIENT);
    EXPECT_EQ(shell.opened.size(), 2u);
}

TEST_F(EmailDialogTest, SentMailArrivesWholeAtARealServer) {
    testing_support::ScratchDirectory scratch;
    ChildProcess sink({systemPython(), testDataPath("smtp_sink.py"), scratch / "mail"});
    std::string port = sink.readLine(30);
    ASSERT_FALSE(port.empty()) << "the SMTP server did not start (is python3-aiosmtpd installed?)";
    setenv("VANTRY_SMTP_RELAY", ("127.0.0.1:" + port).c_str(), 1);
    // What users type: a pasted line of 997 octets, one of 5,000 (a
    // paragraph without breaks), text beyond ASCII, a line of one dot.
    std::string paragraph;
    while (paragraph.size() < 5000) paragraph += "and then it stopped ";
    paragraph.resize(5000);
    const std::string message = std::string(997, '#') + "\r\n" + paragraph +
                                "\r\n.\r\nGr\xc3\xbc\xc3\x9f" "e, \xe2\x98\x83 \r\n";
    fill("ann@example.invalid", "Zo\xc3\xab", message);
    dialog.UserClick(gui::IDOK);
    ASSERT_EQ(sink.wait(30), 0);
    EXPECT_TRUE(dialog.IsEnded());
    auto boxes = headless.shownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "An email message has been sent to feedback@vantry.test.  Thanks for "
                             "your input.");

    std::filesystem::create_directories(scratch / "parts");
    ChildProcess check({systemPython(), testDataPath("mail_check.py"), scratch / "mail", scratch / "parts"});
    ASSERT_EQ(check.wait(30), 0);
    std::string facts = check.readRest();
    EXPECT_NE(facts.find("header Subject: Vantry v" + dottedProgramVersion() + " Bug report\n"),
              std::string::npos)
        << facts;
    EXPECT_NE(facts.find("header From: ann@example.invalid\n"), std::string::npos);
    EXPECT_NE(facts.find("defects 0\nclosed yes\n"), std::string::npos);
    EXPECT_NE(facts.find("charset 1 utf-8\n"), std::string::npos);
    EXPECT_EQ(testing_support::readWholeFile(scratch / "parts/part-1"),
              "From: Zo\xc3\xab <ann@example.invalid>\r\n\r\n" + message +
                  "\r\n\r\n*** Include on mailing list. ***\r\n");
    EXPECT_EQ(testing_support::readWholeFile(scratch / "mail.envelope"),
              "ann@example.invalid\nfeedback@vantry.test\n");
}

}  // namespace
