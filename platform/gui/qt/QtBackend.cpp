#include "platform/gui/qt/QtBackend.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleFactory>
#include <QThread>
#include <QTimer>
#include <QToolTip>

#include <atomic>
#include <cmath>
#include <map>

#include "platform/gui/Dialog.h"
#include "platform/gui/FileFilter.h"
#include "platform/gui/KeyState.h"
#include "platform/gui/WaitCursor.h"

namespace gui {

namespace {

QString toQt(const std::string& text) { return QString::fromStdString(text); }
std::string fromQt(const QString& text) { return text.toStdString(); }

// Multi-line edits hold their text with "\r\n" line ends, as the dialogs
// store and compare it; the widget shows plain line feeds.
QString toWidgetLines(const std::string& text) {
    QString lines = toQt(text);
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return lines;
}
std::string fromWidgetLines(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return fromQt(lines);
}

// The text as shown: "&" marks the next letter as the control's key and is
// not drawn ("&&" draws one).
QString shownText(const QString& text) {
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

// Tool tips wider than this wrap onto further lines.
constexpr int toolTipWidth = 300;

// The program's icon, drawn rather than loaded: a rounded blue square with
// a white V.
QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(0x1f, 0x4e, 0x9c));
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRectF(0.5, 0.5, size - 1.0, size - 1.0), size / 6.0, size / 6.0);
        QPainterPath v;
        v.moveTo(size * 0.22, size * 0.24);
        v.lineTo(size * 0.5, size * 0.78);
        v.lineTo(size * 0.78, size * 0.24);
        painter.setPen(QPen(Qt::white, size / 8.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(v);
        icon.addPixmap(pixmap);
    }
    return icon;
}

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
        case Icon::Error: return QMessageBox::Critical;
        case Icon::Question: return QMessageBox::Question;
        case Icon::Warning: return QMessageBox::Warning;
        case Icon::Information: return QMessageBox::Information;
        case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

const QEvent::Type wakeEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

// Posted (from any thread) when a dialog's queue got a message.
class WakeEvent : public QEvent {
public:
    explicit WakeEvent(platform::WindowHandle window) : QEvent(wakeEventType), window(window) {}
    const platform::WindowHandle window;
};

class DialogWidget;

// What the backend keeps per dialog window; owned by its widget.
struct WindowState {
    CDialog* dialog = nullptr;  // null once the dialog let go of its window
    QtBackend::Impl* backend = nullptr;
    DialogWidget* widget = nullptr;
    std::vector<QWidget*> controls;  // by index in dialog->controls()
    std::vector<QRect> placed;       // the pixel rectangles last applied
    double unitX = 1.0;              // pixels per horizontal dialog unit
    double unitY = 1.0;
    std::shared_ptr<std::atomic<bool>> wakePending = std::make_shared<std::atomic<bool>>(false);
    std::exception_ptr error;
    bool inModalLoop = false;
    int busy = 0;  // calls into the dialog in progress
};

}  // namespace

struct QtBackend::Impl {
    std::unique_ptr<QApplication> app;
    std::unique_ptr<QObject> pump;
    std::map<const CDialog*, DialogWidget*> windows;
    std::vector<DialogWidget*> order;  // creation order; the last is on top
    std::function<void(CDialog&)> modalHook;
    MessageBoxHook boxHook;
    std::exception_ptr looseError;
    QFont baseFont;
    double fontScale = 1.0;
    WaitCursorHandler previousWaitCursor;
    KeyStateSource previousKeys;
    std::string lastToolTip;

    bool onDialogThread() const { return QThread::currentThread() == app->thread(); }
    DialogWidget* find(const CDialog& dialog) const {
        auto found = windows.find(&dialog);
        return found != windows.end() ? found->second : nullptr;
    }
    QWidget* ownerWidget(CDialog* owner) const;
    // The dialog font: the desktop's, scaled by fontScale.
    QFont dialogFont() const;

    // Runs a call into the dialog; an exception is kept for the modal loop
    // (which ends) or, without one, for takeError.
    template <class Call>
    void guarded(WindowState& state, Call&& call);

    void build(WindowState& state);
    QWidget* makeControl(WindowState& state, std::size_t index);
    void syncControl(WindowState& state, std::size_t index);
    void syncWindow(WindowState& state);
    void placeAll(WindowState& state);
    QRect pixelRect(const WindowState& state, const Rect& rect) const;
    QRect fittedRect(const WindowState& state, std::size_t index) const;
    QSize textRoom(const WindowState& state, std::size_t index) const;
    void pumpMessages(platform::WindowHandle window);
    void showToolTip(WindowState& state, std::size_t index, QHelpEvent* event);
};

