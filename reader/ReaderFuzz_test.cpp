// Random inputs (fixed seed, bounded count) for the preprocessor and the
// token layer: whatever the bytes, they must end in a result or a VelkError,
// never a crash, a hang or a sanitizer report.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "VelkLib/VelkError.h"
#include "reader/BlockReader.h"
#include "reader/DocComment.h"
#include "reader/DocCommentFormat.h"
#include "reader/Preprocessor.h"
#include "reader/TokenReader.h"

namespace fs = std::filesystem;

namespace {

// Pieces that steer random text into the interesting paths.
const char* const kPieces[] = {
    "#if ", "#ifdef ", "#ifndef ", "#elif ", "#else", "#endif", "#define ", "#undef ", "#include",
    "F(", "F", "G(x,y)", "defined(", "__cplusplus", "/*", "*/", "/**", "///", "//", "\"", "'",
    "\\", "\\\n", "\n", "\r\n", "\r", "(", ")", ",", "{", "}", ";", "##", " ", "\t", "==", ">=",
    "VANTRY_BEGIN_EXCLUDE", "VANTRY_END_EXCLUDE", "1", "-", "*", "/", "x", "" /* stands for a NUL byte */};

std::string randomText(std::mt19937& rng, std::size_t maxPieces) {
    std::uniform_int_distribution<std::size_t> count(0, maxPieces);
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string text;
    for (std::size_t n = count(rng); n > 0; --n) {
        if (kind(rng) == 0) {
            text.push_back(static_cast<char>(byte(rng)));
        } else {
            std::size_t p = piece(rng);
            text += p == std::size(kPieces) - 1 ? std::string(1, '\0') : std::string(kPieces[p]);
        }
    }
    return text;
}

std::size_t countNewlines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace

TEST(ReaderFuzz, PreprocessorSurvivesAnyBytes) {
    char pattern[] = "/tmp/vantry-fuzz-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    const std::string out = (dir / "out").string();

    std::mt19937 rng(20241);
    DocCommentFormat both;
    both.setSecondary("///", "///", "///");
    Preprocessor preprocessor(both);
    PreprocessorDefines user("A=1\r\nF(x)=[x]\r\nG(a,b)=a##b F(a)");
    std::map<std::string, MacroDefinition> table;
    int succeeded = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string source = randomText(rng, 120);
        std::istringstream in(source);
        try {
            preprocessor.preprocess(in, out, user, "f.h", "p", table);
            ++succeeded;
            std::ifstream file(out, std::ios::binary);
            std::string result((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            // Every input line feed gives one output line feed; an unterminated
            // last line may gain one.
            std::size_t in = countNewlines(source), got = countNewlines(result);
            EXPECT_TRUE(got == in || got == in + 1) << round;
        } catch (const VelkError&) {
            EXPECT_FALSE(fs::exists(out)) << round;
        }
    }
    EXPECT_GT(succeeded, 0);
    fs::remove_all(dir);
}

TEST(ReaderFuzz, TokenLayerSurvivesAnyBytes) {
    std::mt19937 rng(7);
    for (int round = 0; round < 1500; ++round) {
        std::string text = randomText(rng, 60);
        int line = 1;
        try {
            CppStrStream in(text, "f");
            std::string blanks;
            for (int n = 0; n < 10000; ++n)
                if (readToken(in, &line, round % 2, '.', 0, round % 3, &blanks, round % 5).empty()) break;
        } catch (const VelkError&) {}
        try {
            CppStrStream in(text, "f");
            switch (round % 4) {
                case 0: skipToToken(in, ";", &line, "x", "{"); break;
                case 1: skipBlock(in, "x", &line); break;
                case 2: skipParenthesized(in, &line); break;
                default: readDocComment(in, &line, "\n", round % 8 == 3 ? "///" : "/**", "*", "*/");
            }
        } catch (const VelkError&) {}
        try {
            Preprocessor::evaluateIf(text, PreprocessorDefines(text));
        } catch (const VelkError&) {}
        DocCommentFormat format;
        try {
            format.parse(text);
        } catch (const VelkError&) {}
        PreprocessorDefines defines("F(x)=x\r\nE\r\n" + text);
        BlockReader reader(randomText(rng, 20));
        std::string expanded = text, sink;
        int counter = 0;
        try {
            defines.expandLine(expanded, reader, sink, counter);
        } catch (const VelkError&) {}
    }
}
