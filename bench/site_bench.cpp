// End-to-end speed of a documenting run: writes a corpus of documented C++,
// Java and C# classes into a temporary directory, runs the program vantry
// headless over it with the standard module, as a build script would, and
// reports source megabytes per second, pages per second, the child's user
// and system time and its peak memory against the size of the site written.
//
//   site_bench [classes] [--keep]     (default 3000 classes)
//
// The program and its modules are looked for beside this benchmark (both
// land in the build root). With --keep the corpus and the site stay on disk.
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/ChildProcess.h"

namespace fs = std::filesystem;

namespace {

std::string num(int n) { return std::to_string(n); }

// A namespace of five documented classes with members of every kind, the
// first deprecated, each deriving from the one before.
std::string cppFile(int file, int classes) {
    std::string s = "#ifndef GEOM" + num(file) + "_H\n#define GEOM" + num(file) +
                    "_H\n#include <vector>\n#include <string>\n\n/** Geometry part " + num(file) +
                    ". */\nnamespace geom" + num(file % 25) + " {\n\n";
    for (int c = 0; c < classes; ++c) {
        const std::string name = "Figure" + num(file) + "_" + num(c);
        s += "/**\n * A figure that can be measured and drawn, number " + num(c) +
             ".\n * It keeps its corners in a list and its name in a text.\n *\n"
             " * @author bench\n * @version 1." + num(c) + "\n";
        if (c == 0) s += " * @deprecated Use {@link Figure" + num(file) + "_1} instead.\n";
        s += " * @see Base\n */\nclass " + name + " : public " +
             (c == 0 ? std::string("Base") : "Figure" + num(file) + "_" + num(c - 1)) + " {\npublic:\n";
        s += "    /** Makes an empty figure. */\n    " + name + "();\n";
        for (int m = 0; m < 10; ++m) {
            s += "    /**\n     * Measures part " + num(m) +
                 " of the figure.\n     * @param scale the scale to apply\n     * @param layers the "
                 "layers to include\n     * @return the measure, never negative\n     */\n";
            s += "    virtual double measure" + num(m) +
                 "(double scale, const std::vector<int>& layers) const;\n";
        }
        s += "    /** Kinds of corner. */\n    enum Corner { Sharp, Round, Cut };\n";
        s += "protected:\n    /** Corner count. */\n    int corners;\n    /** Display name. */\n"
             "    std::string name;\n};\n\n";
        s += "inline double " + name + "::measure0(double s, const std::vector<int>& l) const {\n"
             "    double sum = 0; for (int v : l) { sum += v * s; } return sum < 0 ? 0 : sum;\n}\n\n";
    }
    s += "/** Draws every figure. */\nvoid drawAll" + num(file) + "(int count);\n}\n#endif\n";
    return s;
}

std::string javaFile(int file) {
    const std::string name = "Service" + num(file);
    std::string s = "package org.bench.p" + num(file % 25) +
                    ";\n\nimport java.util.List;\n\n/**\n * A service that handles requests.\n"
                    " * <p>Requests are kept in order.</p>\n * @author bench\n * @since 1.0\n */\n"
                    "public class " + name + " extends AbstractService implements Runnable {\n";
    for (int m = 0; m < 20; ++m) {
        s += "    /**\n     * Handles request " + num(m) +
             ". See {@link #handle0} for the first.\n     * @param list the items\n     * @param count "
             "how many\n     * @return the handled items\n     * @throws Exception when the list is "
             "closed\n";
        if (m == 19) s += "     * @deprecated Use {@link #handle0} instead.\n";
        s += "     */\n    public synchronized List<String> handle" + num(m) +
             "(List<String> list, int count) throws Exception {\n        if (count > 0) { return list; "
             "}\n        return null;\n    }\n";
        s += "    /** Limit number " + num(m) + ". */\n    public static final int LIMIT" + num(m) + " = " +
             num(m) + ";\n";
    }
    s += "    /** Kinds of service. */\n    public enum Kind { A, B, C }\n}\n";
    return s;
}

std::string csharpFile(int file) {
    const std::string name = "Repository" + num(file);
    std::string s = "using System;\n\nnamespace Bench.Space" + num(file % 25) +
                    "\n{\n    /**\n     * A repository of items, kept by id.\n     */\n    public class " + name +
                    " : IDisposable\n    {\n";
    for (int m = 0; m < 20; ++m) {
        s += "        /**\n         * Finds item " + num(m) +
             ".\n         * @param id the item's id\n         * @param name its name\n         * "
             "@return the item\n         */\n";
        s += "        public Item Find" + num(m) + "(int id, string name) { return items[id]; }\n";
        s += "        /** Count " + num(m) + ". */\n        protected int count" + num(m) + ";\n";
    }
    s += "        /** Releases the store. */\n        public void Dispose() { }\n    }\n}\n";
    return s;
}

struct Corpus {
    std::uintmax_t bytes = 0;
    int files = 0;
    int classes = 0;
};

Corpus writeCorpus(const fs::path& dir, int classes) {
    Corpus corpus;
    const int cppPerFile = 5;
    for (const char* sub : {"cpp", "java", "csharp"}) fs::create_directories(dir / sub);
    for (int i = 0; corpus.classes < classes; ++i) {
        std::string text;
        fs::path path;
        switch (i % 3) {
        case 0:
            text = cppFile(i, cppPerFile);
            path = dir / "cpp" / ("geom" + num(i) + ".h");
            corpus.classes += cppPerFile;
            break;
        case 1:
            text = javaFile(i);
            path = dir / "java" / ("p" + num(i % 25)) / ("Service" + num(i) + ".java");
            corpus.classes += 1;
            break;
        default:
            text = csharpFile(i);
            path = dir / "csharp" / ("Repository" + num(i) + ".cs");
            corpus.classes += 1;
            break;
        }
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
        corpus.bytes += text.size();
        ++corpus.files;
    }
    return corpus;
}

}  // namespace

