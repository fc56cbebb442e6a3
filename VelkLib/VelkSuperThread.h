// A thread object: the owner creates it with new and starts it, and from
// then on the object belongs to its own thread, which runs it and deletes it.
#pragma once

#include <cstdint>
#include <pthread.h>
#include <string>

class VelkSuperThread {
public:
    // Nothing runs until start().
    VelkSuperThread();
    virtual ~VelkSuperThread();

    VelkSuperThread(const VelkSuperThread&) = delete;
    VelkSuperThread& operator=(const VelkSuperThread&) = delete;

    // The thread's work.
    virtual void run() = 0;

    // Starts a new thread that calls run() and then deletes the object. An
    // error escaping run() (a VelkError, any other exception) is shown in an
    // "Unexpected Error" box (platform/MessageBox.h) after the object is
    // deleted; the process goes on. The object must have been made with new
    // and must not be touched by the caller once start() is called: the
    // thread may be done with it before start() returns. When no thread can
    // be started, the object is deleted and VelkError "Could not start the
    // thread." (system form) is thrown.
    void start();

    // Filled in by the thread itself as it starts, for use from within run():
    // the system's thread id and the thread's handle.
    uint32_t threadId;
    pthread_t threadHandle;

    // The text shown for an error that escaped run().
    static std::string unexpectedErrorText(const std::string& errorText);

private:
    static void threadRoutine(VelkSuperThread* thread);
};
