#include "modules/common/ShownBase.h"

#include "model/CppClass.h"

#include <string_view>
#include <vector>

namespace {

// Where the parts of a name begin: 0, then just after each separator that
// stands outside angle brackets.
std::vector<std::size_t> partStarts(std::string_view name, std::string_view separator) {
    std::vector<std::size_t> starts{0};
    int depth = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '<') ++depth;
        else if (name[i] == '>' && depth > 0) --depth;
        else if (depth == 0 && name.compare(i, separator.size(), separator) == 0) {
            i += separator.size() - 1;
            starts.push_back(i + 1);
        }
    }
    return starts;
}

}  // namespace

std::string shownBaseText(const CppClass& cls, const std::string& baseName,
                          const CppClass* resolved) {
    const std::string& written = cls.writtenBase(baseName);
    if (!resolved || resolved->isUnresolved()) return written;
    const std::string separator = resolved->getScopeSeparator();
    if (separator.empty()) return written;
    const std::string& name = resolved->getName();
    const std::vector<std::size_t> nameStarts = partStarts(name, separator);
    const std::vector<std::size_t> starts = partStarts(written, separator);
    const std::size_t parts = nameStarts.size();
    if (starts.size() >= parts) return written.substr(starts[starts.size() - parts]);
    // Written within the scopes the name begins with ("Shape" in geo):
    // those scopes come first.
    return name.substr(0, nameStarts[parts - starts.size()]) + written;
}
