// What the class pages show of declarations as today's C and C++ libraries
// write them: typedef'd and nested structs, export macros, macro calls
// written without their ";", global constants. The program runs as a build
// script runs it; the tests read the pages as a browser shows them.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/ChildProcess.h"
#include "e2e/ProgramFixture.h"
#include "e2e/SiteCheck.h"

namespace fs = std::filesystem;

namespace {

using e2e::commentsUnder;
using e2e::shownLines;
using Comments = std::vector<std::string>;

class DeclarationPages : public e2e::ProgramFixture {
protected:
    DeclarationPages() : ProgramFixture("declarations") {}

    // Documents the folder src as the project lib into out/index.html.
    void document(const std::vector<std::string>& options = {}) {
        fs::remove_all(work() / "out");
        std::vector<std::string> args{"-autorun", "-autoquit", "-overwrite", "-module=vantry-standard",
                                      "-moduledir=" + moduleDir_.string()};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), {"src=lib", "out/index.html"});
        const auto result = e2e::runChild(program_, args, childEnvironment(scratchVariables()), work(), logs());
        ASSERT_EQ(result.exitCode, 0) << result.describe();
    }

    // The lines of the page of a class of lib ("A::B" is on "A..B.html").
    std::vector<std::string> page(std::string name) const {
        std::replace(name.begin(), name.end(), ':', '.');
        const fs::path file = work() / "out/projects/lib" / (name + ".html");
        return fs::is_regular_file(file) ? shownLines(e2e::readFile(file)) : std::vector<std::string>{};
    }

    static bool shows(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

TEST_F(DeclarationPages, TypedefdAndNestedStructsShowTheirFields) {
    e2e::writeText(work() / "src/json.h",
                   "/** Decoder state, kept between calls. */\n"
                   "typedef struct {\n    /** Bytes consumed so far. */\n    size_t consumed;\n"
                   "    unsigned char pending[4];\n} utf8_state, *utf8_state_ptr;\n\n"
                   "typedef union {\n    double number;\n    const char *text;\n} json_payload;\n\n"
                   "typedef enum {\n    /** Nothing stored. */\n    JSON_NULL,\n    JSON_NUMBER\n} json_kind;\n\n"
                   "typedef struct __attribute__((packed)) {\n    unsigned short length;\n} frame_header;\n\n"
                   "struct json_node {\n    json_kind kind;\n    /** The stored value. */\n"
                   "    union {\n        double number;\n        const char *text;\n    } value;\n"
                   "    union {\n        struct json_node *first_child;\n        size_t free_slot;\n    };\n};\n");
    e2e::writeText(work() / "src/session.hpp",
                   "namespace net { class Handler; }\nclass Session {\npublic:\n"
                   "    typedef class net::Handler Handler;\n    Handler *handler;\n};\n");
    ASSERT_NO_FATAL_FAILURE(document());

    const auto state = page("utf8_state");
    EXPECT_TRUE(shows(state, "struct utf8_state"));
    EXPECT_EQ(commentsUnder(state, "public size_t consumed;"), Comments{"Bytes consumed so far."});
    EXPECT_TRUE(shows(state, "public unsigned char pending[4];"));
    EXPECT_TRUE(shows(page("utf8_state_ptr"), "public typedef utf8_state *utf8_state_ptr;"));
    const auto payload = page("json_payload");
    EXPECT_TRUE(shows(payload, "public double number;"));
    EXPECT_TRUE(shows(payload, "public const char *text;"));
    EXPECT_EQ(commentsUnder(page("json_kind"), "public JSON_NULL;"), Comments{"Nothing stored."});
    EXPECT_TRUE(shows(page("json_kind"), "public JSON_NUMBER;"));
    EXPECT_TRUE(shows(page("frame_header"), "public unsigned short length;"));

    // A union without a name of its own holds the node's own fields; one
    // that declares a field is a type of its own, named as such types are.
    const auto node = page("json_node");
    EXPECT_TRUE(shows(node, "public struct json_node *first_child;"));
    EXPECT_TRUE(shows(node, "public size_t free_slot;"));
    EXPECT_EQ(commentsUnder(node, "public json_node::anonymous_union_1 value;"), Comments{"The stored value."});
    const auto value = page("json_node::anonymous_union_1");
    EXPECT_TRUE(shows(value, "public double number;"));
    EXPECT_TRUE(shows(value, "public const char *text;"));

    EXPECT_TRUE(shows(page("Session"), "Session::Handler"));
    EXPECT_TRUE(shows(page("Session::Handler"), "public typedef class net::Handler Handler;"));
}

TEST_F(DeclarationPages, AMacroCallOnALineOfItsOwnIsNoPartOfTheNextDeclaration) {
    e2e::writeText(work() / "src/view.h",
                   "class DocView : public ScrollView {\npublic:\n    DocView();\n    ~DocView();\n"
                   "private:\n    int zoom;\n};\n");
    e2e::writeText(work() / "src/view.cpp",
                   "#include \"view.h\"\n\nIMPLEMENT_DYNCREATE(DocView, ScrollView)\n\n"
                   "/** Creates an empty view. */\nDocView::DocView() : zoom(1) {}\n\n"
                   "LOGGING_CATEGORY(lcView, \"app.view\")\n/** Ends the view. */\nDocView::~DocView() {}\n\n"
                   "DECLARE_ERROR(RenderError, VIEW_EXPORT)\n/** Rounds a size up to the tile grid. */\n"
                   "inline std::size_t tileAligned(std::size_t n) { return (n + 63) & ~63; }\n");
    ASSERT_NO_FATAL_FAILURE(document());
    const auto view = page("DocView");
    EXPECT_EQ(commentsUnder(view, "public DocView();"), Comments{"Creates an empty view."});
    EXPECT_EQ(commentsUnder(view, "public ~DocView();"), Comments{"Ends the view."});
    EXPECT_EQ(commentsUnder(page("(lib__globals)"), "inline std::size_t tileAligned(std::size_t n);"),
              Comments{"Rounds a size up to the tile grid."});
}

TEST_F(DeclarationPages, DocumentMarkersAreFoundAfterExportMacros) {
    e2e::writeText(work() / "src/net.h",
                   "#define NET_API __attribute__((visibility(\"default\")))\n"
                   "/** A connection. */\nclass NET_API PUBLISHED Connection {\npublic:\n    void close();\n};\n"
                   "/** Pooled connections. */\nclass NET_API INTERNAL ConnectionPool {\npublic:\n"
                   "    void drain();\n};\n/** Finds hosts. */\nclass NET_API Resolver {\npublic:\n"
                   "    void lookup();\n};\n");
    ASSERT_NO_FATAL_FAILURE(document({"-nodocument-marker=INTERNAL"}));
    EXPECT_TRUE(shows(page("Connection"), "public void close();"));
    EXPECT_TRUE(shows(page("Resolver"), "public void lookup();"));
    EXPECT_TRUE(page("ConnectionPool").empty());
    EXPECT_FALSE(shows(page("(lib__globals)"), "void drain();"));

    ASSERT_NO_FATAL_FAILURE(document({"-onlydocument-marker=PUBLISHED"}));
    EXPECT_TRUE(shows(page("Connection"), "public void close();"));
    EXPECT_TRUE(shows(page("Connection"), "A connection."));
    EXPECT_TRUE(page("Resolver").empty());
    EXPECT_TRUE(page("ConnectionPool").empty());
}

TEST_F(DeclarationPages, GlobalConstantsAreDocumentedWhenAskedFor) {
    e2e::writeText(work() / "src/wire.h",
                   "/** Largest frame accepted. */\nstatic const size_t kMaxFrame = 65536;\n"
                   "/** Protocol name. */\nconst char *const kProtocol = \"wire/1\";\n"
                   "constexpr int kRetries = 3;\n/** Frames sent so far. */\nunsigned long framesSent = 0;\n"
                   "/** Last error text. */\nconst char *lastError;\n"
                   "struct Limits {\n    static const int depth;\n};\n/** Deepest nesting. */\n"
                   "const int Limits::depth = 8;\n");
    // Written after the type, on the pointer itself, and at namespace scope.
    e2e::writeText(work() / "src/codes.h",
                   "/** The wire's byte order. */\nint const kOrder = 1;\n"
                   "/** Where replies go. */\nchar *const kReplyBuffer = nullptr;\n"
                   "/** Defaults, once read. */\nextern const struct Defaults kDefaults;\n"
                   "namespace wire {\n/** Most channels open at once. */\nconst int kMaxChannels = 16;\n"
                   "/** Bytes of a header. */\ninline constexpr std::size_t kHeaderSize = 12;\n"
                   "/** The name of the wire. */\nconstexpr auto kName = \"wire\";\n"
                   "/** Channels open now. */\nint openChannels = 0;\n"
                   "/** The last peer's name. */\nconst char *lastPeer = nullptr;\n"
                   "namespace v2 {\n/** Timeout, in seconds. */\nstatic const double kTimeout = 2.5;\n}\n"
                   "/** A channel. */\nstruct Channel {\n    /** Frames queued at most. */\n"
                   "    static constexpr int kQueue = 4;\n};\n}\n");
    const Comments constants[] = {{"static const size_t kMaxFrame;", "Largest frame accepted."},
                                  {"const char *const kProtocol;", "Protocol name."},
                                  {"int const kOrder;", "The wire's byte order."},
                                  {"char *const kReplyBuffer;", "Where replies go."},
                                  {"extern const struct Defaults kDefaults;", "Defaults, once read."}};
    const Comments namespaceConstants[] = {{"public const int kMaxChannels;", "Most channels open at once."},
                                           {"public inline constexpr std::size_t kHeaderSize;", "Bytes of a header."},
                                           {"public constexpr auto kName;", "The name of the wire."}};
    for (const bool asked : {false, true}) {
        ASSERT_NO_FATAL_FAILURE(document(asked ? std::vector<std::string>{"-include-const"}
                                               : std::vector<std::string>{}));
        const auto globals = page("(lib__globals)");
        for (const Comments& constant : constants)
            EXPECT_EQ(commentsUnder(globals, constant[0]), asked ? Comments{constant[1]} : Comments{})
                << constant[0];
        EXPECT_EQ(shows(globals, "constexpr int kRetries;"), asked);
        // Variables that may be set, and a class's constant, are always shown.
        EXPECT_EQ(commentsUnder(globals, "unsigned long framesSent;"), Comments{"Frames sent so far."});
        EXPECT_EQ(commentsUnder(globals, "const char *lastError;"), Comments{"Last error text."});
        EXPECT_EQ(commentsUnder(page("Limits"), "public static const int depth;"), Comments{"Deepest nesting."});
        const auto wire = page("wire");
        for (const Comments& constant : namespaceConstants)
            EXPECT_EQ(commentsUnder(wire, constant[0]), asked ? Comments{constant[1]} : Comments{})
                << constant[0];
        EXPECT_EQ(commentsUnder(page("wire::v2"), "public static const double kTimeout;"),
                  asked ? Comments{"Timeout, in seconds."} : Comments{});
        EXPECT_EQ(commentsUnder(wire, "public int openChannels;"), Comments{"Channels open now."});
        EXPECT_EQ(commentsUnder(wire, "public const char *lastPeer;"), Comments{"The last peer's name."});
        EXPECT_EQ(commentsUnder(page("wire::Channel"), "public static constexpr int kQueue;"),
                  Comments{"Frames queued at most."});
    }
}

}  // namespace
