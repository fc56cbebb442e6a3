#include "net/CUpdateDialog.h"

#include "net/NetEndpoints.h"
#include "net/UpdateCheck.h"
#include "net/UpdateSchedule.h"
#include "platform/SettingsStore.h"

namespace {

using gui::ControlKind;
constexpr unsigned T = gui::StyleTabStop;
constexpr unsigned G = gui::StyleGroup;

constexpr gui::ControlTemplate controls[] = {
    {IDC_AUTO_CHECK, ControlKind::CheckBox, "Automatically check for updates every",
     {7, 7, 136, 10}, T | G},
    {IDC_UPDATE_DAYS, ControlKind::Edit, "", {145, 6, 22, 12}, T | G},
    {gui::IDSTATIC, ControlKind::Label, "days.", {170, 8, 20, 8}, 0},
    {IDC_NEXT_UPDATE, ControlKind::Label, "The next update will be in 0 days.", {7, 22, 178, 8}, 0},
    {IDC_CHECK_NOW, ControlKind::Button, "Check Now", {7, 34, 50, 14}, T | G},
    {IDC_UPDATE_OK, ControlKind::DefaultButton, "OK", {81, 34, 50, 14}, T},
    {gui::IDCANCEL, ControlKind::Button, "Cancel", {135, 34, 50, 14}, T},
    {IDC_UPDATE_SITE_LINK, ControlKind::Link, "", {75, 52, 110, 8}, 0},
};

}  // namespace

const gui::DialogTemplate updateDialogTemplate{IDD_UPDATE, "Update Vantry", 192, 63, controls};

CUpdateDialog::CUpdateDialog(platform::SettingsStore& store)
    : CDialog(updateDialogTemplate),
      autoCheck(isAutoCheckEnabled(store) ? 1 : 0),
      updateDays(readUpdateDays(store)),
      versionAddress(versionFileAddress(store)),
      fetchLimits(updateFetchLimits()),
      profile(store) {}

bool CUpdateDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_UPDATE_SITE_LINK, siteLinkAddress(profile));
    showNextUpdate();
    return true;
}

void CUpdateDialog::DoDataExchange(gui::CDataExchange& dx) {
    gui::DDX_Control(dx, IDC_UPDATE_SITE_LINK, siteLink);
    gui::DDX_Check(dx, IDC_AUTO_CHECK, autoCheck);
    gui::DDX_Text(dx, IDC_UPDATE_DAYS, updateDays);
    gui::DDV_MinMaxInt(dx, updateDays, minUpdateDays, maxUpdateDays);
}

bool CUpdateDialog::OnCommand(int id, unsigned notification) {
    if (id == IDC_UPDATE_OK && notification == gui::BN_CLICKED) {
        onOK();
        return true;
    }
    if ((id == IDC_AUTO_CHECK && notification == gui::BN_CLICKED) ||
        (id == IDC_UPDATE_DAYS && notification == gui::EN_CHANGE)) {
        showNextUpdate();
        return true;
    }
    if (id == IDC_CHECK_NOW && notification == gui::BN_CLICKED) {
        checkNow();
        return true;
    }
    return CDialog::OnCommand(id, notification);
}

void CUpdateDialog::showNextUpdate() {
    autoCheck = IsDlgButtonChecked(IDC_AUTO_CHECK);
    int days = daysUntilNextUpdate(profile, secondsNow());
    SetDlgItemText(IDC_NEXT_UPDATE, autoCheck != 0 ? "The next update will be in " +
                                                         std::to_string(days) + " day" +
                                                         (days == 1 ? "" : "s") + "."
                                                   : "");
    EnableControl(IDC_UPDATE_DAYS, autoCheck != 0);
}

void CUpdateDialog::checkNow() {
    checkForUpdate(false, profile, versionAddress, fetchLimits);
    showNextUpdate();
}

void CUpdateDialog::onOK() {
    if (!UpdateData(true)) return;
    profile.writeInt("Update", "AutoCheck", autoCheck);
    profile.writeInt("Update", "UpdateDays", updateDays);
    writeNextUpdate(profile, secondsNow());
    profile.save(nullptr);
    EndDialog(gui::IDOK);
}
