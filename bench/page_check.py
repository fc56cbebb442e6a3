#!/usr/bin/env python3
"""Compares the member entries of a generated site's class pages with what
the program sent to the output module in the same run.

  page_check.py [-v] [-private] [-no-protected] [-author] [-version] LIST

LIST is the listing written by the vantry-listing module (see
bench/ListingModule.cpp); it names the site and, per class, the page that
should show the class's members. Every class page named there is read: each
row of its member summaries and each entry of its member details gives a
member (its name and argument types) and, for a detail entry, its anchor.

Counts, over all pages:
  lost        a member sent (and shown by the module's rules: private
              members only with -private, protected ones unless
              -no-protected, constructors and destructors always) that a
              summary table or the detail section does not show
  duplicated  an entry of a summary table or of the detail section beyond
              the members sent for it
  ambiguous   a detail entry's own (signature) anchor that some other
              element of the same page carries too; the block anchors that
              pages repeat on purpose are no member anchors and not counted
  unmatched   entries that match no member sent (a member shown under
              another name or argument list, or a page this reader cannot
              make out); -v names each
A member missing from (or shown twice in) both the summaries and the
details counts once. Members are matched by name and argument types (parameter names and
default values dropped, blanks ignored), so a declaration shown from
another file of the same member still matches.

The texts: each member's comment, as sent, against the text a browser shows
of its detail entry: texts cut, missing and misplaced, and entries showing
another member's text, by what went wrong (the rules are under "Texts"
below); -author and -version say that the pages show those tags.
"""
import html
import html.parser
import os
import re
import sys
from collections import Counter, defaultdict

# Words that end a parameter's type rather than name the parameter.
TYPE_WORDS = {
    "int", "char", "short", "long", "double", "float", "bool", "void", "unsigned", "signed",
    "wchar_t", "char8_t", "char16_t", "char32_t", "auto", "const", "volatile", "byte",
    "sbyte", "ushort", "uint", "ulong", "boolean",
}
# Words after which a word is still the type ("const Foo", "ref Foo").
PREFIX_WORDS = {"const", "volatile", "struct", "class", "enum", "union", "typename", "ref",
                "out", "in", "params", "this", "final"}
IDENTIFIER = re.compile(r"[A-Za-z_$][\w$]*$")
IDENTIFIER_START = re.compile(r"[A-Za-z_$][\w$]*")
OPEN = {"(": ")", "[": "]", "{": "}", "<": ">"}


FIELD_ESCAPE = re.compile(r"\\(.)", re.S)
FIELD_ESCAPES = {"\\": "\\", "t": "\t", "n": "\n", "r": "\r"}


def unescape_field(text):
    if "\\" not in text:
        return text
    return FIELD_ESCAPE.sub(lambda m: FIELD_ESCAPES.get(m.group(1), m.group(1)), text)


def split_top(text, separator):
    """Splits at separators outside brackets and quotes."""
    parts, stack, quote, start, escaped = [], [], None, 0, False
    for i, c in enumerate(text):
        if quote:
            if escaped:
                escaped = False
            elif c == "\\":
                escaped = True
            elif c == quote:
                quote = None
        elif c in "\"'":
            quote = c
        elif (c == "<" and re.match(r"\s*[=<]", text[i + 1:])) or \
                (c == ">" and (re.match(r"\s*=", text[i + 1:]) or text[i - 1:i] == "-")):
            pass  # a comparison or shift ("a <= b", "a < = b", "x << 2", "p->q")
        elif c in "([{<":
            stack.append(c)
        elif c == ">":
            # Inside parentheses a ">" compares or shifts: it closes only
            # an angle bracket opened at its own level ("T<(x >> n), m>").
            if stack and stack[-1] == "<":
                stack.pop()
        elif c in ")]}":
            opener = {")": "(", "]": "[", "}": "{"}[c]
            if opener in stack:
                # An angle bracket left open inside was a comparison.
                while stack.pop() != opener:
                    pass
        elif c == separator and not stack:
            parts.append(text[start:i])
            start = i + 1
    parts.append(text[start:])
    return parts


def without_qualifiers(text):
    """text without the qualifiers of its names ("A::", "ns::B<C<int>>::",
    "pkg."): a word, perhaps with a template argument list (lists inside
    it paired), then "::" or "." and a name."""
    out = []
    i = 0
    while i < len(text):
        word = IDENTIFIER_START.match(text, i)
        if not word or (i > 0 and re.match(r"[\w$]", text[i - 1])):
            out.append(text[i])
            i += 1
            continue
        k = word.end()
        while k < len(text) and text[k].isspace():
            k += 1
        if k < len(text) and text[k] == "<":
            depth = 0
            for e in range(k, len(text)):
                if text[e] == "<":
                    depth += 1
                elif text[e] == ">":
                    depth -= 1
                    if depth == 0:
                        k = e + 1
                        break
        while k < len(text) and text[k].isspace():
            k += 1
        separator = 2 if text.startswith("::", k) else 1 if text.startswith(".", k) and not text.startswith("..", k) else 0
        if separator:
            after = k + separator
            while after < len(text) and text[after].isspace():
                after += 1
            if after < len(text) and re.match(r"[A-Za-z_$~]", text[after]):
                i = after
                continue
        out.append(text[i:word.end()])
        i = word.end()
    return "".join(out)


def argument_type(argument):
    """An argument's type: default value and parameter name dropped,
    blanks removed."""
    text = split_top(argument, "=")[0].strip()
    # Qualifiers go first: a page may show a type, or a parameter's name,
    # by a qualified name that it links.
    text = without_qualifiers(text)
    # "typename" says nothing of the type; a declarator's name in parentheses
    # ("T (&a)[3]") is a name as well.
    text = re.sub(r"\btypename\s+", "", text)
    text = re.sub(r"\((\s*[&*]+\s*)[A-Za-z_$][\w$]*\s*\)", r"(\1)", text)
    # A C array parameter ("int a[4]") keeps its brackets, not its name.
    brackets = ""
    while text.endswith("]") and "[" in text:
        at = text.rfind("[")
        brackets = text[at:] + brackets
        text = text[:at].rstrip()
    tokens = re.findall(r"[A-Za-z_$][\w$]*|\S", text)
    if len(tokens) >= 2 and IDENTIFIER.match(tokens[-1]) and tokens[-1] not in TYPE_WORDS:
        prior = tokens[-2]
        qualified = prior == ":" or (prior == "." and tokens[-3:-2] != ["."])
        if not qualified and prior not in PREFIX_WORDS:
            text = text[: text.rfind(tokens[-1])]
    return re.sub(r"\s+", "", text + brackets)


