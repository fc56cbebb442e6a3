// C# libraries as they are written today, documented by the program run as
// a child process: generic types of one name and several numbers of type
// parameters ("Envelope", "Envelope<TPayload>"), partial classes over two
// files, generic methods beside plain ones, properties and events with
// their accessors. Each test compares what a reader of the pages sees (the
// pages' text, and where their links lead) with the declarations and
// comments of the sources.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "e2e/ChildProcess.h"
#include "e2e/ProgramFixture.h"
#include "e2e/SiteCheck.h"

namespace fs = std::filesystem;

namespace {

using e2e::contains;
using e2e::writeText;

constexpr int kTimeLimit = 120;

// What a browser shows of a page, its lines joined and every run of blanks
// one blank, as a browser lays them out.
std::string pageText(const std::string& html) {
    std::string text;
    for (const std::string& line : e2e::shownLines(html)) {
        for (char c : " " + line) {
            const bool blank = c == ' ' || c == '\t';
            if (!(blank && (text.empty() || text.back() == ' '))) text += blank ? ' ' : c;
        }
    }
    return text;
}

// Each link of the page ("<a href=...>"): its target and its shown text.
std::vector<std::pair<std::string, std::string>> links(const std::string& html) {
    std::vector<std::pair<std::string, std::string>> found;
    const std::string open = "<a href=\"";
    for (std::size_t at = html.find(open); at != std::string::npos; at = html.find(open, at + 1)) {
        const std::size_t hrefEnd = html.find('"', at + open.size());
        const std::size_t tagEnd = html.find('>', hrefEnd);
        const std::size_t close = html.find("</a>", tagEnd);
        if (hrefEnd == std::string::npos || tagEnd == std::string::npos || close == std::string::npos) break;
        std::string shown;
        bool inTag = false;
        for (std::size_t i = tagEnd + 1; i < close; ++i) {
            if (html[i] == '<') inTag = true;
            else if (html[i] == '>') inTag = false;
            else if (!inTag) shown += html[i];
        }
        found.emplace_back(html.substr(at + open.size(), hrefEnd - at - open.size()), e2e::decodeEntities(shown));
    }
    return found;
}

// The targets of the page's links whose shown text is `text`, in page order.
std::vector<std::string> linkTargets(const std::string& html, const std::string& text) {
    std::vector<std::string> targets;
    for (const auto& [target, shown] : links(html))
        if (shown == text) targets.push_back(target);
    return targets;
}

// The target of the page's first link whose shown text is `text`, "" when
// there is none.
std::string firstTarget(const std::string& html, const std::string& text) {
    const std::vector<std::string> targets = linkTargets(html, text);
    return targets.empty() ? std::string() : targets.front();
}

// Every link target of the page.
std::vector<std::string> allTargets(const std::string& html) {
    std::vector<std::string> targets;
    for (const auto& link : links(html)) targets.push_back(link.first);
    return targets;
}

bool holds(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// A messaging library: a plain envelope and two generic ones beside it,
// classes deriving from each, and a lone generic class.
const char* const kEnvelopes = R"(using System;

namespace Acme.Messaging
{
    /// <summary>A message without a payload.</summary>
    public class Envelope
    {
        /// <summary>Makes an envelope stamped now.</summary>
        public Envelope() => SentAt = DateTimeOffset.UtcNow;

        /// <summary>When the message was sent.</summary>
        public DateTimeOffset SentAt { get; init; }

        /// <summary>Who receives the message.</summary>
        public string Recipient { get; set; } = "";

        /// <summary>Raised when the message was delivered.</summary>
        public event EventHandler Delivered;

        /// <summary>Marks the message delivered.</summary>
        public virtual void Deliver() => Delivered?.Invoke(this, EventArgs.Empty);
    }

    /// <summary>A message that carries a payload.</summary>
    /// <typeparam name="TPayload">The type of the payload.</typeparam>
    public class Envelope<TPayload> : Envelope
    {
        /// <summary>Makes an envelope around a payload.</summary>
        /// <param name="payload">What the message carries.</param>
        public Envelope(TPayload payload) => Payload = payload;

        /// <summary>The payload.</summary>
        public TPayload Payload { get; private set; }

        /// <summary>Whether a payload is there.</summary>
        public bool HasPayload => Payload is not null;

        /// <summary>Replaces the payload.</summary>
        public void Reseal(TPayload payload) { Payload = payload; }
    }

    /// <summary>A message with a payload and its metadata.</summary>
    public sealed class Envelope<TPayload, TMeta> : Envelope<TPayload>
    {
        /// <summary>Makes an envelope with metadata.</summary>
        public Envelope(TPayload payload, TMeta meta) : base(payload) => Meta = meta;

        /// <summary>The metadata.</summary>
        public TMeta Meta { get; }
    }
}
)";

const char* const kNotices = R"(namespace Acme.Messaging
{
    /// <summary>A text message.</summary>
    public class Notice : Envelope<string>
    {
        /// <summary>Makes a notice.</summary>
        public Notice(string text) : base(text) { }
    }

    /// <summary>A message that only says it arrived.</summary>
    public class Ping : Envelope
    {
    }

    /// <summary>Keeps <see cref="Envelope"/> and <see cref="Envelope{TPayload}"/> messages until they are read.</summary>
    public class Mailbox
    {
    }

    /// <summary>Counts the messages.</summary>
    public class Tally
    {
        /// <summary>The last count sent.</summary>
        public Envelope<int> Last { get; private set; }
    }
}
)";

