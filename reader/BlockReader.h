// The preprocessor's reader: characters and lines of a source text.
//
// The whole input is taken in at construction (read in blocks of 10240
// bytes), so the end is known exactly: atEnd() is already true when the
// last character has been handed out, also for inputs whose size is a
// multiple of the block size, and at once for an empty input.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <istream>
#include <string>
#include <string_view>

class BlockReader {
public:
    static constexpr std::size_t kBlockSize = 10240;

    // Reads the stream to its end. Throws VelkError (with the system error
    // code) when the stream reports a read error.
    explicit BlockReader(std::istream& input);
    // Reads from a text held in memory.
    explicit BlockReader(std::string text);

    // The next byte (0 to 255; NUL bytes included), or -1 at the end.
    int getChar();
    // Puts one character back (-1 is ignored); a second put-back before a
    // read replaces the first.
    void putBack(int c);
    // The characters up to the next line feed, which is taken but not kept;
    // NUL bytes and a carriage return before the line feed are dropped.
    // "" at the end.
    std::string readLine();
    // The same into `line` (replacing its text), whose storage is reused.
    void readLine(std::string& line);
    // The same as a view into the text (valid as long as the reader), for
    // a line with no NUL byte and nothing put back; false, reading
    // nothing, for any other.
    // Inline: the preprocessor reads every line so.
    bool readLineView(std::string_view& line) {
        if (pushed >= 0) return false;
        const std::size_t from = std::min(pos, text.size());
        const char* begin = text.data() + from;
        const std::size_t left = text.size() - from;
        const auto* feed = static_cast<const char*>(std::memchr(begin, '\n', left));
        const std::size_t length = feed ? static_cast<std::size_t>(feed - begin) : left;
        if (nulAt < from + length && holdsNul(from, length)) return false;
        line = std::string_view(begin, length);
        pos += feed ? length + 1 : length;
        if (feed && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        return true;
    }
    // True when the next line holds nothing but blanks (or nothing at all).
    bool nextLineIsBlank() const;
    // True when no character is left to read.
    bool atEnd() const { return pushed < 0 && pos >= text.size(); }
    // The length of the whole text, read or not.
    std::size_t size() const { return text.size(); }
    // Where the next read starts in the text (a put-back character aside).
    std::size_t position() const { return pos; }

    // Everything not read yet (a put-back character first); the reader is
    // then at its end.
    std::string readAll();
    // True when the next line, after blanks and tabs, begins with `prefix`;
    // an empty prefix never matches.
    bool nextLineStartsWith(const std::string& prefix) const;

private:
    // True when text[from, from + length) holds a NUL byte.
    bool holdsNul(std::size_t from, std::size_t length);

    std::string text;
    std::size_t pos = 0;
    int pushed = -1;
    // The first NUL byte at or after some position not after the lines
    // still to be viewed (npos: none is left), so that lines are not
    // searched for one each.
    std::size_t nulAt = std::string::npos;
};
