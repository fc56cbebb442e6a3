// The project summary pages and the overview summary page.
//
// writeProjectSummaryPage and writeOverviewSummaryPage are declared in
// PageWriters.h.
#pragma once

#include "modules/standard/PageWriters.h"

#include <ostream>

class CppClass;

// One row of a project page's Class or Namespace Summary table: the
// class's link in bold italics and the first sentence of its documentation
// ("&nbsp;" when it has none).
void writeSummaryRow(StandardModule& module, const CppClass& cls, std::ostream& out);