def member_key(name, arguments):
    """name, or name(types) for a member with an argument list (None)."""
    name = re.sub(r"\s+", "", name)
    if arguments is None:
        return name
    return name + "(" + ",".join(argument_type(a) for a in arguments) + ")"


def arguments_after(text, at):
    """The argument texts of the list that opens at text[at] (after blanks),
    or None when no list follows."""
    while at < len(text) and text[at] in " \t\n":
        at += 1
    # A word that keeps a macro of the function's name from expanding
    # stands between the name and its list ("min NO_EXPAND ()").
    word = re.compile(r"[A-Z_][A-Z0-9_]*\s*(?=\()").match(text, at)
    if word:
        at = word.end()
    if at < len(text) and text[at] == "<":
        # A generic method's type parameters come before its arguments.
        depth = 0
        for i in range(at, len(text)):
            depth += {"<": 1, ">": -1}.get(text[i], 0)
            if depth == 0:
                return arguments_after(text, i + 1)
        return None
    # A C# indexer ("this[int i]") lists its arguments in brackets.
    if at >= len(text) or text[at] not in "([":
        return None
    opening, closing = text[at], ")" if text[at] == "(" else "]"
    depth, quote, escaped = 0, None, False
    for i in range(at, len(text)):
        c = text[i]
        if quote:
            if escaped:
                escaped = False
            elif c == "\\":
                escaped = True
            elif c == quote:
                quote = None
        elif c in "\"'":
            quote = c
        elif c == opening:
            depth += 1
        elif c == closing:
            depth -= 1
            if depth == 0:
                inner = text[at + 1:i]
                if not inner.strip() or inner.strip() == "void":
                    return []
                return split_top(inner, ",")
    return None


def plain(markup):
    return html.unescape(re.sub(r"<[^>]*>", "", markup))


MARK = "\x01"


def entry_key(markup, marked, name=None, function=True):
    """The key of an entry whose markup holds the member's name at the
    first match of the regular expression `marked`; without one, at the
    first whole word `name` (the first followed by an argument list, if
    any), or, without a name, the word before the first argument list."""
    hits = list(re.finditer(marked, markup, re.S))
    # The name may be marked more than once ("detail::f" in a return type):
    # a function's is the one its argument list follows.
    hit = next((h for h in hits if function and re.match(r"\s*\(", markup[h.end():])),
               next((h for h in hits if function and re.match(r"\s*&lt;", markup[h.end():])),
                    hits[0] if hits else None))
    if not function:
        # A field's or a symbol's key is its name, whatever follows it (an
        # enum constant's arguments, an initial value).
        shown = name or (plain(hit.group(1)) if hit else entry_key(markup, marked).split("(")[0])
        return member_key(shown, None)
    if hit:
        shown = plain(hit.group(1))
        text = plain(markup[:hit.start()]) + MARK + plain(markup[hit.end():])
        at = text.index(MARK)
        return member_key(name or shown, arguments_after(text, at + 1))
    text = plain(markup)
    if name:
        places = [m.end() for m in re.finditer(r"(?<![\w$])" + re.escape(name) + r"(?![\w$])",
                                                text)]
        for end in places:
            arguments = arguments_after(text, end)
            if arguments is not None:
                return member_key(name, arguments)
        return member_key(name, None)
    paren = text.find("(")
    words = (text[:paren] if paren >= 0 else text).split()
    shown = re.sub(r"(\[[^\]]*\])+;?$|;$", "", words[-1]) if words else ""
    return member_key(shown, arguments_after(text, paren) if paren >= 0 else None)


ANCHOR = re.compile(r'<a\s+name="([^"]*)"\s*>', re.I)
SUMMARY = re.compile(r'<A NAME="(field|constructor|method|symbol|macro)_summary"><!-- --></A>')
FUNCTION_SECTIONS = {"constructor", "method", "macro"}
DETAIL = re.compile(r'<A NAME="(field|constructor|method|symbol|macro)_detail"><!-- --></A>')


def read_page(page, bodies=None):
    """(summary keys, [(detail key, anchor)], Counter of anchor owners
    per anchor name) of one class page. bodies, when given, receives the
    markup of each detail entry after its declaration, in the same order."""
    summaries, details = [], []
    for table in SUMMARY.finditer(page):
        end = page.find("</TABLE>", table.end())
        body = page[table.end():end]
        for row in re.finditer(r"<TR BGCOLOR=[^>]*>\n(.*?)</TR>", body, re.S):
            cells = re.findall(r"<TD(?: [^>]*)?>(.*?)</TD>", row.group(1), re.S)
            # A table's title row spans both columns; a member row may
            # well hold the word in its text ("COLSPAN" of an HTML library).
            if not cells or "<TD COLSPAN=" in row.group(1):
                continue
            right = cells[-1]
            code = re.match(r"<CODE>(.*?)</CODE>", right, re.S)
            markup = code.group(1) if code else right
            summaries.append(entry_key(markup, r'<B><a href="#[^"]*">(.*?)</a></B>',
                                       function=table.group(1) in FUNCTION_SECTIONS))
    # Detail entries: the anchors right before each <H3> of a detail
    # section; the first of them is the member's own.
    owners = defaultdict(set)
    entry_anchor_spans = {}
    sections = [(m.end(), m.group(1)) for m in DETAIL.finditer(page)]
    starts = [at for at, _ in sections]
    if starts:
        for h3 in re.finditer(r"<H3>(.*?)</H3>\n<PRE>\n(.*?)\n</PRE>", page[starts[0]:], re.S):
            begin = starts[0] + h3.start()
            # Walk back over the anchor lines.
            anchors, at = [], begin
            while True:
                line_start = page.rfind("\n", 0, at - 1) + 1
                line = page[line_start:at - 1] if at > 0 else ""
                hit = re.fullmatch(r'<A NAME="([^"]*)"><!-- --></A>', line)
                if not hit:
                    break
                anchors.insert(0, (hit.group(1), line_start))
                at = line_start
            name = html.unescape(h3.group(1))
            section = [kind for at, kind in sections if at <= begin][-1]
            key = entry_key(h3.group(2), r"<B>(.*?)</B>", name, section in FUNCTION_SECTIONS)
            anchor = anchors[0][0] if anchors else None
            index = len(details)
            details.append((key, anchor))
            if bodies is not None:
                body_start = starts[0] + h3.end()
                body_end = page.find("<HR>", body_start)
                bodies.append(page[body_start:body_end if body_end >= 0 else len(page)])
            for _, position in anchors:
                entry_anchor_spans[position] = index
    for hit in ANCHOR.finditer(page):
        line_start = page.rfind("\n", 0, hit.start()) + 1
        owner = entry_anchor_spans.get(line_start, ("element", hit.start()))
        owners[html.unescape(hit.group(1))].add(owner)
    return summaries, details, owners


