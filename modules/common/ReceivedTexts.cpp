#include "modules/common/ReceivedTexts.h"

#include "VelkLib/VelkTokenizer.h"
#include "model/CppClass.h"
#include "model/ModelText.h"

#include <vector>

void setBasesFromText(CppClass& cls, const std::string& text) {
    VelkTokenizer entries(text, "|");
    while (entries.hasMoreTokens()) {
        std::string entry = entries.nextToken('\0', '\\');
        // The mark is the entry's last field, or the one before a last
        // that begins with "=" (the base as the class head writes it): a
        // "," before the mark belongs to the name, as in a C++ base's
        // template arguments ("Traits<int, 4>,f"); one after a backslash
        // splits nothing.
        std::vector<std::size_t> commas;
        for (std::size_t i = 0; i < entry.size(); ++i) {
            if (entry[i] == '\\') ++i;
            else if (entry[i] == ',') commas.push_back(i);
        }
        // Where the mark begins (after its ",") and ends.
        std::size_t markAt = commas.empty() ? std::string::npos : commas.back();
        std::size_t markEnd = entry.size();
        std::string escaped;
        if (commas.size() >= 2 && entry.compare(commas.back() + 1, 1, "=") == 0) {
            escaped = entry.substr(commas.back() + 2);
            markEnd = commas.back();
            markAt = commas[commas.size() - 2];
        }
        const std::string name = entry.substr(0, markAt);
        const std::string flag =
            markAt == std::string::npos ? std::string() : entry.substr(markAt + 1, markEnd - markAt - 1);
        cls.addBase(name, flag == "t");
        if (escaped.empty()) continue;
        // Its escapes read.
        std::string written;
        for (std::size_t i = 0; i < escaped.size(); ++i) {
            if (escaped[i] == '\\' && i + 1 < escaped.size()) ++i;
            written += escaped[i];
        }
        cls.setWrittenBase(name, written);
    }
}

void setFileNamesFromText(CppClassEntity& entity, const std::string& text) {
    forEachListField(text, [&](std::string_view name) { entity.addFileName(InternedText(name)); });
}
