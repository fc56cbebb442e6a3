// A macro's replacement text, held as literal pieces and parameter
// references so that expanding a call only has to put the arguments in.
// Parameter names are not kept: a parameter is known by its index, and is
// written back as "arg_a", "arg_b", ... (the letter is 'a' + index).
#pragma once

#include <string>
#include <vector>

class MacroBodyPart {
public:
    static MacroBodyPart literal(std::string text);
    static MacroBodyPart parameter(int index);

    bool isParameter() const { return parameterFlag; }
    int getIndex() const { return index; }
    const std::string& getText() const { return literalText; }

    // prefix + the parameter's letter, or the literal text.
    std::string text(const std::string& prefix) const;
    // The argument of the parameter's index ("" when the call gave fewer),
    // or the literal text.
    std::string expand(const std::vector<std::string>& arguments) const;

private:
    bool parameterFlag = false;
    int index = 0;
    std::string literalText;
};

class MacroBody {
public:
    // No parameters, no pieces: a name defined without a value.
    MacroBody() = default;
    // No parameters; the body is one literal piece (also when empty).
    explicit MacroBody(const std::string& body);
    // Splits the body at whole-word uses of the parameters (the first
    // parameter that matches at a position wins). Empty parameter names
    // match nothing but still count.
    MacroBody(const std::vector<std::string>& parameters, const std::string& body);

    int getParameterCount() const { return parameterCount; }
    const std::vector<MacroBodyPart>& getParts() const { return parts; }

    // The pieces with every parameter replaced by its argument, then every
    // "##" removed with the blanks on both sides of it (the two tokens it
    // stands between become one).
    std::string expand(const std::vector<std::string>& arguments) const;
    // "" without parameters, else "(arg_a,arg_b,...)".
    std::string parameterText() const;
    // The pieces, parameters written as "arg_" + letter.
    std::string bodyText() const;

private:
    int parameterCount = 0;
    std::vector<MacroBodyPart> parts;
};
