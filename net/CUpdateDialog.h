// The "Update Vantry" dialog: switches the automatic update check on or off,
// sets its interval in days, shows when the next check is due, and checks
// at once on "Check Now".
#pragma once

#include <string>

#include "VelkLib/VelkHttp.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/LinkText.h"

namespace platform {
class SettingsStore;
}

enum UpdateDialogId : int {
    IDD_UPDATE = 134,
    IDC_AUTO_CHECK = 1044,
    IDC_UPDATE_DAYS = 1045,
    IDC_UPDATE_OK = 1046,
    IDC_NEXT_UPDATE = 1047,
    IDC_CHECK_NOW = 1048,
    IDC_UPDATE_SITE_LINK = 1055,
};

extern const gui::DialogTemplate updateDialogTemplate;

class CUpdateDialog : public gui::CDialog {
public:
    // Reads AutoCheck and UpdateDays (clamped to 1 to 3650) from profile,
    // which must outlive the dialog.
    explicit CUpdateDialog(platform::SettingsStore& profile);

    // Fills the controls, the site link's address and the next-check line.
    bool OnInitDialog() override;
    // The check box, then the day count as an integer from 1 to 3650.
    void DoDataExchange(gui::CDataExchange& dx) override;
    bool OnCommand(int id, unsigned notification) override;

    // Static 1047: "The next update will be in N day(s)." from the stored
    // schedule while the box is ticked, empty otherwise; the day field is
    // enabled exactly while the box is ticked. Reads only the check box, so
    // typing in the day field never brings up a validation message.
    void showNextUpdate();
    // The check now, not quiet, then the new schedule.
    void checkNow();
    // Validates; on success stores AutoCheck, UpdateDays and the next
    // check's moment, saves the settings and closes with IDOK. On failure
    // the validation message has been shown and nothing is stored.
    void onOK();

    // The link static to the product's site.
    gui::CLinkText siteLink;
    int autoCheck = 0;
    int updateDays = 15;

    // Where "Check Now" asks; the configured update host unless changed.
    std::string versionAddress;
    VelkHttp::Limits fetchLimits;

private:
    platform::SettingsStore& profile;
};
