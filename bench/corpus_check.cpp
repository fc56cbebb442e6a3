// How much of a corpus of real sources the reader understands: runs every
// C++, Java and C# file below the given paths through the preprocessor and
// the parser, and reports the files whose reading failed and the lines it
// could not understand.
//
//   corpus_check [-v] [-ext=hpp,h] [-list=FILE] [-expect=FILE] path...
//
// -ext= reads only files of the listed extensions found in directories
// (default: every C++, Java and C# extension). -v prints each failure and each line not understood; -list=FILE writes
// every type and member read, one a line ("type<TAB>package<TAB>name" and
// "member<TAB>class<TAB>name<TAB>argument count", -1 for a variable), so
// that a reference list of the same code can be compared with it.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "VelkLib/VelkError.h"
#include "model/CppClass.h"
#include "model/CppClassMember.h"
#include "model/DocGenClassList.h"
#include "model/MacroDefinition.h"
#include "reader/CppFile.h"
#include "reader/PreprocessorDefines.h"

namespace {

const std::map<std::string, int> kLanguages = {
    {"h", 0},   {"hh", 0},  {"hpp", 0}, {"hxx", 0}, {"ipp", 0}, {"inl", 0}, {"c", 0},
    {"cc", 0},  {"cpp", 0}, {"cxx", 0}, {"cs", 1},  {"java", 2}};

struct Counts {
    int files = 0;
    int failed = 0;
    int notUnderstood = 0;
    int scriptShown = 0;  // comments whose script is shown as text: read, not lost
    bool verbose = false;
};

void onWarning(const char* text, void* context) {
    auto* counts = static_cast<Counts*>(context);
    static constexpr std::string_view script = "Script in the documentation comment";
    if (std::string_view(text).substr(0, script.size()) == script)
        ++counts->scriptShown;
    else
        ++counts->notUnderstood;
    if (counts->verbose) std::printf("warning: %s\n", text);
}

std::vector<std::string> onlyExtensions;

bool accepted(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    if (extension.empty()) return false;
    extension.erase(0, 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (!onlyExtensions.empty())
        return std::find(onlyExtensions.begin(), onlyExtensions.end(), extension) !=
               onlyExtensions.end();
    return kLanguages.contains(extension);
}

void collect(const std::filesystem::path& root, std::vector<std::string>& files) {
    namespace fs = std::filesystem;
    if (fs::is_regular_file(root)) {
        files.push_back(root.string());
        return;
    }
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, error), end; it != end; it.increment(error))
        if (it->is_regular_file() && accepted(it->path())) files.push_back(it->path().string());
}

// The list's lines: types without their kind, so that a reference list
// need not name it.
std::vector<std::string> listLines(const DocGenClassList& classes) {
    std::vector<std::string> lines;
    for (const auto& [key, cls] : classes.getClasses()) {
        lines.push_back("type\t" + key.first + '\t' + key.second);
        for (const CppClassMember* m : cls->getMembers())
            lines.push_back("member\t" + key.first + '.' + key.second + '\t' + m->getName() + '\t' +
                            std::to_string(m->hasArgumentList()
                                               ? static_cast<long>(m->getArguments().size())
                                               : -1L));
    }
    return lines;
}

// Found / expected for types and members; each expected line is matched
// by one line read at most, so overloads of one argument count count once
// each.
void compare(const std::vector<std::string>& lines, const std::string& path, bool verbose) {
    std::multiset<std::string> read(lines.begin(), lines.end());
    std::ifstream in(path);
    int types = 0, typesFound = 0, members = 0, membersFound = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const bool isType = line.rfind("type\t", 0) == 0;
        (isType ? types : members) += 1;
        auto hit = read.find(line);
        if (hit != read.end()) {
            (isType ? typesFound : membersFound) += 1;
            read.erase(hit);
        } else if (verbose) {
            std::printf("not read: %s\n", line.c_str());
        }
    }
    auto percent = [](int found, int all) { return all ? 100.0 * found / all : 100.0; };
    std::printf("reference: types %d / %d = %.1f%%, members %d / %d = %.1f%%\n", typesFound, types,
                percent(typesFound, types), membersFound, members, percent(membersFound, members));
}

}  // namespace

int main(int argc, char** argv) {
    Counts counts;
    std::string listFile, expectFile;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-v") == 0) counts.verbose = true;
        else if (std::strncmp(argv[i], "-list=", 6) == 0) listFile = argv[i] + 6;
        else if (std::strncmp(argv[i], "-expect=", 8) == 0) expectFile = argv[i] + 8;
        else if (std::strncmp(argv[i], "-ext=", 5) == 0) {
            std::string list = argv[i] + 5;
            for (std::size_t at = 0; at <= list.size();) {
                std::size_t comma = std::min(list.find(',', at), list.size());
                if (comma > at) onlyExtensions.push_back(list.substr(at, comma - at));
                at = comma + 1;
            }
        }
        else collect(argv[i], files);
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: corpus_check [-v] [-ext=LIST] [-list=FILE] [-expect=FILE] path...\n");
        return 2;
    }
    std::sort(files.begin(), files.end());

    PreprocessorDefines defines;
    ParserSettings settings;
    // Everything the reader can read is counted, global constants too.
    settings.includeConst = true;
    DocGenClassList classes;
    std::map<std::string, MacroDefinition> macros;
    std::uintmax_t bytes = 0;
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& path : files) {
        ++counts.files;
        std::error_code error;
        bytes += std::filesystem::file_size(path, error);
        std::map<std::string, bool> packages;
        try {
            CppFile file(path, "corpus", nullptr, &onWarning, &counts, defines, DocCommentFormat(),
                         &settings, &kLanguages);
            file.parse(classes, true, &macros, &packages);
        } catch (const VelkError& e) {
            ++counts.failed;
            if (counts.verbose) std::printf("failed: %s: %s\n", path.c_str(), e.getMessage().c_str());
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::size_t members = 0;
    for (const auto& [key, cls] : classes.getClasses()) members += cls->getMembers().size();
    if (!listFile.empty() || !expectFile.empty()) {
        const std::vector<std::string> lines = listLines(classes);
        if (!listFile.empty()) {
            std::ofstream out(listFile);
            for (const std::string& line : lines) out << line << '\n';
        }
        if (!expectFile.empty()) compare(lines, expectFile, counts.verbose);
    }

    std::printf("%d files (%.1f MB in %.2f s), %d failed, %d lines not understood, %d comments "
                "with script shown as text; %zu types, %zu members\n",
                counts.files, static_cast<double>(bytes) / 1e6, seconds, counts.failed,
                counts.notUnderstood, counts.scriptShown, classes.size(), members);
    return 0;
}
