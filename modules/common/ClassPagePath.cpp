#include "modules/common/ClassPagePath.h"

#include <string_view>

#include "VelkLib/VelkPath.h"
#include "model/GenericNames.h"
#include "model/SpecialisationNames.h"

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

std::string classPageName(const std::string& name, int language) {
    if (name.find('<') == std::string::npos) return name;
    if (language == 0) return specialisationPageName(name);
    if (language != 1) return name;
    std::string page = genericKey(name);
    for (char& c : page)
        if (c == '`') c = '-';
    return page;
}
