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

}  // namespace
