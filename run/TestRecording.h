// Shared helpers of the run's tests: a scratch directory that removes itself,
// the paths of the test modules and a reader for what the recording module
// wrote (format in modules/testing/RecordingModule.cpp).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "VelkLib/VelkError.h"

namespace testing_support {

// The text of the VelkError that the call throws; "(no error)" when none.
template <class Call>
std::string errorOf(Call call) {
    try {
        call();
    } catch (const VelkError& e) {
        return e.getMessage();
    }
    return "(no error)";
}

// A fresh directory below the system's temporary directory, removed with
// everything in it when the object goes.
class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantry-run-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (mkdtemp(buffer.data()) != nullptr) path = buffer.data();
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    // path + "/" + relative
    std::string operator/(const std::string& relative) const { return path + "/" + relative; }

    // Writes a file, creating its parent directories.
    void write(const std::string& relative, const std::string& text) const {
        std::filesystem::path file = std::filesystem::path(path) / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }

    std::string path;
};

inline std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// build/modules/<name>.so
inline std::string testModulePath(const std::string& name) {
    const char* build = std::getenv("VANTRY_BUILD_DIR");
    return std::string(build != nullptr ? build : ".") + "/modules/" + name + ".so";
}

using RecordedCall = std::vector<std::string>;

// The calls in the record file, each split into its fields and unescaped;
// a null string reads as the text "<null>".
inline std::vector<RecordedCall> readRecording(const std::string& recordFile) {
    std::vector<RecordedCall> calls;
    std::ifstream in(recordFile);
    std::string line;
    while (std::getline(in, line)) {
        RecordedCall call(1);
        for (std::size_t i = 0; i < line.size(); ++i) {
            char c = line[i];
            if (c == '\t') {
                call.emplace_back();
            } else if (c == '\\' && i + 1 < line.size()) {
                char next = line[++i];
                if (next == '0') call.back() += "<null>";
                else call.back() += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : next;
            } else {
                call.back() += c;
            }
        }
        calls.push_back(call);
    }
    return calls;
}

// Just the export names, in call order.
inline std::vector<std::string> callNames(const std::vector<RecordedCall>& calls) {
    std::vector<std::string> names;
    for (const RecordedCall& call : calls) names.push_back(call[0]);
    return names;
}

}  // namespace testing_support
