#include "run/RunDocumentation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "run/DocModule.h"
#include "run/InputWalk.h"
#include "run/TestRecording.h"

using namespace testing_support;

namespace {

// A member as the module received it.
struct SentMember {
    std::string name, access, comment, declaration;
    bool operator==(const SentMember&) const = default;
};

std::ostream& operator<<(std::ostream& out, const SentMember& m) {
    return out << m.access << " " << m.declaration << " /" << m.comment << "/";
}

// A comment as the page shows it: the line break that ends it is no text.
std::string trimmed(std::string text) {
    text.erase(text.find_last_not_of(" \n") + 1);
    return text;
}

// A class as the module received it.
struct SentClass {
    std::string package, name, comment, files;
    std::vector<SentMember> members;
};

// A C++ library laid out as such libraries are: headers in one folder,
// sources in another, each folder its own project. Runs are made on one
// thread and on several, through the module that records what it gets.
class LibraryRun : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(scratch / "tmp");
        setenv("TEMP", (scratch / "tmp").c_str(), 1);
        setenv("VANTRY_RECORD_FILE", (scratch / "calls.txt").c_str(), 1);
        module = std::make_unique<DocModule>(testModulePath("vantry-recording"));
    }
    void TearDown() override {
        module.reset();
        for (const char* name : {"TEMP", "VANTRY_RECORD_FILE", "VANTRY_THREADS"}) unsetenv(name);
    }

    // Documents the entries (relative to the scratch directory) with the
    // number of threads; the classes sent, in the order sent.
    std::vector<SentClass> document(const std::vector<std::string>& entries, const char* threads) {
        setenv("VANTRY_THREADS", threads, 1);
        std::filesystem::remove(scratch / "calls.txt");
        RunContext run;
        run.extensions = {"cpp", "h"};
        run.languageMap = {{"cpp", 0}, {"h", 0}};
        run.detailDirectory = "projects";
        std::string list;
        for (const std::string& entry : entries) list += quoteListEntry(scratch / entry) + " ";
        const RunOutcome outcome =
            runDocumentation(run, "", "", "", "no-listings", scratch / "out/index.html", list, true,
                             false, SourceListingSettings(), DocCommentFormat(), module.get());
        EXPECT_EQ(outcome, RunOutcome::Done);
        std::vector<SentClass> sent;
        for (const RecordedCall& call : readRecording(scratch / "calls.txt")) {
            if (call[0] == "startClass")
                sent.push_back(SentClass{call[5], call[1], trimmed(call[2]), call[4], {}});
            else if (call[0] == "startMember" && !sent.empty())
                sent.back().members.push_back(SentMember{call[1], call[3], trimmed(call[2]), call[4]});
        }
        return sent;
    }

    // The classes sent under that name, the same on one thread and on eight.
    std::vector<SentClass> named(const std::vector<std::string>& entries, const std::string& name) {
        std::vector<SentClass> found[2];
        int run = 0;
        for (const char* threads : {"1", "8"}) {
            for (SentClass& cls : document(entries, threads))
                if (cls.name == name) found[run].push_back(std::move(cls));
            ++run;
        }
        EXPECT_EQ(found[0].size(), found[1].size());
        for (std::size_t i = 0; i < found[0].size() && i < found[1].size(); ++i) {
            EXPECT_EQ(found[1][i].package, found[0][i].package);
            EXPECT_EQ(found[1][i].files, found[0][i].files);
            EXPECT_EQ(found[1][i].members, found[0][i].members) << "on eight threads";
        }
        return found[0];
    }

    ScratchDirectory scratch;
    std::unique_ptr<DocModule> module;
};

const char* const widgetHeader =
    "#pragma once\n#include <string>\n\nnamespace gui {\n\n"
    "/** A control on a window. */\nclass Widget {\npublic:\n"
    "    /** Makes a widget of the given width. */\n    explicit Widget(int width);\n"
    "    /** Gives its resources back. */\n    virtual ~Widget();\n"
    "    /** Whether both show the same. */\n    bool operator==(const Widget& other) const;\n"
    "    /** The name, read only. */\n    const std::string& name() const;\n"
    "    /** The name, to change. */\n    std::string& name();\n"
    "    void paint();\n\nprotected:\n"
    "    /** Called once the size changed. */\n    virtual void resized(int width);\n\n"
    "private:\n    /** Lays the children out again. */\n    void relayout(int pass);\n"
    "    int width_;\n};\n\n}  // namespace gui\n";

