#include "VelkLib/VelkError.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/TerminalText.h"

namespace {

// The system's text for an error code, or "" when it has none. glibc answers
// "Unknown error <n>" for codes it does not know; that is no text.
std::string systemErrorText(int code) {
    char buffer[256];
    const char* text = strerror_r(code, buffer, sizeof buffer);
    if (text == nullptr || std::strncmp(text, "Unknown error", 13) == 0) return "";
    return text;
}

}  // namespace

VelkError::VelkError(std::string message_, std::string detail_, std::string sourceFile_,
                     int sourceLine_)
    : message(std::move(message_)),
      detail(std::move(detail_)),
      sourceFile(std::move(sourceFile_)),
      sourceLine(sourceLine_) {}

VelkError::VelkError(const std::string& message_, int code, std::string sourceFile_,
                     int sourceLine_)
    : sourceFile(std::move(sourceFile_)), sourceLine(sourceLine_) {
    // errno is read before anything here allocates and could disturb it.
    if (code == -1) code = errno;
    message = message_;
    detail = "System error code " + std::to_string(code);
    std::string text = systemErrorText(code);
    if (!text.empty()) message += " (" + text + ")";
}

VelkError::~VelkError() = default;

std::string VelkError::getMessage() const { return message; }

VelkFileError::VelkFileError(std::string message_, std::string fileName_)
    : VelkError(std::move(message_)), fileName(std::move(fileName_)) {}

VelkFileError::VelkFileError(const std::string& message_, std::string fileName_, int code)
    : VelkError(code != 0 ? VelkError(message_, code) : VelkError(message_)),
      fileName(std::move(fileName_)) {}

VelkFileError::~VelkFileError() = default;

std::string VelkFileError::getMessage() const {
    return message + " (file = '" + terminalText(fileName) + "')";
}

VelkEnvironmentError::~VelkEnvironmentError() = default;
