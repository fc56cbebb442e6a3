// Code text in pages is shown, not parsed: names, declarations and
// signatures pass through these before they meet the HTML of a page.
// Documentation comments are HTML by design and never pass through here.
#pragma once

// escapeHtml ("&", "<", ">" and '"' as entities) lives with the module's
// text services; hrefEscape (page paths in links) with the model's link
// helper, which every link of every module goes through.
#include "model/ModelText.h"
#include "modules/common/ModuleText.h"