namespace {

class DialogWidget : public QDialog {
public:
    DialogWidget(QWidget* parent) : QDialog(parent) {
        setSizeGripEnabled(false);
    }
    WindowState state;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void command(int id) {
        if (state.dialog == nullptr) return;
        state.backend->guarded(state, [&] {
            state.dialog->Dispatch(
                platform::WindowMessage{WM_COMMAND, commandParam(id, BN_CLICKED), 0});
        });
    }
    void clickDefaultButton();
};

// Receives the wake-ups and the calls handed over from other threads.
class Pump : public QObject {
public:
    explicit Pump(QtBackend::Impl& backend) : backend(backend) {}
    bool event(QEvent* event) override {
        if (event->type() != wakeEventType) return QObject::event(event);
        backend.pumpMessages(static_cast<WakeEvent*>(event)->window);
        return true;
    }

private:
    QtBackend::Impl& backend;
};

// A static text that acts as a link: clicking it is the control's click.
class LinkLabel : public QLabel {
public:
    std::function<void()> clicked;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
            clicked)
            clicked();
    }
};

void DialogWidget::keyPressEvent(QKeyEvent* event) {
    if (state.dialog == nullptr) return QDialog::keyPressEvent(event);
    switch (event->key()) {
        case Qt::Key_Escape:
            command(IDCANCEL);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // A focused button is pressed; otherwise the default button is.
            // Never the dialog's own accept: Enter must not close it.
            if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
                if (button->isEnabled()) button->click();
                return;
            }
            clickDefaultButton();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void DialogWidget::clickDefaultButton() {
    const std::vector<Control>& controls = state.dialog->controls();
    for (const Control& control : controls) {
        if (control.kind != ControlKind::DefaultButton) continue;
        if (!control.enabled || !control.visible) return;
        int id = control.id;
        state.backend->guarded(state, [&] { state.dialog->UserClick(id); });
        return;
    }
}

void DialogWidget::closeEvent(QCloseEvent* event) {
    // The dialog decides: it ends itself (EndDialog hides the window) or
    // refuses.
    event->ignore();
    if (state.dialog == nullptr) return;
    state.backend->guarded(state, [&] {
        state.dialog->Dispatch(platform::WindowMessage{WM_CLOSE, 0, 0});
    });
}

void DialogWidget::reject() { command(IDCANCEL); }

void DialogWidget::contextMenuEvent(QContextMenuEvent* event) {
    if (state.dialog == nullptr || state.dialog->menuEntries().empty()) return;
    QMenu menu(this);
    for (const MenuEntry& entry : state.dialog->menuEntries()) {
        if (entry.command == 0)
            menu.addSeparator();
        else
            menu.addAction(toQt(entry.text))->setData(entry.command);
    }
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == nullptr || state.dialog == nullptr) return;
    int command = chosen->data().toInt();
    state.backend->guarded(state, [&] { state.dialog->UserMenuCommand(command); });
}

