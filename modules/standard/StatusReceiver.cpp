#include "modules/standard/StatusReceiver.h"

void TheStatusReceiver::install(ModuleProgressFn progressFn, ModuleStatusFn statusFn,
                                ModuleErrorFn errorFn, void* callbackContext) {
    progressCallback = progressFn;
    statusCallback = statusFn;
    errorCallback = errorFn;
    context = callbackContext;
    cancel.install(progressFn, callbackContext);
}

void TheStatusReceiver::message(const char* line1, const char* line2) {
    // The program's callback may not cope with a null second line.
    if (statusCallback) statusCallback(line1, line2 ? line2 : "", context);
}

bool TheStatusReceiver::progress(int done, int total) {
    if (!progressCallback) return true;
    return progressCallback(done, total, context) != 0;
}

void TheStatusReceiver::error(const std::string& text) {
    if (errorCallback) errorCallback(text.c_str(), context);
}
