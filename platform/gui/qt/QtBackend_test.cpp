#include "platform/gui/qt/QtBackend.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include <filesystem>
#include <stdexcept>
#include <thread>
#include <unistd.h>

#include "platform/gui/Dialog.h"
#include "platform/gui/qt/testing/QtTestDriver.h"

namespace {

using gui::ControlKind;
namespace qt = gui::qttest;

constexpr unsigned T = gui::StyleTabStop;
constexpr unsigned G = gui::StyleGroup;

constexpr gui::ControlTemplate controls[] = {
    {gui::IDSTATIC, ControlKind::Label, "&Name:", {7, 9, 30, 8}, 0},
    {10, ControlKind::Edit, "", {40, 7, 80, 12}, T | G},
    {11, ControlKind::MultiLineEdit, "", {7, 24, 113, 30}, T | G},
    {20, ControlKind::Radio, "A", {7, 60, 30, 10}, T | G},
    {21, ControlKind::Radio, "B", {40, 60, 30, 10}, 0},
    {30, ControlKind::Radio, "X", {7, 74, 30, 10}, T | G},
    {31, ControlKind::Radio, "Y", {40, 74, 30, 10}, 0},
    {40, ControlKind::CheckBox, "Check", {80, 60, 40, 10}, T | G},
    {50, ControlKind::DropDownList, "", {7, 90, 60, 60}, T | G | gui::StyleSorted},
    {60, ControlKind::ProgressBar, "", {7, 106, 113, 8}, 0},
    {70, ControlKind::Link, "https://example.invalid/", {7, 118, 113, 8}, 0},
    {80, ControlKind::DefaultButton, "Go", {7, 130, 40, 14}, T | G},
    {gui::IDOK, ControlKind::Button, "OK", {50, 130, 40, 14}, T},
};
constexpr gui::DialogTemplate probeTemplate{500, "Probe", 127, 150, controls};

class ProbeDialog : public gui::CDialog {
public:
    ProbeDialog() : CDialog(probeTemplate) {}
    void DoDataExchange(gui::CDataExchange& dx) override {
        gui::DDX_Text(dx, 10, name);
        gui::DDX_Text(dx, 11, lines);
        gui::DDX_Radio(dx, 20, first);
        gui::DDX_Radio(dx, 30, second);
        gui::DDX_Check(dx, 40, checked);
    }
    bool OnCommand(int id, unsigned notification) override {
        if (notification == gui::BN_CLICKED && id == 80) ++goClicks;
        if (notification == gui::CBN_SELCHANGE) chosen = GetDlgItemText(id);
        if (notification == gui::BN_CLICKED && id == 70 && throwOnLink)
            throw std::runtime_error("handler failed");
        return CDialog::OnCommand(id, notification);
    }
    void OnClose() override { ++closeRequests; }
    bool OnMessage(const platform::WindowMessage& message) override {
        if (message.message == gui::WM_SYSCOMMAND) menuCommands.push_back(static_cast<int>(message.wParam));
        if (message.message == platform::WM_USER + 3) {
            received.push_back(message.lParam);
            if (message.lParam < 0) EndDialog(7);
        }
        return true;
    }
    bool OnToolTipNeedText(int id, std::string& text) override {
        if (id != 10) return false;
        text = tip;
        return true;
    }
    std::string name, lines, chosen, tip = "Type a name.";
    int first = 0, second = 1, checked = 0, goClicks = 0, closeRequests = 0;
    bool throwOnLink = false;
    std::vector<int> menuCommands;
    std::vector<std::intptr_t> received;
};

QWidget* backendWindow(gui::CDialog& dialog) { return qt::backend().windowOf(dialog); }

class QtBackendTest : public ::testing::Test {
protected:
    qt::UseQt useQt;
};

TEST_F(QtBackendTest, WidgetsFollowTheTemplateAndUserInputReachesTheDialog) {
    ProbeDialog dialog;
    dialog.Create();
    dialog.ShowWindow();
    EXPECT_EQ(qt::shownTitle(dialog), "Probe");
    EXPECT_TRUE(qt::shownChecked(dialog, 20));
    EXPECT_TRUE(qt::shownChecked(dialog, 31));

    qt::type(dialog, 10, "Ada");
    qt::type(dialog, 11, "one\r\ntwo");
    qt::click(dialog, 21);
    qt::click(dialog, 30);  // another group: the first keeps its choice
    qt::click(dialog, 40);
    dialog.AddEntry(50, "beta");
    dialog.AddEntry(50, "Alpha");
    qt::select(dialog, 50, 1);
    dialog.UpdateData(true);
    EXPECT_EQ(dialog.name, "Ada");
    EXPECT_EQ(dialog.lines, "one\r\ntwo");
    EXPECT_EQ(dialog.first, 1);
    EXPECT_EQ(dialog.second, 0);
    EXPECT_TRUE(qt::shownChecked(dialog, 21));
    EXPECT_FALSE(qt::shownChecked(dialog, 20));
    EXPECT_EQ(dialog.checked, 1);
    EXPECT_EQ(dialog.chosen, "beta");

    // The program's changes show in the widgets.
    dialog.SetDlgItemText(11, "a\r\nb\r\n");
    EXPECT_EQ(qt::shownText(dialog, 11), "a\r\nb\r\n");
    dialog.SetProgressPosition(60, 40);
    EXPECT_EQ(qt::shownProgress(dialog, 60), 40);
    dialog.EnableControl(80, false);
    EXPECT_FALSE(qt::shownEnabled(dialog, 80));
    qt::click(dialog, 80);  // a disabled button takes no click
    EXPECT_EQ(dialog.goClicks, 0);
    dialog.EnableControl(80, true);
    dialog.ShowControl(40, false);
    EXPECT_FALSE(qt::shownVisible(dialog, 40));
    dialog.SetWindowText("42% (Probe)");
    EXPECT_EQ(qt::shownTitle(dialog), "42% (Probe)");
    dialog.Destroy();
}

TEST_F(QtBackendTest, KeysAndTheCloseBoxGoThroughTheDialog) {
    ProbeDialog dialog;
    dialog.Create();
    dialog.ShowWindow();
    QApplication::setActiveWindow(backendWindow(dialog));
    qt::type(dialog, 10, "x");
    // Enter in a one-line edit presses the default button, and only that.
    qt::press(dialog, qt::Key::Enter);
    EXPECT_EQ(dialog.goClicks, 1);
    EXPECT_FALSE(dialog.IsEnded());
    // Enter in a multi-line edit is a line break.
    qt::type(dialog, 11, "a");
    qt::press(dialog, qt::Key::Enter);
    EXPECT_EQ(dialog.goClicks, 1);
    EXPECT_EQ(dialog.GetDlgItemText(11), "a\r\n");

    // Tab goes on in the template's order, past controls without a tab stop.
    dialog.GotoDlgCtrl(10);
    qt::press(dialog, qt::Key::Tab);
    EXPECT_EQ(qt::focusedControl(dialog), 11);
    qt::press(dialog, qt::Key::Tab);
    EXPECT_EQ(qt::focusedControl(dialog), 20);
    qt::press(dialog, qt::Key::Tab);
    EXPECT_EQ(qt::focusedControl(dialog), 30);

    backendWindow(dialog)->close();
    EXPECT_EQ(dialog.closeRequests, 1);
    EXPECT_TRUE(backendWindow(dialog)->isVisible());

    qt::press(dialog, qt::Key::Escape);
    EXPECT_TRUE(dialog.IsEnded());
    EXPECT_EQ(dialog.GetResult(), gui::IDCANCEL);
    EXPECT_FALSE(backendWindow(dialog)->isVisible());
    dialog.Destroy();
}

TEST_F(QtBackendTest, ModalLoopServesPostsFromAnotherThreadAndNestsDialogs) {
    ProbeDialog outer;
    ProbeDialog inner;
    outer.Create();
    platform::WindowHandle handle = outer.GetSafeHwnd();
    std::thread poster;
    // Once the outer loop runs, a nested dialog runs its own loop; when it
    // has ended, a worker's posts end the outer one.
    qt::onModal([&](gui::CDialog& shown) {
        if (&shown == &inner) {
            inner.EndDialog(gui::IDOK);
            return;
        }
        EXPECT_EQ(inner.DoModal(), gui::IDOK);
        poster = std::thread([handle] {
            for (int i = 0; i < 2000; ++i) platform::PostMessage(handle, platform::WM_USER + 3, 0, i);
            platform::PostMessage(handle, platform::WM_USER + 3, 0, -1);
        });
    });
    gui::backend().runModalLoop(outer);
    poster.join();
    ASSERT_EQ(outer.received.size(), 2001u);
    for (int i = 0; i < 2000; ++i) ASSERT_EQ(outer.received[static_cast<std::size_t>(i)], i);
    EXPECT_EQ(outer.GetResult(), 7);
    outer.Destroy();
    EXPECT_EQ(inner.GetSafeHwnd(), nullptr);
}

TEST_F(QtBackendTest, AHandlersExceptionEndsTheModalLoopAndPassesOn) {
    ProbeDialog dialog;
    dialog.throwOnLink = true;
    qt::onModal([](gui::CDialog& shown) { qt::click(shown, 70); });
    EXPECT_THROW(dialog.DoModal(), std::runtime_error);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST_F(QtBackendTest, UnitsFollowTheFontAndNothingOverlaps) {
    ProbeDialog normal;
    normal.Create();
    qt::setFontScale(1.5);
    ProbeDialog large;
    large.Create();
    gui::Rect a = qt::shownWindowRect(normal);
    gui::Rect b = qt::shownWindowRect(large);
    EXPECT_NEAR(static_cast<double>(b.width) / a.width, 1.5, 0.15);
    EXPECT_NEAR(static_cast<double>(b.height) / a.height, 1.5, 0.15);
    EXPECT_EQ(qt::layoutProblems(normal), std::vector<std::string>{});
    EXPECT_EQ(qt::layoutProblems(large), std::vector<std::string>{});

    // A control moved onto another is reported.
    normal.MoveControl(40, gui::Rect{30, 60, 40, 10});
    EXPECT_FALSE(qt::layoutProblems(normal).empty());
    EXPECT_FALSE(qt::screenshot(normal, "probe-dialog").empty());
    normal.Destroy();
    large.Destroy();
}

TEST_F(QtBackendTest, ToolTipsAskTheDialogOnlyWhileEnabled) {
    ProbeDialog dialog;
    dialog.Create();
    dialog.ShowWindow();
    EXPECT_EQ(qt::toolTipOf(dialog, 10), "");
    dialog.EnableToolTips(true);
    EXPECT_EQ(qt::toolTipOf(dialog, 10), "Type a name.");
    EXPECT_EQ(qt::toolTipOf(dialog, 40), "");
    dialog.tip = std::string(120, 'w') + " end";
    EXPECT_EQ(qt::toolTipOf(dialog, 10), dialog.tip);
    dialog.Destroy();
}

TEST_F(QtBackendTest, MenuEntriesBecomeSystemCommands) {
    ProbeDialog dialog;
    dialog.AppendMenuEntry(0, "");
    dialog.AppendMenuEntry(0x30, "&Visit Website");
    dialog.AppendMenuEntry(0x10, "&About Probe...");
    dialog.Create();
    dialog.ShowWindow();
    EXPECT_TRUE(qt::chooseMenuEntry(dialog, "&About Probe..."));
    EXPECT_FALSE(qt::chooseMenuEntry(dialog, "Missing"));
    EXPECT_EQ(dialog.menuCommands, std::vector<int>{0x10});
    dialog.Destroy();
}

TEST_F(QtBackendTest, FileChooserGetsTheTranslatedFiltersAndAnswers) {
    std::filesystem::path directory = std::filesystem::temp_directory_path() /
                                      ("vantry-chooser-" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory);
    QStringList filters;
    QTimer::singleShot(0, [&] {
        auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(chooser, nullptr);
        filters = chooser->nameFilters();
        chooser->selectFile(QStringLiteral("out"));
        QMetaObject::invokeMethod(chooser, "accept", Qt::DirectConnection);
    });
    gui::FileChooser request;
    request.save = true;
    request.filter = "HTML Files (*.htm;*.html)|*.htm; *.html|All Files (*.*)|*.*||";
    request.defaultExtension = "htm";
    request.initialPath = directory.string();
    std::vector<std::string> chosen;
    ASSERT_TRUE(gui::backend().chooseFiles(nullptr, request, chosen));
    EXPECT_EQ(filters, (QStringList{"HTML Files (*.htm *.html)", "All Files (*)"}));
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0], (directory / "out.htm").string());
    std::filesystem::remove_all(directory);
}

}  // namespace
