// The headless backend with a script for what a user does in the dialogs
// that a handler opens: each modal dialog takes the next step of the script
// (which types, clicks and confirms through the User* calls) and is
// cancelled when the step leaves it open; the choosers give scripted
// answers and record what they were asked.
#pragma once

#include <deque>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/gui/Dialog.h"
#include "platform/gui/HeadlessBackend.h"

namespace testing_support {

// The streams that the backend writes to, made before it.
struct BackendStreams {
    std::ostringstream scriptOut, scriptErr;
    std::istringstream scriptIn;
};

class ScriptedBackend : private BackendStreams, public gui::HeadlessBackend {
public:
    using Step = std::function<void(gui::CDialog&)>;

    ScriptedBackend() : HeadlessBackend(scriptOut, scriptErr, scriptIn, false) {}

    void runModalLoop(gui::CDialog& dialog) override {
        opened.push_back(dialog.getTemplate().id);
        if (!steps.empty()) {
            Step step = std::move(steps.front());
            steps.pop_front();
            step(dialog);
        }
        if (!dialog.IsEnded()) dialog.EndDialog(gui::IDCANCEL);
    }

    bool chooseFiles(gui::CDialog*, const gui::FileChooser& request,
                     std::vector<std::string>& chosen) override {
        fileRequests.push_back(request);
        if (files.empty()) return false;
        chosen = {files.front()};
        files.pop_front();
        return !chosen.front().empty();
    }

    bool chooseColor(gui::CDialog*, unsigned& rgb) override {
        colorRequests.push_back(rgb);
        if (colors.empty()) return false;
        rgb = colors.front();
        colors.pop_front();
        return true;
    }

    std::deque<Step> steps;
    std::deque<std::string> files;  // "" stands for Cancel
    std::deque<unsigned> colors;
    std::vector<int> opened;  // template ids of the dialogs run, in order
    std::vector<gui::FileChooser> fileRequests;
    std::vector<unsigned> colorRequests;  // the colour each chooser opened on
};

// Puts the backend in place for the life of the object.
class BackendInUse {
public:
    explicit BackendInUse(gui::Backend& backend) : previous(gui::setBackend(&backend)) {}
    ~BackendInUse() { gui::setBackend(previous); }
    BackendInUse(const BackendInUse&) = delete;
    BackendInUse& operator=(const BackendInUse&) = delete;

private:
    gui::Backend* previous;
};

}  // namespace testing_support
