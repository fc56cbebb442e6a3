// The program vantry.

#include <string>
#include <vector>

#include "platform/gui/HeadlessBackend.h"
#include "platform/gui/BackendSelection.h"
#include "ui/CVantryApp.h"

#ifdef VANTRY_WITH_MIMALLOC
#include <mimalloc.h>
#endif

namespace {

// A run allocates its model on many threads and then builds the module's
// copy on one. Each fresh 4 KiB page costs a fault, and on virtual machines
// a fault costs tens of microseconds: a third of a multi-threaded run went
// to faults. Backing the allocator's segments with transparent huge pages
// (where the system allows them on request) takes one fault per 2 MiB.
// Every segment is committed at once, so that the first segment of each
// thread is backed that way too. The price is resident memory counted in
// 2 MiB steps: some 50 MB more on a run of eight threads.
void tuneAllocator() {
#ifdef VANTRY_WITH_MIMALLOC
    mi_option_set(mi_option_large_os_pages, 1);
    mi_option_set(mi_option_eager_commit_delay, 0);
#endif
}

}  // namespace

int main(int argc, char** argv) {
    tuneAllocator();
    // Real windows when a display answers, the terminal otherwise. Without
    // a display Ctrl-C is watched before any other thread starts, so that
    // every thread leaves the signal to the watcher.
    gui::ProgramBackend chosen(argc, argv);
    if (gui::HeadlessBackend* headless = chosen.headless()) headless->watchInterrupts();

    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    CVantryApp app(std::move(arguments));
    return app.Run();
}
