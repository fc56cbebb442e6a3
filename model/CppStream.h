// The character source of the token reader, the preprocessor, the parser and
// the source lister: the same code reads a file on disk or text in memory.
#pragma once

#include <istream>
#include <sstream>
#include <string>

class CppStream {
public:
    virtual ~CppStream() = default;

    // The next character as a non-negative value, or EOF (std::char_traits
    // eof) when none is left; reading past the end sets the end state.
    virtual int get() = 0;
    // Puts one character back, so that the next get() returns it.
    virtual void putBack(int c) = 0;
    // The next character without taking it, or EOF.
    virtual int peek() = 0;
    // True once the end of the input has been reached.
    virtual bool eof() = 0;
    virtual std::string getFileName() = 0;
    // The next line without its line feed; "" at the end of the input.
    virtual std::string getLine() = 0;
};

// A stream over a standard input stream that it does not own.
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
};

// A stream over text held in memory.
class CppStrStream : public ConcreteCppStream {
public:
    explicit CppStrStream(const std::string& text, std::string fileName = "");

    std::string getLine() override;

private:
    std::istringstream text;
};
