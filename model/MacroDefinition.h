// A #define as the run documents it. The preprocessor records one for every
// definition it meets; the run driver later adds it as a member of the
// globals record of its package.
#pragma once

#include <string>
#include <vector>

class MacroDefinition {
public:
    MacroDefinition() = default;
    MacroDefinition(std::string name, std::vector<std::string> arguments,
                    std::string body, std::string comment,
                    std::string fileName, std::string package);

    std::string getName() const { return name; }
    const std::vector<std::string>& getArguments() const { return arguments; }
    std::string getBody() const { return body; }
    // The documentation comment read most recently before the definition.
    std::string getComment() const { return comment; }
    std::string getFileName() const { return fileName; }
    std::string getPackage() const { return package; }

    // True when the argument list is not empty. A macro declared with empty
    // parentheses has no arguments here and reads like an object macro.
    bool hasArguments() const { return !arguments.empty(); }

    // "#define NAME" then "(a, b)" when there are arguments, then " " and
    // the body; the blank is written also when the body is empty.
    std::string getSignature() const;

private:
    std::string name;
    std::vector<std::string> arguments;
    std::string body;
    std::string comment;
    std::string fileName;
    std::string package;
};
