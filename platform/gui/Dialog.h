// A dialog built from a template: controls addressed by id, data exchange
// between the controls and the dialog's values, the overridable handlers of
// a dialog's life and its private message queue.
//
// Threads: everything here runs on the dialog's thread except PostMessage
// to handle(), which any thread may call.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/WindowMessages.h"
#include "platform/gui/DialogTemplate.h"

namespace gui {

// Framework message numbers (below WM_USER, which is for the program).
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_COMMAND = 0x0111;
// A command of the window's menu (wParam: the command id).
constexpr unsigned WM_SYSCOMMAND = 0x0112;

// Notification codes carried with WM_COMMAND.
enum Notification : unsigned {
    BN_CLICKED = 0,
    CBN_SELCHANGE = 1,
    EN_CHANGE = 0x0300,
};

// WM_COMMAND's wParam: the control id in the low half, the notification in
// the high half.
inline std::uintptr_t commandParam(int id, unsigned notification) {
    return (static_cast<std::uintptr_t>(notification) << 16) | (static_cast<unsigned>(id) & 0xFFFFu);
}

// One control's state.
struct Control {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    unsigned style = 0;
    std::string text;
    Rect rect;
    int check = 0;  // 0 unticked, 1 ticked (check boxes and radios)
    bool enabled = true;
    bool visible = true;
    std::vector<std::string> entries;  // drop-down list
    int selection = -1;                // drop-down list; -1 none
    int rangeLow = 0;                  // progress bar
    int rangeHigh = 100;
    int position = 0;
    int textColor = -1;  // 0xRRGGBB; -1: the usual colour
};

// An entry of the window's menu; command 0 is a separator.
struct MenuEntry {
    int command = 0;
    std::string text;
};

class CDialog;

// A wrapper of one control that takes the control's own notifications
// before the dialog sees them (a link static takes its clicks).
class CControlWrapper {
public:
    virtual ~CControlWrapper();
    // Told when the wrapper is bound to the control.
    virtual void OnAttached(CDialog& dialog, int id);
    // Returns true when it handled the notification (the dialog's
    // OnCommand is then not called).
    virtual bool OnReflectedCommand(unsigned notification) = 0;
};

// The direction of one data exchange.
class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate)
        : dialog(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CDialog& dialog;
    const bool m_bSaveAndValidate;  // true: controls into values

    // Names the control that the next validation is about (the exchange
    // functions do it themselves).
    void PrepareCtrl(int id) { lastControlId = id; }
    // Shows message in a warning box, moves the focus to the prepared
    // control and ends the exchange: UpdateData then returns false.
    [[noreturn]] void Fail(const std::string& message);

    int lastControlId = 0;
};

// Exchanges a text box's text, a check box's state (0/1) or a radio group's
// ticked index (-1 none; the group begins at firstRadioId).
void DDX_Text(CDataExchange& dx, int id, std::string& value);
void DDX_Check(CDataExchange& dx, int id, int& value);
void DDX_Radio(CDataExchange& dx, int firstRadioId, int& value);
// Binds a wrapper to the control (once; later exchanges change nothing).
void DDX_Control(CDataExchange& dx, int id, CControlWrapper& wrapper);
// Exchanges a text box's text as a decimal integer. Saving a text that is
// not one (blanks around it allowed, within the range of int) fails the
// exchange with "Please enter an integer.".
void DDX_Text(CDataExchange& dx, int id, int& value);
// When saving, fails the exchange with "Please enter an integer between " +
// minValue + " and " + maxValue + "." unless value lies in that range.
void DDV_MinMaxInt(CDataExchange& dx, int value, int minValue, int maxValue);

class CDialog {
public:
    // The controls are built from the template at once (their state exists
    // before the window); the template must outlive the dialog.
    explicit CDialog(const DialogTemplate& dialogTemplate);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Creates the window, runs OnInitDialog, serves the dialog's messages
    // through the backend until EndDialog, then destroys the window.
    // Returns the EndDialog result.
    int DoModal();

    // The steps of DoModal, for callers (tests) that serve messages
    // themselves. Create makes the window and runs OnInitDialog; Destroy
    // runs OnDestroy and closes the window (posts to it are dropped from
    // then on). Both do nothing when already done.
    void Create();
    void Destroy();

    // Shows the window (a modal loop shows it anyway).
    void ShowWindow();

    // Hands every message queued now to the handlers; returns how many.
    std::size_t PumpMessages();
    // Routes one message: WM_COMMAND to OnCommand, WM_CLOSE to OnClose,
    // everything else (WM_SYSCOMMAND too) to OnMessage.
    void Dispatch(const platform::WindowMessage& message);

    // Ends the modal loop with the result; the window stays until Destroy.
    void EndDialog(int result);
    bool IsEnded() const { return ended; }
    int GetResult() const { return result; }

    // The window's handle; null before Create and after Destroy.
    platform::WindowHandle GetSafeHwnd() const;
    platform::MessageWindow* window() const { return messageWindow.get(); }

    // Runs DoDataExchange: controls into values when saveAndValidate,
    // values into controls otherwise. Returns false when a validation
    // failed (its message has been shown), true otherwise.
    bool UpdateData(bool saveAndValidate = true);

