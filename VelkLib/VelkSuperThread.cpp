#include "VelkLib/VelkSuperThread.h"

#include "VelkLib/VelkError.h"
#include "platform/MessageBox.h"

#include <cxxabi.h>
#include <system_error>
#include <thread>
#include <unistd.h>

VelkSuperThread::VelkSuperThread() : threadId(0), threadHandle() {}

VelkSuperThread::~VelkSuperThread() = default;

std::string VelkSuperThread::unexpectedErrorText(const std::string& errorText) {
    return "An unexpected error occurred.  The error was: " + errorText;
}

void VelkSuperThread::start() {
    try {
        // The new thread owns the object from its first instruction on, so
        // nothing here may write to it once the thread exists; only the
        // local std::thread is touched below.
        std::thread thread(&VelkSuperThread::threadRoutine, this);
        thread.detach();
    } catch (const std::system_error& error) {
        delete this;
        throw VelkError("Could not start the thread.", error.code().value(),
                        "VelkSuperThread.cpp", __LINE__);
    }
}

void VelkSuperThread::threadRoutine(VelkSuperThread* thread) {
    thread->threadId = static_cast<uint32_t>(gettid());
    thread->threadHandle = pthread_self();
    std::string failure;
    bool failed = false;
    // Whatever escapes is reported here; letting it out of the thread would
    // end the whole process.
    try {
        thread->run();
    } catch (const VelkError& error) {
        failed = true;
        failure = error.getMessage();
    } catch (const std::exception& error) {
        failed = true;
        failure = error.what();
    } catch (abi::__forced_unwind&) {
        throw;  // a cancelled thread must finish unwinding
    } catch (...) {
        failed = true;
        failure = "an unknown exception";
    }
    delete thread;
    if (failed) platform::showErrorBox(unexpectedErrorText(failure), "Unexpected Error");
}
