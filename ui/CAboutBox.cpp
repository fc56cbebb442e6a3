#include "ui/CAboutBox.h"

#include "VelkLib/VelkError.h"
#include "net/CEmailDialog.h"
#include "net/NetEndpoints.h"
#include "run/VantryBase.h"

namespace ui {

namespace {

using gui::ControlKind;

constexpr gui::ControlTemplate controls[] = {
    {gui::IDSTATIC, ControlKind::Icon, "", {8, 8, 21, 20}, 0},
    {IDC_ABOUT_VERSION, ControlKind::Label, "Vantry Version 2.3.1", {36, 8, 139, 8}, 0},
    {gui::IDSTATIC, ControlKind::Label,
     "A documentation generator for C++, Java and C# sources.", {36, 20, 139, 18},
     gui::StyleWordWrap},
    {gui::IDSTATIC, ControlKind::Label, "Copyright \u00a9 velkdask.", {36, 40, 139, 8}, 0},
    {IDC_ABOUT_LINK, ControlKind::Link, "vantry.example.invalid", {36, 54, 139, 8}, 0},
    {IDC_ABOUT_EMAIL, ControlKind::Button, "Email...", {71, 76, 50, 14},
     gui::StyleTabStop | gui::StyleGroup},
    {gui::IDOK, ControlKind::DefaultButton, "OK", {125, 76, 50, 14}, gui::StyleTabStop},
};

}  // namespace

const gui::DialogTemplate aboutBoxTemplate{IDD_ABOUTBOX, "About Vantry", 182, 97, controls};

std::string versionLine(const std::string& versionText) {
    std::string numbers;
    int separators = 0;
    for (char c : versionText) {
        if (c == ',' || c == '.') {
            if (++separators == 3) break;
            numbers += '.';
        } else {
            numbers += c;
        }
    }
    return "Vantry Version " + numbers;
}

CAboutBox::CAboutBox(platform::SettingsStore* settings) : CDialog(aboutBoxTemplate), profile(settings) {}

bool CAboutBox::OnInitDialog() {
    CDialog::OnInitDialog();
    try {
        SetDlgItemText(IDC_ABOUT_VERSION, versionLine(programVersionText()));
    } catch (const VelkError&) {
        // A program without its version record keeps the template's line.
    }
    EnableControl(IDC_ABOUT_EMAIL, profile != nullptr);
    // Without settings the site is the environment's or the default.
    platform::MemorySettingsStore none;
    const platform::SettingsStore& settings = profile != nullptr ? *profile : none;
    siteLink.url = siteLinkAddress(settings);
    SetDlgItemText(IDC_ABOUT_LINK, webSiteName(settings));
    return true;
}

void CAboutBox::DoDataExchange(gui::CDataExchange& dx) { gui::DDX_Control(dx, IDC_ABOUT_LINK, siteLink); }

bool CAboutBox::OnCommand(int id, unsigned notification) {
    if (id == IDC_ABOUT_EMAIL && notification == gui::BN_CLICKED) {
        if (profile != nullptr) onEmail();
        return true;
    }
    return CDialog::OnCommand(id, notification);
}

void CAboutBox::onEmail() { CEmailDialog(*profile).DoModal(); }

}  // namespace ui
