// The real windows live in a library of their own, loaded only when a
// display answers, so that a run without one never loads Qt: its start-up
// and its memory are those of a program without windows.
//
// The library lies beside the program and exports one entry. It uses the
// dialog layer of the program that loads it (the program exports it), so
// both work on one set of dialogs, one backend choice and one wait cursor.
#pragma once

namespace gui {

class Backend;

// The library's file name, in the program's own directory.
inline constexpr const char* kWindowsLibraryFile = "vantry-windows.so";

// The entry's name, and its type: makes the process's real-windows backend
// on the calling thread (the dialog thread) for Qt platform `platform`, or
// for Qt's own choice when `platform` is null. Returns null when the
// platform's plugin is not installed (Qt would end the process) or the
// backend cannot be made. argc and argv must outlive the backend; the
// caller owns it and deletes it before the process ends.
inline constexpr const char* kWindowsEntry = "vantryOpenWindows";
using WindowsEntry = Backend* (*)(const char* platform, int* argc, char** argv);

}  // namespace gui
