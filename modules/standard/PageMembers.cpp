#include "modules/standard/PageMembers.h"

#include "model/CppClass.h"
#include "model/CppClassMember.h"
#include "model/GenericNames.h"
#include "model/SpecialisationNames.h"
#include "VelkLib/VelkString.h"
#include "model/Keywords.h"
#include "model/MemberIdentity.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/DocCppClass.h"
#include "modules/common/ModuleText.h"
#include "modules/standard/PageCodeLinks.h"
#include "modules/standard/PageMemberTables.h"
#include "modules/common/PageEscape.h"

#include <array>
#include <string_view>
#include <unordered_set>

namespace {

// Character classes of declaration text, one table lookup each.
enum : unsigned char {
    wordChar = 1,     // letters, digits, '_' and ':' make up a linked word
    htmlSpecial = 2,  // '&', '<', '>' and '"' are written as entities
    blank = 4,        // ' ' and '\t' drop out of anchor signatures
};

constexpr std::array<unsigned char, 256> makeCharClasses() {
    std::array<unsigned char, 256> table{};
    for (int c = 'a'; c <= 'z'; ++c) table[c] = wordChar;
    for (int c = 'A'; c <= 'Z'; ++c) table[c] = wordChar;
    for (int c = '0'; c <= '9'; ++c) table[c] = wordChar;
    table['_'] = table[':'] = wordChar;
    table['&'] = table['<'] = table['>'] = table['"'] = htmlSpecial;
    table[' '] = table['\t'] = blank;
    return table;
}

constexpr std::array<unsigned char, 256> charClasses = makeCharClasses();

unsigned char charClass(char c) { return charClasses[static_cast<unsigned char>(c)]; }

bool isWordChar(char c) { return charClass(c) & wordChar; }
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The class's name after its last ':' or '.', without the type parameters
// of a C# twin ("Box<T>" names its constructors "Box"); empty without a
// class.
std::string_view simpleClassName(const CppClass* cls) {
    if (!cls) return {};
    std::string_view name = withoutTypeParameters(cls->getName());
    std::size_t cut = findLastOfEither(name, ':', '.');
    return cut == std::string_view::npos ? name : name.substr(cut + 1);
}

// Appends text with "&", "<", ">" and '"' as the entities signatures use;
// with compact, blanks and tabs are dropped (no entity holds one, so
// dropping them before or after escaping is the same).
void appendSignatureText(std::string& out, std::string_view text, bool compact) {
    const unsigned char stops = compact ? (htmlSpecial | blank) : htmlSpecial;
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!(charClass(c) & stops)) continue;
        out.append(text, from, i - from);
        from = i + 1;
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&#60;"; break;
        case '>': out += "&#62;"; break;
        case '"': out += "&quot;"; break;
        default: break;  // a blank of the compact form
        }
    }
    out.append(text, from, std::string_view::npos);
}

// Appends text with "&", "<", ">" and '"' as escapeHtml writes them.
void appendEscapedRun(std::string& out, std::string_view text) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!(charClass(c) & htmlSpecial)) continue;
        out.append(text, from, i - from);
        from = i + 1;
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += "&quot;"; break;
        }
    }
    out.append(text, from, std::string_view::npos);
}

// The part of a name after its last ':' or '.'.
std::string_view lastSegment(std::string_view name) {
    std::size_t cut = findLastOfEither(name, ':', '.');
    return cut == std::string_view::npos ? name : name.substr(cut + 1);
}

// The part of a name after its last ':' or '.' that stands outside the
// name's argument lists ("hash<std::string>" is one part).
std::string_view lastSegmentOutsideLists(std::string_view name) {
    if (name.find('<') == std::string_view::npos) return lastSegment(name);
    std::size_t cut = std::string_view::npos;
    int depth = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c == '<' || c == '(' || c == '[') ++depth;
        else if ((c == '>' || c == ')' || c == ']') && depth > 0) --depth;
        else if ((c == ':' || c == '.') && depth == 0) cut = i;
    }
    return cut == std::string_view::npos ? name : name.substr(cut + 1);
}

void appendClassPageLink(std::string& out, std::string_view text, const CppClass& target) {
    out += "<a href=\"";
    out += hrefEscape(target.getPageFile("../"));
    out += "\">";
    out += text;
    out += "</a>";
}

