// A member of a class or of a globals record: function, variable, enum
// value, typedef or macro.
#pragma once

#include "model/CppClassEntity.h"
#include "model/InternedText.h"

#include <string>
#include <vector>

class CppClassMember : public CppClassEntity {
public:
    // Empty texts, no arguments, flag off; the options are copied from the
    // owner (defaults when there is none) and stay this member's own.
    explicit CppClassMember(CppClass* owner);
    ~CppClassMember() override;

    // "public", "" and unknown words: true; "protected": the member's
    // include-protected option; "private": its include-private option.
    bool isPublic() const override;
    CppClass* getClass() const override { return owner; }
    // <a href="PAGE#SIGNATURE">TEXT</a>: PAGE is the owner's page for the
    // prefix ("" without an owner), SIGNATURE the signature text without
    // blanks; TEXT the signature text with blanks (flag set) or the name.
    // The anchor argument is not used: a member link always points at the
    // member's own anchor.
    std::string getLink(const std::string& prefix, const std::string& tag,
                        const std::string& anchor, bool useQualifiedName) const override;
    // The owner's page for the prefix; "" without an owner.
    std::string getPageFile(const std::string& prefix) const override;
    // Both give the signature text with its blanks.
    std::string getQualifiedName() const override;
    std::string getDisplayName() const override;

    // A copy of this member (same texts, flag, arguments, options and file
    // list) owned by newOwner; the caller takes the object.
    virtual CppClassMember* clone(CppClass* newOwner) const = 0;

    // The name with "<" and ">" written "&#60;" and "&#62;"; for a member
    // with an argument list, followed by "(" + arguments joined by "," + ")".
    // removeBlanks deletes blanks and tabs before the closing parenthesis
    // (the anchor form).
    std::string buildSignatureText(bool removeBlanks) const;

    // The declaration as the parser wrote it, ending with ";" (a macro's
    // whole "#define" line).
    const std::string& getDeclaration() const { return declaration; }
    void setDeclaration(const std::string& text) { declaration = text; }
    // A copy of the declaration text.
    std::string getType() const { return declaration; }
    // "public", "protected", "private" or "".
    const std::string& getAccess() const { return access.str(); }
    void setAccess(const std::string& word) { access = word; }
    // Set for functions and for macros with parameters.
    bool hasArgumentList() const { return hasArgs; }
    void setHasArgumentList(bool flag) { hasArgs = flag; }
    const std::vector<std::string>& getArguments() const { return arguments; }
    void setArguments(const std::vector<std::string>& list) { arguments = list; }
    CppClass* getOwner() const { return owner; }
    // True while every declaration merged into the member was a function's
    // definition (CppClass::addMember).
    bool isDefinitionOnly() const { return definitionOnly; }

protected:
    // A class that takes a member over becomes its owner.
    friend class CppClass;

    // Copies everything but the owner into target.
    void copyMemberTo(CppClassMember& target) const;

    std::string declaration;
    InternedText access;
    bool hasArgs = false;
    // Made by a C++ definition outside its class ("void X::f(int* a) {}"),
    // whose parameters are matched as the function's type has them.
    bool definedOutside = false;
    // Every declaration merged into the member so far was a function's
    // definition (a body, or a definition outside its class): a plain
    // declaration that comes later gives the member its text.
    bool definitionOnly = false;
    std::vector<std::string> arguments;
    CppClass* owner;
    // The class whose member list holds this member (set when it is taken
    // over, never copied); tells a class whether a member handed in is
    // already its own without a set of its members.
    const CppClass* holder = nullptr;
};
