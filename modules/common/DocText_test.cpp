#include "modules/common/DocText.h"

#include <gtest/gtest.h>

namespace {

// A comment as Java sources write it: what a browser would read as markup
// is shown as text, everything else stays the author's HTML.
TEST(DocText, TypeParametersAndCodeAreShownNotOpened) {
    const std::string comment =
        "Maps a value of {@code Optional<T>} to <i>another</i>.\n"
        "@param <U> The type of the {@code Optional} returned\n"
        "   @param\tmapper the mapping function, not <U>\n"
        "{@literal a<b && c>d} and {@link Map#get(Object)} as written\n"
        "{@code if (a) { b(); }\n"
        "@param <X> inside code}\n"
        "no @param <V> here\n";
    EXPECT_EQ(documentationText(comment),
              "Maps a value of <code>Optional&lt;T&gt;</code> to <i>another</i>.\n"
              "@param &lt;U&gt; The type of the <code>Optional</code> returned\n"
              "   @param\tmapper the mapping function, not <U>\n"
              "a&lt;b &amp;&amp; c&gt;d and {@link Map#get(Object)} as written\n"
              "<code>if (a) { b(); }\n"
              "@param &lt;X&gt; inside code</code>\n"
              "no @param <V> here\n");
    // The line breaks the reader writes between comment lines stay breaks.
    EXPECT_EQ(documentationText("{@code List<E><BR>\nnext}"), "<code>List&lt;E&gt;<BR>\nnext</code>");
    // A tag that ends its line is named by its word even when a break was
    // inserted after it: the code text starts with that break. The break
    // before a "}" on a line of its own is no text.
    EXPECT_EQ(documentationText("Use {@code<BR>\nlist.get(0)<BR>\n} now"),
              "Use <code><BR>\nlist.get(0)</code> now");
    EXPECT_EQ(documentationText("{@code a<BR>\n}"), "<code>a</code>");
    EXPECT_EQ(documentationText("{@literal<BR>\na<b}"), "<BR>\na&lt;b");
    // A tag without its "}" takes the rest; "@param" alone is no tag line.
    EXPECT_EQ(documentationText("{@code <T>"), "<code>&lt;T&gt;</code>");
    EXPECT_EQ(documentationText("@param"), "@param");
    EXPECT_EQ(documentationText("@parameter <U>"), "@parameter <U>");
}

// A value tag is what the writer makes of its text (the reference, trimmed,
// "" for a bare tag); without a writer, and for every other tag, the tag
// stays as written, however deep tags nest.
TEST(DocText, ValueTagsAreWhatTheWriterMakesOfThem) {
    const ValueTagWriter values = [](std::string& out, std::string_view text) {
        out += "[" + std::string(text) + "]";
    };
    EXPECT_EQ(documentationText("a is {@value}, b {@value #B } and {@value<BR>\nLimits#C<BR>\n}.", values),
              "a is [], b [#B] and [Limits#C].");
    EXPECT_EQ(documentationText("a is {@value #A}, {@link #A}, {@valued #A}"),
              "a is {@value #A}, {@link #A}, {@valued #A}");
    EXPECT_EQ(documentationText("{@value {@code x} {@link Y}}", values), "[{@code x} {@link Y}]");
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "{@link C {@foo ";
    EXPECT_EQ(documentationText(deep, values), deep);
    std::string code = "{@code ";
    for (int i = 0; i < 100000; ++i) code += "{@code ";
    EXPECT_EQ(documentationText(code), "<code>" + code.substr(7, code.size() - 8) + "</code>");
}

}  // namespace