def simple_name(class_name):
    """The name a class's constructors bear: its last part without template
    arguments ("Inner" of "Outer<int>::Inner", "hash" of
    "std::hash<std::string>", "Box" of the C# twin "Box<T>")."""
    plain, depth = "", 0
    for c in class_name:
        if c == "<":
            depth += 1
        elif c == ">" and depth:
            depth -= 1
        elif not depth:
            plain += c
    return plain.split(":")[-1].split(".")[-1]


class SentMember:
    def __init__(self, key, name, shown, language):
        self.key, self.name, self.shown, self.language = key, name, shown, language
        self.comments = []


def read_list(path, private, protected, texts=None):
    """{page: (Counter of keys expected in the summaries, Counter of keys
    expected in the details)}. texts, when given, receives for each page
    the members it shows that were sent a comment ([SentMember])."""
    expected = defaultdict(lambda: (Counter(), Counter()))
    page = class_name = kind = language = None
    members = []  # of the class read, in the order sent
    with open(path, encoding="utf-8", errors="replace") as listing:
        for line in listing:
            fields = [unescape_field(f) for f in line.rstrip("\n").split("\t")]
            if fields[0] == "class":
                page, class_name, kind = fields[1], fields[2], fields[3]
                language = fields[4] if len(fields) > 4 else ""
                expected[page]  # a page with no member is still read
                members = []
            elif fields[0] == "member" and page is not None:
                name, access, has_arguments, declaration = fields[1:5]
                arguments = fields[5:] if has_arguments == "1" else None
                simple = simple_name(class_name)
                structor = arguments is not None and name in (simple, "~" + simple)
                key = member_key(name, arguments)
                shown = structor or not ((access == "private" and not private) or
                                         (access == "protected" and not protected))
                members.append(SentMember(key, name, shown, language))
                if shown and texts is not None:
                    texts[page].append(members[-1])
                if not shown:
                    continue
                summaries, details = expected[page]
                details[key] += 1
                # A typedef's page has no field summary, only its details.
                if kind != "typedef" or arguments is not None or declaration.startswith("#define"):
                    summaries[key] += 1
            elif fields[0] == "comment" and members and len(fields) > 1:
                comment = fields[1]
                # A trailing comment documents the member declared before
                # (a Java comment may well begin "< 2 bytes >").
                trailing = language != "java" and re.match(r"<(?:[ \t\n]|$)", comment)
                if trailing and len(members) > 1:
                    members[-2].comments.append(comment[1:])
                else:
                    members[-1].comments.append(comment[1:] if trailing else comment)
    if texts is not None:
        for page_members in texts.values():
            page_members[:] = [m for m in page_members if m.comments]
    return expected


# --- Texts ------------------------------------------------------------
#
# What a browser should show of a member's comment is derived from the
# comment the program sent, by these rules, and looked for in the text the
# browser shows of the member's detail entry (what follows its declaration
# up to the entry's rule), blanks left out on both sides, so that line
# breaks, indentation and the layout's own blanks count for nothing:
#
#  * The comment is HTML: a browser shows its text, character references
#    decoded, markup and HTML comments dropped.
#  * A C++ or C# comment that begins with "<" and a blank is a trailing
#    comment ("/**<", "///<"): it documents the member declared before the
#    one it was sent with, and its "<" is no text.
#  * Block tags (Java's, and C#'s XML elements read as them, below) begin a
#    line: its first character that is not blank is "@", outside any inline
#    tag (a code sample in {@code ...} may hold "@Override" on a line of its
#    own); the tag's name is the word after "@". "@param name text" shows the name and its
#    text (a type parameter "<T>" as "<T>" or "T"), under "Parameters:";
#    "@return text" the text under "Returns:"; "@throws T text" (also
#    "@throw", "@exception") the class, named simply or in full, and the
#    text, under "Throws:"; "@see" its label, a quoted string with or
#    without its quotes, or the reference as a link shows it, under "See
#    Also:"; "@since" and "@deprecated" their texts ("Since:",
#    "Deprecated"). Of "@return", "@since", "@version" and "@deprecated"
#    (and <returns>) the last of a comment is shown: one before it is
#    counted as not shown. "@author" and "@version" are shown only with
#    -enable-author and -enable-version (author, version below). "@brief"
#    text begins the description (a paragraph of its own before the text
#    ahead of the first tag). Any other block tag with text (@apiNote,
#    @note, @tparam ...) is a paragraph of its own, its name (first letter
#    upper-cased, a "<BR>" that ends it dropped) and ":" before its text.
#    A code block, "@code" (with an optional "{.lang}") to "@endcode", each
#    the first word of its line, shows its lines as written, no tag line
#    or inline tag read in them.
#  * Inline tags: {@code x} and {@literal x} show x as written (no markup);
#    {@link ref label} and {@linkplain ref label} show the label, and
#    without one the reference: its member part ("m(int)" of "C#m(int)"),
#    which the class, simply or fully named, and "." may precede, or the
#    class's name; {@value #X} shows X's value (a literal) or X's name,
#    {@value} the member's own; {@docRoot} a way up ("../.."), {@index
#    term ...} the term, {@summary x} x, {@systemProperty x} x, {@return x}
#    x (which "Returns" may precede), {@inheritDoc} whatever was inherited
#    (an "@return {@inheritDoc}" is not compared: the pages copy no
#    inherited text); an inline tag of any other name its text.
#  * C# XML documentation: <summary>, <remarks>, <value> and any element of
#    no meaning below are the description; <param name="x"> is "@param x",
#    <typeparam name="T"> "@param <T>", <returns> "@return", <exception
#    cref="T"> "@throws T", <seealso cref="T"/> "@see T"; inside them <see
#    cref="T"/> shows T as a link shows it (its type arguments "{K}" as
#    "<K>"), <see cref="T">label</see> the label, <see
#    langword="x"/>, <paramref name="x"/> and <typeparamref name="x"/> x,
#    and <c>, <code>, <para>, <list> and the like their text. A comment
#    that is only <inheritdoc/> is not compared.
#
# Each text of a comment (its description, each tag's text) must stand
# whole in the member's own entry. One that does not is
#   cut        when the entry shows the text up to an inline tag and departs
#              from it there,
#   misplaced  else when it stands whole in another member's entry of the
#              page,
#   cut        else when the entry holds the text's beginning (twelve
#              characters, a parameter's or exception's name and what
#              follows it, or three characters and half of a short text) but
#              not all of it: it stops early or departs on the way,
#   missing    otherwise;
# and an entry that shows another member's description (its first 32
# characters that no inline tag breaks) where its own comment's texts do
# not stand shows a foreign text.
# A section label a comment asks for and its entry lacks counts as a
# missing text too. Members without an entry are counted as lost above and
# not compared again.

