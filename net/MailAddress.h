// Mail address texts: "Name <user@host>" or a bare address.
#pragma once

#include <string>

// The address part of a mail address text: the characters between the first
// "<" and the last ">"; without both brackets, the text after its last blank
// (the whole text when it has none). Throws VelkError "Bad address: " + text
// when the last ">" stands before the first "<".
std::string addressOf(const std::string& text);

// Throws VelkError "The " + what + " must not hold a line break or another
// control character." when text holds a byte below 32 or 127, so that
// nothing a user typed can end an SMTP command or a header line early.
void refuseControlCharacters(const std::string& what, const std::string& text);
