#include "reader/PreprocessorExpression.h"

#include <cstdint>
#include <deque>
#include <limits>
#include <vector>

#include "reader/MacroBody.h"
#include "reader/PreprocessorDefines.h"
#include "reader/ReaderText.h"

namespace {

// Far above any condition of real code, whose longest hold a few hundred
// tokens once their macros are expanded; far below what would make one
// line cost noticeable time or stack.
constexpr std::size_t kMaxTokens = 20000;      // read, those of expansions included
constexpr std::size_t kMaxExpansions = 20000;  // macros expanded
constexpr std::size_t kMaxExpandedText = 1 << 20;  // bytes the expansions make
constexpr std::size_t kMaxMacroNesting = 200;  // expansions inside expansions
constexpr std::size_t kMaxDepth = 400;         // calls of the parser inside one another

struct Malformed {
    const char* reason;
};

[[noreturn]] void fail(const char* reason) { throw Malformed{reason}; }

// An integer of the condition: 64 bits, read as signed or unsigned.
struct Value {
    std::uint64_t bits = 0;
    bool isUnsigned = false;

    bool isTrue() const { return bits != 0; }
    std::int64_t asSigned() const { return static_cast<std::int64_t>(bits); }
};

Value signedValue(std::int64_t value) { return {static_cast<std::uint64_t>(value), false}; }
Value truth(bool value) { return {value ? 1u : 0u, false}; }

enum class Kind : unsigned char { Number, Name, Punctuator, String, EndOfMacro };

struct Token {
    Kind kind;
    std::string_view text;  // as written; for EndOfMacro the macro's name
    Value value{};          // of a Number
};

Token number(bool value) { return {Kind::Number, value ? "1" : "0", truth(value)}; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isNameChar(char c) { return isWordChar(c) || c == '$' || static_cast<unsigned char>(c) >= 0x80; }

// ---------------------------------------------------------------------------
// Literals.

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// u or U at most once, with at most one of l, L, ll, LL, z, Z, in any order.
bool isIntegerSuffix(std::string_view suffix) {
    bool sign = false, size = false;
    while (!suffix.empty()) {
        if (!sign && (suffix[0] == 'u' || suffix[0] == 'U')) {
            sign = true;
            suffix.remove_prefix(1);
        } else if (!size && (suffix.starts_with("ll") || suffix.starts_with("LL"))) {
            size = true;
            suffix.remove_prefix(2);
        } else if (!size && (suffix[0] == 'l' || suffix[0] == 'L' || suffix[0] == 'z' || suffix[0] == 'Z')) {
            size = true;
            suffix.remove_prefix(1);
        } else {
            return false;
        }
    }
    return true;
}

// An integer literal: decimal, 0x hexadecimal, 0b binary or 0 octal, digit
// separators allowed, then a suffix. Unsigned with a u, or when the value
// needs the 64th bit.
Value integerLiteral(std::string_view text) {
    unsigned base = 10;
    std::size_t k = 0;
    if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) base = 16, k = 2;
    else if (text.size() > 1 && text[0] == '0' && (text[1] == 'b' || text[1] == 'B')) base = 2, k = 2;
    else if (text[0] == '0') base = 8;
    std::uint64_t value = 0;
    bool digits = false, overflow = false;
    for (; k < text.size(); ++k) {
        if (text[k] == '\'' && digits) continue;
        const int digit = hexDigit(text[k]);
        if (digit < 0 || static_cast<unsigned>(digit) >= base) break;
        if (value > (std::numeric_limits<std::uint64_t>::max() - static_cast<unsigned>(digit)) / base)
            overflow = true;
        value = value * base + static_cast<unsigned>(digit);
        digits = true;
    }
    const std::string_view suffix = text.substr(k);
    if (!digits || !isIntegerSuffix(suffix)) fail("not an integer constant");
    if (overflow) fail("integer constant too large");
    const bool isUnsigned = suffix.find_first_of("uU") != std::string_view::npos ||
                            value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    return {value, isUnsigned};
}

// The code of the character or escape sequence at body[k]; k moves past it.
std::uint32_t characterCode(std::string_view body, std::size_t& k) {
    const char c = body[k++];
    if (c != '\\') return static_cast<unsigned char>(c);
    if (k >= body.size()) fail("bad character constant");
    const char e = body[k++];
    switch (e) {
        case 'n': return '\n';
        case 't': return '\t';
        case 'v': return '\v';
        case 'b': return '\b';
        case 'r': return '\r';
        case 'f': return '\f';
        case 'a': return '\a';
        case 'e': return 27;
        default: break;
    }
    if (e >= '0' && e <= '7') {
        std::uint32_t code = static_cast<std::uint32_t>(e - '0');
        for (int n = 1; n < 3 && k < body.size() && body[k] >= '0' && body[k] <= '7'; ++n)
            code = code * 8 + static_cast<std::uint32_t>(body[k++] - '0');
        return code;
    }
    if (e == 'x' || e == 'u' || e == 'U') {
        const std::size_t most = e == 'x' ? body.size() : e == 'u' ? 4 : 8;
        std::uint32_t code = 0;
        std::size_t n = 0;
        for (; n < most && k < body.size() && hexDigit(body[k]) >= 0; ++n, ++k)
            code = (code << 4) | static_cast<std::uint32_t>(hexDigit(body[k]));
        if (n == 0) fail("bad character constant");
        return code;
    }
    return static_cast<unsigned char>(e);  // \\ \' \" \? and the unknown ones
}

// The value of a character literal whose text between the quotes is body:
// one plain character is a char, signed as on this platform; several make
// an int of their bytes, the first the highest; a prefixed one (L, u, U,
// u8) is the code of its character.
Value characterLiteral(std::string_view body, bool prefixed) {
    if (body.empty()) fail("empty character constant");
    std::size_t k = 0;
    std::uint32_t first = characterCode(body, k);
    if (prefixed) return signedValue(first);
    if (k == body.size()) return signedValue(static_cast<signed char>(static_cast<unsigned char>(first)));
    std::uint32_t bytes = first & 0xFF;
    while (k < body.size()) bytes = (bytes << 8) | (characterCode(body, k) & 0xFF);
    return signedValue(static_cast<std::int32_t>(bytes));
}

// ---------------------------------------------------------------------------
// Tokens, and the macros expanded among them.

class Expander {
public:
    explicit Expander(const PreprocessorDefines& defines) : defines(defines) {}