class Hole:
    """A part of an expected text that a browser may show in more than one
    way: a regular expression over the blank-free text."""

    def __init__(self, pattern, name):
        self.pattern = pattern
        self.name = name  # the inline tag or element that made it


BLANKS = re.compile(r"\s+")  # Unicode's, the no-break space among them


def no_blanks(text):
    return BLANKS.sub("", text)


def inline_tag_end(text, start):
    """The index of the "}" that closes the inline tag opening at
    text[start] ("{@"), braces inside counted. A tag whose braces never
    balance (an author's slip) has no right reading: it ends at the next
    "}", as the pages read every tag; without one it takes the rest of the
    text (of its block: java_parts cuts the blocks first)."""
    depth = 0
    for i in range(start, len(text)):
        if text[i] == "{":
            depth += 1
        elif text[i] == "}":
            depth -= 1
            if depth == 0:
                return i
    close = text.find("}", start)
    return close if close >= 0 else len(text)


# Package and outer class names before a name ("java.util.Map<K,V>."):
# one run of their characters, so that a search stays linear.
QUALIFIER = r"(?:[\w$.<>,?]*\.)?"
LITERAL = r"""(?:-?\.?\d[\w.+-]*|"(?:[^"\\]|\\.)*"|'(?:[^'\\]|\\.)+'|true|false|null)"""


def first_word(text):
    """(first word, rest) of a tag's text."""
    parts = text.strip().split(None, 1)
    return (parts[0], parts[1]) if len(parts) == 2 else (parts[0] if parts else "", "")


def split_reference(text):
    """(reference, label) of a link's text: the reference ends at the first
    blank outside its argument list ("C#m(int, long) the label")."""
    text = text.strip()
    depth = 0
    for i, c in enumerate(text):
        if c in "(<":
            depth += 1
        elif c in ")>" and depth:
            depth -= 1
        elif c.isspace() and depth == 0:
            return text[:i], text[i:].strip()
    return text, ""


def reference_pattern(reference):
    """How a link shows a reference written without a label: "C#m(int)"
    as "m(int)" with or without the class before it, "#m" as "m", "a.b.C"
    as "C" or in full. Blanks are dropped as everywhere."""
    reference = no_blanks(reference)
    if "#" in reference:
        cls, member = reference.split("#", 1)
        member_re = re.escape(member)
        if cls:
            simple = re.escape(cls.split(".")[-1])
            return rf"(?:{QUALIFIER}{simple}\.)?{member_re}"
        return member_re
    # Type arguments ("Stream<Float>") may be left out.
    head, angle, arguments = reference.partition("<")
    parts = head.split(".")
    if not parts[-1]:
        return re.escape(reference)
    return QUALIFIER + re.escape(parts[-1]) + (f"(?:{re.escape(angle + arguments)})?" if angle else "")


def cref_pattern(cref):
    """A C# cref as a link shows it: without its kind prefix ("T:"), its
    type arguments "{K}" shown as "<K>"."""
    if len(cref) > 2 and cref[1] == ":" and cref[0].isalpha():
        cref = cref[2:]
    cref = no_blanks(cref)
    # Arguments of a method "M(int)" stay as written.
    head, paren, tail = cref.partition("(")
    pieces = re.split(r"(\{[^{}]*\})", head)
    pattern = ""
    for piece in pieces:
        if piece.startswith("{"):
            pattern += re.escape("<" + piece[1:-1] + ">")
        else:
            pattern += re.escape(piece)
    simple = pattern.split(r"\.")[-1]
    if not paren:
        return QUALIFIER + simple
    # Its argument types, named in full or simply.
    arguments = [QUALIFIER + re.escape(a.split(".")[-1]) for a in tail.rstrip(")").split(",") if a]
    return QUALIFIER + simple + r"\(" + ",".join(arguments) + r"\)"


# Elements whose content a browser does not read as markup: shown as
# text (RCDATA) or not shown at all (raw text).
RCDATA = {"textarea", "title"}
RAW_TEXT = {"script", "style", "xmp", "iframe", "noembed", "noframes"}


def tag_end(markup, at):
    """The index after the ">" that ends a tag whose attributes begin at
    markup[at], quotes of attribute values honoured; len(markup) when the
    tag runs to the end."""
    n = len(markup)
    while at < n:
        c = markup[at]
        if c == ">":
            return at + 1
        if c == "=":
            at += 1
            while at < n and markup[at] in " \t\n\r\f":
                at += 1
            if at < n and markup[at] in "\"'":
                close = markup.find(markup[at], at + 1)
                if close < 0:
                    return n
                at = close + 1
                continue
            continue
        at += 1
    return n


def shown_text(markup):
    """The text a browser shows of an HTML piece, cut into tags as an HTML
    parser of today cuts it: "<" and a letter open a tag that runs to its
    ">" (a quoted attribute value may hold one), "</" and a letter an end
    tag, "<!--" a comment, "<!" and "<?" a bogus comment to the next ">";
    any other "<" is text. Character references are decoded (also the
    legacy ones without ";"); script and style content is not shown,
    textarea and title content is text."""
    out = []
    i, n = 0, len(markup)
    while i < n:
        lt = markup.find("<", i)
        if lt < 0:
            out.append(html.unescape(markup[i:]))
            break
        out.append(html.unescape(markup[i:lt]))
        if markup.startswith("<!--", lt):
            if markup.startswith("<!-->", lt) or markup.startswith("<!--->", lt):
                i = markup.index(">", lt + 4) + 1
                continue
            end = markup.find("-->", lt + 4)
            i = n if end < 0 else end + 3
            continue
        following = markup[lt + 1:lt + 2]
        if following in ("!", "?"):
            end = markup.find(">", lt + 2)
            i = n if end < 0 else end + 1
            continue
        closing = following == "/"
        name_at = lt + 2 if closing else lt + 1
        if name_at < n and markup[name_at].isascii() and markup[name_at].isalpha():
            name_end = name_at
            while name_end < n and markup[name_end] not in " \t\n\r\f/>":
                name_end += 1
            name = markup[name_at:name_end].lower()
            i = tag_end(markup, name_end)
            if not closing and (name in RAW_TEXT or name in RCDATA):
                close = re.compile(r"</" + re.escape(name) + r"[\s/>]", re.I).search(markup, i)
                content_end = close.start() if close else n
                if name in RCDATA:
                    out.append(html.unescape(markup[i:content_end]))
                i = tag_end(markup, close.start() + 2 + len(name)) if close else n
            continue
        if closing:
            # "</>" is dropped; "</" and anything else is a bogus comment.
            end = markup.find(">", name_at)
            i = n if end < 0 else end + 1
            continue
        out.append("<")
        i = lt + 1
    return "".join(out)


