#include "model/Keywords.h"

#include <algorithm>
#include <cstddef>

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

// One open-addressing table over every word, each with the languages it is a
// keyword of: the source lister and the parser ask about every identifier,
// and most are no keyword at all, so a lookup should cost a hash and a
// probe or two rather than a walk down four trees.
enum : unsigned { Cpp = 1, Csharp = 2, Java = 4, Every = 8 };

struct Slot {
    std::string_view word;
    unsigned languages = 0;
};

constexpr std::size_t slotCount = 512;  // a power of two, over 4 x the words

std::size_t hashWord(std::string_view word) {
    std::size_t h = 2166136261u;
    for (char c : word) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

struct KeywordTable {
    Slot slots[slotCount];
    std::size_t longest = 0;

    KeywordTable() {
        add(commonWords, Every);
        add(cppWords, Cpp);
        add(csharpWords, Csharp);
        add(javaWords, Java);
    }

    template <std::size_t N>
    void add(const char* const (&words)[N], unsigned language) {
        for (const char* text : words) {
            std::string_view word(text);
            longest = std::max(longest, word.size());
            Slot& slot = find(word);
            slot.word = word;
            slot.languages |= language;
        }
    }

    // The word's slot, or the empty slot where it would go.
    const Slot& find(std::string_view word) const {
        std::size_t i = hashWord(word) & (slotCount - 1);
        while (!slots[i].word.empty() && slots[i].word != word) i = (i + 1) & (slotCount - 1);
        return slots[i];
    }
    Slot& find(std::string_view word) {
        return const_cast<Slot&>(static_cast<const KeywordTable*>(this)->find(word));
    }
};

const KeywordTable& table() {
    static const KeywordTable built;  // initialised once, thread-safely
    return built;
}

}  // namespace

bool isKeyword(std::string_view word, int language) {
    const KeywordTable& t = table();
    if (word.empty() || word.size() > t.longest) return false;
    unsigned languages = t.find(word).languages;
    if ((languages & Every) != 0) return true;
    switch (language) {
        case 0: return (languages & Cpp) != 0;
        case 1: return (languages & Csharp) != 0;
        case 2: return (languages & Java) != 0;
        default: return false;
    }
}

bool isOperatorToken(std::string_view token) {
    return token.size() == 1 && std::string_view("!&*+-/:<=>|").find(token[0]) != std::string_view::npos;
}

bool isSeparatorToken(std::string_view token) {
    return token.size() == 1 && std::string_view("()[]{}").find(token[0]) != std::string_view::npos;
}
