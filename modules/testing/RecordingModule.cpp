// A module for tests: it records every call it receives, with every string
// and value, as one line in the file named by $VANTRY_RECORD_FILE.
//
// Line format: the export's name, then each argument, separated by tabs. In
// a string "\\", tab, line feed and carriage return are written as "\\\\",
// "\\t", "\\n" and "\\r"; a null string is written as "\\0", which no real
// string can produce. Integers are decimal, function pointers "fn" or
// "null", the callback context its address in decimal.
//
// Behaviour asked for through the environment (read on every call):
//   VANTRY_RECORD_OPTIONS   the text getOptions returns (default: options
//                           "a" and "b"); "<null>" returns a null pointer
//   VANTRY_RECORD_THROW     "<export>:velk" or "<export>:std" makes that
//                           export throw a VelkError or a std::runtime_error
//   VANTRY_RECORD_CREATE    "null" makes create return null
//   VANTRY_RECORD_REPORT    set: done calls the three callbacks once and
//                           records what progress answered
//   VANTRY_RECORD_REFUSE    an option key whose values setOptions does not
//                           take
//   VANTRY_RECORD_MOVE_IN   set: done says first that its pages wait to move
//                           in (VANTRY_PROGRESS_STAGED), last asks whether
//                           they may (VANTRY_PROGRESS_MOVE_IN), records the
//                           answer and, on yes, says they are in place
//                           (VANTRY_PROGRESS_MOVED_IN), unless the value is
//                           "fail": then they could not be put in place
// getOptions shows every value setOptions took as its option's current
// value (a checkbox's as "true" or "false"), as a real module does.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "VelkLib/VelkError.h"
#include "modules/ModuleInterface.h"

namespace {

struct Recorder {
    std::string optionText;
    std::map<std::size_t, std::string> taken;  // option index -> current value
    ModuleProgressFn progress = nullptr;
    ModuleStatusFn status = nullptr;
    ModuleErrorFn error = nullptr;
    void* context = nullptr;
};

const char* env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string escape(const char* text) {
    if (text == nullptr) return "\\0";
    std::string out;
    for (const char* p = text; *p != '\0'; ++p) {
        switch (*p) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out += *p;
        }
    }
    return out;
}

class Line {
public:
    explicit Line(const char* exportName) : text(exportName) {}
    Line& s(const char* value) { return add(escape(value)); }
    Line& i(long long value) { return add(std::to_string(value)); }
    Line& fn(const void* value) { return add(value != nullptr ? "fn" : "null"); }
    Line& ptr(const void* value) {
        return add(std::to_string(reinterpret_cast<std::uintptr_t>(value)));
    }
    void write() const {
        const char* path = env("VANTRY_RECORD_FILE");
        if (*path == '\0') return;
        std::FILE* file = std::fopen(path, "a");
        if (file == nullptr) return;
        std::fprintf(file, "%s\n", text.c_str());
        std::fclose(file);
    }

private:
    Line& add(const std::string& field) {
        text += '\t';
        text += field;
        return *this;
    }
    std::string text;
};

// Throws when $VANTRY_RECORD_THROW names this export.
void maybeThrow(const char* exportName) {
    std::string wanted = env("VANTRY_RECORD_THROW");
    std::string name = exportName;
    if (wanted == name + ":velk") throw VelkError("Recording module failed in " + name);
    if (wanted == name + ":std") throw std::runtime_error("Recording module broke in " + name);
}

Recorder* recorder(ModuleHandle handle) { return static_cast<Recorder*>(handle); }

}  // namespace

VANTRY_MODULE_EXPORT ModuleHandle create() {
    Line("create").write();
    maybeThrow("create");
    if (std::strcmp(env("VANTRY_RECORD_CREATE"), "null") == 0) return nullptr;
    return new Recorder;
}

VANTRY_MODULE_EXPORT void destroy(ModuleHandle handle) {
    Line("destroy").write();
    delete recorder(handle);
}

VANTRY_MODULE_EXPORT void init(ModuleHandle handle, const char* title, const char* company,
                               const char* detailDirectory, int hierarchicalIndex,
                               const char* additionalHead, const char* header,
                               const char* footer, const char* itemTemplate,
                               const char* sourceListingDirectory, const char* outputFile,
                               const char* projectList, int detailDirectoryGiven, int lineBreaks,
                               int mixCppCsharp, ModuleProgressFn progress,
                               ModuleStatusFn status, ModuleErrorFn error, void* context) {
    Line("init")
        .s(title).s(company).s(detailDirectory).i(hierarchicalIndex).s(additionalHead)
        .s(header).s(footer).s(itemTemplate).s(sourceListingDirectory).s(outputFile)
        .s(projectList).i(detailDirectoryGiven).i(lineBreaks).i(mixCppCsharp)
        .fn(reinterpret_cast<const void*>(progress)).fn(reinterpret_cast<const void*>(status))
        .fn(reinterpret_cast<const void*>(error)).ptr(context)
        .write();
    maybeThrow("init");
    Recorder* r = recorder(handle);
    r->progress = progress;
    r->status = status;
    r->error = error;
    r->context = context;
}

