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
    // For the usage text: what follows the key ("=TEXT"; "" for a flag)
    // and what the option does, in a few words.
    const char* valueForm;
    const char* summary;
};

// A value that its option cannot take (a tab size that is no number, a
// -classdir that is no relative path inside the output directory
// (siteFolderRefusal), an -index-file-base that is no plain name
// (pageBaseRefusal)), or an output file that is a directory; the text
// names the option and what it accepts. The program ends with status 2.
class CommandLineError : public VelkError {
public:
    using VelkError::VelkError;
};

// The option table, in matching order.
std::span<const CommandLineOption> commandLineOptions();

// Splits a flag into its lower-cased key and decoded value.
OptionValue readOption(const std::string& flag);

enum class CommandLineResult {
    Go,        // show the dialog
    Usage,     // -h, -help, --help or -?: print usageText()
    Version,   // the version was shown
    Declined,  // the user would not overwrite the output file ("Cancelled." shown)
};

// Applies every flag to the dialog (see the file's comment) and marks it as
// set by the command line when there is any flag or positional argument.
// With a help flag anywhere only -module and -moduledir apply (the usage
// names that module's options) and Usage is returned. After the flags an
// empty detail-pages directory becomes "projects". Returns Go, Usage or
// Version. Throws CommandLineError for a value its option cannot take,
// VelkError when a setter refuses one (an invalid comment format).
CommandLineResult applyCommandLineOptions(CVantryDlg& dialog, const VelkCmdLine& commandLine);

// Applies the positional arguments, after applyCommandLineOptions returned
// Go. With one positional argument it is the only project and the output
// file is "index.html"; with more, the last is the output file and the
// others are projects. An existing output file, index.html included, brings
// the question "Overwrite <file>?" unless "-overwrite" was given; No
// returns Declined. Throws CommandLineError for an output file that cannot
// be written as the index page.
CommandLineResult applyCommandLineArguments(CVantryDlg& dialog, const VelkCmdLine& commandLine);

// applyCommandLineOptions, then, when it returns Go,
// applyCommandLineArguments.
CommandLineResult parseCommandLineOptions(CVantryDlg& dialog, const VelkCmdLine& commandLine);

// parseCommandLineOptions; true when the dialog is to be shown.
bool parseCommandLine(CVantryDlg& dialog, const VelkCmdLine& commandLine);

// The command line's summary, generated from the option table: the usage
// lines, the positional arguments, every option with its value form, one
// line each, then moduleSection (see moduleUsageText) and the exit
// statuses. Ends with a line feed.
std::string usageText(const std::string& moduleSection = "");

// The section of the usage text for the options a module declares (its
// getOptions text, split as DocModule::splitOptionText does): a heading
// naming the module, then one line per option with its value form and
// default. "" when the module declares none.
std::string moduleUsageText(const std::string& moduleName, const std::string& optionText);

// "Vantry version " + the version with "." between its numbers + "   ".
std::string versionMessage();
