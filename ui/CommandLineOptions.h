// The program's command line: options that set the main dialog's settings,
// projects and the output file as positional arguments.
//
// A flag "key[=value]" is matched by its lower-cased key against the option
// table, in table order; the first row that matches applies. In the value,
// backslash + double quote stands for a double quote and the four
// characters backslash, "r", backslash, "n" for a line break.
#pragma once

#include <span>
#include <string>

#include "VelkLib/VelkCmdLine.h"
#include "VelkLib/VelkError.h"

class CVantryDlg;

enum class OptionArgument {
    Text,     // "=text": the value is used
    Flag,     // any value is ignored; the setting is turned on
    Prefix,   // any key that begins with the row's key, value optional
    AnyKey,   // any key at all, value optional
};

struct OptionValue {
    std::string key;      // lower-cased
    std::string flag;     // the flag as typed, without its "-"
    std::string value;    // decoded
};

struct CommandLineOption {
    const char* key;
    OptionArgument argument;
    // Applies the option; returns false when the program is to end.
    bool (*apply)(CVantryDlg& dialog, const OptionValue& option);
};

// The option table, in matching order.
std::span<const CommandLineOption> commandLineOptions();

// Splits a flag into its lower-cased key and decoded value.
OptionValue readOption(const std::string& flag);

// A command line that cannot run: an option value that would write outside
// the output directory, or an output file that is a directory. The program
// shows the message and ends with exit status 2.
class CommandLineRefused : public VelkError {
public:
    using VelkError::VelkError;
};

enum class CommandLineResult {
    Go,        // show the dialog
    Version,   // the version was shown
    Declined,  // the user would not overwrite the output file ("Cancelled." shown)
};

// Applies every flag and positional argument to the dialog (see the file's
// comment) and marks it as set by the command line when there is any. After
// the flags an empty detail-pages directory becomes "projects". With one
// positional argument it is the only project and the output file is
// "index.html"; with more, the last is the output file and the others are
// projects, and an existing output file brings the question "Overwrite
// <file>?" unless "-overwrite" was given. Throws VelkError when an option's
// value is refused (an invalid comment format), CommandLineRefused when the
// command line cannot run. Positional arguments are paths as they stand.
CommandLineResult parseCommandLineOptions(CVantryDlg& dialog, const VelkCmdLine& commandLine);

// parseCommandLineOptions; true when the dialog is to be shown.
bool parseCommandLine(CVantryDlg& dialog, const VelkCmdLine& commandLine);

// "Vantry version " + the version with "." between its numbers + "   ".
std::string versionMessage();