// Appends the word, or a link when it names a documented class as seen from
// the member's owner. segments, when given, holds the last segment of every
// registered class name: every lookup below can only find a class whose
// registered name ends in the word right after a scope separator, so a word
// whose last segment is not among them is left as it is without asking.
// arguments: the number of type arguments that follow the word ("Box<int>"
// 1), 0 for none; specialisation: the C++ template argument list that
// follows it ("<8>" of "Utf<8>"), empty for none; qualifier: the dotted
// name that the word ends, up to the word ("com.acme." of
// "com.acme.Reader"), which Java and C# resolve whole.
void appendExaminedWord(std::string& out, std::string_view word, std::string_view qualifier,
                        const CppClassMember& member, const DocClassList* list,
                        const std::string& package, const MemberEntryLinker* segments,
                        std::size_t arguments, std::string_view specialisation) {
    const CppClass* owner = member.getClass();
    if (word.empty() || !owner || !list || (segments && !segments->mayName(lastSegment(word))) ||
        isKeyword(word, owner->getLanguage())) {
        out += word;
        return;
    }
    std::string name(DocClassList::followsImports(owner) ? qualifier : std::string_view());
    name += word;
    std::string found = package;
    const CppClass* target = nullptr;
    if (arguments > 0) {
        // A C# generic type with a twin of another number of type
        // parameters: the twin of as many as the word is given.
        const std::string generic = name + "<" + std::string(arguments - 1, ',') + ">";
        target = findClassPackage(*list, generic, found, owner);
        if (target && target->getName().find('<') == std::string::npos) {
            target = nullptr;
            found = package;
        }
    }
    if (!specialisation.empty()) {
        // A C++ specialisation of the template the word names.
        target = findClassPackage(*list, name + normalizedTemplateName(specialisation), found, owner);
        if (target && target->getName().find('<') == std::string::npos) {
            target = nullptr;
            found = package;
        }
    }
    if (!target) target = findClassPackage(*list, name, found, owner);
    if (target && word != owner->getName()) {
        appendClassPageLink(out, word, *target);
        return;
    }
    if (DocClassList::followsImports(owner)) {
        // The classes nested in the owner were looked for already.
        out += word;
        return;
    }
    std::string qualified = owner->getName() + member.getScopeSeparator() + name;
    found = package;
    target = findClassPackage(*list, qualified, found, owner);
    if (target && target != owner) {
        appendClassPageLink(out, escapeHtml(qualified), *target);
        return;
    }
    out += word;
}

bool isNameByte(char c) { return isWordChar(c) && c != ':'; }

// Whether the text from at on, blanks skipped, begins with one of the
// characters of followers (the end of the text counts when endCounts).
bool followedBy(std::string_view text, std::size_t at, std::string_view followers,
                bool endCounts) {
    while (at < text.size() && isSpace(text[at])) ++at;
    if (at == text.size()) return endCounts;
    return followers.find(text[at]) != std::string_view::npos;
}

// Whether positions of a text stand inside a template's argument list
// ("A<name(x)>" names no member): after a "<" not yet closed by its ">",
// parentheses and brackets closing whatever they hold ("(a < b)" is a
// comparison). "<<", "<=" and "->" are operators. In markup, "&lt;" and
// "&gt;" are the angle brackets and tags are skipped. The positions are
// asked for in increasing order and the text is read once for all of them,
// so that a declaration naming its member many times costs no more than
// one that names it once.
class TemplateArgumentScan {
public:
    TemplateArgumentScan(std::string_view text, bool markup) : text(text), markup(markup) {}

    // at must not be less than in the call before.
    bool inside(std::size_t at) {
        // Only an opening angle bracket before at ("&lt;" in markup, which
        // may run past at) can leave one open; most declarations have none.
        if (opening == unknown) opening = markup ? text.find("&lt;") : text.find('<');
        if (opening == std::string_view::npos || opening >= at) return false;
        const std::size_t limit = std::min(at, text.size());
        while (next < limit && step(at)) {
        }
        return openAngles > 0;
    }

private:
    static constexpr std::size_t unknown = std::string_view::npos - 1;

