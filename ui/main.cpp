// The program vantry.

#include <string>
#include <vector>

#include "platform/gui/HeadlessBackend.h"
#include "platform/gui/qt/BackendSelection.h"
#include "ui/CVantryApp.h"

int main(int argc, char** argv) {
    // Real windows when a display answers, the terminal otherwise. Without
    // a display Ctrl-C is watched before any other thread starts, so that
    // every thread leaves the signal to the watcher.
    gui::ProgramBackend chosen(argc, argv);
    if (gui::HeadlessBackend* headless = chosen.headless()) headless->watchInterrupts();

    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    CVantryApp app(std::move(arguments));
    return app.Run();
}