// A registry split over two files, with a generic twin of its own.
const char* const kRegistry = R"(using System;
using System.Collections.Generic;

namespace Acme.Services
{
    /// <summary>Services by name.</summary>
    public partial class Registry
    {
        private readonly Dictionary<string, object> services = new();
        private EventHandler<string> added;

        /// <summary>Gets a service as an object.</summary>
        /// <param name="name">The service's name.</param>
        public object Get(string name) => services[name];

        /// <summary>Gets a service as the type asked for.</summary>
        /// <typeparam name="T">The service's type.</typeparam>
        public T Get<T>(string name) => (T)services[name];

        /// <summary>The service of a name.</summary>
        public object this[string name]
        {
            get { return services[name]; }
            set { services[name] = value; }
        }

        /// <summary>Raised when a service was added.</summary>
        public event EventHandler<string> Added { add => added += value; remove => added -= value; }
    }

    /// <summary>Services by a key of their own.</summary>
    public partial class Registry<TKey> where TKey : notnull
    {
        /// <summary>How many services there are.</summary>
        public int Count { get; private set; }
    }
}
)";

const char* const kRegistryLookup = R"(namespace Acme.Services
{
    public partial class Registry
    {
        /// <summary>Gets a service converted to another type.</summary>
        public TOut Get<TIn, TOut>(string name) where TIn : TOut => (TIn)services[name];

        /// <summary>Whether a service of the name is there.</summary>
        public bool Has(string name) => services.ContainsKey(name);
    }

    /// <summary>A key names one service at most.</summary>
    public partial class Registry<TKey>
    {
        /// <summary>Adds a service under its key.</summary>
        public void Add(TKey key, object service) => Count++;
    }
}
)";

const char* const kPool = R"(namespace Acme.Services
{
    /// <summary>Objects kept for reuse.</summary>
    public class Pool<T> where T : new()
    {
        /// <summary>Takes an object from the pool.</summary>
        public T Rent() => new T();
    }
}
)";

// Twins nested in a class, and in a twin: a node with and without a key,
// each with a branch of its own twins; one part of the keyed node in a
// second file, and a class deriving from it.
const char* const kForest = R"(namespace Acme.Forest
{
    /// <summary>A tree of nodes.</summary>
    /// <remarks>Keyed nodes are <see cref="Tree.Node{TKey}"/>, plain ones <see cref="Tree.Node"/>.</remarks>
    public partial class Tree
    {
        /// <summary>A node without a key.</summary>
        public class Node
        {
            /// <summary>How heavy the node is.</summary>
            public int Weight;
        }

        /// <summary>A node found by its key.</summary>
        public partial class Node<TKey>
        {
            /// <summary>The node's key.</summary>
            public TKey? Key;

            /// <summary>Visits the node.</summary>
            public void Visit() { }

            /// <summary>A bare branch; one with a value is <see cref="Branch{TValue}"/>.</summary>
            public class Branch
            {
                /// <summary>How deep the branch is.</summary>
                public int Depth;
            }

            /// <summary>A branch that holds a value.</summary>
            public class Branch<TValue>
            {
                /// <summary>The value held.</summary>
                public TValue Value;
            }
        }
    }
}
)";