    // Reads the piece of text that starts at next; false (next unchanged)
    // when it is a tag that ends only at or after at.
    bool step(std::size_t at) {
        const std::size_t i = next;
        char c = text[i];
        std::size_t width = 1;
        if (markup && c == '<') {
            if (tagStart != i) {
                tagStart = i;
                tagClose = text.find('>', i);
            }
            if (tagClose == std::string_view::npos || tagClose >= at) return false;
            next = tagClose + 1;
            return true;
        }
        next = i + 1;
        if (markup && (text.compare(i, 4, "&lt;") == 0 || text.compare(i, 4, "&gt;") == 0)) {
            c = text[i + 1] == 'l' ? '<' : '>';
            width = 4;
        } else if (markup && c == '>') {
            return true;
        }
        if (c == '<') {
            const std::size_t after = i + width;
            if (after < text.size() && (text[after] == '=' || text[after] == '<' ||
                                        text.compare(after, 4, "&lt;") == 0)) {
                next = after + (text[after] == '&' ? 4 : 1);
                return true;
            }
            push('<');
        } else if (c == '>') {
            if (i > 0 && text[i - 1] == '-') return true;
            if (!stack.empty() && stack.back() == '<') pop();
        } else if (c == '(' || c == '[') {
            push(c);
        } else if (c == ')' || c == ']') {
            const char opener = c == ')' ? '(' : '[';
            while (!stack.empty() && stack.back() != opener) pop();
            if (!stack.empty()) pop();
        }
        next = i + width;
        return true;
    }

    void push(char c) {
        stack += c;
        openAngles += c == '<';
    }
    void pop() {
        openAngles -= stack.back() == '<';
        stack.pop_back();
    }

    std::string_view text;
    bool markup;
    std::size_t opening = unknown;
    std::size_t next = 0;  // the first position not read yet
    std::size_t tagStart = std::string_view::npos, tagClose = std::string_view::npos;
    std::string stack;
    std::size_t openAngles = 0;  // the '<' in stack
};

// Where the member's own name stands in its declaration (its words are
// the member's, never links to classes of the same names, which would leave
// the member's own link nowhere to go and, for a conversion operator, show
// another name): for a function the first whole occurrence followed by its
// argument list (else by a generic's type parameters), for anything else the
// first followed by what ends a declarator; failing that, the last. npos
// when the name does not occur, or begins with no word character (but for
// a destructor's "~").
std::size_t declaredNamePosition(std::string_view text, std::string_view name, bool function) {
    if (name.empty() || !(isWordChar(name.front()) || name.front() == '~'))
        return std::string_view::npos;
    const bool wordEnd = isWordChar(name.back());
    std::size_t last = std::string_view::npos, generic = std::string_view::npos,
                nested = std::string_view::npos;
    TemplateArgumentScan templates(text, false);
    for (std::size_t at = text.find(name); at != std::string_view::npos;
         at = text.find(name, at + 1)) {
        const std::size_t end = at + name.size();
        // A qualified name ("using Base::name;") ends in the member's name.
        if ((at > 0 && isNameByte(text[at - 1])) ||
            (wordEnd && end < text.size() && isWordChar(text[end])))
            continue;
        if (function ? followedBy(text, end, "(", false) : followedBy(text, end, ";=[{,)", true)) {
            if (!templates.inside(at)) return at;
            if (nested == std::string_view::npos) nested = at;
            continue;
        }
        if (function && generic == std::string_view::npos && followedBy(text, end, "<", false))
            generic = at;
        last = at;
    }
    if (nested != std::string_view::npos) return nested;
    return generic != std::string_view::npos ? generic : last;
}

// For each "<" of the text that opens a list of type arguments, closed by
// its ">", the number of arguments in it; 0 for every other position. One
// pass over the text.
std::vector<std::uint32_t> typeArgumentCounts(std::string_view text) {
    std::vector<std::uint32_t> counts(text.size(), 0);
    struct Open {
        std::size_t at;
        char bracket;
        std::uint32_t commas;
    };
    std::vector<Open> open;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '<' || c == '(' || c == '[') {
            open.push_back({i, c, 0});
        } else if (c == ',' && !open.empty()) {
            ++open.back().commas;
        } else if ((c == ')' || c == ']') && !open.empty()) {
            // Whatever "<" a parenthesis holds unclosed was a comparison.
            const char opener = c == ')' ? '(' : '[';
            while (!open.empty() && open.back().bracket != opener) open.pop_back();
            if (!open.empty()) open.pop_back();
        } else if (c == '>' && !(i > 0 && text[i - 1] == '-') && !open.empty() &&
                   open.back().bracket == '<') {
            counts[open.back().at] = open.back().commas + 1;
            open.pop_back();
        }
    }
    return counts;
}

