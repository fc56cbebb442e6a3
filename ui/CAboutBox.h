// The About box: the program's version, a few words about it, the link to
// the product's web site and a way to send feedback.
#pragma once

#include "platform/SettingsStore.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/LinkText.h"

namespace ui {

enum AboutBoxId : int {
    IDD_ABOUTBOX = 100,
    IDC_ABOUT_VERSION = 1027,
    IDC_ABOUT_EMAIL = 1028,
    IDC_ABOUT_LINK = 1055,
};

extern const gui::DialogTemplate aboutBoxTemplate;

class CAboutBox : public gui::CDialog {
public:
    // profile: the settings the feedback dialog remembers its fields in;
    // without one the Email... button is disabled.
    explicit CAboutBox(platform::SettingsStore* profile = nullptr);

    // Shows "Vantry Version <major>.<minor>.<build>" of the running program.
    bool OnInitDialog() override;
    void DoDataExchange(gui::CDataExchange& dx) override;
    bool OnCommand(int id, unsigned notification) override;

    // Email...: the feedback dialog, modal.
    void onEmail();

    gui::VantryLinkText siteLink;

private:
    platform::SettingsStore* profile;
};

// "Vantry Version " and the first three numbers of a version text whose
// numbers are separated by "," or "." ("1,0,2,0" gives "Vantry Version 1.0.2").
std::string versionLine(const std::string& versionText);

}  // namespace ui
