#include "model/CppStream.h"

#include <utility>

ConcreteCppStream::ConcreteCppStream(std::istream* input_, std::string fileName_)
    : input(input_), fileName(std::move(fileName_)) {}

int ConcreteCppStream::get() { return input->get(); }

void ConcreteCppStream::putBack(int c) {
    if (c == std::char_traits<char>::eof()) return;
    // A put-back after the end must be readable again, so the end state is
    // cleared first.
    if (input->eof()) input->clear();
    input->putback(static_cast<char>(c));
}

int ConcreteCppStream::peek() { return input->peek(); }

bool ConcreteCppStream::eof() { return input->eof(); }

std::string ConcreteCppStream::getFileName() { return fileName; }

std::string ConcreteCppStream::getLine() {
    // A line of any length is read whole; a failed read returns what was
    // read and leaves the stream failed, so callers' loops end.
    std::string line;
    std::getline(*input, line);
    return line;
}

CppStrStream::CppStrStream(const std::string& text_, std::string fileName_)
    : ConcreteCppStream(nullptr, std::move(fileName_)), text(text_) {
    input = &text;
}

std::string CppStrStream::getLine() { return ConcreteCppStream::getLine(); }
