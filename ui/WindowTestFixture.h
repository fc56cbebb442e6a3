// What the tests of the main dialog on real widgets (Qt's offscreen
// platform) share: a scratch folder for the settings and the recording
// module's record, a settings store that has run before (so that no
// first-start update offer comes between a test and the dialogs it opens)
// naming the recording module, and message boxes answered No and kept.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/gui/qt/testing/QtTestDriver.h"
#include "run/TestRecording.h"
#include "ui/CVantryDlg.h"
#include "ui/RunConsole.h"

namespace ui {

class MainDialogWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
        setenv("VANTRY_RECORD_FILE", (scratch / "record.txt").c_str(), 1);
        store.writeText("General", "DocModule", "vantry-recording");
        store.writeInt("General", "HasRun", 1);
        // Boxes would wait for a user: each is answered and remembered.
        gui::qttest::onMessageBox([this](const std::string& text, const std::string&, gui::Buttons, gui::Icon) {
            boxes.push_back(text);
            return gui::Answer::No;
        });
    }
    void TearDown() override { unsetenv("VANTRY_RECORD_FILE"); }

    // Creates and shows the dialog with the build tree's modules.
    void open(CVantryDlg& dialog) {
        dialog.moduleDirectory = std::string(std::getenv("VANTRY_BUILD_DIR")) + "/modules";
        dialog.Create();
        dialog.ShowWindow();
        gui::qttest::processEvents();
    }

    gui::qttest::UseQt useQt;
    testing_support::ScratchDirectory scratch;
    platform::MemorySettingsStore store;
    std::ostringstream consoleText;
    RunConsole console{RunConsole::Mode::Silent, consoleText};
    std::vector<std::string> boxes;
};

}  // namespace ui