void linkDeclaration(CppClassMember& member, const std::string& package,
                     const MemberEntryLinker* segments) {
    const std::string& text = member.getDeclaration();
    const DocClassList* list = classListOf(member.getClass());
    // Worked out at the first word a list of type arguments follows, where
    // the list holds C# twins.
    std::vector<std::uint32_t> argumentCounts;
    bool countsMade = false;
    auto argumentsAt = [&](std::size_t at) -> std::size_t {
        if (at >= text.size() || text[at] != '<' || !list || !list->hasGenericTwins()) return 0;
        if (!countsMade) {
            argumentCounts = typeArgumentCounts(text);
            countsMade = true;
        }
        return argumentCounts[at];
    };
    // The C++ template argument list at `at`, where the list holds
    // specialisations.
    const bool specialised = list && member.getClass() && member.getClass()->getLanguage() == 0 &&
                             text.find('<') != std::string::npos && list->hasSpecialisations();
    auto specialisationAt = [&](std::size_t at) -> std::string_view {
        if (!specialised || at >= text.size() || text[at] != '<') return {};
        const std::size_t close = templateArgumentListEnd(text, at);
        return close == std::string::npos ? std::string_view() : std::string_view(text).substr(at, close + 1 - at);
    };
    std::string result;
    result.reserve(text.size() + text.size() / 2);
    const std::string_view view(text);
    const std::size_t ownName =
        declaredNamePosition(view, member.getName(), member.hasArgumentList());
    const std::size_t ownNameEnd =
        ownName == std::string_view::npos ? ownName : ownName + member.getName().size();
    // The function's own type parameters name no class where it uses them.
    const std::vector<std::string> typeParameters =
        member.hasArgumentList() && view.find('<') != std::string_view::npos
            ? ownTypeParameterNames(view, member.getName())
            : std::vector<std::string>();
    auto isTypeParameter = [&](std::string_view word) {
        return std::find(typeParameters.begin(), typeParameters.end(), word) != typeParameters.end();
    };
    // A declaration is words and the runs between them; the first run may
    // be empty, and the text's last word is kept as it stands.
    std::size_t i = 0;
    const std::size_t n = view.size();
    // Where the dotted name that the current word ends began ("a.b.C").
    std::size_t chainStart = std::string_view::npos;
    while (true) {
        const std::size_t wordStart = i;
        while (i < n && isWordChar(view[i])) ++i;
        if (i == n) {
            result += view.substr(wordStart);
            break;
        }
        if (chainStart == std::string_view::npos) chainStart = wordStart;
        if ((ownName != std::string_view::npos && wordStart < ownNameEnd && i > ownName) ||
            (chainStart == wordStart && isTypeParameter(view.substr(wordStart, i - wordStart))))
            result += view.substr(wordStart, i - wordStart);
        else
            appendExaminedWord(result, view.substr(wordStart, i - wordStart),
                               view.substr(chainStart, wordStart - chainStart), member, list,
                               package, segments, argumentsAt(i), specialisationAt(i));
        const std::size_t runStart = i;
        while (i < n && !isWordChar(view[i])) ++i;
        appendEscapedRun(result, view.substr(runStart, i - runStart));
        if (i == n) break;
        // A "." alone between two words goes on with the name.
        if (i - runStart != 1 || view[runStart] != '.' || wordStart == runStart)
            chainStart = std::string_view::npos;
    }
    member.setDeclaration(std::move(result));
}

// A declaration that names name as "(*name)", name already escaped.
bool isFunctionPointerDeclaration(std::string_view text, std::string_view name) {
    if (name.empty()) return false;
    std::size_t at = text.find(name);
    if (at == std::string_view::npos || at == 0) return false;
    std::size_t i = at - 1;
    while (i > 0 && isSpace(text[i])) --i;
    if (text[i] != '*' || i == 0) return false;
    for (std::size_t j = i - 1; j > 0; --j) {
        if (text[j] == '(') return true;
        if (text[j] == ')') return false;
    }
    return false;
}

}  // namespace

const CppClass* findClassPackage(const DocClassList& list, const std::string& name,
                                 std::string& package, const CppClass* context) {
    const CppClass* cls = list.resolveTypeName(package, context, name);
    if (!cls || cls->isUnresolved()) return nullptr;
    package = cls->getPackage();
    return cls;
}

