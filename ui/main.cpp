// The program vantry.

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "VelkLib/VelkThreadPool.h"
#include "platform/TerminalText.h"
#include "platform/gui/HeadlessBackend.h"
#include "platform/gui/BackendSelection.h"
#include "ui/CVantryApp.h"

#ifdef VANTRY_WITH_MIMALLOC
#include <mimalloc.h>
#endif

namespace {

// The parse runs on a pool of workers that end with it. The allocator keeps
// what a thread frees for that thread to reuse, so the buffers a worker
// freed (file texts, token lists, listing pages) would stay resident to the
// end of the run, while the module's copy of the model is built on other
// threads: nearly half as much peak memory again on eight threads. The free
// parts of an ended thread's memory go back to the system instead. Huge
// pages are not asked for: memory held in them cannot be given back in part.
void tuneAllocator() {
#ifdef VANTRY_WITH_MIMALLOC
    mi_option_set(mi_option_abandoned_page_decommit, 1);
#endif
}

}  // namespace

int main(int argc, char** argv) {
    tuneAllocator();
    // A terminal or pipe that closes (standard error into "| head -1") must
    // not end the run: a failed write is only a message lost.
    std::signal(SIGPIPE, SIG_IGN);
    // Real windows when a display answers, the terminal otherwise. Without
    // a display Ctrl-C is watched before any other thread starts, so that
    // every thread leaves the signal to the watcher.
    gui::ProgramBackend chosen(argc, argv);
    if (gui::HeadlessBackend* headless = chosen.headless()) headless->watchInterrupts();
    if (std::string warning = threadCountWarning(); !warning.empty())
        std::cerr << "vantry: warning: " << terminalText(warning) << std::endl;

    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    CVantryApp app(std::move(arguments));
    return app.Run();
}