    // The tokens of the expression with every "defined" and macro worked
    // out: numbers, names no macro replaced, punctuators and string
    // literals are left.
    std::vector<Token> run(std::string_view expression) {
        push(expression, {});
        Token t;
        while (next(t)) step(t);
        return std::move(out);
    }

private:
    // Reads text and puts its tokens before the pending ones, followed by
    // the end marker of macro when one is given.
    void push(std::string_view text, std::string_view macro) {
        scratch.clear();
        std::size_t k = 0;
        while (k < text.size()) {
            if (isBlankChar(text[k])) {
                ++k;
                continue;
            }
            if (++tokensRead > kMaxTokens) fail("expression too long");
            scratch.push_back(lex(text, k));
        }
        if (!macro.empty()) pending.push_back({Kind::EndOfMacro, macro});
        pending.insert(pending.end(), scratch.rbegin(), scratch.rend());
    }

    // The token at text[k]; k moves past it.
    static Token lex(std::string_view text, std::size_t& k) {
        const std::size_t start = k;
        const char c = text[k];
        if (isDigit(c) || (c == '.' && k + 1 < text.size() && isDigit(text[k + 1]))) {
            // A preprocessing number: what a compiler reads as one token,
            // checked as an integer afterwards.
            while (k < text.size()) {
                const char d = text[k];
                if ((d == '+' || d == '-') && k > start && std::string_view("eEpP").find(text[k - 1]) != std::string_view::npos)
                    ++k;
                else if (isNameChar(d) || d == '.' || (d == '\'' && k + 1 < text.size() && isNameChar(text[k + 1])))
                    ++k;
                else
                    break;
            }
            const std::string_view spelled = text.substr(start, k - start);
            return {Kind::Number, spelled, integerLiteral(spelled)};
        }
        if (isNameChar(c)) {
            while (k < text.size() && isNameChar(text[k])) ++k;
            const std::string_view name = text.substr(start, k - start);
            const bool prefix = name == "L" || name == "u" || name == "U" || name == "u8";
            if (!(prefix && k < text.size() && (text[k] == '\'' || text[k] == '"')))
                return {Kind::Name, name};
        }
        if (k < text.size() && (text[k] == '\'' || text[k] == '"')) {
            const char quote = text[k];
            const std::size_t open = k++;
            while (k < text.size() && text[k] != quote) k += text[k] == '\\' ? 2 : 1;
            if (k >= text.size()) fail("missing closing quote");
            ++k;
            const std::string_view spelled = text.substr(start, k - start);
            if (quote == '"') return {Kind::String, spelled};
            return {Kind::Number, spelled,
                    characterLiteral(text.substr(open + 1, k - open - 2), open > start)};
        }
        static constexpr std::string_view kPairs[] = {"<<", ">>", "<=", ">=", "==", "!=", "&&", "||", "##"};
        for (std::string_view pair : kPairs)
            if (text.substr(k, 2) == pair) {
                k += 2;
                return {Kind::Punctuator, pair};
            }
        ++k;
        return {Kind::Punctuator, text.substr(start, 1)};
    }

