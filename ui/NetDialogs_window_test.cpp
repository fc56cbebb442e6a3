// The update and feedback dialogs on real widgets (Qt's offscreen platform),
// opened from the main dialog as users open them, with screenshots.
#include <gtest/gtest.h>

#include "net/CEmailDialog.h"
#include "net/CUpdateDialog.h"
#include "net/NetEndpoints.h"
#include "net/TestServers.h"
#include "net/UpdateSchedule.h"
#include "platform/Shell.h"
#include "platform/gui/qt/testing/QtTestDriver.h"
#include "run/TestRecording.h"
#include "ui/CVantryDlg.h"
#include "ui/VantryDialogTemplate.h"

namespace qt = gui::qttest;

namespace {

class NetWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
        setenv("TEMP", scratch.path.c_str(), 1);
        store.writeText("General", "DocModule", "vantry-recording");
        store.writeInt("General", "HasRun", 1);
        previousShell = platform::setShell(&shell);
        qt::onMessageBox([this](const std::string& text, const std::string&, gui::Buttons,
                                gui::Icon) {
            boxes.push_back(text);
            return gui::Answer::No;
        });
    }
    void TearDown() override {
        platform::setShell(previousShell);
        unsetenv("VANTRY_SMTP_RELAY");
        unsetenv("TEMP");
    }
    void open(CVantryDlg& dialog) {
        dialog.moduleDirectory = std::string(std::getenv("VANTRY_BUILD_DIR")) + "/modules";
        dialog.Create();
        dialog.ShowWindow();
        qt::processEvents();
    }

    qt::UseQt useQt;
    testing_support::ScratchDirectory scratch;
    platform::MemorySettingsStore store;
    platform::RecordingShell shell;
    platform::Shell* previousShell = nullptr;
    std::vector<std::string> boxes;
};

TEST_F(NetWindowTest, FirstStartShowsTheUpdateDialogOverTheMainDialog) {
    store.writeInt("General", "HasRun", 0);
    int shownId = 0;
    qt::onModal([&](gui::CDialog& shown) {
        shownId = shown.getTemplate().id;
        EXPECT_EQ(qt::shownTitle(shown), "Update Vantry");
        qt::press(shown, qt::Key::Escape);
    });
    CVantryDlg dialog(store);
    open(dialog);
    ASSERT_TRUE(qt::waitUntil([&] { return shownId != 0; }));
    EXPECT_EQ(shownId, IDD_UPDATE);
    EXPECT_EQ(store.getInt("General", "HasRun", 0), 1);
}

TEST_F(NetWindowTest, UpdateDialogThroughItsWidgets) {
    store.writeInt("Update", "AutoCheck", 1);
    store.writeText("Update", "NextUpdate", std::to_string(secondsNow() + 3 * 86400));
    CVantryDlg dialog(store);
    open(dialog);
    bool done = false;
    qt::onModal([&](gui::CDialog& shown) {
        ASSERT_EQ(shown.getTemplate().id, IDD_UPDATE);
        EXPECT_EQ(qt::shownText(shown, IDC_NEXT_UPDATE), "The next update will be in 2 days.");
        EXPECT_EQ(qt::shownText(shown, IDC_UPDATE_DAYS), "15");
        qt::click(shown, IDC_AUTO_CHECK);
        EXPECT_FALSE(qt::shownEnabled(shown, IDC_UPDATE_DAYS));
        EXPECT_EQ(qt::shownText(shown, IDC_NEXT_UPDATE), "");
        qt::click(shown, IDC_AUTO_CHECK);
        qt::type(shown, IDC_UPDATE_DAYS, "0");
        qt::click(shown, IDC_UPDATE_OK);
        EXPECT_FALSE(shown.IsEnded());
        qt::type(shown, IDC_UPDATE_DAYS, "30");
        EXPECT_EQ(qt::layoutProblems(shown), std::vector<std::string>{});
        EXPECT_NE(qt::screenshot(shown, "update-dialog"), "");
        qt::click(shown, IDC_UPDATE_OK);
        done = shown.IsEnded();
    });
    qt::click(dialog, ui::IDC_UPDATE);
    ASSERT_TRUE(qt::waitUntil([&] { return done; }));
    EXPECT_EQ(boxes, (std::vector<std::string>{"Please enter an integer between 1 and 3650."}));
    EXPECT_EQ(store.getInt("Update", "UpdateDays", 0), 30);
    EXPECT_EQ(daysUntilNextUpdate(store, secondsNow()), 30);
}

TEST_F(NetWindowTest, FeedbackDialogThroughItsWidgets) {
    net_testing::ClosedPort closed;
    setenv("VANTRY_SMTP_RELAY", ("127.0.0.1:" + std::to_string(closed.port)).c_str(), 1);
    CVantryDlg dialog(store);
    open(dialog);
    bool done = false;
    qt::onModal([&](gui::CDialog& shown) {
        ASSERT_EQ(shown.getTemplate().id, IDD_EMAIL);
        EXPECT_EQ(qt::shownText(shown, IDC_CATEGORY), "Comment");
        qt::select(shown, IDC_CATEGORY, 2);
        qt::type(shown, IDC_SENDER_NAME, "Ann Example");
        qt::type(shown, IDC_RETURN_ADDRESS, "ann@example.invalid");
        qt::type(shown, IDC_MESSAGE, "Two lines\nof text.");
        qt::click(shown, IDC_MAILING_LIST);
        EXPECT_EQ(qt::layoutProblems(shown), std::vector<std::string>{});
        EXPECT_NE(qt::screenshot(shown, "feedback-dialog"), "");
        qt::click(shown, gui::IDOK);  // the relay refuses; the dialog stays
        EXPECT_FALSE(shown.IsEnded());
        EXPECT_EQ(qt::shownText(shown, IDC_MESSAGE), "Two lines\r\nof text.");
        qt::click(shown, IDC_MAIL_CLIENT);
        qt::press(shown, qt::Key::Escape);
        done = shown.IsEnded();
    });
    qt::click(dialog, ui::IDC_FEEDBACK);
    ASSERT_TRUE(qt::waitUntil([&] { return done; }));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("Could not send an email to feedback@vantry.example.invalid.  (Could "
                             "not connect to 127.0.0.1",
                             0),
              0u)
        << boxes[0];
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0].rfind("mailto:feedback@vantry.example.invalid?SUBJECT=Vantry%20v", 0),
              0u);
}

}  // namespace
