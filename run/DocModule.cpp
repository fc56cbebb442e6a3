#include "run/DocModule.h"

#include <cstddef>
#include <exception>
#include <memory>
#include <optional>

#include "VelkLib/VelkError.h"
#include "platform/TerminalText.h"
#include "run/ColorText.h"

namespace {

struct ExportRow {
    const char* name;
    bool required;
};

// The interface's export table, in its fixed order (DocModule::Export).
constexpr ExportRow exportTable[DocModule::ExportCount] = {
    {"init", true},       {"startClass", true}, {"endClass", true},   {"startMember", true},
    {"endMember", true},  {"done", true},       {"getOptions", false}, {"setOptions", false},
    {"create", true},     {"destroy", true},
};

VelkError missingFunction(const char* name, const std::string& fileName) {
    return VelkError(std::string("Could not find function \"") + name + "\" in module " +
                     terminalText(fileName) + ".");
}

}  // namespace

const char* DocModule::exportName(Export which) { return exportTable[which].name; }
bool DocModule::exportRequired(Export which) { return exportTable[which].required; }

DocModule::DocModule(const std::string& fileName_) : fileName(fileName_) {
    std::string loaderText;
    library = platform::openLibrary(fileName, &loaderText);
    if (library == nullptr) throw VelkError("Could not load " + terminalText(fileName) + " (" + terminalText(loaderText) + ")");
    // The run calls startMember and endMember once per member: a symbol
    // lookup each time would cost more than the call.
    for (int which = 0; which < ExportCount; ++which)
        exports[which] = platform::librarySymbol(library, exportTable[which].name, nullptr);

    // The error is taken out of the module's hands before the library goes:
    // an exception object thrown there has its code in the library.
    std::optional<VelkError> failure;
    try {
        ModuleCreateFn create = procCreate();
        destroyFn = procDestroy();
        handle = create();
        if (handle == nullptr)
            failure = VelkError("Could not load " + terminalText(fileName) +
                                " (the module could not create its instance)");
    } catch (const VelkError& e) {
        failure = VelkError(e.getMessage(), e.detail, e.sourceFile, e.sourceLine);
    } catch (const std::exception& e) {
        failure = VelkError(e.what());
    } catch (...) {
        failure = VelkError("Could not load " + terminalText(fileName) + " (unknown error in create)");
    }
    if (failure) {
        platform::closeLibrary(library, nullptr);
        library = nullptr;
        throw *failure;
    }
}

DocModule::~DocModule() {
    if (library == nullptr) return;
    try {
        destroyFn(handle);
    } catch (...) {
        // A destructor cannot report; the library goes regardless.
    }
    platform::closeLibrary(library, nullptr);
}

void* DocModule::getProc(Export which) const {
    const ExportRow& row = exportTable[which];
    void* address = exports[which];
    if (address == nullptr && row.required) throw missingFunction(row.name, fileName);
    return address;
}

ModuleInitFn DocModule::procInit() const {
    return reinterpret_cast<ModuleInitFn>(getProc(InitExport));
}
ModuleStartClassFn DocModule::procStartClass() const {
    return reinterpret_cast<ModuleStartClassFn>(getProc(StartClassExport));
}
ModuleEndClassFn DocModule::procEndClass() const {
    return reinterpret_cast<ModuleEndClassFn>(getProc(EndClassExport));
}
ModuleStartMemberFn DocModule::procStartMember() const {
    return reinterpret_cast<ModuleStartMemberFn>(getProc(StartMemberExport));
}
ModuleEndMemberFn DocModule::procEndMember() const {
    return reinterpret_cast<ModuleEndMemberFn>(getProc(EndMemberExport));
}
ModuleDoneFn DocModule::procDone() const {
    return reinterpret_cast<ModuleDoneFn>(getProc(DoneExport));
}
ModuleGetOptionsFn DocModule::procGetOptions() const {
    return reinterpret_cast<ModuleGetOptionsFn>(getProc(GetOptionsExport));
}
ModuleSetOptionsFn DocModule::procSetOptions() const {
    return reinterpret_cast<ModuleSetOptionsFn>(getProc(SetOptionsExport));
}
ModuleCreateFn DocModule::procCreate() const {
    return reinterpret_cast<ModuleCreateFn>(getProc(CreateExport));
}
ModuleDestroyFn DocModule::procDestroy() const {
    return reinterpret_cast<ModuleDestroyFn>(getProc(DestroyExport));
}

