// Turns the main dialog's settings into the options of the program's
// command line, so that a build script can repeat the job unattended.
//
// The text is written for a POSIX shell: every word that holds anything
// but letters, digits and "_.-,/+:=@%" is put in single quotes, so blanks,
// quotes, "$", backquotes, backslashes, "#" and "*" reach the program as
// they stand. Inside the words, values are escaped as the command-line
// reader decodes them (a double quote as backslash + double quote, a
// carriage return and line feed as the four characters backslash, "r",
// backslash, "n"); only a value that holds those four characters itself
// cannot be told apart from a line break.
#pragma once

#include <string>

class CVantryDlg;

// The text as one POSIX shell word (see the file's comment); "''" for "".
std::string shellWord(const std::string& text);

// A value as the command-line reader expects it (see the file's comment).
std::string escapeOptionValue(const std::string& value);

// The option text for the dialog's values as they stand (the caller moves
// the controls into them first): the options that differ from their
// defaults, each followed by a blank, then the preprocessor defines as
// "-DNAME=value", the current module-option values in key order, every
// entry of the input list and the output file. A list entry or output
// file that begins with "-" is written with "./" before it, so that it is
// not read as an option. Throws VelkError when the input list cannot be split (a quote
// left open).
std::string generateCommandOptions(const CVantryDlg& dialog);

// The console front end's path: "vantry_cmd" in the directory of the
// program's path.
std::string consoleProgramPath(const std::string& programPath);
