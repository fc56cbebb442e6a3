#include "platform/SettingsStore.h"

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/TerminalText.h"

namespace platform {

namespace {

// The form under which a name is looked up: ASCII letters lower-cased,
// other bytes as they are, so "General" and "GENERAL" are one name.
std::string foldName(const std::string& name) {
    std::string folded = name;
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

std::string trimBlanks(const std::string& text) {
    std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return "";
    std::size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

std::string systemText(int code) {
    return std::strerror(code);
}

// Makes every missing directory of the path, the new ones with mode 0700.
bool makeDirectories(const std::string& directory, std::string* errorText) {
    std::string partial;
    std::size_t position = 0;
    while (position <= directory.size()) {
        std::size_t slash = directory.find('/', position);
        if (slash == std::string::npos) slash = directory.size();
        partial = directory.substr(0, slash);
        position = slash + 1;
        if (partial.empty()) continue;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            if (errorText != nullptr)
                *errorText = "Could not create the directory " + terminalText(partial) + " (" + systemText(errno) + ")";
            return false;
        }
    }
    struct stat info;
    if (::stat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        if (errorText != nullptr) *errorText = "Not a directory: " + directory;
        return false;
    }
    return true;
}

}  // namespace

SettingsStore::~SettingsStore() = default;

std::string SettingsStore::getString(const std::string& section, const std::string& name,
                                     const std::string& defaultText) const {
    std::optional<std::string> text = readText(section, name);
    return text ? *text : defaultText;
}

int SettingsStore::getInt(const std::string& section, const std::string& name,
                          int defaultValue) const {
    std::optional<std::string> text = readText(section, name);
    if (!text || text->empty()) return defaultValue;
    const char* begin = text->c_str();
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(begin, &end, 10);
    bool digitsOnly = std::isdigit(static_cast<unsigned char>(begin[0])) ||
                      ((begin[0] == '-' || begin[0] == '+') &&
                       std::isdigit(static_cast<unsigned char>(begin[1])));
    if (!digitsOnly || *end != '\0' || errno == ERANGE || value < INT32_MIN || value > INT32_MAX)
        return defaultValue;
    return static_cast<int>(value);
}

void SettingsStore::writeInt(const std::string& section, const std::string& name, int value) {
    writeText(section, name, std::to_string(value));
}

SettingsTable::Section* SettingsTable::findSection(const std::string& section) {
    auto found = sectionIndex.find(foldName(section));
    return found == sectionIndex.end() ? nullptr : &sections[found->second];
}

const SettingsTable::Section* SettingsTable::findSection(const std::string& section) const {
    auto found = sectionIndex.find(foldName(section));
    return found == sectionIndex.end() ? nullptr : &sections[found->second];
}

const std::string* SettingsTable::find(const std::string& section, const std::string& name) const {
    const Section* found = findSection(section);
    if (found == nullptr) return nullptr;
    auto value = found->index.find(foldName(name));
    return value == found->index.end() ? nullptr : &found->values[value->second].text;
}

void SettingsTable::set(const std::string& section, const std::string& name,
                        const std::string& text) {
    Section* found = findSection(section);
    if (found == nullptr) {
        sectionIndex.emplace(foldName(section), sections.size());
        sections.push_back(Section{section, {}, {}});
        found = &sections.back();
    }
    auto [slot, added] = found->index.emplace(foldName(name), found->values.size());
    if (!added) {
        found->values[slot->second].text = text;
        return;
    }
    found->values.push_back(Value{name, text});
}

std::string escapeSettingsValue(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            default: out += c;
        }
    }
    return out;
}

