// Path operations on plain strings.
//
// Both "/" and "\\" are separators when a path is read; "/" is what these
// functions write. A path is absolute when it begins with a separator;
// there are no drive letters.
#pragma once

#include <string>
#include <string_view>

// The separator this library writes: "/".
std::string pathSeparator();

// The position of the last "/" or "\\" in the path, or std::string::npos
// when it holds neither.
std::string::size_type findLastPathSeparator(const std::string& path);

// The path with every "\\" written "/", the separator the system reads.
std::string slashSeparated(std::string path);

// The part after the last separator; the whole path when it has none; ""
// when it ends with a separator.
std::string fileNameOf(const std::string& path);

// True unless the path begins with "/" or "\\" ("" is relative).
bool isRelativePath(const std::string& path);

// A relative path prefixed with the current directory and "/" ("." gives
// the current directory alone); an absolute path unchanged. Nothing else is
// normalised. Throws VelkError as getCurrentDirectory does.
std::string makeAbsolutePath(const std::string& path);

// The part before the last separator, without it: "." when the path has no
// separator, "/" for a file directly in the root ("/x.html"). With
// `makeAbsolute`, the result passed through makeAbsolutePath.
std::string directoryOf(const std::string& path, bool makeAbsolute = false);

// The process's current working directory, of any length. Throws VelkError
// "Could not get the current working directory." when it cannot be read
// (for instance when it was removed).
std::string getCurrentDirectory();

// True when the path names a directory (links followed).
bool directoryExists(const std::string& path);

// Creates one directory (mode 0777 less the umask). Returns 0, or -1 with
// errno telling why. Never throws.
int makeDirectory(const std::string& path);

// The longest file name these functions make: file systems refuse a name
// of more than 255 bytes.
constexpr std::string::size_type kMaxFileNameBytes = 255;

// A file name made to fit in maxBytes: unchanged when it does; otherwise
// its head (never cut inside a UTF-8 sequence), "~" and 16 hexadecimal
// digits of a hash of the whole name, so that two long names sharing a head
// still differ. The same name always gives the same result.
std::string fitFileName(const std::string& name, std::string::size_type maxBytes = kMaxFileNameBytes);

// One path component made from a name (a project, package or class) so
// that no page leaves its directory and the name is valid on every file
// system: ':' becomes '.'; blank, '[', ']', '/', '\' and control
// characters become '_'; a result that is "", "." or ".." becomes "_";
// a result longer than leaves room for an extension of up to 15 bytes is
// shortened by fitFileName. The one rule for a project's folder, its pages,
// its listings and every link to them.
std::string safePathComponent(const std::string& name);
// safePathComponent appended to out.
void appendSafePathComponent(std::string& out, std::string_view name);

// True when the path, taken relative to some directory, names a place
// outside it: an absolute path, or one whose ".." components climb above
// its start ("a/../.." does, "a/../b" does not). "" and "." stay inside.
bool leavesDirectory(const std::string& path);
// The refusal of such a value, for every place that takes one:
// "The value \"<value>\" of <option> leaves the output directory; give a
// name inside it."
std::string leavingOutputText(const std::string& option, const std::string& value);

// The path as the folders it names, read without the file system: "/" for
// every "\\", no "." or empty components, and each ".." taken back with the
// component before it ("a/../b" is "b", "a\\.\\b\\" is "a/b"). A ".." with
// nothing before it stays in a relative path ("../x") and goes at the
// root ("/../x" is "/x"); a relative path of which nothing is left is ".".
std::string lexicalPath(const std::string& path);

// The one rule for a folder of the site below the output directory (the
// detail-pages directory), wherever the value comes from: "" when it is
// usable, else the refusal naming option and value. A value that begins
// with "/" or "\\" or has ":" as its second character (a drive, "C:\\docs")
// is no relative path; one that climbs out (leavesDirectory) is refused
// with leavingOutputText; one with a folder name longer than a file name
// can be (makesTooLongAName) with tooLongANameText.
std::string siteFolderRefusal(const std::string& option, const std::string& value);

// The one rule for the base of page names that stand beside the main page
// (the master index pages), wherever the value comes from: "" when it is
// usable, else the refusal naming option and value. A value that leaves
// the output directory is refused with leavingOutputText; one that holds
// "/", "\\" or ".." names a folder (or a way up) where a name is wanted;
// one that makes the longest of them ("<value>-all.html") longer than a
// file name can be is refused with tooLongANameText.
std::string pageBaseRefusal(const std::string& option, const std::string& value);

// True when a part of the path (between "/" or "\\") is longer than a file
// name can be (NAME_MAX bytes), the last part with `suffix` more bytes
// after it, as the names of the pages made from it have.
bool makesTooLongAName(const std::string& path, std::size_t suffix);
// The refusal of such a value: "The value \"<value>\" of <option> makes a
// file name longer than <n> bytes; give a shorter one."
std::string tooLongANameText(const std::string& option, const std::string& value);
