#!/usr/bin/env python3
"""A reference list of the types and members that C++ headers declare, made
with clang's AST and not with our reader, in the format that
corpus-check.sh -expect=FILE compares:

    type<TAB>PACKAGE<TAB>NAME
    member<TAB>PACKAGE.CLASS<TAB>NAME<TAB>ARGUMENT COUNT (-1: not a function)

    bench/clang-reference.py [--package=corpus] [--root=DIR] HEADER... > ref.txt
    bench/corpus-check.sh -expect=ref.txt DIR

Every header goes into one translation unit; a header that does not compile
alone is tried after all the others and left out (named on stderr) when it
still adds errors. Only declarations spelled (after macro expansion) in one
of the headers given (with --root, in any file below DIR) are listed, and
they are counted as the model counts them:
  - types: named classes, structs and unions with a body, named enums with
    their constants, typedefs and alias declarations (each also a member of
    its own name), namespaces; a nested type is OUTER::NAME;
  - members: methods, constructors, destructors and conversions (argument
    count = declared parameters, "..." counting as one), fields and static
    data; functions and variables outside classes belong to the namespace,
    or to "(PACKAGE  globals)" at file level;
  - left out: what a macro defined in another file declares (the reader
    reads each file alone), what the compiler declares implicitly, friends, using
    declarations, anonymous types and what they hold, forward declarations,
    out-of-class definitions and redeclarations, template instantiations.
"""
import functools
import json
import os
import subprocess
import sys
import tempfile

CLANG = os.environ.get("CLANG", "clang++")
# CLANG_FLAGS adds to these, e.g. "-fPIC -I/usr/include/x86_64-linux-gnu/qt6".
FLAGS = ["-x", "c++", "-std=c++17", "-fsyntax-only", "-w"] + os.environ.get("CLANG_FLAGS", "").split()

RECORDS = {"CXXRecordDecl", "ClassTemplateSpecializationDecl",
           "ClassTemplatePartialSpecializationDecl"}
FUNCTIONS = {"FunctionDecl", "CXXMethodDecl", "CXXConstructorDecl",
             "CXXDestructorDecl", "CXXConversionDecl"}