void writeMemberEntry(CppClassMember& member, const std::string& package,
                      const std::string& /*className*/, CppClass* /*parent*/) {
    linkDeclaration(member, package, nullptr);
}

namespace {

constexpr std::size_t quickBitCount = std::size_t{1} << 16;

std::size_t quickKey(std::string_view segment) {
    const std::size_t n = segment.size();
    std::size_t h = n;
    if (n) {
        h = h * 131 + static_cast<unsigned char>(segment[0]);
        h = h * 131 + static_cast<unsigned char>(segment[n - 1]);
        h = h * 131 + static_cast<unsigned char>(segment[n / 2]);
    }
    return (h ^ (h >> 16)) & (quickBitCount - 1);
}

}  // namespace

MemberEntryLinker::MemberEntryLinker(const DocClassList& list)
    : quickBits(quickBitCount / 64, 0) {
    lastSegments.reserve(list.size());
    for (const auto& entry : list.getClasses()) {
        // A C# twin ("Box<T>") and a C++ specialisation ("hash<std::string>")
        // are named by their names alone in declarations.
        const std::string_view segment = withoutTypeParameters(lastSegmentOutsideLists(entry.first.second));
        lastSegments.insert(segment);
        const std::size_t key = quickKey(segment);
        quickBits[key / 64] |= std::uint64_t{1} << (key % 64);
    }
    // A C# alias names a class by a name of its own.
    for (const std::string& alias : list.aliasNames()) {
        lastSegments.insert(alias);
        const std::size_t key = quickKey(alias);
        quickBits[key / 64] |= std::uint64_t{1} << (key % 64);
    }
}

bool MemberEntryLinker::mayName(std::string_view segment) const {
    const std::size_t key = quickKey(segment);
    if (!(quickBits[key / 64] >> (key % 64) & 1u)) return false;
    return lastSegments.contains(segment);
}

void MemberEntryLinker::link(CppClassMember& member, const std::string& package) const {
    linkDeclaration(member, package, this);
}

bool isConstructorOrDestructor(const CppClassMember& member) {
    if (!member.hasArgumentList()) return false;
    const std::string_view simple = simpleClassName(member.getClass());
    const std::string_view name = member.getName();
    if (simple.empty()) return false;
    return name == simple || (name.size() == simple.size() + 1 && name[0] == '~' &&
                              name.substr(1) == simple);
}

bool hasDetailEntry(const CppClassMember& member) {
    return isConstructorOrDestructor(member) || member.isPublic();
}

bool isMacro(const CppClassMember& member) {
    return member.getDeclaration().rfind("#define", 0) == 0;
}

bool isFunctionPointer(const CppClassMember& member) {
    return isFunctionPointerDeclaration(member.getDeclaration(), escapeHtml(member.getName()));
}

std::size_t nextWholeWordMark(std::string_view text, std::size_t from, char first) {
    return findFirstOfFour(text, from, first, '"', '&', '<');
}

void appendMemberSignature(std::string& out, const CppClassMember& member, bool anchorForm) {
    appendSignatureText(out, member.getName(), anchorForm);
    if (!member.hasArgumentList()) return;
    out += '(';
    const auto& arguments = member.getArguments();
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i) out += ',';
        appendSignatureText(out, arguments[i], anchorForm);
    }
    out += ')';
}

namespace {

constexpr std::array<bool, 256> makeAnchorSafe() {
    std::array<bool, 256> table{};
    for (int c = 'a'; c <= 'z'; ++c) table[c] = true;
    for (int c = 'A'; c <= 'Z'; ++c) table[c] = true;
    for (int c = '0'; c <= '9'; ++c) table[c] = true;
    for (char c : std::string_view("-._~!$()*+,;=:@/?")) table[static_cast<unsigned char>(c)] = true;
    return table;
}

constexpr std::array<bool, 256> anchorSafe = makeAnchorSafe();

// The anchors that every class page has of its own.
bool isPageAnchor(std::string_view anchor) {
    static constexpr std::string_view fixed[] = {
        "navbar_top_firstrow", "field_summary",       "constructor_summary", "method_summary",
        "symbol_summary",      "macro_summary",       "field_detail",        "constructor_detail",
        "method_detail",       "symbol_detail",       "macro_detail",        "inner_defs_summary",
        "inner_class_summary"};
    for (std::string_view name : fixed)
        if (anchor == name) return true;
    return anchor.rfind("fields_inherited_from_", 0) == 0;
}

}  // namespace

