// The program vantry.
#include <malloc.h>

#include <string>
#include <vector>

#include "platform/gui/Backend.h"
#include "platform/gui/HeadlessBackend.h"
#include "ui/CVantryApp.h"

int main(int argc, char** argv) {
    // The run's model grows to about 100 MB on the run thread's heap, which
    // otherwise grows by a page-rounded mprotect at a time (6,000 of them in a
    // 3,000-class run) and is trimmed and touched again between phases (430
    // madvise calls, a fifth of the page faults). A padding as large as a
    // thread heap makes each new heap usable at once and keeps freed memory
    // for the next phase; untouched pages still cost no memory.
    mallopt(M_TOP_PAD, 64 * 1024 * 1024);

    // Only the headless backend exists so far; it watches Ctrl-C before any
    // other thread starts, so that every thread leaves the signal to it.
    static gui::HeadlessBackend headless;
    gui::setBackend(&headless);
    headless.watchInterrupts();

    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    CVantryApp app(std::move(arguments));
    return app.Run();
}