class Expected:
    """An expected text under construction: HTML with holes, each hole
    written as a private-use character that the HTML reader leaves be."""

    def __init__(self):
        self.markup = []
        self.holes = []

    def add_markup(self, text):
        self.markup.append(text)

    def add_text(self, text):
        self.markup.append(html.escape(text, quote=False))

    def add_hole(self, pattern, name):
        self.markup.append(chr(0xE000 + len(self.holes)))
        self.holes.append(Hole(pattern, name))

    def atoms(self):
        """Characters and holes of the text a browser shows, blanks out."""
        out = []
        for c in no_blanks(shown_text("".join(self.markup))):
            index = ord(c) - 0xE000
            out.append(self.holes[index] if 0 <= index < len(self.holes) else c)
        return out


def add_java_text(expected, text, own_name):
    """Java's inline tags in text, expanded into expected."""
    i = 0
    while i < len(text):
        at = text.find("{@", i)
        if at < 0:
            expected.add_markup(text[i:])
            break
        expected.add_markup(text[i:at])
        end = inline_tag_end(text, at)
        body = text[at + 2:end]
        match = re.match(r"([A-Za-z]+)\s*", body)
        name = match.group(1) if match else ""
        rest = body[match.end():] if match else body
        i = end + 1
        # Where the text goes wrong, the tag that stands there is named.
        expected.add_hole("", "{@" + name + "}")
        if name in ("code", "literal"):
            expected.add_text(rest)
        elif name in ("link", "linkplain"):
            reference, label = split_reference(rest)
            if label.strip():
                add_java_text(expected, label.strip(), own_name)
            elif reference:
                expected.add_hole(reference_pattern(reference), "{@" + name + "}")
        elif name == "value":
            target = rest.strip().split("#")[-1] if rest.strip() else own_name
            expected.add_hole(rf"(?:{QUALIFIER}{re.escape(no_blanks(target))}|{LITERAL})", "{@value}")
        elif name.lower() == "docroot":
            expected.add_hole(r"[./]*", "{@docRoot}")
        elif name == "inheritDoc":
            expected.add_hole(r".*?", "{@inheritDoc}")
        elif name == "index":
            term = re.match(r'\s*("[^"]*"|\S+)', rest)
            if term:
                expected.add_text(term.group(1).strip('"'))
        elif name == "return":
            expected.add_hole("(?:Returns)?", "{@return}")
            add_java_text(expected, rest, own_name)
        else:
            add_java_text(expected, rest, own_name)


BLOCK_TAG = re.compile(r"[ \t]*@(\S*)")
CODE_LINE = re.compile(r"[ \t\r\f\v]*@(code|endcode)(?![A-Za-z0-9._:-])(.*)", re.S)


def code_blocks_as_html(comment):
    """The comment with each code block ("@code" ... "@endcode", each the
    first word of its line) as the pages show it: a <pre> of its lines as
    written (the reader's "<BR>" after each dropped), with no tag line or
    inline tag read in it; what follows "@endcode" follows it."""
    lines = comment.split("\n")
    out, i = [], 0
    while i < len(lines):
        start = CODE_LINE.match(lines[i])
        if not start or start.group(1) != "code":
            out.append(lines[i])
            i += 1
            continue
        end = next((j for j in range(i + 1, len(lines))
                    if (m := CODE_LINE.match(lines[j])) and m.group(1) == "endcode"), None)
        if end is None:
            out.extend(lines[i:])
            break
        first = start.group(2)
        if first.startswith("{"):
            first = first[first.find("}") + 1:] if "}" in first else ""
        first = first.strip()
        code = ([first] if first and first != "<BR>" else []) + lines[i + 1:end]
        code = [line[:-4] if line.endswith("<BR>") else line for line in code]
        after = CODE_LINE.match(lines[end]).group(2)
        if after.strip() == "<BR>":
            after = ""
        # Its lines break inside the <pre>, not as lines of the comment.
        out.append("<pre>" + "&#10;".join(html.escape(line, quote=False).replace("{", "&#123;")
                                           for line in code) + "</pre>" + after)
        i = end + 1
    return "\n".join(out)


def heading_name(tag):
    """A block tag's name as the heading of its paragraph shows it: without
    the "<BR>" that a tag alone on its line ends in."""
    return tag[:-4] if len(tag) > 4 and tag[-4:].lower() == "<br>" else tag


def java_parts(comment):
    """(description, [(tag, text)]): block tags begin a line outside any
    inline tag."""
    inside = []  # the spans of the inline tags
    at = comment.find("{@")
    while at >= 0:
        end = inline_tag_end(comment, at)
        if end == len(comment):
            # Never closed: it cannot hide the tag lines that follow.
            line_end = comment.find("\n", at)
            end = line_end if line_end >= 0 else len(comment)
        inside.append((at, end))
        at = comment.find("{@", end + 1)
    description, tags = [], []
    current = description
    offset = 0
    for line in comment.split("\n"):
        tag = BLOCK_TAG.match(line)
        at_sign = offset + tag.start(1) - 1 if tag else 0
        if tag and any(start < at_sign <= end for start, end in inside):
            tag = None
        if tag:
            tags.append([tag.group(1), line[tag.end():]])
            current = tags[-1]
        elif current is description:
            description.append(line)
        else:
            current[1] += "\n" + line
        offset += len(line) + 1
    return "\n".join(description), [(t, x) for t, x in tags]


