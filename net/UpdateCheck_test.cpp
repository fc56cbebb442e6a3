#include "net/UpdateCheck.h"

#include <gtest/gtest.h>

#include <sstream>

#include "VelkLib/VelkVersion.h"
#include "net/CUpdateDialog.h"
#include "net/NetEndpoints.h"
#include "net/TestServers.h"
#include "net/UpdateSchedule.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/gui/HeadlessBackend.h"
#include "platform/gui/KeyState.h"
#include "platform/gui/WaitCursor.h"
#include "run/TestRecording.h"

namespace {

using namespace net_testing;

constexpr std::int64_t day = 86400;

// The program's own version, as the version file would state it.
std::string ownVersion(int bump = 0) {
    int v[4];
    getModuleVersion(nullptr, v[0], v[1], v[2], v[3]);
    return std::to_string(v[0]) + "," + std::to_string(v[1]) + "," + std::to_string(v[2]) + "," +
           std::to_string(v[3] + bump);
}

class UpdateTest : public ::testing::Test {
protected:
    void SetUp() override { limits.totalTimeoutMilliseconds = 1000; }
    void TearDown() override { gui::setKeyStateSource(nullptr); }

    // Serves body (or a whole response, when it begins with "HTTP/"; no
    // answer at all for "(silent)") as the version file and runs the check.
    void check(const std::string& body, bool quiet = false) {
        std::string response = body == "(silent)"            ? ""
                               : body.rfind("HTTP/", 0) == 0 ? body
                                                             : httpOk(body);
        LoopbackServer server(httpHandler({{"/vantry/version2.txt", response},
                                           {"/moved.txt", httpOk("99\nhttp://dl.test/\n")}}));
        checkForUpdate(quiet, store, "http://" + server.hostAndPort() + "/vantry/version2.txt",
                       limits);
    }
    std::string lastBox() const {
        auto boxes = headless.shownBoxes();
        return boxes.empty() ? "(none)" : boxes.back().caption + ": " + boxes.back().text;
    }

    TestDesktop desktop;
    gui::HeadlessBackend& headless = desktop.headless;
    platform::RecordingShell& shell = desktop.shell;
    platform::MemorySettingsStore store;
    VelkHttp::Limits limits = updateFetchLimits();
};

TEST_F(UpdateTest, NewerVersionIsOfferedAndOpenedOnYes) {
    headless.scriptAnswer(gui::Answer::Yes);
    check("9,4,0,1\r\nhttps://dl.test/get?v=9\r\nFaster\\nSmaller\r\n9.4 beta\r\n");
    auto boxes = headless.shownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "New Version Available");
    EXPECT_EQ(boxes[0].buttons, gui::Buttons::YesNo);
    EXPECT_EQ(boxes[0].text,
              "Version 9.4 beta is available.\r\n\r\nFaster\r\nSmaller\r\n\r\n"
              "Would you like to download the new version from https://dl.test/get?v=9?");
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"https://dl.test/get?v=9"}));

    // A single number, no description, no shown version; No opens nothing.
    check("9\nhttp://dl.test/\n");
    EXPECT_EQ(lastBox(), "New Version Available: Version 9.0.0 is available.\r\n"
                         "Would you like to download the new version from http://dl.test/?");
    EXPECT_EQ(shell.opened.size(), 1u);

    // Redirects are followed.
    check("HTTP/1.1 302 Found\r\nLocation: /moved.txt\r\nContent-Length: 0\r\n\r\n");
    EXPECT_NE(lastBox().find("Version 99.0.0 is available."), std::string::npos);
}

TEST_F(UpdateTest, SameOrOlderVersionIsUpToDateUnlessForced) {
    check(ownVersion());
    EXPECT_EQ(lastBox(), "Version Info: This version of Vantry is up-to-date.");
    check("0,9\nhttp://dl.test/\n", true);
    EXPECT_EQ(headless.shownBoxes().size(), 1u);  // quiet: nothing more shown

    gui::setKeyStateSource([] { return unsigned(gui::KeyControl | gui::KeyShift); });
    check("0,9\nhttp://dl.test/\n", true);
    EXPECT_NE(lastBox().find("Version 0.9.0 is available."), std::string::npos);
    gui::setKeyStateSource([] { return unsigned(gui::KeyShift); });
    check(ownVersion(1) + "\nhttp://dl.test/\n", true);
    EXPECT_EQ(headless.shownBoxes().size(), 3u);
}