bool DialogWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && state.dialog != nullptr) {
        for (std::size_t i = 0; i < state.controls.size(); ++i) {
            if (state.controls[i] != watched) continue;
            state.backend->showToolTip(state, i, static_cast<QHelpEvent*>(event));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace

template <class Call>
void QtBackend::Impl::guarded(WindowState& state, Call&& call) {
    ++state.busy;
    try {
        call();
    } catch (...) {
        if (state.inModalLoop) {
            if (!state.error) state.error = std::current_exception();
            state.widget->done(QDialog::Rejected);
        } else if (!looseError) {
            looseError = std::current_exception();
        }
    }
    --state.busy;
}

void QtBackend::Impl::pumpMessages(platform::WindowHandle window) {
    for (DialogWidget* widget : order) {
        WindowState& state = widget->state;
        if (state.dialog == nullptr || state.dialog->GetSafeHwnd() != window) continue;
        state.wakePending->store(false);
        guarded(state, [&] { state.dialog->PumpMessages(); });
        return;
    }
}

QWidget* QtBackend::Impl::ownerWidget(CDialog* owner) const {
    if (owner != nullptr) {
        if (DialogWidget* widget = find(*owner)) return widget;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if ((*it)->isVisible()) return *it;
    return nullptr;
}

QFont QtBackend::Impl::dialogFont() const {
    QFont font = baseFont;
    if (fontScale != 1.0) {
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * fontScale);
        else
            font.setPixelSize(static_cast<int>(std::lround(font.pixelSize() * fontScale)));
    }
    return font;
}

namespace {

// Pixels per horizontal dialog unit: a quarter of the letters' average
// width.
double horizontalUnit(const QFont& font) {
    return QFontMetricsF(font).horizontalAdvance(
               QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
           52.0 / 4.0;
}

}  // namespace

QRect QtBackend::Impl::pixelRect(const WindowState& state, const Rect& r) const {
    // Edges are scaled rather than sizes, so that controls that touch in
    // dialog units still touch in pixels.
    auto x = [&](int units) { return static_cast<int>(std::lround(units * state.unitX)); };
    auto y = [&](int units) { return static_cast<int>(std::lround(units * state.unitY)); };
    return QRect(QPoint(x(r.x), y(r.y)), QPoint(x(r.x + r.width) - 1, y(r.y + r.height) - 1));
}

namespace {

// A drop-down list's template height includes its open list; closed it is
// as tall as an edit box with some room for the arrow's frame.
constexpr int closedListHeight = 13;

Rect shownRect(const Control& control) {
    Rect rect = control.rect;
    if (control.kind == ControlKind::DropDownList) rect.height = std::min(rect.height, closedListHeight);
    return rect;
}

}  // namespace

QSize QtBackend::Impl::textRoom(const WindowState& state, std::size_t index) const {
    const Control& control = state.dialog->controls()[index];
    QWidget* widget = state.controls[index];
    QFontMetrics metrics(widget->font());
    QString text = shownText(toQt(control.text));
    int textWidth = metrics.horizontalAdvance(text);
    QStyle* style = widget->style();
    switch (control.kind) {
        case ControlKind::Label:
        case ControlKind::Link:
            if ((control.style & StyleWordWrap) != 0) {
                int width = pixelRect(state, control.rect).width();
                return QSize(width, static_cast<QLabel*>(widget)->heightForWidth(width));
            }
            return QSize(textWidth, metrics.height());
        case ControlKind::CheckBox:
        case ControlKind::Radio: {
            bool check = control.kind == ControlKind::CheckBox;
            int indicator = style->pixelMetric(check ? QStyle::PM_IndicatorWidth
                                                     : QStyle::PM_ExclusiveIndicatorWidth,
                                               nullptr, widget);
            int spacing = style->pixelMetric(check ? QStyle::PM_CheckBoxLabelSpacing
                                                   : QStyle::PM_RadioButtonLabelSpacing,
                                             nullptr, widget);
            if (text.isEmpty()) return QSize(indicator, metrics.height());
            return QSize(indicator + spacing + textWidth + 2, metrics.height());
        }
        case ControlKind::Button:
        case ControlKind::DefaultButton: {
            int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, widget);
            int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget);
            return QSize(textWidth + margin + 2 * frame, metrics.height() + 2 * frame);
        }
        default:
            return QSize(0, 0);
    }
}

QRect QtBackend::Impl::fittedRect(const WindowState& state, std::size_t index) const {
    const std::vector<Control>& controls = state.dialog->controls();
    const Control& control = controls[index];
    QRect rect = pixelRect(state, shownRect(control));
    bool widens = control.kind == ControlKind::Label || control.kind == ControlKind::Link ||
                  control.kind == ControlKind::CheckBox || control.kind == ControlKind::Radio ||
                  control.kind == ControlKind::Button || control.kind == ControlKind::DefaultButton;
    if (!widens || (control.style & StyleWordWrap) != 0) return rect;
    int needed = textRoom(state, index).width();
    if (needed <= rect.width()) return rect;
    // A text that the user's font makes wider than its control widens it,
    // as far as the next control to its right or the group box around it;
    // with neither, the window grows to hold it (syncWindow).
    int limit = rect.left() + needed - 1;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Control& other = controls[i];
        if (i == index || !other.visible || other.kind == ControlKind::GroupBox) continue;
        QRect o = pixelRect(state, shownRect(other));
        if (o.bottom() < rect.top() || o.top() > rect.bottom() || o.left() <= rect.left()) continue;
        limit = std::min(limit, o.left() - 2);
    }
    for (const Control& other : controls) {
        if (other.kind != ControlKind::GroupBox || !other.visible) continue;
        QRect box = pixelRect(state, other.rect);
        if (box.contains(rect)) limit = std::min(limit, box.right() - 3);
    }
    int width = std::max(rect.width(), std::min(needed, limit - rect.left() + 1));
    rect.setWidth(width);
    return rect;
}

