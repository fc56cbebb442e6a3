#!/usr/bin/env python3
"""Tests of bench/page_check.py: hand-made class pages against hand-made
listings, and, when the build tree is known ($VANTRY_BUILD_DIR), one real
run of the program through the listing module."""
import io
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_check  # noqa: E402


def summary_row(anchor, name, rest):
    return (f'<TR BGCOLOR="white">\n<TD ALIGN="right" VALIGN="top" WIDTH="1%" NOWRAP>'
            f'<FONT SIZE="-1">\n<CODE>&nbsp;void</CODE></FONT></TD>\n'
            f'<TD><CODE><B><a href="#{anchor}">{name}</a></B>{rest}</CODE>\n\n<BR>\n'
            f'&nbsp;Text.</TD>\n</TR>\n')


def detail_entry(anchors, name, declaration, body=""):
    lines = "".join(f'<A NAME="{a}"><!-- --></A>\n' for a in anchors)
    return f"{lines}<H3>{name}</H3>\n<PRE>\npublic {declaration}\n</PRE>\n<DL>\n{body}</DL>\n<HR>\n\n"


def table(anchor, title, body, columns=2):
    return (f'<A NAME="{anchor}"><!-- --></A>\n<TABLE BORDER="1">\n<TR BGCOLOR="#CCCCFF">\n'
            f'<TD COLSPAN={columns}><FONT SIZE="+2">\n<B>{title}</B></FONT></TD>\n</TR>\n'
            f'{body}</TABLE>\n')


def page(fields=(), methods=(), extra="", bodies=None):
    """fields and methods: (anchors, name, summary rest, declaration);
    bodies: the markup of each detail entry after its declaration, by the
    entry's first anchor."""
    bodies = bodies or {}
    out = '<HTML><BODY>\n<A NAME="navbar_top_firstrow"><!-- --></A>\n'
    if fields:
        out += table("field_summary", "Field Summary",
                     "".join(summary_row(a[0], n, r) for a, n, r, _ in fields))
    if methods:
        out += table("method_summary", "Method Summary",
                     "".join(summary_row(a[0], n, r) for a, n, r, _ in methods))
    out += extra
    if fields:
        out += table("field_detail", "Field Detail", "", 1)
        out += "".join(detail_entry(a, n, d, bodies.get(a[0], "")) for a, n, _, d in fields)
    if methods:
        out += table("method_detail", "Method Detail", "", 1)
        out += "".join(detail_entry(a, n, d, bodies.get(a[0], "")) for a, n, _, d in methods)
    return out + '<A NAME="navbar_top_firstrow"><!-- --></A>\n</BODY></HTML>\n'


PUT_INT = (["put(intkey)", "put"], "put", "(int key)", "void <B>put</B>(int key);")
PUT_TEXT = (["put(constchar*text)"], "put", "(const char* text)",
            "void <B>put</B>(const char* text = &quot;x&quot;);")
SIZE = (["size", "size"], "size", "", "int <B>size</B>;")


class PageCheckTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="page-check-test-")
        self.addCleanup(shutil.rmtree, self.dir)

    def run_check(self, html, members, private=False, kind="class", language="cpp", comments=None):
        """comments: the comment sent with each member, by its index."""
        page_path = os.path.join(self.dir, "Table.html")
        with open(page_path, "w") as f:
            f.write(html)
        list_path = os.path.join(self.dir, "list")
        with open(list_path, "w") as f:
            f.write(f"site\t{self.dir}/index.html\t{self.dir}\n")
            f.write(f"class\t{page_path}\tTable\t{kind}\t{language}\n")
            for index, member in enumerate(members):
                f.write("member\t" + "\t".join(member) + "\n")
                comment = (comments or {}).get(index)
                if comment:
                    f.write("comment\t" + comment.replace("\\", "\\\\").replace("\n", "\\n") + "\n")
        out = io.StringIO()
        totals = page_check.check(list_path, verbose=True, private=private, out=out)
        return totals, out.getvalue()

    SENT = [("put", "public", "1", "void put(int key);", "int key"),
            ("put", "public", "1", "void put(const char* text = \"x\");",
             "const char* text = \"x\""),
            ("size", "public", "0", "int size;")]

    def counts(self, totals):
        return {k: totals[k] for k in ("lost", "duplicated", "ambiguous", "unmatched")}

    def test_a_faithful_page_counts_nothing(self):
        totals, text = self.run_check(page([SIZE], [PUT_INT, PUT_TEXT]), self.SENT)
        self.assertEqual(self.counts(totals),
                         {"lost": 0, "duplicated": 0, "ambiguous": 0, "unmatched": 0}, text)

    def test_an_overload_merged_into_another_is_one_member_lost(self):
        totals, text = self.run_check(page([SIZE], [PUT_INT]), self.SENT)
        self.assertEqual(totals["lost"], 1, text)
        self.assertEqual(totals["duplicated"], 0, text)
        self.assertIn("lost (summary): " + self.dir + "/Table.html: put(constchar*)", text)
        self.assertIn("lost (detail): " + self.dir + "/Table.html: put(constchar*)", text)

    def test_an_overload_shown_twice_is_one_duplicate(self):
        totals, text = self.run_check(page([SIZE], [PUT_INT, PUT_TEXT, PUT_INT]), self.SENT)
        self.assertEqual(totals["duplicated"], 1, text)
        self.assertEqual(totals["lost"], 0, text)
        # The two entries of one overload share its anchor as well.
        self.assertEqual(totals["ambiguous"], 1, text)
        self.assertIn("ambiguous: " + self.dir + "/Table.html: #put(intkey)", text)

    def test_an_overload_shown_under_the_wrong_arguments_is_lost_and_unmatched(self):
        wrong = (["put(intkey)"], "put", "(long key)", "void <B>put</B>(long key);")
        totals, text = self.run_check(page([SIZE], [wrong, PUT_TEXT]), self.SENT)
        self.assertEqual(self.counts(totals),
                         {"lost": 1, "duplicated": 0, "ambiguous": 0, "unmatched": 1}, text)
        self.assertIn("unmatched (detail): " + self.dir + "/Table.html: put(long)", text)

    def test_a_method_name_anchor_on_a_field_anchor_is_ambiguous(self):
        size_method = (["size()", "size"], "size", "()", "int <B>size</B>();")
        sent = self.SENT + [("size", "public", "1", "int size();")]
        totals, text = self.run_check(page([SIZE], [PUT_INT, PUT_TEXT, size_method]), sent)
        self.assertEqual(self.counts(totals),
                         {"lost": 0, "duplicated": 0, "ambiguous": 1, "unmatched": 0}, text)
        self.assertIn("#size (2 places)", text)

    def test_repeated_block_anchors_are_no_member_anchors(self):
        block = ('&nbsp;<A NAME="fields_inherited_from_Base"><!-- --></A>\n<TABLE>\n</TABLE>\n'
                 '&nbsp;<A NAME="fields_inherited_from_Base"><!-- --></A>\n<TABLE>\n</TABLE>\n')
        totals, text = self.run_check(page([SIZE], [PUT_INT, PUT_TEXT], block), self.SENT)
        self.assertEqual(totals["ambiguous"], 0, text)

    def test_a_member_named_like_table_markup_is_read(self):
        colspan = (["COLSPAN", "COLSPAN"], "COLSPAN", "", "int <B>COLSPAN</B>;")
        sent = self.SENT + [("COLSPAN", "public", "0", "int COLSPAN;")]
        totals, text = self.run_check(page([SIZE, colspan], [PUT_INT, PUT_TEXT]), sent)
        self.assertEqual(self.counts(totals),
                         {"lost": 0, "duplicated": 0, "ambiguous": 0, "unmatched": 0}, text)

    def test_private_members_are_expected_only_when_asked_for(self):
        sent = self.SENT + [("hidden", "private", "0", "int hidden;")]
        totals, text = self.run_check(page([SIZE], [PUT_INT, PUT_TEXT]), sent)
        self.assertEqual(totals["lost"], 0, text)
        totals, text = self.run_check(page([SIZE], [PUT_INT, PUT_TEXT]), sent, private=True)
        self.assertEqual(totals["lost"], 1, text)
        self.assertIn("Table.html: hidden (sent 1, shown 0)", text)

    def test_argument_types_drop_names_and_default_values(self):
        cases = {
            "const char* name = \"a, b\"": "constchar*",
            "unsigned int": "unsignedint",
            "unsigned int count": "unsignedint",
            "String... args": "String...",
            "int values[4]": "int[4]",
            "std::map<K, V> const& m": "map<K,V>const&",
            "const Point&": "constPoint&",
            "ref int x": "refint",
            "Char e = '\\\\'": "Char",
            "typename A<M, V>::chain& c": "chain&",
            "T const (&a)[3][3]": "Tconst(&)[3][3]",
            "const Type& object": "constType&",
        }
        for argument, expected in cases.items():
            self.assertEqual(page_check.argument_type(argument), expected, argument)

    def test_quoted_separators_and_escaped_quotes_split_nothing(self):
        self.assertEqual(page_check.arguments_after("f(char e = '\\\\', char c = ',')", 1),
                         ["char e = '\\\\'", " char c = ','"])

    def test_comparisons_are_no_angle_brackets(self):
        self.assertEqual(page_check.split_top("size <= MAX, \"low\"", ","),
                         ["size <= MAX", " \"low\""])
        self.assertEqual(page_check.split_top("map<K, V> m, int n", ","), ["map<K, V> m", " int n"])
        self.assertEqual(page_check.split_top("P<C<?>> p, S s", ","), ["P<C<?>> p", " S s"])
        self.assertEqual(page_check.split_top("a < = b, l < R > ::f(), c", ","),
                         ["a < = b", " l < R > ::f()", " c"])
        # A shift in parentheses inside template arguments closes nothing.
        self.assertEqual(page_check.split_top("T t, int v = c + (log2<(x>> c), n/2>::value)", ","),
                         ["T t", " int v = c + (log2<(x>> c), n/2>::value)"])

    def test_a_generic_method_keeps_its_arguments(self):
        self.assertEqual(page_check.entry_key("int <B>f</B>&lt;T&gt;(T a, int b);", r"<B>(.*?)</B>"),
                         "f(T,int)")

    def test_a_word_between_a_name_and_its_list_keeps_the_arguments(self):
        self.assertEqual(page_check.entry_key("static T <B>max</B> NO_EXPAND (int n);", r"<B>(.*?)</B>"),
                         "max(int)")