class CSharpDoc(html.parser.HTMLParser):
    """C#'s XML documentation read as Java's description and block tags,
    with <see> and the like written as Java's inline tags would be."""

    SECTION = {"param": "param", "typeparam": "param", "returns": "return",
               "exception": "throws"}

    def __init__(self):
        super().__init__(convert_charrefs=False)
        self.description = []
        self.tags = []           # [tag, argument, markup pieces]
        self.target = self.description
        self.depth = 0           # of the section element read
        self.inheritdoc = False
        self.holes = []          # (placeholder markup, pattern, name)

    def hole(self, pattern, name):
        mark = "\x00hole%d\x00" % len(self.holes)
        self.holes.append((mark, pattern, name))
        self.target.append(mark)

    def handle_starttag(self, tag, attrs):
        self.start(tag, dict(attrs), False)

    def handle_startendtag(self, tag, attrs):
        self.start(tag, dict(attrs), True)

    def start(self, tag, attrs, empty):
        if tag == "inheritdoc":
            self.inheritdoc = True
            return
        if self.target is self.description and tag in self.SECTION:
            name = attrs.get("name") or attrs.get("cref") or ""
            if tag == "typeparam":
                name = "<" + name + ">"
            self.tags.append([self.SECTION[tag], name, []])
            self.target = self.tags[-1][2]
            self.depth = 1
            return
        if self.target is self.description and tag == "seealso":
            self.tags.append(["see", attrs.get("cref", ""), []])
            return
        if self.target is not self.description and not empty:
            self.depth += 1
        if tag == "see" and "cref" in attrs:
            if empty:
                self.hole(cref_pattern(attrs["cref"]), "<see cref>")
        elif tag == "see" and "langword" in attrs:
            self.target.append(html.escape(attrs["langword"]))
        elif tag in ("paramref", "typeparamref"):
            self.target.append(html.escape(attrs.get("name", "")))
        # Every other element keeps only its words.

    def handle_endtag(self, tag):
        if self.target is not self.description:
            self.depth -= 1
            if self.depth == 0:
                self.target = self.description

    def handle_data(self, data):
        self.target.append(data)

    def handle_entityref(self, name):
        self.target.append("&" + name + ";")

    def handle_charref(self, name):
        self.target.append("&#" + name + ";")


def csharp_parts(comment):
    reader = CSharpDoc()
    reader.feed(comment)
    reader.close()
    return reader


# Tags of which a comment shows one: the last of each.
SINGLE_TAGS = ("return", "since", "version", "deprecated")


def replaced_tags(names):
    """The indexes of the tags that a later tag of the same name replaces."""
    last = {name: index for index, name in enumerate(names) if name in SINGLE_TAGS}
    return {index for index, name in enumerate(names) if name in last and last[name] != index}


def comment_units(comment, language, own_name, shown_tags):
    """The texts a browser should show of a comment: a list of (kind,
    atoms) and the section labels it asks for; None when nothing can be
    compared (an inherited comment)."""
    units, labels, skipped = [], set(), []

    def unit(kind, build):
        expected = Expected()
        build(expected)
        atoms = expected.atoms()
        if atoms:
            units.append((kind, atoms))

    if language == "csharp" and re.search(r"<\w", comment):
        doc = csharp_parts(comment)
        if doc.inheritdoc and not "".join(doc.description).strip() and not doc.tags:
            return None

        def add_pieces(expected, pieces):
            for piece in pieces:
                hole = next((h for h in doc.holes if h[0] == piece), None)
                if hole:
                    expected.add_hole(hole[1], hole[2])
                else:
                    expected.add_markup(piece)

        unit("description", lambda e: add_pieces(e, doc.description))
        replaced = replaced_tags([tag for tag, _, _ in doc.tags])
        for index, (tag, argument, pieces) in enumerate(doc.tags):
            if index in replaced:
                skipped.append("@" + tag)
                continue
            labels.add(tag)
            if tag == "see":
                unit("@see", lambda e, a=argument: e.add_hole(cref_pattern(a), "<seealso>"))
            elif tag == "throws":
                unit("@throws", lambda e, a=argument, p=pieces: (
                    e.add_hole(cref_pattern(a) + "-?", "<exception cref>"), add_pieces(e, p)))
            elif tag == "param":
                unit("@param", lambda e, a=argument, p=pieces: (
                    e.add_hole(param_name_pattern(a), "@param"), add_pieces(e, p)))
            else:
                unit("@" + tag, lambda e, p=pieces: add_pieces(e, p))
        return units, labels, skipped

    if "@code" in comment:
        comment = code_blocks_as_html(comment)
    description, tags = java_parts(comment)
    # "@brief" starts the description, a paragraph of its own before it.
    briefs = [text.strip() for tag, text in tags if heading_name(tag) == "brief" and text.strip()]
    if briefs:
        description = "\n".join(briefs) + ("\n<p>" + description if description.strip() else "")
    tags = [(tag, text) for tag, text in tags if heading_name(tag) != "brief"]
    unit("description", lambda e: add_java_text(e, description, own_name))
    tags = [({"exception": "throws", "throw": "throws"}.get(tag, tag), text) for tag, text in tags]
    replaced = replaced_tags([tag for tag, _ in tags])
    for index, (tag, text) in enumerate(tags):
        if index in replaced:
            skipped.append("@" + tag)
            continue
        if tag in ("author", "version") and tag not in shown_tags:
            skipped.append("@" + tag)
            continue
        if tag not in ("param", "return", "throws", "see", "since", "deprecated", "author",
                       "version"):
            # A paragraph after the description, headed by the tag's name.
            name = heading_name(tag)
            heading = (name[0].upper() + name[1:] if "a" <= name[:1] <= "z" else name) + ":"
            if text.strip() == "{@inheritDoc}":
                skipped.append("inherited")  # nothing is copied, so nothing shown
            elif text.strip():
                unit("@" + tag, lambda e, h=heading, t=text.strip(): (
                    e.add_text(h), add_java_text(e, t, own_name)))
            continue
        text = text.strip()
        if tag == "return" and text == "{@inheritDoc}":
            skipped.append("inherited")  # as <inheritdoc/>: nothing is copied
            continue
        if not text and tag != "deprecated":
            continue  # nothing to show, not even its label
        labels.add(tag)
        if tag in ("param", "throws"):
            if text.startswith("<") and tag == "param" and ">" in text:
                name, rest = text[:text.find(">") + 1], text[text.find(">") + 1:]
            elif text.startswith("{@"):
                # "@throws {@code E} text": the name is the inline tag's.
                end = inline_tag_end(text, 0)
                named = Expected()
                add_java_text(named, text[:end + 1], own_name)
                name, rest = atoms_text(a for a in named.atoms() if not isinstance(a, Hole)), text[end + 1:]
            else:
                name, rest = first_word(text)
                name = no_blanks(shown_text(name))  # "<code>E</code>" shows "E"
            pattern = param_name_pattern(name) if tag == "param" else reference_pattern(name) + "-?"
            unit("@" + tag, lambda e, p=pattern, r=rest, t=tag: (
                e.add_hole(p, "@" + t), add_java_text(e, r, own_name)))
        elif tag == "see":
            if text.startswith('"'):
                unit("@see", lambda e, t=text: e.add_hole('"?' + re.escape(no_blanks(t.strip('"'))) + '"?',
                                                          "@see"))
            elif text.startswith("<"):
                unit("@see", lambda e, t=text: add_java_text(e, t, own_name))
            else:
                reference, label = split_reference(text)
                if label.strip():
                    unit("@see", lambda e, l=label: add_java_text(e, l, own_name))
                else:
                    unit("@see", lambda e, r=reference: e.add_hole(reference_pattern(r), "@see"))
        else:
            unit("@" + tag, lambda e, t=text: add_java_text(e, t, own_name))
    return units, labels, skipped