void QtBackend::Impl::placeAll(WindowState& state) {
    QRect window = pixelRect(state, state.dialog->GetWindowRect());
    int margin = static_cast<int>(std::lround(4 * state.unitX));
    int right = window.right();
    for (std::size_t i = 0; i < state.controls.size(); ++i) {
        QRect rect = fittedRect(state, i);
        if (state.dialog->controls()[i].visible) right = std::max(right, rect.right() + margin);
        if (state.placed[i] == rect) continue;
        state.placed[i] = rect;
        state.controls[i]->setGeometry(rect);
    }
    if (right > window.right()) state.widget->setFixedWidth(right + 1);
}

QWidget* QtBackend::Impl::makeControl(WindowState& state, std::size_t index) {
    const Control& control = state.dialog->controls()[index];
    QWidget* parent = state.widget;
    WindowState* s = &state;
    int id = control.id;
    auto user = [this, s](auto&& call) {
        return [this, s, call] {
            if (s->dialog != nullptr) guarded(*s, [&] { call(*s->dialog); });
        };
    };
    QWidget* widget = nullptr;
    switch (control.kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(parent);
            label->setWordWrap((control.style & StyleWordWrap) != 0);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setTextFormat(Qt::PlainText);
            widget = label;
            break;
        }
        case ControlKind::Link: {
            auto* link = new LinkLabel;
            link->setParent(parent);
            link->setTextFormat(Qt::PlainText);
            link->setCursor(Qt::PointingHandCursor);
            link->clicked = user([id](CDialog& d) { d.UserClick(id); });
            widget = link;
            break;
        }
        case ControlKind::Icon: {
            auto* icon = new QLabel(parent);
            icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
            widget = icon;
            break;
        }
        case ControlKind::GroupBox:
            widget = new QGroupBox(parent);
            break;
        case ControlKind::Edit:
        case ControlKind::ReadOnlyEdit:
        case ControlKind::MultiLineEdit: {
            bool readOnly = control.kind == ControlKind::ReadOnlyEdit ||
                            (control.style & StyleReadOnly) != 0;
            if (control.kind == ControlKind::MultiLineEdit) {
                auto* edit = new QPlainTextEdit(parent);
                edit->setTabChangesFocus(true);
                edit->setReadOnly(readOnly);
                if ((control.style & StyleScrollBars) != 0) {
                    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
                    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
                    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
                }
                QObject::connect(edit, &QPlainTextEdit::textChanged, edit,
                                 user([id, edit](CDialog& d) {
                                     d.UserType(id, fromWidgetLines(edit->toPlainText()));
                                 }));
                widget = edit;
            } else {
                auto* edit = new QLineEdit(parent);
                edit->setReadOnly(readOnly);
                QObject::connect(edit, &QLineEdit::textEdited, edit,
                                 user([id, edit](CDialog& d) { d.UserType(id, fromQt(edit->text())); }));
                widget = edit;
            }
            break;
        }
        case ControlKind::Button:
        case ControlKind::DefaultButton: {
            auto* button = new QPushButton(parent);
            button->setAutoDefault(false);
            button->setDefault(control.kind == ControlKind::DefaultButton);
            QObject::connect(button, &QPushButton::clicked, button,
                             user([id](CDialog& d) { d.UserClick(id); }));
            widget = button;
            break;
        }
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(parent);
            QObject::connect(box, &QCheckBox::clicked, box, user([id](CDialog& d) { d.UserClick(id); }));
            widget = box;
            break;
        }
        case ControlKind::Radio: {
            auto* radio = new QRadioButton(parent);
            // Groups are the template's, not the parent's: the framework
            // ticks one radio of a group and unticks the rest.
            radio->setAutoExclusive(false);
            QObject::connect(radio, &QRadioButton::clicked, radio,
                             user([id](CDialog& d) { d.UserClick(id); }));
            widget = radio;
            break;
        }
        case ControlKind::DropDownList: {
            auto* list = new QComboBox(parent);
            list->setEditable(false);
            QObject::connect(list, &QComboBox::activated, list, [this, s, id](int chosen) {
                if (s->dialog != nullptr) guarded(*s, [&] { s->dialog->UserSelect(id, chosen); });
            });
            widget = list;
            break;
        }
        case ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(parent);
            bar->setTextVisible(false);
            widget = bar;
            break;
        }
    }
    if ((control.style & StyleFixedFont) != 0) {
        QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        fixed.setPointSizeF(state.widget->font().pointSizeF());
        widget->setFont(fixed);
    }
    bool focusable = control.kind != ControlKind::Label && control.kind != ControlKind::Link &&
                     control.kind != ControlKind::GroupBox && control.kind != ControlKind::Icon &&
                     control.kind != ControlKind::ProgressBar;
    if (focusable)
        widget->setFocusPolicy((control.style & StyleTabStop) != 0 ? Qt::StrongFocus : Qt::ClickFocus);
    else
        widget->setFocusPolicy(Qt::NoFocus);
    widget->installEventFilter(state.widget);
    return widget;
}

