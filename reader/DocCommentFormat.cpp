#include "reader/DocCommentFormat.h"

#include <algorithm>
#include <vector>

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkTokenizer.h"
#include "reader/ReaderText.h"

namespace {

[[noreturn]] void formatError(const std::string& text) {
    throw VelkError("Documentation comment format error: " + text);
}

bool hasBlank(const std::string& s) { return std::any_of(s.begin(), s.end(), isBlankChar); }

void checkNoBlank(const std::string& field, const std::string& key) {
    if (hasBlank(field)) formatError(key + " string may not contain spaces.");
}

// Checks fields[first .. first+2] as one start/middle/end triple.
void checkTriple(const std::vector<std::string>& fields, std::size_t first) {
    if (fields.size() < first + 3)
        formatError("not enough strings in format (format is "
                    "\"doc-start;doc-middle;doc-end[;alt-doc-start;alt-doc-middle;alt-doc-end]\").");
    const std::string& start = fields[first];
    const std::string& end = fields[first + 2];
    if (start.size() != 3) formatError("documentation-start string must be 3 characters long.");
    if (start.compare(0, 2, "/*") != 0 && start.compare(0, 2, "//") != 0)
        formatError("documentation comments must begin with \"/*\" or \"//\".");
    checkNoBlank(start, "documentation-start");
    checkNoBlank(fields[first + 1], "documentation-middle");
    checkNoBlank(end, "documentation-end");
    if (end.compare(0, 2, "//") != 0 && lastChars(end, 2) != "*/")
        formatError("documentation-end string must begin with \"//\" or end with \"*/\".");
}

}  // namespace

void DocCommentFormat::setDefaults() {
    setPrimary("/**", "*", "*/");
    setSecondary("", "", "");
}

void DocCommentFormat::setPrimary(const std::string& start, const std::string& middle,
                                  const std::string& end) {
    primaryStart = start;
    primaryMiddle = middle;
    primaryEnd = end;
}

void DocCommentFormat::setSecondary(const std::string& start, const std::string& middle,
                                    const std::string& end) {
    secondaryStart = start;
    secondaryMiddle = middle;
    secondaryEnd = end;
}

void DocCommentFormat::parse(const std::string& text) {
    if (text.empty()) {
        setDefaults();
        return;
    }
    std::vector<std::string> fields;
    VelkTokenizer tokenizer(text, ";");
    while (tokenizer.hasMoreTokens() && fields.size() < 6) fields.push_back(tokenizer.nextToken('\0', '\\'));

    // Everything is checked before anything is stored, so a rejected text
    // leaves the format that was in use.
    checkTriple(fields, 0);
    if (fields.size() > 3) checkTriple(fields, 3);
    setPrimary(fields[0], fields[1], fields[2]);
    if (fields.size() > 3) setSecondary(fields[3], fields[4], fields[5]);
    else setSecondary("", "", "");
}
