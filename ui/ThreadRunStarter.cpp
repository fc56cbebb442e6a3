#include "ui/RunStarter.h"

namespace {

// The run thread whose end opens the dialog's gate. The gate opens in the
// destructor, which the thread runs after run() has returned: from then on
// nothing of the run touches the module or posts to the dialog.
class GatedRunThread : public RunThread {
public:
    GatedRunThread(const RunParameters& parameters, std::shared_ptr<RunGate> runGate)
        : RunThread(parameters), gate(std::move(runGate)) {}
    ~GatedRunThread() override { gate->open(); }

private:
    std::shared_ptr<RunGate> gate;
};

}  // namespace

void ThreadRunStarter::start(const RunParameters& parameters, std::shared_ptr<RunGate> gate) {
    auto* thread = new GatedRunThread(parameters, gate);
    // start() owns the object from here on, also when it throws.
    thread->start();
}
