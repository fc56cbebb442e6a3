#include "modules/common/ClassPagePath.h"

#include <array>
#include <string_view>

namespace {

// What each byte becomes in a path component: ':' becomes '.'; blank, '[',
// ']', '/', '\\' and control characters become '_'.
constexpr std::array<char, 256> makePathCharMap() {
    std::array<char, 256> map{};
    for (int c = 0; c < 256; ++c) map[c] = static_cast<char>(c);
    for (int c = 0; c < 0x20; ++c) map[c] = '_';
    map[0x7f] = '_';
    for (char c : {' ', '[', ']', '/', '\\'}) map[static_cast<unsigned char>(c)] = '_';
    map[':'] = '.';
    return map;
}

constexpr std::array<char, 256> pathCharMap = makePathCharMap();

// Appends safePathComponent(name); page paths are made for every link to a
// class, so they are built in one string.
void appendSafePathComponent(std::string& out, std::string_view name) {
    const std::size_t start = out.size();
    out += name;
    char* const made = out.data() + start;
    for (std::size_t i = 0; i < name.size(); ++i)
        made[i] = pathCharMap[static_cast<unsigned char>(made[i])];
    const std::string_view component = std::string_view(out).substr(start);
    if (component.empty() || component == "." || component == "..") {
        out.resize(start);
        out += '_';
    }
}

}  // namespace

std::string safePathComponent(const std::string& name) {
    std::string result;
    result.reserve(name.size());
    appendSafePathComponent(result, name);
    return result;
}

std::string classPagePath(const std::string& prefix, const std::string& package,
                          const std::string& name) {
    // The directory is safePathComponent of the package's last part.
    std::string_view directory = package;
    for (std::size_t i = directory.size(); i > 0; --i)
        if (directory[i - 1] == '/' || directory[i - 1] == '\\') {
            directory.remove_prefix(i);
            break;
        }
    std::string path;
    path.reserve(prefix.size() + directory.size() + name.size() + 6);
    path += prefix;
    if (!directory.empty()) {
        appendSafePathComponent(path, directory);
        path += '/';
    }
    appendSafePathComponent(path, name);
    path += ".html";
    return path;
}
