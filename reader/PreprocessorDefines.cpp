#include "reader/PreprocessorDefines.h"

#include <cstring>

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkTokenizer.h"
#include "reader/BlockReader.h"
#include "reader/CharBuffer.h"
#include "reader/ReaderText.h"

namespace {

// Position of the first `c` in the text that no backslash escapes.
std::size_t findUnescaped(const std::string& text, char c) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == c && (i == 0 || text[i - 1] != '\\')) return i;
    return std::string::npos;
}

std::string withoutBlanks(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\t') out.push_back(c);
    return out;
}

}  // namespace

PreprocessorDefines::PreprocessorDefines(const std::string& text) {
    VelkTokenizer entries(text, "\r\n", "\n");
    while (entries.hasMoreTokens()) {
        std::string entry = entries.nextToken('\0', '\\');
        if (entry.empty()) continue;
        std::size_t eq = findUnescaped(entry, '=');
        if (eq == std::string::npos) addDefinition(withoutBlanks(entry), "");
        else addDefinition(withoutBlanks(entry.substr(0, eq)), entry.substr(eq + 1));
    }
}

void PreprocessorDefines::add(const std::string& name, MacroBody body) {
    names.push_back(name);
    bodies.push_back(std::move(body));
    if (!name.empty()) noteFirstChar(name[0]);
}

void PreprocessorDefines::noteFirstChar(char c) {
    if (firstChars[static_cast<unsigned char>(c)]) return;
    firstChars.set(static_cast<unsigned char>(c));
    firstList += c;
}

void PreprocessorDefines::addName(const std::string& name) { add(name, MacroBody()); }

void PreprocessorDefines::addDefine(const std::string& name, const std::string& body) {
    add(name, MacroBody(body));
}

void PreprocessorDefines::addMacro(const std::string& name, const std::vector<std::string>& parameters,
                                   const std::string& body) {
    add(name, MacroBody(parameters, body));
}

void PreprocessorDefines::addDefinition(const std::string& namePart, const std::string& body) {
    std::size_t open = namePart.find('(');
    if (open == std::string::npos || namePart.back() != ')') {
        addDefine(namePart, body);
        return;
    }
    std::vector<std::string> parameters;
    VelkTokenizer split(namePart.substr(open + 1, namePart.size() - open - 2), ",");
    while (split.hasMoreTokens()) parameters.push_back(split.nextToken('\0', '\\'));
    addMacro(namePart.substr(0, open), parameters, body);
}

long PreprocessorDefines::find(const std::string& name) const {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return static_cast<long>(i);
    return -1;
}

bool PreprocessorDefines::isDefined(const std::string& name) const { return find(name) >= 0; }

std::string PreprocessorDefines::valueOf(const std::string& name) const {
    long i = find(name);
    return i < 0 ? std::string() : bodies[i].bodyText();
}

const MacroBody* PreprocessorDefines::bodyOf(const std::string& name) const {
    long i = find(name);
    return i < 0 ? nullptr : &bodies[i];
}

void PreprocessorDefines::undefine(const std::string& name) {
    long i = find(name);
    if (i < 0) return;
    names.erase(names.begin() + i);
    bodies.erase(bodies.begin() + i);
    firstChars.reset();
    firstList.clear();
    for (const std::string& n : names)
        if (!n.empty()) noteFirstChar(n[0]);
}

long PreprocessorDefines::nameAt(std::string_view line, std::size_t pos, const TextSpans* asWritten) const {
    // Only word starts can match, and the first definition of a name wins.
    if (!firstChars[static_cast<unsigned char>(line[pos])]) return -1;
    if (pos > 0 && isWordChar(line[pos - 1])) return -1;
    if (asWritten) {
        for (const auto& [from, to] : *asWritten) {
            if (pos >= to) continue;
            if (pos >= from) return -1;
            break;
        }
    }
    for (std::size_t i = 0; i < names.size(); ++i)
        if (!names[i].empty() && line[pos] == names[i][0] && matchesWordAt(names[i], line, pos))
            return static_cast<long>(i);
    return -1;
}