    // Overridables. The defaults: OnInitDialog moves the values into the
    // controls and returns true; OnOK takes the values back and ends with
    // IDOK (stays open when a validation failed); OnCancel ends with
    // IDCANCEL; OnClose calls OnCancel; OnCommand routes IDOK and IDCANCEL
    // clicks to OnOK and OnCancel and answers whether it handled the
    // command; OnMessage answers false.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange& dx);
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnClose();
    virtual void OnDestroy();
    virtual bool OnCommand(int id, unsigned notification);
    virtual bool OnMessage(const platform::WindowMessage& message);
    // The text of a control's tool tip, asked for each time the pointer
    // rests on a control while tool tips are enabled. Returns false for no
    // tip. The default gives none.
    virtual bool OnToolTipNeedText(int id, std::string& text);

    // Tool tips of this dialog's controls (off until enabled).
    void EnableToolTips(bool enable);
    bool ToolTipsEnabled() const { return toolTips; }

    // The window's menu (a context menu of the dialog with a display);
    // choosing an entry posts nothing but dispatches WM_SYSCOMMAND at once.
    // An empty text adds a separator.
    void AppendMenuEntry(int command, const std::string& text);
    const std::vector<MenuEntry>& menuEntries() const { return menu; }

    // The window's icon (a resource id; 0 none).
    void SetIcon(int iconId);
    int GetIcon() const { return icon; }

    // Binds wrapper to the control id (see CControlWrapper); the wrapper
    // must outlive the dialog's window. Binding again replaces it.
    void AttachControl(int id, CControlWrapper& wrapper);

    // Controls by id. An id that the template does not hold is a fault of
    // the program: these throw std::out_of_range naming the id.
    Control& control(int id);
    const Control& control(int id) const;
    bool hasControl(int id) const;
    const std::vector<Control>& controls() const { return controlList; }
    // Appends a control built from the item, for dialogs whose rows are
    // known only at run time; call it before Create (the window is made
    // from the controls there). Throws std::invalid_argument when the id is
    // taken already.
    void addControl(const ControlTemplate& item);

    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text);
    int IsDlgButtonChecked(int id) const;
    void CheckDlgButton(int id, int check);
    // The ticked radio's index in the group that begins at firstRadioId
    // (-1 when none is ticked); ticking by index unticks the rest (an index
    // outside the group unticks all).
    int GetRadioIndex(int firstRadioId) const;
    void SetRadioIndex(int firstRadioId, int index);
    void EnableControl(int id, bool enable);
    bool IsControlEnabled(int id) const;
    void ShowControl(int id, bool show);
    bool IsControlVisible(int id) const;
    void MoveControl(int id, const Rect& rect);
    Rect GetControlRect(int id) const;
    // Focus as WM_NEXTDLGCTL gives it; 0 when no control was focused.
    void GotoDlgCtrl(int id);
    int GetFocusId() const { return focusId; }

    // Drop-down lists. AddEntry returns the new entry's index (a sorted list
    // places it by letter order, case ignored). FindEntry matches the whole
    // text, case ignored, and returns -1 when absent. SetSelection with -1
    // (or an index out of range) clears the selection. The list's text is
    // its selected entry.
    int AddEntry(int id, const std::string& text);
    // Removes every entry (and so the selection).
    void ResetEntries(int id);
    int FindEntry(int id, const std::string& text) const;
    void SetSelection(int id, int index);
    int GetSelection(int id) const;
    std::string GetEntry(int id, int index) const;

    // A control's text colour (0xRRGGBB, -1 the usual one).
    void SetTextColor(int id, int rgb);

    // Progress bars.
    void SetProgressPosition(int id, int position);
    int GetProgressPosition(int id) const;

    // The dialog window's caption.
    void SetWindowText(const std::string& text);
    const std::string& GetWindowText() const { return caption; }
    Rect GetWindowRect() const { return windowRect; }
    void SetWindowRect(const Rect& rect);

    // What a user does, as the backend reports it: type into a text box (the
    // text changes, then EN_CHANGE), click a button (a check box toggles, a
    // radio is ticked alone in its group, then BN_CLICKED), choose a list
    // entry (then CBN_SELCHANGE), choose an entry of the window's menu. A
    // disabled or hidden control ignores it, and so does a read-only edit
    // typed into.
    void UserType(int id, const std::string& text);
    void UserClick(int id);
    void UserSelect(int id, int index);
    void UserMenuCommand(int command);

    const DialogTemplate& getTemplate() const { return dialogTemplate; }

private:
    std::size_t indexOf(int id) const;
    // A control's notification: its wrapper's first, then OnCommand.
    void notify(int id, unsigned notification);
    std::pair<std::size_t, std::size_t> radioGroup(int firstRadioId) const;
    void changed(int id);

    const DialogTemplate& dialogTemplate;
    std::vector<Control> controlList;
    std::unique_ptr<platform::MessageWindow> messageWindow;
    std::string caption;
    Rect windowRect;
    int focusId = 0;
    std::vector<MenuEntry> menu;
    std::vector<std::pair<int, CControlWrapper*>> wrappers;
    int icon = 0;
    bool toolTips = false;
    bool created = false;
    bool ended = false;
    int result = 0;
};

}  // namespace gui
