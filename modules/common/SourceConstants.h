// The literals that initialise the constants of a run's sources, for the
// pages that show a constant's value ({@value}): each source is read and
// scanned once, when a page first asks for one of its constants, however
// many constants the pages ask for.
#pragma once

#include "VelkLib/VelkFile.h"
#include "modules/common/SourceFacts.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

class CppClass;

class SourceConstants {
public:
    // Sources are read only inside roots; without roots, none is. Forgets
    // what was read.
    void setRoots(InputRoots roots);
    // Forgets what was read (the next run's sources may have changed).
    void clear();

    // The literal that initialises `name` in the source that cls was found
    // in (its first file, in its source directory), as initialisingLiterals
    // reads it; null when it gives none for the name, or when the source
    // cannot be read (gone, too large, outside the roots). Safe from
    // several threads at once; the text stays valid until setRoots or
    // clear.
    const std::string* literal(const CppClass& cls, const std::string& name) const;

private:
    InputRoots roots;
    mutable std::mutex mutex;
    // By path; a source that could not be read has an empty table.
    mutable std::unordered_map<std::string, std::shared_ptr<const ConstantLiterals>> bySource;
};