    // The next pending token; each end marker passed on the way ends its
    // macro's expansion. False when none is left.
    bool next(Token& t) {
        while (!pending.empty()) {
            t = pending.back();
            pending.pop_back();
            if (t.kind != Kind::EndOfMacro) return true;
            leave(t.text);
        }
        return false;
    }

    static bool isPunctuator(const Token& t, std::string_view punctuator) {
        return t.kind == Kind::Punctuator && t.text == punctuator;
    }

    // Whether the next token is the punctuator; the end markers before it
    // are passed.
    bool nextIs(std::string_view punctuator) {
        while (!pending.empty() && pending.back().kind == Kind::EndOfMacro) {
            leave(pending.back().text);
            pending.pop_back();
        }
        return !pending.empty() && isPunctuator(pending.back(), punctuator);
    }

    void step(const Token& t) {
        if (t.kind != Kind::Name) {
            out.push_back(t);
            return;
        }
        if (t.text == "defined") {
            out.push_back(definedOperator());
            return;
        }
        const MacroBody* body = isExpanding(t.text) ? nullptr : defines.bodyOf(std::string(t.text));
        if (body == nullptr) {
            // A call of a macro never defined here (the reader does not
            // read the headers it comes from) reads as 0, as a name does.
            if (!isExpanding(t.text) && nextIs("(")) {
                pending.pop_back();
                readArguments();
                out.push_back(number(false));
                return;
            }
            out.push_back(t);
            return;
        }
        if (body->getParameterCount() == 0) {
            std::string text = body->expand({});
            if (text.find_first_not_of(" \t\v\f\r\n") == std::string::npos) {
                // A name defined with no value reads as 0: "#if NAME" is false.
                out.push_back(number(false));
                return;
            }
            // One defined with "()" may be used with or without them.
            if (pending.size() >= 2 && isPunctuator(pending.back(), "(") &&
                isPunctuator(pending[pending.size() - 2], ")"))
                pending.resize(pending.size() - 2);
            charge(text.size());
            enter(t.text, std::move(text));
            return;
        }
        // A function-like macro without arguments is a name like any other.
        if (!nextIs("(")) {
            out.push_back(t);
            return;
        }
        pending.pop_back();
        std::vector<std::string> arguments = readArguments();
        // The arguments are expanded before they are put in, while the
        // macro itself may still be expanded in them.
        for (std::string& argument : arguments) argument = expandArgument(argument);
        // The size is known before the text is made: a body that uses a
        // long argument many times fails here, not after it was built.
        std::size_t size = 0;
        for (const MacroBodyPart& part : body->getParts()) {
            const std::size_t index = static_cast<std::size_t>(part.getIndex());
            size += !part.isParameter() ? part.getText().size()
                    : index < arguments.size() ? arguments[index].size()
                                                : 0;
        }
        charge(size);
        enter(t.text, body->expand(arguments));
    }