const char* const kForestMore = R"(namespace Acme.Forest
{
    public partial class Tree
    {
        public partial class Node<TKey>
        {
            /// <summary>Drops the node.</summary>
            public void Drop() { }
        }
    }

    /// <summary>A leaf keyed by text.</summary>
    public class Leaf : Tree.Node<string>
    {
    }
}
)";

class CSharpSite : public e2e::ProgramFixture {
protected:
    CSharpSite() : ProgramFixture("csharp") {}

    void SetUp() override {
        ProgramFixture::SetUp();
        if (HasFatalFailure()) return;
        writeText(work() / "src/Messaging/Envelope.cs", kEnvelopes);
        writeText(work() / "src/Messaging/Kinds/Notices.cs", kNotices);
        writeText(work() / "src/Services/Registry.cs", kRegistry);
        writeText(work() / "src/Services/Lookup/Registry.Lookup.cs", kRegistryLookup);
        writeText(work() / "src/Services/Pool.cs", kPool);
        writeText(work() / "src/Forest/Tree.cs", kForest);
        writeText(work() / "src/Forest/More/Tree.More.cs", kForestMore);
    }

    e2e::ChildResult document(const std::string& module = "vantry-standard",
                              const std::map<std::string, std::string>& extra = {}) {
        auto variables = scratchVariables();
        variables.insert(extra.begin(), extra.end());
        e2e::ChildSignals none;
        none.count = 0;
        std::error_code ignored;
        fs::remove_all(work() / "out", ignored);
        auto result = e2e::runChild(program_,
                                    {"-autorun", "-autoquit", "-overwrite", "-accept3slash",
                                     "-module=" + module, "-moduledir=" + moduleDir_.string(), "src",
                                     "out/index.html"},
                                    childEnvironment(variables), work(), logs(), none, kTimeLimit);
        EXPECT_EQ(result.exitCode, 0) << result.describe();
        return result;
    }

    std::string page(const std::string& path) const {
        const fs::path file = work() / "out" / path;
        EXPECT_TRUE(fs::is_regular_file(file)) << "no page " << path;
        return fs::is_regular_file(file) ? e2e::readFile(file) : std::string();
    }
    std::string text(const std::string& path) const { return pageText(page(path)); }
};