def param_name_pattern(name):
    """A parameter's name, a type parameter "<T>" also as "T"; then the
    " - " that may part it from its text."""
    name = no_blanks(name)
    if name.startswith("<") and name.endswith(">"):
        inner = re.escape(name[1:-1])
        return rf"(?:<{inner}>|{inner})-?"
    return re.escape(name) + "-?"


LABELS = {"param": "Parameters:", "return": "Returns:", "throws": "Throws:",
          "see": "SeeAlso:", "since": "Since:", "deprecated": "Deprecated",
          "author": "Author:", "version": "Version:"}


def atoms_pattern(atoms):
    return "".join(a.pattern if isinstance(a, Hole) else re.escape(a) for a in atoms)


def atoms_text(atoms):
    return "".join(a.name if isinstance(a, Hole) else a for a in atoms)


class Found:
    """Where a text without holes to match stands: a match's span."""

    def __init__(self, start, end):
        self._span = (start, end)

    def span(self):
        return self._span

    def end(self):
        return self._span[1]


def search(atoms, text):
    """Where the atoms stand in text, or None. Most texts hold no hole that
    matches anything (only the marks of inline tags): a plain search."""
    if all(not isinstance(a, Hole) or not a.pattern for a in atoms):
        literal = "".join(a for a in atoms if not isinstance(a, Hole))
        at = text.find(literal)
        return Found(at, at + len(literal)) if at >= 0 else None
    try:
        return re.search(atoms_pattern(atoms), text, re.S)
    except re.error:
        return None


def longest_prefix(atoms, text):
    """How many of the atoms, from the first, stand together in text."""
    low, high = 0, len(atoms)
    while low < high:
        middle = (low + high + 1) // 2
        if search(atoms[:middle], text):
            low = middle
        else:
            high = middle - 1
    return low


def failure_cause(kind, atoms, prefix):
    """The unit's kind, and the inline tag or element where the text stops
    being shown, when one stands there or shortly before (the text after
    a tag may well stand elsewhere in the entry too)."""
    for at in range(min(prefix, len(atoms) - 1), max(-1, prefix - 40), -1):
        if isinstance(atoms[at], Hole) and atoms[at].name != kind:
            return f"{kind} at {atoms[at].name}"
    return kind


def compare_texts(page_path, members, details, bodies, shown_tags, totals, causes, verbose, out):
    """Compares the comments of the page's members with their detail
    entries (see Texts above), adding to totals and causes."""
    texts = [no_blanks(shown_text(body)) for body in bodies]
    entries = defaultdict(list)
    for index, (key, _) in enumerate(details):
        entries[key].append(index)
    # Each member's texts, once worked out.
    units_of = {}
    for member in members:
        if not entries.get(member.key):
            continue  # lost: counted above
        units_of[member] = []
        for comment in member.comments:
            parsed = comment_units(comment, member.language, member.name, shown_tags)
            if parsed is None:
                totals["texts inherited"] += 1
                continue
            units, labels, skipped = parsed
            totals["texts inherited"] += skipped.count("inherited")
            totals["block tags not shown"] += len(skipped) - skipped.count("inherited")
            units_of[member].append((units, labels))
    owners = defaultdict(list)
    for member in units_of:
        for index in entries[member.key]:
            owners[index].append(member)
    own_texts = {index: {atoms_text(atoms) for m in ms for units, _ in units_of[m] for _, atoms in units}
                 for index, ms in owners.items()}
    # Their characters, run together where holes stood.
    own_literal = {index: "\x00".join("".join(a for a in atoms if not isinstance(a, Hole))
                                      for m in ms for units, _ in units_of[m] for _, atoms in units)
                   for index, ms in owners.items()}

    def report(category, member, kind, atoms, prefix, shown_in):
        totals["texts " + category] += 1
        cause = failure_cause(kind, atoms, prefix) if category == "cut" else kind
        causes[category][cause] += 1
        if verbose:
            expected = atoms_text(atoms)
            if category == "cut":
                text = texts[shown_in]
                hit = search(atoms[:prefix], text)
                after = text[hit.end():hit.end() + 40] if hit else ""
                print(f"cut ({cause}): {page_path}: {member.key}: after "
                      f"\"{atoms_text(atoms[max(0, prefix - 30):prefix])}\" expected "
                      f"\"{atoms_text(atoms[prefix:prefix + 40])}\", shown \"{after}\"", file=out)
            elif category == "misplaced":
                print(f"misplaced ({kind}): {page_path}: {member.key}: \"{expected[:80]}\" shown in "
                      f"the entry of {details[shown_in][0]}", file=out)
            else:
                print(f"missing ({kind}): {page_path}: {member.key}: \"{expected[:80]}\"", file=out)

    # Where each entry shows its own member's texts.
    own_spans = defaultdict(list)
    for member, comments in units_of.items():
        own = entries[member.key]
        for units, labels in comments:
            for kind, atoms in units:
                totals["texts compared"] += 1
                hits = [(i, search(atoms, texts[i])) for i in own]
                for i, hit in hits:
                    if hit:
                        own_spans[i].append(hit.span())
                if any(hit for _, hit in hits):
                    totals["texts whole"] += 1
                    continue
                prefix, shown_in = max((longest_prefix(atoms, texts[i]), i) for i in own)
                hit = search(atoms[:prefix], texts[shown_in]) if prefix else None
                if hit:
                    own_spans[shown_in].append(hit.span())
                # A text shown up to an inline tag and wrong from there on is
                # one shown wrong, wherever else it may stand too.
                at_tag = any(isinstance(a, Hole) and a.name != kind
                             for a in atoms[max(0, prefix - 1):prefix + 1])
                if prefix >= 1 and at_tag:
                    report("cut", member, kind, atoms, prefix, shown_in)
                    continue
                # Otherwise the beginning is there when it is twelve
                # characters, a parameter's or exception's name and what
                # follows it, or three characters and half of a short text.
                named = next((i for i, a in enumerate(atoms[:prefix]) if isinstance(a, Hole) and a.pattern),
                             None)
                begun = prefix >= 12 or (named is not None and prefix > named + 1) or \
                    (prefix >= 3 and prefix * 2 >= len(atoms))
                text = atoms_text(atoms)
                elsewhere = next((i for i, t in enumerate(texts) if i not in own and
                                  text not in own_texts.get(i, ()) and search(atoms, t)), None)
                if elsewhere is not None:
                    report("misplaced", member, kind, atoms, 0, elsewhere)
                elif begun:
                    report("cut", member, kind, atoms, prefix, shown_in)
                else:
                    report("missing", member, kind, atoms, prefix, own[0])
            for label in sorted(labels):
                totals["texts compared"] += 1
                if any(LABELS[label] in texts[i] for i in own):
                    totals["texts whole"] += 1
                else:
                    report("missing", member, "label " + LABELS[label], list(LABELS[label]), 0, own[0])

    # Entries that show another member's description: its first run of 32
    # characters that no inline tag breaks, where no text of the entry's
    # own member stands.
    starts = defaultdict(set)
    for member, comments in units_of.items():
        for units, _ in comments:
            for kind, atoms in units:
                if kind != "description":
                    continue
                run = []
                for atom in atoms:
                    run = [] if isinstance(atom, Hole) else run + [atom]
                    if len(run) == 32:
                        starts["".join(run)].add(member)
                        break
    if not starts:
        return
    for index, text in enumerate(texts):
        mine = set(owners.get(index, ()))
        spans = own_spans.get(index, ())
        literal = own_literal.get(index, "")
        seen = set()
        for at in range(len(text) - 31):
            window = text[at:at + 32]
            others = starts.get(window)
            if not others or window in seen or others & mine or window in literal or \
                    any(start <= at and at + 32 <= end for start, end in spans):
                continue
            seen.add(window)
            totals["entries with another member's text"] += 1
            causes["foreign"]["description"] += 1
            if verbose:
                other = sorted(m.key for m in others)[0]
                print(f"foreign: {page_path}: the entry of {details[index][0]} shows \"{window}\" "
                      f"of {other}", file=out)