namespace {

// A C# comment as authors write it today: each element becomes the tag a
// Java comment writes for it, with the element's own words.
TEST(XmlDocAsTags, ElementsBecomeTheTagsTheyStandFor) {
    const std::string comment =
        " <summary>\n"
        " Finds an entry by its key.\n"
        " </summary>\n"
        " <remarks>Lookups take the lock; see <see cref=\"Lock\"/>.</remarks>\n"
        " <typeparam name=\"TKey\">The kind of key.</typeparam>\n"
        " <param name=\"key\">The key, as stored.</param>\n"
        " <param name=\"wait\">How long to wait,\n"
        " <c>0</c> for not at all.</param>\n"
        " <returns>The entry, or <see langword=\"null\"/>.</returns>\n"
        " <exception cref=\"T:System.TimeoutException\">The lock was not given in time.</exception>\n"
        " <seealso cref=\"Cache{TKey}.Evict\"/>\n";
    EXPECT_EQ(xmlDocAsTags(comment),
              "Finds an entry by its key.\n"
              "<p>Lookups take the lock; see {@link Lock}.\n"
              "@param <TKey> The kind of key.\n"
              "@param key The key, as stored.\n"
              "@param wait How long to wait,\n <code>0</code> for not at all.\n"
              "@return The entry, or {@code null}.\n"
              "@throws System.TimeoutException The lock was not given in time.\n"
              "@see Cache{TKey}.Evict");
    // The summary comes first wherever it is written; a property's value
    // follows it; lines joined with breaks keep them.
    EXPECT_EQ(xmlDocAsTags("<value>The count, never negative.</value><BR>\n"
                           "<summary>How many there are.</summary><BR>\n"),
              "How many there are.\n<p>The count, never negative.");
    // A cref keeps its type arguments, however they are written, and a
    // label; a parameter named in the text is code.
    EXPECT_EQ(xmlDocAsTags("<summary>Like <see cref=\"Cache&lt;TKey, TValue&gt;\">the cache</see>"
                           " for <paramref name=\"key\"/>.</summary>"),
              "Like {@link Cache{TKey, TValue} the cache} for {@code key}.");
    // For pages that show the tags as written, a reference is the name
    // the author wrote, or the label given to it.
    EXPECT_EQ(xmlDocAsTags("<summary>Like <see cref=\"T:Cache{TKey, TValue}\"/> or "
                           "<see cref=\"Cache&lt;TKey&gt;\">the cache</see>.</summary>"
                           "<seealso cref=\"Cache{TKey}.Evict\"/>",
                           CrefReading::code),
              "Like {@code Cache<TKey, TValue>} or the cache.\n@see {@code Cache<TKey>.Evict}");
}

TEST(XmlDocAsTags, CodeParagraphsAndOtherElements) {
    // A code block keeps its lines as written (no break of the comment's
    // between them); code within a line is code text; a paragraph is one;
    // other elements keep their words.
    EXPECT_EQ(xmlDocAsTags("<summary>Use it so:<code><BR>\n"
                           "   var x = Make();<BR>\n"
                           "   x.Run();<BR>\n"
                           "</code><para>Then <code>x.Stop()</code>.</para></summary><BR>\n"
                           "<example>Try <c>Run</c> first.</example>"),
              "Use it so:<pre>   var x = Make();\n   x.Run();</pre><p>Then <code>x.Stop()</code>.</p>\n"
              "<p><example>Try <code>Run</code> first.</example>");
    // A line of the author's that starts with "@" is no tag.
    EXPECT_EQ(xmlDocAsTags("<summary>Marks it\n@Obsolete for good.</summary>"),
              "Marks it\n&#64;Obsolete for good.");
    EXPECT_EQ(xmlDocAsTags("<param name=\"x\">First\n  @see below</param>"),
              "@param x First\n  &#64;see below");
}

TEST(XmlDocAsTags, WhatIsNotReadStaysAsWritten) {
    for (const char* comment : {
             "Plain text, a < b, and @param x in the middle.",
             "<inheritdoc/>",
             "<summary>Starts <c>here and never ends",
             "<list type=\"bullet\"><item><description>One</description></item></list>",
             "<param>A parameter without its name.</param>",
             "<see cref=unquoted/> and <see href=\"https://example.org\">a site</see>",
         })
        EXPECT_EQ(xmlDocAsTags(comment), comment);
    // An element left open inside another ends with it, as written.
    EXPECT_EQ(xmlDocAsTags("<summary>A <c>b</summary> c"), "A <c>b\n<p>c");
    // Nesting deeper than any author writes keeps every word.
    std::string deep, words;
    for (int i = 0; i < 5000; ++i) deep += "<para>";
    deep += "x";
    for (int i = 0; i < 5000; ++i) deep += "</para>";
    const std::string shown = xmlDocAsTags("<summary>" + deep + "</summary>");
    for (std::size_t at = 0; at < shown.size();) {
        const std::size_t tag = shown.find('<', at);
        words += shown.substr(at, tag - at);
        if (tag == std::string::npos) break;
        at = shown.find('>', tag) + 1;
    }
    EXPECT_EQ(words, "x");
}

}  // namespace
