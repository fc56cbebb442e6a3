// Writes the whole site of the standard module after every class has been
// received: the frameset, the overview and all-classes frames, the master
// index, every class page, the hierarchy trees, the per-project frames,
// trees and summaries, the deprecated list and the overview summary, in
// that order, with status texts and progress from 110 to 200 of 200.
#pragma once

struct StandardModule;

// Runs the phases in order. Throws whatever a page writer, a page name or
// a directory creation throws (VelkError, VelkFileError); the pages
// written before stay. A cancel request stops only the class pages of the
// all-classes phase; the remaining phases still run.
void generateSite(StandardModule& module);
