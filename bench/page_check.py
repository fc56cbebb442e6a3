#!/usr/bin/env python3
"""Compares the member entries of a generated site's class pages with what
the program sent to the output module in the same run.

  page_check.py [-v] [-private] [-no-protected] LIST

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
"""
import html
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
OPEN = {"(": ")", "[": "]", "{": "}", "<": ">"}


def unescape_field(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            out.append({"\\": "\\", "t": "\t", "n": "\n", "r": "\r"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


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


def argument_type(argument):
    """An argument's type: default value and parameter name dropped,
    blanks removed."""
    text = split_top(argument, "=")[0].strip()
    # Qualifiers go first: a page may show a type, or a parameter's name,
    # by a qualified name that it links.
    text = re.sub(r"[A-Za-z_$][\w$]*\s*(<[^<>]*>)?\s*(::|\.)\s*(?=[A-Za-z_$~])", "", text)
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


def read_page(page):
    """(summary keys, [(detail key, anchor)], Counter of anchor owners
    per anchor name) of one class page."""
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
            for _, position in anchors:
                entry_anchor_spans[position] = index
    for hit in ANCHOR.finditer(page):
        line_start = page.rfind("\n", 0, hit.start()) + 1
        owner = entry_anchor_spans.get(line_start, ("element", hit.start()))
        owners[html.unescape(hit.group(1))].add(owner)
    return summaries, details, owners


def simple_name(class_name):
    return class_name.split(":")[-1].split(".")[-1]


def read_list(path, private, protected):
    """{page: (Counter of keys expected in the summaries, Counter of keys
    expected in the details)}."""
    expected = defaultdict(lambda: (Counter(), Counter()))
    page = class_name = kind = None
    with open(path, encoding="utf-8", errors="replace") as listing:
        for line in listing:
            fields = [unescape_field(f) for f in line.rstrip("\n").split("\t")]
            if fields[0] == "class":
                page, class_name, kind = fields[1], fields[2], fields[3]
                expected[page]  # a page with no member is still read
            elif fields[0] == "member" and page is not None:
                name, access, has_arguments, declaration = fields[1:5]
                arguments = fields[5:] if has_arguments == "1" else None
                simple = simple_name(class_name)
                structor = arguments is not None and name in (simple, "~" + simple)
                if not structor and ((access == "private" and not private) or
                                     (access == "protected" and not protected)):
                    continue
                key = member_key(name, arguments)
                summaries, details = expected[page]
                details[key] += 1
                # A typedef's page has no field summary, only its details.
                if kind != "typedef" or arguments is not None or declaration.startswith("#define"):
                    summaries[key] += 1
    return expected


def check(list_path, verbose=False, private=False, protected=True, out=sys.stdout):
    expected = read_list(list_path, private, protected)
    totals = Counter()
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
        summaries, details, owners = read_page(page)
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
    return totals


def main(argv):
    verbose = "-v" in argv
    private = "-private" in argv
    protected = "-no-protected" not in argv
    paths = [a for a in argv if not a.startswith("-")]
    if len(paths) != 1:
        print(__doc__.strip().split("\n\n")[1], file=sys.stderr)
        return 2
    check(paths[0], verbose, private, protected)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
