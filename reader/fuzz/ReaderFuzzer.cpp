// libFuzzer entry for the reader: any bytes, as a C++, Java or C# file, go
// through the preprocessor and the parser. A result or a VelkError is fine;
// a crash, a hang, unbounded memory or a sanitizer report is a finding.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "VelkLib/VelkError.h"
#include "model/DocGenClassList.h"
#include "model/MacroDefinition.h"
#include "reader/CppFile.h"
#include "reader/ParserSettings.h"
#include "reader/Preprocessor.h"
#include "reader/PreprocessorDefines.h"

namespace {

void ignoreStatus(const char*, const char*, void*) {}
void ignoreError(const char*, void*) {}

// One folder (below TMPDIR, which the fuzzing script points into its own
// tree) for the whole process; each input is written to one file in it,
// named with the extension that picks the language.
const std::filesystem::path& scratchDirectory() {
    static const std::filesystem::path directory = [] {
        std::filesystem::path made = std::filesystem::temp_directory_path() /
                                     ("vantry-reader-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(made);
        return made;
    }();
    return directory;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const char* const kExtensions[] = {"h", "cpp", "java", "cs"};
    const char* extension = kExtensions[data[0] % 4];
    const bool anonymous = (data[0] & 4) != 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    // The preprocessor alone, with defines that the text can call.
    PreprocessorDefines defines("A=1\r\nF(x)=[x]\r\nG(a,b)=a##b F(a)");
    std::map<std::string, MacroDefinition> macros;
    try {
        Preprocessor().preprocessText(text, defines, "fuzz.h", "p", macros);
    } catch (const VelkError&) {
    }

    // The whole reader, from a file as a run reads it.
    const std::string path = (scratchDirectory() / (std::string("input.") + extension)).string();
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    } else {
        return 0;
    }
    ParserSettings settings;
    settings.includeAnonymous = anonymous;
    const std::map<std::string, int> languages{{"cpp", 0}, {"h", 0}, {"cs", 1}, {"java", 2}};
    DocGenClassList classes;
    std::map<std::string, bool> packages;
    macros.clear();
    try {
        CppFile parser(path, "proj", ignoreStatus, ignoreError, nullptr, defines, DocCommentFormat(),
                       &settings, &languages);
        parser.parse(classes, (data[0] & 8) != 0, &macros, &packages);
    } catch (const VelkError&) {
    }
    return 0;
}