void appendAnchorText(std::string& out, std::string_view text, bool dropBlanks) {
    static constexpr char hex[] = "0123456789ABCDEF";
    // Runs of safe characters are appended whole.
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (anchorSafe[byte]) continue;
        out.append(text.data() + from, i - from);
        from = i + 1;
        if (!(dropBlanks && (byte == ' ' || byte == '\t'))) {
            const char escaped[3] = {'-', hex[byte >> 4], hex[byte & 15]};
            out.append(escaped, 3);
        }
    }
    out.append(text.data() + from, text.size() - from);
}

void appendSignatureAnchor(std::string& out, const CppClassMember& member) {
    if (!member.hasArgumentList()) {
        appendAnchorText(out, member.getName(), false);
        return;
    }
    appendAnchorText(out, member.getName(), true);
    out += '(';
    const auto& arguments = member.getArguments();
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i) out += ',';
        appendAnchorText(out, arguments[i], true);
    }
    out += ')';
}

void appendMemberAnchor(std::string& out, const CppClassMember& member) {
    appendSignatureAnchor(out, member);
    const auto* own = dynamic_cast<const DocCppClassMember*>(&member);
    if (own && own->anchorNumber >= 2) {
        out += '-';
        out += std::to_string(own->anchorNumber);
    }
}

std::string memberAnchor(const CppClassMember& member) {
    std::string anchor;
    appendMemberAnchor(anchor, member);
    return anchor;
}

void assignMemberAnchors(CppClass& cls) {
    std::unordered_set<std::string> taken;
    std::string base;
    for (CppClassMember* member : cls.getMembers()) {
        auto* own = dynamic_cast<DocCppClassMember*>(member);
        if (!own) continue;
        base.clear();
        appendSignatureAnchor(base, *member);
        std::string anchor = base;
        int number = 1;
        while (isPageAnchor(anchor) || !taken.insert(anchor).second)
            anchor = base + '-' + std::to_string(++number);
        own->anchorNumber = number;
    }
}

namespace {

bool isIdentifierByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '_' || c == '$' || static_cast<unsigned char>(c) >= 0x80;
}

// Words that end a parameter's type rather than name the parameter.
bool isTypeWord(std::string_view word) {
    static constexpr std::string_view words[] = {
        "int",     "char",     "short",    "long",     "double", "float",  "bool",
        "void",    "unsigned", "signed",   "wchar_t",  "auto",   "const",  "volatile",
        "boolean", "byte",     "char16_t", "char32_t", "char8_t"};
    for (std::string_view w : words)
        if (word == w) return true;
    return false;
}

// An argument's type as references write it: default value, parameter
// name, modifiers ("final", annotations), qualifications ("a.b.", "ns::")
// and type arguments left out, blanks dropped, "..." read as "[]".
std::string comparableType(std::string_view argument) {
    std::vector<std::string_view> tokens;
    int angles = 0, depth = 0;
    for (std::size_t i = 0; i < argument.size();) {
        const char c = argument[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c == '=' && depth == 0 && angles == 0) break;  // a default value
        std::size_t end = i + 1;
        if (isIdentifierByte(c))
            while (end < argument.size() && isIdentifierByte(argument[end])) ++end;
        if (c == '(' || c == '[' || c == '{') ++depth;
        if ((c == ')' || c == ']' || c == '}') && depth > 0) --depth;
        if (c == '<') ++angles;
        const bool inside = angles > 0;
        if (c == '>' && angles > 0) --angles;
        if (!inside) tokens.push_back(argument.substr(i, end - i));
        i = end;
    }
    // "Object... args" has an array's type.
    std::vector<std::string_view> merged;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i] == "." && i + 2 < tokens.size() && tokens[i + 1] == "." &&
            tokens[i + 2] == ".") {
            merged.push_back("[");
            merged.push_back("]");
            i += 2;
        } else {
            merged.push_back(tokens[i]);
        }
    }
    tokens.swap(merged);
    // "int values[4]": the brackets belong to the type, not to the name.
    std::size_t brackets = tokens.size();
    while (brackets >= 2 && tokens[brackets - 1] == "]") {
        std::size_t open = brackets - 1;
        while (open > 0 && tokens[open] != "[") --open;
        if (tokens[open] != "[") break;
        brackets = open;
    }
    std::vector<std::string_view> dims(tokens.begin() + static_cast<std::ptrdiff_t>(brackets),
                                       tokens.end());
    tokens.resize(brackets);
    if (tokens.size() >= 2 && isIdentifierByte(tokens.back()[0]) && !isTypeWord(tokens.back()) &&
        tokens[tokens.size() - 2] != "." && tokens[tokens.size() - 2] != ":")
        tokens.pop_back();
    tokens.insert(tokens.end(), dims.begin(), dims.end());
    std::string type;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        std::string_view t = tokens[i];
        const bool qualifier = i + 1 < tokens.size() && isIdentifierByte(t[0]) &&
                               (tokens[i + 1] == "." || tokens[i + 1] == ":");
        if (qualifier) {
            ++i;
            if (i + 1 < tokens.size() && tokens[i] == ":" && tokens[i + 1] == ":") ++i;
            continue;
        }
        if (t == "@" && i + 1 < tokens.size()) {  // an annotation
            ++i;
            continue;
        }
        if (t == "final") continue;
        type += t;
    }
    return type;
}

