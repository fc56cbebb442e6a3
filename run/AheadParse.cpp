#include "run/AheadParse.h"

#include "reader/CppFile.h"

void AheadParse::status(const char* line1, const char* line2, void* context) {
    Report report{true, {}, {}, {}};
    if (line1) report.line1 = line1;
    if (line2) report.line2 = line2;
    static_cast<AheadParse*>(context)->reports.push_back(std::move(report));
}

void AheadParse::log(const char* text, void* context) {
    static_cast<AheadParse*>(context)->reports.push_back(Report{false, {}, {}, text ? text : ""});
}

void parseAhead(CppFile& parser, PreprocessedSource source, bool lineBreaks, AheadParse& ahead) {
    ahead.language = parser.getLanguage();
    ahead.classes.setKeyLog(&ahead.keys);
    parser.usePreprocessed(std::move(source));
    try {
        parser.parse(ahead.classes, lineBreaks, &ahead.macros, &ahead.packages);
    } catch (...) {
        ahead.error = std::current_exception();
    }
    ahead.classes.setKeyLog(nullptr);
}

bool carryOver(AheadParse& ahead, ClassList& runList,
               std::map<std::string, MacroDefinition>& runMacros, ModuleStatusFn status,
               ModuleErrorFn log, void* context) {
    if (!runList.holdsNoneOf(ahead.keys)) return false;
    for (auto& [name, record] : ahead.macros) runMacros.insert_or_assign(name, std::move(record));
    runList.adoptAll(ahead.classes, ahead.keys);
    for (const AheadParse::Report& report : ahead.reports) {
        if (report.isStatus) {
            if (status)
                status(report.line1 ? report.line1->c_str() : nullptr,
                       report.line2 ? report.line2->c_str() : nullptr, context);
        } else if (log) {
            log(report.text.c_str(), context);
        }
    }
    if (ahead.error) std::rethrow_exception(ahead.error);
    return true;
}
