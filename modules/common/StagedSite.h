// The pages of one run of a module, written under temporary names and
// moved in together, so that a site is replaced whole or not at all.
#pragma once

#include "VelkLib/VelkFile.h"
#include "modules/ModuleInterface.h"
#include "modules/common/CancelPoll.h"

#include <string>

// Points the module's page slot (what its page writers open their files
// through) at a StagedFiles of its own for this object's life, and clears
// it again, however the run ends. Tells the program at once that the pages
// wait to move in (VANTRY_PROGRESS_STAGED). Files neither moved in nor
// discarded are discarded when the object goes.
class StagedSite {
public:
    // progress and context: the run's progress callback (may be null);
    // indexFile: the site's index page, which says so when a failed move
    // leaves the site part new, part old.
    StagedSite(StagedFiles*& slot, ModuleProgressFn progress, void* context, std::string indexFile)
        : slot_(slot), progress_(progress), context_(context), indexFile_(std::move(indexFile)) {
        slot_ = &files_;
        if (progress_ != nullptr) progress_(VANTRY_PROGRESS_STAGED, 0, context_);
    }
    ~StagedSite() { slot_ = nullptr; }
    StagedSite(const StagedSite&) = delete;
    StagedSite& operator=(const StagedSite&) = delete;

    StagedFiles& files() { return files_; }

    // Once every page is written: checks that each can be put at its name
    // (throws as StagedFiles::checkPlaces, nothing moved), then asks the
    // program (VANTRY_PROGRESS_MOVE_IN): on no removes the pages; on yes
    // moves them in, tells the program (VANTRY_PROGRESS_MOVED_IN) and
    // removes the pages they replaced. A move that fails or is stopped
    // (cancel) puts the previous pages back: throws as StagedFiles::moveIn,
    // or RunCancelled. When that cannot be done the index page says that
    // the site is incomplete, and IncompleteSiteError is thrown.
    void finish(CancelPoll& cancel) {
        files_.checkPlaces();
        if (progress_ != nullptr && progress_(VANTRY_PROGRESS_MOVE_IN, 0, context_) == 0) {
            files_.discard();
            return;
        }
        bool moved = false;
        try {
            moved = files_.moveIn([&cancel] { return cancel.stopRequested(); });
        } catch (const IncompleteSiteError& e) {
            markSiteIncomplete(indexFile_, e.getMessage());
            throw;
        }
        if (!moved) throw RunCancelled();
        if (progress_ != nullptr) progress_(VANTRY_PROGRESS_MOVED_IN, 0, context_);
        files_.commit();
    }

private:
    StagedFiles*& slot_;
    ModuleProgressFn progress_;
    void* context_;
    std::string indexFile_;
    StagedFiles files_;
};
