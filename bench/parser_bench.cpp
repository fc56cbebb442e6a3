// Reading speed of the source reader: writes a large mixed corpus of C++,
// Java and C# files with documentation comments into a temporary
// directory, runs every file through the preprocessor and the parser, and
// reports megabytes of source read per second.
//
//   parser_bench [files]     (default 3000)
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "VelkLib/VelkError.h"
#include "model/DocGenClassList.h"
#include "model/MacroDefinition.h"
#include "reader/CppFile.h"
#include "reader/PreprocessorDefines.h"

namespace {

std::string cppFile(int n) {
    std::string s = "#ifndef SHAPE" + std::to_string(n) + "_H\n#define SHAPE" + std::to_string(n) +
                    "_H\n#include <vector>\n\nnamespace gfx {\n";
    for (int c = 0; c < 6; ++c) {
        std::string name = "Shape" + std::to_string(n) + "_" + std::to_string(c);
        s += "/**\n * A drawable shape number " + std::to_string(c) +
             ".\n * @author bench\n */\nclass " + name + " : public Base, private Counted {\npublic:\n";
        for (int m = 0; m < 12; ++m) {
            s += "    /** Draws part " + std::to_string(m) + " onto the canvas. */\n";
            s += "    virtual bool draw" + std::to_string(m) +
                 "(Canvas& canvas, const std::vector<int>& layers, int mode = 0) const;\n";
        }
        s += "protected:\n    int x, *y, z[4]; // position\n    std::map<std::string, int> names;\n"
             "private:\n    enum State { Idle = 0, Busy, Done };\n    unsigned flags : 3;\n};\n\n";
        s += "inline bool " + name + "::draw0(Canvas& c, const std::vector<int>& l, int m) const {\n"
             "    /* body */ for (int i = 0; i < m; ++i) { if (l[i] > 0) c.paint(i); }\n    return true;\n}\n";
    }
    s += "typedef void (*Callback" + std::to_string(n) + ")(int);\n}\n#endif\n";
    return s;
}

std::string javaFile(int n) {
    std::string s = "package org.bench.p" + std::to_string(n % 20) +
                    ";\n\nimport java.util.List;\n\n/** A service. */\npublic class Service" +
                    std::to_string(n) + " extends Base implements Runnable, Comparable<Service> {\n";
    for (int m = 0; m < 40; ++m) {
        s += "    /**\n     * Handles request " + std::to_string(m) +
             ".\n     * @param list the items\n     */\n";
        s += "    public synchronized List<String> handle" + std::to_string(m) +
             "(List<String> list, int count) throws Exception {\n        if (count > 0) { return list; }\n"
             "        return null; // none\n    }\n";
        s += "    private static final int LIMIT" + std::to_string(m) + " = " + std::to_string(m) + ";\n";
    }
    s += "    public enum Kind { A, B, C }\n}\n";
    return s;
}

std::string csharpFile(int n) {
    std::string s = "using System;\n\nnamespace Bench.Space" + std::to_string(n % 20) + "\n{\n";
    s += "    /// <summary>A repository.</summary>\n    [Serializable]\n    public class Repository" +
         std::to_string(n) + " : IDisposable\n    {\n";
    for (int m = 0; m < 40; ++m) {
        s += "        /** Finds item " + std::to_string(m) + ". */\n";
        s += "        public Item Find" + std::to_string(m) +
             "(int id, string name = \"x\") { return items[id]; }\n";
        s += "        private int count" + std::to_string(m) + ";\n";
        s += "        public string Name" + std::to_string(m) + " { get; set; }\n";
    }
    s += "    }\n}\n";
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 3000;
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("vantry-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);

    std::vector<std::string> paths;
    std::uintmax_t bytes = 0;
    for (int i = 0; i < files; ++i) {
        std::string text, name;
        switch (i % 3) {
        case 0: text = cppFile(i); name = "shape" + std::to_string(i) + ".h"; break;
        case 1: text = javaFile(i); name = "Service" + std::to_string(i) + ".java"; break;
        default: text = csharpFile(i); name = "Repository" + std::to_string(i) + ".cs"; break;
        }
        fs::path path = dir / name;
        std::ofstream(path, std::ios::binary) << text;
        paths.push_back(path.string());
        bytes += text.size();
    }

    const std::map<std::string, int> languages = {{"h", 0}, {"cpp", 0}, {"cs", 1}, {"java", 2}};
    PreprocessorDefines defines;
    ParserSettings settings;
    DocGenClassList classes;
    std::map<std::string, MacroDefinition> macros;
    int failures = 0;

    const auto start = std::chrono::steady_clock::now();
    for (const std::string& path : paths) {
        std::map<std::string, bool> packages;
        try {
            CppFile file(path, "bench", nullptr, nullptr, nullptr, defines, DocCommentFormat(),
                         &settings, &languages);
            file.parse(classes, true, &macros, &packages);
        } catch (const VelkError& e) {
            ++failures;
            std::fprintf(stderr, "%s: %s\n", path.c_str(), e.getMessage().c_str());
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::error_code ignored;
    fs::remove_all(dir, ignored);

    const double megabytes = static_cast<double>(bytes) / 1e6;
    std::printf("%d files, %.1f MB in %.3f s: %.1f MB/s (%zu classes, %d failed)\n", files, megabytes,
                seconds, megabytes / seconds, classes.size(), failures);
    return failures == 0 ? 0 : 1;
}
