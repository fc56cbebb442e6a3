// The shell of the site: the frameset page and the two list frames. The
// declarations are those of PageWriters.h; this header adds nothing.
#pragma once

#include "modules/standard/PageWriters.h"
