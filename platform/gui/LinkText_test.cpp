#include "platform/gui/LinkText.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/Shell.h"
#include "platform/gui/HeadlessBackend.h"

namespace {

using gui::ControlKind;

constexpr gui::ControlTemplate controls[] = {
    {55, ControlKind::Link, "https://example.invalid/page", {0, 0, 100, 8}, 0},
    {56, ControlKind::Link, "Our list", {0, 10, 100, 8}, 0},
};
constexpr gui::DialogTemplate linkTemplate{600, "Links", 110, 30, controls};

class LinkDialog : public gui::CDialog {
public:
    LinkDialog() : CDialog(linkTemplate) { listLink.url = "https://example.invalid/list"; }
    void DoDataExchange(gui::CDataExchange& dx) override {
        gui::DDX_Control(dx, 55, pageLink);
        gui::DDX_Control(dx, 56, listLink);
    }
    bool OnCommand(int id, unsigned notification) override {
        ++commandsSeen;
        return CDialog::OnCommand(id, notification);
    }
    gui::CLinkText pageLink;
    gui::CLinkText listLink;
    int commandsSeen = 0;
};

class LinkTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = gui::setBackend(&headless);
        previousShell = platform::setShell(&shell);
    }
    void TearDown() override {
        platform::setShell(previousShell);
        gui::setBackend(previous);
    }
    std::ostringstream out, err;
    std::istringstream in;
    gui::HeadlessBackend headless{out, err, in, false};
    gui::Backend* previous = nullptr;
    platform::RecordingShell shell;
    platform::Shell* previousShell = nullptr;
};

TEST_F(LinkTextTest, ClickOpensTheTargetAndColoursTheLinkByOutcome) {
    LinkDialog dialog;
    dialog.Create();
    EXPECT_EQ(dialog.control(55).textColor, gui::CLinkText::linkColor);

    // A target that does not open beeps and stays blue.
    shell.succeed = false;
    dialog.UserClick(56);
    EXPECT_EQ(shell.opened, std::vector<std::string>{"https://example.invalid/list"});
    EXPECT_EQ(headless.beepCount(), 1);
    EXPECT_FALSE(dialog.listLink.visited);
    EXPECT_EQ(dialog.control(56).textColor, gui::CLinkText::linkColor);

    // Without a target of its own a link opens its text, and turns purple.
    shell.succeed = true;
    dialog.UserClick(55);
    EXPECT_EQ(shell.opened.back(), "https://example.invalid/page");
    EXPECT_EQ(dialog.pageLink.url, "https://example.invalid/page");
    EXPECT_TRUE(dialog.pageLink.visited);
    EXPECT_EQ(dialog.control(55).textColor, gui::CLinkText::visitedColor);
    // The link took its clicks; the dialog never saw them.
    EXPECT_EQ(dialog.commandsSeen, 0);
    dialog.Destroy();
}

}  // namespace
