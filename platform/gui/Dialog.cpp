#include "platform/gui/Dialog.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <stdexcept>

#include "platform/gui/Backend.h"

namespace gui {

namespace {

int compareIgnoringCase(const std::string& a, const std::string& b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        int x = std::tolower(static_cast<unsigned char>(a[i]));
        int y = std::tolower(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

}  // namespace

void DDX_Text(CDataExchange& dx, int id, std::string& value) {
    if (dx.m_bSaveAndValidate)
        value = dx.dialog.GetDlgItemText(id);
    else
        dx.dialog.SetDlgItemText(id, value);
}

void DDX_Check(CDataExchange& dx, int id, int& value) {
    if (dx.m_bSaveAndValidate)
        value = dx.dialog.IsDlgButtonChecked(id);
    else
        dx.dialog.CheckDlgButton(id, value);
}

void DDX_Radio(CDataExchange& dx, int firstRadioId, int& value) {
    if (dx.m_bSaveAndValidate)
        value = dx.dialog.GetRadioIndex(firstRadioId);
    else
        dx.dialog.SetRadioIndex(firstRadioId, value);
}

CControlWrapper::~CControlWrapper() = default;

void CControlWrapper::OnAttached(CDialog&, int) {}

void DDX_Control(CDataExchange& dx, int id, CControlWrapper& wrapper) {
    dx.dialog.AttachControl(id, wrapper);
}

namespace {

// Ends a data exchange whose validation failed; UpdateData catches it.
struct DataExchangeFailure {};

Control controlFrom(const ControlTemplate& item) {
    Control control;
    control.id = item.id;
    control.kind = item.kind;
    control.style = item.style;
    control.text = item.text != nullptr ? item.text : "";
    control.rect = item.rect;
    control.enabled = (item.style & StyleDisabled) == 0;
    control.visible = (item.style & StyleHidden) == 0;
    return control;
}

}  // namespace

void CDataExchange::Fail(const std::string& message) {
    if (lastControlId != 0) dialog.GotoDlgCtrl(lastControlId);
    messageBox(message, dialog.GetWindowText(), Buttons::Ok, Icon::Warning);
    throw DataExchangeFailure{};
}

void DDX_Text(CDataExchange& dx, int id, int& value) {
    dx.PrepareCtrl(id);
    if (!dx.m_bSaveAndValidate) {
        dx.dialog.SetDlgItemText(id, std::to_string(value));
        return;
    }
    std::string text = dx.dialog.GetDlgItemText(id);
    std::size_t first = text.find_first_not_of(" \t");
    std::size_t last = text.find_last_not_of(" \t");
    std::string digits = first == std::string::npos ? "" : text.substr(first, last - first + 1);
    std::size_t start = !digits.empty() && (digits[0] == '-' || digits[0] == '+') ? 1 : 0;
    bool number = digits.size() > start && digits.size() - start <= 10 &&
                  digits.find_first_not_of("0123456789", start) == std::string::npos;
    long long parsed = number ? std::stoll(digits) : 0;
    if (!number || parsed < INT_MIN || parsed > INT_MAX) dx.Fail("Please enter an integer.");
    value = static_cast<int>(parsed);
}

void DDV_MinMaxInt(CDataExchange& dx, int value, int minValue, int maxValue) {
    if (!dx.m_bSaveAndValidate || (value >= minValue && value <= maxValue)) return;
    dx.Fail("Please enter an integer between " + std::to_string(minValue) + " and " +
            std::to_string(maxValue) + ".");
}

CDialog::CDialog(const DialogTemplate& tmpl)
    : dialogTemplate(tmpl), caption(tmpl.caption != nullptr ? tmpl.caption : "") {
    windowRect = Rect{0, 0, tmpl.width, tmpl.height};
    controlList.reserve(tmpl.controls.size());
    for (const ControlTemplate& item : tmpl.controls) controlList.push_back(controlFrom(item));
}

void CDialog::addControl(const ControlTemplate& item) {
    if (hasControl(item.id))
        throw std::invalid_argument("dialog " + std::to_string(dialogTemplate.id) +
                                    " has a control " + std::to_string(item.id) + " already");
    controlList.push_back(controlFrom(item));
}

CDialog::~CDialog() = default;

int CDialog::DoModal() {
    try {
        Create();
        if (!ended) backend().runModalLoop(*this);
    } catch (...) {
        Destroy();
        throw;
    }
    Destroy();
    return result;
}

void CDialog::Create() {
    if (created) return;
    created = true;
    ended = false;
    messageWindow = std::make_unique<platform::MessageWindow>();
    backend().createWindow(*this);
    OnInitDialog();
}

void CDialog::Destroy() {
    if (!created || messageWindow == nullptr) return;
    try {
        OnDestroy();
    } catch (...) {
        backend().destroyWindow(*this);
        messageWindow.reset();
        throw;
    }
    backend().destroyWindow(*this);
    messageWindow.reset();
}

void CDialog::ShowWindow() {
    if (messageWindow != nullptr) backend().showWindow(*this);
}

std::size_t CDialog::PumpMessages() {
    if (messageWindow == nullptr) return 0;
    return messageWindow->dispatchPending(
        [this](const platform::WindowMessage& message) { Dispatch(message); });
}

void CDialog::Dispatch(const platform::WindowMessage& message) {
    switch (message.message) {
        case WM_COMMAND:
            notify(static_cast<int>(message.wParam & 0xFFFFu),
                   static_cast<unsigned>((message.wParam >> 16) & 0xFFFFu));
            break;
        case WM_CLOSE:
            OnClose();
            break;
        default:
            OnMessage(message);
    }
}

void CDialog::EndDialog(int value) {
    ended = true;
    result = value;
    backend().dialogEnded(*this);
}

platform::WindowHandle CDialog::GetSafeHwnd() const {
    return messageWindow != nullptr ? messageWindow->handle() : nullptr;
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange dx(*this, saveAndValidate);
    try {
        DoDataExchange(dx);
    } catch (const DataExchangeFailure&) {
        return false;
    }
    return true;
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::DoDataExchange(CDataExchange&) {}

void CDialog::OnOK() {
    if (!UpdateData(true)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnClose() { OnCancel(); }

void CDialog::OnDestroy() {}

bool CDialog::OnCommand(int id, unsigned notification) {
    if (notification != BN_CLICKED) return false;
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

bool CDialog::OnMessage(const platform::WindowMessage&) { return false; }

bool CDialog::OnToolTipNeedText(int, std::string&) { return false; }

void CDialog::EnableToolTips(bool enable) { toolTips = enable; }

void CDialog::AppendMenuEntry(int command, const std::string& text) {
    menu.push_back(MenuEntry{text.empty() ? 0 : command, text});
}

void CDialog::SetIcon(int iconId) {
    icon = iconId;
    backend().controlChanged(*this, 0);
}

void CDialog::SetTextColor(int id, int rgb) {
    Control& c = control(id);
    if (c.textColor == rgb) return;
    c.textColor = rgb;
    changed(id);
}

std::size_t CDialog::indexOf(int id) const {
    for (std::size_t i = 0; i < controlList.size(); ++i)
        if (controlList[i].id == id && id != IDSTATIC) return i;
    throw std::out_of_range("dialog " + std::to_string(dialogTemplate.id) + " has no control " +
                            std::to_string(id));
}

Control& CDialog::control(int id) { return controlList[indexOf(id)]; }
const Control& CDialog::control(int id) const { return controlList[indexOf(id)]; }

bool CDialog::hasControl(int id) const {
    return id != IDSTATIC && std::any_of(controlList.begin(), controlList.end(),
                                         [id](const Control& c) { return c.id == id; });
}

void CDialog::AttachControl(int id, CControlWrapper& wrapper) {
    indexOf(id);
    for (auto& [boundId, bound] : wrappers) {
        if (boundId != id) continue;
        if (bound == &wrapper) return;
        bound = &wrapper;
        wrapper.OnAttached(*this, id);
        return;
    }
    wrappers.emplace_back(id, &wrapper);
    wrapper.OnAttached(*this, id);
}

void CDialog::notify(int id, unsigned notification) {
    for (const auto& [boundId, wrapper] : wrappers)
        if (boundId == id && wrapper->OnReflectedCommand(notification)) return;
    OnCommand(id, notification);
}

void CDialog::changed(int id) { backend().controlChanged(*this, id); }

std::string CDialog::GetDlgItemText(int id) const {
    const Control& c = control(id);
    if (c.kind == ControlKind::DropDownList)
        return c.selection >= 0 ? c.entries[static_cast<std::size_t>(c.selection)] : "";
    return c.text;
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
    Control& c = control(id);
    if (c.text == text) return;
    c.text = text;
    changed(id);
}

int CDialog::IsDlgButtonChecked(int id) const { return control(id).check; }

void CDialog::CheckDlgButton(int id, int check) {
    Control& c = control(id);
    int value = check != 0 ? 1 : 0;
    if (c.check == value) return;
    c.check = value;
    changed(id);
}

std::pair<std::size_t, std::size_t> CDialog::radioGroup(int firstRadioId) const {
    std::size_t first = indexOf(firstRadioId);
    std::size_t end = first + 1;
    while (end < controlList.size() && controlList[end].kind == ControlKind::Radio &&
           (controlList[end].style & StyleGroup) == 0)
        ++end;
    return {first, end};
}

int CDialog::GetRadioIndex(int firstRadioId) const {
    auto [first, end] = radioGroup(firstRadioId);
    for (std::size_t i = first; i < end; ++i)
        if (controlList[i].check != 0) return static_cast<int>(i - first);
    return -1;
}

void CDialog::SetRadioIndex(int firstRadioId, int index) {
    auto [first, end] = radioGroup(firstRadioId);
    for (std::size_t i = first; i < end; ++i)
        CheckDlgButton(controlList[i].id, static_cast<int>(i - first) == index ? 1 : 0);
}

void CDialog::EnableControl(int id, bool enable) {
    Control& c = control(id);
    if (c.enabled == enable) return;
    c.enabled = enable;
    changed(id);
}

bool CDialog::IsControlEnabled(int id) const { return control(id).enabled; }

void CDialog::ShowControl(int id, bool show) {
    Control& c = control(id);
    if (c.visible == show) return;
    c.visible = show;
    changed(id);
}

bool CDialog::IsControlVisible(int id) const { return control(id).visible; }

void CDialog::MoveControl(int id, const Rect& rect) {
    Control& c = control(id);
    if (c.rect == rect) return;
    c.rect = rect;
    changed(id);
}

Rect CDialog::GetControlRect(int id) const { return control(id).rect; }

void CDialog::GotoDlgCtrl(int id) {
    indexOf(id);
    focusId = id;
    backend().focusControl(*this, id);
}

int CDialog::AddEntry(int id, const std::string& text) {
    Control& c = control(id);
    std::size_t at = c.entries.size();
    if ((c.style & StyleSorted) != 0) {
        at = 0;
        while (at < c.entries.size() && compareIgnoringCase(c.entries[at], text) <= 0) ++at;
    }
    c.entries.insert(c.entries.begin() + static_cast<std::ptrdiff_t>(at), text);
    if (c.selection >= static_cast<int>(at)) ++c.selection;
    changed(id);
    return static_cast<int>(at);
}

void CDialog::ResetEntries(int id) {
    Control& c = control(id);
    if (c.entries.empty() && c.selection < 0) return;
    c.entries.clear();
    c.selection = -1;
    changed(id);
}

int CDialog::FindEntry(int id, const std::string& text) const {
    const Control& c = control(id);
    for (std::size_t i = 0; i < c.entries.size(); ++i)
        if (compareIgnoringCase(c.entries[i], text) == 0) return static_cast<int>(i);
    return -1;
}

void CDialog::SetSelection(int id, int index) {
    Control& c = control(id);
    int value = index >= 0 && index < static_cast<int>(c.entries.size()) ? index : -1;
    if (c.selection == value) return;
    c.selection = value;
    changed(id);
}

int CDialog::GetSelection(int id) const { return control(id).selection; }

std::string CDialog::GetEntry(int id, int index) const {
    const Control& c = control(id);
    if (index < 0 || index >= static_cast<int>(c.entries.size())) return "";
    return c.entries[static_cast<std::size_t>(index)];
}

void CDialog::SetProgressPosition(int id, int position) {
    Control& c = control(id);
    int value = std::clamp(position, c.rangeLow, c.rangeHigh);
    if (c.position == value) return;
    c.position = value;
    changed(id);
}

int CDialog::GetProgressPosition(int id) const { return control(id).position; }

void CDialog::SetWindowText(const std::string& text) {
    if (caption == text) return;
    caption = text;
    backend().controlChanged(*this, 0);
}

void CDialog::SetWindowRect(const Rect& rect) {
    windowRect = rect;
    backend().controlChanged(*this, 0);
}

void CDialog::UserType(int id, const std::string& text) {
    const Control& c = control(id);
    if (!c.enabled || !c.visible || (c.style & StyleReadOnly) != 0 ||
        c.kind == ControlKind::ReadOnlyEdit)
        return;
    SetDlgItemText(id, text);
    notify(id, EN_CHANGE);
}

void CDialog::UserClick(int id) {
    Control& c = control(id);
    if (!c.enabled || !c.visible) return;
    if (c.kind == ControlKind::CheckBox) {
        CheckDlgButton(id, c.check != 0 ? 0 : 1);
    } else if (c.kind == ControlKind::Radio) {
        // The group is the run of radios around this one, from its group start.
        std::size_t index = indexOf(id);
        std::size_t first = index;
        while (first > 0 && (controlList[first].style & StyleGroup) == 0 &&
               controlList[first - 1].kind == ControlKind::Radio)
            --first;
        SetRadioIndex(controlList[first].id, static_cast<int>(index - first));
    }
    notify(id, BN_CLICKED);
}

void CDialog::UserSelect(int id, int index) {
    const Control& c = control(id);
    if (!c.enabled || !c.visible) return;
    SetSelection(id, index);
    notify(id, CBN_SELCHANGE);
}

void CDialog::UserMenuCommand(int command) {
    Dispatch(platform::WindowMessage{WM_SYSCOMMAND, static_cast<std::uintptr_t>(command), 0});
}

}  // namespace gui
