// The error family thrown by all of the system's own code.
//
// Errors are thrown by value and caught by const reference. The text shown
// to users always comes from the virtual getMessage(), so that a handler
// catching VelkError still shows the derived class's text.
#pragma once

#include <exception>
#include <string>

// The error classes keep default visibility even inside output modules that
// hide everything else, so an error thrown in a module is caught by type in
// the program.
#define VELK_VISIBLE __attribute__((visibility("default")))

class VELK_VISIBLE VelkError : public std::exception {
public:
    // Stores the four values unchanged. Raisers with nothing better pass an
    // empty detail, "[none]" and 0.
    VelkError(std::string message, std::string detail = "",
              std::string sourceFile = "[none]", int sourceLine = 0);

    // Operating-system form. A code of -1 stands for the calling thread's
    // last error (errno). The detail becomes "System error code <n>" and the
    // system's text for the code, when it has one, is appended to the
    // message in parentheses.
    VelkError(const std::string& message, int systemErrorCode,
              std::string sourceFile = "[none]", int sourceLine = 0);

    ~VelkError() override;

    // The text to show: the message alone for VelkError.
    virtual std::string getMessage() const;

    const char* what() const noexcept override { return message.c_str(); }

    std::string message;
    std::string detail;
    std::string sourceFile;
    int sourceLine;
};

// A VelkError that names the file concerned.
class VELK_VISIBLE VelkFileError : public VelkError {
public:
    VelkFileError(std::string message, std::string fileName);
    // Operating-system form, as VelkError's: the system's text for the code
    // (errno as the failed call left it; read it before anything else runs),
    // when it has one, is appended to the message in parentheses ("Couldn't
    // open the file (Permission denied)"), before getMessage adds the file.
    // A code of 0 (the system said nothing) leaves the message alone.
    VelkFileError(const std::string& message, std::string fileName, int systemErrorCode);
    ~VelkFileError() override;

    // message + " (file = '" + fileName + "')"
    std::string getMessage() const override;

    std::string fileName;
};

// A VelkError of the run's environment rather than of its input: no
// temporary file can be made or written. A walk over many files lets it end
// the run once instead of failing every file in turn.
class VELK_VISIBLE VelkEnvironmentError : public VelkError {
public:
    using VelkError::VelkError;
    ~VelkEnvironmentError() override;
};