TEST_F(UpdateTest, EveryFailureShowsTheErrorBoxAndStillSchedules) {
    const std::string prefix = "Error: Could not connect to the update site (error was: ";
    check("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n", true);
    EXPECT_EQ(lastBox().rfind(prefix + "Could not get URL http://127.0.0.1:", 0), 0u) << lastBox();
    EXPECT_GT(readNextUpdate(store), 0);

    check(std::string(70000, '9'));
    EXPECT_EQ(lastBox(), prefix + "Error while reading from HTTP request.).");
    check("(silent)");
    EXPECT_NE(lastBox().find(prefix + "Could not open URL"), std::string::npos) << lastBox();

    for (const char* malformed : {"2,x,1", "2,-1", "2,99999999999", "", "\n\n"}) {
        check(malformed);
        EXPECT_EQ(lastBox().rfind(prefix, 0), 0u) << malformed << ": " << lastBox();
    }
    check("2,x");
    EXPECT_EQ(lastBox(), prefix + "Error reading string: expected a number, got \"x\").");
    check("99\nftp://dl.test/file\n");
    EXPECT_EQ(lastBox(), prefix + "The version file gives no http or https download address.).");
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_FALSE(gui::waitCursorShown());
}

TEST_F(UpdateTest, BackgroundCheckReportsOnTheWindowsThread) {
    platform::MessageWindow window;
    LoopbackServer server(httpHandler({{"/vantry/version2.txt", httpOk(ownVersion())}}));
    BackgroundUpdateCheck background(window.handle(), platform::WM_USER + 20,
                                     "http://" + server.hostAndPort() + "/vantry/version2.txt",
                                     limits);
    platform::WindowMessage message;
    window.waitMessage(message);
    EXPECT_EQ(message.message, platform::WM_USER + 20);
    EXPECT_TRUE(background.finish(store));
    EXPECT_TRUE(headless.shownBoxes().empty());  // up to date, quietly
    EXPECT_EQ(daysUntilNextUpdate(store, secondsNow()), defaultUpdateDays);
}

TEST(UpdateScheduleTest, DaysIntervalAndSixtyFourBitMoments) {
    platform::MemorySettingsStore store;
    EXPECT_FALSE(isAutoCheckEnabled(store));
    EXPECT_EQ(daysUntilNextUpdate(store, 1000), 0);
    writeNextUpdate(store, 1000);
    EXPECT_EQ(readNextUpdate(store), 1000 + 16 * day);
    EXPECT_EQ(daysUntilNextUpdate(store, 1000), 15);
    EXPECT_EQ(daysUntilNextUpdate(store, 1000 + 15 * day + 1), 0);

    store.writeInt("Update", "UpdateDays", 0);
    EXPECT_EQ(readUpdateDays(store), 1);
    store.writeInt("Update", "UpdateDays", 999999);
    EXPECT_EQ(readUpdateDays(store), 3650);
    // Past 2038 the moment still reads back whole.
    const std::int64_t late = 4102444800;  // 2100-01-01
    writeNextUpdate(store, late);
    EXPECT_EQ(readNextUpdate(store), late + 3651 * day);
    store.writeText("Update", "NextUpdate", "soon");
    EXPECT_EQ(readNextUpdate(store), 0);
}

TEST(NetEndpointsTest, EnvironmentOverSettingsOverDefault) {
    platform::MemorySettingsStore store;
    unsetenv("VANTRY_UPDATE_HOST");
    EXPECT_EQ(versionFileAddress(store), "http://vantry.example.invalid/vantry/version2.txt");
    store.writeText("Update", "UpdateHost", " updates.test:8080 ");
    EXPECT_EQ(endpointValue(NetEndpoint::UpdateHost, store), "updates.test:8080");
    setenv("VANTRY_UPDATE_HOST", "127.0.0.1:9", 1);
    EXPECT_EQ(endpointValue(NetEndpoint::UpdateHost, store), "127.0.0.1:9");
    unsetenv("VANTRY_UPDATE_HOST");

    store.writeText("Update", "WebSite", "https://site.test/");
    EXPECT_EQ(bugPageAddress(store), "https://site.test/app/bugs/BugsController.jpf");
    EXPECT_EQ(siteLinkAddress(store).rfind("https://site.test/vantry?", 0), 0u);

    EXPECT_EQ(splitHostAndPort("relay.test", 25).port, 25);
    EXPECT_EQ(splitHostAndPort("relay.test:2525", 25).port, 2525);
    EXPECT_EQ(splitHostAndPort("[::1]:26", 25).host, "::1");
    for (const char* bad : {"relay:", "relay:x", "relay:70000", ":25", "a b"}) {
        EXPECT_EQ(testing_support::errorOf([&] { splitHostAndPort(bad, 25); }),
                  std::string("Bad host name: ") + bad);
    }
}

