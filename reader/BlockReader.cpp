#include "reader/BlockReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "VelkLib/VelkError.h"

BlockReader::BlockReader(std::istream& input) {
    char block[kBlockSize];
    for (;;) {
        errno = 0;
        input.read(block, kBlockSize);
        std::streamsize got = input.gcount();
        if (got > 0) text.append(block, static_cast<std::size_t>(got));
        if (input.bad()) throw VelkError("Could not read the source file", errno ? errno : EIO);
        if (got < static_cast<std::streamsize>(kBlockSize)) break;
    }
    nulAt = text.find('\0');
}

BlockReader::BlockReader(std::string text_) : text(std::move(text_)), nulAt(text.find('\0')) {}

int BlockReader::getChar() {
    if (pushed >= 0) {
        int c = pushed;
        pushed = -1;
        return c;
    }
    if (pos >= text.size()) return -1;
    return static_cast<unsigned char>(text[pos++]);
}

void BlockReader::putBack(int c) {
    if (c >= 0) pushed = c;
}

std::string BlockReader::readLine() {
    std::string line;
    readLine(line);
    return line;
}

void BlockReader::readLine(std::string& line) {
    line.clear();
    if (pushed >= 0) {
        int c = pushed;
        pushed = -1;
        if (c == '\n') return;
        if (c != 0) line.push_back(static_cast<char>(c));
    }
    std::size_t end = text.find('\n', pos);
    std::size_t stop = end == std::string::npos ? text.size() : end;
    // NUL bytes are rare: the line goes over in one piece unless it has one.
    if (std::memchr(text.data() + pos, '\0', stop - pos) == nullptr) {
        line.append(text, pos, stop - pos);
    } else {
        line.reserve(line.size() + (stop - pos));
        for (std::size_t i = pos; i < stop; ++i)
            if (text[i] != '\0') line.push_back(text[i]);
    }
    pos = end == std::string::npos ? text.size() : end + 1;
    if (end != std::string::npos && !line.empty() && line.back() == '\r') line.pop_back();
}

bool BlockReader::holdsNul(std::size_t from, std::size_t length) {
    if (nulAt < from) {
        const void* nul = std::memchr(text.data() + from, '\0', text.size() - from);
        nulAt = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()) : std::string::npos;
    }
    return nulAt < from + length;
}

bool BlockReader::nextLineIsBlank() const {
    if (pushed >= 0 && pushed != ' ' && pushed != '\t' && pushed != '\r' && pushed != '\n') return false;
    if (pushed == '\n') return true;
    for (std::size_t i = pos; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\n') return true;
        if (c != ' ' && c != '\t' && c != '\r' && c != '\v' && c != '\f') return false;
    }
    return true;
}

bool BlockReader::nextLineStartsWith(const std::string& prefix) const {
    if (prefix.empty()) return false;
    // Index 0 is the put-back character when there is one.
    const std::size_t offset = pushed >= 0 ? 1 : 0;
    const std::size_t size = offset + (text.size() - std::min(pos, text.size()));
    auto at = [&](std::size_t k) -> char {
        return k < offset ? static_cast<char>(pushed) : text[pos + k - offset];
    };
    std::size_t k = 0;
    while (k < size && (at(k) == ' ' || at(k) == '\t')) ++k;
    for (std::size_t j = 0; j < prefix.size(); ++j, ++k)
        if (k >= size || at(k) != prefix[j]) return false;
    return true;
}

std::string BlockReader::readAll() {
    std::string rest;
    if (pushed >= 0) rest.push_back(static_cast<char>(pushed));
    pushed = -1;
    if (pos < text.size()) rest.append(text, pos, std::string::npos);
    pos = text.size();
    return rest;
}