void QtBackend::Impl::syncControl(WindowState& state, std::size_t index) {
    const Control& control = state.dialog->controls()[index];
    QWidget* widget = state.controls[index];
    QSignalBlocker block(widget);
    QString text = toQt(control.text);
    switch (control.kind) {
        case ControlKind::Label:
        case ControlKind::Link: {
            auto* label = static_cast<QLabel*>(widget);
            // A label's "&" letter is the key of the control after it (its
            // buddy); without one the "&" is only left out.
            QString wanted = label->buddy() != nullptr ? text : shownText(text);
            if (label->text() != wanted) label->setText(wanted);
            break;
        }
        case ControlKind::GroupBox:
            static_cast<QGroupBox*>(widget)->setTitle(text);
            break;
        case ControlKind::Edit:
        case ControlKind::ReadOnlyEdit: {
            auto* edit = static_cast<QLineEdit*>(widget);
            if (edit->text() != text) edit->setText(text);
            break;
        }
        case ControlKind::MultiLineEdit: {
            auto* edit = static_cast<QPlainTextEdit*>(widget);
            QString lines = toWidgetLines(control.text);
            if (edit->toPlainText() != lines) edit->setPlainText(lines);
            break;
        }
        case ControlKind::Button:
        case ControlKind::DefaultButton:
            static_cast<QPushButton*>(widget)->setText(text);
            break;
        case ControlKind::CheckBox:
        case ControlKind::Radio: {
            auto* button = static_cast<QAbstractButton*>(widget);
            button->setText(text);
            button->setChecked(control.check != 0);
            break;
        }
        case ControlKind::DropDownList: {
            auto* list = static_cast<QComboBox*>(widget);
            QStringList entries;
            for (const std::string& entry : control.entries) entries << toQt(entry);
            QStringList shown;
            for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
            if (shown != entries) {
                list->clear();
                list->addItems(entries);
            }
            list->setCurrentIndex(control.selection);
            break;
        }
        case ControlKind::ProgressBar: {
            auto* bar = static_cast<QProgressBar*>(widget);
            bar->setRange(control.rangeLow, control.rangeHigh);
            bar->setValue(control.position);
            break;
        }
        case ControlKind::Icon:
            break;
    }
    if (control.textColor >= 0) {
        QPalette palette = widget->palette();
        QColor color(QRgb(static_cast<unsigned>(control.textColor)));
        palette.setColor(QPalette::WindowText, color);
        palette.setColor(QPalette::ButtonText, color);
        palette.setColor(QPalette::Text, color);
        widget->setPalette(palette);
    }
    widget->setEnabled(control.enabled);
    widget->setVisible(control.visible);
}

void QtBackend::Impl::syncWindow(WindowState& state) {
    state.widget->setWindowTitle(toQt(state.dialog->GetWindowText()));
    QRect window = pixelRect(state, state.dialog->GetWindowRect());
    state.widget->setFixedSize(window.size());
    if (state.dialog->GetIcon() != 0) state.widget->setWindowIcon(QApplication::windowIcon());
}

void QtBackend::Impl::build(WindowState& state) {
    // The units come from the dialog font, measured as the average width of
    // the letters and the line height.
    QFontMetricsF metrics(state.widget->font());
    state.unitX = horizontalUnit(state.widget->font());
    state.unitY = std::ceil(metrics.height()) / 8.0;
    const std::vector<Control>& controls = state.dialog->controls();
    state.controls.reserve(controls.size());
    // Created in template order, which is the tab order.
    for (std::size_t i = 0; i < controls.size(); ++i) state.controls.push_back(makeControl(state, i));
    state.placed.assign(controls.size(), QRect());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        auto* label = qobject_cast<QLabel*>(state.controls[i]);
        if (label == nullptr || controls[i].kind != ControlKind::Label ||
            !toQt(controls[i].text).contains(QLatin1Char('&')))
            continue;
        for (std::size_t next = i + 1; next < controls.size(); ++next) {
            if (state.controls[next]->focusPolicy() == Qt::NoFocus) continue;
            label->setBuddy(state.controls[next]);
            break;
        }
    }
    // Group boxes lie under the controls they frame.
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].kind == ControlKind::GroupBox) state.controls[i]->lower();
    for (std::size_t i = 0; i < controls.size(); ++i) syncControl(state, i);
    syncWindow(state);
    placeAll(state);
}

