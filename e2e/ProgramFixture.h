// What every test of the program run as a child sets up: the program and
// its modules from the build tree CTest names, and a scratch folder of the
// test's own, removed again afterwards: work (the child's current
// directory, with the sources and the site), tmp (its TMPDIR), config (its
// XDG_CONFIG_HOME) and logs (captured output, kept apart so that it never
// shows in a snapshot of work).
#pragma once

#include <gtest/gtest.h>

#include "e2e/ChildProcess.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace e2e {

class ProgramFixture : public ::testing::Test {
protected:
    // name goes into the scratch folder's name, to tell the tests' apart.
    explicit ProgramFixture(std::string name) : name_(std::move(name)) {}

    // A derived SetUp calls this first and returns when HasFatalFailure().
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path work() const { return root_ / "work"; }
    std::filesystem::path tmp() const { return root_ / "tmp"; }
    std::filesystem::path config() const { return root_ / "config"; }
    std::filesystem::path logs() const { return root_ / "logs"; }

    // The scratch folders' variables, for a child's environment.
    std::map<std::string, std::string> scratchVariables() const {
        return {{"TMPDIR", tmp().string()}, {"XDG_CONFIG_HOME", config().string()}};
    }
    // Documents the inputs (list entries) with the standard module into
    // work()/out/index.html, "///" comments read, as a child in work() with
    // env_, killed after limitSeconds. A run that does not end with status
    // 0 fails the calling test.
    ChildResult documentIntoOut(const std::vector<std::string>& inputs, int limitSeconds);
    // Runs the program (program_, or `program`) with args as a child in
    // work(), with env_ and no signal sent, killed after limitSeconds; with
    // a wrapper (a command and its arguments), the wrapper runs the program
    // and its args. A child ended by a signal fails the calling test.
    ChildResult runInWork(const std::vector<std::string>& args, int limitSeconds,
                          const std::vector<std::string>& wrapper = {},
                          const std::filesystem::path& program = {});
    // This process's environment with `set` set and the variables that
    // would reach outside the scratch folder (a display, TEMP, TMP) removed.
    static std::vector<std::string> childEnvironment(const std::map<std::string, std::string>& set);

    // Permissions do not stop root. Sets wrapper to the command that runs a
    // child without the capabilities that let root read and write what a
    // file's owner may not (empty when the tests do not run as root), and
    // returns true; false, with the reason in why, when root cannot give
    // them up here (the caller skips its test).
    bool permissionsBind(std::vector<std::string>& wrapper, std::string& why) const;

    std::filesystem::path buildDir_, sourceDir_, program_, moduleDir_, root_;
    // The children's variables: the scratch folders' from SetUp, and
    // whatever the test sets.
    std::map<std::string, std::string> env_;

private:
    std::string name_;
};

// Whether text holds part.
bool contains(const std::string& text, const std::string& part);

// Writes text as file's whole content, making its folders first.
void writeText(const std::filesystem::path& file, const std::string& text);

// The lines of a page as a reader sees them: tags dropped, entities read,
// each line trimmed, empty lines left out.
std::vector<std::string> shownLines(const std::string& html);

// The comments shown under each detail entry of a declaration (after an
// access word, if any), in page order: the line after each line that
// ends in the declaration.
std::vector<std::string> commentsUnder(const std::vector<std::string>& lines, const std::string& declaration);

}  // namespace e2e
