// A file parsed ahead of the run's parser, on a worker, into a class list
// of its own.
//
// The run's model is one class list that the files fill in walk order, and
// a file may complete what an earlier file began (a class, a namespace, a
// package's globals). Most files only register their own types and add to
// namespaces and globals: such a file can be parsed while earlier files are
// still being parsed, and its classes carried over once the run's parser
// reaches it. Its list logs every key the parse asked for or registered;
// the carry-over is made only when the parse would have seen and done the
// same in the run's list: the run's list held none of those keys then, or
// held them only as namespaces and globals records that the parse met
// first by making its own and only added to, whose members then join the
// records held. Otherwise the file is parsed again, in turn, as if nothing
// had been done ahead.
#pragma once

#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/DocGenClassList.h"
#include "model/MacroDefinition.h"
#include "modules/ModuleInterface.h"
#include "reader/ParserInput.h"

class CppFile;

struct AheadParse {
    DocGenClassList classes;
    std::vector<ClassList::KeyEvent> keys;
    std::map<std::string, MacroDefinition> macros;
    std::map<std::string, bool> packages;
    int language = 0;
    bool tripleSlashUnread = false;  // PreprocessedSource::tripleSlashUnread
    std::exception_ptr error;  // what the parse threw, thrown again at the carry-over

    // The parser's status and error reports, held for the carry-over.
    struct Report {
        bool isStatus;
        std::optional<std::string> line1, line2;  // status
        std::string text;                         // error
    };
    std::vector<Report> reports;
    static void status(const char* line1, const char* line2, void* context);
    static void log(const char* text, void* context);
};

// What a worker made of one file before the run's parser reached it.
struct PreparedFile {
    PreprocessedSource source;           // for a parse in turn
    std::unique_ptr<AheadParse> parsed;  // the parse ahead, when made
};

// Parses the file into ahead->classes. `parser` must have been made with
// AheadParse::status and AheadParse::log as callbacks and ahead as their
// context; `source` is its preprocessAhead result. Never throws: the
// parse's error is kept.
void parseAhead(CppFile& parser, PreprocessedSource source, bool lineBreaks, AheadParse& ahead);

// Carries the parse over into the run's list and macros and hands its
// reports to status and log, in order; then throws the parse's error, if
// it had one. The classes that the run's list now holds under keys of
// their own are appended to `registered` (when given). False, with nothing
// changed, when the run's list holds a key the parse asked for or
// registered, other than a namespace or globals record that can join: the
// file must be parsed again.
bool carryOver(AheadParse& ahead, ClassList& runList,
               std::map<std::string, MacroDefinition>& runMacros, ModuleStatusFn status,
               ModuleErrorFn log, void* context, std::vector<CppClass*>* registered = nullptr);