void QtBackend::Impl::showToolTip(WindowState& state, std::size_t index, QHelpEvent* event) {
    CDialog* dialog = state.dialog;
    std::string text;
    bool shown = false;
    if (dialog->ToolTipsEnabled()) {
        int id = dialog->controls()[index].id;
        guarded(state, [&] { shown = dialog->OnToolTipNeedText(id, text); });
    }
    if (!shown || text.empty()) {
        lastToolTip.clear();
        QToolTip::hideText();
        event->ignore();
        return;
    }
    QString tip = toQt(text).toHtmlEscaped();
    QWidget* widget = state.controls[index];
    if (QFontMetrics(QToolTip::font()).horizontalAdvance(toQt(text)) > toolTipWidth)
        tip = QStringLiteral("<table width=\"%1\"><tr><td>%2</td></tr></table>").arg(toolTipWidth).arg(tip);
    else
        tip = QStringLiteral("<p style=\"white-space:pre\">%1</p>").arg(tip);
    lastToolTip = fromQt(tip);
    QToolTip::showText(event->globalPos(), tip, widget);
}

// ---- QtBackend ----

QtBackend::QtBackend(int& argc, char** argv) : impl(std::make_unique<Impl>()) {
    impl->app = std::make_unique<QApplication>(argc, argv);
    // One look on every desktop, and the one the layout is measured in.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
    QApplication::setWindowIcon(programIcon());
    QApplication::setQuitOnLastWindowClosed(false);
    impl->baseFont = QApplication::font();
    impl->pump = std::make_unique<Pump>(*impl);
    impl->previousWaitCursor = setWaitCursorHandler([this](bool busy) { setWaitCursor(busy); });
    impl->previousKeys = setKeyStateSource([] {
        Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
        return (held.testFlag(Qt::ShiftModifier) ? unsigned(KeyShift) : 0u) |
               (held.testFlag(Qt::ControlModifier) ? unsigned(KeyControl) : 0u) |
               (held.testFlag(Qt::AltModifier) ? unsigned(KeyAlt) : 0u);
    });
}

bool QtBackend::hasDisplay() const { return QGuiApplication::primaryScreen() != nullptr; }

QtBackend::~QtBackend() {
    setWaitCursorHandler(std::move(impl->previousWaitCursor));
    setKeyStateSource(std::move(impl->previousKeys));
    for (DialogWidget* widget : impl->order) {
        widget->state.dialog = nullptr;
        delete widget;
    }
    impl->order.clear();
    impl->windows.clear();
    impl->pump.reset();
    impl->app.reset();
}