TEST_F(CSharpSite, GenericTypesOfOneNameAreClassesOfTheirOwn) {
    document();
    const std::string messaging = "projects/Acme.Messaging/";
    const std::string plain = text(messaging + "Envelope.html");
    const std::string one = text(messaging + "Envelope-1.html");
    const std::string two = text(messaging + "Envelope-2.html");

    // Each page is its class's, with its own comment, base and members.
    EXPECT_TRUE(contains(plain, "Class Envelope ")) << plain;
    EXPECT_TRUE(contains(plain, "A message without a payload.")) << plain;
    EXPECT_TRUE(contains(plain, "Direct Known Subclasses: Envelope<TPayload>, Ping")) << plain;
    EXPECT_FALSE(contains(plain, "extends Envelope")) << plain;
    EXPECT_TRUE(contains(plain, "public Envelope(); Makes an envelope stamped now.")) << plain;
    EXPECT_FALSE(contains(plain, "TPayload payload")) << plain;

    EXPECT_TRUE(contains(one, "Class Envelope<TPayload> ")) << one;
    EXPECT_TRUE(contains(one, "class Envelope<TPayload> extends Envelope A message that carries a payload."))
        << one;
    EXPECT_TRUE(contains(one, "Direct Known Subclasses: Envelope<TPayload, TMeta>, Notice")) << one;
    EXPECT_TRUE(contains(one, "Constructor Summary Envelope(TPayload payload) Makes an envelope around a payload."))
        << one;
    EXPECT_TRUE(contains(one, "public void Reseal(TPayload payload); Replaces the payload.")) << one;
    EXPECT_FALSE(contains(one, "Makes an envelope stamped now.")) << one;
    EXPECT_FALSE(contains(one, "TMeta meta")) << one;

    EXPECT_TRUE(contains(two, "class Envelope<TPayload, TMeta> extends Envelope<TPayload> "
                              "A message with a payload and its metadata."))
        << two;
    EXPECT_TRUE(contains(two, "public Envelope(TPayload payload, TMeta meta); Makes an envelope with metadata."))
        << two;

    // A base names the class of its number of type arguments.
    EXPECT_EQ(firstTarget(page(messaging + "Notice.html"), "Envelope<TPayload>"),
              "../Acme.Messaging/Envelope-1.html");
    EXPECT_EQ(firstTarget(page(messaging + "Ping.html"), "Envelope"), "../Acme.Messaging/Envelope.html");
    EXPECT_EQ(firstTarget(page(messaging + "Envelope-2.html"), "Envelope<TPayload>"),
              "../Acme.Messaging/Envelope-1.html");

    // Both references of the comment, and a type of a declaration, lead
    // to the class they name.
    const std::vector<std::string> mailbox = allTargets(page(messaging + "Mailbox.html"));
    EXPECT_TRUE(holds(mailbox, "../Acme.Messaging/Envelope.html"));
    EXPECT_TRUE(holds(mailbox, "../Acme.Messaging/Envelope-1.html"));
    EXPECT_EQ(linkTargets(page(messaging + "Tally.html"), "Envelope"),
              std::vector<std::string>(2, "../Acme.Messaging/Envelope-1.html"));

    // The index and the list of all classes name each class once, each
    // leading to its own page.
    const std::string index = page("index-all.html");
    // The entries' own lines (the texts of comments below them have links
    // of their own).
    std::string entries;
    for (std::size_t at = index.find("<DT>"); at != std::string::npos; at = index.find("<DT>", at + 1))
        entries += index.substr(at, index.find('\n', at) - at) + "\n";
    EXPECT_TRUE(contains(pageText(index), "Envelope - class in Acme.Messaging A message without a payload."));
    EXPECT_TRUE(contains(pageText(index), "Envelope<TPayload> - class in Acme.Messaging A message that carries a payload."));
    for (const auto& [name, target] : std::map<std::string, std::string>{
             {"Envelope", "projects/Acme.Messaging/Envelope.html"},
             {"Envelope<TPayload>", "projects/Acme.Messaging/Envelope-1.html"},
             {"Envelope<TPayload, TMeta>", "projects/Acme.Messaging/Envelope-2.html"}}) {
        const std::vector<std::string> targets = linkTargets(entries, name);
        EXPECT_FALSE(targets.empty()) << name;
        for (const std::string& found : targets) EXPECT_EQ(found, target) << name;
    }
    const std::string all = page("index-allclasses-frame.html");
    EXPECT_EQ(linkTargets(all, "Envelope").size(), 1u);
    EXPECT_EQ(linkTargets(all, "Envelope<TPayload>").size(), 1u);

    // Partial classes are one class each, whatever files hold their parts;
    // a generic class without a twin keeps the page its name gives.
    const std::string registry = text("projects/Acme.Services/Registry.html");
    EXPECT_TRUE(contains(registry, "in Registry.cs ")) << registry;
    EXPECT_TRUE(contains(registry, "in Registry.Lookup.cs ")) << registry;
    EXPECT_TRUE(contains(registry, "public bool Has(string name); Whether a service of the name is there."));
    const std::string keyed = text("projects/Acme.Services/Registry-1.html");
    EXPECT_TRUE(contains(keyed, "Class Registry<TKey> ")) << keyed;
    // Each part's comment is the class's.
    const std::string head = keyed.substr(0, keyed.find("Field Summary"));
    EXPECT_TRUE(contains(head, "Services by a key of their own.")) << keyed;
    EXPECT_TRUE(contains(head, "A key names one service at most.")) << keyed;
    EXPECT_TRUE(contains(keyed, "public void Add(TKey key, object service); Adds a service under its key."));
    EXPECT_FALSE(contains(keyed, "Has(string name)")) << keyed;
    const std::string pool = text("projects/Acme.Services/Pool.html");
    EXPECT_TRUE(contains(pool, "Class Pool ")) << pool;
    EXPECT_TRUE(contains(pool, "public T Rent(); Takes an object from the pool.")) << pool;
    EXPECT_FALSE(fs::exists(work() / "out/projects/Acme.Services/Pool-1.html"));

    const auto report = e2e::checkSite(work() / "out", e2e::AuthoredLinks({work() / "src"}));
    EXPECT_TRUE(report.clean()) << e2e::describe(report);

    // The old module writes a page for each, too.
    document("vantry-old");
    EXPECT_TRUE(contains(text(messaging + "Envelope-1.html"),
                         "Constructors Envelope Envelope(TPayload payload); Makes an envelope around a payload."));
    EXPECT_TRUE(contains(text(messaging + "Envelope.html"), "Class Envelope "));
    const auto oldReport = e2e::checkSite(work() / "out", e2e::AuthoredLinks({work() / "src"}));
    EXPECT_TRUE(oldReport.clean()) << e2e::describe(oldReport);
}