VANTRY_MODULE_EXPORT void startClass(ModuleHandle, const char* name, const char* comment,
                                     const char* baseList, const char* fileNames,
                                     const char* package, const char* kind,
                                     const char* container, const char* sourceDirectory,
                                     const char* language) {
    Line("startClass")
        .s(name).s(comment).s(baseList).s(fileNames).s(package).s(kind).s(container)
        .s(sourceDirectory).s(language)
        .write();
    maybeThrow("startClass");
}

VANTRY_MODULE_EXPORT void startMember(ModuleHandle, const char* name, const char* comment,
                                      const char* access, const char* declaration,
                                      int hasArguments, const char* fileNames,
                                      int argumentCount, const char** arguments) {
    Line line("startMember");
    line.s(name).s(comment).s(access).s(declaration).i(hasArguments).s(fileNames)
        .i(argumentCount).fn(arguments);
    for (int i = 0; arguments != nullptr && i < argumentCount; ++i) line.s(arguments[i]);
    line.write();
    maybeThrow("startMember");
}

VANTRY_MODULE_EXPORT void endMember(ModuleHandle, const char* name) {
    Line("endMember").s(name).write();
}

VANTRY_MODULE_EXPORT void endClass(ModuleHandle, const char* name) {
    Line("endClass").s(name).write();
}

#ifndef RECORDING_PARTIAL

VANTRY_MODULE_EXPORT void done(ModuleHandle handle) {
    Line("done").write();
    maybeThrow("done");
    Recorder* r = recorder(handle);
    const std::string moveIn = env("VANTRY_RECORD_MOVE_IN");
    if (!moveIn.empty() && r->progress != nullptr) r->progress(VANTRY_PROGRESS_STAGED, 0, r->context);
    if (*env("VANTRY_RECORD_REPORT") != '\0' && r->progress != nullptr) {
        r->status(nullptr, "module status", r->context);
        r->error("module warning", r->context);
        Line("progressAnswer").i(r->progress(110, 200, r->context)).write();
    }
    if (!moveIn.empty() && r->progress != nullptr) {
        const int answer = r->progress(VANTRY_PROGRESS_MOVE_IN, 0, r->context);
        Line("moveInAnswer").i(answer).write();
        if (answer != 0 && moveIn != "fail") r->progress(VANTRY_PROGRESS_MOVED_IN, 0, r->context);
    }
}

VANTRY_MODULE_EXPORT const char* getOptions(ModuleHandle handle) {
    Line("getOptions").write();
    maybeThrow("getOptions");
    std::string text = env("VANTRY_RECORD_OPTIONS");
    if (text == "<null>") return nullptr;
    if (text.empty()) text = "a|Option A|text|1|1|b|Option B|checkbox|false|false||";
    // Field 3 of each group of five is the current value.
    Recorder* r = recorder(handle);
    std::string shown;
    std::size_t field = 0, start = 0;
    for (std::size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', start)) {
        auto taken = r->taken.find(field / 5);
        shown += field % 5 == 3 && taken != r->taken.end() ? taken->second : text.substr(start, bar - start);
        shown += '|';
        start = bar + 1;
        ++field;
    }
    r->optionText = shown + text.substr(start);
    return r->optionText.c_str();
}

VANTRY_MODULE_EXPORT void setOptions(ModuleHandle handle, const char** values) {
    Recorder* r = recorder(handle);
    // As many values as getOptions described options.
    std::size_t count = 0;
    for (char c : r->optionText) count += c == '|' ? 1 : 0;
    Line line("setOptions");
    for (std::size_t i = 0; i < count / 5; ++i) line.s(values[i]);
    line.write();
    maybeThrow("setOptions");
    // The key and kind of each option, from the text getOptions gave.
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t bar = r->optionText.find('|'); bar != std::string::npos;
         bar = r->optionText.find('|', start)) {
        fields.push_back(r->optionText.substr(start, bar - start));
        start = bar + 1;
    }
    for (std::size_t i = 0; i < count / 5 && i * 5 + 2 < fields.size(); ++i) {
        if (values[i] == nullptr || fields[i * 5] == env("VANTRY_RECORD_REFUSE")) continue;
        std::string value = values[i];
        if (fields[i * 5 + 2] == "checkbox") {
            std::string lowered;
            for (char c : value) lowered += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            value = value.empty() || lowered == "true" ? "true" : "false";
        }
        r->taken[i] = value;
    }
}

#endif