Answer QtBackend::messageBox(const std::string& text, const std::string& caption,
                             Buttons buttons, Icon icon) {
    Answer instead = buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    if (!impl->onDialogThread()) {
        // Another thread (a run's) never waits for the dialog thread: the
        // box is shown there when its loop next runs.
        QMetaObject::invokeMethod(
            impl->pump.get(), [this, text, caption, buttons, icon] { messageBox(text, caption, buttons, icon); },
            Qt::QueuedConnection);
        return instead;
    }
    if (impl->boxHook) return impl->boxHook(text, caption, buttons, icon);
    QMessageBox box(qtIcon(icon), toQt(caption), toQt(text),
                    buttons == Buttons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    impl->ownerWidget(nullptr));
    if (buttons == Buttons::YesNo) box.setEscapeButton(QMessageBox::No);
    int chosen = box.exec();
    if (buttons == Buttons::Ok) return Answer::Ok;
    return chosen == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void QtBackend::createWindow(CDialog& dialog) {
    if (impl->find(dialog) != nullptr) return;
    auto* widget = new DialogWidget(impl->ownerWidget(nullptr));
    widget->setFont(impl->dialogFont());
    WindowState& state = widget->state;
    state.dialog = &dialog;
    state.backend = impl.get();
    state.widget = widget;
    impl->windows[&dialog] = widget;
    impl->order.push_back(widget);
    impl->build(state);
    QObject* pump = impl->pump.get();
    std::shared_ptr<std::atomic<bool>> pending = state.wakePending;
    platform::WindowHandle handle = dialog.GetSafeHwnd();
    if (dialog.window() != nullptr)
        dialog.window()->setWakeUp([pump, pending, handle] {
            // One wake-up waits at a time; it serves everything queued.
            if (!pending->exchange(true)) QCoreApplication::postEvent(pump, new WakeEvent(handle));
        });
}

void QtBackend::showWindow(CDialog& dialog) {
    if (DialogWidget* widget = impl->find(dialog)) {
        widget->show();
        widget->raise();
    }
}

void QtBackend::destroyWindow(CDialog& dialog) {
    DialogWidget* widget = impl->find(dialog);
    if (widget == nullptr) return;
    if (dialog.window() != nullptr) dialog.window()->setWakeUp(nullptr);
    impl->windows.erase(&dialog);
    std::erase(impl->order, widget);
    widget->state.dialog = nullptr;
    widget->hide();
    if (widget->state.busy > 0)
        widget->deleteLater();  // its own handler is still on the stack
    else
        delete widget;
}

void QtBackend::runModalLoop(CDialog& dialog) {
    DialogWidget* widget = impl->find(dialog);
    if (widget == nullptr || dialog.IsEnded()) return;
    WindowState& state = widget->state;
    state.inModalLoop = true;
    // Messages queued before the loop started are served in it.
    if (dialog.window() != nullptr && dialog.window()->pendingCount() > 0)
        QCoreApplication::postEvent(impl->pump.get(), new WakeEvent(dialog.GetSafeHwnd()));
    if (impl->modalHook) {
        QTimer::singleShot(0, widget, [this, widget] {
            if (widget->state.dialog != nullptr && impl->modalHook)
                impl->guarded(widget->state, [&] { impl->modalHook(*widget->state.dialog); });
        });
    }
    widget->exec();
    state.inModalLoop = false;
    if (state.error) {
        std::exception_ptr error = state.error;
        state.error = nullptr;
        std::rethrow_exception(error);
    }
}

void QtBackend::dialogEnded(CDialog& dialog) {
    if (DialogWidget* widget = impl->find(dialog)) widget->done(dialog.GetResult());
}

void QtBackend::controlChanged(CDialog& dialog, int id) {
    DialogWidget* widget = impl->find(dialog);
    if (widget == nullptr) return;
    WindowState& state = widget->state;
    if (id == 0) {
        impl->syncWindow(state);
        impl->placeAll(state);
        return;
    }
    const std::vector<Control>& controls = dialog.controls();
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].id == id) impl->syncControl(state, i);
    impl->placeAll(state);
}

void QtBackend::focusControl(CDialog& dialog, int id) {
    if (QWidget* widget = controlWidget(dialog, id)) widget->setFocus(Qt::OtherFocusReason);
}

void QtBackend::showReport(const std::string& title, const std::string& text) {
    messageBox(text, title, Buttons::Ok, Icon::Warning);
}

bool QtBackend::chooseFiles(CDialog* owner, const FileChooser& request,
                            std::vector<std::string>& chosen) {
    QFileDialog chooser(impl->ownerWidget(owner));
    QStringList filters;
    for (const FilterEntry& entry : parseFileFilter(request.filter)) filters << toQt(nameFilter(entry));
    if (!filters.isEmpty()) chooser.setNameFilters(filters);
    if (request.save) {
        chooser.setAcceptMode(QFileDialog::AcceptSave);
        chooser.setFileMode(QFileDialog::AnyFile);
        chooser.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    } else {
        chooser.setAcceptMode(QFileDialog::AcceptOpen);
        chooser.setFileMode(request.multiSelect   ? QFileDialog::ExistingFiles
                            : request.mustExist ? QFileDialog::ExistingFile
                                                : QFileDialog::AnyFile);
    }
    if (!request.defaultExtension.empty()) chooser.setDefaultSuffix(toQt(request.defaultExtension));
    if (!request.initialPath.empty()) {
        QFileInfo initial(toQt(request.initialPath));
        if (initial.isDir()) {
            chooser.setDirectory(initial.absoluteFilePath());
        } else {
            chooser.setDirectory(initial.absolutePath());
            chooser.selectFile(initial.fileName());
        }
    }
    if (chooser.exec() != QDialog::Accepted) return false;
    std::vector<std::string> files;
    for (const QString& file : chooser.selectedFiles()) files.push_back(fromQt(file));
    if (files.empty()) return false;
    chosen = std::move(files);
    return true;
}

