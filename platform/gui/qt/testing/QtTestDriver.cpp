#include "platform/gui/qt/testing/QtTestDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform/gui/Dialog.h"
#include "platform/gui/qt/QtBackend.h"

namespace gui::qttest {

namespace {

QWidget* widgetOf(const CDialog& dialog, int id) {
    QWidget* widget = backend().controlWidget(dialog, id);
    if (widget == nullptr)
        throw std::out_of_range("no widget for control " + std::to_string(id) + " of dialog " +
                                std::to_string(dialog.getTemplate().id));
    return widget;
}

QWidget* windowWidget(const CDialog& dialog) {
    QWidget* window = backend().windowOf(dialog);
    if (window == nullptr)
        throw std::out_of_range("dialog " + std::to_string(dialog.getTemplate().id) + " has no window");
    return window;
}

void rethrowHandlerError() {
    if (std::exception_ptr error = backend().takeError()) std::rethrow_exception(error);
}

Rect rectOf(const QRect& rect) { return Rect{rect.x(), rect.y(), rect.width(), rect.height()}; }

}  // namespace

QtBackend& backend() {
    static QtBackend* instance = [] {
        // Never a window on the developer's display; told for the start
        // only, so that programs the tests start choose for themselves.
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "vantry-tests";
        static char* argv[] = {name, nullptr};
        // Kept to the end of the process: Qt cannot make a second
        // application object, and ending one during exit races with Qt's
        // own static objects.
        auto* made = new QtBackend(argc, argv);
        ::unsetenv("QT_QPA_PLATFORM");
        return made;
    }();
    return *instance;
}

UseQt::UseQt() : previous(setBackend(&backend())) {}

UseQt::~UseQt() {
    backend().setModalHook(nullptr);
    backend().setMessageBoxHook(nullptr);
    backend().setFontScale(1.0);
    setBackend(previous);
}

void click(CDialog& dialog, int id) {
    QWidget* widget = widgetOf(dialog, id);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
    rethrowHandlerError();
}

void type(CDialog& dialog, int id, const std::string& text) {
    QWidget* widget = widgetOf(dialog, id);
    widget->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->selectAll();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) edit->selectAll();
    QString all = QString::fromStdString(text);
    all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (all.isEmpty()) QTest::keyClick(widget, Qt::Key_Delete);
    const QStringList lines = all.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) QTest::keyClick(widget, Qt::Key_Return);
        if (!lines[i].isEmpty()) QTest::keyClicks(widget, lines[i]);
    }
    rethrowHandlerError();
}

void press(CDialog& dialog, Key key) {
    QWidget* window = windowWidget(dialog);
    QWidget* target = window->focusWidget() != nullptr ? window->focusWidget() : window;
    Qt::Key code = key == Key::Enter    ? Qt::Key_Return
                   : key == Key::Escape ? Qt::Key_Escape
                   : key == Key::Tab    ? Qt::Key_Tab
                                        : Qt::Key_Menu;
    if (key == Key::Menu) {
        // What the Menu key amounts to: a context menu request from the
        // keyboard, at the window.
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(10, 10),
                                window->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(window, &event);
    } else {
        QTest::keyClick(target, code);
    }
    rethrowHandlerError();
}

void select(CDialog& dialog, int id, int index) {
    auto* list = qobject_cast<QComboBox*>(widgetOf(dialog, id));
    if (list == nullptr) throw std::invalid_argument("control " + std::to_string(id) + " is no list");
    if (!list->isEnabled()) return;
    // As a choice with the keyboard ends: the entry becomes current and
    // the list reports it activated.
    list->setCurrentIndex(index);
    Q_EMIT list->activated(index);
    rethrowHandlerError();
}