// What the header declares, with its access and comments, in its order.
const std::vector<SentMember> declaredWidget = {
    {"Widget", "public", "Makes a widget of the given width.", "explicit Widget(int width);"},
    {"~Widget", "public", "Gives its resources back.", "virtual ~Widget();"},
    {"operator==", "public", "Whether both show the same.",
     "bool operator==(const Widget& other) const;"},
    {"name", "public", "The name, read only.", "const std::string& name() const;"},
    {"name", "public", "The name, to change.", "std::string& name();"},
    {"paint", "public", "Paints it on its window.", "void paint();"},
    {"resized", "protected", "Called once the size changed.", "virtual void resized(int width);"},
    {"relayout", "private", "Lays the children out again.", "void relayout(int pass);"},
    {"width_", "private", "", "int width_;"},
};

}  // namespace

// The class's members are defined in the sources, in both ways C++ allows
// (inside the namespace, and qualified by it), with comments of their own
// on some: one class, whose members keep the header's access and comments;
// a definition's comment is shown only where the header has none, and a
// member only the sources define (one the reader could not see declared)
// is shown as a definition in its own folder shows it: with no access
// word of its own.
TEST_F(LibraryRun, AClassDefinedInAnotherFolderThanItsHeaderIsOneClass) {
    scratch.write("gui/include/gui/widget.h", widgetHeader);
    scratch.write("gui/src/widget.cpp",
                  "#include \"gui/widget.h\"\n\nnamespace gui {\n\n"
                  "Widget::Widget(int width) : width_(width) {}\nWidget::~Widget() {}\n"
                  "bool Widget::operator==(const Widget& other) const { return width_ == other.width_; }\n"
                  "const std::string& Widget::name() const { static std::string n; return n; }\n"
                  "std::string& Widget::name() { static std::string n; return n; }\n\n"
                  "/** Paints it on its window. */\nvoid Widget::paint() { relayout(0); }\n\n"
                  "/** Not what the header says. */\nvoid Widget::relayout(int) {}\n\n}\n");
    scratch.write("gui/src/events.cpp",
                  "#include \"gui/widget.h\"\n\nvoid gui::Widget::resized(int w) { width_ = w; }\n\n"
                  "/** Handles a click. */\nvoid gui::Widget::clicked(int x, int y) {}\n");

    const std::vector<SentClass> widgets = named({"gui=Gui"}, "gui::Widget");
    ASSERT_EQ(widgets.size(), 1u);
    EXPECT_EQ(widgets[0].package, "include.gui");
    EXPECT_EQ(widgets[0].comment, "A control on a window.");
    // The class lists the sources that define its members too.
    EXPECT_EQ(widgets[0].files, "include/gui/widget.h|src/events.cpp|src/widget.cpp|");
    std::vector<SentMember> expected = declaredWidget;
    expected.push_back({"clicked", "", "Handles a click.", "void clicked(int x, int y);"});
    EXPECT_EQ(widgets[0].members, expected);
}

// A function of a namespace defined under the namespace's name belongs to
// the namespace its header declares, as a member of a class does.
TEST_F(LibraryRun, AFunctionDefinedUnderItsNamespaceNameJoinsTheHeadersNamespace) {
    scratch.write("net/include/net/net.h",
                  "namespace net {\n/** Opens the port. */\nvoid listen(int port);\n}\n");
    scratch.write("net/src/net.cpp", "#include \"net/net.h\"\n\nvoid net::listen(int p) {}\n"
                                     "/** Closes every port. */\nvoid net::shutdown() {}\n");
    const std::vector<SentClass> spaces = named({"net"}, "net");
    ASSERT_EQ(spaces.size(), 1u);
    EXPECT_EQ(spaces[0].package, "include.net");
    EXPECT_EQ(spaces[0].members,
              (std::vector<SentMember>{{"listen", "public", "Opens the port.", "void listen(int port);"},
                                       {"shutdown", "", "Closes every port.", "void shutdown();"}}));
}