    // The text of an argument with its macros expanded; names a later
    // "(" may still make calls stay names.
    std::string expandArgument(const std::string& argument) {
        if (argument.find_first_not_of(" \t") == std::string::npos) return argument;
        if (++argumentNesting > kMaxMacroNesting) fail("macros nested too deeply");
        std::vector<Token> outerPending = std::move(pending);
        std::vector<Token> outerOut = std::move(out);
        pending.clear();
        out.clear();
        push(argument, {});
        Token t;
        while (next(t)) step(t);
        std::string text;
        for (const Token& token : out) {
            if (!text.empty()) text += ' ';
            text += token.text;
        }
        pending = std::move(outerPending);
        out = std::move(outerOut);
        --argumentNesting;
        return text;
    }

    void charge(std::size_t size) {
        expandedText += size;
        if (expandedText > kMaxExpandedText) fail("expression too long");
    }

    // After "defined": "NAME" or "( NAME )", never expanded.
    Token definedOperator() {
        Token t;
        if (!next(t)) fail("'defined' without a name");
        const bool parenthesis = t.kind == Kind::Punctuator && t.text == "(";
        if (parenthesis && !next(t)) fail("'defined' without a name");
        if (t.kind != Kind::Name) fail("'defined' without a name");
        const bool result = defines.isDefined(std::string(t.text));
        Token close;
        if (parenthesis && !(next(close) && close.kind == Kind::Punctuator && close.text == ")"))
            fail("missing ')' after 'defined'");
        return number(result);
    }

    // The arguments of a call whose "(" was read, each as the text of its
    // tokens, up to the ")" that closes the call.
    std::vector<std::string> readArguments() {
        std::vector<std::string> arguments(1);
        std::size_t depth = 1;
        Token t;
        for (;;) {
            if (!next(t)) fail("unterminated macro call");
            if (t.kind == Kind::Punctuator) {
                if (t.text == "(") {
                    ++depth;
                } else if (t.text == ")" && --depth == 0) {
                    return arguments;
                } else if (t.text == "," && depth == 1) {
                    arguments.emplace_back();
                    continue;
                }
            }
            std::string& argument = arguments.back();
            if (!argument.empty()) argument += ' ';
            argument += t.text;
        }
    }

    void enter(std::string_view macro, std::string text) {
        if (++expansions > kMaxExpansions) fail("macros expand too far");
        if (expanding.size() >= kMaxMacroNesting) fail("macros nested too deeply");
        texts.push_back(std::move(text));
        expanding.push_back(macro);
        push(texts.back(), macro);
    }

    void leave(std::string_view macro) {
        for (auto it = expanding.rbegin(); it != expanding.rend(); ++it)
            if (*it == macro) {
                expanding.erase(std::next(it).base());
                return;
            }
    }

    // A macro is not expanded again inside its own expansion.
    bool isExpanding(std::string_view name) const {
        for (std::string_view macro : expanding)
            if (macro == name) return true;
        return false;
    }

