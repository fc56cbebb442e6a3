// The program vantry.

#include <string>
#include <vector>

#include "platform/gui/Backend.h"
#include "platform/gui/HeadlessBackend.h"
#include "ui/CVantryApp.h"

int main(int argc, char** argv) {
    // Only the headless backend exists so far; it watches Ctrl-C before any
    // other thread starts, so that every thread leaves the signal to it.
    static gui::HeadlessBackend headless;
    gui::setBackend(&headless);
    headless.watchInterrupts();

    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    CVantryApp app(std::move(arguments));
    return app.Run();
}
