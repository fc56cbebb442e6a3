// The program's command line: options that set the dialog's settings and
// the shared run settings, then the projects and the output file.
#pragma once

#include <string>

#include "VelkLib/VelkCmdLine.h"
#include "run/SyntaxColorSettings.h"
#include "run/VantryBase.h"

// One Default/None/Custom row of the dialog (header, footer, item template,
// source-code links).
struct TextChoice {
    enum Method { Default = 0, None = 1, Custom = 2 };
    int method = Default;
    std::string text;  // the custom text or file name
};

// The dialog's settings that the command line can set; the front end
// copies them into its controls.
struct CommandLineSettings {
    bool commandLineGiven = false;  // options or projects were given
    std::string title;
    std::string company;
    TextChoice header, footer, item, sourceCode;
    bool hierarchicalIndex = false;
    bool insertLineBreaks = false;
    bool includeConst = false;
    bool syntaxColor = true;
    SyntaxColorSettings colors;
    bool namespacesGlobal = false;
    int tabSize = 4;
    bool mixCppCsharp = false;
    bool includeAnonymous = false;
    bool documentPreprocessor = false;
    bool disableTooltips = false;
    std::string additionalHeader;
    std::string detailDirectory;  // "projects" unless -classdir gives one
    bool autoRun = false;
    bool autoQuit = false;
    bool autoView = false;
    bool overwrite = false;
    std::string moduleName;
    std::string outputFile;
    std::string fileList;  // each project as "\"name\"\r\n"
};

// What the command line asks of the user; the front end answers through its
// message boxes (headless: the terminal).
class CommandLineUser {
public:
    virtual ~CommandLineUser() = default;
    // A Yes/No question; true for Yes.
    virtual bool askYesNo(const std::string& question) = 0;
    // An information message.
    virtual void inform(const std::string& text) = 0;
};

// Applies every flag in order (the first matching row of the option table
// wins; a key that matches no row becomes a module option), then the
// positional parameters: with one, it is the only project and the output
// file is "index.html"; with more, the last is the output file and the
// others are projects, and an existing output file without -overwrite
// brings the question "Overwrite <file>?". Returns false when the program
// is to end at once: after -ver (which shows the version), or when the
// user declines to overwrite ("Cancelled." is shown). Throws VelkError when
// a setting cannot be applied (an invalid -comment-format, or -ver in a
// program without a version record).
bool parseCommandLine(CommandLineSettings& settings, VantryBase& base,
                      const VelkCmdLine& commandLine, CommandLineUser& user);

// A flag's value as the option reader takes it: "\\\"" becomes "\"" and the
// four characters "\\r\\n" a carriage return and line feed.
std::string unescapeOptionValue(const std::string& value);
