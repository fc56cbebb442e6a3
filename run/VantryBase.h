// The settings that the dialog and the command line share and that do not
// live in dialog controls: comment format, document markers, preprocessor
// defines, module options, accepted extensions, the extension-to-language
// map, the current module and the module directory.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "reader/DocCommentFormat.h"
#include "reader/PreprocessorDefines.h"
#include "run/DocModule.h"

class VantryBase {
public:
    VantryBase() = default;
    virtual ~VantryBase();

    // Empties the extension set and refills it from the ","-separated list
    // (a backslash escapes a "," and stays in the entry). Empty entries are
    // dropped, a leading "." is dropped, a leading "*." of an entry longer
    // than two characters is dropped; letter case is kept.
    void setFileExtensions(const std::string& list);
    // The set that setFileExtensions makes of the list.
    static std::set<std::string> parseFileExtensions(const std::string& list);
    // Only when the set is empty: c, cpp, cxx, cc, h, hpp, hxx, cs, java.
    void setDefaultFileExtensions();
    // The set that setDefaultFileExtensions fills in.
    static std::set<std::string> defaultFileExtensions();
    // True when an extension of the set can end a file name: not empty, no
    // "/" or "\\", no wildcard ("*", "?"), no "." at either end, no "..".
    static bool extensionCanMatch(const std::string& extension);
    // The one refusal of an extension list, wherever it comes from: "" when
    // every extension of the list (as setFileExtensions reads it) can end a
    // file name, otherwise, naming the entries as written, in list order,
    // "The extension \"h.\" cannot end a file name; give extensions such
    // as cpp,h,java." (with several: "The extensions \"*\" and \"h.\"
    // cannot ...").
    static std::string unusableExtensionsText(const std::string& list);

    // Empties the map and refills it from ","-separated pairs
    // "extension=language", both lower-cased: "c#", "csharp", "c_sharp" and
    // "cs" give 1 (C#), "java" gives 2 (Java), any other word (or none) 0
    // (C++). Empty pairs are dropped.
    void setLanguageMap(const std::string& list);
    // Only when the map is empty: java 2, cs 1, c cpp cxx cc h hpp hxx 0.
    void setDefaultLanguageMap();
    // The one warning about a language list, wherever it comes from: ""
    // when each pair names a language setLanguageMap knows by name (cpp or
    // c++, csharp, c#, cs or c_sharp, java; any letter case) or names none;
    // otherwise a text naming each other word once, in list order, the
    // extensions it was given for (read as C++) and the known names: "The
    // language \"cobol\" is not known; cs is read as C++. The languages
    // are cpp (or c++), csharp (or c#, cs, c_sharp) and java."
    static std::string unknownLanguagesText(const std::string& list);

    // The module directory setting, or, when it is empty, the directory of
    // the program file + "/modules". Throws VelkError when the program's
    // own path cannot be found.
    std::string modulesDirectory() const;
    // The modules found there: the name of every "*.so" file without its
    // extension, in byte order; none when the directory cannot be listed.
    std::vector<std::string> moduleNames() const;

    // Loads the module (DocModule's constructor and its errors) and makes it
    // the current one. A module that takes options (getOptions and
    // setOptions) is handed the stored module options when there are any,
    // and the store is emptied, so stored options reach only the first such
    // module loaded after they were set. A module without options leaves
    // the store as it is: the values wait for a module that takes them and
    // are still remembered. The values the module took become its given
    // values (see currentModuleOptions); one text per value it did not take
    // (DocModule::applyOptions) is appended to refused when that is not
    // null, and the value is forgotten. The caller owns the module and must
    // clear currentModule (or load another) before destroying it. When
    // loading or applying fails, nothing changes and the error passes on.
    std::unique_ptr<DocModule> loadModule(const std::string& fileName,
                                          std::vector<std::string>* refused = nullptr);

    // The option values the current module was last given (by loadModule
    // or setCurrentModuleOption); empty without a current module and for a
    // module without options.
    std::map<std::string, std::string> currentModuleOptions() const;
    // Notes that the current module was given value under key. Does
    // nothing without a current module.
    void setCurrentModuleOption(const std::string& key, const std::string& value);
    // The module options worth remembering: the stored values still waiting
    // for a module, overridden by the values every loaded module was given.
    std::map<std::string, std::string> rememberedModuleOptions() const;

    DocCommentFormat commentFormat;
    std::string onlyDocumentMarker;  // option onlydocument-marker
    std::string noDocumentMarker;    // option nodocument-marker
    PreprocessorDefines defines;
    // Option values waiting for the next module loaded that takes options.
    std::map<std::string, std::string> moduleOptions;
    std::set<std::string> extensions;          // without dots
    std::map<std::string, int> languageMap;    // extension -> 0 C++, 1 C#, 2 Java
    DocModule* currentModule = nullptr;        // not owned
    std::string moduleDirectory;  // "" means modules/ beside the program

private:
    // By module file name: the option values that module was given since
    // it was last loaded.
    std::map<std::string, std::map<std::string, std::string>> givenModuleOptions;
};

// Shortens a status line for the dialog's status boxes. A text of at most
// 79 characters is returned unchanged. A longer one with path separators
// ("/" or "\\") becomes "[...] " + everything after its second-to-last
// separator (after the only one when it has one); a longer one without
// becomes its first 80 characters + " [...]".
std::string abbreviatePath(const std::string& text);

// The running program's version as its four numbers joined by ","
// ("2,3,1,3"). Throws VelkError when the program file carries no version.
std::string programVersionText();
