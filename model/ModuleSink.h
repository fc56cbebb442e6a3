// Where the forwarding of a filled class list sends its classes and members.
//
// The model knows nothing of how a module is loaded or called; the program's
// module wrapper implements this with the module's exports. Every text is the
// program's own string, handed over by reference and valid only during the
// call. Implementations may throw; the forwarding lets the error through.
#pragma once

#include <string>
#include <vector>

class ModuleSink {
public:
    virtual ~ModuleSink() = default;

    virtual void startClass(const std::string& name, const std::string& comment,
                            const std::string& baseList, const std::string& fileNames,
                            const std::string& package, const std::string& kind,
                            const std::string& container, const std::string& sourceDirectory,
                            const std::string& language) = 0;
    virtual void startMember(const std::string& name, const std::string& comment,
                             const std::string& access, const std::string& declaration,
                             bool hasArguments, const std::string& fileNames,
                             const std::vector<std::string>& arguments) = 0;
    virtual void endMember(const std::string& name) = 0;
    virtual void endClass(const std::string& name) = 0;
};
