#include "platform/gui/Dialog.h"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "platform/gui/HeadlessBackend.h"

namespace {

using gui::ControlKind;

constexpr gui::ControlTemplate controls[] = {
    {10, ControlKind::Edit, "", {0, 0, 50, 12}, gui::StyleTabStop},
    {20, ControlKind::Radio, "A", {0, 20, 20, 10}, gui::StyleGroup},
    {21, ControlKind::Radio, "B", {0, 30, 20, 10}, 0},
    {22, ControlKind::Radio, "C", {0, 40, 20, 10}, 0},
    {30, ControlKind::Radio, "X", {0, 50, 20, 10}, gui::StyleGroup},
    {31, ControlKind::Radio, "Y", {0, 60, 20, 10}, 0},
    {40, ControlKind::CheckBox, "Check", {0, 70, 20, 10}, 0},
    {50, ControlKind::DropDownList, "", {0, 80, 50, 60}, gui::StyleSorted},
    {60, ControlKind::ProgressBar, "", {0, 90, 50, 8}, 0},
    {gui::IDOK, ControlKind::DefaultButton, "OK", {0, 100, 30, 14}, 0},
};
constexpr gui::DialogTemplate testTemplate{500, "Test", 100, 120, controls};

class ProbeDialog : public gui::CDialog {
public:
    ProbeDialog() : CDialog(testTemplate) {}
    void DoDataExchange(gui::CDataExchange& dx) override {
        gui::DDX_Text(dx, 10, text);
        gui::DDX_Radio(dx, 20, first);
        gui::DDX_Radio(dx, 30, second);
        gui::DDX_Check(dx, 40, checked);
    }
    bool OnCommand(int id, unsigned notification) override {
        commands.push_back(id * 10000 + static_cast<int>(notification));
        return CDialog::OnCommand(id, notification);
    }
    bool OnMessage(const platform::WindowMessage& message) override {
        received.push_back(message.lParam);
        if (message.lParam < 0) EndDialog(7);
        return true;
    }
    std::string text;
    int first = 0, second = -1, checked = 0;
    std::vector<int> commands;
    std::vector<std::intptr_t> received;
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { previous = gui::setBackend(&headless); }
    void TearDown() override { gui::setBackend(previous); }
    std::ostringstream out, err;
    std::istringstream in;
    gui::HeadlessBackend headless{out, err, in, false};
    gui::Backend* previous = nullptr;
};

TEST_F(DialogTest, DataExchangeRunsBothWaysAndRadioGroupsEndAtTheNextGroupStyle) {
    ProbeDialog dialog;
    dialog.text = "hello";
    dialog.first = 2;
    dialog.checked = 1;
    dialog.Create();
    EXPECT_EQ(dialog.GetDlgItemText(10), "hello");
    EXPECT_EQ(dialog.IsDlgButtonChecked(22), 1);
    EXPECT_EQ(dialog.IsDlgButtonChecked(30) + dialog.IsDlgButtonChecked(31), 0);
    EXPECT_EQ(dialog.IsDlgButtonChecked(40), 1);

    dialog.UserClick(21);
    dialog.UserClick(31);
    dialog.UserClick(40);
    dialog.UserType(10, "typed");
    dialog.UpdateData(true);
    EXPECT_EQ(dialog.first, 1);
    EXPECT_EQ(dialog.second, 1);
    EXPECT_EQ(dialog.checked, 0);
    EXPECT_EQ(dialog.text, "typed");
    EXPECT_EQ(dialog.commands.back(), 10 * 10000 + gui::EN_CHANGE);

    dialog.EnableControl(21, false);
    dialog.UserClick(21);  // a disabled radio ignores the click
    EXPECT_EQ(dialog.GetRadioIndex(20), 1);
    EXPECT_THROW(dialog.control(999), std::out_of_range);
    dialog.Destroy();
}

TEST_F(DialogTest, SortedListsPlaceEntriesAndKeepTheSelection) {
    ProbeDialog dialog;
    EXPECT_EQ(dialog.AddEntry(50, "vantry-standard"), 0);
    dialog.SetSelection(50, 0);
    EXPECT_EQ(dialog.AddEntry(50, "Vantry-old"), 0);
    EXPECT_EQ(dialog.GetSelection(50), 1);
    EXPECT_EQ(dialog.GetDlgItemText(50), "vantry-standard");
    EXPECT_EQ(dialog.FindEntry(50, "VANTRY-OLD"), 0);
    EXPECT_EQ(dialog.FindEntry(50, "vantry"), -1);
    dialog.SetSelection(50, 5);
    EXPECT_EQ(dialog.GetSelection(50), -1);
    EXPECT_EQ(dialog.GetDlgItemText(50), "");
    dialog.SetProgressPosition(60, 250);
    EXPECT_EQ(dialog.GetProgressPosition(60), 100);
}

TEST_F(DialogTest, PostedMessagesArriveInOrderAndNotAfterDestruction) {
    ProbeDialog dialog;
    dialog.Create();
    platform::WindowHandle handle = dialog.GetSafeHwnd();
    std::thread poster([handle] {
        for (int i = 0; i < 10000; ++i) platform::PostMessage(handle, platform::WM_USER + 3, 0, i);
        platform::PostMessage(handle, platform::WM_USER + 3, 0, -1);
    });
    headless.runModalLoop(dialog);
    poster.join();
    ASSERT_EQ(dialog.received.size(), 10001u);
    for (int i = 0; i < 10000; ++i) ASSERT_EQ(dialog.received[static_cast<std::size_t>(i)], i);
    EXPECT_EQ(dialog.GetResult(), 7);
    dialog.Destroy();
    EXPECT_FALSE(platform::PostMessage(handle, platform::WM_USER + 3, 0, 1));
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST_F(DialogTest, InterruptCancelsTheRunningModalLoop) {
    ProbeDialog dialog;
    EXPECT_FALSE(headless.interrupt());
    dialog.Create();
    std::thread interrupter([&] {
        while (!headless.interrupt()) std::this_thread::yield();
    });
    headless.runModalLoop(dialog);
    interrupter.join();
    EXPECT_EQ(dialog.GetResult(), gui::IDCANCEL);
    dialog.Destroy();
}

// An unattended run starts while its dialog initialises, before the modal
// loop: a signal then cancels the dialog once the loop serves its queue.
TEST_F(DialogTest, AnInterruptBeforeTheModalLoopCancelsTheDialogWhenItRuns) {
    ProbeDialog dialog;
    dialog.Create();
    EXPECT_TRUE(headless.interrupt());
    headless.runModalLoop(dialog);
    EXPECT_EQ(dialog.GetResult(), gui::IDCANCEL);
    dialog.Destroy();
    EXPECT_FALSE(headless.interrupt());
}

TEST_F(DialogTest, HeadlessBoxesGoToTheStreamsAndQuestionsWithoutTerminalAnswerNo) {
    gui::messageBox("broken", "Vantry", gui::Buttons::Ok, gui::Icon::Error);
    gui::messageBox("Cancelled.", "Vantry", gui::Buttons::Ok, gui::Icon::Information);
    EXPECT_EQ(gui::messageBox("Overwrite x?", "Vantry", gui::Buttons::YesNo, gui::Icon::Question),
              gui::Answer::No);
    headless.scriptAnswer(gui::Answer::Yes);
    EXPECT_EQ(gui::messageBox("Again?", "Vantry", gui::Buttons::YesNo, gui::Icon::Question),
              gui::Answer::Yes);
    EXPECT_EQ(err.str().substr(0, 41), "vantry: error: broken\nvantry: Cancelled.\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(headless.shownBoxes().size(), 4u);

    std::istringstream reply("yes\n");
    gui::HeadlessBackend asking(out, err, reply, true);
    EXPECT_EQ(asking.messageBox("Overwrite y?", "", gui::Buttons::YesNo, gui::Icon::Question),
              gui::Answer::Yes);
}

}  // namespace