bool PreprocessorDefines::mayExpand(std::string_view line, const TextSpans* asWritten) const {
    if (line.empty()) return false;
    if (firstList.size() <= 4) {
        for (const char first : firstList) {
            const char* const data = line.data();
            for (const void* hit = std::memchr(data, first, line.size()); hit;) {
                const std::size_t pos = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
                if (nameAt(line, pos, asWritten) >= 0) return true;
                hit = std::memchr(data + pos + 1, first, line.size() - pos - 1);
            }
        }
        return false;
    }
    for (std::size_t pos = 0; pos < line.size(); ++pos)
        if (nameAt(line, pos, asWritten) >= 0) return true;
    return false;
}

bool PreprocessorDefines::expandLine(std::string& line, BlockReader& reader, std::string& output,
                                     int& lineCounter, Limit* limit, const TextSpans* asWritten) const {
    if (!mayExpand(line, asWritten)) return false;
    auto nameAt = [&](std::size_t pos) { return this->nameAt(line, pos, asWritten); };

    CharBuffer out(line.size() + 64);
    bool changed = false;
    std::size_t pos = 0;
    while (pos < line.size()) {
        long which = nameAt(pos);
        if (which < 0) {
            // Copy up to the next place where a name can start.
            std::size_t stop = pos + 1;
            while (stop < line.size() && !firstChars[static_cast<unsigned char>(line[stop])]) ++stop;
            out.append(std::string_view(line).substr(pos, stop - pos));
            pos = stop;
            continue;
        }
        const MacroBody& body = bodies[which];
        std::size_t after = pos + names[which].size();
        std::size_t next = after;
        while (next < line.size() && isBlankChar(line[next])) ++next;

        // Past the limit the use and the rest of the line stay as written.
        auto fits = [&](std::size_t replacement, std::size_t rest) {
            if (limit == nullptr || out.length() + replacement + (line.size() - rest) <= limit->maxLength)
                return true;
            limit->stoppedAt = names[which];
            out.append(std::string_view(line).substr(pos));
            pos = line.size();
            return false;
        };
        if (body.getParameterCount() == 0) {
            const std::string replacement = body.expand({});
            if (!fits(replacement.size(), next)) break;
            out.append(replacement);
            if (next > after) out.append(' ');
            if (line.compare(next, 2, "()") == 0) next += 2;
            pos = next;
            changed = true;
            continue;
        }
        if (next >= line.size() || line[next] != '(') {
            out.append(line[pos++]);  // not a call: the name stays as written
            continue;
        }

        std::vector<std::string> arguments(1);
        int depth = 1;
        bool inDouble = false, inSingle = false;
        std::size_t i = next + 1;
        for (;;) {
            if (i >= line.size()) {
                if (reader.atEnd())
                    throw VelkError("End-of-file in macro argument list (line " +
                                    std::to_string(lineCounter) + ")");
                line += reader.readLine();
                output += '\n';
                ++lineCounter;
                continue;
            }
            char c = line[i++];
            if ((inDouble || inSingle) && c == '\\' && i < line.size()) {
                // An escaped quote inside a literal neither ends it nor
                // opens another.
                arguments.back().push_back(c);
                arguments.back().push_back(line[i++]);
                continue;
            }
            if (c == '(') ++depth;
            else if (c == ')' && --depth == 0) break;
            else if (c == '"' && !inSingle) inDouble = !inDouble;
            else if (c == '\'' && !inDouble) inSingle = !inSingle;
            else if (c == ',' && depth == 1 && !inDouble && !inSingle) {
                arguments.emplace_back();
                continue;
            }
            arguments.back().push_back(c);
        }
        const std::string replacement = body.expand(arguments);
        if (!fits(replacement.size(), i)) break;
        out.append(replacement);
        pos = i;
        changed = true;
    }
    line = out.take();
    return changed;
}

std::string PreprocessorDefines::toText(const std::string& equals, const std::string& separator,
                                        const std::string& lead, const std::string& quote) const {
    const std::string& eq = equals.empty() ? std::string("=") : equals;
    const std::string& sep = separator.empty() ? std::string("\r\n") : separator;
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        out += lead + quote + names[i];
        const MacroBody& body = bodies[i];
        if (body.getParameterCount() > 0 ||
            (!body.getParts().empty() && !body.getParts().front().text("arg_").empty()))
            out += body.parameterText() + eq + body.bodyText();
        out += quote + sep;
    }
    return out;
}
