#include "modules/common/ReceivedTexts.h"

#include "VelkLib/VelkTokenizer.h"
#include "model/CppClass.h"
#include "model/ModelText.h"

void setBasesFromText(CppClass& cls, const std::string& text) {
    VelkTokenizer entries(text, "|");
    while (entries.hasMoreTokens()) {
        std::string entry = entries.nextToken('\0', '\\');
        // The mark is the entry's last field: a "," before it belongs to
        // the name, as in a C++ base's template arguments ("Traits<int,
        // 4>,f"); one after a backslash splits nothing.
        std::size_t comma = entry.size();
        for (std::size_t i = 0; i < entry.size(); ++i) {
            if (entry[i] == '\\') ++i;
            else if (entry[i] == ',') comma = i;
        }
        const std::string name = entry.substr(0, comma);
        const std::string flag = comma < entry.size() ? entry.substr(comma + 1) : std::string();
        cls.addBase(name, flag == "t");
    }
}

void setFileNamesFromText(CppClassEntity& entity, const std::string& text) {
    forEachListField(text, [&](std::string_view name) { entity.addFileName(InternedText(name)); });
}
