#include "model/CppStream.h"

#include <utility>

namespace {
constexpr int endOfFile = std::char_traits<char>::eof();

// Moves the put-back characters (last put back, first read) into line up to
// a line feed, which is taken but not kept. Returns true when that line
// feed ended the line.
bool takePushedBackLine(std::string& pushedBack, std::string& line) {
    while (!pushedBack.empty()) {
        char c = pushedBack.back();
        pushedBack.pop_back();
        if (c == '\n') return true;
        line += c;
    }
    return false;
}
}

ConcreteCppStream::ConcreteCppStream(std::istream* input_, std::string fileName_)
    : input(input_), fileName(std::move(fileName_)) {}

int ConcreteCppStream::get() {
    if (!pushedBack.empty()) {
        unsigned char c = static_cast<unsigned char>(pushedBack.back());
        pushedBack.pop_back();
        return c;
    }
    return input ? input->get() : endOfFile;
}

void ConcreteCppStream::putBack(int c) {
    if (c == endOfFile) return;
    pushedBack.push_back(static_cast<char>(c));
}

int ConcreteCppStream::peek() {
    if (!pushedBack.empty()) return static_cast<unsigned char>(pushedBack.back());
    return input ? input->peek() : endOfFile;
}

bool ConcreteCppStream::eof() {
    if (!pushedBack.empty()) return false;
    // A failed read counts as the end, so that readers never spin on a
    // stream that will not move again.
    return !input || input->eof() || input->fail();
}

std::string ConcreteCppStream::getFileName() { return fileName; }

std::string ConcreteCppStream::getLine() {
    std::string line;
    if (takePushedBackLine(pushedBack, line)) return line;
    if (!input || !*input) return line;
    // A line of any length is read whole.
    std::string rest;
    std::getline(*input, rest);
    line += rest;
    return line;
}

CppStrStream::CppStrStream(const std::string& text_, std::string fileName_)
    : text(text_), fileName(std::move(fileName_)) {}

int CppStrStream::get() {
    if (!pushedBack.empty()) {
        unsigned char c = static_cast<unsigned char>(pushedBack.back());
        pushedBack.pop_back();
        return c;
    }
    if (atEnd || position == text.size()) {
        atEnd = true;
        return endOfFile;
    }
    return static_cast<unsigned char>(text[position++]);
}

void CppStrStream::putBack(int c) {
    if (c == endOfFile) return;
    pushedBack.push_back(static_cast<char>(c));
}

int CppStrStream::peek() {
    if (!pushedBack.empty()) return static_cast<unsigned char>(pushedBack.back());
    if (atEnd || position == text.size()) {
        atEnd = true;
        return endOfFile;
    }
    return static_cast<unsigned char>(text[position]);
}

bool CppStrStream::eof() { return pushedBack.empty() && atEnd; }

std::string CppStrStream::getFileName() { return fileName; }

std::string CppStrStream::getLine() {
    std::string line;
    if (takePushedBackLine(pushedBack, line)) return line;
    if (atEnd) return line;
    if (position == text.size()) {
        atEnd = true;
        return line;
    }
    std::size_t end = text.find('\n', position);
    if (end == std::string::npos) {
        line.append(text, position, std::string::npos);
        position = text.size();
        atEnd = true;
    } else {
        line.append(text, position, end - position);
        position = end + 1;
    }
    return line;
}
