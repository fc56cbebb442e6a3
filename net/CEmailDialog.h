// The "Send Feedback" dialog: a comment, bug report or feature request sent
// to the feedback mailbox over SMTP, with the user's normal mail client
// ("mailto:") as the way out when sending fails.
#pragma once

#include <string>

#include "platform/Socket.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/LinkText.h"

namespace platform {
class SettingsStore;
}

enum EmailDialogId : int {
    IDD_EMAIL = 129,
    IDC_SENDER_NAME = 1029,
    IDC_CATEGORY = 1033,
    IDC_MESSAGE = 1034,
    IDC_MAIL_CLIENT = 1035,
    IDC_RETURN_ADDRESS = 1036,
    IDC_MAILING_LIST = 1038,
    IDC_EMAIL_SITE_LINK = 1055,
    IDC_BUG_LINK = 1056,
    IDC_LIST_LINK = 1057,
};

extern const gui::DialogTemplate emailDialogTemplate;

// The categories of the drop-down list, in order.
extern const char* const feedbackCategories[3];

class CEmailDialog : public gui::CDialog {
public:
    // profile gives the endpoints; it must outlive the dialog.
    explicit CEmailDialog(platform::SettingsStore& profile);

    // Fills the category list and the three links' addresses.
    bool OnInitDialog() override;
    void DoDataExchange(gui::CDataExchange& dx) override;
    // "Send": refuses a return address without "@" or "." (or with blanks,
    // angle brackets or control characters) with "Please enter a valid email
    // address in the Return Email Address field." and the focus on it;
    // otherwise sends the mail with the busy pointer shown, thanks the user
    // and closes. A failure asks whether to use the normal mail client
    // instead and leaves the dialog open.
    void OnOK() override;
    bool OnCommand(int id, unsigned notification) override;

    // Opens "mailto:" + the feedback mailbox with the subject "Vantry v" +
    // version + " feedback" (blanks written %20) through the platform shell.
    void openMailClient();

    // The mail's parts from the current values.
    std::string mailSubject() const;
    std::string mailBody() const;
    std::string mailtoLink() const;

    // The link statics: the product's site, the bug page, the mailing list.
    gui::CLinkText siteLink, bugLink, listLink;
    std::string senderName;
    std::string messageText;
    std::string category = "Comment";
    std::string returnAddress;
    int includeOnList = 0;

    // Bounds of the connection to the relay.
    platform::SocketTimeouts timeouts{15000, 30000, 30000};

private:
    bool returnAddressValid() const;

    platform::SettingsStore& profile;
};