// The argument texts of a reference's list, "(" and ")" included.
std::vector<std::string> writtenArguments(std::string_view list) {
    std::vector<std::string> arguments;
    list = list.substr(1, list.rfind(')') == std::string_view::npos ? std::string_view::npos
                                                                     : list.rfind(')') - 1);
    if (trimmedView(list).empty()) return arguments;
    int depth = 0;
    std::size_t from = 0;
    for (std::size_t i = 0; i <= list.size(); ++i) {
        const char c = i < list.size() ? list[i] : ',';
        if (c == '(' || c == '<' || c == '[') ++depth;
        if ((c == ')' || c == '>' || c == ']') && depth > 0) --depth;
        if (c == ',' && depth == 0) {
            arguments.push_back(comparableType(list.substr(from, i - from)));
            from = i + 1;
        }
    }
    return arguments;
}

}  // namespace

const CppClassMember* overloadNamed(const CppClass& cls, std::string_view reference) {
    const std::size_t open = reference.find('(');
    if (open == std::string_view::npos) return nullptr;
    const std::string_view name = trimmedView(reference.substr(0, open));
    const std::vector<std::string> written = writtenArguments(reference.substr(open));
    for (const CppClassMember* member : cls.getMembers()) {
        if (!member->hasArgumentList() || member->getName() != name) continue;
        const auto& arguments = member->getArguments();
        if (arguments.size() != written.size()) continue;
        bool same = true;
        for (std::size_t i = 0; same && i < arguments.size(); ++i)
            same = comparableType(arguments[i]) == written[i];
        if (same) return member;
    }
    return nullptr;
}

std::string memberSignature(const CppClassMember& member, bool anchorForm) {
    std::string signature;
    appendMemberSignature(signature, member, anchorForm);
    return signature;
}

void appendMemberLink(std::string& out, const CppClassMember& member, std::string_view page,
                      std::string_view tag, bool useSignature) {
    out += "<a href=\"";
    out += page;
    const std::size_t anchorAt = out.size();
    out += '#';
    appendMemberAnchor(out, member);
    if (out.size() == anchorAt + 1) out.pop_back();  // no anchor: no '#'
    out += "\">";
    if (!tag.empty()) {
        out += '<';
        out += tag;
        out += '>';
    }
    if (useSignature) appendMemberSignature(out, member, false);
    else appendEscapedName(out, member.getName());
    if (!tag.empty()) {
        out += "</";
        out += tag;
        out += '>';
    }
    out += "</a>";
}

std::string memberLink(const CppClassMember& member, bool withPage, const std::string& prefix,
                       const std::string& tag, bool useSignature) {
    std::string page;
    if (withPage && member.getClass()) page = hrefEscape(member.getClass()->getPageFile(prefix));
    std::string link;
    link.reserve(page.size() + 2 * member.getName().size() + 32);
    appendMemberLink(link, member, page, tag, useSignature);
    return link;
}

void appendEscapedName(std::string& out, std::string_view text) { appendEscapedRun(out, text); }

namespace {

// Just after the first blank of an HTML text that stands outside a tag's
// markup; 0 when there is none.
std::size_t firstBlankOutsideMarkup(std::string_view text) {
    bool inTag = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<') inTag = true;
        else if (text[i] == '>') inTag = false;
        else if (text[i] == ' ' && !inTag) return i + 1;
    }
    return 0;
}

}  // namespace

