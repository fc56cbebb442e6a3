// C++ class templates with explicit and partial specialisations, as
// today's libraries write them: each specialisation a class of its own
// beside its template, members defined outside it in a source file, a
// specialisation met before its template, one of a template of another
// library. The program runs as a child process; the tests read the pages
// as a browser shows them and follow their links as a browser does.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/ChildProcess.h"
#include "e2e/ProgramFixture.h"
#include "e2e/SiteCheck.h"

namespace fs = std::filesystem;

namespace {

using e2e::contains;
using e2e::writeText;

const char* const kUtf = R"(#pragma once
#include <cstddef>

namespace text {

/** Conversions of one code unit width. */
template <unsigned Bits>
class Utf
{
public:
    /** Decodes a unit of any width. */
    static unsigned decodeAny(const void* in);
};

/** Conversions of UTF-8. */
template <>
class Utf<8>
{
public:
    /** Decodes one UTF-8 sequence. */
    template <typename In>
    static In decode(In begin, In end, unsigned& out);

    static std::size_t length(const char* text);
};

/** Conversions of UTF-16. */
template <>
class Utf<16>
{
public:
    /** Decodes one UTF-16 pair. */
    template <typename In>
    static In decode(In begin, In end, unsigned& out);

    /** Whether a unit begins a surrogate pair. */
    static bool isLead(unsigned short unit);
};

/** The width of a character type. */
template <typename T, int Extra>
struct Width
{
    /** The width of anything. */
    static int bits();
};

/** The width of pointers. */
template <typename T, int Extra>
struct Width<T*, Extra>
{
    /** The width of a pointer. */
    static int pointerBits();
};

/** The width of any type without extra bits. */
template <typename T>
struct Width<T, 0>
{
    /** The width without extras. */
    static int plainBits();
};

/** Cells of any type in a table. */
class Table
{
public:
    /** A cell of a table. */
    template <typename T>
    struct Cell
    {
        /** The value of any cell. */
        T value;
    };
};

/** A cell of text. */
template <>
struct Table::Cell<char>
{
    /** The characters of the cell. */
    const char* chars;
};

typedef Utf<8> Utf8;

// Defined under other names than the class's own.
template <typename U>
int Width<U, 0>::plainBits() { return 0; }

template <typename U, int More>
int Width<U, More>::bits() { return 8; }

} // namespace text
)";

const char* const kReader = R"(#pragma once
#include "text/utf.hpp"
#include <functional>

namespace text {

/**
 * Reads UTF-8 text; writes it with {@link Utf<16>} and measures it with
 * {@link Width<T, 0> plain widths}.
 * @see Table::Cell<char>
 */
class Reader : public Utf<8>
{
public:
    /** The converter of the other width. */
    Utf<16> wide() const;

    /** Feeds any unit. */
    template <typename T>
    void feed(T unit);
};

/** Feeds one character. */
template <>
void Reader::feed<char>(char unit);

} // namespace text

namespace std {

/** Hashes a reader. */
template <>
struct hash<text::Reader>
{
    /** The hash of a reader. */
    std::size_t operator()(const text::Reader& reader) const;
};

} // namespace std
)";

const char* const kUtfSource = R"(#include "text/utf.hpp"

namespace text {

/** Counts the characters of a UTF-8 text. */
std::size_t Utf<8>::length(const char* text) { return 0; }

template <typename In>
In Utf<8>::decode(In begin, In end, unsigned& out) { return begin; }

template <unsigned Bits>
unsigned Utf<Bits>::decodeAny(const void* in) { return Bits; }

template <typename T, int Extra>
int Width<T*, Extra>::pointerBits() { return 64; }

} // namespace text
)";

// A specialisation read before its template, from another folder.
const char* const kEarly = R"(namespace text {

/** A slot of one byte. */
template <>
class Slot<1>
{
public:
    /** The byte. */
    unsigned char byte;
};

} // namespace text
)";

const char* const kSlot = R"(namespace text {

/** A slot of any size. */
template <int Size>
class Slot
{
public:
    /** The bytes. */
    unsigned char bytes[Size];
};

} // namespace text
)";