std::string unescapeSettingsValue(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            char next = text[i + 1];
            if (next == '\\' || next == 'r' || next == 'n') {
                out += next == '\\' ? '\\' : next == 'r' ? '\r' : '\n';
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string SettingsTable::toIni() const {
    std::string out;
    for (const Section& section : sections) {
        if (!out.empty()) out += "\n";
        out += "[" + section.name + "]\n";
        for (const Value& value : section.values)
            out += value.name + "=" + escapeSettingsValue(value.text) + "\n";
    }
    return out;
}

SettingsTable SettingsTable::fromIni(const std::string& text) {
    SettingsTable table;
    std::string section;
    bool inSection = false;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string trimmed = trimBlanks(line);
        if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#') continue;
        if (trimmed.front() == '[' && trimmed.back() == ']') {
            section = trimBlanks(trimmed.substr(1, trimmed.size() - 2));
            inSection = true;
            continue;
        }
        std::size_t equals = line.find('=');
        if (!inSection || equals == std::string::npos) continue;
        std::string name = trimBlanks(line.substr(0, equals));
        if (name.empty()) continue;
        table.set(section, name, unescapeSettingsValue(line.substr(equals + 1)));
    }
    return table;
}

IniSettingsStore::IniSettingsStore(std::string filePath) : path(std::move(filePath)) {
    // Non-blocking, so that a FIFO at the path cannot stall the program
    // before it has shown anything.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        std::cerr << "vantry: warning: the settings file " << terminalText(path)
                  << " is not a regular file; it is ignored." << std::endl;
        return;
    }
    // Settings are a few kilobytes: a file of megabytes is no settings file
    // of ours, and one of gigabytes would exhaust memory.
    auto tooLarge = [&] {
        ::close(fd);
        std::cerr << "vantry: warning: the settings file " << terminalText(path) << " is larger than "
                  << (kSettingsFileLimit >> 20) << " MB; it is ignored and the settings take "
                  << "their defaults." << std::endl;
    };
    if (static_cast<std::uint64_t>(info.st_size) > kSettingsFileLimit) {
        tooLarge();
        return;
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        text.append(buffer, static_cast<std::size_t>(got));
        if (text.size() > kSettingsFileLimit) {
            tooLarge();
            return;
        }
    }
    ::close(fd);
    table = SettingsTable::fromIni(text);
}

std::optional<std::string> IniSettingsStore::readText(const std::string& section,
                                                      const std::string& name) const {
    const std::string* text = table.find(section, name);
    if (text == nullptr) return std::nullopt;
    return *text;
}

void IniSettingsStore::writeText(const std::string& section, const std::string& name,
                                 const std::string& text) {
    table.set(section, name, text);
}

bool IniSettingsStore::save(std::string* errorText) {
    auto fail = [&](const std::string& what, int code) {
        if (errorText != nullptr)
            *errorText = "Could not save the settings to " + terminalText(path) + ": " + what +
                         (code != 0 ? " (" + systemText(code) + ")" : std::string());
        return false;
    };
    if (path.empty()) return fail("no settings directory (HOME is not set)", 0);
    std::size_t slash = path.rfind('/');
    std::string directory = slash == std::string::npos ? std::string(".")
                            : slash == 0                ? std::string("/")
                                                        : path.substr(0, slash);
    std::string directoryError;
    if (!makeDirectories(directory, &directoryError)) {
        if (errorText != nullptr) *errorText = "Could not save the settings: " + directoryError;
        return false;
    }

    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) return fail("cannot create a new file", errno);
    std::string temporary = name.data();
    auto discard = [&](const std::string& what, int code) {
        if (fd >= 0) ::close(fd);
        ::unlink(temporary.c_str());
        return fail(what, code);
    };
    ::fchmod(fd, 0600);
    std::string text = table.toIni();
    std::size_t written = 0;
    while (written < text.size()) {
        ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            return discard("write failed", errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) return discard("flush failed", errno);
    int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return discard("close failed", errno);
    if (::rename(temporary.c_str(), path.c_str()) != 0) return discard("rename failed", errno);
    return true;
}

std::optional<std::string> MemorySettingsStore::readText(const std::string& section,
                                                         const std::string& name) const {
    const std::string* text = table.find(section, name);
    if (text == nullptr) return std::nullopt;
    return *text;
}

void MemorySettingsStore::writeText(const std::string& section, const std::string& name,
                                    const std::string& text) {
    ++writeCount;
    table.set(section, name, text);
}

bool MemorySettingsStore::save(std::string* errorText) {
    ++saveCount;
    if (!saveResult && errorText != nullptr) *errorText = "Could not save the settings.";
    return saveResult;
}

std::string defaultSettingsPath(const std::string& maker, const std::string& application) {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config != nullptr && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] == '\0') return "";
        base = std::string(home) + "/.config";
    }
    return base + "/" + maker + "/" + application + ".ini";
}

}  // namespace platform
