// The master index: every documented class and member of the run, in the
// site's name order, grouped by initial letter ("A" to "Z", and "_" for
// every other initial) on one page or on one page per letter.
//
// writeMasterIndexPage is declared in PageWriters.h.
#pragma once

#include "modules/standard/PageWriters.h"

#include <string>

class CppClassEntity;

// The letter an entry is filed under: the upper-cased initial of its name
// (the second character after a "~"), "_" when that is not a letter.
char indexLetter(const std::string& name);

// The kind words of a member entry ("static function", "constructor",
// "member variable", "preprocessor macro", ...), by the first rule that
// applies.
std::string memberKindWord(const CppClassMember& member);
