#include "net/CEmailDialog.h"

#include "VelkLib/VelkError.h"
#include "net/NetEndpoints.h"
#include "net/SmtpClient.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/TerminalText.h"
#include "platform/gui/Backend.h"
#include "platform/gui/WaitCursor.h"

namespace {

using gui::ControlKind;
constexpr unsigned T = gui::StyleTabStop;
constexpr unsigned G = gui::StyleGroup;

constexpr gui::ControlTemplate controls[] = {
    {gui::IDSTATIC, ControlKind::GroupBox, "Website Feedback (new)", {7, 7, 362, 46}, 0},
    {gui::IDSTATIC, ControlKind::Label, "Add a bug or feature request:", {14, 21, 110, 8}, 0},
    {IDC_BUG_LINK, ControlKind::Link, "", {126, 21, 236, 8}, 0},
    {gui::IDSTATIC, ControlKind::Label, "Subscribe to the mailing list:", {14, 36, 110, 8}, 0},
    {IDC_LIST_LINK, ControlKind::Link, "", {126, 36, 236, 8}, 0},
    {gui::IDSTATIC, ControlKind::GroupBox, "Email Feedback", {7, 60, 362, 252}, 0},
    {IDC_CATEGORY, ControlKind::DropDownList, "", {14, 74, 90, 60}, T | G},
    {gui::IDSTATIC, ControlKind::Label, "from:", {110, 76, 20, 8}, 0},
    {IDC_SENDER_NAME, ControlKind::Edit, "", {132, 74, 230, 12}, T | G},
    {gui::IDSTATIC, ControlKind::Label, "Return email address:", {14, 93, 80, 8}, 0},
    {IDC_RETURN_ADDRESS, ControlKind::Edit, "", {96, 91, 266, 12}, T | G},
    {IDC_MESSAGE, ControlKind::MultiLineEdit, "", {14, 108, 348, 172}, T | G},
    {IDC_MAILING_LIST, ControlKind::CheckBox,
     "Include me on the Vantry mailing list  (not necessary if you have subscribed via the "
     "website)",
     {14, 286, 348, 20}, T | G},
    {gui::IDOK, ControlKind::DefaultButton, "Send", {7, 320, 50, 14}, T | G},
    {gui::IDCANCEL, ControlKind::Button, "Cancel", {61, 320, 50, 14}, T},
    {IDC_MAIL_CLIENT, ControlKind::Button, "Open your normal mail client...", {115, 320, 110, 14}, T},
    {IDC_EMAIL_SITE_LINK, ControlKind::Link, "", {232, 324, 137, 8}, 0},
};

const char appCaption[] = "Vantry";

}  // namespace

const gui::DialogTemplate emailDialogTemplate{IDD_EMAIL, "Send Feedback", 376, 342, controls};

const char* const feedbackCategories[3] = {"Comment", "Bug report", "Feature request"};

CEmailDialog::CEmailDialog(platform::SettingsStore& store)
    : CDialog(emailDialogTemplate), profile(store) {}

bool CEmailDialog::OnInitDialog() {
    for (const char* entry : feedbackCategories) AddEntry(IDC_CATEGORY, entry);
    SetDlgItemText(IDC_BUG_LINK, bugPageAddress(profile));
    SetDlgItemText(IDC_LIST_LINK, mailingListAddress(profile));
    SetDlgItemText(IDC_EMAIL_SITE_LINK, siteLinkAddress(profile));
    return CDialog::OnInitDialog();
}

void CEmailDialog::DoDataExchange(gui::CDataExchange& dx) {
    gui::DDX_Control(dx, IDC_EMAIL_SITE_LINK, siteLink);
    gui::DDX_Control(dx, IDC_BUG_LINK, bugLink);
    gui::DDX_Control(dx, IDC_LIST_LINK, listLink);
    gui::DDX_Text(dx, IDC_SENDER_NAME, senderName);
    gui::DDX_Text(dx, IDC_MESSAGE, messageText);
    // The list by its text: the selected entry, or the entry of that text.
    if (dx.m_bSaveAndValidate)
        category = GetDlgItemText(IDC_CATEGORY);
    else
        SetSelection(IDC_CATEGORY, FindEntry(IDC_CATEGORY, category));
    gui::DDX_Text(dx, IDC_RETURN_ADDRESS, returnAddress);
    gui::DDX_Check(dx, IDC_MAILING_LIST, includeOnList);
}

bool CEmailDialog::OnCommand(int id, unsigned notification) {
    if (id == IDC_MAIL_CLIENT && notification == gui::BN_CLICKED) {
        openMailClient();
        return true;
    }
    return CDialog::OnCommand(id, notification);
}

bool CEmailDialog::returnAddressValid() const {
    if (returnAddress.find('@') == std::string::npos ||
        returnAddress.find('.') == std::string::npos)
        return false;
    for (char c : returnAddress) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == 127 || c == '<' || c == '>') return false;
    }
    return true;
}

std::string CEmailDialog::mailSubject() const {
    return "Vantry v" + dottedProgramVersion() + " " + category;
}

std::string CEmailDialog::mailBody() const {
    std::string body = "From: " + senderName + " <" + returnAddress + ">\r\n\r\n" + messageText;
    if (includeOnList != 0) body += "\r\n\r\n*** Include on mailing list. ***\r\n";
    return body;
}

std::string CEmailDialog::mailtoLink() const {
    return "mailto:" + endpointValue(NetEndpoint::FeedbackMailbox, profile) + "?SUBJECT=Vantry%20v" +
           dottedProgramVersion() + "%20feedback";
}

void CEmailDialog::OnOK() {
    if (!UpdateData(true)) return;
    if (!returnAddressValid()) {
        gui::messageBox("Please enter a valid email address in the Return Email Address field.",
                        appCaption, gui::Buttons::Ok, gui::Icon::None);
        GotoDlgCtrl(IDC_RETURN_ADDRESS);
        return;
    }
    const std::string mailbox = endpointValue(NetEndpoint::FeedbackMailbox, profile);
    try {
        gui::CWaitCursor wait;
        SmtpClient client(nullptr, nullptr);
        client.setTimeouts(timeouts);
        HostAndPort relay = splitHostAndPort(endpointValue(NetEndpoint::SmtpRelay, profile), 25);
        client.open(relay.host, relay.port);
        client.hello("");
        client.sendText(returnAddress, mailbox, mailSubject(), mailBody());
        client.quit();
    } catch (const VelkError& error) {
        gui::Answer answer = gui::messageBox(
            "Could not send an email to " + terminalText(mailbox) + ".  (" + error.getMessage() +
                ").  \r\nWould you like to try using your normal mail client?",
            appCaption, gui::Buttons::YesNo, gui::Icon::Error);
        if (answer == gui::Answer::Yes) openMailClient();
        return;
    }
    gui::messageBox("An email message has been sent to " + terminalText(mailbox) + ".  Thanks for your input.",
                    appCaption, gui::Buttons::Ok, gui::Icon::Information);
    EndDialog(gui::IDOK);
}

void CEmailDialog::openMailClient() { platform::shell().open(mailtoLink(), nullptr); }