std::size_t declaredNameAt(const CppClassMember& member, std::string_view text,
                           std::string_view name, bool needFollower) {
    std::size_t at = std::string_view::npos;
    if (isMacro(member) || isFunctionPointerDeclaration(member.getDeclaration(), name)) {
        forEachWholeWord(text, name, needFollower, [&](std::size_t found) {
            at = found;
            return false;
        });
        return at;
    }
    // A function's name is the one its argument list follows (a parameter
    // may bear the same name), else its type parameters (a return type's
    // template may bear it too); anything else's the last.
    const bool function = member.hasArgumentList();
    std::size_t call = std::string_view::npos, generic = std::string_view::npos;
    bool callNested = false;
    TemplateArgumentScan templates(text, true);
    forEachWholeWord(text, name, needFollower, [&](std::size_t found) {
        at = found;
        if (!function) return true;
        std::size_t next = found + name.size();
        while (next < text.size() && isSpace(text[next])) ++next;
        if (text.compare(next, 1, "(") == 0 &&
            (call == std::string_view::npos || (callNested && !templates.inside(found)))) {
            callNested = call == std::string_view::npos && templates.inside(found);
            call = found;
        }
        if (generic == std::string_view::npos && text.compare(next, 4, "&lt;") == 0)
            generic = found;
        // No later word can take the place of a call outside a template.
        return call == std::string_view::npos || callNested;
    });
    if (call != std::string_view::npos) return call;
    return generic != std::string_view::npos ? generic : at;
}

void splitSignature(const CppClassMember& member, std::string& typePart, std::string& namePart) {
    const std::string& text = member.getDeclaration();
    std::string name;
    appendEscapedName(name, member.getName());
    if (isMacro(member)) {
        std::size_t blank = text.find(' ');
        typePart = text.substr(0, blank);
        namePart = blank == std::string::npos ? "" : trim(text.substr(blank + 1));
    } else if (isFunctionPointerDeclaration(text, name)) {
        // The name goes where it stands as a word of its own (not inside
        // another name, nor a link's target), and ";" where it ends no
        // entity ("&amp;" stays whole).
        std::string without;
        std::size_t from = 0;
        forEachWholeWord(text, name, false, [&](std::size_t found) {
            without.append(text, from, found - from);
            from = found + name.size();
        });
        without.append(text, from, std::string::npos);
        removeSemicolons(without, typePart);
        namePart = name;
    } else {
        std::size_t at = declaredNameAt(member, text, name, true);
        if (at == std::string::npos) at = firstBlankOutsideMarkup(text);
        std::size_t typeEnd = at;
        while (typeEnd > 0 && isSpace(text[typeEnd - 1])) --typeEnd;
        typePart.assign(text, 0, typeEnd);
        namePart.assign(text, at);
        // Array dimensions after the name move to the type part in the
        // order written ("int grid[3][4]" reads "int[3][4] grid"), and ";"
        // takes the place of what ended the name part. Only brackets after
        // the name: "operator[]" keeps its own, and an indexer's ("this[int
        // i]") are its argument list. Each bracket pair is read once.
        const std::size_t nameEnd = at < text.size() && text.compare(at, name.size(), name) == 0
                                        ? name.size()
                                        : 0;
        const std::size_t size = namePart.size();
        std::size_t length = size;  // namePart[0, length - 1), then ";" once one moved
        bool moved = false;
        while (!member.hasArgumentList() && length > 2 && namePart[length - 2] == ']') {
            const std::size_t open = !moved && namePart.back() == '['
                                         ? length - 1
                                         : namePart.rfind('[', length - 2);
            if (open == std::string::npos || open < nameEnd) break;
            length = open + 1;
            moved = true;
        }
        if (moved) {
            typePart.append(namePart, length - 1, size - length);
            namePart.resize(length - 1);
            namePart += ';';
        }
    }
    stripThrowSpecification(namePart);
}

void stripThrowSpecification(std::string& text) {
    std::size_t at = text.find(" throw(");
    if (at == std::string::npos) return;
    bool pure = text.size() >= 4 && text.compare(text.size() - 4, 4, "= 0;") == 0;
    text.erase(at);
    if (pure) text += " = 0";
}
