#include "run/SourceListing.h"

#include <cctype>
#include <sstream>

#include "VelkLib/VelkDirectory.h"
#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkPath.h"
#include "model/Keywords.h"
#include "reader/Preprocessor.h"
#include "reader/TokenReader.h"
#include "run/PathComponent.h"

namespace {

// Writes characters, escaping angle brackets and expanding tabs, and keeps
// the column for the tab stops.
class ListingWriter {
public:
    ListingWriter(std::ostream& out, int tabSize) : out(out), tabSize(tabSize < 1 ? 1 : tabSize) {}

    void put(char c) {
        switch (c) {
            case '\t': {
                int blanks = tabSize - column % tabSize;
                out << std::string(static_cast<std::size_t>(blanks), ' ');
                column += blanks;
                return;
            }
            case '\n': out << '\n'; column = 0; return;
            case '<': out << "&#60;"; break;
            case '>': out << "&#62;"; break;
            default: out << c;
        }
        ++column;
    }
    void put(const std::string& text) {
        for (char c : text) put(c);
    }
    // Markup: written as it stands, no column.
    void raw(const std::string& markup) { out << markup; }
    void advance(int columns) { column += columns; }
    void newLine() {
        out << '\n';
        column = 0;
    }

    std::ostream& out;

private:
    int tabSize;
    int column = 0;
};

std::string fontOpen(const std::string& color) { return "<font color=\"" + color + "\">"; }

bool isStringToken(const std::string& token) {
    return !token.empty() && (token[0] == '"' || token[0] == '\'');
}

// The colour of a token, or null for none; the first matching class wins.
const std::string* tokenColor(const std::string& token, bool joinedInclude,
                              const SourceListingOptions& options) {
    const SyntaxColorSettings& colors = options.colors;
    if (isKeyword(token, options.language) || Preprocessor::isPreprocessorLine(token))
        return &colors.keyword;
    if (joinedInclude || isStringToken(token)) return &colors.string;
    if (isListingNumber(token)) return &colors.number;
    if (colors.userKeywords.count(token) != 0) return &colors.userKeyword;
    if (isOperatorToken(token)) return &colors.op;
    if (isSeparatorToken(token)) return &colors.separator;
    return nullptr;
}

// After a "/" token: a block or line comment, written whole. Returns false
// (with nothing taken from the stream) when no comment starts here.
bool writeComment(CppStream& in, ListingWriter& writer, const SourceListingOptions& options) {
    int next = in.peek();
    if (next != '*' && next != '/') return false;
    in.get();
    bool colored = options.syntaxColor;
    if (next == '*') {
        if (colored) writer.raw(fontOpen(options.colors.comment));
        writer.put("/*");
        bool star = false;
        for (int c = in.get(); c != EOF; c = in.get()) {
            writer.put(static_cast<char>(c));
            if (star && c == '/') {
                if (colored) writer.raw("</font>");
                return true;
            }
            star = c == '*';
        }
        return true;  // the comment runs to the end of the file
    }
    std::string rest = in.getLine();
    if (colored) writer.raw(fontOpen(options.colors.comment));
    writer.put("//");
    writer.put(rest);
    if (colored) writer.raw("</font>");
    writer.newLine();
    return true;
}

}  // namespace

bool isListingNumber(const std::string& token) {
    bool hex = token.size() >= 3 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X');
    bool digit = false;
    for (std::size_t i = hex ? 2 : 0; i < token.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(token[i]);
        if (c >= '0' && c <= '9') digit = true;
        else if (c != '-' && c != '.' && !(hex && std::isxdigit(c))) return false;
    }
    return digit || hex;
}

void renderSourceListing(CppStream& in, std::ostream& out, const SourceListingOptions& options) {
    ListingWriter writer(out, options.tabSize);
    std::string previous;
    auto read = [&in](std::string* blank) {
        return readToken(in, nullptr, true, 0, 0, true, blank, false);
    };
    // A token read ahead and not joined, with the blank before it.
    bool havePending = false;
    std::string pendingToken, pendingBlank;
    for (;;) {
        std::string blank;
        std::string token;
        if (havePending) {
            havePending = false;
            token = std::move(pendingToken);
            blank = std::move(pendingBlank);
        } else {
            token = read(&blank);
        }
        writer.put(blank);
        if (token.empty()) break;

        // Comments: written character by character, so that nothing in
        // them is read as a literal.
        if (token == "/" && writeComment(in, writer, options)) {
            previous.clear();
            continue;
        }
        if (token == "#") {
            // The blank between is dropped, but a "#" alone on its line is
            // not joined with the next line: the listing keeps its lines.
            std::string between;
            std::string name = read(&between);
            if (between.find('\n') == std::string::npos) {
                token += name;
            } else {
                havePending = true;
                pendingToken = std::move(name);
                pendingBlank = std::move(between);
            }
        }
        bool joinedInclude = false;
        if (token == "<" && (previous == "#include" || previous == "#using")) {
            joinedInclude = true;
            for (std::string part; token.back() != '>';) {
                std::string inner;
                part = read(&inner);
                if (part.empty()) break;
                token += inner + part;
            }
        }
        previous = token;

        const std::string* color =
            options.syntaxColor ? tokenColor(token, joinedInclude, options) : nullptr;
        if (color != nullptr) writer.raw(fontOpen(*color));
        writer.put(token);
        if (color != nullptr) writer.raw("</font>");
    }
}

std::string sourceListingPath(const std::string& sourceFile, const std::string& packageName,
                              const std::string& outputDirectory,
                              const std::string& detailDirectory) {
    std::string base = isRelativePath(detailDirectory)
                           ? outputDirectory + "/" + detailDirectory
                           : detailDirectory;
    if (!packageName.empty()) base += "/" + safePathComponent(packageName);
    return base + "/" + fileNameOf(sourceFile) + ".html";
}

std::string writeSourceListing(const std::string& sourceFile, const std::string& packageName,
                               const std::string& outputDirectory,
                               const std::string& detailDirectory,
                               const SourceListingOptions& options) {
    std::string page = sourceListingPath(sourceFile, packageName, outputDirectory, detailDirectory);
    // Read as text: a carriage return before a line feed is dropped.
    std::string text;
    {
        VelkInFile input(sourceFile, true);
        std::ostringstream whole;
        whole << input.getStream().rdbuf();
        const std::string raw = whole.str();
        text.reserve(raw.size());
        for (std::size_t i = 0; i < raw.size(); ++i)
            if (!(raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')) text += raw[i];
    }
    CppStrStream stream(text, sourceFile);
    std::ostringstream body;
    renderSourceListing(stream, body, options);

    VelkDirectory directory(directoryOf(page), true);
    VelkOutFile output(page, true, false);
    std::ostringstream title;
    ListingWriter(title, 1).put(fileNameOf(sourceFile));
    output.write("<HTML>\n<HEAD>\n<TITLE>\n" + title.str() + "\n</TITLE>\n</HEAD>\n<BODY>\n<PRE>\n");
    output.write(body.str());
    output.write("\n</PRE>\n</BODY>\n</HTML>\n");
    output.close();
    return page;
}
