#include "run/PathComponent.h"

std::string safePathComponent(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return "_";
    std::string safe = name;
    for (char& c : safe) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || u < 32 || u == 127) c = '_';
    }
    return safe;
}
