// Writes the whole site of the standard module after every class has been
// received: the frameset, the overview and all-classes frames, the master
// index, every class page, the hierarchy trees, the per-project frames,
// trees and summaries, the deprecated list and the overview summary, in
// that order, with status texts and progress from 110 to 200 of 200.
#pragma once

struct StandardModule;

// Runs the phases in order. Every page is written under a temporary name
// beside its place; when all are written the program is asked
// (VANTRY_PROGRESS_MOVE_IN) whether they may replace the previous site,
// and they are moved in or removed (StagedSite). Throws whatever a page
// writer, a page name, a directory creation or the move throws (VelkError,
// VelkFileError); the new pages are removed then, so the previous site
// stays as it was. A cancel request is asked about between the phases and
// pages and within the long ones (CancelPoll): it ends the run with
// RunCancelled, the new pages removed, within a fraction of a second.
void generateSite(StandardModule& module);
