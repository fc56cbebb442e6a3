// The process's arguments split into flags and parameters.
//
// A flag is an argument that begins with '-'; it is stored without that
// character ("-" alone gives the empty flag). Every other argument is a
// parameter, so a leading '/' is an absolute path, not an option. What each
// flag and parameter means is decided by the option reader.
#pragma once

#include <string>
#include <vector>

class VelkCmdLine {
public:
    // From main()'s arguments; argv[0], the program, is skipped.
    VelkCmdLine(int argc, const char* const* argv);

    // From the arguments alone, without the program name.
    explicit VelkCmdLine(const std::vector<std::string>& arguments);

    virtual ~VelkCmdLine();

    // The parameter at `index` (0 first, command-line order), or "" when
    // index is not below paramCount.
    std::string getParam(int index) const;

    // The flag at `index`, without its '-', or "" when index is not below
    // flagCount.
    std::string getFlag(int index) const;

    int paramCount = 0;
    int flagCount = 0;

private:
    void add(const std::string& argument);

    std::vector<std::string> params;
    std::vector<std::string> flags;
};
