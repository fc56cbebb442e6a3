// A text that many model records share and none changes in place: an access
// word, a class's kind, package, container and
// source directory, a record's file names. Each
// distinct text is kept once for the life of the process and a record holds
// only a pointer to it, so a member costs a pointer instead of a string.
// Usable from any thread; the texts are few beside the records (they never
// include names, comments or declarations), so keeping them to the end
// costs little.
#pragma once

#include <string>
#include <string_view>

class InternedText {
public:
    InternedText() : text(&kEmpty) {}
    InternedText(std::string_view value) : text(&intern(value)) {}
    InternedText& operator=(std::string_view value) {
        text = &intern(value);
        return *this;
    }

    const std::string& str() const { return *text; }
    operator const std::string&() const { return *text; }
    bool empty() const { return text->empty(); }
    bool operator==(std::string_view other) const { return *text == other; }
    bool operator==(const InternedText& other) const { return text == other.text; }

private:
    // The one copy of value; "" and the common words without a lock.
    static const std::string& intern(std::string_view value);
    static const std::string kEmpty;

    const std::string* text;
};
