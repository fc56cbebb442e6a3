// The real windows: a backend on Qt 6 Widgets. Every CDialog with a
// template gets a window built from it: controls by id with their kinds,
// texts and styles, sizes in dialog units turned into pixels from the
// dialog font (a horizontal unit is a quarter of the average character
// width, a vertical one an eighth of the line height), tab order as in the
// template, Enter on the default button, Escape as the Cancel command, the
// close box as WM_CLOSE, the window's menu as a context menu, tool tips from
// OnToolTipNeedText. Messages posted to a dialog from any thread wake the
// Qt event loop, which serves them on the dialog's thread.
//
// This header names Qt types only by declaration, so that code outside
// platform/gui never sees a Qt header.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Backend.h"

class QWidget;

namespace gui {

class QtBackend : public Backend {
public:
    // Makes the process's Qt application object on the calling thread,
    // which becomes the dialog thread. argc and argv must outlive the
    // backend; one backend per process. The platform is Qt's own choice
    // (QT_QPA_PLATFORM honoured); when Qt cannot reach it, Qt ends the
    // process, so callers first check that a display is reachable.
    QtBackend(int& argc, char** argv);
    ~QtBackend() override;
    QtBackend(const QtBackend&) = delete;
    QtBackend& operator=(const QtBackend&) = delete;

    // False when the platform started without a screen (a framebuffer
    // platform without its device): no window could be made.
    bool hasDisplay() const override;
    Answer messageBox(const std::string& text, const std::string& caption, Buttons buttons,
                      Icon icon) override;
    void createWindow(CDialog& dialog) override;
    void showWindow(CDialog& dialog) override;
    void destroyWindow(CDialog& dialog) override;
    // A nested QDialog::exec; a handler's exception ends it and passes on.
    void runModalLoop(CDialog& dialog) override;
    void dialogEnded(CDialog& dialog) override;
    void controlChanged(CDialog& dialog, int id) override;
    void focusControl(CDialog& dialog, int id) override;
    // Shown in a message box (the program shows its own warnings dialog).
    void showReport(const std::string& title, const std::string& text) override;
    bool chooseFiles(CDialog* owner, const FileChooser& request,
                     std::vector<std::string>& chosen) override;
    bool chooseFolder(CDialog* owner, const std::string& title, const std::string& initialFolder,
                      std::string& chosen) override;
    bool chooseColor(CDialog* owner, unsigned& rgb) override;
    void beep() override;
    void setWaitCursor(bool on) override;
    // Measured in the font that windows made now would use.
    int textWidth(const std::string& text) override;

    // ---- For tests and the test driver ----

    // The dialog's window and a control's widget (the first control with
    // that id); null when there is none.
    QWidget* windowOf(const CDialog& dialog) const;
    QWidget* controlWidget(const CDialog& dialog, int id) const;

    // Called once each modal loop has started, with its dialog (a test
    // answers the dialog there). Empty: none.
    void setModalHook(std::function<void(CDialog&)> hook);
    // Called instead of showing a message box; its answer is the box's.
    // Empty: boxes are shown.
    using MessageBoxHook =
        std::function<Answer(const std::string& text, const std::string& caption, Buttons, Icon)>;
    void setMessageBoxHook(MessageBoxHook hook);

    // The first exception that a handler threw outside a modal loop (tests
    // drive dialogs without one); null when none. Taking it clears it.
    std::exception_ptr takeError();

    // The tool tip shown last, as rich text; "" when the last request
    // showed none.
    std::string lastToolTip() const;

    // Windows made from now on use the dialog font scaled by factor (1 is
    // the desktop's font).
    void setFontScale(double factor);

    // What is wrong with a dialog's window as laid out now: visible sibling
    // controls that overlap (group boxes aside), and labels, buttons, check
    // boxes and radios whose text does not fit. One line per fault.
    std::vector<std::string> layoutProblems(const CDialog& dialog) const;

    // Saves an image of the dialog's window (QWidget::grab) as a PNG file.
    // Returns false when there is no window or the file cannot be written.
    bool grabToFile(const CDialog& dialog, const std::string& path) const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl;
};

}  // namespace gui
