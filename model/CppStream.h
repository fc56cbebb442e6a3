// The character source of the token reader, the preprocessor, the parser and
// the source lister: the same code reads a file on disk or text in memory.
#pragma once

#include <cstddef>
#include <istream>
#include <string>

class CppStream {
public:
    virtual ~CppStream() = default;

    // The next character as a non-negative value (0..255), or EOF
    // (std::char_traits<char>::eof()) when none is left or a read failed;
    // reading past the end sets the end state.
    virtual int get() = 0;
    // Puts one character back, so that the next get() returns it. Any
    // number of characters can be put back; they come back last in, first
    // out. Putting back EOF does nothing.
    virtual void putBack(int c) = 0;
    // The next character without taking it, or EOF.
    virtual int peek() = 0;
    // True once the end of the input has been reached or a read has failed
    // (so a loop on !eof() always ends), unless characters were put back.
    virtual bool eof() = 0;
    // The name given at construction; every error and warning quotes it.
    virtual std::string getFileName() = 0;
    // The next line without its line feed, whatever its length; "" at the
    // end of the input (which eof() then reports).
    virtual std::string getLine() = 0;
};

// A stream over a standard input stream that it does not own (null reads as
// empty input).
class ConcreteCppStream : public CppStream {
public:
    ConcreteCppStream(std::istream* input, std::string fileName);

    int get() override;
    void putBack(int c) override;
    int peek() override;
    bool eof() override;
    std::string getFileName() override;
    std::string getLine() override;

protected:
    std::istream* input;
    std::string fileName;

private:
    // Characters put back, the next one to read last. Kept here rather than
    // in the input's buffer, which refuses a put-back that differs from the
    // character read or goes before the start of its buffer.
    std::string pushedBack;
};

// A stream over text held in memory (its own copy), read straight from the
// string: the source lister takes every character of a file through it.
class CppStrStream : public CppStream {
public:
    explicit CppStrStream(const std::string& text, std::string fileName = "");

    int get() override;
    void putBack(int c) override;
    int peek() override;
    bool eof() override;
    std::string getFileName() override;
    std::string getLine() override;

private:
    std::string text;
    std::string fileName;
    std::size_t position = 0;
    // Set by a read that found nothing left, as a stream's end state is.
    bool atEnd = false;
    std::string pushedBack;  // as in ConcreteCppStream
};