bool DocModule::hasOptions() const {
    return procGetOptions() != nullptr && procSetOptions() != nullptr;
}

void DocModule::init(const std::string& title, const std::string& company,
                     const std::string& detailDirectory, bool hierarchicalIndex,
                     const std::string& additionalHead, const std::string& header,
                     const std::string& footer, const std::string& itemTemplate,
                     const std::string& sourceListingDirectory, const std::string& outputFile,
                     const std::string& projectList, bool detailDirectoryGiven, bool lineBreaks,
                     bool mixCppCsharp, ModuleProgressFn progress, ModuleStatusFn status,
                     ModuleErrorFn error, void* context) {
    procInit()(handle, title.c_str(), company.c_str(), detailDirectory.c_str(),
               hierarchicalIndex ? 1 : 0, additionalHead.c_str(), header.c_str(), footer.c_str(),
               itemTemplate.c_str(), sourceListingDirectory.c_str(), outputFile.c_str(),
               projectList.c_str(), detailDirectoryGiven ? 1 : 0, lineBreaks ? 1 : 0,
               mixCppCsharp ? 1 : 0, progress, status, error, context);
}

void DocModule::startClass(const std::string& name, const std::string& comment,
                           const std::string& baseList, const std::string& fileNames,
                           const std::string& package, const std::string& kind,
                           const std::string& container, const std::string& sourceDirectory,
                           const std::string& language) {
    procStartClass()(handle, name.c_str(), comment.c_str(), baseList.c_str(), fileNames.c_str(),
                     package.c_str(), kind.c_str(), container.c_str(), sourceDirectory.c_str(),
                     language.c_str());
}

void DocModule::startMember(const std::string& name, const std::string& comment,
                            const std::string& access, const std::string& declaration,
                            bool hasArguments, const std::string& fileNames,
                            const std::vector<std::string>& arguments) {
    ModuleStartMemberFn startMemberFn = procStartMember();
    // Nearly every member has a handful of arguments: their pointers go in
    // an array on the stack, and only a longer list takes a heap one. One
    // null entry past the count, as the interface's readers may expect.
    constexpr std::size_t inlineArguments = 15;
    const char* inlineTexts[inlineArguments + 1];
    std::vector<const char*> heapTexts;
    const char** argumentTexts = inlineTexts;
    if (arguments.size() > inlineArguments) {
        heapTexts.resize(arguments.size() + 1);
        argumentTexts = heapTexts.data();
    }
    for (std::size_t i = 0; i < arguments.size(); ++i) argumentTexts[i] = arguments[i].c_str();
    argumentTexts[arguments.size()] = nullptr;
    startMemberFn(handle, name.c_str(), comment.c_str(), access.c_str(), declaration.c_str(),
                  hasArguments ? 1 : 0, fileNames.c_str(), static_cast<int>(arguments.size()),
                  argumentTexts);
}

void DocModule::endMember(const std::string& name) { procEndMember()(handle, name.c_str()); }

void DocModule::endClass(const std::string& name) { procEndClass()(handle, name.c_str()); }

void DocModule::done() { procDone()(handle); }