    const PreprocessorDefines& defines;
    std::deque<std::string> texts;  // the expansions, which tokens point into
    std::vector<Token> pending;     // the next token last
    std::vector<Token> scratch;
    std::vector<std::string_view> expanding;
    std::vector<Token> out;
    std::size_t tokensRead = 0;
    std::size_t expansions = 0;
    std::size_t expandedText = 0;
    std::size_t argumentNesting = 0;
};

// ---------------------------------------------------------------------------
// Evaluation.

enum class Op : unsigned char { Mul, Div, Mod, Add, Sub, Shl, Shr, Lt, Gt, Le, Ge, Eq, Ne, BitAnd, BitXor, BitOr, And, Or };

struct BinaryOperator {
    std::string_view text;
    int precedence;  // higher binds tighter
    Op op;
};

constexpr BinaryOperator kBinaryOperators[] = {
    {"*", 10, Op::Mul},    {"/", 10, Op::Div},    {"%", 10, Op::Mod},   {"+", 9, Op::Add},
    {"-", 9, Op::Sub},     {"<<", 8, Op::Shl},    {">>", 8, Op::Shr},   {"<", 7, Op::Lt},
    {">", 7, Op::Gt},      {"<=", 7, Op::Le},     {">=", 7, Op::Ge},    {"==", 6, Op::Eq},
    {"!=", 6, Op::Ne},     {"&", 5, Op::BitAnd},  {"^", 4, Op::BitXor}, {"|", 3, Op::BitOr},
    {"&&", 2, Op::And},    {"||", 1, Op::Or}};

// A shift by a negative count goes the other way; one by 64 or more
// leaves nothing but the sign.
Value shift(Value left, Value count, bool toLeft) {
    std::uint64_t by = count.bits;
    if (!count.isUnsigned && count.asSigned() < 0) {
        toLeft = !toLeft;
        by = 0 - count.bits;
    }
    if (toLeft) return {by >= 64 ? 0 : left.bits << by, left.isUnsigned};
    if (left.isUnsigned) return {by >= 64 ? 0 : left.bits >> by, true};
    const std::int64_t value = left.asSigned();
    return signedValue(by >= 64 ? (value < 0 ? -1 : 0) : value >> by);
}

// Arithmetic wraps around as in unsigned 64-bit integers; only a division
// by zero fails, and only where the operand is evaluated.
Value apply(Op op, Value l, Value r, bool evaluate) {
    const bool u = l.isUnsigned || r.isUnsigned;
    switch (op) {
        case Op::Mul: return {l.bits * r.bits, u};
        case Op::Div:
        case Op::Mod:
            if (r.bits == 0) {
                if (evaluate) fail("division by zero");
                return {0, u};
            }
            if (u) return {op == Op::Div ? l.bits / r.bits : l.bits % r.bits, true};
            if (l.asSigned() == std::numeric_limits<std::int64_t>::min() && r.asSigned() == -1)
                return op == Op::Div ? l : signedValue(0);
            return signedValue(op == Op::Div ? l.asSigned() / r.asSigned() : l.asSigned() % r.asSigned());
        case Op::Add: return {l.bits + r.bits, u};
        case Op::Sub: return {l.bits - r.bits, u};
        case Op::Shl: return shift(l, r, true);
        case Op::Shr: return shift(l, r, false);
        case Op::Lt: return truth(u ? l.bits < r.bits : l.asSigned() < r.asSigned());
        case Op::Gt: return truth(u ? l.bits > r.bits : l.asSigned() > r.asSigned());
        case Op::Le: return truth(u ? l.bits <= r.bits : l.asSigned() <= r.asSigned());
        case Op::Ge: return truth(u ? l.bits >= r.bits : l.asSigned() >= r.asSigned());
        case Op::Eq: return truth(l.bits == r.bits);
        case Op::Ne: return truth(l.bits != r.bits);
        case Op::BitAnd: return {l.bits & r.bits, u};
        case Op::BitXor: return {l.bits ^ r.bits, u};
        case Op::BitOr: return {l.bits | r.bits, u};
        case Op::And: return truth(l.isTrue() && r.isTrue());
        case Op::Or: return truth(l.isTrue() || r.isTrue());
    }
    return {};
}

// Precedence climbing over the expanded tokens. `evaluate` is false on the
// side of && || ?: that the value does not depend on.
class Parser {
public:
    explicit Parser(const std::vector<Token>& tokens) : tokens(tokens) {}

