// Header lines of a mail that the SMTP client writes itself: texts beyond
// ASCII in the form mail headers allow, and the date and identity every
// message carries.
#pragma once

#include <ctime>
#include <string>
#include <vector>

// The header "name: value" as the lines that carry it (the first begins
// with name + ": ", each further one with a blank). A value of printable
// ASCII that fits one line stays as it is; any other is written as
// encoded words ("=?utf-8?B?" + base64 + "?="), each whole characters of
// the UTF-8 text and at most 75 characters long, one to a line. Control
// characters in the value are the caller's to refuse.
std::vector<std::string> textHeaderLines(const std::string& name, const std::string& value);

// The header "name: " + an address text: a display name beyond ASCII
// before "<address>" is written as encoded words and the address kept as
// it is; any other text as it is.
std::vector<std::string> addressHeaderLines(const std::string& name, const std::string& value);

// The header "name: " + the address texts separated by ", "; with a text
// beyond ASCII among them, each address as addressHeaderLines writes it,
// the next one on a line of its own.
std::vector<std::string> addressListHeaderLines(const std::string& name,
                                                const std::vector<std::string>& addresses);

// The moment as a mail date in local time, English names:
// "Thu, 10 Dec 2026 01:02:03 +0100".
std::string mailDate(std::time_t moment);

// A new message identity: "<" + the moment + "." + random hexadecimal
// digits + "@" + the host name (letters, digits, "-" and "." kept, other
// bytes dropped; "localhost" when nothing is left) + ">".
std::string newMessageId(std::time_t moment, const std::string& hostName);
