// The scratch buffer in which the token reader and the macro expander
// assemble text of any length.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

class CharBuffer {
public:
    // Starts empty: most tokens fit the string's inline storage and never
    // touch the heap. Growth is geometric, so a token or line of any length
    // is built in linear time.
    CharBuffer() = default;
    // Room for `size` characters up front, for texts of a known length.
    explicit CharBuffer(std::size_t size) { text.reserve(size); }

    void append(char c) { text.push_back(c); }
    void append(std::string_view s) { text.append(s); }
    std::size_t length() const { return text.size(); }
    bool empty() const { return text.empty(); }
    const std::string& str() const { return text; }
    // Hands the text over and leaves the buffer empty.
    std::string take() { return std::move(text); }

private:
    std::string text;
};