    Value parse() {
        if (tokens.empty()) fail("no expression");
        const Value value = conditional(true, 0);
        if (at < tokens.size()) fail(tokens[at].kind == Kind::Punctuator && tokens[at].text == ")"
                                         ? "unbalanced ')'"
                                         : "missing operator");
        return value;
    }

private:
    bool accept(std::string_view punctuator) {
        if (at < tokens.size() && tokens[at].kind == Kind::Punctuator && tokens[at].text == punctuator) {
            ++at;
            return true;
        }
        return false;
    }

    static void checkDepth(std::size_t depth) {
        if (depth > kMaxDepth) fail("expression nested too deeply");
    }

    Value conditional(bool evaluate, std::size_t depth) {
        checkDepth(depth);
        const Value condition = binary(1, evaluate, depth + 1);
        if (!accept("?")) return condition;
        const bool first = condition.isTrue();
        const Value a = conditional(evaluate && first, depth + 1);
        if (!accept(":")) fail("'?' without ':'");
        const Value b = conditional(evaluate && !first, depth + 1);
        return {first ? a.bits : b.bits, a.isUnsigned || b.isUnsigned};
    }

    const BinaryOperator* binaryOperator() const {
        if (at >= tokens.size() || tokens[at].kind != Kind::Punctuator) return nullptr;
        for (const BinaryOperator& o : kBinaryOperators)
            if (o.text == tokens[at].text) return &o;
        return nullptr;
    }

    Value binary(int lowest, bool evaluate, std::size_t depth) {
        checkDepth(depth);
        Value left = unary(evaluate, depth + 1);
        for (const BinaryOperator* o = binaryOperator(); o && o->precedence >= lowest; o = binaryOperator()) {
            ++at;
            bool evaluateRight = evaluate;
            if (o->op == Op::And) evaluateRight = evaluate && left.isTrue();
            if (o->op == Op::Or) evaluateRight = evaluate && !left.isTrue();
            const Value right = binary(o->precedence + 1, evaluateRight, depth + 1);
            left = apply(o->op, left, right, evaluate);
        }
        return left;
    }

    Value unary(bool evaluate, std::size_t depth) {
        checkDepth(depth);
        if (at >= tokens.size()) fail("missing operand");
        const Token& t = tokens[at++];
        if (t.kind == Kind::Number) return t.value;
        // What no macro replaced is 0; C++'s "true" is 1.
        if (t.kind == Kind::Name) return truth(t.text == "true");
        if (t.kind == Kind::String) fail("string literal in the condition");
        if (t.text == "(") {
            const Value value = conditional(evaluate, depth + 1);
            if (!accept(")")) fail("missing ')'");
            return value;
        }
        if (t.text == "!") return truth(!unary(evaluate, depth + 1).isTrue());
        if (t.text == "~") {
            const Value value = unary(evaluate, depth + 1);
            return {~value.bits, value.isUnsigned};
        }
        if (t.text == "-") {
            const Value value = unary(evaluate, depth + 1);
            return {0 - value.bits, value.isUnsigned};
        }
        if (t.text == "+") return unary(evaluate, depth + 1);
        fail("missing operand");
    }

    const std::vector<Token>& tokens;
    std::size_t at = 0;
};

}  // namespace

bool evaluateCondition(std::string_view expression, const PreprocessorDefines& defines, std::string* error) {
    if (error) error->clear();
    try {
        Expander expander(defines);
        const std::vector<Token> tokens = expander.run(expression);
        return Parser(tokens).parse().isTrue();
    } catch (const Malformed& malformed) {
        if (error) *error = malformed.reason;
        return false;
    }
}
