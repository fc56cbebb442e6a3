// How the standard module talks back to the program during a run: the
// status lines, the progress bar with its cancel answer, and the warnings.
#pragma once

#include "modules/ModuleInterface.h"
#include "modules/common/CancelPoll.h"

#include <string>

// What module code needs of a status channel. Reports never fail.
class StatusReceiver {
public:
    // Sets the two status lines; a null line1 leaves the first line as it
    // is. line2 must not be null ("" leaves the second line unchanged on the
    // program's side).
    virtual void message(const char* line1, const char* line2) = 0;
    // Reports done out of total (done -1 only asks). Returns false when the
    // user asked the run to stop, true otherwise.
    virtual bool progress(int done, int total) = 0;
    // Adds one text to the run's warnings.
    virtual void error(const std::string& text) = 0;
    // The run's stop request for the long loops, from any thread; null
    // when nobody can ask for a stop.
    virtual CancelPoll* cancelPoll() { return nullptr; }

protected:
    ~StatusReceiver() = default;
};

// The receiver over the three callbacks of init. Until init installs them
// (and after a run, with the last run's callbacks) every report goes to
// whatever is installed; with nothing installed message and error do
// nothing and progress answers "go on".
class TheStatusReceiver final : public StatusReceiver {
public:
    // Replaces the callbacks and the context handed back on every call.
    void install(ModuleProgressFn progressFn, ModuleStatusFn statusFn, ModuleErrorFn errorFn,
                 void* context);

    void message(const char* line1, const char* line2) override;
    bool progress(int done, int total) override;
    void error(const std::string& text) override;
    // Asks through the installed progress callback.
    CancelPoll* cancelPoll() override { return &cancel; }

    ModuleProgressFn progressCallback = nullptr;
    ModuleStatusFn statusCallback = nullptr;
    ModuleErrorFn errorCallback = nullptr;
    void* context = nullptr;
    CancelPoll cancel;
};
