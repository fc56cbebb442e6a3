#include "ui/CmdLineDialog.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "run/TestRecording.h"
#include "ui/SecondaryDialogTemplates.h"
#include "ui/testing/ScriptedBackend.h"

using namespace ui;

namespace {

class CmdLineDialogTest : public ::testing::Test {
protected:
    std::string command(CmdLineDialog& dialog) const { return dialog.GetDlgItemText(IDC_CMD_COMMAND); }

    testing_support::ScratchDirectory scratch;
    testing_support::ScriptedBackend backend;
    testing_support::BackendInUse inUse{backend};
    platform::MemorySettingsStore store;
};

TEST_F(CmdLineDialogTest, EachProgramHasItsOwnSwitches) {
    CmdLineDialog dialog("/opt/v/vantry", "/opt/v/vantry_cmd", "-title=x out.html", store);
    dialog.Create();
    EXPECT_EQ(command(dialog), "/opt/v/vantry -title=x out.html\r\n");
    EXPECT_TRUE(dialog.IsControlEnabled(IDC_CMD_AUTORUN));
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_CMD_PAUSE));

    for (int box : {IDC_CMD_AUTOQUIT, IDC_CMD_OVERWRITE, IDC_CMD_AUTORUN, IDC_CMD_AUTOVIEW})
        dialog.UserClick(box);
    EXPECT_EQ(command(dialog), "/opt/v/vantry -autorun -autoview -overwrite -autoquit -title=x out.html\r\n");

    dialog.UserClick(IDC_CMD_PURE);
    for (int box : {IDC_CMD_PAUSE, IDC_CMD_QUIET, IDC_CMD_VERBOSE, IDC_CMD_PERCENT}) dialog.UserClick(box);
    EXPECT_EQ(command(dialog), "/opt/v/vantry_cmd -percent -verbose -quiet -overwrite -title=x out.html\r\n" +
                                   std::string(CmdLineDialog::pauseLine) + "\r\n");
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_CMD_AUTORUN));
    EXPECT_TRUE(dialog.IsControlEnabled(IDC_CMD_PAUSE));

    // Back on the program itself the console's boxes stay ticked but are
    // left out; a program path with a blank is quoted.
    dialog.programPath = "/opt/my v/vantry";
    dialog.UserClick(IDC_CMD_STANDARD);
    EXPECT_EQ(command(dialog), "'/opt/my v/vantry' -autorun -autoview -overwrite -autoquit -title=x out.html\r\n");
    EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_CMD_PERCENT), 1);
}

TEST_F(CmdLineDialogTest, CloseRemembersTheBoxesEscapeDoesNot) {
    store.writeInt("CmdLineDialog", "Pause", 1);
    {
        CmdLineDialog dialog("p", "c", "o", store);
        dialog.Create();
        // Pause remembered for the console does not reach the program's command.
        EXPECT_EQ(command(dialog), "p o\r\n");
        EXPECT_FALSE(dialog.IsControlEnabled(IDC_CMD_PAUSE));
        dialog.UserClick(IDC_CMD_AUTORUN);
        dialog.OnCommand(gui::IDCANCEL, gui::BN_CLICKED);  // Escape
        EXPECT_TRUE(dialog.IsEnded());
    }
    EXPECT_EQ(store.getInt("CmdLineDialog", "AutoRun", -1), -1);

    CmdLineDialog dialog("p", "c", "o", store);
    dialog.Create();
    dialog.UserClick(IDC_CMD_PURE);
    dialog.UserClick(IDC_CMD_QUIET);
    dialog.UserClick(gui::IDOK);
    EXPECT_TRUE(dialog.IsEnded());
    EXPECT_EQ(store.getInt("CmdLineDialog", "Interface", -1), 1);
    EXPECT_EQ(store.getInt("CmdLineDialog", "Quiet", -1), 1);
    EXPECT_EQ(store.getInt("CmdLineDialog", "Pause", -1), 1);
    EXPECT_EQ(store.getInt("CmdLineDialog", "AutoRun", -1), 0);
    EXPECT_EQ(store.saveCount, 1);

    CmdLineDialog again("p", "c", "o", store);
    again.Create();
    EXPECT_EQ(command(again), "c -quiet o\r\n" + std::string(CmdLineDialog::pauseLine) + "\r\n");
}

TEST_F(CmdLineDialogTest, SavesTheEditedCommandAsAnExecutableScript) {
    CmdLineDialog dialog("p", "c", "-title=x out.html", store);
    dialog.Create();
    dialog.UserType(IDC_CMD_COMMAND, "p -autorun -title=edited out.html\r\necho done\r\n");
    std::string path = scratch / "job.sh";
    backend.files.push_back(path);
    dialog.UserClick(IDC_CMD_SAVE);
    ASSERT_EQ(backend.fileRequests.size(), 1u);
    EXPECT_TRUE(backend.fileRequests[0].save);
    EXPECT_EQ(backend.fileRequests[0].filter.rfind("Shell Scripts (*.sh)|*.sh|", 0), 0u);
    EXPECT_EQ(backend.fileRequests[0].defaultExtension, "sh");
    EXPECT_EQ(testing_support::readWholeFile(path),
              "#!/bin/sh\np -autorun -title=edited out.html\necho done\n\n");
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_NE(info.st_mode & S_IXUSR, 0u);
    EXPECT_FALSE(dialog.IsEnded());

    // Cancelling the chooser writes nothing.
    backend.files.push_back("");
    dialog.UserClick(IDC_CMD_SAVE);
    EXPECT_TRUE(backend.shownBoxes().empty());

    // A file that cannot be replaced (here a directory of that name) is
    // reported, keeps what it held, and no partial copy is left beside it.
    scratch.write("taken/keep", "kept");
    backend.files.push_back(scratch / "taken");
    dialog.UserClick(IDC_CMD_SAVE);
    ASSERT_EQ(backend.shownBoxes().size(), 1u);
    EXPECT_EQ(backend.shownBoxes()[0].icon, gui::Icon::Error);
    EXPECT_NE(backend.shownBoxes()[0].text.find(scratch / "taken"), std::string::npos);
    EXPECT_EQ(testing_support::readWholeFile(scratch / "taken/keep"), "kept");
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(scratch.path)) entries += entry.exists();
    EXPECT_EQ(entries, 2);  // job.sh and taken
    EXPECT_FALSE(dialog.IsEnded());
}

}  // namespace