class UpdateDialogTest : public UpdateTest {
protected:
    // The dialog over the store as the test has filled it.
    CUpdateDialog& open() {
        shown = std::make_unique<CUpdateDialog>(store);
        shown->Create();
        return *shown;
    }
    void TearDown() override {
        if (shown) shown->Destroy();
        UpdateTest::TearDown();
    }
    std::unique_ptr<CUpdateDialog> shown;
};

TEST_F(UpdateDialogTest, NextCheckLineFollowsTheBox) {
    store.writeText("Update", "NextUpdate", std::to_string(secondsNow() + day + day / 2));
    CUpdateDialog& dialog = open();
    EXPECT_EQ(dialog.GetDlgItemText(IDC_NEXT_UPDATE), "");
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_UPDATE_DAYS));
    EXPECT_EQ(dialog.GetDlgItemText(IDC_UPDATE_DAYS), "15");
    dialog.UserClick(IDC_AUTO_CHECK);
    EXPECT_EQ(dialog.GetDlgItemText(IDC_NEXT_UPDATE), "The next update will be in 1 day.");
    EXPECT_TRUE(dialog.IsControlEnabled(IDC_UPDATE_DAYS));
    // Typing never brings up a message, even half-way through a number.
    dialog.UserType(IDC_UPDATE_DAYS, "");
    EXPECT_TRUE(headless.shownBoxes().empty());
}

TEST_F(UpdateDialogTest, OkValidatesThenStoresTheSchedule) {
    CUpdateDialog& dialog = open();
    dialog.UserClick(IDC_AUTO_CHECK);
    int writes = store.writeCount;
    for (const char* bad : {"0", "3651", "ten"}) {
        dialog.UserType(IDC_UPDATE_DAYS, bad);
        dialog.UserClick(IDC_UPDATE_OK);
        EXPECT_FALSE(dialog.IsEnded());
    }
    EXPECT_EQ(store.writeCount, writes);
    auto boxes = headless.shownBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, "Please enter an integer between 1 and 3650.");
    EXPECT_EQ(boxes[2].text, "Please enter an integer.");
    EXPECT_EQ(dialog.GetFocusId(), IDC_UPDATE_DAYS);

    dialog.UserType(IDC_UPDATE_DAYS, "30");
    dialog.UserClick(IDC_UPDATE_OK);
    EXPECT_TRUE(dialog.IsEnded());
    EXPECT_EQ(dialog.GetResult(), gui::IDOK);
    EXPECT_EQ(store.getInt("Update", "AutoCheck", 0), 1);
    EXPECT_EQ(store.getInt("Update", "UpdateDays", 0), 30);
    EXPECT_EQ(daysUntilNextUpdate(store, secondsNow()), 30);
    EXPECT_EQ(store.saveCount, 1);
}

TEST_F(UpdateDialogTest, CheckNowReportsAndShowsTheNewSchedule) {
    store.writeInt("Update", "AutoCheck", 1);
    store.writeInt("Update", "UpdateDays", 7);
    LoopbackServer server(httpHandler({{"/vantry/version2.txt", httpOk(ownVersion())}}));
    CUpdateDialog& dialog = open();
    EXPECT_EQ(dialog.GetDlgItemText(IDC_NEXT_UPDATE), "The next update will be in 0 days.");
    dialog.versionAddress = "http://" + server.hostAndPort() + "/vantry/version2.txt";
    dialog.UserClick(IDC_CHECK_NOW);
    EXPECT_EQ(lastBox(), "Version Info: This version of Vantry is up-to-date.");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_NEXT_UPDATE), "The next update will be in 7 days.");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_UPDATE_SITE_LINK).rfind("http://vantry.example.invalid/vantry?", 0), 0u);
}

}  // namespace