GET = (["get(intkey)", "get"], "get", "(int key)", "int <B>get</B>(int key);")
SIZE_METHOD = (["size()", "size"], "size", "()", "int <B>size</B>();")


class TextCheckTest(unittest.TestCase):
    """The comments sent against the text a browser shows of each member's
    detail entry."""

    setUp = PageCheckTest.setUp
    run_check = PageCheckTest.run_check

    JAVA = [("get", "public", "1", "int get(int key);", "int key"), ("size", "public", "1", "int size();")]
    GET_COMMENT = ("Returns the value stored under the key, as {@link #size()} counts it;\n"
                   "keys below {@code 0} hold nothing.\n"
                   "@param key   the key, at least {@code 0}\n"
                   "@return the value, or {@code -1} &amp; no more\n"
                   "@throws IllegalStateException if the table is closed\n")
    GET_BODY = ('<DD>Returns the value stored under the key, as <a href="#size()"><CODE>size()</CODE></a> counts it;\n'
                "keys below <code>0</code> hold nothing.\n</DD>\n<DL>\n"
                "<DT><B>Parameters: </B><DD><code>key</code> - the key, at least <code>0</code>\n"
                "<DT><B>Returns: </B><DD>the value, or <code>-1</code> &amp; no more</DD>\n"
                "<DT><B>Throws: </B><DD><CODE>java.lang.IllegalStateException</CODE> - if the table is closed</DD>\n"
                "</DL>\n")

    def texts(self, totals):
        return {k: totals["texts " + k] for k in ("cut", "missing", "misplaced")}

    def test_comments_shown_whole_count_nothing(self):
        totals, text = self.run_check(
            page([], [GET, SIZE_METHOD], bodies={"get(intkey)": self.GET_BODY,
                                                 "size()": "<DD>The number of keys.</DD>\n"}),
            self.JAVA, language="java", comments={0: self.GET_COMMENT, 1: "The number of keys.\n"})
        self.assertEqual(self.texts(totals), {"cut": 0, "missing": 0, "misplaced": 0}, text)
        # Description, three tag texts and their three labels, and size's.
        self.assertEqual(totals["texts compared"], 8, text)
        self.assertEqual(totals["texts whole"], 8, text)

    def test_a_link_shown_by_its_target_cuts_the_text_there(self):
        comment = "Counts the keys in {@linkplain #get(int) the table}, as stored.\n"
        body = "<DD>Counts the keys in #get(int) the table, as stored.</DD>\n"
        totals, text = self.run_check(page([], [GET, SIZE_METHOD], bodies={"size()": body}),
                                      self.JAVA, language="java", comments={1: comment})
        self.assertEqual(self.texts(totals), {"cut": 1, "missing": 0, "misplaced": 0}, text)
        self.assertIn("cut (description at {@linkplain}): " + self.dir + "/Table.html: size(): "
                      'after "Countsthekeysin{@linkplain}" expected "thetable,asstored.", '
                      'shown "#get(int)thetable,asstored."', text)

    def test_a_description_that_stops_early_is_cut(self):
        totals, text = self.run_check(
            page([], [GET, SIZE_METHOD], bodies={"size()": "<DD>The number of keys.</DD>\n"}),
            self.JAVA, language="java",
            comments={1: "The number of keys. Keys removed\nare not counted.\n"})
        self.assertEqual(self.texts(totals), {"cut": 1, "missing": 0, "misplaced": 0}, text)
        self.assertIn('expected "Keysremovedarenotcounted."', text)

    def test_a_csharp_parameter_shown_without_its_name_is_missing_with_its_labels(self):
        sent = [("Move", "public", "1", "int Move(int steps);", "int steps")]
        move = (["Move(intsteps)", "Move"], "Move", "(int steps)", "int <B>Move</B>(int steps);")
        comment = ('<summary>Moves the cursor.</summary>\n<param name="steps">How far to move.</param>\n'
                   "<returns>The new position.</returns>\n")
        # The elements passed to the browser as they stand: the name is an
        # attribute, which no browser shows.
        body = "<DD>" + comment + "</DD>\n"
        totals, text = self.run_check(page([], [move], bodies={"Move(intsteps)": body}), sent,
                                      language="csharp", comments={0: comment})
        self.assertIn('missing (label Parameters:)', text)
        self.assertIn('missing (label Returns:)', text)
        self.assertIn('missing (@param): ' + self.dir + '/Table.html: Move(int): "@paramHowfartomove."', text)
        # Read as Java's tags are, it is whole.
        body = ("<DD>Moves the cursor.</DD>\n<DL>\n<DT><B>Parameters: </B><DD><code>steps</code> - How far "
                "to move.\n<DT><B>Returns: </B><DD>The new position.</DD>\n</DL>\n")
        totals, text = self.run_check(page([], [move], bodies={"Move(intsteps)": body}), sent,
                                      language="csharp", comments={0: comment})
        self.assertEqual(self.texts(totals), {"cut": 0, "missing": 0, "misplaced": 0}, text)
        self.assertEqual(totals["texts whole"], 5, text)

    def test_a_trailing_comment_shown_with_the_next_member_is_misplaced(self):
        sent = [("width", "public", "0", "int width;"), ("height", "public", "0", "int height;")]
        width = (["width", "width"], "width", "", "int <B>width</B>;")
        height = (["height", "height"], "height", "", "int <B>height</B>;")
        # int width;  ///< Width of the frame around the widget, in pixels.
        # int height; ///< Height of the frame around the widget, in pixels.
        comments = {1: "< Width of the frame around the widget, in pixels.\n"}
        body = "<DD>&lt; Width of the frame around the widget, in pixels.</DD>\n"
        totals, text = self.run_check(page([width, height], [], bodies={"height": body}), sent,
                                      comments=comments)
        self.assertEqual(self.texts(totals), {"cut": 0, "missing": 0, "misplaced": 1}, text)
        self.assertIn('misplaced (description): ' + self.dir + '/Table.html: width: '
                      '"Widthoftheframearoundthewidget,inpixels." shown in the entry of height', text)
        self.assertEqual(totals["entries with another member's text"], 1, text)
        self.assertIn("foreign: " + self.dir + "/Table.html: the entry of height shows", text)

    def test_tags_of_no_section_are_paragraphs_and_inherited_texts_are_not_compared(self):
        comments = {0: "{@inheritDoc}\n@implNote Reads the cache first.\n@return {@inheritDoc}\n",
                    1: "@brief The number of keys:\n@code\nint n = size(); // {@code n}\n@serial x\n"
                       "@endcode\n@serial\n"}
        bodies = {"get(intkey)": "<DD><P><B>ImplNote:</B> Reads the cache first.\r\n</DD>\n",
                  "size()": "<DD>The number of keys:\n<pre>int n = size(); // &#123;@code n}\n"
                            "@serial x</pre></DD>\n"}
        totals, text = self.run_check(page([], [GET, SIZE_METHOD], bodies=bodies), self.JAVA,
                                      language="java", comments=comments)
        self.assertEqual(self.texts(totals), {"cut": 0, "missing": 0, "misplaced": 0}, text)
        self.assertEqual(totals["texts whole"], 3, text)
        self.assertEqual(totals["block tags not shown"], 0, text)
        self.assertEqual(totals["texts inherited"], 1, text)
        # A page that drops the paragraph loses its text.
        bodies["get(intkey)"] = "<DD></DD>\n"
        totals, text = self.run_check(page([], [GET, SIZE_METHOD], bodies=bodies), self.JAVA,
                                      language="java", comments=comments)
        self.assertIn('missing (@implNote): ' + self.dir + '/Table.html: get(int): '
                      '"ImplNote:Readsthecachefirst."', text)

    def test_of_a_tag_written_twice_that_the_pages_show_once_the_last_is_compared(self):
        comment = ("The number of keys.\n@return how many keys there are\n@since 1.2\n"
                   "@return the count of keys, removed ones left out\n@since 1.4\n")
        body = ("<DD>The number of keys.</DD>\n<DL>\n<DT><B>Returns: </B><DD>the count of keys, "
                "removed ones left out</DD>\n<DT><B>Since: </B><DD>1.4</DD>\n</DL>\n")
        totals, text = self.run_check(page([], [GET, SIZE_METHOD], bodies={"size()": body}),
                                      self.JAVA, language="java", comments={1: comment})
        self.assertEqual(self.texts(totals), {"cut": 0, "missing": 0, "misplaced": 0}, text)
        self.assertEqual(totals["block tags not shown"], 2, text)
        # The first shown in place of the last is no text of the entry.
        body = body.replace("the count of keys, removed ones left out", "how many keys there are")
        totals, text = self.run_check(page([], [GET, SIZE_METHOD], bodies={"size()": body}),
                                      self.JAVA, language="java", comments={1: comment})
        self.assertEqual(self.texts(totals), {"cut": 0, "missing": 1, "misplaced": 0}, text)
        self.assertIn('missing (@return): ' + self.dir + '/Table.html: size(): '
                      '"thecountofkeys,removedonesleftout"', text)

    def test_the_text_a_browser_shows(self):
        cases = {
            "a<b>c</b> d < e &lt;f&gt; &copy 2024": "ac d < e <f> \u00a9 2024",
            "x<!-- note --> y <script>var s = '<b>';</script>z": "x y z",
            # A "<" and a letter open a tag that runs to its ">", quotes honoured.
            "for (i = 0; i<children(); i++) n++; <a title='x > y'>t</a>": "for (i = 0; it",
            "<title>a<b></title>": "a<b>",
            "</ 3> <?x?>q": " q",
        }
        for markup, shown in cases.items():
            self.assertEqual(page_check.shown_text(markup), shown, markup)
        # Block tags begin a line outside an inline tag; a code sample may
        # hold an annotation on a line of its own.
        description, tags = page_check.java_parts(
            "Overrides it:\n<pre>{@code\n@Override\nint size() { return 0; }\n}</pre>\n@since 9\n")
        self.assertEqual([(tag, text.strip()) for tag, text in tags], [("since", "9")])
        self.assertIn("@Override", description)