def compiles(headers):
    with tempfile.NamedTemporaryFile("w", suffix=".cpp", delete=False) as tu:
        tu.write("".join('#include "%s"\n' % h for h in headers))
    try:
        result = subprocess.run([CLANG] + FLAGS + [tu.name], stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        return result.returncode == 0
    finally:
        os.unlink(tu.name)


def choose(headers):
    alone = [h for h in headers if compiles([h])]
    chosen = list(alone)
    for h in headers:
        if h in alone:
            continue
        if compiles(chosen + [h]):
            chosen.append(h)
        else:
            print("left out (does not compile): " + h, file=sys.stderr)
    return chosen


def dump(headers):
    with tempfile.NamedTemporaryFile("w", suffix=".cpp", delete=False) as tu:
        tu.write("".join('#include "%s"\n' % h for h in headers))
    try:
        out = subprocess.run([CLANG] + FLAGS + ["-Xclang", "-ast-dump=json", tu.name],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=False)
        return json.loads(out.stdout)
    finally:
        os.unlink(tu.name)


class Files:
    """The dump names a location's file only when it differs from that of
    the location printed before it: walking the dump in its order recovers
    each declaration's file (of the macro expansion, where there is one)."""

    def __init__(self):
        self.last = None

    def location(self, loc):
        """The file of the location, and that of its spelling when a macro
        made it (else None)."""
        if "spellingLoc" in loc:
            spelling, _ = self.location(loc["spellingLoc"])
            expansion, _ = self.location(loc["expansionLoc"])
            return expansion, spelling
        if "file" in loc:
            self.last = loc["file"]
        return self.last, None

    def walk(self, node):
        stack = [node]
        while stack:
            item = stack.pop()
            if isinstance(item, list):
                stack.extend(reversed(item))
                continue
            if not isinstance(item, dict):
                continue
            if "kind" in item and "loc" in item:
                item["_file"], item["_spelling"] = self.location(item["loc"])
                rest = [v for k, v in item.items() if k not in ("loc", "_file", "_spelling")]
            else:
                rest = list(item.values())
            if "begin" in item and "end" in item and "kind" not in item:
                self.location(item["begin"])
                self.location(item["end"])
                continue
            stack.extend(reversed(rest))


def operator_name(name):
    # "operator const char *" reads "operator const char*" in our lists.
    return name.replace(" *", "*").replace(" &", "&")


class Reference:
    def __init__(self, root, headers, package):
        self.root = root.rstrip("/") + "/" if root else None
        self.headers = set(headers)
        self.package = package
        self.globals = "(%s  globals)" % package
        self.types = set()
        self.members = []
        self.names = {}  # id of a class or namespace -> its qualified name

    def mine(self, node):
        f = node.get("_file")
        if not f or not self.below_root(f):
            return False
        # Named by a macro of another file: the reader reads no other file,
        # so it never sees what such a macro declares.
        spelling = node.get("_spelling")
        return not spelling or spelling == f or spelling.startswith("<")

    @functools.lru_cache(maxsize=None)
    def below_root(self, path):
        path = os.path.realpath(path)
        return path.startswith(self.root) if self.root else path in self.headers

    def member(self, owner, name, count):
        self.members.append((owner, operator_name(name), count))

    @staticmethod
    def arguments(fn):
        inner = fn.get("inner", [])
        count = sum(1 for n in inner if n.get("kind") == "ParmVarDecl")
        return count + (1 if fn.get("variadic") else 0)

    def scope(self, node, prefix, in_class):
        owner = prefix or self.globals
        for child in node.get("inner", []):
            kind = child.get("kind")
            if child.get("isImplicit"):
                continue
            name = child.get("name", "")
            qualified = prefix + "::" + name if prefix else name
            # Defined outside its class or namespace (class Outer::Inner {}).
            outer = self.names.get(child.get("parentDeclContextId"))
            if outer is not None and name:
                qualified = outer + "::" + name
            if kind == "LinkageSpecDecl":
                self.scope(child, prefix, in_class)
            elif kind == "NamespaceDecl":
                if not name:
                    continue
                if self.mine(child):
                    self.types.add(qualified)
                self.names[child.get("id")] = qualified
                self.scope(child, qualified, False)
            elif kind == "ClassTemplateDecl":
                for pattern in child.get("inner", []):
                    if pattern.get("kind") == "CXXRecordDecl":
                        self.record(pattern, qualified)
            elif kind in RECORDS:
                if name:
                    self.record(child, qualified)
            elif kind == "EnumDecl":
                if name and child.get("inner") and self.mine(child):
                    self.types.add(qualified)
                    for constant in child["inner"]:
                        if constant.get("kind") == "EnumConstantDecl":
                            self.member(qualified, constant["name"], -1)
            elif kind in ("TypedefDecl", "TypeAliasDecl"):
                if self.mine(child):
                    self.types.add(qualified)
                    self.member(qualified, name, -1)
            elif kind == "TypeAliasTemplateDecl":
                if self.mine(child):
                    self.types.add(qualified)
                    self.member(qualified, name, -1)
            elif kind == "FunctionTemplateDecl":
                for fn in child.get("inner", []):
                    if fn.get("kind") in FUNCTIONS:
                        self.function(fn, owner, in_class, child)
            elif kind in FUNCTIONS:
                self.function(child, owner, in_class, child)
            elif kind in ("FieldDecl", "VarDecl"):
                if name and self.mine(child) and "previousDecl" not in child:
                    self.member(owner, name, -1)

    def function(self, fn, owner, in_class, located):
        if fn.get("isImplicit") or not self.mine(located) or "previousDecl" in fn:
            return
        # A method met outside its class is an out-of-class definition.
        if not in_class and fn.get("kind") != "FunctionDecl":
            return
        self.member(owner, fn["name"], self.arguments(fn))

    def record(self, node, qualified):
        self.names[node.get("id")] = qualified
        if not node.get("completeDefinition"):
            return
        if self.mine(node):
            self.types.add(qualified)
        self.scope(node, qualified, True)

    def lines(self):
        out = ["type\t%s\t%s" % (self.package, t) for t in sorted(self.types)]
        out += ["member\t%s.%s\t%s\t%d" % (self.package, owner, name, count)
                for owner, name, count in sorted(self.members)]
        return out


def main(argv):
    package, root, headers = "corpus", None, []
    for arg in argv:
        if arg.startswith("--package="):
            package = arg.split("=", 1)[1]
        elif arg.startswith("--root="):
            root = os.path.realpath(arg.split("=", 1)[1])
        else:
            headers.append(os.path.realpath(arg))
    if not headers:
        print(__doc__, file=sys.stderr)
        return 2
    tree = dump(choose(sorted(headers)))
    Files().walk(tree)
    reference = Reference(root, headers, package)
    reference.scope(tree, "", False)
    sys.stdout.write("".join(line + "\n" for line in reference.lines()))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