bool chooseMenuEntry(CDialog& dialog, const std::string& entryText) {
    QWidget* window = windowWidget(dialog);
    bool found = false;
    QString wanted = QString::fromStdString(entryText);
    // The menu runs its own loop; the choice is made from inside it.
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) return;
        for (QAction* action : menu->actions()) {
            if (action->text() != wanted) continue;
            found = true;
            menu->setActiveAction(action);
            QTest::keyClick(menu, Qt::Key_Return);
            return;
        }
        menu->close();
    });
    QPoint inside(window->width() - 5, window->height() - 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, inside, window->mapToGlobal(inside));
    QApplication::sendEvent(window, &event);
    rethrowHandlerError();
    return found;
}

std::string toolTipOf(CDialog& dialog, int id) {
    QWidget* widget = widgetOf(dialog, id);
    QPoint at = widget->rect().center();
    QHelpEvent event(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
    rethrowHandlerError();
    // The shown text, without the markup that wraps it.
    QTextDocument document;
    document.setHtml(QString::fromStdString(backend().lastToolTip()));
    std::string text = document.toPlainText().trimmed().toStdString();
    QToolTip::hideText();
    return text;
}

std::string shownText(const CDialog& dialog, int id) {
    QWidget* widget = widgetOf(dialog, id);
    QString text;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) text = edit->text();
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        text = edit->toPlainText();
        text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) text = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(widget)) text = button->text();
    else if (auto* list = qobject_cast<QComboBox*>(widget)) text = list->currentText();
    else if (auto* box = qobject_cast<QGroupBox*>(widget)) text = box->title();
    return text.toStdString();
}

bool shownChecked(const CDialog& dialog, int id) {
    auto* button = qobject_cast<QAbstractButton*>(widgetOf(dialog, id));
    return button != nullptr && button->isChecked();
}

bool shownEnabled(const CDialog& dialog, int id) { return widgetOf(dialog, id)->isEnabled(); }

bool shownVisible(const CDialog& dialog, int id) {
    return widgetOf(dialog, id)->isVisibleTo(windowWidget(dialog));
}

int shownProgress(const CDialog& dialog, int id) {
    auto* bar = qobject_cast<QProgressBar*>(widgetOf(dialog, id));
    return bar != nullptr ? bar->value() : -1;
}

std::string shownTitle(const CDialog& dialog) { return windowWidget(dialog)->windowTitle().toStdString(); }

Rect shownWindowRect(const CDialog& dialog) { return rectOf(windowWidget(dialog)->geometry()); }

Rect shownControlRect(const CDialog& dialog, int id) { return rectOf(widgetOf(dialog, id)->geometry()); }

int focusedControl(const CDialog& dialog) {
    QWidget* focus = windowWidget(dialog)->focusWidget();
    for (const Control& control : dialog.controls())
        if (control.id != IDSTATIC && backend().controlWidget(dialog, control.id) == focus) return control.id;
    return 0;
}

void processEvents() {
    QApplication::processEvents(QEventLoop::AllEvents);
    QApplication::sendPostedEvents();
    QApplication::processEvents(QEventLoop::AllEvents);
    rethrowHandlerError();
}

bool waitUntil(const std::function<bool()>& done, int maxSeconds) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > maxSeconds * 1000LL) return false;
        QTest::qWait(5);
        rethrowHandlerError();
    }
    return true;
}

void onModal(std::function<void(CDialog&)> hook) { backend().setModalHook(std::move(hook)); }

void onMessageBox(BoxHook hook) { backend().setMessageBoxHook(std::move(hook)); }

void setFontScale(double factor) { backend().setFontScale(factor); }

std::vector<std::string> layoutProblems(const CDialog& dialog) { return backend().layoutProblems(dialog); }

std::string screenshot(const CDialog& dialog, const std::string& name) {
    std::filesystem::path directory;
    if (const char* given = std::getenv("VANTRY_SCREENSHOT_DIR"); given != nullptr && *given != '\0')
        directory = given;
    else if (const char* source = std::getenv("VANTRY_SOURCE_DIR"); source != nullptr && *source != '\0')
        directory = std::filesystem::path(source) / "build" / "screenshots";
    else
        directory = "screenshots";
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    std::string path = (directory / (name + ".png")).string();
    return backend().grabToFile(dialog, path) ? path : "";
}

}  // namespace gui::qttest
