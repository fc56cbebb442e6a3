#include "model/Keywords.h"

#include <set>
#include <string>

namespace {

const char* const commonWords[] = {
    "break", "case",  "catch",  "char",    "class",  "continue", "default", "do",
    "double", "else", "false",  "float",   "for",    "goto",     "if",      "int",
    "long",  "new",   "public", "private", "protected", "return", "static", "switch",
    "this",  "throw", "true",   "void",    "volatile", "while",
};

const char* const cppWords[] = {
    "auto",  "bool",     "const",    "delete", "enum",   "extern",   "friend",
    "inline", "namespace", "operator", "register", "short", "signed", "sizeof",
    "struct", "template", "typedef", "union",  "unsigned", "using",
};

const char* const javaWords[] = {
    "final",    "transient", "boolean", "strictfp", "throws", "interface", "byte",
    "abstract", "extends",   "finally", "import",   "instanceof", "native", "null",
    "package",  "short",     "super",   "synchronized", "implements",
};

const char* const csharpWords[] = {
    "abstract", "as",       "base",     "bool",     "byte",      "checked",  "const",
    "decimal",  "delegate", "enum",     "event",    "explicit",  "extern",   "finally",
    "fixed",    "foreach",  "get",      "implicit", "in",        "interface", "internal",
    "is",       "lock",     "namespace", "null",    "object",    "operator", "out",
    "override", "params",   "readonly", "ref",      "sbyte",     "sealed",   "set",
    "sizeof",   "stackalloc", "struct", "typeof",   "uint",      "ulong",    "unchecked",
    "unsafe",   "ushort",   "using",    "value",    "virtual",   "volatile",
};

using WordSet = std::set<std::string, std::less<>>;

struct KeywordTables {
    WordSet common{std::begin(commonWords), std::end(commonWords)};
    WordSet cpp{std::begin(cppWords), std::end(cppWords)};
    WordSet java{std::begin(javaWords), std::end(javaWords)};
    WordSet csharp{std::begin(csharpWords), std::end(csharpWords)};
};

const KeywordTables& tables() {
    static const KeywordTables built;  // initialised once, thread-safely
    return built;
}

}  // namespace

bool isKeyword(std::string_view word, int language) {
    const KeywordTables& t = tables();
    if (t.common.contains(word)) return true;
    switch (language) {
        case 0: return t.cpp.contains(word);
        case 1: return t.csharp.contains(word);
        case 2: return t.java.contains(word);
        default: return false;
    }
}

bool isOperatorToken(std::string_view token) {
    return token.size() == 1 && std::string_view("!&*+-/:<=>|").find(token[0]) != std::string_view::npos;
}

bool isSeparatorToken(std::string_view token) {
    return token.size() == 1 && std::string_view("()[]{}").find(token[0]) != std::string_view::npos;
}
