#include "modules/common/ReceivedTexts.h"

#include "VelkLib/VelkTokenizer.h"
#include "model/CppClass.h"
#include "model/ModelText.h"

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
    forEachListField(text, [&](std::string_view name) { entity.addFileName(InternedText(name)); });
}
