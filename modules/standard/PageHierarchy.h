// The hierarchy pages: one for all projects and one per project, listing
// classes and then interfaces as nested inheritance lists.
//
// writeHierarchyPage is declared in PageWriters.h.
#pragma once

#include "modules/standard/PageWriters.h"