bool QtBackend::chooseFolder(CDialog* owner, const std::string& title,
                             const std::string& initialFolder, std::string& chosen) {
    QFileDialog chooser(impl->ownerWidget(owner), toQt(title));
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOption(QFileDialog::ShowDirsOnly, true);
    if (!initialFolder.empty() && QFileInfo(toQt(initialFolder)).isDir())
        chooser.setDirectory(toQt(initialFolder));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return false;
    chosen = fromQt(chooser.selectedFiles().front());
    return true;
}

bool QtBackend::chooseColor(CDialog* owner, unsigned& rgb) {
    QColor color = QColorDialog::getColor(QColor(QRgb(rgb)), impl->ownerWidget(owner));
    if (!color.isValid()) return false;
    rgb = static_cast<unsigned>(color.rgb()) & 0xFFFFFFu;
    return true;
}

void QtBackend::beep() {
    if (impl->onDialogThread())
        QApplication::beep();
    else
        QMetaObject::invokeMethod(impl->pump.get(), [] { QApplication::beep(); }, Qt::QueuedConnection);
}

void QtBackend::setWaitCursor(bool on) {
    auto apply = [on] {
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    if (impl->onDialogThread())
        apply();
    else
        QMetaObject::invokeMethod(impl->pump.get(), apply, Qt::QueuedConnection);
}

QWidget* QtBackend::windowOf(const CDialog& dialog) const { return impl->find(dialog); }

QWidget* QtBackend::controlWidget(const CDialog& dialog, int id) const {
    DialogWidget* widget = impl->find(dialog);
    if (widget == nullptr) return nullptr;
    const std::vector<Control>& controls = dialog.controls();
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].id == id) return widget->state.controls[i];
    return nullptr;
}

void QtBackend::setModalHook(std::function<void(CDialog&)> hook) { impl->modalHook = std::move(hook); }

void QtBackend::setMessageBoxHook(MessageBoxHook hook) { impl->boxHook = std::move(hook); }

std::exception_ptr QtBackend::takeError() {
    std::exception_ptr error = impl->looseError;
    impl->looseError = nullptr;
    return error;
}

void QtBackend::setFontScale(double factor) { impl->fontScale = factor; }

int QtBackend::textWidth(const std::string& text) {
    QFont font = impl->dialogFont();
    double width = QFontMetricsF(font).horizontalAdvance(shownText(toQt(text)));
    return static_cast<int>(std::ceil(width / horizontalUnit(font)));
}

std::string QtBackend::lastToolTip() const { return impl->lastToolTip; }

std::vector<std::string> QtBackend::layoutProblems(const CDialog& dialog) const {
    std::vector<std::string> problems;
    DialogWidget* widget = impl->find(dialog);
    if (widget == nullptr) return {"dialog " + std::to_string(dialog.getTemplate().id) + " has no window"};
    const WindowState& state = widget->state;
    const std::vector<Control>& controls = dialog.controls();
    auto name = [&](std::size_t i) {
        const Control& c = controls[i];
        return (c.id == IDSTATIC ? std::string("label") : std::to_string(c.id)) + " \"" + c.text + "\"";
    };
    QRect client(QPoint(0, 0), widget->size());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (!controls[i].visible) continue;
        QRect rect = state.controls[i]->geometry();
        if (!client.contains(rect)) problems.push_back(name(i) + " reaches outside the window");
        QSize room = impl->textRoom(state, i);
        if (room.width() > rect.width() || room.height() > rect.height())
            problems.push_back(name(i) + " cuts its text: needs " + std::to_string(room.width()) + "x" +
                               std::to_string(room.height()) + ", has " + std::to_string(rect.width()) +
                               "x" + std::to_string(rect.height()));
        if (controls[i].kind == ControlKind::GroupBox) continue;
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            if (!controls[j].visible || controls[j].kind == ControlKind::GroupBox) continue;
            if (rect.intersects(state.controls[j]->geometry()))
                problems.push_back(name(i) + " overlaps " + name(j));
        }
    }
    return problems;
}

bool QtBackend::grabToFile(const CDialog& dialog, const std::string& path) const {
    DialogWidget* widget = impl->find(dialog);
    if (widget == nullptr) return false;
    widget->ensurePolished();
    return widget->grab().save(toQt(path), "PNG");
}

}  // namespace gui
