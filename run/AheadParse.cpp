#include "run/AheadParse.h"

#include "model/DocGenCppClass.h"
#include "model/ModelText.h"
#include "reader/CppFile.h"

namespace {

// A record reopened that the file's parse only added to: a namespace, a
// class declared again (a specialisation, a forward declaration), a typedef
// record, or the globals record of a package. What the parse read of its
// own record must be what it would have read of the record held: the kind,
// the comment, the options, and no anonymous types counted in it (their
// names count on from the record they join).
ClassList::Join joinRule(const CppClass& held, const CppClass& theirs, bool found) {
    using Join = ClassList::Join;
    auto* own = dynamic_cast<const DocGenCppClass*>(&theirs);
    if (!own || !own->getAnonymousCounts().empty() || !theirs.recordsMemberCalls() ||
        !(held.getOptions() == theirs.getOptions()))
        return Join::Refuse;
    if (found) {
        // Only a globals record is looked up before it is made and never
        // registered again by a declaration.
        const bool globals = isGlobalsClassName(held.getName()) && !held.isNamespace() &&
                             !theirs.isNamespace() && !theirs.hasUnkeptMembers();
        return globals ? Join::Found : Join::Refuse;
    }
    if (held.getKind() != theirs.getKind() || held.isNamespace() != theirs.isNamespace() ||
        held.isInterface() != theirs.isInterface())
        return Join::Refuse;
    if (!held.getComment().empty() && held.getComment() != theirs.getComment()) return Join::Refuse;
    if (!theirs.hasUnkeptMembers()) return Join::Registered;
    return theirs.keptMemberCalls() == 0 ? Join::Merged : Join::Refuse;
}

}  // namespace

void AheadParse::status(const char* line1, const char* line2, void* context) {
    std::vector<Report>& reports = static_cast<AheadParse*>(context)->reports;
    // A second line alone replaces the one shown before it: of a run of
    // them (a line per member read) only the last needs passing on.
    if (line1 == nullptr && line2 != nullptr && line2[0] != '\0' && !reports.empty() &&
        reports.back().isStatus && !reports.back().line1) {
        reports.back().line2 = line2;
        return;
    }
    Report report{true, {}, {}, {}};
    if (line1) report.line1 = line1;
    if (line2) report.line2 = line2;
    reports.push_back(std::move(report));
}

void AheadParse::log(const char* text, void* context) {
    static_cast<AheadParse*>(context)->reports.push_back(Report{false, {}, {}, text ? text : ""});
}

void parseAhead(CppFile& parser, PreprocessedSource source, bool lineBreaks, AheadParse& ahead) {
    ahead.language = parser.getLanguage();
    ahead.tripleSlashUnread = source.tripleSlashUnread;
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
               ModuleErrorFn log, void* context, std::vector<CppClass*>* registered) {
    if (!runList.holdsNoneOf(ahead.keys) &&
        !runList.canTakeOver(ahead.classes, ahead.keys, joinRule))
        return false;
    for (auto& [name, record] : ahead.macros) runMacros.insert_or_assign(name, std::move(record));
    runList.takeOver(ahead.classes, ahead.keys, joinRule, registered);
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
