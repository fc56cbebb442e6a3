// Which comments count as documentation comments: the strings that open,
// continue and close one, for a primary and an optional secondary style.
#pragma once

#include <string>

class DocCommentFormat {
public:
    // The defaults: primary "/**" "*" "*/", no secondary style.
    DocCommentFormat() { setDefaults(); }

    void setDefaults();
    void setPrimary(const std::string& start, const std::string& middle, const std::string& end);
    void setSecondary(const std::string& start, const std::string& middle, const std::string& end);

    // Reads the ";"-separated form "start;middle;end[;start2;middle2;end2]"
    // (a backslash escapes a ";" and stays in the field); fields after the
    // sixth are ignored and an empty text gives the defaults. Every start
    // string must be 3 characters beginning with "/*" or "//", no string
    // may hold white space, every end string must begin with "//" or end
    // with "*/". Throws VelkError "Documentation comment format error: ..."
    // otherwise, and then leaves the format as it was.
    void parse(const std::string& text);

    const std::string& getPrimaryStart() const { return primaryStart; }
    const std::string& getPrimaryMiddle() const { return primaryMiddle; }
    const std::string& getPrimaryEnd() const { return primaryEnd; }
    // All three empty when there is no secondary style.
    const std::string& getSecondaryStart() const { return secondaryStart; }
    const std::string& getSecondaryMiddle() const { return secondaryMiddle; }
    const std::string& getSecondaryEnd() const { return secondaryEnd; }

    bool operator==(const DocCommentFormat&) const = default;

private:
    std::string primaryStart, primaryMiddle, primaryEnd;
    std::string secondaryStart, secondaryMiddle, secondaryEnd;
};
