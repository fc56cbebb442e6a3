// The main dialog's part in the network services: the first start's update
// offer, the periodic check at start-up and the Update... and Feedback...
// buttons.
#include "ui/CVantryDlg.h"

#include <gtest/gtest.h>

#include <sstream>

#include "net/CEmailDialog.h"
#include "net/CUpdateDialog.h"
#include "net/TestServers.h"
#include "net/UpdateSchedule.h"
#include "platform/gui/HeadlessBackend.h"
#include "run/TestRecording.h"
#include "ui/VantryDialogTemplate.h"

namespace {

using namespace net_testing;

// Reports a display and, instead of showing a modal dialog, notes which one
// it was and cancels it.
class DisplayBackend : public gui::HeadlessBackend {
public:
    using HeadlessBackend::HeadlessBackend;
    bool hasDisplay() const override { return true; }
    void runModalLoop(gui::CDialog& dialog) override {
        opened.push_back(dialog.getTemplate().id);
        dialog.EndDialog(gui::IDCANCEL);
    }
    std::vector<int> opened;
};

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", scratch.path.c_str(), 1);
        previous = gui::setBackend(&backend);
        store.writeText("General", "DocModule", "vantry-recording");
    }
    void TearDown() override {
        if (dialog && dialog->GetSafeHwnd() != nullptr) dialog->Destroy();
        gui::setBackend(previous);
        unsetenv("VANTRY_UPDATE_HOST");
    }
    CVantryDlg& open() {
        dialog = std::make_unique<CVantryDlg>(store);
        dialog->moduleDirectory = std::string(std::getenv("VANTRY_BUILD_DIR")) + "/modules";
        dialog->Create();
        return *dialog;
    }
    void dueCheckAgainst(const LoopbackServer& server) {
        store.writeInt("General", "HasRun", 1);
        store.writeInt("Update", "AutoCheck", 1);
        setenv("VANTRY_UPDATE_HOST", server.hostAndPort().c_str(), 1);
    }

    testing_support::ScratchDirectory scratch;
    std::ostringstream out, err;
    std::istringstream in;
    DisplayBackend backend{out, err, in, false};
    gui::Backend* previous = nullptr;
    platform::MemorySettingsStore store;
    std::unique_ptr<CVantryDlg> dialog;
};

TEST_F(StartUpTest, FirstStartOffersTheUpdateSettingsOnce) {
    open().PumpMessages();
    EXPECT_EQ(backend.opened, (std::vector<int>{IDD_UPDATE}));
    EXPECT_EQ(store.getInt("General", "HasRun", 0), 1);
    EXPECT_GE(store.saveCount, 1);
    dialog->Destroy();
    open().PumpMessages();
    EXPECT_EQ(backend.opened.size(), 1u);
}

TEST_F(StartUpTest, UnattendedStartOffersNothing) {
    gui::HeadlessBackend headless(out, err, in, false);
    gui::setBackend(&headless);
    open().PumpMessages();
    EXPECT_EQ(store.getInt("General", "HasRun", 0), 0);
    dialog->Destroy();
    gui::setBackend(&backend);
}

TEST_F(StartUpTest, DueCheckRunsBesideTheDialogAndSchedulesTheNext) {
    std::string version = "0,0,0,1";
    LoopbackServer server(httpHandler({{"/vantry/version2.txt", httpOk(version)}}));
    dueCheckAgainst(server);
    CVantryDlg& main = open();
    platform::WindowMessage message;
    do {
        main.window()->waitMessage(message);
        main.Dispatch(message);
    } while (message.message != WM_UPDATE_CHECKED);
    EXPECT_TRUE(backend.shownBoxes().empty());  // up to date, and quiet
    EXPECT_EQ(daysUntilNextUpdate(store, secondsNow()), defaultUpdateDays);
}

TEST_F(StartUpTest, UnreachableHostNeverHoldsTheStartUp) {
    LoopbackServer silent([](int connection) { drain(connection); });
    dueCheckAgainst(silent);
    open();
    // Create returned while the host stays silent; closing stops the check.
    dialog->Destroy();
    EXPECT_EQ(readNextUpdate(store), 0);
}

TEST_F(StartUpTest, ButtonsOpenTheUpdateAndFeedbackDialogs) {
    store.writeInt("General", "HasRun", 1);
    CVantryDlg& main = open();
    main.UserClick(ui::IDC_UPDATE);
    main.UserClick(ui::IDC_FEEDBACK);
    EXPECT_EQ(backend.opened, (std::vector<int>{IDD_UPDATE, IDD_EMAIL}));
}

}  // namespace