std::vector<std::vector<std::string>> DocModule::splitOptionText(const std::string& text) {
    std::vector<std::vector<std::string>> groups;
    std::vector<std::string> group;
    std::size_t start = 0;
    for (std::size_t bar = text.find('|'); bar != std::string::npos;
         start = bar + 1, bar = text.find('|', start)) {
        group.push_back(text.substr(start, bar - start));
        if (group.size() == 5) {
            groups.push_back(std::move(group));
            group.clear();
        }
    }
    return groups;
}

template <typename Call>
auto DocModule::guarded(const char* exportName, Call&& call) const -> decltype(call()) {
    std::optional<VelkError> failure;
    try {
        return call();
    } catch (const VelkError& e) {
        failure = VelkError(e.getMessage(), e.detail, e.sourceFile, e.sourceLine);
    } catch (const std::exception& e) {
        failure = VelkError(std::string(exportName) + " of module " + terminalText(fileName) + " failed: " + e.what());
    } catch (...) {
        failure = VelkError(std::string(exportName) + " of module " + terminalText(fileName) + " failed (unknown error)");
    }
    throw *failure;
}

std::string DocModule::optionText() const {
    ModuleGetOptionsFn getOptions = procGetOptions();
    if (getOptions == nullptr) return "";
    return guarded("getOptions", [&] {
        const char* text = getOptions(handle);
        return std::string(text != nullptr ? text : "");
    });
}

namespace {

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The value as a module shows it back once it took it.
std::string shownAs(const std::string& kind, const std::string& value) {
    if (kind != "checkbox") return value;
    return value.empty() || lowerAscii(value) == "true" ? "true" : "false";
}

std::string refusalText(const std::vector<std::string>& group, const std::string& value,
                        const std::string& kept) {
    std::string label = group[1];
    if (!label.empty() && label.back() == ':') label.pop_back();
    return "The module did not take \"" + terminalText(value) + "\" for \"" + terminalText(label) +
           "\" (-" + terminalText(group[0]) + "); it keeps \"" + terminalText(kept) + "\".";
}

}  // namespace

DocModule::AppliedOptions DocModule::applyOptions(const std::map<std::string, std::string>& values) {
    AppliedOptions applied;
    ModuleGetOptionsFn getOptions = procGetOptions();
    ModuleSetOptionsFn setOptions = procSetOptions();
    if (getOptions == nullptr || setOptions == nullptr) return applied;
    // Copied at once: the text stays the module's and may change.
    auto readOptions = [&] {
        return guarded("getOptions", [&]() -> std::optional<std::string> {
            const char* text = getOptions(handle);
            if (text == nullptr) return std::nullopt;
            return std::string(text);
        });
    };
    std::optional<std::string> optionText = readOptions();
    if (!optionText) return applied;
    std::vector<std::vector<std::string>> groups = splitOptionText(*optionText);

    // The copies live in `copies`; the array points at them or is null.
    std::vector<std::unique_ptr<std::string>> copies;
    std::vector<const char*> array(groups.size() + 1, nullptr);
    std::vector<std::size_t> handed;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        auto found = values.find(groups[i][0]);
        if (found == values.end()) continue;
        if (groups[i][2] == "color" && !found->second.empty() && !isColorText(found->second)) continue;
        copies.push_back(std::make_unique<std::string>(found->second));
        array[i] = copies.back()->c_str();
        handed.push_back(i);
    }
    guarded("setOptions", [&] { setOptions(handle, array.data()); });
    if (handed.empty()) return applied;

    std::map<std::string, std::string> shown;
    if (std::optional<std::string> after = readOptions())
        for (const std::vector<std::string>& group : splitOptionText(*after)) shown.emplace(group[0], group[3]);
    for (std::size_t n = 0; n < handed.size(); ++n) {
        const std::vector<std::string>& group = groups[handed[n]];
        const std::string& value = *copies[n];
        auto current = shown.find(group[0]);
        if (current == shown.end() || current->second == shownAs(group[2], value))
            applied.taken[group[0]] = value;
        else
            applied.refused.push_back(refusalText(group, value, current->second));
    }
    return applied;
}
