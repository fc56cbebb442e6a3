// The pages of one run of a module, written under temporary names and
// moved in together, so that a site is replaced whole or not at all.
#pragma once

#include "VelkLib/VelkFile.h"

// Points the module's page slot (what its page writers open their files
// through) at a StagedFiles of its own for this object's life, and clears
// it again, however the run ends. Files neither moved in nor discarded
// are discarded when the object goes.
class StagedSite {
public:
    explicit StagedSite(StagedFiles*& slot) : slot_(slot) { slot_ = &files_; }
    ~StagedSite() { slot_ = nullptr; }
    StagedSite(const StagedSite&) = delete;
    StagedSite& operator=(const StagedSite&) = delete;

    StagedFiles& files() { return files_; }

    // Once every page is written: checks that each can be put at its name
    // (throws as StagedFiles::checkPlaces, nothing moved), then asks
    // mayMoveIn(): on true moves the pages in (throws as
    // StagedFiles::moveIn), on false removes them.
    template <class MayMoveIn>
    void finish(MayMoveIn mayMoveIn) {
        files_.checkPlaces();
        if (mayMoveIn()) files_.moveIn();
        else files_.discard();
    }

private:
    StagedFiles*& slot_;
    StagedFiles files_;
};
