// The version of the program that loaded a module, as pages show it.
#pragma once

#include <string>

// The file's four version numbers joined by ",". Throws VelkError "Could not
// get the version for <file>" when the file carries no version record.
std::string formatVersionText(const std::string& fileName);

// The running program's version as pages show it: the first three numbers
// joined by ".". Pages are still written when the program carries no
// version: the text is then "unknown".
std::string shownProgramVersion();