int main(int argc, char** argv) {
    int classes = 3000;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--keep") == 0)
            keep = true;
        else
            classes = std::atoi(argv[i]);
    }
    const fs::path buildDir = fs::read_symlink("/proc/self/exe").parent_path();
    const fs::path program = buildDir / "vantry";
    if (!fs::is_regular_file(program) || !fs::is_regular_file(buildDir / "modules/vantry-standard.so")) {
        std::fprintf(stderr, "site_bench: %s and its modules/vantry-standard.so are needed\n",
                     program.c_str());
        return 2;
    }

    std::string pattern = (fs::temp_directory_path() / "vantry-site-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("site_bench: mkdtemp");
        return 2;
    }
    const fs::path root = pattern;
    for (const char* dir : {"tmp", "config", "logs"}) fs::create_directory(root / dir);
    const Corpus corpus = writeCorpus(root / "src", classes);

    const auto env = e2e::childEnvironment(
        {{"TMPDIR", (root / "tmp").string()}, {"XDG_CONFIG_HOME", (root / "config").string()}},
        {"DISPLAY", "WAYLAND_DISPLAY", "TEMP", "TMP"});
    // The child's user and system time apart: system calls per page and
    // per report show up only in the second.
    struct rusage before {};
    getrusage(RUSAGE_CHILDREN, &before);
    const auto result = e2e::runChild(program,
                                      {"-autorun", "-autoquit", "-overwrite", "-module=vantry-standard",
                                       "-moduledir=" + (buildDir / "modules").string(), "src/cpp",
                                       "src/java", "src/csharp", "site/index.html"},
                                      env, root, root / "logs");

    struct rusage after {};
    getrusage(RUSAGE_CHILDREN, &after);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    const double userSeconds = seconds(after.ru_utime) - seconds(before.ru_utime);
    const double systemSeconds = seconds(after.ru_stime) - seconds(before.ru_stime);

    int pages = 0;
    std::uintmax_t siteBytes = 0;
    if (fs::exists(root / "site")) {
        for (const auto& entry : fs::recursive_directory_iterator(root / "site")) {
            if (!entry.is_regular_file()) continue;
            siteBytes += entry.file_size();
            if (entry.path().extension() == ".html") ++pages;
        }
    }

    const double sourceMB = static_cast<double>(corpus.bytes) / 1e6;
    const double siteMB = static_cast<double>(siteBytes) / 1e6;
    const double peakMB = static_cast<double>(result.maxRssKiB) / 1024.0;
    std::printf("corpus: %d files, %d classes, %.2f MB of source\n", corpus.files, corpus.classes, sourceMB);
    std::printf("run:    exit status %d, %.2f s wall, %.2f s cpu (%.2f s user, %.2f s system)\n",
                result.exitCode, result.wallSeconds, result.cpuSeconds, userSeconds, systemSeconds);
    std::printf("speed:  %.2f MB/s of source end to end, %.0f pages/s\n", sourceMB / result.wallSeconds,
                pages / result.wallSeconds);
    std::printf("site:   %d pages, %.2f MB (%.1f x the source)\n", pages, siteMB, siteMB / sourceMB);
    std::printf("memory: %.1f MB peak resident (%.2f x the site, %.2f x the source)\n", peakMB,
                peakMB / siteMB, peakMB / sourceMB);
    if (result.exitCode != 0) std::fprintf(stderr, "%s\n", result.describe().c_str());

    if (keep) {
        std::printf("kept:   %s\n", root.c_str());
    } else {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    return result.exitCode == 0 ? 0 : 1;
}