TEST_F(CSharpSite, NestedTwinsAreClassesOfTheirOwn) {
    document();
    const std::string forest = "projects/Acme.Forest/";
    const std::string plain = text(forest + "Tree.Node.html");
    const std::string keyed = text(forest + "Tree.Node-1.html");

    EXPECT_TRUE(contains(plain, "Class Tree.Node ")) << plain;
    EXPECT_TRUE(contains(plain, "A node without a key.")) << plain;
    EXPECT_TRUE(contains(plain, "public int Weight; How heavy the node is.")) << plain;
    EXPECT_FALSE(contains(plain, "A node found by its key.")) << plain;
    EXPECT_FALSE(contains(plain, "Key")) << plain;

    // The keyed node has its members from both files, and only its own.
    EXPECT_TRUE(contains(keyed, "Class Tree.Node<TKey> ")) << keyed;
    EXPECT_TRUE(contains(keyed, "A node found by its key.")) << keyed;
    EXPECT_TRUE(contains(keyed, "public TKey? Key; The node's key.")) << keyed;
    EXPECT_TRUE(contains(keyed, "public void Visit(); Visits the node.")) << keyed;
    EXPECT_TRUE(contains(keyed, "public void Drop(); Drops the node.")) << keyed;
    EXPECT_FALSE(contains(keyed, "A node without a key.")) << keyed;
    EXPECT_FALSE(contains(keyed, "Weight")) << keyed;

    // Twins nested in a twin.
    const std::string branch = text(forest + "Tree.Node-1.Branch.html");
    EXPECT_TRUE(contains(branch, "Class Tree.Node<TKey>.Branch ")) << branch;
    EXPECT_TRUE(contains(branch, "public int Depth; How deep the branch is.")) << branch;
    const std::string valued = text(forest + "Tree.Node-1.Branch-1.html");
    EXPECT_TRUE(contains(valued, "Class Tree.Node<TKey>.Branch<TValue> ")) << valued;
    EXPECT_TRUE(contains(valued, "public TValue Value; The value held.")) << valued;
    EXPECT_FALSE(contains(valued, "Depth")) << valued;

    // References, the outer class's list of nested classes and a base lead
    // to the twin they name.
    const std::string tree = page(forest + "Tree.html");
    EXPECT_TRUE(holds(linkTargets(tree, "Tree.Node<TKey>"), "../Acme.Forest/Tree.Node-1.html")) << tree;
    EXPECT_TRUE(holds(linkTargets(tree, "Tree.Node"), "../Acme.Forest/Tree.Node.html")) << tree;
    for (const std::string& target : linkTargets(tree, "Tree.Node<TKey>"))
        EXPECT_EQ(target, "../Acme.Forest/Tree.Node-1.html");
    EXPECT_EQ(firstTarget(page(forest + "Tree.Node-1.Branch.html"), "Branch<TValue>"),
              "../Acme.Forest/Tree.Node-1.Branch-1.html");
    const std::vector<std::string> leaf = allTargets(page(forest + "Leaf.html"));
    EXPECT_TRUE(holds(leaf, "../Acme.Forest/Tree.Node-1.html"));
    EXPECT_FALSE(holds(leaf, "../Acme.Forest/Tree.Node.html"));

    const auto report = e2e::checkSite(work() / "out", e2e::AuthoredLinks({work() / "src"}));
    EXPECT_TRUE(report.clean()) << e2e::describe(report);
}

