#include "model/CppStream.h"

#include <utility>

namespace {
constexpr int endOfFile = std::char_traits<char>::eof();
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
    while (!pushedBack.empty()) {
        char c = pushedBack.back();
        pushedBack.pop_back();
        if (c == '\n') return line;
        line += c;
    }
    if (!input || !*input) return line;
    // A line of any length is read whole.
    std::string rest;
    std::getline(*input, rest);
    line += rest;
    return line;
}

CppStrStream::CppStrStream(const std::string& text_, std::string fileName_)
    : ConcreteCppStream(nullptr, std::move(fileName_)), text(text_) {
    input = &text;
}

std::string CppStrStream::getLine() { return ConcreteCppStream::getLine(); }
