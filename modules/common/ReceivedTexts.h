// The list texts that startClass and startMember receive, read into a
// record.
#pragma once

#include <string>

class CppClass;
class CppClassEntity;

// Reads a base-list text ("name,t|name,f|...", backslash escapes) into the
// class's base table through addBase; "t" alone marks an interface. The
// mark follows an entry's last ",", so a name may hold commas
// ("Traits<int, 4>,f"), unless that last field begins with "=": then it is
// the base as the class head writes it (CppClass::setWrittenBase, its
// escapes read), and the mark stands before it ("Handler<>,f,=Handler<string>").
void setBasesFromText(CppClass& cls, const std::string& text);
// Adds each name of a "name|name|..." text to the entity's file names.
void setFileNamesFromText(CppClassEntity& entity, const std::string& text);