TEST_F(CSharpSite, AGenericMethodBesideAPlainOneIsAMemberOfItsOwn) {
    document();
    const std::string html = page("projects/Acme.Services/Registry.html");
    const std::string registry = pageText(html);
    EXPECT_TRUE(contains(registry, "object Get(string name) Gets a service as an object.")) << registry;
    EXPECT_TRUE(contains(registry, "T Get<T>(string name) Gets a service as the type asked for.")) << registry;
    EXPECT_TRUE(contains(registry, "TOut Get<TIn, TOut>(string name) where TIn:TOut Gets a service converted to another type."))
        << registry;
    EXPECT_TRUE(contains(registry, "public object Get(string name); Gets a service as an object."));
    EXPECT_TRUE(contains(registry, "public T Get<T>(string name); Gets a service as the type asked for."));

    // Each has an entry of the index, leading to its own.
    const std::string index = page("index-all.html");
    const std::vector<std::string> entries = linkTargets(index, "Get(string name)");
    ASSERT_EQ(entries.size(), 3u) << pageText(index);
    std::set<std::string> anchors;
    for (const std::string& entry : entries) {
        const std::size_t hash = entry.find('#');
        ASSERT_NE(hash, std::string::npos) << entry;
        EXPECT_EQ(entry.substr(0, hash), "projects/Acme.Services/Registry.html");
        anchors.insert(entry.substr(hash + 1));
        EXPECT_TRUE(contains(html, "<A NAME=\"" + entry.substr(hash + 1) + "\">")) << entry;
    }
    EXPECT_EQ(anchors.size(), 3u);
}

TEST_F(CSharpSite, PropertiesAndEventsAreShownAsDeclared) {
    document();
    const std::string envelope = text("projects/Acme.Messaging/Envelope.html");
    EXPECT_TRUE(contains(envelope, "public DateTimeOffset SentAt { get; init; } When the message was sent."))
        << envelope;
    EXPECT_TRUE(contains(envelope, "public string Recipient { get; set; } Who receives the message."));
    EXPECT_TRUE(contains(envelope, "public event EventHandler Delivered; Raised when the message was delivered."));
    // The summary row shows the accessors too.
    EXPECT_TRUE(contains(envelope, "string Recipient { get; set; } Who receives the message."));

    const std::string one = text("projects/Acme.Messaging/Envelope-1.html");
    EXPECT_TRUE(contains(one, "public TPayload Payload { get; private set; } The payload.")) << one;
    // An expression body is a getter.
    EXPECT_TRUE(contains(one, "public bool HasPayload { get; } Whether a payload is there.")) << one;
    EXPECT_TRUE(contains(text("projects/Acme.Messaging/Envelope-2.html"), "public TMeta Meta { get; } The metadata."));

    const std::string registry = text("projects/Acme.Services/Registry.html");
    EXPECT_TRUE(contains(registry, "public object this[string name] { get; set; } The service of a name."))
        << registry;
    EXPECT_TRUE(contains(registry, "public event EventHandler<string> Added { add; remove; } "
                                   "Raised when a service was added."))
        << registry;
    EXPECT_TRUE(contains(text("projects/Acme.Services/Registry-1.html"),
                         "public int Count { get; private set; } How many services there are."));
}

TEST_F(CSharpSite, OneThreadAndEightWriteTheSameSite) {
    const char* const kDateLine = "Generated by Vantry";
    document("vantry-standard", {{"VANTRY_THREADS", "1"}});
    const auto one = e2e::readSiteNormalised(work() / "out", kDateLine);
    ASSERT_TRUE(one.count("projects/Acme.Messaging/Envelope-2.html"));
    document("vantry-standard", {{"VANTRY_THREADS", "8"}});
    const auto eight = e2e::readSiteNormalised(work() / "out", kDateLine);
    ASSERT_EQ(eight.size(), one.size());
    for (const auto& [path, content] : one) {
        auto other = eight.find(path);
        ASSERT_NE(other, eight.end()) << path;
        EXPECT_TRUE(other->second == content) << path << " differs";
    }
}

}  // namespace
