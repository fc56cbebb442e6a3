// Splits one text into tokens at up to four separator strings, honouring a
// quote and an escape character given per call.
#pragma once

#include "VelkLib/VelkError.h"

#include <string>
#include <vector>

class VelkTokenizer {
public:
    // Raised by nextNumber for a token that is not a number.
    class VELK_VISIBLE InvalidNumberError : public VelkError {
    public:
        // Message: "Error reading string: expected a number, got \"" + token + "\"".
        explicit InvalidNumberError(const std::string& token);
    };

    // Copies the text (up to a first NUL character, if any) and the
    // separators. `separator1` is always used; the others only when not
    // empty. Separators are tested in the order given, so the earlier wins
    // where two match at one place. An empty first separator is ignored like
    // the others (it would match everywhere and never advance); with no
    // separator at all the whole text is one token.
    explicit VelkTokenizer(const std::string& text, const std::string& separator1,
                           const std::string& separator2 = "",
                           const std::string& separator3 = "",
                           const std::string& separator4 = "");
    virtual ~VelkTokenizer();

    // True while a pushed-back token waits or text is left after the cursor.
    bool hasMoreTokens() const { return !pushedBack.empty() || cursor < text.size(); }

    // Returns the last pushed-back token when there is one (unchanged).
    // Otherwise returns the text up to the next separator that is neither
    // inside quotes nor directly after the escape character, and moves past
    // that separator. The escape character stays in the token; one pair of
    // quote characters enclosing the whole token is removed. `quote` NUL
    // means no quoting. At the end of the text it returns "". Never fails.
    std::string nextToken(char quote, char escape);

    // nextToken('\0', '\\') read as a decimal number: an optional leading
    // '-' and the digits that follow, as atoi reads them ("" gives 0, "1-2"
    // gives 1). Throws InvalidNumberError when the token holds anything but
    // digits and '-', or when its value does not fit in an int.
    int nextNumber();

    // Tokens put back by callers (append to the end); the last one is
    // handed out first by nextToken. The tokenizer never adds to it.
    std::vector<std::string> pushedBack;

private:
    std::string text;
    std::vector<std::string> separators;
    size_t cursor = 0;
};
