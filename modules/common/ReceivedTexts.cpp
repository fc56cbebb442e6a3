#include "modules/common/ReceivedTexts.h"

#include "VelkLib/VelkTokenizer.h"
#include "model/CppClass.h"

void setBasesFromText(CppClass& cls, const std::string& text) {
    VelkTokenizer entries(text, "|");
    while (entries.hasMoreTokens()) {
        std::string entry = entries.nextToken('\0', '\\');
        VelkTokenizer fields(entry, ",");
        std::string name = fields.nextToken('\0', '\\');
        std::string flag = fields.nextToken('\0', '\\');
        cls.addBase(name, flag == "t");
    }
}

void setFileNamesFromText(CppClassEntity& entity, const std::string& text) {
    size_t start = 0;
    std::string name;  // one buffer for every name of the text
    while (start < text.size()) {
        size_t bar = text.find('|', start);
        if (bar == std::string::npos) {
            if (start == 0) {  // the usual single name needs no copy
                entity.addFileName(text);
                return;
            }
            bar = text.size();
        }
        name.assign(text, start, bar - start);
        entity.addFileName(name);
        start = bar + 1;
    }
}