// A source that reopens the namespace to define what the header declares
// adds no namespace of its own; what it declares that no header does stays
// in its folder, and so does a definition that two namespaces elsewhere
// declare. Sources read before the headers or after them alike.
TEST_F(LibraryRun, FunctionsDefinedInAReopenedNamespaceJoinTheirDeclarations) {
    scratch.write("net/include/net.h",
                  "namespace net {\n/** Opens the port. */\nvoid listen(int port);\n"
                  "/** Waits for any. */\nint poll(int timeout = -1);\n/** Starts over. */\nvoid reset();\n"
                  "namespace tls {\n/** Starts the handshake. */\nbool greet(const char* host) noexcept;\n}\n}\n");
    scratch.write("net/legacy/net.h", "namespace net {\n/** Starts over the old way. */\nvoid reset();\n}\n");
    scratch.write("net/src/net.cpp",
                  "#include \"net.h\"\n\nnamespace net {\nvoid listen(int p) {}\n"
                  "/** Not the header's words. */\nint poll(int t) { return 0; }\n"
                  "namespace tls {\nbool greet(const char* h) noexcept { return true; }\n}\n}\n");
    scratch.write("net/src/util.cpp",
                  "namespace net {\n/** Only the source has it. */\nvoid drain() {}\nvoid reset() {}\n}\n");
    const std::vector<SentMember> declared = {{"listen", "public", "Opens the port.", "void listen(int port);"},
                                              {"poll", "public", "Waits for any.", "int poll(int timeout = -1);"},
                                              {"reset", "public", "Starts over.", "void reset();"}};
    for (const std::vector<std::string>& entries :
         {std::vector<std::string>{"net"}, {"net/src=src", "net/legacy=legacy", "net/include=include"}}) {
        const std::vector<SentClass> spaces = named(entries, "net");
        ASSERT_EQ(spaces.size(), 3u) << entries[0];
        EXPECT_EQ(spaces[0].package, "include") << entries[0];
        EXPECT_EQ(spaces[0].members, declared) << entries[0];
        EXPECT_EQ(spaces[1].package, "legacy");
        EXPECT_EQ(spaces[2].package, "src");
        EXPECT_EQ(spaces[2].members,
                  (std::vector<SentMember>{{"drain", "public", "Only the source has it.", "void drain();"},
                                           {"reset", "public", "", "void reset();"}}));
        const std::vector<SentClass> tls = named(entries, "net::tls");
        ASSERT_EQ(tls.size(), 1u) << entries[0];
        EXPECT_EQ(tls[0].members, (std::vector<SentMember>{{"greet", "public", "Starts the handshake.",
                                                            "bool greet(const char* host) noexcept;"}}));
        EXPECT_EQ(tls[0].files, "include/net.h|src/net.cpp|");
    }
}

// The sources may be read before the header: a folder that sorts first,
// or an entry listed first.
TEST_F(LibraryRun, TheSourcesMayBeReadBeforeTheHeader) {
    scratch.write("gui/headers/widget.h", widgetHeader);
    scratch.write("gui/code/widget.cpp",
                  "#include \"widget.h\"\n\n/** Paints it on its window. */\n"
                  "void gui::Widget::paint() {}\nvoid gui::Widget::relayout(int pass) {}\n");
    for (const std::vector<std::string>& entries :
         {std::vector<std::string>{"gui"}, {"gui/code=Impl", "gui/headers=Api"}}) {
        const std::vector<SentClass> widgets = named(entries, "gui::Widget");
        ASSERT_EQ(widgets.size(), 1u) << entries[0];
        EXPECT_EQ(widgets[0].package, entries.size() == 1 ? "headers" : "Api");
        EXPECT_EQ(widgets[0].members, declaredWidget) << entries[0];
    }
}

// A class of that name in two other folders leaves the definitions where
// they are, as does none: nothing says which class they belong to.
TEST_F(LibraryRun, DefinitionsWithoutOneClassDeclaredElsewhereStayInTheirFolder) {
    for (const char* side : {"left", "right"})
        scratch.write(std::string("app/") + side + "/panel.h",
                      "/** The " + std::string(side) + " panel. */\nclass Panel {\nprivate:\n"
                      "    /** Fills it. */\n    void fill();\n};\n");
    scratch.write("app/src/panel.cpp",
                  "/** Fills the panel. */\nvoid Panel::fill() {}\n"
                  "/** Starts the engine. */\nvoid Engine::start(int gear) {}\n");

    const std::vector<SentClass> panels = named({"app"}, "Panel");
    ASSERT_EQ(panels.size(), 3u);
    EXPECT_EQ(panels[0].package, "left");
    EXPECT_EQ(panels[1].package, "right");
    for (const SentClass& declared : {panels[0], panels[1]})
        EXPECT_EQ(declared.members,
                  (std::vector<SentMember>{{"fill", "private", "Fills it.", "void fill();"}}));
    EXPECT_EQ(panels[2].package, "src");
    EXPECT_EQ(panels[2].members,
              (std::vector<SentMember>{{"fill", "", "Fills the panel.", "void fill();"}}));

    const std::vector<SentClass> engines = named({"app"}, "Engine");
    ASSERT_EQ(engines.size(), 1u);
    EXPECT_EQ(engines[0].package, "src");
    EXPECT_EQ(engines[0].members, (std::vector<SentMember>{{"start", "", "Starts the engine.",
                                                            "void start(int gear);"}}));
}
