// A name used as a base (or elsewhere) that is not a documented class. It is
// owned by the class that names it and written as code text, not a link.
#pragma once

#include "model/CppClass.h"

class UnresolvedClass : public CppClass {
public:
    // A class with that parent (the scope the name was met in), options,
    // language and interface flag, namespace flag off, named name.
    UnresolvedClass(CppClass* parent, const DocOptions& options, const std::string& name,
                    bool isInterface, int language);
    ~UnresolvedClass() override;

    // "<code>" + name + "</code>", whatever the arguments.
    std::string getLink(const std::string& prefix, const std::string& tag,
                        const std::string& anchor, bool useQualifiedName) const override;
    // A new placeholder with the same parent, options, name, interface flag
    // and language; the caller owns it.
    CppClass* clone() const override;
    bool isUnresolved() const override { return true; }
};
