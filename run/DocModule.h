// The program's wrapper of one loaded output module.
//
// The module is a shared library driven through the plain C exports of
// modules/ModuleInterface.h. Every export is looked up by name once, when
// the library is loaded; a module that lacks one fails only when that call
// is made. Only C values cross: every text is passed as a
// NUL-terminated string ("" for an empty one, never null) that lives until
// the export returns.
//
// Threads: load, options and destruction happen on the dialog's thread, the
// run calls (init to done) on the run's worker thread, never two at once.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "model/ModuleSink.h"
#include "modules/ModuleInterface.h"
#include "platform/Library.h"

class DocModule : public ModuleSink {
public:
    // The exports in their fixed table order.
    enum Export {
        InitExport,
        StartClassExport,
        EndClassExport,
        StartMemberExport,
        EndMemberExport,
        DoneExport,
        GetOptionsExport,
        SetOptionsExport,
        CreateExport,
        DestroyExport,
        ExportCount
    };

    // The export's name and whether a module must have it.
    static const char* exportName(Export which);
    static bool exportRequired(Export which);

    // Loads the library (the name is used as given: "/" stays "/"), looks
    // up create and destroy and calls create. Throws VelkError:
    //  - "Could not load <file> (<loader text>)" when the library cannot be
    //    loaded, or "Could not load <file> (the module could not create its
    //    instance)" when create returns null;
    //  - "Could not find function \"create\" in module <file>." (or
    //    "destroy") when one of the two is missing;
    //  - any error that create itself throws, as a VelkError carrying its
    //    text.
    // Whatever fails, the library is unloaded again before the throw.
    explicit DocModule(const std::string& fileName);

    // destroy(handle), then the library is unloaded. Never throws: an error
    // that the module's destroy lets out is dropped.
    ~DocModule() override;

    DocModule(const DocModule&) = delete;
    DocModule& operator=(const DocModule&) = delete;

    const std::string& getFileName() const { return fileName; }
    ModuleHandle getHandle() const { return handle; }

    // The export as looked up at load. Returns its address; for a missing
    // export throws VelkError "Could not find function \"<name>\" in module
    // <file>." when it is required, returns null otherwise.
    void* getProc(Export which) const;

    ModuleInitFn procInit() const;
    ModuleStartClassFn procStartClass() const;
    ModuleEndClassFn procEndClass() const;
    ModuleStartMemberFn procStartMember() const;
    ModuleEndMemberFn procEndMember() const;
    ModuleDoneFn procDone() const;
    ModuleGetOptionsFn procGetOptions() const;  // null when missing
    ModuleSetOptionsFn procSetOptions() const;  // null when missing
    ModuleCreateFn procCreate() const;
    ModuleDestroyFn procDestroy() const;

    // True when the module has both getOptions and setOptions.
    bool hasOptions() const;

    // init(handle, ...) with the run's settings, in the interface's order.
    // Throws the missing-function error, and lets through what the module
    // throws.
    void init(const std::string& title, const std::string& company,
              const std::string& detailDirectory, bool hierarchicalIndex,
              const std::string& additionalHead, const std::string& header,
              const std::string& footer, const std::string& itemTemplate,
              const std::string& sourceListingDirectory, const std::string& outputFile,
              const std::string& projectList, bool detailDirectoryGiven, bool lineBreaks,
              bool mixCppCsharp, ModuleProgressFn progress, ModuleStatusFn status,
              ModuleErrorFn error, void* context);

    // The class and member calls of the forwarding; the argument array of
    // startMember is never null, also when it holds no argument.
    void startClass(const std::string& name, const std::string& comment,
                    const std::string& baseList, const std::string& fileNames,
                    const std::string& package, const std::string& kind,
                    const std::string& container, const std::string& sourceDirectory,
                    const std::string& language) override;
    void startMember(const std::string& name, const std::string& comment,
                     const std::string& access, const std::string& declaration,
                     bool hasArguments, const std::string& fileNames,
                     const std::vector<std::string>& arguments) override;
    void endMember(const std::string& name) override;
    void endClass(const std::string& name) override;

    // done(handle).
    void done();

    // What applyOptions handed over and what became of it.
    struct AppliedOptions {
        // The values the module took: handed over and shown back by
        // getOptions as the option's current value.
        std::map<std::string, std::string> taken;
        // One text per value handed over that the module did not take,
        // naming the value, the option and the value the option kept.
        std::vector<std::string> refused;
    };

    // Hands stored option values to the module. Does nothing when the
    // module lacks getOptions or setOptions or getOptions returns null.
    // Otherwise the option text is split at every "|" (the text has no
    // escape character) into groups of five (key, label, kind, current
    // value, default); a trailing incomplete group, such as the empty field
    // after the last "|", is ignored. setOptions receives one entry per
    // group: a copy of the stored value for a key in the map, null for any
    // other; a value of a "color" option that is neither empty nor a colour
    // text (ColorText.h) is not handed over, since the module writes colours
    // into attributes. Then getOptions is asked again: a module refuses a
    // value by keeping its option's current value, and it has no other way
    // to say so outside a run. A "checkbox" value counts as taken when the
    // option shows "true" for "" or any case of "true", "false" otherwise;
    // any other value when it is shown as sent. Whatever the module throws
    // comes out as a VelkError naming the export and the module.
    AppliedOptions applyOptions(const std::map<std::string, std::string>& values);

    // The module's getOptions text; "" when it has no getOptions or returns
    // null. What the module throws comes out as a VelkError, as above.
    std::string optionText() const;

    // The option text split into its groups of five fields; the same split
    // that applyOptions uses, for the front end's option panel.
    static std::vector<std::vector<std::string>> splitOptionText(const std::string& text);

private:
    // Runs call, an export call: an error thrown in the module becomes a
    // VelkError of the program's own (its text copied out of the module),
    // whatever its type, so that no throw from a module ends the program.
    template <typename Call>
    auto guarded(const char* exportName, Call&& call) const -> decltype(call());

    std::string fileName;
    platform::LibraryHandle library = nullptr;
    ModuleHandle handle = nullptr;
    ModuleDestroyFn destroyFn = nullptr;
    void* exports[ExportCount] = {};  // by Export, null when missing
};
