#include "platform/SettingsStore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantry-settings-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        ASSERT_NE(mkdtemp(buffer.data()), nullptr);
        directory = buffer.data();
        setenv("XDG_CONFIG_HOME", directory.c_str(), 1);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string directory;
};

TEST_F(SettingsFileTest, PathFollowsXdgConfigHomeAndFallsBackToHome) {
    EXPECT_EQ(platform::defaultSettingsPath("velkdask", "Vantry"), directory + "/velkdask/Vantry.ini");
    const char* home = getenv("HOME");
    std::string savedHome = home != nullptr ? home : "";
    setenv("XDG_CONFIG_HOME", "relative/dir", 1);
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(platform::defaultSettingsPath("velkdask", "Vantry"), "/home/someone/.config/velkdask/Vantry.ini");
    if (home != nullptr) setenv("HOME", savedHome.c_str(), 1); else unsetenv("HOME");
}

TEST_F(SettingsFileTest, ValuesRoundTripByteForByteWithNamesIgnoringCase) {
    std::string path = platform::defaultSettingsPath("velkdask", "Vantry");
    std::string tricky = "line one\r\nline two \\ end\\\n=x\\r";
    {
        platform::IniSettingsStore store(path);
        store.writeText("General", "ModuleOptions", tricky);
        store.writeInt("General", "SourceCodeTabSize", -7);
        store.writeText("SyntaxColor", "KeywordColor", "blue");
        std::string error;
        ASSERT_TRUE(store.save(&error)) << error;
    }
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(stat((directory + "/velkdask").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    platform::IniSettingsStore again(path);
    EXPECT_EQ(again.getString("general", "MODULEOPTIONS", ""), tricky);
    EXPECT_EQ(again.getInt("General", "sourcecodetabsize", 4), -7);
    EXPECT_EQ(again.getString("SyntaxColor", "keywordColor", ""), "blue");
    EXPECT_EQ(again.getString("SyntaxColor", "Missing", "dflt"), "dflt");
    // Only the file and no leftover temporary beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory + "/velkdask"),
                            std::filesystem::directory_iterator()), 1);
}

TEST_F(SettingsFileTest, UnreadableIntegersTakeTheirDefault) {
    platform::MemorySettingsStore store;
    for (const char* bad : {"", "x", "12x", "99999999999", "-"}) {
        store.writeText("General", "HasRun", bad);
        EXPECT_EQ(store.getInt("General", "HasRun", -1), -1) << bad;
    }
    store.writeText("General", "HasRun", "+3");
    EXPECT_EQ(store.getInt("General", "HasRun", -1), 3);
}

TEST_F(SettingsFileTest, FailedSaveIsReportedAndLeavesNoHalfWrittenFile) {
    // A directory where the file should be: the final rename fails.
    std::string path = platform::defaultSettingsPath("velkdask", "Vantry");
    std::filesystem::create_directories(path);
    std::ofstream(path + "/keep") << "old";
    platform::IniSettingsStore store(path);
    store.writeText("General", "ProjectName", "new");
    std::string error;
    EXPECT_FALSE(store.save(&error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_EQ(read(path + "/keep"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory + "/velkdask"),
                            std::filesystem::directory_iterator()), 1);
}

TEST(SettingsIniTest, HandWrittenFilesAreReadLeniently) {
    platform::SettingsTable table = platform::SettingsTable::fromIni(
        "stray=1\r\n; comment\r\n[ General ]\r\n  Title = A b \r\nnoequals\r\nTitle2=x\\qy\r\n");
    EXPECT_EQ(table.find("General", "stray"), nullptr);
    ASSERT_NE(table.find("general", "title"), nullptr);
    EXPECT_EQ(*table.find("general", "title"), " A b ");
    EXPECT_EQ(*table.find("General", "Title2"), "x\\qy");
}

}  // namespace

TEST_F(SettingsFileTest, ManyKeysReadInOnePassAndAFifoIsNotRead) {
    const std::string path = directory + "/big.ini";
    std::string text = "[General]\n";
    for (int i = 0; i < 20000; ++i) text += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    std::ofstream(path, std::ios::binary) << text;
    platform::IniSettingsStore big(path);
    EXPECT_EQ(big.readText("general", "KEY19999"), "19999");
    EXPECT_EQ(big.readText("General", "Key0"), "0");

    const std::string fifo = directory + "/fifo.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    platform::IniSettingsStore ignored(fifo);  // would block for ever if opened for reading
    EXPECT_EQ(ignored.readText("General", "Key0"), std::nullopt);
}