def check(list_path, verbose=False, private=False, protected=True, out=sys.stdout,
          shown_tags=()):
    """shown_tags: the optional block tags the pages show ("author",
    "version")."""
    texts = defaultdict(list)
    expected = read_list(list_path, private, protected, texts)
    totals = Counter()
    causes = defaultdict(Counter)
    for page_path in sorted(expected):
        want_summaries, want_details = expected[page_path]
        try:
            with open(page_path, encoding="utf-8", errors="replace") as f:
                page = f.read()
        except OSError:
            totals["lost"] += sum(want_details.values())
            totals["pages missing"] += 1
            if verbose and want_details:
                print(f"no page: {page_path} ({sum(want_details.values())} members)", file=out)
            continue
        totals["pages"] += 1
        bodies = [] if texts.get(page_path) else None
        summaries, details, owners = read_page(page, bodies)
        if bodies is not None:
            compare_texts(page_path, texts[page_path], details, bodies, shown_tags, totals, causes,
                          verbose, out)
        views = (("summary", want_summaries, Counter(summaries)),
                 ("detail", want_details, Counter(k for k, _ in details)))
        for key in sorted(set(want_details) | set(want_summaries) | set(summaries) |
                          set(k for k, _ in details)):
            # A member missing from (or shown twice in) both views counts once.
            worst = Counter()
            for view, want, keys in views:
                sent, seen = want.get(key, 0), keys.get(key, 0)
                kind = "lost" if seen < sent else "duplicated" if sent else "unmatched"
                if seen == sent:
                    continue
                worst[kind] = max(worst[kind], abs(seen - sent))
                if kind == "lost":
                    totals["lost from " + view] += sent - seen
                if verbose:
                    print(f"{kind} ({view}): {page_path}: {key} (sent {sent}, shown {seen})",
                          file=out)
            totals.update(worst)
        reported = set()
        for key, anchor in details:
            if anchor is None or anchor in reported or len(owners.get(anchor, ())) < 2:
                continue
            reported.add(anchor)
            totals["ambiguous"] += 1
            if verbose:
                print(f"ambiguous: {page_path}: #{anchor} ({len(owners[anchor])} places)", file=out)
    print(f"{totals['pages']} class pages ({totals['pages missing']} missing), "
          f"{sum(sum(d.values()) for _, d in expected.values())} members expected: "
          f"lost {totals['lost']} (from summaries {totals['lost from summary']}, "
          f"from details {totals['lost from detail']}), duplicated {totals['duplicated']}, "
          f"ambiguous anchors {totals['ambiguous']}, unmatched entries {totals['unmatched']}",
          file=out)
    print(f"texts of {sum(len(m) for m in texts.values())} members' comments: "
          f"{totals['texts compared']} compared, {totals['texts whole']} whole, "
          f"cut {totals['texts cut']}, missing {totals['texts missing']}, "
          f"misplaced {totals['texts misplaced']}; entries showing another member's text "
          f"{totals['entries with another member' + chr(39) + 's text']}; not compared: "
          f"{totals['texts inherited']} inherited comments, {totals['block tags not shown']} block "
          f"tags the pages do not show", file=out)
    for category in ("cut", "missing", "misplaced", "foreign"):
        if causes[category]:
            print(f"  {category}: " + ", ".join(f"{cause} {count}" for cause, count in
                                                 causes[category].most_common()), file=out)
    return totals


def main(argv):
    verbose = "-v" in argv
    private = "-private" in argv
    protected = "-no-protected" not in argv
    shown_tags = [tag for tag in ("author", "version") if "-" + tag in argv]
    paths = [a for a in argv if not a.startswith("-")]
    if len(paths) != 1:
        print(__doc__.strip().split("\n\n")[1], file=sys.stderr)
        return 2
    check(paths[0], verbose, private, protected, shown_tags=shown_tags)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