// Each link of the page ("<a href=...>") as a browser follows it from
// `folder` (the page's folder under the site): the file it leads to, and
// the text it shows.
struct ShownLink {
    std::string target;
    std::string text;
};
std::vector<ShownLink> linksOf(const std::string& html, const std::string& folder) {
    std::vector<ShownLink> found;
    const std::string open = "<a href=\"";
    for (std::size_t at = html.find(open); at != std::string::npos; at = html.find(open, at + 1)) {
        const std::size_t hrefEnd = html.find('"', at + open.size());
        const std::size_t tagEnd = html.find('>', hrefEnd);
        const std::size_t close = html.find("</a>", tagEnd);
        if (hrefEnd == std::string::npos || tagEnd == std::string::npos || close == std::string::npos) break;
        std::string href = e2e::decodeEntities(html.substr(at + open.size(), hrefEnd - at - open.size()));
        href = href.substr(0, href.find('#'));
        std::string path;
        for (std::size_t i = 0; i < href.size(); ++i) {
            if (href[i] == '%' && i + 2 < href.size()) {
                path += static_cast<char>(std::stoi(href.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                path += href[i];
            }
        }
        found.push_back({(fs::path(folder) / path).lexically_normal().generic_string(),
                         e2e::shownText(html.substr(tagEnd + 1, close - tagEnd - 1))});
    }
    return found;
}

class SpecialisationSite : public e2e::ProgramFixture {
protected:
    SpecialisationSite() : ProgramFixture("specialisations") {}

    void SetUp() override {
        ProgramFixture::SetUp();
        if (HasFatalFailure()) return;
        writeText(work() / "src/a-early/early.hpp", kEarly);
        writeText(work() / "src/include/text/utf.hpp", kUtf);
        writeText(work() / "src/include/text/reader.hpp", kReader);
        writeText(work() / "src/include/text/slot.hpp", kSlot);
        writeText(work() / "src/source/utf.cpp", kUtfSource);
    }

    void document(const std::string& module = "vantry-standard") {
        std::error_code ignored;
        fs::remove_all(work() / "out", ignored);
        const auto result = e2e::runChild(
            program_,
            {"-autorun", "-autoquit", "-overwrite", "-module=" + module, "-moduledir=" + moduleDir_.string(),
             "src/a-early=lib", "src/include/text=lib", "src/source=lib", "out/index.html"},
            childEnvironment(scratchVariables()), work(), logs());
        ASSERT_EQ(result.exitCode, 0) << result.describe();
    }

    std::string page(const std::string& path) const {
        const fs::path file = work() / "out/projects/lib" / path;
        EXPECT_TRUE(fs::is_regular_file(file)) << "no page " << path;
        return fs::is_regular_file(file) ? e2e::readFile(file) : std::string();
    }
    std::string text(const std::string& path) const { return e2e::shownText(page(path)); }

    // The targets of the page's links that show `shown`, as the page's own
    // folder resolves them.
    std::vector<std::string> targets(const std::string& path, const std::string& shown) const {
        std::vector<std::string> found;
        for (const ShownLink& link : linksOf(page(path), "projects/lib"))
            if (link.text == shown) found.push_back(link.target);
        return found;
    }
};

bool holds(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

TEST_F(SpecialisationSite, EachSpecialisationIsAClassOfItsOwn) {
    ASSERT_NO_FATAL_FAILURE(document());

    // The template keeps its page; each specialisation has one of its own,
    // with its own comment and members and no other's.
    const std::string utf = text("text..Utf.html");
    EXPECT_TRUE(contains(utf, "Class text::Utf ")) << utf;
    EXPECT_TRUE(contains(utf, "static unsigned decodeAny(const void* in) Decodes a unit of any width.")) << utf;
    EXPECT_FALSE(contains(utf, "decode(In begin")) << utf;

    const std::string utf8 = text("text..Utf-8.html");
    EXPECT_TRUE(contains(utf8, "Class text::Utf<8> ")) << utf8;
    EXPECT_TRUE(contains(utf8, "Conversions of UTF-8.")) << utf8;
    EXPECT_TRUE(contains(utf8, "template<typename In> static In decode(In begin, In end, unsigned& out) "
                               "Decodes one UTF-8 sequence."))
        << utf8;
    // A member defined in the source file is the class's it qualifies.
    EXPECT_TRUE(contains(utf8, "static std::size_t length(const char* text) Counts the characters of a UTF-8 text."))
        << utf8;
    EXPECT_FALSE(contains(utf8, "UTF-16")) << utf8;
    EXPECT_FALSE(contains(utf8, "decodeAny")) << utf8;

    const std::string utf16 = text("text..Utf-16.html");
    EXPECT_TRUE(contains(utf16, "Class text::Utf<16> ")) << utf16;
    EXPECT_TRUE(contains(utf16, "Decodes one UTF-16 pair.")) << utf16;
    EXPECT_TRUE(contains(utf16, "static bool isLead(unsigned short unit) Whether a unit begins a surrogate pair."));
    EXPECT_FALSE(contains(utf16, "UTF-8")) << utf16;
    EXPECT_FALSE(contains(utf16, "length(")) << utf16;

    // Partial specialisations, by what their arguments say.
    EXPECT_TRUE(contains(text("text..Width.html"), "static int bits() The width of anything."));
    const std::string pointers = text("text..Width-T~2A-Extra.html");
    EXPECT_TRUE(contains(pointers, "Struct text::Width<T*, Extra> ")) << pointers;
    EXPECT_TRUE(contains(pointers, "static int pointerBits() The width of a pointer.")) << pointers;
    EXPECT_FALSE(contains(pointers, "bits() The width of anything.")) << pointers;
    const std::string plain = text("text..Width-T-0.html");
    EXPECT_TRUE(contains(plain, "Struct text::Width<T, 0> ")) << plain;
    EXPECT_TRUE(contains(plain, "static int plainBits() The width without extras.")) << plain;
    // A definition that names the parameters otherwise is the member the
    // class declares, listed once; it makes no class of its own.
    auto linesWith = [&](const std::string& path, const std::string& part) {
        std::vector<std::string> found;
        for (const std::string& line : e2e::pageTextLines(page(path)))
            if (contains(line, part)) found.push_back(line);
        return found;
    };
    EXPECT_EQ(linesWith("text..Width.html", "bits()"),
              (std::vector<std::string>{"bits()", "public static int bits();"}));
    EXPECT_EQ(linesWith("text..Width-T-0.html", "plainBits()"),
              (std::vector<std::string>{"plainBits()", "public static int plainBits();"}));
    EXPECT_FALSE(fs::exists(work() / "out/projects/lib/text..Width-U-0.html"));

    // Nested in a class, met before its template, of another library's
    // template.
    const std::string cell = text("text..Table..Cell-char.html");
    EXPECT_TRUE(contains(cell, "public const char *chars; The characters of the cell.")) << cell;
    EXPECT_TRUE(contains(text("text..Table..Cell.html"), "public T value; The value of any cell."));
    EXPECT_TRUE(contains(text("text..Slot-1.html"), "public unsigned char byte; The byte."));
    const std::string slot = text("text..Slot.html");
    EXPECT_TRUE(contains(slot, "public unsigned char bytes[Size]; The bytes.")) << slot;
    EXPECT_FALSE(contains(slot, "The byte.")) << slot;
    EXPECT_TRUE(contains(text("std..hash-text..Reader.html"),
                         "std::size_t operator()(const text::Reader& reader) const The hash of a reader."));

    // A member function's specialisation is a member beside the template.
    const std::string reader = text("text..Reader.html");
    EXPECT_TRUE(contains(reader, "template<> void feed<char>(char unit) Feeds one character.")) << reader;
    EXPECT_TRUE(contains(reader, "template<typename T> void feed(T unit) Feeds any unit.")) << reader;

    // A base, a type in a declaration and references in a comment lead to
    // the specialisation they name; its page lists the class deriving from it.
    EXPECT_TRUE(contains(reader, "class text::Reader extends text::Utf<8>")) << reader;
    EXPECT_TRUE(holds(targets("text..Reader.html", "text::Utf<8>"), "projects/lib/text..Utf-8.html"));
    EXPECT_TRUE(holds(targets("text..Reader.html", "Utf"), "projects/lib/text..Utf-16.html"));
    EXPECT_TRUE(holds(targets("text..Reader.html", "Utf<16>"), "projects/lib/text..Utf-16.html"));
    EXPECT_TRUE(holds(targets("text..Reader.html", "plain widths"), "projects/lib/text..Width-T-0.html"));
    EXPECT_TRUE(holds(targets("text..Reader.html", "Table::Cell<char>"), "projects/lib/text..Table..Cell-char.html"));
    EXPECT_TRUE(contains(utf8, "Direct Known Subclasses: text::Reader")) << utf8;
    EXPECT_FALSE(contains(utf, "Direct Known Subclasses")) << utf;
    EXPECT_TRUE(holds(targets("text..Utf8.html", "Utf"), "projects/lib/text..Utf-8.html"));

    // The list of all classes and the index name each once, each leading
    // to its own page.
    const std::string all = e2e::readFile(work() / "out/index-allclasses-frame.html");
    for (const auto& [name, file] : std::vector<std::pair<std::string, std::string>>{
             {"text::Utf", "text..Utf.html"},
             {"text::Utf<8>", "text..Utf-8.html"},
             {"text::Utf<16>", "text..Utf-16.html"},
             {"text::Width<T*, Extra>", "text..Width-T~2A-Extra.html"},
             {"text::Slot<1>", "text..Slot-1.html"}}) {
        std::vector<std::string> found;
        for (const ShownLink& link : linksOf(all, "."))
            if (link.text == name) found.push_back(link.target);
        EXPECT_EQ(found, std::vector<std::string>{"projects/lib/" + file}) << name;
    }
    const std::string index = e2e::shownText(e2e::readFile(work() / "out/index-all.html"));
    EXPECT_TRUE(contains(index, "text::Utf<16> - class in lib Conversions of UTF-16.")) << index;
    EXPECT_TRUE(contains(index, "text::Utf<8> - class in lib Conversions of UTF-8.")) << index;

    const auto report = e2e::checkSite(work() / "out", e2e::AuthoredLinks({work() / "src"}));
    EXPECT_TRUE(report.clean()) << e2e::describe(report);

    // The old module writes a page for each, too.
    ASSERT_NO_FATAL_FAILURE(document("vantry-old"));
    EXPECT_TRUE(contains(text("text..Utf-16.html"), "Decodes one UTF-16 pair."));
    EXPECT_FALSE(contains(text("text..Utf-16.html"), "UTF-8"));
    const auto oldReport = e2e::checkSite(work() / "out", e2e::AuthoredLinks({work() / "src"}));
    EXPECT_TRUE(oldReport.clean()) << e2e::describe(oldReport);
}

}  // namespace