@unittest.skipUnless(os.environ.get("VANTRY_BUILD_DIR"), "needs the build tree")
class RealRunTest(unittest.TestCase):
    """The listing module between the program and the standard module: what
    it lists is what the sources declare, and the pages show it all."""

    def test_a_run_through_the_listing_module(self):
        build = os.environ["VANTRY_BUILD_DIR"]
        work = tempfile.mkdtemp(prefix="page-check-run-")
        self.addCleanup(shutil.rmtree, work)
        os.makedirs(os.path.join(work, "src"))
        with open(os.path.join(work, "src", "table.h"), "w") as f:
            f.write("/** A table. */\nclass Table {\npublic:\n"
                    "    /**\n     * Puts a number, if {@code key >= 0}.\n"
                    "     * @param key the number's key\n     * @return whether it was new\n     */\n"
                    "    bool put(int key);\n"
                    "    /** Puts a text. */\n    void put(const char* text);\n"
                    "    /** The size. */\n    int size;\n};\n")
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        env["VANTRY_LISTING_MODULE"] = os.path.join(build, "modules", "vantry-standard.so")
        env["VANTRY_LISTING_FILE"] = os.path.join(work, "list")
        run = subprocess.run(
            [os.path.join(build, "vantry"), "-autorun", "-overwrite",
             "-moduledir=" + os.path.join(build, "bench-modules"), "-module=vantry-listing",
             os.path.join(work, "src"), os.path.join(work, "site", "index.html")],
            env=env, capture_output=True, text=True, timeout=120)
        self.assertEqual(run.returncode, 0, run.stderr)
        with open(env["VANTRY_LISTING_FILE"]) as f:
            members = sorted(line.rstrip("\n").split("\t")[1:5:3] + line.rstrip("\n").split("\t")[5:]
                             for line in f if line.startswith("member\t"))
        self.assertEqual(members, [["put", "bool put(int key);", "int key"],
                                   ["put", "void put(const char* text);", "const char* text"],
                                   ["size", "int size;"]])
        out = io.StringIO()
        totals = page_check.check(env["VANTRY_LISTING_FILE"], verbose=True, out=out)
        self.assertEqual(totals["pages"], 1, out.getvalue())
        for count in ("lost", "duplicated", "ambiguous", "unmatched", "texts cut", "texts missing",
                      "texts misplaced", "entries with another member's text"):
            self.assertEqual(totals[count], 0, out.getvalue())
        # The three descriptions, a parameter's and a return text, and their labels.
        self.assertEqual(totals["texts whole"], 7, out.getvalue())


if __name__ == "__main__":
    unittest.main()
